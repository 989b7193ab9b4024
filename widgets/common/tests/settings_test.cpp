// The settings store, the frame controller's push protocol and the custom colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "Gwsettings.h"
#include "gw_support.h"
#include "registry.h"
#include "tempfolder.h"

namespace {

// Settings files of the test's own (test cases run side by side).
testsupport::TempFolder& Folder() {
    static testsupport::TempFolder folder("gw-settings-");
    return folder;
}

std::string TempIni(const char* Tag) { return Folder().File(std::string(Tag) + ".ini"); }

// A framed control that records what the controller pushes.
class TFramedProbe : public TControl, public IGwFramedControl {
public:
    explicit TFramedProbe(TComponent* Owner) : TControl(Owner) {}
    TGwFrameControllerNotifications Notifications = AllFrameNotifications();
    std::vector<std::pair<TGwFrameControllerProperty, int>> Pushed;
    TGwFrameControllerNotifications FrameControllerNotifications() const override { return Notifications; }
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) override {
        Pushed.emplace_back(Property, Value);
        return true;
    }
    std::vector<TGwFrameControllerProperty> Order() const {
        std::vector<TGwFrameControllerProperty> v;
        for (const auto& p : Pushed)
            v.push_back(p.first);
        return v;
    }
};

class TPullProbe : public TControl, public IGwCustomFramingNotification {
public:
    explicit TPullProbe(TComponent* Owner) : TControl(Owner) {}
    int Calls = 0;
    void CustomFramingChanged() override { ++Calls; }
};

TEST(GwRegIniFile, FreshStoreUsesTheIniBesideTheProgram) {
    TGwRegIniFile r(nullptr);
    EXPECT_EQ(r.Path(), "");
    EXPECT_EQ(r.ReadString("S", "K", "dflt"), "dflt");
    EXPECT_EQ(r.Path(), ChangeFileExt(Application->ExeName(), ".ini"));
}

TEST(GwRegIniFile, ReadsAndWritesTheIniFileAndReopensOnPathChange) {
    const std::string a = TempIni("a"), b = TempIni("b");
    TGwRegIniFile r(nullptr);
    r.SetPath(a);
    r.WriteInteger("Sec", "N", 42);
    r.WriteBool("Sec", "B", true);
    r.WriteString("Sec", "Text", "Привет");
    EXPECT_EQ(r.ReadInteger("Sec", "N", 0), 42);
    EXPECT_TRUE(r.ValueExists("Sec", "B"));
    r.SetPath(b);
    EXPECT_EQ(r.ReadInteger("Sec", "N", 7), 7) << "the other file";
    r.SetPath(a);
    EXPECT_EQ(r.ReadString("Sec", "Text", ""), "Привет");
    TStringList values;
    r.ReadSectionValues("Sec", &values);
    EXPECT_EQ(values.Count(), 3);
    r.EraseSection("Sec");
    EXPECT_FALSE(r.SectionExists("Sec"));
}

TEST(GwRegIniFile, RegistryFormGoesThroughThePlatformStore) {
    std::vector<std::pair<unsigned, std::string>> opened;
    SetGwRegistryStoreFactory([&](unsigned Root, const std::string& Path, unsigned) {
        opened.emplace_back(Root, Path);
        return std::unique_ptr<TCustomIniFile>(new TMemIniFile(TempIni("reg")));
    });
    Application->SetTitle("GwTest");
    TGwRegIniFile r(nullptr);
    r.SetPathType(ptRegistry);
    r.ReadInteger("S", "K", 0);
    EXPECT_EQ(r.Path(), "\\Software\\Temp\\GwTest");
    r.SetRegKey(hkeyLocalMachine);
    r.ReadInteger("S", "K", 0);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].first, 0x80000001u);
    EXPECT_EQ(opened[1].first, 0x80000002u) << "changing the root reopens on the next read";
    SetGwRegistryStoreFactory(GwPlatformRegistryStore());
    Application->SetTitle("");
    EXPECT_EQ(RegAccessMask({keyRead, keyWrite}), 0x2001Fu);
}

