// The plain frame control and the meter.
#include "Gwborder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Gwframing.h"
#include "messages.h"
#include "wingdi.h"

// ---------------------------------------------------------------- TGwBorder

TGwBorder::TGwBorder(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(Left(), Top(), 50, 50); }

TGwBorder::~TGwBorder() = default;

void TGwBorder::SetFlatColor(TColor Value) {
    if (FFlatColor == Value)
        return;
    FFlatColor = Value;
    Invalidate();
}

void TGwBorder::SetFlatColorAdjustment(int Value) {
    if (FFlatColorAdjustment == Value)
        return;
    FFlatColorAdjustment = Value;
    Invalidate();
}

void TGwBorder::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFrameController.Removed(AComponent);
}

void TGwBorder::CustomFramingChanged() {
    if (!PullBorderFraming(
            this, FrameController(), FrameControllerNotifications,
            {FBorderOuter, FBorderSides, FFlatColor, FFlatColorAdjustment, FBorderHighlight, FBorderShadow}))
        return;
    FrameChanged();
    Invalidate();
}

void TGwBorder::AdjustClientRect(TRect& Rect) {
    InflateRect(Rect, -FBorderWidth, -FBorderWidth);
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        const int w = FrameStyleWidth(style, FBevelWidth);
        if (FBorderSides.Contains(sdLeft))
            Rect.Left += w;
        if (FBorderSides.Contains(sdTop))
            Rect.Top += w;
        if (FBorderSides.Contains(sdRight))
            Rect.Right -= w;
        if (FBorderSides.Contains(sdBottom))
            Rect.Bottom -= w;
    }
    if (Rect.Bottom < Rect.Top || Rect.Right < Rect.Left)
        Rect = TRect();
}

