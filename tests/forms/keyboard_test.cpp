// Keys and typed text: event order, KeyAscii changes, KeyPreview, MaxLength, focus.
#include <gtest/gtest.h>

#include "platform/legacy_text.h"
#include "tests/forms/form_fixture.h"
#include "tests/support/vb_error_of.h"

namespace formstest {
namespace {

struct KeyCase {
    const char* what;
    std::function<void(MainForm&)> setup;
    Names expected;
    const char* text;
};

class KeyOrder : public FormsTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyOrder, TypingOneKey) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    GetParam().setup(f);
    host.key('A', 0, "a");
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), GetParam().expected);
    EXPECT_EQ(f.txt.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, KeyOrder,
    ::testing::Values(
        KeyCase{"plain", [](MainForm&) {}, {"txt.KeyDown 65", "txt.KeyPress 97", "txt.Change a", "txt.KeyUp 65"}, "a"},
        KeyCase{"KeyPress_zeroes_KeyAscii", [](MainForm& f) { f.onTxtKeyPress = [](int& a) { a = 0; }; },
                {"txt.KeyDown 65", "txt.KeyPress 97", "txt.KeyUp 65"}, ""},
        KeyCase{"KeyPress_changes_KeyAscii", [](MainForm& f) { f.onTxtKeyPress = [](int& a) { a = 'A'; }; },
                {"txt.KeyDown 65", "txt.KeyPress 97", "txt.Change A", "txt.KeyUp 65"}, "A"},
        KeyCase{"KeyPreview", [](MainForm& f) { f.setKeyPreview(true); },
                {"Main.KeyDown 65", "txt.KeyDown 65", "Main.KeyPress 97", "txt.KeyPress 97", "txt.Change a",
                 "Main.KeyUp 65", "txt.KeyUp 65"},
                "a"},
        KeyCase{"KeyPreview_form_zeroes_KeyAscii",
                [](MainForm& f) {
                    f.setKeyPreview(true);
                    f.onFormKeyPress = [](int& a) { a = 0; };
                },
                {"Main.KeyDown 65", "txt.KeyDown 65", "Main.KeyPress 97", "Main.KeyUp 65", "txt.KeyUp 65"}, ""},
        KeyCase{"without_KeyPreview_the_form_hears_nothing", [](MainForm& f) { f.setKeyPreview(false); },
                {"txt.KeyDown 65", "txt.KeyPress 97", "txt.Change a", "txt.KeyUp 65"}, "a"},
        KeyCase{"no_focused_control", [](MainForm& f) { f.setActiveControl(nullptr); },
                {"Main.KeyDown 65", "Main.KeyPress 97", "Main.KeyUp 65"}, ""},
        KeyCase{"focused_box_hidden_since_and_no_other_takes_the_keys",
                [](MainForm& f) {
                    f.chk.setEnabled(false);
                    f.picTxt.setVisible(false);
                    f.txt.setVisible(false);
                },
                {"Main.KeyDown 65", "Main.KeyPress 97", "Main.KeyUp 65"}, ""}),
    CaseName());

TEST_F(FormsTest, MaxLengthLimitsTypingButNotAssignment) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setMaxLength(3);
    host.type("ab中文x");
    host.runUntilIdle();
    EXPECT_EQ(f.txt.text(), "ab中");
    EXPECT_EQ(rec.count("txt.KeyPress 120"), 1);  // the refused key is still pressed

    f.txt.setText("abcdef");
    EXPECT_EQ(f.txt.text(), "abcdef");

    // Typing over a selection replaces it within the limit.
    f.txt.setText("abc");
    f.txt.setSelStart(1);
    f.txt.setSelLength(2);
    host.type("xyz");
    host.runUntilIdle();
    EXPECT_EQ(f.txt.text(), "axy");
}

TEST_F(FormsTest, AssigningTextRaisesChangeEvenWhenTheSame) {
    MainForm& f = shownMain();
    f.txt.setText("abc");
    f.txt.setText("abc");
    EXPECT_EQ(rec.names(), (Names{"txt.Change abc", "txt.Change abc"}));
}

