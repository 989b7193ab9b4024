// The spin button pair.
#include "Gwspnedt.h"
#include "winapi.h"

TGwSpinButtons::TGwSpinButtons(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
    FUpRight = MakeButton();
    FDownLeft = MakeButton();
    FLast = FUpRight;
    ResetArrows();
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 16, 25);
}

TGwSpinButtons::~TGwSpinButtons() = default;

TGwControlButton* TGwSpinButtons::MakeButton() {
    auto* b = new TGwControlButton(this);
    b->SetParent(this);
    b->RepeatClicks = true;
    b->SetNumGlyphs(2);
    b->OnMouseDown = [this](TObject* s, TMouseButton Button, TShiftState, int, int) {
        BtnMouseDown(s, Button);
    };
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    b->OnGlyphChange = [this](TObject* s) { BtnGlyphChange(s); };
    return b;
}

void TGwSpinButtons::ResetArrows() {
    FUpRight->SetStyle(FDirection == sdUpDown ? cbsUp : cbsRight);
    FDownLeft->SetStyle(FDirection == sdUpDown ? cbsDown : cbsLeft);
}

void TGwSpinButtons::BtnGlyphChange(TObject* Sender) {
    auto* b = static_cast<TGwControlButton*>(Sender);
    const bool custom = !b->Glyph()->Empty();
    (b == FUpRight ? FCustomUpRight : FCustomDownLeft) = custom;
    if (custom)
        b->SetStyle(cbsNone);
    else
        ResetArrows();
}

void TGwSpinButtons::SetDirection(TSpinDirection Value) {
    FDirection = Value;
    FUpRight->SetGlyph(nullptr);
    FDownLeft->SetGlyph(nullptr);
    ResetArrows();
    Invalidate();
}

void TGwSpinButtons::SetOrientation(TOrientation Value) {
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetWidth(Value == orVertical ? Width() / 2 : Width() * 2);
    Invalidate();
}

void TGwSpinButtons::SetFlat(bool Value) {
    FFlat = Value;
    FUpRight->SetFlat(Value);
    FDownLeft->SetFlat(Value);
}

void TGwSpinButtons::SetColor(TColor Value) {
    TWinControl::SetColor(Value);
    FUpRight->SetColor(Value);
    FDownLeft->SetColor(Value);
}

void TGwSpinButtons::SetEnabled(bool Value) {
    TWinControl::SetEnabled(Value);
    FUpRight->SetEnabled(Value);
    FDownLeft->SetEnabled(Value);
}

void TGwSpinButtons::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwSpinButtons::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TGwSpinButtons::BtnMouseDown(TObject* Sender, TMouseButton Button) {
    if (Button != mbLeft)
        return;
    FLast = static_cast<TGwControlButton*>(Sender);
    FCancelClick = false;
    TWinControl* target = nullptr;
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        target = FFocusControl;
    else if (!FFocusControl && TabStop() && CanFocus() && !Focused())
        target = this;
    if (target) {
        target->SetFocus();
        FCancelClick = !target->Focused();
    }
}

void TGwSpinButtons::BtnClick(TObject* Sender) {
    // A focus control that refused the focus cancels the whole press.
    if (FCancelClick)
        return;
    if (Sender == FUpRight)
        UpRightClick();
    else
        DownLeftClick();
}

void TGwSpinButtons::UpRightClick() {
    if (OnUpRightClick)
        OnUpRightClick(this);
}

void TGwSpinButtons::DownLeftClick() {
    if (OnDownLeftClick)
        OnDownLeftClick(this);
}

void TGwSpinButtons::AdjustDimensions(int& W, int& H) {
    if (ComponentState().Contains(csLoading) || !FUpRight || !FDownLeft)
        return;
    if (FOrientation == orVertical) {
        const int half = H / 2;
        FUpRight->SetBounds(0, 0, W, half);
        FDownLeft->SetBounds(0, half, W, H - half);
    } else {
        const int half = W / 2;
        FDownLeft->SetBounds(0, 0, half, H);
        FUpRight->SetBounds(half, 0, W - half, H);
    }
}

