// The combo box base (type-to-find, auto-completion, read-only mode, state colours, flat frame and
// button) and the standard combo box with its values.
#include "Gwcmbobx.h"

#include "Gwutils.h"
#include "clipbrd.h"
#include "forms.h"
#include "sysinfo.h"
#include "winapi.h"

namespace {
// Printable in the text's code page: Cyrillic letters (0xC0..0xFF) and the other upper bytes count.
bool Printable(char Ch) { return static_cast<unsigned char>(Ch) >= 0x20 && Ch != 0x7F; }
constexpr char CtrlC = 0x03, CtrlV = 0x16, CtrlX = 0x18, Esc = 0x1B;
} // namespace

TGwCustomComboBox::TGwCustomComboBox(TComponent* AOwner) : TGwFramedBase(AOwner) {
    FSearchTimer = new TTimer(this);
    FSearchTimer->SetEnabled(false);
    FSearchTimer->SetInterval(unsigned(IncrementalSearchResetDelay));
    FSearchTimer->OnTimer = [this](TObject* Sender) { SearchTimerExpired(Sender); };
    SetColor(clWindow);
    FFraming.ColorChanged();
}

TGwCustomComboBox::~TGwCustomComboBox() = default;

// ---- items -----------------------------------------------------------------------------------------

void TGwCustomComboBox::Delete(int Index) {
    if (Index >= 0 && Index < Count())
        if (void* data = Items()->GetObject(Index)) {
            DeleteItem(data);
            Items()->PutObject(Index, nullptr);
        }
    Items()->Delete(Index);
}

void TGwCustomComboBox::ClearItems() {
    for (int i = Count() - 1; i >= 0; --i)
        if (void* data = Items()->GetObject(i)) {
            DeleteItem(data);
            Items()->PutObject(i, nullptr);
        }
    Items()->Clear();
}

void TGwCustomComboBox::DeleteItem(void* ItemData) {
    if (OnDeleteItem)
        OnDeleteItem(this, ItemData);
}

bool TGwCustomComboBox::FindItem(const std::string& S) {
    int i = Items()->IndexOf(S);
    if (i >= 0)
        SetItemIndex(i);
    return i >= 0;
}

bool TGwCustomComboBox::FindClosestItem(const std::string& S) {
    int i = FindClosest(S);
    if (i >= 0)
        SetItemIndex(i);
    return i >= 0;
}

