// Combo boxes of the Gw widget library (combos family, over the platform combo box): the base with
// type-to-find, auto-completion, read-only mode, state colours and the flat frame; the standard
// combo with a value per item; the colour, font, history and image combo boxes.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "Gwfontsvc.h"
#include "Gwframing.h"
#include "Gwsettings.h"
#include "dialogs.h"
#include "extctrls.h"
#include "menus.h"
#include "stdctrls.h"
#include "timers.h"

using TGwDeleteComboItemEvent = std::function<void(TObject* Sender, void* ItemData)>;

class TGwCustomComboBox : public TGwFramedBase<TCustomComboBox> {
public:
    explicit TGwCustomComboBox(TComponent* AOwner);
    ~TGwCustomComboBox() override;

    // Item operations forwarded to Items.
    int Add(const std::string& S) { return Items()->Add(S); }
    int AddObject(const std::string& S, TObject* Obj) { return Items()->AddObject(S, Obj); }
    // Removes one item; an item with data is first handed to DeleteItem.
    void Delete(int Index);
    void ClearItems();
    virtual int IndexOf(const std::string& S) const { return Items()->IndexOf(S); }
    void Insert(int Index, const std::string& S) { Items()->Insert(Index, S); }
    void InsertObject(int Index, const std::string& S, TObject* Obj) { Items()->InsertObject(Index, S, Obj); }
    int Count() const { return Items()->Count(); }
    // Whole-text match, selected when found.
    bool FindItem(const std::string& S);
    // Prefix match, selected when found.
    bool FindClosestItem(const std::string& S);
    // First item starting with S (case-insensitive), or -1.
    virtual int FindClosest(const std::string& S);
    // Sets Text without auto-completion.
    virtual void ForceText(const std::string& S);

    bool AutoComplete = true;
    bool AllowEdit = true;
    bool BeepOnInvalidKey = true;
    bool KeepSearchCase = false;
    bool TabOnEnter = false;
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value);
    // The text typed so far for type-to-find and auto-completion.
    const std::string& SearchText() const { return FSearch; }
    TTimer* SearchTimer() const { return FSearchTimer; }

    TColor ReadOnlyColor() const { return FFraming.ReadOnlyColor(); }
    virtual void SetReadOnlyColor(TColor Value) { FFraming.SetReadOnlyColor(Value); }
    bool ReadOnlyColorOnFocus() const { return FFraming.ReadOnlyColorOnFocus(); }
    void SetReadOnlyColorOnFocus(bool Value) { FFraming.SetReadOnlyColorOnFocus(Value); }
    bool FlatButtons() const { return FFraming.FlatButtons(); }
    virtual void SetFlatButtons(bool Value) { FFraming.SetFlatButtons(Value); }
    TColor FlatButtonColor() const { return FFraming.FlatButtonColor(); }
    virtual void SetFlatButtonColor(TColor Value) { FFraming.SetFlatButtonColor(Value); }
    virtual void SetDropDownWidth(int Value);

    // The look drawn over the platform's combo box: the frame, the covered 3-D border and the
    // flat or read-only button strip.
    void PaintOverlay(TCanvas* Canvas);

    TGwDeleteComboItemEvent OnDeleteItem;
    TNotifyEvent OnMatch;
    TNotifyEvent OnNotInList;
    TNotifyEvent OnSelEndCancel;
    TNotifyEvent OnSelEndOk;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void UpdateColors() { FFraming.UpdateColors(); }
    virtual void UpdateFrame(bool ViaMouse, bool Value);
    virtual void InvalidKeyPressed();
    // List-only search: select the first item starting with S; Key is the key that made S.
    virtual void UpdateIndex(const std::string& S, char Key);
    // Completes the edit text from the first item starting with S; false when none does.
    virtual bool FindListItem(const std::string& S, char Key);
    virtual void DeleteItem(void* ItemData);
    virtual void SelEndOk();
    virtual void SelEndCancel();
    virtual void NotInList();
    virtual void Match();
    void CloseUp() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMKeyDown(TWMKey& Message) override;
    void WMChar(TWMKey& Message) override;
    void WMLButtonDown(TWMMouse& Message) override;
    void WMLButtonDblClk(TWMMouse& Message) override;
    void WMPaint(TWMPaint& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool ListOnly() const { return Style() == csDropDownList || Style() >= csOwnerDrawFixed; }
    // Sets the edit text as the control's own change (no auto-completion).
    void SetTextQuietly(const std::string& S);
    void SetEditSel(int Start, int End);
    // While set, selected items get no focus border (the image combo box clears it).
    bool FShowFocusBorder = true;
    bool FTextSetting = false;

    // IGwFramingHost
    void FramingRepaintFrame() override { Invalidate(); }
    void FramingRecreateWindow() override;
    bool FramingFocused() const override { return FFocused; }
    bool FramingReadOnly() const override { return FReadOnly; }
    void FramingButtonsChanged() override { Invalidate(); }

private:
    void SearchTimerExpired(TObject* Sender);
    void RestartSearchTimer();
    void ClearSearch() { FSearch.clear(); }
    void KeyPressed(char Key);
    bool ListOnlyKeyPress(char& Key);
    bool EditKeyPress(char& Key);
    void EditBackspace(char& Key);
    void PostTab();
    void EditCommand(UINT Msg);

    TTimer* FSearchTimer;
    std::string FSearch;
    bool FTimerBusy = false;
    bool FReadOnly = false;
    bool FEnterPressed = false;
    bool FFocused = false;
    // A paste or cut from the keyboard runs the completion once the platform has done it.
    bool FCompleteAfterKey = false;
};

