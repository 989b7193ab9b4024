// The history combo box: entries kept in the settings store (reuse moves up, the count follows the
// history size, stale keys go), loading with and without reordering, the edit menu's remove entry.
// The image combo box: items freed once on delete, overlays and indentation as drawn.
#include <gtest/gtest.h>

#include "Gwcmbobx.h"
#include "clipbrd.h"
#include "gw_support.h"
#include "inifiles.h"
#include "inputkit.h"
#include "screenkit.h"
#include "tempfolder.h"

namespace {

class GwMruCombo : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        Store = new TGwRegIniFile(Form);
        Store->SetPath(Dir.File("history.ini"));
        Combo = new TGwMRUComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 150, 21);
        Combo->SetMruRegIniFile(Store);
        Combo->MruSection = "History";
        Combo->MruID = "Find";
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    std::string Items() {
        std::string s;
        for (int i = 0; i < Combo->Items()->Count(); ++i)
            s += (i ? "," : "") + Combo->Items()->Get(i);
        return s;
    }
    std::string Stored() {
        TIniFile ini(Dir.File("history.ini"));
        std::string s = IntToStr(ini.ReadInteger("History", "Find_Count", -1)) + ":";
        for (int i = 0; i < 30; ++i)
            if (ini.ValueExists("History", "Find_Item" + IntToStr(i)))
                s += " " + ini.ReadString("History", "Find_Item" + IntToStr(i), "");
        return s;
    }
    void Enter() { inputkit::Press(Combo, inputkit::Key::Return); }
    testsupport::TempFolder Dir;
    TForm* Form = nullptr;
    TGwRegIniFile* Store = nullptr;
    TGwMRUComboBox* Combo = nullptr;
};

TEST_F(GwMruCombo, AnEnteredTextGoesToTheTopOnceAndIsStoredFirst) {
    Combo->SetFocus();
    int entered = 0;
    Combo->OnEnterKeyPressed = [&](TObject*) { ++entered; };
    for (const char* s : {"Курск", "Орёл", "Тула"}) {
        Combo->ForceText(s);
        Enter();
    }
    EXPECT_EQ(Items(), "Тула,Орёл,Курск");
    Combo->ForceText("Курск");
    Enter();
    EXPECT_EQ(Items(), "Курск,Тула,Орёл");
    EXPECT_EQ(Combo->Text(), "Курск");
    EXPECT_EQ(Stored(), "3: Курск Тула Орёл");
    EXPECT_EQ(entered, 4);
}

struct SaveCase {
    const char* Name;
    int MaxHistory;
    int Entries;
    std::string Stored;
    int StaleLeft; // keys beyond MaxHistory are not the history's to delete
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.Name; }

