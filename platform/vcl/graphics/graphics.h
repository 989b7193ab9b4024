// Colours, fonts, pens, brushes, the GDI-shaped TCanvas over Qt's painter, TBitmap and TImageList.
// GUI core (platform/vcl): the only painting interface the upper layers see.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classes.h"
#include "sysset.h"

// The Qt side, complete only in graphics/internal/graphics_qt.h.
class TQtFont;
class TResolvedFont;
class TQtImage;
class TQtColor;
class TQtPath;
class TQtRegion;
class TQtRect;
class TQtString;
struct TCanvasQt;
class TCanvas;
class TBitmap;

// GDI object handles (wingdi.h completes them): fonts made from a LOGFONT, palettes (no-ops).
struct TGdiFont;
typedef TGdiFont* HFONT;
struct TGdiPalette;
typedef TGdiPalette* HPALETTE;
// The module a named resource is looked up in; resources live in one registry (resources.h).
typedef std::intptr_t HINSTANCE;

// ---------------------------------------------------------------- geometry

struct TPoint {
    int x = 0, y = 0;
    TPoint() = default;
    TPoint(int ax, int ay) : x(ax), y(ay) {}
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    TSize() = default;
    TSize(int w, int h) : cx(w), cy(h) {}
    bool operator==(const TSize&) const = default;
};

// Half-open: covers [Left, Right) x [Top, Bottom), as Windows rectangles do.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    TRect() = default;
    TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    TRect(TPoint tl, TPoint br) : Left(tl.x), Top(tl.y), Right(br.x), Bottom(br.y) {}
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.x >= Left && p.x < Right && p.y >= Top && p.y < Bottom; }
    bool operator==(const TRect&) const = default;
};

inline TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
inline TRect Bounds(int l, int t, int w, int h) { return TRect(l, t, l + w, t + h); }
inline TPoint Point(int x, int y) { return TPoint(x, y); }
bool PtInRect(const TRect& r, TPoint p);
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
void InflateRect(TRect& r, int dx, int dy);
void OffsetRect(TRect& r, int dx, int dy);
bool IsRectEmpty(const TRect& r);

// ---------------------------------------------------------------- colours

// 0x00BBGGRR; 0x80000000 | index is a system colour (negative as a signed value).
typedef std::int32_t TColor;
typedef std::uint32_t COLORREF;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = TColor(0x80000000u);
constexpr TColor clBackground = TColor(0x80000001u);
constexpr TColor clActiveCaption = TColor(0x80000002u);
constexpr TColor clInactiveCaption = TColor(0x80000003u);
constexpr TColor clMenu = TColor(0x80000004u);
constexpr TColor clWindow = TColor(0x80000005u);
constexpr TColor clWindowFrame = TColor(0x80000006u);
constexpr TColor clMenuText = TColor(0x80000007u);
constexpr TColor clWindowText = TColor(0x80000008u);
constexpr TColor clCaptionText = TColor(0x80000009u);
constexpr TColor clActiveBorder = TColor(0x8000000Au);
constexpr TColor clInactiveBorder = TColor(0x8000000Bu);
constexpr TColor clAppWorkSpace = TColor(0x8000000Cu);
constexpr TColor clHighlight = TColor(0x8000000Du);
constexpr TColor clHighlightText = TColor(0x8000000Eu);
constexpr TColor clBtnFace = TColor(0x8000000Fu);
constexpr TColor clBtnShadow = TColor(0x80000010u);
constexpr TColor clGrayText = TColor(0x80000011u);
constexpr TColor clBtnText = TColor(0x80000012u);
constexpr TColor clInactiveCaptionText = TColor(0x80000013u);
constexpr TColor clBtnHighlight = TColor(0x80000014u);
constexpr TColor cl3DDkShadow = TColor(0x80000015u);
constexpr TColor cl3DLight = TColor(0x80000016u);
constexpr TColor clInfoText = TColor(0x80000017u);
constexpr TColor clInfoBk = TColor(0x80000018u);
constexpr TColor clHotLight = TColor(0x8000001Au);
constexpr TColor clGradientActiveCaption = TColor(0x8000001Bu);
constexpr TColor clGradientInactiveCaption = TColor(0x8000001Cu);
constexpr TColor clMenuHighlight = TColor(0x8000001Du);
constexpr TColor clMenuBar = TColor(0x8000001Eu);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Windows COLOR_* indexes for GetSysColor.
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

