// Common controls: the status bar (drawn by the layer), the tree view (over Qt's tree widget: TVN_
// notifications, TVM_ messages), the date-time picker, the month calendars and the rich edit.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "stdctrls.h"
#include "sysutils.h"

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

struct TStatusPanel {
    std::string Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
};

// The panels of a status bar; a change repaints the bar.
class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar) : FBar(bar) {}
    TStatusPanel* Add();
    TStatusPanel* Items(int i) { return &FItems.at(size_t(i)); }
    int Count() const { return int(FItems.size()); }
    void Clear();
    void Delete(int i);
    // Call after changing a panel's fields.
    void Changed();

private:
    TStatusBar* FBar;
    std::vector<TStatusPanel> FItems;
};

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return FPanels.get(); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    std::string SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& v);
    // The rectangle of panel i in client coordinates (the last panel runs to the right edge).
    TRect PanelRect(int i);

protected:
    void Paint() override;

private:
    std::unique_ptr<TStatusPanels> FPanels;
    std::string FSimpleText;
    bool FSimplePanel = false;
};

// ---- tree view -----------------------------------------------------------------------------------

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;
class TQtTreeItem;
using HTREEITEM = TTreeNode*;

// Nodes read from text do not fit their indentation (an invalid level).
class ETreeViewError : public Exception {
    using Exception::Exception;
};

enum : int {
    TVN_FIRST = -400,
    TVN_SELCHANGING = TVN_FIRST - 1,
    TVN_SELCHANGED = TVN_FIRST - 2,
    TVN_GETDISPINFO = TVN_FIRST - 3,
    TVN_ITEMEXPANDING = TVN_FIRST - 5,
    TVN_ITEMEXPANDED = TVN_FIRST - 6,
    TVN_DELETEITEM = TVN_FIRST - 9,
    TVN_BEGINLABELEDIT = TVN_FIRST - 10,
    TVN_ENDLABELEDIT = TVN_FIRST - 11,
    NM_CLICK = -2,
    NM_DBLCLK = -3,
    NM_RCLICK = -5,
    NM_CUSTOMDRAW = -12,
};
enum : UINT { CDDS_PREPAINT = 0x1, CDDS_ITEM = 0x10000, CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT };
enum : LRESULT { CDRF_DODEFAULT = 0x0, CDRF_NEWFONT = 0x2, CDRF_SKIPDEFAULT = 0x4 };
enum : UINT {
    CDIS_SELECTED = 0x1,
    CDIS_GRAYED = 0x2,
    CDIS_DISABLED = 0x4,
    CDIS_CHECKED = 0x8,
    CDIS_FOCUS = 0x10,
    CDIS_DEFAULT = 0x20,
    CDIS_HOT = 0x40
};
enum : int {
    TVGN_ROOT = 0,
    TVGN_NEXT = 1,
    TVGN_PREVIOUS = 2,
    TVGN_PARENT = 3,
    TVGN_CHILD = 4,
    TVGN_FIRSTVISIBLE = 5,
    TVGN_NEXTVISIBLE = 6,
    TVGN_PREVIOUSVISIBLE = 7,
    TVGN_CARET = 9,
};
enum : int { TVE_COLLAPSE = 1, TVE_EXPAND = 2, TVE_TOGGLE = 3 };
enum : UINT { TVIF_IMAGE = 0x2, TVIF_SELECTEDIMAGE = 0x20 };
// Window styles of the tree view (CreateParams).
enum : DWORD { TVS_NOTOOLTIPS = 0x80 };
enum : int { TVC_UNKNOWN = 0, TVC_BYMOUSE = 1, TVC_BYKEYBOARD = 2 };
enum : unsigned {
    TVHT_NOWHERE = 0x1,
    TVHT_ONITEMICON = 0x2,
    TVHT_ONITEMLABEL = 0x4,
    TVHT_ONITEMINDENT = 0x8,
    TVHT_ONITEMBUTTON = 0x10,
    TVHT_ONITEMRIGHT = 0x20,
    TVHT_ONITEMSTATEICON = 0x40,
    TVHT_ONITEM = 0x46
};

