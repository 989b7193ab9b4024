// Tables layer of the table store: directory, descriptors, record and blob operations, restore.
#include "tables.h"

#include "lorstatus.h"

#include <algorithm>

namespace lor {

uint32_t TableId(const std::string& name) {
    if (name.empty())
        return 0;
    uint16_t s = uint8_t(name[0]);
    for (size_t i = 1; i < name.size(); ++i) {
        uint8_t c = uint8_t(name[i]);
        for (int b = 0; b < 8; ++b) {
            unsigned f = ((c >> b) & 1) ^ (s & 1) ^ ((s >> 4) & 1) ^ ((s >> 7) & 1) ^ ((s >> 9) & 1);
            s = uint16_t((s >> 1) | (f << 15));
        }
    }
    return uint32_t(s & 0xFF) | (uint32_t(s >> 8) << 16);
}

bool Base::Usable() {
    if (!pager) {
        status = LOR_NO_FILE;
        return false;
    }
    if (pager->Broken()) {
        status = LOR_IO_ERROR;
        return false;
    }
    return true;
}

bool Base::Writable() {
    if (!Usable())
        return false;
    if (readOnly) {
        status = LOR_IN_USE;
        return false;
    }
    return true;
}

namespace {

std::string DirKey(const std::string& name) { return std::string(name.data(), name.size()) + '\0'; }

void PackDir(const TreeDesc& t, uint8_t* out) {
    Put32(out + kDirRecId, t.id);
    Put32(out + kDirRecRoot, t.root);
    Put32(out + kDirRecCount, t.count);
    out[kDirRecBlob] = t.blob;
}

// Reads a table's directory record; false with the status set when missing or damaged.
bool FindDir(Base& b, const std::string& key, TreeDesc& t) {
    uint8_t kbuf[kMaxTableName + 2];
    uint8_t dbuf[kDirRecordSize];
    RecOut out{kbuf, sizeof kbuf, 0, dbuf, sizeof dbuf, 0};
    bool found = false;
    Tree tree(*b.pager, b.dirDesc.t);
    if (uint32_t st =
            tree.Seek(reinterpret_cast<const uint8_t*>(key.data()), uint32_t(key.size()), out, found)) {
        b.status = st;
        return false;
    }
    if (!found || out.dataLen != kDirRecordSize) {
        b.status = found ? LOR_DAMAGED : LOR_NO_TABLE;
        return false;
    }
    t.id = Get32(dbuf + kDirRecId);
    t.root = Get32(dbuf + kDirRecRoot);
    t.count = Get32(dbuf + kDirRecCount);
    t.blob = dbuf[kDirRecBlob];
    return true;
}

Descriptor* FindOpen(Base& b, const std::string& name) {
    for (auto& d : b.descs)
        if (d->name == name)
            return d.get();
    return nullptr;
}

std::string CutName(const std::string& name) {
    std::string n = name.substr(0, std::min<size_t>(name.size(), kMaxTableName));
    size_t z = n.find('\0');
    return z == std::string::npos ? n : n.substr(0, z);
}

bool ValidName(Base& b, const std::string& name) {
    if (name.empty() || uint8_t(name[0]) == 0x01) {
        b.status = LOR_EMPTY_KEY; // the directory's own key space
        return false;
    }
    return true;
}

bool Check(Base& b, uint32_t st) {
    if (st) {
        b.status = st;
        return false;
    }
    return true;
}

// Releases a blob chain, bounded by the number of pages the file can have.
bool ReleaseChain(Base& b, uint32_t first) {
    Pager& pg = *b.pager;
    uint32_t steps = pg.Limit() + 1;
    for (uint32_t p = first; p != 0; --steps) {
        if (steps == 0 || p > pg.Limit())
            return Check(b, LOR_DAMAGED);
        PageRef r;
        if (!Check(b, pg.Get(p, r)))
            return false;
        if (!(r.data()[kPgFlags] & kFlagBlob) || Get32(r.data() + kPgNumber) != p)
            return Check(b, LOR_DAMAGED);
        uint32_t next = Get32(r.data() + kPgLink);
        r.Reset();
        if (!Check(b, pg.Release(p)))
            return false;
        p = next;
    }
    return true;
}

// DelBin leaves the blob flag set and the table may take records afterwards, so the flag alone
// does not tell what the pages are: a root that is a tree page of the table's own means records.
bool HoldsRecords(Base& b, const TreeDesc& t) {
    if (!t.blob)
        return true;
    if (t.root == 0 || t.root > b.pager->Limit())
        return false;
    PageRef r;
    if (b.pager->Get(t.root, r) != LOR_OK)
        return false;
    const uint8_t* p = r.data();
    return (p[kPgFlags] & (kFlagLeaf | kFlagIndex)) && Get32(p + kPgOwner) == t.id;
}

// Empties a table's pages, records or blob alike.
bool ReleaseAll(Base& b, TreeDesc& t) {
    bool ok = true;
    if (!HoldsRecords(b, t)) {
        ok = t.root == 0 || ReleaseChain(b, t.root);
        t.root = 0;
        t.count = 0;
    } else {
        Tree tree(*b.pager, t);
        ok = Check(b, tree.Zap());
    }
    return ok;
}

bool SaveDir(Base& b, const std::string& key, const TreeDesc& t, bool& inserted) {
    uint8_t data[kDirRecordSize];
    PackDir(t, data);
    Tree tree(*b.pager, b.dirDesc.t);
    uint32_t st = tree.Save(reinterpret_cast<const uint8_t*>(key.data()), uint32_t(key.size()), data,
                            kDirRecordSize, inserted);
    b.pager->SetDirRoot(b.dirDesc.t.root);
    return Check(b, st);
}

bool DeleteDir(Base& b, const std::string& key) {
    bool found = false;
    Tree tree(*b.pager, b.dirDesc.t);
    uint32_t st =
        tree.Delete(reinterpret_cast<const uint8_t*>(key.data()), uint32_t(key.size()), nullptr, found);
    b.pager->SetDirRoot(b.dirDesc.t.root);
    if (!Check(b, st))
        return false;
    return found && WriteDescriptor(b, b.dirDesc);
}

} // namespace

bool WriteDescriptor(Base& b, Descriptor& d) {
    if (!b.Writable())
        return false;
    bool inserted = false;
    std::string key = &d == &b.dirDesc ? std::string("\x01", 1) + '\0' : DirKey(d.name);
    if (!SaveDir(b, key, d.t, inserted))
        return false;
    if (inserted && &d != &b.dirDesc)
        return WriteDescriptor(b, b.dirDesc);
    return true;
}

bool CreateBaseFile(const std::string& path, uint32_t size) {
    uint32_t ps = NormalPageSize(size);
    if (ps == 0)
        return false;
    auto f = OpenFile(path, OpenMode::CreateTruncate);
    if (!f)
        return false;
    uint8_t h[kFileHeaderSize] = {};
    h[kHdrMagic] = kMagic;
    Put32(h + kHdrPageSize, ps);
    Put32(h + kHdrDirRoot, kNewDirPage);
    Put32(h + kHdrFreeHead, kNewFreeHead);
    if (!f->Write(0, h, kFileHeaderSize))
        return false;
    // The directory's page with the directory's own record: id 1, root this page, one record.
    std::vector<uint8_t> pg(ps, 0);
    Put32(&pg[kPgNumber], kNewDirPage);
    Put32(&pg[kPgOwner], kDirId);
    pg[kPgFlags] = kFlagLeaf;
    uint8_t* e = &pg[kPageHeaderSize];
    Put32(e + kEntDataLen, kDirRecordSize);
    Put16(e + kEntKeyLen, kDirSelfKeyLen);
    e[kEntKey] = 0x01;
    e[kEntKey + 1] = 0x00;
    uint8_t* rec = e + kEntKey + kDirSelfKeyLen;
    TreeDesc self;
    self.id = kDirId;
    self.root = kNewDirPage;
    self.count = 1;
    PackDir(self, rec);
    const uint32_t used = kLeafEntryHeader + kDirSelfKeyLen + kDirRecordSize;
    Put32(&pg[kPgFree], ps - kPageHeaderSize - used);
    bool ok = f->Write(kFileHeaderSize, pg.data(), ps);
    return f->Close() && ok;
}

uint32_t FileState(const std::string& path) {
    const PathInfo info = InspectPath(path);
    if (!info.exists)
        return LOR_CANNOT_OPEN;
    if (!info.regular)
        return LOR_NOT_REGULAR;
    auto f = OpenFile(path, OpenMode::ReadOnly);
    uint8_t h[kFileHeaderSize];
    if (!f || f->Read(0, h, kFileHeaderSize) != kFileHeaderSize)
        return LOR_CANNOT_OPEN;
    (void)f->Close(); // only read: the header is in hand whatever closing says
    if (h[kHdrMagic] != kMagic)
        return LOR_BAD_MAGIC;
    if (h[kHdrInUse] != 0)
        return LOR_IN_USE;
    return info.writable ? LOR_OK : LOR_NOT_WRITABLE;
}

uint32_t OpenBaseFile(const std::string& path, uint32_t pageSize, bool readOnly, std::unique_ptr<Base>& out) {
    PathInfo info = InspectPath(path);
    if (!info.exists) {
        if (readOnly)
            return LOR_NOT_WRITABLE;
        // Only a missing file is created: an existing one is never truncated here.
        if (!CreateBaseFile(path, pageSize))
            return LOR_CANNOT_OPEN;
        info = InspectPath(path);
    }
    if (!info.regular)
        return LOR_NOT_REGULAR;
    if (!info.writable && !readOnly)
        return LOR_NOT_WRITABLE;
    auto f = OpenFile(path, readOnly ? OpenMode::ReadOnly : OpenMode::ReadWrite);
    if (!f)
        return LOR_CANNOT_OPEN;
    uint8_t h[kFileHeaderSize];
    if (f->Read(0, h, kFileHeaderSize) != kFileHeaderSize)
        return LOR_CANNOT_OPEN;
    if (h[kHdrMagic] != kMagic)
        return LOR_BAD_MAGIC;
    if (h[kHdrInUse] != 0 && !readOnly)
        return LOR_IN_USE;
    uint32_t ps = Get32(h + kHdrPageSize);
    if (ps == 0 || NormalPageSize(ps) != ps)
        return LOR_DAMAGED;
    auto b = std::make_unique<Base>();
    b->pager = std::make_unique<Pager>(std::move(f), h, readOnly);
    b->pager->TableOpened(); // the directory
    b->readOnly = readOnly;
    if (!readOnly && !b->pager->WriteHeader(true)) {
        (void)b->pager->CloseFile(); // the open has failed already; that failure is the one to tell
        return LOR_CANNOT_OPEN;
    }
    b->path = path;
    b->dev = info.dev;
    b->ino = info.ino;
    b->refs = 1;
    b->dirDesc.name = "\x01";
    b->dirDesc.t.id = kDirId;
    b->dirDesc.t.root = b->pager->DirRoot();
    b->dirDesc.t.count = 1;
    b->dirDesc.refs = 1;
    TreeDesc own;
    if (FindDir(*b, std::string("\x01", 1) + '\0', own))
        b->dirDesc.t.count = own.count;
    b->status = LOR_OK;
    b->dirTable.base = b.get();
    b->dirTable.desc = &b->dirDesc;
    out = std::move(b);
    return LOR_OK;
}

bool FlushBaseFile(Base& b) {
    if (!b.pager || b.readOnly)
        return true;
    if (!b.Usable())
        return false;
    bool ok = true;
    for (auto& d : b.descs)
        ok = WriteDescriptor(b, *d) && ok;
    ok = WriteDescriptor(b, b.dirDesc) && ok;
    if (!b.pager->Flush() || !b.pager->Sync()) {
        b.status = LOR_IO_ERROR;
        ok = false;
    }
    return ok;
}

void CloseBaseFile(Base& b) {
    if (!b.pager)
        return;
    while (!b.tables.empty())
        CloseTableIn(b.tables.back().get());
    b.status = LOR_OK;
    if (!b.readOnly) {
        bool ok = !b.pager->Broken() && FlushBaseFile(b);
        // A base whose pages did not all reach the file keeps its in-use mark.
        if (!ok || !b.pager->WriteHeader(false) || !b.pager->Sync())
            b.status = LOR_CLOSE_HEADER;
    }
    if (!b.pager->CloseFile() && b.status == LOR_OK)
        b.status = LOR_IN_USE;
    b.pager.reset();
}

Table* OpenTableIn(Base& b, const std::string& rawName) {
    if (!b.Usable())
        return nullptr;
    std::string name = CutName(rawName);
    if (!ValidName(b, name))
        return nullptr;
    Descriptor* d = FindOpen(b, name);
    if (!d) {
        TreeDesc t;
        if (!FindDir(b, DirKey(name), t)) {
            if (b.status != LOR_NO_TABLE)
                return nullptr;
            if (b.readOnly) {
                b.status = LOR_READ_ONLY;
                return nullptr;
            }
            b.status = LOR_OK;
            t = TreeDesc{};
            t.id = TableId(name);
            bool inserted = false;
            if (!SaveDir(b, DirKey(name), t, inserted))
                return nullptr;
            if (inserted && !WriteDescriptor(b, b.dirDesc))
                return nullptr;
        }
        auto nd = std::make_unique<Descriptor>();
        nd->name = name;
        nd->t = t;
        d = nd.get();
        b.descs.push_back(std::move(nd));
        b.pager->TableOpened();
    }
    ++d->refs;
    auto t = std::make_unique<Table>();
    t->base = &b;
    t->desc = d;
    Table* raw = t.get();
    b.tables.push_back(std::move(t));
    return raw;
}

void CloseTableIn(Table* t) {
    Base& b = *t->base;
    Descriptor* d = t->desc;
    auto it = std::find_if(b.tables.begin(), b.tables.end(), [&](auto& p) { return p.get() == t; });
    if (it != b.tables.end())
        b.tables.erase(it);
    if (d && --d->refs == 0) {
        if (!b.readOnly && b.pager && !b.pager->Broken())
            (void)WriteDescriptor(b, *d); // a failure stays in the base's status for LastStatus
        auto dt = std::find_if(b.descs.begin(), b.descs.end(), [&](auto& p) { return p.get() == d; });
        if (dt != b.descs.end()) {
            b.descs.erase(dt);
            if (b.pager)
                b.pager->TableClosed();
        }
    }
}

bool TableExists(Base& b, const std::string& name) {
    if (!b.Usable())
        return false;
    TreeDesc t;
    std::string n = CutName(name);
    if (n.empty())
        return false;
    bool ok = FindDir(b, DirKey(n), t);
    if (!ok && b.status == LOR_NO_TABLE)
        b.status = LOR_OK;
    return ok;
}

bool DeleteTable(Base& b, const std::string& rawName) {
    if (!b.Usable())
        return false;
    if (b.readOnly) {
        b.status = LOR_READ_ONLY;
        return false;
    }
    std::string name = CutName(rawName);
    if (!ValidName(b, name))
        return false;
    if (FindOpen(b, name)) {
        b.status = LOR_TABLE_OPEN;
        return false;
    }
    TreeDesc t;
    if (!FindDir(b, DirKey(name), t))
        return false;
    if (!ReleaseAll(b, t))
        return false;
    return DeleteDir(b, DirKey(name));
}

bool RenameTable(Base& b, const std::string& rawOld, const std::string& rawNew) {
    if (!b.Writable())
        return false;
    std::string oldName = CutName(rawOld), newName = CutName(rawNew);
    if (!ValidName(b, oldName) || !ValidName(b, newName))
        return false;
    TreeDesc t;
    if (!FindDir(b, DirKey(oldName), t))
        return false;
    if (FindOpen(b, oldName)) {
        b.status = LOR_RENAME_OLD_OPEN;
        return false;
    }
    if (oldName == newName)
        return true; // deleting the "other" table first would delete this one
    TreeDesc other;
    if (FindDir(b, DirKey(newName), other)) {
        if (FindOpen(b, newName)) {
            b.status = LOR_RENAME_NEW_OPEN;
            return false;
        }
        if (!DeleteTable(b, newName))
            return false;
    } else if (b.status != LOR_NO_TABLE) {
        return false;
    }
    b.status = LOR_OK;
    if (!DeleteDir(b, DirKey(oldName)))
        return false;
    bool inserted = false;
    if (!SaveDir(b, DirKey(newName), t, inserted))
        return false;
    return !inserted || WriteDescriptor(b, b.dirDesc);
}

std::string ListTables(Base& b) {
    std::string out;
    if (!b.Usable())
        return out;
    Tree tree(*b.pager, b.dirDesc.t);
    std::vector<uint8_t> kbuf(b.pager->PageSize());
    uint8_t dbuf[64];
    std::string key;
    // Each step returns a key greater than the last (the tree reports anything else as damage), so
    // every name is listed once; the file's size bounds the steps besides.
    const uint64_t bound = b.pager->FileLength() / (kLeafEntryHeader + 1) + 1;
    bool damaged = false;
    for (uint64_t step = 0; step < bound; ++step) {
        RecOut r{kbuf.data(), uint32_t(kbuf.size()), 0, dbuf, sizeof dbuf, 0};
        bool found = false;
        if (!Check(b,
                   tree.Next(reinterpret_cast<const uint8_t*>(key.data()), uint32_t(key.size()), r, found)) ||
            !found)
            break;
        key.assign(reinterpret_cast<const char*>(kbuf.data()), r.keyLen);
        if (r.keyLen && kbuf[0] != 0x01) {
            // A table's key is its name and one 0 byte; anything else names no table (damage).
            const size_t z = key.find('\0');
            if (z == 0 || z != key.size() - 1) {
                damaged = true;
                continue;
            }
            out.append(key, 0, z);
            out += '\n';
        }
    }
    if (damaged)
        b.status = LOR_DAMAGED;
    return out;
}

// ---- records ----

namespace {

bool AfterChange(Table& t, uint32_t st, bool counted) {
    Base& b = *t.base;
    if (!Check(b, st))
        return false;
    if (counted)
        return WriteDescriptor(b, *t.desc);
    return true;
}

} // namespace

bool SaveRecord(Table& t, const uint8_t* key, uint32_t klen, const uint8_t* data, uint32_t dlen) {
    Base& b = *t.base;
    if (!b.Writable())
        return false;
    bool inserted = false;
    Tree tree(*b.pager, t.desc->t);
    uint32_t st = tree.Save(key, klen, data, dlen, inserted);
    if (&t == &b.dirTable)
        b.pager->SetDirRoot(b.dirDesc.t.root);
    return AfterChange(t, st, inserted);
}

bool DeleteRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out) {
    Base& b = *t.base;
    if (!b.Writable())
        return false;
    if (klen == 0) {
        b.status = LOR_EMPTY_KEY;
        return false;
    }
    bool found = false;
    Tree tree(*b.pager, t.desc->t);
    uint32_t st = tree.Delete(key, klen, &out, found);
    if (&t == &b.dirTable)
        b.pager->SetDirRoot(b.dirDesc.t.root);
    return AfterChange(t, st, found) && found;
}

