// Small shared routines of the Gw widget library.
#include "Gwutils.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "winapi.h"
#include "wingdi.h"

int IncrementalSearchResetDelay = 1500;

TRect CenterRect(const TRect& R, int W, int H) {
    const int l = (R.Left + R.Right - W) / 2, t = (R.Top + R.Bottom - H) / 2;
    return TRect(l, t, l + W, t + H);
}

std::string GetNewComponentName(const TComponent* Owner, const std::string& BaseName, bool UseBaseFirst) {
    if (UseBaseFirst && !(Owner && Owner->FindComponent(BaseName)))
        return BaseName;
    for (int i = 1;; ++i) {
        std::string name = BaseName + IntToStr(i);
        if (!(Owner && Owner->FindComponent(name)))
            return name;
    }
}

namespace {

bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }

} // namespace

std::string CreateValidIdent(const std::string& S, const std::string& Default) {
    std::string out;
    for (char c : S)
        if (out.empty() ? IdentStart(c) : IdentChar(c))
            out += c;
    return out.empty() ? Default : out;
}

char LastChar(const std::string& S) { return S.empty() ? '\0' : S.back(); }

int CountChar(char Ch, const std::string& S) {
    int n = 0;
    for (char c : S)
        n += c == Ch;
    return n;
}

std::string CopyEx(const std::string& S, int Start, char Ch, int Count) {
    if (Start < 1 || Start > int(S.size()))
        return S;
    int found = 0;
    for (size_t i = size_t(Start - 1); i < S.size(); ++i)
        if (S[i] == Ch && ++found == Count)
            return S.substr(size_t(Start - 1), i - size_t(Start - 1) + 1);
    return S;
}

bool RemoveChar(std::string& S, char Ch) {
    const size_t at = S.find(Ch);
    if (at == std::string::npos)
        return false;
    S.erase(at, 1);
    return true;
}

std::string RemovePrefixChars(const std::string& S) {
    std::string out;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == '&' && i + 1 < S.size()) {
            if (S[i + 1] == '&')
                out += S[++i];
            continue;
        }
        out += S[i];
    }
    return out;
}

std::string ExpandEnvironmentVariables(const std::string& S) {
    std::string out;
    size_t i = 0;
    while (i < S.size()) {
        const size_t close = S[i] == '%' ? S.find('%', i + 1) : std::string::npos;
        if (close == std::string::npos || close == i + 1) {
            out += S[i++];
            continue;
        }
        const std::string name = S.substr(i + 1, close - i - 1);
        if (const char* v = std::getenv(name.c_str()))
            out += v;
        else
            out += S.substr(i, close - i + 1);
        i = close + 1;
    }
    return out;
}

namespace {

TEXTMETRIC Metrics(TFont* Font) {
    TBitmap screen;
    screen.SetSize(1, 1);
    TCanvas* c = screen.Canvas();
    c->SetFont(Font);
    TEXTMETRIC tm;
    GetTextMetrics(c->Handle(), &tm);
    return tm;
}

} // namespace

bool IsTrueTypeFont(TFont* Font) { return (Metrics(Font).tmPitchAndFamily & TMPF_TRUETYPE) != 0; }

int GetMinFontHeight(TFont* Font) { return Metrics(Font).tmHeight + 2; }

