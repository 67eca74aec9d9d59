// A small RGBA drawing surface for the generated skin pictures: shapes are anti-aliased by
// coverage, every paint operation blends by alpha, text comes from a TrueType font.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qz::tools {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;

    // 0xRRGGBB, opaque unless an alpha is given.
    static constexpr Rgba hex(std::uint32_t rgb, std::uint8_t alpha = 255) {
        return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), alpha};
    }
    constexpr Rgba withAlpha(std::uint8_t alpha) const { return {r, g, b, alpha}; }
    bool operator==(const Rgba&) const = default;
};

// Straight interpolation between two colours, alpha included; t is clamped to [0, 1].
Rgba mix(Rgba from, Rgba to, double t);

struct Point {
    double x = 0, y = 0;
};

// A TrueType face loaded from a .ttf or from one face of a .ttc collection.
class Font {
public:
    // Throws std::runtime_error when the file cannot be read or holds no such face.
    explicit Font(const std::filesystem::path& file, int faceIndex = 0);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Sizes are em sizes in pixels (a Chinese character is about one em). Metrics are in pixels:
    // ascent above the baseline, descent below it, both >= 0.
    double ascent(double size) const;
    double descent(double size) const;
    double advance(std::string_view utf8, double size) const;

private:
    friend class Canvas;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

enum class Align { Left, Center, Right };

class Canvas {
public:
    Canvas(int width, int height, Rgba background = Rgba::hex(0x000000, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba pixel(int x, int y) const;

    // Paints c over the pixel with the given coverage (0..1); outside the canvas does nothing.
    void blend(int x, int y, Rgba c, double coverage = 1.0);

    void fillRect(int x, int y, int w, int h, Rgba c);
    // Top-to-bottom and left-to-right gradients, painted over what is there.
    void verticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);
    void horizontalGradient(int x, int y, int w, int h, Rgba left, Rgba right);
    // Inner colour at the centre fading to outer at the radius and beyond (within the rectangle).
    void radialGradient(int x, int y, int w, int h, Point centre, double radius, Rgba inner, Rgba outer);

    void line(Point a, Point b, Rgba c, double width = 1.0);
    // Dashed line, as drafting centre lines are drawn: dash and gap lengths in pixels.
    void dashedLine(Point a, Point b, Rgba c, double dash, double gap, double width = 1.0);
    void circle(Point centre, double radius, Rgba c, double width = 1.0);
    void fillCircle(Point centre, double radius, Rgba c);
    // Arc from angle a0 to a1 (degrees, counter-clockwise from the positive x axis, y up).
    void arc(Point centre, double radius, double a0, double a1, Rgba c, double width = 1.0);
    void fillRoundRect(double x, double y, double w, double h, double radius, Rgba c);
    // The same shape shaded from top to bottom, as buttons and panels are.
    void fillRoundRect(double x, double y, double w, double h, double radius, Rgba top, Rgba bottom);
    void strokeRoundRect(double x, double y, double w, double h, double radius, Rgba c, double width = 1.0);
    // Convex polygons only (set squares, arrow heads); the points may wind either way.
    void fillConvex(const std::vector<Point>& points, Rgba c);
    void polyline(const std::vector<Point>& points, Rgba c, double width = 1.0, bool closed = false);
    // Any simple polygon (stars, pencils, chevrons), filled by the even-odd rule in one pass, so a
    // concave outline has no seams where convex pieces would meet.
    void fillPolygon(const std::vector<Point>& points, Rgba c);

    // Paints another canvas over this one with its top-left corner at (x, y).
    void draw(const Canvas& src, int x, int y);

    // Draws one line of text with its baseline at y; x is the left edge, the centre or the
    // right edge as align says. Returns the advance width in pixels.
    double text(const Font& font, double x, double baseline, std::string_view utf8, double size, Rgba c,
                Align align = Align::Left);
    // One line of text centred vertically in a box (as on a button), aligned horizontally within it.
    double textInBox(const Font& font, double x, double y, double w, double h, std::string_view utf8, double size,
                     Rgba c, Align align = Align::Center);

    // Writes a PNG (RGB when every pixel is opaque, RGBA otherwise) to any file name.
    // Throws std::runtime_error on failure.
    void savePng(const std::filesystem::path& file) const;

private:
    // Paints c wherever coverage(px, py) > 0 over the pixel-centre grid of a bounding box.
    template <class Coverage>
    void paint(double x0, double y0, double x1, double y1, Rgba c, Coverage coverage);

    int width_, height_;
    std::vector<Rgba> px_;
};

}  // namespace qz::tools
