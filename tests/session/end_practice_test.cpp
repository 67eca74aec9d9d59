// The end of a practice on a whole program, headless: the record files byte for byte, the
// windows closed and the home screen back on the section the list came from.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "session/learner_records.h"
#include "tests/home/home_fixture.h"
#include "tests/session/crash_table.h"
#include "tests/session/record_pairing.h"
#include "tests/support/scoped_failure.h"
#include "tests/support/temp_dir.h"

namespace hometest {
namespace {

class EndPractice : public HomeScreen {
protected:
    void SetUp() override { writeSmallBank(); }
    // Unit u's start button with filter 37 (all), 38 (learned) or 39 (not learned).
    void startUnit(int unit, int filter) {
        start();
        openUnit(unit, filter);
        click(20);
        ASSERT_TRUE(h->isLoaded("FrmTm"));
    }
    // A list started as the favourites and wrong-question sections start theirs.
    void startList(int mode, int base, const std::string& list, int state) {
        start();
        h->host.then([&] {
            qz::Shared& s = g();
            s.ListMode = static_cast<std::int16_t>(mode);
            s.ListBase = static_cast<std::int16_t>(base);
            for (std::size_t k = 1; k <= 500; ++k) {
                s.QuestionState[k] = static_cast<std::int16_t>(state);
                s.DoneBefore[k] = state ? "T" : "F";
            }
            home().InitShiTi(list, 19);
            s.InteractionMode = 2;
            s.CurrentQuestion = 1;
            home().startLianXi();
        });
        h->host.runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmTm"));
    }
    void complete(int k) { g().QuestionState[static_cast<std::size_t>(k)] |= 4; }
    void mark(int k, bool on) {
        auto& s = g().QuestionState[static_cast<std::size_t>(k)];
        s = static_cast<std::int16_t>(on ? (s | 2) : (s & ~2));
    }
    // The end button's action; the own message box, if it opens, is confirmed.
    BoxSeen end() {
        qz::FrmTm* panel = h->p().loadedFrmTm();
        const BoxSeen box = runAnswering([panel] { panel->EndPractice(); }, Confirm);
        h->host.pause(300);  // the home screen's replay timer
        h->host.runUntilIdle();
        return box;
    }
    std::string record(const std::string& name) {
        const std::string path = folder.ksdata() + "/" + name;
        return platform::fileExists(path) ? testsupport::readFileBytes(path) : "<missing>";
    }
    // The progress file as the home screen's build writes it: 25 lines and an empty one.
    static std::string homeProgress(std::vector<std::string> lines) {
        lines.resize(26);
        return crlf(lines);
    }
    void expectBackHome(int returnButton, const forms::PictureBox* section) {
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_FALSE(h->isLoaded("FrmMain"));
        ASSERT_TRUE(h->isLoaded("FrmFengmian"));
        EXPECT_TRUE(home().visible());
        EXPECT_EQ(g().ReturnButton, returnButton);
        EXPECT_EQ(g().AllowPanelUnload, 1);
        EXPECT_FALSE(home().TimFH.timerEnabled());
        for (const forms::PictureBox* box : {&home().PicTiKu, &home().PicBiaoZhi, &home().PicCuoTi, &home().PicKaCH})
            EXPECT_EQ(box->visible(), box == section);
    }
};

TEST_F(EndPractice, WholeUnitWithOneQuestionCompletedWritesItsLine) {
    startUnit(1, 37);  // questions 1 and 3 done before
    complete(2);
    EXPECT_FALSE(end().opened);
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "TTTF", "FFF"}));
    expectBackHome(16, &home().PicTiKu);
    EXPECT_EQ(record("288862.mxy"), "\r\n");
    EXPECT_EQ(record("288872.mxy"), "\r\n");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(EndPractice, NotDoneListSetsTheQuestionByItsCode) {
    startUnit(1, 39);  // the list is questions 2 and 4
    ASSERT_EQ(g().QuestionCount, 2);
    complete(2);
    end();
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "TFTT", "FFF"}));
    expectBackHome(16, &home().PicTiKu);
}

TEST_F(EndPractice, NothingDoneLeavesProgressAsTheHomeScreenKeepsIt) {
    writeProgress({"TFT"});
    startUnit(0, 37);
    // Written back, the line would read FFF.
    g().QuestionState[1] = 1;  // opened, not done
    g().QuestionState[3] = 0;
    end();
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "FFFF", "FFF"}));
}

