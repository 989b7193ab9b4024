// The spin button pair.
#include "Gwspnedt.h"

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
