// What only a screen knows. The Qt host draws the model in real windows; the headless host
// answers with deterministic metrics and a virtual clock for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/types.h"

namespace forms {

class Form;
class Runtime;

struct MessageBoxRequest {
    std::string prompt;
    std::string title;
    int flags = 0;  // mb:: buttons | icon | default button
};

struct PopupItem {
    std::string caption;  // "-" is a separator; "&" marks the access key
    bool enabled = true;
    bool checked = false;
    std::vector<PopupItem> children;
    int id = -1;  // identifies the chosen leaf
};

struct PopupRequest {
    std::vector<PopupItem> items;
    Point screen;  // twips
    bool rightAligned = false;  // screen is the menu's top-right corner, not its top-left
};

class Host {
public:
    virtual ~Host() = default;

    // Called once by the runtime that drives this host.
    virtual void attach(Runtime& runtime) = 0;

    virtual int twipsPerPixelX() const = 0;
    virtual int twipsPerPixelY() const = 0;
    virtual Size screenSize() const = 0;  // twips

    // Extent of one line of text (no line breaks) in twips. The height is the font's line
    // height, whatever the text, an empty one included.
    virtual Size measureText(const Font& font, const std::string& text) = 0;

    // Loads a picture by its content whatever the file's extension. Throws VbError 53 for a
    // missing file and 481 for one that is not a picture.
    virtual PicturePtr loadPicture(const std::string& path) = 0;

    virtual Point cursorPos() = 0;  // screen twips

    // The clipboard's text, UTF-8; empty when it holds none. The model writes its CR LF line
    // breaks and reads any kind.
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& utf8) = 0;

    // Monotonic milliseconds.
    virtual std::int64_t nowMs() = 0;

    // Blocks until input has been posted to the runtime or maxMs have passed (maxMs < 0:
    // no limit; 0: only collect what is already pending). Returns false when no input will
    // ever come again (a finished test script): the loop that waits gives up.
    virtual bool waitForInput(int maxMs) = 0;
    // What DoEvents collects: input the host has ready, without blocking. A host whose input
    // arrives on its own (a real screen) needs nothing more than waitForInput(0).
    virtual bool pollInput() { return waitForInput(0); }
    // The caller just spent up to ms blocked outside the host (for instance on a socket);
    // a virtual clock moves on by that much.
    virtual void letTimePass(int ms) { (void)ms; }

    // Window bookkeeping; the model is the truth, the host mirrors it.
    virtual void formShown(Form& form) = 0;
    virtual void formHidden(Form& form) = 0;
    virtual void formChanged(Form& form) = 0;  // geometry, caption, icon, topmost, z-order
    virtual void formDestroyed(Form& form) = 0;
    virtual void invalidate(Form& form) = 0;  // repaint from the model

    // Modal answers are polled so that the model's own loop keeps timers running.
    virtual void beginMessageBox(const MessageBoxRequest& request) = 0;
    virtual std::optional<int> messageBoxResult() = 0;
    virtual void beginPopup(const PopupRequest& request) = 0;
    // Empty while open; then the chosen leaf id, or -1 when dismissed.
    virtual std::optional<int> popupResult() = 0;

    // True when a window of the host's own (an open popup menu or message box) covers the
    // point: nothing of the model is under the pointer there.
    virtual bool hostWindowAt(Point screen) { (void)screen; return false; }
    // Where a maximised form lies on the screen, in twips.
    virtual Rect maximisedBounds(const Form& form) {
        (void)form;
        Size s = screenSize();
        return {0, 0, s.width, s.height};
    }

    // A loop that cannot end without input the host will never give (headless only).
    virtual void waitingForever(const std::string& what) { (void)what; }
};

}  // namespace forms
