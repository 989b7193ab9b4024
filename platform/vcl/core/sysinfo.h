// What the system answers: the tick clock, sleeping, beeps, system metrics and parameters, the
// mouse, monitors and work areas, key states, the one platform version, locale answers and named
// cursors. Every value that a classic Windows installation would report is fixed here, so the
// program behaves the same on every machine. GUI core (platform/vcl/core), no Qt here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "messages.h"
#include "msgbox.h"
#include "resources.h"
#include "sysutils.h"
#include "wingdi.h"

// ---------------------------------------------------------------- time and sound

// Milliseconds from a steady clock, wrapping at 2^32 as Windows' counter does.
DWORD GetTickCount();
// Replaces the clock GetTickCount reads (milliseconds, any origin); an empty function restores
// the steady clock.
void SetTickSource(std::function<std::uint64_t()> source);
void Sleep(DWORD Milliseconds);

// The system beep (MB_OK, MB_ICON*; 0xFFFFFFFF the simple beep); the tone of Beep is not kept.
BOOL MessageBeep(UINT Type);
BOOL Beep(DWORD Frequency, DWORD Duration);
void Beep();
// Receives every beep in place of the sound (tests record them); empty restores the sound.
void SetBeepHandler(std::function<void(UINT Type)> handler);

// ---------------------------------------------------------------- metrics and parameters

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CXFIXEDFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYFIXEDFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYMENU = 15,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_CYKANJIWINDOW = 18,
    SM_MOUSEPRESENT = 19,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_DEBUG = 22,
    SM_SWAPBUTTON = 23,
    SM_CXMIN = 28,
    SM_CYMIN = 29,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CXSIZEFRAME = 32,
    SM_CYFRAME = 33,
    SM_CYSIZEFRAME = 33,
    SM_CXMINTRACK = 34,
    SM_CYMINTRACK = 35,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXICONSPACING = 38,
    SM_CYICONSPACING = 39,
    SM_MENUDROPALIGNMENT = 40,
    SM_DBCSENABLED = 42,
    SM_CMOUSEBUTTONS = 43,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXMINSPACING = 47,
    SM_CYMINSPACING = 48,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CYSMCAPTION = 51,
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
    SM_CXMENUSIZE = 54,
    SM_CYMENUSIZE = 55,
    SM_ARRANGE = 56,
    SM_CXMINIMIZED = 57,
    SM_CYMINIMIZED = 58,
    SM_CXMAXTRACK = 59,
    SM_CYMAXTRACK = 60,
    SM_CXMAXIMIZED = 61,
    SM_CYMAXIMIZED = 62,
    SM_NETWORK = 63,
    SM_CLEANBOOT = 67,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
    SM_SHOWSOUNDS = 70,
    SM_CXMENUCHECK = 71,
    SM_CYMENUCHECK = 72,
    SM_SLOWMACHINE = 73,
    SM_MIDEASTENABLED = 74,
    SM_MOUSEWHEELPRESENT = 75,
    SM_XVIRTUALSCREEN = 76,
    SM_YVIRTUALSCREEN = 77,
    SM_CXVIRTUALSCREEN = 78,
    SM_CYVIRTUALSCREEN = 79,
    SM_CMONITORS = 80,
    SM_SAMEDISPLAYFORMAT = 81,
    SM_CXFOCUSBORDER = 83,
    SM_CYFOCUSBORDER = 84,
    SM_REMOTESESSION = 0x1000,
};
// Fixed classic values; the screen and work-area sizes come from the monitors. Unknown: 0.
int GetSystemMetrics(int Index);

