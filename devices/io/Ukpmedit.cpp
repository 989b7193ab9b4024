// The УКПМ unit's editing: the object rows (leader, address, the three counts, whose change
// rebuilds the channels) and the per-channel rows (ТУ code, analog type, meter settings). Device layer.
#include "Ukpmobject.h"

#include <algorithm>

using namespace dev;

namespace {

constexpr const char* kRowNames[] = {"Длина лидера сообщения, бит", "Сетевой адрес", "Количество каналов ТС",
                                     "Количество каналов ТИТ", "Количество каналов ТИИ"};
constexpr const char* kTiiRows[] = {"Постоянная счетчика, имп./Вт*ч", "Максимальное значение, Вт*ч",
                                    "Значение при 0 Вт*ч, имп."};
constexpr int kFirstRow = 2;
constexpr int kFirstCountRow = 4;

constexpr const char* kNoControl = "Нет";
constexpr const char* kControlRow = "Управление";
constexpr uint8_t kAnalogTypes[] = {8, 9, 10, 11, 12, 13, 14, 17, 18, 19};
constexpr int kGroups = 8; // ТУ group and number both run 1..8

// Meter settings: pulses a and watt-hours b of the meter constant, the maximum count and the count at
// 0 Wh in pulses.
constexpr int kPulses = 0;
constexpr int kWattHours = 2;
constexpr int kMaximum = 4;
constexpr int kAtZero = 8;

uint32_t GetU32(const TParamItem* p, int offset) {
    return static_cast<uint32_t>(GetU16(p, offset)) | static_cast<uint32_t>(GetU16(p, offset + 2)) << 16;
}

void SetU32(TParamItem* p, int offset, uint32_t v) {
    SetU16(p, offset, static_cast<uint16_t>(v));
    SetU16(p, offset + 2, static_cast<uint16_t>(v >> 16));
}

// A 16-bit field of a typed number; false for anything else.
bool ReadU16(const std::string& text, uint16_t& out) {
    uint32_t v = 0;
    if (!ReadUnsigned(text, 2, kTiiRows[0], v))
        return false;
    out = static_cast<uint16_t>(v);
    return true;
}

// G and N of "G:N", both 1..8; a number outside that is reported, and so is a text without both
// numbers: a number typed with no colon is never dropped without a word.
bool ReadControl(const std::string& text, int& g, int& n) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || !IsDecimalNumber(Trim(text.substr(0, colon))) ||
        !IsDecimalNumber(Trim(text.substr(colon + 1)))) {
        ReportConfigurationProblem(std::string("\"") + kControlRow + "\": значение " + Trim(text) +
                                   " не сохранено, введите группу:номер или \"" + kNoControl +
                                   "\"; допустимы значения от 1 до " + IntToStr(kGroups) + ".");
        return false;
    }
    int64_t v[2] = {};
    if (!ReadInRange(text.substr(0, colon), 1, kGroups, kControlRow, v[0]) ||
        !ReadInRange(text.substr(colon + 1), 1, kGroups, kControlRow, v[1]))
        return false;
    g = static_cast<int>(v[0]);
    n = static_cast<int>(v[1]);
    return true;
}

} // namespace

void TUKPMItem::GetPropertyNames(TStrings* s) {
    TObjectItem::GetPropertyNames(s);
    for (const char* row : kRowNames)
        s->Add(row);
}

void TUKPMItem::GetPropertyText(int row, std::string& text) {
    if (row <= 1)
        TObjectItem::GetPropertyText(row, text);
    else if (row < kFirstCountRow)
        text = IntToStr(FSettings[0]->Value[row - kFirstRow]);
    else if (row < kFirstRow + static_cast<int>(std::size(kRowNames)))
        text = IntToStr(Count(static_cast<Kind>(row - kFirstCountRow)));
}

TDeviceItem::RowEditor TUKPMItem::PropertyRowEditor(int row) const {
    if (row >= kFirstCountRow && row < kFirstRow + static_cast<int>(std::size(kRowNames)))
        return RowEditor::Count;
    if (row >= kFirstRow && row < kFirstCountRow)
        return RowEditor::Text;
    return TDeviceItem::PropertyRowEditor(row);
}