struct TNMHdr {
    HWND hwndFrom = nullptr;
    WPARAM idFrom = 0;
    int code = 0;
};
// What CN_NOTIFY's LParam points at for the tree's notifications.
struct TNMTreeView {
    TNMHdr hdr;
    UINT action = 0;
    HTREEITEM itemOld = nullptr;
    HTREEITEM itemNew = nullptr;
    const char* text = nullptr; // TVN_ENDLABELEDIT: the new label, null when cancelled
};
// NM_CUSTOMDRAW for one node: hdc is null, the control's Canvas is bound to the painter while the
// notification runs. An answer of CDRF_NEWFONT takes clrText / clrTextBk for the default drawing.
struct TNMTVCustomDraw {
    TNMHdr hdr;
    UINT dwDrawStage = 0;
    HDC hdc = nullptr;
    TRect rc;
    HTREEITEM dwItemSpec = nullptr;
    UINT uItemState = 0;
    TColor clrText = clNone;
    TColor clrTextBk = clNone;
    int iLevel = 0;
};
// TVN_GETDISPINFO: the control asks for a node's images before it draws them; the answer is read
// back from iImage / iSelectedImage (the ones mask names).
struct TNMTVDispInfo {
    TNMHdr hdr;
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    int iImage = -1;
    int iSelectedImage = -1;
};
struct TTVHitTestInfo {
    TPoint pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

enum TSortType { stNone, stData, stText, stBoth };
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
enum TCustomDrawStateItem {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = Set<TCustomDrawStateItem, cdsSelected, cdsIndeterminate>;
// The CDIS_ bits of a custom-draw notification as the events' state.
TCustomDrawState CustomDrawStateOf(UINT uItemState);
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

class TTreeNode {
public:
    std::string Text() const { return FText; }
    void SetText(const std::string& v);
    void* Data = nullptr;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int v);
    // -1: no state image.
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);