TEST_F(EndPractice, MarkingAddsAndUnmarkingRemovesWithTheFlags) {
    writeRecord("288862.mxy", "00010101\r\n");
    writeRecord("288872.mxy", "TF\r\n");
    startUnit(0, 37);
    ASSERT_EQ(g().QuestionState[1] & 2, 2);  // listed, so marked at the launch
    mark(1, false);
    mark(3, true);
    mark(2, true);
    end();
    EXPECT_EQ(record("288862.mxy"), "010100020003\r\n");
    EXPECT_EQ(record("288872.mxy"), "FFF\r\n");
}

TEST_F(EndPractice, AllFavouritesRemoveOnlyAndSetFlagsByPosition) {
    writeRecord("288862.mxy", "000100020003\r\n");
    writeRecord("288872.mxy", "F\r\n");  // shorter than its list
    startList(9, 10, "000100020003", 0);
    ASSERT_EQ(g().QuestionCount, 3);
    complete(3);
    mark(2, false);
    end();
    EXPECT_EQ(record("288862.mxy"), "00010003\r\n");
    EXPECT_EQ(record("288872.mxy"), "FT\r\n");
    expectBackHome(18, &home().PicBiaoZhi);
}

TEST_F(EndPractice, NotReviewedFavouritesFlagTheDoneOnesInOrder) {
    writeRecord("288862.mxy", "000100020003\r\n");
    writeRecord("288872.mxy", "TFF\r\n");
    startList(10, 9, "00020003", 0);
    ASSERT_EQ(g().QuestionCount, 2);
    complete(2);
    end();
    EXPECT_EQ(record("288862.mxy"), "000100020003\r\n");
    EXPECT_EQ(record("288872.mxy"), "TFT\r\n");
    expectBackHome(18, &home().PicBiaoZhi);
}

TEST_F(EndPractice, NotReviewedWrongQuestionsReturnToTheirSection) {
    writeRecord("288863.mxy", "0001000200030101\r\n");
    writeRecord("288873.mxy", "FTF\r\n");  // one short: the last is not reviewed either
    startList(13, 6, "000100030101", 0);
    complete(1);
    complete(3);
    end();
    EXPECT_EQ(record("288863.mxy"), "0001000200030101\r\n");
    EXPECT_EQ(record("288873.mxy"), "TTFT\r\n");
    expectBackHome(19, &home().PicCuoTi);
}

TEST_F(EndPractice, PaperWrongQuestionsKeepTheNotDoneOnesOnYes) {
    for (int answer : {forms::mb::ResultNo, forms::mb::ResultYes}) {
        SCOPED_TRACE(answer);
        writeRecord("182403.mxy", " 000100020101 \r\n");
        startList(2, 17, "000100020101", 0);
        g().PaperSlot = 3;
        complete(1);
        complete(3);
        h->host.answerMessageBox(answer);
        end();
        ASSERT_FALSE(h->host.messageBoxes.empty());
        EXPECT_EQ(h->host.messageBoxes.back().flags, forms::mb::YesNo | forms::mb::Question | forms::mb::DefaultButton2);
        EXPECT_EQ(record("182403.mxy"), answer == forms::mb::ResultYes ? "0002\r\n" : " 000100020101 \r\n");
        expectBackHome(0, nullptr);
    }
}

// The paper question runs events with the panel still up: a second end meanwhile does nothing.
TEST_F(EndPractice, ASecondEndWhileTheQuestionIsOpenIsRefused) {
    writeRecord("182403.mxy", "00010002\r\n");
    startList(2, 17, "00010002", 0);
    g().PaperSlot = 3;
    complete(1);
    qz::FrmTm* panel = h->p().loadedFrmTm();
    // A timer of the panel ends the practice again while the learner is still in the box.
    bool innerRan = false;
    panel->TimKsModel.Tick = [&] {
        panel->TimKsModel.setEnabled(false);
        innerRan = true;
        panel->EndPractice();
    };
    panel->TimKsModel.setInterval(100);
    panel->TimKsModel.setEnabled(true);
    h->host.answerMessageBox(forms::mb::ResultYes, 500);
    end();
    EXPECT_TRUE(innerRan);
    EXPECT_EQ(h->host.messageBoxes.size(), 1u);
    EXPECT_EQ(record("182403.mxy"), "0002\r\n");
    expectBackHome(0, nullptr);
}

