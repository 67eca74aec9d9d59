#include "simwindow/FrmMain.h"

#include "app/program.h"

namespace qz {

FrmMain::FrmMain(Program& p)
    : forms::Form(p.rt, "FrmMain"),
      Image1(this, "Image1"),
      Image2(this, "Image2"),
      Image3(this, "Image3"),
      Image4(this, "Image4"),
      Image5(this, "Image5"),
      Timer2(this, "Timer2"),
      Timer3(this, "Timer3"),
      p_(p) {
    setFormBorderStyle(0);
}

void FrmMain::setData() {}
void FrmMain::doNext() {}

}  // namespace qz
