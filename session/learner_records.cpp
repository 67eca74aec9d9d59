#include "session/learner_records.h"

#include <algorithm>

#include "app/records.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/record_group.h"

namespace qz {

namespace recordfile {

std::string paperWrong(int slot) {
    return std::string(slot >= 0 && slot < 10 ? "18240" : "1824") + std::to_string(slot) + ".mxy";
}

std::string path(const std::string& programFolder, const std::string& name) {
    return platform::joinPath(platform::joinPath(programFolder, "ksdata"), name);
}

}  // namespace recordfile

FlagLine::FlagLine(std::string_view text) : flags_(platform::toU32(text)) {}

std::string FlagLine::text() const { return platform::fromU32(flags_); }

bool FlagLine::isSet(std::size_t k) const { return k >= 1 && k <= flags_.size() && flags_[k - 1] == U'T'; }

void FlagLine::set(std::size_t p) {
    if (p < 1) return;
    if (flags_.size() < p) flags_.resize(p, U'F');
    flags_[p - 1] = U'T';
}

void FlagLine::fit(std::size_t n) { flags_.resize(n, U'F'); }

void FlagLine::erase(std::size_t k) {
    if (k >= 1 && k <= flags_.size()) flags_.erase(k - 1, 1);
}

std::vector<std::string> splitCodes(std::string_view line) {
    const std::u32string text = platform::toU32(platform::trimSpaces(line));
    std::vector<std::string> codes;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) codes.push_back(platform::fromU32(text.substr(i, 4)));
    return codes;
}

std::string joinCodes(const std::vector<std::string>& codes) {
    std::string out;
    for (const auto& c : codes) out += c;
    return out;
}

std::size_t ReviewedList::find(const std::string& code) const {
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? 0 : static_cast<std::size_t>(it - codes.begin()) + 1;
}

void addMarked(ReviewedList& list, const std::vector<WorkedEntry>& entries) {
    list.reviewed.fit(list.codes.size());
    for (const auto& e : entries) {
        if (!e.marked || list.find(e.code) != 0) continue;
        list.codes.push_back(e.code);
        list.reviewed.fit(list.codes.size());
    }
}

void removeUnmarked(ReviewedList& list, const std::vector<WorkedEntry>& entries) {
    list.reviewed.fit(list.codes.size());
    for (const auto& e : entries) {
        if (e.marked) continue;
        const bool markedElsewhere =
            std::any_of(entries.begin(), entries.end(), [&](const WorkedEntry& o) { return o.marked && o.code == e.code; });
        if (markedElsewhere) continue;
        const std::size_t k = list.find(e.code);
        if (k == 0) continue;
        list.codes.erase(list.codes.begin() + static_cast<std::ptrdiff_t>(k - 1));
        list.reviewed.erase(k);
    }
}