TEST_F(EndPractice, AnUnreadableRecordIsKeptAndTheLearnerTold) {
    writeRecord("288862.mxy", "0001\r\n");
    writeRecord("288872.mxy", "T\r\n");
    startUnit(0, 37);
    mark(1, false);
    mark(2, true);
    complete(2);
    BoxSeen box;
    {
        testsupport::ScopedReadFailure unreadable(folder.ksdata() + "/288872.mxy");
        box = end();
    }
    ASSERT_TRUE(box.opened);
    EXPECT_EQ(box.title, "保存记录");
    EXPECT_EQ(record("288862.mxy"), "0001\r\n");
    EXPECT_EQ(record("288872.mxy"), "T\r\n");
    // The rest was still saved, and the home screen is back.
    EXPECT_EQ(progressBytes(), homeProgress({"TTT", "TFTF", "FFF"}));
    expectBackHome(16, &home().PicTiKu);
}

// A favourites file that the launch could not read marked nothing, so the end would take
// every favourite of the list as unmarked and delete it with its flag.
TEST_F(EndPractice, FavouritesUnreadAtTheLaunchAreNotRewritten) {
    writeRecord("288862.mxy", "010101030001\r\n");
    writeRecord("288872.mxy", "TTF\r\n");
    {
        testsupport::ScopedReadFailure unreadable(folder.ksdata() + "/288862.mxy");
        startUnit(1, 37);
    }
    EXPECT_EQ(g().QuestionState[1] & 2, 0);
    mark(2, true);
    complete(2);
    const BoxSeen box = end();
    ASSERT_TRUE(box.opened);
    EXPECT_EQ(box.title, "保存记录");
    EXPECT_EQ(record("288862.mxy"), "010101030001\r\n");
    EXPECT_EQ(record("288872.mxy"), "TTF\r\n");
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "TTTF", "FFF"}));
    // The next launch of the same run reads them, and its end brings them in line again.
    clicks({50 + 1, 37, 20});
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    mark(1, false);
    EXPECT_FALSE(end().opened);
    EXPECT_EQ(record("288862.mxy"), "01030001\r\n");
    EXPECT_EQ(record("288872.mxy"), "TF\r\n");
}

// Files the start of the program holds are read as it holds them and not written at the end:
// the learner is told.
TEST_F(EndPractice, FilesHeldAtTheStartAreReadAndNotWritten) {
    writeRecord("288862.mxy", "0001\r\n");
    writeRecord("288872.mxy", "T\r\n");
    start();
    auto path = [&](const char* name) { return qz::recordfile::path(g().ProgramFolder, name); };
    g().HeldRecords.hold(path(qz::recordfile::Favourites), "0102\r\n");
    g().HeldRecords.hold(path(qz::recordfile::FavouritesReview), "F\r\n");
    g().HeldRecords.hold(path(qz::recordfile::UnitProgress), crlf({"TFT", "FFFF", "FFF"}));
    openUnit(1, 37);
    click(20);
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_EQ(g().QuestionState[2] & 2, 2);
    mark(3, true);
    complete(3);
    const BoxSeen box = end();
    ASSERT_TRUE(box.opened);
    EXPECT_EQ(box.title, "保存记录");
    EXPECT_EQ(record("288862.mxy"), "0001\r\n");
    EXPECT_EQ(record("288872.mxy"), "T\r\n");
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "TFTF", "FFF"}));
}

// A whole unit worked without the progress read at the launch knows nothing done before: its
// end adds what it completed to the line instead of replacing it.
TEST_F(EndPractice, ProgressUnreadAtTheLaunchIsAddedTo) {
    writeProgress({"TFT", "TFTF", "FFF"});
    {
        testsupport::ScopedReadFailure unreadable(folder.ksdata() + "/288893.mxy");
        startUnit(1, 37);
    }
    EXPECT_EQ(g().QuestionState[1] & 4, 0);
    complete(4);
    EXPECT_FALSE(end().opened);
    EXPECT_EQ(progressBytes(), homeProgress({"TFT", "TFTT", "FFF"}));
}

// The wrong questions' flags are written before the favourites: the first write failing
// keeps them and lets the favourites through.
TEST_F(EndPractice, WrongQuestionFlagsAreWrittenBeforeTheFavourites) {
    writeRecord("288863.mxy", "00010002\r\n");
    writeRecord("288873.mxy", "FF\r\n");
    startList(12, 7, "00010002", 0);
    complete(2);
    mark(1, true);
    BoxSeen box;
    {
        testsupport::ScopedReplaceFailure failing(1, platform::ReplaceFailure::AfterTemporaryFile);
        box = end();
    }
    EXPECT_TRUE(box.opened);
    EXPECT_EQ(record("288873.mxy"), "FF\r\n");
    EXPECT_EQ(record("288862.mxy"), "0001\r\n");
    EXPECT_EQ(record("288872.mxy"), "F\r\n");
    expectBackHome(19, &home().PicCuoTi);
}

