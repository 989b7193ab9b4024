// Script editor control: painting of rows (gutter face, fold marks, row number, bookmark glyph, text
// runs, selection, collapsed-section marker, hot-token frame) onto the window.
#include "UnitSyntaxMemo.h"

#include <functional>

#include "wingdi.h"

namespace {

constexpr TColor FoldLineColor = 0x808080;
constexpr TColor MarkerColor = 0xFF0000;
constexpr TColor HotFrameColor = 0x0000FF;
constexpr int GlyphSize = 11;

TFontStyles ToFontStyles(TMPStyle s) {
    TFontStyles f;
    if (s & mpsBold)
        f << fsBold;
    if (s & mpsItalic)
        f << fsItalic;
    if (s & mpsUnderline)
        f << fsUnderline;
    if (s & mpsStrikeOut)
        f << fsStrikeOut;
    return f;
}

// Fills the part of r that lies inside k.
void FillInside(TCanvas* C, const TRect& k, const TRect& r) {
    TRect part;
    if (IntersectRect(part, k, r))
        C->FillRect(part);
}

void Line(TCanvas* C, TColor Color, int X1, int Y1, int X2, int Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

} // namespace

void TMPCustomSyntaxMemo::MakeGlyphs() {
    // Ten bookmark images, one per digit: a teal tile with a black edge and the digit in white.
    FGlyphs->SetSize(10 * GlyphSize, GlyphSize);
    TCanvas* c = FGlyphs->Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-9);
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->Font()->SetColor(clWhite);
    for (int i = 0; i < 10; ++i) {
        const TRect r = Bounds(i * GlyphSize, 0, GlyphSize, GlyphSize);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clTeal);
        c->FillRect(r);
        c->Brush()->SetColor(clBlack);
        c->FrameRect(r);
        c->Brush()->SetStyle(bsClear);
        const std::string digit(1, char('0' + i));
        c->TextOut(r.Left + (GlyphSize - c->TextWidth(digit)) / 2,
                   r.Top + (GlyphSize - c->TextHeight(digit)) / 2, digit);
    }
}

void TMPCustomSyntaxMemo::PaintRow(TCanvas* C, int Row, const TRect& Gutter, const TRect& Text) {
    const TRect band = RowBand(Row);
    if (band.Height() <= 0)
        return;
    const int h = band.Height();
    const int line = MoveLines(FTopRow, Row, false);
    const bool exists = Lines()->ValidIndex(line);
    // The row's origin is moved to its top. What is drawn stays inside the row: text is held to its
    // box by TextRect, fills are cut to the text area, and what cannot be cut is drawn under a clip
    // (a clip costs more than all the row's fills).
    const TRect row(0, 0, band.Width() + 1, h);
    OffsetViewportOrgEx(C->Handle(), 0, band.Top, nullptr);
    TRect G = Gutter, T = Text;
    G.Top = T.Top = 0;
    G.Bottom = T.Bottom = h;
    if (exists && FShowRowNumbers) {
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(clBlack);
        const bool bold = line == Range()->GetPosY();
        C->Font()->SetStyle(bold ? Font()->Style() + TFontStyles{fsBold} : Font()->Style());
        const std::string number = IntToStr(line + 1);
        const int digit = Font()->Style().Empty() ? DigitWidth(bold) : 0;
        const int width = digit ? digit * int(number.size()) : C->TextWidth(number);
        // TextRect draws without measuring again (TextOut measures to move the pen).
        C->TextRect(row, G.Right - width - 4, 0, number);
    }
    int slot = -1;
    if (exists && Bookmarks()->Find(line, slot)) {
        // The images are drawn on the first bookmark shown, not while the program starts.
        if (FGlyphs->Width() == 0)
            MakeGlyphs();
        C->CopyRect(Bounds(G.Left + 2, 2, GlyphSize, GlyphSize), FGlyphs->Canvas(),
                    Bounds(slot * GlyphSize, 0, GlyphSize, GlyphSize));
    }

    if (exists) {
        PaintFoldMarks(C, G, line, h);
        TMPSyntaxParser tokens(Lines()->TokenListOf(line));
        if (tokens.Count() >= 2)
            tokens.MergeRuns();
        const TMPSynMemoRange* R = Range();
        int from = 0, to = 0;
        if (!R->IsEmpty() && line >= R->GetStartY() && line <= R->GetEndY()) {
            from = line == R->GetStartY() ? R->GetStartX() : -1;
            to = line == R->GetEndY() ? R->GetEndX() : 65535;
            tokens.MarkSelection(from, to);
        }
        const int x0 = T.Left - FHorzOffset;
        PaintTextRuns(C, T, x0, tokens, line, from, to);
        auto inText = [&](const std::function<void()>& draw) {
            const int saved = SaveDC(C->Handle());
            IntersectClipRect(C->Handle(), T.Left, 0, T.Right, h);
            draw();
            RestoreDC(C->Handle(), saved);
        };
        const TMPSynMemoSection* s = Sections()->SectionOfLine(line);
        if (s != Sections()->EntireSection() && s->Collapsed) {
            auto marker = [&] {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(Color());
                C->FillRect(Rect(T.Right - 33, 0, T.Right, h));
                const TRect frame(T.Right - 32, T.Top + 1, T.Right - 10, T.Bottom - 1);
                C->Brush()->SetColor(MarkerColor);
                C->FrameRect(frame);
                for (int k = 0; k < 3; ++k)
                    C->FillRect(Bounds(frame.Left + 5 + 5 * k, frame.Top + 8, 2, 2));
            };
            if (T.Width() >= 33)
                marker();
            else
                inText(marker);
        }
        if (FHotToken.y == line) {
            if (const TMPSyntaxToken* t = Lines()->TokenListOf(line)->Token(FHotToken.x)) {
                inText([&] {
                    C->Brush()->SetStyle(bsSolid);
                    C->Brush()->SetColor(HotFrameColor);
                    C->FrameRect(Rect(x0 + TextX(t->Start, line), 0, x0 + TextX(t->Start + t->Length, line),
                                      FLineHeight - 1));
                });
            }
        }
    }
    OffsetViewportOrgEx(C->Handle(), 0, -band.Top, nullptr);
}

