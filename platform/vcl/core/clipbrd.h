// The clipboard of the GUI core: text in Windows-1251, converted to Unicode at the Qt boundary, and
// private formats (registered by name) whose raw bytes ride beside the text.
#pragma once

#include <cstddef>
#include <string>

#include "messages.h"

enum : UINT { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13 };

// Movable memory blocks in the shape of the Win32 global heap, for clipboard data. A block handed
// to SetAsHandle belongs to the clipboard from then on; one from GetAsHandle stays the clipboard's.
using HGLOBAL = void*;
enum : UINT { GMEM_FIXED = 0, GMEM_MOVEABLE = 2, GMEM_ZEROINIT = 0x40, GHND = GMEM_MOVEABLE | GMEM_ZEROINIT };
HGLOBAL GlobalAlloc(UINT Flags, size_t Bytes);
void* GlobalLock(HGLOBAL Mem);
BOOL GlobalUnlock(HGLOBAL Mem);
size_t GlobalSize(HGLOBAL Mem);
// Returns null on success, as Win32 does.
HGLOBAL GlobalFree(HGLOBAL Mem);

// The number of a private format; the same name always gives the same number (0xC000 and up).
// 0 for an empty name.
UINT RegisterClipboardFormat(const std::string& Name);

class TClipboard {
public:
    // Between Open and the matching Close, everything set lands on the clipboard together: the
    // first setting empties it, the later ones add formats beside it.
    void Open();
    void Close();
    std::string AsText() const;
    void SetAsText(const std::string& v);
    bool HasFormat(UINT Format) const;
    void Clear();
    // Puts the block on the clipboard under Format (CF_TEXT: Windows-1251 text up to its first 0)
    // and takes it over.
    void SetAsHandle(UINT Format, HGLOBAL Value);
    // A block with Format's bytes (owned by the clipboard, valid until the clipboard changes or the
    // next GetAsHandle); null when the format is absent.
    HGLOBAL GetAsHandle(UINT Format);
    // The same through plain bytes.
    void SetBuffer(UINT Format, const void* Buffer, size_t Size);
    std::string GetBuffer(UINT Format) const;
};

// The program's one clipboard object.
TClipboard* Clipboard();
