// Plug-in folder of the subprogram sources (actions layer): "plugin" beside the program by default.
#include <climits>
#include <unistd.h>

#include "actions.h"
#include "sysutils.h"

namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

std::string ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return IncludeTrailingPathDelimiter(GetCurrentDir());
    return ExtractFilePath(std::string_view(buf, size_t(n)));
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
