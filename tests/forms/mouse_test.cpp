// Mouse routing: the event order of clicks and double clicks, capture, hit testing through
// windowed and windowless controls, and dragging a window.
#include <gtest/gtest.h>

#include <functional>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

using forms::buttons::Left;
using forms::buttons::Middle;
using forms::buttons::Right;

// ---- clicks and double clicks ----

struct ClickCase {
    const char* what;
    std::function<void(headless::HeadlessHost&, MainForm&)> script;
    Names expected;
};

class ClickOrder : public FormsTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickOrder, EventsArriveInThePlatformsOrder) {
    MainForm& f = shownMain();
    GetParam().script(host, f);
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), GetParam().expected);
}

const Names kClick = {"lbl.MouseDown", "lbl.MouseUp", "lbl.Click"};
const Names kDouble = {"lbl.MouseDown", "lbl.MouseUp", "lbl.Click", "lbl.DblClick", "lbl.MouseUp"};

Names concat(std::initializer_list<Names> parts) {
    Names out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, ClickOrder,
    ::testing::Values(
        ClickCase{"single", [](auto& h, auto& f) { h.click(f.lbl); }, kClick},
        ClickCase{"double", [](auto& h, auto& f) { h.doubleClick(f.lbl); }, kDouble},
        ClickCase{"a third quick press starts afresh",
                  [](auto& h, auto& f) {
                      h.doubleClick(f.lbl);
                      h.click(f.lbl);
                  },
                  concat({kDouble, kClick})},
        ClickCase{"four quick presses are two double clicks",
                  [](auto& h, auto& f) {
                      h.doubleClick(f.lbl);
                      h.doubleClick(f.lbl);
                  },
                  concat({kDouble, kDouble})},
        ClickCase{"a slow second click is a click again",
                  [](auto& h, auto& f) {
                      h.click(f.lbl);
                      h.pause(forms::Runtime::DoubleClickMs + 100);
                      h.click(f.lbl);
                  },
                  concat({kClick, kClick})},
        ClickCase{"a second click far from the first is a click again",
                  [](auto& h, auto& f) {
                      h.clickAt(f.screenAt(400, 400));
                      h.clickAt(f.screenAt(1400, 400));
                  },
                  concat({kClick, kClick})},
        ClickCase{"quick clicks on two controls are two clicks",
                  [](auto& h, auto& f) {
                      h.click(f.lbl);
                      h.click(f.lblBelow);
                  },
                  concat({kClick, {"lblBelow.MouseDown", "lblBelow.MouseUp", "lblBelow.Click"}})},
        ClickCase{"right and middle buttons do not click",
                  [](auto& h, auto& f) {
                      h.click(f.lbl, Right);
                      h.click(f.lbl, Middle);
                  },
                  Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.MouseDown", "lbl.MouseUp"}},
        ClickCase{"a double click on the form itself",
                  [](auto& h, auto& f) {
                      forms::Point p = f.screenAt(5000, 4000);
                      h.clickAt(p);
                      h.clickAt(p);
                  },
                  Names{"Main.MouseDown", "Main.MouseUp", "Main.Click", "Main.DblClick", "Main.MouseUp"}}),
    CaseName());

TEST_F(FormsTest, ButtonAndShiftMasksArriveAsGiven) {
    MainForm& f = shownMain();
    forms::Point p = headless::HeadlessHost::centreOf(f.lbl);
    using forms::MouseInput;
    namespace sm = forms::shiftmask;
    rt.postMouse({MouseInput::Down, p, Right, Right, sm::Shift | sm::Ctrl});
    rt.postMouse({MouseInput::Down, p, Left, Right | Left, sm::Alt});
    rt.postMouse({MouseInput::Move, p, 0, Right | Left, sm::Shift});
    rt.postMouse({MouseInput::Up, p, Right, Left, 0});
    rt.postMouse({MouseInput::Up, p, Left, 0, sm::Ctrl});
    host.runUntilIdle();
    auto downs = rec.only("lbl.MouseDown");
    auto ups = rec.only("lbl.MouseUp");
    auto moves = rec.only("lbl.MouseMove");
    ASSERT_EQ(downs.size(), 2u);
    ASSERT_EQ(ups.size(), 2u);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(downs[0].button, Right);
    EXPECT_EQ(downs[0].shift, sm::Shift | sm::Ctrl);
    // The second press of a chord reports both buttons: nothing waiting for one button alone
    // takes the chord for it.
    EXPECT_EQ(downs[1].button, Right | Left);
    EXPECT_EQ(downs[1].shift, sm::Alt);
    EXPECT_EQ(moves[0].button, Right | Left);  // a move reports every held button
    EXPECT_EQ(moves[0].shift, sm::Shift);
    EXPECT_EQ(ups[0].button, Right);
    EXPECT_EQ(ups[1].button, Left);
    EXPECT_EQ(ups[1].shift, sm::Ctrl);
}

TEST_F(FormsTest, RightPressedWhileLeftIsHeldIsNotARightPressAlone) {
    MainForm& f = shownMain();
    forms::Point p = headless::HeadlessHost::centreOf(f.lbl);
    using forms::MouseInput;
    rt.postMouse({MouseInput::Down, p, Left, Left, 0});
    rt.postMouse({MouseInput::Down, p, Right, Left | Right, 0});
    rt.postMouse({MouseInput::Up, p, Right, Left, 0});
    rt.postMouse({MouseInput::Up, p, Left, 0, 0});
    host.runUntilIdle();
    auto downs = rec.only("lbl.MouseDown");
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].button, Left);
    EXPECT_EQ(downs[1].button, Left | Right);
    // Each release names its own button.
    auto ups = rec.only("lbl.MouseUp");
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups[0].button, Right);
    EXPECT_EQ(ups[1].button, Left);
}

