#include "session/FrmEnd1.h"

#include "app/program.h"

namespace qz {

FrmEnd1::FrmEnd1(Program& p) : forms::Form(p.rt, "FrmEnd1"), p_(p) {}

}  // namespace qz
