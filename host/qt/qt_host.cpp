#include "host/qt/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QWindow>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "host/qt/fonts.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qthost {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Sees the application's Quit, which no exec() is there to act on.
class QuitWatcher : public QObject {
public:
    explicit QuitWatcher(std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Quit) onQuit_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onQuit_;
};

// Only a left release chooses from a popup; Qt's menus on X11 also take the right one.
class LeftReleaseOnly : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton)
            return true;
        return QObject::eventFilter(watched, e);
    }
};

// The size's own bytes: formatting a double costs more than the lookup it keys.
std::string fontKey(const forms::Font& f) {
    std::string key = f.name;
    key += '\x1f';
    char size[sizeof f.size];
    std::memcpy(size, &f.size, sizeof size);
    key.append(size, sizeof size);
    key += static_cast<char>((f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0));
    return key;
}

void addItems(QMenu* menu, const std::vector<forms::PopupItem>& items, QObject* filter) {
    for (const auto& it : items) {
        if (it.caption == "-") {
            menu->addSeparator();
            continue;
        }
        if (!it.children.empty()) {
            QMenu* sub = menu->addMenu(qs(it.caption));
            sub->installEventFilter(filter);
            sub->setEnabled(it.enabled);
            addItems(sub, it.children, filter);
            continue;
        }
        QAction* a = menu->addAction(qs(it.caption));
        a->setEnabled(it.enabled);
        if (it.checked) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        a->setData(it.id);
    }
}

}  // namespace

int QtHost::twipsPerPixelForDpi(double logicalDpi) {
    if (logicalDpi <= 0) return 15;
    return std::max(1, static_cast<int>(std::lround(1440.0 / logicalDpi)));
}

QtHost::QtHost() {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        tppX_ = twipsPerPixelForDpi(s->logicalDotsPerInchX());
        tppY_ = twipsPerPixelForDpi(s->logicalDotsPerInchY());
    }
    waitTimer_.setSingleShot(true);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&waitTimer_, &QTimer::timeout, &context_, [this] { timedOut_ = true; });
    // steady_clock is CLOCK_MONOTONIC here, as the timer file's clock.
    waitFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (waitFd_ >= 0) {
        waitNotifier_ = std::make_unique<QSocketNotifier>(waitFd_, QSocketNotifier::Read);
        QObject::connect(waitNotifier_.get(), &QSocketNotifier::activated, &context_, [this] {
            std::uint64_t expiries = 0;
            if (::read(waitFd_, &expiries, sizeof expiries) == static_cast<ssize_t>(sizeof expiries)) timedOut_ = true;
        });
    }
    quitWatcher_ = std::make_unique<QuitWatcher>([this] {
        quitting_ = true;
        wake_ = true;
    });
    QCoreApplication::instance()->installEventFilter(quitWatcher_.get());
    // Windows come and go as the model says; hiding the last one ends nothing.
    QApplication::setQuitOnLastWindowClosed(false);
    // Two, and the paint makes a third.
    decoders_.setMaxThreadCount(2);
}

QtHost::~QtHost() {
    // Pictures not yet begun are decoded when drawn, if ever; none may outlive the toolkit.
    decoders_.clear();
    decoders_.waitForDone();
    waitNotifier_.reset();
    if (waitFd_ >= 0) ::close(waitFd_);
    if (auto* app = QCoreApplication::instance()) app->removeEventFilter(quitWatcher_.get());
    for (auto& [form, w] : windows_) delete w;
    for (auto& o : trash_) delete o.data();
}

forms::Size QtHost::screenSize() const {
    QRect r(0, 0, 1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) r = s->availableGeometry();
    return {r.width() * tppX_, r.height() * tppY_};
}

