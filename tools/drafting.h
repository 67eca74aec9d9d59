// Drafting motifs for the skin pictures: grid paper, set square, compass, T-square, protractor.
// Each is drawn in line work of one colour, so a motif can be a bright emblem or a faint watermark.
#pragma once

#include <vector>

#include "tools/canvas.h"

namespace qz::tools {

// Grid paper: a thin line every `step` pixels, a stronger one every `majorEvery` steps.
void drawGrid(Canvas& c, int x, int y, int w, int h, double step, int majorEvery, Rgba minor, Rgba major);

// A convex polygon moved inwards by d along every edge (the cut-out of a set square).
std::vector<Point> insetConvex(const std::vector<Point>& pts, double d);

// 30/60 set square with its right angle at `corner`, the long leg along +x, the short one up.
void drawSetSquare(Canvas& c, Point corner, double longLeg, Rgba line, Rgba tint, double width);

// Compass standing on `needle`, opened to `radius`, leaning `tiltDeg` (0 = pencil straight to the
// right of the needle); the arc it has traced runs through the pencil point, mostly counter-clockwise
// of it.
void drawCompass(Canvas& c, Point needle, double radius, double tiltDeg, double arcSpanDeg, Rgba line, Rgba arcColour,
                 double width);

// T-square: head along the left edge at x, blade across to the right.
void drawTSquare(Canvas& c, Point headTop, double headLength, double bladeLength, double bladeWidth, Rgba line,
                 Rgba tint, double width);

// Half protractor standing on its diameter, centre at `centre`.
void drawProtractor(Canvas& c, Point centre, double radius, Rgba line, double width);

// A circle as drawn on a part drawing: outline plus dashed centre lines running past it.
void drawCentredCircle(Canvas& c, Point centre, double radius, Rgba line, double width);

// A horizontal ruler scale: ticks every `step`, longer every fifth and tenth.
void drawRulerTicks(Canvas& c, double x0, double x1, double y, double step, Rgba line);

}  // namespace qz::tools
