#include "host/qt/fonts.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace qthost {

namespace {

struct FaceMap {
    std::string_view windowsName;
    const char* family;
    bool halfWidthAscii = false;
};

// The windows ask for these faces; one CJK font covers them all so that Chinese captions never
// fall back glyph by glyph.
constexpr FaceMap kFaces[] = {
    {"", kCjkFamily},
    // SimSun's Latin letters are half an em wide, fixed; the padded captions rely on it. The
    // stand-in's are fixed too, at six tenths of an em (FaceText narrows them).
    {"宋体", "WenQuanYi Micro Hei Mono", true},
    {"新宋体", "WenQuanYi Micro Hei Mono", true},
    {"黑体", kCjkFamily},
    {"微软雅黑", kCjkFamily},
    {"楷体_GB2312", kCjkFamily},
    {"楷体", kCjkFamily},
    {"仿宋_GB2312", kCjkFamily},
    {"Arial", kCjkFamily},
    {"Tahoma", kCjkFamily},
    {"MS Sans Serif", kCjkFamily},
    {"Microsoft Sans Serif", kCjkFamily},
    {"Times New Roman", kCjkFamily},
    {"System", kCjkFamily},
    {"Courier New", "WenQuanYi Micro Hei Mono"},
    {"Fixedsys", "WenQuanYi Micro Hei Mono"},
};

bool sameAsciiCaseless(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

const FaceMap* faceOf(const forms::Font& font) {
    const FaceMap* face = nullptr;
    for (const auto& f : kFaces)
        if (sameAsciiCaseless(f.windowsName, font.name)) face = &f;
    return face;
}

bool narrowed(QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; }

}  // namespace

int pixelSizeFor(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

QFont qtFont(const forms::Font& font) {
    QFont q;
    const FaceMap* face = faceOf(font);
    const char* family = face ? face->family : nullptr;
    if (family)
        q.setFamilies(QStringList{QString::fromUtf8(family)});
    else
        q.setFamilies(QStringList{QString::fromStdString(font.name), QString::fromUtf8(kCjkFamily)});
    q.setPixelSize(pixelSizeFor(font.size));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    return q;
}

FaceText::FaceText(const forms::Font& font) : font_(qtFont(font)), metrics_(font_) {
    const FaceMap* face = faceOf(font);
    if (!face || !face->halfWidthAscii) return;
    // The stand-in's ASCII is of one fixed width as well, so runs of it are measured by their
    // length and drawn squeezed, with the font as it is: no second font to set up.
    const double half = font_.pixelSize() / 2.0;
    const double wide = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('0'));
    if (wide <= half + 0.01) return;
    half_ = half;
    squeeze_ = half / wide;
}

template <class Run>
void FaceText::runs(const QString& text, Run&& run) const {
    if (half_ == 0) {
        run(text, false);
        return;
    }
    qsizetype start = 0;
    while (start < text.size()) {
        const bool narrow = narrowed(text[start]);
        qsizetype end = start + 1;
        while (end < text.size() && narrowed(text[end]) == narrow) ++end;
        run(text.mid(start, end - start), narrow);
        start = end;
    }
}

double FaceText::runAdvance(const QString& piece, bool narrow) const {
    return narrow ? half_ * static_cast<double>(piece.size()) : QFontMetricsF(font_).horizontalAdvance(piece);
}

int FaceText::advance(const QString& text) const {
    if (half_ == 0) return metrics_.horizontalAdvance(text);
    double width = 0;
    runs(text, [&](const QString& piece, bool narrow) { width += runAdvance(piece, narrow); });
    return static_cast<int>(std::lround(width));
}

void FaceText::draw(QPainter& p, QPoint baseline, const QString& text) const {
    p.setFont(font_);
    if (half_ == 0) {
        p.drawText(baseline, text);
        return;
    }
    double x = baseline.x();
    runs(text, [&](const QString& piece, bool narrow) {
        if (narrow) {
            p.save();
            p.translate(x, baseline.y());
            p.scale(squeeze_, 1);
            p.drawText(QPointF(0, 0), piece);
            p.restore();
        } else {
            p.drawText(QPointF(x, baseline.y()), piece);
        }
        x += runAdvance(piece, narrow);
    });
}

}  // namespace qthost
