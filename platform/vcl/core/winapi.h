// Win32-shaped functions over the window handles: messages, timers, focus, capture, caret, cursor,
// window geometry and system metrics. GUI core (platform/vcl/core), no Qt here.
#pragma once

#include "messages.h"

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

// Widths of the scroll bar and such, in pixels.
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
             SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXEDGE = 45, SM_CYEDGE = 46 };
int GetSystemMetrics(int Index);

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