void TGwSpinButtons::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AdjustDimensions(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TGwSpinButtons::WMSize(TWMSize& Message) {
    TWinControl::WMSize(Message);
    int w = Width(), h = Height();
    AdjustDimensions(w, h);
    if (w != Width() || h != Height())
        SetBounds(Left(), Top(), w, h);
    Message.Result = 0;
}

void TGwSpinButtons::Loaded() {
    TWinControl::Loaded();
    int w = Width(), h = Height();
    AdjustDimensions(w, h);
    if (w != Width() || h != Height())
        SetBounds(Left(), Top(), w, h);
}

void TGwSpinButtons::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TGwSpinButtons::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP)
        FUpRight->Click();
    else if (Key == VK_DOWN)
        FDownLeft->Click();
    TWinControl::KeyDown(Key, Shift);
}

// ---- TGwRapidFireButton ----------------------------------------------------------------------------

TGwRapidFireButton::TGwRapidFireButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TGwRapidFireButton::~TGwRapidFireButton() = default;

void TGwRapidFireButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (!AutoRepeat)
        return;
    if (!FRepeatTimer) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
    }
    FRepeatTimer->SetInterval(InitialDelay);
    FRepeatTimer->SetEnabled(true);
}

void TGwRapidFireButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
}

// Clicks only while the button is drawn down under the held mouse: dragged off, it waits.
void TGwRapidFireButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(Delay);
    if (State() != bsDown || !MouseCapture())
        return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TGwRapidFireButton::Paint() {
    TSpeedButton::Paint();
    if (!FocusRect)
        return;
    TRect r(3, 3, Width() - 3, Height() - 3);
    if (State() == bsDown)
        OffsetRect(r, 1, 1);
    Canvas()->DrawFocusRect(r);
}

void TGwRapidFireButton::SetScrollStyle(TGwScrollStyle Value) {
    if (Value == FScrollStyle)
        return;
    FScrollStyle = Value;
    if (Value == scsNone) {
        TBitmap none;
        SetGlyph(&none);
    } else
        AssignArrowGlyph();
}

// The system scroll arrow drawn on a scratch bitmap, cut down to the arrow itself.
void TGwRapidFireButton::AssignArrowGlyph() {
    static const unsigned Kinds[] = {0, DFCS_SCROLLLEFT, DFCS_SCROLLUP, DFCS_SCROLLRIGHT, DFCS_SCROLLDOWN};
    static const TRect Cuts[] = {TRect(), TRect(4, 4, 13, 13), TRect(4, 5, 13, 11), TRect(6, 4, 15, 13),
                                 TRect(4, 6, 13, 12)};
    TBitmap scratch;
    scratch.SetSize(17, 17);
    TRect all(0, 0, 17, 17);
    unsigned state = Kinds[FScrollStyle];
    if (State() == bsDown)
        state |= DFCS_PUSHED;
    if (!Enabled())
        state |= DFCS_INACTIVE;
    DrawFrameControl(scratch.Canvas(), &all, DFC_SCROLL, state);
    const TRect cut = Cuts[FScrollStyle];
    TBitmap glyph;
    glyph.SetSize(cut.Width(), cut.Height());
    glyph.Canvas()->CopyRect(TRect(0, 0, cut.Width(), cut.Height()), scratch.Canvas(), cut);
    SetGlyph(&glyph);
}

// ---- TGwSpinner ------------------------------------------------------------------------------------

TGwSpinner::TGwSpinner(TComponent* AOwner)
    : TCustomControl(AOwner), FImageLink(std::make_unique<TChangeLink>()),
      FGlyph(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 85, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    FImageLink->OnChange = [this](TObject*) {
        AdjustToImages();
        Invalidate();
    };
}

