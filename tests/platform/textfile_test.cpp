#include "platform/textfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/vb_error.h"
#include "tests/support/vb_error_of.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::gbkBytes;
using testsupport::readFileBytes;
using testsupport::TempDir;
using testsupport::writeFileBytes;
using Lines = std::vector<std::string>;

using testsupport::errorOf;

namespace {

class TextFile : public testing::Test {
protected:
    void TearDown() override {
        setWriteFailureForTesting(-1);
        setReadFailureForTesting("");
        setReplaceFailureForTesting(0, ReplaceFailure::AfterTemporaryFile);
    }
    TempDir dir;
};
}  // namespace

TEST_F(TextFile, SplitsOnEveryLineEnd) {
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\rb", {"a", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST_F(TextFile, ForEachRawLineSplitsAsReadLinesAcrossReadBlocksAndStopsWhenAsked) {
    const auto path = dir.file("big.txt");
    // Both CR LFs straddle two 64 KiB reads; the last line stays as stored.
    std::string text = std::string(65535, 'a') + "\r\nb" + std::string(65533, 'c') + "\r\n\xB6\xFE";
    writeFileBytes(path, text);
    Lines seen;
    forEachRawLine(path, [&](const std::string& l) {
        seen.push_back(l);
        return true;
    });
    EXPECT_EQ(seen, splitLines(text));
    EXPECT_EQ(seen.size(), 3u);
    seen.clear();
    forEachRawLine(path, [&](const std::string& l) {
        seen.push_back(l);
        return false;
    });
    EXPECT_EQ(seen, Lines{std::string(65535, 'a')});
    EXPECT_EQ(errorOf([&] { forEachRawLine(dir.file("missing.txt"), [](const std::string&) { return true; }); }), 53);
}

TEST_F(TextFile, ReadsGbkLines) {
    const auto path = dir.file("题目.txt");
    writeFileBytes(path, gbkBytes("第一行\r\n第二行 two\r\n\r\n最后\r\n"));
    EXPECT_EQ(readLines(path), (Lines{"第一行", "第二行 two", "", "最后"}));
    EXPECT_EQ(readFirstLine(path), "第一行");
}

TEST_F(TextFile, NumberedLine) {
    const auto path = dir.file("n.txt");
    writeFileBytes(path, "one\r\ntwo\r\nthree\r\n");
    struct Case {
        long n;
        const char* line;
    } cases[] = {{1, "one"}, {2, "two"}, {3, "three"}, {4, "three"}, {1000, "three"}, {0, "one"}, {-5, "one"}};
    for (const auto& c : cases) EXPECT_EQ(readLine(path, c.n), c.line) << c.n;

    writeFileBytes(path, "");
    EXPECT_EQ(readLine(path, 1), "");
    EXPECT_EQ(readLine(path, 3), "");
    EXPECT_EQ(readFirstLine(path), "");
}

// A file past the bound is not read whole, nor is a device whose size says nothing.
TEST_F(TextFile, ReadsAtMostABound) {
    const auto path = dir.file("ad.mxy");
    writeFileBytes(path, gbkBytes("广告\r\n255\r\n"));  // 11 bytes
    EXPECT_EQ(readLinesAtMost(path, 11), (Lines{"广告", "255"}));
    EXPECT_EQ(readLinesAtMost(path, 10), std::nullopt);
    EXPECT_EQ(readLinesAtMost("/dev/zero", 1 << 20), std::nullopt);
    EXPECT_EQ(errorOf([&] { readLinesAtMost(dir.file("missing.txt"), 10); }), 53);
    EXPECT_EQ(errorOf([&] { readLinesAtMost(dir.path(), 10); }), 75);
}

TEST_F(TextFile, ReadErrors) {
    EXPECT_EQ(errorOf([&] { readLines(dir.file("missing.txt")); }), 53);
    EXPECT_EQ(errorOf([&] { readLine(dir.file("missing.txt"), 1); }), 53);
    EXPECT_EQ(errorOf([&] { readLines(dir.path()); }), 75);
    EXPECT_FALSE(readBytes(dir.file("missing.txt")));
    EXPECT_FALSE(readBytes(dir.path()));
    writeFileBytes(dir.file("b"), std::string("\0\xFF", 2));
    EXPECT_EQ(readBytes(dir.file("b")), std::string("\0\xFF", 2));
}

TEST_F(TextFile, AppendCreatesAndAddsCrLf) {
    const auto path = dir.file("log.txt");
    appendLines(path, {"甲", "b"});
    appendLines(path, {""});
    appendLines(path, {});
    EXPECT_EQ(readFileBytes(path), gbkBytes("甲\r\nb\r\n\r\n"));
    EXPECT_EQ(errorOf([&] { appendLines(dir.file("no/such/log.txt"), {"x"}); }), 76);
    EXPECT_EQ(errorOf([&] { appendLines(dir.path(), {"x"}); }), 75);
}

