// The message-journal object: settings and record channels, the journal record's fields and the
// three alarm handlers. Configuration model layer.
#include "Changelogobject.h"

#include <cstring>
#include <vector>

#include "Storewalk.h"
#include "actions.h"
#include "msgbox.h"
#include "sysutils.h"

namespace {
struct SettingRow {
    const char* Caption;
    uint8_t Index;
    uint16_t Bits;
    uint16_t Default;
    const char* ChannelName;
};

const SettingRow kSettings[3] = {
    {"Индекс журнала", 4, 16, 13, "Индекс журнала сообщений"},
    {"Кол-во записей журнала", 3, 16, 128, "Глубина журнала сообщений"},
    {"Кол-во аварийных посылок", 7, 8, 3, "Количество аварийных посылок"},
};
enum { kLogIndex = 0, kDepth = 1, kAlarmSends = 2 };

struct HandlerRow {
    const char* Name;
    const char* Description;
};

const HandlerRow kHandlers[3] = {
    {"log_handleStateChange", "Формирование аварий по ТС (до 128)"},
    {"log_handleBoundes", "Формирование аварий по уставке ТИТ"},
    {"log_handleByteStateChange", "Формирование аварий по ТС (1byte)"},
};

const char* const kRecordName = "Элемент журнала сообщений";
const char* const kFieldNames[6] = {
    "Код сообщения", "Доп. код сообщения", "Время возникновения", "Секунд до квитирования",
    "Флаги",         "Связанный канал"};

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}
} // namespace

std::string JournalTimeText(uint32_t seconds) {
    int y, m, d;
    CivilFromDays(seconds / 86400, y, m, d);
    uint32_t s = seconds % 86400;
    return IntToStr(d) + "." + IntToStr(m) + "." + IntToStr(y) + " " + IntToStr(s / 3600) + ":" +
           IntToStr(s / 60 % 60) + ":" + IntToStr(s % 60);
}

TChangeLogItem::TChangeLogItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TObjectItem(number), Channels(channels), Store(store) {
    DisplayType = kChangeLogType;
    Tag = kChangeLogTag;

    for (int i = 0; i < 3; ++i)
        Handlers[i] = LoadDefaultSubprogram(Store, "default", kHandlers[i].Name, kHandlers[i].Description,
                                            static_cast<uint16_t>(i + 2));

    for (int r = 0; r < 3; ++r) {
        TParamItem* found = nullptr;
        for (ELEM* e = Channels->Oldest; e && !found; e = e->Newer) {
            auto* p = static_cast<TParamItem*>(e);
            if (p->ChannelType == kSystemChannelType2 && p->ChannelIndex == kSettings[r].Index)
                found = p;
        }
        if (!found) {
            found = new TParamItem;
            found->Name = kSettings[r].ChannelName;
            found->SetAddress(kSystemChannelType2, kSettings[r].Index);
            found->SetBitWidth(kSettings[r].Bits);
            found->Value[0] = static_cast<uint8_t>(kSettings[r].Default);
            found->Value[1] = static_cast<uint8_t>(kSettings[r].Default >> 8);
            if (kSettings[r].Bits == 8)
                found->Value[1] = 0;
            Channels->Append(found);
        }
        found->Owner = this;
        Settings[r] = found;
    }

    uint16_t index = LogIndex();
    if (index == 0) // type 0 is every unbound channel, never a journal
        return;
    std::vector<TParamItem*> records;
    for (ELEM* e = Channels->Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == index)
            records.push_back(p);
    }
    int depth = Settings[kDepth]->Value[0];
    auto claim = [this](TParamItem* p, int n) {
        p->SetAddress(p->ChannelType, static_cast<uint8_t>(n));
        p->Name = kRecordName;
        p->ValueEditable = 0;
        p->Flag2 = 0;
        p->Owner = this;
    };
    if (records.empty()) {
        for (int n = 1; n <= depth; ++n) {
            auto* p = new TParamItem;
            p->SetAddress(index, 0); // width 0: stored files hold new records so
            claim(p, n);
            Channels->Append(p);
        }
    } else if (static_cast<int>(records.size()) == depth) {
        int n = 0;
        for (TParamItem* p : records)
            claim(p, ++n);
    }
}

