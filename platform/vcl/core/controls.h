// Controls of the GUI core: TControl, TWinControl, TGraphicControl, TCustomControl, and the one path
// by which every Qt event reaches a control as a Windows message. Qt stays behind TWidgetHandle.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classes.h"
#include "graphics.h"
#include "messages.h"
#include "sysinfo.h"
#include "sysset.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;
class TDragObject;
class TDragDockObject;
class TDockTree;

// State of an owner-drawn item (list and combo boxes, menus).
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = Set<TOwnerDrawStateItem, odSelected, odComboBoxEdit>;

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDockEvent = std::function<void(TObject* Sender, TDragDockObject*& DragObject)>;
using TDockOverEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDockDropEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y)>;
using TUnDockEvent =
    std::function<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent = std::function<void(TObject* Sender, TControl* DockClient, TRect& InfluenceRect,
                                             TPoint MousePos, bool& CanDock)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind, akLeft, akBottom>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = Set<TControlStyleItem, csAcceptsControls, csMenuEvents>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = Set<TControlStateItem, csLButtonDown, csDocking>;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBorderStyle {
    bsNone = 0,
    bsSingle = 1,
    bsSizeable = 2,
    bsDialog = 3,
    bsToolWindow = 4,
    bsSizeToolWin = 5
};
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };

using TCursor = short;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crSize = -22,
};

using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Key combination of a menu item or an action: a virtual key plus modifier bits.
using TShortCut = WORD;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut sc, WORD& key, TShiftState& shift);

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TConstrainedResizeEvent =
    std::function<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;

// What CreateParams fills before the handle is made. Style and ExStyle decide the non-client frame:
// WS_BORDER gives 1 pixel, WS_EX_CLIENTEDGE 2 pixels (a sunken 3-D edge).
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    struct {
        UINT style = 0;
    } WindowClass;
    std::string WinClassName;
};

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0; // 0 = no limit
};

// What WM_WINDOWPOSCHANGED points at: the window's new place in its parent's client coordinates.
struct TWindowPos {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};
enum : UINT {
    SWP_NOSIZE = 0x1,
    SWP_NOMOVE = 0x2,
    SWP_NOZORDER = 0x4,
    SWP_NOREDRAW = 0x8,
    SWP_NOACTIVATE = 0x10,
    SWP_FRAMECHANGED = 0x20,
    SWP_SHOWWINDOW = 0x40,
    SWP_HIDEWINDOW = 0x80,
    SWP_NOOWNERZORDER = 0x200
};

