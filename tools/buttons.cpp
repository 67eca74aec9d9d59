#include "tools/buttons.h"

#include <algorithm>
#include <cmath>

#include "tools/palette.h"

namespace qz::tools {

using namespace palette;

namespace {

constexpr Rgba kShadow = Rgba::hex(0x0b1b35, 40);
constexpr Tone kGreyTone{Rgba::hex(0xeef0f3), Rgba::hex(0xdfe3e8), kGreyEdge, kGreyText};

// Content moves one pixel right and down while the button is held.
double shift(Look look) { return look == Look::Pressed ? 1 : 0; }

Rgba lighten(Rgba c, double t) { return mix(c, kWhite.withAlpha(c.a), t); }
Rgba darken(Rgba c, double t) { return mix(c, Rgba::hex(0x000000, c.a), t); }

// A face filling the frame but for a one-pixel shadow along the bottom.
void face(Canvas& f, const Tone& t, double radius, Look look) {
    const double w = f.width(), h = f.height();
    if (look != Look::Pressed) f.fillRoundRect(0, 1, w, h - 1, radius, kShadow);
    f.fillRoundRect(0, 0, w, h - 1, radius, t.top, t.bottom);
    f.strokeRoundRect(0, 0, w, h - 1, radius, t.edge, 1);
    if (look == Look::Pressed) {
        f.line({radius, 1.5}, {w - radius, 1.5}, Rgba::hex(0x000000, 30), 1);
    } else if (look != Look::Disabled) {
        f.line({radius, 1.5}, {w - radius, 1.5}, kWhite.withAlpha(110), 1);
    }
}

// A chevron pointing right, as rows of a list show the one that is open.
void chevron(Canvas& f, double x, double y, double size, Rgba c) {
    f.polyline({{x - size / 2, y - size}, {x + size / 2, y}, {x - size / 2, y + size}}, c, 1.6);
}

// The tab outline: rounded top corners, running off the bottom of the frame.
void tabShape(Canvas& f, Rgba top, Rgba bottom) {
    f.fillRoundRect(1, 4, f.width() - 2, f.height() + 8, 7, top, bottom);
}

}  // namespace

void drawStrip(Canvas& strip, const std::function<void(Canvas&, Look)>& faceOf) {
    const int w = strip.width() / 4;
    constexpr Look looks[] = {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled};
    for (int i = 0; i < 4; ++i) {
        Canvas frame(w, strip.height());
        faceOf(frame, looks[i]);
        strip.draw(frame, i * w, 0);
    }
}

void boldTextInBox(Canvas& c, const Font& font, double x, double y, double w, double h, std::string_view s, double size,
                   Rgba colour, Align align) {
    c.textInBox(font, x, y, w, h, s, size, colour, align);
    c.textInBox(font, x + std::max(size * 0.035, 0.4), y, w, h, s, size, colour.withAlpha(colour.a / 2), align);
}

const ButtonStyle kOrangeButton{{Rgba::hex(0xf9ae4b), Rgba::hex(0xe6801c), Rgba::hex(0xc86a12), kWhite},
                                {Rgba::hex(0xfcc26e), Rgba::hex(0xf0922c), Rgba::hex(0xd27514), kWhite},
                                {Rgba::hex(0xd4711a), Rgba::hex(0xe48829), Rgba::hex(0xaa580e), Rgba::hex(0xfff3e4)},
                                true};
const ButtonStyle kBlueButton{{Rgba::hex(0x4391de), Rgba::hex(0x1f5fa8), Rgba::hex(0x184f8d), kWhite},
                              {Rgba::hex(0x5ea6ee), Rgba::hex(0x2b72bf), Rgba::hex(0x1d5b9f), kWhite},
                              {Rgba::hex(0x1b5294), Rgba::hex(0x2766ad), Rgba::hex(0x123e72), Rgba::hex(0xe6f0fb)},
                              true};
const ButtonStyle kLightButton{{kWhite, Rgba::hex(0xe6edf5), Rgba::hex(0xa9bbd0), kText},
                               {kWhite, Rgba::hex(0xf0f6fd), kBlue, kBlue},
                               {Rgba::hex(0xd8e2ee), Rgba::hex(0xe6edf5), Rgba::hex(0x8da4c0), kText},
                               false};

void plainButton(Canvas& f, const Skin& s, const ButtonStyle& style, Look look, Rgba backdrop) {
    const double w = f.width(), h = f.height();
    f.fillRect(0, 0, f.width(), f.height(), backdrop);
    const Tone& t = look == Look::Normal    ? style.normal
                    : look == Look::Hover   ? style.hover
                    : look == Look::Pressed ? style.pressed
                                            : kGreyTone;
    face(f, t, std::min(5.0, h / 5), look);
    if (s.words.empty()) return;
    const double size = h >= 40 ? 16 : h >= 30 ? 13 : 12;
    const double d = shift(look);
    if (style.bold && look != Look::Disabled) {
        f.textInBox(s.font, d, d + 1, w, h - 1, s.words, size, Rgba::hex(0x000000, 45));  // soft shadow
        boldTextInBox(f, s.font, d, d, w, h - 1, s.words, size, t.text);
    } else {
        f.textInBox(s.font, d, d, w, h - 1, s.words, size, t.text);
    }
}

void plainButtons(Canvas& c, const Skin& s, const ButtonStyle& style, Rgba backdrop) {
    drawStrip(c, [&](Canvas& f, Look look) { plainButton(f, s, style, look, backdrop); });
}

void windowButtons(Canvas& c, const Skin& s, Glyph glyph, Rgba (*band)(double), int top) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        for (int y = 0; y < f.height(); ++y) f.fillRect(0, y, f.width(), 1, band(top + y));
        const bool close = glyph == Glyph::Close;
        if (look == Look::Hover) {
            if (close)
                f.fillRoundRect(1, 1, w - 2, h - 2, 4, Rgba::hex(0xe8665c), Rgba::hex(0xcc4338));
            else
                f.fillRoundRect(1, 1, w - 2, h - 2, 4, kWhite.withAlpha(60), kWhite.withAlpha(36));
        } else if (look == Look::Pressed) {
            if (close)
                f.fillRoundRect(1, 1, w - 2, h - 2, 4, Rgba::hex(0xa8332c), Rgba::hex(0xbb3f36));
            else
                f.fillRoundRect(1, 1, w - 2, h - 2, 4, kNavyDeep.withAlpha(120), kNavyDeep.withAlpha(90));
        }
        const Rgba ink =
            look == Look::Disabled ? kWhite.withAlpha(80) : kWhite.withAlpha(look == Look::Normal ? 225 : 255);
        const double d = shift(look);
        drawGlyph(f, s.font, glyph, {w / 2 + d, h / 2 + d}, std::min(w, h) * 0.55, ink, ink);
    });
}

