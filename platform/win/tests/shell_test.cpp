// Shell namespace over the file system: item-ID list routines, folders, names and attributes,
// special folders, fixed icons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <unistd.h>

#include "cp1251.h"
#include "shell.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

// A list built from segments, freed by the owner.
struct ListDeleter {
    void operator()(ITEMIDLIST* l) const { ILFree(l); }
};
using List = std::unique_ptr<ITEMIDLIST, ListDeleter>;

List Make(const std::vector<std::string>& segments) {
    std::string bytes;
    for (const std::string& s : segments) {
        const WORD cb = WORD(s.size() + 2);
        bytes.append(reinterpret_cast<const char*>(&cb), 2);
        bytes += s;
    }
    bytes.append(2, '\0');
    auto* p = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(bytes.size()));
    std::memcpy(p, bytes.data(), bytes.size());
    return List(p);
}

std::vector<std::string> Items(LPCITEMIDLIST l) {
    std::vector<std::string> out;
    if (!l)
        return out;
    for (auto p = reinterpret_cast<const BYTE*>(l); reinterpret_cast<const SHITEMID*>(p)->cb >= 2;
         p += reinterpret_cast<const SHITEMID*>(p)->cb)
        out.emplace_back(reinterpret_cast<const char*>(p + 2), reinterpret_cast<const SHITEMID*>(p)->cb - 2);
    return out;
}

using Segs = std::vector<std::string>;

TEST(ItemIdLists, RoutinesOverATableOfLists) {
    const struct Case {
        Segs list;
        UINT size;
        Segs last, withoutLast, first;
    } cases[] = {
        {{}, 2, {}, {}, {}},
        {{"a"}, 5, {"a"}, {}, {"a"}},
        {{"usr", "share", "doc"}, 2 + 5 + 7 + 5, {"doc"}, {"usr", "share"}, {"usr"}},
        {{"x y", "Zz"}, 2 + 5 + 4, {"Zz"}, {"x y"}, {"x y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.list));
        List l = Make(c.list);
        EXPECT_EQ(ILGetSize(l.get()), c.size);
        EXPECT_EQ(Items(ILFindLastID(l.get())), c.last);
        EXPECT_EQ(Items(List(ILCloneFirst(l.get())).get()), c.first);
        List copy(ILClone(l.get()));
        EXPECT_TRUE(ILIsEqual(copy.get(), l.get()));
        EXPECT_EQ(ILRemoveLastID(copy.get()), c.list.empty() ? FALSE : TRUE);
        EXPECT_EQ(Items(copy.get()), c.withoutLast);
        EXPECT_EQ(ILIsParent(copy.get(), l.get(), TRUE), c.list.empty() ? FALSE : TRUE);
        size_t n = 0;
        for (LPITEMIDLIST at = c.list.empty() ? nullptr : l.get(); at; at = ILGetNext(at))
            ++n;
        EXPECT_EQ(n, c.list.size());
    }
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    List ab(ILCombine(Make({"a"}).get(), Make({"b", "c"}).get()));
    EXPECT_EQ(Items(ab.get()), (Segs{"a", "b", "c"}));
    EXPECT_EQ(Items(List(ILCombine(Make({}).get(), Make({}).get())).get()), Segs{});
    EXPECT_TRUE(ILIsParent(Make({"a"}).get(), ab.get(), FALSE));
    EXPECT_FALSE(ILIsParent(Make({"a"}).get(), ab.get(), TRUE));
    EXPECT_FALSE(ILIsParent(Make({"b"}).get(), ab.get(), FALSE));
    EXPECT_FALSE(ILIsEqual(Make({"a"}).get(), Make({"A"}).get()));
    List one = Make({"z"});
    List grown(ILAppendID(Make({"a"}).release(), &one->mkid, TRUE));
    EXPECT_EQ(Items(grown.get()), (Segs{"a", "z"}));
    grown.reset(ILAppendID(grown.release(), &one->mkid, FALSE));
    EXPECT_EQ(Items(grown.get()), (Segs{"z", "a", "z"}));
}

TEST(ItemIdLists, ListsAndPathsConvert) {
    List l(ILCreateFromPath("/usr/./share/../bin"));
    ASSERT_TRUE(l);
    EXPECT_EQ(Items(l.get()), (Segs{"usr", "bin"}));
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(l.get(), path));
    EXPECT_STREQ(path, "/usr/bin");
    ASSERT_TRUE(SHGetPathFromIDList(Make({}).get(), path));
    EXPECT_STREQ(path, "/");
    EXPECT_FALSE(ILCreateFromPath("/no/such/place"));
    EXPECT_FALSE(SHGetPathFromIDList(Make({std::string(300, 'x')}).get(), path));
}

class Namespace : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root + "/dir/sub");
        std::ofstream(root + "/dir/b.txt") << "x";
        std::ofstream(root + "/dir/.hidden") << "x";
        fs::create_symlink("b.txt", root + "/dir/link");
        ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    }
    void TearDown() override { desktop->Release(); }
    static std::string Name(IShellFolder* f, LPCITEMIDLIST l, DWORD flags) {
        STRRET s{};
        if (f->GetDisplayNameOf(l, flags, &s) != S_OK || s.uType != STRRET_WSTR)
            return "<failed>";
        std::string text = Utf16ToCp1251(s.pOleStr);
        CoTaskMemFree(s.pOleStr);
        return text;
    }
    const testsupport::TempFolder folder{"qbxshell-"};
    const std::string root = folder.Path();
    IShellFolder* desktop = nullptr;
};

