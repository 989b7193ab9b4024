// The Qt objects behind the GUI core's public classes. The public headers name them only as
// incomplete types of our own, so they carry no Qt type; the platform's sources and tests include
// this header to use them as the Qt objects they are. GUI core internals.
#pragma once

#include <QAction>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

// A menu item's action, the menu of its children, a main menu's bar.
class TQtAction : public QAction {
public:
    using QAction::QAction;
};
class TQtMenu : public QMenu {
public:
    using QMenu::QMenu;
};
class TQtMenuBar : public QMenuBar {
public:
    using QMenuBar::QMenuBar;
};
// The application's style: the platform's own, with a main menu's bar getting its overflow button's
// icon only once the button paints (menus.cpp). Installed with the application.
void InstallApplicationStyle();
// Menus and menu bars paint owner-drawn items through their handlers with this style (menudraw.cpp).
void InstallMenuDrawStyle(QWidget* menu);
// The local loop of a modal form.
class TQtEventLoop : public QEventLoop {
public:
    using QEventLoop::QEventLoop;
};
// The clock of a TTimer.
class TQtTimer : public QTimer {
public:
    using QTimer::QTimer;
};
