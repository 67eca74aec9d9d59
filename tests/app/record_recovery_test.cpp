// Start-up after a crash: the group of record files a write left half done, and the files the
// cut writes left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/FrmStart.h"
#include "home/FrmFengmian.h"
#include "platform/instance.h"
#include "platform/textfile.h"
#include "session/record_group.h"
#include "tests/app/program_harness.h"
#include "tests/session/crash_table.h"
#include "tests/session/record_pairing.h"
#include "tests/support/scoped_failure.h"

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

namespace {

namespace fs = std::filesystem;

// Every file under the folder that holds the program folder, with its bytes; the run logs
// (ksdata/*.txt) are left out, each launch appends to one.
std::map<std::string, std::string> tree(const ProgramFolder& folder) {
    const fs::path root = fs::path(folder.path()).parent_path();
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        const fs::path rel = fs::relative(e.path(), root);
        if (rel.parent_path().filename() == "ksdata" && rel.extension() == ".txt") continue;
        out[rel.string()] = testsupport::readFileBytes(e.path().string());
    }
    return out;
}

// The files added, removed or changed between two trees.
std::vector<std::string> changes(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
    std::vector<std::string> out;
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        if (it == after.end()) out.push_back("removed " + name);
        else if (it->second != bytes) out.push_back("changed " + name);
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) out.push_back("added " + name);
    return out;
}

std::vector<std::string> runLog(ProgramHarness& h) {
    return fs::exists(h.g().RunLogPath) ? platform::readLines(h.g().RunLogPath) : std::vector<std::string>{};
}

std::size_t linesWith(const std::vector<std::string>& log, const std::string& part) {
    std::size_t n = 0;
    for (const auto& l : log) n += l.find(part) != std::string::npos;
    return n;
}

const std::string OldList = "020100010203\r\n", OldFlags = "TFT\r\n";
const std::string NewList = "000102030202\r\n", NewFlags = "FTF\r\n";

std::string wholeIntent() {
    return qz::encodeIntent({{"288862.mxy", NewList}, {"288872.mxy", NewFlags}});
}

void writeOldPair(const ProgramFolder& folder) {
    testsupport::writeFileBytes(folder.ksdata() + "/288862.mxy", OldList);
    testsupport::writeFileBytes(folder.ksdata() + "/288872.mxy", OldFlags);
}

// The favourites section's counters, not reviewed and reviewed.
std::string counters(ProgramHarness& h) {
    return h.p().frmFengmian().LblBiaoZhiWei.caption() + "/" + h.p().frmFengmian().LblBiaoZhiYI.caption();
}

std::size_t heldNotices(ProgramHarness& h) {
    std::size_t n = 0;
    for (const auto& box : h.host.messageBoxes) n += box.prompt == qz::FrmStart::RecordsHeldText;
    return n;
}

}  // namespace

// A whole intent file: every file it names is written before the home screen reads them.
TEST(RecordRecovery, AWholeGroupIsCompletedBeforeTheHomeScreenReadsIt) {
    ProgramFolder folder;
    writeOldPair(folder);
    testsupport::writeFileBytes(folder.ksdata() + "/" + qz::RecordIntentName, wholeIntent());
    ProgramHarness h(folder);
    h.p().run();
    ASSERT_TRUE(h.isLoaded("FrmFengmian"));
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288862.mxy"), NewList);
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288872.mxy"), NewFlags);
    EXPECT_FALSE(fs::exists(folder.ksdata() + "/" + qz::RecordIntentName));
    // The favourites section counted the new pair: two not reviewed, one reviewed.
    EXPECT_EQ(h.p().frmFengmian().LblBiaoZhiWei.caption() + "/" + h.p().frmFengmian().LblBiaoZhiYI.caption(), "2/1");
    EXPECT_EQ(linesWith(runLog(h), "288862.mxy 288872.mxy"), 1u);
}

