// Glyphs and bars of the Gw widget library: group-bar backgrounds, LED and percent bars, arrows,
// the close cross, highlight boxes, check boxes and radio buttons (the classic look).
#include <algorithm>
#include <cmath>
#include <memory>

#include "Gwcommon.h"
#include "Gwgrafx.h"
#include "sysutils.h"

void DrawGroupBarBackground(TCanvas* Canvas, const TRect& Bounds, TGwVisualStyle VisualStyle,
                            TGwGradientColorStyle GradientColorStyle, TGwGroupBarGradientPath GradientPath,
                            TColor StartColor, TColor StopColor) {
    if (VisualStyle == vsClassic || !FullColorSupported || (VisualStyle == vsWinXP && GwThemesEnabled()))
        return;
    TColor first = StartColor, second = StopColor;
    if (GradientColorStyle != gcsCustom)
        GetGradientGroupBarColors(GradientColorStyle, first, second);
    if (GradientPath == gpBottomToTop)
        std::swap(first, second);
    PaintGradient(Canvas, Bounds, gdHorizontalEnd, first, second, 1);
}

void DrawLEDBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarColor, TColor BackColor,
                int Segments, int Percent) {
    const TRect& b = Bounds;
    const bool horizontal = Look.Orientation == orHorizontal;
    const int size = horizontal ? b.Width() : b.Height();
    if (Segments < 1) {
        if (!Look.Transparent) {
            Canvas->Pen()->SetStyle(psClear);
            Canvas->Brush()->SetColor(BackColor);
            Canvas->Rectangle(b.Left, b.Top, b.Right + 1, b.Bottom + 1);
            Canvas->Pen()->SetStyle(psSolid);
        }
        return;
    }
    int seg = size / Segments;
    if (size <= 80 && Segments > 10) {
        Segments = 10;
        seg = size / 10;
    }
    const int extra = seg > 0 ? (size - Segments * seg) / seg : 0;
    if (extra > 0)
        Segments += extra;
    const int margin = (size - Segments * seg) / 2;
    if (!Look.Transparent) {
        Canvas->Pen()->SetStyle(psClear);
        Canvas->Brush()->SetColor(BackColor);
        if (horizontal) {
            Canvas->Rectangle(b.Left, b.Top, b.Left + margin + 1, b.Bottom + 1);
            Canvas->Rectangle(b.Right - margin - 1, b.Top, b.Right + 1, b.Bottom + 1);
        } else {
            Canvas->Rectangle(b.Left, b.Top, b.Right + 1, b.Top + margin + 1);
            Canvas->Rectangle(b.Left, b.Bottom - margin - 1, b.Right + 1, b.Bottom + 1);
        }
    }
    if (Look.Transparent) {
        Canvas->Pen()->SetStyle(psClear);
    } else {
        Canvas->Pen()->SetColor(BackColor);
        Canvas->Pen()->SetStyle(psSolid);
    }
    Canvas->Brush()->SetColor(BarColor);
    const int lit =
        std::clamp(int(std::trunc(std::clamp(Percent, 0, 100) * double(Segments) / 100)), 0, Segments);
    const auto segment = [&](int i) {
        if (horizontal) {
            const int o = (i - 1) * seg + margin;
            return TRect(b.Left + o, b.Top, b.Left + o + seg, b.Bottom);
        }
        const int o = (Segments - i) * seg + margin;
        return TRect(b.Left, b.Top + o, b.Right, b.Top + o + seg);
    };
    for (int i = 1; i <= lit; ++i) {
        TRect s = segment(i);
        if (Look.Transparent) {
            ++s.Left;
            ++s.Top;
        }
        Canvas->Rectangle(s);
    }
    if (!Look.Transparent) {
        Canvas->Brush()->SetColor(BackColor);
        for (int i = lit + 1; i <= Segments; ++i)
            Canvas->Rectangle(segment(i));
    } else {
        Canvas->Pen()->SetStyle(psSolid);
    }
}

