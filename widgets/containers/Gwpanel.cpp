// Panels of the Gw widget library: custom panel, group box, spacer.
#include "Gwpanel.h"

#include <algorithm>

#include "Gwframing.h"
#include "Gwgrafx.h"
#include "Gwthemesrv.h"
#include "Gwutils.h"
#include "cp1251.h"
#include "winapi.h"

// ---------------------------------------------------------------- TGwCustomPanel

TGwCustomPanel::TGwCustomPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FEnabledStates(std::make_unique<TStringList>()) {
    SetBevelOuter(bvNone);
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetColor(clBtnFace);
}

TGwCustomPanel::~TGwCustomPanel() = default;

void TGwCustomPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFrameController.Removed(AComponent);
}

void TGwCustomPanel::CustomFramingChanged() {
    if (PullBorderFraming(
            this, FrameController(), FrameControllerNotifications,
            {FBorderOuter, FBorderSides, FFlatColor, FFlatColorAdjustment, FBorderHighlight, FBorderShadow}))
        Invalidate();
}

void TGwCustomPanel::SetTransparent(bool Value) {
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    SetControlStyle(Value ? ControlStyle() - TControlStyle{csOpaque}
                          : ControlStyle() + TControlStyle{csOpaque});
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TGwCustomPanel::SetGridSize(int X, int Y) {
    SetGridXSize(X);
    SetGridYSize(Y);
}

void TGwCustomPanel::ReadUseGradients(bool Value) {
    if (Value)
        SetVisualStyle(vsGradient);
}

TPoint TGwCustomPanel::CursorPosition() {
    TPoint p;
    GetCursorPos(&p);
    return ScreenToClient(p);
}

void TGwCustomPanel::FixClientRect(TRect& Rect, bool ShrinkBorderWidth) {
    if (ShrinkBorderWidth)
        InflateRect(Rect, -BorderWidth(), -BorderWidth());
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        const int w = FrameStyleWidth(style, BevelWidth());
        if (FBorderSides.Contains(sdLeft))
            Rect.Left += w;
        if (FBorderSides.Contains(sdTop))
            Rect.Top += w;
        if (FBorderSides.Contains(sdRight))
            Rect.Right -= w;
        if (FBorderSides.Contains(sdBottom))
            Rect.Bottom -= w;
    }
}

void TGwCustomPanel::AlignControls(TControl* AControl, TRect& Rect) {
    if (!DockSite())
        FixClientRect(Rect, false);
    TCustomPanel::AlignControls(AControl, Rect);
}

void TGwCustomPanel::GetGradientColors(TColor& StartColor, TColor& StopColor) {
    if (FGradientColorStyle == gcsCustom) {
        StartColor = FGradientColorStart;
        StopColor = FGradientColorStop;
    } else {
        GetGradientPanelColors(FGradientColorStyle, StartColor, StopColor);
    }
}

void TGwCustomPanel::GetGradientFrameColor(TColor& FrameColor, int& Adjustment) {
    if (FVisualStyle == vsGradient && FGradientColorStyle != gcsCustom) {
        FrameColor = GetGradientPanelFrameColor(FGradientColorStyle);
        Adjustment = 0;
    } else {
        FrameColor = FFlatColor;
        Adjustment = FFlatColorAdjustment;
    }
}

void TGwCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TGwInnerOuterFrame f;
    GetGradientFrameColor(f.FlatColor, f.FlatColorAdjustment);
    f.OuterStyle = FBorderOuter;
    f.InnerStyle = FBorderInner;
    f.BorderWidth = BorderWidth();
    f.Sides = FBorderSides;
    f.BevelWidth = BevelWidth();
    f.BorderColor = FBorderColor;
    f.BorderHighlight = FBorderHighlight;
    f.BorderShadow = FBorderShadow;
    f.Color = Color();
    f.ParentColor = Parent() ? Parent()->Color() : Color();
    f.Transparent = FTransparent;
    const TRect inner = DrawInnerOuterBorders(c, GetControlRect(), f);
    if (!FTransparent && FPaintClientArea) {
        if (FVisualStyle == vsGradient) {
            TColor start, stop;
            GetGradientColors(start, stop);
            PaintGradient(c, inner, FGradientDirection, start, stop, 1);
        } else {
            c->Brush()->SetColor(Color());
            c->FillRect(inner);
        }
    }
    if (FShowGrid)
        DrawGrid(inner);
    c->Brush()->SetStyle(bsClear);
    DrawCaption(inner);
    c->Brush()->SetStyle(bsSolid);
    if (OnPaint)
        OnPaint(this);
}

