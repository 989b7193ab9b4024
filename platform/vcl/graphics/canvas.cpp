// TCanvas: the GDI device-context rules (half-open boxes, end points left out, raster operations,
// clipping, saved states) over a QPainter with antialiasing off; text is in canvastext.cpp. GUI core.
#include "graphics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>

#include "cp1251.h"
#include "graphics_qt.h"
#include "wingdi.h"

class TRegion {
public:
    QRegion r;
};

struct TCanvas::SavedState {
    QRegion clip;
    bool clipEnabled;
    QTransform transform;
    unsigned textAlign;
    COLORREF textColor, bkColor;
    int bkMode;
    TPoint penPos;
};

namespace {

QColor Q(TColor c) {
    c = ColorToRGB(c);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QColor QRef(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TColor FromQ(QRgb c) { return TColor(RGB(qRed(c), qGreen(c), qBlue(c))); }

QRect QR(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// Normalises a box so that Left <= Right and Top <= Bottom, as GDI does for figures.
void Order(int& x1, int& y1, int& x2, int& y2) {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
}

// Pen mix modes as QPainter raster operations. Returns false for pmNop (draw nothing); may
// replace the colour for the modes that ignore or invert it.
bool PenComposition(TPenMode m, QColor& c, QPainter::CompositionMode& mode) {
    mode = QPainter::CompositionMode_SourceOver;
    switch (m) {
    case pmBlack: c = Qt::black; return true;
    case pmWhite: c = Qt::white; return true;
    case pmNop: return false;
    case pmNot: mode = QPainter::RasterOp_NotDestination; return true;
    case pmCopy: return true;
    case pmNotCopy: c = QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); return true;
    case pmMergePenNot: mode = QPainter::RasterOp_SourceOrNotDestination; return true;
    case pmMaskPenNot: mode = QPainter::RasterOp_SourceAndNotDestination; return true;
    case pmMergeNotPen: mode = QPainter::RasterOp_NotSourceOrDestination; return true;
    case pmMaskNotPen: mode = QPainter::RasterOp_NotSourceAndDestination; return true;
    case pmMerge: mode = QPainter::RasterOp_SourceOrDestination; return true;
    case pmNotMerge: mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
    case pmMask: mode = QPainter::RasterOp_SourceAndDestination; return true;
    case pmNotMask: mode = QPainter::RasterOp_NotSourceOrNotDestination; return true;
    case pmXor: mode = QPainter::RasterOp_SourceXorDestination; return true;
    case pmNotXor: mode = QPainter::RasterOp_NotSourceXorDestination; return true;
    }
    return true;
}

// Cosmetic pen patterns (pixels on, pixels off, ...), as GDI draws them on NT.
const std::vector<int>& PenPattern(TPenStyle s) {
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

Qt::BrushStyle HatchStyle(TBrushStyle s) {
    switch (s) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

int RegionType(const QRegion& r) {
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Angle in 1/16 degree of (x, y) seen from the centre, counter-clockwise from 3 o'clock.
int Angle16(double cx, double cy, int x, int y) {
    double a = std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
    if (a < 0)
        a += 360.0;
    return int(std::lround(a * 16));
}

} // namespace

// Composition changes flush painter state, so only real changes are made.
static void SetMode(QPainter* p, QPainter::CompositionMode m) {
    if (p->compositionMode() != m)
        p->setCompositionMode(m);
}

// ---------------------------------------------------------------- life cycle

TCanvas::TCanvas()
    : FQt(std::make_unique<TCanvasQt>()), FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() {
    ReleaseBrushHandle();
    ReleaseFontHandle();
}

void TCanvasQt::BindPainter(TCanvas& c, QPainter* p) {
    c.FQt->Painter = p;
    c.ReleaseBrushHandle();
    c.ReleaseFontHandle();
    c.FSaved.clear();
    c.FFontRev = c.FPenRev = c.FBrushRev = 0;
    c.FFontSelected = false;
    c.FQt->BaseClip.reset();
    c.FBaseClipEnabled = false;
    if (p) {
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::TextAntialiasing, false);
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        c.FBaseClipEnabled = p->hasClipping();
        c.FQt->BaseClip = std::make_unique<QRegion>(c.FBaseClipEnabled ? p->clipRegion() : QRegion());
    }
}

void TCanvas::BindPainterOf(const TCanvas* dc) {
    TCanvasQt::BindPainter(*this, dc ? dc->FQt->Painter : nullptr);
}

bool TCanvas::HandleAllocated() const { return FQt->Painter != nullptr; }

bool TCanvas::RequiredPainter() {
    if (!FQt->Painter)
        CreateHandle();
    return FQt->Painter != nullptr;
}

// A widget paints through the raster engine into its window's backing image: pixels read there
// are the window's, as they are from a window's device context.
QImage* TCanvasQt::Image(const TCanvas& c) {
    if (TQtImage* own = c.OwnImage())
        return own;
    QPainter* painter = c.FQt->Painter;
    if (!painter || !painter->device())
        return nullptr;
    if (painter->device()->devType() == QInternal::Image)
        return static_cast<QImage*>(painter->device());
    QPaintEngine* e = painter->paintEngine();
    if (e && e->type() == QPaintEngine::Raster && e->paintDevice() &&
        e->paintDevice()->devType() == QInternal::Image)
        return static_cast<QImage*>(e->paintDevice());
    return nullptr;
}

void TCanvas::Changing() {
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange)
        OnChange(this);
}

// The text colour follows the font and the background mode follows the brush each time they are
// (re)selected; SetTextColor/SetBkMode last until then.
void TCanvas::UpdateFont() {
    const bool changed = FFontRev != FFont->Revision();
    if (changed && FFontHandle && FFontHandleRev != FFont->Revision())
        ReleaseFontHandle();
    if (changed || !FQt->Metrics) {
        FFontRev = FFont->Revision();
        if (changed)
            FTextColor = COLORREF(ColorToRGB(FFont->Color()));
        // A change of colour alone keeps the metrics and the painter's font.
        const QFont& font = DrawFont().QtFont();
        if (!FQt->Metrics || FQt->MetricsFont != font) {
            FQt->Metrics = std::make_unique<QFontMetrics>(font);
            FQt->MetricsFont = font;
            FFontSelected = false;
        }
    }
}

void TCanvas::SelectFont() {
    UpdateFont();
    if (!FFontSelected && FQt->Painter) {
        FQt->Painter->setFont(DrawFont().QtFont());
        FFontSelected = true;
    }
}

void TCanvas::SelectBrush() {
    if (FBrushRev != FBrush->Revision()) {
        FBrushRev = FBrush->Revision();
        ReleaseBrushHandle();
        FBkColor = COLORREF(ColorToRGB(FBrush->Color()));
        FBkMode = FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE;
    }
}

void TCanvas::SelectPen() { FPenRev = FPen->Revision(); }

namespace {
// Stands for a canvas's own Brush when SelectObject hands back "the previous brush".
TGdiBrush OwnBrush;
} // namespace

void TCanvas::ReleaseBrushHandle() {
    if (FBrushHandle)
        --FBrushHandle->Selected;
    FBrushHandle = nullptr;
}

HBRUSH TCanvas::SelectBrushHandle(HBRUSH b) {
    SelectBrush();
    HBRUSH old = FBrushHandle ? FBrushHandle : &OwnBrush;
    if (b == old)
        return old;
    ReleaseBrushHandle();
    if (b && b != &OwnBrush) {
        FBrushHandle = b;
        ++b->Selected;
    }
    return old;
}

// ---------------------------------------------------------------- fills

// Fills a path with the current brush; hatches get the background colour first when opaque.
void TCanvas::PaintFill(const TQtPath& path) {
    SelectBrush();
    if (FBrush->Style() == bsClear && !FBrush->Bitmap() && !FBrushHandle)
        return;
    FQt->Painter->setPen(Qt::NoPen);
    if (FBrushHandle) {
        FQt->Painter->setBrush(QRef(FBrushHandle->Color));
    } else if (FBrush->Bitmap() && !FBrush->Bitmap()->Empty()) {
        FQt->Painter->setBrush(QBrush(FBrush->Bitmap()->Image()));
    } else if (FBrush->Style() == bsSolid) {
        FQt->Painter->setBrush(Q(FBrush->Color()));
    } else {
        if (FBkMode == OPAQUE)
            FQt->Painter->fillPath(path, QRef(FBkColor));
        FQt->Painter->setBrush(QBrush(Q(FBrush->Color()), HatchStyle(FBrush->Style())));
    }
    FQt->Painter->drawPath(path);
    FQt->Painter->setBrush(Qt::NoBrush);
}

// The brush as a Qt image of a device box, its pattern aligned to the device origin as GDI aligns it.
TQtImage TCanvas::PatternImage(const TQtRect& deviceBox) {
    SelectBrush();
    QImage pat(deviceBox.size(), QImage::Format_RGB32);
    QPainter p(&pat);
    p.setBrushOrigin(-deviceBox.topLeft());
    if (FBrushHandle) {
        p.fillRect(pat.rect(), QRef(FBrushHandle->Color));
    } else if (FBrush->Bitmap() && !FBrush->Bitmap()->Empty()) {
        p.fillRect(pat.rect(), QBrush(FBrush->Bitmap()->Image()));
    } else if (FBrush->Style() == bsSolid || FBrush->Style() == bsClear) {
        p.fillRect(pat.rect(), Q(FBrush->Color()));
    } else {
        p.fillRect(pat.rect(), QRef(FBkColor));
        p.fillRect(pat.rect(), QBrush(Q(FBrush->Color()), HatchStyle(FBrush->Style())));
    }
    return pat;
}

void TCanvas::FillRect(const TRect& r) {
    if (!RequiredPainter() || r.IsEmpty())
        return;
    Changing();
    SelectBrush();
    if (FBrushHandle) {
        FQt->Painter->fillRect(QR(r.Left, r.Top, r.Right, r.Bottom), QRef(FBrushHandle->Color));
    } else if (FBrush->Style() == bsSolid && !FBrush->Bitmap()) {
        FQt->Painter->fillRect(QR(r.Left, r.Top, r.Right, r.Bottom), Q(FBrush->Color()));
    } else {
        QPainterPath p;
        p.addRect(QR(r.Left, r.Top, r.Right, r.Bottom));
        PaintFill(p);
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    if (!RequiredPainter() || r.IsEmpty())
        return;
    Changing();
    SelectBrush();
    if (FBrush->Style() != bsClear) {
        QColor c = Q(FBrush->Color());
        FQt->Painter->fillRect(QR(r.Left, r.Top, r.Right, r.Top + 1), c);
        FQt->Painter->fillRect(QR(r.Left, r.Bottom - 1, r.Right, r.Bottom), c);
        FQt->Painter->fillRect(QR(r.Left, r.Top, r.Left + 1, r.Bottom), c);
        FQt->Painter->fillRect(QR(r.Right - 1, r.Top, r.Right, r.Bottom), c);
    }
    Changed();
}

// Every other pixel of the border inverted, so a second call erases it.
void TCanvas::DrawFocusRect(const TRect& r) {
    if (!RequiredPainter() || r.IsEmpty())
        return;
    QPolygon pts;
    for (int x = r.Left; x < r.Right; ++x) {
        if ((x + r.Top) % 2 == 0)
            pts << QPoint(x, r.Top);
        if (r.Bottom - 1 > r.Top && (x + r.Bottom - 1) % 2 == 0)
            pts << QPoint(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        if ((r.Left + y) % 2 == 0)
            pts << QPoint(r.Left, y);
        if (r.Right - 1 > r.Left && (r.Right - 1 + y) % 2 == 0)
            pts << QPoint(r.Right - 1, y);
    }
    FQt->Painter->save();
    SetMode(FQt->Painter, QPainter::RasterOp_NotDestination);
    FQt->Painter->setPen(QPen(Qt::black, 1));
    FQt->Painter->drawPoints(pts);
    FQt->Painter->restore();
}

// ---------------------------------------------------------------- lines

// One pen stroke from (x1, y1) to (x2, y2). Thin pens are rasterised here so that the end point
// can be left out exactly as GDI does; wide pens are geometric and round-capped.
void TCanvas::StrokeLine(int x1, int y1, int x2, int y2, bool last) {
    TQtColor c;
    if (!BeginPen(c))
        return;
    if (FPen->Width() > 1) {
        QPen pen(c, FPen->Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        FQt->Painter->setPen(pen);
        FQt->Painter->setBrush(Qt::NoBrush);
        FQt->Painter->drawLine(x1, y1, x2, y2);
    } else {
        const std::vector<int>& pat = PenPattern(FPen->Style());
        if (pat.empty() && (y1 == y2 || x1 == x2)) {
            // Straight solid runs are the common case: one rectangle.
            if (y1 == y2) {
                int a, b;
                if (x1 < x2)
                    a = x1, b = last ? x2 + 1 : x2;
                else if (x1 > x2)
                    a = last ? x2 : x2 + 1, b = x1 + 1;
                else
                    a = x1, b = last ? x1 + 1 : x1;
                if (b > a)
                    FQt->Painter->fillRect(QRect(a, y1, b - a, 1), c);
            } else {
                int a, b;
                if (y1 < y2)
                    a = y1, b = last ? y2 + 1 : y2;
                else
                    a = last ? y2 : y2 + 1, b = y1 + 1;
                if (b > a)
                    FQt->Painter->fillRect(QRect(x1, a, 1, b - a), c);
            }
        } else {
            // The gaps of a styled pen take the background colour while the mode is opaque.
            SelectBrush();
            const bool fillGaps = !pat.empty() && FBkMode == OPAQUE;
            QPolygon pts, gaps;
            int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
            int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
            int err = dx + dy, x = x1, y = y1;
            size_t seg = 0;
            int left = pat.empty() ? 0 : pat[0];
            for (;;) {
                bool end = x == x2 && y == y2;
                if (end && !last)
                    break;
                if (pat.empty() || seg % 2 == 0)
                    pts << QPoint(x, y);
                else if (fillGaps)
                    gaps << QPoint(x, y);
                if (!pat.empty() && --left == 0) {
                    seg = (seg + 1) % pat.size();
                    left = pat[seg];
                }
                if (end)
                    break;
                int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    y += sy;
                }
            }
            FQt->Painter->setPen(QPen(c, 1));
            FQt->Painter->drawPoints(pts);
            if (!gaps.isEmpty()) {
                QColor g = QRef(FBkColor);
                QPainter::CompositionMode gm;
                if (PenComposition(FPen->Mode(), g, gm)) {
                    FQt->Painter->setPen(QPen(g, 1));
                    FQt->Painter->drawPoints(gaps);
                }
            }
        }
    }
    SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
}

bool TCanvas::BeginPen(TQtColor& c) {
    SelectPen();
    if (FPen->Style() == psClear)
        return false;
    c = Q(FPen->Color());
    QPainter::CompositionMode mode;
    if (!PenComposition(FPen->Mode(), c, mode))
        return false;
    SetMode(FQt->Painter, mode);
    return true;
}

void TCanvas::MoveTo(int x, int y) { FPenPos = TPoint(x, y); }

void TCanvas::LineTo(int x, int y) {
    if (!RequiredPainter())
        return;
    Changing();
    StrokeLine(FPenPos.x, FPenPos.y, x, y, false);
    FPenPos = TPoint(x, y);
    Changed();
}

void TCanvas::Polyline(const TPoint* pts, int count) {
    if (!RequiredPainter() || count < 2)
        return;
    Changing();
    for (int i = 1; i < count; ++i)
        StrokeLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, false);
    Changed();
}

// ---------------------------------------------------------------- figures

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!RequiredPainter())
        return;
    Order(x1, y1, x2, y2);
    Changing();
    SelectPen();
    if (FPen->Style() == psClear) {
        // With no pen GDI fills one pixel less to the right and bottom.
        if (x2 - 1 > x1 && y2 - 1 > y1) {
            QPainterPath p;
            p.addRect(QR(x1, y1, x2 - 1, y2 - 1));
            PaintFill(p);
        }
    } else {
        int w = std::max(1, FPen->Width());
        if (x2 - x1 > 2 * w && y2 - y1 > 2 * w) {
            QPainterPath p;
            p.addRect(QR(x1 + w, y1 + w, x2 - w, y2 - w));
            PaintFill(p);
        }
        if (w == 1) {
            if (x2 > x1 && y2 > y1) {
                StrokeLine(x1, y1, x2 - 1, y1, false);
                StrokeLine(x2 - 1, y1, x2 - 1, y2 - 1, false);
                StrokeLine(x2 - 1, y2 - 1, x1, y2 - 1, false);
                StrokeLine(x1, y2 - 1, x1, y1, false);
                if (x2 - x1 == 1 || y2 - y1 == 1)
                    StrokeLine(x1, y1, x2 - 1, y2 - 1, true);
            }
        } else {
            // Wide frames stay inside the box, as an inside-frame pen does.
            TQtColor c;
            if (BeginPen(c)) {
                QRegion band(QR(x1, y1, x2, y2));
                band -= QRegion(QR(x1 + w, y1 + w, x2 - w, y2 - w));
                for (const QRect& r : band)
                    FQt->Painter->fillRect(r, c);
                SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
            }
        }
    }
    Changed();
}

// Outline and fill of a closed path inside the box [x1, x2) x [y1, y2).
void TCanvas::DrawFigure(const TQtPath& fillPath, const std::function<void()>& outline) {
    PaintFill(fillPath);
    TQtColor c;
    if (!BeginPen(c))
        return;
    QPen pen(c, FPen->Width() > 1 ? FPen->Width() : 0);
    const bool styled = FPen->Width() <= 1 && FPen->Style() != psSolid && FPen->Style() != psInsideFrame;
    if (styled)
        pen.setDashPattern(
            QVector<qreal>(PenPattern(FPen->Style()).begin(), PenPattern(FPen->Style()).end()));
    FQt->Painter->setPen(pen);
    FQt->Painter->setBrush(Qt::NoBrush);
    // Qt fills the gaps of dashes with the background in opaque mode, as GDI does.
    const bool opaqueGaps = styled && FBkMode == OPAQUE;
    if (opaqueGaps) {
        FQt->Painter->setBackgroundMode(Qt::OpaqueMode);
        FQt->Painter->setBackground(QRef(FBkColor));
    }
    outline();
    if (opaqueGaps)
        FQt->Painter->setBackgroundMode(Qt::TransparentMode);
    FQt->Painter->setPen(Qt::NoPen);
    SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (!RequiredPainter())
        return;
    Order(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    Changing();
    QPainterPath fill;
    fill.addEllipse(QRectF(x1, y1, x2 - x1, y2 - y1));
    QRect box = QR(x1, y1, x2 - 1, y2 - 1);
    DrawFigure(fill, [&] { FQt->Painter->drawEllipse(box); });
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    if (!RequiredPainter())
        return;
    Order(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    Changing();
    QPainterPath fill;
    fill.addRoundedRect(QRectF(x1, y1, x2 - x1, y2 - y1), x3 / 2.0, y3 / 2.0);
    QRect box = QR(x1, y1, x2 - 1, y2 - 1);
    DrawFigure(fill, [&] { FQt->Painter->drawRoundedRect(box, x3 / 2.0, y3 / 2.0); });
    Changed();
}

void TCanvas::Polygon(const TPoint* pts, int count) {
    if (!RequiredPainter() || count < 2)
        return;
    Changing();
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(pts[i].x, pts[i].y);
    QPainterPath fill;
    fill.setFillRule(Qt::OddEvenFill);
    fill.addPolygon(poly);
    fill.closeSubpath();
    PaintFill(fill);
    SelectPen();
    if (FPen->Style() != psClear) {
        if (FPen->Width() <= 1) {
            for (int i = 0; i < count; ++i) {
                const TPoint& a = pts[i];
                const TPoint& b = pts[(i + 1) % count];
                StrokeLine(a.x, a.y, b.x, b.y, false);
            }
        } else {
            DrawFigure(QPainterPath(), [&] { FQt->Painter->drawPolygon(poly, Qt::OddEvenFill); });
        }
    }
    Changed();
}

void TCanvas::ArcFigure(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (!RequiredPainter())
        return;
    Order(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    Changing();
    double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    int a = Angle16(cx, cy, x3, y3), b = Angle16(cx, cy, x4, y4);
    int span = b - a;
    if (span <= 0)
        span += 360 * 16;
    QRect box = QR(x1, y1, x2 - 1, y2 - 1);
    QPainterPath fill;
    QRectF fb(x1, y1, x2 - x1, y2 - y1);
    if (kind == 1) {
        fill.moveTo(fb.center());
        fill.arcTo(fb, a / 16.0, span / 16.0);
        fill.closeSubpath();
    } else if (kind == 2) {
        fill.arcMoveTo(fb, a / 16.0);
        fill.arcTo(fb, a / 16.0, span / 16.0);
        fill.closeSubpath();
    }
    DrawFigure(fill, [&] {
        if (kind == 0)
            FQt->Painter->drawArc(box, a, span);
        else if (kind == 1)
            FQt->Painter->drawPie(box, a, span);
        else
            FQt->Painter->drawChord(box, a, span);
    });
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcFigure(0, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcFigure(1, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcFigure(2, x1, y1, x2, y2, x3, y3, x4, y4);
}

// ---------------------------------------------------------------- pixels

TColor TCanvas::GetPixel(int x, int y) {
    if (!RequiredPainter())
        return TColor(-1);
    QImage* img = TCanvasQt::Image(*this);
    if (!img)
        return TColor(-1);
    QPoint d = FQt->Painter->deviceTransform().map(QPoint(x, y));
    if (!img->rect().contains(d))
        return TColor(-1);
    return FromQ(img->pixel(d));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (!RequiredPainter())
        return;
    Changing();
    FQt->Painter->fillRect(QRect(x, y, 1, 1), Q(c));
    Changed();
}

QColor ToQColor(TColor c) { return Q(c); }

// ---------------------------------------------------------------- clipping and saved states

// The whole paint device in the painter's logical coordinates. Not through the device transform: a
// widget painted into its window's store is offset there, and a clip from it would cut the widget.
static QRegion DeviceArea(const QPainter* p) {
    const QPaintDevice* d = p->device();
    QSizeF size(d->width(), d->height());
    if (d->devType() != QInternal::Widget)
        size /= d->devicePixelRatio(); // images count device pixels, widgets logical ones
    return p->combinedTransform().inverted().map(QRegion(QRectF(QPointF(), size).toAlignedRect()));
}

TRect TCanvas::ClipRect() {
    if (!RequiredPainter())
        return TRect();
    QRect b = FQt->Painter->hasClipping() ? FQt->Painter->clipBoundingRect().toAlignedRect()
                                          : DeviceArea(FQt->Painter).boundingRect();
    return TRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
}

TQtRegion TCanvas::CurrentClip() const {
    if (FQt->Painter->hasClipping())
        return FQt->Painter->clipRegion();
    return DeviceArea(FQt->Painter);
}

// Clipping is never switched off once set: "no clip" is the whole device. Workaround: Qt 6.4's
// raster engine ignores a complex clip region set after setClipping(false).
void TCanvas::SetClip(const TQtRegion& r) { FQt->Painter->setClipRegion(r); }

void TCanvas::ClearClip() {
    if (!FQt->Painter->hasClipping())
        return;
    SetClip(DeviceArea(FQt->Painter));
}

int TCanvas::SelectClipRgn(HRGN rgn) {
    if (!RequiredPainter())
        return RGN_ERROR;
    if (!rgn) {
        if (FBaseClipEnabled)
            SetClip(*FQt->BaseClip);
        else
            ClearClip();
        return FBaseClipEnabled ? RegionType(*FQt->BaseClip) : SIMPLEREGION;
    }
    QRegion r = rgn->r;
    if (FBaseClipEnabled)
        r &= *FQt->BaseClip;
    SetClip(r);
    return RegionType(r);
}

int TCanvas::IntersectClipRect(int l, int t, int r, int b) {
    if (!RequiredPainter())
        return RGN_ERROR;
    QRegion c = CurrentClip() & QRegion(QR(l, t, std::max(l, r), std::max(t, b)));
    SetClip(c);
    return RegionType(c);
}

int TCanvas::ExcludeClipRect(int l, int t, int r, int b) {
    if (!RequiredPainter())
        return RGN_ERROR;
    QRegion c = CurrentClip() - QRegion(QR(l, t, std::max(l, r), std::max(t, b)));
    SetClip(c);
    return RegionType(c);
}

int TCanvas::SaveDC() {
    if (!RequiredPainter())
        return 0;
    SelectFont();
    SelectBrush();
    SavedState s{FQt->Painter->hasClipping() ? FQt->Painter->clipRegion() : QRegion(),
                 FQt->Painter->hasClipping(),
                 FQt->Painter->transform(),
                 FTextAlign,
                 FTextColor,
                 FBkColor,
                 FBkMode,
                 FPenPos};
    FSaved.push_back(std::move(s));
    return int(FSaved.size());
}

bool TCanvas::RestoreDC(int saved) {
    if (!FQt->Painter)
        return false;
    int index = saved < 0 ? int(FSaved.size()) + saved + 1 : saved;
    if (index < 1 || index > int(FSaved.size()))
        return false;
    SavedState s = FSaved[size_t(index - 1)];
    FSaved.resize(size_t(index - 1));
    FQt->Painter->setTransform(s.transform);
    if (s.clipEnabled)
        SetClip(s.clip);
    else
        ClearClip();
    // Whoever drew in between (a parent painting into this context) may have left its own font.
    FFontSelected = false;
    FTextAlign = s.textAlign;
    FTextColor = s.textColor;
    FBkColor = s.bkColor;
    FBkMode = s.bkMode;
    FPenPos = s.penPos;
    return true;
}

// ---------------------------------------------------------------- block transfers

bool TCanvas::PatBlt(int x, int y, int w, int h, std::uint32_t rop) {
    if (!RequiredPainter())
        return false;
    QRect box = QRect(x, y, w, h).normalized();
    if (RopUsesSource(rop))
        return false;
    SelectBrush();
    // A selected brush handle paints, as it does for FillRect.
    const bool solid = FBrushHandle || (FBrush->Style() == bsSolid && !FBrush->Bitmap());
    QColor brush = FBrushHandle ? QRef(FBrushHandle->Color) : Q(FBrush->Color());
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case PATCOPY:
        if (!solid)
            return RopBlt(box, nullptr, rop);
        break;
    case PATINVERT:
        if (!solid)
            return RopBlt(box, nullptr, rop);
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case DSTINVERT: mode = QPainter::RasterOp_NotDestination; break;
    case BLACKNESS: brush = Qt::black; break;
    case WHITENESS: brush = Qt::white; break;
    default: return RopBlt(box, nullptr, rop);
    }
    Changing();
    SetMode(FQt->Painter, mode);
    FQt->Painter->fillRect(box, brush);
    SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
    Changed();
    return true;
}

bool TCanvas::StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
                         std::uint32_t rop) {
    if (!RequiredPainter())
        return false;
    if (!RopUsesSource(rop))
        return PatBlt(x, y, w, h, rop);
    // Negative extents mirror, as in GDI: the start column or row is inside, the end one outside,
    // so (x + w - 1, -w) mirrors into the same box as (x, w).
    bool flipH = (w < 0) != (sw < 0), flipV = (h < 0) != (sh < 0);
    QRect dst(w < 0 ? x + w + 1 : x, h < 0 ? y + h + 1 : y, std::abs(w), std::abs(h));
    TQtImage part;
    if (!SourcePart(src, sx, sy, sw, sh, part))
        return false;
    if (flipH || flipV)
        part = part.mirrored(flipH, flipV);
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (rop) {
    case SRCCOPY: break;
    case SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    case SRCAND: mode = QPainter::RasterOp_SourceAndDestination; break;
    case SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; break;
    case NOTSRCCOPY: mode = QPainter::RasterOp_NotSource; break;
    case SRCERASE: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case NOTSRCERASE: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case MERGEPAINT: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case MERGECOPY: {
        SelectBrush();
        if (FBrushHandle || FBrush->Style() != bsSolid || FBrush->Bitmap())
            return RopBlt(dst, &part, rop);
        QPainter p(&part);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.fillRect(part.rect(), Q(FBrush->Color()));
        break;
    }
    default: return RopBlt(dst, &part, rop);
    }
    Changing();
    SetMode(FQt->Painter, mode);
    FQt->Painter->drawImage(dst, part);
    SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
    Changed();
    return true;
}

// A copy of a source box (negative extents as in StretchBlt), in this canvas's colours: source and
// destination may be the same image, and copies between colour and monochrome convert as GDI does.
bool TCanvas::SourcePart(TCanvas* src, int sx, int sy, int sw, int sh, TQtImage& part) {
    if (!src || !src->RequiredPainter())
        return false;
    QImage* simg = TCanvasQt::Image(*src);
    if (!simg)
        return false;
    QRect srect(sw < 0 ? sx + sw + 1 : sx, sh < 0 ? sy + sh + 1 : sy, std::abs(sw), std::abs(sh));
    srect = src->FQt->Painter->deviceTransform().mapRect(srect);
    part = simg->copy(srect).convertToFormat(QImage::Format_RGB32);
    if (src->IsMonochrome() == IsMonochrome())
        return true;
    QRgb one, zero;
    QRgb key = 0;
    bool toMono = IsMonochrome();
    if (toMono) {
        src->SelectBrush();
        key = QRef(src->FBkColor).rgb() & 0xFFFFFFu;
        one = 0xFFFFFFFFu;
        zero = 0xFF000000u;
    } else {
        SelectBrush();
        UpdateFont();
        one = QRef(FBkColor).rgb();
        zero = QRef(FTextColor).rgb();
    }
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            QRgb p = line[x] & 0xFFFFFFu;
            line[x] = (toMono ? p == key : p == 0xFFFFFFu) ? one : zero;
        }
    }
    return true;
}

bool TCanvas::TransparentStretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
                                    TCanvas* mask, int mx, int my) {
    if (!RequiredPainter() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !mask || !mask->RequiredPainter())
        return false;
    TQtImage part;
    if (!SourcePart(src, sx, sy, sw, sh, part))
        return false;
    QImage* mimg = TCanvasQt::Image(*mask);
    if (!mimg)
        return false;
    QRect mrect = mask->FQt->Painter->deviceTransform().mapRect(QRect(mx, my, sw, sh));
    QImage m = mimg->copy(mrect).convertToFormat(QImage::Format_RGB32);
    part = part.convertToFormat(QImage::Format_ARGB32);
    for (int yy = 0; yy < part.height(); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(yy));
        const auto* ml = reinterpret_cast<const QRgb*>(m.constScanLine(yy));
        for (int xx = 0; xx < part.width(); ++xx)
            if ((ml[xx] & 0xFFFFFFu) != 0)
                line[xx] = 0;
    }
    Changing();
    SetMode(FQt->Painter, QPainter::CompositionMode_SourceOver);
    FQt->Painter->drawImage(QRect(x, y, w, h), part);
    Changed();
    return true;
}

TPoint TCanvas::ViewportOrg() const {
    if (!FQt->Painter)
        return TPoint();
    QTransform t = FQt->Painter->transform();
    return TPoint(int(t.dx()), int(t.dy()));
}

void TCanvas::SetViewportOrg(int x, int y) {
    if (RequiredPainter())
        FQt->Painter->setTransform(QTransform::fromTranslate(x, y));
}

bool TCanvas::BitBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, std::uint32_t rop) {
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* src, const TRect& source) {
    StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), src, source.Left, source.Top, source.Width(),
               source.Height(), FCopyMode);
}

