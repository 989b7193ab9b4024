// Border and frame drawing of the Gw widget library: sides, bevels, 3-D and button borders, the
// twelve frame styles in system colours or shaded from one colour, boxes, rounded flat borders,
// panel frames, the non-client frame of framed controls and drop shadows.
#include "Gwcommon.h"

#include "winapi.h"

namespace {

struct TPair {
    TColor UL, LR;
};

// Upper-left and lower-right colours of each style (the rows the one-ring styles draw with).
const TPair StyleColors[] = {
    {clWindow, clWindow},          {cl3DDkShadow, cl3DDkShadow},
    {clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnHighlight}, {clNone, clNone},
    {cl3DDkShadow, clBtnFace},     {clNone, clNone},
    {clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnShadow},
};

TRect Shrink(const TRect& r, TSides sides, int by) {
    TRect o = r;
    if (sides.Contains(sdLeft))
        o.Left += by;
    if (sides.Contains(sdTop))
        o.Top += by;
    if (sides.Contains(sdRight))
        o.Right -= by;
    if (sides.Contains(sdBottom))
        o.Bottom -= by;
    return o;
}

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

// Two rings: outer, then inner on what the outer left.
TRect TwoRings(TCanvas* c, const TRect& r, TPair outer, TPair inner, TSides sides) {
    return DrawSides(c, DrawSides(c, r, outer.UL, outer.LR, sides), inner.UL, inner.LR, sides);
}

// Groove and bump: two offset rings, with the corner pixels each side set would leave wrong.
TRect DrawEtched(TCanvas* c, const TRect& r, TColor ul, TColor lr, TSides s) {
    const bool L = s.Contains(sdLeft), T = s.Contains(sdTop), R = s.Contains(sdRight),
               B = s.Contains(sdBottom);
    if (R)
        c->SetPixel(r.Right - 1, r.Top, lr);
    else if (T)
        c->SetPixel(r.Right - 1, r.Top, ul);
    if (B)
        c->SetPixel(r.Left, r.Bottom - 1, lr);
    else if (L)
        c->SetPixel(r.Left, r.Bottom - 1, ul);
    if (T && !L)
        c->SetPixel(r.Left, r.Top + 1, lr);
    if (L && !T)
        c->SetPixel(r.Left + 1, r.Top, lr);
    if (B && !R)
        c->SetPixel(r.Right - 1, r.Bottom - 2, ul);
    if (R && !B)
        c->SetPixel(r.Right - 2, r.Bottom - 1, ul);
    const TRect moved(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
    DrawSides(c, moved, lr, lr, s);
    DrawSides(c, TRect(moved.Left - 1, moved.Top - 1, moved.Right - 1, moved.Bottom - 1), ul, ul, s);
    return Shrink(r, s, 2);
}

} // namespace

TRect DrawSides(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TColor LRColor, TSides Sides) {
    const TRect& r = Bounds;
    if (ULColor != clNone) {
        Canvas->Pen()->SetColor(ULColor);
        if (Sides.Contains(sdLeft))
            Line(Canvas, r.Left, r.Top, r.Left, r.Bottom);
        if (Sides.Contains(sdTop))
            Line(Canvas, r.Left, r.Top, r.Right, r.Top);
    }
    if (LRColor != clNone) {
        Canvas->Pen()->SetColor(LRColor);
        if (Sides.Contains(sdRight))
            Line(Canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
        if (Sides.Contains(sdBottom))
            Line(Canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
    }
    return Shrink(r, Sides, 1);
}

TRect DrawBevel(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TColor LRColor, int Width,
                TSides Sides) {
    Canvas->Pen()->SetWidth(1);
    TRect r = Bounds;
    for (int i = 0; i < Width; ++i)
        r = DrawSides(Canvas, r, ULColor, LRColor, Sides);
    return r;
}

TRect DrawCtl3DBorderSides(TCanvas* Canvas, const TRect& Bounds, TGw3DLook Look, TSides Sides) {
    if (Look == TGw3DLook::Lowered)
        return TwoRings(Canvas, Bounds, {clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}, Sides);
    return TwoRings(Canvas, Bounds, {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, Sides);
}

TRect DrawButtonBorderSides(TCanvas* Canvas, const TRect& Bounds, TGwButtonLook Look, TSides Sides) {
    if (Look == TGwButtonLook::Down)
        return TwoRings(Canvas, Bounds, {clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}, Sides);
    return TwoRings(Canvas, Bounds, {clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}, Sides);
}

TRect DrawColorButtonBorderSides(TCanvas* Canvas, const TRect& Bounds, TColor Color, TGwButtonLook Look,
                                 TSides Sides) {
    const TColor d100 = DarkerColor(Color, 100), d50 = DarkerColor(Color, 50);
    if (Look == TGwButtonLook::Down)
        return TwoRings(Canvas, Bounds, {d100, d100}, {d50, d50}, Sides);
    return TwoRings(Canvas, Bounds, {LighterColor(Color, 100), d100}, {LighterColor(Color, 40), d50}, Sides);
}

TRect DrawBorderSides(TCanvas* Canvas, const TRect& Bounds, TFrameStyle Style, TSides Sides) {
    switch (Style) {
    case fsFlat:
    case fsStatus:
    case fsPopup: return DrawSides(Canvas, Bounds, StyleColors[Style].UL, StyleColors[Style].LR, Sides);
    case fsFlatBold: return DrawBevel(Canvas, Bounds, StyleColors[Style].UL, StyleColors[Style].LR, 2, Sides);
    case fsLowered:
    case fsRaised:
        return DrawCtl3DBorderSides(Canvas, Bounds,
                                    Style == fsLowered ? TGw3DLook::Lowered : TGw3DLook::Raised, Sides);
    case fsButtonDown:
    case fsButtonUp:
        return DrawButtonBorderSides(Canvas, Bounds,
                                     Style == fsButtonDown ? TGwButtonLook::Down : TGwButtonLook::Up, Sides);
    case fsGroove:
    case fsBump: return DrawEtched(Canvas, Bounds, StyleColors[Style].UL, StyleColors[Style].LR, Sides);
    default: return Bounds;
    }
}

TRect DrawColorBorderSides(TCanvas* Canvas, const TRect& Bounds, TColor Color, TFrameStyleEx Style,
                           TSides Sides) {
    const TColor d50 = DarkerColor(Color, 50), d100 = DarkerColor(Color, 100);
    const TColor l50 = LighterColor(Color, 50), l100 = LighterColor(Color, 100);
    switch (Style) {
    case fsFlat: return DrawSides(Canvas, Bounds, d50, d50, Sides);
    case fsStatus: return DrawSides(Canvas, Bounds, d50, l100, Sides);
    case fsPopup: return DrawSides(Canvas, Bounds, l100, d50, Sides);
    case fsFlatBold: return DrawBevel(Canvas, Bounds, d50, d50, 2, Sides);
    case fsLowered: return TwoRings(Canvas, Bounds, {d50, l100}, {d100, l50}, Sides);
    case fsRaised: return TwoRings(Canvas, Bounds, {l50, d100}, {l100, d50}, Sides);
    case fsButtonDown:
    case fsButtonUp:
        return DrawColorButtonBorderSides(
            Canvas, Bounds, Color, Style == fsButtonDown ? TGwButtonLook::Down : TGwButtonLook::Up, Sides);
    case fsGroove: return DrawEtched(Canvas, Bounds, d50, l100, Sides);
    case fsBump:
    case fsFlatRounded: return DrawEtched(Canvas, Bounds, l100, d50, Sides);
    default: return Bounds;
    }
}

TRect DrawBox(TCanvas* Canvas, const TRect& Bounds, TColor Color) {
    return DrawSides(Canvas, Bounds, Color, Color, AllSides);
}

TRect DrawBoxCorners(TCanvas* Canvas, const TRect& Bounds, TColor Color, int Length) {
    const int l = Bounds.Left, t = Bounds.Top, r = Bounds.Right - 1, b = Bounds.Bottom - 1, n = Length;
    Canvas->Pen()->SetColor(Color);
    const TPoint corners[4][3] = {
        {{l, t + n - 1}, {l, t}, {l + n, t}},
        {{r - n + 1, t}, {r, t}, {r, t + n}},
        {{r, b - n + 1}, {r, b}, {r - n, b}},
        {{l + n - 1, b}, {l, b}, {l, b - n}},
    };
    for (const auto& c : corners)
        Canvas->Polyline(c, 3);
    return Shrink(Bounds, AllSides, 1);
}

TRect DrawDashedBorder(TCanvas* Canvas, const TRect& Bounds, TColor Color) {
    Canvas->Pen()->SetStyle(psDot);
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(Bounds);
    Canvas->Brush()->SetStyle(bsSolid);
    return Shrink(Bounds, AllSides, 1);
}

TRect DrawFocusBorder(TCanvas* Canvas, const TRect& Bounds) {
    const TRect& r = Bounds;
    for (int y = r.Top + 1; y < r.Bottom; y += 2) {
        Canvas->SetPixel(r.Left, y, clBlack);
        Canvas->SetPixel(r.Right - 1, y, clBlack);
    }
    for (int x = r.Left + 1; x < r.Right; x += 2) {
        Canvas->SetPixel(x, r.Top, clBlack);
        Canvas->SetPixel(x, r.Bottom - 1, clBlack);
    }
    return Shrink(Bounds, AllSides, 1);
}

TRect DrawRoundedFlatBorder(TCanvas* Canvas, const TRect& Bounds, TColor Color, TSides Sides) {
    const TRect& r = Bounds;
    const bool L = Sides.Contains(sdLeft), T = Sides.Contains(sdTop), R = Sides.Contains(sdRight),
               B = Sides.Contains(sdBottom);
    const int y1 = T ? r.Top + 2 : r.Top, y2 = B ? r.Bottom - 2 : r.Bottom;
    const int x1 = L ? r.Left + 2 : r.Left, x2 = R ? r.Right - 2 : r.Right;
    Canvas->Pen()->SetColor(Color);
    if (L)
        Line(Canvas, r.Left, y1, r.Left, y2);
    if (T)
        Line(Canvas, x1, r.Top, x2, r.Top);
    if (R)
        Line(Canvas, r.Right - 1, y1, r.Right - 1, y2);
    if (B)
        Line(Canvas, x1, r.Bottom - 1, x2, r.Bottom - 1);
    if (L && T)
        Canvas->SetPixel(r.Left + 1, r.Top + 1, Color);
    if (T && R)
        Canvas->SetPixel(r.Right - 2, r.Top + 1, Color);
    if (R && B)
        Canvas->SetPixel(r.Right - 2, r.Bottom - 2, Color);
    if (B && L)
        Canvas->SetPixel(r.Left + 1, r.Bottom - 2, Color);
    return TRect(x1, y1, x2, y2);
}

namespace {

// The rings of a rounded frame: in the parent colour, then the border or the control colour.
TRect RoundedFrame(TCanvas* c, const TRect& r, const TGwInnerOuterFrame& f, TColor flat, bool outer) {
    const bool bordered = f.BorderWidth > 0 || f.InnerStyle != fsNone;
    if (outer) {
        if (!f.Transparent) {
            const TRect in = DrawBevel(c, r, f.ParentColor, f.ParentColor, 1);
            const TColor ring = bordered ? f.BorderColor : f.Color;
            DrawBevel(c, in, ring, ring, 1);
        } else if (bordered) {
            DrawBevel(c, Shrink(r, AllSides, 1), f.BorderColor, f.BorderColor, 1);
        }
    } else {
        const TRect in = DrawBevel(c, r, f.BorderColor, f.BorderColor, 1);
        if (!f.Transparent)
            DrawBevel(c, in, f.Color, f.Color, 1);
    }
    return DrawRoundedFlatBorder(c, r, flat, f.Sides);
}

TRect OneFrame(TCanvas* c, const TRect& r, TFrameStyleEx style, const TGwInnerOuterFrame& f, bool outer) {
    const TColor flat = AdjustColor(f.FlatColor, f.FlatColorAdjustment);
    switch (style) {
    case fsFlat:
        if (!outer && f.SoftInnerFlatBorder) {
            c->Pen()->SetColor(flat);
            Line(c, r.Left, r.Top + 1, r.Left, r.Bottom - 1);
            Line(c, r.Left + 1, r.Top, r.Right - 1, r.Top);
            Line(c, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
            Line(c, r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
            return Shrink(r, AllSides, 1);
        }
        return DrawBevel(c, r, flat, flat, 1, f.Sides);
    case fsFlatBold: return DrawBevel(c, r, flat, flat, 2, f.Sides);
    case fsFlatRounded: return RoundedFrame(c, r, f, flat, outer);
    case fsPopup: return DrawBevel(c, r, f.BorderHighlight, f.BorderShadow, f.BevelWidth, f.Sides);
    case fsStatus: return DrawBevel(c, r, f.BorderShadow, f.BorderHighlight, f.BevelWidth, f.Sides);
    default: return DrawBorderSides(c, r, style, f.Sides);
    }
}

} // namespace

TRect DrawInnerOuterBorders(TCanvas* Canvas, const TRect& Bounds, const TGwInnerOuterFrame& Frame) {
    TRect r = OneFrame(Canvas, Bounds, Frame.OuterStyle, Frame, true);
    if (Frame.BorderWidth > 0)
        r = DrawBevel(Canvas, r, Frame.BorderColor, Frame.BorderColor, Frame.BorderWidth, Frame.Sides);
    return OneFrame(Canvas, r, Frame.InnerStyle, Frame, false);
}

void DrawFrame(TCanvas* Canvas, int Width, int Height, TFrameStyle Style, TColor Color, TColor FrameColor,
               TSides Sides, TGwFrameRing Ring) {
    TRect r(0, 0, Width, Height);
    if (Ring == TGwFrameRing::PaintColorRing)
        r = DrawBevel(Canvas, r, Color, Color, 2, AllSides);
    if (Style == fsFlat)
        DrawSides(Canvas, r, FrameColor, FrameColor, Sides);
    else if (Style == fsFlatBold)
        DrawBevel(Canvas, r, FrameColor, FrameColor, 2, Sides);
    else if (Color != clWindow)
        DrawColorBorderSides(Canvas, r, Color, Style, Sides);
    else
        DrawBorderSides(Canvas, r, Style, Sides);
}

void DrawDropShadow(TCanvas* Canvas, const TRect& Bounds, int Depth, TColor ShadowColor) {
    if (Depth <= 0)
        return;
    const int L = Bounds.Left, T = Bounds.Top, R = Bounds.Right, B = Bounds.Bottom, D = Depth;
    const int step = 128 / D;
    const auto shade = [&](int x, int y, int w) {
        Canvas->SetPixel(x, y, BlendColors(ShadowColor, Canvas->GetPixel(x, y), std::uint8_t(w)));
    };
    for (int i = 1; i <= D; ++i) {
        const int w = 128 - (i - 1) * step;
        for (int y = B - 1; y <= B + i - 2; ++y)
            shade(L + 2 * D - i, y, w);
        shade(L + 2 * D - i + 1, B + i - 2, w);
        for (int x = L + 2 * D - i + 1; x <= R + i - 2; ++x)
            shade(x, B - 1 + i, w);
        shade(R + i - 2, B + i - 2, w);
        for (int x = R - 1; x <= R + i - 2; ++x)
            shade(x, T + 2 * D - i, w);
        shade(R + i - 2, T + 2 * D - i + 1, w);
        for (int y = T + 2 * D - i + 1; y <= B + i - 2; ++y)
            shade(R - 1 + i, y, w);
    }
}

int FrameStyleWidth(TFrameStyleEx Style, int BevelWidth) {
    switch (Style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return BevelWidth;
    default: return 2;
    }
}

void InvalidateWindowFrame(HWND Handle, const TRect& R) {
    // Asking a window context for its clip box would itself schedule a frame repaint here, so a
    // frame with nothing showing is found from the window's visibility.
    if (!Handle || !IsWindowVisible(Handle))
        return;
    RedrawWindow(Handle, &R, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void InvalidateControls(TWinControl* Container) {
    for (int i = 0; i < Container->ControlCount(); ++i) {
        TControl* child = Container->Controls(i);
        if (auto* t = dynamic_cast<IGwTransparentControl*>(child); t && t->Transparent())
            child->Invalidate();
    }
}
