// File names at the file-system boundary: Windows-1251 text in the program, UTF-8 names on disk.
// Files saved under Cyrillic names inside a Cyrillic folder are found on disk under the UTF-8 forms
// (a raw listing), files another program made under UTF-8 names open, and a name Windows-1251
// cannot hold is refused with a message naming it.
#include <gtest/gtest.h>

#include <dirent.h>

#include <set>

#include "cp1251.h"
#include "inifiles.h"
#include "sysutils.h"
#include "testhelpers.h"

namespace {

// Names in a folder as the system lists them, bytes untouched.
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

TEST(FileNames, NativePathIsUtf8WithSlashes) {
    EXPECT_EQ(NativePath("C:\\Конфигурации\\Подстанция-1.lor"), U8(u8"C:/Конфигурации/Подстанция-1.lor"));
    EXPECT_EQ(NativePath("plain/ascii.ini"), "plain/ascii.ini");
    std::string back;
    ASSERT_TRUE(TryFromNativePath(U8(u8"/tmp/Папка/Файл №1.ini"), back));
    EXPECT_EQ(back, "/tmp/Папка/Файл №1.ini");
}

TEST(FileNames, IniAndStringListUnderCyrillicNamesInACyrillicFolder) {
    TempDir dir;
    const std::string folder = Utf8ToCp1251(dir.path.string()) + "/Настройки";
    ASSERT_TRUE(ForceDirectories(folder));
    const std::string ini = folder + "/Подстанция.ini";
    const std::string list = folder + "/Список сигналов.txt";
    {
        TIniFile f(ini);
        f.WriteString("Раздел", "Ключ", "Значение");
    }
    TStringList lines;
    lines.Add("Строка 1");
    lines.SaveToFile(list);

    EXPECT_EQ(RawListing(dir.path.string()), std::set<std::string>{U8(u8"Настройки")});
    EXPECT_EQ(RawListing(NativePath(folder)),
              (std::set<std::string>{U8(u8"Подстанция.ini"), U8(u8"Список сигналов.txt")}));
    EXPECT_TRUE(FileExists(ini));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_EQ(TIniFile(ini).ReadString("Раздел", "Ключ", ""), "Значение");
    TStringList again;
    again.LoadFromFile(list);
    EXPECT_EQ(Lines(again), std::vector<std::string>{"Строка 1"});
    EXPECT_TRUE(RenameFile(list, folder + "/Архив.txt"));
    EXPECT_TRUE(DeleteFile(folder + "/Архив.txt"));
    EXPECT_EQ(RawListing(NativePath(folder)), std::set<std::string>{U8(u8"Подстанция.ini")});
}

// Made by another program: the names on disk are UTF-8.
TEST(FileNames, FilesMadeUnderUtf8NamesOpen) {
    TempDir dir;
    const std::filesystem::path folder = dir.path / std::filesystem::path(u8"Папка");
    std::filesystem::create_directories(folder);
    WriteBytes((folder / std::filesystem::path(u8"Данные.txt")).string(), "первая\r\nвторая");
    const std::string name = Utf8ToCp1251(dir.path.string()) + "/Папка/Данные.txt";
    ASSERT_TRUE(FileExists(name));
    TStringList l;
    l.LoadFromFile(name);
    EXPECT_EQ(l.Count(), 2);
    TFileStream s(name, fmOpenRead);
    EXPECT_EQ(s.Size(), 14);
}

// A name with characters outside Windows-1251 (from a listing, the program's path) is refused and
// named in the message, never turned into another name.
TEST(FileNames, NameOutsideWindows1251IsRefusedWithItsName) {
    const std::string native = U8(u8"/tmp/Отчёт™ über.lor"); // "™" is in Windows-1251, "ü" is not
    std::string out;
    EXPECT_FALSE(TryFromNativePath(native, out));
    EXPECT_EQ(out, "/tmp/Отчёт™ ?ber.lor");
    EXPECT_EQ(UnrepresentableNameMessage(native), "Имя \"/tmp/Отчёт™ ?ber.lor\" содержит символы, которых "
                                                  "нет в кодировке Windows-1251, и не может быть "
                                                  "использовано.");
    EXPECT_FALSE(TryFromNativePath("\xC0\xE0", out)); // not UTF-8 at all
}

} // namespace