TEST_F(Namespace, FoldersParseBindEnumerateAndName) {
    LPITEMIDLIST dirList = nullptr;
    ULONG eaten = 0, attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM;
    const std::u16string name = Cp1251ToUtf16(root + "/dir");
    ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, name.c_str(), &eaten, &dirList, &attributes), S_OK);
    List owned(dirList);
    EXPECT_EQ(eaten, name.size());
    EXPECT_EQ(attributes, ULONG(SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM));
    EXPECT_EQ(Name(desktop, dirList, SHGDN_FORPARSING), root + "/dir");
    EXPECT_EQ(Name(desktop, dirList, SHGDN_NORMAL), "dir");

    IShellFolder* dir = nullptr;
    ASSERT_EQ(desktop->BindToObject(dirList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&dir)),
              S_OK);
    IEnumIDList* e = nullptr;
    ASSERT_EQ(dir->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &e), S_OK);
    LPITEMIDLIST got[8] = {};
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(8, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3u); // the hidden file is left out
    std::vector<std::string> names;
    for (ULONG i = 0; i < fetched; ++i)
        names.push_back(Name(dir, got[i], SHGDN_INFOLDER));
    EXPECT_EQ(names, (Segs{"b.txt", "link", "sub"}));
    EXPECT_EQ(Name(dir, got[2], SHGDN_FORPARSING), root + "/dir/sub");

    // Attributes from the file system; items in common share only what all have.
    ULONG a = ~ULONG(0);
    ASSERT_EQ(dir->GetAttributesOf(1, const_cast<LPCITEMIDLIST*>(&got[0]), &a), S_OK);
    EXPECT_TRUE(a & SFGAO_STREAM);
    EXPECT_FALSE(a & SFGAO_FOLDER);
    a = SFGAO_LINK | SFGAO_FOLDER;
    ASSERT_EQ(dir->GetAttributesOf(1, const_cast<LPCITEMIDLIST*>(&got[1]), &a), S_OK);
    EXPECT_EQ(a, ULONG(SFGAO_LINK));
    a = SFGAO_FOLDER | SFGAO_FILESYSTEM;
    ASSERT_EQ(dir->GetAttributesOf(3, const_cast<LPCITEMIDLIST*>(got), &a), S_OK);
    EXPECT_EQ(a, ULONG(SFGAO_FILESYSTEM));
    List gone = Make({"gone"});
    LPCITEMIDLIST goneList = gone.get();
    a = SFGAO_VALIDATE;
    EXPECT_FALSE(Succeeded(dir->GetAttributesOf(1, &goneList, &a)));

    // Order: by name without case, then shorter first.
    EXPECT_EQ(dir->CompareIDs(0, got[0], got[2]) & 0xFFFF, 0xFFFF);
    EXPECT_EQ(dir->CompareIDs(0, got[2], got[0]) & 0xFFFF, 1);
    EXPECT_EQ(dir->CompareIDs(0, got[1], got[1]) & 0xFFFF, 0);
    EXPECT_EQ(dir->CompareIDs(0, Make({"B.TXT"}).get(), Make({"b.txt", "x"}).get()) & 0xFFFF, 0xFFFF);

    // Renaming an item.
    LPITEMIDLIST renamed = nullptr;
    ASSERT_EQ(dir->SetNameOf(nullptr, got[0], u"c.txt", SHGDN_INFOLDER, &renamed), S_OK);
    EXPECT_EQ(Items(renamed), Segs{"c.txt"});
    EXPECT_TRUE(fs::exists(root + "/dir/c.txt"));
    ILFree(renamed);

    for (ULONG i = 0; i < fetched; ++i)
        ILFree(got[i]);
    e->Release();
    IShellFolder* notFolder = nullptr;
    EXPECT_EQ(dir->BindToObject(Make({"c.txt"}).get(), nullptr, IID_IShellFolder,
                                reinterpret_cast<void**>(&notFolder)),
              HResultFromError(ENOTDIR));
    EXPECT_EQ(notFolder, nullptr);
    LPITEMIDLIST missing = nullptr;
    EXPECT_EQ(dir->ParseDisplayName(nullptr, nullptr, u"nothing", nullptr, &missing, nullptr),
              HResultFromError(ENOENT));
    dir->Release();
}

