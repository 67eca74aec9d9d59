// The learner's record files: flag lines, code lists, the favourites with their flags, and
// what the readers make of files that are short, long, cut or unreadable.
#include "session/learner_records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "tests/session/record_pairing.h"
#include "tests/support/scoped_failure.h"
#include "tests/support/temp_dir.h"

namespace {

using qz::FlagLine;
using qz::ReviewedList;
using qz::WorkedEntry;

TEST(FlagLine, SettingPadsSoTheFlagLandsOnItsPosition) {
    struct Case {
        std::string line;
        std::size_t p;
        std::string want;
    };
    for (const auto& c : std::vector<Case>{{"", 1, "T"},
                                           {"", 4, "FFFT"},
                                           {"TF", 5, "TFFFT"},
                                           {"FFF", 2, "FTF"},
                                           {"FFF", 3, "FFT"},
                                           {"FF", 0, "FF"}}) {
        FlagLine l(c.line);
        l.set(c.p);
        EXPECT_EQ(l.text(), c.want) << c.line << " " << c.p;
    }
}

TEST(FlagLine, NotReviewedWalkCountsEveryOtherThanTAndStopsAtTheList) {
    // Three favourites T, F, F: the not-reviewed list is the 2nd and 3rd, of which the 2nd entry is done.
    FlagLine a("TFF");
    a.markInOrder([](std::size_t k) { return k == 2; });
    EXPECT_EQ(a.text(), "TFT");
    // A character other than T or F is not reviewed, and takes its place in the walk; entries
    // past the list worked (here 2 entries) are not done.
    FlagLine b("X?TF");
    b.markInOrder([](std::size_t k) { return k <= 2; });
    EXPECT_EQ(b.text(), "TTTF");
}

TEST(CodeList, WholeCodesOfTheTrimmedLineOnly) {
    EXPECT_EQ(qz::splitCodes("  01020304  "), (std::vector<std::string>{"0102", "0304"}));
    EXPECT_EQ(qz::splitCodes("0102030"), (std::vector<std::string>{"0102"}));
    EXPECT_TRUE(qz::splitCodes("   ").empty());
}

TEST(Favourites, AddingListsEachMarkedCodeOnceWithAnF) {
    ReviewedList fav{{"0101"}, FlagLine("T")};
    qz::addMarked(fav, {{"0002", false, true}, {"0101", false, true}, {"0002", false, true}, {"0003", true, false}});
    EXPECT_EQ(qz::joinCodes(fav.codes), "01010002");
    EXPECT_EQ(fav.reviewed.text(), "TF");
}

TEST(Favourites, RemovingTakesOneOccurrenceAndItsFlagUnlessAnotherEntryIsMarked) {
    // The flags follow their codes as the list shrinks.
    ReviewedList a{{"0001", "0002", "0003"}, FlagLine("TFT")};
    qz::removeUnmarked(a, {{"0001", false, false}, {"0003", false, false}});
    EXPECT_EQ(qz::joinCodes(a.codes), "0002");
    EXPECT_EQ(a.reviewed.text(), "F");
    // A list holding a code twice: one marked entry keeps it.
    ReviewedList b{{"0001", "0002"}, FlagLine("FT")};
    qz::removeUnmarked(b, {{"0002", false, false}, {"0002", true, true}});
    EXPECT_EQ(qz::joinCodes(b.codes), "00010002");
    EXPECT_EQ(b.reviewed.text(), "FT");
    // A code held twice in the favourites: one unmarked entry removes only one of them.
    ReviewedList c{{"0002", "0001", "0002"}, FlagLine("TFF")};
    qz::removeUnmarked(c, {{"0002", false, false}});
    EXPECT_EQ(qz::joinCodes(c.codes), "00010002");
    EXPECT_EQ(c.reviewed.text(), "FF");
}

class RecordFiles : public ::testing::Test {
protected:
    testsupport::TempDir dir;
};

TEST_F(RecordFiles, ReviewLinesAreFittedToTheirList) {
    struct Case {
        std::string list, review, wantFlags;
    };
    for (const auto& c : std::vector<Case>{{"000100020003\r\n", "T\r\n", "TFF"},
                                           {"0001\r\n", "TTFT\r\n", "T"},
                                           {"00010", "", "F"},
                                           {"", "TT", ""}}) {
        testsupport::writeFileBytes(dir.file("l.mxy"), c.list);
        testsupport::writeFileBytes(dir.file("r.mxy"), c.review);
        const auto got = qz::readReviewedList(qz::RecordOverlay(), dir.file("l.mxy"), dir.file("r.mxy"));
        ASSERT_TRUE(got);
        EXPECT_EQ(got->reviewed.text(), c.wantFlags) << c.list;
    }
    // Missing files read as empty lists.
    const auto none = qz::readReviewedList(qz::RecordOverlay(), dir.file("x.mxy"), dir.file("y.mxy"));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->codes.empty());
}

