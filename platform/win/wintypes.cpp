// Beside-the-GUI platform layer: the thread's last error.
#include "wintypes.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }
