// The unit section: its two pages, the unit captions, the progress chart, the filters and
// the start of a unit practice.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/home/home_fixture.h"

namespace hometest {
namespace {

using testsupport::gbkBytes;

// Fourteen units; unit 3 has 3 questions and unit 12 has 4.
const char* kFourteen = "0806050305050403040403040404";

void expectVisibleUnitButtons(qz::FrmFengmian& home, int first, int last) {
    for (int i = 50; i <= 69; ++i) EXPECT_EQ(home.ClickBotn(i).visible(), i >= first && i <= last) << i;
}

TEST_F(HomeScreen, EightUnitsHaveOnePage) {
    writeCatalogue({"0508", "0806050405050403"});
    qz::FrmFengmian& home = start();
    EXPECT_FALSE(home.ClickBotn(48).Enabled());
    EXPECT_EQ(home.ClickBotn(48).Caption(), "");
    EXPECT_EQ(home.ClickBotn(47).Caption(), "1-8单元");
    click(4);
    expectVisibleUnitButtons(home, 50, 57);
    click(57);
    EXPECT_EQ(home.SelectedUnit, 7);
    expectVisibleUnitButtons(home, 50, 57);
    click(48);  // disabled
    EXPECT_EQ(home.SelectedUnit, 7);
    click(47);
    EXPECT_EQ(home.SelectedUnit, 0);
    expectVisibleUnitButtons(home, 50, 57);
}

struct PagesCase {
    std::string counts;
    int units;
    std::string page2;
    friend void PrintTo(const PagesCase& c, std::ostream* os) { *os << c.units << " units"; }
};

class Pages : public HomeRun, public ::testing::TestWithParam<PagesCase> {};

TEST_P(Pages, SecondPageShowsUnitsFromTheEleventh) {
    const PagesCase& c = GetParam();
    writeCatalogue({"05" + std::to_string(c.units), c.counts});
    setUnitNames({{10, "图层管理"}});
    qz::FrmFengmian& home = start();
    EXPECT_EQ(home.ClickBotn(47).Caption(), "1-10单元");
    EXPECT_EQ(home.ClickBotn(48).Caption(), c.page2);
    EXPECT_TRUE(home.ClickBotn(48).Enabled());
    click(4);
    click(48);
    EXPECT_EQ(home.SelectedUnit, 10);
    EXPECT_EQ(home.LblUnitDQCAP(1).caption(), "第11单元 图层管理");
    EXPECT_FALSE(home.ClickBotn(60).Enabled());
    expectVisibleUnitButtons(home, 60, 49 + c.units);
    EXPECT_EQ(pictureId(home.ClickBotn(47).Picture()), "l20046");
    EXPECT_EQ(pictureId(home.ClickBotn(48).Picture()), "l20086");
    click(47);
    EXPECT_EQ(home.SelectedUnit, 0);
    EXPECT_EQ(home.LblUnitDQCAP(1).caption(), "第1单元 第1单元");
    expectVisibleUnitButtons(home, 50, 59);
    EXPECT_EQ(pictureId(home.ClickBotn(47).Picture()), "l20086");
    EXPECT_EQ(pictureId(home.ClickBotn(48).Picture()), "l20046");
    // A unit of page 2 chosen on entry turns the page too.
    writeProgress({"TTTTTTTT", "TTTTTT", "TTTTT", "TTTT", "TTTTT", "TTTTT", "TTTT", "TTT", "TTTT", "TTTT"});
    run();
    qz::FrmFengmian& again = HomeRun::home();
    click(4);
    EXPECT_EQ(again.SelectedUnit, 10);
    expectVisibleUnitButtons(again, 60, 49 + c.units);
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(Home, Pages,
                         ::testing::Values(PagesCase{"080605040505040304040304", 12, "11-12单元"},
                                           PagesCase{kFourteen, 14, "11-14单元"}),
                         [](const ::testing::TestParamInfo<PagesCase>& i) {
                             return std::to_string(i.param.units) + "units";
                         });

TEST_F(HomeScreen, UnitCaptionsAreTwentyFiveColumns) {
    struct Case {
        int unit;
        std::string name;
        std::string caption;
    };
    const std::string twelve = "一二三四五六七八九十甲乙";
    const std::vector<Case> cases{
        {0, "绘图", "1.绘图" + std::string(19, ' ')},
        {1, "abcdefghijklmnopqrstuvwxyz", "2.abcdefghijklmnopqrstuvw"},
        // A double-byte character crossing column 24 ends the caption at column 25.
        {2, "a" + twelve, "3.a一二三四五六七八九十甲"},
        // Exactly 24 columns before a double-byte character: a space instead of it.
        {3, twelve, "4.一二三四五六七八九十甲 "},
        // Exactly 24 before a single-byte character: that character.
        {4, "一二三四五六七八九十甲xyz", "5.一二三四五六七八九十甲x"},
        {9, "", "10." + std::string(22, ' ')},
        {10, "第十一单元", "11.第十一单元" + std::string(12, ' ')},
    };
    std::map<int, std::string> names;
    for (const auto& c : cases) names[c.unit] = c.name;
    setUnitNames(names);
    qz::FrmFengmian& home = start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        const std::string& caption = home.ClickBotn(50 + c.unit).Caption();
        EXPECT_EQ(caption, c.caption);
        // One display column per GBK byte.
        EXPECT_EQ(gbkBytes(caption).size(), 25u);
    }
    EXPECT_EQ(home.ClickBotn(53).ForeColor(), forms::colors::Black);
    EXPECT_DOUBLE_EQ(home.ClickBotn(53).FontSize(), 9);
}

struct ChartCase {
    int click;  // 49 all units, else a unit button
    std::string total, learned, notLearned;
    int learnedBar, notLearnedBar;
};

TEST_F(HomeScreen, ProgressChart) {
    writeCatalogue({"0502", "3040"});
    writeProgress({std::string(20, 'T') + std::string(10, 'F'), std::string(40, 'F')});
    qz::FrmFengmian& home = start();
    click(4);
    const std::vector<ChartCase> cases{{49, "70题", "20题", "50题", 3570 * 20 / 70, 3570 * 50 / 70},
                                       {50, "30题", "20题", "10题", 3570 * 20 / 30, 3570 * 10 / 30},
                                       {51, "40题", "0题", "40题", 0, 3570}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.click);
        click(c.click);
        EXPECT_EQ(home.LblUnitDQCAP(2).caption(), c.total);
        EXPECT_EQ(home.LblUnitDQCAP(3).caption(), c.learned);
        EXPECT_EQ(home.LblUnitDQCAP(4).caption(), c.notLearned);
        EXPECT_EQ(home.ImgUnitD.height(), c.learnedBar);
        EXPECT_EQ(home.ImgUnitC.height(), c.notLearnedBar);
        // The bars stand on one base line, the counts just above them.
        EXPECT_EQ(home.ImgUnitD.top(), 5550 - c.learnedBar);
        EXPECT_EQ(home.ImgUnitC.top(), 5550 - c.notLearnedBar);
        EXPECT_EQ(home.LblUnitDQCAP(3).top(), home.ImgUnitD.top() - 240);
        EXPECT_EQ(home.LblUnitDQCAP(4).top(), home.ImgUnitC.top() - 240);
        EXPECT_EQ(home.ImgUnitD.left(), 5910);
        EXPECT_EQ(home.ImgUnitC.left(), 7410);
        EXPECT_EQ(home.LblUnitDQCAP(3).left(), 6150);
        EXPECT_EQ(home.LblUnitDQCAP(4).left(), 7650);
        EXPECT_FALSE(home.ClickBotn(c.click).Enabled());
    }
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, UnitWithoutQuestionsShowsEmptyBars) {
    writeCatalogue({"0503", "050005"});
    writeProgress({"TTTTT", "TTT", "FFFFF"});
    qz::FrmFengmian& home = start();
    EXPECT_EQ(home.ImgUnitD.height(), 1785);
    // The empty unit is the first not learned enough, so entry shows it.
    click(4);
    EXPECT_EQ(home.SelectedUnit, 1);
    EXPECT_EQ(home.LblUnitDQCAP(1).caption(), "第2单元 第2单元");
    for (int k = 2; k <= 4; ++k) EXPECT_EQ(home.LblUnitDQCAP(k).caption(), "0题") << k;
    EXPECT_EQ(home.ImgUnitD.height(), 0);
    EXPECT_EQ(home.ImgUnitC.height(), 0);
    EXPECT_EQ(home.ImgUnitD.top(), 5550);
    EXPECT_EQ(home.ImgUnitC.top(), 5550);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, FilterButtonsSwapPictures) {
    qz::FrmFengmian& home = start();
    click(4);
    auto pictures = [&] {
        return std::vector<std::string>{pictureId(home.ClickBotn(37).Picture()),
                                        pictureId(home.ClickBotn(38).Picture()),
                                        pictureId(home.ClickBotn(39).Picture())};
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(pictures(), (V{"l20087", "l20038", "l20039"}));
    const std::string before = home.LblUnitDQCAP(2).caption();
    click(38);
    EXPECT_EQ(home.UnitFilter, 1);
    EXPECT_EQ(pictures(), (V{"l20037", "l20088", "l20039"}));
    click(39);
    EXPECT_EQ(home.UnitFilter, 2);
    EXPECT_EQ(pictures(), (V{"l20037", "l20038", "l20089"}));
    click(39);
    EXPECT_EQ(pictures(), (V{"l20037", "l20038", "l20089"}));
    click(37);
    EXPECT_EQ(home.UnitFilter, 0);
    EXPECT_EQ(pictures(), (V{"l20087", "l20038", "l20039"}));
    // Filters change no counts and stay enabled.
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), before);
    for (int i = 37; i <= 39; ++i) EXPECT_TRUE(home.ClickBotn(i).Enabled()) << i;
}

