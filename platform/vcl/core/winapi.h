// Win32-shaped functions over the window handles: messages, timers, focus, capture, caret, cursor,
// window geometry; system metrics and the other system answers are in sysinfo.h. GUI core
// (platform/vcl/core), no Qt here.
#pragma once

#include "messages.h"
#include "sysinfo.h"

// The control whose handle is h (null for none).
TWinControl* FindControl(HWND h);
// Sends through the control's message path now.
LRESULT SendMessage(HWND h, UINT Msg, WPARAM WParam, LPARAM LParam);
// Queues the message for the control's message path; false when h is null.
BOOL PostMessage(HWND h, UINT Msg, WPARAM WParam, LPARAM LParam);
// Window timers: WM_TIMER with the id reaches h every Elapse ms until KillTimer.
UINT SetTimer(HWND h, UINT IDEvent, UINT Elapse, void* TimerFunc = nullptr);
BOOL KillTimer(HWND h, UINT IDEvent);
BOOL InvalidateRect(HWND h, const TRect* r, BOOL Erase);
BOOL RedrawWindow(HWND h, const TRect* r, HRGN rgn, UINT flags);
BOOL UpdateWindow(HWND h);
BOOL IsWindowVisible(HWND h);
BOOL IsWindowEnabled(HWND h);
BOOL EnableWindow(HWND h, BOOL enable);
HWND GetFocus();
HWND SetFocus(HWND h);
HWND GetCapture();
HWND SetCapture(HWND h);
BOOL ReleaseCapture();
BOOL GetCursorPos(TPoint* p);
BOOL GetClientRect(HWND h, TRect* r);
BOOL GetWindowRect(HWND h, TRect* r);
BOOL ClientToScreen(HWND h, TPoint* p);
BOOL ScreenToClient(HWND h, TPoint* p);
// The state of a key: high bit set while down (VK_SHIFT, VK_CONTROL, VK_MENU, mouse buttons).
short GetKeyState(int VirtKey);
short GetAsyncKeyState(int VirtKey);
// The parent window's handle (null for a top-level window).
HWND GetParent(HWND h);
// Asks for one WM_MOUSELEAVE when the mouse leaves h's window (TME_LEAVE; hover is not sent).
enum : DWORD { TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_CANCEL = 0x80000000u };
enum : DWORD { HOVER_DEFAULT = 0xFFFFFFFFu };
struct TTrackMouseEvent {
    DWORD cbSize = sizeof(TTrackMouseEvent);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = HOVER_DEFAULT;
};
BOOL TrackMouseEvent(TTrackMouseEvent* t);

// Shows a cursor (Screen->Cursors gives one) over the window the mouse is in now (call it from
// WM_SETCURSOR and answer 1); returns the one it replaced.
HCURSOR SetCursor(HCURSOR Cursor);

// Caret of the focused window: one per program, as in Windows.
BOOL CreateCaret(HWND h, void* Bitmap, int Width, int Height);
BOOL DestroyCaret();
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(TPoint* p);
BOOL ShowCaret(HWND h);
BOOL HideCaret(HWND h);

