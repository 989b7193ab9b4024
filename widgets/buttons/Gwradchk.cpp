// Glyph radio buttons and check boxes.
#include "Gwradchk.h"

#include <algorithm>

#include "Gwgrafx.h"
#include "forms.h"
#include "sysutils.h"
#include "winapi.h"
#include "wingdi.h"

// ---------------------------------------------------------------- TGwCustomGlyphButton

TGwCustomGlyphButton::TGwCustomGlyphButton(TComponent* AOwner)
    : TGwCustomButton(AOwner), FCustomGlyphs(std::make_unique<TBitmap>()),
      FBackground(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption, csReplicatable});
    SetColor(clWindow);
    SetParentColor(false);
    FCustomGlyphs->OnChange = [this](TObject*) { CustomGlyphsChanged(); };
}

TGwCustomGlyphButton::~TGwCustomGlyphButton() { FCustomGlyphs->OnChange = nullptr; }

void TGwCustomGlyphButton::SetCustomGlyphs(TBitmap* Value) {
    if (Value)
        FCustomGlyphs->Assign(Value);
    else
        FCustomGlyphs->SetSize(0, 0);
    CustomGlyphsChanged();
}

void TGwCustomGlyphButton::CustomGlyphsChanged() {
    // Custom glyphs only for a strip that has cells; an empty one brings the 13 x 13 glyphs back.
    SetUseCustomGlyphs(!FCustomGlyphs->Empty());
    FBackgroundInvalid = true;
    Invalidate();
}

void TGwCustomGlyphButton::SetUseCustomGlyphs(bool Value) {
    FUseCustomGlyphs = Value;
    if (Value) {
        FGlyphWidth = FCustomGlyphs->Width() / FNumGlyphs;
        FGlyphHeight = FCustomGlyphs->Height();
    } else {
        FGlyphWidth = FGlyphHeight = 13;
    }
    Invalidate();
}

void TGwCustomGlyphButton::SetTransparent(bool Value) {
    FBackgroundInvalid = true;
    TGwCustomButton::SetTransparent(Value);
}

void TGwCustomGlyphButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomButton::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFrameController.Removed(AComponent);
}

void TGwCustomGlyphButton::CustomFramingChanged() {
    TGwFrameController* fc = FrameController();
    if (!fc || !fc->FrameVisible())
        return;
    TGwCustomButton::SetHotTrack(true);
    const TGwFrameControllerNotifications& n = FrameControllerNotifications;
    if (n.Contains(fcpColor))
        FFillColor = fc->Color();
    if (n.Contains(fcpFrameColor))
        FFrameColor = fc->FrameColor();
    if (n.Contains(fcpFocusColor))
        FFocusColor = fc->FocusColor();
    if (n.Contains(fcpDisabledColor))
        FDisabledColor = fc->DisabledColor();
    if (n.Contains(fcpReadOnlyColor))
        FReadOnlyColor = fc->ReadOnlyColor();
    if (n.Contains(fcpReadOnlyColorOnFocus))
        FReadOnlyColorOnFocus = fc->ReadOnlyColorOnFocus();
    if (n.Contains(fcpFrameHotTrack))
        FHotTrackStyle = fc->FrameHotTrack() ? htsFrame : htsInterior;
    if (n.Contains(fcpFrameHotColor) && FHotTrackStyle == htsFrame)
        HotTrackColor = fc->FrameHotColor();
    Invalidate();
}

TRect TGwCustomGlyphButton::GlyphRect() {
    const bool right = UseRightToLeftReading() == (FAlignment == taRightJustify);
    const int x = right ? Width() - FGlyphWidth : 0;
    int y = 2;
    if (AlignmentVertical() == avCenter)
        y = (Height() - FGlyphHeight) / 2;
    else if (AlignmentVertical() == avBottom)
        y = Height() - FGlyphHeight - 2;
    return Bounds(x, y, FGlyphWidth, FGlyphHeight);
}

