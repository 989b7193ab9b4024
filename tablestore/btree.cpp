// B+-tree layer of the table store: descent, insert with redistribution and splits, delete,
// ordered navigation and zap. Fast paths work on page bytes; restructuring decodes the pages.
#include "btree.h"

#include "lorstatus.h"

#include <algorithm>

namespace lor {

int CompareKeys(const uint8_t* a, uint32_t alen, const uint8_t* b, uint32_t blen)
{
    uint32_t n = alen < blen ? alen : blen;
    if (n) {
        int c = std::memcmp(a, b, n);
        if (c)
            return c;
    }
    return alen < blen ? -1 : alen > blen ? 1 : 0;
}

namespace {

using Ent = Tree::Ent;

uint8_t* Area(uint8_t* p) { return p + kPageHeaderSize; }
bool IsIndex(const uint8_t* p) { return p[kPgFlags] & kFlagIndex; }
uint32_t FreeOf(const uint8_t* p) { return Get32(p + kPgFree); }

uint32_t EntSize(const uint8_t* e, bool index)
{
    uint32_t k = Get16(e + 4);
    return index ? kIndexEntryExtra + k : kLeafEntryHeader + k + Get32(e);
}

size_t Size(const Ent& e, bool index)
{
    return index ? kIndexEntryExtra + e.key.size() : kLeafEntryHeader + e.key.size() + e.data.size();
}

// Bytes that entries [a, b) take as a page of their own; an index page stores its first key empty.
size_t ChunkSize(const std::vector<Ent>& v, size_t a, size_t b, bool index)
{
    size_t n = 0;
    for (size_t i = a; i < b; ++i)
        n += Size(v[i], index);
    if (index && a < b)
        n -= v[a].key.size();
    return n;
}

// A leaf or index page as the tree expects it: its own number, sound lengths, children in range.
bool CheckTreePage(const uint8_t* p, uint32_t pgno, uint32_t cap, uint32_t limit)
{
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
        uint64_t sz = index ? uint64_t(kIndexEntryExtra) + Get16(a + off + 4)
                            : uint64_t(kLeafEntryHeader) + Get16(a + off + 4) + Get32(a + off);
        if (sz > used - off)
            return false;
        if (index) {
            uint32_t child = Get32(a + off);
            if (child == 0 || child == pgno || child > limit)
                return false;
            if (n == 0 && Get16(a + off + 4) != 0)
                return false;
        }
        off += uint32_t(sz);
        ++n;
    }
    return !(index && n == 0);
}

std::vector<Ent> Decode(const uint8_t* p, uint32_t cap)
{
    std::vector<Ent> v;
    bool index = IsIndex(p);
    uint32_t used = cap - FreeOf(p);
    const uint8_t* a = p + kPageHeaderSize;
    for (uint32_t off = 0; off < used;) {
        Ent e;
        uint32_t k = Get16(a + off + 4);
        e.key.assign(reinterpret_cast<const char*>(a + off + 6), k);
        if (index) {
            e.child = Get32(a + off);
        } else {
            e.data.assign(reinterpret_cast<const char*>(a + off + 6 + k), Get32(a + off));
        }
        off += EntSize(a + off, index);
        v.push_back(std::move(e));
    }
    return v;
}

// Writes entries [a, b) as the page's contents; the first key of an index page is stored empty.
void Encode(uint8_t* p, uint32_t cap, const std::vector<Ent>& v, size_t a, size_t b)
{
    bool index = IsIndex(p);
    uint8_t* area = Area(p);
    uint32_t off = 0;
    for (size_t i = a; i < b; ++i) {
        const Ent& e = v[i];
        uint32_t k = (index && i == a) ? 0 : uint32_t(e.key.size());
        Put32(area + off, index ? e.child : uint32_t(e.data.size()));
        Put16(area + off + 4, uint16_t(k));
        std::memcpy(area + off + 6, e.key.data(), k);
        if (index) {
            area[off + 6 + k] = 0;
            off += kIndexEntryExtra + k;
        } else {
            std::memcpy(area + off + 6 + k, e.data.data(), e.data.size());
            off += kLeafEntryHeader + k + uint32_t(e.data.size());
        }
    }
    std::memset(area + off, 0, cap - off);
    Put32(p + kPgFree, cap - off);
    p[kPgFlags] |= kFlagDirty;
}

// Leaf search: offset and index of the first entry whose key is not smaller than key.
void LeafSearch(const uint8_t* p, uint32_t cap, const uint8_t* key, uint32_t klen, uint32_t& off, int& idx, bool& eq)
{
    uint32_t used = cap - FreeOf(p);
    const uint8_t* a = p + kPageHeaderSize;
    off = 0;
    idx = 0;
    eq = false;
    while (off < used) {
        const uint8_t* e = a + off;
        int c = CompareKeys(e + 6, Get16(e + 4), key, klen);
        if (c >= 0) {
            eq = c == 0;
            return;
        }
        off += kLeafEntryHeader + Get16(e + 4) + Get32(e);
        ++idx;
    }
}

// Offset of entry idx of a checked page.
uint32_t EntryOffset(const uint8_t* p, int idx)
{
    bool index = IsIndex(p);
    const uint8_t* a = p + kPageHeaderSize;
    uint32_t off = 0;
    for (int i = 0; i < idx; ++i)
        off += EntSize(a + off, index);
    return off;
}

void CopyOut(const uint8_t* e, RecOut& out, bool& found)
{
    uint32_t k = Get16(e + 4), d = Get32(e);
    found = false;
    if (k > out.maxKey || d > out.maxData)
        return;
    std::memcpy(out.key, e + 6, k);
    if (d)
        std::memcpy(out.data, e + 6 + k, d);
    out.keyLen = k;
    out.dataLen = d;
    found = true;
}

} // namespace

