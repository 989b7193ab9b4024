// Subprogram files under Cyrillic names: an .act file with its version.ini in a Cyrillic folder is
// written and read under the UTF-8 forms of the names, and the plug-in folder is found beside a
// program that lives in a Cyrillic folder; a program whose path Windows-1251 cannot hold is told so.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "cp1251.h"
#include "helpers.h"
#include "msgbox.h"
#include "programpath.h"
#include "sysutils.h"

namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::string g_shown; // message boxes of the probe, one line each

int Record(const char* text, const char*, unsigned) {
    g_shown += Cp1251ToUtf8(text) + "\n";
    return IDOK;
}

// Started again as a probe (the environment names the answer file): tells its program path (asked
// twice), the plug-in folder it finds and the messages shown, one a line, and stops before any
// test runs.
const bool kProbe = [] {
    if (const char* out = std::getenv("QBX_PLUGIN_PROBE")) {
        SetMessageBoxHandler(&Record);
        const std::string program = ProgramPath();
        const std::string again = ProgramPath();
        const std::string plugins = PluginFolder();
        std::ofstream(out, std::ios::binary) << Cp1251ToUtf8(program) << "\n"
                                             << Cp1251ToUtf8(again) << "\n"
                                             << Cp1251ToUtf8(plugins) << "\n"
                                             << g_shown;
        std::_Exit(0);
    }
    return false;
}();

// Runs a copy of this test program from `folder` as a probe and returns its answer.
std::string RunProbe(const TempDir& dir, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "probe";
    std::filesystem::copy_file(std::filesystem::read_symlink("/proc/self/exe"), program);
    const std::string answer = dir / "answer.txt";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "fork failed";
    if (pid == 0) {
        ::setenv("QBX_PLUGIN_PROBE", answer.c_str(), 1);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "probe failed: " + std::to_string(status);
    return ReadBytes(answer);
}

std::set<std::string> RawListing(const std::string& nativeFolder) {
    std::set<std::string> names;
    if (DIR* d = ::opendir(nativeFolder.c_str())) {
        while (dirent* e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.insert(e->d_name);
        ::closedir(d);
    }
    return names;
}

TEST(CyrillicNames, ActFileAndVersionIniInACyrillicFolder) {
    TempDir dir;
    const std::string folder = Utf8ToCp1251(dir.Path()) + "Подпрограммы/";
    ASSERT_TRUE(ForceDirectories(folder));
    actionManager m;
    T_Action* a = Assembled(m, {"def счёт", "push счёт", "ret"}, "обработка");
    ASSERT_EQ(a->SaveActFile(folder + "обработка.act"), 0);
    WriteBytes(NativePath(folder + "version.ini"), "[обработка]\r\nversion_l=2\r\nversion_h=1\r\n");

    EXPECT_EQ(RawListing(dir.Path()), std::set<std::string>{U8(u8"Подпрограммы")});
    EXPECT_EQ(RawListing(NativePath(folder)), (std::set<std::string>{U8(u8"обработка.act"), "version.ini"}));
    T_Action* b = m.CreateAction("копия");
    b->SetName("обработка");
    ASSERT_EQ(b->LoadActFile(folder + "обработка.act"), 0);
    EXPECT_EQ(b->Instructions, a->Instructions);
    EXPECT_EQ(b->Version, 0x0102);
    EXPECT_EQ(b->FilePath, folder + "обработка.act");
}

TEST(CyrillicNames, PluginFolderBesideAProgramInACyrillicFolder) {
    TempDir dir;
    const std::filesystem::path folder =
        std::filesystem::path(dir.Path()) / std::filesystem::path(u8"Программа");
    const std::string program = (folder / "probe").string();
    EXPECT_EQ(RunProbe(dir, folder), program + "\n" + program + "\n" + (folder / "plugin/").string() + "\n");
}

// A path Windows-1251 cannot hold is refused, never read as another name: the program has no path,
// the user is told once, naming it, and the plug-in folder is not looked for beside the program.
TEST(CyrillicNames, AProgramPathWindows1251CannotHoldIsRefusedOnce) {
    TempDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.Path()) / std::filesystem::path(u8"程序");
    const std::string plugins = Cp1251ToUtf8(IncludeTrailingPathDelimiter(GetCurrentDir())) + "plugin/";
    const std::string told = Cp1251ToUtf8(UnrepresentableNameMessage((folder / "probe").string()));
    EXPECT_EQ(RunProbe(dir, folder), "\n\n" + plugins + "\n" + told + "\n");
}

} // namespace
