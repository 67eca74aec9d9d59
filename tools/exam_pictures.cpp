#include "tools/exam_pictures.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/buttons.h"
#include "tools/drafting.h"
#include "tools/glyphs.h"
#include "tools/palette.h"

namespace qz::tools::exam {

using namespace palette;

namespace {

constexpr Rgba kButtonFace = Rgba::hex(0xf0f0f0);   // a frame's or window's own colour
constexpr Rgba kDialogBack = Rgba::hex(0xebe9d8);   // the hand-in dialogs
constexpr Rgba kReportPaper = Rgba::hex(0xf6f9fe);  // the score report's window, round its page
constexpr Rgba kTint = Rgba::hex(0xf1f6fc);         // headers and tiles on white cards
constexpr Rgba kBoxEdge = Rgba::hex(0x9fb2c8);      // frames of boxes the learner types into
constexpr Rgba kNoticeFace = Rgba::hex(0xfff8ec);
constexpr Rgba kNoticeEdge = Rgba::hex(0xf0d3a6);
constexpr int kBand = 64;

double x(const Rect& r) { return px(r.left); }
double y(const Rect& r) { return px(r.top); }
double w(const Rect& r) { return px(r.width); }
double h(const Rect& r) { return px(r.height); }

// A 12-point label is about 16 pixels high; captions beside one share its line.
constexpr double kLabelLine = 16;

void boldText(Canvas& c, const Font& f, double left, double baseline, std::string_view s, double size, Rgba colour,
              Align align = Align::Left) {
    c.text(f, left, baseline, s, size, colour, align);
    c.text(f, left + size * 0.035, baseline, s, size, colour.withAlpha(colour.a / 2), align);
}

// The product name and the page's heading on a title band, as the home cover has it.
void pageBand(Canvas& c, const Skin& s, std::string_view heading) {
    const int width = c.width();
    drawBandBackdrop(c, kBand);

    drawSetSquare(c, {16, 48}, 34, kWhite, kWhite.withAlpha(40), 1.4);
    c.arc({22, 48}, 26, 10, 80, kAccent, 1.6);
    const std::string& name = s.texts["home.title"];
    c.text(s.font, 63, 43.5, name, 24, Rgba::hex(0x000000, 90));
    c.text(s.font, 62, 42, name, 24, kWhite);
    const double after = 62 + s.font.advance(name, 24) + 16;
    c.line({after, 22}, {after, 46}, kWhite.withAlpha(110), 1);
    c.text(s.font, after + 14, 41, heading, 16, Rgba::hex(0xdbe8f7));
    c.text(s.font, width - 18, 40, s.module.title, 13, Rgba::hex(0xa9c8ee), Align::Right);
}

// Drafting paper under the band; where the card leaves room, instruments lie faintly in its
// lower corners.
void paperBody(Canvas& c, bool instruments) {
    const int width = c.width(), height = c.height();
    c.verticalGradient(0, kBand, width, height - kBand, kPaperTop, kPaperBottom);
    drawGrid(c, 0, kBand, width, height - kBand, 20, 5, kInk.withAlpha(9), kInk.withAlpha(20));
    if (instruments) {
        drawSetSquare(c, {28, height - 22.0}, 170, kInk.withAlpha(26), kInk.withAlpha(8), 1.3);
        drawProtractor(c, {width - 120.0, height - 14.0}, 96, kInk.withAlpha(24), 1.2);
        drawCompass(c, {width - 120.0, height - 14.0}, 72, -18, 60, kInk.withAlpha(34), kAccent.withAlpha(60), 1.6);
    }
    c.verticalGradient(0, kBand, width, 8, kNavyDeep.withAlpha(60), kNavyDeep.withAlpha(0));
}

// A white card; with a title, a tinted header strip carries it. The face is flat, so buttons
// drawn on it can paint its colour behind their corners.
void card(Canvas& c, const Skin& s, double left, double top, double width, double height, std::string_view title = {}) {
    constexpr double r = 8, header = 44;
    c.fillRoundRect(left, top + 2, width, height, r, kNavyDeep.withAlpha(26));
    c.fillRoundRect(left, top, width, height, r, kWhite);
    if (!title.empty()) {
        Canvas strip(static_cast<int>(width), static_cast<int>(header));
        strip.fillRoundRect(0, 0, width, header + 2 * r, r, Rgba::hex(0xeef4fb), Rgba::hex(0xe2ecf8));
        c.draw(strip, static_cast<int>(left), static_cast<int>(top));
        c.line({left, top + header + 0.5}, {left + width, top + header + 0.5}, kEdge, 1);
        c.fillRoundRect(left + 18, top + 13, 4, header - 26, 2, kAccent);
        boldText(c, s.font, left + 32, top + header / 2 + 6, title, 17, kText);
    }
    c.strokeRoundRect(left, top, width, height, r, kEdge, 1);
}

// A caption ending just before a label's left edge, on the label's line.
void captionBefore(Canvas& c, const Font& f, const Rect& label, std::string_view words) {
    c.textInBox(f, 0, y(label), x(label) - 4, kLabelLine, words, 15, kText, Align::Right);
}

// A white box under a text box, a little larger, so its frame shows round the box's own edge.
void inputBox(Canvas& c, const Rect& box) {
    c.fillRoundRect(x(box) - 2, y(box) - 2, w(box) + 4, h(box) + 4, 3, kWhite);
    c.strokeRoundRect(x(box) - 2, y(box) - 2, w(box) + 4, h(box) + 4, 3, kBoxEdge, 1);
}

// One button face, exactly where the page's hot area lies over it.
void faceUnder(Canvas& c, const Skin& s, const Rect& area, const ButtonStyle& style, std::string_view words,
               Rgba backdrop) {
    Canvas face(static_cast<int>(w(area)), static_cast<int>(h(area)));
    Skin own = s;
    own.words = words;
    plainButton(face, own, style, Look::Normal, backdrop);
    c.draw(face, static_cast<int>(x(area)), static_cast<int>(y(area)));
}

// A round badge with a number, as the steps of an explanation are counted.
void numberBadge(Canvas& c, const Font& f, Point centre, std::string_view n) {
    c.fillRoundRect(centre.x - 11, centre.y - 11, 22, 22, 11, kBlueLight, kBlueDeep);
    c.textInBox(f, centre.x - 11, centre.y - 11, 22, 22, n, 13, kWhite);
}

// "40|试题（道）": the big number and the words under it.
std::pair<std::string_view, std::string_view> splitFact(std::string_view fact) {
    const auto bar = fact.find('|');
    if (bar == std::string_view::npos) return {fact, {}};
    return {fact.substr(0, bar), fact.substr(bar + 1)};
}

const ButtonStyle kDoneCell{{Rgba::hex(0xe9f7ec), Rgba::hex(0xc3e7cb), Rgba::hex(0x5fae70), kText},
                            {Rgba::hex(0xf3fbf5), Rgba::hex(0xd2eed8), Rgba::hex(0x3f9a53), kText},
                            {Rgba::hex(0xb7dfc0), Rgba::hex(0xcbe9d2), Rgba::hex(0x4c9a5e), kText},
                            false};
const ButtonStyle kNotDoneCell{{Rgba::hex(0xfdeeec), Rgba::hex(0xf6c8c2), Rgba::hex(0xd9766b), kText},
                               {Rgba::hex(0xfff5f4), Rgba::hex(0xf9d8d4), Rgba::hex(0xc85a4e), kText},
                               {Rgba::hex(0xf0b8b1), Rgba::hex(0xf6ccc7), Rgba::hex(0xb95549), kText},
                               false};

}  // namespace

// The row: a white card with a tinted title line, an accent along its left edge and a paper
// sheet in its upper right corner; the program writes every word and lays the start button on
// the flat white at the lower right.
void drawPaperRow(Canvas& c, const Skin&) {
    const double width = c.width(), height = c.height() - 1, r = 6;
    c.fillRoundRect(0, 1, width, height, r, kNavyDeep.withAlpha(30));
    c.fillRoundRect(0, 0, width, height, r, kWhite);
    Canvas tint(c.width(), 33);
    tint.fillRoundRect(0, 0, width, 33 + 2 * r, r, kTint, kWhite);
    c.draw(tint, 0, 0);
    c.fillRoundRect(1.5, 9, 3, height - 18, 1.5, kBlue, kInk.withAlpha(160));
    c.dashedLine({8, 33.5}, {190, 33.5}, kEdge, 3, 2, 1);

    // The sheet: a folded corner, lines of text and a tick.
    const double sx = 258, sy = 7, sw = 22, sh = 27, fold = 6;
    const std::vector<Point> sheet{
        {sx, sy}, {sx + sw - fold, sy}, {sx + sw, sy + fold}, {sx + sw, sy + sh}, {sx, sy + sh}};
    c.fillConvex(sheet, Rgba::hex(0xeef4fb));
    c.polyline(sheet, kInk.withAlpha(120), 1, true);
    c.polyline({{sx + sw - fold, sy}, {sx + sw - fold, sy + fold}, {sx + sw, sy + fold}}, kInk.withAlpha(120), 1);
    for (int i = 0; i < 3; ++i)
        c.line({sx + 4, sy + 10.5 + i * 5}, {sx + sw - 5, sy + 10.5 + i * 5}, kInk.withAlpha(70), 1);
    c.polyline({{sx + 10, sy + 23}, {sx + 13, sy + 26}, {sx + 20, sy + 18}}, kAccent, 1.6);

    c.strokeRoundRect(0, 0, width, height, r, kEdge, 1);
}

// The draw tab: what a random paper is, in three facts and three steps, over a footer where
// button 21 stands. It starts a little left of the rows, so the card is inset to their edge.
void drawRandomPaperTab(Canvas& c, const Skin& s) {
    const double left = 10, top = 2, width = c.width() - left, height = c.height() - top, r = 8;
    card(c, s, left, top, width, height, s.texts["draw.title"]);
    const double inner = left + 24;
    c.text(s.font, inner, top + 76, s.texts["draw.summary"], 14, kText);

    const char* facts[] = {"draw.fact1", "draw.fact2", "draw.fact3"};
    const double tileW = (width - 48 - 2 * 16) / 3, tileTop = top + 94;
    for (int i = 0; i < 3; ++i) {
        const double tx = inner + i * (tileW + 16);
        c.fillRoundRect(tx, tileTop, tileW, 78, 6, kTint);
        c.strokeRoundRect(tx, tileTop, tileW, 78, 6, kEdge, 1);
        const auto [number, words] = splitFact(s.texts[facts[i]]);
        boldText(c, s.font, tx + tileW / 2, tileTop + 42, number, 30, kBlue, Align::Center);
        c.text(s.font, tx + tileW / 2, tileTop + 64, words, 13, kMuted, Align::Center);
    }

    const char* steps[] = {"draw.step1", "draw.step2", "draw.step3"};
    for (int i = 0; i < 3; ++i) {
        const double cy = top + 212 + i * 42;
        numberBadge(c, s.font, {inner + 12, cy}, std::to_string(i + 1));
        c.textInBox(s.font, inner + 36, cy - 12, width - 96, 24, s.texts[steps[i]], 14, kText, Align::Left);
    }
    drawProtractor(c, {left + width - 68, top + 364}, 46, kInk.withAlpha(26), 1.2);

    // The footer, flat in the colour button 21 paints behind its corners.
    const Rect button{kDrawButton.left - kDrawPicture.left, kDrawButton.top - kDrawPicture.top, kDrawButton.width,
                      kDrawButton.height};
    const double footTop = y(button) - 16;
    Canvas foot(static_cast<int>(width), static_cast<int>(top + height - footTop));
    foot.fillRoundRect(0, -2 * r, width, foot.height() + 2 * r, r, kPanel);
    c.draw(foot, static_cast<int>(left), static_cast<int>(footTop));
    c.line({left, footTop + 0.5}, {left + width, footTop + 0.5}, kEdge, 1);
    const double mid = y(button) + h(button) / 2;
    c.textInBox(s.font, inner, mid - 12, x(button) - inner - 30, 24, s.texts["draw.start"], 14, kMuted, Align::Left);
    c.polyline({{x(button) - 20, mid - 5}, {x(button) - 14, mid}, {x(button) - 20, mid + 5}}, kAccent, 1.8);
    c.strokeRoundRect(left, top, width, height, r, kEdge, 1);
}

// The input page: a log-in card round the two boxes and the two buttons the hot areas cover.
void drawLoginPage(Canvas& c, const Skin& s) {
    paperBody(c, true);
    pageBand(c, s, s.texts["login.band"]);
    // Centred on the captions, boxes and buttons together, which stand a little right of the middle.
    const double left = 175, top = 150, width = 460, height = 310;
    card(c, s, left, top, width, height, s.texts["login.heading"]);
    const double centre = left + width / 2;
    boldText(c, s.font, centre, top + 86, s.texts["login.welcome"], 16, kText, Align::Center);
    c.text(s.font, centre, top + 112, s.texts["login.prompt"], 13, kMuted, Align::Center);

    inputBox(c, kSeatBox);
    inputBox(c, kIdBox);
    c.textInBox(s.font, 0, y(kSeatBox), x(kSeatBox) - 10, h(kSeatBox), s.texts["login.seat"], 15, kText, Align::Right);
    c.textInBox(s.font, 0, y(kIdBox), x(kIdBox) - 10, h(kIdBox), s.texts["login.id"], 15, kText, Align::Right);

    faceUnder(c, s, kLogInArea, kBlueButton, s.texts["login.log_in"], kWhite);
    faceUnder(c, s, kExitArea, kLightButton, s.texts["login.exit"], kWhite);
    c.text(s.font, centre, top + height - 22, s.texts["login.note"], 12, kMuted, Align::Center);
}

// The confirmation page: a photo, the captions of the seven labels, the exam's rules and the
// frame of the progress track.
void drawConfirmPage(Canvas& c, const Skin& s) {
    paperBody(c, false);
    pageBand(c, s, s.texts["confirm.band"]);
    // Wide enough for the progress track, which runs to 11445 twips.
    const double left = 56, top = 92, width = 722, height = 492;
    card(c, s, left, top, width, height, s.texts["confirm.heading"]);

    // The photo stands beside the first three labels, above the captions of the others.
    const double photoX = 96, photoY = y(kConfirmLabels[0]) - 16, photoW = 68, photoH = 88;
    Canvas photo(static_cast<int>(photoW), static_cast<int>(photoH));
    photo.verticalGradient(0, 0, photo.width(), photo.height(), Rgba::hex(0xe9f0f8), Rgba::hex(0xd5e1ef));
    photo.fillCircle({photoW / 2, 32}, 15, Rgba::hex(0xa9bbd0));
    photo.fillRoundRect(9, 52, photoW - 18, 60, 24, Rgba::hex(0xa9bbd0));
    photo.textInBox(s.font, 0, photoH - 18, photoW, 16, s.texts["confirm.photo"], 11, kWhite);
    c.draw(photo, static_cast<int>(photoX), static_cast<int>(photoY));
    c.strokeRoundRect(photoX - 0.5, photoY - 0.5, photoW + 1, photoH + 1, 0, kBoxEdge, 1);

    const char* captions[] = {"confirm.name", "confirm.seat",      "confirm.session", "confirm.subject",
                              "confirm.id",   "confirm.admission", "confirm.date"};
    for (int i = 0; i < 7; ++i) captionBefore(c, s.font, kConfirmLabels[i], s.texts[captions[i]]);
    const double rule = (y(kConfirmLabels[2]) + kLabelLine + y(kConfirmLabels[3])) / 2;
    c.dashedLine({90, rule + 0.5}, {410, rule + 0.5}, kEdge, 3, 2, 1);

    // The rules, right of the labels, whose longest (the ID) ends before 320.
    const double nx = 440, ny = top + 66, nw = left + width - 28 - nx, nh = 210;
    c.fillRoundRect(nx, ny, nw, nh, 6, kNoticeFace);
    c.strokeRoundRect(nx, ny, nw, nh, 6, kNoticeEdge, 1);
    drawGlyph(c, s.font, Glyph::Exam, {nx + 26, ny + 24}, 20, kAccentDeep, kNoticeFace);
    boldText(c, s.font, nx + 44, ny + 30, s.texts["confirm.rules"], 15, kAccentDeep);
    const char* rules[] = {"confirm.rule1", "confirm.rule2", "confirm.rule3", "confirm.rule4"};
    for (int i = 0; i < 4; ++i) {
        const double ry = ny + 66 + i * 34;
        c.fillCircle({nx + 22, ry - 4.5}, 2.5, kAccent);
        c.text(s.font, nx + 34, ry, s.texts[rules[i]], 13, kText);
    }

    // Where the learner stands on the way into the exam: logged in, confirming, then the exam.
    const char* stages[] = {"confirm.stage1", "confirm.stage2", "confirm.stage3"};
    const double stageY = 424, stageX0 = 220, stageStep = 180;
    c.line({stageX0, stageY}, {stageX0 + stageStep, stageY}, kBlue, 2);
    c.dashedLine({stageX0 + stageStep, stageY}, {stageX0 + 2 * stageStep, stageY}, kGreyEdge, 5, 4, 2);
    for (int i = 0; i < 3; ++i) {
        const Point at{stageX0 + i * stageStep, stageY};
        if (i == 0) {
            c.fillRoundRect(at.x - 13, at.y - 13, 26, 26, 13, kBlueLight, kBlueDeep);
            drawGlyph(c, s.font, Glyph::Tick, at, 13, kWhite, kWhite);
        } else if (i == 1) {
            c.fillCircle(at, 16, kAccent.withAlpha(60));
            c.fillRoundRect(at.x - 13, at.y - 13, 26, 26, 13, Rgba::hex(0xfbb452), kAccentDeep);
            c.textInBox(s.font, at.x - 13, at.y - 13, 26, 26, "2", 14, kWhite);
        } else {
            c.fillCircle(at, 13, kWhite);
            c.circle(at, 12.5, kGreyEdge, 1.5);
            c.textInBox(s.font, at.x - 13, at.y - 13, 26, 26, "3", 14, kGreyText);
        }
        const Rgba words = i == 1 ? kAccentDeep : i == 0 ? kText : kGreyText;
        c.text(s.font, at.x, at.y + 36, s.texts[stages[i]], 13, words, Align::Center);
    }

    // The track is a white box of its own; this frame and the scale show round it.
    c.text(s.font, x(kTrack), y(kTrack) - 14, s.texts["confirm.progress"], 14, kText);
    c.fillRect(int(x(kTrack)) - 2, int(y(kTrack)) - 2, int(w(kTrack)) + 4, int(h(kTrack)) + 4, kWhite);
    c.strokeRoundRect(x(kTrack) - 2, y(kTrack) - 2, w(kTrack) + 4, h(kTrack) + 4, 0, kBoxEdge, 1);
    drawRulerTicks(c, x(kTrack), x(kTrack) + w(kTrack), y(kTrack) + h(kTrack) + 3, w(kTrack) / 50, kMuted);
}

// The score report: a heading card with a medal, a row for the three buttons, and the result
// card round the score label, the grid's frame and the requirement label.
void drawScoreReport(Canvas& c, const Skin& s) {
    const int width = c.width();
    c.fillRect(0, 0, width, c.height(), kReportPaper);
    drawGrid(c, 0, kBand, width, c.height() - kBand, 20, 5, kInk.withAlpha(6), kInk.withAlpha(12));
    c.verticalGradient(0, kBand, width, 8, kNavyDeep.withAlpha(60), kNavyDeep.withAlpha(0));
    pageBand(c, s, s.texts["report.band"]);

    const double left = 56, cardW = width - 2 * left;
    card(c, s, left, 84, cardW, 164);
    // The medal: ribbon tails behind an orange disc with a star.
    const Point m{132, 160};
    c.fillConvex({{m.x - 20, m.y + 14}, {m.x - 4, m.y + 18}, {m.x - 14, m.y + 62}, {m.x - 24, m.y + 52}}, kBlue);
    c.fillConvex({{m.x + 20, m.y + 14}, {m.x + 4, m.y + 18}, {m.x + 14, m.y + 62}, {m.x + 24, m.y + 52}}, kBlueDeep);
    c.fillCircle({m.x, m.y + 2}, 40, kNavyDeep.withAlpha(40));
    c.fillRoundRect(m.x - 40, m.y - 40, 80, 80, 40, Rgba::hex(0xfbc56a), kAccentDeep);
    c.circle(m, 33, kWhite.withAlpha(120), 1.4);
    drawGlyph(c, s.font, Glyph::Favourite, m, 40, kWhite, kAccent);
    boldText(c, s.font, 204, 140, s.texts["report.heading"], 26, kText);
    c.text(s.font, 204, 178, s.texts["report.line1"], 14, kText);
    c.text(s.font, 204, 204, s.texts["report.line2"], 14, kMuted);
    drawProtractor(c, {width - 130.0, 236}, 70, kInk.withAlpha(24), 1.2);
    drawCompass(c, {width - 130.0, 236}, 56, -14, 64, kInk.withAlpha(32), kAccent.withAlpha(60), 1.5);

    // The buttons stand on a strip of white, the colour they paint behind their corners.
    card(c, s, left, y(kWrongButton) - 9, cardW, h(kWrongButton) + 18);
    c.textInBox(s.font, left, y(kWrongButton), x(kWrongButton) - left - 12, h(kWrongButton), s.texts["report.next"], 14,
                kMuted, Align::Right);

    const double resultTop = y(kScoreLabel) - 18;
    card(c, s, left, resultTop, cardW, c.height() - 16 - resultTop);
    // The legend of the grid's colours, right of the score.
    const struct {
        const Tone& tone;
        const char* words;
    } legend[] = {{kDoneCell.normal, "report.done"}, {kNotDoneCell.normal, "report.not_done"}};
    double lx = left + cardW - 132;
    for (const auto& item : legend) {
        c.fillRoundRect(lx, y(kScoreLabel) + 1, 14, 14, 3, item.tone.top, item.tone.bottom);
        c.strokeRoundRect(lx, y(kScoreLabel) + 1, 14, 14, 3, item.tone.edge, 1);
        lx += 18 + c.text(s.font, lx + 18, y(kScoreLabel) + 13, s.texts[item.words], 12, kText) + 12;
    }
    c.fillRoundRect(x(kGrid) - 4, y(kGrid) - 4, w(kGrid) + 8, h(kGrid) + 8, 4, kButtonFace);
    c.strokeRoundRect(x(kGrid) - 4, y(kGrid) - 4, w(kGrid) + 8, h(kGrid) + 8, 4, kEdge, 1);

    // The requirement's box, its name on the line above. The label's text starts at its very
    // edge, so the box stands well round it, clear of its accent.
    const double bx = x(kRequirement) - 10, by = y(kRequirement) - 8, bw = w(kRequirement) + 20,
                 bh = h(kRequirement) + 11;
    c.fillRoundRect(bx + 2, by - 13, 4, 10, 2, kAccent);
    c.text(s.font, bx + 10, by - 4, s.texts["report.requirement"], 12, kMuted);
    c.fillRoundRect(bx, by, bw, bh, 4, Rgba::hex(0xf4f8fd));
    c.strokeRoundRect(bx, by, bw, bh, 4, kEdge, 1);
    c.fillRoundRect(bx + 1, by + 6, 3, bh - 12, 1.5, kBlue);
}

void rowStartButton(Canvas& c, const Skin& s) { plainButtons(c, s, kOrangeButton, kWhite); }
void rowStartAltButton(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kWhite); }
void doneCell(Canvas& c, const Skin& s) { plainButtons(c, s, kDoneCell, kButtonFace); }
void notDoneCell(Canvas& c, const Skin& s) { plainButtons(c, s, kNotDoneCell, kButtonFace); }
void handInButton(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kDialogBack); }
void backToExamButton(Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, kDialogBack); }
// Going back is what the dialog advises, so it is the strong one.
void tipsBackButton(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kButtonFace); }
void tipsAnswerButton(Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, kButtonFace); }
void redoButton(Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, kWhite); }
void wrongQuestionsButton(Canvas& c, const Skin& s) { plainButtons(c, s, kOrangeButton, kWhite); }
void homeButton(Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, kWhite); }

}  // namespace qz::tools::exam
