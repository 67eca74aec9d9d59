// The player's menus on a loaded player: the panel under a title or at the pointer, the
// submenu beside it, the frame over the target row, and the arrivals that click or open.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>

#include "demo/frmYanShi.h"
#include "platform/numbers.h"
#include "tests/demo/player_fixture.h"

namespace {

using simtest::Rec;

class PlayerMenus : public playertest::PlayerTest {
protected:
    // A question of these records and "9999", played from step 1.
    void start(std::vector<std::string> records, int twipsPerPixel = 15) {
        records.push_back(Rec("9999"));
        play(records, twipsPerPixel);
    }
    // Ticks of 100 ms until `done` holds; false when it never does within the bound.
    bool runUntil(const std::function<bool()>& done, int boundMs = 4000) {
        for (int t = 0; t < boundMs; t += 100) {
            if (done()) return true;
            run(100);
        }
        return done();
    }
    bool playing() { return player() != nullptr; }
};

// A context menu: hot spot centred on (3300, 2150), block 1 of base 165 from line 166.
Rec contextStep(const std::string& code) { return Rec(code).hotSpot(3000, 2000, 600, 300); }
// A drop-down under the bar at (100, 300).
Rec barStep(const std::string& code) { return Rec(code).menuBar(100, 300); }

TEST_F(PlayerMenus, AContextMenuOpensAtThePointerAndItsEntryIsClicked) {
    writeMenu({{167, "Cascade"}, {169, "a|-|b"}});
    start({contextStep("3122")});
    ASSERT_TRUE(runUntil([&] { return y().LRightMMenu.visible(); }));
    qz::frmYanShi& p = y();
    EXPECT_TRUE(p.ShapeRMain.visible());
    EXPECT_EQ(p.MenuNumber, 1);
    const forms::Rect panel = p.LRightMMenu.rect();
    EXPECT_EQ(p.ShapeRMain.rect(), panel);
    EXPECT_EQ((forms::Point{panel.left, panel.top}), (forms::Point{p.PointerX, p.PointerY}));
    EXPECT_EQ(p.LRMJL(1).caption(), "Cascade");
    EXPECT_TRUE(p.ImgJLSanjiao(1).visible());
    EXPECT_EQ(p.ImgJLSanjiao(1).left(), panel.left + panel.width - 180);
    // Its triangle: columns of 7 and, at the tip, 1 pixel.
    const forms::Rect arrow = p.ImgJLSanjiao(1).rect();
    EXPECT_EQ(arrow.height, 105);
    EXPECT_TRUE(p.LJLStroke(10).visible());
    const auto ends = [](const forms::Line& l) { return std::array<int, 4>{l.x1(), l.y1(), l.x2(), l.y2()}; };
    EXPECT_EQ(ends(p.LJLStroke(10)), (std::array<int, 4>{arrow.left, arrow.top, arrow.left, arrow.top + 90}));
    EXPECT_EQ(ends(p.LJLStroke(13)),
              (std::array<int, 4>{arrow.left + 45, arrow.top + 45, arrow.left + 45, arrow.top + 45}));
    EXPECT_FALSE(p.LJLStroke(30).visible());
    EXPECT_EQ(p.LRM2(0).caption(), "a");
    EXPECT_FALSE(p.LRM2(1).visible());
    EXPECT_TRUE(p.LRFGX(0).visible());
    EXPECT_EQ(p.LRFGX(0).y1(), panel.top + 90 + 540);
    EXPECT_EQ(p.LRM2(2).top(), panel.top + 90 + 675);
    EXPECT_EQ(panel.width, std::max(p.LRM2(0).width(), p.LRM2(2).width()) + 690);
    EXPECT_EQ(panel.height, 90 + 3 * 270 + 135);
    const int targetY = p.LRM2(2).top() + p.LRM2(2).height() / 2;
    EXPECT_NEAR(p.TargetY, targetY, 1);
    EXPECT_EQ(p.Shape1.rect(), (forms::Rect{panel.left, p.TargetY - 135, panel.width, 270}));
    EXPECT_TRUE(p.TimerRM.timerEnabled());
    EXPECT_FALSE(p.Timer2.timerEnabled());

    ASSERT_TRUE(runUntil([&] { return y().PlayerStep == 2; }));
    EXPECT_EQ(y().Shape5.left(), y().PointerX - 180);
    EXPECT_EQ(y().Shape5.top(), y().PointerY - 180);
    EXPECT_TRUE(y().Timer5.timerEnabled());
    EXPECT_FALSE(y().TimerRM.timerEnabled());
    EXPECT_FALSE(y().LRightMMenu.visible());
    EXPECT_FALSE(y().LJLStroke(10).visible());
    EXPECT_TRUE(runUntil([&] { return !playing(); }));
    expectHandedBack();
}

TEST_F(PlayerMenus, ADropDownOpensItsCascadesSubmenuBesideIt) {
    for (int tpp : {15, 12}) {
        SCOPED_TRACE(tpp);
        writeMenu({{17, "Cascade"}, {18, "A|-|B"}, {19, "plain"}});
        start({barStep("A212")}, tpp);
        ASSERT_TRUE(runUntil([&] { return y().LRightMMenu.visible(); }));
        qz::frmYanShi& p = y();
        EXPECT_TRUE(p.LMBack(1).visible());
        const forms::Rect panel = p.LRightMMenu.rect();
        EXPECT_EQ(panel.left, p.LMBack(1).left());
        EXPECT_EQ(panel.top, p.LMBack(1).top() + p.LMBack(1).height());
        const double scaleY = tpp / 15.0;
        EXPECT_EQ(p.Shape1.height(), platform::clng(270 * scaleY));

        ASSERT_TRUE(runUntil([&] { return y().LRightSub.visible(); }));
        EXPECT_FALSE(p.TimerRM.timerEnabled());
        EXPECT_TRUE(p.TimerRS.timerEnabled());
        const forms::Rect sub = p.LRightSub.rect();
        EXPECT_EQ(p.ShapeRSUB.rect(), sub);
        EXPECT_EQ(sub.left, panel.left + panel.width - 60);
        EXPECT_EQ(sub.top, p.LRMJL(1).top());
        EXPECT_EQ(sub.height, 810);
        EXPECT_EQ(sub.width, std::max(p.LRS(0).width(), p.LRS(2).width()) + 690);
        EXPECT_EQ(p.LRS(0).top(), sub.top + 135);
        EXPECT_EQ(p.LRS(2).caption(), "B");
        EXPECT_EQ(p.LRS(2).top(), sub.top + 540);
        EXPECT_FALSE(p.LRS(1).visible());
        EXPECT_EQ(p.LRSFgx(0).y1(), sub.top + 405);
        EXPECT_EQ(p.LRSFgx(0).x2(), sub.left + 60 + sub.width - 120);
        EXPECT_EQ(p.Shape1.rect(), (forms::Rect{sub.left, sub.top + 480, sub.width, 285}));

        ASSERT_TRUE(runUntil([&] { return y().PlayerStep == 2; }));
        EXPECT_EQ(y().Shape5.left(), y().PointerX - 180);
        EXPECT_TRUE(y().Timer5.timerEnabled());
        EXPECT_TRUE(runUntil([&] { return !playing(); }));
        h.reset();
    }
}

// Codes the panel or the submenu cannot aim at: the pointer stays, the marker flashes at it and
// the step goes on without the pointer running off.
TEST_F(PlayerMenus, CodesWithNoEntryToAimAtAdvanceWhereThePointerStands) {
    struct Case {
        const char* what;
        Rec step;
        bool menuFile;
        bool stays;  // false: the target stays the title's middle, a short move away
    } const cases[] = {
        {"an entry past the group", contextStep("3125"), true, true},
        {"a separator's place", contextStep("3121"), true, true},
        {"a cascade the block has not", contextStep("3130"), true, true},
        {"a 3rd character of 0", barStep("A101"), true, false},
        {"a title the bar has not", barStep("B521"), true, true},
        {"block 0", barStep("A021"), true, true},
        {"no menu file", contextStep("3122"), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.menuFile)
            writeMenu({{2, "a|-|b"}, {4, "a|-|b"}, {167, "Cascade"}, {169, "a|-|b"}, {199, "x|-|y"}});
        else
            std::remove(folder.file("sMenu.sys").c_str());
        start({c.step});
        ASSERT_TRUE(runUntil([&] { return y().LRightMMenu.visible(); }));
        const forms::Point at{y().PointerX, y().PointerY};
        if (!c.stays) {
            EXPECT_NEAR(y().TargetY, y().LMenu(0).top() + y().LMenu(0).height() / 2.0, 0.5);
        }
        ASSERT_TRUE(runUntil([&] { return y().PlayerStep == 2; }, c.stays ? 300 : 1600));
        if (c.stays) {
            EXPECT_EQ((forms::Point{y().PointerX, y().PointerY}), at);
        }
        EXPECT_EQ(y().Shape5.left(), y().PointerX - 180);
        EXPECT_FALSE(y().LRightSub.visible());
        EXPECT_TRUE(runUntil([&] { return !playing(); }));
        h.reset();
    }
}

}  // namespace
