// Font handles (LOGFONT, CreateFontIndirect, GetObject, SelectObject, TFont::Handle), the classic
// font families with their TrueType, pitch and character-set flags, tabbed text, and palettes as
// no-ops. GUI core.
#include "graphics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "graphics_qt.h"
#include "sysutils.h"
#include "wingdi.h"

namespace {

// The faces of a classic installation that the program names, with what Windows reports of them
// and the installed face each is drawn with. Every one is drawn with an outline face, so every one
// is TrueType here. The forms size their texts for "MS Sans Serif" 8 pt and Tahoma: Wine's Tahoma
// (Debian fonts-wine) has their widths, where DejaVu Sans is a sixth wider and cuts the texts.
struct TFace {
    const char* Name;
    const char* Substitute;
    bool Fixed;
    unsigned char Family;
    unsigned char Charset;
};
const TFace kFaces[] = {
    {"Arial", "Liberation Sans", false, FF_SWISS, RUSSIAN_CHARSET},
    {"Courier", "Liberation Mono", true, FF_MODERN, RUSSIAN_CHARSET},
    {"Courier New", "Liberation Mono", true, FF_MODERN, RUSSIAN_CHARSET},
    {"Marlett", "DejaVu Sans", false, FF_DECORATIVE, SYMBOL_CHARSET},
    {"MS Sans Serif", "Tahoma", false, FF_SWISS, RUSSIAN_CHARSET},
    {"Tahoma", "Tahoma", false, FF_SWISS, RUSSIAN_CHARSET},
    {"Times New Roman", "Liberation Serif", false, FF_ROMAN, RUSSIAN_CHARSET},
    {"Verdana", "DejaVu Sans", false, FF_SWISS, RUSSIAN_CHARSET},
    {"Wingdings", "DejaVu Sans", false, FF_DECORATIVE, SYMBOL_CHARSET},
};

// Substitute faces that Debian installs outside fontconfig's folders.
const char* const kFaceFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};

const TFace* FindFace(const std::string& name) {
    for (const TFace& f : kFaces)
        if (SameText(f.Name, name))
            return &f;
    return nullptr;
}

unsigned char PitchAndFamily(const TFace& f) {
    // The "fixed pitch" bit is set for variable-pitch fonts, as Windows has it.
    return static_cast<unsigned char>(TMPF_TRUETYPE | TMPF_VECTOR | (f.Fixed ? 0 : TMPF_FIXED_PITCH) |
                                      f.Family);
}

LOGFONT LogFontOf(const TFont& f) {
    LOGFONT lf;
    lf.lfHeight = f.Height();
    lf.lfEscapement = lf.lfOrientation = f.Orientation();
    lf.lfWeight = f.Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.Style().Contains(fsItalic);
    lf.lfUnderline = f.Style().Contains(fsUnderline);
    lf.lfStrikeOut = f.Style().Contains(fsStrikeOut);
    lf.lfCharSet = f.Charset();
    lf.lfPitchAndFamily = f.Pitch() == fpFixed      ? FIXED_PITCH
                          : f.Pitch() == fpVariable ? VARIABLE_PITCH
                                                    : DEFAULT_PITCH;
    std::string name = f.Name().substr(0, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, name.data(), name.size());
    return lf;
}

void Release(HFONT h) {
    if (h && --h->Selected == 0 && h->Orphan)
        delete h;
}

// Stands for a canvas's own Font when SelectObject hands back "the previous font".
TGdiFont OwnFont;
TGdiPalette DefaultPalette;

} // namespace

std::string MapFontName(const std::string& name) {
    const TFace* face = FindFace(name);
    return face ? face->Substitute : name;
}

void LoadSubstituteFaces() {
    static bool loaded = false;
    if (loaded || !QGuiApplication::instance())
        return;
    loaded = true;
    for (const char* file : kFaceFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

namespace {

// Counts the changes of Qt's font database seen: a width measured before one may differ after it.
unsigned gFontGeneration = 1;

void WatchFontDatabase() {
    static QPointer<QGuiApplication> watched;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || watched == app)
        return;
    watched = app;
    QObject::connect(app, &QGuiApplication::fontDatabaseChanged, app, [] { ++gFontGeneration; });
}

QFont MakeQtFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch) {
    QFont f(QString::fromStdString(MapFontName(name)));
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    f.setBold(style.Contains(fsBold));
    f.setItalic(style.Contains(fsItalic));
    f.setUnderline(style.Contains(fsUnderline));
    f.setStrikeOut(style.Contains(fsStrikeOut));
    if (pitch == fpFixed)
        f.setFixedPitch(true);
    if (height < 0) {
        f.setPixelSize(-height);
    } else if (height > 0) {
        // A positive height is the cell height (ascent + descent): scale the em to fit it.
        f.setPixelSize(100);
        QFontMetrics m(f);
        int cell = std::max(1, m.ascent() + m.descent());
        f.setPixelSize(std::max(1, height * 100 / cell));
    } else {
        f.setPixelSize(13);
    }
    return f;
}

} // namespace

