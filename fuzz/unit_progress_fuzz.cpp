// The unit progress (288893.mxy): at most 26 lines, each settable at any question, and
// written back as the units and an empty line. Input: the file, 0x1E, steering bytes.
#include "fuzz/learner_records_fuzz.h"
#include <algorithm>

#include "platform/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    const std::string path = recordsfuzz::dir() + "288893.mxy";
    writeFile(path, parts.empty() ? "" : parts[0]);
    auto lines = qz::readUnitProgress(qz::RecordOverlay(), path);
    if (!lines) fail("a readable file read as unreadable");
    if (lines->size() > 26) fail("more than 26 units");
    lines->resize(26);
    const std::string_view steer = parts.size() > 1 ? parts[1] : "";
    for (std::size_t i = 0; i + 1 < steer.size(); i += 2) {
        auto& line = (*lines)[static_cast<unsigned char>(steer[i]) % 26];
        qz::FlagLine flags(line);
        const std::size_t q = static_cast<unsigned char>(steer[i + 1]) % 100;
        flags.set(q);
        if (q >= 1 && !flags.isSet(q)) fail("the flag did not land on its question");
        line = flags.text();
    }
    const int units = steer.empty() ? 3 : static_cast<unsigned char>(steer[0]) % 30;
    try {
        qz::writeUnitProgress(path, *lines, units);
    } catch (...) {
        return 0;
    }
    const auto back = platform::readRawLines(path);
    const std::size_t want = static_cast<std::size_t>(std::min(units, 26)) + 1;
    if (back.size() < want || !back.back().empty()) fail("progress file does not end with an empty line");
    return 0;
}