forms::Size QtHost::measureText(const forms::Font& font, const std::string& text) {
    // Labels remeasure at every property they are given, mostly with the same font and text;
    // shaping is the cost, and its answer never changes.
    std::string textKey = fontKey(font);
    const std::size_t fontLength = textKey.size();
    textKey += '\x1e';
    textKey += text;
    if (auto m = measured_.find(textKey); m != measured_.end()) return m->second;
    std::string key = textKey.substr(0, fontLength);
    auto it = metrics_.find(key);
    if (it == metrics_.end()) it = metrics_.emplace(key, FaceText(font)).first;
    const FaceText& face = it->second;
    forms::Size size{face.advance(qs(text)) * tppX_, face.metrics().height() * tppY_};
    if (measured_.size() >= 4096) measured_.clear();
    measured_.emplace(std::move(textKey), size);
    return size;
}

forms::PicturePtr QtHost::loadPicture(const std::string& path) {
    auto bytes = platform::readBytes(path);
    if (!bytes) platform::raise(53);
    return decodePicture(std::move(*bytes), path, tppX_, tppY_);
}

forms::Point QtHost::cursorPos() { return toTwips(QPointF(QCursor::pos())); }

std::string QtHost::clipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtHost::setClipboardText(const std::string& utf8) {
    QString text = qs(utf8);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QGuiApplication::clipboard()->setText(text);
}

forms::Point QtHost::toTwips(QPointF px) const {
    return {static_cast<int>(std::floor(px.x() * tppX_)), static_cast<int>(std::floor(px.y() * tppY_))};
}

QPoint QtHost::toPixels(forms::Point t) const { return {floorDiv(t.x, tppX_), floorDiv(t.y, tppY_)}; }

QRect QtHost::clientRectPx(const forms::Form& f) const {
    forms::Point off = f.clientOffset();
    forms::Size cs = f.clientSize();
    QPoint tl = toPixels({f.left() + off.x, f.top() + off.y});
    QPoint br = toPixels({f.left() + off.x + cs.width, f.top() + off.y + cs.height});
    return {tl, QSize(std::max(1, br.x() - tl.x()), std::max(1, br.y() - tl.y()))};
}

// ---- the loop ----

void QtHost::recordError(std::exception_ptr e) {
    if (!error_) error_ = e;
    wake_ = true;
}

void QtHost::rethrowRecorded() {
    if (auto e = std::exchange(error_, nullptr)) std::rethrow_exception(e);
}

