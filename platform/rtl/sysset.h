// Small Delphi-style set over an enumeration (runtime layer): ComponentState, font styles, anchors.
#pragma once

#include <bitset>
#include <initializer_list>

template <class E, E Lo, E Hi> class Set {
public:
    Set() = default;
    Set(std::initializer_list<E> items) {
        for (E e : items)
            *this << e;
    }

    Set& operator<<(E e) {
        bits_.set(Index(e));
        return *this;
    }
    Set& operator>>(E e) {
        bits_.reset(Index(e));
        return *this;
    }
    bool Contains(E e) const { return bits_.test(Index(e)); }
    bool Empty() const { return bits_.none(); }
    void Clear() { bits_.reset(); }

    Set operator+(const Set& o) const {
        Set r;
        r.bits_ = bits_ | o.bits_;
        return r;
    }
    Set operator*(const Set& o) const {
        Set r;
        r.bits_ = bits_ & o.bits_;
        return r;
    }
    Set operator-(const Set& o) const {
        Set r;
        r.bits_ = bits_ & ~o.bits_;
        return r;
    }
    Set& operator+=(const Set& o) {
        bits_ |= o.bits_;
        return *this;
    }
    Set& operator*=(const Set& o) {
        bits_ &= o.bits_;
        return *this;
    }
    Set& operator-=(const Set& o) {
        bits_ &= ~o.bits_;
        return *this;
    }
    bool operator==(const Set& o) const { return bits_ == o.bits_; }
    bool operator!=(const Set& o) const { return bits_ != o.bits_; }

    // Bit i stands for the element Lo + i: the layout stored set values use.
    unsigned long ToInt() const { return bits_.to_ulong(); }
    static Set FromInt(unsigned long v) {
        Set r;
        r.bits_ = std::bitset<kSize>(v);
        return r;
    }

private:
    static constexpr int kSize = int(Hi) - int(Lo) + 1;
    static size_t Index(E e) { return size_t(int(e) - int(Lo)); }
    std::bitset<kSize> bits_;
};
