// Subprogram store (actions layer): the id-keyed map of T_Action records, searches and id allocation.
#include "actions.h"

#include "sysutils.h"

namespace {

// Reserved for the schedule controller's main subprogram, which creates it under this fixed id.
constexpr uint16_t kReservedScheduleId = 13;

std::string DefaultName(uint16_t id) { return "action" + IntToStr(id); }

bool Passes(const T_Action& a, const ActionFilter& f) {
    if ((f.Flags & ActionFilter::ByName) && a.Name() != f.Name && a.Caption != f.Name)
        return false;
    if ((f.Flags & ActionFilter::ById) && a.Id() != f.Id)
        return false;
    return true;
}

} // namespace

void T_Action::SetName(const std::string& name) {
    if (!name.empty())
        name_ = name;
}

void T_Action::SetId(uint16_t id) {
    if (name_.empty())
        name_ = DefaultName(id);
    id_ = id;
}

std::string T_Action::SaveRefusal() const {
    std::string why;
    if (Instructions.size() > kMaxStoredInstructions)
        why = "в ней " + IntToStr(int64_t(Instructions.size())) + " команд (не более " +
              IntToStr(int64_t(kMaxStoredInstructions)) + ")";
    else if (size_t(Variables.Count()) > kMaxStoredVariables)
        why = "в ней " + IntToStr(Variables.Count()) + " переменных (не более " +
              IntToStr(int64_t(kMaxStoredVariables)) + ")";
    if (why.empty())
        return why;
    return "Подпрограмму \"" + name_ + "\" нельзя сохранить: " + why + ".";
}

actionManager::~actionManager() { Clear(); }

void actionManager::Clear() {
    for (auto& [id, a] : map_)
        delete a;
    map_.clear();
    searching_ = false;
    current_ = nullptr;
}

T_Action* actionManager::Walk(std::map<uint16_t, T_Action*>::const_iterator from) {
    for (auto it = from; it != map_.end(); ++it) {
        T_Action* a = it->second;
        if (Passes(*a, filter_)) {
            current_ = a;
            cursor_ = it->first;
            searching_ = true;
            filter_.Version = a->Version;
            filter_.Name = a->Name();
            filter_.Id = a->Id();
            return a;
        }
    }
    current_ = nullptr;
    searching_ = false;
    return nullptr;
}

T_Action* actionManager::FindFirst(const ActionFilter& filter) {
    filter_ = filter;
    // Nothing below the wanted id can pass, so an id search starts there (same result as a full walk).
    auto from = (filter_.Flags & ActionFilter::ById) ? map_.lower_bound(filter_.Id) : map_.begin();
    return Walk(from);
}

T_Action* actionManager::FindNext() {
    if (!searching_)
        return nullptr;
    // Resume by key rather than by iterator, so deleting the last match does not break the walk.
    return Walk(map_.upper_bound(cursor_));
}

T_Action* actionManager::Insert(uint16_t id, const std::string* name) {
    auto* a = new T_Action(this);
    a->SetId(id);
    if (name)
        a->SetName(*name);
    map_.emplace(id, a);
    return a;
}

T_Action* actionManager::CreateAction(const std::string& name) {
    if (name.empty())
        return nullptr;
    uint16_t highest = 0;
    for (auto& [id, a] : map_) {
        if (a->Name() == name)
            return nullptr;
        highest = id; // the map is in ascending order
    }
    uint32_t id = highest + 1u;
    if (id == kReservedScheduleId)
        ++id;
    if (id > 0xFFFF) {
        // The top id is taken: use the lowest free one instead of wrapping onto id 0.
        id = 0;
        for (uint32_t k = 1; k <= 0xFFFF && !id; ++k)
            if (k != kReservedScheduleId && !map_.count(uint16_t(k)))
                id = k;
        if (!id)
            return nullptr;
    }
    return Insert(uint16_t(id), &name);
}

T_Action* actionManager::CreateActionWithId(uint16_t id) {
    if (id == 0 || map_.count(id))
        return nullptr;
    return Insert(id, nullptr);
}

T_Action* actionManager::Contains(const T_Action* a) const {
    // Compares pointers only: callers use this to check a pointer that may have been deleted.
    if (a)
        for (auto& [id, mine] : map_)
            if (mine == a)
                return mine;
    return nullptr;
}

void actionManager::DeleteAction(T_Action* a) {
    if (!Contains(a) || a->Lock)
        return;
    map_.erase(a->Id());
    if (current_ == a)
        current_ = nullptr;
    delete a;
}

std::string actionManager::DisplayName(uint16_t id) const {
    if (id == 0)
        return "нет";
    const T_Action* a = ById(id);
    if (!a)
        return "???";
    if (!a->Caption.empty())
        return a->Caption;
    if (!a->Name().empty())
        return a->Name();
    return IntToStr(id);
}

bool actionManager::IsDefined(uint16_t id) const {
    const T_Action* a = id ? ById(id) : nullptr;
    return a && !a->Instructions.empty();
}

uint16_t actionManager::FindOrCreate(const std::string& name, uint16_t reservedId, int create) {
    // An empty name would match every subprogram without a caption.
    if (!name.empty())
        for (auto& [id, a] : map_)
            if (a->Name() == name || a->Caption == name)
                return id;
    if (reservedId) {
        const T_Action* a = ById(reservedId);
        if (a && a->Name() == DefaultName(reservedId))
            return reservedId;
    }
    if (!create)
        return 0;
    const T_Action* a = CreateAction(name);
    return a ? a->Id() : 0;
}

T_Action* actionManager::ById(uint16_t id) const {
    auto it = map_.find(id);
    return it == map_.end() ? nullptr : it->second;
}

T_Action* actionManager::ByName(std::string_view name) const {
    for (auto& [id, a] : map_)
        if (a->Name() == name)
            return a;
    return nullptr;
}
