// Common utilities: strings, names, centring, version tests, calendar steps.
#include <gtest/gtest.h>

#include "Gwutils.h"
#include "gw_support.h"
#include "wingdi.h"

namespace {

TEST(GwUtils, LastCharOfEmptyTextIsNul) {
    EXPECT_EQ(LastChar(""), '\0');
    EXPECT_EQ(LastChar("ab"), 'b');
}

TEST(GwUtils, StringRoutines) {
    EXPECT_EQ(CountChar('\\', "C:\\a\\b\\c"), 3);
    EXPECT_EQ(CountChar('x', ""), 0);
    EXPECT_EQ(CopyEx("C:\\a\\b\\c", 1, '\\', 2), "C:\\a\\");
    EXPECT_EQ(CopyEx("C:\\a\\b\\c", 1, '\\', 4), "C:\\a\\b\\c");
    EXPECT_EQ(CopyEx("C:\\a\\b\\c", 4, '\\', 1), "a\\");
    EXPECT_EQ(CopyEx("abc", 9, 'b', 1), "abc");
    std::string s = "a-b-c";
    EXPECT_TRUE(RemoveChar(s, '-'));
    EXPECT_EQ(s, "ab-c");
    EXPECT_FALSE(RemoveChar(s, '+'));
    EXPECT_EQ(RemovePrefixChars("&Файл"), "Файл");
    EXPECT_EQ(RemovePrefixChars("A&&B"), "A&B");
    EXPECT_EQ(RemovePrefixChars("Save&"), "Save&");
}

TEST(GwUtils, IdentifiersAndNames) {
    EXPECT_EQ(CreateValidIdent("1st item", "X"), "stitem");
    EXPECT_EQ(CreateValidIdent("!?.,", "Default"), "Default");
    EXPECT_EQ(CreateValidIdent("", "D"), "D");
    EXPECT_EQ(CreateValidIdent("_ok9", "D"), "_ok9");
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Panel");
    auto* b = new TComponent(&owner);
    b->SetName("Panel1");
    EXPECT_EQ(GetNewComponentName(&owner, "Panel", true), "Panel2");
    EXPECT_EQ(GetNewComponentName(&owner, "Edit", true), "Edit");
    EXPECT_EQ(GetNewComponentName(&owner, "Edit", false), "Edit1");
}

TEST(GwUtils, CenterRectRoundsTowardZero) {
    EXPECT_EQ(CenterRect(TRect(0, 0, 11, 11), 4, 4), TRect(3, 3, 7, 7));
    EXPECT_EQ(CenterRect(TRect(-10, -10, 0, 0), 3, 3), TRect(-6, -6, -3, -3));
}

struct TVersionCase {
    const char* Name;
    DWORD Platform, Major, Minor;
    TGwWindowsVersion V;
    bool AtLeast;
};

// Cases print as their names in test lists.
void PrintTo(const TVersionCase& c, std::ostream* os) { *os << c.Name; }

class RunningAtLeastTable : public ::testing::TestWithParam<TVersionCase> {};

TEST_P(RunningAtLeastTable, ComparesMajorAndMinorAsAPair) {
    const TVersionCase& c = GetParam();
    const TPlatformVersion v{c.Platform, c.Major, c.Minor, 0, "", 6, 0};
    EXPECT_EQ(RunningAtLeast(c.V, v), c.AtLeast);
}

INSTANTIATE_TEST_SUITE_P(Versions, RunningAtLeastTable,
                         ::testing::Values(TVersionCase{"Vista_XP", 2, 6, 0, WinXP, true},
                                           TVersionCase{"Seven_XP", 2, 6, 1, WinXP, true},
                                           TVersionCase{"W2000_98", 2, 5, 0, Win98, true},
                                           TVersionCase{"W2000_XP", 2, 5, 0, WinXP, false},
                                           TVersionCase{"XP_2003", 2, 5, 1, WinServer2003, false},
                                           TVersionCase{"Seven_Vista", 2, 6, 1, WinVista, true},
                                           TVersionCase{"Ninety8_NT", 1, 4, 10, WinNT, false},
                                           TVersionCase{"Ninety5_98", 1, 4, 0, Win98, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwUtils, ThePlatformIsWindowsSevenOnly) {
    EXPECT_TRUE(RunningAtLeast(WinVista));
    EXPECT_TRUE(RunningAtLeast(WinXP));
    for (TGwWindowsVersion v : {Win95, WinNT, Win98, WinMe, Win2000, WinXP, WinServer2003, WinVista})
        EXPECT_FALSE(RunningUnder(v)) << int(v);
    EXPECT_TRUE(RunningUnder(WinXP, TPlatformVersion{2, 5, 1, 0, "", 6, 0}));
}

TEST(GwUtils, IsoWeeks) {
    EXPECT_EQ(WeekOf(EncodeDate(2005, 1, 1)), 53);
    EXPECT_EQ(WeekOf(EncodeDate(2008, 12, 31)), 1);
    for (int y = 1999; y <= 2030; ++y)
        EXPECT_EQ(WeekOf(EncodeDate(y, 1, 4)), 1) << y;
    EXPECT_EQ(WeekOf(EncodeDate(2026, 12, 10)), 50);
}

TEST(GwUtils, CalendarSteps) {
    const TDateTime d = EncodeDate(2026, 3, 1) + EncodeTime(0, 30, 0, 0);
    const TDateTime back = IncHour(d, -1);
    unsigned short y, m, dd, h, mi, s, ms;
    DecodeDate(back, y, m, dd);
    DecodeTime(back, h, mi, s, ms);
    EXPECT_EQ(dd, 28);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(mi, 30);
    EXPECT_DOUBLE_EQ(IncDay(d, 2), d + 2);
    EXPECT_NEAR(IncMinute(d, 90), d + 1.5 / 24, 1e-9);
    EXPECT_DOUBLE_EQ(IncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
}

TEST(GwUtils, EnvironmentReferences) {
    setenv("GW_TEST_VAR", "value", 1);
    EXPECT_EQ(ExpandEnvironmentVariables("a %GW_TEST_VAR% b"), "a value b");
    EXPECT_EQ(ExpandEnvironmentVariables("%GW_NO_SUCH_VAR%"), "%GW_NO_SUCH_VAR%");
    EXPECT_EQ(ExpandEnvironmentVariables("100%"), "100%");
}

} // namespace

namespace {

TEST(GwUtils, MonitorsAndCentring) {
    TApplication::QtApp();
    SetMonitorLayout({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)},
                      {TRect(800, 0, 1824, 768), TRect(800, 0, 1824, 768)}});
    EXPECT_EQ(GetMonitorContainingPoint(TPoint(900, 10))->MonitorNum(), 1);
    EXPECT_EQ(GetMonitorContainingPoint(TPoint(-5, 10)), nullptr);
    EXPECT_EQ(GetDesktopClientRect(), TRect(0, 0, 800, 600));
    EXPECT_EQ(GetMonitorWorkArea(Screen->Monitors(0)), TRect(0, 0, 800, 560));
    TForm owner(nullptr);
    owner.SetBounds(100, 400, 200, 150);
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 300, 200);
    int x = 0, y = 0;
    CenterToForm(&dialog, &owner, x, y);
    EXPECT_EQ(x, 100 + (200 - 300) / 2);
    EXPECT_EQ(y, 560 - 200) << "kept inside the work area";
    SetMonitorLayout({});
}

} // namespace

