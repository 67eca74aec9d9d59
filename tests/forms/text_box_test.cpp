// Text box editing: the selection's anchor and caret under arrows, Home and End, and clicks.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

struct EditCase {
    const char* what;
    const char* text;
    bool multiLine;
    int caret;         // SelStart before the keys
    const char* keys;  // "S-" Shift, "C-" Ctrl; Left Right Home End Del Back, or 'x to type x
    int selStart, selLength;
    const char* after;
};

class TextBoxEditing : public FormsTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(TextBoxEditing, KeysMoveTheCaretFromTheAnchor) {
    const EditCase& c = GetParam();
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setMultiLine(c.multiLine);
    f.txt.setText(c.text);
    f.txt.setSelStart(c.caret);
    std::istringstream in(c.keys);
    std::string k;
    while (in >> k) {
        int shift = 0;
        for (;;) {
            if (k.rfind("S-", 0) == 0) shift |= forms::shiftmask::Shift;
            else if (k.rfind("C-", 0) == 0) shift |= forms::shiftmask::Ctrl;
            else break;
            k.erase(0, 2);
        }
        if (k[0] == '\'') host.type(k.substr(1));
        else if (k == "Left") host.key(forms::vk::LeftArrow, shift);
        else if (k == "Right") host.key(forms::vk::RightArrow, shift);
        else if (k == "Home") host.key(forms::vk::Home, shift);
        else if (k == "End") host.key(forms::vk::End, shift);
        else if (k == "Del") host.key(forms::vk::Delete, shift);
        else if (k == "Back") host.key(forms::vk::Back, shift, "\b");
        else FAIL() << "unknown key " << k;
    }
    host.runUntilIdle();
    EXPECT_EQ(f.txt.selStart(), c.selStart);
    EXPECT_EQ(f.txt.selLength(), c.selLength);
    EXPECT_EQ(f.txt.text(), c.after);
}

// "ab\r\ncde\r\nf": the middle line runs from 4 to 7.
constexpr const char* kLines = "ab\r\ncde\r\nf";

INSTANTIATE_TEST_SUITE_P(
    Keyboard, TextBoxEditing,
    ::testing::Values(
        EditCase{"shift_left_then_shift_right_undoes_it", "abcdef", false, 3, "S-Left S-Right", 3, 0, "abcdef"},
        EditCase{"extending_left_grows_leftwards", "abcdef", false, 3, "S-Left S-Left S-Left", 0, 3, "abcdef"},
        EditCase{"extending_back_across_the_anchor", "abcdef", false, 3, "S-Right S-Right S-Left S-Left S-Left", 2, 1,
                 "abcdef"},
        EditCase{"left_collapses_a_leftward_selection_to_its_start", "abcdef", false, 3, "S-Left S-Left Left", 1, 0,
                 "abcdef"},
        EditCase{"right_collapses_a_leftward_selection_to_its_end", "abcdef", false, 3, "S-Left S-Left Right", 3, 0,
                 "abcdef"},
        EditCase{"typing_replaces_a_leftward_selection", "abcdef", false, 3, "S-Left S-Left 'X", 2, 0, "aXdef"},
        EditCase{"arrows_stop_at_the_ends", "ab", false, 1, "Left Left S-Right S-Right S-Right", 0, 2, "ab"},
        EditCase{"single_line_home", "abcdef", false, 3, "Home", 0, 0, "abcdef"},
        EditCase{"single_line_shift_end_then_shift_home", "abcdef", false, 3, "S-End S-Home", 0, 3, "abcdef"},
        EditCase{"home_goes_to_the_start_of_the_line", kLines, true, 5, "Home", 4, 0, kLines},
        EditCase{"end_stops_before_the_line_break", kLines, true, 5, "End", 7, 0, kLines},
        EditCase{"shift_home_from_the_anchor", kLines, true, 5, "S-Home", 4, 1, kLines},
        EditCase{"shift_end_then_shift_home_crosses_the_anchor", kLines, true, 5, "S-End S-Home", 4, 1, kLines},
        EditCase{"ctrl_home_and_ctrl_end_take_the_whole_text", kLines, true, 5, "C-Home", 0, 0, kLines},
        EditCase{"ctrl_end", kLines, true, 5, "C-End", 10, 0, kLines},
        EditCase{"ctrl_shift_end", kLines, true, 5, "C-S-End", 5, 5, kLines},
        EditCase{"end_on_the_last_line", kLines, true, 9, "Home End", 10, 0, kLines},
        EditCase{"home_on_an_empty_line", "a\r\n\r\nb", true, 3, "Right Home", 5, 0, "a\r\n\r\nb"},
        EditCase{"a_line_break_is_one_step", kLines, true, 4, "Left 'X Right Right", 6, 0, "abX\r\ncde\r\nf"},
        EditCase{"delete_takes_the_whole_line_break", kLines, true, 2, "Del", 2, 0, "abcde\r\nf"},
        EditCase{"backspace_takes_the_whole_line_break", kLines, true, 4, "Back", 2, 0, "abcde\r\nf"}),
    CaseName());

