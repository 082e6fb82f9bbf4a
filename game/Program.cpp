#include "game/Program.h"

#include <cassert>

#include "game/frmKelvo.h"
#include "game/modKelvo.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo {
namespace {
Program* g_program = nullptr;
}

Program::Program() {
    assert(!g_program && "one Program at a time");
    g_program = this;
    ResetModuleVariables();
    frmKelvo_ = std::make_unique<FrmKelvo>();
    frmIntroK_ = std::make_unique<FrmIntroK>();
    frmOptionsK_ = std::make_unique<FrmOptionsK>();
    frmScoreK_ = std::make_unique<FrmScoreK>();
}

Program::~Program() {
    unloadAll();
    g_program = nullptr;
}

void Program::unloadAll() {
    frmKelvo_->Unload();
    frmIntroK_->Unload();
    frmOptionsK_->Unload();
    frmScoreK_->Unload();
}

FrmKelvo& frmKelvo() { return g_program->kelvo(); }
FrmIntroK& frmIntroK() { return g_program->intro(); }
FrmOptionsK& frmOptionsK() { return g_program->options(); }
FrmScoreK& frmScoreK() { return g_program->score(); }

}  // namespace kelvo
