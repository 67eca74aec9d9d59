// The paper section: the rows of the fixed and random papers filled from the learner's records,
// the four tabs, and the tab the section opens on.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/home/paper_fixture.h"
#include "tests/support/scoped_failure.h"

namespace hometest {
namespace {

// The slots whose rows a tab shows, checking on the way that a row's labels and start button
// follow its background.
std::vector<int> shownRows(qz::FrmFengmian& home) {
    std::vector<int> shown;
    for (int s = 0; s < 30; ++s) {
        const bool visible = home.ImgShiJuan(s).visible();
        for (const forms::Control* c : std::initializer_list<const forms::Control*>{
                 &home.LblShiJuanBiao(s), &home.LblShiJuanTime(s), &home.LblShiJuanSSSS(s), &home.LblShiJuanScore(s),
                 &home.LblShiJuanCCC(s), &home.LblShiJuanCuoTi(s), &home.LblShiJuanDel(s), &home.ClickBotn(70 + s)})
            EXPECT_EQ(c->visible(), visible) << c->name() << "(" << s << ")";
        if (visible) shown.push_back(s);
    }
    return shown;
}

std::vector<int> range(int first, int last) {
    std::vector<int> out;
    for (int s = first; s <= last; ++s) out.push_back(s);
    return out;
}

std::vector<std::string> titles(qz::FrmFengmian& home, const std::vector<int>& slots) {
    std::vector<std::string> out;
    for (int s : slots) out.push_back(home.LblShiJuanBiao(s).caption());
    return out;
}

struct CountCase {
    int papers;
    int sprintLast;
    std::vector<std::string> firstTab;
    std::vector<std::string> secondTab;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.papers << " papers"; }
};

class PaperCount : public PaperRun, public ::testing::TestWithParam<CountCase> {};

TEST_P(PaperCount, GroupsTheFixedPapersOnTwoTabs) {
    const CountCase& c = GetParam();
    writePaperCount(c.papers);
    qz::FrmFengmian& home = start();
    EXPECT_EQ(home.SprintLastSlot, c.sprintLast);
    const int firstTabRows = static_cast<int>(c.firstTab.size());
    const int secondTabRows = static_cast<int>(c.secondTab.size());

    // The build ends on the first tab.
    EXPECT_EQ(shownRows(home), range(0, firstTabRows - 1));
    EXPECT_EQ(titles(home, range(0, firstTabRows - 1)), c.firstTab);
    EXPECT_FALSE(home.ClickBotn(28).Enabled());
    click(5);
    click(29);
    const std::vector<int> second = range(c.sprintLast + 1, c.sprintLast + secondTabRows);
    EXPECT_EQ(shownRows(home), second);
    EXPECT_EQ(titles(home, second), c.secondTab);

    // Two rows to a line, the first of each tab in the left column, all inside the panel.
    for (const std::vector<int>& tab : {range(0, firstTabRows - 1), second}) {
        for (std::size_t k = 0; k < tab.size(); ++k) {
            const forms::Image& row = home.ImgShiJuan(tab[k]);
            EXPECT_EQ(row.left(), k % 2 == 0 ? 2880 : 2880 + 4560) << tab[k];
            EXPECT_EQ(row.top(), home.ImgShiJuan(tab[k - k % 2]).top()) << tab[k];
            if (k >= 2) {
                EXPECT_GT(row.top(), home.ImgShiJuan(tab[k - 2]).top() + 1080) << tab[k];
            }
            EXPECT_LE(row.top() + row.height(), home.PicKaCH.height()) << tab[k];
            EXPECT_EQ(home.ClickBotn(70 + tab[k]).top(), row.top() + 630);
        }
    }
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Home, PaperCount,
    ::testing::Values(
        // Fewer than four papers still end the first tab at slot 7; only those there are shown.
        CountCase{3, 7, {"冲刺试卷一", "冲刺试卷二", "冲刺试卷三"}, {}},
        CountCase{4, 1, {"冲刺试卷一", "冲刺试卷二"}, {"模拟试卷一", "模拟试卷二"}},
        CountCase{5, 1, {"冲刺试卷一", "冲刺试卷二"}, {"模拟试卷一", "模拟试卷二", "模拟试卷三"}},
        CountCase{10,
                  3,
                  {"冲刺试卷一", "冲刺试卷二", "冲刺试卷三", "冲刺试卷四"},
                  {"模拟试卷一", "模拟试卷二", "模拟试卷三", "模拟试卷四", "模拟试卷五", "模拟试卷六"}},
        CountCase{16,
                  7,
                  {"冲刺试卷一", "冲刺试卷二", "冲刺试卷三", "冲刺试卷四", "冲刺试卷五", "冲刺试卷六", "冲刺试卷七",
                   "冲刺试卷八"},
                  {"模拟试卷一", "模拟试卷二", "模拟试卷三", "模拟试卷四", "模拟试卷五", "模拟试卷六", "模拟试卷七",
                   "模拟试卷八"}},
        // Twelve on the second tab: a sixth line, still inside the panel, and numerals on.
        CountCase{20,
                  7,
                  {"冲刺试卷一", "冲刺试卷二", "冲刺试卷三", "冲刺试卷四", "冲刺试卷五", "冲刺试卷六", "冲刺试卷七",
                   "冲刺试卷八"},
                  {"模拟试卷一", "模拟试卷二", "模拟试卷三", "模拟试卷四", "模拟试卷五", "模拟试卷六", "模拟试卷七",
                   "模拟试卷八", "模拟试卷九", "模拟试卷十", "模拟试卷十一", "模拟试卷十二"}}),
    [](const ::testing::TestParamInfo<CountCase>& i) { return std::to_string(i.param.papers) + "_papers"; });

TEST_F(PaperScreen, CountsAboveTwentyAreTakenAsTwenty) {
    // A count of 25 would put fixed papers on the random rows.
    writePaperCount(20);
    std::vector<std::string> lines = platform::splitLines(dataBytes("288891.mxy"));
    lines[0] = "2512";
    writeCatalogue(lines);
    qz::FrmFengmian& home = start();
    EXPECT_EQ(g().PaperCount, 20);
    click(5);
    click(29);
    EXPECT_EQ(shownRows(home), range(8, 19));
    click(31);
    EXPECT_EQ(shownRows(home), std::vector<int>{});
    EXPECT_EQ(home.LblShiJuanBiao(20).caption(), "随机试卷一");
}

TEST_F(PaperScreen, RowsShowTheRecords) {
    writeHistory({{1, {"2019-07-16 09:05:33", "87.5"}}, {2, {"2018-01-02 10:11:12", "100"}}, {30, recordOf(30)}}, 31);
    writeWrong(0, "01010102010301040105\r\n");              // 5 codes
    writeWrong(1, "  0101010201030104010501\r\n0201\r\n");  // 22 characters once trimmed: 5 whole codes
    writeWrong(2, "     \r\n");
    writeWrong(4, "");
    qz::FrmFengmian& home = start();
    struct Row {
        int slot;
        std::string time, score, unfinished;
    };
    for (const Row& r :
         {Row{0, "最后考试时间：您还未考试！", "0", "(5)"}, Row{1, "最后考试时间：2019-07-16 09:05", "87.5", "(5)"},
          Row{2, "最后考试时间：2018-01-02 10:11", "100", "(0)"}, Row{3, "最后考试时间：您还未考试！", "0", "(0)"},
          Row{4, "最后考试时间：您还未考试！", "0", "(0)"}}) {
        SCOPED_TRACE(r.slot);
        EXPECT_EQ(home.LblShiJuanTime(r.slot).caption(), r.time);
        EXPECT_EQ(home.LblShiJuanScore(r.slot).caption(), r.score);
        EXPECT_EQ(home.LblShiJuanCuoTi(r.slot).caption(), r.unfinished);
        EXPECT_EQ(home.LblShiJuanSSSS(r.slot).caption(), "最好成绩：    分");
        EXPECT_EQ(home.LblShiJuanCCC(r.slot).caption(), "错题复习");
        EXPECT_EQ(home.LblShiJuanDel(r.slot).caption(), "");
        // Centred in the frame's four blanks, however long: a score of four characters left
        // at the frame's x0 + 1140 ran over "分".
        const forms::Label& frame = home.LblShiJuanSSSS(r.slot);
        const forms::Label& score = home.LblShiJuanScore(r.slot);
        forms::Host& host = home.rt().host();
        const int blanksFrom = frame.left() + host.measureText(frame.font(), "最好成绩：").width;
        const int blanksTo = frame.left() + host.measureText(frame.font(), "最好成绩：    ").width;
        const int text = host.measureText(score.font(), r.score).width;
        EXPECT_EQ(score.alignment(), 2);
        EXPECT_GE(score.left() + (score.width() - text) / 2, blanksFrom);
        EXPECT_LE(score.left() + (score.width() + text) / 2, blanksTo);
        EXPECT_EQ(score.top(), frame.top());
    }
    EXPECT_EQ(home.LblShiJuanDel(20).caption(), "删除试卷");
    // The score report's 31st record is held, not shown.
    EXPECT_EQ(home.HistoryTable.line(91), recordOf(30).time);
    EXPECT_EQ(home.HistoryTable.line(92), "30");
    EXPECT_EQ(home.HistoryTable.line(93), "E");
    EXPECT_EQ(home.LblShiJuanScore(29).caption(), "0");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(PaperScreen, RowLabelsStandAboveTheirBackground) {
    qz::FrmFengmian& home = start();
    for (int s : {0, 29})
        for (const forms::Label* l : {&home.LblShiJuanBiao(s), &home.LblShiJuanDel(s), &home.LblShiJuanCCC(s)})
            EXPECT_GT(l->zValue(), home.ImgShiJuan(29).zValue()) << l->name();
}

TEST_F(PaperScreen, UnreadableHistoryIsReportedAndShowsDefaults) {
    writeHistory({{0, {"2019-07-16 09:05:33", "87.5"}}});
    testsupport::ScopedReadFailure unreadable(ksdataPath("288892.mxy"));
    qz::FrmFengmian& home = start();
    EXPECT_EQ(h->reportsWith("errsub=fengmaincsh&errno=75&").size(), 1u);
    EXPECT_EQ(home.LblShiJuanTime(0).caption(), "最后考试时间：您还未考试！");
    EXPECT_EQ(home.LblShiJuanScore(0).caption(), "0");
}

TEST_F(PaperScreen, DrawingAndRandomTabs) {
    qz::FrmFengmian& home = start();
    click(5);
    for (int tab : {28, 30, 29, 31}) {
        SCOPED_TRACE(tab);
        click(tab);
        for (int i = 28; i <= 31; ++i) EXPECT_EQ(home.ClickBotn(i).Enabled(), i != tab) << i;
        EXPECT_EQ(home.ImgSuiJi.visible(), tab == 30);
        EXPECT_EQ(home.ClickBotn(21).visible(), tab == 30);
        EXPECT_EQ(home.LblNoHis.visible(), tab == 31);
        if (tab >= 30) {
            EXPECT_EQ(shownRows(home), std::vector<int>{});
        }
    }
    EXPECT_EQ(home.LblNoHis.caption(), "您还没有练习过随机试卷！");

    writeRandomPapers(3);
    run();
    qz::FrmFengmian& again = HomeRun::home();
    click(5);
    click(31);
    EXPECT_FALSE(again.LblNoHis.visible());
    EXPECT_EQ(shownRows(again), range(20, 22));
    EXPECT_EQ(titles(again, range(20, 22)), (std::vector<std::string>{"随机试卷一", "随机试卷二", "随机试卷三"}));
    for (int s = 20; s <= 22; ++s) {
        EXPECT_EQ(again.LblShiJuanDel(s).caption(), "删除试卷");
        EXPECT_EQ(pictureId(again.ClickBotn(70 + s).Picture()), "l20048");
    }
    EXPECT_EQ(again.ImgShiJuan(20).left(), 2880);
    click(28);
    EXPECT_EQ(pictureId(again.ClickBotn(70).Picture()), "l20047");
    EXPECT_TRUE(h->reports().empty());
}

struct OpenCase {
    const char* name;
    std::map<int, HistoryRecord> history;
    int tab;
    friend void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }
};

class PaperTabOnEntry : public PaperRun, public ::testing::TestWithParam<OpenCase> {};

TEST_P(PaperTabOnEntry, FollowsTheScoresOfTheFirstTab) {
    const OpenCase& c = GetParam();
    writeHistory(c.history);
    qz::FrmFengmian& home = start();
    click(5);
    EXPECT_FALSE(home.ClickBotn(c.tab).Enabled());
    EXPECT_TRUE(home.ClickBotn(c.tab == 28 ? 29 : 28).Enabled());
}

// Five papers: the first tab is slots 0 and 1, and slot 0's score is not looked at.
INSTANTIATE_TEST_SUITE_P(Home, PaperTabOnEntry,
                         ::testing::Values(OpenCase{"never_taken", {}, 28},
                                           OpenCase{"slot_1_below_75", {{1, {"2020-01-01 00:00:00", "72.5"}}}, 28},
                                           OpenCase{
                                               "slot_1_at_75_slot_0_low",
                                               {{0, {"2020-01-01 00:00:00", "40"}}, {1, {"2020-01-01 00:00:00", "75"}}},
                                               29}),
                         [](const ::testing::TestParamInfo<OpenCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace hometest
