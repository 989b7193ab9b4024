// Panels of the Gw widget library (widget layer, containers): the framed custom panel every
// container derives from, the captioned group box in six looks, and the spacer.
#pragma once

#include <memory>
#include <string>

#include "Gwcommon.h"
#include "Gwsettings.h"
#include "Gwthemesrv.h"
#include "extctrls.h"

enum TGwGridStyle { gsDots, gsDottedLines, gsSolidLines };

class TGwCustomPanel : public TCustomPanel,
                       public IGwCustomFramingNotification,
                       public IGwTransparentControl {
public:
    explicit TGwCustomPanel(TComponent* AOwner);
    ~TGwCustomPanel() override;

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical Value) { Change(FAlignmentVertical, Value); }
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor Value) { Change(FBorderColor, Value); }
    TFrameStyleEx BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyleEx Value) { ChangeFrame(FBorderInner, Value); }
    TFrameStyleEx BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx Value) { ChangeFrame(FBorderOuter, Value); }
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides Value) { ChangeFrame(FBorderSides, Value); }
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor Value) { Change(FBorderHighlight, Value); }
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor Value) { Change(FBorderShadow, Value); }
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor Value) { Change(FFlatColor, Value); }
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int Value) { Change(FFlatColorAdjustment, Value); }
    TGwFrameController* FrameController() const { return FFrameController.Controller(); }
    virtual void SetFrameController(TGwFrameController* Value) { FFrameController.SetController(Value); }
    TGwFrameControllerNotifications FrameControllerNotifications = AllFrameNotifications();
    TGwGradientColorStyle GradientColorStyle() const { return FGradientColorStyle; }
    virtual void SetGradientColorStyle(TGwGradientColorStyle Value) { Change(FGradientColorStyle, Value); }
    TColor GradientColorStart() const { return FGradientColorStart; }
    virtual void SetGradientColorStart(TColor Value) { ChangeGradient(FGradientColorStart, Value); }
    TColor GradientColorStop() const { return FGradientColorStop; }
    virtual void SetGradientColorStop(TColor Value) { ChangeGradient(FGradientColorStop, Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    virtual void SetGradientDirection(TGradientDirection Value) { ChangeGradient(FGradientDirection, Value); }
    TColor GridColor() const { return FGridColor; }
    virtual void SetGridColor(TColor Value) { Change(FGridColor, Value); }
    TGwGridStyle GridStyle() const { return FGridStyle; }
    virtual void SetGridStyle(TGwGridStyle Value) { Change(FGridStyle, Value); }
    int GridXSize() const { return FGridXSize; }
    virtual void SetGridXSize(int Value) { Change(FGridXSize, Value); }
    int GridYSize() const { return FGridYSize; }
    virtual void SetGridYSize(int Value) { Change(FGridYSize, Value); }
    void SetGridSize(int X, int Y);
    bool PaintClientArea() const { return FPaintClientArea; }
    virtual void SetPaintClientArea(bool Value) { Change(FPaintClientArea, Value); }
    bool ShowGrid() const { return FShowGrid; }
    virtual void SetShowGrid(bool Value) { Change(FShowGrid, Value); }
    bool Transparent() const override { return FTransparent; }
    virtual void SetTransparent(bool Value);
    int TextMargin() const { return FTextMargin; }
    virtual void SetTextMargin(int Value) { Change(FTextMargin, Value); }
    int TextMarginVertical() const { return FTextMarginVertical; }
    virtual void SetTextMarginVertical(int Value) { Change(FTextMarginVertical, Value); }
    TGwVisualStyle VisualStyle() const { return FVisualStyle; }
    virtual void SetVisualStyle(TGwVisualStyle Value) { Change(FVisualStyle, Value); }
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value) { Change(FWordWrap, Value); }
    bool ShowDockClientCaptions = true;
    // A retired stored property of older forms: true means the gradient look.
    void ReadUseGradients(bool Value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnPaint;

    virtual TPoint CursorPosition();
    // Shrinks Rect to the area inside both frames (and the border width when asked).
    virtual void FixClientRect(TRect& Rect, bool ShrinkBorderWidth);
    virtual TRect GetControlRect() { return TRect(0, 0, Width(), Height()); }
    virtual TPoint InvalidateMarginSize() { return TPoint(1, 1); }
    virtual void GetGradientColors(TColor& StartColor, TColor& StopColor);
    virtual void GetGradientFrameColor(TColor& FrameColor, int& Adjustment);
    void CustomFramingChanged() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    virtual void DrawCaption(const TRect& Inner);
    virtual void DrawGrid(const TRect& Inner);
    void AlignControls(TControl* AControl, TRect& Rect) override;
    // A dock site's client area lies inside the frames: its dock manager lays the docked clients
    // out there, as the alignment does the aligned ones (Gwdockmgr).
    TRect GetClientRect() override;
    // Docked clients get the library's title bars (Gwdockmgr).
    TDockTree* CreateDockManager() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void WMEraseBkgnd(TWMEraseBkgnd& Message) override;
    void WndProc(TMessage& Message) override;

    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }
    template <class T> void ChangeFrame(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Realign();
        Invalidate();
    }
    template <class T> void ChangeGradient(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
        InvalidateControls(this);
    }

private:
    void WMWindowPosChanged(TMessage& Message);

    TAlignmentVertical FAlignmentVertical = avCenter;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsRaised;
    TSides FBorderSides = AllSides;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    TGwFrameControllerLink FFrameController{this};
    TGwGradientColorStyle FGradientColorStyle = gcsSystem;
    TColor FGradientColorStart = clWhite;
    TColor FGradientColorStop = clBtnFace;
    TGradientDirection FGradientDirection = gdHorizontalEnd;
    TColor FGridColor = clBtnShadow;
    TGwGridStyle FGridStyle = gsDots;
    int FGridXSize = 8;
    int FGridYSize = 8;
    bool FPaintClientArea = true;
    bool FShowGrid = false;
    bool FTransparent = false;
    int FTextMargin = 0;
    int FTextMarginVertical = 0;
    TGwVisualStyle FVisualStyle = vsWinXP;
    bool FWordWrap = true;
    // Whether each child was enabled when the panel was disabled ("1"/"0", child as object).
    std::unique_ptr<TStringList> FEnabledStates;
};

