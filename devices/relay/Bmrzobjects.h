// The BMRZ terminals, the УЗА-10А.2 and the РС83-А2: classes of the driver engine, each holding its
// description (constexpr, in Bmrzobject.cpp and Uza10a2object.cpp). Device layer.
#pragma once

#include "deviceengine.h"

class TBMRZ101KLItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ101KLItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ101KL01Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ101KL01Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ101KL02Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ101KL02Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ103VVItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ103VVItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ103VV01Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ103VV01Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ103VV02Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ103VV02Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ103SVItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ103SVItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

class TBMRZ103SV01Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TBMRZ103SV01Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};
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
