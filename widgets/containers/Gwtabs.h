// Tab controls of the Gw widget library: the tab engine every tabbed widget shares (layout in mapped
// coordinates, painting, input), and the collection tab control whose tabs come from an editable
// collection of items. Widget layer (over the GUI core).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Gwcommon.h"
#include "Gwtabdata.h"
#include "classes.h"
#include "controls.h"
#include "graphics.h"
#include "menus.h"
#include "timers.h"

class TGwCollectionTabControl;

using TGwTabChangingEvent = std::function<void(TObject* Sender, int NewIndex, bool& AllowChange)>;
using TGwTabCloseEvent = std::function<void(TObject* Sender, bool& AllowClose)>;
using TGwTabOrderChangeEvent = std::function<void(TObject* Sender, int OldIndex, int NewIndex)>;
using TGwPaintBackgroundEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool& Handled)>;
using TGwPaintCardBackgroundEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled)>;
using TGwPaintTabBackgroundEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, int ATabIndex, const TRect& ARect, bool& Handled)>;
enum TGwTextStyle { txNormal, txSelected, txHot, txDisabledHighlight, txDisabledShadow };
using TGwGetTextColorEvent =
    std::function<void(TObject* Sender, int ATabIndex, TGwTextStyle AStyle, TColor& AColor, bool& Handled)>;