TRect TGwBorder::GetClientRect() {
    TRect r(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

void TGwBorder::Paint() {
    TCanvas* c = Canvas();
    TRect r(0, 0, Width(), Height());
    if (ComponentState().Contains(csDesigning) && FBorderOuter == fsNone && FBorderWidth > 0) {
        c->Pen()->SetStyle(psDot);
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(r);
        c->Brush()->SetStyle(bsSolid);
        c->Pen()->SetStyle(psSolid);
        InflateRect(r, -1, -1);
    }
    TGwInnerOuterFrame f;
    f.OuterStyle = FBorderOuter;
    f.InnerStyle = FBorderInner;
    f.BorderWidth = FBorderWidth;
    f.Sides = FBorderSides;
    f.BevelWidth = FBevelWidth;
    f.BorderColor = FBorderColor;
    f.BorderHighlight = FBorderHighlight;
    f.BorderShadow = FBorderShadow;
    f.FlatColor = FFlatColor;
    f.FlatColorAdjustment = FFlatColorAdjustment;
    f.Color = InteriorColor();
    f.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    f.Transparent = !ControlStyle().Contains(csOpaque);
    DrawInnerOuterBorders(c, r, f);
}

void TGwBorder::CMMouseEnter(TMessage& Message) {
    TGraphicControl::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGwBorder::CMMouseLeave(TMessage& Message) {
    TGraphicControl::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---------------------------------------------------------------- TGwMeter

TGwMeter::TGwMeter(TComponent* AOwner) : TGwBorder(AOwner), FBitmap(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csFramed, csOpaque});
    SetBorderOuter(fsStatus);
    SetBounds(Left(), Top(), 150, 30);
    FBitmap->OnChange = [this](TObject*) { Repaint(); };
}

TGwMeter::~TGwMeter() = default;

void TGwMeter::SetMin(int Value) {
    FMin = Value;
    if (FMin == FMax)
        FMin = FMax - 1;
    FValue = std::clamp(FValue, std::min(FMin, FMax), std::max(FMin, FMax));
    Repaint();
}

void TGwMeter::SetMax(int Value) {
    FMax = Value;
    if (FMax == FMin)
        FMax = FMin + 1;
    FValue = std::clamp(FValue, std::min(FMin, FMax), std::max(FMin, FMax));
    Repaint();
}

void TGwMeter::SetValue(int Value) {
    FValue = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
    Repaint();
}

int TGwMeter::GetPercent() const { return int((long long)(FValue - FMin) * 100 / (FMax - FMin)); }

void TGwMeter::SetBitmap(TBitmap* Value) {
    if (Value)
        FBitmap->Assign(Value);
    else
        FBitmap->SetSize(0, 0);
    Repaint();
}

void TGwMeter::SetSegCount(int Index, int Value) { Change(FSegCount[Index], std::clamp(Value, 1, 255)); }

TTrap TGwMeter::PulledIn(const TTrap& T) const {
    TTrap p = T;
    p.P1.x -= 1;
    p.P2.x -= 1;
    p.P2.y -= 1;
    p.P3.y -= 1;
    return p;
}

static std::vector<TPoint> Points(const TTrap& T) { return {T.P0, T.P1, T.P2, T.P3}; }

void TGwMeter::Paint() {
    if (Width() < 4 || Height() < 4)
        return;
    const bool trap = FMeterShape == msTrapezoidal;
    TRect r(0, 0, Width(), Height());
    if (!trap) {
        TGwBorder::Paint();
        r = GetClientRect();
    }
    const TPoint origin = r.TopLeft();
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    TBitmap bmp;
    bmp.SetSize(r.Width(), r.Height());
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(trap ? clBtnFace : FBackColor);
    c->FillRect(TRect(0, 0, r.Width(), r.Height()));
    if (!trap)
        r = TRect(0, 0, r.Width(), r.Height());
    FBevelInset = 0;
    if (BorderOuter() == fsLowered || BorderOuter() == fsRaised) {
        if (trap) {
            TTrap t;
            SetTrapezoid(t, r, FTrapezoidMin, FTrapezoidShape, FDirection, FTrapezoidDir);
            if (FBackColor != clBtnFace) {
                c->Brush()->SetColor(FBackColor);
                c->Pen()->SetColor(FBackColor);
                c->Polygon(Points(PulledIn(t)));
            }
            DrawTrapezoidBorder(c, t, TTrapBevelStyle::bsLowered, BevelWidth());
        }
        FBevelInset = BevelWidth();
        InflateRect(r, -BevelWidth(), -BevelWidth());
    }
    if (!trap) {
        r.Left -= 1;
        r.Top -= 1;
    }
    if (FMeterType == mtLED)
        DrawSegmentBar(c, r);
    else
        DrawStandardBar(c, r);
    Canvas()->Draw(origin.x, origin.y, &bmp);
}

void TGwMeter::DrawStandardBar(TCanvas* c, TRect R) {
    const bool trap = FMeterShape == msTrapezoidal;
    TRect F = GetClientRect();
    TTrap outer, bar;
    if (trap && FTrapezoidDir == tdSmallToLarge) {
        SetTrapezoid(outer, F, FTrapezoidMin, FTrapezoidShape, FDirection, FTrapezoidDir);
        SetTrapezoid(bar, R, FTrapezoidMin - 2 * FBevelInset, FTrapezoidShape, FDirection, FTrapezoidDir);
    }
    const long long span = FMax - FMin;
    auto q = [&](int x) { return int(std::int16_t((FValue - FMin) * (long long)x / span)); };
    switch (FDirection) {
    case dirRight:
        R.Right = q(R.Right);
        F.Right = R.Right;
        R.Right = std::max(R.Right, R.Left);
        break;
    case dirDown:
        R.Bottom = q(R.Bottom);
        F.Bottom = R.Bottom;
        R.Bottom = std::max(R.Bottom, R.Top);
        break;
    case dirUp:
        R.Top = std::min(int(std::int16_t(R.Top + R.Bottom - q(R.Bottom))), R.Bottom);
        F.Top = R.Top;
        break;
    case dirLeft:
        R.Left = std::min(int(std::int16_t(R.Left + R.Right - q(R.Right))), R.Right);
        F.Left = R.Left;
        break;
    }
    if (trap && FTrapezoidDir == tdSmallToLarge) {
        outer = AdjustTrapezoid(outer, F, FDirection);
        bar = AdjustTrapezoid(bar, R, FDirection);
    }
    if (trap && FTrapezoidDir == tdLargeToSmall) {
        SetTrapezoid(outer, F, FTrapezoidMin, FTrapezoidShape, FDirection, FTrapezoidDir);
        SetTrapezoid(bar, R, FTrapezoidMin - 2 * FBevelInset, FTrapezoidShape, FDirection, FTrapezoidDir);
    }
    if (FBitmap->Width() > 0 && FBitmap->Height() > 0) {
        if (!trap) {
            TileBitmap(c, FBitmap.get(), R);
        } else if (FValue > 0) {
            const int saved = c->SaveDC();
            HRGN rgn = CreatePolygonRgn(Points(PulledIn(bar)).data(), 4);
            c->SelectClipRgn(rgn);
            TileBitmap(c, FBitmap.get(), R);
            c->RestoreDC(saved);
            DeleteObject(rgn);
        }
    } else {
        c->Brush()->SetStyle(FBrushStyle);
        c->Brush()->SetColor(FBarColor);
        c->Pen()->SetColor(FBarColor);
        if (trap) {
            if (FValue > 0)
                c->Polygon(Points(PulledIn(bar)));
        } else if (FBrushStyle == bsSolid) {
            c->FillRect(R);
        } else {
            c->Rectangle(R);
        }
        c->Brush()->SetStyle(bsSolid);
    }
    if (FMeterType == mtBar3D && 2 * BevelWidth() < F.Width() && 2 * BevelWidth() < F.Height()) {
        if (trap)
            DrawTrapezoidBorder(c, outer, TTrapBevelStyle::bsRaised, BevelWidth());
        else
            DrawBevel(c, R, clBtnHighlight, clBtnShadow, BevelWidth());
    }
    if (FShowPercent) {
        char text[16];
        std::snprintf(text, sizeof text, "%d%%", GetPercent());
        c->Brush()->SetStyle(bsClear);
        c->SetFont(Font());
        const TRect cr = GetClientRect();
        c->TextOut((cr.Width() - c->TextWidth(text)) / 2, (cr.Height() - c->TextHeight(text)) / 2, text);
        c->Brush()->SetStyle(bsSolid);
    }
}

void TGwMeter::DrawSegmentBar(TCanvas* c, TRect R) {
    // An int sum: three counts of up to 255 must neither wrap nor reach zero.
    const int n = FSegCount[0] + FSegCount[1] + FSegCount[2];
    if (n <= 0)
        return;
    const int lit = int((long long)n * (FValue - FMin) / (FMax - FMin));
    const bool trap = FMeterShape == msTrapezoidal;
    TTrap wedge;
    if (trap) {
        SetTrapezoid(wedge, R, FTrapezoidMin - 2 * FBevelInset, FTrapezoidShape, FDirection, FTrapezoidDir);
        InflateTrapezoid(wedge, -FSegSpacing);
    }
    InflateRect(R, -(FSegSpacing + 1), -FSegSpacing);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FSegColor[0]);
    const bool horz = FDirection == dirRight || FDirection == dirLeft;
    const int gaps = FSegSpacing * (n - 2);
    const int w = horz ? (R.Width() - gaps) / n : R.Width();
    const int h = horz ? R.Height() : (R.Height() - gaps) / n;
    int x = FDirection == dirLeft ? R.Right - w : R.Left;
    int y = FDirection == dirUp ? R.Bottom - h : R.Top;
    const int dx = FDirection == dirRight ? w + FSegSpacing : FDirection == dirLeft ? -(w + FSegSpacing) : 0;
    const int dy = FDirection == dirDown ? h + FSegSpacing : FDirection == dirUp ? -(h + FSegSpacing) : 0;
    int group = 0, given = 0;
    for (int i = 0; i < n; ++i, x += dx, y += dy) {
        if (i >= lit) {
            if (i == lit)
                c->Brush()->SetColor(FSegOffColor);
        } else {
            if (given >= FSegCount[group] && group < 2) {
                ++group;
                given = 0;
                c->Brush()->SetColor(FSegColor[group]);
            }
            ++given;
        }
        if (trap)
            c->Polygon(Points(PulledIn(AdjustTrapezoid(wedge, TRect(x, y, x + w, y + h), FDirection))));
        else
            c->FillRect(TRect(x, y + 1, x + w, y + h));
    }
}
