// What the meters share: set points kept in a value and a state channel per measured value, the
// value texts of energies and tariff counters, the poll-command check of the polled meters and
// the subprogram version check. Device layer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "deviceengine.h"

namespace meter {

// Parameter names of the three-phase meters that share one layout (Mercury 230, SET-4TM).
inline constexpr const char* kThreePhaseNames[] = {
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Напряжение ф.А",
    "Напряжение ф.B",
    "Напряжение ф.C",
    "Мощность акт. ф.А",
    "Мощность акт. ф.В",
    "Мощность акт. ф.С",
    "Мощность реакт. ф.А",
    "Мощность реакт. ф.В",
    "Мощность реакт. ф.С",
    "Коэфф. мощности ф.А",
    "Коэфф. мощности ф.В",
    "Коэфф. мощности ф.С",
    "Частота",
    "Энергия акт.+",
    "Энергия реакт.+",
    "Сетевой адрес",
    "Индексы токов, напряжений",
    "Индексы мощности",
    "Индексы энергии, частоты, cosFi",
    "Энергия акт. по тарифам",
    "Энергия реакт. по тарифам",
    "Индексы энергии по тарифам",
    "Энергия акт.-",
    "Энергия реакт.-",
    "Мощность акт. 3ф",
    "Мощность реакт. 3ф",
    "Коэфф. мощности 3ф",
    "Индексы суммарных показаний",
};

using namespace dev;

// Channel types of a measured value's set points: the two raw limits, and their state.
inline constexpr uint16_t kSetpointValueType = 16;
inline constexpr uint16_t kSetpointStateType = 17;
inline constexpr uint16_t kSetpointValueBits = 40;
inline constexpr uint16_t kSetpointStateBits = 8;
inline constexpr const char* kBoundsHandlerName = "log_handleBoundes";
inline constexpr uint16_t kBoundsHandlerReservedId = 3;

struct SetpointDef {
    std::span<const int> params; // measured values with two set points, in set-point order
    const char* valueName;
    const char* stateName;
};
// The set points of both SET-4TM classes.
extern const SetpointDef kSetSetpoints;

// Parameter types of the meters.
inline constexpr uint8_t kTelecontrol = 1;
inline constexpr uint8_t kTelesignal = 3;
inline constexpr uint8_t kCurrent = 8;
inline constexpr uint8_t kVoltage = 9;
inline constexpr uint8_t kActivePower = 10;
inline constexpr uint8_t kReactivePower = 11;
inline constexpr uint8_t kApparentPower = 12;
inline constexpr uint8_t kPowerFactor = 13;
inline constexpr uint8_t kFrequency = 14;
inline constexpr uint8_t kActiveEnergy = 15;
inline constexpr uint8_t kReactiveEnergy = 16;
inline constexpr uint8_t kActiveTariffs = 20;
inline constexpr uint8_t kReactiveTariffs = 21;
inline constexpr uint8_t kSignal2 = 24;
inline constexpr uint8_t kTariffKind = 4;

inline constexpr const char* kUndefined = "не определено";

// Rules of measured values recorded at named index-table entries.
constexpr ParamRule Measured(int first, int last, uint8_t type, uint16_t bits, int table, int entry,
                             uint8_t kind = 0) {
    ParamRule r{first, last, Role::Measure, type, bits};
    r.table = table;
    r.entry = entry;
    r.kind = kind;
    return r;
}
// A rule whose signals are recorded from entry `entry` of the index table at position `table`.
constexpr ParamRule Recorded(ParamRule r, int table, int entry) {
    r.table = table;
    r.entry = entry;
    return r;
}
// One-bit discrete inputs typed `type`, or `controlType` while subprogram slot `control` is their
// change handler.
constexpr ParamRule Inputs(int first, int last, uint8_t type, uint8_t controlType, int control) {
    ParamRule r{first, last, Role::Input, type, 1};
    r.switchSub = control;
    r.switchType = controlType;
    return r;
}
// A description lead without the parameter's name.
constexpr DescGroup Bare(int first, int last, const char* lead) { return {first, last, lead, false, true}; }
inline constexpr const char* kPhaseA = ", ф.A"; // the phase letters are Latin
inline constexpr const char* kPhaseB = ", ф.B";
inline constexpr const char* kPhaseC = ", ф.C";
inline constexpr const char* kThreePhase = ", 3ф";
inline constexpr const char* kWattHours = " Вт*ч";
inline constexpr const char* kVarHours = " ВAp*ч"; // "Ap" Latin, as stored texts have it

// Value bytes 0-3 as a signed number.
std::string SignedText(const TParamItem* p);
// The four tariff counters: "T1 = n<unit>; T2 = …", a counter with every bit set as "T1 = ?".
std::string TariffText(const TParamItem* p, const char* unit);

// The poll-command check of a meter. needed[i]: the number of the command that parameter i needs
// while bound, kTariffMark for a tariff counter, 0 for none. Lines: every needed command among
// 2 .. firstTariff−1 that is off; a tariff counter bound while no tariff command (firstTariff on)
// runs; commands running without the object's poll period; the address missing.
inline constexpr int kTariffMark = -1;
void MeterCheck(TDeviceEngine* o, TStrings* s, std::span<const int8_t> needed, int firstTariff);
// One line for each subprogram of the object whose file is newer than the stored one.
void VersionCheck(TDeviceEngine* o, actionManager* store, TStrings* s);

// Telecontrol codes of the "Знак+" inputs: the high four bits name the channel that switches on,
// the low four the one that switches off; 0 is none. The editor offers exactly these.
bool ControlCodeText(uint8_t code, std::string& out); // false for a code not offered
// The drop-down list of the codes, the item equal to the text (blanks around ignored) selected.
TWinControl* ControlCodeEditor(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                               TNotifyEvent apply);
// Stores the code of the item chosen in the sender as byte i; no choice stores nothing.
void StoreControlCode(TParamItem* codes, int i, TObject* sender);

} // namespace meter

