#include "tools/pictures.h"

#include <array>

#include "tools/drafting.h"

namespace qz::tools {

namespace {

// One palette for every picture, so the screens read as one product.
constexpr Rgba kNavyTop = Rgba::hex(0x1b3e6f);
constexpr Rgba kNavyDeep = Rgba::hex(0x0b1b35);
constexpr Rgba kBandTop = Rgba::hex(0x2361a6);
constexpr Rgba kBandBottom = Rgba::hex(0x173f73);
constexpr Rgba kPaperTop = Rgba::hex(0xf4f7fb);
constexpr Rgba kPaperBottom = Rgba::hex(0xdde6f0);
constexpr Rgba kAccent = Rgba::hex(0xf09a2e);
constexpr Rgba kWhite = Rgba::hex(0xffffff);
constexpr Rgba kInk = Rgba::hex(0x2b5b93);

// Text with a soft dark shadow under it, for words over gradients.
void shadowedText(Canvas& c, const Font& f, double x, double y, const std::string& s, double size, Rgba colour,
                  Align align = Align::Left) {
    c.text(f, x + 1, y + 1.5, s, size, Rgba::hex(0x000000, 90), align);
    c.text(f, x, y, s, size, colour, align);
}

// Splash: emblem on the left, product name on the right, a quiet dark middle where the program
// writes its start-up line, and a ruler strip along the bottom.
void drawSplash(Canvas& c, const Skin& skin) {
    const int w = c.width(), h = c.height();
    c.verticalGradient(0, 0, w, h, kNavyTop, kNavyDeep);
    c.radialGradient(0, 0, w, h, {70, 60}, 190, Rgba::hex(0x3a74b8, 110), Rgba::hex(0x3a74b8, 0));
    drawGrid(c, 0, 0, w, h, 10, 5, kWhite.withAlpha(10), kWhite.withAlpha(24));
    // Calm the grid where the status line goes.
    c.radialGradient(0, 96, w, 80, {w / 2.0, 146}, 170, kNavyDeep.withAlpha(225), kNavyDeep.withAlpha(0));

    // Emblem: a set square with a compass standing on it.
    drawSetSquare(c, {16, 106}, 100, kWhite.withAlpha(150), Rgba::hex(0x8fc1ff, 36), 1.4);
    drawCompass(c, {46, 100}, 58, 0, 40, kWhite, kAccent, 1.5);

    const double tx = 136;
    shadowedText(c, skin.font, tx, 62, skin.texts["splash.title"], 28, kWhite);
    c.text(skin.font, tx + 1, 88, skin.texts["splash.subtitle"], 13, Rgba::hex(0xa9c8ee));
    c.horizontalGradient(int(tx), 100, w - int(tx) - 16, 1, kAccent.withAlpha(220), kAccent.withAlpha(0));

    // Bottom strip with a drafting scale and the maker's name.
    c.fillRect(0, h - 24, w, 24, Rgba::hex(0x06101f, 170));
    c.line({0, h - 24.5}, {double(w), h - 24.5}, Rgba::hex(0x4f86c6, 120), 1);
    drawRulerTicks(c, 8, 200, h - 24, 4, kWhite.withAlpha(70));
    c.text(skin.font, w - 12, h - 8, skin.texts["splash.maker"], 11, Rgba::hex(0x8ea9cf), Align::Right);

    c.strokeRoundRect(0, 0, w, h, 0, Rgba::hex(0x4f86c6, 160), 1);
}

// Program icon: the set square and compass arc on a blue tile.
void drawIcon(Canvas& c, const Skin&) {
    const double s = c.width();
    c.fillRoundRect(1, 1, s - 2, s - 2, s * 0.2, Rgba::hex(0x3b82d0), Rgba::hex(0x14386a));
    c.strokeRoundRect(1, 1, s - 2, s - 2, s * 0.2, Rgba::hex(0x0c2548, 200), 1);
    c.arc({s * 0.3, s * 0.72}, s * 0.5, 8, 82, kAccent, s * 0.07);
    const std::vector<Point> tri{{s * 0.22, s * 0.8}, {s * 0.8, s * 0.8}, {s * 0.22, s * 0.22}};
    c.fillConvex(tri, kWhite.withAlpha(60));
    c.polyline(tri, kWhite, s * 0.075, true);
    for (int i = 1; i <= 3; ++i) {  // scale marks along the bottom edge
        const double x = s * (0.22 + 0.145 * i);
        c.line({x, s * 0.8}, {x, s * 0.7}, kWhite, s * 0.05);
    }
}

// Home background: title band with the product name over soft drafting paper with a faint
// watermark of instruments in the lower right.
void drawHome(Canvas& c, const Skin& skin) {
    const int w = c.width(), h = c.height();
    constexpr int band = 60;

    c.verticalGradient(0, band, w, h - band, kPaperTop, kPaperBottom);
    c.radialGradient(0, band, w, h - band, {w * 0.42, h * 0.45}, w * 0.6, kWhite.withAlpha(150), kWhite.withAlpha(0));
    drawGrid(c, 0, band, w, h - band, 20, 5, kInk.withAlpha(9), kInk.withAlpha(20));
    const Rgba mark = kInk.withAlpha(34);
    drawCentredCircle(c, {650, 470}, 92, mark, 1.4);
    drawCentredCircle(c, {650, 470}, 40, mark, 1.2);
    drawProtractor(c, {560, h - 18.0}, 120, kInk.withAlpha(26), 1.2);
    drawCompass(c, {650, 470}, 92, -12, 70, kInk.withAlpha(40), kAccent.withAlpha(70), 2);
    drawSetSquare(c, {36, h - 26.0}, 210, kInk.withAlpha(28), kInk.withAlpha(8), 1.4);
    // Soft shadow under the band.
    c.verticalGradient(0, band, w, 8, Rgba::hex(0x0b1b35, 60), Rgba::hex(0x0b1b35, 0));

    c.verticalGradient(0, 0, w, band, kBandTop, kBandBottom);
    drawGrid(c, 0, 0, w, band, 12, 5, kWhite.withAlpha(8), kWhite.withAlpha(16));
    c.radialGradient(w / 2, 0, w / 2, band, {double(w), 0}, 300, kWhite.withAlpha(30), kWhite.withAlpha(0));
    c.fillRect(0, band - 3, w, 3, kAccent);
    c.line({0, 0.5}, {double(w), 0.5}, kWhite.withAlpha(60), 1);

    // Emblem in the band, then the title and, after a divider, the module.
    drawSetSquare(c, {16, 45}, 34, kWhite, kWhite.withAlpha(40), 1.4);
    c.arc({22, 45}, 26, 10, 80, kAccent, 1.6);
    const double tx = 62;
    shadowedText(c, skin.font, tx, 40, skin.texts["home.title"], 26, kWhite);
    const double after = tx + skin.font.advance(skin.texts["home.title"], 26) + 16;
    c.line({after, 20}, {after, 44}, kWhite.withAlpha(110), 1);
    c.text(skin.font, after + 14, 39, skin.texts["home.subtitle"], 15, Rgba::hex(0xcfe0f5));
}

// A new picture: a draw function above, a row here, and its words in sample/skin.txt.
constexpr std::array kPictures{
    Picture{"l20059.mxy", 400, 200, drawSplash},
    Picture{"l62011.mxy", 32, 32, drawIcon},
    Picture{"l20060.mxy", 800, 600, drawHome},
};

}  // namespace

std::span<const Picture> pictures() { return kPictures; }

void writePictures(const std::filesystem::path& dataDir, const Skin& skin) {
    for (const Picture& p : pictures()) {
        Canvas canvas(p.width, p.height);
        p.draw(canvas, skin);
        canvas.savePng(dataDir / p.file);
    }
}

}  // namespace qz::tools
