#include "demo/frmYanShi.h"

namespace qz {

void frmYanShi::buildMenuControls() {}

void frmYanShi::RightKeyMenu() {}

void frmYanShi::TimerRM_Timer() {}

void frmYanShi::RightKeySub() {}

void frmYanShi::TimerRS_Timer() {}

}  // namespace qz
