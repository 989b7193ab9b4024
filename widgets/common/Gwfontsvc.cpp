// Font faces for the font pickers: the filter over the platform's font families, the type marks,
// the item text and the preview panel.
#include "Gwfontsvc.h"

#include <cstring>

#include "Gwgrafx.h"
#include "resources.h"
#include "winapi.h"

const char* const FontMarkNames[FontMarkCount] = {"GWCMBOBX_TRUETYPE", "GWCMBOBX_FIXEDPITCH",
                                                  "GWCMBOBX_TRUETYPEFIXED", "GWCMBOBX_PRINTER",
                                                  "GWCMBOBX_DEVICE"};

namespace {

// By TGwFontMark.
const char* const MarkXpm[FontMarkCount] = {
    "/* XPM */\nstatic const char* g[] = {\n\"12 12 3 1\",\n\"o c #808000\",\n\"k c #000000\",\n\"g c "
    "#808080\",\n"
    "\"oooooooooooo\",\n\"kkkkkkoooooo\",\n\"kokkokoooooo\",\n\"ookkoogggggg\",\n\"ookkoogoggog\",\n"
    "\"ookkoooogooo\",\n\"okkkkooogooo\",\n\"oooooooogooo\",\n\"oooooooogooo\",\n\"ooooooogggoo\",\n"
    "\"oooooooooooo\",\n\"oooooooooooo\"\n};\n",
    "/* XPM */\nstatic const char* g[] = {\n\"12 12 2 1\",\n\"o c #808000\",\n\"k c #000000\",\n"
    "\"oooooooooooo\",\n\"okkkkkkkkkko\",\n\"okoooooooooo\",\n\"okoooooooooo\",\n\"okkkkkkkoooo\",\n"
    "\"okoooooooooo\",\n\"okoooooooooo\",\n\"okoooooooooo\",\n\"okoooooooooo\",\n\"okoooooooooo\",\n"
    "\"oooooooooooo\",\n\"oooooooooooo\"\n};\n",
    "/* XPM */\nstatic const char* g[] = {\n\"12 12 3 1\",\n\"o c #808000\",\n\"k c #000000\",\n\"b c "
    "#0000FF\",\n"
    "\"oooooooooooo\",\n\"kkkkkkoooooo\",\n\"kokkokoooooo\",\n\"ookkoobbbbbb\",\n\"ookkoobooooo\",\n"
    "\"ookkoobbbbbo\",\n\"okkkkobooooo\",\n\"oooooobooooo\",\n\"oooooobooooo\",\n\"oooooobooooo\",\n"
    "\"oooooooooooo\",\n\"oooooooooooo\"\n};\n",
    "/* XPM */\nstatic const char* g[] = {\n\"12 12 3 1\",\n\"o c #808000\",\n\"k c #000000\",\n\"w c "
    "#FFFFFF\",\n"
    "\"oooooooooooo\",\n\"oookkkkkkooo\",\n\"oookwwwwkooo\",\n\"okkkkkkkkkko\",\n\"okwwwwwwwwko\",\n"
    "\"okwwwwwwwwko\",\n\"okkkkkkkkkko\",\n\"oookwwwwkooo\",\n\"oookkkkkkooo\",\n\"oooooooooooo\",\n"
    "\"oooooooooooo\",\n\"oooooooooooo\"\n};\n",
    "/* XPM */\nstatic const char* g[] = {\n\"12 12 2 1\",\n\"o c #808000\",\n\"k c #000000\",\n"
    "\"oooooooooooo\",\n\"okkkkkkkkkko\",\n\"okooooooooko\",\n\"okooooooooko\",\n\"okooooooooko\",\n"
    "\"okkkkkkkkkko\",\n\"oooookkooooo\",\n\"ookkkkkkkkoo\",\n\"oooooooooooo\",\n\"oooooooooooo\",\n"
    "\"oooooooooooo\",\n\"oooooooooooo\"\n};\n",
};

struct TEnumTarget {
    TStrings* Items;
    TGwFontType Type;
    bool Symbols;
};

int AddFace(const LOGFONT* lf, const TEXTMETRIC* tm, std::uint32_t fontType, std::intptr_t data) {
    auto* t = reinterpret_cast<TEnumTarget*>(data);
    bool take = t->Type == ftAll || (t->Type == ftTrueType && (fontType & TRUETYPE_FONTTYPE)) ||
                (t->Type == ftFixedPitch && !(tm->tmPitchAndFamily & TMPF_FIXED_PITCH));
    if (lf->lfCharSet == SYMBOL_CHARSET && !t->Symbols)
        take = false;
    if (take && t->Items->IndexOf(lf->lfFaceName) < 0)
        t->Items->AddObject(lf->lfFaceName, reinterpret_cast<TObject*>(std::uintptr_t(tm->tmPitchAndFamily)));
    return 1;
}

} // namespace

