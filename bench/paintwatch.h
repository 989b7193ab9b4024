// Benchmark support: waiting until a window has painted all it will, and a Page Down key, the same
// for our controls and for the Qt peers.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Counts the paints of one window's widgets (install it on the application).
struct PaintWatch : QObject {
    QWidget* Window = nullptr;
    int Paints = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->window() == Window)
            ++Paints;
        return false;
    }
};
inline PaintWatch gWatch;

// Runs the events until a pass paints nothing more in the window.
inline void Settle(QWidget* window) {
    gWatch.Window = window;
    do {
        gWatch.Paints = 0;
        QApplication::processEvents();
    } while (gWatch.Paints);
}

inline void PressPageDown(QWidget* w) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}
