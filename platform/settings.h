#pragma once
// A small registry stand-in: keys and named string values in an INI-like UTF-8 file.
// Key paths and value names compare case-insensitively (ASCII), as the registry does. The file is
// read on every call and replaced whole on every change, so several stores may share one file.
#include <optional>
#include <string>

namespace platform {

class SettingsStore {
public:
    explicit SettingsStore(std::string filePath);
    // 0 on success, else a registry-style error code (87 bad key path, 112 disk full,
    // 5 access denied, 3 folder missing and not creatable, 1016 other I/O failures).
    long createKey(const std::string& keyPath);
    // Creates the key when needed; data is stored whole, line breaks and all.
    long setValue(const std::string& keyPath, const std::string& name, const std::string& data);
    std::optional<std::string> value(const std::string& keyPath, const std::string& name) const;

private:
    std::string path_;
};

// $XDG_CONFIG_HOME (or ~/.config) + "/quorvane/registry.ini".
std::string defaultSettingsPath();

}  // namespace platform
