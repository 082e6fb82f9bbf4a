// SCAFFOLD (replaced by the play procedures)
#include "game/frmKelvo.h"
namespace kelvo {
void FrmKelvo::connectPlayEvents() {}
void FrmKelvo::Form_KeyDown(std::int16_t&, std::int16_t) {}
void FrmKelvo::Form_MouseDown(std::int16_t, std::int16_t, float, float) {}
void FrmKelvo::Form_MouseUp(std::int16_t, std::int16_t, float, float) {}
}  // namespace kelvo
