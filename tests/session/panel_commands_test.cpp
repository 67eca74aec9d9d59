// The panel's commands: navigation, redo, marks, the question grid and its pages, the button
// sets of a practice and an exam, and the examinee page.
#include "session/FrmCZTS.h"
#include "tests/session/panel_fixture.h"

namespace paneltest {
namespace {

class PanelCommands : public PanelTest {
public:
    // A question file of n numbered tasks and the grid's three pictures, told apart by size.
    void questions(int n) {
        std::vector<std::string> lines;
        for (int k = 1; k <= n; ++k) lines.push_back(record("题" + std::to_string(k)));
        writeQuestions(lines);
        folder.writePicture("l01030", 30, 30);
        folder.writePicture("l01031", 31, 30);
        folder.writePicture("l01032", 32, 30);
    }
    // The panel shown, as the launch shows it, so that scripted clicks reach it.
    qz::FrmTm& shown() {
        qz::FrmTm& f = panel();
        f.show();
        return f;
    }
    void clickAndSettle(const forms::Control& c) {
        h->host.click(c);
        h->host.runFor(50);
    }
    std::vector<std::string> visibleCaptions() {
        std::vector<std::string> out;
        for (int m = 1; m <= 40; ++m)
            if (panel().CmTNO(m).visible()) out.push_back(panel().CmTNO(m).Caption());
        return out;
    }
};

TEST_F(PanelCommands, PreviousAndNextStopAtTheEndsAndResumeWhereTheQuestionWasLeft) {
    questions(3);
    start(3, 2);
    qz::FrmTm& f = shown();
    g().ResumeStep[1] = 4;

    clickAndSettle(f.CmdGN(0));
    EXPECT_EQ(g().CurrentQuestion, 1);
    EXPECT_EQ(g().CurrentStep, 4);
    EXPECT_EQ(f.RtbTM.text(), "题1");
    f.CmdGN_Click(0);  // the button is disabled here; the command itself stays put
    EXPECT_EQ(g().CurrentQuestion, 1);

    for (int k = 0; k < 3; ++k) f.CmdGN_Click(1);
    EXPECT_EQ(g().CurrentQuestion, 3);
    EXPECT_EQ(f.RtbTM.text(), "题3");
    EXPECT_FALSE(f.CmdGN(1).Enabled());
    EXPECT_EQ(g().QuestionState[3], 1);
}

TEST_F(PanelCommands, RedoStartsAtStepOneAndADoneQuestionStaysDone) {
    questions(3);
    start(3, 2);
    qz::FrmTm& f = shown();
    g().QuestionState[2] = 5;  // opened and done
    g().ResumeStep[2] = 6;
    g().CurrentStep = 6;

    clickAndSettle(f.CmdGN(2));
    EXPECT_EQ(g().CurrentQuestion, 2);
    EXPECT_EQ(g().ResumeStep[2], 1);
    EXPECT_EQ(g().CurrentStep, 1);
    EXPECT_EQ(g().QuestionState[2], 5);
    EXPECT_EQ(f.LblUnit.caption(), "未完成的题目 1 3");
}

TEST_F(PanelCommands, MarkAndUnmarkMoveOnlyTheMarkBit) {
    questions(1);
    struct Case {
        int index;
        std::int16_t before, after;
        bool markShown;  // CmdGN(3) afterwards; CmdGN(11) is its opposite
    };
    const std::vector<Case> table = {
        {3, 1, 3, false}, {3, 5, 7, false}, {3, 0, 2, false}, {3, 4, 6, false},
        {3, 3, 3, false},  // already marked: the state stays
        {11, 3, 1, true}, {11, 7, 5, true}, {11, 2, 0, true}, {11, 6, 4, true},
        {11, 1, 1, true},  // not marked: the state stays
    };
    for (const Case& c : table) {
        SCOPED_TRACE(testing::Message() << c.index << " on " << c.before);
        start(1);
        qz::FrmTm& f = panel();
        g().QuestionState[1] = c.before;
        f.CmdGN_Click(c.index);
        EXPECT_EQ(g().QuestionState[1], c.after);
        EXPECT_EQ(f.CmdGN(3).visible(), c.markShown);
        EXPECT_EQ(f.CmdGN(11).visible(), !c.markShown);
    }

    start(1);
    qz::FrmTm& f = panel();
    g().QuestionState[1] = 5;
    f.CmdGN_Click(3);
    f.CmdGN_Click(11);
    EXPECT_EQ(g().QuestionState[1], 5);
}

TEST_F(PanelCommands, GridPagesOfALongListWithTheirCaptionsAndColours) {
    questions(45);
    start(45);
    qz::FrmTm& f = shown();
    g().QuestionState[2] = 2;   // marked, never opened
    g().QuestionState[3] = 7;   // opened, marked, done
    g().QuestionState[4] = 4;   // done only: no picture of its own
    g().QuestionState[5] = 5;   // opened and done
    g().QuestionState[42] = 1;
    g().QuestionState[43] = 3;

    clickAndSettle(f.CmdGN(4));
    EXPECT_TRUE(f.FrmSelect.visible());
    EXPECT_TRUE(f.CmdSelLast.visible());
    EXPECT_TRUE(f.CmdSelNext.visible());
    EXPECT_EQ(f.LastGridPage, 1);
    EXPECT_EQ(visibleCaptions().size(), 40u);
    EXPECT_EQ(f.CmTNO(40).Caption(), "40");
    const std::vector<std::pair<int, const char*>> page0 = {
        {1, "l01031"}, {2, "l01032"}, {3, "l01032"}, {4, "l01030"}, {5, "l01031"}, {6, "l01030"}};
    for (const auto& [m, id] : page0) EXPECT_EQ(pictureId(f.CmTNO(m).Picture()), id) << m;

    clickAndSettle(f.CmdSelNext);
    EXPECT_EQ(f.GridPage, 1);
    EXPECT_EQ(visibleCaptions(), (std::vector<std::string>{"41", "42", "43", "44", "45"}));
    EXPECT_EQ(pictureId(f.CmTNO(1).Picture()), "l01030");
    EXPECT_EQ(pictureId(f.CmTNO(2).Picture()), "l01031");
    EXPECT_EQ(pictureId(f.CmTNO(3).Picture()), "l01032");
    f.CmdSelNext_Click();
    EXPECT_EQ(f.GridPage, 1);
    EXPECT_EQ(visibleCaptions().size(), 5u);

    // A grid already shown is not redrawn by a mark.
    f.CmdGN_Click(11);  // question 1 is not marked: nothing
    g().QuestionState[44] = 3;
    EXPECT_EQ(pictureId(f.CmTNO(4).Picture()), "l01030");

    clickAndSettle(f.CmdSelLast);
    EXPECT_EQ(f.GridPage, 0);
    EXPECT_EQ(f.CmTNO(1).Caption(), "1");
    EXPECT_EQ(visibleCaptions().size(), 40u);
    f.CmdSelLast_Click();
    EXPECT_EQ(f.GridPage, 0);

    // The page survives closing and reopening the grid.
    f.CmdSelNext_Click();
    clickAndSettle(f.CmdSelFH);
    EXPECT_FALSE(f.FrmSelect.visible());
    f.CmdGN_Click(4);
    EXPECT_TRUE(f.FrmSelect.visible());
    EXPECT_EQ(f.CmTNO(4).Caption(), "44");
    EXPECT_EQ(pictureId(f.CmTNO(4).Picture()), "l01032");
}

TEST_F(PanelCommands, GridPageSizesByQuestionCount) {
    questions(1);
    struct Case {
        int count;
        bool pageButtons;
        int lastPage;
        std::string firstOfLast, lastOfLast;
    };
    for (const Case& c : std::vector<Case>{{7, false, 0, "1", "7"},
                                           {40, false, 0, "1", "40"},
                                           {41, true, 1, "41", "41"},
                                           {80, true, 1, "41", "80"},
                                           {500, true, 12, "481", "500"}}) {
        SCOPED_TRACE(c.count);
        start(c.count);
        qz::FrmTm& f = panel();
        f.CmdGN_Click(4);
        EXPECT_EQ(f.CmdSelNext.visible(), c.pageButtons);
        EXPECT_EQ(f.CmdSelLast.visible(), c.pageButtons);
        for (int k = 0; k < 13; ++k) f.CmdSelNext_Click();
        EXPECT_EQ(f.GridPage, c.lastPage);
        const auto caps = visibleCaptions();
        ASSERT_FALSE(caps.empty());
        EXPECT_EQ(caps.front(), c.firstOfLast);
        EXPECT_EQ(caps.back(), c.lastOfLast);
    }
}

TEST_F(PanelCommands, AGridClickShowsThatQuestionOfThePage) {
    questions(45);
    start(45);
    qz::FrmTm& f = shown();
    f.CmdGN_Click(4);
    f.CmdSelNext_Click();
    g().ResumeStep[43] = 2;

    clickAndSettle(f.CmTNO(3));
    EXPECT_EQ(g().CurrentQuestion, 43);
    EXPECT_FALSE(f.FrmSelect.visible());
    EXPECT_EQ(f.RtbTM.text(), "题43");
    EXPECT_EQ(g().CurrentStep, 2);
    EXPECT_EQ(g().QuestionState[43], 1);
    EXPECT_EQ(f.LblBiao.caption(), "XY 已43/45(0343)(未完成)");
}

TEST_F(PanelCommands, ButtonSetsOfAPracticeAndAnExam) {
    questions(1);
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        start(1);
        g().InteractionMode = static_cast<std::int16_t>(mode);
        qz::FrmTm& f = panel();
        f.TimKsModel_Timer();
        const bool exam = mode == 3;
        EXPECT_EQ(f.PicUnit.visible(), !exam);
        for (int k = 5; k <= 7; ++k) EXPECT_EQ(f.CmdGN(k).visible(), !exam) << k;
        for (int k = 8; k <= 10; ++k) EXPECT_EQ(f.CmdGN(k).visible(), exam) << k;
        EXPECT_FALSE(f.TimKsModel.timerEnabled());
    }

