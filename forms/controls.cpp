#include "forms/controls.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/runtime.h"
#include "platform/legacy_text.h"
#include "platform/vb_error.h"

namespace forms {

Color resolveColor(Color c) {
    if ((c & 0x80000000u) == 0) return c & 0xFFFFFF;
    switch (c & 0xFF) {
        case 0x00: return rgb(200, 200, 200);  // scroll bars
        case 0x01: return rgb(58, 110, 165);   // desktop
        case 0x05: return rgb(255, 255, 255);  // window background
        case 0x08: return rgb(0, 0, 0);        // window text
        case 0x0F: return rgb(240, 240, 240);  // button face
        case 0x10: return rgb(160, 160, 160);  // button shadow
        case 0x11: return rgb(109, 109, 109);  // grey text
        case 0x12: return rgb(0, 0, 0);        // button text
        case 0x14: return rgb(255, 255, 255);  // highlight
        case 0x0D: return rgb(0, 120, 215);    // selection
        case 0x0E: return rgb(255, 255, 255);  // selected text
        case 0x17: return rgb(0, 0, 0);        // tooltip text
        case 0x18: return rgb(255, 255, 225);  // tooltip background
        default: return rgb(240, 240, 240);
    }
}

void raiseMissingElement(const std::string& name, int index) {
    throw platform::VbError(340, "Control array element '" + std::to_string(index) + "' doesn't exist (" + name + ")");
}

// ---- Control ----

Control::Control(Container* parent, Kind kind, std::string name, int index)
    : parent_(parent), form_(parent ? parent->form_ : nullptr), kind_(kind), name_(std::move(name)), index_(index) {
    if (parent_) parent_->adopt(this);
}

Control::~Control() {
    if (parent_) parent_->release(this);
    // A form's own base part goes last; its controls are gone by then.
    if (kind_ != Kind::Form && form_) form_->rt().controlDestroyed(*this);
}

Runtime& Control::runtime() const { return form().rt(); }

bool Control::windowed() const {
    switch (kind_) {
        case Kind::PictureBox: case Kind::Frame: case Kind::TextBox: case Kind::CheckBox:
        case Kind::WebBrowser: case Kind::UserControl: case Kind::Form:
            return true;
        default:
            return false;
    }
}

bool Control::mouseTransparent() const {
    return kind_ == Kind::Shape || kind_ == Kind::Line || kind_ == Kind::Timer;
}

void Control::move(int left, int top, int width, int height) {
    // Negative sizes are the platform's error 380.
    if (width < 0 || height < 0) throw platform::VbError(380, "Invalid property value");
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Control::setVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    changed();
    if (!v) form_->focusMayBeLost(*this);
}

void Control::setEnabled(bool v) {
    enabled_ = v;
    changed();
    if (!v) form_->focusMayBeLost(*this);
}

void Control::setFocus() {
    Form& f = form();
    if (!canFocus() || !effectivelyVisible() || !effectivelyEnabled() || !f.isLoaded() || !f.visible())
        throw platform::VbError(5, "Invalid procedure call or argument");
    f.setActiveControl(this);
}

bool Control::hasFocus() const { return runtime().focused() == this; }

bool Control::effectivelyVisible() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

bool Control::effectivelyEnabled() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void Control::setMousePointer(int v) {
    if ((v < 0 || v > 15) && v != 99) throw platform::VbError(380, "Invalid property value");
    mousePointer_ = v;
}

void Control::zOrder(int position) {
    if (!parent_) return;
    if (position == 0) {
        z_ = parent_->nextZ();
    } else {
        int lowest = 0;
        for (auto* c : parent_->children_) lowest = std::min(lowest, c->z_);
        z_ = lowest - 1;
    }
    changed();
}

Point Control::originInForm() const {
    Point p{0, 0};
    const Control* c = this;
    while (const Container* parent = c->parent_) {
        p.x += c->left_;
        p.y += c->top_;
        // A container's border counts; the form's own frame lies outside its client area.
        if (parent->parent_) {
            Point off = parent->clientOffset();
            p.x += off.x;
            p.y += off.y;
        }
        c = parent;
    }
    return p;
}

void Control::changed() {
    if (form_ && form_->isLoaded()) form_->rt().invalidate(*form_);
}

// ---- Container ----

Container::Container(Container* parent, Kind kind, std::string name, int index)
    : Control(parent, kind, std::move(name), index) {
    if (parent) font_ = parent->font_;
}

Container::~Container() {
    for (auto* c : children_) c->parent_ = nullptr;
}

void Container::adopt(Control* c) {
    c->z_ = nextZ();
    children_.push_back(c);
}

void Container::release(Control* c) {
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

int Container::nextZ() { return ++zCounter_; }

std::vector<Control*> Container::paintOrder() const {
    std::vector<Control*> out = children_;
    std::stable_sort(out.begin(), out.end(), [](Control* a, Control* b) {
        if (a->windowed() != b->windowed()) return !a->windowed();
        return a->zValue() < b->zValue();
    });
    return out;
}

// ---- Label ----

Label::Label(Container* parent, std::string name, int index) : Control(parent, Kind::Label, std::move(name), index) {
    if (parent) font_ = parent->font();
}

void Label::setCaption(std::string text) {
    caption_ = std::move(text);
    remeasure();
}
void Label::setFont(Font f) { font_ = std::move(f); remeasure(); }
void Label::setFontSize(double size) {
    if (size <= 0) throw platform::VbError(380, "Invalid property value");
    font_.size = size;
    remeasure();
}
void Label::setFontName(std::string name) { font_.name = std::move(name); remeasure(); }
void Label::setFontBold(bool b) { font_.bold = b; remeasure(); }
void Label::setFontUnderline(bool b) { font_.underline = b; remeasure(); }
void Label::setAutoSize(bool v) { autoSize_ = v; remeasure(); }
void Label::setWordWrap(bool v) { wordWrap_ = v; remeasure(); }

void Label::move(int left, int top, int width, int height) {
    Control::move(left, top, width, height);
    if (autoSize_ && wordWrap_) remeasure();
}

std::string Label::displayText() const {
    if (!useMnemonic_) return caption_;
    std::string out;
    out.reserve(caption_.size());
    for (std::size_t i = 0; i < caption_.size(); ++i) {
        if (caption_[i] == '&') {
            if (i + 1 < caption_.size() && caption_[i + 1] == '&') { out += '&'; ++i; }
            continue;
        }
        out += caption_[i];
    }
    return out;
}

// A line's height is the font's, whatever the text; an empty text asks the host for no
// glyphs, whose first loading for each font and size is the dear part of measuring.
int Label::lineHeight() const {
    return runtime().host().measureText(font_, "").height;
}

std::vector<std::string> Label::lines() const {
    // Hard breaks first (CR LF, lone CR or LF), then wrapping at the label's width.
    std::vector<std::string> hard;
    std::string text = displayText();
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            hard.push_back(cur);
            cur.clear();
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += ch;
        }
    }
    hard.push_back(cur);
    if (!wordWrap_) return hard;

