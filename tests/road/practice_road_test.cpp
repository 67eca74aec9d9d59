// The practice road end to end, headless: from the home screen into unit 0 of the sample
// module, through every question with the actions its steps expect, and wrong actions in
// between that must change nothing.
#include <gtest/gtest.h>

#include "home/FrmFengmian.h"
#include "platform/legacy_text.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"
#include "tests/home/home_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using hometest::HomeRun;
namespace b = forms::buttons;

class PracticeRoad : public ::testing::Test, public HomeRun {
protected:
    PracticeRoad() { folder.installSampleBank(); }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    headless::HeadlessHost& host() { return h->host; }
    std::string code() const {
        const std::string& r = h->p().frmMain().laidOutRecord();
        return r.size() >= 11 ? r.substr(7, 4) : "";
    }

    // Starts unit practice on unit 0 with a filter button: 37 all, 38 learned, 39 not learned.
    void launch(int filter) {
        start();
        click(4);
        click(filter);
        click(20);
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        ASSERT_FALSE(h->isLoaded("FrmFengmian"));
    }

    // Actions that no step of the sample expects: they must leave everything as it was.
    void wrongActions() {
        const auto before = std::make_tuple(g().CurrentStep, sim().StepCode, code());
        // A click on the screenshot far from the hot spot, and a key no step uses.
        forms::Point corner{sim().left() + 30, sim().top() + sim().height() - 30};
        host().clickAt(corner);
        host().key(0x7B);  // F12
        host().runUntilIdle();
        EXPECT_EQ(std::make_tuple(g().CurrentStep, sim().StepCode, code()), before);
    }

    // What the step on screen expects, done once through the script.
    void act() {
        qz::FrmMain& m = sim();
        const std::string c = code();
        const int value = m.StepCode;
        if (c == "0002") {
            host().doubleClick(m.Label1);
        } else if (c == "0003") {
            host().click(m.Label1, b::Right);
        } else if (c == "2000" || c == "6002") {
            host().key(forms::vk::Return);
        } else if (c == "0030") {
            host().moveTo(forms::Point{m.left() + 15, m.top() + 15});
            host().moveTo(m.Label1);
        } else if (c == "8888") {
            host().pause(1100);
        } else if (value / 1000 == 6) {
            host().key(qz::steps::remapKey(value % 100), (value % 1000) / 100);
        } else if (value / 1000 == 9 && value != 9999) {
            host().click(m.Label1, value % 100, (value % 1000) / 100);
        } else {
            host().click(m.Label1);
        }
        host().runUntilIdle();
    }

    // Works the question on screen to its "9999"; returns the number of its steps.
    int workQuestion() {
        for (int guard = 0; guard < 40 && code() != "9999"; ++guard) {
            wrongActions();
            const int step = g().CurrentStep;
            act();
            EXPECT_GT(g().CurrentStep, step) << "step " << code() << " was not completed";
            if (g().CurrentStep <= step) break;
        }
        EXPECT_EQ(code(), "9999");
        return g().CurrentStep;
    }

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

}  // namespace