const TResolvedFont& ResolveFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch) {
    using TKey = std::tuple<std::string, int, unsigned, bool>;
    static std::map<TKey, std::unique_ptr<TResolvedFont>> fonts;
    LoadSubstituteFaces();
    WatchFontDatabase();
    unsigned bits = 0;
    for (TFontStyle st : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        bits = bits << 1 | (style.Contains(st) ? 1 : 0);
    std::unique_ptr<TResolvedFont>& f = fonts[TKey(MapFontName(name), height, bits, pitch == fpFixed)];
    if (!f)
        f = std::make_unique<TResolvedFont>(MakeQtFont(name, height, style, pitch));
    return *f;
}

int TResolvedFont::Advance(const QString& s) const {
    constexpr qsizetype kMaxStrings = 4096;
    if (FGeneration != gFontGeneration || FAdvances.size() >= kMaxStrings) {
        FAdvances.clear();
        FGeneration = gFontGeneration;
    }
    auto it = FAdvances.constFind(s);
    if (it != FAdvances.constEnd())
        return *it;
    const int w = FMetrics.horizontalAdvance(s);
    FAdvances.insert(s, w);
    return w;
}

void FaceTraits(const TFont& f, unsigned char& pitchAndFamily, unsigned char& charset) {
    if (const TFace* face = FindFace(f.Name())) {
        pitchAndFamily = PitchAndFamily(*face);
        const bool own = face->Charset != SYMBOL_CHARSET && f.Charset() != DEFAULT_CHARSET;
        charset = own ? f.Charset() : face->Charset;
        return;
    }
    pitchAndFamily =
        TMPF_TRUETYPE | TMPF_VECTOR | (QFontInfo(f.QtFont()).fixedPitch() ? 0 : TMPF_FIXED_PITCH);
    charset = f.Charset() == DEFAULT_CHARSET ? TFontCharset(RUSSIAN_CHARSET) : f.Charset();
}

// ---------------------------------------------------------------- TFont::Handle

HFONT TFont::Handle() const {
    if (!FHandle)
        FHandle = new TGdiFont{LogFontOf(*this), 0, this, false};
    return FHandle;
}

void TFont::DropHandle() const {
    if (!FHandle)
        return;
    if (FHandle->Selected > 0) {
        FHandle->Owner = nullptr;
        FHandle->Orphan = true;
    } else {
        delete FHandle;
    }
    FHandle = nullptr;
}

void TFont::SetHandle(HFONT h) {
    if (!h || h == FHandle || h == &OwnFont)
        return;
    const LOGFONT& lf = h->Log;
    std::string name(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    TFontStyles st;
    if (lf.lfWeight >= FW_BOLD)
        st << fsBold;
    if (lf.lfItalic)
        st << fsItalic;
    if (lf.lfUnderline)
        st << fsUnderline;
    if (lf.lfStrikeOut)
        st << fsStrikeOut;
    if (!name.empty()) {
        FName = name;
        FSymbol = SameText("Wingdings", name) ? 1 : SameText("Marlett", name) ? 2 : 0;
    }
    FHeight = lf.lfHeight;
    FStyle = st;
    FCharset = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 0x3;
    FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    FOrientation = lf.lfEscapement;
    FQt = nullptr;
    // The font now owns the handle; a handle another font owned is copied instead.
    DropHandle();
    if (h->Owner) {
        Handle();
    } else {
        h->Owner = this;
        h->Orphan = false;
        FHandle = h;
    }
    Changed();
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf)
        return nullptr;
    auto* f = new TGdiFont;
    f->Log = *lf;
    f->Log.lfFaceName[LF_FACESIZE - 1] = 0;
    return f;
}

int GetObject(HFONT f, int size, void* out) {
    if (!f)
        return 0;
    LOGFONT lf = f == &OwnFont ? LOGFONT() : f->Log;
    if (!out)
        return int(sizeof(LOGFONT));
    int n = std::clamp(size, 0, int(sizeof(LOGFONT)));
    std::memcpy(out, &lf, size_t(n));
    return n;
}

HFONT SelectObject(HDC dc, HFONT f) { return dc ? dc->SelectFontHandle(f) : nullptr; }

bool DeleteObject(HFONT f) {
    if (!f || f == &OwnFont || f->Selected > 0 || f->Owner)
        return false;
    delete f;
    return true;
}

// ---------------------------------------------------------------- a canvas's selected font

void TCanvas::ReleaseFontHandle() {
    if (!FFontHandle)
        return;
    Release(FFontHandle);
    FFontHandle = nullptr;
    FHandleFont.reset();
    FQt->Metrics.reset();
    FFontSelected = false;
}

HFONT TCanvas::SelectFontHandle(HFONT f) {
    UpdateFont();
    HFONT old = FFontHandle ? FFontHandle : &OwnFont;
    if (!f || f == old)
        return old;
    // A handle its font let go of is freed as it is deselected here: the caller gets the canvas's
    // own font back in its place, never a freed handle.
    if (old->Orphan && old->Selected == 1)
        old = &OwnFont;
    ReleaseFontHandle();
    if (f != &OwnFont) {
        FFontHandle = f;
        ++f->Selected;
        FHandleFont = std::make_unique<TFont>();
        FHandleFont->SetHandle(CreateFontIndirect(&f->Log));
        FFontHandleRev = FFont->Revision();
        FQt->Metrics.reset();
        FFontSelected = false;
    }
    return old;
}

const TFont& TCanvas::DrawFont() const { return FHandleFont ? *FHandleFont : *FFont; }

// ---------------------------------------------------------------- tabbed text

std::uint32_t TCanvas::TabbedText(int x, int y, const std::string& text, int nStops, const int* stops,
                                  int tabOrigin, bool draw) {
    const bool painting = draw && RequiredPainter();
    SelectFont();
    SelectBrush();
    const QFontMetrics& fm = *FQt->Metrics;
    const TResolvedFont& font = DrawFont().Resolved();
    int every = 8 * fm.averageCharWidth();
    if (nStops > 0 && stops) {
        every = stops[0];
        if (nStops == 1)
            nStops = 0;
    } else {
        nStops = 0;
    }
    int ox = 0, oy = 0;
    AlignOffset(0, ox, oy);
    if (painting)
        Changing();
    int pos = x;
    size_t from = 0;
    for (;;) {
        size_t tab = text.find('\t', from);
        size_t end = tab == std::string::npos ? text.size() : tab;
        QString seg = ToQt(text.substr(from, end - from));
        int w = font.Advance(seg);
        while (nStops > 0 && tabOrigin + *stops <= pos + w) {
            ++stops;
            --nStops;
        }
        int next = pos + w;
        if (tab != std::string::npos) {
            if (nStops > 0)
                next = tabOrigin + *stops;
            else if (every > 0)
                next = tabOrigin + ((pos + w - tabOrigin) / every + 1) * every;
        }
        if (painting)
            DrawTextLine(pos, y + oy, seg, next - pos, FBkMode == OPAQUE, nullptr);
        pos = next;
        if (tab == std::string::npos)
            break;
        from = tab + 1;
    }
    if (painting)
        Changed();
    return (std::uint32_t(fm.height() & 0xFFFF) << 16) | std::uint32_t((pos - x) & 0xFFFF);
}

std::int32_t TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int nStops, const int* stops,
                           int tabOrigin) {
    if (!dc || !text)
        return 0;
    std::string s = count < 0 ? std::string(text) : std::string(text, size_t(count));
    return std::int32_t(dc->TabbedText(x, y, s, nStops, stops, tabOrigin, true));
}

