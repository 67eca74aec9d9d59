#include "platform/html_text.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

using platform::decodeHtmlText;
using testsupport::gbkBytes;

TEST(HtmlText, TheMarkThenTheDeclaredCharsetThenAGuessDecide) {
    const std::string zhong = "\xe4\xb8\xad";  // 中 in UTF-8
    const std::string meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
    struct Case {
        const char* what;
        std::string bytes, utf8, other;
    } cases[] = {
        {"UTF-8 mark, dropped", "\xEF\xBB\xBF<p>" + zhong, "<p>中", ""},
        {"UTF-8 mark over a GBK declaration", "\xEF\xBB\xBF" + meta + "gb2312\">" + zhong, meta + "gb2312\">中", ""},
        {"gb2312 declared", meta + "gb2312\">" + gbkBytes("中文"), meta + "gb2312\">中文", ""},
        {"GBK declared, upper case and spaced", "<meta charset = ' GBK '>" + gbkBytes("中"),
         "<meta charset = ' GBK '>中", ""},
        {"UTF-8 declared, broken bytes cleaned", "<meta charset=utf-8>\xff", "<meta charset=utf-8>\uFFFD", ""},
        {"nothing declared, valid UTF-8", "<p>" + zhong + "</p>", "<p>中</p>", ""},
        {"nothing declared, not UTF-8", "<p>\xd6\xd0</p>", "<p>中</p>", ""},
        {"another charset comes back by name, with the guess", "<meta charset=\"Windows-1252\">abc",
         "<meta charset=\"Windows-1252\">abc", "windows-1252"},
        {"a declaration past the head is not read", std::string(4096, ' ') + "charset=gbk\xd6\xd0",
         std::string(4096, ' ') + "charset=gbk中", ""},
        {"a charset word without a value is passed over", "charset of this page: <meta charset=gbk>" + gbkBytes("中"),
         "charset of this page: <meta charset=gbk>中", ""},
    };
    for (const Case& c : cases) {
        const platform::HtmlText t = decodeHtmlText(c.bytes);
        EXPECT_EQ(t.utf8, c.utf8) << c.what;
        EXPECT_EQ(t.otherCharset, c.other) << c.what;
    }
}
