#include "host/headless/headless_host.h"

#include <cmath>

#include "platform/picture_info.h"
#include "platform/legacy_text.h"

namespace headless {

using forms::MouseInput;
using forms::Point;

HeadlessHost::HeadlessHost(int twipsPerPixel, forms::Size screenPx) : tpp_(twipsPerPixel), screenPx_(screenPx) {}

int HeadlessHost::roundUp(double twips) const {
    int px = static_cast<int>(std::ceil(twips / tpp_ - 1e-9));
    return px * tpp_;
}

forms::Size HeadlessHost::measureText(const forms::Font& font, const std::string& text) {
    double em = font.size * 20.0;
    double w = 0;
    for (char32_t c : platform::toU32(text)) {
        std::string one = platform::fromU32(std::u32string(1, c));
        w += platform::encodeAnsi(one).size() >= 2 ? em : em / 2;
    }
    return {roundUp(w), roundUp(em * 1.25)};
}

forms::PicturePtr HeadlessHost::loadPicture(const std::string& path) {
    platform::PictureInfo info = platform::readPictureInfo(path);
    auto p = std::make_shared<forms::Picture>();
    p->path = path;
    p->widthPx = info.width;
    p->heightPx = info.height;
    p->widthTwips = info.width * tpp_;
    p->heightTwips = info.height * tpp_;
    p->hotX = info.hotX;
    p->hotY = info.hotY;
    return p;
}

void HeadlessHost::formShown(forms::Form& f) { shownLog.push_back("show " + f.name()); }
void HeadlessHost::formHidden(forms::Form& f) { shownLog.push_back("hide " + f.name()); }

// ---- modal answers ----

void HeadlessHost::beginMessageBox(const forms::MessageBoxRequest& request) {
    messageBoxes.push_back(request);
    msgResult_.reset();
    if (!msgAnswers_.empty()) {
        msgResult_ = msgAnswers_.front();
        msgAnswers_.pop_front();
        return;
    }
    // A notice with only an OK button needs no scripted answer.
    if ((request.flags & 7) == forms::mb::OkOnly) {
        msgResult_ = forms::mb::ResultOk;
        return;
    }
    throw ScriptStarved{"message box \"" + request.prompt + "\" asks a question the script does not answer"};
}

std::optional<int> HeadlessHost::messageBoxResult() { return msgResult_; }

namespace {

std::string stripAccess(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

int findLeaf(const std::vector<forms::PopupItem>& items, const std::string& caption) {
    for (const auto& it : items) {
        if (it.id >= 0 && stripAccess(it.caption) == stripAccess(caption) && it.enabled) return it.id;
        int inner = findLeaf(it.children, caption);
        if (inner >= 0) return inner;
    }
    return -1;
}

}  // namespace

void HeadlessHost::beginPopup(const forms::PopupRequest& request) {
    popups.push_back(request);
    popupResult_.reset();
    if (popupAnswers_.empty()) throw ScriptStarved{"a popup menu opened that the script does not answer"};
    std::string caption = popupAnswers_.front();
    popupAnswers_.pop_front();
    popupResult_ = caption.empty() ? -1 : findLeaf(request.items, caption);
}

std::optional<int> HeadlessHost::popupResult() { return popupResult_; }

void HeadlessHost::waitingForever(const std::string& what) {
    throw ScriptStarved{what + " waits for input that the script never gives"};
}

// ---- the clock and the script ----

bool HeadlessHost::deliverNext() {
    while (!script_.empty()) {
        Step s = std::move(script_.front());
        script_.pop_front();
        switch (s.kind) {
            case Step::Mouse:
                cursor_ = s.mouse.screen;
                rt_->postMouse(s.mouse);
                return true;
            case Step::Key:
                rt_->postKey(s.key);
                return true;
            case Step::Text:
                rt_->postText(s.text);
                return true;
            case Step::Pause:
                pauseActive_ = true;
                pauseUntil_ = now_ + s.ms;
                return false;
            case Step::Action:
                s.action();
                break;
        }
    }
    return false;
}

bool HeadlessHost::waitForInput(int maxMs) {
    if (maxMs == 0) return deadline_ < 0 || now_ <= deadline_;
    if (!pauseActive_ && deliverNext()) return true;
    if (pauseActive_) {
        // A scripted pause lets virtual time run; timers due before its end fire first.
        if (maxMs >= 0 && now_ + maxMs < pauseUntil_) {
            now_ += maxMs;
            return true;
        }
        now_ = pauseUntil_;
        pauseActive_ = false;
        return true;
    }
    if (deadline_ >= 0) {
        if (maxMs < 0 || now_ + maxMs > deadline_) {
            if (now_ < deadline_) now_ = deadline_;
            if (rt_->nestedLoops() > 0 && maxMs < 0) waitingForever("a nested loop");
            return false;
        }
        now_ += maxMs;
        return true;
    }
    if (maxMs < 0 || maxMs > idleLimit_) {
        if (rt_->nestedLoops() > 0 && maxMs < 0) waitingForever("a nested loop");
        return false;
    }
    now_ += maxMs;
    return true;
}

void HeadlessHost::runUntilIdle(int idleMs) {
    idleLimit_ = idleMs;
    rt_->run();
}

void HeadlessHost::runFor(int ms) {
    deadline_ = now_ + ms;
    rt_->run();
    deadline_ = -1;
}

Point HeadlessHost::centreOf(const forms::Control& c) {
    if (c.kind() == forms::Kind::Form) return {c.left() + c.width() / 2, c.top() + c.height() / 2};
    const forms::Form& f = c.form();
    Point off = f.clientOffset();
    Point o = c.originInForm();
    return {f.left() + off.x + o.x + c.width() / 2, f.top() + off.y + o.y + c.height() / 2};
}

void HeadlessHost::pushMouse(MouseInput::Type type, Point p, int button, int buttonsAfter) {
    Step s;
    s.kind = Step::Mouse;
    s.mouse.type = type;
    s.mouse.screen = p;
    s.mouse.button = button;
    s.mouse.buttons = buttonsAfter;
    script_.push_back(std::move(s));
}

void HeadlessHost::clickAt(Point p, int button) {
    pushMouse(MouseInput::Move, p, 0, held_);
    pushMouse(MouseInput::Down, p, button, held_ | button);
    pushMouse(MouseInput::Up, p, button, held_);
}

void HeadlessHost::click(const forms::Control& c, int button) { clickAt(centreOf(c), button); }

void HeadlessHost::doubleClick(const forms::Control& c) {
    Point p = centreOf(c);
    clickAt(p);
    pushMouse(MouseInput::Down, p, forms::buttons::Left, forms::buttons::Left);
    pushMouse(MouseInput::Up, p, forms::buttons::Left, 0);
}

void HeadlessHost::press(const forms::Control& c, int button) {
    Point p = centreOf(c);
    pushMouse(MouseInput::Move, p, 0, held_);
    held_ |= button;
    pushMouse(MouseInput::Down, p, button, held_);
}

void HeadlessHost::release(Point p, int button) {
    held_ &= ~button;
    pushMouse(MouseInput::Up, p, button, held_);
}

void HeadlessHost::moveTo(const forms::Control& c) { moveTo(centreOf(c)); }

void HeadlessHost::moveTo(Point p) { pushMouse(MouseInput::Move, p, 0, held_); }

void HeadlessHost::drag(const forms::Control& c, Point to, int steps) {
    Point from = centreOf(c);
    press(c);
    for (int i = 1; i <= steps; ++i)
        moveTo(Point{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    release(to);
}

void HeadlessHost::key(int keyCode, int shift, std::string text) {
    Step down;
    down.kind = Step::Key;
    down.key = {true, keyCode, shift, std::move(text)};
    script_.push_back(std::move(down));
    Step up;
    up.kind = Step::Key;
    up.key = {false, keyCode, shift, {}};
    script_.push_back(std::move(up));
}

void HeadlessHost::type(const std::string& utf8) {
    Step s;
    s.kind = Step::Text;
    s.text = utf8;
    script_.push_back(std::move(s));
}

void HeadlessHost::pause(int ms) {
    Step s;
    s.kind = Step::Pause;
    s.ms = ms;
    script_.push_back(std::move(s));
}

void HeadlessHost::then(std::function<void()> action) {
    Step s;
    s.kind = Step::Action;
    s.action = std::move(action);
    script_.push_back(std::move(s));
}

void HeadlessHost::answerMessageBox(int result) { msgAnswers_.push_back(result); }

void HeadlessHost::choosePopup(std::string caption) { popupAnswers_.push_back(std::move(caption)); }

}  // namespace headless
