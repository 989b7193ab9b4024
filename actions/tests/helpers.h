// Shared helpers of the subprogram store tests (actions layer).
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "actions.h"
#include "tempfolder.h"

// Script text as the editor hands it over.
inline void SetLines(TStringList& out, std::initializer_list<const char*> lines) {
    out.Clear();
    for (const char* l : lines)
        out.Add(l);
}

// Assembles the lines into a fresh subprogram of `store` (or a loose one) and returns it.
inline T_Action* Assembled(actionManager& store, std::initializer_list<const char*> lines,
                           const std::string& name = "t") {
    T_Action* a = store.CreateAction(name);
    TStringList l;
    SetLines(l, lines);
    a->Assemble(l);
    return a;
}

// A fresh empty folder under the test temp dir, removed with the object.
class TempDir : public testsupport::TempFolder {
public:
    TempDir() : TempFolder("actions-test-") {}
    std::string operator/(const std::string& name) const { return File(name); }
    std::string Path() const { return TempFolder::Path() + "/"; }
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs check() as an unprivileged user: in a child process switched to "nobody" when the tests run as
// root (root reads and writes read-only files), else in this process. True when check() returned true.
inline bool AsUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    pid_t pid = ::fork();
    if (pid == 0) {
        bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// An action's variable names, in order.
inline std::vector<std::string> Vars(const T_Action& a) {
    std::vector<std::string> v;
    for (int i = 0; i < a.Variables.Count(); ++i)
        v.push_back(a.Variables[i]);
    return v;
}