HFONT RotateFont(TFont* Font, int Angle) {
    LOGFONT lf;
    lf.lfHeight = Font->Height();
    lf.lfWidth = 0;
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = 0;
    const TFontStyles style = Font->Style();
    lf.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style.Contains(fsItalic);
    lf.lfUnderline = style.Contains(fsUnderline);
    lf.lfStrikeOut = style.Contains(fsStrikeOut);
    lf.lfCharSet = Font->Charset();
    lf.lfPitchAndFamily = Font->Pitch() == fpVariable ? VARIABLE_PITCH
                          : Font->Pitch() == fpFixed  ? FIXED_PITCH
                                                      : DEFAULT_PITCH;
    Font->Name().copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int GetAvgCharWidth(TFont* Font) {
    TBitmap screen;
    screen.SetSize(1, 1);
    TCanvas* c = screen.Canvas();
    c->SetFont(Font);
    const int width = c->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return int(std::nearbyint(width / 52.0));
}

bool RunningUnder(TGwWindowsVersion V, const TPlatformVersion& Running) {
    const DWORD family = Running.Platform, major = Running.Major, minor = Running.Minor;
    const bool nine = family == 1, nt = family == 2;
    switch (V) {
    case Win95: return nine && major < 5 && minor == 0;
    case WinNT: return nt && major < 5;
    case Win98: return nine && major < 5 && minor == 10;
    case WinMe: return nine && major < 5 && minor == 90;
    case Win2000: return nt && major == 5 && minor == 0;
    case WinXP: return nt && major == 5 && minor == 1;
    case WinServer2003: return nt && major == 5 && minor == 2;
    case WinVista: return nt && major == 6 && minor == 0;
    }
    return false;
}

bool RunningAtLeast(TGwWindowsVersion V, const TPlatformVersion& Running) {
    struct TNeed {
        bool NineToo;
        DWORD Major, Minor;
    };
    static const TNeed need[] = {{true, 4, 0},  {false, 4, 0}, {true, 4, 10}, {true, 4, 90},
                                 {false, 5, 0}, {false, 5, 1}, {false, 5, 2}, {false, 6, 0}};
    const TNeed& n = need[V];
    const bool family = Running.Platform == 2 || (n.NineToo && Running.Platform == 1);
    const bool version = Running.Major > n.Major || (Running.Major == n.Major && Running.Minor >= n.Minor);
    return family && version;
}

namespace {

int IsoWeekday(TDateTime D) {
    return (DayOfWeek(D) + 5) % 7 + 1; // 1 = Monday … 7 = Sunday
}

} // namespace

int WeekOf(TDateTime D) {
    unsigned short y, m, d;
    DecodeDate(D, y, m, d);
    const int j = IsoWeekday(EncodeDate(y, 1, 1));
    int n = int(std::floor(D) - EncodeDate(y, 1, 1)) + 1;
    n = j <= 4 ? n + j - 1 : n - (8 - j);
    if (n <= 0)
        return WeekOf(EncodeDate(y - 1, 12, 31));
    int week = n / 7 + (n % 7 != 0);
    if (week > 52) {
        int last = IsLeapYear(y) ? j + 1 : j;
        if (last > 7)
            last = 1;
        if (last <= 3)
            week = 1;
    }
    return week;
}

TDateTime IncYear(TDateTime D, int N) { return IncMonth(D, 12 * N); }

TDateTime IncDay(TDateTime D, int N) { return D + N; }

TDateTime IncHour(TDateTime D, std::int64_t N) { return (D * 24 + double(N)) / 24; }

TDateTime IncMinute(TDateTime D, std::int64_t N) { return (D * 1440 + double(N)) / 1440; }

// ---------------------------------------------------------------- desktop and monitors

TRect GetDesktopClientRect() {
    return Screen->MonitorCount() > 0 ? Screen->Monitors(0)->BoundsRect() : TRect();
}

TRect GetActiveWorkArea(TWinControl* Control) {
    MONITORINFO info;
    GetMonitorInfo(MonitorFromWindow(Control->Handle(), MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

int GetActiveWorkAreaWidth(TWinControl* Control) { return GetActiveWorkArea(Control).Width(); }

int GetActiveWorkAreaHeight(TWinControl* Control) { return GetActiveWorkArea(Control).Height(); }

TRect GetMonitorWorkArea(const TMonitor* Monitor) { return Monitor->WorkareaRect(); }

TRect GetMonitorBoundsRect(const TMonitor* Monitor) { return Monitor->BoundsRect(); }

TMonitor* GetMonitorContainingPoint(TPoint P) {
    for (int i = 0; i < Screen->MonitorCount(); ++i)
        if (Screen->Monitors(i)->BoundsRect().Contains(P))
            return Screen->Monitors(i);
    return nullptr;
}

namespace {

void CenterOver(TCustomForm* Form, const TRect& Reference, const TRect& Clip, int& X, int& Y) {
    const int w = Form->Width(), h = Form->Height();
    X = Reference.Left + (Reference.Width() - w) / 2;
    if (X < 0)
        X = 0;
    else if (X + w > Clip.Right)
        X = Clip.Right - w;
    Y = Reference.Top + (Reference.Height() - h) / 2;
    if (Y < 0)
        Y = 0;
    else if (Y + h > Clip.Bottom)
        Y = Clip.Bottom - h;
}

} // namespace

void CenterToWindow(TCustomForm* Form, TWinControl* Window, int& X, int& Y) {
    TRect r;
    GetWindowRect(Window->Handle(), &r);
    CenterOver(Form, r, GetActiveWorkArea(Window), X, Y);
}

void CenterToForm(TCustomForm* Form, TCustomForm* Owner, int& X, int& Y) {
    CenterOver(Form, Owner->BoundsRect(), GetActiveWorkArea(Owner), X, Y);
}

void AddImageToImageList(TCustomImageList* ImageList, TBitmap* Glyph, TGwGlyphCells Cells, int& ImageIndex,
                         int& DisabledIndex) {
    ImageIndex = -1;
    DisabledIndex = -1;
    if (!ImageList || !Glyph || Glyph->Empty())
        return;
    const auto key = [](TBitmap* B) { return B->Canvas()->GetPixel(0, 15); };
    if (Glyph->Width() == Glyph->Height()) {
        ImageList->AddMasked(Glyph, key(Glyph));
        ImageIndex = ImageList->Count() - 1;
    } else if (Cells == TGwGlyphCells::NormalAndDisabled) {
        ImageList->AddMasked(Glyph, key(Glyph));
        DisabledIndex = ImageList->Count() - 1;
        ImageIndex = ImageList->Count() - 2;
    } else {
        TBitmap first;
        first.SetSize(ImageList->Width(), ImageList->Height());
        first.Canvas()->Draw(0, 0, Glyph);
        ImageList->AddMasked(&first, key(&first));
        ImageIndex = ImageList->Count() - 1;
    }
}
