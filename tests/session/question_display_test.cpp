// Showing a question in the panel, and the panel's one-shot and countdown timers.
#include "tests/session/panel_fixture.h"

namespace paneltest {
namespace {

TEST_F(PanelTest, NavigationButtonsByPositionInTheSet) {
    writeQuestions({record("一"), record("二"), record("三")});
    struct Case {
        int count, q;
        bool previous, next;
    };
    for (const Case& c : std::vector<Case>{{1, 1, false, false}, {3, 1, false, true}, {3, 2, true, true}, {3, 3, true, false}}) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.q);
        start(c.count, c.q);
        qz::FrmTm& f = panel();
        EXPECT_EQ(f.CmdGN(0).Enabled(), c.previous);
        EXPECT_EQ(f.CmdGN(1).Enabled(), c.next);
    }
}

TEST_F(PanelTest, TaskTextLinesAndPictureQuestions) {
    folder.writePicture("ab12cd", 40, 30);
    writeQuestions({record("第一句|第二句"), record("pictureab12cd画出图中的圆|不换行"), record("普通"),
                    record("picturezz9999缺图的题"), record("pictureab12cd")});
    start(5);
    qz::FrmTm& f = panel();
    EXPECT_EQ(f.RtbTM.text(), "第一句\r\n第二句");
    EXPECT_EQ(f.RtbTM.lines().size(), 2u);
    EXPECT_FALSE(f.Image2.visible());

    show(2);
    EXPECT_EQ(f.RtbTM.text(), "画出图中的圆|不换行");
    EXPECT_TRUE(f.Image2.visible());
    EXPECT_EQ(f.Image2.Caption(), "显示图片");
    EXPECT_EQ(pictureId(pictureWindow().Image1.picture()), "ab12cd");
    EXPECT_FALSE(pictureWindow().visible());

    pictureWindow().show();
    show(3);
    EXPECT_EQ(f.RtbTM.text(), "普通");
    EXPECT_FALSE(f.Image2.visible());
    EXPECT_FALSE(pictureWindow().visible());

    // A picture that cannot be read leaves no other question's picture to show.
    show(4);
    EXPECT_EQ(f.RtbTM.text(), "缺图的题");
    EXPECT_FALSE(f.Image2.visible());  // nothing to show
    EXPECT_EQ(pictureWindow().Image1.picture(), nullptr);

    show(5);
    EXPECT_EQ(f.RtbTM.text(), "");
    EXPECT_EQ(pictureId(pictureWindow().Image1.picture()), "ab12cd");
}

