#include "tools/glyphs.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/drafting.h"

namespace qz::tools {

namespace {

constexpr double kDeg = std::numbers::pi / 180;

// Glyphs are laid out in a unit box from -0.5 to 0.5 on both axes, y down.
struct Box {
    Point o;
    double s;

    Point at(double fx, double fy) const { return {o.x + fx * s, o.y + fy * s}; }
    double len(double f) const { return f * s; }
    // Angle counter-clockwise from +x with y up, as Canvas::arc takes it.
    Point polar(Point from, double r, double deg) const {
        return {from.x + r * s * std::cos(deg * kDeg), from.y - r * s * std::sin(deg * kDeg)};
    }
};

void home(Canvas& c, const Box& b, Rgba ink, double w) {
    c.polyline({b.at(-0.3, -0.1), b.at(-0.3, 0.4), b.at(0.3, 0.4), b.at(0.3, -0.1)}, ink, w);
    c.line(b.at(0.2, -0.34), b.at(0.2, -0.2), ink, w);  // chimney
    c.polyline({b.at(-0.46, 0.02), b.at(0, -0.4), b.at(0.46, 0.02)}, ink, w * 1.3);
    const Point door = b.at(-0.09, 0.12);
    c.fillRoundRect(door.x, door.y, b.len(0.18), b.len(0.28), b.len(0.04), ink);
}

void practice(Canvas& c, const Box& b, Rgba ink, Rgba second, double w) {
    const std::vector<Point> outer{b.at(-0.44, 0.4), b.at(0.3, 0.4), b.at(-0.44, -0.34)};
    c.fillConvex(outer, ink.withAlpha(static_cast<std::uint8_t>(ink.a * 0.25)));
    c.polyline(outer, ink, w, true);
    c.polyline(insetConvex(outer, b.len(0.13)), ink, w * 0.8, true);
    for (int i = 1; i <= 4; ++i) {
        const double x = -0.44 + 0.13 * i;
        c.line(b.at(x, 0.4), b.at(x, i % 2 ? 0.33 : 0.3), ink, w * 0.6);
    }
    // Pencil coming down from the upper right to the hypotenuse.
    const Point tail = b.at(0.48, -0.46), tip = b.at(0.02, 0.0);
    const double len = std::hypot(tip.x - tail.x, tip.y - tail.y);
    const Point u{(tip.x - tail.x) / len, (tip.y - tail.y) / len}, n{-u.y, u.x};
    const double half = b.len(0.075), cone = b.len(0.17);
    const Point neck{tip.x - u.x * cone, tip.y - u.y * cone};
    auto off = [](Point p, Point d, double k) { return Point{p.x + d.x * k, p.y + d.y * k}; };
    c.fillConvex({off(tail, n, half), off(neck, n, half), off(neck, n, -half), off(tail, n, -half)}, ink);
    c.fillConvex({off(neck, n, half), tip, off(neck, n, -half)}, ink);
    c.line(off(neck, n, half * 1.2), off(neck, n, -half * 1.2), second, w * 0.7);
    const Point ferrule = off(tail, u, cone * 0.5);
    c.line(off(ferrule, n, half * 1.2), off(ferrule, n, -half * 1.2), second, w * 0.6);
}

void exam(Canvas& c, const Box& b, Rgba ink, double w) {
    const Point o = b.at(0, 0.07);
    const double r = 0.36;
    std::vector<Point> sector{o};
    for (int deg = 90; deg >= 20; deg -= 5) sector.push_back(b.polar(o, r * 0.8, deg));
    c.fillPolygon(sector, ink.withAlpha(static_cast<std::uint8_t>(ink.a * 0.4)));
    c.circle(o, b.len(r), ink, w * 1.2);
    c.line(b.at(0, -0.29), b.at(0, -0.37), ink, w * 1.3);
    const Point knob = b.at(-0.1, -0.47);
    c.fillRoundRect(knob.x, knob.y, b.len(0.2), b.len(0.1), b.len(0.03), ink);
    c.line(b.polar(o, r + 0.02, 45), b.polar(o, r + 0.1, 45), ink, w * 1.3);
    for (int deg = 0; deg < 360; deg += 90) c.line(b.polar(o, r * 0.9, deg), b.polar(o, r * 0.72, deg), ink, w * 0.7);
    c.line(o, b.polar(o, 0.25, 90), ink, w);
    c.line(o, b.polar(o, 0.2, 20), ink, w);
    c.fillCircle(o, w * 1.1, ink);
}

std::vector<Point> star(const Box& b, Point o, double outer, double inner) {
    std::vector<Point> pts;
    for (int i = 0; i < 10; ++i) pts.push_back(b.polar(o, i % 2 ? inner : outer, 90 + 36 * i));
    return pts;
}

void mistakes(Canvas& c, const Box& b, Rgba ink, Rgba second, double w) {
    c.polyline({b.at(0.12, -0.42), b.at(-0.34, -0.42), b.at(-0.34, 0.42), b.at(0.3, 0.42), b.at(0.3, -0.24),
                b.at(0.12, -0.42), b.at(0.12, -0.24), b.at(0.3, -0.24)},
               ink, w);
    for (int i = 0; i < 3; ++i) {
        const double y = -0.2 + 0.14 * i;
        c.line(b.at(-0.22, y), b.at(i == 0 ? 0.02 : 0.16, y), ink, w * 0.8);
    }
    const Point badge = b.at(0.22, 0.26);
    c.fillCircle(badge, b.len(0.25), second);
    c.fillCircle(badge, b.len(0.2), ink);
    const double k = 0.075;
    c.line(b.at(0.22 - k, 0.26 - k), b.at(0.22 + k, 0.26 + k), second, w * 0.95);
    c.line(b.at(0.22 - k, 0.26 + k), b.at(0.22 + k, 0.26 - k), second, w * 0.95);
}

void update(Canvas& c, const Box& b, Rgba ink, double w) {
    const Point o = b.o;
    const double r = 0.34;
    for (const double start : {30.0, 210.0}) {
        const double end = start + 125;
        c.arc(o, b.len(r), start, end, ink, w * 1.2);
        // Arrow head at the end of travel (counter-clockwise), pointing along the tangent.
        const Point e = b.polar(o, r, end);
        const Point radial{std::cos(end * kDeg), -std::sin(end * kDeg)};
        const Point tangent{-std::sin(end * kDeg), -std::cos(end * kDeg)};
        const double head = b.len(0.13), back = b.len(0.02);
        c.fillConvex({{e.x + tangent.x * head, e.y + tangent.y * head},
                      {e.x + radial.x * head - tangent.x * back, e.y + radial.y * head - tangent.y * back},
                      {e.x - radial.x * head - tangent.x * back, e.y - radial.y * head - tangent.y * back}},
                     ink);
    }
}

void boldCentred(Canvas& c, const Font& font, Point o, double size, const char* s, Rgba ink) {
    // The visual middle of a Latin mark sits about a third of an em above the baseline.
    const double baseline = o.y + size * 0.36;
    c.text(font, o.x, baseline, s, size, ink, Align::Center);
    c.text(font, o.x + size * 0.04, baseline, s, size, ink, Align::Center);
}

void help(Canvas& c, const Font& font, const Box& b, Rgba ink, double w) {
    c.circle(b.o, b.len(0.42), ink, w * 1.2);
    boldCentred(c, font, b.at(0, 0.0), b.len(0.62), "?", ink);
}

void ellipse(Canvas& c, Point o, double rx, double ry, Rgba ink, double w) {
    std::vector<Point> pts;
    for (int deg = 0; deg < 360; deg += 10)
        pts.push_back({o.x + rx * std::cos(deg * kDeg), o.y + ry * std::sin(deg * kDeg)});
    c.polyline(pts, ink, w, true);
}

void website(Canvas& c, const Box& b, Rgba ink, double w) {
    const double r = 0.42;
    c.circle(b.o, b.len(r), ink, w * 1.2);
    ellipse(c, b.o, b.len(0.17), b.len(r), ink, w * 0.85);
    c.line(b.at(0, -r), b.at(0, r), ink, w * 0.85);
    for (const double y : {-0.2, 0.0, 0.2}) {
        const double half = std::sqrt(r * r - y * y);
        c.line(b.at(-half, y), b.at(half, y), ink, w * 0.85);
    }
}

void chart(Canvas& c, const Box& b, Rgba ink, Rgba second, double w) {
    c.line(b.at(-0.44, 0.4), b.at(0.44, 0.4), ink, w);
    c.line(b.at(-0.44, 0.4), b.at(-0.44, -0.44), ink, w);
    const double heights[] = {0.28, 0.46, 0.36, 0.66};
    std::vector<Point> trend;
    for (int i = 0; i < 4; ++i) {
        const double x = -0.33 + 0.2 * i;
        const Point top = b.at(x, 0.36 - heights[i]);
        c.fillRoundRect(top.x, top.y, b.len(0.13), b.len(heights[i]), b.len(0.02), ink);
        trend.push_back(b.at(x + 0.065, 0.24 - heights[i]));
    }
    c.polyline(trend, second, w);
    for (const Point p : trend) c.fillCircle(p, w * 1.05, second);
}

void units(Canvas& c, const Box& b, Rgba ink, double w) {
    const double side = 0.38, gap = 0.1;
    for (int i = 0; i < 4; ++i) {
        const Point p = b.at(-0.43 + (i % 2) * (side + gap), -0.43 + (i / 2) * (side + gap));
        if (i == 0) {
            c.fillRoundRect(p.x, p.y, b.len(side), b.len(side), b.len(0.07), ink);
        } else {
            c.strokeRoundRect(p.x, p.y, b.len(side), b.len(side), b.len(0.07), ink, w);
        }
    }
}

}  // namespace

void drawGlyph(Canvas& c, const Font& font, Glyph g, Point centre, double size, Rgba ink, Rgba second) {
    const Box b{centre, size};
    const double w = std::max(size * 0.075, 1.0);
    switch (g) {
        case Glyph::Home:
            home(c, b, ink, w);
            break;
        case Glyph::Practice:
            practice(c, b, ink, second, w);
            break;
        case Glyph::Exam:
            exam(c, b, ink, w);
            break;
        case Glyph::Favourite:
            c.fillPolygon(star(b, b.at(0, 0.04), 0.5, 0.21), ink);
            break;
        case Glyph::Mistakes:
            mistakes(c, b, ink, second, w);
            break;
        case Glyph::Update:
            update(c, b, ink, w);
            break;
        case Glyph::Help:
            help(c, font, b, ink, w);
            break;
        case Glyph::Website:
            website(c, b, ink, w);
            break;
        case Glyph::Chart:
            chart(c, b, ink, second, w);
            break;
        case Glyph::Units:
            units(c, b, ink, w);
            break;
        case Glyph::Minimise:
            c.line(b.at(-0.34, 0.1), b.at(0.34, 0.1), ink, size * 0.13);
            break;
        case Glyph::Close:
            c.line(b.at(-0.3, -0.3), b.at(0.3, 0.3), ink, size * 0.12);
            c.line(b.at(-0.3, 0.3), b.at(0.3, -0.3), ink, size * 0.12);
            break;
        case Glyph::Bullet:
            c.fillConvex({b.at(-0.4, 0.4), b.at(0.4, 0.4), b.at(-0.4, -0.4)}, ink);
            break;
        case Glyph::Tick:
            c.polyline({b.at(-0.32, 0.0), b.at(-0.08, 0.26), b.at(0.34, -0.26)}, ink, size * 0.16);
            break;
    }
}

}  // namespace qz::tools