int TGwCustomComboBox::FindClosest(const std::string& S) {
    return int(Perform(CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

void TGwCustomComboBox::ForceText(const std::string& S) {
    if (S == Text())
        return;
    bool was = AutoComplete;
    AutoComplete = false;
    try {
        SetText(S);
    } catch (...) {
        AutoComplete = was;
        throw;
    }
    AutoComplete = was;
}

void TGwCustomComboBox::SetTextQuietly(const std::string& S) {
    bool was = FTextSetting;
    FTextSetting = true;
    SetText(S);
    FTextSetting = was;
}

void TGwCustomComboBox::SetEditSel(int Start, int End) { Perform(CB_SETEDITSEL, 0, MAKELPARAM(Start, End)); }

void TGwCustomComboBox::SetDropDownWidth(int Value) {
    if (Value != DropDownWidth())
        Perform(CB_SETDROPPEDWIDTH, WPARAM(Value), 0);
}

// ---- search ----------------------------------------------------------------------------------------

void TGwCustomComboBox::InvalidKeyPressed() {
    if (BeepOnInvalidKey)
        Beep();
}

// A completion tells the key-press event of its key once more, after the click and the change.
void TGwCustomComboBox::KeyPressed(char Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TGwCustomComboBox::UpdateIndex(const std::string& S, char Key) {
    int i = FindClosest(S);
    if (i < 0) {
        InvalidKeyPressed();
        return;
    }
    SetItemIndex(i);
    FSearch = S;
    Click();
    Change();
    KeyPressed(Key);
}

bool TGwCustomComboBox::FindListItem(const std::string& S, char Key) {
    int old = ItemIndex();
    int i = FindClosest(S);
    if (i < 0)
        return false;
    std::string item = Items()->Get(i);
    if (KeepSearchCase)
        SetTextQuietly(S + item.substr(S.size()));
    else {
        SetItemIndex(-1);
        SetItemIndex(i);
    }
    FSearch = S;
    Click();
    Change();
    KeyPressed(Key);
    SetEditSel(int(S.size()), int(item.size()));
    if (ItemIndex() != old)
        Match();
    return true;
}

void TGwCustomComboBox::RestartSearchTimer() {
    FTimerBusy = true;
    FSearchTimer->SetEnabled(false);
    FSearchTimer->SetInterval(unsigned(IncrementalSearchResetDelay));
    FSearchTimer->SetEnabled(true);
    FTimerBusy = false;
}

void TGwCustomComboBox::SearchTimerExpired(TObject*) {
    if (FTimerBusy)
        return;
    FSearchTimer->SetEnabled(false);
    ClearSearch();
}

// ---- keys ------------------------------------------------------------------------------------------

void TGwCustomComboBox::WMKeyDown(TWMKey& Message) {
    FCompleteAfterKey = false;
    TCustomComboBox::WMKeyDown(Message);
    // Shift+Insert pasted: complete from what the edit now holds, told as the paste key Ctrl+V is.
    if (FCompleteAfterKey && Message.CharCode != 0 && AllowEdit) {
        FSearch = Text();
        FindListItem(FSearch, CtrlV);
    }
    FCompleteAfterKey = false;
}

void TGwCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomComboBox::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (ListOnly()) {
        if (FReadOnly) {
            Key = 0;
            return;
        }
        if (Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_END && Key <= VK_DOWN))
            ClearSearch();
        return;
    }
    switch (Key) {
    case VK_INSERT:
        if (Shift.Contains(ssShift)) {
            if (!AllowEdit || FReadOnly)
                Key = 0;
            else
                FCompleteAfterKey = AutoComplete;
        }
        break;
    case VK_DELETE: {
        if (FReadOnly) {
            Key = 0;
            break;
        }
        std::string text = Text();
        int start = SelStart(), len = SelLength();
        if (AutoComplete) {
            FSearch = text;
            if (start < int(FSearch.size()))
                FSearch.erase(start, std::max(len, 1));
        }
        if (!AllowEdit && !(start == 0 && len == int(text.size())))
            Key = 0;
        break;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        ClearSearch();
        if (FReadOnly)
            Key = 0;
        break;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
        if (AutoComplete)
            FSearch = Text();
        break;
    case VK_F4:
        if (FReadOnly)
            Key = 0;
        break;
    }
}

void TGwCustomComboBox::WMChar(TWMKey& Message) {
    char ch = char(Message.CharCode);
    FCompleteAfterKey = false;
    TCustomComboBox::WMChar(Message);
    // Ctrl+X and Ctrl+V have changed the text: complete from it.
    if (FCompleteAfterKey && Message.CharCode != 0 && (ch == CtrlX || ch == CtrlV)) {
        FSearch = Text();
        FindListItem(FSearch, ch);
    }
    FCompleteAfterKey = false;
}

void TGwCustomComboBox::PostTab() {
    if (HandleAllocated())
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
}

void TGwCustomComboBox::KeyPress(char& Key) {
    TCustomComboBox::KeyPress(Key);
    if (Key == 0)
        return;
    if (Key != '\r')
        FEnterPressed = false;
    if (TabOnEnter && Key == '\r' && !DroppedDown()) {
        PostTab();
        Key = 0;
        return;
    }
    if (Style() == csDropDown && MaxLength() > 0 && Printable(Key) && SelLength() == 0 &&
        int(Text().size()) >= MaxLength()) {
        InvalidKeyPressed();
        Key = 0;
        return;
    }
    if (ListOnly() ? ListOnlyKeyPress(Key) : EditKeyPress(Key))
        Key = 0;
}

// Type-to-find of the list-only styles; true when the character is used up.
bool TGwCustomComboBox::ListOnlyKeyPress(char& Key) {
    if (FReadOnly)
        return true;
    if (Key == '\b') {
        if (FSearch.empty()) {
            InvalidKeyPressed();
            return true;
        }
        FSearch.pop_back();
        if (FSearch.empty()) {
            SetItemIndex(0);
            Click();
            Change();
            return false;
        }
        UpdateIndex(FSearch, Key);
        return true;
    }
    if (!Printable(Key))
        return false;
    std::string s = FSearch + Key;
    UpdateIndex(s, Key);
    RestartSearchTimer();
    return true;
}

// Auto-completion of the edit part; true when the character is used up.
bool TGwCustomComboBox::EditKeyPress(char& Key) {
    if (FReadOnly) {
        if (Key == CtrlC)
            return false;
        return true;
    }
    if (Key == Esc) {
        ClearSearch();
        return !DroppedDown();
    }
    if (Key == '\r') {
        if (DroppedDown())
            SelEndOk();
        FEnterPressed = true;
        return false;
    }
    if (Key == CtrlX || Key == CtrlV) {
        if (!AllowEdit)
            return true;
        FCompleteAfterKey = AutoComplete;
        return false;
    }
    if (!AutoComplete)
        return false;
    if (Key == '\b') {
        EditBackspace(Key);
        return Key == 0;
    }
    if (!Printable(Key))
        return false;
    std::string text = Text();
    int start = std::min(SelStart(), int(text.size()));
    int len = std::min(SelLength(), int(text.size()) - start);
    std::string prefix = text;
    prefix.erase(start, len);
    std::string search = prefix;
    search.insert(search.begin() + start, Key);
    std::string old = FSearch;
    if (FindListItem(search, Key))
        return true;
    if (!AllowEdit) {
        InvalidKeyPressed();
        FSearch = old;
        return true;
    }
    // No item starts so: the typed prefix stays and the character is typed as usual.
    SetItemIndex(-1);
    SetTextQuietly(prefix);
    SetEditSel(start, start);
    FSearch = search;
    return false;
}

// The caret is the selection's end, as the edit reports it: a completed tail selected to the end
// counts as the caret at the end, so Backspace drops the last typed character.
void TGwCustomComboBox::EditBackspace(char& Key) {
    std::string text = Text();
    int start = std::min(SelStart(), int(text.size()));
    int len = std::min(SelLength(), int(text.size()) - start);
    int caret = start + len;
    std::string search = text;
    search.erase(start, len);
    if (search.empty() && text.empty()) {
        InvalidKeyPressed();
        return;
    }
    int newCaret;
    if (len > 0 && caret < int(text.size()) && AllowEdit) {
        SetItemIndex(-1);
        newCaret = start;
    } else if (caret < int(text.size()) && AllowEdit) {
        if (start > 0)
            search.erase(start - 1, 1);
        newCaret = std::max(start - 1, 0);
    } else {
        if (!search.empty())
            search.pop_back();
        newCaret = int(search.size());
    }
    Change();
    if (search.empty()) {
        SetItemIndex(-1);
        SetTextQuietly("");
        ClearSearch();
        Click();
        Change();
        KeyPressed(Key);
        Key = 0;
        return;
    }
    FSearch = search;
    if (!FindListItem(search, Key)) {
        SetItemIndex(-1);
        SetTextQuietly(search);
        SetEditSel(newCaret, newCaret);
    }
    Key = 0;
}

// ---- mouse -----------------------------------------------------------------------------------------

void TGwCustomComboBox::WMLButtonDown(TWMMouse& Message) {
    if (FReadOnly)
        return;
    if (Style() == csDropDown && AutoComplete)
        FSearch = Text();
    TCustomComboBox::WMLButtonDown(Message);
}

void TGwCustomComboBox::WMLButtonDblClk(TWMMouse& Message) {
    if (!FReadOnly)
        TCustomComboBox::WMLButtonDblClk(Message);
}

bool TGwCustomComboBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    TCustomComboBox::DoMouseWheelDown(Shift, MousePos);
    if (FReadOnly || DroppedDown())
        return true;
    if (ItemIndex() < Count() - 1) {
        SetItemIndex(ItemIndex() + 1);
        Click();
        Change();
    }
    return true;
}

bool TGwCustomComboBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    TCustomComboBox::DoMouseWheelUp(Shift, MousePos);
    if (FReadOnly || DroppedDown())
        return true;
    if (ItemIndex() > 0) {
        SetItemIndex(ItemIndex() - 1);
        Click();
        Change();
    } else if (Count() > 0)
        SetItemIndex(0);
    return true;
}

// ---- state -----------------------------------------------------------------------------------------

void TGwCustomComboBox::SetReadOnly(bool Value) {
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    UpdateColors();
    Invalidate();
}

void TGwCustomComboBox::UpdateFrame(bool ViaMouse, bool Value) {
    FFraming.UpdateFrame(ViaMouse, Value);
    if ((FlatButtons() || FrameHotTrack()) && !DroppedDown())
        Invalidate();
}

void TGwCustomComboBox::FramingRecreateWindow() {
    SetCtl3D(!FrameVisible());
    SetParentCtl3D(!FrameVisible());
    Invalidate();
}

void TGwCustomComboBox::CMEnter(TMessage& Message) {
    TCustomComboBox::CMEnter(Message);
    FFocused = true;
    UpdateFrame(false, true);
}

void TGwCustomComboBox::CMExit(TMessage& Message) {
    TCustomComboBox::CMExit(Message);
    FFocused = false;
    ClearSearch();
    UpdateFrame(false, false);
    if (Style() == csDropDown && !Text().empty() && Items()->IndexOf(Text()) < 0)
        NotInList();
}

void TGwCustomComboBox::CMMouseEnter(TMessage& Message) {
    TCustomComboBox::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    UpdateFrame(true, true);
}

void TGwCustomComboBox::CMMouseLeave(TMessage& Message) {
    TCustomComboBox::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    UpdateFrame(true, false);
}

void TGwCustomComboBox::CMEnabledChanged(TMessage& Message) {
    TCustomComboBox::CMEnabledChanged(Message);
    UpdateColors();
}

void TGwCustomComboBox::CMColorChanged(TMessage& Message) {
    TCustomComboBox::CMColorChanged(Message);
    FFraming.ColorChanged();
}

// Text set from elsewhere completes to the first item it starts, as typing would.
void TGwCustomComboBox::CMTextChanged(TMessage& Message) {
    TCustomComboBox::CMTextChanged(Message);
    if (FTextSetting || !AutoComplete || Style() != csDropDown || FEnterPressed || DroppedDown() ||
        ComponentState().Contains(csDesigning))
        return;
    FSearch = Text();
    if (FSearch.empty())
        return;
    int i = FindClosest(FSearch);
    if (i < 0)
        return;
    std::string item = Items()->Get(i);
    SetItemIndex(i);
    SetEditSel(int(FSearch.size()), int(item.size()));
}

// The edit part's clipboard commands, which the platform's combo box does not answer. It keeps no
// undo step either.
void TGwCustomComboBox::EditCommand(UINT Msg) {
    if (ListOnly())
        return;
    std::string text = Text();
    int start = std::min(SelStart(), int(text.size()));
    int len = std::min(SelLength(), int(text.size()) - start);
    if ((Msg == WM_COPY || Msg == WM_CUT) && len > 0)
        Clipboard()->SetAsText(text.substr(start, len));
    if (Msg == WM_COPY || FReadOnly || (Msg != WM_PASTE && len == 0))
        return;
    std::string insert = Msg == WM_PASTE ? Clipboard()->AsText() : std::string();
    text.replace(start, len, insert);
    SetItemIndex(-1);
    SetTextQuietly(text);
    SetEditSel(start + int(insert.size()), start + int(insert.size()));
    Change();
}

void TGwCustomComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR: EditCommand(Message.Msg); return;
    case EM_CANUNDO: Message.Result = 0; return;
    case WM_UNDO: return;
    }
    if (Message.Msg == CN_COMMAND) {
        switch (Message.WParamHi()) {
        case CBN_SELENDOK: SelEndOk(); return;
        case CBN_SELENDCANCEL: SelEndCancel(); return;
        }
    }
    TCustomComboBox::Dispatch(Message);
}

