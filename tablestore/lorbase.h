// Public interface of the table store library lorbase: C exports over 32-bit handles and the
// record cursor TOFT. Top of the tablestore layer; the program and the model include only this.
#pragma once

#include <cstdint>

#include "lorstatus.h"

#if defined(LORBASE_BUILD)
#define LORBASE_API __attribute__((visibility("default")))
#else
#define LORBASE_API
#endif

// Handles are 32-bit values greater than 32 that the library maps to its own objects.
// OpenBase may return 9 or 18 (a status) instead of a handle; CloseBase ignores such values.
typedef uint32_t LORHANDLE;

// Whether a value the library returned is a handle rather than a status (every status is 32 or less).
constexpr bool IsBaseHandle(LORHANDLE h) { return h > 32; }

extern "C" {

// Same signature as the runtime's message-box handler: text and caption in Windows-1251.
typedef int (*TMessageBoxHandler)(const char* text, const char* caption, unsigned flags);

// Paths are in the system's own encoding (UTF-8 file names), as any Linux caller passes them; a
// program that keeps Windows-1251 text converts before it calls (the runtime's NativePath).
// Base level. readOnly != 0 opens without writing; a missing path is created (writable only).
[[nodiscard]] LORBASE_API LORHANDLE OpenBase(const char* path, uint32_t pageSize, int readOnly);
[[nodiscard]] LORBASE_API int CreateBase(const char* path, uint32_t size);
// Rebuilds the base at path from its leaf and blob pages; the old file stays under a "$" name.
// 0, or the first failure: 18 for a base open in this process; 2, 3, 10 or 11 when the old file
// cannot be moved or read as a base (no new file is made); 9 when the new file cannot be made;
// another status (19 for a failed page write) when the new file could not be filled.
[[nodiscard]] LORBASE_API int RestoreBase(const char* path);
// Writes every table name followed by "\n" and a final zero; out must hold them all.
LORBASE_API void InfoBase(LORHANDLE base, char* out);
LORBASE_API void CloseBase(LORHANDLE base);
LORBASE_API int IsTable(LORHANDLE base, const char* name);
LORBASE_API void FlushBase(LORHANDLE base);

// Table level.
[[nodiscard]] LORBASE_API LORHANDLE OpenTable(LORHANDLE base, const char* name);
[[nodiscard]] LORBASE_API int DelTable(LORHANDLE base, const char* name);
[[nodiscard]] LORBASE_API int RenTable(LORHANDLE base, const char* oldName, const char* newName);
[[nodiscard]] LORBASE_API LORHANDLE MetaTable(LORHANDLE base);
// 0 only for a handle that is no open table, so a caller may leave the answer unread.
LORBASE_API int CloseTable(LORHANDLE table);
[[nodiscard]] LORBASE_API int ZapTable(LORHANDLE table);
LORBASE_API const char* NameOfTable(LORHANDLE table);

// Record level. rec on entry: u16 max key, u32 max data, u16 key length, key, u32 data length, data.
// On success the record found, saved or deleted is written from rec[0]: u16 key length, key,
// u32 data length, data (no maximums). The caller's block must hold 6 + max key + max data bytes.
// Keys over LOR_MAX_KEY (512) bytes fail with status 12, data over LOR_MAX_DATA (1024) with 13;
// larger maxima count as those limits.
[[nodiscard]] LORBASE_API int SaveRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int DelRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int NextRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int SeekRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int PrevRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int Top(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int Bottom(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int FirstRec(LORHANDLE table, void* rec);
[[nodiscard]] LORBASE_API int LastRec(LORHANDLE table, void* rec);
LORBASE_API uint32_t CountRec(LORHANDLE table);

// Blobs: one byte string per table. ReadBin's out must hold CountRec(table) bytes.
[[nodiscard]] LORBASE_API int SaveBin(LORHANDLE table, const void* data, uint32_t length);
[[nodiscard]] LORBASE_API int ReadBin(LORHANDLE table, void* out);
[[nodiscard]] LORBASE_API int DelBin(LORHANDLE table);

// Raw pages. The page image stays valid until the next call into the library.
LORBASE_API uint32_t BasePageCount(LORHANDLE base);
LORBASE_API const uint8_t* BaseGetPageDat(LORHANDLE base, uint32_t page);
LORBASE_API uint32_t PageSize(LORHANDLE base);

// The status a base keeps after the last call on it, through the base's or any of its tables'
// handles (0xFFFFFFFF for an unknown handle). Every call starts at 0: after a walk step that found
// nothing, 0 means the true end of the table and 11 damage.
[[nodiscard]] LORBASE_API uint32_t LastStatus(LORHANDLE handle);
// What a writer would find at path, without opening it for writing: 0 for a base closed cleanly
// that may be written; 9 when it may not be written, 18 when its in-use byte is set (open
// elsewhere, or not closed), 3 when it is no base, 2 for no regular file, 10 when unreadable.
[[nodiscard]] LORBASE_API int BaseFileState(const char* path);
// Opens a base for reading only (nothing reaches the file) and reports in *mayWrite (when given)
// whether a writer could open it now: 1 for a base closed cleanly that may be written, else 0
// (read-only, or in use). Results as OpenBase with read-only access.
[[nodiscard]] LORBASE_API LORHANDLE OpenBaseForReading(const char* path, uint32_t pageSize, int* mayWrite);

// lorbase keeps its own copy of the runtime's message-box hook (OpenTable's failure box).
// Installs h for the library (null restores the default, which writes to stderr) and returns
// the handler it replaced.
LORBASE_API TMessageBoxHandler LorSetMessageBoxHandler(TMessageBoxHandler h);

} // extern "C"

// Record layout: where the current record's key and data live. The buffers belong to the
// derived record class.
struct LORBASE_API TSET {
    uint16_t LenKey; // key length
    void* Key;       // key bytes
    uint32_t LenDat; // data length
    void* Dat;       // data bytes
    uint16_t MaxKey; // largest key a read may return
    uint32_t MaxDat; // largest data a read may return
    TSET();
    uint32_t LenRec() const; // packed size: key + data + 6
};

// Record cursor bound to one open table. Record classes derive from it and fill the hooks.
// Every operation is virtual so that its code stays inside the library.
class LORBASE_API TOFT {
public:
    // The record buffer holds the two maximums (6 bytes) and a packed record of up to 1024 bytes.
    enum : uint32_t { BufSize = 1024 + 6, MaxPacked = 1024 };

    uint8_t Buf[BufSize]; // block passed to the record exports
    uint32_t MaxLength;   // largest packed record allowed (MaxLen(n) sets n + 6)
    LORHANDLE Table;      // open table, 0 when none
    TSET set;             // the current record

    TOFT();
    explicit TOFT(uint32_t maxLen);
    TOFT(uint32_t maxLen, const char* tableName, LORHANDLE base);

    // Virtual slots, in this order.
    virtual ~TOFT();
    [[nodiscard]] virtual int RNEXT();
    [[nodiscard]] virtual int RPREV();
    virtual void RTOP();
    virtual void RBOTT();
    [[nodiscard]] virtual int RSAVE();
    [[nodiscard]] virtual int RSEEK();
    [[nodiscard]] virtual int RDEL();
    [[nodiscard]] virtual int RZAP();
    [[nodiscard]] virtual int RFIRST();
    [[nodiscard]] virtual int RLAST();
    virtual void Blank();
    virtual void APPEND();
    virtual void SwabBefore();
    virtual void SwabAfter();
    virtual void SetLenDat();
    virtual void SetLenKey();
    virtual void Set2Edit();
    virtual void APPEND_BLANK();
    virtual void NEXT_KEY();
    virtual TOFT& operator=(const TOFT& other);

    void MaxLen(uint32_t n);
    bool Open(LORHANDLE base, const char* name); // the answer is also Table != 0
    void Close();
    int Tset2Ptr(); // packs the current record into Buf; throws when it does not fit
    int Ptr2Tset(); // unpacks the answer in Buf into the key and data; throws when too long
    uint32_t COUNT();
    const char* NAME();
    static void swabl(void* p, int n);
    // Packed record (u16 key length, key, u32 data length, data) out of / into the current
    // record; both throw std::runtime_error when the record does not fit.
    uint32_t ReadFromTable(void* out);
    uint32_t WriteToTable(const void* in);

private:
    int RecordOp(int op);
};