namespace {

struct TBarGeometry {
    TRect Bar, Rest;
    int X, Y;
    std::string Text;
};

TBarGeometry BarGeometry(TCanvas* Canvas, const TRect& b, TOrientation Orientation, std::uint16_t Percent,
                         bool ShowPercent) {
    TBarGeometry g;
    g.Text = ShowPercent ? Format("%u%%", unsigned(Percent)) : std::string();
    if (Percent >= 100)
        g.Bar = b;
    else if (Orientation == orHorizontal)
        g.Bar = TRect(b.Left, b.Top, b.Left + int(std::nearbyint(Percent * b.Width() / 100.0)), b.Bottom);
    else
        g.Bar =
            TRect(b.Left, b.Bottom - int(std::nearbyint(Percent * b.Height() / 100.0)), b.Right, b.Bottom);
    g.Rest = g.Bar;
    if (Orientation == orHorizontal) {
        g.Rest.Left = g.Bar.Right;
        g.Rest.Right = b.Right;
    } else {
        g.Rest.Bottom = g.Bar.Top;
        g.Rest.Top = b.Top;
    }
    SetTextAlign(Canvas->Handle(), TA_CENTER);
    g.Y = b.Top + (b.Height() - Canvas->TextHeight("X")) / 2;
    g.X = b.Left + b.Width() / 2;
    return g;
}

} // namespace

void DrawPercentBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarColor, TColor BackColor,
                    std::uint16_t Percent, bool ShowPercent) {
    Canvas->Font()->SetColor(BackColor);
    Canvas->Brush()->SetColor(BarColor);
    const TBarGeometry g = BarGeometry(Canvas, Bounds, Look.Orientation, Percent, ShowPercent);
    Canvas->TextRect(g.Bar, g.X, g.Y, g.Text);
    Canvas->Font()->SetColor(BarColor);
    if (Look.Transparent)
        Canvas->Brush()->SetStyle(bsClear);
    else
        Canvas->Brush()->SetColor(BackColor);
    Canvas->TextRect(g.Rest, g.X, g.Y, g.Text);
    if (Look.Transparent)
        Canvas->Brush()->SetStyle(bsSolid);
}

void DrawGradientPercentBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarStartColor,
                            TColor BarStopColor, TColor BackStartColor, TColor BackStopColor,
                            TGradientDirection Direction, std::uint16_t Percent, bool ShowPercent) {
    Canvas->Font()->SetColor(BackStartColor);
    Canvas->Brush()->SetColor(BarStartColor);
    const TBarGeometry g = BarGeometry(Canvas, Bounds, Look.Orientation, Percent, ShowPercent);
    const auto text = [&](const TRect& r) {
        if (g.Text.empty())
            return;
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextRect(r, g.X, g.Y, g.Text);
        Canvas->Brush()->SetStyle(bsSolid);
    };
    PaintGradient(Canvas, g.Bar, Direction, BarStartColor, BarStopColor, 1);
    text(g.Bar);
    Canvas->Font()->SetColor(BarStartColor);
    if (!Look.Transparent) {
        Canvas->Brush()->SetColor(BackStartColor);
        PaintGradient(Canvas, g.Rest, Direction, BackStartColor, BackStopColor, 1);
    }
    text(g.Rest);
}

