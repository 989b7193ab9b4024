// Beside-the-GUI platform layer: the Win32 scalar types and the calling thread's last error, as the
// serial port, registry and shell substitutes report it. Error codes are the system's (errno).
#pragma once

#include <cstdint>
#include <string>

#include "hresult.h"
#include "sysutils.h" // SysErrorMessage

using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int;
using UINT = unsigned int;
using ULONG = unsigned int;
using BOOL = int;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

// The last error of the calling thread: set by every failing call of this layer, left alone by a
// call that succeeds.
DWORD GetLastError();
void SetLastError(DWORD code);
