// The channel page: channels of one channel type, their properties and set points, binding an
// object's channels, free channels, deletion, unbinding and Alt+Up/Alt+Down renumbering.
#include <algorithm>
#include <vector>

#include "Configmanager.h"
#include "Dockform.h"
#include "Objectstore.h"
#include "Umain.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

const char* const kPropertyRows[] = {"Регистр",
                                     "Название",
                                     "Источник",
                                     "Длина",
                                     "Значение",
                                     "Обработка при записи",
                                     "Обработка при изменении",
                                     "Хранить в ОЗУ. Глубина"};
constexpr int kPropertyRowCount = 8;
constexpr int kMaxIndex = 255;
constexpr TColor kRowOdd = 0xBBEABB, kRowEven = 0xDDEADD;

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

// The highest index of the type's channels, 0 without any.
int HighestIndex(configmanager* config, uint16_t type) {
    ELEMList list;
    config->GetChannelsOfType(&list, type);
    int highest = 0;
    while (list.Newest) {
        ELEM* e = list.Newest;
        highest = std::max<int>(highest, static_cast<TParamItemP*>(e)->Item->ChannelIndex);
        list.Remove(e);
        delete e;
    }
    return highest;
}

} // namespace

bool TMainForm::ListedType(uint16_t& type) {
    int v = 0;
    if (!TryStrToInt(gwneParamType->Text(), v) || v < 1 || v > 65535)
        return false;
    type = static_cast<uint16_t>(v);
    return true;
}

TParamItem* TMainForm::ChannelOfRow(int row) {
    ELEM* e = ChannelRowList.Newest;
    for (int r = 1; e && r < row; ++r)
        e = e->Older;
    return row >= 1 && e ? static_cast<TParamItemP*>(e)->Item : nullptr;
}

void TMainForm::gwneParamTypeChange(TObject*) {
    uint16_t type = 0;
    if (ListedType(type))
        ListChannelRows(type);
}

void TMainForm::ListChannelRows(uint16_t type) {
    EmptyList(ChannelRowList);
    if (type != 0)
        Config->GetChannelsOfType(&ChannelRowList, type);
    if (ChannelRowList.Count == 0) {
        gwsgParamList->SetFixedRows(0);
        gwsgParamList->SetFixedCols(0);
        gwsgParamList->SetRowCount(1);
        gwsgParamList->SetCells(0, 0, "");
        gwsgParamList->SetCells(1, 0, "");
        gwsgParamList->SetEnabled(false);
        ShowListedChannel();
        return;
    }
    gwsgParamList->SetRowCount(static_cast<int>(ChannelRowList.Count) + 1);
    gwsgParamList->SetFixedRows(1);
    gwsgParamList->SetFixedCols(1);
    gwsgParamList->SetCells(0, 0, "№№");
    gwsgParamList->SetCells(1, 0, "Название");
    gwsgParamList->SetColWidths(0, 48);
    int row = 1;
    for (ELEM* e = ChannelRowList.Newest; e; e = e->Older, ++row) {
        TParamItem* p = static_cast<TParamItemP*>(e)->Item;
        gwsgParamList->SetCells(0, row, IntToStr(p->ChannelIndex));
        gwsgParamList->SetCells(1, row, p->Name);
    }
    gwsgParamList->SetEnabled(true);
    ShowListedChannel();
}

void TMainForm::ShowListedChannel() {
    // An editor still open belongs to the channel shown before the list was refilled.
    FreeHosts(gwsgMainParamProperties);
    TGridRect sel = gwsgParamList->Selection();
    TParamItem* p = ChannelOfRow(sel.Top);
    if (p && sel.Top != sel.Bottom) {
        for (int r = 0; r < kPropertyRowCount; ++r)
            gwsgMainParamProperties->SetCells(1, r, "-");
    } else if (p) {
        ShowChannel(p, gwsgMainParamProperties, gwsgSpecParamProperties, false);
    } else {
        ClearChannelDetails(gwsgMainParamProperties, gwsgSpecParamProperties);
    }
}