void TGwCustomGlyphButton::ExtractGlyph(int Index, TBitmap* Target, int W, int H, TBitmap* Source) {
    Target->SetSize(W, H);
    Target->Canvas()->CopyRect(TRect(0, 0, W, H), Source->Canvas(), TRect(Index * W, 0, (Index + 1) * W, H));
}

int TGwCustomGlyphButton::DisplayState() {
    if (!Enabled())
        return bdsDisabled;
    if (FPressedInside)
        return bdsDown;
    return MouseOverButton() ? bdsHot : bdsNormal;
}

TGwGlyphColors TGwCustomGlyphButton::GlyphColors() {
    TGwGlyphColors g;
    g.DisplayState = TGwButtonDisplayState(DisplayState());
    g.Focused = Focused();
    g.HotTrackStyle = FHotTrackStyle;
    g.FrameColor = FFrameColor;
    g.HighlightColor = HighlightColor();
    g.FillColor = FFillColor;
    g.FocusColor = FFocusColor;
    g.DisabledColor = FDisabledColor;
    if (HotTrackColorType == htctActual) {
        g.HotTrackStartColor = BlendColors(clWhite, HotTrackColor, 190);
        g.HotTrackStopColor = HotTrackColor;
    } else {
        g.HotTrackStartColor = ComplementaryColor(HotTrackColor, 180);
        g.HotTrackStopColor = DarkerColor(g.HotTrackStartColor, 30);
    }
    g.ReadOnly = FReadOnly;
    g.ReadOnlyColorOnFocus = FReadOnlyColorOnFocus;
    g.ReadOnlyColor = FReadOnlyColor;
    return g;
}

void TGwCustomGlyphButton::DrawThemedGlyph(TBitmap* Glyph, TThemedButton Normal) {
    TCanvas* c = Glyph->Canvas();
    const TRect cell(0, 0, FGlyphWidth, FGlyphHeight);
    c->Brush()->SetColor(Color());
    c->FillRect(cell);
    // The styles keep each check state's looks in the order normal, hot, pressed, disabled.
    const int look = !Enabled() ? 3 : FPressedInside ? 2 : MouseOverButton() ? 1 : 0;
    ThemeServices()->DrawElement(HDC(c), TThemeServices::GetElementDetails(TThemedButton(Normal + look)),
                                 cell);
}

void TGwCustomGlyphButton::DrawGlyph(TCanvas* Canvas) {
    if (!Canvas)
        Canvas = this->Canvas();
    if (FGlyphWidth <= 0 || FGlyphHeight <= 0)
        return;
    TBitmap glyph;
    glyph.SetSize(FGlyphWidth, FGlyphHeight);
    SelectGlyph(&glyph);
    const TRect at = GlyphRect();
    const TRect cell(0, 0, FGlyphWidth, FGlyphHeight);
    TBitmap work;
    work.SetSize(FGlyphWidth, FGlyphHeight);
    if (!Transparent()) {
        work.Canvas()->Brush()->SetColor(Color());
        work.Canvas()->BrushCopy(cell, &glyph, cell, FTransparentColor);
    } else {
        work.Canvas()->CopyRect(cell, Canvas, at);
        DrawFullTransparentBitmap(work.Canvas(), &glyph, cell, cell,
                                  UsesThemes() ? clBtnFace : FTransparentColor);
    }
    TBitmap out;
    if (FUseCustomGlyphs) {
        out.SetSize(FGlyphWidth, FGlyphHeight);
        out.Canvas()->Brush()->SetColor(clWindow);
        out.Canvas()->BrushCopy(cell, &work, cell, FWinMaskColor);
    } else {
        out.Assign(&work);
    }
    if (Transparent())
        BlendButtonFrame(&out);
    Canvas->Draw(at.Left, at.Top, &out);
}

void TGwCustomGlyphButton::UpdateBackground(TCanvas* Source) {
    FBackground->SetSize(Width(), Height());
    const TRect all(0, 0, Width(), Height());
    if (Transparent()) {
        FBackground->Canvas()->CopyRect(all, Source, all);
    } else {
        FBackground->Canvas()->Brush()->SetColor(Color());
        FBackground->Canvas()->FillRect(all);
    }
    FBackgroundInvalid = false;
}

