#include "app/P_Cls_Tick.h"

#include <algorithm>

#include "forms/runtime.h"

namespace qz {

P_Cls_Tick::P_Cls_Tick(forms::Runtime& rt) : rt_(rt), start_(rt.now()), last_(start_) {}

std::int64_t P_Cls_Tick::CrossedTick() const { return rt_.now() - start_; }

bool P_Cls_Tick::InitTick(bool bResetPauseAndStop) {
    if (busy_) return false;
    start_ = last_ = rt_.now();
    busy_ = true;
    if (bResetPauseAndStop) {
        pause_ = false;
        if (HavePause) HavePause(false);
        stop_ = false;
    }
    if (Busy) Busy(true);
    return true;
}

void P_Cls_Tick::OverTick() {
    busy_ = false;
    if (Busy) Busy(false);
}

void P_Cls_Tick::WaitPauseOrStop(std::int64_t lWaitTime) {
    while (pause_ && !stop_) rt_.sleepWithEvents(static_cast<int>(std::clamp<std::int64_t>(lWaitTime, 0, 1 << 30)));
}

bool P_Cls_Tick::DoTickEvents(std::int64_t lTicks, bool bWaitPauseOrStopForOver, std::int64_t lWaitPauseOrStopWaitTime) {
    std::int64_t now = rt_.now();
    if (now - last_ < lTicks) return false;
    last_ = now;
    if (TickOk) TickOk();
    if (bWaitPauseOrStopForOver) WaitPauseOrStop(lWaitPauseOrStopWaitTime);
    rt_.doEvents();
    return true;
}

void P_Cls_Tick::oPause(bool vNewValue) {
    pause_ = vNewValue;
    if (HavePause) HavePause(vNewValue);
}

void P_Cls_Tick::oStop(bool vNewValue) {
    stop_ = vNewValue;
    if (HaveStop) HaveStop(vNewValue);
}

}  // namespace qz