void TCanvas::Draw(int x, int y, TGraphic* g) {
    if (!g || g->Empty() || !RequiredPainter())
        return;
    Changing();
    g->DrawOn(this, Bounds(x, y, g->Width(), g->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* g) {
    if (!g || g->Empty() || !RequiredPainter())
        return;
    Changing();
    g->DrawOn(this, r);
    Changed();
}

// Classic 3-D borders: raised outer light/dark-shadow, raised inner highlight/shadow.
bool TCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    if (!RequiredPainter())
        return false;
    Changing();
    auto band = [&](TRect& b, TColor tl, TColor br, bool inner) {
        if (b.IsEmpty())
            return;
        if (flags & BF_MONO)
            tl = br = inner ? clWindow : clWindowFrame;
        else if (flags & BF_FLAT)
            tl = br = inner ? clBtnFace : clBtnShadow;
        QColor a = Q(tl), z = Q(br);
        if (flags & BF_TOP)
            FQt->Painter->fillRect(QR(b.Left, b.Top, b.Right - 1, b.Top + 1), a);
        if (flags & BF_LEFT)
            FQt->Painter->fillRect(QR(b.Left, b.Top, b.Left + 1, b.Bottom - 1), a);
        if (flags & BF_BOTTOM)
            FQt->Painter->fillRect(QR(b.Left, b.Bottom - 1, b.Right, b.Bottom), z);
        if (flags & BF_RIGHT)
            FQt->Painter->fillRect(QR(b.Right - 1, b.Top, b.Right, b.Bottom), z);
        if (flags & BF_LEFT)
            ++b.Left;
        if (flags & BF_TOP)
            ++b.Top;
        if (flags & BF_RIGHT)
            --b.Right;
        if (flags & BF_BOTTOM)
            --b.Bottom;
    };
    TRect b = r;
    if (edge & BDR_RAISEDOUTER)
        band(b, (flags & BF_SOFT) ? clBtnHighlight : cl3DLight, cl3DDkShadow, false);
    else if (edge & BDR_SUNKENOUTER)
        band(b, (flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow, clBtnHighlight, false);
    if (edge & BDR_RAISEDINNER)
        band(b, (flags & BF_SOFT) ? cl3DLight : clBtnHighlight, clBtnShadow, true);
    else if (edge & BDR_SUNKENINNER)
        band(b, (flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow, cl3DLight, true);
    if ((flags & BF_MIDDLE) && !b.IsEmpty())
        FQt->Painter->fillRect(QR(b.Left, b.Top, b.Right, b.Bottom), Q(clBtnFace));
    if (flags & BF_ADJUST)
        r = b;
    Changed();
    return true;
}

void Frame3D(TCanvas* c, TRect& r, TColor topColor, TColor bottomColor, int width) {
    TBrush* b = c->Brush();
    TColor oldColor = b->Color();
    TBrushStyle oldStyle = b->Style();
    for (int i = 0; i < width && !r.IsEmpty(); ++i) {
        // Top and left in the first colour; right and bottom (with both far corners) in the second.
        b->SetColor(topColor);
        c->FillRect(TRect(r.Left, r.Top, r.Right - 1, r.Top + 1));
        c->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
        b->SetColor(bottomColor);
        c->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
        c->FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        InflateRect(r, -1, -1);
    }
    b->SetColor(oldColor);
    b->SetStyle(oldStyle);
}

// ---------------------------------------------------------------- regions and free functions

HRGN CreateRectRgn(int l, int t, int r, int b) {
    auto* g = new TRegion;
    Order(l, t, r, b);
    g->r = QRegion(QR(l, t, r, b));
    return g;
}

HRGN CreateRectRgnIndirect(const TRect* r) { return CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom); }

HRGN CreateEllipticRgn(int l, int t, int r, int b) {
    auto* g = new TRegion;
    Order(l, t, r, b);
    g->r = QRegion(QR(l, t, r, b), QRegion::Ellipse);
    return g;
}

HRGN CreatePolygonRgn(const TPoint* pts, int count) {
    auto* g = new TRegion;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(pts[i].x, pts[i].y);
    g->r = QRegion(poly, Qt::OddEvenFill);
    return g;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
    if (!dst || !a || (mode != RGN_COPY && !b))
        return RGN_ERROR;
    switch (mode) {
    case RGN_AND: dst->r = a->r & b->r; break;
    case RGN_OR: dst->r = a->r | b->r; break;
    case RGN_XOR: dst->r = a->r ^ b->r; break;
    case RGN_DIFF: dst->r = a->r - b->r; break;
    case RGN_COPY: dst->r = a->r; break;
    default: return RGN_ERROR;
    }
    return RegionType(dst->r);
}

bool PtInRegion(HRGN rgn, int x, int y) { return rgn && rgn->r.contains(QPoint(x, y)); }

int GetRgnBox(HRGN rgn, TRect* r) {
    if (!rgn || !r)
        return RGN_ERROR;
    QRect b = rgn->r.boundingRect();
    *r = rgn->r.isEmpty() ? TRect() : TRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
    return RegionType(rgn->r);
}

bool DeleteObject(HRGN rgn) {
    delete rgn;
    return rgn != nullptr;
}

int SelectClipRgn(HDC dc, HRGN rgn) { return dc ? dc->SelectClipRgn(rgn) : RGN_ERROR; }
int IntersectClipRect(HDC dc, int l, int t, int r, int b) {
    return dc ? dc->IntersectClipRect(l, t, r, b) : RGN_ERROR;
}
int ExcludeClipRect(HDC dc, int l, int t, int r, int b) {
    return dc ? dc->ExcludeClipRect(l, t, r, b) : RGN_ERROR;
}

int DrawText(HDC dc, const char* text, int len, TRect* r, unsigned flags) {
    if (!dc || !text || !r)
        return 0;
    std::string s = len < 0 ? std::string(text) : std::string(text, size_t(len));
    return dc->DrawText(s, *r, flags);
}

unsigned SetTextAlign(HDC dc, unsigned align) { return dc ? dc->SetTextAlign(align) : GDI_ERROR; }
COLORREF SetTextColor(HDC dc, COLORREF c) { return dc ? dc->SetTextColor(c) : 0xFFFFFFFFu; }
COLORREF SetBkColor(HDC dc, COLORREF c) { return dc ? dc->SetBkColor(c) : 0xFFFFFFFFu; }
int SetBkMode(HDC dc, int mode) { return dc ? dc->SetBkMode(mode) : 0; }
int SaveDC(HDC dc) { return dc ? dc->SaveDC() : 0; }
bool RestoreDC(HDC dc, int saved) { return dc && dc->RestoreDC(saved); }

bool GetTextExtentPoint32(HDC dc, const char* text, int len, TSize* size) {
    if (!dc || !text || !size || len < 0)
        return false;
    *size = dc->TextExtent(std::string(text, size_t(len)));
    return true;
}

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, std::uint32_t rop) {
    return dst && dst->BitBlt(x, y, w, h, src, sx, sy, rop);
}

bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                std::uint32_t rop) {
    return dst && dst->StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
}

