// Helpers for the Gw widget tests: the application (fonts), a white bitmap to draw on, and
// readable names for colours in failure messages.
#pragma once

#include <string>

#include "forms.h"
#include "graphics.h"
#include "sysutils.h"

// A white W x H bitmap whose pixels the tests read back.
class TPaper {
public:
    TPaper(int W, int H) {
        TApplication::QtApp();
        FBitmap.SetSize(W, H);
        Fill(clWhite);
    }
    TCanvas* Canvas() { return FBitmap.Canvas(); }
    TBitmap* Bitmap() { return &FBitmap; }
    TColor At(int X, int Y) { return FBitmap.Canvas()->GetPixel(X, Y); }
    void Fill(TColor C) {
        FBitmap.Canvas()->Brush()->SetColor(C);
        FBitmap.Canvas()->FillRect(TRect(0, 0, FBitmap.Width(), FBitmap.Height()));
    }
    // Pixels of row Y (or column X) from A to B inclusive, as "RRGGBB" words.
    std::string Row(int Y, int A, int B) {
        std::string s;
        for (int x = A; x <= B; ++x)
            s += (s.empty() ? "" : " ") + Hex(At(x, Y));
        return s;
    }
    static std::string Hex(TColor C) { return IntToHex(ColorToRGB(C), 6); }

private:
    TBitmap FBitmap;
};
