#include "session/FrmEnd2.h"

#include "app/program.h"

namespace qz {

FrmEnd2::FrmEnd2(Program& p) : forms::Form(p.rt, "FrmEnd2"), p_(p) {}

}  // namespace qz