bool PatBlt(HDC dc, int x, int y, int w, int h, std::uint32_t rop) {
    return dc && dc->PatBlt(x, y, w, h, rop);
}

bool TransparentStretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                           HDC mask, int mx, int my) {
    return dst && dst->TransparentStretchBlt(x, y, w, h, src, sx, sy, sw, sh, mask, mx, my);
}

bool GetViewportOrgEx(HDC dc, TPoint* org) {
    if (!dc || !org)
        return false;
    *org = dc->ViewportOrg();
    return true;
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
    if (!dc)
        return false;
    if (old)
        *old = dc->ViewportOrg();
    dc->SetViewportOrg(x, y);
    return true;
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old) {
    if (!dc)
        return false;
    TPoint o = dc->ViewportOrg();
    if (old)
        *old = o;
    dc->SetViewportOrg(o.x + dx, o.y + dy);
    return true;
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
    if (!dc || !tm)
        return false;
    dc->GetTextMetrics(*tm);
    return true;
}

int GetClipBox(HDC dc, TRect* r) {
    if (!dc || !r || !dc->Handle() || !CanvasPainter(dc))
        return RGN_ERROR;
    *r = dc->ClipRect();
    QPainter* p = CanvasPainter(dc);
    if (!p->hasClipping())
        return SIMPLEREGION;
    return RegionType(p->clipRegion());
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return ScreenPixelsPerInch;
    default: return 0;
    }
}