bool SeekRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out) {
    Base& b = *t.base;
    if (!b.Usable())
        return false;
    bool found = false;
    Tree tree(*b.pager, t.desc->t, &t.desc->cursor);
    return Check(b, tree.Seek(key, klen, out, found)) && found;
}

bool NextRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out) {
    Base& b = *t.base;
    if (!b.Usable())
        return false;
    bool found = false;
    Tree tree(*b.pager, t.desc->t, &t.desc->cursor);
    return Check(b, tree.Next(key, klen, out, found)) && found;
}

bool PrevRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out) {
    Base& b = *t.base;
    if (!b.Usable())
        return false;
    bool found = false;
    Tree tree(*b.pager, t.desc->t, &t.desc->cursor);
    return Check(b, tree.Prev(key, klen, out, found)) && found;
}

bool ZapRecords(Table& t) {
    Base& b = *t.base;
    if (!b.Writable())
        return false;
    if (t.desc->t.root == 0 && t.desc->t.count == 0)
        return false;
    return ReleaseAll(b, t.desc->t);
}

// ---- blobs ----

bool SaveBlob(Table& t, const uint8_t* data, uint32_t len) {
    Base& b = *t.base;
    if (!b.Writable())
        return false;
    TreeDesc& d = t.desc->t;
    if (d.root && !ReleaseAll(b, d))
        return false;
    Pager& pg = *b.pager;
    PageRef r;
    if (!Check(b, pg.Alloc(d.id, kFlagBlob, r)))
        return false;
    d.root = r.pgno();
    d.count = len;
    d.blob = 1;
    uint32_t cap = pg.Capacity();
    uint32_t done = 0;
    for (;;) {
        uint32_t n = std::min(len - done, cap);
        if (n)
            std::memcpy(r.data() + kPageHeaderSize, data + done, n);
        Put32(r.data() + kPgFree, cap - n);
        r.Dirty();
        done += n;
        if (done >= len)
            return true;
        PageRef next;
        if (!Check(b, pg.Alloc(d.id, kFlagBlob, next)))
            return false;
        Put32(r.data() + kPgLink, next.pgno());
        r = std::move(next);
    }
}