    Host& host = runtime().host();
    int avail = std::max(width_ - (borderStyle_ ? 2 * host.twipsPerPixelX() : 0), 1);
    std::vector<std::string> out;
    for (const auto& line : hard) {
        std::u32string u = platform::toU32(line);
        std::size_t start = 0;
        if (u.empty()) { out.emplace_back(); continue; }
        while (start < u.size()) {
            // Longest prefix that fits; prefer a break after a space for Latin text.
            std::size_t end = start + 1;
            std::size_t lastSpace = std::u32string::npos;
            while (end < u.size()) {
                std::string candidate = platform::fromU32(u.substr(start, end + 1 - start));
                if (host.measureText(font_, candidate).width > avail) break;
                if (u[end] == U' ') lastSpace = end;
                ++end;
            }
            if (end < u.size() && lastSpace != std::u32string::npos && u[end] != U' ' && u[end] < 0x80 && u[end - 1] < 0x80)
                end = lastSpace + 1;
            std::u32string piece = u.substr(start, end - start);
            while (!piece.empty() && piece.back() == U' ' && end < u.size()) piece.pop_back();
            out.push_back(platform::fromU32(piece));
            start = end;
        }
    }
    return out;
}

void Label::remeasure() {
    // The result depends on these alone (and, wrapped, on the width), so a size already taken
    // from them, and not changed since, stands.
    Measured now{caption_, font_, wordWrap_, useMnemonic_, borderStyle_, width_, height_};
    if (autoSize_ && parent_ && now != measured_) {
        Host& host = runtime().host();
        int lh = lineHeight();
        int border = borderStyle_ ? 2 * host.twipsPerPixelX() : 0;
        auto ls = lines();
        if (wordWrap_) {
            height_ = static_cast<int>(ls.size()) * lh + border;
        } else {
            int w = 0;
            for (const auto& l : ls) w = std::max(w, host.measureText(font_, l).width);
            width_ = w + border;
            height_ = static_cast<int>(ls.size()) * lh + border;
        }
        now.width = width_;
        now.height = height_;
        measured_ = std::move(now);
    }
    changed();
}

