// The Qt side of the system answers: key states noted from key events, cursors as Qt shows them.
// Internal to platform/vcl.
#pragma once

#include <QCursor>

#include "sysinfo.h"

// Records a key going down or up (the toggle keys flip on each press) for GetKeyState.
void NoteKeyEvent(WORD VirtKey, bool Down);
// The Qt cursor of a cursor handle: a loaded cursor's image, else the standard shape.
QCursor QtCursorOf(HCURSOR Cursor);
