// Named images compiled into the program (bitmaps and cursors): one registry for every module, in
// place of the resources a Windows executable carries. GUI core (platform/vcl/graphics), no Qt here.
#pragma once

#include <cstddef>
#include <string>

#include "graphics.h"

// The program's module; names are looked up in the one registry whatever instance is given.
extern HINSTANCE HInstance;

class EResNotFound : public Exception {
    using Exception::Exception;
};

// Registers an encoded image (BMP, PNG, or XPM text) under Name, which is matched ignoring case as
// Windows matches resource names. A cursor gives its hot spot. A later registration of the same
// name replaces the earlier one. Modules register theirs explicitly at start-up (no static
// initialisers: a static library's would be dropped).
void RegisterResourceImage(const std::string& Name, const void* Data, std::size_t Size,
                           TPoint HotSpot = TPoint());
bool ResourceImageExists(const std::string& Name);
