#pragma once
// The update server's file list: its version line and its entries, read without touching disk,
// so what a server sends is checked before anything is written or requested.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

struct UpdateEntry {
    std::string letter;     // the type letter as listed
    std::string stamp;      // the server's stamp, twelve characters as listed
    std::string name;       // as listed, "\" or "/" between folders
    std::string folder;     // below the program folder: "", the data folder's name, "ksdata", "examdata"
    std::string segment;    // the folder's part of the server path: "" or the folder and "/"
    std::string localName;  // the name, with ".mxy" when it has no "."
    // The local name split at its separators; empty when the name was refused.
    std::vector<std::string> localParts;
    // Base, segment and server name, each component percent-encoded; empty when refused.
    std::string serverUrl;
    bool accepted() const { return !localParts.empty(); }
};

struct UpdateList {
    std::vector<UpdateEntry> entries;
};

// The version a list answer names: its first line, trimmed, cut to twelve characters.
std::string updateListVersion(std::string_view answerText);

// Whether a version can be compared and checked against the list it announces: twelve digits,
// a time stamp YYYYMMDDHHMM.
bool isListVersion(std::string_view version);

// The data folder a ver.txt of these lines (decoded, as readLines gives them) names at
// start-up: its third line, digit groups decoded, trimmed; none when it has no third line.
std::optional<std::string> verDataFolderName(const std::vector<std::string>& verLines);

// A listed name may name only files below its folder: components split at "\" and "/", none
// empty, ".", ".." or holding ":" or a control character. The components, or none when refused.
std::vector<std::string> checkedNameParts(std::string_view name);

// Reads the list's lines (decoded text) in order. An unknown letter keeps the previous entry's
// folder, the program folder before the first. base ends with "/".
UpdateList readUpdateList(const std::vector<std::string>& lines, const std::string& dataFolderName,
                          const std::string& base);

}  // namespace qz