TEST_F(PanelTest, QuestionLineBeyondTheFileAndAnUnreadableFile) {
    writeQuestions({record("一"), record("二")});
    start(5);
    qz::FrmTm& f = panel();
    show(4);
    EXPECT_EQ(f.RtbTM.text(), "二");
    EXPECT_EQ(g().QuestionLine, record("二"));

    std::filesystem::remove(folder.dataFile(QuestionFileName));
    show(1);
    EXPECT_EQ(f.RtbTM.text(), "");
    EXPECT_EQ(g().QuestionLine, "");
    EXPECT_EQ(f.LblBiao.caption(), "XY 已1/5(0301)(未完成)");  // the rest of the display goes on
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(PanelTest, TitlesByList) {
    struct Case {
        std::int16_t listMode, listBase, paperSlot;
        std::string done;
        std::string title;
    };
    const std::vector<Case> table = {
        {0, 2, 0, "F", "XY 3套第5题(0311)"},
        {2, 0, 2, "F", "XY 错3-5/20(0311)(未完成)"},
        {5, 0, 0, "T", "XY 已5/20(0311)(已完成)"},
        {6, 0, 0, "F", "XY 未5/20(0311)(未完成)"},
        {8, 0, 20, "F", "XY 随0-5(0311)"},
        {8, 0, 23, "F", "XY 随3-5(0311)"},
        {9, 0, 0, "", "XY 藏5/20(0311)(已完成)"},
        {11, 0, 0, "F", "XY 藏5/20(0311)(未完成)"},
        {12, 0, 0, "F", "XY 复5/20(0311)(未完成)"},
        {14, 0, 0, "x", "XY 复5/20(0311)(已完成)"},
        {20, 2, 0, "F", "XY 3单元5/20题(未完成)"},
        {1, 0, 0, "F", "before"},
        {7, 0, 0, "F", "before"},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.listMode);
        EXPECT_EQ(qz::FrmTm::titleFor("XYmodule", c.listMode, c.listBase, c.paperSlot, 5, 20, 211, c.done, "before"),
                  c.title);
    }
    EXPECT_EQ(qz::FrmTm::titleFor("绘图模块", 5, 0, 0, 12, 300, 9, "F", ""), "绘图 已12/300(0109)(未完成)");
    EXPECT_EQ(qz::FrmTm::titleFor("X", 5, 0, 0, 1, 1, 12345, "F", ""), "X 已1/1(12445)(未完成)");

    // Through the display: the entry's own code and done-before mark; an unknown list keeps
    // the title it had.
    writeQuestions({record("一"), record("二")});
    start(2, 2);
    g().QuestionCodes[2] = 211;
    g().DoneBefore[2] = "T";
    qz::FrmTm& f = panel();
    EXPECT_EQ(f.LblBiao.caption(), "XY 已2/2(0311)(已完成)");
    g().ListMode = 3;
    show(1);
    EXPECT_EQ(f.LblBiao.caption(), "XY 已2/2(0311)(已完成)");
}

