// Colour maths of the Gw widget library: HSL on a 0..240 scale, shades, blends, the desktop
// colour scheme and the gradient colour sets of the three gradient colour styles.
#include "Gwcommon.h"

#include <algorithm>
#include <cmath>

#include "Gwsettings.h"
#include "Gwthemesrv.h"
#include "wingdi.h"

bool GwThemesEnabled() { return ThemeServices()->ThemesEnabled(); }

bool FullColorSupported = IsFullColorSupported();
TGwXPColorScheme CurrentXPColorScheme = GetXPColorScheme();

namespace {

// Nearest integer, halves to even (the floating-point unit's default mode).
int RoundEven(double v) { return int(std::nearbyint(v)); }

TColor PackRGB(int r, int g, int b) { return TColor(RGB(r, g, b)); }

} // namespace

void ColorToHSL(TColor Color, std::uint8_t& H, std::uint8_t& S, std::uint8_t& L) {
    const COLORREF c = COLORREF(ColorToRGB(Color));
    const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx)
            h = (g - b) / d;
        else if (g == mx)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    H = std::uint8_t(RoundEven(240 * h));
    S = std::uint8_t(RoundEven(240 * s));
    L = std::uint8_t(RoundEven(240 * l));
}

TColor HSLtoColor(std::uint8_t H, std::uint8_t S, std::uint8_t L) {
    const double h = H / 239.0, s = S / 240.0, l = L / 240.0;
    const double v = l < 0.5 ? l * (1 + s) : l + s - l * s;
    double r = 0, g = 0, b = 0;
    if (v > 0) {
        const double m = 2 * l - v;
        const double sv = (v - m) / v;
        const double h6 = 6 * h;
        const int sextant = int(h6);
        const double vsf = v * sv * (h6 - sextant);
        const double mid1 = m + vsf, mid2 = v - vsf;
        switch (sextant) {
        case 1:
            r = mid2;
            g = v;
            b = m;
            break;
        case 2:
            r = m;
            g = v;
            b = mid1;
            break;
        case 3:
            r = m;
            g = mid2;
            b = v;
            break;
        case 4:
            r = mid1;
            g = m;
            b = v;
            break;
        case 5:
            r = v;
            g = m;
            b = mid2;
            break;
        default:
            r = v;
            g = mid1;
            b = m;
            break;
        }
    }
    const auto channel = [](double x) { return RoundEven(255 * std::clamp(x, 0.0, 1.0)); };
    return PackRGB(channel(r), channel(g), channel(b));
}

std::uint8_t ColorHue(TColor Color) {
    std::uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return h;
}

std::uint8_t ColorSaturation(TColor Color) {
    std::uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return s;
}

std::uint8_t ColorLuminance(TColor Color) {
    std::uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return l;
}

TColor DarkerColor(TColor Color, std::uint8_t Amount) {
    std::uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return HSLtoColor(h, s, std::uint8_t(std::max(int(l) - Amount, 0)));
}

TColor LighterColor(TColor Color, std::uint8_t Amount) {
    // The bound is 255, not 240: a luminance above the scale comes out clipped towards white.
    std::uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return HSLtoColor(h, s, std::uint8_t(std::min(int(l) + Amount, 255)));
}

TColor AdjustColor(TColor Color, int Amount) {
    if (Amount < 0)
        return DarkerColor(Color, std::uint8_t(-Amount));
    if (Amount > 0)
        return LighterColor(Color, std::uint8_t(Amount));
    return Color;
}

TColor BlendColors(TColor ForeColor, TColor BackColor, std::uint8_t Weight) {
    const float w = Weight / 255.0f;
    const COLORREF f = COLORREF(ColorToRGB(ForeColor)), b = COLORREF(ColorToRGB(BackColor));
    const auto mix = [w](int fc, int bc) { return RoundEven(double(fc * w + bc * (1 - w))); };
    return PackRGB(mix(GetRValue(f), GetRValue(b)), mix(GetGValue(f), GetGValue(b)),
                   mix(GetBValue(f), GetBValue(b)));
}

