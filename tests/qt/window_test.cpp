#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <memory>
#include <vector>

#include "tests/qt/qt_fixture.h"

using namespace qttest;

namespace {

struct HideCounter : QObject {
    int hides = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) ++hides;
        return false;
    }
};

}  // namespace

TEST_F(QtHostTest, TopmostChangesWithoutHidingTheWindow) {
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isVisible());
    HideCounter counter;
    w->installEventFilter(&counter);

    for (bool on : {true, false, true}) {
        form.setTopmost(on);
        host.sync();
        EXPECT_TRUE(w->isVisible()) << on;
        EXPECT_EQ(bool(w->windowFlags() & Qt::WindowStaysOnTopHint), on);
        ASSERT_NE(w->windowHandle(), nullptr);
        EXPECT_EQ(bool(w->windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
    }
    EXPECT_EQ(counter.hides, 0);
    w->removeEventFilter(&counter);
}

TEST_F(QtHostTest, ModalFormsAreModalAboveTheFormActiveWhenShown) {
    form.show();
    host.sync();
    QWidget* owner = host.windowOf(form);
    ASSERT_NE(owner, nullptr);

    TestForm dialog(rt);
    forms::Timer timer(&dialog, "Timer1");
    bool seen = false;
    timer.Tick = [&] {
        timer.setEnabled(false);
        QWidget* w = host.windowOf(dialog);
        ASSERT_NE(w, nullptr);
        seen = true;
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        ASSERT_NE(w->windowHandle(), nullptr);
        EXPECT_EQ(w->windowHandle()->transientParent(), owner->windowHandle());
        dialog.hide();
    };
    timer.setInterval(10);
    timer.setEnabled(true);
    dialog.show();  // a handler may show the form before it shows it modally
    dialog.show(true);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Shown again without a modal loop, it is an ordinary window.
    dialog.show();
    host.sync();
    QWidget* w = host.windowOf(dialog);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::NonModal);
    EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_EQ(w->windowHandle()->transientParent(), nullptr);
}

// A fixed single border is a dialog's, shown modal or not: a title and a close button, nothing
// to minimise or maximise, and a size that only the model changes.
TEST_F(QtHostTest, AFixedSingleBorderIsAFixedDialog) {
    form.show();
    host.sync();
    TestForm dialog(rt);
    dialog.setFormBorderStyle(1);
    dialog.setCaption("提示");
    const auto expectFixedDialog = [&](const char* when) {
        SCOPED_TRACE(when);
        QWidget* w = host.windowOf(dialog);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible());
        const Qt::WindowFlags flags = w->windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        for (Qt::WindowType hint : {Qt::WindowTitleHint, Qt::WindowCloseButtonHint, Qt::CustomizeWindowHint})
            EXPECT_TRUE(flags & hint) << hint;
        for (Qt::WindowType hint : {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint, Qt::FramelessWindowHint})
            EXPECT_FALSE(flags & hint) << hint;
        ASSERT_NE(w->windowHandle(), nullptr);
        EXPECT_EQ(w->windowHandle()->flags(), flags);
        EXPECT_EQ(w->minimumSize(), host.clientRectPx(dialog).size());
        EXPECT_EQ(w->maximumSize(), host.clientRectPx(dialog).size());
        EXPECT_EQ(w->size(), host.clientRectPx(dialog).size());
    };

    dialog.show();
    host.sync();
    expectFixedDialog("shown");
    dialog.move(dialog.left(), dialog.top(), 260 * kTpp, 190 * kTpp);
    host.sync();
    expectFixedDialog("resized by the model");
    dialog.hide();

    forms::Timer timer(&dialog, "Timer1");
    bool seen = false;
    timer.Tick = [&] {
        timer.setEnabled(false);
        expectFixedDialog("shown modal");
        seen = true;
        dialog.hide();
    };
    timer.setInterval(10);
    timer.setEnabled(true);
    dialog.show(true);
    EXPECT_TRUE(seen);
}

TEST_F(QtHostTest, AMaximisedWindowIsMirroredInTheModel) {
    form.setFormBorderStyle(1);
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    QRect avail = w->screen()->availableGeometry();
    forms::Rect bounds = host.maximisedBounds(form);
    EXPECT_EQ(bounds.left, avail.x() * kTpp);
    EXPECT_EQ(bounds.width, avail.width() * kTpp);
    EXPECT_EQ(bounds.height, avail.height() * kTpp);

    form.setWindowState(2);
    host.sync();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->isMaximized());
    // The platform's frame is not the one the model assumes; the model follows the real window
    // so that its client area, and so its hit testing, is exactly the window's.
    QRect real = w->geometry();
    EXPECT_EQ(host.clientRectPx(form), real);
    EXPECT_EQ(form.clientSize().width, real.width() * kTpp);
    EXPECT_EQ(form.clientSize().height, real.height() * kTpp);
    forms::HitResult corner = rt.hitTest({real.right() * kTpp, real.bottom() * kTpp});
    EXPECT_EQ(corner.form, &form);

    // Other changes to the form leave the window manager's geometry alone.
    form.setCaption("最大化");
    form.move(0, 0, 200 * kTpp, 150 * kTpp);
    host.sync();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(w->geometry(), real);
    EXPECT_EQ(host.clientRectPx(form), real);

    // Restored, it goes back to where the model last placed it.
    form.setWindowState(0);
    host.sync();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->isMaximized());
    EXPECT_EQ(form.width(), 200 * kTpp);
    EXPECT_EQ(w->geometry(), host.clientRectPx(form));
}

namespace {

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

// A pointer tick moves a dozen lines and a shape; each move invalidates the form, and the
// window must still be painted once per tick, not once per move.
TEST_F(QtHostTest, ATickThatMovesManyControlsRepaintsOnce) {
    std::vector<std::unique_ptr<forms::Line>> lines;
    for (int i = 0; i < 14; ++i) lines.push_back(std::make_unique<forms::Line>(&form, "Line1", i));
    forms::Shape marker(&form, "Shape1");
    forms::Timer timer(&form, "Timer1");
    timer.setInterval(30);
    PaintCounter counter;
    std::vector<int> paintsAtTick;
    int step = 0;
    timer.Tick = [&] {
        paintsAtTick.push_back(counter.paints);
        ++step;
        for (int i = 0; i < 14; ++i)
            lines[static_cast<std::size_t>(i)]->setPoints(step * kTpp, i * kTpp, step * kTpp + 90, i * kTpp + 90);
        marker.moveTo(step * kTpp, 60 * kTpp);
        if (step == 5) timer.setEnabled(false);
    };
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    w->installEventFilter(&counter);
    timer.setEnabled(true);
    for (int i = 0; i < 100 && step < 5; ++i) rt.pump(50);
    for (int i = 0; i < 3; ++i) rt.pump(20);
    ASSERT_EQ(paintsAtTick.size(), 5u);
    // Before the first tick the window may still be painting its show.
    for (std::size_t t = 1; t < paintsAtTick.size(); ++t) EXPECT_EQ(paintsAtTick[t] - paintsAtTick[t - 1], 1) << t;
    EXPECT_EQ(counter.paints - paintsAtTick.back(), 1);
    w->removeEventFilter(&counter);
}
