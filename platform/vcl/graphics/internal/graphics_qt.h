// Where the painting side of the GUI core meets Qt: text and colour conversions. Internal to
// platform/vcl (its sources and tests); the public headers carry no Qt types.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QRegion>
#include <QString>

#include <memory>

#include "graphics.h"

// CP1251 text to Qt and back, where text meets Qt (every CP1251 byte is one UTF-16 unit).
QString ToQString(const std::string& s);
std::string FromQString(const QString& s);
// A colour (system colours resolved) as Qt paints it.
QColor ToQColor(TColor c);

// What Windows reports of a face: the TrueType, pitch and family bits of tmPitchAndFamily (the
// classic faces from a table, others from the installed font) and the character set.
void FaceTraits(const TFont& f, unsigned char& pitchAndFamily, unsigned char& charset);
// Makes the substitute faces that live outside the system's font folders known to Qt (once, with
// the application there); a face whose file is missing is left to Qt's own fallback.
void LoadSubstituteFaces();

// Qt text in a public signature: an incomplete type there, a QString here.
class TQtString : public QString {
public:
    using QString::QString;
    TQtString(const QString& s) : QString(s) {}
};

// Qt values in public signatures: incomplete types there, the Qt classes here.
class TQtFont : public QFont {
public:
    using QFont::QFont;
    TQtFont(const QFont& f) : QFont(f) {}
};

// A logical font as Qt draws it (face, height, style, pitch), made once and shared by every TFont
// that names it: forms make hundreds of fonts, nearly all alike. Entries live as long as the program.
class TResolvedFont {
public:
    explicit TResolvedFont(const QFont& f) : Font(f), FMetrics(f) {}
    const TQtFont Font;
    // QFontMetrics(Font).horizontalAdvance(s), remembered: forms measure the same captions again
    // and again while they are built and laid out, and Qt shapes the text anew each time.
    int Advance(const QString& s) const;

private:
    QFontMetrics FMetrics;
    mutable QHash<QString, int> FAdvances;
    mutable unsigned FGeneration = 0; // of the font database the widths were measured in
};

// The shared Qt font of a logical font (the substitute faces loaded first, when the application
// is there).
const TResolvedFont& ResolveFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch);

class TQtImage : public QImage {
public:
    using QImage::QImage;
    TQtImage() = default;
    TQtImage(const QImage& i) : QImage(i) {}
};
class TQtColor : public QColor {
public:
    using QColor::QColor;
    TQtColor() = default;
    TQtColor(const QColor& c) : QColor(c) {}
};
class TQtPath : public QPainterPath {
public:
    using QPainterPath::QPainterPath;
    TQtPath() = default;
    TQtPath(const QPainterPath& p) : QPainterPath(p) {}
};
class TQtRegion : public QRegion {
public:
    using QRegion::QRegion;
    TQtRegion() = default;
    TQtRegion(const QRegion& r) : QRegion(r) {}
};
class TQtRect : public QRect {
public:
    using QRect::QRect;
    TQtRect() = default;
    TQtRect(const QRect& r) : QRect(r) {}
};

// The Qt side of a TCanvas: the painter it is bound to, the metrics of its selected font, and the
// clip the painter had when it was bound.
struct TCanvasQt {
    QPainter* Painter = nullptr;
    std::unique_ptr<QFontMetrics> Metrics;
    QFont MetricsFont; // the font Metrics measure
    std::unique_ptr<QRegion> BaseClip;

    // Binds c to a painter owned by someone else (a widget during paint); null unbinds. The
    // painter's clip and origin at bind time are the canvas's base state.
    static void BindPainter(TCanvas& c, QPainter* p);
    // The image behind c's painter, when there is one (bitmaps, and widgets that paint into one).
    static QImage* Image(const TCanvas& c);
    static QPainter* PainterOf(const TCanvas& c) { return c.FQt->Painter; }
};

inline void BindPainter(TCanvas* c, QPainter* p) { TCanvasQt::BindPainter(*c, p); }
// The painter c is bound to (null when none).
inline QPainter* CanvasPainter(const TCanvas* c) { return TCanvasQt::PainterOf(*c); }

// The image registered under a name (resources.h), decoded, with its hot spot; false when the
// name is unknown or its data is not an image.
bool ResourceImage(const std::string& name, QImage& image, QPoint& hotSpot);
