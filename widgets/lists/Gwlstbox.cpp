// The Gw list box: custom frame and state colours (the shared framing), type-to-find, item hints,
// group header items and the item and group operations. Widget layer, lists.
#include "Gwlstbox.h"

#include "Gwgrafx.h"
#include "Gwscreendc.h"
#include "Gwutils.h"
#include "winapi.h"

namespace {

// The items of a Gw list box. Changes are the list box's own messages, as Windows' list box takes
// them, so the box hears each one in WndProc (scroll extent, automatic tab stops).
class TGwListBoxStrings : public TStrings {
public:
    TGwListBoxStrings(TGwCustomListBox* Box, TStrings* Native) : FBox(Box), FNative(Native) {}
    std::string Get(int Index) const override { return FNative->Get(Index); }
    TObject* GetObject(int Index) const override { return FNative->GetObject(Index); }
    void PutObject(int Index, TObject* AObject) override { FNative->PutObject(Index, AObject); }
    int GetCount() const override { return FNative->GetCount(); }
    void Clear() override { FBox->Perform(LB_RESETCONTENT); }
    void Delete(int Index) override {
        if (FBox->Perform(LB_DELETESTRING, WPARAM(Index)) == LB_ERR)
            Error("List index out of bounds (%d)", Index);
    }
    void Insert(int Index, const std::string& S) override {
        if (FBox->Perform(LB_INSERTSTRING, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str())) < 0)
            Error("List index out of bounds (%d)", Index);
    }
    int Add(const std::string& S) override {
        LRESULT r = FBox->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
        if (r < 0)
            Error("List index out of bounds (%d)", GetCount());
        return int(r);
    }
    // A new text is a delete and an insert, keeping the object and the selection.
    void Put(int Index, const std::string& S) override {
        const int selected = FBox->ItemIndex();
        TObject* object = GetObject(Index);
        Delete(Index);
        InsertObject(Index, S, object);
        FBox->SetItemIndex(selected);
    }

private:
    TGwCustomListBox* FBox;
    TStrings* FNative;
};

} // namespace

TGwCustomListBox::TGwCustomListBox(TComponent* AOwner)
    : TGwFramedBase(AOwner), FGwItems(std::make_unique<TGwListBoxStrings>(this, TCustomListBox::Items())),
      FSearchTimer(std::make_unique<TTimer>(nullptr)), FGroupFont(std::make_unique<TFont>()) {
    FSearchTimer->SetEnabled(false);
    FSearchTimer->SetInterval(unsigned(IncrementalSearchResetDelay));
    FSearchTimer->OnTimer = [this](TObject* Sender) { SearchTimerFired(Sender); };
    FGroupFont->Assign(*Font());
    FGroupFont->SetStyle(FGroupFont->Style() << fsBold);
    FGroupFont->SetColor(clHighlight);
    FGroupFont->OnChange = [this](TObject*) {
        FGroupFontChanged = true;
        GroupFontChanged();
        Invalidate();
    };
}

TGwCustomListBox::~TGwCustomListBox() { FGroupFont->OnChange = nullptr; }

bool TGwCustomListBox::FramingFocused() const { return FFocused; }

// ---- items --------------------------------------------------------------------------------------

std::string TGwCustomListBox::SelectedItem() const {
    const int index = ItemIndex();
    if (MultiSelect() && SelCount() <= 0)
        return "";
    return index < 0 || index >= Count() ? "" : Items()->Get(index);
}

bool TGwCustomListBox::FindItem(const std::string& S) {
    const int index = IndexOf(S);
    if (index >= 0)
        SetItemIndex(index);
    return index >= 0;
}

void TGwCustomListBox::Delete(int Index) {
    int selected = ItemIndex();
    Items()->Delete(Index);
    if (Count() == 0 || selected == -1)
        return;
    if (selected == Count())
        --selected;
    SetItemIndex(selected);
    Click();
}

void TGwCustomListBox::SelectAll() {
    if (MultiSelect())
        Perform(LB_SETSEL, 1, -1);
}

void TGwCustomListBox::UnselectAll() {
    if (MultiSelect())
        Perform(LB_SETSEL, 0, -1);
}

