#include "tools/pictures.h"

#include <array>
#include <string>
#include <vector>

#include "tools/buttons.h"
#include "tools/cursor.h"
#include "tools/drafting.h"
#include "tools/exam_pictures.h"
#include "tools/glyphs.h"
#include "tools/palette.h"

namespace qz::tools {

namespace {

using namespace palette;

constexpr Rgba kDialogFooter = Rgba::hex(0xe9eff6);  // where the message box's buttons sit

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

}  // namespace

void drawBandBackdrop(Canvas& c, int height) {
    const int w = c.width();
    for (int y = 0; y < height; ++y) c.fillRect(0, y, w, 1, mix(kBandTop, kBandBottom, y / (height - 1.0)));
    drawGrid(c, 0, 0, w, height, 12, 5, kWhite.withAlpha(8), kWhite.withAlpha(16));
    c.radialGradient(0, 0, 700, height, {300, 0}, 380, kWhite.withAlpha(26), kWhite.withAlpha(0));
    c.fillRect(0, height - 3, w, 3, kAccent);
    c.line({0, 0.5}, {double(w), 0.5}, kWhite.withAlpha(60), 1);
}

namespace {

// The title band of the home cover: emblem, product name and, after a divider, the module.
// The right end stays plain for the minimise and close buttons, which paint the same rows.
void drawTitleBand(Canvas& c, const Skin& skin) {
    drawBandBackdrop(c, 60);

    drawSetSquare(c, {16, 45}, 34, kWhite, kWhite.withAlpha(40), 1.4);
    c.arc({22, 45}, 26, 10, 80, kAccent, 1.6);
    const double tx = 62;
    shadowedText(c, skin.font, tx, 40, skin.texts["home.title"], 26, kWhite);
    const double after = tx + skin.font.advance(skin.texts["home.title"], 26) + 16;
    c.line({after, 20}, {after, 44}, kWhite.withAlpha(110), 1);
    c.text(skin.font, after + 14, 39, skin.module.title, 15, Rgba::hex(0xcfe0f5));
}

// Home background: the title band over soft drafting paper with a faint watermark of
// instruments in the lower right.
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
    drawTitleBand(c, skin);
}

// The cover's own title picture, laid over the band of the background.
void drawCoverTitle(Canvas& c, const Skin& skin) { drawTitleBand(c, skin); }

// Message box: title band, light paper, a panel under the prompt and a plain footer for the
// buttons. The program writes the title and puts the logo and the icon on it.
void drawMessageBox(Canvas& c, const Skin&) {
    const int w = c.width(), h = c.height();
    constexpr int band = 36, footer = 186;
    c.verticalGradient(0, band, w, footer - band, Rgba::hex(0xf8fafd), Rgba::hex(0xedf2f8));
    drawGrid(c, 0, band, w, footer - band, 10, 5, kInk.withAlpha(8), kInk.withAlpha(16));
    drawSetSquare(c, {14, 176}, 54, kInk.withAlpha(34), kInk.withAlpha(8), 1);
    c.verticalGradient(0, band, w, 6, kNavyDeep.withAlpha(50), kNavyDeep.withAlpha(0));

    for (int y = 0; y < band - 2; ++y) c.fillRect(0, y, w, 1, bandAt(y));
    c.radialGradient(0, 0, 300, band, {120, 0}, 220, kWhite.withAlpha(24), kWhite.withAlpha(0));
    c.line({0, 0.5}, {double(w), 0.5}, kWhite.withAlpha(60), 1);
    c.fillRect(0, band - 2, w, 2, kAccent);

    // The prompt's panel, a little larger than the words' box.
    c.fillRoundRect(72, 43.5, 286, 138, 6, kNavyDeep.withAlpha(22));
    c.fillRoundRect(72, 42, 286, 138, 6, kWhite.withAlpha(240), Rgba::hex(0xfafcfe));
    c.strokeRoundRect(72, 42, 286, 138, 6, kEdge, 1);

    c.fillRect(0, footer, w, h - footer, kDialogFooter);
    c.line({0, footer + 0.5}, {double(w), footer + 0.5}, kEdge, 1);
    c.line({0, footer + 1.5}, {double(w), footer + 1.5}, kWhite.withAlpha(170), 1);
    c.strokeRoundRect(0, 0, w, h, 0, kBandBottom, 1);
}

// The about box and the input-method dialog, which share their background: the message box's
// band and grid, its footer under the separator's line.
void drawAboutBox(Canvas& c, const Skin&) {
    const int w = c.width(), h = c.height();
    constexpr int band = 36, footer = 224;
    c.verticalGradient(0, band, w, footer - band, Rgba::hex(0xf8fafd), Rgba::hex(0xedf2f8));
    drawGrid(c, 0, band, w, footer - band, 10, 5, kInk.withAlpha(8), kInk.withAlpha(16));
    c.verticalGradient(0, band, w, 6, kNavyDeep.withAlpha(50), kNavyDeep.withAlpha(0));
    for (int y = 0; y < band - 2; ++y) c.fillRect(0, y, w, 1, bandAt(y));
    c.radialGradient(0, 0, 300, band, {120, 0}, 220, kWhite.withAlpha(24), kWhite.withAlpha(0));
    c.line({0, 0.5}, {double(w), 0.5}, kWhite.withAlpha(60), 1);
    c.fillRect(0, band - 2, w, 2, kAccent);
    c.fillRect(0, footer, w, h - footer, kDialogFooter);
    c.line({0, footer + 0.5}, {double(w), footer + 0.5}, kEdge, 1);
    c.line({0, footer + 1.5}, {double(w), footer + 1.5}, kWhite.withAlpha(170), 1);
    c.strokeRoundRect(0, 0, w, h, 0, kBandBottom, 1);
}

// A round badge with a mark in it, as the message box shows beside its prompt.
void drawBadge(Canvas& c, const Skin& skin, Rgba top, Rgba bottom, const char* mark) {
    const double s = c.width(), o = s / 2, r = s / 2 - 3;
    c.fillCircle({o, o + 1.5}, r + 1.5, kNavyDeep.withAlpha(45));
    c.fillCircle({o, o}, r + 1.5, kWhite);
    c.fillRoundRect(o - r, o - r, 2 * r, 2 * r, r, top, bottom);
    c.fillRoundRect(o - r * 0.62, o - r * 0.9, r * 1.24, r * 0.8, r * 0.4, kWhite.withAlpha(70), kWhite.withAlpha(0));
    const double size = s * 0.6, baseline = o + size * 0.36;
    c.text(skin.font, o + 1, baseline + 1, mark, size, kNavyDeep.withAlpha(60), Align::Center);
    c.text(skin.font, o, baseline, mark, size, kWhite, Align::Center);
    c.text(skin.font, o + 0.6, baseline, mark, size, kWhite, Align::Center);
}

void drawQuestionIcon(Canvas& c, const Skin& skin) {
    drawBadge(c, skin, Rgba::hex(0x5aa6ee), Rgba::hex(0x1f5fa8), "?");
}

void drawNoticeIcon(Canvas& c, const Skin& skin) { drawBadge(c, skin, Rgba::hex(0xfbbb5e), Rgba::hex(0xe07b12), "!"); }

// Top of the section screens: the band the program writes the module title on, with the tabs'
// row below it and a light edge the open tab runs into.
void drawSectionTop(Canvas& c, const Skin&) {
    const int w = c.width(), h = c.height();
    for (int y = 0; y < h - 1; ++y) c.fillRect(0, y, w, 1, sectionBandAt(y));
    drawGrid(c, 0, 0, w, h - 1, 12, 5, kWhite.withAlpha(7), kWhite.withAlpha(14));
    c.radialGradient(0, 0, 700, h - 1, {220, 0}, 420, kWhite.withAlpha(26), kWhite.withAlpha(0));
    drawProtractor(c, {600, h - 2.0}, 82, kWhite.withAlpha(30), 1.2);
    drawCentredCircle(c, {692, 74}, 24, kWhite.withAlpha(26), 1.2);
    c.line({0, 0.5}, {double(w), 0.5}, kWhite.withAlpha(60), 1);
    c.line({0, h - 1.5}, {double(w), h - 1.5}, kNavyDeep.withAlpha(110), 1);
    c.fillRect(0, h - 1, w, 1, kPaperTop);
}

// The section panel: a light left column for the unit and page buttons, grid paper beside it.
void drawSectionPanel(Canvas& c, const Skin&) {
    const int w = c.width(), h = c.height();
    constexpr int column = 186;
    c.verticalGradient(column, 0, w - column, h, Rgba::hex(0xf8fafd), Rgba::hex(0xedf2f8));
    drawGrid(c, column, 0, w - column, h, 20, 5, kInk.withAlpha(7), kInk.withAlpha(15));
    drawCentredCircle(c, {706, 372}, 58, kInk.withAlpha(24), 1.2);
    drawCompass(c, {706, 372}, 58, -10, 70, kInk.withAlpha(30), kAccent.withAlpha(60), 1.6);
    drawProtractor(c, {590, h - 2.0}, 92, kInk.withAlpha(18), 1.1);

    c.fillRect(0, 0, column, h, kColumn);
    c.horizontalGradient(column, 0, 6, h, kNavyDeep.withAlpha(18), kNavyDeep.withAlpha(0));
    c.line({column - 0.5, 0}, {column - 0.5, double(h)}, kEdge, 1);

    const Rgba frame = Rgba::hex(0xb3c4d8);
    c.line({0.5, 0}, {0.5, double(h)}, frame, 1);
    c.line({w - 0.5, 0}, {w - 0.5, double(h)}, frame, 1);
    c.line({0, h - 0.5}, {double(w), h - 0.5}, frame, 1);
}

// The favourites' and the wrong questions' panel: the card behind the filters, counters and
// actions, headed by the section's name.
void drawReviewPanel(Canvas& c, const Skin& s) {
    drawSectionPanel(c, s);
    c.fillRoundRect(368, 96, 380, 180, 8, kWhite, Rgba::hex(0xf4f7fb));
    c.strokeRoundRect(368.5, 96.5, 379, 179, 8, kEdge);
    c.textInBox(s.font, 384, 104, 348, 36, s.words, 16, kInk, Align::Left);
    c.line({384, 144.5}, {732, 144.5}, kEdge, 1);
}

// Vertical accent at the panel's left edge.
void drawPanelAccent(Canvas& c, const Skin&) {
    const double h = c.height();
    c.fillRect(0, 0, c.width(), c.height(), kColumn);
    c.fillRoundRect(3, 0, 4, h, 2, kAccent, kAccent.withAlpha(0));
    c.fillRoundRect(8, 14, 2, h * 0.7, 1, kBlue.withAlpha(170), kBlue.withAlpha(0));
    for (int y = 20; y < h * 0.6; y += 10) c.line({8, y + 0.5}, {11, y + 0.5}, kBlue.withAlpha(90), 1);
}

// Learning-progress chart: guide lines every 24 pixels up from the axis at the bottom.
void drawChartBack(Canvas& c, const Skin&) {
    const int w = c.width();
    constexpr double axis = 258;
    c.verticalGradient(0, 0, w, c.height(), kWhite, Rgba::hex(0xf5f8fc));
    drawGrid(c, 0, 0, w, c.height(), 12, 0, kInk.withAlpha(6), kInk.withAlpha(6));
    for (double y = axis - 24; y > 0; y -= 24)
        c.dashedLine({0, y + 0.5}, {double(w), y + 0.5}, kInk.withAlpha(40), 4, 3, 1);
    c.fillRect(0, int(axis), w, 2, kInk.withAlpha(190));
    c.strokeRoundRect(0, 0, w, c.height(), 0, kEdge, 1);
}

// A column of the chart; the program stretches it to the height it needs, so it is shaded
// across only, like a rod.
void drawBar(Canvas& c, Rgba dark, Rgba light) {
    const int w = c.width(), h = c.height(), mid = w * 3 / 8;
    c.horizontalGradient(0, 0, mid, h, dark, light);
    c.horizontalGradient(mid, 0, w - mid, h, light, dark);
    c.line({0.5, 0}, {0.5, double(h)}, mix(dark, Rgba::hex(0x000000), 0.15), 1);
    c.line({w - 0.5, 0}, {w - 0.5, double(h)}, mix(dark, Rgba::hex(0x000000), 0.15), 1);
    c.fillRect(1, 0, w - 2, 1, kWhite.withAlpha(120));
}

void drawLearnedBar(Canvas& c, const Skin&) { drawBar(c, Rgba::hex(0x2e9a4b), Rgba::hex(0x7ed993)); }
void drawUnlearnedBar(Canvas& c, const Skin&) { drawBar(c, Rgba::hex(0xe0801a), Rgba::hex(0xfcc372)); }

// The chart's heading emblem.
void drawChartEmblem(Canvas& c, const Skin& skin) {
    const double s = c.width();
    c.fillRect(0, 0, c.width(), c.height(), kPanel);
    c.fillRoundRect(3, 4.5, s - 6, s - 6, 14, kNavyDeep.withAlpha(40));
    c.fillRoundRect(3, 3, s - 6, s - 6, 14, kBlueLight, kBlueDeep);
    c.strokeRoundRect(3, 3, s - 6, s - 6, 14, kBlueDeep, 1);
    c.fillRoundRect(7, 5, s - 14, s * 0.4, 10, kWhite.withAlpha(50), kWhite.withAlpha(0));
    drawGlyph(c, skin.font, Glyph::Chart, {s / 2, s / 2 + 1}, s * 0.58, kWhite, kAccent);
}

// The pointing hand: a white hand with a black outline, the index fingertip at (9, 1).
void drawHand(Canvas& c) {
    constexpr int n = 32;
    bool in[n][n] = {};
    auto fill = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) in[y][x] = true;
    };
    fill(8, 11, 1, 12);    // index finger
    fill(13, 15, 7, 12);   // middle
    fill(17, 19, 8, 12);   // ring
    fill(21, 22, 10, 12);  // little finger
    fill(8, 22, 13, 21);   // palm
    fill(9, 21, 22, 22);
    fill(10, 20, 23, 23);
    const int thumb[][3] = {{12, 3, 5}, {13, 3, 6}, {14, 4, 7}, {15, 4, 7}, {16, 5, 7}, {17, 6, 7}, {18, 7, 7}};
    for (const auto& t : thumb) fill(t[1], t[2], t[0], t[0]);
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < n && y < n && in[y][x]; };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            if (in[y][x]) {
                c.fillRect(x, y, 1, 1, kWhite);
            } else if (inside(x - 1, y) || inside(x + 1, y) || inside(x, y - 1) || inside(x, y + 1)) {
                c.fillRect(x, y, 1, 1, Rgba::hex(0x000000));
            }
        }
    }
    // The gaps between the fingers run on a little into the palm.
    for (const int x : {12, 16, 20}) c.fillRect(x, 13, 1, 2, Rgba::hex(0x8c8c8c));
}