uint32_t Tree::Load(uint32_t pgno, PageRef& ref)
{
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

uint32_t Tree::Descend(const uint8_t* key, uint32_t klen, Path& path, PageRef& leaf)
{
    path.n = 0;
    uint32_t pgno = d_.root, parent = 0;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        PageRef ref;
        if (uint32_t st = Load(pgno, ref))
            return st;
        uint8_t* p = ref.data();
        if (Get32(p + kPgLink) != parent && !pg_.ReadOnly()) {
            Put32(p + kPgLink, parent); // links are brought up to date lazily, here
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
            if (i > 0 && CompareKeys(e + 6, Get16(e + 4), key, klen) > 0)
                break;
            chosen = i;
            chosenOff = off;
            off += kIndexEntryExtra + Get16(e + 4);
            ++i;
        }
        // Entries past the chosen one are not needed for the count except at the page end.
        int n = i;
        for (uint32_t o2 = off; o2 < used; o2 += kIndexEntryExtra + Get16(a + o2 + 4))
            ++n;
        st.idx = chosen;
        st.nent = n;
        parent = pgno;
        pgno = Get32(a + chosenOff);
    }
    return LOR_DAMAGED;
}

uint32_t Tree::Save(const uint8_t* key, uint32_t klen, const uint8_t* data, uint32_t dlen, bool& inserted)
{
    inserted = false;
    if (klen == 0)
        return LOR_EMPTY_KEY;
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
    if (uint32_t st = Descend(key, klen, path, leaf))
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
        if (delta < int64_t(FreeOf(p))) {
            std::memmove(a + off + s, a + off + oldSize, used - off - oldSize);
            if (delta < 0)
                std::memset(a + used + delta, 0, size_t(-delta));
            Put32(a + off, dlen);
            std::memcpy(a + off + 6 + klen, data, dlen);
            Put32(p + kPgFree, uint32_t(int64_t(FreeOf(p)) - delta));
            leaf.Dirty();
            return LOR_OK;
        }
    } else {
        inserted = true;
        if (FreeOf(p) >= s) {
            std::memmove(a + off + s, a + off, used - off);
            Put32(a + off, dlen);
            Put16(a + off + 4, uint16_t(klen));
            std::memcpy(a + off + 6, key, klen);
            std::memcpy(a + off + 6 + klen, data, dlen);
            Put32(p + kPgFree, FreeOf(p) - s);
            leaf.Dirty();
            ++d_.count;
            return LOR_OK;
        }
    }
    // The page must be restructured: work on decoded entries.
    std::vector<Ent> ents = Decode(p, cap);
    leaf.Reset();
    Ent e;
    e.key.assign(reinterpret_cast<const char*>(key), klen);
    e.data.assign(reinterpret_cast<const char*>(data), dlen);
    if (eq)
        ents[size_t(idx)] = std::move(e);
    else
        ents.insert(ents.begin() + idx, std::move(e));
    if (uint32_t st = Place(path, path.n - 1, ents, size_t(idx)))
        return st;
    if (inserted)
        ++d_.count;
    return LOR_OK;
}

