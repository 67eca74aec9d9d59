// Controls of the form model. Geometry is in twips relative to the container's client area.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/types.h"

namespace forms {

class Form;
class Container;
class Runtime;

enum class Kind {
    Label, Image, PictureBox, Frame, TextBox, CheckBox, Shape, Line, Timer, WebBrowser,
    UserControl, Form
};

using MouseHandler = std::function<void(int button, int shift, int x, int y)>;
using PlainHandler = std::function<void()>;
using KeyHandler = std::function<void(int& keyCode, int shift)>;
using KeyPressHandler = std::function<void(int& keyAscii)>;

class Control {
public:
    Control(Container* parent, Kind kind, std::string name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 outside a control array
    Container* parent() const { return parent_; }
    // Every control belongs to the form it was created in for its whole life, even when its
    // container goes first: the runtime's registrations are undone through it.
    Form& form() const { return *form_; }
    Runtime& runtime() const;

    // Windowed controls own a window: they stack above windowless siblings and are what
    // "the window under a point" finds.
    bool windowed() const;
    // Shapes, lines and timers never take the mouse.
    bool mouseTransparent() const;

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v) { move(v, top_, width_, height_); }
    void setTop(int v) { move(left_, v, width_, height_); }
    void setWidth(int v) { move(left_, top_, v, height_); }
    void setHeight(int v) { move(left_, top_, width_, v); }
    virtual void move(int left, int top, int width, int height);
    void moveTo(int left, int top) { move(left, top, width_, height_); }
    Rect rect() const { return {left_, top_, width_, height_}; }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool v);
    // Visible and enabled up to the form.
    bool effectivelyVisible() const;
    bool effectivelyEnabled() const;

    // Text and check boxes take the keyboard; the rest leave it to the form.
    bool canFocus() const { return kind_ == Kind::TextBox || kind_ == Kind::CheckBox; }
    // The platform's error 5 when the control or its form is hidden or disabled.
    void setFocus();
    bool hasFocus() const;

    const std::string& toolTipText() const { return toolTipText_; }
    void setToolTipText(std::string t) { toolTipText_ = std::move(t); }
    const std::string& tag() const { return tag_; }
    void setTag(std::string t) { tag_ = std::move(t); }
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int v);
    PicturePtr mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(PicturePtr p) { mouseIcon_ = std::move(p); }

    // 0 brings to the front of its layer, 1 sends to the back.
    void zOrder(int position = 0);
    int zValue() const { return z_; }

    // Position of this control's origin in its form's client area.
    Point originInForm() const;

    // Events, bound by the owning window (arrays bind them with the index).
    MouseHandler MouseDown, MouseMove, MouseUp;
    PlainHandler Click, DblClick;
    KeyHandler KeyDown, KeyUp;
    KeyPressHandler KeyPress;
    PlainHandler Change;
    PlainHandler GotFocus, LostFocus;

    void changed();  // asks the host to repaint

protected:
    friend class Container;
    friend class Form;
    // Sets a property and repaints when it changed.
    template <class T, class V>
    void assign(T& field, V&& value) {
        if (field == value) return;
        field = std::forward<V>(value);
        changed();
    }
    Container* parent_;
    Form* form_;
    Kind kind_;
    std::string name_;
    int index_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int mousePointer_ = 0;
    PicturePtr mouseIcon_;
    int z_ = 0;
    std::string toolTipText_;
    std::string tag_;
};

// A control that holds others and clips them to its client area.
class Container : public Control {
public:
    Container(Container* parent, Kind kind, std::string name, int index);
    ~Container() override;

    // Children in paint order: windowless ones bottom to top, then windowed ones.
    std::vector<Control*> paintOrder() const;
    const std::vector<Control*>& children() const { return children_; }

    // Offset of the client area inside the control (a border or a caption bar).
    virtual Point clientOffset() const { return {0, 0}; }

    Color backColor() const { return backColor_; }
    void setBackColor(Color c) { assign(backColor_, c); }
    PicturePtr picture() const { return picture_; }
    virtual void setPicture(PicturePtr p) { picture_ = std::move(p); changed(); }
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { assign(borderStyle_, b); }
    // Ambient font: the one controls created in this container start with.
    const Font& font() const { return font_; }
    void setFont(Font f) { assign(font_, std::move(f)); }

protected:
    friend class Control;
    void adopt(Control* c);
    void release(Control* c);
    int nextZ();
    std::vector<Control*> children_;
    int zCounter_ = 0;
    Color backColor_ = colors::ButtonFace;
    PicturePtr picture_;
    int borderStyle_ = 0;
    Font font_;
};

// Calls f on every control inside c, each before its own children, in order of creation.
template <class F>
void forEachDescendant(const Container& c, F&& f) {
    for (Control* child : c.children()) {
        f(*child);
        if (auto* inner = dynamic_cast<const Container*>(child)) forEachDescendant(*inner, f);
    }
}