bool ReadBlob(Table& t, uint8_t* out) {
    Base& b = *t.base;
    if (!b.Usable())
        return false;
    TreeDesc& d = t.desc->t;
    if (!d.blob || d.root == 0 || HoldsRecords(b, d))
        return false;
    Pager& pg = *b.pager;
    uint32_t remaining = d.count, done = 0;
    uint32_t steps = pg.Limit() + 1;
    for (uint32_t p = d.root; remaining > 0; --steps) {
        if (p == 0 || p > pg.Limit() || steps == 0)
            return Check(b, LOR_DAMAGED);
        PageRef r;
        if (!Check(b, pg.Get(p, r)))
            return false;
        const uint8_t* img = r.data();
        uint32_t freeBytes = Get32(img + kPgFree);
        if (!(img[kPgFlags] & kFlagBlob) || Get32(img + kPgNumber) != p || freeBytes > pg.Capacity())
            return Check(b, LOR_DAMAGED);
        uint32_t n = std::min(remaining, pg.Capacity() - freeBytes);
        std::memcpy(out + done, img + kPageHeaderSize, n);
        done += n;
        remaining -= n;
        p = Get32(img + kPgLink);
    }
    return true;
}

bool DeleteBlob(Table& t) {
    Base& b = *t.base;
    if (!b.Writable())
        return false;
    TreeDesc& d = t.desc->t;
    if (!d.blob || d.root == 0 || HoldsRecords(b, d))
        return false; // records stay where they are
    bool ok = ReleaseChain(b, d.root);
    d.root = 0;
    d.count = 0;
    return ok;
}

} // namespace lor
