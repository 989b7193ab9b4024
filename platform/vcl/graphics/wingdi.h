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
