// A paper's wrong questions (1824NN.mxy): whole codes of the trimmed first line only, and the
// kept ones read back as written. Input: the file, 0x1E, one byte per entry, odd for done.
#include "fuzz/learner_records_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    const std::string path = recordsfuzz::dir() + qz::recordfile::paperWrong(3);
    writeFile(path, parts.empty() ? "" : parts[0]);
    auto codes = qz::readPaperWrong(qz::RecordOverlay(), path);
    if (!codes) fail("a readable file read as unreadable");
    const std::string_view done = parts.size() > 1 ? parts[1] : "";
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < codes->size(); ++i) {
        if (platform::charCount((*codes)[i]) != 4) fail("a code that is not four characters");
        if (i >= done.size() || (done[i] & 1) == 0) kept.push_back((*codes)[i]);
    }
    try {
        qz::writeRecordLine(path, qz::joinCodes(kept));
    } catch (...) {
        return 0;
    }
    const auto back = qz::readPaperWrong(qz::RecordOverlay(), path);
    if (!back || back->size() > kept.size()) fail("kept codes read back longer");
    return 0;
}
