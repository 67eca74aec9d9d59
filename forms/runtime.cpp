#include "forms/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/legacy_text.h"

namespace forms {

namespace {

// The control that takes the keyboard and the focus now; null leaves them with the form.
Control* keyTarget(const Form& f) {
    Control* target = f.activeControl();
    if (target && (!target->effectivelyVisible() || !target->effectivelyEnabled())) return nullptr;
    return target;
}

}  // namespace

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
    if (inputDiscarded_ > 0) return true;
    switch (q.type) {
        case Queued::Mouse: input_.dispatch(q.mouse); break;
        case Queued::Key: dispatchKey(q.key); break;
        case Queued::Text: dispatchText(q.text); break;
        case Queued::Close:
            if (std::find(loaded_.begin(), loaded_.end(), q.form) != loaded_.end() && acceptsInput(*q.form)) {
                Form* f = q.form;
                invoke([f] { f->unload(); });
                if (std::find(loaded_.begin(), loaded_.end(), f) == loaded_.end()) closedByUser_ = true;
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
            if (closedByUser_) endIfNoWindowLeft();
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

// Checked only here, once every handler of the close has returned: a window hidden while one
// window hands over to the next is shown again by then.
void Runtime::endIfNoWindowLeft() {
    closedByUser_ = false;
    if (!shown_.empty()) return;
    // What stays loaded unseen (the picture window, a panel kept for its session) would keep
    // the program running with nothing to close; it goes without its handlers, which could
    // only bring a window back, since ending saves nothing further.
    for (Form* f : std::vector<Form*>(loaded_)) {
        f->state_ = FormState::Unloaded;
        formUnloaded(*f);
    }
    endProgram();
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
    host_.pollInput();
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
    HostModal open(*this);
    input_.releaseAll();
    host_.beginMessageBox(req);
    for (;;) {
        if (auto r = host_.messageBoxResult()) return *r;
        if (!pump(-1)) {
            host_.waitingForever("message box \"" + prompt + "\"");
            endProgram();
        }
    }
}

void Runtime::popup(MenuItem& menu, Point screen, bool rightAligned) {
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
    PopupRequest req{build(menu), screen, rightAligned};
    if (req.items.empty()) return;
    int chosen = -1;
    {
        HostModal open(*this);
        input_.releaseAll();
        host_.beginPopup(req);
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
    }
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
    input_.formHidden(f);
    host_.formHidden(f);
    if (activeForm_ == &f) {
        activeForm_ = nullptr;
        auto z = zOrderedForms();
        if (!z.empty()) activate(*z.back());
        else focusChanged();
    }
}

void Runtime::formUnloaded(Form& f) {
    loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &f), loaded_.end());
    bool wasShown = std::find(shown_.begin(), shown_.end(), &f) != shown_.end();
    if (wasShown || activeForm_ == &f)
        formHidden(f);
    else
        input_.formHidden(f);
    if (focused_ && &focused_->form() == &f) focused_ = nullptr;
}

void Runtime::controlDestroyed(Control& c) {
    input_.controlDestroyed(c);
    if (focused_ == &c) focused_ = nullptr;
    if (c.kind() == Kind::Timer)
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const TimerRef& r) { return r.timer == &c; }),
                      timers_.end());
    Form& f = c.form();
    if (f.active_ == &c) f.active_ = nullptr;
}

void Runtime::hostGeometry(Form& f, Rect r) {
    if (f.windowState_ != 2 || f.rect() == r) return;
    f.setGeometry(r);
    invalidate(f);
}

void Runtime::activate(Form& f) {
    if (!f.isLoaded() || !f.visible()) return;
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &f), shown_.end());
    shown_.push_back(&f);
    host_.formChanged(f);
    if (activeForm_ == &f) return;
    activeForm_ = &f;
    focusChanged();
    invoke([&f] { f.Form_Activate(); });
}

void Runtime::focusChanged() {
    Control* want = activeForm_ && activeForm_->isLoaded() ? keyTarget(*activeForm_) : nullptr;
    if (want == focused_) return;
    Control* old = focused_;
    focused_ = want;
    if (old && old->LostFocus) invoke([old] { old->LostFocus(); });
    // LostFocus may have moved the focus again; only the control still focused hears of it.
    if (want && focused_ == want && want->GotFocus) invoke([want] { want->GotFocus(); });
}

void Runtime::beginDrag(Form& f) {
    if (!input_.startDrag(f)) return;
    NestGuard g(*this);
    while (input_.dragging(f)) {
        if (!pump(-1)) {
            host_.waitingForever("the drag of window " + f.name());
            endProgram();
        }
    }
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
    if (hostModals_ > 0 || !f.enabled()) return false;
    if (!modal_.empty()) return modal_.back() == &f;
    return true;
}

// ---- keyboard ----

namespace {

bool isEditingKey(int code) {
    switch (code) {
        case vk::LeftArrow: case vk::RightArrow: case vk::Home: case vk::End: case vk::Delete:
        case vk::Insert:
            return true;
        default:
            return false;
    }
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
                else if (tb->controlChar(ascii)) return;
                // An unchanged code inserts the character itself, which may lie outside GBK.
                else if (ascii == original && (ascii >= 32 || ascii < 0)) tb->typeText(platform::fromU32(std::u32string(1, c)));
                else if (ascii >= 32 || ascii < 0) tb->typeText(platform::charFromAnsiCode(ascii));
            }
        });
    }
}

}  // namespace forms