void sectionTabs(Canvas& c, const Skin& s, Glyph glyph) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width();
        // The band of the section strip behind the tabs, whose row 29 is the tabs' top.
        for (int y = 0; y < f.height(); ++y) f.fillRect(0, y, f.width(), 1, sectionBandAt(29 + y));
        Rgba ink = kWhite, second = kBandBottom, words = Rgba::hex(0xe4eefa);
        switch (look) {
            case Look::Normal:
                tabShape(f, kWhite.withAlpha(34), kWhite.withAlpha(14));
                break;
            case Look::Hover:
                tabShape(f, kWhite.withAlpha(70), kWhite.withAlpha(34));
                words = kWhite;
                break;
            case Look::Pressed:
                tabShape(f, kNavyDeep.withAlpha(120), kNavyDeep.withAlpha(80));
                break;
            case Look::Disabled: {  // the open tab
                tabShape(f, kWhite, kPaperTop);
                Canvas rim(f.width(), 7);  // the accent along the top, cut to the tab's corners
                tabShape(rim, kAccent, kAccent);
                f.draw(rim, 0, 0);
                ink = kBlue, second = kWhite, words = kText;
                break;
            }
        }
        const double d = shift(look);
        drawGlyph(f, s.font, glyph, {w / 2 + d, 33 + d}, 28, ink, second);
        if (look == Look::Disabled) {
            boldTextInBox(f, s.font, d, 52 + d, w, 20, s.words, 13, words);
        } else {
            f.textInBox(s.font, d, 52 + d, w, 20, s.words, 13, words);
        }
    });
}

