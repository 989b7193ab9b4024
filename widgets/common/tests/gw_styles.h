// A recording visual-styles table for the Gw widget tests: styles report active, and every
// themed drawing call is noted (class, part, state, text, rectangle) instead of painted.
#pragma once

#include <string>
#include <vector>

#include "Gwthemesrv.h"
#include "Gwtmschema.h"
#include "uxtheme.h"

namespace gwstyles {

struct TCall {
    std::string Name;
    std::wstring Class;
    int Part = 0, State = 0;
    std::wstring Text;
    TRect Rect;
    DWORD Flags = 0;
};

inline std::vector<TCall>& Calls() {
    static std::vector<TCall> calls;
    return calls;
}

// Theme handles are the position of their class in this list, plus one.
inline std::vector<std::wstring>& Classes() {
    static std::vector<std::wstring> classes;
    return classes;
}
inline std::wstring ClassOf(HTHEME h) {
    const size_t i = size_t(reinterpret_cast<intptr_t>(h));
    return i >= 1 && i <= Classes().size() ? Classes()[i - 1] : std::wstring();
}

inline HTHEME Open(HWND, const wchar_t* cls) {
    Classes().push_back(cls);
    return reinterpret_cast<HTHEME>(intptr_t(Classes().size()));
}
inline HRESULT Close(HTHEME) { return S_OK; }
inline HRESULT Background(HTHEME t, HDC, int part, int state, const TRect* r, const TRect*) {
    Calls().push_back({"DrawThemeBackground", ClassOf(t), part, state, {}, *r, 0});
    return S_OK;
}
inline HRESULT Text(HTHEME t, HDC, int part, int state, const wchar_t* s, int n, DWORD flags, DWORD,
                    const TRect* r) {
    Calls().push_back({"DrawThemeText", ClassOf(t), part, state, std::wstring(s, size_t(n)), *r, flags});
    return S_OK;
}
// Every text measures 50 x 13.
inline HRESULT Extent(HTHEME, HDC, int, int, const wchar_t*, int, DWORD, const TRect*, TRect* out) {
    *out = TRect(0, 0, 50, 13);
    return S_OK;
}
inline BOOL Yes() { return 1; }
inline DWORD AppProperties() { return STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS; }

// Installs the table for the life of the object and restores the program's (none) after.
class TRecordingStyles {
public:
    TRecordingStyles() {
        FreeThemeServices();
        SetVisualStylesTable(
            {VisualStylesEntry("OpenThemeData", &Open), VisualStylesEntry("CloseThemeData", &Close),
             VisualStylesEntry("DrawThemeBackground", &Background), VisualStylesEntry("DrawThemeText", &Text),
             VisualStylesEntry("GetThemeTextExtent", &Extent), VisualStylesEntry("IsThemeActive", &Yes),
             VisualStylesEntry("IsAppThemed", &Yes),
             VisualStylesEntry("GetThemeAppProperties", &AppProperties)});
        Calls().clear();
        Classes().clear();
    }
    ~TRecordingStyles() {
        FreeThemeServices();
        SetVisualStylesTable({});
        Calls().clear();
        Classes().clear();
    }
    TRecordingStyles(const TRecordingStyles&) = delete;
    TRecordingStyles& operator=(const TRecordingStyles&) = delete;
    // The calls of one function, in order.
    std::vector<TCall> Of(const std::string& Name) const {
        std::vector<TCall> v;
        for (const TCall& c : Calls())
            if (c.Name == Name)
                v.push_back(c);
        return v;
    }
};

} // namespace gwstyles