void TGwCustomGlyphButton::Paint() {
    if (ComponentState().Contains(csDestroying))
        return;
    TCanvas* target = Canvas();
    TBitmap off;
    off.SetSize(Width(), Height());
    TCanvas* c = off.Canvas();
    c->SetFont(Font());
    c->Brush()->SetColor(Color());
    if (FBackgroundInvalid)
        UpdateBackground(target);
    c->Draw(0, 0, FBackground.get());
    DrawGlyph(c);
    TRect text = ClientRect();
    InflateRect(text, -1, -1);
    const bool glyphRight = GlyphRect().Left > 0;
    if (glyphRight)
        text.Right -= FGlyphWidth + 4;
    else
        text.Left += FGlyphWidth + 4;
    unsigned flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (UseRightToLeftAlignment())
        flags |= DT_RIGHT;
    Draw3DText(c, text, flags);
    InflateRect(text, 1, 1);
    if (Focused() && !Caption().empty()) {
        const int w = std::min(text.Width(), c->TextWidth(Trim(Caption())) + 3);
        TRect focus = text;
        if (UseRightToLeftAlignment())
            focus.Left = focus.Right - w;
        else
            focus.Right = focus.Left + w;
        DrawFocusBorder(c, focus);
    }
    target->CopyRect(TRect(0, 0, Width(), Height()), c, TRect(0, 0, Width(), Height()));
}

void TGwCustomGlyphButton::PaintBackground(HDC DC) {
    if (Transparent())
        DrawParentImage(this, DC, true);
}

void TGwCustomGlyphButton::KeyPress(char& Key) {
    if (TabOnEnter && Key == 13) {
        Key = 0;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TGwCustomButton::KeyPress(Key);
}

void TGwCustomGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FMouseIsDown = true;
    TGwCustomButton::MouseDown(Button, Shift, X, Y);
}

void TGwCustomGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwCustomButton::MouseUp(Button, Shift, X, Y);
    FMouseIsDown = false;
}

void TGwCustomGlyphButton::WMEraseBkgnd(TWMEraseBkgnd& Message) {
    TGwCustomButton::WMEraseBkgnd(Message);
    FBackgroundInvalid = true;
}

void TGwCustomGlyphButton::WMSize(TWMSize& Message) {
    TGwCustomButton::WMSize(Message);
    FBackgroundInvalid = true;
}

void TGwCustomGlyphButton::CMEnabledChanged(TMessage& Message) {
    TGwCustomButton::CMEnabledChanged(Message);
    FBackgroundInvalid = true;
    Invalidate();
}

void TGwCustomGlyphButton::CMParentColorChanged(TMessage& Message) {
    TGwCustomButton::CMParentColorChanged(Message);
    FBackgroundInvalid = true;
    Invalidate();
}

void TGwCustomGlyphButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGwCustomButton::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action && (!CheckDefaults || !Checked()))
        SetChecked(action->Checked());
}

TControlActionLink* TGwCustomGlyphButton::CreateActionLink() { return new TGwCheckedActionLink(this); }

bool TGwCustomGlyphButton::IsCheckedStored() const {
    auto* link = dynamic_cast<TGwCheckedActionLink*>(ActionLink());
    return !link || !link->IsCheckedLinked();
}

void TGwCustomGlyphButton::FireClick() {
    if (!ClicksDisabled)
        Click();
}

// ---------------------------------------------------------------- TGwRadioButton

TGwRadioButton::TGwRadioButton(TComponent* AOwner) : TGwCustomGlyphButton(AOwner) {
    SetAlignmentVertical(avTop);
    FNumGlyphs = 6;
    SetTabStop(false);
}

void TGwRadioButton::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    SetTabStop(Value);
    UpdateDisplay();
    if (!Value)
        return;
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TGwRadioButton*>(p->Controls(i)); r && r != this)
                r->SetChecked(false);
    FireClick();
}

