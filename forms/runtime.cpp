#include "forms/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/legacy_text.h"

namespace forms {

platform::VbError asVbError(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const platform::VbError& v) {
        return v;
    } catch (const std::out_of_range& x) {
        return platform::VbError(9, "Subscript out of range");
    } catch (const std::bad_alloc&) {
        return platform::VbError(7, "Out of memory");
    } catch (const std::exception& x) {
        return platform::VbError(5, x.what());
    }
}

Runtime::Runtime(Host& host) : host_(host) { host_.attach(*this); }

Runtime::~Runtime() { graves_.clear(); }

void Runtime::unhandled(const platform::VbError& e) {
    if (onUnhandledError) {
        onUnhandledError(e);
        return;
    }
    std::fprintf(stderr, "run-time error %d: %s\n", e.number, e.what());
}

// ---- input queue ----

void Runtime::postMouse(const MouseInput& m) {
    Queued q{Queued::Mouse, m, {}, {}, nullptr};
    queue_.push_back(std::move(q));
}

void Runtime::postKey(const KeyInput& k) {
    Queued q{Queued::Key, {}, k, {}, nullptr};
    queue_.push_back(std::move(q));
}

void Runtime::postText(const std::string& utf8) {
    Queued q{Queued::Text, {}, {}, utf8, nullptr};
    queue_.push_back(std::move(q));
}

void Runtime::postClose(Form& f) {
    Queued q{Queued::Close, {}, {}, {}, &f};
    queue_.push_back(std::move(q));
}

bool Runtime::dispatchOne() {
    if (queue_.empty()) return false;
    Queued q = std::move(queue_.front());
    queue_.pop_front();
    switch (q.type) {
        case Queued::Mouse: dispatchMouse(q.mouse); break;
        case Queued::Key: dispatchKey(q.key); break;
        case Queued::Text: dispatchText(q.text); break;
        case Queued::Close:
            if (std::find(loaded_.begin(), loaded_.end(), q.form) != loaded_.end() && acceptsInput(*q.form)) {
                Form* f = q.form;
                invoke([f] { f->unload(); });
            }
            break;
    }
    return true;
}

// ---- loops ----

void Runtime::run(const std::function<void()>& start) {
    try {
        if (start) invoke(start);
        while (!ended_ && !loaded_.empty()) {
            if (!pump(-1)) break;
        }
    } catch (const ProgramEnd&) {
        ended_ = true;
    }
    queue_.clear();
}

void Runtime::endProgram() {
    ended_ = true;
    for (Form* f : std::vector<Form*>(shown_)) host_.formHidden(*f);
    shown_.clear();
    throw ProgramEnd{};
}

void Runtime::collectGraves() {
    if (depth_ == 0 && nested_ == 0) graves_.clear();
}

bool Runtime::pump(int maxMs) {
    collectGraves();
    if (dispatchOne()) return true;
    // Input waiting at the host goes before due timers, as on the platform: a timer whose
    // handler outlasts its interval must not shut the host out.
    if (nextTimerDue() <= now()) {
        if (!host_.waitForInput(0)) return false;
        if (dispatchOne()) return true;
    }
    if (fireDueTimers()) return true;
    int wait = maxMs;
    std::int64_t next = nextTimerDue();
    if (next != std::numeric_limits<std::int64_t>::max()) {
        std::int64_t until = std::max<std::int64_t>(0, next - now());
        if (wait < 0 || until < wait) wait = static_cast<int>(std::min<std::int64_t>(until, 1 << 30));
    }
    if (!host_.waitForInput(wait)) return false;
    if (dispatchOne()) return true;
    fireDueTimers();
    return true;
}

void Runtime::doEvents() {
    host_.waitForInput(0);
    std::size_t n = queue_.size();
    for (std::size_t i = 0; i < n && dispatchOne(); ++i) {
    }
    fireDueTimers();
}

void Runtime::sleepWithEvents(int ms) {
    NestGuard g(*this);
    std::int64_t t0 = now();
    do {
        std::int64_t left = ms - (now() - t0);
        if (!pump(static_cast<int>(std::clamp<std::int64_t>(left, 0, 10)))) endProgram();
    } while (now() - t0 < ms);
}

void Runtime::runModal(Form& f) {
    NestGuard g(*this);
    modal_.push_back(&f);
    struct Pop {
        Runtime& r;
        Form* f;
        ~Pop() { r.modal_.erase(std::remove(r.modal_.begin(), r.modal_.end(), f), r.modal_.end()); }
    } pop{*this, &f};
    while (f.state() == FormState::Loaded && f.visible()) {
        if (!pump(-1)) {
            host_.waitingForever("modal window " + f.name());
            endProgram();
        }
    }
}

