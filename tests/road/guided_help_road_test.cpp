// Guided help over every step of the sample module, headless: each unit practised from the home
// screen with guided help switched on for each question, the hint seen whole on every step.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "forms/controls.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"
#include "tests/road/question_steps.h"

namespace {

using hometest::HomeRun;

forms::Rect inForm(const forms::Control& c) {
    const forms::Point o = c.originInForm();
    return {o.x, o.y, c.width(), c.height()};
}
bool overlaps(const forms::Rect& a, const forms::Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}
std::string text(const forms::Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) + " x " +
           std::to_string(r.height) + ")";
}

class GuidedHelpRoad : public ::testing::Test, public HomeRun {
protected:
    GuidedHelpRoad() { folder.installSampleBank(); }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    headless::HeadlessHost& host() { return h->host; }

    // The hint on screen lies inside the window, clear of every real control there: the
    // window draws those over its pictures and labels.
    void expectHintSeen() {
        qz::FrmMain& m = sim();
        ASSERT_TRUE(m.LHelp.visible());
        const forms::Rect hint = inForm(m.LHelp);
        const forms::Size client = m.clientSize();
        EXPECT_TRUE(hint.left >= 0 && hint.top >= 0 && hint.left + hint.width <= client.width &&
                    hint.top + hint.height <= client.height)
            << "the hint " << text(hint) << " leaves the window";
        EXPECT_GT(hint.width, 0);
        forms::forEachDescendant(m, [&](const forms::Control& c) {
            if (!c.windowed() || !c.effectivelyVisible()) return;
            EXPECT_FALSE(overlaps(hint, inForm(c))) << c.name() << " " << text(inForm(c)) << " lies over the hint "
                                                    << text(hint) << " \"" << m.LHelp.caption() << "\"";
        });
    }
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
                expectHintSeen();
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
