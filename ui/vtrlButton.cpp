#include "ui/vtrlButton.h"

#include <algorithm>
#include <cctype>

#include "forms/form.h"
#include "forms/runtime.h"
#include "platform/numbers.h"

namespace qz {

// ---- PropertyBag ----

std::string PropertyBag::key(const std::string& name) {
    std::string k = name;
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return k;
}

void PropertyBag::set(const std::string& name, std::string value) { values_[key(name)] = std::move(value); }

bool PropertyBag::has(const std::string& name) const { return values_.count(key(name)) != 0; }

std::string PropertyBag::get(const std::string& name, const std::string& dflt) const {
    auto it = values_.find(key(name));
    return it == values_.end() ? dflt : it->second;
}

// ---- vtrlButton ----

namespace {

// Half the free space, rounded half to even, then down to the 15-twip grid (toward zero).
int centred(int outer, int inner) {
    int half = platform::clng((outer - inner) / 2.0);
    return half / 15 * 15;
}

constexpr forms::Color DefaultForeColor = 0x80000012;

std::string flagText(bool b) { return b ? "-1" : "0"; }

// A font object as one stored value: "Size=9;Bold=0;Italic=0;Underline=0;Name=宋体". The face
// comes last and takes the rest of the text, so it may hold any character.
std::string fontText(const forms::Font& f) {
    return "Size=" + platform::formatNumber(f.size) + ";Bold=" + flagText(f.bold) + ";Italic=" + flagText(f.italic) +
           ";Underline=" + flagText(f.underline) + ";Name=" + f.name;
}

// Reads fontText's form; a part that is missing or not understood keeps the value of dflt.
forms::Font fontFromText(const std::string& text, const forms::Font& dflt) {
    forms::Font f = dflt;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t eq = text.find('=', pos);
        if (eq == std::string::npos) break;
        std::string key = text.substr(pos, eq - pos);
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (key == "name") {
            f.name = text.substr(eq + 1);
            break;
        }
        std::size_t end = text.find(';', eq + 1);
        if (end == std::string::npos) end = text.size();
        const std::string value = text.substr(eq + 1, end - eq - 1);
        if (key == "size") {
            const double size = platform::val(value);
            if (size > 0) f.size = size;
        } else if (key == "bold") {
            f.bold = platform::val(value) != 0;
        } else if (key == "italic") {
            f.italic = platform::val(value) != 0;
        } else if (key == "underline") {
            f.underline = platform::val(value) != 0;
        }
        pos = end + 1;
    }
    return f;
}

}  // namespace

