// Bitmap and gradient painting of the Gw widget library. Gradients are painted into an off-screen
// bitmap in bands (one brush and one fill per band) and drawn with one Canvas.Draw; linear ones
// paint one 8-pixel strip and replicate it, box ones paint a quarter and mirror it.
#include "Gwgrafx.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "Gwutils.h"
#include "forms.h"
#include "messages.h"

// ---------------------------------------------------------------- bitmaps

namespace {

struct TMasked {
    TBitmap Image, Mask;
};

// The source part stretched to the destination size, and a mask white where it shows
// TransparentColor. Blacken: transparent pixels of the image become black (for the OR pass).
void PrepareMasked(TMasked& m, TBitmap* Bitmap, const TRect& Dest, const TRect& Src, TColor TransparentColor,
                   bool Blacken) {
    const int dw = Dest.Width(), dh = Dest.Height();
    m.Image.SetSize(dw, dh);
    StretchBlt(m.Image.Canvas()->Handle(), 0, 0, dw, dh, Bitmap->Canvas()->Handle(), Src.Left, Src.Top,
               Src.Width(), Src.Height(), SRCCOPY);
    m.Mask.SetMonochrome(true);
    m.Mask.SetSize(dw, dh);
    SetBkColor(m.Image.Canvas()->Handle(), COLORREF(ColorToRGB(TransparentColor)));
    BitBlt(m.Mask.Canvas()->Handle(), 0, 0, dw, dh, m.Image.Canvas()->Handle(), 0, 0, SRCCOPY);
    if (Blacken && TransparentColor != clBlack) {
        SetBkColor(m.Image.Canvas()->Handle(), 0);
        SetTextColor(m.Image.Canvas()->Handle(), 0xFFFFFF);
        BitBlt(m.Image.Canvas()->Handle(), 0, 0, dw, dh, m.Mask.Canvas()->Handle(), 0, 0, SRCAND);
    }
}

bool Empty(TBitmap* Bitmap) { return !Bitmap || Bitmap->Width() <= 0 || Bitmap->Height() <= 0; }

// a mod b in 0..b-1 (b > 0), also for a negative a.
int PositiveMod(int a, int b) {
    const int m = a % b;
    return m < 0 ? m + b : m;
}

} // namespace

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& DestRect, const TRect& SrcRect,
                           TColor TransparentColor) {
    if (Empty(Bitmap) || DestRect.IsEmpty())
        return;
    TMasked m;
    PrepareMasked(m, Bitmap, DestRect, SrcRect, TransparentColor, true);
    const TRect all(0, 0, DestRect.Width(), DestRect.Height());
    Canvas->SetCopyMode(cmSrcAnd);
    Canvas->CopyRect(DestRect, m.Mask.Canvas(), all);
    Canvas->SetCopyMode(cmSrcPaint);
    Canvas->CopyRect(DestRect, m.Image.Canvas(), all);
}

void DrawFullTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& DestRect, const TRect& SrcRect,
                               TColor TransparentColor) {
    if (Empty(Bitmap) || DestRect.IsEmpty())
        return;
    TMasked m;
    PrepareMasked(m, Bitmap, DestRect, SrcRect, TransparentColor, false);
    const int dw = DestRect.Width(), dh = DestRect.Height();
    TransparentStretchBlt(Canvas->Handle(), DestRect.Left, DestRect.Top, dw, dh, m.Image.Canvas()->Handle(),
                          0, 0, dw, dh, m.Mask.Canvas()->Handle(), 0, 0);
}

namespace {

// Tiles anchored at (ax, ay); each tile cut on its right and bottom at the rectangle.
template <class Draw> void Tile(TBitmap* Bitmap, const TRect& Rect, int ax, int ay, Draw draw) {
    if (Empty(Bitmap))
        return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    int oy = PositiveMod(Rect.Top - ay, h);
    for (int y = Rect.Top; y < Rect.Bottom; y += h - oy, oy = 0) {
        int ox = PositiveMod(Rect.Left - ax, w);
        for (int x = Rect.Left; x < Rect.Right; x += w - ox, ox = 0) {
            const int tw = std::min(w - ox, Rect.Right - x), th = std::min(h - oy, Rect.Bottom - y);
            draw(TRect(x, y, x + tw, y + th), TRect(ox, oy, ox + tw, oy + th));
        }
    }
}

} // namespace

void TileTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect, TColor TransparentColor) {
    Tile(Bitmap, Rect, Rect.Left, Rect.Top, [&](const TRect& d, const TRect& s) {
        DrawTransparentBitmap(Canvas, Bitmap, d, s, TransparentColor);
    });
}

void StretchTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect, TColor TransparentColor) {
    if (Empty(Bitmap))
        return;
    DrawTransparentBitmap(Canvas, Bitmap, Rect, TRect(0, 0, Bitmap->Width(), Bitmap->Height()),
                          TransparentColor);
}

void TileBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect) {
    Tile(Bitmap, Rect, Rect.Left, Rect.Top,
         [&](const TRect& d, const TRect& s) { Canvas->CopyRect(d, Bitmap->Canvas(), s); });
}

void TileRealizedBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect) {
    Tile(Bitmap, Rect, 0, 0,
         [&](const TRect& d, const TRect& s) { Canvas->CopyRect(d, Bitmap->Canvas(), s); });
}

void CenterBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect) {
    if (Empty(Bitmap))
        return;
    const int rw = Rect.Width(), rh = Rect.Height();
    const int cx = rw / 2, cy = rh / 2, bx = Bitmap->Width() / 2, by = Bitmap->Height() / 2;
    TRect src;
    if (bx >= cx) {
        src.Left = bx - cx;
        src.Right = src.Left + rw;
    } else {
        src.Left = 0;
        src.Right = Bitmap->Width();
    }
    if (by >= cy) {
        src.Top = by - cy;
        src.Bottom = src.Top + rh;
    } else {
        src.Top = 0;
        src.Bottom = Bitmap->Height();
    }
    const TRect dst(Max(Rect.Left, cx - bx), Max(Rect.Top, cy - by), Min(Rect.Right, bx + cx),
                    Min(Rect.Bottom, by + cy));
    Canvas->CopyRect(dst, Bitmap->Canvas(), src);
}

void StretchBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect) {
    if (Empty(Bitmap))
        return;
    Canvas->CopyRect(Rect, Bitmap->Canvas(), TRect(0, 0, Bitmap->Width(), Bitmap->Height()));
}

void FlipBitmap(TBitmap* Bitmap) {
    if (Empty(Bitmap))
        return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    TBitmap flipped;
    flipped.SetSize(w, h);
    StretchBlt(flipped.Canvas()->Handle(), 0, h - 1, w, -h, Bitmap->Canvas()->Handle(), 0, 0, w, h, SRCCOPY);
    Bitmap->Assign(&flipped);
}

// ---------------------------------------------------------------- gradients

namespace {

// One colour running from one colour to another in Count steps, each channel in 16.16 fixed point.
class TColorStepper {
public:
    TColorStepper(COLORREF From, COLORREF To, int Count) {
        const int from[3] = {GetRValue(From), GetGValue(From), GetBValue(From)};
        const int to[3] = {GetRValue(To), GetGValue(To), GetBValue(To)};
        for (int i = 0; i < 3; ++i) {
            FAcc[i] = std::int64_t(from[i]) << 16;
            FInc[i] = Count > 0 ? ((std::int64_t(to[i]) << 16) - FAcc[i]) / Count : 0;
        }
    }
    COLORREF Color() const {
        return RGB(int((FAcc[0] >> 16) & 0xFF), int((FAcc[1] >> 16) & 0xFF), int((FAcc[2] >> 16) & 0xFF));
    }
    void Step() {
        for (int i = 0; i < 3; ++i)
            FAcc[i] += FInc[i];
    }

private:
    std::int64_t FAcc[3], FInc[3];
};

// The least number of steps a band runs, minus one (Steps up to 8: pixels; above: colours).
int BandMinimum(std::uint8_t Steps, int K) {
    int m = Steps;
    if (m > 8)
        m = K / m + 1;
    return std::max(m - 1, 0);
}

void FillSolid(HDC DC, const TRect& r, COLORREF Color) {
    HBRUSH brush = CreateSolidBrush(Color);
    FillRect(DC, &r, brush);
    DeleteObject(brush);
}

// One pass of FillGrad: positions Start down to Low, colour From at Start stepping toward To.
void GradPass(HDC DC, bool Horizontal, int Start, int Low, COLORREF From, COLORREF To, std::uint8_t Steps) {
    const int m = BandMinimum(Steps, 255);
    TColorStepper c(From, To, Start - Low + 1);
    int p = Start;
    while (p >= Low) {
        const int end = p;
        const COLORREF band = c.Color();
        int n = 0;
        do {
            --p;
            c.Step();
            ++n;
        } while (p >= Low && (n <= m || c.Color() == band));
        FillSolid(DC, Horizontal ? TRect(p, 0, end, 8) : TRect(0, p, 8, end), band);
    }
}

} // namespace

