// Runtime layer: exceptions, string and number conversions, file names, date and time.
// Strings are std::string holding Windows-1251 bytes; numbers never go through the C locale.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "sysset.h"

using AnsiString = std::string;

// ---- Exceptions ---------------------------------------------------------------------------------

class Exception : public std::exception {
public:
    explicit Exception(std::string msg) : Message(std::move(msg)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

class EAbort : public Exception {
    using Exception::Exception;
};
class EConvertError : public Exception {
    using Exception::Exception;
};
class EListError : public Exception {
    using Exception::Exception;
};
// A string list's index errors are list-index errors too: callers catch EListError for both.
class EStringListError : public EListError {
    using EListError::EListError;
};
class EInOutError : public Exception {
public:
    EInOutError(std::string msg, int code = 0) : Exception(std::move(msg)), ErrorCode(code) {}
    int ErrorCode;
};
class EStreamError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};
class EComponentError : public Exception {
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EInvalidPointer : public Exception {
    using Exception::Exception;
};
class EOutOfMemory : public Exception {
    using Exception::Exception;
};
// An ini file that could not be written; ErrorCode is the system's reason (errno), 0 when none.
class EIniFileException : public Exception {
public:
    EIniFileException(std::string msg, int code = 0) : Exception(std::move(msg)), ErrorCode(code) {}
    int ErrorCode;
};
class EMathError : public Exception {
    using Exception::Exception;
};
class EZeroDivide : public EMathError {
    using EMathError::EMathError;
};
class EOverflow : public EMathError {
    using EMathError::EMathError;
};
class EIntError : public Exception {
    using Exception::Exception;
};
class EDivByZero : public EIntError {
    using EIntError::EIntError;
};
class ERangeError : public EIntError {
    using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
    using EIntError::EIntError;
};

// Texts of the runtime's exceptions, as Format patterns; callers that raise the same errors use
// them too. The conversion errors a user reads speak as a Russian desktop's runtime.
inline constexpr const char* SInvalidInteger = "'%s' - недопустимое целое значение";
inline constexpr const char* SInvalidFloat = "'%s' - недопустимое значение с плавающей точкой";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SInvalidDate = "'%s' - недопустимая дата";
inline constexpr const char* SInvalidTime = "'%s' - недопустимое время";
inline constexpr const char* SInvalidDateTime = "'%s' - недопустимые дата и время";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SFOpenError = "Cannot open file %s";
inline constexpr const char* SFCreateError = "Cannot create file %s";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SIniFileWriteError = "Unable to write to %s";
inline constexpr const char* SOperationAborted = "Operation aborted";

// The system's text for an error code (errno), as a Russian desktop words it (the codes the serial
// port and file paths meet; a rarer one keeps the system's own text), without a line end or full
// stop; empty when the system has none.
std::string SysErrorMessage(unsigned code);

// Raises EAbort, the silent exception.
[[noreturn]] void Abort();

// ---- Locale settings ----------------------------------------------------------------------------

// A Russian desktop's settings, set at start (InitLocaleSettings); tests may assign them.
extern char DecimalSeparator;
extern char ThousandSeparator;
extern char DateSeparator;
extern char TimeSeparator;
extern std::string ShortDateFormat;  // e.g. "dd.MM.yyyy"
extern std::string LongTimeFormat;   // e.g. "H:mm:ss"
extern std::string ShortTimeFormat;  // e.g. "hh:mm"
extern std::string CurrencyString;   // e.g. "р."
extern unsigned char CurrencyFormat; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
extern unsigned char NegCurrFormat;  // the sixteen Windows negative-currency forms
extern unsigned char CurrencyDecimals;
extern std::string ShortMonthNames[12]; // [0] is January
extern std::string LongMonthNames[12];
extern std::string ShortDayNames[7]; // [0] is Sunday
extern std::string LongDayNames[7];
extern std::string TimeAMString;
extern std::string TimePMString;

// Sets them as a Russian desktop has them, whatever the process's environment says: dd.MM.yyyy,
// H:mm:ss, Russian month and day names, and the decimal point '.'. Runs once before main; calling
// it again restores them.
void InitLocaleSettings();

// ---- Strings ------------------------------------------------------------------------------------

std::string Trim(std::string_view s); // drops bytes <= ' ' at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s); // ASCII letters only
std::string LowerCase(std::string_view s);
std::string AnsiUpperCase(std::string_view s); // Latin and CP1251 Cyrillic letters
std::string AnsiLowerCase(std::string_view s);
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);

// <0, 0, >0. CompareStr is by bytes. CompareText and SameText fold a..z only and then compare
// bytes: no locale, so Cyrillic case matters. AnsiCompareText orders like the Russian alphabet
// (Latin before Cyrillic, Ё right after Е), case-insensitive; AnsiCompareStr is the same order
// with lower case before upper case as a tie-break.
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool AnsiSameStr(std::string_view a, std::string_view b);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag, rfReplaceAll, rfIgnoreCase>;
std::string StringReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                          TReplaceFlags flags);

