#include "home/paper_records.h"

#include <algorithm>
#include <cmath>

#include "app/records.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/learner_records.h"

namespace qz {

namespace {

std::string twoDigits(int n) { return platform::rightChars("0" + std::to_string(n), 2); }

// Draws in a row that bring no new code before the draw gives up. The rarest code a bank of
// 20 units can need comes about once in 425 draws, so a working generator never gets here.
constexpr long GiveUpAfter = 20000;

std::string wrongPath(const std::string& programFolder, int slot) {
    return recordfile::path(programFolder, recordfile::paperWrong(slot));
}

ExamHistory readHistory(const RecordOverlay& held, const std::string& path) {
    auto history = readExamHistory(held, path);
    if (!history) platform::raise(75);
    return *history;
}

}  // namespace

std::optional<std::string> drawPaperCodes(const std::vector<int>& unitCounts, platform::RandomNumbers& random) {
    // Only units with questions are drawn from, so no count of 0 is divided by; codes have two
    // digits for the unit and two for the question.
    std::vector<int> units;
    long total = 0;
    for (std::size_t u = 0; u < unitCounts.size() && u < 100; ++u) {
        if (unitCounts[u] <= 0) continue;
        units.push_back(static_cast<int>(u));
        total += std::min(unitCounts[u], 99);
    }
    if (total < PaperCodes) return std::nullopt;
    auto thousandths = [&random] {
        double r = random.next();
        if (!(r >= 0 && r < 1)) r = 0;
        return static_cast<long>(std::floor(r * 1000));
    };
    // The "_" between codes keeps a code from matching across two neighbours.
    std::string list, drawn = "aa";
    int codes = 0;
    for (long misses = 0; codes < PaperCodes;) {
        const int u = units[static_cast<std::size_t>(thousandths() % static_cast<long>(units.size()))];
        const int q = static_cast<int>(thousandths() % std::min(unitCounts[static_cast<std::size_t>(u)], 99)) + 1;
        const std::string code = twoDigits(u) + twoDigits(q);
        if (drawn.find(code) != std::string::npos) {
            if (++misses == GiveUpAfter) return std::nullopt;
            continue;
        }
        misses = 0;
        drawn += "_" + code;
        list += code;
        ++codes;
    }
    return list;
}

RecordBytes RecordWrite::planned() const { return {path, bytes ? *bytes : platform::linesFileBytes(lines)}; }

std::vector<RecordWrite> drawRecords(const RecordOverlay& held, const std::string& programFolder,
                                     const std::string& paper, int listed, const std::string& time) {
    listed = std::clamp(listed, 0, RandomPaperLimit);
    const std::string papersPath = recordfile::path(programFolder, recordfile::RandomPapers);
    const std::vector<std::string> old = readRecordLines(held, papersPath);
    // Always ten lines, blank where the old file had fewer; its tenth paper is dropped.
    std::vector<std::string> papers{paper};
    for (std::size_t k = 0; k + 1 < RandomPaperLimit; ++k) papers.push_back(k < old.size() ? old[k] : "");

    const std::string historyPath = recordfile::path(programFolder, recordfile::ExamHistory);
    ExamHistory history = readHistory(held, historyPath);
    for (int s = FirstRandomSlot + RandomPaperLimit - 1; s > FirstRandomSlot; --s) history.copyRecord(s - 1, s);
    history.setLine(3 * FirstRandomSlot + 1, time);
    history.setLine(3 * FirstRandomSlot + 2, "0");
    history.setLine(3 * FirstRandomSlot + 3, "E");

    std::vector<RecordWrite> out;
    out.push_back({papersPath, papers, {}});
    out.push_back({historyPath, examHistoryLines(history, 30), {}});
    for (int k = listed; k >= 1; --k)
        out.push_back({wrongPath(programFolder, FirstRandomSlot + k),
                       {},
                       paperWrongCopyBytes(held, programFolder, FirstRandomSlot - 1 + k)});
    out.push_back({wrongPath(programFolder, FirstRandomSlot), {""}, {}});
    return out;
}

std::vector<RecordWrite> deletionRecords(const RecordOverlay& held, const std::string& programFolder, int slot,
                                         int listed) {
    listed = std::clamp(listed, 0, RandomPaperLimit);
    const int last = FirstRandomSlot - 1 + listed;
    if (slot < FirstRandomSlot || slot > last) return {};

    const std::string papersPath = recordfile::path(programFolder, recordfile::RandomPapers);
    const auto read = readRandomPapers(held, papersPath);
    if (!read) platform::raise(75);
    auto line = [&](int k) {
        return k >= 1 && k <= static_cast<int>(read->size()) ? (*read)[static_cast<std::size_t>(k - 1)] : std::string();
    };
    std::vector<std::string> papers;
    for (int k = 1; k < listed; ++k) papers.push_back(line(k < slot - FirstRandomSlot + 1 ? k : k + 1));
    papers.emplace_back();

    const std::string historyPath = recordfile::path(programFolder, recordfile::ExamHistory);
    ExamHistory history = readHistory(held, historyPath);
    for (int s = slot; s < last; ++s) history.copyRecord(s + 1, s);

    // The last listed slot's file and record stay behind, unlisted, until a draw shifts them.
    std::vector<RecordWrite> out;
    out.push_back({papersPath, papers, {}});
    for (int s = slot; s < last; ++s)
        out.push_back({wrongPath(programFolder, s), {}, paperWrongCopyBytes(held, programFolder, s + 1)});
    out.push_back({historyPath, examHistoryLines(history, 30), {}});
    return out;
}

}  // namespace qz
