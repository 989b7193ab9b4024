// The colour combo box: the entries shown, selection of colours in and out of the list, renaming
// that survives a new window, custom colours in the settings store and from the colour dialog, and
// the swatch as the closed box draws it. The font combo box: faces by type, recently chosen faces
// on top, the preview beside the open list.
#include <gtest/gtest.h>

#include "Gwcmbobx.h"
#include "gw_support.h"
#include "screenkit.h"
#include "sysinfo.h"
#include "tempfolder.h"

namespace {

class GwColorCombo : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        Combo = new TGwColorComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 160, 21);
        Combo->HandleNeeded();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TGwColorComboBox* Combo = nullptr;
};

struct ShownCase {
    const char* Name;
    bool Default, Sys, Custom;
    int Count;
    const char* First;
    const char* Last;
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.Name; }

class GwColorComboShown : public GwColorCombo, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(GwColorComboShown, ListsTheChosenEntries) {
    const ShownCase& c = GetParam();
    Combo->SetShowDefaultColor(c.Default);
    Combo->SetShowSysColors(c.Sys);
    Combo->SetShowCustomColor(c.Custom);
    ASSERT_EQ(Combo->Items()->Count(), c.Count);
    EXPECT_EQ(Combo->Items()->Get(0), c.First);
    EXPECT_EQ(Combo->Items()->Get(c.Count - 1), c.Last);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwColorComboShown,
                         ::testing::Values(ShownCase{"Everything", true, true, true, 43, "Default", "Custom"},
                                           ShownCase{"NoDefault", false, true, true, 42, "Black", "Custom"},
                                           ShownCase{"NoSystem", true, false, true, 18, "Default", "Custom"},
                                           ShownCase{"StandardOnly", false, false, false, 16, "Black",
                                                     "White"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwColorCombo, AColourNotListedBecomesTheCustomEntry) {
    int changes = 0;
    Combo->OnChange = [&](TObject*) { ++changes; };
    Combo->SetSelectedColor(clRed);
    EXPECT_EQ(Combo->Text(), "Red");
    Combo->SetSelectedColor(clBtnFace);
    EXPECT_EQ(Combo->Text(), "BtnFace");
    Combo->SetSelectedColor(TColor(0x123456));
    EXPECT_EQ(Combo->ItemIndex(), Combo->Items()->Count() - 1);
    EXPECT_EQ(Combo->CustomColor(), TColor(0x123456));
    EXPECT_EQ(Combo->SelectedColor(), TColor(0x123456));
    EXPECT_EQ(changes, 3);
    // The closed box shows the custom colour in its swatch.
    TBitmap img;
    screenkit::Native(Combo, img);
    int swatch = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            swatch += img.Canvas()->GetPixel(x, y) == TColor(0x123456);
    EXPECT_GE(swatch, 12 * 8);
}

TEST_F(GwColorCombo, WithoutDefaultTheFirstIsBlackAndNoSelectionIsTheDefaultColour) {
    Combo->SetShowDefaultColor(false);
    Combo->SetDefaultColor(clAqua);
    Combo->SetItemIndex(-1);
    EXPECT_EQ(Combo->Items()->Get(0), "Black");
    EXPECT_EQ(Combo->SelectedColor(), clAqua);
}

TEST_F(GwColorCombo, ARenamedEntryChangesAtOnceAndSurvivesANewWindow) {
    Combo->SetSelectedColor(clRed);
    Combo->ColorNames()->SetStdColor(9, "Красный");
    Combo->ColorNames()->SetSysColor(15, "Кнопка");
    EXPECT_EQ(Combo->Text(), "Красный");
    EXPECT_EQ(Combo->Items()->Get(1 + 16 + 15), "Кнопка");
    Combo->RecreateWnd();
    Combo->HandleNeeded();
    EXPECT_EQ(Combo->Items()->Get(1 + 9), "Красный");
    EXPECT_EQ(Combo->Text(), "Красный");
}

TEST_F(GwColorCombo, CustomColoursGoThroughTheSettingsStore) {
    EXPECT_THROW(Combo->SaveCustomColors("Colors"), ENoRegIniFile);
    try {
        Combo->LoadCustomColors("Colors");
        FAIL();
    } catch (const ENoRegIniFile& e) {
        EXPECT_EQ(e.Message, "Cannot load Custom Colors--No TGwRegIniFile component specified");
    }
    testsupport::TempFolder dir;
    auto* store = new TGwRegIniFile(Form);
    store->SetPath(dir.File("gw.ini"));
    Combo->SetRegIniFile(store);
    Combo->CustomColors()->Add("ColorA=ff");
    Combo->CustomColors()->Add("ColorB=1abcdef");
    Combo->SaveCustomColors("Colors");
    Combo->CustomColors()->Clear();
    Combo->LoadCustomColors("Colors");
    ASSERT_EQ(Combo->CustomColors()->Count(), 2);
    EXPECT_EQ(Combo->CustomColors()->Get(0), "ColorA=0000FF");
    EXPECT_EQ(Combo->CustomColors()->Get(1), "ColorB=ABCDEF") << "the low 24 bits, upper case";
    EXPECT_EQ(Combo->GetCustomColorName(1), "ColorB");
    delete store;
    EXPECT_EQ(Combo->RegIniFile(), nullptr);
}

// The colour dialog answers with a colour and the custom colours the user left.
class FakeColorDialog : public TDialogService {
public:
    int MessageBox(const std::string&, const std::string&, UINT) override { return 0; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return 0; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
    bool ColorDialog(TColorDialogRequest& r) override {
        ++Shown;
        Asked = r.Color;
        r.Color = TColor(0x336699);
        r.CustomColors[0] = TColor(0x00AA00);
        return true;
    }
    int Shown = 0;
    TColor Asked = clNone;
};

TEST_F(GwColorCombo, ClosingOnTheCustomEntryOpensTheColourDialogUnlessCancelled) {
    FakeColorDialog dialog;
    TDialogService* old = SetDialogService(&dialog);
    auto command = [&](WORD code) { Combo->Perform(CN_COMMAND, MAKEWPARAM(0, code), 0); };
    Combo->SetSelectedColor(TColor(0x010203));
    command(CBN_SELENDCANCEL);
    command(CBN_CLOSEUP);
    EXPECT_EQ(dialog.Shown, 0);
    command(CBN_SELENDOK);
    command(CBN_CLOSEUP);
    EXPECT_EQ(dialog.Shown, 1);
    EXPECT_EQ(dialog.Asked, TColor(0x010203));
    EXPECT_EQ(Combo->CustomColor(), TColor(0x336699));
    EXPECT_EQ(Combo->SelectedColor(), TColor(0x336699));
    EXPECT_EQ(Combo->CustomColors()->Get(0), "ColorA=00AA00");
    Combo->SetSelectedColor(clRed);
    command(CBN_SELENDOK);
    command(CBN_CLOSEUP);
    EXPECT_EQ(dialog.Shown, 1) << "only the custom entry asks";
    SetDialogService(old);
}

// ---- font combo box ----

class GwFontCombo : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 200);
        Form->Show();
        Combo = new TGwFontComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 150, 21);
        Combo->HandleNeeded();
    }
    void TearDown() override {
        SetMonitorLayout({});
        delete Form;
        Application->ProcessMessages();
    }
    void Command(WORD Code) { Combo->Perform(CN_COMMAND, MAKEWPARAM(0, Code), 0); }
    // The user picks Face from the open list.
    void Choose(const std::string& Face, int From = 0) {
        int i = From;
        while (Combo->Items()->Get(i) != Face)
            ++i;
        Combo->SetItemIndex(i);
        Command(CBN_SELENDOK);
        Command(CBN_CLOSEUP);
    }
    std::string Top(int N) {
        std::string s;
        for (int i = 0; i < N; ++i)
            s += (i ? "," : "") + Combo->Items()->Get(i);
        return s;
    }
    TForm* Form = nullptr;
    TGwFontComboBox* Combo = nullptr;
};

