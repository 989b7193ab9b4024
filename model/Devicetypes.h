// Device type table: type codes, stored tags, object numbers, the "only once" rule, the add-object
// menu, and the registry through which driver modules supply their classes. Configuration model layer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TObjectItem;
struct ELEMList;
class actionManager;

// Builds one object: (object number, the configuration's channel list, its subprogram store).
// The object is the caller's; a factory never throws.
using TObjectFactory = TObjectItem* (*)(uint16_t number, ELEMList* channels, actionManager* store);

struct TDeviceType {
    int Code;          // 1..45, position in the add-object menu without separators
    const char* Tag;   // stored as the object's type in the database
    const char* Class; // class name, for reports
    uint16_t Base;     // object number base (or the fixed number)
    bool Counted;      // number = Base + n (n = the type's counter after the increase)
    bool Once;         // a configuration holds at most one
    bool Creatable;    // false only for "QBX540M", which has no class and no counter
};

inline constexpr int kDeviceTypeCount = 45;
inline constexpr int kObjectCounterCount = 44;
inline constexpr int kUserObjectCode = 1;
inline constexpr int kChangeLogCode = 2;
inline constexpr int kMenuEntryCount = 55;

extern const TDeviceType DeviceTypeTable[kDeviceTypeCount];
extern const char* const ObjectMenuEntries[kMenuEntryCount]; // captions, "-" between groups

const TDeviceType* FindDeviceTypeByCode(int code);
// Exact, case-sensitive match against every tag except "USEROBJ" (user objects carry any tag).
const TDeviceType* FindDeviceTypeByTag(std::string_view tag);
// Index of a creatable type's object counter (0..43), or -1.
int ObjectCounterIndex(const TDeviceType* type);
// Object number for the n-th object of the type (16-bit wrap as stored).
uint16_t DeviceObjectNumber(const TDeviceType* type, int n);

// Registry of classes. Driver modules call RegisterDeviceClass from their registration function
// (RegisterQbxDevices() …), which the program and the tests call once: static initialisers in a static
// library would be dropped by the linker. Returns false for an unknown or non-creatable tag.
// The user-defined object and the message journal are registered by the model itself.
bool RegisterDeviceClass(std::string_view tag, TObjectFactory factory);
// Removes a registration (tests); the built-in classes stay.
void UnregisterDeviceClass(std::string_view tag);
// The factory of a type, or null while no class is registered for it.
TObjectFactory DeviceFactory(const TDeviceType* type);
