// Message boxes and popup menus: scripted answers, starving scripts, timers while open.
#include <gtest/gtest.h>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

using Names = std::vector<std::string>;
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

TEST_F(Popup, AnUnansweredPopupStarvesTheScript) {
    MainForm& f = shownMain();
    f.on["lbl.Click"] = [&] { f.popupMenu(root); };
    host.click(f.lbl);
    EXPECT_THROW(host.runUntilIdle(), headless::ScriptStarved);
}

}  // namespace
}  // namespace formstest
