// The УКПМ telemechanics unit: construction, values, descriptions, binding and the check. Device layer.
#include "Ukpmobject.h"

#include <algorithm>

using namespace dev;

namespace {

constexpr SubprogramDef kSubprograms[] = {
    {"ukpm_makeCRC9", "Расчет CRC9 УКПМ"},
    {"ukpm_prepareMessage", "Подготовка опроса УКПМ"},
    {"ukpm_parseAnswer", "Разбор ответа УКПМ"},
    {"ukpm_makeControl", "Подготовка команды управления УКПМ"},
    {"ukpm_noAnswer", "Нет ответа на команду опроса УКПМ"},
    {"ukpm_convertEnergy", "Преобразование энергии УКПМ"},
    {"ukpm_parseAnswer_p2", "Разбор ответа УКПМ (ч.2)"},
};
constexpr uint16_t kReservedIds[] = {60, 61, 62, 63, 64, 65, 66};
constexpr int kPrepare = 1;
constexpr int kParse = 2;
constexpr int kNoAnswer = 4;

constexpr const char* kPollNames[] = {
    "Опрос массива ТС (ЗМТС)", "Опрос ТИТ группа 1",  "Опрос ТИТ группа 2",  "Опрос ТИТ группа 3",
    "Опрос ТИТ группа 4",      "Опрос ТИИ группа 1",  "Опрос ТИИ группа 2",  "Опрос ТИИ группа 3",
    "Опрос ТИИ группа 4",      "Опрос ТИИ группа 1*", "Опрос ТИИ группа 2*", "Опрос ТИИ группа 3*",
    "Опрос ТИИ группа 4*",     "Управление*",
};
constexpr int kPollListed = 9;

constexpr uint8_t kSettingsIndex[2] = {129, 130};
constexpr uint8_t kSettingsInit[2][3] = {{8, 0, 0}, {0, 0, 0}};
constexpr uint16_t kSettingsBits[2] = {16, 24};
constexpr const char* kSettingsNames[2] = {"Длина лидера, сетевой адрес", "Количество ТС, ТИТ, ТИИ"};

constexpr uint16_t kCrc9Poly = 0x229; // x^9 + x^5 + x^3 + 1
constexpr uint16_t kRecordBits = 88;
constexpr uint16_t kBits[TUKPMItem::kKinds] = {1, 16, 32};
constexpr uint8_t kKindOf[TUKPMItem::kKinds] = {kChannelSignal, kChannelMeasured, kChannelMeasured};
constexpr int kOrdinalBase[TUKPMItem::kKinds] = {3, 131, 161};
constexpr const char* kPrefix[TUKPMItem::kKinds] = {"УКПМ: Канал ТС группа ", "УКПМ: Канал ТИТ группа ",
                                                    "УКПМ: Канал ТИИ группа "};
// A ТС channel made anew is told apart by the Latin C of its prefix.
constexpr const char* kNewTsPrefix = "УКПМ: Канал ТC группа ";
constexpr const char* kDescTag[TUKPMItem::kKinds] = {", TC-", ", TИТ-", ", TИИ-"};
constexpr uint8_t kSignal = 3;
constexpr uint8_t kControl = 1;

constexpr const char* kTsLabels[] = {
    "X4-01,03", "X4-05,03", "X4-07,09", "X4-11,09", "X4-13,15", "X4-17,15", "X4-19,21", "X4-23,21",
    "X4-25,27", "X4-29,27", "X4-31,33", "X4-35,33", "X4-37,39", "X4-41,39", "X4-43,45", "X4-47,45",
    "X4-02,04", "X4-06,04", "X4-08,10", "X4-12,10", "X4-14,16", "X4-18,16", "X4-20,22", "X4-24,22",
    "X4-26,28", "X4-30,28", "X4-32,34", "X4-36,34", "X4-38,40", "X4-42,40", "X4-44,46", "X4-48,46",
    "X6-01,03", "X6-05,03", "X6-07,09", "X6-11,09", "X6-13,15", "X6-17,15", "X6-19,21", "X6-23,21",
    "X6-25,27", "X6-29,27", "X6-31,33", "X6-35,33", "X6-37,39", "X6-41,39", "X6-43,45", "X6-47,45",
    "X6-02,04", "X6-06,04", "X6-08,10", "X6-12,10", "X6-14,16", "X6-18,16", "X6-20,22", "X6-24,22",
    "X6-26,28", "X6-30,28", "X6-32,34", "X6-36,34", "X6-38,40", "X6-42,40", "X6-44,46", "X6-48,46",
};
constexpr const char* kTitLabels[] = {
    "X2-02,04", "X2-06,08", "X2-10,12", "X2-14,16", "X2-18,20", "X2-22,24", "X2-26,28", "X2-30,32",
    "X2-34,36", "X2-38,40", "X2-42,44", "X2-46,48", "X2-01,03", "X2-05,07", "X2-09,11", "X2-13,15",
    "X2-17,19", "X2-21,23", "X2-25,27", "X2-29,31", "X2-33,35", "X2-37,39", "X2-41,43", "X2-45,47",
    "X3-02,04", "X3-06,08", "X3-10,12", "X3-14,16", "X3-18,20", "X3-22,24", "X3-26,28", "X3-30,32",
};
constexpr const char* kTiiLabels[] = {
    "X2-01,03", "X2-05,07", "X2-09,11", "X2-13,15", "X2-17,19", "X2-21,23", "X2-25,27", "X2-29,31",
    "X2-33,35", "X2-37,39", "X2-41,43", "X2-45,47", "X3-02,04", "X3-06,08", "X3-10,12", "X3-14,16",
    "X3-18,20", "X3-22,24", "X3-26,28", "X3-30,32", "X3-34,36", "X3-38,40", "X3-42,44", "X3-46,48",
    "X3-01,03", "X3-05,07", "X3-09,11", "X3-13,15", "X3-17,19", "X3-21,23", "X3-25,27", "X3-45,47",
};
constexpr std::span<const char* const> kLabels[TUKPMItem::kKinds] = {kTsLabels, kTitLabels, kTiiLabels};
static_assert(std::size(kTsLabels) == 64 && std::size(kTitLabels) == 32 && std::size(kTiiLabels) == 32);

// "<g> номер <m>": group and number of record n.
std::string GroupText(int n) { return IntToStr(n / 8 + 1) + " номер " + IntToStr(n % 8 + 1); }

// The channel of record n's `kind` as its record holds it.
Address RecordEntry(const TParamItem* record, int kind) { return GetEntry(record, 3 * kind); }

void Widen(TParamItem* p, uint16_t bits) {
    if (p->BitWidth() < bits)
        p->SetBitWidth(bits);
}

} // namespace