// ---- TControl ------------------------------------------------------------------------------------

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // The message path. WindowProc starts as WndProc; a caller may hook it and chain to the old value.
    std::function<void(TMessage&)> WindowProc;
    // Sends a message through WindowProc now and returns its Result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Routes a message to its handler by number; unknown numbers go to DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    // Reached when no handler takes a message: native processing of the Qt event in flight, if any.
    virtual void DefaultHandler(TMessage& Message);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // Client box in client coordinates (origin 0, 0).
    TRect ClientRect() { return GetClientRect(); }
    int ClientWidth() { return GetClientRect().Right; }
    int ClientHeight() { return GetClientRect().Bottom; }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    // Screen position of the client origin.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint p) {
        TPoint o = ClientOrigin();
        return {p.x + o.x, p.y + o.y};
    }
    TPoint ScreenToClient(TPoint p) {
        TPoint o = ClientOrigin();
        return {p.x - o.x, p.y - o.y};
    }
    TSizeConstraints& Constraints() { return FConstraints; }
    // With AutoSize the control takes the size CanAutoSize answers whenever its bounds are set.
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool v);
    // Scales position, size and font by M/D (children too, for a windowed control).
    void ScaleBy(int M, int D) { ChangeScale(M, D); }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors v);

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Show();
    void Hide();
    // Visible and every parent up to a top-level window visible.
    virtual bool Showing();
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* v) { FFont->Assign(*v); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);

    // Caption and Text are the same string.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& v) { SetText(v); }
    std::string Text() const { return GetText(); }
    // Sends WM_SETTEXT (the default handler stores the text), then CM_TEXTCHANGED.
    void SetText(const std::string& v);
    // The text through WM_GETTEXTLENGTH / WM_GETTEXT, so a control that answers them gives its own.
    int GetTextLen();
    int GetTextBuf(char* Buffer, int BufSize);
    void SetTextBuf(const char* Buffer) { SetText(Buffer ? Buffer : ""); }

    std::string Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* v);

    void Loaded() override;

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v) { FControlStyle = v; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState v) { FControlState = v; }
    bool MouseCapture() const;
    void SetMouseCapture(bool v);
    // Right-to-left layout is not supported: every control answers left-to-right.
    bool IsRightToLeft() const { return false; }
    bool UseRightToLeftAlignment() const { return false; }
    bool UseRightToLeftReading() const { return false; }
    bool UseRightToLeftScrollBar() const { return false; }
    TBiDiMode BiDiMode() const { return bdLeftToRight; }
    void SetBiDiMode(TBiDiMode) {}
    bool ParentBiDiMode() const { return true; }
    void SetParentBiDiMode(bool) {}
    int DrawTextBiDiModeFlags(int Flags) const { return Flags; }
    int DrawTextBiDiModeFlagsReadingOnly() const { return 0; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode v) { FDragMode = v; }

    // ---- drag and dock (dragdock.cpp) ----
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind v) { FDragKind = v; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor v) { FDragCursor = v; }
    // Starts a drag (or a dock drag, by DragKind) from this control over the mouse capture: at once,
    // or once the mouse has moved Threshold pixels (negative: the system's 5).
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends the running drag of this control: dropped where it is (Drop) or cancelled.
    void EndDrag(bool Drop);
    bool Dragging() const;
    // The dock site holding the control (null when floating or never docked).
    TWinControl* HostDockSite() const { return FHostDockSite; }
    // A form without a parent, or a control alone on the window made to float it.
    bool Floating() const;
    // Size the control takes when it floats again, and when docked beside or above another.
    int UndockWidth() const { return FUndockWidth > 0 ? FUndockWidth : Width(); }
    int UndockHeight() const { return FUndockHeight > 0 ? FUndockHeight : Height(); }
    void SetUndockWidth(int v) { FUndockWidth = v; }
    void SetUndockHeight(int v) { FUndockHeight = v; }
    int LRDockWidth() const { return FLRDockWidth > 0 ? FLRDockWidth : UndockWidth(); }
    int TBDockHeight() const { return FTBDockHeight > 0 ? FTBDockHeight : UndockHeight(); }
    void SetLRDockWidth(int v) { FLRDockWidth = v; }
    void SetTBDockHeight(int v) { FTBDockHeight = v; }
    // Docks into NewDockSite beside DropControl (null: the site) on ControlSide: CM_UNDOCKCLIENT to
    // the old host (which may refuse through OnUnDock), then CM_DOCKCLIENT to the new one. False
    // when refused.
    virtual bool ManualDock(TWinControl* NewDockSite, TControl* DropControl = nullptr,
                            TAlign ControlSide = alNone);
    // Floats the control at ScreenPos: a form becomes a top-level window again; any other control
    // gets a floating window of its own, freed when its last client leaves.
    virtual bool ManualFloat(const TRect& ScreenPos);
    // Enters NewDockSite (null: floats) with bounds ARect in the site's client coordinates.
    virtual void Dock(TWinControl* NewDockSite, const TRect& ARect);
    // The edge of the control nearest to MousePos (client coordinates).
    virtual TAlign GetDockEdge(TPoint MousePos);
    // Source was dropped here (OnDragDrop).
    virtual void DragDrop(TObject* Source, int X, int Y);

    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDockEvent OnStartDock;
    TEndDragEvent OnEndDock;

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // The action the control shows and runs on a click (through its link, actlist.cpp); null
    // clears it.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TControlActionLink* ActionLink() const { return FActionLink; }
    // A standard action asks the focused control whether it is its target.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // Updates the linked action (the idle pass).
    void InitiateAction();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TConstrainedResizeEvent OnConstrainedResize;

