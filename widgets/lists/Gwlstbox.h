// The Gw widget library's list boxes (widget layer, lists): the framed list box with type-to-find,
// item hints and group headers; the tabbed list box with its tab stops; the edit, rank and font
// list boxes.
#pragma once

#include <memory>
#include <string>

#include "Gwfontsvc.h"
#include "Gwframing.h"
#include "Gwintlst.h"
#include "stdctrls.h"
#include "timers.h"

class TGwCustomTabbedListBox;

using TGwOwnerDrawEvent = TDrawItemEvent;

// ---- list box -----------------------------------------------------------------------------------

class TGwCustomListBox : public TGwFramedBase<TCustomListBox> {
public:
    explicit TGwCustomListBox(TComponent* AOwner);
    ~TGwCustomListBox() override;

    // The items. Every change goes through the list box's messages, so WndProc sees it.
    TStrings* Items() const { return GetItems(); }
    void SetItems(TStrings* Value) { GetItems()->Assign(Value); }

    int Count() const { return Items()->Count(); }
    void Clear() { Items()->Clear(); }
    // The text of the current item ("" without one; a multi-select box needs a selection too).
    std::string SelectedItem() const;
    int Add(const std::string& S) { return Items()->Add(S); }
    int AddObject(const std::string& S, TObject* Obj) { return Items()->AddObject(S, Obj); }
    void Insert(int Index, const std::string& S) { Items()->Insert(Index, S); }
    void InsertObject(int Index, const std::string& S, TObject* Obj) { Items()->InsertObject(Index, S, Obj); }
    int IndexOf(const std::string& S) const { return Items()->IndexOf(S); }
    // Selects S when it is there.
    bool FindItem(const std::string& S);
    // Deletes the item; the selection stays at the same index (the last one when it was past).
    void Delete(int Index);
    void SelectAll();
    void UnselectAll();
    void DeleteSelectedItems();
    void ClearSearchString() { FSearchText.clear(); }
    std::string SearchText() const { return FSearchText; }

    // Group headers: items whose text begins with GroupPrefix. Group numbers count headers from 0.
    int AddGroup(const std::string& Caption) { return Items()->Add(FGroupPrefix + Caption); }
    int ItemsInGroup(int GroupIndex) const;
    int ItemIndexOfGroup(int GroupIndex) const;
    int InsertItemIntoGroup(int GroupIndex, int Index, const std::string& S);
    int AddItemToGroup(int GroupIndex, const std::string& S) {
        return InsertItemIntoGroup(GroupIndex, ItemsInGroup(GroupIndex), S);
    }
    void ItemToGroup(int Index);
    void GroupToItem(int Index);
    std::string ItemCaption(int Index) const;
    bool ItemIsGroup(int Index) const { return GetItemIsGroup(Index); }
    virtual int ItemGroupIndex(int Index) const;
    virtual int GroupIndexOfItem(int Index) const;
    virtual bool ItemInsideGroup(int Index) const { return ItemGroupIndex(Index) != -1; }

    bool BeepOnInvalidKey = true;
    bool IncrementalSearch = true;
    bool ShowItemHints = true;
    bool TabOnEnter = false;

    void SetFrameHotTrack(bool Value) override;
    void SetFrameVisible(bool Value) override;
    // Whether a framing property is written to a form: not while the controller governs it.
    bool FramingStored(TGwFrameControllerProperty Property) const { return FFraming.Stored(Property); }

    int HorzExtent() const { return FHorzExtent; }
    virtual void SetHorzExtent(int Value);
    bool HorzScrollBar() const { return FHorzScrollBar; }
    virtual void SetHorzScrollBar(bool Value);
    int OwnerDrawIndent() const { return FOwnerDrawIndent; }
    virtual void SetOwnerDrawIndent(int Value);
    std::string GroupPrefix() const { return FGroupPrefix; }
    virtual void SetGroupPrefix(const std::string& Value);
    TColor GroupColor() const { return FGroupColor; }
    virtual void SetGroupColor(TColor Value);
    TFont* GroupFont() const { return FGroupFont.get(); }
    virtual void SetGroupFont(const TFont* Value) { FGroupFont->Assign(*Value); }
    bool GroupFontChangedFlag() const { return FGroupFontChanged; }
    bool UseGradients() const { return FUseGradients; }
    virtual void SetUseGradients(bool Value);
    bool ShowGroups() const { return FShowGroups; }
    virtual void SetShowGroups(bool Value);

