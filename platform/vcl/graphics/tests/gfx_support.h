// Helpers for the painting tests of the GUI core: one application object, pixel inspection.
#pragma once

#include <QApplication>
#include <QImage>

#include <functional>
#include <string>

#include "cp1251.h"
#include "graphics.h"
#include "graphics_qt.h"

// Creates the one QApplication the tests need (fonts, widgets) on first use.
inline void EnsureApp() {
    static int argc = 1;
    static char name[] = "vcl_gfx_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

inline TColor PixelAt(const QImage& img, int x, int y) {
    QRgb c = img.pixel(x, y);
    return TColor(RGB(qRed(c), qGreen(c), qBlue(c)));
}

// A white bitmap of the given size, ready to draw on.
inline void WhiteBitmap(TBitmap& b, int w, int h) {
    EnsureApp();
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
}

// The bounding box of the pixels that differ from `background`; empty when none do.
inline TRect InkBox(const QImage& img, TColor background) {
    TRect r(img.width(), img.height(), 0, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (PixelAt(img, x, y) != background) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect() : r;
}

inline int CountColor(const QImage& img, TColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += PixelAt(img, x, y) == c;
    return n;
}

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>

// A key press and release sent to a widget, as the keyboard would.
inline void TypeKey(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &up);
}

// Types CP1251 text into a widget, one key per character.
inline void TypeText(QWidget* w, const std::string& cp1251) {
    std::u16string u = Cp1251ToUtf16(cp1251);
    for (char16_t c : u) {
        QChar ch(c);
        int key = ch.toUpper().unicode() < 128 ? int(ch.toUpper().unicode()) : int(Qt::Key_unknown);
        TypeKey(w, key, QString(ch));
    }
}

inline bool WaitUntil(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