int Runtime::msgBox(const std::string& prompt, int flags, const std::string& title) {
    NestGuard g(*this);
    MessageBoxRequest req{prompt, title.empty() ? appTitle : title, flags};
    messageOpen_ = true;
    struct Close {
        bool& b;
        ~Close() { b = false; }
    } close{messageOpen_};
    host_.beginMessageBox(req);
    for (;;) {
        if (auto r = host_.messageBoxResult()) return *r;
        if (!pump(-1)) {
            host_.waitingForever("message box \"" + prompt + "\"");
            endProgram();
        }
    }
}

void Runtime::popup(MenuItem& menu, Point screen) {
    NestGuard g(*this);
    std::vector<MenuItem*> byId;
    std::function<std::vector<PopupItem>(const MenuItem&)> build = [&](const MenuItem& m) {
        std::vector<PopupItem> out;
        for (MenuItem* it : m.items) {
            if (!it->offered()) continue;
            PopupItem p;
            p.caption = it->caption;
            p.enabled = it->enabled;
            p.checked = it->checked;
            p.children = build(*it);
            if (p.children.empty() && it->caption != "-") {
                p.id = static_cast<int>(byId.size());
                byId.push_back(it);
            }
            out.push_back(std::move(p));
        }
        return out;
    };
    PopupRequest req{build(menu), screen};
    if (req.items.empty()) return;
    popupOpen_ = true;
    struct Close {
        bool& b;
        ~Close() { b = false; }
    } close{popupOpen_};
    heldButtons_ = 0;
    capture_ = nullptr;
    captureForm_ = nullptr;
    host_.beginPopup(req);
    int chosen = -1;
    for (;;) {
        if (auto r = host_.popupResult()) {
            chosen = *r;
            break;
        }
        if (!pump(-1)) {
            host_.waitingForever("popup menu");
            endProgram();
        }
    }
    popupOpen_ = false;
    if (chosen >= 0 && chosen < static_cast<int>(byId.size())) {
        MenuItem* item = byId[static_cast<std::size_t>(chosen)];
        if (item->enabled && item->Click) item->Click();
    }
}

// ---- timers ----

void Runtime::timerCreated(Timer& t) { timers_.push_back({&t, ++timerSerial_}); }

std::int64_t Runtime::nextTimerDue() const {
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (const auto& ref : timers_) {
        Timer* t = ref.timer;
        if (!t->timerEnabled() || t->interval() <= 0 || t->firing) continue;
        if (!t->form().isLoaded()) continue;
        next = std::min(next, t->due);
    }
    return next;
}

bool Runtime::fireDueTimers() {
    std::int64_t t = now();
    std::vector<TimerRef> due;
    for (const auto& ref : timers_) {
        Timer* tm = ref.timer;
        if (tm->timerEnabled() && tm->interval() > 0 && !tm->firing && tm->due <= t && tm->form().isLoaded())
            due.push_back(ref);
    }
    std::sort(due.begin(), due.end(), [](const TimerRef& a, const TimerRef& b) { return a.timer->due < b.timer->due; });
    auto alive = [this](const TimerRef& r) {
        return std::any_of(timers_.begin(), timers_.end(),
                           [&](const TimerRef& x) { return x.timer == r.timer && x.serial == r.serial; });
    };
    bool any = false;
    for (const auto& ref : due) {
        if (!alive(ref)) continue;
        Timer* tm = ref.timer;
        if (!tm->timerEnabled() || tm->firing || tm->due > now() || !tm->form().isLoaded()) continue;
        // Missed ticks coalesce into one; the next is a whole interval from now.
        tm->due = now() + tm->interval();
        any = true;
        tm->firing = true;
        try {
            invoke([tm] { if (tm->Tick) tm->Tick(); });
        } catch (...) {
            if (alive(ref)) tm->firing = false;
            throw;
        }
        if (alive(ref)) tm->firing = false;
    }
    return any;
}

// ---- forms ----

void Runtime::formLoaded(Form& f) { loaded_.push_back(&f); }

void Runtime::formShown(Form& f) {
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &f), shown_.end());
    shown_.push_back(&f);
    host_.formShown(f);
    activate(f);
}

void Runtime::formHidden(Form& f) {
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &f), shown_.end());
    if (captureForm_ == &f) {
        capture_ = nullptr;
        captureForm_ = nullptr;
    }
    if (dragForm_ == &f) dragForm_ = nullptr;
    host_.formHidden(f);
    if (activeForm_ == &f) {
        activeForm_ = nullptr;
        auto z = zOrderedForms();
        if (!z.empty()) activate(*z.back());
    }
}

void Runtime::formUnloaded(Form& f) {
    loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &f), loaded_.end());
    bool wasShown = std::find(shown_.begin(), shown_.end(), &f) != shown_.end();
    if (wasShown || activeForm_ == &f) formHidden(f);
    if (lastDownForm_ == &f) {
        lastDownForm_ = nullptr;
        lastDownControl_ = nullptr;
    }
}

