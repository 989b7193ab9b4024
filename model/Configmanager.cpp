// Configuration manager: construction, channel queries and renumbering hooks, the object factory.
// Configuration model layer.
#include "Configmanager.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Channelindex.h"
#include "Editorkit.h"
#include "Userobject.h"
#include "actions.h"
#include "lorbase.h"
#include "msgbox.h"
#include "sysutils.h"

// lorbase keeps its own copy of the message-box hook; its boxes (a table it cannot open) reach the
// program's dialog, or a test's recorder, only through this relay into our runtime's hook.
extern "C" {
static int RelayLorMessageBox(const char* text, const char* caption, unsigned flags) {
    return ShowMessageBoxText(text, caption, flags);
}
}

namespace {
void RouteLorMessageBoxes() {
    TMessageBoxHandler ours = SetMessageBoxHandler(nullptr);
    SetMessageBoxHandler(ours);
    LorSetMessageBoxHandler(RelayLorMessageBox);
    // A build that links the store statically shares our hook, which the relay must not replace
    // (it would call itself): put ours back. With the shared library this changes nothing.
    SetMessageBoxHandler(ours);
}
} // namespace

namespace {
struct BuiltInRow {
    const char* Name;
    uint16_t Type;
    uint8_t Index;
    uint16_t Bits;
    uint8_t Default[3];
};

// The built-in system channels of every configuration, in this order; the last is the database version.
const BuiltInRow kBuiltIn[kBuiltInChannelCount] = {
    {"QBX-адрес концентратора (младший)", 0xFFFF, 1, 8, {0x01}},
    {"QBX-адрес концентратора (средний, старший)", 0xFFFF, 2, 16, {0x02, 0x03}},
    {"Сетевой адрес концентратора", 0xFFFF, 3, 8, {0x0D}},
    {"QBX-адрес родительской ППЛ", 0xFFFF, 4, 24, {0x00, 0x00, 0x00}},
    {"Скорость по СОМ1", 0xFFFE, 1, 16, {0xC0, 0x12}},
    {"Скорость по СОМ2", 0xFFFE, 2, 16, {0xC0, 0x12}},
    {"Индекс журнала сообщений", 0xFFFE, 4, 16, {0x0D, 0x00}},
    {"Глубина журнала сообщений", 0xFFFE, 3, 16, {0x80, 0x00}},
    {"Количество аварийных посылок", 0xFFFE, 7, 8, {0x03}},
    {"Версия БД", 0xFFFE, 5, 16, {0x02, 0x01}},
};

uint32_t AddressKey(const TParamItem* p) { return uint32_t{p->ChannelType} << 8 | p->ChannelIndex; }
} // namespace