void FillGrad(HDC DC, int X, int Y, int Limit, TColor ColorA, TColor ColorB, std::uint8_t Steps) {
    const COLORREF a = COLORREF(ColorToRGB(ColorA)), b = COLORREF(ColorToRGB(ColorB));
    const bool horizontal = X != 0;
    const int at = horizontal ? X : Y;
    GradPass(DC, horizontal, at < 0 ? Limit : at + 1, 1, b, a, Steps);
    if (at > 0)
        GradPass(DC, horizontal, Limit, at + 2, a, b, Steps);
}

void FillGradRect(HDC DC, int Width, int Height, int InsetX, int InsetY, TColor ColorA, TColor ColorB,
                  std::uint8_t Steps) {
    const COLORREF a = COLORREF(ColorToRGB(ColorA)), b = COLORREF(ColorToRGB(ColorB));
    if (a == b || Width <= 4 || Height <= 4) {
        FillSolid(DC, TRect(0, 0, Width + 1, Height + 1), a);
        return;
    }
    const int cx = ((Width - 1) >> 1) + 1, cy = ((Height - 1) >> 1) + 1;
    const int x0 = std::max(((Width - 1) >> 1) - InsetX, 0), y0 = std::max(((Height - 1) >> 1) - InsetY, 0);
    const int count = std::max(x0, y0) + 1;
    const int m = BandMinimum(Steps, 256);
    TColorStepper c(b, a, count);
    const std::int64_t dx = (std::int64_t(x0) << 16) / count, dy = (std::int64_t(y0) << 16) / count;
    std::int64_t x = std::int64_t(x0) << 16, y = std::int64_t(y0) << 16;
    int px = cx, py = cy, step = 0;
    // The centre band first, then rings outwards until the corner reaches the box's edge.
    while (true) {
        const COLORREF band = c.Color();
        const int nx = std::max(int(x >> 16), 0), ny = std::max(int(y >> 16), 0);
        HBRUSH brush = CreateSolidBrush(band);
        if (ny != py) {
            const TRect r(nx, ny, cx, py);
            FillRect(DC, &r, brush);
        }
        if (nx != px) {
            const TRect r(nx, py, px, cy);
            FillRect(DC, &r, brush);
        }
        DeleteObject(brush);
        px = nx;
        py = ny;
        if ((nx == 0 && ny == 0) || step > count)
            break;
        int n = 0;
        do {
            x -= dx;
            y -= dy;
            c.Step();
            ++n;
            ++step;
        } while ((n <= m || c.Color() == band) && (x >= 0 || y >= 0) && step <= count);
        if (step >= count) {
            x = 0;
            y = 0;
        }
    }
}

