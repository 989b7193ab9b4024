// Device type table: type codes, stored tags, object numbers, the "only once" rule, the add-object
// menu, and the registry through which driver modules supply their classes. Configuration model layer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TObjectItem;
struct ELEMList;
class actionManager;

// Builds one object: (object number, the configuration's channel list, its subprogram store).
// The object is the caller's; a factory never throws.
using TObjectFactory = TObjectItem* (*)(uint16_t number, ELEMList* channels, actionManager* store);

struct TDeviceType {
    int Code;                // 1..45, its place in the add-object menu (separators not counted)
    const char* Tag;         // stored as the object's type in the database
    const char* Class;       // class name, for reports
    const char* DisplayType; // the objects' type caption (object lists, descriptions)
    const char* Caption;     // its item in the add-object menu
    int Group;               // menu group: a separator stands between two groups
    int Counter;             // index of its object counter (0..43), -1 for none
    uint16_t Base;           // object number base (or the fixed number)
    bool Counted;            // number = Base + n (n = the type's counter after the increase)
    bool Once;               // a configuration holds at most one
    bool Creatable;          // false only for "QBX540M", which has no class and no counter
};

inline constexpr int kDeviceTypeCount = 45;
inline constexpr int kObjectCounterCount = 44;
inline constexpr int kUserObjectCode = 1;
inline constexpr int kChangeLogCode = 2;

// In code order.
extern const TDeviceType DeviceTypeTable[kDeviceTypeCount];

// One line of the add-object menu: a type's caption and code, or a separator ("-", code 0).
struct TObjectMenuEntry {
    const char* Caption;
    int Code;
};
// The add-object menu: every type in code order, a separator wherever the group changes.
std::vector<TObjectMenuEntry> ObjectMenu();

const TDeviceType* FindDeviceTypeByCode(int code);
// Exact, case-sensitive match against every tag except "USEROBJ" (user objects carry any tag).
const TDeviceType* FindDeviceTypeByTag(std::string_view tag);
// The object counter index of a creatable type (0..43), or -1.
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
