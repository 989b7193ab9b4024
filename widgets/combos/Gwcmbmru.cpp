// The history combo box (recently entered texts kept in the settings store, with its own edit
// menu) and the image combo box (items with an image, an overlay and an indentation).
#include "Gwcmbobx.h"
#include "Gwutils.h"
#include "clipbrd.h"
#include "sysutils.h"

namespace {
// The shell's command captions in the user's language; the separators are "-".
const char* const MenuCaptions[10] = {"&Отменить", "-", "&Вырезать",     "&Копировать", "Вст&авить",
                                      "&Удалить",  "-", "Выделить &все", "-",           ""};
enum { miUndo, miCut = 2, miCopy, miPaste, miDelete, miSelectAll = 7, miRemove = 9 };
} // namespace

TGwMRUComboBox::TGwMRUComboBox(TComponent* AOwner) : TGwCustomComboBox(AOwner) {
    FMenu = new TPopupMenu(this);
    CreatePopupMenuItems();
    FMenu->OnPopup = [this](TObject* Sender) { MenuPopup(Sender); };
    SetPopupMenu(FMenu);
}

TGwMRUComboBox::~TGwMRUComboBox() = default;

void TGwMRUComboBox::SetupMenuItem(TMenuItem* Item, const std::string& Caption, TNotifyEvent OnClick) {
    Item->SetCaption(Caption);
    Item->SetChecked(false);
    Item->SetRadioItem(false);
    Item->SetGroupIndex(0);
    Item->SetShortCut(0);
    Item->OnClick = std::move(OnClick);
}

void TGwMRUComboBox::CreatePopupMenuItems() {
    auto edit = [this](UINT Msg) { return [this, Msg](TObject*) { Perform(Msg, 0, 0); }; };
    const TNotifyEvent handlers[10] = {
        edit(WM_UNDO),
        nullptr,
        edit(WM_CUT),
        edit(WM_COPY),
        edit(WM_PASTE),
        edit(WM_CLEAR),
        nullptr,
        [this](TObject*) { SetEditSel(0, int(Text().size())); },
        nullptr,
        [this](TObject*) {
            int i = Items()->IndexOf(Text());
            if (i >= 0)
                Items()->Delete(i);
            SaveMRUData();
            SetTextQuietly("");
            Change();
        },
    };
    for (int i = 0; i < 10; ++i) {
        FItems[i] = new TMenuItem(FMenu);
        SetupMenuItem(FItems[i], i == miRemove ? FRemoveItemCaption : MenuCaptions[i], handlers[i]);
        FMenu->Items()->Add(FItems[i]);
    }
}

void TGwMRUComboBox::SetRemoveItemCaption(const std::string& Value) {
    FRemoveItemCaption = Value;
    FItems[miRemove]->SetCaption(Value);
}

// The items that apply now are enabled when the menu opens.
void TGwMRUComboBox::MenuPopup(TObject*) {
    if (CanFocus())
        SetFocus();
    const bool selected = SelLength() > 0, text = !Text().empty();
    FItems[miUndo]->SetEnabled(Perform(EM_CANUNDO, 0, 0) != 0);
    FItems[miCut]->SetEnabled(selected);
    FItems[miCopy]->SetEnabled(selected);
    FItems[miDelete]->SetEnabled(selected);
    FItems[miPaste]->SetEnabled(Clipboard()->HasFormat(CF_TEXT));
    FItems[miSelectAll]->SetEnabled(text);
    FItems[miRemove]->SetEnabled(text);
}

void TGwMRUComboBox::SetMruRegIniFile(TGwRegIniFile* Value) {
    FMruRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwMRUComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMruRegIniFile)
        FMruRegIniFile = nullptr;
}

void TGwMRUComboBox::WithStore(const std::function<void(TGwRegIniFile*)>& Work) {
    if (ComponentState().Contains(csDesigning) || (!FMruRegIniFile && MruPath.empty()) ||
        MruSection.empty() || MruID.empty())
        return;
    if (FMruRegIniFile) {
        Work(FMruRegIniFile);
        return;
    }
    TGwRegIniFile store(nullptr);
    store.SetPathType(ptRegistry);
    store.SetPath(MruPath);
    Work(&store);
}