void FillGradDiag(HDC DC, int Width, int Height, TColor ColorA, TColor ColorB, std::uint8_t Steps) {
    const bool mirrored = Width < 0;
    const int w = std::abs(Width), h = Height;
    if (w == 0 || h <= 0)
        return;
    COLORREF a = COLORREF(ColorToRGB(ColorA)), b = COLORREF(ColorToRGB(ColorB));
    if (mirrored)
        std::swap(a, b);
    const int count = int(std::sqrt(double(w) * w + double(h) * h)) + 1;
    const int half = std::max(count >> 1, 1);
    const int m = BandMinimum(Steps, 255);
    const std::int64_t dx = (std::int64_t(w) << 16) / half, dy = (std::int64_t(h) << 16) / half;
    TColorStepper c(a, b, count);
    const auto X = [&](int x) { return mirrored ? w - x : x; };
    const auto band = [&](std::vector<TPoint> pts, COLORREF color) {
        for (TPoint& p : pts)
            p.x = X(p.x);
        HBRUSH brush = CreateSolidBrush(color);
        HBRUSH old = SelectObject(DC, brush);
        DC->Pen()->SetStyle(psClear);
        DC->Polygon(pts);
        SelectObject(DC, old);
        DeleteObject(brush);
    };
    // First half: lines from the left edge (0, y) to the bottom edge (x, h), from the bottom-left
    // corner up to the diagonal.
    std::int64_t fx = 0, fy = std::int64_t(h) << 16;
    int px = 0, py = h;
    while (true) {
        const COLORREF color = c.Color();
        int n = 0;
        do {
            fx += dx;
            fy -= dy;
            c.Step();
            ++n;
        } while (n <= m && fy > 0);
        const int nx = std::min(int(fx >> 16), w), ny = std::max(int(fy >> 16), 0);
        if (ny <= 0) {
            // Up to the far corner: the second half paints over it, and no pixel of the
            // diagonal both halves meet on is left out.
            band({{0, py}, {px, h + 1}, {w + 1, h + 1}, {w + 1, 0}, {0, 0}}, color);
            break;
        }
        if (nx != px || ny != py)
            band({{0, py}, {px, h + 1}, {nx, h + 1}, {0, ny}}, color);
        px = nx;
        py = ny;
    }
    // Second half: lines from the top edge (x, 0) to the far edge (w, y), up to the far corner.
    fx = 0;
    fy = std::int64_t(h) << 16;
    px = 0;
    py = h;
    while (true) {
        const COLORREF color = c.Color();
        int n = 0;
        do {
            fx += dx;
            fy -= dy;
            c.Step();
            ++n;
        } while (n <= m && fy > 0);
        const int nx = std::min(int(fx >> 16), w), ny = std::max(int(fy >> 16), 0);
        if (ny <= 0) {
            band({{px, 0}, {w + 1, py}, {w + 1, 0}}, color);
            break;
        }
        if (nx != px || ny != py)
            band({{px, 0}, {w + 1, py}, {w + 1, ny}, {nx, 0}}, color);
        px = nx;
        py = ny;
    }
}

void BitFillBlit(HDC DC, int X, int Y, int TargetWidth, int TargetHeight, int FilledWidth, int FilledHeight,
                 std::uint32_t Rop) {
    if (FilledWidth <= 0 || FilledHeight <= 0)
        return;
    bool down = TargetHeight > FilledHeight;
    while (FilledHeight < TargetHeight || FilledWidth < TargetWidth) {
        if (down && FilledHeight < TargetHeight) {
            const int h = std::min(FilledHeight, TargetHeight - FilledHeight);
            BitBlt(DC, X, Y + FilledHeight, FilledWidth, h, DC, X, Y, Rop);
            FilledHeight += h;
            down = FilledWidth >= TargetWidth;
        } else {
            const int w = std::min(FilledWidth, TargetWidth - FilledWidth);
            BitBlt(DC, X + FilledWidth, Y, w, FilledHeight, DC, X, Y, Rop);
            FilledWidth += w;
            down = FilledHeight < TargetHeight;
        }
    }
}

void BoxBitMirrorBlit(HDC DC, int X, int Y, int Width, int Height, std::uint32_t Rop) {
    const int hw = Width >> 1, hh = Height >> 1, odd = hw & 1;
    StretchBlt(DC, X, Y + Height - 1, hw + 1, -hh, DC, X, Y, hw, hh, Rop);
    StretchBlt(DC, X + Width - 1, Y, -hw - odd, Height, DC, X, Y, hw - odd, Height, Rop);
}