void TGwCustomListBox::DeleteSelectedItems() {
    Screen->SetCursor(crHourGlass);
    Items()->BeginUpdate();
    try {
        for (int i = Count() - 1; i >= 0; --i)
            if (Selected(i))
                Items()->Delete(i);
    } catch (...) {
        Items()->EndUpdate();
        Screen->SetCursor(crDefault);
        throw;
    }
    Items()->EndUpdate();
    Screen->SetCursor(crDefault);
    DoDeleteItems();
}

void TGwCustomListBox::DoDeleteItems() {
    if (OnDeleteItems)
        OnDeleteItems(this);
}

void TGwCustomListBox::Match() {
    if (OnMatch)
        OnMatch(this);
}

// ---- groups -------------------------------------------------------------------------------------

bool TGwCustomListBox::GetItemIsGroup(int Index) const {
    if (Index < 0 || Index >= Count())
        return false;
    return Items()->Get(Index).compare(0, FGroupPrefix.size(), FGroupPrefix) == 0;
}

std::string TGwCustomListBox::ItemCaption(int Index) const {
    if (Index < 0 || Index >= Count())
        return "";
    std::string s = Items()->Get(Index);
    return GetItemIsGroup(Index) ? s.substr(FGroupPrefix.size()) : s;
}

int TGwCustomListBox::ItemGroupIndex(int Index) const {
    if (Index < 0)
        return -1;
    for (int i = Min(Index, Count() - 1); i >= 0; --i)
        if (GetItemIsGroup(i))
            return i;
    return -1;
}

int TGwCustomListBox::GroupIndexOfItem(int Index) const {
    if (Index == -1 || !GetItemIsGroup(Index))
        return -1;
    int groups = 0;
    for (int i = 0; i < Index; ++i)
        groups += GetItemIsGroup(i) ? 1 : 0;
    return groups;
}

int TGwCustomListBox::ItemIndexOfGroup(int GroupIndex) const {
    const int n = Count();
    if (n == 0 || GroupIndex < 0 || GroupIndex >= n)
        return -1;
    int group = 0;
    for (int i = 0; i < n; ++i)
        if (GetItemIsGroup(i) && group++ == GroupIndex)
            return i;
    return -1;
}

int TGwCustomListBox::ItemsInGroup(int GroupIndex) const {
    int items = 0;
    for (int i = ItemIndexOfGroup(GroupIndex) + 1; i < Count() && !GetItemIsGroup(i); ++i)
        ++items;
    return items;
}

int TGwCustomListBox::InsertItemIntoGroup(int GroupIndex, int Index, const std::string& S) {
    const int header = ItemIndexOfGroup(GroupIndex);
    if (header == -1 || Index < 0 || Index > ItemsInGroup(GroupIndex))
        return -1;
    Insert(header + 1 + Index, S);
    return header + 1 + Index;
}

void TGwCustomListBox::ItemToGroup(int Index) {
    if (Index < 0 || Index >= Count() || GetItemIsGroup(Index))
        return;
    Items()->Put(Index, FGroupPrefix + Items()->Get(Index));
}

void TGwCustomListBox::GroupToItem(int Index) {
    if (!GetItemIsGroup(Index))
        return;
    Items()->Put(Index, Items()->Get(Index).substr(FGroupPrefix.size()));
}

// ---- type-to-find -------------------------------------------------------------------------------

bool TGwCustomListBox::DoKeyPress(TWMKey& Message) {
    char ch = char(Message.CharCode);
    KeyPress(ch);
    Message.CharCode = WPARAM(static_cast<unsigned char>(ch));
    return ch == 0;
}

void TGwCustomListBox::InvalidKey() {
    if (BeepOnInvalidKey)
        MessageBeep(0);
}

