// Drag and drop and docking inside the program, over the mouse capture: drag objects, the CM_DRAG
// phases, dock sites and the dock manager (TDockTree) with zones and grabbers. GUI core.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls.h"
#include "forms.h"

// CM_DRAG: WParam is the phase, LParam points at a TDragRec.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
struct TDragRec {
    TPoint Pos; // screen coordinates
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

// CM_DOCKNOTIFICATION: WParam is the client, LParam points at this.
struct TDockNotifyRec {
    UINT ClientMsg = 0;
    WPARAM MsgWParam = 0;
    LPARAM MsgLParam = 0;
};

class TDragObject : public TObject {
public:
    // Cursor shown while the drag is over a place that accepts it, or not.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
    TPoint DragPos() const { return FDragPos; }
    TControl* DragTarget() const { return FDragTarget; }
    bool Cancelling() const { return FCancelling; }
    // Marks a drag object the drag made itself (freed when the drag ends).
    bool AutoFree = false;

protected:
    friend class TDragEngine;
    friend class TControl;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    bool FCancelling = false;
};

// The usual drag object: a control being dragged. The drop target sees the control as Source.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}
    TControl* Control() const { return FControl; }
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;

protected:
    TControl* FControl;
};

// A control being dragged to a dock site: where it would land (DockRect, screen coordinates),
// beside which docked control (DropOnControl) and on which side (DropAlign).
class TDragDockObject : public TDragControlObject {
public:
    explicit TDragDockObject(TControl* AControl) : TDragControlObject(AControl) {}
    TRect DockRect;
    TAlign DropAlign = alNone;
    TControl* DropOnControl = nullptr;
    // True while no site takes the control: a drop floats it at DockRect.
    bool Floating = true;
    // Pixels the dock rectangle's frame is drawn with.
    int FrameWidth = 4;
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;
    // Shows the dock rectangle (XOR on the top-level overlay: drawing it again takes it away).
    virtual void DrawDragDockImage();
    virtual void EraseDragDockImage();

private:
    friend class TDragEngine;
    TRect FShownRect;
    bool FShown = false;
    // The top-level window the preview is drawn on (its overlay), and whether it still exists.
    TWinControl* FShownOn = nullptr;
    std::unique_ptr<TControlGuard> FShownOnAlive;
};

// Draws (Show) or takes away a dock preview frame at Rect, screen coordinates, instead of the
// default XOR frame on the overlay of the target's top-level window (tests install a recorder).
using TDockPreviewHook = std::function<void(const TRect& Rect, int FrameWidth, bool Show)>;
void SetDockPreviewHook(TDockPreviewHook Hook);

// The control under ScreenPos: the deepest visible one of the shown forms (the dragged control's
// own window aside). Null when none.
TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled);
// The control being dragged now (null outside a drag), and the drag object.
TControl* DragControl();
TDragObject* DragObject();
// Ends any running drag without a drop (Escape does this too).
void CancelDrag();

// ---- dock manager --------------------------------------------------------------------------------

enum TDockOrientation { doNoOrient, doHorizontal, doVertical };

// A zone of the dock tree: a leaf holds one control; an inner zone splits its rectangle among its
// children, stacked (doHorizontal: one above the other) or side by side (doVertical).
class TDockZone {
public:
    TDockOrientation Orientation = doNoOrient;
    TControl* ChildControl = nullptr;
    TDockZone* Parent = nullptr;
    std::vector<std::unique_ptr<TDockZone>> Children;
    // Share of the parent's extent along its orientation, kept while siblings come and go.
    int Size = 0;
    TRect Bounds;
    bool Visible() const;
};

// The standard dock manager: clients sit in zones of a tree; each gets a grabber (a caption strip
// with a close button) painted by PaintDockFrame. Subclasses override the hooks.
class TDockTree : public TObject {
public:
    explicit TDockTree(TWinControl* ADockSite);
    ~TDockTree() override;
    TWinControl* DockSite() const { return FDockSite; }
    TDockZone* TopZone() const { return FTopZone.get(); }
    int GrabberSize() const { return FGrabberSize; }
    void SetGrabberSize(int v) { FGrabberSize = v; }
    // The gap between neighbouring zones, where a drag with the mouse moves the border.
    int SplitterWidth() const { return FSplitterWidth; }
    void SetSplitterWidth(int v) { FSplitterWidth = v; }

    // Places Control on InsertAt's side of DropCtl's zone (the whole tree when DropCtl is null).
    virtual void InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl);
    virtual void RemoveControl(TControl* Control);
    // Lays the clients out again (Force: even when the site's size did not change).
    virtual void ResetBounds(bool Force);
    // The zone rectangle of Control (client coordinates of the site), empty when not held.
    virtual void GetControlBounds(TControl* Control, TRect& CtlBounds);
    // The screen rectangle a drop of Client on DropAlign's side of DropCtl would get.
    virtual void PositionDockRect(TControl* Client, TControl* DropCtl, TAlign DropAlign, TRect& DockRect);
    // Paints every visible client's frame (grabber) onto DC.
    virtual void PaintSite(HDC DC);
    // A control takes the place of another one being removed (the next insert goes there).
    virtual void SetReplacingControl(TControl* Control) { FReplacingControl = Control; }
    // Shrinks a zone rectangle to what its control gets: the grabber strip comes off its top (or
    // its left when the site is aligned top or bottom).
    virtual void AdjustDockRect(TControl* Control, TRect& ARect);
    // Paints the grabber of Control over ARect (the zone rectangle).
    virtual void PaintDockFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect);
    // The site's messages pass here first: a press on a grabber starts a dock drag of its client,
    // a click on its close button hides it, a drag on a splitter resizes the zones beside it.
    virtual void WindowProc(TMessage& Message);
    // The leaf zone of Control, null when not held.
    TDockZone* FindControlZone(TControl* Control) const;
    // The client whose grabber holds Pos (client coordinates), and whether Pos is on its close button.
    TControl* GrabberAt(TPoint Pos, bool& OnClose);
    // The zone before the splitter under Pos (client coordinates), null when Pos is on none.
    TDockZone* SplitterAt(TPoint Pos) const;

protected:
    // The grabber strip of a zone rectangle and the close button inside it.
    TRect GrabberRect(const TRect& ZoneRect) const;
    TRect CloseButtonRect(const TRect& ZoneRect) const;
    bool GrabbersOnTop() const;
    std::function<void(TMessage&)> FOldWndProc;

private:
    void LayZone(TDockZone* Zone, const TRect& R);
    void RemoveZone(TDockZone* Zone);
    // Moves the splitter after FSizing so that it lies at Pos along its parent's orientation.
    void MoveSplitter(TPoint Pos);
    void SetSplitCursor(TDockZone* Zone);
    TWinControl* FDockSite;
    std::unique_ptr<TDockZone> FTopZone;
    TControl* FReplacingControl = nullptr;
    int FGrabberSize = 12;
    int FSplitterWidth = 4;
    TDockZone* FSizing = nullptr; // the zone whose trailing splitter the mouse holds
    bool FUpdating = false;
};

// The window a control that floats on its own gets: frameless, its caption drawn by the layer,
// freed when its last client leaves.
class TCustomDockForm : public TCustomForm {
public:
    explicit TCustomDockForm(TComponent* AOwner);

protected:
    void WMNCLButtonDown(TMessage& Message) override;
    void DoAddDockClient(TControl* Client, const TRect& ARect) override;
    void DoRemoveDockClient(TControl* Client) override;
};