// The standard combo box: a second list gives each item a value.
class TGwComboBox : public TGwCustomComboBox {
public:
    explicit TGwComboBox(TComponent* AOwner);
    ~TGwComboBox() override;

    TStrings* Values() const { return FValues.get(); }
    virtual void SetValues(TStrings* Strings) { FValues->Assign(Strings); }
    // The item's value, else its text, else empty.
    virtual std::string GetItemValue(int Index) const;
    std::string ItemValue(int Index) const { return GetItemValue(Index); }
    virtual std::string GetValue() const;
    std::string Value() const { return GetValue(); }
    virtual void SetValue(const std::string& S);
    void AddItemValue(const std::string& Item, const std::string& Value);
    void InsertItemValue(int Index, const std::string& Item, const std::string& Value);
    void ClearItemsValues();

protected:
    void Change() override;
    void Click() override;

private:
    void ValuesChangedHandler(TObject* Sender);
    void SyncValue();
    std::unique_ptr<TStringList> FValues;
    std::string FValue;
    bool FValueSetting = false;
    bool FValuesChanging = false;
};

// ---- colour combo box ------------------------------------------------------------------------------

class TGwColorComboBox;

// Display names of the colour combo box's entries; a change renames the item at once.
class TGwColorNames : public TPersistent {
public:
    explicit TGwColorNames(TGwColorComboBox* Owner);
    void Assign(TPersistent* Source) override;

    const std::string& DefaultColor() const { return FDefault; }
    void SetDefaultColor(const std::string& Value);
    const std::string& CustomColor() const { return FCustom; }
    void SetCustomColor(const std::string& Value);
    const std::string& GetStdColor(int Index) const { return FStd.at(Index); }
    void SetStdColor(int Index, const std::string& Value);
    const std::string& GetSysColor(int Index) const { return FSys.at(Index); }
    void SetSysColor(int Index, const std::string& Value);

    bool ShowSysColors = true;
    bool ShowDefault = true;
    bool ShowCustom = true;

private:
    void Rename(int Index, const std::string& Value);
    TGwColorComboBox* FOwner;
    std::string FDefault;
    std::string FCustom;
    std::array<std::string, 16> FStd;
    std::array<std::string, 25> FSys;
};

class TGwColorComboBox : public TGwCustomComboBox {
public:
    explicit TGwColorComboBox(TComponent* AOwner);
    ~TGwColorComboBox() override;

