// The list view of the common-controls unit in its report view, over Qt's tree widget: columns shown
// by a header control of ours above the rows, items with sub-items, check boxes, selection, sorting
// and image lists. The LVM_ messages are answered; the user's actions arrive as CN_NOTIFY with the
// LVN_ codes, the header's as WM_NOTIFY from the header.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comctrls.h"
#include "headerctrls.h"

// LVM_GETITEM / LVM_SETITEM / LVM_GETITEMSTATE / LVM_SETITEMSTATE.
enum : UINT { LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8 };
enum : UINT { LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000 };
constexpr UINT INDEXTOSTATEIMAGEMASK(int i) { return UINT(i) << 12; }
// A check box's state image: 1 unchecked, 2 checked.
constexpr UINT StateImageBits(bool Checked) { return INDEXTOSTATEIMAGEMASK(Checked ? 2 : 1); }
// LVM_GETNEXTITEM flags.
enum : UINT { LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2 };
// LVM_GETITEMRECT / LVM_GETSUBITEMRECT: which part; the rectangle's Left carries it in.
enum : int { LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2, LVIR_SELECTBOUNDS = 3 };
enum : UINT {
    LVHT_NOWHERE = 0x1,
    LVHT_ONITEMICON = 0x2,
    LVHT_ONITEMLABEL = 0x4,
    LVHT_ONITEMSTATEICON = 0x8,
    LVHT_ONITEM = 0xE
};
enum : UINT { LVS_EX_GRIDLINES = 0x1, LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20 };
enum : UINT { LVCF_FMT = 0x1, LVCF_WIDTH = 0x2, LVCF_TEXT = 0x4, LVCF_SUBITEM = 0x8, LVCF_IMAGE = 0x10 };
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2, LVCFMT_JUSTIFYMASK = 3 };
enum : int { LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2 };
enum : UINT { CDDS_SUBITEM = 0x20000 };

// LVM_GETCOLUMN / LVM_SETCOLUMN / LVM_INSERTCOLUMN: WParam is the column, LParam points at this.
struct TLVColumn {
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::string Text;
    int iSubItem = 0;
    int iImage = -1;
};
// LVM_GETITEM / LVM_SETITEM (LParam), LVM_GETITEMSTATE / LVM_SETITEMSTATE (WParam the item).
struct TLVItem {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    std::string Text;
    int iImage = -1;
    LPARAM lParam = 0;
};
struct TLVHitTestInfo {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};
// LVN_ITEMCHANGING (nonzero answer refuses), LVN_ITEMCHANGED, LVN_INSERTITEM, LVN_DELETEITEM,
// LVN_COLUMNCLICK (iSubItem is the column). lParam is the item's TListItem.
struct TNMListView {
    TNMHdr hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
};
// LVN_BEGINLABELEDIT (nonzero refuses) and LVN_ENDLABELEDIT: item.mask lacks LVIF_TEXT when the
// edit was cancelled.
struct TLVDispInfo {
    TNMHdr hdr;
    TLVItem item;
};
// NM_CUSTOMDRAW for one cell (CDDS_ITEMPREPAINT, with CDDS_SUBITEM for iSubItem > 0): hdc is the
// control's Canvas, bound to the painting while the notification runs; rc in client coordinates.
// An answer of CDRF_NEWFONT takes clrText / clrTextBk for the default drawing.
struct TNMLVCustomDraw {
    TNMHdr hdr;
    UINT dwDrawStage = 0;
    HDC hdc = nullptr;
    TRect rc;
    int dwItemSpec = -1;
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
    TColor clrText = clNone;
    TColor clrTextBk = clNone;
    int iSubItem = 0;
};
// LVM_SORTITEMS: WParam is lParamSort, LParam this function; it gets the items as TListItem*.
using TLVCompare = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };

class TListItem;
class TListItems;
class TListColumns;
class TCustomListView;
class TQtListItem;

class TListColumn {
public:
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int v);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    int Index() const;
    int Tag = 0;

private:
    friend class TListColumns;
    friend class TCustomListView;
    explicit TListColumn(TListColumns* owner) : FOwner(owner) {}
    TListColumns* FOwner;
    std::string FCaption;
    int FWidth = 50, FMinWidth = 0, FMaxWidth = 0; // MaxWidth 0: no limit
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class TListColumns {
public:
    TCustomListView* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TListColumn* Items(int i) const { return FItems.at(size_t(i)).get(); }
    TListColumn* Add();
    void Delete(int Index);
    void Clear();

private:
    friend class TCustomListView;
    friend class TListColumn;
    explicit TListColumns(TCustomListView* owner) : FOwner(owner) {}
    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FItems;
};

class TListItem {
public:
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    // The texts of columns 1, 2, …; changing them shows at once.
    TStrings* SubItems() const;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // -1: no state image.
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);
    // The check box (with Checkboxes on); a change asks LVN_ITEMCHANGING like the user's click.
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Selected() const { return FState & LVIS_SELECTED; }
    void SetSelected(bool v);
    bool Focused() const { return FState & LVIS_FOCUSED; }
    void SetFocused(bool v);
    void* Data = nullptr;
    int Index() const;
    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    // In client coordinates; empty while the row is out of view.
    TRect DisplayRect(TDisplayCode Code) const;
    void MakeVisible(bool PartialOK);
    // Starts the label editor (asks LVN_BEGINLABELEDIT); false when refused.
    bool EditCaption();
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;
    friend struct TListViewQt;
    explicit TListItem(TListItems* owner);
    ~TListItem();
    void ShowTexts();
    TListItems* FOwner;
    std::unique_ptr<TStringList> FSubItems;
    TQtListItem* FItem = nullptr;
    std::string FCaption;
    int FImageIndex = -1, FStateIndex = -1;
    bool FChecked = false;
    UINT FState = 0; // LVIS_ bits as last reported
};

