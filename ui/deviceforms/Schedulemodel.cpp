// The QBX-520 switching schedule in the channel list, its file and its zone strips.
#include "Schedulemodel.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "Objectstore.h"
#include "elem.h"
#include "replacefile.h"

const char* const kCellNone = "НЕТ";
const char* const kCellOn = "ВКЛ.";
const char* const kCellOff = "ОТКЛ.";

namespace {

constexpr size_t kMaxToken = 255; // the longest line the file ever held
constexpr int kFileFields = 5;

TParamItem* AsParam(ELEM* e) { return static_cast<TParamItem*>(e); }

TParamItem* NewEntry(uint16_t dayCode, uint8_t index, const TScheduleEntry& e) {
    auto* p = new TParamItem;
    p->Name = kNoNameChannel;
    p->SetAddress(dayCode, index);
    p->SetBitWidth(kScheduleBitWidth);
    p->Value[0] = e.Hour;
    p->Value[1] = e.Minute;
    p->Value[2] = e.Flags;
    return p;
}

void SetEntryBytes(TParamItem* p, const TScheduleEntry& e) {
    p->Value[0] = e.Hour;
    p->Value[1] = e.Minute;
    p->Value[2] = e.Flags;
}

void DeleteEntry(ELEMList& channels, TParamItem* p) {
    p->Name.clear();
    channels.Remove(p);
    p->RaiseRebind();
    delete p;
}

// A field of plain decimal digits, at most max.
bool ParseField(std::string_view s, int max, int& out) {
    if (s.empty() || s.size() > 5)
        return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return v <= max;
}

bool ParseToken(std::string_view token, TScheduleRecord& r) {
    if (token.size() > kMaxToken)
        return false;
    int f[kFileFields];
    for (int i = 0; i < kFileFields; ++i) {
        size_t semi = token.find(';');
        if (semi == std::string_view::npos)
            return false;
        if (!ParseField(token.substr(0, semi), 65535, f[i]))
            return false;
        token.remove_prefix(semi + 1);
    }
    if (!IsDayCode(f[0]) || f[1] < 1 || f[1] > 255 || f[2] > 23 || f[3] > 59 || f[4] > 255)
        return false;
    r.DayCode = uint16_t(f[0]);
    r.Index = uint8_t(f[1]);
    r.Entry = {uint8_t(f[2]), uint8_t(f[3]), uint8_t(f[4])};
    return true;
}

} // namespace

uint16_t DayCode(int month, int day) { return uint16_t(32 * month + day + 67); }

uint16_t DayCodeOfDate(TDateTime date) {
    unsigned short y, m, d;
    DecodeDate(date, y, m, d);
    return DayCode(m, d);
}

