// Shared helpers of every device object: value bytes, channel creation and release,
// default-subprogram loading, parse-block instructions and tolerant number reading. Device layer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "devicedef.h"
#include "devicemodel.h"
#include "instructions.h"

namespace dev {

// ---- Value bytes (little-endian) ----
uint16_t GetU16(const TParamItem* p, int offset);
void SetU16(TParamItem* p, int offset, uint16_t v);
bool IsUnbound(const TParamItem* p); // channel type 0 and index 0
bool SameAddress(const TParamItem* p, uint16_t type, uint8_t index);

// A 3-byte address entry (u16 type, u8 index) inside a value.
struct Address {
    uint16_t type = 0;
    uint8_t index = 0;
    bool Empty() const { return type == 0 && index == 0; }
    bool operator==(const Address&) const = default;
};
Address GetEntry(const TParamItem* p, int offset);
void SetEntry(TParamItem* p, int offset, Address a);
Address AddressOf(const TParamItem* p);
std::string AddressText(Address a); // "type:index"

// ---- Channels ----
// A channel as the configuration makes it ("<без названия>", both flags 1, value zeroed), with the
// address, width and value given; appended to the list, so it takes the list's two hooks.
TParamItem* NewChannel(ELEMList* list, uint16_t type, uint8_t index, uint16_t bits,
                       const uint8_t* value = nullptr, int valueLen = 0);
// The same channel not yet on any list: a constructor appends its new parameters one at a time.
TParamItem* MakeChannel(uint16_t type, uint8_t index, uint16_t bits, const uint8_t* value = nullptr,
                        int valueLen = 0);
// Takes the channel off the list, clears the caller's slot, raises its rebind hook and frees it.
// The slot is cleared first so that code run by the hook never reaches the dying channel.
void ReleaseChannel(ELEMList* list, TParamItem*& slot);
// Walks the channel list from the oldest end; stop by returning false.
void ForEachChannel(ELEMList* list, const std::function<bool(TParamItem*)>& f);
// Takes the channel off the list (nothing when it is not there) and raises its rebind hook; the
// caller frees it.
void TakeOffList(ELEMList* list, TParamItem* p);
// The lookups below are lookups in the index a configuration keeps of its list, else walks.
// Whether p is still on the list (pointer identity; p is never dereferenced).
bool ListHolds(ELEMList* list, const TParamItem* p);
// The channels with this address, from the oldest end.
std::vector<TParamItem*> ChannelsAt(ELEMList* list, uint16_t type, uint8_t index);
// First channel with this address, from the oldest end; null when none.
TParamItem* FindChannel(ELEMList* list, uint16_t type, uint8_t index);
// The same among channels no object owns yet: what a constructor may adopt. A channel already
// taken (by another object, or by this one for another role) is never handed out twice.
TParamItem* FindFreeChannel(ELEMList* list, uint16_t type, uint8_t index);

// One channel per address. The first channel of the list at this address other than `except`, or null.
TParamItem* AddressHolder(ELEMList* list, uint16_t type, uint8_t index, const TParamItem* except);
// Reports (ReportConfigurationProblem) that `p` was not bound to type:index because `holder` holds
// that address.
void ReportAddressHeld(const TParamItem* p, uint16_t type, uint8_t index, const TParamItem* holder);

// Appends a poll command (period code 0) to the object's command list.
void AddCommand(TObjectItem* o, const char* name, uint16_t number, uint8_t execute, uint16_t prepare,
                uint16_t parse, uint16_t noAnswer);

// ---- Default subprograms ----
// Finds or creates each subprogram of `defs` in the store and loads its text from
// <plug-in root>/<folder>/<name>.act (or the definition's own folder) when it has no instructions.
// A file that does not load is reported (PluginFileFailure: "Файл не найден: " + file name when it
// is missing); its id is then 0,
// and a subprogram created here for it is deleted again (one that was already in the store stays:
// other items may name it).
// reservedIds may be null (no reserved-id step). ids receives one id per definition.
void LoadSubprograms(actionManager* store, const char* folder, const SubprogramDef* defs, int count,
                     const uint16_t* reservedIds, uint16_t* ids);
// Loads one subprogram's file when its instruction list is empty; false when the file was missing
// or unreadable, and then the subprogram is deleted if `created` says the caller just made it.
bool LoadDefaultText(actionManager* store, T_Action* a, const char* folder, const SubprogramDef& def,
                     bool created);
// The subprogram of this id, or null when the id is 0 or no longer in the store.
T_Action* Subprogram(actionManager* store, uint16_t id);

// ---- Instructions of a subprogram (positions count from 1) ----
int InstructionCount(T_Action* a);
TActionLine* Instruction(T_Action* a, int pos);
// A push of a number with a length byte (opPush).
void SetPush(TActionLine* line, uint32_t value, uint8_t len);
// An unconditional jump (opGotoA) to target.
void SetJump(TActionLine* line, uint16_t target);

// ---- Numbers typed by the user ----
// Integer in decimal (or "$" hex); blanks around are ignored. False for anything else.
bool ReadInt(const std::string& text, int& out);
// A decimal number ("." or "," as separator, an exponent allowed) followed by the given unit or not
// (the text a value shows, typed over; blanks around the number and the unit are ignored), times
// `factor` (1 to 10^9) and cut toward zero. Worked out from the typed digits, so a number typed at
// the field's resolution is stored as typed (in binary floating point 0.251 × 1000 is 250.999…).
// A result past ±kScaledLimit comes back as that limit. False for a text that is no such number.
inline constexpr int64_t kScaledLimit = int64_t{1} << 62;
bool ReadScaled(const std::string& text, const char* unit, int64_t factor, int64_t& out);
// Splits like a comma text: items are separated by "," or blanks, empty items kept between commas.
std::vector<std::string> CommaItems(const std::string& text);
// A typed integer within lo..hi. A number outside is refused with a message naming the field and
// its range, never stored cut to its low bits; an unreadable text is refused quietly.
bool ReadInRange(const std::string& text, int64_t lo, int64_t hi, const std::string& field, int64_t& out);
// Tells the user that the set point typed as `text` was not stored, and the range it must lie in
// (texts as the set point shows them).
void ReportSetpointRefused(const std::string& text, const std::string& lowest, const std::string& highest);
// The set point typed as `text`, scaled by `factor` (ReadScaled), as the two bytes that hold it. A
// text that is no number, or one past those bytes, is reported with the range and gives false.
bool ReadSetpoint(const std::string& text, const char* unit, int64_t factor, const std::string& lowest,
                  const std::string& highest, uint16_t& raw);
// The same for an unsigned field of `bytes` bytes (1..4).
bool ReadUnsigned(const std::string& text, int bytes, const std::string& field, uint32_t& out);
// "a.b.c" or "a,b,c" to three bytes; false (nothing read) unless exactly three integers of 0..255.
bool ReadThreeBytes(const std::string& text, const std::string& field, uint8_t out[3]);
// "type:index" (or "type,index") to an address; false unless exactly two integers, a type of
// 0..65535 and an index of 0..255.
bool ReadEntry(const std::string& text, const std::string& field, Address& out);
// Value bytes 0-2 as "a.b.c".
std::string DottedBytes(const TParamItem* p);
// One value byte from a typed number of 0..255; anything else changes nothing.
void ApplyByte(TParamItem* p, int offset, const std::string& text, const std::string& field);

// The long name of a parameter-type code; a code past the table (only a damaged file holds one)
// reads "Неизвестный (<code>)".
std::string SafeTypeName(int code);

// Message lines of the checks: Объект "<display type> <display name>" - ...
std::string CheckPrefix(const TObjectItem* o, const std::string& displayName);

} // namespace dev
