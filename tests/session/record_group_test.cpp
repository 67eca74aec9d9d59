// The group writer's intent file: its bytes, which the next launch reads whatever version wrote
// them, and what is left when putting a failed group back fails as well.
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

}  // namespace
