#include "session/FrmPicture.h"

#include "app/program.h"

namespace qz {

FrmPicture::FrmPicture(Program& p) : forms::Form(p.rt, "FrmPicture"), Image1(this, "Image1"), p_(p) {
    setFormBorderStyle(0);
}

}  // namespace qz
