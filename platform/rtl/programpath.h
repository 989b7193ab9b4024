// The program's own path, the one source of the program's place (runtime layer, beside the file
// names of sysutils.h).
#pragma once

#include <string>

// The program's own file as the program's text, for everything derived from the program's place
// (its name, the plug-in folder, the settings beside it). Empty when the system does not tell it,
// or when Windows-1251 cannot hold it: such a path is refused, never turned into another name, and
// the first refusal is shown once (UnrepresentableNameMessage, through the message-box service).
std::string ProgramPath();
