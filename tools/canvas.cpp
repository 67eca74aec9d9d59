#include "tools/canvas.h"

#include <stb_image_write.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qz::tools {

namespace {

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

std::uint8_t toByte(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

double distToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = clamp01(t);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Coverage of a pixel by a band of the given width around a distance-0 curve. Bands thinner
// than a pixel are drawn a pixel wide and faded, which keeps hairlines smooth.
double bandCoverage(double dist, double width) {
    const double w = std::max(width, 1.0);
    return clamp01(w / 2 + 0.5 - dist) * std::min(width, 1.0);
}

// Signed distance to a rounded rectangle (negative inside).
double roundRectDistance(Point p, double x, double y, double w, double h, double r) {
    r = std::clamp(r, 0.0, std::min(w, h) / 2);
    const double qx = std::abs(p.x - (x + w / 2)) - (w / 2 - r);
    const double qy = std::abs(p.y - (y + h / 2)) - (h / 2 - r);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

double normDegrees(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

}  // namespace

Rgba mix(Rgba from, Rgba to, double t) {
    t = clamp01(t);
    auto m = [t](std::uint8_t a, std::uint8_t b) { return toByte(a + (b - a) * t); };
    return {m(from.r, to.r), m(from.g, to.g), m(from.b, to.b), m(from.a, to.a)};
}

// ---- Font ------------------------------------------------------------------------------

struct Font::Impl {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};

    double scale(double size) const { return stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(size)); }
};

Font::Font(const std::filesystem::path& file, int faceIndex) : impl_(std::make_unique<Impl>()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the font " + file.string());
    impl_->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int offset = stbtt_GetFontOffsetForIndex(impl_->data.data(), faceIndex);
    if (offset < 0 || !stbtt_InitFont(&impl_->info, impl_->data.data(), offset)) {
        throw std::runtime_error("no usable face " + std::to_string(faceIndex) + " in the font " + file.string());
    }
}

Font::~Font() = default;

double Font::ascent(double size) const {
    int a = 0, d = 0, gap = 0;
    stbtt_GetFontVMetrics(&impl_->info, &a, &d, &gap);
    return a * impl_->scale(size);
}

double Font::descent(double size) const {
    int a = 0, d = 0, gap = 0;
    stbtt_GetFontVMetrics(&impl_->info, &a, &d, &gap);
    return -d * impl_->scale(size);
}

double Font::advance(std::string_view utf8, double size) const {
    const double scale = impl_->scale(size);
    double x = 0;
    int prev = 0;
    for (const char32_t ch : platform::toU32(utf8)) {
        const auto cp = static_cast<int>(ch);
        if (prev) x += scale * stbtt_GetCodepointKernAdvance(&impl_->info, prev, cp);
        int adv = 0, lsb = 0;
        stbtt_GetCodepointHMetrics(&impl_->info, cp, &adv, &lsb);
        x += scale * adv;
        prev = cp;
    }
    return x;
}

// ---- Canvas ----------------------------------------------------------------------------

Canvas::Canvas(int width, int height, Rgba background)
    : width_(width),
      height_(height),
      px_(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)), background) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("canvas size must be positive");
}

Rgba Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0, 0};
    return px_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Canvas::blend(int x, int y, Rgba c, double coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const double sa = c.a / 255.0 * clamp01(coverage);
    if (sa <= 0) return;
    Rgba& d = px_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    const double da = d.a / 255.0 * (1 - sa);
    const double oa = sa + da;
    auto ch = [&](std::uint8_t s, std::uint8_t t) { return toByte((s * sa + t * da) / oa); };
    d = {ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), toByte(oa * 255)};
}

template <class Coverage>
void Canvas::paint(double x0, double y0, double x1, double y1, Rgba c, Coverage coverage) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int ix1 = std::min(width_ - 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::min(height_ - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const double cov = coverage(Point{x + 0.5, y + 0.5});
            if (cov > 0) blend(x, y, c, cov);
        }
    }
}

void Canvas::fillRect(int x, int y, int w, int h, Rgba c) {
    for (int yy = std::max(0, y); yy < std::min(height_, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(width_, x + w); ++xx) blend(xx, yy, c);
}

void Canvas::verticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
    for (int yy = 0; yy < h; ++yy) {
        const Rgba c = mix(top, bottom, h > 1 ? yy / static_cast<double>(h - 1) : 0);
        fillRect(x, y + yy, w, 1, c);
    }
}

void Canvas::horizontalGradient(int x, int y, int w, int h, Rgba left, Rgba right) {
    for (int xx = 0; xx < w; ++xx) {
        const Rgba c = mix(left, right, w > 1 ? xx / static_cast<double>(w - 1) : 0);
        fillRect(x + xx, y, 1, h, c);
    }
}

