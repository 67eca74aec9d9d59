#pragma once
// The learner's record readers on arbitrary files, with the invariants every caller relies
// on: flags fitted to their list, whole codes only, and what is written reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/legacy_text.h"
#include "session/learner_records.h"

namespace recordsfuzz {

inline std::string dir() {
    static const std::string d = [] {
        std::string s = fuzzsupport::scratchDir() + "/ksdata/";
        fuzzsupport::makeDir(s);
        return s;
    }();
    return d;
}

// Input: list file, 0x1E, review file, 0x1E, a few bytes steering the worked entries.
inline void reviewedList(const std::uint8_t* data, std::size_t size, const char* listName, const char* reviewName) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
    const std::string list = dir() + listName, review = dir() + reviewName;
    writeFile(list, parts.size() > 0 ? parts[0] : "");
    writeFile(review, parts.size() > 1 ? parts[1] : "");
    auto read = qz::readReviewedList(list, review);
    if (!read) fail("a readable pair read as unreadable");
    if (read->reviewed.size() != read->codes.size()) fail("flags not fitted to the list");
    for (const auto& c : read->codes)
        if (platform::charCount(c) != 4) fail("a code that is not four characters");

    // Worked entries from the steering bytes: a code of the list or a new one, done, marked.
    std::vector<qz::WorkedEntry> entries;
    const std::string_view steer = parts.size() > 2 ? parts[2] : "";
    for (unsigned char b : steer) {
        std::string code = !read->codes.empty() && (b & 1) ? read->codes[(b >> 3) % read->codes.size()]
                                                           : "00" + std::to_string(10 + (b >> 3) % 90);
        entries.push_back({code, (b & 2) != 0, (b & 4) != 0});
    }
    qz::ReviewedList worked = *read;
    worked.reviewed.markInOrder([&](std::size_t k) { return k <= entries.size() && entries[k - 1].done; });
    qz::addMarked(worked, entries);
    qz::removeUnmarked(worked, entries);
    if (worked.reviewed.size() != worked.codes.size()) fail("flags lost their list");
    for (const auto& e : entries)
        if (e.marked && worked.find(e.code) == 0) fail("a marked code is not in the favourites");

    try {
        qz::writeReviewedList(list, review, worked);
    } catch (...) {
        return;  // a code the code page cannot hold
    }
    auto back = qz::readReviewedList(list, review);
    if (!back || back->codes.size() > worked.codes.size()) fail("written list reads back longer");
}

}  // namespace recordsfuzz
