#include "simwindow/step_record.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace qz::steps {

std::string field(const std::string& record, int a, int b) { return platform::midChars(record, a, b - a + 1); }

double fieldValue(const std::string& record, int a, int b) { return platform::val(field(record, a, b)); }

std::int16_t field16(const std::string& record, int a, int b) { return platform::cint(fieldValue(record, a, b)); }

bool allZeros(const std::string& record, int a, int b) {
    return field(record, a, b) == std::string(static_cast<std::size_t>(b - a + 1), '0');
}

std::int32_t stepCodeValue(const std::string& code) {
    const char first = code.empty() ? '\0' : code[0];
    std::int32_t base = first == 'A' ? 10000 : first == 'B' ? 11000 : first == 'C' ? 50000 : -1;
    if (base < 0) return platform::clng(platform::val(code));
    return base + platform::clng(platform::val(platform::rightChars(code, 3)));
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForReading(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) platform::raise(errno == ENOENT ? 53 : 75);
    return File(f);
}

// Calls visit(lineBytes) for each line from the start, CR LF, lone CR or lone LF ending it,
// until visit returns false.
template <class Visit>
void eachLine(std::FILE* f, Visit&& visit) {
    static constexpr std::size_t Chunk = 1 << 16;
    std::unique_ptr<char[]> buf(new char[Chunk]);
    std::string line;
    bool pendingCr = false;
    bool any = false;  // bytes of an unterminated line are waiting
    for (;;) {
        const std::size_t got = std::fread(buf.get(), 1, Chunk, f);
        if (got == 0) break;
        std::size_t start = 0;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = buf[i];
            if (c != '\r' && c != '\n') continue;
            if (c == '\n' && pendingCr && i == start) {
                pendingCr = false;
                start = i + 1;
                continue;
            }
            line.append(buf.get() + start, i - start);
            pendingCr = c == '\r';
            start = i + 1;
            any = false;
            if (!visit(line)) return;
            line.clear();
        }
        if (start < got) {
            line.append(buf.get() + start, got - start);
            pendingCr = false;
            any = true;
        }
    }
    if (any) visit(line);
}

}  // namespace

std::optional<std::string> numberedLine(const std::string& path, long n) {
    File f = openForReading(path);
    long count = 0;
    std::optional<std::string> last;
    eachLine(f.get(), [&](const std::string& bytes) {
        last = bytes;
        return ++count != n;
    });
    if (!last) return std::nullopt;
    return platform::decodeAnsi(*last);
}

std::string textOf(const std::string& line) { return platform::midChars(line, 4); }

int questionStepCount(const std::string& path, long firstLine) {
    File f = openForReading(path);
    long count = 0;
    int steps = 0;
    eachLine(f.get(), [&](const std::string& bytes) {
        if (++count < firstLine) return true;
        ++steps;
        return field(platform::decodeAnsi(bytes), 8, 11) != "9999";
    });
    return steps < 1 ? 1 : steps;
}

int remapKey(int kk) {
    if (kk == 15) kk = 115;
    if (kk == 20) kk = 120;
    if (kk == 91) kk = 191;
    if (kk == 3) kk = 113;
    if (kk == 99) kk = 190;
    if (kk == 2) kk = 13;
    return kk;
}

}  // namespace qz::steps
