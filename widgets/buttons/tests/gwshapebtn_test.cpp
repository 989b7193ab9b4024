// The shape button: its size from the bitmap, bevels along the outline, hits and hints only inside
// the shape.
#include <gtest/gtest.h>

#include <string>

#include "Gwbutton.h"
#include "Gwcommon.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"

namespace {

constexpr TColor Outside = clFuchsia;
constexpr TColor Face = clRed;

// A W x H picture: a Face square inset by Inset on an Outside background; with Notch, its
// bottom-left quarter is Outside as well (the bottom-left pixel gives the transparent colour).
void MakeShape(TBitmap& B, int W, int H, int Inset, bool Notch = false) {
    B.SetSize(W, H);
    TCanvas* c = B.Canvas();
    c->Brush()->SetColor(Outside);
    c->FillRect(TRect(0, 0, W, H));
    c->Brush()->SetColor(Face);
    c->FillRect(TRect(Inset, Inset, W - Inset, H - Inset));
    if (Notch) {
        c->Brush()->SetColor(Outside);
        c->FillRect(TRect(0, H / 2, W / 2, H));
    }
}

class ShapeButton : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TGwShapeButton* Make(int W, int H, int Inset, bool Notch = false) {
        auto* b = new TGwShapeButton(Form);
        b->SetParent(Form);
        b->SetLeft(20);
        b->SetTop(20);
        TBitmap shape;
        MakeShape(shape, W, H, Inset, Notch);
        b->SetBitmap(&shape);
        return b;
    }
    // Pixels of a row of an image as colour names: O outside, F face, B border, H highlight, S shadow.
    static std::string Row(TBitmap* B, int Y) {
        std::string s;
        for (int x = 0; x < B->Width(); ++x) {
            const TColor c = B->Canvas()->GetPixel(x, Y);
            s += c == Outside                      ? 'O'
                 : c == Face                       ? 'F'
                 : c == ColorToRGB(cl3DDkShadow)   ? 'B'
                 : c == ColorToRGB(clBtnHighlight) ? 'H'
                 : c == ColorToRGB(clBtnShadow)    ? 'S'
                                                   : '?';
        }
        return s;
    }
    TForm* Form = nullptr;
};

TEST_F(ShapeButton, AutoSizeLeavesTwoPixelsAroundTheBitmap) {
    TGwShapeButton* b = Make(40, 30, 2);
    EXPECT_EQ(b->Width(), 44);
    EXPECT_EQ(b->Height(), 34);
    b->SetAutoSize(false);
    b->SetBounds(20, 20, 100, 100);
    EXPECT_EQ(b->Width(), 100);
}

TEST_F(ShapeButton, SettingCaptionXPlacesTheCaptionByCoordinates) {
    TGwShapeButton* b = Make(40, 30, 2);
    EXPECT_EQ(b->CaptionPosition(), cpCentered);
    b->SetCaptionX(5);
    EXPECT_EQ(b->CaptionPosition(), cpXY);
}

struct TBevelCase {
    const char* Name;
    int BevelWidth;
    TBorderStyle Border;
    const char* UpMiddleRow;
    const char* DownMiddleRow;
};
void PrintTo(const TBevelCase& c, std::ostream* os) { *os << c.Name; }
class ShapeButtonBevel : public ShapeButton, public ::testing::WithParamInterface<TBevelCase> {};

// A 10-pixel square face on a 14-pixel picture; the middle row crosses the left and right edges.
TEST_P(ShapeButtonBevel, RingsFollowTheOutline) {
    const TBevelCase& c = GetParam();
    TGwShapeButton* b = Make(14, 14, 2);
    b->SetBevelWidth(c.BevelWidth);
    b->SetBorderStyle(c.Border);
    EXPECT_EQ(Row(b->BitmapUp(), 7), c.UpMiddleRow);
    EXPECT_EQ(Row(b->BitmapDown(), 7), c.DownMiddleRow);
    EXPECT_EQ(Row(b->BitmapUp(), 0), std::string(14, 'O'));
}

INSTANTIATE_TEST_SUITE_P(
    Looks, ShapeButtonBevel,
    ::testing::Values(TBevelCase{"TwoBevelsAndABorder", 2, bsSingle, "OOBHHFFFFSSBOO", "OOFSSFFFFHHBOO"},
                      TBevelCase{"OneBevelNoBorder", 1, bsNone, "OOHFFFFFFFFSOO", "OOFFFFFFFFFHOO"},
                      TBevelCase{"NothingIsThePlainBitmap", 0, bsNone, "OOFFFFFFFFFFOO", "OOFFFFFFFFFFOO"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ShapeButton, ThePressedImageIsDrawnOnePixelLowerRight) {
    TGwShapeButton* b = Make(14, 14, 2);
    b->SetBevelWidth(0);
    b->SetBorderStyle(bsNone);
    TPaper up(18, 18);
    b->Perform(WM_PAINT, WPARAM(up.Canvas()));
    inputkit::MouseDown(b, 7, 7);
    EXPECT_EQ(b->State(), bsDown);
    TPaper down(18, 18);
    b->Perform(WM_PAINT, WPARAM(down.Canvas()));
    inputkit::MouseUp(b, 7, 7);
    EXPECT_EQ(TPaper::Hex(up.At(2, 2)), TPaper::Hex(Face));
    EXPECT_EQ(TPaper::Hex(down.At(2, 2)), TPaper::Hex(clWhite)) << "the outside shows what lay under";
    EXPECT_EQ(TPaper::Hex(down.At(3, 3)), TPaper::Hex(Face));
    EXPECT_EQ(TPaper::Hex(down.At(12, 12)), TPaper::Hex(Face));
}

TEST_F(ShapeButton, APressOnAnOutsidePixelGoesToTheControlBeneath) {
    auto* beneath = new TGwShapeButton(Form);
    beneath->SetParent(Form);
    beneath->SetBounds(20, 20, 44, 44);
    int beneathClicks = 0, shapeClicks = 0;
    beneath->OnClick = [&](TObject*) { ++beneathClicks; };
    TGwShapeButton* shape = Make(40, 40, 0, true);
    shape->OnClick = [&](TObject*) { ++shapeClicks; };
    auto click = [&](int X, int Y) { inputkit::Click(Form, 20 + X, 20 + Y); };
    click(5, 35); // the notch
    EXPECT_EQ(beneathClicks, 1);
    EXPECT_EQ(shapeClicks, 0);
    click(30, 30);
    EXPECT_EQ(shapeClicks, 1);
    shape->PreciseClick = false;
    click(5, 35);
    EXPECT_EQ(shapeClicks, 2);
    EXPECT_EQ(beneathClicks, 1);
}

TEST_F(ShapeButton, TheHintShowsOnlyOverTheShape) {
    TGwShapeButton* b = Make(40, 40, 0, true);
    b->SetShowHint(true);
    // The whole box takes the mouse, so the pointer reaches the notch on the button itself.
    b->PreciseClick = false;
    inputkit::MouseMove(b, 30, 30);
    EXPECT_TRUE(b->ShowHint());
    inputkit::MouseMove(b, 5, 35);
    EXPECT_FALSE(b->ShowHint());
    inputkit::MouseMove(b, 30, 30);
    EXPECT_TRUE(b->ShowHint());
}

} // namespace
