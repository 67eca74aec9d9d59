// The mock-exam road end to end, headless, on the sample module: from the home screen's paper
// section through the login, the exam and its hand-in to the score report and its buttons,
// with the learner's record files checked byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "demo/frmYanShi.h"
#include "home/FrmFengmian.h"
#include "platform/textfile.h"
#include "session/FrmCZTS.h"
#include "session/FrmChengji.h"
#include "session/FrmEnd1.h"
#include "session/FrmEnd2.h"
#include "session/FrmLogon.h"
#include "session/FrmPicture.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/paper_fixture.h"
#include "tests/road/question_steps.h"

namespace {

using hometest::BoxSeen;
using hometest::historyFile;
using hometest::twoDigits;
using testsupport::crlf;
namespace vk = forms::vk;

constexpr std::int64_t Minute = 60000;
const char* const Warning = "您还有题目未做或仍处于标识状态！\r\n\r\n您是否确定交卷?";

class ExamRoad : public ::testing::Test, public hometest::PaperRun {
protected:
    headless::HeadlessHost& host() { return h->host; }
    qz::Program& p() { return h->p(); }
    // The panel of the exam under way; never loads one.
    qz::FrmTm& panel() {
        qz::FrmTm* tm = p().loadedFrmTm();
        EXPECT_NE(tm, nullptr);
        return *tm;
    }
    qz::FrmChengji& report() {
        qz::FrmChengji* r = p().loadedFrmChengji();
        EXPECT_NE(r, nullptr);
        return *r;
    }
    // Steps worked under the exam's clock, which must never be waited for.
    roadtest::QuestionSteps steps() { return roadtest::QuestionSteps(*h, 1000); }
    void settle() { host().runUntilIdle(1000); }
    // A window that opens under the pointer keeps the hover of the skin button there alive
    // for as long as it stays; the learner's pointer moves on.
    void pointerAway() { host().moveTo(forms::Point{0, 0}); }

    std::string paperLine(int paper) { return samplePapers()[static_cast<std::size_t>(paper)]; }
    static std::string codesOf(const std::string& line, int from, int to) {
        return line.substr(static_cast<std::size_t>(4 * (from - 1)), static_cast<std::size_t>(4 * (to - from + 1)));
    }

    // The paper section's start button of a slot, on its tab.
    qz::FrmLogon& startFromHome(int tab, int slot) {
        click(5);
        click(tab);
        click(70 + slot);
        EXPECT_FALSE(h->isLoaded("FrmFengmian"));
        EXPECT_TRUE(h->isLoaded("FrmLogon"));
        return p().frmLogon();
    }
    // The log-in button, then the bar up to the exam's first question.
    void logIn() {
        host().click(p().frmLogon().CmdLog);
        host().runFor(1500);
        EXPECT_FALSE(h->isLoaded("FrmLogon"));
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        loadedAt = panel().TimeKS.due - Minute;
    }
    // Clicks a control on screen now, then runs the next stage as the following script step.
    void clickThen(const forms::Control& c, std::function<void()> next) {
        host().click(c);
        host().then(std::move(next));
    }
    // Both dialogs confirmed, from the first one open now.
    void confirmBoth() {
        ASSERT_NE(p().loadedFrmEnd1(), nullptr);
        clickThen(p().loadedFrmEnd1()->Command1, [this] {
            ASSERT_NE(p().loadedFrmEnd2(), nullptr);
            clickThen(p().loadedFrmEnd2()->Command1, [this] { pointerAway(); });
        });
    }
    // The panel's hand-in button and both dialogs confirmed.
    void handIn() {
        clickThen(panel().CmdGN(8), [this] { confirmBoth(); });
        settle();
        ASSERT_TRUE(h->isLoaded("FrmChengji"));
    }
    // The next entry by the panel's own button.
    void next() {
        host().click(panel().CmdGN(1));
        settle();
    }