// Buttons: each row names its family and what sets it apart; the words come from skin.txt.
// The standard arrow, black with a white rim, tip at (0, 0).
void drawArrow(Canvas& c) {
    const std::vector<Point> outline{{0.5, 0.5}, {0.5, 17}, {4.5, 13}, {7.5, 19.5}, {10, 18.5}, {7, 12}, {12.5, 12}};
    c.fillPolygon(outline, kWhite);
    c.polyline(outline, Rgba::hex(0x000000), 1.2, true);
}

// The drafting cross-hair with its pick box, centred on (15, 15).
void drawPickBox(Canvas& c) {
    for (const double w : {3.0, 1.0}) {
        const Rgba ink = w > 1 ? kWhite : Rgba::hex(0x000000);
        c.line({0, 15.5}, {31, 15.5}, ink, w);
        c.line({15.5, 0}, {15.5, 31}, ink, w);
        c.strokeRoundRect(11.5, 11.5, 8, 8, 0, ink, w);
    }
}

// The question panel: a title strip in the band's colours (the window buttons paint the same
// rows behind themselves), grey below where the pages sit.
Rgba panelBandAt(double y) { return bandAt(y + 4); }

void drawPanel(Canvas& c, const Skin&) {
    const int w = c.width(), h = c.height();
    c.fillRect(0, 0, w, h, Rgba::hex(0xf0f0f0));
    for (int y = 0; y < 30; ++y) c.fillRect(0, y, w, 1, panelBandAt(y));
    c.horizontalGradient(0, 29, w, 1, kAccent, kAccent.withAlpha(0));
    drawGrid(c, 0, 30, w, h - 30, 12, 5, Rgba::hex(0x2b5b93, 8), Rgba::hex(0x2b5b93, 16));
    c.strokeRoundRect(0.5, 0.5, w - 1, h - 1, 0, kNavyTop, 1);
}