TEST_F(PanelTest, UnfinishedListAndMarkButtons) {
    writeQuestions({record("一")});
    start(20, 1);
    for (int k = 5; k <= 20; ++k) g().QuestionState[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(4 + k % 4);
    g().QuestionState[3] = 5;
    g().QuestionState[4] = 3;
    qz::FrmTm& f = panel();
    EXPECT_EQ(f.LblUnit.caption(), "未完成的题目 1 2 4");

    struct Case {
        std::int16_t state;
        bool marked;
    };
    for (const Case& c : std::vector<Case>{{0, false}, {1, false}, {2, true}, {3, true}, {4, false}, {5, false},
                                           {6, true}, {7, true}}) {
        SCOPED_TRACE(c.state);
        g().QuestionState[4] = c.state;
        show(4);
        EXPECT_EQ(f.CmdGN(3).visible(), !c.marked);
        EXPECT_EQ(f.CmdGN(11).visible(), c.marked);
    }
}

TEST_F(PanelTest, OpenedOnceResumedWhereLeftAndTheSimulatedWindowStarted) {
    writeQuestions({record("一"), record("二")});
    start(2, 1);
    qz::FrmTm& f = panel();
    EXPECT_EQ(g().QuestionState[1], 1);
    f.DqExam();  // the second display of the session's first question
    EXPECT_EQ(g().QuestionState[1], 1);

    g().ResumeStep[2] = 4;
    sim().Timer3.setEnabled(true);
    sim().Timer2.setEnabled(false);
    sim().setWindowState(1);
    show(2);
    EXPECT_EQ(g().CurrentStep, 4);
    EXPECT_EQ(g().QuestionState[2], 1);
    EXPECT_FALSE(sim().Timer3.timerEnabled());
    EXPECT_TRUE(sim().Timer2.timerEnabled());
    EXPECT_EQ(sim().windowState(), 0);
    EXPECT_EQ(h->host.shownLog.back(), "show FrmMain");
}

TEST_F(PanelTest, SimulatedWindowPicturesLastShownForTheQuestion) {
    // A file named only by the extension must not stand in for a picture never recorded.
    for (const char* id : {"bk0001", "pc0001", "pc0003", ""}) folder.writePicture(id, 20, 20);
    writeQuestions({record("一"), record("二")});
    start(2, 1);
    panel();
    g().QuestionPictures[2] = {"bk0001", "pc0001", "", "pc0003", "gone00", ""};
    show(2);
    EXPECT_EQ(pictureId(sim().picture()), "bk0001");
    EXPECT_EQ(pictureId(sim().Image1.picture()), "pc0001");
    EXPECT_EQ(sim().Image2.picture(), nullptr);
    EXPECT_EQ(pictureId(sim().Image3.picture()), "pc0003");
    EXPECT_EQ(sim().Image4.picture(), nullptr);
    EXPECT_EQ(sim().Image5.picture(), nullptr);
}

TEST_F(PanelTest, GuidedHelpEndsAndAFixedPaperAsPracticeGetsItsButtonSet) {
    writeQuestions({record("一")});
    struct Case {
        std::int16_t listMode, modeBefore, modeAfter;
        bool buttonSetAgain;
    };
    for (const Case& c : std::vector<Case>{{5, 1, 2, false},
                                           {5, 2, 2, false},
                                           {5, 3, 3, false},
                                           {0, 1, 2, true},
                                           {0, 2, 2, true},
                                           {0, 3, 3, false},
                                           {8, 2, 2, false}}) {
        SCOPED_TRACE(testing::Message() << c.listMode << " " << c.modeBefore);
        start(1, 1);
        g().ListMode = c.listMode;
        qz::FrmTm& f = panel();
        h->host.runFor(600);  // the load's own button-set tick
        ASSERT_FALSE(f.TimKsModel.timerEnabled());
        g().InteractionMode = c.modeBefore;
        f.DqExam();
        EXPECT_EQ(g().InteractionMode, c.modeAfter);
        EXPECT_EQ(f.TimKsModel.timerEnabled(), c.buttonSetAgain);
    }
}

TEST_F(PanelTest, TimerREDOShowsTheQuestionOncePerEnabling) {
    writeQuestions({record("一"), record("二"), record("三")});
    start(3, 1);
    // As the launch does it: the touch that enables the timer loads the panel, which shows the
    // question once itself; the tick shows it again and changes nothing.
    panel().TimerREDO.setEnabled(true);
    qz::FrmTm& f = panel();
    // The window's layout of what the load showed would record step 1 as the resume point
    // first; without it the tick shows the question where the test left it.
    h->p().frmMain().Timer2.setEnabled(false);
    g().ResumeStep[1] = 3;
    h->host.runFor(150);
    EXPECT_FALSE(f.TimerREDO.timerEnabled());
    EXPECT_EQ(g().QuestionState[1], 1);
    EXPECT_EQ(f.RtbTM.text(), "一");
    EXPECT_EQ(g().CurrentStep, 3);

    g().CurrentQuestion = 2;
    f.TimerREDO.setEnabled(true);
    h->host.runFor(150);
    EXPECT_EQ(f.RtbTM.text(), "二");
    EXPECT_FALSE(f.TimerREDO.timerEnabled());

    g().CurrentQuestion = 3;
    h->host.runFor(1000);
    EXPECT_EQ(f.RtbTM.text(), "二");
    f.TimerREDO.setEnabled(true);
    h->host.runFor(150);
    EXPECT_EQ(f.RtbTM.text(), "三");
}

TEST_F(PanelTest, CountdownStopsItselfOutsideAnExam) {
    writeQuestions({record("一")});
    for (int list : {0, 5, 8, 20}) {
        SCOPED_TRACE(list);
        start(1, 1);
        g().ListMode = static_cast<std::int16_t>(list);
        qz::FrmTm& f = panel();
        h->host.runFor(59000);
        EXPECT_TRUE(f.TimeKS.timerEnabled());
        h->host.runFor(2000);
        EXPECT_EQ(f.TimeKS.timerEnabled(), list == 0 || list == 8);
        EXPECT_EQ(g().ExamMinutesLeft, list == 0 || list == 8 ? 49 : 50);
    }
}

}  // namespace
}  // namespace paneltest
