// A host without a screen, for tests: deterministic text metrics, picture sizes read from
// the files, a virtual clock, scripted input and scripted answers to modal boxes.
//
// Text metrics: at a font of S points one em is S × 20 twips; a character whose ANSI form
// takes two bytes is one em wide, any other half an em; bold adds nothing; a line is
// 1.25 em high. Widths and heights are rounded up to whole pixels.
//
// The host's own windows, for hostWindowAt: an open popup menu covers 150 px across and
// 18 px per top-level entry (separators too), right and down from the request's point (left
// and down for a right-aligned one; submenus are not drawn); an open message box covers
// 300 × 120 px in the screen's centre.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/host.h"
#include "forms/runtime.h"

namespace headless {

// Raised when a loop waits for input that the script never gives. Not a std::exception,
// so no handler of the system's code can swallow it.
struct ScriptStarved {
    std::string what;
};

// Raised when the script asks for something the model cannot do, such as choosing a popup
// entry that is not there. Not a std::exception, for the same reason.
struct ScriptFault {
    std::string what;
};

class HeadlessHost : public forms::Host {
public:
    explicit HeadlessHost(int twipsPerPixel = 15, forms::Size screenPx = {1024, 768});

    // forms::Host
    void attach(forms::Runtime& runtime) override { rt_ = &runtime; }
    int twipsPerPixelX() const override { return tpp_; }
    int twipsPerPixelY() const override { return tpp_; }
    forms::Size screenSize() const override { return {screenPx_.width * tpp_, screenPx_.height * tpp_}; }
    forms::Size measureText(const forms::Font& font, const std::string& text) override;
    forms::PicturePtr loadPicture(const std::string& path) override;
    forms::Point cursorPos() override { return cursor_; }
    // An in-memory clipboard; a script sets and reads it through these.
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(const std::string& utf8) override { clipboard_ = utf8; }
    std::int64_t nowMs() override { return now_; }
    bool waitForInput(int maxMs) override;
    // Delivers the next script step, as a wait of the model's loops does, but never runs
    // the clock: not past an active pause, nor into a popup or box the user is still in.
    bool pollInput() override;
    void letTimePass(int ms) override { now_ += ms; }
    void formShown(forms::Form& f) override;
    void formHidden(forms::Form& f) override;
    void formChanged(forms::Form&) override {}
    void formDestroyed(forms::Form&) override {}
    void invalidate(forms::Form&) override {}
    void beginMessageBox(const forms::MessageBoxRequest& request) override;
    std::optional<int> messageBoxResult() override;
    void beginPopup(const forms::PopupRequest& request) override;
    std::optional<int> popupResult() override;
    bool hostWindowAt(forms::Point screen) override;
    void waitingForever(const std::string& what) override;

    // ---- the script ----
    // Input steps are queued and delivered one per wait of the model's loops (and one per
    // DoEvents), in order. A step may be a pause (virtual milliseconds) or an action run at
    // delivery time. Every mouse step carries a shift mask (forms::shiftmask).
    void click(const forms::Control& c, int button = forms::buttons::Left, int shift = 0);
    void clickAt(forms::Point screen, int button = forms::buttons::Left, int shift = 0);
    void doubleClick(const forms::Control& c, int shift = 0);
    void doubleClickAt(forms::Point screen, int shift = 0);
    void press(const forms::Control& c, int button = forms::buttons::Left, int shift = 0);  // down only
    void pressAt(forms::Point screen, int button = forms::buttons::Left, int shift = 0);
    void release(forms::Point screen, int button = forms::buttons::Left, int shift = 0);    // up only
    void moveTo(const forms::Control& c, int shift = 0);
    void moveTo(forms::Point screen, int shift = 0);
    void drag(const forms::Control& c, forms::Point toScreen, int steps = 4, int shift = 0);
    // A left press at one point, moves in steps to the other, and the release there.
    void dragAt(forms::Point fromScreen, forms::Point toScreen, int steps = 4, int shift = 0);
    void key(int keyCode, int shift = 0, std::string text = {});
    // One half of a key stroke, for keys that overlap.
    void keyDown(int keyCode, int shift = 0, std::string text = {});
    void keyUp(int keyCode, int shift = 0);
    void type(const std::string& utf8);  // committed text, as an input method delivers it
    void pause(int ms);
    void then(std::function<void()> action);

    // Answers for the next message boxes and popups, in the order they open. With afterMs
    // the user stays in the box or menu that long: virtual time runs and timers fire while
    // it is open, and script steps wait until it closes.
    void answerMessageBox(int result, int afterMs = 0);
    // The enabled leaf with this caption ("&" ignored); none, or "", dismisses the menu.
    void choosePopup(std::string caption, int afterMs = 0);
    // The entry at this path of 0-based positions: first among the top-level entries as the
    // request lists them (visible ones, separators counted), then within that entry's
    // submenu, and so on. An empty path dismisses. A path that does not end on an enabled
    // leaf through enabled entries throws ScriptFault when the menu opens.
    void choosePopupAt(std::vector<int> path, int afterMs = 0);

    // Runs the model's loop until the script is used up and nothing is due within
    // idleMs of virtual time (or the program ends).
    void runUntilIdle(int idleMs = 60000);
    // Runs for exactly ms of virtual time (timers fire), delivering script steps on the way.
    void runFor(int ms);

    // What the script saw.
    std::vector<forms::MessageBoxRequest> messageBoxes;
    std::vector<forms::PopupRequest> popups;
    std::vector<std::string> shownLog;  // "show Name" / "hide Name", in order

    // Centre of a control in screen twips.
    static forms::Point centreOf(const forms::Control& c);
    forms::Runtime& runtime() { return *rt_; }
    void setScreenPixels(forms::Size px) { screenPx_ = px; }

private:
    struct Step {
        enum Kind { Mouse, Key, Text, Pause, Action } kind = Mouse;
        forms::MouseInput mouse;
        forms::KeyInput key;
        std::string text;
        int ms = 0;
        std::function<void()> action;
    };
    struct PopupAnswer {
        std::optional<std::string> caption;  // else by path
        std::vector<int> path;
        int afterMs = 0;
    };
    // A popup or message box the model has open, with the answer it will get and when.
    struct OpenWindow {
        bool popup = false;
        int result = -1;
        std::int64_t answerAt = 0;
        forms::Rect bounds;  // screen twips
    };
    void pushMouse(forms::MouseInput::Type type, forms::Point p, int button, int buttonsAfter, int shift);
    bool deliverNext();
    std::optional<int> takeAnswer(bool popup);
    // When the innermost open box or menu gets its answer, if that is still to come.
    std::optional<std::int64_t> userInsideUntil() const;
    bool deadlineCheck() const { return deadline_ < 0 || now_ <= deadline_; }
    int roundUp(double twips) const;

    forms::Runtime* rt_ = nullptr;
    int tpp_;
    forms::Size screenPx_;
    std::int64_t now_ = 1000;
    forms::Point cursor_{0, 0};
    std::string clipboard_;
    int held_ = 0;
    std::deque<Step> script_;
    std::deque<std::pair<int, int>> msgAnswers_;  // result, afterMs
    std::deque<PopupAnswer> popupAnswers_;
    std::vector<OpenWindow> open_;  // innermost last
    std::int64_t deadline_ = -1;
    int idleLimit_ = 60000;
    bool pauseActive_ = false;
    std::int64_t pauseUntil_ = 0;
};

}  // namespace headless