bool IsDayCode(int code) {
    int month = (code - 100) / 32 + 1;
    int day = (code - 100) % 32 + 1;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool IsScheduleEntry(const TParamItem* p) { return p->Owner == nullptr && IsDayCode(p->ChannelType); }

std::vector<TScheduleEntry> ReadDay(const ELEMList& channels, uint16_t dayCode) {
    std::vector<std::pair<uint8_t, TScheduleEntry>> ranked;
    for (ELEM* e = channels.Newest; e; e = e->Older) {
        TParamItem* p = AsParam(e);
        if (p->ChannelType == dayCode && IsScheduleEntry(p))
            ranked.push_back({p->ChannelIndex, {p->Value[0], p->Value[1], p->Value[2]}});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<TScheduleEntry> out;
    for (auto& r : ranked)
        out.push_back(r.second);
    return out;
}

bool StoreDay(ELEMList& channels, uint16_t dayCode, const std::vector<TScheduleEntry>& entries) {
    if (entries.size() > size_t(kScheduleMaxEntries))
        return false;
    // Each rank 1..n is updated in place once; every other entry of the day goes, a second entry of
    // a rank (a file or a database may hold one) and a rank 0 among them, so the day holds exactly
    // the entries given.
    std::vector<bool> placed(entries.size());
    for (ELEM* e = channels.Newest; e;) {
        TParamItem* p = AsParam(e);
        e = e->Older;
        if (p->ChannelType != dayCode || !IsScheduleEntry(p))
            continue;
        const size_t rank = p->ChannelIndex;
        if (rank == 0 || rank > entries.size() || placed[rank - 1]) {
            DeleteEntry(channels, p);
            continue;
        }
        SetEntryBytes(p, entries[rank - 1]);
        placed[rank - 1] = true;
    }
    for (size_t i = 0; i < entries.size(); ++i)
        if (!placed[i])
            channels.Append(NewEntry(dayCode, uint8_t(i + 1), entries[i]));
    return true;
}

std::string TimeCellText(const TScheduleEntry& e) { return IntToStr(e.Hour) + ":" + IntToStr(e.Minute); }

std::string ChannelCellText(const TScheduleEntry& e, int channel) {
    if (!(e.Flags & (1 << channel)))
        return kCellNone;
    return (e.Flags & (0x10 << channel)) ? kCellOn : kCellOff;
}

bool EntryFromRow(const std::string& time, const std::string (&cells)[kScheduleChannels],
                  TScheduleEntry& out) {
    TDateTime t;
    if (!TryStrToTime(time, t))
        return false;
    unsigned short h, m, s, ms;
    DecodeTime(t, h, m, s, ms);
    out = {uint8_t(h), uint8_t(m), 0};
    for (int c = 0; c < kScheduleChannels; ++c) {
        // Cyrillic is upper-cased too: "вкл." typed by hand means on.
        std::string text = AnsiUpperCase(cells[c]);
        if (text == kCellNone)
            continue;
        out.Flags |= uint8_t(1 << c);
        if (text == kCellOn)
            out.Flags |= uint8_t(0x10 << c);
    }
    return true;
}

std::string ScheduleFileText(const ELEMList& channels) {
    std::string text;
    for (ELEM* e = channels.Newest; e; e = e->Older) {
        TParamItem* p = AsParam(e);
        if (!IsScheduleEntry(p))
            continue;
        text += IntToStr(p->ChannelType) + ";" + IntToStr(p->ChannelIndex) + ";" + IntToStr(p->Value[0]) +
                ";" + IntToStr(p->Value[1]) + ";" + IntToStr(p->Value[2]) + ";\r\n";
    }
    return text;
}

bool ParseScheduleFile(std::string_view text, std::vector<TScheduleRecord>& out, std::string& error) {
    std::vector<TScheduleRecord> records;
    std::vector<int> perDay(500);
    size_t pos = 0;
    int line = 0;
    while (true) {
        pos = text.find_first_not_of(" \t\r\n", pos);
        if (pos == std::string_view::npos)
            break;
        size_t end = std::min(text.find_first_of(" \t\r\n", pos), text.size());
        ++line;
        TScheduleRecord r;
        if (!ParseToken(text.substr(pos, end - pos), r)) {
            error = "Ошибка в файле расписания, строка " + IntToStr(line) + ".";
            return false;
        }
        if (++perDay[r.DayCode] > kScheduleMaxEntries) {
            error = "В файле расписания больше 255 записей на один день.";
            return false;
        }
        records.push_back(r);
        pos = end;
    }
    out = std::move(records);
    return true;
}

void ReplaceSchedule(ELEMList& channels, const std::vector<TScheduleRecord>& records) {
    for (ELEM* e = channels.Newest; e;) {
        TParamItem* p = AsParam(e);
        e = e->Older;
        if (IsScheduleEntry(p)) {
            channels.Remove(p);
            p->RaiseRebind();
            delete p;
        }
    }
    for (const TScheduleRecord& r : records)
        channels.Append(NewEntry(r.DayCode, r.Index, r.Entry));
}

bool ImportScheduleFile(std::string_view path, ELEMList& channels, std::string& error) {
    std::ifstream in(NativePath(path), std::ios::binary); // read-only: the file is never changed
    if (!in) {
        error = "Не удается открыть файл расписания.";
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "Ошибка чтения файла расписания.";
        return false;
    }
    std::vector<TScheduleRecord> records;
    if (!ParseScheduleFile(text, records, error))
        return false;
    ReplaceSchedule(channels, records);
    return true;
}

bool ExportScheduleFile(std::string_view path, const ELEMList& channels, std::string& error) {
    const TReplaceResult written = ReplaceFileBytes(path, ScheduleFileText(channels));
    if (written)
        return true;
    const std::string reason = SysErrorMessage(unsigned(written.Error));
    error = "Не удается записать файл расписания." + (reason.empty() ? "" : " " + reason + ".");
    return false;
}

int PixelOfMinutes(int minutes) { return std::clamp(minutes, 0, kDayMinutes) / 5 * 3; }

int MinutesOfPixel(int pixel) { return std::clamp(pixel / 3 * 5, 0, kLatestMinute); }

void TZoneStrip::AddZone() {
    if (zones_.empty()) {
        zones_.push_back({kDayMinutes, 1});
        zones_.insert(zones_.begin(), {MinutesOfPixel(kNewZoneWidth), 0});
        return;
    }
    // The new zone takes the left part of the first zone wide enough to show two, so both keep a
    // width to drag and their edges two times of their own: zones squeezed to nothing at midnight
    // are passed over.
    size_t i = 0;
    while (i < zones_.size() && Right(int(i)) - Left(int(i)) < kMinSplitWidth)
        ++i;
    if (i == zones_.size())
        return;
    const int left = Left(int(i));
    const int end = MinutesOfPixel(left + std::min(kNewZoneWidth, (Right(int(i)) - left) / 2));
    // The leftmost zone switches to the other state than its neighbour; further right the state in
    // force there is kept up to the new edge and switched over at it.
    const uint8_t state = i == 0 ? zones_.front().State : zones_[i - 1].State;
    zones_.insert(zones_.begin() + std::ptrdiff_t(i), {end, uint8_t(1 - state)});
}

void TZoneStrip::DeleteZone() {
    if (zones_.size() <= 2)
        zones_.clear();
    else
        zones_.erase(zones_.begin());
}

void TZoneStrip::Invert() {
    for (TZone& z : zones_)
        z.State = uint8_t(1 - z.State);
}

uint8_t TZoneStrip::DrawnState(int i) const {
    return i == 0 ? uint8_t(1 - zones_.front().State) : zones_[size_t(i) - 1].State;
}

void TZoneStrip::DragEdge(int i, int pixel) {
    if (i < 0 || i + 1 >= Count() || pixel == Right(i))
        return;
    // Strictly between the neighbouring edges: two switches of one channel never share a minute.
    const int after = i == 0 ? -1 : EndTime(i - 1);
    const int before = EndTime(i + 1);
    int t = MinutesOfPixel(pixel);
    if (t <= after)
        t = after / 5 * 5 + 5;
    if (t >= before)
        t = (before - 1) / 5 * 5;
    if (t > after && t < before)
        zones_[size_t(i)].EndTime = t;
}

void TZoneStrip::AddSwitch(int minutes, uint8_t state) {
    if (zones_.empty())
        zones_.push_back({kDayMinutes, uint8_t(1 - state)}); // the day's end
    zones_.insert(zones_.begin(), {std::min(minutes, zones_.front().EndTime), state});
}

namespace {

// A time past the day (the channel list holds any byte) is drawn at the strip's end.
int MinutesOfEntry(const TScheduleEntry& e) {
    return e.Hour < 24 && e.Minute < 60 ? e.Hour * 60 + e.Minute : kLatestMinute;
}

} // namespace

void DrawDay(const std::vector<TScheduleEntry>& entries, TZoneStrip (&strips)[kScheduleChannels]) {
    std::vector<TScheduleEntry> byTime = entries;
    std::stable_sort(byTime.begin(), byTime.end(), [](const TScheduleEntry& a, const TScheduleEntry& b) {
        return MinutesOfEntry(a) < MinutesOfEntry(b);
    });
    for (TZoneStrip& s : strips)
        s.Clear();
    for (auto e = byTime.rbegin(); e != byTime.rend(); ++e)
        for (int c = 0; c < kScheduleChannels; ++c)
            if (e->Flags & (1 << c))
                strips[c].AddSwitch(MinutesOfEntry(*e), (e->Flags >> (4 + c)) & 1);
}

std::vector<TScheduleEntry> ReadStrips(const TZoneStrip (&strips)[kScheduleChannels]) {
    std::vector<TScheduleEntry> out; // ascending time
    for (int c = 0; c < kScheduleChannels; ++c) {
        const TZoneStrip& s = strips[c];
        for (int i = 0; i + 1 < s.Count(); ++i) {
            const int t = s.EndTime(i);
            const uint8_t flags = uint8_t((1 << c) | (s.Zones()[size_t(i)].State ? 0x10 << c : 0));
            auto at = std::lower_bound(out.begin(), out.end(), t, [](const TScheduleEntry& e, int v) {
                return e.Hour * 60 + e.Minute < v;
            });
            // Joins the first entry of that time this channel does not switch yet; a channel that
            // switches twice at one time keeps both switches, in order.
            while (at != out.end() && at->Hour * 60 + at->Minute == t && (at->Flags & (1 << c)))
                ++at;
            if (at != out.end() && at->Hour * 60 + at->Minute == t)
                at->Flags |= flags;
            else
                out.insert(at, {uint8_t(t / 60), uint8_t(t % 60), flags});
        }
    }
    return out;
}