void Canvas::radialGradient(int x, int y, int w, int h, Point centre, double radius, Rgba inner, Rgba outer) {
    for (int yy = std::max(0, y); yy < std::min(height_, y + h); ++yy) {
        for (int xx = std::max(0, x); xx < std::min(width_, x + w); ++xx) {
            const double d = std::hypot(xx + 0.5 - centre.x, yy + 0.5 - centre.y);
            blend(xx, yy, mix(inner, outer, radius > 0 ? d / radius : 1));
        }
    }
}

void Canvas::line(Point a, Point b, Rgba c, double width) {
    const double m = std::max(width, 1.0) / 2 + 1;
    paint(std::min(a.x, b.x) - m, std::min(a.y, b.y) - m, std::max(a.x, b.x) + m, std::max(a.y, b.y) + m, c,
          [&](Point p) { return bandCoverage(distToSegment(p, a, b), width); });
}

void Canvas::dashedLine(Point a, Point b, Rgba c, double dash, double gap, double width) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len <= 0 || dash <= 0) return;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    for (double s = 0; s < len; s += dash + std::max(gap, 0.0)) {
        const double e = std::min(s + dash, len);
        line({a.x + ux * s, a.y + uy * s}, {a.x + ux * e, a.y + uy * e}, c, width);
    }
}

void Canvas::circle(Point o, double r, Rgba c, double width) {
    const double m = r + std::max(width, 1.0) / 2 + 1;
    paint(o.x - m, o.y - m, o.x + m, o.y + m, c,
          [&](Point p) { return bandCoverage(std::abs(std::hypot(p.x - o.x, p.y - o.y) - r), width); });
}

void Canvas::fillCircle(Point o, double r, Rgba c) {
    paint(o.x - r - 1, o.y - r - 1, o.x + r + 1, o.y + r + 1, c,
          [&](Point p) { return clamp01(r + 0.5 - std::hypot(p.x - o.x, p.y - o.y)); });
}

void Canvas::arc(Point o, double r, double a0, double a1, Rgba c, double width) {
    const double span = std::clamp(a1 - a0, 0.0, 360.0);
    const double start = normDegrees(a0);
    auto at = [&](double deg) {
        const double t = deg * std::numbers::pi / 180;
        return Point{o.x + r * std::cos(t), o.y - r * std::sin(t)};
    };
    const Point e0 = at(a0), e1 = at(a0 + span);
    const double m = r + std::max(width, 1.0) / 2 + 1;
    paint(o.x - m, o.y - m, o.x + m, o.y + m, c, [&](Point p) {
        const double deg = std::atan2(-(p.y - o.y), p.x - o.x) * 180 / std::numbers::pi;
        double d;
        if (normDegrees(deg - start) <= span) {
            d = std::abs(std::hypot(p.x - o.x, p.y - o.y) - r);
        } else {  // round caps at both ends
            d = std::min(std::hypot(p.x - e0.x, p.y - e0.y), std::hypot(p.x - e1.x, p.y - e1.y));
        }
        return bandCoverage(d, width);
    });
}

void Canvas::fillRoundRect(double x, double y, double w, double h, double radius, Rgba c) {
    paint(x - 1, y - 1, x + w + 1, y + h + 1, c,
          [&](Point p) { return clamp01(0.5 - roundRectDistance(p, x, y, w, h, radius)); });
}

void Canvas::fillRoundRect(double x, double y, double w, double h, double radius, Rgba top, Rgba bottom) {
    const int iy0 = static_cast<int>(std::floor(y)), iy1 = static_cast<int>(std::ceil(y + h));
    for (int row = iy0; row <= iy1; ++row) {
        const Rgba c = mix(top, bottom, h > 1 ? (row + 0.5 - y) / h : 0);
        paint(x - 1, row, x + w + 1, row, c,
              [&](Point p) { return clamp01(0.5 - roundRectDistance(p, x, y, w, h, radius)); });
    }
}

void Canvas::strokeRoundRect(double x, double y, double w, double h, double radius, Rgba c, double width) {
    // The stroke lies inside the box, so a frame drawn at the picture's edge is not cut off.
    const double i = width / 2;
    paint(x - 1, y - 1, x + w + 1, y + h + 1, c, [&](Point p) {
        const double d = roundRectDistance(p, x + i, y + i, w - 2 * i, h - 2 * i, radius - i);
        return bandCoverage(std::abs(d), width);
    });
}

void Canvas::fillConvex(const std::vector<Point>& pts, Rgba c) {
    if (pts.size() < 3) return;
    double area2 = 0;
    double x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Point a = pts[i], b = pts[(i + 1) % pts.size()];
        area2 += a.x * b.y - b.x * a.y;
        x0 = std::min(x0, a.x), y0 = std::min(y0, a.y), x1 = std::max(x1, a.x), y1 = std::max(y1, a.y);
    }
    if (area2 == 0) return;
    const double sign = area2 > 0 ? 1 : -1;
    paint(x0 - 1, y0 - 1, x1 + 1, y1 + 1, c, [&](Point p) {
        double inside = 1e9;  // distance to the nearest edge, positive inside
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const Point a = pts[i], b = pts[(i + 1) % pts.size()];
            const double len = std::hypot(b.x - a.x, b.y - a.y);
            if (len == 0) continue;
            inside = std::min(inside, sign * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / len);
        }
        return clamp01(inside + 0.5);
    });
}

