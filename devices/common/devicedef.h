// The description of a device class as data: identity, parameters with their rules, the settings
// block at fixed channel addresses, index tables, commands, default subprograms, property rows,
// description texts and checks. A class holds one constexpr TDeviceDef; the engine (deviceengine.h)
// implements the object's operations from it, and the tests iterate the same tables. Device layer.
#pragma once

#include <cstdint>
#include <span>

#include "Devicetypes.h"
#include "Editorkit.h"
#include "Objectstore.h"

class TDeviceEngine;

namespace dev {

// One default subprogram of a device: its name (also the .act file name) and its caption.
struct SubprogramDef {
    const char* name;
    const char* caption;
    const char* folder = nullptr; // plug-in folder of its file; null: the class's, "" the root
};

// What a parameter is; decides its kind, its value when created and its value text.
enum class Role : uint8_t {
    Signal,     // 2-bit discrete signal: value byte 0 = 2, the state-change handler as write handler
    Control,    // telecontrol: a signal whose change handler prepares the control
    Input,      // discrete input: the state-change handler as write handler, value zero
    Measure,    // measured value: every value byte 0xFF and "undefined" until polled
    Reading,    // measured value that starts at zero and has no "undefined" state
    Address,    // settings: network address byte, then the RS-485 speed (u32, low byte first)
    IndexTable, // settings: one 3-byte channel address (u16 type, u8 index) per signal, in order
    Password,   // settings: the device password (u16, low byte first)
    Setting,    // settings: any other block of bytes
};

// Signal parameters first..last (inclusive) of one rule.
struct ParamRule {
    int first;
    int last;
    Role role; // Signal, Control, Input, Measure or Reading
    uint8_t paramType;
    uint16_t bits;                 // width of a new parameter
    const char* control = nullptr; // Control: the subprogram that prepares it (found or created)
    int switchSub = -1;            // a parameter whose change handler is this subprogram slot's id
    uint8_t switchType = 0;        // (not 0) takes this type instead
    int table = -1;                // position of the index table recording these signals, from
    int entry = 0;                 // this entry on; -1: the tables in order, one entry per signal
    uint8_t kind = 0;              // channel kind; 0: by the role
    bool zeroed = false;           // Measure: the bytes in use start at 0, still undefined until polled
    uint8_t init = 2;              // Signal, Control: value byte 0 of a new one
    int controlSlot = -1; // Control: the class's own subprogram of this slot instead (id 0 when not loaded)
    const char* handler =
        nullptr;          // Signal, Control: write handler other than the state-change one (found or created)
    int offset = -1;      // byte offset of the first entry in `table` when not on an entry boundary
    bool bindable = true; // offered for binding in the channel grid; else only the class moves it
    // Recorded instead in a parse block of the subprogram of slot blockSub: four instructions from
    // `block` (+4 per signal after `first`), a push of the channel type and one of the index when
    // bound, a jump past the block when not. The other two instructions are the subprogram's own.
    int blockSub = -1;
    int block = 0;
};

// Measured values whose bytes in use start at zero, though undefined until polled.
constexpr ParamRule Zeroed(int first, int last, uint8_t type, uint16_t bits) {
    ParamRule r{first, last, Role::Measure, type, bits};
    r.zeroed = true;
    return r;
}

// One settings parameter; they follow the signals in position order.
struct SettingDef {
    Role role;
    uint16_t bits;                  // a stored one narrower than this is widened, zero-filled
    std::span<const uint8_t> init;  // value of a new one, zero past it
    bool editable;                  // value offered in the channel grid
    int position = -1;              // place among the parameters; -1: after the signals, in order
    uint16_t code = 0;              // channel type; 0: CodeBase + position
    bool refill = false;            // widened: the new bytes take `init` rather than zero
    uint8_t index = 0;              // fixed channel index; 0: the object's instance byte
    bool keepWidth = false;         // a narrower stored one keeps its width (its bytes past it stay unsaved)
    uint8_t kind = kChannelSetting; // channel kind given on every construction
};

// Subprogram slots of a command: the class's own (PrepareSub, ParseSub, NoAnswerSub), none (id 0) or
// a given slot.
inline constexpr int kClassSlot = -2;
inline constexpr int kNoSlot = -1;

struct CommandDef {
    const char* name;
    uint8_t execute; // at creation
    int prepare = kClassSlot;
    int parse = kClassSlot;
    int noAnswer = kClassSlot;
    uint8_t period = 0; // period code at creation
};

// How a property row shows the bytes it edits; a text that does not read leaves them unchanged.
enum class PropertyFormat : uint8_t {
    Number,   // little-endian unsigned number of `size` bytes, in decimal, 0..Highest()
    Dotted,   // three bytes as "a.b.c"; exactly three numbers ("." or ",") of 0..255
    Entry,    // a 3-byte channel address as "type:index": a type of 0..65535, an index of 0..255
    Messages, // "Да" while messages are handled by the subprogram of slot `offset`, else "Нет"
    Chars,    // up to `size` characters, zero bytes after a shorter text; a longer one is refused
};

// A property row from row 2 on: `size` bytes at `offset` of the first settings parameter of a role.
struct PropertyDef {
    const char* caption;
    Role setting;
    int offset;
    int size;
    TEditorKind editor;                 // Edit or Choice
    std::span<const char* const> items; // Choice items
    PropertyFormat format = PropertyFormat::Number;
    uint32_t highest = 0;    // Number: the highest value taken; 0: what `size` bytes hold
    bool applyAtEnd = false; // a count that makes or frees channels: applied when the edit ends

