// The control button: glyph, spin-arrow and drop-down faces with repeated clicks.
#include "Gwbutton.h"

#include "Gwgrafx.h"
#include "Gwutils.h"
#include "sysinfo.h"
#include "timers.h"

TGwControlButton::TGwControlButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    SetControlStyle(TControlStyle{csCaptureMouse});
    SetBounds(Left(), Top(), 17, 21);
    SetColor(clBtnFace);
    SetDragMode(dmManual);
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TGwControlButton::~TGwControlButton() { FGlyph->OnChange = nullptr; }

void TGwControlButton::SetFlat(bool Value) {
    if (FFlat == Value)
        return;
    FFlat = Value;
    Repaint();
}

void TGwControlButton::SetGlyph(TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph->SetSize(0, 0);
    GlyphChanged();
}

void TGwControlButton::SetNumGlyphs(int Value) {
    FNumGlyphs = Value;
    Invalidate();
}

void TGwControlButton::SetStyle(TGwControlButtonStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TGwControlButton::GlyphChanged() {
    const int h = FGlyph->Height(), w = FGlyph->Width();
    if (h != 0 && w % h == 0) {
        FNumGlyphs = w / h;
        if (FNumGlyphs > 4)
            FNumGlyphs = 1;
    }
    Invalidate();
    if (OnGlyphChange)
        OnGlyphChange(this);
}

TPoint TGwControlButton::GetImageSize() const {
    if (FGlyph->Empty())
        return TPoint(0, 0);
    return TPoint(FGlyph->Width() / std::max(1, FNumGlyphs), FGlyph->Height());
}

bool TGwControlButton::Active() const {
    return FPressed || (FMouseInControl && Enabled()) || ComponentState().Contains(csDesigning);
}

void TGwControlButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!FPressed) {
        FPressed = true;
        Invalidate();
    }
    FDragging = true;
    if (RepeatClicks) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->OnTimer = [this](TObject*) { TimerExpired(); };
        }
        FRepeatTimer->SetInterval(InitialDelay);
        FRepeatTimer->SetEnabled(true);
    }
}

void TGwControlButton::TimerExpired() {
    FRepeatTimer->SetInterval(Delay);
    if (FPressed && MouseCapture())
        Click();
}

void TGwControlButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (FDragging) {
        FDragging = false;
        const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
        FPressed = false;
        FMouseInControl = false;
        Repaint();
        if (inside)
            Click();
        UpdateTracking();
    }
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
}

void TGwControlButton::UpdateTracking() {
    if (!(FFlat || GwThemesEnabled()) || !Enabled() || !Parent())
        return;
    const TPoint p = Parent()->ScreenToClient(Mouse->CursorPos());
    if (Parent()->ControlAtPos(p, false, true) == this)
        Perform(CM_MOUSEENTER);
    else
        Perform(CM_MOUSELEAVE);
}

void TGwControlButton::CMMouseEnter(TMessage& Message) {
    FMouseInControl = true;
    TGraphicControl::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (FFlat || GwThemesEnabled())
        Refresh();
}

void TGwControlButton::CMMouseLeave(TMessage& Message) {
    FMouseInControl = false;
    TGraphicControl::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    if (FFlat || GwThemesEnabled())
        Refresh();
}

void TGwControlButton::DrawClassicFrame(TRect& R, TFrameStyleEx UpStyle) {
    TCanvas* c = Canvas();
    if (!FFlat) {
        R = FPressed ? DrawBox(c, R, clBtnShadow) : DrawBorderSides(c, R, UpStyle);
    } else if (Active()) {
        R = DrawBorderSides(c, R, FPressed ? fsStatus : fsPopup);
    }
}

void TGwControlButton::DrawBtnFace(TRect& R) {
    DrawClassicFrame(R, fsRaised);
    Canvas()->Brush()->SetColor(FFlat ? Color() : clBtnFace);
    Canvas()->FillRect(R);
}

void TGwControlButton::DrawSpinButton(TRect& R) {
    static const TDirection Directions[] = {dirUp, dirLeft, dirUp, dirRight, dirDown, dirDown};
    DrawClassicFrame(R, fsButtonUp);
    TColor fill = Color();
    if (!FFlat && Owner() && Owner()->Owner() && Owner()->Owner()->ClassName() == "TGwSpinEdit")
        fill = clBtnFace;
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(R);
    DrawSpinArrow(Canvas(), R, uiWindows95, Directions[FStyle], TGwArrowState{FPressed, Enabled()});
}

void TGwControlButton::DrawDropDownButton(TRect& R) {
    DrawBtnFace(R);
    DrawDropDownArrow(Canvas(), R, uiWindows95, TGwArrowState{FPressed, Enabled()});
}

void TGwControlButton::DrawGlyph(const TRect& R) {
    int frame = 0;
    if (FNumGlyphs >= 3 && FPressed)
        frame = 2;
    else if (FNumGlyphs >= 2 && !Enabled())
        frame = 1;
    const TPoint size = GetImageSize();
    TBitmap tmp;
    tmp.SetSize(R.Width(), R.Height());
    const TRect all(0, 0, R.Width(), R.Height());
    tmp.Canvas()->CopyRect(all, Canvas(), R);
    DrawFullTransparentBitmap(tmp.Canvas(), FGlyph.get(), all, Bounds(frame * size.x, 0, size.x, size.y),
                              FGlyph->TransparentColor());
    Canvas()->Draw(R.Left, R.Top, &tmp);
}

void TGwControlButton::Paint() {
    TRect r = ClientRect();
    switch (FStyle) {
    case cbsNone:
        DrawBtnFace(r);
        if (!FGlyph->Empty()) {
            InflateRect(r, -1, -1);
            const TPoint size = GetImageSize();
            TRect g = CenterRect(r, size.x, size.y);
            if (FPressed)
                OffsetRect(g, 1, GwThemesEnabled() ? 0 : 1);
            DrawGlyph(g);
        }
        break;
    case cbsDropDown: DrawDropDownButton(r); break;
    default: DrawSpinButton(r); break;
    }
}
