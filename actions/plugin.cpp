// Plug-in folder of the subprogram sources (actions layer): "plugin" beside the program by default.
#include "actions.h"
#include "programpath.h"
#include "sysutils.h"

namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

// The program's folder; the current folder when the program's path is unknown or refused (the
// refusal has told the user why plug-in files are then not found beside the program).
std::string ProgramFolder() {
    const std::string program = ProgramPath();
    return program.empty() ? IncludeTrailingPathDelimiter(GetCurrentDir()) : ExtractFilePath(program);
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