TEST_F(HomeScreen, StartWithAllUnitsAsksForAUnit) {
    qz::FrmFengmian& home = start();
    click(4);
    click(49);
    for (BoxButton answer : {Confirm, Cancel}) {
        BoxSeen box = clickAnswering(20, answer);
        ASSERT_TRUE(box.opened);
        EXPECT_EQ(box.title, "单元练习");
        EXPECT_EQ(box.prompt,
                  "\r\n本模块共有12单元\r\n\r\n请先点击左边单元名称选择您要学习的单元，再点开始学习！");
        EXPECT_EQ(box.icon, "l20072");
        // Nothing started.
        EXPECT_EQ(g().ListMode, 0);
        EXPECT_EQ(g().InteractionMode, 0);
        EXPECT_EQ(g().QuestionCount, 0);
        EXPECT_TRUE(home.PicTiKu.visible());
        EXPECT_TRUE(home.PicAd.visible());
        EXPECT_EQ(home.SelectedUnit, -1);
    }
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, FilterThatLeavesNoQuestion) {
    writeCatalogue({"0502", "0403"});
    writeProgress({"FFFF", "TTT"});
    qz::FrmFengmian& home = start();
    click(4);
    ASSERT_EQ(home.SelectedUnit, 0);
    click(38);
    BoxSeen none = clickAnswering(20, Confirm);
    ASSERT_TRUE(none.opened);
    EXPECT_EQ(none.title, "章节练习");
    EXPECT_EQ(none.prompt, "\r\n\r\n\r\n您本部分没有已学题！");
    EXPECT_EQ(none.icon, "l20072");
    click(51);
    click(39);
    BoxSeen all = clickAnswering(20, CloseSpot);
    ASSERT_TRUE(all.opened);
    EXPECT_EQ(all.title, "章节练习");
    EXPECT_EQ(all.prompt, "\r\n\r\n\r\n您本部分没有未学题！");
    EXPECT_EQ(g().ListMode, 0);
    EXPECT_EQ(g().QuestionCount, 0);
    EXPECT_EQ(g().PaperSlot, 0);
    EXPECT_TRUE(h->reports().empty());
}

