// Work-area clicks and drags, picture drags, and answers typed in the command line and the
// rename box: each against the step it should and should not complete.
#include <functional>

#include "tests/support/fake_keyboard.h"
#include "tests/app/program_harness.h"
#include "tests/simwindow/sim_fixture.h"

namespace {

using forms::buttons::Left;
using forms::buttons::Right;
using forms::shiftmask::Shift;
using headless::HeadlessHost;
using simtest::Rec;
using simtest::SimWindow;

// The work area at (3000, 3000), 2000 by 1000, away from the default hot spot; column 182
// "1" unless the step is to be a work-area click.
Rec withWorkArea(Rec r, const std::string& col182 = "1") {
    return r.put(177, "03000").put(182, col182).put(183, "3000").put(187, "0200001000");
}

forms::Point offset(forms::Point p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

class Drags : public SimWindow, public ::testing::WithParamInterface<simtest::StepCase> {};

TEST_P(Drags, CompleteExactlyTheExpectedSteps) {
    folder.writePicture("100005", 20, 10);
    runStepCase(GetParam());
    EXPECT_FALSE(m().Shape6.visible());
}

void dragToSpot(HeadlessHost& host, qz::FrmMain& w, int shift = 0) {
    host.drag(w.Label4, HeadlessHost::centreOf(w.Label1), 4, shift);
}

// The picture at 3000, its target 2000 to the left (or 2000 above for the vertical codes).
Rec picture(const std::string& code, int left = 3000, int top = 3000, int snapLeft = 2000, int snapTop = 2000) {
    return Rec(code).image(5, left, top, "100005").put(167, Rec::five(snapLeft) + Rec::five(snapTop));
}

const simtest::StepCase dragCases[] = {
    {"WorkAreaPressCompletesAnyCode", {withWorkArea(Rec("0002"), "0")},
     [](auto& host, auto& w) { host.click(w.Label4); }, 2},
    {"EEKeepsTheWorkAreaPressFromCompleting", {withWorkArea(Rec("0002").put(6, "EE"), "0")},
     [](auto& host, auto& w) { host.click(w.Label4); }, 1},
    {"RightPressOnTheWorkAreaIsNoClick", {withWorkArea(Rec("0002"), "0")},
     [](auto& host, auto& w) { host.click(w.Label4, Right); }, 1},
    {"RubberBandIntoTheHotSpot", {withWorkArea(Rec("0040"))}, [](auto& host, auto& w) { dragToSpot(host, w); }, 2},
    {"RubberBandReleasedOutside", {withWorkArea(Rec("0040"))},
     [](auto& host, auto& w) { host.drag(w.Label4, offset(HeadlessHost::centreOf(w.Label1), 0, -400)); }, 1},
    {"RubberBandWithShiftHeld", {withWorkArea(Rec("0041"))},
     [](auto& host, auto& w) { dragToSpot(host, w, Shift); }, 2},
    {"RubberBandWithoutItsShift", {withWorkArea(Rec("0041"))}, [](auto& host, auto& w) { dragToSpot(host, w); }, 1},
    {"PlainDragWithAStandardPointer", {withWorkArea(Rec("0050").put(101, "S0002"))},
     [](auto& host, auto& w) { dragToSpot(host, w); }, 2},
    {"PlainDragWithStandardPointerZero", {withWorkArea(Rec("0050").put(101, "S0000"))},
     [](auto& host, auto& w) { dragToSpot(host, w); }, 1},
    {"PlainDragWithAMissingCursorFile", {withWorkArea(Rec("0050").put(101, "M0042"))},
     [](auto& host, auto& w) { dragToSpot(host, w); }, 1},
    {"PlainDragWithABadPointerNumber", {withWorkArea(Rec("0050").put(101, "S0077"))},
     [](auto& host, auto& w) { dragToSpot(host, w); }, 1},
    {"PlainDragWithoutMoving", {withWorkArea(Rec("0050").put(101, "S0002"))},
     [](auto& host, auto& w) {
         host.press(w.Label4);
         host.release(HeadlessHost::centreOf(w.Label1));
     },
     1},
    {"PictureDraggedLeftPastItsTarget", {picture("8001")},
     [](auto& host, auto& w) { host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), -3000, 0), 12); }, 2},
    {"PictureDroppedShort", {picture("8001")},
     [](auto& host, auto& w) { host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), -300, 0)); }, 1},
    {"PictureDraggedUpAndRight", {picture("8009", 1000, 3000, 2000, 2000)},
     [](auto& host, auto& w) { host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), 3000, -3000), 12); }, 2},
    // One move 2000 left of the picture's edge moves it by half that: exactly onto its target.
    {"PictureDraggedExactlyOntoItsTarget", {picture("8001")},
     [](auto& host, auto& w) {
         host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), -w.Image5.width() / 2 - 2000, 0), 1);
     },
     2},
    {"PictureStoppedJustShortOfItsTarget", {picture("8001")},
     [](auto& host, auto& w) {
         host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), -w.Image5.width() / 2 - 1980, 0), 1);
     },
     1},
    {"PictureAtItsTargetNeedsNoMove", {picture("8001", 2000, 3000)},
     [](auto& host, auto& w) { host.click(w.Image5); }, 2},
    {"Code8005IsNoPictureDrag", {picture("8005", 2000, 2000)},
     [](auto& host, auto& w) { host.drag(w.Image5, offset(HeadlessHost::centreOf(w.Image5), -3000, -3000), 12); },
     1},
    // The drop completes 8001; the next step's picture, laid out at its target, passes too.
    {"OneReleaseCompletesTwoPictureSteps", {picture("8001", 2000, 3000), picture("8002", 2000, 3000)},
     [](auto& host, auto& w) { host.click(w.Image5); }, 3},
    {"BothButtonsDoNotMoveThePictureButTheirReleaseCounts", {picture("8001", 2000, 3000)},
     [](auto& host, auto& w) {
         host.press(w.Image5, Left);
         host.press(w.Image5, Right);
         host.moveTo(offset(HeadlessHost::centreOf(w.Image5), 2000, 0));
         host.release(offset(HeadlessHost::centreOf(w.Image5), 2000, 0), Right);
         host.release(offset(HeadlessHost::centreOf(w.Image5), 2000, 0), Left);
     },
     2},
};

