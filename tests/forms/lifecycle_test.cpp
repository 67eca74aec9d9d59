// Loading on first touch, unloading from inside a form's own handlers, and ending the program
// from any depth.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

TEST_F(FormsTest, FirstTouchLoadsBeforeTheStatementGoesOn) {
    EXPECT_FALSE(mainSlot.loaded());
    EXPECT_EQ(mainSlot.peek(), nullptr);
    EXPECT_TRUE(rec.events.empty());  // asking did not load

    rec.add("before");
    std::string caption = mainSlot().lbl.caption();
    rec.add("after");
    mainSlot().lbl.setCaption("again");
    EXPECT_EQ(caption, "Label");
    EXPECT_EQ(rec.names(), (Names{"before", "Main.Load", "after"}));
    EXPECT_TRUE(mainSlot.loaded());
    EXPECT_EQ(mainSlot.peek(), &mainSlot());
}

TEST_F(FormsTest, TouchingTheFormInsideItsOwnLoadDoesNotLoadItAgain) {
    MainForm* seen = nullptr;
    forms::FormSlot<MainForm> slot{rt, [&] {
        auto f = std::make_unique<MainForm>(rt, rec);
        f->on["Main.Load"] = [&] {
            seen = &slot();
            slot().lbl.setCaption("set in Load");
        };
        return f;
    }};
    MainForm& f = slot();
    EXPECT_EQ(seen, &f);
    EXPECT_EQ(rec.count("Main.Load"), 1);
    EXPECT_EQ(f.lbl.caption(), "set in Load");
}

TEST_F(FormsTest, AFormUnloadingItselfFinishesItsHandler) {
    MainForm& f = shownMain();
    std::string captionAfter;
    bool loadedAfter = true;
    f.on["lbl.Click"] = [&] {
        EXPECT_TRUE(f.unload());
        loadedAfter = f.isLoaded();
        f.lbl.setCaption("touched after unload");  // its own members stay usable
        captionAfter = f.lbl.caption();
        f.show();                                  // and do not bring it back
        EXPECT_TRUE(f.unload());                   // unloading again is nothing
        rec.add("handler end");
    };
    host.click(f.lbl);
    host.runUntilIdle();
    EXPECT_FALSE(loadedAfter);
    EXPECT_EQ(captionAfter, "touched after unload");
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click", "Main.Unload", "handler end"}));
    EXPECT_FALSE(mainSlot.loaded());
    EXPECT_TRUE(rt.zOrderedForms().empty());

    // The next touch is a new window with fresh values.
    rec.clear();
    MainForm& fresh = main();
    EXPECT_EQ(rec.names(), Names{"Main.Load"});
    EXPECT_EQ(fresh.lbl.caption(), "Label");
    EXPECT_FALSE(fresh.visible());
}

TEST_F(FormsTest, CancelInFormUnloadKeepsTheFormLoaded) {
    MainForm& f = shownMain();
    f.onUnload = [](int& cancel) { cancel = 1; };
    EXPECT_FALSE(f.unload());
    rt.postClose(f);  // the window's close box asks the same
    host.runUntilIdle();
    EXPECT_EQ(rec.count("Main.Unload"), 2);
    EXPECT_TRUE(f.isLoaded());
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(&main(), &f);
    EXPECT_EQ(rec.count("Main.Load"), 0);
}

TEST_F(FormsTest, UnloadingAgainInsideFormUnloadRunsItOnce) {
    // Form_Unload that unloads every window, itself among them.
    MainForm& f = shownMain();
    int calls = 0;
    f.onUnload = [&](int&) {
        if (++calls < 3) f.unload();  // bounded, so that a regression fails instead of overflowing
    };
    EXPECT_TRUE(f.unload());
    EXPECT_EQ(rec.count("Main.Unload"), 1);
    EXPECT_FALSE(f.isLoaded());
}

