// Registration of the maker's device classes in the device type table. Device layer.
#include "qbxregister.h"

#include "Devicetypes.h"
#include "Qbx510object.h"
#include "Qbx520object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "Qbx570object.h"

namespace {

template <class T> TObjectItem* Make(uint16_t number, ELEMList* channels, actionManager* store) {
    try {
        return new T(number, channels, store);
    } catch (...) {
        return nullptr; // a factory never throws; the caller treats null as "not created"
    }
}

struct Registration {
    const char* tag;
    TObjectFactory factory;
};

const Registration kQbxClasses[] = {
    {"QBX510", &Make<TQbx510Item>},       {"QBX520", &Make<TQbx520Item>},
    {"QBX530", &Make<TQbx530Item>},       {"QBX540", &Make<TQbx540Item>},
    {"QBX550", &Make<TQbx550Item>},       {"QBX560", &Make<TQbx560Item>},
    {"QBX570MP3", &Make<TQbx570mp3Item>}, {"QBX570MP1", &Make<TQbx570mp1Item>},
};

} // namespace

void RegisterQbxDevices() {
    for (const Registration& r : kQbxClasses)
        RegisterDeviceClass(r.tag, r.factory);
}
