// The simulated menus: which block of the menu file a step opens, what the popup shows,
// which choice completes which code, and the menu bar over the screenshot.
#include "simwindow/menu_file.h"
#include "tests/simwindow/sim_fixture.h"
#include "tests/support/popup_captions.h"

namespace {

using forms::buttons::Left;
using forms::buttons::Right;
using simtest::Rec;
using simtest::SimWindow;
using testsupport::captionsOf;
namespace menus = qz::menus;

TEST(MenuFile, BlocksStartWhereTheirFamilyAndMenuNumberPutThem) {
    struct Case {
        std::int32_t code;
        int menu;
        std::optional<long> first;
    } const cases[] = {
        {10132, 1, 1},     {10132, 11, 151}, {11221, 11, 151}, {19999, 2, 16},  {3120, 1, 166},
        {4920, 9, 286},    {3020, 0, 151},   {50120, 1, 301},  {59999, 11, 451}, {2120, 1, std::nullopt},
        {20120, 1, std::nullopt}, {60120, 1, std::nullopt},  {5120, 1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(menus::blockFirstLine(c.code, c.menu), c.first) << c.code << " " << c.menu;
}

TEST(MenuFile, ItemLinesGiveAtMostTenTexts) {
    EXPECT_EQ(menus::splitItems("a|b|-|d"), (std::vector<std::string>{"a", "b", "-", "d"}));
    EXPECT_EQ(menus::splitItems("0"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(menus::splitItems(""), (std::vector<std::string>{""}));
    EXPECT_EQ(menus::splitItems("a||"), (std::vector<std::string>{"a", "", ""}));
    const auto twelve = menus::splitItems("1|2|3|4|5|6|7|8|9|10|11|12");
    ASSERT_EQ(twelve.size(), 10u);
    EXPECT_EQ(twelve.back(), "10");
}

TEST(MenuFile, AChoiceCompletesOnlyTheItemItsCodeNames) {
    struct Case {
        std::int32_t code;
        int menu, array, index;
        bool completes;
    } const cases[] = {
        {10132, 1, 3, 2, true},   // A132: item 2 of the second submenu of menu 1
        {10132, 1, 3, 1, false},  {10132, 2, 3, 2, false}, {10132, 1, 4, 2, false},
        {3220, 2, 2, 0, true},    // item 0 of the first plain array of context menu 2
        {4995, 9, 9, 5, true},    {4995, 8, 9, 5, false},
        {3020, 0, 2, 0, true},    {3020, 1, 2, 0, false},
        {3301, 3, 1, 1, false},   {10100, 1, 1, 0, false},  // tens 0 names no array
        {50718, 7, 1, 8, true},   {50718, 7, 1, 8, true},
        {11221, 11, 2, 1, true},  // B221 from menu 11
        {11221, 2, 2, 1, false},  // ... and never from menu 2
        {10221, 2, 2, 1, true},   {10221, 11, 2, 1, false},  // A221 is menu 2's
        {11229, 11, 2, 9, true},  {11220, 11, 3, 0, false},
        {11131, 1, 3, 1, true},   // other "B" codes read as their digits
        {2120, 1, 1, 0, false},   {120, 1, 2, 0, false},   {20120, 1, 2, 0, false}, {60120, 1, 2, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menus::itemCompletes(c.code, c.menu, c.array, c.index), c.completes)
            << c.code << " menu " << c.menu << " array " << c.array << " item " << c.index;
    for (std::int32_t code : {3000, 3101, 4909, 10100, 11220 - 20, 50305}) EXPECT_TRUE(menus::namesNoArray(code)) << code;
    for (std::int32_t code : {3120, 10132, 2000, 1, 9999}) EXPECT_FALSE(menus::namesNoArray(code)) << code;
}

class Menus : public SimWindow {
protected:
    void rightClick() {
        h->host.click(m().Label1, Right);
        settle();
    }
};

// Context menu 1 (lines 166-180) with every kind of line.
const std::map<long, std::string> kContext1 = {
    {167, "排列(&A)"}, {168, "前移|后移|-|置顶"}, {169, "剪切|复制"}, {170, "0"}, {171, "忽略"},
    {173, "属性(&P)"}, {174, "1|2|3|4|5|6|7|8|9|10|11|12"}, {175, "删除"},
};

TEST_F(Menus, ThePopupShowsTheBlockInMenuOrderAndTheChosenItemCompletes) {
    writeMenu(kContext1);
    start({Rec("3113"), Rec("3153"), Rec("9999")});
    // Submenu 1, its two plain items, submenu 3, one plain item; the captionless submenu 2
    // stays hidden though its item line holds a text.
    h->host.choosePopupAt({0, 3});
    rightClick();
    ASSERT_EQ(h->host.popups.size(), 1u);
    const auto& top = h->host.popups[0].items;
    EXPECT_EQ(captionsOf(top), (std::vector<std::string>{"排列(&A)", "剪切", "复制", "属性(&P)", "删除"}));
    EXPECT_EQ(captionsOf(top[0].children), (std::vector<std::string>{"前移", "后移", "-", "置顶"}));
    ASSERT_EQ(top[3].children.size(), 10u);
    EXPECT_EQ(top[3].children.back().caption, "10");
    EXPECT_EQ(step(), 2);
    // The wrong item of the right array changes nothing; the right one completes.
    h->host.choosePopupAt({3, 2});
    rightClick();
    EXPECT_EQ(step(), 2);
    h->host.choosePopupAt({3, 3});
    rightClick();
    EXPECT_EQ(step(), 3);
}

TEST_F(Menus, EveryOpeningRebuildsTheMenuFromItsOwnBlock) {
    // Context menu 1 has plain items after submenu 1; menu 2's line 4 is "0".
    auto lines = kContext1;
    lines[182] = "新建(&N)";
    lines[183] = "图层";
    writeMenu(lines);
    start({Rec("3120"), Rec("3211"), Rec("9999")});
    h->host.choosePopupAt({1});
    rightClick();
    EXPECT_EQ(step(), 2);
    h->host.choosePopup("");
    rightClick();
    ASSERT_EQ(h->host.popups.size(), 2u);
    EXPECT_EQ(captionsOf(h->host.popups[1].items), (std::vector<std::string>{"新建(&N)"}));
    EXPECT_EQ(m().MenuNumber, 2);
}

TEST_F(Menus, ContextMenuZeroReadsTheLastBlockOfTheFirstBarFamily) {
    writeMenu({{154, "零号"}, {169, "错块"}});
    start({Rec("3020"), Rec("9999")});
    h->host.choosePopup("零号");
    rightClick();
    ASSERT_EQ(h->host.popups.size(), 1u);
    EXPECT_EQ(captionsOf(h->host.popups[0].items), (std::vector<std::string>{"零号"}));
    EXPECT_EQ(step(), 2);
}

TEST_F(Menus, LinesPastTheEndOfTheFileAreEmptyTexts) {
    // The file ends after line 4 of context block 9: its other lines show as empty entries.
    writeMenu({{289, "末项"}}, 289);
    start({Rec("4920"), Rec("9999")});
    h->host.choosePopupAt({0});
    rightClick();
    ASSERT_EQ(h->host.popups.size(), 1u);
    const auto& top = h->host.popups[0].items;
    EXPECT_EQ(captionsOf(top), (std::vector<std::string>{"末项", "", "", "", "", "", "", ""}));
    EXPECT_EQ(top[1].children.size(), 1u);
    EXPECT_EQ(step(), 2);
}

TEST_F(Menus, WithoutTheMenuFileNothingShowsAndNothingCompletes) {
    start({Rec("3120"), Rec("9999")});
    h->host.choosePopupAt({0});
    rightClick();
    EXPECT_TRUE(h->host.popups.empty());
    EXPECT_EQ(step(), 1);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(Menus, ACodeOfNoFamilyShowsEmptyEntriesThatCompleteNothing) {
    writeMenu({{1, "x"}, {2, "文件"}, {3, "a|b"}, {4, "c"}});
    start({Rec("0001").menuBar(1000, 600), Rec("9999")});
    h->host.choosePopupAt({1});
    h->host.click(m().LMenu(0));
    settle();
    ASSERT_EQ(h->host.popups.size(), 1u);
    const auto& top = h->host.popups[0].items;
    ASSERT_EQ(top.size(), 9u);  // five submenus, each with one empty item, and four empty items
    for (const auto& e : top) {
        EXPECT_EQ(e.caption, "");
        EXPECT_LE(e.children.size(), 1u);
    }
    EXPECT_EQ(step(), 1);
}

// ---- the menu bar ----

TEST_F(Menus, TheBarStandsFromTheRecordsOriginWithBoxesCentredOnTheTitles) {
    writeMenu({});
    start({Rec("A221").menuBar(1000, 600), Rec("9999")});
    const auto& w = m();
    for (int i = 0; i <= 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(w.LMenu(i).visible());
        EXPECT_EQ(w.LMenu(i).left(), 1000 + 810 * i);
        EXPECT_EQ(w.LMenu(i).top(), 600);
        const auto& box = w.LMBack(i);
        EXPECT_FALSE(box.visible());
        EXPECT_EQ(box.width(), 810);
        EXPECT_EQ(box.height(), 255);
        EXPECT_EQ(box.left(), w.LMenu(i).left() + (w.LMenu(i).width() - 810) / 2);
        EXPECT_EQ(box.top(), 600 + (w.LMenu(i).height() - 255) / 2);
    }
    EXPECT_EQ(w.LMenu(10).left(), 9100);
    EXPECT_EQ(w.LMenu(2).caption(), "视图(&V)");
}

TEST_F(Menus, HoverHighlightsOneTitleUntilTheWindowIsClicked) {
    writeMenu({});
    folder.writePicture("100002", 40, 30);
    start({Rec("A221").menuBar(1000, 600).image(2, 3000, 4000, "100002").image(5, 6000, 4000, "100002"), Rec("9999")});
    auto highlighted = [this] {
        std::vector<int> on;
        for (int i = 0; i <= 10; ++i) {
            EXPECT_EQ(m().LMBack(i).visible(), m().LMenu(i).foreColor() != forms::colors::ButtonText) << i;
            if (m().LMBack(i).visible()) on.push_back(i);
        }
        return on;
    };
    h->host.moveTo(m().LMenu(3));
    settle();
    EXPECT_EQ(highlighted(), std::vector<int>{3});
    h->host.moveTo(m().LMenu(5));
    h->host.moveTo(forms::Point{m().left() + 6000, m().top() + 6000});
    settle();
    EXPECT_EQ(highlighted(), std::vector<int>{5});
    h->host.click(m().Image5);
    settle();
    EXPECT_EQ(highlighted(), std::vector<int>{5});
    h->host.click(m().Image2);
    settle();
    EXPECT_EQ(highlighted(), std::vector<int>{});
}

TEST_F(Menus, ATitleOpensItsMenuUnderItsBoxAndOnlyTheItemCompletes) {
    // Menu 2's block: lines 16-30; "A221" is item 1 of the plain items after submenu 1.
    writeMenu({{17, "0"}, {19, "撤销|重做|-|剪切"}});
    start({Rec("A221").menuBar(1000, 600), Rec("9999")});
    h->host.choosePopup("");
    h->host.moveTo(m().LMenu(1));
    h->host.click(m().LMenu(1));
    settle();
    ASSERT_EQ(h->host.popups.size(), 1u);
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(m().MenuNumber, 2);
    const auto& box = m().LMBack(1);
    EXPECT_EQ(h->host.popups[0].screen.x, m().left() + box.left());
    EXPECT_EQ(h->host.popups[0].screen.y, m().top() + box.top() + box.height());
    EXPECT_EQ(captionsOf(h->host.popups[0].items), (std::vector<std::string>{"撤销", "重做", "-", "剪切"}));
    // The box's edge beyond the title's text opens the same menu.
    h->host.choosePopupAt({1});
    h->host.clickAt({m().left() + box.left() + 15, m().top() + box.top() + box.height() - 15});
    settle();
    ASSERT_EQ(h->host.popups.size(), 2u);
    EXPECT_EQ(h->host.popups[1].items.size(), 4u);
    EXPECT_EQ(step(), 2);
}

TEST_F(Menus, MenuElevenAloneCompletesTheB22Codes) {
    writeMenu({{19, "二号|二号之一"}, {154, "十一|十一之一"}});
    start({Rec("B221").menuBar(1000, 600), Rec("9999")});
    h->host.choosePopupAt({1});
    h->host.click(m().LMenu(1));
    settle();
    EXPECT_EQ(step(), 1);
    h->host.choosePopupAt({1});
    h->host.click(m().LMenu(10));
    settle();
    EXPECT_EQ(step(), 2);
}

}  // namespace
