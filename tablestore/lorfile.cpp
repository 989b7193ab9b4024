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

// Pages are read from and written to a shared mapping of the file where it reaches (a memcpy
// instead of a system call per page); bytes past the mapping use pread/pwrite. Every byte under
// the mapping was written through pwrite first (gaps are filled with zeros), so its blocks exist
// and a store into the mapping cannot meet a full disk on filesystems that overwrite in place.
class OsFile : public File {
public:
    OsFile(int fd, bool writable) : fd_(fd), writable_(writable) {
        int64_t n = Size();
        size_ = n > 0 ? uint64_t(n) : 0;
        Remap();
    }
    ~OsFile() override { Close(); }

    int64_t Read(uint64_t off, void* buf, uint32_t n) override {
        if (off + n > mapLen_ && off < size_ && size_ >= mapLen_ + mapLen_ / 16 + kRemapStep)
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

    bool Write(uint64_t off, const void* buf, uint32_t n) override {
        if (writable_ && off + n <= mapLen_) {
            std::memcpy(map_ + off, buf, n);
            return true;
        }
        if (off > size_ && !FillGap(off))
            return false;
        if (!WriteAt(off, buf, n))
            return false;
        size_ = std::max(size_, off + n);
        return true;
    }

    int64_t Size() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            return -1;
        return st.st_size;
    }

    bool Sync() override {
        bool ok = !map_ || !writable_ || ::msync(map_, mapLen_, MS_SYNC) == 0;
        return ::fdatasync(fd_) == 0 && ok;
    }

    bool Close() override {
        Unmap();
        if (fd_ < 0)
            return true;
        int r = ::close(fd_);
        fd_ = -1;
        return r == 0;
    }

private:
    static constexpr uint64_t kRemapStep = 64 * 1024;

    bool WriteAt(uint64_t off, const void* buf, uint32_t n) {
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
        return true;
    }

    // Zeros from the known end up to off, so that the file has no holes under the mapping.
    bool FillGap(uint64_t off) {
        static const uint8_t zeros[4096] = {};
        while (size_ < off) {
            uint32_t n = uint32_t(std::min<uint64_t>(sizeof zeros, off - size_));
            if (!WriteAt(size_, zeros, n))
                return false;
            size_ += n;
        }
        return true;
    }

    void Unmap() {
        if (map_)
            ::munmap(map_, mapLen_);
        map_ = nullptr;
        mapLen_ = 0;
    }

    // Maps the file as far as it reaches now; without a mapping every access uses pread/pwrite.
    void Remap() {
        Unmap();
        int64_t n = Size();
        if (n <= 0)
            return;
        int prot = PROT_READ | (writable_ ? PROT_WRITE : 0);
        void* p = ::mmap(nullptr, size_t(n), prot, MAP_SHARED, fd_, 0);
        if (p == MAP_FAILED)
            return;
        map_ = static_cast<uint8_t*>(p);
        mapLen_ = uint64_t(n);
        size_ = std::max(size_, mapLen_);
    }

    int fd_;
    bool writable_;
    uint8_t* map_ = nullptr;
    uint64_t mapLen_ = 0;
    uint64_t size_ = 0; // known length: at open or remap, and our own writes since
};

FileOpener g_opener = &OpenOsFile;

} // namespace

std::unique_ptr<File> OpenOsFile(const std::string& path, OpenMode mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
    case OpenMode::ReadOnly: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    case OpenMode::CreateTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return nullptr;
    return std::make_unique<OsFile>(fd, mode != OpenMode::ReadOnly);
}

std::unique_ptr<File> OpenFile(const std::string& path, OpenMode mode) { return g_opener(path, mode); }

FileOpener SetFileOpener(FileOpener opener) {
    FileOpener old = g_opener;
    g_opener = opener ? opener : &OpenOsFile;
    return old;
}

PathInfo InspectPath(const std::string& path) {
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

bool MoveFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace lor
