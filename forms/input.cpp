#include "forms/input.h"

#include <cstdlib>

#include "forms/runtime.h"

namespace forms {

namespace {

Control* hitIn(Container& c, Point local, Point& out) {
    auto order = c.paintOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* ch = *it;
        if (!ch->visible() || !ch->enabled() || ch->mouseTransparent()) continue;
        if (!ch->rect().contains(local)) continue;
        Point inner{local.x - ch->left(), local.y - ch->top()};
        if (ch->windowed()) {
            if (auto* cont = dynamic_cast<Container*>(ch)) {
                Point off = cont->clientOffset();
                Point client{inner.x - off.x, inner.y - off.y};
                if (Control* deeper = hitIn(*cont, client, out)) return deeper;
                out = client;
                return ch;
            }
        }
        out = inner;
        return ch;
    }
    return nullptr;
}

}  // namespace

HitResult InputRouter::hitTest(Point screen) const {
    auto z = rt_.zOrderedForms();
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        Form* f = *it;
        if (!f->visible() || f->windowState() == 1) continue;
        Rect r{f->left(), f->top(), f->width(), f->height()};
        if (!r.contains(screen)) continue;
        Point off = f->clientOffset();
        Point client{screen.x - f->left() - off.x, screen.y - f->top() - off.y};
        HitResult h;
        h.form = f;
        Point local;
        if (f->enabled()) {
            if (Control* c = hitIn(*f, client, local)) {
                h.control = c;
                h.local = local;
                return h;
            }
        }
        h.local = client;
        return h;
    }
    return {};
}

Control* InputRouter::windowFromPoint(Point screen) const {
    // An open menu or message box of the host covers whatever the model has there.
    if (rt_.host().hostWindowAt(screen)) return nullptr;
    HitResult h = hitTest(screen);
    if (!h.form) return nullptr;
    for (Control* c = h.control; c; c = c->parent())
        if (c->windowed()) return c;
    return h.form;
}

std::pair<int, PicturePtr> InputRouter::pointerAt(Point screen) const {
    Control* c = capture_;
    if (!c) {
        HitResult h = hitTest(screen);
        if (!h.form) return {0, nullptr};
        c = h.control ? h.control : h.form;
    }
    for (; c; c = c->parent())
        if (c->mousePointer() != 0) return {c->mousePointer(), c->mouseIcon()};
    return {0, nullptr};
}

bool InputRouter::startDrag(Form& f) {
    if (held_ == 0) return false;
    drag_ = &f;
    dragStart_ = pressPoint_;
    dragOrigin_ = {f.left(), f.top()};
    capture_ = nullptr;
    captureForm_ = nullptr;
    return true;
}

void InputRouter::releaseAll() {
    held_ = 0;
    selectingText_ = false;
    capture_ = nullptr;
    captureForm_ = nullptr;
    drag_ = nullptr;
}

void InputRouter::formHidden(Form& f) {
    if (captureForm_ == &f) {
        capture_ = nullptr;
        captureForm_ = nullptr;
    }
    if (drag_ == &f) drag_ = nullptr;
    if (lastDownForm_ == &f) {
        lastDownForm_ = nullptr;
        lastDownControl_ = nullptr;
    }
}

void InputRouter::controlDestroyed(Control& c) {
    if (capture_ == &c) capture_ = nullptr;
    if (lastDownControl_ == &c) lastDownControl_ = nullptr;
}

void InputRouter::raiseMouse(Form& f, Control* c, int type, int button, int shift, Point local) {
    rt_.invoke([&] {
        if (!c) {
            if (type == MouseInput::Down) f.Form_MouseDown(button, shift, local.x, local.y);
            else if (type == MouseInput::Up) f.Form_MouseUp(button, shift, local.x, local.y);
            else f.Form_MouseMove(button, shift, local.x, local.y);
            return;
        }
        if (c->kind() == Kind::UserControl) {
            auto* u = static_cast<UserControl*>(c);
            if (type == MouseInput::Down) u->UserControl_MouseDown(button, shift, local.x, local.y);
            else if (type == MouseInput::Up) u->UserControl_MouseUp(button, shift, local.x, local.y);
            else u->UserControl_MouseMove(button, shift, local.x, local.y);
            return;
        }
        const MouseHandler& h = type == MouseInput::Down ? c->MouseDown : type == MouseInput::Up ? c->MouseUp : c->MouseMove;
        if (h) h(button, shift, local.x, local.y);
    });
}

void InputRouter::raiseClick(Form& f, Control* c, bool dbl) {
    rt_.invoke([&] {
        if (!c) {
            if (dbl) f.Form_DblClick();
            else f.Form_Click();
            return;
        }
        if (!dbl && c->kind() == Kind::CheckBox) {
            auto* cb = static_cast<CheckBox*>(c);
            cb->setValue(cb->value() == 1 ? 0 : 1);
            return;
        }
        if (c->kind() == Kind::UserControl) {
            auto* u = static_cast<UserControl*>(c);
            if (dbl) u->UserControl_DblClick();
            else u->UserControl_Click();
            return;
        }
        const PlainHandler& h = dbl ? c->DblClick : c->Click;
        if (h) h();
    });
}

