// УЗА-10А.2: eight indications, four inputs, three currents, the breaker telecontrol with its relay
// choice. Device layer.
#include "Bmrzobjects.h"
#include "uzacommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "МТЗ",          "ТО1",           "ТО2",          "ЗНЗ",           "АПВ",         "Состояние выключателя",
    "Инд. Вход 4",  "Исправно",      "Вход 1",       "Вход 2",        "Вход 3",      "Вход 4",
    "Ток ф.А",      "Ток ф.С",       "Ток 3I0",      "Сетевой адрес", "Индексы 1-4", "Индексы 5-8",
    "Индексы 9-12", "Индексы 13-15", "Коды управл.",
};
static_assert(std::size(kNames) == 21);

constexpr uint8_t kSignal = 3;
constexpr uint8_t kControl = 1;

constexpr ParamRule kSignals[] = {
    {.first = 0, .last = 4, .role = Role::Signal, .paramType = kSignal, .bits = 1, .init = 0},
    {.first = TUZA10A2Item::kBreaker,
     .last = TUZA10A2Item::kBreaker,
     .role = Role::Control,
     .paramType = kControl,
     .bits = 1,
     .init = 0,
     .controlSlot = TUZA10A2Item::kControlSlot},
    {.first = 6, .last = 11, .role = Role::Signal, .paramType = kSignal, .bits = 1, .init = 0},
    Zeroed(12, 14, kCurrent, 16),
};

constexpr SettingDef kSettings[] = {
    {Role::Address, 8, {}, true},   IndexTable(4), IndexTable(4), IndexTable(4), IndexTable(3),
    {Role::Setting, 16, {}, false},
};

constexpr CommandDef kCommands[] = {{"Опрос данных УЗА10А2", 0}, {"UZA Control", 1}};

constexpr SubprogramDef kSubprograms[] = {
    {"createCRC16", "Расчет КС Меркурий 230/СЭТ/УЗА10А2", ""},
    {"uza10a2_prepareQuery", "Подготовка опроса УЗА10А2"},
    {"uza10a2_parseAnswer", "Разбор ответа УЗА10А2"},
    {"uza10a2_handleNoAnswer", "Нет ответа УЗА10А2"},
    {"uza10a2_getNetAddress", "Получить сетевой адрес УЗА10А2"},
    {"uza10a2_prepareControl", "Подготовка команды управления УЗА10А2"},
};
constexpr uint16_t kReservedIds[] = {20, 41, 42, 43, 44, 45};

constexpr PropertyDef kProperties[] = {{"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}}};

// "вкл.:RL<on>, выкл.:RL<off>" with relay numbers 1-4 for codes 0-3.
std::string RelayText(int on, int off) {
    return "вкл.:RL" + IntToStr(on + 1) + ", выкл.:RL" + IntToStr(off + 1);
}

constexpr int kChoices = 16;

} // namespace

constexpr TDeviceDef TUZA10A2Item::Def{
    .TypeCode = 10,
    .Folder = "uza10a2",
    .NamePrefix = "УЗА-10А2: ",
    .ParamNames = kNames,
    .SignalCount = 15,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 995,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = kReservedIds,
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kProperties,
    .DescPrefix = "УЗА-10.А2 - ",
    .Groups = uza::kGroups,
    .Overrides = uza::kLabels,
    .Checks = kChecksWithoutPassword,
};

std::string TUZA10A2Item::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i == 15)
        return IntToStr(GetU16(p, 0));
    if (i == kCodes)
        return RelayText(p->Value[0], p->Value[1]);
    return TDeviceEngine::ValueText(i);
}

void TUZA10A2Item::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    if (p && p == Param(kBreaker))
        s->Add("Управление");
}

void TUZA10A2Item::GetSetpointText(int, TParamItem* p, std::string& text) {
    if (p && p == Param(kBreaker))
        text = RelayText(Param(kCodes)->Value[0], Param(kCodes)->Value[1]);
}

TWinControl* TUZA10A2Item::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                                TNotifyEvent exitEvent, TNotifyEvent doneEvent) {
    if (!p || p != Param(kBreaker))
        return nullptr;
    BeginSetpointEdit(p, n, std::move(doneEvent));
    if (n != 0)
        return nullptr;
    std::vector<std::string> items;
    for (int k = 0; k < kChoices; ++k)
        items.push_back(RelayText(k / 4, k % 4));
    std::string text;
    GetSetpointText(n, p, text);
    return MakeChoice(host, std::move(items), Trim(text), std::move(exitEvent),
                      [this](TObject* s) { RelayChoiceChanged(s); });
}

void TUZA10A2Item::RelayChoiceChanged(TObject* sender) {
    if (FSetpointRow == 0 && FSetpointParam == Param(kBreaker))
        ApplyRelayChoice(EditorItem(sender));
    SetpointEdited(sender);
}

void TUZA10A2Item::ApplyRelayChoice(int k) {
    if (k < 0 || k >= kChoices)
        return;
    TParamItem* codes = Param(kCodes);
    codes->Value[0] = static_cast<uint8_t>(k / 4);
    codes->Value[1] = static_cast<uint8_t>(k % 4);
    Param(kBreaker)->ChangeHandler = SubprogramId(kControlSlot);
}

void TUZA10A2Item::GetCommandModeText(int, std::string& text) { text = uza::CommandModeText(this); }
