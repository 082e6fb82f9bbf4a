#include "game/modKelvo.h"

#include "game/frmKelvo.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo {

Game::Game()
    : frmKelvo_(std::make_unique<FrmKelvo>(*this)),
      frmIntroK_(std::make_unique<FrmIntroK>(*this)),
      frmOptionsK_(std::make_unique<FrmOptionsK>(*this)),
      frmScoreK_(std::make_unique<FrmScoreK>(*this)) {}

Game::~Game() = default;

void Game::unloadAll() {
    frmKelvo_->Unload();
    frmIntroK_->Unload();
    frmOptionsK_->Unload();
    frmScoreK_->Unload();
}

}  // namespace kelvo
