// A question file and a steps file as a session reads them: the usable records, their
// fields, the step positions and the run check.
// Input: question file, 0x1E, steps file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "session/question_sets.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    auto lines = [&](std::size_t i) {
        return i < parts.size() ? platform::splitLines(platform::decodeAnsi(parts[i])) : std::vector<std::string>{};
    };
    const auto records = qz::usableRecords(lines(0));
    const auto steps = lines(1);
    for (const auto& r : records) {
        if (r.stepCount() < -9 || r.stepCount() > 99) fail("a two-column step count out of range");
        if (!r.pictureId().empty() && r.task() == r.text()) fail("a picture without its prefix cut");
    }
    const auto first = qz::firstStepLines(records);
    if (first.size() != records.size() + 1 || first.front() != 1) fail("step positions out of step with records");
    for (int count = 0; count <= static_cast<int>(records.size()) + 1; ++count) {
        if (!qz::soundSet(records, count, steps)) continue;
        if (count < 1 || count > static_cast<int>(records.size())) fail("a sound set of a count it cannot hold");
        for (int k = 0; k < count; ++k) {
            const long last = first[static_cast<std::size_t>(k + 1)] - 1;
            if (last < 1 || last > static_cast<long>(steps.size())) fail("a sound run outside the file");
            if (qz::stepCode(steps[static_cast<std::size_t>(last - 1)]) != "9999") fail("a sound run without its end");
        }
    }
    return 0;
}
