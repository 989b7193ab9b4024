// The QBX-520 switching schedule as it lives in the channel list: day codes, one day read and
// stored, the schedule file, and the graphic view's zone strips. User-interface layer, no controls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sysutils.h"

struct ELEMList;
class TParamItem;

inline constexpr int kScheduleMaxEntries = 255; // the day's rank is an 8-bit channel index
inline constexpr int kScheduleChannels = 4;     // output channels of the controller
inline constexpr uint16_t kScheduleBitWidth = 24;

// Day code of a month (1-12) and day (1-31): 100 for 1 January … 482 for 31 December.
uint16_t DayCode(int month, int day);
uint16_t DayCodeOfDate(TDateTime date);
bool IsDayCode(int code);
// An unowned channel whose type is a day code; a channel an object owns is never an entry.
bool IsScheduleEntry(const TParamItem* p);

struct TScheduleEntry {
    uint8_t Hour = 0;
    uint8_t Minute = 0;
    uint8_t Flags = 0; // bit c: channel c+1 switches; bit 4+c: to on
    bool operator==(const TScheduleEntry&) const = default;
};

// The day's entries in rank order (equal ranks keep list order, newest end first).
std::vector<TScheduleEntry> ReadDay(const ELEMList& channels, uint16_t dayCode);
// Writes the entries as the day's ranks 1, 2, …: the first entry of each existing rank is updated
// in place, every other entry of the day (ranks past the count, rank 0, a rank's second entry)
// deleted with its rebind hook raised, the rest appended. More than 255 entries are refused
// (false) and the day is left as it was.
bool StoreDay(ELEMList& channels, uint16_t dayCode, const std::vector<TScheduleEntry>& entries);

// Table cells: "7:5" for the time, "НЕТ"/"ВКЛ."/"ОТКЛ." for a channel.
extern const char* const kCellNone; // "НЕТ"
extern const char* const kCellOn;   // "ВКЛ."
extern const char* const kCellOff;  // "ОТКЛ."
std::string TimeCellText(const TScheduleEntry& e);
std::string ChannelCellText(const TScheduleEntry& e, int channel); // channel 0-3
// A table row (time cell and four channel cells) as an entry; false when the time is no time.
bool EntryFromRow(const std::string& time, const std::string (&cells)[kScheduleChannels],
                  TScheduleEntry& out);

// One line of the schedule file (see FORMAT.md).
struct TScheduleRecord {
    uint16_t DayCode = 0;
    uint8_t Index = 0;
    TScheduleEntry Entry;
};

// The file text of every entry, newest end first.
std::string ScheduleFileText(const ELEMList& channels);
// Parses a whole file; false with a message naming the line when any token is bad.
bool ParseScheduleFile(std::string_view text, std::vector<TScheduleRecord>& out, std::string& error);
// Replaces every entry of the list with the records (the rebind hook raised for each removed).
void ReplaceSchedule(ELEMList& channels, const std::vector<TScheduleRecord>& records);
// Reads, validates and only then replaces; false with a message and the list untouched.
bool ImportScheduleFile(std::string_view path, ELEMList& channels, std::string& error);
// Writes the file through a temporary renamed over it; false with a message.
bool ExportScheduleFile(std::string_view path, const ELEMList& channels, std::string& error);

// One channel strip of the graphic view: contiguous zones from pixel 0 to kStripWidth, left to
// right. A zone's right edge is a switching time (3 pixels = 5 minutes) and its state the one
// switched to there; the rightmost zone ends the day and gives no entry. A zone is drawn in the
// state in force within it, the one switched to at its left edge. A zone keeps its time to the
// minute until its edge is dragged, so a day drawn and read back is the same day.
inline constexpr int kStripWidth = 864;
inline constexpr int kNewZoneWidth = 50;
inline constexpr int kDayMinutes = 24 * 60;
inline constexpr int kLatestMinute = 23 * 60 + 55;
inline constexpr int kMinSplitWidth = 6; // pixels: two 5-minute steps

int PixelOfMinutes(int minutes); // clamped into the strip; the day's end is its right edge
int MinutesOfPixel(int pixel);   // 5-minute steps, clamped to 0:00-23:55

struct TZone {
    int EndTime = 0; // minutes after midnight at the right edge; kDayMinutes for the rightmost
    uint8_t State = 1;
};

class TZoneStrip {
public:
    const std::vector<TZone>& Zones() const { return zones_; }
    int Count() const { return int(zones_.size()); }
    int Right(int i) const { return PixelOfMinutes(zones_[size_t(i)].EndTime); }
    int Left(int i) const { return i == 0 ? 0 : Right(i - 1); }
    int EndTime(int i) const { return zones_[size_t(i)].EndTime; }

    // The state in force within zone i; before the day's first switch, the other one than that
    // switch's.
    uint8_t DrawnState(int i) const;

    void Clear() { zones_.clear(); }
    // Two zones on an empty strip, else one new zone cut from the left part of the leftmost zone
    // that has room for it (none when no zone has): its edge never shares a time with another.
    void AddZone();
    // The leftmost zone, or both when exactly two remain: a strip never keeps a single zone.
    void DeleteZone();
    void Invert();
    // Moves zone i's right edge to the pixel, kept strictly between its neighbours' edges; the
    // rightmost edge stays, and an edge left where it is keeps its exact time.
    void DragEdge(int i, int pixel);
    // Adds a leftmost zone switching to state at the time, as the drawing of a day does (latest
    // first); the switches already drawn keep their states.
    void AddSwitch(int minutes, uint8_t state);

private:
    std::vector<TZone> zones_;
};

// The day drawn on four strips, in time order, and the strips read back as entries in ascending
// time: switches of different channels at one time share an entry.
void DrawDay(const std::vector<TScheduleEntry>& entries, TZoneStrip (&strips)[kScheduleChannels]);
std::vector<TScheduleEntry> ReadStrips(const TZoneStrip (&strips)[kScheduleChannels]);
