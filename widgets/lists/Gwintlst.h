// The Gw widget library's integer list (widget layer, lists): 32-bit integers with an optional
// sorted mode, a duplicates policy and an optional value range. Tab stops and check groups keep
// theirs in one.
#pragma once

#include <vector>

#include "classes.h"
#include "sysutils.h"

class EOutOfRange : public EListError {
    using EListError::EListError;
};

class TGwIntegerList : public TPersistent {
public:
    TGwIntegerList() = default;
    ~TGwIntegerList() override = default;

    int Count() const { return int(FItems.size()); }
    // Index errors raise EListError.
    int Items(int Index) const;
    // Range-checked; overwrites in place. A sorted list refuses (it would lose its order), as
    // Insert does.
    virtual void SetItem(int Index, int Value);
    int operator[](int Index) const { return Items(Index); }

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    // Min = Max means no range. Narrowing past a stored value raises EOutOfRange.
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);

    virtual bool Find(int Value, int& Index) const;
    virtual void Sort();
    virtual int Add(int Value);
    virtual void AddIntegers(const TGwIntegerList* List);
    virtual void Clear() { FItems.clear(); }
    virtual void Delete(int Index);
    virtual void Exchange(int Index1, int Index2);
    virtual int IndexOf(int Value) const;
    virtual void Insert(int Index, int Value);
    virtual void InsertNumber(int Index, int Value);
    virtual void Move(int CurIndex, int NewIndex);
    bool Equals(const TGwIntegerList* Other) const;
    void Assign(TPersistent* Source) override;

private:
    void CheckRange(int Value) const;
    void CheckIndex(int Index) const;

    std::vector<int> FItems;
    TDuplicates FDuplicates = dupIgnore;
    int FMin = 0;
    int FMax = 0;
    bool FSorted = false;
};
