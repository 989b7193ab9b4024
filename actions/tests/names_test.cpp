// Subprogram files under Cyrillic names: an .act file with its version.ini in a Cyrillic folder is
// written and read under the UTF-8 forms of the names, and the plug-in folder is found beside a
// program that lives in a Cyrillic folder.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "cp1251.h"
#include "helpers.h"
#include "sysutils.h"

namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// Started again as a probe (the environment names the answer file): tells the plug-in folder it
// finds beside itself and stops before any test runs.
const bool kProbe = [] {
    if (const char* out = std::getenv("QBX_PLUGIN_PROBE")) {
        std::ofstream(out, std::ios::binary) << Cp1251ToUtf8(PluginFolder());
        std::_Exit(0);
    }
    return false;
}();

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
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "probe";
    std::filesystem::copy_file(std::filesystem::read_symlink("/proc/self/exe"), program);
    const std::string answer = dir / "answer.txt";
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("QBX_PLUGIN_PROBE", answer.c_str(), 1);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadBytes(answer), (folder / "plugin/").string());
}

} // namespace
