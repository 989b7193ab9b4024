// B+-tree layer of the table store: records of one table in key order over the pager.
// Every page read from the file is checked before use; damage comes back as LOR_DAMAGED.
#pragma once

#include "pager.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace lor {

constexpr int kMaxDepth = 32; // deeper than any real tree; stops cycles in page links

// Leaf entry: u32 data length, u16 key length, key, data. Index entry: u32 child, u16 key length,
// key, u8 0; the first entry of an index page has an empty key. Offsets within an entry:
constexpr uint32_t kEntDataLen = 0; // leaf: u32 data length
constexpr uint32_t kEntChild = 0;   // index: u32 child page
constexpr uint32_t kEntKeyLen = 4;  // u16 key length
constexpr uint32_t kEntKey = 6;     // the key (a leaf's data follow it)
constexpr uint32_t kLeafEntryHeader = 6;
constexpr uint32_t kIndexEntryExtra = 7;

// Unsigned byte order, the shorter key first on a tie.
int CompareKeys(const uint8_t* a, uint32_t alen, const uint8_t* b, uint32_t blen);

// The locating part of a table's directory record.
struct TreeDesc {
    uint32_t id = 0;
    uint32_t root = 0;
    uint32_t count = 0;
    uint8_t blob = 0;
};

// Where a read puts the record; a record larger than the maxima is not returned.
struct RecOut {
    uint8_t* key = nullptr;
    uint32_t maxKey = 0;
    uint32_t keyLen = 0;
    uint8_t* data = nullptr;
    uint32_t maxData = 0;
    uint32_t dataLen = 0;
};

class Tree {
public:
    struct Cursor;
    Tree(Pager& pager, TreeDesc& desc, Cursor* cursor = nullptr) : pg_(pager), d_(desc), cur_(cursor) {}

    // Largest key a table of this page size accepts (an index page must hold two separators).
    static uint32_t MaxKey(uint32_t pageSize) { return pageSize - kPageHeaderSize - 2 * kIndexEntryExtra; }

    // Insert or replace; inserted tells which. Status 0 or a LOR_* code.
    [[nodiscard]] uint32_t Save(const uint8_t* key, uint32_t klen, const uint8_t* data, uint32_t dlen,
                                bool& inserted);
    // Removes the record with exactly this key, copying it to out (may be null) first; a record
    // larger than out's maxima is neither returned nor removed.
    [[nodiscard]] uint32_t Delete(const uint8_t* key, uint32_t klen, RecOut* out, bool& found);
    [[nodiscard]] uint32_t Seek(const uint8_t* key, uint32_t klen, RecOut& out, bool& found);
    // First record with a key greater than key / last with a key smaller than key.
    [[nodiscard]] uint32_t Next(const uint8_t* key, uint32_t klen, RecOut& out, bool& found);
    [[nodiscard]] uint32_t Prev(const uint8_t* key, uint32_t klen, RecOut& out, bool& found);
    // Releases every page of the record tree; root and count become 0.
    [[nodiscard]] uint32_t Zap();
    // Checks that every record is reachable in order and every page well formed; test aid.
    [[nodiscard]] uint32_t Verify(std::vector<std::string>* keys, int* depth = nullptr);

    // An entry being moved: views into copies of page images (see Arena) or the caller's bytes.
    struct Ent {
        std::string_view key;
        std::string_view data;
        uint32_t child = 0;
    };
    // Copies of page images that decoded entries point into, alive for one restructuring.
    using Arena = std::deque<std::vector<uint8_t>>;
    struct Step {
        uint32_t pg = 0;
        int idx = 0;  // chosen entry of an index page
        int nent = 0; // entries of the page
    };
    struct Path {
        Step s[kMaxDepth + 1];
        int n = 0;
    };
    // Where the last read of a table ended, so that a walk steps on without a descent. Valid
    // only while the file is unchanged (stamp) and for the key that read returned.
    struct Cursor {
        uint64_t stamp = 0;
        Path path;
        uint32_t off = 0;  // the entry returned last
        uint32_t size = 0; // and its size
        std::string key;
    };

private:
    [[nodiscard]] uint32_t Load(uint32_t pgno, PageRef& ref);
    // repair: bring stale parent links of the pages passed up to date (writes only; a read never
    // changes the file).
    [[nodiscard]] uint32_t Descend(const uint8_t* key, uint32_t klen, Path& path, PageRef& leaf, bool repair);
    // A page being placed and what its parent says of it and of its neighbours.
    struct Siblings {
        int level = 0;      // 0 for a leaf
        bool index = false; // level > 0
        uint32_t page = 0, parent = 0, left = 0, right = 0;
        int at = 0;                    // the page's entry in the parent
        std::string sepPage, sepRight; // separators of the page and of its right neighbour
    };
    [[nodiscard]] uint32_t PutEntry(int level, const Ent& e);
    [[nodiscard]] uint32_t Place(Path& path, int pi, std::vector<Ent>& ents, size_t o);
    [[nodiscard]] uint32_t GrowRoot(Path& path);
    [[nodiscard]] uint32_t ReadSiblings(const Path& path, int pi, Siblings& sib);
    [[nodiscard]] uint32_t ShiftLeft(const Siblings& sib, std::vector<Ent>& ents, size_t o, bool& done);
    [[nodiscard]] uint32_t ShiftRight(const Siblings& sib, std::vector<Ent>& ents, size_t o, bool& done);
    [[nodiscard]] uint32_t Split(const Siblings& sib, std::vector<Ent>& ents, size_t o);
    [[nodiscard]] uint32_t RemoveFromParent(uint32_t parentPg, int idx, bool& nowEmpty);
    [[nodiscard]] uint32_t Resep(int level, uint32_t parentPg, int idx, std::string_view newSep);
    [[nodiscard]] uint32_t AfterFirstRemoved(Path& path, const std::string& oldKey);
    [[nodiscard]] uint32_t DownToLeaf(Path& path, int pi, uint32_t child, bool last, uint32_t& off);
    [[nodiscard]] uint32_t StepNext(Path& path, uint32_t& off, RecOut& out, bool& found);
    [[nodiscard]] uint32_t StepPrev(Path& path, uint32_t& off, RecOut& out, bool& found);
    // Next (forward) or Prev: steps on from the remembered position when key is the last one read.
    [[nodiscard]] uint32_t Walk(const uint8_t* key, uint32_t klen, RecOut& out, bool& found, bool forward);
    bool CursorAt(const uint8_t* key, uint32_t klen) const;
    // Whether key sorts after the record returned last; leaf then receives that record's leaf.
    bool AfterCursor(const uint8_t* key, uint32_t klen, PageRef& leaf);
    void Remember(const Path& path, uint32_t off, const RecOut& out);
    [[nodiscard]] uint32_t ZapPage(uint32_t pg, int depth, uint32_t& budget);
    [[nodiscard]] uint32_t VerifyPage(uint32_t pg, int depth, int& leafDepth, std::vector<std::string>* keys,
                                      const std::string_view* lo, const std::string_view* hi,
                                      uint32_t& budget);

    Pager& pg_;
    TreeDesc& d_;
    Cursor* cur_;
};

} // namespace lor
