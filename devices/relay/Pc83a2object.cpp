// РС83-А2: protection indications, LEDs, discrete inputs and outputs (most of them telecontrols),
// the breaker and four currents. Device layer.
#include "Bmrzobjects.h"
#include "uzacommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "МТЗ 1 (св-д 1)",
    "МТЗ 2 (св-д 2)",
    "МТЗ 3 (св-д 3)",
    "МТЗ 4 (св-д 4)",
    "ЗНЗ 1 (св-д 5)",
    "ЗНЗ 2 (св-д 6)",
    "АПВ   (св-д 7)",
    "Светодиод  8",
    "Светодиод  9",
    "Светодиод 10",
    "Светодиод 11",
    "Светодиод 12",
    "Светодиод 13",
    "Дискретный вход 3",
    "Дискретный вход 4",
    "Дискретный вход 5",
    "Дискретный вход 6",
    "Дискретный вход 7",
    "Дискретный вход 8",
    "Дискретный вход 9",
    "Дискретный вход 10",
    "Дискретный вход 11",
    "Дискретный вход 12",
    "Дискретный вход 13",
    "Состояние ВВ",
    "Дискретный выход 1",
    "Дискретный выход 2",
    "Дискретный выход 3",
    "Дискретный выход 4",
    "Дискретный выход 5",
    "Дискретный выход 6",
    "Дискретный выход 7",
    "Дискретный выход 8",
    "Дискретный выход 9",
    "Дискретный выход 10",
    "Дискретный выход 11",
    "Дискретный выход 12",
    "Дискретный выход 13",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Ток 3I0",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kNames) == 45);

constexpr const char* kControl = "pc83a2_prepareControl";

constexpr ParamRule kSignals[] = {
    {0, 5, Role::Control, kReset, 2, kControl},
    Signals(6, 23),
    {24, 37, Role::Control, kBreaker, 2, kControl},
    Zeroed(38, 41, kCurrent, 16),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable};

constexpr CommandDef kCommands[] = {{"Опрос данных PC83-А2", 0}, {"PC83 Control", 1}};

constexpr SubprogramDef kSubprograms[] = {
    {"createCRC16", "Расчет CRC16", ""},
    {"pc83a2_prepareQuery", "Подготовка опроса PC83-А2"},
    {"pc83a2_parseAnswer", "Разбор ответа PC83-А2"},
    {"pc83a2_handleNoAnswer", "Нет ответа PC83-А2"},
    {"pc83a2_getNetAddress", "Получить сетевой адрес PC83-А2"},
    {"pc83a2_prepareControl", "Подготовка команды управления PC83-А2"},
};

} // namespace

constexpr TDeviceDef TPC83A2Item::Def{
    .TypeCode = 11,
    .Folder = "pc83a2",
    .NamePrefix = "PC83-А2: ",
    .ParamNames = kNames,
    .SignalCount = 42,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1068,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "PC83-А2 - ",
    .Groups = uza::kGroups,
    .Overrides = uza::kLabels,
    .Checks = kChecksWithoutPassword,
};

std::string TPC83A2Item::GetParamDescription(TParamItem* p) {
    const int i = IndexOf(p);
    return i >= 0 && i < uza::kDescribed ? TDeviceEngine::GetParamDescription(p) : "";
}

void TPC83A2Item::GetCommandModeText(int, std::string& text) { text = uza::CommandModeText(this); }
