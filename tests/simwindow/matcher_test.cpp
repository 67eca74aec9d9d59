// The hot-spot, key and timer matchers: each action against the step it should and should
// not complete, including one event completing a step and then the next.
#include <functional>

#include "tests/simwindow/sim_fixture.h"

namespace {

using forms::buttons::Left;
using forms::buttons::Right;
using forms::shiftmask::Ctrl;
using forms::shiftmask::Shift;
using simtest::Rec;
using simtest::SimWindow;

using simtest::StepCase;

class Matchers : public SimWindow, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Matchers, CompleteExactlyTheExpectedSteps) { runStepCase(GetParam()); }

void key(headless::HeadlessHost& host, int k, int shift = 0) { host.key(k, shift); }

const StepCase cases[] = {
    {"DoubleClickCompletes0002", {Rec("0002")}, [](auto& host, auto& w) { host.doubleClick(w.Label1); }, 2},
    {"TwoClicksDoNotComplete0002", {Rec("0002")},
     [](auto& host, auto& w) {
         host.click(w.Label1);
         host.pause(2000);
         host.click(w.Label1);
     },
     1},
    {"DoubleClickCompletesTwo0001", {Rec("0001"), Rec("0001")},
     [](auto& host, auto& w) { host.doubleClick(w.Label1); }, 3},
    {"CtrlClickLeaves0001", {Rec("0001")}, [](auto& host, auto& w) { host.click(w.Label1, Left, Ctrl); }, 1},
    {"RightClickWithShiftCompletes0003", {Rec("0003")},
     [](auto& host, auto& w) { host.click(w.Label1, Right, Shift); }, 2},
    {"RightClickCompletes2000", {Rec("2000")}, [](auto& host, auto& w) { host.click(w.Label1, Right); }, 2},
    {"RightAloneCompletes9002", {Rec("9002")}, [](auto& host, auto& w) { host.click(w.Label1, Right); }, 2},
    {"LeftAndRightTogetherLeave9002", {Rec("9002")},
     [](auto& host, auto& w) {
         host.press(w.Label1, Left);
         host.press(w.Label1, Right);
         host.release(headless::HeadlessHost::centreOf(w.Label1), Right);
         host.release(headless::HeadlessHost::centreOf(w.Label1), Left);
     },
     1},
    {"ShiftLeftCompletes9101", {Rec("9101")}, [](auto& host, auto& w) { host.click(w.Label1, Left, Shift); }, 2},
    {"PlainLeftLeaves9101", {Rec("9101")}, [](auto& host, auto& w) { host.click(w.Label1, Left); }, 1},
    {"A000IsNotAClick", {Rec("A000")}, [](auto& host, auto& w) { host.click(w.Label1); }, 1},
    {"A001IsAClick", {Rec("A001")}, [](auto& host, auto& w) { host.click(w.Label1); }, 2},
    {"C999IsAClick", {Rec("C999")}, [](auto& host, auto& w) { host.click(w.Label1); }, 2},
    {"HoverCompletes0030", {Rec("0030")}, [](auto& host, auto& w) { host.moveTo(w.Label1); }, 2},
    {"FullStopKeyCompletes6099", {Rec("6099")}, [](auto& host, auto&) { key(host, 190); }, 2},
    {"Key99Leaves6099", {Rec("6099")}, [](auto& host, auto&) { key(host, 99); }, 1},
    {"ShiftACompletes6165", {Rec("6165")}, [](auto& host, auto&) { key(host, 65, Shift); }, 2},
    {"PlainALeaves6165", {Rec("6165")}, [](auto& host, auto&) { key(host, 65); }, 1},
    {"F4Completes6015", {Rec("6015")}, [](auto& host, auto&) { key(host, 115); }, 2},
    {"F9Completes6020", {Rec("6020")}, [](auto& host, auto&) { key(host, 120); }, 2},
    {"SlashCompletes6091", {Rec("6091")}, [](auto& host, auto&) { key(host, 191); }, 2},
    {"F2Completes6003", {Rec("6003")}, [](auto& host, auto&) { key(host, 113); }, 2},
    {"EscCompletes6027", {Rec("6027")}, [](auto& host, auto&) { key(host, 27); }, 2},
    {"CtrlDeleteCompletes6246", {Rec("6246")}, [](auto& host, auto&) { key(host, 46, Ctrl); }, 2},
    {"SpaceCompletes6002", {Rec("6002")}, [](auto& host, auto&) { key(host, 32); }, 2},
    {"OneEnterCompletes6002And2000", {Rec("6002"), Rec("2000")}, [](auto& host, auto&) { key(host, 13); }, 3},
    {"SpaceCompletes2000", {Rec("2000")}, [](auto& host, auto&) { key(host, 32); }, 2},
    {"CtrlSpaceLeaves2000", {Rec("2000")}, [](auto& host, auto&) { key(host, 32, Ctrl); }, 1},
    {"EscCompletes3420", {Rec("3420")}, [](auto& host, auto&) { key(host, 27); }, 2},
    {"EnterCompletes3220", {Rec("3220")}, [](auto& host, auto&) { key(host, 13); }, 2},
    {"EscLeaves2000", {Rec("2000")}, [](auto& host, auto&) { key(host, 27); }, 1},
    {"ClickOnTheLastRecordChangesNothing", {}, [](auto& host, auto& w) { host.click(w.Label1); }, 1},
};