// 1-based position of sub in s, 0 when absent (the Pos/AnsiPos convention).
int Pos(std::string_view sub, std::string_view s);
int AnsiPos(std::string_view sub, std::string_view s);
// 1-based, count characters from index; out-of-range parts are clipped, as Copy does.
std::string Copy(std::string_view s, int index, int count);
std::string StringOfChar(char c, int count);
std::string QuotedStr(std::string_view s); // 'it''s'
std::string AnsiQuotedStr(std::string_view s, char quote);

// ---- Integers -----------------------------------------------------------------------------------

std::string IntToStr(int64_t v);
// Upper case, at least `digits` digits; a negative value shows its two's complement in the
// width of its type (IntToHex(-1, 4) of an int is "FFFFFFFF").
std::string IntToHexBits(uint64_t v, int digits);
template <class T>
requires std::is_integral_v<T> std::string IntToHex(T v, int digits) {
    return IntToHexBits(sizeof(T) <= 4 ? uint64_t(uint32_t(v)) : uint64_t(v), digits);
}
// Leading blanks, an optional sign, then decimal digits or "$"/"0x" and hexadecimal digits
// (hexadecimal up to $FFFFFFFF wraps to a negative int, as on Windows). Trailing characters,
// overflow or no digits: EConvertError SInvalidInteger.
int StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int StrToIntDef(std::string_view s, int def);
int64_t StrToInt64Def(std::string_view s, int64_t def);
bool TryStrToInt(std::string_view s, int& out);
bool TryStrToInt64(std::string_view s, int64_t& out);

// ---- Floating point -----------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Reads [blanks] [sign] digits [DecimalSeparator digits] [E [sign] digits] [blanks]; only the
// current DecimalSeparator is accepted. Malformed: EConvertError SInvalidFloat.
double StrToFloat(std::string_view s);
double StrToFloatDef(std::string_view s, double def);
bool TryStrToFloat(std::string_view s, double& out);

// Precision is the number of significant digits (1..18); Digits the decimals (ffFixed, ffNumber,
// ffCurrency) or the minimum exponent digits (ffGeneral, ffExponent). Rounding is half away from
// zero on the decimal digits of the value. NaN and infinities print as "NAN", "INF", "-INF".
std::string FloatToStrF(double v, TFloatFormat format, int precision, int digits);
std::string FloatToStr(double v); // ffGeneral, 15 digits
// Picture format: "0" digit, "#" optional digit, "." decimal point, "," thousands, "E+"/"E-"
// exponent, quoted text, and up to three ";"-separated sections (positive; negative; zero).
std::string FormatFloat(std::string_view format, double v);

// ---- Format -------------------------------------------------------------------------------------

// One argument of Format.
struct TVarRec {
    enum Kind { vInt, vUInt, vFloat, vString, vChar, vPointer } kind;
    int64_t i = 0;
    uint64_t u = 0;
    double f = 0;
    std::string s;
    const void* p = nullptr;

    TVarRec(int v) : kind(vInt), i(v) {}
    TVarRec(long v) : kind(vInt), i(v) {}
    TVarRec(long long v) : kind(vInt), i(v) {}
    TVarRec(unsigned v) : kind(vUInt), u(v) {}
    TVarRec(unsigned long v) : kind(vUInt), u(v) {}
    TVarRec(unsigned long long v) : kind(vUInt), u(v) {}
    TVarRec(short v) : kind(vInt), i(v) {}
    TVarRec(unsigned short v) : kind(vUInt), u(v) {}
    TVarRec(unsigned char v) : kind(vUInt), u(v) {}
    TVarRec(signed char v) : kind(vInt), i(v) {}
    TVarRec(bool v) : kind(vInt), i(v) {}
    TVarRec(double v) : kind(vFloat), f(v) {}
    TVarRec(float v) : kind(vFloat), f(v) {}
    TVarRec(long double v) : kind(vFloat), f(double(v)) {}
    TVarRec(char v) : kind(vChar), s(1, v) {}
    TVarRec(const char* v) : kind(vString), s(v ? v : "") {}
    TVarRec(const std::string& v) : kind(vString), s(v) {}
    TVarRec(std::string_view v) : kind(vString), s(v) {}
    TVarRec(const void* v) : kind(vPointer), p(v) {}
};

