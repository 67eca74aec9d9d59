// Message boxes and popup menus: scripted answers, starving scripts, timers while open.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

namespace mb = forms::mb;

struct BoxCase {
    int flags;
    std::optional<int> scripted;
    int expected;
};

class MessageBox : public FormsTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBox, ReturnsTheScriptedAnswer) {
    MainForm& f = shownMain();
    rt.appTitle = "Practice";
    if (GetParam().scripted) host.answerMessageBox(*GetParam().scripted);
    int result = -1;
    f.on["lbl.Click"] = [&] { result = rt.msgBox("Go on?", GetParam().flags); };
    host.click(f.lbl);
    host.runUntilIdle();
    EXPECT_EQ(result, GetParam().expected);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].prompt, "Go on?");
    EXPECT_EQ(host.messageBoxes[0].title, "Practice");
    EXPECT_EQ(host.messageBoxes[0].flags, GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, MessageBox,
                         ::testing::Values(BoxCase{mb::YesNo | mb::Question, mb::ResultNo, mb::ResultNo},
                                           BoxCase{mb::YesNo, mb::ResultYes, mb::ResultYes},
                                           BoxCase{mb::OkCancel, mb::ResultCancel, mb::ResultCancel},
                                           BoxCase{mb::OkOnly | mb::Information, std::nullopt, mb::ResultOk}));

TEST_F(FormsTest, AnUnansweredQuestionStarvesTheScript) {
    MainForm& f = shownMain();
    f.on["lbl.Click"] = [&] {
        rt.msgBox("Delete?", mb::YesNo);
        rec.add("after box");
    };
    host.click(f.lbl);
    EXPECT_THROW(host.runUntilIdle(), headless::ScriptStarved);
    EXPECT_EQ(rec.count("after box"), 0);
}

TEST_F(FormsTest, AModalFormNoScriptClosesStarvesTheScript) {
    MainForm& f = shownMain();
    f.on["lbl.Click"] = [&] { dialog().show(true); };
    host.click(f.lbl);
    EXPECT_THROW(host.runUntilIdle(), headless::ScriptStarved);
}

// The headless host answers at once; this one lets the user think for a while first.
class SlowUserHost : public headless::HeadlessHost {
public:
    explicit SlowUserHost(int thinkMs) : thinkMs_(thinkMs) {}
    void beginMessageBox(const forms::MessageBoxRequest& request) override {
        HeadlessHost::beginMessageBox(request);
        openedAt_ = nowMs();
    }
    std::optional<int> messageBoxResult() override {
        if (nowMs() - openedAt_ < thinkMs_) return std::nullopt;
        return HeadlessHost::messageBoxResult();
    }

private:
    int thinkMs_;
    std::int64_t openedAt_ = 0;
};

TEST(MessageBoxOpen, TimersKeepTickingAndWindowsTakeNoInput) {
    SlowUserHost host(1000);
    forms::Runtime rt(host);
    Recorder rec;
    MainForm f(rt, rec);
    f.load();
    f.show();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["lbl.Click"] = [&] {
        rec.add("ask");
        rec.add("answer " + std::to_string(rt.msgBox("Sure?", mb::YesNo)));
    };
    host.answerMessageBox(mb::ResultYes);
    host.click(f.lbl);
    host.click(f.lbl);  // arrives while the box is open
    host.runFor(1050);

    auto n = rec.names();
    auto ask = std::find(n.begin(), n.end(), "ask");
    auto answer = std::find(n.begin(), n.end(), "answer 6");
    ASSERT_NE(answer, n.end());
    EXPECT_EQ(std::count(ask, answer, "tmr.Timer"), 10);
    EXPECT_EQ(std::count(n.begin(), n.end(), "lbl.Click"), 1);
    EXPECT_EQ(std::count(n.begin(), n.end(), "lbl.MouseDown"), 1);
}

TEST_F(FormsTest, APauseThatEndsWhileTheUserIsInABoxLetsTimeRunOnAfterIt) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    const std::int64_t start = rt.now();
    std::int64_t answeredAt = 0, nextStepAt = 0;
    f.on["tmr.Timer"] = [&] {
        f.tmr.setEnabled(false);
        rt.msgBox("Sure?", mb::YesNo);
        answeredAt = rt.now();
    };
    host.answerMessageBox(mb::ResultYes, 450);
    host.pause(300);
    host.then([&] { nextStepAt = rt.now(); });
    host.runFor(1000);
    EXPECT_EQ(answeredAt - start, 550);
    EXPECT_GE(nextStepAt, answeredAt);
    EXPECT_EQ(rt.now() - start, 1000);
}

// ---- popup menus ----

