#include "tests/support/temp_dir.h"

#include <iconv.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    std::string tmpl = "/tmp/qz-test-XXXXXX";
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

namespace {
std::string convert(const char* to, std::string_view utf8) {
    iconv_t cd = iconv_open(to, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out(utf8.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(utf8.data());
    std::size_t left = utf8.size();
    char* dst = out.data();
    std::size_t room = out.size();
    const std::size_t r = iconv(cd, &src, &left, &dst, &room);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("text has no form in " + std::string(to));
    out.resize(out.size() - room);
    return out;
}
}  // namespace

std::string gbkBytes(std::string_view utf8) { return convert("GBK", utf8); }
std::string gb18030Bytes(std::string_view utf8) { return convert("GB18030", utf8); }

std::vector<std::string> namesIn(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace testsupport
