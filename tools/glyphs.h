// Small line-work symbols for buttons and tabs. Each fits a square box of side `size` around
// `centre` and is drawn in `ink`; `second` is the colour of details laid over filled ink (the
// face behind the glyph, so they read as cut-outs) or, for the chart, of its trend line.
#pragma once

#include "tools/canvas.h"

namespace qz::tools {

enum class Glyph {
    Home,       // a house
    Practice,   // set square and pencil
    Exam,       // stopwatch
    Favourite,  // star
    Mistakes,   // page with a cross badge
    Update,     // two circling arrows
    Help,       // question mark in a ring
    Website,    // globe
    Chart,      // bars with a trend line
    Units,      // four tiles
    Minimise,   // a bar
    Close,      // a cross
    Bullet,     // a small set square, as a list marker
    Tick,       // check mark
};

void drawGlyph(Canvas& c, const Font& font, Glyph g, Point centre, double size, Rgba ink, Rgba second);

}  // namespace qz::tools
