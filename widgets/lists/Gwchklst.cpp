// The Gw check list: items with three-state check boxes and enabled flags, their toggle rules,
// drawing (own check boxes, themed or a custom glyph strip) and the "&" text format.
#include "Gwchklst.h"

#include "Gwthemesrv.h"
#include "Gwutils.h"
#include "winapi.h"

// ---- the text format ----------------------------------------------------------------------------

TGwCheckListLine DecodeCheckListLine(const std::string& Line) {
    TGwCheckListLine line;
    if (Line.size() < 5 || Line[0] != '&') {
        line.Text = Line;
        return line;
    }
    const char state = Line[3];
    if (state < '0' || state > '2')
        throw EConvertError("'" + std::string(1, state) + "' is not a valid check state");
    line.Packet.Enabled = Line[1] == '1';
    line.Packet.State = TCheckBoxState(state - '0');
    line.Text = Line.substr(5);
    return line;
}

std::string EncodeCheckListLine(const std::string& Text, const TPacket& Packet) {
    return std::string("&") + (Packet.Enabled ? '1' : '0') + ' ' + char('0' + int(Packet.State)) + ' ' + Text;
}

// ---- TPacketStringList --------------------------------------------------------------------------

TPacketStringList::~TPacketStringList() = default;

int TPacketStringList::AddObject(const std::string& S, TObject* AObject) {
    const int before = Count();
    const int index = TStringList::AddObject(S, AObject);
    if (Count() == before)
        return index;
    FPackets.insert(FPackets.begin() + index, std::make_unique<TPacket>());
    return index;
}

void TPacketStringList::AddStrings(const TStrings* Strings) {
    auto* items = dynamic_cast<const TGwCheckListStrings*>(Strings);
    if (!items) {
        TStringList::AddStrings(Strings);
        return;
    }
    BeginUpdate();
    for (int i = 0; i < items->Count(); ++i) {
        const int index = AddObject(items->Get(i), items->GetObject(i));
        *Packet(index) = *items->Packet(i);
    }
    EndUpdate();
}

void TPacketStringList::Clear() {
    TStringList::Clear();
    FPackets.clear();
}

// ---- TGwCheckListStrings ------------------------------------------------------------------------

TGwCheckListStrings::~TGwCheckListStrings() = default;

void TGwCheckListStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
}

TPacket* TGwCheckListStrings::Packet(int Index) const {
    if (Index < 0 || Index >= int(FPackets.size()))
        Error("List index out of bounds (%d)", Index);
    return FPackets[size_t(Index)].get();
}

int TGwCheckListStrings::GetCount() const { return FCheckList ? int(FCheckList->Perform(LB_GETCOUNT)) : 0; }

std::string TGwCheckListStrings::Get(int Index) const {
    if (!FCheckList)
        return "";
    const LRESULT length = FCheckList->Perform(LB_GETTEXTLEN, WPARAM(Index));
    if (length == LB_ERR)
        Error("List index out of bounds (%d)", Index);
    std::string text(size_t(length) + 1, '\0');
    FCheckList->Perform(LB_GETTEXT, WPARAM(Index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(length));
    return text;
}

TObject* TGwCheckListStrings::GetObject(int Index) const {
    if (!FCheckList)
        return nullptr;
    const LRESULT data = FCheckList->Perform(LB_GETITEMDATA, WPARAM(Index));
    if (data == LB_ERR)
        Error("List index out of bounds (%d)", Index);
    return reinterpret_cast<TObject*>(data);
}

void TGwCheckListStrings::PutObject(int Index, TObject* AObject) {
    if (FCheckList)
        FCheckList->Perform(LB_SETITEMDATA, WPARAM(Index), reinterpret_cast<LPARAM>(AObject));
}

// The new packet goes where the list box put the text (a sorted box chooses).
int TGwCheckListStrings::InsertItem(int Index, const std::string& S) {
    if (!FCheckList)
        return -1;
    FCheckList->FDrawingSuspended = true;
    LRESULT at;
    try {
        at = Index < 0
                 ? FCheckList->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()))
                 : FCheckList->Perform(LB_INSERTSTRING, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str()));
    } catch (...) {
        FCheckList->FDrawingSuspended = false;
        throw;
    }
    FCheckList->FDrawingSuspended = false;
    if (at < 0)
        Error("List index out of bounds (%d)", Index);
    FPackets.insert(FPackets.begin() + at, std::make_unique<TPacket>());
    return int(at);
}

int TGwCheckListStrings::Add(const std::string& S) { return InsertItem(-1, S); }

void TGwCheckListStrings::Insert(int Index, const std::string& S) { InsertItem(Index, S); }