    TTreeNode* Parent() const { return FParent; }
    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int i) const { return FChildren.at(size_t(i)); }
    bool HasChildren() const { return !FChildren.empty(); }
    int Index() const;
    int Level() const;
    // Position among all nodes in tree order (as Items[AbsoluteIndex] finds it).
    int AbsoluteIndex() const;
    TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // Next / previous node in tree order.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    bool IsVisible() const;

    bool Expanded() const;
    void SetExpanded(bool v) { v ? Expand(false) : Collapse(false); }
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const { return Selected(); }
    void MakeVisible();
    void EditText();
    void Delete();
    void DeleteChildren();
    void AlphaSort(bool Recurse = false);
    // Client rectangle of the node's row, or of its text only; empty when out of view.
    TRect DisplayRect(bool TextOnly) const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    friend struct TTreeViewQt;
    explicit TTreeNode(TTreeNodes* owner) : FOwner(owner) {}
    ~TTreeNode();
    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    // The children are known to stand in sorted order (see TTreeNodes::InsertAt).
    bool FChildrenSorted = true;
    int FIndex = 0; // the place among its siblings
    TQtTreeItem* FItem = nullptr;
    std::string FText;
    int FImageIndex = -1, FSelectedIndex = -1, FStateIndex = -1;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* owner) : FOwner(owner) {}
    ~TTreeNodes();
    TCustomTreeView* Owner() const { return FOwner; }
    // Every node counts, in tree order.
    int Count() const { return FCount; }
    TTreeNode* Item(int Index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    // Add puts a sibling after the last sibling of Node (a top-level node when Node is null).
    TTreeNode* Add(TTreeNode* Node, const std::string& S) { return AddObject(Node, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Node, const std::string& S, void* Ptr);
    TTreeNode* AddFirst(TTreeNode* Node, const std::string& S);
    TTreeNode* AddChild(TTreeNode* Node, const std::string& S) { return AddChildObject(Node, S, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* Node, const std::string& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Node, const std::string& S);
    // Before Node, among its siblings.
    TTreeNode* Insert(TTreeNode* Node, const std::string& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    friend struct TTreeViewQt;
    TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& S, void* Ptr);
    std::vector<TTreeNode*>& Siblings(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }
    bool& SiblingsSorted(TTreeNode* parent) { return parent ? parent->FChildrenSorted : FRootsSorted; }
    // After the siblings from From on moved: their places, and the node Item found last.
    void Moved(std::vector<TTreeNode*>& Sib, size_t From);
    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    bool FRootsSorted = true;
    int FCount = 0;
    mutable TTreeNode* FFound = nullptr;
    mutable int FFoundIndex = 0;
    int FUpdate = 0;
};

class TCustomTreeView : public TNativeControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const { return FNodes.get(); }
    // Selecting from code tells OnChanging / OnChange, as the user's selection does.
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* v);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);
    TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TImageList* v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool v) { FShowLines = v; }
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool v);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool v);
    bool HideSelection = true;
    bool RowSelect = false;
    bool AutoExpand = false;
    // A right press selects the node under the mouse; without it the selection stays put, as in
    // Windows.
    bool RightClickSelect = false;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // A node whose text the view cuts shows it whole in a tool tip (TVS_NOTOOLTIPS when off).
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool v);
    int Indent() const;
    void SetIndent(int v);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType v);
    TTreeNode* TopItem() const;
    TTreeNode* GetNodeAt(int X, int Y) const;
    unsigned GetHitTestInfoAt(int X, int Y) const;
    void FullExpand();
    void FullCollapse();
    bool AlphaSort(bool Recurse = true);
    bool IsEditing() const;

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnDeletion;
    TTVChangedEvent OnGetImageIndex;
    TTVChangedEvent OnGetSelectedIndex;
    TTVCompareEvent OnCompare;
    // Runs with Canvas bound to the node's painting, brush and font set for its state; setting
    // DefaultDraw false leaves the node as the handler drew it.
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    virtual void Edit(TTreeNode* Node, std::string& S);
    virtual void Delete(TTreeNode* Node);
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    // Sort order of two siblings: OnCompare when set, else by text.
    virtual int CustomSort(TTreeNode* Node1, TTreeNode* Node2);
    virtual bool IsCustomDrawn() const { return bool(OnCustomDrawItem); }
    // Fires OnCustomDrawItem; false: the node is drawn, skip the default drawing.
    virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The view is made when the handle is first needed or the first node is added.
    void CreateWidget() override;
    // WM_PAINT comes after the view has drawn its nodes, with the DC over the same painter in
    // client coordinates, so a handler draws on top. The vertical position counts rows: WM_VSCROLL
    // moves it and GetScrollPos(SB_VERT) reads the top row. A right click sends NM_RCLICK before
    // the usual button-up handling and its WM_CONTEXTMENU.
    void Dispatch(TMessage& Message) override;
    void CNNotify(TMessage& Message);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend struct TTreeViewQt;
    // Sends a tree notification through the message path; returns its answer.
    LRESULT NotifyTree(int code, TTreeNode* oldNode, TTreeNode* newNode, UINT action = TVC_UNKNOWN,
                       const char* text = nullptr);
    void UpdateIcon(TTreeNode* Node);
    void SortSiblings(TTreeNode* parent, bool recurse);
    void CNCustomDraw(TNMTVCustomDraw& nm, LRESULT& Result);
    void SyncScrollState();
    void VScroll(int Code, int Pos);
    std::unique_ptr<TTreeNodes> FNodes;
    // The indent set (-1: the style's own); the view, once made, shows it.
    int FIndent = -1;
    std::unique_ptr<TControlCanvas> FCanvas;
    TImageList* FImages = nullptr;
    TImageList* FStateImages = nullptr;
    TSortType FSortType = stNone;
    bool FReadOnly = false;
    bool FShowLines = true;
    bool FShowButtons = true;
    bool FShowRoot = true;
    bool FEditing = false;
    bool FToolTips = true;
    TBorderStyle FBorderStyle = bsSingle;
    TTreeNode* FAsking = nullptr; // the node whose images TVN_GETDISPINFO is asking for
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

// ---- date-time picker ----------------------------------------------------------------------------

