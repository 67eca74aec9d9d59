// A top-level window of the model. Windows of the system derive from it and override the
// Form_ handlers they need.
// Z-order is declaration order, bottom first: a window whose controls are listed top first
// declares them in reverse.
#pragma once

#include <string>

#include "forms/controls.h"

namespace forms {

class Runtime;

enum class FormState { Created, Loaded, Unloaded };

class Form : public Container {
public:
    Form(Runtime& runtime, std::string name);
    ~Form() override;

    Runtime& rt() const { return runtime_; }

    // Geometry: Left/Top in screen twips; the client area excludes a fixed border.
    void move(int left, int top, int width, int height) override;
    Point clientOffset() const override;
    Size clientSize() const;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    PicturePtr icon() const { return icon_; }
    void setIcon(PicturePtr p);
    void setPicture(PicturePtr p) override;

    // 0 none, 1 fixed single.
    int formBorderStyle() const { return borderStyle_; }
    void setFormBorderStyle(int b);
    // 0 normal, 1 minimised, 2 maximised. A maximised form's geometry is the real window's;
    // moving it only changes where it goes back to.
    int windowState() const { return windowState_; }
    void setWindowState(int s);
    bool showInTaskbar() const { return showInTaskbar_; }
    void setShowInTaskbar(bool v);
    // 0 manual, 2 centre of the screen at the first show.
    int startUpPosition() const { return startUpPosition_; }
    void setStartUpPosition(int v) { startUpPosition_ = v; }
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool v) { keyPreview_ = v; }
    bool topmost() const { return topmost_; }
    void setTopmost(bool t);

    // Lifecycle. A form is loaded on first touch by its accessor; these run the handlers.
    FormState state() const { return state_; }
    bool isLoaded() const { return state_ == FormState::Loaded; }
    void load();
    void show(bool modal = false);
    void hide();
    // Returns false when Form_Unload cancelled. Safe from inside the form's own handlers:
    // the object lives on until the runtime is back at its top.
    bool unload();
    void activate();

    // Control that takes the keyboard; null means the form itself. Tab order, used when the
    // focus moves on, is the order of creation.
    Control* activeControl() const { return active_; }
    void setActiveControl(Control* c);
    // c was hidden or disabled: a focus inside it moves on to the next control that can take
    // it, or to the form.
    void focusMayBeLost(Control& c);

    // Shows a popup menu at the pointer (or at x, y in client twips) and runs the chosen
    // item's Click before it returns. Right-aligned, the menu's right edge is at x.
    void popupMenu(MenuItem& menu);
    void popupMenu(MenuItem& menu, int x, int y, bool rightAligned = false);

    // Moves the window with the pointer until the buttons are released; what a window's
    // drag strip starts on a left press.
    void beginDrag();

    // Handlers.
    virtual void Form_Load() {}
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    virtual void Form_Activate() {}
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_MouseDown(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void Form_MouseMove(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void Form_MouseUp(int button, int shift, int x, int y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode, (void)shift; }
    virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
    virtual void Form_KeyUp(int& keyCode, int shift) { (void)keyCode, (void)shift; }

private:
    friend class Runtime;
    void setGeometry(Rect r) { left_ = r.left, top_ = r.top, width_ = r.width, height_ = r.height; }
    Runtime& runtime_;
    std::string caption_;
    PicturePtr icon_;
    int windowState_ = 0;
    bool topmost_ = false;
    FormState state_ = FormState::Created;
    bool unloading_ = false;
    bool shownOnce_ = false;
    bool showInTaskbar_ = true;
    int startUpPosition_ = 0;
    bool keyPreview_ = false;
    Rect normal_;  // geometry to restore from maximised
    Control* active_ = nullptr;
};

}  // namespace forms