TEST_F(TextFile, ReplaceWritesWholeFile) {
    const auto path = dir.file("r.txt");
    writeLinesReplace(path, {"旧"});
    ::chmod(path.c_str(), 0640);
    writeLinesReplace(path, {"新", "内容"});
    EXPECT_EQ(readFileBytes(path), gbkBytes("新\r\n内容\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the old file's mode is kept
    writeBytesReplace(path, "");
    EXPECT_EQ(readFileBytes(path), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(TextFile, AFileHoldsLinesOnlyAsReplaceWouldWriteThem) {
    const auto path = dir.file("held.txt");
    writeLinesReplace(path, {"甲", "", "b"});
    struct Case {
        std::vector<std::string> lines;
        bool holds;
    } cases[] = {{{"甲", "", "b"}, true}, {{"甲", "", "c"}, false}, {{"甲", ""}, false}, {{"甲", "", "b", ""}, false}};
    for (const auto& c : cases) EXPECT_EQ(fileHoldsLines(path, c.lines), c.holds) << c.lines.size();
    // The same text with other line ends is not what a replace would leave.
    writeFileBytes(path, gbkBytes("甲\n\nb\n"));
    EXPECT_FALSE(fileHoldsLines(path, {"甲", "", "b"}));
    EXPECT_FALSE(fileHoldsLines(dir.file("missing.txt"), {}));
    EXPECT_FALSE(fileHoldsLines(dir.path(), {}));
}

TEST_F(TextFile, FailedReplaceLeavesOldFileWhole) {
    const auto path = dir.file("keep.txt");
    writeFileBytes(path, "old\r\n");
    for (long after : {0L, 3L, 100L}) {
        setWriteFailureForTesting(after);
        EXPECT_EQ(errorOf([&] { writeLinesReplace(path, {std::string(200, 'x')}); }), 61) << after;
        EXPECT_EQ(readFileBytes(path), "old\r\n");
    }
    setWriteFailureForTesting(-1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "temporary left behind";

    EXPECT_EQ(errorOf([&] { writeLinesReplace(dir.file("gone/x.txt"), {"a"}); }), 76);
    EXPECT_EQ(errorOf([&] { writeLinesReplace(dir.path(), {"a"}); }), 75);
}

// The replace-failure hook stops the nth replace at each point: the old file stays, no
// temporary file is left, and the replaces before and after it go through.
TEST_F(TextFile, InjectedReplaceFailureLeavesOldFileAndNoTemporary) {
    const auto path = dir.file("rec.txt");
    for (auto point : {ReplaceFailure::AfterTemporaryFile, ReplaceFailure::BeforeRename}) {
        SCOPED_TRACE(point == ReplaceFailure::BeforeRename ? "rename" : "temp");
        writeFileBytes(path, "old\r\n");
        setReplaceFailureForTesting(2, point);
        writeLinesReplace(path, {"first"});
        EXPECT_EQ(errorOf([&] { writeLinesReplace(path, {"second"}); }), 61);
        EXPECT_EQ(readFileBytes(path), "first\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "temporary left behind";
        writeLinesReplace(path, {"third"});
        EXPECT_EQ(readFileBytes(path), "third\r\n");
    }
}

// The folder's sync after the rename, the replace's sixth call for a short file, fails: the new
// file is in place, yet a record's write is failed, since a crash may still lose it.
TEST_F(TextFile, AFailedFolderSyncAfterTheRenameFailsARecordsWrite) {
    const auto path = dir.file("rec.txt");
    for (auto sync : {FolderSync::Required, FolderSync::BestEffort}) {
        SCOPED_TRACE(sync == FolderSync::Required ? "required" : "best effort");
        writeFileBytes(path, "old\r\n");
        setCallFaultForTesting(6, CallFault::Fail);
        const int error = errorOf([&] { writeLinesReplace(path, {"new"}, sync); });
        EXPECT_EQ(setCallFaultForTesting(0, CallFault::Fail), 0) << "the sixth call was not made";
        EXPECT_EQ(error, sync == FolderSync::Required ? 75 : 0);
        EXPECT_EQ(readFileBytes(path), "new\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "temporary left behind";
    }
}

TEST_F(TextFile, InjectedReadFailureActsAsAnUnreadableFile) {
    const auto path = dir.file("Rec.txt");
    writeFileBytes(path, "a\r\nb\r\n");
    writeFileBytes(dir.file("other.txt"), "c\r\n");
    // Named another way (case, a dot segment), it is still the same file.
    setReadFailureForTesting(dir.path() + "/./rec.TXT");
    EXPECT_EQ(errorOf([&] { readLines(path); }), 75);
    EXPECT_EQ(errorOf([&] { readLine(dir.file("REC.txt"), 2); }), 75);
    EXPECT_FALSE(readBytes(path));
    EXPECT_EQ(readLines(dir.file("other.txt")), Lines{"c"});
    // A file that is not there is still missing, not unreadable.
    setReadFailureForTesting(dir.file("gone.txt"));
    EXPECT_EQ(errorOf([&] { readLines(dir.file("gone.txt")); }), 53);
    EXPECT_EQ(readLines(path), (Lines{"a", "b"}));
    setReadFailureForTesting(path);
    setReadFailureForTesting("");
    EXPECT_EQ(readLines(path), (Lines{"a", "b"}));
}

TEST_F(TextFile, FailedAppendReportsDiskFull) {
    const auto path = dir.file("a.txt");
    setWriteFailureForTesting(2);
    EXPECT_EQ(errorOf([&] { appendLines(path, {"abcdef"}); }), 61);
}

TEST_F(TextFile, ExistsChecks) {
    writeFileBytes(dir.file("f"), "x");
    EXPECT_TRUE(fileExists(dir.file("f")));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.file("nope")));
    EXPECT_TRUE(dirExists(dir.path()));
    EXPECT_FALSE(dirExists(dir.file("f")));
}
