// The system answers: tick clock, beeps, metrics and parameters, monitors, key states, version,
// locale and named cursors.
#include <gtest/gtest.h>

// The named cursors' Qt side is the seam under test here (QtCursorOf): the one Qt include.
#include <QPixmap>

#include <cstring>

#include "core_support.h"
#include "handle.h"
#include "inputkit.h"
#include "sysinfo.h"
#include "sysinfo_qt.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

namespace Key = inputkit::Key;

TEST(SystemClock, TickCountWrapsAt32BitsAndElapsedArithmeticSurvivesTheWrap) {
    std::uint64_t now = 0xFFFFFFF0ull;
    SetTickSource([&] { return now; });
    DWORD before = GetTickCount();
    EXPECT_EQ(before, 0xFFFFFFF0u);
    now += 0x30;
    DWORD after = GetTickCount();
    EXPECT_EQ(after, 0x20u);
    EXPECT_EQ(after - before, 0x30u);
    SetTickSource({});
    DWORD a = GetTickCount();
    Sleep(20);
    DWORD b = GetTickCount();
    EXPECT_GE(b - a, 20u);
    EXPECT_LT(b - a, 5000u);
}

TEST(SystemSound, BeepsReachTheHandler) {
    std::vector<UINT> beeps;
    SetBeepHandler([&](UINT t) { beeps.push_back(t); });
    MessageBeep(MB_ICONEXCLAMATION);
    Beep();
    Beep(440, 100);
    SetBeepHandler({});
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION, MB_OK, 0xFFFFFFFFu}));
}

class SystemAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        SetMonitorLayout({{TRect(0, 0, 1280, 1024), TRect(0, 0, 1280, 994)},
                          {TRect(1280, 100, 2080, 700), TRect(1280, 100, 2080, 700)}});
    }
    void TearDown() override { SetMonitorLayout({}); }
};

