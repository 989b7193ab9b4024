// Радон Риц: one distance channel with two set points in thousandths of a metre, a two-character
// network address and the line speed. Device layer.
#include "Ioobjects.h"
#include "iocommon.h"

using namespace io;

namespace {

constexpr const char* kNames[] = {"Канал 0", "Сетевой адрес", "Индексы  0-20"};

constexpr int kChannel = 0;
constexpr int kAddressParam = 1;
constexpr uint8_t kDistance = 25;

constexpr ParamRule kSignals[] = {{kChannel, kChannel, Role::Measure, kDistance, 16, nullptr}};

// Address "0", 9600 bit/s.
constexpr uint8_t kAddressInit[6] = {0x30, 0x00, 0x80, 0x25, 0x00, 0x00};
constexpr SettingDef kSettings[] = {{Role::Address, 48, kAddressInit, true}, IndexTable(1)};

constexpr CommandDef kCommands[] = {{"Опрос каналов РадонРиц", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"radonritz_prepareQuery", "Подготовка опроса РадонРиц"},
    {"radonritz_parseAnswer", "Разбор ответа РадонРиц"},
    {"radonritz_handleNoAnswer", "Нет ответа РадонРиц"},
    {"radonritz_getNetAddress", "Получить сетевой адрес РадонРиц"},
};

constexpr const char* kOnlySpeed[] = {"9600"};
constexpr PropertyDef kProperties[] = {
    {"Сетевой адрес", Role::Address, 0, 2, TEditorKind::Edit, {}, PropertyFormat::Chars},
    {"Скорость RS-485", Role::Address, 2, 4, TEditorKind::Choice, kOnlySpeed},
};

constexpr const char* kNoSetpoint = "Нет";
constexpr const char* kBoundsHandler = "log_handleBoundes";
constexpr uint16_t kBoundsReservedId = 3;
constexpr int kSetpoints = 2;
constexpr const char* kUnit = " M";

// A set point in thousandths as the set-point rows show it: "1.234 M".
std::string SetpointText(uint16_t v) {
    const std::string fraction = IntToStr(1000 + v % 1000);
    return IntToStr(v / 1000) + DecimalSeparator + fraction.substr(1) + kUnit;
}

} // namespace

constexpr TDeviceDef TRADONRITZItem::Def{
    .TypeCode = 36,
    .Folder = "radonritz",
    .NamePrefix = "RADONRITZ: ",
    .ParamNames = kNames,
    .SignalCount = 1,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1599,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kProperties,
    .DescPrefix = "РадонРиц - ",
    .Groups = {},
    .Overrides = {},
    .Checks = kChecks,
};

// The set-point parameters sit beside a bound channel's index; each is taken back only when no
// other object holds it. Made anew, they take that address only while set points are in use, as a
// binding gives it, so that a channel without set points never claims one.
TRADONRITZItem::TRADONRITZItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {
    const TParamItem* channel = Param(kChannel);
    const uint8_t index = channel->ChannelType != 0 && channel->WriteHandler != 0 ? channel->ChannelIndex : 0;
    if (index != 0) {
        FValues = FindFreeChannel(FChannels, kSetpointValueType, index);
        FState = FindFreeChannel(FChannels, kSetpointStateType, index);
    }
    if (!FValues) {
        const uint8_t init[5] = {2, 0, 0, 0, 0};
        FValues = NewChannel(FChannels, index ? kSetpointValueType : 0, index, 40, init, 5);
        FValues->Store = FStore;
    }
    if (!FState) {
        FState = NewChannel(FChannels, index ? kSetpointStateType : 0, index, 8);
        FState->Value.Fill(0xFF);
        FState->RamDepth = 1;
        FState->Store = FStore;
    }
    FValues->Name = "РадонРиц - Уставка: значение";
    FValues->Owner = this;
    FState->Name = "РадонРиц - Уставка: состояние";
    FState->Owner = this;
}

TRADONRITZItem::~TRADONRITZItem() {
    ReleaseChannel(FChannels, FValues);
    ReleaseChannel(FChannels, FState);
}

std::string TRADONRITZItem::AddressText() const {
    const TParamItem* a = Param(kAddressParam);
    std::string text;
    for (int k = 0; k < 2 && a->Value[k] != 0; ++k)
        text += static_cast<char>(a->Value[k]);
    return text;
}

std::string TRADONRITZItem::ValueText(int i) const { return IntToStr(Param(i)->Value[0]); }

std::string TRADONRITZItem::GetDisplayName() { return "ID-" + IntToStr(Number) + " адрес " + AddressText(); }

std::string TRADONRITZItem::GetParamDescription(TParamItem* p) {
    if (!p || p != Param(kChannel))
        return "";
    return "РадонРиц - " + AddressText() + ", вх. сиг. \"" + kNames[kChannel] + "\"";
}

void TRADONRITZItem::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    TParamItem* channel = Param(kChannel);
    if (!p || p != channel)
        return;
    TDeviceEngine::BindParam(type, index, p);
    if (!SameAddress(channel, type, index))
        return; // refused
    const bool inUse = index != 0 && channel->WriteHandler != 0;
    FValues->SetAddress(inUse ? kSetpointValueType : 0, inUse ? index : 0);
    FState->SetAddress(inUse ? kSetpointStateType : 0, inUse ? index : 0);
}

int TRADONRITZItem::GetSetpointCount(TParamItem* p) { return p && p == Param(kChannel) ? kSetpoints : 0; }

void TRADONRITZItem::GetSetpointValueText(TParamItem* p, int n, std::string& text) {
    if (!p || p != Param(kChannel) || n < 0 || n >= kSetpoints)
        return;
    text = SetpointText(GetU16(FValues, 1 + 2 * n));
}

void TRADONRITZItem::SetSetpointValue(TParamItem* p, int n, const std::string& text) {
    TParamItem* channel = Param(kChannel);
    if (!p || p != channel)
        return;
    if (Trim(text) == kNoSetpoint) {
        channel->WriteHandler = 0;
        FValues->SetAddress(0, 0);
        FState->SetAddress(0, 0);
        return;
    }
    // Two bytes hold 0.000 to 65.535; anything else would be stored wrapped.
    uint16_t thousandths = 0;
    if (!ReadSetpoint(text, kUnit, 1000, SetpointText(0), SetpointText(0xFFFF), thousandths))
        return;
    if (n >= 0 && n < kSetpoints)
        SetU16(FValues, 1 + 2 * n, thousandths);
    if (FStore)
        channel->WriteHandler = FStore->FindOrCreate(kBoundsHandler, kBoundsReservedId, 1);
    FValues->SetAddress(kSetpointValueType, channel->ChannelIndex);
    FState->SetAddress(kSetpointStateType, channel->ChannelIndex);
}