void TGwCustomPanel::DrawCaption(const TRect& Inner) {
    const std::string text = Caption();
    if (text.empty())
        return;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    TRect t = Inner;
    InflateRect(t, -FTextMargin, -FTextMarginVertical);
    unsigned flags =
        DT_EXPANDTABS | DT_VCENTER | DrawTextWordWrap[FWordWrap] | DrawTextAlignments[Alignment()];
    TRect calc = t;
    const int h = c->DrawText(text, calc, flags | DT_CALCRECT);
    switch (FAlignmentVertical) {
    case avTop: t.Bottom = std::min(t.Bottom, t.Top + h); break;
    case avCenter:
        t.Top = (t.Top + t.Bottom - h) / 2;
        t.Bottom = std::min(t.Bottom, t.Top + h);
        break;
    case avBottom:
        if (t.Bottom - h - 1 > t.Top)
            t.Top = t.Bottom - h - 1;
        break;
    }
    c->Brush()->SetStyle(bsClear);
    if (!Enabled()) {
        TRect shifted = t;
        OffsetRect(shifted, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, shifted, flags);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(text, t, flags);
}

void TGwCustomPanel::DrawGrid(const TRect& Inner) {
    TCanvas* c = Canvas();
    const int columns = FGridXSize >= 1 ? Inner.Width() / FGridXSize : 0;
    const int rows = FGridYSize != 0 ? Inner.Height() / FGridYSize : 0;
    c->Pen()->SetColor(FGridColor);
    const auto line = [&](int x1, int y1, int x2, int y2) {
        if (FGridStyle == gsSolidLines) {
            c->MoveTo(x1, y1);
            c->LineTo(x2, y2);
            return;
        }
        const int dx = x2 > x1 ? 1 : 0, dy = y2 > y1 ? 1 : 0;
        const int length = std::max(x2 - x1, y2 - y1);
        for (int i = 1; i < length; i += 2)
            c->SetPixel(x1 + i * dx, y1 + i * dy, FGridColor);
    };
    if (FGridStyle == gsDots) {
        for (int i = 1; i <= columns; ++i)
            for (int j = 1; j <= rows; ++j)
                c->SetPixel(Inner.Left - 1 + FGridXSize * i, Inner.Top - 1 + FGridYSize * j, FGridColor);
        return;
    }
    for (int i = 1; i <= columns; ++i) {
        const int x = Inner.Left - 1 + FGridXSize * i;
        line(x, Inner.Top, x, Inner.Bottom);
    }
    for (int j = 1; j <= rows; ++j) {
        const int y = Inner.Top - 1 + FGridYSize * j;
        line(Inner.Left, y, Inner.Right, y);
    }
}

void TGwCustomPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (Align() == alBottom && AHeight != Height())
        ATop -= AHeight - Height();
    if (Align() == alRight && AWidth != Width())
        ALeft -= AWidth - Width();
    TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TGwCustomPanel::CMEnabledChanged(TMessage& Message) {
    TCustomPanel::CMEnabledChanged(Message);
    Invalidate();
    if (!Enabled()) {
        FEnabledStates->Clear();
        for (int i = 0; i < ControlCount(); ++i)
            FEnabledStates->AddObject(Controls(i)->Enabled() ? "1" : "0", Controls(i));
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->SetEnabled(false);
        return;
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        const int at = FEnabledStates->IndexOfObject(child);
        if (at < 0 || FEnabledStates->Get(at) == "1")
            child->SetEnabled(true);
    }
}

void TGwCustomPanel::CMMouseEnter(TMessage& Message) {
    TCustomPanel::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGwCustomPanel::CMMouseLeave(TMessage& Message) {
    TCustomPanel::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TGwCustomPanel::WMEraseBkgnd(TWMEraseBkgnd& Message) {
    if (FTransparent && FPaintClientArea && Message.DC) {
        DrawParentImage(this, Message.DC, false);
        Message.Result = 1;
        return;
    }
    TCustomPanel::WMEraseBkgnd(Message);
}

void TGwCustomPanel::WMWindowPosChanged(TMessage& Message) {
    // Only the frame strips need repainting when nothing inside depends on the size.
    if (!FullRepaint && Caption().empty() && HandleAllocated()) {
        TRect inner(0, 0, Width(), Height());
        FixClientRect(inner, true);
        const TPoint m = InvalidateMarginSize();
        const TRect right(inner.Right - m.x, 0, Width(), Height());
        const TRect bottom(0, inner.Bottom - m.y, Width(), Height());
        InvalidateRect(Handle(), &right, 1);
        InvalidateRect(Handle(), &bottom, 1);
    } else {
        Invalidate();
    }
    TCustomPanel::WndProc(Message);
}

void TGwCustomPanel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    case WM_THEMECHANGED:
        TCustomPanel::WndProc(Message);
        CurrentXPColorScheme = GetXPColorScheme();
        return;
    default: TCustomPanel::WndProc(Message);
    }
}

// ---------------------------------------------------------------- TGwCustomGroupBox

namespace {

// Whether Key is the caption's accelerator (the letter after a single "&"), in any case.
bool IsAccel(char Key, const std::string& Caption) {
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&')
            continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AnsiUpperCase(std::string(1, Caption[i + 1])) == AnsiUpperCase(std::string(1, Key));
    }
    return false;
}

} // namespace

