// The Qt side of the system answers: key states noted from key events, cursors as Qt shows them.
// Internal to platform/vcl.
#pragma once

#include <QCoreApplication>
#include <QCursor>

#include "sysinfo.h"

// Records a key going down or up (the toggle keys flip on each press) for GetKeyState.
void NoteKeyEvent(WORD VirtKey, bool Down);
// The Qt cursor of a cursor handle: a loaded cursor's image, else the standard shape.
QCursor QtCursorOf(HCURSOR Cursor);
// Makes the application a Russian desktop's, once: the default locale and Qt's Russian translations
// (a missing translation file leaves Qt's English texts).
void InstallDesktopLanguage(QCoreApplication* App);
