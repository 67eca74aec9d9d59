#pragma once
// Works the question the simulated window shows as a learner does: each step by the action it
// expects, with wrong actions in between that must change nothing. Practice and exam alike.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"
#include "tests/app/program_harness.h"

namespace roadtest {

class QuestionSteps {
public:
    // idleMs: how far virtual time may run on after each action; an exam's countdown ticks
    // every minute, so its road waits less than that.
    explicit QuestionSteps(testsupport::ProgramHarness& h, int idleMs = 60000) : h_(h), idleMs_(idleMs) {}

    std::string code() { return qz::stepCode(sim().laidOutRecord()); }

    // Actions that no step of the sample expects: they must leave everything as it was.
    void wrongActions() {
        const auto before = std::make_tuple(g().CurrentStep, sim().StepCode, code());
        // A click on the screenshot far from the hot spot, and a key no step uses.
        forms::Point corner{sim().left() + 30, sim().top() + sim().height() - 30};
        host().clickAt(corner);
        host().key(0x7B);  // F12
        host().runUntilIdle(idleMs_);
        EXPECT_EQ(std::make_tuple(g().CurrentStep, sim().StepCode, code()), before);
    }

    // What the step on screen expects, done once through the script.
    void act() {
        namespace b = forms::buttons;
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
            const int toX = m.Image5.width() / -2 + centre.x + h_.p().sx(m.SnapX) - m.Image5.left();
            const int toY = m.Image5.height() / -2 + centre.y + h_.p().sy(m.SnapY) - m.Image5.top();
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
        host().runUntilIdle(idleMs_);
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

private:
    qz::FrmMain& sim() { return h_.p().frmMain(); }
    headless::HeadlessHost& host() { return h_.host; }
    qz::Shared& g() { return h_.g(); }

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

    testsupport::ProgramHarness& h_;
    int idleMs_;
};

}  // namespace roadtest
