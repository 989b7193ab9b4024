// NL-16HV: sixteen 2-bit discrete inputs. Device layer.
#include "Ioobjects.h"
#include "iocommon.h"

using namespace io;

namespace {

constexpr const char* kNames[] = {
    "ТС0", "ТС1",  "ТС2",  "ТС3",  "ТС4",  "ТС5",  "ТС6",  "ТС7",           "ТС8",
    "ТС9", "ТС10", "ТС11", "ТС12", "ТС13", "ТС14", "ТС15", "Сетевой адрес", "Индексы  0-20",
};
static_assert(std::size(kNames) == 18);

constexpr int kSignalCount = 16;

constexpr ParamRule kSignals[] = {{0, kSignalCount - 1, Role::Signal, 24, 2, nullptr}};

constexpr SettingDef kSettings[] = {{Role::Address, 40, kAddress9600, true}, IndexTable(kSignalCount)};

constexpr CommandDef kCommands[] = {{"Опрос дискр. сиг. NL-16HV", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"nl16hv_prepareQuery", "Подготовка опроса NL-16HV"},
    {"nl16hv_parseAnswer", "Разбор ответа NL-16HV"},
    {"nl16hv_handleNoAnswer", "Нет ответа NL-16HV"},
    {"nl16hv_getNetAddress", "Получить сетевой адрес NL-16HV"},
};

constexpr DescGroup kGroups[] = {{0, kSignalCount - 1, ",  ", true}};

} // namespace

constexpr TDeviceDef TNL16HVItem::Def{
    .TypeCode = 21,
    .Folder = "nl16hv",
    .NamePrefix = "NL16HV: ",
    .ParamNames = kNames,
    .SignalCount = kSignalCount,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1624,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kAddressAndSpeed,
    .DescPrefix = "NL-16HV - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecks,
};

std::string TNL16HVItem::ValueText(int i) const {
    return i == kSignalCount ? IntToStr(Param(i)->Value[0]) : TDeviceEngine::ValueText(i);
}
