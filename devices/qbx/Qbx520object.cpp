// The switching-schedule controller QBX-520. Device layer.
#include "Qbx520object.h"

#include "Editorkit.h"
#include "deviceeditors.h"

using namespace qbx;

namespace {

constexpr const char* kFolder = "uo";
constexpr int kMinInstructions = 7;
constexpr uint16_t kCheckReservedIds[] = {kQbx520CheckReservedId};

std::string ChannelText(const TParamItem* c) {
    return c->Name + " (" + IntToStr(c->ChannelType) + ":" + IntToStr(c->ChannelIndex) + ")";
}

} // namespace

// The engine loads the schedule-checking subprogram; the main one has a fixed id of its own.
constexpr dev::TDeviceDef TQbx520Item::Def{
    .TypeCode = 4,
    .Folder = kFolder,
    .NamePrefix = "",
    .ParamNames = {},
    .SignalCount = 0,
    .Signals = {},
    .Settings = {},
    .CodeBase = 0,
    .Commands = {},
    .PollCount = 0,
    .Subprograms = std::span<const SubprogramDef>(Qbx520Subprograms, 1),
    .ReservedIds = kCheckReservedIds,
    .PrepareSub = dev::kNoSlot,
    .ParseSub = dev::kNoSlot,
    .NoAnswerSub = dev::kNoSlot,
    .Properties = {},
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
};

TQbx520Item::TQbx520Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {
    LoadMainSubprogram();

    // The control channel named by the schedule subprogram; without one (a jump there, or a channel
    // that is gone) the subprogram gets the unbound form.
    T_Action* a = Schedule();
    if (!a)
        return;
    const TActionLine* head = Instruction(a, kQbx520ControlPos);
    uint16_t t = 0;
    uint8_t i = 0;
    if (head->Opcode != opGotoA) {
        t = static_cast<uint16_t>(head->Operands[0] | head->Operands[1] << 8);
        i = Instruction(a, kQbx520ControlPos + 1)->Operands[0];
    }
    if (t != 0 && i != 0)
        FControl = FindChannel(channels, t, i);
    if (!FControl)
        WriteControl(nullptr);
}

void TQbx520Item::LoadMainSubprogram() {
    if (!FStore)
        return;

    // The main subprogram always has id 13; a named subprogram already there (a loaded
    // configuration) is left as it is.
    const SubprogramDef& def = Qbx520Subprograms[1];
    T_Action* main = Subprogram(FStore, kQbx520MainId);
    if (main && main->Name() != "action" + IntToStr(kQbx520MainId)) {
        FMain = kQbx520MainId;
        return;
    }
    const bool created = !main;
    if (!main)
        main = FStore->CreateActionWithId(kQbx520MainId);
    if (!main)
        return;
    main->SetName(def.name);
    if (LoadDefaultText(FStore, main, kFolder, def, created))
        FMain = kQbx520MainId;
}

T_Action* TQbx520Item::Schedule() {
    T_Action* a = Subprogram(FStore, ScheduleId());
    return a && InstructionCount(a) >= kMinInstructions ? a : nullptr;
}

void TQbx520Item::WriteControl(TParamItem* c) {
    T_Action* a = Schedule();
    if (!a)
        return;
    if (c && c->ChannelType != 0 && c->ChannelIndex != 0) {
        SetPush(Instruction(a, kQbx520ControlPos), c->ChannelType, 16);
        SetPush(Instruction(a, kQbx520ControlPos + 1), c->ChannelIndex, 8);
    } else {
        SetJump(Instruction(a, kQbx520ControlPos), kQbx520UnboundTarget);
    }
}

TParamItem* TQbx520Item::ControlChannel() {
    if (FControl && !ListHolds(FChannels, FControl))
        FControl = nullptr;
    return FControl;
}

bool TQbx520Item::GetParamValueText(TParamItem*, std::string&) { return true; }
bool TQbx520Item::SetParamValueText(TParamItem*, const std::string&) { return true; }
std::string TQbx520Item::GetDisplayName() { return TObjectItem::GetDisplayName(); }

void TQbx520Item::GetPropertyNames(TStrings* s) {
    s->Clear();
    s->Add("Идентификатор");
    s->Add("Расписание");
    s->Add("Сигнал режима управления");
}

void TQbx520Item::GetPropertyText(int row, std::string& text) {
    if (row == 0) {
        text = IntToStr(Number);
    } else if (row == 1) {
        text = "редактировать";
    } else if (row == 2) {
        TParamItem* c = ControlChannel();
        WriteControl(c);
        text = c && c->ChannelType != 0 && c->ChannelIndex != 0 && Schedule() ? ChannelText(c) : "нет";
    }
}

std::vector<TParamItem*> TQbx520Item::ControlCandidates() {
    std::vector<TParamItem*> list;
    ForEachChannel(FChannels, [&](TParamItem* c) {
        if (c->BitWidth() == 1 && c->ChannelType != 0 && c->ChannelIndex != 0)
            list.push_back(c);
        return true;
    });
    return list;
}

TWinControl* TQbx520Item::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                               TNotifyEvent doneEvent) {
    BeginPropertyEdit(row, doneEvent);
    if (row == 0)
        return TObjectItem::CreatePropertyEditor(row, host, exitEvent, doneEvent);
    if (row == 1)
        return MakeButton(host, "редактировать", exitEvent, [this](TObject* s) {
            ShowScheduleEditor();
            PropertyEdited(s);
        });
    if (row != 2)
        return nullptr;
    std::string current;
    GetPropertyText(2, current);
    FOffered = ControlCandidates();
    std::vector<std::string> items{"Нет"};
    int selected = AnsiSameText(current, items[0]) ? 0 : -1;
    for (TParamItem* c : FOffered) {
        items.push_back(ChannelText(c));
        if (selected < 0 && AnsiSameText(items.back(), current))
            selected = static_cast<int>(items.size()) - 1;
    }
    return MakeChoice(host, items, selected >= 0 ? items[selected] : std::string(), exitEvent,
                      [this](TObject* s) {
                          ApplyControlChoice(EditorItem(s));
                          PropertyEdited(s);
                      });
}

void TQbx520Item::ApplyControlChoice(int item) {
    if (FOffered.empty())
        FOffered = ControlCandidates();
    if (item == 0) {
        FControl = nullptr;
        WriteControl(nullptr);
    } else if (item > 0 && item <= static_cast<int>(FOffered.size()) &&
               ListHolds(FChannels, FOffered[item - 1])) {
        FControl = FOffered[item - 1];
        WriteControl(FControl);
    }
}

void TQbx520Item::ShowScheduleEditor() {
    dev::OpenDeviceEditor(dev::DeviceEditor::Schedule, {FChannels, Number});
}