class Popup : public FormsTest {
protected:
    // File menu built at run time: Open, a separator, a hidden item, Save As, a disabled item.
    void SetUp() override {
        const char* captions[] = {"&Open", "-", "Hidden", "Save &As", "Disabled"};
        for (int i = 0; i < 5; ++i) items.load(i).caption = captions[i];
        items(2).visible = false;
        items(4).enabled = false;
        items.onClick = [this](int index) { rec.add("mnuItem.Click " + std::to_string(index)); };
        root.items = items.items();
    }
    forms::MenuItem root{"mnuFile"};
    forms::MenuArray items{"mnuItem"};
};

TEST_F(Popup, ShowsVisibleItemsWithSeparators) {
    MainForm& f = shownMain();
    f.on["lbl.MouseUp"] = [&] { f.popupMenu(root); };
    host.choosePopup("");
    host.click(f.lbl, forms::buttons::Right);
    host.runUntilIdle();
    ASSERT_EQ(host.popups.size(), 1u);
    Names shown;
    for (const auto& it : host.popups[0].items) shown.push_back(it.caption);
    EXPECT_EQ(shown, (Names{"&Open", "-", "Save &As", "Disabled"}));
    EXPECT_FALSE(host.popups[0].items[3].enabled);
    EXPECT_EQ(host.popups[0].screen, headless::HeadlessHost::centreOf(f.lbl));
    EXPECT_EQ(rec.names(), (Names{"lbl.MouseDown", "lbl.MouseUp"}));
}

struct ChoiceCase {
    const char* choice;
    const char* expected;  // "" when no item runs
};

class PopupChoice : public Popup, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(PopupChoice, RunsTheChosenItemsClickBeforeReturning) {
    MainForm& f = shownMain();
    f.on["lbl.MouseUp"] = [&] {
        f.popupMenu(root);
        rec.add("after popup");
    };
    host.choosePopup(GetParam().choice);
    host.click(f.lbl, forms::buttons::Right);
    host.runUntilIdle();
    Names expected{"lbl.MouseDown", "lbl.MouseUp"};
    if (*GetParam().expected) expected.push_back(GetParam().expected);
    expected.push_back("after popup");
    EXPECT_EQ(rec.names(), expected);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, PopupChoice,
                         ::testing::Values(ChoiceCase{"&Open", "mnuItem.Click 0"}, ChoiceCase{"Open", "mnuItem.Click 0"},
                                           ChoiceCase{"Save As", "mnuItem.Click 3"}, ChoiceCase{"Hidden", ""},
                                           ChoiceCase{"Disabled", ""}, ChoiceCase{"", ""}));

// ---- the user staying in a menu or box ----

struct StayCase {
    const char* what;
    friend void PrintTo(const StayCase& c, std::ostream* os) { *os << c.what; }
    bool popup;
};

class UserStays : public Popup, public ::testing::WithParamInterface<StayCase> {};

TEST_P(UserStays, TimersTickAndTheScriptWaitsUntilTheAnswer) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    std::int64_t openedAt = 0, answeredAt = 0;
    bool first = true;
    f.on["lbl.MouseUp"] = [&] {
        if (!first) return;
        first = false;
        rec.add("open");
        openedAt = rt.now();
        if (GetParam().popup)
            f.popupMenu(root);
        else
            rec.add("box " + std::to_string(rt.msgBox("Sure?", mb::YesNo)));
        answeredAt = rt.now();
        rec.add("answered");
    };
    if (GetParam().popup)
        host.choosePopup("Open", 450);
    else
        host.answerMessageBox(mb::ResultYes, 450);
    host.click(f.lbl, forms::buttons::Right);
    host.click(f.lbl);  // the user's next click, once out of the menu or box
    host.runFor(1000);

    EXPECT_EQ(answeredAt - openedAt, 450);
    auto n = rec.names();
    auto open = std::find(n.begin(), n.end(), "open");
    auto answered = std::find(n.begin(), n.end(), "answered");
    ASSERT_NE(answered, n.end());
    EXPECT_EQ(std::count(open, answered, "tmr.Timer"), 4);
    EXPECT_NE(std::find(open, answered, GetParam().popup ? "mnuItem.Click 0" : "box 6"), answered);
    EXPECT_EQ(std::count(n.begin(), n.end(), "lbl.MouseDown"), 2);
    EXPECT_EQ(std::count(answered, n.end(), "lbl.MouseDown"), 1);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, UserStays, ::testing::Values(StayCase{"popup", true}, StayCase{"message box", false}),
                         CaseName());

