#include "host/qt/keys.h"

#include "forms/types.h"

namespace qthost {

namespace {

// Keys whose code does not follow from a range, and the shifted symbols of a US keyboard
// (Qt reports Shift+1 as Key_Exclam, the platform as the "1" key).
struct KeyMap {
    int qt;
    int vk;
};
constexpr KeyMap kKeys[] = {
    {Qt::Key_Backspace, forms::vk::Back},
    {Qt::Key_Tab, forms::vk::Tab},
    {Qt::Key_Backtab, forms::vk::Tab},
    {Qt::Key_Return, forms::vk::Return},
    {Qt::Key_Enter, forms::vk::Return},
    {Qt::Key_Shift, forms::vk::ShiftKey},
    {Qt::Key_Control, forms::vk::Control},
    {Qt::Key_Alt, forms::vk::Menu},
    {Qt::Key_AltGr, forms::vk::Menu},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, forms::vk::Escape},
    {Qt::Key_Space, forms::vk::Space},
    {Qt::Key_PageUp, forms::vk::PageUp},
    {Qt::Key_PageDown, forms::vk::PageDown},
    {Qt::Key_End, forms::vk::End},
    {Qt::Key_Home, forms::vk::Home},
    {Qt::Key_Left, forms::vk::LeftArrow},
    {Qt::Key_Up, forms::vk::UpArrow},
    {Qt::Key_Right, forms::vk::RightArrow},
    {Qt::Key_Down, forms::vk::DownArrow},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, forms::vk::Insert},
    {Qt::Key_Delete, forms::vk::Delete},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_ParenRight, 0x30},
};

// On the number pad the same Qt keys name the pad's own codes.
struct PadMap {
    int qt;
    int vk;
};
constexpr PadMap kPad[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

}  // namespace

int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
        for (const auto& p : kPad)
            if (p.qt == qtKey) return p.vk;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x30 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return forms::vk::F1 + (qtKey - Qt::Key_F1);
    for (const auto& k : kKeys)
        if (k.qt == qtKey) return k.vk;
    return 0;
}

int shiftMaskOf(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= forms::shiftmask::Shift;
    if (modifiers & Qt::ControlModifier) mask |= forms::shiftmask::Ctrl;
    if (modifiers & Qt::AltModifier) mask |= forms::shiftmask::Alt;
    return mask;
}

std::string typedText(int qtKey, const QString& text) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return "\r";
        case Qt::Key_Backspace:
            return "\b";
        case Qt::Key_Escape:
            return "\x1b";
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return "\t";
        // Delete types nothing on the platform; Qt reports DEL.
        case Qt::Key_Delete:
            return {};
        default:
            break;
    }
    if (text == QStringLiteral("\x7f")) return {};
    return text.toStdString();
}

}  // namespace qthost
