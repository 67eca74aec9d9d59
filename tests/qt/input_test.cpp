#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QToolTip>

#include "host/qt/keys.h"
#include "tests/qt/qt_fixture.h"

using namespace qttest;

namespace {

struct MouseLog {
    struct Call {
        int button, shift, x, y;
    };
    std::vector<Call> downs, ups;
    int clicks = 0, doubles = 0;
    void bind(forms::Control& c) {
        c.MouseDown = [this](int b, int s, int x, int y) { downs.push_back({b, s, x, y}); };
        c.MouseUp = [this](int b, int s, int x, int y) { ups.push_back({b, s, x, y}); };
        c.Click = [this] { ++clicks; };
        c.DblClick = [this] { ++doubles; };
    }
};

}  // namespace

TEST_F(QtHostTest, MousePressesReachTheModelAsItsEvents) {
    forms::Label label(&form, "Label1");
    place(label, px(30, 20, 60, 20));
    MouseLog log;
    log.bind(label);
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), QRect(100, 80, 200, 150));
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);

    send(w, QEvent::MouseButtonPress, {35, 27}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(w, QEvent::MouseButtonRelease, {35, 27}, Qt::LeftButton, Qt::NoButton);
    // Nothing of the model runs inside Qt's handlers.
    EXPECT_TRUE(log.downs.empty());
    EXPECT_TRUE(rt.hasPendingInput());
    rt.doEvents();
    ASSERT_EQ(log.downs.size(), 1u);
    EXPECT_EQ(log.downs[0].button, forms::buttons::Left);
    EXPECT_EQ(log.downs[0].shift, forms::shiftmask::Shift);
    EXPECT_EQ(log.downs[0].x, 5 * kTpp);
    EXPECT_EQ(log.downs[0].y, 7 * kTpp);
    EXPECT_EQ(log.clicks, 1);

    // Qt reports the second press of a double click as its own event; the model decides.
    send(w, QEvent::MouseButtonDblClick, {35, 27}, Qt::LeftButton, Qt::LeftButton);
    send(w, QEvent::MouseButtonRelease, {35, 27}, Qt::LeftButton, Qt::NoButton);
    rt.doEvents();
    EXPECT_EQ(log.doubles, 1);
    EXPECT_EQ(log.downs.size(), 1u);

    // A right press while the left is held reaches the model as a press of both.
    send(w, QEvent::MouseButtonPress, {40, 25}, Qt::LeftButton, Qt::LeftButton);
    send(w, QEvent::MouseButtonPress, {40, 25}, Qt::RightButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    // Released outside the label: capture keeps it the label's, and there is no click.
    send(w, QEvent::MouseButtonRelease, {150, 120}, Qt::RightButton, Qt::LeftButton);
    send(w, QEvent::MouseButtonRelease, {150, 120}, Qt::LeftButton, Qt::NoButton);
    rt.doEvents();
    ASSERT_EQ(log.downs.size(), 3u);
    EXPECT_EQ(log.downs[2].button, forms::buttons::Right | forms::buttons::Left);
    EXPECT_EQ(log.downs[2].shift, forms::shiftmask::Ctrl);
    ASSERT_GE(log.ups.size(), 2u);
    EXPECT_EQ(log.ups.back().x, 120 * kTpp);
    EXPECT_EQ(log.clicks, 1);
}

TEST_F(QtHostTest, KeysTextAndCloseArePostedToTheModel) {
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);

    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent aUp(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString());
    QCoreApplication::sendEvent(w, &a);
    QCoreApplication::sendEvent(w, &aUp);
    QCoreApplication::sendEvent(w, &tab);
    QCoreApplication::sendEvent(w, &enter);
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("中"));
    QCoreApplication::sendEvent(w, &ime);
    rt.doEvents();
    EXPECT_EQ(form.keyDowns, (std::vector<int>{0x41, forms::vk::Tab, forms::vk::Return}));
    EXPECT_EQ(form.keyUps, (std::vector<int>{0x41}));
    ASSERT_EQ(form.keyPresses.size(), 4u);
    EXPECT_EQ(form.keyPresses[0], 'a');
    EXPECT_EQ(form.keyPresses[1], 9);
    EXPECT_EQ(form.keyPresses[2], 13);
    EXPECT_EQ(form.keyPresses[3], static_cast<std::int16_t>(0xD6D0));  // 中 in the ANSI code page

    // The window manager's close asks the model, which unloads; the window goes when it does.
    QCloseEvent close;
    QCoreApplication::sendEvent(w, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(w->isVisible());
    rt.doEvents();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(w->isVisible());
}

