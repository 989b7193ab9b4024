// File layer of the table store: POSIX files behind the replaceable opener.
#include "lorfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lor {

namespace {

// Reads come from a shared read-only mapping of the file where it reaches (a memcpy instead of a
// system call per page); writes and reads past the mapping use pwrite/pread.
class OsFile : public File {
public:
    explicit OsFile(int fd) : fd_(fd)
    {
        int64_t n = Size();
        size_ = n > 0 ? uint64_t(n) : 0;
        Remap();
    }
    ~OsFile() override { Close(); }

    int64_t Read(uint64_t off, void* buf, uint32_t n) override
    {
        if (off + n > mapLen_ && off < size_ && size_ >= mapLen_ + mapLen_ / 4 + kRemapStep)
            Remap();
        if (off + n <= mapLen_) {
            std::memcpy(buf, map_ + off, n);
            return n;
        }
        uint32_t done = 0;
        while (done < n) {
            ssize_t r = ::pread(fd_, static_cast<char*>(buf) + done, n - done, off_t(off + done));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (r == 0)
                break;
            done += static_cast<uint32_t>(r);
        }
        return done;
    }

    bool Write(uint64_t off, const void* buf, uint32_t n) override
    {
        uint32_t done = 0;
        while (done < n) {
            ssize_t r = ::pwrite(fd_, static_cast<const char*>(buf) + done, n - done, off_t(off + done));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += static_cast<uint32_t>(r);
        }
        if (off + n > size_)
            size_ = off + n;
        return true;
    }

    int64_t Size() override
    {
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            return -1;
        return st.st_size;
    }

    bool Sync() override { return ::fdatasync(fd_) == 0; }

    bool Close() override
    {
        Unmap();
        if (fd_ < 0)
            return true;
        int r = ::close(fd_);
        fd_ = -1;
        return r == 0;
    }

private:
    static constexpr uint64_t kRemapStep = 256 * 1024;

    void Unmap()
    {
        if (map_)
            ::munmap(map_, mapLen_);
        map_ = nullptr;
        mapLen_ = 0;
    }

    // Maps the file as far as it is known to reach now; without a mapping reads use pread.
    void Remap()
    {
        Unmap();
        int64_t n = Size();
        if (n <= 0)
            return;
        void* p = ::mmap(nullptr, size_t(n), PROT_READ, MAP_SHARED, fd_, 0);
        if (p == MAP_FAILED)
            return;
        map_ = static_cast<uint8_t*>(p);
        mapLen_ = uint64_t(n);
        size_ = std::max(size_, mapLen_);
    }

    int fd_;
    uint8_t* map_ = nullptr;
    uint64_t mapLen_ = 0;
    uint64_t size_ = 0; // known length: at open or remap, and our own writes since
};

FileOpener g_opener = &OpenOsFile;

} // namespace

std::unique_ptr<File> OpenOsFile(const std::string& path, OpenMode mode)
{
    int flags = O_CLOEXEC;
    switch (mode) {
    case OpenMode::ReadOnly: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    case OpenMode::CreateTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return nullptr;
    return std::make_unique<OsFile>(fd);
}

std::unique_ptr<File> OpenFile(const std::string& path, OpenMode mode) { return g_opener(path, mode); }

FileOpener SetFileOpener(FileOpener opener)
{
    FileOpener old = g_opener;
    g_opener = opener ? opener : &OpenOsFile;
    return old;
}

PathInfo InspectPath(const std::string& path)
{
    PathInfo info;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return info;
    info.exists = true;
    info.regular = S_ISREG(st.st_mode);
    info.writable = ::access(path.c_str(), W_OK) == 0;
    info.dev = st.st_dev;
    info.ino = st.st_ino;
    return info;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool MoveFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

} // namespace lor
