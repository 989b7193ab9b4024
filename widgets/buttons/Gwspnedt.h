// Spin controls of the Gw widget library (buttons family): the pair of repeating arrow buttons
// that a spin edit embeds, the rapid-fire speed button and the self-drawn spinner.
#pragma once

#include "Gwbutton.h"
#include "Gwsettings.h"
#include "buttons.h"
#include "timers.h"

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

// ---- rapid-fire button -----------------------------------------------------------------------------

enum TGwScrollStyle { scsNone, scsLeft, scsUp, scsRight, scsDown };

// A speed button that keeps clicking while held down, with a system scroll arrow as its glyph.
class TGwRapidFireButton : public TSpeedButton {
public:
    explicit TGwRapidFireButton(TComponent* AOwner);
    ~TGwRapidFireButton() override;

    std::uint16_t InitialDelay = 400;
    std::uint16_t Delay = 100;
    bool FocusRect = false;
    bool AutoRepeat = true;
    TGwScrollStyle ScrollStyle() const { return FScrollStyle; }
    void SetScrollStyle(TGwScrollStyle Value);
    // Created on the first press.
    TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    virtual void AssignArrowGlyph();

private:
    void TimerExpired(TObject* Sender);
    TTimer* FRepeatTimer = nullptr;
    TGwScrollStyle FScrollStyle = scsNone;
};

// ---- spinner ---------------------------------------------------------------------------------------

enum TGwSpinnerArea { saValue, saMinusButton, saPlusButton };
using TGwSpinnerEvent = std::function<void(TObject* Sender, int NewValue, bool& AllowChange)>;
using TGwSpinnerIncDecEvent = std::function<void(TObject* Sender, int Amount)>;

// An integer between a minus button on the left and a plus button on the right, drawn by itself.
class TGwSpinner : public TCustomControl, public IGwCustomFramingNotification {
public:
    explicit TGwSpinner(TComponent* AOwner);
    ~TGwSpinner() override;

    int Value() const { return FValue; }
    virtual void SetValue(int V);
    int Min() const { return FMin; }
    virtual void SetMin(int V);
    int Max() const { return FMax; }
    virtual void SetMax(int V);
    bool CheckRange() const { return FCheckRange; }
    virtual void SetCheckRange(bool V);
    int Increment = 1;
    int PageSize = 10;
    TColor ButtonColor() const { return FButtonColor; }
    virtual void SetButtonColor(TColor V);
    int ButtonWidth() const { return FButtonWidth; }
    virtual void SetButtonWidth(int V);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor V);
    bool ShowHexValue() const { return FShowHexValue; }
    virtual void SetShowHexValue(bool V);
    const std::string& HexValuePrefix() const { return FHexValuePrefix; }
    virtual void SetHexValuePrefix(const std::string& V);
    bool ShowFocusRect = true;
    bool TabOnEnter = false;
    bool ThemeAware() const { return FThemeAware; }
    virtual void SetThemeAware(bool V);
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* V);
    virtual int GetImageIndex(TGwSpinnerArea Area) const;
    virtual void SetImageIndex(TGwSpinnerArea Area, int Index);
    TGwFrameController* FrameController() const { return FFrameController.Controller(); }
    virtual void SetFrameController(TGwFrameController* V) { FFrameController.SetController(V); }
    TGwFrameControllerNotifications FrameControllerNotifications = AllFrameNotifications();
    TBitmap* GlyphMinus() const { return FGlyph.get(); }
    TBitmap* GlyphPlus() const { return FGlyph.get(); }

    // The text the value shows: decimal, or the prefix and upper-case hexadecimal digits.
    std::string ValueText() const;
    TGwSpinnerArea HitTest(TPoint P) const { return HitTest(P.x, P.y); }
    TGwSpinnerArea HitTest(int X, int Y) const;
    bool Pressed(TGwSpinnerArea Area) const;
    bool Hot(TGwSpinnerArea Area) const;
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    void CustomFramingChanged() override;

    TNotifyEvent OnChange;
    TGwSpinnerEvent OnChanging;
    TGwSpinnerIncDecEvent OnIncrement;
    TGwSpinnerIncDecEvent OnDecrement;

protected:
    void Paint() override;
    virtual void DrawFrame();
    virtual void DrawValue();
    virtual void DrawButton(TGwSpinnerArea Area, bool Down, const TRect& R);
    virtual void DecValue(int Amount);
    virtual void IncValue(int Amount);
    virtual int CheckValue(int V) const;
    virtual bool CanChange(int NewValue);
    virtual void Change();
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void WMGetDlgCode(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMDesignHitTest(TWMMouse& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void TimerExpired(TObject* Sender);
    void StepAt(TGwSpinnerArea Area);
    TPoint CursorInClient();
    void SetHot(TGwSpinnerArea Area);
    void AdjustToImages();
    int FValue = 0;
    int FMin = 0;
    int FMax = 100;
    bool FCheckRange = false;
    TColor FButtonColor = clBtnFace;
    int FButtonWidth = 18;
    TColor FFrameColor = clBtnShadow;
    bool FShowHexValue = false;
    std::string FHexValuePrefix = "$";
    bool FThemeAware = true;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
    int FImageIndexMinus = -1;
    int FImageIndexPlus = -1;
    TGwFrameControllerLink FFrameController{this};
    std::unique_ptr<TBitmap> FGlyph;
    bool FMinusPressed = false;
    bool FPlusPressed = false;
    bool FMinusHot = false;
    bool FPlusHot = false;
    TGwSpinnerArea FLastHot = saValue;
    TTimer* FRepeatTimer = nullptr;
    unsigned FInitialRepeatDelay = 400;
    unsigned FRepeatDelay = 100;
};