// A meter with set points: two set points for each of its listed measured values, stored raw in a
// value channel (type 16) and switched on in a state channel (type 17), both at the measured
// value's index while it is bound and its set points are on, else unbound.
class TSetpointMeter : public TDeviceEngine {
public:
    // The set-point channels leave the list and raise their rebind hooks while every channel of the
    // object lives; the engine then does the same for the parameters.
    ~TSetpointMeter() override;

    // A bound value takes its set points along while they are on; binding to no address switches
    // them off.
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    int GetSetpointCount(TParamItem* p) override;
    void GetSetpointValueText(TParamItem* p, int n, std::string& out) override;
    // "Нет" switches the set points off. A number, with "." or "," and the unit optional, is
    // scaled, cut toward zero to a raw unit and stored when it fits 16 bits; it switches the set
    // points on. Anything else changes nothing.
    void SetSetpointValue(TParamItem* p, int n, const std::string& text) override;

    int SetpointOf(const TParamItem* p) const; // set-point order of a measured value, or -1
    TParamItem* SetpointValue(int k) const { return FValue[k]; }
    TParamItem* SetpointState(int k) const { return FState[k]; }
    // Raw units per shown unit of parameter i's set points; 0 for a type without set-point text.
    virtual int SetpointFactor(int i) const;

protected:
    TSetpointMeter(const dev::TDeviceDef& def, const meter::SetpointDef& sp, uint16_t number,
                   ELEMList* channels, actionManager* store);

private:
    // Moves set-point pair k to the value's index; refused with a message when another channel
    // holds either address.
    bool PlacePair(int k, uint8_t index);
    void UnbindPair(int k);

    const meter::SetpointDef& FSp;
    std::vector<TParamItem*> FValue;
    std::vector<TParamItem*> FState;
};
