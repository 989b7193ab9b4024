// The button base and the push button.
#include "Gwbutton.h"

#include <memory>

#include "Gwgrafx.h"
#include "Gwthemesrv.h"
#include "Gwutils.h"
#include "forms.h"
#include "stdctrls.h"
#include "sysutils.h"
#include "winapi.h"

bool IsAccel(WORD Key, const std::string& Caption) {
    for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&')
            continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AnsiUpperCase(Caption.substr(i + 1, 1)) == AnsiUpperCase(std::string(1, char(Key & 0xFF)));
    }
    return false;
}

// ---------------------------------------------------------------- TGwCustomButton

TGwCustomButton::TGwCustomButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector});
    SetBounds(Left(), Top(), 115, 17);
    SetTabStop(true);
}

void TGwCustomButton::RemoveFocus(bool Removing) {
    if (TCustomForm* form = GetParentForm(this))
        form->DefocusControl(this, Removing);
}

void TGwCustomButton::Draw3DText(TCanvas* Canvas, TRect Rect, unsigned Flags) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->SetFont(Font());
    const std::string text = Caption();
    TRect measure = Rect;
    Canvas->DrawText(text, measure, 0x455);
    const int h = measure.Height();
    switch (FAlignmentVertical) {
    case avTop: Rect.Bottom = Rect.Top + h; break;
    case avCenter:
        Rect.Top = (Rect.Top + Rect.Bottom - h) / 2;
        Rect.Bottom = Rect.Top + h;
        break;
    case avBottom: Rect.Top = Rect.Bottom - h - 1; break;
    }
    Flags = unsigned(DrawTextBiDiModeFlags(int(Flags)));
    auto draw = [&](TColor Color, int DX, int DY) {
        TRect r = Rect;
        OffsetRect(r, DX, DY);
        Canvas->Font()->SetColor(Color);
        Canvas->DrawText(text, r, Flags);
    };
    const TColor own = Font()->Color();
    if (Enabled()) {
        switch (FTextStyle) {
        case tsRaised:
            if (!FLightTextStyle)
                draw(FTextShadowColor, 1, 1);
            draw(FTextHighlightColor, -1, -1);
            break;
        case tsRecessed:
            draw(FTextHighlightColor, 1, 1);
            if (!FLightTextStyle)
                draw(FTextShadowColor, -1, -1);
            break;
        case tsShadow:
            draw(FTextShadowColor, (Flags & DT_RIGHT) ? 0 : FTextShadowDepth, FTextShadowDepth);
            break;
        case tsNormal: break;
        }
        if (Flags & DT_RIGHT)
            OffsetRect(Rect, -FTextShadowDepth, 0);
        draw(own, 0, 0);
    } else {
        draw(clBtnHighlight, 1, 1);
        draw(clBtnShadow, 0, 0);
    }
    Canvas->Font()->SetColor(own);
    Canvas->Brush()->SetStyle(bsSolid);
}

bool TGwCustomButton::UsesThemes() const { return FThemeAware && ThemeServices()->ThemesEnabled(); }

bool TGwCustomButton::Inside(int X, int Y) {
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
}

void TGwCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (CanFocus())
        SetFocus();
    if (Focused()) {
        FPressedInside = true;
        UpdateDisplay();
        FDragging = true;
    }
}

void TGwCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = Inside(X, Y);
    if (inside != FPressedInside) {
        FPressedInside = inside;
        UpdateDisplay();
    }
}

void TGwCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    FPressedInside = false;
    if (Inside(X, Y))
        ChangeState();
    UpdateDisplay();
}

void TGwCustomButton::WMSetFocus(TWMSetFocus& Message) {
    TCustomControl::WMSetFocus(Message);
    RepaintDisplay();
}

void TGwCustomButton::WMKillFocus(TWMKillFocus& Message) {
    TCustomControl::WMKillFocus(Message);
    RepaintDisplay();
}

void TGwCustomButton::WMEraseBkgnd(TWMEraseBkgnd& Message) {
    if (!FTransparent) {
        TCustomControl::WMEraseBkgnd(Message);
        return;
    }
    PaintBackground(Message.DC);
    Message.Result = 1;
}

void TGwCustomButton::CMMouseEnter(TMessage& Message) {
    FMouseOverButton = true;
    TCustomControl::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    InvalidateHotTrack();
}

