// A measuring context for the list boxes (widget layer, lists, private to the family's sources).
#pragma once

#include "graphics.h"
#include "winapi.h"

// The screen's measuring context with a font selected; released on every path.
class TScreenDC {
public:
    explicit TScreenDC(const TFont* Font) : FDC(GetDC(nullptr)) { FDC->SetFont(Font); }
    ~TScreenDC() { ReleaseDC(nullptr, FDC); }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    TCanvas* operator->() const { return FDC; }
    TCanvas* Canvas() const { return FDC; }

private:
    HDC FDC;
};
