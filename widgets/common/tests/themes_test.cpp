// Theme services over the visual-styles table: classic look in the program, a recording table
// that reports styles active, the element/part/state numbering, theme changes, the binding count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gwthemesrv.h"
#include "Gwtmschema.h"
#include "forms.h"

namespace {

struct TCall {
    std::string Name;
    std::wstring Class;
    int Part = 0, State = 0;
};
std::vector<TCall> gCalls;
bool gActive = true;
DWORD gAppProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
int gOpen = 0;

HTHEME RecOpen(HWND, const wchar_t* cls) {
    ++gOpen;
    gCalls.push_back({"OpenThemeData", cls});
    return reinterpret_cast<HTHEME>(intptr_t(gOpen));
}
HRESULT RecClose(HTHEME) {
    gCalls.push_back({"CloseThemeData", {}, 0, 0});
    return S_OK;
}
HRESULT RecBackground(HTHEME, HDC, int part, int state, const TRect*, const TRect*) {
    gCalls.push_back({"DrawThemeBackground", {}, part, state});
    return S_OK;
}
COLORREF RecSysColor(HTHEME, int index) { return COLORREF(0x010000 + index); }
BOOL RecActive() { return gActive; }
DWORD RecAppProperties() { return gAppProperties; }

void InstallRecordingTable() {
    SetVisualStylesTable(
        {VisualStylesEntry("OpenThemeData", &RecOpen), VisualStylesEntry("CloseThemeData", &RecClose),
         VisualStylesEntry("DrawThemeBackground", &RecBackground),
         VisualStylesEntry("GetThemeSysColor", &RecSysColor), VisualStylesEntry("IsThemeActive", &RecActive),
         VisualStylesEntry("IsAppThemed", &RecActive),
         VisualStylesEntry("GetThemeAppProperties", &RecAppProperties)});
}

class Themes : public ::testing::Test {
protected:
    void TearDown() override {
        FreeThemeServices();
        SetVisualStylesTable({});
        gCalls.clear();
        gActive = true;
        gAppProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
    }
};

TEST_F(Themes, TheProgramDrawsTheClassicLook) {
    EXPECT_EQ(LoadLibrary("uxtheme.dll"), nullptr);
    TThemeServices* t = ThemeServices();
    EXPECT_FALSE(t->ThemesAvailable());
    EXPECT_FALSE(t->ThemesEnabled());
    EXPECT_EQ(t->GetTheme(teButton), nullptr);
    EXPECT_EQ(t->ColorToRGB(clBtnFace), clBtnFace);
}

TEST_F(Themes, ARecordingTableIsAskedForTheElementPartAndState) {
    InstallRecordingTable();
    TThemeServices* t = ThemeServices();
    ASSERT_TRUE(t->ThemesEnabled());
    TBitmap b;
    b.SetWidth(10);
    b.SetHeight(10);
    t->DrawElement(b.Canvas(), t->GetElementDetails(tbCheckBoxCheckedNormal), Rect(0, 0, 10, 10));
    t->DrawElement(b.Canvas(), t->GetElementDetails(tbCheckBoxMixedDisabled), Rect(0, 0, 10, 10));
    ASSERT_EQ(gCalls.size(), 3u);
    EXPECT_EQ(gCalls[0].Name, "OpenThemeData");
    EXPECT_EQ(gCalls[0].Class, L"button");
    EXPECT_EQ(gCalls[1].Part, BP_CHECKBOX);
    EXPECT_EQ(gCalls[1].State, CBS_CHECKEDNORMAL);
    EXPECT_EQ(gCalls[2].State, 12);
    // A system colour goes through the element's theme; a plain one and one without details stay.
    TThemedElementDetails edit = t->GetElementDetails(teEditTextNormal);
    EXPECT_EQ(t->ColorToRGB(clWindow, &edit), TColor(0x010000 + 5));
    EXPECT_EQ(t->ColorToRGB(clRed, &edit), clRed);
    EXPECT_EQ(t->ColorToRGB(clWindow), clWindow);
}

TEST_F(Themes, ThemesNeedTheActiveThemeAndControlsAllowed) {
    InstallRecordingTable();
    gAppProperties = STAP_ALLOW_NONCLIENT;
    EXPECT_FALSE(ThemeServices()->ThemesEnabled());
    EXPECT_TRUE(ThemeServices()->UseThemes());
    FreeThemeServices();
    gAppProperties = STAP_ALLOW_CONTROLS;
    gActive = false;
    EXPECT_FALSE(ThemeServices()->ThemesEnabled());
    EXPECT_TRUE(ThemeServices()->ThemesAvailable());
}

TEST_F(Themes, AThemeChangeClosesTheDataAndTellsAfterwards) {
    TApplication::QtApp();
    InstallRecordingTable();
    TForm form(nullptr);
    TThemeServices t(form.Handle());
    bool enabledWhenTold = true;
    t.OnThemeChange = [&](TObject*) { enabledWhenTold = t.ThemesEnabled(); };
    t.GetTheme(teEdit);
    gCalls.clear();
    gActive = false;
    form.Perform(WM_THEMECHANGED);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].Name, "CloseThemeData");
    EXPECT_FALSE(enabledWhenTold);
    EXPECT_EQ(t.GetTheme(teEdit), nullptr);
}