void PaintGradient(TCanvas* Canvas, const TRect& Rect, TGradientDirection Direction, TColor StartColor,
                   TColor StopColor, std::uint8_t Steps) {
    const TColor start = ColorToRGB(StartColor), stop = ColorToRGB(StopColor);
    const int w = std::abs(Rect.Width()), h = std::abs(Rect.Height());
    if (w == 0 || h == 0)
        return;
    TBitmap bmp;
    bmp.SetSize(w, h);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psClear);
    c->Pen()->SetMode(pmCopy);
    c->Brush()->SetStyle(bsSolid);
    HDC dc = c->Handle();
    const auto fillStart = [&] {
        c->Brush()->SetColor(start);
        c->FillRect(TRect(0, 0, w, h));
    };
    switch (Direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
        if (start == stop) {
            // A clear pen leaves Rectangle's right and bottom edges: one past them covers all.
            c->Brush()->SetColor(start);
            c->Rectangle(0, 0, w + 1, h + 1);
        } else {
            FillGradDiag(dc, Direction == gdDiagonalUp ? w : -w, h, start, stop, Steps);
        }
        break;
    case gdHorizontalEnd:
    case gdHorizontalCenter:
        FillGrad(dc, 0, Direction == gdHorizontalEnd ? -1 : h / 2, h, start, stop, Steps);
        BitFillBlit(dc, 0, 0, w, h, 8, h, SRCCOPY);
        break;
    case gdVerticalEnd:
    case gdVerticalCenter:
        FillGrad(dc, Direction == gdVerticalEnd ? -1 : w / 2, 0, w, start, stop, Steps);
        BitFillBlit(dc, 0, 0, w, h, w, 8, SRCCOPY);
        break;
    case gdHorizontalBox:
        fillStart();
        FillGradRect(dc, w, h, w >> 2, 0, start, stop, Steps);
        BoxBitMirrorBlit(dc, 0, 0, w, h, SRCCOPY);
        break;
    case gdVerticalBox:
        FillGradRect(dc, w, h, 0, h >> 2, start, stop, Steps);
        BoxBitMirrorBlit(dc, 0, 0, w, h, SRCCOPY);
        break;
    case gdSquareBox:
        fillStart();
        FillGradRect(dc, w, h, 0, 0, start, stop, Steps);
        BoxBitMirrorBlit(dc, 0, 0, w, h, SRCCOPY);
        break;
    case gdBigSquareBox:
        FillGradRect(dc, w, h, w >> 2, h >> 2, start, stop, Steps);
        BoxBitMirrorBlit(dc, 0, 0, w, h, SRCCOPY);
        break;
    }
    Canvas->Draw(Rect.Left, Rect.Top, &bmp);
}

// ---------------------------------------------------------------- trapezoids

void SetTrapezoid(TTrap& Trap, const TRect& Rect, int Size, TTrapShape Shape, TDirection Direction,
                  TTrapDirect Direct) {
    const bool vertical = Direction == dirUp || Direction == dirDown;
    const int length = vertical ? Rect.Width() : Rect.Height();
    const int s = std::min(length, Size);
    const int offset = Shape == tsLeft ? 0 : Shape == tsCenter ? (length - s) / 2 : length - s;
    if (vertical) {
        const int x = Rect.Left + offset;
        Trap.P0.y = Trap.P1.y = Rect.Top;
        Trap.P2.y = Trap.P3.y = Rect.Bottom;
        const bool shortTop = (Direct == tdLargeToSmall && Direction == dirUp) ||
                              (Direct == tdSmallToLarge && Direction == dirDown);
        if (shortTop) {
            Trap.P0.x = x, Trap.P1.x = x + s, Trap.P3.x = Rect.Left, Trap.P2.x = Rect.Right;
        } else {
            Trap.P0.x = Rect.Left, Trap.P1.x = Rect.Right, Trap.P3.x = x, Trap.P2.x = x + s;
        }
    } else {
        const int y = Rect.Top + offset;
        Trap.P0.x = Trap.P3.x = Rect.Left;
        Trap.P1.x = Trap.P2.x = Rect.Right;
        const bool shortRight = (Direct == tdLargeToSmall && Direction == dirRight) ||
                                (Direct == tdSmallToLarge && Direction == dirLeft);
        if (shortRight) {
            Trap.P1.y = y, Trap.P2.y = y + s, Trap.P0.y = Rect.Top, Trap.P3.y = Rect.Bottom;
        } else {
            Trap.P0.y = y, Trap.P3.y = y + s, Trap.P1.y = Rect.Top, Trap.P2.y = Rect.Bottom;
        }
    }
}