TGwCustomGroupBox::TGwCustomGroupBox(TComponent* AOwner) : TGwCustomPanel(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption, csDoubleClicks});
    SetBorderOuter(fsNone);
    SetBorderInner(fsNone);
    SetAlignment(taLeftJustify);
    SetAlignmentVertical(avTop);
    SetHeight(105);
}

void TGwCustomGroupBox::SetGroupStyle(TGwGroupBoxStyle Value) {
    if (Value == FGroupStyle)
        return;
    FGroupStyle = Value;
    Realign();
    Invalidate();
}

void TGwCustomGroupBox::CustomFramingChanged() {
    if (FrameController() && FrameController()->FrameVisible() && FGroupStyle == gsCustom)
        TGwCustomPanel::CustomFramingChanged();
}

void TGwCustomGroupBox::CMFontChanged(TMessage& Message) {
    TGwCustomPanel::CMFontChanged(Message);
    Invalidate();
}

void TGwCustomGroupBox::WndProc(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(char(Message.WParam), Caption()) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
    }
    TGwCustomPanel::WndProc(Message);
}

void TGwCustomGroupBox::AdjustClientRect(TRect& Rect) {
    TGwCustomPanel::AdjustClientRect(Rect);
    Canvas()->SetFont(Font());
    const int h = Canvas()->TextHeight("Yy");
    switch (FGroupStyle) {
    case gsStandard:
    case gsFlat: {
        const int half = h / 2 - 1;
        Rect.Top += half >= BorderWidth() ? h - BorderWidth() : half;
        InflateRect(Rect, FGroupStyle == gsStandard ? -2 : -1, FGroupStyle == gsStandard ? -2 : -1);
        break;
    }
    case gsCustom:
        if (!Caption().empty())
            Rect.Top += h;
        InflateRect(Rect, -2, -2);
        break;
    case gsTopLine: Rect.Top += h; break;
    case gsBanner: Rect.Top += h + 8; break;
    case gsUnderline: Rect.Top += h + 4; break;
    }
}

