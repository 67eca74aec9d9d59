// Where the player's pointer heads for each step, and how it gets there.
#include "demo/pointer_motion.h"
#include "platform/numbers.h"
#include "tests/demo/player_fixture.h"

namespace playertest {
namespace {

class PlayerPointer : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerPointer, TargetsFollowTheStepCode) {
    const int tpp = GetParam();
    struct Case {
        const char* what;
        Rec record;
        std::function<std::pair<int, int>(qz::frmYanShi&)> target;
    };
    auto centreOf = [](const forms::Control& c) {
        return std::pair<int, int>{qz::motion::centre(c.left(), c.width()), qz::motion::centre(c.top(), c.height())};
    };
    const Case cases[] = {
        {"A11 aims at the command box's text, not the first title",
         Rec("A111").box(600, 7000, 3000, 301).menuBar(100, 100),
         [](qz::frmYanShi& y) {
             return std::pair<int, int>{y.Text1.left() + 300, qz::motion::centre(y.Text1.top(), y.Text1.height())};
         }},
        {"B1 aims at title 9", Rec("B120").menuBar(100, 100), [&](qz::frmYanShi& y) { return centreOf(y.LMenu(9)); }},
        {"B2 aims at title 10", Rec("B220").menuBar(100, 100), [&](qz::frmYanShi& y) { return centreOf(y.LMenu(10)); }},
        {"C3 aims at title 2", Rec("C320").menuBar(100, 100), [&](qz::frmYanShi& y) { return centreOf(y.LMenu(2)); }},
        {"D3 aims at title 2", Rec("D320").menuBar(100, 100), [&](qz::frmYanShi& y) { return centreOf(y.LMenu(2)); }},
        {"a click aims at the hot spot", Rec("0001"), [&](qz::frmYanShi& y) { return centreOf(y.Label1); }},
        {"a T code aims at the hot spot", Rec("T001"), [&](qz::frmYanShi& y) { return centreOf(y.Label1); }},
        {"a drag aims at the work area",
         Rec("0040").put(177, "01000" "0" "2000" "03000" "01500"),
         [&](qz::frmYanShi& y) { return centreOf(y.Label4); }},
        {"a picture drag aims at the picture",
         Rec("8000").image(5, 3000, 3000, "888888"),
         [&](qz::frmYanShi& y) { return centreOf(y.Image5); }},
        {"a code no rule names stays at the pointer's start",
         Rec("7000"),
         [&](qz::frmYanShi&) { return std::pair<int, int>{h->p().sx(6000), h->p().sy(4500)}; }},
        {"A0 names no title: the target stays",
         Rec("A020").menuBar(100, 100),
         [&](qz::frmYanShi&) { return std::pair<int, int>{h->p().sx(6000), h->p().sy(4500)}; }},
        {"B5 names no title in the player",
         Rec("B520").menuBar(100, 100),
         [&](qz::frmYanShi&) { return std::pair<int, int>{h->p().sx(6000), h->p().sy(4500)}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y = play({c.record, Rec("9999")}, tpp);
        const auto [x, yy] = c.target(y);
        EXPECT_EQ(y.TargetX, x);
        EXPECT_EQ(y.TargetY, yy);
        EXPECT_EQ(y.PointerX, h->p().sx(6000));
        EXPECT_EQ(y.PointerY, h->p().sy(4500));
        EXPECT_TRUE(y.Timer2.timerEnabled());
        const qz::motion::Move m = qz::motion::computeMove(y.PointerX, y.PointerY, x, yy);
        EXPECT_EQ(y.StepX, m.stepX);
        EXPECT_EQ(y.StepY, m.stepY);
    }
}

TEST_P(PlayerPointer, PassedOverStepsAdvanceWithoutATick) {
    struct Case {
        const char* what;
        std::vector<std::string> records;
        int step;
    };
    const Case cases[] = {
        {"a chain of 6 codes", {Rec("6001"), Rec("6002"), Rec("6SKK"), farOff("0001"), Rec("9999")}, 4},
        {"8888 passed over", {Rec("8888"), farOff("0001"), Rec("9999")}, 2},
        {"8888 and 6 codes mixed", {Rec("8888"), Rec("6001"), Rec("8888"), farOff("0001"), Rec("9999")}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y = play(c.records, GetParam());
        EXPECT_EQ(y.PlayerStep, c.step);
        EXPECT_EQ(y.code(), "0001");
        EXPECT_TRUE(y.Timer2.timerEnabled());
        EXPECT_FALSE(y.Timer3.timerEnabled());
        EXPECT_EQ(y.TargetX, qz::motion::centre(y.Label1.left(), y.Label1.width()));
        // The 8888 step's picture-drag mover never ticks: the picture stays where it is.
        const int imageLeft = y.Image5.left();
        run(550);
        EXPECT_EQ(y.Image5.left(), imageLeft);
    }
}

TEST_P(PlayerPointer, APassedOverLastLineWaitsForTheLearner) {
    // The steps file ends before the question's end: its last line is shown again but
    // plays no further, however it is coded.
    for (const char* last : {"6001", "8888", "0001", "7000"}) {
        SCOPED_TRACE(last);
        qz::frmYanShi& y = play({atStart("0001"), Rec(last)}, GetParam());
        run(2000);
        ASSERT_NE(player(), nullptr);
        EXPECT_EQ(y.code(), last);
        for (forms::Timer* t : {&y.Timer1, &y.Timer2, &y.Timer3, &y.TimerRM, &y.TimerRS, &y.TimEnd})
            EXPECT_FALSE(t->timerEnabled()) << t->name();
        const int step = y.PlayerStep;
        const int x = y.PointerX;
        run(1000);
        EXPECT_EQ(y.PlayerStep, step);
        EXPECT_EQ(y.PointerX, x);
        h->host.key(27);
        run(600);
        expectHandedBack();
    }
}

TEST_P(PlayerPointer, TheArrowIsDrawnAtThePointerAndTheCursorPictureDuringDrags) {
    const int tpp = GetParam();
    qz::frmYanShi& y = play({farOff("0001"), Rec("9999")}, tpp);
    run(150);
    EXPECT_FALSE(y.ImgICO.visible());
    const double s = g().ScaleX;
    EXPECT_EQ(y.LPoint(0).x1(), platform::clng(y.PointerX + 60 * s));
    EXPECT_EQ(y.LPoint(5).y1(), platform::clng(y.PointerY - 15 * g().ScaleY));
    EXPECT_EQ(y.LPoint(7).x1(), y.LPoint(2).x2());
    EXPECT_EQ(y.LPoint(7).x2(), y.LPoint(6).x1());
    EXPECT_EQ(y.LPoinB(5).x2(), platform::clng(y.PointerX + 210 * s));
}

TEST_P(PlayerPointer, ADragShowsItsCursorFileAndAMissingOneKeepsThePicture) {
    folder.writePicture("cursor7", 32, 32);
    testsupport::writeFileBytes(folder.file("ico07.CUR"), testsupport::readFileBytes(folder.dataFile("cursor7.mxy")));
    testsupport::writeFileBytes(folder.file("ico00.CUR"), testsupport::readFileBytes(folder.dataFile("l62011.mxy")));
    const auto area = "01000" "0" "2000" "03000" "01500";
    struct Case {
        const char* what;
        const char* pointer;
        const char* file;  // the picture shown
    };
    for (const Case& c : {Case{"the step's cursor file", "M0007", "ico07.CUR"}, Case{"S, the standard one", "S0007", "ico00.CUR"},
                          Case{"a missing file", "M0099", "ico00.CUR"}}) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y = play({Rec("0040").put(177, area).put(101, c.pointer), Rec("9999")}, GetParam());
        run(150);
        EXPECT_TRUE(y.ImgICO.visible());
        EXPECT_EQ(y.ImgICO.left(), y.PointerX);
        EXPECT_EQ(y.ImgICO.top(), y.PointerY);
        ASSERT_NE(y.ImgICO.picture(), nullptr);
        EXPECT_NE(y.ImgICO.picture()->path.find(c.file), std::string::npos) << y.ImgICO.picture()->path;
        EXPECT_EQ(y.LPoint(0).x1(), -100);
        EXPECT_EQ(y.LPoinB(0).x2(), -100);
    }
}

TEST_P(PlayerPointer, A005DragShowsTheArrowUntilItsDragStarts) {
    const auto area = "05900" "0" "4400" "00200" "00200";
    qz::frmYanShi& y = play({Rec("0050").hotSpot(9000, 7000, 200, 200).put(177, area).put(101, "S0000"), Rec("9999")},
                            GetParam());
    EXPECT_FALSE(y.ImgICO.visible());
    run(150);
    // Arrived at once: the drag start's extra tick already shows the cursor picture.
    EXPECT_TRUE(y.DragStarted);
    EXPECT_EQ(y.Shape4.left(), -100);
    EXPECT_TRUE(y.ImgICO.visible());
    EXPECT_FALSE(y.Shape6.visible());
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, PlayerPointer, ::testing::Values(15, 12));

}  // namespace
}  // namespace playertest
