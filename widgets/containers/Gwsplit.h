// Panels the user resizes (widget layer, containers): the size panel with a bar on one edge, and the
// two-pane splitter. Both drag an inverted outline, or resize at once, and can collapse by a hot spot.
#pragma once

#include <functional>
#include <memory>

#include "Gwdockmgr.h"
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

// The groove and bump looks of a bar: two three-pixel strips through its middle, along its length.
// Across is true for a bar that runs across the width.
void DrawSplitBarStrips(TCanvas* Canvas, const TRect& Bar, TSplitterStyle Style, bool Across);

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

// Paints a double-buffered window through one memory bitmap of its whole size, bar and border strips
// included: erase and paint go there, then one copy to the target context.
class TGwPaintBuffer {
public:
    // True when it painted the WM_PAINT Message itself; false leaves the message to the window.
    bool Paint(TWinControl* Window, TMessage& Message);

private:
    bool FPainting = false;
};

// What the size panel and the splitter share: the drag of their bar, from a left press on it to the
// release or Escape, with an inverted outline or, RealTimeDrag, resizing at once; a press on the hot
// spot and its release there are a click on it. A locked bar takes only hot-spot presses. The control
// tells where its bar is, where the pointer puts it and what a position does.
class TGwDragBarPanel : public TGwCustomPanel {
public:
    explicit TGwDragBarPanel(TComponent* AOwner) : TGwCustomPanel(AOwner) {}

    bool LockBar = false;
    bool RealTimeDrag = false;
    bool Sizing() const { return FSizing; }
    bool OutlineHeld() const { return FOutline.Held(); }

protected:
    // The bar in client coordinates, and whether P lies on its shown hot spot.
    virtual TRect DragBar() = 0;
    virtual bool OnHotSpot(TPoint P) = 0;
    // A drag starts at client point P: the position it starts from.
    virtual int BeginDrag(TPoint P) = 0;
    // Where the pointer at client X, Y puts the bar, limited; false keeps the bar where it is.
    virtual bool DragPosition(int X, int Y, int& Position) = 0;
    // The bar leaves From for To: a collapsed bar opens.
    virtual void DragOpens(int From, int To) = 0;
    // Puts the bar at Position: each move of a real-time drag (Moving), or the release.
    virtual void ApplyDrag(int Position, bool Moving) = 0;
    // A release at client point P after a press on the hot spot.
    virtual void HotSpotReleased(TPoint P) = 0;
    // Escape ended the drag.
    virtual void DragCancelled() {}
    // The outline of the bar at Position, in client coordinates.
    virtual TRect MaskRect(int Position) = 0;
    virtual void DrawMask(int Position);
    bool HotSpotPressed() const { return FHotSpotPressed; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    void EndDrag();

    bool FSizing = false;
    bool FHotSpotPressed = false;
    int FLastPosition = 0;
    TGwDragOutline FOutline;
};

class TGwCustomSizePanel : public TGwDragBarPanel {
    friend class TGwSizePanelDockManager;

public:
    explicit TGwCustomSizePanel(TComponent* AOwner);

