// Edits of the Gw widget library (widget layer, edits): the framed single-line edit and mask edit,
// the numeric and expand edits, the hot-key edit (the memo and rich edit: Gwmemo.h). The numeric edit's
// reading of typed numbers (evaluator, key filter, range check) stands apart from the control so
// every rule is exercised on its own.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Gwframed.h"
#include "buttons.h"
#include "headerctrls.h"
#include "mask.h"

// The value of typed text: digits, exponent and the current decimal separator count; a "(" or a
// "-" outside the exponent makes it negative; everything else is dropped. Text that still makes
// no number is 0.
double GwEvaluateNumberText(std::string_view Text);

// Whether Key may be typed into Text with the caret at SelStart and SelLength characters selected.
bool GwIsValidNumberChar(char Key, std::string_view Text, int SelStart, int SelLength, bool IntegersOnly);

// (Sender-less) out-of-range notice: entered value, the bound it would become, and whether to
// correct it (starts true).
using TGwRangeErrorHandler = std::function<void(double Entered, double Adjusted, bool& AutoCorrect)>;

// The value to keep for Value in [Min, Max]: checked when Min differs from Max or CheckRange is
// set; the bound unless the handler keeps the entry, which sets KeepInvalid.
double GwCheckRange(double Value, double Min, double Max, bool CheckRange,
                    const TGwRangeErrorHandler& OnRangeError, bool& KeepInvalid);

// ---- Custom edit ---------------------------------------------------------------------------------

// The platform's button states: one set of names for speed buttons and edit buttons alike.
using TGwEditButtonState = TButtonState;
// Replaces the mask edit's validation message: an empty text keeps the mask edit's own.
using TGwValidateErrorEvent = std::function<void(TObject* Sender, std::string& ErrorMsg)>;