TEST_F(RecordFiles, AFileThatCannotBeReadGivesNothingToBuildOn) {
    testsupport::writeFileBytes(dir.file("l.mxy"), "0001\r\n");
    testsupport::writeFileBytes(dir.file("r.mxy"), "T\r\n");
    testsupport::writeFileBytes(dir.file("p.mxy"), "TF\r\n");
    for (const char* bad : {"l.mxy", "r.mxy"}) {
        testsupport::ScopedReadFailure unreadable(dir.file(bad));
        EXPECT_FALSE(qz::readReviewedList(qz::RecordOverlay(), dir.file("l.mxy"), dir.file("r.mxy"))) << bad;
    }
    testsupport::ScopedReadFailure unreadable(dir.file("p.mxy"));
    EXPECT_FALSE(qz::readUnitProgress(qz::RecordOverlay(), dir.file("p.mxy")));
    EXPECT_FALSE(qz::readPaperWrong(qz::RecordOverlay(), dir.file("p.mxy")));
}

TEST_F(RecordFiles, WrittenFilesAreOneLineOrTheUnitsAndAnEmptyLine) {
    qz::writeUnitProgress(dir.file("p.mxy"), {"TF", "", "FFT", "TTTT"}, 3);
    EXPECT_EQ(testsupport::readFileBytes(dir.file("p.mxy")), "TF\r\n\r\nFFT\r\n\r\n");
    qz::writeReviewedList(dir.file("l.mxy"), dir.file("r.mxy"), ReviewedList{{"0001", "0102"}, FlagLine("T")});
    EXPECT_EQ(testsupport::readFileBytes(dir.file("l.mxy")), "00010102\r\n");
    EXPECT_EQ(testsupport::readFileBytes(dir.file("r.mxy")), "TF\r\n");
    EXPECT_EQ(qz::recordfile::paperWrong(3), "182403.mxy");
    EXPECT_EQ(qz::recordfile::paperWrong(21), "182421.mxy");
}

// A pair written while either write fails at either point: both files are left as they were,
// a missing list stays missing, and every code keeps its own flag. The first case removes a
// code, so flags left from the old list would land on other codes.
TEST_F(RecordFiles, APairInterruptedAtAnyPointStaysReadable) {
    struct Case {
        const char* what;
        std::string list, flags;  // or none
        ReviewedList next;
        std::string pairsBefore;
    };
    const std::string none = "<missing>";
    const std::vector<Case> cases{
        {"a removal and an addition", "000100020003\r\n", "TFT\r\n", {{"0002", "0003", "0004"}, FlagLine("FTF")},
         "0001T 0002F 0003T"},
        {"no list, stale flags", none, "TT\r\n", {{"0005"}, FlagLine("F")}, ""},
        {"neither file", none, none, {{"0005"}, FlagLine("T")}, ""},
    };
    const std::string l = dir.file("l.mxy"), r = dir.file("r.mxy");
    auto put = [&](const std::string& path, const std::string& bytes) {
        if (bytes == none)
            std::remove(path.c_str());
        else
            testsupport::writeFileBytes(path, bytes);
    };
    auto bytes = [&](const std::string& path) {
        return platform::fileExists(path) ? testsupport::readFileBytes(path) : none;
    };
    for (const Case& c : cases) {
        // The group's intent file, the list, the flags.
        for (long nth : {1L, 2L, 3L}) {
            for (auto point : {platform::ReplaceFailure::AfterTemporaryFile, platform::ReplaceFailure::BeforeRename}) {
                SCOPED_TRACE(std::string(c.what) + ", write " + std::to_string(nth) +
                             (point == platform::ReplaceFailure::BeforeRename ? " before its rename" : " in its temp"));
                put(l, c.list);
                put(r, c.flags);
                {
                    testsupport::ScopedReplaceFailure failing(nth, point);
                    EXPECT_THROW(qz::writeReviewedList(l, r, c.next), platform::VbError);
                }
                EXPECT_EQ(bytes(l), c.list);
                EXPECT_EQ(bytes(r), c.flags);
                EXPECT_EQ(sessiontest::pairing(l, r), c.pairsBefore);
                EXPECT_FALSE(platform::fileExists(dir.file(qz::RecordIntentName)));
            }
        }
    }
    // Without a failure the new pairs are there.
    put(l, cases[0].list);
    put(r, cases[0].flags);
    qz::writeReviewedList(l, r, cases[0].next);
    EXPECT_EQ(sessiontest::pairing(l, r), "0002F 0003T 0004F");
}

