// String lists: comma text, case-insensitive search, sorted lists, name=value lines, text and
// files, change events, and a comparison against a plain vector under random operations.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "classes.h"
#include "testhelpers.h"

namespace {

using V = std::vector<std::string>;

} // namespace

TEST(CommaText, Split) {
    struct Case {
        std::string text;
        V lines;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"a b", {"a", "b"}},
        {"a, b", {"a", "b"}},
        {"mov x  ,  5", {"mov", "x", "5"}},
        {"push\tmem 1", {"push", "mem", "1"}},
        {"", {}},
        {"   ", {}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a"}},
        {"\"a b\",c", {"a b", "c"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"ab\"cd", {"ab", "cd"}},
        {"\"unterminated", {"unterminated"}},
        {"\"\"", {""}},
        {"\"Ёж, ещё\" я", {"Ёж, ещё", "я"}},
        {std::string("a\x01"
                     "b\0c",
                     5),
         {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.Add("old");
        l.SetCommaText(c.text);
        EXPECT_EQ(Lines(l), c.lines) << c.text;
    }
}

TEST(CommaText, JoinQuotesWhatWouldSplit) {
    TStringList l;
    for (const char* s : {"a", "b c", "q\"", "", "x,y", "Ёж"})
        l.Add(s);
    EXPECT_EQ(l.CommaText(), "a,\"b c\",\"q\"\"\",\"\",\"x,y\",Ёж");
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_EQ(Lines(back), Lines(l));
}

TEST(CommaText, RandomListsRoundTrip) {
    std::mt19937 rng(1251);
    const std::string alphabet = "ab ,\"\t\x01\r\nЯё=;";
    for (int round = 0; round < 2000; ++round) {
        TStringList l;
        int n = int(rng() % 5);
        for (int i = 0; i < n; ++i) {
            std::string s;
            int len = int(rng() % 6);
            for (int k = 0; k < len; ++k)
                s += alphabet[rng() % alphabet.size()];
            l.Add(s);
        }
        TStringList back;
        back.SetCommaText(l.CommaText());
        ASSERT_EQ(Lines(back), Lines(l)) << l.CommaText();
    }
}

TEST(Search, IndexOfIgnoresCaseUnlessAskedNotTo) {
    TStringList l;
    for (const char* s : {"Cnt", "Ёж", "x1"})
        l.Add(s);
    struct Case {
        const char* s;
        int insensitive;
        int sensitive;
    } cases[] = {
        {"cnt", 0, -1}, {"Cnt", 0, 0}, {"ЁЖ", 1, -1}, {"ёж", 1, -1},
        {"X1", 2, -1},  {"y", -1, -1}, {"", -1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(l.IndexOf(c.s), c.insensitive) << c.s;
    l.SetCaseSensitive(true);
    for (const auto& c : cases)
        EXPECT_EQ(l.IndexOf(c.s), c.sensitive) << c.s;
    l.SetSorted(true);
    for (const auto& c : cases)
        EXPECT_EQ(l.IndexOf(c.s) >= 0, c.sensitive >= 0) << c.s;
}

TEST(Sorted, OrderFindAndDuplicates) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"жук", "Apple", "ёж", "banana", "Ель", "10"})
        l.Add(s);
    EXPECT_EQ(Lines(l), (V{"10", "Apple", "banana", "Ель", "ёж", "жук"}));
    int at = -1;
    EXPECT_TRUE(l.Find("ЕЛЬ", at));
    EXPECT_EQ(at, 3);
    EXPECT_FALSE(l.Find("cherry", at));
    EXPECT_EQ(at, 3); // where it would go

    EXPECT_EQ(l.Add("APPLE"), 1); // dupIgnore: the existing line's index
    EXPECT_EQ(l.Count(), 6);
    l.Duplicates = dupError;
    try {
        l.Add("apple");
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "String list does not allow duplicates");
    }
    l.Duplicates = dupAccept;
    EXPECT_EQ(l.Add("APPLE"), 1);
    EXPECT_EQ(Lines(l), (V{"10", "APPLE", "Apple", "banana", "Ель", "ёж", "жук"}));
    EXPECT_TRUE(l.Find("apple", at));
    EXPECT_EQ(at, 1); // the first of equal lines

    for (auto op : {+[](TStringList& x) { x.Insert(0, "a"); }, +[](TStringList& x) { x.Put(0, "a"); }}) {
        try {
            op(l);
            ADD_FAILURE();
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message, "Operation not allowed on sorted string list");
        }
    }
}

