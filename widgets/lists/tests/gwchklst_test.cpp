// The check list: toggling by mouse and keys with its rules, the veto, group operations, the "&"
// text format both ways (malformed lines refused), items kept across moves and a new window, and
// the glyph strip as drawn.
#include <gtest/gtest.h>

#include "Gwchklst.h"
#include "Gwthemesrv.h"
#include "Gwtmschema.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"

using namespace gwtests;

namespace {

class GwCheckListTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 240);
        List = new TGwCheckList(Form);
        List->SetParent(Form);
        List->SetBounds(10, 10, 200, 150);
        List->BeepOnInvalidKey = false;
        List->OnChange = [this](TObject*, int Index, TCheckBoxState State) {
            Changes.push_back({Index, State});
        };
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // A click at X on item Index, made the current item first as the list box's own press would.
    void Click(int Index, int X) {
        List->SetItemIndex(Index);
        const TRect r = List->ItemRect(Index);
        const int y = (r.Top + r.Bottom) / 2;
        inputkit::Click(List, X, y);
    }
    int BoxX() const { return List->ItemRect(0).Left + 6; }
    int TextX() const { return List->ItemRect(0).Left + List->GlyphWidth() + 20; }
    TForm* Form = nullptr;
    TGwCheckList* List = nullptr;
    std::vector<std::pair<int, TCheckBoxState>> Changes;
};

TEST_F(GwCheckListTest, ClicksOnTheBoxCycleTheStates) {
    List->Items()->Add("a");
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        Click(0, BoxX());
        seen.push_back(List->ItemState(0));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbChecked}));
    List->SetItemState(0, cbUnchecked);
    List->SetAllowGrayed(true);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        Click(0, BoxX());
        seen.push_back(List->ItemState(0));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(Changes.size(), 6u);
}

struct TCheckClickCase {
    const char* Name;
    bool OnText, ToggleOnItemClick, ItemEnabled, Header;
    bool Toggles;
};
void PrintTo(const TCheckClickCase& c, std::ostream* os) { *os << c.Name; }
class GwCheckListClick : public GwCheckListTest, public ::testing::WithParamInterface<TCheckClickCase> {};

