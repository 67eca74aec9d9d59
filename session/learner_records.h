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

namespace qz {

namespace recordfile {
inline constexpr const char* UnitProgress = "288893.mxy";
inline constexpr const char* Favourites = "288862.mxy";
inline constexpr const char* FavouritesReview = "288872.mxy";
inline constexpr const char* WrongQuestions = "288863.mxy";
inline constexpr const char* WrongReview = "288873.mxy";
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

// Readers: no value when the file exists but cannot be read.
std::optional<std::string> readRecordLine(const std::string& path);
// Up to 26 lines, units 0 to 25.
std::optional<std::vector<std::string>> readUnitProgress(const std::string& path);
std::optional<ReviewedList> readReviewedList(const std::string& listPath, const std::string& reviewPath);
std::optional<std::vector<std::string>> readPaperWrong(const std::string& path);

// Writers: each file replaced whole through a temporary file; failures raise.
void writeRecordLine(const std::string& path, const std::string& line);
// Lines of units 0 to unitCount - 1, then one empty line.
void writeUnitProgress(const std::string& path, const std::vector<std::string>& lines, int unitCount);
// The list first, then its flags. The flags are positional, so when the flags' write fails the
// list goes back to what it was (removed again if it was missing) before the failure is raised;
// a list whose present bytes cannot be read is not replaced at all. This covers failing writes
// only: a crash between the two renames can still leave the new list with the old flags, which
// the next reading fits to the list.
void writeReviewedList(const std::string& listPath, const std::string& reviewPath, const ReviewedList& list);

// Whether the launch failed to read either file of a pair (names as in recordfile); such a pair
// is not written by the session's end.
bool pairUnread(const std::set<std::string>& unread, const char* listName, const char* reviewName);

}  // namespace qz