std::optional<std::string> readRecordLine(const RecordOverlay& held, const std::string& path) {
    try {
        const auto lines = readRecordLines(held, path);
        return lines.empty() ? std::string() : platform::trimSpaces(lines.front());
    } catch (const platform::VbError&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::string>> readUnitProgress(const RecordOverlay& held, const std::string& path) {
    try {
        auto lines = readRecordLines(held, path);
        if (lines.size() > 26) lines.resize(26);
        for (auto& l : lines) l = platform::trimSpaces(l);
        return lines;
    } catch (const platform::VbError&) {
        return std::nullopt;
    }
}

std::optional<ReviewedList> readReviewedList(const RecordOverlay& held, const std::string& listPath,
                                             const std::string& reviewPath) {
    const auto list = readRecordLine(held, listPath);
    const auto review = readRecordLine(held, reviewPath);
    if (!list || !review) return std::nullopt;
    ReviewedList out{splitCodes(*list), FlagLine(*review)};
    out.reviewed.fit(out.codes.size());
    return out;
}

std::optional<std::vector<std::string>> readPaperWrong(const RecordOverlay& held, const std::string& path) {
    const auto line = readRecordLine(held, path);
    if (!line) return std::nullopt;
    return splitCodes(*line);
}

void writeRecordLine(const std::string& path, const std::string& line) { platform::writeLinesReplace(path, {line}); }

void writeUnitProgress(const std::string& path, const std::vector<std::string>& lines, int unitCount) {
    std::vector<std::string> out(static_cast<std::size_t>(std::clamp(unitCount, 0, 26)));
    for (std::size_t u = 0; u < out.size() && u < lines.size(); ++u) out[u] = lines[u];
    out.emplace_back();
    platform::writeLinesReplace(path, out);
}

RecordBytes recordLineBytes(const std::string& path, const std::string& line) {
    return {path, platform::linesFileBytes({line})};
}

std::vector<RecordBytes> reviewedListBytes(const std::string& listPath, const std::string& reviewPath,
                                           const ReviewedList& list) {
    FlagLine flags = list.reviewed;
    flags.fit(list.codes.size());
    return {recordLineBytes(listPath, joinCodes(list.codes)), recordLineBytes(reviewPath, flags.text())};
}

void writeReviewedList(const std::string& listPath, const std::string& reviewPath, const ReviewedList& list) {
    writeRecordGroup(reviewedListBytes(listPath, reviewPath, list));
}

ExamHistory::ExamHistory() : lines_(Lines) {
    for (int n = 1; n <= Lines; ++n) lines_[static_cast<std::size_t>(n - 1)] = n % 3 == 1 ? NeverTaken : n % 3 == 2 ? "0" : "E";
}

const std::string& ExamHistory::line(int n) const {
    static const std::string none;
    return n >= 1 && n <= Lines ? lines_[static_cast<std::size_t>(n - 1)] : none;
}

void ExamHistory::setLine(int n, std::string text) {
    if (n >= 1 && n <= Lines) lines_[static_cast<std::size_t>(n - 1)] = std::move(text);
}

void ExamHistory::copyRecord(int from, int to) {
    for (int k = 1; k <= 3; ++k) setLine(3 * to + k, line(3 * from + k));
}

std::optional<ExamHistory> readExamHistory(const RecordOverlay& held, const std::string& path) {
    try {
        const auto lines = readRecordLines(held, path);
        ExamHistory h;
        for (std::size_t k = 0; k < lines.size() && k < ExamHistory::Lines; ++k)
            h.setLine(static_cast<int>(k) + 1, lines[k]);
        return h;
    } catch (const platform::VbError&) {
        return std::nullopt;
    }
}

void writeExamHistory(const std::string& path, const ExamHistory& history, int records) {
    platform::writeLinesReplace(path, examHistoryLines(history, records));
}

std::vector<std::string> examHistoryLines(const ExamHistory& history, int records) {
    std::vector<std::string> out;
    for (int n = 1; n <= 3 * std::clamp(records, 0, ExamHistory::Lines / 3); ++n) out.push_back(history.line(n));
    out.emplace_back();
    return out;
}

std::string scoreText(int completed) {
    // In tenths, so that no double is ever printed.
    const int tenths = std::max(0, completed) * 25;
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

void recordExam(ExamHistory& history, int slot, const std::string& examStartTime, int completed,
                const std::string& now) {
    const int time = 3 * slot + 1, best = 3 * slot + 2;
    if (examStartTime == "-1") {
        history.setLine(time, now);
        return;
    }
    history.setLine(time, examStartTime);
    // 2.5 points each: exact in a double, as the leading number of the line is. A line whose
    // number no double holds is no score, and this exam's takes its place.
    bool higher = true;
    try {
        higher = platform::val(history.line(best)) < std::max(0, completed) * 2.5;
    } catch (const platform::VbError&) {
    }
    if (higher) history.setLine(best, scoreText(completed));
}

std::optional<std::vector<std::string>> readRandomPapers(const RecordOverlay& held, const std::string& path) {
    try {
        const auto lines = readRecordLines(held, path);
        std::vector<std::string> papers;
        for (std::size_t k = 0; k < lines.size() && k < 15; ++k) {
            if (platform::trimSpaces(lines[k]).empty()) break;
            papers.push_back(lines[k]);
        }
        return papers;
    } catch (const platform::VbError&) {
        return std::nullopt;
    }
}

void copyPaperWrong(const std::string& programFolder, int from, int to) {
    platform::writeBytesReplace(recordfile::path(programFolder, recordfile::paperWrong(to)),
                                paperWrongCopyBytes(RecordOverlay(), programFolder, from));
}

std::string paperWrongCopyBytes(const RecordOverlay& held, const std::string& programFolder, int from) {
    const std::string source = recordfile::path(programFolder, recordfile::paperWrong(from));
    if (const std::string* bytes = held.bytesOf(source)) return *bytes;
    if (!platform::fileExists(source)) return "\r\n";
    const auto bytes = platform::readBytes(source);
    if (!bytes) platform::raise(75);
    return *bytes;
}

bool pairUnread(const std::set<std::string>& unread, const char* listName, const char* reviewName) {
    return unread.count(listName) != 0 || unread.count(reviewName) != 0;
}

}  // namespace qz
