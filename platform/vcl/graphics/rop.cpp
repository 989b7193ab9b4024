// Ternary raster operations that no QPainter composition mode expresses, pattern brushes for
// PatBlt and BrushCopy: evaluated pixel by pixel on the device image. GUI core.
#include "graphics.h"

#include <QImage>
#include <QPainter>

#include "graphics_qt.h"

namespace {

// Bit i of a raster operation's code is the result for pattern, source and destination bits
// (p << 2 | s << 1 | d), so the code applies bitwise to whole pixels.
unsigned RopCode(std::uint32_t rop) { return (rop >> 16) & 0xFF; }

QRgb RopPixel(unsigned code, QRgb p, QRgb s, QRgb d) {
    QRgb r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if ((code >> i) & 1)
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return 0xFF000000u | (r & 0xFFFFFFu);
}

} // namespace

bool RopUsesSource(std::uint32_t rop) {
    unsigned c = RopCode(rop);
    return (((c >> 2) ^ c) & 0x33) != 0;
}

bool RopUsesPattern(std::uint32_t rop) {
    unsigned c = RopCode(rop);
    return (((c >> 4) ^ c) & 0x0F) != 0;
}

bool TCanvas::RopBlt(const TQtRect& box, const TQtImage* src, std::uint32_t rop) {
    QImage* img = TCanvasQt::Image(*this);
    if (!img || box.isEmpty() || (RopUsesSource(rop) && !src))
        return false;
    const unsigned code = RopCode(rop);
    QRect dev = FQt->Painter->deviceTransform().mapRect(box);
    QImage out = img->copy(dev).convertToFormat(QImage::Format_RGB32);
    QImage s = src ? src->scaled(box.size()).convertToFormat(QImage::Format_RGB32) : QImage();
    QImage p = RopUsesPattern(rop) ? QImage(PatternImage(dev)) : QImage();
    const bool mono = IsMonochrome();
    for (int y = 0; y < out.height(); ++y) {
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        const auto* sl = s.isNull() ? nullptr : reinterpret_cast<const QRgb*>(s.constScanLine(y));
        const auto* pl = p.isNull() ? nullptr : reinterpret_cast<const QRgb*>(p.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb r = RopPixel(code, pl ? pl[x] : 0, sl ? sl[x] : 0, d[x]);
            d[x] = mono && (r & 0xFFFFFFu) != 0xFFFFFFu ? 0xFF000000u : r;
        }
    }
    Changing();
    QPainter::CompositionMode old = FQt->Painter->compositionMode();
    FQt->Painter->setCompositionMode(QPainter::CompositionMode_Source);
    FQt->Painter->drawImage(box, out);
    FQt->Painter->setCompositionMode(old);
    Changed();
    return true;
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (!Bitmap || Bitmap->Empty() || Dest.IsEmpty() || Source.IsEmpty() || !RequiredPainter())
        return;
    QRect box(Dest.Left, Dest.Top, Dest.Width(), Dest.Height());
    QImage part = Bitmap->Image()
                      .copy(QRect(Source.Left, Source.Top, Source.Width(), Source.Height()))
                      .convertToFormat(QImage::Format_RGB32)
                      .scaled(box.size());
    QImage pat = PatternImage(FQt->Painter->deviceTransform().mapRect(box));
    const QRgb key = ToQColor(Color).rgb() & 0xFFFFFFu;
    for (int y = 0; y < part.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(part.scanLine(y));
        const auto* pl = reinterpret_cast<const QRgb*>(pat.constScanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((l[x] & 0xFFFFFFu) == key)
                l[x] = pl[x];
    }
    Changing();
    QPainter::CompositionMode old = FQt->Painter->compositionMode();
    FQt->Painter->setCompositionMode(QPainter::CompositionMode_Source);
    FQt->Painter->drawImage(box, part);
    FQt->Painter->setCompositionMode(old);
    Changed();
}
