// The step layout from hand-made records: hot spot, images, command box, hints, menu
// titles, back button, work area and the completion of a question.
#include "tests/simwindow/sim_fixture.h"

namespace {

using simtest::Rec;
using simtest::SimWindow;

TEST_F(SimWindow, HotSpotWorkAreaAndSnapComeFromTheirColumns) {
    Rec r("0001");
    r.hotSpot(1200, 2400, 700, 350).put(167, "0123404567").put(177, "00300").put(182, "0").put(183, "0400");
    r.put(187, "0050000600");
    start({r, Rec("9999")});
    EXPECT_EQ(m().Label1.rect(), (forms::Rect{1200, 2400, 700, 350}));
    EXPECT_EQ(m().Shape1.rect(), m().Label1.rect());
    EXPECT_EQ(m().Label4.rect(), (forms::Rect{300, 400, 500, 600}));
    EXPECT_EQ(m().Shape4.rect(), m().Label4.rect());
    EXPECT_EQ(m().SnapX, 1234);
    EXPECT_EQ(m().SnapY, 4567);
    EXPECT_EQ(m().StepCode, 1);
    EXPECT_EQ(g().ResumeStep[1], 1);
    EXPECT_FALSE(m().Timer2.timerEnabled());
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(SimWindow, RecordWithoutHotSpotKeepsThePreviousOneAtOneTwip) {
    start({Rec("0001").hotSpot(1200, 2400, 700, 350), Rec("2000").put(66, std::string(20, '0')), Rec("9999")});
    h->host.click(m().Label1);
    settle();
    ASSERT_EQ(step(), 2);
    EXPECT_TRUE(m().Label1.visible());
    EXPECT_EQ(m().Label1.rect(), (forms::Rect{1200, 2400, 1, 1}));
    EXPECT_EQ(m().Shape1.rect(), m().Label1.rect());
}

// A hot spot of height 0 keeps its record's width and is one line of its font high, so a
// click just inside its top-left corner completes the step; a later record with a height
// sizes it by that again.
TEST_F(SimWindow, HotSpotOfHeightZeroIsOneLineHighAndCanBeClicked) {
    start({Rec("0001").hotSpot(1200, 2400, 700, 0), Rec("0001").hotSpot(100, 200, 300, 400), Rec("9999")});
    EXPECT_EQ(m().Label1.rect(), (forms::Rect{1200, 2400, 700, m().Label1.lineHeight()}));
    EXPECT_GE(m().Label1.height(), 15);
    EXPECT_EQ(m().Shape1.rect(), m().Label1.rect());
    const forms::Point centre = headless::HeadlessHost::centreOf(m().Label1);
    h->host.clickAt({centre.x - m().Label1.width() / 2 + 15, centre.y - m().Label1.height() / 2 + 15});
    settle();
    ASSERT_EQ(step(), 2);
    EXPECT_EQ(m().Label1.rect(), (forms::Rect{100, 200, 300, 400}));
}

TEST_F(SimWindow, ImagesAndBackgroundLoadAndAreRemembered) {
    folder.writePicture("100001", 40, 30);
    folder.writePicture("100002", 20, 10);
    start({Rec("0001").put(12, "100001").image(2, 150, 250, "100002").image(5, 10, 20, "888888"), Rec("9999")});
    ASSERT_TRUE(m().picture());
    EXPECT_EQ(g().QuestionPictures[1][0], "100001");
    EXPECT_TRUE(m().Image2.visible());
    EXPECT_EQ(m().Image2.rect(), (forms::Rect{150, 250, 300, 150}));
    EXPECT_EQ(g().QuestionPictures[1][2], "100002");
    // Step 1 with "888888": shown, without a picture.
    EXPECT_TRUE(m().Image5.visible());
    EXPECT_FALSE(m().Image5.picture());
    EXPECT_FALSE(m().Image1.visible());
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(SimWindow, MenuCodesGiveTheirValueAndCaptionTheTitles) {
    struct Case {
        std::string code;
        int value;
        bool titled;
    };
    for (const Case& c : {Case{"A012", 10012, true}, {"B012", 11012, true}, {"C012", 50012, true},
                          {"a012", 0, false}, {"99E3", 99000, false}, {"0020", 20, false}}) {
        SCOPED_TRACE(c.code);
        start({Rec(c.code), Rec("9999")});
        EXPECT_EQ(m().StepCode, c.value);
        EXPECT_EQ(m().LMenu(6).caption(), c.titled ? "绘图(&D)" : "转到(&T)");  // else the initial caption
        EXPECT_TRUE(h->reports().empty());
    }
}

TEST_F(SimWindow, MenuBarAndBackButton) {
    start({Rec("0001").put(125, "0030000400"), Rec("0001").put(125, "Q0003").put(167, "0500006000"), Rec("9999")});
    EXPECT_EQ(m().MenuBarX, 300);
    EXPECT_EQ(m().MenuBarY, 400);
    EXPECT_TRUE(m().LMenu(10).visible());
    EXPECT_EQ(m().BackStepCode, "NONO");
    EXPECT_EQ(m().LblXXK(0).width(), 1);
    h->host.then([this] { m().doNext(); });
    settle();
    EXPECT_FALSE(m().LMenu(0).visible());
    EXPECT_EQ(m().BackStepCode, "Q0003");
    EXPECT_EQ(m().LblXXK(0).rect(), (forms::Rect{5000, 6000, 1095, 285}));
}

TEST_F(SimWindow, CommandBoxTakesItsTextAndTheFocus) {
    writeTexts({"001LINE", "002画直线|line", "003矩形"});
    start({Rec("0020").box(500, 600, 2000, 300).put(106, "003").hint(100, 100, "002"), Rec("9999")});
    EXPECT_TRUE(m().Text1.visible());
    EXPECT_EQ(m().Text1.rect(), (forms::Rect{500, 600, 2000, 300}));
    EXPECT_EQ(m().Text1.text(), "矩形");
    EXPECT_EQ(m().Text1.selLength(), 2);
    EXPECT_TRUE(m().Text1.hasFocus());
    EXPECT_EQ(m().LHelp.caption(), "输入 画直线");
    EXPECT_FALSE(m().Text2.visible());
}

TEST_F(SimWindow, RenameStepLaysText2OverText1) {
    writeTexts({"001旧名"});
    start({Rec("0021").box(500, 600, 2000, 300).put(106, "001"), Rec("9999")});
    EXPECT_FALSE(m().Text1.visible());
    EXPECT_TRUE(m().Text2.visible());
    EXPECT_EQ(m().Text2.rect(), m().Text1.rect());
    EXPECT_EQ(m().Text2.text(), "旧名");
}

// A hint carried over (position all zeros) keeps its one prefix, and its one ending on "A111".
TEST_F(SimWindow, CarriedOverTypedHintIsNotPrefixedAgain) {
    writeTexts({"001abc|def"});
    // An answer, so that the empty box completes neither typed step by itself.
    start({Rec("0020").box(1, 1, 1, 1).hint(10, 10, "001").put(109, "001"), Rec("0020").box(1, 1, 1, 1).put(109, "001"),
           Rec("A111"), Rec("A111"), Rec("9999")});
    EXPECT_EQ(m().LHelp.caption(), "输入 abc");
    h->host.then([this] { m().doNext(); });
    settle();
    ASSERT_EQ(step(), 2);
    EXPECT_EQ(m().LHelp.caption(), "输入 abc");
    h->host.then([this] { m().doNext(); });
    settle();
    ASSERT_EQ(step(), 3);
    EXPECT_EQ(m().LHelp.caption(), "输入 abc并按回车键或空格键");
    h->host.then([this] { m().doNext(); });
    settle();
    EXPECT_EQ(m().LHelp.caption(), "输入 abc并按回车键或空格键");
}

TEST_F(SimWindow, LastRecordCompletesTheQuestionOnce) {
    struct Case {
        int mode;
        bool success;
    };
    for (const Case& c : {Case{2, true}, Case{3, false}}) {
        SCOPED_TRACE(c.mode);
        start({Rec("0001"), Rec("9999")});
        g().InteractionMode = static_cast<std::int16_t>(c.mode);
        g().QuestionState = {};
        g().QuestionState[2] = 4;
        tm().LblBiao.setCaption("第1题(未完成)(未完成)");
        h->host.click(m().Label1);
        settle();
        EXPECT_EQ(step(), 2);
        EXPECT_EQ(g().QuestionState[1], 4);
        EXPECT_EQ(m().LblSuccess.visible(), c.success);
        EXPECT_EQ(tm().LblUnit.caption(), "未完成的题目 3");
        EXPECT_EQ(tm().LblBiao.caption(), "第1题(已完成)(已完成)");
        // A match there, or the same record laid out again, changes nothing further.
        h->host.click(m().Label1);
        h->host.then([this] { m().setData(); });
        settle();
        EXPECT_EQ(step(), 2);
        EXPECT_EQ(g().QuestionState[1], 4);
    }
}

TEST_F(SimWindow, GuidedHelpShowsHintAndMarks) {
    writeTexts({"001点这里"});
    start({Rec("0001").hint(100, 200, "001"), Rec("9999")});
    EXPECT_FALSE(m().LHelp.visible());
    g().InteractionMode = 1;
    h->host.then([this] { m().setData(); });
    settle();
    EXPECT_TRUE(m().LHelp.visible());
    EXPECT_TRUE(m().Shape1.visible());
    EXPECT_TRUE(m().Shape4.visible());
    EXPECT_EQ(m().LHelp.caption(), "点这里");
}

}  // namespace
