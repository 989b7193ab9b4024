// Framed graphic controls of the Gw widget library (widget layer, display family): the plain
// frame, the dot-matrix LED display, the meter and the colour-grid picker.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "Gwcommon.h"
#include "Gwgrafx.h"
#include "Gwsettings.h"
#include "controls.h"
#include "dialogs.h"
#include "timers.h"

class TGwBorder : public TGraphicControl, public IGwCustomFramingNotification {
public:
    explicit TGwBorder(TComponent* AOwner);
    ~TGwBorder() override;

    int BevelWidth() const { return FBevelWidth; }
    virtual void SetBevelWidth(int Value) { ChangeFrame(FBevelWidth, Value); }
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int Value) { ChangeFrame(FBorderWidth, Value); }
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor Value) { ChangeFrame(FBorderColor, Value); }
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor Value) { ChangeFrame(FBorderHighlight, Value); }
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor Value) { ChangeFrame(FBorderShadow, Value); }
    TFrameStyleEx BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyleEx Value) { ChangeFrame(FBorderInner, Value); }
    TFrameStyleEx BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx Value) { ChangeFrame(FBorderOuter, Value); }
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides Value) { ChangeFrame(FBorderSides, Value); }
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor Value);
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int Value);
    TGwFrameController* FrameController() const { return FFrameController.Controller(); }
    virtual void SetFrameController(TGwFrameController* Value) { FFrameController.SetController(Value); }
    TGwFrameControllerNotifications FrameControllerNotifications = AllFrameNotifications();

    void CustomFramingChanged() override;
    virtual void AdjustClientRect(TRect& Rect);
    virtual TColor InteriorColor() { return 0x0000FFFF; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    TRect GetClientRect() override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    // Called after every frame setter that changed something (the LED display re-derives its dots).
    virtual void FrameChanged() {}

private:
    template <class T> void ChangeFrame(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        FrameChanged();
        Repaint();
    }

    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsGroove;
    TSides FBorderSides = AllSides;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    TGwFrameControllerLink FFrameController{this};
};

// ---------------------------------------------------------------- LED display

enum TGwScrollType { stNone, stRightToLeft, stLeftToRight };

// The dot-matrix font: five column bytes per character code, top row in the most significant bit.
const std::uint8_t* GwLEDGlyph(std::uint8_t Code);

class TGwLEDDisplay : public TGwBorder {
public:
    explicit TGwLEDDisplay(TComponent* AOwner);
    ~TGwLEDDisplay() override;

    // The display's own text, apart from the control's caption.
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { Change(FAlignment, Value); }
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value) { Change(FBackColor, Value); }
    TColor SegOnColor() const { return FSegOnColor; }
    void SetSegOnColor(TColor Value) { Change(FSegOnColor, Value); }
    TColor SegOffColor() const { return FSegOffColor; }
    void SetSegOffColor(TColor Value) { Change(FSegOffColor, Value); }
    TGwScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TGwScrollType Value);
    bool Scrolling() const { return FScrolling; }
    void SetScrolling(bool Value);
    std::uint16_t ScrollDelay() const { return FScrollDelay; }
    void SetScrollDelay(std::uint16_t Value);
    // Retired stored properties of older forms, read and dropped.
    void ReadSegSpacing(int) {}
    void ReadDisplayCells(int) {}

    TNotifyEvent OnScrollComplete;

    int DotSize() const { return FDotSize; }
    int DotSpacing() const { return FDotSpacing; }
    int ScrollPos() const { return FScrollPos; }
    int ScrollSteps() const { return FScrollSteps; }
    TTimer* Timer() const { return FTimer; }
    TColor InteriorColor() override { return FBackColor; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

protected:
    void Paint() override;
    void FrameChanged() override { DeriveDotSize(); }
    void CMTextChanged(TMessage& Message) override;

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Repaint();
    }
    void DeriveDotSize();
    void DeriveScrollSteps();
    void TimerTick(TObject* Sender);
    void DrawCell(TCanvas* Canvas, std::uint8_t Code, int X, int Y);
    void DrawDots(TCanvas* Canvas, std::uint8_t Code, int X, int Y);
    void DrawPicture(TCanvas* Canvas, int Width, int Height, int X0, int X1);
    int Pitch() const { return FDotSize + FDotSpacing; }
    int CellWidth() const { return 6 * Pitch(); }
    int CellHeight() const { return 7 * FDotSize + 6 * FDotSpacing; }

    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
    TColor FBackColor = clBlack;
    TColor FSegOnColor = clLime;
    TColor FSegOffColor = 0x00003300;
    TGwScrollType FScrollType = stRightToLeft;
    bool FScrolling = false;
    std::uint16_t FScrollDelay = 100;
    int FDotSize = 2;
    int FDotSpacing = 0;
    int FScrollPos = 0;
    int FScrollSteps = 0;
    TTimer* FTimer;
    // Everything the off-screen picture shows depends on; a paint that finds only the scroll position
    // moved by whole dot pitches shifts the picture and draws just the band that came into view.
    struct TPictureKey {
        std::string Caption;
        TAlignment Alignment = taLeftJustify;
        TColor BackColor = clBlack, SegOnColor = clBlack, SegOffColor = clBlack;
        TGwScrollType ScrollType = stNone;
        bool Scrolling = false;
        int DotSize = 0, DotSpacing = 0, Width = 0, Height = 0, ScrollPos = 0;
        bool operator==(const TPictureKey&) const = default;
    };
    TPictureKey FDrawn;
    std::unique_ptr<TBitmap> FPicture, FSpare;
    // Each character's cell, its 42 dots drawn once for the colours and dot size of FCellKey and
    // copied after: a display a window wide holds thousands of dots.
    struct TCellKey {
        TColor BackColor = clBlack, SegOnColor = clBlack, SegOffColor = clBlack;
        int DotSize = 0, DotSpacing = 0;
        bool operator==(const TCellKey&) const = default;
    };
    TCellKey FCellKey;
    std::array<std::unique_ptr<TBitmap>, 256> FCells;
};

