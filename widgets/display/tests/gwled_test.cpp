// The LED display: its font, dot sizes, cell placement and the scroll timer.
#include <gtest/gtest.h>

#include <vector>

#include "Gwborder.h"
#include "forms.h"
#include "gw_support.h"

namespace {

struct TGlyphCase {
    int Code;
    std::vector<int> Bytes;
};
void PrintTo(const TGlyphCase& c, std::ostream* os) { *os << "code " << c.Code; }

class GwLEDFont : public ::testing::TestWithParam<TGlyphCase> {};

TEST_P(GwLEDFont, ColumnBytesTopRowInTheHighBit) {
    const std::uint8_t* g = GwLEDGlyph(std::uint8_t(GetParam().Code));
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(g[k], GetParam().Bytes[k]) << "column " << k;
}

INSTANTIATE_TEST_SUITE_P(Rows, GwLEDFont,
                         ::testing::Values(TGlyphCase{48, {0x7C, 0x8A, 0x92, 0xA2, 0x7C}},
                                           TGlyphCase{49, {0x00, 0x42, 0xFE, 0x02, 0x00}},
                                           TGlyphCase{65, {0x7E, 0x90, 0x90, 0x90, 0x7E}},
                                           TGlyphCase{97, {0x04, 0x2A, 0x2A, 0x2A, 0x1E}},
                                           TGlyphCase{45, {0x10, 0x10, 0x10, 0x10, 0x10}},
                                           TGlyphCase{46, {0x00, 0x00, 0x02, 0x00, 0x00}},
                                           TGlyphCase{33, {0x00, 0x00, 0xFA, 0x00, 0x00}},
                                           TGlyphCase{127, {0x00, 0x7C, 0x7C, 0x7C, 0x00}},
                                           TGlyphCase{192, {0x1E, 0xA8, 0x68, 0x28, 0x1E}}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.Code); });

TEST(GwLEDFont, BlankCodesHaveNoDotsAndTheRestHave) {
    const std::vector<int> blank{32, 128, 133, 134, 145, 146, 153};
    for (int c = 32; c < 256; ++c) {
        const std::uint8_t* g = GwLEDGlyph(std::uint8_t(c));
        const bool lit = g[0] | g[1] | g[2] | g[3] | g[4];
        const bool isBlank = std::find(blank.begin(), blank.end(), c) != blank.end() || c == 160;
        EXPECT_EQ(lit, !isBlank) << "code " << c;
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(g[k] & 1, 0) << "code " << c << " uses the unused bit";
    }
}

struct TLedFixture {
    TForm Form{nullptr};
    TGwLEDDisplay Led{&Form};
    TPaper Paper{100, 30};
    TLedFixture() {
        Form.SetBounds(0, 0, 300, 200);
        Led.SetParent(&Form);
        Led.SetBounds(0, 0, 100, 30);
    }
    void Paint() { Led.Perform(WM_PAINT, WPARAM(Paper.Canvas())); }
    // Whether dot (column K, row R) of the cell whose left edge is X (client coordinates) is lit.
    bool Lit(int X, int K, int R) {
        const int top = (28 - 21) / 2;
        return Paper.At(1 + X + K * 3 + 1, 1 + top + R * 3 + 1) == clLime;
    }
};

TEST(GwLEDDisplay, ThirtyPixelsHighGivesThreePixelDotsAndCellsOf18By21) {
    TLedFixture f;
    EXPECT_EQ(f.Led.ClientRect().Height(), 28);
    EXPECT_EQ(f.Led.DotSize(), 3);
    EXPECT_EQ(f.Led.DotSpacing(), 0);
    f.Led.SetCaption("ab");
    EXPECT_EQ(f.Led.ScrollSteps(), 2 * 18 + 100);
}

TEST(GwLEDDisplay, ControlCharactersShowTheBlockAndAlignmentPlacesTheText) {
    TLedFixture f;
    f.Led.SetCaption(std::string("\x01", 1));
    f.Paint();
    EXPECT_TRUE(f.Lit(0, 1, 1));
    EXPECT_FALSE(f.Lit(0, 0, 1));
    EXPECT_FALSE(f.Lit(0, 1, 0));
    f.Led.SetCaption("!");
    f.Led.SetAlignment(taRightJustify);
    f.Paint();
    EXPECT_TRUE(f.Lit(98 - 18, 2, 0));
    EXPECT_FALSE(f.Lit(0, 2, 0));
}

// The picture a display of 98 x 28 client pixels, three-pixel dots, shows for a left-aligned
// caption: the background, then each cell's 7 x 6 dots drawn one by one.
void DrawDotByDot(TPaper& paper, const std::string& caption, TColor on) {
    TCanvas* c = paper.Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(1, 1, 99, 29));
    c->Pen()->SetColor(clBlack);
    for (int cell = 0; cell * 18 < 98; ++cell) {
        const auto code = std::uint8_t(cell < int(caption.size()) ? caption[size_t(cell)] : ' ');
        const std::uint8_t* g = GwLEDGlyph(code);
        for (int r = 0; r < 7; ++r)
            for (int k = 0; k < 6; ++k) {
                c->Brush()->SetColor(k < 5 && (g[k] & (0x80 >> r)) ? on : TColor(0x00003300));
                const int x = 1 + cell * 18 + k * 3, y = 1 + 3 + r * 3;
                c->Rectangle(x, y, x + 4, y + 4);
            }
    }
}