// Each write of the end failing at each point: the progress and the favourites pair are each
// their old or their new content, every favourite keeps its own flag, and the learner is told.
// The practice removes the first favourite, so the old flags over the new list would move.
TEST_F(EndPractice, AWriteFailingAnywhereLeavesOldOrNewFiles) {
    const std::string oldFav = "020100010203\r\n", oldFlags = "TFT\r\n";
    const std::string oldPairs = "0201T 0001F 0203T", newPairs = "0001F 0203T 0202F";
    // The writes in order: the progress, the favourites' intent file, the favourites, their flags.
    for (long nth : {1L, 2L, 3L, 4L}) {
        for (auto point : {platform::ReplaceFailure::AfterTemporaryFile, platform::ReplaceFailure::BeforeRename}) {
            SCOPED_TRACE(std::to_string(nth) + (point == platform::ReplaceFailure::BeforeRename ? " rename" : " temp"));
            writeProgress({"TFT", "TFTF", "FFF"});
            writeRecord("288862.mxy", oldFav);
            writeRecord("288872.mxy", oldFlags);
            startUnit(2, 37);
            ASSERT_EQ(g().QuestionState[1] & 2, 2);
            mark(1, false);
            mark(2, true);
            complete(2);
            BoxSeen box;
            {
                testsupport::ScopedReplaceFailure failing(nth, point);
                box = end();
            }
            EXPECT_TRUE(box.opened);
            const std::string line3 = platform::readLines(folder.ksdata() + "/288893.mxy").at(2);
            EXPECT_TRUE(line3 == "FFF" || line3 == "TTF") << line3;  // question 1 completes on showing
            EXPECT_EQ(line3 == "FFF", nth == 1) << line3;
            EXPECT_EQ(sessiontest::pairing(folder.ksdata() + "/288862.mxy", folder.ksdata() + "/288872.mxy"),
                      nth == 1 ? newPairs : oldPairs);
            const std::string fav = record("288862.mxy");
            EXPECT_TRUE(fav == oldFav || fav == "000102030202\r\n") << fav;
        }
    }
}

// The end cut before each system call of its writes, by a kill or by that call failing, and
// the program started again: the progress and each pair are old or new, code by code, and the
// writes leave nothing behind.
TEST_F(EndPractice, ACutAtAnyCallLeavesEveryRecordOldOrNewAfterTheNextLaunch) {
    struct Case {
        const char* what;
        std::function<void()> practice;
        const char* list;
        const char* flags;
        std::string oldPairs, newPairs;
    };
    const std::vector<Case> cases{
        {"a unit practice that removes a favourite and adds one",
         [&] {
             writeRecord("288862.mxy", "020100010203\r\n");
             writeRecord("288872.mxy", "TFT\r\n");
             startUnit(2, 37);
             mark(1, false);
             mark(2, true);
             complete(2);
         },
         "288862.mxy", "288872.mxy", "0201T 0001F 0203T", "0001F 0203T 0202F"},
        {"the wrong questions not reviewed",
         [&] {
             writeRecord("288863.mxy", "0001000200030101\r\n");
             writeRecord("288873.mxy", "FTFF\r\n");
             startList(13, 6, "000100030101", 0);
             complete(1);
             complete(3);
         },
         "288863.mxy", "288873.mxy", "0001F 0002T 0003F 0101F", "0001T 0002T 0003F 0101T"},
    };
    const std::string ks = folder.ksdata() + "/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (auto fault : {platform::CallFault::Exit, platform::CallFault::Fail}) {
            sessiontest::cutAtEveryCall(
                fault,
                [&] {
                    writeProgress({"TFT", "TFTF", "FFF"});
                    c.practice();
                },
                [&] { end(); },
                [&](long) {
                    start();
                    const std::string pairs = sessiontest::pairing(ks + c.list, ks + c.flags);
                    EXPECT_TRUE(pairs == c.oldPairs || pairs == c.newPairs) << pairs;
                    const std::string line3 = platform::readLines(ks + "288893.mxy").at(2);
                    EXPECT_TRUE(line3 == "FFF" || line3 == "TTF") << line3;
                    EXPECT_EQ(sessiontest::hiddenFiles(folder.ksdata()), std::vector<std::string>{});
                });
        }
    }
}

}  // namespace
}  // namespace hometest