void TGwMRUComboBox::LoadMRUData(bool Reorder) {
    WithStore([&](TGwRegIniFile* store) {
        const int count = store->ReadInteger(MruSection, MruID + "_Count", 0);
        for (int i = 0; i < count; ++i) {
            std::string entry = store->ReadString(MruSection, MruID + "_Item" + IntToStr(i), "");
            if (entry.empty())
                continue;
            int at = Items()->IndexOf(entry);
            if (!Reorder) {
                if (at < 0)
                    Items()->Add(entry);
                continue;
            }
            if (at < 0)
                at = Items()->Add(entry);
            Items()->Move(at, std::min(i, Items()->Count() - 1));
        }
        if (SelectFirstItemOnLoad && Items()->Count() > 0)
            SetItemIndex(0);
        FHistoryLoaded = true;
    });
}

void TGwMRUComboBox::SaveMRUData() {
    WithStore([&](TGwRegIniFile* store) {
        const int n = std::min(Items()->Count(), MaxHistory);
        store->WriteInteger(MruSection, MruID + "_Count", n);
        for (int i = 0; i < n; ++i)
            store->WriteString(MruSection, MruID + "_Item" + IntToStr(i), Items()->Get(i));
        for (int i = n; i < MaxHistory; ++i)
            store->DeleteKey(MruSection, MruID + "_Item" + IntToStr(i));
    });
}

void TGwMRUComboBox::MoveToTop(int Index) {
    const std::string text = Text();
    Items()->Move(Index, 0);
    if (ListOnly())
        SetItemIndex(0);
    else
        SetTextQuietly(text);
}

void TGwMRUComboBox::UpdateMRUList() {
    const std::string text = Text();
    if (text.empty())
        return;
    int i = Items()->IndexOf(text);
    if (i >= 0)
        MoveToTop(i);
    else {
        Items()->Insert(0, text);
        SetTextQuietly(text);
    }
    SaveMRUData();
}

void TGwMRUComboBox::UpdateMRUListFromCloseUp() {
    int i = ItemIndex();
    if (i < 0)
        return;
    Items()->Move(i, 0);
    SetItemIndex(0);
    SaveMRUData();
}

void TGwMRUComboBox::CloseUp() {
    TGwCustomComboBox::CloseUp();
    UpdateMRUListFromCloseUp();
}

void TGwMRUComboBox::EnterKeyPressed() {
    if (OnEnterKeyPressed)
        OnEnterKeyPressed(this);
}

void TGwMRUComboBox::EscapeKeyPressed() {
    if (OnEscapeKeyPressed)
        OnEscapeKeyPressed(this);
}

void TGwMRUComboBox::KeyPress(char& Key) {
    if (Key == '\r' && !DroppedDown()) {
        UpdateMRUList();
        EnterKeyPressed();
    } else if (Key == 0x1B)
        EscapeKeyPressed();
    TGwCustomComboBox::KeyPress(Key);
}

void TGwMRUComboBox::CMExit(TMessage& Message) {
    TGwCustomComboBox::CMExit(Message);
    UpdateMRUList();
}

void TGwMRUComboBox::CreateWnd() {
    TGwCustomComboBox::CreateWnd();
    if (!FHistoryLoaded && !ComponentState().Contains(csLoading))
        LoadMRUData(false);
}

void TGwMRUComboBox::Loaded() {
    TGwCustomComboBox::Loaded();
    LoadMRUData(true);
}

// ---- image combo box -------------------------------------------------------------------------------

TGwCustomImageComboBox::TGwCustomImageComboBox(TComponent* AOwner)
    : TGwCustomComboBox(AOwner), FImageLink(std::make_unique<TChangeLink>()) {
    SetStyle(csOwnerDrawFixed);
    FShowFocusBorder = false;
    FImageLink->OnChange = [this](TObject* Sender) { ImagesChanged(Sender); };
}

TGwCustomImageComboBox::~TGwCustomImageComboBox() {
    if (FImages)
        FImages->UnRegisterChanges(FImageLink.get());
    FDeleting = true;
    ClearItems();
}

TGwImageComboBoxItem* TGwCustomImageComboBox::AddItem(const std::string& Caption, int ImageIndex,
                                                      int IndentLevel) {
    auto* item = new TGwImageComboBoxItem(this);
    item->FCaption = Caption;
    item->FImageIndex = ImageIndex;
    item->FIndentLevel = IndentLevel;
    item->FIndex = Items()->AddObject(RunningUnder(WinNT) ? std::string() : Caption, item);
    return item;
}

TGwImageComboBoxItem* TGwCustomImageComboBox::ImageComboBoxItem(int Index) const {
    return static_cast<TGwImageComboBoxItem*>(Items()->GetObject(Index));
}

