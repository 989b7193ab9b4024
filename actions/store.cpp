// Subprogram store (actions layer): the id-keyed map of T_Action records, searches and id allocation.
#include "actions.h"

#include <algorithm>
#include <ostream>

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
    if (name.empty() || name == name_)
        return;
    if (Owner)
        Owner->Index(this, false);
    name_ = name;
    if (Owner)
        Owner->Index(this, true);
}

TActionCaption& TActionCaption::operator=(std::string text) {
    actionManager* store = owner_ ? owner_->Owner : nullptr;
    if (store)
        store->Index(owner_, false);
    text_ = std::move(text);
    if (store)
        store->Index(owner_, true);
    return *this;
}

std::ostream& operator<<(std::ostream& out, const TActionCaption& c) { return out << c.text_; }

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

void actionManager::Index(const T_Action* a, bool add) {
    if (!held_.count(a))
        return;
    auto file = [&](const std::string& text) {
        std::vector<uint16_t>& ids = byText_[text];
        const auto at = std::find(ids.begin(), ids.end(), a->Id());
        if (add && at == ids.end())
            ids.push_back(a->Id());
        else if (!add && at != ids.end())
            ids.erase(at);
        if (ids.empty())
            byText_.erase(text);
    };
    file(a->Name());
    if (!a->Caption.empty())
        file(a->Caption);
}

T_Action* actionManager::ByText(std::string_view text) const {
    const auto it = byText_.find(std::string(text));
    if (it == byText_.end() || it->second.empty())
        return nullptr;
    return ById(*std::min_element(it->second.begin(), it->second.end()));
}

void actionManager::Clear() {
    for (auto& [id, a] : map_)
        delete a;
    map_.clear();
    byText_.clear();
    held_.clear();
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
    // Nothing below the wanted id can pass, so an id search starts there (same result as a full walk);
    // a name search starts at the lowest id with that name or caption.
    auto from = (filter_.Flags & ActionFilter::ById) ? map_.lower_bound(filter_.Id) : map_.begin();
    if ((filter_.Flags & ActionFilter::ByName) && !(filter_.Flags & ActionFilter::ById) &&
        !filter_.Name.empty()) {
        const T_Action* a = ByText(filter_.Name);
        from = a ? map_.find(a->Id()) : map_.end();
    }
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
    held_.insert(a);
    Index(a, true);
    return a;
}

T_Action* actionManager::CreateAction(const std::string& name) {
    if (name.empty())
        return nullptr;
    if (const auto it = byText_.find(name); it != byText_.end())
        for (uint16_t id : it->second)
            if (ById(id)->Name() == name)
                return nullptr;
    uint32_t id = map_.empty() ? 1u : map_.rbegin()->first + 1u; // the highest id, plus one
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
    return a && held_.count(a) ? const_cast<T_Action*>(a) : nullptr;
}

void actionManager::DeleteAction(T_Action* a) {
    if (!Contains(a) || a->Lock)
        return;
    Index(a, false);
    held_.erase(a);
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
        if (const T_Action* a = ByText(name))
            return a->Id();
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
    const auto it = byText_.find(std::string(name));
    if (it == byText_.end())
        return nullptr;
    T_Action* lowest = nullptr;
    for (uint16_t id : it->second)
        if (T_Action* a = ById(id); a->Name() == name && (!lowest || id < lowest->Id()))
            lowest = a;
    return lowest;
}
