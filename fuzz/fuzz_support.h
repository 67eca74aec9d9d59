#pragma once
// Shared pieces of the fuzz targets: one input cut into several files and a scratch folder
// that lives as long as the fuzzer.
#include <string>
#include <string_view>
#include <vector>

namespace fuzzsupport {

// The files of one input, cut at each 0x1E byte: no GBK or GB18030 text holds that byte, so
// every file can still carry any character. The last part keeps the rest, separators and all;
// an input with fewer separators gives fewer parts.
std::vector<std::string_view> splitParts(std::string_view data, std::size_t maxParts);

// A folder under TMPDIR (else /dev/shm, else /tmp), removed when the process ends normally.
const std::string& scratchDir();
void writeFile(const std::string& path, std::string_view bytes);
// A folder, with its parents, that must be there.
void makeDir(const std::string& path);

// A sound ver.txt, in the installation's digit encoding, naming the data folder "data".
const std::string& moduleVer();

// A finding that is no sanitizer's: reported like a crash, so the fuzzer keeps the input.
[[noreturn]] void fail(const char* what);

}  // namespace fuzzsupport
