// The spin edit: a framed edit with the spin button pair, stepping the number in its text.
#include "Gwspnedtedit.h"

#include <cmath>

#include "Gwutils.h"
#include "winapi.h"

TGwSpinEdit::TGwSpinEdit(TComponent* AOwner) : TGwCustomEdit(AOwner), FButtons(new TGwSpinButtons(this)) {
    FButtons->SetParent(this);
    FButtons->SetBounds(0, 0, 17, 17);
    FButtons->SetVisible(true);
    FButtons->OnUpRightClick = [this](TObject* Sender) { UpRightClickHandler(Sender); };
    FButtons->OnDownLeftClick = [this](TObject* Sender) { DownLeftClickHandler(Sender); };
    SetAlignment(taRightJustify);
    SetWidth(47);
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetValue(0);
}

TGwSpinEdit::~TGwSpinEdit() = default;

void TGwSpinEdit::CreateParams(TCreateParams& Params) {
    TGwCustomEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

// ---- value -----------------------------------------------------------------------------------------

bool TGwSpinEdit::ReadText(double& V) const { return TryStrToFloat(Text(), V); }

// Nothing readable raises here: such text stands for Min, as the text shows once the edit is left.
double TGwSpinEdit::GetValue() {
    if (Text().empty()) {
        if (AllowBlank)
            return BlankValue;
        SetText(FloatToStr(FMin));
    }
    double v;
    return ReadText(v) ? v : FMin;
}

double TGwSpinEdit::CheckValue(double V) const {
    if (FMin != FMax || FCheckRange) {
        if (V < FMin)
            return FMin;
        if (V > FMax)
            return FMax;
    }
    return V;
}

// The caret stays where it was, one further when the text grew, one back when it shrank.
void TGwSpinEdit::SetValue(double V) {
    const bool placed = Parent() != nullptr;
    int caret = 0, length = 0;
    bool noSelection = false;
    if (placed) {
        noSelection = SelLength() == 0;
        caret = SelStart();
        length = int(Text().size());
    }
    SetText(FloatToStrF(CheckValue(V), ffFixed, 18, FDecimals));
    if (placed && noSelection) {
        const int now = int(Text().size());
        SetSelStart(std::max(0, caret + (now > length ? 1 : now < length ? -1 : 0)));
    }
}

bool TGwSpinEdit::CanChange(double NewValue) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, NewValue, allow);
    return allow;
}

void TGwSpinEdit::DoButtonClick(TSpinButtonType B) {
    if (OnButtonClick)
        OnButtonClick(this, B);
}

void TGwSpinEdit::IncValue(double Amount) {
    if (ReadOnly()) {
        InvalidKeyPressed();
        return;
    }
    const double next = GetValue() + Amount;
    if (!CanChange(next))
        return;
    SetValue(next);
    DoButtonClick(sbUp);
}

void TGwSpinEdit::DecValue(double Amount) {
    if (ReadOnly()) {
        InvalidKeyPressed();
        return;
    }
    const double next = GetValue() - Amount;
    if (!CanChange(next))
        return;
    SetValue(next);
    DoButtonClick(sbDown);
}

void TGwSpinEdit::UpRightClickHandler(TObject*) { IncValue(Increment); }

void TGwSpinEdit::DownLeftClickHandler(TObject*) { DecValue(Increment); }

// A range pushed shut by the other limit still holds the value: it becomes that one value at once
// (later values follow the range rule, where Min = Max means no limits).
void TGwSpinEdit::SetMin(double V) {
    if (V == FMin)
        return;
    const double value = GetValue();
    FMin = V;
    const bool pushed = FMax < FMin;
    if (pushed)
        FMax = FMin;
    SetValue(pushed ? FMin : value);
    Invalidate();
}

void TGwSpinEdit::SetMax(double V) {
    if (V == FMax)
        return;
    const double value = GetValue();
    FMax = V;
    const bool pushed = FMax < FMin;
    if (pushed)
        FMin = FMax;
    SetValue(pushed ? FMax : value);
    Invalidate();
}

