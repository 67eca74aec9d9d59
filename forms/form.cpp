#include "forms/form.h"

#include <algorithm>
#include <vector>

#include "forms/runtime.h"

namespace forms {

Form::Form(Runtime& runtime, std::string name) : Container(nullptr, Kind::Form, std::move(name), -1), runtime_(runtime) {
    form_ = this;
    visible_ = false;
    width_ = 4800;
    height_ = 3600;
}

Form::~Form() {
    if (state_ == FormState::Loaded) runtime_.formUnloaded(*this);
    runtime_.host().formDestroyed(*this);
}

void Form::move(int left, int top, int width, int height) {
    if (width < 0 || height < 0) throw platform::VbError(380, "Invalid property value");
    if (windowState_ == 2) {
        normal_ = {left, top, width, height};
        return;
    }
    setGeometry({left, top, width, height});
    if (isLoaded()) runtime_.formChanged(*this);
}

Point Form::clientOffset() const {
    if (borderStyle_ == 0) return {0, 0};
    // A fixed single frame: a 3-pixel border and a 22-pixel caption bar.
    Host& h = runtime_.host();
    return {3 * h.twipsPerPixelX(), 25 * h.twipsPerPixelY()};
}

Size Form::clientSize() const {
    Point off = clientOffset();
    int right = borderStyle_ ? off.x : 0;
    int bottom = borderStyle_ ? off.x : 0;
    return {std::max(0, width_ - off.x - right), std::max(0, height_ - off.y - bottom)};
}

void Form::setCaption(std::string c) {
    caption_ = std::move(c);
    if (isLoaded()) runtime_.formChanged(*this);
}

void Form::setIcon(PicturePtr p) {
    icon_ = std::move(p);
    if (isLoaded()) runtime_.formChanged(*this);
}

void Form::setPicture(PicturePtr p) {
    picture_ = std::move(p);
    changed();
}

void Form::setFormBorderStyle(int b) {
    borderStyle_ = b;
    if (isLoaded()) runtime_.formChanged(*this);
}

void Form::setWindowState(int s) {
    if (s < 0 || s > 2) throw platform::VbError(380, "Invalid property value");
    if (s == windowState_) return;
    if (s == 2) {
        normal_ = rect();
        setGeometry(runtime_.host().maximisedBounds(*this));
    } else if (windowState_ == 2) {
        setGeometry(normal_);
    }
    windowState_ = s;
    if (isLoaded()) runtime_.formChanged(*this);
    changed();
}

void Form::setShowInTaskbar(bool v) {
    showInTaskbar_ = v;
    if (isLoaded()) runtime_.formChanged(*this);
}

void Form::setTopmost(bool t) {
    topmost_ = t;
    if (isLoaded()) runtime_.formChanged(*this);
}

void Form::load() {
    if (state_ != FormState::Created) return;
    state_ = FormState::Loaded;
    runtime_.formLoaded(*this);
    Form_Load();
}

void Form::show(bool modal) {
    if (state_ == FormState::Unloaded) return;  // a dead form's own code must not bring it back
    if (state_ == FormState::Created) load();
    if (state_ != FormState::Loaded) return;
    if (!shownOnce_ && startUpPosition_ == 2) {
        Size s = runtime_.host().screenSize();
        left_ = (s.width - width_) / 2;
        top_ = (s.height - height_) / 2;
    }
    shownOnce_ = true;
    visible_ = true;
    runtime_.formShown(*this);
    if (modal) runtime_.runModal(*this);
}

void Form::hide() {
    if (state_ != FormState::Loaded || !visible_) return;
    visible_ = false;
    runtime_.formHidden(*this);
}

bool Form::unload() {
    // Form_Unload may unload every window, this one among them: that inner call is nothing.
    if (state_ != FormState::Loaded || unloading_) return true;
    int cancel = 0;
    {
        struct Unloading {
            bool& b;
            ~Unloading() { b = false; }
        } guard{unloading_ = true};
        Form_Unload(cancel);
    }
    if (cancel != 0) return false;
    if (state_ != FormState::Loaded) return true;  // unloaded again inside its own handler
    visible_ = false;
    state_ = FormState::Unloaded;
    runtime_.formUnloaded(*this);
    return true;
}

void Form::activate() { runtime_.activate(*this); }

void Form::setActiveControl(Control* c) {
    active_ = c;
    changed();
    runtime_.focusChanged();
}

namespace {

bool inside(const Control* c, const Control& outer) {
    for (; c; c = c->parent())
        if (c == &outer) return true;
    return false;
}

}  // namespace

void Form::focusMayBeLost(Control& c) {
    if (!active_ || !inside(active_, c)) return;
    std::vector<Control*> order;
    forEachDescendant(*this, [&](Control& ch) {
        if (ch.canFocus()) order.push_back(&ch);
    });
    auto at = std::find(order.begin(), order.end(), active_);
    Control* next = nullptr;
    for (std::size_t i = 1; at != order.end() && i < order.size() && !next; ++i) {
        Control* cand = order[(static_cast<std::size_t>(at - order.begin()) + i) % order.size()];
        if (cand->effectivelyVisible() && cand->effectivelyEnabled()) next = cand;
    }
    setActiveControl(next);
}

void Form::popupMenu(MenuItem& menu) { runtime_.popup(menu, runtime_.host().cursorPos()); }

void Form::popupMenu(MenuItem& menu, int x, int y, bool rightAligned) {
    Point off = clientOffset();
    runtime_.popup(menu, {left_ + off.x + x, top_ + off.y + y}, rightAligned);
}

void Form::beginDrag() { runtime_.beginDrag(*this); }

}  // namespace forms
