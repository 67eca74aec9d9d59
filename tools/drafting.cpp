#include "tools/drafting.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qz::tools {

namespace {

constexpr double kDeg = std::numbers::pi / 180;

Point polar(Point o, double r, double deg) {  // y grows downwards on the canvas
    return {o.x + r * std::cos(deg * kDeg), o.y - r * std::sin(deg * kDeg)};
}

}  // namespace

void drawGrid(Canvas& c, int x, int y, int w, int h, double step, int majorEvery, Rgba minor, Rgba major) {
    if (step <= 0) return;
    for (int i = 0; i * step <= w; ++i) {
        const double gx = x + i * step + 0.5;
        c.line({gx, double(y)}, {gx, double(y + h)}, majorEvery > 0 && i % majorEvery == 0 ? major : minor, 1);
    }
    for (int j = 0; j * step <= h; ++j) {
        const double gy = y + j * step + 0.5;
        c.line({double(x), gy}, {double(x + w), gy}, majorEvery > 0 && j % majorEvery == 0 ? major : minor, 1);
    }
}

std::vector<Point> insetConvex(const std::vector<Point>& pts, double d) {
    const std::size_t n = pts.size();
    if (n < 3) return pts;
    double area2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        area2 += pts[i].x * pts[(i + 1) % n].y - pts[(i + 1) % n].x * pts[i].y;
    }
    const double side = area2 > 0 ? 1 : -1;
    // Each edge as a line moved inwards: point on it and direction.
    struct Edge {
        Point p, dir;
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < n; ++i) {
        const Point a = pts[i], b = pts[(i + 1) % n];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const Point dir{(b.x - a.x) / len, (b.y - a.y) / len};
        const Point normal{-dir.y * side, dir.x * side};
        edges.push_back({{a.x + normal.x * d, a.y + normal.y * d}, dir});
    }
    std::vector<Point> out;
    for (std::size_t i = 0; i < n; ++i) {
        const Edge& e1 = edges[(i + n - 1) % n];
        const Edge& e2 = edges[i];
        const double cross = e1.dir.x * e2.dir.y - e1.dir.y * e2.dir.x;
        if (std::abs(cross) < 1e-9) {
            out.push_back(e2.p);
            continue;
        }
        const double t = ((e2.p.x - e1.p.x) * e2.dir.y - (e2.p.y - e1.p.y) * e2.dir.x) / cross;
        out.push_back({e1.p.x + e1.dir.x * t, e1.p.y + e1.dir.y * t});
    }
    return out;
}

void drawSetSquare(Canvas& c, Point corner, double longLeg, Rgba line, Rgba tint, double width) {
    const double shortLeg = longLeg * std::tan(30 * kDeg);
    const std::vector<Point> outer{corner, {corner.x + longLeg, corner.y}, {corner.x, corner.y - shortLeg}};
    const double band = std::max(shortLeg * 0.22, width * 3);
    const std::vector<Point> inner = insetConvex(outer, band);
    c.fillConvex(outer, tint);
    c.polyline(outer, line, width, true);
    c.polyline(inner, line, width * 0.8, true);
    // Scale marks along the long leg.
    const double step = longLeg / 12;
    for (int i = 1; i < 12; ++i) {
        const double len = i % 3 == 0 ? band * 0.55 : band * 0.3;
        c.line({corner.x + i * step, corner.y}, {corner.x + i * step, corner.y - len}, line, width * 0.6);
    }
}