TEST(QtKeys, VirtualKeysAndTypedText) {
    struct Case {
        int qt;
        Qt::KeyboardModifiers mods;
        int vk;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0x41},           {Qt::Key_Z, Qt::ShiftModifier, 0x5A},
        {Qt::Key_0, Qt::NoModifier, 0x30},           {Qt::Key_Exclam, Qt::ShiftModifier, 0x31},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},       {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {Qt::Key_F1, Qt::NoModifier, 0x70},          {Qt::Key_F12, Qt::NoModifier, 0x7B},
        {Qt::Key_Left, Qt::NoModifier, 0x25},        {Qt::Key_Down, Qt::NoModifier, 0x28},
        {Qt::Key_Home, Qt::NoModifier, 0x24},        {Qt::Key_PageDown, Qt::NoModifier, 0x22},
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},      {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},     {Qt::Key_Escape, Qt::NoModifier, 27},
        {Qt::Key_Space, Qt::NoModifier, 32},         {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Control, Qt::ControlModifier, 17},  {Qt::Key_Alt, Qt::AltModifier, 18},
        {Qt::Key_Comma, Qt::NoModifier, 0xBC},       {Qt::Key_Question, Qt::ShiftModifier, 0xBF},
        {Qt::Key_BracketLeft, Qt::NoModifier, 0xDB}, {Qt::Key_Apostrophe, Qt::NoModifier, 0xDE},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(qthost::virtualKeyFor(c.qt, c.mods), c.vk) << std::hex << c.qt;

    EXPECT_EQ(qthost::shiftMaskOf(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(qthost::shiftMaskOf(Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(qthost::typedText(Qt::Key_Return, {}), "\r");
    EXPECT_EQ(qthost::typedText(Qt::Key_Backspace, {}), "\b");
    EXPECT_EQ(qthost::typedText(Qt::Key_Escape, {}), "\x1b");
    EXPECT_EQ(qthost::typedText(Qt::Key_Delete, QStringLiteral("\x7f")), "");
    EXPECT_EQ(qthost::typedText(Qt::Key_C, QStringLiteral("\x03")), "\x03");
    EXPECT_EQ(qthost::typedText(Qt::Key_Left, {}), "");
}

TEST_F(QtHostTest, TextBoxKeysCopyAndPasteThroughTheClipboard) {
    forms::TextBox box(&form, "Text1");
    place(box, px(10, 10, 150, 60));
    box.setMultiLine(true);
    form.show();
    box.setFocus();
    box.setText("ab\r\ncd");
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    auto press = [&](int key, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, key, mods, text);
        QKeyEvent up(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &down);
        QCoreApplication::sendEvent(w, &up);
        rt.doEvents();
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    press(Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    press(Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    // Other programs on the desktop break lines with LF.
    EXPECT_EQ(clipboard->text(), QStringLiteral("ab\ncd"));
    EXPECT_EQ(box.text(), "ab\r\ncd");

    clipboard->setText(QStringLiteral("中文\nx"));
    press(Qt::Key_Insert, Qt::ShiftModifier, {});
    EXPECT_EQ(box.text(), "中文\r\nx");
    press(Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
    EXPECT_EQ(box.text(), "ab\r\ncd");
}

TEST_F(QtHostTest, WaitingReturnsAtTheTimeOutOrWhenInputArrives) {
    form.show();
    QElapsedTimer t;
    t.start();
    // Never short by the host's own clock, which the model's timers are due by.
    std::int64_t before = host.nowMs();
    EXPECT_TRUE(host.waitForInput(60));
    EXPECT_GE(host.nowMs() - before, 60);
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(rt.hasPendingInput());

    QWidget* w = host.windowOf(form);
    auto move = [w] {
        QCoreApplication::postEvent(
            w, new QMouseEvent(QEvent::MouseMove, QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))), Qt::NoButton,
                               Qt::NoButton, Qt::NoModifier));
    };
    move();
    t.restart();
    EXPECT_TRUE(host.waitForInput(5000));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(rt.hasPendingInput());

    // A time-out that passes after input ended its wait does not end the next wait early.
    rt.doEvents();
    move();
    EXPECT_TRUE(host.waitForInput(20));
    QThread::msleep(40);
    rt.doEvents();
    before = host.nowMs();
    EXPECT_TRUE(host.waitForInput(60));
    EXPECT_GE(host.nowMs() - before, 60);
}

TEST_F(QtHostTest, TimersDriveTheLoopUntilTheProgramEnds) {
    forms::Timer timer(&form, "Timer1");
    int ticks = 0;
    timer.Tick = [&] {
        if (++ticks == 3) form.unload();
    };
    timer.setInterval(30);
    timer.setEnabled(true);
    std::int64_t t0 = host.nowMs();
    rt.run([&] { form.show(); });
    EXPECT_EQ(ticks, 3);
    EXPECT_GE(host.nowMs() - t0, 85);
    EXPECT_LT(host.nowMs() - t0, 2000);
}

TEST_F(QtHostTest, ToolTipsShowTheTextOfTheControlUnderThePointer) {
    forms::Label tipped(&form, "Label1");
    place(tipped, px(10, 10, 60, 20));
    tipped.setToolTipText("返回首页");
    forms::Label plain(&form, "Label2");
    place(plain, px(10, 40, 60, 20));
    forms::PictureBox box(&form, "Picture1");
    place(box, px(100, 10, 80, 80));
    box.setToolTipText("题库");
    forms::Label inner(&box, "Label3");
    place(inner, px(5, 5, 30, 20));
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);

    auto hover = [&](QPoint local) {
        QHelpEvent e(QEvent::ToolTip, local, w->mapToGlobal(local));
        QCoreApplication::sendEvent(w, &e);
        return e.isAccepted();
    };
    EXPECT_FALSE(hover({20, 45})) << "no text, no tip";
    EXPECT_FALSE(QToolTip::isVisible());
    struct Case {
        QPoint at;
        QString tip;
    } cases[] = {
        {{20, 15}, QStringLiteral("返回首页")},
        {{110, 20}, QStringLiteral("题库")},  // a label without a tip inside the picture box
        {{150, 70}, QStringLiteral("题库")},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(hover(c.at)) << c.at.x();
        EXPECT_TRUE(QToolTip::isVisible()) << c.at.x();
        EXPECT_EQ(QToolTip::text(), c.tip) << c.at.x();
    }
    QToolTip::hideText();
}
