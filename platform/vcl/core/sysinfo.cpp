// The system answers: tick clock, beeps, the table of classic metrics and parameters, monitors,
// key states, the platform version, locale answers and loaded cursors. GUI core.
#include "sysinfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "cp1251.h"
#include "forms.h"
#include "graphics_qt.h"
#include "handle.h"
#include "sysinfo_qt.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

std::mutex gLock;
std::function<std::uint64_t()> gTickSource;
std::function<void(UINT)> gBeepHandler;

} // namespace

// ---------------------------------------------------------------- time and sound

DWORD GetTickCount() {
    std::function<std::uint64_t()> source;
    {
        std::lock_guard<std::mutex> g(gLock);
        source = gTickSource;
    }
    if (source)
        return DWORD(source());
    static const auto start = std::chrono::steady_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return DWORD(std::uint64_t(ms.count()));
}

void SetTickSource(std::function<std::uint64_t()> source) {
    std::lock_guard<std::mutex> g(gLock);
    gTickSource = std::move(source);
}

void Sleep(DWORD Milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds)); }

BOOL MessageBeep(UINT Type) {
    std::function<void(UINT)> handler;
    {
        std::lock_guard<std::mutex> g(gLock);
        handler = gBeepHandler;
    }
    if (handler)
        handler(Type);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    return 1;
}

BOOL Beep(DWORD, DWORD) { return MessageBeep(0xFFFFFFFFu); }

void Beep() { MessageBeep(MB_OK); }

void SetBeepHandler(std::function<void(UINT Type)> handler) {
    std::lock_guard<std::mutex> g(gLock);
    gBeepHandler = std::move(handler);
}

// ---------------------------------------------------------------- monitors