TEST_F(FormsTest, SelLengthExtendsFromSelStartWhateverTheCaret) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setText("abcdef");
    f.txt.setSelStart(4);
    host.key(forms::vk::LeftArrow, forms::shiftmask::Shift);
    host.key(forms::vk::LeftArrow, forms::shiftmask::Shift);
    host.runUntilIdle();
    ASSERT_EQ(f.txt.caret(), 2);
    f.txt.setSelLength(1);  // the caret moves to SelStart + 1, the anchor to SelStart
    host.key(forms::vk::RightArrow, forms::shiftmask::Shift);
    host.runUntilIdle();
    EXPECT_EQ(f.txt.selStart(), 2);
    EXPECT_EQ(f.txt.selLength(), 2);
    f.txt.setSelLength(99);
    EXPECT_EQ(f.txt.selLength(), 4);
    EXPECT_EQ(f.txt.selText(), "cdef");
}

// Headless metrics at 9 points: a single-byte character is 90 twips, a double-byte one 180,
// a line 225. The box has a sunken border, so text starts 3 pixels (45 twips) in.
struct ClickCase {
    const char* what;
    const char* text;
    bool multiLine;
    int alignment;
    int caretBefore;  // decides how far a single-line box is scrolled
    forms::Point local;
    int expected;
};

class TextBoxClick : public FormsTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(TextBoxClick, PlacesTheCaretAtTheNearestBoundary) {
    const ClickCase& c = GetParam();
    MainForm& f = shownMain();
    f.chk.setVisible(false);
    f.txt.move(300, 2400, 1500, 1000);  // 1410 twips of text width, four lines
    f.txt.setMultiLine(c.multiLine);
    f.txt.setAlignment(c.alignment);
    f.txt.setText(c.text);
    f.txt.setSelStart(c.caretBefore);
    host.clickAt(f.screenAt(300 + c.local.x, 2400 + c.local.y));
    host.runUntilIdle();
    EXPECT_TRUE(f.txt.hasFocus());
    EXPECT_EQ(f.txt.selStart(), c.expected);
    EXPECT_EQ(f.txt.selLength(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, TextBoxClick,
    ::testing::Values(
        ClickCase{"nearer_the_left_boundary", "abcdef", false, 0, 0, {45 + 180 + 30, 100}, 2},
        ClickCase{"nearer_the_right_boundary", "abcdef", false, 0, 0, {45 + 180 + 60, 100}, 3},
        ClickCase{"double_byte_characters", "中文ab", false, 0, 0, {45 + 180 + 100, 100}, 2},
        ClickCase{"in_the_border", "abcdef", false, 0, 3, {10, 100}, 0},
        ClickCase{"past_the_end", "abcdef", false, 0, 0, {1200, 100}, 6},
        // 20 characters with the caret at the end scroll the text 405 twips left.
        ClickCase{"scrolled_single_line", "abcdefghijklmnopqrst", false, 0, 20, {45 + 100, 100}, 6},
        ClickCase{"second_line", "ab\r\ncdef\r\ng", true, 0, 0, {45 + 270 + 10, 45 + 225 + 100}, 7},
        ClickCase{"right_of_a_line_stops_before_its_break", "ab\r\ncdef\r\ng", true, 0, 0, {1200, 45 + 100}, 2},
        ClickCase{"below_the_last_line", "ab\r\ncdef\r\ng", true, 0, 0, {1200, 45 + 3 * 225 + 100}, 11},
        ClickCase{"right_of_a_wrapped_line_stays_on_it", "aaaa bbbb cccc dddd", true, 0, 0, {1400, 100}, 14},
        ClickCase{"wrapped_continuation", "aaaa bbbb cccc dddd", true, 0, 0, {45 + 180 + 10, 45 + 225 + 100}, 17},
        ClickCase{"right_aligned", "ab", true, 1, 0, {1275 + 95, 100}, 1},
        ClickCase{"centred", "ab", true, 2, 0, {45 + 615 + 10, 100}, 0}),
    CaseName());

TEST_F(FormsTest, ShiftClickExtendsFromTheAnchor) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setText("abcdef");
    f.txt.setSelStart(4);
    host.key(forms::vk::LeftArrow, forms::shiftmask::Shift);  // anchor 4, caret 3
    host.runUntilIdle();
    forms::Point p = f.screenAt(300 + 45 + 90, 2400 + 100);
    rt.postMouse({forms::MouseInput::Down, p, forms::buttons::Left, forms::buttons::Left, forms::shiftmask::Shift});
    rt.postMouse({forms::MouseInput::Up, p, forms::buttons::Left, 0, forms::shiftmask::Shift});
    host.runUntilIdle();
    EXPECT_EQ(f.txt.selStart(), 1);
    EXPECT_EQ(f.txt.selLength(), 3);
    EXPECT_EQ(f.txt.caret(), 1);
}

}  // namespace
}  // namespace formstest
