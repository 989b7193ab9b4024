// Beside-the-GUI platform layer: handing a web address or a file to the desktop, which opens it
// with the user's program for it (the one place this layer uses Qt).
#pragma once

#include <string_view>

// Target is Windows-1251: an address with a scheme ("https://…", "mailto:…"), one starting
// "www.", or a file path (relative ones from the current folder). False when it is blank or
// nothing on the desktop took it.
bool ShellOpen(std::string_view Target);
