#include "demo/frmYanShi.h"

#include "app/program.h"

namespace qz {

frmYanShi::frmYanShi(Program& p) : forms::Form(p.rt, "frmYanShi"), p_(p) {}

void frmYanShi::Form_Load() {}

}  // namespace qz