// ---- Image ----

Image::Image(Container* parent, std::string name, int index) : Control(parent, Kind::Image, std::move(name), index) {}

void Image::setPicture(PicturePtr p) {
    picture_ = std::move(p);
    if (!stretch_) {
        width_ = picture_ ? picture_->widthTwips : 0;
        height_ = picture_ ? picture_->heightTwips : 0;
    }
    changed();
}

// ---- PictureBox, Frame, UserControl ----

PictureBox::PictureBox(Container* parent, std::string name, int index)
    : Container(parent, Kind::PictureBox, std::move(name), index) {
    borderStyle_ = 1;
}

Point PictureBox::clientOffset() const {
    if (borderStyle_ == 0) return {0, 0};
    Host& h = runtime().host();
    return {2 * h.twipsPerPixelX(), 2 * h.twipsPerPixelY()};
}

void PictureBox::setPicture(PicturePtr p) {
    picture_ = std::move(p);
    fitPicture();
    changed();
}

void PictureBox::setAutoSize(bool v) {
    autoSize_ = v;
    fitPicture();
    changed();
}

void PictureBox::fitPicture() {
    if (!autoSize_ || !picture_) return;
    Point off = clientOffset();
    width_ = picture_->widthTwips + 2 * off.x;
    height_ = picture_->heightTwips + 2 * off.y;
}

Frame::Frame(Container* parent, std::string name, int index) : Container(parent, Kind::Frame, std::move(name), index) {
    borderStyle_ = 1;
}

UserControl::UserControl(Container* parent, std::string name, int index)
    : Container(parent, Kind::UserControl, std::move(name), index) {}

// ---- TextBox ----

TextBox::TextBox(Container* parent, std::string name, int index) : Control(parent, Kind::TextBox, std::move(name), index) {
    if (parent) font_ = parent->font();
}

void TextBox::setMaxLength(int n) {
    if (n < 0) throw platform::VbError(380, "Invalid property value");
    maxLength_ = n;
}

void TextBox::setText(std::string t) {
    // A programmatic assignment is kept whole; MaxLength limits typing only.
    int n = static_cast<int>(platform::charCount(t));
    text_ = std::move(t);
    int at = std::min(selStart(), n);
    anchor_ = caret_ = at;
    // The learner's last change is not undone over the program's.
    undo_.reset();
    typing_ = false;
    changed();
    if (Change) Change();
}

void TextBox::select(int anchor, int caret) {
    anchor_ = anchor;
    caret_ = caret;
    typing_ = false;
    changed();
}

void TextBox::setSelStart(int v) {
    if (v < 0) throw platform::VbError(380, "Invalid property value");
    int n = static_cast<int>(platform::charCount(text_));
    int at = std::min(v, n);
    select(at, at);
}

void TextBox::setSelLength(int v) {
    if (v < 0) throw platform::VbError(380, "Invalid property value");
    int n = static_cast<int>(platform::charCount(text_));
    int start = selStart();
    select(start, start + std::min(v, n - start));
}