struct ShiftCase {
    const char* what;
    friend void PrintTo(const ShiftCase& c, std::ostream* os) { *os << c.what; }
    std::function<void(headless::HeadlessHost&, MainForm&)> script;
    int shift;
};

class ScriptedShift : public FormsTest, public ::testing::WithParamInterface<ShiftCase> {};

// Every scripted mouse step carries its shift mask to each event it raises.
TEST_P(ScriptedShift, ReachesEveryMouseEvent) {
    MainForm& f = shownMain();
    GetParam().script(host, f);
    host.runUntilIdle();
    int seen = 0;
    for (const auto& e : rec.events) {
        if (e.name.rfind("lbl.Mouse", 0) != 0) continue;
        ++seen;
        EXPECT_EQ(e.shift, GetParam().shift) << e.name;
    }
    EXPECT_GE(seen, 2);
}

namespace sm = forms::shiftmask;
using Host = headless::HeadlessHost;

INSTANTIATE_TEST_SUITE_P(
    Mouse, ScriptedShift,
    ::testing::Values(
        ShiftCase{"click", [](Host& h, MainForm& f) { h.click(f.lbl, Right, sm::Shift); }, sm::Shift},
        ShiftCase{"clickAt", [](Host& h, MainForm& f) { h.clickAt(Host::centreOf(f.lbl), Left, sm::Ctrl); }, sm::Ctrl},
        ShiftCase{"doubleClick", [](Host& h, MainForm& f) { h.doubleClick(f.lbl, sm::Alt); }, sm::Alt},
        ShiftCase{"press move release",
                  [](Host& h, MainForm& f) {
                      h.moveTo(f.lbl, sm::Shift | sm::Alt);
                      h.press(f.lbl, Left, sm::Shift | sm::Alt);
                      h.moveTo(f.screenAt(2500, 450), sm::Shift | sm::Alt);
                      h.release(f.screenAt(2500, 450), Left, sm::Shift | sm::Alt);
                  },
                  sm::Shift | sm::Alt},
        ShiftCase{"drag", [](Host& h, MainForm& f) { h.drag(f.lbl, f.screenAt(2500, 450), 2, sm::Ctrl | sm::Shift); },
                  sm::Ctrl | sm::Shift},
        ShiftCase{"none given", [](Host& h, MainForm& f) { h.drag(f.lbl, f.screenAt(2500, 450)); }, 0}),
    CaseName());

// A handler that polls with DoEvents sees the script's clicks, but not before a scripted
// pause has run out on the clock.
TEST_F(FormsTest, AHandlerPollingWithDoEventsGetsScriptedClicks) {
    MainForm& f = shownMain();
    bool stop = false;
    std::int64_t stoppedAfter = -1;
    f.on["chk.Click"] = [&] { stop = true; };
    f.on["lbl.Click"] = [&] {
        std::int64_t t0 = rt.now();
        for (int i = 0; i < 1000 && !stop; ++i) {
            rt.doEvents();
            host.letTimePass(10);
        }
        if (stop) stoppedAfter = rt.now() - t0;
        rec.add("loop ends");
    };
    host.click(f.lbl);
    host.pause(200);
    host.click(f.chk);
    host.runUntilIdle();
    EXPECT_GE(stoppedAfter, 200);
    EXPECT_LT(stoppedAfter, 300);
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click", "chk.MouseDown", "chk.MouseUp",
                                  "chk.Click", "loop ends"}));
}