void TMPCustomSyntaxMemo::PaintRowBackgrounds(TCanvas* C, int First, int Last) {
    const TRect top = RowBand(First), bottom = RowBand(Last);
    TRect G = GutterRect(First), T = TextAreaRect(First);
    G.Bottom = T.Bottom = bottom.Bottom;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    TRect B = G;
    B.Right = G.Right - (Options().Contains(smoVSNET_SectionsStyle) ? FSectionIndent + 4 : 4);
    C->FillRect(B);
    Line(C, clBtnHighlight, B.Right, B.Top, B.Right, B.Bottom);
    Line(C, clBtnShadow, B.Right + 1, B.Top, B.Right + 1, B.Bottom);
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(B.Right + 2, top.Top, G.Right, bottom.Bottom));
    C->FillRect(T);
}

void TMPCustomSyntaxMemo::PaintFoldMarks(TCanvas* C, const TRect& G, int Line_, int RowHeight) {
    const TMPSynMemoSection* s = Sections()->SectionOfLine(Line_);
    if (!s || s == Sections()->EntireSection())
        return;
    TRect box = FoldBox(0, s->Level);
    box.Top = RowHeight / 2 - 4;
    box.Bottom = box.Top + 9;
    const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
    if (s->FirstLine == Line_) {
        C->Brush()->SetStyle(bsSolid);
        if (s->Collapsed) {
            C->Brush()->SetColor(clWhite);
            C->FillRect(box);
        }
        C->Brush()->SetColor(clBlack);
        C->FrameRect(box);
        ::Line(C, clBlack, box.Left + 2, cy, box.Right - 2, cy);
        if (s->Collapsed)
            ::Line(C, clBlack, cx, box.Top + 2, cx, box.Bottom - 2);
        ::Line(C, FoldLineColor, box.Right, cy, G.Right - 2, cy);
        if (!s->Collapsed)
            ::Line(C, FoldLineColor, cx, box.Bottom, cx, G.Bottom);
    } else if (s->LastLine == Line_) {
        ::Line(C, FoldLineColor, cx, 0, cx, cy);
        C->LineTo(G.Right - 2, cy);
    } else {
        ::Line(C, FoldLineColor, cx, 0, cx, RowHeight);
    }
    if (!Options().Contains(smoVSNET_SectionsStyle))
        for (int k = 1; k < s->Level; ++k)
            ::Line(C, FoldLineColor, cx - k * FSectionIndent, 0, cx - k * FSectionIndent, RowHeight);
}

void TMPCustomSyntaxMemo::PaintTextRuns(TCanvas* C, const TRect& K, int X0, const TMPSyntaxParser& Tokens,
                                        int Line_, int SelFrom, int SelTo) {
    const int h = K.Bottom - K.Top;
    const std::string_view text = Lines()->Line(Line_);
    C->Brush()->SetStyle(bsSolid);
    for (const TMPSyntaxToken& t : Tokens.Tokens()) {
        const TMPColor back = SyntaxAttributes()->GetColor(t.Kind, true);
        if (t.Selected() || back == mpclNone)
            continue;
        C->Brush()->SetColor(back);
        FillInside(C, K,
                   Rect(X0 + TextX(t.Start, Line_), K.Top, X0 + TextX(t.Start + t.Length, Line_), K.Top + h));
    }
    if (SelFrom != SelTo) {
        const int left = X0 + (SelFrom > 0 ? TextX(SelFrom, Line_) : 0);
        const int right = SelTo < 65535 ? X0 + TextX(SelTo, Line_) : K.Right;
        C->Brush()->SetColor(FSelColor);
        FillInside(C, K, Rect(left, K.Top, right, K.Top + h));
    }
    C->Brush()->SetStyle(bsClear);
    const int space = Widths()[0][' '];
    int x = X0, lastEnd = 0;
    for (const TMPSyntaxToken& t : Tokens.Tokens()) {
        const TMPTokenStyle st = SyntaxAttributes()->GetTokenStyle(t.Kind);
        C->Font()->SetStyle(ToFontStyles(st.Style));
        C->Font()->SetColor(t.Selected() ? clBlack : st.Fore == mpclNone ? FDefForeColor : st.Fore);
        x += (t.Start - lastEnd) * space;
        const size_t start = std::min<size_t>(t.Start, text.size());
        const std::string piece(text.substr(start, std::min<size_t>(t.Length, text.size() - start)));
        if (x < K.Right && !piece.empty())
            C->TextRect(K, x, 0, piece); // the pen moves by the character widths, no measuring
        for (char ch : piece)
            x += Widths()[(st.Style & mpsBold) ? 1 : 0][static_cast<unsigned char>(ch)];
        lastEnd = t.Start + t.Length;
    }
}