std::string TextBox::selText() const {
    return platform::midChars(text_, selStart() + 1, selLength());
}

void TextBox::setSelText(const std::string& t) {
    undo_.reset();
    typing_ = false;
    replaceSelection(platform::toU32(t));
}

void TextBox::replaceSelection(const std::u32string& with) {
    std::u32string u = platform::toU32(text_);
    int start = std::min(selStart(), static_cast<int>(u.size()));
    int len = std::min(selLength(), static_cast<int>(u.size()) - start);
    u.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(len), with);
    text_ = platform::fromU32(u);
    anchor_ = caret_ = start + static_cast<int>(with.size());
    changed();
    if (Change) Change();
}

void TextBox::userEdit(const std::u32string& with, bool typing) {
    if (!(typing && typing_ && selLength() == 0)) undo_ = Snapshot{text_, anchor_, caret_};
    // Before Change runs: a handler that assigns the text ends the run itself.
    typing_ = typing;
    replaceSelection(with);
}

std::u32string TextBox::accepted(const std::u32string& in) const {
    std::u32string add;
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c == U'\r' || c == U'\n') {
            if (c == U'\r' && i + 1 < in.size() && in[i + 1] == U'\n') ++i;
            if (multiLine_) add += U"\r\n";
            continue;
        }
        if (c < 0x20 || c == 0x7F) continue;
        add += c;
    }
    if (maxLength_ > 0) {
        int have = static_cast<int>(platform::charCount(text_)) - selLength();
        auto room = static_cast<std::size_t>(std::max(0, maxLength_ - have));
        if (add.size() > room) {
            add.resize(room);
            // Half a line break is none.
            if (!add.empty() && add.back() == U'\r') add.pop_back();
        }
    }
    return add;
}

void TextBox::typeText(const std::string& utf8) {
    if (locked_) return;
    std::u32string add = accepted(platform::toU32(utf8));
    if (!add.empty()) userEdit(add, true);
}

bool TextBox::controlChar(int ascii) {
    switch (ascii) {
        case 1: selectAll(); return true;
        case 3: copy(); return true;
        case 22: paste(); return true;
        case 24: cut(); return true;
        case 26: undo(); return true;
        default: return false;
    }
}

void TextBox::selectAll() { select(0, static_cast<int>(platform::charCount(text_))); }

void TextBox::copy() {
    // An empty selection leaves the clipboard as it was.
    if (selLength() > 0) runtime().host().setClipboardText(selText());
}

void TextBox::cut() {
    if (locked_ || selLength() == 0) return;
    copy();
    userEdit(U"", false);
}

void TextBox::paste() {
    if (locked_) return;
    std::u32string add = accepted(platform::toU32(runtime().host().clipboardText()));
    if (!add.empty()) userEdit(add, false);
}

void TextBox::undo() {
    if (locked_ || !undo_) return;
    Snapshot to = std::move(*undo_);
    undo_ = Snapshot{text_, anchor_, caret_};
    typing_ = false;
    text_ = std::move(to.text);
    anchor_ = to.anchor;
    caret_ = to.caret;
    changed();
    if (Change) Change();
}

