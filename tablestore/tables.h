// Tables layer of the table store: bases (open files), the table directory, table descriptors
// and handles, blobs and file restore. Callers hold the library lock.
#pragma once

#include "btree.h"
#include "pager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lor {

constexpr uint32_t kMaxTableName = 119;
constexpr uint32_t kDirRecordSize = 13; // u32 id, u32 root, u32 count, u8 blob flag
constexpr uint32_t kDirRecId = 0;       // offsets within a directory record
constexpr uint32_t kDirRecRoot = 4;
constexpr uint32_t kDirRecCount = 8;
constexpr uint32_t kDirRecBlob = 12;
constexpr uint32_t kDirId = 1;
constexpr uint32_t kDirSelfKeyLen = 2; // the directory's own record: key 01 00
constexpr uint32_t kNewDirPage = 1;    // a new file: the directory's root page
constexpr uint32_t kNewFreeHead = 2;   // and the first free page after it

// 16-bit checksum of a table name, spread as bits 0-7 and 16-23 of the id.
uint32_t TableId(const std::string& name);

struct Base;

struct Descriptor {
    std::string name; // without the terminating zero
    TreeDesc t;
    int refs = 0;
    Tree::Cursor cursor; // where the last read ended
};

struct Table {
    Base* base = nullptr;
    Descriptor* desc = nullptr;
    uint32_t handle = 0;
};

struct Base {
    uint32_t handle = 0;
    std::unique_ptr<Pager> pager;
    bool readOnly = false;
    uint32_t status = 0;
    std::string path;
    uint64_t dev = 0, ino = 0;
    int refs = 0;
    Descriptor dirDesc; // the directory, open as long as the base
    Table dirTable;
    std::vector<std::unique_ptr<Table>> tables; // open table handles
    std::vector<std::unique_ptr<Descriptor>> descs;

    // Fails (with a status) when the base cannot take a write.
    [[nodiscard]] bool Writable();
    [[nodiscard]] bool Usable();
};

// Creates (or truncates) a file with its header and directory page; false on failure.
[[nodiscard]] bool CreateBaseFile(const std::string& path, uint32_t size);
// Opens path; on failure returns the status and leaves out empty.
// What a writer would find at path (see BaseFileState), read without opening it for writing.
[[nodiscard]] uint32_t FileState(const std::string& path);
[[nodiscard]] uint32_t OpenBaseFile(const std::string& path, uint32_t pageSize, bool readOnly,
                                    std::unique_ptr<Base>& out);
// Closes every table and the file; the status tells how the header write and close went.
void CloseBaseFile(Base& b);
[[nodiscard]] bool FlushBaseFile(Base& b);

Table* OpenTableIn(Base& b, const std::string& name);
void CloseTableIn(Table* t);
bool TableExists(Base& b, const std::string& name);
[[nodiscard]] bool DeleteTable(Base& b, const std::string& name);
[[nodiscard]] bool RenameTable(Base& b, const std::string& oldName, const std::string& newName);
std::string ListTables(Base& b);
[[nodiscard]] bool WriteDescriptor(Base& b, Descriptor& d);

// Record operations on a table; false when not found or failed (status in the base).
[[nodiscard]] bool SaveRecord(Table& t, const uint8_t* key, uint32_t klen, const uint8_t* data,
                              uint32_t dlen);
[[nodiscard]] bool DeleteRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out);
[[nodiscard]] bool SeekRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out);
[[nodiscard]] bool NextRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out);
[[nodiscard]] bool PrevRecord(Table& t, const uint8_t* key, uint32_t klen, RecOut& out);
[[nodiscard]] bool ZapRecords(Table& t);

[[nodiscard]] bool SaveBlob(Table& t, const uint8_t* data, uint32_t len);
[[nodiscard]] bool ReadBlob(Table& t, uint8_t* out);
[[nodiscard]] bool DeleteBlob(Table& t);

// Rebuilds path from the leaf and blob pages of its old contents, kept under a "$" name. LOR_OK, or
// the first failure: the old file could not be moved or read (then no new file is made), or a
// write to the new one failed (which then keeps its in-use mark). Records that the old file's
// damage made unsavable are skipped, as damaged pages are.
[[nodiscard]] uint32_t RestoreFile(const std::string& path);
std::string BackupName(const std::string& path);

} // namespace lor
