// Window messages of the GUI core: Windows message numbers, the TMessage record and its typed views,
// virtual-key codes, window styles and the few Win32 value types the controls pass around. No Qt here.
#pragma once

#include <cstdint>

#include "graphics.h" // TPoint, TRect, HDC (a device context is a canvas)
#include "sysset.h"

// ---- Win32 value types ----------------------------------------------------------------------
using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int;
using UINT = unsigned int;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

class TWinControl;
// A window handle is the control's handle widget; null means "no window".
class TWidgetHandle;
using HWND = TWidgetHandle*;
// A cursor handle: the shape of a TCursor (Screen->Cursors gives one).
using HCURSOR = std::intptr_t;

constexpr WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) { return LPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)); }
constexpr WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)); }
constexpr LRESULT MAKELRESULT(int lo, int hi) { return LRESULT(MAKELPARAM(lo, hi)); }
constexpr int GET_X_LPARAM(LPARAM l) { return short(LOWORD(std::uintptr_t(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return short(HIWORD(std::uintptr_t(l))); }
constexpr LPARAM PointToLParam(TPoint p) { return MAKELPARAM(p.x, p.y); }

// ---- Windows messages -------------------------------------------------------------------------
enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SYSCOLORCHANGE = 0x0015,
    WM_SHOWWINDOW = 0x0018,
    WM_ACTIVATEAPP = 0x001C,
    WM_CANCELMODE = 0x001F,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_GETFONT = 0x0031,
    WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NOTIFY = 0x004E,
    WM_STYLECHANGED = 0x007D,
    WM_CONTEXTMENU = 0x007B,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_NCACTIVATE = 0x0086,
    WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2,
    WM_NCLBUTTONDBLCLK = 0x00A3,
    WM_NCRBUTTONDOWN = 0x00A4,
    WM_NCRBUTTONUP = 0x00A5,
    WM_NCRBUTTONDBLCLK = 0x00A6,
    WM_NCMBUTTONDOWN = 0x00A7,
    WM_NCMBUTTONUP = 0x00A8,
    WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_KEYFIRST = 0x0100,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_KEYLAST = 0x0108,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_INITMENUPOPUP = 0x0117,
    WM_MENUSELECT = 0x011F,
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSELAST = 0x020A,
    WM_PARENTNOTIFY = 0x0210,
    WM_ENTERMENULOOP = 0x0211,
    WM_EXITMENULOOP = 0x0212,
    WM_SIZING = 0x0214,
    WM_CAPTURECHANGED = 0x0215,
    WM_DEVICECHANGE = 0x0219,
    WM_MOUSEHOVER = 0x02A1,
    WM_MOUSELEAVE = 0x02A3,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    WM_UNDO = 0x0304,
    WM_THEMECHANGED = 0x031A,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};

// Component messages: the notifications controls send one another.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3,
    CM_CANCELMODE = CM_BASE + 4,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_HITTEST = CM_BASE + 10,
    CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15,
    CM_CTL3DCHANGED = CM_BASE + 16,
    CM_PARENTCTL3DCHANGED = CM_BASE + 17,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21,
    CM_APPKEYDOWN = CM_BASE + 22,
    CM_APPSYSCOMMAND = CM_BASE + 23,
    CM_BUTTONPRESSED = CM_BASE + 24,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27,
    CM_DESIGNHITTEST = CM_BASE + 28,
    CM_ICONCHANGED = CM_BASE + 29,
    CM_WANTSPECIALKEY = CM_BASE + 30,
    CM_INVOKEHELP = CM_BASE + 31,
    CM_WINDOWHOOK = CM_BASE + 32,
    CM_RELEASE = CM_BASE + 33,
    CM_SHOWHINTCHANGED = CM_BASE + 34,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
    CM_SYSCOLORCHANGE = CM_BASE + 36,
    CM_WININICHANGE = CM_BASE + 37,
    CM_FONTCHANGE = CM_BASE + 38,
    CM_TIMECHANGE = CM_BASE + 39,
    CM_TABSTOPCHANGED = CM_BASE + 40,
    CM_UIACTIVATE = CM_BASE + 41,
    CM_UIDEACTIVATE = CM_BASE + 42,
    CM_DOCWINDOWACTIVATE = CM_BASE + 43,
    CM_CONTROLLISTCHANGE = CM_BASE + 44,
    CM_GETDATALINK = CM_BASE + 45,
    CM_CHILDKEY = CM_BASE + 46,
    CM_DRAG = CM_BASE + 47,
    CM_HINTSHOW = CM_BASE + 48,
    CM_DIALOGHANDLE = CM_BASE + 49,
    CM_ISTOOLCONTROL = CM_BASE + 50,
    CM_RECREATEWND = CM_BASE + 51,
    CM_INVALIDATE = CM_BASE + 52,
    CM_SYSFONTCHANGED = CM_BASE + 53,
    CM_CONTROLCHANGE = CM_BASE + 54,
    CM_CHANGED = CM_BASE + 55,
    CM_DOCKCLIENT = CM_BASE + 56,
    CM_UNDOCKCLIENT = CM_BASE + 57,
    CM_FLOAT = CM_BASE + 58,
    CM_BORDERCHANGED = CM_BASE + 59,
    CM_BIDIMODECHANGED = CM_BASE + 60,
    CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
    CM_ALLCHILDRENFLIPPED = CM_BASE + 62,
    CM_ACTIONUPDATE = CM_BASE + 63,
    CM_ACTIONEXECUTE = CM_BASE + 64,
    CM_HINTSHOWPAUSE = CM_BASE + 65,
    CM_DOCKNOTIFICATION = CM_BASE + 66,
    CM_MOUSEWHEEL = CM_BASE + 67,
};

// Control notifications: a message a parent reflects back to the child that caused it.
enum : UINT {
    CN_BASE = 0xBC00,
    CN_CHARTOITEM = CN_BASE + 0x002F,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_CTLCOLOREDIT = CN_BASE + 0x0133,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
    CN_KEYUP = CN_BASE + WM_KEYUP,
    CN_CHAR = CN_BASE + WM_CHAR,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
    CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
};

// Edit, list box, combo box, button, tree, list view, header, calendar and date picker messages.
enum : UINT {
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_GETRECT = 0x00B2,
    EM_SETRECT = 0x00B3,
    EM_SCROLL = 0x00B5,
    EM_LINESCROLL = 0x00B6,
    EM_SCROLLCARET = 0x00B7,
    EM_GETMODIFY = 0x00B8,
    EM_SETMODIFY = 0x00B9,
    EM_GETLINECOUNT = 0x00BA,
    EM_LINEINDEX = 0x00BB,
    EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2,
    EM_GETLINE = 0x00C4,
    EM_LIMITTEXT = 0x00C5,
    EM_CANUNDO = 0x00C6,
    EM_UNDO = 0x00C7,
    EM_LINEFROMCHAR = 0x00C9,
    EM_GETFIRSTVISIBLELINE = 0x00CE,
    EM_SETREADONLY = 0x00CF,
    EM_SETMARGINS = 0x00D3,
    EM_GETMARGINS = 0x00D4,
    EM_POSFROMCHAR = 0x00D6,
    EM_CHARFROMPOS = 0x00D7,

    LB_ADDSTRING = 0x0180,
    LB_INSERTSTRING = 0x0181,
    LB_DELETESTRING = 0x0182,
    LB_RESETCONTENT = 0x0184,
    LB_SETSEL = 0x0185,
    LB_SETCURSEL = 0x0186,
    LB_GETSEL = 0x0187,
    LB_GETCURSEL = 0x0188,
    LB_GETTEXT = 0x0189,
    LB_GETTEXTLEN = 0x018A,
    LB_GETCOUNT = 0x018B,
    LB_GETTOPINDEX = 0x018E,
    LB_FINDSTRING = 0x018F,
    LB_GETSELCOUNT = 0x0190,
    LB_SETTABSTOPS = 0x0192,
    LB_GETHORIZONTALEXTENT = 0x0193,
    LB_SETHORIZONTALEXTENT = 0x0194,
    LB_SETTOPINDEX = 0x0197,
    LB_GETITEMRECT = 0x0198,
    LB_GETITEMDATA = 0x0199,
    LB_SETITEMDATA = 0x019A,
    LB_SETCARETINDEX = 0x019E,
    LB_GETCARETINDEX = 0x019F,
    LB_SETITEMHEIGHT = 0x01A0,
    LB_GETITEMHEIGHT = 0x01A1,
    LB_FINDSTRINGEXACT = 0x01A2,
    LB_ITEMFROMPOINT = 0x01A9,

    CB_GETEDITSEL = 0x0140,
    CB_LIMITTEXT = 0x0141,
    CB_SETEDITSEL = 0x0142,
    CB_ADDSTRING = 0x0143,
    CB_DELETESTRING = 0x0144,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_GETLBTEXT = 0x0148,
    CB_GETLBTEXTLEN = 0x0149,
    CB_INSERTSTRING = 0x014A,
    CB_RESETCONTENT = 0x014B,
    CB_FINDSTRING = 0x014C,
    CB_SELECTSTRING = 0x014D,
    CB_SETCURSEL = 0x014E,
    CB_SHOWDROPDOWN = 0x014F,
    CB_GETITEMDATA = 0x0150,
    CB_SETITEMDATA = 0x0151,
    CB_GETDROPPEDCONTROLRECT = 0x0152,
    CB_SETITEMHEIGHT = 0x0153,
    CB_GETITEMHEIGHT = 0x0154,
    CB_GETDROPPEDSTATE = 0x0157,
    CB_FINDSTRINGEXACT = 0x0158,
    CB_SETDROPPEDWIDTH = 0x0160,

    BM_GETCHECK = 0x00F0,
    BM_SETCHECK = 0x00F1,
    BM_GETSTATE = 0x00F2,
    BM_SETSTATE = 0x00F3,
    BM_CLICK = 0x00F5,

    TV_FIRST = 0x1100,
    TVM_INSERTITEM = TV_FIRST + 0,
    TVM_DELETEITEM = TV_FIRST + 1,
    TVM_EXPAND = TV_FIRST + 2,
    TVM_GETITEMRECT = TV_FIRST + 4,
    TVM_GETCOUNT = TV_FIRST + 5,
    TVM_GETINDENT = TV_FIRST + 6,
    TVM_SETINDENT = TV_FIRST + 7,
    TVM_GETIMAGELIST = TV_FIRST + 8,
    TVM_SETIMAGELIST = TV_FIRST + 9,
    TVM_GETNEXTITEM = TV_FIRST + 10,
    TVM_SELECTITEM = TV_FIRST + 11,
    TVM_GETITEM = TV_FIRST + 12,
    TVM_SETITEM = TV_FIRST + 13,
    TVM_HITTEST = TV_FIRST + 17,
    TVM_ENSUREVISIBLE = TV_FIRST + 20,

    LVM_FIRST = 0x1000,
    LVM_GETBKCOLOR = LVM_FIRST + 0,
    LVM_SETBKCOLOR = LVM_FIRST + 1,
    LVM_SETIMAGELIST = LVM_FIRST + 3,
    LVM_GETITEMCOUNT = LVM_FIRST + 4,
    LVM_GETITEMA = LVM_FIRST + 5,
    LVM_SETITEMA = LVM_FIRST + 6,
    LVM_DELETEITEM = LVM_FIRST + 8,
    LVM_DELETEALLITEMS = LVM_FIRST + 9,
    LVM_GETNEXTITEM = LVM_FIRST + 12,
    LVM_GETITEMRECT = LVM_FIRST + 14,
    LVM_HITTEST = LVM_FIRST + 18,
    LVM_ENSUREVISIBLE = LVM_FIRST + 19,
    LVM_SCROLL = LVM_FIRST + 20,
    LVM_EDITLABELA = LVM_FIRST + 23,
    LVM_GETCOLUMNA = LVM_FIRST + 25,
    LVM_SETCOLUMNA = LVM_FIRST + 26,
    LVM_INSERTCOLUMNA = LVM_FIRST + 27,
    LVM_DELETECOLUMN = LVM_FIRST + 28,
    LVM_GETCOLUMNWIDTH = LVM_FIRST + 29,
    LVM_SETCOLUMNWIDTH = LVM_FIRST + 30,
    LVM_GETHEADER = LVM_FIRST + 31,
    LVM_GETTEXTCOLOR = LVM_FIRST + 35,
    LVM_SETTEXTCOLOR = LVM_FIRST + 36,
    LVM_GETTEXTBKCOLOR = LVM_FIRST + 37,
    LVM_SETTEXTBKCOLOR = LVM_FIRST + 38,
    LVM_GETTOPINDEX = LVM_FIRST + 39,
    LVM_GETCOUNTPERPAGE = LVM_FIRST + 40,
    LVM_SETITEMSTATE = LVM_FIRST + 43,
    LVM_GETITEMSTATE = LVM_FIRST + 44,
    LVM_SORTITEMS = LVM_FIRST + 48,
    LVM_GETSELECTEDCOUNT = LVM_FIRST + 50,
    LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54,
    LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55,
    LVM_GETSUBITEMRECT = LVM_FIRST + 56,
    HDM_FIRST = 0x1200,
    HDM_GETITEMCOUNT = HDM_FIRST + 0,
    HDM_INSERTITEM = HDM_FIRST + 1,
    HDM_DELETEITEM = HDM_FIRST + 2,
    HDM_GETITEM = HDM_FIRST + 3,
    HDM_SETITEM = HDM_FIRST + 4,
    HDM_HITTEST = HDM_FIRST + 6,
    HDM_GETITEMRECT = HDM_FIRST + 7,
    HKM_SETHOTKEY = WM_USER + 1,
    HKM_GETHOTKEY = WM_USER + 2,
    HKM_SETRULES = WM_USER + 3,
    MCM_FIRST = 0x1000,
    MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15,
    DTM_FIRST = 0x1000,
    DTM_SETFORMAT = DTM_FIRST + 5,
    DTM_SETMCCOLOR = DTM_FIRST + 6,
    DTM_GETMONTHCAL = DTM_FIRST + 8,
};

// Notification codes carried in WM_NOTIFY / WM_COMMAND.
enum : int {
    HDN_FIRST = -300,
    HDN_ITEMCHANGING = HDN_FIRST - 0,
    HDN_ITEMCHANGED = HDN_FIRST - 1,
    HDN_ITEMCLICK = HDN_FIRST - 2,
    HDN_DIVIDERDBLCLICK = HDN_FIRST - 5,
    HDN_BEGINTRACK = HDN_FIRST - 6,
    HDN_ENDTRACK = HDN_FIRST - 7,
    HDN_TRACK = HDN_FIRST - 8,
    LVN_FIRST = -100,
    LVN_ITEMCHANGING = LVN_FIRST - 0,
    LVN_ITEMCHANGED = LVN_FIRST - 1,
    LVN_INSERTITEM = LVN_FIRST - 2,
    LVN_DELETEITEM = LVN_FIRST - 3,
    LVN_BEGINLABELEDITA = LVN_FIRST - 5,
    LVN_ENDLABELEDITA = LVN_FIRST - 6,
    LVN_COLUMNCLICK = LVN_FIRST - 8,
    EN_CHANGE = 0x0300,
    EN_UPDATE = 0x0400,
    CBN_SELCHANGE = 1,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_EDITCHANGE = 5,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    BN_CLICKED = 0,
};

enum : int { LB_ERR = -1, CB_ERR = -1, LB_OKAY = 0, CB_OKAY = 0 };
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };
enum : int { EC_LEFTMARGIN = 1, EC_RIGHTMARGIN = 2, EC_USEFONTINFO = 0xFFFF };

