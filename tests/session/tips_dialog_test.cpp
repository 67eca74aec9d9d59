// The exam's tips dialog: its window, the ways back to the exam, and the answer shown at once,
// which turns the exam into practice and starts the demonstration.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "session/FrmCZTS.h"
#include "tests/session/help_fixture.h"

namespace paneltest {
namespace {

class TipsDialog : public HelpSession {
public:
    // An exam on question q with the skins of the panel's mark buttons and of the dialog.
    void exam(int q = 1, int twipsPerPixel = 15) {
        for (const char* id : {"l62011", "l01003", "l01011", "l01053", "l01054", "l01038", "l01039"})
            folder.writePicture(id, 512, 30);  // four frames of 1920 x 450
        session(q, true, twipsPerPixel);
    }
    qz::FrmCZTS* dialog() { return h->p().loadedFrmCZTS(); }
    // The panel's tips button clicked; `inside` runs while the dialog is open, as the next
    // script step, and must close it or leave a step that does.
    void openTips(std::function<void(qz::FrmCZTS&)> inside, int ms = 500) {
        h->host.click(panel().CmdGN(10));
        h->host.then([this, inside] {
            ASSERT_NE(dialog(), nullptr);
            EXPECT_TRUE(dialog()->visible());
            EXPECT_EQ(h->p().rt.topModal(), dialog());
            inside(*dialog());
        });
        h->host.runFor(ms);
    }
    // A point of the window's background, clear of the labels and buttons.
    static forms::Point background(const qz::FrmCZTS& d) {
        return {d.left() + d.clientOffset().x + 150, d.top() + d.clientOffset().y + 200};
    }
    // The exam as the panel keeps it while no answer has been asked for.
    void expectStillAnExam() {
        EXPECT_EQ(dialog(), nullptr);
        EXPECT_EQ(g().InteractionMode, 3);
        EXPECT_EQ(g().ExamStartTime, "2026-12-10 09:00:00");
        EXPECT_FALSE(g().DemoRunning);
        EXPECT_FALSE(panel().TimStartYS.timerEnabled());
        EXPECT_FALSE(panel().PicUnit.visible());
        for (int k = 5; k <= 10; ++k) EXPECT_EQ(panel().CmdGN(k).visible(), k >= 8) << k;
        EXPECT_EQ(pictureId(panel().CmdGN(3).Picture()), "l01053");
        EXPECT_EQ(h->p().loadedFrmYanShi(), nullptr);
    }
};

TEST_F(TipsDialog, TheWindowKeepsItsDesignSizeAndScalesOnlyItsButtons) {
    for (int tpp : {15, 12}) {
        SCOPED_TRACE(tpp);
        exam(1, tpp);
        openTips([&](qz::FrmCZTS& d) {
            EXPECT_EQ(d.formBorderStyle(), 1);
            EXPECT_EQ(d.clientSize().width, 4815);
            EXPECT_EQ(d.clientSize().height, 5130);
            const forms::Size screen = h->host.screenSize();
            EXPECT_EQ(d.left(), (screen.width - d.width()) / 2);
            EXPECT_EQ(d.top(), (screen.height - d.height()) / 2);
            EXPECT_TRUE(d.topmost());
            EXPECT_EQ(d.caption(), "Quorvane练习系统");
            EXPECT_EQ(pictureId(d.icon()), "l62011");

            EXPECT_EQ(d.Shape1.rect(), (forms::Rect{60, 60, 4695, 5010}));
            EXPECT_EQ(d.Shape1.borderColor(), 0x808080u);
            EXPECT_EQ(d.Shape2.rect(), (forms::Rect{75, 75, 4695, 5010}));
            EXPECT_EQ(d.Shape2.borderColor(), forms::colors::White);

            EXPECT_EQ(d.Label3.caption(), "请注意!!!");
            EXPECT_EQ(d.Label3.left(), 240);
            EXPECT_EQ(d.Label3.top(), 360);
            EXPECT_TRUE(d.Label3.autoSize());
            EXPECT_EQ(d.Label3.foreColor(), 0xFF0000u);
            EXPECT_EQ(d.Label2.rect(), (forms::Rect{240, 840, 4380, 3540}));
            EXPECT_EQ(d.Label2.foreColor(), 0x0000FFu);
            EXPECT_TRUE(d.Label2.wordWrap());
            for (const forms::Label* l : {&d.Label3, &d.Label2}) {
                EXPECT_EQ(l->backStyle(), 0);
                EXPECT_EQ(l->font().name, "宋体");
                EXPECT_EQ(l->font().size, 12);
            }
            // Three paragraphs, an empty line between them, all inside the label.
            const std::string text = d.Label2.caption();
            EXPECT_TRUE(text.starts_with("1.正式考试时不能看答案。\r\n\r\n2.如果有不会做的题目")) << text;
            EXPECT_TRUE(text.ends_with("\r\n\r\n3.如果你实在等不及了，可以点“我想立即看答案”。")) << text;
            EXPECT_LE(static_cast<int>(d.Label2.lines().size()) * d.Label2.lineHeight(), d.Label2.height());

            const int w = h->p().sx(1920), ht = h->p().sy(450);
            EXPECT_EQ(w, tpp == 15 ? 1920 : 1536);
            EXPECT_EQ(d.Command1.rect(), (forms::Rect{360, 4440, w, ht}));
            EXPECT_EQ(d.Command2.rect(), (forms::Rect{2520, 4440, w, ht}));
            EXPECT_EQ(pictureId(d.Command1.Picture()), "l01038");
            EXPECT_EQ(pictureId(d.Command2.Picture()), "l01039");
            EXPECT_EQ(d.Command1.Caption(), "");
            h->host.click(d.Command1);
        });
        EXPECT_EQ(dialog(), nullptr);
    }
    EXPECT_TRUE(h->reports().empty());
}

// Without its picture the back button has nothing to click; the text still closes the dialog.
TEST_F(TipsDialog, AMissingSkinCostsOnlyItsPicture) {
    exam();
    removeSkin("l01038");
    openTips([&](qz::FrmCZTS& d) {
        EXPECT_EQ(d.Command1.Picture(), nullptr);
        EXPECT_EQ(pictureId(d.Command2.Picture()), "l01039");
        EXPECT_EQ(d.Command1.width(), 1920);
        EXPECT_EQ(d.Command2.height(), 450);
        EXPECT_TRUE(d.topmost());
        h->host.click(d.Label2);
    });
    expectStillAnExam();
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(TipsDialog, EachWayBackLeavesTheExamAsItWas) {
    struct Case {
        const char* what;
        std::function<void(headless::HeadlessHost&, qz::FrmCZTS&)> close;
    };
    const std::vector<Case> table = {
        {"the back button", [](headless::HeadlessHost& host, qz::FrmCZTS& d) { host.click(d.Command1); }},
        {"the background", [](headless::HeadlessHost& host, qz::FrmCZTS& d) { host.clickAt(background(d)); }},
        {"the notice", [](headless::HeadlessHost& host, qz::FrmCZTS& d) { host.click(d.Label2); }},
        {"the heading", [](headless::HeadlessHost& host, qz::FrmCZTS& d) { host.click(d.Label3); }},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.what);
        exam();
        const std::int64_t due = panel().TimeKS.due;
        openTips([&](qz::FrmCZTS& d) { c.close(h->host, d); });
        expectStillAnExam();
        EXPECT_TRUE(panel().TimeKS.timerEnabled());
        EXPECT_EQ(panel().TimeKS.due, due);
        settle(1000);
        expectStillAnExam();
    }
    EXPECT_TRUE(h->host.messageBoxes.empty());
}

TEST_F(TipsDialog, NoKeepsTheDialogOpenAndTheTextThenClosesIt) {
    exam();
    openTips([&](qz::FrmCZTS& d) {
        h->host.answerMessageBox(forms::mb::ResultNo);
        h->host.click(d.Command2);
        h->host.then([&] {
            ASSERT_EQ(h->host.messageBoxes.size(), 1u);
            const forms::MessageBoxRequest& box = h->host.messageBoxes[0];
            EXPECT_EQ(box.title, "不建议您立即看答案");
            EXPECT_EQ(box.prompt,
                      "立即看答案将不能测试您的实际水平，如果你坚持现在看答案，成绩将不记入本次练习记录！\r\n"
                      "您现在就要看答案吗？");
            EXPECT_EQ(box.flags, forms::mb::YesNo);  // no icon
            ASSERT_NE(dialog(), nullptr);
            EXPECT_TRUE(dialog()->visible());
            EXPECT_EQ(g().InteractionMode, 3);
            h->host.click(dialog()->Label2);
        });
    });
    expectStillAnExam();
}

// Yes in full: the exam becomes practice for good, its result unrecorded, and the question on
// screen is demonstrated from step 1 and then taken up again where the learner was.
TEST_F(TipsDialog, YesTurnsTheExamIntoPracticeAndDemonstratesTheQuestion) {
    exam(1);
    h->host.click(sim().Label1);  // the first step done by hand
    settle();
    ASSERT_EQ(g().CurrentStep, 2);
    ASSERT_EQ(g().ResumeStep[1], 2);
    const std::int64_t due = panel().TimeKS.due;
    const std::int16_t minutes = g().ExamMinutesLeft;
    const std::int16_t state = g().QuestionState[1];
    g().AllowPanelUnload = 1;  // anything left over: the practice guards its panel again
    h->host.shownLog.clear();

    openTips(
        [&](qz::FrmCZTS& d) {
            h->host.answerMessageBox(forms::mb::ResultYes);
            h->host.click(d.Command2);
        },
        50);
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(g().InteractionMode, 2);
    qz::FrmTm& f = panel();
    EXPECT_EQ(pictureId(f.CmdGN(3).Picture()), "l01003");
    EXPECT_EQ(pictureId(f.CmdGN(11).Picture()), "l01011");
    EXPECT_TRUE(f.PicUnit.visible());
    for (int k = 5; k <= 10; ++k) EXPECT_EQ(f.CmdGN(k).visible(), k <= 7) << k;
    EXPECT_EQ(g().AllowPanelUnload, 0);
    EXPECT_EQ(g().ExamStartTime, "-1");
    EXPECT_TRUE(sim().visible());
    EXPECT_TRUE(g().DemoRunning);
    EXPECT_EQ(g().CurrentStep, 1);
    EXPECT_TRUE(f.TimStartYS.timerEnabled());
    EXPECT_TRUE(f.TimKsModel.timerEnabled());
    // The dialog is gone before the simulated window is shown again.
    const auto& log = h->host.shownLog;
    const auto gone = std::find(log.begin(), log.end(), "hide FrmCZTS");
    ASSERT_NE(gone, log.end());
    EXPECT_NE(std::find(gone, log.end(), "show FrmMain"), log.end());
    EXPECT_EQ(std::find(log.begin(), gone, "show FrmMain"), gone);

    // The player from the panel's second tick, the session's windows out of its way.
    h->host.runFor(100);  // the first tick
    EXPECT_EQ(h->p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(f.visible());
    h->host.runFor(100);
    ASSERT_NE(h->p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(h->p().loadedFrmYanShi()->visible());
    EXPECT_FALSE(f.visible());
    EXPECT_FALSE(sim().visible());
    EXPECT_TRUE(g().DemoRunning);
    // The task as the exam showed it: this road does not read the question again.
    EXPECT_EQ(f.RtbTM.text(), "画一条直线\r\n再画一个圆");
    settle(600);
    for (int k = 5; k <= 10; ++k) EXPECT_EQ(f.CmdGN(k).visible(), k <= 7) << k;

    // Back in practice at the step the learner had reached, with the exam's clock untouched.
    endAsThePlayerDoes();
    EXPECT_EQ(g().CurrentStep, 2);
    EXPECT_EQ(g().ResumeStep[1], 2);
    EXPECT_EQ(g().QuestionState[1], state);
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_EQ(sim().Label1.left(), 4000);
    EXPECT_TRUE(f.TimeKS.timerEnabled());
    EXPECT_EQ(f.TimeKS.due, due);
    EXPECT_EQ(g().ExamMinutesLeft, minutes);
    h->host.click(sim().Label1);
    settle();
    EXPECT_TRUE(sim().LblSuccess.visible());  // practice tells the learner
    EXPECT_EQ(g().QuestionState[1] & 4, 4);
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
}  // namespace paneltest