// ---------------------------------------------------------------- meter

enum TGwMeterType { mtNormal, mtBar3D, mtLED };
enum TGwMeterShape { msRectangular, msTrapezoidal };

class TGwMeter : public TGwBorder {
public:
    explicit TGwMeter(TComponent* AOwner);
    ~TGwMeter() override;

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Value() const { return FValue; }
    void SetValue(int Value);
    void AddValue(int Delta) { SetValue(FValue + Delta); }
    int GetPercent() const;
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value) { Change(FBackColor, Value); }
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor Value) { Change(FBarColor, Value); }
    TGwMeterType MeterType() const { return FMeterType; }
    void SetMeterType(TGwMeterType Value) { Change(FMeterType, Value); }
    TGwMeterShape MeterShape() const { return FMeterShape; }
    void SetMeterShape(TGwMeterShape Value) { Change(FMeterShape, Value); }
    TDirection Direction() const { return FDirection; }
    void SetDirection(TDirection Value) { Change(FDirection, Value); }
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { Change(FBrushStyle, Value); }
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool Value) { Change(FShowPercent, Value); }
    std::uint8_t SegSpacing() const { return FSegSpacing; }
    void SetSegSpacing(std::uint8_t Value) { Change(FSegSpacing, Value); }
    TColor SegOffColor() const { return FSegOffColor; }
    void SetSegOffColor(TColor Value) { Change(FSegOffColor, Value); }
    // Index 0..2: the three colour groups; a count is kept to 1..255.
    int GetSegCount(int Index) const { return FSegCount[Index]; }
    void SetSegCount(int Index, int Value);
    TColor GetSegColor(int Index) const { return FSegColor[Index]; }
    void SetSegColor(int Index, TColor Value) { Change(FSegColor[Index], Value); }
    TTrapDirect TrapezoidDir() const { return FTrapezoidDir; }
    void SetTrapezoidDir(TTrapDirect Value) { Change(FTrapezoidDir, Value); }
    TTrapShape TrapezoidShape() const { return FTrapezoidShape; }
    void SetTrapezoidShape(TTrapShape Value) { Change(FTrapezoidShape, Value); }
    int TrapezoidMin() const { return FTrapezoidMin; }
    void SetTrapezoidMin(int Value) { Change(FTrapezoidMin, Value); }
    TColor InteriorColor() override { return FBackColor; }

protected:
    void Paint() override;

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Repaint();
    }
    void DrawStandardBar(TCanvas* Canvas, TRect R);
    void DrawSegmentBar(TCanvas* Canvas, TRect R);
    TTrap PulledIn(const TTrap& T) const;

    int FMin = 0;
    int FMax = 100;
    int FValue = 0;
    TColor FBackColor = clBlack;
    TColor FBarColor = clRed;
    TGwMeterType FMeterType = mtLED;
    TGwMeterShape FMeterShape = msRectangular;
    TDirection FDirection = dirRight;
    std::unique_ptr<TBitmap> FBitmap;
    TBrushStyle FBrushStyle = bsSolid;
    bool FShowPercent = true;
    std::uint8_t FSegSpacing = 2;
    TColor FSegOffColor = clBlack;
    int FSegCount[3] = {5, 3, 2};
    TColor FSegColor[3] = {clGreen, clYellow, clRed};
    TTrapDirect FTrapezoidDir = tdLargeToSmall;
    TTrapShape FTrapezoidShape = tsCenter;
    int FTrapezoidMin = 6;
    int FBevelInset = 0;
};

