// The practice road end to end, headless: from the home screen into unit 0 of the sample
// module, through every question with the actions its steps expect, and wrong actions in
// between that must change nothing.
#include <gtest/gtest.h>

#include "home/FrmFengmian.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"
#include "tests/road/question_steps.h"
#include "tests/support/temp_dir.h"

namespace {

using hometest::HomeRun;

class PracticeRoad : public ::testing::Test, public HomeRun {
protected:
    PracticeRoad() { folder.installSampleBank(); }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    headless::HeadlessHost& host() { return h->host; }

    // Starts unit practice on unit 0 with a filter button: 37 all, 38 learned, 39 not learned.
    void launch(int filter) {
        start();
        openUnit(0, filter);
        click(20);
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        ASSERT_FALSE(h->isLoaded("FrmFengmian"));
    }

    std::string code() { return roadtest::QuestionSteps(*h).code(); }
    int workQuestion() { return roadtest::QuestionSteps(*h).workQuestion(); }

    // Moves on as the panel will: the next entry, shown by the panel's one-shot timer.
    void showQuestion(int q) {
        g().CurrentQuestion = static_cast<std::int16_t>(q);
        panel().TimerREDO.setEnabled(true);
        host().runUntilIdle();
    }
};

TEST_F(PracticeRoad, EveryQuestionOfUnitZeroIsCompletedByTheActionsItsStepsExpect) {
    launch(37);
    ASSERT_EQ(g().ListMode, 20);
    const int count = g().QuestionCount;
    ASSERT_GE(count, 1);
    for (int q = 1; q <= count; ++q) {
        SCOPED_TRACE("question " + std::to_string(q));
        if (q > 1) showQuestion(q);
        EXPECT_EQ(g().QuestionState[q] & 1, 1);  // opened
        const int steps = workQuestion();
        EXPECT_EQ(g().QuestionState[q] & 4, 4);  // done
        EXPECT_EQ(g().ResumeStep[q], steps);
        EXPECT_TRUE(sim().LblSuccess.visible());
    }
    // A completed question shown again stays complete and resumes at its last record.
    showQuestion(1);
    EXPECT_EQ(code(), "9999");
    EXPECT_EQ(g().QuestionState[1], 5);
    EXPECT_TRUE(h->reports().empty());
}

// Lists 5 and 6 work on set 19, built from the unit's own set 20: the built files hold the
// source lines of the chosen questions byte for byte, and the unit's files stay as they were.
TEST_F(PracticeRoad, LearnedAndNotLearnedListsRunOnTheirBuiltSet) {
    const std::string steps20 = testsupport::readFileBytes(folder.dataFile("288820.mxy"));
    const std::string questions20 = testsupport::readFileBytes(folder.dataFile("288870.mxy"));
    const auto stepLines = platform::readRawLines(folder.dataFile("288820.mxy"));
    const auto questionLines = platform::readRawLines(folder.dataFile("288870.mxy"));
    // Where each question's run starts in the unit's step file.
    std::vector<std::size_t> first{0};
    for (const auto& q : questionLines) first.push_back(first.back() + std::stoul(q.substr(4, 2)));

    writeProgress({"TFTFFFFF"});
    for (const auto& [filter, chosen] : std::vector<std::pair<int, std::vector<std::size_t>>>{
             {38, {0, 2}}, {39, {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}}}) {
        SCOPED_TRACE(filter);
        h.reset();
        launch(filter);
        EXPECT_EQ(g().ListMode, filter == 38 ? 5 : 6);
        ASSERT_EQ(g().QuestionCount, static_cast<int>(chosen.size()));
        std::vector<std::string> wantSteps, wantQuestions;
        for (std::size_t q : chosen) {
            wantQuestions.push_back(questionLines[q]);
            for (std::size_t s = first[q]; s < first[q + 1]; ++s) wantSteps.push_back(stepLines[s]);
        }
        EXPECT_EQ(platform::readRawLines(folder.dataFile("288819.mxy")), wantSteps);
        EXPECT_EQ(platform::readRawLines(folder.dataFile("288869.mxy")), wantQuestions);
        EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288820.mxy")), steps20);
        EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288870.mxy")), questions20);
        // The built set is the one worked.
        for (std::size_t k = 1; k <= chosen.size(); ++k) {
            if (k > 1) showQuestion(static_cast<int>(k));
            workQuestion();
            EXPECT_EQ(g().QuestionState[k] & 5, 5);
        }
    }
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
