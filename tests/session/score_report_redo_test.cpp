// The score report's buttons on a whole program, headless: the paper again as practice, the
// way home, and the practice of the paper's wrong questions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "home/FrmFengmian.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/session/score_report_fixture.h"

namespace reporttest {
namespace {

class ScoreReportButtons : public ScoreReport {
protected:
    qz::FrmTm& panel() { return *h->p().loadedFrmTm(); }
    qz::FrmMain& sim() { return *h->p().loadedFrmMain(); }
    void expectDocked() {
        EXPECT_EQ(panel().left(), sim().left() + sim().width() - panel().width());
        EXPECT_EQ(panel().top(), sim().top() + sim().height() - panel().height());
    }
    void expectPracticeButtons() {
        for (int k : {5, 6, 7}) EXPECT_TRUE(panel().CmdGN(k).visible()) << k;
        for (int k : {8, 9, 10}) EXPECT_FALSE(panel().CmdGN(k).visible()) << k;
    }
    std::vector<std::string> unitQuestions(int unit) {
        return platform::readLines(folder.dataFile("28887" + std::to_string(unit) + ".mxy"));
    }
};

TEST_F(ScoreReportButtons, RedoThePaperAsPractice) {
    struct Case {
        int mode, slot;
        const char* title;
    } cases[] = {{0, 2, "hu 3套第1题(0101)"}, {8, 20, "hu 随0-1(0101)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        h.reset();
        openExam(c.mode, c.slot);
        completeAll(5);
        mark(7, true);
        g().CurrentQuestion = 7;  // where the exam was handed in
        showReport();
        click(report().Command1);

        EXPECT_FALSE(h->isLoaded("FrmChengji"));
        ASSERT_TRUE(h->isLoaded("FrmTm") && h->isLoaded("FrmMain"));
        EXPECT_TRUE(panel().visible());
        EXPECT_TRUE(sim().visible());
        expectDocked();
        expectPracticeButtons();
        EXPECT_FALSE(panel().TimeKS.timerEnabled());
        EXPECT_EQ(panel().LblBiao.caption(), c.title);
        const qz::Shared& s = g();
        EXPECT_EQ(s.InteractionMode, 2);
        EXPECT_EQ(s.AllowPanelUnload, 0);
        EXPECT_EQ(s.CurrentQuestion, 1);
        EXPECT_EQ(s.ListMode, c.mode);
        EXPECT_EQ(s.PaperSlot, c.slot);
        EXPECT_EQ(s.QuestionCount, 40);
        EXPECT_EQ(s.ExamStartTime, "-1");
        for (std::size_t i = 1; i <= 40; ++i) EXPECT_EQ(s.DoneBefore[i], "F") << i;
        // The exam's results stay with the list.
        EXPECT_EQ(s.QuestionState[5] & 4, 4);
        EXPECT_EQ(s.QuestionState[6] & 4, 0);
        // Shown first is question 1: question 7 was never opened in the practice.
        EXPECT_EQ(s.QuestionState[7], 2);

        // No countdown, and the end of it replays no home-screen button.
        h->host.runFor(61000);
        EXPECT_EQ(g().ExamMinutesLeft, 50);
        h->host.then([this] { panel().EndPractice(); });
        h->host.runFor(500);
        ASSERT_TRUE(h->isLoaded("FrmFengmian"));
        EXPECT_TRUE(home().visible());
        EXPECT_EQ(g().ReturnButton, 0);
        EXPECT_FALSE(home().PicKaCH.visible());
    }
}

TEST_F(ScoreReportButtons, HomeOpensThePaperSection) {
    openExam();
    showReport();
    click(report().Command2);
    h->host.runFor(500);
    EXPECT_FALSE(h->isLoaded("FrmChengji"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_TRUE(home().visible());
    EXPECT_EQ(g().ReturnButton, 17);
    EXPECT_TRUE(home().PicKaCH.visible());
    EXPECT_FALSE(home().TimFH.timerEnabled());
}

// The wrong questions in paper order, not done, the favourites among them marked; the end of
// their practice drops what was completed from the paper's list and keeps the favourite.
TEST_F(ScoreReportButtons, WrongQuestionsArePractisedInPaperOrder) {
    writeRecord("288862.mxy", "0012\r\n");
    writeRecord("288872.mxy", "T\r\n");
    openExam(0, 2);
    completeAll(40);
    g().QuestionState[5] = 1;
    g().QuestionState[12] = 3;  // the favourite, still marked
    g().QuestionState[30] = 0;
    showReport();
    ASSERT_EQ(record("182402.mxy"), "000500120110\r\n");
    click(report().Command3);

    EXPECT_FALSE(h->isLoaded("FrmChengji"));
    ASSERT_TRUE(h->isLoaded("FrmTm") && h->isLoaded("FrmMain"));
    const qz::Shared& s = g();
    EXPECT_EQ(s.ListMode, 2);
    EXPECT_EQ(s.ListBase, 17);
    EXPECT_EQ(s.InteractionMode, 2);
    EXPECT_EQ(s.PaperSlot, 2);
    ASSERT_EQ(s.QuestionCount, 3);
    EXPECT_EQ(std::vector<int>(s.QuestionCodes.begin() + 1, s.QuestionCodes.begin() + 4), (std::vector<int>{5, 12, 110}));
    EXPECT_EQ(platform::readLines(folder.dataFile("288869.mxy")),
              (std::vector<std::string>{unitQuestions(0)[4], unitQuestions(0)[11], unitQuestions(1)[9]}));
    EXPECT_EQ(s.QuestionFilePath, folder.dataFile("288869.mxy"));
    EXPECT_EQ(s.StepsFilePath, folder.dataFile("288819.mxy"));
    EXPECT_EQ(s.CurrentQuestion, 1);
    EXPECT_EQ(s.AllowPanelUnload, 0);
    EXPECT_EQ(std::vector<std::int16_t>(s.QuestionState.begin() + 1, s.QuestionState.begin() + 4),
              (std::vector<std::int16_t>{1, 2, 0}));
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(s.DoneBefore[i], "F");
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(panel().CmTNO(i).visible()) << i;
    for (int i = 4; i <= 40; ++i) EXPECT_FALSE(panel().CmTNO(i).visible()) << i;
    EXPECT_EQ(panel().LblBiao.caption(), "hu 错3-1/3(0105)(未完成)");
    EXPECT_EQ(panel().RtbTM.text(), "单元0的练习题5\r\n画一条直线");
    EXPECT_EQ(panel().LblUnit.caption(), "未完成的题目 1 2 3");
    EXPECT_TRUE(panel().visible());
    EXPECT_TRUE(sim().visible());
    expectDocked();
    expectPracticeButtons();
    EXPECT_FALSE(panel().TimeKS.timerEnabled());

    complete(2);
    h->host.answerMessageBox(forms::mb::ResultYes);
    h->host.then([this] { panel().EndPractice(); });
    h->host.runFor(500);
    EXPECT_EQ(record("182402.mxy"), "00050110\r\n");
    EXPECT_EQ(record("288862.mxy"), "0012\r\n");
    EXPECT_EQ(record("288872.mxy"), "T\r\n");
}

// Only the whole codes of the trimmed line, as the home screen's review takes them.
TEST_F(ScoreReportButtons, WrongQuestionsAreTheWholeCodesOfTheList) {
    openExam();
    completeAll(39);
    showReport();
    writeRecord("182400.mxy", " 0001000200030004010500 \r\n");
    click(report().Command3);
    ASSERT_EQ(g().QuestionCount, 5);
    EXPECT_EQ(g().QuestionCodes[5], 105);
    EXPECT_EQ(platform::readLines(folder.dataFile("288869.mxy")).size(), 5u);
}

// Nothing to redo, or no set to redo it on: the learner is told, and the report stays with
// the paper as it was.
TEST_F(ScoreReportButtons, ARedoThatCannotStartIsRefused) {
    struct Case {
        const char* what;
        int completed;
        const char* paperWrong;  // null: missing
        bool bankBroken;
        const char* title;
    } cases[] = {{"nothing wrong", 40, "\r\n", false, "没有生成错题"},
                 {"blank", 38, "    \r\n", false, "没有生成错题"},
                 {"missing", 38, nullptr, false, "没有生成错题"},
                 {"a unit file missing", 38, "01020003\r\n", true, "题库错误"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.reset();
        writeUnitSet(1, std::vector<int>(20, 1));
        openExam(0, 1);
        completeAll(c.completed);
        showReport();
        if (c.paperWrong) writeRecord("182401.mxy", c.paperWrong);
        else std::filesystem::remove(ksdata("182401.mxy"));
        if (c.bankBroken) std::filesystem::remove(folder.dataFile("288871.mxy"));
        const std::array<std::int32_t, 501> codesBefore = g().QuestionCodes;
        const std::array<std::int16_t, 501> stateBefore = g().QuestionState;
        const std::string questionsBefore = folder.dataFile("288851.mxy");

        // The broken bank is reported to its makers first; the box waits for that.
        const BoxSeen box = runAnswering([this] { report().Command3_Click(); }, hometest::Confirm);
        ASSERT_TRUE(box.opened);
        EXPECT_EQ(box.title, c.title);
        if (!c.bankBroken) {
            EXPECT_EQ(box.icon, "l20071");
            EXPECT_EQ(box.prompt, "\r\n\r\n\r\n你可能是还没有做本套试题，或者上次得分为0。\r\n请点“开始考试”做本套试题。");
        }
        ASSERT_TRUE(h->isLoaded("FrmChengji"));
        EXPECT_TRUE(report().visible());
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_FALSE(h->isLoaded("FrmMain"));
        const qz::Shared& s = g();
        EXPECT_EQ(s.ListMode, 0);
        EXPECT_EQ(s.ListBase, 1);
        EXPECT_EQ(s.InteractionMode, 3);
        EXPECT_EQ(s.QuestionCount, 40);
        EXPECT_EQ(s.QuestionCodes, codesBefore);
        EXPECT_EQ(s.QuestionState, stateBefore);
        EXPECT_EQ(s.QuestionFilePath, questionsBefore);
    }
}

}  // namespace
}  // namespace reporttest
