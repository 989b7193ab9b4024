// B+-tree layer of the table store: descent, insert with redistribution and splits, delete,
// ordered navigation and zap. Fast paths work on page bytes; restructuring decodes the pages.
#include "btree.h"

#include "lorstatus.h"

#include <algorithm>

namespace lor {

int CompareKeys(const uint8_t* a, uint32_t alen, const uint8_t* b, uint32_t blen) {
    uint32_t n = alen < blen ? alen : blen;
    // Keys are mostly a few bytes long: a plain loop beats a library call there.
    uint32_t i = 0;
    for (uint32_t m = n < 8 ? n : 8; i < m; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    if (i < n) {
        int c = std::memcmp(a + i, b + i, n - i);
        if (c)
            return c;
    }
    return alen < blen ? -1 : alen > blen ? 1 : 0;
}

namespace {

using Ent = Tree::Ent;

uint8_t* Area(uint8_t* p) { return p + kPageHeaderSize; }
const uint8_t* Area(const uint8_t* p) { return p + kPageHeaderSize; }
bool IsIndex(const uint8_t* p) { return p[kPgFlags] & kFlagIndex; }
uint32_t FreeOf(const uint8_t* p) { return Get32(p + kPgFree); }

uint32_t EntSize(const uint8_t* e, bool index) {
    uint32_t k = Get16(e + kEntKeyLen);
    return index ? kIndexEntryExtra + k : kLeafEntryHeader + k + Get32(e);
}

size_t Size(const Ent& e, bool index) {
    return index ? kIndexEntryExtra + e.key.size() : kLeafEntryHeader + e.key.size() + e.data.size();
}

// Bytes that entries [a, b) take as a page of their own; an index page stores its first key empty.
size_t ChunkSize(const std::vector<Ent>& v, size_t a, size_t b, bool index) {
    size_t n = 0;
    for (size_t i = a; i < b; ++i)
        n += Size(v[i], index);
    if (index && a < b)
        n -= v[a].key.size();
    return n;
}

// A leaf or index page as the tree expects it: its own number, sound lengths, children in range.
bool CheckTreePage(const uint8_t* p, uint32_t pgno, uint32_t cap, uint32_t limit) {
    uint8_t kind = p[kPgFlags] & kKindMask;
    if (kind != kFlagLeaf && kind != kFlagIndex)
        return false;
    if (Get32(p + kPgNumber) != pgno)
        return false;
    uint32_t freeBytes = FreeOf(p);
    if (freeBytes > cap)
        return false;
    uint32_t used = cap - freeBytes;
    const uint8_t* a = p + kPageHeaderSize;
    bool index = kind == kFlagIndex;
    uint32_t off = 0;
    int n = 0;
    while (off < used) {
        uint32_t hdr = index ? kIndexEntryExtra : kLeafEntryHeader;
        if (used - off < hdr)
            return false;
        uint64_t sz = index ? uint64_t(kIndexEntryExtra) + Get16(a + off + kEntKeyLen)
                            : uint64_t(kLeafEntryHeader) + Get16(a + off + kEntKeyLen) + Get32(a + off);
        if (sz > used - off)
            return false;
        if (index) {
            uint32_t child = Get32(a + off);
            if (child == 0 || child == pgno || child > limit)
                return false;
            if (n == 0 && Get16(a + off + kEntKeyLen) != 0)
                return false;
        }
        off += uint32_t(sz);
        ++n;
    }
    return !(index && n == 0);
}

std::string_view View(const uint8_t* p, size_t n) {
    return std::string_view(reinterpret_cast<const char*>(p), n);
}

// Entries of a checked page, as views into a copy of it kept in the arena.
std::vector<Ent> Decode(const uint8_t* page, uint32_t cap, Tree::Arena& arena) {
    const std::vector<uint8_t>& copy = arena.emplace_back(page, page + kPageHeaderSize + cap);
    const uint8_t* p = copy.data();
    std::vector<Ent> v;
    bool index = IsIndex(p);
    uint32_t used = cap - FreeOf(p);
    v.reserve(used / (index ? kIndexEntryExtra : kLeafEntryHeader + 1) + 2);
    const uint8_t* a = p + kPageHeaderSize;
    for (uint32_t off = 0; off < used;) {
        Ent e;
        uint32_t k = Get16(a + off + kEntKeyLen);
        e.key = View(a + off + kEntKey, k);
        if (index)
            e.child = Get32(a + off);
        else
            e.data = View(a + off + kEntKey + k, Get32(a + off));
        off += EntSize(a + off, index);
        v.push_back(e);
    }
    return v;
}

// Writes entries [a, b) as the page's contents; the first key of an index page is stored empty.
void Encode(uint8_t* p, uint32_t cap, const std::vector<Ent>& v, size_t a, size_t b) {
    bool index = IsIndex(p);
    uint8_t* area = Area(p);
    uint32_t off = 0;
    for (size_t i = a; i < b; ++i) {
        const Ent& e = v[i];
        uint32_t k = (index && i == a) ? 0 : uint32_t(e.key.size());
        Put32(area + off, index ? e.child : uint32_t(e.data.size()));
        Put16(area + off + kEntKeyLen, uint16_t(k));
        if (k)
            std::memcpy(area + off + kEntKey, e.key.data(), k);
        if (index) {
            area[off + 6 + k] = 0;
            off += kIndexEntryExtra + k;
        } else {
            if (!e.data.empty())
                std::memcpy(area + off + kEntKey + k, e.data.data(), e.data.size());
            off += kLeafEntryHeader + k + uint32_t(e.data.size());
        }
    }
    std::memset(area + off, 0, cap - off);
    Put32(p + kPgFree, cap - off);
    p[kPgFlags] |= kFlagDirty;
}

// Leaf search: offset and index of the first entry whose key is not smaller than key.
// Starting at entry from (idx then counts from there) when the key is known to lie beyond it.
void LeafSearch(const uint8_t* p, uint32_t cap, const uint8_t* key, uint32_t klen, uint32_t& off, int& idx,
                bool& eq, uint32_t from = 0) {
    uint32_t used = cap - FreeOf(p);
    const uint8_t* a = p + kPageHeaderSize;
    off = from;
    idx = 0;
    eq = false;
    while (off < used) {
        const uint8_t* e = a + off;
        int c = CompareKeys(e + kEntKey, Get16(e + kEntKeyLen), key, klen);
        if (c >= 0) {
            eq = c == 0;
            return;
        }
        off += kLeafEntryHeader + Get16(e + kEntKeyLen) + Get32(e);
        ++idx;
    }
}

// Offset of entry idx of a checked page; false when the page has no such entry (a position
// remembered from a page that another process has since rewritten).
bool EntryOffset(const uint8_t* p, uint32_t cap, int idx, uint32_t& off) {
    bool index = IsIndex(p);
    const uint8_t* a = p + kPageHeaderSize;
    uint32_t used = cap - FreeOf(p);
    off = 0;
    for (int i = 0; i < idx && off < used; ++i)
        off += EntSize(a + off, index);
    return idx >= 0 && off < used;
}

// Copies the leaf entry at off of page p out when it fits the maxima; false when the entry runs
// past the page's used part.
bool CopyOut(const uint8_t* p, uint32_t cap, uint32_t off, RecOut& out, bool& found) {
    found = false;
    uint32_t used = cap - FreeOf(p);
    if (off >= used || used - off < kLeafEntryHeader)
        return false;
    const uint8_t* e = p + kPageHeaderSize + off;
    uint32_t k = Get16(e + kEntKeyLen), d = Get32(e);
    if (uint64_t(kLeafEntryHeader) + k + d > used - off)
        return false;
    if (k > out.maxKey || d > out.maxData)
        return true;
    if (k)
        std::memcpy(out.key, e + kEntKey, k);
    if (d)
        std::memcpy(out.data, e + kEntKey + k, d);
    out.keyLen = k;
    out.dataLen = d;
    found = true;
    return true;
}

} // namespace

uint32_t Tree::Load(uint32_t pgno, PageRef& ref) {
    if (pgno == 0 || pgno > pg_.Limit())
        return LOR_DAMAGED;
    if (uint32_t st = pg_.Get(pgno, ref))
        return st;
    if (!ref.checked()) {
        if (!CheckTreePage(ref.data(), pgno, pg_.Capacity(), pg_.Limit())) {
            ref.Reset();
            return LOR_DAMAGED;
        }
        ref.checked() = true;
    }
    return LOR_OK;
}

uint32_t Tree::Descend(const uint8_t* key, uint32_t klen, Path& path, PageRef& leaf, bool repair) {
    path.n = 0;
    uint32_t pgno = d_.root, parent = 0;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        PageRef ref;
        if (uint32_t st = Load(pgno, ref))
            return st;
        uint8_t* p = ref.data();
        if (repair && Get32(p + kPgLink) != parent && !pg_.ReadOnly()) {
            Put32(p + kPgLink, parent); // links are brought up to date lazily, by writes only
            ref.Dirty();
        }
        Step& st = path.s[path.n++];
        st.pg = pgno;
        if (!IsIndex(p)) {
            st.idx = -1;
            st.nent = 0;
            leaf = std::move(ref);
            return LOR_OK;
        }
        uint32_t used = pg_.Capacity() - FreeOf(p);
        const uint8_t* a = Area(p);
        uint32_t off = 0, chosenOff = 0;
        int i = 0, chosen = 0;
        while (off < used) {
            const uint8_t* e = a + off;
            if (i > 0 && CompareKeys(e + kEntKey, Get16(e + kEntKeyLen), key, klen) > 0)
                break;
            chosen = i;
            chosenOff = off;
            off += kIndexEntryExtra + Get16(e + kEntKeyLen);
            ++i;
        }
        // Entries past the chosen one are not needed for the count except at the page end.
        int n = i;
        for (uint32_t o2 = off; o2 < used; o2 += kIndexEntryExtra + Get16(a + o2 + kEntKeyLen))
            ++n;
        st.idx = chosen;
        st.nent = n;
        parent = pgno;
        pgno = Get32(a + chosenOff);
    }
    return LOR_DAMAGED;
}

uint32_t Tree::Save(const uint8_t* key, uint32_t klen, const uint8_t* data, uint32_t dlen, bool& inserted) {
    inserted = false;
    if (klen == 0)
        return LOR_EMPTY_KEY;
    pg_.Touch();
    uint32_t cap = pg_.Capacity();
    if (klen > MaxKey(pg_.PageSize()) || uint64_t(kLeafEntryHeader) + klen + dlen > cap)
        return LOR_TOO_LONG;
    if (d_.root == 0) {
        PageRef r;
        if (uint32_t st = pg_.Alloc(d_.id, kFlagLeaf, r))
            return st;
        d_.root = r.pgno();
    }
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf, true))
        return st;
    uint8_t* p = leaf.data();
    uint8_t* a = Area(p);
    uint32_t off;
    int idx;
    bool eq;
    LeafSearch(p, cap, key, klen, off, idx, eq);
    uint32_t used = cap - FreeOf(p);
    uint32_t s = kLeafEntryHeader + klen + dlen;
    if (eq) {
        uint32_t oldSize = EntSize(a + off, false);
        int64_t delta = int64_t(s) - int64_t(oldSize);
        if (delta <= int64_t(FreeOf(p))) { // a record that exactly fills the page still fits
            std::memmove(a + off + s, a + off + oldSize, used - off - oldSize);
            if (delta < 0)
                std::memset(a + used + delta, 0, size_t(-delta));
            Put32(a + off, dlen);
            std::memcpy(a + off + kEntKey + klen, data, dlen);
            Put32(p + kPgFree, uint32_t(int64_t(FreeOf(p)) - delta));
            leaf.Dirty();
            return LOR_OK;
        }
    } else {
        inserted = true;
        if (FreeOf(p) >= s) {
            std::memmove(a + off + s, a + off, used - off);
            Put32(a + off, dlen);
            Put16(a + off + kEntKeyLen, uint16_t(klen));
            std::memcpy(a + off + kEntKey, key, klen);
            std::memcpy(a + off + kEntKey + klen, data, dlen);
            Put32(p + kPgFree, FreeOf(p) - s);
            leaf.Dirty();
            ++d_.count;
            return LOR_OK;
        }
    }
    // The page must be restructured: work on decoded entries.
    Arena arena;
    std::vector<Ent> ents = Decode(p, cap, arena);
    leaf.Reset();
    Ent e;
    e.key = View(key, klen);
    e.data = View(data, dlen);
    if (eq)
        ents[size_t(idx)] = e;
    else
        ents.insert(ents.begin() + idx, e);
    if (uint32_t st = Place(path, path.n - 1, ents, size_t(idx)))
        return st;
    if (inserted)
        ++d_.count;
    return LOR_OK;
}

