// Windows-1251 <-> Unicode conversion for the runtime layer; used where text leaves the program's
// CP1251 world (Qt, the clipboard, the terminal, and file names through NativePath).
#pragma once

#include <string>
#include <string_view>

// CP1251 bytes to UTF-8. Every byte maps (0x98, unused in CP1251, maps to U+0098 so that all 256
// bytes survive a round trip).
std::string Cp1251ToUtf8(std::string_view s);

// UTF-8 to CP1251. Code points without a CP1251 byte, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToCp1251(std::string_view s);
// The same, but false when anything became '?' for want of a CP1251 byte (or malformed UTF-8):
// a name that must not turn silently into another one.
bool TryUtf8ToCp1251(std::string_view s, std::string& out);
// s is UTF-8 without a malformed sequence (ASCII is).
bool IsWellFormedUtf8(std::string_view s);

// CP1251 bytes to UTF-16 and back; unpaired surrogates and unmapped code points become '?'.
std::u16string Cp1251ToUtf16(std::string_view s);
std::string Utf16ToCp1251(std::u16string_view s);

// One character: the code point of a CP1251 byte, and the byte of a code point ('?' when none).
char32_t Cp1251ToUnicode(unsigned char c);
char UnicodeToCp1251(char32_t u);
