// Plain value types of the form model: twips geometry, BGR colours, fonts, input masks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/picture_info.h"

namespace forms {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(Point p) const {
        return p.x >= left && p.y >= top && p.x < left + width && p.y < top + height;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Colours are the platform's BGR numbers (&HBBGGRR); values with the top bit set name a
// system colour by its index in the low byte.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color Black = 0x000000;
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Grey = 0x808080;
inline constexpr Color Red = 0x0000FF;
inline constexpr Color Yellow = 0x00FFFF;
inline constexpr Color Green = 0x00FF00;
inline constexpr Color ScrollBars = 0x80000000;
inline constexpr Color Desktop = 0x80000001;
inline constexpr Color WindowBackground = 0x80000005;
inline constexpr Color WindowText = 0x80000008;
inline constexpr Color Highlight = 0x8000000D;
inline constexpr Color HighlightText = 0x8000000E;
inline constexpr Color ButtonFace = 0x8000000F;
inline constexpr Color ButtonShadow = 0x80000010;
inline constexpr Color GrayText = 0x80000011;
inline constexpr Color ButtonText = 0x80000012;
inline constexpr Color InfoText = 0x80000017;
inline constexpr Color InfoBackground = 0x80000018;
}  // namespace colors

// Resolves system colours to plain BGR using a classic light scheme.
Color resolveColor(Color c);
inline int redOf(Color bgr) { return static_cast<int>(resolveColor(bgr) & 0xFF); }
inline int greenOf(Color bgr) { return static_cast<int>((resolveColor(bgr) >> 8) & 0xFF); }
inline int blueOf(Color bgr) { return static_cast<int>((resolveColor(bgr) >> 16) & 0xFF); }
inline Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

struct Font {
    std::string name = "宋体";
    double size = 9;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// Mouse button mask and shift mask, as the platform reports them.
namespace buttons {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;
}  // namespace buttons
namespace shiftmask {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
}  // namespace shiftmask

// Virtual-key codes used by the windows and the hosts.
namespace vk {
inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int ShiftKey = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Menu = 0x12;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int LeftArrow = 0x25;
inline constexpr int UpArrow = 0x26;
inline constexpr int RightArrow = 0x27;
inline constexpr int DownArrow = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int F1 = 0x70;
inline constexpr int Processkey = 0xE5;
}  // namespace vk

// Standard pointer shapes by number; 99 takes the control's MouseIcon.
namespace pointer {
inline constexpr int Default = 0;
inline constexpr int Arrow = 1;
inline constexpr int Cross = 2;
inline constexpr int IBeam = 3;
inline constexpr int SizeAll = 5;
inline constexpr int SizeNESW = 6;
inline constexpr int SizeNS = 7;
inline constexpr int SizeNWSE = 8;
inline constexpr int SizeWE = 9;
inline constexpr int UpArrow = 10;
inline constexpr int Hourglass = 11;
inline constexpr int NoDrop = 12;
inline constexpr int ArrowHourglass = 13;
inline constexpr int ArrowQuestion = 14;
inline constexpr int SizeAll15 = 15;
inline constexpr int Custom = 99;
}  // namespace pointer

// A loaded picture. Hosts subclass it to keep their decoded image; the model only needs
// the natural size.
class Picture {
public:
    virtual ~Picture() = default;
    std::string path;
    int widthPx = 0;
    int heightPx = 0;
    int widthTwips = 0;
    int heightTwips = 0;
    // Cursor files carry a hot spot; other pictures leave it at 0,0.
    int hotX = 0;
    int hotY = 0;

    // Fills in the above from the file's header, at the host's scale.
    void describe(std::string file, const platform::PictureInfo& info, int twipsPerPixelX, int twipsPerPixelY) {
        path = std::move(file);
        widthPx = info.width;
        heightPx = info.height;
        widthTwips = info.width * twipsPerPixelX;
        heightTwips = info.height * twipsPerPixelY;
        hotX = info.hotX;
        hotY = info.hotY;
    }
};
using PicturePtr = std::shared_ptr<const Picture>;

// Message-box flags and answers, as the platform numbers them.
namespace mb {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int ResultOk = 1;
inline constexpr int ResultCancel = 2;
inline constexpr int ResultYes = 6;
inline constexpr int ResultNo = 7;
}  // namespace mb

}  // namespace forms
