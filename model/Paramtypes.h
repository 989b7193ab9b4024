// Parameter-type names and multipliers, poll-period codes and command execution modes.
// Configuration model layer; pure data and text rules, no GUI.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Parameter-type codes 0..26 (the u8 `ParamType` of a channel).
inline constexpr int kParamTypeCount = 27;
extern const char* const ParamTypeNames[kParamTypeCount];
extern const char* const ParamTypeShortNames[kParamTypeCount];

// The constant display multiplier of a type (1 for codes without a row).
double ParamTypeMultiplier(int code);
// The multiplier as text: general format, 6 significant digits, the runtime's decimal separator.
std::string ParamTypeMultiplierText(int code);

// Poll-period codes, shared by objects and poll commands.
inline constexpr uint8_t kPeriodNone = 0; // "нет опроса" / executed with no period of its own
inline constexpr uint8_t kPeriodContinuous = 255; // "непрерывно" / every session
inline constexpr uint8_t kPeriodHoursBit = 0x80;
inline constexpr uint8_t kPeriodMinutesBit = 0x40;
inline constexpr uint8_t kPeriodCountMask = 0x3F;
inline constexpr int kPeriodMaxCount = 63;

extern const char* const kPeriodNoneText;       // "нет опроса"
extern const char* const kPeriodContinuousText; // "непрерывно"

// "5 h", "5 m", "5 s" for timed codes (count and unit only).
std::string PeriodCountText(uint8_t code);
// The object's period text: "нет опроса", "непрерывно" or PeriodCountText.
std::string PeriodText(uint8_t code);

// An optional sign and decimal digits, however many: a typed number even where too long to read.
bool IsDecimalNumber(const std::string& text);

// Why a typed period was not taken: a count outside 0..63 (it would wrap into another unit), or a
// number typed with no unit letter. `Text` is the count (or the text) as typed.
struct TPeriodRefusal {
    std::string Text;
    bool NoUnit = false;
};

// Text to period code, as the period editors apply it. "0 s" is code 0, no period. Returns nothing
// when the text is not taken, and the caller keeps its old code: when it must be refused, why goes
// to `refused` for the caller's message; a text with no unit and no digit is simply not a period.
// A unit letter after text that is no number gives one of that unit.
std::optional<uint8_t> PeriodFromText(const std::string& text, TPeriodRefusal* refused = nullptr);

// Execution modes of a poll command.
extern const char* const kModeExecute;       // "Выполнять"
extern const char* const kModeEverySession;  // "Выполнять при каждом сеансе"
extern const char* const kModeTimedTemplate; // "Выполнять (T=?)"
extern const char* const kModeNotExecuted;   // "Не выполнять"

std::string CommandModeText(uint8_t execute, uint8_t period);

// Applies an execution-mode text. Returns false (nothing changed) for a timed text whose count is
// outside 0..63 or that holds a number with no unit, why in `refused`; otherwise sets execute and
// period. A text with no unit and no digit is a command not executed.
bool CommandModeFromText(const std::string& text, uint8_t& execute, uint8_t& period,
                         TPeriodRefusal* refused = nullptr);
