// The dot-matrix LED display and its 256-glyph font.
#include "Gwborder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "messages.h"

namespace {

using TGlyph = std::array<std::uint8_t, 5>;

// Printable ASCII drawn with the top row in bit 0; turned over into the display's order (top row in
// bit 7) when the font is built.
constexpr std::uint8_t Ascii[95][5] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x5F, 0x00, 0x00}, {0x00, 0x07, 0x00, 0x07, 0x00},
    {0x14, 0x7F, 0x14, 0x7F, 0x14}, {0x24, 0x2A, 0x7F, 0x2A, 0x12}, {0x23, 0x13, 0x08, 0x64, 0x62},
    {0x36, 0x49, 0x56, 0x20, 0x50}, {0x00, 0x05, 0x03, 0x00, 0x00}, {0x00, 0x1C, 0x22, 0x41, 0x00},
    {0x00, 0x41, 0x22, 0x1C, 0x00}, {0x2A, 0x1C, 0x7F, 0x1C, 0x2A}, {0x08, 0x08, 0x3E, 0x08, 0x08},
    {0x00, 0x50, 0x30, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08}, {0x00, 0x00, 0x40, 0x00, 0x00},
    {0x20, 0x10, 0x08, 0x04, 0x02}, {0x3E, 0x51, 0x49, 0x45, 0x3E}, {0x00, 0x42, 0x7F, 0x40, 0x00},
    {0x42, 0x61, 0x51, 0x49, 0x46}, {0x21, 0x41, 0x45, 0x4B, 0x31}, {0x18, 0x14, 0x12, 0x7F, 0x10},
    {0x27, 0x45, 0x45, 0x45, 0x39}, {0x3C, 0x4A, 0x49, 0x49, 0x30}, {0x01, 0x71, 0x09, 0x05, 0x03},
    {0x36, 0x49, 0x49, 0x49, 0x36}, {0x06, 0x49, 0x49, 0x29, 0x1E}, {0x00, 0x36, 0x36, 0x00, 0x00},
    {0x00, 0x56, 0x36, 0x00, 0x00}, {0x08, 0x14, 0x22, 0x41, 0x00}, {0x14, 0x14, 0x14, 0x14, 0x14},
    {0x00, 0x41, 0x22, 0x14, 0x08}, {0x02, 0x01, 0x51, 0x09, 0x06}, {0x32, 0x49, 0x79, 0x41, 0x3E},
    {0x7E, 0x09, 0x09, 0x09, 0x7E}, {0x7F, 0x49, 0x49, 0x49, 0x36}, {0x3E, 0x41, 0x41, 0x41, 0x22},
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, {0x7F, 0x49, 0x49, 0x49, 0x41}, {0x7F, 0x09, 0x09, 0x09, 0x01},
    {0x3E, 0x41, 0x49, 0x49, 0x7A}, {0x7F, 0x08, 0x08, 0x08, 0x7F}, {0x00, 0x41, 0x7F, 0x41, 0x00},
    {0x20, 0x40, 0x41, 0x3F, 0x01}, {0x7F, 0x08, 0x14, 0x22, 0x41}, {0x7F, 0x40, 0x40, 0x40, 0x40},
    {0x7F, 0x02, 0x0C, 0x02, 0x7F}, {0x7F, 0x04, 0x08, 0x10, 0x7F}, {0x3E, 0x41, 0x41, 0x41, 0x3E},
    {0x7F, 0x09, 0x09, 0x09, 0x06}, {0x3E, 0x41, 0x51, 0x21, 0x5E}, {0x7F, 0x09, 0x19, 0x29, 0x46},
    {0x46, 0x49, 0x49, 0x49, 0x31}, {0x01, 0x01, 0x7F, 0x01, 0x01}, {0x3F, 0x40, 0x40, 0x40, 0x3F},
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, {0x3F, 0x40, 0x38, 0x40, 0x3F}, {0x63, 0x14, 0x08, 0x14, 0x63},
    {0x07, 0x08, 0x70, 0x08, 0x07}, {0x61, 0x51, 0x49, 0x45, 0x43}, {0x00, 0x7F, 0x41, 0x41, 0x00},
    {0x02, 0x04, 0x08, 0x10, 0x20}, {0x00, 0x41, 0x41, 0x7F, 0x00}, {0x04, 0x02, 0x01, 0x02, 0x04},
    {0x40, 0x40, 0x40, 0x40, 0x40}, {0x00, 0x01, 0x02, 0x04, 0x00}, {0x20, 0x54, 0x54, 0x54, 0x78},
    {0x7F, 0x48, 0x44, 0x44, 0x38}, {0x38, 0x44, 0x44, 0x44, 0x20}, {0x38, 0x44, 0x44, 0x48, 0x7F},
    {0x38, 0x54, 0x54, 0x54, 0x18}, {0x08, 0x7E, 0x09, 0x01, 0x02}, {0x0C, 0x52, 0x52, 0x52, 0x3E},
    {0x7F, 0x08, 0x04, 0x04, 0x78}, {0x00, 0x44, 0x7D, 0x40, 0x00}, {0x20, 0x40, 0x44, 0x3D, 0x00},
    {0x7F, 0x10, 0x28, 0x44, 0x00}, {0x00, 0x41, 0x7F, 0x40, 0x00}, {0x7C, 0x04, 0x18, 0x04, 0x78},
    {0x7C, 0x08, 0x04, 0x04, 0x78}, {0x38, 0x44, 0x44, 0x44, 0x38}, {0x7C, 0x14, 0x14, 0x14, 0x08},
    {0x08, 0x14, 0x14, 0x18, 0x7C}, {0x7C, 0x08, 0x04, 0x04, 0x08}, {0x48, 0x54, 0x54, 0x54, 0x20},
    {0x04, 0x3F, 0x44, 0x40, 0x20}, {0x3C, 0x40, 0x40, 0x20, 0x7C}, {0x1C, 0x20, 0x40, 0x20, 0x1C},
    {0x3C, 0x40, 0x30, 0x40, 0x3C}, {0x44, 0x28, 0x10, 0x28, 0x44}, {0x0C, 0x50, 0x50, 0x50, 0x3C},
    {0x44, 0x64, 0x54, 0x4C, 0x44}, {0x00, 0x08, 0x36, 0x41, 0x00}, {0x00, 0x00, 0x7F, 0x00, 0x00},
    {0x00, 0x41, 0x36, 0x08, 0x00}, {0x02, 0x01, 0x02, 0x04, 0x02},
};

