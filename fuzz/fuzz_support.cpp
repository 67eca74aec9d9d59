#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files.h"

namespace fuzzsupport {

std::vector<std::string_view> splitParts(std::string_view data, std::size_t maxParts) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const std::size_t cut = data.find('\x1e');
        if (cut == std::string_view::npos) break;
        parts.push_back(data.substr(0, cut));
        data.remove_prefix(cut + 1);
    }
    parts.push_back(data);
    return parts;
}

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        // Files are rewritten, and synced, for every input: memory beats disk by far.
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp && *tmp ? tmp : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/qzfuzz.XXXXXX";
        if (!::mkdtemp(pattern.data())) fail("cannot create a scratch folder");
        path = pattern;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::string& scratchDir() {
    static Scratch s;
    return s.path;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) fail("cannot write a scratch file");
}

void makeDir(const std::string& path) {
    if (!platform::makeDir(path)) fail("cannot create a scratch folder");
}

const std::string& moduleVer() {
    static const std::string ver = [] {
        std::string out;
        for (const char* line : {"huitu", "CAD", "data", "7"}) {
            // The installation's digit encoding of ASCII: base 200000.
            for (const char* c = line; *c; ++c) out += std::to_string(200000 + static_cast<unsigned char>(*c));
            out += "\r\n";
        }
        return out;
    }();
    return ver;
}

void fail(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

}  // namespace fuzzsupport