void Runtime::controlDestroyed(Control& c) {
    if (capture_ == &c) capture_ = nullptr;
    if (lastDownControl_ == &c) lastDownControl_ = nullptr;
    if (c.kind() == Kind::Timer)
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const TimerRef& r) { return r.timer == &c; }),
                      timers_.end());
    Form& f = c.form();
    if (f.active_ == &c) f.active_ = nullptr;
}

void Runtime::hostGeometry(Form& f, Rect r) {
    if (f.windowState_ != 2 || f.rect() == r) return;
    f.left_ = r.left, f.top_ = r.top, f.width_ = r.width, f.height_ = r.height;
    invalidate(f);
}

void Runtime::activate(Form& f) {
    if (!f.isLoaded() || !f.visible()) return;
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &f), shown_.end());
    shown_.push_back(&f);
    host_.formChanged(f);
    if (activeForm_ == &f) return;
    activeForm_ = &f;
    invoke([&f] { f.Form_Activate(); });
}

void Runtime::beginDrag(Form& f) {
    dragForm_ = &f;
    dragStart_ = host_.cursorPos();
    dragOrigin_ = {f.left(), f.top()};
    capture_ = nullptr;
    captureForm_ = nullptr;
}

void Runtime::bury(std::unique_ptr<Form> f) {
    if (!f) return;
    if (f->state() == FormState::Loaded) {
        f->state_ = FormState::Unloaded;
        formUnloaded(*f);
    }
    graves_.push_back(std::move(f));
}

std::vector<Form*> Runtime::zOrderedForms() const {
    std::vector<Form*> out;
    for (Form* f : shown_)
        if (!f->topmost()) out.push_back(f);
    for (Form* f : shown_)
        if (f->topmost()) out.push_back(f);
    return out;
}

bool Runtime::acceptsInput(const Form& f) const {
    if (messageOpen_ || popupOpen_ || !f.enabled()) return false;
    if (!modal_.empty()) return modal_.back() == &f;
    return true;
}

// ---- hit testing ----

