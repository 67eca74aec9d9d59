// A Qt host with its runtime and one plain form, and helpers to make picture files.
#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "forms/runtime.h"
#include "host/qt/qt_host.h"
#include "platform/files.h"

namespace qttest {

inline constexpr int kTpp = 15;

class TestForm : public forms::Form {
public:
    explicit TestForm(forms::Runtime& rt) : Form(rt, "frmTest") { move(100 * kTpp, 80 * kTpp, 200 * kTpp, 150 * kTpp); }
    std::vector<int> keyDowns, keyPresses, keyUps;
    int unloads = 0;
    void Form_KeyDown(int& keyCode, int) override { keyDowns.push_back(keyCode); }
    void Form_KeyPress(int& keyAscii) override { keyPresses.push_back(keyAscii); }
    void Form_KeyUp(int& keyCode, int) override { keyUps.push_back(keyCode); }
    void Form_Unload(int&) override { ++unloads; }
};

struct QtHostTest : ::testing::Test {
    qthost::QtHost host;
    forms::Runtime rt{host};
    TestForm form{rt};
};

// The host reads help pages and what they name from the program folder only: this one, for
// the life of the object.
struct ScopedProgramFolder {
    explicit ScopedProgramFolder(const std::string& folder) { platform::setProgramFolderForTesting(folder); }
    ~ScopedProgramFolder() { platform::setProgramFolderForTesting(""); }
    ScopedProgramFolder(const ScopedProgramFolder&) = delete;
    ScopedProgramFolder& operator=(const ScopedProgramFolder&) = delete;
};

inline std::string encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes.toStdString();
}

inline forms::Rect px(int left, int top, int width, int height) {
    return {left * kTpp, top * kTpp, width * kTpp, height * kTpp};
}

inline void place(forms::Control& c, forms::Rect r) { c.move(r.left, r.top, r.width, r.height); }

// A mouse event at a point of the widget, delivered to it directly.
inline void send(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held,
                 Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace qttest
