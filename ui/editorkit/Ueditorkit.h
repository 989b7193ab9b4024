// The in-place editors over the GUI core: the kit the model's objects build their editors with
// (Editorkit.h). The program installs it at start-up; so does any code that asks for an editor
// without the main window (a test).
#pragma once

void InstallEditorKit();
