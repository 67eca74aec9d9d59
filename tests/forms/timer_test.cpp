// Timers: restart on enable, coalesced ticks, ticks inside nested loops, no re-entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

using Times = std::vector<std::int64_t>;

class Timers : public FormsTest {
protected:
    // Starts tmr with the interval and records the virtual time of each tick, from now.
    Times& tickTimes(MainForm& f, int interval) {
        t0_ = host.nowMs();
        f.on["tmr.Timer"] = [this] { times_.push_back(host.nowMs() - t0_); };
        f.tmr.setInterval(interval);
        f.tmr.setEnabled(true);
        return times_;
    }
    std::int64_t t0_ = 0;
    Times times_;
};

TEST_F(Timers, TicksEveryIntervalAndEnablingAgainRestartsTheCount) {
    MainForm& f = shownMain();
    Times& ticks = tickTimes(f, 1000);
    host.pause(600);
    host.then([&f] {
        f.tmr.setEnabled(false);
        f.tmr.setEnabled(true);
    });
    host.runFor(3700);
    EXPECT_EQ(ticks, (Times{1600, 2600, 3600}));
}

TEST_F(Timers, ADisabledTimerOrOneWithoutIntervalNeverTicks) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);  // not enabled
    f.tmr2.setEnabled(true);  // no interval
    host.runFor(1000);
    EXPECT_EQ(rec.count("tmr.Timer"), 0);
    EXPECT_EQ(rec.count("tmr2.Timer"), 0);
}

TEST_F(Timers, ALongHandlerIsFollowedByOneTickNotTheMissedOnes) {
    MainForm& f = shownMain();
    Times& ticks = tickTimes(f, 100);
    bool first = true;
    f.on["tmr.Timer"] = [&, inner = f.on["tmr.Timer"]] {
        inner();
        if (first) host.letTimePass(1000);  // ten intervals spent in the handler
        first = false;
    };
    host.runFor(1250);
    EXPECT_EQ(ticks, (Times{100, 1100, 1200}));
}

TEST_F(Timers, ATimerOfAnotherFormTicksWhileAModalFormIsUp) {
    MainForm& f = shownMain();
    DialogForm& d = dialog();
    f.on["lbl.Click"] = [&] {
        rec.add("open");
        d.show(true);
        rec.add("after show");
    };
    d.on["lblOk.Click"] = [&d] { d.unload(); };
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    host.click(f.lbl);
    host.pause(250);
    host.click(f.lbl);  // the window behind the modal one takes no input
    host.pause(300);
    host.click(d.lblOk);
    host.runFor(800);

    auto n = rec.names();
    auto at = [&](const std::string& s) { return std::find(n.begin(), n.end(), s) - n.begin(); };
    auto open = at("open"), unload = at("Dialog.Unload"), after = at("after show");
    ASSERT_LT(open, unload);
    ASSERT_LT(unload, after);
    EXPECT_EQ(std::count(n.begin() + open, n.begin() + unload, "tmr.Timer"), 5);
    EXPECT_EQ(std::count(n.begin(), n.end(), "lbl.Click"), 1);
    EXPECT_GT(std::count(n.begin() + after, n.end(), "tmr.Timer"), 0);  // and goes on after
    EXPECT_FALSE(d.isLoaded());
}

TEST_F(Timers, ATimerTicksInsideDoEventsCalledFromAHandler) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["lbl.Click"] = [&] {
        rec.add("begin");
        host.letTimePass(250);
        rt.doEvents();
        rec.add("end");
    };
    host.click(f.lbl);
    host.runFor(0);
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click", "begin", "tmr.Timer", "end"}));
}

// Input that comes in while it is discarded is gone for good; timers go on meanwhile.
TEST_F(Timers, InputDiscardedInsideDoEventsNeverArrivesWhileTimersTick) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["lbl.Click"] = [&] {
        if (rec.count("lbl.Click") > 1) return;
        forms::Runtime::InputDiscarded quiet(rt);
        for (int i = 0; i < 8; ++i) {
            host.letTimePass(50);
            rt.doEvents();
        }
        rec.add("end");
    };
    host.click(f.lbl);
    host.click(f.lbl);
    host.key(0x41, 0, "a");
    host.pause(600);
    host.click(f.lbl);
    host.runFor(2000);
    Names n = rec.names();
    const auto end = std::find(n.begin(), n.end(), "end");
    ASSERT_NE(end, n.end());
    EXPECT_EQ(std::count(n.begin(), end, "lbl.Click"), 1);
    EXPECT_GE(std::count(n.begin(), end, "tmr.Timer"), 3);
    EXPECT_EQ(std::count(end, n.end(), "lbl.Click"), 1);  // the one after the pause
    EXPECT_EQ(std::count(end, n.end(), "lbl.DblClick"), 0);
    for (const std::string& name : n) EXPECT_EQ(name.find("Key"), std::string::npos) << name;
}

