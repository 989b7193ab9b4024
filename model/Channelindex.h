// The channel list by address and by membership, kept for the list's life: device objects adopt,
// bind and renumber channels by lookup instead of walking the whole list. Configuration model layer.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Objectstore.h"

// Watches its list: every channel the list takes in or lets go is filed or unfiled at once, and a
// channel on the list reports each change of its address (TParamItem::SetAddress). Channels at 0/0
// are members but filed under no address.
class TChannelIndex final : public ELEMWatch {
public:
    explicit TChannelIndex(ELEMList& list);
    TChannelIndex(const TChannelIndex&) = delete;
    TChannelIndex& operator=(const TChannelIndex&) = delete;
    ~TChannelIndex() override;

    // Whether p is on the list (p is never dereferenced: it may be gone).
    bool Holds(const TParamItem* p) const;
    // Room for `more` channels beyond those filed, so that a bulk add does not grow step by step.
    void Reserve(size_t more);
    // The channels at this address (not 0/0), in list order.
    std::vector<TParamItem*> At(uint16_t type, uint8_t index);
    // The channels of this type with an index, ascending index, equal indexes in list order.
    std::vector<TParamItem*> OfType(uint16_t type);
    // Runs change and returns the channels of the list it moved, each with its address before
    // (type << 8 | index), in list order.
    std::vector<std::pair<TParamItem*, uint32_t>> Moves(const std::function<void()>& change);

    void Joined(ELEM* e) override;
    void Leaving(ELEM* e) override;

private:
    friend class TParamItem;
    // p has moved off the address key (type << 8 | index).
    void Moved(TParamItem* p, uint32_t key);

    void File(TParamItem* p, uint32_t key);
    void Unfile(TParamItem* p, uint32_t key);
    // Places on the list again, after an insertion other than at the newest end.
    void Renumber();
    void SortByOrder(std::vector<TParamItem*>& v);

    ELEMList& fList;
    uint32_t fNext = 0;
    bool fOrderStale = false;
    // The slot of the address key (type << 8 | index), or the empty slot where it would go.
    size_t Slot(uint32_t key) const;
    size_t Home(uint32_t key) const;
    void Grow(size_t least);

    // The first channel filed at each address, open addressing by address; the rest follow through
    // TParamItem::fNextAt. Per channel state lives in the channel; a slot keeps its address so that
    // a probe reads no channel (node maps cost several times that per channel).
    // Channels on the list, by pointer alone: devices ask about channels they may have lost.
    class TMembers {
    public:
        bool Has(const TParamItem* p) const { return !fSlots.empty() && fSlots[Find(p)]; }
        void Insert(const TParamItem* p);
        void Erase(const TParamItem* p);
        void Grow(size_t least);

    private:
        size_t Home(const TParamItem* p) const;
        size_t Find(const TParamItem* p) const;
        std::vector<const TParamItem*> fSlots;
        size_t fFilled = 0;
        int fBits = 0;
    };
    mutable TMembers fMembers;
    mutable bool fMembersKept = false;
    struct TAddressSlot {
        uint32_t key = 0;
        TParamItem* head = nullptr; // null: the slot is free
    };
    std::vector<TAddressSlot> fSlots;
    size_t fFilled = 0;
    int fBits = 0;
    std::unordered_map<TParamItem*, uint32_t>* fMoves = nullptr; // while Moves runs: first address of each
};

// The index kept for this list, or null.
TChannelIndex* ChannelIndexOf(const ELEMList* list);