int TGwCustomListBox::FindClosest(const std::string& S) {
    return int(Perform(LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

void TGwCustomListBox::Search(const std::string& Text, TWMKey& Message) {
    const int previous = ItemIndex();
    const int found = FindClosest(Text);
    if (found == -1) {
        InvalidKey();
        return;
    }
    if (MultiSelect()) {
        if (previous >= 0 && previous < Count())
            SetSelected(previous, false);
        SetSelected(found, true);
        Perform(LB_SETCARETINDEX, WPARAM(found));
    } else {
        SetItemIndex(found);
    }
    FSearchText = Text;
    DoKeyPress(Message);
    Match();
}

// Every character from the space up is searched for: the byte is unsigned, so Cyrillic letters
// (0xC0 and up in CP1251) are found like Latin ones.
void TGwCustomListBox::WMChar(TWMKey& Message) {
    if (!IncrementalSearch) {
        TCustomListBox::WMChar(Message);
        return;
    }
    const unsigned ch = unsigned(Message.CharCode) & 0xFF;
    switch (ch) {
    case VK_BACK: {
        if (FSearchText.empty()) {
            InvalidKey();
            Search("", Message);
            return;
        }
        const std::string rest = FSearchText.substr(0, FSearchText.size() - 1);
        if (rest.empty()) {
            SetItemIndex(0);
            Click();
            FSearchText.clear();
            DoKeyPress(Message);
            return;
        }
        Search(rest, Message);
        return;
    }
    case VK_RETURN:
        if (TabOnEnter)
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        else
            DoKeyPress(Message);
        return;
    case VK_ESCAPE: SetItemIndex(-1); return;
    default:
        if (ch < 32)
            return;
        if (ch == ' ' && MultiSelect() && !ExtendedSelect())
            return;
        FProcessingChar = true;
        try {
            Search(FSearchText + char(ch), Message);
        } catch (...) {
            FProcessingChar = false;
            throw;
        }
        FSearchTimer->SetEnabled(false);
        FSearchTimer->SetInterval(unsigned(IncrementalSearchResetDelay));
        FSearchTimer->SetEnabled(true);
        FProcessingChar = false;
    }
}

void TGwCustomListBox::SearchTimerFired(TObject*) {
    if (FProcessingChar)
        return;
    FSearchTimer->SetEnabled(false);
    FSearchText.clear();
}

void TGwCustomListBox::WMKeyDown(TWMKey& Message) {
    const WPARAM key = Message.CharCode;
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN))
        FSearchText.clear();
    TCustomListBox::WMKeyDown(Message);
}

// ---- painting -----------------------------------------------------------------------------------

int TGwCustomListBox::TextTop(const TRect& Rect) {
    return Rect.Top + (ItemHeight() - Canvas()->TextHeight("Pp")) / 2;
}

void TGwCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (Style() == lbStandard) {
        TCustomListBox::DrawItem(Index, Rect, State);
        return;
    }
    TCanvas* canvas = Canvas();
    const bool group = FShowGroups && Index >= 0 && GetItemIsGroup(Index);
    if (!group)
        Rect.Left += OwnerDrawItemIndent();
    canvas->SetFont(Font());
    canvas->SetBrush(Brush());
    if (Index >= 0) {
        if (State.Contains(odSelected)) {
            canvas->Brush()->SetColor(clHighlight);
            canvas->Font()->SetColor(clHighlightText);
        }
        if (group)
            DrawGroup(Index, Rect, State);
        else
            DrawListItem(Index, Rect, State);
    } else {
        canvas->FillRect(Rect);
    }
    if (State.Contains(odFocused))
        canvas->DrawFocusRect(Rect);
}

void TGwCustomListBox::DrawListItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        DefaultDrawItem(Index, Rect, State);
}

