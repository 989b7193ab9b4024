// The I/O modules ADAM-4117 and NL-16HV, the Радон Риц and the ATI panel: classes of the driver
// engine, each holding its description (constexpr, in its own source file). Device layer.
#pragma once

#include <string>

#include "deviceengine.h"

// ADAM-4117: eight analog inputs, each with a scaling record edited as five set-point rows.
class TADAM4117Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    static constexpr int kChannels = 8;
    static constexpr int kScaling = 9; // scaling record of channel n at position kScaling + n
    static constexpr int kScalingRows = 5;

    TADAM4117Item(uint16_t number, ELEMList* channels, actionManager* store);

    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    // The edit of scaling row `row` of channel n: row 0 takes the list item (0-3), rows 1-4 the
    // typed number. False, changing nothing, for a text that is no number or a divisor of 0.
    bool ApplyScaling(int n, int row, const std::string& text, int item);
    // The channel (0-7) of a parameter, or -1.
    int ChannelOf(const TParamItem* p) const;

protected:
    std::string ValueText(int i) const override;

private:
    void ScalingChanged(TObject* sender);
};

// NL-16HV: sixteen discrete inputs.
class TNL16HVItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TNL16HVItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

protected:
    std::string ValueText(int i) const override;
};

// Радон Риц: one distance channel with two set points, kept in two parameters of their own at
// channel types 16 (values) and 17 (state) beside the channel's index; a two-character address.
class TRADONRITZItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    static constexpr uint16_t kSetpointValueType = 16;
    static constexpr uint16_t kSetpointStateType = 17;

    TRADONRITZItem(uint16_t number, ELEMList* channels, actionManager* store);
    ~TRADONRITZItem() override;

    std::string GetDisplayName() override;
    std::string GetParamDescription(TParamItem* p) override;
    // Binds the channel; the set-point parameters follow its index while set points are in use.
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    // "Уставка1", "Уставка2" for the channel, from the set-point count.
    void ListSetpoints(TStrings* s, TParamItem* p) override { TObjectItem::ListSetpoints(s, p); }
    int GetSetpointCount(TParamItem* p) override;
    void GetSetpointValueText(TParamItem* p, int n, std::string& text) override;
    // "Нет" ends the set points; a number (either decimal separator) is stored in thousandths,
    // cut toward zero; any other text changes nothing.
    void SetSetpointValue(TParamItem* p, int n, const std::string& text) override;

    TParamItem* SetpointValues() const { return FValues; }
    TParamItem* SetpointState() const { return FState; }
    // Address bytes 0-1 as characters, up to the first zero byte.
    std::string AddressText() const;

protected:
    std::string ValueText(int i) const override;

private:
    TParamItem* FValues = nullptr;
    TParamItem* FState = nullptr;
};

// ATI panel: voltages and frequencies of the main supply and the generator, two byte-wide states.
class TATIItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TATIItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

protected:
    std::string ValueText(int i) const override;
};