vtrlButton::vtrlButton(forms::Container* parent, std::string name, int index)
    : forms::UserControl(parent, std::move(name), index),
      ImgBack(this, "ImgBack"),
      LblCaption(this, "LblCaption"),
      Timer1(this, "Timer1") {
    ImgBack.setStretch(false);
    LblCaption.setAutoSize(true);
    LblCaption.setBackStyle(0);
    LblCaption.setForeColor(forms::colors::White);
    ImgBack.MouseDown = [this](int b, int s, int x, int y) { ImgBack_MouseDown(b, s, x, y); };
    ImgBack.MouseMove = [this](int b, int s, int x, int y) { ImgBack_MouseMove(b, s, x, y); };
    ImgBack.MouseUp = [this](int b, int s, int x, int y) { ImgBack_MouseUp(b, s, x, y); };
    // The caption behaves as part of the picture.
    LblCaption.MouseDown = [this](int b, int s, int x, int y) { ImgBack_MouseDown(b, s, x, y); };
    LblCaption.MouseMove = [this](int b, int s, int x, int y) { ImgBack_MouseMove(b, s, x, y); };
    LblCaption.MouseUp = [this](int b, int s, int x, int y) { ImgBack_MouseUp(b, s, x, y); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
    setBackColor(forms::colors::ButtonFace);
    UserControl_ReadProperties(PropertyBag{});
}

int vtrlButton::frame() const {
    int w = width();
    int l = ImgBack.left();
    if (l == 0) return 0;
    for (int k = 1; k <= 3; ++k)
        if (l == -k * w) return k;
    return -1;
}

void vtrlButton::showFrame(int k) { ImgBack.moveTo(-k * width(), ImgBack.top()); }

void vtrlButton::centreCaption() {
    LblCaption.moveTo(centred(width(), LblCaption.width()), centred(height(), LblCaption.height()));
}

void vtrlButton::pressedCaption() {
    forms::Host& h = runtime().host();
    LblCaption.moveTo(centred(width(), LblCaption.width()) + h.twipsPerPixelX(),
                      centred(height(), LblCaption.height()) + h.twipsPerPixelY());
}

forms::Font vtrlButton::ambientFont() const { return parent() ? parent()->font() : forms::Font{}; }

bool vtrlButton::IsMouseOver() const {
    forms::Runtime& rt = runtime();
    return rt.windowFromPoint(rt.host().cursorPos()) == this;
}

// ---- properties ----

void vtrlButton::setForeColor(forms::Color c) {
    LblCaption.setForeColor(c);
}

void vtrlButton::setEnabled(bool v) {
    forms::UserControl::setEnabled(v);
    showFrame(v ? 0 : 3);
}

void vtrlButton::setFont(const forms::Font& f) {
    LblCaption.setFont(f);
}

void vtrlButton::setCaption(const std::string& c) {
    LblCaption.setCaption(c);
    centreCaption();
}

void vtrlButton::setFontBold(bool b) {
    LblCaption.setFontBold(b);
}

void vtrlButton::setFontName(const std::string& n) {
    LblCaption.setFontName(n);
}

void vtrlButton::setFontSize(double s) {
    // A size of 0 (a layout that stores none) keeps the caption measurable at 1 point.
    LblCaption.setFontSize(s > 0 ? s : 1);
}

void vtrlButton::setFontUnderline(bool u) {
    LblCaption.setFontUnderline(u);
}

void vtrlButton::setMouseIcon(forms::PicturePtr p) {
    forms::UserControl::setMouseIcon(std::move(p));
}

void vtrlButton::setMousePointerValue(int v) {
    setMousePointer(v);
}

void vtrlButton::setPicture(forms::PicturePtr p) {
    ImgBack.setPicture(std::move(p));
}

// ---- handlers ----

void vtrlButton::move(int left, int top, int w, int h) {
    bool resized = w != width() || h != height();
    forms::UserControl::move(left, top, w, h);
    if (resized) UserControl_Resize();
}

void vtrlButton::UserControl_Resize() {
    centreCaption();
    ImgBack.setTop(0);
}

void vtrlButton::UserControl_ReadProperties(const PropertyBag& bag) {
    auto num = [&](const char* n, double d) { return bag.has(n) ? platform::val(bag.get(n, "")) : d; };
    auto flag = [&](const char* n, bool d) { return bag.has(n) ? platform::val(bag.get(n, "")) != 0 : d; };
    LblCaption.setForeColor(static_cast<forms::Color>(static_cast<std::int64_t>(num("ForeColor", DefaultForeColor))));
    forms::UserControl::setEnabled(flag("Enabled", true));
    const forms::Font ambient = ambientFont();
    const forms::Font f = bag.has("Font") ? fontFromText(bag.get("Font", ""), ambient) : ambient;
    LblCaption.setFont(f);
    LblCaption.setCaption(bag.get("Caption", ""));
    forms::Font g = LblCaption.font();
    g.bold = flag("FontBold", false);
    g.name = bag.get("FontName", "");
    double size = num("FontSize", 0);
    g.size = size > 0 ? size : (f.size > 0 ? f.size : 9);
    g.underline = flag("FontUnderline", false);
    LblCaption.setFont(g);
    auto picture = [&](const char* n) { return bag.has(n) ? runtime().host().loadPicture(bag.get(n, "")) : nullptr; };
    forms::UserControl::setMouseIcon(picture("MouseIcon"));
    setMousePointer(static_cast<int>(num("MousePointer", 0)));
    ImgBack.setPicture(picture("Picture"));
    centreCaption();
    showFrame(enabled() ? 0 : 3);
}

void vtrlButton::UserControl_WriteProperties(PropertyBag& bag) const {
    auto put = [&](const char* n, const std::string& v, const std::string& d) {
        if (v != d) bag.set(n, v);
    };
    put("ForeColor", std::to_string(LblCaption.foreColor()), std::to_string(DefaultForeColor));
    put("Enabled", enabled() ? "-1" : "0", "-1");
    put("Font", fontText(LblCaption.font()), fontText(ambientFont()));
    put("Caption", LblCaption.caption(), "");
    put("FontBold", LblCaption.font().bold ? "-1" : "0", "0");
    put("FontName", LblCaption.font().name, "");
    put("FontSize", platform::formatNumber(LblCaption.font().size), "0");
    put("FontUnderline", LblCaption.font().underline ? "-1" : "0", "0");
    if (mouseIcon()) bag.set("MouseIcon", mouseIcon()->path);
    put("MousePointer", std::to_string(mousePointer()), "0");
    if (ImgBack.picture()) bag.set("Picture", ImgBack.picture()->path);
}

void vtrlButton::ImgBack_MouseDown(int, int, int, int) {
    showFrame(2);
    pressedCaption();
    Timer1.setEnabled(true);
}

void vtrlButton::ImgBack_MouseMove(int, int, int, int) {
    if (frame() == 0) {
        showFrame(1);
        centreCaption();
    }
    Timer1.setEnabled(true);
}

void vtrlButton::ImgBack_MouseUp(int, int, int, int) {
    // Every release after a press on the button clicks it, wherever the pointer is now.
    showFrame(0);
    centreCaption();
    Timer1.setEnabled(false);
    if (Click) Click();
}

void vtrlButton::Timer1_Timer() {
    if (IsMouseOver()) return;
    if (enabled() && frame() != 0) {
        showFrame(0);
        centreCaption();
    }
    Timer1.setEnabled(false);
}

}  // namespace qz
