// The model's one thread: input queue, timers, modal loops, program end.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/host.h"
#include "forms/input.h"
#include "platform/vb_error.h"

namespace forms {

// Thrown to end the program from any depth; caught only by Runtime::run.
struct ProgramEnd {};

struct MouseInput {
    enum Type { Down, Up, Move } type = Move;
    Point screen;     // twips
    int button = 0;   // the button that changed (Down/Up); 0 for moves
    int buttons = 0;  // buttons held after the event
    int shift = 0;
};

struct KeyInput {
    bool down = true;
    int keyCode = 0;
    int shift = 0;
    std::string text;  // the characters the key produces, UTF-8; empty for none
};

class Runtime {
public:
    explicit Runtime(Host& host);
    ~Runtime();

    Host& host() { return host_; }
    std::int64_t now() { return host_.nowMs(); }

    // Title of plain message boxes shown without a title of their own.
    std::string appTitle;

    // Input from the host, queued and dispatched by the model's loops.
    void postMouse(const MouseInput& m);
    void postKey(const KeyInput& k);
    void postText(const std::string& utf8);  // committed input-method text
    void postClose(Form& f);                 // the window manager asks the window to close
    bool hasPendingInput() const { return !queue_.empty(); }
    // While one of these lives, clicks, keys, typed text and close requests are dropped as they
    // leave the queue: none reaches a window, then or later. Timers and repaints go on.
    class InputDiscarded {
    public:
        explicit InputDiscarded(Runtime& r) : rt_(r) { ++rt_.inputDiscarded_; }
        ~InputDiscarded() { --rt_.inputDiscarded_; }
        InputDiscarded(const InputDiscarded&) = delete;
        InputDiscarded& operator=(const InputDiscarded&) = delete;

    private:
        Runtime& rt_;
    };

    // Runs start (typically the first window's load), then the loop, until the program
    // ends, no form is loaded, or the host has nothing more to give. Returns normally.
    void run(const std::function<void()>& start = {});
    // Nested loops (modal forms, message boxes, popups, sleeps) now running.
    int nestedLoops() const { return nested_; }
    // What happens to a run-time error that no handler of the procedure catches.
    std::function<void(const platform::VbError&)> onUnhandledError;
    // Runs a handler in a model frame: depth bookkeeping and unhandled errors.
    template <class F>
    void invoke(F&& f) {
        DepthGuard g(*this);
        try {
            std::forward<F>(f)();
        } catch (const platform::VbError& e) {
            unhandled(e);
        } catch (const std::exception& e) {
            unhandled(platform::VbError(5, e.what()));
        }
    }
    void timerCreated(Timer& t);
    bool ended() const { return ended_; }
    // Ends the program at once from any depth.
    [[noreturn]] void endProgram();

    // Processes pending input and due timers, then returns. Re-entrant.
    void doEvents();
    // Waits up to maxMs (< 0: no limit) for input or a due timer, processing what comes.
    // Returns false when the host will give no more input.
    bool pump(int maxMs);
    // Lets ms pass while events are processed.
    void sleepWithEvents(int ms);

    // Plain message box; timers keep running while it is open.
    int msgBox(const std::string& prompt, int flags = 0, const std::string& title = {});

    // Nested loop of a modal form: returns when the form is hidden or unloaded.
    void runModal(Form& f);
    Form* topModal() const { return modal_.empty() ? nullptr : modal_.back(); }
    // Forms shown modally, outermost first.
    const std::vector<Form*>& modalForms() const { return modal_; }

    // Chooses from a popup built from menu items; runs the chosen item's Click.
    void popup(MenuItem& menu, Point screen, bool rightAligned = false);

    // The windowed control (or form) under a screen point, as hover polling asks for it.
    Control* windowFromPoint(Point screen) const { return input_.windowFromPoint(screen); }
    HitResult hitTest(Point screen) const { return input_.hitTest(screen); }
    // Pointer shape and icon the host should show at a screen point.
    std::pair<int, PicturePtr> pointerAt(Point screen) const { return input_.pointerAt(screen); }

    // Visible forms, bottom to top (topmost ones last).
    std::vector<Form*> zOrderedForms() const;
    const std::vector<Form*>& loadedForms() const { return loaded_; }
    Form* activeForm() const { return activeForm_; }
    // The control with the keyboard focus: the active form's active control, when it can
    // take the keys now.
    Control* focused() const { return focused_; }

