// File restore of the table store (tables layer): rebuilds a file from the leaf and blob pages
// of its old contents, which stay on disk under a "$" name.
#include "lorstatus.h"
#include "tables.h"

#include <algorithm>

namespace lor {

std::string BackupName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    size_t at = slash == std::string::npos ? 0 : slash + 1;
    std::string b = path;
    if (at < b.size())
        b[at] = '$';
    return b;
}

namespace {

struct RawEntry {
    std::string key;
    std::string data;
};

// Entries of a raw leaf page, stopping at the first one that does not fit the page.
std::vector<RawEntry> LeafEntries(const std::vector<uint8_t>& pg) {
    std::vector<RawEntry> v;
    uint32_t cap = uint32_t(pg.size()) - kPageHeaderSize;
    uint32_t freeBytes = Get32(&pg[kPgFree]);
    if (freeBytes > cap)
        return v;
    uint32_t used = cap - freeBytes;
    const uint8_t* a = &pg[kPageHeaderSize];
    for (uint32_t off = 0; used - off >= kLeafEntryHeader;) {
        uint32_t d = Get32(a + off + kEntDataLen), k = Get16(a + off + kEntKeyLen);
        if (uint64_t(kLeafEntryHeader) + k + d > used - off)
            break;
        v.push_back({std::string(reinterpret_cast<const char*>(a + off + kEntKey), k),
                     std::string(reinterpret_cast<const char*>(a + off + kEntKey + k), d)});
        off += kLeafEntryHeader + k + d;
        if (off >= used)
            break;
    }
    return v;
}

bool ReadRaw(File& f, uint32_t ps, uint32_t pgno, std::vector<uint8_t>& pg) {
    pg.assign(ps, 0);
    int64_t n = f.Read(uint64_t(pgno - 1) * ps + kFileHeaderSize, pg.data(), ps);
    if (n != int64_t(ps))
        return false;
    pg[kPgFlags] &= kFlagDiskMask;
    return true;
}

const uint8_t* U8(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::string IdKey(uint32_t id) {
    uint8_t k[4];
    Put32(k, id);
    return std::string(reinterpret_cast<const char*>(k), 4);
}

// The new file being filled, and the first failure of the steps taken on it.
struct Rebuilt {
    Base& b;
    uint32_t first = LOR_OK;

    // Takes a step's outcome and clears the status for the next one. A step that answers false with
    // no status found nothing (an empty table to zap, a key not there); an empty or overlong key
    // comes from damage in the old file and is skipped, as damaged pages are.
    void Step(bool ok) {
        if (!ok && first == LOR_OK && b.status != LOR_OK && b.status != LOR_EMPTY_KEY &&
            b.status != LOR_TOO_LONG)
            first = b.status;
        b.status = LOR_OK;
    }
    Table* Open(const std::string& name) {
        Table* t = OpenTableIn(b, name);
        Step(t != nullptr);
        return t;
    }
    // Closing writes the table's directory record; its failure is left in the status.
    void Close(Table* t) {
        CloseTableIn(t);
        Step(b.status == LOR_OK);
    }
};

} // namespace

uint32_t RestoreFile(const std::string& path) {
    const std::string backup = BackupName(path);
    if (backup == path)
        return LOR_NOT_REGULAR;
    // A stale backup that cannot be removed makes the move below fail, and that is reported.
    (void)RemoveFile(backup);
    if (!MoveFile(path, backup))
        return LOR_CANNOT_OPEN;
    auto old = OpenFile(backup, OpenMode::ReadOnly);
    if (!old)
        return LOR_CANNOT_OPEN;
    uint8_t h[kFileHeaderSize];
    if (old->Read(0, h, kFileHeaderSize) != kFileHeaderSize)
        return LOR_CANNOT_OPEN;
    if (h[kHdrMagic] != kMagic)
        return LOR_BAD_MAGIC;
    uint32_t ps = Get32(h + kHdrPageSize);
    if (ps == 0 || NormalPageSize(ps) != ps)
        return LOR_DAMAGED;
    if (!CreateBaseFile(path, ps))
        return LOR_NOT_WRITABLE;
    std::unique_ptr<Base> nb;
    if (uint32_t st = OpenBaseFile(path, ps, false, nb))
        return st;
    Base& b = *nb;
    Rebuilt r{b};
    int64_t len = old->Size();
    uint32_t pages = len > int64_t(kFileHeaderSize) ? uint32_t((len - kFileHeaderSize) / ps) : 0;
    Table* map = r.Open("_");
    if (!map) {
        CloseBaseFile(b);
        return r.first != LOR_OK ? r.first : LOR_CANNOT_OPEN;
    }
    std::vector<uint8_t> pg;
    // Pass 1: directory leaves name the tables.
    for (uint32_t n = 1; n <= pages; ++n) {
        if (!ReadRaw(*old, ps, n, pg) || !(pg[kPgFlags] & kFlagLeaf) || Get32(&pg[kPgOwner]) != kDirId)
            continue;
        for (const RawEntry& e : LeafEntries(pg)) {
            if (e.key.empty() || uint8_t(e.key[0]) == 0x01 || e.data.size() != kDirRecordSize)
                continue;
            std::string name = e.key.substr(0, e.key.find('\0'));
            if (name.empty() || name == "_")
                continue;
            if (Table* t = r.Open(name)) {
                r.Step(ZapRecords(*t));
                r.Close(t);
            }
            std::string data = e.data.substr(4, 9) + name + '\0';
            r.Step(SaveRecord(*map, U8(IdKey(Get32(U8(e.data)))), 4, U8(data), uint32_t(data.size())));
        }
    }
    uint8_t kbuf[4], dbuf[kDirRecordSize + kMaxTableName + 1];
    auto lookup = [&](uint32_t id, uint32_t& root, uint32_t& count, uint8_t& blob, std::string& name) {
        RecOut out{kbuf, sizeof kbuf, 0, dbuf, sizeof dbuf, 0};
        std::string k = IdKey(id);
        const bool found = SeekRecord(*map, U8(k), 4, out);
        r.Step(found);
        if (!found || out.dataLen < 10)
            return false;
        root = Get32(dbuf);
        count = Get32(dbuf + 4);
        blob = dbuf[8];
        name.assign(reinterpret_cast<const char*>(dbuf + 9), out.dataLen - 9);
        name = name.substr(0, name.find('\0'));
        return true;
    };
    // Pass 2: every other leaf goes to the table its owner names.
    for (uint32_t n = 1; n <= pages; ++n) {
        if (!ReadRaw(*old, ps, n, pg) || !(pg[kPgFlags] & kFlagLeaf) || Get32(&pg[kPgOwner]) == kDirId)
            continue;
        uint32_t root, count;
        uint8_t blob;
        std::string name;
        if (!lookup(Get32(&pg[kPgOwner]), root, count, blob, name))
            continue;
        Table* t = r.Open(name);
        if (!t)
            continue;
        for (const RawEntry& e : LeafEntries(pg))
            r.Step(SaveRecord(*t, U8(e.key), uint32_t(e.key.size()), U8(e.data), uint32_t(e.data.size())));
        r.Close(t);
    }
    // Pass 3: blobs whose whole chain is still there.
    std::vector<uint32_t> blobs; // old table ids
    {
        std::string key; // the empty key sorts before every record
        for (uint32_t guard = 0; guard <= map->desc->t.count; ++guard) {
            RecOut out{kbuf, sizeof kbuf, 0, dbuf, sizeof dbuf, 0};
            const bool found = NextRecord(*map, U8(key), uint32_t(key.size()), out);
            r.Step(found);
            if (!found)
                break;
            key.assign(reinterpret_cast<const char*>(kbuf), out.keyLen);
            if (out.keyLen == 4 && out.dataLen >= 10 && dbuf[8] == 1)
                blobs.push_back(Get32(kbuf));
        }
    }
    for (uint32_t id : blobs) {
        uint32_t root, count;
        uint8_t blob;
        std::string name;
        if (!lookup(id, root, count, blob, name))
            continue;
        std::vector<uint8_t> data;
        data.reserve(std::min<uint64_t>(count, uint64_t(pages) * ps));
        uint32_t p = root;
        for (uint32_t steps = 0; data.size() < count && p != 0 && p <= pages && steps <= pages; ++steps) {
            if (!ReadRaw(*old, ps, p, pg) || !(pg[kPgFlags] & kFlagBlob))
                break;
            uint32_t freeBytes = Get32(&pg[kPgFree]);
            if (freeBytes > ps - kPageHeaderSize)
                break;
            uint32_t used = ps - kPageHeaderSize - freeBytes;
            uint32_t take = std::min<uint64_t>(used, count - data.size());
            data.insert(data.end(), pg.begin() + kPageHeaderSize, pg.begin() + kPageHeaderSize + take);
            p = Get32(&pg[kPgLink]);
        }
        if (data.size() != count)
            continue;
        if (Table* t = r.Open(name)) {
            r.Step(SaveBlob(*t, data.data(), count));
            r.Close(t);
        }
    }
    r.Close(map);
    r.Step(DeleteTable(b, "_"));
    CloseBaseFile(b);
    r.Step(b.status == LOR_OK);
    // The backup was only read: closing it cannot lose anything of the restore.
    (void)old->Close();
    return r.first;
}

} // namespace lor