void TGwCustomButton::CMMouseLeave(TMessage& Message) {
    FMouseOverButton = false;
    TCustomControl::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    InvalidateHotTrack();
}

void TGwCustomButton::InvalidateHotTrack() {
    if (!(FHotTrack || UsesThemes()) || !HandleAllocated())
        return;
    const TRect r = GetHotTrackRect();
    InvalidateRect(Handle(), &r, 0);
}

void TGwCustomButton::CMEnabledChanged(TMessage& Message) {
    TCustomControl::CMEnabledChanged(Message);
    if (!Enabled() && Parent())
        RemoveFocus(false);
    Invalidate();
}

void TGwCustomButton::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Repaint();
}

// ---------------------------------------------------------------- TGwButton

TGwButton::TGwButton(TComponent* AOwner) : TGwCustomButton(AOwner) {
    SetBounds(Left(), Top(), 75, 25);
    SetColor(clBtnFace);
    SetParentColor(false);
}

void TGwButton::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TGwButton::SetAllowAllUp(bool Value) {
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TGwButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    UpdateExclusive();
}

void TGwButton::SetFrameColor(TColor Value) {
    if (FFrameColor == Value)
        return;
    FFrameColor = Value;
    Invalidate();
}

void TGwButton::SetShowDownPattern(bool Value) {
    if (FShowDownPattern == Value)
        return;
    FShowDownPattern = Value;
    Invalidate();
}

void TGwButton::SetShowFocusRect(bool Value) {
    if (FShowFocusRect == Value)
        return;
    FShowFocusRect = Value;
    Invalidate();
}

void TGwButton::SetDefault(bool Value) {
    FDefault = Value;
    if (HandleAllocated())
        if (TCustomForm* form = GetParentForm(this))
            Perform(CM_FOCUSCHANGED, WPARAM(form->ActiveControl()));
}

void TGwButton::CreateWnd() {
    TGwCustomButton::CreateWnd();
    FActive = FDefault;
}

void TGwButton::SetDown(bool Value) {
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (!Value && !FAllowAllUp && FGroupIndex != 0)
        return;
    FDown = Value;
    FState = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TGwButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m{CM_GWBUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this)};
    Parent()->Broadcast(m);
}

void TGwButton::ButtonPressed(int Group, TGwButton* Sender) {
    if (Group != FGroupIndex || !Sender || Sender == this)
        return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TGwButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_GWBUTTONPRESSED) {
        ButtonPressed(int(Message.WParam), reinterpret_cast<TGwButton*>(Message.LParam));
        return;
    }
    TGwCustomButton::Dispatch(Message);
}

void TGwButton::SetHotTrack(bool Value) {
    TGwCustomButton::SetHotTrack(Value);
    SetTransparent(HotTrack());
    Invalidate();
}

void TGwButton::ChangeState() {
    if (FGroupIndex != 0)
        SetDown(!FDown);
    else
        UpdateDisplay();
    FClicking = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FClicking};
    Click();
}

void TGwButton::Click() {
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(ModalResult);
    TGwCustomButton::Click();
}

void TGwButton::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE && !Shift.Contains(ssAlt)) {
        FSpaceDown = true;
        FPressedInside = true;
        UpdateDisplay();
    }
    TGwCustomButton::KeyDown(Key, Shift);
}

void TGwButton::KeyUp(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE) {
        FPressedInside = false;
        if (FSpaceDown)
            ChangeState();
        UpdateDisplay();
    }
    TGwCustomButton::KeyUp(Key, Shift);
}

void TGwButton::WMKillFocus(TWMKillFocus& Message) {
    TGwCustomButton::WMKillFocus(Message);
    FSpaceDown = false;
    FPressedInside = false;
    UpdateDisplay();
}

void TGwButton::CMDialogKey(TWMKey& Message) {
    const WORD key = WORD(Message.CharCode);
    const bool modifier =
        GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && Cancel)) && !modifier && CanFocus()) {
        FSuppressDropDown = !DropDownOnEnter;
        struct TReset {
            bool& Flag;
            ~TReset() { Flag = false; }
        } reset{FSuppressDropDown};
        Click();
        Message.Result = 1;
        return;
    }
    TGwCustomButton::CMDialogKey(Message);
}

