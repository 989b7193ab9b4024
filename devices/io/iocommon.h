// What the I/O modules share: the RS-485 speed rows, the checks, the subprogram slots of their
// commands. Device layer.
#pragma once

#include "devicedef.h"

namespace io {

using namespace dev;

inline constexpr const char* kSpeedItems[] = {"4800", "9600", "14400", "19200", "36400", "57600"};
inline constexpr uint8_t kAddress9600[5] = {0, 0x80, 0x25, 0x00, 0x00}; // address 0, 9600 bit/s

inline constexpr PropertyDef kAddressAndSpeed[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Скорость RS-485", Role::Address, 1, 4, TEditorKind::Choice, kSpeedItems},
};
inline constexpr std::span<const PropertyDef> kAddressOnly{kAddressAndSpeed, 1};

inline constexpr Check kChecks[] = {Check::PeriodMissing, Check::CommandInactive, Check::AddressMissing};

// Every command takes subprograms 0, 1 and 2; subprogram 3 reads the network address.
inline constexpr int kPrepareSub = 0;
inline constexpr int kParseSub = 1;
inline constexpr int kNoAnswerSub = 2;

constexpr SettingDef IndexTable(int entries) {
    return {Role::IndexTable, static_cast<uint16_t>(24 * entries), {}, false};
}

} // namespace io