void TGwCustomImageComboBox::Delete(int Index) {
    FDeleting = true;
    try {
        TGwCustomComboBox::Delete(Index);
    } catch (...) {
        FDeleting = false;
        throw;
    }
    FDeleting = false;
}

void TGwCustomImageComboBox::DeleteItem(void* ItemData) {
    auto* item = static_cast<TGwImageComboBoxItem*>(ItemData);
    if (OnDeleteItem)
        OnDeleteItem(this, item);
    if (FDeleting)
        delete item;
}

int TGwCustomImageComboBox::IndexOf(const std::string& Caption) const {
    for (int i = 0; i < Items()->Count(); ++i)
        if (AnsiSameText(ImageComboBoxItem(i)->Caption(), Caption))
            return i;
    return -1;
}

int TGwCustomImageComboBox::IndexOfItem(const TGwImageComboBoxItem* Item) const {
    for (int i = 0; i < Items()->Count(); ++i)
        if (ImageComboBoxItem(i) == Item)
            return i;
    return -1;
}

int TGwCustomImageComboBox::IndexOfData(const void* Data) const {
    for (int i = 0; i < Items()->Count(); ++i)
        if (ImageComboBoxItem(i)->Data == Data)
            return i;
    return -1;
}

void TGwCustomImageComboBox::GetItemData(TGwImageComboBoxItem* Item) {
    if (OnGetItemData)
        OnGetItemData(this, Item);
}

void TGwCustomImageComboBox::SetImages(TCustomImageList* Value) {
    if (Value == FImages)
        return;
    if (FImages)
        FImages->UnRegisterChanges(FImageLink.get());
    FImages = Value;
    if (Value) {
        Value->RegisterChanges(FImageLink.get());
        Value->FreeNotification(this);
        if (!ComponentState().Contains(csLoading))
            AdjustHeight();
    }
    Invalidate();
}

void TGwCustomImageComboBox::ImagesChanged(TObject*) { Invalidate(); }

void TGwCustomImageComboBox::SetItemIndent(int Value) {
    if (Value == FItemIndent)
        return;
    FItemIndent = Value;
    Invalidate();
}

void TGwCustomImageComboBox::SetAutoSizeHeight(bool Value) {
    FAutoSizeHeight = Value;
    if (Value)
        AdjustHeight();
}

// Rows as high as the font's text plus 4, or as an image when that is higher.
void TGwCustomImageComboBox::AdjustHeight() {
    if (!FAutoSizeHeight || FAutoSizing)
        return;
    FAutoSizing = true;
    TCanvas measure;
    measure.Font()->Assign(Font());
    TEXTMETRIC tm;
    measure.GetTextMetrics(tm);
    int h = std::abs(tm.tmHeight) + 4;
    if (FImages && FImages->Height() > h)
        h = FImages->Height();
    SetItemHeight(h);
    FAutoSizing = false;
}

void TGwCustomImageComboBox::CMFontChanged(TMessage& Message) {
    TGwCustomComboBox::CMFontChanged(Message);
    AdjustHeight();
}

void TGwCustomImageComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TGwCustomImageComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* C = Canvas();
    C->Brush()->SetColor(Color());
    C->FillRect(Rect);
    if (Index < 0 || Index >= Items()->Count())
        return;
    TGwImageComboBoxItem* item = ImageComboBoxItem(Index);
    GetItemData(item);
    const int level = State.Contains(odComboBoxEdit) ? 0 : item->IndentLevel();
    int x = FItemIndent * level + Rect.Left + 2;
    if (FImages) {
        const TColor saved = FImages->BkColor;
        FImages->BkColor = Color();
        const int y = (Rect.Top + Rect.Bottom - FImages->Height()) / 2;
        if (item->OverlayIndex() >= 0)
            FImages->DrawOverlay(C, x, y, item->ImageIndex(), item->OverlayIndex(), true);
        else
            FImages->Draw(C, x, y, item->ImageIndex(), true);
        FImages->BkColor = saved;
        x += FImages->Width();
    }
    const bool selected = State.Contains(odSelected);
    C->Brush()->SetColor(selected ? clHighlight : Color());
    if (item->Caption().empty())
        return;
    C->Font()->SetColor(!Enabled() ? clBtnShadow : selected ? clHighlightText : Font()->Color());
    TRect text(x + 4 - 1, Rect.Top, x + 4 - 1 + C->TextWidth(item->Caption()) + 3, Rect.Bottom - 1);
    C->FillRect(text);
    C->TextOut(text.Left + 1, text.Top + 1, item->Caption());
}
