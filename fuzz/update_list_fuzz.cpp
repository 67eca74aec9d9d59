// The update server's file list, read as the update window reads the list it has stored, and
// a ver.txt it brings, read for the data folder it would name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "net/update_list.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string base = "http://h/up/tgmhb/CAD/";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    for (const std::string& raw : platform::splitLines(bytes)) lines.push_back(platform::decodeAnsi(raw));
    qz::isListVersion(qz::updateListVersion(platform::decodeAnsi(bytes)));
    // The same bytes as a ver.txt an update brings.
    qz::verDataFolderName(lines);
    for (const qz::UpdateEntry& e : qz::readUpdateList(lines, "data", base).entries) {
        if (!e.accepted()) {
            if (!e.serverUrl.empty()) fail("a refused name has a server address");
            continue;
        }
        for (const std::string& part : e.localParts)
            if (part.empty() || part == "." || part == ".." || part.find_first_of("/\\:") != std::string::npos)
                fail("an accepted name could leave its folder");
        if (e.serverUrl.compare(0, base.size(), base) != 0) fail("a server path left the base");
        if (e.serverUrl.find("/../") != std::string::npos) fail("a server path climbs");
    }
    return 0;
}
