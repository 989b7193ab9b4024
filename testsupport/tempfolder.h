// A fresh empty folder under the system's temporary folder, removed with everything in it (made
// writable first, so that tests of read-only files and folders leave nothing behind). Test support.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace testsupport {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "qbx-") {
        static std::atomic<int> n{0};
        fPath = std::filesystem::temp_directory_path() /
                (prefix + std::to_string(::getpid()) + "-" + std::to_string(n++));
        std::filesystem::remove_all(fPath);
        std::filesystem::create_directories(fPath);
    }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& e : std::filesystem::recursive_directory_iterator(fPath, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(fPath, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, and a name inside it (native paths: ASCII here, so also the program's text).
    std::string Path() const { return fPath.string(); }
    std::string File(const std::string& name) const { return (fPath / name).string(); }

private:
    std::filesystem::path fPath;
};

} // namespace testsupport
