#include "tools/steps.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/message_of.h"
#include "tools/menus.h"

using namespace qz::tools;

namespace {

// Writes text over the record from column `col` (counted from 1).
void put(std::string& record, int col, const std::string& text) {
    record.replace(static_cast<std::size_t>(col - 1), text.size(), text);
}

Step click(const std::string& code) {
    Step s;
    s.code = code;
    s.background = "scr001";
    s.hotSpot = Rect{1500, 1200, 360, 360};
    s.hintAt = Rect{1500, 1600, 0, 0};
    s.hintText = 1;
    return s;
}

Step finish() {
    Step s;
    s.code = "9999";
    s.background = "scr001";
    return s;
}

struct Unit {
    std::vector<std::string> steps, questions;
};

// One question: a click, a key, an automatic step and the end.
Unit goodUnit() {
    Step key;
    key.code = "6002";
    key.background = "scr001";
    Step pause = key;
    pause.code = "8888";
    return {{stepRecord(click("0001")), stepRecord(key), stepRecord(pause), stepRecord(finish())},
            {questionRecord(0, 1, 4, "单击按钮。")}};
}

BankFacts facts() { return {{"scr001", "pce001"}, {0, 1}, {"001a|b", "002ab", "003c"}, menuFileLines()}; }

// Step 1 of the good unit turned into another kind: a drag from a work area onto its hot
// spot, an answer typed in a command box away from it, or the picture dragged to a target.
void toDrag(Unit& u, const char* code, const char* pointer) {
    put(u.steps[0], 8, code);
    put(u.steps[0], 101, pointer);
    put(u.steps[0], 177, "00100100100060000300");
}
void toTyped(Unit& u, const char* code, const char* answer) {
    put(u.steps[0], 8, code);
    put(u.steps[0], 66, std::string(20, '0'));
    put(u.steps[0], 86, "00100060000600000300");
    put(u.steps[0], 109, answer);
}
void toPicture(Unit& u, const char* code) {
    put(u.steps[0], 8, code);
    put(u.steps[0], 151, "0300003000pce001");
    put(u.steps[0], 167, "0200002000");
}

std::string problem(const Unit& u) {
    return testsupport::messageOf<BankError>([&] { checkUnit(0, u.steps, u.questions, facts()); });
}

}  // namespace

TEST(StepRecord, FieldsLandInTheirColumns) {
    Step s = click("A101");
    s.image1 = ImageSlot{2700, 600, "pce001"};
    s.pointer = 'M';
    s.pointerNumber = 1;
    s.back = 2;
    s.backLeft = 1980;
    s.backTop = 4080;
    const std::string r = stepRecord(s);
    ASSERT_EQ(r.size(), 196u);
    EXPECT_EQ(r.substr(7, 4), "A101");
    EXPECT_EQ(r.substr(11, 6), "scr001");
    EXPECT_EQ(r.substr(17, 16), "0270000600pce001");
    EXPECT_EQ(r.substr(33, 16), "0000000000888888");  // a hidden slot
    EXPECT_EQ(r.substr(65, 20), "01500012000036000360");
    EXPECT_EQ(r.substr(85, 20), "000000000000000M0001");  // no command box, the pointer in its height
    EXPECT_EQ(r.substr(111, 13), "0150001600001");
    EXPECT_EQ(r.substr(124, 10), "Q000200000");
    EXPECT_EQ(r.substr(166, 10), "0198004080");
    EXPECT_EQ(r.substr(176, 20), std::string(20, '0'));
    EXPECT_THROW(stepRecord(click("001")), std::invalid_argument);
    Step far = click("0001");
    far.hotSpot->left = 100000;
    EXPECT_THROW(stepRecord(far), std::invalid_argument);
}