// Codes 192..255 of the Western European code page: the letter each accented one is built on.
constexpr char AccentBase[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";

std::uint8_t TurnOver(std::uint8_t TopInBit0) {
    std::uint8_t b = 0;
    for (int row = 0; row < 7; ++row)
        if (TopInBit0 & (1 << row))
            b |= std::uint8_t(0x80 >> row);
    return b;
}

std::array<TGlyph, 256> BuildFont() {
    std::array<TGlyph, 256> f{};
    for (int c = 32; c < 127; ++c)
        for (int k = 0; k < 5; ++k)
            f[c][k] = TurnOver(Ascii[c - 32][k]);
    f[127] = {0x00, 0x7C, 0x7C, 0x7C, 0x00};
    f['A'] = {0x7E, 0x90, 0x90, 0x90, 0x7E};
    // Accented letters: the base letter, an upper-case one moved down a row, under a dot accent.
    for (int c = 192; c < 256; ++c) {
        const std::uint8_t base = std::uint8_t(AccentBase[c - 192]);
        for (int k = 0; k < 5; ++k) {
            std::uint8_t b = f[base][k];
            if (base >= 'A' && base <= 'Z')
                b = std::uint8_t((b >> 1) & 0x7E);
            f[c][k] = std::uint8_t(b | (k == 2 ? 0x80 : 0));
        }
    }
    f[192] = {0x1E, 0xA8, 0x68, 0x28, 0x1E};
    // Punctuation and signs of 128..191 that the display has no own dots for show the block; the
    // blank codes stay unlit.
    for (int c = 128; c < 192; ++c)
        f[c] = f[127];
    for (int c : {128, 133, 134, 145, 146, 153})
        f[c] = TGlyph{};
    f[160] = TGlyph{}; // no-break space
    return f;
}

} // namespace