class GwMruComboSave : public GwMruCombo, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(GwMruComboSave, WritesAtMostMaxHistoryAndDropsStaleKeys) {
    const SaveCase& c = GetParam();
    for (int i = 0; i < 25; ++i)
        Store->WriteString("History", "Find_Item" + IntToStr(i), "old");
    Combo->MaxHistory = c.MaxHistory;
    for (int i = 0; i < c.Entries; ++i)
        Combo->Items()->Add("e" + IntToStr(i));
    Combo->SaveMRUData();
    std::string stored = c.Stored;
    for (int i = 0; i < c.StaleLeft; ++i)
        stored += " old";
    EXPECT_EQ(Stored(), stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwMruComboSave,
                         ::testing::Values(SaveCase{"FiveIntoThree", 3, 5, "3: e0 e1 e2", 22},
                                           SaveCase{"TwoOfTwentyFive", 25, 2, "2: e0 e1", 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwMruCombo, LoadingReordersOrAppends) {
    Store->WriteInteger("History", "Find_Count", 3);
    Store->WriteString("History", "Find_Item0", "b");
    Store->WriteString("History", "Find_Item1", "");
    Store->WriteString("History", "Find_Item2", "d");
    for (const char* s : {"a", "b", "c"})
        Combo->Items()->Add(s);
    Combo->LoadMRUData(false);
    EXPECT_EQ(Items(), "a,b,c,d");
    Combo->Items()->Clear();
    for (const char* s : {"a", "b", "c"})
        Combo->Items()->Add(s);
    Combo->SelectFirstItemOnLoad = true;
    Combo->LoadMRUData(true);
    EXPECT_EQ(Items(), "b,a,d,c") << "each stored entry at its stored position";
    EXPECT_EQ(Combo->ItemIndex(), 0);
}

TEST_F(GwMruCombo, WithoutAStoreNothingIsReadOrWritten) {
    Combo->SetMruRegIniFile(nullptr);
    Combo->Items()->Add("x");
    Combo->SaveMRUData();
    Combo->LoadMRUData(true);
    EXPECT_EQ(Stored(), "-1:");
    EXPECT_EQ(Items(), "x");
}

TEST_F(GwMruCombo, EditMenuRemovesTheCurrentEntryAndSavesAtOnce) {
    for (const char* s : {"a", "b", "c"})
        Combo->Items()->Add(s);
    Combo->ForceText("b");
    int changes = 0;
    Combo->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(Combo->EditMenu()->Items()->Count(), 10);
    EXPECT_EQ(Combo->MenuItem(1)->Caption(), "-");
    EXPECT_EQ(Combo->MenuItem(9)->Caption(), "&Remove item from history list");
    Combo->SetRemoveItemCaption("&Убрать из списка");
    EXPECT_EQ(Combo->MenuItem(9)->Caption(), "&Убрать из списка");
    Combo->EditMenu()->OnPopup(Combo->EditMenu());
    EXPECT_TRUE(Combo->MenuItem(9)->Enabled());
    EXPECT_FALSE(Combo->MenuItem(2)->Enabled()) << "cut needs a selection";
    Combo->MenuItem(9)->Click();
    EXPECT_EQ(Items(), "a,c");
    EXPECT_EQ(Combo->Text(), "");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Stored(), "2: a c");
}

TEST_F(GwMruCombo, EditMenuCutAndPasteThroughTheClipboard) {
    Combo->ForceText("Москва");
    Combo->MenuItem(7)->Click(); // select all
    Combo->MenuItem(2)->Click(); // cut
    EXPECT_EQ(Combo->Text(), "");
    EXPECT_EQ(Clipboard()->AsText(), "Москва");
    Combo->MenuItem(4)->Click(); // paste
    Combo->MenuItem(4)->Click();
    EXPECT_EQ(Combo->Text(), "МоскваМосква");
}

// ---- image combo box ----

class GwImageCombo : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        Images = new TImageList(Form);
        Images->SetWidth(8);
        Images->SetHeight(8);
        TBitmap red, corner;
        red.SetSize(8, 8);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(TRect(0, 0, 8, 8));
        Images->Add(&red, nullptr);
        corner.SetSize(8, 8);
        corner.Canvas()->Brush()->SetColor(clFuchsia);
        corner.Canvas()->FillRect(TRect(0, 0, 8, 8));
        corner.Canvas()->Brush()->SetColor(clBlue);
        corner.Canvas()->FillRect(TRect(0, 0, 4, 4));
        Images->AddMasked(&corner, clFuchsia);
        Images->Overlay(1, 0);
        Combo = new TGwImageComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 150, 21);
        Combo->SetImages(Images);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // Leftmost x of Color in rows Top..Bottom of the image, -1 when absent; and the count.
    static int LeftMost(TBitmap& img, TColor Color, int Top, int Bottom, int* Count = nullptr) {
        int left = -1, n = 0;
        for (int y = std::max(Top, 0); y < std::min(Bottom, img.Height()); ++y)
            for (int x = 0; x < img.Width(); ++x)
                if (img.Canvas()->GetPixel(x, y) == Color) {
                    ++n;
                    if (left < 0 || x < left)
                        left = x;
                }
        if (Count)
            *Count = n;
        return left;
    }
    TForm* Form = nullptr;
    TImageList* Images = nullptr;
    TGwImageComboBox* Combo = nullptr;
};

TEST_F(GwImageCombo, DeletingAnItemFreesItOnceAndFindsByCaptionOrData) {
    int deleted = 0;
    Combo->OnDeleteItem = [&](TObject*, TGwImageComboBoxItem*) { ++deleted; };
    int tag = 0;
    Combo->AddItem("Один", 0, 0);
    TGwImageComboBoxItem* two = Combo->AddItem("Два", 0, 1);
    two->Data = &tag;
    EXPECT_EQ(Combo->IndexOf("два"), 1);
    EXPECT_EQ(Combo->IndexOfData(&tag), 1);
    EXPECT_EQ(Combo->IndexOfItem(two), 1);
    EXPECT_EQ(two->OverlayIndex(), -1);
    Combo->Delete(0);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(Combo->IndexOf("Один"), -1);
    EXPECT_EQ(Combo->IndexOfItem(two), 0);
}

TEST_F(GwImageCombo, OverlayOnlyWhenSetAndIndentOnlyInTheOpenList) {
    Combo->AddItem("Корень", 0, 0);
    TGwImageComboBoxItem* leaf = Combo->AddItem("Лист", 0, 2);
    Combo->HandleNeeded();
    int blue = 0;
    Combo->SetItemIndex(1);
    TBitmap closed1, closedOverlay, closed0, list;
    screenkit::Native(Combo, closed1);
    LeftMost(closed1, clBlue, 0, closed1.Height(), &blue);
    EXPECT_EQ(blue, 0) << "no overlay without an overlay index";
    leaf->SetOverlayIndex(0);
    screenkit::Native(Combo, closedOverlay);
    LeftMost(closedOverlay, clBlue, 0, closedOverlay.Height(), &blue);
    EXPECT_EQ(blue, 16);
    Combo->SetItemIndex(0);
    screenkit::Native(Combo, closed0);
    EXPECT_EQ(LeftMost(closed1, clRed, 0, closed1.Height()), LeftMost(closed0, clRed, 0, closed0.Height()))
        << "the edit area shows no indentation";
    Combo->SetDroppedDown(true);
    ASSERT_TRUE(screenkit::DropDown(Combo, list));
    const TRect row0 = screenkit::DropDownRow(Combo, 0), row1 = screenkit::DropDownRow(Combo, 1);
    const int x0 = LeftMost(list, clRed, row0.Top, row0.Bottom);
    const int x1 = LeftMost(list, clRed, row1.Top, row1.Bottom);
    ASSERT_GE(x0, 0);
    EXPECT_EQ(x1 - x0, 2 * 12);
    Combo->SetDroppedDown(false);
}

} // namespace
