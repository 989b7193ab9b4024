// File layer of the table store: the one place that touches the OS. Tests replace the opener
// to inject failures (fail the Nth write, short reads).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lor {

class File {
public:
    virtual ~File() = default;
    // Reads up to n bytes at off; returns the count read (0 past the end), or -1 on error.
    [[nodiscard]] virtual int64_t Read(uint64_t off, void* buf, uint32_t n) = 0;
    // Writes all n bytes at off; false on any failure.
    [[nodiscard]] virtual bool Write(uint64_t off, const void* buf, uint32_t n) = 0;
    // Length in bytes, or -1 on error.
    virtual int64_t Size() = 0;
    [[nodiscard]] virtual bool Sync() = 0;
    [[nodiscard]] virtual bool Close() = 0;
};

enum class OpenMode { ReadOnly, ReadWrite, CreateTruncate };

// Opens path; null when the OS refuses.
using FileOpener = std::unique_ptr<File> (*)(const std::string& path, OpenMode mode);

[[nodiscard]] std::unique_ptr<File> OpenFile(const std::string& path, OpenMode mode);
// Installs another opener (null restores the OS one); returns the one replaced.
FileOpener SetFileOpener(FileOpener opener);
[[nodiscard]] std::unique_ptr<File> OpenOsFile(const std::string& path, OpenMode mode);

// Facts about a path that decide how OpenBase proceeds.
struct PathInfo {
    bool exists = false;
    bool regular = false;
    bool writable = false;
    uint64_t dev = 0, ino = 0; // identity of the file (same file = same pair)
};
PathInfo InspectPath(const std::string& path);

[[nodiscard]] bool RemoveFile(const std::string& path);
[[nodiscard]] bool MoveFile(const std::string& from, const std::string& to);

} // namespace lor
