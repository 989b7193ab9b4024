// Intrusive doubly linked lists of the configuration model (target elemlist).
#include "elem.h"

namespace {
void TakeHooks(const ELEMList& list, ELEM* e) {
    e->OnChanged = list.OnChanged;
    e->OnRebind = list.OnRebind;
}
} // namespace

void ELEMList::Remove(ELEM* e) {
    if (!e)
        return;
    // O(1) membership test. Removal clears the links, so a second Remove never follows a pointer to a
    // neighbour that may have been freed since.
    bool linked = e->Older ? e->Older->Newer == e : Oldest == e;
    if (!linked)
        return;
    if (Watch)
        Watch->Leaving(e);
    if (Newest == e)
        Newest = e->Older;
    if (Oldest == e)
        Oldest = e->Newer;
    if (e->Older)
        e->Older->Newer = e->Newer;
    if (e->Newer)
        e->Newer->Older = e->Older;
    e->Newer = nullptr;
    e->Older = nullptr;
    --Count;
}

void ELEMList::Append(ELEM* e) {
    e->Older = Newest;
    e->Newer = nullptr;
    if (Newest)
        Newest->Newer = e;
    else
        Oldest = e;
    Newest = e;
    ++Count;
    TakeHooks(*this, e);
    if (Watch)
        Watch->Joined(e);
}

void ELEMList::Prepend(ELEM* e) {
    e->Older = nullptr;
    e->Newer = Oldest;
    if (Oldest)
        Oldest->Older = e;
    else
        Newest = e;
    Oldest = e;
    ++Count;
    TakeHooks(*this, e);
    if (Watch)
        Watch->Joined(e);
}

void ELEMList::InsertAfter(ELEM* e, ELEM* existing) {
    e->Newer = existing->Newer;
    if (existing->Newer)
        existing->Newer->Older = e;
    existing->Newer = e;
    e->Older = existing;
    if (Newest == existing)
        Newest = e;
    ++Count;
    TakeHooks(*this, e);
    if (Watch)
        Watch->Joined(e);
}

ELEM* ELEMList::At(uint32_t n) const {
    ELEM* e = Oldest;
    while (e && n--)
        e = e->Newer;
    return e;
}

bool ELEMList::Contains(const ELEM* e) const {
    for (const ELEM* p = Oldest; p; p = p->Newer)
        if (p == e)
            return true;
    return false;
}