// A damaged intent file is removed with one line in the run log, and nothing it names is
// written: the records stay as they are, and no file appears or changes anywhere else.
TEST(RecordRecovery, ADamagedIntentFileIsDroppedAndNothingIsWritten) {
    std::string badCrc = wholeIntent();
    badCrc[badCrc.find("000102") + 2] = '9';
    std::string badLength = wholeIntent();
    badLength.replace(badLength.find("\n14\n"), 4, "\n13\n");
    const std::vector<std::pair<const char*, std::string>> cases{
        {"cut short", wholeIntent().substr(0, wholeIntent().size() - 5)},
        {"cut inside an entry", wholeIntent().substr(0, 60)},
        {"a bad checksum", badCrc},
        {"a length that does not match", badLength},
        {"trailing bytes", wholeIntent() + "x"},
        {"empty", ""},
        {"a name with ..", qz::encodeIntent({{"../288862.mxy", NewList}})},
        {"a name with a folder part", qz::encodeIntent({{"data/288862.mxy", NewList}})},
        {"an absolute name", qz::encodeIntent({{"/tmp/288862.mxy", NewList}})},
        {"a name with :", qz::encodeIntent({{"c:288862.mxy", NewList}})},
        {"a name with a backslash", qz::encodeIntent({{"..\\288862.mxy", NewList}})},
        {"an unknown name", qz::encodeIntent({{"288862.mxy", NewList}, {"notes.txt", "x\r\n"}})},
        {"a record name in another case", qz::encodeIntent({{"288862.MXY", NewList}})},
        {"a name twice", qz::encodeIntent({{"288862.mxy", NewList}, {"288862.mxy", OldList}})},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        ProgramFolder folder;
        writeOldPair(folder);
        {
            ProgramHarness first(folder);  // the first run's own writes out of the way
            first.p().run();
        }
        const auto before = tree(folder);
        testsupport::writeFileBytes(folder.ksdata() + "/" + qz::RecordIntentName, bytes);
        ProgramHarness h(folder);
        h.p().run();
        ASSERT_TRUE(h.isLoaded("FrmFengmian"));
        EXPECT_EQ(changes(before, tree(folder)), std::vector<std::string>{});
        EXPECT_EQ(linesWith(runLog(h), std::string(qz::RecordIntentName) + "已损坏"), 1u);
    }
}

// The completion failing at each call of the launch in turn, as a full disk fails it: the home
// screen and the session read the group's new pair whatever the disk holds, the intent file
// stays whole, and the learner is told once. The next launch completes the group.
TEST(RecordRecovery, ACompletionThatFailsHoldsTheGroupForTheRun) {
    const std::string NewPairs = "0001F 0203T 0202F";
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<ProgramHarness> h;
    auto path = [&](const std::string& name) { return folder->ksdata() + "/" + name; };
    long held = 0;
    sessiontest::cutAtEveryCall(
        platform::CallFault::Fail,
        [&] {
            h.reset();
            folder = std::make_unique<ProgramFolder>();
            writeOldPair(*folder);
            {
                ProgramHarness first(*folder);  // the first run's own writes out of the way
                first.p().run();
            }
            testsupport::writeFileBytes(path(qz::RecordIntentName), wholeIntent());
        },
        [&] {
            h = std::make_unique<ProgramHarness>(*folder);
            h->p().run();
        },
        [&](long) {
            ASSERT_TRUE(h->isLoaded("FrmFengmian"));
            const qz::RecordOverlay& overlay = h->g().HeldRecords;
            const bool waits = fs::exists(path(qz::RecordIntentName));
            EXPECT_EQ(sessiontest::pairing(path("288862.mxy"), path("288872.mxy"), overlay), NewPairs);
            EXPECT_EQ(counters(*h), "2/1");
            EXPECT_EQ(heldNotices(*h), waits ? 1u : 0u);
            EXPECT_EQ(overlay.holds(path("288862.mxy")) && overlay.holds(path("288872.mxy")), waits);
            if (!waits) {
                EXPECT_EQ(sessiontest::pairing(path("288862.mxy"), path("288872.mxy")), NewPairs);
                return;
            }
            ++held;
            EXPECT_EQ(testsupport::readFileBytes(path(qz::RecordIntentName)), wholeIntent());
            EXPECT_EQ(linesWith(runLog(*h), "下次启动再试"), 1u);
            h.reset();
            ProgramHarness next(*folder);
            next.p().run();
            EXPECT_EQ(sessiontest::pairing(path("288862.mxy"), path("288872.mxy")), NewPairs);
            EXPECT_FALSE(fs::exists(path(qz::RecordIntentName)));
            EXPECT_EQ(heldNotices(next), 0u);
            EXPECT_TRUE(next.g().HeldRecords.empty());
        });
    EXPECT_GT(held, 2);
}