void TGwSpinEdit::SetCheckRange(bool V) {
    FCheckRange = V;
    Reapply();
}

void TGwSpinEdit::SetDecimals(int V) {
    FDecimals = std::clamp(V, 0, 255);
    Reapply();
}

void TGwSpinEdit::SetIntegersOnly(bool V) {
    FIntegersOnly = V;
    if (V) {
        const double rounded = std::round(GetValue());
        FDecimals = 0;
        SetValue(rounded);
    }
}

// ---- keys ------------------------------------------------------------------------------------------

void TGwSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomEdit::KeyDown(Key, Shift);
    switch (Key) {
    case VK_DELETE:
        if (!AllowKeyEdit) {
            InvalidKeyPressed();
            Key = 0;
        }
        break;
    case VK_UP:
        IncValue(Increment);
        Key = 0;
        break;
    case VK_DOWN:
        DecValue(Increment);
        Key = 0;
        break;
    case VK_PRIOR:
        IncValue(PageSize);
        Key = 0;
        break;
    case VK_NEXT:
        DecValue(PageSize);
        Key = 0;
        break;
    }
}

void TGwSpinEdit::KeyPress(char& Key) {
    TGwCustomEdit::KeyPress(Key);
    if (Key != 0 && !IsValidChar(Key)) {
        InvalidKeyPressed();
        Key = 0;
    }
}

bool TGwSpinEdit::IsValidChar(char Key) {
    const bool control = static_cast<unsigned char>(Key) < 0x20;
    const bool sign = Key == '+' || Key == '-';
    const bool separator = !FIntegersOnly && Key == DecimalSeparator;
    bool valid = (Key >= '0' && Key <= '9') || sign || separator || (control && Key != '\r');
    const std::string text = Text();
    const int start = SelStart(), length = SelLength();
    const std::string selected = text.substr(std::min<size_t>(start, text.size()), length);
    if (valid && separator)
        valid = text.find(DecimalSeparator) == std::string::npos ||
                (length > 0 && selected.find(DecimalSeparator) != std::string::npos);
    if (valid && sign)
        valid = (start == 0 && text.find_first_of("+-") == std::string::npos) ||
                (length > 0 && length == int(text.size()));
    if (!AllowKeyEdit)
        valid = control && Key != '\r' && Key != '\b';
    return valid;
}

bool TGwSpinEdit::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    TGwCustomEdit::DoMouseWheelDown(Shift, MousePos);
    DecValue(Shift.Contains(ssCtrl) ? PageSize : Increment);
    return true;
}

bool TGwSpinEdit::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    TGwCustomEdit::DoMouseWheelUp(Shift, MousePos);
    IncValue(Shift.Contains(ssCtrl) ? PageSize : Increment);
    return true;
}

void TGwSpinEdit::CMEnter(TMessage& Message) {
    TGwCustomEdit::CMEnter(Message);
    SetEditRect();
    if (AutoSelect && !(GetKeyState(VK_LBUTTON) & 0x8000))
        SelectAll();
}

// Leaving puts the value back as text: clamped, formatted, Min for unreadable text.
void TGwSpinEdit::CMExit(TMessage& Message) {
    TGwCustomEdit::CMExit(Message);
    SetEditRect();
    if (Text().empty() && AllowBlank)
        return;
    double v;
    SetValue(ReadText(v) ? v : FMin);
}

void TGwSpinEdit::Dispatch(TMessage& Message) {
    if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!AllowKeyEdit || ReadOnly()))
        return;
    TGwCustomEdit::Dispatch(Message);
}

// ---- layout ----------------------------------------------------------------------------------------

TRect TGwSpinEdit::GetEditRect() {
    TRect r = ClientRect();
    if (!ReadOnly())
        r.Right -= FButtonWidth + 2;
    return r;
}