class TListItems {
public:
    explicit TListItems(TCustomListView* owner) : FOwner(owner) {}
    ~TListItems();
    TCustomListView* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TListItem* Item(int Index) const;
    TListItem* Add() { return Insert(Count()); }
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem* Value) const;
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TListItem;
    friend class TCustomListView;
    friend struct TListViewQt;
    TCustomListView* FOwner;
    std::vector<TListItem*> FItems;
    int FUpdate = 0;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent =
    std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent =
    std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, int SubItem,
                                                     TCustomDrawState State, bool& DefaultDraw)>;

class TCustomListView : public TNativeControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    TListItems* Items() const { return FItems.get(); }
    // Only the report view is drawn; the other styles keep the value and show rows without a header.
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v);
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v) { FRowSelect = v; }
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool v) { FGridLines = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool v);
    // Header clicks raise OnColumnClick (LVN_COLUMNCLICK) only while this is on.
    bool ColumnClick = true;
    bool HideSelection = true;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* v);
    TImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* v) { FLargeImages = v; }
    TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TImageList* v);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType v);

    // The first selected item; setting it selects that one item and focuses it.
    TListItem* Selected() const;
    void SetSelected(TListItem* v);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* v);
    int SelCount() const;
    void ClearSelection();
    TListItem* TopItem() const;
    int VisibleRowCount() const;
    TListItem* GetItemAt(int X, int Y) const;
    // LVHT_ flags of the point (client coordinates).
    UINT GetHitTestInfoAt(int X, int Y) const;
    // Scrolls by pixels.
    void Scroll(int DX, int DY);
    bool IsEditing() const { return FEditing; }
    // The header window the columns show in (LVM_GETHEADER answers its handle).
    THeaderControl* Header() const { return FHeader; }
    // Sorts with the compare function (through LVM_SORTITEMS); without one, like AlphaSort with
    // lParam as OnCompare's Data.
    bool CustomSort(TLVCompare SortProc, LPARAM lParam);
    bool AlphaSort();
    TCanvas* Canvas() const { return FCanvas.get(); }

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    // Run with Canvas bound to the cell's painting, brush and font set for its state; DefaultDraw
    // false leaves the cell as the handler drew it.
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;

    // The messages the list view answers itself, in the order of its message table; the others go
    // on to the native control.
    static std::vector<UINT> OwnMessages();

protected:
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void DoSelectItem(TListItem* Item, bool Selected);
    // A header click on the column (with ColumnClick on): fires OnColumnClick.
    virtual void ColClick(TListColumn* Column);
    virtual void Delete(TListItem* Item);
    virtual void InsertItem(TListItem* Item);
    virtual bool CanEdit(TListItem* Item);
    virtual void Edit(TListItem* Item, std::string& S);
    virtual bool IsCustomDrawn() const { return OnCustomDrawItem || OnCustomDrawSubItem; }
    // Fire the custom-draw events; false: the cell is drawn, skip the default drawing.
    virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State);
    virtual bool CustomDrawSubItem(TListItem* Item, int SubItem, TCustomDrawState State);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void CNNotify(TMessage& Message);
    // WM_NOTIFY from the header: clicks become LVN_COLUMNCLICK, divider drags set the columns' widths.
    virtual void WMNotify(TMessage& Message);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    friend struct TListViewQt;
    struct TMessageTable; // listviewmsg.cpp
    LRESULT NotifyList(int code, TListItem* Item, int SubItem = 0, UINT changed = 0, UINT oldState = 0,
                       UINT newState = 0);
    // LVN_BEGINLABELEDIT / LVN_ENDLABELEDIT; text null: no text (the edit was cancelled).
    LRESULT NotifyEdit(int code, TListItem* Item, const std::string* text);
    // Asks LVN_ITEMCHANGING; on consent applies and reports LVN_ITEMCHANGED. False when refused.
    bool ChangeItem(TListItem* Item, UINT changed, UINT oldState, UINT newState,
                    const std::function<void()>& apply);
    // Brings every item's selection and focus bits in line with Qt's, asking and reporting each change.
    void ReconcileStates();
    void ColumnsChanged();
    void LayoutHeader();
    void UpdateIcon(TListItem* Item);
    void SortItems(const std::function<int(TListItem*, TListItem*)>& Compare);
    void AutoSort();
    int DefaultCompare(TListItem* Item1, TListItem* Item2, int Data);
    void CNCustomDraw(TNMLVCustomDraw& nm, LRESULT& Result);
    // The row area's text (Text) or background colour.
    void ShowColor(bool Text, TColor Color);
    TRect ItemRect(const TListItem* Item, int Column, int Code) const;
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    THeaderControl* FHeader = nullptr;
    TImageList* FSmallImages = nullptr;
    TImageList* FLargeImages = nullptr;
    TImageList* FStateImages = nullptr;
    TViewStyle FViewStyle = vsIcon;
    TSortType FSortType = stNone;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCheckboxes = false;
    bool FMultiSelect = false;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FReadOnly = false;
    bool FShowColumnHeaders = true;
    bool FEditing = false;
    TColor FBkColor = TColor(0xFFFFFF), FTextColor = TColor(0), FTextBkColor = TColor(0xFFFFFF);
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};
