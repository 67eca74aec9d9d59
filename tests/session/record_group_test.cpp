// The group writer's intent file: its bytes, which the next launch reads whatever version wrote
// them, what is left when putting a failed group back fails as well, and a write that finds
// another group's intent file.
#include "session/record_group.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "tests/support/scoped_failure.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vb_error_of.h"

namespace {

TEST(RecordIntent, BytesAreFixedAndReadBack) {
    EXPECT_EQ(qz::crc32("123456789"), 0xCBF43926u);
    const std::vector<qz::IntentEntry> entries{{"288862.mxy", "000102030202\r\n"}, {"288872.mxy", "FTF\r\n"}};
    const std::string bytes = qz::encodeIntent(entries);
    EXPECT_EQ(bytes,
              "records-intent 1\n2\n288862.mxy\n14\na98f461d\n000102030202\r\n\n288872.mxy\n5\n7492a420\nFTF\r\n\n"
              "end 95b0aabf\n");
    std::vector<qz::IntentEntry> back;
    ASSERT_TRUE(qz::decodeIntent(bytes, back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].name, "288872.mxy");
    EXPECT_EQ(back[1].bytes, "FTF\r\n");
    // An entry may hold any bytes, line ends and all; an empty file too.
    ASSERT_TRUE(qz::decodeIntent(qz::encodeIntent({{"182421.mxy", "\n\nend 0\n"}, {"288893.mxy", ""}}), back));
    EXPECT_EQ(back[0].bytes, "\n\nend 0\n");
}

// The flags' write fails and so does putting the list back: the intent file stays, and the next
// launch makes the pair whole with the new bytes rather than leave a new list on old flags.
TEST(RecordGroup, APutBackThatFailsLeavesTheGroupForTheNextLaunch) {
    testsupport::TempDir dir;
    const std::string l = dir.file("288862.mxy"), r = dir.file("288872.mxy");
    testsupport::writeFileBytes(l, "00010002\r\n");
    testsupport::writeFileBytes(r, "TF\r\n");
    {
        // The intent file and the list take six calls each; the flags fail after their write,
        // their put-back takes six calls more, and the list's put-back fails at its first.
        testsupport::ScopedReplaceFailure flags(3, platform::ReplaceFailure::AfterTemporaryFile);
        platform::setCallFaultForTesting(21, platform::CallFault::Fail);
        EXPECT_THROW(qz::writeRecordGroup({{l, "0002\r\n"}, {r, "T\r\n"}}), platform::VbError);
        EXPECT_EQ(platform::setCallFaultForTesting(0, platform::CallFault::Fail), 0);
    }
    EXPECT_EQ(testsupport::readFileBytes(l), "0002\r\n");
    EXPECT_EQ(testsupport::readFileBytes(r), "TF\r\n");
    EXPECT_EQ(qz::recoverRecordGroup(dir.path()).outcome, qz::GroupRecovery::Completed);
    EXPECT_EQ(testsupport::readFileBytes(r), "T\r\n");
    EXPECT_FALSE(platform::fileExists(dir.file(qz::RecordIntentName)));
}

// The folder cannot be synced after a record's rename: the group's write fails, and the group
// is put back whole, the file just renamed included, so that no new list stands on old flags.
TEST(RecordGroup, AFailedFolderSyncAfterARenamePutsTheGroupBack) {
    testsupport::TempDir dir;
    const std::string l = dir.file("288862.mxy"), r = dir.file("288872.mxy");
    // Six calls each for the intent file, the list and the flags; the sixth is the folder's sync.
    for (long call : {12L, 18L}) {
        SCOPED_TRACE(call == 12 ? "the list's" : "the flags'");
        testsupport::writeFileBytes(l, "00010002\r\n");
        testsupport::writeFileBytes(r, "TF\r\n");
        platform::setCallFaultForTesting(call, platform::CallFault::Fail);
        EXPECT_EQ(testsupport::errorOf([&] { qz::writeRecordGroup({{l, "0002\r\n"}, {r, "T\r\n"}}); }), 75);
        EXPECT_EQ(platform::setCallFaultForTesting(0, platform::CallFault::Fail), 0);
        EXPECT_EQ(testsupport::readFileBytes(l), "00010002\r\n");
        EXPECT_EQ(testsupport::readFileBytes(r), "TF\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "a file left behind";
    }
}

// A write that finds another group waiting completes it first, and drops one that is damaged;
// one it cannot complete (a write fails, or its intent file cannot be read) stops the write with
// nothing of it done, and stays whole for the next launch.
TEST(RecordGroup, AWriteNeverReplacesAPendingIntentFile) {
    enum Kind { Whole, Damaged, Failing, Unreadable };
    const std::string pending = qz::encodeIntent({{"288863.mxy", "0901\r\n"}, {"288873.mxy", "T\r\n"}});
    for (Kind kind : {Whole, Damaged, Failing, Unreadable}) {
        SCOPED_TRACE(kind);
        testsupport::TempDir dir;
        const std::string intent = dir.file(qz::RecordIntentName);
        testsupport::writeFileBytes(dir.file("288863.mxy"), "0902\r\n");
        testsupport::writeFileBytes(dir.file("288873.mxy"), "F\r\n");
        testsupport::writeFileBytes(dir.file("288862.mxy"), "0001\r\n");
        testsupport::writeFileBytes(dir.file("288872.mxy"), "T\r\n");
        testsupport::writeFileBytes(intent, kind == Damaged ? pending.substr(0, pending.size() - 3) : pending);
        const std::vector<qz::RecordBytes> mine{{dir.file("288862.mxy"), "00010002\r\n"},
                                                {dir.file("288872.mxy"), "TF\r\n"}};
        if (kind == Failing || kind == Unreadable) {
            {
                // The waiting group's second file fails: its first is new.
                testsupport::ScopedReadFailure unreadable(kind == Unreadable ? intent : "");
                testsupport::ScopedReplaceFailure failing(kind == Failing ? 2 : 0,
                                                          platform::ReplaceFailure::AfterTemporaryFile);
                EXPECT_THROW(qz::writeRecordGroup(mine), platform::VbError);
            }
            EXPECT_EQ(testsupport::readFileBytes(dir.file("288862.mxy")), "0001\r\n");
            EXPECT_EQ(testsupport::readFileBytes(dir.file("288872.mxy")), "T\r\n");
            EXPECT_EQ(testsupport::readFileBytes(dir.file("288863.mxy")), kind == Failing ? "0901\r\n" : "0902\r\n");
            EXPECT_EQ(testsupport::readFileBytes(intent), pending);
            EXPECT_EQ(qz::recoverRecordGroup(dir.path()).outcome, qz::GroupRecovery::Completed);
            EXPECT_EQ(testsupport::readFileBytes(dir.file("288873.mxy")), "T\r\n");
            continue;
        }
        qz::writeRecordGroup(mine);
        EXPECT_EQ(testsupport::readFileBytes(dir.file("288862.mxy")), "00010002\r\n");
        EXPECT_EQ(testsupport::readFileBytes(dir.file("288872.mxy")), "TF\r\n");
        EXPECT_EQ(testsupport::readFileBytes(dir.file("288863.mxy")), kind == Whole ? "0901\r\n" : "0902\r\n");
        EXPECT_EQ(testsupport::readFileBytes(dir.file("288873.mxy")), kind == Whole ? "T\r\n" : "F\r\n");
        EXPECT_FALSE(platform::fileExists(intent));
    }
}

// The launch's completion failing at each of its calls in turn: the intent file stays as it was,
// and what the recovery says waits is the whole group with its new bytes. An intent file that
// cannot be read stays too, and says nothing of its files.
TEST(RecordGroup, ACompletionThatFailsKeepsTheGroup) {
    const std::vector<qz::IntentEntry> group{{"288862.mxy", "00010002\r\n"}, {"288872.mxy", "TF\r\n"}};
    const std::string bytes = qz::encodeIntent(group);
    for (long n = 1;; ++n) {
        SCOPED_TRACE(n);
        ASSERT_LT(n, 50);
        testsupport::TempDir dir;
        testsupport::writeFileBytes(dir.file(qz::RecordIntentName), bytes);
        platform::setCallFaultForTesting(n, platform::CallFault::Fail);
        const qz::GroupRecovery r = qz::recoverRecordGroup(dir.path());
        const bool faulted = platform::setCallFaultForTesting(0, platform::CallFault::Fail) == 0;
        if (r.outcome == qz::GroupRecovery::Completed) {
            EXPECT_FALSE(platform::fileExists(dir.file(qz::RecordIntentName)));
            if (!faulted) break;
            continue;  // a failing folder sync that the replace does not count as its failure
        }
        EXPECT_TRUE(faulted);
        ASSERT_EQ(r.outcome, qz::GroupRecovery::Failed);
        EXPECT_NE(r.error, 0);
        EXPECT_TRUE(r.names.empty());
        ASSERT_TRUE(r.pending);
        ASSERT_EQ(r.pending->size(), 2u);
        EXPECT_EQ((*r.pending)[1].name, "288872.mxy");
        EXPECT_EQ((*r.pending)[1].bytes, "TF\r\n");
        EXPECT_EQ(testsupport::readFileBytes(dir.file(qz::RecordIntentName)), bytes);
    }
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file(qz::RecordIntentName), bytes);
    {
        testsupport::ScopedReadFailure unreadable(dir.file(qz::RecordIntentName));
        const qz::GroupRecovery r = qz::recoverRecordGroup(dir.path());
        EXPECT_EQ(r.outcome, qz::GroupRecovery::Failed);
        EXPECT_FALSE(r.pending);
    }
    EXPECT_EQ(testsupport::readFileBytes(dir.file(qz::RecordIntentName)), bytes);
    EXPECT_FALSE(platform::fileExists(dir.file("288862.mxy")));
}

}  // namespace