namespace {

std::vector<TMonitorArea> gLayout; // a test's layout; empty: the screens'

QRect QRectOf(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TRect RectOf(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

std::vector<TMonitorArea> MonitorAreas() {
    {
        std::lock_guard<std::mutex> g(gLock);
        if (!gLayout.empty())
            return gLayout;
    }
    TApplication::QtApp();
    std::vector<TMonitorArea> out;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        out.push_back({RectOf(primary->geometry()), RectOf(primary->availableGeometry())});
    for (QScreen* s : QGuiApplication::screens())
        if (s != primary)
            out.push_back({RectOf(s->geometry()), RectOf(s->availableGeometry())});
    if (out.empty())
        out.push_back({TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 768)});
    return out;
}

TRect VirtualScreen() {
    QRect u;
    for (const TMonitorArea& m : MonitorAreas())
        u |= QRectOf(m.Bounds);
    return RectOf(u);
}

HMONITOR Fallback(const std::vector<TMonitorArea>& ms, const QRect& r, DWORD flags) {
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return 1;
    if (flags != MONITOR_DEFAULTTONEAREST)
        return 0;
    // The monitor closest to the rectangle's nearest point.
    HMONITOR best = 1;
    long long bestD = LLONG_MAX;
    for (size_t i = 0; i < ms.size(); ++i) {
        QRect b = QRectOf(ms[i].Bounds);
        long long dx = std::max({0, b.left() - r.right(), r.left() - b.right()});
        long long dy = std::max({0, b.top() - r.bottom(), r.top() - b.bottom()});
        if (dx * dx + dy * dy < bestD) {
            bestD = dx * dx + dy * dy;
            best = HMONITOR(i + 1);
        }
    }
    return best;
}

DWORD FlagsOf(TMonitorDefaultTo d) {
    if (d == mdNull)
        return MONITOR_DEFAULTTONULL;
    return d == mdPrimary ? MONITOR_DEFAULTTOPRIMARY : MONITOR_DEFAULTTONEAREST;
}

} // namespace

void SetMonitorLayout(const std::vector<TMonitorArea>& monitors) {
    std::lock_guard<std::mutex> g(gLock);
    gLayout = monitors;
}

HMONITOR MonitorFromRect(const TRect* r, DWORD Flags) {
    if (!r)
        return 0;
    std::vector<TMonitorArea> ms = MonitorAreas();
    QRect q = QRectOf(*r);
    if (q.isEmpty())
        q.setSize(QSize(std::max(1, q.width()), std::max(1, q.height())));
    HMONITOR best = 0;
    long long area = 0;
    for (size_t i = 0; i < ms.size(); ++i) {
        QRect x = QRectOf(ms[i].Bounds) & q;
        if (!x.isEmpty() && (long long)x.width() * x.height() > area) {
            area = (long long)x.width() * x.height();
            best = HMONITOR(i + 1);
        }
    }
    return best ? best : Fallback(ms, q, Flags);
}

HMONITOR MonitorFromPoint(TPoint p, DWORD Flags) {
    TRect r(p.x, p.y, p.x + 1, p.y + 1);
    return MonitorFromRect(&r, Flags);
}

HMONITOR MonitorFromWindow(HWND h, DWORD Flags) {
    TRect r;
    if (!h || !GetWindowRect(h, &r))
        return Flags == MONITOR_DEFAULTTONULL ? 0 : 1;
    return MonitorFromRect(&r, Flags);
}

BOOL GetMonitorInfo(HMONITOR m, MONITORINFO* info) {
    std::vector<TMonitorArea> ms = MonitorAreas();
    if (!info || m < 1 || size_t(m) > ms.size())
        return 0;
    info->rcMonitor = ms[size_t(m - 1)].Bounds;
    info->rcWork = ms[size_t(m - 1)].WorkArea;
    info->dwFlags = m == 1 ? DWORD(MONITORINFOF_PRIMARY) : 0;
    return 1;
}

TRect TMonitor::BoundsRect() const {
    MONITORINFO mi;
    return GetMonitorInfo(Handle(), &mi) ? mi.rcMonitor : TRect();
}

TRect TMonitor::WorkareaRect() const {
    MONITORINFO mi;
    return GetMonitorInfo(Handle(), &mi) ? mi.rcWork : TRect();
}

namespace {

// One TMonitor per index for the program's life: pointers handed out stay valid.
TMonitor* MonitorObject(HMONITOR m) {
    static std::vector<std::unique_ptr<TMonitor>> objects;
    if (m < 1)
        return nullptr;
    std::lock_guard<std::mutex> g(gLock);
    while (objects.size() < size_t(m))
        objects.push_back(std::make_unique<TMonitor>(int(objects.size())));
    return objects[size_t(m - 1)].get();
}

} // namespace

int TScreen::MonitorCount() const { return int(MonitorAreas().size()); }

TMonitor* TScreen::Monitors(int i) const {
    return i >= 0 && i < MonitorCount() ? MonitorObject(HMONITOR(i + 1)) : nullptr;
}

TMonitor* TScreen::MonitorFromPoint(TPoint p, TMonitorDefaultTo d) const {
    return MonitorObject(::MonitorFromPoint(p, FlagsOf(d)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& r, TMonitorDefaultTo d) const {
    return MonitorObject(::MonitorFromRect(&r, FlagsOf(d)));
}

TMonitor* TScreen::MonitorFromWindow(HWND h, TMonitorDefaultTo d) const {
    return MonitorObject(::MonitorFromWindow(h, FlagsOf(d)));
}

TRect TScreen::WorkAreaRect() const { return MonitorAreas().front().WorkArea; }

// ---------------------------------------------------------------- metrics and parameters

int GetSystemMetrics(int Index) {
    // The classic scheme at 96 pixels per inch.
    static const std::map<int, int> kFixed = {
        {SM_CXVSCROLL, 16},
        {SM_CYHSCROLL, 16},
        {SM_CYCAPTION, 19},
        {SM_CXBORDER, 1},
        {SM_CYBORDER, 1},
        {SM_CXDLGFRAME, 3},
        {SM_CYDLGFRAME, 3},
        {SM_CYVTHUMB, 16},
        {SM_CXHTHUMB, 16},
        {SM_CXICON, 32},
        {SM_CYICON, 32},
        {SM_CXCURSOR, 32},
        {SM_CYCURSOR, 32},
        {SM_CYMENU, 19},
        {SM_MOUSEPRESENT, 1},
        {SM_CYVSCROLL, 16},
        {SM_CXHSCROLL, 16},
        {SM_CXMIN, 112},
        {SM_CYMIN, 27},
        {SM_CXSIZE, 18},
        {SM_CYSIZE, 18},
        {SM_CXFRAME, 4},
        {SM_CYFRAME, 4},
        {SM_CXMINTRACK, 112},
        {SM_CYMINTRACK, 27},
        {SM_CXDOUBLECLK, 4},
        {SM_CYDOUBLECLK, 4},
        {SM_CXICONSPACING, 75},
        {SM_CYICONSPACING, 75},
        {SM_CMOUSEBUTTONS, 3},
        {SM_CXEDGE, 2},
        {SM_CYEDGE, 2},
        {SM_CXMINSPACING, 160},
        {SM_CYMINSPACING, 24},
        {SM_CXSMICON, 16},
        {SM_CYSMICON, 16},
        {SM_CYSMCAPTION, 16},
        {SM_CXSMSIZE, 12},
        {SM_CYSMSIZE, 15},
        {SM_CXMENUSIZE, 18},
        {SM_CYMENUSIZE, 18},
        {SM_ARRANGE, 8},
        {SM_CXMINIMIZED, 160},
        {SM_CYMINIMIZED, 24},
        {SM_NETWORK, 3},
        {SM_CXDRAG, 4},
        {SM_CYDRAG, 4},
        {SM_CXMENUCHECK, 13},
        {SM_CYMENUCHECK, 13},
        {SM_MOUSEWHEELPRESENT, 1},
        {SM_SAMEDISPLAYFORMAT, 1},
        {SM_CXFOCUSBORDER, 1},
        {SM_CYFOCUSBORDER, 1},
    };
    auto it = kFixed.find(Index);
    if (it != kFixed.end())
        return it->second;
    switch (Index) {
    case SM_CXSCREEN: return MonitorAreas().front().Bounds.Width();
    case SM_CYSCREEN: return MonitorAreas().front().Bounds.Height();
    case SM_CXFULLSCREEN: return MonitorAreas().front().WorkArea.Width();
    case SM_CYFULLSCREEN: return MonitorAreas().front().WorkArea.Height() - 19;
    case SM_CXMAXIMIZED: return MonitorAreas().front().WorkArea.Width() + 2 * 4;
    case SM_CYMAXIMIZED: return MonitorAreas().front().WorkArea.Height() + 2 * 4;
    case SM_CXMAXTRACK: return VirtualScreen().Width() + 2 * 6;
    case SM_CYMAXTRACK: return VirtualScreen().Height() + 2 * 6;
    case SM_XVIRTUALSCREEN: return VirtualScreen().Left;
    case SM_YVIRTUALSCREEN: return VirtualScreen().Top;
    case SM_CXVIRTUALSCREEN: return VirtualScreen().Width();
    case SM_CYVIRTUALSCREEN: return VirtualScreen().Height();
    case SM_CMONITORS: return int(MonitorAreas().size());
    default: return 0;
    }
}

namespace {

LOGFONT SystemFont(bool bold) {
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = RUSSIAN_CHARSET;
    std::strcpy(lf.lfFaceName, "Tahoma");
    return lf;
}

} // namespace

BOOL SystemParametersInfo(UINT Action, UINT, void* Param, UINT) {
    static const std::map<UINT, int> kValues = {
        {SPI_GETBORDER, 1},
        {SPI_GETKEYBOARDSPEED, 31},
        {SPI_ICONHORIZONTALSPACING, 75},
        {SPI_GETSCREENSAVETIMEOUT, 900},
        {SPI_GETKEYBOARDDELAY, 1},
        {SPI_ICONVERTICALSPACING, 75},
        {SPI_GETDRAGFULLWINDOWS, 1},
        {SPI_GETFONTSMOOTHING, 0},
        {SPI_GETMOUSEHOVERWIDTH, 4},
        {SPI_GETMOUSEHOVERHEIGHT, 4},
        {SPI_GETMOUSEHOVERTIME, 400},
        {SPI_GETWHEELSCROLLLINES, 3},
        {SPI_GETMENUSHOWDELAY, 400},
        {SPI_GETWHEELSCROLLCHARS, 3},
        {SPI_GETMENUANIMATION, 0},
        {SPI_GETCOMBOBOXANIMATION, 0},
        {SPI_GETLISTBOXSMOOTHSCROLLING, 0},
        {SPI_GETGRADIENTCAPTIONS, 1},
        {SPI_GETKEYBOARDCUES, 1},
        {SPI_GETHOTTRACKING, 1},
        {SPI_GETMENUFADE, 0},
        {SPI_GETSELECTIONFADE, 0},
        {SPI_GETTOOLTIPANIMATION, 0},
        {SPI_GETTOOLTIPFADE, 0},
        {SPI_GETCURSORSHADOW, 0},
        {SPI_GETFLATMENU, 0},
        {SPI_GETDROPSHADOW, 0},
        {SPI_GETUIEFFECTS, 0},
        {SPI_GETCARETWIDTH, 1},
        {SPI_GETFOCUSBORDERWIDTH, 1},
        {SPI_GETFOCUSBORDERHEIGHT, 1},
    };
    if (!Param)
        return 0;
    auto it = kValues.find(Action);
    if (it != kValues.end()) {
        *static_cast<int*>(Param) = it->second;
        return 1;
    }
    switch (Action) {
    case SPI_GETWORKAREA: *static_cast<TRect*>(Param) = MonitorAreas().front().WorkArea; return 1;
    case SPI_GETICONTITLELOGFONT: *static_cast<LOGFONT*>(Param) = SystemFont(false); return 1;
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICS*>(Param);
        m->iBorderWidth = 1;
        m->iScrollWidth = m->iScrollHeight = 16;
        m->iCaptionWidth = m->iCaptionHeight = 18;
        m->lfCaptionFont = SystemFont(true);
        m->iSmCaptionWidth = 12;
        m->iSmCaptionHeight = 15;
        m->lfSmCaptionFont = SystemFont(true);
        m->iMenuWidth = m->iMenuHeight = 18;
        m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = SystemFont(false);
        return 1;
    }
    default: return 0;
    }
}

namespace {
TMouse gMouse;
} // namespace
TMouse* Mouse = &gMouse;

int TMouse::WheelScrollLines() const {
    int lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines;
}

TPoint TMouse::CursorPos() const {
    TPoint p;
    GetCursorPos(&p);
    return p;
}

// ---------------------------------------------------------------- key states

namespace {

// Per virtual key: 0x80 while down, 0x01 toggled (Caps Lock, Num Lock, Scroll Lock).
std::array<unsigned char, 256> gKeys{};

int Generic(int vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
    }
}

} // namespace

void NoteKeyEvent(WORD VirtKey, bool Down) {
    unsigned char& k = gKeys[VirtKey & 0xFF];
    if (Down && !(k & 0x80) && (VirtKey == VK_CAPITAL || VirtKey == VK_NUMLOCK || VirtKey == VK_SCROLL))
        k ^= 0x01;
    k = static_cast<unsigned char>(Down ? k | 0x80 : k & ~0x80);
}

short GetKeyState(int VirtKey) {
    // Modifiers and buttons as the event being handled reports them; other keys as last seen.
    Qt::KeyboardModifiers m = CurrentModifiers();
    Qt::MouseButtons b = CurrentButtons();
    bool down;
    switch (Generic(VirtKey)) {
    case VK_SHIFT: down = m & Qt::ShiftModifier; break;
    case VK_CONTROL: down = m & Qt::ControlModifier; break;
    case VK_MENU: down = m & Qt::AltModifier; break;
    case VK_LBUTTON: down = b & Qt::LeftButton; break;
    case VK_RBUTTON: down = b & Qt::RightButton; break;
    case VK_MBUTTON: down = b & Qt::MiddleButton; break;
    case VK_XBUTTON1: down = b & Qt::BackButton; break;
    case VK_XBUTTON2: down = b & Qt::ForwardButton; break;
    default: down = gKeys[VirtKey & 0xFF] & 0x80; break;
    }
    return short((down ? 0x8000 : 0) | (gKeys[VirtKey & 0xFF] & 0x01));
}

short GetAsyncKeyState(int VirtKey) { return short(GetKeyState(VirtKey) & 0x8000); }

// ---------------------------------------------------------------- version and locale

BOOL GetVersionEx(OSVERSIONINFO* v) {
    if (!v || v->dwOSVersionInfoSize < sizeof(OSVERSIONINFO))
        return 0;
    v->dwMajorVersion = PlatformVersion.Major;
    v->dwMinorVersion = PlatformVersion.Minor;
    v->dwBuildNumber = PlatformVersion.Build;
    v->dwPlatformId = PlatformVersion.Platform;
    std::memset(v->szCSDVersion, 0, sizeof(v->szCSDVersion));
    std::strncpy(v->szCSDVersion, PlatformVersion.ServicePack, sizeof(v->szCSDVersion) - 1);
    return 1;
}

DWORD GetVersion() {
    return PlatformVersion.Major | (PlatformVersion.Minor << 8) | (PlatformVersion.Build << 16);
}

DWORD GetComCtlVersion() { return (PlatformVersion.ComCtlMajor << 16) | PlatformVersion.ComCtlMinor; }

LCID GetUserDefaultLCID() { return 0x0419; }

LCID GetThreadLocale() { return 0x0419; }

namespace {

bool LocaleAnswer(UINT type, std::string& out) {
    if (type >= LOCALE_SDAYNAME1 && type < LOCALE_SDAYNAME1 + 7) {
        out = LongDayNames[(type - LOCALE_SDAYNAME1 + 1) % 7];
    } else if (type >= LOCALE_SABBREVDAYNAME1 && type < LOCALE_SABBREVDAYNAME1 + 7) {
        out = ShortDayNames[(type - LOCALE_SABBREVDAYNAME1 + 1) % 7];
    } else if (type >= LOCALE_SMONTHNAME1 && type < LOCALE_SMONTHNAME1 + 12) {
        out = LongMonthNames[type - LOCALE_SMONTHNAME1];
    } else if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12) {
        out = ShortMonthNames[type - LOCALE_SABBREVMONTHNAME1];
    } else {
        switch (type) {
        case LOCALE_ILANGUAGE: out = "0419"; break;
        case LOCALE_SDECIMAL: out = std::string(1, DecimalSeparator); break;
        case LOCALE_STHOUSAND: out = std::string(1, ThousandSeparator); break;
        case LOCALE_SDATE: out = std::string(1, DateSeparator); break;
        case LOCALE_STIME: out = std::string(1, TimeSeparator); break;
        case LOCALE_SSHORTDATE: out = ShortDateFormat; break;
        case LOCALE_STIMEFORMAT: out = LongTimeFormat; break;
        case LOCALE_IDEFAULTANSICODEPAGE: out = "1251"; break;
        case LOCALE_IFIRSTDAYOFWEEK: out = "0"; break; // Monday
        default: return false;
        }
    }
    return true;
}

} // namespace

