// The step files and the texts file of a question set: fixed-column records read by
// characters after decoding, and numbered lines found by counting from the file's start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qz::steps {

inline constexpr int RecordLength = 196;

// Columns a to b (from 1) of a record, as text; columns past the end read as "".
std::string field(const std::string& record, int a, int b);
// The leading number of a field.
double fieldValue(const std::string& record, int a, int b);
// The step's four-character code, columns 8 to 11.
std::string stepCode(const std::string& record);
// A position or size field as a 16-bit value; above 32767 is the platform's overflow.
std::int16_t field16(const std::string& record, int a, int b);
// True when every column a to b holds "0".
bool allZeros(const std::string& record, int a, int b);

// The value of a four-character step code: "A", "B" or "C" and three digits are the menu
// families 10000, 11000 and 50000; anything else is its leading number. An exponent form
// beyond 32 bits ("1E99") is the platform's overflow.
std::int32_t stepCodeValue(const std::string& code);

// Line n (from 1) of a CP936 file, decoded; a number below 1 or past the end gives the
// last line. nullopt for an empty file. Errors as platform::readLines. The file is read once,
// from its start, and no further than the line asked for.
std::optional<std::string> numberedLine(const std::string& path, long n);

// A texts-file line's text: from its fourth character.
std::string textOf(const std::string& line);

// What a hint shown by a typing step already carries: its "输入 " prefix, and the ending of
// the typed menu code.
struct HintMarks {
    bool prefixed = false;
    bool ended = false;
};
// The hint a typing step ("0020", "0021", "A111") shows: "输入 " and the caption up to its
// first "|", with the ending for "A111". A hint carried over from an earlier step keeps what
// that step gave it, the prefix once and the ending once. Other codes leave both alone.
std::string typingHint(const std::string& code, const std::string& caption, bool carried, HintMarks& marks);

// How many steps the question starting at firstLine has: up to and including its "9999"
// record, or to the end of the file when it has none (at least 1).
int questionStepCount(const std::string& path, long firstLine);

// The standard pointer a step's pointer number names: 0 to 15; any other number is the
// default, 0.
int standardPointer(const std::string& number);

// The key a "6SKK" code expects for its two digits.
int remapKey(int kk);

}  // namespace qz::steps
