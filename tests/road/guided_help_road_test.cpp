// Guided help over every step of the sample module, headless: each unit practised from the home
// screen with guided help switched on for each question, the hint seen whole on every step:
// inside the window and clear of the real controls drawn over it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"
#include "tests/road/question_steps.h"
#include "tests/support/hint_seen.h"

namespace {

using hometest::HomeRun;

class GuidedHelpRoad : public ::testing::Test, public HomeRun {
protected:
    GuidedHelpRoad() { folder.installSampleBank(); }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    headless::HeadlessHost& host() { return h->host; }
};

TEST_F(GuidedHelpRoad, EveryHintOfTheSampleIsSeenWholeWhereItIsShown) {
    int stepsSeen = 0;
    std::set<std::string> typed;
    for (int unit = 0; unit < 12; ++unit) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        start();
        openUnit(unit, 37);
        click(20);
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        const int count = g().QuestionCount;
        ASSERT_GE(count, 1);
        for (int q = 1; q <= count; ++q) {
            SCOPED_TRACE("question " + std::to_string(q));
            if (q > 1) {
                g().CurrentQuestion = static_cast<std::int16_t>(q);
                panel().TimerREDO.setEnabled(true);
                host().runUntilIdle();
            }
            click(panel().CmdGN(6));
            roadtest::QuestionSteps steps(*h);
            for (int guard = 0; guard < 40 && steps.code() != "9999"; ++guard) {
                SCOPED_TRACE("step " + std::to_string(g().CurrentStep) + " \"" + steps.code() + "\"");
                ASSERT_EQ(g().InteractionMode, 1);
                ASSERT_TRUE(sim().LHelp.visible());
                EXPECT_EQ(testsupport::hintHidden(sim().LHelp), "");
                ++stepsSeen;
                if (const std::string c = steps.code(); c == "0020" || c == "0021" || c == "A111") typed.insert(c);
                const int step = g().CurrentStep;
                steps.act();
                ASSERT_GT(g().CurrentStep, step) << "the step was not completed";
            }
        }
    }
    EXPECT_GT(stepsSeen, 60);
    // The command line's typing steps among them.
    EXPECT_EQ(typed, (std::set<std::string>{"0020", "0021", "A111"}));
}

}  // namespace
