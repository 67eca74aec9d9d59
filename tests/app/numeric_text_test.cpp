#include "app/numeric_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/program_folder.h"

namespace {

struct Decoded {
    std::string text;
    std::vector<int> badGroups;  // error numbers, in order
};

Decoded decode(std::string_view line) {
    Decoded d;
    d.text = qz::decodeNumericText(line, [&](const platform::VbError& e) { d.badGroups.push_back(e.number); });
    return d;
}

}  // namespace

TEST(NumericText, DecodesGroups) {
    struct Case {
        const char* line;
        std::string text;
        std::size_t bad;
    } cases[] = {
        {"200097200098200099", "abc", 0},
        {"500097500098500099", "abc", 0},  // the second base gives the same characters
        {"200097500098", "ab", 0},         // bases may be mixed within a line
        {"000000200097", "a", 0},          // all-zero groups are padding
        {"200097000000000000", "a", 0},
        {"", "", 0},
        {"500001", "\x01", 0},             // just above 500000: code 1
        {"500000", "", 1},                 // 300000 is no character
        {"200097500000200098", "ab", 1},   // a bad group is skipped, the rest stays
        {"999999", "", 1},                 // 499999
        {"248326", "计", 0},               // GBK BC C6 as lead * 256 + trail
        {"182790", "计", 0},               // the same code as a negative 16-bit value
        {"254992", "中", 0},
        {"200097200", "a", 1},             // a short last group reads as 200: no character
        {"20009", "", 1},
        {"  2000", "", 1},                 // leading blanks skipped: 2000 is no character
    };
    for (const auto& c : cases) {
        Decoded d = decode(c.line);
        EXPECT_EQ(d.text, c.text) << c.line;
        EXPECT_EQ(d.badGroups.size(), c.bad) << c.line;
    }
}

TEST(NumericText, BadGroupIsToldAsAnError) {
    Decoded d = decode("500000");
    ASSERT_EQ(d.badGroups.size(), 1u);
    EXPECT_NE(d.badGroups[0], 0);
}

TEST(NumericText, RoundTripsTheInstallationEncoding) {
    for (const char* text : {"huitu", "计算机绘图", "第21单元", "https://a.b/c?d=1&e=2", "张三 李四"}) {
        EXPECT_EQ(decode(testsupport::numericLine(text)).text, text);
        EXPECT_EQ(decode(testsupport::numericLine(text, 500000)).text, text);
    }
}