struct FaceCase {
    const char* Name;
    TGwFontType Type;
    bool Symbols;
    int Count;
    bool HasWingdings;
    bool HasArial;
};

void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.Name; }

class GwFontComboFaces : public GwFontCombo, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(GwFontComboFaces, ListsTheFacesOfTheType) {
    const FaceCase& c = GetParam();
    Combo->SetFontType(c.Type);
    Combo->SetShowSymbolFonts(c.Symbols);
    EXPECT_EQ(Combo->Items()->Count(), c.Count);
    EXPECT_EQ(Combo->Items()->IndexOf("Wingdings") >= 0, c.HasWingdings);
    EXPECT_EQ(Combo->Items()->IndexOf("Arial") >= 0, c.HasArial);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwFontComboFaces,
                         ::testing::Values(FaceCase{"All", ftAll, true, 9, true, true},
                                           FaceCase{"TrueTypeNoSymbols", ftTrueType, false, 7, false, true},
                                           FaceCase{"FixedPitch", ftFixedPitch, true, 2, false, false},
                                           FaceCase{"PrinterListsNothing", ftPrinter, true, 0, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwFontCombo, ChosenFacesGoToTheTopWithoutDuplicates) {
    const int faces = Combo->Items()->Count();
    EXPECT_EQ(Combo->LastMRUIndex(), -1);
    Choose("Verdana");
    EXPECT_EQ(Top(2), "Verdana,Arial");
    EXPECT_EQ(Combo->LastMRUIndex(), 0);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    Choose("Tahoma", 1);
    EXPECT_EQ(Top(3), "Tahoma,Verdana,Arial");
    EXPECT_EQ(Combo->LastMRUIndex(), 1);
    Choose("Verdana");
    EXPECT_EQ(Top(3), "Verdana,Tahoma,Arial") << "a face of the recent part moves up";
    EXPECT_EQ(Combo->Items()->Count(), faces + 2);
    EXPECT_EQ(Combo->FontName(), "Verdana");
    Combo->FontSize = 11;
    ASSERT_NE(Combo->SelectedFont(), nullptr);
    EXPECT_EQ(Combo->SelectedFont()->Name(), "Verdana");
    EXPECT_EQ(Combo->SelectedFont()->Size(), 11);
}

TEST_F(GwFontCombo, PreviewShowsBesideTheListOrLeftOfItAtTheScreenEdge) {
    SetMonitorLayout({{TRect(0, 0, 640, 480), TRect(0, 0, 640, 460)}});
    Combo->ShowStyle = ssFontPreview;
    Command(CBN_DROPDOWN);
    TGwPreviewFontPanel* panel = Combo->PreviewPanel();
    ASSERT_TRUE(panel->Visible());
    TPoint origin = Combo->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(panel->BoundsRect(),
              TRect(origin.x + 150 - 1, origin.y, origin.x + 150 - 1 + 260, origin.y + 65));
    EXPECT_EQ(panel->Font()->Size(), 36);
    EXPECT_EQ(panel->Caption(), "AaBbYyZz");
    Command(CBN_CLOSEUP);
    EXPECT_FALSE(panel->Visible());
    Combo->SetLeft(400);
    Combo->PreviewWidth = 200;
    Command(CBN_DROPDOWN);
    origin = Combo->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(panel->Left(), origin.x - 200 - 1);
    Combo->Perform(CM_HIDEPREVIEWPANEL, 0, 0);
    EXPECT_FALSE(panel->Visible());
}

} // namespace
