#include "simwindow/step_record.h"

#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace qz::steps {

std::string field(const std::string& record, int a, int b) { return platform::midChars(record, a, b - a + 1); }

std::string stepCode(const std::string& record) { return field(record, 8, 11); }

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

std::optional<std::string> numberedLine(const std::string& path, long n) {
    long count = 0;
    std::optional<std::string> last;
    platform::forEachRawLine(path, [&](const std::string& bytes) {
        last = bytes;
        return ++count != n;
    });
    if (!last) return std::nullopt;
    return platform::decodeAnsi(*last);
}

std::string textOf(const std::string& line) { return platform::midChars(line, 4); }

int questionStepCount(const std::string& path, long firstLine) {
    long count = 0;
    int steps = 0;
    platform::forEachRawLine(path, [&](const std::string& bytes) {
        if (++count < firstLine) return true;
        ++steps;
        return stepCode(platform::decodeAnsi(bytes)) != "9999";
    });
    return steps < 1 ? 1 : steps;
}

int standardPointer(const std::string& number) {
    const double n = platform::val(number);
    return n >= 0 && n <= 15 && n == static_cast<int>(n) ? static_cast<int>(n) : 0;
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

std::string typingHint(const std::string& code, const std::string& caption, bool carried, HintMarks& marks) {
    const bool prefixed = carried && marks.prefixed;
    const bool ended = carried && marks.ended;
    const std::string typed = caption.substr(0, caption.find('|'));
    if (code == "0020" || code == "0021") {
        marks.prefixed = true;
        return prefixed ? caption : "输入 " + typed;
    }
    if (code == "A111") {
        const std::string ending = "并按回车键或空格键";
        marks.prefixed = marks.ended = true;
        if (!prefixed) return "输入 " + typed + ending;
        return ended ? caption : caption + ending;
    }
    return caption;
}

}  // namespace qz::steps