void TGwCustomComboBox::CreateWnd() {
    int width = DropDownWidth();
    TCustomComboBox::CreateWnd();
    if (width != 0)
        Perform(CB_SETDROPPEDWIDTH, WPARAM(width), 0);
}

void TGwCustomComboBox::Loaded() {
    TCustomComboBox::Loaded();
    UpdateColors();
    FFraming.UpdateFrame(false, false);
    FFraming.UpdateFrame(true, false);
}

void TGwCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFraming.ControllerRemoved(AComponent);
}

// ---- events ----------------------------------------------------------------------------------------

void TGwCustomComboBox::CloseUp() {
    TCustomComboBox::CloseUp();
    Invalidate();
}

void TGwCustomComboBox::SelEndOk() {
    FTextSetting = true;
    try {
        if (OnSelEndOk)
            OnSelEndOk(this);
    } catch (...) {
        FTextSetting = false;
        throw;
    }
    FTextSetting = false;
}

void TGwCustomComboBox::SelEndCancel() {
    if (OnSelEndCancel)
        OnSelEndCancel(this);
}

void TGwCustomComboBox::NotInList() {
    if (OnNotInList)
        OnNotInList(this);
}

void TGwCustomComboBox::Match() {
    if (OnMatch)
        OnMatch(this);
}