uint32_t Tree::PutEntry(int level, const Ent& e) {
    Path path;
    PageRef leaf;
    const uint8_t* k = reinterpret_cast<const uint8_t*>(e.key.data());
    if (uint32_t st = Descend(k, uint32_t(e.key.size()), path, leaf, true))
        return st;
    leaf.Reset();
    int pi = path.n - 1 - level;
    if (pi < 0)
        return LOR_DAMAGED;
    PageRef ref;
    if (uint32_t st = Load(path.s[pi].pg, ref))
        return st;
    uint8_t* p = ref.data();
    if (!IsIndex(p))
        return LOR_DAMAGED;
    uint32_t cap = pg_.Capacity();
    Arena arena;
    std::vector<Ent> ents = Decode(p, cap, arena);
    size_t o = 1;
    while (o < ents.size() && CompareKeys(reinterpret_cast<const uint8_t*>(ents[o].key.data()),
                                          uint32_t(ents[o].key.size()), k, uint32_t(e.key.size())) <= 0)
        ++o;
    ents.insert(ents.begin() + long(o), e);
    if (ChunkSize(ents, 0, ents.size(), true) <= cap) {
        Encode(p, cap, ents, 0, ents.size());
        return LOR_OK;
    }
    ref.Reset();
    return Place(path, pi, ents, o);
}