// ---- capture ----

TEST_F(FormsTest, PressedControlKeepsTheMouseUntilRelease) {
    MainForm& f = shownMain();
    host.press(f.lbl);                            // lbl spans client x 300..1500, y 300..600
    host.moveTo(f.screenAt(2500, 450));           // over pic
    host.moveTo(f.screenAt(-900, -1500));         // off the form, up and left
    host.moveTo(f.screenAt(f.width() + 600, 450));  // off the form on the right
    host.release(f.screenAt(-900, -1500));
    host.runUntilIdle();

    for (const auto& e : rec.events) EXPECT_EQ(e.name.rfind("lbl.", 0), 0u) << e.name << " reached another control";
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp"}));  // released outside: no Click
    auto moves = rec.only("lbl.MouseMove");
    ASSERT_EQ(moves.size(), 4u);  // the one onto the label, then three captured
    EXPECT_EQ(moves[1].x, 2200);
    EXPECT_EQ(moves[1].y, 150);
    EXPECT_EQ(moves[2].x, -1200);
    EXPECT_EQ(moves[2].y, -1800);
    EXPECT_GT(moves[3].x, f.lbl.width());
    for (std::size_t i = 1; i < moves.size(); ++i) EXPECT_EQ(moves[i].button, Left);
    auto up = rec.only("lbl.MouseUp").at(0);
    EXPECT_EQ(up.x, -1200);
    EXPECT_EQ(up.y, -1800);
    EXPECT_EQ(rt.captured(), nullptr);
}

TEST_F(FormsTest, CaptureInsideAPictureBoxCountsFromTheControl) {
    MainForm& f = shownMain();
    host.press(f.picLbl);
    host.release(f.screenAt(0, 0));  // the form's client origin
    host.runUntilIdle();
    auto up = rec.only("picLbl.MouseUp");
    ASSERT_EQ(up.size(), 1u);
    // picLbl sits at 150,150 inside pic's 2-pixel border, pic at 2000,300.
    EXPECT_EQ(up[0].x, -(2000 + 30 + 150));
    EXPECT_EQ(up[0].y, -(300 + 30 + 150));
    EXPECT_EQ(rec.count("picLbl.Click"), 0);
    EXPECT_EQ(rec.count("Main.Click"), 0);
}

TEST_F(FormsTest, ReleaseBackOverThePressedControlClicks) {
    MainForm& f = shownMain();
    host.press(f.lbl);
    host.moveTo(f.screenAt(-900, 450));
    host.release(f.screenAt(1400, 350));
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click"}));
}

TEST_F(FormsTest, APressLostWithItsWindowDoesNotSpoilTheNextCapture) {
    // The window under the pointer goes away on MouseDown and its release never arrives.
    DialogForm& d = dialog();
    d.show();
    MainForm& f = shownMain();
    f.on["lbl.MouseDown"] = [&f] { f.hide(); };
    host.press(f.lbl);
    host.press(d.lblOk);  // still held as far as the model last heard
    host.moveTo(d.screenAt(2500, 1200));
    host.release(d.screenAt(2500, 1200));
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "Dialog.Activate", "lblOk.MouseDown", "lblOk.MouseUp"}));
}

// ---- hit testing ----

struct HitCase {
    const char* what;
    forms::Point client;      // in the main form's client area
    const char* control;      // "" for the form itself
    const char* window;       // what windowFromPoint finds
    forms::Point local;
};