constexpr COLORREF RGB(int r, int g, int b) {
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

// The classic Windows scheme; an unknown index answers 0 (black), as Windows does.
COLORREF GetSysColor(int index);
// A system colour becomes its scheme value; any other value is returned unchanged.
TColor ColorToRGB(TColor c);
// Colour names as the form files write them ("clBtnFace", "$00FF8000"); false on unknown text.
std::string ColorToString(TColor c);
bool IdentToColor(const std::string& ident, TColor& c);

// ---------------------------------------------------------------- graphics objects

// Base of TFont, TPen and TBrush: OnChange fires after every effective change, so the owner
// (a control or a canvas) can repaint or reselect.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    // Bumped on every change; a canvas compares it to know when to reselect into the painter.
    unsigned Revision() const { return FRevision; }

protected:
    void Changed();

private:
    unsigned FRevision = 1;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle, fsBold, fsStrikeOut>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
typedef unsigned char TFontCharset;
enum : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    RUSSIAN_CHARSET = 204,
    OEM_CHARSET = 255
};

// Logical resolution: every point-to-pixel conversion uses 96 pixels per inch.
constexpr int ScreenPixelsPerInch = 96;

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    void Assign(const TFont& src);
    void Assign(TPersistent* Source) override;

    std::string Name() const { return FName; }
    void SetName(const std::string& v);
    // Points at 96 DPI; a positive Height (cell height) reports the nearest point size.
    int Size() const;
    void SetSize(int points);
    // Pixels: negative = character height, positive = cell height (as LOGFONT.lfHeight).
    int Height() const { return FHeight; }
    void SetHeight(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    // Escapement in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int v);
    // A GDI font describing this font, owned by it and remade after a change. Setting one takes
    // its LOGFONT (escapement included) and the handle itself, which the font then owns.
    HFONT Handle() const;
    void SetHandle(HFONT h);

    // The font as Qt draws it: name mapped to an installed face with the same metrics.
    const TQtFont& QtFont() const;
    // The same, with what is known of it, shared by every font of this face, height, style and pitch.
    const TResolvedFont& Resolved() const;
    // Symbol fonts whose bytes are remapped before drawing.
    bool IsWingdings() const { return FSymbol == 1; }
    bool IsMarlett() const { return FSymbol == 2; }

private:
    void Touch();
    void DropHandle() const;
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    int FSymbol = 0; // 1 Wingdings, 2 Marlett
    mutable const TResolvedFont* FQt = nullptr;
    mutable HFONT FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(const TPen& src);
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    void Assign(const TBrush& src);
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // Pattern brush; not owned: the caller keeps it alive. Null returns to Style/Color.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* v);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------- device-context style API

// A device context is the canvas itself; a region is a heap object freed by DeleteObject.
typedef TCanvas* HDC;
class TRegion;
typedef TRegion* HRGN;
// A solid GDI brush made by CreateSolidBrush; freed by DeleteObject once no canvas has it selected.
struct TGdiBrush {
    COLORREF Color = 0;
    int Selected = 0; // canvases that have it selected
};
typedef TGdiBrush* HBRUSH;

// GetTextMetrics of the selected font, in pixels.
struct TEXTMETRIC {
    int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
    int tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 0, tmOverhang = 0;
    int tmDigitizedAspectX = 96, tmDigitizedAspectY = 96;
    unsigned char tmItalic = 0, tmUnderlined = 0, tmStruckOut = 0, tmPitchAndFamily = 0, tmCharSet = 0;
};
enum : unsigned char { TMPF_FIXED_PITCH = 0x1, TMPF_VECTOR = 0x2, TMPF_TRUETYPE = 0x4, TMPF_DEVICE = 0x8 };

enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000,
    DT_NOFULLWIDTHCHARBREAK = 0x80000,
    DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000,
};

enum : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
    TA_RTLREADING = 256,
};
constexpr unsigned GDI_ERROR = 0xFFFFFFFFu;
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Ternary raster operations with their Windows values.
enum : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226,
    PATCOPY = 0x00F00021,
    PATPAINT = 0x00FB0A09,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};
