// Runtime layer: the object model (TObject, TPersistent, TComponent), pointer lists, string lists
// and collections, with the VCL's semantics.
// Properties are C++ members: a property whose setting has no side effect is a public field
// (Tag, Duplicates, OnChange); any other is a getter named like the property and a Set… setter.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <string_view>
#include <vector>

#include "sysutils.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // The class's C++ name, without namespaces.
    std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Deletes the object and clears the pointer.
template <class T> void FreeAndNil(T*& p) {
    T* q = p;
    p = nullptr;
    delete q;
}

// Runs Body between Target's BeginUpdate and EndUpdate; EndUpdate runs also when Body throws, so
// a failed operation never leaves the target stuck in its update state.
template <class T, class F> void WithinUpdate(T* Target, F&& Body) {
    Target->BeginUpdate();
    try {
        Body();
    } catch (...) {
        Target->EndUpdate();
        throw;
    }
    Target->EndUpdate();
}

class TPersistent : public TObject {
public:
    // Copies Source into this object; raises EConvertError "Cannot assign a X to a Y" when
    // neither side knows how.
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
};

// ---- TComponent ---------------------------------------------------------------------------------

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = Set<TComponentStateItem, csLoading, csDesignInstance>;

enum TOperation { opInsert, opRemove };

// An owner frees the components it owns when it is destroyed; components told about each other
// through FreeNotification hear opRemove when the other one goes.
// C++ note: while ~TComponent runs, the derived parts of the dying component are gone, so a
// class that must react to notifications about its owned components while dying calls
// Destroying() and DestroyComponents() in its own destructor.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int Index) const; // EListError when out of range
    int ComponentIndex() const;              // position in the owner's list, -1 without owner

    const std::string& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier, or that another component of
    // the same owner has (compared without case).
    virtual void SetName(const std::string& NewName);

    TComponentState ComponentState() const { return state_; }
    void SetComponentState(TComponentStateItem Item, bool On);
    void SetDesigning(bool Value, bool SetChildren = true);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents(); // frees the owned components, last first
    void Destroying();        // marks this and the owned components csDestroying
    TComponent* FindComponent(std::string_view AName) const;

    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called once loading is over; clears csLoading.
    virtual void Loaded();

    // Pointer-sized: forms keep object pointers in it.
    intptr_t Tag = 0;

protected:
    // Default: forget a removed component's free notification and pass the news to every
    // owned component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    TComponentState state_;
};

// ---- TList --------------------------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// A list of untyped pointers. Index errors raise EListError "List index out of bounds (i)".
class TList : public TObject {
public:
    ~TList() override;
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    int Remove(void* Item);    // index it had, -1 when absent
    void* Extract(void* Item); // removes without the lnDeleted notification
    int IndexOf(void* Item) const;
    void Clear();
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Pack(); // drops null entries
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    void Sort(const std::function<int(void*, void*)>& Compare);

    int Count() const { return int(items_.size()); }
    void SetCount(int NewCount);
    int Capacity() const { return int(items_.capacity()); }
    void SetCapacity(int NewCapacity);
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* Items(int Index) const { return Get(Index); }
    void* operator[](int Index) const { return Get(Index); }

protected:
    virtual void Notify(void* Ptr, TListNotification Action);
    [[noreturn]] void IndexError(int Index) const;

private:
    std::vector<void*> items_;
};

// A list of objects that, while OwnsObjects, deletes an object when it leaves by Delete,
// Remove, Clear, Put or its own destruction (Extract hands it back instead).
class TObjectList : public TList {
public:
    explicit TObjectList(bool AOwnsObjects = true) : OwnsObjects(AOwnsObjects) {}
    ~TObjectList() override;
    int Add(TObject* Item) { return TList::Add(Item); }
    void Insert(int Index, TObject* Item) { TList::Insert(Index, Item); }
    int Remove(TObject* Item) { return TList::Remove(Item); }
    TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
    int IndexOf(TObject* Item) const { return TList::IndexOf(Item); }
    TObject* Items(int Index) const { return static_cast<TObject*>(Get(Index)); }
    TObject* operator[](int Index) const { return Items(Index); }
    void SetItem(int Index, TObject* Item) { Put(Index, Item); }