// Delphi's Format: %[index:][-][width][.prec]type with types d u x e f g n m s p and "%%";
// "*" takes a width or precision from the arguments. %x is upper-case hex; %d with a precision
// pads with zeros; %f, %n, %m default to 2 decimals; %g and %e use 15 significant digits; the
// decimal separator is DecimalSeparator. A wrong argument type, a missing argument or a bad
// specifier raises EConvertError "Format '<fmt>' invalid or incompatible with argument".
std::string FormatV(std::string_view fmt, const std::vector<TVarRec>& args);

template <class... A> std::string Format(std::string_view fmt, const A&... args) {
    return FormatV(fmt, std::vector<TVarRec>{TVarRec(args)...});
}

// ---- File names ---------------------------------------------------------------------------------
// Both '\' and '/' separate folders (paths built the Windows way still work); PathDelim is '/'.

constexpr char PathDelim = '/';
std::string ExtractFilePath(std::string_view fileName); // up to and including the last separator or ':'
std::string ExtractFileDir(std::string_view fileName);  // the same without the trailing separator
std::string ExtractFileName(std::string_view fileName); // after the last separator or ':'
std::string ExtractFileExt(std::string_view fileName);  // from the last '.' of the name, with it
std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view s); // appends PathDelim unless one ends it
std::string IncludeTrailingPathDelimiter(std::string_view s);
std::string ExcludeTrailingBackslash(std::string_view s);
std::string ExcludeTrailingPathDelimiter(std::string_view s);
// The path as the file system wants it: every '\' becomes '/' and the Windows-1251 text becomes
// UTF-8, the encoding of file names here. Every path the program hands to the system goes through
// this one conversion.
std::string NativePath(std::string_view fileName);
// A name from the system (a listing, the program's own path, an environment folder) as the
// program's text; false when Windows-1251 cannot hold it (out then has '?' there: fit only for a
// message). Such a name is refused with UnrepresentableNameMessage, never used as another name.
bool TryFromNativePath(std::string_view nativeName, std::string& out);
std::string UnrepresentableNameMessage(std::string_view nativeName);
bool FileExists(std::string_view fileName); // a file (not a folder) is there
bool DirectoryExists(std::string_view dirName);
bool DeleteFile(std::string_view fileName);
bool RenameFile(std::string_view oldName, std::string_view newName);
bool ForceDirectories(std::string_view dir);
std::string GetCurrentDir();

// ---- Date and time ------------------------------------------------------------------------------
// Days since 1899-12-30; the fraction is the time of day.

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
TDateTime EncodeDate(int year, int month, int day);         // EConvertError when invalid
TDateTime EncodeTime(int hour, int min, int sec, int msec); // EConvertError when invalid
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out);
void DecodeDate(TDateTime dt, unsigned short& year, unsigned short& month, unsigned short& day);
void DecodeTime(TDateTime dt, unsigned short& hour, unsigned short& min, unsigned short& sec,
                unsigned short& msec);
int DayOfWeek(TDateTime dt); // 1 = Sunday … 7 = Saturday
// Months later (earlier when negative), the day cut to the target month's length, time kept.
TDateTime IncMonth(TDateTime dt, int months = 1);
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Replaces the clock behind Now/Date/Time (null restores the system clock); for tests.
using TClockFunc = TDateTime (*)();
void SetClock(TClockFunc f);

// Delphi format letters: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm a/p
// c ddddd t tt, "/" for DateSeparator, ":" for TimeSeparator, quoted text.
std::string FormatDateTime(std::string_view format, TDateTime dt);
std::string DateToStr(TDateTime dt);
std::string TimeToStr(TDateTime dt);
std::string DateTimeToStr(TDateTime dt);
// Times read as h[:m[:s]] with an optional AM/PM; dates in ShortDateFormat's order with
// DateSeparator; a date and time is a date, a time, or a date followed by a time. Bad text:
// EConvertError SInvalidTime / SInvalidDate / SInvalidDateTime.
TDateTime StrToTime(std::string_view s);
TDateTime StrToDate(std::string_view s);
TDateTime StrToDateTime(std::string_view s);
bool TryStrToTime(std::string_view s, TDateTime& out);
bool TryStrToDate(std::string_view s, TDateTime& out);
bool TryStrToDateTime(std::string_view s, TDateTime& out);