protected:
    virtual TRect GetClientRect();
    // Colours are true colour: no control has a palette to realise.
    virtual HPALETTE GetPalette() { return nullptr; }
    virtual std::string GetText() const { return FText; }
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    // OnMouseWheel first; what it leaves goes to DoMouseWheelDown (delta below 0) or DoMouseWheelUp.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    // The size AutoSize gives; false keeps the size asked for.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    // Applies AutoSize again (the content changed).
    virtual void AdjustSize();
    // Limits on the size beyond Constraints: OnConstrainedResize may change them.
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    virtual void ChangeScale(int M, int D);
    virtual void Resize();
    // Asked before the size changes: may adjust the new size, or keep the old one by answering false.
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual void WndProc(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Drag events; DragOver answers whether Source may drop here (OnDragOver decides; false without).
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void DoStartDock(TDragDockObject*& DragObject);
    virtual void DoEndDock(TObject* Target, int X, int Y);
    virtual void DoDock(TWinControl* NewDockSite, TRect& ARect);
    // Keeps the sizes the control goes back to (floating size, docked widths and heights).
    void CalcDockSizes();
    // CM_DRAG (a phase of a drag over this control), CM_FLOAT (dropped where no site takes it).
    virtual void CMDrag(TMessage& Message);
    virtual void CMFloat(TMessage& Message);
    // The linked action changed (CheckDefaults: it was just assigned).
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    // The link SetAction makes (owned by the control); a control whose link chooses what it takes
    // from the action returns its own.
    virtual TControlActionLink* CreateActionLink();
    // Asks the parent to place its aligned and anchored children again (this one changed).
    virtual void RequestAlign();
    // Repaints the control's rectangle on the parent (graphic controls have no window of their own).
    void InvalidateControl(bool IsVisible, bool IsOpaque);

    // Message handlers, reached through Dispatch. An override calls the base version unless it
    // replaces the default handling; a class with messages of its own overrides Dispatch, handles
    // its numbers and passes the rest to the base Dispatch.
    virtual void WMLButtonDown(TWMMouse& Message);
    virtual void WMRButtonDown(TWMMouse& Message);
    virtual void WMMButtonDown(TWMMouse& Message);
    virtual void WMLButtonDblClk(TWMMouse& Message);
    virtual void WMRButtonDblClk(TWMMouse& Message);
    virtual void WMLButtonUp(TWMMouse& Message);
    virtual void WMRButtonUp(TWMMouse& Message);
    virtual void WMMButtonUp(TWMMouse& Message);
    virtual void WMMouseMove(TWMMouse& Message);
    virtual void WMMouseWheel(TWMMouseWheel& Message);
    virtual void WMContextMenu(TWMContextMenu& Message);
    virtual void WMCancelMode(TMessage& Message);
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMParentShowHintChanged(TMessage& Message);
    virtual void CMShowHintChanged(TMessage& Message);
    virtual void CMCursorChanged(TMessage& Message);
    virtual void CMHitTest(TCMHitTest& Message);
    virtual void CMDesignHitTest(TWMMouse& Message);
    virtual void CMSysColorChange(TMessage& Message);

    std::unique_ptr<TFont> FFont;
    TColor FColor = clWindow;
    TControlStyle FControlStyle;
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TWidgetHandle;
    friend class TControlGuard;
    friend class TDragControlObject;
    friend class TDragDockObject;
    friend class TDragEngine;
    void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TWMMouse& Message, TMouseButton Button);
    void FontChanged();
    void ApplyParentFont();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    // Parent client size when the bounds were last set; anchoring moves or stretches by the change.
    int FAnchorBaseW = -1, FAnchorBaseH = -1;
    TSizeConstraints FConstraints;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentColor = true;
    bool FParentFont = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    bool FSettingParentFont = false;
    bool FAutoSize = false;
    std::string FText;
    std::string FHint;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TDragMode FDragMode = dmManual;
    TControlActionLink* FActionLink = nullptr;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    TWinControl* FHostDockSite = nullptr;
    int FUndockWidth = 0, FUndockHeight = 0, FLRDockWidth = 0, FTBDockHeight = 0;
    // Cleared when the control is destroyed; TControlGuard reads it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Tells whether a control still exists after a handler ran. Code that goes on after user events
// checks it: a host frees its in-place editor (and itself) from the editor's own OnExit or key event.
class TControlGuard {
public:
    explicit TControlGuard(const TControl* c) : FAlive(c ? c->FAlive : nullptr) {}
    bool Alive() const { return FAlive && *FAlive; }

private:
    std::shared_ptr<const bool> FAlive;
};