INSTANTIATE_TEST_SUITE_P(Steps, Drags, ::testing::ValuesIn(dragCases), testsupport::CaseName());

TEST_F(SimWindow, RubberBandStaysAnchoredAndShiftReleasedEarlyLeavesIt) {
    start({withWorkArea(Rec("0041")), Rec("9999")});
    const forms::Point from = HeadlessHost::centreOf(m().Label4);
    h->host.press(m().Label4, Left, Shift);
    h->host.moveTo(offset(from, -600, -300), Shift);
    settle();
    // Dragged up and to the left: the band still hangs from the press point.
    EXPECT_TRUE(m().Shape6.visible());
    EXPECT_EQ(m().Shape6.rect(), (forms::Rect{4000, 3500, 600, 300}));
    h->host.release(HeadlessHost::centreOf(m().Label1), Left, 0);
    settle();
    EXPECT_EQ(step(), 1);
    EXPECT_TRUE(m().Shape6.visible());
    h->host.press(m().Label4, Left, Shift);
    h->host.release(HeadlessHost::centreOf(m().Label1), Left, Shift);
    settle();
    EXPECT_EQ(step(), 2);
    EXPECT_FALSE(m().Shape6.visible());
}

TEST_F(SimWindow, DragReleasedOnTheHotSpotsFarCornerCompletes) {
    start({withWorkArea(Rec("0040")), withWorkArea(Rec("0040")), Rec("9999")});
    const forms::Point corner = offset(HeadlessHost::centreOf(m().Label1), 300, 150);
    h->host.drag(m().Label4, corner);
    settle();
    EXPECT_EQ(step(), 2);
    h->host.drag(m().Label4, offset(corner, 1, 0));
    settle();
    EXPECT_EQ(step(), 2);
}

TEST_F(SimWindow, FailedPictureDropGoesBackToTheStart) {
    folder.writePicture("100005", 20, 10);
    start({picture("8006", 3000, 1000, 2000, 2000), Rec("9999")});
    h->host.drag(m().Image5, offset(HeadlessHost::centreOf(m().Image5), -3000, 0), 12);
    settle();
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(m().Image5.left(), 3000);
    EXPECT_EQ(m().Image5.top(), 1000);
    h->host.drag(m().Image5, offset(HeadlessHost::centreOf(m().Image5), -3000, 3000), 12);
    settle();
    EXPECT_EQ(step(), 2);
}

TEST_F(SimWindow, MissingCursorFileDuringAPlainDragKeepsTheDefaultPointer) {
    // The launch has told of the missing file; the drag itself reports nothing.
    start({withWorkArea(Rec("0050").put(101, "M0042")), Rec("9999")});
    h->host.press(m().Label4);
    h->host.moveTo(HeadlessHost::centreOf(m().Label1));
    h->host.moveTo(offset(HeadlessHost::centreOf(m().Label1), 15, 0));
    settle();
    EXPECT_EQ(m().Label4.mousePointer(), 0);
    EXPECT_TRUE(h->reports().empty());
    h->host.release(HeadlessHost::centreOf(m().Label1));
    settle();
    EXPECT_EQ(step(), 1);
}