namespace {

// The arrow colour: shadow when disabled, black in the Windows 95 look, the dark shadow in the XP
// look. The brush colour is restored
// and the pen style set back when the shape is drawn.
class TArrowPaint {
public:
    TArrowPaint(TCanvas* Canvas, TGwUIStyle UIStyle, bool Enabled)
        : FCanvas(Canvas), FSaved(Canvas->Brush()->Color()) {
        TColor c = clBlack;
        if (!Enabled)
            c = clBtnShadow;
        else if (UIStyle == uiWindowsXP)
            c = cl3DDkShadow; // no themed drop-down button to take the colour from
        FColor = c;
        Canvas->Brush()->SetColor(c);
        Canvas->Pen()->SetStyle(psClear);
    }
    ~TArrowPaint() {
        FCanvas->Pen()->SetStyle(psSolid);
        FCanvas->Brush()->SetColor(FSaved);
    }
    void Row(int x1, int x2, int y) {
        for (int x = x1; x <= x2; ++x)
            FCanvas->SetPixel(x, y, FColor);
    }
    void Column(int x, int y1, int y2) {
        for (int y = y1; y <= y2; ++y)
            FCanvas->SetPixel(x, y, FColor);
    }
    void Polygon(std::initializer_list<TPoint> pts) { FCanvas->Polygon(std::vector<TPoint>(pts)); }

private:
    TCanvas* FCanvas;
    TColor FSaved;
    TColor FColor;
};

// Centre of the bounds, one up for an even height.
TPoint Centre(const TRect& b) {
    int y = b.Top + b.Height() / 2;
    if (b.Height() % 2 == 0)
        --y;
    return TPoint(b.Left + b.Width() / 2, y);
}

} // namespace

void DrawDropDownArrow(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TGwArrowState State) {
    TArrowPaint p(Canvas, UIStyle, State.Enabled);
    TPoint c = Centre(Bounds);
    int x = c.x, y = c.y + (UIStyle == uiWindows95 ? 2 : 4);
    if (State.Down)
        ++x, ++y;
    if (UIStyle == uiWindows95) {
        for (int i = 0; i <= 3; ++i)
            p.Row(x - i, x + i, y - i);
    } else {
        p.Polygon({{x, y}, {x - 4, y - 5}, {x - 3, y - 7}, {x, y - 3}, {x + 3, y - 7}, {x + 5, y - 5}});
    }
}

void DrawCloseX(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TGwArrowState State) {
    TArrowPaint p(Canvas, UIStyle, State.Enabled);
    TPoint c = Centre(Bounds);
    int x = c.x, y = c.y;
    if (State.Down && State.Enabled)
        ++x, ++y;
    p.Polygon({{x, y - 1},
               {x + 3, y - 4},
               {x + 5, y - 4},
               {x + 5, y - 3},
               {x + 2, y},
               {x + 5, y + 4},
               {x + 5, y + 5},
               {x + 3, y + 5},
               {x, y + 1},
               {x - 3, y + 5},
               {x - 4, y + 5},
               {x - 4, y + 3},
               {x - 1, y},
               {x - 4, y - 3},
               {x - 4, y - 4},
               {x - 3, y - 5}});
}

void DrawSpinArrow(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TDirection Direction,
                   TGwArrowState State) {
    TArrowPaint p(Canvas, UIStyle, State.Enabled);
    TPoint c = Centre(Bounds);
    int x = c.x, y = c.y;
    // Offsets of the shape from the centre, by style and direction.
    static const TPoint shift[2][4] = {{{0, 1}, {0, 1}, {-2, 0}, {-2, 0}},
                                       {{0, 4}, {0, 2}, {-1, 0}, {-3, 0}}};
    x += shift[UIStyle][Direction].x;
    y += shift[UIStyle][Direction].y;
    if (State.Down && State.Enabled)
        ++x, ++y;
    if (UIStyle == uiWindows95) {
        for (int i = 0; i <= 3; ++i) {
            switch (Direction) {
            case dirUp: p.Row(x - i, x + i, y - 3 + i); break;
            case dirDown: p.Row(x - i, x + i, y - i); break;
            case dirLeft: p.Column(x + i, y - i, y + i); break;
            case dirRight: p.Column(x + 3 - i, y - i, y + i); break;
            }
        }
        return;
    }
    switch (Direction) {
    case dirUp: p.Polygon({{x, y - 5}, {x + 4, y}, {x + 1, y}, {x, y - 2}, {x - 1, y}, {x - 4, y}}); break;
    case dirDown:
        p.Polygon({{x, y}, {x - 3, y - 4}, {x, y - 4}, {x, y - 3}, {x + 1, y - 4}, {x + 4, y - 4}});
        break;
    case dirLeft:
        p.Polygon({{x, y}, {x + 4, y - 4}, {x + 4, y - 1}, {x + 3, y}, {x + 4, y + 1}, {x + 4, y + 4}});
        break;
    case dirRight: p.Polygon({{x + 4, y}, {x, y + 4}, {x, y + 1}, {x + 1, y}, {x, y - 1}, {x, y - 4}}); break;
    }
}

