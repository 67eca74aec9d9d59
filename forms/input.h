// Pointer routing of the model: which control is under a point, who holds the mouse while
// buttons are down, double clicks, window drags and the pointer shape. Both hosts feed it
// the same events, so they behave alike.
#pragma once

#include <cstdint>
#include <utility>

#include "forms/form.h"

namespace forms {

class Runtime;
struct MouseInput;

struct HitResult {
    Form* form = nullptr;
    Control* control = nullptr;  // null: the form itself
    Point local;                 // twips relative to the control (or the form's client area)
};

class InputRouter {
public:
    explicit InputRouter(Runtime& rt) : rt_(rt) {}

    void dispatch(const MouseInput& m);

    HitResult hitTest(Point screen) const;
    Control* windowFromPoint(Point screen) const;
    std::pair<int, PicturePtr> pointerAt(Point screen) const;

    // A system move of the form from the press that holds the buttons now; false when no
    // button is held. dragging() stays true until the release.
    bool startDrag(Form& f);
    bool dragging(const Form& f) const { return drag_ == &f; }

    // Buttons are no longer the model's concern (a popup or message box took the mouse).
    void releaseAll();
    Control* captured() const { return capture_; }
    Form* capturedForm() const { return captureForm_; }

    void formHidden(Form& f);
    void controlDestroyed(Control& c);

private:
    void raiseMouse(Form& f, Control* c, int type, int button, int shift, Point local);
    void raiseClick(Form& f, Control* c, bool dbl);

    Runtime& rt_;
    Control* capture_ = nullptr;
    Form* captureForm_ = nullptr;
    int held_ = 0;
    Point pressPoint_;  // where the buttons now held went down
    bool selectingText_ = false;  // a left press in the captured text box selects as it moves
    Form* drag_ = nullptr;
    Point dragStart_;
    Point dragOrigin_;
    // Double-click detection.
    Control* lastDownControl_ = nullptr;
    Form* lastDownForm_ = nullptr;
    std::int64_t lastDownTime_ = -1000000;
    Point lastDownPoint_;
    bool lastWasDouble_ = false;
};

}  // namespace forms