void TUKPMItem::ApplyPropertyValue(int row, const std::string& text) {
    if (row >= kFirstCountRow)
        SetCount(static_cast<Kind>(row - kFirstCountRow), text);
    else if (row >= kFirstRow)
        ApplyByte(FSettings[0], row - kFirstRow, text, kRowNames[row - kFirstRow]);
}

// Takes the channels of a list from position `keep` on off the channel list and frees them.
void TUKPMItem::Release(std::vector<TParamItem*>& list, size_t keep) {
    while (list.size() > keep) {
        TParamItem* p = list.back();
        list.pop_back();
        ReleaseChannel(FChannels, p);
    }
}

// Records run to the largest count: a rise adds the missing ones (each record is listed once), a
// fall forgets the kind's addresses of records past the new count and drops records past every
// count held before the change. Then the kind's channels are cut or made up to the count.
bool TUKPMItem::SetCount(Kind kind, const std::string& text) {
    if (kind < Ts || kind > Tii)
        return false;
    int64_t read = 0;
    if (!ReadInRange(text, 0, kMaxCount[kind], kRowNames[kFirstCountRow - kFirstRow + kind], read))
        return false;
    const auto count = static_cast<int>(read);
    const int old = Count(kind);
    if (count == old)
        return true;
    int most = 0;
    for (int k = 0; k < kKinds; ++k)
        most = std::max(most, Count(static_cast<Kind>(k)));
    if (count > old) {
        for (int n = static_cast<int>(FRecords.size()); n < count; ++n)
            FRecords.push_back(RecordAt(n));
    } else {
        for (size_t n = static_cast<size_t>(count); n < FRecords.size(); ++n)
            SetEntry(FRecords[n], 3 * kind, {});
        Release(FRecords, std::max<size_t>(static_cast<size_t>(most), static_cast<size_t>(count)));
    }
    auto& list = FLists[kind];
    Release(list, static_cast<size_t>(count));
    if (kind == Tii) {
        Release(FTiiSettings, static_cast<size_t>(count));
        Release(FTiiValues, static_cast<size_t>(count));
    }
    // The count byte first: a made channel takes what its record holds.
    FSettings[1]->Value[kind] = static_cast<uint8_t>(count);
    for (int n = static_cast<int>(list.size()); n < count; ++n) {
        SetEntry(FRecords[static_cast<size_t>(n)], 3 * kind, {});
        list.push_back(MakeChannel(kind, n));
    }
    if (kind == Tii) {
        for (int n = static_cast<int>(FTiiSettings.size()); n < count; ++n) {
            TParamItem* settings = nullptr;
            TParamItem* values = nullptr;
            MakeTiiSettings(n, settings, values);
            FTiiSettings.push_back(settings);
            FTiiValues.push_back(values);
        }
    }
    return true;
}

void TUKPMItem::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    Kind kind = Ts;
    int k = 0;
    if (!Locate(p, kind, k))
        return;
    if (kind == Ts)
        s->Add(kControlRow);
    else if (kind == Tit)
        s->Add("Тип аналогового канала");
    else {
        for (const char* name : kTiiRows)
            s->Add(name);
    }
}

// The maximum shows in watt-hours, count · b / a; with a = 0 it has no value.
void TUKPMItem::GetSetpointText(int row, TParamItem* p, std::string& text) {
    text.clear();
    Kind kind = Ts;
    int k = 0;
    if (!Locate(p, kind, k) || k >= static_cast<int>(FRecords.size()))
        return;
    const TParamItem* record = FRecords[static_cast<size_t>(k)];
    if (kind == Ts) {
        const uint8_t c = record->Value[kTuCode];
        text = c == 0 ? kNoControl : IntToStr(c / 8) + ":" + IntToStr(c % 8 + 1);
        return;
    }
    if (kind == Tit) {
        text = SafeTypeName(record->Value[kAnalogType]);
        return;
    }
    if (k >= static_cast<int>(FTiiSettings.size()))
        return;
    const TParamItem* s = FTiiSettings[static_cast<size_t>(k)];
    const uint16_t a = GetU16(s, kPulses);
    const uint16_t b = GetU16(s, kWattHours);
    if (row == 0)
        text = IntToStr(a) + "/" + IntToStr(b);
    else if (row == 1 && a != 0)
        text = IntToStr(static_cast<int64_t>(static_cast<uint32_t>(uint64_t{GetU32(s, kMaximum)} * b) / a));
    else if (row == 2)
        text = IntToStr(static_cast<int64_t>(GetU32(s, kAtZero)));
}

