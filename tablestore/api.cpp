// C interface of the table store: handles, the process-wide lock, record buffers, and the
// exception boundary (nothing is thrown out of an export).
#include "api.h"

#include "lorinternal.h"
#include "msgbox.h"
#include "tables.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <unordered_map>

using namespace lor;

namespace {

std::recursive_mutex& Mutex() {
    static auto* m = new std::recursive_mutex; // outlives the close-at-exit below
    return *m;
}

// Holds the library lock for one export; with a label it traces taking and leaving it.
class LockGuard {
public:
    explicit LockGuard(const char* label = nullptr) : label_(label) {
        Mutex().lock();
        if (label_ && *label_)
            std::fprintf(stderr, "mutex lock  : %s\n", label_);
    }
    ~LockGuard() {
        if (label_ && *label_)
            std::fprintf(stderr, "mutex unlock: %s\n", label_);
        Mutex().unlock();
    }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    const char* label_;
};

struct Registry {
    std::vector<std::unique_ptr<Base>> bases;
    std::unordered_map<uint32_t, Base*> baseOf;
    std::unordered_map<uint32_t, Table*> tableOf;
    // The two tables asked about last: a walk asks about the same one record after record, a load
    // about a table and its companion in turn.
    uint32_t lastHandle[2] = {};
    Table* lastTable[2] = {};
    void ForgetLast() { lastHandle[0] = lastHandle[1] = 0; }
    uint32_t next = 33;
    uint32_t lastBase = 0;

    // Handles are never reused while the process lives (until the 32-bit space wraps).
    uint32_t NewHandle() {
        for (;;) {
            uint32_t h = next++;
            if (next == 0)
                next = 33;
            if (IsBaseHandle(h) && !baseOf.count(h) && !tableOf.count(h))
                return h;
        }
    }
};

Registry& Reg() {
    static auto* r = new Registry;
    return *r;
}

Base* BaseOf(LORHANDLE h) {
    if (!IsBaseHandle(h))
        return nullptr;
    auto it = Reg().baseOf.find(h);
    if (it == Reg().baseOf.end())
        return nullptr;
    Reg().lastBase = h;
    it->second->status = LOR_OK;
    return it->second;
}

Table* TableOf(LORHANDLE h) {
    if (!IsBaseHandle(h))
        return nullptr;
    Registry& r = Reg();
    Table* t = nullptr;
    if (h == r.lastHandle[0]) {
        t = r.lastTable[0];
    } else if (h == r.lastHandle[1]) {
        t = r.lastTable[1];
        std::swap(r.lastHandle[0], r.lastHandle[1]);
        std::swap(r.lastTable[0], r.lastTable[1]);
    } else {
        auto it = r.tableOf.find(h);
        if (it == r.tableOf.end())
            return nullptr;
        t = it->second;
        r.lastHandle[1] = r.lastHandle[0];
        r.lastTable[1] = r.lastTable[0];
        r.lastHandle[0] = h;
        r.lastTable[0] = t;
    }
    r.lastBase = t->base->handle;
    t->base->status = LOR_OK;
    return t;
}

Base* FindSameFile(const std::string& path) {
    PathInfo info = InspectPath(path);
    if (!info.exists)
        return nullptr;
    for (auto& b : Reg().bases)
        if (b->dev == info.dev && b->ino == info.ino)
            return b.get();
    return nullptr;
}

uint32_t RegisterTable(Table* t) {
    t->handle = Reg().NewHandle();
    Reg().tableOf[t->handle] = t;
    return t->handle;
}

void CloseAndForget(Base* b) {
    Registry& r = Reg();
    for (auto& t : b->tables)
        r.tableOf.erase(t->handle);
    r.tableOf.erase(b->dirTable.handle);
    r.ForgetLast();
    r.baseOf.erase(b->handle);
    if (r.lastBase == b->handle)
        r.lastBase = 0;
    CloseBaseFile(*b);
    auto it = std::find_if(r.bases.begin(), r.bases.end(), [&](auto& p) { return p.get() == b; });
    if (it != r.bases.end())
        r.bases.erase(it);
}

// Scratch buffers of the record exports; the lock guards them.
uint8_t g_key[LOR_MAX_KEY];
uint8_t g_data[LOR_MAX_DATA];
uint8_t g_outKey[LOR_MAX_KEY];
uint8_t g_outData[LOR_MAX_DATA];

struct RecIn {
    uint32_t maxKey, maxData, klen, dlen;
};

// Reads the entry block; false (status 12 or 13) when the key or data exceeds the scratch sizes.
bool ParseRec(Base& b, const uint8_t* rec, RecIn& in) {
    in.maxKey = std::min<uint32_t>(Get16(rec), LOR_MAX_KEY);
    in.maxData = std::min<uint32_t>(Get32(rec + 2), LOR_MAX_DATA);
    in.klen = Get16(rec + 6);
    if (in.klen > LOR_MAX_KEY) {
        b.status = LOR_EMPTY_KEY;
        return false;
    }
    std::memcpy(g_key, rec + 8, in.klen);
    in.dlen = Get32(rec + 8 + in.klen);
    if (in.dlen > LOR_MAX_DATA) {
        b.status = LOR_TOO_LONG;
        return false;
    }
    std::memcpy(g_data, rec + 12 + in.klen, in.dlen);
    return true;
}

void WriteAnswer(uint8_t* rec, const uint8_t* key, uint32_t klen, const uint8_t* data, uint32_t dlen) {
    Put16(rec, uint16_t(klen));
    std::memmove(rec + 2, key, klen);
    Put32(rec + 2 + klen, dlen);
    if (dlen)
        std::memmove(rec + 6 + klen, data, dlen);
}

} // namespace

