// The Gw list view (widget layer, lists): the platform list view with click-to-sort
// columns and sort arrows in an owner-drawn header, a last column that fills the width, item
// hints, item context menus from the mouse and the keyboard, check-state events, wheel scrolling
// by pixels and the custom framing of the other framed controls.
#pragma once

#include "Gwframing.h"
#include "listview.h"
#include "menus.h"

enum TGwLVSortDirection { sdAscending, sdDescending };
enum TGwLVHeaderSortDisplayMode { hsdmNone, hsdmLeftAlign, hsdmRightOfText, hsdmRightAlign };

// The sort callbacks (items as TListItem*, lParamSort the column): case-insensitive, empty texts
// after all others ascending and before them descending.
int GwCustomSortProc(LPARAM Item1, LPARAM Item2, LPARAM Column);
int GwCustomSortDescendingProc(LPARAM Item1, LPARAM Item2, LPARAM Column);

// Sort arrows three quarters of Rect high at its bottom-left; BackColor clNone leaves the box.
void DrawUpArrow(TCanvas* Canvas, const TRect& Rect, TColor BackColor, TColor ArrowColor);
void DrawDownArrow(TCanvas* Canvas, const TRect& Rect, TColor BackColor, TColor ArrowColor);

using TGwLVCheckStateChanging =
    std::function<void(TObject* Sender, TListItem* Item, bool ToBeChecked, bool& AllowChange)>;
using TGwLVCheckStateChange = std::function<void(TObject* Sender, TListItem* Item)>;
using TGwLVOnItemContextMenuEvent =
    std::function<void(TObject* Sender, TListItem* Item, TPoint& Pos, TPopupMenu*& Menu)>;

class TGwCustomListView : public TGwFramedBase<TCustomListView> {
public:
    explicit TGwCustomListView(TComponent* AOwner);
    ~TGwCustomListView() override;

    bool AlphaSortAll = false;
    bool EditOnRowClick = false;
    // The caption shows in a hint window over an item whose label cuts it.
    bool ShowItemHints = true;
    bool FillLastColumn() const { return FFillLastColumn; }
    void SetFillLastColumn(bool Value);
    bool HeaderDefaultDrawing() const { return FHeaderDefaultDrawing; }
    void SetHeaderDefaultDrawing(bool Value);
    TGwLVHeaderSortDisplayMode HeaderSortDisplayMode() const { return FSortDisplayMode; }
    void SetHeaderSortDisplayMode(TGwLVHeaderSortDisplayMode Value);
    // -1: no column sorted.
    int HeaderSortColumn() const { return FSortColumn; }
    void SetHeaderSortColumn(int Value);
    TGwLVSortDirection HeaderSortDirection() const { return FSortDirection; }
    void SetHeaderSortDirection(TGwLVSortDirection Value);
    // Sorts as a click on the column does, so the result is in Direction.
    void SortByColumn(int Column, TGwLVSortDirection Direction);
    void EditSelectedCaption();
    void EditItemCaption(TListItem* Item);
    // Scrolls so that item Index is the top row.
    void SetTopIndex(int Index);
    void ResizeLastColumn();
    THintWindow* HintWindow() const { return FHintWindow; }
    void ReleaseHintWindow();

    void SetFrameHotTrack(bool Value) override;
    void SetFrameVisible(bool Value) override;
    bool FramingStored(TGwFrameControllerProperty Property) const { return FFraming.Stored(Property); }

    TGwLVCheckStateChanging OnCheckStateChanging;
    TGwLVCheckStateChange OnCheckStateChange;
    TGwLVOnItemContextMenuEvent OnItemContextMenu;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void UpdateColors() { FFraming.UpdateColors(); }
    virtual void UpdateFrame(bool ViaMouse, bool InFocus) { FFraming.UpdateFrame(ViaMouse, InFocus); }
    virtual void RepaintFrame();
    virtual bool CanCheckStateChange(TListItem* Item, bool ToBeChecked);
    virtual void CheckStateChange(TListItem* Item);
    virtual void ItemContextMenu(TListItem* Item, TPoint& Pos, TPopupMenu*& Menu);
    // Header painting: the section's background, then DefaultDrawHeader when HeaderDefaultDrawing.
    virtual void DrawHeader(int Index, TRect Rect);
    void DefaultDrawHeader(int Index, TRect Rect);
    void DrawHeaderSortGlyphs(int Index, const TRect& Rect);
    void DoPreItemContextMenu(TPoint Pos);
    void DoItemContextMenu(TPoint Pos);
    void ColClick(TListColumn* Column) override;
    void CNNotify(TMessage& Message) override;
    void WMNotify(TMessage& Message) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;
    void WMSize(TWMSize& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override { RecreateWnd(); }
    bool FramingFocused() const override { return FFocused; }

private:
    void SetHeaderODStyle();
    void InvalidateHeaderSection(int Index);
    void HeaderWndProc(TMessage& Message);
    void DoHint(int X, int Y);
    int WheelStep() const;

    bool FFillLastColumn = true;
    bool FHeaderDefaultDrawing = true;
    TGwLVHeaderSortDisplayMode FSortDisplayMode = hsdmRightOfText;
    int FSortColumn = -1;
    TGwLVSortDirection FSortDirection = sdAscending;
    int FLastAscendingColumn = -1;
    std::function<void(TMessage&)> FHeaderOldProc;
    bool FSettingODStyle = false;
    bool FHeaderPressed = false;
    int FHotSection = -1;
    bool FMenuShown = false;
    bool FFocused = false;
    THintWindow* FHintWindow = nullptr;
    TCanvas* FHeaderCanvas = nullptr; // the header's painting while WM_DRAWITEM runs
};

class TGwListView : public TGwCustomListView {
public:
    explicit TGwListView(TComponent* AOwner) : TGwCustomListView(AOwner) {}
};