// An intent file that cannot be read may be whole: it stays, and every record it may name is
// held as one that cannot be read, so that nothing is counted from what the disk holds. The
// next launch that can read it completes the group.
TEST(RecordRecovery, AnIntentFileThatCannotBeReadIsKept) {
    ProgramFolder folder;
    writeOldPair(folder);
    {
        ProgramHarness first(folder);
        first.p().run();
    }
    const std::string intent = folder.ksdata() + "/" + qz::RecordIntentName;
    testsupport::writeFileBytes(intent, wholeIntent());
    {
        const testsupport::ScopedReadFailure unreadable(intent);
        ProgramHarness h(folder);
        h.p().run();
        ASSERT_TRUE(h.isLoaded("FrmFengmian"));
        EXPECT_EQ(heldNotices(h), 1u);
        EXPECT_EQ(counters(h), "00/00");
        EXPECT_EQ(sessiontest::pairing(folder.ksdata() + "/288862.mxy", folder.ksdata() + "/288872.mxy",
                                       h.g().HeldRecords),
                  "<unreadable>");
        EXPECT_TRUE(h.g().HeldRecords.holds(folder.ksdata() + "/288892.mxy"));
    }
    EXPECT_EQ(testsupport::readFileBytes(intent), wholeIntent());
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288862.mxy"), OldList);
    ProgramHarness next(folder);
    next.p().run();
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288862.mxy"), NewList);
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288872.mxy"), NewFlags);
    EXPECT_FALSE(fs::exists(intent));
}

// Without a lock that could be taken, the group is still completed: the records are read at
// once. The sweep waits for a launch that holds the lock.
TEST(RecordRecovery, WithoutALockTheGroupIsCompletedAndNothingIsSwept) {
    ProgramFolder folder;
    writeOldPair(folder);
    testsupport::writeFileBytes(folder.ksdata() + "/" + qz::RecordIntentName, wholeIntent());
    testsupport::writeFileBytes(folder.ksdata() + "/.288862.mxy.Ab12Cd", NewList);
    // The user's lock is taken; the program folder's cannot be.
    fs::create_directories(folder.ksdata() + "/" + qz::Program::FolderLockName);
    ProgramHarness h(folder);
    testing::internal::CaptureStderr();
    h.p().run();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(h.isLoaded("FrmFengmian"));
    EXPECT_EQ(testsupport::readFileBytes(folder.ksdata() + "/288862.mxy"), NewList);
    EXPECT_FALSE(fs::exists(folder.ksdata() + "/" + qz::RecordIntentName));
    EXPECT_TRUE(fs::exists(folder.ksdata() + "/.288862.mxy.Ab12Cd"));
}