TEST_F(Popup, ABoxOpenedByATimerInsideAnOpenMenuGetsItsOwnAnswer) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["tmr.Timer"] = [&] {
        if (rec.count("tmr.Timer") == 1) rec.add("box " + std::to_string(rt.msgBox("Sure?", mb::YesNo)));
    };
    f.on["lbl.MouseUp"] = [&] {
        f.popupMenu(root);
        rec.add("after popup");
    };
    host.choosePopup("Save As", 450);
    host.answerMessageBox(mb::ResultNo, 100);
    host.click(f.lbl, forms::buttons::Right);
    host.runFor(600);
    auto n = rec.names();
    auto box = std::find(n.begin(), n.end(), "box 7");
    auto chosen = std::find(n.begin(), n.end(), "mnuItem.Click 3");
    ASSERT_NE(box, n.end());
    ASSERT_NE(chosen, n.end());
    EXPECT_LT(box, chosen);
    EXPECT_EQ(chosen + 1, std::find(n.begin(), n.end(), "after popup"));
}

// Where the host's own windows lie while open: the menu right and down from its point,
// 150 px by 18 px an entry; the box in the middle of the screen.
TEST_F(Popup, HostWindowsCoverTheirRectanglesWhileOpen) {
    MainForm& f = shownMain();
    const int px = 15;  // the fixture host's twips per pixel
    const forms::Point at = headless::HeadlessHost::centreOf(f.lbl);
    const forms::Point middle{1024 * px / 2, 768 * px / 2};
    auto probe = [&] {
        std::string s;
        for (forms::Point p : {at, forms::Point{at.x + 150 * px - 1, at.y + 4 * 18 * px - 1},
                               forms::Point{at.x + 150 * px, at.y}, forms::Point{at.x, at.y + 4 * 18 * px},
                               forms::Point{at.x - 1, at.y}, middle})
            s += host.hostWindowAt(p) ? '1' : '0';
        return s;
    };
    std::vector<std::string> seen;
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["tmr.Timer"] = [&] { seen.push_back(probe()); };
    f.on["lbl.MouseUp"] = [&] {
        f.popupMenu(root);
        seen.push_back("closed " + probe());
        rt.msgBox("Sure?", mb::YesNo);
        seen.push_back("closed " + probe());
    };
    host.choosePopup("", 150);
    host.answerMessageBox(mb::ResultYes, 120);
    host.click(f.lbl, forms::buttons::Right);
    host.runFor(350);
    EXPECT_EQ(seen, (Names{"110000", "closed 000000", "000001", "closed 000000", "000000"}));
}

// Right-aligned, the menu's right edge is at the point: it covers leftwards instead.
TEST_F(Popup, ARightAlignedMenuCoversTheRectangleLeftOfItsPoint) {
    MainForm& f = shownMain();
    const int px = 15;
    const forms::Point at{f.left() + f.clientOffset().x + 3000, f.top() + f.clientOffset().y + 600};
    std::string seen;
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["tmr.Timer"] = [&] {
        seen += "|";
        for (forms::Point p : {forms::Point{at.x - 1, at.y}, forms::Point{at.x - 150 * px, at.y + 4 * 18 * px - 1},
                               forms::Point{at.x, at.y}, forms::Point{at.x - 150 * px - 1, at.y}})
            seen += host.hostWindowAt(p) ? '1' : '0';
    };
    f.on["lbl.MouseUp"] = [&] { f.popupMenu(root, 3000, 600, true); };
    host.choosePopup("", 150);
    host.click(f.lbl, forms::buttons::Right);
    host.runFor(200);
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_TRUE(host.popups[0].rightAligned);
    EXPECT_EQ(host.popups[0].screen, at);
    EXPECT_EQ(seen, "|1100|0000");  // open, then closed
}

TEST_F(FormsTest, ClosingAnInnerBoxLeavesTheWindowsShutWhileTheOuterIsOpen) {
    MainForm& f = shownMain();
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["tmr.Timer"] = [&] {
        int n = rec.count("tmr.Timer");
        if (n == 1) rt.msgBox("Inner", mb::OkOnly);
        // The inner box is closed, the outer menu still open: a click must not get through.
        if (n == 2) {
            forms::Point p = headless::HeadlessHost::centreOf(f.lblBelow);
            rt.postMouse({forms::MouseInput::Down, p, forms::buttons::Left, forms::buttons::Left, 0});
            rt.postMouse({forms::MouseInput::Up, p, forms::buttons::Left, 0, 0});
        }
    };
    f.on["lbl.MouseUp"] = [&] { rt.msgBox("Outer", mb::YesNo); };
    host.answerMessageBox(mb::ResultYes, 450);
    host.click(f.lbl);
    host.runFor(600);
    EXPECT_EQ(rec.count("lblBelow.MouseDown"), 0);
    EXPECT_EQ(host.messageBoxes.size(), 2u);
}

