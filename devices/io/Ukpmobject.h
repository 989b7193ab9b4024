// The УКПМ telemechanics unit ("КОМПАС 1.0"), once per configuration: a channel record per channel
// number, the ТС, ТИТ and ТИИ channels the user counts (with the meter settings and the
// intermediate values of every ТИИ channel), and the CRC-9 table its frame check reads. The
// channels are rebuilt whenever a count changes. Device layer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "deviceitem.h"

class TUKPMItem : public TDeviceItem {
public:
    static constexpr int kTypeCode = 40;
    static constexpr uint16_t kNumber = 999;

    enum Kind { Ts, Tit, Tii };
    static constexpr int kKinds = 3;
    static constexpr int kMaxCount[kKinds] = {128, 30, 32};
    static constexpr int kCrc9Items = 128;

    // Channel addresses of the unit's own items.
    static constexpr uint16_t kRecordType = 1050; // records at index n + 1; the settings at 129, 130
    static constexpr uint16_t kCrc9Type = 1051;   // element i at index i
    static constexpr uint16_t kTiiSettingsType = 1052;
    static constexpr uint16_t kTiiValuesType = 1053;
    // Record bytes: the ТС, ТИТ, ТИИ addresses at 0, 3, 6; the ТУ code; the analog type.
    static constexpr int kTuCode = 9;
    static constexpr int kAnalogType = 10;

    TUKPMItem(uint16_t number, ELEMList* channels, actionManager* store);
    // Every item with an address stays on the channel list without an owner, for a unit added again;
    // an unbound channel, which nothing could find again, is freed.
    ~TUKPMItem() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetParamDescription(TParamItem* p) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int row, TParamItem* p, std::string& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;
    void ApplyPropertyValue(int row, const std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    // The edit of a per-channel row without its control. ТС: "Нет" or "G:N" (G, N in 1..8);
    // ТИТ: the list item (0-9); ТИИ: the row's text. False, changing nothing, when refused.
    bool ApplyChannelSetting(TParamItem* channel, int row, const std::string& text, int item);
    // A new channel count (0 .. kMaxCount); false, changing nothing, for any other text (a number
    // outside the range with a message naming the row).
    bool SetCount(Kind kind, const std::string& text);

    int Count(Kind kind) const;
    TParamItem* SettingsItem(int k) const { return FSettings[static_cast<size_t>(k)]; }
    TParamItem* Crc9Item(int i) const { return FCrc9[static_cast<size_t>(i)]; }
    const std::vector<TParamItem*>& Records() const { return FRecords; }
    const std::vector<TParamItem*>& ChannelsOf(Kind kind) const { return FLists[kind]; }
    const std::vector<TParamItem*>& TiiSettings() const { return FTiiSettings; }
    const std::vector<TParamItem*>& TiiValues() const { return FTiiValues; }
    uint16_t SubprogramId(int k) const { return FSub[static_cast<size_t>(k)]; }
    // Entry k of the CRC-9 table (0..511).
    static uint16_t Crc9Entry(int k);

protected:
    RowEditor PropertyRowEditor(int row) const override;

private:
    // Where a channel is: its kind and place, or false.
    bool Locate(const TParamItem* p, Kind& kind, int& k) const;
    void AdoptSettings();
    void AdoptCrc9();
    TParamItem* RecordAt(int n); // found (free) or made, owned, named
    void AdoptChannels();
    void Prepare(Kind kind, int n, TParamItem* c, bool adopted);
    TParamItem* MakeChannel(Kind kind, int n);
    void MakeTiiSettings(int n, TParamItem*& settings, TParamItem*& values);
    void ApplyTuCode(TParamItem* channel, uint8_t code);
    void Release(std::vector<TParamItem*>& list, size_t keep);
    void ChannelSettingChanged(TObject* sender);

    std::array<uint16_t, 7> FSub{};
    std::array<TParamItem*, 2> FSettings{};
    std::array<TParamItem*, kCrc9Items> FCrc9{};
    std::vector<TParamItem*> FRecords;
    std::array<std::vector<TParamItem*>, kKinds> FLists;
    std::vector<TParamItem*> FTiiSettings;
    std::vector<TParamItem*> FTiiValues;
};