TEST_F(Timers, ATimerDoesNotReenterItsOwnHandler) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.tmr2.setInterval(150);
    f.tmr2.setEnabled(true);
    int depth = 0, deepest = 0;
    f.on["tmr.Timer"] = [&] {
        deepest = std::max(deepest, ++depth);
        if (rec.count("tmr.Timer") < 10) host.letTimePass(300);  // both intervals pass in here
        rt.doEvents();
        rec.add("tmr.end");
        --depth;
    };
    host.runFor(1000);
    EXPECT_EQ(deepest, 1);
    auto n = rec.names();
    ASSERT_GE(n.size(), 3u);
    EXPECT_EQ((Names{n[0], n[1], n[2]}), (Names{"tmr.Timer", "tmr2.Timer", "tmr.end"}));
    EXPECT_GE(rec.count("tmr.Timer"), 2);
}

TEST_F(Timers, RunForEndsOnTimeWhileATimerOutlastsItsInterval) {
    MainForm& f = shownMain();
    Times& ticks = tickTimes(f, 100);
    f.on["tmr.Timer"] = [&, inner = f.on["tmr.Timer"]] {
        inner();
        if (ticks.size() < 20) host.letTimePass(300);
    };
    host.runFor(1000);
    EXPECT_EQ(ticks, (Times{100, 400, 700, 1000}));
}

TEST_F(Timers, TimersOfAnUnloadedFormStop) {
    MainForm& f = shownMain();
    dialog();  // keeps the program running once the main window has gone
    Times& ticks = tickTimes(f, 100);
    f.on["tmr.Timer"] = [&, inner = f.on["tmr.Timer"]] {
        inner();
        if (ticks.size() == 2) f.unload();
    };
    host.runFor(1000);
    EXPECT_EQ(ticks, (Times{100, 200}));
}

}  // namespace
}  // namespace formstest

namespace formstest {
namespace {

// A windowing system keeps input queued while a handler runs; this host hands it over at the
// first poll, as the desktop host does.
class QueuedInputHost : public headless::HeadlessHost {
public:
    std::deque<forms::MouseInput> queued;
    bool waitForInput(int maxMs) override {
        if (maxMs == 0 && !queued.empty()) {
            runtime().postMouse(queued.front());
            queued.pop_front();
            return true;
        }
        return HeadlessHost::waitForInput(maxMs);
    }
};

// Elements of an array loaded into a container that is destroyed before the array: a
// declaration order a window may well have.
class ArrayInFrame : public forms::Form {
public:
    explicit ArrayInFrame(forms::Runtime& rt) : forms::Form(rt, "ArrayInFrame") {}
    forms::ControlArray<forms::Timer> T{this, "T"};
    forms::Frame frame{this, "frame"};
};

TEST_F(Timers, ArrayElementsInAContainerThatGoesFirstLeaveNoTimerBehind) {
    MainForm& f = shownMain();
    Times& ticks = tickTimes(f, 100);
    {
        ArrayInFrame other(rt);
        other.load();
        for (int i = 1; i <= 3; ++i) {
            forms::Timer& t = other.T.load(i, &other.frame);
            t.setInterval(10);
            t.setEnabled(true);
        }
    }
    // The next scan of the timers must not touch the dead ones.
    host.runFor(250);
    EXPECT_EQ(ticks, (Times{100, 200}));
}

TEST(BusyTimer, InputGetsInBetweenTicksOfATimerThatOutlastsItsInterval) {
    QueuedInputHost host;
    forms::Runtime rt(host);
    Recorder rec;
    MainForm f(rt, rec);
    f.load();
    f.show();
    int ticks = 0;
    f.on["tmr.Timer"] = [&] {
        if (++ticks < 100) host.letTimePass(50);
    };
    f.tmr.setInterval(10);
    f.tmr.setEnabled(true);
    using forms::MouseInput;
    forms::Point p = headless::HeadlessHost::centreOf(f.lbl);
    host.queued = {{MouseInput::Down, p, 1, 1, 0}, {MouseInput::Up, p, 1, 0, 0}};
    host.runFor(2000);

    auto n = rec.names();
    auto click = std::find(n.begin(), n.end(), "lbl.Click");
    ASSERT_NE(click, n.end());
    EXPECT_LE(std::count(n.begin(), click, "tmr.Timer"), 3);
}

}  // namespace
}  // namespace formstest