void InputRouter::dispatch(const MouseInput& m) {
    if (drag_) {
        Form* f = drag_;
        if (m.type == MouseInput::Move) {
            // A maximised window stays put, as under the platform's own move.
            if (f->windowState() != 2)
                f->moveTo(dragOrigin_.x + m.screen.x - dragStart_.x, dragOrigin_.y + m.screen.y - dragStart_.y);
        } else if (m.type == MouseInput::Up) {
            held_ = m.buttons;
            if (held_ == 0) drag_ = nullptr;
        }
        return;
    }

    Form* form = nullptr;
    Control* target = nullptr;
    Point local;
    if (captureForm_ && held_ != 0) {
        form = captureForm_;
        target = capture_;
        Point off = form->clientOffset();
        Point origin = target ? target->originInForm() : Point{0, 0};
        if (target && target->windowed()) {
            if (auto* cont = dynamic_cast<Container*>(target)) {
                Point co = cont->clientOffset();
                origin.x += co.x;
                origin.y += co.y;
            }
        }
        local = {m.screen.x - form->left() - off.x - origin.x, m.screen.y - form->top() - off.y - origin.y};
    } else {
        HitResult h = hitTest(m.screen);
        if (!h.form) return;
        form = h.form;
        target = h.control;
        local = h.local;
    }
    if (!rt_.acceptsInput(*form)) {
        if (m.type != MouseInput::Move) held_ = m.buttons;
        return;
    }

    switch (m.type) {
        case MouseInput::Down: {
            if (rt_.activeForm() != form) rt_.activate(*form);
            if (target && (target->kind() == Kind::TextBox || target->kind() == Kind::CheckBox))
                form->setActiveControl(target);
            // The host's button state decides: a release lost with a vanished window must not
            // leave the model thinking a button is still down.
            bool first = (m.buttons & ~m.button) == 0;
            held_ = m.buttons | m.button;
            if (first) {
                capture_ = target;
                captureForm_ = form;
                pressPoint_ = m.screen;
            }
            std::int64_t t = rt_.now();
            Host& host = rt_.host();
            int slopX = 4 * host.twipsPerPixelX(), slopY = 4 * host.twipsPerPixelY();
            // A check box has no double click: its second press is a press again.
            bool dbl = first && m.button == buttons::Left && !lastWasDouble_ && lastDownForm_ == form &&
                       !(target && target->kind() == Kind::CheckBox) && lastDownControl_ == target &&
                       t - lastDownTime_ <= Runtime::DoubleClickMs &&
                       std::abs(m.screen.x - lastDownPoint_.x) <= slopX && std::abs(m.screen.y - lastDownPoint_.y) <= slopY;
            if (first) selectingText_ = false;
            if (target && target->kind() == Kind::TextBox && m.button == buttons::Left) {
                auto* tb = static_cast<TextBox*>(target);
                if (dbl) {
                    tb->selectWordAt(local);
                } else {
                    tb->placeCaret(local, (m.shift & shiftmask::Shift) != 0);
                    // The word a double click chose stays while the button is held.
                    selectingText_ = first;
                }
            }
            if (m.button == buttons::Left) {
                lastDownForm_ = form;
                lastDownControl_ = target;
                lastDownTime_ = t;
                lastDownPoint_ = m.screen;
                lastWasDouble_ = dbl;
            }
            // The second press of a double click raises DblClick in place of MouseDown.
            if (dbl) {
                raiseClick(*form, target, true);
            } else {
                // A press while another button is held reports every button now down, so a
                // handler asking for one button alone does not take a chord for it.
                raiseMouse(*form, target, MouseInput::Down, first ? m.button : held_, m.shift, local);
            }
            break;
        }
        case MouseInput::Up: {
            bool last = m.buttons == 0;
            held_ = m.buttons;
            if (last) {
                capture_ = nullptr;
                captureForm_ = nullptr;
            }
            if (m.button == buttons::Left) selectingText_ = false;
            raiseMouse(*form, target, MouseInput::Up, m.button, m.shift, local);
            if (m.button == buttons::Left && !lastWasDouble_) {
                // Click only when released over the control that was pressed.
                HitResult h = hitTest(m.screen);
                if (h.form == form && h.control == target) raiseClick(*form, target, false);
            }
            break;
        }
        case MouseInput::Move:
            // A press in a text box selects from there to the pointer while it is held.
            if (selectingText_ && target && target == capture_ && target->kind() == Kind::TextBox &&
                (held_ & buttons::Left))
                static_cast<TextBox*>(target)->placeCaret(local, true);
            raiseMouse(*form, target, MouseInput::Move, m.buttons, m.shift, local);
            break;
    }
}

}  // namespace forms
