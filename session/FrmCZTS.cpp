#include "session/FrmCZTS.h"

#include "app/program.h"

namespace qz {

FrmCZTS::FrmCZTS(Program& p) : forms::Form(p.rt, "FrmCZTS"), p_(p) {}

void FrmCZTS::Form_Load() {}

}  // namespace qz
