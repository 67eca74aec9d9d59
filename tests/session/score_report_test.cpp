// The score report's load on a whole program, headless: the score and the grid, and the
// records it writes byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "session/learner_records.h"
#include "tests/session/crash_table.h"
#include "tests/session/record_pairing.h"
#include "tests/session/score_report_fixture.h"
#include "tests/support/scoped_failure.h"

namespace reporttest {
namespace {

std::string codes(const std::vector<int>& entries) {
    std::string out;
    for (int i : entries) out += codeText(paperCode(i));
    return out;
}

TEST_F(ScoreReport, ScoresTheCompletedAndListsTheRestInPaperOrder) {
    struct Case {
        int completed;
        const char* caption;
        const char* score;
    } cases[] = {{0, "第1套得分：0分", "0"}, {1, "第1套得分：2.5分", "2.5"},
                 {39, "第1套得分：97.5分", "97.5"}, {40, "第1套得分：100分", "100"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.completed);
        h.reset();
        std::filesystem::remove_all(folder.ksdata());
        std::filesystem::create_directory(folder.ksdata());
        openExam();
        completeAll(c.completed);
        EXPECT_FALSE(showReport().opened);

        qz::FrmChengji& r = report();
        EXPECT_EQ(r.Label1.caption(), c.caption);
        std::vector<int> rest;
        for (int i = c.completed + 1; i <= 40; ++i) rest.push_back(i);
        for (int i = 1; i <= 40; ++i) {
            EXPECT_EQ(r.CmTNO(i).Caption(), std::to_string(i));
            EXPECT_EQ(testsupport::pictureId(r.CmTNO(i).Picture()), i <= c.completed ? "l01033" : "l01034");
        }
        EXPECT_EQ(record("182400.mxy"), codes(rest) + "\r\n");
        EXPECT_EQ(record("288863.mxy"), codes(rest) + "\r\n");
        EXPECT_EQ(record("288873.mxy"), std::string(rest.size(), 'F') + "\r\n");
        EXPECT_EQ(record("288892.mxy"), historyBytes({{0, {Started, c.score, "E"}}}));
        EXPECT_EQ(record("288862.mxy"), "\r\n");
        EXPECT_EQ(g().ExamStartTime, "-1");
        // The exam's windows, still open when the report loaded, are closed by it.
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_FALSE(h->isLoaded("FrmMain"));
        EXPECT_EQ(g().AllowPanelUnload, 1);
        EXPECT_TRUE(r.visible());
    }
}

// The best score is compared by value and replaced only by a higher one; the time is always the
// exam's, or the present time after the answers were shown.
TEST_F(ScoreReport, TheHistoryKeepsTheBestScore) {
    struct Case {
        const char* what;
        const char* best;
        int completed;
        const char* start;
        std::array<std::string, 3> after;
    } cases[] = {{"lower", "50.0", 10, Started, {Started, "50.0", "E"}},
                 {"equal", "50.0", 20, Started, {Started, "50.0", "E"}},
                 {"higher", "50.0", 21, Started, {Started, "52.5", "E"}},
                 {"answers shown", "50.0", 40, "-1", {Now, "50.0", "E"}},
                 {"no number", "分", 1, Started, {Started, "2.5", "E"}},
                 {"beyond any number", "1e999", 1, Started, {Started, "2.5", "E"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.reset();
        // As the home screen leaves it: 30 records, slot 3 taken before.
        writeRecord("288892.mxy", historyBytes({{3, {"2026-01-02 03:04:05", c.best, "E"}}, {4, {"x", "7", "E"}}}, 30));
        openExam(0, 3);
        completeAll(c.completed);
        g().ExamStartTime = c.start;
        showReport();
        EXPECT_EQ(report().Label1.caption(), "第4套得分：" + qz::scoreText(c.completed) + "分");
        EXPECT_EQ(record("288892.mxy"), historyBytes(after30({{3, c.after}, {4, {"x", "7", "E"}}})));
        EXPECT_EQ(g().ExamStartTime, "-1");
    }
}

TEST_F(ScoreReport, ARandomPaperHasItsOwnCaptionSlotAndFile) {
    writeRecord("182400.mxy", "0001\r\n");
    openExam(8, 21);
    completeAll(39);
    showReport();
    EXPECT_EQ(report().Label1.caption(), "随机题得分：97.5分");
    EXPECT_EQ(record("182421.mxy"), codes({40}) + "\r\n");
    EXPECT_EQ(record("182400.mxy"), "0001\r\n");
    EXPECT_EQ(record("288892.mxy"), historyBytes({{21, {Started, "97.5", "E"}}}));
}

// The paper's list is this exam's alone; the learner's wrong questions only grow, each code
// once and keeping its flag.
TEST_F(ScoreReport, WrongQuestionsAreAddedOnceAndThePaperListReplaced) {
    writeRecord("182400.mxy", codes({1, 2, 3}) + "\r\n");
    writeRecord("288863.mxy", "0901" + codes({40}) + "\r\n");
    writeRecord("288873.mxy", "TT\r\n");
    openExam();
    completeAll(37);
    showReport();
    EXPECT_EQ(record("182400.mxy"), codes({38, 39, 40}) + "\r\n");
    EXPECT_EQ(sessiontest::pairing(ksdata("288863.mxy"), ksdata("288873.mxy")), "0901T 0120T 0118F 0119F");
}

// A paper holding a code twice: its list keeps both entries, the records take the code once.
TEST_F(ScoreReport, ARepeatedCodeIsListedOnce) {
    const std::string line = paperLine().substr(0, 39 * 4) + "0003";
    writeRecord("288862.mxy", "0901\r\n");
    writeRecord("288872.mxy", "T\r\n");
    openExam(0, 1, line);
    completeAll(39);
    g().QuestionState[3] = 0;
    g().QuestionState[40] = 0;
    mark(3, true);
    mark(40, true);
    showReport();
    EXPECT_EQ(record("182401.mxy"), "00030003\r\n");
    EXPECT_EQ(record("288863.mxy"), "0003\r\n");
    EXPECT_EQ(record("288873.mxy"), "F\r\n");
    EXPECT_EQ(record("288862.mxy"), "09010003\r\n");
    EXPECT_EQ(record("288872.mxy"), "TF\r\n");
}

// The report only adds favourites: one unmarked during the exam stays, with its flag. The
// flags are fitted to the whole list, however long.
TEST_F(ScoreReport, FavouritesOnlyGrowWithTheMarks) {
    std::string many;
    for (int k = 1; k <= 45; ++k) many += "05" + twoDigits(k);
    writeRecord("288862.mxy", many + codes({3}) + "\r\n");
    writeRecord("288872.mxy", "TF\r\n");
    openExam();
    ASSERT_EQ(g().QuestionState[3] & 2, 2);  // marked at the launch
    mark(3, false);
    mark(5, true);
    mark(6, true);
    complete(6);
    showReport();
    EXPECT_EQ(record("288862.mxy"), many + codes({3, 5, 6}) + "\r\n");
    EXPECT_EQ(record("288872.mxy"), "TF" + std::string(46, 'F') + "\r\n");
}

// A record that is there but cannot be read is left as it was, its pair with it; the rest is
// saved, and the learner hears of it once the report is up.
TEST_F(ScoreReport, AnUnreadableRecordIsKeptAndTheLearnerTold) {
    const std::map<std::string, std::string> old = {
        {"288862.mxy", "0901\r\n"}, {"288872.mxy", "T\r\n"}, {"288863.mxy", "0902\r\n"},
        {"288873.mxy", "T\r\n"}, {"288892.mxy", historyBytes({{0, {"2026-01-02 03:04:05", "50", "E"}}}, 30)}};
    const std::map<std::string, std::string> pairOf = {{"288862.mxy", "288872.mxy"}, {"288872.mxy", "288862.mxy"},
                                                       {"288863.mxy", "288873.mxy"}, {"288873.mxy", "288863.mxy"},
                                                       {"288892.mxy", "288892.mxy"}};
    for (const auto& [unreadable, partner] : pairOf) {
        SCOPED_TRACE(unreadable);
        h.reset();
        for (const auto& [name, bytes] : old) writeRecord(name, bytes);
        openExam();
        completeAll(39);
        mark(1, true);
        BoxSeen box;
        {
            testsupport::ScopedReadFailure failing(ksdata(unreadable));
            box = showReport();
        }
        ASSERT_TRUE(box.opened);
        EXPECT_TRUE(reportUpAtBox);
        EXPECT_EQ(box.title, "保存记录");
        EXPECT_EQ(box.icon, "l20072");
        const std::map<std::string, std::string> written = {
            {"288862.mxy", "09010001\r\n"}, {"288872.mxy", "TF\r\n"}, {"288863.mxy", "09020120\r\n"},
            {"288873.mxy", "TF\r\n"}, {"288892.mxy", historyBytes(after30({{0, {Started, "97.5", "E"}}}))}};
        for (const auto& [name, bytes] : written)
            EXPECT_EQ(record(name), name == unreadable || name == partner ? old.at(name) : bytes) << name;
        EXPECT_EQ(record("182400.mxy"), "0120\r\n");
        EXPECT_TRUE(report().visible());
    }
}

// Leaving the report before it has told of a record not saved still tells of it.
TEST_F(ScoreReport, LeavingAtOnceStillTellsOfUnsavedRecords) {
    writeRecord("288892.mxy", "\r\n");
    openExam();
    BoxSeen box;
    {
        testsupport::ScopedReadFailure failing(ksdata("288892.mxy"));
        box = runAnswering([this] {
            h->p().frmChengji().show();
            report().Command2_Click();
        }, hometest::Confirm);
    }
    ASSERT_TRUE(box.opened);
    EXPECT_EQ(box.title, "保存记录");
    EXPECT_FALSE(h->isLoaded("FrmChengji"));
    EXPECT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_EQ(record("288892.mxy"), "\r\n");
}

// The hand-in's records as the next reading sees them, one string per pair or file.
struct Exam {
    std::string favourites, wrong, paper, history;
    bool operator==(const Exam&) const = default;
    friend void PrintTo(const Exam& e, std::ostream* os) {
        *os << e.favourites << " | " << e.wrong << " | " << e.paper << " | " << e.history.size() << " bytes";
    }
};

class HandIn : public ScoreReport {
protected:
    const std::string oldHistory = historyBytes({{0, {"2026-01-02 03:04:05", "50", "E"}}}, 30);
    const std::string newHistory = historyBytes(after30({{0, {Started, "97.5", "E"}}}));
    const Exam before{"0901F 0003T", "0902T", "0001\r\n", oldHistory};
    const Exam after{"0901F 0003T 0002F", "0902T 0120F", "0120\r\n", newHistory};

    // The records before the hand-in, and the exam: 39 completed, question 2 marked.
    void prepare() {
        h.reset();
        writeRecord("288862.mxy", "09010003\r\n");
        writeRecord("288872.mxy", "FT\r\n");
        writeRecord("288863.mxy", "0902\r\n");
        writeRecord("288873.mxy", "T\r\n");
        writeRecord("182400.mxy", "0001\r\n");
        writeRecord("288892.mxy", oldHistory);
        openExam();
        completeAll(39);
        mark(2, true);
    }
    Exam onDisk() {
        return {sessiontest::pairing(ksdata("288862.mxy"), ksdata("288872.mxy")),
                sessiontest::pairing(ksdata("288863.mxy"), ksdata("288873.mxy")), record("182400.mxy"),
                record("288892.mxy")};
    }
};

// Any replace of the hand-in failing, before or after its temporary file is whole: the exam is
// recorded not at all, nothing is left behind, and the learner is told. Its seven replaces are
// the intent file, the favourites and their flags, the paper's list, the wrong questions and
// their flags, the history.
TEST_F(HandIn, AReplaceFailingAnywhereRecordsNothing) {
    for (long nth = 1; nth <= 8; ++nth) {
        for (auto point : {platform::ReplaceFailure::AfterTemporaryFile, platform::ReplaceFailure::BeforeRename}) {
            SCOPED_TRACE(std::to_string(nth) + (point == platform::ReplaceFailure::BeforeRename ? " rename" : " temp"));
            prepare();
            BoxSeen box;
            {
                testsupport::ScopedReplaceFailure failing(nth, point);
                box = showReport();
            }
            EXPECT_EQ(box.opened, nth <= 7);
            EXPECT_EQ(onDisk(), nth <= 7 ? before : after);
            EXPECT_EQ(sessiontest::hiddenFiles(folder.ksdata()), std::vector<std::string>{});
        }
    }
}

// The hand-in cut before each of its system calls, by a kill or by that call failing, and the
// program started again: code by code and file by file, the exam is recorded wholly or not at
// all, and nothing is left behind.
TEST_F(HandIn, ACutAtAnyCallRecordsTheExamWhollyOrNotAtAllAfterTheNextLaunch) {
    for (auto fault : {platform::CallFault::Exit, platform::CallFault::Fail}) {
        long recorded = 0, notRecorded = 0;
        sessiontest::cutAtEveryCall(
            fault, [&] { prepare(); }, [&] { showReport(); },
            [&](long) {
                start();
                const Exam seen = onDisk();
                EXPECT_TRUE(seen == before || seen == after) << testing::PrintToString(seen);
                ++(seen == after ? recorded : notRecorded);
                EXPECT_EQ(sessiontest::hiddenFiles(folder.ksdata()), std::vector<std::string>{});
            });
        // A kill once the intent file is whole is completed by the launch.
        if (fault == platform::CallFault::Exit) {
            EXPECT_GT(recorded, 1);
        }
        EXPECT_GE(recorded, 1);
        EXPECT_GT(notRecorded, 1);
    }
}

// Records the start of the program holds are not written by the hand-in, as those it cannot
// read: the rest is recorded, and the learner told.
TEST_F(HandIn, HeldRecordsAreNotWritten) {
    prepare();
    g().HeldRecords.hold(ksdata("288863.mxy"), "0903\r\n");
    g().HeldRecords.hold(ksdata("288873.mxy"), "F\r\n");
    const BoxSeen box = showReport();
    EXPECT_TRUE(box.opened);
    EXPECT_EQ(box.title, "保存记录");
    EXPECT_EQ(onDisk(), (Exam{after.favourites, before.wrong, after.paper, after.history}));
}

// However often a report opens, an exam is written once; the next launch records again.
TEST_F(ScoreReport, AnExamIsRecordedOnce) {
    openExam();
    completeAll(10);
    showReport();
    const std::string history = record("288892.mxy");
    EXPECT_EQ(history, historyBytes({{0, {Started, "25", "E"}}}));
    h->host.then([this] { report().Command2_Click(); });
    h->host.runUntilIdle();
    ASSERT_FALSE(h->isLoaded("FrmChengji"));
    writeRecord("182400.mxy", "0001\r\n");

    // A report opened again on the same exam, a better one and a fresh time meanwhile.
    g().ExamStartTime = "2026-12-10 10:00:00";
    completeAll(30);
    showReport();
    EXPECT_EQ(report().Label1.caption(), "第1套得分：75分");
    EXPECT_EQ(record("288892.mxy"), history);
    EXPECT_EQ(record("182400.mxy"), "0001\r\n");

    h->host.then([this] { report().Command2_Click(); });
    h->host.runUntilIdle();
    openExam();
    completeAll(30);
    showReport();
    EXPECT_EQ(record("288892.mxy"), historyBytes({{0, {Started, "75", "E"}}}));
    EXPECT_EQ(record("182400.mxy"), codes({31, 32, 33, 34, 35, 36, 37, 38, 39, 40}) + "\r\n");
}

// A grid number shows its question's task; a picture question's task without its picture.
TEST_F(ScoreReport, AGridNumberShowsItsRequirement) {
    openExam();
    std::vector<std::string> lines = platform::readLines(folder.dataFile("288850.mxy"));
    lines[1] = "000103picturepq12rs画一个圆|半径10";
    folder.writeDataBytes("288850.mxy", gbkBytes(crlf(lines)));
    showReport();
    qz::FrmChengji& r = report();
    EXPECT_EQ(r.LblTiMuYQ.caption(), "");
    h->host.click(r.CmTNO(2));
    h->host.runUntilIdle();
    EXPECT_EQ(r.LblTiMuYQ.caption(), "第2题： 画一个圆|半径10");
    h->host.click(r.CmTNO(21));
    h->host.runUntilIdle();
    EXPECT_EQ(r.LblTiMuYQ.caption(), "第21题： 单元1的练习题1|画一条直线");
}

}  // namespace
}  // namespace reporttest
