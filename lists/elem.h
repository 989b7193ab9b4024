// Intrusive doubly linked lists of the configuration model: the element base ELEM and the header ELEMList.
// Lowest model layer (target elemlist); objects, channels, poll commands and subprograms derive from ELEM.
#pragma once

#include <cstdint>
#include <functional>

struct ELEM;

// A hook raised with the element it belongs to; empty until a list hands its own hooks over.
using TElemEvent = std::function<void(ELEM*)>;

struct ELEM {
    TElemEvent OnChanged;
    TElemEvent OnRebind;
    ELEM* Newer = nullptr; // next in walking order, null at the newest end
    ELEM* Older = nullptr; // previous in walking order, null at the oldest end

    ELEM() = default;
    // A copy is a new element: it is on no list and has no hooks until a list takes it.
    ELEM(const ELEM&) {}
    // Assigning the payload of a derived element must not relink it or change its hooks.
    ELEM& operator=(const ELEM&) { return *this; }
    virtual ~ELEM() = default;

    // Raise a hook when it is set; an unset hook is a no-op.
    void RaiseChanged() {
        if (OnChanged)
            OnChanged(this);
    }
    void RaiseRebind() {
        if (OnRebind)
            OnRebind(this);
    }
};

// Told of every element a list takes in or lets go, so that an index of the list keeps itself.
struct ELEMWatch {
    virtual ~ELEMWatch() = default;
    virtual void Joined(ELEM* e) = 0;  // e is linked and has the list's hooks
    virtual void Leaving(ELEM* e) = 0; // e is still linked
};

// The header links elements it does not own: removing an element or dropping the header frees nothing.
struct ELEMList {
    TElemEvent OnChanged; // copied into every element the list takes
    TElemEvent OnRebind;
    ELEM* Newest = nullptr;
    ELEM* Oldest = nullptr;
    uint32_t Count = 0;
    ELEMWatch* Watch = nullptr; // not owned

    // Unlinks e and clears its links (take the next element before removing while walking); its hooks
    // stay. An element that is not linked into this list is ignored, so a second Remove cannot corrupt
    // the count.
    void Remove(ELEM* e);
    void Append(ELEM* e);
    void Prepend(ELEM* e);
    // Links e right after existing (on its newer side); existing must be on this list.
    void InsertAfter(ELEM* e, ELEM* existing);

    // Element n steps from the oldest end, or null past the newest.
    ELEM* At(uint32_t n) const;
    bool Contains(const ELEM* e) const;
};
