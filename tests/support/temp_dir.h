#pragma once
// Scratch folders and byte-exact fixture files for tests.
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    std::string path_;
};

void writeFileBytes(const std::string& path, std::string_view bytes);
// The names in a folder, sorted: what a write or a download left beside its file.
std::vector<std::string> namesIn(const std::string& dir);
std::string readFileBytes(const std::string& path);  // throws when the file cannot be read
// Each line followed by CR LF.
std::string crlf(const std::vector<std::string>& lines);

// UTF-8 text in GBK or GB18030 bytes, converted strictly (throws on a character without a form),
// independently of the program's own converters.
std::string gbkBytes(std::string_view utf8);
std::string gb18030Bytes(std::string_view utf8);

}  // namespace testsupport
