#include "platform/legacy_text.h"

#include <gtest/gtest.h>

#include "platform/vb_error.h"
#include "tests/support/vb_error_of.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::gb18030Bytes;
using testsupport::gbkBytes;

using testsupport::errorOf;

TEST(LegacyText, GbkRoundTrip) {
    for (std::string s : {"", "abc\r\n", "计算机等级考试", "Ａ全角，标点。", "混合 mixed 文本 123", "€"}) {
        EXPECT_EQ(encodeAnsi(s), gbkBytes(s)) << s;
        EXPECT_EQ(decodeAnsi(gbkBytes(s)), s) << s;
    }
}

TEST(LegacyText, DecodeByteCases) {
    const std::string bad = "\uFFFD";
    struct Case {
        std::string bytes, utf8;
    } cases[] = {
        {"\xB0\xA1", "啊"},
        {"\x80", "€"},               // CP936's single-byte euro
        {gb18030Bytes("𠀀"), "𠀀"},  // four-byte GB18030, no GBK form
        {"a\x95\x32\x82\x36z", "a𠀀z"},
        {"\xA2\xE3\xFE\x50", "€⺁"},     // two-byte forms only GB18030 has
        {"\xFF!", bad + "!"},            // never a lead byte
        {"\xB0!\xB0\xA1", bad + "!啊"},  // lead with a bad trail: only the lead is lost
        {"\xB0\r\n", bad + "\r\n"},
        {"x\xB0", "x" + bad},               // cut off at the end
        {"\x81\x30\x81", bad + "0" + bad},  // truncated four-byte form
        {"\xFF\xFF\xFF", bad + bad + bad},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeAnsi(c.bytes), c.utf8) << testing::PrintToString(c.bytes);
}

TEST(LegacyText, EncodeReplacesWhatGbkCannotHold) {
    EXPECT_EQ(encodeAnsi("a𠀀b"), "a?b");
    EXPECT_EQ(encodeAnsi("😀中"), "?" + gbkBytes("中"));
    EXPECT_EQ(encodeAnsi("a\xFF!"), "a?!");  // bad UTF-8 byte
}

TEST(LegacyText, Utf32) {
    EXPECT_EQ(toU32("a中𠀀"), U"a中𠀀");
    EXPECT_EQ(fromU32(U"a中𠀀"), "a中𠀀");
    EXPECT_EQ(toU32("a\xC0\xAF!"), U"a\uFFFD\uFFFD!");        // overlong
    EXPECT_EQ(toU32("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(toU32("\xE4\xB8"), U"\uFFFD\uFFFD");            // cut off
    EXPECT_EQ(fromU32(std::u32string(1, char32_t{0x110000})), "\xEF\xBF\xBD");
    EXPECT_EQ(charCount("a中𠀀"), 3u);
    EXPECT_EQ(charCount("\xE4\xB8"), 2u);
}

TEST(LegacyText, CharacterSlices) {
    const std::string s = "考试ab中";
    EXPECT_EQ(leftChars(s, 3), "考试a");
    EXPECT_EQ(leftChars(s, 99), s);
    EXPECT_EQ(leftChars(s, 0), "");
    EXPECT_EQ(midChars(s, 2), "试ab中");
    EXPECT_EQ(midChars(s, 2, 2), "试a");
    EXPECT_EQ(midChars(s, 6), "");
    EXPECT_EQ(midChars(s, 5, 9), "中");
    EXPECT_EQ(rightChars(s, 2), "b中");
    EXPECT_EQ(rightChars(s, 9), s);
    EXPECT_EQ(rightChars(s, 0), "");
    EXPECT_EQ(errorOf([&] { leftChars(s, -1); }), 5);
    EXPECT_EQ(errorOf([&] { midChars(s, 0); }), 5);
    EXPECT_EQ(errorOf([&] { midChars(s, 1, -2); }), 5);
    EXPECT_EQ(errorOf([&] { rightChars(s, -1); }), 5);
}

TEST(LegacyText, TrimOnlySpaces) {
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\t a \r\n"), "\t a \r\n");
    EXPECT_EQ(trimSpaces("　中　"), "　中　");  // ideographic space stays
    EXPECT_EQ(trimSpaces("   "), "");
    EXPECT_EQ(ltrimSpaces("  a  "), "a  ");
    EXPECT_EQ(rtrimSpaces("  a  "), "  a");
}

TEST(LegacyText, DisplayColumns) {
    EXPECT_EQ(displayColumns(""), 0);
    EXPECT_EQ(displayColumns("ab"), 2);
    EXPECT_EQ(displayColumns("中文ab"), 6);
    EXPECT_EQ(displayColumns("€"), 1);   // one byte in CP936
    EXPECT_EQ(displayColumns("𠀀"), 1);  // no GBK form
}

TEST(LegacyText, AnsiCodes) {
    EXPECT_EQ(ansiCode(U'A'), 65);
    EXPECT_EQ(ansiCode(U'啊'), -20319);  // B0A1
    EXPECT_EQ(ansiCode(U'€'), 128);
    EXPECT_EQ(ansiCode(U'𠀀'), 63);
    EXPECT_EQ(ansiCode(U'😀'), 63);

    EXPECT_EQ(charFromAnsiCode(65), "A");
    EXPECT_EQ(charFromAnsiCode(0), std::string(1, '\0'));
    EXPECT_EQ(charFromAnsiCode(128), "€");
    EXPECT_EQ(charFromAnsiCode(0xB0A1), "啊");
    EXPECT_EQ(charFromAnsiCode(-20319), "啊");
    EXPECT_EQ(charFromAnsiCode(200), "\xEF\xBF\xBD");  // a lone lead byte
    for (char32_t c : {U'中', U'国', U'。', U'Ａ'}) EXPECT_EQ(charFromAnsiCode(ansiCode(c)), fromU32({&c, 1}));
    EXPECT_EQ(errorOf([] { charFromAnsiCode(65536); }), 5);
    EXPECT_EQ(errorOf([] { charFromAnsiCode(-32769); }), 5);
}
