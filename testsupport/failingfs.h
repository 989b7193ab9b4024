// File systems that fail on purpose, for fault-injection tests of everything that writes through
// the runtime's file replacer: at a chosen step, or in a folder that takes no files. Test support.
#pragma once

#include <cerrno>
#include <filesystem>
#include <string>

#include "replacefile.h"

namespace testsupport {

// Counts the steps (every call that can fail) and fails step FailAt (from 1; 0 fails none) as an
// I/O error (EIO).
class FailingFileSystem : public TFileSystem {
public:
    explicit FailingFileSystem(int failAt = 0) : FailAt(failAt) { fOld = SetFileSystem(this); }
    ~FailingFileSystem() override { SetFileSystem(fOld); }
    FailingFileSystem(const FailingFileSystem&) = delete;
    FailingFileSystem& operator=(const FailingFileSystem&) = delete;

    int FailAt;
    int Steps = 0;
    bool Failed = false;

    bool Inspect(const std::string& p, bool& exists, mode_t& mode) override {
        return Step() && TFileSystem::Inspect(p, exists, mode);
    }
    bool MayWrite(const std::string& p) override { return Step() && TFileSystem::MayWrite(p); }
    bool Resolve(const std::string& p, std::string& t) override {
        return Step() && TFileSystem::Resolve(p, t);
    }
    bool Create(const std::string& p, int& fd) override { return Step() && TFileSystem::Create(p, fd); }
    bool Truncate(const std::string& p, int& fd) override { return Step() && TFileSystem::Truncate(p, fd); }
    bool Write(int fd, const void* d, size_t n) override { return Step() && TFileSystem::Write(fd, d, n); }
    bool SetMode(const std::string& p, mode_t m) override { return Step() && TFileSystem::SetMode(p, m); }
    bool SyncFile(const std::string& p) override { return Step() && TFileSystem::SyncFile(p); }
    // A close always releases the descriptor; only its result is made to fail.
    bool Close(int fd) override { return TFileSystem::Close(fd) && Step(); }
    bool Rename(const std::string& f, const std::string& t) override {
        return Step() && TFileSystem::Rename(f, t);
    }
    bool SyncFolder(const std::string& f) override { return Step() && TFileSystem::SyncFolder(f); }

private:
    bool Step() {
        if (++Steps != FailAt)
            return true;
        Failed = true;
        errno = EIO;
        return false;
    }
    TFileSystem* fOld;
};

// A folder that takes no new files, for every user: root may write anywhere, so a folder's
// permission bits cannot stand for it. The folder is not writable, and a file cannot be created in
// it or renamed into it (EACCES); everything else reaches the real file system.
class ClosedFolderFileSystem : public TFileSystem {
public:
    explicit ClosedFolderFileSystem(const std::string& folder) : fFolder(Trimmed(folder)) {
        fOld = SetFileSystem(this);
    }
    ~ClosedFolderFileSystem() override { SetFileSystem(fOld); }
    ClosedFolderFileSystem(const ClosedFolderFileSystem&) = delete;
    ClosedFolderFileSystem& operator=(const ClosedFolderFileSystem&) = delete;

    // How many times a file was refused in the folder.
    int Refused = 0;

    bool MayWrite(const std::string& p) override { return Trimmed(p) != fFolder && TFileSystem::MayWrite(p); }
    bool Create(const std::string& p, int& fd) override { return !Refuse(p) && TFileSystem::Create(p, fd); }
    bool Rename(const std::string& f, const std::string& t) override {
        return !Refuse(t) && TFileSystem::Rename(f, t);
    }

private:
    static std::string Trimmed(std::string p) {
        while (p.size() > 1 && p.back() == '/')
            p.pop_back();
        return p;
    }
    bool Refuse(const std::string& p) {
        if (Trimmed(std::filesystem::path(p).parent_path().string()) != fFolder)
            return false;
        ++Refused;
        errno = EACCES;
        return true;
    }
    std::string fFolder;
    TFileSystem* fOld;
};

} // namespace testsupport