TGwSpinner::~TGwSpinner() {
    if (FImages)
        FImages->UnRegisterChanges(FImageLink.get());
}

// With Min = Max and no CheckRange there are no limits; with CheckRange every value is Min.
int TGwSpinner::CheckValue(int V) const {
    if (FMin != FMax || FCheckRange) {
        if (V < FMin)
            return FMin;
        if (V > FMax)
            return FMax;
    }
    return V;
}

bool TGwSpinner::CanChange(int NewValue) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, NewValue, allow);
    return allow;
}

void TGwSpinner::Change() {
    if (OnChange)
        OnChange(this);
}

void TGwSpinner::SetValue(int V) {
    const int nv = CheckValue(V);
    if (nv == FValue || !CanChange(nv))
        return;
    FValue = nv;
    Invalidate();
    Change();
}

void TGwSpinner::IncValue(int Amount) {
    const int old = FValue;
    SetValue(FValue + Amount);
    if (FValue != old && OnIncrement)
        OnIncrement(this, Amount);
}

void TGwSpinner::DecValue(int Amount) {
    const int old = FValue;
    SetValue(FValue - Amount);
    if (FValue != old && OnDecrement)
        OnDecrement(this, Amount);
}

// A range pushed shut by the other limit still holds the value: it becomes that one value at once
// (later values follow the range rule, where Min = Max means no limits).
void TGwSpinner::SetMin(int V) {
    FMin = V;
    const bool pushed = FMin > FMax;
    if (pushed)
        FMax = FMin;
    SetValue(pushed ? FMin : FValue);
    Invalidate();
}

void TGwSpinner::SetMax(int V) {
    FMax = V;
    const bool pushed = FMax < FMin;
    if (pushed)
        FMin = FMax;
    SetValue(pushed ? FMax : FValue);
    Invalidate();
}

void TGwSpinner::SetCheckRange(bool V) {
    FCheckRange = V;
    SetValue(FValue);
}

void TGwSpinner::SetButtonColor(TColor V) {
    FButtonColor = V;
    Invalidate();
}

void TGwSpinner::SetButtonWidth(int V) {
    FButtonWidth = V;
    Invalidate();
}

void TGwSpinner::SetFrameColor(TColor V) {
    FFrameColor = V;
    Invalidate();
}

void TGwSpinner::SetShowHexValue(bool V) {
    FShowHexValue = V;
    Invalidate();
}

void TGwSpinner::SetHexValuePrefix(const std::string& V) {
    FHexValuePrefix = V;
    Invalidate();
}

void TGwSpinner::SetThemeAware(bool V) {
    FThemeAware = V;
    Invalidate();
}

int TGwSpinner::GetImageIndex(TGwSpinnerArea Area) const {
    return Area == saMinusButton ? FImageIndexMinus : Area == saPlusButton ? FImageIndexPlus : -1;
}

void TGwSpinner::SetImageIndex(TGwSpinnerArea Area, int Index) {
    if (Area == saMinusButton)
        FImageIndexMinus = Index;
    else if (Area == saPlusButton)
        FImageIndexPlus = Index;
    Invalidate();
}

void TGwSpinner::SetImages(TCustomImageList* V) {
    if (FImages)
        FImages->UnRegisterChanges(FImageLink.get());
    FImages = V;
    if (V) {
        V->RegisterChanges(FImageLink.get());
        V->FreeNotification(this);
        AdjustToImages();
    }
    Invalidate();
}

// Buttons and height grow to hold the images.
void TGwSpinner::AdjustToImages() {
    if (!FImages)
        return;
    if (FImages->Width() > FButtonWidth)
        FButtonWidth = FImages->Width() + 4;
    if (FImages->Height() > Height())
        SetHeight(FImages->Height() + 4);
}

