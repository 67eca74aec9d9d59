#include "session/FrmTm.h"

#include "app/program.h"

namespace qz {

FrmTm::FrmTm(Program& p)
    : forms::Form(p.rt, "FrmTm"),
      lblMove(this, "lblMove"),
      LblBiao(this, "LblBiao"),
      FrmZhuYa(this, "FrmZhuYa"),
      PicUnit(&FrmZhuYa, "PicUnit"),
      LblUnit(&PicUnit, "LblUnit"),
      TimerREDO(this, "TimerREDO"),
      TimKsModel(this, "TimKsModel"),
      TimeKS(this, "TimeKS"),
      p_(p) {
    setFormBorderStyle(0);
}

void FrmTm::DqExam() {}

}  // namespace qz
