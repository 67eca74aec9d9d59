// Question identities, lists of them, and the question sets a session reads: the pair of
// numbered files in the data folder that hold a list's questions in list order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simwindow/step_record.h"

namespace qz {

// A question's identity UUQQ: the unit from 0, the question within it from 1.
struct QuestionCode {
    std::int32_t value = 0;

    int unit() const { return value / 100; }
    int question() const { return value % 100; }
    // Four characters with leading zeros, as lists and records hold it.
    std::string text() const;
    // As the learner sees it: the unit counted from 1.
    std::string shown() const;
};

// A question's state in a session: opened 1, marked 2 and done 4, added together.
namespace questionstate {
constexpr bool opened(std::int16_t s) { return (s & 1) != 0; }
constexpr bool marked(std::int16_t s) { return (s & 2) != 0; }
constexpr bool done(std::int16_t s) { return s >= 4; }
}  // namespace questionstate

// Codes written one after another without separators.
struct QuestionCodeList {
    // The session's tables hold this many entries; a longer list is cut.
    static constexpr int MaxEntries = 500;

    // The set build's count: length / 4, a half to the even number, at most MaxEntries.
    static int entryCount(std::string_view list);
    // Entry i from 1: its four characters read as a number.
    static QuestionCode entry(std::string_view list, int i);
};

// One line of a question file, decoded.
struct QuestionRecord {
    std::string line;

    // Columns 5-6.
    int stepCount() const;
    // From column 7; "|" stands for a line break.
    std::string text() const;
    // A text starting with "picture" carries the id of a bank picture; an empty id means none.
    bool hasPicture() const;
    std::string pictureId() const;
    std::string task() const;
};

// Set n: built sets 0-19, the units' own sets 20 + u.
struct QuestionSet {
    int n = 0;

    // Units whose own set lies below the texts file's number.
    static constexpr int LastUnit = 19;
    static QuestionSet ofUnit(int unit) { return {20 + unit}; }

    static std::string fileName(int number);  // "2888" + two digits + ".mxy"
    std::string stepsPath(const std::string& dataDir) const { return dataDir + fileName(n); }
    std::string questionPath(const std::string& dataDir) const { return dataDir + fileName(n + 50); }
};

using steps::stepCode;

// The records before the first blank one: the part of a question file that places runs.
std::vector<QuestionRecord> usableRecords(const std::vector<std::string>& decodedLines);

// Where each record's run begins: 1, then each start plus the record's step count.
// One more element than records.
std::vector<std::int32_t> firstStepLines(const std::vector<QuestionRecord>& records);

// A run is sound when it has at least one step, lies inside the file, and its only
// "9999" is its last record.
bool soundRun(const std::vector<std::string>& decodedSteps, long firstLine, int stepCount);

// The first `count` runs of a set, each checked as above.
bool soundSet(const std::vector<QuestionRecord>& records, int count, const std::vector<std::string>& decodedSteps);

// A step that holds the learner on its question for good.
struct StuckStep {
    int question = 0;  // from 1
    int step = 0;      // from 1 within its run
    std::string code;
    std::string why;

    // "question/step code (why)"
    std::string text() const;
};

// Steps of the first `count` runs that no learner can complete, in order: a context menu code
// whose tens digit names no item, a plain drag whose pointer never differs from the default, a
// rename whose answer has alternatives the rename box never offers, a picture code that moves
// nothing. Cursor files are looked for in programFolder, answers in textsPath.
std::vector<StuckStep> stuckSteps(const std::vector<QuestionRecord>& records, int count,
                                  const std::vector<std::string>& decodedSteps, const std::string& programFolder,
                                  const std::string& textsPath);

// A set built from a list: both files' bytes, line for line as the units hold them.
struct BuiltSet {
    std::vector<std::string> questionLines;
    std::vector<std::string> stepLines;
    bool sound = false;  // every entry found with a sound run
};

// Reads the units' own sets from the data folder. A unit file that cannot be read raises
// its error; an entry naming a unit past LastUnit, a question its unit does not have or a
// broken run leaves the set unsound.
BuiltSet buildSet(const std::string& dataDir, std::string_view list);

// Both files of set n replaced whole.
void writeSet(const std::string& dataDir, int n, const BuiltSet& set);

}  // namespace qz
