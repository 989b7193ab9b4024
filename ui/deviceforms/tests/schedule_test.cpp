// The schedule in the channel list: day codes, storing and reading a day, the schedule file, the
// owned-channel guard and the zone strips of the graphic view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>

#include "Objectstore.h"
#include "Schedulemodel.h"
#include "scheduledays.h"
#include "elem.h"
#include "tempfolder.h"

namespace {

// A channel list that frees its channels and records what its rebind hook was raised with.
struct Channels {
    ELEMList list;
    std::vector<std::string> rebound;
    Channels() {
        list.OnRebind = [this](ELEM* e) {
            rebound.push_back(IntToStr(static_cast<TParamItem*>(e)->ChannelIndex));
        };
    }
    ~Channels() {
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete e;
        }
    }
    TParamItem* Add(uint16_t type, uint8_t index, std::vector<uint8_t> bytes = {},
                    TObjectItem* owner = nullptr) {
        auto* p = new TParamItem;
        p->SetAddress(type, index);
        p->Owner = owner;
        p->SetBitWidth(kScheduleBitWidth);
        for (size_t i = 0; i < bytes.size(); ++i)
            p->Value[int(i)] = bytes[i];
        list.Append(p);
        return p;
    }
};

// A folder of this process's own: CTest runs every case in a process of its own, at the same time as
// the sanitized build's copy of the same case.
std::string TempPath(const std::string& name) {
    static const testsupport::TempFolder folder("schedule-");
    return folder.File(name);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct DayCase {
    const char* name;
    int month, day, code;
};
void PrintTo(const DayCase& c, std::ostream* os) { *os << c.name; }

class DayCodes : public testing::TestWithParam<DayCase> {};

TEST_P(DayCodes, DateGivesTheCodeInAnyYear) {
    const DayCase& c = GetParam();
    EXPECT_EQ(DayCode(c.month, c.day), c.code);
    EXPECT_EQ(DayCodeOfDate(EncodeDate(2008, c.month, c.day)), c.code);
    EXPECT_EQ(DayCodeOfDate(EncodeDate(2024, c.month, c.day)), c.code);
    EXPECT_TRUE(IsDayCode(c.code));
}

INSTANTIATE_TEST_SUITE_P(Schedule, DayCodes,
                         testing::Values(DayCase{"FirstOfJanuary", 1, 1, 100}, DayCase{"LeapDay", 2, 29, 160},
                                         DayCase{"FirstOfMarch", 3, 1, 164},
                                         DayCase{"LastOfDecember", 12, 31, 482}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Schedule, CodesOutsideTheCalendarAreNoDayCodes) {
    for (int code : {0, 1, 99, 483, 484, 1084, 65535})
        EXPECT_FALSE(IsDayCode(code)) << code;
}

TEST(Schedule, StoringUpdatesRanksInPlaceDeletesTheRestAndReadsBack) {
    Channels ch;
    TParamItem* named = ch.Add(100, 1, {1, 0, 0x11});
    named->Name = "kept";
    ch.Add(100, 2, {2, 0, 0x01});
    ch.Add(100, 3, {3, 0, 0x01});
    ch.Add(101, 1, {4, 0, 0x02});
    ASSERT_TRUE(StoreDay(ch.list, 100, {E(6, 30, 0x11), E(7, 5, 0x22)}));
    EXPECT_EQ(ReadDay(ch.list, 100), (std::vector{E(6, 30, 0x11), E(7, 5, 0x22)}));
    EXPECT_EQ(named->Name, "kept");
    EXPECT_EQ(ch.rebound, std::vector<std::string>{"3"});
    EXPECT_EQ(ReadDay(ch.list, 101), std::vector{E(4, 0, 0x02)});

    ASSERT_TRUE(StoreDay(ch.list, 100, {E(1, 0, 1), E(2, 0, 2), E(3, 0, 4)}));
    TParamItem* added = static_cast<TParamItem*>(ch.list.Newest);
    EXPECT_EQ(added->ChannelIndex, 3);
    EXPECT_EQ(added->Name, kNoNameChannel);
    EXPECT_EQ(added->BitWidth(), 24);
    EXPECT_EQ(added->Owner, nullptr);
    EXPECT_TRUE(added->OnRebind) << "a new entry takes the list's hooks";
}

// Entries of one day as a database may hold them: ranks twice over or 0. Storing the day as read
// keeps it as it is, however often it is stored, and renumbers it 1, 2, ….
struct StrayRankCase {
    const char* name;
    std::vector<std::pair<uint8_t, TScheduleEntry>> ranked; // oldest first
};
void PrintTo(const StrayRankCase& c, std::ostream* os) { *os << c.name; }

class StrayRanks : public testing::TestWithParam<StrayRankCase> {};

TEST_P(StrayRanks, StoringTheDayAsReadKeepsItAndRenumbersIt) {
    Channels ch;
    for (const auto& [rank, e] : GetParam().ranked)
        ch.Add(100, rank, {e.Hour, e.Minute, e.Flags});
    ch.Add(101, 1, {4, 0, 0x02});
    const std::vector<TScheduleEntry> day = ReadDay(ch.list, 100);
    ASSERT_EQ(day.size(), GetParam().ranked.size());
    for (int store = 1; store <= 3; ++store) {
        ASSERT_TRUE(StoreDay(ch.list, 100, day));
        EXPECT_EQ(ReadDay(ch.list, 100), day) << "store " << store;
        EXPECT_EQ(ch.list.Count, day.size() + 1) << "store " << store;
    }
    std::vector<int> ranks;
    for (ELEM* e = ch.list.Oldest; e; e = e->Newer)
        if (static_cast<TParamItem*>(e)->ChannelType == 100)
            ranks.push_back(static_cast<TParamItem*>(e)->ChannelIndex);
    std::sort(ranks.begin(), ranks.end());
    for (size_t i = 0; i < ranks.size(); ++i)
        EXPECT_EQ(ranks[i], int(i + 1));
    EXPECT_EQ(ReadDay(ch.list, 101), std::vector{E(4, 0, 0x02)});
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, StrayRanks,
    testing::Values(StrayRankCase{"OneRankThrice", {{3, E(0, 0, 1)}, {3, E(6, 0, 0)}, {3, E(6, 0, 0)}}},
                    StrayRankCase{"RankTwiceAmongOthers",
                                  {{1, E(5, 0, 1)}, {2, E(6, 0, 0x11)}, {2, E(7, 0, 1)}}},
                    StrayRankCase{"RankZero", {{0, E(5, 0, 1)}, {1, E(6, 0, 0x11)}}},
                    StrayRankCase{"RanksWithAGap", {{1, E(5, 0, 1)}, {4, E(6, 0, 0x11)}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file whose lines share a rank is read as it stands; the day it makes is stored faithfully.
TEST(Schedule, AFileWithARankTwiceImportsAndStoresWithoutGrowing) {
    const std::string path = TempPath("duplicate-rank.sdl");
    WriteFile(path, "200;3;0;0;1;\r200;3;6;0;0;\r200;3;6;0;0;");
    Channels ch;
    std::string error;
    ASSERT_TRUE(ImportScheduleFile(path, ch.list, error)) << error;
    const std::vector<TScheduleEntry> day = ReadDay(ch.list, 200);
    EXPECT_EQ(day, (std::vector{E(6, 0, 0), E(6, 0, 0), E(0, 0, 1)}));
    for (int store = 1; store <= 2; ++store) {
        ASSERT_TRUE(StoreDay(ch.list, 200, day));
        EXPECT_EQ(ReadDay(ch.list, 200), day) << "store " << store;
    }
    EXPECT_EQ(ScheduleFileText(ch.list), "200;2;6;0;0;\r\n200;1;6;0;0;\r\n200;3;0;0;1;\r\n");
}

TEST(Schedule, ADayOfMoreThan255EntriesIsRefusedAndKept) {
    Channels ch;
    ch.Add(100, 1, {8, 0, 1});
    EXPECT_TRUE(StoreDay(ch.list, 100, std::vector(255, E(9, 0, 1))));
    EXPECT_FALSE(StoreDay(ch.list, 100, std::vector(256, E(10, 0, 1))));
    EXPECT_EQ(ReadDay(ch.list, 100), std::vector(255, E(9, 0, 1)));
}

TEST(Schedule, ChannelsAnObjectOwnsAreNeverEntries) {
    Channels ch;
    TObjectItem owner(1);
    TParamItem* owned = ch.Add(100, 2, {5, 5, 5}, &owner);
    ch.Add(100, 1, {1, 0, 1});
    ASSERT_TRUE(StoreDay(ch.list, 100, {}));
    EXPECT_TRUE(ch.list.Contains(owned));
    ASSERT_TRUE(StoreDay(ch.list, 100, {E(1, 0, 1), E(2, 0, 1)}));
    EXPECT_EQ(owned->Value[0], 5);
    ReplaceSchedule(ch.list, {});
    EXPECT_TRUE(ch.list.Contains(owned));
    EXPECT_EQ(ScheduleFileText(ch.list), "");
}

struct CellCase {
    const char* name;
    const char* cell;
    int flags;
};
void PrintTo(const CellCase& c, std::ostream* os) { *os << c.name; }

class TableCells : public testing::TestWithParam<CellCase> {};

TEST_P(TableCells, CellTextGivesTheChannelFlags) {
    const std::string cells[kScheduleChannels] = {GetParam().cell, kCellNone, kCellNone, kCellNone};
    TScheduleEntry e;
    ASSERT_TRUE(EntryFromRow("07:05", cells, e));
    EXPECT_EQ(e, E(7, 5, GetParam().flags));
}

INSTANTIATE_TEST_SUITE_P(Schedule, TableCells,
                         testing::Values(CellCase{"None", "НЕТ", 0}, CellCase{"On", "ВКЛ.", 0x11},
                                         CellCase{"Off", "ОТКЛ.", 0x01},
                                         CellCase{"LowerCaseOn", "вкл.", 0x11},
                                         CellCase{"LowerCaseNone", "нет", 0}, CellCase{"Other", "x", 0x01}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Schedule, ARowWithoutATimeGivesNoEntry) {
    const std::string cells[kScheduleChannels] = {"ВКЛ.", "", "", ""};
    TScheduleEntry e;
    EXPECT_FALSE(EntryFromRow("  :  ", cells, e));
    EXPECT_FALSE(EntryFromRow("", cells, e));
    EXPECT_EQ(TimeCellText(E(7, 5, 0)), "7:5");
}

TEST(Schedule, FileRoundTripGivesTheSameEntries) {
    Channels from;
    from.Add(5, 1, {1, 2, 3});
    from.Add(100, 1, {8, 0, 0x11});
    from.Add(100, 2, {9, 30, 0x01});
    from.Add(482, 1, {23, 59, 0xFF});
    const std::string path = TempPath("roundtrip.sdl");
    std::string error;
    ASSERT_TRUE(ExportScheduleFile(path, from.list, error)) << error;
    EXPECT_EQ(ScheduleFileText(from.list), "482;1;23;59;255;\r\n100;2;9;30;1;\r\n100;1;8;0;17;\r\n");
    Channels to;
    to.Add(200, 1, {1, 1, 1});
    ASSERT_TRUE(ImportScheduleFile(path, to.list, error)) << error;
    EXPECT_EQ(ReadDay(to.list, 100), ReadDay(from.list, 100));
    EXPECT_EQ(ReadDay(to.list, 482), ReadDay(from.list, 482));
    EXPECT_TRUE(ReadDay(to.list, 200).empty());
    EXPECT_EQ(to.rebound, std::vector<std::string>{"1"});
}

struct BadFile {
    const char* name;
    std::string text;
};
void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }

class MalformedImports : public testing::TestWithParam<BadFile> {};

TEST_P(MalformedImports, LeaveTheOldScheduleAndSaySo) {
    const std::string path = TempPath(GetParam().name) + ".sdl"; // cases may run at once
    WriteFile(path, "100;1;8;0;17;\n" + GetParam().text + "\n101;1;9;0;1;\n");
    Channels ch;
    ch.Add(300, 1, {7, 0, 1});
    std::string error;
    EXPECT_FALSE(ImportScheduleFile(path, ch.list, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadDay(ch.list, 300), std::vector{E(7, 0, 1)});
    EXPECT_TRUE(ReadDay(ch.list, 100).empty());
    EXPECT_TRUE(ch.rebound.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, MalformedImports,
    testing::Values(BadFile{"FourFields", "100;1;8;0;"}, BadFile{"NoDayCode", "99;1;8;0;1;"},
                    BadFile{"DayCodeOfDay32", "131;1;8;0;1;"}, BadFile{"IndexZero", "100;0;8;0;1;"},
                    BadFile{"Index256", "100;256;8;0;1;"}, BadFile{"Hour24", "100;1;24;0;1;"},
                    BadFile{"Minute60", "100;1;8;60;1;"}, BadFile{"Flags256", "100;1;8;0;256;"},
                    BadFile{"Letters", "100;1;8h;0;1;"}, BadFile{"Negative", "100;1;-8;0;1;"},
                    BadFile{"HugeNumber", "100;1;8;0;4294967297;"}, BadFile{"EmptyField", "100;;8;0;1;"},
                    BadFile{"OverlongToken", "100;1;8;0;1;" + std::string(300, '0')},
                    BadFile{"TooManyForOneDay",
                            [] {
                                std::string s;
                                for (int i = 0; i < 256; ++i)
                                    s += "102;" + std::to_string(i % 255 + 1) + ";1;0;1;\n";
                                return s;
                            }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Schedule, AFileThatCannotBeReadOrWrittenIsReported) {
    Channels ch;
    ch.Add(100, 1, {7, 0, 1});
    std::string error;
    EXPECT_FALSE(ImportScheduleFile(TempPath("missing/none.sdl"), ch.list, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(ExportScheduleFile(TempPath("missing/none.sdl"), ch.list, error));
    EXPECT_EQ(error, "Не удается записать файл расписания. Не удается найти указанный файл.");
    EXPECT_EQ(ReadDay(ch.list, 100), std::vector{E(7, 0, 1)});
}

TEST(Schedule, ExportReplacesAnOldFileWhole) {
    const std::string path = TempPath("old.sdl");
    WriteFile(path, std::string(1000, 'x'));
    Channels ch;
    ch.Add(100, 1, {7, 0, 1});
    std::string error;
    ASSERT_TRUE(ExportScheduleFile(path, ch.list, error));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "100;1;7;0;1;\r\n");
}

// ---- zone strips ----

TEST(ZoneStrip, AddingToAnEmptyStripMakesTwoZonesAndDeletingTwoLeavesNone) {
    TZoneStrip s;
    s.AddZone();
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.EndTime(0), MinutesOfPixel(kNewZoneWidth)); // 1:20, as a 50-pixel panel gives
    EXPECT_EQ(s.Right(1), kStripWidth);
    EXPECT_NE(s.Zones()[0].State, s.Zones()[1].State);
    s.AddZone();
    ASSERT_EQ(s.Count(), 3);
    EXPECT_NE(s.Zones()[0].State, s.Zones()[1].State);
    EXPECT_LE(s.Right(0), s.Right(1));
    s.DeleteZone();
    EXPECT_EQ(s.Count(), 2);
    s.DeleteZone();
    EXPECT_EQ(s.Count(), 0);
    s.DeleteZone();
    EXPECT_EQ(s.Count(), 0);
}

TEST(ZoneStrip, InvertFlipsEveryZone) {
    TZoneStrip s;
    s.AddZone();
    s.AddZone();
    std::vector<TZone> before = s.Zones();
    s.Invert();
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(s.Zones()[size_t(i)].State, 1 - before[size_t(i)].State);
}

struct DragCase {
    const char* name;
    int pixel;
    int minutes;
};
void PrintTo(const DragCase& c, std::ostream* os) { *os << c.name; }

class EdgeDrags : public testing::TestWithParam<DragCase> {};

TEST_P(EdgeDrags, EdgeMapsToATimeInsideTheDay) {
    TZoneStrip s;
    s.AddZone();
    s.DragEdge(0, GetParam().pixel);
    EXPECT_EQ(s.EndTime(0), GetParam().minutes);
    EXPECT_GE(s.Right(0), 0);
    EXPECT_LE(s.Right(0), kStripWidth);
}

INSTANTIATE_TEST_SUITE_P(ZoneStrip, EdgeDrags,
                         testing::Values(DragCase{"Pixel100Is2h45", 100, 165}, DragCase{"Pixel3Is0h05", 3, 5},
                                         DragCase{"Pixel2IsMidnight", 2, 0},
                                         DragCase{"LeftOfTheStrip", -40, 0},
                                         DragCase{"PastTheStripIsTheLastStep", 2000, kLatestMinute}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZoneStrip, AnEdgeDraggedOntoItsNeighbourStopsAStepShortOfIt) {
    struct Case {
        const char* name;
        int edge, pixel, minutes;
    };
    // Edges at 0:40 and 1:20 before each drag.
    for (const Case& c : {Case{"FirstOntoSecond", 0, 200, 75}, Case{"SecondOntoFirst", 1, 0, 45},
                          Case{"SecondPastTheDay", 1, 2000, kLatestMinute}}) {
        TZoneStrip s;
        s.AddZone();
        s.AddZone();
        ASSERT_EQ(s.EndTime(0), 40);
        ASSERT_EQ(s.EndTime(1), 80);
        s.DragEdge(c.edge, c.pixel);
        EXPECT_EQ(s.EndTime(c.edge), c.minutes) << c.name;
    }
}

TEST(ZoneStrip, AZoneAddedAfterASwitchAtMidnightTakesTheFirstStretchWithRoom) {
    TZoneStrip strips[kScheduleChannels];
    DrawDay({E(0, 0, 0x11), E(0, 5, 0x01), E(12, 0, 0x11)}, strips);
    TZoneStrip& s = strips[0];
    s.AddZone();
    // 0:00-0:05 is one step, too narrow to cut; 0:05-12:00 gives up its left part.
    ASSERT_EQ(s.Count(), 5);
    EXPECT_EQ(s.EndTime(2), 85) << "a 50-pixel zone from 0:05 ends at 1:25";
    EXPECT_EQ(s.DrawnState(2), 0) << "the state switched to at 0:05 holds up to the new edge";
    EXPECT_EQ(s.DrawnState(3), 1) << "and the other one after it";
    EXPECT_EQ(ReadStrips(strips),
              (std::vector{E(0, 0, 0x11), E(0, 5, 0x01), E(1, 25, 0x11), E(12, 0, 0x11)}));
}

TEST(ZoneStrip, DrawnDayStoresBackToTheMinute) {
    // Channel 1 on at 8:00, off at 17:32; channel 2 on at 8:00 too.
    std::vector<TScheduleEntry> day = {E(8, 0, 0x33), E(17, 32, 0x01)};
    TZoneStrip strips[kScheduleChannels];
    DrawDay(day, strips);
    EXPECT_EQ(strips[0].Count(), 3);
    EXPECT_EQ(strips[1].Count(), 2);
    EXPECT_EQ(strips[2].Count(), 0);
    EXPECT_EQ(strips[0].Right(1), 17 * 36 + 30 / 5 * 3) << "drawn at its 5-minute step";
    EXPECT_EQ(ReadStrips(strips), (std::vector{E(8, 0, 0x33), E(17, 32, 0x01)}));
}

class DrawnDays : public testing::TestWithParam<TDrawnDay> {};

TEST_P(DrawnDays, ReadBackUnchanged) {
    TZoneStrip strips[kScheduleChannels];
    DrawDay(GetParam().day, strips);
    EXPECT_EQ(ReadStrips(strips), GetParam().day);
}

INSTANTIATE_TEST_SUITE_P(ZoneStrip, DrawnDays, testing::ValuesIn(RoundTripDays()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZoneStrip, ADayOutOfTimeOrderIsDrawnInTimeOrder) {
    TZoneStrip strips[kScheduleChannels];
    DrawDay({E(18, 0, 0x01), E(7, 0, 0x11), E(12, 0, 0x02)}, strips);
    EXPECT_EQ(ReadStrips(strips), (std::vector{E(7, 0, 0x11), E(12, 0, 0x02), E(18, 0, 0x01)}));
}

TEST(ZoneStrip, StoredTimesStayInsideTheDay) {
    // Hours past the day in the channel list (the database holds any byte) are drawn at the end.
    TZoneStrip strips[kScheduleChannels];
    DrawDay({E(200, 99, 0x11)}, strips);
    ASSERT_EQ(strips[0].Count(), 2);
    EXPECT_LE(strips[0].Right(0), kStripWidth);
    EXPECT_EQ(ReadStrips(strips), std::vector{E(23, 55, 0x11)});
}

TEST(ZoneStrip, StripsWithoutZonesStoreAnEmptyDay) {
    Channels ch;
    ch.Add(100, 1, {8, 0, 1});
    TZoneStrip strips[kScheduleChannels];
    ASSERT_TRUE(StoreDay(ch.list, 100, ReadStrips(strips)));
    EXPECT_TRUE(ReadDay(ch.list, 100).empty());
}

} // namespace
