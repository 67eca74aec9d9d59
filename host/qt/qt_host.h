// The real screen: Qt windows mirror the model's forms, Qt input is posted to the runtime.
// The model drives the loop; Qt's own exec() is never run.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QSocketNotifier>
#include <QThreadPool>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "forms/host.h"
#include "forms/runtime.h"
#include "host/qt/fonts.h"
#include "host/qt/form_window.h"
#include "host/qt/painting.h"
#include "host/qt/picture.h"

namespace qthost {

class QtHost : public forms::Host {
public:
    // Needs a live QApplication, and must outlive the runtime and every form.
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    static int twipsPerPixelForDpi(double logicalDpi);

    // forms::Host
    void attach(forms::Runtime& runtime) override { rt_ = &runtime; }
    int twipsPerPixelX() const override { return tppX_; }
    int twipsPerPixelY() const override { return tppY_; }
    forms::Size screenSize() const override;
    forms::Size measureText(const forms::Font& font, const std::string& text) override;
    forms::PicturePtr loadPicture(const std::string& path) override;
    forms::Point cursorPos() override;
    std::string clipboardText() override;
    // Line breaks go on the system clipboard as LF, as the programs beside this one expect.
    void setClipboardText(const std::string& utf8) override;
    std::int64_t nowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - clockStart_)
            .count();
    }
    bool waitForInput(int maxMs) override;
    void formShown(forms::Form& form) override;
    void formHidden(forms::Form& form) override;
    void formChanged(forms::Form& form) override;
    void formDestroyed(forms::Form& form) override;
    void invalidate(forms::Form& form) override;
    void beginMessageBox(const forms::MessageBoxRequest& request) override;
    std::optional<int> messageBoxResult() override;
    void beginPopup(const forms::PopupRequest& request) override;
    std::optional<int> popupResult() override;
    bool hostWindowAt(forms::Point screen) override;
    // The available area of the screen the form's window is on.
    forms::Rect maximisedBounds(const forms::Form& form) override;

    // Pushes what the model changed since the last wait to the windows: geometry, flags,
    // stacking, focus, pages, repaints, the pointer. Runs at the top of every wait.
    void sync();

    forms::Runtime* runtime() const { return rt_; }
    FormWindow* windowOf(const forms::Form& form) const;

    // Used by the windows.
    forms::Point toTwips(QPointF globalPx) const;
    QPoint toPixels(forms::Point twips) const;
    // The form's client area on the screen, in pixels, as the model places it.
    QRect clientRectPx(const forms::Form& form) const;
    void posted() { wake_ = true; }
    void recordError(std::exception_ptr e);
    void pointerMoved(FormWindow& window, forms::Point screen);
    // The window manager moved or resized a window; a maximised form takes its geometry.
    void windowGeometryChanged(FormWindow& window);

private:
    struct Pending {
        std::optional<int> result;
    };
    void apply(forms::Form& form, FormWindow& w);
    void showWindow(forms::Form& form, FormWindow& w);
    void showPending();
    // Starts their decoding, last first: the paint goes first to last, and meets the threads
    // in the middle.
    void decodeAhead(const std::vector<forms::PicturePtr>& pictures);
    void armWait(std::chrono::steady_clock::time_point deadline, int maxMs);
    void disarmWait();
    void updateCursor(FormWindow& w, forms::Point screen);
    void retire(QObject* o);
    void rethrowRecorded();

    forms::Runtime* rt_ = nullptr;
    int tppX_ = 15;
    int tppY_ = 15;
    std::chrono::steady_clock::time_point clockStart_ = std::chrono::steady_clock::now();
    QTimer waitTimer_;  // where no timer file can be had
    int waitFd_ = -1;   // a timer file that ends a timed wait
    std::unique_ptr<QSocketNotifier> waitNotifier_;
    QObject context_;  // owner of the host's connections
    std::unique_ptr<QObject> quitWatcher_;
    bool wake_ = false;
    bool timedOut_ = false;
    bool quitting_ = false;
    std::exception_ptr error_;

    std::map<const forms::Form*, FormWindow*> windows_;
    std::set<forms::Form*> changed_;
    std::set<forms::Form*> dirty_;
    // Shown by the model, not yet on screen: each with the form that was active then.
    std::vector<std::pair<forms::Form*, forms::Form*>> pendingShow_;
    std::vector<forms::Form*> lastZ_;
    forms::Form* lastActive_ = nullptr;
    QPointer<FormWindow> hover_;
    forms::Point lastPointer_;
    std::map<std::string, FaceText> metrics_;  // by font
    std::unordered_map<std::string, forms::Size> measured_;  // by font and text

    std::vector<std::shared_ptr<Pending>> messages_;
    std::vector<std::shared_ptr<Pending>> popups_;
    std::vector<QPointer<QObject>> trash_;
    QThreadPool decoders_;  // pictures' pixels, decoded while the model goes on
};

}  // namespace qthost