void TextBox::editKey(int keyCode, int shift) {
    std::u32string u = platform::toU32(text_);
    int n = static_cast<int>(u.size());
    bool extend = (shift & shiftmask::Shift) != 0;
    bool ctrl = (shift & shiftmask::Ctrl) != 0;
    auto at = [&](int i) { return u[static_cast<std::size_t>(i)]; };
    auto isBreak = [&](int i) { return at(i) == U'\r' || at(i) == U'\n'; };
    // A line break of a multi-line box is one step for the caret, never split in two.
    auto stepBack = [&](int p) { return multiLine_ && p >= 2 && at(p - 1) == U'\n' && at(p - 2) == U'\r' ? 2 : 1; };
    auto stepOn = [&](int p) { return multiLine_ && p + 1 < n && at(p) == U'\r' && at(p + 1) == U'\n' ? 2 : 1; };
    auto lineStart = [&](int p) {
        if (!multiLine_) return 0;
        while (p > 0 && !isBreak(p - 1)) --p;
        return p;
    };
    auto lineEnd = [&](int p) {
        if (!multiLine_) return n;
        while (p < n && !isBreak(p)) ++p;
        return p;
    };
    auto moveCaret = [&](int to) {
        to = std::clamp(to, 0, n);
        select(extend ? anchor_ : to, to);
    };
    int caret = std::clamp(caret_, 0, n);
    bool selection = selLength() > 0;
    switch (keyCode) {
        case vk::LeftArrow: moveCaret(selection && !extend ? selStart() : caret - stepBack(caret)); break;
        case vk::RightArrow: moveCaret(selection && !extend ? selStart() + selLength() : caret + stepOn(caret)); break;
        case vk::Home: moveCaret(ctrl ? 0 : lineStart(caret)); break;
        case vk::End: moveCaret(ctrl ? n : lineEnd(caret)); break;
        // Ctrl+Insert copies, Shift+Insert pastes and Shift+Delete cuts, as on every desktop.
        case vk::Insert:
            if (ctrl && !extend) copy();
            else if (extend && !ctrl) paste();
            break;
        case vk::Delete:
            if (extend && !ctrl) {
                cut();
                break;
            }
            if (locked_) break;
            if (!selection && caret < n) select(caret, caret + stepOn(caret));
            if (selLength() > 0) userEdit(U"", false);
            break;
        case vk::Back:
            if (locked_) break;
            if (!selection && caret > 0) select(caret - stepBack(caret), caret);
            if (selLength() > 0) userEdit(U"", false);
            break;
        default: break;
    }
}

Rect TextBox::textArea() const {
    Host& host = runtime().host();
    int px = borderStyle_ == 1 ? 3 : 1;  // the sunken edge is two pixels
    int mx = px * host.twipsPerPixelX(), my = px * host.twipsPerPixelY();
    return {mx, my, std::max(0, width_ - 2 * mx), std::max(0, height_ - 2 * my)};
}

int TextBox::lineHeight() const { return runtime().host().measureText(font_, "").height; }