int GetLocaleInfo(LCID, UINT Type, char* Data, int Size) {
    std::string s;
    if (!LocaleAnswer(Type, s))
        return 0;
    int need = int(s.size()) + 1;
    if (Size == 0)
        return need;
    if (!Data || Size < need)
        return 0;
    std::memcpy(Data, s.c_str(), size_t(need));
    return need;
}

std::string GetLocaleStr(LCID, UINT Type, const std::string& Default) {
    std::string s;
    return LocaleAnswer(Type, s) && !s.empty() ? s : Default;
}

std::string DateTimeFormatToQt(const std::string& Format) {
    std::string out;
    for (size_t i = 0; i < Format.size();) {
        char c = Format[i];
        size_t n = 1;
        while (i + n < Format.size() && Format[i + n] == c)
            ++n;
        if (c == '\'') {
            size_t end = Format.find('\'', i + 1);
            out += Format.substr(i, end == std::string::npos ? std::string::npos : end - i + 1);
            i = end == std::string::npos ? Format.size() : end + 1;
            continue;
        }
        std::string run(n, c);
        switch (c) {
        case 'd':
        case 'M':
        case 'h':
        case 'H':
        case 'm':
        case 's': out += run; break;
        case 'y': out += n <= 2 ? "yy" : "yyyy"; break;
        case 't': out += "AP"; break;
        default:
            // Other letters would be format letters to Qt: quoted as text.
            out += std::isalpha(static_cast<unsigned char>(c)) ? "'" + run + "'" : run;
            break;
        }
        i += n;
    }
    return out;
}

