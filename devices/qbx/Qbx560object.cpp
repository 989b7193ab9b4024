// The ЦПТ QBX-560. Device layer.
#include "Qbx560object.h"

using namespace qbx;

namespace {

constexpr int kTemperatures = 8;
constexpr int kWithSetpoints = 7;
constexpr int kNetAddress = 8;
constexpr uint16_t kSetpointValueType = 16;
constexpr uint16_t kSetpointStateType = 17;
constexpr const char* kBoundsName = "log_handleBoundes";
constexpr uint16_t kBoundsReservedId = 3;

constexpr dev::ParamRule Temperatures[] = {{0, kTemperatures - 1, dev::Role::Measure, 17, 16}};
// Bytes 0-2 the QBX address, byte 3 the network address.
constexpr dev::SettingDef Settings[] = {{dev::Role::Address, 32, {}, true},
                                        {dev::Role::IndexTable, 192, {}, false}};
constexpr dev::CommandDef PollCommands[] = {{"Опрос QBX-560", 0}};
constexpr uint16_t ReservedIds[] = {75, 76, 77, 78};
constexpr dev::PropertyDef Rows[] = {
    {"QBX-адрес", dev::Role::Address, 0, 3, TEditorKind::Edit, {}, dev::PropertyFormat::Dotted},
    {"Сетевой адрес", dev::Role::Address, 3, 1, TEditorKind::Edit, {}},
};
constexpr dev::Check Checks[] = {dev::Check::PeriodMissing, dev::Check::CommandInactive,
                                 dev::Check::AddressMissing};

// A set point in tenths of a degree as its row shows it.
std::string TenthsText(uint16_t tenths) { return FloatToStrF(tenths / 10.0, ffFixed, 15, 1) + " oC"; }

} // namespace

constexpr dev::TDeviceDef TQbx560Item::Def{
    .TypeCode = 9,
    .Folder = "qbx560",
    .NamePrefix = "QBX-560: ",
    .ParamNames = Qbx560ParamNames,
    .SignalCount = kTemperatures,
    .Signals = Temperatures,
    .Settings = Settings,
    .CodeBase = 1072,
    .Commands = PollCommands,
    .PollCount = 1,
    .Subprograms = Qbx560Subprograms,
    .ReservedIds = ReservedIds,
    .PrepareSub = 0,
    .ParseSub = 1,
    .NoAnswerSub = 3,
    .Properties = Rows,
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = Checks,
    .AddressByte = 3,
};

TQbx560Item::TQbx560Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {
    // A stored pair at a bound temperature's index is taken over; a new pair is bound only for a
    // temperature with set points (its write handler), as BindParam binds it. The pair of an index
    // belongs to one temperature: a later one with set points there keeps none.
    for (int s = 0; s < kWithSetpoints; ++s) {
        TParamItem* t = Param(s);
        const bool bound = !IsUnbound(t);
        if (bound) {
            FSpValue[s] = FindFreeChannel(channels, kSetpointValueType, t->ChannelIndex);
            FSpState[s] = FindFreeChannel(channels, kSetpointStateType, t->ChannelIndex);
        }
        const bool wanted = bound && t->WriteHandler != 0;
        const bool taken = wanted && !FSpValue[s] && !FSpState[s] && PairHeld(s, t->ChannelIndex);
        if (taken) {
            ReportConfigurationProblem(SetpointsRefused(s, t->ChannelIndex));
            t->WriteHandler = 0;
        }
        const bool create = wanted && !taken;
        if (!FSpValue[s]) {
            const uint8_t value[5] = {2, 0, 0, 0, 0};
            FSpValue[s] = NewChannel(channels, create ? kSetpointValueType : 0, create ? t->ChannelIndex : 0,
                                     40, value, 5);
        }
        if (!FSpState[s]) {
            FSpState[s] =
                NewChannel(channels, create ? kSetpointStateType : 0, create ? t->ChannelIndex : 0, 8);
            FSpState[s]->RamDepth = 1;
            FSpState[s]->Value.Fill(0xFF);
        }
        FSpValue[s]->Name = "QBX-560 - Уставка: значение";
        FSpState[s]->Name = "QBX-560 - Уставка: состояние";
        FSpValue[s]->Owner = this;
        FSpState[s]->Owner = this;
    }
}