TEST(GwLEDDisplay, CellsShowTheirDotsAsDrawnOneByOneAfterAColourChange) {
    TLedFixture f;
    f.Led.SetScrolling(false);
    f.Led.SetCaption("QBX-510");
    for (TColor on : {TColor(clLime), TColor(clRed)}) {
        f.Led.SetSegOnColor(on);
        f.Paint();
        TPaper want(100, 30);
        DrawDotByDot(want, "QBX-510", on);
        for (int y = 1; y < 29; ++y)
            EXPECT_EQ(f.Paper.Row(y, 1, 98), want.Row(y, 1, 98)) << "row " << y;
    }
}

TEST(GwLEDDisplay, AnInteriorOfSevenPixelsPaintsOnlyTheFrame) {
    TLedFixture f;
    f.Led.SetBounds(0, 0, 100, 9);
    f.Led.SetCaption("!");
    f.Paint();
    EXPECT_EQ(TPaper::Hex(f.Paper.At(50, 4)), TPaper::Hex(clWhite));
}

TEST(GwLEDDisplay, TimerTicksAdvanceOnePitchAndEndThePass) {
    TLedFixture f;
    int completed = 0;
    f.Led.OnScrollComplete = [&](TObject*) { ++completed; };
    f.Led.SetCaption("a");
    f.Led.Timer()->OnTimer(nullptr);
    EXPECT_EQ(f.Led.ScrollPos(), 0) << "a disabled timer's tick is ignored";
    f.Led.SetScrolling(true);
    f.Led.Timer()->OnTimer(nullptr);
    EXPECT_EQ(f.Led.ScrollPos(), 3);
    f.Led.SetScrolling(false);
    EXPECT_EQ(f.Led.ScrollPos(), 0);
    EXPECT_FALSE(f.Led.Timer()->Enabled());
    // A moving type with scrolling off still runs the timer and completes passes.
    f.Led.SetScrollType(stNone);
    f.Led.SetScrollType(stLeftToRight);
    EXPECT_TRUE(f.Led.Timer()->Enabled());
    const int ticks = (f.Led.ScrollSteps() + 2) / 3;
    for (int i = 0; i < ticks; ++i)
        f.Led.Timer()->OnTimer(nullptr);
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(f.Led.ScrollPos(), 0);
}

TEST(GwLEDDisplay, RightToLeftScrollingStartsJustRightOfTheDisplay) {
    TLedFixture f;
    f.Led.SetCaption("!");
    f.Led.SetAlignment(taCenter);
    f.Led.SetScrolling(true);
    f.Paint();
    for (int x = 0; x + 18 <= 98; x += 18)
        EXPECT_FALSE(f.Lit(x, 2, 0)) << x;
    const int ticks = 98 / 3 - 8; // the text's left edge moves from 96 to 24
    for (int i = 0; i < ticks; ++i)
        f.Led.Timer()->OnTimer(nullptr);
    f.Paint();
    EXPECT_TRUE(f.Lit(96 - ticks * 3, 2, 0));
}

// The display keeps its picture and moves it from tick to tick; after every tick it must show what
// a display painted afresh at the same scroll position shows: both directions, dots without and
// with spacing, a pass and into the next, and a colour changed on the way.
TEST(GwLEDDisplay, EachScrollStepShowsWhatAFreshPaintShows) {
    auto pixels = [](TGwLEDDisplay& led) {
        TPaper paper(led.Width(), led.Height());
        led.Perform(WM_PAINT, WPARAM(paper.Canvas()));
        std::vector<TColor> out;
        for (int y = 0; y < led.Height(); ++y)
            for (int x = 0; x < led.Width(); ++x)
                out.push_back(paper.At(x, y));
        return out;
    };
    for (int height : {30, 100, 170})
        for (TGwScrollType type : {stRightToLeft, stLeftToRight}) {
            SCOPED_TRACE("height " + std::to_string(height) +
                         (type == stRightToLeft ? ", right to left" : ""));
            TForm form(nullptr);
            form.SetBounds(0, 0, 300, 200);
            auto make = [&] {
                auto* led = new TGwLEDDisplay(&form);
                led->SetParent(&form);
                led->SetBounds(0, 0, 130, height);
                led->SetCaption("A1-\xC0!");
                led->SetScrollType(type);
                led->SetScrolling(true);
                return led;
            };
            TGwLEDDisplay* kept = make();
            const int ticks = kept->ScrollSteps() / (kept->DotSize() + kept->DotSpacing()) + 5;
            for (int tick = 1; tick <= ticks; ++tick) {
                kept->Timer()->OnTimer(nullptr);
                if (tick == ticks / 2)
                    kept->SetSegOnColor(clYellow);
                TGwLEDDisplay* fresh = make();
                for (int i = 1; i <= tick; ++i) {
                    fresh->Timer()->OnTimer(nullptr);
                    if (i == ticks / 2)
                        fresh->SetSegOnColor(clYellow);
                }
                ASSERT_EQ(fresh->ScrollPos(), kept->ScrollPos());
                ASSERT_TRUE(pixels(*kept) == pixels(*fresh))
                    << "tick " << tick << ", position " << kept->ScrollPos();
                delete fresh;
            }
        }
}

} // namespace
