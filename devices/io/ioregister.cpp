// Registration of the I/O-module and telemechanics classes. Device layer.
#include "ioregister.h"

#include "Ioobjects.h"
#include "Ukpmobject.h"

namespace {

template <class T> constexpr TIoClass Entry() { return {&T::Def, &dev::MakeDevice<T>}; }

const TIoClass kClasses[] = {
    Entry<TNL16HVItem>(),
    Entry<TATIItem>(),
    Entry<TADAM4117Item>(),
    Entry<TRADONRITZItem>(),
};

} // namespace

std::span<const TIoClass> IoClasses() { return kClasses; }

void RegisterIoDevices() {
    for (const TIoClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag(), c.Factory);
    RegisterDeviceClass(FindDeviceTypeByCode(TUKPMItem::kTypeCode)->Tag, &dev::MakeDevice<TUKPMItem>);
}