TEST(Errors, IndexOutOfBoundsIsAListError) {
    TStringList l;
    l.Add("a");
    l.Add("b");
    struct Case {
        std::function<void()> op;
        int index;
    } cases[] = {
        {[&] { l.Get(-1); }, -1},       {[&] { l.Get(2); }, 2},     {[&] { l.Delete(5); }, 5},
        {[&] { l.Insert(3, "x"); }, 3}, {[&] { l.Objects(2); }, 2}, {[&] { l.Exchange(0, 7); }, 7},
        {[&] { l.Names(9); }, 9},
    };
    for (const auto& c : cases) {
        try {
            c.op();
            ADD_FAILURE() << c.index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, "List index out of bounds (" + std::to_string(c.index) + ")");
        }
    }
    EXPECT_EQ(Lines(l), (V{"a", "b"}));
    l.Insert(2, "c"); // at Count is an append
    EXPECT_EQ(Lines(l), (V{"a", "b", "c"}));
}

TEST(Errors, AFailedOperationChangesNothingAndLeavesNoOpenUpdate) {
    struct Case {
        const char* what;
        bool sorted;
        std::function<void(TStringList&)> op;
        V after; // the lines once the operation has failed
    } cases[] = {
        {"comma text with a duplicate", true, [](TStringList& l) { l.SetCommaText("x,X"); }, {"x"}},
        {"text with a duplicate", true, [](TStringList& l) { l.SetText("y\r\ny"); }, {"y"}},
        {"adding a duplicate list",
         true,
         [](TStringList& l) {
             TStringList o;
             o.Add("b");
             l.AddStrings(&o);
         },
         {"b", "d"}},
        {"move in a sorted list", true, [](TStringList& l) { l.Move(0, 1); }, {"b", "d"}},
        {"move past the end", false, [](TStringList& l) { l.Move(0, 2); }, {"b", "d"}},
        {"move from past the end", false, [](TStringList& l) { l.Move(-1, 0); }, {"b", "d"}},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.Add("b");
        l.Add("d");
        l.Duplicates = dupError;
        l.SetSorted(c.sorted);
        int changed = 0;
        l.OnChange = [&](TObject*) { ++changed; };
        EXPECT_THROW(c.op(l), EListError) << c.what;
        EXPECT_EQ(Lines(l), c.after) << c.what;
        EXPECT_EQ(l.UpdateCount(), 0) << c.what;
        changed = 0;
        l.Add("z");
        EXPECT_EQ(changed, 1) << c.what; // change events still arrive
    }
}

TEST(NameValue, Lines) {
    TStringList l;
    l.SetText("a=1\r\nB=2\r\nnoequals\r\nc==x\r\n");
    EXPECT_EQ(l.Values("b"), "2");
    EXPECT_EQ(l.Values("A"), "1");
    EXPECT_EQ(l.Values("c"), "=x");
    EXPECT_EQ(l.Values("noequals"), "");
    EXPECT_EQ(l.Names(0), "a");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.IndexOfName("C"), 3);
    l.SetValue("d", "4");
    l.SetValue("A", "9");
    l.SetValue("b", "");
    l.SetValue("missing", "");
    EXPECT_EQ(Lines(l), (V{"A=9", "noequals", "c==x", "d=4"}));
    EXPECT_EQ(l.ValueFromIndex(3), "4");
}

TEST(Text, LineEnds) {
    struct Case {
        std::string text;
        V lines;
    } cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb", {"a", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},
        {"x\r\r\ny", {"x", "", "y"}},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.SetText(c.text);
        EXPECT_EQ(Lines(l), c.lines) << c.text;
    }
    TStringList l;
    l.Add("a");
    l.Add("");
    EXPECT_EQ(l.Text(), "a\r\n\r\n");
}

