// The spin edit of the Gw widget library (spin controls over the framed edit): a numeric edit with
// the spin button pair at its right edge, stepping a floating-point value kept in its text. Apart
// from Gwspnedt.h because it stands on the edits family, which the spinner's users need not.
#pragma once

#include <cmath>
#include <functional>

#include "Gwedit.h"
#include "Gwspnedt.h"

enum TSpinButtonType { sbUp, sbDown };
using TSpinChangingEvent = std::function<void(TObject* Sender, double NewValue, bool& AllowChange)>;
using TSpinButtonEvent = std::function<void(TObject* Sender, TSpinButtonType Button)>;

class TGwSpinEdit : public TGwCustomEdit {
public:
    explicit TGwSpinEdit(TComponent* AOwner);
    ~TGwSpinEdit() override;

    // Read from the text (unreadable text reads as Min; empty text as BlankValue when allowed),
    // written as text with Decimals digits after the separator.
    virtual double GetValue();
    double Value() { return GetValue(); }
    virtual void SetValue(double V);
    int IntValue() { return int(std::lround(GetValue())); }
    void SetIntValue(int V) { SetValue(V); }
    double Min() const { return FMin; }
    virtual void SetMin(double V);
    double Max() const { return FMax; }
    virtual void SetMax(double V);
    bool CheckRange() const { return FCheckRange; }
    virtual void SetCheckRange(bool V);
    double Increment = 1;
    double PageSize = 10;
    int Decimals() const { return FDecimals; }
    virtual void SetDecimals(int V);
    bool IntegersOnly() const { return FIntegersOnly; }
    virtual void SetIntegersOnly(bool V);
    bool AllowKeyEdit = false;
    bool AllowBlank = false;
    double BlankValue = 0;
    int ButtonWidth() const { return FButtonWidth; }
    virtual void SetButtonWidth(int V);
    TSpinDirection Direction() const { return FButtons->Direction(); }
    void SetDirection(TSpinDirection V) { FButtons->SetDirection(V); }
    TOrientation Orientation() const { return FButtons->Orientation(); }
    void SetOrientation(TOrientation V);
    TBitmap* ButtonUpGlyph() const { return FButtons->GlyphUpRight(); }
    void SetButtonUpGlyph(TBitmap* V) { FButtons->SetGlyphUpRight(V); }
    TBitmap* ButtonDownGlyph() const { return FButtons->GlyphDownLeft(); }
    void SetButtonDownGlyph(TBitmap* V) { FButtons->SetGlyphDownLeft(V); }
    void SetFlatButtons(bool Value);
    void SetFrameStyle(TFrameStyle Value);
    TGwSpinButtons* SpinButtons() const { return FButtons; }
    TGwControlButton* Button(TSpinButtonType B) const {
        return B == sbUp ? FButtons->UpRightButton() : FButtons->DownLeftButton();
    }
    // The edit's text rectangle: narrowed by the buttons unless read-only.
    TRect GetEditRect();

    TSpinChangingEvent OnChanging;
    TSpinButtonEvent OnButtonClick;

protected:
    virtual void ResizeButtons();
    virtual void SetEditRect();
    virtual bool IsValidChar(char Key);
    virtual void UpRightClickHandler(TObject* Sender);
    virtual void DownLeftClickHandler(TObject* Sender);
    virtual void IncValue(double Amount);
    virtual void DecValue(double Amount);
    virtual double CheckValue(double V) const;
    virtual bool CanChange(double NewValue);
    virtual void DoButtonClick(TSpinButtonType B);
    void ReadOnlyChanged() override;
    void UpdateFrame(bool ViaMouse, bool In) override;
    void FramingButtonsChanged() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void WMSize(TWMSize& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    // The text read as a number; false when it is none.
    bool ReadText(double& V) const;
    void Reapply() { SetValue(GetValue()); }
    TGwSpinButtons* FButtons;
    double FMin = 0;
    double FMax = 100;
    bool FCheckRange = false;
    int FDecimals = 0;
    bool FIntegersOnly = true;
    int FButtonWidth = 17;
};