uint32_t Tree::RemoveFromParent(uint32_t parentPg, int idx, bool& nowEmpty) {
    PageRef ref;
    if (uint32_t st = Load(parentPg, ref))
        return st;
    uint32_t cap = pg_.Capacity();
    Arena arena;
    std::vector<Ent> ents = Decode(ref.data(), cap, arena);
    if (idx < 0 || size_t(idx) >= ents.size())
        return LOR_DAMAGED;
    ents.erase(ents.begin() + idx);
    if (!ents.empty())
        ents[0].key = {}; // a new first entry keeps no key
    nowEmpty = ents.empty();
    Encode(ref.data(), cap, ents, 0, ents.size());
    return LOR_OK;
}

// Gives child idx of parentPg the separator newSep, which lies between its neighbours' keys:
// in place when the page has room, else out of the page and in again by key.
uint32_t Tree::Resep(int level, uint32_t parentPg, int idx, std::string_view newSep) {
    PageRef ref;
    if (uint32_t st = Load(parentPg, ref))
        return st;
    uint32_t cap = pg_.Capacity();
    uint8_t* p = ref.data();
    if (idx <= 0)
        return LOR_DAMAGED;
    uint32_t used = cap - FreeOf(p);
    uint32_t off;
    if (!EntryOffset(p, cap, idx, off))
        return LOR_DAMAGED;
    uint8_t* a = Area(p);
    uint32_t oldLen = Get16(a + off + kEntKeyLen), newLen = uint32_t(newSep.size());
    if (newLen <= oldLen || newLen - oldLen <= FreeOf(p)) {
        uint32_t tail = off + kIndexEntryExtra + oldLen;
        std::memmove(a + off + kIndexEntryExtra + newLen, a + tail, used - tail);
        if (newLen < oldLen)
            std::memset(a + used - (oldLen - newLen), 0, oldLen - newLen);
        Put16(a + off + kEntKeyLen, uint16_t(newLen));
        if (newLen)
            std::memcpy(a + off + kEntKey, newSep.data(), newLen);
        a[off + 6 + newLen] = 0;
        Put32(p + kPgFree, FreeOf(p) + oldLen - newLen);
        ref.Dirty();
        return LOR_OK;
    }
    Arena arena;
    std::vector<Ent> ents = Decode(p, cap, arena);
    Ent e = ents[size_t(idx)];
    ents.erase(ents.begin() + idx);
    Encode(p, cap, ents, 0, ents.size());
    ref.Reset();
    e.key = newSep;
    return PutEntry(level, e);
}