enum : int {
    DTN_FIRST = -760,
    DTN_DATETIMECHANGE = DTN_FIRST + 1,
    DTN_DROPDOWN = DTN_FIRST + 6,
    DTN_CLOSEUP = DTN_FIRST + 7,
};
enum : UINT {
    MCM_GETCURSEL = MCM_FIRST + 1,
    MCM_SETCURSEL = MCM_FIRST + 2,
    MCM_GETMONTHRANGE = MCM_FIRST + 7,
    MCM_SETDAYSTATE = MCM_FIRST + 8,
    MCM_GETMINREQRECT = MCM_FIRST + 9,
    MCM_SETCOLOR = MCM_FIRST + 10,
    MCM_GETCOLOR = MCM_FIRST + 11,
    MCM_SETTODAY = MCM_FIRST + 12,
    MCM_GETTODAY = MCM_FIRST + 13,
    MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16,
    DTM_GETMCCOLOR = DTM_FIRST + 7,
};
// Month-calendar window styles.
enum : DWORD { MCS_DAYSTATE = 0x1, MCS_WEEKNUMBERS = 0x4, MCS_NOTODAYCIRCLE = 0x8, MCS_NOTODAY = 0x10 };
// MCM_GETMONTHRANGE: the months wholly shown, or with the days of the neighbours shown beside them.
enum : WPARAM { GMR_VISIBLE = 0, GMR_DAYSTATE = 1 };
// MCM_SETDAYSTATE: one word per month, bit d-1 set for a day d shown bold.
using MONTHDAYSTATE = DWORD;
// What MCM_GETCURSEL / MCM_SETCURSEL point at (wDayOfWeek: Sunday = 0).
struct TSystemTime {
    WORD wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0,
         wMilliseconds = 0;
};
// Month-calendar colour indexes (DTM_SETMCCOLOR).
enum : int {
    MCSC_BACKGROUND = 0,
    MCSC_TEXT = 1,
    MCSC_TITLEBK = 2,
    MCSC_TITLETEXT = 3,
    MCSC_MONTHBK = 4,
    MCSC_TRAILINGTEXT = 5,
};
enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };
// Monday = 0 … Sunday = 6, 7 = the locale's first day.
enum TCalDayOfWeek {
    dowMonday,
    dowTuesday,
    dowWednesday,
    dowThursday,
    dowFriday,
    dowSaturday,
    dowSunday,
    dowLocaleDefault
};

class TMonthCalWindow;

// Over Qt's date-time editor with its calendar pop-up. Values set from code are silent; the user's
// changes and the calendar's drop-down and close-up arrive as CN_NOTIFY (DTN_ codes).
// DTM_GETMONTHCAL answers the picker's own window while the calendar is down: the picker takes
// the MCM_ messages for it.
class TDateTimePicker : public TNativeControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat v);
    TDateTime DateTime() const;
    void SetDateTime(TDateTime v);
    TDateTime Date() const;
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime v);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime v);
    // Windows format pictures: d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH m mm s ss t tt 'text'.
    std::string Format() const { return FFormat; }
    void SetFormat(const std::string& v);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    TCalDayOfWeek CalFirstDayOfWeek() const { return FFirstDay; }
    void SetCalFirstDayOfWeek(TCalDayOfWeek v);
    bool DroppedDown() const;
    TColor CalColor(int Index) const { return FCalColors[Index]; }
    // Drops the month calendar down under the picker (date kind, drop-down mode) or closes it;
    // Pick takes its selected day first.
    void DropDown();
    void CloseUp(bool Pick);

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    // The editor is made when the handle is first needed, or when a range of its own is set.
    void CreateWidget() override;

private:
    friend struct TDateTimePickerQt;
    // The Windows format picture in force: the custom one, else the kind's and date format's.
    std::string Picture() const;
    void ApplyFormat();
    void ApplyCalendar();
    void NotifyPicker(int code);
    bool CanDrop() const { return FDateMode == dmComboBox && FKind == dtkDate; }
    bool InDropButton(TPoint P) const;
    void PlaceCalendar(int Width, int Height);
    // Presses elsewhere while the calendar is down.
    bool DroppedHook(TMsg& Msg);
    TMonthCalWindow* FCalendar = nullptr;
    int FHook = -1;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    TDTDateFormat FDateFormat = dfShort;
    TDateTime FMinDate = 0, FMaxDate = 0;
    std::string FFormat;
    bool FShowCheckbox = false;
    bool FChecked = true;
    TCalDayOfWeek FFirstDay = dowLocaleDefault;
    TColor FCalColors[6] = {clWindow, clWindowText, clActiveCaption, clCaptionText, clWindow, clGrayText};
    // The value: its Julian day and milliseconds into the day. The editor, once made, shows it and
    // its changes come back here.
    int64_t FDay = 0;
    int FMs = 0;
};

