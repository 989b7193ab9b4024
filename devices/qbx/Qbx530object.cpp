// The cell controller QBX-530 and the discrete-input controller QBX-550. Device layer.
#include "Qbx530object.h"

#include "qbxeditors.h"

using namespace qbx;

namespace {

constexpr const char* kStateChangeName = "log_handleStateChange";
constexpr uint16_t kStateChangeReservedId = 2;
constexpr int kModeByte = 6; // of the control-channel table

} // namespace

TQbxCellItem::TQbxCellItem(const CellDeviceDef& def, uint16_t number, ELEMList* channels, actionManager* store)
    : TQbxDeviceItem(number, channels, store), m_def(def)
{
    DisplayType = def.displayType;
    Tag = def.tag;
    uint16_t reserved[6] = {};
    for (int k = 0; k < def.subprogramCount; ++k)
        reserved[k] = static_cast<uint16_t>(def.reservedIdBase + k);
    LoadSubprograms(store, def.folder, def.subprograms, def.subprogramCount, def.reservedIdBase ? reserved : nullptr,
                    m_sub);
    MessageHandler = m_sub[def.messageSub];

    AddCommand(this, def.pollName, 1, 0, m_sub[0], m_sub[1], 0);
    AddCommand(this, kCellControlPollName, 2, 1, 0, m_sub[1], 0);

    // Settings: the oldest stored channel of each address comes back.
    const uint8_t index = SettingsIndex(number);
    for (int slot = AddressParam(); slot < ParamCount(); ++slot) {
        const uint16_t type = static_cast<uint16_t>(def.settingsTypeBase + slot);
        TParamItem* p = FindFreeChannel(channels, type, index);
        if (!p) {
            const int bits = slot == AddressParam() ? 8 : slot == IndexTable() ? 24 * def.inputs : 56;
            p = NewChannel(channels, type, index, static_cast<uint16_t>(bits));
        }
        p->ValueEditable = slot == AddressParam() ? 1 : 0;
        p->Owner = this;
        m_param[slot] = p;
    }

    // Inputs: stored channels named by the index table; each channel serves one input at most, and
    // one already taken (the settings channels among them) serves none.
    ForEachChannel(channels, [&](TParamItem* c) {
        if (c->ChannelIndex == 0 || c->Owner)
            return true;
        for (int j = 0; j < def.inputs; ++j) {
            if (!m_param[j] && GetEntry(m_param[IndexTable()], 3 * j) == AddressOf(c)) {
                m_param[j] = c;
                c->Owner = this;
                break;
            }
        }
        return true;
    });
    for (int j = 0; j < def.inputs; ++j) {
        if (!m_param[j]) {
            TParamItem* p = NewChannel(channels, 0, 0, 1);
            p->Store = store;
            p->WriteHandler = store ? store->FindOrCreate(kStateChangeName, kStateChangeReservedId, 1) : 0;
            m_param[j] = p;
        }
        m_param[j]->ValueEditable = 1;
        m_param[j]->Owner = this;
    }
    NameParams();

    for (int i = 0; i < ParamCount(); ++i) {
        TParamItem* p = m_param[i];
        p->Ordinal = i + 1;
        if (i < def.inputs) {
            p->Kind = kChannelSignal;
            p->ParamType = IsControl(p) ? 1 : 3;
            p->RaiseChanged();
        } else {
            p->Kind = kChannelSetting;
        }
    }
}

// Inputs go first: their rebinding writes into the settings tables.
TQbxCellItem::~TQbxCellItem()
{
    for (int i = 0; i < ParamCount(); ++i)
        ReleaseChannel(m_channels, m_param[i]);
}

TQbx530Item::TQbx530Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbxCellItem(Qbx530Def, number, channels, store)
{
}

TQbx550Item::TQbx550Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbxCellItem(Qbx550Def, number, channels, store)
{
}

uint8_t TQbxCellItem::SettingsIndex(uint16_t number) const
{
    return static_cast<uint8_t>((number - m_def.indexOffset) & 0xFF);
}