    // The bar follows the alignment, and the children the client area it leaves.
    void SetAlign(TAlign Value);
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

protected:
    TRect GetClientRect() override;
    virtual void UpdateHotSpotRect(const TRect& BarRect);
    virtual void DrawHotSpot(bool Highlight);
    virtual void DrawSizeBar();
    virtual void HotSpotClick();
    TRect DragBar() override { return GetSizeBarRect(); }
    bool OnHotSpot(TPoint P) override { return FHotSpotVisible && FHotSpotRect.Contains(P); }
    int BeginDrag(TPoint P) override;
    bool DragPosition(int X, int Y, int& Position) override;
    void DragOpens(int From, int To) override;
    void ApplyDrag(int Position, bool Moving) override { ApplyPosition(Position, Moving ? 1 : 0); }
    void HotSpotReleased(TPoint P) override;
    TRect MaskRect(int Position) override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
    TDockTree* CreateDockManager() override;

private:
    enum class TBarEdge { None, Right, Bottom, Left, Top };
    TBarEdge Edge();
    // Position P along the drag axis as the new extent: P itself for a right or bottom bar, the
    // start extent less P for a left or top bar (P is then the move of the near edge); never below 0.
    void ApplyPosition(int P, int Extra);
    void Collapse();
    void Restore();
    void TrackHotSpot(bool Inside);
    void WMWindowPosChanged(TMessage& Message);

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
    bool FHotSpotNormal = true;
    int FStartPosition = 0;
    int FStartLeft = 0;
    int FStartTop = 0;
    int FStartWidth = 0;
    int FStartHeight = 0;
    int FPressAxis = 0;
    TGwSplitCursors FCursors;
    TGwPaintBuffer FBuffer;
    // The size at the last move, for the strips its border leaves stale.
    int FLastWidth = 0;
    int FLastHeight = 0;
};

// The panel dock manager of a size panel: docked clients leave the size bar free.
class TGwSizePanelDockManager : public TGwPanelDockManager {
public:
    explicit TGwSizePanelDockManager(TGwCustomSizePanel* ADockSite)
        : TGwPanelDockManager(ADockSite), FSizePanel(ADockSite) {}
    void PositionDockRect(TControl* Client, TControl* DropCtl, TAlign DropAlign, TRect& DockRect) override;
    // Nothing while the panel is collapsed to its bar; else the bar, then each docked client's title.
    void PaintSite(HDC DC) override;
    void PaintDockFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect) override;

private:
    TGwCustomSizePanel* FSizePanel;
};

class TGwSizePanel : public TGwCustomSizePanel {
public:
    explicit TGwSizePanel(TComponent* AOwner) : TGwCustomSizePanel(AOwner) {}
};

// ---------------------------------------------------------------- splitter

enum TFixedPane { fpUpperLeft, fpLowerRight };
enum TSelectedPane { spUpperLeft, spLowerRight };
enum THotSpotDirection { hsdMin, hsdMax, hsdBoth };
using TPositionChangingEvent = std::function<void(TObject* Sender, int NewPos, bool& AllowChange)>;

class TGwSplitter;

class TGwSplitterPane : public TGwCustomPanel {
public:
    explicit TGwSplitterPane(TComponent* AOwner);
    TGwSplitter* Splitter() const { return FSplitter; }

protected:
    void WndProc(TMessage& Message) override;

private:
    TGwSplitter* FSplitter = nullptr;
};

// The look of one pane, as the form sets it.
class TGwPaneData : public TPersistent {
public:
    explicit TGwPaneData(TGwSplitterPane* Pane) : FPane(Pane) {}
    TColor Color() const { return FPane->Color(); }
    void SetColor(TColor Value) { FPane->SetColor(Value); }
    TColor BorderColor() const { return FPane->BorderColor(); }
    void SetBorderColor(TColor Value) { FPane->SetBorderColor(Value); }
    TFrameStyleEx BorderInner() const { return FPane->BorderInner(); }
    void SetBorderInner(TFrameStyleEx Value) { FPane->SetBorderInner(Value); }
    TFrameStyleEx BorderOuter() const { return FPane->BorderOuter(); }
    void SetBorderOuter(TFrameStyleEx Value) { FPane->SetBorderOuter(Value); }
    int BorderWidth() const { return FPane->BorderWidth(); }
    void SetBorderWidth(int Value) { FPane->SetBorderWidth(Value); }
    TColor FlatColor() const { return FPane->FlatColor(); }
    void SetFlatColor(TColor Value) { FPane->SetFlatColor(Value); }
    int FlatColorAdjustment() const { return FPane->FlatColorAdjustment(); }
    void SetFlatColorAdjustment(int Value) { FPane->SetFlatColorAdjustment(Value); }
    bool DockSite() const { return FPane->DockSite(); }
    void SetDockSite(bool Value) { FPane->SetDockSite(Value); }
    bool ShowDockClientCaptions() const { return FPane->ShowDockClientCaptions; }
    void SetShowDockClientCaptions(bool Value) { FPane->ShowDockClientCaptions = Value; }
    bool Visible() const { return FPane->Visible(); }
    void SetVisible(bool Value) { FPane->SetVisible(Value); }
    // Copies the look of another pane's data.
    void Assign(TPersistent* Source) override;

private:
    TGwSplitterPane* FPane;
};

