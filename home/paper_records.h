// The random papers: drawing one, and what a draw or a deletion makes of the learner's paper
// records. Every new content is computed from the files as they are before the first of them
// is written, so that a failure in between leaves each file whole, old or new.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/records.h"
#include "platform/clock.h"
#include "session/record_group.h"

namespace qz {

// Slots 20 to 29; a draw keeps at most this many papers.
inline constexpr int RandomPaperLimit = 10;
inline constexpr int FirstRandomSlot = 20;
inline constexpr int PaperCodes = 40;

// A paper of 40 distinct codes in draw order, each unit with questions as likely as any other
// at every draw; unitCounts[u] is unit u's question count. No value when the units hold fewer
// than 40 questions, or when the generator has given nothing new for so long that only a
// broken one could be behind it.
std::optional<std::string> drawPaperCodes(const std::vector<int>& unitCounts, platform::RandomNumbers& random);

// One record file replaced whole: text lines, or bytes copied as they are.
struct RecordWrite {
    std::string path;
    std::vector<std::string> lines;
    std::optional<std::string> bytes;

    RecordBytes planned() const;
};

// A new paper drawn while `listed` random papers are listed: the papers file (the new one, then
// the first nine of the file), the history (slot 20 the new paper at `time`, the old random
// slots one down), the wrong-question files one slot down, highest first, and slot 20's emptied.
// Raises when one of the files exists but cannot be read. Files the launch holds read as it holds them.
std::vector<RecordWrite> drawRecords(const RecordOverlay& held, const std::string& programFolder,
                                     const std::string& paper, int listed, const std::string& time);

// The random paper of `slot` deleted while `listed` are listed: the papers, the wrong-question
// files and the history records after it move up one. Nothing for a slot not listed. Raises as
// drawRecords does.
std::vector<RecordWrite> deletionRecords(const RecordOverlay& held, const std::string& programFolder, int slot,
                                         int listed);

}  // namespace qz