void TGwSpinner::CustomFramingChanged() {
    TGwFrameController* fc = FrameController();
    if (!fc || !fc->FrameVisible())
        return;
    const TGwFrameControllerNotifications n = FrameControllerNotifications;
    if (n.Contains(fcpFrameColor))
        FFrameColor = fc->FrameColor();
    if (n.Contains(fcpFlatButtonColor))
        FButtonColor = fc->FlatButtonColor();
    if (n.Contains(fcpColor))
        SetColor(fc->Color());
    if (n.Contains(fcpParentColor))
        SetParentColor(fc->ParentColor());
    Invalidate();
}

void TGwSpinner::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    FFrameController.Removed(AComponent);
}

std::string TGwSpinner::ValueText() const {
    if (!FShowHexValue)
        return IntToStr(FValue);
    return FHexValuePrefix + IntToHex(unsigned(FValue), 1);
}

TGwSpinnerArea TGwSpinner::HitTest(int X, int Y) const {
    if (Y >= 0 && Y < Height()) {
        if (X >= 0 && X < FButtonWidth)
            return saMinusButton;
        if (X >= Width() - FButtonWidth && X < Width())
            return saPlusButton;
    }
    return saValue;
}

bool TGwSpinner::Pressed(TGwSpinnerArea Area) const {
    return Area == saMinusButton ? FMinusPressed : Area == saPlusButton && FPlusPressed;
}

bool TGwSpinner::Hot(TGwSpinnerArea Area) const {
    return Area == saMinusButton ? FMinusHot : Area == saPlusButton && FPlusHot;
}

// ---- painting ----

void TGwSpinner::Paint() {
    DrawFrame();
    DrawValue();
    DrawButton(saMinusButton, FMinusPressed, TRect(1, 1, FButtonWidth - 1, Height() - 1));
    DrawButton(saPlusButton, FPlusPressed, TRect(Width() - FButtonWidth + 1, 1, Width() - 1, Height() - 1));
    if (Focused() && ShowFocusRect) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->DrawFocusRect(TRect(FButtonWidth + 1, 2, Width() - FButtonWidth - 1, Height() - 2));
    }
}

void TGwSpinner::DrawFrame() {
    TCanvas* C = Canvas();
    C->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    C->Pen()->SetColor(Enabled() ? FFrameColor : clBtnShadow);
    C->Rectangle(0, 0, Width(), Height());
    for (int x : {FButtonWidth - 1, Width() - FButtonWidth}) {
        C->MoveTo(x, 1);
        C->LineTo(x, Height() - 1);
    }
}

void TGwSpinner::DrawValue() {
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    if (!Enabled())
        C->Font()->SetColor(clBtnShadow);
    TRect r(FButtonWidth, 1, Width() - FButtonWidth, Height() - 1);
    const std::string text = ValueText();
    const int y = r.Top + (r.Height() - C->TextHeight(text)) / 2;
    C->Brush()->SetStyle(bsClear);
    C->TextRect(r, (Width() - C->TextWidth(text)) / 2, y, text);
    C->Brush()->SetStyle(bsSolid);
}

void TGwSpinner::DrawButton(TGwSpinnerArea Area, bool Down, const TRect& R) {
    TCanvas* C = Canvas();
    TRect inner = DrawBox(C, R, clWindow);
    const bool hot = Hot(Area);
    if (Down)
        C->Brush()->SetColor(DarkerColor(FButtonColor, 20));
    else if (!Enabled())
        C->Brush()->SetColor(clBtnFace);
    else if (hot) {
        inner = DrawBox(C, inner, DarkerColor(FButtonColor, 20));
        C->Brush()->SetColor(LighterColor(FButtonColor, 10));
    } else
        C->Brush()->SetColor(FButtonColor);
    C->FillRect(inner);
    const int index = GetImageIndex(Area);
    if (FImages && index != -1) {
        const int cx = (inner.Left + inner.Right) / 2, cy = (inner.Top + inner.Bottom) / 2;
        FImages->Draw(C, cx - FImages->Width() / 2, cy - FImages->Height() / 2, index, Enabled());
    } else
        DrawSpinArrow(C, R, uiWindows95, Area == saPlusButton ? dirRight : dirLeft,
                      TGwArrowState{Down, Enabled()});
    C->Pen()->SetColor(clWindowText);
    C->Brush()->SetColor(clWindow);
}