TEST_F(SystemAnswers, MetricsAreTheClassicTable) {
    const struct {
        int index, value;
    } cases[] = {
        {SM_CXSCREEN, 1280},
        {SM_CYSCREEN, 1024},
        {SM_CXVSCROLL, 16},
        {SM_CYHSCROLL, 16},
        {SM_CYCAPTION, 19},
        {SM_CXBORDER, 1},
        {SM_CXEDGE, 2},
        {SM_CXFRAME, 4},
        {SM_CXDLGFRAME, 3},
        {SM_CYMENU, 19},
        {SM_CXICON, 32},
        {SM_CXSMICON, 16},
        {SM_CXDOUBLECLK, 4},
        {SM_CXDRAG, 4},
        {SM_CXMENUCHECK, 13},
        {SM_MOUSEWHEELPRESENT, 1},
        {SM_SWAPBUTTON, 0},
        {SM_CMONITORS, 2},
        {SM_XVIRTUALSCREEN, 0},
        {SM_CXVIRTUALSCREEN, 2080},
        {SM_CYVIRTUALSCREEN, 1024},
        {SM_CXFULLSCREEN, 1280},
        {SM_CYFULLSCREEN, 975},
        {SM_CXMAXIMIZED, 1288},
        {SM_CYMAXIMIZED, 1002},
        {9999, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetSystemMetrics(c.index), c.value) << "SM " << c.index;
}

TEST_F(SystemAnswers, ParametersAreTheClassicTable) {
    const struct {
        UINT action;
        int value;
    } cases[] = {
        {SPI_GETWHEELSCROLLLINES, 3}, {SPI_GETKEYBOARDCUES, 1},  {SPI_GETFLATMENU, 0},
        {SPI_GETDRAGFULLWINDOWS, 1},  {SPI_GETMENUANIMATION, 0}, {SPI_GETMOUSEHOVERTIME, 400},
        {SPI_GETCARETWIDTH, 1},       {SPI_GETHOTTRACKING, 1},
    };
    for (const auto& c : cases) {
        int v = -1;
        EXPECT_TRUE(SystemParametersInfo(c.action, 0, &v, 0)) << c.action;
        EXPECT_EQ(v, c.value) << c.action;
    }
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, TRect(0, 0, 1280, 994));
    NONCLIENTMETRICS ncm;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    EXPECT_EQ(ncm.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
    int v = 0;
    EXPECT_FALSE(SystemParametersInfo(0x0069 /* SPI_SETWHEELSCROLLLINES */, 5, &v, 0));
    EXPECT_EQ(Mouse->WheelScrollLines(), 3);
}

TEST_F(SystemAnswers, MonitorsAndWorkAreas) {
    ASSERT_EQ(Screen->MonitorCount(), 2);
    EXPECT_TRUE(Screen->Monitors(0)->Primary());
    EXPECT_EQ(Screen->Monitors(1)->BoundsRect(), TRect(1280, 100, 2080, 700));
    EXPECT_EQ(Screen->WorkAreaRect(), TRect(0, 0, 1280, 994));
    const struct {
        TPoint p;
        DWORD flags;
        HMONITOR expect;
    } cases[] = {
        {{10, 10}, MONITOR_DEFAULTTONULL, 1},      {{1500, 200}, MONITOR_DEFAULTTONULL, 2},
        {{1500, 50}, MONITOR_DEFAULTTONULL, 0},    {{1500, 50}, MONITOR_DEFAULTTONEAREST, 2},
        {{1500, 50}, MONITOR_DEFAULTTOPRIMARY, 1}, {{-300, 500}, MONITOR_DEFAULTTONEAREST, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MonitorFromPoint(c.p, c.flags), c.expect) << c.p.x << "," << c.p.y << " flags " << c.flags;
    MONITORINFO mi;
    ASSERT_TRUE(GetMonitorInfo(2, &mi));
    EXPECT_EQ(mi.rcWork, TRect(1280, 100, 2080, 700));
    EXPECT_EQ(mi.dwFlags, 0u);
    ASSERT_TRUE(GetMonitorInfo(1, &mi));
    EXPECT_EQ(mi.dwFlags, DWORD(MONITORINFOF_PRIMARY));
    EXPECT_FALSE(GetMonitorInfo(3, &mi));
    // A rectangle belongs to the monitor it overlaps most.
    TRect straddle(1200, 200, 1500, 300);
    EXPECT_EQ(MonitorFromRect(&straddle, MONITOR_DEFAULTTONULL), 2);
    EXPECT_EQ(Screen->MonitorFromPoint(TPoint(1500, 50))->MonitorNum(), 1);
    EXPECT_EQ(Screen->MonitorFromPoint(TPoint(1500, 50), mdNull), nullptr);

    TForm form(nullptr);
    form.SetBounds(20, 30, 200, 100);
    form.Show();
    EXPECT_EQ(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), 1);
    EXPECT_EQ(Screen->MonitorFromWindow(form.Handle())->Handle(), 1);
}

TEST_F(SystemAnswers, KeyStatesFollowTheKeysForEveryKey) {
    TForm form(nullptr);
    auto* p = new TProbe(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, 50, 50);
    form.Show();
    const struct {
        int key;
        int vk;
    } keys[] = {{'A', 'A'}, {Key::F(7), VK_F7}, {Key::Space, VK_SPACE}, {Key::Insert, VK_INSERT}};
    for (const auto& k : keys) {
        EXPECT_GE(GetKeyState(k.vk), 0) << k.vk;
        inputkit::KeyDown(p, k.key);
        EXPECT_LT(GetKeyState(k.vk), 0) << k.vk;
        EXPECT_LT(GetAsyncKeyState(k.vk), 0) << k.vk;
        inputkit::KeyUp(p, k.key);
        EXPECT_GE(GetKeyState(k.vk), 0) << k.vk;
    }
    // Toggle keys keep their state in the low bit.
    int before = GetKeyState(VK_CAPITAL) & 1;
    inputkit::Press(p, Key::CapsLock);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, before ^ 1);
    EXPECT_GE(GetKeyState(VK_CAPITAL), 0);
}

TEST(SystemVersion, OneFixedVersionAndLocale) {
    OSVERSIONINFO v;
    ASSERT_TRUE(GetVersionEx(&v));
    EXPECT_EQ(v.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(v.dwMajorVersion, 6u);
    EXPECT_EQ(v.dwMinorVersion, 1u);
    EXPECT_EQ(LOWORD(GetVersion()), 0x0106);
    EXPECT_EQ(Win32MajorVersion, 6);
    EXPECT_EQ(Win32MinorVersion, 1);
    EXPECT_EQ(Win32Platform, 2);
    EXPECT_EQ(GetComCtlVersion(), DWORD(ComCtlVersionIE6));
    EXPECT_EQ(GetComCtlVersion(), 6u * 65536 + 0);

    const struct {
        UINT type;
        std::string value;
    } cases[] = {
        {LOCALE_IFIRSTDAYOFWEEK, "0"},
        {LOCALE_SMONTHNAME1, LongMonthNames[0]},
        {LOCALE_SMONTHNAME1 + 11, LongMonthNames[11]},
        {LOCALE_SABBREVMONTHNAME1 + 4, ShortMonthNames[4]},
        {LOCALE_SDAYNAME1, LongDayNames[1]},
        {LOCALE_SDAYNAME1 + 6, LongDayNames[0]},
        {LOCALE_SABBREVDAYNAME1, ShortDayNames[1]},
        {LOCALE_SDECIMAL, std::string(1, DecimalSeparator)},
        {LOCALE_IDEFAULTANSICODEPAGE, "1251"},
    };
    for (const auto& c : cases) {
        char buf[64];
        int n = GetLocaleInfo(LOCALE_USER_DEFAULT, c.type, buf, sizeof buf);
        EXPECT_EQ(n, int(c.value.size()) + 1) << c.type;
        EXPECT_EQ(std::string(buf), c.value) << c.type;
        EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, c.type, nullptr, 0), n) << c.type;
    }
    char tiny[2];
    EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1, tiny, sizeof tiny), 0);
    EXPECT_EQ(GetLocaleStr(LOCALE_USER_DEFAULT, 0x7777, "none"), "none");
}

