#include "host/qt/form_window.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>
#include <algorithm>
#include <functional>

#include "host/qt/keys.h"
#include "host/qt/painting.h"
#include "host/qt/qt_host.h"

namespace qthost {

namespace {

int buttonBit(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return forms::buttons::Left;
        case Qt::RightButton:
            return forms::buttons::Right;
        case Qt::MiddleButton:
            return forms::buttons::Middle;
        default:
            return 0;
    }
}

int buttonMask(Qt::MouseButtons b) {
    int mask = 0;
    if (b & Qt::LeftButton) mask |= forms::buttons::Left;
    if (b & Qt::RightButton) mask |= forms::buttons::Right;
    if (b & Qt::MiddleButton) mask |= forms::buttons::Middle;
    return mask;
}

}  // namespace

FormWindow::FormWindow(QtHost& host, forms::Form& form) : QWidget(nullptr), host_(host), form_(form) {
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

// Nothing thrown here may cross Qt's frames; the host rethrows it in the model's loop.
template <class F>
void FormWindow::guarded(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (...) {
        host_.recordError(std::current_exception());
    }
}

bool FormWindow::event(QEvent* e) {
    // Tab belongs to the model, not to Qt's focus chain.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    if (e->type() == QEvent::ToolTip) {
        showToolTip(static_cast<QHelpEvent*>(e));
        return true;
    }
    return QWidget::event(e);
}

namespace {

// A windowless control without a tip of its own shows its container's, as the container
// draws it; a windowed control owns its area.
std::string toolTipOf(const forms::Control* c) {
    for (; c; c = c->parent()) {
        if (!c->toolTipText().empty()) return c->toolTipText();
        if (c->windowed()) break;
    }
    return {};
}

}  // namespace

void FormWindow::showToolTip(QHelpEvent* e) {
    std::string tip;
    guarded([&] {
        if (forms::Runtime* rt = host_.runtime()) {
            forms::HitResult h = rt->hitTest(host_.toTwips(QPointF(e->globalPos())));
            if (h.form == &form_) tip = toolTipOf(h.control);
        }
    });
    if (tip.empty()) {
        QToolTip::hideText();
        e->ignore();
        return;
    }
    QToolTip::showText(e->globalPos(), QString::fromStdString(tip), this);
}

void FormWindow::paintEvent(QPaintEvent*) {
    guarded([&] {
        QPainter p(this);
        paintForm(p, form_);
    });
}

void FormWindow::forwardMouse(QMouseEvent* e, forms::MouseInput::Type type) {
    guarded([&] {
        forms::Runtime* rt = host_.runtime();
        if (!rt) return;
        forms::MouseInput m;
        m.type = type;
        if (form_.formBorderStyle() == 0) {
            m.screen = host_.toTwips(e->globalPosition());
        } else {
            // The window manager may have moved a decorated window without the model knowing;
            // measure from where the model thinks the client area is.
            QPointF at = e->position() + QPointF(host_.clientRectPx(form_).topLeft());
            m.screen = host_.toTwips(at);
        }
        m.button = type == forms::MouseInput::Move ? 0 : buttonBit(e->button());
        if (type != forms::MouseInput::Move && m.button == 0) return;
        m.buttons = buttonMask(e->buttons());
        m.shift = shiftMaskOf(e->modifiers());
        rt->postMouse(m);
        host_.posted();
        host_.pointerMoved(*this, m.screen);
    });
    e->accept();
}

void FormWindow::mousePressEvent(QMouseEvent* e) { forwardMouse(e, forms::MouseInput::Down); }
// The model finds double clicks itself; the second press is a plain press.
void FormWindow::mouseDoubleClickEvent(QMouseEvent* e) { forwardMouse(e, forms::MouseInput::Down); }
void FormWindow::mouseReleaseEvent(QMouseEvent* e) { forwardMouse(e, forms::MouseInput::Up); }
void FormWindow::mouseMoveEvent(QMouseEvent* e) { forwardMouse(e, forms::MouseInput::Move); }

void FormWindow::keyPressEvent(QKeyEvent* e) {
    guarded([&] {
        forms::Runtime* rt = host_.runtime();
        if (!rt) return;
        forms::KeyInput k;
        k.down = true;
        k.keyCode = virtualKeyFor(e->key(), e->modifiers());
        k.shift = shiftMaskOf(e->modifiers());
        k.text = typedText(e->key(), e->text());
        if (k.keyCode == 0) {
            // A character from a key the platform has no code for arrives as typed text.
            if (!k.text.empty()) rt->postText(k.text);
        } else {
            rt->postKey(k);
        }
        host_.posted();
    });
    e->accept();
}

