#include "host/qt/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <cmath>
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

std::string fontKey(const forms::Font& f) {
    return f.name + '\x1f' + std::to_string(f.size) + (f.bold ? "b" : "") + (f.italic ? "i" : "") +
           (f.underline ? "u" : "");
}

void addItems(QMenu* menu, const std::vector<forms::PopupItem>& items) {
    for (const auto& it : items) {
        if (it.caption == "-") {
            menu->addSeparator();
            continue;
        }
        if (!it.children.empty()) {
            QMenu* sub = menu->addMenu(qs(it.caption));
            sub->setEnabled(it.enabled);
            addItems(sub, it.children);
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
    clock_.start();
    waitTimer_.setSingleShot(true);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&waitTimer_, &QTimer::timeout, &context_, [this] { timedOut_ = true; });
    quitWatcher_ = std::make_unique<QuitWatcher>([this] {
        quitting_ = true;
        wake_ = true;
    });
    QCoreApplication::instance()->installEventFilter(quitWatcher_.get());
    // Windows come and go as the model says; hiding the last one ends nothing.
    QApplication::setQuitOnLastWindowClosed(false);
}

QtHost::~QtHost() {
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
    std::string key = fontKey(font);
    auto it = metrics_.find(key);
    if (it == metrics_.end()) it = metrics_.emplace(key, QFontMetrics(qtFont(font))).first;
    const QFontMetrics& fm = it->second;
    return {fm.horizontalAdvance(qs(text)) * tppX_, fm.height() * tppY_};
}

forms::PicturePtr QtHost::loadPicture(const std::string& path) {
    auto bytes = platform::readBytes(path);
    if (!bytes) platform::raise(53);
    return decodePicture(*bytes, path, tppX_, tppY_);
}

forms::Point QtHost::cursorPos() { return toTwips(QPointF(QCursor::pos())); }

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
    sync();
    if (quitting_) return false;
    wake_ = false;
    if (maxMs == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
        // Qt's timed processEvents does not block; a timer wakes the blocking one instead.
        timedOut_ = false;
        if (maxMs > 0) waitTimer_.start(maxMs);
        while (!wake_ && !timedOut_ && !quitting_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        waitTimer_.stop();
    }
    rethrowRecorded();
    return !quitting_;
}

// ---- windows ----

FormWindow* QtHost::windowOf(const forms::Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

void QtHost::formShown(forms::Form& form) {
    FormWindow* w = windowOf(form);
    if (!w) {
        w = new FormWindow(*this, form);
        windows_[&form] = w;
    }
    apply(form, *w);
    showWindow(form, *w);
    w->syncBrowsers();
    w->update();
    changed_.erase(&form);
    lastZ_.clear();
}

void QtHost::formHidden(forms::Form& form) {
    if (FormWindow* w = windowOf(form)) w->hide();
    if (lastActive_ == &form) lastActive_ = nullptr;
}

void QtHost::formChanged(forms::Form& form) { changed_.insert(&form); }

void QtHost::invalidate(forms::Form& form) { dirty_.insert(&form); }

void QtHost::formDestroyed(forms::Form& form) {
    changed_.erase(&form);
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
    Qt::WindowFlags flags = f.showInTaskbar() ? Qt::Window : Qt::Tool;
    if (f.formBorderStyle() == 0)
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
    if (f.topmost()) flags |= Qt::WindowStaysOnTopHint;
    if (!a.valid || flags != a.flags) {
        bool wasVisible = w.isVisible();
        w.setWindowFlags(flags);  // hides the window
        a.flags = flags;
        a.geometry = {};
        if (wasVisible) showWindow(f, w);
    }
    // Only what the model changed is pushed: a window the user moved by its title bar stays.
    QRect geo = clientRectPx(f);
    if (geo != a.geometry) {
        w.setGeometry(geo);
        a.geometry = geo;
    }
    if (!a.valid || f.caption() != a.caption) {
        w.setWindowTitle(qs(f.caption()));
        a.caption = f.caption();
    }
    if (!a.valid || f.icon() != a.icon) {
        auto* icon = dynamic_cast<const QtPicture*>(f.icon().get());
        w.setWindowIcon(icon ? QIcon(QPixmap::fromImage(icon->image)) : QIcon());
        a.icon = f.icon();
    }
    a.valid = true;
    if (w.isVisible() && f.windowState() != a.state) showWindow(f, w);
}

void QtHost::showWindow(forms::Form& f, FormWindow& w) {
    switch (f.windowState()) {
        case 1:
            w.showMinimized();
            break;
        case 2:
            w.showMaximized();
            break;
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
    addItems(menu, request.items);
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
    menu->popup(toPixels(request.screen));
}

std::optional<int> QtHost::popupResult() {
    if (popups_.empty() || !popups_.back()->result) return std::nullopt;
    int r = *popups_.back()->result;
    popups_.pop_back();
    return r;
}

}  // namespace qthost