TWinControl* TUKPMItem::CreateSetpointEditor(TParamItem* p, int row, TWinControl* host,
                                             TNotifyEvent exitEvent, TNotifyEvent doneEvent) {
    Kind kind = Ts;
    int k = 0;
    if (!Locate(p, kind, k))
        return nullptr;
    BeginSetpointEdit(p, row, std::move(doneEvent));
    TEditorDef editorDef;
    if (kind == Ts) {
        editorDef.Kind = TEditorKind::Combo;
        editorDef.Items = {kNoControl, "_:_"};
    } else if (kind == Tit) {
        editorDef.Kind = TEditorKind::Choice;
        for (uint8_t t : kAnalogTypes)
            editorDef.Items.push_back(ParamTypeNames[t]);
    }
    GetSetpointText(row, p, editorDef.Text);
    editorDef.Apply = [this](TObject* s) { ChannelSettingChanged(s); };
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

// Only the ТУ choice tells the host; it does so whether or not the text was taken.
void TUKPMItem::ChannelSettingChanged(TObject* sender) {
    ApplyChannelSetting(FSetpointParam, FSetpointRow, EditorText(sender), EditorItem(sender));
    Kind kind = Ts;
    int k = 0;
    if (Locate(FSetpointParam, kind, k) && kind == Ts)
        SetpointEdited(sender);
}

bool TUKPMItem::ApplyChannelSetting(TParamItem* channel, int row, const std::string& text, int item) {
    Kind kind = Ts;
    int k = 0;
    if (!Locate(channel, kind, k) || k >= static_cast<int>(FRecords.size()))
        return false;
    TParamItem* record = FRecords[static_cast<size_t>(k)];
    if (kind == Tii) {
        if (k >= static_cast<int>(FTiiSettings.size()))
            return false;
        TParamItem* s = FTiiSettings[static_cast<size_t>(k)];
        const std::string t = Trim(text);
        if (row == 0) {
            const size_t slash = t.find('/');
            uint16_t a = 0, b = 0;
            if (!ReadU16(t.substr(0, slash), a))
                return false;
            SetU16(s, kPulses, a);
            if (slash != std::string::npos && ReadU16(t.substr(slash + 1), b))
                SetU16(s, kWattHours, b);
            return true;
        }
        if (row == 2) {
            uint32_t count = 0;
            if (!ReadUnsigned(t, 4, kTiiRows[row], count))
                return false;
            SetU32(s, kAtZero, count);
            return true;
        }
        if (row != 1)
            return false;
        // Watt-hours to pulses, v · a / b: a v whose product passes 32 bits would not read back, and
        // without a meter constant there is nothing to convert by; both are refused.
        const uint16_t a = GetU16(s, kPulses);
        const uint16_t b = GetU16(s, kWattHours);
        int64_t v = 0;
        if (!IsDecimalNumber(t) && !TryStrToInt64(t, v))
            return false;
        if (a == 0 || b == 0) {
            ReportConfigurationProblem("\"" + std::string(kTiiRows[1]) + "\": значение " + t +
                                       " не сохранено, сначала задайте \"" + kTiiRows[0] + "\".");
            return false;
        }
        if (!ReadInRange(t, 0, UINT32_MAX / a, kTiiRows[1], v))
            return false;
        SetU32(s, kMaximum, static_cast<uint32_t>(v * a / b));
        return true;
    }
    if (kind == Tit) {
        if (item < 0 || item >= static_cast<int>(std::size(kAnalogTypes)))
            return false;
        channel->ParamType = kAnalogTypes[item];
        channel->RaiseChanged();
        record->Value[kAnalogType] = channel->ParamType;
        return true;
    }
    int g = 0, n = 0;
    uint8_t code = 0;
    if (Trim(text) != kNoControl) {
        if (!ReadControl(text, g, n))
            return false;
        code = static_cast<uint8_t>(g * kGroups + n - 1);
    }
    record->Value[kTuCode] = code;
    ApplyTuCode(channel, code);
    channel->RaiseChanged();
    return true;
}