// The simulated window's maker mark, in its lower right corner.
void drawWindowLogo(Canvas& c, const Skin& s) {
    const double h = c.height();
    c.fillRoundRect(0, 0, c.width(), h, 3, Rgba::hex(0x1b3e6f, 200));
    drawGlyph(c, s.font, Glyph::Bullet, {h / 2 + 1, h / 2}, h * 0.7, kAccent, kAccent);
    c.textInBox(s.font, h + 1, 0, c.width() - h - 2, h, s.words, 10, kWhite, Align::Left);
}

constexpr ButtonStyle kPanelButton{{kWhite, Rgba::hex(0xdfe7f1), Rgba::hex(0x9fb2c8), kText},
                                   {kWhite, Rgba::hex(0xeaf2fc), kBlue, kBlue},
                                   {Rgba::hex(0xcfdbe9), Rgba::hex(0xe3eaf3), Rgba::hex(0x8da4c0), kText},
                                   false};
constexpr Rgba kPanelGrey = Rgba::hex(0xf0f0f0);
void panelButton(Canvas& c, const Skin& s) { plainButtons(c, s, kPanelButton, kPanelGrey); }
// The marks of an exam stand out: the learner comes back to them before handing in.
void examMarkButton(Canvas& c, const Skin& s) { plainButtons(c, s, kOrangeButton, kPanelGrey); }
void panelPrimary(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kPanelGrey); }