TEST_F(Namespace, SpecialFoldersFollowTheUserFolders) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", root.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/dir").c_str(), 1);
    std::ofstream(root + "/dir/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                   "XDG_DESKTOP_DIR=\"$HOME/dir/sub\"\n"
                                                   "XDG_DOCUMENTS_DIR=\"/nowhere\"\n";
    const struct {
        int csidl;
        std::string path;
    } cases[] = {
        {CSIDL_DESKTOP, "/"},
        {CSIDL_DESKTOPDIRECTORY, root + "/dir/sub"},
        {CSIDL_PROFILE, root},
        {CSIDL_APPDATA, root + "/dir"},
        {CSIDL_MYPICTURES, root}, // not in the file: the home folder
        {CSIDL_PERSONAL, ""},     // named, but not there
        {36, ""},                 // the Windows folder has no meaning here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csidl);
        LPITEMIDLIST l = nullptr;
        const HRESULT r = SHGetSpecialFolderLocation(nullptr, c.csidl, &l);
        EXPECT_EQ(SpecialFolderPath(c.csidl), c.path);
        if (c.path.empty()) {
            EXPECT_EQ(r, E_FAIL);
            EXPECT_EQ(l, nullptr);
            continue;
        }
        ASSERT_EQ(r, S_OK);
        char path[MAX_PATH];
        ASSERT_TRUE(SHGetPathFromIDList(l, path));
        EXPECT_EQ(std::string(path), c.path);
        ILFree(l);
    }
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Namespace, FileInformationUsesTheFixedIcons) {
    SHFILEINFO info{};
    const std::string folder = root + "/dir", file = root + "/dir/b.txt";
    EXPECT_EQ(SHGetFileInfo(folder.c_str(), 0, &info, sizeof info,
                            SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME),
              SHELL_IMAGELIST_SMALL);
    EXPECT_EQ(info.iIcon, SHELL_ICON_FOLDER);
    EXPECT_STREQ(info.szTypeName, "File folder");
    info.dwAttributes = SFGAO_FOLDER | SFGAO_STREAM;
    EXPECT_EQ(SHGetFileInfo(file.c_str(), 0, &info, sizeof info,
                            SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES | SHGFI_TYPENAME),
              SHELL_IMAGELIST_LARGE);
    EXPECT_EQ(info.iIcon, SHELL_ICON_DOCUMENT);
    EXPECT_STREQ(info.szDisplayName, "b.txt");
    EXPECT_STREQ(info.szTypeName, "TXT File");
    EXPECT_EQ(info.dwAttributes, ULONG(SFGAO_STREAM));
    List l(ILCreateFromPath(folder));
    EXPECT_NE(SHGetFileInfo(l.get(), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_OPENICON),
              0u);
    EXPECT_EQ(info.iIcon, SHELL_ICON_FOLDER_OPEN);
    EXPECT_NE(SHGetFileInfo("/bin/sh", 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u);
    EXPECT_EQ(info.iIcon, SHELL_ICON_PROGRAM);
    // An extension alone, without asking the file system.
    EXPECT_NE(SHGetFileInfo("x.docx", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                            SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_TYPENAME),
              0u);
    EXPECT_EQ(info.iIcon, SHELL_ICON_DOCUMENT);
    EXPECT_STREQ(info.szTypeName, "DOCX File");
    EXPECT_EQ(SHGetFileInfo((root + "/none").c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u);
}

TEST(ShellServices, WhatHasNoMeaningHereFails) {
    void* object = &object;
    EXPECT_EQ(CoCreateInstance(IID_IUnknown, nullptr, 1, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(GetFileVersionInfoSize("/bin/sh", nullptr), 0u);
    CLSID id{};
    EXPECT_EQ(CLSIDFromString("{000214E6-0000-0000-C000-000000000046}", &id), S_OK);
    EXPECT_EQ(id, IID_IShellFolder);
    for (const char* bad :
         {"", "000214E6-0000-0000-C000-000000000046", "{000214E6-0000-0000-C000-00000000004G}",
          "{000214E60000-0000-C000-0000000000046}"})
        EXPECT_EQ(CLSIDFromString(bad, &id), E_INVALIDARG) << bad;
    IMalloc* m = nullptr;
    ASSERT_EQ(SHGetMalloc(&m), S_OK);
    void* block = m->Alloc(10);
    EXPECT_EQ(m->GetSize(block), 10u);
    block = m->Realloc(block, 100);
    EXPECT_EQ(m->GetSize(block), 100u);
    m->Free(block);
}

} // namespace
