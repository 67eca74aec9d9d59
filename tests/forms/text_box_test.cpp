// Text box editing: the selection's anchor and caret under arrows, Home and End, clicks,
// double clicks and drags; the clipboard and undo keys; a locked box.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/legacy_text.h"
#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

// Headless metrics at 9 points: a single-byte character is 90 twips, a double-byte one 180,
// a line 225. The box has a sunken border, so text starts 3 pixels (45 twips) in.
int widthOf(const std::u32string& s) {
    int w = 0;
    for (char32_t c : s) w += c < 0x80 ? 90 : 180;
    return w;
}

// Where boundary n of the text of f.txt lies on the screen, on its first line; a boundary
// past the end lies outside the box.
forms::Point boundaryOf(const MainForm& f, std::size_t n) {
    std::u32string u = platform::toU32(f.txt.text());
    int x = n > u.size() ? 2000 : 45 + widthOf(u.substr(0, n));
    return f.screenAt(300 + x, 2400 + 100);
}

// Plays steps, space-separated, into the focused box: 'x types x; "S-" holds Shift and "C-"
// Ctrl before Left Right Home End Del Back Ins, or a letter with Ctrl, which types its control
// character as a keyboard does; dbl:N double-clicks the middle of character N of f.txt;
// drag:A-B presses at boundary A of f.txt and releases at B; other clicks into f.picTxt.
void play(headless::HeadlessHost& host, MainForm& f, const std::string& steps) {
    std::istringstream in(steps);
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
        else if (k == "Ins") host.key(forms::vk::Insert, shift);
        else if (k.size() == 1 && k[0] >= 'A' && k[0] <= 'Z' && shift == forms::shiftmask::Ctrl)
            host.key(k[0], shift, std::string(1, static_cast<char>(k[0] - 'A' + 1)));
        else if (k == "other") host.click(f.picTxt);
        else if (k.rfind("dbl:", 0) == 0) {
            std::size_t n = std::stoul(k.substr(4));
            forms::Point p = boundaryOf(f, n);
            p.x += widthOf(platform::toU32(f.txt.text()).substr(n, 1)) / 2;
            host.doubleClickAt(p);
        } else if (k.rfind("drag:", 0) == 0) {
            std::size_t dash = k.find('-');
            host.dragAt(boundaryOf(f, std::stoul(k.substr(5, dash - 5))), boundaryOf(f, std::stoul(k.substr(dash + 1))));
        } else {
            ADD_FAILURE() << "unknown step " << k;
        }
        // Positions are read from the text as the steps before left it.
        host.runUntilIdle();
    }
}

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
    play(host, f, c.keys);
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

// The edit control's own keys and pointer gestures, between two boxes and a clipboard.
struct EditorCase {
    const char* what;
    const char* text;  // of f.txt, which has the focus
    std::function<void(MainForm&)> setup;  // properties and the selection
    const char* clipboard;
    const char* steps;  // as play() takes them
    const char* after;
    int selStart, selLength;
    const char* clipboardAfter;
    int changes;             // of f.txt
    const char* other = "";  // the text of f.picTxt
};

std::function<void(MainForm&)> sel(int start, int length) {
    return [=](MainForm& f) {
        f.txt.setSelStart(start);
        f.txt.setSelLength(length);
    };
}

class TextBoxEditor : public FormsTest, public ::testing::WithParamInterface<EditorCase> {};

TEST_P(TextBoxEditor, DoesWhatTheEditControlDoes) {
    const EditorCase& c = GetParam();
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setText(c.text);
    c.setup(f);
    host.setClipboardText(c.clipboard);
    rec.clear();
    play(host, f, c.steps);
    EXPECT_EQ(f.txt.text(), c.after);
    EXPECT_EQ(f.txt.selStart(), c.selStart);
    EXPECT_EQ(f.txt.selLength(), c.selLength);
    EXPECT_EQ(host.clipboardText(), c.clipboardAfter);
    EXPECT_EQ(f.picTxt.text(), c.other);
    int changes = 0;
    for (const std::string& n : rec.names()) changes += n.rfind("txt.Change", 0) == 0;
    EXPECT_EQ(changes, c.changes);
}

auto locked = [](MainForm& f) { f.txt.setLocked(true); };

