// SCAFFOLD (replaced by the game-flow procedures)
#include "game/frmKelvo.h"
namespace kelvo {
void FrmKelvo::connectFlowEvents() {}
void FrmKelvo::Form_CloseRequested() { Unload(); }
}  // namespace kelvo