void TGwCustomListBox::DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState) {
    TCanvas* canvas = Canvas();
    canvas->FillRect(Rect);
    if (Index < 0 || Index >= Count())
        return;
    TRect r = Rect;
    r.Left += 2;
    canvas->DrawText(Items()->Get(Index), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TGwCustomListBox::DrawGroup(int Index, TRect Rect, TOwnerDrawState State) {
    PaintGroupBackground(Rect, State, GwThemesEnabled());
    TCanvas* canvas = Canvas();
    const int saved = canvas->SaveDC();
    canvas->IntersectClipRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    canvas->Brush()->SetStyle(bsClear);
    TRect r = Rect;
    r.Left += 2;
    r.Top = TextTop(Rect);
    canvas->DrawText(ItemCaption(Index), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    canvas->RestoreDC(saved);
    canvas->Brush()->SetStyle(bsSolid);
}

void TGwCustomListBox::PaintGroupBackground(TRect Rect, TOwnerDrawState State, bool themed) {
    TCanvas* canvas = Canvas();
    canvas->SetFont(FGroupFont.get());
    const TColor fill = themed ? GetXPThemeColor(xptcListGroupFill) : FGroupColor;
    if (themed)
        canvas->Font()->SetColor(GetXPThemeColor(xptcListGroupFont));
    if (State.Contains(odSelected)) {
        canvas->Font()->SetColor(clHighlightText);
        canvas->FillRect(Rect);
    } else if (FUseGradients && FullColorSupported) {
        PaintGradient(canvas, Rect, gdVerticalEnd, fill, Color(), 1);
    } else {
        canvas->Brush()->SetColor(fill);
        canvas->FillRect(Rect);
    }
}

void TGwCustomListBox::UpdateItemHeight() { SetItemHeight(GetMinFontHeight(Font())); }

void TGwCustomListBox::AdjustHorzExtent() {
    TScreenDC dc(Font());
    int widest = 0;
    for (int i = 0; i < Count(); ++i)
        widest = Max(widest, dc->TextWidth(Items()->Get(i) + "x"));
    SetHorzExtent(widest);
}

void TGwCustomListBox::RepaintFrame() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TGwCustomListBox::WMNCPaint(TWMNCPaint& Message) {
    TCustomListBox::WMNCPaint(Message);
    if (Message.DC && FFraming.PaintFrame(Message.DC, Width(), Height(), TGwFrameRing::NoColorRing))
        Message.Result = 0;
}

void TGwCustomListBox::WMSize(TWMSize& Message) {
    TCustomListBox::WMSize(Message);
    if (FFraming.DrawsFrame())
        RepaintFrame();
}

// ---- hints --------------------------------------------------------------------------------------

void TGwCustomListBox::DoHint(int X, int Y) {
    const int index = ItemAtPos(TPoint(X, Y), true);
    std::string text = ItemCaption(index);
    int width = 0;
    {
        TScreenDC dc(Font());
        width = dc->TextWidth(text);
    }
    if (ComponentState().Contains(csDesigning) || index < 0 || width + 2 <= ClientWidth() ||
        !Application->Active()) {
        ReleaseHintWindow();
        return;
    }
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->SetColor(Application->HintColor());
    }
    for (size_t tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab))
        text.replace(tab, 1, "        ");
    FHintWindow->SetFont(Font());
    TRect r = FHintWindow->CalcHintRect(Screen->Width(), text, nullptr);
    const int dy = (ItemHeight() - r.Height()) / 2;
    const TRect item = ItemRect(index);
    const TPoint origin = ClientToScreen(TPoint(item.Left, item.Top));
    OffsetRect(r, origin.x - 1, origin.y + dy - 2);
    if (FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()) &&
        FHintWindow->Left() == r.Left && FHintWindow->Top() == r.Top)
        return;
    FHintWindow->ActivateHint(r, text);
}

void TGwCustomListBox::ReleaseHintWindow() {
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
}

// ---- messages -----------------------------------------------------------------------------------

void TGwCustomListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        FSearchText.clear();
        TCustomListBox::Dispatch(Message);
        return;
    case WM_MOUSEMOVE:
        TCustomListBox::Dispatch(Message);
        if (ShowItemHints)
            DoHint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        return;
    default: TCustomListBox::Dispatch(Message);
    }
}

void TGwCustomListBox::WndProc(TMessage& Message) {
    TCustomListBox::WndProc(Message);
    switch (Message.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
        if (FHorzScrollBar)
            AdjustHorzExtent();
        break;
    default: break;
    }
}

void TGwCustomListBox::CMColorChanged(TMessage& Message) {
    TCustomListBox::CMColorChanged(Message);
    FFraming.ColorChanged();
}