uint32_t Tree::PutEntry(int level, const Ent& e)
{
    Path path;
    PageRef leaf;
    const uint8_t* k = reinterpret_cast<const uint8_t*>(e.key.data());
    if (uint32_t st = Descend(k, uint32_t(e.key.size()), path, leaf))
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
    std::vector<Ent> ents = Decode(p, cap);
    size_t o = 1;
    while (o < ents.size() && CompareKeys(reinterpret_cast<const uint8_t*>(ents[o].key.data()), uint32_t(ents[o].key.size()), k,
                                          uint32_t(e.key.size())) <= 0)
        ++o;
    ents.insert(ents.begin() + long(o), e);
    if (ChunkSize(ents, 0, ents.size(), true) <= cap) {
        Encode(p, cap, ents, 0, ents.size());
        return LOR_OK;
    }
    ref.Reset();
    return Place(path, pi, ents, o);
}

uint32_t Tree::RemoveFromParent(uint32_t parentPg, int idx, bool& nowEmpty)
{
    PageRef ref;
    if (uint32_t st = Load(parentPg, ref))
        return st;
    uint32_t cap = pg_.Capacity();
    std::vector<Ent> ents = Decode(ref.data(), cap);
    if (idx < 0 || size_t(idx) >= ents.size())
        return LOR_DAMAGED;
    ents.erase(ents.begin() + idx);
    if (!ents.empty())
        ents[0].key.clear(); // a new first entry keeps no key
    nowEmpty = ents.empty();
    Encode(ref.data(), cap, ents, 0, ents.size());
    return LOR_OK;
}

// Gives child idx of parentPg the separator newSep: out of the page, then in again by key.
uint32_t Tree::Resep(int level, uint32_t parentPg, int idx, const std::string& newSep)
{
    PageRef ref;
    if (uint32_t st = Load(parentPg, ref))
        return st;
    uint32_t cap = pg_.Capacity();
    std::vector<Ent> ents = Decode(ref.data(), cap);
    if (idx <= 0 || size_t(idx) >= ents.size())
        return LOR_DAMAGED;
    Ent e = ents[size_t(idx)];
    ents.erase(ents.begin() + idx);
    Encode(ref.data(), cap, ents, 0, ents.size());
    ref.Reset();
    e.key = newSep;
    return PutEntry(level, e);
}

