// The file replacer: every step that can fail is made to fail in turn; until the rename the old
// file stays as it was and no temporary is left. Its users (string lists, ini files) report the
// failure and keep their old file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <optional>
#include <set>

#include "failingfs.h"
#include "inifiles.h"
#include "replacefile.h"
#include "sysutils.h"
#include "tempfolder.h"
#include "testhelpers.h"

using testsupport::FailingFileSystem;
using testsupport::TempFolder;

namespace {

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        out.insert(e.path().filename().string());
    return out;
}

struct Target {
    const char* what;
    bool exists;
    TReplacePolicy policy;
};

void PrintTo(const Target& t, std::ostream* os) { *os << t.what; }

class ReplaceFileSteps : public ::testing::TestWithParam<Target> {};

TEST_P(ReplaceFileSteps, EveryFailingStepLeavesTheOldFile) {
    const Target& t = GetParam();
    auto prepare = [&](const TempFolder& dir) {
        const std::string file = dir.File("data.txt");
        if (t.exists) {
            WriteBytes(file, "old");
            ::chmod(file.c_str(), 0640);
        }
        return file;
    };
    int steps = 0;
    {
        TempFolder dir;
        const std::string file = prepare(dir);
        FailingFileSystem fs;
        ASSERT_TRUE(ReplaceFileBytes(file, "new", t.policy));
        EXPECT_EQ(ReadBytes(file), "new");
        steps = fs.Steps;
    }
    ASSERT_GE(steps, 7);
    for (int failAt = 1; failAt <= steps; ++failAt) {
        SCOPED_TRACE("failing step " + std::to_string(failAt) + " of " + std::to_string(steps));
        TempFolder dir;
        const std::string file = prepare(dir);
        FailingFileSystem fs(failAt);
        const bool ok = bool(ReplaceFileBytes(file, "new", t.policy));
        ASSERT_TRUE(fs.Failed);
        if (failAt == steps) { // syncing the folder, after the rename: the file is replaced
            EXPECT_TRUE(ok);
            EXPECT_EQ(ReadBytes(file), "new");
            continue;
        }
        EXPECT_FALSE(ok);
        if (t.exists) {
            EXPECT_EQ(ReadBytes(file), "old");
            struct stat st {};
            ::stat(file.c_str(), &st);
            EXPECT_EQ(st.st_mode & 07777, 0640u);
        }
        EXPECT_EQ(Names(dir.Path()), t.exists ? std::set<std::string>{"data.txt"} : std::set<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceFileSteps,
                         ::testing::Values(Target{"existing", true, {}}, Target{"new", false, {}},
                                           Target{"existing_through_links", true, {true, false}}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(ReplaceFile, ReadOnlyOrNonRegularTargetIsRefused) {
    TempFolder dir;
    const std::string file = dir.File("ro.txt");
    WriteBytes(file, "old");
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(ReplaceFileBytes(file, "new"));
    EXPECT_EQ(ReadBytes(file), "old");
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_FALSE(ReplaceFileBytes(dir.File("folder"), "new"));
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"folder", "ro.txt"}));
}

// Why a replacement failed: the system's error of the refused or failing step, in the user's words.
struct Refusal {
    const char* what;
    std::function<std::string(const TempFolder&)> target; // prepares the folder, gives the path
    int failAt;                                           // a failing step (0: none)
    bool closedFolder;                                    // the target's folder takes no files
    int error;
    const char* reason;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

class ReplaceFileRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(ReplaceFileRefusals, TellTheSystemsReason) {
    const Refusal& r = GetParam();
    TempFolder dir;
    const std::string path = r.target(dir);
    std::optional<testsupport::ClosedFolderFileSystem> closed;
    std::optional<FailingFileSystem> failing;
    if (r.closedFolder)
        closed.emplace(dir.Path());
    if (r.failAt)
        failing.emplace(r.failAt);
    const TReplaceResult result = ReplaceFileBytes(path, "new");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.Error, r.error);
    EXPECT_EQ(WriteFailureText(path, result.Error), "Не удалось записать файл " + path + ": " + r.reason);
}

std::string ReadOnlyFile(const TempFolder& dir) {
    WriteBytes(dir.File("ro.txt"), "old");
    ::chmod(dir.File("ro.txt").c_str(), 0444);
    return dir.File("ro.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ReplaceFileRefusals,
    ::testing::Values(Refusal{"ReadOnlyFile", ReadOnlyFile, 0, false, EACCES, "Отказано в доступе"},
                      Refusal{"Folder",
                              [](const TempFolder& d) {
                                  std::filesystem::create_directory(d.File("sub"));
                                  return d.File("sub");
                              },
                              0, false, EISDIR, "Указанный путь является папкой"},
                      Refusal{"ParentIsAFile",
                              [](const TempFolder& d) {
                                  WriteBytes(d.File("plain"), "");
                                  return d.File("plain/new.txt");
                              },
                              0, false, ENOTDIR, "Системе не удается найти указанный путь"},
                      Refusal{"MissingFolder", [](const TempFolder& d) { return d.File("missing/new.txt"); },
                              0, false, ENOENT, "Не удается найти указанный файл"},
                      Refusal{"FolderTakesNoFiles", [](const TempFolder& d) { return d.File("new.txt"); }, 0,
                              true, EACCES, "Отказано в доступе"},
                      Refusal{"FailedWrite", [](const TempFolder& d) { return d.File("new.txt"); }, 3, false,
                              EIO, "Запрос не был выполнен из-за ошибки ввода/вывода на устройстве"}),
    [](const auto& info) { return std::string(info.param.what); });

// The writers on top: a failure at any step is reported and leaves file and memory as they were.
TEST(ReplaceFile, IniAndStringListWritersReportAFailedStep) {
    TempFolder dir;
    const std::string ini = dir.File("a.ini");
    WriteBytes(ini, "[S]\r\na=1\r\n");
    TIniFile f(ini);
    TStringList list;
    list.Add("x");
    for (int failAt = 1; failAt <= 6; ++failAt) {
        {
            FailingFileSystem fs(failAt);
            EXPECT_THROW(f.WriteString("S", "a", "2"), EIniFileException) << failAt;
        }
        FailingFileSystem fs(failAt);
        EXPECT_THROW(list.SaveToFile(dir.File("list.txt")), EFCreateError) << failAt;
    }
    EXPECT_EQ(f.ReadString("S", "a", ""), "1");
    EXPECT_EQ(ReadBytes(ini), "[S]\r\na=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("list.txt")));
}

} // namespace