// The small drop-down beside the input-method indicator.
void drawImeTips(Canvas& c, const Skin& s) {
    plainButtons(c, s, kPanelButton, Rgba::hex(0x0000ff));
    for (int i = 0; i < 4; ++i) {
        const double cx = i * c.width() / 4.0 + c.width() / 8.0 + (i == 2 ? 1 : 0), cy = c.height() / 2.0;
        c.fillConvex({{cx - 3.5, cy - 1.5}, {cx + 3.5, cy - 1.5}, {cx, cy + 2.5}}, i == 3 ? kGreyText : kText);
    }
}

void okButton(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kDialogFooter); }
void cancelButton(Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, kDialogFooter); }
void primaryButton(Canvas& c, const Skin& s) { plainButtons(c, s, kOrangeButton, kPanel); }
void secondaryButton(Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, kPanel); }
void menuItem(Canvas& c, const Skin& s) { columnItems(c, s, Glyph::Bullet, 10, 15); }
void allUnitsItem(Canvas& c, const Skin& s) { columnItems(c, s, Glyph::Units, 20, 16); }
void filter(Canvas& c, const Skin& s) { checkFilters(c, s, false); }
void filterTicked(Canvas& c, const Skin& s) { checkFilters(c, s, true); }
void otherPage(Canvas& c, const Skin& s) { pageButtons(c, s, false); }
void currentPage(Canvas& c, const Skin& s) { pageButtons(c, s, true); }

