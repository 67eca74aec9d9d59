// The unit start button through the set build and the launch: the built set against its
// unit's lines, the session tables, and the launches that are refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"

namespace hometest {
namespace {

using qz::QuestionSet;
using testsupport::gbkBytes;

class Launch : public HomeScreen {
protected:
    void SetUp() override { writeSmallBank(); }
    // Unit u's start button with filter 37 (all), 38 (learned) or 39 (not learned). The panel's
    // timers are looked at right after the launch, before they fire.
    BoxSeen startUnit(int unit, int filter) {
        openUnit(unit, filter);
        return launch([this] { h->p().frmFengmian().ClickBotn_Click(20); });
    }
    void expectLaunched() {
        EXPECT_TRUE(timersOnAtLaunch);
        EXPECT_FALSE(h->isLoaded("FrmFengmian"));
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        EXPECT_TRUE(h->p().frmTm().visible());
        EXPECT_TRUE(h->p().frmMain().visible());
    }
    // Refused: the own message box, the home screen kept, no session state touched.
    void expectRefused(const BoxSeen& box) {
        ASSERT_TRUE(box.opened);
        EXPECT_EQ(box.title, "题库错误");
        EXPECT_EQ(box.icon, "l20072");
        EXPECT_TRUE(h->isLoaded("FrmFengmian"));
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_FALSE(h->isLoaded("FrmMain"));
        EXPECT_EQ(g().StepsFilePath, "");
        EXPECT_EQ(g().QuestionFilePath, "");
        EXPECT_EQ(g().CurrentStep, 0);
        EXPECT_EQ(g().FirstStepLine[1], 0);
        EXPECT_EQ(progressBytes(), progressAtStart);
    }
    // Runs a launch as a script step, notes the panel's timers right after it, and confirms
    // the own message box it opens, if any.
    BoxSeen launch(std::function<void()> action) {
        timersOnAtLaunch = false;
        return runAnswering(
            [this, action = std::move(action)] {
                action();
                if (qz::FrmTm* tm = h->p().loadedFrmTm())
                    timersOnAtLaunch = tm->TimerREDO.timerEnabled() && tm->TimKsModel.timerEnabled();
            },
            Confirm);
    }
    std::string progressAtStart;
    bool timersOnAtLaunch = false;
};

TEST_F(Launch, WholeUnitFillsTheSessionTables) {
    // The favourites' first line only, trimmed; the digits 0102 across two of its codes mark nothing.
    writeRecord("288862.mxy", "  010321010200  \r\n0102\r\n");
    start();
    g().ExamMinutesLeft = 7;
    g().QuestionPictures[2] = {"ab12cd", "000001", "", "", "", ""};
    g().QuestionPictures[40][5] = "zz0001";
    BoxSeen box = startUnit(1, 37);
    EXPECT_FALSE(box.opened);
    expectLaunched();
    const std::string data = folder.dataDir();
    EXPECT_EQ(g().StepsFilePath, data + "288821.mxy");
    EXPECT_EQ(g().QuestionFilePath, data + "288871.mxy");
    EXPECT_EQ(g().TextsFilePath, data + "288890.mxy");
    EXPECT_EQ(g().ListMode, 20);
    EXPECT_EQ(g().ListBase, 1);
    EXPECT_EQ(g().QuestionCount, 4);
    EXPECT_EQ(g().CurrentQuestion, 1);
    EXPECT_EQ(g().CurrentStep, 1);
    EXPECT_EQ(g().ExamMinutesLeft, 50);
    std::vector<int> first{1, 4, 9, 13, 15};
    // Entry 1 is opened too: the panel has shown it.
    std::vector<int> states{4 + 1, 0, 4 + 2, 0};
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(g().FirstStepLine[k], first[k - 1]) << k;
        EXPECT_EQ(g().QuestionState[k], states[k - 1]) << k;
    }
    EXPECT_EQ(g().FirstStepLine[5], 15);
    for (const auto& pictures : g().QuestionPictures)
        for (const auto& id : pictures) EXPECT_EQ(id, "");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(Launch, UnitListsBuildSet19FromTheUnitsLines) {
    const UnitSetLines unit = unitSetLines(1, {3, 5, 4, 2});
    const std::string ownSteps = dataBytes(QuestionSet::fileName(21));
    const std::string ownQuestions = dataBytes(QuestionSet::fileName(71));
    // Runs of unit 1: lines 1-3, 4-8, 9-12, 13-14.
    auto lines = [&](int from, int to) {
        return std::vector<std::string>(unit.steps.begin() + from - 1, unit.steps.begin() + to);
    };
    struct Case {
        int filter, listMode, listBase;
        std::vector<int> questions;
        std::vector<std::string> steps;
    };
    std::vector<std::string> learned = lines(1, 3), notLearned = lines(4, 8);
    for (const auto& l : lines(9, 12)) learned.push_back(l);
    for (const auto& l : lines(13, 14)) notLearned.push_back(l);
    for (const Case& c : {Case{38, 5, 14, {1, 3}, learned}, Case{39, 6, 13, {2, 4}, notLearned}}) {
        SCOPED_TRACE(c.listMode);
        start();
        EXPECT_FALSE(startUnit(1, c.filter).opened);
        expectLaunched();
        EXPECT_EQ(g().ListMode, c.listMode);
        EXPECT_EQ(g().ListBase, c.listBase);
        EXPECT_EQ(g().PaperSlot, 1);
        EXPECT_EQ(g().StepsFilePath, folder.dataDir() + "288819.mxy");
        EXPECT_EQ(g().QuestionFilePath, folder.dataDir() + "288869.mxy");
        std::vector<std::string> questions;
        for (int q : c.questions) questions.push_back(unit.questions[static_cast<std::size_t>(q - 1)]);
        EXPECT_EQ(dataBytes(QuestionSet::fileName(69)), gbkBytes(crlf(questions)));
        EXPECT_EQ(dataBytes(QuestionSet::fileName(19)), gbkBytes(crlf(c.steps)));
        EXPECT_EQ(g().QuestionCount, 2);
        EXPECT_EQ(g().QuestionCodes[1], 100 + c.questions[0]);
        EXPECT_EQ(g().QuestionCodes[2], 100 + c.questions[1]);
        EXPECT_EQ(g().FirstStepLine[2], 1 + (c.listMode == 5 ? 3 : 5));
        // The unit's own set is only read.
        EXPECT_EQ(dataBytes(QuestionSet::fileName(21)), ownSteps);
        EXPECT_EQ(dataBytes(QuestionSet::fileName(71)), ownQuestions);
    }
    EXPECT_TRUE(h->reports().empty());
}

struct RefusedCase {
    std::string name;
    int unit, filter;
    std::string questions;  // unit 2's question file, CR LF lines
    std::string steps;      // unit 2's steps file
    bool reported;          // a file the build needed could not be read
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

class Refused : public Launch, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refused, TellsTheLearnerAndStartsNothing) {
    const RefusedCase& c = GetParam();
    if (c.questions != "-") folder.writeDataBytes(QuestionSet::fileName(72), c.questions);
    if (c.steps != "-") folder.writeDataBytes(QuestionSet::fileName(22), c.steps);
    if (c.questions == "-") std::remove(folder.dataFile(QuestionSet::fileName(72)).c_str());
    start();
    progressAtStart = progressBytes();
    const std::string set19 = QuestionSet::fileName(19);
    auto set19Bytes = [&] { return platform::fileExists(folder.dataFile(set19)) ? dataBytes(set19) : ""; };
    const std::string set19Before = set19Bytes();
    BoxSeen box = startUnit(c.unit, c.filter);
    expectRefused(box);
    EXPECT_EQ(set19Bytes(), set19Before);
    EXPECT_EQ(h->reportsWith("initshiti").size() + h->reportsWith("startlianxi").size() > 0, c.reported);
}

// Unit 2 holds three questions in the catalogue and progress "FFF".
const std::string kQuestions = "000101a\r\n000102b\r\n000101c\r\n";
INSTANTIATE_TEST_SUITE_P(
    Home, Refused,
    ::testing::Values(
        RefusedCase{"run_without_9999", 2, 37, kQuestions, "s000001A101\r\ns000001A101\r\ns0000019999\r\ns000001A101\r\n",
                    false},
        RefusedCase{"9999_before_the_end", 2, 37, kQuestions,
                    "s0000019999\r\ns0000019999\r\ns0000019999\r\ns0000019999\r\n", false},
        RefusedCase{"steps_file_too_short", 2, 37, kQuestions, "s0000019999\r\ns000001A101\r\ns0000019999\r\n", false},
        RefusedCase{"no_steps", 2, 37, "000101a\r\n000100b\r\n000101c\r\n",
                    "s0000019999\r\ns0000019999\r\ns0000019999\r\n", false},
        RefusedCase{"fewer_lines_than_questions", 2, 37, "000101a\r\n\r\n000101c\r\n",
                    "s0000019999\r\ns0000019999\r\ns0000019999\r\n", false},
        RefusedCase{"build_from_a_broken_run", 2, 39, kQuestions, "s000001A101\r\ns000001A101\r\ns0000019999\r\n",
                    false},
        RefusedCase{"build_past_the_unit", 2, 39, "000101a\r\n", "s0000019999\r\n", false},
        RefusedCase{"missing_question_file", 2, 37, "-", "s0000019999\r\n", true},
        RefusedCase{"build_without_question_file", 2, 39, "-", "s0000019999\r\n", true}),
    [](const ::testing::TestParamInfo<RefusedCase>& i) { return i.param.name; });

TEST_F(Launch, StepsNoLearnerCanCompleteAreReportedOnceAndTheUnitStillStarts) {
    // Question 2: a picture code that moves nothing, and a plain drag with no cursor file.
    folder.writeDataBytes(QuestionSet::fileName(72), "000101a\r\n000103b\r\n000101c\r\n");
    folder.writeDataBytes(QuestionSet::fileName(22),
                          "s0000019999\r\ns0000018005\r\ns0000010050\r\ns0000019999\r\ns0000019999\r\n");
    start();
    EXPECT_FALSE(startUnit(2, 37).opened);
    expectLaunched();
    EXPECT_EQ(h->reportsWith("startlianxi").size(), 1u);
}

// A step no action completes is the bank's fault: reported once, and the practice starts.
TEST_F(Launch, StepsNoActionCompletesAreReportedOnce) {
    const std::string zeros(185, '0');
    folder.writeDataBytes(QuestionSet::fileName(72), kQuestions);
    // Runs of one, two and one steps: the second opens with a context code of tens digit 0.
    folder.writeDataBytes(QuestionSet::fileName(22),
                          "s0000019999\r\ns000001" "3102" + zeros + "\r\ns0000019999\r\ns0000019999\r\n");
    start();
    startUnit(2, 37);
    expectLaunched();
    const auto reports = h->reportsWith("startlianxi");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("2%2F1%203102"), std::string::npos) << reports[0];
}

TEST_F(Launch, UnitWithoutQuestionsIsRefused) {
    writeCatalogue({"0503", "030400"});
    start();
    progressAtStart = progressBytes();
    expectRefused(startUnit(2, 37));
    EXPECT_EQ(g().QuestionCount, 0);
}

TEST_F(Launch, UnitsPast19AreRefused) {
    qz::FrmFengmian& home = start();
    progressAtStart = progressBytes();
    // Unit 20's own set would be the texts file and its steps file 288840.
    folder.writeDataBytes("288840.mxy", "s0000019999\r\n");
    folder.writeDataBytes("288890.mxy", "000101a\r\n");
    g().ListMode = 20;
    g().ListBase = 20;
    g().QuestionCount = 1;
    expectRefused(launch([&] { home.startLianXi(); }));

    qz::FrmFengmian& again = h->p().frmFengmian();
    BoxSeen box = launch([&] {
        EXPECT_FALSE(again.InitShiTi("00012001", 19));
        EXPECT_EQ(g().QuestionCount, 2);
        EXPECT_EQ(g().QuestionCodes[2], 2001);
        g().ListMode = 9;
        g().ListBase = 10;
        again.startLianXi();
    });
    expectRefused(box);
    EXPECT_FALSE(platform::fileExists(folder.dataFile(QuestionSet::fileName(19))));
    // Only the built numbers are written.
    EXPECT_FALSE(again.InitShiTi("0001", 21));
    EXPECT_EQ(dataBytes(QuestionSet::fileName(21)), gbkBytes(crlf(unitSetLines(1, {3, 5, 4, 2}).steps)));
}

TEST_F(Launch, ListsAreCutAt500) {
    qz::FrmFengmian& home = start();
    std::string list;
    for (int i = 0; i < 501; ++i) list += "0002";
    list += "2001";  // past the cut: not looked at
    ASSERT_TRUE(home.InitShiTi(list, 19));
    EXPECT_EQ(g().QuestionCount, 500);
    EXPECT_EQ(g().QuestionCodes[500], 2);
    const auto questions = platform::readLines(folder.dataFile(QuestionSet::fileName(69)));
    EXPECT_EQ(questions.size(), 500u);
    g().ListMode = 9;
    g().ListBase = 10;
    g().QuestionCount = 640;  // as a caller might count the whole list
    EXPECT_FALSE(launch([&] { home.startLianXi(); }).opened);
    expectLaunched();
    EXPECT_EQ(g().QuestionCount, 500);
    EXPECT_EQ(g().FirstStepLine[500], 500);
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
}  // namespace hometest
