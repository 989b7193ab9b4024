// What the widget tests record instead of showing: where a menu was asked to open, and what the
// visual styles were asked to draw.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "Gwthemesrv.h"
#include "menus.h"
#include "uxtheme.h"

namespace gwtests {

// A menu that records where it was asked to open instead of running its loop.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Opened.push_back(TPoint(X, Y)); }
    std::vector<TPoint> Opened;
};

struct TThemeCall {
    int Part, State;
    bool operator==(const TThemeCall&) const = default;
};
inline void PrintTo(const TThemeCall& c, std::ostream* os) {
    *os << "part " << c.Part << " state " << c.State;
}
// Every background the visual styles drew since RecordThemes.
inline std::vector<TThemeCall> gDrawn;

inline HTHEME RecOpen(HWND, const wchar_t*) { return reinterpret_cast<HTHEME>(intptr_t(1)); }
inline HRESULT RecClose(HTHEME) { return S_OK; }
inline HRESULT RecBackground(HTHEME, HDC, int part, int state, const TRect*, const TRect*) {
    gDrawn.push_back({part, state});
    return S_OK;
}
inline BOOL RecTrue() { return 1; }
inline DWORD RecAppProperties() { return STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS; }

// Visual styles on, drawing nothing but recording each background.
inline void RecordThemes() {
    SetVisualStylesTable(
        {VisualStylesEntry("OpenThemeData", &RecOpen), VisualStylesEntry("CloseThemeData", &RecClose),
         VisualStylesEntry("DrawThemeBackground", &RecBackground),
         VisualStylesEntry("IsThemeActive", &RecTrue), VisualStylesEntry("IsAppThemed", &RecTrue),
         VisualStylesEntry("GetThemeAppProperties", &RecAppProperties)});
    FreeThemeServices();
    gDrawn.clear();
}

inline void StopRecordingThemes() {
    FreeThemeServices();
    SetVisualStylesTable({});
}

} // namespace gwtests