void FormWindow::keyReleaseEvent(QKeyEvent* e) {
    // Held keys repeat presses only, as on the platform.
    if (e->isAutoRepeat()) return;
    guarded([&] {
        forms::Runtime* rt = host_.runtime();
        int code = virtualKeyFor(e->key(), e->modifiers());
        if (!rt || code == 0) return;
        rt->postKey({false, code, shiftMaskOf(e->modifiers()), {}});
        host_.posted();
    });
    e->accept();
}

void FormWindow::inputMethodEvent(QInputMethodEvent* e) {
    guarded([&] {
        forms::Runtime* rt = host_.runtime();
        if (!rt || e->commitString().isEmpty()) return;
        rt->postText(e->commitString().toStdString());
        host_.posted();
    });
    e->accept();
}

QVariant FormWindow::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle: {
            // The candidate list opens under the text box being typed into.
            forms::Control* c = form_.activeControl();
            if (c && c->kind() == forms::Kind::TextBox) {
                forms::Point o = c->originInForm();
                int tx = host_.twipsPerPixelX(), ty = host_.twipsPerPixelY();
                return QRect(o.x / tx, o.y / ty, std::max(1, c->width() / tx), std::max(1, c->height() / ty));
            }
            return QRect(0, 0, 1, 1);
        }
        default:
            return QWidget::inputMethodQuery(query);
    }
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The model decides (Form_Unload may cancel); the window stays until it says so.
    guarded([&] {
        if (forms::Runtime* rt = host_.runtime()) {
            rt->postClose(form_);
            host_.posted();
        }
    });
    e->ignore();
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    guarded([&] { host_.windowGeometryChanged(*this); });
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    guarded([&] { host_.windowGeometryChanged(*this); });
}

void FormWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) guarded([&] { host_.windowGeometryChanged(*this); });
}

void FormWindow::syncBrowsers() {
    std::vector<const forms::WebBrowser*> live;
    forms::forEachDescendant(form_, [&](const forms::Control& c) {
        if (c.kind() == forms::Kind::WebBrowser) live.push_back(static_cast<const forms::WebBrowser*>(&c));
    });
    for (auto it = browsers_.begin(); it != browsers_.end();) {
        if (std::find(live.begin(), live.end(), it->first) == live.end()) {
            delete it->second.data();
            it = browsers_.erase(it);
        } else {
            ++it;
        }
    }
    int tx = host_.twipsPerPixelX(), ty = host_.twipsPerPixelY();
    for (const forms::WebBrowser* wb : live) {
        QPointer<HtmlView>& view = browsers_[wb];
        if (!view) view = new HtmlView(this);
        forms::Point o = wb->originInForm();
        const QRect geometry(o.x / tx, o.y / ty, wb->width() / tx, wb->height() / ty);
        view->setGeometry(geometry);
        view->showLocation(wb->locationUrl(), wb->navigationCount());
        view->setVisible(wb->effectivelyVisible());
        // The view is a real child window and would cover the model's windowed controls that
        // stand above it (the advertisement strip over the help page): cut them out.
        QRegion shown(QRect(QPoint(0, 0), geometry.size()));
        const forms::Control* below = wb;
        for (const forms::Container* c = wb->parent(); c; below = c, c = c->parent()) {
            const std::vector<forms::Control*> order = c->paintOrder();
            auto at = std::find(order.begin(), order.end(), below);
            if (at == order.end()) continue;
            for (auto it = std::next(at); it != order.end(); ++it) {
                const forms::Control* above = *it;
                if (!above->windowed() || !above->effectivelyVisible()) continue;
                forms::Point ao = above->originInForm();
                shown -= QRect(ao.x / tx, ao.y / ty, above->width() / tx, above->height() / ty).translated(-geometry.topLeft());
            }
        }
        if (shown.isEmpty())
            view->setVisible(false);
        else if (shown == QRegion(QRect(QPoint(0, 0), geometry.size())))
            view->clearMask();
        else
            view->setMask(shown);
    }
}

HtmlView* FormWindow::browserFor(const forms::WebBrowser& control) const {
    auto it = browsers_.find(&control);
    return it == browsers_.end() ? nullptr : it->second.data();
}

}  // namespace qthost
