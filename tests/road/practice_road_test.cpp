// The practice road end to end, headless: from the home screen into unit 0 of the sample
// module, through every question with the actions its steps expect, and wrong actions in
// between that must change nothing.
#include <gtest/gtest.h>

#include "home/FrmFengmian.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"
#include "tests/home/home_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using hometest::HomeRun;
namespace b = forms::buttons;

class PracticeRoad : public ::testing::Test, public HomeRun {
protected:
    PracticeRoad() { folder.installSampleBank(); }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    headless::HeadlessHost& host() { return h->host; }
    std::string code() const { return qz::stepCode(h->p().frmMain().laidOutRecord()); }

    // Starts unit practice on unit 0 with a filter button: 37 all, 38 learned, 39 not learned.
    void launch(int filter) {
        start();
        openUnit(0, filter);
        click(20);
        host().runUntilIdle();
        ASSERT_TRUE(h->isLoaded("FrmMain"));
        ASSERT_TRUE(h->isLoaded("FrmTm"));
        ASSERT_FALSE(h->isLoaded("FrmFengmian"));
    }

    // Actions that no step of the sample expects: they must leave everything as it was.
    void wrongActions() {
        const auto before = std::make_tuple(g().CurrentStep, sim().StepCode, code());
        // A click on the screenshot far from the hot spot, and a key no step uses.
        forms::Point corner{sim().left() + 30, sim().top() + sim().height() - 30};
        host().clickAt(corner);
        host().key(0x7B);  // F12
        host().runUntilIdle();
        EXPECT_EQ(std::make_tuple(g().CurrentStep, sim().StepCode, code()), before);
    }

    // Where the item a menu code names stands in the popup, as the learner finds it: by
    // position among the shown entries, separators counted.
    std::vector<int> popupPath(int menuNumber) {
        qz::FrmMain& m = sim();
        const int value = m.StepCode;
        forms::MenuArray* const arrays[] = {&m.sVtrlSub1, &m.sVtrlInde1, &m.sVtrlSub2, &m.sVtrlInde2, &m.sVtrlSub3,
                                            &m.sVtrlInde3, &m.sVtrlSub4, &m.sVtrlSub5, &m.sVtrlInde4};
        const std::int16_t before = m.MenuNumber;
        m.MenuNumber = static_cast<std::int16_t>(menuNumber);
        m.systemMenu();
        m.MenuNumber = before;
        const forms::MenuItem* target = &(*arrays[(value / 10) % 10 - 1])(value % 10);
        const auto shownBefore = [](const std::vector<forms::MenuItem*>& items, const forms::MenuItem* it) {
            int n = 0;
            for (const forms::MenuItem* e : items) {
                if (e == it) return n;
                if (e->offered()) ++n;
            }
            return -1;
        };
        for (const forms::MenuItem* e : m.wm100.items) {
            if (e == target) return {shownBefore(m.wm100.items, target)};
            const int inner = shownBefore(e->items, target);
            if (inner >= 0) return {shownBefore(m.wm100.items, e), inner};
        }
        ADD_FAILURE() << "no entry for " << code();
        return {};
    }

    // What the step on screen expects, done once through the script.
    void act() {
        qz::FrmMain& m = sim();
        const std::string c = code();
        const std::string& r = m.laidOutRecord();
        const int value = m.StepCode;
        const bool workArea = !qz::steps::allZeros(r, 187, 196);
        if (workArea && qz::steps::field(r, 182, 182) == "0" && qz::steps::field(r, 6, 7) != "EE") {
            host().click(m.Label4);
        } else if (workArea && (c.starts_with("004") || c.starts_with("005"))) {
            host().drag(m.Label4, headless::HeadlessHost::centreOf(m.Label1), 4, c[3] - '0');
        } else if (value >= 8001 && value <= 8009) {
            // The pointer ends a little beyond the target; the picture's edge follows it there.
            const forms::Point centre = headless::HeadlessHost::centreOf(m.Image5);
            const int toX = m.Image5.width() / -2 + centre.x + h->p().sx(m.SnapX) - m.Image5.left();
            const int toY = m.Image5.height() / -2 + centre.y + h->p().sy(m.SnapY) - m.Image5.top();
            const int d = value % 10;
            const int dx = d == 1 || d == 6 || d == 8 ? -450 : d == 2 || d == 7 || d == 9 ? 450 : 0;
            const int dy = d == 3 || d == 8 || d == 9 ? -450 : d == 4 || d == 6 || d == 7 ? 450 : 0;
            host().drag(m.Image5, forms::Point{toX + dx, toY + dy}, 16);
        } else if (m.Text1.visible() || m.Text2.visible()) {
            std::string answer;
            if (!qz::steps::allZeros(r, 109, 111))
                answer = qz::steps::textOf(
                    *qz::steps::numberedLine(g().TextsFilePath, std::stol(qz::steps::field(r, 109, 111))));
            // The second alternative where there are two: either one is accepted.
            if (c != "0021" && answer.find('|') != std::string::npos) answer = answer.substr(answer.find('|') + 1);
            host().type(answer);
            if (c != "0020" && c != "0021") host().key(forms::vk::Return, 0, "\r");
        } else if (c == "0002") {
            host().doubleClick(m.Label1);
        } else if (c == "0003") {
            host().click(m.Label1, b::Right);
        } else if (c == "2000" || c == "6002") {
            host().key(forms::vk::Return);
        } else if (c == "0030") {
            host().moveTo(forms::Point{m.left() + 15, m.top() + 15});
            host().moveTo(m.Label1);
        } else if (c == "8888") {
            host().pause(1100);
        } else if ((value / 1000 == 3 || value / 1000 == 4) && (value / 10) % 10 != 0) {
            host().choosePopupAt(popupPath((value / 100) % 10));
            host().click(m.Label1, b::Right);
        } else if ((c[0] == 'A' || c[0] == 'B' || c[0] == 'C') && (value / 10) % 10 != 0 && m.LMenu(0).visible()) {
            // Over the bar to the title, then its drop-down's item.
            const int title = value / 10 == 1122 ? 10 : (value / 100) % 10 - 1;
            host().choosePopupAt(popupPath(title + 1));
            host().moveTo(m.LMenu(title));
            host().click(m.LMenu(title));
        } else if (value / 1000 == 6) {
            host().key(qz::steps::remapKey(value % 100), (value % 1000) / 100);
        } else if (value / 1000 == 9 && value != 9999) {
            host().click(m.Label1, value % 100, (value % 1000) / 100);
        } else {
            host().click(m.Label1);
        }
        host().runUntilIdle();
    }

