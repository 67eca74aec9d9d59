// Label measuring with the headless metrics: at 9 pt one em is 180 twips, a double-byte
// character one em and any other half, a line 1.25 em; all rounded up to 15-twip pixels.
#include <gtest/gtest.h>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

class Labels : public ::testing::Test {
protected:
    headless::HeadlessHost host;
    forms::Runtime rt{host};
    forms::Form form{rt, "F"};
    forms::Label label{&form, "l"};
};

struct SizeCase {
    const char* caption;
    double points;
    const char* shown;
    int width, height;
};

class AutoSize : public Labels, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(AutoSize, MeasuresTheShownText) {
    const SizeCase& c = GetParam();
    label.setFontSize(c.points);
    label.setCaption(c.caption);
    label.setAutoSize(true);
    EXPECT_EQ(label.displayText(), c.shown);
    EXPECT_EQ(label.width(), c.width);
    EXPECT_EQ(label.height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(Labels, AutoSize,
                         ::testing::Values(SizeCase{"a", 9, "a", 90, 225},
                                           SizeCase{"ab中", 9, "ab中", 360, 225},
                                           SizeCase{"&File", 9, "File", 360, 225},
                                           SizeCase{"A&&B", 9, "A&B", 270, 225},
                                           SizeCase{"&&&x", 9, "&x", 180, 225},
                                           SizeCase{"", 9, "", 0, 225},
                                           SizeCase{"a", 10, "a", 105, 255},     // 100 and 250 round up
                                           SizeCase{"aaa", 10, "aaa", 300, 255},  // the line, not each character
                                           SizeCase{"ab\r\n中文中", 9, "ab\r\n中文中", 540, 450},
                                           SizeCase{"a\nb\rc", 9, "a\nb\rc", 90, 675}));

TEST_F(Labels, AutoSizeFollowsCaptionAndFontAtOnce) {
    label.setAutoSize(true);
    label.setCaption("ab");
    EXPECT_EQ(label.width(), 180);
    label.setFontSize(12);
    EXPECT_EQ(label.width(), 240);
    EXPECT_EQ(label.height(), 300);
    label.setCaption("中");
    EXPECT_EQ(label.width(), 240);
    label.setFont(forms::Font{"宋体", 9});
    EXPECT_EQ(label.width(), 180);
    EXPECT_EQ(label.height(), 225);
}

TEST_F(Labels, WithoutAutoSizeTheSizeStays) {
    label.move(0, 0, 1000, 500);
    label.setCaption("a long caption that does not fit");
    label.setFontSize(20);
    EXPECT_EQ(label.width(), 1000);
    EXPECT_EQ(label.height(), 500);
}

TEST_F(Labels, WordWrapBreaksWithinTheWidth) {
    label.move(0, 0, 540, 225);
    label.setWordWrap(true);
    label.setAutoSize(true);
    label.setCaption("中文中文中文中");
    EXPECT_EQ(label.lines(), (std::vector<std::string>{"中文中", "文中文", "中"}));
    EXPECT_EQ(label.width(), 540);
    EXPECT_EQ(label.height(), 3 * 225);

    label.setWidth(600);  // "hello " fits, "hello w" does not
    label.setCaption("hello world");
    EXPECT_EQ(label.lines(), (std::vector<std::string>{"hello", "world"}));
    EXPECT_EQ(label.height(), 2 * 225);

    label.setWidth(990);  // a width that holds it all re-wraps to one line
    EXPECT_EQ(label.lines(), (std::vector<std::string>{"hello world"}));
    EXPECT_EQ(label.height(), 225);
}

TEST_F(Labels, AWordLongerThanTheWidthIsCut) {
    label.move(0, 0, 300, 225);
    label.setWordWrap(true);
    label.setCaption("abcdefgh");  // 90 a character: three fit
    EXPECT_EQ(label.lines(), (std::vector<std::string>{"abc", "def", "gh"}));
}

}  // namespace
}  // namespace formstest
