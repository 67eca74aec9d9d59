// The tick timing class on the headless host's virtual clock.
#include "app/P_Cls_Tick.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "forms/runtime.h"
#include "host/headless/headless_host.h"

namespace {

struct TimerForm : forms::Form {
    explicit TimerForm(forms::Runtime& rt) : forms::Form(rt, "TimerForm"), Timer1(this, "Timer1") {}
    forms::Timer Timer1;
};

class Tick : public testing::Test {
protected:
    Tick() : rt(host), form(rt), tick(rt) {
        form.load();
        tick.TickOk = [this] { events.push_back("TickOk"); };
        tick.Busy = [this](bool b) { events.push_back(b ? "Busy(1)" : "Busy(0)"); };
        tick.HavePause = [this](bool b) { events.push_back(b ? "HavePause(1)" : "HavePause(0)"); };
        tick.HaveStop = [this](bool b) { events.push_back(b ? "HaveStop(1)" : "HaveStop(0)"); };
    }
    // A one-shot timer on the form that runs action after ms.
    void after(int ms, std::function<void()> action) {
        form.Timer1.setInterval(ms);
        form.Timer1.Tick = [this, action = std::move(action)] {
            form.Timer1.setEnabled(false);
            action();
        };
        form.Timer1.setEnabled(true);
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }

    headless::HeadlessHost host;
    forms::Runtime rt;
    TimerForm form;
    qz::P_Cls_Tick tick;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(Tick, RunStartAndEnd) {
    tick.oPause(true);
    tick.oStop(true);
    take();
    EXPECT_TRUE(tick.InitTick(true));
    EXPECT_EQ(take(), (Events{"HavePause(0)", "Busy(1)"}));
    EXPECT_FALSE(tick.oPause());
    EXPECT_FALSE(tick.oStop());
    EXPECT_TRUE(tick.isBusy());

    host.letTimePass(40);
    EXPECT_FALSE(tick.InitTick(true));
    EXPECT_FALSE(tick.InitTick(false));
    EXPECT_EQ(take(), Events{});
    EXPECT_EQ(tick.CrossedTick(), 40) << "a refused start must not restart the count";

    tick.OverTick();
    EXPECT_EQ(take(), Events{"Busy(0)"});
    EXPECT_FALSE(tick.isBusy());

    tick.oPause(true);
    tick.oStop(true);
    EXPECT_EQ(take(), (Events{"HavePause(1)", "HaveStop(1)"}));
    EXPECT_TRUE(tick.InitTick(false));
    EXPECT_EQ(take(), Events{"Busy(1)"});
    EXPECT_TRUE(tick.oPause());
    EXPECT_TRUE(tick.oStop());
    EXPECT_EQ(tick.CrossedTick(), 0);
    host.letTimePass(7);
    EXPECT_EQ(tick.CrossedTick(), 7);
    EXPECT_EQ(tick.CrossedTicks(), 7);
}

TEST_F(Tick, DoTickEventsWithoutInterval) {
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(tick.DoTickEvents(0, false, 0)) << i;
    EXPECT_EQ(take(), (Events{"TickOk", "TickOk", "TickOk"}));
}

TEST_F(Tick, DoTickEventsEveryHundredMilliseconds) {
    ASSERT_TRUE(tick.InitTick(true));
    take();
    host.letTimePass(99);
    EXPECT_FALSE(tick.DoTickEvents(100, false, 0));
    host.letTimePass(1);
    EXPECT_TRUE(tick.DoTickEvents(100, false, 0));
    EXPECT_FALSE(tick.DoTickEvents(100, false, 0));
    host.letTimePass(150);
    EXPECT_TRUE(tick.DoTickEvents(100, false, 0));
    // Counted from the tick let through, not from the start.
    host.letTimePass(60);
    EXPECT_FALSE(tick.DoTickEvents(100, false, 0));
    host.letTimePass(40);
    EXPECT_TRUE(tick.DoTickEvents(100, false, 0));
    EXPECT_EQ(take(), (Events{"TickOk", "TickOk", "TickOk"}));
}

TEST_F(Tick, DoTickEventsProcessesWindowEvents) {
    bool fired = false;
    after(50, [&] { fired = true; });
    host.letTimePass(60);
    EXPECT_TRUE(tick.DoTickEvents(0, false, 0));
    EXPECT_TRUE(fired);
}

TEST_F(Tick, WaitReturnsAtOnceUnlessPausedWithoutStop) {
    const std::int64_t t0 = host.nowMs();
    tick.WaitPauseOrStop(50);
    tick.oPause(true);
    tick.oStop(true);
    tick.WaitPauseOrStop(50);
    tick.WaitPauseOrStop(0);
    EXPECT_EQ(host.nowMs(), t0);
}

TEST_F(Tick, PausedWaitEndsWhenAHandlerResumes) {
    struct Case {
        const char* what;
        int waitMs;
        bool byStop;
    } cases[] = {{"resume, 10 ms waits", 10, false}, {"resume, 50 ms waits", 50, false}, {"stop", 10, true}};
    for (const auto& c : cases) {
        tick.oStop(false);
        tick.oPause(true);
        take();
        const std::int64_t t0 = host.nowMs();
        after(120, [&] { c.byStop ? tick.oStop(true) : tick.oPause(false); });
        tick.WaitPauseOrStop(c.waitMs);
        const std::int64_t waited = host.nowMs() - t0;
        EXPECT_GE(waited, 120) << c.what;
        EXPECT_LE(waited, 120 + c.waitMs) << c.what;
        EXPECT_EQ(take(), Events{c.byStop ? "HaveStop(1)" : "HavePause(0)"}) << c.what;
    }
}

TEST_F(Tick, TickThenWaitWhilePaused) {
    // The tick is raised first; its handler pauses, and a timer resumes.
    tick.TickOk = [this] {
        events.push_back("TickOk");
        tick.oPause(true);
        after(100, [this] { tick.oPause(false); });
    };
    const std::int64_t t0 = host.nowMs();
    EXPECT_TRUE(tick.DoTickEvents(0, true, 10));
    EXPECT_GE(host.nowMs() - t0, 100);
    EXPECT_EQ(take(), (Events{"TickOk", "HavePause(1)", "HavePause(0)"}));
}

TEST_F(Tick, CountsPastTwoToTheThirtyFirstMilliseconds) {
    ASSERT_TRUE(tick.InitTick(true));
    take();
    // 25 days, past the point where a signed 32-bit tick count turns negative.
    host.letTimePass(1'080'000'000);
    host.letTimePass(1'080'000'000);
    EXPECT_EQ(tick.CrossedTick(), std::int64_t{2'160'000'000});
    EXPECT_GT(tick.CrossedTick(), std::int64_t{INT32_MAX});
    EXPECT_TRUE(tick.DoTickEvents(100, false, 0));
    host.letTimePass(99);
    EXPECT_FALSE(tick.DoTickEvents(100, false, 0));
    host.letTimePass(1);
    EXPECT_TRUE(tick.DoTickEvents(100, false, 0));
    EXPECT_EQ(tick.CrossedTick(), std::int64_t{2'160'000'100});

    // A run started out there measures from zero again.
    tick.OverTick();
    ASSERT_TRUE(tick.InitTick(false));
    host.letTimePass(5);
    EXPECT_EQ(tick.CrossedTick(), 5);
}
