// The BMRZ terminals, the УЗА-10А.2 and the РС83-А2: classes of the driver engine, each with its
// description (constexpr, in Bmrzobject.cpp, Uza10a2object.cpp and Pc83a2object.cpp). Device layer.
#pragma once

#include "deviceengine.h"

// The BMRZ terminals, one description each (the rows at the end of Bmrzobject.cpp).
extern const dev::TDeviceDef kBmrz101KLDef;
using TBMRZ101KLItem = TDescribedDevice<kBmrz101KLDef>;
extern const dev::TDeviceDef kBmrz101KL01Def;
using TBMRZ101KL01Item = TDescribedDevice<kBmrz101KL01Def>;
extern const dev::TDeviceDef kBmrz101KL02Def;
using TBMRZ101KL02Item = TDescribedDevice<kBmrz101KL02Def>;
extern const dev::TDeviceDef kBmrz103VVDef;
using TBMRZ103VVItem = TDescribedDevice<kBmrz103VVDef>;
extern const dev::TDeviceDef kBmrz103VV01Def;
using TBMRZ103VV01Item = TDescribedDevice<kBmrz103VV01Def>;
extern const dev::TDeviceDef kBmrz103VV02Def;
using TBMRZ103VV02Item = TDescribedDevice<kBmrz103VV02Def>;
extern const dev::TDeviceDef kBmrz103SVDef;
using TBMRZ103SVItem = TDescribedDevice<kBmrz103SVDef>;
extern const dev::TDeviceDef kBmrz103SV01Def;
using TBMRZ103SV01Item = TDescribedDevice<kBmrz103SV01Def>;

// УЗА-10А.2: the breaker signal carries the relay choice of its telecontrol as its one set point.
class TUZA10A2Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    static constexpr int kBreaker = 5; // the breaker signal
    static constexpr int kCodes = 20;  // "Коды управл.": relay codes 0-3 of switching on and off
    static constexpr int kControlSlot = 5;

    TUZA10A2Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void GetCommandModeText(int n, std::string& text) override;
    // Relay choice k = 4·on + off of the list (0..15): both codes, and the control subprogram on the
    // breaker signal. Any other k changes nothing.
    void ApplyRelayChoice(int k);

protected:
    std::string ValueText(int i) const override;

private:
    void RelayChoiceChanged(TObject* sender);
};

// РС83-А2: the УЗА-10А.2's shape with 2-bit signals, four currents and the RS-485 speed.
class TPC83A2Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TPC83A2Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

    // Only the first fifteen signals have a description.
    std::string GetParamDescription(TParamItem* p) override;
    void GetCommandModeText(int n, std::string& text) override;
};