// ---- painting --------------------------------------------------------------------------------------

void TGwCustomComboBox::WMPaint(TWMPaint& Message) {
    TCustomComboBox::WMPaint(Message);
    if (Message.DC)
        PaintOverlay(Message.DC);
}

void TGwCustomComboBox::PaintOverlay(TCanvas* C) {
    const TRect client(0, 0, Width(), Height());
    const bool hot = FFraming.Hot();
    const TColor color = Color();
    if (FrameVisible() && !UseThemes())
        DrawBevel(C, client, color, color, 2, AllSides);
    if (Style() != csSimple) {
        const int w = GetSystemMetrics(SM_CXVSCROLL);
        const bool rtl = BiDiMode() != bdLeftToRight;
        TRect strip =
            rtl ? TRect(2, 2, 2 + w, Height() - 2) : TRect(Width() - 2 - w, 2, Width() - 2, Height() - 2);
        C->Brush()->SetColor(color);
        if (FReadOnly)
            C->FillRect(strip);
        else if (FlatButtons()) {
            const TGwArrowState arrow{DroppedDown(), Enabled()};
            if (!hot) {
                C->FillRect(strip);
                DrawDropDownArrow(C, strip, uiWindows95, arrow);
            } else {
                TRect inner =
                    FlatButtonColor() != clBtnFace
                        ? DrawColorButtonBorderSides(C, strip, FlatButtonColor(),
                                                     DroppedDown() ? TGwButtonLook::Down : TGwButtonLook::Up)
                        : DrawSides(C, strip, DroppedDown() ? clBtnShadow : clBtnHighlight,
                                    DroppedDown() ? clBtnHighlight : clBtnShadow, AllSides);
                C->Brush()->SetColor(FlatButtonColor());
                C->FillRect(inner);
                DrawDropDownArrow(C, inner, uiWindows95, arrow);
            }
        }
    }
    if (!FrameVisible() || UseThemes())
        return;
    const bool hotFrame = FrameHotTrack() && hot;
    const TFrameStyle style = hotFrame ? FrameHotStyle() : FrameStyle();
    const TColor frame = hotFrame ? FrameHotColor() : FrameColor();
    if (style == fsFlat)
        DrawSides(C, client, frame, frame, FrameSides());
    else if (style == fsFlatBold)
        DrawBevel(C, client, frame, frame, 2, FrameSides());
    else if (color == clWindow)
        DrawBorderSides(C, client, style, FrameSides());
    else
        DrawColorBorderSides(C, client, color, style, FrameSides());
}