// ---- TWinControl ---------------------------------------------------------------------------------

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window handle, made on first request (the parent's first).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes a new one with fresh CreateParams (only if one existed).
    void RecreateWnd();
    // Releases the window and its children's; the control keeps its state and makes them again
    // when next shown. A control on the screen now gets new ones at once.
    void DestroyHandle();

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int i) const { return FControls.at(size_t(i)); }
    // Topmost visible child (graphic or windowed) whose box holds Pos; disabled ones only if asked.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
    bool ContainsControl(const TControl* Control) const;

    int TabOrder() const;
    void SetTabOrder(int v);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    // Windowed children in tab order, depth first, into List.
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent);
    void SelectFirst();
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    virtual void SetFocus();
    virtual bool Focused();
    virtual bool CanFocus();

    void SetParent(TWinControl* AParent) override;
    bool Showing() override;
    TPoint ClientOrigin() override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v) { FCtl3D = v; }
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool v) { FParentCtl3D = v; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    // Background brush; its colour follows Color.
    TBrush* Brush() const { return FBrush.get(); }

    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();

    // Paints the graphic children over DC, from First on (all when First is null).
    void PaintControls(HDC DC, TControl* First);
    // Paints the control as it looks (frame, client, children) onto DC with its top-left at X, Y.
    void PaintTo(HDC DC, int X, int Y);
    // Sends the message to every child until one answers it (a nonzero Result).
    void Broadcast(TMessage& Message);

    // ---- docking (dragdock.cpp, docktree.cpp) ----
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool v);
    // Whether the site lays its clients out through a dock manager (TDockTree by default).
    bool UseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool v);
    TDockTree* DockManager() const { return FDockManager.get(); }
    // Takes over Manager (null: none).
    void SetDockManager(TDockTree* Manager);
    int DockClientCount() const { return int(FDockClients.size()); }
    TControl* DockClients(int i) const { return FDockClients.at(size_t(i)); }
    // Asked before Source may drop: OnDockOver decides (true without it); the dock rectangle is set
    // first (PositionDockRect).
    virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    // A dock drag dropped here: CM_DOCKCLIENT, then OnDockDrop.
    virtual void DockDrop(TDragDockObject* Source, int X, int Y);
    // Whether Client may leave for NewTarget (OnUnDock); the dock manager lets it go.
    virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);
    // Whether Client may dock here, and the screen area (InfluenceRect) where it may.
    virtual void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock);
    // Where a drop would place Source: the dock manager's rectangle, else the whole client area.
    virtual void PositionDockRect(TDragDockObject* Source);

    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;
    TUnDockEvent OnUnDock;
    TGetSiteInfoEvent OnGetSiteInfo;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Makes the handle of a parentless control (a form: a top-level window).
    virtual bool IsTopLevel() const { return false; }

    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    TRect GetClientRect() override;
    virtual void PaintWindow(HDC DC);
    void PaintHandler(TWMPaint& Message);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    void ChangeScale(int M, int D) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Makes the site's dock manager (a TDockTree) when it is a site that uses one.
    virtual TDockTree* CreateDockManager();
    virtual void CMDockClient(TMessage& Message);
    virtual void CMUnDockClient(TMessage& Message);
    virtual void CMDockNotification(TMessage& Message);
    // A client arrived or left; a window made only to float a control frees itself when its last
    // client leaves.
    virtual void DoAddDockClient(TControl* Client, const TRect& ARect);
    virtual void DoRemoveDockClient(TControl* Client);
    virtual void WMNCLButtonDown(TMessage& Message);

    virtual void WMPaint(TWMPaint& Message);
    virtual void WMEraseBkgnd(TWMEraseBkgnd& Message);
    virtual void WMNCCalcSize(TWMNCCalcSize& Message);
    virtual void WMNCPaint(TWMNCPaint& Message);
    virtual void WMSize(TWMSize& Message);
    virtual void WMSetFocus(TWMSetFocus& Message);
    virtual void WMKillFocus(TWMKillFocus& Message);
    virtual void WMKeyDown(TWMKey& Message);
    virtual void WMKeyUp(TWMKey& Message);
    virtual void WMChar(TWMKey& Message);
    virtual void WMSysKeyDown(TWMKey& Message);
    virtual void WMGetDlgCode(TMessage& Message);
    virtual void WMSetCursor(TWMSetCursor& Message);
    virtual void WMTimer(TWMTimer& Message);
    virtual void WMCommand(TWMCommand& Message);
    virtual void WMNCHitTest(TWMNCHitTest& Message);
    virtual void WMMouseActivate(TWMMouseActivate& Message);
    // Scroll messages of a child scroll-bar control come back to it as CN_HSCROLL / CN_VSCROLL.
    virtual void WMHScroll(TWMScroll& Message);
    virtual void WMVScroll(TWMScroll& Message);
    virtual void CMEnter(TMessage& Message);
    virtual void CMExit(TMessage& Message);
    virtual void CMDialogKey(TWMKey& Message);
    virtual void CMDialogChar(TWMKey& Message);
    virtual void CMFocusChanged(TCMFocusChanged& Message);
    virtual void CMShowingChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMShowHintChanged(TMessage& Message) override;