    void writeFavourites(const std::string& codes, const std::string& flags) {
        writeRecord("288862.mxy", codes + "\r\n");
        writeRecord("288872.mxy", flags + "\r\n");
    }
    std::string bytes(const std::string& name) const { return record(name).value_or("(missing)"); }
    // Every learner record by name.
    std::map<std::string, std::string> records() const {
        std::map<std::string, std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder.ksdata()))
            out[e.path().filename().string()] = testsupport::readFileBytes(e.path().string());
        return out;
    }
    // A one-line record as written: the line and CR LF.
    static std::string line(const std::string& text) { return text + "\r\n"; }

    // The generator gives these codes, in order, as the draw's pairs of numbers.
    void scriptDraw(const std::vector<std::string>& codes) {
        for (const std::string& c : codes) {
            h->random.values.push_back((std::stoi(c.substr(0, 2)) + 0.5) / 1000);
            h->random.values.push_back((std::stoi(c.substr(2, 2)) - 0.5) / 1000);
        }
    }
    // A random paper of the sample's units: these codes first, then each unit's questions from
    // unit 1 on, to 40.
    static std::vector<std::string> drawnPaper(std::vector<std::string> first) {
        const std::string& counts = hometest::kSampleCountsLine;
        for (std::size_t u = 1; 2 * u < counts.size(); ++u) {
            const int n = std::stoi(counts.substr(2 * u, 2));
            for (int q = 1; q <= n && first.size() < 40; ++q) {
                const std::string c = twoDigits(static_cast<int>(u)) + twoDigits(q);
                if (std::find(first.begin(), first.end(), c) == first.end()) first.push_back(c);
            }
        }
        return first;
    }
    static std::string joined(const std::vector<std::string>& codes, std::size_t from = 0) {
        std::string out;
        for (std::size_t i = from; i < codes.size(); ++i) out += codes[i];
        return out;
    }

    std::int64_t loadedAt = 0;
};