void TMainForm::ClearChannelDetails(TGwStringGrid* main, TGwStringGrid* setpoints) {
    FreeHosts(main);
    FreeHosts(setpoints);
    for (int r = 0; r < kPropertyRowCount; ++r) {
        main->SetCells(0, r, kPropertyRows[r]);
        main->SetCells(1, r, "");
    }
    setpoints->SetRowCount(1);
    setpoints->SetCells(0, 0, "");
    setpoints->SetCells(1, 0, "");
}

void TMainForm::gwneParamTypeEnter(TObject*) {
    std::string text = gwneParamType->Text();
    Config->ListChannelTypes(gwneParamType->Items());
    gwneParamType->SetText(text);
}

void TMainForm::gwsgParamListResize(TObject*) {
    for (TGwStringGrid* g :
         {gwsgMainParamProperties, gwsgSpecParamProperties, gwsgObjectProperty, gwsgObjectCommand,
          gwsgMainParamPropertiesExpress, gwsgSpecParamPropertiesExpress, gwsgNewParamProperty}) {
        g->SetColWidths(0, 200);
        g->SetColWidths(1, std::max(0, g->ClientWidth() - 200 - 2));
        g->SetLeftCol(0);
    }
    for (int r = 0; r < kPropertyRowCount; ++r) {
        gwsgMainParamProperties->SetCells(0, r, kPropertyRows[r]);
        gwsgMainParamPropertiesExpress->SetCells(0, r, kPropertyRows[r]);
    }
    gwsgParamList->SetColWidths(0, 48);
    gwsgParamList->SetColWidths(1, std::max(0, gwsgParamList->ClientWidth() - 5 - 48));
}

void TMainForm::ShowChannel(TParamItem* p, TGwStringGrid* main, TGwStringGrid* setpoints, bool names) {
    bool bound = p->ChannelType != 0 || p->ChannelIndex != 0;
    std::string value;
    if (p->Owner)
        p->Owner->GetParamValueText(p, value);
    else if (p->BitWidth() != 0)
        value = ChannelValueText(p);
    std::string address = IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex);
    const std::string cells[kPropertyRowCount] = {
        names && !bound ? "отсутвует" : address,
        p->Name,
        p->Owner ? ObjectLineText(p->Owner) : "нет",
        IntToStr(p->BitWidth()),
        value,
        names ? Config->GetSubprogramName(p->WriteHandler) : IntToStr(p->WriteHandler),
        names ? Config->GetSubprogramName(p->ChangeHandler) : IntToStr(p->ChangeHandler),
        IntToStr(p->RamDepth)};
    for (int r = 0; r < kPropertyRowCount; ++r) {
        main->SetCells(0, r, kPropertyRows[r]);
        main->SetCells(1, r, cells[r]);
    }
    FreeHosts(setpoints);
    setpoints->SetRowCount(1);
    setpoints->SetCells(0, 0, "");
    setpoints->SetCells(1, 0, "");
    SetpointNames->Clear();
    if (!p->Owner)
        return;
    p->Owner->ListSetpoints(SetpointNames.get(), p);
    if (SetpointNames->Count() == 0)
        return;
    setpoints->SetRowCount(SetpointNames->Count());
    for (int i = 0; i < SetpointNames->Count(); ++i) {
        std::string text;
        p->Owner->GetSetpointText(i, p, text);
        setpoints->SetCells(0, i, (*SetpointNames)[i]);
        setpoints->SetCells(1, i, text);
    }
}

void TMainForm::gwsgParamListSelectCell(TObject*, int, int ARow, bool&) {
    TGridRect sel = gwsgParamList->Selection();
    if (ShiftDown() || sel.Top != sel.Bottom) {
        for (int r = 0; r < kPropertyRowCount; ++r)
            gwsgMainParamProperties->SetCells(1, r, "-");
        return;
    }
    if (TParamItem* p = ChannelOfRow(ARow))
        ShowChannel(p, gwsgMainParamProperties, gwsgSpecParamProperties, false);
}

void TMainForm::gwsgParamListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    if (!Shift.Contains(ssLeft))
        return;
    int col = 0, row = 0;
    gwsgParamList->MouseToCell(X, Y, col, row);
    bool can = true;
    if (row >= 1)
        gwsgParamListSelectCell(Sender, col, row, can);
}

