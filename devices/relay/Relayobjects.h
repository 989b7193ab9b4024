// The Sirius and Orion relay terminals: twelve classes of the driver engine, each holding its
// description (constexpr, in its own source file). Device layer.
#pragma once

#include "deviceengine.h"

// Sirius-2V.
class TSIRIUS2VItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2VItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2L.
class TSIRIUS2LItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2LItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2V (old), without a password.
class TSIRIUS2VOLDItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2VOLDItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2ML (old), without a password.
class TSIRIUS2MLOLDItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2MLOLDItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Orion-2, without a password.
class TORION2Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TORION2Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Orion-RTZ, without a password.
class TORIONRTZItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TORIONRTZItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2S.
class TSIRIUS2SItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2SItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-D.
class TSIRIUSDItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUSDItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-TN: a reset, no breaker control.
class TSIRIUSTNItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUSTNItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2S (old), without a password.
class TSIRIUS2SOLDItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2SOLDItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-2L (old), without a password.
class TSIRIUS2LOLDItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUS2LOLDItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};

// Sirius-CS: a reset, no breaker control.
class TSIRIUSCSItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSIRIUSCSItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}
};