void DrawHighlightBox(TCanvas* Canvas, const TRect& Bounds, TGradientDirection Direction, TColor StartColor,
                      TColor StopColor) {
    if (!FullColorSupported)
        return;
    const int saved = SaveDC(Canvas->Handle());
    ExcludeClipRect(Canvas->Handle(), Bounds.Left + 2, Bounds.Top + 2, Bounds.Right - 2, Bounds.Bottom - 2);
    PaintGradient(Canvas, Bounds, Direction, StartColor, StopColor, 1);
    RestoreDC(Canvas->Handle(), saved);
}

namespace {

// The fill of a glyph by focus, read-only state and display state; Mark becomes the shadow
// colour when disabled.
TColor GlyphFill(const TGwGlyphColors& k, TColor& Mark) {
    Mark = k.HighlightColor;
    switch (k.DisplayState) {
    case bdsDown: return DarkerColor(k.FocusColor, 20);
    case bdsDisabled: Mark = clBtnShadow; return k.DisabledColor;
    default: break;
    }
    if (k.Focused)
        return k.ReadOnly && k.ReadOnlyColorOnFocus ? k.ReadOnlyColor : k.FocusColor;
    return k.ReadOnly ? k.ReadOnlyColor : k.FillColor;
}

TColor GlyphFrame(const TGwGlyphColors& k) {
    return k.DisplayState == bdsHot && k.HotTrackStyle == htsFrame ? k.HotTrackStopColor : k.FrameColor;
}

} // namespace