    bool OwnsObjects;

protected:
    void Notify(void* Ptr, TListNotification Action) override;
};

// ---- Streams ------------------------------------------------------------------------------------

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Bytes actually moved; 0 at the end.
    virtual int Read(void* Buffer, int Count) = 0;
    virtual int Write(const void* Buffer, int Count) = 0;
    // New position; a seek outside [0, Size] is clamped to it.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    virtual void SetSize(int64_t NewSize) = 0;

    // Exactly Count bytes or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, int Count);
    void WriteBuffer(const void* Buffer, int Count);
    // Copies Count bytes from Source's position; Count 0 copies all of Source from its start.
    int64_t CopyFrom(TStream* Source, int64_t Count);

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    int64_t Size();
};

// Open modes, with their Windows values; the share flags are accepted and have no effect.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF,
};

// A file. fmCreate creates or truncates (EFCreateError "Cannot create file <name>"); the open
// modes need an existing file (EFOpenError "Cannot open file <name>").
class TFileStream : public TStream {
public:
    TFileStream(const std::string& FileName, unsigned Mode);
    ~TFileStream() override;
    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    int fd_ = -1;
};

// Bytes in memory; writing past the end grows it.
class TMemoryStream : public TStream {
public:
    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    void Clear();
    void LoadFromStream(TStream* Stream); // all of Stream, from its start
    void SaveToStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    char* Memory() { return data_.data(); }
    const std::string& Bytes() const { return data_; }

private:
    std::string data_;
    size_t pos_ = 0;
};

// A memory stream over a string.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(std::string_view AString = {});
    std::string DataString() const { return Bytes(); }
};

// ---- TStrings / TStringList ---------------------------------------------------------------------

// Abstract list of strings with an object per line. Index errors raise EStringListError (an
// EListError) "List index out of bounds (i)".
class TStrings : public TPersistent {
public:
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int Index) = 0;
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, TObject* AObject);
    void Append(const std::string& S) { Add(S); }
    virtual void AddStrings(const TStrings* Strings);
    void Assign(TPersistent* Source) override;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    bool Equals(const TStrings* Strings) const;

    // First line equal to S (compared without case unless a string list says otherwise), or -1.
    virtual int IndexOf(std::string_view S) const;
    int IndexOfName(std::string_view Name) const;
    int IndexOfObject(const TObject* AObject) const;

    int Count() const { return GetCount(); }
    std::string Strings(int Index) const { return Get(Index); }
    std::string operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }

    // name=value lines: the name is the text before the first '='.
    std::string Names(int Index) const;
    std::string Values(std::string_view Name) const;
    std::string ValueFromIndex(int Index) const;
    // An empty value deletes the line; otherwise the line is replaced or appended.
    void SetValue(std::string_view Name, const std::string& Value);

    // Lines joined by ','; a line holding a blank, control character, '"' or ',' (or nothing) is
    // double-quoted with inner quotes doubled.
    std::string CommaText() const;
    // Splits at commas, blanks and control characters; a double-quoted field keeps them and
    // loses its quotes ("" inside stands for one quote). Blanks alone give no lines; a comma
    // after a comma gives an empty line.
    void SetCommaText(std::string_view Value);
    // Every line followed by CR LF.
    std::string Text() const;
    // Lines end at CR LF, LF or CR; a final line end adds no empty line.
    void SetText(std::string_view Value);

    // The file's bytes as Text (no conversion). A missing or unreadable file, or a folder:
    // EFOpenError "Cannot open file <name>".
    void LoadFromFile(const std::string& FileName);
    // Text's bytes, written to a temporary file that then replaces the target, so a failed save
    // leaves the old file. Failure: EFCreateError "Cannot create file <name>".
    void SaveToFile(const std::string& FileName) const;
    // The stream's bytes from its position to its end, as Text.
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream) const;

    // Replaces the content by Lines inside one update block.
    void SetLines(const std::vector<std::string>& Lines);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    // Called when the update count leaves or reaches zero.
    virtual void SetUpdateState(bool Updating);
    // How lines compare for IndexOf and IndexOfName; AnsiCompareText by default.
    virtual int CompareStrings(std::string_view S1, std::string_view S2) const;
    [[noreturn]] void Error(const char* Msg, int Data) const;

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int GetCount() const override { return int(items_.size()); }
    void Clear() override;
    void Delete(int Index) override;
    // On a sorted list: EStringListError "Operation not allowed on sorted string list".
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    // On a sorted list: at its place; an equal line under dupIgnore returns that line's index,
    // under dupError raises EStringListError "String list does not allow duplicates".
    int AddObject(const std::string& S, TObject* AObject) override;
    int Add(const std::string& S) override { return AddObject(S, nullptr); }
    void Exchange(int Index1, int Index2) override;
    int IndexOf(std::string_view S) const override;

    // Binary search of a sorted list: true when found; Index is the first equal line, or where
    // S would go.
    virtual bool Find(std::string_view S, int& Index) const;
    virtual void Sort();
    // Compare(List, Index1, Index2) < 0 puts line Index1 first.
    void CustomSort(const std::function<int(TStringList*, int, int)>& Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);

    TDuplicates Duplicates = dupIgnore;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool Updating) override;
    int CompareStrings(std::string_view S1, std::string_view S2) const override;

