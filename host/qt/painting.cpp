#include "host/qt/painting.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/runtime.h"
#include "host/qt/fonts.h"
#include "host/qt/picture.h"
#include "platform/legacy_text.h"

namespace qthost {

using forms::Kind;

QColor qtColor(forms::Color bgr) { return QColor(forms::redOf(bgr), forms::greenOf(bgr), forms::blueOf(bgr)); }

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Twips to pixels; edges are converted, not sizes, so neighbouring controls meet exactly.
struct Scale {
    int tx;
    int ty;
    int x(int twips) const { return floorDiv(twips, tx); }
    int y(int twips) const { return floorDiv(twips, ty); }
    QRect rect(int left, int top, int width, int height) const {
        int l = x(left), t = y(top);
        return {l, t, x(left + width) - l, y(top + height) - t};
    }
    QRect rect(const forms::Rect& r) const { return rect(r.left, r.top, r.width, r.height); }
};

const QImage* imageOf(const forms::PicturePtr& p) {
    auto* q = dynamic_cast<const QtPicture*>(p.get());
    return q && !q->image().isNull() ? &q->image() : nullptr;
}

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }
QString qs(const std::u32string& u) { return QString::fromUcs4(u.data(), static_cast<qsizetype>(u.size())); }

std::string stripMnemonic(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

const QColor kShadow(160, 160, 160);
const QColor kDarkShadow(105, 105, 105);
const QColor kLight(227, 227, 227);
const QColor kHighlight(255, 255, 255);
const QColor kGrayText(109, 109, 109);
const QColor kSelection(0, 120, 215);

// The classic two-pixel sunken edge of boxes and fields.
void sunkenEdge(QPainter& p, const QRect& r) {
    if (r.width() < 4 || r.height() < 4) return;
    auto edge = [&](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
        p.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
        p.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
        p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
        p.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
    };
    edge(r, kShadow, kHighlight);
    edge(r.adjusted(1, 1, -1, -1), kDarkShadow, kLight);
}

void singleBorder(QPainter& p, const QRect& r) {
    if (r.width() <= 0 || r.height() <= 0) return;
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

Qt::PenStyle penStyle(int borderStyle) {
    switch (borderStyle) {
        case 0:
            return Qt::NoPen;
        case 2:
            return Qt::DashLine;
        case 3:
            return Qt::DotLine;
        case 4:
            return Qt::DashDotLine;
        case 5:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

Qt::BrushStyle fillPattern(int fillStyle) {
    switch (fillStyle) {
        case 0:
            return Qt::SolidPattern;
        case 2:
            return Qt::HorPattern;
        case 3:
            return Qt::VerPattern;
        case 4:
            return Qt::BDiagPattern;
        case 5:
            return Qt::FDiagPattern;
        case 6:
            return Qt::CrossPattern;
        case 7:
            return Qt::DiagCrossPattern;
        default:
            return Qt::NoBrush;
    }
}

class FormPainter {
public:
    FormPainter(QPainter& p, forms::Form& form)
        : p_(p), form_(form), s_{form.rt().host().twipsPerPixelX(), form.rt().host().twipsPerPixelY()} {}

    void paint() {
        forms::Size cs = form_.clientSize();
        QRect client(0, 0, s_.x(cs.width), s_.y(cs.height));
        p_.save();
        p_.setClipRect(client);
        p_.fillRect(client, qtColor(form_.backColor()));
        if (const QImage* img = imageOf(form_.picture())) p_.drawImage(QPoint(0, 0), *img);
        children(form_);
        p_.restore();
    }

private:
    void children(const forms::Container& c) {
        for (forms::Control* child : c.paintOrder()) {
            if (!child->visible()) continue;
            p_.save();
            control(*child);
            p_.restore();
        }
    }

    void control(const forms::Control& c) {
        switch (c.kind()) {
            case Kind::Label:
                label(static_cast<const forms::Label&>(c));
                break;
            case Kind::Image:
                image(static_cast<const forms::Image&>(c));
                break;
            case Kind::PictureBox:
            case Kind::Frame:
            case Kind::UserControl:
                container(static_cast<const forms::Container&>(c));
                break;
            case Kind::TextBox:
                textBox(static_cast<const forms::TextBox&>(c));
                break;
            case Kind::CheckBox:
                checkBox(static_cast<const forms::CheckBox&>(c));
                break;
            case Kind::Shape:
                shape(static_cast<const forms::Shape&>(c));
                break;
            case Kind::Line:
                line(static_cast<const forms::Line&>(c));
                break;
            case Kind::WebBrowser:
                p_.fillRect(s_.rect(c.rect()), Qt::white);
                break;  // the page is a child window
            case Kind::Timer:
            case Kind::Form:
                break;
        }
    }

    void container(const forms::Container& c) {
        QRect r = s_.rect(c.rect());
        p_.setClipRect(r, Qt::IntersectClip);
        p_.fillRect(r, qtColor(c.backColor()));
        if (c.kind() == Kind::Frame)
            frameEdge(static_cast<const forms::Frame&>(c), r);
        else if (c.kind() == Kind::PictureBox && c.borderStyle() == 1)
            sunkenEdge(p_, r);
        forms::Point off = c.clientOffset();
        int ox = s_.x(off.x), oy = s_.y(off.y);
        p_.translate(r.left() + ox, r.top() + oy);
        p_.setClipRect(QRect(0, 0, r.width() - 2 * ox, r.height() - 2 * oy), Qt::IntersectClip);
        if (const QImage* img = imageOf(c.picture())) p_.drawImage(QPoint(0, 0), *img);
        children(c);
    }

    void frameEdge(const forms::Frame& f, const QRect& r) {
        const FaceText face(f.font());
        const QFontMetrics& fm = face.metrics();
        int top = r.top() + fm.height() / 2;
        if (f.borderStyle() == 1 && r.width() > 2 && r.bottom() - top > 2) {
            p_.setBrush(Qt::NoBrush);
            p_.setPen(kShadow);
            p_.drawRect(QRect(r.left(), top, r.width() - 2, r.bottom() - top - 1));
            p_.setPen(kHighlight);
            p_.drawRect(QRect(r.left() + 1, top + 1, r.width() - 2, r.bottom() - top - 1));
        }
        QString text = qs(stripMnemonic(f.caption()));
        if (text.isEmpty()) return;
        int w = face.advance(text);
        p_.fillRect(QRect(r.left() + 6, r.top(), w + 4, fm.height()), qtColor(f.backColor()));
        p_.setPen(f.effectivelyEnabled() ? qtColor(f.foreColor()) : kGrayText);
        face.draw(p_, QPoint(r.left() + 8, r.top() + fm.ascent()), text);
    }

    void label(const forms::Label& l) {
        QRect r = s_.rect(l.rect());
        p_.setClipRect(r, Qt::IntersectClip);
        if (l.backStyle() == 1) p_.fillRect(r, qtColor(l.backColor()));
        int border = l.borderStyle() ? 1 : 0;
        if (border) singleBorder(p_, r);
        const FaceText face(l.font());
        const QFontMetrics& fm = face.metrics();
        int lh = s_.y(l.lineHeight());
        int avail = r.width() - 2 * border;
        int y = r.top() + border;
        bool enabled = l.effectivelyEnabled();
        for (const std::string& lineText : l.lines()) {
            QString text = qs(lineText);
            int x = r.left() + border;
            // Shaping a line only to learn its width is not cheap; left-aligned text needs none.
            if (l.alignment() == 1)
                x += avail - face.advance(text);
            else if (l.alignment() == 2)
                x += (avail - face.advance(text)) / 2;
            QPoint at(x, y + fm.ascent());
            if (enabled) {
                p_.setPen(qtColor(l.foreColor()));
            } else {
                // Disabled text is embossed.
                p_.setPen(kHighlight);
                face.draw(p_, at + QPoint(1, 1), text);
                p_.setPen(kGrayText);
            }
            face.draw(p_, at, text);
            y += lh;
        }
    }

    void image(const forms::Image& im) {
        QRect r = s_.rect(im.rect());
        p_.setClipRect(r, Qt::IntersectClip);
        if (const QImage* img = imageOf(im.picture())) {
            if (im.stretch()) {
                p_.setRenderHint(QPainter::SmoothPixmapTransform);
                p_.drawImage(r, *img);
            } else {
                p_.drawImage(r.topLeft(), *img);
            }
        }
        if (im.borderStyle() == 1) singleBorder(p_, r);
    }

    void textBox(const forms::TextBox& tb) {
        QRect r = s_.rect(tb.rect());
        p_.setClipRect(r, Qt::IntersectClip);
        bool enabled = tb.effectivelyEnabled();
        p_.fillRect(r, enabled ? qtColor(tb.backColor()) : qtColor(forms::colors::ButtonFace));
        if (tb.borderStyle() == 1) sunkenEdge(p_, r);
        // The box's own layout, so that a click finds the character drawn under it.
        forms::TextBox::View v = tb.view();
        QRect inner = s_.rect(tb.left() + v.area.left, tb.top() + v.area.top, v.area.width, v.area.height);
        if (inner.width() <= 0 || inner.height() <= 0) return;
        p_.setClipRect(inner, Qt::IntersectClip);
        const FaceText face(tb.font());
        const QFontMetrics& fm = face.metrics();

        bool focused = tb.hasFocus();
        int selA = std::max(0, tb.selStart());
        int selB = selA + std::max(0, tb.selLength());
        QColor fore = enabled ? qtColor(tb.foreColor()) : kGrayText;
        for (std::size_t i = v.first; i < v.lines.size(); ++i) {
            const forms::TextBox::Line& ln = v.lines[i];
            int lineTop = tb.top() + v.area.top + static_cast<int>(i - v.first) * v.lineHeight;
            int top = s_.y(lineTop), height = s_.y(lineTop + v.lineHeight) - top;
            if (top > inner.bottom()) break;
            auto xAt = [&](int pos) { return s_.x(tb.left() + tb.boundaryX(v, i, pos)); };
            QPoint base(s_.x(tb.left() + v.lineX[i]), top + fm.ascent());
            p_.setPen(fore);
            face.draw(p_, base, qs(ln.text));
            int end = ln.start + static_cast<int>(ln.text.size());
            if (focused && selB > selA && selA < end && selB > ln.start) {
                int x0 = xAt(selA), x1 = xAt(selB);
                QRect sel(x0, top, x1 - x0, height);
                p_.save();
                p_.setClipRect(sel, Qt::IntersectClip);
                p_.fillRect(sel, kSelection);
                p_.setPen(Qt::white);
                face.draw(p_, base, qs(ln.text));
                p_.restore();
            }
            if (focused && i == v.caretLine) p_.fillRect(QRect(xAt(tb.caret()), top, 1, height), fore);
        }
    }

    void checkBox(const forms::CheckBox& cb) {
        QRect r = s_.rect(cb.rect());
        p_.setClipRect(r, Qt::IntersectClip);
        p_.fillRect(r, qtColor(cb.backColor()));
        bool enabled = cb.effectivelyEnabled();
        const int box = 13;
        QRect b(r.left(), r.top() + (r.height() - box) / 2, box, box);
        p_.fillRect(b, enabled ? QColor(Qt::white) : qtColor(forms::colors::ButtonFace));
        sunkenEdge(p_, b);
        if (cb.value() != 0) {
            QColor mark = cb.value() == 2 || !enabled ? kGrayText : QColor(Qt::black);
            p_.setPen(QPen(mark, 1));
            // The tick, three pixels thick.
            for (int d = 0; d < 3; ++d) {
                p_.drawLine(b.left() + 3, b.top() + 5 + d, b.left() + 5, b.top() + 7 + d);
                p_.drawLine(b.left() + 5, b.top() + 7 + d, b.left() + 9, b.top() + 3 + d);
            }
        }
        const FaceText face(cb.font());
        const QFontMetrics& fm = face.metrics();
        QString text = qs(stripMnemonic(cb.caption()));
        QPoint at(r.left() + box + 4, r.top() + (r.height() - fm.height()) / 2 + fm.ascent());
        if (!enabled) {
            p_.setPen(kHighlight);
            face.draw(p_, at + QPoint(1, 1), text);
        }
        p_.setPen(enabled ? qtColor(cb.foreColor()) : kGrayText);
        face.draw(p_, at, text);
    }

    void shape(const forms::Shape& sh) {
        QRect r = s_.rect(sh.rect());
        if (r.width() <= 0 || r.height() <= 0) return;
        if (sh.shape() == 1 || sh.shape() == 3 || sh.shape() == 5) {
            int side = std::min(r.width(), r.height());
            r = QRect(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
        }
        bool round = sh.shape() == 2 || sh.shape() == 3;
        bool rounded = sh.shape() == 4 || sh.shape() == 5;
        p_.setRenderHint(QPainter::Antialiasing, round || rounded);
        // The border lies inside the shape's bounds, however wide.
        int bw = std::max(1, sh.borderWidth());
        bool border = sh.borderStyle() != 0;
        double inset = border ? bw / 2.0 : 0.0;
        QRectF box = QRectF(r).adjusted(inset, inset, -inset, -inset);
        auto draw = [&] {
            if (round) {
                p_.drawEllipse(box);
            } else if (rounded) {
                double radius = std::min(box.width(), box.height()) / 6.0;
                p_.drawRoundedRect(box, radius, radius);
            } else {
                p_.drawRect(box);
            }
        };
        p_.setPen(Qt::NoPen);
        if (sh.backStyle() == 1) {
            p_.setBrush(qtColor(sh.backColor()));
            draw();
        }
        if (Qt::BrushStyle pattern = fillPattern(sh.fillStyle()); pattern != Qt::NoBrush) {
            p_.setBrush(QBrush(qtColor(sh.fillColor()), pattern));
            draw();
        }
        if (border) {
            QPen pen(qtColor(sh.borderColor()), bw, penStyle(sh.borderStyle()));
            pen.setJoinStyle(Qt::MiterJoin);
            p_.setPen(pen);
            p_.setBrush(Qt::NoBrush);
            draw();
        }
    }

    void line(const forms::Line& ln) {
        if (ln.borderStyle() == 0) return;
        QPen pen(qtColor(ln.borderColor()), std::max(1, ln.borderWidth()), penStyle(ln.borderStyle()));
        p_.setPen(pen);
        p_.drawLine(QPoint(s_.x(ln.x1()), s_.y(ln.y1())), QPoint(s_.x(ln.x2()), s_.y(ln.y2())));
    }

    QPainter& p_;
    forms::Form& form_;
    Scale s_;
};

}  // namespace

void paintForm(QPainter& painter, forms::Form& form) { FormPainter(painter, form).paint(); }

namespace {

// The controls in the order they were made, which is mostly the order they are drawn in.
void collectPictures(const forms::Container& c, std::vector<forms::PicturePtr>& out) {
    for (const forms::Control* child : c.children()) {
        if (!child->visible()) continue;
        switch (child->kind()) {
            case Kind::Image:
                if (auto p = static_cast<const forms::Image*>(child)->picture()) out.push_back(p);
                break;
            case Kind::PictureBox:
            case Kind::Frame:
            case Kind::UserControl: {
                const auto& inner = static_cast<const forms::Container&>(*child);
                if (auto p = inner.picture()) out.push_back(p);
                collectPictures(inner, out);
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace

std::vector<forms::PicturePtr> picturesPainted(const forms::Form& form) {
    std::vector<forms::PicturePtr> out;
    if (auto p = form.picture()) out.push_back(p);
    collectPictures(form, out);
    return out;
}

QImage renderForm(forms::Form& form) {
    forms::Host& h = form.rt().host();
    forms::Size cs = form.clientSize();
    QImage img(std::max(1, floorDiv(cs.width, h.twipsPerPixelX())),
               std::max(1, floorDiv(cs.height, h.twipsPerPixelY())), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    paintForm(p, form);
    return img;
}

}  // namespace qthost