// Finds room for ents (page path.s[pi] with the new entry at o) by moving entries to a neighbour
// under the same parent or by splitting, then brings the parent's separators up to date.
// Stores ents (page path.s[pi]'s entries with the new one at o) when they overflow the page: a root
// gets a parent first; then a head moves to the left sibling, or a tail to the right one, when it has
// the room; else the page splits. Status 0 or a LOR_* code; entries no page can hold are damage.
uint32_t Tree::Place(Path& path, int pi, std::vector<Ent>& ents, size_t o) {
    const uint32_t cap = pg_.Capacity();
    const bool index = path.n - 1 - pi > 0;
    if (ChunkSize(ents, 0, ents.size(), index) <= cap) {
        // Everything fits the page after all (a replacement that fills it exactly).
        PageRef pr;
        if (uint32_t st = Load(path.s[pi].pg, pr))
            return st;
        Encode(pr.data(), cap, ents, 0, ents.size());
        return LOR_OK;
    }
    if (pi == 0) {
        if (uint32_t st = GrowRoot(path))
            return st;
        pi = 1;
    }
    Siblings sib;
    if (uint32_t st = ReadSiblings(path, pi, sib))
        return st;
    bool done = false;
    if (uint32_t st = ShiftLeft(sib, ents, o, done); st || done)
        return st;
    if (uint32_t st = ShiftRight(sib, ents, o, done); st || done)
        return st;
    return Split(sib, ents, o);
}

// A new root above the full root, with it as the only child; the path grows by one step at the top.
uint32_t Tree::GrowRoot(Path& path) {
    if (path.n > kMaxDepth)
        return LOR_DAMAGED;
    const uint32_t old = path.s[0].pg;
    PageRef r;
    if (uint32_t st = pg_.Alloc(d_.id, kFlagIndex, r))
        return st;
    std::vector<Ent> one(1);
    one[0].child = old;
    Encode(r.data(), pg_.Capacity(), one, 0, 1);
    PageRef pr;
    if (uint32_t st = pg_.Get(old, pr))
        return st;
    Put32(pr.data() + kPgLink, r.pgno());
    pr.Dirty();
    d_.root = r.pgno();
    for (int i = path.n; i > 0; --i)
        path.s[i] = path.s[i - 1];
    path.s[0] = Step{r.pgno(), 0, 1};
    ++path.n;
    return LOR_OK;
}

// The parent's entries for page path.s[pi] and its two neighbours, read in place; damage when the
// parent does not name the page where the path says.
uint32_t Tree::ReadSiblings(const Path& path, int pi, Siblings& sib) {
    const uint32_t cap = pg_.Capacity();
    sib.level = path.n - 1 - pi;
    sib.index = sib.level > 0;
    sib.page = path.s[pi].pg;
    sib.parent = path.s[pi - 1].pg;
    sib.at = path.s[pi - 1].idx;
    PageRef ref;
    if (uint32_t st = Load(sib.parent, ref))
        return st;
    const uint8_t* p = ref.data();
    const uint8_t* a = Area(p);
    int nent = 0;
    const uint32_t used = cap - FreeOf(p);
    for (uint32_t o = 0; o < used; o += kIndexEntryExtra + Get16(a + o + kEntKeyLen), ++nent) {
        const uint8_t* e = a + o;
        auto key = [e] {
            return std::string(reinterpret_cast<const char*>(e + kEntKey), Get16(e + kEntKeyLen));
        };
        if (nent == sib.at - 1)
            sib.left = Get32(e + kEntChild);
        if (nent == sib.at) {
            if (Get32(e + kEntChild) != sib.page)
                return LOR_DAMAGED;
            sib.sepPage = key();
        }
        if (nent == sib.at + 1) {
            sib.right = Get32(e + kEntChild);
            sib.sepRight = key();
        }
    }
    return sib.at < 0 || sib.at >= nent ? LOR_DAMAGED : LOR_OK;
}