void LoadFontMarks(TGwFontMarks& Marks) {
    for (int i = 0; i < FontMarkCount; ++i) {
        if (!ResourceImageExists(FontMarkNames[i]))
            RegisterResourceImage(FontMarkNames[i], MarkXpm[i], std::strlen(MarkXpm[i]));
        Marks[size_t(i)] = std::make_unique<TBitmap>();
        Marks[size_t(i)]->LoadFromResourceName(HInstance, FontMarkNames[i]);
    }
}

TGwFontMark FontMarkOf(unsigned PitchAndFamily, TGwFontDevice Device) {
    const bool trueType = PitchAndFamily & TMPF_TRUETYPE, fixed = !(PitchAndFamily & TMPF_FIXED_PITCH);
    return trueType && fixed     ? fmkTrueTypeFixed
           : trueType            ? fmkTrueType
           : fixed               ? fmkFixedPitch
           : Device == fdPrinter ? fmkPrinter
                                 : fmkDevice;
}

void AddFontFaces(TStrings* Items, TGwFontType Type, bool ShowSymbolFonts) {
    if (Type == ftPrinter)
        return;
    TEnumTarget target{Items, Type, ShowSymbolFonts};
    HDC dc = GetDC(nullptr);
    try {
        EnumFontFamilies(dc, nullptr, AddFace, reinterpret_cast<std::intptr_t>(&target));
    } catch (...) {
        ReleaseDC(nullptr, dc);
        throw;
    }
    ReleaseDC(nullptr, dc);
}

void DrawFontFace(TCanvas* Canvas, const TRect& R, const std::string& Name, TGwShowStyle Style,
                  const TFont* Font, TColor TextColor, TColor DividerColor) {
    Canvas->Brush()->SetStyle(bsClear);
    auto write = [&](int x, bool ownFace) {
        Canvas->Font()->Assign(*Font);
        if (ownFace)
            Canvas->Font()->SetName(Name);
        Canvas->Font()->SetColor(TextColor);
        Canvas->TextOut(x, R.Top + (R.Height() - Canvas->TextHeight("Yy")) / 2, Name);
    };
    if (Style == ssFontNameAndSample) {
        const int split = R.Left + R.Width() / 2 - 4;
        Canvas->Pen()->SetColor(DividerColor);
        Canvas->MoveTo(split + 2, R.Top);
        Canvas->LineTo(split + 2, R.Bottom);
        const int saved = Canvas->SaveDC();
        Canvas->IntersectClipRect(R.Left, R.Top, split, R.Bottom);
        write(R.Left + 2, false);
        Canvas->RestoreDC(saved);
        write(split + 4, true);
    } else {
        write(R.Left + 2, Style == ssFontSample);
    }
    Canvas->Brush()->SetStyle(bsSolid);
}

// ---- TGwPreviewFontPanel ---------------------------------------------------------------------------

TGwPreviewFontPanel::TGwPreviewFontPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
    SetColor(clWindow);
    SetParentColor(false);
    SetBounds(0, 0, 260, 65);
    SetVisible(false);
    SetCaption("AaBbYyZz");
    SetBevelOuter(bvNone);
    Font()->SetSize(36);
}

void TGwPreviewFontPanel::CreateParams(TCreateParams& Params) {
    TCustomPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TGwPreviewFontPanel::Paint() {
    TCustomPanel::Paint();
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Pen()->SetColor(clWindowText);
    Canvas()->Rectangle(0, 0, ClientWidth(), ClientHeight());
    Canvas()->Brush()->SetStyle(bsSolid);
}

void TGwPreviewFontPanel::WMKillFocus(TWMKillFocus& Message) {
    TCustomPanel::WMKillFocus(Message);
    if (Control)
        Control->Perform(CM_HIDEPREVIEWPANEL, 0, 0);
}

void TGwPreviewFontPanel::WMCancelMode(TMessage& Message) {
    TCustomPanel::WMCancelMode(Message);
    if (Control)
        Control->Perform(CM_HIDEPREVIEWPANEL, 0, 0);
}
