#include "simwindow/menu_file.h"

#include "platform/textfile.h"

namespace qz::menus {

namespace {

bool contextCode(std::int32_t c) { return c / 1000 == 3 || c / 1000 == 4; }
bool barCode(std::int32_t c) { return c / 10000 == 1 || c / 10000 == 5; }

}  // namespace

std::optional<long> blockFirstLine(std::int32_t stepCode, int menuNumber) {
    long base = 0;
    if (contextCode(stepCode)) base = 165;
    else if (stepCode / 10000 == 1) base = 0;
    else if (stepCode / 10000 == 5) base = 300;
    else return std::nullopt;
    return base + (static_cast<long>(menuNumber) - 1) * BlockLines + 1;
}

std::vector<std::string> readBlock(const std::string& path, long first) {
    const std::vector<std::string> lines = platform::readLines(path);
    std::vector<std::string> block;
    for (long n = first; n < first + BlockLines; ++n) {
        const bool inFile = n >= 1 && n <= static_cast<long>(lines.size());
        block.push_back(inFile ? lines[static_cast<std::size_t>(n - 1)] : std::string());
    }
    return block;
}

std::vector<std::string> splitItems(const std::string& line) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (out.size() < static_cast<std::size_t>(MaxItems)) {
        const std::size_t bar = line.find('|', from);
        out.push_back(line.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    return out;
}

bool itemCompletes(std::int32_t stepCode, int menuNumber, int arrayNumber, int index) {
    if (!contextCode(stepCode) && !barCode(stepCode)) return false;
    if (index != stepCode % 10) return false;
    // B220-B229: item I of the first plain array of menu 11, which no other code reaches.
    if (arrayNumber == 2 && stepCode / 10 == 1122) return menuNumber == 11;
    return menuNumber == (stepCode / 100) % 10 && (stepCode / 10) % 10 == arrayNumber;
}

bool namesNoArray(std::int32_t stepCode) {
    return (contextCode(stepCode) || barCode(stepCode)) && (stepCode / 10) % 10 == 0;
}

}  // namespace qz::menus