// CombineRgn modes and region results.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
// DrawEdge edges and flags.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = 0x5,
    EDGE_SUNKEN = 0xA,
    EDGE_ETCHED = 0x6,
    EDGE_BUMP = 0x9,
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_TOPLEFT = 0x3,
    BF_BOTTOMRIGHT = 0xC,
    BF_RECT = 0xF,
    BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

// ---------------------------------------------------------------- canvas

enum TCopyMode : std::uint32_t {
    cmBlackness = BLACKNESS,
    cmDstInvert = DSTINVERT,
    cmMergeCopy = MERGECOPY,
    cmMergePaint = MERGEPAINT,
    cmNotSrcCopy = NOTSRCCOPY,
    cmNotSrcErase = NOTSRCERASE,
    cmPatCopy = PATCOPY,
    cmPatInvert = PATINVERT,
    cmPatPaint = PATPAINT,
    cmSrcAnd = SRCAND,
    cmSrcCopy = SRCCOPY,
    cmSrcErase = SRCERASE,
    cmSrcInvert = SRCINVERT,
    cmSrcPaint = SRCPAINT,
    cmWhiteness = WHITENESS,
};
enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };

class TGraphic;

// A GDI device context over a Qt painter. Pixel rules follow GDI: FillRect covers [l, r) x [t, b);
// Rectangle and Ellipse stay inside that box; LineTo leaves its end point; polygons fill alternate;
// text hangs from the top-left of its cell unless SetTextAlign says otherwise.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // Binds the canvas to the painter dc is bound to (a control's canvas painting through the
    // paint message's device context); null unbinds. The painter's clip and origin at this moment
    // are the canvas's base state.
    void BindPainterOf(const TCanvas* dc);
    bool HandleAllocated() const;
    // The device context of this canvas, for the Win32-shaped functions below.
    HDC Handle() {
        RequiredPainter();
        return this;
    }

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* f) { FFont->Assign(*f); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(const TPen* p) { FPen->Assign(*p); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TBrush* b) { FBrush->Assign(*b); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode m) { FCopyMode = m; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    // The clip box in logical coordinates.
    TRect ClipRect();

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(const TPoint* pts, int count);
    void Polygon(const std::vector<TPoint>& pts) { Polygon(pts.data(), int(pts.size())); }
    void Polyline(const TPoint* pts, int count);
    void Polyline(const std::vector<TPoint>& pts) { Polyline(pts.data(), int(pts.size())); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);

    TColor GetPixel(int x, int y);
    void SetPixel(int x, int y, TColor c);
    // Canvas->Pixels[x][y], read and written.
    class PixelRef {
    public:
        PixelRef(TCanvas* c, int x, int y) : FC(c), FX(x), FY(y) {}
        operator TColor() const { return FC->GetPixel(FX, FY); }
        PixelRef& operator=(TColor v) {
            FC->SetPixel(FX, FY, v);
            return *this;
        }

    private:
        TCanvas* FC;
        int FX, FY;
    };
    class PixelColumn {
    public:
        PixelColumn(TCanvas* c, int x) : FC(c), FX(x) {}
        PixelRef operator[](int y) const { return PixelRef(FC, FX, y); }

    private:
        TCanvas* FC;
        int FX;
    };
    struct PixelsProxy {
        TCanvas* C;
        PixelColumn operator[](int x) const { return PixelColumn(C, x); }
    } Pixels{this};

    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TGraphic* g);
    void StretchDraw(const TRect& r, TGraphic* g);
    void CopyRect(const TRect& dest, TCanvas* src, const TRect& source);

    // The Win32 device-context operations, as members (the free functions below forward here).
    int DrawText(const std::string& text, TRect& r, unsigned flags);
    unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const { return FTextAlign; }
    COLORREF SetTextColor(COLORREF c);
    COLORREF SetBkColor(COLORREF c);
    int SetBkMode(int mode);
    int SaveDC();
    bool RestoreDC(int saved);
    int SelectClipRgn(HRGN rgn);
    int IntersectClipRect(int l, int t, int r, int b);
    int ExcludeClipRect(int l, int t, int r, int b);
    bool BitBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, std::uint32_t rop);
    bool StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
                    std::uint32_t rop);
    bool PatBlt(int x, int y, int w, int h, std::uint32_t rop);
    // Source pixels where the mask is black; white mask pixels leave the destination.
    bool TransparentStretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
                               TCanvas* mask, int mx, int my);
    bool DrawEdge(TRect& r, unsigned edge, unsigned flags);
    // Copies Source of Bitmap into Dest with the pixels of Color replaced by the brush.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    // Text with tabs expanded (stops relative to tabOrigin; none: every 8 average widths; one: every
    // stops[0] pixels); answers MAKELONG(width, height). Draws only when draw is set.
    std::uint32_t TabbedText(int x, int y, const std::string& text, int nStops, const int* stops,
                             int tabOrigin, bool draw);
    // The device position of logical (0, 0); clipping stays where it is on the device, as in GDI.
    TPoint ViewportOrg() const;
    void SetViewportOrg(int x, int y);
    // A brush handle selected in place of Brush until Brush changes or the previous handle returns.
    HBRUSH SelectBrushHandle(HBRUSH b);
    // The same for a font handle: text uses its LOGFONT until Font changes or the previous returns.
    HFONT SelectFontHandle(HFONT f);
    void GetTextMetrics(TEXTMETRIC& tm);
    void Lock() {}
    void Unlock() {}

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when an operation needs a painter and none is bound; a bitmap canvas opens one here.
    virtual void CreateHandle() {}
    // The image the canvas owns (a bitmap's); other canvases read the device their painter is on.
    virtual TQtImage* OwnImage() const { return nullptr; }
    // One bit per pixel: copies from colour turn the source's background colour white and the rest
    // black; copies out of it paint white in the target's background and black in its text colour.
    virtual bool IsMonochrome() const { return false; }
    void Changing();
    void Changed();