// ---- input ----

TPoint TGwSpinner::CursorInClient() {
    TPoint p;
    GetCursorPos(&p);
    return ScreenToClient(p);
}

void TGwSpinner::StepAt(TGwSpinnerArea Area) {
    if (Area == saPlusButton)
        IncValue(Increment);
    else if (Area == saMinusButton)
        DecValue(Increment);
}

void TGwSpinner::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!ComponentState().Contains(csDesigning) && CanFocus())
        SetFocus();
    if (Button != mbLeft)
        return;
    const TGwSpinnerArea area = HitTest(X, Y);
    if (area == saValue)
        return;
    FMinusPressed = area == saMinusButton;
    FPlusPressed = area == saPlusButton;
    if (!FRepeatTimer) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
    }
    FRepeatTimer->SetInterval(FInitialRepeatDelay);
    FRepeatTimer->SetEnabled(true);
    Invalidate();
}

void TGwSpinner::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(FRepeatDelay);
    try {
        StepAt(HitTest(CursorInClient()));
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

// The button under the mouse at release steps once, whichever was pressed.
void TGwSpinner::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const bool pressed = FMinusPressed || FPlusPressed;
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    FMinusPressed = FPlusPressed = false;
    if (pressed)
        StepAt(HitTest(X, Y));
    Invalidate();
}

void TGwSpinner::SetHot(TGwSpinnerArea Area) {
    if (Area == FLastHot)
        return;
    FLastHot = Area;
    FMinusHot = Area == saMinusButton;
    FPlusHot = Area == saPlusButton;
    Invalidate();
}

void TGwSpinner::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    SetHot(HitTest(X, Y));
}

void TGwSpinner::CMMouseEnter(TMessage& Message) {
    TCustomControl::CMMouseEnter(Message);
    SetHot(HitTest(CursorInClient()));
}

void TGwSpinner::CMMouseLeave(TMessage& Message) {
    TCustomControl::CMMouseLeave(Message);
    SetHot(saValue);
}

void TGwSpinner::CMEnabledChanged(TMessage& Message) {
    TCustomControl::CMEnabledChanged(Message);
    Invalidate();
}

void TGwSpinner::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TGwSpinner::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

void TGwSpinner::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TGwSpinner::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_UP:
    case VK_RIGHT:
    case VK_ADD: IncValue(Increment); break;
    case VK_DOWN:
    case VK_LEFT:
    case VK_SUBTRACT: DecValue(Increment); break;
    case VK_PRIOR: IncValue(PageSize); break;
    case VK_NEXT: DecValue(PageSize); break;
    }
}

void TGwSpinner::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (TabOnEnter && Key == '\r') {
        Key = 0;
        if (HandleAllocated())
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
}

bool TGwSpinner::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    TCustomControl::DoMouseWheelDown(Shift, MousePos);
    DecValue(Shift.Contains(ssCtrl) ? PageSize : Increment);
    return true;
}

bool TGwSpinner::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    TCustomControl::DoMouseWheelUp(Shift, MousePos);
    IncValue(Shift.Contains(ssCtrl) ? PageSize : Increment);
    return true;
}

// At design time a click on a button goes to the control unless Shift and Ctrl are both held.
void TGwSpinner::CMDesignHitTest(TWMMouse& Message) {
    const TShiftState shift = KeysToShiftState(WORD(Message.Keys));
    const bool both = shift.Contains(ssShift) && shift.Contains(ssCtrl);
    Message.Result = HitTest(Message.XPos, Message.YPos) != saValue && !both ? 1 : 0;
}
