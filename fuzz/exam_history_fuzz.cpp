// The exam history (288892.mxy): read over its defaults, an exam recorded into it as the score
// report records one, and written back by the report's writer and the home screen's. Input: the
// file, 0x1E, then a byte each for the slot, the completed count and the exam's start.
#include <cmath>

#include "fuzz/learner_records_fuzz.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace {

// The leading number of a text; one beyond any double is no score, below every one.
double number(const std::string& text) {
    try {
        return platform::val(text);
    } catch (const platform::VbError&) {
        return -HUGE_VAL;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    const std::string path = recordsfuzz::dir() + qz::recordfile::ExamHistory;
    writeFile(path, parts.empty() ? "" : parts[0]);
    const auto read = qz::readExamHistory(qz::RecordOverlay(), path);
    if (!read) fail("a readable file read as unreadable");

    const std::string_view steer = parts.size() > 1 ? parts[1] : "";
    auto byte = [&](std::size_t k) { return k < steer.size() ? static_cast<unsigned char>(steer[k]) : 0; };
    // Slots and counts a little past both ends, and a start that may be any text of the file.
    const int slot = byte(0) % 36 - 1;
    const int completed = byte(1) % 43 - 1;
    const std::string start = byte(2) % 3 == 0 ? "-1" : byte(2) % 3 == 1 ? "2026-12-10 09:00:00" : read->line(1);
    const std::string now = "2026-12-10 09:30:00";

    qz::ExamHistory h = *read;
    qz::recordExam(h, slot, start, completed, now);
    const int time = 3 * slot + 1, best = 3 * slot + 2;
    for (int n = 1; n <= qz::ExamHistory::Lines; ++n)
        if (n != time && n != best && h.line(n) != read->line(n)) fail("a line of another record changed");
    if (time >= 1 && time <= qz::ExamHistory::Lines && h.line(time) != (start == "-1" ? now : start))
        fail("the exam's time not recorded");
    if (best >= 1 && best <= qz::ExamHistory::Lines && h.line(best) != read->line(best)) {
        if (start == "-1") fail("an exam with the answers shown changed the best score");
        if (h.line(best) != qz::scoreText(completed)) fail("a best score that is not this exam's");
        if (number(h.line(best)) <= number(read->line(best))) fail("the best score did not go up");
    }

    for (int records : {30, 31}) {
        try {
            qz::writeExamHistory(path, h, records);
        } catch (...) {
            continue;  // a disk that refuses: the record stays as it was
        }
        const auto back = qz::readExamHistory(qz::RecordOverlay(), path);
        if (!back) fail("a written history reads as unreadable");
        for (int n = 1; n <= 3 * records; ++n)
            if (back->line(n) != platform::decodeAnsi(platform::encodeAnsi(h.line(n)))) fail("a line read back otherwise");
        if (!back->line(3 * records + 1).empty()) fail("no closing empty line");
    }
    return 0;
}