TEST(CheckUnit, AcceptsEveryStepKindTheBankUses) {
    EXPECT_EQ(problem(goodUnit()), "");
    Unit pictured = goodUnit();
    pictured.questions[0] = questionRecord(0, 1, 4, "picturepce001单击图中的按钮。");
    EXPECT_EQ(problem(pictured), "");
    for (const char* code :
         {"0001", "0002", "0003", "0030", "2000", "9101", "9002", "9104", "A120", "B220", "C923", "99E3"}) {
        Unit u = goodUnit();
        u.steps[0] = stepRecord(click(code));
        EXPECT_EQ(problem(u), "") << code;
    }
    const std::function<void(Unit&)> kinds[] = {
        [](Unit& u) { toDrag(u, "0040", "00000"); }, [](Unit& u) { toDrag(u, "0051", "M0001"); },
        [](Unit& u) { toDrag(u, "0057", "S0002"); }, [](Unit& u) { toTyped(u, "0020", "001"); },
        [](Unit& u) { toTyped(u, "0020", "000"); }, [](Unit& u) { toTyped(u, "0021", "002"); },
        [](Unit& u) { toTyped(u, "A111", "003"); }, [](Unit& u) { toPicture(u, "8001"); },
        [](Unit& u) { toPicture(u, "8009"); },
        // A hot spot of height 0: one line high.
        [](Unit& u) { put(u.steps[0], 81, "00000"); },
        // A press on the work area completes any step; the hot spot inside it is where the
        // demonstration clicks.
        [](Unit& u) { put(u.steps[0], 177, "01400011000060000600"); },
        [](Unit& u) {
            put(u.steps[0], 8, "0030");
            put(u.steps[0], 66, std::string(20, '0'));
            put(u.steps[0], 177, "00100000100060000300");
        },
    };
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        Unit u = goodUnit();
        kinds[k](u);
        EXPECT_EQ(problem(u), "") << "kind " << k;
    }
    for (const char* code : {"6015", "6020", "6091", "6003", "6099", "6165", "6027", "6102"}) {
        Unit u = goodUnit();
        put(u.steps[1], 8, code);
        EXPECT_EQ(problem(u), "") << code;
    }
}

TEST(CheckUnit, RefusesStepsNoLearnerCouldComplete) {
    struct Case {
        const char* what;
        std::function<void(Unit&)> spoil;
        const char* expected;
    };
    const Case cases[] = {
        {"short record", [](Unit& u) { u.steps[1].pop_back(); }, "196 columns"},
        {"long record", [](Unit& u) { u.steps[1] += "0"; }, "196 columns"},
        // Columns count characters: 196 of them, one wide, pass the length and fail on the character.
        {"wide character", [](Unit& u) { u.steps[1].replace(0, 1, "图"); }, "plain characters"},
        {"count beyond the file", [](Unit& u) { put(u.questions[0], 5, "05"); }, "ends before"},
        {"records left over", [](Unit& u) { put(u.questions[0], 5, "03"); }, "only \"9999\""},
        {"records nobody counts",
         [](Unit& u) { u.steps.push_back(u.steps.back()); }, "no question counts"},
        {"no end", [](Unit& u) { put(u.steps[3], 8, "6002"); }, "only \"9999\""},
        {"two ends", [](Unit& u) { put(u.steps[2], 8, "9999"); }, "only \"9999\""},
        {"missing background", [](Unit& u) { put(u.steps[1], 12, "scr404"); }, "no picture \"scr404\""},
        {"first step keeps a background", [](Unit& u) { put(u.steps[0], 12, "888888"); }, "names its background"},
        {"missing piece", [](Unit& u) { put(u.steps[0], 50, "0010000100pce404"); }, "no picture \"pce404\""},
        {"missing piece in slot 5", [](Unit& u) { put(u.steps[0], 151, "0010000100pce404"); }, "no picture"},
        {"click without hot spot", [](Unit& u) { put(u.steps[0], 66, std::string(20, '0')); }, "smaller than a pixel"},
        {"hot spot 14 twips wide", [](Unit& u) { put(u.steps[0], 76, "00014"); }, "smaller than a pixel"},
        {"hot spot 14 twips high", [](Unit& u) { put(u.steps[0], 81, "00014"); }, "smaller than a pixel"},
        // Height 0 is a line high, so a hot spot just above the panel reaches under it.
        {"one-line hot spot under the panel", [](Unit& u) { put(u.steps[0], 66, "0900005170"); put(u.steps[0], 81, "00000"); },
         "question panel"},
        {"hot spot off the window", [](Unit& u) { put(u.steps[0], 66, "11900"); }, "leaves the window"},
        {"hot spot under the panel", [](Unit& u) { put(u.steps[0], 66, "0900007000"); }, "question panel"},
        {"work area over the hot spot",
         [](Unit& u) { put(u.steps[0], 177, "01000110000100001000"); }, "work area lies over"},
        {"plain drag with standard pointer 0", [](Unit& u) { toDrag(u, "0050", "S0000"); }, "never differs"},
        {"plain drag without its cursor file", [](Unit& u) { toDrag(u, "0050", "M0007"); }, "never differs"},
        {"drag without a work area", [](Unit& u) { toDrag(u, "0040", "00000"); put(u.steps[0], 187, "0000000000"); },
         "work area"},
        {"drag with no such shift", [](Unit& u) { toDrag(u, "0048", "00000"); }, "no such shift"},
        {"rename with alternatives", [](Unit& u) { toTyped(u, "0021", "001"); }, "no alternatives"},
        {"typed without a box", [](Unit& u) { toTyped(u, "0020", "001"); put(u.steps[0], 86, std::string(20, '0')); },
         "command box"},
        {"answer past the texts", [](Unit& u) { toTyped(u, "0020", "009"); }, "no text 009"},
        {"8005", [](Unit& u) { toPicture(u, "8005"); }, "moves no picture"},
        {"picture drag without a picture", [](Unit& u) { toPicture(u, "8002"); put(u.steps[0], 151, "0000000000"); },
         "no picture to drag"},
        {"command box over the hot spot",
         [](Unit& u) { put(u.steps[0], 86, "01000010000100000300"); }, "command box lies over"},
        {"command box takes the key", [](Unit& u) { put(u.steps[1], 86, "06000060000100000300"); }, "take the key"},
        {"missing cursor", [](Unit& u) { put(u.steps[0], 101, "M0007"); }, "no cursor file"},
        {"missing hint", [](Unit& u) { put(u.steps[0], 122, "004"); }, "no text 004"},
        {"back before the first step", [](Unit& u) { put(u.steps[1], 125, "Q0002"); put(u.steps[1], 167, "0100001000"); },
         "before the first step"},
        {"back from the first step", [](Unit& u) { put(u.steps[0], 125, "Q0000"); put(u.steps[0], 167, "0100003000"); },
         "before the first step"},
        {"task picture missing", [](Unit& u) { u.questions[0] = questionRecord(0, 1, 4, "picturepce404看图"); },
         "no picture \"pce404\" for the task"},
        {"back button under the panel", [](Unit& u) { put(u.steps[1], 125, "Q0001"); put(u.steps[1], 167, "1000008000"); },
         "out of reach"},
    };
    for (const Case& c : cases) {
        Unit u = goodUnit();
        c.spoil(u);
        EXPECT_NE(problem(u).find(c.expected), std::string::npos) << c.what << ": " << problem(u);
    }
}

