#include "net/update_list.h"

#include <algorithm>

#include "app/numeric_text.h"
#include "platform/http.h"
#include "platform/legacy_text.h"

namespace qz {

namespace {

bool beginsWith20(std::string_view s) { return s.substr(0, 2) == "20"; }

std::vector<std::string> splitAtSeparators(std::string_view s) {
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (c == '\\' || c == '/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool harmlessComponent(const std::string& part) {
    if (part.empty() || part == "." || part == "..") return false;
    for (char32_t c : platform::toU32(part))
        if (c == U':' || c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    return true;
}

}  // namespace

std::string updateListVersion(std::string_view answerText) {
    std::string_view line1 = answerText.substr(0, answerText.find_first_of("\r\n"));
    return platform::trimSpaces(platform::leftChars(platform::trimSpaces(line1), 12));
}

bool isListVersion(std::string_view version) {
    return version.size() == 12 &&
           std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> verDataFolderName(const std::vector<std::string>& verLines) {
    if (verLines.size() < 3) return std::nullopt;
    // Start-up skips a group that names no character, and so does this.
    return platform::trimSpaces(decodeNumericText(verLines[2], {}));
}

std::vector<std::string> checkedNameParts(std::string_view name) {
    std::vector<std::string> parts = splitAtSeparators(name);
    for (const std::string& part : parts)
        if (!harmlessComponent(part)) return {};
    return parts;
}

UpdateList readUpdateList(const std::vector<std::string>& lines, const std::string& dataFolderName,
                          const std::string& base) {
    UpdateList list;
    std::string folder, segment;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = platform::trimSpaces(lines[i]);
        if (platform::charCount(line) <= 18 || beginsWith20(line)) continue;
        UpdateEntry e;
        e.letter = platform::leftChars(line, 1);
        if (e.letter == "D") {
            folder = dataFolderName;
            segment = dataFolderName + "/";
        } else if (e.letter == "K") {
            folder = "ksdata";
            segment = "ksdata/";
        } else if (e.letter == "E") {
            folder = "examdata";
            segment = "examdata/";
        } else if (e.letter == "M") {
            folder.clear();
            segment.clear();
        }
        e.folder = folder;
        e.segment = segment;
        e.stamp = platform::midChars(line, 2, 12);
        e.name = platform::midChars(line, 14);
        const bool dotted = e.name.find('.') != std::string::npos;
        e.localName = dotted ? e.name : e.name + ".mxy";
        // The listed name itself is checked: an added ".mxy" must not mend a trailing separator.
        if (!checkedNameParts(e.name).empty()) e.localParts = checkedNameParts(e.localName);
        if (e.accepted()) {
            const long n = static_cast<long>(platform::charCount(e.name));
            const std::string serverName = (dotted ? platform::leftChars(e.name, n > 4 ? n - 4 : 0) : e.name) + ".rar";
            std::string url = base;
            bool first = true;
            for (const std::string& part : splitAtSeparators(segment + serverName)) {
                if (!first) url += '/';
                url += platform::percentEncode(part);
                first = false;
            }
            e.serverUrl = url;
        }
        list.entries.push_back(std::move(e));
    }
    return list;
}

}  // namespace qz