TEST_F(Popup, NoControlIsUnderThePointerWhereAnOpenMenuLies) {
    MainForm& f = shownMain();
    const forms::Point at = headless::HeadlessHost::centreOf(f.lbl);
    std::vector<const forms::Control*> seen;
    f.tmr.setInterval(100);
    f.tmr.setEnabled(true);
    f.on["tmr.Timer"] = [&] { seen.push_back(rt.windowFromPoint(at)); };
    f.on["lbl.MouseUp"] = [&] { f.popupMenu(root); };
    host.choosePopup("", 150);
    host.click(f.lbl, forms::buttons::Right);
    host.runFor(250);
    // Under the open menu nothing; once it is gone, the form that holds the label.
    EXPECT_EQ(seen, (std::vector<const forms::Control*>{nullptr, &f}));
}

// ---- choosing by position ----

class PopupByPosition : public FormsTest {
protected:
    // Same, Same, a separator, Sub (A, Off), Gone: repeated captions and a submenu.
    void SetUp() override {
        same0.caption = same1.caption = "Same";
        sep.caption = "-";
        sub.caption = "Sub";
        a.caption = "A";
        off.caption = "Off";
        gone.caption = "Gone";
        off.enabled = false;
        gone.enabled = false;
        sub.items = {&a, &off};
        root.items = {&same0, &same1, &sep, &sub, &gone};
        for (forms::MenuItem* m : {&same0, &same1, &a, &off, &gone})
            m->Click = [this, m] { rec.add(m->name + ".Click"); };
    }
    forms::MenuItem root{"mnu"}, same0{"same0"}, same1{"same1"}, sep{"sep"}, sub{"sub"}, a{"a"}, off{"off"},
        gone{"gone"};
};

struct PathCase {
    const char* what;
    friend void PrintTo(const PathCase& c, std::ostream* os) { *os << c.what; }
    std::vector<int> path;
    const char* expected;  // the item clicked, "" for none; or the fault's wording
};

class PopupPath : public PopupByPosition, public ::testing::WithParamInterface<PathCase> {
protected:
    void open() {
        MainForm& f = shownMain();
        f.on["lbl.Click"] = [&] { f.popupMenu(root); };
        host.choosePopupAt(GetParam().path);
        host.click(f.lbl);
    }
};

class PopupPathChoice : public PopupPath {};

TEST_P(PopupPathChoice, RunsTheItemAtThatPosition) {
    open();
    host.runUntilIdle();
    Names expected{"lbl.MouseDown", "lbl.MouseUp", "lbl.Click"};
    if (*GetParam().expected) expected.push_back(GetParam().expected);
    EXPECT_EQ(rec.names(), expected);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, PopupPathChoice,
                         ::testing::Values(PathCase{"first of two alike", {0}, "same0.Click"},
                                           PathCase{"second of two alike", {1}, "same1.Click"},
                                           PathCase{"in a submenu", {3, 0}, "a.Click"},
                                           PathCase{"empty path dismisses", {}, ""}),
                         CaseName());

class PopupPathFault : public PopupPath {};

TEST_P(PopupPathFault, FailsTheScriptNamingThePath) {
    open();
    try {
        host.runUntilIdle();
        FAIL() << "no fault raised";
    } catch (const headless::ScriptFault& e) {
        EXPECT_NE(e.what.find("{"), std::string::npos) << e.what;
        EXPECT_NE(e.what.find(GetParam().expected), std::string::npos) << e.what;
    }
    EXPECT_EQ(rec.count("a.Click") + rec.count("same0.Click") + rec.count("same1.Click"), 0);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, PopupPathFault,
                         ::testing::Values(PathCase{"separator", {2}, "{2} names a separator"},
                                           PathCase{"disabled top entry", {4}, "{4} names the disabled entry"},
                                           PathCase{"disabled leaf in submenu", {3, 1}, "{3, 1} names the disabled"},
                                           PathCase{"submenu itself", {3}, "ends on the submenu"},
                                           PathCase{"past the end", {5}, "has 5 entries"},
                                           PathCase{"past the end of a submenu", {3, 2}, "has 2 entries"},
                                           PathCase{"negative", {-1}, "has 5 entries"},
                                           PathCase{"into a leaf", {0, 0}, "has no submenu"}),
                         CaseName());

TEST_F(Popup, AnUnansweredPopupStarvesTheScript) {
    MainForm& f = shownMain();
    f.on["lbl.Click"] = [&] { f.popupMenu(root); };
    host.click(f.lbl);
    EXPECT_THROW(host.runUntilIdle(), headless::ScriptStarved);
}

}  // namespace
}  // namespace formstest