TEST_F(FormsTest, TheWindowManagersCloseUnloadsTheForm) {
    MainForm& f = shownMain();
    rt.postClose(f);
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), Names{"Main.Unload"});
    EXPECT_FALSE(mainSlot.loaded());
}

// ---- the learner closes the last window ----

// A window that stays loaded unseen, as a picture window kept for the next question.
struct LastWindowScene {
    forms::Runtime& rt;
    headless::HeadlessHost& host;
    MainForm& main;
    DialogForm& dialog;
};

struct LastWindowCase {
    std::string what;
    std::function<void(LastWindowScene&)> act;
    bool ends;
    friend void PrintTo(const LastWindowCase& c, std::ostream* os) { *os << c.what; }
};

class LastWindow : public FormsTest, public ::testing::WithParamInterface<LastWindowCase> {};

TEST_P(LastWindow, EndsOnlyWhenAWindowManagerCloseLeavesNoWindowShown) {
    forms::FormSlot<MainForm> hiddenSlot{rt, [&] { return std::make_unique<MainForm>(rt, rec, "Hidden"); }};
    MainForm& hidden = hiddenSlot();
    hidden.tmr.setInterval(100);
    hidden.tmr.setEnabled(true);
    MainForm& m = shownMain();
    LastWindowScene scene{rt, host, m, dialog()};
    rec.clear();
    GetParam().act(scene);
    host.runFor(1000);

    EXPECT_EQ(rt.ended(), GetParam().ends);
    EXPECT_EQ(hiddenSlot.loaded(), !GetParam().ends);
    EXPECT_EQ(rec.count("Hidden.Unload"), 0);  // ending runs nothing more
    if (GetParam().ends) {
        EXPECT_TRUE(rt.loadedForms().empty());
        EXPECT_TRUE(rt.zOrderedForms().empty());
        // The hidden window's timer ticked until the close, never after it.
        const auto n = rec.names();
        EXPECT_EQ(std::find(std::find(n.begin(), n.end(), "Main.Unload"), n.end(), "tmr.Timer"), n.end());
    } else {
        EXPECT_FALSE(rt.zOrderedForms().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lifecycle, LastWindow,
    ::testing::Values(
        LastWindowCase{"the last window closed with another loaded unseen",
                       [](LastWindowScene& s) { s.rt.postClose(s.main); }, true},
        LastWindowCase{"a window closed with another still shown",
                       [](LastWindowScene& s) {
                           s.dialog.show();
                           s.rt.postClose(s.main);
                       },
                       false},
        LastWindowCase{"a close whose unload shows the next window",
                       [](LastWindowScene& s) {
                           s.main.onUnload = [&s](int&) { s.dialog.show(); };
                           s.rt.postClose(s.main);
                       },
                       false},
        LastWindowCase{"a close the window refuses",
                       [](LastWindowScene& s) {
                           s.main.onUnload = [](int& cancel) { cancel = 1; };
                           s.rt.postClose(s.main);
                       },
                       false},
        // Hidden while one window hands over to the next: no close at all.
        LastWindowCase{"the program hides its last window and shows the next later",
                       [](LastWindowScene& s) {
                           s.main.tmr2.setInterval(500);
                           s.main.on["tmr2.Timer"] = [&s] {
                               s.main.tmr2.setEnabled(false);
                               s.dialog.show();
                           };
                           s.main.tmr2.setEnabled(true);
                           s.main.hide();
                       },
                       false},
        LastWindowCase{"a modal window closed whose caller then shows the next",
                       [](LastWindowScene& s) {
                           s.main.on["lbl.Click"] = [&s] {
                               s.main.hide();
                               s.dialog.show(true);
                               s.main.show();
                           };
                           s.host.click(s.main.lbl);
                           s.host.then([&s] { s.rt.postClose(s.dialog); });
                       },
                       false},
        LastWindowCase{"a modal window closed whose caller shows nothing",
                       [](LastWindowScene& s) {
                           s.main.on["lbl.Click"] = [&s] {
                               s.main.hide();
                               s.dialog.show(true);
                           };
                           s.host.click(s.main.lbl);
                           s.host.then([&s] { s.rt.postClose(s.dialog); });
                       },
                       true}),
    CaseName());

// ---- program end ----

enum class EndFrom { ModalClick, TimerUnderModal };

class EndOfProgram : public FormsTest, public ::testing::WithParamInterface<EndFrom> {};

TEST_P(EndOfProgram, EndDeepInsideNestedLoopsLeavesRun) {
    MainForm& f = shownMain();
    DialogForm& d = dialog();
    auto end = [this] {
        rec.add("end");
        rt.endProgram();
        rec.add("after end");
    };
    f.on["lbl.Click"] = [&] {
        rec.add("open");
        d.show(true);
        rec.add("after show");
    };
    switch (GetParam()) {
        case EndFrom::ModalClick:
            d.on["lblOk.Click"] = end;
            break;
        case EndFrom::TimerUnderModal:
            f.tmr.setInterval(100);
            f.on["tmr.Timer"] = end;
            d.on["Dialog.Activate"] = [&f] { f.tmr.setEnabled(true); };
            break;
    }
    host.click(f.lbl);
    host.pause(150);
    host.click(d.lblOk);
    host.click(f.lbl);  // never delivered: the program has ended
    host.runFor(10000);

    EXPECT_TRUE(rt.ended());
    auto n = rec.names();
    ASSERT_FALSE(n.empty());
    EXPECT_EQ(n.back(), "end");
    EXPECT_EQ(std::count(n.begin(), n.end(), "open"), 1);
    EXPECT_EQ(std::count(n.begin(), n.end(), "after end"), 0);
    EXPECT_EQ(std::count(n.begin(), n.end(), "after show"), 0);
    EXPECT_EQ(rt.nestedLoops(), 0);
    EXPECT_EQ(rt.depth(), 0);
    EXPECT_TRUE(rt.zOrderedForms().empty());
}

INSTANTIATE_TEST_SUITE_P(Lifecycle, EndOfProgram,
                         ::testing::Values(EndFrom::ModalClick, EndFrom::TimerUnderModal));

TEST_F(FormsTest, EndInsideFormLoadStopsTheLoadingStatement) {
    forms::FormSlot<MainForm> slot{rt, [&] {
        auto f = std::make_unique<MainForm>(rt, rec, "First");
        f->on["First.Load"] = [&] {
            rt.endProgram();
            rec.add("after end");
        };
        return f;
    }};
    rt.run([&] {
        slot().show();
        rec.add("after load");
    });
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(rec.names(), Names{"First.Load"});
    EXPECT_TRUE(rt.zOrderedForms().empty());
}


TEST_F(FormsTest, AMaximisedWindowHasTheRealWindowsGeometry) {
    MainForm& f = shownMain();
    const forms::Rect normal = f.rect();
    host.setScreenPixels({800, 600});
    f.setWindowState(2);
    const forms::Rect screen{0, 0, 800 * 15, 600 * 15};
    EXPECT_EQ(f.rect(), screen);
    // The whole window takes the mouse, up to the screen's far corner.
    forms::HitResult h = rt.hitTest({screen.width - 1, screen.height - 1});
    EXPECT_EQ(h.form, &f);
    // The window manager puts it elsewhere (a panel takes the top): the model follows.
    const forms::Rect managed{0, 450, 800 * 15, 570 * 15};
    rt.hostGeometry(f, managed);
    EXPECT_EQ(f.rect(), managed);
    // Moving it while maximised only changes where it goes back to.
    f.move(300, 300, normal.width, normal.height);
    EXPECT_EQ(f.rect(), managed);
    f.setWindowState(0);
    EXPECT_EQ(f.rect(), (forms::Rect{300, 300, normal.width, normal.height}));
    // A normal window ignores what the host says of maximised ones.
    rt.hostGeometry(f, managed);
    EXPECT_EQ(f.rect(), (forms::Rect{300, 300, normal.width, normal.height}));
}

}  // namespace
}  // namespace formstest