    // An exam turned into practice gets the practice set at the next tick.
    qz::FrmTm& f = panel();
    g().InteractionMode = 2;
    f.TimKsModel_Timer();
    EXPECT_TRUE(f.PicUnit.visible());
    EXPECT_TRUE(f.CmdGN(5).visible());
    EXPECT_FALSE(f.CmdGN(8).visible());
}

TEST_F(PanelCommands, ExamineePageOpensAndCloses) {
    questions(1);
    start(1);
    g().InteractionMode = 3;
    g().ExamineeName = "王五";
    qz::FrmTm& f = shown();
    f.TimKsModel_Timer();

    clickAndSettle(f.CmdGN(9));
    EXPECT_TRUE(f.FrmKSXX.visible());
    EXPECT_EQ(f.KsName1.caption(), "王五");
    EXPECT_FALSE(f.FrmSelect.visible());
    clickAndSettle(f.CmdKSFH);
    EXPECT_FALSE(f.FrmKSXX.visible());
}

TEST_F(PanelCommands, TipsHideThePictureBeforeTheDialogOpens) {
    questions(1);
    folder.writePicture("l01038", 512, 30);  // the dialog's back button
    start(1);
    qz::FrmTm& f = panel();
    pictureWindow().show();
    f.Image2.setCaption("隐藏图片");
    bool seen = false;
    h->host.then([&] {
        ASSERT_NE(h->p().loadedFrmCZTS(), nullptr);
        EXPECT_EQ(h->p().rt.topModal(), h->p().loadedFrmCZTS());
        EXPECT_FALSE(pictureWindow().visible());
        EXPECT_EQ(f.Image2.Caption(), "显示图片");
        seen = true;
        h->host.click(h->p().loadedFrmCZTS()->Command1);
    });
    f.CmdGN_Click(10);
    EXPECT_TRUE(seen);
    EXPECT_EQ(h->p().loadedFrmCZTS(), nullptr);
}

TEST_F(PanelCommands, AnEmptyListShowsNoTaskLaysOutNoStepAndOffersOnlyTheEnd) {
    questions(1);  // a question of some earlier set is still in the file
    start(0);
    qz::FrmTm& f = panel();
    EXPECT_EQ(f.RtbTM.text(), "");
    EXPECT_FALSE(sim().Timer2.timerEnabled());
    EXPECT_FALSE(f.CmdGN(0).Enabled());
    EXPECT_FALSE(f.CmdGN(1).Enabled());

    const std::int16_t state = g().QuestionState[1];
    for (int index : {0, 1, 2, 3, 4, 9, 10, 11}) {
        SCOPED_TRACE(index);
        f.CmdGN_Click(index);
        EXPECT_EQ(g().CurrentQuestion, 1);
        EXPECT_EQ(g().QuestionState[1], state);
        EXPECT_FALSE(f.FrmSelect.visible());
        EXPECT_FALSE(f.FrmKSXX.visible());
        EXPECT_FALSE(sim().Timer2.timerEnabled());
        EXPECT_EQ(f.RtbTM.text(), "");
    }
    for (int m = 1; m <= 40; ++m) EXPECT_FALSE(f.CmTNO(m).visible()) << m;
    f.dqYeMian();
    EXPECT_FALSE(f.FrmSelect.visible());
    EXPECT_EQ(f.GridPage, 0);
}

}  // namespace
}  // namespace paneltest