bool QtHost::waitForInput(int maxMs) {
    // Over when the clock the model reads has moved on by maxMs: at that millisecond's start.
    const auto deadline = clockStart_ + std::chrono::milliseconds(nowMs() + std::max(0, maxMs));
    sync();
    if (quitting_) return false;
    wake_ = false;
    if (maxMs == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
        // Qt's timed processEvents does not block; a timer wakes the blocking one instead.
        timedOut_ = false;
        if (maxMs > 0) armWait(deadline, maxMs);
        while (!wake_ && !timedOut_ && !quitting_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        disarmWait();
    }
    rethrowRecorded();
    return !quitting_;
}

// The event loop's own timers round a wait up to the next whole millisecond and start it only
// after sync(); a timer file wakes it at the deadline itself.
void QtHost::armWait(std::chrono::steady_clock::time_point deadline, int maxMs) {
    if (waitFd_ < 0) {
        waitTimer_.start(maxMs);
        return;
    }
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
    itimerspec at{};
    at.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
    at.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
    if (at.it_value.tv_sec == 0 && at.it_value.tv_nsec == 0) at.it_value.tv_nsec = 1;  // zero would disarm
    if (::timerfd_settime(waitFd_, TFD_TIMER_ABSTIME, &at, nullptr) != 0) waitTimer_.start(maxMs);
}

void QtHost::disarmWait() {
    waitTimer_.stop();
    // Setting the timer also forgets an expiry not yet read, so none reaches the next wait.
    if (waitFd_ >= 0) {
        itimerspec off{};
        ::timerfd_settime(waitFd_, 0, &off, nullptr);
    }
}

// ---- windows ----

FormWindow* QtHost::windowOf(const forms::Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

void QtHost::formShown(forms::Form& form) {
    // The paint soon after needs them all, some perhaps shown only now.
    decodeAhead(picturesPainted(form));
    FormWindow* w = windowOf(form);
    if (!w) {
        w = new FormWindow(*this, form);
        windows_[&form] = w;
    }
    apply(form, *w);
    changed_.erase(&form);
    lastZ_.clear();
    if (w->isVisible()) {
        showWindow(form, *w);
        w->syncBrowsers();
        w->update();
        return;
    }
    // A modal show registers itself only after this call returns; the window appears at the
    // next wait, when its modality and owner are known. Nothing is painted before then anyway.
    // Shown twice before the wait: the owner is the one of the first show.
    for (const auto& p : pendingShow_)
        if (p.first == &form) return;
    forms::Form* owner = rt_ ? rt_->activeForm() : nullptr;
    pendingShow_.push_back({&form, owner != &form ? owner : nullptr});
}

void QtHost::showPending() {
    auto pending = std::exchange(pendingShow_, {});
    for (auto& [form, owner] : pending) {
        FormWindow* w = windowOf(*form);
        if (!w || !form->isLoaded() || !form->visible()) continue;
        bool modal = false;
        if (rt_) {
            const auto& m = rt_->modalForms();
            modal = std::find(m.begin(), m.end(), form) != m.end();
        }
        FormWindow* ownerWindow = modal && owner ? windowOf(*owner) : nullptr;
        if (w->ownedDialog != (ownerWindow != nullptr)) {
            w->ownedDialog = ownerWindow != nullptr;
            apply(*form, *w);
        }
        w->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        // A transient parent rather than a Qt parent: the owner must not delete this window.
        w->winId();
        if (ownerWindow) ownerWindow->winId();
        if (QWindow* h = w->windowHandle()) h->setTransientParent(ownerWindow ? ownerWindow->windowHandle() : nullptr);
        showWindow(*form, *w);
        w->syncBrowsers();
        w->update();
    }
}

void QtHost::formHidden(forms::Form& form) {
    std::erase_if(pendingShow_, [&](const auto& p) { return p.first == &form; });
    if (FormWindow* w = windowOf(form)) w->hide();
    if (lastActive_ == &form) lastActive_ = nullptr;
}

void QtHost::formChanged(forms::Form& form) { changed_.insert(&form); }

void QtHost::invalidate(forms::Form& form) {
    dirty_.insert(&form);
    // A form's picture is drawn whenever the form is, and is mostly the largest there is: its
    // decoding need not wait for the paint. The others wait for the show, as a control that
    // has its picture may still be hidden before then.
    if (auto* p = dynamic_cast<const QtPicture*>(form.picture().get())) p->decodeAhead(decoders_);
}

void QtHost::decodeAhead(const std::vector<forms::PicturePtr>& pictures) {
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it)
        if (auto* p = dynamic_cast<const QtPicture*>(it->get())) p->decodeAhead(decoders_);
}

void QtHost::formDestroyed(forms::Form& form) {
    changed_.erase(&form);
    std::erase_if(pendingShow_, [&](const auto& p) { return p.first == &form; });
    for (auto& p : pendingShow_)
        if (p.second == &form) p.second = nullptr;
    dirty_.erase(&form);
    lastZ_.clear();
    if (lastActive_ == &form) lastActive_ = nullptr;
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    delete it->second;
    windows_.erase(it);
}

void QtHost::apply(forms::Form& f, FormWindow& w) {
    FormWindow::Applied& a = w.applied;
    // The window manager keeps only dialogs and tools above their transient parent.
    Qt::WindowFlags flags;
    if (f.formBorderStyle() == 0)
        flags = (w.ownedDialog ? Qt::Dialog : f.showInTaskbar() ? Qt::Window : Qt::Tool) | Qt::FramelessWindowHint;
    else
        // A fixed single border is a dialog's: a title and a close button, nothing to minimise
        // or maximise. Out of the taskbar it stays a tool window.
        flags = ((w.ownedDialog || f.showInTaskbar()) ? Qt::Dialog : Qt::Tool) | Qt::WindowTitleHint |
                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
    if (f.topmost()) flags |= Qt::WindowStaysOnTopHint;
    if (a.valid && flags != a.flags && (flags ^ a.flags) == Qt::WindowStaysOnTopHint && w.windowHandle()) {
        // QWidget::setWindowFlags would hide the window; the native window takes the hint in place.
        w.overrideWindowFlags(flags);
        w.windowHandle()->setFlags(flags);
        a.flags = flags;
    } else if (!a.valid || flags != a.flags) {
        bool wasVisible = w.isVisible();
        w.setWindowFlags(flags);  // hides the window
        a.flags = flags;
        a.geometry = {};
        if (wasVisible) showWindow(f, w);
    }
    if (w.isVisible() && f.windowState() != a.state) showWindow(f, w);
    // Only what the model changed is pushed: a window the user moved by its title bar stays.
    // A maximised window's geometry is the window manager's; pushing one would restore it.
    QRect geo = clientRectPx(f);
    if (f.windowState() != 2 && geo != a.geometry) {
        if (f.formBorderStyle() != 0) w.setFixedSize(geo.size());
        w.setGeometry(geo);
        a.geometry = geo;
    }
    if (!a.valid || f.caption() != a.caption) {
        w.setWindowTitle(qs(f.caption()));
        a.caption = f.caption();
    }
    if (!a.valid || f.icon() != a.icon) {
        auto* icon = dynamic_cast<const QtPicture*>(f.icon().get());
        w.setWindowIcon(icon ? QIcon(QPixmap::fromImage(icon->image())) : QIcon());
        a.icon = f.icon();
    }
    a.valid = true;
}

void QtHost::showWindow(forms::Form& f, FormWindow& w) {
    // A fixed border keeps its size, but for the window manager's when the model maximises it.
    if (f.formBorderStyle() != 0 && f.windowState() == 2) {
        w.setMinimumSize(0, 0);
        w.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else if (f.formBorderStyle() != 0) {
        w.setFixedSize(clientRectPx(f).size());
    }
    switch (f.windowState()) {
        case 1:
            w.showMinimized();
            break;
        case 2: {
            // Nothing maximises a window where no window manager runs; it covers the screen
            // all the same, and a manager takes over from there.
            const forms::Rect b = maximisedBounds(f);
            w.setGeometry(b.left / tppX_, b.top / tppY_, b.width / tppX_, b.height / tppY_);
            w.showMaximized();
            break;
        }
        default:
            if (w.isMinimized() || w.isMaximized())
                w.showNormal();
            else
                w.show();
            break;
    }
    w.applied.state = f.windowState();
}

void QtHost::sync() {
    for (auto& o : trash_) delete o.data();
    trash_.clear();
    if (!changed_.empty()) {
        auto changed = std::exchange(changed_, {});
        for (forms::Form* f : changed)
            if (FormWindow* w = windowOf(*f)) apply(*f, *w);
    }
    if (!pendingShow_.empty()) showPending();
    if (!dirty_.empty()) {
        auto dirty = std::exchange(dirty_, {});
        for (forms::Form* f : dirty) {
            if (FormWindow* w = windowOf(*f)) {
                w->syncBrowsers();
                w->update();
            }
        }
    }
    if (!rt_) return;
    auto z = rt_->zOrderedForms();
    // The offscreen platform has no stacking and complains of every raise.
    if (z != lastZ_ && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        for (forms::Form* f : z)
            if (FormWindow* w = windowOf(*f); w && w->isVisible()) w->raise();
        // An open message box waits for the learner: no window may cover it.
        for (QWidget* t : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(t) && t->isVisible()) t->raise();
        lastZ_ = z;
    }
    forms::Form* active = rt_->activeForm();
    if (active != lastActive_) {
        lastActive_ = active;
        if (FormWindow* w = active ? windowOf(*active) : nullptr; w && w->isVisible()) {
            w->activateWindow();
            w->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    // Handlers change pointers while the mouse rests.
    if (hover_ && hover_->isVisible()) updateCursor(*hover_, lastPointer_);
}

forms::Rect QtHost::maximisedBounds(const forms::Form& form) {
    QScreen* screen = nullptr;
    if (FormWindow* w = windowOf(form); w && w->windowHandle()) screen = w->screen();
    if (!screen) {
        QRect r = clientRectPx(form);
        screen = QGuiApplication::screenAt(r.center());
    }
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return forms::Host::maximisedBounds(form);
    QRect r = screen->availableGeometry();
    return {r.x() * tppX_, r.y() * tppY_, r.width() * tppX_, r.height() * tppY_};
}

void QtHost::windowGeometryChanged(FormWindow& w) {
    forms::Form& f = w.form();
    if (!rt_ || f.windowState() != 2 || !w.isVisible() || !w.isMaximized()) return;
    // The form's rectangle whose client area is exactly the real window's.
    QRect geo = w.geometry();
    forms::Point off = f.clientOffset();
    int border = f.formBorderStyle() ? off.x : 0;
    forms::Rect r{geo.x() * tppX_ - off.x, geo.y() * tppY_ - off.y, geo.width() * tppX_ + off.x + border,
                  geo.height() * tppY_ + off.y + border};
    w.applied.geometry = geo;
    rt_->hostGeometry(f, r);
}

// ---- the pointer ----

void QtHost::pointerMoved(FormWindow& window, forms::Point screen) {
    hover_ = &window;
    lastPointer_ = screen;
    updateCursor(window, screen);
}

void QtHost::updateCursor(FormWindow& w, forms::Point screen) {
    if (!rt_) return;
    auto [shape, icon] = rt_->pointerAt(screen);
    if (shape == forms::pointer::Default) {
        // Text boxes show the I-beam unless told otherwise.
        forms::HitResult h = rt_->hitTest(screen);
        if (h.control && h.control->kind() == forms::Kind::TextBox) shape = forms::pointer::IBeam;
    }
    if (shape == w.applied.cursorShape && icon == w.applied.cursorIcon) return;
    w.setCursor(cursorFor(shape, icon));
    w.applied.cursorShape = shape;
    w.applied.cursorIcon = icon;
}

// ---- message boxes and popups ----

void QtHost::retire(QObject* o) { trash_.emplace_back(o); }

void QtHost::beginMessageBox(const forms::MessageBoxRequest& request) {
    auto pending = std::make_shared<Pending>();
    messages_.push_back(pending);

    auto* box = new QMessageBox;
    box->setWindowTitle(qs(request.title));
    box->setTextFormat(Qt::PlainText);
    QString text = qs(request.prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    box->setText(text);
    switch (request.flags & 0x70) {
        case forms::mb::Critical:
            box->setIcon(QMessageBox::Critical);
            break;
        case forms::mb::Question:
            box->setIcon(QMessageBox::Question);
            break;
        case forms::mb::Exclamation:
            box->setIcon(QMessageBox::Warning);
            break;
        case forms::mb::Information:
            box->setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct Button {
        const char* text;
        int result;
        QMessageBox::ButtonRole role;
    };
    std::vector<Button> buttons;
    int escape = forms::mb::ResultOk;
    switch (request.flags & 7) {
        case forms::mb::OkCancel:
            buttons = {{"确定", forms::mb::ResultOk, QMessageBox::AcceptRole},
                       {"取消", forms::mb::ResultCancel, QMessageBox::RejectRole}};
            escape = forms::mb::ResultCancel;
            break;
        case 2:  // abort, retry, ignore
            buttons = {{"终止", 3, QMessageBox::RejectRole},
                       {"重试", 4, QMessageBox::AcceptRole},
                       {"忽略", 5, QMessageBox::AcceptRole}};
            escape = 3;
            break;
        case 3:  // yes, no, cancel
            buttons = {{"是", forms::mb::ResultYes, QMessageBox::YesRole},
                       {"否", forms::mb::ResultNo, QMessageBox::NoRole},
                       {"取消", forms::mb::ResultCancel, QMessageBox::RejectRole}};
            escape = forms::mb::ResultCancel;
            break;
        case forms::mb::YesNo:
            buttons = {{"是", forms::mb::ResultYes, QMessageBox::YesRole},
                       {"否", forms::mb::ResultNo, QMessageBox::NoRole}};
            escape = forms::mb::ResultNo;
            break;
        case 5:  // retry, cancel
            buttons = {{"重试", 4, QMessageBox::AcceptRole},
                       {"取消", forms::mb::ResultCancel, QMessageBox::RejectRole}};
            escape = forms::mb::ResultCancel;
            break;
        default:
            buttons = {{"确定", forms::mb::ResultOk, QMessageBox::AcceptRole}};
            break;
    }
    std::map<QAbstractButton*, int> answers;
    QAbstractButton* escapeButton = nullptr;
    std::vector<QPushButton*> made;
    for (const auto& b : buttons) {
        QPushButton* pb = box->addButton(QString::fromUtf8(b.text), b.role);
        answers[pb] = b.result;
        made.push_back(pb);
        if (b.result == escape) escapeButton = pb;
    }
    box->setEscapeButton(escapeButton);
    auto defaultIndex = static_cast<std::size_t>((request.flags >> 8) & 3);
    box->setDefaultButton(made[defaultIndex < made.size() ? defaultIndex : 0]);
    for (forms::Form* f : rt_ ? rt_->zOrderedForms() : std::vector<forms::Form*>{})
        if (f->topmost()) box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, &context_, [this, pending, box, answers, escape](int) {
        auto it = answers.find(box->clickedButton());
        pending->result = it == answers.end() ? escape : it->second;
        wake_ = true;
        retire(box);
    });
    box->open();
}

std::optional<int> QtHost::messageBoxResult() {
    if (messages_.empty() || !messages_.back()->result) return std::nullopt;
    int r = *messages_.back()->result;
    messages_.pop_back();
    return r;
}

void QtHost::beginPopup(const forms::PopupRequest& request) {
    auto pending = std::make_shared<Pending>();
    popups_.push_back(pending);
    auto* menu = new QMenu;
    auto* filter = new LeftReleaseOnly(menu);
    menu->installEventFilter(filter);
    addItems(menu, request.items, filter);
    QObject::connect(menu, &QMenu::triggered, &context_, [this, pending](QAction* a) {
        if (!pending->result) pending->result = a->data().toInt();
        wake_ = true;
    });
    // The menu hides before it reports the chosen item; decide on dismissal afterwards.
    QObject::connect(menu, &QMenu::aboutToHide, &context_, [this, pending, menu] {
        QTimer::singleShot(0, &context_, [this, pending, menu] {
            if (!pending->result) pending->result = -1;
            wake_ = true;
            retire(menu);
        });
    });
    QPoint at = toPixels(request.screen);
    if (request.rightAligned) at.rx() -= menu->sizeHint().width();
    menu->popup(at);
}

bool QtHost::hostWindowAt(forms::Point screen) {
    QPoint p = toPixels(screen);
    // Open menus (submenus are windows of their own) and message boxes are all the host's.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || !(qobject_cast<QMenu*>(w) || qobject_cast<QMessageBox*>(w))) continue;
        if (w->frameGeometry().contains(p)) return true;
    }
    return false;
}

std::optional<int> QtHost::popupResult() {
    if (popups_.empty() || !popups_.back()->result) return std::nullopt;
    int r = *popups_.back()->result;
    popups_.pop_back();
    return r;
}

}  // namespace qthost