class HitTest : public FormsTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, FindsTheControlThatTakesTheMouse) {
    MainForm& f = shownMain();
    const HitCase& c = GetParam();
    forms::Point screen = f.screenAt(c.client.x, c.client.y);
    forms::HitResult h = rt.hitTest(screen);
    ASSERT_EQ(h.form, &f);
    EXPECT_EQ(h.control ? h.control->name() : std::string(), c.control);
    EXPECT_EQ(h.local, c.local);
    forms::Control* w = rt.windowFromPoint(screen);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->name(), c.window);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, HitTest,
    ::testing::Values(
        HitCase{"label", {900, 450}, "lbl", "Main", {600, 150}},
        HitCase{"label beside the box", {1900, 750}, "lblUnder", "Main", {100, 150}},
        HitCase{"label where the box covers it", {2400, 850}, "pic", "pic", {370, 520}},
        HitCase{"label inside the box", {2000 + 30 + 300, 300 + 30 + 200}, "picLbl", "pic", {150, 50}},
        HitCase{"disabled label inside the box", {2000 + 30 + 300, 300 + 30 + 700}, "pic", "pic", {300, 700}},
        HitCase{"disabled label on the form", {4000, 450}, "", "Main", {4000, 450}},
        HitCase{"transparent label over the image", {400, 1000}, "lblTrans", "Main", {100, 100}},
        HitCase{"transparent label away from its text", {1400, 1000}, "lblTrans", "Main", {1100, 100}},
        HitCase{"image below the label", {400, 1300}, "img", "Main", {100, 400}},
        HitCase{"shape and line over a label", {900, 1750}, "lblBelow", "Main", {600, 150}},
        HitCase{"shape over the bare form", {1650, 2100}, "", "Main", {1650, 2100}},
        HitCase{"text box", {900, 2550}, "txt", "txt", {600, 150}}),
    CaseName());

TEST_F(FormsTest, NothingIsFoundOffEveryForm) {
    MainForm& f = shownMain();
    forms::Point off{f.left() + f.width() + 100, f.top()};
    EXPECT_EQ(rt.hitTest(off).form, nullptr);
    EXPECT_EQ(rt.windowFromPoint(off), nullptr);
}

TEST_F(FormsTest, TheTopFormTakesThePointWhereFormsOverlap) {
    MainForm& f = shownMain();
    DialogForm& d = dialog();
    d.move(f.left() + 600, f.top() + 600, 3000, 2000);
    d.show();
    forms::Point p = f.screenAt(900, 450);  // lbl on the main form, under the dialog
    EXPECT_EQ(rt.windowFromPoint(p), &d);
    d.hide();
    EXPECT_EQ(rt.windowFromPoint(p), &f);
}

struct RouteCase {
    const char* what;
    forms::Point client;
    Names expected;
};

class MouseRouting : public FormsTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(MouseRouting, ClicksReachWhatTheHitTestFinds) {
    MainForm& f = shownMain();
    host.clickAt(f.screenAt(GetParam().client.x, GetParam().client.y));
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, MouseRouting,
    ::testing::Values(
        RouteCase{"covered_label", {2400, 850}, {"pic.MouseDown", "pic.MouseUp", "pic.Click"}},
        RouteCase{"disabled_label_in_box", {2330, 1030}, {"pic.MouseDown", "pic.MouseUp", "pic.Click"}},
        RouteCase{"disabled_label_on_form", {4000, 450}, {"Main.MouseDown", "Main.MouseUp", "Main.Click"}},
        RouteCase{"shape_over_label", {900, 1750}, {"lblBelow.MouseDown", "lblBelow.MouseUp", "lblBelow.Click"}}),
    CaseName());

TEST_F(FormsTest, ADisabledFormTakesNoMouse) {
    MainForm& f = shownMain();
    f.setEnabled(false);
    host.click(f.lbl);
    host.clickAt(f.screenAt(5000, 4000));
    host.runUntilIdle();
    EXPECT_EQ(rec.names(true), Names{});
}

TEST_F(FormsTest, AHiddenControlTakesNoMouse) {
    MainForm& f = shownMain();
    f.pic.setVisible(false);
    host.clickAt(f.screenAt(2400, 850));  // lblUnder, no longer covered
    host.clickAt(f.screenAt(2330, 530));  // where picLbl was
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), (Names{"lblUnder.MouseDown", "lblUnder.MouseUp", "lblUnder.Click",
                                  "Main.MouseDown", "Main.MouseUp", "Main.Click"}));
}

// ---- CheckBox ----

TEST_F(FormsTest, CheckBoxClickTogglesAndProgrammaticChangeClicks) {
    MainForm& f = shownMain();
    f.chk.setValue(1);
    EXPECT_EQ(rec.names(), Names{"chk.Click"});
    f.chk.setValue(1);  // no change, no Click
    EXPECT_EQ(rec.count("chk.Click"), 1);
    rec.clear();
    host.click(f.chk);
    host.runUntilIdle();
    EXPECT_EQ(f.chk.value(), 0);
    EXPECT_EQ(rec.names(), (Names{"chk.MouseDown", "chk.MouseUp", "chk.Click"}));
}