// A property whose setter stores a changed value and rebuilds the layout.
#define GW_TAB_PROPERTY(Type, Name, Default)                                                                 \
public:                                                                                                      \
    Type Name() const { return F##Name; }                                                                    \
    virtual void Set##Name(Type Value);                                                                      \
                                                                                                             \
private:                                                                                                     \
    Type F##Name = Default;

// The tab engine. Layout runs as if the tabs stood on top (mapped coordinates: x along the row, y
// across, row 0 next to the card) and is mapped to the client at the end, so the four orientations
// and the reverse sequence share one set of numbers.
class TGwCustomTabControl : public TCustomControl {
public:
    explicit TGwCustomTabControl(TComponent* AOwner);
    ~TGwCustomTabControl() override;

    GW_TAB_PROPERTY(bool, AlignTabs, false)
    GW_TAB_PROPERTY(bool, AllowTabDragging, false)
    GW_TAB_PROPERTY(bool, BoldCurrentTab, false)
    GW_TAB_PROPERTY(bool, UseColoredTabs, false)
    GW_TAB_PROPERTY(int, CutCornerSize, 6)
    GW_TAB_PROPERTY(TColor, FlatColor, clBtnShadow)
    GW_TAB_PROPERTY(int, FlatColorAdjustment, 0)
    GW_TAB_PROPERTY(TGwHorizontalAlignment, ImageAlignment, haCenter)
    GW_TAB_PROPERTY(TGwVerticalAlignment, ImageAlignmentVertical, vaCenter)
    GW_TAB_PROPERTY(int, ImageMargin, 2)
    GW_TAB_PROPERTY(TGwImagePosition, ImagePosition, ipLeft)
    GW_TAB_PROPERTY(bool, HotTrack, true)
    GW_TAB_PROPERTY(TColor, HotTrackColor, static_cast<TColor>(0x149BF0))
    GW_TAB_PROPERTY(TGwHotTrackColorType, HotTrackColorType, htctActual)
    GW_TAB_PROPERTY(TGwTabHotTrackStyle, HotTrackStyle, htsTab)
    GW_TAB_PROPERTY(int, Margin, 0)
    GW_TAB_PROPERTY(bool, MultiLine, false)
    GW_TAB_PROPERTY(int, RowIndent, 5)
    GW_TAB_PROPERTY(int, RowOverlap, 5)
    GW_TAB_PROPERTY(bool, ShowCard, true)
    GW_TAB_PROPERTY(bool, ShowCardFrame, true)
    GW_TAB_PROPERTY(bool, ShowFocusRect, true)
    GW_TAB_PROPERTY(bool, ShowFullFrame, true)
    GW_TAB_PROPERTY(bool, ShowShadow, true)
    GW_TAB_PROPERTY(bool, SoftCorners, false)
    GW_TAB_PROPERTY(int, TabOverlap, -1)
    GW_TAB_PROPERTY(TOrientation, TextOrientation, orHorizontal)
    GW_TAB_PROPERTY(bool, TabHints, false)
    GW_TAB_PROPERTY(TGwTabOrientation, TabOrientation, toTop)
    GW_TAB_PROPERTY(TGwTabSequence, TabSequence, tsStandard)
    GW_TAB_PROPERTY(TGwTabStyle, TabStyle, tsSingleSlant)
    GW_TAB_PROPERTY(int, TabWidth, 0)
    GW_TAB_PROPERTY(TGwHorizontalAlignment, TextAlignment, haCenter)
    GW_TAB_PROPERTY(TGwVerticalAlignment, TextAlignmentVertical, vaCenter)
    GW_TAB_PROPERTY(bool, Transparent, false)
    GW_TAB_PROPERTY(bool, UseGradients, true)
    GW_TAB_PROPERTY(TImageList*, Images, nullptr)
public:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // 0 = from the contents; negative values are ignored by SetTabHeight. Kept as a field for the forms
    // that set it directly; the layout notices a changed value.
    int TabHeight = 0;
    void SetTabHeight(int Value);

    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value);
    bool ParentBackgroundColor() const { return FParentBackgroundColor; }
    void SetParentBackgroundColor(bool Value);
    bool ShowCloseButton() const { return FShowCloseButton; }
    void SetShowCloseButton(bool Value);
    bool ShowMenuButton() const { return FShowMenuButton; }
    void SetShowMenuButton(bool Value);
    int TabRegionCacheSize() const { return FRegionCache.Capacity(); }
    void SetTabRegionCacheSize(int Value);
    TGwTabColors* TabColors() { return &FTabColors; }
    TGwTextColors* TextColors() { return &FTextColors; }

    int TabIndex() const { return FTabIndex; }
    // Selects a tab; an index outside the list selects none. OnChanging may refuse; OnChange follows.
    virtual void SetTabIndex(int Value);
    int TabCount() const { return FTabList.GetCount(); }
    const TGwTabData& Tab(int Index) const { return *FTabList.GetItem(Index); }
    TGwTabDataList* TabList() { return &FTabList; }
    // The buttons at the end of a single row: the scroller's two halves (the back half scrolls toward
    // the first tab), the close button and the menu button.
    enum TGwTabButton { tbNone = -1, tbScrollBack, tbScrollOn, tbClose, tbMenu };
    TRect ScrollerRect(int Half);
    TRect MenuButtonRect();
    // The button under a client point (only those shown), or tbNone.
    TGwTabButton ButtonAtPos(int X, int Y);
    // The button held down with the pointer still over it, or tbNone.
    TGwTabButton PressedButton() const { return FButtonInside ? FButtonPressed : tbNone; }
    // Fills Menu with one item per visible tab (checked: the current one); a click selects that tab.
    void BuildTabMenu(TPopupMenu* Menu);
    // Pops the tab menu up beside the menu button.
    void DisplayMenu();
    // The held scroller arrow repeats: first after 400 ms, then every 100 ms (0 while none is held).
    void RepeatTimerExpired();
    unsigned RepeatInterval() const;
    // While a tab is dragged outside the control the row scrolls: first after 400 ms, then every
    // 300 ms. The direction for a client point: +1 toward the last tab, -1 toward the first, 0 none.
    int DragScrollDirection(TPoint P);
    void ScrollTimerExpired();
    TRect CloseButtonRect();
    // Tab under a client point, or -1.
    int TabAtPos(int X, int Y);
    int TabAt(int X, int Y) { return TabAtPos(X, Y); }
    // The tab's rectangle in client coordinates (empty for a hidden or unknown tab).
    TRect TabRect(int Index);
    int RowExtent();
    int RowHeight();
    int FirstShownIndex() const { return FFirstIndex; }
    bool ScrollerNeeded();
    bool TabInView(int Index);
    void ScrollTabs(bool Right);
    TRect GetIndexRect();
    TRect GetDisplayRect();
    TRect CalcMappedCardRect(int Row);
    // Shape of a tab in client coordinates, the points of its style in order.
    std::vector<TPoint> CalcMappedTabRegionPts(int Index);
    bool CanSelectTab(int Index);
    bool CanClose();
    void CloseActiveTab();
    void SetCalcNeeded(bool Value);
    static void ParseTextLines(const std::string& Text, std::vector<std::string>& Lines);
    // The part before the accelerator, the accelerator, the rest ("&&" is a plain ampersand).
    static void SplitAccel(const std::string& Text, std::string& Before, std::string& Accel,
                           std::string& After);

    TNotifyEvent OnChange;
    TGwTabChangingEvent OnChanging;
    TGwTabCloseEvent OnClose;
    TGwTabOrderChangeEvent OnTabOrderChange;
    TNotifyEvent OnTabClick;
    TNotifyEvent OnPageChange;
    TGwGetTextColorEvent OnGetTextColor;
    TGwPaintBackgroundEvent OnPaintBackground;
    TGwPaintCardBackgroundEvent OnPaintCardBackground;
    TGwPaintTabBackgroundEvent OnPaintTabBackground;

    // Sets the index without events (the collection's Clear and Delete use it).
    void SetTabIndexField(int Value) { FTabIndex = Value; }
    virtual void Changing(int NewIndex, bool& AllowChange);
    virtual void Change();
    virtual void PageChange();
    virtual void TabClick();
    virtual void TabOrderChange(int OldIndex, int NewIndex);
    virtual TColor GetTextColor(int Index, TGwTextStyle Style, TColor Default);
    // Recalculates the layout and repaints.
    virtual void Rebuild();
    virtual void DestroyActiveTab() {}
    virtual void ActiveTabMoved(int) {}
    virtual void HideAllTabs() {}
    virtual void ShowAllTabs() {}
    virtual void PaintBackground(TCanvas* ACanvas, const TRect& ARect, bool& Handled);
    virtual void PaintCardBackground(TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled);
    virtual void PaintTabBackground(TCanvas* ACanvas, int ATabIndex, const TRect& ARect, bool& Handled);

    // A drop of the control's own drag moves the current tab to the tab under the point.
    void DragDrop(TObject* Source, int X, int Y) override;

    // Paints the whole control onto a canvas of its size (Paint copies this to the screen).
    void PaintTo(TCanvas* C);

protected:
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMDialogChar(TWMKey& Message) override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TWMSize& Message) override;
    void AdjustClientRect(TRect& Rect) override;
    bool FKeyboardSelect = false;

