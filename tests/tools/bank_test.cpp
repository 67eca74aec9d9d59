#include "tools/bank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "tests/support/message_of.h"
#include "tests/support/temp_dir.h"

using namespace qz::tools;
using testsupport::messageOf;
using testsupport::TempDir;
using testsupport::writeFileBytes;

namespace {

const ModuleInfo kModule{"CAD", "计算机辅助设计", "cadbank", "7", {"绘图环境设置", "基本绘图命令", "图形编辑"}};

}  // namespace

TEST(Papers, HoldFortyQuestionsOfTheirUnitsInProportion) {
    const std::vector<std::vector<int>> banks{
        {15, 6, 5, 4, 5, 5, 4, 3, 4, 4, 3, 42},  // the sample: 100
        {40},                                  // exactly one paper's worth
        {42, 42, 42},
        {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4},  // 40 over many small units
        {41, 3},
    };
    for (const auto& counts : banks) {
        SCOPED_TRACE(testing::PrintToString(counts));
        const int total = std::accumulate(counts.begin(), counts.end(), 0);
        const auto papers = drawPapers(counts, 5, 7);
        ASSERT_EQ(papers.size(), 5u);
        for (const auto& paper : papers) {
            ASSERT_EQ(paper.size(), static_cast<std::size_t>(kPaperSize));
            EXPECT_TRUE(std::is_sorted(paper.begin(), paper.end()));
            EXPECT_EQ(std::set<QuestionCode>(paper.begin(), paper.end()).size(), paper.size());
            std::vector<int> per(counts.size());
            for (const QuestionCode& q : paper) {
                ASSERT_GE(q.unit, 0);
                ASSERT_LT(q.unit, static_cast<int>(counts.size()));
                EXPECT_GE(q.question, 1);
                EXPECT_LE(q.question, counts[static_cast<std::size_t>(q.unit)]);
                ++per[static_cast<std::size_t>(q.unit)];
            }
            for (std::size_t u = 0; u < counts.size(); ++u) {  // floor or ceiling of the fair share
                const int share = counts[u] * kPaperSize / total;
                EXPECT_GE(per[u], share) << "unit " << u;
                EXPECT_LE(per[u], share + 1) << "unit " << u;
            }
        }
    }
}

TEST(Papers, NeedAPapersWorthOfQuestions) {
    EXPECT_THROW(drawPapers({20, 19}, 1, 1), std::invalid_argument);
    EXPECT_THROW(drawPapers({}, 1, 1), std::invalid_argument);
    EXPECT_EQ(drawPapers({20, 20}, 1, 1).front().size(), static_cast<std::size_t>(kPaperSize));
}

TEST(Papers, AreFixedBySeedAndDifferFromEachOther) {
    const std::vector<int> counts{8, 6, 5, 4, 5, 5, 4, 3, 4, 4, 3, 4};
    const auto a = drawPapers(counts, 5, 20261201);
    EXPECT_EQ(a, drawPapers(counts, 5, 20261201));
    EXPECT_NE(a, drawPapers(counts, 5, 20261202));
    EXPECT_EQ(std::set(a.begin(), a.end()).size(), a.size());
}

TEST(Catalogue, WritesCountsAndFourDigitCodes) {
    const BankSource bank{"202612010001", {8, 6, 5, 4, 5, 5, 4, 3, 4, 4, 3, 4}, 5, 1};
    const auto lines = catalogueLines(bank);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "0512");
    EXPECT_EQ(lines[1], "080605040505040304040304");
    const auto papers = drawPapers(bank.counts, 5, 1);
    for (std::size_t p = 0; p < 5; ++p) {
        const std::string& line = lines[2 + p];
        ASSERT_EQ(line.size(), 160u);
        ASSERT_EQ(line.find_first_not_of("0123456789"), std::string::npos);
        std::vector<QuestionCode> read;
        for (std::size_t i = 0; i < line.size(); i += 4)
            read.push_back({std::stoi(line.substr(i, 2)), std::stoi(line.substr(i + 2, 2))});
        EXPECT_EQ(read, papers[p]);
    }
}

// A mock exam scores exactly 40 questions, each worked once, so a paper that is short, names a
// question twice or one the bank lacks would score wrong or not start.
TEST(Catalogue, PapersAreFortyDistinctQuestionsOfTheBank) {
    const std::vector<int> counts{20, 25};
    std::string good;
    for (int q = 1; q <= 20; ++q) good += "00" + std::string(q < 10 ? "0" : "") + std::to_string(q);
    for (int q = 1; q <= 20; ++q) good += "01" + std::string(q < 10 ? "0" : "") + std::to_string(q);
    const std::string head[] = {"0202", "2025"};
    EXPECT_NO_THROW(checkPapers({head[0], head[1], good, good}, counts));
    EXPECT_NO_THROW(checkPapers(catalogueLines({"202612010001", counts, 20, 3}), counts));

    struct Case {
        std::string paper, error;
    } cases[] = {
        {good.substr(0, 156), "paper 2: a paper is 40 four-digit codes"},
        {good + "0121", "paper 2: a paper is 40 four-digit codes"},
        {good.substr(0, 156) + "01 1", "paper 2: a paper is 40 four-digit codes"},
        {good.substr(0, 156) + "0001", "paper 2: 0001 is given twice"},
        {good.substr(0, 156) + "0126", "paper 2: no question 0126 in the bank"},
        {good.substr(0, 156) + "0100", "paper 2: no question 0100 in the bank"},
        {good.substr(0, 156) + "0201", "paper 2: no question 0201 in the bank"},
    };
    for (const auto& c : cases) {
        const std::string error = messageOf<BankError>([&] { checkPapers({head[0], head[1], good, c.paper}, counts); });
        EXPECT_EQ(error, c.error) << c.paper;
    }
}