// Moves a head of ents (not the new entry at the end) to the left sibling when it has more room
// than the new entry needs and the rest then fits the page; done tells whether it did.
uint32_t Tree::ShiftLeft(const Siblings& sib, std::vector<Ent>& ents, size_t o, bool& done) {
    done = false;
    const uint32_t cap = pg_.Capacity();
    const size_t n = ents.size();
    if (!sib.left || o == 0 || o + 1 == n)
        return LOR_OK;
    PageRef lr;
    if (uint32_t st = Load(sib.left, lr))
        return st;
    if (FreeOf(lr.data()) <= Size(ents[o], sib.index))
        return LOR_OK;
    Arena arena;
    std::vector<Ent> le = Decode(lr.data(), cap, arena);
    const size_t lused = ChunkSize(le, 0, le.size(), sib.index);
    size_t head = 0;
    for (size_t h = 1; h <= o; ++h) {
        head += Size(ents[h - 1], sib.index);
        if (lused + head + (sib.index ? sib.sepPage.size() : 0) > cap)
            break;
        if (ChunkSize(ents, h, n, sib.index) > cap)
            continue;
        const std::string_view newSep = ents[h].key;
        if (sib.index)
            ents[0].key = sib.sepPage; // the separator comes down with the first child
        le.insert(le.end(), ents.begin(), ents.begin() + long(h));
        Encode(lr.data(), cap, le, 0, le.size());
        lr.Reset();
        PageRef pr;
        if (uint32_t st = Load(sib.page, pr))
            return st;
        Encode(pr.data(), cap, ents, h, n);
        pr.Reset();
        done = true;
        return Resep(sib.level + 1, sib.parent, sib.at, newSep);
    }
    return LOR_OK;
}

// Moves a tail of ents (at the end: the new entry alone) to the right sibling when it holds at
// least as much as the new entry needs; done tells whether it did.
uint32_t Tree::ShiftRight(const Siblings& sib, std::vector<Ent>& ents, size_t o, bool& done) {
    done = false;
    const uint32_t cap = pg_.Capacity();
    const size_t n = ents.size();
    const bool atEnd = o + 1 == n;
    if (!sib.right)
        return LOR_OK;
    PageRef qr;
    if (uint32_t st = Load(sib.right, qr))
        return st;
    if (FreeOf(qr.data()) < Size(ents[o], sib.index) + (atEnd ? 1 : 0))
        return LOR_OK;
    Arena arena;
    std::vector<Ent> qe = Decode(qr.data(), cap, arena);
    const size_t qused = ChunkSize(qe, 0, qe.size(), sib.index);
    for (size_t t = atEnd ? o : o + 1; t < n; ++t) {
        const size_t tail = ChunkSize(ents, t, n, sib.index) + (sib.index ? sib.sepRight.size() : 0);
        if (ChunkSize(ents, 0, t, sib.index) > cap || qused + tail > cap)
            continue;
        const std::string_view newSep = ents[t].key;
        if (sib.index && !qe.empty())
            qe[0].key = sib.sepRight;
        qe.insert(qe.begin(), ents.begin() + long(t), ents.end());
        Encode(qr.data(), cap, qe, 0, qe.size());
        qr.Reset();
        PageRef pr;
        if (uint32_t st = Load(sib.page, pr))
            return st;
        Encode(pr.data(), cap, ents, 0, t);
        pr.Reset();
        done = true;
        return Resep(sib.level + 1, sib.parent, sib.at + 1, newSep);
    }
    return LOR_OK;
}

// The page keeps the first chunk and new pages take the others: two pages cut as near the new
// entry as fits, else as many as a greedy packing from the left needs.
uint32_t Tree::Split(const Siblings& sib, std::vector<Ent>& ents, size_t o) {
    const uint32_t cap = pg_.Capacity();
    const size_t n = ents.size();
    const bool index = sib.index;
    std::vector<size_t> cuts; // chunk starts after 0
    auto fits2 = [&](size_t c) {
        return c > 0 && c < n && ChunkSize(ents, 0, c, index) <= cap && ChunkSize(ents, c, n, index) <= cap;
    };
    const size_t pref = o + 1 == n ? o : (o == 0 ? 2 : (ChunkSize(ents, 0, o + 1, index) <= cap ? o + 1 : o));
    if (pref > 0 && pref < n && fits2(pref)) {
        cuts.push_back(pref);
    } else {
        for (size_t dist = 1; dist < n && cuts.empty(); ++dist) {
            if (pref >= dist && fits2(pref - dist))
                cuts.push_back(pref - dist);
            else if (fits2(pref + dist))
                cuts.push_back(pref + dist);
        }
        if (cuts.empty()) {
            // No two pages hold it: pack greedily from the left.
            for (size_t i = 1, start = 0; i < n; ++i) {
                if (ChunkSize(ents, start, i + 1, index) > cap) {
                    cuts.push_back(i);
                    start = i;
                }
            }
        }
    }
    if (cuts.empty())
        return LOR_DAMAGED; // entries that no page holds: cannot come from checked input
    std::vector<uint32_t> pages;
    for (size_t c = 0; c < cuts.size(); ++c) {
        const size_t a = cuts[c], b = c + 1 < cuts.size() ? cuts[c + 1] : n;
        PageRef nr;
        if (uint32_t st = pg_.Alloc(d_.id, index ? kFlagIndex : kFlagLeaf, nr))
            return st;
        Put32(nr.data() + kPgLink, sib.parent);
        Encode(nr.data(), cap, ents, a, b);
        pages.push_back(nr.pgno());
    }
    {
        PageRef pr;
        if (uint32_t st = Load(sib.page, pr))
            return st;
        Encode(pr.data(), cap, ents, 0, cuts[0]);
    }
    for (size_t c = 0; c < cuts.size(); ++c) {
        Ent sep;
        sep.key = ents[cuts[c]].key;
        sep.child = pages[c];
        if (uint32_t st = PutEntry(sib.level + 1, sep))
            return st;
    }
    return LOR_OK;
}