INSTANTIATE_TEST_SUITE_P(
    Editor, TextBoxEditor,
    ::testing::Values(
        // Ctrl+A's character 1 is typed into nothing.
        EditorCase{"ctrl_a_selects_all", "ab cd", sel(1, 0), "", "C-A", "ab cd", 0, 5, "", 0},
        EditorCase{"typing_after_ctrl_a_replaces_the_text", "图层1", sel(3, 0), "", "C-A 'W 'A 'L 'L", "WALL", 4, 0, "",
                   4},
        EditorCase{"double_click_selects_a_latin_word", "ab cd12,e", sel(0, 0), "", "dbl:4", "ab cd12,e", 3, 4, "", 0},
        EditorCase{"double_click_selects_a_run_of_chinese", "打开，图层abc", sel(0, 0), "", "dbl:4", "打开，图层abc", 3, 2,
                   "", 0},
        EditorCase{"double_click_on_a_mark_selects_it", "ab,,cd", sel(0, 0), "", "dbl:2", "ab,,cd", 2, 1, "", 0},
        EditorCase{"drag_selects_from_the_press_to_the_pointer", "abcdef", sel(0, 0), "", "drag:1-4", "abcdef", 1, 3, "",
                   0},
        // Shift+Left moves the caret, which stays where the pointer was released.
        EditorCase{"drag_leftwards_leaves_the_caret_at_the_pointer", "abcdef", sel(0, 0), "", "drag:5-2 S-Left",
                   "abcdef", 1, 4, "", 0},
        EditorCase{"drag_out_of_the_box_selects_to_the_end", "abcdef", sel(0, 0), "", "drag:2-99", "abcdef", 2, 4, "", 0},
        EditorCase{"copy_and_paste_into_another_box", "hello world", sel(6, 5), "x", "C-C other C-V", "hello world", 6, 5,
                   "world", 0, "world"},
        EditorCase{"ctrl_insert_copies_and_shift_insert_pastes", "hello world", sel(0, 5), "x", "C-Ins other S-Ins",
                   "hello world", 0, 5, "hello", 0, "hello"},
        EditorCase{"ctrl_x_cuts", "abcdef", sel(1, 2), "x", "C-X", "adef", 1, 0, "bc", 1},
        EditorCase{"shift_delete_cuts", "abcdef", sel(1, 2), "x", "S-Del", "adef", 1, 0, "bc", 1},
        EditorCase{"cut_and_copy_without_a_selection_keep_the_clipboard", "abc", sel(1, 0), "keep", "C-X S-Del C-C",
                   "abc", 1, 0, "keep", 0},
        EditorCase{"paste_replaces_the_selection", "abcdef", sel(1, 2), "XYZ", "C-V", "aXYZdef", 4, 0, "XYZ", 1},
        EditorCase{"undo_takes_back_what_was_typed_in_one_go", "ab", sel(2, 0), "", "'x 'y 'z C-Z", "ab", 2, 0, "", 4},
        EditorCase{"undo_again_redoes", "ab", sel(2, 0), "", "'x 'y 'z C-Z C-Z", "abxyz", 5, 0, "", 5},
        EditorCase{"undo_brings_back_the_replaced_selection", "图层1", sel(3, 0), "", "C-A 'W 'A C-Z", "图层1", 0, 3, "",
                   3},
        EditorCase{"typing_after_a_caret_move_is_a_new_edit", "ab", sel(2, 0), "", "'x Left 'y C-Z", "abx", 2, 0, "", 3},
        EditorCase{"undo_of_a_cut", "abc", sel(0, 1), "", "C-X C-Z", "abc", 0, 1, "a", 2},
        EditorCase{"undo_of_a_paste", "abc", sel(3, 0), "de", "C-V C-Z", "abc", 3, 0, "de", 2},
        EditorCase{"nothing_to_undo", "ab", sel(1, 0), "", "C-Z", "ab", 1, 0, "", 0},
        // An assignment by the program is not the learner's to undo.
        EditorCase{"no_undo_over_an_assignment", "ab", [](MainForm& f) {
                       f.txt.setSelStart(2);
                       f.txt.Change = [&f] { if (f.txt.text() == "abx") f.txt.setText("new"); };
                   },
                   "", "'x C-Z", "new", 3, 0, "", 0},
        EditorCase{"paste_is_cut_to_max_length", "abc", [](MainForm& f) {
                       f.txt.setMaxLength(5);
                       f.txt.setSelStart(3);
                   },
                   "12345", "C-V", "abc12", 5, 0, "12345", 1},
        EditorCase{"paste_into_a_full_box_changes_nothing", "abc", [](MainForm& f) {
                       f.txt.setMaxLength(3);
                       f.txt.setSelStart(3);
                   },
                   "1", "C-V S-Ins", "abc", 3, 0, "1", 0},
        EditorCase{"single_line_paste_drops_line_breaks_and_control_characters", "", sel(0, 0), "ab\ncd\r\ne\tf\x01",
                   "C-V", "abcdef", 6, 0, "ab\ncd\r\ne\tf\x01", 1},
        EditorCase{"multi_line_paste_keeps_its_lines_as_cr_lf", "", [](MainForm& f) { f.txt.setMultiLine(true); },
                   "ab\ncd\r\nef\r", "C-V", "ab\r\ncd\r\nef\r\n", 12, 0, "ab\ncd\r\nef\r", 1},
        EditorCase{"max_length_never_splits_a_line_break", "", [](MainForm& f) {
                       f.txt.setMultiLine(true);
                       f.txt.setMaxLength(3);
                   },
                   "ab\ncd", "C-V", "ab", 2, 0, "ab\ncd", 1},
        EditorCase{"copy_writes_cr_lf_line_breaks", "ab\r\ncd", [](MainForm& f) {
                       f.txt.setMultiLine(true);
                       f.txt.setSelStart(1);
                       f.txt.setSelLength(4);
                   },
                   "", "C-C", "ab\r\ncd", 1, 4, "b\r\nc", 0},
        EditorCase{"locked_box_selects_and_copies", "ab cd", locked, "", "dbl:3 C-C", "ab cd", 3, 2, "cd", 0},
        EditorCase{"locked_box_never_changes", "abc", locked, "x",
                   "C-A C-X S-Del 'y Back Del C-V S-Ins C-Z", "abc", 0, 3, "x", 0},
        EditorCase{"a_box_locked_since_its_edit_keeps_it", "ab", [](MainForm& f) {
                       f.txt.setSelStart(2);
                       f.onTxtKeyPress = [&f](int&) { f.txt.setLocked(f.txt.text() == "abx"); };
                   },
                   "", "'x C-Z", "abx", 3, 0, "", 1},
        // A handler that swallows a key swallows what the box does with it.
        EditorCase{"key_press_zeroed_swallows_ctrl_v", "ab", [](MainForm& f) {
                       f.txt.setSelStart(2);
                       f.onTxtKeyPress = [](int& a) { if (a == 22) a = 0; };
                   },
                   "x", "C-V", "ab", 2, 0, "x", 0},
        EditorCase{"key_down_zeroed_swallows_shift_insert", "ab", [](MainForm& f) {
                       f.txt.setSelStart(2);
                       f.txt.KeyDown = [](int& k, int) { k = 0; };
                   },
                   "x", "S-Ins", "ab", 2, 0, "x", 0}),
    CaseName());