// A new picture: a draw function above (or a family of buttons.h), a row here, and its words
// in sample/skin.txt.
constexpr Rgba kDiscBlue[] = {Rgba::hex(0x55a0ea), Rgba::hex(0x1d5797)};
constexpr Rgba kDiscOrange[] = {Rgba::hex(0xfbb452), Rgba::hex(0xdb7414)};

constexpr std::array kPictures{
    Picture{"l20059.mxy", 400, 200, drawSplash},
    Picture{"l62011.mxy", 32, 32, drawIcon},
    Picture{"l20060.mxy", 800, 600, drawHome},

    // Message box.
    Picture{"l20069.mxy", 370, 250, drawMessageBox},
    // About box.
    Picture{"l20070.mxy", 420, 280, drawAboutBox},
    Picture{"l20067.mxy", 24, 24, drawIcon},
    Picture{"l20001.mxy", 360, 30, okButton, "msgbox.ok"},
    Picture{"l20000.mxy", 360, 30, cancelButton, "msgbox.cancel"},
    Picture{"l20003.mxy", 88, 22, [](Canvas& c, const Skin& s) { windowButtons(c, s, Glyph::Close, bandAt, 6); }},
    Picture{"l20002.mxy", 88, 22, [](Canvas& c, const Skin& s) { windowButtons(c, s, Glyph::Minimise, bandAt, 6); }},
    Picture{"l20071.mxy", 48, 48, drawQuestionIcon},
    Picture{"l20072.mxy", 48, 48, drawNoticeIcon},

    // Update window.
    Picture{"l20075.mxy", 560, 30, okButton, "update.upgrade"},
    Picture{"l20076.mxy", 560, 30, cancelButton, "update.close"},

    // Home cover.
    Picture{"l20051.mxy", 800, 60, drawCoverTitle},
    Picture{"l20004.mxy", 600, 150,
            [](Canvas& c, const Skin& s) { coverTiles(c, s, Glyph::Practice, kDiscBlue[0], kDiscBlue[1]); },
            "cover.practice"},
    Picture{"l20005.mxy", 600, 150,
            [](Canvas& c, const Skin& s) { coverTiles(c, s, Glyph::Exam, kDiscOrange[0], kDiscOrange[1]); },
            "cover.exam"},
    Picture{"l20006.mxy", 600, 150,
            [](Canvas& c, const Skin& s) { coverTiles(c, s, Glyph::Favourite, kDiscBlue[0], kDiscBlue[1]); },
            "cover.favourites"},
    Picture{"l20007.mxy", 600, 150,
            [](Canvas& c, const Skin& s) { coverTiles(c, s, Glyph::Mistakes, kDiscOrange[0], kDiscOrange[1]); },
            "cover.mistakes"},
    Picture{"l20008.mxy", 144, 55, [](Canvas& c, const Skin& s) { coverSmallButtons(c, s, Glyph::Update); },
            "cover.update"},
    Picture{"l20011.mxy", 144, 55, [](Canvas& c, const Skin& s) { coverSmallButtons(c, s, Glyph::Help); },
            "cover.help"},
    Picture{"l20012.mxy", 144, 55, [](Canvas& c, const Skin& s) { coverSmallButtons(c, s, Glyph::Website); },
            "cover.website"},
    // Spares the screens never show.
    Picture{"l20009.mxy", 88, 22, secondaryButton},
    Picture{"l20010.mxy", 88, 22, secondaryButton},
    Picture{"l20026.mxy", 88, 22, secondaryButton},
    Picture{"l20027.mxy", 88, 22, secondaryButton},

    // Section screens: band, tabs and panel.
    Picture{"l20052.mxy", 800, 110, drawSectionTop},
    Picture{"l20053.mxy", 800, 460, drawSectionPanel},
    Picture{"l20013.mxy", 88, 22,
            [](Canvas& c, const Skin& s) { windowButtons(c, s, Glyph::Minimise, sectionBandAt, 6); }},
    Picture{"l20014.mxy", 88, 22,
            [](Canvas& c, const Skin& s) { windowButtons(c, s, Glyph::Close, sectionBandAt, 6); }},
    Picture{"l20015.mxy", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Home); }, "tab.home"},
    Picture{"l20016.mxy", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Practice); },
            "tab.practice"},
    Picture{"l20017.mxy", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Exam); }, "tab.exam"},
    Picture{"l20018.mxy", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Favourite); },
            "tab.favourites"},
    Picture{"l20019.mxy", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Mistakes); },
            "tab.mistakes"},

    // Section screens: actions.
    Picture{"l20020.mxy", 480, 40, primaryButton, "action.study"},
    Picture{"l20021.mxy", 480, 40, primaryButton, "action.compose"},
    Picture{"l20022.mxy", 480, 40, primaryButton, "action.practise"},
    Picture{"l20024.mxy", 480, 40, primaryButton, "action.review"},
    Picture{"l20023.mxy", 320, 25, secondaryButton, "action.clear_favourites"},
    Picture{"l20025.mxy", 320, 25, secondaryButton, "action.clear_mistakes"},
    // The paper rows' start buttons, on the rows' white.
    Picture{"l20047.mxy", 4 * exam::px(exam::kRowStart.width), exam::px(exam::kRowStart.height),
            exam::rowStartButton, "action.exam"},
    Picture{"l20048.mxy", 4 * exam::px(exam::kRowStart.width), exam::px(exam::kRowStart.height),
            exam::rowStartAltButton, "action.exam_alt"},

    // Section screens: the left column's menus, units and pages.
    Picture{"l20028.mxy", 720, 50, menuItem, "paper.sprint"},
    Picture{"l20029.mxy", 720, 50, menuItem, "paper.mock"},
    Picture{"l20030.mxy", 720, 50, menuItem, "paper.composed"},
    Picture{"l20031.mxy", 720, 50, menuItem, "paper.random"},
    Picture{"l20032.mxy", 720, 50, menuItem, "guide.intro"},
    Picture{"l20033.mxy", 720, 50, menuItem, "guide.prepare"},
    Picture{"l20034.mxy", 720, 50, menuItem, "guide.syllabus"},
    Picture{"l20035.mxy", 720, 50, menuItem, "guide.tips"},
    Picture{"l20036.mxy", 720, 50, menuItem, "guide.faq"},
    Picture{"l20044.mxy", 720, 58, allUnitsItem, "units.all"},
    Picture{"l20045.mxy", 720, 35, unitRows},
    Picture{"l20046.mxy", 316, 37, otherPage},
    Picture{"l20086.mxy", 316, 37, currentPage},

    // Section screens: filters, unticked and ticked.
    Picture{"l20037.mxy", 240, 25, filter, "filter.all"},
    Picture{"l20038.mxy", 240, 25, filter, "filter.learned"},
    Picture{"l20039.mxy", 240, 25, filter, "filter.unlearned"},
    Picture{"l20087.mxy", 240, 25, filterTicked, "filter.all"},
    Picture{"l20088.mxy", 240, 25, filterTicked, "filter.learned"},
    Picture{"l20089.mxy", 240, 25, filterTicked, "filter.unlearned"},
    // The review sections' filters are wider and taller than the units'.
    Picture{"l20040.mxy", 320, 30, filter, "filter.favourites_new"},
    Picture{"l20041.mxy", 320, 30, filter, "filter.favourites_done"},
    Picture{"l20042.mxy", 320, 30, filter, "filter.mistakes_new"},
    Picture{"l20043.mxy", 320, 30, filter, "filter.mistakes_done"},
    Picture{"l20090.mxy", 320, 30, filterTicked, "filter.favourites_new"},
    Picture{"l20091.mxy", 320, 30, filterTicked, "filter.favourites_done"},
    Picture{"l20092.mxy", 320, 30, filterTicked, "filter.mistakes_new"},
    Picture{"l20093.mxy", 320, 30, filterTicked, "filter.mistakes_done"},

    // Section screens: decoration and the learning-progress chart.
    Picture{"l20054.mxy", 12, 200, drawPanelAccent},
    Picture{"l20057.mxy", 800, 460, drawReviewPanel, "review.favourites"},
    Picture{"l20058.mxy", 800, 460, drawReviewPanel, "review.mistakes"},
    Picture{"l20055.mxy", 460, 260, drawChartBack},
    Picture{"l20061.mxy", 60, 238, drawLearnedBar},
    Picture{"l20062.mxy", 60, 238, drawUnlearnedBar},
    Picture{"l20064.mxy", 64, 64, drawChartEmblem},
    // Question panel and the simulated window's marks.
    Picture{"l01046.mxy", 332, 242, drawPanel},
    Picture{"l62009.mxy", 78, 15, drawWindowLogo, "window.logo"},
    Picture{"l01000.mxy", 192, 22, panelButton, "panel.previous"},
    Picture{"l01001.mxy", 192, 22, panelButton, "panel.next"},
    Picture{"l01002.mxy", 232, 22, panelButton, "panel.redo"},
    Picture{"l01003.mxy", 232, 22, panelButton, "panel.mark"},
    Picture{"l01004.mxy", 192, 22, panelButton, "panel.grid"},
    Picture{"l01005.mxy", 232, 22, panelPrimary, "panel.end"},
    Picture{"l01006.mxy", 232, 22, panelButton, "panel.guide"},
    Picture{"l01007.mxy", 232, 22, panelButton, "panel.demo"},
    Picture{"l01008.mxy", 232, 22, panelPrimary, "panel.hand_in"},
    Picture{"l01009.mxy", 232, 22, panelButton, "panel.examinee"},
    Picture{"l01010.mxy", 232, 22, panelButton, "panel.tips"},
    Picture{"l01011.mxy", 232, 22, panelButton, "panel.unmark"},
    Picture{"l01053.mxy", 232, 22, examMarkButton, "panel.mark"},
    Picture{"l01054.mxy", 232, 22, examMarkButton, "panel.unmark"},
    Picture{"l01044.mxy", 232, 22, panelButton},
    Picture{"l01043.mxy", 64, 18, drawImeTips},
    Picture{"l01030.mxy", 120, 30, panelButton},
    // Grid cells of questions opened and marked.
    Picture{"l01031.mxy", 120, 30, panelPrimary},
    Picture{"l01032.mxy", 120, 30, examMarkButton},
    Picture{"l01045.mxy", 220, 22, panelPrimary, "panel.back"},
    Picture{"l01047.mxy", 220, 22, panelButton, "panel.previous_page"},
    Picture{"l01048.mxy", 220, 22, panelButton, "panel.next_page"},

    // The mock exam: the home screen's paper rows and draw tab, the login's pages, the hand-in
    // and tips dialogs' buttons and the score report with its grid cells.
    Picture{"l20065.mxy", exam::px(exam::kRowWidth), exam::px(exam::kRowHeight), exam::drawPaperRow},
    Picture{"l20066.mxy", exam::px(exam::kDrawPicture.width), exam::px(exam::kDrawPicture.height),
            exam::drawRandomPaperTab},
    Picture{"9l0056.mxy", exam::px(exam::kPageWidth), exam::px(exam::kPageHeight), exam::drawLoginPage},
    Picture{"9l0057.mxy", exam::px(exam::kPageWidth), exam::px(exam::kPageHeight), exam::drawConfirmPage},
    Picture{"l01041.mxy", 4 * exam::px(exam::kDialogButtonWidth), exam::px(exam::kDialogButtonHeight),
            exam::handInButton, "hand_in.confirm"},
    Picture{"l01042.mxy", 4 * exam::px(exam::kDialogButtonWidth), exam::px(exam::kDialogButtonHeight),
            exam::backToExamButton, "hand_in.back"},
    Picture{"l01038.mxy", 4 * exam::px(exam::kTipsButtonWidth), exam::px(exam::kTipsButtonHeight),
            exam::tipsBackButton, "tips.back"},
    Picture{"l01039.mxy", 4 * exam::px(exam::kTipsButtonWidth), exam::px(exam::kTipsButtonHeight),
            exam::tipsAnswerButton, "tips.answer"},
    Picture{"9l0058.mxy", exam::px(exam::kPageWidth), exam::px(exam::kPageHeight), exam::drawScoreReport},
    Picture{"l01033.mxy", 4 * exam::px(exam::kCell), exam::px(exam::kCell), exam::doneCell},
    Picture{"l01034.mxy", 4 * exam::px(exam::kCell), exam::px(exam::kCell), exam::notDoneCell},
    Picture{"l01035.mxy", 4 * exam::px(exam::kRedoButton.width), exam::px(exam::kRedoButton.height),
            exam::redoButton, "report.redo"},
    Picture{"l01036.mxy", 4 * exam::px(exam::kWrongButton.width), exam::px(exam::kWrongButton.height),
            exam::wrongQuestionsButton, "report.wrong"},
    Picture{"l01037.mxy", 4 * exam::px(exam::kHomeButton.width), exam::px(exam::kHomeButton.height),
            exam::homeButton, "report.home"},
};