    TNotifyEvent OnDeleteItems;
    TNotifyEvent OnMatch;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void UpdateColors() { FFraming.UpdateColors(); }
    virtual void UpdateFrame(bool ViaMouse, bool InFocus) { FFraming.UpdateFrame(ViaMouse, InFocus); }
    virtual void RepaintFrame();
    virtual int OwnerDrawItemIndent() const { return FOwnerDrawIndent; }
    virtual void UpdateItemHeight();
    virtual void GroupFontChanged() {}
    virtual int FindClosest(const std::string& S);
    virtual void DrawListItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void DrawGroup(int Index, TRect Rect, TOwnerDrawState State);
    virtual TStrings* GetItems() const { return FGwItems.get(); }
    virtual bool GetItemIsGroup(int Index) const;
    virtual void AdjustHorzExtent();
    virtual void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void Match();
    virtual void DoDeleteItems();

    // Owner-drawn rows: groups and indent as the list box's own drawing does them.
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Resize() override;
    void Dispatch(TMessage& Message) override;
    void WMChar(TWMKey& Message) override;
    void WMKeyDown(TWMKey& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;
    void WMSize(TWMSize& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMParentColorChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;

    // Runs the form's key preview and KeyPress for a character message; false when it was eaten.
    bool DoKeyPress(TWMKey& Message);
    // The search timer, reset after each typed character.
    TTimer* SearchTimer() const { return FSearchTimer.get(); }
    void SearchTimerFired(TObject* Sender);
    bool Loading() const { return ComponentState().Contains(csLoading); }
    void DoHint(int X, int Y);
    void ReleaseHintWindow();
    THintWindow* HintWindow() const { return FHintWindow; }
    // Text at a vertical offset of (ItemHeight - height of "Pp") / 2 in the rectangle.
    int TextTop(const TRect& Rect);
    // A header's font and background: highlight, gradient into the box's colour, or its fill.
    void PaintGroupBackground(TRect Rect, TOwnerDrawState State, bool Themed);

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override { RecreateWnd(); }
    bool FramingFocused() const override;

private:
    void Search(const std::string& Text, TWMKey& Message);
    void InvalidKey();
    void ParentColorFollows();

    std::unique_ptr<TStrings> FGwItems;
    std::unique_ptr<TTimer> FSearchTimer;
    std::unique_ptr<TFont> FGroupFont;
    THintWindow* FHintWindow = nullptr;
    std::string FSearchText;
    std::string FGroupPrefix = "//";
    TColor FGroupColor = clInactiveCaptionText;
    int FHorzExtent = 0;
    int FOwnerDrawIndent = 0;
    bool FHorzScrollBar = false;
    bool FUseGradients = true;
    bool FShowGroups = false;
    bool FProcessingChar = false;
    bool FGroupFontChanged = false;
    bool FFocused = false;
};

class TGwListBox : public TGwCustomListBox {
public:
    explicit TGwListBox(TComponent* AOwner) : TGwCustomListBox(AOwner) {}
};

// ---- tabbed list box ----------------------------------------------------------------------------

class EHeaderError : public Exception {
    using Exception::Exception;
};

enum TGwTabStopsMode { tsmManual, tsmAutomatic };

// Stops in average character widths from the item's left edge; a negative stop right-aligns its
// column. Every change is passed to the owning list box.
class TGwTabStopList : public TGwIntegerList {
public:
    explicit TGwTabStopList(TGwCustomTabbedListBox* Owner);
    void SetItem(int Index, int Value) override;
    int Add(int Value) override;
    void Delete(int Index) override;
    void Insert(int Index, int Value) override;

private:
    void Changed();
    TGwCustomTabbedListBox* FOwner;
};

inline constexpr int MaxTabStops = 1000;

class TGwCustomTabbedListBox : public TGwCustomListBox {
public:
    explicit TGwCustomTabbedListBox(TComponent* AOwner);
    ~TGwCustomTabbedListBox() override;

    TGwTabStopList* TabStops() const { return FTabStops.get(); }
    virtual void SetTabStops(const TGwIntegerList* Value);
    TGwTabStopsMode TabStopsMode() const { return FTabStopsMode; }
    virtual void SetTabStopsMode(TGwTabStopsMode Value);
    // Stops as dialog units (stop x 4), at most MaxTabStops of them.
    virtual void GetTabArray(int& Count, int* Array) const;
    // Sends the stops to the list box and repaints.
    void UpdateTabStops();
    // Field Column (from 0) of item Row. A bad row or column raises EListError.
    virtual std::string GetCellText(int Column, int Row) const;
    virtual void SetCellText(int Column, int Row, const std::string& Text);
    // Stops from the widest field of each column (automatic mode).
    virtual void AdjustTabStops();
    // Stops at the header control's section edges; any other control raises EHeaderError.
    virtual void UpdateFromHeader(TControl* Header);
    int AvgCharWidth() const { return FAvgCharWidth; }

protected:
    virtual int InitialTabStopOffset() { return 0; }
    void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void DrawGroup(int Index, TRect Rect, TOwnerDrawState State) override;
    void GroupFontChanged() override;
    void AdjustHorzExtent() override;
    void CreateWnd() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    // The stops in pixels, as the item drawing expands tabs.
    std::vector<int> PixelStops() const;

private:
    std::unique_ptr<TGwTabStopList> FTabStops;
    TGwTabStopsMode FTabStopsMode = tsmManual;
    int FAvgCharWidth = 6;
};

class TGwTabbedListBox : public TGwCustomTabbedListBox {
public:
    explicit TGwTabbedListBox(TComponent* AOwner) : TGwCustomTabbedListBox(AOwner) {}
};

// ---- edit list box ------------------------------------------------------------------------------

class TGwEditListBox;

// The borderless editor over an item: Enter keeps the text, Esc drops it, Tab and Down are eaten;
// losing the focus keeps it.
class TGwPopupEdit : public TCustomEdit {
public:
    TGwPopupEdit(TComponent* AOwner, TGwEditListBox* ListBox);

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void WMCancelMode(TMessage& Message) override;

private:
    TGwEditListBox* FListBox;
};

using TGwShowingEditorEvent = std::function<void(TObject* Sender, int Index, bool& Allow)>;
using TGwSizeEditRectEvent = std::function<void(TObject* Sender, int Index, TRect& Rect)>;
using TGwItemChangedEvent = std::function<void(TObject* Sender, int Index)>;

inline constexpr unsigned EditClickDelay = 400; // ms from a second click to the editor

class TGwEditListBox : public TGwListBox {
public:
    explicit TGwEditListBox(TComponent* AOwner);
    ~TGwEditListBox() override;

    // Edits the caret item in place (nothing without items or when OnShowingEditor refuses).
    void ShowEditor();
    // Closes the editor; Accept takes its text into the item.
    void HideEditor(bool Accept);
    bool PopupVisible() const { return FEditing; }
    TGwPopupEdit* Editor() const { return FEditor; }

    bool AllowEdit = true;
    bool AllowDeleteByKbd = false;
    TGwShowingEditorEvent OnShowingEditor;
    TGwSizeEditRectEvent OnSizeEditRect;
    TNotifyEvent OnHidingEditor;
    TGwItemChangedEvent OnItemChanged;

protected:
    virtual void DoShowingEditor(int Index, bool& Allow);
    virtual void SizeEditRect(int Index, TRect& Rect);
    virtual void DoHidingEditor();
    virtual void ItemChanged(int Index);
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void CMEnter(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The second-click timer: a second click on the same item opens the editor when it fires.
    TTimer* ClickTimer() const { return FClickTimer.get(); }
    void ClickTimerFired(TObject* Sender);

private:
    TGwPopupEdit* FEditor;
    std::unique_ptr<TTimer> FClickTimer;
    int FEditIndex = -1;
    int FLastClick = -1;
    bool FSecondClick = false;
    bool FJustFocused = false;
    bool FEditing = false;
};

// ---- rank list box ------------------------------------------------------------------------------

enum TGwModifierKey { mkShift, mkNone };
using TGwMoveItemEvent = std::function<void(TObject* Sender, int OldIndex, int NewIndex)>;

// Items reordered by dragging (with the modifier key held) or by Shift with Up, Down, Home, End.
class TGwRankListBox : public TGwListBox {
public:
    explicit TGwRankListBox(TComponent* AOwner);

    void MoveItem(int OldIndex, int NewIndex);
    bool MoveOnDrag() const { return FMoveOnDrag; }
    // Refused (Exception) while an item is being dragged.
    void SetMoveOnDrag(bool Value);
    bool Dragging() const { return FDragging; }

    TGwModifierKey ModifierKey = mkShift;
    TGwMoveItemEvent OnMoveItem;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    int FDragIndex = -1;
    TCursor FSavedCursor = crDefault;
    bool FDragging = false;
    bool FMoveOnDrag = true;
};

// ---- font list box ------------------------------------------------------------------------------

// The screen's font faces with type marks, drawn by name, in their own face or both, with a
// floating preview and the recently used faces kept at the top.
class TGwFontListBox : public TGwCustomListBox {
public:
    explicit TGwFontListBox(TComponent* AOwner);
    ~TGwFontListBox() override;

    TGwFontDevice FontDevice() const { return FFontDevice; }
    void SetFontDevice(TGwFontDevice Value);
    TGwFontType FontType() const { return FFontType; }
    void SetFontType(TGwFontType Value);
    bool ShowSymbolFonts() const { return FShowSymbolFonts; }
    void SetShowSymbolFonts(bool Value);
    TGwShowStyle ShowStyle() const { return FShowStyle; }
    void SetShowStyle(TGwShowStyle Value);
    // The selected face ("" without a selection); setting selects it (none when absent).
    std::string FontName() const;
    void SetFontName(const std::string& Value) { SetItemIndex(Items()->IndexOf(Value)); }
    // The selected face at FontSize and FontStyle (owned by the box), or null without a selection.
    TFont* SelectedFont();
    void SetSelectedFont(const TFont* Value);
    TCustomEdit* PreviewEdit() const { return FPreviewEdit; }
    void SetPreviewEdit(TCustomEdit* Value);
    TGwPreviewFontPanel* PreviewPanel() const { return FPreview; }
    bool PreviewShown() const { return FPreviewShown; }
    // The last index of the recently used faces at the top (-1: none).
    int MRUIndex() const { return FMRUIndex; }

    // Puts the selected face at the top of the recently used faces and selects it.
    void AddFontToMRUList();
    void LoadFonts();
    void ShowPreviewPanel();
    void HidePreviewPanel();
    void UpdatePreviewText();

    int FontSize = 8;
    TFontStyles FontStyle;
    bool MaintainMRUFonts = false;
    std::string PreviewText;
    int PreviewFontSize = 36;
    int PreviewWidth = 260;
    int PreviewHeight = 65;

protected:
    void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TFont> FSelectedFont;
    TGwFontMarks FMarks;
    TGwPreviewFontPanel* FPreview = nullptr;
    TCustomEdit* FPreviewEdit = nullptr;
    std::string FSavedName;
    TGwFontDevice FFontDevice = fdScreen;
    TGwFontType FFontType = ftAll;
    TGwShowStyle FShowStyle = ssFontName;
    int FMRUIndex = -1;
    bool FShowSymbolFonts = true;
    bool FPreviewShown = false;
};