// The demonstration aims a click, a right click, "2000" and the mouse-button codes at the hot
// spot, opens every menu code's menu under its title and reads "B" codes other than B22I as
// menus of their own: steps the window completes otherwise still have to show what they ask.
TEST(CheckUnit, RefusesStepsTheDemonstrationCannotShow) {
    const auto areaClick = [](Unit& u, const char* code) {
        put(u.steps[0], 8, code);
        put(u.steps[0], 66, std::string(20, '0'));
        put(u.steps[0], 177, "00100000100060000300");
    };
    struct Case {
        const char* what;
        std::function<void(Unit&)> spoil;
        const char* expected;
    };
    const Case cases[] = {
        {"2000 without a hot spot", [](Unit& u) { put(u.steps[1], 8, "2000"); }, "aims \"2000\" at a hot spot"},
        {"area click without a hot spot", [&](Unit& u) { areaClick(u, "0001"); }, "aims \"0001\" at a hot spot"},
        {"right click in the area", [&](Unit& u) { areaClick(u, "0003"); }, "aims \"0003\" at a hot spot"},
        {"mouse button in the area", [&](Unit& u) { areaClick(u, "9101"); }, "aims \"9101\" at a hot spot"},
        {"hot spot beside the area", [](Unit& u) { put(u.steps[0], 177, "00100000100060000300"); },
         "outside the work area"},
        {"menu code of array 0", [](Unit& u) { put(u.steps[0], 8, "A101"); }, "names no entry array"},
        {"menu code of array 0 in the area", [&](Unit& u) { areaClick(u, "A101"); }, "names no entry array"},
        {"B menu with no title", [](Unit& u) { put(u.steps[0], 8, "B520"); }, "no title"},
        {"B0 menu", [](Unit& u) { put(u.steps[0], 8, "B020"); }, "no title"},
        // B1 is 文件 in the window and 窗口 in the demonstration; B2 other than B22I likewise.
        {"B1 read as block 10", [](Unit& u) { put(u.steps[0], 8, "B120"); }, "another entry"},
        {"B2 read as block 11", [](Unit& u) { put(u.steps[0], 8, "B261"); }, "no entry of the demonstration's menu"},
        {"entry not shown", [](Unit& u) { put(u.steps[0], 8, "C999"); }, "no entry of the demonstration's menu"},
    };
    for (const Case& c : cases) {
        Unit u = goodUnit();
        c.spoil(u);
        EXPECT_NE(problem(u).find(c.expected), std::string::npos) << c.what << ": " << problem(u);
    }
}