bool TGwCustomGroupBox::Themed() const {
    return VisualStyle() == vsWinXP && ThemeServices()->ThemesEnabled() &&
           (FGroupStyle == gsStandard || FGroupStyle == gsFlat);
}

TThemedElementDetails TGwCustomGroupBox::ThemedDetails() const {
    return TThemeServices::GetElementDetails(Enabled() ? tbGroupBoxNormal : tbGroupBoxDisabled);
}

TRect TGwCustomGroupBox::CaptionRect() {
    const std::string text = Caption();
    if (text.empty() || FGroupStyle == gsCustom)
        return TRect();
    Canvas()->SetFont(Font());
    TSize size = Canvas()->TextExtent(RemovePrefixChars(text));
    if (Themed() && GetThemeTextExtent) {
        const std::u16string u = Cp1251ToUtf16(RemovePrefixChars(text));
        const std::wstring w(u.begin(), u.end());
        const TThemedElementDetails d = ThemedDetails();
        TRect extent;
        if (GetThemeTextExtent(ThemeServices()->GetTheme(d.Element), Canvas()->Handle(), d.Part, d.State,
                               w.c_str(), int(w.size()), DT_SINGLELINE | DrawTextAlignments[Alignment()],
                               nullptr, &extent) == S_OK)
            size = TSize{extent.Width(), extent.Height()};
    }
    const int w = Width();
    switch (FGroupStyle) {
    case gsTopLine: return TRect(0, 0, size.cx + 4, size.cy);
    case gsBanner: return TRect(0, 0, w, size.cy + 6);
    case gsUnderline: return TRect(0, 0, w, size.cy + 2);
    default: return TRect(8, 0, size.cx + 8, size.cy);
    }
}

