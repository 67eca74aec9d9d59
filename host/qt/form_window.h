// One real top-level window per shown form. It paints the model and only translates input:
// events are posted to the runtime, never handled here.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

#include "forms/form.h"
#include "forms/runtime.h"
#include "host/qt/html_view.h"

class QHelpEvent;

namespace qthost {

class QtHost;

class FormWindow : public QWidget {
public:
    FormWindow(QtHost& host, forms::Form& form);

    forms::Form& form() const { return form_; }
    // Places, shows and loads a text browser for every web-browser control of the form.
    void syncBrowsers();
    HtmlView* browserFor(const forms::WebBrowser& control) const;

    // What was last applied from the model, so a property is only pushed when it changed.
    struct Applied {
        bool valid = false;
        Qt::WindowFlags flags;
        QRect geometry;
        std::string caption;
        forms::PicturePtr icon;
        int state = -1;
        int cursorShape = -1;
        forms::PicturePtr cursorIcon;
    } applied;
    // Shown modally over another form: a dialog of that form's window.
    bool ownedDialog = false;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void forwardMouse(QMouseEvent* e, forms::MouseInput::Type type);
    void showToolTip(QHelpEvent* e);
    template <class F>
    void guarded(F&& f);

    QtHost& host_;
    forms::Form& form_;
    // Keyed by the control; entries whose control is gone are found by walking the live
    // controls and are never dereferenced.
    std::map<const forms::WebBrowser*, QPointer<HtmlView>> browsers_;
};

}  // namespace qthost
