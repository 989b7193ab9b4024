// Message-box service of the runtime layer: one replaceable handler, no GUI here.
// The program installs a dialog; tests install a recorder; the default writes to stderr.
#pragma once

extern "C" {

// Windows MessageBox flags and results, with their Windows values.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_TASKMODAL = 0x2000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Text and caption are Windows-1251; the result is an ID* value.
typedef int (*TMessageBoxHandler)(const char* text, const char* caption, unsigned flags);
}

// Installs h (null restores the default) and returns the handler it replaced.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler h);

// Shows a message box through the installed handler.
int ShowMessageBoxText(const char* text, const char* caption, unsigned flags);
