// A plug-in folder of the test's own for as long as the scope lives, and files written into it.
// Test support for the modules whose objects load their default subprograms from plug-in files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "actions.h"

namespace testsupport {

// Points the plug-in folder at root (a native path, ending in a separator or not); the default
// comes back afterwards.
class PluginFolderScope {
public:
    explicit PluginFolderScope(const std::string& root) { SetPluginFolder(root); }
    ~PluginFolderScope() { SetPluginFolder(""); }
    PluginFolderScope(const PluginFolderScope&) = delete;
    PluginFolderScope& operator=(const PluginFolderScope&) = delete;
};

// Writes bytes to root/folder/name, making the folders.
inline void WritePluginFile(const std::string& root, const std::string& folder, const std::string& name,
                            const std::string& bytes) {
    const std::filesystem::path path = std::filesystem::path(root) / folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace testsupport
