// How a demonstration ends and what it hands back.
#include "tests/demo/player_fixture.h"

namespace playertest {
namespace {

class PlayerEnd : public PlayerTest, public ::testing::WithParamInterface<int> {};

// A point of the player's background, in screen twips, where nothing lies.
forms::Point background(qz::frmYanShi& y) { return {y.left() + 3000, y.top() + 6000}; }

TEST_P(PlayerEnd, EndKeysEndFromAnyFocusAndOtherKeysDoNothing) {
    struct Case {
        const char* what;
        int key;
        bool boxFocused;
        bool ends;
    };
    const Case cases[] = {
        {"Esc", 27, false, true},   {"Enter", 13, false, true}, {"Space", 32, false, true},
        {"Esc in the box", 27, true, true}, {"Enter in the box", 13, true, true}, {"Space in the box", 32, true, true},
        {"a letter", 65, false, false}, {"a letter in the box", 65, true, false},
        {"Delete in the box", 46, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeTexts({"001keep"});
        qz::frmYanShi& y =
            play({atStart("0001"), farOff("0001").box(600, 7000, 3000, 300).put(106, "001"), Rec("9999")}, GetParam());
        run(150);
        ASSERT_EQ(y.PlayerStep, 2);
        if (!c.boxFocused) y.setActiveControl(nullptr);
        EXPECT_EQ(y.Text1.hasFocus(), c.boxFocused);
        const std::string text = c.key == 65 ? "a" : c.key == 32 ? " " : c.key == 13 ? "\r" : "";
        h->host.key(c.key, 0, text);
        run(100);
        EXPECT_EQ(y.Text1.text(), "keep");
        EXPECT_EQ(y.TimEnd.timerEnabled(), c.ends);
        run(400);
        if (c.ends) {
            expectHandedBack();
        } else {
            ASSERT_NE(player(), nullptr);
            EXPECT_TRUE(g().DemoRunning);
        }
    }
}

TEST_P(PlayerEnd, ADoubleClickOnTheBackgroundOrAPictureEnds) {
    folder.writePicture("p00001", 20, 20);
    for (int k = 0; k <= 5; ++k) {
        SCOPED_TRACE(k);
        Rec r = farOff("0001");
        for (int i = 1; i <= 5; ++i) r.image(i, 500 + 700 * i, 300, "p00001");
        qz::frmYanShi& y = play({r, Rec("9999")}, GetParam());
        forms::Image* images[] = {nullptr, &y.Image1, &y.Image2, &y.Image3, &y.Image4, &y.Image5};
        if (k == 0) h->host.doubleClickAt(background(y));
        else h->host.doubleClick(*images[k]);
        run(100);
        EXPECT_TRUE(y.TimEnd.timerEnabled());
        run(500);
        expectHandedBack();
    }
}

TEST_P(PlayerEnd, AnEndStopsWhatIsUnderWay) {
    writeTexts({"001abcdefghij"});
    struct Case {
        const char* what;
        Rec record;
        forms::Timer qz::frmYanShi::*timer;
    };
    const Case cases[] = {
        {"a move", farOff("0001"), &qz::frmYanShi::Timer2},
        {"typing", Rec("0020").box(5700, 4400, 3000, 200).put(109, "001"), &qz::frmYanShi::Timer1},
        {"a picture drag", Rec("8000").image(5, 5700, 4350, "l62011").put(167, "0100000100"),
         &qz::frmYanShi::Timer3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qz::frmYanShi& y = play({c.record, Rec("9999")}, GetParam());
        run(650);
        ASSERT_TRUE((y.*c.timer).timerEnabled());
        h->host.key(27);
        run(100);
        ASSERT_TRUE(y.TimEnd.timerEnabled());
        run(100);  // the end's first tick stops it
        EXPECT_FALSE((y.*c.timer).timerEnabled());
        const int x = y.PointerX;
        const std::string typed = y.Text1.text();
        run(150);
        ASSERT_NE(player(), nullptr);
        EXPECT_EQ(y.PointerX, x);
        EXPECT_EQ(y.Text1.text(), typed);
        run(300);
        expectHandedBack();
    }
}

TEST_P(PlayerEnd, AnEndDuringAMenuLeavesTheMenuPointerRunning) {
    // Context menu 1: its first plain group on the fourth line of its block.
    writeMenu({{169, "剪切|复制|粘贴|删除|全选"}});
    qz::frmYanShi& y = play({atStart("3124"), farOff("0001"), Rec("9999")}, GetParam());
    run(150);
    ASSERT_TRUE(y.TimerRM.timerEnabled());
    h->host.key(27);
    run(200);
    EXPECT_TRUE(y.TimEnd.timerEnabled());
    EXPECT_FALSE(y.Timer2.timerEnabled());
    // The menu pointer's arrival lays the next step out, which starts the count again.
    for (int ms = 0; ms < 3000 && player(); ms += 100) run(100);
    expectHandedBack();
}

TEST_P(PlayerEnd, AFirstStepOf9999EndsAfterFourTicksWithoutAMove) {
    qz::frmYanShi& y = play({Rec("9999")}, GetParam());
    const int x = y.PointerX, yy = y.PointerY;
    run(350);
    ASSERT_NE(player(), nullptr);
    EXPECT_EQ(y.PointerX, x);
    EXPECT_EQ(y.PointerY, yy);
    EXPECT_EQ(y.LHelp.caption(), "操作成功！");
    h->host.shownLog.clear();
    run(100);
    expectHandedBack();
    // The player goes before the session's windows come back.
    EXPECT_EQ(h->host.shownLog, (std::vector<std::string>{"hide frmYanShi", "show FrmMain", "show FrmTm"}));
}

TEST_P(PlayerEnd, AHeldKeyDoesNotPostponeTheEnd) {
    play({farOff("0001"), Rec("9999")}, GetParam());
    h->host.keyUp(27);
    h->host.pause(150);
    h->host.keyUp(27);
    h->host.pause(150);
    h->host.keyUp(27);
    run(500);
    expectHandedBack();
}

TEST_P(PlayerEnd, AWindowManagerCloseHandsTheSessionBack) {
    qz::frmYanShi& y = play({farOff("0001"), Rec("9999")}, GetParam());
    run(300);
    h->p().rt.postClose(y);
    run(100);
    expectHandedBack();
}

TEST_P(PlayerEnd, AWindowUnloadedUnderThePlayerStaysUnloaded) {
    qz::frmYanShi& y = play({farOff("0001"), Rec("9999")}, GetParam());
    run(300);
    g().AllowPanelUnload = 1;  // as a hand-in allows it
    tm().unload();
    run(100);
    y.Form_DblClick();
    run(600);
    EXPECT_EQ(player(), nullptr);
    EXPECT_FALSE(g().DemoRunning);
    EXPECT_EQ(h->p().loadedFrmTm(), nullptr);
    ASSERT_NE(h->p().loadedFrmMain(), nullptr);
    EXPECT_TRUE(sim().visible());
}

TEST_P(PlayerEnd, TheQuestionFinishesAndTheNextDemonstrationStartsAfresh) {
    const std::vector<std::string> run1 = {atStart("0001"), farOff("0002"), Rec("9999")};
    qz::frmYanShi* first = &play(run1, GetParam());
    for (int ms = 0; ms < 4000 && player(); ms += 100) run(100);
    expectHandedBack();
    EXPECT_EQ(g().InteractionMode, 1);
    run(200);
    EXPECT_EQ(g().InteractionMode, 2);  // the panel's redo turned guided help back into practice
    EXPECT_FALSE(tm().TimerREDO.timerEnabled());
    (void)first;
    qz::frmYanShi& y = begin();
    EXPECT_EQ(y.PlayerStep, 1);
    EXPECT_EQ(y.PointerX, h->p().sx(6000));
    EXPECT_EQ(y.PointerY, h->p().sy(4500));
    EXPECT_EQ(g().InteractionMode, 1);
    run(150);
    EXPECT_EQ(y.PlayerStep, 2);
}

TEST_P(PlayerEnd, ThePlayerCoversTheSimulatedWindowOrIsCentred) {
    for (int state : {0, 1, 2}) {
        SCOPED_TRACE(state);
        session({Rec("9999")}, GetParam());
        sim().setWindowState(state);
        if (state == 0) sim().moveTo(h->p().sx(300), h->p().sy(150));
        qz::frmYanShi& y = begin();
        EXPECT_EQ(y.width(), h->p().sx(12000));
        EXPECT_EQ(y.height(), h->p().sy(9000));
        EXPECT_TRUE(y.topmost());
        if (state == 0) {
            EXPECT_EQ(y.left(), sim().left());
            EXPECT_EQ(y.top(), sim().top());
        } else {
            const forms::Size screen = h->host.screenSize();
            EXPECT_EQ(y.left(), (screen.width - y.width()) / 2);
            EXPECT_EQ(y.top(), (screen.height - y.height()) / 2);
        }
        run(500);
    }
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, PlayerEnd, ::testing::Values(15, 12));

}  // namespace
}  // namespace playertest