    // Called by forms.
    void formLoaded(Form& f);
    void formShown(Form& f);
    void formHidden(Form& f);
    void formUnloaded(Form& f);
    void formChanged(Form& f) { host_.formChanged(f); }
    // The host reports where the window manager put a real window (a maximised one): the
    // model mirrors it without echoing it back.
    void hostGeometry(Form& f, Rect r);
    void invalidate(Form& f) { host_.invalidate(f); }
    void controlDestroyed(Control& c);
    void activate(Form& f);
    // Moves the form with the pointer until the buttons are released; returns after that.
    void beginDrag(Form& f);
    // The control with the keyboard focus moved, or may have (hidden, disabled, destroyed):
    // raises LostFocus and GotFocus where it changed.
    void focusChanged();
    // Whether input may reach this form now (no message box, popup or other modal form).
    bool acceptsInput(const Form& f) const;
    // Hands a dead form to the runtime; it is destroyed once no handler runs.
    void bury(std::unique_ptr<Form> f);

    // The control that holds the mouse while buttons are down.
    Control* captured() const { return input_.captured(); }
    Form* capturedForm() const { return input_.capturedForm(); }

    // Depth of handler frames; 0 at the top of the loop.
    int depth() const { return depth_; }

    static constexpr int DoubleClickMs = 500;

private:
    struct DepthGuard {
        explicit DepthGuard(Runtime& r) : rt(r) { ++rt.depth_; }
        ~DepthGuard() { --rt.depth_; }
        Runtime& rt;
    };
    struct HostModal {
        explicit HostModal(Runtime& r) : rt(r) { ++rt.hostModals_; }
        ~HostModal() { --rt.hostModals_; }
        Runtime& rt;
    };
    struct NestGuard {
        explicit NestGuard(Runtime& r) : rt(r) { ++rt.nested_; }
        ~NestGuard() { --rt.nested_; }
        Runtime& rt;
    };
    void unhandled(const platform::VbError& e);
    struct Queued {
        enum Type { Mouse, Key, Text, Close } type;
        MouseInput mouse;
        KeyInput key;
        std::string text;
        Form* form = nullptr;
    };
    bool dispatchOne();
    void dispatchKey(const KeyInput& k);
    void dispatchText(const std::string& t);
    bool fireDueTimers();
    std::int64_t nextTimerDue() const;
    void collectGraves();
    // The learner closed the last window the program showed: the program ends.
    void endIfNoWindowLeft();
    void keyTo(Form& f, const KeyInput& k);

    Host& host_;
    std::deque<Queued> queue_;
    std::vector<Form*> loaded_;
    std::vector<Form*> shown_;  // bottom to top
    std::vector<Form*> modal_;
    std::vector<std::unique_ptr<Form>> graves_;
    Form* activeForm_ = nullptr;
    InputRouter input_{*this};
    Control* focused_ = nullptr;  // the control whose GotFocus ran last
    // Message boxes and popups open now; one may open over another.
    int hostModals_ = 0;
    int inputDiscarded_ = 0;
    bool ended_ = false;
    // A window-manager close unloaded a window since the top loop last looked.
    bool closedByUser_ = false;
    int depth_ = 0;
    int nested_ = 0;
    struct TimerRef {
        Timer* timer;
        std::uint64_t serial;
    };
    std::vector<TimerRef> timers_;
    std::uint64_t timerSerial_ = 0;
};

// Load on first touch: the program's typed accessor for one window.
template <class T>
class FormSlot {
public:
    FormSlot(Runtime& rt, std::function<std::unique_ptr<T>()> make) : rt_(rt), make_(std::move(make)) {}
    ~FormSlot() {
        if (form_) rt_.bury(std::move(form_));
    }

    T& get() {
        if (form_ && form_->state() == FormState::Unloaded) rt_.bury(std::move(form_));
        if (!form_) {
            form_ = make_();
            form_->load();
        }
        return *form_;
    }
    T& operator()() { return get(); }
    // Asks without loading.
    bool loaded() const { return form_ && form_->state() == FormState::Loaded; }
    T* peek() const { return loaded() ? form_.get() : nullptr; }

private:
    Runtime& rt_;
    std::function<std::unique_ptr<T>()> make_;
    std::unique_ptr<T> form_;
};

}  // namespace forms