void TGwRadioButton::SetReadOnly(bool Value) {
    if (ReadOnly() == Value)
        return;
    TGwCustomGlyphButton::SetReadOnly(Value);
    UpdateDisplay();
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TGwRadioButton*>(p->Controls(i)); r && r != this)
                r->SetReadOnly(Value);
}

void TGwRadioButton::ChangeState() {
    if (!FChecked && !ReadOnly())
        SetChecked(true);
}

void TGwRadioButton::SelectGlyph(TBitmap* Glyph) {
    TCanvas* c = Glyph->Canvas();
    const TRect cell(0, 0, GlyphWidth(), GlyphHeight());
    const bool pressed = FPressedInside;
    if (UseCustomGlyphs()) {
        const int index = !Enabled() ? 4 + int(FChecked) : pressed ? 2 + int(FChecked) : int(FChecked);
        TBitmap part;
        ExtractGlyph(index, &part, GlyphWidth(), GlyphHeight(), CustomGlyphs());
        Glyph->Assign(&part);
    } else if (UsesThemes()) {
        DrawThemedGlyph(Glyph, FChecked ? tbRadioButtonCheckedNormal : tbRadioButtonUncheckedNormal);
    } else if (HotTrack()) {
        DrawRadioButton(c, cell, FChecked, GlyphColors(), Color(), Transparent(), clOlive);
    } else {
        c->Brush()->SetColor(TransparentColor());
        c->FillRect(cell);
        unsigned state = DFCS_BUTTONRADIO | DFCS_TRANSPARENT;
        if (FChecked)
            state |= DFCS_CHECKED;
        if (pressed)
            state |= DFCS_PUSHED;
        if (!Enabled())
            state |= DFCS_INACTIVE;
        TRect r = cell;
        DrawFrameControl(HDC(c), &r, DFC_BUTTON, state);
    }
}

void TGwRadioButton::BlendButtonFrame(TBitmap* Bitmap) {
    static const TPoint Half[] = {{4, 0}, {8, 0},  {2, 1},  {10, 1},  {1, 2},  {11, 2},  {0, 4},  {12, 4},
                                  {0, 8}, {12, 8}, {1, 10}, {11, 10}, {2, 11}, {10, 11}, {4, 12}, {8, 12}};
    static const TPoint Light[] = {{3, 0}, {9, 0}, {0, 3}, {12, 3}, {0, 9}, {12, 9}, {3, 12}, {9, 12}};
    TCanvas* c = Bitmap->Canvas();
    for (const TPoint& p : Half)
        c->SetPixel(p.x, p.y, BlendColors(FrameColor(), c->GetPixel(p.x, p.y), 128));
    for (const TPoint& p : Light)
        c->SetPixel(p.x, p.y, BlendColors(FrameColor(), c->GetPixel(p.x, p.y), 40));
}

void TGwRadioButton::Dispatch(TMessage& Message) {
    if (Message.Msg == BM_GETCHECK) {
        Message.Result = FChecked ? 1 : 0;
        return;
    }
    if (Message.Msg == WM_LBUTTONDBLCLK) {
        TGwCustomGlyphButton::Dispatch(Message);
        DblClick();
        return;
    }
    TGwCustomGlyphButton::Dispatch(Message);
}

void TGwRadioButton::CMDialogChar(TWMKey& Message) {
    if (IsAccel(WORD(Message.CharCode), Caption()) && CanFocus()) {
        SetFocus();
        Message.Result = 1;
        return;
    }
    TGwCustomGlyphButton::CMDialogChar(Message);
}

void TGwRadioButton::CMDialogKey(TWMKey& Message) {
    const bool shift = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (Message.CharCode == VK_DOWN && !shift && CanFocus()) {
        FireClick();
        Message.Result = 1;
        return;
    }
    TGwCustomGlyphButton::CMDialogKey(Message);
}

void TGwRadioButton::WMSetFocus(TWMSetFocus& Message) {
    TGwCustomGlyphButton::WMSetFocus(Message);
    if (!FMouseIsDown && !ReadOnly())
        SetChecked(true);
}

// ---------------------------------------------------------------- TGwCustomCheckBox

