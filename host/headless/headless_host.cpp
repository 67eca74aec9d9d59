#include "host/headless/headless_host.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
    auto p = std::make_shared<forms::Picture>();
    p->describe(path, platform::readPictureInfo(path), tpp_, tpp_);
    return p;
}

void HeadlessHost::formShown(forms::Form& f) { shownLog.push_back("show " + f.name()); }
void HeadlessHost::formHidden(forms::Form& f) { shownLog.push_back("hide " + f.name()); }

// ---- modal answers ----

void HeadlessHost::beginMessageBox(const forms::MessageBoxRequest& request) {
    messageBoxes.push_back(request);
    OpenWindow w;
    int boxW = 300 * tpp_, boxH = 120 * tpp_;
    forms::Size screen = screenSize();
    w.bounds = {(screen.width - boxW) / 2, (screen.height - boxH) / 2, boxW, boxH};
    w.answerAt = now_;
    if (!msgAnswers_.empty()) {
        w.result = msgAnswers_.front().first;
        w.answerAt = now_ + msgAnswers_.front().second;
        msgAnswers_.pop_front();
    } else if ((request.flags & 7) == forms::mb::OkOnly) {
        // A notice with only an OK button needs no scripted answer.
        w.result = forms::mb::ResultOk;
    } else {
        throw ScriptStarved{"message box \"" + request.prompt + "\" asks a question the script does not answer"};
    }
    open_.push_back(w);
}

std::optional<int> HeadlessHost::messageBoxResult() { return takeAnswer(false); }

std::optional<int> HeadlessHost::takeAnswer(bool popup) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        if (it->popup != popup) continue;
        if (it->answerAt > now_) return std::nullopt;
        int result = it->result;
        open_.erase(std::next(it).base());
        return result;
    }
    return std::nullopt;
}

std::optional<std::int64_t> HeadlessHost::userInsideUntil() const {
    if (open_.empty() || open_.back().answerAt <= now_) return std::nullopt;
    return open_.back().answerAt;
}

bool HeadlessHost::hostWindowAt(Point screen) {
    for (const auto& w : open_)
        if (w.bounds.contains(screen)) return true;
    return false;
}

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

std::string pathText(const std::vector<int>& path) {
    std::string out = "{";
    for (std::size_t i = 0; i < path.size(); ++i) out += (i ? ", " : "") + std::to_string(path[i]);
    return out + "}";
}

int leafAt(const std::vector<forms::PopupItem>& top, const std::vector<int>& path) {
    if (path.empty()) return -1;
    const std::vector<forms::PopupItem>* items = &top;
    const std::string where = "popup choice at " + pathText(path);
    const forms::PopupItem* item = nullptr;
    for (std::size_t depth = 0; depth < path.size(); ++depth) {
        int i = path[depth];
        if (i < 0 || i >= static_cast<int>(items->size()))
            throw ScriptFault{where + ": the menu at depth " + std::to_string(depth) + " has " +
                              std::to_string(items->size()) + " entries"};
        item = &(*items)[static_cast<std::size_t>(i)];
        if (item->caption == "-") throw ScriptFault{where + " names a separator"};
        if (!item->enabled) throw ScriptFault{where + " names the disabled entry \"" + item->caption + "\""};
        if (depth + 1 < path.size() && item->children.empty())
            throw ScriptFault{where + " goes into \"" + item->caption + "\", which has no submenu"};
        items = &item->children;
    }
    if (item->id < 0) throw ScriptFault{where + " ends on the submenu \"" + item->caption + "\""};
    return item->id;
}

}  // namespace

void HeadlessHost::beginPopup(const forms::PopupRequest& request) {
    popups.push_back(request);
    if (popupAnswers_.empty()) throw ScriptStarved{"a popup menu opened that the script does not answer"};
    PopupAnswer answer = std::move(popupAnswers_.front());
    popupAnswers_.pop_front();
    OpenWindow w;
    w.popup = true;
    if (answer.caption)
        w.result = answer.caption->empty() ? -1 : findLeaf(request.items, *answer.caption);
    else
        w.result = leafAt(request.items, answer.path);
    w.answerAt = now_ + answer.afterMs;
    const int width = 150 * tpp_;
    w.bounds = {request.rightAligned ? request.screen.x - width : request.screen.x, request.screen.y, width,
                18 * tpp_ * static_cast<int>(request.items.size())};
    open_.push_back(w);
}

std::optional<int> HeadlessHost::popupResult() { return takeAnswer(true); }

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

bool HeadlessHost::pollInput() {
    if (pauseActive_ && now_ >= pauseUntil_) pauseActive_ = false;
    if (!pauseActive_ && !userInsideUntil()) deliverNext();
    return deadlineCheck();
}