// Scroll codes and bars, WM_SIZE kinds, system commands, activation answers, hit-test codes.
enum : int {
    SB_HORZ = 0,
    SB_VERT = 1,
    SB_CTL = 2,
    SB_BOTH = 3,
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};
enum : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : unsigned {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_KEYMENU = 0xF100,
    SC_RESTORE = 0xF120
};
enum : int { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };
enum : int {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTHSCROLL = 6,
    HTVSCROLL = 7,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
};
// WM_GETDLGCODE answers.
enum : int {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004,
    DLGC_HASSETSEL = 0x0008,
    DLGC_WANTCHARS = 0x0080
};
// Mouse-message key flags in WParam.
enum : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010
};
// RedrawWindow flags.
enum : unsigned {
    RDW_INVALIDATE = 0x0001,
    RDW_INTERNALPAINT = 0x0002,
    RDW_ERASE = 0x0004,
    RDW_VALIDATE = 0x0008,
    RDW_NOINTERNALPAINT = 0x0010,
    RDW_NOERASE = 0x0020,
    RDW_NOCHILDREN = 0x0040,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
    RDW_ERASENOW = 0x0200,
    RDW_FRAME = 0x0400,
    RDW_NOFRAME = 0x0800
};

// ---- Window styles (TCreateParams) -------------------------------------------------------------
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_TABSTOP = 0x00010000,
    WS_GROUP = 0x00020000,
    WS_THICKFRAME = 0x00040000,
    WS_SYSMENU = 0x00080000,
    WS_HSCROLL = 0x00100000,
    WS_VSCROLL = 0x00200000,
    WS_DLGFRAME = 0x00400000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_MAXIMIZE = 0x01000000,
    WS_CLIPCHILDREN = 0x02000000,
    WS_CLIPSIBLINGS = 0x04000000,
    WS_DISABLED = 0x08000000,
    WS_VISIBLE = 0x10000000,
    WS_MINIMIZE = 0x20000000,
    WS_CHILD = 0x40000000,
    WS_POPUP = 0x80000000,
    WS_EX_DLGMODALFRAME = 0x00000001,
    WS_EX_TOPMOST = 0x00000008,
    WS_EX_TRANSPARENT = 0x00000020,
    WS_EX_TOOLWINDOW = 0x00000080,
    WS_EX_WINDOWEDGE = 0x00000100,
    WS_EX_CLIENTEDGE = 0x00000200,
    WS_EX_CONTROLPARENT = 0x00010000,
    WS_EX_STATICEDGE = 0x00020000,
    WS_EX_APPWINDOW = 0x00040000,
    CS_VREDRAW = 0x0001,
    CS_HREDRAW = 0x0002,
    CS_DBLCLKS = 0x0008,
    CS_SAVEBITS = 0x0800,
    ES_LEFT = 0x0000,
    ES_CENTER = 0x0001,
    ES_RIGHT = 0x0002,
    ES_MULTILINE = 0x0004,
    ES_UPPERCASE = 0x0008,
    ES_LOWERCASE = 0x0010,
    ES_PASSWORD = 0x0020,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080,
    ES_NOHIDESEL = 0x0100,
    ES_READONLY = 0x0800,
    ES_WANTRETURN = 0x1000,
    LBS_NOTIFY = 0x0001,
    LBS_SORT = 0x0002,
    LBS_OWNERDRAWFIXED = 0x0010,
    LBS_OWNERDRAWVARIABLE = 0x0020,
    LBS_HASSTRINGS = 0x0040,
    LBS_USETABSTOPS = 0x0080,
    LBS_MULTIPLESEL = 0x0008,
    LBS_EXTENDEDSEL = 0x0800,
    CBS_SIMPLE = 0x0001,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    CBS_OWNERDRAWFIXED = 0x0010,
    CBS_OWNERDRAWVARIABLE = 0x0020,
    CBS_AUTOHSCROLL = 0x0040,
    CBS_SORT = 0x0100,
    CBS_HASSTRINGS = 0x0200,
};