private:
    friend class TBitmap;
    friend struct TCanvasQt;
    struct SavedState;
    bool RequiredPainter();
    void SelectPen();
    // Selects the pen's colour and mix mode into the painter; false when the pen draws nothing.
    bool BeginPen(TQtColor& c);
    void SelectBrush();
    void SelectFont();
    void UpdateFont();
    TQtString ToQt(const std::string& text) const;
    void PaintFill(const TQtPath& path);
    // Fills fillPath, then runs outline with the pen selected into the painter.
    void DrawFigure(const TQtPath& fillPath, const std::function<void()>& outline);
    void ArcFigure(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void StrokeLine(int x1, int y1, int x2, int y2, bool last);
    void DrawTextLine(int x, int y, const TQtString& s, int width, bool opaque, const TQtRect* clip);
    void AlignOffset(int width, int& ox, int& oy) const;
    TQtRegion CurrentClip() const;
    void SetClip(const TQtRegion& r);
    void ClearClip();
    bool SourcePart(TCanvas* src, int sx, int sy, int sw, int sh, TQtImage& part);
    void ReleaseBrushHandle();
    void ReleaseFontHandle();
    // The font text is drawn in: a selected font handle's, else Font.
    const TFont& DrawFont() const;
    // Any ternary raster operation, pixel by pixel on the device image: the source (already the
    // size of box, or null) and the brush pattern (aligned to the device origin) with the pixels.
    bool RopBlt(const TQtRect& box, const TQtImage* src, std::uint32_t rop);
    // The brush as the pixels of a device box, its pattern aligned to the device origin.
    TQtImage PatternImage(const TQtRect& deviceBox);

    std::unique_ptr<TCanvasQt> FQt; // painter, font metrics, base clip
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    unsigned FTextAlign = TA_LEFT | TA_TOP;
    COLORREF FTextColor = 0;
    COLORREF FBkColor = 0xFFFFFF;
    int FBkMode = OPAQUE;
    unsigned FFontRev = 0, FPenRev = 0, FBrushRev = 0;
    bool FFontSelected = false;
    bool FBaseClipEnabled = false;
    std::vector<SavedState> FSaved;
    HBRUSH FBrushHandle = nullptr;
    HFONT FFontHandle = nullptr;
    std::unique_ptr<TFont> FHandleFont; // FFontHandle's LOGFONT as a font
    unsigned FFontHandleRev = 0;        // Font's revision when the handle was selected
};

// ---------------------------------------------------------------- graphics

class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int v) = 0;
    virtual void SetHeight(int v) = 0;
    bool Empty() const { return Width() == 0 || Height() == 0; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; }
    virtual void LoadFromFile(const std::string& fileName) = 0;
    virtual void SaveToFile(const std::string& fileName) = 0;
    // Colours are always true colour: no graphic has a palette.
    HPALETTE Palette() const { return nullptr; }
    void SetPalette(HPALETTE) {}
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    virtual void DrawOn(TCanvas* dst, const TRect& r) = 0;

