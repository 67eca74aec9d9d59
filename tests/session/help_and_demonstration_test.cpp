// Guided help and the start of a demonstration from the panel: the hints and marks at once,
// the question read again for the player, the two-tick wait and what the start hides.
#include <filesystem>
#include <functional>

#include "session/question_sets.h"
#include "tests/session/help_fixture.h"
#include "tests/support/scoped_failure.h"

namespace paneltest {
namespace {

using HelpAndDemonstration = HelpSession;

TEST_F(HelpAndDemonstration, GuidedHelpShowsTheStepsHintsAtOnceUntilTheNextQuestion) {
    session();
    qz::FrmTm& f = panel();
    EXPECT_TRUE(noHints());
    sim().setWindowState(1);

    f.CmdGN_Click(6);
    EXPECT_EQ(g().InteractionMode, 1);
    EXPECT_TRUE(hintsShown());
    EXPECT_EQ(sim().LHelp.caption(), "点这里");
    EXPECT_EQ(sim().windowState(), 0);
    EXPECT_TRUE(sim().visible());

    // The next step keeps them, around its own hot spot and work area.
    h->host.click(sim().Label1);
    settle();
    EXPECT_EQ(g().CurrentStep, 2);
    EXPECT_TRUE(hintsShown());
    EXPECT_EQ(sim().LHelp.caption(), "再点这里");
    EXPECT_EQ(sim().Shape1.rect(), sim().Label1.rect());
    EXPECT_EQ(sim().Shape1.left(), 4000);
    EXPECT_EQ(sim().Shape4.rect(), sim().Label4.rect());
    EXPECT_EQ(sim().Shape4.left(), 2000);

    // Another question is practice again, without hints.
    f.CmdGN_Click(1);
    settle();
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_TRUE(noHints());
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HelpAndDemonstration, TheDemonstrationStartsOnTheSecondTickWithTheQuestionReadAgain) {
    session();
    qz::FrmTm& f = panel();
    g().ResumeStep[1] = 2;
    g().CurrentStep = 2;
    g().QuestionState[1] = 3;
    f.CmdGN_Click(6);  // guided help first: the return is practice all the same
    pictureWindow().show();
    f.Image2.setCaption("隐藏图片");

    h->host.click(f.CmdGN(7));
    h->host.runFor(50);
    EXPECT_TRUE(g().DemoRunning);
    EXPECT_TRUE(f.TimStartYS.timerEnabled());
    EXPECT_FALSE(pictureWindow().visible());
    EXPECT_EQ(f.Image2.Caption(), "显示图片");
    EXPECT_FALSE(f.Image2.visible());
    // The player shows the text as the file has it, marks and all.
    EXPECT_EQ(f.RtbTM.text(), "画一条直线|再画一个圆");
    EXPECT_EQ(g().QuestionLine, record("画一条直线|再画一个圆"));

    for (int tick = 1; tick <= 2; ++tick) {
        SCOPED_TRACE(tick);
        h->host.runFor(100);
        if (tick == 1) {
            EXPECT_EQ(f.DemoStartTicks, 1);
            EXPECT_EQ(h->p().loadedFrmYanShi(), nullptr);
            EXPECT_TRUE(f.visible());
            EXPECT_TRUE(sim().visible());
        }
    }
    EXPECT_EQ(f.DemoStartTicks, 0);
    EXPECT_FALSE(f.TimStartYS.timerEnabled());
    EXPECT_FALSE(f.visible());
    EXPECT_FALSE(sim().visible());
    ASSERT_NE(h->p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(h->p().loadedFrmYanShi()->visible());
    EXPECT_TRUE(g().DemoRunning);
    // Shown after both session windows were hidden.
    const auto& log = h->host.shownLog;
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{"hide FrmMain", "hide FrmTm", "show frmYanShi"}));

    // The question comes back where the learner left it, in practice.
    endAsThePlayerDoes();
    EXPECT_EQ(g().CurrentStep, 2);
    EXPECT_EQ(g().ResumeStep[1], 2);
    EXPECT_EQ(g().QuestionState[1], 3);
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_TRUE(noHints());
    EXPECT_EQ(f.RtbTM.text(), "画一条直线\r\n再画一个圆");

    // A later demonstration waits its two ticks again.
    f.CmdGN_Click(7);
    h->host.runFor(150);
    EXPECT_EQ(h->p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(f.visible());
    h->host.runFor(100);
    EXPECT_NE(h->p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HelpAndDemonstration, APictureQuestionKeepsItsPictureAndButtonDuringTheWait) {
    session(2);
    qz::FrmTm& f = panel();
    // Another picture in the window, as a file changed under the session would leave it.
    pictureWindow().Image1.setPicture(h->p().SkinPicture("zz0001"));

    f.CmdGN_Click(7);
    EXPECT_EQ(pictureId(pictureWindow().Image1.picture()), "ab12cd");
    EXPECT_EQ(f.RtbTM.text(), "看图画圆|两个");
    EXPECT_TRUE(f.Image2.visible());
    EXPECT_EQ(f.Image2.Caption(), "显示图片");
    EXPECT_FALSE(pictureWindow().visible());

    // A picture that cannot be read leaves the window's picture as it was.
    endAsThePlayerDoes();
    pictureWindow().Image1.setPicture(h->p().SkinPicture("zz0001"));
    removeSkin("ab12cd");
    f.CmdGN_Click(7);
    EXPECT_EQ(pictureId(pictureWindow().Image1.picture()), "zz0001");
    EXPECT_EQ(f.RtbTM.text(), "看图画圆|两个");
    EXPECT_TRUE(g().DemoRunning);
    EXPECT_TRUE(f.TimStartYS.timerEnabled());
    EXPECT_TRUE(h->reports().empty());
}

// The player reads the panel's text, so the line must be the current question's whenever the
// file allows it, and never an empty one because the file failed.
TEST_F(HelpAndDemonstration, TheQuestionIsReadAgainAndAFileThatFailsKeepsThePreviousLine) {
    struct Case {
        const char* what;
        std::function<void(HelpAndDemonstration&)> change;
        std::string line;
    };
    const std::string before = record("第三题");
    const std::vector<Case> table = {
        {"rewritten",
         [](HelpAndDemonstration& t) {
             t.writeQuestions({record("一"), record("二"), record("新题|两行")});
         },
         record("新题|两行")},
        {"shorter: its last line",
         [](HelpAndDemonstration& t) {
             t.writeQuestions({record("一"), record("只有两题")});
         },
         record("只有两题")},
        {"empty", [](HelpAndDemonstration& t) { t.writeQuestions({}); }, before},
        {"missing", [](HelpAndDemonstration& t) { std::filesystem::remove(t.folder.dataFile(QuestionFileName)); },
         before},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.what);
        session(3);
        ASSERT_EQ(g().QuestionLine, before);
        c.change(*this);
        panel().CmdGN_Click(7);
        EXPECT_EQ(g().QuestionLine, c.line);
        EXPECT_EQ(panel().RtbTM.text(), qz::QuestionRecord{c.line}.text());
        EXPECT_TRUE(g().DemoRunning);
        EXPECT_TRUE(panel().TimStartYS.timerEnabled());
        settle();
        EXPECT_NE(h->p().loadedFrmYanShi(), nullptr);
    }
    // Unreadable, not only missing.
    session(3);
    testsupport::ScopedReadFailure unreadable(folder.dataFile(QuestionFileName));
    panel().CmdGN_Click(7);
    EXPECT_EQ(g().QuestionLine, before);
    EXPECT_EQ(panel().RtbTM.text(), "第三题");
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
}  // namespace paneltest