class TGwSplitter : public TGwDragBarPanel {
public:
    explicit TGwSplitter(TComponent* AOwner);

    TOrientation Orientation() const { return FOrientation; }
    virtual void SetOrientation(TOrientation Value);
    int Position() const { return FPosition; }
    virtual void SetPosition(int Value);
    // Sets the position and makes it the one a resize returns to.
    virtual void SetLockedPosition(int Value);
    int Percent() const { return FPercent; }
    virtual void SetPercent(int Value);
    bool UsePercent() const { return FUsePercent; }
    virtual void SetUsePercent(bool Value);
    int PercentMin() const { return FPercentMin; }
    virtual void SetPercentMin(int Value);
    int PercentMax() const { return FPercentMax; }
    virtual void SetPercentMax(int Value);
    int MarginMin() const { return FMarginMin; }
    virtual void SetMarginMin(int Value);
    int MarginMax() const { return FMarginMax; }
    virtual void SetMarginMax(int Value);
    TFixedPane FixedPane() const { return FFixedPane; }
    virtual void SetFixedPane(TFixedPane Value);
    TSplitterStyle SplitterStyle() const { return FSplitterStyle; }
    virtual void SetSplitterStyle(TSplitterStyle Value);
    int SplitterWidth() const { return FSplitterWidth; }
    virtual void SetSplitterWidth(int Value);
    bool HotSpotVisible() const { return FHotSpotVisible; }
    virtual void SetHotSpotVisible(bool Value);
    THotSpotDirection HotSpotDirection() const { return FHotSpotDirection; }
    virtual void SetHotSpotDirection(THotSpotDirection Value) { Change(FHotSpotDirection, Value); }
    TColor HotSpotColor() const { return FHotSpotColor; }
    void SetHotSpotColor(TColor Value) { Change(FHotSpotColor, Value); }
    TColor HotSpotHighlight() const { return FHotSpotHighlight; }
    virtual void SetHotSpotHighlight(TColor Value) { Change(FHotSpotHighlight, Value); }
    TColor HotSpotDotColor() const { return FHotSpotDotColor; }
    void SetHotSpotDotColor(TColor Value) { Change(FHotSpotDotColor, Value); }
    TColor HotSpotFrameColor() const { return FHotSpotFrameColor; }
    void SetHotSpotFrameColor(TColor Value) { Change(FHotSpotFrameColor, Value); }
    int HotSpotSizePercent() const { return FHotSpotSizePercent; }
    virtual void SetHotSpotSizePercent(int Value);
    bool HotSpotIgnoreMargins = true;
    int GradientColorAdjustment() const { return FGradientColorAdjustment; }
    virtual void SetGradientColorAdjustment(int Value) { Change(FGradientColorAdjustment, Value); }
    TGwGroupBarGradientPath GradientPath() const { return FGradientPath; }
    virtual void SetGradientPath(TGwGroupBarGradientPath Value) { Change(FGradientPath, Value); }
    TSelectedPane SelectedPane() const { return FSelectedPane; }
    virtual void SetSelectedPane(TSelectedPane Value) { FSelectedPane = Value; }
    virtual TGwSplitterPane* GetSelectedPaneControl();
    TGwPaneData* UpperLeft() { return GetPaneData(0); }
    TGwPaneData* LowerRight() { return GetPaneData(1); }
    virtual TGwPaneData* GetPaneData(int Index);
    virtual void SetPaneData(int Index, TGwPaneData* Data);
    TGwSplitterPane* UpperLeftPane() const { return FPanes[0]; }
    TGwSplitterPane* LowerRightPane() const { return FPanes[1]; }
    // Streamed while collapsed.
    bool HotSpotClosed() const { return FHotSpotClosed; }
    bool HotSpotClosedToMin() const { return FClosedToMin; }
    bool HotSpotClosedToMax() const { return FClosedToMax; }
    int HotSpotPosition() const { return FHotSpotPosition; }
    TRect BarRect() const { return FBarRect; }
    TRect HotSpotRect() const { return FHotSpotRect; }