    // Number: the highest value taken; a typed number above it, or below 0, is refused.
    constexpr int64_t Highest() const {
        return highest ? highest : size >= 1 && size <= 4 ? (int64_t{1} << (8 * size)) - 1 : 0;
    }
};

// Description texts: prefix + network address + lead + label (in quotation marks when quoted).
// The label is the parameter's name without trailing blanks unless an override gives one.
struct DescGroup {
    int first;
    int last;
    const char* lead;
    bool quoted;
    bool bare = false; // the lead alone, without the label
};
struct DescOverride {
    int index;
    const char* prefix; // null: the class's prefix
    const char* label;  // null: the name
};

// Lines of the configuration check, in the order listed.
enum class Check : uint8_t {
    PeriodOrMessages, // no message handler, first command not executed, no poll period
    PeriodMissing,    // first command executed, no poll period
    CommandInactive,  // first command not executed, a poll period set
    AddressMissing,   // network address 0
    PasswordMissing,  // password 0
};

struct TDeviceDef {
    // Identity: the type's row in the configuration model's device type table gives its tag, display
    // type and object number base.
    int TypeCode;
    const char* Folder;     // plug-in folder of the default subprograms
    const char* NamePrefix; // in front of every parameter name
    // Parameters: signals (rules) then settings, unless a setting names its position; the signals
    // then take the positions the settings leave. One name per parameter, in position order.
    std::span<const char* const> ParamNames;
    int SignalCount; // how many signals
    std::span<const ParamRule> Signals;
    std::span<const SettingDef> Settings;
    uint16_t
        CodeBase; // the settings parameter at position i has channel type CodeBase + i unless it names one
    // Commands and subprograms: every command takes the prepare, parse and no-answer subprograms.
    std::span<const CommandDef> Commands;
    int PollCount; // PollCount commands from PollFirst on are listed as poll commands
    std::span<const SubprogramDef> Subprograms;
    std::span<const uint16_t> ReservedIds; // empty: no reserved ids
    int PrepareSub;                        // slots; kNoSlot for none
    int ParseSub;
    int NoAnswerSub;
    // Object rows, descriptions and checks.
    std::span<const PropertyDef> Properties;
    const char* DescPrefix; // null: no descriptions
    std::span<const DescGroup> Groups;
    std::span<const DescOverride> Overrides;
    std::span<const Check> Checks;
    int PollFirst = 0;            // commands before it are never shown; the command rows count from it
    int MessageSub = kNoSlot;     // slot of the message-handling subprogram the object starts with
    int AddressByte = 0;          // the network address's byte in the Address setting
    bool SettingsInPlace = false; // new settings join the channel list among the signals, in position
                                  // order; else all of them before the signals
    // The type of signal i when the rules cannot tell it (null: the rule's); given the rule's type,
    // with every parameter of the object in place.
    uint8_t (*TypeOf)(const TDeviceEngine& object, int i, uint8_t byRule) = nullptr;

    int ParamCount() const { return SignalCount + static_cast<int>(Settings.size()); }
    const TDeviceType& Type() const { return *FindDeviceTypeByCode(TypeCode); }
    const char* Tag() const { return Type().Tag; }
    const char* DisplayType() const { return Type().DisplayType; }
    uint16_t NumberBase() const { return Type().Base; }
};

// The instance byte of a settings channel is the object's place among the objects of its type.
constexpr uint8_t InstanceOffset(uint16_t numberBase) {
    return static_cast<uint8_t>((256 - numberBase % 256) % 256);
}
constexpr uint8_t InstanceByte(uint16_t numberBase, uint16_t number) {
    return static_cast<uint8_t>((number + InstanceOffset(numberBase)) & 0xFF);
}

// The state-change subprogram of every discrete signal and telecontrol.
inline constexpr const char* kStateHandlerName = "log_handleStateChange";
inline constexpr uint16_t kStateHandlerReservedId = 2;

} // namespace dev