void TGwCheckListStrings::Replace(int Index, const std::string& S, TObject* Object, const TPacket& Values) {
    FCheckList->Perform(LB_DELETESTRING, WPARAM(Index));
    FPackets.erase(FPackets.begin() + Index);
    InsertItem(Index, S);
    PutObject(Index, Object);
    *FPackets[size_t(Index)] = Values;
}

void TGwCheckListStrings::Put(int Index, const std::string& S) {
    CheckIndex(Index);
    const int selected = FCheckList->ItemIndex();
    const TPacket values = *Packet(Index);
    Replace(Index, S, GetObject(Index), values);
    FCheckList->SetItemIndex(selected);
}

void TGwCheckListStrings::Delete(int Index) {
    CheckIndex(Index);
    FCheckList->Perform(LB_DELETESTRING, WPARAM(Index));
    FPackets.erase(FPackets.begin() + Index);
}

void TGwCheckListStrings::Clear() {
    if (FCheckList)
        FCheckList->Perform(LB_RESETCONTENT);
    FPackets.clear();
}

void TGwCheckListStrings::Exchange(int Index1, int Index2) {
    if (Index1 == Index2)
        return;
    CheckIndex(Index1);
    CheckIndex(Index2);
    const std::string text1 = Get(Index1), text2 = Get(Index2);
    TObject* object1 = GetObject(Index1);
    TObject* object2 = GetObject(Index2);
    const TPacket packet1 = *Packet(Index1), packet2 = *Packet(Index2);
    BeginUpdate();
    Replace(Index1, text2, object2, packet2);
    Replace(Index2, text1, object1, packet1);
    EndUpdate();
}

void TGwCheckListStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    const std::string text = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    const TPacket packet = *Packet(CurIndex);
    BeginUpdate();
    Delete(CurIndex);
    InsertItem(NewIndex, text);
    PutObject(NewIndex, object);
    *FPackets[size_t(NewIndex)] = packet;
    EndUpdate();
}

void TGwCheckListStrings::AddDecoded(const std::string& Line, TObject* Object) {
    const TGwCheckListLine line = DecodeCheckListLine(Line);
    const int index = AddObject(line.Text, Object);
    *FPackets[size_t(index)] = line.Packet;
}