    TNotifyEvent OnChange;
    TPositionChangingEvent OnChanging;
    TNotifyEvent OnHotSpotClick;
    // The panes' docking events, with the splitter as Sender.
    TGetSiteInfoEvent OnULGetSiteInfo, OnLRGetSiteInfo;
    TDockOverEvent OnULDockOver, OnLRDockOver;
    TDockDropEvent OnULDockDrop, OnLRDockDrop;
    TUnDockEvent OnULUnDock, OnLRUnDock;

    // Both also apply to the panes.
    void SetTransparent(bool Value) override;
    void SetParentColor(bool Value);

    void CloseHotSpot();
    void CloseHotSpot(bool ToMin);
    void RestoreHotSpot();
    virtual void ResetHotSpot();
    virtual void ResizePanes();
    // Limits a position to the margins and the client extent; never below 0.
    virtual void CheckPosition(int& Position);
    virtual int GetBorderOffset();

protected:
    TRect GetClientRect() override;
    virtual void UpdateFixedSize();
    virtual void UpdateHotSpotRect();
    virtual void DrawHotSpot(bool Highlight, TPoint P);
    virtual void DrawSplitterBar();
    virtual void UpdateManualPosition(int Position);
    using TGwCustomPanel::Change;
    virtual void Change();
    virtual bool CanChange(int NewPos);
    virtual void HotSpotClick();
    void Resize() override;
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    TRect DragBar() override { return FBarRect; }
    bool OnHotSpot(TPoint P) override { return FHotSpotVisible && FHotSpotRect.Contains(P); }
    int BeginDrag(TPoint P) override;
    bool DragPosition(int X, int Y, int& Position) override;
    void DragOpens(int, int) override { FHotSpotClosed = FClosedToMin = FClosedToMax = false; }
    void ApplyDrag(int Position, bool Moving) override;
    void HotSpotReleased(TPoint P) override;
    void DragCancelled() override { UpdateManualPosition(Position()); }
    TRect MaskRect(int Position) override;
    void WndProc(TMessage& Message) override;

private:
    // False while the constructor is still making the panes.
    bool HasPanes() const { return FPanes[1] != nullptr; }
    int Extent() const { return FOrientation == orHorizontal ? Width() : Height(); }
    // The extent the percentages are of.
    int PercentBase() const { return Extent() - FSplitterWidth / 2; }
    void ApplyPercentMargins();
    void ForwardDocking(int Pane);

    TOrientation FOrientation = orHorizontal;
    int FPosition = 100;
    int FPercent = 50;
    bool FUsePercent = false;
    int FPercentMin = 0;
    int FPercentMax = 100;
    int FMarginMin = 0;
    int FMarginMax = 0;
    TFixedPane FFixedPane = fpUpperLeft;
    TSelectedPane FSelectedPane = spUpperLeft;
    TSplitterStyle FSplitterStyle = ssStandard;
    int FSplitterWidth = 4;
    bool FHotSpotVisible = false;
    THotSpotDirection FHotSpotDirection = hsdMin;
    TColor FHotSpotColor = clBtnFace;
    TColor FHotSpotHighlight = clWindow;
    TColor FHotSpotDotColor = clHighlight;
    TColor FHotSpotFrameColor = clBtnShadow;
    int FHotSpotSizePercent = 40;
    int FGradientColorAdjustment = 30;
    TGwGroupBarGradientPath FGradientPath = gpTopToBottom;
    bool FHotSpotClosed = false;
    bool FClosedToMin = false;
    bool FClosedToMax = false;
    int FHotSpotPosition = 100;

    TGwSplitterPane* FPanes[2] = {nullptr, nullptr};
    std::unique_ptr<TGwPaneData> FPaneData[2];
    TRect FBarRect;
    TRect FHotSpotRect;
    int FFixedSize = 0;
    int FManualPosition = 0;
    bool FForce = false;
    bool FHotSpotNormal = true;
    int FDragStart = 0;
    int FPointerOffset = 0;
    TGwSplitCursors FCursors;
    TGwPaintBuffer FBuffer;
};