namespace {

Control* hitIn(Container& c, Point local, Point& out) {
    auto order = c.paintOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* ch = *it;
        if (!ch->visible() || !ch->enabled() || ch->mouseTransparent()) continue;
        if (ch->kind() == Kind::Line) continue;
        if (!ch->rect().contains(local)) continue;
        Point inner{local.x - ch->left(), local.y - ch->top()};
        if (ch->windowed()) {
            auto* cont = dynamic_cast<Container*>(ch);
            if (cont) {
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

HitResult Runtime::hitTest(Point screen) const {
    auto z = zOrderedForms();
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

Control* Runtime::windowFromPoint(Point screen) const {
    HitResult h = hitTest(screen);
    if (!h.form) return nullptr;
    for (Control* c = h.control; c; c = c->parent())
        if (c->windowed()) return c;
    return h.form;
}

std::pair<int, PicturePtr> Runtime::pointerAt(Point screen) const {
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

// ---- mouse ----

void Runtime::raiseMouse(Form& f, Control* c, MouseInput::Type type, int button, int shift, Point local) {
    invoke([&] {
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

void Runtime::raiseClick(Form& f, Control* c, bool dbl) {
    invoke([&] {
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

void Runtime::dispatchMouse(const MouseInput& m) {
    if (dragForm_) {
        Form* f = dragForm_;
        if (m.type == MouseInput::Move) {
            f->moveTo(dragOrigin_.x + m.screen.x - dragStart_.x, dragOrigin_.y + m.screen.y - dragStart_.y);
        } else if (m.type == MouseInput::Up) {
            heldButtons_ = m.buttons;
            if (heldButtons_ == 0) dragForm_ = nullptr;
        }
        return;
    }

    Form* form = nullptr;
    Control* target = nullptr;
    Point local;
    if (captureForm_ && heldButtons_ != 0) {
        form = captureForm_;
        target = capture_;
        Point off = form->clientOffset();
        Point origin = target ? target->originInForm() : Point{0, 0};
        if (target) {
            if (auto* cont = dynamic_cast<Container*>(target); cont && target->windowed()) {
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
    if (!acceptsInput(*form)) {
        if (m.type != MouseInput::Move) heldButtons_ = m.buttons;
        return;
    }

    switch (m.type) {
        case MouseInput::Down: {
            if (activeForm_ != form) activate(*form);
            if (target && (target->kind() == Kind::TextBox || target->kind() == Kind::CheckBox))
                form->setActiveControl(target);
            if (target && target->kind() == Kind::TextBox && m.button == buttons::Left) static_cast<TextBox*>(target)->placeCaret(local, (m.shift & shiftmask::Shift) != 0);
            // The host's button state decides: a release lost with a vanished window must not
            // leave the model thinking a button is still down.
            bool first = (m.buttons & ~m.button) == 0;
            heldButtons_ = m.buttons | m.button;
            if (first) {
                capture_ = target;
                captureForm_ = form;
            }
            std::int64_t t = now();
            int slopX = 4 * host_.twipsPerPixelX(), slopY = 4 * host_.twipsPerPixelY();
            // A check box has no double click: its second press is a press again.
            bool dbl = m.button == buttons::Left && !lastWasDouble_ && lastDownForm_ == form &&
                       !(target && target->kind() == Kind::CheckBox) &&
                       lastDownControl_ == target && t - lastDownTime_ <= DoubleClickMs &&
                       std::abs(m.screen.x - lastDownPoint_.x) <= slopX && std::abs(m.screen.y - lastDownPoint_.y) <= slopY;
            if (m.button == buttons::Left) {
                lastDownForm_ = form;
                lastDownControl_ = target;
                lastDownTime_ = t;
                lastDownPoint_ = m.screen;
                lastWasDouble_ = dbl;
            }
            // The second press of a double click raises DblClick in place of MouseDown.
            if (dbl) raiseClick(*form, target, true);
            else raiseMouse(*form, target, MouseInput::Down, m.button, m.shift, local);
            break;
        }
        case MouseInput::Up: {
            heldButtons_ = m.buttons;
            if (heldButtons_ == 0) {
                capture_ = nullptr;
                captureForm_ = nullptr;
            }
            raiseMouse(*form, target, MouseInput::Up, m.button, m.shift, local);
            if (m.button == buttons::Left && !lastWasDouble_) {
                // Click only when released over the control that was pressed.
                HitResult h = hitTest(m.screen);
                if (h.form == form && h.control == target) raiseClick(*form, target, false);
            }
            break;
        }
        case MouseInput::Move:
            raiseMouse(*form, target, MouseInput::Move, m.buttons, m.shift, local);
            break;
    }
}

// ---- keyboard ----

namespace {

bool isEditingKey(int code) {
    switch (code) {
        case vk::LeftArrow: case vk::RightArrow: case vk::Home: case vk::End: case vk::Delete:
            return true;
        default:
            return false;
    }
}

// The control that takes the keyboard now; null sends the keys to the form.
Control* keyTarget(const Form& f) {
    Control* target = f.activeControl();
    if (target && (!target->effectivelyVisible() || !target->effectivelyEnabled())) return nullptr;
    return target;
}

}  // namespace

void Runtime::keyTo(Form& f, const KeyInput& k) {
    Control* target = keyTarget(f);
    bool formFirst = f.keyPreview() || !target;
    int code = k.keyCode;
    int shift = k.shift;
    if (!k.down) {
        invoke([&] {
            if (formFirst) f.Form_KeyUp(code, shift);
            if (code && target && target->KeyUp) target->KeyUp(code, shift);
        });
        return;
    }
    invoke([&] {
        if (formFirst) f.Form_KeyDown(code, shift);
        if (code && target && target->KeyDown) target->KeyDown(code, shift);
    });
    if (!k.text.empty()) dispatchText(k.text);
    if (code && target && target->kind() == Kind::TextBox && isEditingKey(code)) {
        auto* tb = static_cast<TextBox*>(target);
        invoke([&] { tb->editKey(code, shift); });
    }
}

void Runtime::dispatchKey(const KeyInput& k) {
    Form* f = activeForm_;
    if (!f || !f->isLoaded() || !acceptsInput(*f)) return;
    keyTo(*f, k);
}

void Runtime::dispatchText(const std::string& t) {
    Form* f = activeForm_;
    if (!f || !f->isLoaded() || !acceptsInput(*f)) return;
    for (char32_t c : platform::toU32(t)) {
        Control* target = keyTarget(*f);
        bool formFirst = f->keyPreview() || !target;
        int ascii = c == U'\n' ? 13 : platform::ansiCode(c);
        const int original = ascii;
        invoke([&] {
            if (formFirst) f->Form_KeyPress(ascii);
            if (ascii && target && target->KeyPress) target->KeyPress(ascii);
            if (ascii && target && target->kind() == Kind::TextBox) {
                auto* tb = static_cast<TextBox*>(target);
                if (ascii == 8) tb->editKey(vk::Back, 0);
                else if (ascii == 13) tb->typeText("\r");
                // An unchanged code inserts the character itself, which may lie outside GBK.
                else if (ascii == original && (ascii >= 32 || ascii < 0)) tb->typeText(platform::fromU32(std::u32string(1, c)));
                else if (ascii >= 32 || ascii < 0) tb->typeText(platform::charFromAnsiCode(ascii));
            }
        });
    }
}

}  // namespace forms