uint8_t TQbxCellItem::NetworkAddress() const { return m_param[AddressParam()]->Value[0]; }

bool TQbxCellItem::IsControl(const TParamItem* p) const
{
    return ControlId() != 0 && p->ChangeHandler == ControlId();
}

void TQbxCellItem::NameParams()
{
    const std::string prefix = m_def.addressInNames
                                   ? "QBX-550 (адр." + IntToStr(NetworkAddress()) + "): "
                                   : std::string("QBX-530: ");
    for (int i = 0; i < ParamCount(); ++i)
        m_param[i]->Name = prefix + m_def.paramNames[i];
}

int TQbxCellItem::InputOf(const TParamItem* p) const
{
    if (!p)
        return -1;
    for (int j = 0; j < m_def.inputs; ++j)
        if (m_param[j] == p)
            return j;
    return -1;
}

bool TQbxCellItem::GetParamValueText(TParamItem* p, AnsiString& text)
{
    int i = 0;
    while (i < ParamCount() && m_param[i] != p)
        ++i;
    if (!p || i == ParamCount())
        return true;
    if (i == IndexTable()) {
        text.clear();
        for (int j = 0; j < m_def.inputs; ++j)
            text += (j ? "," : "") + AddressText(GetEntry(p, 3 * j));
    } else if (i == ControlTable()) {
        text = AddressText(GetEntry(p, 0)) + "," + AddressText(GetEntry(p, 3));
    } else {
        text = IntToStr(p->Value[0]);
    }
    return false;
}

bool TQbxCellItem::SetParamValueText(TParamItem* p, const AnsiString& text)
{
    if (p && p == m_param[AddressParam()]) {
        int v = 0;
        if (!ReadInt(text, v))
            return false;
        p->Value[0] = static_cast<uint8_t>(v);
        if (m_def.addressInNames)
            NameParams();
    }
    return false;
}

AnsiString TQbxCellItem::GetDisplayName()
{
    return "ID-" + IntToStr(Number) + " адрес " + IntToStr(NetworkAddress());
}

void TQbxCellItem::SetNumber(uint16_t number)
{
    TObjectItem::SetNumber(number);
    for (int i = AddressParam(); i < ParamCount(); ++i)
        m_param[i]->ChannelIndex = SettingsIndex(number);
}

AnsiString TQbxCellItem::GetParamDescription(TParamItem* p)
{
    const int j = InputOf(p);
    if (j < 0)
        return "";
    const std::string n = IntToStr(j + 1);
    if (m_def.addressInNames)
        return "QBX-550 - " + IntToStr(NetworkAddress()) + " - Ф" + n + ", Х1." + n;
    return "QBX-530 - " + IntToStr(NetworkAddress()) + ", Х2." + n;
}

void TQbxCellItem::ListSignalParams(ELEMList* list, bool all)
{
    for (int j = 0; j < m_def.inputs; ++j)
        if (IsUnbound(m_param[j]) || all)
            list->Append(new TParamItemP(m_param[j]));
}

void TQbxCellItem::BindParam(uint16_t type, uint8_t index, TParamItem* p)
{
    const int j = InputOf(p);
    if (j < 0)
        return;
    TParamItem* table = m_param[ControlTable()];
    const Address old = AddressOf(p);
    if (IsControl(p) && !old.Empty())
        for (int e = 0; e < 2; ++e)
            if (GetEntry(table, 3 * e) == old)
                SetEntry(table, 3 * e, {type, index});
    p->ChannelType = type;
    p->ChannelIndex = index;
    SetEntry(m_param[IndexTable()], 3 * j, {type, index});
}

void TQbxCellItem::ListSetpoints(TStrings* s, TParamItem*)
{
    s->Clear();
    s->Add("Управление");
}

AnsiString TQbxCellItem::ControlText(const TParamItem* p) const
{
    if (IsUnbound(p))
        return "Нет";
    const TParamItem* table = m_param[ControlTable()];
    const bool paired = table->Value[kModeByte] != 0;
    if (GetEntry(table, 0) == AddressOf(p))
        return paired ? CellControlItems[3] : CellControlItems[1];
    if (GetEntry(table, 3) == AddressOf(p))
        return paired ? CellControlItems[3] : CellControlItems[2];
    return "Нет";
}

