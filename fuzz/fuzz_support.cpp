#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

class FailedRequest : public platform::HttpRequest {
public:
    int readyState() override { return 4; }
    bool failed() const override { return true; }
    std::string responseBody() override { return {}; }
    void wait(int) override {}
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
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) fail("cannot create a scratch folder");
}

std::string numericAscii(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += std::to_string(200000 + static_cast<unsigned char>(c));
    return out;
}

std::unique_ptr<platform::HttpRequest> NoNetwork::get(const std::string&) { return std::make_unique<FailedRequest>(); }

std::unique_ptr<platform::HttpRequest> NoNetwork::download(const std::string&, const std::string&, std::int64_t) {
    return std::make_unique<FailedRequest>();
}

void fail(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

}  // namespace fuzzsupport