uint16_t TChangeLogItem::LogIndex() const {
    const TParamItem* p = Settings[kLogIndex];
    return p ? static_cast<uint16_t>(p->Value[0] | p->Value[1] << 8) : 0;
}

bool TChangeLogItem::IsRecord(const TParamItem* param) const {
    return param && LogIndex() != 0 && param->ChannelType == LogIndex();
}

bool TChangeLogItem::GetParamValueText(TParamItem* param, std::string& out) {
    if (IsRecord(param))
        out = param->Value[0] == 0 ? "пустая запись" : "см. расшифровку";
    return false;
}

bool TChangeLogItem::SetParamValueText(TParamItem*, const std::string&) { return true; }

void TChangeLogItem::ListSetpoints(TStrings* strings, TParamItem* param) {
    strings->Clear();
    if (IsRecord(param))
        for (const char* name : kFieldNames)
            strings->Add(name);
}

std::string TChangeLogItem::RecordField(const TParamItem* p, int n) const {
    const TParamValue& v = p->Value;
    if (v[0] == 0)
        return "-";
    switch (n) {
    case 0: return IntToStr(v[0]);
    case 1: return IntToStr(v[1]);
    case 2:
        return JournalTimeText(static_cast<uint32_t>(v[4] | v[5] << 8 | v[6] << 16) | uint32_t(v[7]) << 24);
    case 3: return IntToStr(v[2]);
    case 4: return IntToStr(v[3]);
    case 5: return IntToStr(v[8] | v[9] << 8) + ":" + IntToStr(v[10]);
    default: return {};
    }
}

void TChangeLogItem::GetSetpointText(int n, TParamItem* param, std::string& out) {
    if (IsRecord(param))
        out = RecordField(param, n);
    else
        TObjectItem::GetSetpointText(n, param, out);
}

void TChangeLogItem::GetPropertyNames(TStrings* strings) {
    strings->Clear();
    strings->Add("Идентификатор");
    for (const SettingRow& r : kSettings)
        strings->Add(r.Caption);
}

void TChangeLogItem::GetPropertyText(int row, std::string& out) {
    switch (row) {
    case 0: out = IntToStr(Number); break;
    case 1: out = IntToStr(LogIndex()); break;
    case 2: out = IntToStr(Settings[kDepth]->Value[0]); break;
    case 3: out = IntToStr(Settings[kAlarmSends]->Value[0]); break;
    default: break;
    }
}

bool TChangeLogItem::ApplyLogIndex(const std::string& text) {
    int64_t n = 0;
    if (!ReadNumberInRange(text, 1, 0xFFFF, kSettings[kLogIndex].Caption, n))
        return false;
    if (n == LogIndex())
        return true;
    for (ELEM* e = Channels->Oldest; e; e = e->Newer)
        if (static_cast<TParamItem*>(e)->ChannelType == n) {
            ReportConfigurationProblem(std::string("\"") + kSettings[kLogIndex].Caption + "\": значение " +
                                       Trim(text) + " не сохранено, каналы этого индекса уже есть.");
            return false;
        }
    uint16_t old = LogIndex();
    for (ELEM* e = Channels->Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (old != 0 && p->ChannelType == old)
            p->SetAddress(static_cast<uint16_t>(n), p->ChannelIndex);
    }
    Settings[kLogIndex]->Value[0] = static_cast<uint8_t>(n);
    Settings[kLogIndex]->Value[1] = static_cast<uint8_t>(n >> 8);
    return true;
}

bool TChangeLogItem::ApplyAlarmSends(const std::string& text) {
    int64_t n = 0;
    if (!ReadNumberInRange(text, 0, 255, kSettings[kAlarmSends].Caption, n))
        return false;
    Settings[kAlarmSends]->Value[0] = static_cast<uint8_t>(n);
    return true;
}
