// Binding of the visual-styles library ("uxtheme.dll") at run time, by function name, with a
// reference count. Widget library.
#pragma once

#include "uxtheme.h"

constexpr int ThemeFunctionCount = 47;
// The bound functions' names, in binding order.
extern const char* const ThemeFunctionNames[ThemeFunctionCount];

// Loads the library on the first call (binding every function it has); true when it is loaded.
bool InitThemeLibrary();
// Undoes one InitThemeLibrary; the last one unloads the library and empties every entry.
void FreeThemeLibrary();
// The library is loaded and both IsAppThemed and IsThemeActive say yes.
bool UseThemes();

HMODULE ThemeLibrary();
int ThemeLibraryReferenceCount();
// The entry of function i (ThemeFunctionNames order); null when unbound.
void* ThemeFunction(int i);

// The entries the widgets call, typed; null while the library is not loaded.
extern TOpenThemeData OpenThemeData;
extern TCloseThemeData CloseThemeData;
extern TDrawThemeBackground DrawThemeBackground;
extern TDrawThemeText DrawThemeText;
extern TGetThemeBackgroundContentRect GetThemeBackgroundContentRect;
extern TGetThemePartSize GetThemePartSize;
extern TGetThemeTextExtent GetThemeTextExtent;
extern TDrawThemeEdge DrawThemeEdge;
extern TDrawThemeIcon DrawThemeIcon;
extern TIsThemeBackgroundPartiallyTransparent IsThemeBackgroundPartiallyTransparent;
extern TGetThemeColor GetThemeColor;
extern TGetThemeSysColor GetThemeSysColor;
extern TIsThemeActive IsThemeActive;
extern TIsAppThemed IsAppThemed;
extern TGetThemeAppProperties GetThemeAppProperties;
extern TDrawThemeParentBackground DrawThemeParentBackground;