// Fixed paper 0 taken from the home screen: two questions completed, a third marked, the
// hand-in once put off, the report's records, and the paper's row back home.
TEST_F(ExamRoad, FixedPaperZeroFromTheHomeScreenToTheScoreReportAndBack) {
    const std::string paper = paperLine(0);
    ASSERT_EQ(codesOf(paper, 1, 5), "00070009001000110012");
    // A favourite in the paper (entry 5) and one outside it; an earlier exam of paper 0 with a
    // lower score and one of paper 1 that stays as it is.
    writeFavourites("02010012", "TF");
    writeHistory({{0, {"2026-11-01 08:00:00", "2.5"}}, {1, {"2026-11-02 08:00:00", "72.5"}}});
    run();
    h->now = {2026, 12, 10, 9, 0, 0};

    // 1. The login: the seat and a 16-digit ID typed, the confirmation page, the bar.
    qz::FrmLogon& logon = startFromHome(28, 0);
    EXPECT_EQ(g().PaperSlot, 0);
    EXPECT_EQ(g().ListMode, 0);
    host().key(vk::End);
    host().key(vk::Back, 0, "\b");
    host().key(vk::Back, 0, "\b");
    host().type("7");
    host().key(vk::Tab, 0, "\t");
    host().key(vk::End);
    for (int i = 0; i < 18; ++i) host().key(vk::Back, 0, "\b");
    host().type("1234567890123456");
    host().runFor(100);
    EXPECT_EQ(logon.TxtZwh.text(), "7");
    EXPECT_EQ(logon.TxtSFZ.text(), "1234567890123456");
    const std::string id = std::string(qz::FrmLogon::FillIdNo).substr(16) + "1234567890123456";
    host().click(logon.CmdLog);
    host().then([&] {
        EXPECT_TRUE(logon.Picture2.visible());
        EXPECT_EQ(logon.LblZwh.caption(), "07");
        EXPECT_EQ(logon.LblSfz.caption(), id);
        EXPECT_EQ(logon.LblDate.caption(), "2026年12月10日");
        // The exam starts when the bar is full, a moment after the log-in.
        h->now = {2026, 12, 10, 9, 0, 1};
    });
    host().runFor(1500);
    ASSERT_FALSE(h->isLoaded("FrmLogon"));
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    loadedAt = panel().TimeKS.due - Minute;
    EXPECT_EQ(g().ExamStartTime, "2026-12-10 09:00:01");
    EXPECT_EQ(g().ExamineeSeat, "07");
    EXPECT_EQ(g().ExamineeIdNo, id);
    EXPECT_EQ(panel().KsZWH1.caption(), "07");
    EXPECT_EQ(panel().KsSFZ1.caption(), id);
    EXPECT_TRUE(panel().TimeKS.timerEnabled());
    EXPECT_EQ(panel().LblTime.caption(), "剩余50分钟");
    // The favourite starts marked.
    EXPECT_EQ(g().QuestionState[5], 2);

    // 2. Two questions completed as their steps expect, the third marked.
    for (int q = 1; q <= 3; ++q) {
        SCOPED_TRACE("question " + std::to_string(q));
        if (q > 1) next();
        EXPECT_EQ(g().CurrentQuestion, q);
        if (q < 3) steps().workQuestion();
    }
    host().click(panel().CmdGN(3));
    settle();
    EXPECT_EQ(g().QuestionState[1], 5);
    EXPECT_EQ(g().QuestionState[2], 5);
    EXPECT_EQ(g().QuestionState[3], 3);
    EXPECT_LT(host().nowMs(), loadedAt + Minute);

    // 3. Handed in, then back to the exam; handed in again through both dialogs. The history
    // takes the exam's start, not the hand-in's time.
    h->now = {2026, 12, 10, 9, 0, 50};
    clickThen(panel().CmdGN(8), [&] {
        EXPECT_FALSE(panel().visible());
        ASSERT_NE(p().loadedFrmEnd1(), nullptr);
        EXPECT_EQ(p().loadedFrmEnd1()->Label1.caption(), Warning);
        clickThen(p().loadedFrmEnd1()->Command2, [&] {
            EXPECT_EQ(p().loadedFrmEnd1(), nullptr);
            EXPECT_TRUE(panel().visible());
            qz::FrmMain& m = p().frmMain();
            EXPECT_EQ(panel().left(), m.left() + m.width() - panel().width());
            EXPECT_EQ(panel().top(), m.top() + m.height() - panel().height());
            clickThen(panel().CmdGN(8), [&] {
                ASSERT_NE(p().loadedFrmEnd1(), nullptr);
                EXPECT_EQ(p().loadedFrmEnd1()->Label1.caption(), Warning);
                confirmBoth();
            });
        });
    });
    settle();

    // 4. The report and its records.
    ASSERT_TRUE(h->isLoaded("FrmChengji"));
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    EXPECT_FALSE(h->isLoaded("FrmEnd1"));
    EXPECT_FALSE(h->isLoaded("FrmEnd2"));
    EXPECT_TRUE(report().visible());
    EXPECT_EQ(report().Label1.caption(), "第1套得分：5分");
    const std::string wrong = codesOf(paper, 3, 40);
    // 31 records and an empty line; the 30 the home screen wrote ended on an empty line, which
    // reads as slot 30's time.
    EXPECT_EQ(
        bytes("288892.mxy"),
        historyFile({{0, {"2026-12-10 09:00:01", "5"}}, {1, {"2026-11-02 08:00:00", "72.5"}}, {30, {"", "0"}}}, 31));
    EXPECT_EQ(platform::readRawLines(ksdataPath("288892.mxy")).size(), 94u);
    EXPECT_EQ(bytes("182400.mxy"), line(wrong));
    EXPECT_EQ(bytes("288863.mxy"), line(wrong));
    EXPECT_EQ(bytes("288873.mxy"), line(std::string(38, 'F')));
    // The question marked joins the favourites; the favourite in the paper stays listed once.
    EXPECT_EQ(bytes("288862.mxy"), line("020100120010"));
    EXPECT_EQ(bytes("288872.mxy"), line("TFF"));
    EXPECT_EQ(g().ExamStartTime, "-1");

    // 5. Home: the paper section shows the exam on paper 0's row.
    host().click(report().Command2);
    pointerAway();
    host().runUntilIdle();
    ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_FALSE(h->isLoaded("FrmChengji"));
    qz::FrmFengmian& f = home();
    EXPECT_TRUE(f.PicKaCH.visible());
    EXPECT_TRUE(f.ImgShiJuan(0).visible());
    EXPECT_EQ(f.LblShiJuanTime(0).caption(), "最后考试时间：2026-12-10 09:00");
    EXPECT_EQ(f.LblShiJuanScore(0).caption(), "5");
    EXPECT_EQ(f.LblShiJuanCuoTi(0).caption(), "(38)");
    EXPECT_EQ(f.LblShiJuanTime(1).caption(), "最后考试时间：2026-11-02 08:00");
    EXPECT_EQ(f.LblShiJuanScore(1).caption(), "72.5");
    EXPECT_EQ(f.LblShiJuanCuoTi(1).caption(), "(0)");
    EXPECT_TRUE(h->reports().empty());
}