// ---- typed answers ----

struct TypingCase {
    const char* what;
    std::string code;
    std::string answer;  // texts line 1, from its fourth character
    std::function<void(HeadlessHost&)> act;
    int stepAfter;
    const char* boxAfter;  // null: not checked
};

class Typing : public SimWindow, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(Typing, CompleteExactlyTheExpectedSteps) {
    const TypingCase& c = GetParam();
    writeTexts({"001" + c.answer});
    start({Rec(c.code).box(100, 100, 3000, 300).put(109, "001"), Rec("9999")});
    c.act(h->host);
    settle();
    EXPECT_EQ(step(), c.stepAfter);
    if (c.boxAfter) {
        EXPECT_EQ(m().Text1.text(), c.boxAfter);
    }
}

void enter(HeadlessHost& host) { host.key(13, 0, "\r"); }
void space(HeadlessHost& host) { host.key(32, 0, " "); }

const TypingCase typingCases[] = {
    {"CommandCompletesWhileTyping", "0020", "line", [](auto& host) { host.type("li"); host.type("ne"); }, 2, nullptr},
    {"CommandIgnoresCaseAndOuterSpaces", "0020", "line", [](auto& host) { host.type(" LINE "); }, 2, nullptr},
    {"CommandLineBreakBlocksTheMatch", "0020", "line",
     [](auto& host) {
         host.type("lin");
         enter(host);
         host.type("e");
     },
     1, nullptr},
    {"FirstAlternative", "0020", "a|b|c", [](auto& host) { host.type("a"); }, 2, nullptr},
    {"SecondAlternativeKeepsLaterBars", "0020", "a|b|c", [](auto& host) { host.type("b|c"); }, 2, nullptr},
    {"NoThirdAlternative", "0020", "a|b|c", [](auto& host) { host.type("c"); }, 1, nullptr},
    {"NotJustTheSecondsStart", "0020", "a|b|c", [](auto& host) { host.type("b"); }, 1, nullptr},
    {"ConfirmedBySpaceDropsInnerSpaces", "0001", "line", [](auto& host) { host.type("l ine"); space(host); }, 2, nullptr},
    {"ConfirmedByEnterDropsChinese", "0001", "line", [](auto& host) { host.type("line中"); enter(host); }, 2, nullptr},
    {"FullWidthLettersAreNoAnswer", "0001", "line", [](auto& host) { host.type("ｌｉｎｅ"); enter(host); }, 1, ""},
    {"FullWidthAnswerInAnyCase", "0001", "ｌｉｎｅ", [](auto& host) { host.type("ＬＩＮＥ"); enter(host); }, 2, nullptr},
    {"GreekAnswerInAnyCase", "0020", "αβ", [](auto& host) { host.type("ΑΒ"); }, 2, nullptr},
    // The last letter comes up after the Enter went down.
    {"RolledKeysStillConfirm", "0001", "line",
     [](auto& host) {
         host.type("lin");
         host.keyDown(69, 0, "e");
         host.keyDown(13, 0, "\r");
         host.keyUp(69);
         host.keyUp(13);
     },
     2, nullptr},
    {"ConfirmedByEnterDropsFullWidthPunctuation", "0001", "line",
     [](auto& host) { host.type("line；"); enter(host); }, 2, nullptr},
    {"ConfirmedAnswerWithAnInnerSpace", "0001", "new file",
     [](auto& host) { host.type("new file"); enter(host); }, 2, nullptr},
    {"ConfirmedChineseAnswer", "A111", "圆", [](auto& host) { host.type("圆"); enter(host); }, 2, nullptr},
    {"NotConfirmedBeforeSpaceOrEnter", "0001", "line", [](auto& host) { host.type("line"); }, 1, "line"},
    {"WrongEnterEmptiesTheBox", "0001", "line", [](auto& host) { host.type("lin"); enter(host); }, 1, ""},
    {"WrongSpaceStaysInTheBox", "0001", "line", [](auto& host) { host.type("lin"); space(host); }, 1, "lin "},
    {"CorrectEnterAfterAWrongSpace", "0001", "line",
     [](auto& host) {
         host.type("li");
         space(host);
         host.type("ne");
         enter(host);
     },
     2, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Answers, Typing, ::testing::ValuesIn(typingCases), testsupport::CaseName());

TEST_F(SimWindow, NoAnswerNumberIsTheEmptyAnswer) {
    start({Rec("0001").box(100, 100, 3000, 300), Rec("0020").box(100, 100, 3000, 300), Rec("9999")});
    space(h->host);
    settle();
    // And a "0020" without answer is completed by its own empty prefill, once laid out.
    EXPECT_EQ(step(), 3);
}

TEST_F(SimWindow, UnreadableAnswersMatchNothingAndAreReportedOnce) {
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile);
        // With the file, line 9 is missing: the last line is "001", shorter than three.
        if (withFile) writeTexts({"001"});
        start({Rec("0020").box(100, 100, 3000, 300).put(109, withFile ? "009" : "001"),
               Rec("0001").box(100, 100, 3000, 300).put(109, "001"), Rec("9999")});
        settle();
        if (withFile) {
            // A short line is an empty answer, and the empty prefill completes the step.
            EXPECT_EQ(step(), 2);
            continue;
        }
        EXPECT_EQ(step(), 1);
        h->host.type("x");
        h->host.key(8, 0, "\b");
        settle();
        EXPECT_EQ(step(), 1);
        EXPECT_EQ(h->reports().size(), 1u);
    }
}

