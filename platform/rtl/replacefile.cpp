// The atomic file replacer of the runtime layer and the real file system behind its seam.
#include "replacefile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sysutils.h"

bool TFileSystem::Inspect(const std::string& path, bool& exists, mode_t& mode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        exists = true;
        mode = st.st_mode;
        return true;
    }
    exists = false;
    mode = 0;
    return errno == ENOENT;
}

bool TFileSystem::MayWrite(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

bool TFileSystem::Resolve(const std::string& path, std::string& target) {
    target = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    return true;
}

bool TFileSystem::Create(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd >= 0;
}

bool TFileSystem::Truncate(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    return fd >= 0;
}

bool TFileSystem::Write(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool TFileSystem::SetMode(const std::string& path, mode_t mode) { return ::chmod(path.c_str(), mode) == 0; }

bool TFileSystem::SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool TFileSystem::Close(int fd) { return ::close(fd) == 0; }

bool TFileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool TFileSystem::SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

void TFileSystem::Remove(const std::string& path) { ::unlink(path.c_str()); }

bool TFileSystem::List(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return true;
}

bool TFileSystem::ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return !in.bad();
}

namespace {

TFileSystem& Real() {
    static TFileSystem real;
    return real;
}

TFileSystem*& Current() {
    static TFileSystem* current = &Real();
    return current;
}

// A name beside the target that no other replacement of this process uses at the same time.
std::string TemporaryBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The reason of the step that just failed; a step that left none counts as an I/O error.
TReplaceResult Failure() { return {errno != 0 ? errno : EIO}; }

// The file a replacement writes, as examined before anything is written.
struct TTarget {
    std::string Native;
    bool Exists = false;
    mode_t Mode = 0;
};

// Finds the target (through a link when asked) and whether it may be replaced.
TReplaceResult Examine(TFileSystem& fs, std::string_view path, TReplacePolicy policy, TTarget& t) {
    t.Native = NativePath(path);
    errno = 0;
    if ((policy.ThroughLinks && !fs.Resolve(t.Native, t.Native)) || !fs.Inspect(t.Native, t.Exists, t.Mode))
        return Failure();
    if (!t.Exists)
        return {};
    if (S_ISDIR(t.Mode))
        return {EISDIR};
    // Not ours to replace, as Windows refuses a read-only file.
    if (!S_ISREG(t.Mode) || (t.Mode & 0222) == 0)
        return {EACCES};
    errno = 0;
    return fs.MayWrite(t.Native) ? TReplaceResult{} : TReplaceResult{errno != 0 ? errno : EACCES};
}

TReplaceResult Replace(TFileSystem& fs, const TTarget& t,
                       const std::function<bool(const std::string& nativeTemp)>& writer) {
    const std::string temp = TemporaryBeside(t.Native);
    const std::string folder = ExtractFileDir(t.Native);
    errno = 0;
    const bool ok = writer(temp) && fs.SetMode(temp, t.Exists ? t.Mode & 07777 : NewFileMode()) &&
                    fs.SyncFile(temp) && fs.Rename(temp, t.Native);
    if (!ok) {
        const TReplaceResult failed = Failure();
        fs.Remove(temp);
        return failed;
    }
    fs.SyncFolder(folder.empty() ? "." : folder); // the rename is done; a folder that cannot sync keeps it
    return {};
}

// Rewrites the file itself: the folder takes no new files.
TReplaceResult RewriteInPlace(TFileSystem& fs, const std::string& target, std::string_view data) {
    int fd = -1;
    errno = 0;
    if (!fs.Truncate(target, fd))
        return Failure();
    const bool written = fs.Write(fd, data.data(), data.size());
    const int reason = errno;
    const bool closed = fs.Close(fd);
    if (!written)
        return {reason != 0 ? reason : EIO};
    return closed ? TReplaceResult{} : Failure();
}

} // namespace

TFileSystem& FileSystem() { return *Current(); }

TFileSystem* SetFileSystem(TFileSystem* fs) {
    TFileSystem* old = Current();
    Current() = fs ? fs : &Real();
    return old;
}

std::string WriteFailureText(std::string_view path, int error) {
    const std::string reason = SysErrorMessage(unsigned(error));
    return "Не удалось записать файл " + std::string(path) + (reason.empty() ? "" : ": " + reason);
}

TReplaceResult ReplaceFile(std::string_view path,
                           const std::function<bool(const std::string& nativeTemp)>& writer,
                           TReplacePolicy policy) {
    TFileSystem& fs = FileSystem();
    TTarget target;
    if (TReplaceResult refused = Examine(fs, path, policy, target); !refused)
        return refused;
    return Replace(fs, target, writer);
}

TReplaceResult ReplaceFileBytes(std::string_view path, std::string_view data, TReplacePolicy policy) {
    TFileSystem& fs = FileSystem();
    TTarget target;
    if (TReplaceResult refused = Examine(fs, path, policy, target); !refused)
        return refused;
    bool folderClosed = false;
    const TReplaceResult result = Replace(fs, target, [&](const std::string& temp) {
        int fd = -1;
        if (!fs.Create(temp, fd)) {
            folderClosed = errno == EACCES || errno == EROFS;
            return false;
        }
        const bool written = fs.Write(fd, data.data(), data.size());
        const int reason = errno;
        const bool closed = fs.Close(fd);
        if (!written)
            errno = reason; // the write's reason, not the close's
        return written && closed;
    });
    // The target was found writable above: only its folder refused the temporary.
    if (result || !folderClosed || !policy.InPlaceWhenFolderIsClosed || !target.Exists)
        return result;
    return RewriteInPlace(fs, target.Native, data);
}
