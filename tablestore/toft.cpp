// Record cursor TOFT of the table store: packs the current record into the record buffer,
// calls the record operations inside the library and unpacks the answer.
#include "api.h"
#include "lorbase.h"
#include "pager.h"

#include <cstring>
#include <stdexcept>

using lor::Get16;
using lor::Get32;
using lor::Put16;
using lor::Put32;
using lor::RecOp;

TSET::TSET() : LenKey(0), Key(nullptr), LenDat(0), Dat(nullptr), MaxKey(0), MaxDat(0) {}

uint32_t TSET::LenRec() const { return uint32_t(LenKey) + LenDat + 6; }

TOFT::TOFT() : MaxLength(0), Table(0) {}

TOFT::TOFT(uint32_t maxLen) : TOFT() { MaxLen(maxLen); }

TOFT::TOFT(uint32_t maxLen, const char* tableName, LORHANDLE base) : TOFT(maxLen) { Open(base, tableName); }

TOFT::~TOFT() { Close(); }

void TOFT::MaxLen(uint32_t n) {
    MaxLength = n + 6;
    set.MaxKey = set.LenKey;
    set.MaxDat = set.LenDat;
}

bool TOFT::Open(LORHANDLE base, const char* name) {
    Close(); // a handle that is only forgotten would keep its table open until the base closes
    if (base != 0 && name)
        Table = OpenTable(base, name);
    return Table != 0;
}

void TOFT::Close() {
    if (Table) {
        CloseTable(Table);
        Table = 0;
    }
}

namespace {

// Throws when the current record could not be packed into the cursor's block.
void CheckPackable(const TSET& set, uint32_t maxLength) {
    uint32_t len = set.LenRec();
    if ((set.LenDat && !set.Dat) || len > maxLength || len > TOFT::MaxPacked || !set.Key || set.LenKey == 0)
        throw std::runtime_error("record does not fit the cursor");
}

} // namespace

int TOFT::Tset2Ptr() {
    CheckPackable(set, MaxLength);
    Put16(Buf, set.MaxKey);
    Put32(Buf + 2, set.MaxDat);
    Put16(Buf + 6, set.LenKey);
    std::memcpy(Buf + 8, set.Key, set.LenKey);
    Put32(Buf + 8 + set.LenKey, set.LenDat);
    if (set.LenDat)
        std::memcpy(Buf + 12 + set.LenKey, set.Dat, set.LenDat);
    return 1;
}

namespace {

// Takes a packed record (u16 key length, key, u32 data length, data) of at most limit bytes into
// the current record; throws, taking nothing, when it is longer or exceeds the record's buffers.
uint32_t TakePacked(TSET& set, const uint8_t* p, uint64_t limit) {
    uint32_t k = Get16(p);
    if (uint64_t(k) + 6 > limit)
        throw std::runtime_error("record longer than the cursor allows");
    uint32_t d = Get32(p + 2 + k);
    uint64_t len = uint64_t(k) + d + 6;
    if (len > limit || k > set.MaxKey || d > set.MaxDat || (k && !set.Key) || (d && !set.Dat))
        throw std::runtime_error("record longer than the cursor allows");
    if (k)
        std::memcpy(set.Key, p + 2, k);
    if (d)
        std::memcpy(set.Dat, p + 6 + k, d);
    set.LenKey = uint16_t(k);
    set.LenDat = d;
    return uint32_t(len);
}

} // namespace

int TOFT::Ptr2Tset() {
    TakePacked(set, Buf, MaxLength < BufSize ? MaxLength : BufSize);
    return 1;
}

int TOFT::RecordOp(int op) {
    if (!Table)
        return 0;
    RecOp o = RecOp(op);
    SetLenKey();
    if (o == RecOp::Save)
        SetLenDat();
    SwabBefore();
    int r = 0;
    try {
        if (o == RecOp::Next || o == RecOp::Prev || o == RecOp::Seek) {
            // A read needs only the key: the answer comes straight into the record.
            CheckPackable(set, MaxLength);
            r = lor::ReadCall(o, Table, set, MaxLength < BufSize ? MaxLength : BufSize);
        } else {
            Tset2Ptr();
            r = lor::RecordCall(o, Table, Buf, BufSize);
            if (r && o != RecOp::Save)
                Ptr2Tset();
        }
    } catch (const std::runtime_error&) {
        // A record that does not fit the cursor fails the call, as a missing one does.
        r = 0;
    }
    SwabAfter();
    if (r && (o == RecOp::Next || o == RecOp::Prev || o == RecOp::Seek))
        Set2Edit();
    return r;
}

int TOFT::RNEXT() { return RecordOp(int(RecOp::Next)); }
int TOFT::RPREV() { return RecordOp(int(RecOp::Prev)); }
int TOFT::RSAVE() { return RecordOp(int(RecOp::Save)); }
int TOFT::RSEEK() { return RecordOp(int(RecOp::Seek)); }
int TOFT::RDEL() { return RecordOp(int(RecOp::Delete)); }

void TOFT::RTOP() {
    if (set.Key)
        std::memset(set.Key, 0x00, set.LenKey);
}

void TOFT::RBOTT() {
    if (set.Key)
        std::memset(set.Key, 0xFF, set.LenKey);
}

int TOFT::RZAP() { return Table ? ZapTable(Table) : 0; }

int TOFT::RFIRST() {
    RTOP();
    return RNEXT();
}

int TOFT::RLAST() {
    RBOTT();
    return RPREV();
}

void TOFT::Blank() {
    if (set.Dat)
        std::memset(set.Dat, 0, set.LenDat);
}

void TOFT::APPEND() {
    RBOTT();
    if (!RPREV())
        RTOP();
    NEXT_KEY();
}

void TOFT::SwabBefore() {}
void TOFT::SwabAfter() {}
void TOFT::SetLenDat() {}
void TOFT::SetLenKey() {}
void TOFT::Set2Edit() {}

void TOFT::APPEND_BLANK() {
    APPEND();
    Blank();
}

void TOFT::NEXT_KEY() {}

TOFT& TOFT::operator=(const TOFT&) { return *this; }

uint32_t TOFT::COUNT() { return Table ? CountRec(Table) : 0; }

const char* TOFT::NAME() { return NameOfTable(Table); }

void TOFT::swabl(void* p, int n) {
    auto* b = static_cast<uint8_t*>(p);
    for (int i = 0; i < n / 2; ++i) {
        uint8_t t = b[i];
        b[i] = b[n - 1 - i];
        b[n - 1 - i] = t;
    }
}

uint32_t TOFT::ReadFromTable(void* out) {
    if (!set.Key || !set.LenKey || !set.Dat || !set.LenDat)
        throw std::runtime_error("no record to write out");
    SwabBefore();
    auto* o = static_cast<uint8_t*>(out);
    Put16(o, set.LenKey);
    std::memcpy(o + 2, set.Key, set.LenKey);
    Put32(o + 2 + set.LenKey, set.LenDat);
    std::memcpy(o + 6 + set.LenKey, set.Dat, set.LenDat);
    SwabAfter();
    return set.LenRec();
}

uint32_t TOFT::WriteToTable(const void* in) {
    uint32_t len;
    try {
        len = TakePacked(set, static_cast<const uint8_t*>(in), MaxLength);
    } catch (...) {
        SwabAfter();
        throw;
    }
    SwabAfter();
    return len;
}
