// Small shared routines of the Gw widget library (widget layer): centring, names, strings,
// platform-version tests, font measures and calendar steps.
#pragma once

#include <cstdint>
#include <string>

#include "controls.h"
#include "forms.h"
#include "graphics.h"
#include "sysinfo.h"
#include "sysutils.h"

inline constexpr std::uint16_t DrawTextAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER}; // by TAlignment
inline constexpr unsigned SetTextAlignments[] = {TA_LEFT, TA_RIGHT, TA_CENTER};       // by TAlignment
inline constexpr unsigned DrawTextWordWrap[] = {0, DT_WORDBREAK};                     // by Boolean
// Milliseconds after the last key at which a type-to-find search starts afresh.
extern int IncrementalSearchResetDelay;

// A W x H rectangle centred in R (division toward zero).
TRect CenterRect(const TRect& R, int W, int H);

// Adds Glyph to ImageList: a square glyph whole; with AddDisabled the strip of a normal and a
// disabled cell; otherwise the first cell. Each is masked by the glyph's pixel at (0, 15). Both
// indices are -1 when nothing was added (no list or no glyph).
enum class TGwGlyphCells { NormalOnly, NormalAndDisabled };
void AddImageToImageList(TCustomImageList* ImageList, TBitmap* Glyph, TGwGlyphCells Cells, int& ImageIndex,
                         int& DisabledIndex);

// BaseName (when UseBaseFirst and free), else BaseName1, BaseName2 … the first Owner does not hold.
std::string GetNewComponentName(const TComponent* Owner, const std::string& BaseName, bool UseBaseFirst);
// S when it is an identifier, else its identifier characters; Default when nothing is left.
std::string CreateValidIdent(const std::string& S, const std::string& Default);

// The last character; NUL for an empty text.
char LastChar(const std::string& S);
int CountChar(char Ch, const std::string& S);
// From 1-based Start up to and including the Count-th Ch at or after Start; S when there is none.
std::string CopyEx(const std::string& S, int Start, char Ch, int Count);
bool RemoveChar(std::string& S, char Ch);
// Drops accelerator markers: "&x" → "x", "&&" → "&", a final "&" stays.
std::string RemovePrefixChars(const std::string& S);
// Environment references ("%NAME%") replaced by their values; unknown names stay as written.
std::string ExpandEnvironmentVariables(const std::string& S);

inline int Min(int A, int B) { return A < B ? A : B; }
inline int Max(int A, int B) { return A > B ? A : B; }
template <class T> void Swap(T& A, T& B) {
    T t = A;
    A = B;
    B = t;
}

// A new handle of Font turned by Angle degrees (bold, italic, underline, strike-out and pitch
// kept); the caller owns it, usually by giving it to the font's SetHandle.
HFONT RotateFont(TFont* Font, int Angle);
// Font measures on a screen context.
bool IsTrueTypeFont(TFont* Font);
int GetMinFontHeight(TFont* Font);
// Width of the 52 Latin letters divided by 52, rounded halves to even.
int GetAvgCharWidth(TFont* Font);

enum TGwWindowsVersion { Win95, WinNT, Win98, WinMe, Win2000, WinXP, WinServer2003, WinVista };
// Against the platform's one version, or a given one (tests).
bool RunningUnder(TGwWindowsVersion V, const TPlatformVersion& Running = PlatformVersion);
// (major, minor) compared as a pair.
bool RunningAtLeast(TGwWindowsVersion V, const TPlatformVersion& Running = PlatformVersion);

// The desktop less the task bar (there is no task bar here: the primary monitor's bounds).
TRect GetDesktopClientRect();
// The work area of the monitor that holds the control's window (the nearest one).
TRect GetActiveWorkArea(TWinControl* Control);
int GetActiveWorkAreaWidth(TWinControl* Control);
int GetActiveWorkAreaHeight(TWinControl* Control);
TRect GetMonitorWorkArea(const TMonitor* Monitor);
TRect GetMonitorBoundsRect(const TMonitor* Monitor);
// The first monitor whose bounds contain P; null when none does.
TMonitor* GetMonitorContainingPoint(TPoint P);
// Where Form (not moved) would sit centred over Window or Owner, kept inside that monitor's work
// area.
void CenterToWindow(TCustomForm* Form, TWinControl* Window, int& X, int& Y);
void CenterToForm(TCustomForm* Form, TCustomForm* Owner, int& X, int& Y);

// ISO 8601 week number.
int WeekOf(TDateTime D);
TDateTime IncYear(TDateTime D, int N);
TDateTime IncDay(TDateTime D, int N);
TDateTime IncHour(TDateTime D, std::int64_t N);
TDateTime IncMinute(TDateTime D, std::int64_t N);
