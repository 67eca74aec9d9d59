#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "tests/qt/qt_fixture.h"

using namespace qttest;

namespace {

QMessageBox* openBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

QStringList buttonTexts(QMessageBox* box) {
    QStringList out;
    for (QAbstractButton* b : box->buttons()) out << b->text();
    out.sort();
    return out;
}

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

// A popup of "打开" and "更多", the latter a submenu holding "关于".
std::vector<forms::PopupItem> openOrMore(int openId, int aboutId) {
    std::vector<forms::PopupItem> items(2);
    items[0].caption = "打开";
    items[0].id = openId;
    items[1].caption = "更多";
    items[1].children.resize(1);
    items[1].children[0].caption = "关于";
    items[1].children[0].id = aboutId;
    return items;
}

}  // namespace

TEST_F(QtHostTest, MessageBoxesAnswerWithoutBlocking) {
    struct Case {
        int flags;
        QStringList buttons;
        QString defaultButton;
        QMessageBox::Icon icon;
        QString press;  // empty: Esc
        int result;
    } cases[] = {
        {forms::mb::YesNo | forms::mb::Question | forms::mb::DefaultButton2,
         {"否", "是"},
         "否",
         QMessageBox::Question,
         "是",
         6},
        {forms::mb::YesNo | forms::mb::Exclamation, {"否", "是"}, "是", QMessageBox::Warning, "", 7},
        {forms::mb::OkCancel | forms::mb::Critical, {"取消", "确定"}, "确定", QMessageBox::Critical, "", 2},
        {forms::mb::OkOnly | forms::mb::Information, {"确定"}, "确定", QMessageBox::Information, "", 1},
    };
    for (const auto& c : cases) {
        host.beginMessageBox({"第一行\r\n第二行", "提示", c.flags});
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr) << c.flags;
        EXPECT_EQ(box->text(), QStringLiteral("第一行\n第二行"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
        EXPECT_EQ(box->icon(), c.icon) << c.flags;
        EXPECT_EQ(buttonTexts(box), c.buttons) << c.flags;
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), c.defaultButton) << c.flags;
        EXPECT_FALSE(host.messageBoxResult());
        host.waitForInput(0);
        EXPECT_FALSE(host.messageBoxResult());

        if (c.press.isEmpty()) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &esc);
        } else {
            ASSERT_NE(buttonNamed(box, c.press), nullptr);
            buttonNamed(box, c.press)->click();
        }
        host.waitForInput(0);
        EXPECT_EQ(host.messageBoxResult(), c.result) << c.flags;
        EXPECT_FALSE(host.messageBoxResult()) << "an answer is given once";
        host.waitForInput(0);
        EXPECT_EQ(openBox(), nullptr);
    }
}

TEST_F(QtHostTest, RuntimeMessageBoxKeepsTimersRunning) {
    forms::Timer timer(&form, "Timer1");
    int ticks = 0;
    QString clicked;
    timer.Tick = [&] {
        // Answer from inside the model's own loop, after a few ticks behind the open box.
        if (++ticks == 3)
            if (QMessageBox* box = openBox()) buttonNamed(box, QStringLiteral("取消"))->click();
    };
    timer.setInterval(20);
    timer.setEnabled(true);
    form.show();
    EXPECT_EQ(rt.msgBox("继续吗？", forms::mb::OkCancel), forms::mb::ResultCancel);
    EXPECT_GE(ticks, 3);
}

TEST_F(QtHostTest, PopupMenusReportTheChosenItemOrDismissal) {
    std::vector<forms::PopupItem> items(4);
    items[0].caption = "打开(&O)";
    items[0].id = 0;
    items[1].caption = "-";
    items[2].caption = "更多";
    items[2].children.resize(1);
    items[2].children[0].caption = "关于";
    items[2].children[0].id = 1;
    items[3].caption = "退出";
    items[3].enabled = false;
    items[3].checked = true;
    items[3].id = 2;

    host.beginPopup({items, {150 * kTpp, 100 * kTpp}});
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), QPoint(150, 100));
    auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("打开(&O)"));
    EXPECT_TRUE(actions[1]->isSeparator());
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_FALSE(actions[3]->isEnabled());
    EXPECT_TRUE(actions[3]->isChecked());
    EXPECT_FALSE(host.popupResult());

    // As on a real click: the menu hides first, then the item triggers.
    QAction* about = actions[2]->menu()->actions().at(0);
    menu->hide();
    about->trigger();
    host.waitForInput(0);
    EXPECT_EQ(host.popupResult(), 1);
    EXPECT_FALSE(host.popupResult());

    host.beginPopup({items, {0, 0}});
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->hide();
    host.waitForInput(0);
    EXPECT_EQ(host.popupResult(), -1);
}

