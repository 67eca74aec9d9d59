// A demonstration asked for on the practice road and the practice ended before it started:
// the next practice, launched from the home screen, must be a practice like any other.
#include <gtest/gtest.h>

#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"
#include "tests/road/question_steps.h"

namespace {

class DemonstrationRequest : public ::testing::Test, public hometest::HomeRun {
protected:
    DemonstrationRequest() { folder.installSampleBank(); }

    headless::HeadlessHost& host() { return h->host; }
    qz::FrmTm& panel() {
        qz::FrmTm* tm = h->p().loadedFrmTm();
        EXPECT_NE(tm, nullptr);
        return *tm;
    }
    // Unit 0, all of it, from the home screen standing idle.
    void launchUnitZero() {
        openUnit(0, 37);
        click(20);
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        ASSERT_TRUE(h->isLoaded("FrmMain"));
    }
};

TEST_F(DemonstrationRequest, APracticeEndedDuringTheWaitLeavesTheNextOneTakingInput) {
    start();
    launchUnitZero();
    host().click(panel().CmdGN(7));
    host().click(panel().CmdGN(5));  // within the 200 ms before the player starts
    host().runUntilIdle();
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("frmYanShi"));
    EXPECT_FALSE(g().DemoRunning);

    launchUnitZero();
    roadtest::QuestionSteps steps(*h);
    const int step = g().CurrentStep;
    steps.act();
    EXPECT_GT(g().CurrentStep, step) << "the simulated window refused step " << steps.code();
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
