// Benchmark support: waiting until a window has painted all it will, and a Page Down key, the same
// for our controls and for the Qt peers.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <string>

// Counts the paints of one window's widgets (install it on the application), and whether one widget
// of it, when named, has painted.
struct PaintWatch : QObject {
    QWidget* Window = nullptr;
    QWidget* Watched = nullptr;
    int Paints = 0;
    bool WatchedPainted = false;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (w->window() == Window) {
                ++Paints;
                WatchedPainted = WatchedPainted || w == Watched;
            }
        }
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

// The process's peak resident memory, in kB.
inline long PeakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

inline void PressPageDown(QWidget* w) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}
