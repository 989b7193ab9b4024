// Beside-the-GUI platform layer: a serial port with the Win32 communication calls the receiver
// uses, over termios. Calls block instead of overlapping: a waiting call ends when its data or
// event comes, when SetCommMask changes the mask (waits), PurgeComm aborts it (reads and writes),
// or when the port is closed from another thread. One thread waits for events and one reads at a
// time on a port; any thread may change the mask, purge or close it meanwhile.
// Failures return FALSE and set the thread's last error (GetLastError, wintypes.h) to the
// system's code; modem-line calls a device does not support (a pseudo-terminal) succeed and do
// nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

// A port handle; INVALID_HANDLE_VALUE names no port.
using HANDLE = std::intptr_t;
constexpr HANDLE INVALID_HANDLE_VALUE = -1;

// Device control block, laid out as Win32 lays it out (28 bytes).
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28);

// Line status: hold bits (unused here, 0), bytes queued for reading and for sending.
struct COMSTAT {
    DWORD Flags;
    DWORD cbInQue;
    DWORD cbOutQue;
};

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

enum : BYTE { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
enum : BYTE { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };
enum : DWORD { DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2 };
enum : DWORD {
    RTS_CONTROL_DISABLE = 0,
    RTS_CONTROL_ENABLE = 1,
    RTS_CONTROL_HANDSHAKE = 2,
    RTS_CONTROL_TOGGLE = 3
};
enum : DWORD {
    EV_RXCHAR = 0x0001,
    EV_RXFLAG = 0x0002,
    EV_TXEMPTY = 0x0004,
    EV_CTS = 0x0008,
    EV_DSR = 0x0010,
    EV_RLSD = 0x0020,
    EV_BREAK = 0x0040,
    EV_ERR = 0x0080,
    EV_RING = 0x0100
};
enum : DWORD { PURGE_TXABORT = 0x1, PURGE_RXABORT = 0x2, PURGE_TXCLEAR = 0x4, PURGE_RXCLEAR = 0x8 };
enum : DWORD { CE_RXOVER = 0x1, CE_OVERRUN = 0x2, CE_RXPARITY = 0x4, CE_FRAME = 0x8, CE_BREAK = 0x10 };
enum : DWORD {
    SETXOFF = 1,
    SETXON = 2,
    SETRTS = 3,
    CLRRTS = 4,
    SETDTR = 5,
    CLRDTR = 6,
    RESETDEV = 7,
    SETBREAK = 8,
    CLRBREAK = 9
};
enum : DWORD { MS_CTS_ON = 0x10, MS_DSR_ON = 0x20, MS_RING_ON = 0x40, MS_RLSD_ON = 0x80 };

// The device a port name stands for: "COMn" (any case, n from 1) is /dev/ttyS(n-1); a name with
// the Win32 device prefix "\\.\" loses it first; anything else is taken as a path. Empty for an
// empty name.
std::string CommDevicePath(std::string_view portName);

// Opens a port for reading and writing, exclusively (a port another program holds fails with
// EBUSY), in raw mode: 8 data bits, no parity, one stop bit, the device's baud rate, all
// timeouts 0 and the event mask 0.
HANDLE OpenComm(std::string_view portName);
// Closes the port: waiting calls on other threads end at once, failing with ECANCELED.
BOOL CloseComm(HANDLE port);

BOOL GetCommState(HANDLE port, DCB* dcb);
// Applies baud rate (a rate termios has a constant for), byte size (5-8), parity, stop bits,
// hardware and XON/XOFF flow control, the XON/XOFF characters and the DTR/RTS lines. A value the
// device cannot take fails with EINVAL and changes nothing.
BOOL SetCommState(HANDLE port, const DCB* dcb);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);

BOOL GetCommMask(HANDLE port, DWORD* mask);
// Sets the events WaitCommEvent waits for; a wait in progress ends with no events.
BOOL SetCommMask(HANDLE port, DWORD mask);
// Waits until one of the masked events is present and stores them: EV_RXCHAR while input is
// queued, EV_TXEMPTY once when written bytes have left, EV_CTS/EV_DSR/EV_RLSD/EV_RING when the
// line changes, EV_BREAK/EV_ERR when the device counts a break or a line error. Stores 0 and
// succeeds when the mask changes meanwhile; fails with EINVAL for an empty mask and with the
// device's error (EIO, ENODEV, ENXIO; see CommDeviceGone) when the device hangs up or vanishes.
BOOL WaitCommEvent(HANDLE port, DWORD* events);

// Reads up to count bytes under the port's timeouts: all zero waits for all count bytes;
// ReadIntervalTimeout MAXDWORD with zero totals returns what is queued at once; MAXDWORD for the
// interval and the multiplier with a constant c returns as soon as a byte is there, waiting up to
// c ms; otherwise the total (multiplier * count + constant) and the gap between bytes bound the
// wait. A wait that ends by time or by PURGE_RXABORT succeeds with what came.
BOOL ReadComm(HANDLE port, void* buffer, DWORD count, DWORD* read);
// Writes all bytes unless the write timeouts (multiplier * count + constant, 0 = none) end it.
BOOL WriteComm(HANDLE port, const void* buffer, DWORD count, DWORD* written);

// PURGE_RXCLEAR/PURGE_TXCLEAR discard queued input/output; PURGE_RXABORT/PURGE_TXABORT end a
// waiting read/write with what it has.
BOOL PurgeComm(HANDLE port, DWORD flags);
// Stores the line errors (CE_*) counted since the last call and the queue sizes.
BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status);
BOOL EscapeCommFunction(HANDLE port, DWORD function);
BOOL GetCommModemStatus(HANDLE port, DWORD* status);

// True for the error codes with which calls fail once the device has hung up or gone away: a
// reader seeing one should stop rather than wait again.
bool CommDeviceGone(DWORD error);

// The serial devices present, sorted by path: the /sys/class/tty entries that have a device
// (/dev/ttyS* only when a UART answers; USB and ACM adapters), and the stable names under
// /dev/serial/by-id whose device is there. Read through the runtime's file-system seam.
std::vector<std::string> ListCommDevices();