TEST(CheckUnit, RefusesStepKindsNotYetBuilt) {
    // Typed, dragged and picture steps without their box, work area or picture, and codes that
    // name no action at all.
    for (const char* code : {"0020", "0021", "0040", "0041", "0051", "8001", "8009",
                             "a101", "A000", "0005", "7000", "6000", "6800", "9999", "9000", "9108", "9901"}) {
        Unit u = goodUnit();
        put(u.steps[0], 8, code);
        EXPECT_NE(problem(u), "") << code;
    }
}

TEST(CheckUnit, MenuStepsNameAnItemTheirMenuShows) {
    struct Case {
        const char* code;
        bool hotSpot, menuBar;
        const char* expected;  // "" when accepted
    };
    const Case cases[] = {
        {"3110", true, false, ""},  // the first item of the drawing area's first submenu
        {"3122", true, false, ""},
        {"4222", true, false, ""},
        {"3220", true, false, ""},
        {"3020", true, false, ""},  // menu 0: the last block of the bar's menus
        {"3122", false, false, "smaller than a pixel"},  // the right click needs its hot spot
        {"3100", true, false, "names no item"},  // tens 0
        {"4120", true, false, "names no item"},  // a separator
        {"3420", true, false, "names no item"},
        {"3129", true, false, "names no item"},  // past the line's texts
        {"3130", true, false, "names no item"},  // submenu 2 of the menu is "0"
        {"A750", false, true, ""},
        {"A520", false, true, ""},
        {"B223", false, true, ""},  // menu 11
        {"C923", false, true, ""},
        {"A750", false, false, "menu bar is not shown"},
        {"A023", false, true, "names no item"},  // the bar has no menu 0
        {"A190", false, true, "names no item"},  // 文件's last line has two texts, item 0 a separator
        // A hot spot takes a left click as well, but the demonstration still opens the menu.
        {"A190", true, false, "no entry of the demonstration's menu"},
        {"A100", false, true, "names no entry array"},
        {"A100", true, false, "names no entry array"},
    };
    for (const Case& c : cases) {
        Unit u = goodUnit();
        Step s = click(c.code);
        if (!c.hotSpot) s.hotSpot.reset();
        if (c.menuBar) s.menuBar = Rect{90, 420, 0, 0};
        u.steps[0] = stepRecord(s);
        const std::string got = problem(u);
        if (*c.expected == 0) EXPECT_EQ(got, "") << c.code;
        else EXPECT_NE(got.find(c.expected), std::string::npos) << c.code << ": " << got;
    }
}

TEST(MenuFile, NamesTheItemsOfTheSampleSteps) {
    const auto lines = menuFileLines();
    ASSERT_EQ(lines.size(), 465u);
    EXPECT_EQ(menuItemOf(lines, "3122"), "复制");
    EXPECT_EQ(menuItemOf(lines, "A750"), "圆心、半径");
    EXPECT_EQ(menuItemOf(lines, "B520"), "图层");
    EXPECT_EQ(menuItemOf(lines, "B223"), "关于 Planar Draft 2026");
    EXPECT_EQ(menuItemOf(lines, "A223"), "剪切");  // "A" reads menu 2, only B22I menu 11
    // The demonstration's reading: the same for these, "B"M as block M + 9 otherwise.
    for (const char* code : {"3122", "3111", "3491", "4222", "A520", "A730", "A750", "B223", "C923"})
        EXPECT_EQ(demoMenuItemOf(lines, code), menuItemOf(lines, code)) << code;
    EXPECT_EQ(demoMenuItemOf(lines, "B120"), "关闭");  // block 10, 窗口
    EXPECT_EQ(demoMenuItemOf(lines, "B020"), "特性");  // block 9, 修改
    EXPECT_EQ(demoMenuItemOf(lines, "B520"), std::nullopt);
    EXPECT_EQ(demoMenuItemOf(lines, "A020"), std::nullopt);  // no block 0 under a title
    EXPECT_EQ(menuSubmenuOf(lines, "A750"), "圆");
    EXPECT_EQ(menuSubmenuOf(lines, "3110"), "最近的输入");
    EXPECT_EQ(menuSubmenuOf(lines, "3122"), "");
    EXPECT_EQ(menuTitleOf(7), "绘图");
}