struct PracticeCase {
    std::string name;
    int unit;
    int filter;  // button 37, 38 or 39
    int listMode, listBase, paperSlot;
    std::vector<int> codes;
    std::vector<int> states;
    std::vector<std::string> done;
    friend void PrintTo(const PracticeCase& c, std::ostream* os) { *os << c.name; }
};

class Practice : public HomeRun, public ::testing::TestWithParam<PracticeCase> {};

TEST_P(Practice, PreparesTheSession) {
    const PracticeCase& c = GetParam();
    writeCatalogue({"0514", kFourteen});
    std::vector<std::string> progress(13);
    progress[3] = "TFT";
    progress[12] = "FTFT";
    writeProgress(progress);
    writeUnitSet(3, {1, 2, 1});
    writeUnitSet(12, {2, 1, 2, 1});  // a first question of one record would be done at once
    start();
    openUnit(c.unit, c.filter);
    click(20);
    EXPECT_TRUE(h->host.messageBoxes.empty());
    EXPECT_FALSE(h->isLoaded("FrmQZMSGBOX"));
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_EQ(g().CurrentQuestion, 1);
    EXPECT_EQ(g().ListMode, c.listMode);
    EXPECT_EQ(g().ListBase, c.listBase);
    EXPECT_EQ(g().PaperSlot, c.paperSlot);
    ASSERT_EQ(g().QuestionCount, static_cast<int>(c.codes.size()));
    for (std::size_t i = 1; i <= c.codes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g().QuestionCodes[i], c.codes[i - 1]);
        // The panel has shown the first question: it is opened.
        EXPECT_EQ(g().QuestionState[i], c.states[i - 1] | (i == 1 ? 1 : 0));
        EXPECT_EQ(g().DoneBefore[i], c.done[i - 1]);
    }
    EXPECT_EQ(g().DoneBefore[c.codes.size() + 1], "");
    // The session has replaced the home screen.
    EXPECT_FALSE(h->isLoaded("FrmFengmian"));
    EXPECT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_TRUE(h->reports().empty()) << (h->reports().empty() ? "" : h->reports()[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Home, Practice,
    ::testing::Values(
        PracticeCase{"unit3_whole", 3, 37, 20, 3, 0, {301, 302, 303}, {4, 0, 4}, {"T", "F", "T"}},
        PracticeCase{"unit3_learned", 3, 38, 5, 14, 3, {301, 303}, {4, 4}, {"T", "T"}},
        PracticeCase{"unit3_not_learned", 3, 39, 6, 13, 3, {302}, {0}, {"F"}},
        PracticeCase{"unit12_whole", 12, 37, 20, 12, 0, {1201, 1202, 1203, 1204}, {0, 4, 0, 4}, {"F", "T", "F", "T"}},
        PracticeCase{"unit12_learned", 12, 38, 5, 14, 12, {1202, 1204}, {4, 4}, {"T", "T"}},
        PracticeCase{"unit12_not_learned", 12, 39, 6, 13, 12, {1201, 1203}, {0, 0}, {"F", "F"}}),
    [](const ::testing::TestParamInfo<PracticeCase>& i) { return i.param.name; });

}  // namespace
}  // namespace hometest