// ---------------------------------------------------------------- colour picker

// Cell indices: 0..39 basic colours, 40..69 system colours, and the places below.
enum : int {
    cpiNoColor = -1,
    cpiCustomSwatch = -2,
    cpiCustomCaption = -3,
    cpiDefault = -4,
    cpiNothing = -5,
    cpiNoHighlight = -6
};

struct TGwPickerColor {
    TColor Color;
    const char* Name;
};
// The 70 entries of the picker's grid, in grid order.
const TGwPickerColor& GwPickerColor(int Index);

class TGwColorPicker : public TGwBorder {
public:
    explicit TGwColorPicker(TComponent* AOwner);
    ~TGwColorPicker() override;

    TColor SelectedColor() const;
    void SetSelectedColor(TColor Value);
    bool ShowNoColor() const { return FShowNoColor; }
    void SetShowNoColor(bool Value) { ChangeLayout(FShowNoColor, Value); }
    bool ShowDefaultColor() const { return FShowDefaultColor; }
    void SetShowDefaultColor(bool Value) { ChangeLayout(FShowDefaultColor, Value); }
    bool ShowCustomColor() const { return FShowCustomColor; }
    void SetShowCustomColor(bool Value) { ChangeLayout(FShowCustomColor, Value); }
    bool ShowSystemColors() const { return FShowSystemColors; }
    void SetShowSystemColors(bool Value) { ChangeLayout(FShowSystemColors, Value); }
    std::string NoColorCaption() const { return FNoColorCaption; }
    void SetNoColorCaption(const std::string& Value) { ChangeLook(FNoColorCaption, Value); }
    std::string DefaultColorCaption() const { return FDefaultColorCaption; }
    void SetDefaultColorCaption(const std::string& Value) { ChangeLook(FDefaultColorCaption, Value); }
    std::string CustomColorCaption() const { return FCustomColorCaption; }
    void SetCustomColorCaption(const std::string& Value) { ChangeLook(FCustomColorCaption, Value); }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TColor CustomColor() const { return FCustomColor; }
    void SetCustomColor(TColor Value);
    TGwCustomColors* CustomColors() const { return FCustomColors; }
    void SetCustomColors(TGwCustomColors* Value);
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { ChangeLook(FButtonColor, Value); }
    bool ShowColorHints = true;
    TColorDialogOptions ColorDlgOptions{cdFullOpen};

    int SelColorIndex() const { return FSelColorIndex; }
    int HighlightColorIndex() const { return FHighlightColorIndex; }
    // The height of each button row.
    int Margin() const;
    // Index of the place under (X, Y), control coordinates.
    int HitTest(int X, int Y);
    TRect GetCellRect(int Index);
    TColor InteriorColor() override { return Color(); }
    THintWindow* HintWindow() const { return FHintWindow; }

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    // Opens the colour dialog for the custom colour.
    virtual void PickCustomColor();

private:
    struct TLayout {
        TRect NoColor, Default, Custom;
        int GridTop = 0, CellW = 0, CellH = 0;
    };
    TLayout Layout();
    void SetSelColorIndex(int Index);
    void SetHighlightColorIndex(int Index);
    void UpdateHint(int X, int Y);
    void HideHint();
    void PaintButton(TCanvas* C, const TRect& R, const std::string& Caption, bool Selected, bool Hot,
                     const TColor* Swatch);
    void PaintCell(TCanvas* C, int Index);
    template <class T> void ChangeLayout(T& Field, T Value) {
        Field = Value;
        if (AutoSize())
            AdjustSize();
        Invalidate();
    }
    template <class T> void ChangeLook(T& Field, const T& Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }

    bool FShowNoColor = false;
    bool FShowDefaultColor = false;
    bool FShowCustomColor = false;
    bool FShowSystemColors = false;
    std::string FNoColorCaption, FDefaultColorCaption, FCustomColorCaption;
    TColor FDefaultColor = clHighlight;
    TColor FCustomColor = clWhite;
    TGwCustomColors* FCustomColors = nullptr;
    TColor FButtonColor = clBtnFace;
    int FSelColorIndex = cpiNoColor;
    int FHighlightColorIndex = cpiNoHighlight;
    THintWindow* FHintWindow = nullptr;
    TPoint FHintPos{-1, -1};
};