// The answers a Russian desktop gives, word for word.
TEST(SystemVersion, LocaleAnswersAreARussianDesktops) {
    const struct {
        UINT type;
        const char* value;
    } cases[] = {
        {LOCALE_SSHORTDATE, "dd.MM.yyyy"},
        {LOCALE_SDATE, "."},
        {LOCALE_STIMEFORMAT, "H:mm:ss"},
        {LOCALE_STIME, ":"},
        {LOCALE_SDECIMAL, "."},
        {LOCALE_SMONTHNAME1, "Январь"},
        {LOCALE_SMONTHNAME1 + 2, "Март"},
        {LOCALE_SDAYNAME1, "понедельник"},
        {LOCALE_SABBREVDAYNAME1 + 6, "Вс"},
        {LOCALE_ILANGUAGE, "0419"},
        {LOCALE_IFIRSTDAYOFWEEK, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetLocaleStr(LOCALE_USER_DEFAULT, c.type, "?"), c.value) << c.type;
}

// Dates as a Russian desktop and US English write them with a date picture: a Russian month name
// after the day in the genitive.
TEST(SystemVersion, DatesWrittenWithAPicture) {
    const struct {
        LCID locale;
        const char* picture;
        const char* text;
    } cases[] = {
        {LOCALE_USER_DEFAULT, "dd MMMM", "04 марта"},
        {LOCALE_SYSTEM_DEFAULT, "d MMMM yyyy", "4 марта 2026"},
        {kLocaleRussian, "dd MMMM", "04 марта"},
        {LOCALE_USER_DEFAULT, "dd.MM.yy", "04.03.26"},
        {LOCALE_USER_DEFAULT, "'день' d", "день 4"},
        {kLocaleUsEnglish, "dd MMMM", "04 March"},
        {kLocaleUsEnglish, "MMM d, yyyy", "Mar 4, 2026"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDateFormatStr(c.locale, EncodeDate(2026, 3, 4), c.picture), c.text) << c.picture;
    EXPECT_EQ(GetDateFormatStr(0x0407, EncodeDate(2026, 3, 4), "dd MMMM"), "") << "another locale";
    EXPECT_EQ(GetDateFormatStr(LOCALE_USER_DEFAULT, 1e9, "dd MMMM"), "") << "no date";
}

TEST(NamedCursors, LoadFromTheRegistryWithTheirHotSpot) {
    TApplication::QtApp();
    static const char kXpm[] = "/* XPM */\n"
                               "static const char* c[] = {\n"
                               "\"4 4 2 1\",\n"
                               "\"x c #000000\",\n"
                               "\". c None\",\n"
                               "\"x...\",\n"
                               "\".x..\",\n"
                               "\"..x.\",\n"
                               "\"...x\"};\n";
    RegisterResourceImage("GWTEST_SPLIT", kXpm, sizeof kXpm - 1, TPoint(2, 1));
    HCURSOR h = LoadCursor(HInstance, "gwtest_split");
    ASSERT_NE(h, 0);
    QCursor q = QtCursorOf(h);
    EXPECT_EQ(q.shape(), Qt::BitmapCursor);
    EXPECT_EQ(q.hotSpot(), QPoint(2, 1));
    EXPECT_EQ(q.pixmap().size(), QSize(4, 4));
    EXPECT_EQ(LoadCursor(HInstance, "GWTEST_MISSING"), 0);

    // A screen cursor index can name it; a standard index keeps its shape.
    const TCursor crSplit = 5;
    Screen->SetCursors(crSplit, h);
    EXPECT_EQ(Screen->Cursors(crSplit), h);
    EXPECT_EQ(Screen->Cursors(crIBeam), HCURSOR(crIBeam));
    EXPECT_EQ(QtCursorOf(Screen->Cursors(crIBeam)).shape(), Qt::IBeamCursor);
    EXPECT_EQ(LoadCursor(0, IDC_SIZEWE), HCURSOR(crSizeWE));
    Screen->SetCursors(crSplit, 0);
    EXPECT_TRUE(DestroyCursor(h));
    EXPECT_FALSE(DestroyCursor(h));
    EXPECT_EQ(QtCursorOf(h).shape(), Qt::ArrowCursor);
}

} // namespace