std::string GetDateFormatStr(LCID Locale, TDateTime Date, const std::string& Picture) {
    QLocale locale;
    switch (Locale) {
    case LOCALE_USER_DEFAULT:
    case LOCALE_SYSTEM_DEFAULT:
    case kLocaleRussian: locale = QLocale(QLocale::Russian, QLocale::Russia); break;
    case kLocaleUsEnglish: locale = QLocale(QLocale::English, QLocale::UnitedStates); break;
    default: return {};
    }
    unsigned short y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);
    const QDate date(y, m, d);
    if (!date.isValid())
        return {};
    const QString picture = QString::fromStdString(Cp1251ToUtf8(DateTimeFormatToQt(Picture)));
    return Utf8ToCp1251(locale.toString(date, picture).toStdString());
}

void InstallDesktopLanguage(QCoreApplication* App) {
    static QCoreApplication* done = nullptr;
    if (done == App)
        return;
    done = App;
    // Qt's own parts (calendars, the file dialogs, standard buttons) speak as a Russian desktop's.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto* t = new QTranslator(App);
    if (t->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(t);
    else
        delete t;
}

// ---------------------------------------------------------------- cursors

namespace {

constexpr HCURSOR kFirstLoaded = 0x10000;
std::map<HCURSOR, QCursor>& Loaded() {
    static std::map<HCURSOR, QCursor> m;
    return m;
}
HCURSOR gNextCursor = kFirstLoaded;
std::map<TCursor, HCURSOR> gScreenCursors;

} // namespace

HCURSOR LoadCursor(HINSTANCE, const char* Name) {
    QImage img;
    QPoint hot;
    if (!Name || !ResourceImage(Name, img, hot))
        return 0;
    TApplication::QtApp();
    HCURSOR h = gNextCursor++;
    Loaded()[h] = QCursor(QPixmap::fromImage(img), hot.x(), hot.y());
    return h;
}

HCURSOR LoadCursor(HINSTANCE, int Id) {
    static const std::map<int, TCursor> kStandard = {
        {IDC_ARROW, crArrow},          {IDC_IBEAM, crIBeam},     {IDC_WAIT, crHourGlass},
        {IDC_CROSS, crCross},          {IDC_UPARROW, crUpArrow}, {IDC_SIZENWSE, crSizeNWSE},
        {IDC_SIZENESW, crSizeNESW},    {IDC_SIZEWE, crSizeWE},   {IDC_SIZENS, crSizeNS},
        {IDC_SIZEALL, crSizeAll},      {IDC_NO, crNo},           {IDC_HAND, crHandPoint},
        {IDC_APPSTARTING, crAppStart}, {IDC_HELP, crHelp},
    };
    auto it = kStandard.find(Id);
    return it == kStandard.end() ? 0 : HCURSOR(it->second);
}

BOOL DestroyCursor(HCURSOR Cursor) { return Loaded().erase(Cursor) ? 1 : 0; }

QCursor QtCursorOf(HCURSOR Cursor) {
    auto it = Loaded().find(Cursor);
    return it != Loaded().end() ? it->second : QCursor(QtCursorShape(TCursor(Cursor)));
}

HCURSOR TScreen::Cursors(TCursor c) const {
    auto it = gScreenCursors.find(c);
    return it != gScreenCursors.end() ? it->second : HCURSOR(c);
}

void TScreen::SetCursors(TCursor c, HCURSOR h) {
    if (h)
        gScreenCursors[c] = h;
    else
        gScreenCursors.erase(c);
}
