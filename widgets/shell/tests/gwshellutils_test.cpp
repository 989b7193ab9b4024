// Shell utilities: item-ID list lengths, joins, items and parents; the list of lists sorted and
// searched; folders and names over the file system; versions; strings and command lines; the
// device-change fan-out.
#include <gtest/gtest.h>

#include <cstring>

#include "Gwshellutils.h"
#include "sysutils.h"
#include "tempfolder.h"

namespace {

// A list built from segments, owned by the shell allocator.
LPITEMIDLIST MakeList(std::initializer_list<const char*> Items) {
    std::string bytes;
    for (const char* item : Items) {
        const WORD cb = WORD(std::strlen(item) + 2);
        bytes.append(reinterpret_cast<const char*>(&cb), 2);
        bytes += item;
    }
    bytes.append(2, '\0');
    auto* list = static_cast<LPITEMIDLIST>(ShellMemAlloc(bytes.size()));
    std::memcpy(list, bytes.data(), bytes.size());
    return list;
}

struct TOwned {
    LPITEMIDLIST List;
    explicit TOwned(LPITEMIDLIST L) : List(L) {}
    ~TOwned() { ShellMemFree(List); }
};

TEST(GwShellIdLists, LengthsJoinsItemsAndParents) {
    TOwned empty(MakeList({}));
    TOwned abc(MakeList({"a", "bb", "ccc"}));
    EXPECT_EQ(IdListLen(nullptr), 0u);
    EXPECT_EQ(IdListLen(empty.List), 2u);
    EXPECT_EQ(IdListLen(abc.List), 3u + 4u + 5u + 2u);
    TOwned none(ConcatIdLists(nullptr, empty.List, empty.List));
    EXPECT_EQ(IdListLen(none.List), 2u);
    TOwned twice(ConcatIdLists(nullptr, abc.List, abc.List));
    EXPECT_EQ(IdListLen(twice.List), 2u * 12u + 2u);
    EXPECT_EQ(CompareAbsIdLists(nullptr, nullptr), 0);
    EXPECT_EQ(CompareAbsIdLists(nullptr, abc.List), -1);
    EXPECT_EQ(CompareAbsIdLists(empty.List, abc.List), -1);

    TGwIdListArray items(abc.List);
    EXPECT_EQ(items.Count(), 3);
    TOwned last(CopyIdList(nullptr, items.GetItem(2)));
    TOwned expected(MakeList({"ccc"}));
    EXPECT_EQ(IdListLen(last.List), IdListLen(expected.List));
    EXPECT_EQ(std::memcmp(last.List, expected.List, IdListLen(expected.List)), 0);
    EXPECT_EQ(items.GetItem(3), nullptr);
    EXPECT_EQ(items.GetItem(-1), nullptr);
    TOwned up(CopyIdList(nullptr, items.GoUp(1)));
    TOwned firstTwo(MakeList({"a", "bb"}));
    EXPECT_EQ(std::memcmp(up.List, firstTwo.List, IdListLen(firstTwo.List)), 0);
    EXPECT_EQ(IdListLen(items.GoUp(3)), 2u);
    EXPECT_EQ(items.GoUp(4), nullptr);
    TGwIdListArray nothing(empty.List);
    EXPECT_EQ(IdListLen(nothing.GetItem(0)), 2u);
}

TEST(GwShellIdLists, SortedListSearchesAndRefusesDuplicates) {
    TOwned b(MakeList({"b"})), a(MakeList({"a"})), a2(MakeList({"a"})), ab(MakeList({"a", "b"}));
    TGwPidlList list;
    list.Add(b.List);
    list.Add(ab.List);
    list.Add(a.List);
    list.SetSorted(true);
    EXPECT_EQ(list.PIDL(0), a.List);
    EXPECT_EQ(list.IndexOf(b.List), 2);
    EXPECT_THROW(list.Add(a2.List), Exception);
    EXPECT_EQ(list.Count(), 3);
    list.Duplicates = dupIgnore;
    EXPECT_EQ(list.Add(a2.List), 0);
    EXPECT_EQ(list.Count(), 3);
    list.Duplicates = dupAccept;
    list.Add(a2.List);
    list.Add(a2.List);
    EXPECT_EQ(list.IndexOf(a2.List), 0); // the first of the equal entries
    EXPECT_THROW(list.PIDL(9), EListError);
    list.Clear(); // without an allocator the lists stay the caller's
    EXPECT_EQ(IdListLen(a.List), 5u);
}

TEST(GwShellFolders, PathsAndNamesRoundTripThroughTheNamespace) {
    testsupport::TempFolder folder("gw-shell-");
    const std::string dir = folder.File("\xCF\xE0\xEF\xEA\xE0"); // "Папка"
    ASSERT_TRUE(ForceDirectories(dir));
    LPITEMIDLIST list = nullptr;
    ASSERT_TRUE(Succeeded(ShellGetIdListFromPath(dir, list)));
    TOwned owned(list);
    EXPECT_EQ(ShellGetPathFromIdList(list), dir);
    EXPECT_EQ(ShellGetFriendlyNameForLastIdListElement(list), "\xCF\xE0\xEF\xEA\xE0");
    EXPECT_EQ(ShellFindCSIDLFromIdList(list), csidlNone);
    EXPECT_EQ(ShellGetPathFromIdList(nullptr), "/");
    EXPECT_EQ(ShellGetDisplayPathName(dir), dir);
}

TEST(GwShellVersions, FollowThePlatformsVersionRecord) {
    EXPECT_TRUE(IsWinNT());
    EXPECT_FALSE(IsWin95());
    EXPECT_TRUE(IsWin2000());
    EXPECT_TRUE(HasWin95Shell());
    EXPECT_GE(ShellVersion().High, 0x00040047u); // new enough for the overlay icons
    TGwModuleVersion v{};
    EXPECT_FALSE(GetModuleVersion("shell32.dll", v));
    EXPECT_TRUE(IsNetworkDriveConnected('X'));
    TLinkData link;
    EXPECT_FALSE(ResolveShortcut("any.lnk", link, true));
    EXPECT_EQ(link.IdList, nullptr);
}

TEST(GwShellStrings, TrailingCharactersAndPositionalInserts) {
    EXPECT_EQ(EnsureTrailingCharDB("", '\\'), "");
    EXPECT_EQ(EnsureTrailingCharDB("C:", '\\'), "C:\\");
    EXPECT_EQ(EnsureTrailingCharDB("C:\\", '\\'), "C:\\");
    EXPECT_EQ(TrimRightDB("ab \t\r\n"), "ab");
    EXPECT_EQ(FormatStrPos("%2 before %1, 100%%", {"one", "two"}), "two before one, 100%");
    EXPECT_EQ(FormatStrPos("", {"x"}), "");
    EXPECT_THROW(FormatStrPos("%1", std::vector<std::string>(51, "s")), Exception);
}

struct TCmdCase {
    const char* Name;
    const char* Line;
    const char* Parameters; // joined with "|"
};
void PrintTo(const TCmdCase& c, std::ostream* os) { *os << c.Name; }

class CommandLine : public testing::TestWithParam<TCmdCase> {};

TEST_P(CommandLine, SplitsIntoParameters) {
    TStringList list;
    ParametizeCmdLineDB(GetParam().Line, &list);
    std::string joined;
    for (int i = 0; i < list.Count(); ++i)
        joined += (i ? "|" : "") + list.Strings(i);
    EXPECT_EQ(joined, GetParam().Parameters);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine,
                         testing::Values(TCmdCase{"Words", "  one\ttwo  three ", "one|two|three"},
                                         TCmdCase{"QuotedKeepsSpaces", "\"a b\" c", "a b|c"},
                                         TCmdCase{"QuoteSplitsAWord", "ab\"cd\"", "ab|cd"},
                                         TCmdCase{"EmptyQuotesAddNothing", "\"\" x", "x"},
                                         TCmdCase{"UnclosedQuoteTakesTheRest", "a \"b c", "a|b c"},
                                         TCmdCase{"Cyrillic", "\xEF\xF3\xF2\xFC \"\xE8\xEC\xFF\"",
                                                  "\xEF\xF3\xF2\xFC|\xE8\xEC\xFF"}),
                         [](const testing::TestParamInfo<TCmdCase>& i) { return std::string(i.param.Name); });

TEST(GwDeviceChange, EveryRegistrationHearsAndRemoveDropsTheFirst) {
    TGwDeviceChangeHandler handler;
    int calls = 0;
    const int id = 0;
    handler.Add(&id, [&](TMessage&) { ++calls; });
    handler.Add(&id, [&](TMessage&) { calls += 10; });
    TMessage m{};
    handler.BroadcastToList(m);
    EXPECT_EQ(calls, 11);
    handler.Remove(&id);
    handler.BroadcastToList(m);
    EXPECT_EQ(calls, 21);
    handler.Enabled = false;
    handler.BroadcastToList(m);
    EXPECT_EQ(calls, 21);
}

} // namespace
