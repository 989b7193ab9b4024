// A file system that fails at a chosen step, for fault-injection tests of everything that writes
// through the runtime's file replacer. Test support.
#pragma once

#include "replacefile.h"

namespace testsupport {

// Counts the steps (every call that can fail) and fails step FailAt (from 1; 0 fails none).
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
        return false;
    }
    TFileSystem* fOld;
};

} // namespace testsupport