// ---- Virtual-key codes ---------------------------------------------------------------------------
// Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
enum : WORD {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_XBUTTON1 = 0x05,
    VK_XBUTTON2 = 0x06,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_PRINT = 0x2A,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD1,
    VK_NUMPAD2,
    VK_NUMPAD3,
    VK_NUMPAD4,
    VK_NUMPAD5,
    VK_NUMPAD6,
    VK_NUMPAD7,
    VK_NUMPAD8,
    VK_NUMPAD9,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2,
    VK_F3,
    VK_F4,
    VK_F5,
    VK_F6,
    VK_F7,
    VK_F8,
    VK_F9,
    VK_F10,
    VK_F11,
    VK_F12,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
    VK_OEM_102 = 0xE2,
    VK_PACKET = 0xE7,
};

// Key data (LParam of key messages): bit 29 is "Alt held", bit 30 "key was down", bit 31 "released".
enum : DWORD { KF_ALTDOWN_BIT = 0x20000000, KF_REPEAT_BIT = 0x40000000, KF_UP_BIT = 0x80000000 };

// ---- Shift state ---------------------------------------------------------------------------------
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

using TShiftState = Set<TShiftStateItem, ssShift, ssDouble>;

// Shift state from mouse-message key flags, and from a key message's key data plus the keyboard.
TShiftState KeysToShiftState(WORD keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// ---- Messages ------------------------------------------------------------------------------------
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(std::uintptr_t(LParam)); }
    WORD LParamHi() const { return HIWORD(std::uintptr_t(LParam)); }
};

