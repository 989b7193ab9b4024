// The channel list by address and by membership. Configuration model layer.
#include "Channelindex.h"

#include <algorithm>
#include <limits>

namespace {

uint32_t KeyOf(const TParamItem* p) { return uint32_t{p->ChannelType} << 8 | p->ChannelIndex; }

constexpr uint64_t kSpread = 0x9E3779B97F4A7C15ull;
constexpr int kRunBits = 4;

} // namespace

size_t TChannelIndex::TMembers::Home(const TParamItem* p) const {
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(p) * kSpread) >> (64 - fBits));
}

size_t TChannelIndex::TMembers::Find(const TParamItem* p) const {
    const size_t mask = fSlots.size() - 1;
    size_t i = Home(p);
    while (fSlots[i] && fSlots[i] != p)
        i = (i + 1) & mask;
    return i;
}

void TChannelIndex::TMembers::Grow(size_t least) {
    int bits = std::max(fBits, 4);
    while ((size_t{1} << bits) * 3 < least * 4)
        ++bits;
    if (bits == fBits)
        return;
    std::vector<const TParamItem*> old(size_t{1} << bits, nullptr);
    old.swap(fSlots);
    fBits = bits;
    for (const TParamItem* q : old)
        if (q)
            fSlots[Find(q)] = q;
}

void TChannelIndex::TMembers::Insert(const TParamItem* p) {
    Grow(fFilled + 1);
    const TParamItem*& s = fSlots[Find(p)];
    if (!s) {
        s = p;
        ++fFilled;
    }
}

void TChannelIndex::TMembers::Erase(const TParamItem* p) {
    if (fSlots.empty())
        return;
    const size_t mask = fSlots.size() - 1;
    size_t i = Find(p);
    if (!fSlots[i])
        return;
    --fFilled;
    for (size_t j = (i + 1) & mask; fSlots[j]; j = (j + 1) & mask)
        if (((j - Home(fSlots[j])) & mask) >= ((j - i) & mask)) {
            fSlots[i] = fSlots[j];
            i = j;
        }
    fSlots[i] = nullptr;
}

TChannelIndex::TChannelIndex(ELEMList& list) : fList(list) {
    Grow(list.Count);
    for (ELEM* e = list.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        p->fOrder = fNext++;
        p->fKeeper = this;
        File(p, KeyOf(p));
    }
    list.Watch = this;
}

TChannelIndex::~TChannelIndex() {
    fList.Watch = nullptr;
    for (ELEM* e = fList.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        p->fKeeper = nullptr;
        p->fNextAt = nullptr;
    }
}

bool TChannelIndex::Holds(const TParamItem* p) const {
    if (!p)
        return false;
    // Built on the first question and kept from then on: a load or a list nobody asks about pays
    // neither the time nor the memory.
    if (!fMembersKept) {
        fMembers.Grow(fList.Count);
        for (ELEM* e = fList.Oldest; e; e = e->Newer)
            fMembers.Insert(static_cast<TParamItem*>(e));
        fMembersKept = true;
    }
    return fMembers.Has(p);
}

void TChannelIndex::Reserve(size_t more) {
    Grow(fFilled + more);
    if (fMembersKept)
        fMembers.Grow(fList.Count + more);
}

void TChannelIndex::Joined(ELEM* e) {
    auto* p = static_cast<TParamItem*>(e);
    // Appends keep the order numbers rising; anything else renumbers when next asked.
    if (e->Newer || fNext == std::numeric_limits<uint32_t>::max())
        fOrderStale = true;
    p->fOrder = fNext++;
    p->fKeeper = this;
    if (fMembersKept)
        fMembers.Insert(p);
    File(p, KeyOf(p));
}

void TChannelIndex::Leaving(ELEM* e) {
    auto* p = static_cast<TParamItem*>(e);
    if (p->fKeeper != this)
        return;
    Unfile(p, KeyOf(p));
    if (fMembersKept)
        fMembers.Erase(p);
    p->fKeeper = nullptr;
    // Moves must not keep a channel that may be freed once off the list.
    if (fMoves)
        fMoves->erase(p);
}

void TChannelIndex::Moved(TParamItem* p, uint32_t key) {
    if (p->fKeeper != this)
        return;
    if (fMoves)
        fMoves->emplace(p, key);
    Unfile(p, key);
    File(p, KeyOf(p));
}

// Sixteen neighbouring indexes of a type share one run of slots: a load files channels in address
// order, which then writes the table a run at a time instead of at a random place per channel.
// A run starts at any slot: runs aligned to sixteen collide whole and probe a run's length.
size_t TChannelIndex::Home(uint32_t key) const {
    const auto run = static_cast<size_t>((uint64_t{key >> kRunBits} * kSpread) >> (64 - fBits));
    return (run + (key & ((1u << kRunBits) - 1))) & (fSlots.size() - 1);
}

