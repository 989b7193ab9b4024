// Spin controls of the Gw widget library (buttons family): the pair of repeating arrow buttons
// that a spin edit embeds.
#pragma once

#include "Gwbutton.h"

enum TSpinDirection { sdUpDown, sdLeftRight };

class TGwSpinButtons : public TWinControl {
public:
    explicit TGwSpinButtons(TComponent* AOwner);
    ~TGwSpinButtons() override;

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TOrientation Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    std::uint16_t Delay() const { return FUpRight->Delay; }
    void SetDelay(std::uint16_t Value) { FUpRight->Delay = FDownLeft->Delay = Value; }
    std::uint16_t InitialDelay() const { return FUpRight->InitialDelay; }
    void SetInitialDelay(std::uint16_t Value) { FUpRight->InitialDelay = FDownLeft->InitialDelay = Value; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    // Custom glyphs; an empty bitmap brings the direction's arrow back.
    TBitmap* GlyphUpRight() const { return FUpRight->Glyph(); }
    void SetGlyphUpRight(TBitmap* Value) { FUpRight->SetGlyph(Value); }
    TBitmap* GlyphDownLeft() const { return FDownLeft->Glyph(); }
    void SetGlyphDownLeft(TBitmap* Value) { FDownLeft->SetGlyph(Value); }
    void SetColor(TColor Value);
    void SetEnabled(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TGwControlButton* UpRightButton() const { return FUpRight; }
    TGwControlButton* DownLeftButton() const { return FDownLeft; }
    TGwControlButton* LastButton() const { return FLast; }

    TNotifyEvent OnUpRightClick;
    TNotifyEvent OnDownLeftClick;

protected:
    virtual void UpRightClick();
    virtual void DownLeftClick();
    void AdjustDimensions(int& W, int& H);
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TWMSize& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TGwControlButton* MakeButton();
    void BtnMouseDown(TObject* Sender, TMouseButton Button);
    void BtnClick(TObject* Sender);
    void BtnGlyphChange(TObject* Sender);
    void ResetArrows();

    TSpinDirection FDirection = sdUpDown;
    TOrientation FOrientation = orVertical;
    TGwControlButton* FUpRight;
    TGwControlButton* FDownLeft;
    TGwControlButton* FLast;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
    bool FCustomUpRight = false;
    bool FCustomDownLeft = false;
    bool FCancelClick = false;
};
