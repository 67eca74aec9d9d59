// The module's files in the program's legacy on-disk formats.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qz::tools {

// Each character becomes six decimal digits, 200000 + its ANSI code (a double-byte character's
// code being lead * 256 + trail): "abc" -> "200097200098200099", "啊" -> "245217".
std::string numericText(std::string_view utf8);

// Writes UTF-8 lines as GBK with CR LF after every line, replacing the file.
void writeLegacyText(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace qz::tools
