// The object page: the object list, the selected object's properties and poll commands with the
// in-place editors the object makes, and object deletion.
#include "Configmanager.h"
#include "Umain.h"
#include "winapi.h"

#include <utility>

namespace {

constexpr TColor kObjectOdd = 0xEABBBB, kObjectEven = 0xEADDDD;

} // namespace

TObjectItem* TMainForm::SelectedObject(TGwListBox* list) {
    // By row: two objects may show the same text.
    int row = list->ItemIndex();
    if (row < 0)
        return nullptr;
    ELEM* e = ObjectSnapshot.At(static_cast<uint32_t>(row));
    return e ? static_cast<TObjectItemP*>(e)->Item : nullptr;
}

void TMainForm::gwlbObjectListClick(TObject*) {
    TObjectItem* object = SelectedObject(gwlbObjectList);
    if (!object)
        return;
    PropertyNames->Clear();
    object->GetPropertyNames(PropertyNames.get());
    gwsgObjectProperty->SetRowCount(PropertyNames->Count());
    gwsgObjectProperty->SetCells(0, 0, "");
    gwsgObjectProperty->SetCells(1, 0, "");
    for (int i = 0; i < PropertyNames->Count(); ++i) {
        std::string text;
        object->GetPropertyText(i, text);
        gwsgObjectProperty->SetCells(0, i, (*PropertyNames)[i]);
        gwsgObjectProperty->SetCells(1, i, text);
        gwsgObjectProperty->SetObjects(1, i, static_cast<TObject*>(object->GetPropertyData(i)));
    }
    CommandNames->Clear();
    object->GetPollCommandNames(CommandNames.get());
    gwsgObjectCommand->SetRowCount(CommandNames->Count());
    gwsgObjectCommand->SetCells(0, 0, "");
    gwsgObjectCommand->SetCells(1, 0, "");
    for (int i = 0; i < CommandNames->Count(); ++i) {
        std::string text;
        object->GetCommandModeText(i, text);
        gwsgObjectCommand->SetCells(0, i, (*CommandNames)[i]);
        gwsgObjectCommand->SetCells(1, i, text);
    }
    gwsgObjectProperty->SetLeftCol(0);
    gwsgObjectCommand->SetLeftCol(0);
}

void TMainForm::ClearObjectDetails() {
    FreeHosts(gwsgObjectProperty);
    FreeHosts(gwsgObjectCommand);
    PropertyNames->Clear();
    CommandNames->Clear();
    for (auto [grid, rows] : {std::pair{gwsgObjectProperty, kObjectPropertyRows},
                              std::pair{gwsgObjectCommand, kObjectCommandRows}}) {
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            grid->SetCells(0, r, "");
            grid->SetCells(1, r, "");
            grid->SetObjects(1, r, nullptr);
        }
    }
}

void TMainForm::gwlbObjectListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State) {
    auto* list = static_cast<TGwListBox*>(Control);
    TCanvas* canvas = list->Canvas();
    bool selected = State.Contains(odSelected) || State.Contains(odFocused);
    canvas->Brush()->SetColor(selected ? clHighlight : Index % 2 ? kObjectOdd : kObjectEven);
    canvas->Font()->SetColor(selected ? clHighlightText : clBlack);
    canvas->FillRect(Rect);
    canvas->TextOut(Rect.Left, Rect.Top, list->Items()->Get(Index));
}

void TMainForm::gwsgObjectPropertySelectCell(TObject* Sender, int, int ARow, bool& CanSelect) {
    auto* grid = static_cast<TGwStringGrid*>(Sender);
    bool properties = grid == gwsgObjectProperty;
    if ((properties ? PropertyNames : CommandNames)->Count() == 0)
        return;
    if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) && HostOf(grid)) {
        CanSelect = false;
        return;
    }
    TObjectItem* object = SelectedObject(gwlbObjectList);
    if (!object)
        return;
    TPanel* host = HostFor(grid, ARow);
    TNotifyEvent exit = [this](TObject* s) { gwsgObjectPropertyExit(s); };
    TWinControl* editor = properties ? object->CreatePropertyEditor(ARow, host, exit, nullptr)
                                     : object->CreateCommandModeEditor(ARow, host, exit, nullptr);
    if (ShowInHost(host, editor))
        CanSelect = true;
}

void TMainForm::gwsgObjectPropertyExit(TObject* Sender) {
    if (Sender == gwsgObjectProperty || Sender == gwsgObjectCommand)
        return;
    ReleaseEditor(Sender);
    CloseObjectEditors();
}

void TMainForm::CloseObjectEditors() {
    FreeHosts(gwsgObjectProperty);
    FreeHosts(gwsgObjectCommand);
    TObjectItem* object = SelectedObject(gwlbObjectList);
    if (!object)
        return;
    gwlbObjectListClick(this);
    int n = 0;
    for (ELEM* e = ObjectSnapshot.Oldest; e; e = e->Newer, ++n) {
        std::string text = ObjectLineText(static_cast<TObjectItemP*>(e)->Item);
        if (n < GwListBox1->Items()->Count())
            GwListBox1->Items()->Put(n, text);
        if (n < gwlbObjectList->Items()->Count())
            gwlbObjectList->Items()->Put(n, text);
    }
    FillExpressTree();
}

void TMainForm::gwsgObjectPropertyDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState) {
    auto* grid = static_cast<TGwStringGrid*>(Sender);
    if (!grid->Objects(ACol, ARow))
        return;
    grid->Canvas()->Font()->SetName("Wingdings");
    grid->Canvas()->TextOut(Rect.Left + 2, Rect.Top + 2, grid->Cells(ACol, ARow));
}

void TMainForm::mmDeleteObjClick(TObject* Sender) {
    TObjectItem* object = SelectedObject(gwlbObjectList);
    if (!object)
        return;
    Config->DeleteObject(object);
    RefreshAllViews(Sender);
}

void TMainForm::GwListBox1KeyUp(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_UP || Key == VK_DOWN)
        GwListBox1Click(GwListBox1);
}