bool ColorsTooClose(TColor Color1, TColor Color2) {
    std::uint8_t h1, s1, l1, h2, s2, l2;
    ColorToHSL(Color1, h1, s1, l1);
    ColorToHSL(Color2, h2, s2, l2);
    if (std::abs(int(h1) - int(h2)) >= 20)
        return false;
    return std::abs(int(l1) - int(l2)) < 60;
}

TColor ComplementaryColor(TColor Color, std::uint8_t Luminance) {
    const int h = ColorHue(Color);
    return HSLtoColor(std::uint8_t(h < 120 ? h + 120 : h - 120), 240, Luminance);
}

TColor ComplementaryColor(TColor Color) { return ComplementaryColor(Color, ColorLuminance(Color)); }

TColor GetXPThemeColor(TGwXPThemeColor) {
    // Without visual styles every element answers the button face.
    return clBtnFace;
}

TGwXPColorScheme GetXPColorScheme() {
    const std::string name = UpperCase(
        GwReadRegistryString("\\Software\\Microsoft\\Windows\\CurrentVersion", "ThemeManager", "ColorName"));
    if (name == "HOMESTEAD")
        return xpcsGreen;
    if (name == "METALLIC")
        return xpcsSilver;
    return xpcsBlue;
}

bool IsFullColorSupported() {
    // The screen's answer does not depend on a context here.
    return GetDeviceCaps(nullptr, NUMCOLORS) == -1;
}

// ---------------------------------------------------------------- gradient colour sets

namespace {

// Office-like tables by scheme (blue, green, silver), used only with gcsMSOffice under themes.
bool Themed(TGwGradientColorStyle Style) { return Style == gcsMSOffice && GwThemesEnabled(); }

TColor ByScheme(TColor Blue, TColor Green, TColor Silver) {
    switch (CurrentXPColorScheme) {
    case xpcsGreen: return Green;
    case xpcsSilver: return Silver;
    default: return Blue;
    }
}

bool Silver() { return CurrentXPColorScheme == xpcsSilver; }

} // namespace

TGwSelectionColors GetGradientSelectionColors(TGwGradientColorStyle Style) {
    TGwSelectionColors c;
    if (Themed(Style)) {
        c = {ByScheme(0x800000, 0x385D3F, 0x6F4B4B), 0xC2EEFF, 0xA0D9FF};
    } else {
        c.Frame = clHighlight;
        c.Stop = BlendColors(clHighlight, clWindow, 77);
        c.Start = LighterColor(c.Stop, 20);
    }
    if (!FullColorSupported)
        c.Start = c.Stop;
    return c;
}

void GetGradientPanelColors(TGwGradientColorStyle Style, TColor& StartColor, TColor& StopColor) {
    if (Themed(Style)) {
        StartColor = ByScheme(0xFFEFE3, 0xEDFFFF, 0xFFF9F9);
        StopColor = ByScheme(0xEABB99, 0x92C7B8, 0xD0BCBD);
    } else {
        StartColor = clWindow;
        StopColor = DarkerColor(clBtnFace, 10);
    }
}

TColor GetGradientPanelFrameColor(TGwGradientColorStyle Style) {
    return Themed(Style) ? ByScheme(0xBF7F57, 0x77A17F, 0xB19F9F) : LighterColor(clBtnShadow, 30);
}

TGwStatusBarColors GetGradientStatusBarColors(TGwGradientColorStyle Style) {
    if (Themed(Style)) {
        const TColor start = ByScheme(0xEABB99, 0x92C7B8, 0xD0BCBD);
        return {start, ByScheme(0xFFEFE3, 0xEDFFFF, 0xFFF9F9), start};
    }
    return {DarkerColor(clBtnFace, 20), clWindow, DarkerColor(clBtnFace, 40)};
}

void GetGradientGroupBarColors(TGwGradientColorStyle Style, TColor& FirstColor, TColor& SecondColor) {
    if (Themed(Style)) {
        FirstColor = ByScheme(0xE7A27B, 0xADD9CC, 0xD4C8C4);
        SecondColor = ByScheme(0xD67563, 0x84BDA5, 0xC8B3B1);
    } else {
        FirstColor = BlendColors(clBlack, clBtnFace, 40);
        SecondColor = BlendColors(clBlack, clBtnFace, 80);
    }
}