const std::uint8_t* GwLEDGlyph(std::uint8_t Code) {
    static const std::array<TGlyph, 256> Font = BuildFont();
    return Font[Code].data();
}

// ---------------------------------------------------------------- TGwLEDDisplay

TGwLEDDisplay::TGwLEDDisplay(TComponent* AOwner) : TGwBorder(AOwner), FTimer(new TTimer(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    FTimer->SetEnabled(false);
    FTimer->SetInterval(FScrollDelay);
    FTimer->OnTimer = [this](TObject* Sender) { TimerTick(Sender); };
    SetBorderOuter(fsStatus);
    SetBounds(Left(), Top(), 100, 30);
    FScrollSteps = Width();
    FTimer->SetEnabled(FScrolling);
}

TGwLEDDisplay::~TGwLEDDisplay() { FTimer->OnTimer = nullptr; }

void TGwLEDDisplay::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TGwBorder::SetBounds(ALeft, ATop, AWidth, AHeight);
    DeriveDotSize();
}

void TGwLEDDisplay::Loaded() {
    TGwBorder::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TGwLEDDisplay::DeriveDotSize() {
    const int ih = GetClientRect().Height();
    FDotSize = std::max(1, int(ih / 7.6));
    FDotSpacing = int(FDotSize * 0.1);
    DeriveScrollSteps();
}

void TGwLEDDisplay::DeriveScrollSteps() { FScrollSteps = int(FCaption.size()) * CellWidth() + Width(); }

void TGwLEDDisplay::SetCaption(const std::string& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Perform(CM_TEXTCHANGED);
    Repaint();
}

void TGwLEDDisplay::CMTextChanged(TMessage& Message) {
    TGwBorder::CMTextChanged(Message);
    DeriveScrollSteps();
    Invalidate();
}

void TGwLEDDisplay::SetScrolling(bool Value) {
    if (FScrolling == Value)
        return;
    FScrolling = Value;
    FTimer->SetEnabled(Value);
    if (!Value)
        FScrollPos = 0;
    Invalidate();
}

void TGwLEDDisplay::SetScrollType(TGwScrollType Value) {
    if (FScrollType == Value)
        return;
    FScrollType = Value;
    FTimer->SetEnabled(Value != stNone);
    Invalidate();
}

void TGwLEDDisplay::SetScrollDelay(std::uint16_t Value) {
    if (FScrollDelay == Value)
        return;
    FScrollDelay = Value;
    FTimer->SetInterval(Value);
}

void TGwLEDDisplay::TimerTick(TObject*) {
    if (!FTimer->Enabled())
        return;
    FScrollPos += Pitch();
    Repaint();
    if (FScrollPos >= FScrollSteps) {
        FScrollPos = 0;
        if (OnScrollComplete)
            OnScrollComplete(this);
    }
}

void TGwLEDDisplay::DrawCell(TCanvas* Canvas, std::uint8_t Code, int X, int Y) {
    const TCellKey key{FBackColor, FSegOnColor, FSegOffColor, FDotSize, FDotSpacing};
    if (!(key == FCellKey)) {
        for (auto& cell : FCells)
            cell.reset();
        FCellKey = key;
    }
    // The dots' outlines are the background's colour, so the cell's picture over the background
    // is what drawing its dots there gives.
    const int w = 5 * Pitch() + FDotSize + 1, h = 6 * Pitch() + FDotSize + 1;
    std::unique_ptr<TBitmap>& cell = FCells[Code];
    if (!cell) {
        cell = std::make_unique<TBitmap>();
        cell->SetSize(w, h);
        cell->Canvas()->Brush()->SetColor(FBackColor);
        cell->Canvas()->FillRect(TRect(0, 0, w, h));
        DrawDots(cell->Canvas(), Code, 0, 0);
    }
    Canvas->CopyRect(Bounds(X, Y, w, h), cell->Canvas(), TRect(0, 0, w, h));
}

void TGwLEDDisplay::DrawDots(TCanvas* Canvas, std::uint8_t Code, int X, int Y) {
    const std::uint8_t* g = GwLEDGlyph(Code < 32 ? 127 : Code);
    const int p = Pitch();
    Canvas->Pen()->SetColor(FBackColor);
    for (int r = 0; r < 7; ++r)
        for (int k = 0; k < 6; ++k) {
            const bool on = k < 5 && (g[k] & (0x80 >> r));
            Canvas->Brush()->SetColor(on ? FSegOnColor : FSegOffColor);
            const int x = X + k * p, y = Y + r * p;
            Canvas->Rectangle(x, y, x + FDotSize + 1, y + FDotSize + 1);
        }
}

// Draws columns X0..X1-1 of the picture, clipped to them: the background, the blank cells, then
// the text cells, each cell only when its dots reach into the band.
void TGwLEDDisplay::DrawPicture(TCanvas* c, int iw, int ih, int x0, int x1) {
    const int saved = c->SaveDC();
    c->IntersectClipRect(x0, 0, x1, ih);
    c->Brush()->SetColor(FBackColor);
    c->FillRect(TRect(x0, 0, x1, ih));
    const int cw = CellWidth(), n = int(FCaption.size());
    const int top = (ih - CellHeight()) / 2;
    // The last dot column's outline ends one pixel past the cell.
    auto cell = [&](std::uint8_t code, int x) {
        if (x < x1 && x + cw + 1 > x0)
            DrawCell(c, code, x, top);
    };
    const TAlignment align = FScrolling ? taLeftJustify : FAlignment;
    if (align == taLeftJustify) {
        for (int x = 0; x < iw; x += cw)
            cell(' ', x);
    } else if (align == taCenter) {
        for (int x = ((iw - n * cw) / 2) % cw - cw; x < iw; x += cw)
            cell(' ', x);
    } else {
        for (int x = iw - cw; x > -cw; x -= cw)
            cell(' ', x);
    }
    const bool moving = FScrolling && FScrollType != stNone;
    int offset = 0;
    if (moving)
        offset = FScrollType == stRightToLeft ? (iw / Pitch()) * Pitch() - FScrollPos : FScrollPos - n * cw;
    for (int i = 0; i < n; ++i) {
        int x;
        if (align == taLeftJustify)
            x = offset + i * cw;
        else if (align == taCenter)
            x = (iw - n * cw) / 2 + i * cw;
        else
            x = iw - cw * (n - i);
        cell(std::uint8_t(FCaption[i]), x);
    }
    c->RestoreDC(saved);
}

void TGwLEDDisplay::Paint() {
    TGwBorder::Paint();
    const TRect cr = GetClientRect();
    const int iw = cr.Width(), ih = cr.Height();
    if (iw <= 0 || ih <= 7)
        return;
    const TPictureKey now{FCaption,   FAlignment, FBackColor,  FSegOnColor, FSegOffColor, FScrollType,
                          FScrolling, FDotSize,   FDotSpacing, iw,          ih,           FScrollPos};
    TPictureKey moved = FDrawn;
    moved.ScrollPos = FScrollPos;
    // A scroll step moves the text by whole pitches over blank dots on the same pitch: the picture
    // moves along, and only the band that comes into view is drawn.
    const int step =
        FScrollType == stRightToLeft ? FDrawn.ScrollPos - FScrollPos : FScrollPos - FDrawn.ScrollPos;
    const bool shifts = FPicture && moved == now && FScrolling && FScrollType != stNone &&
                        step % Pitch() == 0 && std::abs(step) < iw;
    if (shifts && step != 0) {
        TCanvas* to = FSpare->Canvas();
        to->CopyRect(TRect(std::max(step, 0), 0, iw + std::min(step, 0), ih), FPicture->Canvas(),
                     TRect(std::max(-step, 0), 0, iw - std::max(step, 0), ih));
        if (step > 0)
            DrawPicture(to, iw, ih, 0, step);
        else
            DrawPicture(to, iw, ih, iw + step, iw);
        std::swap(FPicture, FSpare);
    } else if (!(FPicture && FDrawn == now)) {
        for (auto* b : {&FPicture, &FSpare}) {
            if (!*b)
                *b = std::make_unique<TBitmap>();
            (*b)->SetSize(iw, ih);
        }
        DrawPicture(FPicture->Canvas(), iw, ih, 0, iw);
    }
    FDrawn = now;
    Canvas()->Draw(cr.Left, cr.Top, FPicture.get());
}
