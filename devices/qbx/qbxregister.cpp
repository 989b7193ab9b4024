// Registration of the maker's device classes in the device type table. Device layer.
#include "qbxregister.h"

#include "Qbx510object.h"
#include "Qbx520object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "Qbx570object.h"

namespace {

template <class T> constexpr TQbxClass Entry() { return {&T::Def, &dev::MakeDevice<T>}; }

const TQbxClass kClasses[] = {
    Entry<TQbx510Item>(),
    Entry<TQbx520Item>(),
    Entry<TQbx540Item>(),
    {&qbx::Qbx530Def.device, &dev::MakeDevice<TQbx530Item>},
    {&qbx::Qbx550Def.device, &dev::MakeDevice<TQbx550Item>},
    Entry<TQbx560Item>(),
    Entry<TQbx570mp3Item>(),
    Entry<TQbx570mp1Item>(),
};

} // namespace

std::span<const TQbxClass> QbxClasses() { return kClasses; }

void RegisterQbxDevices() {
    for (const TQbxClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag(), c.Factory);
}