HBRUSH CreateSolidBrush(COLORREF c) {
    auto* b = new TGdiBrush;
    b->Color = c & 0xFFFFFF;
    return b;
}

HBRUSH SelectObject(HDC dc, HBRUSH b) { return dc ? dc->SelectBrushHandle(b) : nullptr; }

bool DeleteObject(HBRUSH b) {
    if (!b || b == &OwnBrush || b->Selected > 0)
        return false;
    delete b;
    return true;
}

int FillRect(HDC dc, const TRect* r, HBRUSH b) {
    if (!dc || !r || !b)
        return 0;
    HBRUSH old = dc->SelectBrushHandle(b);
    dc->FillRect(*r);
    dc->SelectBrushHandle(old);
    return 1;
}

bool Polygon(HDC dc, const TPoint* pts, int count) {
    if (!dc || !pts || count < 2)
        return false;
    dc->Polygon(pts, count);
    return true;
}

bool Rectangle(HDC dc, int l, int t, int r, int b) {
    if (!dc)
        return false;
    dc->Rectangle(l, t, r, b);
    return true;
}
bool DrawEdge(HDC dc, TRect* r, unsigned edge, unsigned flags) {
    return dc && r && dc->DrawEdge(*r, edge, flags);
}

bool DrawFocusRect(HDC dc, const TRect* r) {
    if (!dc || !r)
        return false;
    dc->DrawFocusRect(*r);
    return true;
}
