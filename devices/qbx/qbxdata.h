// Constant tables of the maker's device objects (QBX-510 … QBX-570): names, captions, channel
// addresses, widths and defaults. Device layer; the engines read these and the tests iterate them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "devicedef.h"

namespace qbx {

// The QBX devices are built from the common device kit.
using namespace dev;

// ---- QBX-510 concentrator -------------------------------------------------------------------

inline constexpr int kQbx510Temperature = 32; // parameter index of the board temperature
inline constexpr int kQbx510FirstSignal = 1;
inline constexpr int kQbx510LastSignal = 20;
inline constexpr int kQbx510LastInput = 16; // inputs 1..16 have the "Режим"/"Управление" rows
inline constexpr int kQbx510ControlTable = 21;
inline constexpr int kQbx510AddrLow = 22;
inline constexpr int kQbx510AddrHigh = 23;
inline constexpr int kQbx510ParentAddr = 24;
inline constexpr int kQbx510NetAddr = 25;
inline constexpr int kQbx510Com1 = 26;
inline constexpr int kQbx510Com2 = 27;
inline constexpr int kQbx510TuMode = 28;
inline constexpr int kQbx510TuDelays = 29;
inline constexpr int kQbx510Settings = 30;
inline constexpr int kQbx510TsInversion = 31;

extern const char* const Qbx510ParamNames[33];

// Subprogram slots of the concentrator, with their reserved ids.
enum Qbx510Sub { kSubParseMessage = 0, kSubDoControl = 1, kSubLeadUp = 2, kSubMakeControl = 3 };
inline constexpr int kQbx510SubCount = 4;
extern const SubprogramDef Qbx510Subprograms[kQbx510SubCount];
extern const uint16_t Qbx510ReservedIds[kQbx510SubCount];

// First instruction (counted from 1) of the parse block of signal i (1..20) or of the temperature;
// 0 for any other parameter.
constexpr int Qbx510ParseBlock(int signal) {
    if (signal >= 1 && signal <= 16)
        return 4 * signal + 31;
    if (signal >= 17 && signal <= 20)
        return 4 * signal - 50;
    return signal == kQbx510Temperature ? 99 : 0;
}

// Property rows.
extern const char* const Qbx510PropertyNames[13];
extern const char* const Qbx510DelayRowNames[4];
extern const char* const Qbx510BaudItems[9];

// ---- QBX-520 schedule controller -------------------------------------------------------------

extern const SubprogramDef Qbx520Subprograms[2];
inline constexpr uint16_t kQbx520CheckReservedId = 40;
inline constexpr uint16_t kQbx520MainId = 13;
inline constexpr int kQbx520ControlPos = 6;     // instruction holding the control channel type
inline constexpr int kQbx520UnboundTarget = 17; // jump target of the unbound form

// ---- QBX-530 / QBX-550 cell and discrete-input controllers -----------------------------------

// What distinguishes the two controllers: the description the driver engine runs, and the rest the
// cell controller class reads.
struct CellDeviceDef {
    dev::TDeviceDef device;           // inputs are its signals; address, index table, control table
    const SubprogramDef* subprograms; // the device's default subprograms, as device.Subprograms
    int subprogramCount;
    int controlSub;      // slot of the control subprogram
    bool addressInNames; // QBX-550 names carry the network address
};
extern const CellDeviceDef Qbx530Def;
extern const CellDeviceDef Qbx550Def;
extern const char* const CellControlItems[4];
inline constexpr const char* kCellControlPollName = "Управление*";

// ---- QBX-540 controller ----------------------------------------------------------------------

inline constexpr int kQbx540MaxAnalog = 31;
inline constexpr int kQbx540Slots = 37;
inline constexpr uint16_t kQbx540ChannelType = 1008;
extern const char* const Qbx540ParamNames[7];
extern const SubprogramDef Qbx540Subprograms[5];
extern const char* const Qbx540SetpointNames[6];
extern const char* const Qbx540ConverterItems[2];
extern const uint8_t Qbx540AnalogTypes[4]; // ParamType codes offered for an analog channel
extern const uint8_t Qbx540AnalogDefault[13];

// ---- QBX-560 temperature controller -----------------------------------------------------------

extern const char* const Qbx560ParamNames[10];
extern const SubprogramDef Qbx560Subprograms[4];

// ---- QBX-570 indicator controllers ------------------------------------------------------------

extern const char* const Qbx570mp3ParamNames[3];
extern const SubprogramDef Qbx570mp3Subprograms[5];
extern const char* const Qbx570mp1ParamNames[2];
extern const SubprogramDef Qbx570mp1Subprograms[5];
inline constexpr uint8_t kQbx570SettingsDefault[7] = {4, 0, 0, 1, 0, 0, 0};

} // namespace qbx