// The framed single-line edit every Gw edit derives from: state colours, the custom frame, an
// optional drop-down button in the non-client area, Enter as Tab.
class TGwCustomEdit : public TGwFramed<TCustomMaskEdit> {
public:
    explicit TGwCustomEdit(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool TabOnEnter = false;
    bool BeepOnInvalidKey = true;
    TColor ReadOnlyColor() const { return Framing().ReadOnlyColor(); }
    void SetReadOnlyColor(TColor Value) { Framing().SetReadOnlyColor(Value); }
    bool ReadOnlyColorOnFocus() const { return Framing().ReadOnlyColorOnFocus(); }
    void SetReadOnlyColorOnFocus(bool Value) { Framing().SetReadOnlyColorOnFocus(Value); }
    bool DropButtonVisible() const { return FDropButtonVisible; }
    virtual void SetDropButtonVisible(bool Value);
    bool FlatButtons() const { return Framing().FlatButtons(); }
    void SetFlatButtons(bool Value) { Framing().SetFlatButtons(Value); }
    TColor FlatButtonColor() const { return Framing().FlatButtonColor(); }
    void SetFlatButtonColor(TColor Value) { Framing().SetFlatButtonColor(Value); }
    // Read-only hides the drop button (where a subclass says so) and recolours the edit.
    void SetReadOnly(bool Value);
    TGwEditButtonState ButtonState() const { return FButtonState; }
    // The drop button's strip in window coordinates (empty without the button).
    TRect ButtonRect();

    TGwValidateErrorEvent OnValidateError;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    bool ReadOnlyValue() const override { return ReadOnly(); }
    virtual void ReadOnlyChanged();
    virtual void HideButton() {}
    virtual void ShowButton() {}
    virtual void DrawButton(TCanvas* Canvas, TRect& Rect);
    virtual void SetButtonState(TGwEditButtonState Value);
    // Fire OnDropDown and OnCloseUp.
    virtual void DropDown();
    virtual void CloseUp();
    void DoDropDown();
    void MouseCancel();
    bool DroppingDown() const { return FDroppingDown; }
    // Whether every point of the control counts as the drop button.
    virtual bool AllButton() const { return false; }
    // Beeps when BeepOnInvalidKey.
    void InvalidKeyPressed();
    int ButtonWidth() const;
    void UpdateFrame(bool ViaMouse, bool In) override;
    void FramingButtonsChanged() override;

    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void ValidateError() override;
    void Dispatch(TMessage& Message) override;
    void WMNCCalcSize(TWMNCCalcSize& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;
    void WMNCHitTest(TWMNCHitTest& Message) override;
    void WMSetCursor(TWMSetCursor& Message) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void WMLButtonDown(TWMMouse& Message) override;
    void WMLButtonDblClk(TWMMouse& Message) override;
    void WMRButtonDown(TWMMouse& Message) override;
    void WMLButtonUp(TWMMouse& Message) override;

private:
    void RepaintButton();
    TAlignment FAlignment = taLeftJustify;
    bool FDropButtonVisible = false;
    bool FMouseInButton = false;
    bool FDroppingDown = false;
    TGwEditButtonState FButtonState = bsUp;
};

class TGwEdit : public TGwCustomEdit {
public:
    explicit TGwEdit(TComponent* AOwner) : TGwCustomEdit(AOwner) {}
};

class TGwMaskEdit : public TGwCustomEdit {
public:
    explicit TGwMaskEdit(TComponent* AOwner) : TGwCustomEdit(AOwner) {}
};

// ---- Numeric edit --------------------------------------------------------------------------------

using TGwRangeErrorEvent =
    std::function<void(TObject* Sender, double EnteredValue, double AdjustedValue, bool& AutoCorrect)>;

// An edit for a number: typed keys are filtered, the text is read forgivingly, shown through
// DisplayFormat and held in Min..Max when the focus leaves.
class TGwNumericEdit : public TGwEdit {
public:
    explicit TGwNumericEdit(TComponent* AOwner);

    bool AllowBlank = false;
    double BlankValue = 0;
    bool CheckRange = false;
    bool IntegersOnly() const { return FIntegersOnly; }
    void SetIntegersOnly(bool Value);
    double Min() const { return FMin; }
    void SetMin(double Value);
    double Max() const { return FMax; }
    void SetMax(double Value);
    // The evaluated text (BlankValue, or Min on unreadable text); writing formats the text.
    double Value();
    void SetValue(double Value);
    int IntValue();
    void SetIntValue(int Value) { SetValue(Value); }
    std::string DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& Value);
    std::string FormatText(double Value) const;
    double EvaluateText() const { return GwEvaluateNumberText(Text()); }

    TGwRangeErrorEvent OnRangeError;

protected:
    bool IsValidChar(char Key);
    double CheckValue(double NewValue, bool& KeepInvalid);
    void Loaded() override;
    void Change() override;
    void KeyPress(char& Key) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;

private:
    bool FIntegersOnly = true;
    double FMin = 0, FMax = 0;
    std::string FDisplayFormat = ",0;(,0)";
    double FLastValue = 0;
    bool FValueChanged = false;
    bool FReformatting = false;
};

// ---- Expand edit ---------------------------------------------------------------------------------

enum TExpandOnType { etMouseButton2Click, etFocus, etNone };

// An edit that widens to ExpandedWidth while in use.
class TGwExpandEdit : public TGwEdit {
public:
    explicit TGwExpandEdit(TComponent* AOwner);
    int ExpandedWidth() const { return FExpandedWidth; }
    void SetExpandedWidth(int Value);
    TExpandOnType ExpandOn() const { return FExpandOn; }
    void SetExpandOn(TExpandOnType Value);
    bool Expanded() const { return FExpanded; }

protected:
    void WMSetFocus(TWMSetFocus& Message) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void WMRButtonUp(TWMMouse& Message) override;

private:
    void Expand();
    int FExpandedWidth = 0;
    TExpandOnType FExpandOn = etNone;
    bool FExpanded = false;
    int FSavedWidth;
};

// ---- Hot-key edit --------------------------------------------------------------------------------

class TGwHotKeyEdit : public TGwFramed<THotKey> {
public:
    explicit TGwHotKeyEdit(TComponent* AOwner);
};
