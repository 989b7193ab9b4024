// Standard controls of the GUI core: edit, memo, combo and list boxes, button, check and radio boxes,
// group box, scroll bar (Qt widgets, their signals the Windows notifications); the label (parent-drawn).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls.h"

class TQtString;
struct TNativeControlQt;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
struct TOwnerDrawQt;

// Base of the controls that wrap a Qt widget. The widget lives as long as the control; a handle
// shows it and gives it back before the handle goes. A lazy control makes its widget late
// (CreateWidget, through WidgetNeeded: on the handle's first need or the first request its fields
// cannot answer) and keeps its state only in its own fields: making the widget pushes the fields
// into it, and the widget's signals write the user's changes back, ignored while the control pushes.
class TNativeControl : public TWinControl {
public:
    explicit TNativeControl(TComponent* AOwner);
    ~TNativeControl() override;

    // Makes the wrapped widget now if it is made late and not made yet.
    void WidgetNeeded();
    // Whether the wrapped widget is made (and Qt has not deleted it since): the one question the
    // controls ask before they reach it.
    bool WidgetMade() const;

protected:
    // Makes the widget (through SetWidget) and hands it what was set before; called once, by
    // WidgetNeeded. The controls that make their widget in their constructor leave it empty.
    virtual void CreateWidget() {}
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    // Sends a notification through the message path, as the control's parent window would
    // reflect it (CN_COMMAND with the code in the high word).
    void Notify(WORD code);
    // True while a value is being pushed into the widget: its signals are not user changes.
    bool FSyncing = false;

private:
    // The wrapped widget and its accessors (stdctrls/internal/stdctrls_qt.h).
    friend struct TNativeControlQt;
    void TakeWidgetBack();
    std::unique_ptr<TNativeControlQt> FQt;
};

// ---- edits ---------------------------------------------------------------------------------------

class TCustomEdit : public TNativeControl {
public:
    explicit TCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner, false) {}
    ~TCustomEdit() override;

    int MaxLength() const;
    void SetMaxLength(int v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    bool Modified() const;
    void SetModified(bool v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char v);
    bool AutoSelect = true;

    // Positions count CP1251 characters; line ends of a memo count as CR LF.
    int SelStart();
    void SetSelStart(int v);
    int SelLength();
    void SetSelLength(int v);
    std::string SelText();
    void SetSelText(const std::string& v);
    void SelectAll();
    void ClearSelection();
    void Clear();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool CanUndo();
    void Undo();

    TNotifyEvent OnChange;

protected:
    // A memo makes its own widget; a single-line edit gets a line editor here.
    TCustomEdit(TComponent* AOwner, bool multiLine);
    virtual void Change();
    std::string GetText() const override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    // The clipboard keys become WM_CUT, WM_COPY and WM_PASTE, as a Windows edit sends them to
    // itself; other keys reach the editor when EditorTakesKey lets them.
    void DefaultHandler(TMessage& Message) override;
    // Whether the editor's own handling may see a key down that no handler took.
    virtual bool EditorTakesKey(WORD Key, TShiftState Shift);
    // The Windows edit's own menu at a screen point; its commands come back as messages.
    void ShowEditMenu(int X, int Y);
    void CMTextChanged(TMessage& Message) override;
    void DoEnter() override;
    // ES_LEFT, ES_CENTER or ES_RIGHT of the window style as the editor's alignment.
    void ApplyAlignment();

    // The editor operations both widgets offer. Text and positions are as Windows has them: a
    // memo's line ends are CR LF.
    virtual TQtString EditorText() const;
    virtual void SetEditorText(const TQtString& s);
    virtual void GetSel(int& start, int& end) const;
    // start -1 removes the selection; end -1 selects to the end.
    virtual void SetSel(int start, int end);
    virtual void ReplaceSel(const TQtString& s);
    virtual void EditorSetReadOnly(bool v);
    virtual bool EditorReadOnly() const;
    virtual bool EditorModified() const;
    virtual void EditorSetModified(bool v);
    virtual void EditorUndo();
    virtual bool EditorCanUndo() const;
    // A single-line edit makes its line editor when it is first needed.
    void CreateWidget() override;

private:
    // A single-line edit's state: its line editor, once made, shows it and the user's changes come
    // back here (a memo keeps only the read-only flag; its editor holds the rest).
    void TakeEditorState();
    std::u16string FText;
    // The selection in UTF-16 positions, start <= end; equal: the caret.
    int FSelStart = 0, FSelEnd = 0;
    bool FReadOnly = false, FModified = false;
    // Set while the edit pushes its fields into the editor: the editor's signals are its echo.
    bool FPushing = false;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    char FPasswordChar = 0;
    int FMaxLength = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo;

// The lines of a memo, read and written straight in its widget.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    int GetCount() const override;
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    int Add(const std::string& S) override;

private:
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* v) { FLines->Assign(v); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool WantReturns = true;
    bool WantTabs = false;

protected:
    TQtString EditorText() const override;
    void SetEditorText(const TQtString& s) override;
    void GetSel(int& start, int& end) const override;
    void SetSel(int start, int end) override;
    void ReplaceSel(const TQtString& s) override;
    void EditorSetReadOnly(bool v) override;
    bool EditorReadOnly() const override;
    bool EditorModified() const override;
    void EditorSetModified(bool v) override;
    void EditorUndo() override;
    bool EditorCanUndo() const override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    // The editor is made when the handle is first needed, or by the first text, line, selection or
    // view request: until then the memo is empty.
    void CreateWidget() override;

private:
    friend class TMemoStrings;
    // Windows position <-> Qt position: each line end is CR LF in one, one separator in the other.
    int ToWin(int qtPos) const;
    int FromWin(int winPos) const;
    void ViewMessage(TMessage& Message);
    void UpdateWrap();
    std::unique_ptr<TMemoStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// ---- combo box -----------------------------------------------------------------------------------

// The items of a combo or list box: texts with their objects, in the box's rows. Each change is made
// in the rows first; the box then follows it (its choice, its widget once made).
class TItemStrings : public TStrings {
public:
    using TRows = std::vector<std::pair<std::string, TObject*>>;
    explicit TItemStrings(TRows& rows) : FRows(rows) {}
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int GetCount() const override;
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    // In a sorted box, before the first item that sorts after S.
    int Add(const std::string& S) override;

protected:
    virtual bool Sorted() const = 0;
    virtual void RowPut(int Index) = 0;
    virtual void RowsCleared() = 0;
    virtual void RowDeleted(int Index) = 0;
    virtual void RowInserted(int Index) = 0;
    TRows& FRows;

private:
    void CheckIndex(int Index, int Count) const;
};

class TCustomComboBox;

// The items of a combo box, kept by the box and mirrored into its widget.
class TComboBoxStrings : public TItemStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* combo);

