// The indicator controllers QBX-570-МЩ3 and QBX-570-МЩ1. Device layer.
#include "Qbx570object.h"

#include <array>

#include "Editorkit.h"
#include "deviceeditors.h"

using namespace qbx;

namespace {

constexpr int kIndicatorRow = 5;
constexpr int kRegisterRow = 4;
constexpr int kRegisterOffset = 4; // of the settings: the shown register's address

// Sixteen entries of digits 0 and divisor 1.
constexpr std::array<uint8_t, 48> FormatDefault() {
    std::array<uint8_t, 48> bytes{};
    for (int e = 0; e < 16; ++e)
        bytes[3 * e + 1] = 1;
    return bytes;
}
constexpr std::array<uint8_t, 48> kFormatDefault = FormatDefault();

constexpr dev::SettingDef Mp3Settings[] = {
    {dev::Role::Setting, 56, kQbx570SettingsDefault, true},
    {dev::Role::Setting, 384, {}, true},
    {dev::Role::Setting, 384, kFormatDefault, true},
};
constexpr dev::SettingDef Mp1Settings[] = {{dev::Role::Setting, 56, kQbx570SettingsDefault, true, 0}};
// The register: a 32-bit channel at the address the settings hold, moved by row 4 only.
constexpr dev::ParamRule Mp1Register[] = {{.first = 1,
                                           .last = 1,
                                           .role = dev::Role::Reading,
                                           .paramType = 0,
                                           .bits = 32,
                                           .table = 0,
                                           .kind = kChannelSetting,
                                           .offset = kRegisterOffset,
                                           .bindable = false}};

constexpr const char* kPollName = "Установка индикации";
constexpr dev::CommandDef Mp3Commands[] = {{kPollName, 0}};
constexpr dev::CommandDef Mp1Commands[] = {{kPollName, 1}};

constexpr dev::PropertyDef AddressRows[] = {
    {"Сетевой адрес", dev::Role::Setting, 0, 3, TEditorKind::Edit, {}, dev::PropertyFormat::Dotted},
    {"Собственный адрес", dev::Role::Setting, 3, 1, TEditorKind::Edit, {}},
};
constexpr dev::PropertyDef Mp3Rows[] = {
    AddressRows[0],
    AddressRows[1],
    {"Номер текущего значения",
     dev::Role::Setting,
     kRegisterOffset,
     3,
     TEditorKind::Edit,
     {},
     dev::PropertyFormat::Entry},
    {"Настройка индикации", dev::Role::Setting, 0, 0, TEditorKind::Button, {}},
};
constexpr dev::PropertyDef Mp1Rows[] = {
    AddressRows[0],
    AddressRows[1],
    {"Регистр", dev::Role::Setting, kRegisterOffset, 3, TEditorKind::Edit, {}, dev::PropertyFormat::Entry},
};

} // namespace

constexpr dev::TDeviceDef TQbx570mp3Item::Def{
    .TypeCode = 43,
    .Folder = "qbx570mp3",
    .NamePrefix = "QBX-570-МЩ3: ",
    .ParamNames = Qbx570mp3ParamNames,
    .SignalCount = 0,
    .Signals = {},
    .Settings = Mp3Settings,
    .CodeBase = 1083,
    .Commands = Mp3Commands,
    .PollCount = 1,
    .Subprograms = Qbx570mp3Subprograms,
    .ReservedIds = {},
    .PrepareSub = 0,
    .ParseSub = 1,
    .NoAnswerSub = 3,
    .Properties = Mp3Rows,
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
    .MessageSub = 2,
};

constexpr dev::TDeviceDef TQbx570mp1Item::Def{
    .TypeCode = 44,
    .Folder = "qbx570mp1",
    .NamePrefix = "QBX-570-МЩ1: ",
    .ParamNames = Qbx570mp1ParamNames,
    .SignalCount = 1,
    .Signals = Mp1Register,
    .Settings = Mp1Settings,
    .CodeBase = 1086,
    .Commands = Mp1Commands,
    .PollCount = 1,
    .Subprograms = Qbx570mp1Subprograms,
    .ReservedIds = {},
    .PrepareSub = 0,
    .ParseSub = 1,
    .NoAnswerSub = dev::kNoSlot,
    .Properties = Mp1Rows,
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
};

std::string TQbx570Item::ValueText(int) const { return "значение недоступно"; }

std::string TQbx570Item::GetDisplayName() {
    const TParamItem* s = Param(0);
    return "ID-" + IntToStr(Number) + ", адрес " + DottedBytes(s) + "-" + IntToStr(s->Value[3]);
}

// ---- QBX-570-МЩ3 ----

TQbx570mp3Item::TQbx570mp3Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbx570Item(Def, number, channels, store) {}

void TQbx570mp3Item::GetPropertyText(int row, std::string& text) {
    if (row == kIndicatorRow)
        text = "Щелкни для настройки";
    else
        TQbx570Item::GetPropertyText(row, text);
}

TWinControl* TQbx570mp3Item::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                  TNotifyEvent doneEvent) {
    if (row != kIndicatorRow)
        return TQbx570Item::CreatePropertyEditor(row, host, std::move(exitEvent), std::move(doneEvent));
    BeginPropertyEdit(row, doneEvent);
    return MakeButton(host, "настроить", std::move(exitEvent),
                      [this](TObject* s) { ApplyPropertyEditor(s); });
}

void TQbx570mp3Item::ApplyPropertyValue(int row, const std::string& text) {
    if (row == kIndicatorRow)
        ShowIndicatorEditor();
    else
        TQbx570Item::ApplyPropertyValue(row, text);
}

void TQbx570mp3Item::ShowIndicatorEditor() {
    dev::OpenDeviceEditor(dev::DeviceEditor::Indicator, {FChannels, Number});
}

// ---- QBX-570-МЩ1 ----

TQbx570mp1Item::TQbx570mp1Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbx570Item(Def, number, channels, store) {}

// Type 0 names no channel, so the uniqueness test does not apply to it.
void TQbx570mp1Item::ApplyPropertyValue(int row, const std::string& text) {
    if (row != kRegisterRow) {
        TQbx570Item::ApplyPropertyValue(row, text);
        return;
    }
    Address a;
    if (!ReadEntry(text, Mp1Rows[row - 2].caption, a))
        return;
    if (const TParamItem* holder =
            a.type != 0 && a.index != 0 ? FindChannel(FChannels, a.type, a.index) : nullptr;
        holder && holder != Param(1)) {
        ReportAddressHeld(Param(1), a.type, a.index, holder);
        return;
    }
    SetEntry(Param(0), kRegisterOffset, a);
    Param(1)->SetAddress(a.type, a.index);
}
