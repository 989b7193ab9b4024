// The Sirius and Orion relay terminals: twelve classes of the driver engine that are their
// descriptions alone (constexpr, each in its own source file). Device layer.
#pragma once

#include "deviceengine.h"

// Sirius-2V.
extern const dev::TDeviceDef kSirius2VDef;
using TSIRIUS2VItem = TDescribedDevice<kSirius2VDef>;

// Sirius-2L.
extern const dev::TDeviceDef kSirius2LDef;
using TSIRIUS2LItem = TDescribedDevice<kSirius2LDef>;

// Sirius-2V (old), without a password.
extern const dev::TDeviceDef kSirius2VOldDef;
using TSIRIUS2VOLDItem = TDescribedDevice<kSirius2VOldDef>;

// Sirius-2ML (old), without a password.
extern const dev::TDeviceDef kSirius2MLOldDef;
using TSIRIUS2MLOLDItem = TDescribedDevice<kSirius2MLOldDef>;

// Orion-2, without a password.
extern const dev::TDeviceDef kOrion2Def;
using TORION2Item = TDescribedDevice<kOrion2Def>;

// Orion-RTZ, without a password.
extern const dev::TDeviceDef kOrionRtzDef;
using TORIONRTZItem = TDescribedDevice<kOrionRtzDef>;

// Sirius-2S.
extern const dev::TDeviceDef kSirius2SDef;
using TSIRIUS2SItem = TDescribedDevice<kSirius2SDef>;

// Sirius-D.
extern const dev::TDeviceDef kSiriusDDef;
using TSIRIUSDItem = TDescribedDevice<kSiriusDDef>;

// Sirius-TN: a reset, no breaker control.
extern const dev::TDeviceDef kSiriusTNDef;
using TSIRIUSTNItem = TDescribedDevice<kSiriusTNDef>;

// Sirius-2S (old), without a password.
extern const dev::TDeviceDef kSirius2SOldDef;
using TSIRIUS2SOLDItem = TDescribedDevice<kSirius2SOldDef>;

// Sirius-2L (old), without a password.
extern const dev::TDeviceDef kSirius2LOldDef;
using TSIRIUS2LOLDItem = TDescribedDevice<kSirius2LOldDef>;

// Sirius-CS: a reset, no breaker control.
extern const dev::TDeviceDef kSiriusCSDef;
using TSIRIUSCSItem = TDescribedDevice<kSiriusCSDef>;