namespace lor {

int RecordCall(RecOp op, LORHANDLE table, void* buf, uint32_t bufCap) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || !buf)
            return 0;
        Base& b = *t->base;
        uint8_t* rec = static_cast<uint8_t*>(buf);
        RecIn in;
        if (!ParseRec(b, rec, in))
            return 0;
        RecOut out{g_outKey, in.maxKey, 0, g_outData, in.maxData, 0};
        bool ok = false;
        switch (op) {
        case RecOp::Save:
            if (in.klen == 0) {
                b.status = LOR_EMPTY_KEY;
                return 0;
            }
            if (!SaveRecord(*t, g_key, in.klen, g_data, in.dlen))
                return 0;
            WriteAnswer(rec, g_key, in.klen, g_data, in.dlen);
            return 1;
        case RecOp::Top:
        case RecOp::Bottom: {
            if (!b.Usable() || t->desc->t.count == 0 || t->desc->t.root == 0)
                return 0;
            uint8_t k = op == RecOp::Top ? 0x00 : 0xFF;
            WriteAnswer(rec, &k, 1, nullptr, 0);
            return 1;
        }
        case RecOp::First:
        case RecOp::Last: {
            if (!b.Usable() || t->desc->t.count == 0 || t->desc->t.root == 0)
                return 0;
            uint8_t k = op == RecOp::First ? 0x00 : 0xFF;
            ok = op == RecOp::First ? NextRecord(*t, &k, 1, out) : PrevRecord(*t, &k, 1, out);
            break;
        }
        case RecOp::Delete: ok = DeleteRecord(*t, g_key, in.klen, out); break;
        case RecOp::Seek: ok = SeekRecord(*t, g_key, in.klen, out); break;
        case RecOp::Next: ok = NextRecord(*t, g_key, in.klen, out); break;
        case RecOp::Prev: ok = PrevRecord(*t, g_key, in.klen, out); break;
        }
        if (!ok)
            return 0;
        if (6 + uint64_t(out.keyLen) + out.dataLen > bufCap)
            return 0; // the answer would not fit the caller's block
        WriteAnswer(rec, g_outKey, out.keyLen, g_outData, out.dataLen);
        return 1;
    } catch (...) {
        return 0;
    }
}

int ReadCall(RecOp op, LORHANDLE table, TSET& set, uint64_t limit) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t)
            return 0;
        Base& b = *t->base;
        if (set.LenKey > LOR_MAX_KEY) {
            b.status = LOR_EMPTY_KEY;
            return 0;
        }
        if (set.LenDat > LOR_MAX_DATA) {
            b.status = LOR_TOO_LONG;
            return 0;
        }
        const auto* key = static_cast<const uint8_t*>(set.Key);
        RecOut out{g_outKey,  std::min<uint32_t>(set.MaxKey, LOR_MAX_KEY),  0,
                   g_outData, std::min<uint32_t>(set.MaxDat, LOR_MAX_DATA), 0};
        bool ok = false;
        switch (op) {
        case RecOp::Next: ok = NextRecord(*t, key, set.LenKey, out); break;
        case RecOp::Prev: ok = PrevRecord(*t, key, set.LenKey, out); break;
        case RecOp::Seek: ok = SeekRecord(*t, key, set.LenKey, out); break;
        default: return 0;
        }
        const uint64_t len = 6 + uint64_t(out.keyLen) + out.dataLen;
        if (!ok || len > TOFT::BufSize || len > limit || out.keyLen > set.MaxKey ||
            out.dataLen > set.MaxDat || (out.keyLen && !set.Key) || (out.dataLen && !set.Dat))
            return 0; // the answer would not fit the cursor's block or its record
        if (out.keyLen)
            std::memcpy(set.Key, g_outKey, out.keyLen);
        if (out.dataLen)
            std::memcpy(set.Dat, g_outData, out.dataLen);
        set.LenKey = uint16_t(out.keyLen);
        set.LenDat = out.dataLen;
        return 1;
    } catch (...) {
        return 0;
    }
}

} // namespace lor