private:
    friend class TControl;
    friend class TWidgetHandle;
    friend class TCustomForm;
    friend struct TWinControlAccess;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    // The window and its children's windows go, with no new one made.
    void FreeHandle();
    void UpdateHandleGeometry();
    void UpdateClientGeometry();
    void UpdateShowing();
    void CreateChildHandles();
    void CurrentStyles(DWORD& Style, DWORD& ExStyle);
    void DoAlign();
    // Sends a mouse message to the graphic child under the cursor or holding the capture; true when
    // one took it.
    bool IsControlMouseMsg(TMessage& Message);

    friend class TDockTree;
    std::vector<TControl*> FControls; // z-order, bottom first
    std::vector<TControl*> FDockClients;
    std::unique_ptr<TDockTree> FDockManager;
    bool FDockSite = false;
    bool FUseDockManager = false;
    std::vector<TWinControl*> FTabList;
    TWidgetHandle* FHandle = nullptr;
    std::unique_ptr<TBrush> FBrush;
    TRect FClientBox; // client rectangle inside the window box, from WM_NCCALCSIZE
    int FBorderWidth = 0;
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FDoubleBuffered = false;
    bool FAligning = false;
    bool FShowing = false;
    DWORD FWndStyle = 0, FWndExStyle = 0;
};

// ---- TGraphicControl / TCustomControl ------------------------------------------------------------

// A canvas bound to a control while it paints.
class TControlCanvas : public TCanvas {
public:
    TControl* Control() const { return FControl; }
    void SetControl(TControl* c) { FControl = c; }
    // Runs Paint with this canvas drawing through DC's painter; unbound again afterwards, even when
    // Paint throws. Nothing happens without a painter.
    template <class F> void PaintOn(HDC DC, F&& Paint) {
        if (!DC || !DC->HandleAllocated())
            return;
        BindPainterOf(DC);
        try {
            Paint();
        } catch (...) {
            BindPainterOf(nullptr);
            throw;
        }
        BindPainterOf(nullptr);
    }

private:
    TControl* FControl = nullptr;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& Message) override;
    virtual void WMPaint(TWMPaint& Message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The window that shows a hint: a frameless popup in the application's hint colour that never takes
// the activation.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    ~THintWindow() override;
    // The box the hint text needs, origin 0, 0, wrapped at MaxWidth.
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
    // Shows AHint in Rect (screen coordinates), kept on the screen, without taking the activation.
    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
    // Hides the window and frees its handle.
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};

// What CM_HINTSHOW's LParam points at: the control may change the text, the place, the colour or ask
// to be asked again after ReshowTimeout ms while the mouse stays; a nonzero Result shows nothing.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos; // screen coordinates
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect; // in the control's client coordinates; leaving it hides the hint
    TPoint CursorPos; // in the control's client coordinates
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};
struct TCMHintShow : TMessageView {
    THintInfo* HintInfo;
    explicit TCMHintShow(TMessage& m) : TMessageView(m), HintInfo(reinterpret_cast<THintInfo*>(m.LParam)) {}
};

// The part of a hint before "|" (shown over the control), and the part after it.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// The form that holds Control (null when it is not on one).
TCustomForm* GetParentForm(TControl* Control);
// Shift state of the keyboard now.
TShiftState KeyboardStateToShiftState();
