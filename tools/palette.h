// One palette for every picture, so the screens read as one product: navy title bands, light
// drafting paper, blue for actions and selection, orange as the accent and for primary actions.
#pragma once

#include "tools/canvas.h"

namespace qz::tools::palette {

constexpr Rgba kNavyTop = Rgba::hex(0x1b3e6f);
constexpr Rgba kNavyDeep = Rgba::hex(0x0b1b35);
constexpr Rgba kBandTop = Rgba::hex(0x2361a6);
constexpr Rgba kBandBottom = Rgba::hex(0x173f73);
constexpr Rgba kPaperTop = Rgba::hex(0xf4f7fb);
constexpr Rgba kPaperBottom = Rgba::hex(0xdde6f0);
constexpr Rgba kAccent = Rgba::hex(0xf09a2e);
constexpr Rgba kAccentDeep = Rgba::hex(0xd9771a);
constexpr Rgba kWhite = Rgba::hex(0xffffff);
constexpr Rgba kInk = Rgba::hex(0x2b5b93);

constexpr Rgba kBlue = Rgba::hex(0x2f78c4);
constexpr Rgba kBlueLight = Rgba::hex(0x4a95e0);
constexpr Rgba kBlueDeep = Rgba::hex(0x1d5797);
constexpr Rgba kText = Rgba::hex(0x1f3a5c);      // words on light faces
constexpr Rgba kMuted = Rgba::hex(0x7d90a8);     // secondary marks on light faces
constexpr Rgba kEdge = Rgba::hex(0xc3d2e4);      // soft frames and separators
constexpr Rgba kPanel = Rgba::hex(0xf3f6fa);     // the section panel where its buttons sit
constexpr Rgba kColumn = Rgba::hex(0xe5ecf4);    // the panel's left column (units, pages, menus)
constexpr Rgba kSelected = Rgba::hex(0xd2e3f7);  // a selected row under black text
constexpr Rgba kGreyFace = Rgba::hex(0xe6e9ee);
constexpr Rgba kGreyEdge = Rgba::hex(0xc6ccd4);
constexpr Rgba kGreyText = Rgba::hex(0xa2abb6);

// The title band as it is drawn on the home cover and in the message box, by row, so buttons
// that sit on it can paint the same colour behind themselves.
inline Rgba bandAt(double y) { return mix(kBandTop, kBandBottom, y / 59.0); }
// The taller band of the section screens.
inline Rgba sectionBandAt(double y) { return mix(kBandTop, kNavyTop, y / 109.0); }

}  // namespace qz::tools::palette