void TMainForm::gwsgParamListKeyDown(TObject*, WORD& Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN))
        Key = 0;
}

bool TMainForm::MoveChannels(int delta) {
    TGridRect sel = gwsgParamList->Selection();
    TParamItem* first = ChannelOfRow(sel.Top);
    TParamItem* last = ChannelOfRow(sel.Bottom);
    uint16_t type = 0;
    if (!first || !last || !ListedType(type))
        return false;
    int top = first->ChannelIndex, bottom = last->ChannelIndex;
    if ((delta < 0 && top <= 1) || (delta > 0 && bottom >= kMaxIndex))
        return false;
    std::vector<std::pair<TParamItem*, int>> moves;
    TParamItem* neighbour = ChannelOfRow(delta < 0 ? sel.Top - 1 : sel.Bottom + 1);
    if (neighbour && neighbour->ChannelIndex == (delta < 0 ? top - 1 : bottom + 1))
        moves.emplace_back(neighbour, delta < 0 ? bottom : top);
    for (int r = sel.Top; r <= sel.Bottom; ++r)
        if (TParamItem* p = ChannelOfRow(r))
            moves.emplace_back(p, p->ChannelIndex + delta);
    for (auto& [p, index] : moves) {
        if (p->Owner)
            p->Owner->BindParam(p->ChannelType, static_cast<uint8_t>(index), p);
        else
            p->SetAddress(p->ChannelType, static_cast<uint8_t>(index));
    }
    return true;
}

void TMainForm::gwsgParamListKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        TGridRect sel = gwsgParamList->Selection();
        int delta = Key == VK_UP ? -1 : 1;
        if (MoveChannels(delta)) {
            gwneParamTypeChange(Sender);
            gwsgParamList->SetSelection(TGridRect(0, sel.Top + delta, 1, sel.Bottom + delta));
            ShowListedChannel();
        }
        Key = 0;
        return;
    }
    if (Key != VK_DELETE)
        return;
    TGridRect sel = gwsgParamList->Selection();
    std::vector<TParamItem*> chosen;
    for (int r = sel.Top; r <= sel.Bottom; ++r)
        if (TParamItem* p = ChannelOfRow(r))
            chosen.push_back(p);
    EmptyList(ChannelRowList);
    for (TParamItem* p : chosen) {
        if (!p->Owner) {
            if (MessageDlg("Удалить безвозвратно?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}) == mrYes) {
                Config->Channels.Remove(p);
                delete p;
            }
        } else if (p->Flag2 == 1) {
            p->Owner->BindParam(0, 0, p);
        }
    }
    gwneParamTypeChange(Sender);
    GwListBox1Click(Sender);
}

void TMainForm::gwsgParamListDblClick(TObject*) { GwPageControl1->SetActivePage(tsParamProperty); }

void TMainForm::gwsgParamListDrawCell(TObject*, int ACol, int ARow, TRect Rect, TGridDrawState State) {
    if (ACol != 1 || ARow < 1)
        return;
    TCanvas* canvas = gwsgParamList->Canvas();
    if (!State.Contains(gdSelected))
        canvas->Brush()->SetColor(ARow % 2 ? kRowOdd : kRowEven);
    canvas->FillRect(Rect);
    canvas->TextOut(Rect.Left, Rect.Top, gwsgParamList->Cells(ACol, ARow));
}

void TMainForm::gwsgSpecParamPropertiesSelectCell(TObject* Sender, int, int ARow, bool& CanSelect) {
    auto* grid = static_cast<TGwStringGrid*>(Sender);
    if (!HoldsFocus(grid))
        return;
    TGridRect sel = gwsgParamList->Selection();
    TParamItem* p = sel.Top == sel.Bottom ? ChannelOfRow(sel.Top) : nullptr;
    if (!p || !p->Owner || (grid == gwsgSpecParamProperties && SetpointNames->Count() == 0))
        return;
    TPanel* host = HostFor(grid, ARow);
    TNotifyEvent exit = [this](TObject* s) { gwsgSpecParamPropertiesExit(s); };
    TWinControl* editor = grid == gwsgSpecParamProperties
                              ? p->Owner->CreateSetpointEditor(p, ARow, host, exit, nullptr)
                              : CreateChannelPropertyEditor(p, ARow, host, exit, nullptr);
    if (ShowInHost(host, editor))
        CanSelect = true;
}

