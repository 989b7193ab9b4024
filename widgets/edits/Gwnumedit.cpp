// The Gw numeric edit (typed keys filtered, forgiving reading, display format, range on exit) and
// the expand edit.
#include <cmath>
#include <limits>

#include "Gwedit.h"

// ---- TGwNumericEdit ------------------------------------------------------------------------------

TGwNumericEdit::TGwNumericEdit(TComponent* AOwner) : TGwEdit(AOwner) {
    FControlStyle >> csSetCaption;
    SetAlignment(taRightJustify);
    SetBounds(Left(), Top(), 65, 21);
    SetText(FormatText(0));
}

std::string TGwNumericEdit::FormatText(double Value) const { return FormatFloat(FDisplayFormat, Value); }

double TGwNumericEdit::Value() {
    if (Text().empty()) {
        if (AllowBlank)
            return BlankValue;
        SetText(FormatText(FMin));
    }
    return EvaluateText();
}

void TGwNumericEdit::SetValue(double Value) {
    if (EvaluateText() != Value)
        SetText(FormatText(Value));
}

int TGwNumericEdit::IntValue() {
    // Ties go to the even neighbour; values beyond 32 bits stop at the limits.
    const double v = std::nearbyint(Value());
    if (!(v >= std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return int(v);
}

void TGwNumericEdit::SetIntegersOnly(bool Value) {
    if (Value == FIntegersOnly)
        return;
    FIntegersOnly = Value;
    if (Value)
        SetValue(std::nearbyint(this->Value()));
}

void TGwNumericEdit::SetMin(double Value) {
    if (Value == FMin)
        return;
    FMin = Value;
    if (FMin > FMax)
        FMax = FMin;
    Invalidate();
}

void TGwNumericEdit::SetMax(double Value) {
    if (Value == FMax)
        return;
    FMax = Value;
    if (FMax < FMin)
        FMin = FMax;
    Invalidate();
}

void TGwNumericEdit::SetDisplayFormat(const std::string& Value) {
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    const double v = this->Value();
    if (!ComponentState().Contains(csLoading))
        SetText(FormatText(v));
}

bool TGwNumericEdit::IsValidChar(char Key) {
    return GwIsValidNumberChar(Key, Text(), SelStart(), SelLength(), FIntegersOnly);
}

double TGwNumericEdit::CheckValue(double NewValue, bool& KeepInvalid) {
    TGwRangeErrorHandler handler;
    if (OnRangeError)
        handler = [this](double Entered, double Adjusted, bool& AutoCorrect) {
            OnRangeError(this, Entered, Adjusted, AutoCorrect);
        };
    const double result = GwCheckRange(NewValue, FMin, FMax, CheckRange, handler, KeepInvalid);
    FValueChanged = result != FLastValue;
    FLastValue = result;
    return result;
}

void TGwNumericEdit::Loaded() {
    TGwEdit::Loaded();
    FReformatting = true;
    FLastValue = EvaluateText();
    SetText(FormatText(FLastValue));
    FReformatting = false;
}

void TGwNumericEdit::Change() {
    if (!ComponentState().Contains(csLoading) && !FReformatting)
        TGwEdit::Change();
}

void TGwNumericEdit::KeyPress(char& Key) {
    TGwEdit::KeyPress(Key);
    if (Key && !IsValidChar(Key)) {
        Key = 0;
        InvalidKeyPressed();
    }
}

void TGwNumericEdit::CMEnter(TMessage& Message) {
    FValueChanged = false;
    FLastValue = EvaluateText();
    if (!AllowBlank)
        SetText(FormatText(FLastValue));
    TGwEdit::CMEnter(Message);
}

void TGwNumericEdit::CMExit(TMessage& Message) {
    if (!(AllowBlank && Text().empty())) {
        bool keep = false;
        const double v = CheckValue(EvaluateText(), keep);
        if (keep) {
            // Stops the focus change under way (silently at the event boundary): without it the
            // control that was to get the focus takes it anyway and the entry is reported again.
            SetFocus();
            Abort();
        }
        SetText(FormatText(v));
    }
    TGwEdit::CMExit(Message);
}

// ---- TGwExpandEdit -------------------------------------------------------------------------------

TGwExpandEdit::TGwExpandEdit(TComponent* AOwner) : TGwEdit(AOwner), FSavedWidth(Width()) {}

void TGwExpandEdit::SetExpandedWidth(int Value) {
    if (Value == FExpandedWidth)
        return;
    FExpandedWidth = Value;
    Invalidate();
}

void TGwExpandEdit::SetExpandOn(TExpandOnType Value) {
    if (Value == FExpandOn)
        return;
    FExpandOn = Value;
    Invalidate();
}

void TGwExpandEdit::Expand() {
    BringToFront();
    FSavedWidth = Width();
    SetWidth(FExpandedWidth);
    FExpanded = true;
}

void TGwExpandEdit::WMSetFocus(TWMSetFocus& Message) {
    if (FExpandOn == etFocus && FExpandedWidth >= 1 && !FExpanded) {
        Expand();
        if (AutoSelect)
            SelectAll();
    }
    TGwEdit::WMSetFocus(Message);
}

void TGwExpandEdit::WMKillFocus(TWMKillFocus& Message) {
    if (FExpandOn != etNone && FExpanded)
        SetWidth(FSavedWidth);
    FExpanded = false;
    TGwEdit::WMKillFocus(Message);
}

void TGwExpandEdit::WMRButtonUp(TWMMouse& Message) {
    if (FExpandOn != etMouseButton2Click || FExpandedWidth < 1) {
        TGwEdit::WMRButtonUp(Message);
        return;
    }
    if (FExpanded) {
        SetWidth(FSavedWidth);
        FExpanded = false;
    } else {
        Expand();
        SetFocus();
        if (AutoSelect)
            SelectAll();
    }
    Message.Result = 0;
}