class Label : public Control {
public:
    Label(Container* parent, std::string name, int index = -1);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    const Font& font() const { return font_; }
    void setFont(Font f);
    void setFontSize(double size);
    void setFontName(std::string name);
    void setFontBold(bool b);
    void setFontUnderline(bool b);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool v);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool v);
    int alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
    void setAlignment(int a) { assign(alignment_, a); }
    int backStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
    void setBackStyle(int b) { assign(backStyle_, b); }
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { borderStyle_ = b; remeasure(); }
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c) { assign(foreColor_, c); }
    Color backColor() const { return backColor_; }
    void setBackColor(Color c) { assign(backColor_, c); }
    bool useMnemonic() const { return useMnemonic_; }
    void setUseMnemonic(bool v) { useMnemonic_ = v; remeasure(); }

    // The text as shown: access-key ampersands removed.
    std::string displayText() const;
    // The shown lines after line breaks and word wrapping within the current width.
    std::vector<std::string> lines() const;
    int lineHeight() const;

    void move(int left, int top, int width, int height) override;

private:
    void remeasure();
    // What the size was last measured from: builds give labels the same caption and font
    // again and again, and measuring is the dear part of a property.
    struct Measured {
        std::string caption;
        Font font;
        bool wordWrap = false, useMnemonic = true;
        int borderStyle = 0, width = -1, height = -1;
        bool operator==(const Measured&) const = default;
    };
    Measured measured_;
    std::string caption_;
    Font font_;
    bool autoSize_ = false;
    bool wordWrap_ = false;
    int alignment_ = 0;
    int backStyle_ = 1;
    int borderStyle_ = 0;
    Color foreColor_ = colors::ButtonText;
    Color backColor_ = colors::ButtonFace;
    bool useMnemonic_ = true;
};

class Image : public Control {
public:
    Image(Container* parent, std::string name, int index = -1);
    PicturePtr picture() const { return picture_; }
    // Without Stretch the image takes the picture's natural size.
    void setPicture(PicturePtr p);
    bool stretch() const { return stretch_; }
    void setStretch(bool s) { assign(stretch_, s); }
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { assign(borderStyle_, b); }

private:
    PicturePtr picture_;
    bool stretch_ = false;
    int borderStyle_ = 0;
};

class PictureBox : public Container {
public:
    PictureBox(Container* parent, std::string name, int index = -1);
    Point clientOffset() const override;
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool v);
    void setPicture(PicturePtr p) override;

private:
    void fitPicture();
    bool autoSize_ = false;
};

class Frame : public Container {
public:
    Frame(Container* parent, std::string name, int index = -1);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { assign(caption_, std::move(c)); }
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c) { assign(foreColor_, c); }

private:
    std::string caption_;
    Color foreColor_ = colors::ButtonText;
};

class TextBox : public Control {
public:
    TextBox(Container* parent, std::string name, int index = -1);

    const std::string& text() const { return text_; }
    // Every assignment raises Change, as the platform does, even to the same text.
    void setText(std::string t);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool v) { assign(multiLine_, v); }
    int maxLength() const { return maxLength_; }  // characters, 0 unlimited
    void setMaxLength(int n);
    bool locked() const { return locked_; }
    void setLocked(bool v) { locked_ = v; }
    int scrollBars() const { return scrollBars_; }
    void setScrollBars(int v) { assign(scrollBars_, v); }
    int alignment() const { return alignment_; }
    void setAlignment(int a) { assign(alignment_, a); }
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { assign(borderStyle_, b); }
    const Font& font() const { return font_; }
    void setFont(Font f) { assign(font_, std::move(f)); }
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c) { assign(foreColor_, c); }
    Color backColor() const { return backColor_; }
    void setBackColor(Color c) { assign(backColor_, c); }

    // Caret and selection in characters. The selection runs from its anchor to the caret;
    // SelLength extends it from SelStart.
    int selStart() const { return std::min(anchor_, caret_); }
    int selLength() const { return std::abs(caret_ - anchor_); }
    int caret() const { return caret_; }
    void setSelStart(int v);
    void setSelLength(int v);
    std::string selText() const;
    void setSelText(const std::string& t);

    // Editing as the keyboard does it; used by the runtime's key routing. A locked box
    // selects and copies but never changes.
    void typeText(const std::string& utf8);
    void editKey(int keyCode, int shift);
    // What the edit control does for a control character typed into it (Ctrl+A, Ctrl+C,
    // Ctrl+V, Ctrl+X, Ctrl+Z); false for a character it does not act on.
    bool controlChar(int ascii);
    void selectAll();
    void copy();
    void cut();
    // The clipboard's text, filtered as typed text is and cut to MaxLength.
    void paste();
    // One level: undoing again redoes.
    void undo();
    // A left press at a point in the box (twips, relative to the box) puts the caret at the
    // nearest character boundary; extend keeps the anchor, as Shift+click does and a drag
    // with the button held.
    void placeCaret(Point local, bool extend);
    // A double click selects the run of letters and digits, or of CJK characters, under the
    // point; elsewhere a run of spaces or a single mark.
    void selectWordAt(Point local);

    // The text as the box shows it: one line unless multi-line, where lines break at CR LF
    // (or a lone CR or LF) and wrap within the text area, after a space where there is one.
    struct Line {
        int start;  // characters into the text
        std::u32string text;
    };
    std::vector<Line> lines() const;
    // Where the text is drawn, in twips relative to the box: inside the border and a pixel
    // of margin.
    Rect textArea() const;
    int lineHeight() const;

    // The text laid out as the box shows it, in twips relative to the box. The painter draws
    // this and a click reads it, so the click finds the character drawn under it.
    struct View {
        Rect area;  // textArea()
        int lineHeight = 1;
        std::vector<Line> lines;
        std::size_t caretLine = 0;
        std::size_t first = 0;   // the first line in sight; the caret's line is kept in view
        int scrollX = 0;         // how far a single line is scrolled to keep the caret in view
        std::vector<int> lineX;  // where each line starts, aligned and scrolled
    };
    View view() const;
    // Where the boundary before character pos falls on line i of v, clamped to that line.
    int boundaryX(const View& v, std::size_t i, int pos) const;