void coverTiles(Canvas& c, const Skin& s, Glyph glyph, Rgba discTop, Rgba discBottom) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        f.fillRect(0, 0, f.width(), f.height(), mix(kPaperTop, kPaperBottom, 0.45));
        Tone card{kWhite, Rgba::hex(0xf0f5fa), kEdge, kText};
        Rgba top = discTop, bottom = discBottom;
        switch (look) {
            case Look::Normal:
                break;
            case Look::Hover:
                card = {kWhite, Rgba::hex(0xf7fbff), kBlue, kBlue};
                top = lighten(top, 0.15), bottom = lighten(bottom, 0.12);
                break;
            case Look::Pressed:
                card = {Rgba::hex(0xe2e9f2), Rgba::hex(0xdbe4ef), Rgba::hex(0xa7bad1), kText};
                top = darken(top, 0.1), bottom = darken(bottom, 0.1);
                break;
            case Look::Disabled:
                card = {Rgba::hex(0xf1f3f5), Rgba::hex(0xe7eaee), kGreyEdge, kGreyText};
                top = Rgba::hex(0xc9d0d8), bottom = Rgba::hex(0xb3bcc7);
                break;
        }
        const double r = 12;
        if (look != Look::Pressed) f.fillRoundRect(0, 1.5, w, h - 1.5, r, kShadow);
        f.fillRoundRect(0, 0, w, h - 1.5, r, card.top, card.bottom);
        f.strokeRoundRect(0, 0, w, h - 1.5, r, card.edge, look == Look::Hover ? 1.6 : 1);

        const double d = shift(look);
        const double cx = w / 2 + d, cy = 60 + d, dr = 36;
        f.fillCircle({cx, cy + 1.5}, dr, Rgba::hex(0x0b1b35, look == Look::Disabled ? 10 : 30));
        f.fillRoundRect(cx - dr, cy - dr, 2 * dr, 2 * dr, dr, top, bottom);
        f.circle({cx, cy}, dr - 4, kWhite.withAlpha(50), 1.2);
        drawGlyph(f, s.font, glyph, {cx, cy}, 38, kWhite, mix(top, bottom, 0.5));
        boldTextInBox(f, s.font, d, 106 + d, w, 26, s.words, 18, card.text);
        if (look == Look::Hover) f.fillRoundRect(w / 2 - 22, 137, 44, 3, 1.5, kAccent);
    });
}

void coverSmallButtons(Canvas& c, const Skin& s, Glyph glyph) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        for (int y = 0; y < f.height(); ++y) f.fillRect(0, y, f.width(), 1, bandAt(2 + y));
        if (look == Look::Hover) f.fillRoundRect(1, 1, w - 2, h - 2, 5, kWhite.withAlpha(56), kWhite.withAlpha(26));
        if (look == Look::Pressed)
            f.fillRoundRect(1, 1, w - 2, h - 2, 5, kNavyDeep.withAlpha(120), kNavyDeep.withAlpha(80));
        const Rgba ink =
            look == Look::Disabled ? kWhite.withAlpha(90) : kWhite.withAlpha(look == Look::Normal ? 230 : 255);
        const double d = shift(look);
        drawGlyph(f, s.font, glyph, {w / 2 + d, 20 + d}, 22, ink, bandAt(22));
        f.textInBox(s.font, d, 36 + d, w, 15, s.words, 11, ink);
    });
}

void columnItems(Canvas& c, const Skin& s, Glyph marker, double markerSize, double textSize) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        f.fillRect(0, 0, f.width(), f.height(), kColumn);
        Rgba ink = kBlue, words = kText;
        switch (look) {
            case Look::Normal:
                break;
            case Look::Hover:
                f.horizontalGradient(0, 0, f.width(), f.height() - 1, kWhite, Rgba::hex(0xf1f6fc));
                f.fillRect(0, 0, 3, f.height() - 1, kBlue);
                words = kBlue;
                break;
            case Look::Pressed:
                f.fillRect(0, 0, f.width(), f.height() - 1, Rgba::hex(0xd3deeb));
                break;
            case Look::Disabled:  // the current one
                f.verticalGradient(0, 0, f.width(), f.height() - 1, Rgba::hex(0x3f8fdf), kBlueDeep);
                f.line({0, 0.5}, {w, 0.5}, kWhite.withAlpha(60), 1);
                f.fillRect(0, 0, 4, f.height() - 1, kAccent);
                ink = kWhite, words = kWhite;
                chevron(f, w - 18, h / 2, 4.5, kWhite.withAlpha(220));
                break;
        }
        f.line({0, h - 0.5}, {w, h - 0.5}, kEdge, 1);
        const double d = shift(look);
        const double mx = 14 + markerSize / 2;
        drawGlyph(f, s.font, marker, {mx + d, h / 2 + d}, markerSize, ink, look == Look::Disabled ? kBlue : kColumn);
        const double tx = mx + markerSize / 2 + 10 + d;
        if (look == Look::Disabled) {
            boldTextInBox(f, s.font, tx, d, w - tx, h - 1, s.words, textSize, words, Align::Left);
        } else {
            f.textInBox(s.font, tx, d, w - tx, h - 1, s.words, textSize, words, Align::Left);
        }
    });
}