void GetGradientGroupItemColors(TGwGradientColorStyle Style, TColor& FirstColor, TColor& SecondColor) {
    if (Themed(Style)) {
        FirstColor = ByScheme(0xC65D21, 0x2D6656, 0x3D3D3F);
        SecondColor = ByScheme(0xFF8E42, 0x1D9272, 0x7C7C7E);
    } else if (Silver()) {
        FirstColor = 0x3D3D3F;
        SecondColor = 0x7C7C7E;
    } else {
        FirstColor = DarkerColor(clHighlight, 30);
        SecondColor = clHighlight;
    }
}

TGwOutlookGroupColors GetGradientOutlookGroupColors(TGwGradientColorStyle Style) {
    TGwOutlookGroupColors c;
    GetGradientPanelColors(Style, c.C[0], c.C[1]);
    if (Themed(Style)) {
        c.C[2] = ByScheme(0xA53C00, 0x1C674B, 0x3D3D3F);
        c.C[3] = ByScheme(0xFF8E42, 0x1D9272, 0x7C7C7E);
    } else if (Silver()) {
        c.C[2] = 0x000000;
        c.C[3] = 0x555556;
    } else {
        c.C[2] = DarkerColor(clHighlight, 30);
        c.C[3] = clHighlight;
    }
    c.C[4] = c.C[0];
    c.C[5] = c.C[1];
    return c;
}

TGwCategoryGroupColors GetGradientCategoryGroupColors(TGwGradientColorStyle Style, bool Special) {
    // Rows: output 1..10; columns: blue special, blue normal, green special, green normal, silver
    // special, silver normal.
    static const TColor themed[10][6] = {
        {0xC56A31, 0xFFFFFF, 0x70A093, 0xB8E7E0, 0xAB9594, 0xE0D7D6},
        {0xBE500F, 0xFFFFFF, 0x4E9682, 0xD5F3F1, 0xA58D8C, 0xFCFBFB},
        {0xCE5D29, 0xF7D3C6, 0x67A896, 0xB8E7E0, 0xC7B6B4, 0xE0D7D6},
        {0xFFFFFF, 0xA53C00, 0xFFFFFF, 0x1C674B, 0xFFFFFF, 0x3D3D3F},
        {0xF7DFD6, 0xFF8E42, 0xA9D6C8, 0x1D9272, 0xE0D7D6, 0x7C7C7E},
        {0xC35E2F, 0xFCFCFC, 0x4FA382, 0xFCFCFC, 0x96746E, 0xFCFCFC},
        {0xDE9A6A, 0xD9BAB3, 0x81B7A9, 0xBED5CA, 0xDEC7C1, 0xD1C5C3},
        {0xC56A31, 0xC56A31, 0x70A093, 0x70A093, 0xBFB4B2, 0xBFB4B2},
        {0xFFF3EF, 0xF7DFD6, 0xECF6F6, 0xECF6F6, 0xF5F1F0, 0xF5F1F0},
        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
    };
    TGwCategoryGroupColors c;
    if (Themed(Style)) {
        const int column = int(CurrentXPColorScheme) * 2 + (Special ? 0 : 1);
        for (int i = 0; i < 10; ++i)
            c.C[i] = themed[i][column];
        return c;
    }
    if (Special) {
        c = {{clHighlight, clHighlight, DarkerColor(clHighlight, 20), clHighlightText,
              LighterColor(clHighlight, 30), clHighlight, LighterColor(clHighlight, 30), clHighlight,
              clBtnFace, 0xFFFFFF}};
        return c;
    }
    const TGwOutlookGroupColors outlook = GetGradientOutlookGroupColors(Style);
    c = {{clBtnFace, clWindow, DarkerColor(clBtnFace, 10), outlook.C[2], outlook.C[3], clWindow,
          DarkerColor(clBtnFace, 20), clHighlight, clBtnFace, 0xFFFFFF}};
    return c;
}