uint16_t TUKPMItem::Crc9Entry(int k) {
    uint32_t r = static_cast<uint32_t>(k) << 9;
    for (int bit = 17; bit >= 9; --bit)
        if (r & (1u << bit))
            r ^= static_cast<uint32_t>(kCrc9Poly) << (bit - 9);
    return static_cast<uint16_t>(r);
}

TUKPMItem::TUKPMItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceItem(number, channels, store) {
    const TDeviceType* type = FindDeviceTypeByCode(kTypeCode);
    DisplayType = type->DisplayType;
    Tag = type->Tag;
    LoadSubprograms(store, "ukpm", kSubprograms, static_cast<int>(std::size(kSubprograms)), kReservedIds,
                    FSub.data());
    for (int c = 0; c < static_cast<int>(std::size(kPollNames)); ++c) {
        const bool answersOnly = c >= kPollListed; // their query is made by another command
        AddCommand(this, kPollNames[c], static_cast<uint16_t>(c + 1), answersOnly ? 1 : 0,
                   answersOnly ? 0 : FSub[kPrepare], FSub[kParse], FSub[kNoAnswer]);
    }
    AdoptSettings();
    AdoptCrc9();
    AdoptChannels();
}

void TUKPMItem::AdoptSettings() {
    for (int k = 0; k < 2; ++k) {
        TParamItem* p = FindFreeChannel(FChannels, kRecordType, kSettingsIndex[k]);
        if (p) {
            Widen(p, kSettingsBits[k]);
        } else {
            p = NewChannel(FChannels, kRecordType, kSettingsIndex[k], kSettingsBits[k], kSettingsInit[k], 3);
            p->Store = FStore;
        }
        p->Name = kSettingsNames[k];
        p->Owner = this;
        p->Kind = kChannelSetting;
        FSettings[static_cast<size_t>(k)] = p;
    }
    // A damaged file may hold counts the unit cannot have.
    for (int kind = 0; kind < kKinds; ++kind)
        FSettings[1]->Value[kind] =
            static_cast<uint8_t>(std::min<int>(FSettings[1]->Value[kind], kMaxCount[kind]));
}

