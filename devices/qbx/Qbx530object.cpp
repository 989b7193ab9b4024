// The cell controller QBX-530 and the discrete-input controller QBX-550. Device layer.
#include "Qbx530object.h"

#include "Editorkit.h"

using namespace qbx;

namespace {

constexpr int kModeByte = 6; // of the control-channel table

} // namespace

TQbxCellItem::TQbxCellItem(const CellDeviceDef& def, uint16_t number, ELEMList* channels,
                           actionManager* store)
    : TDeviceEngine(def.device, number, channels, store), FCell(def) {
    NameParams();
}

TQbx530Item::TQbx530Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbxCellItem(Qbx530Def, number, channels, store) {}

TQbx550Item::TQbx550Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbxCellItem(Qbx550Def, number, channels, store) {}

bool TQbxCellItem::IsControl(const TParamItem* p) const {
    return ControlId() != 0 && p->ChangeHandler == ControlId();
}

void TQbxCellItem::NameParams() {
    const std::string prefix = FCell.addressInNames ? "QBX-550 (адр." + IntToStr(NetworkAddress()) + "): "
                                                    : std::string(FCell.device.NamePrefix);
    for (int i = 0; i < ParamCount(); ++i)
        Param(i)->Name = prefix + FCell.device.ParamNames[i];
}

int TQbxCellItem::InputOf(const TParamItem* p) const {
    const int i = IndexOf(p);
    return i < Inputs() ? i : -1;
}

std::string TQbxCellItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i == IndexTable()) {
        std::string text;
        for (int j = 0; j < Inputs(); ++j)
            text += (j ? "," : "") + AddressText(GetEntry(p, 3 * j));
        return text;
    }
    if (i == ControlTable())
        return AddressText(GetEntry(p, 0)) + "," + AddressText(GetEntry(p, 3));
    return IntToStr(p->Value[0]);
}

bool TQbxCellItem::SetParamValueText(TParamItem* p, const AnsiString& text) {
    if (p && p == Param(AddressParam())) {
        uint32_t v = 0;
        if (!ReadUnsigned(text, 1, p->Name, v))
            return false;
        p->Value[0] = static_cast<uint8_t>(v);
        if (FCell.addressInNames)
            NameParams();
    }
    return false;
}

AnsiString TQbxCellItem::GetParamDescription(TParamItem* p) {
    const int j = InputOf(p);
    if (j < 0)
        return "";
    const std::string n = IntToStr(j + 1);
    if (FCell.addressInNames)
        return "QBX-550 - " + IntToStr(NetworkAddress()) + " - Ф" + n + ", Х1." + n;
    return "QBX-530 - " + IntToStr(NetworkAddress()) + ", Х2." + n;
}

void TQbxCellItem::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    if (InputOf(p) < 0)
        return;
    const Address old = AddressOf(p);
    TDeviceEngine::BindParam(type, index, p);
    const Address now = AddressOf(p);
    if (now == old || !IsControl(p) || old.Empty())
        return;
    TParamItem* table = Param(ControlTable());
    for (int e = 0; e < 2; ++e)
        if (GetEntry(table, 3 * e) == old)
            SetEntry(table, 3 * e, now);
}

void TQbxCellItem::ListSetpoints(TStrings* s, TParamItem*) {
    s->Clear();
    s->Add("Управление");
}

AnsiString TQbxCellItem::ControlText(const TParamItem* p) const {
    if (IsUnbound(p))
        return "Нет";
    const TParamItem* table = Param(ControlTable());
    const bool paired = table->Value[kModeByte] != 0;
    if (GetEntry(table, 0) == AddressOf(p))
        return paired ? CellControlItems[3] : CellControlItems[1];
    if (GetEntry(table, 3) == AddressOf(p))
        return paired ? CellControlItems[3] : CellControlItems[2];
    return "Нет";
}

void TQbxCellItem::GetSetpointText(int, TParamItem* p, AnsiString& text) {
    if (InputOf(p) >= 0)
        text = ControlText(p);
}

TWinControl* TQbxCellItem::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                                TNotifyEvent hostEvent, TNotifyEvent doneEvent) {
    BeginSetpointEdit(p, n, doneEvent);
    if (n != 0 || InputOf(p) < 0)
        return nullptr;
    return MakeChoice(host, {std::begin(CellControlItems), std::end(CellControlItems)}, ControlText(p),
                      std::move(hostEvent), [this](TObject* s) { ApplyControlEditor(s); });
}

void TQbxCellItem::Revert(TParamItem* p) {
    p->ChangeHandler = 0;
    p->ParamType = 3;
    p->RaiseChanged();
}

void TQbxCellItem::MakeControl(TParamItem* p) {
    p->ChangeHandler = ControlId();
    p->ParamType = 1;
    p->RaiseChanged();
}

void TQbxCellItem::ApplyControlEditor(TObject* sender) {
    if (FSetpointRow == 0)
        ApplyControlChoice(FSetpointParam, EditorItem(sender));
    SetpointEdited(sender);
}

void TQbxCellItem::ApplyControlChoice(TParamItem* p, int item) {
    if (InputOf(p) < 0 || item < 0 || item > 3)
        return;
    TParamItem* table = Param(ControlTable());
    const Address own = AddressOf(p);
    auto revertHolder = [&](Address a) {
        if (a.Empty())
            return;
        for (int j = 0; j < Inputs(); ++j) {
            if (AddressOf(Param(j)) == a) {
                Revert(Param(j));
                return;
            }
        }
    };
    if (item == 0) {
        for (int e = 0; e < 2; ++e)
            if (!own.Empty() && GetEntry(table, 3 * e) == own)
                SetEntry(table, 3 * e, {});
        table->Value[kModeByte] = 0;
        Revert(p);
        return;
    }
    if (item == 1 || item == 2) {
        const int mine = item - 1, other = 2 - item;
        revertHolder(GetEntry(table, 3 * mine));
        if (table->Value[kModeByte] != 0)
            SetEntry(table, 3 * other, {});
        SetEntry(table, 3 * mine, own);
        table->Value[kModeByte] = 0;
    } else {
        revertHolder(GetEntry(table, 0));
        SetEntry(table, 0, own);
        SetEntry(table, 3, own);
        table->Value[kModeByte] = 1;
    }
    MakeControl(p);
}