private:
    int advance(const Line& ln, std::size_t k) const;  // width of the line's first k characters
    // The boundary nearest a point, and the character drawn under it (-1 on an empty line).
    struct Spot {
        int boundary;
        int character;
    };
    Spot spotAt(Point local) const;
    void replaceSelection(const std::u32string& with);
    // A change by the learner: it can be undone. Typing on from where the last typing ended
    // adds to the same change, as the edit control keeps it.
    void userEdit(const std::u32string& with, bool typing);
    // What the box accepts of a typed or pasted text: line breaks as CR LF in a multi-line
    // box and dropped elsewhere, no other control characters, cut to MaxLength.
    std::u32string accepted(const std::u32string& in) const;
    void select(int anchor, int caret);
    bool multiLine_ = false;
    int maxLength_ = 0;
    bool locked_ = false;
    int scrollBars_ = 0;
    int alignment_ = 0;
    int borderStyle_ = 1;
    Font font_;
    Color foreColor_ = colors::WindowText;
    Color backColor_ = colors::WindowBackground;
    std::string text_;
    int anchor_ = 0;
    int caret_ = 0;
    struct Snapshot {
        std::string text;
        int anchor = 0;
        int caret = 0;
    };
    std::optional<Snapshot> undo_;
    bool typing_ = false;  // the last change was typing and the caret has stayed at its end
};

class CheckBox : public Control {
public:
    CheckBox(Container* parent, std::string name, int index = -1);
    int value() const { return value_; }
    // A programmatic change raises Click, as a click does.
    void setValue(int v);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { assign(caption_, std::move(c)); }
    const Font& font() const { return font_; }
    void setFont(Font f) { assign(font_, std::move(f)); }
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c) { assign(foreColor_, c); }
    Color backColor() const { return backColor_; }
    void setBackColor(Color c) { assign(backColor_, c); }

private:
    int value_ = 0;
    std::string caption_;
    Font font_;
    Color foreColor_ = colors::ButtonText;
    Color backColor_ = colors::ButtonFace;
};

class Shape : public Control {
public:
    Shape(Container* parent, std::string name, int index = -1);
    // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square
    int shape() const { return shape_; }
    void setShape(int v) { assign(shape_, v); }
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color c) { assign(borderColor_, c); }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    int borderStyle() const { return borderStyle_; }  // 0 transparent, 1 solid, 2 dash, 3 dot ...
    void setBorderStyle(int v) { assign(borderStyle_, v); }
    int fillStyle() const { return fillStyle_; }  // 0 solid, 1 transparent
    void setFillStyle(int v) { assign(fillStyle_, v); }
    Color fillColor() const { return fillColor_; }
    void setFillColor(Color c) { assign(fillColor_, c); }
    int backStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
    void setBackStyle(int v) { assign(backStyle_, v); }
    Color backColor() const { return backColor_; }
    void setBackColor(Color c) { assign(backColor_, c); }

private:
    int shape_ = 0;
    Color borderColor_ = colors::WindowText;
    int borderWidth_ = 1;
    int borderStyle_ = 1;
    int fillStyle_ = 1;
    Color fillColor_ = colors::Black;
    int backStyle_ = 0;
    Color backColor_ = colors::WindowBackground;
};

