#pragma once
// Shared pieces of the fuzz targets: one input cut into several files, a scratch program
// folder that lives as long as the fuzzer, and a network that is never there.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http.h"

namespace fuzzsupport {

// The files of one input, cut at each 0x1E byte: no GBK or GB18030 text holds that byte, so
// every file can still carry any character. The last part keeps the rest, separators and all;
// an input with fewer separators gives fewer parts.
std::vector<std::string_view> splitParts(std::string_view data, std::size_t maxParts);

// A folder under TMPDIR (else /dev/shm, else /tmp), removed when the process ends normally.
const std::string& scratchDir();
void writeFile(const std::string& path, std::string_view bytes);
void makeDir(const std::string& path);

// The installation's digit encoding of an ASCII text (base 200000).
std::string numericAscii(std::string_view ascii);

// Every request fails at once, so an error report costs no waiting.
class NoNetwork : public platform::HttpClient {
public:
    std::unique_ptr<platform::HttpRequest> get(const std::string& url) override;
    std::unique_ptr<platform::HttpRequest> download(const std::string& url, const std::string& targetPath,
                                                    std::int64_t maxBytes) override;
};

// A finding that is no sanitizer's: reported like a crash, so the fuzzer keeps the input.
[[noreturn]] void fail(const char* what);

}  // namespace fuzzsupport