bool HeadlessHost::waitForInput(int maxMs) {
    if (maxMs == 0) return deadlineCheck();
    if (auto until = userInsideUntil()) {
        // The user is still in the menu or box: the script waits, virtual time runs on to the
        // answer and timers due before it fire.
        std::int64_t to = maxMs < 0 ? *until : std::min(*until, now_ + maxMs);
        if (deadline_ >= 0 && to > deadline_) {
            now_ = std::max(now_, deadline_);
            return false;
        }
        now_ = to;
        return true;
    }
    if (!pauseActive_ && deliverNext()) return true;
    if (pauseActive_) {
        // A scripted pause lets virtual time run; timers due before its end fire first.
        if (maxMs >= 0 && now_ + maxMs < pauseUntil_) {
            now_ += maxMs;
            return true;
        }
        // A box the user stayed in may have outlasted the pause: time never runs back.
        now_ = std::max(now_, pauseUntil_);
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
    open_.clear();  // left open only when the program ended inside one
}

void HeadlessHost::runFor(int ms) {
    deadline_ = now_ + ms;
    rt_->run();
    deadline_ = -1;
    open_.clear();
}

Point HeadlessHost::centreOf(const forms::Control& c) {
    if (c.kind() == forms::Kind::Form) return {c.left() + c.width() / 2, c.top() + c.height() / 2};
    const forms::Form& f = c.form();
    Point off = f.clientOffset();
    Point o = c.originInForm();
    return {f.left() + off.x + o.x + c.width() / 2, f.top() + off.y + o.y + c.height() / 2};
}

void HeadlessHost::pushMouse(MouseInput::Type type, Point p, int button, int buttonsAfter, int shift) {
    Step s;
    s.kind = Step::Mouse;
    s.mouse.type = type;
    s.mouse.screen = p;
    s.mouse.button = button;
    s.mouse.buttons = buttonsAfter;
    s.mouse.shift = shift;
    script_.push_back(std::move(s));
}

void HeadlessHost::clickAt(Point p, int button, int shift) {
    pushMouse(MouseInput::Move, p, 0, held_, shift);
    pushMouse(MouseInput::Down, p, button, held_ | button, shift);
    pushMouse(MouseInput::Up, p, button, held_, shift);
}

void HeadlessHost::click(const forms::Control& c, int button, int shift) { clickAt(centreOf(c), button, shift); }

void HeadlessHost::doubleClick(const forms::Control& c, int shift) { doubleClickAt(centreOf(c), shift); }

void HeadlessHost::doubleClickAt(Point p, int shift) {
    clickAt(p, forms::buttons::Left, shift);
    pushMouse(MouseInput::Down, p, forms::buttons::Left, forms::buttons::Left, shift);
    pushMouse(MouseInput::Up, p, forms::buttons::Left, 0, shift);
}

void HeadlessHost::press(const forms::Control& c, int button, int shift) { pressAt(centreOf(c), button, shift); }

void HeadlessHost::pressAt(Point p, int button, int shift) {
    pushMouse(MouseInput::Move, p, 0, held_, shift);
    held_ |= button;
    pushMouse(MouseInput::Down, p, button, held_, shift);
}

void HeadlessHost::release(Point p, int button, int shift) {
    held_ &= ~button;
    pushMouse(MouseInput::Up, p, button, held_, shift);
}

void HeadlessHost::moveTo(const forms::Control& c, int shift) { moveTo(centreOf(c), shift); }

void HeadlessHost::moveTo(Point p, int shift) { pushMouse(MouseInput::Move, p, 0, held_, shift); }

void HeadlessHost::drag(const forms::Control& c, Point to, int steps, int shift) { dragAt(centreOf(c), to, steps, shift); }

void HeadlessHost::dragAt(Point from, Point to, int steps, int shift) {
    pressAt(from, forms::buttons::Left, shift);
    for (int i = 1; i <= steps; ++i)
        moveTo(Point{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, shift);
    release(to, forms::buttons::Left, shift);
}

void HeadlessHost::key(int keyCode, int shift, std::string text) {
    keyDown(keyCode, shift, std::move(text));
    keyUp(keyCode, shift);
}

void HeadlessHost::keyDown(int keyCode, int shift, std::string text) {
    Step down;
    down.kind = Step::Key;
    down.key = {true, keyCode, shift, std::move(text)};
    script_.push_back(std::move(down));
}

void HeadlessHost::keyUp(int keyCode, int shift) {
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

void HeadlessHost::answerMessageBox(int result, int afterMs) { msgAnswers_.emplace_back(result, afterMs); }

void HeadlessHost::choosePopup(std::string caption, int afterMs) {
    popupAnswers_.push_back({std::move(caption), {}, afterMs});
}

void HeadlessHost::choosePopupAt(std::vector<int> path, int afterMs) {
    popupAnswers_.push_back({std::nullopt, std::move(path), afterMs});
}

}  // namespace headless
