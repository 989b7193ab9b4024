// The colour picker: automatic size, colour lookup, selection by the mouse through the message
// path, the grid where it is drawn.
#include <gtest/gtest.h>

#include "Gwborder.h"
#include "forms.h"
#include "gw_support.h"
#include "dialogs.h"
#include "inputkit.h"
#include "messages.h"

namespace {

struct TPickerFixture {
    TForm Form{nullptr};
    TGwColorPicker Picker{&Form};
    int Changes = 0, Clicks = 0;
    TPickerFixture() {
        Form.SetBounds(0, 0, 400, 400);
        Picker.SetParent(&Form);
        Picker.OnChange = [this](TObject*) { ++Changes; };
        Picker.OnClick = [this](TObject*) { ++Clicks; };
    }
    void Press(int X, int Y) { inputkit::Click(&Picker, X, Y); }
};

TEST(GwColorPicker, AutomaticSizeIsTheGridPlusTheFrame) {
    TPickerFixture f;
    const int inset = f.Picker.ClientRect().Left;
    EXPECT_EQ(inset, 4);
    EXPECT_EQ(f.Picker.Width(), 144 + 2 * inset);
    EXPECT_EQ(f.Picker.Height(), 90 + 2 * inset);
    f.Picker.SetShowSystemColors(true);
    f.Picker.SetShowCustomColor(true);
    EXPECT_EQ(f.Picker.Height(), 90 + 2 * inset + 80 + f.Picker.Margin());
}

struct TLookupCase {
    const char* Name;
    TColor Value;
    bool System;
    int Index;
};
void PrintTo(const TLookupCase& c, std::ostream* os) { *os << c.Name; }
class GwColorPickerLookup : public ::testing::TestWithParam<TLookupCase> {};

TEST_P(GwColorPickerLookup, SelectedColorFindsItsCell) {
    TPickerFixture f;
    f.Picker.SetShowSystemColors(GetParam().System);
    f.Picker.SetSelectedColor(GetParam().Value);
    EXPECT_EQ(f.Picker.SelColorIndex(), GetParam().Index);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwColorPickerLookup,
                         ::testing::Values(TLookupCase{"NoneIsTheNoColorButton", clNone, false, cpiNoColor},
                                           TLookupCase{"BasicRed", 0x0000FF, false, 16},
                                           TLookupCase{"SystemEntryWithSystemColors", clBtnFace, true, 55},
                                           TLookupCase{"SystemColourByItsRgbWithout", clWindow, false, 39},
                                           TLookupCase{"UnknownBecomesCustom", 0x123456, false,
                                                       cpiCustomSwatch}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwColorPicker, UnknownColourBecomesTheCustomColourAndReselectingFiresAgain) {
    TPickerFixture f;
    f.Picker.SetSelectedColor(0x123456);
    EXPECT_EQ(f.Picker.CustomColor(), 0x123456);
    EXPECT_EQ(f.Picker.SelectedColor(), 0x123456);
    f.Picker.SetShowCustomColor(true);
    const TRect cr = f.Picker.ClientRect();
    f.Changes = f.Clicks = 0;
    f.Press(cr.Right - 3, cr.Bottom - 3);
    f.Press(cr.Right - 3, cr.Bottom - 3);
    EXPECT_EQ(f.Changes, 2);
    // Each press: the swatch's own click, then the platform's click on release.
    EXPECT_EQ(f.Clicks, 4);
    const TRect cell = f.Picker.GetCellRect(3);
    f.Press(cell.Left + 2, cell.Top + 2);
    f.Press(cell.Left + 2, cell.Top + 2);
    EXPECT_EQ(f.Changes, 3);
    EXPECT_EQ(f.Clicks, 6);
}

TEST(GwColorPicker, ClicksHitTheCellDrawnUnderThePointer) {
    // The grid is drawn inside the frame; a hit test from the control's corner would take the
    // cell four pixels to the right.
    TPickerFixture f;
    const TRect cell0 = f.Picker.GetCellRect(0);
    EXPECT_EQ(cell0.Left, 4);
    f.Press(cell0.Right - 2, cell0.Top + 2);
    EXPECT_EQ(f.Picker.SelectedColor(), TColor(0x000000));
    EXPECT_EQ(f.Picker.SelColorIndex(), 0);
    const TRect cell9 = f.Picker.GetCellRect(9);
    f.Press(cell9.Left + 1, cell9.Bottom - 2);
    EXPECT_EQ(f.Picker.SelColorIndex(), 9);
    EXPECT_EQ(f.Changes, 2);
}

TEST(GwColorPicker, SeparatorSelectsNothingOnPressButDraggingOverItClears) {
    TPickerFixture f;
    f.Picker.SetShowSystemColors(true);
    f.Picker.SetSelectedColor(0x0000FF);
    const TRect below = f.Picker.GetCellRect(39);
    f.Press(below.Left + 2, below.Bottom + 3);
    EXPECT_EQ(f.Picker.SelColorIndex(), 16);
    inputkit::MouseMove(&f.Picker, below.Left + 2, below.Bottom + 3, inputkit::Left);
    EXPECT_EQ(f.Picker.SelectedColor(), clNone);
}

TEST(GwColorPicker, PaintsSwatchesAndTheSelection) {
    TPickerFixture f;
    f.Picker.SetSelectedColor(0x0000FF);
    TPaper p(f.Picker.Width(), f.Picker.Height());
    f.Picker.Perform(WM_PAINT, WPARAM(p.Canvas()));
    const TRect red = f.Picker.GetCellRect(16), blue = f.Picker.GetCellRect(13);
    EXPECT_EQ(TPaper::Hex(p.At((red.Left + red.Right) / 2, (red.Top + red.Bottom) / 2)),
              TPaper::Hex(0x0000FF));
    EXPECT_EQ(TPaper::Hex(p.At((blue.Left + blue.Right) / 2, (blue.Top + blue.Bottom) / 2)),
              TPaper::Hex(0xFF0000));
    EXPECT_EQ(TPaper::Hex(p.At(red.Left, red.Top + 5)), TPaper::Hex(clHighlight));
    EXPECT_EQ(TPaper::Hex(p.At(blue.Left, blue.Top + 5)), TPaper::Hex(clWindow));
}

} // namespace

namespace {

// Answers the colour dialog with a fixed colour and puts one custom colour in slot A.
class TColorAnswer : public TDialogService {
public:
    int MessageBox(const std::string&, const std::string&, UINT) override { return 0; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return 0; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
    bool ColorDialog(TColorDialogRequest& Request) override {
        Asked = Request.Color;
        Request.Color = 0x123456;
        Request.CustomColors[0] = 0x00ABCDEF;
        return Accept;
    }
    bool Accept = true;
    TColor Asked = clNone;
};

TEST(GwColorPickerDialog, CustomCaptionOpensTheDialogAndKeepsItsColours) {
    TColorAnswer answer;
    TDialogService* old = SetDialogService(&answer);
    TPickerFixture f;
    auto* custom = new TGwCustomColors(&f.Form);
    f.Picker.SetCustomColors(custom);
    f.Picker.SetShowCustomColor(true);
    f.Picker.SetSelectedColor(0x0000FF);
    const TRect cr = f.Picker.ClientRect();
    answer.Accept = false;
    f.Press(cr.Left + 3, cr.Bottom - 3);
    EXPECT_EQ(f.Picker.SelectedColor(), TColor(0x0000FF)) << "a cancelled dialog changes nothing";
    answer.Accept = true;
    f.Press(cr.Left + 3, cr.Bottom - 3);
    EXPECT_EQ(answer.Asked, TColor(0x0000FF));
    EXPECT_EQ(f.Picker.SelColorIndex(), cpiCustomSwatch);
    EXPECT_EQ(f.Picker.SelectedColor(), TColor(0x123456));
    EXPECT_EQ(custom->Colors()->Strings(0), "ColorA=ABCDEF");
    SetDialogService(old);
}

} // namespace
