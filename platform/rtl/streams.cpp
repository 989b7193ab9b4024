// Streams of the runtime layer: files, memory and strings.
#include "classes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

void TStream::ReadBuffer(void* Buffer, int Count) {
    if (Count > 0 && Read(Buffer, Count) != Count)
        throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    char buf[65536];
    int64_t left = Count;
    while (left > 0) {
        int n = int(std::min<int64_t>(left, sizeof buf));
        Source->ReadBuffer(buf, n);
        WriteBuffer(buf, n);
        left -= n;
    }
    return Count;
}

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

// ---- TFileStream --------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, unsigned Mode) : fileName_(FileName) {
    const std::string path = NativePath(FileName);
    if (Mode == fmCreate) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0)
            throw EFCreateError(Format(SFCreateError, FileName));
        return;
    }
    int flags = (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && (fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0)
        throw EFOpenError(Format(SFOpenError, FileName));
}

TFileStream::~TFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

int TFileStream::Read(void* Buffer, int Count) {
    int done = 0;
    while (done < Count) {
        ssize_t n = ::read(fd_, static_cast<char*>(Buffer) + done, size_t(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += int(n);
    }
    return done;
}

int TFileStream::Write(const void* Buffer, int Count) {
    int done = 0;
    while (done < Count) {
        ssize_t n = ::write(fd_, static_cast<const char*>(Buffer) + done, size_t(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += int(n);
    }
    return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(fd_, off_t(Offset), whence);
    return r < 0 ? ::lseek(fd_, 0, SEEK_CUR) : int64_t(r);
}

void TFileStream::SetSize(int64_t NewSize) {
    if (::ftruncate(fd_, off_t(NewSize)) != 0)
        throw EWriteError(SWriteError);
    if (Position() > NewSize)
        SetPosition(NewSize);
}

// ---- TMemoryStream ------------------------------------------------------------------------------

int TMemoryStream::Read(void* Buffer, int Count) {
    if (Count <= 0 || pos_ >= data_.size())
        return 0;
    size_t n = std::min(size_t(Count), data_.size() - pos_);
    std::copy_n(data_.data() + pos_, n, static_cast<char*>(Buffer));
    pos_ += n;
    return int(n);
}

int TMemoryStream::Write(const void* Buffer, int Count) {
    if (Count <= 0)
        return 0;
    if (pos_ + size_t(Count) > data_.size())
        data_.resize(pos_ + size_t(Count));
    std::copy_n(static_cast<const char*>(Buffer), Count, data_.data() + pos_);
    pos_ += size_t(Count);
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? int64_t(pos_) : int64_t(data_.size());
    int64_t p = std::clamp<int64_t>(base + Offset, 0, int64_t(data_.size()));
    pos_ = size_t(p);
    return p;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    data_.resize(size_t(std::max<int64_t>(NewSize, 0)));
    pos_ = std::min(pos_, data_.size());
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    int64_t n = Stream->Size();
    data_.assign(size_t(n), '\0');
    pos_ = 0;
    Stream->ReadBuffer(data_.data(), int(n));
}

void TMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(data_.data(), int(data_.size())); }

void TMemoryStream::LoadFromFile(const std::string& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f);
}

TStringStream::TStringStream(std::string_view AString) {
    WriteBuffer(AString.data(), int(AString.size()));
    SetPosition(0);
}
