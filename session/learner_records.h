// The learner's record files in ksdata: unit progress, the favourites and the wrong questions
// with their review flags, and each paper's wrong-question list. Every reader here tells a
// missing file (read as empty) from one that exists but cannot be read (no value), so that a
// caller never writes data built from nothing over a record it could not see.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/records.h"
#include "session/record_group.h"

namespace qz {

namespace recordfile {
inline constexpr const char* UnitProgress = "288893.mxy";
inline constexpr const char* Favourites = "288862.mxy";
inline constexpr const char* FavouritesReview = "288872.mxy";
inline constexpr const char* WrongQuestions = "288863.mxy";
inline constexpr const char* WrongReview = "288873.mxy";
inline constexpr const char* ExamHistory = "288892.mxy";
inline constexpr const char* RandomPapers = "288891.mxy";
// The learner's input-method option: "1" uses the chosen input method.
inline constexpr const char* ImeOption = "288890.mxy";
// "1824" and the paper slot as two digits.
std::string paperWrong(int slot);
// The record's path in the program folder's ksdata.
std::string path(const std::string& programFolder, const std::string& name);
}  // namespace recordfile

// One "T" or "F" per entry of a list; "T" is done or reviewed, anything else is not.
class FlagLine {
public:
    FlagLine() = default;
    explicit FlagLine(std::string_view text);

    std::string text() const;
    std::size_t size() const { return flags_.size(); }
    // k from 1; a position past the end is not set.
    bool isSet(std::size_t k) const;
    // Pads with "F" up to p - 1 first, so the "T" lands on position p.
    void set(std::size_t p);
    void fit(std::size_t n);
    void erase(std::size_t k);
    // The not-reviewed walk: the k-th flag that is not "T" belongs to entry k of the list
    // made of them, and becomes "T" when done(k) says so.
    template <class Done>
    void markInOrder(Done done) {
        std::size_t k = 0;
        for (char32_t& c : flags_) {
            if (c == U'T') continue;
            c = done(++k) ? U'T' : U'F';
        }
    }

private:
    std::u32string flags_;
};

// A code list as the records hold it: whole four-character codes of the trimmed line, an
// incomplete tail dropped.
std::vector<std::string> splitCodes(std::string_view line);
std::string joinCodes(const std::vector<std::string>& codes);

// A list file together with its review file, the flags fitted to the list.
struct ReviewedList {
    std::vector<std::string> codes;
    FlagLine reviewed;

    // Position of the first occurrence from 1; 0 when not listed.
    std::size_t find(const std::string& code) const;
};

// One entry of the list a practice worked.
struct WorkedEntry {
    std::string code;  // four digits
    bool done = false;
    bool marked = false;
};

// Marked codes not yet listed go to the end with an "F", each once.
void addMarked(ReviewedList& list, const std::vector<WorkedEntry>& entries);
// Each unmarked entry removes one occurrence of its code with its flag, unless another entry
// of the same code is marked.
void removeUnmarked(ReviewedList& list, const std::vector<WorkedEntry>& entries);

// Readers: no value when the file exists but cannot be read. A file the launch holds reads as
// the overlay gives it.
std::optional<std::string> readRecordLine(const RecordOverlay& held, const std::string& path);
// Up to 26 lines, units 0 to 25.
std::optional<std::vector<std::string>> readUnitProgress(const RecordOverlay& held, const std::string& path);
std::optional<ReviewedList> readReviewedList(const RecordOverlay& held, const std::string& listPath,
                                             const std::string& reviewPath);
std::optional<std::vector<std::string>> readPaperWrong(const RecordOverlay& held, const std::string& path);

// Writers: each file replaced whole through a temporary file; failures raise.
void writeRecordLine(const std::string& path, const std::string& line);
// The file of one record line as writeRecordLine writes it, for a group of files.
RecordBytes recordLineBytes(const std::string& path, const std::string& line);
// Lines of units 0 to unitCount - 1, then one empty line.
void writeUnitProgress(const std::string& path, const std::vector<std::string>& lines, int unitCount);
// The two files of the list and its flags, the flags fitted to the list, for a group of files.
std::vector<RecordBytes> reviewedListBytes(const std::string& listPath, const std::string& reviewPath,
                                           const ReviewedList& list);
// The list and its flags as one group (session/record_group.h): after a failure both are as they
// were, and after a crash the next launch makes them both old or both new. A pair of which a
// file is there but cannot be read is not replaced at all.
void writeReviewedList(const std::string& listPath, const std::string& reviewPath, const ReviewedList& list);

// The exam history as its readers hold it: lines 1 to 100, slot s at lines 3s + 1 (the last
// exam's time), 3s + 2 (the best score) and 3s + 3 ("E"); a line the file does not give is
// its default, "您还未考试！", "0" or "E".
class ExamHistory {
public:
    static constexpr int Lines = 100;
    static constexpr const char* NeverTaken = "您还未考试！";
    ExamHistory();
    // Line n, from 1; n outside 1 to 100 is not there.
    const std::string& line(int n) const;
    void setLine(int n, std::string text);
    const std::string& time(int slot) const { return line(3 * slot + 1); }
    const std::string& score(int slot) const { return line(3 * slot + 2); }
    // The record of slot `to` takes that of slot `from`.
    void copyRecord(int from, int to);

private:
    std::vector<std::string> lines_;
};

// Missing: the defaults. No value when the file exists but cannot be read.
std::optional<ExamHistory> readExamHistory(const RecordOverlay& held, const std::string& path);
// The first `records` records (30 or 31), three lines each, then one empty line.
void writeExamHistory(const std::string& path, const ExamHistory& history, int records);
// The lines writeExamHistory writes, for a caller that computes its writes before making them.
std::vector<std::string> examHistoryLines(const ExamHistory& history, int records);
// A score of n completed questions at 2.5 points each, as the history writes it: "0", "2.5", "100".
std::string scoreText(int completed);
// The exam just scored, in its slot's record: its start as the time and the score when higher by
// value than the best (a best line beyond any number counts as none). An exam whose answers were
// shown (start "-1") keeps the best score and takes `now` as its time.
void recordExam(ExamHistory& history, int slot, const std::string& examStartTime, int completed,
                const std::string& now);

// The random papers drawn: the file's leading non-blank lines, at most 15 of them. Missing:
// none. No value when the file exists but cannot be read.
std::optional<std::vector<std::string>> readRandomPapers(const RecordOverlay& held, const std::string& path);

// Paper slot `to`'s wrong-question file takes the bytes of slot `from`'s; a missing source
// leaves the target one empty line, so that no slot keeps another paper's list.
void copyPaperWrong(const std::string& programFolder, int from, int to);
// The bytes that copy puts in place. Raises when the source exists but cannot be read.
std::string paperWrongCopyBytes(const RecordOverlay& held, const std::string& programFolder, int from);

// Whether the launch failed to read either file of a pair (names as in recordfile); such a pair
// is not written by the session's end.
bool pairUnread(const std::set<std::string>& unread, const char* listName, const char* reviewName);

}  // namespace qz