// Typed views. Each binds to the TMessage it reads and converts back to it (to pass it on to
// DefaultHandler or a base handler). Fields a handler may change (a key code it eats, the result)
// are references into that message; the rest are copies.
struct TMessageView {
    TMessage& Raw;
    UINT Msg;
    LRESULT& Result;
    explicit TMessageView(TMessage& m) : Raw(m), Msg(m.Msg), Result(m.Result) {}
    operator TMessage&() const { return Raw; }
};
using TWMNoParams = TMessageView;

struct TWMMouse : TMessageView {
    int Keys;       // MK_* flags
    int XPos, YPos; // client coordinates
    explicit TWMMouse(TMessage& m)
        : TMessageView(m), Keys(int(m.WParam)), XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
    TPoint Pos() const { return {XPos, YPos}; }
};
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMLButtonDblClk = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMMouseMove = TWMMouse;
using TCMDesignHitTest = TWMMouse;

struct TWMMouseWheel : TMessageView {
    int Keys;
    int WheelDelta; // multiples of 120, positive away from the user
    int XPos, YPos; // screen coordinates
    explicit TWMMouseWheel(TMessage& m)
        : TMessageView(m), Keys(short(m.WParamLo())), WheelDelta(short(m.WParamHi())),
          XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
};

struct TWMKey : TMessageView {
    WPARAM& CharCode; // virtual key, or the CP1251 byte for WM_CHAR; set 0 to eat the key
    LPARAM KeyData;
    explicit TWMKey(TMessage& m) : TMessageView(m), CharCode(m.WParam), KeyData(m.LParam) {}
};
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
using TWMSysKeyDown = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;

