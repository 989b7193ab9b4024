// Intrusive doubly linked lists of the configuration model: the element base ELEM and the header ELEMList.
// Lowest model layer (target elemlist); objects, channels, poll commands and subprograms derive from ELEM.
#pragma once

#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>

struct ELEM;

// A hook raised with the element it belongs to; empty until a list hands its own hooks over.
// Set, tested and raised as a std::function<void(ELEM*)>, but one pointer wide: every channel and
// command carries two, and a list's hook is shared by its elements, not copied into each. A hook
// is never changed in place, so sharing is safe; the count is not atomic (the model's lists live
// on the GUI thread).
class TElemEvent {
public:
    TElemEvent() = default;
    TElemEvent(std::nullptr_t) {}
    template <class F>
    requires(std::is_invocable_v<F&, ELEM*> && !std::is_same_v<std::remove_cvref_t<F>, TElemEvent>)
        TElemEvent(F&& f) {
        std::function<void(ELEM*)> fn(std::forward<F>(f));
        if (fn)
            fHeld = new Held{std::move(fn), 1};
    }
    TElemEvent(const TElemEvent& other) noexcept : fHeld(other.fHeld) {
        if (fHeld)
            ++fHeld->refs;
    }
    TElemEvent(TElemEvent&& other) noexcept : fHeld(std::exchange(other.fHeld, nullptr)) {}
    TElemEvent& operator=(TElemEvent other) noexcept {
        std::swap(fHeld, other.fHeld);
        return *this;
    }
    ~TElemEvent() {
        if (fHeld && --fHeld->refs == 0)
            delete fHeld;
    }

    explicit operator bool() const { return fHeld != nullptr; }
    // Throws std::bad_function_call when empty, as a std::function does.
    void operator()(ELEM* e) const {
        if (!fHeld)
            throw std::bad_function_call();
        fHeld->call(e);
    }

private:
    struct Held {
        std::function<void(ELEM*)> call;
        uint32_t refs;
    };
    Held* fHeld = nullptr;
};

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