protected:
    bool Sorted() const override;
    void RowPut(int Index) override;
    void RowsCleared() override;
    void RowDeleted(int Index) override;
    void RowInserted(int Index) override;

private:
    TCustomComboBox* FCombo;
};

class TCustomComboBox : public TNativeControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* v) { FItems->Assign(v); }
    // Selecting from code raises no event.
    int ItemIndex() const;
    void SetItemIndex(int v);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    int SelStart();
    void SetSelStart(int v);
    int SelLength();
    void SetSelLength(int v);
    std::string SelText();
    void SelectAll();
    void Clear();

    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int v);
    // The canvas OnDrawItem paints on (owner-draw styles).
    TCanvas* Canvas() const { return FCanvas.get(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    std::string GetText() const override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CreateWidget() override;

private:
    friend class TComboBoxStrings;
    friend struct TOwnerDrawQt;
    int FindString(const std::string& s, int after, bool exact) const;
    void UpdateDelegate();
    void ApplyStyle();
    // The edit's text as the edit keeps it: at most MaxLength characters.
    void SetEditText(const std::string& s);
    // Pushes the choice and the edit's text into the widget, when there is one.
    void PushChoice();
    // The box's state; the widget, once made, mirrors it and the user's changes come back here.
    TItemStrings::TRows FRows;
    int FItemIndex = -1;
    // The edit's text (editable styles); a list-only box shows its chosen item.
    std::string FText;
    std::unique_ptr<TComboBoxStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    int FDropDownWidth = 0;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FItemHeight = 16;
    int FMaxLength = 0;
    bool FSorted = false;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// ---- list box -----------------------------------------------------------------------------------

class TCustomListBox;

// The items of a list box, kept by the box and mirrored into its list.
class TListBoxStrings : public TItemStrings {
public:
    explicit TListBoxStrings(TCustomListBox* list);

protected:
    bool Sorted() const override;
    void RowPut(int Index) override;
    void RowsCleared() override;
    void RowDeleted(int Index) override;
    void RowInserted(int Index) override;

private:
    TCustomListBox* FList;
};

class TCustomListBox : public TNativeControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* v) { FItems->Assign(v); }
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle v);
    // Selecting from code raises no event.
    int ItemIndex() const;
    void SetItemIndex(int v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool v);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool v);
    int SelCount() const;
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int TopIndex() const;
    void SetTopIndex(int v);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    // Index of the item at a client point: -1 (Existing) or the count past the last item.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    TRect ItemRect(int Index) const;
    TCanvas* Canvas() const { return FCanvas.get(); }
    void Clear() { FItems->Clear(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // The messages the list box answers itself, in the order of its message table; the others go
    // on to the native control.
    static std::vector<UINT> OwnMessages();

protected:
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    // The list is made when the handle is first needed, or by a request the kept items cannot
    // answer (a choice, the view's geometry, variable rows).
    void CreateWidget() override;

private:
    friend class TListBoxStrings;
    friend struct TOwnerDrawQt;
    struct TMessageTable; // listbox.cpp
    void UpdateSelectionMode();
    void Measure(int Index);
    int FindString(const std::string& s, int after, bool exact) const;
    // The items with their objects; the list, once made, shows the texts.
    TItemStrings::TRows FRows;
    std::unique_ptr<TListBoxStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    std::vector<int> FTabStops; // dialog units
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    int FHorizontalExtent = 0;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---- buttons -------------------------------------------------------------------------------------

class TButton : public TNativeControl {
public:
    explicit TButton(TComponent* AOwner);
    ~TButton() override;

    TModalResult ModalResult = mrNone;
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel = false;
    // Presses the button: OnClick, then the form's ModalResult when this button sets one.
    void Click() override;

protected:
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogKey(TWMKey& Message) override;
    // The buttons make their Qt button when their handle is first needed.
    void CreateWidget() override;

private:
    bool FDefault = false;
};

class TCheckBox : public TNativeControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    ~TCheckBox() override;

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    // A change of state clicks the box (OnClick), whether the user or the program made it.
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool AllowGrayed = false;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);

protected:
    // The user's click: unchecked -> checked (or grayed when allowed) -> unchecked; grayed -> checked.
    virtual void Toggle();
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CreateWidget() override;

private:
    TCheckBoxState FState = cbUnchecked;
    // Whether the Qt box takes a third state: as the last state set asked.
    bool FTristate = false;
    TAlignment FAlignment = taRightJustify;
};

