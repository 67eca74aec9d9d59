#include "tools/sample_source.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

#include "platform/legacy_text.h"

namespace qz::tools {

namespace {

std::string trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

// The legacy files are GBK: a value that does not survive the round trip would be written as '?'.
void requireGbk(const SourceFile& src, const Entry& e) {
    if (platform::decodeAnsi(platform::encodeAnsi(e.value)) != e.value) {
        src.fail(e, "\"" + e.value + "\" has a character that GBK cannot hold");
    }
}

bool isDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void SourceFile::fail(const Entry& at, const std::string& what) const {
    throw SourceError(path.string() + ":" + std::to_string(at.line) + ": " + what);
}

SourceFile readSource(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file.string() + ": cannot be read");
    SourceFile src{file, {}};
    std::string raw;
    for (int n = 1; std::getline(in, raw); ++n) {
        std::string_view line = raw;
        if (n == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        const std::string t = trim(line);
        if (t.empty() || t.front() == '#') continue;
        const auto eq = t.find('=');
        Entry e{trim(std::string_view(t).substr(0, eq)), "", n};
        if (eq == std::string::npos || e.key.empty()) src.fail(e, "expected \"key = value\"");
        e.value = trim(std::string_view(t).substr(eq + 1));
        src.entries.push_back(std::move(e));
    }
    return src;
}

std::vector<std::string> ModuleInfo::lines() const {
    std::vector<std::string> out{code, title, folder, number};
    out.insert(out.end(), units.begin(), units.end());
    return out;
}

ModuleInfo readModuleInfo(const SourceFile& src) {
    ModuleInfo m;
    std::map<std::string, std::string*> single{
        {"code", &m.code}, {"title", &m.title}, {"folder", &m.folder}, {"number", &m.number}};
    std::set<std::string> seen;
    for (const Entry& e : src.entries) {
        requireGbk(src, e);
        if (e.key == "unit") {
            if (e.value.empty()) src.fail(e, "a unit needs a name");
            m.units.push_back(e.value);
            continue;
        }
        const auto it = single.find(e.key);
        if (it == single.end()) src.fail(e, "unknown key \"" + e.key + "\"");
        if (!seen.insert(e.key).second) src.fail(e, "\"" + e.key + "\" is given twice");
        *it->second = e.value;
        if (e.key == "folder" && (e.value.empty() || e.value == "." || e.value == ".." ||
                                  e.value.find_first_of("/\\:") != std::string::npos)) {
            src.fail(e, "the folder must be a plain folder name");
        }
        if (e.key == "number" && !isDigits(e.value)) src.fail(e, "the number must be digits");
    }
    for (const auto& [key, value] : single) {
        if (!seen.contains(key)) throw SourceError(src.path.string() + ": \"" + key + "\" is missing");
    }
    return m;
}

std::vector<std::string> readProductInfo(const SourceFile& src) {
    std::vector<std::string> entries(kProductInfoEntries);
    std::set<int> seen;
    for (const Entry& e : src.entries) {
        int index = -1;
        const auto* end = e.key.data() + e.key.size();
        const auto [ptr, ec] = std::from_chars(e.key.data(), end, index);
        if (ec != std::errc{} || ptr != end || index < 0 || index >= kProductInfoEntries) {
            src.fail(e, "the key must be an entry number 0.." + std::to_string(kProductInfoEntries - 1));
        }
        if (!seen.insert(index).second) src.fail(e, "entry " + e.key + " is given twice");
        requireGbk(src, e);
        entries[static_cast<std::size_t>(index)] = e.value;
    }
    return entries;
}

std::vector<std::string> readAdvert(const SourceFile& src) {
    std::string text, colour, link;
    bool haveColour = false, haveLink = false;
    for (const Entry& e : src.entries) {
        requireGbk(src, e);
        if (e.key == "line") {
            if (e.value.find(kAdvertLineBreak) != std::string::npos) {
                src.fail(e, std::string("a line cannot hold ") + kAdvertLineBreak + ", the file's line break");
            }
            text += (text.empty() ? "" : kAdvertLineBreak) + e.value;
        } else if (e.key == "colour" || e.key == "link") {
            bool& have = e.key == "colour" ? haveColour : haveLink;
            if (have) src.fail(e, "\"" + e.key + "\" is given twice");
            have = true;
            if (e.key == "colour") {
                const std::string_view v = e.value;
                const bool hex = v.size() > 2 && v.size() <= 8 && (v.starts_with("&H") || v.starts_with("&h")) &&
                                 std::all_of(v.begin() + 2, v.end(),
                                             [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
                if (!hex) src.fail(e, "the colour is a VB literal, &H and up to six hex digits");
                colour = e.value;
            } else {
                link = e.value;
            }
        } else {
            src.fail(e, "unknown key \"" + e.key + "\"");
        }
    }
    if (text.empty()) throw SourceError(src.path.string() + ": the notice needs at least one line");
    if (!haveColour || !haveLink) throw SourceError(src.path.string() + ": \"colour\" and \"link\" are both needed");
    return {text, colour, link};
}

SkinTexts::SkinTexts(SourceFile src) : src_(std::move(src)) {
    for (const Entry& e : src_.entries) {
        if (!values_.emplace(e.key, e.value).second) src_.fail(e, "\"" + e.key + "\" is given twice");
    }
}

const std::string& SkinTexts::operator[](const std::string& key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) throw SourceError(src_.path.string() + ": \"" + key + "\" is missing");
    used_.insert(key);
    return it->second;
}

void SkinTexts::checkAllUsed() const {
    for (const Entry& e : src_.entries) {
        if (!used_.contains(e.key)) src_.fail(e, "\"" + e.key + "\" is not used by any picture");
    }
}

}  // namespace qz::tools
