// What the Sirius and Orion terminals share: the settings block (network address with the RS-485
// speed, index tables of 21 entries, the password of the shape that has one), the property rows,
// the checks and the description groups. Device layer.
#pragma once

#include "devicedef.h"

namespace relay {

using namespace dev;

inline constexpr uint8_t kAddressInit[5] = {0, 0x00, 0x4B, 0x00, 0x00}; // address 0, 19200 bit/s
inline constexpr const char* kSpeedItems[] = {"4800", "9600", "14400", "19200", "36400", "57600"};
inline constexpr int kTableEntries = 21;

inline constexpr SettingDef kAddress{Role::Address, 40, kAddressInit, true};
constexpr SettingDef IndexTable(int entries) {
    return {Role::IndexTable, static_cast<uint16_t>(24 * entries), {}, false};
}
inline constexpr SettingDef kFullTable = IndexTable(kTableEntries);
inline constexpr SettingDef kPassword{Role::Password, 16, {}, false};

inline constexpr PropertyDef kPropertiesWithPassword[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Скорость RS-485", Role::Address, 1, 4, TEditorKind::Choice, kSpeedItems},
    {"Пароль", Role::Password, 0, 2, TEditorKind::Edit, {}},
};
inline constexpr std::span<const PropertyDef> kPropertiesWithoutPassword{kPropertiesWithPassword, 2};

inline constexpr Check kChecksWithPassword[] = {Check::PeriodMissing, Check::CommandInactive,
                                                Check::AddressMissing, Check::PasswordMissing};
inline constexpr std::span<const Check> kChecksWithoutPassword{kChecksWithPassword, 3};

inline constexpr const char* kIndication = ", инд. ";
inline constexpr const char* kInput = ", вх. сиг. ";
inline constexpr const char* kFault = ", неиспр. ";
inline constexpr const char* kPlain = ", ";

// Slots of the subprograms every command takes: prepare the query, parse the answer, no answer.
inline constexpr int kPrepareSub = 1;
inline constexpr int kParseSub = 2;
inline constexpr int kNoAnswerSub = 3;

// Parameter types of the terminals.
inline constexpr uint8_t kCurrent = 8;
inline constexpr uint8_t kVoltage = 9;
inline constexpr uint8_t kActivePower = 10;
inline constexpr uint8_t kReactivePower = 11;
inline constexpr uint8_t kFrequency = 14;
inline constexpr uint8_t kActiveEnergy = 15;
inline constexpr uint8_t kReactiveEnergy = 16;
inline constexpr uint8_t kTemperature = 17;
inline constexpr uint8_t kAngle = 19;
inline constexpr uint8_t kBreaker = 22;
inline constexpr uint8_t kReset = 23;
inline constexpr uint8_t kSignal2 = 24;

constexpr ParamRule Signals(int first, int last) { return {first, last, Role::Signal, kSignal2, 2, nullptr}; }
constexpr ParamRule Breaker(int i, const char* control) {
    return {i, i, Role::Control, kBreaker, 2, control};
}
constexpr ParamRule Reset(int i, const char* control) { return {i, i, Role::Control, kReset, 2, control}; }
constexpr ParamRule Measures(int first, int last, uint8_t type, uint16_t bits = 16) {
    return {first, last, Role::Measure, type, bits, nullptr};
}

} // namespace relay
