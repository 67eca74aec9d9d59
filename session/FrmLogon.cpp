#include "session/FrmLogon.h"

#include "app/program.h"

namespace qz {

FrmLogon::FrmLogon(Program& p) : forms::Form(p.rt, "FrmLogon"), p_(p) {}

}  // namespace qz
