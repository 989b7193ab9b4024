// Pager layer of the table store: per-page-size caches, page load/store, free list.
#include "pager.h"

#include "lorstatus.h"

#include <algorithm>
#include <map>

namespace lor {

uint32_t NormalPageSize(uint32_t size) {
    uint32_t ps = size & ~uint32_t(511);
    if (ps < kMinPageSize || ps > kMaxPageSize)
        return 0;
    return ps;
}

uint32_t CacheCapacity(uint32_t pageSize) {
    uint32_t n = pageSize == 1024 ? 40 : pageSize == 2048 ? 20 : 10;
    return n < 3 ? 3 : n;
}

// ---- Cache ----

Cache::Cache(uint32_t pageSize) : pageSize_(pageSize), target_(CacheCapacity(pageSize)) {
    while (slots_.size() < target_)
        AddSlot();
}

void Cache::AddSlot() {
    auto s = std::make_unique<Slot>();
    s->img.assign(pageSize_, 0);
    Slot* raw = s.get();
    slots_.push_back(std::move(s));
    raw->prev = tail_;
    if (tail_)
        tail_->next = raw;
    else
        head_ = raw;
    tail_ = raw;
}

void Cache::Unlink(Slot* s) {
    if (s->prev)
        s->prev->next = s->next;
    else
        head_ = s->next;
    if (s->next)
        s->next->prev = s->prev;
    else
        tail_ = s->prev;
    s->prev = s->next = nullptr;
}

void Cache::MoveToFront(Slot* s) {
    if (head_ == s)
        return;
    Unlink(s);
    s->next = head_;
    if (head_)
        head_->prev = s;
    head_ = s;
    if (!tail_)
        tail_ = s;
}

void Cache::MoveToBack(Slot* s) {
    if (tail_ == s)
        return;
    Unlink(s);
    s->prev = tail_;
    if (tail_)
        tail_->next = s;
    tail_ = s;
    if (!head_)
        head_ = s;
}

bool Cache::WriteBack(Slot* s, const Pager* p) {
    if (!s->owner || !(s->img[kPgFlags] & kFlagDirty) || s->owner->StorePage(s->pgno, s->img.data()))
        return true;
    if (s->owner == p)
        return false;
    // Another file's failed write: that base refuses work now; this one goes on.
    s->img[kPgFlags] &= uint8_t(~kFlagDirty);
    return true;
}

uint32_t Cache::Fetch(Pager* p, uint32_t pgno, PageRef& out) {
    // A walk asks for the same leaf again and again; two walks in step (a load reads a table and
    // its companion record by record) ask for the two most recent leaves in turn.
    if (head_ && head_->owner == p && head_->pgno == pgno) {
        out = PageRef(head_);
        return LOR_OK;
    }
    if (Slot* second = head_ ? head_->next : nullptr; second && second->owner == p && second->pgno == pgno) {
        MoveToFront(second);
        out = PageRef(second);
        return LOR_OK;
    }
    Slot*& recent = recent_[RecentAt(p, pgno)];
    if (recent && recent->owner == p && recent->pgno == pgno) {
        MoveToFront(recent);
        out = PageRef(recent);
        return LOR_OK;
    }
    auto hit = index_.find(Key{p, pgno});
    if (hit != index_.end()) {
        recent = hit->second;
        MoveToFront(hit->second);
        out = PageRef(hit->second);
        return LOR_OK;
    }
    // Unassigned slots wait at the least recent end; otherwise the least recent unpinned one.
    Slot* victim = tail_;
    while (victim && victim->owner && victim->pins > 0)
        victim = victim->prev;
    if (!victim)
        return LOR_IO_ERROR; // every slot pinned: cannot happen with the depth limits
    if (victim->owner) {
        if (!WriteBack(victim, p))
            return LOR_IO_ERROR;
        index_.erase(Key{victim->owner, victim->pgno});
    }
    victim->owner = nullptr;
    victim->checked = false;
    if (!p->LoadPage(pgno, victim->img.data())) {
        MoveToBack(victim);
        return LOR_CANNOT_OPEN;
    }
    victim->owner = p;
    victim->pgno = pgno;
    index_.emplace(Key{p, pgno}, victim);
    recent = victim;
    MoveToFront(victim);
    out = PageRef(victim);
    return LOR_OK;
}

bool Cache::FlushOwner(Pager* p) {
    std::vector<Slot*> dirty;
    for (auto& s : slots_)
        if (s->owner == p && (s->img[kPgFlags] & kFlagDirty))
            dirty.push_back(s.get());
    std::sort(dirty.begin(), dirty.end(), [](const Slot* a, const Slot* b) { return a->pgno < b->pgno; });
    bool ok = true;
    for (Slot* s : dirty)
        if (!p->StorePage(s->pgno, s->img.data()))
            ok = false;
    return ok;
}

void Cache::ReleaseOwner(Pager* p) {
    for (auto& s : slots_) {
        if (s->owner == p) {
            index_.erase(Key{p, s->pgno});
            s->owner = nullptr;
            s->pgno = 0;
            s->checked = false;
            MoveToBack(s.get());
        }
    }
    Trim();
}

int Cache::OwnerCount(const Pager* p) const {
    int n = 0;
    for (auto& s : slots_)
        n += s->owner == p;
    return n;
}

void Cache::TablesOpened(int delta) {
    tables_ += delta;
    target_ = CacheCapacity(pageSize_) + kSlotsPerTable * uint32_t(tables_ > 0 ? tables_ : 0);
    while (slots_.size() < target_)
        AddSlot();
    Trim();
}

void Cache::Trim() {
    Slot* s = tail_;
    while (s && slots_.size() > target_) {
        Slot* prev = s->prev;
        if (s->pins == 0 && WriteBack(s, nullptr)) {
            if (s->owner)
                index_.erase(Key{s->owner, s->pgno});
            Unlink(s);
            auto it = std::find_if(slots_.begin(), slots_.end(), [s](auto& u) { return u.get() == s; });
            std::replace(recent_.begin(), recent_.end(), s, static_cast<Slot*>(nullptr));
            std::swap(*it, slots_.back());
            slots_.pop_back();
        }
        s = prev;
    }
}

Cache* CacheFor(uint32_t pageSize) {
    // Never destroyed before the bases that use it: the process-exit close runs first.
    static std::map<uint32_t, std::unique_ptr<Cache>>* caches =
        new std::map<uint32_t, std::unique_ptr<Cache>>;
    auto& c = (*caches)[pageSize];
    if (!c)
        c = std::make_unique<Cache>(pageSize);
    return c.get();
}

// ---- Pager ----

Pager::Pager(std::unique_ptr<File> file, const uint8_t header[kFileHeaderSize], bool readOnly)
    : file_(std::move(file)), readOnly_(readOnly) {
    pageSize_ = Get32(header + kHdrPageSize);
    dirRoot_ = Get32(header + kHdrDirRoot);
    freeHead_ = Get32(header + kHdrFreeHead);
    cache_ = CacheFor(pageSize_);
    const int64_t size = file_ ? file_->Size() : -1;
    const uint64_t len = size < 0 ? 0 : uint64_t(size);
    uint64_t pages = len > kFileHeaderSize ? (len - kFileHeaderSize) / pageSize_ : 0;
    limit_ = pages > 0xFFFFFF00u ? 0xFFFFFF00u : uint32_t(pages);
    const uint64_t held = len > kFileHeaderSize ? (len - kFileHeaderSize + pageSize_ - 1) / pageSize_ : 0;
    // Readers share the file with a writer, and an unknown length promises nothing: both read.
    filePages_ = readOnly_ || size < 0 || held > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(held);
}

Pager::~Pager() { LeaveCache(); }

void Pager::LeaveCache() {
    cache_->ReleaseOwner(this);
    cache_->TablesOpened(-tables_);
    tables_ = 0;
}

void Pager::TableOpened() {
    ++tables_;
    cache_->TablesOpened(1);
}

void Pager::TableClosed() {
    if (tables_ == 0)
        return;
    --tables_;
    cache_->TablesOpened(-1);
}

uint64_t Pager::FileLength() {
    int64_t n = file_ ? file_->Size() : -1;
    return n < 0 ? 0 : uint64_t(n);
}

bool Pager::LoadPage(uint32_t pgno, uint8_t* img) {
    uint64_t off = uint64_t(pgno - 1) * pageSize_ + kFileHeaderSize;
    int64_t n = pgno > filePages_ ? 0 : file_->Read(off, img, pageSize_);
    if (n < 0)
        return false;
    if (n == 0) {
        // Beyond the end of the file: a fresh free page whose successor is the next number.
        std::memset(img, 0, pageSize_);
        Put32(img + kPgNumber, pgno);
        Put32(img + kPgOwner, pgno + 1);
        Put32(img + kPgFree, Capacity());
        return true;
    }
    if (uint32_t(n) < pageSize_)
        std::memset(img + n, 0, pageSize_ - uint32_t(n)); // cut file: the page checks catch it
    img[kPgFlags] &= kFlagDiskMask;
    return true;
}

bool Pager::StorePage(uint32_t pgno, uint8_t* img) {
    if (readOnly_ || broken_) {
        // Nothing may reach a read-only file, nor a file whose base refuses work after a failure.
        img[kPgFlags] &= uint8_t(~kFlagDirty);
        return true;
    }
    uint64_t off = uint64_t(pgno - 1) * pageSize_ + kFileHeaderSize;
    if (!file_->Write(off, img, pageSize_)) {
        broken_ = true;
        return false;
    }
    filePages_ = std::max(filePages_, pgno);
    img[kPgFlags] &= uint8_t(~kFlagDirty);
    return true;
}

uint32_t Pager::Get(uint32_t pgno, PageRef& out) {
    if (broken_)
        return LOR_IO_ERROR;
    if (pgno == 0)
        return LOR_DAMAGED;
    return cache_->Fetch(this, pgno, out);
}

uint32_t Pager::Alloc(uint32_t owner, uint8_t kind, PageRef& out) {
    Touch();
    uint32_t head = freeHead_;
    if (head == 0 || head > limit_ + 1)
        return LOR_DAMAGED;
    PageRef r;
    if (uint32_t st = Get(head, r))
        return st;
    uint8_t* p = r.data();
    uint32_t next = Get32(p + kPgOwner);
    // The head must be a free page: no kind bits, its own number, a successor in range.
    if ((p[kPgFlags] & kKindMask) || Get32(p + kPgNumber) != head || next == 0 ||
        next > (limit_ > head ? limit_ : head) + 1)
        return LOR_DAMAGED;
    std::memset(p, 0, pageSize_);
    Put32(p + kPgNumber, head);
    Put32(p + kPgOwner, owner);
    Put32(p + kPgFree, Capacity());
    p[kPgFlags] = uint8_t(kind | kFlagDirty);
    r.checked() = false;
    freeHead_ = next;
    if (head > limit_)
        limit_ = head;
    out = std::move(r);
    return LOR_OK;
}

uint32_t Pager::Release(uint32_t pgno) {
    Touch();
    if (pgno == freeHead_)
        return LOR_OK;
    PageRef r;
    if (uint32_t st = Get(pgno, r))
        return st;
    uint8_t* p = r.data();
    Put32(p + kPgLink, 0);
    Put32(p + kPgOwner, freeHead_);
    Put32(p + kPgFree, Capacity());
    p[kPgFlags] = kFlagDirty;
    r.checked() = false;
    freeHead_ = pgno;
    return LOR_OK;
}

bool Pager::Flush() {
    if (readOnly_)
        return true;
    return cache_->FlushOwner(this) && !broken_;
}

bool Pager::Sync() {
    if (readOnly_)
        return true;
    return file_->Sync();
}

bool Pager::WriteHeader(bool inUse) {
    uint8_t h[kFileHeaderSize];
    h[kHdrMagic] = kMagic;
    h[kHdrInUse] = inUse ? 1 : 0;
    Put32(h + kHdrPageSize, pageSize_);
    Put32(h + kHdrDirRoot, dirRoot_);
    Put32(h + kHdrFreeHead, freeHead_);
    return file_->Write(0, h, kFileHeaderSize);
}

bool Pager::CloseFile() {
    LeaveCache();
    bool ok = file_ ? file_->Close() : true;
    file_.reset();
    return ok;
}

} // namespace lor