uint32_t Tree::Delete(const uint8_t* key, uint32_t klen, RecOut* out, bool& found) {
    found = false;
    if (klen == 0)
        return LOR_EMPTY_KEY;
    if (d_.count == 0 || d_.root == 0)
        return LOR_OK;
    pg_.Touch();
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf, true))
        return st;
    uint32_t cap = pg_.Capacity();
    uint8_t* p = leaf.data();
    uint8_t* a = Area(p);
    uint32_t off;
    int idx;
    bool eq;
    LeafSearch(p, cap, key, klen, off, idx, eq);
    if (!eq)
        return LOR_OK;
    if (out) {
        // The caller gets the record back; one larger than its maxima stays where it is.
        bool fit;
        if (!CopyOut(p, cap, off, *out, fit))
            return LOR_DAMAGED;
        if (!fit)
            return LOR_OK;
    }
    std::string oldKey(reinterpret_cast<const char*>(key), klen);
    uint32_t used = cap - FreeOf(p);
    uint32_t sz = EntSize(a + off, false);
    std::memmove(a + off, a + off + sz, used - off - sz);
    std::memset(a + used - sz, 0, sz);
    Put32(p + kPgFree, FreeOf(p) + sz);
    leaf.Dirty();
    leaf.Reset();
    found = true;
    if (d_.count > 0)
        --d_.count;
    if (idx == 0) {
        if (uint32_t st = AfterFirstRemoved(path, oldKey))
            return st;
    }
    if (d_.count == 0)
        d_.root = 0;
    return LOR_OK;
}

// The first entry of a leaf went away: release emptied pages and keep the separators above exact.
uint32_t Tree::AfterFirstRemoved(Path& path, const std::string& oldKey) {
    uint32_t cap = pg_.Capacity();
    std::string newFirst;
    bool haveFirst = false;
    for (int pi = path.n - 1; pi >= 0; --pi) {
        uint32_t pg = path.s[pi].pg;
        bool empty;
        {
            PageRef ref;
            if (uint32_t st = Load(pg, ref))
                return st;
            empty = FreeOf(ref.data()) == cap;
            if (!empty && !haveFirst) {
                const uint8_t* e = Area(ref.data());
                newFirst.assign(reinterpret_cast<const char*>(e + kEntKey), Get16(e + kEntKeyLen));
                haveFirst = true;
            }
        }
        if (pi == 0) {
            if (empty) {
                if (uint32_t st = pg_.Release(pg))
                    return st;
                d_.root = 0;
            }
            return LOR_OK;
        }
        uint32_t parentPg = path.s[pi - 1].pg;
        int pidx = path.s[pi - 1].idx;
        if (empty) {
            if (uint32_t st = pg_.Release(pg))
                return st;
            bool parentEmpty = false;
            if (uint32_t st = RemoveFromParent(parentPg, pidx, parentEmpty))
                return st;
            if (!parentEmpty)
                return LOR_OK;
            continue; // the emptied parent is treated in turn
        }
        if (pidx > 0) {
            PageRef ref;
            if (uint32_t st = Load(parentPg, ref))
                return st;
            uint32_t eoff;
            if (!EntryOffset(ref.data(), cap, pidx, eoff))
                return LOR_DAMAGED;
            const uint8_t* e = Area(ref.data()) + eoff;
            bool same =
                CompareKeys(e + kEntKey, Get16(e + kEntKeyLen),
                            reinterpret_cast<const uint8_t*>(oldKey.data()), uint32_t(oldKey.size())) == 0;
            ref.Reset();
            if (same && haveFirst)
                return Resep(path.n - pi, parentPg, pidx, newFirst);
            return LOR_OK;
        }
        // Leftmost child: its separator lives further up.
    }
    return LOR_OK;
}

uint32_t Tree::Seek(const uint8_t* key, uint32_t klen, RecOut& out, bool& found) {
    found = false;
    if (d_.root == 0)
        return LOR_OK;
    uint32_t off;
    int idx;
    bool eq;
    // Keys sought in ascending order mostly lie in the leaf of the record found last: a key after
    // that record and not after the leaf's last entry can only be in that leaf.
    PageRef leaf;
    if (AfterCursor(key, klen, leaf)) {
        LeafSearch(leaf.data(), pg_.Capacity(), key, klen, off, idx, eq, cur_->off);
        if (off < pg_.Capacity() - FreeOf(leaf.data())) {
            if (eq && !CopyOut(leaf.data(), pg_.Capacity(), off, out, found))
                return LOR_DAMAGED;
            if (found)
                Remember(cur_->path, off, out);
            return LOR_OK;
        }
    }
    Path path;
    if (uint32_t st = Descend(key, klen, path, leaf, false))
        return st;
    LeafSearch(leaf.data(), pg_.Capacity(), key, klen, off, idx, eq);
    if (eq)
        if (!CopyOut(leaf.data(), pg_.Capacity(), off, out, found))
            return LOR_DAMAGED;
    if (found)
        Remember(path, off, out);
    return LOR_OK;
}