INSTANTIATE_TEST_SUITE_P(Steps, Matchers, ::testing::ValuesIn(cases), testsupport::CaseName());

TEST_F(SimWindow, KeysGoToTheCommandBoxWhileItIsShown) {
    writeTexts({"001line"});
    start({Rec("2000").box(100, 100, 1000, 300).put(109, "001"), Rec("9999")});
    h->host.key(32, 0, " ");
    settle();
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(m().Text1.text(), " ");
}

TEST_F(SimWindow, RightClickOpensTheContextMenuOfItsStep) {
    writeMenu({{167, "新建"}, {168, "打开|保存"}});
    start({Rec("3120"), Rec("9999")});
    h->host.click(m().Label1, Left);
    settle();
    EXPECT_TRUE(h->host.popups.empty());
    h->host.choosePopup("");
    h->host.click(m().Label1, Right, Ctrl);
    settle();
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(m().MenuNumber, 1);
    EXPECT_EQ(h->host.popups.size(), 1u);
}

TEST_F(SimWindow, OneRightClickCompletes0003AndOpensTheNextStepsMenu) {
    writeMenu({{199, "复制"}});
    start({Rec("0003"), Rec("4320"), Rec("9999")});
    h->host.choosePopup("");
    h->host.click(m().Label1, Right);
    settle();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(m().MenuNumber, 3);
    ASSERT_EQ(h->host.popups.size(), 1u);
}

TEST_F(SimWindow, AutomaticStepsAdvanceOncePerSecond) {
    start({Rec("8888"), Rec("8888"), Rec("0001"), Rec("9999")});
    EXPECT_TRUE(m().Timer3.timerEnabled());
    settle(600);
    EXPECT_EQ(step(), 1);
    settle(400);
    EXPECT_EQ(step(), 2);
    settle(1000);
    EXPECT_EQ(step(), 3);
    EXPECT_FALSE(m().Timer3.timerEnabled());
    settle(3000);
    EXPECT_EQ(step(), 3);
}

// While a layout is pending or a demonstration runs, no step is completed.
TEST_F(SimWindow, NothingCompletesWhileALayoutIsPendingOrADemonstrationRuns) {
    start({Rec("8888"), Rec("0001"), Rec("9999")});
    h->host.then([this] {
        m().Timer2.setInterval(5000);
        m().Timer2.setEnabled(true);
    });
    settle(1500);
    EXPECT_EQ(step(), 1);  // Timer3 ticked with the layout still pending
    h->host.then([this] { m().Timer2.setEnabled(false); });
    settle(1200);
    ASSERT_EQ(step(), 2);
    g().DemoRunning = true;
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 2);
    g().DemoRunning = false;
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 3);
}

// Another window writing StepLine changes neither what completes the step nor where it goes.
TEST_F(SimWindow, MatchersUseTheRecordThisWindowLaidOut) {
    start({Rec("0001"), Rec("0001"), Rec("9999")});
    g().StepLine = Rec("9999");
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(m().laidOutRecord(), std::string(Rec("0001")));
}

TEST_F(SimWindow, PointerFieldSetsTheHotSpotsPointer) {
    testsupport::writeFileBytes(folder.file("ico07.CUR"), testsupport::readFileBytes(folder.dataFile("l62011.mxy")));
    struct PointerCase {
        std::string code;
        std::string field;
        int pointer;
        bool custom;
    };
    for (const PointerCase& c : {PointerCase{"0001", "S0007", 7, false}, {"0001", "S0099", 0, false}, {"0001", "M0007", 99, true},
                          {"0001", "M0008", 0, false}, {"0041", "S0007", 0, false}, {"0001", "X0007", 0, false}}) {
        SCOPED_TRACE(c.field);
        start({Rec(c.code).put(101, c.field), Rec("9999")});
        h->host.moveTo(m().Label1);
        const forms::Point centre = headless::HeadlessHost::centreOf(m().Label1);
        h->host.moveTo(forms::Point{centre.x + 15, centre.y});
        settle();
        EXPECT_EQ(m().Label1.mousePointer(), c.pointer);
        EXPECT_EQ(m().Label1.mouseIcon() != nullptr, c.custom);
        // A missing cursor file is reported once, however often the pointer moves.
        EXPECT_EQ(h->reports().size(), c.field == "M0008" ? 1u : 0u);
    }
}

}  // namespace