private:
    struct Item {
        std::string s;
        TObject* obj = nullptr;
    };
    void CheckIndex(int Index) const;
    void InsertItem(int Index, const std::string& S, TObject* AObject);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

// ---- TCollection --------------------------------------------------------------------------------

class TCollection;

// An item belongs to at most one collection; the collection owns and deletes it.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* Value);
    int ID() const { return id_; }
    int Index() const;
    void SetIndex(int Value);
    virtual std::string DisplayName() const;

protected:
    // Tells the collection: this item (AllItems false) or everything (true) changed.
    virtual void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

using TCollectionItemClass = std::function<TCollectionItem*(TCollection*)>;

template <class T> TCollectionItemClass CollectionItemClass() {
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass, TPersistent* AOwner = nullptr);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    void Assign(TPersistent* Source) override;
    virtual void BeginUpdate();
    virtual void EndUpdate();
    TCollectionItem* FindItemID(int ID) const;

    int Count() const { return int(items_.size()); }
    TCollectionItem* Items(int Index) const { return GetItem(Index); }
    TPersistent* Owner() const { return owner_; }
    int UpdateCount() const { return updateCount_; }

protected:
    virtual TCollectionItem* GetItem(int Index) const;       // EListError when out of range
    virtual void SetItem(int Index, TCollectionItem* Value); // assigns Value to the item
    // Item null: everything changed. Called when not inside BeginUpdate/EndUpdate.
    virtual void Update(TCollectionItem* Item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(int CurIndex, int NewIndex);

    TCollectionItemClass itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

// ---- TThread ------------------------------------------------------------------------------------

// A worker thread running Execute. Always created suspended: a C++ base cannot start the derived
// Execute before the derived constructor has run, so the creator calls Start (or Resume).
// Execute polls Terminated(); an exception escaping Execute ends the thread and is kept in
// FatalException. OnTerminate runs through Synchronize after Execute.
class TThread : public TObject {
public:
    TThread();
    // Asks the thread to stop and waits for it (not when it frees itself). By then the derived
    // parts are gone: a class whose Execute uses members with destructors calls Terminate() and
    // WaitFor() in its own destructor.
    ~TThread() override;

    void Start();
    void Resume() { Start(); }
    void Terminate() { terminated_ = true; }
    int WaitFor(); // ReturnValue once the thread has ended
    bool Terminated() const { return terminated_; }
    bool Suspended() const { return !started_; }
    bool Finished() const { return finished_; }
    std::thread::id ThreadID() const { return thread_.get_id(); }

    // Delete the object once OnTerminate has run.
    bool FreeOnTerminate = false;
    TNotifyEvent OnTerminate;
    int ReturnValue = 0;
    std::exception_ptr FatalException;

    // How Synchronize reaches the main thread: the GUI layer installs a handler that runs the
    // call on its event loop and waits. Without one the call runs at once, under a lock shared
    // by all threads.
    using TSynchronizeHandler = std::function<void(const std::function<void()>&)>;
    static void SetSynchronizeHandler(TSynchronizeHandler Handler);
    static void Synchronize(const std::function<void()>& Method);

protected:
    virtual void Execute() = 0;

private:
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
};
