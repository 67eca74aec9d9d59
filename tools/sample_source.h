// Reading the UTF-8 "key = value" sources of sample/ and turning them into the module's contents.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qz::tools {

// Carries "file:line: what" so a bad source points at the line to fix.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Entry {
    std::string key, value;
    int line = 0;
};

struct SourceFile {
    std::filesystem::path path;
    std::vector<Entry> entries;  // in file order

    [[noreturn]] void fail(const Entry& at, const std::string& what) const;
};

// Lines starting with # (after blanks) are comments; blank lines are skipped; a UTF-8 BOM is
// allowed. Keys and values are trimmed; a value may be empty. Throws SourceError.
SourceFile readSource(const std::filesystem::path& file);

// The lines of ver.txt, as text (before the numeric encoding).
struct ModuleInfo {
    std::string code, title, folder, number;
    std::vector<std::string> units;

    std::vector<std::string> lines() const;
};
ModuleInfo readModuleInfo(const SourceFile& src);

inline constexpr int kProductInfoEntries = 41;
// All 41 entries, the ones not in the source empty.
std::vector<std::string> readProductInfo(const SourceFile& src);

// The home screen's notice: its text (the source's lines joined by the file's line break mark),
// its colour as a VB literal (&HBBGGRR) and the address it opens.
inline constexpr const char* kAdvertLineBreak = "◎";
std::vector<std::string> readAdvert(const SourceFile& src);

// Words for the pictures. Asking for a missing key throws; keys never asked for are reported by
// checkAllUsed, so the source and the drawing code cannot drift apart silently.
class SkinTexts {
public:
    explicit SkinTexts(SourceFile src);
    const std::string& operator[](const std::string& key) const;
    void checkAllUsed() const;

private:
    SourceFile src_;
    std::map<std::string, std::string> values_;
    mutable std::set<std::string> used_;
};

}  // namespace qz::tools