// The minimised question panel: a title band to drag it by over a restore face. Window
// pictures keep their design size, so this one is drawn at 15 twips to a pixel.
void drawSmallPanel(Canvas& c, const Skin& s) {
    const int w = c.width(), h = c.height();
    c.fillRect(0, 0, w, h, kPanelGrey);
    for (int y = 0; y < 17; ++y) c.fillRect(0, y, w, 1, panelBandAt(y));
    c.fillRoundRect(6, 19, w - 12, 35, 4, kBlueLight, kBlueDeep);
    c.polyline({{w / 2.0 - 7, 30}, {w / 2.0, 23}, {w / 2.0 + 7, 30}}, kWhite, 2);
    c.textInBox(s.font, 6, 32, w - 12, 20, s.words, 11, kWhite, Align::Center);
    c.strokeRoundRect(0.5, 0.5, w - 1, h - 1, 0, kNavyTop, 1);
}

constexpr std::array kWindowPictures{
    Picture{"FrmZXH.png", 54, 58, drawSmallPanel, "panel.restore"},
};

// The login's hand over its two hot areas.
constexpr std::array kWindowCursors{
    Cursor{"FrmLogon.cur", 32, 9, 1, drawHand},
};

constexpr std::array kCursors{
    Cursor{"9l0015.mxy", 32, 9, 1, drawHand},
};

