// The Gw label: angles, rotation switching, sizes by border and angle, 3-D layers and turned text
// in pixels.
#include <gtest/gtest.h>

#include "Gwlabel.h"
#include "forms.h"
#include "gw_support.h"

namespace {

struct TApp {
    TApp() { TApplication::QtApp(); }
};

struct TFixture {
    TApp App;
    TForm Form{nullptr};
    TGwLabel* Label;
    TFixture() {
        Form.SetBounds(0, 0, 300, 300);
        Label = new TGwLabel(&Form);
        Label->SetParent(&Form);
        Label->Font()->SetName("Arial");
        Label->Font()->SetSize(12);
    }
};

TEST(GwLabel, AnglesNormaliseIntoOneTurn) {
    TFixture f;
    for (auto [in, out] : std::initializer_list<std::pair<int, int>>{
             {-90, 270}, {450, 90}, {-450, 270}, {-720, 0}, {359, 359}, {360, 0}, {-1, 359}}) {
        f.Label->SetAngle(in);
        EXPECT_EQ(f.Label->Angle(), out) << in;
    }
}

TEST(GwLabel, AnAngleTurnsTheTextAndFlatRotationResetsIt) {
    TFixture f;
    f.Label->SetAngle(45);
    EXPECT_EQ(f.Label->Rotation(), roFlat);
    f.Label->SetRotation(roCurve);
    f.Label->SetAngle(30);
    f.Label->SetCenterPoint(cpUpperLeft);
    f.Label->SetRotation(roFlat);
    EXPECT_EQ(f.Label->Angle(), 0);
    EXPECT_EQ(f.Label->CenterPoint(), cpCenter);
}

struct SizeCase {
    int Angle;
    TFrameStyleEx Outer;
    TTextStyle Style;
    TRect Expected; // AdjustForBorders of a 40 x 10 text box
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.Angle << " degrees, outer " << int(c.Outer) << ", style " << int(c.Style);
}

class LabelSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LabelSizes, BordersShadowAndAngle) {
    const SizeCase& c = GetParam();
    TFixture f;
    f.Label->SetAutoSize(false);
    f.Label->SetBorderOuter(c.Outer);
    f.Label->SetBorderWidth(1);
    f.Label->SetTextStyle(c.Style);
    if (c.Angle)
        f.Label->SetAngle(c.Angle);
    TRect r(0, 0, 40, 10);
    f.Label->AdjustForBorders(r);
    EXPECT_EQ(r, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Gw, LabelSizes,
                         ::testing::Values(SizeCase{0, fsNone, tsNormal, TRect(0, 0, 42, 12)},
                                           SizeCase{0, fsLowered, tsNormal, TRect(0, 0, 46, 16)},
                                           SizeCase{0, fsFlatBold, tsNormal,
                                                    TRect(0, 0, 42, 12)}, // counts nothing when sizing
                                           SizeCase{0, fsFlat, tsShadow, TRect(0, 0, 46, 16)},
                                           SizeCase{90, fsNone, tsNormal, TRect(0, 0, 12, 42)},
                                           SizeCase{270, fsFlat, tsShadow,
                                                    TRect(0, 0, 15, 45)}, // shadow depth div 2 before turning
                                           SizeCase{180, fsNone, tsNormal, TRect(0, 0, 42, 12)},
                                           SizeCase{45, fsNone, tsNormal, TRect(0, 0, 38, 38)},
                                           SizeCase{30, fsNone, tsNormal, TRect(0, 0, 42, 31)},
                                           SizeCase{135, fsNone, tsNormal, TRect(0, 0, 38, 38)}));

TEST(GwLabel, AutoSizeTakesTheTurnedSize) {
    TFixture f;
    f.Label->SetCaption("Turned");
    int w = f.Label->Width(), h = f.Label->Height();
    ASSERT_GT(w, h);
    f.Label->SetAngle(90);
    EXPECT_EQ(f.Label->Width(), h);
    EXPECT_EQ(f.Label->Height(), w);
}

// Columns and rows of the paper that hold any dark pixel.
TRect InkBox(TPaper& p, int W, int H) {
    TRect box(W, H, -1, -1);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (std::uint32_t c = ColorToRGB(p.At(x, y));
                (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

void PaintTo(TGwLabel* Label, TPaper& P) {
    TMessage m{WM_PAINT, WPARAM(P.Canvas()), 0};
    Label->Perform(m.Msg, m.WParam, m.LParam);
}

TEST(GwLabel, TextTurnedNinetyDegreesRunsUpwards) {
    TFixture f;
    f.Label->Font()->SetColor(clBlack);
    f.Label->SetCaption("WWWWWWWW");
    int w = f.Label->Width();
    f.Label->SetAngle(90);
    TPaper p(f.Label->Width(), f.Label->Height());
    PaintTo(f.Label, p);
    TRect ink = InkBox(p, f.Label->Width(), f.Label->Height());
    ASSERT_GE(ink.Right, 0) << "nothing drawn in " << f.Label->Width() << "x" << f.Label->Height();
    EXPECT_GT(ink.Height(), ink.Width() * 3);
    EXPECT_GT(ink.Height(), w / 2);
}

TEST(GwLabel, DisabledTextIsEmbossedWhateverTheStyle) {
    TFixture f;
    f.Label->Font()->SetColor(clBlack);
    f.Label->SetCaption("WWW");
    f.Label->SetTextStyle(tsRaised);
    f.Label->SetColor(clRed);
    f.Label->SetEnabled(false);
    TPaper p(f.Label->Width(), f.Label->Height());
    PaintTo(f.Label, p);
    EXPECT_EQ(InkBox(p, f.Label->Width(), f.Label->Height()).Right, -1); // no black face
    bool shadow = false, light = false;
    for (int y = 0; y < f.Label->Height(); ++y)
        for (int x = 0; x < f.Label->Width(); ++x) {
            shadow |= ColorToRGB(p.At(x, y)) == ColorToRGB(clBtnShadow);
            light |= ColorToRGB(p.At(x, y)) == ColorToRGB(clBtnHighlight);
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(light);
}

TEST(GwLabel, LightRaisedTextLeavesOutTheShadowLayer) {
    TFixture f;
    f.Label->Font()->SetColor(clBlack);
    f.Label->SetShadowColor(clBlue);
    f.Label->SetHighlightColor(clLime);
    f.Label->SetCaption("WWW");
    f.Label->SetTextStyle(tsRaised);
    auto count = [&](TColor c) {
        TPaper p(f.Label->Width(), f.Label->Height());
        PaintTo(f.Label, p);
        int n = 0;
        for (int y = 0; y < f.Label->Height(); ++y)
            for (int x = 0; x < f.Label->Width(); ++x)
                n += ColorToRGB(p.At(x, y)) == ColorToRGB(c);
        return n;
    };
    EXPECT_GT(count(clBlue), 0);
    f.Label->SetLightTextStyle(true);
    EXPECT_EQ(count(clBlue), 0);
    EXPECT_GT(count(clLime), 0);
}

} // namespace

namespace {

TEST(GwURLLabel, ABlankAddressOpensTheCaptionAndMarksItVisited) {
    TApplication::QtApp();
    TForm form(nullptr);
    auto* url = new TGwURLLabel(&form);
    url->SetParent(&form);
    std::vector<std::string> opened;
    bool answer = false;
    url->OpenTarget = [&](std::string_view t) {
        opened.emplace_back(t);
        return answer;
    };
    url->SetCaption("www.example.org");
    url->URL = "   ";
    url->Click();
    EXPECT_FALSE(url->Visited()); // nothing took it
    answer = true;
    url->Click();
    url->URL = "https://example.org/a";
    url->Click();
    EXPECT_EQ(opened,
              (std::vector<std::string>{"www.example.org", "www.example.org", "https://example.org/a"}));
    EXPECT_TRUE(url->Visited());
    EXPECT_EQ(url->Font()->Color(), url->VisitedColor());
    url->SetCaption(" ");
    url->URL = "";
    url->Click();
    EXPECT_EQ(opened.size(), 3u); // a blank target does nothing
    EXPECT_EQ(url->Cursor(), crGwHand);
}

} // namespace
