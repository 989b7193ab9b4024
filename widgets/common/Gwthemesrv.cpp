// The visual-styles service over the run-time binding. Widget library.
#include "Gwthemesrv.h"

#include <iterator>

#include "Gwtmschema.h"
#include "cp1251.h"
#include "forms.h"
#include "sysinfo.h"
#include "winapi.h"

namespace {

// Theme class names, one per element, opened with OpenThemeData.
const wchar_t* const kThemeClass[ThemedElementCount] = {
    L"button",   L"clock",      L"combobox", L"edit",       L"explorerbar", L"header",
    L"listview", L"menu",       L"page",     L"progress",   L"rebar",       L"scrollbar",
    L"spin",     L"startpanel", L"status",   L"tab",        L"taskband",    L"taskbar",
    L"toolbar",  L"tooltip",    L"trackbar", L"traynotify", L"treeview",    L"window",
};

// States per part, in order, for each detail enumeration.
constexpr int kButtonRuns[] = {5, 8, 12, 2, 1};
constexpr int kClockRuns[] = {1};
constexpr int kComboBoxRuns[] = {4};
constexpr int kEditRuns[] = {7, 1};
constexpr int kExplorerBarRuns[] = {3, 3, 6, 3, 1, 3, 3, 1, 1, 3, 3, 1};
constexpr int kHeaderRuns[] = {3, 3, 3, 2};
constexpr int kListviewRuns[] = {5, 1, 1, 1, 1};
constexpr int kMenuRuns[] = {3, 1, 1, 1, 1, 1};
constexpr int kPageRuns[] = {4, 4, 4, 4};
constexpr int kProgressRuns[] = {1, 1, 1, 1};
constexpr int kRebarRuns[] = {1, 1, 6, 4, 4};
constexpr int kScrollBarRuns[] = {16, 4, 4, 4, 4, 4, 4, 4, 4, 2};
constexpr int kSpinRuns[] = {4, 4, 4, 4};
constexpr int kStartPanelRuns[] = {1, 1, 3, 1, 1, 1, 1, 1, 3, 1, 1};
constexpr int kStatusRuns[] = {1, 1, 1};
constexpr int kTabRuns[] = {5, 5, 5, 5, 5, 5, 5, 5, 1, 1};
constexpr int kTaskBandRuns[] = {1, 1, 1};
constexpr int kTaskBarRuns[] = {1};
constexpr int kToolBarRuns[] = {6, 6, 6, 6, 6, 6};
constexpr int kToolTipRuns[] = {2, 2, 2, 2, 3};
constexpr int kTrackBarRuns[] = {1, 1, 5, 5, 5, 5, 5, 5, 1, 1};
constexpr int kTrayNotifyRuns[] = {1, 1};
constexpr int kTreeviewRuns[] = {5, 2, 1};
constexpr int kWindowRuns[] = {3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4, 4, 4,
                               4, 4, 4, 4, 4, 4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// Members 0 and 1 (DontCare, Root) and anything past the runs: part 0, state = ordinal + 1. A member
// inside a run: the run's number as part, its place in the run (from 1) as state.
template <size_t N> TThemedElementDetails Details(TThemedElement e, const int (&runs)[N], int member) {
    TThemedElementDetails d;
    d.Element = e;
    int i = member - 2;
    if (i >= 0)
        for (size_t p = 0; p < N; ++p) {
            if (i < runs[p]) {
                d.Part = int(p) + 1;
                d.State = i + 1;
                return d;
            }
            i -= runs[p];
        }
    d.Part = 0;
    d.State = member + 1;
    return d;
}

std::unique_ptr<TThemeServices> gServices;

} // namespace

TThemedElementDetails TThemeServices::GetElementDetails(TThemedButton Detail) {
    return Details(teButton, kButtonRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedClock Detail) {
    return Details(teClock, kClockRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedComboBox Detail) {
    return Details(teComboBox, kComboBoxRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedEdit Detail) {
    return Details(teEdit, kEditRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedExplorerBar Detail) {
    return Details(teExplorerBar, kExplorerBarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedHeader Detail) {
    return Details(teHeader, kHeaderRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedListview Detail) {
    return Details(teListView, kListviewRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedMenu Detail) {
    return Details(teMenu, kMenuRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedPage Detail) {
    return Details(tePage, kPageRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedProgress Detail) {
    return Details(teProgress, kProgressRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedRebar Detail) {
    return Details(teRebar, kRebarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedScrollBar Detail) {
    return Details(teScrollBar, kScrollBarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedSpin Detail) {
    return Details(teSpin, kSpinRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedStartPanel Detail) {
    return Details(teStartPanel, kStartPanelRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedStatus Detail) {
    return Details(teStatus, kStatusRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTab Detail) {
    return Details(teTab, kTabRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTaskBand Detail) {
    return Details(teTaskBand, kTaskBandRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTaskBar Detail) {
    return Details(teTaskBar, kTaskBarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedToolBar Detail) {
    return Details(teToolBar, kToolBarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedToolTip Detail) {
    return Details(teToolTip, kToolTipRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTrackBar Detail) {
    return Details(teTrackBar, kTrackBarRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTrayNotify Detail) {
    return Details(teTrayNotify, kTrayNotifyRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTreeview Detail) {
    return Details(teTreeview, kTreeviewRuns, int(Detail));
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedWindow Detail) {
    return Details(teWindow, kWindowRuns, int(Detail));
}

TThemeServices::TThemeServices(HWND Window) : FWindow(Window) {
    if (TControl* c = Window ? FindControl(Window) : nullptr) {
        FSubclassed = c;
        FSubclassAlive = std::make_unique<TControlGuard>(c);
        FOldWindowProc = c->WindowProc;
        c->WindowProc = [this](TMessage& m) { WindowProc(m); };
    }
    FThemesAvailable = InitThemeLibrary();
    UpdateThemes();
}

TThemeServices::~TThemeServices() {
    if (FSubclassed && FSubclassAlive->Alive())
        FSubclassed->WindowProc = FOldWindowProc;
    UnloadThemeData();
    FreeThemeLibrary();
}

void TThemeServices::WindowProc(TMessage& Message) {
    std::function<void(TMessage&)> old = FOldWindowProc;
    if (Message.Msg == WM_THEMECHANGED) {
        UpdateThemes();
        DoOnThemeChange();
    } else if (Message.Msg == WM_DESTROY && FSubclassed) {
        FSubclassed->WindowProc = FOldWindowProc;
        FSubclassed = nullptr;
    }
    if (old)
        old(Message);
}

void TThemeServices::DoOnThemeChange() {
    if (OnThemeChange)
        OnThemeChange(this);
}

void TThemeServices::UpdateThemes() {
    if (FUseThemes)
        UnloadThemeData();
    FUseThemes = ::UseThemes() && GetComCtlVersion() >= 0x60000;
    FControlsEnabled = FUseThemes && GetThemeAppProperties && (GetThemeAppProperties() & STAP_ALLOW_CONTROLS);
}

void TThemeServices::UnloadThemeData() {
    if (FWindow && !FSubclassed)
        return; // the window is gone: the system takes the data back
    for (HTHEME& t : FThemeData)
        if (t) {
            if (CloseThemeData)
                CloseThemeData(t);
            t = nullptr;
        }
}

HTHEME TThemeServices::GetTheme(TThemedElement Element) {
    if (FUseThemes && !FThemeData[Element] && OpenThemeData)
        FThemeData[Element] = OpenThemeData(FWindow, kThemeClass[Element]);
    return FThemeData[Element];
}

void TThemeServices::DrawElement(HDC DC, const TThemedElementDetails& D, const TRect& R,
                                 const TRect* ClipRect) {
    if (DrawThemeBackground)
        DrawThemeBackground(GetTheme(D.Element), DC, D.Part, D.State, &R, ClipRect);
}

void TThemeServices::DrawEdge(HDC DC, const TThemedElementDetails& D, const TRect& R, UINT Edge, UINT Flags,
                              TRect* ContentRect) {
    if (DrawThemeEdge)
        DrawThemeEdge(GetTheme(D.Element), DC, D.Part, D.State, &R, Edge, Flags, ContentRect);
}

void TThemeServices::DrawIcon(HDC DC, const TThemedElementDetails& D, const TRect& R,
                              TCustomImageList* Images, int Index) {
    if (DrawThemeIcon)
        DrawThemeIcon(GetTheme(D.Element), DC, D.Part, D.State, &R, Images, Index);
}

void TThemeServices::DrawText(HDC DC, const TThemedElementDetails& D, const std::wstring& S, const TRect& R,
                              DWORD Flags, DWORD Flags2) {
    if (DrawThemeText)
        DrawThemeText(GetTheme(D.Element), DC, D.Part, D.State, S.c_str(), int(S.size()), Flags, Flags2, &R);
}

void TThemeServices::DrawText(HDC DC, const TThemedElementDetails& D, const std::string& S, const TRect& R,
                              DWORD Flags, DWORD Flags2) {
    std::u16string u = Cp1251ToUtf16(S);
    DrawText(DC, D, std::wstring(u.begin(), u.end()), R, Flags, Flags2);
}

TRect TThemeServices::ContentRect(HDC DC, const TThemedElementDetails& D, const TRect& BoundingRect) {
    TRect r = BoundingRect;
    if (GetThemeBackgroundContentRect)
        GetThemeBackgroundContentRect(GetTheme(D.Element), DC, D.Part, D.State, &BoundingRect, &r);
    return r;
}

bool TThemeServices::HasTransparentParts(const TThemedElementDetails& D) {
    return IsThemeBackgroundPartiallyTransparent &&
           IsThemeBackgroundPartiallyTransparent(GetTheme(D.Element), D.Part, D.State);
}

void TThemeServices::DrawParentBackground(HWND Window, HDC DC, const TThemedElementDetails* D,
                                          bool OnlyIfTransparent, const TRect* Bounds) {
    if (OnlyIfTransparent && D && !HasTransparentParts(*D))
        return;
    if (DrawThemeParentBackground)
        DrawThemeParentBackground(Window, DC, Bounds);
}

TColor TThemeServices::ColorToRGB(TColor Color, const TThemedElementDetails* D) {
    if (!D || int(Color) >= 0 || !GetThemeSysColor)
        return Color;
    return TColor(GetThemeSysColor(GetTheme(D->Element), int(Color & 0x7FFFFFFF)));
}

TThemeServices* ThemeServices() {
    if (!gServices) {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        gServices =
            std::make_unique<TThemeServices>(main && main->HandleAllocated() ? main->Handle() : nullptr);
    }
    return gServices.get();
}

void FreeThemeServices() { gServices.reset(); }