void TGwCheckListStrings::AddStrings(const TStrings* Strings) {
    auto* packets = dynamic_cast<const TPacketStringList*>(Strings);
    auto* items = dynamic_cast<const TGwCheckListStrings*>(Strings);
    BeginUpdate();
    try {
        for (int i = 0; i < Strings->Count(); ++i) {
            const std::string text = Strings->Get(i);
            TObject* object = Strings->GetObject(i);
            if (packets || items) {
                const int index = AddObject(text, object);
                *FPackets[size_t(index)] = packets ? *packets->Packet(i) : *items->Packet(i);
            } else if (!text.empty() && text[0] == '&') {
                AddDecoded(text, object);
            } else {
                AddObject(text, object);
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TGwCheckListStrings::FormattedText() const {
    std::string text;
    for (int i = 0; i < GetCount(); ++i)
        text += EncodeCheckListLine(Get(i), *Packet(i)) + "\r\n";
    return text;
}

void TGwCheckListStrings::SaveToStream(TStream* Stream) const {
    const std::string text = FormattedText();
    Stream->WriteBuffer(text.data(), int(text.size()));
}

// A malformed line stops the load with EConvertError; the lines before it stay loaded.
void TGwCheckListStrings::LoadFormatted(const TStrings* Lines) {
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < Lines->Count(); ++i)
            AddDecoded(Lines->Get(i), nullptr);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TGwCheckListStrings::LoadFromStream(TStream* Stream) {
    TStringList lines;
    lines.LoadFromStream(Stream);
    LoadFormatted(&lines);
}

// ---- TGwCheckList -------------------------------------------------------------------------------

TGwCheckList::TGwCheckList(TComponent* AOwner)
    : TGwCustomTabbedListBox(AOwner), FCheckItems(std::make_unique<TGwCheckListStrings>(this)),
      FCustomGlyphs(std::make_unique<TBitmap>()) {
    SetStyle(lbOwnerDrawFixed);
    FCustomGlyphs->OnChange = [this](TObject*) { CustomGlyphsChanged(); };
    UpdateItemHeight();
}

TGwCheckList::~TGwCheckList() { FCustomGlyphs->OnChange = nullptr; }

int TGwCheckList::AddEx(const std::string& S, bool Checked, bool Enabled) {
    const int index = Items()->Add(S);
    SetItemChecked(index, Checked);
    SetItemEnabled(index, Enabled);
    return index;
}

void TGwCheckList::CheckAll() {
    for (int i = 0; i < Count(); ++i)
        SetItemState(i, cbChecked);
}

void TGwCheckList::UncheckAll() {
    for (int i = 0; i < Count(); ++i)
        SetItemState(i, cbUnchecked);
}

int TGwCheckList::ItemsChecked() const {
    int checked = 0;
    for (int i = 0; i < Count(); ++i)
        checked += ItemChecked(i) && !ItemIsGroup(i) ? 1 : 0;
    return checked;
}

// A group runs from the item after its header to the next header; a missing group starts at item 0.
void TGwCheckList::SetGroupState(int GroupIndex, TCheckBoxState State) {
    for (int i = ItemIndexOfGroup(GroupIndex) + 1; i < Count() && !ItemIsGroup(i); ++i)
        SetItemState(i, State);
}

void TGwCheckList::SetGroupEnabled(int GroupIndex, bool Value) {
    for (int i = ItemIndexOfGroup(GroupIndex) + 1; i < Count() && !ItemIsGroup(i); ++i)
        SetItemEnabled(i, Value);
}

void TGwCheckList::LoadFromFile(const std::string& FileName) {
    TStringList lines;
    lines.LoadFromFile(FileName);
    FCheckItems->LoadFormatted(&lines);
}

void TGwCheckList::SaveToFile(const std::string& FileName) const {
    TStringList lines;
    lines.SetText(FCheckItems->FormattedText());
    lines.SaveToFile(FileName);
}

TRect TGwCheckList::GlyphZone(int Index) const {
    const TRect item = ItemRect(Index);
    const int margin = (ItemHeight() - FGlyphHeight) / 2;
    return TRect(item.Left, item.Top + margin, item.Left + FGlyphWidth + 4, item.Top + ItemHeight() - margin);
}

void TGwCheckList::SetItemState(int Index, TCheckBoxState Value) {
    TPacket* packet = FCheckItems->Packet(Index);
    if (packet->State == Value)
        return;
    packet->State = Value;
    if (HandleAllocated()) {
        const TRect zone = GlyphZone(Index);
        InvalidateRect(Handle(), &zone, false);
    }
}

void TGwCheckList::SetItemEnabled(int Index, bool Value) {
    TPacket* packet = FCheckItems->Packet(Index);
    if (packet->Enabled == Value)
        return;
    packet->Enabled = Value;
    Invalidate();
}

bool TGwCheckList::CanChange(int Index, TCheckBoxState NewState) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Index, NewState, allow);
    return allow;
}

void TGwCheckList::Change(int Index, TCheckBoxState NewState) {
    if (OnChange)
        OnChange(this, Index, NewState);
}

void TGwCheckList::ToggleCheckState() {
    const int index = ItemIndex();
    if (index < 0 || !ItemEnabled(index) || ItemIsGroup(index))
        return;
    static constexpr TCheckBoxState next[] = {cbChecked, cbUnchecked, cbChecked};
    const TCheckBoxState state = ItemState(index);
    const TCheckBoxState newState = state == cbUnchecked && FAllowGrayed ? cbGrayed : next[state];
    const bool allowed = CanChange(index, newState);
    FTogglePending = false;
    if (!allowed)
        return;
    SetItemState(index, newState);
    Change(index, newState);
}

void TGwCheckList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const int index = ItemAtPos(TPoint(X, Y), true);
    if (Button == mbLeft && index >= 0) {
        TRect zone = ItemRect(index);
        zone.Right = zone.Left + FGlyphWidth + 4;
        if (ToggleOnItemClick || PtInRect(zone, TPoint(X, Y))) {
            FTogglePending = true;
            FRememberedIndex = ItemIndex();
        }
    } else if (Button == mbRight && index >= 0 && index != ItemIndex()) {
        SetItemIndex(index);
        Click();
    }
    TGwCustomTabbedListBox::MouseDown(Button, Shift, X, Y);
}

void TGwCheckList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FTogglePending) {
        FTogglePending = false;
        if (ItemIndex() == FRememberedIndex && PtInRect(ClientRect(), TPoint(X, Y)))
            ToggleCheckState();
    }
    TGwCustomTabbedListBox::MouseUp(Button, Shift, X, Y);
}

void TGwCheckList::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE)
        FTogglePending = true;
    FRememberedIndex = ItemIndex();
    TGwCustomTabbedListBox::KeyDown(Key, Shift);
}

void TGwCheckList::KeyUp(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE && FTogglePending)
        ToggleCheckState();
    TGwCustomTabbedListBox::KeyUp(Key, Shift);
}