void TGwButton::CMDialogChar(TWMKey& Message) {
    if (IsAccel(WORD(Message.CharCode), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TGwCustomButton::CMDialogChar(Message);
}

void TGwButton::CMFocusChanged(TCMFocusChanged& Message) {
    bool active = FDefault;
    if (dynamic_cast<TGwButton*>(Message.Sender) || dynamic_cast<TButton*>(Message.Sender))
        active = Message.Sender == this;
    if (active != FActive) {
        FActive = active;
        Repaint();
    }
    TGwCustomButton::CMFocusChanged(Message);
}

void TGwButton::CreateBrushPattern(TBitmap* Bitmap) {
    Bitmap->SetSize(8, 8);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(TRect(0, 0, 8, 8));
    const TColor dot = Color() == TColor(0xC0C0C0) ? clGray : clSilver;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x % 2) == (y % 2))
                c->SetPixel(x, y, dot);
}

TRect TGwButton::GetCaptionRect() {
    TRect r = ClientRect();
    InflateRect(r, -5, -5);
    if (!HotTrack() && !UsesThemes() && (FPressedInside || (FGroupIndex != 0 && FDown)))
        OffsetRect(r, 1, 1);
    return r;
}

void TGwButton::DrawButtonContent() {
    TAlignment a = FAlignment;
    if (UseRightToLeftAlignment() && a != taCenter)
        a = a == taLeftJustify ? taRightJustify : taLeftJustify;
    Draw3DText(Canvas(), GetCaptionRect(), DrawTextAlignments[a] | DT_WORDBREAK | DT_EXPANDTABS);
}

void TGwButton::PaintBackground(HDC DC) {
    TCanvas* c = reinterpret_cast<TCanvas*>(DC);
    const int saved = c->SaveDC();
    TRect r = ClientRect();
    InflateRect(r, Enabled() ? -1 : -2, Enabled() ? -1 : -2);
    c->ExcludeClipRect(r.Left, r.Top, r.Right, r.Bottom);
    TRect wide = r;
    InflateRect(wide, 1, -1);
    c->ExcludeClipRect(wide.Left, wide.Top, wide.Right, wide.Bottom);
    TRect tall = wide;
    InflateRect(tall, -2, 2);
    c->ExcludeClipRect(tall.Left, tall.Top, tall.Right, tall.Bottom);
    DrawParentImage(this, DC, true);
    c->RestoreDC(saved);
}

void TGwButton::PaintFace(const TRect& R) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(DarkerColor(Color(), 20));
    c->MoveTo(R.Left, R.Bottom - 2);
    c->LineTo(R.Right, R.Bottom - 2);
    c->Pen()->SetColor(DarkerColor(Color(), 30));
    c->MoveTo(R.Left, R.Bottom - 1);
    c->LineTo(R.Right, R.Bottom - 1);
    const TRect face(R.Left, R.Top, R.Right, R.Bottom - 2);
    if (IsFullColorSupported()) {
        PaintGradient(c, face, gdHorizontalEnd, LighterColor(Color(), 30), DarkerColor(Color(), 10), 1);
    } else {
        c->Brush()->SetColor(Color());
        c->FillRect(face);
    }
}

void TGwButton::PaintFlat(TRect& R) {
    TCanvas* c = Canvas();
    const TColor p = Parent() ? Parent()->Color() : clBtnFace;
    const TColor dark = DarkerColor(p, 20), light = LighterColor(p, 20);
    c->Pen()->SetColor(dark);
    c->MoveTo(R.Left, R.Top + 2);
    c->LineTo(R.Left, R.Bottom - 2);
    c->MoveTo(R.Left + 2, R.Top);
    c->LineTo(R.Right - 2, R.Top);
    c->Pen()->SetColor(light);
    c->MoveTo(R.Right - 1, R.Top + 2);
    c->LineTo(R.Right - 1, R.Bottom - 2);
    c->MoveTo(R.Left + 2, R.Bottom - 1);
    c->LineTo(R.Right - 2, R.Bottom - 1);
    c->SetPixel(R.Left + 1, R.Top + 1, dark);
    c->SetPixel(R.Left + 1, R.Bottom - 2, dark);
    c->SetPixel(R.Right - 2, R.Top + 1, dark);
    c->SetPixel(R.Right - 2, R.Bottom - 2, light);
    InflateRect(R, -1, -1);
    c->Pen()->SetColor(FFrameColor);
    c->MoveTo(R.Left + 1, R.Top);
    c->LineTo(R.Right - 1, R.Top);
    c->MoveTo(R.Left + 1, R.Bottom - 1);
    c->LineTo(R.Right - 1, R.Bottom - 1);
    c->MoveTo(R.Left, R.Top + 1);
    c->LineTo(R.Left, R.Bottom - 1);
    c->MoveTo(R.Right - 1, R.Top + 1);
    c->LineTo(R.Right - 1, R.Bottom - 1);
    InflateRect(R, -1, -1);
    const bool looksDefault = FGroupIndex == 0 && (FActive || Focused()) && !FPressedInside;
    if (LooksPressed()) {
        c->Brush()->SetColor(DarkerColor(Color(), 10));
        c->FillRect(R);
        return;
    }
    PaintFace(R);
    if (MouseOverButton()) {
        TColor a, b;
        if (HotTrackColorType == htctComplement) {
            a = ComplementaryColor(HotTrackColor, 180);
            b = DarkerColor(a, 30);
        } else {
            a = BlendColors(clWhite, HotTrackColor, 190);
            b = HotTrackColor;
        }
        DrawHighlightBox(c, R, gdHorizontalEnd, a, b);
    } else if (looksDefault) {
        const TColor l = LighterColor(Color(), 30);
        const TColor h = ColorsTooClose(HighlightColor(), clBtnFace) ? DarkerColor(HighlightColor(), 30)
                                                                     : HighlightColor();
        DrawHighlightBox(c, R, gdHorizontalEnd, BlendColors(h, l, 60), BlendColors(h, l, 160));
    }
}

