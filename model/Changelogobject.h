// The message-journal object: settings channels of the journal, its record channels and three alarm
// handler subprograms. Configuration model layer.
#pragma once

#include "Objectstore.h"

inline constexpr const char* kChangeLogTag = "LOGBOOK";
inline constexpr const char* kChangeLogType = "ЖУРНАЛ СООБЩЕНИЙ";
inline constexpr uint16_t kSystemChannelType2 = 0xFFFE;

class TChangeLogItem : public TObjectItem {
public:
    TChangeLogItem(uint16_t number, ELEMList* channels, actionManager* store);

    bool GetParamValueText(TParamItem* param, std::string& out) override;
    bool SetParamValueText(TParamItem* param, const std::string& text) override;
    void ListSetpoints(TStrings* strings, TParamItem* param) override;
    void GetSetpointText(int n, TParamItem* param, std::string& out) override;
    void GetPropertyNames(TStrings* strings) override;
    void GetPropertyText(int row, std::string& out) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent changed) override;

    uint16_t LogIndex() const;
    // Row 1: moves the record channels to a new channel type; false (nothing changed) when the text
    // is no number 1..65535 or a channel of that type exists.
    bool ApplyLogIndex(const std::string& text);
    bool ApplyAlarmSends(const std::string& text); // row 3
    // The record channel's field n as the journal shows it ("-" for an empty record).
    std::string RecordField(const TParamItem* param, int n) const;

    ELEMList* Channels;
    actionManager* Store;
    TParamItem* Settings[3] = {}; // log index, depth, alarm sends
    uint16_t Handlers[3] = {};    // handler subprogram ids

private:
    bool IsRecord(const TParamItem* param) const;
};