TEST(GwUtils, RotatedFontKeepsTheLookAndTurns) {
    TApplication::QtApp();
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-13);
    font.SetStyle(TFontStyles{fsBold, fsUnderline});
    font.SetPitch(fpVariable);
    HFONT h = RotateFont(&font, 90);
    LOGFONT lf;
    ASSERT_EQ(GetObject(h, sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfPitchAndFamily, VARIABLE_PITCH);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    font.SetHandle(h); // the font owns it now
}

struct TGlyphCase {
    const char* Name;
    int Width;
    TGwGlyphCells Cells;
    int Count, Image, Disabled;
};
void PrintTo(const TGlyphCase& c, std::ostream* os) { *os << c.Name; }

class GlyphToImageList : public ::testing::TestWithParam<TGlyphCase> {};

TEST_P(GlyphToImageList, AddsTheCellsAndMasksByTheCornerPixel) {
    const TGlyphCase& c = GetParam();
    TPaper glyph(c.Width, 16);
    glyph.Fill(clLime);
    glyph.Canvas()->SetPixel(3, 3, clRed);
    TImageList list(nullptr);
    int image = 7, disabled = 7;
    AddImageToImageList(&list, glyph.Bitmap(), c.Cells, image, disabled);
    EXPECT_EQ(list.Count(), c.Count);
    EXPECT_EQ(image, c.Image);
    EXPECT_EQ(disabled, c.Disabled);
    TPaper out(16, 16);
    list.Draw(out.Canvas(), 0, 0, image);
    EXPECT_EQ(out.Row(3, 2, 3), "FFFFFF 0000FF") << "the corner pixel's colour is see-through";
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, GlyphToImageList,
    ::testing::Values(TGlyphCase{"Square", 16, TGwGlyphCells::NormalOnly, 1, 0, -1},
                      TGlyphCase{"StripWithDisabledCell", 32, TGwGlyphCells::NormalAndDisabled, 2, 0, 1},
                      TGlyphCase{"FirstCellOfAStrip", 48, TGwGlyphCells::NormalOnly, 1, 0, -1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwUtils, NoListOrNoGlyphAddsNothing) {
    TPaper glyph(16, 16);
    TImageList list(nullptr);
    int image = 7, disabled = 7;
    AddImageToImageList(nullptr, glyph.Bitmap(), TGwGlyphCells::NormalOnly, image, disabled);
    EXPECT_EQ(image, -1);
    EXPECT_EQ(disabled, -1);
    AddImageToImageList(&list, nullptr, TGwGlyphCells::NormalOnly, image, disabled);
    EXPECT_EQ(list.Count(), 0);
}