// Finds room for ents (page path.s[pi] with the new entry at o) by moving entries to a neighbour
// under the same parent or by splitting, then brings the parent's separators up to date.
uint32_t Tree::Place(Path& path, int pi, std::vector<Ent>& ents, size_t o)
{
    uint32_t cap = pg_.Capacity();
    const int level = path.n - 1 - pi;
    const bool index = level > 0;
    const uint32_t P = path.s[pi].pg;
    const uint8_t kind = index ? kFlagIndex : kFlagLeaf;

    if (pi == 0) {
        // The root is full: a new root above it, with P as its only child.
        if (path.n > kMaxDepth)
            return LOR_DAMAGED;
        PageRef r;
        if (uint32_t st = pg_.Alloc(d_.id, kFlagIndex, r))
            return st;
        std::vector<Ent> one(1);
        one[0].child = P;
        Encode(r.data(), cap, one, 0, 1);
        PageRef pr;
        if (uint32_t st = pg_.Get(P, pr))
            return st;
        Put32(pr.data() + kPgLink, r.pgno());
        pr.Dirty();
        d_.root = r.pgno();
        for (int i = path.n; i > 0; --i)
            path.s[i] = path.s[i - 1];
        path.s[0] = Step{r.pgno(), 0, 1};
        ++path.n;
        pi = 1;
    }
    const uint32_t parentPg = path.s[pi - 1].pg;
    const int pidx = path.s[pi - 1].idx;
    std::vector<Ent> pe;
    {
        PageRef ref;
        if (uint32_t st = Load(parentPg, ref))
            return st;
        pe = Decode(ref.data(), cap);
    }
    if (pidx < 0 || size_t(pidx) >= pe.size() || pe[size_t(pidx)].child != P)
        return LOR_DAMAGED;
    const size_t n = ents.size();
    const bool atEnd = o + 1 == n;
    const bool hasLeft = pidx > 0, hasRight = size_t(pidx) + 1 < pe.size();

    // Moving a head to the left neighbour L.
    if (hasLeft && o > 0 && !atEnd) {
        PageRef lr;
        if (uint32_t st = Load(pe[size_t(pidx) - 1].child, lr))
            return st;
        std::vector<Ent> le = Decode(lr.data(), cap);
        size_t lused = ChunkSize(le, 0, le.size(), index);
        size_t head = 0;
        for (size_t h = 1; h <= o; ++h) {
            head += Size(ents[h - 1], index);
            size_t moved = head + (index ? pe[size_t(pidx)].key.size() : 0);
            if (lused + moved > cap)
                break;
            if (ChunkSize(ents, h, n, index) <= cap) {
                std::string oldSep = pe[size_t(pidx)].key;
                std::string newSep = ents[h].key;
                if (index)
                    ents[0].key = oldSep;
                le.insert(le.end(), ents.begin(), ents.begin() + long(h));
                Encode(lr.data(), cap, le, 0, le.size());
                lr.Reset();
                PageRef pr;
                if (uint32_t st = Load(P, pr))
                    return st;
                Encode(pr.data(), cap, ents, h, n);
                pr.Reset();
                return Resep(level + 1, parentPg, pidx, newSep);
            }
        }
    }
    // Moving a tail to the right neighbour Q (at the end: the new entry alone).
    if (hasRight) {
        PageRef qr;
        if (uint32_t st = Load(pe[size_t(pidx) + 1].child, qr))
            return st;
        std::vector<Ent> qe = Decode(qr.data(), cap);
        size_t qused = ChunkSize(qe, 0, qe.size(), index);
        size_t first = atEnd ? o : o + 1;
        for (size_t t = first; t < n; ++t) {
            size_t tail = ChunkSize(ents, t, n, index) + (index ? pe[size_t(pidx) + 1].key.size() : 0);
            if (ChunkSize(ents, 0, t, index) > cap)
                continue;
            if (qused + tail > cap)
                continue;
            std::string newSep = ents[t].key;
            if (index && !qe.empty())
                qe[0].key = pe[size_t(pidx) + 1].key;
            qe.insert(qe.begin(), ents.begin() + long(t), ents.end());
            Encode(qr.data(), cap, qe, 0, qe.size());
            qr.Reset();
            PageRef pr;
            if (uint32_t st = Load(P, pr))
                return st;
            Encode(pr.data(), cap, ents, 0, t);
            pr.Reset();
            return Resep(level + 1, parentPg, pidx + 1, newSep);
        }
    }
    // Split: P keeps the first chunk, new pages take the others.
    std::vector<size_t> cuts; // chunk starts after 0
    auto fits2 = [&](size_t c) { return c > 0 && c < n && ChunkSize(ents, 0, c, index) <= cap && ChunkSize(ents, c, n, index) <= cap; };
    size_t pref = atEnd ? o : (o == 0 ? 2 : (ChunkSize(ents, 0, o + 1, index) <= cap ? o + 1 : o));
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
            size_t start = 0;
            for (size_t i = 1; i < n; ++i) {
                if (ChunkSize(ents, start, i + 1, index) > cap) {
                    cuts.push_back(i);
                    start = i;
                }
            }
        }
    }
    std::vector<uint32_t> pages;
    for (size_t c = 0; c < cuts.size(); ++c) {
        size_t a = cuts[c], b = c + 1 < cuts.size() ? cuts[c + 1] : n;
        PageRef nr;
        if (uint32_t st = pg_.Alloc(d_.id, kind, nr))
            return st;
        Put32(nr.data() + kPgLink, parentPg);
        Encode(nr.data(), cap, ents, a, b);
        pages.push_back(nr.pgno());
    }
    {
        PageRef pr;
        if (uint32_t st = Load(P, pr))
            return st;
        Encode(pr.data(), cap, ents, 0, cuts[0]);
    }
    for (size_t c = 0; c < cuts.size(); ++c) {
        Ent sep;
        sep.key = ents[cuts[c]].key;
        sep.child = pages[c];
        if (uint32_t st = PutEntry(level + 1, sep))
            return st;
    }
    return LOR_OK;
}