// The hint label lies under the command box, a real window, and is cut at the window's edge:
// it is refused there, measured as the window shows it, also where a step keeps the last one's.
TEST(CheckUnit, TheHintIsSeenWholeWhereTheWindowShowsIt) {
    // The box of toTyped: left 100, top 6000, 6000 x 300; a hint 22 pixels high.
    const auto hintAt = [](Unit& u, std::size_t step, const char* leftTop) { put(u.steps[step], 112, leftTop); };
    struct Case {
        const char* what;
        std::function<void(Unit&)> change;
        const char* expected;  // "" when accepted
    };
    const Case cases[] = {
        {"just above the box", [&](Unit& u) { toTyped(u, "0020", "001"); hintAt(u, 0, "0010005670"); }, ""},
        {"inside the box", [&](Unit& u) { toTyped(u, "0021", "002"); hintAt(u, 0, "0010006000"); },
         "command box lies over the hint"},
        {"reaching into the box", [&](Unit& u) { toTyped(u, "A111", "003"); hintAt(u, 0, "0500005671"); },
         "command box lies over the hint"},
        {"just below the box", [&](Unit& u) { toTyped(u, "0020", "001"); hintAt(u, 0, "0010006300"); }, ""},
        // "a|b" is three half-width characters, 27 pixels; the last record has a place of its own.
        {"at the right edge", [&](Unit& u) { hintAt(u, 0, "1159501600"); hintAt(u, 3, "0150001600"); }, ""},
        {"past the right edge", [&](Unit& u) { hintAt(u, 0, "1160001600"); hintAt(u, 3, "0150001600"); },
         "step 1: the hint leaves the window"},
        // Where the last record keeps it, the demonstration writes "操作成功！", 75 pixels.
        {"the demonstration's success past the edge", [&](Unit& u) { hintAt(u, 0, "1159501600"); },
         "step 4: the hint leaves the window"},
        {"at the bottom", [&](Unit& u) { hintAt(u, 0, "0150008670"); }, ""},
        {"past the bottom", [&](Unit& u) { hintAt(u, 0, "0150008671"); }, "step 1: the hint leaves the window"},
        // "输入 a" is 48 pixels wide where "a|b" would fit.
        {"past the edge with the typing prefix",
         [&](Unit& u) {
             toTyped(u, "0020", "001");
             hintAt(u, 0, "1159501600");
             hintAt(u, 3, "0150001600");
         },
         "step 1: the hint leaves the window"},
        // Step 2 keeps step 1's hint at (1500, 1600) and shows a box over it.
        {"kept under a later step's box",
         [&](Unit& u) {
             put(u.steps[1], 8, "0020");
             put(u.steps[1], 86, "01000015000300000600");
             put(u.steps[1], 109, "001");
         },
         "step 2: the command box lies over the hint"},
    };
    for (const Case& c : cases) {
        Unit u = goodUnit();
        c.change(u);
        const std::string got = problem(u);
        if (*c.expected == 0) EXPECT_EQ(got, "") << c.what;
        else EXPECT_NE(got.find(c.expected), std::string::npos) << c.what << ": " << got;
    }
}

TEST(CheckUnit, BackButtonClearOfTheHotSpot) {
    Unit u = goodUnit();
    Step second = click("0001");
    second.back = 1;
    second.backLeft = 1500;
    second.backTop = 1300;
    u.steps[1] = stepRecord(second);
    EXPECT_NE(problem(u).find("back button lies over the hot spot"), std::string::npos) << problem(u);
    second.backTop = 3000;
    u.steps[1] = stepRecord(second);
    EXPECT_EQ(problem(u), "");
}
