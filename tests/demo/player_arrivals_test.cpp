// What the player does when its pointer arrives: the marker, typing, drags and the advance.
#include "demo/pointer_motion.h"
#include "platform/numbers.h"
#include "tests/demo/player_fixture.h"

namespace playertest {
namespace {

class PlayerArrivals : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerArrivals, TheMarkerTakesTheArrivingCodesColourAndFlashesOnce) {
    struct Case {
        const char* code;
        forms::Color colour;
    };
    const Case cases[] = {{"0001", 0x0000FF}, {"0002", 0x00FF00}, {"0003", 0x00FFFF}, {"3120", 0x00FFFF},
                          {"4120", 0x00FFFF}, {"5120", 0x00FFFF}, {"T001", 0x0000FF}, {"9001", 0x0000FF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        qz::frmYanShi& y = play({atStart(c.code), farOff("0001"), Rec("9999")}, GetParam());
        run(150);  // arrived at 100 ms
        EXPECT_EQ(y.Shape5.borderColor(), c.colour);
        EXPECT_EQ(y.Shape5.left(), y.PointerX - 180);
        EXPECT_EQ(y.Shape5.top(), y.PointerY - 180);
        EXPECT_EQ(y.Shape5.width(), 375);
        EXPECT_FALSE(y.Shape5.visible());
        run(100);
        EXPECT_TRUE(y.Shape5.visible());
        run(100);
        EXPECT_FALSE(y.Shape5.visible());
        EXPECT_TRUE(y.Timer5.timerEnabled());
        run(100);
        EXPECT_FALSE(y.Timer5.timerEnabled());
        EXPECT_FALSE(y.Shape5.visible());
    }
}

TEST_P(PlayerArrivals, ClicksAndUnnamedCodesAdvanceOnArrival) {
    // Codes no arrival rule names go on as a click does, instead of running the pointer off.
    for (const char* code : {"0001", "0002", "0003", "2000", "9001", "T001", "1000", "7000", "0030", "8123", "2001"}) {
        SCOPED_TRACE(code);
        qz::frmYanShi& y = play({atStart(code), farOff("0001"), Rec("9999")}, GetParam());
        run(150);
        EXPECT_EQ(y.PlayerStep, 2);
        EXPECT_TRUE(y.Shape1.visible());
        EXPECT_TRUE(y.Timer2.timerEnabled());
    }
}

TEST_P(PlayerArrivals, TypingShowsACharacterEveryHalfSecond) {
    writeTexts({"001abc|abd", "002xy"});
    // The command box's point is the pointer's start: the arrival comes at 100 ms.
    const int tpp = GetParam();
    const int boxLeft = 5700, boxTop = 4400;
    struct Case {
        const char* what;
        Rec record;
        const char* box;  // "Text1" or "Text2"
        std::vector<std::string> shown;  // at 500, 1000, 1500 ms after the arrival
        int advancedAfter;               // ms after the arrival, or 0 for "later"
    };
    const Case cases[] = {
        {"abc, the first alternative only", Rec("0020").box(boxLeft, boxTop, 3000, 200).put(109, "001"), "Text1",
         {"a", "ab", "abc"}, 1500},
        {"0021 types into the second box", Rec("0021").box(boxLeft, boxTop, 3000, 200).put(109, "002"), "Text2",
         {"x", "xy", "xy"}, 1000},
        {"A111 types too", Rec("A111").box(boxLeft, boxTop, 3000, 200).put(109, "002"), "Text1", {"x", "xy", "xy"},
         1000},
        {"an empty text ends in the first tick", Rec("0020").box(boxLeft, boxTop, 3000, 200), "Text1",
         {"", "", ""}, 500},
        {"0023 types nothing", Rec("0023").box(boxLeft, boxTop, 3000, 200).put(109, "001"), "Text1", {"", "", ""},
         500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y = play({c.record, farOff("0001"), Rec("9999")}, tpp);
        forms::TextBox& box = std::string(c.box) == "Text1" ? y.Text1 : y.Text2;
        run(150);
        ASSERT_TRUE(y.Timer1.timerEnabled());
        EXPECT_FALSE(y.Timer2.timerEnabled());
        for (int k = 1; k <= 3; ++k) {
            run(500);
            if (500 * k <= c.advancedAfter) {
                EXPECT_EQ(box.text(), c.shown[static_cast<std::size_t>(k - 1)]) << k;
            }
            EXPECT_EQ(y.PlayerStep, 500 * k >= c.advancedAfter ? 2 : 1) << k;
        }
    }
}

TEST_P(PlayerArrivals, After0022And0026TypingThePointerGoesOnToTheHotSpot) {
    writeTexts({"001ab"});
    for (const char* code : {"0022", "0026"}) {
        SCOPED_TRACE(code);
        qz::frmYanShi& y =
            play({Rec(code).box(5700, 4400, 3000, 200).put(109, "001"), farOff("0001"), Rec("9999")}, GetParam());
        run(150 + 1000);  // typed
        EXPECT_EQ(y.PlayerStep, 1);
        EXPECT_TRUE(y.Timer2.timerEnabled());
        EXPECT_EQ(y.Shape4.left(), -100);
        EXPECT_EQ(y.TargetX, qz::motion::centre(y.Label1.left(), y.Label1.width()));
        run(1600);
        EXPECT_EQ(y.PlayerStep, 2);
    }
}

TEST_P(PlayerArrivals, ABandGrowsFromTheWorkAreasCornerToBeyondThePointer) {
    const int tpp = GetParam();
    const auto area = "05900" "0" "4400" "00200" "00200";  // centred on the pointer's start
    struct Case {
        const char* what;
        Rec record;
        bool band;
        bool grows;
    };
    const Case cases[] = {
        {"a 004 band to the lower right", Rec("0040").hotSpot(9000, 7000, 200, 200).put(177, area), true, true},
        {"a 005 drag has none", Rec("0050").hotSpot(9000, 7000, 200, 200).put(177, area), false, true},
        {"far above and left of its corner, the band stays a point", Rec("0040").put(177, area), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y =
            play({c.record, Rec("0020").box(600, 7000, 3000, 300), Rec("0001"), farOff("0001"), Rec("9999")}, tpp);
        const int cornerX = y.Shape4.left(), cornerY = y.Shape4.top();
        run(150);
        EXPECT_TRUE(y.DragStarted);
        EXPECT_EQ(y.Shape4.left(), -100);
        EXPECT_EQ(y.Shape4.width(), 15);
        EXPECT_EQ(y.Shape6.left(), cornerX);
        EXPECT_EQ(y.Shape6.top(), cornerY);
        EXPECT_EQ(y.Shape6.visible(), c.band);
        run(500);
        ASSERT_EQ(y.PlayerStep, 1);
        if (c.grows && c.band) {
            EXPECT_EQ(y.Shape6.width(), platform::clng(y.PointerX - cornerX + 120 * g().ScaleX));
            EXPECT_EQ(y.Shape6.height(), platform::clng(y.PointerY - cornerY + 120 * g().ScaleY));
        } else if (c.band) {
            EXPECT_EQ(y.Shape6.width(), 1);
            EXPECT_EQ(y.Shape6.height(), 1);
        }
        run(1500);
        EXPECT_EQ(y.PlayerStep, 2);
        // Hidden at the next arrival that reaches the band rule.
        EXPECT_EQ(y.Shape6.visible(), c.band);
        EXPECT_EQ(y.Shape6.width(), 1);
        run(1600);
        EXPECT_FALSE(y.Shape6.visible());
    }
}

TEST_P(PlayerArrivals, APictureDragCarriesThePictureToItsSnapPoint) {
    const int tpp = GetParam();
    folder.writePicture("p00005", 40, 20);
    struct Case {
        const char* what;
        const char* snap;
        int toX, toY;  // design twips; 0 keeps the picture's centre
    };
    const Case cases[] = {{"to the snap point", "0900006000", 9000, 6000}, {"zero snaps stay on the picture", "0000000000", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y =
            play({Rec("8000").image(5, 5700, 4350, "p00005").put(167, c.snap), farOff("0001"), Rec("9999")}, tpp);
        const int startX = qz::motion::centre(y.Image5.left(), y.Image5.width());
        const int startY = qz::motion::centre(y.Image5.top(), y.Image5.height());
        EXPECT_EQ(y.TargetX, startX);
        for (int ms = 0; ms < 3000 && y.PlayerStep == 1; ms += 100) run(100);
        EXPECT_EQ(y.PlayerStep, 2);
        EXPECT_FALSE(y.Timer3.timerEnabled());
        const int endX = c.toX ? h->p().sx(c.toX) : startX;
        const int endY = c.toY ? h->p().sy(c.toY) : startY;
        // The picture's centre followed the pointer, which stopped within the tolerance.
        const int cx = qz::motion::centre(y.Image5.left(), y.Image5.width());
        const int cy = qz::motion::centre(y.Image5.top(), y.Image5.height());
        EXPECT_LE(std::abs(cx - endX), 1.5 * y.StepLength + 120 * g().ScaleX + 1);
        EXPECT_LE(std::abs(cy - endY), 1.5 * y.StepLength + 120 * g().ScaleY + 1);
    }
}

TEST_P(PlayerArrivals, AnXStepArrivesTwice) {
    // Its first arrival aims at the hot spot and parks the work area's outline; the step
    // advances at the second.
    qz::frmYanShi& y = play({atStart("0001").hint(300, 200, "000").put(130, "X0120"), farOff("0001"), Rec("9999")},
                            GetParam());
    run(150);
    EXPECT_EQ(y.PlayerStep, 1);
    EXPECT_EQ(y.Shape4.left(), -100);
    EXPECT_EQ(y.LHelp.caption(), "");
    EXPECT_TRUE(y.Timer2.timerEnabled());
    EXPECT_TRUE(y.Shape1.visible());
    run(100);
    EXPECT_EQ(y.PlayerStep, 2);
}

TEST_P(PlayerArrivals, AnArrivalAfterTheLastStepStartsTheEndAndStopsThePointer) {
    qz::frmYanShi& y = play({Rec("9999")}, GetParam());
    y.TargetX = y.PointerX;
    y.TargetY = y.PointerY;
    y.StepX = y.StepY = 0;
    y.Timer2.setEnabled(true);
    y.Timer2_Timer();
    EXPECT_FALSE(y.Timer2.timerEnabled());
    EXPECT_TRUE(y.TimEnd.timerEnabled());
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, PlayerArrivals, ::testing::Values(15, 12));

}  // namespace
}  // namespace playertest
