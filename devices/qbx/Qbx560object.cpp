// The ЦПТ QBX-560. Device layer.
#include "Qbx560object.h"

#include <cmath>

using namespace qbx;

namespace {

constexpr const char* kFolder = "qbx560";
constexpr const char* kPollName = "Опрос QBX-560";
constexpr int kTemperatures = 8;
constexpr int kWithSetpoints = 7;
constexpr int kNetAddress = 8;
constexpr int kAddressTable = 9;
constexpr uint16_t kSetpointValueType = 16;
constexpr uint16_t kSetpointStateType = 17;
constexpr const char* kBoundsName = "log_handleBoundes";
constexpr uint16_t kBoundsReservedId = 3;

uint8_t SettingsIndex(uint16_t number) { return static_cast<uint8_t>((number + 73) & 0xFF); }

} // namespace

TQbx560Item::TQbx560Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceItem(number, channels, store) {
    DisplayType = "ЦПТ QBX-560";
    Tag = "QBX560";
    const uint16_t reserved[4] = {kQbx560ReservedIdBase, kQbx560ReservedIdBase + 1, kQbx560ReservedIdBase + 2,
                                  kQbx560ReservedIdBase + 3};
    LoadSubprograms(store, kFolder, Qbx560Subprograms, 4, reserved, m_sub);
    AddCommand(this, kPollName, 1, 0, m_sub[0], m_sub[1], m_sub[3]);

    for (int i = kNetAddress; i <= kAddressTable; ++i) {
        const uint16_t type = i == kNetAddress ? 1080 : 1081;
        TParamItem* p = FindFreeChannel(channels, type, SettingsIndex(number));
        if (!p)
            p = NewChannel(channels, type, SettingsIndex(number), i == kNetAddress ? 32 : 192);
        p->Name = std::string("QBX-560: ") + Qbx560ParamNames[i];
        p->Owner = this;
        p->Kind = kChannelSetting;
        p->Ordinal = static_cast<uint16_t>(i + 1);
        p->ValueEditable = i == kNetAddress ? 1 : 0;
        m_param[i] = p;
    }

    for (int s = 0; s < kTemperatures; ++s) {
        const Address a = GetEntry(m_param[kAddressTable], 3 * s);
        TParamItem* p = nullptr;
        if (a.index != 0)
            p = FindFreeChannel(channels, a.type, a.index);
        if (!p) {
            const uint8_t unread[2] = {0xFF, 0xFF};
            p = NewChannel(channels, 0, 0, 16, unread, 2);
            p->RamDepth = 1;
            p->Value.Fill(0xFF);
        }
        m_param[s] = p;
        p->Ordinal = static_cast<uint16_t>(s + 1);
        p->ValueEditable = 1;
        p->Name = std::string("QBX-560: ") + Qbx560ParamNames[s];
        p->Owner = this;
        p->Kind = kChannelMeasured;
        p->ParamType = 17;
        p->RaiseChanged();
    }

    // A stored pair at a bound temperature's index is taken over; a new pair is bound only for a
    // temperature with set points (its write handler), as BindParam binds it. The pair of an index
    // belongs to one temperature: a later one with set points there keeps none.
    for (int s = 0; s < kWithSetpoints; ++s) {
        TParamItem* t = m_param[s];
        const bool bound = !IsUnbound(t);
        if (bound) {
            m_spValue[s] = FindFreeChannel(channels, kSetpointValueType, t->ChannelIndex);
            m_spState[s] = FindFreeChannel(channels, kSetpointStateType, t->ChannelIndex);
        }
        const bool wanted = bound && t->WriteHandler != 0;
        const bool taken = wanted && !m_spValue[s] && !m_spState[s] && PairHeld(s, t->ChannelIndex);
        if (taken) {
            ReportConfigurationProblem(SetpointsRefused(s, t->ChannelIndex));
            t->WriteHandler = 0;
        }
        const bool create = wanted && !taken;
        if (!m_spValue[s]) {
            const uint8_t value[5] = {2, 0, 0, 0, 0};
            m_spValue[s] = NewChannel(channels, create ? kSetpointValueType : 0, create ? t->ChannelIndex : 0,
                                      40, value, 5);
        }
        if (!m_spState[s]) {
            m_spState[s] =
                NewChannel(channels, create ? kSetpointStateType : 0, create ? t->ChannelIndex : 0, 8);
            m_spState[s]->RamDepth = 1;
            m_spState[s]->Value.Fill(0xFF);
        }
        m_spValue[s]->Name = "QBX-560 - Уставка: значение";
        m_spState[s]->Name = "QBX-560 - Уставка: состояние";
        m_spValue[s]->Owner = this;
        m_spState[s]->Owner = this;
    }
}

