// Windows face names mapped onto the installed CJK font, sized in pixels so that metrics do
// not follow the screen's DPI setting.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

#include "forms/types.h"

class QPainter;

namespace qthost {

inline constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

QFont qtFont(const forms::Font& font);
// The model's point sizes are points at 96 DPI.
int pixelSizeFor(double points);

// A font as the windows measure and draw it. SimSun's printable ASCII is half an em wide and
// the layouts are made for that, but its stand-in is wider there: such runs are squeezed to
// half an em.
class FaceText {
public:
    explicit FaceText(const forms::Font& font);
    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const { return metrics_; }  // line height and ascent
    int advance(const QString& text) const;                    // pixels
    void draw(QPainter& p, QPoint baseline, const QString& text) const;

private:
    template <class Run>
    void runs(const QString& text, Run&& run) const;
    double runAdvance(const QString& piece, bool narrow) const;
    QFont font_;
    QFontMetrics metrics_;
    double half_ = 0;     // an ASCII character's width in pixels; 0 when the face needs no squeeze
    double squeeze_ = 1;  // that width over the stand-in's
};

}  // namespace qthost
