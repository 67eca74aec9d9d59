#include "session/FrmChengji.h"

#include "app/program.h"

namespace qz {

FrmChengji::FrmChengji(Program& p) : forms::Form(p.rt, "FrmChengji"), p_(p) {}

}  // namespace qz