// What the replace and the downloader leave when cut short goes at start-up; a learner's own
// files (a ".part" among them), and names the program never writes there, stay.
TEST(RecordRecovery, TheSweepRemovesOnlyTheProgramsLeftovers) {
    struct Entry {
        const char* path;
        bool removed;
    };
    const std::vector<Entry> entries{
        {"ksdata/.288862.mxy.Ab12Cd", true},
        {"ksdata/.288873.mxy.000000", true},
        {"ksdata/.182421.mxy.zZ9yY8", true},
        {"ksdata/..records.intent.Qw3rTy", true},
        {"ksdata/.288890.mxy.abcdef", true},
        {"ksdata/.170100.mxy.part.Ab12Cd", true},
        {"ksdata/170100.mxy.part", false},
        {"ksdata/lesson-notes.part", false},     // a learner's own
        {"ksdata/.notes.txt", false},
        {"ksdata/288862.mxy.bak", false},
        {"ksdata/.288862.mxy.Ab12C", false},     // five characters: not the template's
        {"ksdata/.288862.mxy.Ab-2Cd", false},    // not a letter or digit
        {"ksdata/.288820.mxy.Ab12Cd", false},    // a question set is not written in ksdata
        {"ksdata/.part", false},
        {"data/.288820.mxy.Qw3rTy", true},
        {"data/.288895.mxy.Qw3rTy", true},
        {"data/.288892.MXY.Qw3rTy", true},       // the replace keeps an existing file's case
        {"data/.300001.mxy.part.Qw3rTy", true},  // any listed file's download
        {"data/288870.mxy.part", false},
        {"data/.288862.mxy.bak", false},
        {"data/.notes.txt", false},
        {"examdata/.paper.doc.part.x1Y2z3", true},
        {"examdata/paper.doc.part", false},
        {"examdata/.paper.doc.part.x1Y2z", false},
        {"examdata/.288862.mxy.Ab12Cd", false},  // nothing is replaced in examdata
        {"examdata/mine.txt", false},
    };
    ProgramFolder folder;
    fs::create_directories(folder.file("examdata"));
    fs::create_directories(folder.file("examdata/.kept.part.Ab12Cd"));  // a folder, not a download
    for (const Entry& e : entries) testsupport::writeFileBytes(folder.file(e.path), "x");
    std::size_t lines = 0;
    {
        ProgramHarness h(folder);
        h.p().run();
        ASSERT_TRUE(h.isLoaded("FrmFengmian"));
        for (const Entry& e : entries) {
            EXPECT_EQ(!fs::exists(folder.file(e.path)), e.removed) << e.path;
            if (e.removed) {
                EXPECT_EQ(linesWith(runLog(h), e.path), 1u) << e.path;
            }
        }
        EXPECT_TRUE(fs::is_directory(folder.file("examdata/.kept.part.Ab12Cd")));
        lines = linesWith(runLog(h), "已删除");
        EXPECT_EQ(lines, 1u);
    }
    // Nothing left to remove: no line.
    ProgramHarness again(folder);
    again.p().run();
    EXPECT_EQ(linesWith(runLog(again), "已删除"), fs::exists(again.g().RunLogPath) ? lines : 0u);
}

// While another copy holds the lock, this one ends at once: nothing recovered, nothing swept.
TEST(RecordRecovery, NothingIsTouchedWhileAnotherCopyHoldsTheLock) {
    ProgramFolder folder;
    writeOldPair(folder);
    testsupport::writeFileBytes(folder.ksdata() + "/" + qz::RecordIntentName, wholeIntent());
    testsupport::writeFileBytes(folder.ksdata() + "/.288862.mxy.Ab12Cd", "x");
    testsupport::writeFileBytes(folder.ksdata() + "/.170100.mxy.part.Ab12Cd", "x");
    platform::SingleInstanceLock other;
    ASSERT_EQ(other.acquire(platform::instanceLockPath(folder.runtimeDir(), folder.path())),
              platform::LockResult::Acquired);
    const auto before = tree(folder);
    ProgramHarness second(folder);
    second.p().run();
    EXPECT_TRUE(second.p().rt.ended());
    EXPECT_EQ(changes(before, tree(folder)), std::vector<std::string>{});
}