void drawCompass(Canvas& c, Point needle, double radius, double tiltDeg, double arcSpanDeg, Rgba line, Rgba arcColour,
                 double width) {
    const Point pencil = polar(needle, radius, -tiltDeg);
    // The hinge sits above the middle of the two points, legs about as long as the opening.
    const Point mid{(needle.x + pencil.x) / 2, (needle.y + pencil.y) / 2};
    const double legLen = radius * 1.05;
    const double half = radius / 2;
    const double rise = std::sqrt(std::max(legLen * legLen - half * half, 1.0));
    const double ux = (pencil.x - needle.x) / radius, uy = (pencil.y - needle.y) / radius;
    const Point hinge{mid.x + uy * rise, mid.y - ux * rise};

    const double startDeg = -tiltDeg - arcSpanDeg / 4;  // most of the arc already drawn
    c.arc(needle, radius, startDeg, startDeg + arcSpanDeg, arcColour, width * 0.9);

    auto towards = [](Point a, Point b, double t) { return Point{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
    c.line(hinge, towards(hinge, needle, 0.9), line, width * 1.4);
    c.line(towards(hinge, needle, 0.9), needle, line, width * 0.7);  // the needle
    c.line(hinge, towards(hinge, pencil, 0.78), line, width * 1.4);
    c.line(towards(hinge, pencil, 0.78), towards(hinge, pencil, 0.93), line, width * 2.2);  // pencil holder
    c.line(towards(hinge, pencil, 0.93), pencil, arcColour, width * 1.1);                   // lead
    // Cross brace and the handle on top.
    c.line(towards(hinge, needle, 0.45), towards(hinge, pencil, 0.45), line, width * 0.7);
    c.fillCircle(hinge, width * 2.2, line);
    const Point handleTop{hinge.x + uy * width * 6, hinge.y - ux * width * 6};
    c.line(hinge, handleTop, line, width * 1.6);
}

void drawTSquare(Canvas& c, Point headTop, double headLength, double bladeLength, double bladeWidth, Rgba line,
                 Rgba tint, double width) {
    const double headWidth = bladeWidth * 0.9;
    const double bladeTop = headTop.y + headLength / 2 - bladeWidth / 2;
    c.fillRoundRect(headTop.x, headTop.y, headWidth, headLength, width * 2, tint);
    c.strokeRoundRect(headTop.x, headTop.y, headWidth, headLength, width * 2, line, width);
    c.fillRect(int(headTop.x + headWidth), int(bladeTop), int(bladeLength), int(bladeWidth), tint);
    c.strokeRoundRect(headTop.x + headWidth - width, bladeTop, bladeLength + width, bladeWidth, 0, line, width);
    drawRulerTicks(c, headTop.x + headWidth + 4, headTop.x + headWidth + bladeLength - 4, bladeTop + width,
                   bladeLength / 60, line);
}

void drawProtractor(Canvas& c, Point centre, double radius, Rgba line, double width) {
    c.arc(centre, radius, 0, 180, line, width);
    c.arc(centre, radius * 0.55, 0, 180, line, width * 0.8);
    c.line({centre.x - radius, centre.y}, {centre.x + radius, centre.y}, line, width);
    for (int deg = 0; deg <= 180; deg += 5) {
        const double len = deg % 30 == 0 ? radius * 0.16 : deg % 10 == 0 ? radius * 0.1 : radius * 0.055;
        c.line(polar(centre, radius, deg), polar(centre, radius - len, deg), line, width * 0.6);
    }
    c.line(centre, polar(centre, radius * 0.5, 90), line, width * 0.6);
    c.circle(centre, width * 2, line, width * 0.8);
}

void drawCentredCircle(Canvas& c, Point centre, double radius, Rgba line, double width) {
    c.circle(centre, radius, line, width);
    const double over = radius * 1.2;
    const double dash = std::max(radius / 5, 4.0);
    c.dashedLine({centre.x - over, centre.y}, {centre.x + over, centre.y}, line, dash, dash / 3, width * 0.6);
    c.dashedLine({centre.x, centre.y - over}, {centre.x, centre.y + over}, line, dash, dash / 3, width * 0.6);
}

void drawRulerTicks(Canvas& c, double x0, double x1, double y, double step, Rgba line) {
    if (step <= 0) return;
    for (int i = 0; x0 + i * step <= x1; ++i) {
        const double len = i % 10 == 0 ? 6 : i % 5 == 0 ? 4 : 2;
        const double x = std::round(x0 + i * step) + 0.5;
        c.line({x, y}, {x, y + len}, line, 1);
    }
}

}  // namespace qz::tools