class Line : public Control {
public:
    Line(Container* parent, std::string name, int index = -1);
    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setPoints(int x1, int y1, int x2, int y2);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color c) { assign(borderColor_, c); }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int v) { assign(borderStyle_, v); }

private:
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color borderColor_ = colors::WindowText;
    int borderWidth_ = 1;
    int borderStyle_ = 1;
};

class Timer : public Control {
public:
    Timer(Container* parent, std::string name, int index = -1);
    ~Timer() override;
    int interval() const { return interval_; }
    void setInterval(int ms);
    bool timerEnabled() const { return enabled_; }
    // Enabling (again) restarts the count.
    void setEnabled(bool v) override;
    PlainHandler Tick;

    // Runtime bookkeeping.
    std::int64_t due = 0;
    bool firing = false;

private:
    void rearm();
    int interval_ = 0;
};

class WebBrowser : public Control {
public:
    WebBrowser(Container* parent, std::string name, int index = -1);
    void navigate(const std::string& pathOrUrl);
    const std::string& locationUrl() const { return location_; }
    // Every navigate counts, also one to the location already shown: the host reloads on it.
    int navigationCount() const { return navigations_; }

private:
    std::string location_;
    int navigations_ = 0;
};

// A user control: a windowed container whose parts are other controls. The mouse on the
// control's own surface reaches its internal handlers below; its public events are only
// those its code raises itself.
class UserControl : public Container {
public:
    UserControl(Container* parent, std::string name, int index = -1);
    virtual void UserControl_MouseDown(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserControl_MouseMove(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserControl_MouseUp(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
};

// Indexed controls sharing one handler; indexes may be sparse.
template <class T>
class ControlArray {
public:
    ControlArray(Container* parent, std::string name) : parent_(parent), name_(std::move(name)) {}

    // Elements of one array may sit in different containers.
    T& load(int index, Container* container = nullptr) {
        auto& slot = items_[index];
        if (!slot) {
            slot = std::make_unique<T>(container ? container : parent_, name_, index);
            if (binder_) binder_(*slot, index);
        }
        return *slot;
    }
    void unload(int index) { items_.erase(index); }
    bool exists(int index) const { return items_.count(index) != 0; }
    // Touching an element that was never loaded is the platform's error 340 ("Control array
    // element does not exist"); callers load elements before use.
    T& operator()(int index);
    const T& operator()(int index) const;
    int lbound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int ubound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    std::size_t count() const { return items_.size(); }
    template <class F>
    void forEach(F&& f) {
        for (auto& [i, p] : items_) f(i, *p);
    }
    // Binds handlers on every element, present and loaded later.
    void bind(std::function<void(T&, int)> binder) {
        binder_ = std::move(binder);
        for (auto& [i, p] : items_) binder_(*p, i);
    }

private:
    Container* parent_;
    std::string name_;
    std::map<int, std::unique_ptr<T>> items_;
    std::function<void(T&, int)> binder_;
};

[[noreturn]] void raiseMissingElement(const std::string& name, int index);

template <class T>
T& ControlArray<T>::operator()(int index) {
    auto it = items_.find(index);
    if (it == items_.end()) raiseMissingElement(name_, index);
    return *it->second;
}
template <class T>
const T& ControlArray<T>::operator()(int index) const {
    auto it = items_.find(index);
    if (it == items_.end()) raiseMissingElement(name_, index);
    return *it->second;
}

// Popup menus: an item with sub-items, shown by Form::popupMenu.
class MenuItem {
public:
    explicit MenuItem(std::string itemName, int itemIndex = -1) : name(std::move(itemName)), index(itemIndex) {}
    std::string name;
    int index;
    std::string caption;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem*> items;  // children, in order; owned elsewhere
    PlainHandler Click;

    // Whether a popup shows this item: visible, and a submenu only while some child is.
    bool offered() const;
};

// An array of menu items loaded at run time (Load mnu(i)). With a parent menu, each loaded
// element takes its place among the parent's items by index, and leaves it when unloaded.
// The parent must outlive the array.
class MenuArray {
public:
    explicit MenuArray(std::string name, MenuItem* parent = nullptr) : name_(std::move(name)), parent_(parent) {}
    ~MenuArray();
    MenuArray(const MenuArray&) = delete;
    MenuArray& operator=(const MenuArray&) = delete;
    MenuItem& load(int index);
    void unload(int index);
    bool exists(int index) const { return items_.count(index) != 0; }
    MenuItem& operator()(int index);
    std::vector<MenuItem*> items() const;
    int ubound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    MenuItem* parent() const { return parent_; }
    std::function<void(int)> onClick;

private:
    void placeInParent(int index, MenuItem* item);
    std::string name_;
    MenuItem* parent_;
    std::map<int, std::unique_ptr<MenuItem>> items_;
};

}  // namespace forms
