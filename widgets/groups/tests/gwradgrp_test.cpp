// Radio and check groups: columns, the layout down the columns, ItemIndex clamping, the veto, the
// custom strip rule, check states kept across loading.
#include <gtest/gtest.h>

#include "Gwradgrp.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "screenkit.h"
#include "stdctrls.h"

namespace {

class GwGroups : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 500, 300);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    template <class G> G* Make(int Lines) {
        auto* g = new G(Form);
        g->SetParent(Form);
        g->SetBounds(0, 0, 400, 200);
        for (int i = 0; i < Lines; ++i)
            g->Items()->Add("Item " + std::to_string(i));
        return g;
    }
    static void Click(TControl* c) { inputkit::Click(c, 3, 5); }
    TForm* Form = nullptr;
};

TEST_F(GwGroups, ColumnsAreKeptBetweenOneAndSixteenAndFillDownFirst) {
    auto* g = Make<TGwRadioGroup>(7);
    g->SetColumns(0);
    EXPECT_EQ(g->Columns(), 1);
    g->SetColumns(20);
    EXPECT_EQ(g->Columns(), 16);
    g->SetColumns(3);
    const int top = g->Item(0)->Top();
    EXPECT_EQ(g->Item(2)->Top(), top + 2 * 20);
    EXPECT_EQ(g->Item(3)->Top(), top);
    EXPECT_EQ(g->Item(6)->Top(), top);
    EXPECT_LT(g->Item(0)->Left(), g->Item(3)->Left());
    EXPECT_LT(g->Item(3)->Left(), g->Item(6)->Left());
    EXPECT_EQ(g->Item(1)->Left(), g->Item(0)->Left());
}

TEST_F(GwGroups, ItemIndexIsClampedAndFollowsDeletedLines) {
    auto* g = Make<TGwRadioGroup>(4);
    g->SetItemIndex(99);
    EXPECT_EQ(g->ItemIndex(), 3);
    EXPECT_TRUE(g->Buttons(3)->Checked());
    g->SetItemIndex(-5);
    EXPECT_EQ(g->ItemIndex(), -1);
    EXPECT_FALSE(g->Buttons(3)->Checked());
    g->SetItemIndex(3);
    g->Items()->Delete(3);
    g->Items()->Delete(2);
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_TRUE(g->Buttons(1)->Checked());
}

TEST_F(GwGroups, VetoedClickKeepsThePreviousChoice) {
    auto* g = Make<TGwRadioGroup>(3);
    g->SetItemIndex(0);
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    g->OnChanging = [](TObject*, int NewIndex, bool& Allow) { Allow = NewIndex != 2; };
    Click(g->Buttons(1));
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    Click(g->Buttons(2));
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_TRUE(g->Buttons(1)->Checked());
    EXPECT_FALSE(g->Buttons(2)->Checked());
}

TEST_F(GwGroups, CustomStripFollowsTheCheckBoxRule) {
    // An empty strip must not switch custom glyphs on (that would leave the items without a glyph).
    auto* g = Make<TGwCheckGroup>(2);
    TBitmap strip;
    strip.SetSize(90, 10);
    g->SetCustomGlyphs(&strip);
    EXPECT_TRUE(g->UseCustomGlyphs());
    EXPECT_EQ(g->GlyphWidth(), 10);
    EXPECT_EQ(g->GlyphHeight(), 10);
    EXPECT_EQ(g->Checks(0)->GlyphWidth(), 10);
    g->SetCustomGlyphs(nullptr);
    EXPECT_FALSE(g->UseCustomGlyphs());
    EXPECT_EQ(g->GlyphWidth(), 13);
    EXPECT_FALSE(g->Checks(1)->UseCustomGlyphs());
    EXPECT_EQ(g->Checks(1)->GlyphWidth(), 13);
}

TEST_F(GwGroups, CheckStatesSurviveStoringAndLoading) {
    auto* g = Make<TGwCheckGroup>(3);
    g->SetAllowGrayed(true);
    g->SetItemState(0, cbGrayed);
    g->SetItemState(2, cbChecked);
    const std::vector<int> stored = g->WriteCheckStates();
    EXPECT_EQ(stored, (std::vector<int>{2, 0, 1}));
    auto* loaded = Make<TGwCheckGroup>(3);
    loaded->ReadCheckStates(stored);
    loaded->Loaded();
    EXPECT_EQ(loaded->ItemState(0), cbGrayed);
    EXPECT_TRUE(loaded->ItemChecked(2));
}

TEST_F(GwGroups, CheckClicksReportTheItemAndItsState) {
    auto* g = Make<TGwCheckGroup>(3);
    std::vector<std::pair<int, TCheckBoxState>> seen;
    g->OnChange = [&](TObject*, int i, TCheckBoxState s) { seen.emplace_back(i, s); };
    Click(g->Checks(1));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, 1);
    EXPECT_EQ(seen[0].second, cbChecked);
}

// Tab reaches a group's item as it reaches a lone button, and the item shows the focus by a dotted
// rectangle around its caption, gone once the focus leaves.
TEST_F(GwGroups, TabShowsTheFocusOnTheItemItReaches) {
    auto* radios = Make<TGwRadioGroup>(3);
    radios->SetBounds(0, 0, 200, 100);
    radios->SetItemIndex(1);
    auto* checks = Make<TGwCheckGroup>(3);
    checks->SetBounds(0, 110, 200, 100);
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(250, 10, 100, 21);
    edit->SetTabOrder(0);
    inputkit::Click(edit, 5, 5);
    ASSERT_TRUE(edit->Focused());
    TWinControl* const items[] = {radios->Item(1), checks->Item(0)};
    TBitmap without[2];
    for (int i = 0; i < 2; ++i) {
        inputkit::ProcessEvents();
        screenkit::Window(items[i], without[i]);
        inputkit::PressToFocus(inputkit::Key::Tab);
        ASSERT_TRUE(items[i]->Focused()) << items[i]->Caption();
        inputkit::ProcessEvents();
        TBitmap with;
        screenkit::Window(items[i], with);
        const TRect mark = screenkit::DottedRect(with, without[i]);
        EXPECT_FALSE(mark.IsEmpty()) << items[i]->Caption();
        EXPECT_GT(mark.Left, 13) << "around the caption, right of the glyph";
    }
    inputkit::PressToFocus(inputkit::Key::Tab);
    inputkit::ProcessEvents();
    for (int i = 0; i < 2; ++i) {
        TBitmap after;
        screenkit::Window(items[i], after);
        EXPECT_TRUE(screenkit::SamePixels(after, without[i])) << items[i]->Caption();
    }
}

} // namespace
