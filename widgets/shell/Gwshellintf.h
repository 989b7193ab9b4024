// The shell's interfaces as the widget library calls them (widget layer, shell): pointers from the
// shell are released by an explicit Release, never by a smart pointer. The platform's shell layer
// declares the interfaces the library calls; the names here are the library's own for them.
#pragma once

#include "shell.h"

using IUnknown_NRC = IUnknown;
using IMalloc_NRC = IMalloc;
using IEnumIDList_NRC = IEnumIDList;
using IShellFolder_NRC = IShellFolder;

// Starts the component model once per process and ends it at exit when the start succeeded.
bool ShellComponentModelStarted();