enum : UINT {
    SPI_GETBORDER = 0x0005,
    SPI_GETKEYBOARDSPEED = 0x000A,
    SPI_ICONHORIZONTALSPACING = 0x000D,
    SPI_GETSCREENSAVETIMEOUT = 0x000E,
    SPI_GETKEYBOARDDELAY = 0x0016,
    SPI_ICONVERTICALSPACING = 0x0018,
    SPI_GETICONTITLELOGFONT = 0x001F,
    SPI_GETDRAGFULLWINDOWS = 0x0026,
    SPI_GETNONCLIENTMETRICS = 0x0029,
    SPI_GETWORKAREA = 0x0030,
    SPI_GETFONTSMOOTHING = 0x004A,
    SPI_GETMOUSEHOVERWIDTH = 0x0062,
    SPI_GETMOUSEHOVERHEIGHT = 0x0064,
    SPI_GETMOUSEHOVERTIME = 0x0066,
    SPI_GETWHEELSCROLLLINES = 0x0068,
    SPI_GETMENUSHOWDELAY = 0x006A,
    SPI_GETWHEELSCROLLCHARS = 0x006C,
    SPI_GETMENUANIMATION = 0x1002,
    SPI_GETCOMBOBOXANIMATION = 0x1004,
    SPI_GETLISTBOXSMOOTHSCROLLING = 0x1006,
    SPI_GETGRADIENTCAPTIONS = 0x1008,
    SPI_GETKEYBOARDCUES = 0x100A,
    SPI_GETHOTTRACKING = 0x100E,
    SPI_GETMENUFADE = 0x1012,
    SPI_GETSELECTIONFADE = 0x1014,
    SPI_GETTOOLTIPANIMATION = 0x1016,
    SPI_GETTOOLTIPFADE = 0x1018,
    SPI_GETCURSORSHADOW = 0x101A,
    SPI_GETFLATMENU = 0x1022,
    SPI_GETDROPSHADOW = 0x1024,
    SPI_GETUIEFFECTS = 0x103E,
    SPI_GETCARETWIDTH = 0x2006,
    SPI_GETFOCUSBORDERWIDTH = 0x200E,
    SPI_GETFOCUSBORDERHEIGHT = 0x2010,
};
struct NONCLIENTMETRICS {
    UINT cbSize = sizeof(NONCLIENTMETRICS);
    int iBorderWidth = 0, iScrollWidth = 0, iScrollHeight = 0, iCaptionWidth = 0, iCaptionHeight = 0;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 0, iSmCaptionHeight = 0;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth = 0, iMenuHeight = 0;
    LOGFONT lfMenuFont, lfStatusFont, lfMessageFont;
};
// The GET actions above answer classic values into Param (an int/BOOL, a TRect for the work area,
// a LOGFONT, a NONCLIENTMETRICS); anything else, setting included, answers FALSE.
BOOL SystemParametersInfo(UINT Action, UINT UiParam, void* Param, UINT WinIni);

class TMouse {
public:
    int WheelScrollLines() const;
    bool WheelPresent() const { return true; }
    bool MousePresent() const { return true; }
    TPoint CursorPos() const;
};
extern TMouse* Mouse;

// ---------------------------------------------------------------- monitors

using HMONITOR = std::intptr_t; // 1 + the monitor's index; 0 for none
enum : DWORD { MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2 };
enum : DWORD { MONITORINFOF_PRIMARY = 1 };
struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor, rcWork;
    DWORD dwFlags = 0;
};
HMONITOR MonitorFromPoint(TPoint p, DWORD Flags);
HMONITOR MonitorFromRect(const TRect* r, DWORD Flags);
HMONITOR MonitorFromWindow(HWND h, DWORD Flags);
BOOL GetMonitorInfo(HMONITOR m, MONITORINFO* info);

// A monitor's full and work-area rectangles in screen coordinates; the first is the primary one.
struct TMonitorArea {
    TRect Bounds, WorkArea;
};
// Replaces the monitors the screens report (tests); an empty list restores them.
void SetMonitorLayout(const std::vector<TMonitorArea>& monitors);

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };
class TMonitor {
public:
    explicit TMonitor(int index) : FIndex(index) {}
    HMONITOR Handle() const { return HMONITOR(FIndex + 1); }
    int MonitorNum() const { return FIndex; }
    bool Primary() const { return FIndex == 0; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }

private:
    int FIndex;
};

// ---------------------------------------------------------------- platform version and locale