TEST(Files, BytesAreKeptAndLinesEndWithCrLf) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TStringList l;
    l.Add("Ёж\xFF\x98");
    l.Add("b");
    l.SaveToFile(f);
    EXPECT_EQ(ReadBytes(f), "Ёж\xFF\x98\r\nb\r\n");
    std::ofstream(f, std::ios::binary) << "x\ny\r\n\xE0";
    l.LoadFromFile(f);
    EXPECT_EQ(Lines(l), (V{"x", "y", "\xE0"}));
    for (const std::string& bad : {dir.File("missing.txt"), dir.path.string()}) {
        try {
            l.LoadFromFile(bad);
            ADD_FAILURE() << bad;
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message, "Cannot open file " + bad);
        }
    }
    EXPECT_EQ(Lines(l), (V{"x", "y", "\xE0"}));
}

TEST(Files, ASaveKeepsTheFilesPermissions) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string f = dir.File("kept.txt");
    WriteBytes(f, "old");
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TStringList l;
    l.Add("new");
    l.SaveToFile(f);
    EXPECT_EQ(ReadBytes(f), "new\r\n");
    EXPECT_EQ(fs::status(f).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(Files, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    TStringList l;
    l.Add("new");
    try {
        l.SaveToFile(dir.File("no/such/folder.txt"));
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message, "Cannot create file " + dir.File("no/such/folder.txt"));
    }
    // A folder in the way of the rename: the old content (here: the folder) stays.
    std::filesystem::create_directories(dir.path / "taken" / "x");
    EXPECT_THROW(l.SaveToFile(dir.File("taken")), EFCreateError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / "taken"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1); // no temporary left
}

TEST(Events, OneChangePerOperationOrUpdateBlock) {
    TStringList l;
    int changing = 0, changed = 0;
    l.OnChanging = [&](TObject* s) {
        EXPECT_EQ(s, &l);
        ++changing;
    };
    l.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &l);
        ++changed;
    };
    l.Add("a");
    EXPECT_EQ(changed, 1);
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.BeginUpdate();
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(changed, 1);
    l.EndUpdate();
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(changing, 2);
    l.SetCommaText("x,y,z");
    EXPECT_EQ(changed, 3);
}

TEST(Objects, TravelWithTheirLines) {
    TObject a, b, c;
    TStringList l;
    l.AddObject("c", &c);
    l.AddObject("a", &a);
    l.AddObject("b", &b);
    l.Exchange(0, 2);
    EXPECT_EQ(l.Objects(0), &b);
    l.SetSorted(true);
    EXPECT_EQ(Lines(l), (V{"a", "b", "c"}));
    EXPECT_EQ(l.Objects(0), &a);
    EXPECT_EQ(l.Objects(1), &b);
    EXPECT_EQ(l.Objects(2), &c);
    EXPECT_EQ(l.IndexOfObject(&c), 2);
    TStringList copy;
    copy.Assign(&l);
    EXPECT_EQ(copy.Objects(2), &c);
    l.AddStrings(&l); // sorted, dupIgnore: nothing new
    EXPECT_EQ(l.Count(), 3);
}

TEST(Model, RandomOperationsMatchAVector) {
    std::mt19937 rng(7);
    TStringList l;
    std::vector<std::string> m;
    auto word = [&] { return std::string(1, "aAbBЯя"[rng() % 6]) + std::to_string(rng() % 4); };
    for (int step = 0; step < 5000; ++step) {
        int n = int(m.size());
        switch (rng() % 6) {
        case 0: {
            std::string w = word();
            l.Add(w);
            m.push_back(w);
            break;
        }
        case 1: {
            int i = int(rng() % (n + 1));
            std::string w = word();
            l.Insert(i, w);
            m.insert(m.begin() + i, w);
            break;
        }
        case 2:
            if (n) {
                int i = int(rng() % n);
                l.Delete(i);
                m.erase(m.begin() + i);
            }
            break;
        case 3:
            if (n) {
                int i = int(rng() % n);
                std::string w = word();
                l.Put(i, w);
                m[size_t(i)] = w;
            }
            break;
        case 4:
            if (n) {
                int i = int(rng() % n), j = int(rng() % n);
                l.Move(i, j);
                std::string w = m[size_t(i)];
                m.erase(m.begin() + i);
                m.insert(m.begin() + j, w);
            }
            break;
        case 5: {
            std::string w = word();
            int expect = -1;
            for (int i = 0; i < n && expect < 0; ++i)
                if (AnsiSameText(m[size_t(i)], w))
                    expect = i;
            ASSERT_EQ(l.IndexOf(w), expect);
            break;
        }
        }
        ASSERT_EQ(Lines(l), m) << "step " << step;
    }
}