void TGwSpinEdit::SetEditRect() {
    if (!HandleAllocated())
        return;
    if (ReadOnly()) {
        Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        return;
    }
    if (ComponentState().Contains(csLoading))
        return;
    const bool rtl = BiDiMode() != bdLeftToRight;
    const int margin = FButtonWidth + 2;
    Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
            rtl ? MAKELPARAM(margin, 0) : MAKELPARAM(0, margin));
}

void TGwSpinEdit::ResizeButtons() {
    if (ComponentState().Contains(csLoading))
        return;
    const int minHeight = GetMinFontHeight(Font());
    if (minHeight > Height()) {
        SetHeight(minHeight);
        return;
    }
    const int w = FButtons->Width();
    const bool rtl = BiDiMode() != bdLeftToRight;
    if (rtl)
        FButtons->SetBounds(0, 0, w, Height() - 4);
    else if (FrameVisible() || Ctl3D()) {
        if (GwThemesEnabled())
            FButtons->SetBounds(Width() - w - 3, -1, w, Height() - 2);
        else
            FButtons->SetBounds(Width() - w - 4, 0, w, Height() - 4);
    } else
        FButtons->SetBounds(Width() - w - 1, 1, w, Height() - 2);
    SetEditRect();
}

void TGwSpinEdit::SetButtonWidth(int V) {
    FButtonWidth = std::max(0, V);
    FButtons->SetWidth(Orientation() == orVertical ? FButtonWidth : 2 * FButtonWidth);
    ResizeButtons();
    Invalidate();
}

void TGwSpinEdit::SetOrientation(TOrientation V) {
    FButtons->SetOrientation(V);
    ResizeButtons();
    Invalidate();
}

void TGwSpinEdit::SetFlatButtons(bool Value) {
    TGwCustomEdit::SetFlatButtons(Value);
    FButtons->SetFlat(Value);
    ResizeButtons();
}

void TGwSpinEdit::SetFrameStyle(TFrameStyle Value) {
    TGwCustomEdit::SetFrameStyle(Value);
    ResizeButtons();
}

void TGwSpinEdit::FramingButtonsChanged() {
    TGwCustomEdit::FramingButtonsChanged();
    FButtons->SetFlat(FlatButtons());
}

void TGwSpinEdit::ReadOnlyChanged() {
    TGwCustomEdit::ReadOnlyChanged();
    FButtons->SetVisible(!ReadOnly());
    SetEditRect();
}

// Flat buttons take the flat-button colour while the edit is hot or focused.
void TGwSpinEdit::UpdateFrame(bool ViaMouse, bool In) {
    TGwCustomEdit::UpdateFrame(ViaMouse, In);
    if (!FlatButtons())
        return;
    const bool hot = HasFocus() || MouseOver();
    if (GwThemesEnabled()) {
        FButtons->SetFlat(!hot);
        FButtons->SetColor(Color());
    } else
        FButtons->SetColor(hot ? FlatButtonColor() : Color());
}

void TGwSpinEdit::CreateWnd() {
    TGwCustomEdit::CreateWnd();
    SetEditRect();
}

void TGwSpinEdit::Loaded() {
    TGwCustomEdit::Loaded();
    ResizeButtons();
}

void TGwSpinEdit::WMSize(TWMSize& Message) {
    TGwCustomEdit::WMSize(Message);
    ResizeButtons();
}

void TGwSpinEdit::CMColorChanged(TMessage& Message) {
    TGwCustomEdit::CMColorChanged(Message);
    FButtons->SetColor(Color());
}

void TGwSpinEdit::CMEnabledChanged(TMessage& Message) {
    TGwCustomEdit::CMEnabledChanged(Message);
    if (FlatButtons())
        FButtons->SetColor(Color());
    FButtons->SetEnabled(Enabled());
    SetEditRect();
}

void TGwSpinEdit::CMFontChanged(TMessage& Message) {
    TGwCustomEdit::CMFontChanged(Message);
    if (HandleAllocated())
        SetEditRect();
    FButtons->SetEnabled(Enabled());
}