void TGwButton::PaintThemed(const TRect& R, bool LooksDefault) {
    TThemedButton element = tbPushButtonNormal;
    if (!Enabled())
        element = tbPushButtonDisabled;
    else if (LooksPressed())
        element = tbPushButtonPressed;
    else if (MouseOverButton())
        element = tbPushButtonHot;
    else if (LooksDefault)
        element = tbPushButtonDefaulted;
    TThemeServices* t = ThemeServices();
    const TThemedElementDetails details = TThemeServices::GetElementDetails(element);
    t->DrawParentBackground(Handle(), Canvas(), &details, true, &R);
    t->DrawElement(Canvas(), details, R);
}

void TGwButton::Paint() {
    TCanvas* c = Canvas();
    TRect focus = ClientRect();
    const int inset = HotTrack() || UsesThemes() ? 3 : 4;
    InflateRect(focus, -inset, -inset);
    if (FGroupIndex != 0 && LooksPressed())
        OffsetRect(focus, 1, 1);
    TRect r = ClientRect();
    const bool looksDefault = FGroupIndex == 0 && (FActive || Focused()) && !FPressedInside;
    if (UsesThemes()) {
        PaintThemed(r, looksDefault);
    } else if (HotTrack() && Enabled()) {
        PaintFlat(r);
    } else if (HotTrack()) {
        InflateRect(r, -1, -1);
        const TColor frame = Color() == clBtnFace ? LighterColor(clBtnShadow, 30) : DarkerColor(Color(), 80);
        c->Brush()->SetColor(frame);
        c->FrameRect(r);
        InflateRect(r, -1, -1);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    } else {
        if (FGroupIndex == 0 && (looksDefault || FClicking))
            r = DrawSides(c, r, clWindowFrame, clWindowFrame, AllSides);
        const TGwButtonLook look = FPressedInside ? TGwButtonLook::Down : TGwButtonLook::Up;
        if (Color() == clBtnFace) {
            if (FGroupIndex == 0)
                r = DrawButtonBorderSides(c, r, look);
            else
                r = DrawBorderSides(c, r, LooksPressed() ? fsLowered : fsButtonUp);
        } else if (FGroupIndex == 0) {
            r = DrawColorButtonBorderSides(c, r, Color(), look);
        } else if (LooksPressed()) {
            r = DrawColorBorderSides(c, r, Color(), fsLowered);
        } else {
            r = DrawColorButtonBorderSides(c, r, Color(), TGwButtonLook::Up);
        }
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    if (FGroupIndex != 0 && FState == bsExclusive && FShowDownPattern) {
        auto pattern = std::make_unique<TBitmap>();
        CreateBrushPattern(pattern.get());
        c->Brush()->SetBitmap(pattern.get());
        c->FillRect(r);
        c->Brush()->SetBitmap(nullptr);
    }
    c->SetFont(Font());
    c->Brush()->SetColor(Color());
    DrawButtonContent();
    if (Focused() && FShowFocusRect)
        DrawFocusBorder(c, focus);
}