struct TWMPaint : TMessageView {
    HDC DC; // paint into this canvas instead of the window's own when not null
    explicit TWMPaint(TMessage& m) : TMessageView(m), DC(reinterpret_cast<HDC>(m.WParam)) {}
};
using TWMEraseBkgnd = TWMPaint;
using TWMNCPaint = TWMPaint;

struct TWMSize : TMessageView {
    int SizeType;      // SIZE_*
    int Width, Height; // new client size
    explicit TWMSize(TMessage& m)
        : TMessageView(m), SizeType(int(m.WParam)), Width(m.LParamLo()), Height(m.LParamHi()) {}
};

struct TWMSetFocus : TMessageView {
    HWND FocusedWnd; // the window that lost (WM_SETFOCUS) or gets (WM_KILLFOCUS) the focus
    explicit TWMSetFocus(TMessage& m) : TMessageView(m), FocusedWnd(reinterpret_cast<HWND>(m.WParam)) {}
};
using TWMKillFocus = TWMSetFocus;

// WM_NCCALCSIZE: LParam points at this; the handler shrinks Rgrc[0] from the window box to the client box.
struct TNCCalcSizeParams {
    TRect Rgrc[3];
};
struct TWMNCCalcSize : TMessageView {
    BOOL CalcValidRects;
    TNCCalcSizeParams* CalcSize_Params;
    explicit TWMNCCalcSize(TMessage& m)
        : TMessageView(m), CalcValidRects(BOOL(m.WParam)),
          CalcSize_Params(reinterpret_cast<TNCCalcSizeParams*>(m.LParam)) {}
};