TEST(BankSourceFile, ReadsUnitsInTheModulesOrder) {
    TempDir dir;
    writeFileBytes(dir.file("bank.txt"),
                   "# bank\nversion = 202612010001\nunit 绘图环境设置 = 20\nunit 基本绘图命令 = 17\n"
                   "unit 图形编辑 = 3\npapers = 20\nseed = 42\n");
    const BankSource bank = readBank(readSource(dir.file("bank.txt")), kModule);
    EXPECT_EQ(bank.version, "202612010001");
    EXPECT_EQ(bank.counts, (std::vector<int>{20, 17, 3}));
    EXPECT_EQ(bank.papers, 20);
    EXPECT_EQ(bank.seed, 42u);
}

// The units' own files are numbered from the unit; past the 20th they would land on the texts file.
TEST(BankSourceFile, RefusesMoreUnitsThanTheProgramReads) {
    ModuleInfo module = kModule;
    while (module.units.size() < 21) module.units.push_back("单元" + std::to_string(module.units.size() + 1));
    std::string text = "version = 202612010001\npapers = 1\nseed = 1\n";
    for (const std::string& unit : module.units) text += "unit " + unit + " = 3\n";
    TempDir dir;
    writeFileBytes(dir.file("bank.txt"), text);
    const std::string error = messageOf<SourceError>([&] { readBank(readSource(dir.file("bank.txt")), module); });
    EXPECT_NE(error.find("the program reads at most 20 units"), std::string::npos) << error;
}

TEST(BankSourceFile, PointsAtTheLineToFix) {
    const std::string units = "unit 绘图环境设置 = 8\nunit 基本绘图命令 = 6\nunit 图形编辑 = 3\n";
    const std::string rest = "papers = 5\nseed = 1\n";
    struct Case {
        std::string text, error;
    } cases[] = {
        {"version = 2026\n" + units + rest, ":1: the version is twelve digits"},
        {"version = 202612010001\nunit 基本绘图命令 = 6\n" + rest, ":2: expected unit \"绘图环境设置\""},
        {"version = 202612010001\nunit 绘图环境设置 = 2\n" + rest, ":2: a unit has 3 to 42 questions"},
        {"version = 202612010001\nunit 绘图环境设置 = 43\n" + rest, ":2: a unit has 3 to 42 questions"},
        {"version = 202612010001\nunit 绘图环境设置 = 八\n" + rest, ":2: a unit has 3 to 42 questions"},
        {"version = 202612010001\n" + units + "unit 综合应用 = 4\n" + rest, ":5: ver.txt has no unit \"综合应用\""},
        {"version = 202612010001\nunit 绘图环境设置 = 8\n" + rest, "no question count for unit \"基本绘图命令\""},
        {"version = 202612010001\n" + units + "papers = 0\nseed = 1\n", ":5: papers must be 1 to 20"},
        {"version = 202612010001\n" + units + "papers = 21\nseed = 1\n", ":5: papers must be 1 to 20"},
        {"version = 202612010001\nunit 绘图环境设置 = 20\nunit 基本绘图命令 = 16\nunit 图形编辑 = 3\n" + rest,
         "the units hold 39 questions, fewer than a paper's 40"},
        {"version = 202612010001\n" + units + "papers = 5\nseed = -3\n", ":6: the seed must be a whole number"},
        {"version = 202612010001\n" + units + rest + "papers = 4\n", ":7: \"papers\" is given twice"},
        {"version = 202612010001\n" + units + rest + "colour = 1\n", ":7: unknown key \"colour\""},
        {units + rest, "\"version\" is missing"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeFileBytes(dir.file("bank.txt"), c.text);
        const std::string error = messageOf<SourceError>([&] { readBank(readSource(dir.file("bank.txt")), kModule); });
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n-> " << error;
    }
}

TEST(AdvertSourceFile, JoinsItsLinesWithTheBreakMark) {
    TempDir dir;
    writeFileBytes(dir.file("advert.txt"),
                   "line = 新版题库\nline = 点击查看\ncolour = &H0066CC\nlink = https://x.invalid/\n");
    EXPECT_EQ(readAdvert(readSource(dir.file("advert.txt"))),
              (std::vector<std::string>{"新版题库◎点击查看", "&H0066CC", "https://x.invalid/"}));

    struct Case {
        std::string text, error;
    } cases[] = {
        {"line = a◎b\ncolour = &HFF\nlink = x\n", ":1: a line cannot hold ◎"},
        {"line = a\ncolour = 0066CC\nlink = x\n", ":2: the colour is a VB literal"},
        {"line = a\ncolour = &H0066CG\nlink = x\n", ":2: the colour is a VB literal"},
        {"line = a\ncolour = &HFF\n", "\"colour\" and \"link\" are both needed"},
        {"colour = &HFF\nlink = x\n", "needs at least one line"},
        {"line = a\ncolour = &HFF\nlink = x\nlink = y\n", ":4: \"link\" is given twice"},
        {"line = ❤\ncolour = &HFF\nlink = x\n", ":1: \"❤\" has a character that GBK cannot hold"},
    };
    for (const auto& c : cases) {
        writeFileBytes(dir.file("bad.txt"), c.text);
        const std::string error = messageOf<SourceError>([&] { readAdvert(readSource(dir.file("bad.txt"))); });
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n-> " << error;
    }
}
