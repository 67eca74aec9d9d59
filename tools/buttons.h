// Button strips: four equal frames side by side, normal, hover, pressed, disabled. The program
// shows one frame at a time, so every frame is opaque and paints the colour of the place the
// button sits on behind its own rounded corners.
//
// Plain buttons grey out when disabled. Tabs and other selection buttons use the disabled frame
// for "the current choice" (the program disables the chosen one), so it is drawn selected.
#pragma once

#include <functional>

#include "tools/canvas.h"
#include "tools/glyphs.h"
#include "tools/pictures.h"

namespace qz::tools {

enum class Look { Normal, Hover, Pressed, Disabled };

// Draws face(frame, look) for each look on a canvas of its own, so nothing a frame paints can
// spill into the next, and lays the four out left to right.
void drawStrip(Canvas& strip, const std::function<void(Canvas& frame, Look look)>& face);

// The font has one weight; heavier words are drawn twice, a fraction of a pixel apart.
void boldTextInBox(Canvas& c, const Font& font, double x, double y, double w, double h, std::string_view s, double size,
                   Rgba colour, Align align = Align::Center);

struct Tone {
    Rgba top, bottom, edge, text;
};
struct ButtonStyle {
    Tone normal, hover, pressed;
    bool bold;  // words of primary actions are heavier
};
extern const ButtonStyle kOrangeButton;  // primary actions on the home screens
extern const ButtonStyle kBlueButton;    // primary action in the message box, the second exam start
extern const ButtonStyle kLightButton;   // secondary actions

// A rounded button face with the picture's words (if any) centred; greyed when disabled.
void plainButtons(Canvas& c, const Skin& s, const ButtonStyle& style, Rgba backdrop);
// One frame of it, for a button drawn into a page under a hot area the program lays over it.
void plainButton(Canvas& f, const Skin& s, const ButtonStyle& style, Look look, Rgba backdrop);

// Minimise and close on a title band; band(y) is the band's colour at the row y, top the row of
// the band the buttons' top edge sits on.
void windowButtons(Canvas& c, const Skin& s, Glyph glyph, Rgba (*band)(double), int top);

// Tabs of the section screens' band: glyph over words; the open tab is paper, joining the panel.
void sectionTabs(Canvas& c, const Skin& s, Glyph glyph);

// Big tiles of the home cover: a glyph in a coloured disc over the words.
void coverTiles(Canvas& c, const Skin& s, Glyph glyph, Rgba discTop, Rgba discBottom);

// Small glyph-over-word buttons of the home cover's title band.
void coverSmallButtons(Canvas& c, const Skin& s, Glyph glyph);

// Rows of the section panel's left column with a marker glyph and words; the current one is blue.
void columnItems(Canvas& c, const Skin& s, Glyph marker, double markerSize, double textSize);

// Unit rows of the left column, without words (the program writes the unit name in black).
void unitRows(Canvas& c, const Skin& s);

// Page switches under the unit list, without words (the program writes them in white); the
// current page is strong blue, the other one muted.
void pageButtons(Canvas& c, const Skin& s, bool current);

// Filter switches: a check box and the words; `ticked` draws the box checked.
void checkFilters(Canvas& c, const Skin& s, bool ticked);

}  // namespace qz::tools