// The space toggles (on its key up); it is no search character.
void TGwCheckList::WMChar(TWMKey& Message) {
    if (Message.CharCode == ' ')
        return;
    TGwCustomTabbedListBox::WMChar(Message);
}

void TGwCheckList::CMFontChanged(TMessage& Message) {
    TGwCustomTabbedListBox::CMFontChanged(Message);
    UpdateItemHeight();
}

void TGwCheckList::CMEnabledChanged(TMessage& Message) {
    TGwCustomTabbedListBox::CMEnabledChanged(Message);
    for (int i = 0; i < Count(); ++i)
        FCheckItems->Packet(i)->Enabled = Enabled();
    Invalidate();
}

void TGwCheckList::UpdateItemHeight() { SetItemHeight(Max(FGlyphHeight + 4, GetMinFontHeight(Font()))); }

void TGwCheckList::SetUseCustomGlyphs(bool Value) {
    FUseCustomGlyphs = Value;
    if (Value && !FCustomGlyphs->Empty()) {
        FGlyphWidth = FCustomGlyphs->Width() / CheckListGlyphFrames;
        FGlyphHeight = FCustomGlyphs->Height();
    } else {
        FGlyphWidth = 13;
        FGlyphHeight = 13;
    }
    UpdateItemHeight();
    Invalidate();
}

void TGwCheckList::SetCustomGlyphs(TBitmap* Value) {
    FCustomGlyphs->Assign(Value);
    CustomGlyphsChanged();
}

void TGwCheckList::CustomGlyphsChanged() {
    if (ComponentState().Contains(csLoading))
        return;
    SetUseCustomGlyphs(!FCustomGlyphs->Empty());
}

void TGwCheckList::SetColour(TColor& Field, TColor Value) {
    if (Field == Value)
        return;
    Field = Value;
    Invalidate();
}

void TGwCheckList::SelectGlyph(int Index, TBitmap* Glyph) {
    Glyph->SetSize(FGlyphWidth, FGlyphHeight);
    const TRect box(0, 0, FGlyphWidth, FGlyphHeight);
    const TCheckBoxState state = ItemState(Index);
    const bool enabled = ItemEnabled(Index);
    if (FUseCustomGlyphs) {
        const int frame = int(state) + (enabled ? 0 : 3);
        Glyph->Canvas()->CopyRect(box, FCustomGlyphs->Canvas(),
                                  TRect(frame * FGlyphWidth, 0, (frame + 1) * FGlyphWidth, FGlyphHeight));
    } else if (ThemeServices()->ThemesEnabled()) {
        const int detail = tbCheckBoxUncheckedNormal + 4 * int(state) + (enabled ? 0 : 3);
        ThemeServices()->DrawElement(Glyph->Canvas(),
                                     TThemeServices::GetElementDetails(TThemedButton(detail)), box);
    } else {
        TGwGlyphColors look;
        look.DisplayState = enabled ? bdsNormal : bdsDisabled;
        look.Focused = FramingFocused();
        look.FrameColor = FItemFrameColor;
        look.HighlightColor = FHighlightColor;
        look.FillColor = FItemFillColor;
        look.FocusColor = FItemFocusColor;
        look.DisabledColor = DisabledColor();
        look.HotTrackStartColor = clLime;
        look.HotTrackStopColor = clRed;
        look.ReadOnlyColor = clWindow;
        DrawCheckBox(Glyph->Canvas(), box, state, look);
    }
}

void TGwCheckList::DrawListItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (FDrawingSuspended)
        return;
    TCanvas* canvas = Canvas();
    TBitmap glyph;
    SelectGlyph(Index, &glyph);
    canvas->FillRect(Rect);
    TBitmap shown;
    shown.SetSize(FGlyphWidth, FGlyphHeight);
    const TRect box(0, 0, FGlyphWidth, FGlyphHeight);
    shown.Canvas()->Brush()->SetColor(Color());
    shown.Canvas()->BrushCopy(box, &glyph, box, FTransparentColor);
    canvas->Draw(Rect.Left - FGlyphWidth - 4, Rect.Top + (ItemHeight() - FGlyphHeight) / 2, &shown);
    canvas->SetFont(Font());
    if (!ItemEnabled(Index) || !Enabled())
        canvas->Font()->SetColor(ColorToRGB(Color()) == ColorToRGB(clBtnShadow) ? clBtnFace : clBtnShadow);
    const int saved = canvas->SaveDC();
    canvas->IntersectClipRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    if (State.Contains(odSelected)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        DefaultDrawItem(Index, Rect, State);
    canvas->RestoreDC(saved);
}