// The pointers steps ask for by number, beside the program.
constexpr std::array kProgramCursors{
    Cursor{"ico00.CUR", 32, 0, 0, drawArrow},
    Cursor{"ico01.CUR", 32, 15, 15, drawPickBox},
    Cursor{"ico02.CUR", 32, 9, 1, drawHand},
};

}  // namespace

std::span<const Picture> pictures() { return kPictures; }
std::span<const Cursor> cursors() { return kCursors; }
std::span<const Cursor> programCursors() { return kProgramCursors; }
int programCursorNumber(const Cursor& c) { return std::stoi(std::string(c.file).substr(3, 2)); }

namespace {

void writeAll(std::span<const Picture> list, const std::filesystem::path& dir, const Skin& skin) {
    for (const Picture& p : list) {
        Canvas canvas(p.width, p.height);
        Skin own = skin;
        own.words = p.words ? std::string_view(skin.texts[p.words]) : std::string_view();
        p.draw(canvas, own);
        canvas.savePng(dir / p.file);
    }
}

void writeCursors(std::span<const Cursor> list, const std::filesystem::path& dir) {
    for (const Cursor& k : list) {
        Canvas canvas(k.size, k.size);
        k.draw(canvas);
        saveCursor(dir / k.file, canvas, k.hotX, k.hotY);
    }
}

}  // namespace

void writeWindowPictures(const std::filesystem::path& programDir, const Skin& skin) {
    writeAll(kWindowPictures, programDir, skin);
    writeCursors(kWindowCursors, programDir);
}

void writeProgramCursors(const std::filesystem::path& programDir) { writeCursors(programCursors(), programDir); }

void writePictures(const std::filesystem::path& dataDir, const Skin& skin) {
    writeAll(pictures(), dataDir, skin);
    writeCursors(cursors(), dataDir);
}

}  // namespace qz::tools