// Temperatures go first: their rebinding writes into the address table and the set-point channels.
TQbx560Item::~TQbx560Item() {
    for (TParamItem*& p : m_param)
        ReleaseChannel(m_channels, p);
    for (int s = 0; s < kTemperatures; ++s) {
        ReleaseChannel(m_channels, m_spValue[s]);
        ReleaseChannel(m_channels, m_spState[s]);
    }
}

int TQbx560Item::TemperatureOf(const TParamItem* p) const {
    if (!p)
        return -1;
    for (int s = 0; s < kTemperatures; ++s)
        if (m_param[s] == p)
            return s;
    return -1;
}

std::string TQbx560Item::AddressText() const {
    return DottedBytes(m_param[kNetAddress]) + ":" + IntToStr(m_param[kNetAddress]->Value[3]);
}

bool TQbx560Item::GetParamValueText(TParamItem* p, std::string& text) {
    if (!p || p->Owner != this)
        return true;
    if (TemperatureOf(p) >= 0) {
        text = p->RamDepth == 1 ? std::string("не определено") : IntToStr(GetU16(p, 0));
    } else if (p == m_param[kNetAddress]) {
        text = "адрес";
    } else if (p == m_param[kAddressTable]) {
        text.clear();
        for (int s = 0; s < kTemperatures; ++s)
            text += (s ? "," : "") + qbx::AddressText(GetEntry(p, 3 * s));
    } else {
        return true;
    }
    return false;
}

bool TQbx560Item::SetParamValueText(TParamItem*, const std::string&) { return false; }

std::string TQbx560Item::GetDisplayName() { return "ID-" + IntToStr(Number) + " QBX(" + AddressText() + ")"; }

void TQbx560Item::SetNumber(uint16_t number) {
    TObjectItem::SetNumber(number);
    m_param[kNetAddress]->ChannelIndex = SettingsIndex(number);
    m_param[kAddressTable]->ChannelIndex = SettingsIndex(number);
}

std::string TQbx560Item::GetParamDescription(TParamItem* p) {
    const int s = TemperatureOf(p);
    if (s < 0)
        return "";
    return "QBX-560 - (" + AddressText() + "), канал " + IntToStr(s + 1);
}

void TQbx560Item::ListSignalParams(ELEMList* list, bool all) {
    for (int s = 0; s < kTemperatures; ++s)
        if (IsUnbound(m_param[s]) || all)
            list->Append(new TParamItemP(m_param[s]));
}

bool TQbx560Item::PairHeld(int s, uint8_t index) const {
    if (index == 0) // no address: nothing to share
        return false;
    bool held = false;
    ForEachChannel(m_channels, [&](TParamItem* c) {
        held = c != m_spValue[s] && c != m_spState[s] && c->ChannelIndex == index &&
               (c->ChannelType == kSetpointValueType || c->ChannelType == kSetpointStateType);
        return !held;
    });
    return held;
}

std::string TQbx560Item::SetpointsRefused(int s, uint8_t index) {
    return "Объект \"" + DisplayType + " " + GetDisplayName() + "\": уставки канала " + IntToStr(index) +
           " принадлежат другой температуре, уставки температуры " + IntToStr(s + 1) + " не привязаны.";
}

bool TQbx560Item::PlaceSetpoints(int s, bool bound) {
    if (s >= kWithSetpoints || !m_spValue[s] || !m_spState[s])
        return true;
    const uint8_t index = bound ? m_param[s]->ChannelIndex : 0;
    if (bound && PairHeld(s, index))
        return false;
    m_spValue[s]->ChannelType = bound ? kSetpointValueType : 0;
    m_spValue[s]->ChannelIndex = index;
    m_spState[s]->ChannelType = bound ? kSetpointStateType : 0;
    m_spState[s]->ChannelIndex = index;
    return true;
}