struct TWMNCHitTest : TMessageView {
    int XPos, YPos; // screen coordinates (client coordinates for CM_HITTEST)
    explicit TWMNCHitTest(TMessage& m)
        : TMessageView(m), XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
};
using TCMHitTest = TWMNCHitTest;

struct TWMSetCursor : TMessageView {
    HWND CursorWnd;
    int HitTest;
    int MouseMsg;
    explicit TWMSetCursor(TMessage& m)
        : TMessageView(m), CursorWnd(reinterpret_cast<HWND>(m.WParam)), HitTest(short(m.LParamLo())),
          MouseMsg(m.LParamHi()) {}
};

// WM_NCxBUTTONDOWN/UP/DBLCLK, WM_NCMOUSEMOVE: the hit-test code and the screen point.
struct TWMNCHitMessage : TMessageView {
    int HitTest;
    int XCursor, YCursor; // screen coordinates
    explicit TWMNCHitMessage(TMessage& m)
        : TMessageView(m), HitTest(int(m.WParam)), XCursor(GET_X_LPARAM(m.LParam)),
          YCursor(GET_Y_LPARAM(m.LParam)) {}
};
using TWMNCLButtonDown = TWMNCHitMessage;
using TWMNCMouseMove = TWMNCHitMessage;

// WM_MOUSEACTIVATE: the top-level window, the hit-test code and the mouse message that caused it.
struct TWMMouseActivate : TMessageView {
    HWND TopLevel;
    int HitTestCode;
    int MouseMsg;
    explicit TWMMouseActivate(TMessage& m)
        : TMessageView(m), TopLevel(reinterpret_cast<HWND>(m.WParam)), HitTestCode(short(m.LParamLo())),
          MouseMsg(m.LParamHi()) {}
};