extern "C" {

LORHANDLE OpenBase(const char* path, uint32_t pageSize, int readOnly) {
    try {
        LockGuard lock;
        if (!path || !*path)
            return 0;
        if (Base* same = FindSameFile(path)) {
            ++same->refs;
            Reg().lastBase = same->handle;
            return same->handle;
        }
        std::unique_ptr<Base> b;
        uint32_t st = OpenBaseFile(path, pageSize, readOnly != 0, b);
        if (st == LOR_NOT_WRITABLE || st == LOR_IN_USE)
            return st;
        if (st || !b)
            return 0;
        Registry& r = Reg();
        b->handle = r.NewHandle();
        r.baseOf[b->handle] = b.get();
        RegisterTable(&b->dirTable);
        r.lastBase = b->handle;
        uint32_t h = b->handle;
        r.bases.push_back(std::move(b));
        return h;
    } catch (...) {
        return 0;
    }
}

int CreateBase(const char* path, uint32_t size) {
    try {
        LockGuard lock;
        if (!path || !*path || FindSameFile(path))
            return 0; // never truncate a file that is open here
        return CreateBaseFile(path, size) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int RestoreBase(const char* path) {
    try {
        LockGuard lock;
        if (!path || !*path)
            return LOR_CANNOT_OPEN;
        if (FindSameFile(path))
            return LOR_IN_USE; // never move a file that is open here
        return int(RestoreFile(path));
    } catch (...) {
        return LOR_CANNOT_OPEN;
    }
}

void InfoBase(LORHANDLE base, char* out) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !out)
            return;
        std::string s = ListTables(*b);
        std::memcpy(out, s.c_str(), s.size() + 1);
    } catch (...) {
    }
}

void CloseBase(LORHANDLE base) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b)
            return;
        if (--b->refs > 0)
            return;
        CloseAndForget(b);
    } catch (...) {
    }
}

int IsTable(LORHANDLE base, const char* name) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !name)
            return 0;
        return TableExists(*b, name) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void FlushBase(LORHANDLE base) {
    try {
        LockGuard lock;
        if (Base* b = BaseOf(base))
            (void)FlushBaseFile(*b); // a failure stays in the base's status for LastStatus
    } catch (...) {
    }
}

LORHANDLE OpenTable(LORHANDLE base, const char* name) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !name)
            return 0;
        Table* t = OpenTableIn(*b, name);
        if (!t || b->status != LOR_OK) {
            if (t)
                CloseTableIn(t);
            ShowMessageBoxText("Не могу открыть таблицу", name, MB_ICONERROR);
            return 0;
        }
        return RegisterTable(t);
    } catch (...) {
        return 0;
    }
}

int DelTable(LORHANDLE base, const char* name) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !name)
            return 0;
        return DeleteTable(*b, name) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int RenTable(LORHANDLE base, const char* oldName, const char* newName) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !oldName || !newName)
            return 0;
        return RenameTable(*b, oldName, newName) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

LORHANDLE MetaTable(LORHANDLE base) {
    try {
        LockGuard lock;
        Base* b = base == 0 ? BaseOf(Reg().lastBase) : BaseOf(base);
        return b ? b->dirTable.handle : 0;
    } catch (...) {
        return 0;
    }
}

int CloseTable(LORHANDLE table) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || t == &t->base->dirTable)
            return 0; // the directory stays open with its base
        Reg().tableOf.erase(table);
        Reg().ForgetLast();
        CloseTableIn(t);
        return 1;
    } catch (...) {
        return 0;
    }
}

int ZapTable(LORHANDLE table) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || t == &t->base->dirTable)
            return 0;
        return ZapRecords(*t) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

const char* NameOfTable(LORHANDLE table) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        return t ? t->desc->name.c_str() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

// The caller's block must hold the answer its maximums allow; exports cannot know more.
constexpr uint32_t kUnbounded = 0xFFFFFFFFu;

int SaveRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Save, table, rec, kUnbounded); }
int DelRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Delete, table, rec, kUnbounded); }
int NextRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Next, table, rec, kUnbounded); }
int SeekRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Seek, table, rec, kUnbounded); }
int PrevRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Prev, table, rec, kUnbounded); }
int Top(LORHANDLE table, void* rec) { return RecordCall(RecOp::Top, table, rec, kUnbounded); }
int Bottom(LORHANDLE table, void* rec) { return RecordCall(RecOp::Bottom, table, rec, kUnbounded); }
int FirstRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::First, table, rec, kUnbounded); }
int LastRec(LORHANDLE table, void* rec) { return RecordCall(RecOp::Last, table, rec, kUnbounded); }

uint32_t CountRec(LORHANDLE table) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        return t ? t->desc->t.count : 0;
    } catch (...) {
        return 0;
    }
}

int SaveBin(LORHANDLE table, const void* data, uint32_t length) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || (!data && length) || t == &t->base->dirTable)
            return 0;
        return SaveBlob(*t, static_cast<const uint8_t*>(data), length) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int ReadBin(LORHANDLE table, void* out) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || !out)
            return 0;
        return ReadBlob(*t, static_cast<uint8_t*>(out)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int DelBin(LORHANDLE table) {
    try {
        LockGuard lock;
        Table* t = TableOf(table);
        if (!t || t == &t->base->dirTable)
            return 0;
        return DeleteBlob(*t) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

uint32_t BasePageCount(LORHANDLE base) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || !b->Usable())
            return 0;
        return uint32_t(b->pager->FileLength() / b->pager->PageSize());
    } catch (...) {
        return 0;
    }
}

const uint8_t* BaseGetPageDat(LORHANDLE base, uint32_t page) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        if (!b || page == 0 || !b->Usable())
            return nullptr;
        PageRef r;
        if (uint32_t st = b->pager->Get(page, r)) {
            b->status = st;
            return nullptr;
        }
        return r.data();
    } catch (...) {
        return nullptr;
    }
}

uint32_t PageSize(LORHANDLE base) {
    try {
        LockGuard lock;
        Base* b = BaseOf(base);
        return b && b->pager ? b->pager->PageSize() : 0;
    } catch (...) {
        return 0;
    }
}

TMessageBoxHandler LorSetMessageBoxHandler(TMessageBoxHandler h) {
    LockGuard lock;
    return SetMessageBoxHandler(h);
}

} // extern "C"

// Closes every base still open when the library is unloaded (or the process ends).
__attribute__((destructor)) static void CloseAllAtUnload() {
    try {
        LockGuard lock;
        while (!Reg().bases.empty())
            CloseAndForget(Reg().bases.back().get());
    } catch (...) {
    }
}

// Reads the maps directly: BaseOf and TableOf start a call, which clears the status.
uint32_t LastStatus(LORHANDLE handle) {
    try {
        LockGuard lock;
        Registry& r = Reg();
        if (auto b = r.baseOf.find(handle); b != r.baseOf.end())
            return b->second->status;
        if (auto t = r.tableOf.find(handle); t != r.tableOf.end())
            return t->second->base->status;
    } catch (...) {
    }
    return 0xFFFFFFFFu;
}

int BaseFileState(const char* path) {
    try {
        LockGuard lock;
        return path && *path ? int(FileState(path)) : int(LOR_NOT_REGULAR);
    } catch (...) {
        return LOR_CANNOT_OPEN;
    }
}

LORHANDLE OpenBaseForReading(const char* path, uint32_t pageSize, int* mayWrite) {
    try {
        LockGuard lock;
        if (mayWrite)
            *mayWrite = path && *path && FileState(path) == LOR_OK ? 1 : 0;
        return OpenBase(path, pageSize, 1);
    } catch (...) {
        return 0;
    }
}

uint32_t LorBaseStatus(LORHANDLE base) {
    LockGuard lock;
    auto it = Reg().baseOf.find(base);
    return it == Reg().baseOf.end() ? 0xFFFFFFFFu : it->second->status;
}

uint32_t LorTableStatus(LORHANDLE table) {
    LockGuard lock;
    auto it = Reg().tableOf.find(table);
    return it == Reg().tableOf.end() ? 0xFFFFFFFFu : it->second->base->status;
}

uint32_t LorVerifyTable(LORHANDLE table, std::vector<std::string>* keys, int* depth) {
    LockGuard lock;
    auto it = Reg().tableOf.find(table);
    if (it == Reg().tableOf.end() || !it->second->base->pager)
        return LOR_NO_DESCRIPTOR;
    Tree tree(*it->second->base->pager, it->second->desc->t);
    return tree.Verify(keys, depth);
}

int LorOpenBaseCount() {
    LockGuard lock;
    return int(Reg().bases.size());
}

uint32_t LorCacheSlots(uint32_t pageSize) {
    LockGuard lock;
    return CacheFor(pageSize)->Capacity();
}