// Goes down from child (at path level pi) along first or last entries to a leaf, recording the
// steps in path; off receives the offset of the leaf's first or last entry.
uint32_t Tree::DownToLeaf(Path& path, int pi, uint32_t child, bool last, uint32_t& off) {
    for (int l = pi; l < kMaxDepth; ++l) {
        PageRef ref;
        if (uint32_t st = Load(child, ref))
            return st;
        uint8_t* p = ref.data();
        uint32_t used = pg_.Capacity() - FreeOf(p);
        bool index = IsIndex(p);
        uint32_t lastOff = 0;
        int n = 0;
        // A walk forward enters a leaf at its first entry: only the index pages on the way need
        // their entries counted.
        if (index || last) {
            for (uint32_t o = 0; o < used; o += EntSize(Area(p) + o, index), ++n)
                lastOff = o;
        } else {
            n = used > 0 ? 1 : 0;
        }
        if (n == 0)
            return LOR_DAMAGED; // only an empty table has an empty leaf, and then no root
        Step& st = path.s[l];
        st.pg = child;
        path.n = l + 1;
        if (!index) {
            st.idx = -1;
            st.nent = 0;
            off = last ? lastOff : 0;
            return LOR_OK;
        }
        st.idx = last ? n - 1 : 0;
        st.nent = n;
        child = Get32(Area(p) + (last ? lastOff : 0));
    }
    return LOR_DAMAGED;
}

// The record at offset off of the path's leaf, or the first of the next leaf when off is past
// the end; path and off move there.
uint32_t Tree::StepNext(Path& path, uint32_t& off, RecOut& out, bool& found) {
    found = false;
    {
        PageRef leaf;
        if (uint32_t st = Load(path.s[path.n - 1].pg, leaf))
            return st;
        if (off < pg_.Capacity() - FreeOf(leaf.data())) {
            if (!CopyOut(leaf.data(), pg_.Capacity(), off, out, found))
                return LOR_DAMAGED;
            return LOR_OK;
        }
    }
    for (int pi = path.n - 2; pi >= 0; --pi) {
        Step& s = path.s[pi];
        if (s.idx + 1 >= s.nent)
            continue;
        PageRef ref;
        if (uint32_t st = Load(s.pg, ref))
            return st;
        ++s.idx;
        uint32_t eoff;
        if (!EntryOffset(ref.data(), pg_.Capacity(), s.idx, eoff))
            return LOR_DAMAGED;
        uint32_t child = Get32(Area(ref.data()) + eoff);
        ref.Reset();
        if (uint32_t st = DownToLeaf(path, pi + 1, child, false, off))
            return st;
        return StepNext(path, off, out, found);
    }
    return LOR_OK;
}

// The record before offset off of the path's leaf, or the last of the previous leaf when off is
// the first; path and off move there.
uint32_t Tree::StepPrev(Path& path, uint32_t& off, RecOut& out, bool& found) {
    found = false;
    if (off > 0) {
        PageRef leaf;
        if (uint32_t st = Load(path.s[path.n - 1].pg, leaf))
            return st;
        uint32_t prev = 0;
        for (uint32_t o = 0; o < off; o += EntSize(Area(leaf.data()) + o, false))
            prev = o;
        off = prev;
        if (!CopyOut(leaf.data(), pg_.Capacity(), off, out, found))
            return LOR_DAMAGED;
        return LOR_OK;
    }
    for (int pi = path.n - 2; pi >= 0; --pi) {
        Step& s = path.s[pi];
        if (s.idx <= 0)
            continue;
        PageRef ref;
        if (uint32_t st = Load(s.pg, ref))
            return st;
        --s.idx;
        uint32_t eoff;
        if (!EntryOffset(ref.data(), pg_.Capacity(), s.idx, eoff))
            return LOR_DAMAGED;
        uint32_t child = Get32(Area(ref.data()) + eoff);
        ref.Reset();
        if (uint32_t st = DownToLeaf(path, pi + 1, child, true, off))
            return st;
        PageRef leaf;
        if (uint32_t st = Load(path.s[path.n - 1].pg, leaf))
            return st;
        if (!CopyOut(leaf.data(), pg_.Capacity(), off, out, found))
            return LOR_DAMAGED;
        return LOR_OK;
    }
    return LOR_OK;
}

bool Tree::CursorAt(const uint8_t* key, uint32_t klen) const {
    return cur_ && cur_->stamp == pg_.Changes() && cur_->key.size() == klen &&
           (klen == 0 || std::memcmp(cur_->key.data(), key, klen) == 0);
}

bool Tree::AfterCursor(const uint8_t* key, uint32_t klen, PageRef& leaf) {
    if (!cur_ || cur_->stamp != pg_.Changes() || cur_->path.n == 0)
        return false;
    const auto* last = reinterpret_cast<const uint8_t*>(cur_->key.data());
    if (CompareKeys(last, uint32_t(cur_->key.size()), key, klen) >= 0)
        return false;
    return Load(cur_->path.s[cur_->path.n - 1].pg, leaf) == LOR_OK && !IsIndex(leaf.data());
}

void Tree::Remember(const Path& path, uint32_t off, const RecOut& out) {
    if (!cur_)
        return;
    cur_->stamp = pg_.Changes();
    if (&path != &cur_->path)
        cur_->path = path;
    cur_->off = off;
    cur_->size = kLeafEntryHeader + out.keyLen + out.dataLen;
    cur_->key.assign(reinterpret_cast<const char*>(out.key), out.keyLen);
}