// Elements beyond the table (indexes above 128) are no part of it and stay as they are.
void TUKPMItem::AdoptCrc9() {
    for (int i = 0; i < kCrc9Items; ++i) {
        const auto index = static_cast<uint8_t>(i + 1);
        TParamItem* p = FindFreeChannel(FChannels, kCrc9Type, index);
        if (p) {
            Widen(p, 64);
        } else {
            p = NewChannel(FChannels, kCrc9Type, index, 64);
            p->Store = FStore;
        }
        for (int e = 0; e < 4; ++e)
            SetU16(p, 2 * e, Crc9Entry(4 * i + e));
        p->Name = "Элемент CRC9";
        p->Owner = this;
        p->Kind = kChannelSetting;
        FCrc9[static_cast<size_t>(i)] = p;
    }
}

TParamItem* TUKPMItem::RecordAt(int n) {
    const auto index = static_cast<uint8_t>(n + 1);
    TParamItem* r = FindFreeChannel(FChannels, kRecordType, index);
    if (r) {
        Widen(r, kRecordBits);
    } else {
        r = NewChannel(FChannels, kRecordType, index, kRecordBits);
        r->Store = FStore;
    }
    r->Name = "Канал " + IntToStr(n) + " УКПМ";
    r->Owner = this;
    r->Kind = kChannelSetting;
    return r;
}

// Records up to the largest count; each record's channels come back by the addresses it holds
// (never one another object owns), the meter settings by their fixed addresses. A channel that is
// not found is made unbound, and its record forgets the address.
void TUKPMItem::AdoptChannels() {
    int most = 0;
    for (int kind = 0; kind < kKinds; ++kind)
        most = std::max(most, Count(static_cast<Kind>(kind)));
    for (int n = 0; n < most; ++n)
        FRecords.push_back(RecordAt(n));
    // Records a fall left past every count come back too, so that none is left without an owner.
    while (FRecords.size() < static_cast<size_t>(kMaxCount[Ts]) &&
           FindFreeChannel(FChannels, kRecordType, static_cast<uint8_t>(FRecords.size() + 1)))
        FRecords.push_back(RecordAt(static_cast<int>(FRecords.size())));
    for (int n = 0; n < most; ++n) {
        TParamItem* record = FRecords[static_cast<size_t>(n)];
        for (int kind = 0; kind < kKinds; ++kind) {
            if (n >= Count(static_cast<Kind>(kind))) {
                SetEntry(record, 3 * kind, {});
                continue;
            }
            const Address a = RecordEntry(record, kind);
            TParamItem* c = a.Empty() || a.index == 0 ? nullptr : FindFreeChannel(FChannels, a.type, a.index);
            if (c) {
                Prepare(static_cast<Kind>(kind), n, c, true);
            } else {
                SetEntry(record, 3 * kind, {});
                c = MakeChannel(static_cast<Kind>(kind), n);
            }
            FLists[kind].push_back(c);
        }
        if (n < Count(Tii)) {
            TParamItem* settings = FindFreeChannel(FChannels, kTiiSettingsType, static_cast<uint8_t>(n + 1));
            TParamItem* values = FindFreeChannel(FChannels, kTiiValuesType, static_cast<uint8_t>(n + 1));
            MakeTiiSettings(n, settings, values);
            FTiiSettings.push_back(settings);
            FTiiValues.push_back(values);
        }
    }
}