struct TPlatformVersion {
    DWORD Platform, Major, Minor, Build;
    const char* ServicePack;
    DWORD ComCtlMajor, ComCtlMinor;
};
// The one version every check sees: Windows NT 6.1 build 7601, common controls 6.0.
inline constexpr TPlatformVersion PlatformVersion{2, 6, 1, 7601, "Service Pack 1", 6, 0};
inline constexpr int Win32Platform = int(PlatformVersion.Platform);
inline constexpr int Win32MajorVersion = int(PlatformVersion.Major);
inline constexpr int Win32MinorVersion = int(PlatformVersion.Minor);
inline constexpr int Win32BuildNumber = int(PlatformVersion.Build);

enum : DWORD { VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2 };
struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    DWORD dwMajorVersion = 0, dwMinorVersion = 0, dwBuildNumber = 0, dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
BOOL GetVersionEx(OSVERSIONINFO* v);
// Major in the low byte, minor in the next, the build in the high word, as Windows packs it.
DWORD GetVersion();
// The common controls' version as major << 16 | minor.
enum : DWORD {
    ComCtlVersionIE3 = 0x00040046,
    ComCtlVersionIE4 = 0x00040047,
    ComCtlVersionIE401 = 0x00040048,
    ComCtlVersionIE5 = 0x00050050,
    ComCtlVersionIE501 = 0x00050051,
    ComCtlVersionIE6 = 0x00060000
};
DWORD GetComCtlVersion();

using LCID = DWORD;
enum : LCID { LOCALE_SYSTEM_DEFAULT = 0x0800, LOCALE_USER_DEFAULT = 0x0400 };
enum : UINT {
    LOCALE_ILANGUAGE = 0x0001,
    LOCALE_SDECIMAL = 0x000E,
    LOCALE_STHOUSAND = 0x000F,
    LOCALE_SDATE = 0x001D,
    LOCALE_STIME = 0x001E,
    LOCALE_SSHORTDATE = 0x001F,
    LOCALE_SDAYNAME1 = 0x002A,
    LOCALE_SABBREVDAYNAME1 = 0x0031,
    LOCALE_SMONTHNAME1 = 0x0038,
    LOCALE_SABBREVMONTHNAME1 = 0x0044,
    LOCALE_STIMEFORMAT = 0x1003,
    LOCALE_IDEFAULTANSICODEPAGE = 0x1004,
    LOCALE_IFIRSTDAYOFWEEK = 0x100C,
};
// Russian (0x0419), the runtime's separators and names; day names run Monday (1) to Sunday (7),
// and the first day of the week is Monday ("0").
LCID GetUserDefaultLCID();
LCID GetThreadLocale();
// Copies the answer with its terminating NUL; answers the characters written, or the size needed
// when Size is 0, or 0 for an unknown item or a short buffer.
int GetLocaleInfo(LCID Locale, UINT Type, char* Data, int Size);
std::string GetLocaleStr(LCID Locale, UINT Type, const std::string& Default);
// Locales GetDateFormatStr writes in besides the user's and the system's (which are Russian).
constexpr LCID kLocaleRussian = 0x0419, kLocaleUsEnglish = 0x0409;
// Date written in Locale with a Windows date picture (d dd ddd dddd M MM MMM MMMM yy yyyy 'text'),
// as the date picker shows it: a Russian month name in the genitive, so "dd MMMM" gives
// "01 марта". Empty for another locale or a date outside 1..9999.
std::string GetDateFormatStr(LCID Locale, TDateTime Date, const std::string& Picture);
// Windows date-time format picture -> Qt display format.
std::string DateTimeFormatToQt(const std::string& Format);

// ---------------------------------------------------------------- cursors

enum : int {
    IDC_ARROW = 32512,
    IDC_IBEAM = 32513,
    IDC_WAIT = 32514,
    IDC_CROSS = 32515,
    IDC_UPARROW = 32516,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
    IDC_SIZEALL = 32646,
    IDC_NO = 32648,
    IDC_HAND = 32649,
    IDC_APPSTARTING = 32650,
    IDC_HELP = 32651,
};
// A cursor made from the image registered under Name (resources.h), its hot spot included; 0 when
// there is none.
HCURSOR LoadCursor(HINSTANCE Instance, const char* Name);
// A standard cursor (IDC_*); 0 for an unknown id.
HCURSOR LoadCursor(HINSTANCE Instance, int Id);
BOOL DestroyCursor(HCURSOR Cursor);