void TQbxCellItem::GetSetpointText(int, TParamItem* p, AnsiString& text)
{
    if (InputOf(p) >= 0)
        text = ControlText(p);
}

TWinControl* TQbxCellItem::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                                TNotifyEvent doneEvent)
{
    BeginSetpointEdit(p, n, doneEvent);
    if (n != 0 || InputOf(p) < 0)
        return nullptr;
    return MakeComboEditor(host, {std::begin(CellControlItems), std::end(CellControlItems)}, ControlText(p), hostEvent,
                           [this](TObject* s) { ApplyControlEditor(s); });
}

void TQbxCellItem::Revert(TParamItem* p)
{
    p->ChangeHandler = 0;
    p->ParamType = 3;
    p->RaiseChanged();
}

void TQbxCellItem::MakeControl(TParamItem* p)
{
    p->ChangeHandler = ControlId();
    p->ParamType = 1;
    p->RaiseChanged();
}

void TQbxCellItem::ApplyControlEditor(TObject* sender)
{
    if (m_setpointRow == 0)
        ApplyControlChoice(m_setpointParam, EditorItem(sender));
    SetpointEdited(sender);
}

void TQbxCellItem::ApplyControlChoice(TParamItem* p, int item)
{
    if (InputOf(p) < 0 || item < 0 || item > 3)
        return;
    TParamItem* table = m_param[ControlTable()];
    const Address own = AddressOf(p);
    auto revertHolder = [&](Address a) {
        if (a.Empty())
            return;
        for (int j = 0; j < m_def.inputs; ++j) {
            if (AddressOf(m_param[j]) == a) {
                Revert(m_param[j]);
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

void TQbxCellItem::GetPropertyNames(TStrings* s)
{
    TObjectItem::GetPropertyNames(s);
    s->Add("Обработка сообщений");
    s->Add("Сетевой адрес");
}

void TQbxCellItem::GetPollCommandNames(TStrings* s)
{
    s->Clear();
    s->Add(m_def.pollName);
}

void TQbxCellItem::GetPropertyText(int row, AnsiString& text)
{
    if (row <= 1)
        TObjectItem::GetPropertyText(row, text);
    else if (row == 2)
        text = m_sub[m_def.messageSub] != 0 && MessageHandler == m_sub[m_def.messageSub] ? "Да" : "Нет";
    else if (row == 3)
        text = IntToStr(NetworkAddress());
}

TQbxDeviceItem::RowEditor TQbxCellItem::PropertyRowEditor(int row) const
{
    if (row == 2)
        return RowEditor::YesNo;
    return row == 3 ? RowEditor::Text : TQbxDeviceItem::PropertyRowEditor(row);
}

void TQbxCellItem::ApplyPropertyValue(int row, const std::string& text)
{
    if (row == 2)
        ApplyMessageHandling(text, m_sub[m_def.messageSub]);
    else if (row == 3)
        ApplyByte(m_param[AddressParam()], 0, text);
}

void TQbxCellItem::CheckConfiguration(TStrings* s)
{
    s->Clear();
    const TCommandItem* first = CommandAt(0);
    const int execute = first ? first->Execute : 0;
    const std::string head = CheckPrefix(this, GetDisplayName());
    if (MessageHandler == 0 && execute == 0 && Period == 0)
        s->Add(head + " - Укажите период опроса прибора или установите свойство обработки сообщений от прибора "
                      "равным \"Да\"");
    if (execute == 1 && Period == 0)
        s->Add(head + " - Не указан общий период опроса используемых параметров");
    if (execute == 0 && Period != 0)
        s->Add(head + " - Команда опроса \"" + (first ? first->Name : AnsiString()) + "\" неактивна");
    if (NetworkAddress() == 0)
        s->Add(head + " - Не задан адрес прибора");
}

void TQbxCellItem::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