// ---- TGwComboBox -----------------------------------------------------------------------------------

TGwComboBox::TGwComboBox(TComponent* AOwner)
    : TGwCustomComboBox(AOwner), FValues(std::make_unique<TStringList>()) {
    FValues->OnChange = [this](TObject* Sender) { ValuesChangedHandler(Sender); };
}

TGwComboBox::~TGwComboBox() = default;

std::string TGwComboBox::GetItemValue(int Index) const {
    if (Index >= 0 && Index < FValues->Count() && !FValues->Get(Index).empty())
        return FValues->Get(Index);
    if (Index >= 0 && Index < Items()->Count())
        return Items()->Get(Index);
    return std::string();
}

std::string TGwComboBox::GetValue() const {
    int i = ListOnly() ? ItemIndex() : (Text().empty() ? -1 : Items()->IndexOf(Text()));
    if (i >= 0 && i < FValues->Count() && !FValues->Get(i).empty())
        return FValues->Get(i);
    return Text();
}

void TGwComboBox::SetValue(const std::string& S) {
    if (S == FValue && !FValuesChanging)
        return;
    FValueSetting = true;
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (GetItemValue(i) == S)
            found = i;
    SetItemIndex(found);
    FValueSetting = false;
    FValue = S;
}

void TGwComboBox::SyncValue() {
    if (!FValueSetting)
        FValue = GetValue();
}

void TGwComboBox::Change() {
    if (FValueSetting)
        return;
    TGwCustomComboBox::Change();
    SyncValue();
}

void TGwComboBox::Click() {
    if (FValueSetting)
        return;
    TGwCustomComboBox::Click();
    SyncValue();
}

void TGwComboBox::ValuesChangedHandler(TObject*) {
    FValuesChanging = true;
    SetValue(FValue);
    FValuesChanging = false;
}

void TGwComboBox::AddItemValue(const std::string& Item, const std::string& Value) {
    Items()->Add(Item);
    FValues->Add(Value);
}

void TGwComboBox::InsertItemValue(int Index, const std::string& Item, const std::string& Value) {
    Items()->Insert(Index, Item);
    FValues->Insert(Index, Value);
}

void TGwComboBox::ClearItemsValues() {
    ClearItems();
    FValues->Clear();
}