class TGwPanel : public TGwCustomPanel {
public:
    explicit TGwPanel(TComponent* AOwner) : TGwCustomPanel(AOwner) {}
};

enum TGwGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline };

class TGwCustomGroupBox : public TGwCustomPanel {
public:
    explicit TGwCustomGroupBox(TComponent* AOwner);
    TGwGroupBoxStyle GroupStyle() const { return FGroupStyle; }
    virtual void SetGroupStyle(TGwGroupBoxStyle Value);
    void CustomFramingChanged() override;
    // Where the caption goes for the current style; empty for none.
    TRect CaptionRect();

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void CMFontChanged(TMessage& Message) override;
    void WndProc(TMessage& Message) override;

private:
    // The theme draws the standard and flat looks while styles are in use.
    bool Themed() const;
    TThemedElementDetails ThemedDetails() const;
    void PaintThemed(const TRect& Caption, int TextHeight);

    TGwGroupBoxStyle FGroupStyle = gsFlat;
};

class TGwGroupBox : public TGwCustomGroupBox {
public:
    explicit TGwGroupBox(TComponent* AOwner) : TGwCustomGroupBox(AOwner) {}
};

// A gap between controls, or a groove across it.
class TGwSpacer : public TGraphicControl {
public:
    explicit TGwSpacer(TComponent* AOwner);
    bool Grooved() const { return FGrooved; }
    void SetGrooved(bool Value);
    TOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TOrientation Value);

protected:
    void Paint() override;

private:
    bool FGrooved = false;
    TOrientation FOrientation = orHorizontal;
};