void DrawCheckBox(TCanvas* Canvas, const TRect& Bounds, TCheckBoxState State, const TGwGlyphColors& Look) {
    const TRect r = DrawBox(Canvas, Bounds, GlyphFrame(Look));
    TColor mark;
    Canvas->Brush()->SetColor(GlyphFill(Look, mark));
    Canvas->FillRect(r);
    if (State == cbChecked) {
        // Rows of each column of the check mark, from column 3 to 9.
        static const int firstRow[] = {5, 6, 7, 6, 5, 4, 3};
        const int x0 = r.Left - 1, y0 = r.Top - 1;
        for (int c = 0; c < 7; ++c)
            for (int row = firstRow[c]; row < firstRow[c] + 3; ++row)
                Canvas->SetPixel(x0 + 3 + c, y0 + row, mark);
    } else if (State == cbGrayed) {
        Canvas->Brush()->SetColor(mark);
        Canvas->FillRect(TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    }
    if (Look.DisplayState == bdsHot) {
        if (Look.HotTrackStyle == htsInterior)
            DrawHighlightBox(Canvas, r, gdDiagonalDown, Look.HotTrackStartColor, Look.HotTrackStopColor);
        else
            DrawBox(Canvas, r, Look.HotTrackStopColor);
    }
}

void DrawRadioButton(TCanvas* Canvas, const TRect& Bounds, bool Checked, const TGwGlyphColors& Look,
                     TColor Color, bool Transparent, TColor TransparentColor) {
    const int w = Bounds.Width(), h = Bounds.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap bmp;
    bmp.SetSize(w, h);
    TCanvas* c = bmp.Canvas();
    TColor mark;
    c->Brush()->SetColor(GlyphFill(Look, mark));
    c->FillRect(TRect(0, 0, w, h));
    const TColor e = GlyphFrame(Look);
    const TColor soft = FullColorSupported ? LighterColor(e, 10) : e;
    if (Look.DisplayState == bdsHot && Look.HotTrackStyle == htsInterior && FullColorSupported) {
        const int saved = SaveDC(c->Handle());
        ExcludeClipRect(c->Handle(), 4, 4, w - 4, h - 4);
        ExcludeClipRect(c->Handle(), 5, 3, 8, 10);
        ExcludeClipRect(c->Handle(), 3, 5, 10, 8);
        PaintGradient(c, TRect(0, 0, w, h), gdDiagonalDown, Look.HotTrackStartColor, Look.HotTrackStopColor,
                      1);
        RestoreDC(c->Handle(), saved);
    }
    const TColor outside = Transparent ? TransparentColor : Color;
    const auto blend = [&](int x, int y, TColor over, int weight) {
        c->SetPixel(x, y, BlendColors(over, c->GetPixel(x, y), std::uint8_t(weight)));
    };
    // The 13 x 13 circle: straight runs, their ends, the softened diagonals, and the corners outside.
    for (int i = 5; i <= 7; ++i) {
        c->SetPixel(i, 1, soft);
        c->SetPixel(i, 11, soft);
        c->SetPixel(1, i, soft);
        c->SetPixel(11, i, soft);
    }
    for (TPoint p : {TPoint(4, 1), TPoint(8, 1), TPoint(1, 4), TPoint(11, 4), TPoint(1, 8), TPoint(11, 8),
                     TPoint(4, 11), TPoint(8, 11)})
        c->SetPixel(p.x, p.y, e);
    if (Look.DisplayState == bdsHot && Look.HotTrackStyle == htsFrame) {
        for (TPoint p : {TPoint(3, 2), TPoint(9, 2), TPoint(2, 3), TPoint(10, 3), TPoint(2, 9), TPoint(10, 9),
                         TPoint(3, 10), TPoint(9, 10)})
            blend(p.x, p.y, e, 150);
        for (TPoint p : {TPoint(4, 2), TPoint(8, 2), TPoint(2, 4), TPoint(10, 4), TPoint(2, 8), TPoint(10, 8),
                         TPoint(4, 10), TPoint(8, 10)})
            blend(p.x, p.y, e, 80);
    }
    // Diagonal edge: the pixel on the curve at full weight, its outer neighbour at a low weight.
    for (TPoint p : {TPoint(2, 2), TPoint(10, 2), TPoint(2, 10), TPoint(10, 10), TPoint(3, 1), TPoint(9, 1),
                     TPoint(1, 3), TPoint(11, 3), TPoint(1, 9), TPoint(11, 9), TPoint(3, 11), TPoint(9, 11)})
        blend(p.x, p.y, e, 128);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - 6, dy = y - 6;
            if (x < 1 || x > 11 || y < 1 || y > 11 || dx * dx + dy * dy > 36)
                c->SetPixel(x, y, outside);
        }
    if (!Transparent && FullColorSupported)
        for (TPoint p : {TPoint(2, 1), TPoint(10, 1), TPoint(1, 2), TPoint(11, 2), TPoint(1, 10),
                         TPoint(11, 10), TPoint(2, 11), TPoint(10, 11)})
            c->SetPixel(p.x, p.y, BlendColors(e, Color, 40));
    if (Checked) {
        const TColor dot = Look.DisplayState == bdsDisabled ? clBtnShadow : Look.HighlightColor;
        for (int y = 4; y <= 8; ++y)
            for (int x = 4; x <= 8; ++x) {
                const bool corner = (x == 4 || x == 8) && (y == 4 || y == 8);
                if (!corner)
                    c->SetPixel(x, y, dot);
                else if (FullColorSupported)
                    blend(x, y, dot, 153);
            }
    }
    Canvas->Draw(Bounds.Left, Bounds.Top, &bmp);
}