std::string PadNumber(int64_t n, int width) {
    std::string s = IntToStr(n);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

configmanager::configmanager() {
    RouteLorMessageBoxes();
    Channels.OnChanged = [this](ELEM* e) { OnParamChanged(static_cast<TParamItem*>(e)); };
    Channels.OnRebind = [this](ELEM* e) { OnParamRebind(static_cast<TParamItem*>(e)); };
    fIndex = std::make_unique<TChannelIndex>(Channels);
    for (int i = 0; i < kBuiltInChannelCount; ++i) {
        const BuiltInRow& r = kBuiltIn[i];
        auto* p = new TParamItem;
        p->Name = r.Name;
        p->SetAddress(r.Type, r.Index);
        p->SetBitWidth(r.Bits);
        std::memcpy(p->Value.data(), r.Default, p->ValueBytes());
        p->ValueEditable = i == kBuiltInChannelCount - 1 ? 0 : 1;
        BuiltIn[i] = p;
        Channels.Append(p);
    }
    Actions = new actionManager;
}

configmanager::~configmanager() {
    // Two phases: every object leaves the list while all of them still live, then each is freed.
    // The hooks are off meanwhile, so no renumbering reaches an object already gone.
    PutBackRefusedEdits();
    fClosing = true;
    std::vector<TObjectItem*> objects;
    while (ELEM* e = Objects.Newest) {
        Objects.Remove(e);
        objects.push_back(static_cast<TObjectItem*>(e));
    }
    fLive.clear();
    for (TObjectItem* o : objects)
        delete o;
    delete Actions;
    std::vector<TParamItem*> channels;
    while (ELEM* e = Channels.Newest) {
        Channels.Remove(e);
        channels.push_back(static_cast<TParamItem*>(e));
    }
    for (TParamItem* b : BuiltIn)
        if (std::find(channels.begin(), channels.end(), b) == channels.end())
            channels.push_back(b);
    for (TParamItem* p : channels)
        delete p;
}

TParamItem* configmanager::NewChannel(uint16_t channelType, uint8_t channelIndex) {
    auto* p = new TParamItem;
    p->SetAddress(channelType, channelIndex);
    Channels.Append(p);
    return p;
}

std::vector<TParamItem*> configmanager::ChannelsOfType(uint16_t type) { return fIndex->OfType(type); }

void configmanager::GetChannelsOfType(ELEMList* out, uint16_t channelType) {
    std::vector<TParamItem*> v = ChannelsOfType(channelType);
    // The newest end holds the lowest index.
    for (auto it = v.rbegin(); it != v.rend(); ++it)
        out->Append(new TParamItemP(*it));
}

void configmanager::GetObjects(ELEMList* out) {
    for (ELEM* e = Objects.Oldest; e; e = e->Newer)
        out->Append(new TObjectItemP(static_cast<TObjectItem*>(e)));
}

void configmanager::ListChannelTypes(TStrings* strings) {
    // One flag per type keeps this linear in the channels; five-digit texts sort as their numbers,
    // so walking the types upwards gives the sorted list, and the strings change once.
    std::vector<bool> used(size_t{0xFFFF} + 1);
    for (ELEM* e = Channels.Oldest; e; e = e->Newer)
        used[static_cast<TParamItem*>(e)->ChannelType] = true;
    TStringList types;
    for (size_t type = 1; type < used.size(); ++type)
        if (used[type])
            types.Add(PadNumber(int64_t(type), 5));
    strings->Assign(&types);
}

bool configmanager::HasExtendedFormat() const { return VersionWord() >= kCurrentVersionWord; }

bool configmanager::IsLiveObject(const TObjectItem* object) const {
    return object && fLive.count(object) != 0;
}

bool configmanager::NumberInUse(uint16_t number) const { return fNumberUse.count(number) != 0; }

void configmanager::CountObject(const TObjectItem* object, int delta) {
    // Only numbers in use are kept: a configuration of a few objects pays for those alone.
    if (const auto it = fNumberUse.try_emplace(object->Number, 0).first; (it->second += delta) <= 0)
        fNumberUse.erase(it);
    if (const TDeviceType* type = FindDeviceTypeByTag(object->Tag);
        type && type->Counted && type->Code != kUserObjectCode)
        fInstanceUse[uint32_t(type->Code) << 8 | static_cast<uint8_t>(object->Number - type->Base)] += delta;
}

// A driver object keeps its settings channels at its instance byte, (number − base) mod 256: an
// object whose byte would be 0 or another's of its type would lose them or share them.
bool configmanager::InstanceTaken(const TDeviceType* type, uint16_t number) const {
    if (!type->Counted || type->Code == kUserObjectCode)
        return false;
    const auto instance = static_cast<uint8_t>(number - type->Base);
    if (instance == 0)
        return true;
    const auto it = fInstanceUse.find(uint32_t(type->Code) << 8 | instance);
    return it != fInstanceUse.end() && it->second > 0;
}

// The object AddObject's factory is building: an owner that is neither on the list nor gone
// (owners of deleted objects are cleared as they go).
bool configmanager::IsBuildingObject(const TObjectItem* object) const {
    return fBuilding && object && !IsLiveObject(object);
}

// Asks the owner to move the channel, the object being built too (its own bookkeeping, such as the
// concentrator's parse blocks, must follow); a channel without an owner, or whose owner ignores
// the request, gets the address set here.
void configmanager::BindOrSet(TParamItem* p, uint16_t channelType, uint8_t channelIndex) {
    if (IsLiveObject(p->Owner) || IsBuildingObject(p->Owner))
        p->Owner->BindParam(channelType, channelIndex, p);
    p->SetAddress(channelType, channelIndex);
}

void configmanager::CloseGap(uint16_t channelType, uint8_t oldIndex) {
    for (TParamItem* q : ChannelsOfType(channelType))
        if (q->ChannelIndex > oldIndex)
            BindOrSet(q, channelType, static_cast<uint8_t>(q->ChannelIndex - 1));
}

void configmanager::OnParamChanged(TParamItem* p) {
    if (fClosing || Loading == 1 || !HasExtendedFormat())
        return;
    if ((p->Kind != kChannelMeasured && p->Kind != kChannelSignal) || p->ChannelType == 0 ||
        p->ChannelIndex == 0)
        return;
    uint16_t t = p->ChannelType;
    uint8_t i = p->ChannelIndex;
    BindOrSet(p, t, 0);
    CloseGap(t, i);

    std::vector<TParamItem*> v = ChannelsOfType(t);
    // An owner that is not (or no longer) an object of this configuration counts as number 0; the
    // one exception is the object being built, which is not on the list yet and is never read here.
    auto ownerNumber = [this](const TParamItem* q) -> uint16_t {
        if (IsLiveObject(q->Owner))
            return q->Owner->Number;
        return IsBuildingObject(q->Owner) ? fBuildingNumber : 0;
    };
    auto before = [&](const TParamItem* q) {
        if (q->ParamType != p->ParamType)
            return q->ParamType < p->ParamType;
        if (ownerNumber(q) != ownerNumber(p))
            return ownerNumber(q) < ownerNumber(p);
        return q->Ordinal <= p->Ordinal;
    };
    size_t stop = 0;
    while (stop < v.size() && before(v[stop]))
        ++stop;
    int newIndex = stop == 0 ? 1 : v[stop - 1]->ChannelIndex + 1;
    if (stop < v.size()) {
        // A type holds at most 255 indexed channels: with the last index taken nothing can move up.
        if (v.back()->ChannelIndex == 255) {
            BindOrSet(p, t, i);
            return;
        }
        for (size_t k = v.size(); k-- > stop;)
            BindOrSet(v[k], t, static_cast<uint8_t>(v[k]->ChannelIndex + 1));
    }
    if (newIndex > 255)
        newIndex = 255;
    BindOrSet(p, t, static_cast<uint8_t>(newIndex));
}

void configmanager::OnParamRebind(TParamItem* p) {
    if (fClosing || !HasExtendedFormat())
        return;
    if ((p->Kind != kChannelMeasured && p->Kind != kChannelSignal) || p->ChannelType == 0 ||
        p->ChannelIndex == 0)
        return;
    uint16_t t = p->ChannelType;
    uint8_t i = p->ChannelIndex;
    BindOrSet(p, 0, 0);
    CloseGap(t, i);
}

// ---- factory ----

void configmanager::FillObjectTypeList(TStrings* strings) {
    strings->Clear();
    for (const TObjectMenuEntry& entry : ObjectMenu())
        strings->Add(entry.Caption);
}

int configmanager::CounterOf(TObjectItem* object) const {
    if (dynamic_cast<TUserObjItem*>(object))
        return ObjectCounterIndex(FindDeviceTypeByCode(kUserObjectCode));
    return ObjectCounterIndex(FindDeviceTypeByTag(object->Tag));
}

void configmanager::InsertObjectByNumber(TObjectItem* object) {
    ELEM* e = Objects.Newest;
    while (e && static_cast<TObjectItem*>(e)->Number >= object->Number)
        e = e->Older;
    if (e)
        Objects.InsertAfter(object, e);
    else
        Objects.Prepend(object);
    fLive.insert(object);
    CountObject(object, 1);
}

TObjectItem* configmanager::AddObject(int code) {
    LastError.clear();
    const TDeviceType* type = FindDeviceTypeByCode(code);
    TObjectFactory factory = DeviceFactory(type);
    int counter = ObjectCounterIndex(type);
    if (!factory || counter < 0) {
        LastError = "Объект с кодом типа " + IntToStr(code) + " не может быть создан.";
        return nullptr;
    }
    const std::string named = "Объект \"" + std::string(type->Caption) + "\"";
    if (type->Once && Counters[counter] != 0) {
        LastError = named + " уже есть в конфигурации, второй не добавляется.";
        return nullptr;
    }
    int n = Counters[counter] + 1;
    uint16_t number = DeviceObjectNumber(type, n);
    // Never hand out a number in use: counted types take the next free one, fixed ones give up.
    for (int tries = 0; NumberInUse(number); ++tries) {
        if (!type->Counted || tries == 0xFFFF) {
            LastError = named + " не добавлен: номер " + IntToStr(number) + " уже занят.";
            return nullptr;
        }
        ++number;
    }
    if (InstanceTaken(type, number)) {
        LastError = named + " не добавлен: его каналы настроек с номером " + IntToStr(number) +
                    " заняли бы место другого объекта этого типа.";
        return nullptr;
    }
    TObjectItem* object = nullptr;
    fBuilding = true;
    fBuildingNumber = number;
    try {
        object = factory(number, &Channels, Actions);
    } catch (const std::exception& e) {
        LastError = named + " не создан: " + e.what();
    } catch (...) {
        LastError = named + " не создан.";
    }
    fBuilding = false;
    if (!object) {
        if (LastError.empty())
            LastError = named + " не создан.";
        return nullptr;
    }
    Counters[counter] = n;
    InsertObjectByNumber(object);
    return object;
}

void configmanager::DetachChannelsOf(uintptr_t object) {
    for (ELEM* e = Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (reinterpret_cast<uintptr_t>(p->Owner) == object)
            p->Owner = nullptr;
    }
}

// A device moves its settings channels with its number. The object being deleted still holds its
// channels here, but they go with it, so only another holder refuses the move: the object then
// keeps its number and every channel its address, and the user is told.
void configmanager::Renumber(TObjectItem* o, uint16_t number, const TObjectItem* dying) {
    const uint16_t old = o->Number;
    CountObject(o, -1);
    const std::vector<std::pair<TParamItem*, uint32_t>> moved = fIndex->Moves([&] { o->SetNumber(number); });
    for (const auto& [p, key] : moved) {
        if (AddressKey(p) == key || p->ChannelIndex == 0)
            continue;
        const TParamItem* holder = nullptr;
        for (const TParamItem* q : fIndex->At(p->ChannelType, p->ChannelIndex))
            if (!holder && q != p && q->Owner != dying)
                holder = q;
        if (!holder)
            continue;
        const std::string text = "Объект \"" + o->DisplayType + " " + o->GetDisplayName() +
                                 "\" не перенумерован: адрес " + IntToStr(p->ChannelType) + ":" +
                                 IntToStr(p->ChannelIndex) + " уже занят каналом \"" + holder->Name + "\".";
        o->SetNumber(old);
        for (const auto& [q, k] : moved)
            q->SetAddress(static_cast<uint16_t>(k >> 8), static_cast<uint8_t>(k & 0xFF));
        CountObject(o, 1);
        ReportConfigurationProblem(text);
        return;
    }
    CountObject(o, 1);
}

void configmanager::DeleteObject(TObjectItem* object) {
    if (!IsLiveObject(object))
        return;
    PutBackRefusedEdits();
    Objects.Remove(object);
    fLive.erase(object);
    CountObject(object, -1);

    // User-defined objects are numbered as one class whatever tag the user gave them; other objects
    // within their tag. A number moves down only into a free place, so numbers stay unique.
    bool userClass = dynamic_cast<TUserObjItem*>(object) && !FindDeviceTypeByTag(object->Tag);
    for (ELEM* e = Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        if (o->Number <= object->Number)
            continue;
        bool same = userClass ? dynamic_cast<TUserObjItem*>(o) && !FindDeviceTypeByTag(o->Tag)
                              : o->Tag == object->Tag;
        if (same && !NumberInUse(static_cast<uint16_t>(o->Number - 1)))
            Renumber(o, static_cast<uint16_t>(o->Number - 1), object);
    }

    int counter = CounterOf(object);
    // Its destructor takes its own channels off the list; any channel still naming it afterwards
    // becomes the concentrator's own and stays on the list.
    auto gone = reinterpret_cast<uintptr_t>(object);
    delete object;
    DetachChannelsOf(gone);
    if (counter >= 0 && Counters[counter] > 0)
        --Counters[counter];
}
