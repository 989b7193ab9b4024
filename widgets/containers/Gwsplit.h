// Panels the user resizes (widget layer, containers): the size panel with a bar on one edge, and the
// two-pane splitter. Both drag an inverted outline, or resize at once, and can collapse by a hot spot.
#pragma once

#include <memory>

#include "Gwpanel.h"

enum TSplitterStyle { ssStandard, ssGroove, ssBump, ssGroupBar };

// The inverted outline of a drag, drawn on the parent's window: the context and the pattern brush
// live from the press to the end of the drag.
class TGwDragOutline {
public:
    ~TGwDragOutline() { End(); }
    void Begin(TWinControl* Window);
    // PATINVERT: drawing the same rectangle twice restores the pixels.
    void Draw(const TRect& R);
    void End();
    bool Held() const { return FDC != nullptr; }

private:
    TWinControl* FWindow = nullptr;
    HDC FDC = nullptr;
    std::unique_ptr<TBitmap> FPattern;
    TBitmap* FOldPattern = nullptr;
};

// The four bar cursors, with the system's sizing cursors where the program has no image.
struct TGwSplitCursors {
    TGwSplitCursors();
    ~TGwSplitCursors();
    TGwSplitCursors(const TGwSplitCursors&) = delete;
    TGwSplitCursors& operator=(const TGwSplitCursors&) = delete;
    // Across is true for a bar that runs across the width (the drag is vertical).
    HCURSOR For(bool Across, bool OverHotSpot) const;
    HCURSOR Horz = 0, HorzHotSpot = 0, Vert = 0, VertHotSpot = 0;
};

class TGwCustomSizePanel : public TGwCustomPanel {
public:
    explicit TGwCustomSizePanel(TComponent* AOwner);
    ~TGwCustomSizePanel() override;

    int SizeBarWidth() const { return FSizeBarWidth; }
    virtual void SetSizeBarWidth(int Value);
    TSplitterStyle SizeBarStyle() const { return FSizeBarStyle; }
    virtual void SetSizeBarStyle(TSplitterStyle Value);
    TSide Side() const { return FSide; }
    virtual void SetSide(TSide Value) { Change(FSide, Value); }
    int MarginMin() const { return FMarginMin; }
    virtual void SetMarginMin(int Value);
    int MarginMax() const { return FMarginMax; }
    virtual void SetMarginMax(int Value);
    bool LockBar = false;
    bool RealTimeDrag = false;
    bool HotSpotVisible() const { return FHotSpotVisible; }
    virtual void SetHotSpotVisible(bool Value);
    TColor HotSpotColor() const { return FHotSpotColor; }
    void SetHotSpotColor(TColor Value) { Change(FHotSpotColor, Value); }
    TColor HotSpotHighlight() const { return FHotSpotHighlight; }
    virtual void SetHotSpotHighlight(TColor Value) { Change(FHotSpotHighlight, Value); }
    TColor HotSpotDotColor() const { return FHotSpotDotColor; }
    void SetHotSpotDotColor(TColor Value) { Change(FHotSpotDotColor, Value); }
    TColor HotSpotFrameColor() const { return FHotSpotFrameColor; }
    void SetHotSpotFrameColor(TColor Value) { Change(FHotSpotFrameColor, Value); }
    int HotSpotSizePercent() const { return FHotSpotSizePercent; }
    virtual void SetHotSpotSizePercent(int Value) { Change(FHotSpotSizePercent, Value); }
    bool HotSpotIgnoreMargins = false;
    int GradientColorAdjustment() const { return FGradientColorAdjustment; }
    virtual void SetGradientColorAdjustment(int Value) { Change(FGradientColorAdjustment, Value); }
    TGwGroupBarGradientPath GradientPath() const { return FGradientPath; }
    virtual void SetGradientPath(TGwGroupBarGradientPath Value) { Change(FGradientPath, Value); }
    // Streamed while collapsed: the collapsed flag and the extent to restore.
    bool HotSpotClosed() const { return FHotSpotClosed; }
    void SetHotSpotClosed(bool Value) { FHotSpotClosed = Value; }
    int HotSpotPosition() const { return FHotSpotPosition; }
    void SetHotSpotPosition(int Value) { FHotSpotPosition = Value; }
    TNotifyEvent OnHotSpotClick;

    void CloseHotSpot();
    void RestoreHotSpot();
    virtual void ResetHotSpot() { FHotSpotClosed = false; }

    // The bar in client coordinates (empty for alClient); also places the hot spot.
    virtual TRect GetSizeBarRect();
    TRect HotSpotRect() {
        GetSizeBarRect();
        return FHotSpotRect;
    }
    // The parent's client area less what its aligned controls take. Raises without a parent.
    virtual TRect GetParentWorkingRect();
    // Limits a bar position (see BarPosition) to the margins and the parent's free area.
    virtual void CheckPosition(int& Position);
    virtual bool HotSpotTopBottom();
    virtual int GetMarginExtent();
    TRect GetControlRect() override;
    void FixClientRect(TRect& Rect, bool ShrinkBorderWidth) override;
    bool Sizing() const { return FSizing; }
    bool OutlineHeld() const { return FOutline.Held(); }

protected:
    TRect GetClientRect() override;
    virtual void DrawMask(int Position);
    virtual void UpdateHotSpotRect(const TRect& BarRect);
    virtual void DrawHotSpot(bool Highlight);
    virtual void DrawSizeBar();
    virtual void HotSpotClick();
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void WndProc(TMessage& Message) override;

private:
    enum class TBarEdge { None, Right, Bottom, Left, Top };
    TBarEdge Edge();
    // Position P along the drag axis as the new extent: P itself for a right or bottom bar, the
    // start extent less P for a left or top bar (P is then the move of the near edge); never below 0.
    void ApplyPosition(int P, int Extra);
    void Collapse();
    void Restore();
    void TrackHotSpot(bool Inside);
    void EndDrag(bool EraseOutline);

    int FSizeBarWidth = 4;
    TSplitterStyle FSizeBarStyle = ssStandard;
    TSide FSide = sdLeft;
    int FMarginMin = 0;
    int FMarginMax = 0;
    bool FHotSpotVisible = false;
    TColor FHotSpotColor = clBtnFace;
    TColor FHotSpotHighlight = clWindow;
    TColor FHotSpotDotColor = clHighlight;
    TColor FHotSpotFrameColor = clBtnShadow;
    int FHotSpotSizePercent = 40;
    int FGradientColorAdjustment = 30;
    TGwGroupBarGradientPath FGradientPath = gpTopToBottom;
    bool FHotSpotClosed = false;
    int FHotSpotPosition = 100;

    TRect FHotSpotRect;
    bool FSizing = false;
    bool FHotSpotPressed = false;
    bool FHotSpotNormal = true;
    int FStartPosition = 0;
    int FStartWidth = 0;
    int FStartHeight = 0;
    int FPressAxis = 0;
    int FLastPosition = 0;
    TGwDragOutline FOutline;
    TGwSplitCursors FCursors;
};

class TGwSizePanel : public TGwCustomSizePanel {
public:
    explicit TGwSizePanel(TComponent* AOwner) : TGwCustomSizePanel(AOwner) {}
};