void Canvas::fillPolygon(const std::vector<Point>& pts, Rgba c) {
    if (pts.size() < 3) return;
    double x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (const Point p : pts)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    paint(x0 - 1, y0 - 1, x1 + 1, y1 + 1, c, [&](Point p) {
        bool inside = false;
        double dist = 1e9;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const Point a = pts[i], b = pts[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
            dist = std::min(dist, distToSegment(p, a, b));
        }
        return clamp01(0.5 + (inside ? dist : -dist));
    });
}

void Canvas::draw(const Canvas& src, int x, int y) {
    for (int yy = 0; yy < src.height_; ++yy)
        for (int xx = 0; xx < src.width_; ++xx) blend(x + xx, y + yy, src.pixel(xx, yy));
}

void Canvas::polyline(const std::vector<Point>& pts, Rgba c, double width, bool closed) {
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) line(pts[i], pts[i + 1], c, width);
    if (closed && pts.size() > 2) line(pts.back(), pts.front(), c, width);
}

double Canvas::text(const Font& font, double x, double baseline, std::string_view utf8, double size, Rgba c,
                    Align align) {
    const double advance = font.advance(utf8, size);
    if (align == Align::Center) x -= advance / 2;
    if (align == Align::Right) x -= advance;

    const stbtt_fontinfo* info = &font.impl_->info;
    const double scale = font.impl_->scale(size);
    const auto fscale = static_cast<float>(scale);
    const double by = std::floor(baseline);
    const auto shiftY = static_cast<float>(baseline - by);
    std::vector<unsigned char> glyph;
    double pen = x;
    int prev = 0;
    for (const char32_t ch : platform::toU32(utf8)) {
        const auto cp = static_cast<int>(ch);
        if (prev) pen += scale * stbtt_GetCodepointKernAdvance(info, prev, cp);
        const double bx = std::floor(pen);
        const auto shiftX = static_cast<float>(pen - bx);
        int gx0 = 0, gy0 = 0, gx1 = 0, gy1 = 0;
        stbtt_GetCodepointBitmapBoxSubpixel(info, cp, fscale, fscale, shiftX, shiftY, &gx0, &gy0, &gx1, &gy1);
        const int gw = gx1 - gx0, gh = gy1 - gy0;
        if (gw > 0 && gh > 0) {
            glyph.assign(static_cast<std::size_t>(gw) * static_cast<std::size_t>(gh), 0);
            stbtt_MakeCodepointBitmapSubpixel(info, glyph.data(), gw, gh, gw, fscale, fscale, shiftX, shiftY, cp);
            for (int yy = 0; yy < gh; ++yy) {
                for (int xx = 0; xx < gw; ++xx) {
                    const unsigned char v = glyph[static_cast<std::size_t>(yy * gw + xx)];
                    if (v) blend(static_cast<int>(bx) + gx0 + xx, static_cast<int>(by) + gy0 + yy, c, v / 255.0);
                }
            }
        }
        int adv = 0, lsb = 0;
        stbtt_GetCodepointHMetrics(info, cp, &adv, &lsb);
        pen += scale * adv;
        prev = cp;
    }
    return advance;
}

double Canvas::textInBox(const Font& font, double x, double y, double w, double h, std::string_view utf8, double size,
                         Rgba c, Align align) {
    const double baseline = y + (h + font.ascent(size) - font.descent(size)) / 2;
    const double ax = align == Align::Left ? x : align == Align::Center ? x + w / 2 : x + w;
    return text(font, ax, baseline, utf8, size, c, align);
}

void Canvas::savePng(const std::filesystem::path& file) const {
    const bool opaque = std::all_of(px_.begin(), px_.end(), [](Rgba p) { return p.a == 255; });
    const int channels = opaque ? 3 : 4;
    std::vector<unsigned char> raw;
    raw.reserve(px_.size() * static_cast<std::size_t>(channels));
    for (const Rgba p : px_) {
        raw.insert(raw.end(), {p.r, p.g, p.b});
        if (!opaque) raw.push_back(p.a);
    }
    std::string png;
    auto sink = [](void* ctx, void* data, int size) {
        static_cast<std::string*>(ctx)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
    };
    if (!stbi_write_png_to_func(sink, &png, width_, height_, channels, raw.data(), width_ * channels)) {
        throw std::runtime_error("cannot encode the picture " + file.string());
    }
    try {
        platform::writeBytesReplace(file.string(), png);
    } catch (const platform::VbError& e) {
        throw std::runtime_error("cannot write " + file.string() + ": " + e.what());
    }
}

}  // namespace qz::tools
