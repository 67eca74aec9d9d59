#pragma once
// The paper section's records as a test seeds them: the bank's fixed papers, the random papers
// drawn, the exam history and each slot's wrong questions.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "tests/home/home_fixture.h"

namespace hometest {

// The sample bank's question counts, unit 0 first, as the catalogue's second line holds them.
inline const std::string kSampleCountsLine = "200605040505040304040342";

// One record of the history: the last exam's time and the best score.
struct HistoryRecord {
    std::string time;
    std::string score;
};

// History lines for slots 0 to records - 1: the records given, defaults elsewhere.
inline std::vector<std::string> historyLines(const std::map<int, HistoryRecord>& records, int count = 30) {
    std::vector<std::string> lines;
    for (int s = 0; s < count; ++s) {
        const auto it = records.find(s);
        lines.push_back(it == records.end() ? "您还未考试！" : it->second.time);
        lines.push_back(it == records.end() ? "0" : it->second.score);
        lines.push_back("E");
    }
    return lines;
}
// The file as the program writes it: the lines, then one empty line.
inline std::string historyFile(const std::map<int, HistoryRecord>& records, int count = 30) {
    return testsupport::gbkBytes(crlf(historyLines(records, count)) + "\r\n");
}
// A record every slot can be told by.
inline HistoryRecord recordOf(int slot) {
    return {"2025-01-" + twoDigits(slot % 28 + 1) + " 08:00:" + twoDigits(slot), std::to_string(slot)};
}

class PaperRun : public HomeRun {
public:
    PaperRun() { folder.installSampleBank(); }

    // The sample's five fixed papers, lines 3 to 7 of its catalogue.
    static std::vector<std::string> samplePapers() {
        const std::vector<std::string> lines = platform::readLines(testsupport::sampleDataDir() + "/288891.mxy");
        return {lines.begin() + 2, lines.begin() + 7};
    }
    // A catalogue of n fixed papers, paper p being sample paper p mod 5.
    void writePaperCount(int n) {
        const std::vector<std::string> sample = samplePapers();
        std::vector<std::string> lines{twoDigits(n) + "12", kSampleCountsLine};
        for (int p = 0; p < n; ++p) lines.push_back(sample[static_cast<std::size_t>(p % 5)]);
        writeCatalogue(lines);
    }
    // Random papers drawn: sample paper k mod 5 on line k + 1, so lines can be told apart by
    // their slot when only a few are listed.
    void writeRandomPapers(int n) {
        const std::vector<std::string> sample = samplePapers();
        std::vector<std::string> lines;
        for (int k = 0; k < n; ++k) lines.push_back(sample[static_cast<std::size_t>(k % 5)]);
        writeRecord("288891.mxy", crlf(lines));
    }
    void writeHistory(const std::map<int, HistoryRecord>& records, int count = 30) {
        writeRecord("288892.mxy", historyFile(records, count));
    }
    void writeWrong(int slot, const std::string& bytes) { writeRecord(wrongName(slot), bytes); }

    // Runs an action as a script step and answers, in turn, each own message box it opens
    // until it is done, also when an error report's wait comes first; what each box showed.
    std::vector<BoxSeen> answerAll(std::function<void()> action, std::vector<BoxButton> answers = {}) {
        auto seen = std::make_shared<std::vector<BoxSeen>>();
        auto done = std::make_shared<bool>(false);
        h->host.then([action = std::move(action), done] {
            action();
            *done = true;
        });
        watchBoxes(seen, done, std::move(answers));
        h->host.runUntilIdle();
        return *seen;
    }

    static std::string wrongName(int slot) { return "1824" + twoDigits(slot) + ".mxy"; }
    std::string ksdataPath(const std::string& name) const { return folder.ksdata() + "/" + name; }
    // A record's bytes; no value when it does not exist.
    std::optional<std::string> record(const std::string& name) const { return platform::readBytes(ksdataPath(name)); }
    std::string papersBytes() const { return record("288891.mxy").value_or("(missing)"); }
    std::string historyBytes() const { return record("288892.mxy").value_or("(missing)"); }
    std::string wrongBytes(int slot) const { return record(wrongName(slot)).value_or("(missing)"); }

private:
    void watchBoxes(std::shared_ptr<std::vector<BoxSeen>> seen, std::shared_ptr<bool> done,
                    std::vector<BoxButton> answers) {
        h->host.then([this, seen, done, answers] {
            forms::Form* top = h->p().rt.topModal();
            if (top && top->name() == "FrmQZMSGBOX") {
                auto& box = static_cast<qz::FrmQZMSGBOX&>(*top);
                const std::size_t n = seen->size();
                seen->push_back(
                    {true, box.LblTitle.caption(), box.LblPrompt.caption(), pictureId(box.Image1.picture())});
                h->host.click(box.LblClick(n < answers.size() ? answers[n] : Confirm));
                watchBoxes(seen, done, answers);
            } else if (!*done) {
                h->host.pause(50);
                watchBoxes(seen, done, answers);
            }
        });
    }
};

class PaperScreen : public ::testing::Test, public PaperRun {};

}  // namespace hometest
