#pragma once
// The learner's record readers on arbitrary files, with the invariants every caller relies
// on: flags fitted to their list, whole codes only, and what is written reads back the same.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "home/review_lists.h"
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

// The home screen's panels on a pair as read: the counts add up to the list, each practice
// takes its group in order (cut to the limit), and a clear keeps the other group in order
// with one flag per kept entry.
inline void reviewPanels(const qz::ReviewedList& list) {
    using fuzzsupport::fail;
    const auto counts = qz::review::count(list);
    if (counts.notReviewed + counts.reviewed != list.codes.size()) fail("counts do not add up to the list");
    const auto split = qz::review::split(list);
    for (int filter = 1; filter <= 3; ++filter) {
        const bool all = filter == 3;
        const auto inGroup = [&](std::size_t k) { return all || (filter == 2) == list.reviewed.isSet(k); };
        const auto& group = all ? list.codes : (filter == 2 ? split.reviewed : split.notReviewed);
        const auto practice = qz::review::practice(list, filter);
        const std::size_t want = std::min(group.size(), qz::review::PracticeLimit);
        if (practice.codes.size() != want || !std::equal(practice.codes.begin(), practice.codes.end(), group.begin()))
            fail("a practice does not take its group in order");
        for (std::size_t k = 1; k <= qz::review::PracticeLimit; ++k)
            if ((practice.doneBefore[k - 1] == "T") != (practice.questionState[k - 1] == 4))
                fail("done before and state disagree");

        const auto kept = qz::review::clear(list, filter);
        if (kept.reviewed.size() != kept.codes.size()) fail("new flags are not as long as the kept list");
        // Kept plus cleared is the list in order.
        std::size_t next = 0;
        for (std::size_t k = 1; k <= list.codes.size(); ++k) {
            if (inGroup(k)) continue;
            if (next >= kept.codes.size() || kept.codes[next] != list.codes[k - 1]) fail("a clear lost or moved an entry");
            if (kept.reviewed.isSet(next + 1) != list.reviewed.isSet(k)) fail("a kept entry changed its flag");
            ++next;
        }
        if (next != kept.codes.size()) fail("a clear kept an entry it cleared");
    }
}

// Input: list file, 0x1E, review file, 0x1E, a few bytes steering the worked entries.
inline void reviewedList(const std::uint8_t* data, std::size_t size, const char* listName, const char* reviewName) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
    const std::string list = dir() + listName, review = dir() + reviewName;
    writeFile(list, parts.size() > 0 ? parts[0] : "");
    writeFile(review, parts.size() > 1 ? parts[1] : "");
    auto read = qz::readReviewedList(qz::RecordOverlay(), list, review);
    if (!read) fail("a readable pair read as unreadable");
    if (read->reviewed.size() != read->codes.size()) fail("flags not fitted to the list");
    for (const auto& c : read->codes)
        if (platform::charCount(c) != 4) fail("a code that is not four characters");
    reviewPanels(*read);
    // The same bytes held for the run read as the files do.
    qz::RecordOverlay held;
    held.hold(list, std::string(parts.size() > 0 ? parts[0] : ""));
    held.hold(review, std::string(parts.size() > 1 ? parts[1] : ""));
    const auto viaHeld = qz::readReviewedList(held, list, review);
    if (!viaHeld || viaHeld->codes != read->codes || viaHeld->reviewed.text() != read->reviewed.text())
        fail("held bytes read otherwise than the same file");

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
    auto back = qz::readReviewedList(qz::RecordOverlay(), list, review);
    if (!back || back->codes.size() > worked.codes.size()) fail("written list reads back longer");
}

}  // namespace recordsfuzz
