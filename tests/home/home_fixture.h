#pragma once
// The home screen of a whole program on the headless host: a scratch installation whose
// catalogue, records and product information a test sets before start-up, and clicks on
// the screen's real buttons afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "home/FrmFengmian.h"
#include "session/question_sets.h"
#include "tests/app/program_harness.h"
#include "tests/support/picture_id.h"
#include "ui/FrmQZMSGBOX.h"

namespace hometest {

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

using testsupport::crlf;
using testsupport::pictureId;

inline std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// A unit's own question set, each question named in its lines so copies can be told apart:
// question q has steps[q - 1] step lines, the last with the step code 9999.
struct UnitSetLines {
    std::vector<std::string> questions;
    std::vector<std::string> steps;
};
inline UnitSetLines unitSetLines(int unit, const std::vector<int>& steps) {
    UnitSetLines out;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int q = static_cast<int>(i) + 1;
        out.questions.push_back("第" + twoDigits(q) + "题" + twoDigits(steps[i]) + "单元" + std::to_string(unit) +
                                "的练习题" + std::to_string(q) + "|画一条直线");
        for (int s = 1; s <= steps[i]; ++s) {
            // A whole record: the window lays out the first question as soon as it opens. Its
            // hot spot (columns 66-85) is one a learner can click.
            std::string record = "步" + twoDigits(unit) + twoDigits(q) + twoDigits(s) +
                                 (s == steps[i] ? std::string("9999") : "A1" + twoDigits(s)) + "888888";
            record += std::string(65 - 17, '0') + "01000010000060000300";
            out.steps.push_back(record + std::string(196 - 85, '0'));
        }
    }
    return out;
}

// What the program's own message box showed while it was open.
struct BoxSeen {
    bool opened = false;
    std::string title;
    std::string prompt;
    std::string icon;
};

// Confirm, cancel and the small close button of the own message box.
enum BoxButton { Cancel = 0, Confirm = 1, CloseSpot = 3 };

class HomeRun {
public:
    HomeRun() { folder.writeProductInfo(info_); }
    virtual ~HomeRun() = default;

    // Product information with the start-up defaults for the home screen's entries.
    static std::vector<std::string> defaultInfo() {
        std::vector<std::string> info = ProgramFolder::fullProductInfo();
        info[29] = "&H666666";
        info[30] = "240";
        info[31] = "5040";
        info[32] = "7440";
        info[33] = "9930";
        info[34] = "2";
        return info;
    }
    void setInfo(int entry, std::string value) {
        info_[static_cast<std::size_t>(entry)] = std::move(value);
        folder.writeProductInfo(info_);
    }
    // Unit names of the installation configuration, unit u from 0.
    void setUnitNames(const std::map<int, std::string>& names) {
        std::vector<std::string> ver = ProgramFolder::fullVerLines();
        for (const auto& [u, name] : names) ver[static_cast<std::size_t>(4 + u)] = name;
        folder.writeVer(ver);
    }
    void writeCatalogue(const std::vector<std::string>& lines) { folder.writeDataBytes("288891.mxy", crlf(lines)); }
    void writeRecord(const std::string& name, const std::string& bytes) {
        testsupport::writeFileBytes(folder.ksdata() + "/" + name, bytes);
    }
    void writeUnitSet(int unit, const std::vector<int>& steps) {
        const UnitSetLines set = unitSetLines(unit, steps);
        const qz::QuestionSet own = qz::QuestionSet::ofUnit(unit);
        folder.writeDataBytes(qz::QuestionSet::fileName(own.n), testsupport::gbkBytes(crlf(set.steps)));
        folder.writeDataBytes(qz::QuestionSet::fileName(own.n + 50), testsupport::gbkBytes(crlf(set.questions)));
    }
    // Units 0 to 2 of 3, 4 and 3 questions, with some learned.
    void writeSmallBank() {
        writeCatalogue({"0503", "030403"});
        writeProgress({"TFT", "TFTF", "FFF"});
        writeUnitSet(0, {1, 1, 1});
        writeUnitSet(1, {3, 5, 4, 2});
        writeUnitSet(2, {1, 2, 1});
    }
    std::string dataBytes(const std::string& name) const { return testsupport::readFileBytes(folder.dataFile(name)); }
    void writeProgress(const std::vector<std::string>& lines) { writeRecord("288893.mxy", crlf(lines)); }
    std::string progressBytes() const { return testsupport::readFileBytes(folder.ksdata() + "/288893.mxy"); }

    // Start-up up to the home screen standing idle; a program already running is closed
    // first, as only one copy may run.
    void run(int twipsPerPixel = 15) {
        h.reset();
        h = std::make_unique<ProgramHarness>(folder, twipsPerPixel);
        h->p().run();
    }
    qz::FrmFengmian& start() {
        run();
        return home();
    }
    qz::FrmFengmian& home() {
        EXPECT_TRUE(h->isLoaded("FrmFengmian"));
        return h->p().frmFengmian();
    }
    qz::Shared& g() { return h->g(); }

    void click(const forms::Control& c) {
        h->host.click(c);
        h->host.runUntilIdle();
    }
    void click(int index) { click(home().ClickBotn(index)); }
    void clicks(std::initializer_list<int> indexes) {
        for (int i : indexes) click(i);
    }
    // The unit section with unit u chosen (from unit 10 on its second page) and a filter:
    // 37 all, 38 learned, 39 not learned. Button 20 then starts the practice.
    void openUnit(int unit, int filter) {
        click(4);
        if (unit >= 10) click(48);
        clicks({50 + unit, filter});
    }

    // Clicks a control and, when the own message box opens, clicks one of its buttons.
    BoxSeen clickAnswering(const forms::Control& c, BoxButton answer) {
        BoxSeen seen;
        h->host.click(c);
        answerBox(seen, answer);
        h->host.runUntilIdle();
        return seen;
    }
    // Runs an action as a script step and answers the own message box it opens, if any.
    BoxSeen runAnswering(std::function<void()> action, BoxButton answer) {
        BoxSeen seen;
        bool actionDone = false;
        h->host.then([action = std::move(action), &actionDone] {
            action();
            actionDone = true;
        });
        answerBox(seen, answer, &actionDone);
        h->host.runUntilIdle();
        return seen;
    }
    // A script step that, when the own message box is open, notes what it shows and clicks
    // one of its buttons. Given the action's done flag, it keeps waiting for the box while the
    // action runs: an error report's wait takes script steps too.
    void answerBox(BoxSeen& seen, BoxButton answer, const bool* actionDone = nullptr) {
        h->host.then([this, &seen, answer, actionDone] {
            forms::Form* top = h->p().rt.topModal();
            if (top && top->name() == "FrmQZMSGBOX") {
                auto& box = static_cast<qz::FrmQZMSGBOX&>(*top);
                seen = {true, box.LblTitle.caption(), box.LblPrompt.caption(), pictureId(box.Image1.picture())};
                h->host.click(box.LblClick(answer));
            } else if (actionDone && !*actionDone) {
                h->host.pause(50);
                answerBox(seen, answer, actionDone);
            }
        });
    }
    BoxSeen clickAnswering(int index, BoxButton answer) { return clickAnswering(home().ClickBotn(index), answer); }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;

private:
    std::vector<std::string> info_ = defaultInfo();
};

class HomeScreen : public ::testing::Test, public HomeRun {};

}  // namespace hometest
