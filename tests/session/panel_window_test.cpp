// The panel as a window: the unload guard, its drag strips, the small panel it shrinks to,
// the unfinished-questions tip, giving the keyboard back, and the picture window.
#include "tests/session/panel_fixture.h"

#include "platform/numbers.h"

namespace paneltest {
namespace {

using headless::HeadlessHost;

class PanelWindow : public PanelTest {
public:
    // A session on screen: the panel shown over the simulated window, as a launch leaves it.
    qz::FrmTm& open(int count = 3, int twipsPerPixel = 15) {
        start(count, 1, twipsPerPixel);
        if (!std::filesystem::exists(folder.dataFile(QuestionFileName))) writeQuestions({record("任务")});
        panel().show();
        settle();
        return panel();
    }
    void settle(int ms = 300) { h->host.runFor(ms); }
    // The simulated window away from the front, so that bringing it back shows.
    void sendMainAway() {
        sim().setWindowState(1);
        sim().hide();
    }
    bool mainBack() { return sim().visible() && sim().windowState() == 0; }
    forms::Point at(const forms::Control& c, int dx, int dy) {
        const forms::Form& f = c.form();
        const forms::Point o = c.originInForm();
        return {f.left() + f.clientOffset().x + o.x + dx, f.top() + f.clientOffset().y + o.y + dy};
    }
};

TEST_F(PanelWindow, UnloadIsRefusedUntilTheSessionAllowsIt) {
    // A flag left set by an earlier session does not reach this one.
    start();
    writeQuestions({record("任务")});
    g().AllowPanelUnload = 1;
    qz::FrmTm& f = panel();
    EXPECT_EQ(g().AllowPanelUnload, 0);
    f.show();
    f.GridPage = 3;

    EXPECT_FALSE(f.unload());
    h->p().rt.postClose(f);  // the window manager's close
    settle();
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(f.GridPage, 3);

    g().AllowPanelUnload = 1;
    EXPECT_TRUE(f.unload());
    settle();
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_EQ(panel().GridPage, 0);  // the next touch loads it afresh
}

TEST_F(PanelWindow, TitleStripDragsWithTheLeftButtonAndAlwaysGivesTheKeyboardBack) {
    qz::FrmTm& f = open();
    const forms::Point from = HeadlessHost::centreOf(f.lblMove);
    const int left = f.left(), top = f.top();
    sendMainAway();
    h->host.drag(f.lblMove, {from.x - 2000, from.y - 900});
    settle();
    EXPECT_EQ(f.left(), left - 2000);
    EXPECT_EQ(f.top(), top - 900);
    EXPECT_TRUE(mainBack());

    sendMainAway();
    h->host.click(f.lblMove, forms::buttons::Right);
    settle();
    EXPECT_EQ(f.left(), left - 2000);  // not moved, and not docked either
    EXPECT_TRUE(mainBack());
}

TEST_F(PanelWindow, MinimiseDocksTheSmallPanelBottomLeftAndRestoreDocksBottomRight) {
    testsupport::writePng(folder.file("FrmZXH.png"), 54, 58);  // the small panel's face, beside the program
    for (int tpp : {15, 20}) {
        SCOPED_TRACE(tpp);
        qz::FrmTm& f = open(3, tpp);
        qz::FrmMain& m = sim();
        ASSERT_NE(f.FrmZXH.picture(), nullptr);
        f.moveTo(300, 200);  // wherever a drag left it
        h->host.click(f.LblZXH);
        settle();
        // The small panel keeps its design size at every scale.
        EXPECT_EQ(f.width(), 810);
        EXPECT_EQ(f.height(), 870);
        EXPECT_EQ(f.left(), m.left());
        EXPECT_EQ(f.top(), m.top() + m.height() - 870);
        EXPECT_TRUE(f.FrmZXH.visible());

        // Docking by the simulated window keeps the small size.
        m.lblMove_MouseDown(forms::buttons::Right, 0, 0, 0);
        EXPECT_EQ(f.width(), 810);
        EXPECT_EQ(f.left(), m.left() + m.width() - 810);
        EXPECT_TRUE(f.FrmZXH.visible());

        sendMainAway();
        h->host.click(f.Command2);
        settle();
        EXPECT_EQ(f.width(), h->p().sx(4980));
        EXPECT_EQ(f.height(), h->p().sy(3630));
        EXPECT_EQ(f.left(), m.left() + m.width() - f.width());
        EXPECT_EQ(f.top(), m.top() + m.height() - f.height());
        EXPECT_FALSE(f.FrmZXH.visible());
        EXPECT_TRUE(mainBack());
    }
}

TEST_F(PanelWindow, SmallPanelDragsAndShowsItsRestoreLabelOnHover) {
    qz::FrmTm& f = open();
    h->host.click(f.LblZXH);
    settle();
    const forms::Point bare = at(f.FrmZXH, 40, 840);  // neither strip nor restore label

    h->host.moveTo(f.Command2);
    settle();
    EXPECT_EQ(f.Command2.borderStyle(), 1);
    h->host.moveTo(bare);
    settle();
    EXPECT_EQ(f.Command2.borderStyle(), 0);

    // Right presses move nothing; only the strip gives the keyboard back.
    struct Case {
        const char* what;
        forms::Point where;
        bool bringsMainBack;
    };
    const int left = f.left(), top = f.top();
    for (const Case& c : {Case{"strip", HeadlessHost::centreOf(f.Label2), true}, Case{"small panel", bare, false}}) {
        SCOPED_TRACE(c.what);
        h->host.moveTo(f.Command2);
        settle();
        sendMainAway();
        h->host.clickAt(c.where, forms::buttons::Right);
        settle();
        EXPECT_EQ(f.Command2.borderStyle(), 0);
        EXPECT_EQ(mainBack(), c.bringsMainBack);
        EXPECT_EQ(f.left(), left);
        EXPECT_EQ(f.top(), top);
    }

    // The strip drags it by the pointer's travel, and it stays where it is dropped.
    const forms::Point from = HeadlessHost::centreOf(f.Label2);
    h->host.moveTo(f.Command2);
    settle();
    sendMainAway();
    h->host.drag(f.Label2, {from.x + 1200, from.y - 700});
    settle();
    EXPECT_EQ(f.left(), left + 1200);
    EXPECT_EQ(f.top(), top - 700);
    EXPECT_EQ(f.Command2.borderStyle(), 0);
    EXPECT_TRUE(mainBack());
    EXPECT_TRUE(f.FrmZXH.visible());
}

TEST_F(PanelWindow, UnfinishedQuestionsTipShowsTheCaptionAsItWasLastPointedAt) {
    qz::FrmTm& f = open(3);
    const std::string shown = f.LblUnit.caption();
    ASSERT_EQ(shown, "未完成的题目 1 2 3");
    h->host.moveTo(f.LblUnit);
    settle();
    EXPECT_EQ(f.LblUnit.toolTipText(), shown);

    f.LblUnit.setCaption("未完成的题目 2 3");
    EXPECT_EQ(f.LblUnit.toolTipText(), shown);
    h->host.click(f.LblUnit);
    settle();
    EXPECT_EQ(f.LblUnit.toolTipText(), "未完成的题目 2 3");
}

TEST_F(PanelWindow, TaskTextAndReleasedKeysGiveTheKeyboardBack) {
    qz::FrmTm& f = open();
    sendMainAway();
    h->host.click(f.RtbTM);
    settle();
    EXPECT_TRUE(mainBack());

    int key = 65;
    for (const char* where : {"RtbTM", "PicUnit", "form"}) {
        SCOPED_TRACE(where);
        sendMainAway();
        if (std::string(where) == "RtbTM") f.RtbTM.KeyUp(key, 0);
        else if (std::string(where) == "PicUnit") f.PicUnit.KeyUp(key, 0);
        else f.Form_KeyUp(key, 0);
        EXPECT_TRUE(mainBack());
    }
}

TEST_F(PanelWindow, PictureButtonShowsAndHidesTheCentredTopmostPictureWindow) {
    for (int tpp : {15, 12}) {
        SCOPED_TRACE(tpp);
        folder.writePicture("ab12cd", 200, 100);
        writeQuestions({record("pictureab12cd画出图中的圆")});
        qz::FrmTm& f = open(1, tpp);
        qz::FrmPicture& w = pictureWindow();
        // The display's first touch loaded the window; it is sized and raised, still hidden.
        EXPECT_EQ(w.Image1.left(), h->p().sx(60));
        EXPECT_EQ(w.Image1.top(), h->p().sy(60));
        EXPECT_EQ(w.width(), 200 * tpp + h->p().sx(120));
        EXPECT_EQ(w.height(), 100 * tpp + h->p().sy(120));
        EXPECT_TRUE(w.topmost());
        EXPECT_FALSE(w.visible());
        ASSERT_TRUE(f.Image2.visible());

        w.moveTo(0, 0);  // dragged away since the last opening
        h->host.click(f.Image2);
        settle();
        EXPECT_TRUE(w.visible());
        EXPECT_EQ(f.Image2.Caption(), "隐藏图片");
        const forms::Size screen = h->host.screenSize();
        EXPECT_EQ(w.left(), platform::clng((screen.width - w.width()) / 2.0));
        EXPECT_EQ(w.top(), platform::clng((screen.height - w.height()) / 2.0));

        h->host.click(f.Image2);
        settle();
        EXPECT_FALSE(w.visible());
        EXPECT_EQ(f.Image2.Caption(), "显示图片");
    }
}

TEST_F(PanelWindow, PictureWindowDragsByItsPictureWithTheLeftButtonOnly) {
    folder.writePicture("ab12cd", 200, 100);
    writeQuestions({record("pictureab12cd画出图中的圆")});
    qz::FrmTm& f = open(1);
    h->host.click(f.Image2);
    settle();
    qz::FrmPicture& w = pictureWindow();
    const int left = w.left(), top = w.top();
    h->host.click(w.Image1, forms::buttons::Right);
    settle();
    EXPECT_EQ(w.left(), left);
    const forms::Point from = HeadlessHost::centreOf(w.Image1);
    h->host.drag(w.Image1, {from.x + 600, from.y + 300});
    settle();
    EXPECT_EQ(w.left(), left + 600);
    EXPECT_EQ(w.top(), top + 300);

    // The next opening puts it back in the middle.
    h->host.click(f.Image2);
    h->host.click(f.Image2);
    settle();
    EXPECT_EQ(w.left(), left);
    EXPECT_EQ(w.top(), top);
}

}  // namespace
}  // namespace paneltest
