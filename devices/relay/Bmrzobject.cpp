// The eight BMRZ terminals: one description on the shape they share (24 discrete signals, the breaker
// control and the trip reset, the network address with the RS-485 speed, two index tables), made for
// each from its type code, plug-in folder, channel-code base and group. Device layer.
#include <algorithm>
#include <span>

#include "Bmrzobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kKLNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Внешняя защита",
    "Блокировка АПВ",
    "Программа 2",
    "Авария ШП",
    "АЧР/ЧАПВ",
    "Блокировка ЗМН",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд",
    "ЛЗШд",
    "АПВ сигнал",
    "Пуск МТЗ",
    "Перегрузка",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kKLNames) == 27);

constexpr const char* kVVNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Разреш. АВР",
    "Блокировка АВР",
    "Программа 2",
    "Авария ШП",
    "УРОВп",
    "ЛЗШп",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд",
    "Выход",
    "Разреш. АВР",
    "Вкл. СВ",
    "Откл. СВ",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kVVNames) == 27);

constexpr const char* kSVNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Вкл. СВ",
    "Откл. СВ",
    "Программа 2",
    "Авария ШП",
    "УРОВп",
    "ЛЗШп",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд1",
    "ЛЗШд",
    "УРОВд2",
    "Пуск МТЗ",
    "Перегрузка",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kSVNames) == 27);

constexpr SettingDef kSettings[] = {kAddress, kFullTable, IndexTable(3)};

constexpr DescGroup kGroups[] = {
    {0, 9, kInput, true},
    {10, 19, ", вых. сиг. ", true},
    {20, 23, kIndication, true},
};

// In the 103VV members the description names position 17 in full.
constexpr DescOverride kVVOverrides[] = {{17, nullptr, "Разрешение АВР"}};

// Every command takes subprograms 0, 1 and 2.
constexpr int kBmrzPrepare = 0;
constexpr int kBmrzParse = 1;
constexpr int kBmrzNoAnswer = 2;

// A text put together at compile time: a member's names follow from its folder and device word.
template <size_t N> struct TText {
    char Chars[N]{};
    constexpr TText() = default;
    constexpr TText(const char (&s)[N]) { std::copy_n(s, N, Chars); }
};

template <TText A, TText B>
constexpr auto kJoined = [] {
    TText<sizeof(A.Chars) + sizeof(B.Chars) - 1> t;
    std::copy_n(A.Chars, sizeof(A.Chars) - 1, t.Chars);
    std::copy_n(B.Chars, sizeof(B.Chars), t.Chars + sizeof(A.Chars) - 1);
    return t;
}();

// The parameter names' prefix: the folder in capitals.
template <TText Folder>
constexpr auto kPrefix = [] {
    TText<sizeof(Folder.Chars) + 2> t;
    for (size_t i = 0; i + 1 < sizeof(Folder.Chars); ++i) {
        const char c = Folder.Chars[i];
        t.Chars[i] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    std::copy_n(": ", 3, t.Chars + sizeof(Folder.Chars) - 1);
    return t;
}();

// What the members of one group share: the device word of their commands and captions, the
// parameter names and the description texts.
struct TKL {
    static constexpr TText Word{"БМРЗ101КЛ"};
    static constexpr std::span<const char* const> Names = kKLNames;
    static constexpr const char* Label = "БМРЗ-101КЛ - ";
    static constexpr std::span<const DescOverride> Overrides = {};
};
struct TVV {
    static constexpr TText Word{"БМРЗ103ВВ"};
    static constexpr std::span<const char* const> Names = kVVNames;
    static constexpr const char* Label = "БМРЗ-103ВВ - ";
    static constexpr std::span<const DescOverride> Overrides = kVVOverrides;
};
struct TSV {
    static constexpr TText Word{"БМРЗ103CВ"};
    static constexpr std::span<const char* const> Names = kSVNames;
    static constexpr const char* Label = "БМРЗ-103CВ - ";
    static constexpr std::span<const DescOverride> Overrides = {};
};

// One member: its type code, plug-in folder, channel-code base and group; the rest is shared.
template <int TypeCode, TText Folder, uint16_t CodeBase, class Group> struct TBmrz {
    template <TText Suffix> static constexpr const char* Sub = kJoined<Folder, Suffix>.Chars;
    template <TText Lead> static constexpr const char* Caption = kJoined<Lead, Group::Word>.Chars;

    static constexpr ParamRule Signals[] = {relay::Signals(0, 21), Breaker(22, Sub<"_prepareControl">),
                                            Reset(23, Sub<"_prepareReset">)};
    static constexpr CommandDef Commands[] = {
        {Caption<"Опрос дискр. кан. ">, 0},     {"Подготовка к опросу - команда 1", 1},
        {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
        {"Подготовка к ТУ - команда 2", 1},
    };
    static constexpr SubprogramDef Subprograms[] = {
        {Sub<"_prepareQuery">, Caption<"Подготовка опроса ">},
        {Sub<"_parseAnswer">, Caption<"Разбор ответа ">},
        {Sub<"_handleNoAnswer">, Caption<"Нет ответа ">},
        {Sub<"_getNetAddress">, Caption<"Получить сетевой адрес ">},
        {Sub<"_prepareControl">, Caption<"Подготовка команд Вкл./Откл. ВВ ">},
        {Sub<"_prepareReset">, Caption<"Подготовка команды Сброса ">},
    };

    static constexpr TDeviceDef Def{
        .TypeCode = TypeCode,
        .Folder = Folder.Chars,
        .NamePrefix = kPrefix<Folder>.Chars,
        .ParamNames = Group::Names,
        .SignalCount = 24,
        .Signals = Signals,
        .Settings = kSettings,
        .CodeBase = CodeBase,
        .Commands = Commands,
        .PollCount = 1,
        .Subprograms = Subprograms,
        .ReservedIds = {},
        .PrepareSub = kBmrzPrepare,
        .ParseSub = kBmrzParse,
        .NoAnswerSub = kBmrzNoAnswer,
        .Properties = kPropertiesWithoutPassword,
        .DescPrefix = Group::Label,
        .Groups = kGroups,
        .Overrides = Group::Overrides,
        .Checks = kChecksWithoutPassword,
    };
};

} // namespace

constexpr TDeviceDef kBmrz101KLDef = TBmrz<13, "bmrz101kl", 1416, TKL>::Def;
constexpr TDeviceDef kBmrz101KL01Def = TBmrz<14, "bmrz101kl01", 1436, TKL>::Def;
constexpr TDeviceDef kBmrz101KL02Def = TBmrz<15, "bmrz101kl02", 1516, TKL>::Def;
constexpr TDeviceDef kBmrz103VVDef = TBmrz<16, "bmrz103vv", 1456, TVV>::Def;
constexpr TDeviceDef kBmrz103VV01Def = TBmrz<17, "bmrz103vv01", 1476, TVV>::Def;
constexpr TDeviceDef kBmrz103VV02Def = TBmrz<18, "bmrz103vv02", 1556, TVV>::Def;
constexpr TDeviceDef kBmrz103SVDef = TBmrz<19, "bmrz103sv", 1496, TSV>::Def;
constexpr TDeviceDef kBmrz103SV01Def = TBmrz<20, "bmrz103sv01", 1536, TSV>::Def;
