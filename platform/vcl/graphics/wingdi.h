// Win32-shaped device-context functions over TCanvas: text, blits, brushes, regions and clipping.
// Painting side of the GUI core (platform/vcl/graphics), no Qt here.
#pragma once

#include <cstdint>

#include "graphics.h"

int DrawText(HDC dc, const char* text, int len, TRect* r, unsigned flags);
unsigned SetTextAlign(HDC dc, unsigned align);
COLORREF SetTextColor(HDC dc, COLORREF c);
COLORREF SetBkColor(HDC dc, COLORREF c);
int SetBkMode(HDC dc, int mode);
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int saved);
bool GetTextExtentPoint32(HDC dc, const char* text, int len, TSize* size);
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, std::uint32_t rop);
bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                std::uint32_t rop);
bool PatBlt(HDC dc, int x, int y, int w, int h, std::uint32_t rop);
bool TransparentStretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                           HDC mask, int mx, int my);
bool GetViewportOrgEx(HDC dc, TPoint* org);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);
bool GetTextMetrics(HDC dc, TEXTMETRIC* tm);
// The clip box in logical coordinates; the result is the clip region's type.
int GetClipBox(HDC dc, TRect* r);
// What a 32-bit display at 96 pixels per inch answers.
enum : int { BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24, LOGPIXELSX = 88, LOGPIXELSY = 90 };
int GetDeviceCaps(HDC dc, int index);
HBRUSH CreateSolidBrush(COLORREF c);
// Returns the previously selected brush (the canvas's own Brush as a handle of its own).
HBRUSH SelectObject(HDC dc, HBRUSH b);
// A selected brush is not deleted (false), as GDI refuses.
bool DeleteObject(HBRUSH b);
// Fills with the given brush; the canvas's selection stays.
int FillRect(HDC dc, const TRect* r, HBRUSH b);
// Polygon with the DC's selected brush and pen.
bool Polygon(HDC dc, const TPoint* pts, int count);
bool Rectangle(HDC dc, int l, int t, int r, int b);
bool DrawEdge(HDC dc, TRect* r, unsigned edge, unsigned flags);
bool DrawFocusRect(HDC dc, const TRect* r);

HRGN CreateRectRgn(int l, int t, int r, int b);
HRGN CreateRectRgnIndirect(const TRect* r);
HRGN CreateEllipticRgn(int l, int t, int r, int b);
HRGN CreatePolygonRgn(const TPoint* pts, int count);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
bool PtInRegion(HRGN rgn, int x, int y);
int GetRgnBox(HRGN rgn, TRect* r);
bool DeleteObject(HRGN rgn);
int SelectClipRgn(HDC dc, HRGN rgn);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);

// Whether a raster operation reads the source / the brush (bit patterns of its code).
bool RopUsesSource(std::uint32_t rop);
bool RopUsesPattern(std::uint32_t rop);

// ---------------------------------------------------------------- fonts

enum : int { LF_FACESIZE = 32 };
enum : int {
    FW_DONTCARE = 0,
    FW_THIN = 100,
    FW_LIGHT = 300,
    FW_NORMAL = 400,
    FW_MEDIUM = 500,
    FW_SEMIBOLD = 600,
    FW_BOLD = 700,
    FW_HEAVY = 900
};
enum : unsigned char {
    DEFAULT_PITCH = 0,
    FIXED_PITCH = 1,
    VARIABLE_PITCH = 2,
    FF_DONTCARE = 0x00,
    FF_ROMAN = 0x10,
    FF_SWISS = 0x20,
    FF_MODERN = 0x30,
    FF_SCRIPT = 0x40,
    FF_DECORATIVE = 0x50
};
struct LOGFONT {
    int lfHeight = 0, lfWidth = 0;
    int lfEscapement = 0, lfOrientation = 0; // tenths of a degree
    int lfWeight = FW_NORMAL;
    unsigned char lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = DEFAULT_CHARSET;
    unsigned char lfOutPrecision = 0, lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};
