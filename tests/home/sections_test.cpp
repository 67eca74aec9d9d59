// Section switching from the cover and the tabs, the unit shown on entry, the return request
// of a finished session, and leaving the program.
#include <gtest/gtest.h>

#include <ostream>

#include "net/FrmUpdata.h"
#include "tests/home/home_fixture.h"

namespace hometest {
namespace {

std::vector<forms::PictureBox*> panels(qz::FrmFengmian& home) {
    return {&home.PicTiKu, &home.PicKaCH, &home.PicBiaoZhi, &home.PicCuoTi, &home.PicHelp};
}

// The section open: its panel alone visible, the top strip and the advertisement shown,
// and only its tab disabled.
void expectSection(qz::FrmFengmian& home, forms::PictureBox& panel, int tab) {
    EXPECT_TRUE(home.PicTOP.visible());
    EXPECT_TRUE(home.PicAd.visible());
    for (forms::PictureBox* p : panels(home)) EXPECT_EQ(p->visible(), p == &panel) << p->name();
    for (int i = 15; i <= 19; ++i) EXPECT_EQ(home.ClickBotn(i).Enabled(), i != tab) << i;
}

void expectCover(qz::FrmFengmian& home) {
    EXPECT_FALSE(home.PicTOP.visible());
    EXPECT_FALSE(home.PicAd.visible());
    for (forms::PictureBox* p : panels(home)) EXPECT_FALSE(p->visible()) << p->name();
    for (int i = 15; i <= 19; ++i) EXPECT_TRUE(home.ClickBotn(i).Enabled()) << i;
}

TEST_F(HomeScreen, TabsSwitchSectionsAndTheOpenTabIsDisabled) {
    setInfo(34, "4");  // all four cover buttons
    qz::FrmFengmian& home = start();
    struct Section {
        int cover;
        int tab;
        forms::PictureBox* panel;
    };
    const std::vector<Section> sections{
        {4, 16, &home.PicTiKu}, {5, 17, &home.PicKaCH}, {6, 18, &home.PicBiaoZhi}, {7, 19, &home.PicCuoTi}};
    for (const Section& s : sections) {
        SCOPED_TRACE(s.tab);
        click(s.cover);
        expectSection(home, *s.panel, s.tab);
        // The open tab takes no click; the others switch directly.
        click(s.tab);
        expectSection(home, *s.panel, s.tab);
        for (const Section& other : sections) {
            if (other.tab == s.tab) continue;
            click(other.tab);
            expectSection(home, *other.panel, other.tab);
        }
        click(15);
        expectCover(home);
        EXPECT_TRUE(home.ClickBotn(s.cover).visible());
    }
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, UnitChoiceStaysWhileTheSectionIsOpen) {
    qz::FrmFengmian& home = start();
    click(4);
    EXPECT_EQ(home.SelectedUnit, 0);
    click(55);
    EXPECT_EQ(home.SelectedUnit, 5);
    click(16);  // disabled: nothing happens
    EXPECT_EQ(home.SelectedUnit, 5);
    click(17);
    click(16);  // a new entry chooses again
    EXPECT_EQ(home.SelectedUnit, 0);
    EXPECT_FALSE(home.ClickBotn(50).Enabled());
}

TEST_F(HomeScreen, AnOpenSectionCoversTheCoverButtons) {
    qz::FrmFengmian& home = start();
    click(4);
    click(55);
    // Clicks where the cover's buttons lie reach the panel, not them.
    click(4);
    click(5);
    expectSection(home, home.PicTiKu, 16);
    EXPECT_EQ(home.SelectedUnit, 5);
}

TEST_F(HomeScreen, WindowButtons) {
    qz::FrmFengmian& home = start();
    click(2);
    EXPECT_EQ(home.windowState(), 1);
    home.setWindowState(0);
    h->p().svc.updateServer = testsupport::originOf(h->server);
    click(8);
    EXPECT_EQ(g().ShowUpdateWindow, 1);
    // The update window lies over the screen until it is closed.
    ASSERT_TRUE(h->isLoaded("FrmUpdata"));
    click(h->p().frmUpdata().Command1);
    click(12);
    ASSERT_EQ(h->shell.calls.size(), 1u);
    EXPECT_EQ(h->shell.calls[0].kind, platform::RecordingShell::Call::Link);
    EXPECT_EQ(h->shell.calls[0].target, g().ProductInfo[2]);
    click(4);
    click(13);
    EXPECT_EQ(home.windowState(), 1);
    expectSection(home, home.PicTiKu, 16);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, IndexesWithoutAnActionDoNothing) {
    qz::FrmFengmian& home = start();
    click(4);
    click(55);
    // These have no visible button; the dispatcher is called as the screen's own code would.
    for (int i : {0, 1, 9, 10, 26, 27, 44, 45, 46, 100, -1}) home.ClickBotn_Click(i);
    h->host.runUntilIdle();
    expectSection(home, home.PicTiKu, 16);
    EXPECT_EQ(home.SelectedUnit, 5);
    EXPECT_FALSE(h->isLoaded("FrmQZMSGBOX"));
    EXPECT_TRUE(h->shell.calls.empty());
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, DragHandlesMoveTheWindowWithTheLeftButtonOnly) {
    qz::FrmFengmian& home = start();
    auto drag = [&](const forms::Control& handle, int button) {
        forms::Point from = headless::HeadlessHost::centreOf(handle);
        forms::Point to{from.x + 300, from.y + 150};
        h->host.press(handle, button);
        h->host.moveTo(to);
        h->host.release(to, button);
        h->host.runUntilIdle();
    };
    const int left = home.left(), top = home.top();
    drag(home.picShouYe, forms::buttons::Right);
    EXPECT_EQ(home.left(), left);
    EXPECT_EQ(home.top(), top);
    drag(home.picShouYe, forms::buttons::Left);
    EXPECT_EQ(home.left(), left + 300);
    EXPECT_EQ(home.top(), top + 150);
    click(4);
    drag(home.lblMove, forms::buttons::Middle);
    EXPECT_EQ(home.left(), left + 300);
    drag(home.lblMove, forms::buttons::Left);
    EXPECT_EQ(home.left(), left + 600);
    EXPECT_EQ(home.top(), top + 300);
}

struct ChoiceCase {
    std::string name;
    std::string catalogueLine1;
    std::string counts;
    std::vector<std::string> progress;
    int expected;  // SelectedUnit; -1 all units
    friend void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }
};

class UnitChoice : public HomeRun, public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(UnitChoice, OnEntry) {
    const ChoiceCase& c = GetParam();
    writeCatalogue({c.catalogueLine1, c.counts});
    writeProgress(c.progress);
    qz::FrmFengmian& home = start();
    // From the cover button, and again from the tab after another section.
    for (bool byTab : {false, true}) {
        SCOPED_TRACE(byTab ? "tab 16" : "cover button 4");
        if (byTab) {
            click(5);
            click(16);
        } else {
            click(4);
        }
        expectSection(home, home.PicTiKu, 16);
        EXPECT_EQ(home.SelectedUnit, c.expected);
        for (int i = 49; i <= 69; ++i) EXPECT_EQ(home.ClickBotn(i).Enabled(), i != c.expected + 50) << i;
        click(15);
    }
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Home, UnitChoice,
    ::testing::Values(
        ChoiceCase{"first_unit_below_80_percent", "0503", "050505", {"TTTTT", "TTTFF", "FFFFF"}, 1},
        ChoiceCase{"all_learned_gives_the_last_unit", "0503", "050505", {"TTTTT", "TTTTF", "TTTTT"}, 2},
        ChoiceCase{"exactly_20_percent_is_skipped", "0504", "05100505", {"TTTTF", "TTTTTTTTFF", "TTFFF", "FFFFF"}, 2},
        ChoiceCase{"fresh_progress_gives_unit_0", "0503", "050505", {}, 0},
        ChoiceCase{"unit_without_questions_stops", "0504", "05000505", {"TTTTT", "", "FFFFF", "FFFFF"}, 1},
        ChoiceCase{"no_units_gives_all_units", "05", "050505", {"FFFFF"}, -1}),
    [](const ::testing::TestParamInfo<ChoiceCase>& i) { return i.param.name; });

// ---- return request ----

class ReturnRequest : public HomeRun, public ::testing::TestWithParam<int> {};

forms::PictureBox& panelOfTab(qz::FrmFengmian& home, int tab) {
    switch (tab) {
        case 16: return home.PicTiKu;
        case 17: return home.PicKaCH;
        case 18: return home.PicBiaoZhi;
        default: return home.PicCuoTi;
    }
}

TEST_P(ReturnRequest, OnTheLivingScreen) {
    const int tab = GetParam();
    writeCatalogue({"0503", "050505"});
    writeProgress({"TTTTT", "TTFFF"});
    qz::FrmFengmian& home = start();
    g().ReturnButton = static_cast<std::int16_t>(tab);
    home.TimFH.setEnabled(true);
    h->host.runFor(99);
    expectCover(home);
    h->host.runFor(1);
    expectSection(home, panelOfTab(home, tab), tab);
    EXPECT_FALSE(home.TimFH.timerEnabled());
    if (tab == 16) {
        EXPECT_EQ(home.SelectedUnit, 1);
    }
    // It does not fire again.
    click(15);
    h->host.runFor(1000);
    expectCover(home);
    EXPECT_TRUE(h->reports().empty());
}

TEST_P(ReturnRequest, AfterASessionReloadsTheScreen) {
    // The end of a session: the screen was unloaded by the session start; the return request
    // loads and builds it afresh, then shows it.
    const int tab = GetParam();
    run();
    ASSERT_TRUE(h->p().frmFengmian().unload());
    writeProgress({std::string(20, 'T'), "TTTTTT", "TTFFF"});
    writeRecord("170100.mxy", testsupport::gbkBytes("新的广告\r\n255\r\n"));
    g().ReturnButton = static_cast<std::int16_t>(tab);
    h->p().frmFengmian().TimFH.setEnabled(true);
    h->p().frmFengmian().show();
    qz::FrmFengmian& home = h->p().frmFengmian();
    EXPECT_TRUE(home.visible());
    h->host.runFor(100);
    expectSection(home, panelOfTab(home, tab), tab);
    EXPECT_FALSE(home.TimFH.timerEnabled());
    // The load read the progress and the advertisement as they are now.
    EXPECT_EQ(home.LblAD.caption(), "新的广告");
    if (tab == 16) {
        EXPECT_EQ(home.SelectedUnit, 2);
    }
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(Home, ReturnRequest, ::testing::Values(16, 17, 18, 19),
                         [](const ::testing::TestParamInfo<int>& i) { return "button" + std::to_string(i.param); });

// ---- exit ----

struct ExitCase {
    std::string name;
    bool fromSection;  // button 14 in the top strip, else button 3 on the cover
    BoxButton answer;
    bool ends;
    friend void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }
};

class Exit : public HomeRun, public ::testing::TestWithParam<ExitCase> {};

TEST_P(Exit, AsksFirst) {
    const ExitCase& c = GetParam();
    qz::FrmFengmian& home = start();
    if (c.fromSection) click(4);
    const int selected = home.SelectedUnit;
    BoxSeen box = clickAnswering(c.fromSection ? 14 : 3, c.answer);
    ASSERT_TRUE(box.opened);
    EXPECT_EQ(box.title, "退出系统");
    EXPECT_EQ(box.prompt, "\r\n\r\n\r\n您确实要退出学习软件吗？");
    EXPECT_EQ(box.icon, "l20071");
    EXPECT_EQ(h->p().rt.ended(), c.ends);
    if (c.ends) {
        EXPECT_EQ(h->host.shownLog.back(), "hide FrmFengmian");
        EXPECT_EQ(g().MsgBoxResult, 1);
    } else {
        EXPECT_EQ(g().MsgBoxResult, 0);
        EXPECT_FALSE(h->isLoaded("FrmQZMSGBOX"));
        EXPECT_TRUE(home.visible());
        if (c.fromSection) {
            expectSection(home, home.PicTiKu, 16);
            EXPECT_EQ(home.SelectedUnit, selected);
        } else {
            expectCover(home);
        }
        // The screen still answers.
        click(c.fromSection ? 15 : 4);
        EXPECT_EQ(home.PicTiKu.visible(), !c.fromSection);
    }
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(Home, Exit,
                         ::testing::Values(ExitCase{"cover_yes", false, Confirm, true},
                                           ExitCase{"cover_no", false, Cancel, false},
                                           ExitCase{"cover_close_spot", false, CloseSpot, false},
                                           ExitCase{"strip_yes", true, Confirm, true},
                                           ExitCase{"strip_no", true, Cancel, false},
                                           ExitCase{"strip_close_spot", true, CloseSpot, false}),
                         [](const ::testing::TestParamInfo<ExitCase>& i) { return i.param.name; });

}  // namespace
}  // namespace hometest
