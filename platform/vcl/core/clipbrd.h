// The clipboard of the GUI core: text in Windows-1251, converted to Unicode at the Qt boundary.
#pragma once

#include <string>

#include "messages.h"

enum : UINT { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13 };

class TClipboard {
public:
    std::string AsText() const;
    void SetAsText(const std::string& v);
    bool HasFormat(UINT Format) const;
    void Clear();
};

// The program's one clipboard object.
TClipboard* Clipboard();
