#include "platform/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace platform {
namespace {

struct Key {
    std::string path;
    std::vector<std::pair<std::string, std::string>> values;
};
using Model = std::vector<Key>;

// "\\Software\\\\Q\\" and "Software\\Q" name the same key.
std::optional<std::string> normalizeKey(std::string_view keyPath) {
    std::string out;
    for (char c : keyPath) {
        if (c == '\r' || c == '\n') return std::nullopt;
        if (c == '/') c = '\\';
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == '\\') out.pop_back();
    if (out.empty()) return std::nullopt;
    return out;
}

// Values and names may hold anything; a backslash escape keeps each entry on one line.
std::string escape(std::string_view s, bool isName) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (isName && (c == '=' || (out.empty() && (c == '[' || c == ';'))))
            out += '\\', out += c;
        else
            out += c;
    }
    return out;
}

std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

std::optional<Model> load(const std::string& path) {
    Model model;
    if (!fileExists(path)) return dirExists(path) ? std::nullopt : std::optional(model);
    const auto bytes = readBytes(path);
    if (!bytes) return std::nullopt;
    for (const auto& line : splitLines(*bytes)) {
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            model.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        if (model.empty()) continue;
        std::size_t eq = 0;
        while (eq < line.size() && line[eq] != '=') eq += line[eq] == '\\' ? 2 : 1;
        if (eq >= line.size()) continue;
        model.back().values.emplace_back(unescape(std::string_view(line).substr(0, eq)),
                                         unescape(std::string_view(line).substr(eq + 1)));
    }
    return model;
}

long save(const std::string& path, const Model& model) {
    std::string text;
    for (const auto& key : model) {
        text += "[" + key.path + "]\n";
        for (const auto& [name, data] : key.values) text += escape(name, true) + "=" + escape(data, false) + "\n";
        text += "\n";
    }
    try {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && slash > 0) makeDir(path.substr(0, slash));
        writeBytesReplace(path, text, FolderSync::BestEffort);
        return 0;
    } catch (const VbError& e) {
        switch (e.number) {
            case 61:
                return 112;
            case 70:
                return 5;
            case 76:
                return 3;
            default:
                return 1016;
        }
    }
}

Key& findOrAdd(Model& model, const std::string& keyPath) {
    for (auto& k : model)
        if (asciiIEqual(k.path, keyPath)) return k;
    return model.emplace_back(Key{keyPath, {}});
}

}  // namespace

SettingsStore::SettingsStore(std::string filePath) : path_(std::move(filePath)) {}

long SettingsStore::createKey(const std::string& keyPath) {
    const auto key = normalizeKey(keyPath);
    if (!key) return 87;
    auto model = load(path_);
    if (!model) return 1016;
    const std::size_t before = model->size();
    findOrAdd(*model, *key);
    return model->size() == before ? 0 : save(path_, *model);
}

long SettingsStore::setValue(const std::string& keyPath, const std::string& name, const std::string& data) {
    const auto key = normalizeKey(keyPath);
    if (!key) return 87;
    auto model = load(path_);
    if (!model) return 1016;
    auto& values = findOrAdd(*model, *key).values;
    const auto it =
        std::find_if(values.begin(), values.end(), [&](const auto& v) { return asciiIEqual(v.first, name); });
    if (it != values.end())
        it->second = data;
    else
        values.emplace_back(name, data);
    return save(path_, *model);
}

std::optional<std::string> SettingsStore::value(const std::string& keyPath, const std::string& name) const {
    const auto key = normalizeKey(keyPath);
    const auto model = key ? load(path_) : std::nullopt;
    if (!model) return std::nullopt;
    for (const auto& k : *model) {
        if (!asciiIEqual(k.path, *key)) continue;
        for (const auto& [n, d] : k.values)
            if (asciiIEqual(n, name)) return d;
    }
    return std::nullopt;
}

std::string defaultSettingsPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/quorvane/registry.ini";
}

}  // namespace platform