std::uint32_t GetTabbedTextExtent(HDC dc, const char* text, int count, int nStops, const int* stops) {
    if (!dc || !text)
        return 0;
    std::string s = count < 0 ? std::string(text) : std::string(text, size_t(count));
    return dc->TabbedText(0, 0, s, nStops, stops, 0, false);
}

// ---------------------------------------------------------------- enumeration

int EnumFontFamilies(HDC, const char* family, FONTENUMPROC proc, std::intptr_t data) {
    if (!proc)
        return 0;
    int result = 1;
    for (const TFace& face : kFaces) {
        if (family && !SameText(face.Name, family))
            continue;
        // One call per family; a named family lists its four styles.
        const int styles = family ? 4 : 1;
        for (int st = 0; st < styles && result; ++st) {
            TCanvas c;
            c.Font()->SetName(face.Name);
            TFontStyles fs;
            if (st & 1)
                fs << fsBold;
            if (st & 2)
                fs << fsItalic;
            c.Font()->SetStyle(fs);
            TEXTMETRIC tm;
            c.GetTextMetrics(tm);
            LOGFONT lf = LogFontOf(*c.Font());
            lf.lfHeight = tm.tmHeight;
            lf.lfCharSet = face.Charset;
            lf.lfPitchAndFamily =
                static_cast<unsigned char>((face.Fixed ? FIXED_PITCH : VARIABLE_PITCH) | face.Family);
            result = proc(&lf, &tm, TRUETYPE_FONTTYPE, data);
        }
        if (!result)
            break;
    }
    return result;
}

// ---------------------------------------------------------------- palettes

HPALETTE CreatePalette(const LOGPALETTE* lp) { return lp ? new TGdiPalette : nullptr; }

HPALETTE SelectPalette(HDC dc, HPALETTE, bool) { return dc ? &DefaultPalette : nullptr; }

unsigned RealizePalette(HDC) { return 0; }

bool DeleteObject(HPALETTE pal) {
    if (!pal || pal == &DefaultPalette)
        return false;
    delete pal;
    return true;
}