    TGwColorNames* ColorNames() const { return FColorNames.get(); }
    void SetColorNames(TGwColorNames* Value) { FColorNames->Assign(Value); }
    TColor SelectedColor() const;
    void SetSelectedColor(TColor Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TColor CustomColor() const { return FCustomColor; }
    void SetCustomColor(TColor Value);
    bool ShowSysColors() const { return FShowSysColors; }
    void SetShowSysColors(bool Value);
    bool ShowDefaultColor() const { return FShowDefaultColor; }
    void SetShowDefaultColor(bool Value);
    bool ShowCustomColor() const { return FShowCustomColor; }
    void SetShowCustomColor(bool Value);
    bool ShowColorNames() const { return FShowColorNames; }
    void SetShowColorNames(bool Value);
    TStrings* CustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
    TColorDialogOptions ColorDlgOptions{cdFullOpen};
    TGwRegIniFile* RegIniFile() const { return FRegIniFile; }
    void SetRegIniFile(TGwRegIniFile* Value);

    TColor GetColorFromItem(int Index) const;
    std::string GetCustomColorName(int Index) const;
    // Custom colours in the settings store; both raise ENoRegIniFile without one.
    void LoadCustomColors(const std::string& Section);
    void SaveCustomColors(const std::string& Section);
    // Rewrites every Name=Value line with the value as six upper-case hexadecimal digits.
    void FixupCustomColors();
    void SetFrameVisible(bool Value) override;

protected:
    friend class TGwColorNames;
    void InitColorNames();
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void CloseUp() override;
    void SelEndCancel() override;
    void Dispatch(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BuildList();
    std::unique_ptr<TGwColorNames> FColorNames;
    std::unique_ptr<TGwColorNames> FSavedNames;
    std::unique_ptr<TStringList> FCustomColors;
    TGwRegIniFile* FRegIniFile = nullptr;
    TColor FDefaultColor = clBlack;
    TColor FCustomColor = clBlack;
    bool FShowSysColors = true;
    bool FShowColorNames = true;
    bool FShowDefaultColor = true;
    bool FShowCustomColor = true;
    bool FNamesChanged = false;
    bool FSelectionCancelled = false;
    int FSavedIndex = -1;
};

// ---- font combo box --------------------------------------------------------------------------------

class TGwFontComboBox : public TGwCustomComboBox {
public:
    explicit TGwFontComboBox(TComponent* AOwner);
    ~TGwFontComboBox() override;

    TGwFontDevice FontDevice() const { return FFontDevice; }
    void SetFontDevice(TGwFontDevice Value);
    TGwFontType FontType() const { return FFontType; }
    void SetFontType(TGwFontType Value);
    bool ShowSymbolFonts() const { return FShowSymbolFonts; }
    void SetShowSymbolFonts(bool Value);
    TGwShowStyle ShowStyle = ssFontName;
    bool MaintainMRUFonts = true;
    int FontSize = 8;
    TFontStyles FontStyle;
    TCustomEdit* PreviewEdit() const { return FPreviewEdit; }
    void SetPreviewEdit(TCustomEdit* Value);
    int PreviewFontSize = 36;
    int PreviewHeight = 65;
    int PreviewWidth = 260;
    std::string PreviewText;

    std::string FontName() const;
    void SetFontName(const std::string& Value);
    // None without a selection; else the owned font set to the item's face, size and style.
    TFont* SelectedFont();
    void SetSelectedFont(TFont* Value);
    // Index of the last recently used face at the top of the list; -1 when there is none.
    int LastMRUIndex() const { return FMRUIndex; }
    TGwPreviewFontPanel* PreviewPanel() const { return FPreview; }

    void LoadFonts();
    void ShowPreviewPanel();
    void HidePreviewPanel();
    void UpdatePreviewText();

protected:
    void DropDown() override;
    void CloseUp() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void LoadBitmaps();
    std::unique_ptr<TFont> FSelectedFont;
    TGwFontMarks FGlyphs;
    TGwPreviewFontPanel* FPreview = nullptr;
    TCustomEdit* FPreviewEdit = nullptr;
    TGwFontDevice FFontDevice = fdScreen;
    TGwFontType FFontType = ftAll;
    bool FShowSymbolFonts = true;
    int FMRUIndex = -1;
    std::string FKeptName;
};

// ---- history combo box -----------------------------------------------------------------------------

class TGwMRUComboBox : public TGwCustomComboBox {
public:
    explicit TGwMRUComboBox(TComponent* AOwner);
    ~TGwMRUComboBox() override;

    int MaxHistory = 25;
    std::string MruPath;
    std::string MruSection;
    std::string MruID;
    bool SelectFirstItemOnLoad = false;
    TGwRegIniFile* MruRegIniFile() const { return FMruRegIniFile; }
    void SetMruRegIniFile(TGwRegIniFile* Value);
    const std::string& RemoveItemCaption() const { return FRemoveItemCaption; }
    void SetRemoveItemCaption(const std::string& Value);
    TPopupMenu* EditMenu() const { return FMenu; }
    // The menu's items in order: Undo, -, Cut, Copy, Paste, Delete, -, Select All, -, Remove item.
    TMenuItem* MenuItem(int Index) const { return FItems.at(Index); }

    void LoadMRUData(bool Reorder);
    void SaveMRUData();
    void UpdateMRUList();

    TNotifyEvent OnEnterKeyPressed;
    TNotifyEvent OnEscapeKeyPressed;

protected:
    virtual void UpdateMRUListFromCloseUp();
    virtual void EnterKeyPressed();
    virtual void EscapeKeyPressed();
    void CloseUp() override;
    void KeyPress(char& Key) override;
    void CMExit(TMessage& Message) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void CreatePopupMenuItems();
    void SetupMenuItem(TMenuItem* Item, const std::string& Caption, TNotifyEvent OnClick);
    void MenuPopup(TObject* Sender);
    void MoveToTop(int Index);
    // Runs Work on the history store; nothing when none is set up.
    void WithStore(const std::function<void(TGwRegIniFile*)>& Work);
    TPopupMenu* FMenu;
    std::array<TMenuItem*, 10> FItems{};
    TGwRegIniFile* FMruRegIniFile = nullptr;
    std::string FRemoveItemCaption = "&Remove item from history list";
    bool FHistoryLoaded = false;
};

// ---- image combo box -------------------------------------------------------------------------------

class TGwCustomImageComboBox;

class TGwImageComboBoxItem : public TObject {
public:
    explicit TGwImageComboBoxItem(TGwCustomImageComboBox* Owner) : FOwner(Owner) {}
    int Index() const { return FIndex; }
    int IndentLevel() const { return FIndentLevel; }
    void SetIndentLevel(int Value) { Change(FIndentLevel, Value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { Change(FImageIndex, Value); }
    int OverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(int Value) { Change(FOverlayIndex, Value); }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { Change(FCaption, Value); }
    void* Data = nullptr;

private:
    friend class TGwCustomImageComboBox;
    template <class T> void Change(T& Field, const T& Value);
    TGwCustomImageComboBox* FOwner;
    int FIndex = -1;
    int FIndentLevel = 0;
    int FImageIndex = -1;
    int FOverlayIndex = -1;
    std::string FCaption;
};

using TGwImageComboBoxItemEvent = std::function<void(TObject* Sender, TGwImageComboBoxItem* Item)>;

class TGwCustomImageComboBox : public TGwCustomComboBox {
public:
    explicit TGwCustomImageComboBox(TComponent* AOwner);
    ~TGwCustomImageComboBox() override;

    TGwImageComboBoxItem* AddItem(const std::string& Caption, int ImageIndex, int IndentLevel);
    TGwImageComboBoxItem* ImageComboBoxItem(int Index) const;
    void Delete(int Index);
    int IndexOf(const std::string& Caption) const override;
    int IndexOfItem(const TGwImageComboBoxItem* Item) const;
    int IndexOfData(const void* Data) const;
    void ItemsBeginUpdate() { Items()->BeginUpdate(); }
    void ItemsEndUpdate() { Items()->EndUpdate(); }
    bool AutoSizeHeight() const { return FAutoSizeHeight; }
    void SetAutoSizeHeight(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ItemIndent() const { return FItemIndent; }
    void SetItemIndent(int Value);

    TGwImageComboBoxItemEvent OnDeleteItem;
    TGwImageComboBoxItemEvent OnGetItemData;

protected:
    virtual void GetItemData(TGwImageComboBoxItem* Item);
    void DeleteItem(void* ItemData) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void CMFontChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustHeight();
    void ImagesChanged(TObject* Sender);
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
    int FItemIndent = 12;
    bool FAutoSizeHeight = true;
    bool FDeleting = false;
    bool FAutoSizing = false;
};

class TGwImageComboBox : public TGwCustomImageComboBox {
public:
    explicit TGwImageComboBox(TComponent* AOwner) : TGwCustomImageComboBox(AOwner) {}
};

template <class T> void TGwImageComboBoxItem::Change(T& Field, const T& Value) {
    if (Field == Value)
        return;
    Field = Value;
    if (FOwner)
        FOwner->Invalidate();
}