TEST(GwRegIniFile, RoundTripThroughThePlatformRegistry) {
    testsupport::TempFolder home("gw-registry-");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    {
        TGwRegIniFile r(nullptr);
        r.SetPathType(ptRegistry);
        r.SetPath("\\Software\\QbxTest");
        TGwFrameController fc(nullptr);
        fc.SetRegIniFile(&r);
        fc.SetFrameStyle(fsLowered);
        fc.SetFrameSides(TSides{sdLeft, sdBottom});
        fc.Save("Framing");
        r.WriteFloat("Numbers", "One", 1.0);
        r.WriteString("Numbers", "Name", "Имя");
    }
    EXPECT_EQ(RegistryStorePath().rfind(home.Path(), 0), 0u) << "the store lies in the test's config folder";
    TGwRegIniFile r(nullptr);
    r.SetPathType(ptRegistry);
    r.SetPath("\\Software\\QbxTest\\");
    TGwFrameController fc(nullptr);
    fc.SetRegIniFile(&r);
    fc.Load("Framing");
    EXPECT_EQ(fc.FrameStyle(), fsLowered);
    EXPECT_EQ(fc.FrameSides(), (TSides{sdLeft, sdBottom}));
    TStringList lines;
    r.ReadSectionValues("Numbers", &lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "One=00 00 00 00 00 00 F0 3F") << "a float is an 8-byte binary value";
    EXPECT_EQ(lines[1], "Name=Имя");
    TStringList framing;
    r.ReadSectionValues("Framing", &framing);
    EXPECT_EQ(framing.Values("FrameStyle"), "4") << "an integer in decimal";
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

// A registry store file with one key, the section "k" under HKEY_CURRENT_USER, in the test's own
// configuration folder for the life of the object.
class TRegistryFile {
public:
    explicit TRegistryFile(const std::string& keyLines) : home_("gw-registry-") {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_CONFIG_HOME", home_.Path().c_str(), 1);
        std::filesystem::create_directories(std::filesystem::path(RegistryStorePath()).parent_path());
        std::ofstream(RegistryStorePath()) << "[HKEY_CURRENT_USER\\k]\n" << keyLines;
    }
    ~TRegistryFile() {
        if (saved_)
            setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

private:
    testsupport::TempFolder home_;
    std::optional<std::string> saved_;
};

struct DefaultValueCase {
    const char* name;
    const char* lines; // the key's values as the store file writes them
    std::vector<std::string> expected;
};
void PrintTo(const DefaultValueCase& c, std::ostream* os) { *os << c.name; }
class GwRegistrySectionValues : public ::testing::TestWithParam<DefaultValueCase> {};

// The key's unnamed value is listed as "Default", read by its own type.
TEST_P(GwRegistrySectionValues, ListTheDefaultValueByItsType) {
    TRegistryFile file(GetParam().lines);
    TGwRegIniFile r(nullptr);
    r.SetPathType(ptRegistry);
    r.SetPath("\\");
    TStringList lines;
    r.ReadSectionValues("k", &lines);
    std::vector<std::string> got;
    for (int i = 0; i < lines.Count(); ++i)
        got.push_back(lines[i]);
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    GwRegIniFile, GwRegistrySectionValues,
    ::testing::Values(DefaultValueCase{"Integer", "@=dword:00000001\n", {"Default=1"}},
                      DefaultValueCase{"String", "@=\"текст\"\n", {"Default=текст"}},
                      DefaultValueCase{"ExpandString", "@=expand:\"%HOME%\"\n", {"Default=%HOME%"}},
                      DefaultValueCase{"Binary", "@=hex:01,ff\n", {"Default=01 FF"}},
                      DefaultValueCase{"BesideNamedValues",
                                       "@=dword:0000002a\n\"n\"=dword:00000005\n",
                                       {"Default=42", "n=5"}}),
    [](const ::testing::TestParamInfo<DefaultValueCase>& i) { return std::string(i.param.name); });

TEST(GwFrameController, AddingTwicePushesOnceInTheFixedOrder) {
    TGwFrameController fc(nullptr);
    TFramedProbe c(nullptr);
    fc.AddControl(&c);
    fc.AddControl(&c);
    EXPECT_EQ(fc.ControlCount(), 1);
    const std::vector<TGwFrameControllerProperty> order = {
        fcpParentColor,          fcpColor,         fcpDisabledColor,   fcpReadOnlyColor,
        fcpReadOnlyColorOnFocus, fcpFocusColor,    fcpFlatButtonColor, fcpFlatButtons,
        fcpFrameColor,           fcpFrameHotColor, fcpFrameHotTrack,   fcpFrameHotStyle,
        fcpFrameSides,           fcpFrameStyle,    fcpFrameVisible,    fcpFramingPreference};
    EXPECT_EQ(c.Order(), order);
    EXPECT_EQ(c.Pushed[12].second, 15) << "all four sides";
    fc.RemoveControl(&c);
    EXPECT_EQ(fc.ControlCount(), 0);
}

TEST(GwFrameController, UpdatesWaitForTheLastEndUpdate) {
    TGwFrameController fc(nullptr);
    TFramedProbe c(nullptr);
    fc.AddControl(&c);
    c.Pushed.clear();
    fc.BeginUpdate();
    fc.BeginUpdate();
    fc.SetFrameColor(clRed);
    fc.EndUpdate();
    EXPECT_TRUE(c.Pushed.empty());
    fc.EndUpdate();
    EXPECT_EQ(c.Pushed.size(), 16u);
    c.Pushed.clear();
    fc.EndUpdate();
    EXPECT_EQ(c.Pushed.size(), 16u) << "an unmatched EndUpdate pushes everything";
}

TEST(GwFrameController, NotificationsChooseWhatAControlTakes) {
    TGwFrameController fc(nullptr);
    TFramedProbe c(nullptr);
    c.Notifications >> fcpFrameColor;
    fc.AddControl(&c);
    c.Pushed.clear();
    fc.SetFrameColor(clRed);
    fc.SetFrameStyle(fsLowered);
    ASSERT_EQ(c.Pushed.size(), 1u);
    EXPECT_EQ(c.Pushed[0], std::make_pair(fcpFrameStyle, int(fsLowered)));
}

TEST(GwFrameController, PullingControlsAreToldOfEveryChange) {
    TGwFrameController fc(nullptr);
    TPullProbe c(nullptr);
    fc.AddControl(&c);
    fc.SetFocusColor(clRed);
    fc.SetFrameVisible(true);
    EXPECT_EQ(c.Calls, 3);
}

TEST(GwFrameController, ColourFollowRules) {
    TGwFrameController fc(nullptr);
    TFramedProbe c(nullptr);
    fc.AddControl(&c);
    c.Pushed.clear();
    fc.SetColor(clBtnFace);
    EXPECT_EQ(fc.FocusColor(), clBtnFace) << "focus colour followed the colour";
    ASSERT_EQ(c.Pushed.size(), 1u);
    EXPECT_EQ(c.Pushed[0].first, fcpColor);
    c.Pushed.clear();
    fc.SetParentColor(true);
    fc.SetParentColor(false);
    EXPECT_EQ(c.Order(), (std::vector{fcpParentColor, fcpParentColor, fcpColor}));
    fc.SetParentColor(true);
    TFramedProbe d(nullptr);
    fc.AddControl(&d);
    EXPECT_EQ(d.Order()[0], fcpParentColor);
    EXPECT_NE(d.Order()[1], fcpColor) << "a parent-coloured controller does not push its colour";
}

TEST(GwFrameController, HotTrackingShowsTheFrameOnAllSides) {
    TGwFrameController fc(nullptr);
    fc.SetFrameSides(TSides{sdTop});
    fc.SetFrameHotTrack(true);
    EXPECT_TRUE(fc.FrameVisible());
    EXPECT_EQ(fc.FrameSides(), AllSides);
    TGwFrameController old(nullptr);
    old.ReadFrameFlat(true);
    EXPECT_TRUE(old.FrameHotTrack());
    EXPECT_EQ(old.FrameStyle(), fsStatus);
    EXPECT_EQ(old.FrameHotStyle(), fsLowered);
}

TEST(GwFrameController, LoadAndSaveThroughTheStore) {
    TGwFrameController fc(nullptr);
    EXPECT_THROW(fc.Load("Frame"), ENoRegIniFile);
    TGwRegIniFile r(nullptr);
    const std::string path = TempIni("fc");
    r.SetPath(path);
    fc.SetRegIniFile(&r);
    fc.SetFrameStyle(fsGroove);
    fc.SetFrameSides(TSides{sdLeft, sdBottom});
    fc.SetFocusColor(clYellow);
    fc.Save("Frame");
    EXPECT_FALSE(r.ReadBool("Frame", "FrameSides_Top", true));
    TGwFrameController back(nullptr);
    back.SetRegIniFile(&r);
    TFramedProbe c(nullptr);
    back.AddControl(&c);
    c.Pushed.clear();
    back.Load("Frame");
    EXPECT_EQ(back.FrameStyle(), fsGroove);
    EXPECT_EQ(back.FrameSides(), (TSides{sdLeft, sdBottom}));
    EXPECT_EQ(back.FocusColor(), clYellow);
    EXPECT_EQ(c.Pushed.size(), 16u) << "loaded settings reach the control once";
}

TEST(GwCustomColors, SixteenWhiteColoursToStart) {
    TGwCustomColors cc(nullptr);
    ASSERT_EQ(cc.Colors()->Count(), 16);
    EXPECT_EQ(cc.Colors()->Get(0), "ColorA=FFFFFF");
    EXPECT_EQ(cc.Colors()->Get(15), "ColorP=FFFFFF");
    EXPECT_EQ(cc.GetColorName(1), "ColorB");
}

TEST(GwCustomColors, ValuesBecomeSixUpperCaseHexDigits) {
    TGwCustomColors cc(nullptr);
    TStringList v;
    v.Add("ColorA=ff");
    v.Add("ColorB=1234567");
    v.Add("ColorC=abcdef");
    cc.SetColors(&v);
    EXPECT_EQ(cc.Colors()->Get(0), "ColorA=0000FF");
    EXPECT_EQ(cc.Colors()->Get(1), "ColorB=234567");
    EXPECT_EQ(cc.Colors()->Get(2), "ColorC=ABCDEF");
}

TEST(GwCustomColors, SaveAndLoad) {
    TGwCustomColors cc(nullptr);
    EXPECT_THROW(cc.Save("Colors"), ENoRegIniFile);
    TGwRegIniFile r(nullptr);
    const std::string path = TempIni("cc");
    r.SetPath(path);
    cc.SetRegIniFile(&r);
    TStringList v;
    v.Add("ColorA=00ff00");
    cc.SetColors(&v);
    cc.Save("Colors");
    TGwCustomColors back(nullptr);
    back.SetRegIniFile(&r);
    back.Load("Colors");
    ASSERT_EQ(back.Colors()->Count(), 1);
    EXPECT_EQ(back.Colors()->Get(0), "ColorA=00FF00");
}

TEST(GwCustomColors, ForgetsARemovedStore) {
    TGwCustomColors cc(nullptr);
    {
        TGwRegIniFile r(nullptr);
        cc.SetRegIniFile(&r);
    }
    EXPECT_EQ(cc.RegIniFile(), nullptr);
}

} // namespace

namespace {

TEST(GwDialogComponent, CentringOnTheParentPlacesOverTheOwnerForm) {
    TApplication::QtApp();
    TGwDialogComponent d(nullptr);
    EXPECT_EQ(d.Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(d.Font()->Size(), 8);
    EXPECT_EQ(d.Position, poScreenCenter);
    d.SetCenterToParent(true);
    EXPECT_EQ(d.Position, poOwnerFormCenter);
    TForm f(nullptr);
    d.CenterForm(&f);
    EXPECT_EQ(f.Position(), poOwnerFormCenter);
}

} // namespace
