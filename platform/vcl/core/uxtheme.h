// The visual-styles library as the program sees it: loaded by name ("uxtheme.dll") and asked for
// its functions by name. The program installs no table, so the library is "not available" and
// every control draws its classic look; tests install a table of their own. GUI core.
#pragma once

#include <string>
#include <vector>

#include "graphics.h"
#include "hresult.h"
#include "messages.h"

using HTHEME = void*;
using HMODULE = void*;

// Signatures of the library's functions, for those who bind them.
using TOpenThemeData = HTHEME (*)(HWND hwnd, const wchar_t* ClassList);
using TCloseThemeData = HRESULT (*)(HTHEME Theme);
using TDrawThemeBackground = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const TRect* Rect,
                                         const TRect* ClipRect);
using TDrawThemeText = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const wchar_t* Text,
                                   int CharCount, DWORD TextFlags, DWORD TextFlags2, const TRect* Rect);
using TGetThemeBackgroundContentRect = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId,
                                                   const TRect* Bounding, TRect* Content);
using TGetThemePartSize = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const TRect* Rect,
                                      int SizeKind, TSize* Size);
using TGetThemeTextExtent = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const wchar_t* Text,
                                        int CharCount, DWORD TextFlags, const TRect* Bounding, TRect* Extent);
using TDrawThemeEdge = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const TRect* DestRect,
                                   UINT Edge, UINT Flags, TRect* ContentRect);
using TDrawThemeIcon = HRESULT (*)(HTHEME Theme, HDC dc, int PartId, int StateId, const TRect* Rect,
                                   void* ImageList, int ImageIndex);
using TIsThemeBackgroundPartiallyTransparent = BOOL (*)(HTHEME Theme, int PartId, int StateId);
using TGetThemeColor = HRESULT (*)(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF* Color);
using TGetThemeSysColor = COLORREF (*)(HTHEME Theme, int ColorId);
using TIsThemeActive = BOOL (*)();
using TIsAppThemed = BOOL (*)();
using TGetThemeAppProperties = DWORD (*)();
using TDrawThemeParentBackground = HRESULT (*)(HWND hwnd, HDC dc, const TRect* Rect);

// Application theme properties (GetThemeAppProperties).
enum : unsigned {
    STAP_ALLOW_NONCLIENT = 1,
    STAP_ALLOW_CONTROLS = 2,
    STAP_ALLOW_WEBCONTENT = 4,
};

// Header parts and states of the theme schema (the platform's header draws with them).
enum : int { HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3, HP_HEADERSORTARROW = 4 };
enum : int { HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3 };
enum : int { HSAS_SORTEDUP = 1, HSAS_SORTEDDOWN = 2 };

// One function of the library: its name and its address (one of the signatures above).
struct TVisualStylesEntry {
    std::string Name;
    void* Proc = nullptr;
};
template <class F> TVisualStylesEntry VisualStylesEntry(const std::string& Name, F* Proc) {
    return {Name, reinterpret_cast<void*>(Proc)};
}

// Installs the table the library answers from; an empty table (the program's) makes the library
// unavailable. A handle loaded before stays valid and sees the new table.
void SetVisualStylesTable(std::vector<TVisualStylesEntry> Table);

// "uxtheme.dll" gives a handle while a table is installed; any other name, or no table, gives null.
HMODULE LoadLibrary(const std::string& FileName);
BOOL FreeLibrary(HMODULE Module);
// The named function of the library, null when it lacks it.
void* GetProcAddress(HMODULE Module, const std::string& ProcName);