private:
    bool FTransparent = false;
};

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// A device-independent bitmap over a Qt image (32-bit RGB whatever PixelFormat says).
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    void SetSize(int w, int h);
    TCanvas* Canvas();
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat v) { FPixelFormat = v; }
    // Black and white only; turning it on makes every pixel that is not white black.
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool v);
    // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set here.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode m) { FTransparentMode = m; }
    void Assign(const TBitmap* src);
    void Assign(TPersistent* Source) override;
    // Throws EInvalidGraphic when the file cannot be read as an image.
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) override;
    // The image registered under Name (resources.h); throws EResNotFound when there is none.
    void LoadFromResourceName(HINSTANCE Instance, const std::string& Name);
    void Dormant() {}
    void FreeImage() {}

    // A snapshot of the pixels; the canvas keeps its state.
    TQtImage Image() const;
    void SetImage(const TQtImage& img);

protected:
    void DrawOn(TCanvas* dst, const TRect& r) override;

private:
    class BitmapCanvas;
    void EndPaint() const;
    std::unique_ptr<TQtImage> FImage;
    std::unique_ptr<BitmapCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    bool FMonochrome = false;
    int FW = 0, FH = 0;
};

// ---------------------------------------------------------------- image list

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

// Same-sized images kept with their masks. A bitmap wider than Width adds one image per
// Width-wide slice.
class TImageList;
using TCustomImageList = TImageList;

// Tells a user of an image list (a menu, a list view) that the list changed. The list keeps the
// links it was given and forgets them when the link unregisters or is freed.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* v) { FSender = v; }
    virtual void Change();
    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size drops the images.
    void SetWidth(int v);
    void SetHeight(int v);
    int Count() const;
    TColor BkColor = clNone;
    bool Masked = true;
    TDrawingStyle DrawingStyle = dsNormal;
    TNotifyEvent OnChange;

    // Mask pixels that are white make the image transparent there; null mask = opaque.
    // Returns the index of the first image added, -1 when nothing was added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor become transparent.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    void Delete(int Index);
    void Clear();
    // Disabled images are drawn embossed in the 3-D highlight and shadow colours.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // The image on BkColor (white when clNone); false for a bad index.
    bool GetBitmap(int Index, TBitmap* Image);

    // Image Index with its transparency (null for a bad index); owned by the list.
    const TQtImage* ImageAt(int Index) const;
    // Links told of every change after OnChange.
    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    // Makes image ImageIndex overlay number Overlay (0..3); false for a bad index or number.
    bool Overlay(int ImageIndex, int Overlay);
    // The image of overlay number Overlay, -1 when none.
    int OverlayImage(int Overlay) const;
    // Draws Index, then the image of overlay number Overlay over it (when set).
    void DrawOverlay(TCanvas* Canvas, int X, int Y, int Index, int Overlay, bool Enabled = true);
    // Brackets a batch of changes: one change notification when the last one ends.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

protected:
    void Changed();

private:
    friend TImageList* SmallSystemImageList();
    int AddImage(const TQtImage& argb);
    int FWidth = 16, FHeight = 16;
    std::vector<TQtImage> FImages;
    std::vector<TChangeLink*> FLinks;
    int FOverlays[4] = {-1, -1, -1, -1};
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// The small system image list (16 x 16): a closed folder, an open folder, a document and a drive,
// at the indices below. Made on first use, owned by the program.
enum : int { sii_Folder = 0, sii_FolderOpen = 1, sii_Document = 2, sii_Drive = 3 };
TImageList* SmallSystemImageList();

// A frame width lines deep, top and left in topColor, bottom and right in bottomColor; r shrinks.
void Frame3D(TCanvas* c, TRect& r, TColor topColor, TColor bottomColor, int width);

// Maps a face name to the installed face that stands for it: one with the same metrics where there
// is one ("Arial" -> "Liberation Sans", "Tahoma" -> Wine's "Tahoma"); other names are kept.
std::string MapFontName(const std::string& name);
// The Unicode text a string in the given font shows: CP1251 for ordinary fonts, the symbol map for
// Wingdings and Marlett.
std::u16string FontText(const TFont& f, const std::string& text);