uint32_t Tree::Next(const uint8_t* key, uint32_t klen, RecOut& out, bool& found) {
    return Walk(key, klen, out, found, true);
}

uint32_t Tree::Prev(const uint8_t* key, uint32_t klen, RecOut& out, bool& found) {
    return Walk(key, klen, out, found, false);
}

uint32_t Tree::Walk(const uint8_t* key, uint32_t klen, RecOut& out, bool& found, bool forward) {
    found = false;
    if (d_.root == 0)
        return LOR_OK;
    auto step = [&](Path& path, uint32_t off) -> uint32_t {
        if (uint32_t st = forward ? StepNext(path, off, out, found) : StepPrev(path, off, out, found))
            return st;
        if (!found)
            return LOR_OK;
        // A key that does not move on from the one asked about is damage: a walk stopped here ends,
        // where it would otherwise go round.
        const int order = CompareKeys(out.key, out.keyLen, key, klen);
        if (klen != 0 && (forward ? order <= 0 : order >= 0)) {
            found = false;
            return LOR_DAMAGED;
        }
        Remember(path, off, out);
        return LOR_OK;
    };
    if (CursorAt(key, klen)) {
        // A walk: continue beside the record returned last, without a descent (nor a path of its own).
        const uint32_t off = forward ? cur_->off + cur_->size : cur_->off;
        cur_->stamp = 0; // until the step succeeds
        return step(cur_->path, off);
    }
    Path local;
    uint32_t off;
    {
        PageRef leaf;
        if (uint32_t st = Descend(key, klen, local, leaf, false))
            return st;
        int idx;
        bool eq;
        LeafSearch(leaf.data(), pg_.Capacity(), key, klen, off, idx, eq);
        if (forward && eq)
            off += EntSize(Area(leaf.data()) + off, false);
    }
    return step(local, off);
}

uint32_t Tree::ZapPage(uint32_t pg, int depth, uint32_t& budget) {
    if (depth >= kMaxDepth || budget == 0)
        return LOR_DAMAGED;
    --budget;
    std::vector<uint32_t> children;
    {
        PageRef ref;
        if (uint32_t st = Load(pg, ref))
            return st;
        uint8_t* p = ref.data();
        if (IsIndex(p)) {
            uint32_t used = pg_.Capacity() - FreeOf(p);
            for (uint32_t o = 0; o < used; o += kIndexEntryExtra + Get16(Area(p) + o + kEntKeyLen))
                children.push_back(Get32(Area(p) + o));
        }
    }
    for (uint32_t c : children)
        if (uint32_t st = ZapPage(c, depth + 1, budget))
            return st;
    return pg_.Release(pg);
}

uint32_t Tree::Zap() {
    pg_.Touch();
    uint32_t st = LOR_OK;
    if (d_.root) {
        uint32_t budget = pg_.Limit();
        st = ZapPage(d_.root, 0, budget);
    }
    d_.root = 0;
    d_.count = 0;
    return st;
}

uint32_t Tree::VerifyPage(uint32_t pg, int depth, int& leafDepth, std::vector<std::string>* keys,
                          const std::string_view* lo, const std::string_view* hi, uint32_t& budget) {
    if (depth >= kMaxDepth || budget == 0)
        return LOR_DAMAGED;
    --budget;
    Arena arena;
    std::vector<Ent> ents;
    bool index;
    {
        PageRef ref;
        if (uint32_t st = Load(pg, ref))
            return st;
        index = IsIndex(ref.data());
        ents = Decode(ref.data(), pg_.Capacity(), arena);
    }
    if (ents.empty())
        return LOR_DAMAGED;
    auto inRange = [&](std::string_view k) { return (!lo || k >= *lo) && (!hi || k < *hi); };
    if (!index) {
        if (leafDepth < 0)
            leafDepth = depth;
        if (leafDepth != depth)
            return LOR_DAMAGED;
        for (size_t i = 0; i < ents.size(); ++i) {
            if (!inRange(ents[i].key) || (i && !(ents[i - 1].key < ents[i].key)))
                return LOR_DAMAGED;
            if (keys)
                keys->emplace_back(ents[i].key);
        }
        return LOR_OK;
    }
    for (size_t i = 0; i < ents.size(); ++i) {
        if (i && (!inRange(ents[i].key) || (i > 1 && !(ents[i - 1].key < ents[i].key))))
            return LOR_DAMAGED;
        const std::string_view* clo = i ? &ents[i].key : lo;
        const std::string_view* chi = i + 1 < ents.size() ? &ents[i + 1].key : hi;
        if (uint32_t st = VerifyPage(ents[i].child, depth + 1, leafDepth, keys, clo, chi, budget))
            return st;
    }
    return LOR_OK;
}

uint32_t Tree::Verify(std::vector<std::string>* keys, int* depth) {
    if (d_.root == 0)
        return d_.count == 0 ? LOR_OK : LOR_DAMAGED;
    int leafDepth = -1;
    uint32_t budget = pg_.Limit();
    std::vector<std::string> local;
    std::vector<std::string>* k = keys ? keys : &local;
    size_t before = k->size();
    if (uint32_t st = VerifyPage(d_.root, 0, leafDepth, k, nullptr, nullptr, budget))
        return st;
    if (depth)
        *depth = leafDepth + 1;
    return k->size() - before == d_.count ? LOR_OK : LOR_DAMAGED;
}

} // namespace lor
