// The visual-styles library table and the name-based loading over it. GUI core (platform/vcl).
#include "uxtheme.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<TVisualStylesEntry>& Table() {
    static std::vector<TVisualStylesEntry> table;
    return table;
}

int gLoads = 0;
// The one module handle there is: any non-null address of ours.
char gModule;

} // namespace

void SetVisualStylesTable(std::vector<TVisualStylesEntry> Table_) { Table() = std::move(Table_); }

HMODULE LoadLibrary(const std::string& FileName) {
    std::string n = FileName;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (n != "uxtheme.dll" || Table().empty())
        return nullptr;
    ++gLoads;
    return &gModule;
}

BOOL FreeLibrary(HMODULE Module) {
    if (Module != &gModule || gLoads == 0)
        return 0;
    --gLoads;
    return 1;
}

void* GetProcAddress(HMODULE Module, const std::string& ProcName) {
    if (Module != &gModule)
        return nullptr;
    for (const TVisualStylesEntry& e : Table())
        if (e.Name == ProcName)
            return e.Proc;
    return nullptr;
}