TEST_F(FormsTest, CommittedInputMethodTextLandsInTheBox) {
    MainForm& f = shownMain();
    f.txt.setFocus();
    f.txt.setText("ab");
    f.txt.setSelStart(1);
    rec.clear();
    host.type("中文");
    host.runUntilIdle();
    EXPECT_EQ(f.txt.text(), "a中文b");
    EXPECT_EQ(f.txt.selStart(), 3);
    auto n = rec.names();
    ASSERT_EQ(n.size(), 4u);
    // KeyAscii of a double-byte character is its signed 16-bit code.
    EXPECT_EQ(n[0], "txt.KeyPress " + std::to_string(platform::ansiCode(U'中')));
    EXPECT_LT(platform::ansiCode(U'中'), 0);
    EXPECT_EQ(n[1], "txt.Change a中b");
    EXPECT_EQ(n[3], "txt.Change a中文b");
}

struct FocusCase {
    const char* what;
    std::function<void(MainForm&)> setup;
    forms::TextBox MainForm::*box = &MainForm::txt;
};

class SetFocusFails : public FormsTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(SetFocusFails, WithError5) {
    MainForm& f = main();
    f.show();
    GetParam().setup(f);
    forms::TextBox& box = f.*GetParam().box;
    EXPECT_EQ(testsupport::errorOf([&] { box.setFocus(); }), 5);
    EXPECT_EQ(f.activeControl(), nullptr);
    EXPECT_FALSE(box.hasFocus());
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, SetFocusFails,
    ::testing::Values(FocusCase{"hidden_box", [](MainForm& f) { f.txt.setVisible(false); }},
                      FocusCase{"disabled_box", [](MainForm& f) { f.txt.setEnabled(false); }},
                      FocusCase{"hidden_form", [](MainForm& f) { f.hide(); }},
                      FocusCase{"box_in_hidden_container", [](MainForm& f) { f.pic.setVisible(false); }, &MainForm::picTxt},
                      FocusCase{"box_in_disabled_container", [](MainForm& f) { f.pic.setEnabled(false); },
                                &MainForm::picTxt}),
    CaseName());

TEST_F(FormsTest, FocusEventsAndTheFocusMovingOn) {
    MainForm& f = shownMain();
    for (forms::Control* c : std::vector<forms::Control*>{&f.txt, &f.chk, &f.picTxt}) {
        c->GotFocus = [this, c] { rec.add(c->name() + ".GotFocus"); };
        c->LostFocus = [this, c] { rec.add(c->name() + ".LostFocus"); };
    }
    f.txt.setFocus();
    host.click(f.chk);
    host.runUntilIdle();
    EXPECT_EQ(rec.names(), (Names{"txt.GotFocus", "txt.LostFocus", "chk.GotFocus", "chk.MouseDown", "chk.MouseUp",
                                  "chk.Click"}));
    // Hidden: the focus goes on in the order of creation, round to the start.
    rec.clear();
    f.chk.setVisible(false);
    EXPECT_EQ(rec.names(), (Names{"chk.LostFocus", "picTxt.GotFocus"}));
    EXPECT_TRUE(f.picTxt.hasFocus());
    // Its container disabled: on to the next.
    rec.clear();
    f.pic.setEnabled(false);
    EXPECT_EQ(rec.names(), (Names{"picTxt.LostFocus", "txt.GotFocus"}));
    // Nothing left to take it: the form gets the keys.
    rec.clear();
    f.txt.setEnabled(false);
    EXPECT_EQ(rec.names(), (Names{"txt.LostFocus"}));
    EXPECT_EQ(f.activeControl(), nullptr);
    host.key('A', 0, "a");
    host.runUntilIdle();
    EXPECT_EQ(rec.count("Main.KeyDown 65"), 1);
}

TEST_F(FormsTest, AnotherWindowTakingTheFocusIsALostFocus) {
    MainForm& f = shownMain();
    f.txt.GotFocus = [this] { rec.add("txt.GotFocus"); };
    f.txt.LostFocus = [this] { rec.add("txt.LostFocus"); };
    f.txt.setFocus();
    dialog().show();
    f.activate();
    EXPECT_EQ(rec.names(), (Names{"txt.GotFocus", "Dialog.Load", "txt.LostFocus", "Dialog.Activate", "txt.GotFocus",
                                  "Main.Activate"}));
}

TEST_F(FormsTest, PressingATextBoxFocusesIt) {
    MainForm& f = shownMain();
    host.click(f.txt);
    host.type("x");
    host.runUntilIdle();
    EXPECT_TRUE(f.txt.hasFocus());
    EXPECT_EQ(f.txt.text(), "x");
}

}  // namespace
}  // namespace formstest