TQbx560Item::~TQbx560Item() {
    for (int s = 0; s < kTemperatures; ++s) {
        ReleaseChannel(FChannels, FSpValue[s]);
        ReleaseChannel(FChannels, FSpState[s]);
    }
}

int TQbx560Item::TemperatureOf(const TParamItem* p) const {
    if (!p)
        return -1;
    const int i = IndexOf(p);
    return i < kTemperatures ? i : -1;
}

std::string TQbx560Item::AddressText() const {
    return DottedBytes(Param(kNetAddress)) + ":" + IntToStr(NetworkAddress());
}

std::string TQbx560Item::ValueText(int i) const {
    return i == kNetAddress ? "адрес" : TDeviceEngine::ValueText(i);
}

bool TQbx560Item::SetParamValueText(TParamItem*, const std::string&) { return false; }

std::string TQbx560Item::GetDisplayName() { return "ID-" + IntToStr(Number) + " QBX(" + AddressText() + ")"; }

std::string TQbx560Item::GetParamDescription(TParamItem* p) {
    const int s = TemperatureOf(p);
    if (s < 0)
        return "";
    return "QBX-560 - (" + AddressText() + "), канал " + IntToStr(s + 1);
}

bool TQbx560Item::PairHeld(int s, uint8_t index) const {
    if (index == 0) // no address: nothing to share
        return false;
    for (uint16_t type : {kSetpointValueType, kSetpointStateType})
        for (const TParamItem* c : ChannelsAt(FChannels, type, index))
            if (c != FSpValue[s] && c != FSpState[s])
                return true;
    return false;
}

std::string TQbx560Item::SetpointsRefused(int s, uint8_t index) {
    return "Объект \"" + DisplayType + " " + GetDisplayName() + "\": уставки канала " + IntToStr(index) +
           " принадлежат другой температуре, уставки температуры " + IntToStr(s + 1) + " не привязаны.";
}

bool TQbx560Item::PlaceSetpoints(int s, bool bound) {
    if (s >= kWithSetpoints || !FSpValue[s] || !FSpState[s])
        return true;
    const uint8_t index = bound ? Param(s)->ChannelIndex : 0;
    if (bound && PairHeld(s, index))
        return false;
    FSpValue[s]->SetAddress(bound ? kSetpointValueType : 0, index);
    FSpState[s]->SetAddress(bound ? kSetpointStateType : 0, index);
    return true;
}

// Set points whose pair another temperature holds at the new index are given up, with a message.
void TQbx560Item::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int s = TemperatureOf(p);
    if (s < 0)
        return;
    TDeviceEngine::BindParam(type, index, p);
    if (!SameAddress(p, type, index))
        return; // refused: another channel holds the address
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
    text = TenthsText(GetU16(FSpValue[s], 1 + 2 * n));
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
    // The text the row shows (with its unit) reads as well. Two bytes hold 0.0 to 6553.5 degrees;
    // anything else, however large, is refused, never stored wrapped.
    uint16_t tenths = 0;
    if (!dev::ReadSetpoint(text, "oC", 10, TenthsText(0), TenthsText(0xFFFF), tenths))
        return;
    if (!IsUnbound(p) && PairHeld(s, p->ChannelIndex)) {
        ReportConfigurationProblem(SetpointsRefused(s, p->ChannelIndex));
        return;
    }
    SetU16(FSpValue[s], 1 + 2 * n, tenths);
    p->WriteHandler = FStore ? FStore->FindOrCreate(kBoundsName, kBoundsReservedId, 1) : 0;
    PlaceSetpoints(s, true);
}

void TQbx560Item::GetCommandModeText(int n, std::string& text) {
    if (const TCommandItem* c = CommandAt(n))
        text = c->Execute == 1 ? "Выполнять" : "Не выполнять";
}
