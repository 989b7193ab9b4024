// DrawFrameControl in the classic look: push, check and radio buttons, scroll and combo arrows,
// menu marks, the caption's close box. Shapes are pixel maps and the colours the classic system colours. GUI
// core.
#include "graphics.h"

#include <algorithm>

#include "wingdi.h"

namespace {

void Fill(HDC dc, int l, int t, int r, int b, TColor c) {
    TGdiBrush brush;
    brush.Color = COLORREF(ColorToRGB(c));
    TRect box(l, t, r, b);
    FillRect(dc, &box, &brush);
}

// Paints a pixel map at (x, y): each character names its colour through ink(); '.' is left alone.
template <size_t N, class Ink> void Map(HDC dc, int x, int y, const char* const (&rows)[N], Ink ink) {
    for (size_t j = 0; j < N; ++j)
        for (int i = 0; rows[j][i]; ++i)
            if (rows[j][i] != '.')
                dc->SetPixel(x + i, y + int(j), ink(rows[j][i]));
}

const char* const kCheckMark[] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

// S shadow and D dark shadow (upper left), H highlight and L light (lower right), W inside.
const char* const kRadio[] = {
    "....SSSS....", "..SSDDDDSS..", ".SDDWWWWDDH.", ".SDWWWWWWLH.", "SDWWWWWWWWLH", "SDWWWWWWWWLH",
    "SDWWWWWWWWLH", "SDWWWWWWWWLH", ".SDWWWWWWLH.", ".HLLWWWWLLH.", "..HHLLLLHH..", "....HHHH....",
};
const char* const kRadioDot[] = {
    ".XX.",
    "XXXX",
    "XXXX",
    ".XX.",
};
const char* const kMenuBullet[] = {
    ".XXXX.", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", ".XXXX.",
};
const char* const kCloseCross[] = {
    "XX....XX", ".XX..XX.", "..XXXX..", "...XX...", "..XXXX..", ".XX..XX.", "XX....XX",
};
const char* const kMenuArrow[] = {
    "X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X...",
};

// The frame variants DFCS_FLAT and DFCS_MONO as DrawEdge flags.
unsigned EdgeStyle(unsigned state) {
    return (state & DFCS_FLAT ? unsigned(BF_FLAT) : 0u) | (state & DFCS_MONO ? unsigned(BF_MONO) : 0u);
}

// The largest square centred in r.
TRect Square(const TRect& r) {
    int side = std::min(r.Width(), r.Height());
    int l = r.Left + (r.Width() - side) / 2, t = r.Top + (r.Height() - side) / 2;
    return TRect(l, t, l + side, t + side);
}

bool CheckBox(HDC dc, const TRect& r, unsigned state) {
    TRect box = Square(r);
    if (box.Width() < 4)
        return false;
    const bool inactive = state & DFCS_INACTIVE;
    const bool mixed = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    unsigned flags = BF_RECT | BF_ADJUST | EdgeStyle(state);
    TRect in = box;
    dc->DrawEdge(in, EDGE_SUNKEN, flags);
    if (mixed) {
        // The indeterminate box is dithered, as the classic look has it.
        for (int y = in.Top; y < in.Bottom; ++y)
            for (int x = in.Left; x < in.Right; ++x)
                dc->SetPixel(x, y, ((x + y) & 1) ? clBtnHighlight : clBtnFace);
    } else {
        Fill(dc, in.Left, in.Top, in.Right, in.Bottom,
             inactive || (state & DFCS_PUSHED) ? clBtnFace : clWindow);
    }
    if (state & DFCS_CHECKED) {
        TColor ink = inactive || mixed ? clBtnShadow : clWindowText;
        Map(dc, box.Left + (box.Width() - 7) / 2, box.Top + (box.Height() - 7) / 2, kCheckMark,
            [&](char) { return ink; });
    }
    return true;
}

bool RadioButton(HDC dc, const TRect& r, unsigned state, unsigned kind) {
    TRect box = Square(r);
    int x = box.Left + (box.Width() - 12) / 2, y = box.Top + (box.Height() - 12) / 2;
    if (kind == DFCS_BUTTONRADIOMASK) {
        Fill(dc, box.Left, box.Top, box.Right, box.Bottom, clWhite);
        Map(dc, x, y, kRadio, [](char) { return clBlack; });
        return true;
    }
    const TColor inside = state & (DFCS_INACTIVE | DFCS_PUSHED) ? clBtnFace : clWindow;
    Map(dc, x, y, kRadio, [&](char c) {
        switch (c) {
        case 'S': return clBtnShadow;
        case 'D': return cl3DDkShadow;
        case 'H': return clBtnHighlight;
        case 'L': return cl3DLight;
        default: return inside;
        }
    });
    if (state & DFCS_CHECKED) {
        TColor ink = state & DFCS_INACTIVE ? clBtnShadow : clWindowText;
        Map(dc, x + 4, y + 4, kRadioDot, [&](char) { return ink; });
    }
    return true;
}

bool PushButton(HDC dc, TRect* r, unsigned state) {
    unsigned flags = BF_RECT | BF_SOFT | BF_MIDDLE | EdgeStyle(state);
    if (state & DFCS_ADJUSTRECT)
        flags |= BF_ADJUST;
    return dc->DrawEdge(*r, state & (DFCS_PUSHED | DFCS_CHECKED) ? EDGE_SUNKEN : EDGE_RAISED, flags);
}

// A solid triangle of depth d pointing along dir (0 up, 1 down, 2 left, 3 right) from (x, y).
void Arrow(HDC dc, int x, int y, int d, unsigned dir, TColor c) {
    for (int i = 0; i < d; ++i) {
        int len = 2 * (dir == DFCS_SCROLLUP || dir == DFCS_SCROLLLEFT ? i : d - 1 - i) + 1;
        int off = d - 1 - (len - 1) / 2;
        if (dir == DFCS_SCROLLUP || dir == DFCS_SCROLLDOWN)
            Fill(dc, x + off, y + i, x + off + len, y + i + 1, c);
        else
            Fill(dc, x + i, y + off, x + i + 1, y + off + len, c);
    }
}

bool ScrollButton(HDC dc, const TRect& r, unsigned state) {
    unsigned dir = state & 0xFF;
    if (dir == DFCS_SCROLLCOMBOBOX)
        dir = DFCS_SCROLLDOWN;
    if (dir > DFCS_SCROLLRIGHT)
        return false;
    TRect box = r;
    // A pressed arrow button goes flat, as the classic scroll bar draws it.
    const unsigned look = state & DFCS_PUSHED ? state | DFCS_FLAT : state;
    dc->DrawEdge(box, EDGE_RAISED, BF_RECT | BF_MIDDLE | EdgeStyle(look));
    int d = std::max(1, (std::min(r.Width(), r.Height()) + 1) / 4);
    int across = 2 * d - 1;
    bool vertical = dir == DFCS_SCROLLUP || dir == DFCS_SCROLLDOWN;
    int x = r.Left + (r.Width() - (vertical ? across : d)) / 2;
    int y = r.Top + (r.Height() - (vertical ? d : across)) / 2;
    if (state & DFCS_PUSHED) {
        ++x;
        ++y;
    }
    if (state & DFCS_INACTIVE) {
        Arrow(dc, x + 1, y + 1, d, dir, clBtnHighlight);
        Arrow(dc, x, y, d, dir, clBtnShadow);
    } else {
        Arrow(dc, x, y, d, dir, clBtnText);
    }
    return true;
}

bool CaptionButton(HDC dc, TRect* r, unsigned state) {
    if ((state & 0xFF) != DFCS_CAPTIONCLOSE)
        return false;
    PushButton(dc, r, state & ~DFCS_ADJUSTRECT);
    const int shift = state & DFCS_PUSHED ? 1 : 0;
    const TColor ink = state & DFCS_INACTIVE ? clBtnShadow : clBtnText;
    Map(dc, r->Left + (r->Width() - 8) / 2 + shift, r->Top + (r->Height() - 7) / 2 + shift, kCloseCross,
        [&](char) { return ink; });
    return true;
}

// Menu marks are black on white, to be used as masks.
template <size_t N>
bool MenuMark(HDC dc, const TRect& r, unsigned state, const char* const (&rows)[N], int w) {
    if (!(state & DFCS_TRANSPARENT))
        Fill(dc, r.Left, r.Top, r.Right, r.Bottom, clWhite);
    Map(dc, r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - int(N)) / 2, rows,
        [](char) { return clBlack; });
    return true;
}

} // namespace

bool DrawFrameControl(HDC dc, TRect* r, unsigned type, unsigned state) {
    if (!dc || !r || r->IsEmpty())
        return false;
    const unsigned kind = state & 0xFF;
    switch (type) {
    case DFC_BUTTON:
        if (kind & DFCS_BUTTONPUSH)
            return PushButton(dc, r, state);
        if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
            return RadioButton(dc, *r, state, kind & (DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK));
        return CheckBox(dc, *r, state);
    case DFC_SCROLL: return ScrollButton(dc, *r, state);
    case DFC_CAPTION: return CaptionButton(dc, r, state);
    case DFC_MENU:
    case DFC_POPUPMENU:
        switch (kind) {
        case DFCS_MENUCHECK: return MenuMark(dc, *r, state, kCheckMark, 7);
        case DFCS_MENUBULLET: return MenuMark(dc, *r, state, kMenuBullet, 6);
        case DFCS_MENUARROW: return MenuMark(dc, *r, state, kMenuArrow, 4);
        default: return false;
        }
    default: return false;
    }
}