TEST_F(QtHostTest, PopupItemsAreChosenByTheLeftButtonOnly) {
    const std::vector<forms::PopupItem> items = openOrMore(7, 8);

    struct Case {
        bool submenu;
        int id;
    } cases[] = {{false, 7}, {true, 8}};
    for (const auto& c : cases) {
        host.beginPopup({items, {50 * kTpp, 40 * kTpp}});
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        if (c.submenu) {
            // A left press on the entry opens its submenu.
            QAction* more = menu->actions().at(1);
            QPoint entry = menu->actionGeometry(more).center();
            send(menu, QEvent::MouseMove, entry, Qt::NoButton, Qt::NoButton);
            send(menu, QEvent::MouseButtonPress, entry, Qt::LeftButton, Qt::LeftButton);
            menu = more->menu();
            ASSERT_TRUE(menu->isVisible());
        }
        QAction* item = menu->actions().at(0);
        QPoint at = menu->actionGeometry(item).center();
        send(menu, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
            send(menu, QEvent::MouseButtonPress, at, b, b);
            send(menu, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
            host.waitForInput(0);
            EXPECT_FALSE(host.popupResult()) << c.id << " button " << b;
            EXPECT_TRUE(menu->isVisible()) << c.id;
        }
        send(menu, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(menu, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        host.waitForInput(0);
        host.waitForInput(0);
        EXPECT_EQ(host.popupResult(), c.id);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

TEST_F(QtHostTest, HostWindowsCoverThePointsUnderThem) {
    const std::vector<forms::PopupItem> items = openOrMore(0, 1);
    auto twips = [](QPoint p) { return forms::Point{p.x() * kTpp, p.y() * kTpp}; };

    EXPECT_FALSE(host.hostWindowAt({60 * kTpp, 50 * kTpp}));
    host.beginPopup({items, {50 * kTpp, 40 * kTpp}});
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QMenu* sub = menu->actions().at(1)->menu();
    sub->popup(menu->geometry().topRight() + QPoint(40, 0));
    EXPECT_TRUE(host.hostWindowAt(twips(menu->geometry().topLeft())));
    EXPECT_TRUE(host.hostWindowAt(twips(menu->geometry().center())));
    EXPECT_TRUE(host.hostWindowAt(twips(sub->geometry().center())));
    EXPECT_FALSE(host.hostWindowAt(twips(menu->geometry().topLeft() - QPoint(1, 1))));
    EXPECT_FALSE(host.hostWindowAt(twips(menu->geometry().topRight() + QPoint(20, 0))));
    QPoint menuCentre = menu->geometry().center();
    sub->hide();
    menu->hide();
    host.waitForInput(0);
    EXPECT_EQ(host.popupResult(), -1);
    EXPECT_FALSE(host.hostWindowAt(twips(menuCentre)));

    host.beginMessageBox({"提示", "", forms::mb::OkOnly});
    QMessageBox* box = openBox();
    ASSERT_NE(box, nullptr);
    QRect r = box->frameGeometry();
    EXPECT_TRUE(host.hostWindowAt(twips(r.center())));
    EXPECT_FALSE(host.hostWindowAt(twips(r.bottomRight() + QPoint(1, 1))));
    box->buttons().at(0)->click();
    host.waitForInput(0);
    EXPECT_EQ(host.messageBoxResult(), forms::mb::ResultOk);
    EXPECT_FALSE(host.hostWindowAt(twips(r.center())));
}