// A font handle: its LOGFONT, the canvases that have it selected and the TFont that owns it.
struct TGdiFont {
    LOGFONT Log;
    int Selected = 0;
    const TFont* Owner = nullptr;
    bool Orphan = false; // its owner let go while a canvas had it selected: freed at deselection
};
HFONT CreateFontIndirect(const LOGFONT* lf);
// Copies the font's LOGFONT into out (at most size bytes); answers the bytes written, or the
// size of a LOGFONT when out is null.
int GetObject(HFONT f, int size, void* out);
// Returns the previously selected font (the canvas's own Font as a handle of its own).
HFONT SelectObject(HDC dc, HFONT f);
// A selected font, or one a TFont owns, is not deleted (false).
bool DeleteObject(HFONT f);

// Text with tabs expanded to the stops (see TCanvas::TabbedText); answers MAKELONG(width, height).
std::int32_t TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int nStops, const int* stops,
                           int tabOrigin);
std::uint32_t GetTabbedTextExtent(HDC dc, const char* text, int count, int nStops, const int* stops);

// Font families as the classic system lists them, one call per family (or per style of the named
// family), in name order, until the callback answers 0. Font types and metric flags are Windows'.
enum : std::uint32_t { RASTER_FONTTYPE = 0x1, DEVICE_FONTTYPE = 0x2, TRUETYPE_FONTTYPE = 0x4 };
using FONTENUMPROC = int (*)(const LOGFONT* lf, const TEXTMETRIC* tm, std::uint32_t fontType,
                             std::intptr_t data);
int EnumFontFamilies(HDC dc, const char* family, FONTENUMPROC proc, std::intptr_t data);

// ---------------------------------------------------------------- frame controls

enum : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4, DFC_POPUPMENU = 5 };
enum : unsigned {
    DFCS_BUTTONCHECK = 0x0000,
    DFCS_BUTTONRADIOIMAGE = 0x0001,
    DFCS_BUTTONRADIOMASK = 0x0002,
    DFCS_BUTTONRADIO = 0x0004,
    DFCS_BUTTON3STATE = 0x0008,
    DFCS_BUTTONPUSH = 0x0010,
    DFCS_SCROLLUP = 0x0000,
    DFCS_SCROLLDOWN = 0x0001,
    DFCS_SCROLLLEFT = 0x0002,
    DFCS_SCROLLRIGHT = 0x0003,
    DFCS_SCROLLCOMBOBOX = 0x0005,
    DFCS_MENUARROW = 0x0000,
    DFCS_MENUCHECK = 0x0001,
    DFCS_MENUBULLET = 0x0002,
    DFCS_MENUARROWRIGHT = 0x0004,
    DFCS_CAPTIONCLOSE = 0x0000,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_CHECKED = 0x0400,
    DFCS_TRANSPARENT = 0x0800,
    DFCS_HOT = 0x1000,
    DFCS_ADJUSTRECT = 0x2000,
    DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000,
};
// The classic (unthemed) look of buttons, scroll and combo arrows, menu marks, a caption's close
// box; false for a kind
// not drawn. DFCS_ADJUSTRECT leaves r at the inside of a button's frame.
bool DrawFrameControl(HDC dc, TRect* r, unsigned type, unsigned state);

// ---------------------------------------------------------------- palettes

// Every device is true colour: palettes are accepted and change nothing.
struct PALETTEENTRY {
    unsigned char peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
};
struct LOGPALETTE {
    std::uint16_t palVersion = 0x300, palNumEntries = 0;
    PALETTEENTRY palPalEntry[1];
};
struct TGdiPalette {};
HPALETTE CreatePalette(const LOGPALETTE* lp);
// Answers the palette selected before (the default palette at first).
HPALETTE SelectPalette(HDC dc, HPALETTE pal, bool forceBackground);
unsigned RealizePalette(HDC dc);
bool DeleteObject(HPALETTE pal);