TEST_F(Themes, TheBindingCountsItsLoads) {
    InstallRecordingTable();
    EXPECT_TRUE(InitThemeLibrary());
    EXPECT_TRUE(InitThemeLibrary());
    FreeThemeLibrary();
    EXPECT_NE(ThemeLibrary(), nullptr);
    EXPECT_NE(ThemeFunction(0), nullptr); // OpenThemeData
    EXPECT_EQ(ThemeFunction(5), nullptr); // GetThemeBackgroundExtent: not in the table
    FreeThemeLibrary();
    EXPECT_EQ(ThemeLibrary(), nullptr);
    EXPECT_EQ(ThemeFunction(0), nullptr);
    EXPECT_EQ(OpenThemeData, nullptr);
}

struct TNumbering {
    const char* Name;
    TThemedElementDetails Got;
    TThemedElement Element;
    int Part, State;
};

void PrintTo(const TNumbering& n, std::ostream* os) { *os << n.Name; }

class ElementNumbering : public ::testing::TestWithParam<TNumbering> {};

TEST_P(ElementNumbering, RunsArePartsAndPlacesAreStates) {
    const TNumbering& n = GetParam();
    EXPECT_EQ(n.Got.Element, n.Element);
    EXPECT_EQ(n.Got.Part, n.Part);
    EXPECT_EQ(n.Got.State, n.State);
}

#define NUM(x, e, p, s)                                                                                      \
    TNumbering { #x, TThemeServices::GetElementDetails(x), e, p, s }
INSTANTIATE_TEST_SUITE_P(
    Themes, ElementNumbering,
    ::testing::Values(NUM(tbButtonDontCare, teButton, 0, 1), NUM(tbButtonRoot, teButton, 0, 2),
                      NUM(tbPushButtonNormal, teButton, 1, 1), NUM(tbPushButtonDefaulted, teButton, 1, 5),
                      NUM(tbRadioButtonUncheckedNormal, teButton, 2, 1),
                      NUM(tbCheckBoxUncheckedNormal, teButton, 3, 1),
                      NUM(tbCheckBoxMixedDisabled, teButton, 3, 12), NUM(tbGroupBoxDisabled, teButton, 4, 2),
                      NUM(tbUserButton, teButton, 5, 1), NUM(teEditTextNormal, teEdit, 1, 1),
                      NUM(teEditTextDisabled, teEdit, 1, 4), NUM(teEditCaret, teEdit, 2, 1),
                      NUM(tcDropDownButtonPressed, teComboBox, 1, 3), NUM(thHeaderItemHot, teHeader, 1, 2),
                      NUM(tsUpHorzDisabled, teSpin, 3, 4), NUM(ttbButtonChecked, teToolBar, 1, 5),
                      NUM(tpChunkVert, teProgress, 4, 1), NUM(tsGripperVertHot, teScrollBar, 9, 2),
                      NUM(ttTopTabItemSelected, teTab, 5, 3), NUM(twVertThumbDisabled, teWindow, 28, 4)),
    [](const ::testing::TestParamInfo<TNumbering>& i) { return std::string(i.param.Name); });

} // namespace
