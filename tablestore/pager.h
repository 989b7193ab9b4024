// Pager layer of the table store: file header, page images in a shared per-page-size cache,
// page allocation and release through the free list. Sits on the file layer.
#pragma once

#include "lorfile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lor {

// File header (see FORMAT.md).
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kHdrMagic = 0;     // u8
constexpr uint32_t kHdrInUse = 1;     // u8
constexpr uint32_t kHdrPageSize = 2;  // u32
constexpr uint32_t kHdrDirRoot = 6;   // u32
constexpr uint32_t kHdrFreeHead = 10; // u32
constexpr uint8_t kMagic = 0x56;

// Page header.
constexpr uint32_t kPgNumber = 0; // u32
constexpr uint32_t kPgOwner = 4;  // u32 (free page: next free page)
constexpr uint32_t kPgLink = 8;   // u32 parent page, or next blob page
constexpr uint32_t kPgFree = 12;  // u32 free bytes of the entry area
constexpr uint32_t kPgFlags = 16; // u8
constexpr uint32_t kPageHeaderSize = 17;

constexpr uint8_t kFlagIndex = 0x01;
constexpr uint8_t kFlagLeaf = 0x02;
constexpr uint8_t kFlagDirty = 0x04;
constexpr uint8_t kFlagBlob = 0x10;
constexpr uint8_t kFlagDiskMask = 0x13; // bits that survive a read
constexpr uint8_t kKindMask = 0x13;

constexpr uint32_t kMinPageSize = 512;
constexpr uint32_t kMaxPageSize = 65536;

inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// Page size for a requested size: low nine bits cleared; 0 when out of range.
uint32_t NormalPageSize(uint32_t size);
// Slot count of the cache for a page size while no table is open.
uint32_t CacheCapacity(uint32_t pageSize);
// Slots the cache adds for every table open in a file of its page size: a descent path and the
// neighbours a split touches. Without them a save, which writes three channel tables in step,
// evicts each table's path while writing the next and reads every page again.
constexpr uint32_t kSlotsPerTable = 8;

class Pager;

struct Slot {
    Pager* owner = nullptr; // null: unassigned
    uint32_t pgno = 0;
    int pins = 0;
    bool checked = false; // contents validated as a tree page since it was loaded
    Slot* prev = nullptr; // towards the most recently used end
    Slot* next = nullptr;
    std::vector<uint8_t> img;
};

// A pinned page image: the slot is not reused while a reference exists.
class PageRef {
public:
    PageRef() = default;
    explicit PageRef(Slot* s) : s_(s) { ++s_->pins; }
    PageRef(PageRef&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
    PageRef& operator=(PageRef&& o) noexcept {
        if (this != &o) {
            Reset();
            s_ = o.s_;
            o.s_ = nullptr;
        }
        return *this;
    }
    PageRef(const PageRef&) = delete;
    PageRef& operator=(const PageRef&) = delete;
    ~PageRef() { Reset(); }

    void Reset() {
        if (s_)
            --s_->pins;
        s_ = nullptr;
    }
    explicit operator bool() const { return s_ != nullptr; }
    uint8_t* data() const { return s_->img.data(); }
    uint32_t pgno() const { return s_->pgno; }
    void Dirty() { s_->img[kPgFlags] |= kFlagDirty; }
    bool& checked() { return s_->checked; }

private:
    Slot* s_ = nullptr;
};

// Pages of one page size, shared by every open file of that size; most recently used first,
// unassigned slots last. CacheCapacity slots, and kSlotsPerTable more per open table.
class Cache {
public:
    explicit Cache(uint32_t pageSize);
    uint32_t PageSize() const { return pageSize_; }
    uint32_t Capacity() const { return uint32_t(slots_.size()); }
    // Finds or loads a page of p; returns a status (0 on success).
    [[nodiscard]] uint32_t Fetch(Pager* p, uint32_t pgno, PageRef& out);
    // Writes p's dirty pages in page order; false on a write failure.
    [[nodiscard]] bool FlushOwner(Pager* p);
    // Unassigns p's slots (after its dirty pages were written or given up).
    void ReleaseOwner(Pager* p);
    int OwnerCount(const Pager* p) const;
    // Tables opened (delta > 0) or closed in files of this page size: the capacity follows.
    void TablesOpened(int delta);

private:
    struct Key {
        const Pager* owner;
        uint32_t pgno;
        bool operator==(const Key& o) const { return owner == o.owner && pgno == o.pgno; }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return std::hash<const void*>()(k.owner) ^ (size_t(k.pgno) * 0x9E3779B97F4A7C15ull);
        }
    };