// A radio button: checking it unchecks the other radio buttons of its parent, and clicks it.
class TRadioButton : public TNativeControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    ~TRadioButton() override;
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);

protected:
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CreateWidget() override;

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

// A captioned, etched frame around child controls; drawn by the layer.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---- label ---------------------------------------------------------------------------------------

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    // The control its accelerator focuses; forgotten when that control goes.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    // Draws (or with DT_CALCRECT measures) the caption in Rect with the label's flags.
    void DoDrawText(TRect& Rect, unsigned Flags);
    void AdjustBounds();
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMParentFontChanged(TMessage& Message) override;

private:
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

// ---- scroll bar ----------------------------------------------------------------------------------

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;
using TScrollBarInc = short;

// A scroll-bar control: the bar reports the user's actions to its parent as WM_HSCROLL / WM_VSCROLL,
// which reflects them back as CN_HSCROLL / CN_VSCROLL; the control moves its Position by
// SmallChange, LargeChange or to the thumb, tells OnScroll (which may change the place), then
// OnChange.
class TScrollBar : public TNativeControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    ~TScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind v);
    int Min() const { return FMin; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    int Max() const { return FMax; }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    int Position() const { return FPosition; }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    TScrollBarInc SmallChange() const { return FSmallChange; }
    void SetSmallChange(TScrollBarInc v) { FSmallChange = v; }
    TScrollBarInc LargeChange() const { return FLargeChange; }
    void SetLargeChange(TScrollBarInc v) { FLargeChange = v; }
    // Sets all three at once; Max below Min is refused.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    virtual void Change();

private:
    void DoScroll(TWMScroll& Message);
    void PushToHandle();
    // The last place the thumb may take: Max, less the page beyond the first line.
    int Top() const { return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax; }

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    TScrollBarInc FSmallChange = 1, FLargeChange = 1;
};