void unitRows(Canvas& c, const Skin&) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        f.fillRect(0, 0, f.width(), f.height(), kColumn);
        const double d = shift(look);
        switch (look) {
            case Look::Normal:
                chevron(f, w - 16, h / 2, 3, kMuted.withAlpha(110));
                break;
            case Look::Hover:
                f.horizontalGradient(0, 0, f.width(), f.height() - 1, kWhite, Rgba::hex(0xf1f6fc));
                f.fillRect(0, 0, 3, f.height() - 1, kBlue);
                chevron(f, w - 16, h / 2, 3, kBlue);
                break;
            case Look::Pressed:
                f.fillRect(0, 0, f.width(), f.height() - 1, Rgba::hex(0xd3deeb));
                chevron(f, w - 16 + d, h / 2 + d, 3, kBlue);
                break;
            case Look::Disabled:  // the selected unit
                f.verticalGradient(0, 0, f.width(), f.height() - 1, Rgba::hex(0xdbeafa), Rgba::hex(0xc8dcf3));
                f.line({0, 0.5}, {w, 0.5}, Rgba::hex(0xaac6e6), 1);
                f.fillRect(0, 0, 4, f.height() - 1, kAccent);
                chevron(f, w - 16, h / 2, 4, kBlueDeep);
                break;
        }
        f.line({8, h - 0.5}, {w - 8, h - 0.5}, kEdge, 1);
    });
}

void pageButtons(Canvas& c, const Skin&, bool current) {
    const Tone strong{Rgba::hex(0x3a8ae0), Rgba::hex(0x1d5fa8), Rgba::hex(0x184f8d), kWhite};
    const Tone muted{Rgba::hex(0x9eb0c5), Rgba::hex(0x7f94ad), Rgba::hex(0x6f84a0), kWhite};
    drawStrip(c, [&](Canvas& f, Look look) {
        const double w = f.width(), h = f.height();
        f.fillRect(0, 0, f.width(), f.height(), kColumn);
        const Tone base = current || look == Look::Disabled ? strong : muted;
        Tone t = base;
        if (look == Look::Hover) t = {lighten(base.top, 0.18), lighten(base.bottom, 0.14), base.edge, kWhite};
        if (look == Look::Pressed) t = {darken(base.bottom, 0.08), base.bottom, darken(base.edge, 0.15), kWhite};
        face(f, t, 4, look == Look::Disabled ? Look::Normal : look);
        if (look == Look::Disabled) f.fillRoundRect(8, h - 5, w - 16, 3, 1.5, kAccent);
    });
}

void checkFilters(Canvas& c, const Skin& s, bool ticked) {
    drawStrip(c, [&](Canvas& f, Look look) {
        const double h = f.height();
        f.fillRect(0, 0, f.width(), f.height(), kPanel);
        const bool selected = look == Look::Disabled;  // the filter in force
        const bool tick = ticked || selected;
        if (look == Look::Hover) f.fillRoundRect(0, 1, f.width(), h - 2, 4, Rgba::hex(0xe3eefa));
        if (look == Look::Pressed) f.fillRoundRect(0, 1, f.width(), h - 2, 4, Rgba::hex(0xd5e2f1));
        const double d = shift(look);
        constexpr double box = 11;
        const double bx = 2 + d, by = std::floor((h - box) / 2) + d;
        if (tick) {
            const Rgba top = look == Look::Hover ? kBlueLight : look == Look::Pressed ? kBlueDeep : Rgba::hex(0x3b87d6);
            f.fillRoundRect(bx, by, box, box, 2.5, top, kBlueDeep);
            drawGlyph(f, s.font, Glyph::Tick, {bx + box / 2, by + box / 2}, box * 0.85, kWhite, kWhite);
        } else {
            f.fillRoundRect(bx, by, box, box, 2.5, kWhite,
                            look == Look::Pressed ? Rgba::hex(0xd9e5f2) : Rgba::hex(0xeef3f8));
            f.strokeRoundRect(bx, by, box, box, 2.5, look == Look::Hover ? kBlue : Rgba::hex(0x8ba0ba), 1);
        }
        const Rgba words = selected || look == Look::Hover ? kBlue : kText;
        const double tx = bx + box + 2;
        if (selected) {
            boldTextInBox(f, s.font, tx, d, f.width() - tx, h, s.words, 11, words, Align::Left);
        } else {
            f.textInBox(s.font, tx, d, f.width() - tx, h, s.words, 11, words, Align::Left);
        }
    });
}

}  // namespace qz::tools