// A random paper drawn on the home screen and timed out: the draw's records, the exam's, and
// the redo of its wrong questions, whose end takes the one completed off the paper's list.
TEST_F(ExamRoad, ARandomPaperDrawnTimedOutAndItsWrongQuestionsRedone) {
    // One paper drawn before, with its exam and wrong questions; a code already wrong.
    writeRandomPapers(1);
    writeHistory({{20, {"2026-11-05 10:00:00", "45"}}});
    writeWrong(20, "00070009\r\n");
    writeFavourites("02010012", "TF");
    writeRecord("288863.mxy", line("0012"));
    writeRecord("288873.mxy", line("T"));
    run();
    h->now = {2026, 12, 11, 10, 0, 0};

    // The favourites 0201 and 0012 among the codes; 0001 comes up again and is drawn afresh.
    const std::vector<std::string> codes = drawnPaper({"0001", "0201", "0012"});
    ASSERT_EQ(codes.size(), 40u);
    std::vector<std::string> draws = codes;
    draws.insert(draws.begin() + 3, "0001");
    scriptDraw(draws);
    click(5);
    click(30);
    click(21);
    ASSERT_TRUE(h->isLoaded("FrmLogon"));
    EXPECT_EQ(g().PaperSlot, 20);
    EXPECT_EQ(g().ListMode, 8);
    EXPECT_TRUE(h->random.values.empty());
    const std::string paper = joined(codes);
    const std::string older = samplePapers()[0];
    EXPECT_EQ(bytes("288891.mxy"), crlf({paper, older, "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(bytes("182420.mxy"), "\r\n");
    EXPECT_EQ(bytes("182421.mxy"), "00070009\r\n");
    EXPECT_EQ(bytes("288892.mxy"),
              historyFile({{20, {"2026-12-11 10:00:00", "0"}}, {21, {"2026-11-05 10:00:00", "45"}}}));

    // Logged in a little later; the time runs out while the learner does nothing.
    h->now = {2026, 12, 11, 10, 0, 30};
    logIn();
    EXPECT_EQ(g().ExamStartTime, "2026-12-11 10:00:30");
    host().answerMessageBox(forms::mb::ResultOk);
    host().pause(static_cast<int>(loadedAt + 50 * Minute - 500 - host().nowMs()));
    host().then([&] {
        EXPECT_TRUE(host().messageBoxes.empty());
        EXPECT_EQ(panel().LblTime.caption(), "剩余2分钟");
        host().pause(1000);
        host().then([&] {
            EXPECT_EQ(panel().LblTime.caption(), "剩余1分钟");
            EXPECT_EQ(g().ExamMinutesLeft, 0);
            ASSERT_EQ(host().messageBoxes.size(), 1u);
            EXPECT_EQ(host().messageBoxes[0].prompt, "时间已到，自动交卷！");
            ASSERT_NE(p().loadedFrmEnd1(), nullptr);
            EXPECT_EQ(p().loadedFrmEnd1()->Label1.caption(), Warning);
            confirmBoth();
        });
    });
    settle();

    ASSERT_TRUE(h->isLoaded("FrmChengji"));
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_EQ(report().Label1.caption(), "随机题得分：0分");
    EXPECT_EQ(
        bytes("288892.mxy"),
        historyFile({{20, {"2026-12-11 10:00:30", "0"}}, {21, {"2026-11-05 10:00:00", "45"}}, {30, {"", "0"}}}, 31));
    EXPECT_EQ(bytes("182420.mxy"), line(paper));
    EXPECT_EQ(bytes("182421.mxy"), "00070009\r\n");
    // 0012 was wrong already: the other 39 join it, unreviewed.
    std::vector<std::string> others = codes;
    others.erase(others.begin() + 2);
    EXPECT_EQ(bytes("288863.mxy"), line("0012" + joined(others)));
    EXPECT_EQ(bytes("288873.mxy"), line("T" + std::string(39, 'F')));
    EXPECT_EQ(bytes("288862.mxy"), line("02010012"));
    EXPECT_EQ(bytes("288872.mxy"), line("TF"));

    // The wrong questions as practice: all 40, the favourites marked, question 1 first.
    host().click(report().Command3);
    pointerAway();
    settle();
    ASSERT_FALSE(h->isLoaded("FrmChengji"));
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_EQ(g().ListMode, 2);
    EXPECT_EQ(g().PaperSlot, 20);
    EXPECT_EQ(g().QuestionCount, 40);
    EXPECT_EQ(g().CurrentQuestion, 1);
    EXPECT_FALSE(panel().TimeKS.timerEnabled());
    EXPECT_TRUE(panel().PicUnit.visible());
    EXPECT_TRUE(panel().CmTNO(40).visible());
    for (int i = 1; i <= 40; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        EXPECT_EQ(qz::QuestionCode{g().QuestionCodes[k]}.text(), codes[k - 1]) << i;
        EXPECT_EQ(g().QuestionState[k], (i == 2 || i == 3 ? 2 : 0) + (i == 1 ? 1 : 0)) << i;
    }
    steps().workQuestion();
    EXPECT_EQ(g().QuestionState[1], 5);

    // Ended, and the completed question taken off the paper's list.
    host().answerMessageBox(forms::mb::ResultYes);
    host().click(panel().CmdGN(5));
    pointerAway();
    host().runUntilIdle();
    ASSERT_EQ(host().messageBoxes.size(), 2u);
    EXPECT_EQ(host().messageBoxes[1].flags & forms::mb::YesNo, forms::mb::YesNo);
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_EQ(bytes("182420.mxy"), line(joined(codes, 1)));
    EXPECT_EQ(bytes("288862.mxy"), line("02010012"));
    EXPECT_EQ(bytes("288872.mxy"), line("TF"));
    EXPECT_EQ(bytes("288863.mxy"), line("0012" + joined(others)));

    // The random tab shows both papers as their records now stand.
    qz::FrmFengmian& f = home();
    click(5);
    click(31);
    EXPECT_EQ(f.LblShiJuanTime(20).caption(), "最后考试时间：2026-12-11 10:00");
    EXPECT_EQ(f.LblShiJuanScore(20).caption(), "0");
    EXPECT_EQ(f.LblShiJuanCuoTi(20).caption(), "(39)");
    EXPECT_EQ(f.LblShiJuanTime(21).caption(), "最后考试时间：2026-11-05 10:00");
    EXPECT_EQ(f.LblShiJuanScore(21).caption(), "45");
    EXPECT_EQ(f.LblShiJuanCuoTi(21).caption(), "(2)");
    EXPECT_TRUE(h->reports().empty());
}

// Fixed paper 1 handed in at once, then worked again as practice: no clock, and its end goes
// back to the cover without opening a section.
TEST_F(ExamRoad, FixedPaperOneHandedInThenRedoneAsPractice) {
    const std::string paper = paperLine(1);
    ASSERT_EQ(codesOf(paper, 2, 2), "0002");
    writeFavourites("0002", "F");
    run();
    startFromHome(28, 1);
    logIn();
    handIn();
    EXPECT_EQ(report().Label1.caption(), "第2套得分：0分");
    const std::string history = historyFile({{1, {"2026-12-10 09:30:00", "0"}}}, 31);
    EXPECT_EQ(bytes("288892.mxy"), history);
    EXPECT_EQ(bytes("182401.mxy"), line(paper));
    EXPECT_EQ(bytes("288862.mxy"), line("0002"));

    const auto recorded = records();
    host().click(report().Command1);
    pointerAway();
    settle();
    ASSERT_FALSE(h->isLoaded("FrmChengji"));
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    qz::FrmTm& practice = panel();
    EXPECT_TRUE(practice.visible());
    EXPECT_EQ(g().ListMode, 0);
    EXPECT_EQ(g().PaperSlot, 1);
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_EQ(g().CurrentQuestion, 1);
    EXPECT_TRUE(practice.PicUnit.visible());
    for (int k : {5, 6, 7}) EXPECT_TRUE(practice.CmdGN(k).visible()) << k;
    for (int k : {8, 9, 10}) EXPECT_FALSE(practice.CmdGN(k).visible()) << k;
    EXPECT_FALSE(practice.TimeKS.timerEnabled());
    // The favourite keeps its mark from the exam.
    EXPECT_EQ(g().QuestionState[2], 2);
    host().runFor(61000);
    EXPECT_EQ(practice.LblTime.caption(), "剩余50分钟");
    EXPECT_EQ(g().ExamMinutesLeft, 50);
    EXPECT_TRUE(host().messageBoxes.empty());
    steps().workQuestion();
    EXPECT_EQ(g().QuestionState[1], 5);
    EXPECT_TRUE(p().frmMain().LblSuccess.visible());

    host().click(practice.CmdGN(5));
    pointerAway();
    host().runUntilIdle();
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    qz::FrmFengmian& f = home();
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(g().ReturnButton, 0);
    EXPECT_FALSE(f.TimFH.timerEnabled());
    for (const forms::PictureBox* panel : {&f.PicTOP, &f.PicTiKu, &f.PicKaCH, &f.PicBiaoZhi, &f.PicCuoTi, &f.PicHelp})
        EXPECT_FALSE(panel->visible()) << panel->name();
    EXPECT_TRUE(host().messageBoxes.empty());
    // The practice of a paper writes only the favourites, which it leaves as they were; the
    // question completed in it is no exam's.
    EXPECT_EQ(records(), recorded);
    EXPECT_EQ(bytes("288872.mxy"), line("F"));
    EXPECT_TRUE(h->reports().empty());
}

// A draw whose login is left keeps its records; the paper it drew is then deleted.
TEST_F(ExamRoad, ALoginLeftKeepsTheDrawAndADeletionTakesThePaperOut) {
    writeRandomPapers(1);
    writeHistory({{20, {"2026-11-05 10:00:00", "45"}}});
    writeWrong(20, "00070009\r\n");
    run();
    const std::vector<std::string> codes = drawnPaper({});
    scriptDraw(codes);
    click(5);
    click(30);
    click(21);
    qz::FrmLogon& logon = p().frmLogon();
    host().answerMessageBox(forms::mb::ResultYes);
    host().click(logon.CmdExit);
    host().runUntilIdle();
    ASSERT_EQ(host().messageBoxes.size(), 1u);
    EXPECT_EQ(host().messageBoxes[0].prompt, "确实要退出考试系统吗？");
    EXPECT_FALSE(h->isLoaded("FrmLogon"));
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    qz::FrmFengmian& f = home();
    EXPECT_TRUE(f.visible());
    const std::string older = samplePapers()[0];
    EXPECT_EQ(bytes("288891.mxy"), crlf({joined(codes), older, "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(bytes("288892.mxy"),
              historyFile({{20, {"2026-12-10 09:30:00", "0"}}, {21, {"2026-11-05 10:00:00", "45"}}}));
    EXPECT_EQ(bytes("182420.mxy"), "\r\n");
    EXPECT_EQ(bytes("182421.mxy"), "00070009\r\n");

    // Both papers listed; the one just drawn goes, and the older one is slot 20 again.
    click(5);
    click(31);
    EXPECT_TRUE(f.ImgShiJuan(20).visible());
    EXPECT_TRUE(f.ImgShiJuan(21).visible());
    EXPECT_FALSE(f.ImgShiJuan(22).visible());
    const BoxSeen box = clickAnswering(f.LblShiJuanDel(20), hometest::Confirm);
    EXPECT_EQ(box.title, "删除试卷");
    EXPECT_EQ(bytes("288891.mxy"), crlf({older, ""}));
    EXPECT_EQ(bytes("288892.mxy"),
              historyFile({{20, {"2026-11-05 10:00:00", "45"}}, {21, {"2026-11-05 10:00:00", "45"}}}));
    EXPECT_EQ(bytes("182420.mxy"), "00070009\r\n");
    EXPECT_EQ(bytes("182421.mxy"), "00070009\r\n");
    // Rebuilt in place, on the first tab; the older paper's row on the random tab.
    EXPECT_FALSE(f.ClickBotn(28).enabled());
    click(31);
    EXPECT_TRUE(f.ImgShiJuan(20).visible());
    EXPECT_FALSE(f.ImgShiJuan(21).visible());
    EXPECT_EQ(f.LblShiJuanScore(20).caption(), "45");
    EXPECT_EQ(f.LblShiJuanCuoTi(20).caption(), "(2)");
    EXPECT_TRUE(h->reports().empty());
}

// Every fixed paper of the sample can be worked whole in an exam: each question completed as
// its steps expect, handed in without the warning for 100 points and no wrong question left to
// redo. A picture looked at during the exam does not stay over the report.
TEST_F(ExamRoad, EveryFixedPaperOfTheSampleIsWorkedWholeForAHundred) {
    int withPicture = 0;
    for (int paper = 0; paper < 5; ++paper) {
        SCOPED_TRACE("paper " + std::to_string(paper));
        run();
        startFromHome(paper <= 1 ? 28 : 29, paper);
        logIn();
        int pictured = 0;
        for (int q = 1; q <= 40; ++q) {
            SCOPED_TRACE("question " + std::to_string(q));
            if (q > 1) next();
            ASSERT_EQ(g().CurrentQuestion, q);
            if (pictured == 0 && panel().Image2.visible()) pictured = q;
            steps().workQuestion();
            ASSERT_EQ(g().QuestionState[static_cast<std::size_t>(q)], 5);
        }
        if (pictured > 0) {
            ++withPicture;
            host().click(panel().CmdGN(4));
            host().click(panel().CmTNO(pictured));
            host().click(panel().Image2);
            settle();
            ASSERT_NE(p().loadedFrmPicture(), nullptr);
            EXPECT_TRUE(p().loadedFrmPicture()->visible());
        }
        clickThen(panel().CmdGN(8), [&] {
            ASSERT_NE(p().loadedFrmEnd1(), nullptr);
            EXPECT_EQ(p().loadedFrmEnd1()->Label1.caption(), "\r\n您是否确定交卷?");
            confirmBoth();
        });
        settle();
        ASSERT_TRUE(h->isLoaded("FrmChengji"));
        EXPECT_EQ(report().Label1.caption(), "第" + std::to_string(paper + 1) + "套得分：100分");
        EXPECT_EQ(bytes(wrongName(paper)), "\r\n");
        // One run after the other on the same records: every paper so far at 100.
        std::map<int, hometest::HistoryRecord> taken;
        for (int s = 0; s <= paper; ++s) taken[s] = {"2026-12-10 09:30:00", "100"};
        EXPECT_EQ(bytes("288892.mxy"), historyFile(taken, 31));
        EXPECT_EQ(bytes("288863.mxy"), "\r\n");
        if (const qz::FrmPicture* picture = p().loadedFrmPicture()) {
            EXPECT_FALSE(picture->visible());
        }
        // The picture question's task is its text after the picture's id.
        if (pictured > 0) {
            host().click(report().CmTNO(pictured));
            settle();
            const std::string task = report().LblTiMuYQ.caption();
            const std::string number = "第" + std::to_string(pictured) + "题： ";
            EXPECT_TRUE(task.starts_with(number)) << task;
            EXPECT_GT(task.size(), number.size()) << task;
            EXPECT_EQ(task.find("picture"), std::string::npos) << task;
        }
        const BoxSeen box = clickAnswering(report().Command3, hometest::Confirm);
        EXPECT_EQ(box.title, "没有生成错题");
        EXPECT_TRUE(h->isLoaded("FrmChengji"));
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_TRUE(h->reports().empty());
    }
    EXPECT_GE(withPicture, 1);
}

// The tips dialog of an exam: No keeps it open and its text closes it, the exam unchanged;
// then the answer at once: the demonstration plays, and the question goes on in practice at
// the step the learner had reached, with the countdown as it was.
TEST_F(ExamRoad, TheTipsDialogShowsTheAnswerAndThePaperGoesOnAsPractice) {
    // A button without its strip has nothing to click: four frames of 1920 x 450 where the
    // module has none.
    for (const char* id : {"l01038", "l01039"})
        if (!platform::fileExists(folder.dataFile(std::string(id) + ".mxy"))) folder.writePicture(id, 512, 30);
    run();
    startFromHome(28, 0);
    logIn();
    roadtest::QuestionSteps first = steps();
    first.act();  // the first step by hand
    ASSERT_EQ(g().CurrentStep, 2);
    const std::string resumed = first.code();
    qz::FrmTm& tm = panel();
    const std::int64_t due = tm.TimeKS.due;
    ASSERT_TRUE(tm.CmdGN(10).visible());

    clickThen(tm.CmdGN(10), [&] {
        ASSERT_NE(p().loadedFrmCZTS(), nullptr);
        host().answerMessageBox(forms::mb::ResultNo);
        clickThen(p().loadedFrmCZTS()->Command2, [&] {
            ASSERT_EQ(host().messageBoxes.size(), 1u);
            EXPECT_EQ(host().messageBoxes[0].title, "不建议您立即看答案");
            ASSERT_NE(p().loadedFrmCZTS(), nullptr);
            host().click(p().loadedFrmCZTS()->Label2);
        });
    });
    settle();
    EXPECT_EQ(p().loadedFrmCZTS(), nullptr);
    EXPECT_EQ(g().InteractionMode, 3);
    EXPECT_EQ(g().ExamStartTime, "2026-12-10 09:30:00");
    EXPECT_FALSE(h->isLoaded("frmYanShi"));
    EXPECT_TRUE(tm.visible());

    clickThen(tm.CmdGN(10), [&] {
        ASSERT_NE(p().loadedFrmCZTS(), nullptr);
        host().answerMessageBox(forms::mb::ResultYes);
        host().click(p().loadedFrmCZTS()->Command2);
    });
    host().runFor(300);
    EXPECT_EQ(p().loadedFrmCZTS(), nullptr);
    ASSERT_NE(p().loadedFrmYanShi(), nullptr);
    EXPECT_TRUE(p().loadedFrmYanShi()->visible());
    EXPECT_FALSE(tm.visible());
    EXPECT_FALSE(p().frmMain().visible());
    EXPECT_TRUE(g().DemoRunning);
    EXPECT_EQ(g().ExamStartTime, "-1");
    EXPECT_EQ(g().AllowPanelUnload, 0);

    // The player's end, as it hands the question back.
    g().DemoRunning = false;
    p().loadedFrmYanShi()->unload();
    p().frmMain().show();
    tm.TimerREDO.setEnabled(true);
    tm.show();
    pointerAway();
    settle();
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_EQ(g().CurrentStep, 2);
    EXPECT_EQ(first.code(), resumed);
    EXPECT_TRUE(tm.PicUnit.visible());
    for (int k = 5; k <= 10; ++k) EXPECT_EQ(tm.CmdGN(k).visible(), k <= 7) << k;
    EXPECT_TRUE(tm.TimeKS.timerEnabled());
    EXPECT_EQ(tm.TimeKS.due, due);
    EXPECT_EQ(tm.LblTime.caption(), "剩余50分钟");

    // Completed by hand from there, as practice; the clock ticks on.
    first.workQuestion();
    EXPECT_EQ(g().QuestionState[1], 5);
    EXPECT_TRUE(p().frmMain().LblSuccess.visible());
    host().pause(static_cast<int>(due - host().nowMs()) + 100);
    settle();
    EXPECT_EQ(g().ExamMinutesLeft, 49);
    EXPECT_TRUE(h->reports().empty());
}

// After a practice question was shown the picture window stays loaded, hidden. The learner then
// closes the login, or the score report, through the window manager: nothing of the program is
// left on screen, so it ends with its hidden windows, the report's records written before.
TEST_F(ExamRoad, ClosingTheLoginOrTheScoreReportEndsTheProgramWithItsHiddenWindows) {
    for (const bool atReport : {false, true}) {
        SCOPED_TRACE(atReport ? "the score report" : "the login");
        run();
        openUnit(0, 37);
        click(20);
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        host().click(panel().CmdGN(5));
        pointerAway();
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmFengmian"));
        ASSERT_NE(p().loadedFrmPicture(), nullptr);
        EXPECT_FALSE(p().loadedFrmPicture()->visible());

        // The paper section by its tab now that a section is open.
        clicks({17, 28, 70});
        ASSERT_TRUE(h->isLoaded("FrmLogon"));
        forms::Form* last = &p().frmLogon();
        if (atReport) {
            logIn();
            handIn();
            last = &report();
        }
        ASSERT_EQ(p().rt.zOrderedForms(), std::vector<forms::Form*>{last});
        p().rt.postClose(*last);
        host().runUntilIdle();
        EXPECT_TRUE(p().rt.ended());
        EXPECT_EQ(h->loadedForms(), std::vector<std::string>{});
        if (atReport) {
            const std::vector<std::string> history = platform::readLines(ksdataPath("288892.mxy"));
            ASSERT_FALSE(history.empty());
            EXPECT_EQ(history[0], "2026-12-10 09:30:00");
        }
    }
}

}  // namespace