// The month-calendar engine: as many whole months, side by side and in rows, as its size holds
// (MCM_GETMINREQRECT is one month's), the neighbours' days before the first month and after the
// last, a week-number column with MCS_WEEKNUMBERS, today circled unless MCS_NOTODAYCIRCLE, a today
// line under the months unless MCS_NOTODAY, and days shown bold by MCM_SETDAYSTATE. Styles changed
// by SetWindowLong apply at once.
class TCommonCalendar : public TNativeControl {
public:
    ~TCommonCalendar() override;

    TDateTime Date() const;
    void SetDate(TDateTime v);
    // The months shown now.
    int MonthCount() const;
    // One month with the today line.
    TRect MinReqRect() const;
    // Arrow, page and Home/End keys move the selection; Enter picks it.
    bool Key(WORD VirtualKey);
    void SetFirstDayAndColors(TCalDayOfWeek FirstDay, const TColor (&Colors)[6]);
    TCalDayOfWeek FirstDayOfWeek() const { return FFirstDay; }
    void SetFirstDayOfWeek(TCalDayOfWeek v) { SetFirstDayAndColors(v, FCalColors); }
    TColor CalColor(int Index) const { return FCalColors[Index]; }

protected:
    explicit TCommonCalendar(TComponent* AOwner);
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    // A day picked with the mouse or the today line, or the selection taken with Enter.
    virtual void DayPicked() = 0;
    bool WeekNumbersShown() const;
    void ShowWeekNumbers(bool v);

private:
    friend struct TDateTimePickerQt;
    void ApplyStyle();
    TCalDayOfWeek FFirstDay = dowLocaleDefault;
    TColor FCalColors[6] = {clWindow, clWindowText, clActiveCaption, clCaptionText, clWindow, clGrayText};
};

// A month calendar on its own, sized to one month: the user's click on a day selects it and fires
// OnClick; the arrow and page keys move the selection. MCM_GETCURSEL / MCM_SETCURSEL read and set it.
class TMonthCalendar : public TCommonCalendar {
public:
    explicit TMonthCalendar(TComponent* AOwner);

    bool WeekNumbers() const { return WeekNumbersShown(); }
    void SetWeekNumbers(bool v) { ShowWeekNumbers(v); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void DayPicked() override { Click(); }
};

// The month-calendar window a picker drops down: a popup, hidden until dropped. A day picked fires
// OnSelect.
class TMonthCalWindow : public TCommonCalendar {
public:
    explicit TMonthCalWindow(TComponent* AOwner);

    TNotifyEvent OnSelect;

protected:
    void CreateParams(TCreateParams& Params) override;
    void DayPicked() override;
};

// ---- rich edit -----------------------------------------------------------------------------------

class TCustomRichEdit;

// The lines of a rich edit; written to a stream as rich text unless the edit is plain text.
class TRichEditStrings : public TMemoStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* edit);
    void SaveToStream(TStream* Stream) const override;

private:
    TCustomRichEdit* FEdit;
};

class TCustomRichEdit : public TCustomMemo {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;
    TStrings* Lines() const { return FRichLines.get(); }
    bool PlainText = false;
    // Column and line of the caret.
    TPoint CaretPos();
    void SetCaretPos(TPoint v);

private:
    std::unique_ptr<TRichEditStrings> FRichLines;
};

class TRichEdit : public TCustomRichEdit {
public:
    explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};

// Text as rich text: Windows-1251 bytes above 0x7F as \'xx, one paragraph per line.
std::string TextToRtf(const std::vector<std::string>& Lines, const std::string& FontName, int FontSize);