uint32_t Tree::Delete(const uint8_t* key, uint32_t klen, RecOut* out, bool& found)
{
    found = false;
    if (klen == 0)
        return LOR_EMPTY_KEY;
    if (d_.count == 0 || d_.root == 0)
        return LOR_OK;
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf))
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
        bool fit;
        RecOut all = *out;
        CopyOut(a + off, all, fit);
        if (fit)
            *out = all;
        else
            out->keyLen = out->dataLen = 0;
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
uint32_t Tree::AfterFirstRemoved(Path& path, const std::string& oldKey)
{
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
                newFirst.assign(reinterpret_cast<const char*>(e + 6), Get16(e + 4));
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
            const uint8_t* e = Area(ref.data()) + EntryOffset(ref.data(), pidx);
            bool same = CompareKeys(e + 6, Get16(e + 4), reinterpret_cast<const uint8_t*>(oldKey.data()), uint32_t(oldKey.size())) == 0;
            ref.Reset();
            if (same && haveFirst)
                return Resep(path.n - pi, parentPg, pidx, newFirst);
            return LOR_OK;
        }
        // Leftmost child: its separator lives further up.
    }
    return LOR_OK;
}

uint32_t Tree::Seek(const uint8_t* key, uint32_t klen, RecOut& out, bool& found)
{
    found = false;
    if (d_.root == 0)
        return LOR_OK;
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf))
        return st;
    uint32_t off;
    int idx;
    bool eq;
    LeafSearch(leaf.data(), pg_.Capacity(), key, klen, off, idx, eq);
    if (eq)
        CopyOut(Area(leaf.data()) + off, out, found);
    return LOR_OK;
}

uint32_t Tree::DownToLeaf(uint32_t pg, int depth, bool last, PageRef& leaf)
{
    for (; depth < kMaxDepth; ++depth) {
        PageRef ref;
        if (uint32_t st = Load(pg, ref))
            return st;
        uint8_t* p = ref.data();
        if (!IsIndex(p)) {
            if (FreeOf(p) == pg_.Capacity())
                return LOR_DAMAGED; // only an empty table has an empty leaf, and then no root
            leaf = std::move(ref);
            return LOR_OK;
        }
        uint32_t off = 0;
        if (last) {
            uint32_t used = pg_.Capacity() - FreeOf(p);
            for (uint32_t o = 0; o < used; o += kIndexEntryExtra + Get16(Area(p) + o + 4))
                off = o;
        }
        pg = Get32(Area(p) + off);
    }
    return LOR_DAMAGED;
}

uint32_t Tree::Next(const uint8_t* key, uint32_t klen, RecOut& out, bool& found)
{
    found = false;
    if (d_.root == 0)
        return LOR_OK;
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf))
        return st;
    uint32_t cap = pg_.Capacity();
    uint32_t off;
    int idx;
    bool eq;
    LeafSearch(leaf.data(), cap, key, klen, off, idx, eq);
    if (eq)
        off += EntSize(Area(leaf.data()) + off, false);
    if (off < cap - FreeOf(leaf.data())) {
        CopyOut(Area(leaf.data()) + off, out, found);
        return LOR_OK;
    }
    leaf.Reset();
    for (int pi = path.n - 2; pi >= 0; --pi) {
        if (path.s[pi].idx + 1 < path.s[pi].nent) {
            PageRef ref;
            if (uint32_t st = Load(path.s[pi].pg, ref))
                return st;
            uint32_t child = Get32(Area(ref.data()) + EntryOffset(ref.data(), path.s[pi].idx + 1));
            ref.Reset();
            PageRef lf;
            if (uint32_t st = DownToLeaf(child, pi + 1, false, lf))
                return st;
            CopyOut(Area(lf.data()), out, found);
            return LOR_OK;
        }
    }
    return LOR_OK;
}

