// Registration of the BMRZ terminals, the УЗА-10А.2 and the РС83-А2. Device layer.
#include "bmrzregister.h"

#include "Bmrzobjects.h"

namespace {

template <class T> constexpr TRelayClass Entry() { return {&T::Def, &dev::MakeDevice<T>}; }

const TRelayClass kClasses[] = {
    Entry<TUZA10A2Item>(),     Entry<TPC83A2Item>(),      Entry<TBMRZ101KLItem>(),
    Entry<TBMRZ101KL01Item>(), Entry<TBMRZ101KL02Item>(), Entry<TBMRZ103VVItem>(),
    Entry<TBMRZ103VV01Item>(), Entry<TBMRZ103VV02Item>(), Entry<TBMRZ103SVItem>(),
    Entry<TBMRZ103SV01Item>(),
};

} // namespace

std::span<const TRelayClass> BmrzClasses() { return kClasses; }

void RegisterBmrzDevices() {
    for (const TRelayClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag(), c.Factory);
}