TPoint Intersect(TPoint P1, TPoint P2, TPoint P3, TDirection Direction) {
    if (Direction == dirUp || Direction == dirDown) {
        if (P2.y == P1.y)
            return TPoint(P2.x, P3.y);
        const double x = P2.x - double(P2.x - P1.x) / (P2.y - P1.y) * (P2.y - P3.y);
        return TPoint(int(std::nearbyint(x)), P3.y);
    }
    if (P2.x == P1.x)
        return TPoint(P3.x, P2.y);
    const double y = P2.y - double(P2.y - P1.y) / (P2.x - P1.x) * (P2.x - P3.x);
    return TPoint(P3.x, int(std::nearbyint(y)));
}

TTrap AdjustTrapezoid(const TTrap& Trap, const TRect& Rect, TDirection Direction) {
    TTrap t;
    if (Direction == dirUp || Direction == dirDown) {
        t.P0 = Intersect(Trap.P0, Trap.P3, TPoint(0, Rect.Top), Direction);
        t.P3 = Intersect(Trap.P0, Trap.P3, TPoint(0, Rect.Bottom), Direction);
        t.P1 = Intersect(Trap.P1, Trap.P2, TPoint(0, Rect.Top), Direction);
        t.P2 = Intersect(Trap.P1, Trap.P2, TPoint(0, Rect.Bottom), Direction);
    } else {
        t.P0 = Intersect(Trap.P0, Trap.P1, TPoint(Rect.Left, 0), Direction);
        t.P1 = Intersect(Trap.P0, Trap.P1, TPoint(Rect.Right, 0), Direction);
        t.P3 = Intersect(Trap.P3, Trap.P2, TPoint(Rect.Left, 0), Direction);
        t.P2 = Intersect(Trap.P3, Trap.P2, TPoint(Rect.Right, 0), Direction);
    }
    return t;
}

void InflateTrapezoid(TTrap& Trap, int Amount) {
    const int a = Amount;
    Trap.P0 = TPoint(Trap.P0.x - a, Trap.P0.y - a);
    Trap.P1 = TPoint(Trap.P1.x + a, Trap.P1.y - a);
    Trap.P2 = TPoint(Trap.P2.x + a, Trap.P2.y + a);
    Trap.P3 = TPoint(Trap.P3.x - a, Trap.P3.y + a);
}

void DrawTrapezoidBorder(TCanvas* Canvas, const TTrap& Trap, TTrapBevelStyle Bevel, int Width) {
    Canvas->Pen()->SetWidth(1);
    const TColor first = Bevel == TTrapBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    const TColor second = Bevel == TTrapBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    for (int i = 0; i < Width; ++i) {
        Canvas->Pen()->SetColor(first);
        Canvas->MoveTo(Trap.P1.x - i - 1, Trap.P1.y + i);
        Canvas->LineTo(Trap.P2.x - i - 1, Trap.P2.y - i - 1);
        Canvas->LineTo(Trap.P3.x + i, Trap.P3.y - i - 1);
        Canvas->Pen()->SetColor(second);
        Canvas->LineTo(Trap.P0.x + i, Trap.P0.y + i);
        Canvas->LineTo(Trap.P1.x - i - 1, Trap.P1.y + i);
    }
}

// ---------------------------------------------------------------- parent painting

void DrawParentImage(TControl* Control, HDC DC, bool InvalidateParent) {
    TWinControl* parent = Control ? Control->Parent() : nullptr;
    if (!parent)
        return;
    const int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, -Control->Left(), -Control->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
    parent->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, saved);
    if (InvalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}
