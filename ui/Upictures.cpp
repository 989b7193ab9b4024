// The pictures are drawn rather than loaded, so the program needs no image files beside it.
#include "Upictures.h"

#include <initializer_list>

namespace {

constexpr int kSize = 16;
constexpr TColor kKey = clFuchsia;

void Box(TCanvas* C, TColor Fill, TColor Edge, TRect R) {
    C->Pen()->SetColor(Edge);
    C->Brush()->SetColor(Fill);
    C->Rectangle(R);
}

void Line(TCanvas* C, TColor Color, int Width, std::initializer_list<TPoint> Points) {
    C->Pen()->SetColor(Color);
    C->Pen()->SetWidth(Width);
    const TPoint* p = Points.begin();
    C->MoveTo(p->x, p->y);
    for (++p; p != Points.end(); ++p)
        C->LineTo(p->x, p->y);
    C->Pen()->SetWidth(1);
}

// A stack of three object blocks.
void DrawObjects(TCanvas* C) {
    Box(C, TColor(0x3C8CE0), clNavy, TRect(1, 9, 8, 15));
    Box(C, TColor(0x3C8CE0), clNavy, TRect(8, 9, 15, 15));
    Box(C, TColor(0x50B4F0), clNavy, TRect(4, 2, 12, 9));
}

// A script page with text lines.
void DrawSubprograms(TCanvas* C) {
    Box(C, clWhite, clNavy, TRect(2, 1, 14, 15));
    for (int y = 4; y <= 12; y += 2)
        Line(C, y == 8 ? clGreen : clBlue, 1, {{4, y}, {y == 6 ? 9 : 12, y}});
}

// A lightning bolt: the quick channel setup.
void DrawExpress(TCanvas* C) {
    C->Pen()->SetColor(TColor(0x0070C0));
    C->Brush()->SetColor(TColor(0x00D0FF));
    const TPoint bolt[] = {{9, 0}, {3, 9}, {7, 9}, {5, 15}, {13, 5}, {9, 5}, {11, 0}};
    C->Polygon(bolt, 7);
}

// An arrow down into the device.
void DrawLoad(TCanvas* C) {
    Box(C, clSilver, clBlack, TRect(1, 11, 15, 15));
    Line(C, clGreen, 2, {{8, 1}, {8, 9}});
    Line(C, clGreen, 2, {{4, 6}, {8, 10}, {12, 6}});
}

// A measured signal on a scale: the channels.
void DrawChannels(TCanvas* C) {
    Box(C, clWhite, clGray, TRect(0, 1, 16, 15));
    Line(C, clRed, 2, {{2, 10}, {5, 4}, {8, 11}, {11, 5}, {14, 8}});
}

// A check mark: apply the changes.
void DrawApply(TCanvas* C) { Line(C, clGreen, 3, {{2, 8}, {6, 12}, {14, 3}}); }

// A floppy: the spare button.
void DrawSpare(TCanvas* C) {
    Box(C, clNavy, clNavy, TRect(2, 2, 14, 14));
    Box(C, clWhite, clWhite, TRect(4, 3, 12, 7));
    Box(C, clSilver, clSilver, TRect(5, 10, 11, 14));
}

// A hooked arrow back: restore the original text.
void DrawRevert(TCanvas* C) {
    Line(C, clMaroon, 2, {{13, 13}, {13, 7}, {11, 5}, {4, 5}});
    Line(C, clMaroon, 2, {{7, 2}, {4, 5}, {7, 8}});
}

void Start(TBitmap* B) {
    B->SetSize(kSize, kSize);
    B->Canvas()->Brush()->SetColor(kKey);
    B->Canvas()->FillRect(TRect(0, 0, kSize, kSize));
}

} // namespace

void FillTabPictures(TImageList* List) {
    static void (*const draw[tpCount])(TCanvas*) = {DrawObjects, DrawSubprograms, DrawExpress, DrawLoad,
                                                    DrawChannels};
    List->Clear();
    List->SetWidth(kSize);
    List->SetHeight(kSize);
    for (auto* d : draw) {
        TBitmap b;
        Start(&b);
        d(b.Canvas());
        List->AddMasked(&b, kKey);
    }
}

void DrawGlyphPicture(TGlyphPicture Picture, TBitmap* Glyph) {
    Start(Glyph);
    switch (Picture) {
    case gpApply: DrawApply(Glyph->Canvas()); break;
    case gpSpare: DrawSpare(Glyph->Canvas()); break;
    case gpRevert: DrawRevert(Glyph->Canvas()); break;
    }
    Glyph->SetTransparentColor(kKey);
}