// ---- windows --------------------------------------------------------------------------------------
// True while h is a window that has not been destroyed (any thread may ask).
BOOL IsWindow(HWND h);
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_NORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_MAXIMIZE = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9
};
// Shows or hides the window itself (the control's Visible stays as it is); a popup never takes
// the activation. Returns whether it was visible before.
BOOL ShowWindow(HWND h, int CmdShow);
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(std::intptr_t(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t(-2));
// Moves, sizes, raises or lowers, shows or hides the window (SWP_* flags); SWP_FRAMECHANGED asks
// WM_NCCALCSIZE again and repaints the frame. Position is in the parent's client coordinates,
// screen coordinates for a top-level or popup window.
BOOL SetWindowPos(HWND h, HWND InsertAfter, int X, int Y, int cx, int cy, UINT Flags);
enum : int { GWL_STYLE = -16, GWL_EXSTYLE = -20 };
// What WM_STYLECHANGED's LParam points at (WParam: GWL_STYLE or GWL_EXSTYLE).
struct TStyleStruct {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};
// The window's styles as made by CreateParams and changed since; a change is told to the window
// with WM_STYLECHANGED, and a frame change takes effect on SetWindowPos with SWP_FRAMECHANGED.
LPARAM GetWindowLong(HWND h, int Index);
LPARAM SetWindowLong(HWND h, int Index, LPARAM NewLong);

// ---- device contexts beyond WM_PAINT ---------------------------------------------------------------
// GetDC(0): a memory context for measuring text and asking device capabilities. GetDC(h) during
// the window's paint draws there; otherwise it draws over the top-level window through an overlay
// that XORs what is drawn (PATINVERT, pmXor pens, DrawFocusRect), so drawing the same thing twice
// restores the pixels. GetWindowDC(h) covers the whole window (frame included): during the frame's
// paint it draws the frame; otherwise it answers a scratch context and repaints the frame later
// (a WM_NCPAINT sent from code is delivered on that repaint). Every context goes back through
// ReleaseDC.
enum : DWORD {
    DCX_WINDOW = 0x1,
    DCX_CACHE = 0x2,
    DCX_PARENTCLIP = 0x20,
    DCX_CLIPSIBLINGS = 0x10,
    DCX_CLIPCHILDREN = 0x8,
    DCX_EXCLUDERGN = 0x40,
    DCX_INTERSECTRGN = 0x80,
    DCX_LOCKWINDOWUPDATE = 0x400
};
HDC GetDC(HWND h);
HDC GetWindowDC(HWND h);
HDC GetDCEx(HWND h, HRGN Clip, DWORD Flags);
int ReleaseDC(HWND h, HDC dc);

// ---- scroll bars ---------------------------------------------------------------------------------
// Window scroll bars (SB_HORZ, SB_VERT: WS_HSCROLL / WS_VSCROLL, real scroll bars in the frame that
// send WM_HSCROLL / WM_VSCROLL) and scroll-bar controls (SB_CTL: the window is the bar). As in
// Windows the bar's position moves only when the program sets it; while the thumb is dragged the
// dragged place is nTrackPos.
enum : UINT {
    SIF_RANGE = 0x1,
    SIF_PAGE = 0x2,
    SIF_POS = 0x4,
    SIF_DISABLENOSCROLL = 0x8,
    SIF_TRACKPOS = 0x10,
    SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS
};
enum : UINT {
    ESB_ENABLE_BOTH = 0,
    ESB_DISABLE_LTUP = 1,
    ESB_DISABLE_LEFT = 1,
    ESB_DISABLE_UP = 1,
    ESB_DISABLE_RTDN = 2,
    ESB_DISABLE_RIGHT = 2,
    ESB_DISABLE_DOWN = 2,
    ESB_DISABLE_BOTH = 3
};
struct TScrollInfo {
    UINT cbSize = sizeof(TScrollInfo);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using SCROLLINFO = TScrollInfo;
int SetScrollInfo(HWND h, int Bar, const TScrollInfo* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND h, int Bar, TScrollInfo* Info);
int SetScrollPos(HWND h, int Bar, int Pos, BOOL Redraw);
int GetScrollPos(HWND h, int Bar);
BOOL SetScrollRange(HWND h, int Bar, int Min, int Max, BOOL Redraw);
BOOL GetScrollRange(HWND h, int Bar, int* Min, int* Max);
BOOL ShowScrollBar(HWND h, int Bar, BOOL Show);
BOOL EnableScrollBar(HWND h, UINT Bar, UINT Arrows);
// Scrolls the client area's pixels by (dx, dy) and invalidates what is uncovered. ScrollWindow
// moves the child windows along when Scroll is null; ScrollWindowEx only with SW_SCROLLCHILDREN.
enum : UINT { SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4 };
BOOL ScrollWindow(HWND h, int dx, int dy, const TRect* Scroll, const TRect* Clip);
int ScrollWindowEx(HWND h, int dx, int dy, const TRect* Scroll, const TRect* Clip, HRGN Update,
                   TRect* UpdateRect, UINT Flags);