TEST_P(GwCheckListClick, OnlyAToggleableItemToggles) {
    const TCheckClickCase& c = GetParam();
    List->Items()->Add(c.Header ? "//head" : "item");
    List->SetItemEnabled(0, c.ItemEnabled);
    List->ToggleOnItemClick = c.ToggleOnItemClick;
    Click(0, c.OnText ? TextX() : BoxX());
    EXPECT_EQ(List->ItemChecked(0), c.Toggles);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwCheckListClick,
                         ::testing::Values(TCheckClickCase{"OnTheBox", false, false, true, false, true},
                                           TCheckClickCase{"OnTheText", true, false, true, false, false},
                                           TCheckClickCase{"OnTheTextWhenItemClicksToggle", true, true, true,
                                                           false, true},
                                           TCheckClickCase{"DisabledItem", false, false, false, false, false},
                                           TCheckClickCase{"GroupHeader", false, false, true, true, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwCheckListTest, AVetoLeavesTheStateAndFiresNoChange) {
    List->Items()->Add("a");
    List->OnChanging = [](TObject*, int, TCheckBoxState, bool& Allow) { Allow = false; };
    Click(0, BoxX());
    EXPECT_FALSE(List->ItemChecked(0));
    EXPECT_TRUE(Changes.empty());
}

TEST_F(GwCheckListTest, SpaceTogglesOnItsKeyUpAndIsNoSearchCharacter) {
    List->Items()->Add("a b");
    List->SetItemIndex(0);
    inputkit::KeyDown(List, inputkit::Key::Space);
    EXPECT_FALSE(List->ItemChecked(0));
    inputkit::KeyUp(List, inputkit::Key::Space);
    EXPECT_TRUE(List->ItemChecked(0));
    EXPECT_EQ(List->SearchText(), "");
    inputkit::KeyUp(List, inputkit::Key::Space);
    EXPECT_TRUE(List->ItemChecked(0)) << "a key up without its key down does nothing";
}

TEST_F(GwCheckListTest, GroupOperationsAndCounts) {
    for (const char* s : {"lone", "//G0", "a", "b", "//G1", "c"})
        List->Items()->Add(s);
    List->CheckGroup(0);
    EXPECT_EQ(List->ItemsChecked(), 2);
    EXPECT_TRUE(List->ItemChecked(2) && List->ItemChecked(3) && !List->ItemChecked(5));
    List->DisableGroup(1);
    EXPECT_FALSE(List->ItemEnabled(5));
    EXPECT_TRUE(List->ItemEnabled(3));
    List->UncheckGroup(7); // no such group: the items before the first header
    List->CheckGroup(7);
    EXPECT_TRUE(List->ItemChecked(0));
    List->CheckAll();
    EXPECT_TRUE(List->ItemChecked(1)) << "headers are checked too";
    EXPECT_EQ(List->ItemsChecked(), 4) << "but not counted";
    EXPECT_EQ(List->AddEx("new", true, false), 6);
    EXPECT_TRUE(List->ItemChecked(6));
    EXPECT_FALSE(List->ItemEnabled(6));
}

struct TLineCase {
    const char* Name;
    const char* Line;
    const char* Text;
    bool Enabled;
    TCheckBoxState State;
};
void PrintTo(const TLineCase& c, std::ostream* os) { *os << c.Name; }
class GwCheckListLine : public ::testing::TestWithParam<TLineCase> {};

TEST_P(GwCheckListLine, DecodesAsTheFormatSays) {
    const TLineCase& c = GetParam();
    const TGwCheckListLine line = DecodeCheckListLine(c.Line);
    EXPECT_EQ(line.Text, c.Text);
    EXPECT_EQ(line.Packet.Enabled, c.Enabled);
    EXPECT_EQ(line.Packet.State, c.State);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GwCheckListLine,
    ::testing::Values(TLineCase{"CheckedEnabled", "&1 1 A", "A", true, cbChecked},
                      TLineCase{"UncheckedDisabled", "&0 0 B", "B", false, cbUnchecked},
                      TLineCase{"GrayedEmptyText", "&1 2 ", "", true, cbGrayed},
                      TLineCase{"PlainLine", "plain & text", "plain & text", true, cbUnchecked},
                      TLineCase{"ShortAmpersandLineIsText", "&1 1", "&1 1", true, cbUnchecked},
                      TLineCase{"LoneAmpersand", "&", "&", true, cbUnchecked}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwCheckListTest, TextFormatRoundTrip) {
    List->AddEx("A", true, true);
    List->AddEx("B", false, false);
    List->SetItemState(1, cbUnchecked);
    TStringStream out;
    List->SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "&1 1 A\r\n&0 0 B\r\n");
    TStringStream in("&0 2 first\tfield\r\nplain line\r\n&1 1 last\r\n");
    List->LoadFromStream(&in);
    ASSERT_EQ(List->Count(), 3);
    EXPECT_EQ(List->Items()->Get(0), "first\tfield");
    EXPECT_EQ(List->ItemState(0), cbGrayed);
    EXPECT_FALSE(List->ItemEnabled(0));
    EXPECT_EQ(List->Items()->Get(1), "plain line");
    EXPECT_EQ(List->ItemState(1), cbUnchecked);
    EXPECT_TRUE(List->ItemEnabled(1));
    EXPECT_TRUE(List->ItemChecked(2));
}

TEST_F(GwCheckListTest, AMalformedStateStopsTheLoadKeepingTheLinesBefore) {
    for (const char* bad : {"&1 x oops", "&1 7 oops"}) {
        SCOPED_TRACE(bad);
        TStringStream in(std::string("&1 1 good\r\n") + bad + "\r\n&1 1 never\r\n");
        EXPECT_THROW(List->LoadFromStream(&in), EConvertError);
        ASSERT_EQ(List->Count(), 1);
        EXPECT_EQ(List->Items()->Get(0), "good");
        EXPECT_TRUE(List->ItemChecked(0));
    }
}

TEST_F(GwCheckListTest, StatesTravelWithTheirItems) {
    List->AddEx("a", true, true);
    List->AddEx("b", false, false);
    List->AddEx("c", false, true);
    List->SetItemState(2, cbGrayed);
    List->Items()->Exchange(0, 2);
    EXPECT_EQ(List->Items()->Get(0), "c");
    EXPECT_EQ(List->ItemState(0), cbGrayed);
    EXPECT_TRUE(List->ItemChecked(2));
    List->Items()->Move(1, 0);
    EXPECT_EQ(List->Items()->Get(0), "b");
    EXPECT_FALSE(List->ItemEnabled(0));
    List->Items()->Put(0, "renamed");
    EXPECT_FALSE(List->ItemEnabled(0));
    // Another check list takes the states with the texts; a new window keeps everything.
    TGwCheckList copy(Form);
    copy.SetParent(Form);
    copy.Items()->Assign(List->Items());
    EXPECT_EQ(copy.ItemState(1), cbGrayed);
    TPacketStringList detached;
    detached.AddStrings(List->Items());
    EXPECT_FALSE(detached.Packet(0)->Enabled);
    Form->Show();
    List->SetItemIndex(2);
    List->RecreateWnd();
    List->HandleNeeded();
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_TRUE(List->ItemChecked(2));
    EXPECT_FALSE(List->ItemEnabled(0));
}

TEST_F(GwCheckListTest, ACustomStripGivesTheGlyphsAndTheirLook) {
    // Six 10 x 10 frames in six colours: unchecked, checked, grayed, then disabled.
    const TColor frames[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
    TBitmap strip;
    strip.SetSize(60, 10);
    for (int i = 0; i < 6; ++i) {
        strip.Canvas()->Brush()->SetColor(frames[i]);
        strip.Canvas()->FillRect(TRect(i * 10, 0, i * 10 + 10, 10));
    }
    List->SetCustomGlyphs(&strip);
    EXPECT_TRUE(List->UseCustomGlyphs());
    EXPECT_EQ(List->GlyphWidth(), 10);
    List->AddEx("on", true, true);
    List->AddEx("off", false, false);
    Form->Show();
    TPaper p(List->Width(), List->Height());
    List->PaintTo(p.Canvas(), 0, 0);
    const TPoint window = Form->ClientToScreen(TPoint(List->Left(), List->Top()));
    const int dx = List->ClientOrigin().x - window.x, dy = List->ClientOrigin().y - window.y;
    for (int i = 0; i < 2; ++i) {
        const TRect r = List->ItemRect(i);
        // The glyph sits 4 pixels left of the text, which starts glyph width + 8 into the row.
        const int x = r.Left + List->GlyphWidth() + 8 - 4 - List->GlyphWidth() + 5;
        const int y = r.Top + (List->ItemHeight() - 10) / 2 + 5;
        EXPECT_EQ(p.At(dx + x, dy + y), i == 0 ? clLime : clYellow) << i;
    }
    TBitmap big;
    big.SetSize(78, 13);
    List->SetCustomGlyphs(&big);
    EXPECT_EQ(List->GlyphWidth(), 13);
    TBitmap empty;
    List->SetCustomGlyphs(&empty);
    EXPECT_FALSE(List->UseCustomGlyphs());
    EXPECT_EQ(List->GlyphHeight(), 13);
}

class TProbeCheckList : public TGwCheckList {
public:
    using TGwCheckList::SelectGlyph;
    using TGwCheckList::TGwCheckList;
};

TEST_F(GwCheckListTest, UnderVisualStylesTheBoxIsTheThemedCheckBoxOfItsState) {
    RecordThemes();
    TProbeCheckList list(Form);
    list.SetParent(Form);
    list.AddEx("plain", false, true);
    list.AddEx("checked off", true, false);
    list.AddEx("grayed", false, true);
    list.SetItemState(2, cbGrayed);
    TBitmap glyph;
    gDrawn.clear();
    for (int i = 0; i < 3; ++i)
        list.SelectGlyph(i, &glyph);
    StopRecordingThemes();
    EXPECT_EQ(gDrawn, (std::vector<TThemeCall>{{BP_CHECKBOX, CBS_UNCHECKEDNORMAL},
                                               {BP_CHECKBOX, CBS_CHECKEDNORMAL + 3},
                                               {BP_CHECKBOX, CBS_CHECKEDNORMAL + 4}}));
}

} // namespace