TGwCustomCheckBox::TGwCustomCheckBox(TComponent* AOwner) : TGwCustomGlyphButton(AOwner) {
    SetAlignmentVertical(avTop);
    FNumGlyphs = 9;
}

void TGwCustomCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value)
        return;
    FState = Value;
    UpdateDisplay();
    FireClick();
}

void TGwCustomCheckBox::InitState(TCheckBoxState Value) {
    if (FState == Value)
        return;
    FState = Value;
    UpdateDisplay();
}

void TGwCustomCheckBox::ChangeState() {
    if (FMouseIsDown && ReadOnly())
        return;
    switch (FState) {
    case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TGwCustomCheckBox::SelectGlyph(TBitmap* Glyph) {
    TCanvas* c = Glyph->Canvas();
    const TRect cell(0, 0, GlyphWidth(), GlyphHeight());
    const bool pressed = FPressedInside;
    if (UseCustomGlyphs()) {
        const int index = (!Enabled() ? 6 : pressed ? 3 : 0) + int(FState);
        TBitmap part;
        ExtractGlyph(index, &part, GlyphWidth(), GlyphHeight(), CustomGlyphs());
        Glyph->Assign(&part);
    } else if (UsesThemes()) {
        static const TThemedButton Normal[] = {tbCheckBoxUncheckedNormal, tbCheckBoxCheckedNormal,
                                               tbCheckBoxMixedNormal};
        DrawThemedGlyph(Glyph, Normal[FState]);
    } else if (HotTrack()) {
        DrawCheckBox(c, cell, FState, GlyphColors());
    } else {
        unsigned state = DFCS_BUTTONCHECK;
        if (FState == cbChecked)
            state |= DFCS_CHECKED;
        else if (FState == cbGrayed)
            state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (pressed)
            state |= DFCS_PUSHED;
        if (!Enabled())
            state |= DFCS_INACTIVE;
        TRect r = cell;
        DrawFrameControl(HDC(c), &r, DFC_BUTTON, state);
    }
}

void TGwCustomCheckBox::Dispatch(TMessage& Message) {
    if (Message.Msg == BM_GETCHECK) {
        Message.Result = LRESULT(FState);
        return;
    }
    TGwCustomGlyphButton::Dispatch(Message);
}

void TGwCustomCheckBox::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomGlyphButton::KeyDown(Key, Shift);
    if (ReadOnly())
        return;
    if (Key == VK_ESCAPE || Key == VK_SPACE) {
        FSpacePressed = FPressedInside = Key == VK_SPACE;
        UpdateDisplay();
    }
}

void TGwCustomCheckBox::KeyUp(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE && !ReadOnly()) {
        FPressedInside = false;
        if (FSpacePressed)
            ChangeState();
        UpdateDisplay();
    }
    TGwCustomGlyphButton::KeyUp(Key, Shift);
}

void TGwCustomCheckBox::DoExit() {
    TGwCustomGlyphButton::DoExit();
    FPressedInside = false;
    UpdateDisplay();
}

void TGwCustomCheckBox::CMDialogChar(TWMKey& Message) {
    if (!IsAccel(WORD(Message.CharCode), Caption()) || !CanFocus()) {
        TGwCustomGlyphButton::CMDialogChar(Message);
        return;
    }
    SetFocus();
    if (Focused() && !ReadOnly()) {
        ChangeState();
        UpdateDisplay();
    }
    Message.Result = 1;
}

// ---------------------------------------------------------------- TGwCheckedActionLink

TGwCheckedActionLink::TGwCheckedActionLink(TGwCustomGlyphButton* AClient)
    : TWinControlActionLink(AClient), FClient(AClient) {}

// The action takes its new value before it tells the link: the old one is kept here.
bool TGwCheckedActionLink::IsCheckedLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) && FClient->Checked() == FChecked;
}

void TGwCheckedActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) {
        FClient->ClicksDisabled = true;
        FClient->SetChecked(Value);
        FClient->ClicksDisabled = false;
    }
    FChecked = Value;
}
