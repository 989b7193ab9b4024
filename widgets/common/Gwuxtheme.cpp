// Run-time binding of the visual-styles library. Widget library.
#include "Gwuxtheme.h"

#include <mutex>

const char* const ThemeFunctionNames[ThemeFunctionCount] = {
    "OpenThemeData",
    "CloseThemeData",
    "DrawThemeBackground",
    "DrawThemeText",
    "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent",
    "GetThemePartSize",
    "GetThemeTextExtent",
    "GetThemeTextMetrics",
    "GetThemeBackgroundRegion",
    "HitTestThemeBackground",
    "DrawThemeEdge",
    "DrawThemeIcon",
    "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent",
    "GetThemeColor",
    "GetThemeMetric",
    "GetThemeString",
    "GetThemeBool",
    "GetThemeInt",
    "GetThemeEnumValue",
    "GetThemePosition",
    "GetThemeFont",
    "GetThemeRect",
    "GetThemeMargins",
    "GetThemeIntList",
    "GetThemePropertyOrigin",
    "SetWindowTheme",
    "GetThemeFilename",
    "GetThemeSysColor",
    "GetThemeSysColorBrush",
    "GetThemeSysBool",
    "GetThemeSysSize",
    "GetThemeSysFont",
    "GetThemeSysString",
    "GetThemeSysInt",
    "IsThemeActive",
    "IsAppThemed",
    "GetWindowTheme",
    "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties",
    "SetThemeAppProperties",
    "GetCurrentThemeName",
    "GetThemeDocumentationProperty",
    "DrawThemeParentBackground",
    "EnableTheming",
};

TOpenThemeData OpenThemeData;
TCloseThemeData CloseThemeData;
TDrawThemeBackground DrawThemeBackground;
TDrawThemeText DrawThemeText;
TGetThemeBackgroundContentRect GetThemeBackgroundContentRect;
TGetThemePartSize GetThemePartSize;
TGetThemeTextExtent GetThemeTextExtent;
TDrawThemeEdge DrawThemeEdge;
TDrawThemeIcon DrawThemeIcon;
TIsThemeBackgroundPartiallyTransparent IsThemeBackgroundPartiallyTransparent;
TGetThemeColor GetThemeColor;
TGetThemeSysColor GetThemeSysColor;
TIsThemeActive IsThemeActive;
TIsAppThemed IsAppThemed;
TGetThemeAppProperties GetThemeAppProperties;
TDrawThemeParentBackground DrawThemeParentBackground;

namespace {

std::mutex gLock;
HMODULE gLibrary = nullptr;
int gReferences = 0;
void* gEntries[ThemeFunctionCount] = {};

template <class F> void Bind(F& f, const char* name) {
    for (int i = 0; i < ThemeFunctionCount; ++i)
        if (std::string(ThemeFunctionNames[i]) == name) {
            f = reinterpret_cast<F>(gEntries[i]);
            return;
        }
}

// Typed views of the entries (all null when the entries are).
void BindTyped() {
    Bind(OpenThemeData, "OpenThemeData");
    Bind(CloseThemeData, "CloseThemeData");
    Bind(DrawThemeBackground, "DrawThemeBackground");
    Bind(DrawThemeText, "DrawThemeText");
    Bind(GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    Bind(GetThemePartSize, "GetThemePartSize");
    Bind(GetThemeTextExtent, "GetThemeTextExtent");
    Bind(DrawThemeEdge, "DrawThemeEdge");
    Bind(DrawThemeIcon, "DrawThemeIcon");
    Bind(IsThemeBackgroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent");
    Bind(GetThemeColor, "GetThemeColor");
    Bind(GetThemeSysColor, "GetThemeSysColor");
    Bind(IsThemeActive, "IsThemeActive");
    Bind(IsAppThemed, "IsAppThemed");
    Bind(GetThemeAppProperties, "GetThemeAppProperties");
    Bind(DrawThemeParentBackground, "DrawThemeParentBackground");
}

// Unloads whatever is left when the program ends.
struct TUnloader {
    ~TUnloader() {
        while (ThemeLibraryReferenceCount() > 0)
            FreeThemeLibrary();
    }
} gUnloader;

} // namespace

bool InitThemeLibrary() {
    std::lock_guard<std::mutex> lock(gLock);
    ++gReferences;
    if (!gLibrary) {
        gLibrary = LoadLibrary("uxtheme.dll");
        if (gLibrary) {
            for (int i = 0; i < ThemeFunctionCount; ++i)
                gEntries[i] = GetProcAddress(gLibrary, ThemeFunctionNames[i]);
            BindTyped();
        }
    }
    return gLibrary != nullptr;
}

void FreeThemeLibrary() {
    std::lock_guard<std::mutex> lock(gLock);
    if (gReferences > 0)
        --gReferences;
    if (gReferences == 0 && gLibrary) {
        FreeLibrary(gLibrary);
        gLibrary = nullptr;
        for (void*& e : gEntries)
            e = nullptr;
        BindTyped();
    }
}

bool UseThemes() { return gLibrary && IsAppThemed && IsThemeActive && IsAppThemed() && IsThemeActive(); }

HMODULE ThemeLibrary() { return gLibrary; }

int ThemeLibraryReferenceCount() { return gReferences; }

void* ThemeFunction(int i) { return i >= 0 && i < ThemeFunctionCount ? gEntries[i] : nullptr; }