// What every channel of record n gets, taken back or made. A taken-back channel keeps the handler
// ids, RAM depth and parameter type the user gave it (a ТС channel without a handler gets the
// state-change one); a ТИТ channel takes the analog type of its record.
void TUKPMItem::Prepare(Kind kind, int n, TParamItem* c, bool adopted) {
    const TParamItem* record = FRecords[static_cast<size_t>(n)];
    c->Owner = this;
    c->Name = std::string(kind == Ts && !adopted ? kNewTsPrefix : kPrefix[kind]) + GroupText(n);
    c->Kind = kKindOf[kind];
    c->Ordinal = static_cast<uint16_t>(n + kOrdinalBase[kind]);
    if (kind == Ts) {
        if (c->WriteHandler == 0 && FStore)
            c->WriteHandler = FStore->FindOrCreate(kStateHandlerName, kStateHandlerReservedId, 1);
        c->ParamType = record->Value[kTuCode] ? kControl : kSignal;
    } else if (kind == Tit) {
        c->ParamType = record->Value[kAnalogType];
    }
    c->RaiseChanged();
}

TParamItem* TUKPMItem::MakeChannel(Kind kind, int n) {
    TParamItem* c = NewChannel(FChannels, 0, 0, kBits[kind]);
    c->Store = FStore;
    if (kind == Tit) {
        c->Value.Fill(0xFF);
        c->RamDepth = 1;
    }
    if (kind == Ts)
        ApplyTuCode(c, FRecords[static_cast<size_t>(n)]->Value[kTuCode]);
    Prepare(kind, n, c, false);
    return c;
}

// The meter settings of ТИИ channel n (zero) and its intermediate values (undefined), where missing.
void TUKPMItem::MakeTiiSettings(int n, TParamItem*& settings, TParamItem*& values) {
    const auto index = static_cast<uint8_t>(n + 1);
    if (!settings) {
        settings = NewChannel(FChannels, kTiiSettingsType, index, 96);
        settings->Store = FStore;
    }
    if (!values) {
        values = NewChannel(FChannels, kTiiValuesType, index, 16);
        values->Value.Fill(0xFF);
        values->RamDepth = 1;
        values->Store = FStore;
    }
    settings->Name = "УКПМ: Настройки ТИИ группа " + GroupText(n);
    values->Name = "УКПМ: Пром.значения ТИИ группа " + GroupText(n);
    for (TParamItem* p : {settings, values}) {
        p->Owner = this;
        p->Kind = kChannelSetting;
    }
}

void TUKPMItem::ApplyTuCode(TParamItem* channel, uint8_t code) {
    channel->ChangeHandler = code ? FSub[3] : 0;
    channel->ParamType = code ? kControl : kSignal;
}

TUKPMItem::~TUKPMItem() {
    auto leave = [this](TParamItem*& p) {
        if (!p || !ListHolds(FChannels, p))
            return;
        if (IsUnbound(p)) {
            ReleaseChannel(FChannels, p);
            return;
        }
        p->Owner = nullptr;
        p = nullptr;
    };
    for (auto& list : FLists)
        for (TParamItem*& p : list)
            leave(p);
    for (auto* list : {&FRecords, &FTiiSettings, &FTiiValues})
        for (TParamItem*& p : *list)
            leave(p);
    for (TParamItem*& p : FCrc9)
        leave(p);
    for (TParamItem*& p : FSettings)
        leave(p);
}

int TUKPMItem::Count(Kind kind) const { return FSettings[1] ? FSettings[1]->Value[kind] : 0; }

