// The program's start: every device class registered, then its six forms made in order and the
// device editors' openers registered.
// User-interface layer.
#pragma once

#include <functional>

// Registers the classes of every driver module once; later calls do nothing.
void RegisterAllDevices();
// Creates the forms in the program's order: the main window, the new-item dialog, the schedule
// editor, the indicator editor, the conjoin dock host and the message window, each owned by the
// application and kept in its global pointer; then registers the device editors' openers.
void CreateProgramForms();
// The program's run: the application initialised, start (the classes registered, the forms made),
// then the message loop. Whatever escapes start-up or the loop is shown to the user by the
// application's exception display before the program ends. Returns the program's exit code: 0 after
// a normal end, 1 when something escaped (a program that failed to start did not succeed).
int RunProgram(const std::function<void()>& start);
