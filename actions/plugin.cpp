// Plug-in folder of the subprogram sources (actions layer): "plugin" beside the program by default.
#include <climits>
#include <unistd.h>

#include "actions.h"
#include "msgbox.h"
#include "sysutils.h"

namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

// The program's folder as the program's text. A folder whose name Windows-1251 cannot hold is
// refused once with a message naming it; the plug-in files are then not found (and say so).
std::string ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return IncludeTrailingPathDelimiter(GetCurrentDir());
    const std::string native = ExtractFilePath(std::string_view(buf, size_t(n)));
    std::string folder;
    if (!TryFromNativePath(native, folder)) {
        static bool told = false;
        if (!told) {
            told = true;
            ShowMessageBoxText(UnrepresentableNameMessage(native).c_str(), "Ошибка", MB_OK | MB_ICONERROR);
        }
    }
    return folder;
}

} // namespace

std::string PluginFolder() {
    if (!Override().empty())
        return Override();
    return ProgramFolder() + "plugin" + PathDelim;
}

void SetPluginFolder(const std::string& folder) {
    Override() = folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
}

std::string PluginFile(std::string_view subfolder, std::string_view name) {
    std::string path = PluginFolder();
    if (!subfolder.empty())
        path += IncludeTrailingPathDelimiter(subfolder);
    path += name;
    path += ".act";
    return path;
}