std::vector<TextBox::Line> TextBox::lines() const {
    std::u32string text = platform::toU32(text_);
    std::vector<Line> out;
    if (!multiLine_) {
        out.push_back({0, text});
        return out;
    }
    Host& host = runtime().host();
    int width = textArea().width;
    auto wider = [&](std::size_t s, std::size_t len) {
        return host.measureText(font_, platform::fromU32(text.substr(s, len))).width > width;
    };
    std::size_t i = 0;
    while (true) {
        std::size_t end = i;
        while (end < text.size() && text[end] != U'\r' && text[end] != U'\n') ++end;
        std::size_t s = i;
        do {
            std::size_t e = s;
            std::size_t lastSpace = std::u32string::npos;
            while (e < end) {
                if (e > s && wider(s, e + 1 - s)) break;
                if (text[e] == U' ') lastSpace = e;
                ++e;
            }
            if (e < end && lastSpace != std::u32string::npos && lastSpace + 1 > s) e = lastSpace + 1;
            out.push_back({static_cast<int>(s), text.substr(s, e - s)});
            s = e;
        } while (s < end);
        if (end >= text.size()) break;
        i = end + ((text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n') ? 2 : 1);
        if (i >= text.size()) {
            out.push_back({static_cast<int>(i), {}});
            break;
        }
    }
    return out;
}

int TextBox::advance(const Line& ln, std::size_t k) const {
    k = std::min(k, ln.text.size());
    return k == 0 ? 0 : runtime().host().measureText(font_, platform::fromU32(ln.text.substr(0, k))).width;
}

TextBox::View TextBox::view() const {
    View v;
    v.area = textArea();
    v.lineHeight = std::max(1, lineHeight());
    v.lines = lines();
    for (std::size_t i = 0; i < v.lines.size(); ++i)
        if (v.lines[i].start <= caret_) v.caretLine = i;
    std::size_t visible = static_cast<std::size_t>(std::max(1, v.area.height / v.lineHeight));
    v.first = v.caretLine + 1 > visible ? v.caretLine + 1 - visible : 0;
    // The caret is a pixel wide and must fit inside the area too.
    if (!multiLine_)
        v.scrollX = std::max(0, advance(v.lines[0], static_cast<std::size_t>(std::max(0, caret_))) -
                                    (v.area.width - runtime().host().twipsPerPixelX()));
    v.lineX.reserve(v.lines.size());
    for (const Line& ln : v.lines) {
        int x = v.area.left - v.scrollX;
        if (multiLine_ && (alignment_ == 1 || alignment_ == 2)) {
            int free = v.area.width - advance(ln, ln.text.size());
            x = v.area.left + (alignment_ == 1 ? free : free / 2);
        }
        v.lineX.push_back(x);
    }
    return v;
}

int TextBox::boundaryX(const View& v, std::size_t i, int pos) const {
    const Line& ln = v.lines[i];
    int k = std::clamp(pos - ln.start, 0, static_cast<int>(ln.text.size()));
    return v.lineX[i] + advance(ln, static_cast<std::size_t>(k));
}

TextBox::Spot TextBox::spotAt(Point local) const {
    View v = view();
    std::size_t row = local.y < v.area.top ? 0 : static_cast<std::size_t>((local.y - v.area.top) / v.lineHeight);
    std::size_t li = std::min(v.first + row, v.lines.size() - 1);
    const Line& ln = v.lines[li];

    // A wrapped line's end is the next line's start, where the caret would show; stop before
    // the break instead.
    std::size_t last = ln.text.size();
    if (li + 1 < v.lines.size() && v.lines[li + 1].start == ln.start + static_cast<int>(last) && last > 0) --last;
    std::size_t best = 0;
    int bestDist = std::abs(local.x - v.lineX[li]);
    for (std::size_t k = 1; k <= last; ++k) {
        int d = std::abs(local.x - boundaryX(v, li, ln.start + static_cast<int>(k)));
        if (d < bestDist) {
            best = k;
            bestDist = d;
        }
    }
    // The character under the point is the one whose cell holds it, clamped to the line.
    int under = -1;
    if (!ln.text.empty()) {
        std::size_t k = best;
        if (k > 0 && (k == ln.text.size() || local.x < boundaryX(v, li, ln.start + static_cast<int>(k)))) --k;
        under = ln.start + static_cast<int>(k);
    }
    return {ln.start + static_cast<int>(best), under};
}

void TextBox::placeCaret(Point local, bool extend) {
    int pos = spotAt(local).boundary;
    select(extend ? anchor_ : pos, pos);
}

namespace {

enum class WordKind { Word, Cjk, Space, Mark };

WordKind wordKind(char32_t c) {
    if (c == U' ' || c == U'\t' || c == 0x3000) return WordKind::Space;
    if ((c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return WordKind::Word;
    // Latin, Greek and Cyrillic letters, and the full-width letters and digits.
    if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x4FF) ||
        (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A))
        return WordKind::Word;
    // Han, kana and hangul; the CJK punctuation block between them is not part of a word.
    if ((c >= 0x2E80 && c <= 0x2FFF) || (c >= 0x3040 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF))
        return WordKind::Cjk;
    return WordKind::Mark;
}

int checkedBorderWidth(int w) {
    if (w < 1 || w > 8192) throw platform::VbError(380, "Invalid property value");
    return w;
}

}  // namespace

void TextBox::selectWordAt(Point local) {
    int at = spotAt(local).character;
    if (at < 0) {
        placeCaret(local, false);
        return;
    }
    std::u32string u = platform::toU32(text_);
    auto i = static_cast<std::size_t>(at);
    WordKind kind = wordKind(u[i]);
    std::size_t from = i, to = i + 1;
    if (kind != WordKind::Mark) {
        while (from > 0 && wordKind(u[from - 1]) == kind) --from;
        while (to < u.size() && wordKind(u[to]) == kind) ++to;
    }
    select(static_cast<int>(from), static_cast<int>(to));
}

// ---- CheckBox, Shape, Line ----

CheckBox::CheckBox(Container* parent, std::string name, int index) : Control(parent, Kind::CheckBox, std::move(name), index) {
    if (parent) font_ = parent->font();
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) throw platform::VbError(380, "Invalid property value");
    if (v == value_) return;
    value_ = v;
    changed();
    if (Click) Click();
}

Shape::Shape(Container* parent, std::string name, int index) : Control(parent, Kind::Shape, std::move(name), index) {}

void Shape::setBorderWidth(int w) { assign(borderWidth_, checkedBorderWidth(w)); }

Line::Line(Container* parent, std::string name, int index) : Control(parent, Kind::Line, std::move(name), index) {}

void Line::setBorderWidth(int w) { assign(borderWidth_, checkedBorderWidth(w)); }

void Line::setPoints(int x1, int y1, int x2, int y2) {
    x1_ = x1; y1_ = y1; x2_ = x2; y2_ = y2;
    left_ = std::min(x1, x2);
    top_ = std::min(y1, y2);
    width_ = std::abs(x2 - x1);
    height_ = std::abs(y2 - y1);
    changed();
}

// ---- Timer ----

Timer::Timer(Container* parent, std::string name, int index) : Control(parent, Kind::Timer, std::move(name), index) {
    visible_ = false;
    enabled_ = false;
    if (form_) runtime().timerCreated(*this);
}

Timer::~Timer() = default;

void Timer::rearm() {
    if (form_) due = runtime().now() + interval_;
}

void Timer::setInterval(int ms) {
    if (ms < 0 || ms > 65535) throw platform::VbError(380, "Invalid property value");
    interval_ = ms;
    rearm();
}

void Timer::setEnabled(bool v) {
    enabled_ = v;
    rearm();
}

// ---- WebBrowser ----

WebBrowser::WebBrowser(Container* parent, std::string name, int index)
    : Control(parent, Kind::WebBrowser, std::move(name), index) {}

void WebBrowser::navigate(const std::string& pathOrUrl) {
    location_ = pathOrUrl;
    ++navigations_;
    changed();
}

// ---- Menus ----

bool MenuItem::offered() const {
    if (!visible) return false;
    if (items.empty()) return true;
    return std::any_of(items.begin(), items.end(), [](const MenuItem* c) { return c->offered(); });
}

MenuArray::~MenuArray() {
    if (!parent_) return;
    for (auto& [i, p] : items_) std::erase(parent_->items, p.get());
}

MenuItem& MenuArray::load(int index) {
    auto& slot = items_[index];
    if (!slot) {
        slot = std::make_unique<MenuItem>(name_, index);
        slot->Click = [this, index] { if (onClick) onClick(index); };
        if (parent_) placeInParent(index, slot.get());
    }
    return *slot;
}

void MenuArray::placeInParent(int index, MenuItem* item) {
    auto& siblings = parent_->items;
    auto at = [&](const MenuItem* m) { return std::find(siblings.begin(), siblings.end(), m); };
    // After the nearest loaded element below; failing that, before the nearest above.
    auto self = items_.find(index);
    if (self != items_.begin()) {
        auto it = at(std::prev(self)->second.get());
        if (it != siblings.end()) {
            siblings.insert(std::next(it), item);
            return;
        }
    }
    if (auto next = std::next(self); next != items_.end()) {
        auto it = at(next->second.get());
        if (it != siblings.end()) {
            siblings.insert(it, item);
            return;
        }
    }
    siblings.push_back(item);
}

void MenuArray::unload(int index) {
    auto it = items_.find(index);
    if (it == items_.end()) return;
    if (parent_) std::erase(parent_->items, it->second.get());
    items_.erase(it);
}

MenuItem& MenuArray::operator()(int index) {
    auto it = items_.find(index);
    if (it == items_.end()) raiseMissingElement(name_, index);
    return *it->second;
}

std::vector<MenuItem*> MenuArray::items() const {
    std::vector<MenuItem*> out;
    for (auto& [i, p] : items_) out.push_back(p.get());
    return out;
}

}  // namespace forms