TEST_F(FormsTest, QuickSecondClickOnACheckBoxTogglesAgain) {
    // A check box has no double click: each press is a press.
    MainForm& f = shownMain();
    host.doubleClick(f.chk);
    host.runUntilIdle();
    EXPECT_EQ(f.chk.value(), 0);
    EXPECT_EQ(rec.count("chk.Click"), 2);
    EXPECT_EQ(rec.count("chk.MouseDown"), 2);
    EXPECT_EQ(rec.count("chk.DblClick"), 0);
}

// ---- dragging a window ----

TEST_F(FormsTest, BeginDragMovesTheFormWithThePointerUntilRelease) {
    MainForm& f = shownMain();
    f.on["lbl.MouseDown"] = [&f] { f.beginDrag(); };
    const int left0 = f.left(), top0 = f.top();
    forms::Point from = headless::HeadlessHost::centreOf(f.lbl);
    forms::Point to{from.x + 1500, from.y - 450};
    host.drag(f.lbl, to);
    host.moveTo(forms::Point{to.x + 3000, to.y + 3000});  // after release: the form stays
    host.runUntilIdle();
    EXPECT_EQ(f.left(), left0 + 1500);
    EXPECT_EQ(f.top(), top0 - 450);
    // The drag swallows the pointer: the label saw its press and nothing of the drag.
    EXPECT_EQ(rec.names(), Names{"lbl.MouseDown"});
    // The pointer is back on its own: the next click reaches the label where it now is.
    rec.clear();
    f.on.erase("lbl.MouseDown");
    host.click(f.lbl);
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click"}));
}

TEST_F(FormsTest, TheDragFollowsThePointerFromThePressAndIsOverWhenBeginDragReturns) {
    MainForm& f = shownMain();
    const int left0 = f.left(), top0 = f.top();
    std::vector<forms::Point> seenByHandler;
    f.on["lbl.MouseDown"] = [&] {
        f.beginDrag();
        seenByHandler.push_back({f.left(), f.top()});
    };
    // The pointer is elsewhere by the time the handler asks: the drag still counts from the
    // press, so 10 px of travel move the window by 10 px.
    forms::Point p = headless::HeadlessHost::centreOf(f.lbl);
    ASSERT_NE(host.cursorPos(), p);
    using forms::MouseInput;
    rt.postMouse({MouseInput::Down, p, Left, Left, 0});
    rt.postMouse({MouseInput::Move, {p.x + 75, p.y + 45}, 0, Left, 0});
    rt.postMouse({MouseInput::Move, {p.x + 150, p.y + 105}, 0, Left, 0});
    rt.postMouse({MouseInput::Up, {p.x + 150, p.y + 105}, Left, 0, 0});
    host.runUntilIdle();
    ASSERT_EQ(seenByHandler.size(), 1u);
    EXPECT_EQ(seenByHandler[0], (forms::Point{left0 + 150, top0 + 105}));
    EXPECT_EQ(f.left(), left0 + 150);
    EXPECT_EQ(f.top(), top0 + 105);
}

TEST_F(FormsTest, TimersTickDuringADragAndAMaximisedWindowStaysPut) {
    MainForm& f = shownMain();
    int ticks = 0;
    f.on["tmr.Timer"] = [&] { ++ticks; };
    f.tmr.setInterval(50);
    f.tmr.setEnabled(true);
    f.on["lbl.MouseDown"] = [&f] { f.beginDrag(); };
    forms::Point from = headless::HeadlessHost::centreOf(f.lbl);
    host.press(f.lbl);
    host.pause(120);
    host.moveTo(forms::Point{from.x + 300, from.y});
    host.release(forms::Point{from.x + 300, from.y});
    host.runUntilIdle(10);
    EXPECT_EQ(ticks, 2);

    f.tmr.setEnabled(false);
    f.setWindowState(2);
    const forms::Rect maxed = f.rect();
    host.drag(f.lbl, forms::Point{from.x + 600, from.y + 600});
    host.runUntilIdle();
    EXPECT_EQ(f.rect(), maxed);
}

}  // namespace
}  // namespace formstest