    // Works the question on screen to its "9999"; returns the number of its steps.
    int workQuestion() {
        for (int guard = 0; guard < 40 && code() != "9999"; ++guard) {
            wrongActions();
            const int step = g().CurrentStep;
            act();
            EXPECT_GT(g().CurrentStep, step) << "step " << code() << " was not completed";
            if (g().CurrentStep <= step) break;
        }
        EXPECT_EQ(code(), "9999");
        return g().CurrentStep;
    }

    // Moves on as the panel will: the next entry, shown by the panel's one-shot timer.
    void showQuestion(int q) {
        g().CurrentQuestion = static_cast<std::int16_t>(q);
        panel().TimerREDO.setEnabled(true);
        host().runUntilIdle();
    }
};

TEST_F(PracticeRoad, EveryQuestionOfUnitZeroIsCompletedByTheActionsItsStepsExpect) {
    launch(37);
    ASSERT_EQ(g().ListMode, 20);
    const int count = g().QuestionCount;
    ASSERT_GE(count, 1);
    for (int q = 1; q <= count; ++q) {
        SCOPED_TRACE("question " + std::to_string(q));
        if (q > 1) showQuestion(q);
        EXPECT_EQ(g().QuestionState[q] & 1, 1);  // opened
        const int steps = workQuestion();
        EXPECT_EQ(g().QuestionState[q] & 4, 4);  // done
        EXPECT_EQ(g().ResumeStep[q], steps);
        EXPECT_TRUE(sim().LblSuccess.visible());
    }
    // A completed question shown again stays complete and resumes at its last record.
    showQuestion(1);
    EXPECT_EQ(code(), "9999");
    EXPECT_EQ(g().QuestionState[1], 5);
    EXPECT_TRUE(h->reports().empty());
}

// Lists 5 and 6 work on set 19, built from the unit's own set 20: the built files hold the
// source lines of the chosen questions byte for byte, and the unit's files stay as they were.
TEST_F(PracticeRoad, LearnedAndNotLearnedListsRunOnTheirBuiltSet) {
    const std::string steps20 = testsupport::readFileBytes(folder.dataFile("288820.mxy"));
    const std::string questions20 = testsupport::readFileBytes(folder.dataFile("288870.mxy"));
    const auto stepLines = platform::readRawLines(folder.dataFile("288820.mxy"));
    const auto questionLines = platform::readRawLines(folder.dataFile("288870.mxy"));
    // Where each question's run starts in the unit's step file.
    std::vector<std::size_t> first{0};
    for (const auto& q : questionLines) first.push_back(first.back() + std::stoul(q.substr(4, 2)));

    writeProgress({"TFTFFFFF"});
    for (const auto& [filter, chosen] : std::vector<std::pair<int, std::vector<std::size_t>>>{
             {38, {0, 2}}, {39, {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}}}) {
        SCOPED_TRACE(filter);
        h.reset();
        launch(filter);
        EXPECT_EQ(g().ListMode, filter == 38 ? 5 : 6);
        ASSERT_EQ(g().QuestionCount, static_cast<int>(chosen.size()));
        std::vector<std::string> wantSteps, wantQuestions;
        for (std::size_t q : chosen) {
            wantQuestions.push_back(questionLines[q]);
            for (std::size_t s = first[q]; s < first[q + 1]; ++s) wantSteps.push_back(stepLines[s]);
        }
        EXPECT_EQ(platform::readRawLines(folder.dataFile("288819.mxy")), wantSteps);
        EXPECT_EQ(platform::readRawLines(folder.dataFile("288869.mxy")), wantQuestions);
        EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288820.mxy")), steps20);
        EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288870.mxy")), questions20);
        // The built set is the one worked.
        for (std::size_t k = 1; k <= chosen.size(); ++k) {
            if (k > 1) showQuestion(static_cast<int>(k));
            workQuestion();
            EXPECT_EQ(g().QuestionState[k] & 5, 5);
        }
    }
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