// A paste or a cut is heard as typing is: the key's own events around one Change.
struct EditKeyCase {
    const char* what;
    const char* steps;
    Names expected;
};

class TextBoxEditKeys : public FormsTest, public ::testing::WithParamInterface<EditKeyCase> {};

TEST_P(TextBoxEditKeys, RaiseTheirKeyEventsAndOneChange) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setText("abc");
    f.txt.setSelStart(1);
    f.txt.setSelLength(1);
    host.setClipboardText("xy\nz");
    rec.clear();
    play(host, f, GetParam().steps);
    EXPECT_EQ(rec.names(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, TextBoxEditKeys,
    ::testing::Values(
        EditKeyCase{"ctrl_v", "C-V", {"txt.KeyDown 86", "txt.KeyPress 22", "txt.Change axyzc", "txt.KeyUp 86"}},
        EditKeyCase{"shift_insert", "S-Ins", {"txt.KeyDown 45", "txt.Change axyzc", "txt.KeyUp 45"}},
        EditKeyCase{"ctrl_x", "C-X", {"txt.KeyDown 88", "txt.KeyPress 24", "txt.Change ac", "txt.KeyUp 88"}},
        EditKeyCase{"ctrl_z", "'q C-Z",
                    {"txt.KeyPress 113", "txt.Change aqc", "txt.KeyDown 90", "txt.KeyPress 26", "txt.Change abc",
                     "txt.KeyUp 90"}},
        EditKeyCase{"ctrl_a", "C-A", {"txt.KeyDown 65", "txt.KeyPress 1", "txt.KeyUp 65"}},
        EditKeyCase{"ctrl_c", "C-C", {"txt.KeyDown 67", "txt.KeyPress 3", "txt.KeyUp 67"}}),
    CaseName());

}  // namespace
}  // namespace formstest
