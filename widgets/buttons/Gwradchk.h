// Glyph radio buttons and check boxes of the Gw widget library (buttons family): the box or circle
// comes from a custom strip of cells, the visual styles, the flat hot-tracking look or the classic
// frame control; an action's Checked reaches them through their own link.
#pragma once

#include <memory>

#include "Gwbutton.h"
#include "Gwsettings.h"
#include "Gwthemesrv.h"
#include "stdctrls.h"

// The library's own check-box strip: nine 13 x 13 cells (unchecked, checked, grayed; then pressed;
// then disabled), no see-through pixels. Registered by RegisterGwButtonResources.
inline constexpr const char* GwCheckStripResource = "GWRADCHK_CHECKSTRIP";
void RegisterGwButtonResources();

class TGwCustomGlyphButton : public TGwCustomButton, public IGwCustomFramingNotification {
public:
    explicit TGwCustomGlyphButton(TComponent* AOwner);
    ~TGwCustomGlyphButton() override;

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value) { Change(FAlignment, Value); }
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value) { Change(FFrameColor, Value); }
    int NumGlyphs() const { return FNumGlyphs; }
    TBitmap* CustomGlyphs() const { return FCustomGlyphs.get(); }
    virtual void SetCustomGlyphs(TBitmap* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool Value);
    TColor TransparentColor() const { return FTransparentColor; }
    virtual void SetTransparentColor(TColor Value) { Change(FTransparentColor, Value); }
    TColor WinMaskColor() const { return FWinMaskColor; }
    virtual void SetWinMaskColor(TColor Value) { Change(FWinMaskColor, Value); }
    TColor FillColor() const { return FFillColor; }
    virtual void SetFillColor(TColor Value) { Change(FFillColor, Value); }
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value) { Change(FFocusColor, Value); }
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value) { Change(FDisabledColor, Value); }
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value) { Change(FReadOnly, Value); }
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool Value) { Change(FReadOnlyColorOnFocus, Value); }
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value) { Change(FReadOnlyColor, Value); }
    int GlyphWidth() const { return FGlyphWidth; }
    int GlyphHeight() const { return FGlyphHeight; }
    bool TabOnEnter = false;
    TGwButtonHotTrackStyle HotTrackStyle() const { return FHotTrackStyle; }
    void SetHotTrackStyle(TGwButtonHotTrackStyle Value) { Change(FHotTrackStyle, Value); }
    TGwFrameController* FrameController() const { return FFrameController.Controller(); }
    virtual void SetFrameController(TGwFrameController* Value) { FFrameController.SetController(Value); }
    TGwFrameControllerNotifications FrameControllerNotifications = AllFrameNotifications();
    void SetTransparent(bool Value) override;
    // A retired stored property of older forms: sets HotTrack.
    void ReadFlat(bool Value) { SetHotTrack(Value); }

    virtual bool GetChecked() const = 0;
    virtual void SetChecked(bool Value) = 0;
    bool Checked() const { return GetChecked(); }
    void CustomFramingChanged() override;
    // Set while an action pushes its state in: no click then.
    bool ClicksDisabled = false;
    // Draws the glyph on Canvas (the control's own when null) at its place.
    virtual void DrawGlyph(TCanvas* Canvas);
    TRect GlyphRect();
    // What a form stores: Checked only while no action supplies it.
    bool IsCheckedStored() const;

protected:
    virtual void SelectGlyph(TBitmap* Glyph) = 0;
    // The styles' element for the look of the moment; Normal is the plain look of the check state.
    void DrawThemedGlyph(TBitmap* Glyph, TThemedButton Normal);
    virtual void BlendButtonFrame(TBitmap*) {}
    void ExtractGlyph(int Index, TBitmap* Target, int Width, int Height, TBitmap* Source);
    TGwGlyphColors GlyphColors();
    int DisplayState();
    void Paint() override;
    void PaintBackground(HDC DC) override;
    // Through the window's own paint: a canvas draws only inside one. A box not on screen is drawn
    // whole when it shows.
    void UpdateDisplay() override { Invalidate(); }
    void RepaintDisplay() override { Invalidate(); }
    TRect GetHotTrackRect() override { return GlyphRect(); }
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMEraseBkgnd(TWMEraseBkgnd& Message) override;
    void WMSize(TWMSize& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMParentColorChanged(TMessage& Message) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLink* CreateActionLink() override;
    void FireClick();

    int FNumGlyphs = 2;
    bool FMouseIsDown = false;

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }
    void CustomGlyphsChanged();
    void UpdateBackground(TCanvas* Source);

    TAlignment FAlignment = taRightJustify;
    TColor FFrameColor = clBtnShadow;
    std::unique_ptr<TBitmap> FCustomGlyphs;
    bool FUseCustomGlyphs = false;
    TColor FTransparentColor = clOlive;
    TColor FWinMaskColor = clLime;
    TColor FFillColor = clWindow;
    TColor FFocusColor = clWindow;
    TColor FDisabledColor = clBtnFace;
    bool FReadOnly = false;
    bool FReadOnlyColorOnFocus = false;
    TColor FReadOnlyColor = clInfoBk;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    TGwButtonHotTrackStyle FHotTrackStyle = htsInterior;
    TGwFrameControllerLink FFrameController{this};
    std::unique_ptr<TBitmap> FBackground;
    bool FBackgroundInvalid = true;
};

class TGwRadioButton : public TGwCustomGlyphButton {
public:
    explicit TGwRadioButton(TComponent* AOwner);
    bool GetChecked() const override { return FChecked; }
    void SetChecked(bool Value) override;
    void SetReadOnly(bool Value) override;

protected:
    void SelectGlyph(TBitmap* Glyph) override;
    void BlendButtonFrame(TBitmap* Bitmap) override;
    void ChangeState() override;
    void Dispatch(TMessage& Message) override;
    void CMDialogChar(TWMKey& Message) override;
    void CMDialogKey(TWMKey& Message) override;
    void WMSetFocus(TWMSetFocus& Message) override;

private:
    bool FChecked = false;
};

class TGwCustomCheckBox : public TGwCustomGlyphButton {
public:
    explicit TGwCustomCheckBox(TComponent* AOwner);
    bool AllowGrayed = false;
    TCheckBoxState State() const { return FState; }
    virtual void SetState(TCheckBoxState Value);
    // Sets the state without a click.
    void InitState(TCheckBoxState Value);
    bool GetChecked() const override { return FState == cbChecked; }
    void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
    void ChangeState() override;

protected:
    void SelectGlyph(TBitmap* Glyph) override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DoExit() override;
    void CMDialogChar(TWMKey& Message) override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FSpacePressed = false;
};

class TGwCheckBox : public TGwCustomCheckBox {
public:
    using TGwCustomCheckBox::TGwCustomCheckBox;
};

// An action's Checked goes to the button without a click, as long as the button still shows what
// the action showed before the change.
class TGwCheckedActionLink : public TWinControlActionLink {
public:
    explicit TGwCheckedActionLink(TGwCustomGlyphButton* AClient);
    bool IsCheckedLinked() const;
    void SetChecked(bool Value) override;

private:
    TGwCustomGlyphButton* FClient;
    bool FChecked = false;
};
