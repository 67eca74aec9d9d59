// The paper section's actions: drawing a random paper, starting a paper, reviewing a paper's
// wrong questions and deleting a random paper, with the records each leaves on disk.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "home/paper_records.h"
#include "session/FrmLogon.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "tests/home/paper_fixture.h"
#include "tests/support/scoped_failure.h"

namespace hometest {
namespace {

using testsupport::gbkBytes;

const std::string kNow = "2026-12-10 09:30:00";  // the harness's local time

// One draw of the generator's pair: the unit among those with questions, and the question.
struct Pick {
    int index;  // among the units with questions
    int unit;
    int question;
    std::string code() const { return twoDigits(unit) + twoDigits(question); }
};

// Forty distinct picks over a bank's counts: question 1 of every unit with questions, then
// question 2, and so on.
std::vector<Pick> fortyPicks(const std::vector<int>& counts) {
    std::vector<Pick> picks;
    for (int q = 1; picks.size() < 40 && q < 100; ++q) {
        int index = 0;
        for (std::size_t u = 0; u < counts.size(); ++u) {
            if (counts[u] == 0) continue;
            if (q <= counts[u] && picks.size() < 40) picks.push_back({index, static_cast<int>(u), q});
            ++index;
        }
    }
    return picks;
}
const std::vector<int> kSampleCounts{20, 6, 5, 4, 5, 5, 4, 3, 4, 4, 3, 42};

std::string codesOf(const std::vector<Pick>& picks) {
    std::string out;
    for (const Pick& p : picks) out += p.code();
    return out;
}

// The record files a paper action may touch, by name: the papers, the history, the wrong
// questions of the random slots and of slot 30 (a draw's overflow).
std::vector<std::string> recordNames() {
    std::vector<std::string> names{"288891.mxy", "288892.mxy"};
    for (int s = 20; s <= 30; ++s) names.push_back(PaperRun::wrongName(s));
    return names;
}

class Papers : public PaperScreen {
protected:
    // The generator gives these picks, in order.
    void script(const std::vector<Pick>& picks) {
        for (const Pick& p : picks) {
            h->random.values.push_back((p.index + 0.5) / 1000);
            h->random.values.push_back((p.question - 0.5) / 1000);
        }
    }
    // The paper section on a tab.
    void openTab(int tab) {
        click(5);
        click(tab);
    }
    std::map<std::string, std::optional<std::string>> records() const {
        std::map<std::string, std::optional<std::string>> out;
        for (const std::string& name : recordNames()) out[name] = record(name);
        return out;
    }
    // The session that a paper's start leaves: the login shown over an unloaded home screen.
    void expectExamStarted(int slot, int listMode, int listBase, const std::string& codes) {
        EXPECT_FALSE(h->isLoaded("FrmFengmian"));
        ASSERT_TRUE(h->isLoaded("FrmLogon"));
        EXPECT_TRUE(h->p().frmLogon().visible());
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_EQ(g().PaperSlot, slot);
        EXPECT_EQ(g().ListMode, listMode);
        EXPECT_EQ(g().ListBase, listBase);
        EXPECT_EQ(g().InteractionMode, 3);
        EXPECT_EQ(g().QuestionCount, 40);
        EXPECT_EQ(g().CurrentQuestion, 1);
        EXPECT_EQ(g().ExamMinutesLeft, 50);
        EXPECT_EQ(g().StepsFilePath, qz::QuestionSet{listMode + listBase}.stepsPath(folder.dataDir()));
        for (int i = 1; i <= 40; ++i) {
            EXPECT_EQ(qz::QuestionCode{g().QuestionCodes[static_cast<std::size_t>(i)]}.text(),
                      codes.substr(4 * (i - 1), 4))
                << i;
            EXPECT_EQ(g().DoneBefore[static_cast<std::size_t>(i)], "F") << i;
            EXPECT_EQ(g().QuestionState[static_cast<std::size_t>(i)], 0) << i;
        }
    }
    void expectNothingStarted() {
        EXPECT_TRUE(h->isLoaded("FrmFengmian"));
        EXPECT_FALSE(h->isLoaded("FrmLogon"));
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_EQ(g().StepsFilePath, "");
    }
};

// ---- the draw ----

TEST_F(Papers, FirstDrawRecordsThePaperAndStartsIt) {
    // A fixed paper's records stay as they are.
    writeHistory({{0, recordOf(0)}, {19, recordOf(19)}});
    start();
    openTab(30);
    // A code met again is drawn afresh without counting; the codes 0102 and 0301 side by side
    // hold 0203 across their border, which is still new.
    std::vector<Pick> picks{{1, 1, 2}, {3, 3, 1}, {2, 2, 3}, {1, 1, 2}};
    std::vector<Pick> paper{picks[0], picks[1], picks[2]};
    for (const Pick& p : fortyPicks(kSampleCounts)) {
        if (p.code() == "0102" || p.code() == "0301" || p.code() == "0203") continue;
        if (paper.size() < 40) paper.push_back(p);
        picks.push_back(p);
    }
    script(picks);
    click(21);
    EXPECT_EQ(h->random.reseeds, 1);
    const std::string codes = codesOf(paper);
    ASSERT_EQ(codes.size(), 160u);
    expectExamStarted(20, 8, 11, codes);

    // Ten lines: the new paper, then blank ones where the old file had none.
    EXPECT_EQ(papersBytes(), crlf({codes, "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(historyBytes(), historyFile({{0, recordOf(0)}, {19, recordOf(19)}, {20, {kNow, "0"}}}));
    EXPECT_EQ(wrongBytes(20), "\r\n");
    EXPECT_EQ(wrongBytes(21), "(missing)");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(Papers, EleventhDrawDropsTheOldestAndShiftsTheRest) {
    writeRandomPapers(10);
    std::map<int, HistoryRecord> history;
    for (int s = 0; s < 30; ++s) history[s] = recordOf(s);
    writeHistory(history);
    // Slot 25 has no wrong questions file: the slot it moves to is emptied, not left as it was.
    for (int s = 20; s <= 30; ++s)
        if (s != 25) writeWrong(s, "00" + twoDigits(s) + "\r\n");
    start();
    openTab(30);
    const std::vector<Pick> picks = fortyPicks(kSampleCounts);
    script(picks);
    click(21);
    expectExamStarted(20, 8, 11, codesOf(picks));

    const std::vector<std::string> sample = samplePapers();
    std::vector<std::string> papers{codesOf(picks)};
    for (int k = 0; k < 9; ++k) papers.push_back(sample[static_cast<std::size_t>(k % 5)]);
    EXPECT_EQ(papersBytes(), crlf(papers));
    std::map<int, HistoryRecord> after = history;
    after[20] = {kNow, "0"};
    for (int s = 21; s <= 29; ++s) after[s] = recordOf(s - 1);
    EXPECT_EQ(historyBytes(), historyFile(after));
    EXPECT_EQ(wrongBytes(20), "\r\n");
    for (int s = 21; s <= 30; ++s) EXPECT_EQ(wrongBytes(s), s == 26 ? "\r\n" : "00" + twoDigits(s - 1) + "\r\n") << s;
}

TEST_F(Papers, AUnitWithoutQuestionsIsNeverDrawn) {
    std::vector<int> counts = kSampleCounts;
    counts[1] = 0;
    writeCatalogue({"0512", "200005040505040304040342", samplePapers()[0]});
    start();
    openTab(30);
    const std::vector<Pick> picks = fortyPicks(counts);
    ASSERT_EQ(picks[1].index, 1);
    ASSERT_EQ(picks[1].unit, 2);
    script(picks);
    click(21);
    expectExamStarted(20, 8, 11, codesOf(picks));
    for (int i = 1; i <= 40; ++i) EXPECT_NE(qz::QuestionCode{g().QuestionCodes[static_cast<std::size_t>(i)]}.unit(), 1);
}

TEST_F(Papers, ABankTooSmallIsRefusedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::vector<std::string> catalogue;
    };
    for (const Case& c : {Case{"39 questions", {"0502", "2019"}}, Case{"no units", {"0500", ""}},
                          Case{"units without questions", {"0503", "000000"}}}) {
        SCOPED_TRACE(c.name);
        writeCatalogue(c.catalogue);
        start();
        openTab(30);
        const BoxSeen box = clickAnswering(21, Confirm);
        EXPECT_EQ(box.title, "随机试卷");
        EXPECT_EQ(box.prompt, "\r\n\r\n题库中的题目不足40道，\r\n无法生成随机试卷！");
        expectNothingStarted();
        for (const auto& [name, bytes] : records()) EXPECT_FALSE(bytes) << name;
    }
}

TEST(PaperDraw, AGeneratorThatGivesNothingNewEndsInARefusal) {
    // Always the same pair: one code, then nothing new however long it is asked.
    struct Stuck : platform::RandomNumbers {
        long calls = 0;
        void reseed() override {}
        double next() override { return ++calls, 0.5; }
    } stuck;
    EXPECT_FALSE(qz::drawPaperCodes(kSampleCounts, stuck));
    EXPECT_LT(stuck.calls, 100000);
}

TEST_F(Papers, UnreadableRecordsAreNotWrittenOver) {
    for (const char* unreadable : {"288891.mxy", "288892.mxy"}) {
        SCOPED_TRACE(unreadable);
        writeRandomPapers(3);
        writeHistory({{21, recordOf(21)}});
        writeWrong(20, "0001\r\n");
        writeWrong(21, "0002\r\n");
        start();
        const auto before = records();
        std::vector<BoxSeen> boxes;
        {
            testsupport::ScopedReadFailure failure(ksdataPath(unreadable));
            openTab(30);
            script(fortyPicks(kSampleCounts));
            boxes = answerAll([this] { home().ClickBotn_Click(21); });
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "保存记录");
        EXPECT_EQ(boxes[0].prompt, "\r\n\r\n试卷记录未能保存，\r\n本次随机试卷没有开始。");
        expectNothingStarted();
        EXPECT_EQ(records(), before);
        EXPECT_EQ(h->reportsWith("errsub=clickbotn&errno=75&").size(), 1u);
    }
}

// ---- the starts ----

struct StartCase {
    const char* name;
    int tab;
    int button;
    int listMode, listBase;
    int samplePaper;
    friend void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }
};

class Start : public Papers, public ::testing::WithParamInterface<StartCase> {};

TEST_P(Start, OpensTheLoginOnThePapersSet) {
    const StartCase& c = GetParam();
    writePaperCount(20);
    writeRandomPapers(10);
    // A random paper's line is taken trimmed.
    std::string papers = *record("288891.mxy");
    writeRecord("288891.mxy", "  " + papers.replace(papers.find("\r\n"), 2, "   \r\n"));
    start();
    openTab(c.tab);
    click(c.button);
    expectExamStarted(c.button - 70, c.listMode, c.listBase, samplePapers()[static_cast<std::size_t>(c.samplePaper)]);
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(Home, Start,
                         ::testing::Values(StartCase{"fixed_paper_0", 28, 70, 0, 0, 0},
                                           StartCase{"fixed_paper_19", 29, 89, 0, 19, 4},
                                           StartCase{"newest_random_paper", 31, 90, 8, 11, 0},
                                           StartCase{"tenth_random_paper", 31, 99, 8, 11, 4}),
                         [](const ::testing::TestParamInfo<StartCase>& i) { return std::string(i.param.name); });

TEST_F(Papers, AStartWithoutFortyWholeCodesIsRefused) {
    const std::string paper = samplePapers()[1];
    struct Case {
        const char* name;
        std::string line;  // fixed paper 1, line 4 of the catalogue; none: the line is missing
        bool present;
    };
    for (const Case& c : {Case{"line missing", "", false}, Case{"39 codes", paper.substr(0, 156), true},
                          Case{"40 codes and a part", paper + "01", true}, Case{"blank", "    ", true}}) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines{"0512", kSampleCountsLine, samplePapers()[0]};
        if (c.present) lines.push_back(c.line);
        writeCatalogue(lines);
        start();
        openTab(28);
        const BoxSeen box = clickAnswering(71, Confirm);
        EXPECT_EQ(box.title, "题库错误");
        expectNothingStarted();
    }
    // A random slot past the papers drawn has no line either.
    writeRandomPapers(2);
    start();
    const BoxSeen box = runAnswering([this] { h->p().frmFengmian().ClickBotn_Click(92); }, Confirm);
    EXPECT_EQ(box.title, "题库错误");
    expectNothingStarted();
}

// ---- the review ----

TEST_F(Papers, ReviewOfAPapersWrongQuestions) {
    const std::string five = samplePapers()[2].substr(0, 20);
    struct Case {
        const char* name;
        std::optional<std::string> file;
    };
    for (const Case& c : {Case{"missing", std::nullopt}, Case{"empty", ""}, Case{"blank", "    \r\n" + five + "\r\n"},
                          Case{"22 characters", "  " + five + "00 \r\n"}}) {
        SCOPED_TRACE(c.name);
        if (c.file) writeWrong(2, *c.file);
        start();
        openTab(29);
        const BoxSeen box = clickAnswering(home().LblShiJuanCCC(2), Confirm);
        if (c.file && c.file->find(five) == 2) {
            EXPECT_FALSE(box.opened);
            EXPECT_FALSE(h->isLoaded("FrmFengmian"));
            EXPECT_TRUE(h->isLoaded("FrmTm"));
            EXPECT_FALSE(h->isLoaded("FrmLogon"));
            EXPECT_EQ(g().ListMode, 2);
            EXPECT_EQ(g().ListBase, 17);
            EXPECT_EQ(g().PaperSlot, 2);
            EXPECT_EQ(g().InteractionMode, 2);
            EXPECT_EQ(g().QuestionCount, 5);
            EXPECT_EQ(g().StepsFilePath, qz::QuestionSet{19}.stepsPath(folder.dataDir()));
            for (int i = 1; i <= 5; ++i) {
                EXPECT_EQ(qz::QuestionCode{g().QuestionCodes[static_cast<std::size_t>(i)]}.text(),
                          five.substr(4 * (i - 1), 4));
                EXPECT_EQ(g().DoneBefore[static_cast<std::size_t>(i)], "F");
            }
        } else {
            EXPECT_EQ(box.title, "没有生成错题");
            EXPECT_EQ(box.icon, "l20071");
            EXPECT_EQ(box.prompt,
                      "\r\n\r\n\r\n你可能是还没有做本套试题，或者上次得分为0。\r\n请点“开始考试”做本套试题。");
            expectNothingStarted();
        }
        EXPECT_TRUE(h->reports().empty());
    }
}

// ---- the deletion ----

struct DeletionCase {
    const char* name;
    int papers;  // listed before
    int slot;
    std::vector<int> missingWrong;  // slots without a wrong-questions file
    std::vector<int> papersAfter;   // sample paper of each line left
    std::map<int, int> moved;       // slot: whose wrong questions and record it then holds
    friend void PrintTo(const DeletionCase& c, std::ostream* os) { *os << c.name; }
};

class Deletion : public Papers, public ::testing::WithParamInterface<DeletionCase> {
protected:
    void seed(int papers, const std::vector<int>& missingWrong) {
        writeRandomPapers(papers);
        writeHistory(allRecords());
        for (int s = 20; s <= 30; ++s)
            if (std::find(missingWrong.begin(), missingWrong.end(), s) == missingWrong.end()) writeWrong(s, wrongOf(s));
    }
    static std::map<int, HistoryRecord> allRecords() {
        std::map<int, HistoryRecord> out;
        for (int s = 0; s < 30; ++s) out[s] = recordOf(s);
        return out;
    }
    static std::string wrongOf(int s) { return "00" + twoDigits(s) + "\r\n"; }
};

TEST_P(Deletion, MovesThePapersAfterItUpAndRebuilds) {
    const DeletionCase& c = GetParam();
    seed(c.papers, c.missingWrong);
    start();
    openTab(31);
    qz::FrmFengmian& screen = home();
    const BoxSeen box = clickAnswering(screen.LblShiJuanDel(c.slot), Confirm);
    EXPECT_EQ(box.title, "删除试卷");
    EXPECT_EQ(box.icon, "l20071");
    EXPECT_EQ(box.prompt, "\r\n\r\n\r\n您确实要删除本套随机试题吗？");

    std::vector<std::string> lines;
    for (int k : c.papersAfter) lines.push_back(samplePapers()[static_cast<std::size_t>(k)]);
    lines.emplace_back();
    EXPECT_EQ(papersBytes(), crlf(lines));
    std::map<int, HistoryRecord> history = allRecords();
    for (const auto& [slot, from] : c.moved) history[slot] = recordOf(from);
    EXPECT_EQ(historyBytes(), historyFile(history));
    for (int s = 20; s <= 30; ++s) {
        const auto moved = c.moved.find(s);
        const int from = moved == c.moved.end() ? s : moved->second;
        const bool gone = std::find(c.missingWrong.begin(), c.missingWrong.end(), from) != c.missingWrong.end();
        EXPECT_EQ(wrongBytes(s), gone ? (from == s ? "(missing)" : "\r\n") : wrongOf(from)) << s;
    }

    // Rebuilt in place: the section stays open, on its first tab, listing one paper less.
    EXPECT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_TRUE(screen.PicKaCH.visible());
    EXPECT_FALSE(screen.ClickBotn(28).Enabled());
    EXPECT_EQ(screen.RandomPaperCount, c.papers - 1);
    EXPECT_EQ(screen.LblShiJuanTime(c.slot).caption(),
              "最后考试时间：" + recordOf(c.moved.count(c.slot) ? c.slot + 1 : c.slot).time.substr(0, 16));
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Home, Deletion,
    ::testing::Values(
        DeletionCase{"newest_of_three", 3, 20, {}, {1, 2}, {{20, 21}, {21, 22}}},
        DeletionCase{
            "middle_of_ten", 10, 25, {}, {0, 1, 2, 3, 4, 1, 2, 3, 4}, {{25, 26}, {26, 27}, {27, 28}, {28, 29}}},
        DeletionCase{"only_paper", 1, 20, {}, {}, {}},
        DeletionCase{"source_file_missing", 3, 20, {22}, {1, 2}, {{20, 21}, {21, 22}}}),
    [](const ::testing::TestParamInfo<DeletionCase>& i) { return std::string(i.param.name); });

TEST_F(Papers, DeletionChangesNothingUnlessConfirmedOnAListedRandomPaper) {
    writeRandomPapers(3);
    writeHistory({{20, recordOf(20)}});
    writeWrong(20, "0001\r\n");
    start();
    const auto before = records();
    openTab(31);
    // Cancelled.
    EXPECT_TRUE(clickAnswering(home().LblShiJuanDel(21), Cancel).opened);
    EXPECT_EQ(records(), before);
    // A fixed paper's row, and a random slot past those listed: no question at all.
    openTab(29);
    EXPECT_FALSE(clickAnswering(home().LblShiJuanDel(2), Confirm).opened);
    for (int slot : {23, 29, 19, 30}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(runAnswering([this, slot] { home().LblShiJuanDel_Click(slot); }, Confirm).opened);
    }
    EXPECT_EQ(records(), before);
    EXPECT_EQ(home().RandomPaperCount, 3);
}

TEST_F(Papers, DeletionLeavesAnUnreadableRecordAlone) {
    for (const char* unreadable : {"288892.mxy", "182421.mxy"}) {
        SCOPED_TRACE(unreadable);
        writeRandomPapers(3);
        writeHistory({{21, recordOf(21)}});
        writeWrong(21, "0001\r\n");
        start();
        const auto before = records();
        std::vector<BoxSeen> boxes;
        {
            testsupport::ScopedReadFailure failure(ksdataPath(unreadable));
            openTab(31);
            boxes = answerAll([this] { home().LblShiJuanDel_Click(20); });
        }
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].title, "保存记录");
        EXPECT_EQ(boxes[1].prompt, "\r\n\r\n试卷记录未能保存，\r\n删除没有完成。");
        EXPECT_EQ(records(), before);
        EXPECT_EQ(h->reportsWith("errsub=lblshijuandel&errno=75&").size(), 1u);
        EXPECT_EQ(home().RandomPaperCount, 3);
    }
}

// ---- failing writes ----

// An action whose every write in turn fails, at both points of the replace: each record is
// then as it was or as the action makes it, nothing starts, the learner is told, and the next
// build lists what the papers file holds without a report.
void failEachWrite(const std::function<void(PaperRun&)>& seed,
                   const std::function<std::vector<BoxSeen>(PaperRun&)>& act,
                   const std::function<bool(PaperRun&, const std::vector<BoxSeen>&)>& completed) {
    std::map<std::string, std::optional<std::string>> before, after;
    {
        PaperRun r;
        seed(r);
        for (const std::string& name : recordNames()) before[name] = r.record(name);
        r.start();
        ASSERT_TRUE(completed(r, act(r)));
        for (const std::string& name : recordNames()) after[name] = r.record(name);
    }
    for (auto point : {platform::ReplaceFailure::AfterTemporaryFile, platform::ReplaceFailure::BeforeRename}) {
        for (long nth = 1;; ++nth) {
            SCOPED_TRACE(
                "write " + std::to_string(nth) +
                (point == platform::ReplaceFailure::BeforeRename ? ", before its rename" : ", in its temporary file"));
            ASSERT_LT(nth, 20);
            PaperRun r;
            seed(r);
            r.start();
            std::vector<BoxSeen> boxes;
            {
                testsupport::ScopedReplaceFailure failure(nth, point);
                boxes = act(r);
            }
            for (const std::string& name : recordNames()) {
                const auto now = r.record(name);
                EXPECT_TRUE(now == before[name] || now == after[name]) << name;
            }
            if (completed(r, boxes)) break;
            ASSERT_FALSE(boxes.empty());
            EXPECT_TRUE(boxes.back().title == "保存记录" || boxes.back().title == "题库错误") << boxes.back().title;
            // A paper whose set could not be written is not recorded at all.
            if (boxes.back().title == "题库错误") {
                for (const std::string& name : recordNames()) EXPECT_EQ(r.record(name), before[name]) << name;
            }
            EXPECT_FALSE(r.h->isLoaded("FrmLogon"));
            r.run();
            const auto papers = qz::readRandomPapers(qz::RecordOverlay(), r.ksdataPath("288891.mxy"));
            ASSERT_TRUE(papers);
            EXPECT_EQ(r.home().RandomPaperCount, static_cast<int>(papers->size()));
            EXPECT_TRUE(r.h->reports().empty());
        }
    }
}

TEST(PaperFaults, EveryWriteOfTheDrawFailing) {
    failEachWrite(
        [](PaperRun& r) {
            r.writeRandomPapers(3);
            r.writeHistory({{20, recordOf(20)}, {21, recordOf(21)}});
            for (int s = 20; s <= 22; ++s) r.writeWrong(s, "00" + twoDigits(s) + "\r\n");
        },
        [](PaperRun& r) {
            for (const Pick& p : fortyPicks(kSampleCounts)) {
                r.h->random.values.push_back((p.index + 0.5) / 1000);
                r.h->random.values.push_back((p.question - 0.5) / 1000);
            }
            return r.answerAll([&r] { r.home().ClickBotn_Click(21); });
        },
        [](PaperRun& r, const std::vector<BoxSeen>&) { return r.h->isLoaded("FrmLogon"); });
}

TEST(PaperFaults, EveryWriteOfTheDeletionFailing) {
    failEachWrite(
        [](PaperRun& r) {
            r.writeRandomPapers(4);
            std::map<int, HistoryRecord> history;
            for (int s = 18; s <= 24; ++s) history[s] = recordOf(s);
            r.writeHistory(history);
            for (int s = 20; s <= 23; ++s) r.writeWrong(s, "00" + twoDigits(s) + "\r\n");
        },
        [](PaperRun& r) { return r.answerAll([&r] { r.home().LblShiJuanDel_Click(21); }); },
        // Only the confirmation was asked.
        [](PaperRun&, const std::vector<BoxSeen>& boxes) { return boxes.size() == 1; });
}

}  // namespace
}  // namespace hometest