    static size_t RecentAt(const Pager* p, uint32_t pgno) {
        const uint64_t h =
            uint64_t(reinterpret_cast<uintptr_t>(p)) ^ (uint64_t(pgno) * 0x9E3779B97F4A7C15ull);
        return size_t(h >> 32) & (kRecent - 1);
    }
    void MoveToFront(Slot* s);
    void MoveToBack(Slot* s);
    void Unlink(Slot* s);
    void AddSlot();
    // Writes a dirty image back for eviction; false only when the write failed for p's own file.
    [[nodiscard]] bool WriteBack(Slot* s, const Pager* p);
    // Frees unpinned slots from the least recent end down to the target capacity.
    void Trim();

    uint32_t pageSize_;
    uint32_t target_;
    int tables_ = 0;
    std::vector<std::unique_ptr<Slot>> slots_;
    std::unordered_map<Key, Slot*, KeyHash> index_; // assigned slots
    // A slot met lately at each hash position, checked before the map: a descent asks for every
    // page on its path and the map's lookup was a tenth of a save. An entry is only a guess (the
    // slot's own key decides); entries go when a slot is freed.
    static constexpr size_t kRecent = 256;
    std::array<Slot*, kRecent> recent_{};
    Slot* head_ = nullptr; // most recent
    Slot* tail_ = nullptr; // least recent
};

// The cache for a page size, created on first use and kept for the life of the process.
Cache* CacheFor(uint32_t pageSize);

// One open page file.
class Pager {
public:
    Pager(std::unique_ptr<File> file, const uint8_t header[kFileHeaderSize], bool readOnly);
    ~Pager();

    uint32_t PageSize() const { return pageSize_; }
    uint32_t Capacity() const { return pageSize_ - kPageHeaderSize; } // entry area bytes
    bool ReadOnly() const { return readOnly_; }
    bool Broken() const { return broken_; }
    uint32_t DirRoot() const { return dirRoot_; }
    void SetDirRoot(uint32_t r) { dirRoot_ = r; }
    uint32_t FreeHead() const { return freeHead_; }
    // Highest page number that may be referenced: the file's pages and those allocated since.
    uint32_t Limit() const { return limit_; }
    Cache* GetCache() const { return cache_; }
    // Counts changes to the file's pages; remembered positions are valid while it stays.
    uint64_t Changes() const { return changes_; }
    void Touch() { ++changes_; }

    // Page image by number (fresh empty page beyond the end of the file); 0 or a status.
    [[nodiscard]] uint32_t Get(uint32_t pgno, PageRef& out);
    // A table of this file was opened or closed (the directory counts as one while the file is open).
    void TableOpened();
    void TableClosed();
    // Takes the free-list head for a table; kind is kFlagLeaf, kFlagIndex or kFlagBlob.
    [[nodiscard]] uint32_t Alloc(uint32_t owner, uint8_t kind, PageRef& out);
    // Puts a page at the head of the free list.
    [[nodiscard]] uint32_t Release(uint32_t pgno);

    // Page I/O used by the cache; a failed write marks the pager broken.
    [[nodiscard]] bool LoadPage(uint32_t pgno, uint8_t* img);
    [[nodiscard]] bool StorePage(uint32_t pgno, uint8_t* img);

    [[nodiscard]] bool Flush(); // dirty pages to the file
    [[nodiscard]] bool Sync();  // file buffers to the disk
    [[nodiscard]] bool WriteHeader(bool inUse);
    [[nodiscard]] bool CloseFile();
    uint64_t FileLength();

private:
    // Gives up the file's slots and its share of the cache.
    void LeaveCache();

    std::unique_ptr<File> file_;
    Cache* cache_;
    uint32_t pageSize_;
    uint32_t dirRoot_;
    uint32_t freeHead_;
    uint32_t limit_;
    // Pages the file holds, a cut last one counted: a writer knows that beyond them a read finds
    // nothing, and takes a fresh page there without asking the file.
    uint32_t filePages_;
    bool readOnly_;
    bool broken_ = false;
    uint64_t changes_ = 1;
    int tables_ = 0;
};

} // namespace lor
