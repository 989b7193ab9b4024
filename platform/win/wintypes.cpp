// Beside-the-GUI platform layer: the thread's last error and the system's error texts.
#include "wintypes.h"

#include <cstring>

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }

std::string SysErrorMessage(DWORD code) {
    // strerrordesc_np answers null for a code the system has no text for (strerror would invent
    // "Unknown error N").
    const char* text = code <= 0x7FFFFFFF ? ::strerrordesc_np(int(code)) : nullptr;
    return text ? std::string(text) : std::string();
}