private:
    bool Vertical() const { return FTabOrientation == toLeft || FTabOrientation == toRight; }
    bool VerticalText() const { return FTextOrientation == orVertical; }
    int GetTabOffset(int N) const;
    TSize CalcTextExtent(const std::string& Text, bool Bold);
    TSize CalcFaceExtent(int Index);
    // A tab's extent along its row.
    int TabLength(int Index);
    // The face of a tab in client coordinates.
    TRect CalcTabFaceRect(int Index);
    TSize DefaultFaceExtent();
    // KeepFixed: a positive TabWidth or TabHeight replaces the width or height.
    TSize CalcTabExtentFromTabFaceExtent(TSize Face, bool KeepFixed = true) const;
    int AlongRow(TSize S) const { return Vertical() ? S.cy : S.cx; }
    int AcrossRow(TSize S) const { return Vertical() ? S.cx : S.cy; }
    void CheckCalcNeeded();
    void CalcMetrics();
    int CalcRowCount(int IndexWidth);
    void PlaceTabs(int IndexWidth);
    void JustifyRows(int IndexWidth);
    void BringTabToFrontRow(int Index);
    void ShowTab(int Index);
    void CalcScrollerNeeded();
    void ValidateSelection();
    int IndexHeight();
    int IndexWidth();
    int GetInitialTabOffset();
    int ScrollerSize();
    int CloseButtonSpace();
    int MenuButtonSpace();
    int FirstVisible() const;
    int LastVisible() const;
    TPoint CalcMapPoint(TPoint P);
    TRect CalcMapRect(const TRect& R);
    TRect CalcTabRect(int Index);
    HRGN CalcTabRegion(int Index, const TRect& Mapped);
    int StepSelectable(int From, bool Forward, bool Wrap);
    void SelectFromKeyboard(int Index);
    void StepByKey(WORD Key);
    bool SelectByAccel(char Key);
    void DrawTab(TCanvas* C, int Index);
    void DrawCard(TCanvas* C, int Row);
    void DrawCaption(TCanvas* C, int Index, const TRect& Face);
    TRect FocusRect(const TRect& Face) const;
    void DoTextOut(TCanvas* C, int X, int Y, const std::string& Text, TColor Color);
    void DrawScroller(TCanvas* C);
    void DrawControlButtons(TCanvas* C);
    void DrawButtonFrame(TCanvas* C, const TRect& R, bool Pressed);
    void DrawMoveTabIndicator(TCanvas* C);
    TPoint InwardStep() const;
    void DrawOutline(TCanvas* C, const std::vector<TPoint>& Pts, TColor Color);
    void DrawShadeRun(TCanvas* C, const std::function<TColor(TPoint)>& Under, TPoint From, TPoint To,
                      int Weight);

    TGwTabDataList FTabList;
    TGwTabRegionCache FRegionCache;
    TGwTabColors FTabColors{this};
    TGwTextColors FTextColors{this};
    TColor FBackgroundColor = clBtnFace;
    bool FParentBackgroundColor = true;
    bool FShowCloseButton = false;
    bool FShowMenuButton = false;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FRowHeight = 0;
    int FRowExtent = 1;
    bool FScrollerNeeded = false;
    bool FCalcNeeded = true;
    int FCalcTabHeight = 0;
    int FCalcWidth = -1;
    int FCalcHeight = -1;
    int FPressedIndex = -1;
    int FHotIndex = -1;
    int FDropTarget = -1;
    TGwTabButton FButtonPressed = tbNone;
    bool FButtonInside = false;
    TTimer* FRepeatTimer = nullptr;
    TPopupMenu* FTabMenu = nullptr;
    TTimer* FDragScrollTimer = nullptr;
    TChangeLink FImageChangeLink;
    // Text extents measured, plain and bold, for the font revision and orientation below.
    std::map<std::string, TSize> FExtents[2];
    unsigned FExtentsFontRevision = 0;
    bool FExtentsVertical = false;
};
#undef GW_TAB_PROPERTY

class TGwTabCollectionItem : public TCollectionItem {
public:
    explicit TGwTabCollectionItem(TCollection* ACollection);

    void Assign(TPersistent* Source) override;
    std::string DisplayName() const override;

    const std::string& Caption() const { return FCaption; }
    TColor Color() const { return FColor; }
    int DisabledIndex() const { return FDisabledIndex; }
    bool Enabled() const { return FEnabled; }
    const std::string& Hint() const { return FHint; }
    int ImageIndex() const { return FImageIndex; }
    bool Visible() const { return FVisible; }
    int Tag = 0;

    // Each setter stores a new value and tells the collection, which rebuilds the control; the same
    // value does nothing.
    virtual void SetCaption(const std::string& Value);
    virtual void SetColor(TColor Value);
    virtual void SetDisabledIndex(int Value);
    virtual void SetEnabled(bool Value);
    virtual void SetHint(const std::string& Value);
    virtual void SetImageIndex(int Value);
    virtual void SetVisible(bool Value);

    TGwCollectionTabControl* GetTabControl() const;
    void FillTabData(TGwTabData& Data) const;

private:
    std::string FCaption;
    TColor FColor = clBtnFace;
    int FDisabledIndex = -1;
    bool FEnabled = true;
    std::string FHint;
    int FImageIndex = -1;
    bool FVisible = true;
};

class TGwTabCollection : public TCollection {
public:
    explicit TGwTabCollection(TGwCollectionTabControl* AControl);

    TGwTabCollectionItem* Add();
    TGwTabCollectionItem* Insert(int Index);
    // Removes the item and keeps the control on the same tab.
    void Delete(int Index);
    // Removes every item; the control's TabIndex becomes -1 without a change event.
    void Clear();
    void Move(int CurIndex, int NewIndex);
    TGwTabCollectionItem* GetItem(int Index) const override;
    void SetItem(int Index, TCollectionItem* Value) override;
    TGwCollectionTabControl* GetOwner() const { return FControl; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TGwCollectionTabControl* FControl;
};

class TGwCollectionTabControl : public TGwCustomTabControl {
public:
    explicit TGwCollectionTabControl(TComponent* AOwner);
    ~TGwCollectionTabControl() override;

    TGwTabCollection* GetTabCollection() const { return FTabs; }
    void SetTabCollection(TGwTabCollection* Value);
    void HideAllTabs() override;
    void ShowAllTabs() override;
    void DestroyActiveTab() override;
    void ActiveTabMoved(int NewIndex) override;
    void Rebuild() override;

private:
    TGwTabCollection* FTabs;
};

// The same control as the program's forms place it.
class TGwTabControl : public TGwCollectionTabControl {
public:
    using TGwCollectionTabControl::TGwCollectionTabControl;
};