// A list whose present bytes cannot be read could not be put back, so nothing is written.
TEST_F(RecordFiles, AListThatCannotBeReadIsNotReplaced) {
    const std::string l = dir.file("l.mxy"), r = dir.file("r.mxy");
    testsupport::writeFileBytes(l, "00010002\r\n");
    testsupport::writeFileBytes(r, "TF\r\n");
    {
        testsupport::ScopedReadFailure unreadable(l);
        EXPECT_THROW(qz::writeReviewedList(l, r, ReviewedList{{"0002"}, FlagLine("F")}), platform::VbError);
    }
    EXPECT_EQ(testsupport::readFileBytes(l), "00010002\r\n");
    EXPECT_EQ(testsupport::readFileBytes(r), "TF\r\n");
}

TEST(ExamHistory, DefaultsUnderTheFileAndRecordsWrittenWhole) {
    testsupport::TempDir dir;
    const std::string path = dir.file("288892.mxy");
    // Missing: every record never taken; lines past the 100th are dropped.
    auto fresh = qz::readExamHistory(qz::RecordOverlay(), path);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->time(29), "您还未考试！");
    EXPECT_EQ(fresh->score(29), "0");
    EXPECT_EQ(fresh->line(90), "E");
    std::vector<std::string> lines = {"2019-07-16 09:05:33", "87.5", "E", "2020-01-02 03:04:05"};
    for (int n = 5; n <= 103; ++n) lines.push_back("x" + std::to_string(n));
    platform::writeLinesReplace(path, lines);
    auto h = qz::readExamHistory(qz::RecordOverlay(), path);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->time(0), "2019-07-16 09:05:33");
    EXPECT_EQ(h->score(0), "87.5");
    EXPECT_EQ(h->time(1), "2020-01-02 03:04:05");
    EXPECT_EQ(h->line(100), "x100");
    EXPECT_EQ(h->line(101), "");
    h->copyRecord(0, 30);
    for (const int records : {30, 31}) {
        qz::writeExamHistory(path, *h, records);
        const auto written = platform::readLines(path);
        ASSERT_EQ(written.size(), static_cast<std::size_t>(3 * records + 1)) << records;
        EXPECT_EQ(written.back(), "");
        EXPECT_EQ(written[89], "x90");
        if (records == 31) {
            EXPECT_EQ(written[91], "87.5");
        }
    }
    {
        testsupport::ScopedReadFailure unreadable(path);
        EXPECT_FALSE(qz::readExamHistory(qz::RecordOverlay(), path));
    }
}

TEST(ExamHistory, ScoresAreWrittenFromTheCount) {
    const std::pair<int, const char*> cases[] = {{0, "0"}, {1, "2.5"}, {2, "5"}, {35, "87.5"}, {39, "97.5"}, {40, "100"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(qz::scoreText(n), text) << n;
}

TEST(RandomPapers, LeadingNonBlankLinesUpToFifteen) {
    testsupport::TempDir dir;
    const std::string path = dir.file("288891.mxy");
    EXPECT_EQ(qz::readRandomPapers(qz::RecordOverlay(), path), std::vector<std::string>{});
    platform::writeLinesReplace(path, {"a", "b", "  ", "c"});
    EXPECT_EQ(qz::readRandomPapers(qz::RecordOverlay(), path), (std::vector<std::string>{"a", "b"}));
    platform::writeLinesReplace(path, std::vector<std::string>(20, "p"));
    EXPECT_EQ(qz::readRandomPapers(qz::RecordOverlay(), path)->size(), 15u);
    testsupport::ScopedReadFailure unreadable(path);
    EXPECT_FALSE(qz::readRandomPapers(qz::RecordOverlay(), path));
}

TEST(PaperWrong, ACopyTakesTheBytesAndAMissingSourceEmptiesTheTarget) {
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.file("ksdata"));
    const auto file = [&](int slot) { return qz::recordfile::path(dir.path(), qz::recordfile::paperWrong(slot)); };
    testsupport::writeFileBytes(file(20), "01010202\r\n");
    testsupport::writeFileBytes(file(22), "0303\r\n");
    qz::copyPaperWrong(dir.path(), 20, 21);
    EXPECT_EQ(testsupport::readFileBytes(file(21)), "01010202\r\n");
    qz::copyPaperWrong(dir.path(), 23, 22);
    EXPECT_EQ(testsupport::readFileBytes(file(22)), "\r\n");
}

}  // namespace
