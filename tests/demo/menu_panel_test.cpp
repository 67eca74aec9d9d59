// The player's imitation menus laid out without controls: the block a code opens, the panel's
// rows, width and flips, the aim and the frame, and the submenu beside the panel.
#include "demo/menu_panel.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/temp_dir.h"

namespace {

namespace demo = qz::demo;
using forms::Point;
using forms::Rect;

// 90 twips a character and 30 of margin, 195 high: widths that tell captions apart.
forms::Size measure(const std::string& caption) { return {static_cast<int>(caption.size()) * 90 + 30, 195}; }

// A block by its line numbers (from 1); the other lines are "0", an absent entry.
std::vector<std::string> block(const std::map<int, std::string>& lines) {
    std::vector<std::string> b(15, "0");
    for (const auto& [n, text] : lines) b[static_cast<std::size_t>(n - 1)] = text;
    return b;
}

demo::PanelInput context(std::vector<std::string> lines, std::string code, Point pointer = {3000, 2000}) {
    demo::PanelInput in;
    in.block = std::move(lines);
    in.code = std::move(code);
    in.pointer = pointer;
    in.target = {111, 222};
    in.windowWidth = 12000;
    in.windowHeight = 9000;
    in.measure = measure;
    return in;
}

// Eleven titles 810 apart from (600, 300), each highlight 810 x 255 under a 195-high title.
demo::PanelInput dropDown(std::vector<std::string> lines, std::string code) {
    demo::PanelInput in = context(std::move(lines), std::move(code));
    in.dropDown = true;
    in.panelBefore = {-7, -9};
    for (int i = 0; i < demo::MenuTitles; ++i) {
        in.titles[static_cast<std::size_t>(i)] = {600 + 810 * i + 200, 300, 410, 195};
        in.backs[static_cast<std::size_t>(i)] = {600 + 810 * i, 270, 810, 255};
    }
    return in;
}

std::vector<int> entryTops(const std::vector<demo::EntryLabel>& entries) {
    std::vector<int> tops;
    for (const auto& e : entries) tops.push_back(e.rect.top);
    return tops;
}

TEST(MenuBlock, TheFamilyAndTheMenuDigitChooseTheBlocksFirstLine) {
    struct Case {
        const char* code;
        int menu;
        long first;
    } const cases[] = {
        {"A101", 1, 1},   {"A921", 9, 121}, {"B122", 10, 136}, {"B220", 11, 151}, {"B520", 14, 196},
        {"C321", 3, 331}, {"3120", 1, 166}, {"4920", 9, 286},  {"3020", 0, 151},  {"5210", 2, 181},
        {"D310", 3, 196}, {"A021", 0, 1},   {"AX21", 0, 1},    {"BX21", 9, 121},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(demo::menuNumberOf(c.code), c.menu) << c.code;
        EXPECT_EQ(demo::blockStartOf(c.code), c.first) << c.code;
    }
}

TEST(MenuBlock, IsReadFromItsFirstLineAndAMissingFileGivesEmptyLines) {
    testsupport::TempDir dir;
    std::vector<std::string> file;
    for (int n = 1; n <= 160; ++n) file.push_back("L" + std::to_string(n));
    testsupport::writeFileBytes(dir.file("sMenu.sys"), testsupport::crlf(file));

    const auto b1 = demo::readMenuBlock(dir.file("sMenu.sys"), "B122");
    ASSERT_EQ(b1.size(), 15u);
    EXPECT_EQ(b1.front(), "L136");
    EXPECT_EQ(b1.back(), "L150");
    const auto a0 = demo::readMenuBlock(dir.file("sMenu.sys"), "A021");
    EXPECT_EQ(a0.front(), "L1");
    EXPECT_EQ(a0.back(), "L15");
    const auto b2 = demo::readMenuBlock(dir.file("sMenu.sys"), "B220");
    EXPECT_EQ(b2[9], "L160");
    EXPECT_EQ(b2[10], "");

    EXPECT_EQ(demo::readMenuBlock(dir.file("none.sys"), "A101"), std::vector<std::string>(15));
    EXPECT_EQ(demo::readMenuBlock(dir.path(), "A101"), std::vector<std::string>(15));
}

TEST(MenuPanel, RowsFollowTheBlocksLineOrderAndAZeroLineGivesNoRow) {
    // Line 2 "0" is no row; line 5 empty is a blank cascade row with its arrow; line 7 empty is
    // a blank plain row.
    const auto p = demo::layoutPanel(
        context(block({{2, "0"}, {4, "aa|b"}, {5, ""}, {7, ""}, {11, "cas7"}, {15, "nine"}}), "3990"));
    EXPECT_EQ(p.panel, (Rect{3000, 2000, 4 * 90 + 30 + 690, 90 + 6 * 270}));

    ASSERT_EQ(p.cascades.size(), 2u);
    EXPECT_EQ(p.cascades[0], (demo::CascadeRow{3, "", {3300, 2630, 30, 195}, {3000 + 1080 - 180, 2660, 60, 105}}));
    EXPECT_EQ(p.cascades[1].index, 7);
    EXPECT_EQ(p.cascades[1].label.top, 3170);

    ASSERT_EQ(p.entries.size(), 4u);
    EXPECT_EQ(p.entries[0], (demo::EntryLabel{2, 0, "aa", {3300, 2090, 210, 195}}));
    EXPECT_EQ(p.entries[1], (demo::EntryLabel{2, 1, "b", {3300, 2360, 120, 195}}));
    EXPECT_EQ(p.entries[2], (demo::EntryLabel{4, 0, "", {3300, 2900, 30, 195}}));
    EXPECT_EQ(p.entries[3], (demo::EntryLabel{9, 0, "nine", {3300, 3440, 390, 195}}));
    EXPECT_EQ(p.entry, (Point{3495, 3538}));
    EXPECT_EQ(p.target, p.entry);
    EXPECT_EQ(p.menuNumber, 9);
}

TEST(MenuPanel, SeparatorsKeepTheirPlaceCountAcrossGroupsAndDrawOnlyTenLines) {
    // "a|b|-|d": LRM2(2) is the separator's place, and "A123" aims at the fourth entry.
    const auto p = demo::layoutPanel(context(block({{4, "a|b|-|d"}, {7, "-|e"}}), "A123"));
    EXPECT_EQ(entryTops(p.entries), (std::vector<int>{2090, 2360, 2765, 3170}));
    EXPECT_EQ(p.entries[2].array, 2);
    EXPECT_EQ(p.entries[2].index, 3);
    const int w = 120 + 690;
    ASSERT_EQ(p.separators.size(), 2u);
    EXPECT_EQ(p.separators[0], (demo::SeparatorLine{0, {3060, 2630}, {3060 + w - 120, 2630}}));
    EXPECT_EQ(p.separators[1], (demo::SeparatorLine{1, {3060, 3035}, {3060 + w - 120, 3035}}));
    EXPECT_EQ(p.entry, (Point{3360, 2862}));  // 2765 + 97.5 rounds to even

    // Twelve separators: every one keeps its gap, lines 10 and 11 have nothing to draw them.
    std::string many = "-|-|-|-|-|-|-|-|-|-";
    const auto q = demo::layoutPanel(context(block({{4, many}, {7, "-|-|x"}}), "A142"));
    EXPECT_EQ(q.separators.size(), 10u);
    EXPECT_EQ(q.separators.back().index, 9);
    EXPECT_EQ(q.entries.size(), 1u);
    EXPECT_EQ(q.entries[0].rect.top, 2000 + 90 + 12 * 135);
    EXPECT_EQ(q.panel.height, 90 + 12 * 135 + 270);
    EXPECT_EQ(q.entry, (Point{3360, 3808}));
}

TEST(MenuPanel, AGroupShowsItsFirstTenEntries) {
    const auto p = demo::layoutPanel(context(block({{10, "1|2|3|4|5|6|7|8|9|10|11|12"}}), "3669"));
    ASSERT_EQ(p.entries.size(), 10u);
    EXPECT_EQ(p.entries.back().caption, "10");
    EXPECT_EQ(p.entries.back().index, 9);
    EXPECT_EQ(p.panel.height, 90 + 10 * 270);
    EXPECT_EQ(p.panel.width, 210 + 690);
}

TEST(MenuPanel, CascadeCaptionsDoNotWidenThePanel) {
    const auto p = demo::layoutPanel(
        context(block({{2, "a long cascade caption"}, {5, "x"}, {8, "y"}, {11, "z"}, {13, "w"}}), "3180"));
    EXPECT_EQ(p.panel.width, 690);
    EXPECT_EQ(p.panel.height, 90 + 5 * 270);
    for (const auto& c : p.cascades) EXPECT_EQ(c.arrow.left, 3000 + 690 - 180) << c.index;
    EXPECT_EQ(p.entry, (Point{3360, 3268}));
}

TEST(MenuPanel, AContextMenuOpensAwayFromTheRightAndBottomEdges) {
    // A panel 900 wide and 90 + 3 x 270 = 900 high in a 12000 x 9000 window.
    const auto lines = block({{4, "ab|de|gh"}});
    struct Case {
        Point pointer;
        Point corner;
    } const cases[] = {
        {{10199, 7798}, {10199, 7798}},  // 10199 + 900 < 11100; 7798 + 900 < 8700
        {{10200, 2000}, {9300, 2000}},   // reaches one panel width from the right edge
        {{3000, 7800}, {3000, 6900}},    // reaches 300 from the bottom
        {{11500, 8800}, {10600, 7900}},  // both
    };
    for (const Case& c : cases) {
        const auto p = demo::layoutPanel(context(lines, "4221", c.pointer));
        EXPECT_EQ((Point{p.panel.left, p.panel.top}), c.corner) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(p.panel.width, 900);
        ASSERT_EQ(p.entries.size(), 3u);
        EXPECT_EQ(p.entries[1].rect.left, c.corner.x + 300);
        EXPECT_EQ(p.entries[1].rect.top, c.corner.y + 360);
        EXPECT_EQ(p.entry, (Point{c.corner.x + 300 + 105, c.corner.y + 360 + 98}));
        EXPECT_EQ(p.frame, (Rect{c.corner.x, p.entry->y - 135, 900, 270}));
    }
    // Separators and arrows move with the panel.
    const auto q = demo::layoutPanel(context(block({{2, "c"}, {4, "-|ab"}}), "3100", {11000, 8800}));
    EXPECT_EQ(q.panel, (Rect{11000 - 900, 8800 - 765, 900, 765}));
    EXPECT_EQ(q.cascades[0].arrow, (Rect{11000 - 180, 8800 - 765 + 120, 60, 105}));
    EXPECT_EQ(q.separators[0], (demo::SeparatorLine{0, {10160, 8395}, {10940, 8395}}));
}

TEST(MenuPanel, ADropDownHangsUnderItsTitleEvenAtTheBottom) {
    auto in = dropDown(block({{4, "ab|de|gh"}}), "A521");
    for (auto& r : in.backs) r.top = 8800;
    const auto p = demo::layoutPanel(in);
    EXPECT_EQ(p.title, 4);
    EXPECT_EQ(p.panel, (Rect{600 + 4 * 810, 9055, 900, 900}));
    EXPECT_EQ(p.entry, (Point{600 + 4 * 810 + 405, 9512}));
}

TEST(MenuPanel, BCodesHangUnderTitlesNineAndTenAndOtherTitlesDoNotExist) {
    const auto lines = block({{4, "ab|de"}});
    struct Case {
        const char* code;
        std::optional<int> title;
        Point corner;
        Point target;
    } const cases[] = {
        {"B121", 9, {600 + 9 * 810, 525}, {600 + 9 * 810 + 405, 982}},
        {"B221", 10, {600 + 10 * 810, 525}, {600 + 10 * 810 + 405, 982}},
        // No title: the panel keeps its place and the target its value; the entry still aims.
        {"A021", std::nullopt, {-7, -9}, {398, 448}},
        {"B521", std::nullopt, {-7, -9}, {398, 448}},
        // A 3rd character naming no array: the title's middle, x as it was.
        {"A101", 0, {600, 525}, {111, 398}},
        {"B500", std::nullopt, {-7, -9}, {111, 222}},
    };
    for (const Case& c : cases) {
        const auto p = demo::layoutPanel(dropDown(lines, c.code));
        EXPECT_EQ(p.title, c.title) << c.code;
        EXPECT_EQ((Point{p.panel.left, p.panel.top}), c.corner) << c.code;
        EXPECT_EQ(p.target, c.target) << c.code;
    }
}

TEST(MenuPanel, AnEntryThePanelDoesNotShowIsAimedAtThePointer) {
    const auto lines = block({{2, "0"}, {4, "a|-|b"}});
    struct Case {
        const char* code;
        bool shown;
    } const cases[] = {{"3110", false}, {"3121", false}, {"3125", false},
                       {"3140", false}, {"3122", true},  {"3120", true}};
    for (const Case& c : cases) {
        const auto p = demo::layoutPanel(context(lines, c.code, {3000, 2000}));
        EXPECT_EQ(p.entry.has_value(), c.shown) << c.code;
        if (!c.shown) {
            EXPECT_EQ(p.target, (Point{3000, 2000})) << c.code;
        }
        EXPECT_EQ(p.frame.top, p.target.y - 135) << c.code;
    }
}

TEST(MenuPanel, TheFrameIsScaledAndAMissingFileShowsBlankRows) {
    auto in = context(std::vector<std::string>(15), "3110");
    in.scaleY = 0.8;
    const auto p = demo::layoutPanel(in);
    EXPECT_EQ(p.cascades.size(), 5u);
    EXPECT_EQ(p.entries.size(), 4u);
    EXPECT_EQ(p.panel, (Rect{3000, 2000, 30 + 690, 90 + 9 * 270}));
    EXPECT_EQ(p.entry, (Point{3315, 2188}));
    EXPECT_EQ(p.frame, (Rect{3000, 2188 - 108, 720, 216}));
}

demo::SubmenuInput submenu(std::vector<std::string> lines, std::string code) {
    demo::SubmenuInput in;
    in.block = std::move(lines);
    in.code = std::move(code);
    in.panel = {3000, 2000, 900, 1170};
    in.cascadeTop = 2360;
    in.pointer = {3400, 2458};
    in.measure = measure;
    return in;
}

TEST(Submenu, StandsBesideThePanelWithItsEntriesAndFrame) {
    const auto s = demo::layoutSubmenu(submenu(block({{3, "A|-|Bcd"}}), "3112"));
    ASSERT_TRUE(s.shown);
    const int left = 3000 + 900 - 60;
    const int top = 2360;
    EXPECT_EQ(s.rect, (Rect{left, top, 300 + 690, 810}));
    ASSERT_EQ(s.entries.size(), 2u);
    EXPECT_EQ(s.entries[0], (demo::EntryLabel{0, 0, "A", {left + 300, top + 135, 120, 195}}));
    EXPECT_EQ(s.entries[1], (demo::EntryLabel{0, 2, "Bcd", {left + 300, top + 540, 300, 195}}));
    ASSERT_EQ(s.separators.size(), 1u);
    EXPECT_EQ(s.separators[0], (demo::SeparatorLine{0, {left + 60, top + 405}, {left + 60 + 990 - 120, top + 405}}));
    EXPECT_EQ(s.entry, (Point{left + 450, top + 540 + 98}));
    EXPECT_EQ(s.target, s.entry);
    EXPECT_EQ(s.frame, (Rect{left, top + 480, 990, 285}));
}

TEST(Submenu, EachCascadeOpensItsOwnListLine) {
    const auto lines = block({{3, "one"}, {6, "three"}, {9, "five"}, {12, "seven"}, {14, "eight"}});
    for (const auto& [code, caption] : std::map<std::string, std::string>{
             {"A110", "one"}, {"A130", "three"}, {"A150", "five"}, {"A170", "seven"}, {"A180", "eight"}}) {
        const auto s = demo::layoutSubmenu(submenu(lines, code));
        ASSERT_EQ(s.entries.size(), 1u) << code;
        EXPECT_EQ(s.entries[0].caption, caption) << code;
    }
}

TEST(Submenu, ListsWithoutEntriesOrArraysAimAtThePointer) {
    // Ten shown of twelve, seven separators with lines for six, a missing file, no list.
    const auto ten = demo::layoutSubmenu(submenu(block({{3, "1|2|3|4|5|6|7|8|9|10|11"}}), "3119"));
    EXPECT_EQ(ten.entries.size(), 10u);
    EXPECT_EQ(ten.entries.back().caption, "10");
    EXPECT_EQ(ten.rect.height, 135 + 10 * 270);

    const auto seps = demo::layoutSubmenu(submenu(block({{3, "-|-|-|-|-|-|-|x"}}), "3117"));
    EXPECT_EQ(seps.separators.size(), 6u);
    ASSERT_EQ(seps.entries.size(), 1u);
    EXPECT_EQ(seps.entries[0].rect.top, 2360 + 135 + 7 * 135);
    EXPECT_TRUE(seps.entry.has_value());

    const auto onSeparator = demo::layoutSubmenu(submenu(block({{3, "-|x"}}), "3110"));
    EXPECT_TRUE(onSeparator.shown);
    EXPECT_FALSE(onSeparator.entry);
    EXPECT_FALSE(onSeparator.frame);
    EXPECT_EQ(onSeparator.target, (Point{3400, 2458}));

    const auto blank = demo::layoutSubmenu(submenu(std::vector<std::string>(15), "3115"));
    EXPECT_EQ(blank.entries.size(), 1u);
    EXPECT_EQ(blank.rect.height, 135 + 270);
    EXPECT_EQ(blank.target, (Point{3400, 2458}));

    for (const char* code : {"A101", "A1X1", "A121"}) {
        auto in = submenu(block({{3, "x"}}), code);
        const auto none = demo::layoutSubmenu(in);
        EXPECT_FALSE(none.shown) << code;
        EXPECT_TRUE(none.entries.empty()) << code;
        EXPECT_EQ(none.target, (Point{3400, 2458})) << code;
    }
}

TEST(MenuCode, ArrivalsClickPlainEntriesAndHandEveryOtherCodeToTheSubmenu) {
    for (const char* code : {"A121", "A140", "3160", "B192"}) EXPECT_TRUE(demo::clicksPlainEntry(code)) << code;
    for (const char* code : {"A111", "A101", "A1X1", "3180", "A1"}) EXPECT_FALSE(demo::clicksPlainEntry(code)) << code;
    EXPECT_EQ(demo::cascadeOf("A181"), 8);
    EXPECT_EQ(demo::cascadeOf("A101"), std::nullopt);
    EXPECT_TRUE(demo::opensDropDown(std::string(129, ' ') + "00300"));
    EXPECT_FALSE(demo::opensDropDown(std::string(129, ' ') + "00000"));
    EXPECT_EQ(demo::titleIndexOf("B2"), 10);
}

}  // namespace