uint32_t Tree::Prev(const uint8_t* key, uint32_t klen, RecOut& out, bool& found)
{
    found = false;
    if (d_.root == 0)
        return LOR_OK;
    Path path;
    PageRef leaf;
    if (uint32_t st = Descend(key, klen, path, leaf))
        return st;
    uint32_t off;
    int idx;
    bool eq;
    LeafSearch(leaf.data(), pg_.Capacity(), key, klen, off, idx, eq);
    if (idx > 0) {
        CopyOut(Area(leaf.data()) + EntryOffset(leaf.data(), idx - 1), out, found);
        return LOR_OK;
    }
    leaf.Reset();
    for (int pi = path.n - 2; pi >= 0; --pi) {
        if (path.s[pi].idx > 0) {
            PageRef ref;
            if (uint32_t st = Load(path.s[pi].pg, ref))
                return st;
            uint32_t child = Get32(Area(ref.data()) + EntryOffset(ref.data(), path.s[pi].idx - 1));
            ref.Reset();
            PageRef lf;
            if (uint32_t st = DownToLeaf(child, pi + 1, true, lf))
                return st;
            uint32_t used = pg_.Capacity() - FreeOf(lf.data());
            uint32_t lastOff = 0;
            for (uint32_t o = 0; o < used; o += EntSize(Area(lf.data()) + o, false))
                lastOff = o;
            CopyOut(Area(lf.data()) + lastOff, out, found);
            return LOR_OK;
        }
    }
    return LOR_OK;
}

uint32_t Tree::ZapPage(uint32_t pg, int depth, uint32_t& budget)
{
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
            for (uint32_t o = 0; o < used; o += kIndexEntryExtra + Get16(Area(p) + o + 4))
                children.push_back(Get32(Area(p) + o));
        }
    }
    for (uint32_t c : children)
        if (uint32_t st = ZapPage(c, depth + 1, budget))
            return st;
    return pg_.Release(pg);
}

uint32_t Tree::Zap()
{
    uint32_t st = LOR_OK;
    if (d_.root) {
        uint32_t budget = pg_.Limit();
        st = ZapPage(d_.root, 0, budget);
    }
    d_.root = 0;
    d_.count = 0;
    return st;
}

uint32_t Tree::VerifyPage(uint32_t pg, int depth, int& leafDepth, std::vector<std::string>* keys, const std::string* lo,
                          const std::string* hi, uint32_t& budget)
{
    if (depth >= kMaxDepth || budget == 0)
        return LOR_DAMAGED;
    --budget;
    std::vector<Ent> ents;
    bool index;
    {
        PageRef ref;
        if (uint32_t st = Load(pg, ref))
            return st;
        index = IsIndex(ref.data());
        ents = Decode(ref.data(), pg_.Capacity());
    }
    if (ents.empty())
        return LOR_DAMAGED;
    auto inRange = [&](const std::string& k) { return (!lo || k >= *lo) && (!hi || k < *hi); };
    if (!index) {
        if (leafDepth < 0)
            leafDepth = depth;
        if (leafDepth != depth)
            return LOR_DAMAGED;
        for (size_t i = 0; i < ents.size(); ++i) {
            if (!inRange(ents[i].key) || (i && !(ents[i - 1].key < ents[i].key)))
                return LOR_DAMAGED;
            if (keys)
                keys->push_back(ents[i].key);
        }
        return LOR_OK;
    }
    for (size_t i = 0; i < ents.size(); ++i) {
        if (i && (!inRange(ents[i].key) || (i > 1 && !(ents[i - 1].key < ents[i].key))))
            return LOR_DAMAGED;
        const std::string* clo = i ? &ents[i].key : lo;
        const std::string* chi = i + 1 < ents.size() ? &ents[i + 1].key : hi;
        if (uint32_t st = VerifyPage(ents[i].child, depth + 1, leafDepth, keys, clo, chi, budget))
            return st;
    }
    return LOR_OK;
}

uint32_t Tree::Verify(std::vector<std::string>* keys, int* depth)
{
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