size_t TChannelIndex::Slot(uint32_t key) const {
    const size_t mask = fSlots.size() - 1;
    size_t i = Home(key);
    while (fSlots[i].head && fSlots[i].key != key)
        i = (i + 1) & mask;
    return i;
}

void TChannelIndex::Grow(size_t least) {
    int bits = std::max(fBits, kRunBits + 2);
    // At most three quarters full keeps probes short.
    while ((size_t{1} << bits) * 3 < least * 4)
        ++bits;
    if (bits == fBits)
        return;
    std::vector<TAddressSlot> old(size_t{1} << bits);
    old.swap(fSlots);
    fBits = bits;
    for (const TAddressSlot& s : old)
        if (s.head)
            fSlots[Slot(s.key)] = s;
}

void TChannelIndex::File(TParamItem* p, uint32_t key) {
    p->fNextAt = nullptr;
    if (key == 0)
        return;
    Grow(fFilled + 1);
    // Usually alone at its address; the order among several comes from fOrder when asked.
    TAddressSlot& s = fSlots[Slot(key)];
    if (s.head) {
        p->fNextAt = s.head;
    } else {
        ++fFilled;
        s.key = key;
    }
    s.head = p;
}

void TChannelIndex::Unfile(TParamItem* p, uint32_t key) {
    if (key == 0 || fSlots.empty())
        return;
    const size_t mask = fSlots.size() - 1;
    size_t i = Slot(key);
    TParamItem* head = fSlots[i].head;
    if (!head)
        return;
    if (head != p) {
        for (TParamItem* q = head; q->fNextAt; q = q->fNextAt)
            if (q->fNextAt == p) {
                q->fNextAt = p->fNextAt;
                break;
            }
    } else if (p->fNextAt) {
        fSlots[i].head = p->fNextAt;
    } else {
        // Shifts back the slots that probed past this one, so no lookup stops short.
        --fFilled;
        for (size_t j = (i + 1) & mask; fSlots[j].head; j = (j + 1) & mask)
            if (((j - Home(fSlots[j].key)) & mask) >= ((j - i) & mask)) {
                fSlots[i] = fSlots[j];
                i = j;
            }
        fSlots[i] = {};
    }
    p->fNextAt = nullptr;
}

void TChannelIndex::Renumber() {
    fNext = 0;
    for (ELEM* e = fList.Oldest; e; e = e->Newer)
        static_cast<TParamItem*>(e)->fOrder = fNext++;
    fOrderStale = false;
}

void TChannelIndex::SortByOrder(std::vector<TParamItem*>& v) {
    if (v.size() < 2)
        return;
    if (fOrderStale)
        Renumber();
    std::sort(v.begin(), v.end(),
              [](const TParamItem* a, const TParamItem* b) { return a->fOrder < b->fOrder; });
}

std::vector<TParamItem*> TChannelIndex::At(uint16_t type, uint8_t index) {
    if ((type == 0 && index == 0) || fSlots.empty())
        return {};
    std::vector<TParamItem*> v;
    for (TParamItem* q = fSlots[Slot(uint32_t{type} << 8 | index)].head; q; q = q->fNextAt)
        v.push_back(q);
    SortByOrder(v);
    return v;
}

std::vector<TParamItem*> TChannelIndex::OfType(uint16_t type) {
    std::vector<TParamItem*> v;
    for (int index = 1; index <= 0xFF; ++index) {
        std::vector<TParamItem*> here = At(type, static_cast<uint8_t>(index));
        v.insert(v.end(), here.begin(), here.end());
    }
    return v;
}

std::vector<std::pair<TParamItem*, uint32_t>> TChannelIndex::Moves(const std::function<void()>& change) {
    std::unordered_map<TParamItem*, uint32_t> first;
    fMoves = &first;
    try {
        change();
    } catch (...) {
        fMoves = nullptr;
        throw;
    }
    fMoves = nullptr;
    // Only channels still on the list are left: Leaving drops the others.
    std::vector<TParamItem*> moved;
    for (const auto& [p, key] : first)
        if (Holds(p))
            moved.push_back(p);
    SortByOrder(moved);
    std::vector<std::pair<TParamItem*, uint32_t>> out;
    for (TParamItem* p : moved)
        out.emplace_back(p, first[p]);
    return out;
}

TChannelIndex* ChannelIndexOf(const ELEMList* list) {
    return list ? dynamic_cast<TChannelIndex*>(list->Watch) : nullptr;
}