void TGwCustomGroupBox::Paint() {
    if (FGroupStyle == gsCustom) {
        TGwCustomPanel::Paint();
        return;
    }
    TCanvas* c = Canvas();
    c->SetFont(Font());
    const int h = c->TextHeight("Pp");
    const TRect k = CaptionRect();
    if (Themed()) {
        PaintThemed(k, h);
        return;
    }
    const int saved = SaveDC(c->Handle());
    if (Transparent()) {
        if (FGroupStyle != gsBanner && !k.IsEmpty())
            ExcludeClipRect(c->Handle(), k.Left, k.Top, k.Right, k.Bottom);
    } else {
        c->Brush()->SetColor(Color());
        c->FillRect(TRect(0, 0, Width(), Height()));
    }
    const TRect f(0, h / 2 - 1, Width(), Height());
    const TColor flat = AdjustColor(FlatColor(), FlatColorAdjustment());
    const auto line = [&](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (FGroupStyle) {
    case gsStandard:
    case gsTopLine: {
        const TSides sides = FGroupStyle == gsStandard ? AllSides : TSides{sdTop};
        if (FGroupStyle == gsTopLine && (BorderOuter() == fsFlat || BorderOuter() == fsFlatBold)) {
            c->Pen()->SetColor(flat);
            line(f.Left + 2, f.Top, f.Right - 2, f.Top);
            if (BorderOuter() == fsFlatBold)
                line(f.Left + 2, f.Top + 1, f.Right - 2, f.Top + 1);
        } else if (BorderOuter() == fsNone) {
            DrawBorderSides(c, f, fsGroove, sides);
        } else if (BorderOuter() == fsFlat) {
            DrawBox(c, f, flat);
        } else if (BorderOuter() == fsFlatBold) {
            DrawBevel(c, f, flat, flat, 2, sides);
        } else if (BorderOuter() == fsFlatRounded) {
            DrawRoundedFlatBorder(c, f, flat, sides);
        } else {
            DrawBorderSides(c, f, BorderOuter(), sides);
        }
        break;
    }
    case gsFlat: DrawRoundedFlatBorder(c, f, flat); break;
    case gsBanner: {
        TColor start, stop, frame = flat;
        if (GradientColorStyle() == gcsCustom) {
            start = GradientColorStart();
            stop = GradientColorStop();
        } else {
            const TGwStatusBarColors s = GetGradientStatusBarColors(GradientColorStyle());
            start = s.Start;
            stop = s.Stop;
            frame = s.Third;
        }
        c->Pen()->SetColor(frame);
        line(k.Left, k.Top + 1, k.Left, k.Bottom - 1);
        line(k.Left + 1, k.Top, k.Right - 1, k.Top);
        line(k.Right - 1, k.Top + 1, k.Right - 1, k.Bottom - 1);
        line(k.Left + 1, k.Bottom - 1, k.Right - 1, k.Bottom - 1);
        PaintGradient(c, TRect(k.Left + 1, k.Top + 1, k.Right - 1, k.Bottom - 1), gdHorizontalEnd, start,
                      stop, 1);
        break;
    }
    case gsUnderline:
        c->Pen()->SetColor(flat);
        line(k.Left, k.Bottom, k.Right, k.Bottom);
        break;
    case gsCustom: break;
    }
    RestoreDC(c->Handle(), saved);
    if (k.IsEmpty())
        return;
    TRect t = k;
    if (FGroupStyle == gsBanner) {
        InflateRect(t, -4, -1);
    } else if (!Transparent()) {
        c->Brush()->SetColor(Color());
        c->FillRect(t);
    }
    c->Brush()->SetStyle(bsClear);
    const unsigned flags = DT_SINGLELINE | DrawTextAlignments[Alignment()];
    if (Enabled() && VisualStyle() == vsWinXP && ThemeServices()->ThemesEnabled())
        c->Font()->SetColor(GetXPThemeColor(xptcGroupBoxFont));
    if (!Enabled()) {
        TRect shifted = t;
        OffsetRect(shifted, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(Caption(), shifted, flags);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(Caption(), t, flags);
    c->Brush()->SetStyle(bsSolid);
}

// The theme's group-box frame around the caption, and the caption in the theme's text.
void TGwCustomGroupBox::PaintThemed(const TRect& Caption, int TextHeight) {
    TCanvas* c = Canvas();
    TThemeServices* t = ThemeServices();
    const TThemedElementDetails d = ThemedDetails();
    if (!Transparent())
        DrawParentImage(this, c->Handle(), false);
    const int saved = SaveDC(c->Handle());
    if (!Caption.IsEmpty())
        ExcludeClipRect(c->Handle(), Caption.Left, Caption.Top, Caption.Right, Caption.Bottom);
    t->DrawElement(c->Handle(), d, TRect(0, TextHeight / 2 - 1, Width(), Height()));
    RestoreDC(c->Handle(), saved);
    if (!Caption.IsEmpty())
        t->DrawText(c->Handle(), d, this->Caption(), Caption, DrawTextAlignments[Alignment()], 0);
}

// ---------------------------------------------------------------- TGwSpacer

TGwSpacer::TGwSpacer(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(Left(), Top(), 8, 25); }

void TGwSpacer::SetGrooved(bool Value) {
    if (Value == FGrooved)
        return;
    FGrooved = Value;
    Invalidate();
}

void TGwSpacer::SetOrientation(TOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TGwSpacer::Paint() {
    if (!FGrooved)
        return;
    TCanvas* c = Canvas();
    if (ThemeServices()->ThemesEnabled()) {
        const TThemedElementDetails d = TThemeServices::GetElementDetails(
            Width() <= Height() ? ttbSeparatorNormal : ttbSeparatorVertNormal);
        ThemeServices()->DrawElement(c->Handle(), d, TRect(0, 0, Width(), Height()));
        return;
    }
    const auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    if (Width() <= Height()) {
        const int x = Width() / 2 - 1;
        line(clBtnShadow, x, 0, x, Height());
        line(clBtnHighlight, x + 1, 0, x + 1, Height());
    } else {
        const int y = Height() / 2 - 1;
        line(clBtnShadow, 0, y, Width(), y);
        line(clBtnHighlight, 0, y + 1, Width(), y + 1);
    }
}
