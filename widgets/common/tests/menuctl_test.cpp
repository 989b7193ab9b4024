// The menu controller: which items it hooks and gives back, item sizes, the painted look, old
// form properties, and the desktop's hidden-prefix preference read from the registry.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Gwmenuctl.h"
#include "forms.h"
#include "gw_support.h"
#include "registry.h"
#include "tempfolder.h"

namespace {

// A form with a main menu: "File" on the bar holding "Open" and a separator.
struct TMenuFixture {
    TForm Form{(TApplication::QtApp(), nullptr)};
    TMainMenu* Menu = new TMainMenu(&Form);
    TMenuItem* File = new TMenuItem(&Form);
    TMenuItem* Open = new TMenuItem(&Form);
    TMenuItem* Line = new TMenuItem(&Form);
    TMenuFixture() {
        File->SetCaption("&File");
        Open->SetCaption("&Open");
        Line->SetCaption("-");
        Menu->Items()->Add(File);
        File->Add(Open);
        File->Add(Line);
    }
};

TEST(GwMenuController, HooksItemsWithoutHandlersAndGivesThemBack) {
    TMenuFixture f;
    f.Open->OnAdvancedDrawItem = [](TObject*, TCanvas*, TRect, TOwnerDrawState) {};
    auto* mc = new TGwMenuController(&f.Form);
    mc->Loaded();
    EXPECT_EQ(mc->HookedCount(), 2) << "File and the separator; Open draws itself";
    EXPECT_TRUE(f.File->OnMeasureItem);
    // A component announces itself to its owner while it is not yet a menu item, so an item made
    // later is hooked when it is inserted.
    auto* later = new TMenuItem(nullptr);
    f.Form.InsertComponent(later);
    EXPECT_EQ(mc->HookedCount(), 3) << "an item inserted afterwards is hooked";
    f.Form.RemoveComponent(later);
    EXPECT_EQ(mc->HookedCount(), 2);
    EXPECT_FALSE(later->OnAdvancedDrawItem) << "an item taken away is given back";
    f.Form.InsertComponent(later);
    delete later;
    EXPECT_EQ(mc->HookedCount(), 2) << "a freed item is let go";
    mc->CleanupMenuItem(f.Open);
    EXPECT_TRUE(f.Open->OnAdvancedDrawItem) << "an item it never hooked keeps its handler";
    delete mc;
    EXPECT_FALSE(f.File->OnAdvancedDrawItem);
    EXPECT_FALSE(f.Line->OnMeasureItem);
}

struct TSizeCase {
    const char* Name;
    bool Bar, Separator, Images;
    int Width, Height; // from 100 x 0
};
void PrintTo(const TSizeCase& c, std::ostream* os) { *os << c.Name; }

class MenuItemSize : public ::testing::TestWithParam<TSizeCase> {};

TEST_P(MenuItemSize, ByKindAndImages) {
    const TSizeCase& c = GetParam();
    TMenuFixture f;
    TImageList images(nullptr);
    images.SetHeight(20);
    if (c.Images)
        f.Menu->SetImages(&images);
    TGwMenuController mc(nullptr);
    TMenuItem* item = c.Bar ? f.File : c.Separator ? f.Line : f.Open;
    int w = 100, h = 0;
    mc.MeasureMenuItem(item, nullptr, w, h);
    EXPECT_EQ(w, c.Width);
    EXPECT_EQ(h, c.Height);
    f.Menu->SetImages(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MenuItemSize,
                         ::testing::Values(TSizeCase{"DropDown", false, false, false, 131, 22},
                                           TSizeCase{"DropDownWithImages", false, false, true, 100, 26},
                                           TSizeCase{"Separator", false, true, false, 131, 3},
                                           TSizeCase{"OnTheBar", true, false, false, 100, 22}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwMenuController, PaintsIconBarTextAreaSelectionAndSeparator) {
    TMenuFixture f;
    TGwMenuController mc(nullptr);
    mc.GradientColorStyle = gcsCustom;
    mc.IconBarColorStart = mc.IconBarColorStop = clYellow;
    mc.SelectionColorStart = mc.SelectionColorStop = clLime;
    mc.SelectionFrameColor = clRed;
    mc.MenuColor = clAqua;
    const TRect r(0, 0, 120, 22);
    TPaper plain(120, 22);
    mc.PaintMenuItem(f.Open, plain.Canvas(), r, TOwnerDrawState{});
    EXPECT_EQ(plain.Row(21, 22, 25), "00FFFF 00FFFF FFFF00 FFFF00")
        << "24-pixel icon bar, then the menu colour";
    TPaper selected(120, 22);
    mc.PaintMenuItem(f.Open, selected.Canvas(), r, TOwnerDrawState{odSelected});
    EXPECT_EQ(selected.Row(21, 0, 1), "0000FF 0000FF") << "the frame's bottom";
    EXPECT_EQ(selected.Row(1, 0, 2), "0000FF 00FF00 00FF00") << "the frame, then the selection";
    TPaper line(120, 3);
    mc.PaintMenuItem(f.Line, line.Canvas(), TRect(0, 0, 120, 3), TOwnerDrawState{});
    EXPECT_EQ(line.Row(1, 29, 31), "FFFF00 808080 808080") << "the line starts 6 pixels into the text area";
}

TEST(GwMenuController, OldFormPropertiesMapToTheSelectionColours) {
    TGwMenuController mc(nullptr);
    EXPECT_TRUE(mc.ReadOldProperty("GradientColorStart", "clRed"));
    EXPECT_TRUE(mc.ReadOldProperty("FrameColor", "65280"));
    EXPECT_TRUE(mc.ReadOldProperty("ThemeAware", "True"));
    EXPECT_FALSE(mc.ReadOldProperty("Colour", "clRed"));
    EXPECT_EQ(mc.SelectionColorStart, clRed);
    EXPECT_EQ(mc.SelectionFrameColor, clLime);
    EXPECT_EQ(mc.SelectionColorStop, clBtnShadow);
}

struct TPrefixCase {
    const char* Name;
    int Bytes; // 0: no value
    unsigned char First;
    bool Hidden;
};
void PrintTo(const TPrefixCase& c, std::ostream* os) { *os << c.Name; }

class MenuPrefix : public ::testing::TestWithParam<TPrefixCase> {};

TEST_P(MenuPrefix, FollowsTheDesktopPreference) {
    const TPrefixCase& c = GetParam();
    testsupport::TempFolder home("gw-menuprefix-");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    if (c.Bytes > 0) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\Control Panel\\Desktop", true));
        unsigned char mask[9] = {c.First};
        reg.WriteBinaryData("UserPreferencesMask", mask, c.Bytes);
    }
    EXPECT_EQ(HideMenuPrefix(), c.Hidden);
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

// The platform reports Windows 7, so the mask is eight bytes long.
INSTANTIATE_TEST_SUITE_P(Masks, MenuPrefix,
                         ::testing::Values(TPrefixCase{"CuesHidden", 8, 0x9E, true},
                                           TPrefixCase{"CuesShown", 8, 0xBE, false},
                                           TPrefixCase{"ShortValue", 4, 0x00, false},
                                           TPrefixCase{"LongValue", 9, 0x00, false},
                                           TPrefixCase{"NoValue", 0, 0x00, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