// WM_ACTIVATEAPP: true when the program becomes the foreground one.
struct TWMActivateApp : TMessageView {
    BOOL Active;
    explicit TWMActivateApp(TMessage& m) : TMessageView(m), Active(BOOL(m.WParam)) {}
};

struct TWMTimer : TMessageView {
    UINT TimerID;
    explicit TWMTimer(TMessage& m) : TMessageView(m), TimerID(UINT(m.WParam)) {}
};

// WM_DRAWITEM / CN_DRAWITEM: LParam points at this. hDC is the canvas the owner draws on, bound
// to the control's painting while the message runs.
enum : UINT { ODT_HEADER = 100, ODT_LISTVIEW = 102 };
enum : UINT { ODA_DRAWENTIRE = 1 };
enum : UINT { ODS_SELECTED = 0x1, ODS_DISABLED = 0x4, ODS_FOCUS = 0x10, ODS_HOTLIGHT = 0x40 };
struct TDrawItemStruct {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    TRect rcItem;
    std::uintptr_t itemData = 0;
};

struct TWMCommand : TMessageView {
    WORD ItemID;
    WORD NotifyCode;
    HWND Ctl;
    explicit TWMCommand(TMessage& m)
        : TMessageView(m), ItemID(m.WParamLo()), NotifyCode(m.WParamHi()),
          Ctl(reinterpret_cast<HWND>(m.LParam)) {}
};

struct TWMContextMenu : TMessageView {
    HWND hWnd;
    int XPos, YPos; // screen coordinates; -1, -1 when raised from the keyboard
    explicit TWMContextMenu(TMessage& m)
        : TMessageView(m), hWnd(reinterpret_cast<HWND>(m.WParam)), XPos(GET_X_LPARAM(m.LParam)),
          YPos(GET_Y_LPARAM(m.LParam)) {}
};

struct TWMScroll : TMessageView {
    int ScrollCode; // SB_*
    int Pos;
    HWND ScrollBar;
    explicit TWMScroll(TMessage& m)
        : TMessageView(m), ScrollCode(short(m.WParamLo())), Pos(short(m.WParamHi())),
          ScrollBar(reinterpret_cast<HWND>(m.LParam)) {}
};
using TWMHScroll = TWMScroll;
using TWMVScroll = TWMScroll;

// CM_FOCUSCHANGED carries the control that got the focus.
struct TCMFocusChanged : TMessageView {
    TWinControl* Sender;
    explicit TCMFocusChanged(TMessage& m)
        : TMessageView(m), Sender(reinterpret_cast<TWinControl*>(m.WParam)) {}
};

// A message as it comes from the queue, for the application's message hooks: the window it goes
// to, its number and parameters, and the screen position of the mouse when it was made.
struct TMsg {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
};
using MSG = TMsg;
using tagMSG = TMsg;

// Builds a message record.
inline TMessage MakeMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) {
    TMessage m;
    m.Msg = msg;
    m.WParam = w;
    m.LParam = l;
    return m;
}
