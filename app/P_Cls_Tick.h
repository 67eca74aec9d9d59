// Timing for loops that run on the GUI thread: milliseconds since a start, a tick that
// lets a loop act only every so often, and a wait while paused with events processed.
#pragma once

#include <cstdint>
#include <functional>

namespace forms {
class Runtime;
}

namespace qz {

class P_Cls_Tick {
public:
    explicit P_Cls_Tick(forms::Runtime& rt);

    // Events.
    std::function<void()> TickOk;
    std::function<void(bool bBusy)> Busy;
    std::function<void(bool bPause)> HavePause;
    std::function<void(bool bStop)> HaveStop;

    // 64-bit monotonic milliseconds: no overflow however long the machine has run.
    std::int64_t CrossedTick() const;
    std::int64_t CrossedTicks() const { return CrossedTick(); }
    bool InitTick(bool bResetPauseAndStop);
    void OverTick();
    void WaitPauseOrStop(std::int64_t lWaitTime);
    bool DoTickEvents(std::int64_t lTicks, bool bWaitPauseOrStopForOver, std::int64_t lWaitPauseOrStopWaitTime);
    bool oPause() const { return pause_; }
    void oPause(bool vNewValue);
    bool oStop() const { return stop_; }
    void oStop(bool vNewValue);
    bool isBusy() const { return busy_; }

private:
    forms::Runtime& rt_;
    std::int64_t start_;
    std::int64_t last_;
    bool pause_ = false;
    bool stop_ = false;
    bool busy_ = false;
};

}  // namespace qz
