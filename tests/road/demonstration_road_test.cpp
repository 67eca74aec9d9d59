// Every question of every sample unit demonstrated from a practice launched on the home
// screen, through the panel's demonstration button, on the virtual clock: the player plays the
// question's run from its first step to its "9999", and the practice comes back exactly where
// the learner left it, with no file touched and nothing reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "demo/frmYanShi.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"
#include "tests/home/home_fixture.h"
#include "tests/road/question_steps.h"
#include "tests/support/temp_dir.h"

namespace {

std::map<std::string, std::string> filesUnder(const std::string& folder) {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = testsupport::readFileBytes(e.path().string());
    return files;
}

class DemonstrationRoad : public ::testing::Test, public hometest::HomeRun {
protected:
    DemonstrationRoad() { folder.installSampleBank(); }

    headless::HeadlessHost& host() { return h->host; }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    qz::FrmMain& sim() { return h->p().frmMain(); }

    // The set's steps, and the question's run: its lines from its first to its "9999".
    std::vector<std::string> run(int q) {
        const std::vector<std::string> lines = platform::readLines(g().StepsFilePath);
        std::vector<std::string> r;
        for (auto n = static_cast<std::size_t>(g().FirstStepLine[q]); n >= 1 && n <= lines.size(); ++n) {
            r.push_back(lines[n - 1]);
            if (qz::steps::stepCode(lines[n - 1]) == "9999") break;
        }
        return r;
    }

    // Presses the panel's button and follows the player a tick at a time, bounded: a stuck
    // player would keep a timer due for ever.
    void demonstrate(int q) {
        const std::vector<std::string> expected = run(q);
        ASSERT_FALSE(expected.empty());
        ASSERT_EQ(qz::steps::stepCode(expected.back()), "9999");
        host().click(panel().CmdGN(7));
        host().runFor(250);
        qz::frmYanShi* y = h->p().loadedFrmYanShi();
        ASSERT_NE(y, nullptr) << "no player after the start's two ticks";
        EXPECT_FALSE(sim().visible());
        EXPECT_FALSE(panel().visible());
        EXPECT_TRUE(g().DemoRunning);
        int lastStep = 0;
        for (int ms = 0; ms < 60000 && (y = h->p().loadedFrmYanShi()); ms += 100) {
            // Passed-over steps go by inside one tick; whatever a tick shows is the run's own
            // step, never an earlier one.
            ASSERT_GE(y->PlayerStep, lastStep);
            lastStep = y->PlayerStep;
            ASSERT_LE(lastStep, static_cast<int>(expected.size()));
            ASSERT_EQ(y->record(), expected[static_cast<std::size_t>(lastStep - 1)]) << "step " << lastStep;
            host().runFor(100);
        }
        EXPECT_EQ(h->p().loadedFrmYanShi(), nullptr) << "the demonstration never ended";
        EXPECT_EQ(lastStep, static_cast<int>(expected.size()));
        host().runFor(300);  // the panel's one-shot show of the question
    }
};

TEST_F(DemonstrationRoad, EveryQuestionOfEverySampleUnitIsDemonstratedAndThePracticeGoesOnWhereItWas) {
    start();
    int demonstrated = 0;
    for (int unit = 0; unit < 12; ++unit) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        openUnit(unit, 37);
        click(20);
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        const int count = g().QuestionCount;
        ASSERT_GE(count, 1);
        for (int q = 1; q <= count; ++q) {
            SCOPED_TRACE("question " + std::to_string(q));
            if (q > 1) {
                host().click(panel().CmdGN(1));
                host().runUntilIdle();
            }
            ASSERT_EQ(g().CurrentQuestion, q);
            roadtest::QuestionSteps steps(*h);
            // Every third question from its second step, done by hand beforehand.
            if (q % 3 == 0 && steps.code() != "9999" && run(q).size() > 2) steps.act();
            const auto before = std::make_tuple(g().CurrentStep, g().ResumeStep[q], g().QuestionState[q],
                                                g().QuestionPictures[q], sim().laidOutRecord());
            const auto data = filesUnder(folder.dataDir());
            const auto records = filesUnder(folder.ksdata());

            demonstrate(q);
            if (HasFatalFailure()) return;
            ++demonstrated;

            EXPECT_FALSE(g().DemoRunning);
            EXPECT_TRUE(sim().visible());
            EXPECT_TRUE(panel().visible());
            EXPECT_EQ(g().InteractionMode, 2);
            EXPECT_EQ(std::make_tuple(g().CurrentStep, g().ResumeStep[q], g().QuestionState[q],
                                      g().QuestionPictures[q], sim().laidOutRecord()),
                      before);
            EXPECT_EQ(filesUnder(folder.dataDir()), data);
            EXPECT_EQ(filesUnder(folder.ksdata()), records);
        }
        // Back home with the end of practice: its records are the practice's own business.
        host().click(panel().CmdGN(5));
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    }
    EXPECT_EQ(demonstrated, 105);
    EXPECT_TRUE(h->reports().empty());
}

// After a demonstration the learner completes the question by hand from where they were.
TEST_F(DemonstrationRoad, AQuestionDemonstratedInTheMiddleIsThenCompletedByHand) {
    start();
    openUnit(0, 37);
    click(20);
    for (int q = 1; q <= g().QuestionCount; ++q) {
        SCOPED_TRACE("question " + std::to_string(q));
        if (q > 1) {
            host().click(panel().CmdGN(1));
            host().runUntilIdle();
        }
        roadtest::QuestionSteps steps(*h);
        if (steps.code() != "9999" && run(q).size() > 2) steps.act();
        demonstrate(q);
        if (HasFatalFailure()) return;
        steps.workQuestion();
        EXPECT_EQ(g().QuestionState[q] & 4, 4);
        EXPECT_TRUE(sim().LblSuccess.visible());
    }
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