bool TUKPMItem::Locate(const TParamItem* p, Kind& kind, int& k) const {
    if (!p)
        return false;
    for (int kd = 0; kd < kKinds; ++kd) {
        const auto& list = FLists[kd];
        const auto it = std::find(list.begin(), list.end(), p);
        if (it != list.end()) {
            kind = static_cast<Kind>(kd);
            k = static_cast<int>(it - list.begin());
            return true;
        }
    }
    return false;
}

bool TUKPMItem::GetParamValueText(TParamItem* p, std::string& text) {
    if (!p)
        return true;
    if (p == FSettings[0]) {
        text = "Лидер: " + IntToStr(p->Value[0]) + ", Сетевой адрес: " + IntToStr(p->Value[1]);
        return false;
    }
    if (p == FSettings[1]) {
        text = "ТС: " + IntToStr(p->Value[0]) + "; ТИТ: " + IntToStr(p->Value[1]) +
               "; ТИИ: " + IntToStr(p->Value[2]);
        return false;
    }
    if (std::find(FCrc9.begin(), FCrc9.end(), p) != FCrc9.end()) {
        text.clear();
        for (int e = 0; e < 4; ++e)
            text += (e ? ",[" : "[") + IntToStr(GetU16(p, 2 * e)) + "]";
        return false;
    }
    Kind kind = Ts;
    int k = 0;
    if (!Locate(p, kind, k) || kind == Tii)
        return true;
    if (kind == Ts)
        text = IntToStr(p->Value[0]);
    else
        text = p->RamDepth == 1 ? "не определено" : IntToStr(GetU16(p, 0));
    return false;
}

bool TUKPMItem::SetParamValueText(TParamItem*, const std::string&) { return false; }

// A channel past its pin table is described without the pins.
std::string TUKPMItem::GetParamDescription(TParamItem* p) {
    Kind kind = Ts;
    int n = 0;
    if (!Locate(p, kind, n))
        return "";
    std::string text = "УКПМ - " + IntToStr(FSettings[0]->Value[1]) + kDescTag[kind] + IntToStr(n / 8 + 1) +
                       "/" + IntToStr(n % 8 + 1);
    if (n < static_cast<int>(kLabels[kind].size()))
        text += std::string(" (") + kLabels[kind][static_cast<size_t>(n)] + ")";
    if (kind == Ts && p->ChangeHandler != 0 && n < static_cast<int>(FRecords.size())) {
        const uint8_t c = FRecords[static_cast<size_t>(n)]->Value[kTuCode];
        text += ", ТУ-" + IntToStr(c / 8) + "/" + IntToStr(c % 8 + 1);
    }
    return text;
}

void TUKPMItem::ListSignalParams(ELEMList* list, bool all) {
    for (const auto& channels : FLists)
        for (TParamItem* c : channels)
            if (all || IsUnbound(c))
                list->Append(new TParamItemP(c));
}

void TUKPMItem::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    Kind kind = Ts;
    int k = 0;
    if (!Locate(p, kind, k))
        return;
    p->SetAddress(type, index);
    if (k < static_cast<int>(FRecords.size()))
        SetEntry(FRecords[static_cast<size_t>(k)], 3 * kind, {type, index});
}

void TUKPMItem::GetPollCommandNames(TStrings* s) {
    s->Clear();
    for (int c = 0; c < kPollListed; ++c)
        s->Add(kPollNames[c]);
}

void TUKPMItem::CheckConfiguration(TStrings* s) {
    s->Clear();
    const std::string head = CheckPrefix(this, GetDisplayName());
    if (FSettings[0]->Value[1] == 0)
        s->Add(head + " - Не задан адрес прибора");
    for (const TParamItem* c : FLists[Tit])
        if (!IsUnbound(c) && c->ParamType == 0)
            s->Add(head + " - Не указан тип канала \"" + c->Name + "\" (" + AddressText(AddressOf(c)) + ")");
}

void TUKPMItem::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
