// The random papers (ksdata/288891.mxy) as the paper list reads them, and the deletion of the
// paper at any index with the history and the wrong-question files it moves. Input: papers
// file, 0x1E, history file, 0x1E, steering bytes: the first picks the index, the next two
// which slots of 20 to 30 have a wrong-question file.
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "fuzz/learner_records_fuzz.h"
#include "home/paper_records.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace {

// What the program makes of a text it writes and reads back: characters its code page lacks
// come back as "?".
std::string asWritten(const std::string& text) { return platform::decodeAnsi(platform::encodeAnsi(text)); }

std::optional<std::string> bytesOf(const std::string& path) { return platform::readBytes(path); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fuzzsupport;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
    const std::string folder = scratchDir();
    recordsfuzz::dir();
    const std::string papersPath = qz::recordfile::path(folder, qz::recordfile::RandomPapers);
    const std::string historyPath = qz::recordfile::path(folder, qz::recordfile::ExamHistory);
    writeFile(papersPath, parts.size() > 0 ? parts[0] : "");
    writeFile(historyPath, parts.size() > 1 ? parts[1] : "");
    const std::string_view steer = parts.size() > 2 ? parts[2] : "";
    auto byte = [&](std::size_t i) { return i < steer.size() ? static_cast<unsigned char>(steer[i]) : 0u; };
    const unsigned present = byte(1) | byte(2) << 8;
    auto wrongPath = [&](int slot) { return qz::recordfile::path(folder, qz::recordfile::paperWrong(slot)); };
    for (int s = 20; s <= 30; ++s) {
        if (present >> (s - 20) & 1)
            writeFile(wrongPath(s), "00" + std::to_string(s) + "\r\n");
        else
            std::filesystem::remove(wrongPath(s));
    }

    const auto papers = qz::readRandomPapers(qz::RecordOverlay(), papersPath);
    if (!papers) fail("a readable papers file read as unreadable");
    if (papers->size() > 15) fail("more than fifteen papers read");
    for (const auto& p : *papers)
        if (platform::trimSpaces(p).empty()) fail("a blank line read as a paper");
    const auto history = qz::readExamHistory(qz::RecordOverlay(), historyPath);
    if (!history) fail("a readable history read as unreadable");

    // As the paper list counts them; the index may lie anywhere around the random slots.
    const int listed = std::min(static_cast<int>(papers->size()), qz::RandomPaperLimit);
    const int slot = 17 + static_cast<int>(byte(0) % 16);
    const int last = 19 + listed;
    std::map<int, std::optional<std::string>> wrongBefore;
    for (int s = 20; s <= 30; ++s) wrongBefore[s] = bytesOf(wrongPath(s));

    std::vector<qz::RecordWrite> writes;
    try {
        writes = qz::deletionRecords(qz::RecordOverlay(), folder, slot, listed);
    } catch (const platform::VbError&) {
        fail("a readable record raised");
    }
    if (slot < 20 || slot > last) {
        if (!writes.empty()) fail("a slot not listed was deleted");
        return 0;
    }
    try {
        std::vector<qz::RecordBytes> group;
        for (const auto& w : writes) group.push_back(w.planned());
        qz::writeRecordGroup(group);
    } catch (...) {
        return 0;
    }

    const auto after = qz::readRandomPapers(qz::RecordOverlay(), papersPath);
    if (!after || static_cast<int>(after->size()) != listed - 1) fail("not one paper less listed");
    for (int k = 1; k < listed; ++k) {
        const int from = k < slot - 19 ? k : k + 1;
        if ((*after)[static_cast<std::size_t>(k - 1)] != asWritten((*papers)[static_cast<std::size_t>(from - 1)]))
            fail("a paper moved to the wrong line");
    }
    const auto historyAfter = qz::readExamHistory(qz::RecordOverlay(), historyPath);
    if (!historyAfter) fail("the written history cannot be read");
    for (int s = 0; s < 30; ++s) {
        const int from = s < slot || s >= last ? s : s + 1;
        for (int n = 1; n <= 3; ++n)
            if (historyAfter->line(3 * s + n) != asWritten(history->line(3 * from + n)))
                fail("a history record moved to the wrong slot");
    }
    for (int s = 20; s <= 30; ++s) {
        const auto now = bytesOf(wrongPath(s));
        if (s < slot || s >= last) {
            if (now != wrongBefore[s]) fail("a wrong-question file outside the move changed");
        } else if (now != wrongBefore[s + 1].value_or("\r\n")) {
            fail("a wrong-question file did not take the next slot's");
        }
    }
    return 0;
}