void TGwCustomListBox::CMParentColorChanged(TMessage& Message) {
    TCustomListBox::CMParentColorChanged(Message);
    if (FFraming.FrameVisible())
        RepaintFrame();
}

void TGwCustomListBox::CMEnabledChanged(TMessage& Message) {
    TCustomListBox::CMEnabledChanged(Message);
    UpdateColors();
}

void TGwCustomListBox::CMFontChanged(TMessage& Message) {
    TCustomListBox::CMFontChanged(Message);
    if (FHorzScrollBar)
        AdjustHorzExtent();
    if (FShowGroups)
        UpdateItemHeight();
}

void TGwCustomListBox::CMEnter(TMessage& Message) {
    FFocused = true;
    UpdateFrame(false, true);
    TCustomListBox::CMEnter(Message);
}

void TGwCustomListBox::CMExit(TMessage& Message) {
    TCustomListBox::CMExit(Message);
    FFocused = false;
    UpdateFrame(false, false);
}

void TGwCustomListBox::CMMouseEnter(TMessage& Message) {
    TCustomListBox::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    UpdateFrame(true, true);
    if (ShowItemHints) {
        TPoint p;
        GetCursorPos(&p);
        p = ScreenToClient(p);
        DoHint(p.x, p.y);
    }
}

void TGwCustomListBox::CMMouseLeave(TMessage& Message) {
    TCustomListBox::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    UpdateFrame(true, false);
    ReleaseHintWindow();
}

void TGwCustomListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    Perform(LB_SETHORIZONTALEXTENT, WPARAM(FHorzExtent));
}

void TGwCustomListBox::Loaded() {
    TCustomListBox::Loaded();
    if (FHorzScrollBar)
        AdjustHorzExtent();
    UpdateColors();
    UpdateFrame(false, false);
}

void TGwCustomListBox::Resize() {
    TCustomListBox::Resize();
    if (FUseGradients)
        Invalidate();
}

void TGwCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        FFraming.ControllerRemoved(AComponent);
        if (AComponent == FHintWindow)
            FHintWindow = nullptr;
    }
}

// ---- properties ---------------------------------------------------------------------------------

void TGwCustomListBox::SetFrameHotTrack(bool Value) {
    if (Value == FFraming.FrameHotTrack())
        return;
    FFraming.SetFrameHotTrack(Value);
    Invalidate();
}

void TGwCustomListBox::SetFrameVisible(bool Value) {
    if (Value && Value != FFraming.FrameVisible())
        SetCtl3D(true);
    FFraming.SetFrameVisible(Value);
}

// The list shows its own bar when the extent is wider than the box.
void TGwCustomListBox::SetHorzExtent(int Value) {
    Value = Value < 0 ? 0 : Min(Value, 0xFFFF);
    if (Value == FHorzExtent)
        return;
    FHorzExtent = Value;
    Perform(LB_SETHORIZONTALEXTENT, WPARAM(Value));
}

void TGwCustomListBox::SetHorzScrollBar(bool Value) {
    if (Value == FHorzScrollBar)
        return;
    FHorzScrollBar = Value;
    if (Value)
        AdjustHorzExtent();
    else
        SetHorzExtent(0);
}

template <class T> static bool Store(T& Field, const T& Value) {
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

void TGwCustomListBox::SetOwnerDrawIndent(int Value) {
    if (Store(FOwnerDrawIndent, Value))
        Invalidate();
}

void TGwCustomListBox::SetGroupPrefix(const std::string& Value) {
    if (Store(FGroupPrefix, Value))
        Invalidate();
}

void TGwCustomListBox::SetGroupColor(TColor Value) {
    if (Store(FGroupColor, Value))
        Invalidate();
}

void TGwCustomListBox::SetUseGradients(bool Value) {
    if (Store(FUseGradients, Value))
        Invalidate();
}

void TGwCustomListBox::SetShowGroups(bool Value) {
    if (!Store(FShowGroups, Value))
        return;
    if (Value) {
        SetStyle(lbOwnerDrawFixed);
        UpdateItemHeight();
    }
    Invalidate();
}