// The temperature always moves (the renumbering relies on it); set points whose pair another
// temperature holds at the new index are given up, with a message.
void TQbx560Item::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int s = TemperatureOf(p);
    if (s < 0)
        return;
    p->ChannelType = type;
    p->ChannelIndex = index;
    if (m_param[kAddressTable])
        SetEntry(m_param[kAddressTable], 3 * s, {type, index});
    if (!PlaceSetpoints(s, index != 0 && p->WriteHandler != 0)) {
        ReportConfigurationProblem(SetpointsRefused(s, index));
        p->WriteHandler = 0;
        PlaceSetpoints(s, false);
    }
}

int TQbx560Item::GetSetpointCount(TParamItem* p) {
    const int s = TemperatureOf(p);
    return s >= 0 && s < kWithSetpoints ? 2 : 0;
}

void TQbx560Item::GetSetpointValueText(TParamItem* p, int n, std::string& text) {
    const int s = TemperatureOf(p);
    if (s < 0 || s >= kWithSetpoints || n < 0 || n > 1)
        return;
    text = FloatToStrF(GetU16(m_spValue[s], 1 + 2 * n) / 10.0, ffFixed, 15, 1) + " oC";
}

void TQbx560Item::SetSetpointValue(TParamItem* p, int n, const std::string& text) {
    const int s = TemperatureOf(p);
    if (s < 0 || s >= kWithSetpoints || n < 0 || n > 1)
        return;
    if (text == "Нет") {
        p->WriteHandler = 0;
        PlaceSetpoints(s, false);
        return;
    }
    double value = 0;
    if (!ReadFloat(text, value) || !(std::fabs(value) < 1e9))
        return;
    // Tenths in single precision, cut toward zero; a count no 32-bit integer holds is refused
    // like a text that is no number.
    const float tenths = static_cast<float>(value) * 10.0f;
    if (!(std::fabs(tenths) < 2147483648.0f))
        return;
    if (!IsUnbound(p) && PairHeld(s, p->ChannelIndex)) {
        ReportConfigurationProblem(SetpointsRefused(s, p->ChannelIndex));
        return;
    }
    SetU16(m_spValue[s], 1 + 2 * n, static_cast<uint16_t>(static_cast<int32_t>(tenths)));
    p->WriteHandler = m_store ? m_store->FindOrCreate(kBoundsName, kBoundsReservedId, 1) : 0;
    PlaceSetpoints(s, true);
}

void TQbx560Item::GetPropertyNames(TStrings* s) {
    TObjectItem::GetPropertyNames(s);
    s->Add("QBX-адрес");
    s->Add("Сетевой адрес");
}

void TQbx560Item::GetPollCommandNames(TStrings* s) {
    s->Clear();
    s->Add(kPollName);
}

void TQbx560Item::GetPropertyText(int row, std::string& text) {
    if (row <= 1)
        TObjectItem::GetPropertyText(row, text);
    else if (row == 2)
        text = DottedBytes(m_param[kNetAddress]);
    else if (row == 3)
        text = IntToStr(m_param[kNetAddress]->Value[3]);
}

void TQbx560Item::GetCommandModeText(int n, std::string& text) {
    if (const TCommandItem* c = CommandAt(n))
        text = c->Execute == 1 ? "Выполнять" : "Не выполнять";
}

TDeviceItem::RowEditor TQbx560Item::PropertyRowEditor(int row) const {
    return row == 2 || row == 3 ? RowEditor::Text : TDeviceItem::PropertyRowEditor(row);
}

void TQbx560Item::ApplyPropertyValue(int row, const std::string& text) {
    if (row == 2)
        ApplyDottedBytes(m_param[kNetAddress], text);
    else if (row == 3)
        ApplyByte(m_param[kNetAddress], 3, text);
}

void TQbx560Item::CheckConfiguration(TStrings* s) {
    s->Clear();
    const TCommandItem* c = CommandAt(0);
    const std::string head = CheckPrefix(this, GetDisplayName());
    if (c && c->Execute == 1 && Period == 0)
        s->Add(head + " - Не указан общий период опроса используемых параметров");
    if (c && c->Execute != 1 && Period != 0)
        s->Add(head + " - Команда опроса \"" + c->Name + "\" неактивна");
    if (m_param[kNetAddress]->Value[3] == 0)
        s->Add(head + " - Не задан адрес прибора");
}

void TQbx560Item::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
