// The one way files are replaced: a temporary file in the target's folder is written, flushed to
// the disk and renamed over the target, so that any failure leaves the old file whole. Runtime
// layer. The file-system steps go through a seam that tests replace to fail at any step.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The file-system steps of a replacement and the few listings the platform makes, on native (UTF-8)
// paths. Each returns false on failure, with errno saying why.
class TFileSystem {
public:
    virtual ~TFileSystem() = default;
    // exists: whether anything is there; mode: its type and permission bits.
    virtual bool Inspect(const std::string& path, bool& exists, mode_t& mode);
    virtual bool MayWrite(const std::string& path);
    // The file a symbolic link leads to (the path itself when it is none).
    virtual bool Resolve(const std::string& path, std::string& target);
    // A new file that must not exist yet; fd receives its descriptor.
    virtual bool Create(const std::string& path, int& fd);
    // Opens an existing file for rewriting in place, emptied.
    virtual bool Truncate(const std::string& path, int& fd);
    virtual bool Write(int fd, const void* data, size_t size);
    virtual bool SetMode(const std::string& path, mode_t mode);
    virtual bool SyncFile(const std::string& path);
    virtual bool Close(int fd);
    virtual bool Rename(const std::string& from, const std::string& to);
    virtual bool SyncFolder(const std::string& folder);
    virtual void Remove(const std::string& path);
    // The names in a folder, without "." and "..", in the order the system gives them.
    virtual bool List(const std::string& folder, std::vector<std::string>& names);
    // A small file's whole content (a device attribute, a setting).
    virtual bool ReadText(const std::string& path, std::string& text);
};

// The file system in use; SetFileSystem(nullptr) restores the real one. Returns the one replaced.
TFileSystem& FileSystem();
TFileSystem* SetFileSystem(TFileSystem* fs);

// How a replacement treats the target.
struct TReplacePolicy {
    // A symbolic link is written through to its file instead of being replaced by a file.
    bool ThroughLinks = false;
    // When the folder takes no new file but the file itself may be written, it is rewritten in
    // place (not atomic: the one way to save there at all).
    bool InPlaceWhenFolderIsClosed = false;
};

// What a replacement came to: the system's error code (errno) of the step that failed, 0 when the
// file was replaced. True on success, so that it reads as the bool it replaces.
struct TReplaceResult {
    int Error = 0;
    explicit operator bool() const { return Error == 0; }
};

// The user's words for a failed write: "Не удалось записать файл <path>: <the system's reason>".
std::string WriteFailureText(std::string_view path, int error);

// Writes the file at its program-text path through writer, which gets the temporary's native path
// (it does not exist yet; the writer creates it) and reports success, leaving errno as its failing
// step set it. The temporary takes the target's permission bits (a new file: 0666 less the umask),
// is synced, renamed over the target, and the folder is synced. A target that is a folder (EISDIR),
// not a regular file, without write permission or that the user may not write (EACCES, as Windows
// refuses a read-only file) is refused. On any failure no temporary is left, and the old file is as
// it was; the result says why (EIO when a failing step left no reason).
TReplaceResult ReplaceFile(std::string_view path,
                           const std::function<bool(const std::string& nativeTemp)>& writer,
                           TReplacePolicy policy = {});
// ReplaceFile with a writer that stores these bytes.
TReplaceResult ReplaceFileBytes(std::string_view path, std::string_view data, TReplacePolicy policy = {});