void TMainForm::gwsgSpecParamPropertiesExit(TObject* Sender) {
    if (Sender == gwsgMainParamProperties || Sender == gwsgSpecParamProperties)
        return;
    ReleaseEditor(Sender);
    CloseChannelEditors();
}

void TMainForm::CloseChannelEditors() {
    FreeHosts(gwsgMainParamProperties);
    FreeHosts(gwsgSpecParamProperties);
    TGridRect sel = gwsgParamList->Selection();
    if (TParamItem* p = sel.Top == sel.Bottom ? ChannelOfRow(sel.Top) : nullptr)
        ShowChannel(p, gwsgMainParamProperties, gwsgSpecParamProperties, false);
}

void TMainForm::GwListBox1Click(TObject*) {
    EmptyList(SignalParamList);
    GwListBox2->Items()->Clear();
    TObjectItem* object = SelectedObject(GwListBox1);
    if (!object)
        return;
    object->ListSignalParams(&SignalParamList, false);
    for (ELEM* e = SignalParamList.Oldest; e; e = e->Newer)
        GwListBox2->Items()->Add(static_cast<TParamItemP*>(e)->Item->Name);
}

void TMainForm::GwListBox2DblClick(TObject* Sender) {
    int row = GwListBox2->ItemIndex();
    ELEM* e = row < 0 ? nullptr : SignalParamList.At(static_cast<uint32_t>(row));
    uint16_t type = 0;
    if (!e || !ListedType(type))
        return;
    TParamItem* p = static_cast<TParamItemP*>(e)->Item;
    int highest = HighestIndex(Config, type);
    if (highest >= kMaxIndex) {
        // Index 256 would wrap to 0 and leave the channel unbound while it looked bound.
        AddMessage("Достигнуто максимально допустимое количество каналов", kMessageInfo);
        mmMessageViewClick(Sender);
        return;
    }
    p->Owner->BindParam(type, static_cast<uint8_t>(highest + 1), p);
    gwneParamTypeEnter(Sender);
    GwListBox1Click(Sender);
    gwneParamTypeChange(Sender);
}

void TMainForm::GwButton1Click(TObject* Sender) {
    uint16_t type = 0;
    if (!ListedType(type))
        return;
    // Count, bit length, the two subprogram ids, RAM depth: a number outside its field is named with
    // the field's range; a text that is no number ends the command.
    constexpr int64_t kLowest[5] = {1, 0, 0, 0, 0};
    constexpr int64_t kHighest[5] = {kMaxIndex, 65535, 65535, 65535, 255};
    int64_t values[5] = {0, 0, 0, 0, 0};
    for (int r = 0; r < 5; ++r) {
        const std::string& text = gwsgNewParamProperty->Cells(1, r);
        if (text.empty() && r > 0)
            continue;
        if (!ReadNumberInRange(text, kLowest[r], kHighest[r], gwsgNewParamProperty->Cells(0, r), values[r]))
            return;
    }
    const int count = static_cast<int>(values[0]);
    const int first = HighestIndex(Config, type) + 1;
    if (first + count - 1 > kMaxIndex) {
        AddMessage("Достигнуто максимально допустимое количество каналов", kMessageInfo);
        mmMessageViewClick(Sender);
        return;
    }
    for (int i = 0; i < count; ++i) {
        TParamItem* p = Config->NewChannel(type, static_cast<uint8_t>(first + i));
        p->WriteHandler = static_cast<uint16_t>(values[2]);
        p->ChangeHandler = static_cast<uint16_t>(values[3]);
        p->SetBitWidth(static_cast<uint16_t>(values[1]));
        if (p->RamDepth != values[4])
            p->SetRamDepth(static_cast<uint8_t>(values[4]));
        p->Value.Fill(values[4] == 0 ? 0x00 : 0xFF);
    }
    gwneParamTypeChange(Sender);
}