TEST_F(SimWindow, EmptyTextsFileCompletesNothing) {
    folder.writeDataBytes("288890.mxy", "");
    start({Rec("0020").box(100, 100, 3000, 300).put(109, "001"), Rec("9999")});
    settle();
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(h->reports().size(), 1u);
}

TEST_F(SimWindow, PrefillThatIsTheAnswerCompletesOnceLaidOut) {
    writeTexts({"001line", "002LINE"});
    start({Rec("0001"), Rec("0020").box(100, 100, 3000, 300).put(106, "002").put(109, "001"), Rec("0001"),
           Rec("9999")});
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 3);
    EXPECT_EQ(m().StepCode, 1);
    EXPECT_FALSE(m().Text1.visible());
}

TEST_F(SimWindow, EnterThatCompletesAKeyStepDoesNotReachTheNextBox) {
    writeTexts({"001line"});
    start({Rec("6002"), Rec("0001").box(100, 100, 3000, 300).put(106, "001"), Rec("9999")});
    enter(h->host);
    settle();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(m().Text1.text(), "line");
    EXPECT_EQ(m().Text1.selLength(), 4);
}

TEST_F(SimWindow, RenameBoxTakesTheFocusAndCompletesOnItsAnswer) {
    writeTexts({"001报告", "002a|b", "003新建文件夹"});
    start({Rec("0021").box(100, 100, 3000, 300).put(106, "003").put(109, "001"), Rec("0021").box(100, 100, 3000, 300).put(109, "002"),
           Rec("0021").box(100, 100, 3000, 300).put(106, "002").put(109, "002"), Rec("9999")});
    EXPECT_TRUE(m().Text2.hasFocus());
    EXPECT_EQ(m().Text2.selLength(), 5);  // "新建文件夹", all replaced by typing
    h->host.type("报告");
    settle();
    ASSERT_EQ(step(), 2);
    // No alternatives in the rename box: "a" is no answer of "a|b".
    h->host.type("a");
    settle();
    EXPECT_EQ(step(), 2);
    h->host.key(8, 0, "\b");
    h->host.type("A|B");
    settle();
    // The third step's prefill is its answer.
    EXPECT_EQ(step(), 4);
}

TEST_F(SimWindow, CommandBoxSwitchesTheLayoutOnlyWhenAsked) {
    struct Case {
        bool use;
        const char* chosen;
        std::vector<std::string> activated;
    };
    for (const Case& c : {Case{false, "fcitx5:pinyin", {}}, Case{true, "fcitx5:pinyin", {"fcitx5:pinyin"}},
                          Case{true, "", {}}}) {
        SCOPED_TRACE(std::string(c.use ? "on " : "off ") + c.chosen);
        writeTexts({"001line"});
        testsupport::FakeKeyboardLayouts layouts;
        start({Rec("0001"), Rec("0001").box(100, 100, 3000, 300).put(109, "001"), Rec("9999")});
        h->p().svc.keyboard = &layouts;
        g().UseInputMethod = c.use;
        g().ChosenKeyboardLayout = c.chosen;
        h->host.click(m().Label1);
        settle();
        ASSERT_EQ(step(), 2);
        EXPECT_EQ(layouts.activated, c.activated);
        h.reset();
    }
}

}  // namespace
