// Colours, geometry helpers and the graphics objects (TFont, TPen, TBrush). GUI core.
#include "graphics.h"
#include "graphics_qt.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

// ---------------------------------------------------------------- geometry

bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }

bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
    TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom));
    dst = r.IsEmpty() ? TRect() : r;
    return !dst.IsEmpty();
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
    if (a.IsEmpty())
        dst = b;
    else if (b.IsEmpty())
        dst = a;
    else
        dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                    std::max(a.Bottom, b.Bottom));
    if (dst.IsEmpty())
        dst = TRect();
    return !dst.IsEmpty();
}

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

// ---------------------------------------------------------------- colours

namespace {

// The classic Windows scheme ("Windows Standard" of Windows 2000), by COLOR_* index.
constexpr COLORREF kSysColors[31] = {
    RGB(212, 208, 200), // 0 scroll bar
    RGB(58, 110, 165),  // 1 desktop
    RGB(10, 36, 106),   // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(212, 208, 200), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(10, 36, 106),   // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(212, 208, 200), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(212, 208, 200), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(64, 64, 64),    // 21 3-D dark shadow
    RGB(212, 208, 200), // 22 3-D light
    RGB(0, 0, 0),       // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(181, 181, 181), // 25 alternate button face
    RGB(0, 0, 128),     // 26 hot-tracked item
    RGB(166, 202, 240), // 27 active caption gradient
    RGB(192, 192, 192), // 28 inactive caption gradient
    RGB(10, 36, 106),   // 29 menu highlight
    RGB(212, 208, 200), // 30 menu bar
};

struct ColorName {
    TColor color;
    const char* name;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

bool SameIdent(const char* a, const std::string& b) {
    if (std::strlen(a) != b.size())
        return false;
    for (size_t i = 0; i < b.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= int(std::size(kSysColors)))
        return 0;
    return kSysColors[index];
}

TColor ColorToRGB(TColor c) {
    if (c < 0)
        return TColor(GetSysColor(c & 0xFF));
    return c;
}

std::string ColorToString(TColor c) {
    for (const ColorName& n : kColorNames)
        if (n.color == c)
            return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%.8X", unsigned(c));
    return buf;
}

bool IdentToColor(const std::string& ident, TColor& c) {
    for (const ColorName& n : kColorNames)
        if (SameIdent(n.name, ident)) {
            c = n.color;
            return true;
        }
    if (ident.size() < 2 || ident.size() > 9 ||
        (ident[0] != '$' && ident[0] != '-' && (ident[0] < '0' || ident[0] > '9')))
        return false;
    char* end = nullptr;
    long long v =
        ident[0] == '$' ? std::strtoll(ident.c_str() + 1, &end, 16) : std::strtoll(ident.c_str(), &end, 10);
    if (!end || *end)
        return false;
    c = TColor(std::uint32_t(v));
    return true;
}

// ---------------------------------------------------------------- graphics objects

void TGraphicsObject::Changed() {
    ++FRevision;
    if (OnChange)
        OnChange(this);
}

TFont::TFont() = default;
TFont::~TFont() { DropHandle(); }

void TFont::Touch() {
    DropHandle();
    FQt = nullptr;
    Changed();
}

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source))
        Assign(*f);
    else
        TPersistent::Assign(Source);
}

void TFont::Assign(const TFont& s) {
    if (&s == this)
        return;
    FName = s.FName;
    FSymbol = s.FSymbol;
    FHeight = s.FHeight;
    FColor = s.FColor;
    FStyle = s.FStyle;
    FCharset = s.FCharset;
    FPitch = s.FPitch;
    FOrientation = s.FOrientation;
    Touch();
}

void TFont::SetName(const std::string& v) {
    if (v.empty() || v == FName)
        return;
    FName = v;
    FSymbol = SameIdent("Wingdings", v) ? 1 : SameIdent("Marlett", v) ? 2 : 0;
    Touch();
}

int TFont::Size() const {
    // Rounded as MulDiv does.
    int h = FHeight < 0 ? -FHeight : FHeight;
    return (h * 72 + ScreenPixelsPerInch / 2) / ScreenPixelsPerInch;
}

void TFont::SetSize(int points) { SetHeight(-((points * ScreenPixelsPerInch + 36) / 72)); }

void TFont::SetHeight(int v) {
    if (v == FHeight)
        return;
    FHeight = v;
    Touch();
}

void TFont::SetColor(TColor v) {
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TFont::SetStyle(TFontStyles v) {
    if (v == FStyle)
        return;
    FStyle = v;
    Touch();
}

void TFont::SetCharset(TFontCharset v) {
    if (v == FCharset)
        return;
    FCharset = v;
    Touch();
}

void TFont::SetPitch(TFontPitch v) {
    if (v == FPitch)
        return;
    FPitch = v;
    Touch();
}

void TFont::SetOrientation(int v) {
    if (v == FOrientation)
        return;
    FOrientation = v;
    DropHandle();
    Changed();
}

const TResolvedFont& TFont::Resolved() const {
    if (!FQt)
        FQt = &ResolveFont(FName, FHeight, FStyle, FPitch);
    return *FQt;
}

const TQtFont& TFont::QtFont() const { return Resolved().Font; }

void TPen::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TPen*>(Source))
        Assign(*f);
    else
        TPersistent::Assign(Source);
}

void TPen::Assign(const TPen& s) {
    if (&s == this)
        return;
    FColor = s.FColor;
    FWidth = s.FWidth;
    FStyle = s.FStyle;
    FMode = s.FMode;
    Changed();
}

void TPen::SetColor(TColor v) {
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TPen::SetWidth(int v) {
    if (v < 0)
        v = 0;
    if (v == FWidth)
        return;
    FWidth = v;
    Changed();
}

void TPen::SetStyle(TPenStyle v) {
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TPen::SetMode(TPenMode v) {
    if (v == FMode)
        return;
    FMode = v;
    Changed();
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TBrush*>(Source))
        Assign(*f);
    else
        TPersistent::Assign(Source);
}

void TBrush::Assign(const TBrush& s) {
    if (&s == this)
        return;
    FColor = s.FColor;
    FStyle = s.FStyle;
    FBitmap = s.FBitmap;
    Changed();
}

void TBrush::SetColor(TColor v) {
    // Setting a colour, even the same one, makes a cleared brush solid again.
    if (v == FColor && FStyle != bsClear)
        return;
    FColor = v;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle v) {
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TBrush::SetBitmap(TBitmap* v) {
    if (v == FBitmap)
        return;
    FBitmap = v;
    Changed();
}
