// Record classes of the nine configuration tables: each pairs a byte-exact record structure with the
// lorbase cursor TOFT. Configuration model layer; byte layouts are in FORMAT.md.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "lorbase.h"

// Table names as stored in the database.
inline constexpr const char* kTableDBInfo = "VTDBInfo";
inline constexpr const char* kTableActionsEx = "VTActionsEx";
inline constexpr const char* kTableActionsVar = "VTActionsVar";
inline constexpr const char* kTableActionsInfo = "VTActionsInfo";
inline constexpr const char* kTableObjects = "VTObjects";
inline constexpr const char* kTableCommands = "VTCommands";
inline constexpr const char* kTableParamInfo = "VTParamInfo";
inline constexpr const char* kTableParamInfoEx = "VTParamInfoEx";
inline constexpr const char* kTableParamValue = "VTParamValue";

// Field offsets and widths (FORMAT.md has one row per constant).
inline constexpr int kDBInfoKeyLen = 1, kDBInfoMaxDat = 33, kDBInfoMaxValue = 32, kDBInfoVersionKind = 1;
inline constexpr int kObjectsKeyLen = 2, kObjectsMaxDat = 16, kObjectsPeriod = 0, kObjectsHandler = 1,
                     kObjectsSpare = 3, kObjectsTag = 4, kObjectsMaxTag = 11;
inline constexpr int kCommandsKeyLen = 3, kCommandsDatLen = 7, kCommandsPeriod = 0, kCommandsParse = 1,
                     kCommandsNoAnswer = 3, kCommandsPrepare = 5;
inline constexpr int kParamInfoKeyLen = 3, kParamInfoDatLen = 3, kParamInfoWidth = 0, kParamInfoFlags = 2;
inline constexpr uint8_t kParamFlagWriteHandler = 0x02, kParamFlagChangeHandler = 0x04,
                         kParamFlagRamDepth = 0x08;
inline constexpr int kParamInfoExKeyLen = 3, kParamInfoExDatLen = 5, kParamInfoExDepth = 0,
                     kParamInfoExWrite = 1, kParamInfoExChange = 3;
inline constexpr int kParamValueKeyLen = 3, kParamValueMaxDat = 66, kParamValueWidth = 0,
                     kParamValueBytes = 2, kParamValueMaxBytes = 64;
inline constexpr int kActionsExKeyLen = 3, kActionsExMaxDat = 7, kActionsExOperandLen = 0,
                     kActionsExOpcode = 1, kActionsExOperands = 2, kActionsExMaxOperands = 5;
inline constexpr int kActionsVarKeyLen = 3, kActionsVarMaxDat = 33, kActionsVarMaxName = 32;
inline constexpr int kActionsInfoKeyLen = 2, kActionsInfoMaxDat = 36, kActionsInfoVersion = 0,
                     kActionsInfoFlags = 2, kActionsInfoName = 3, kActionsInfoMaxName = 32;
inline constexpr uint8_t kActionsInfoAutostart = 0x01;
// Keys of three bytes end in a one-byte number (command, instruction, variable, channel index).
inline constexpr int kMaxKeyNumber = 255;

// Little-endian fields of record data.
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
// Stores text cut to maxChars with its 0 byte; returns the bytes used (with the 0).
int PutText(uint8_t* p, std::string_view text, int maxChars);
// Text of at most maxBytes bytes ending at the first 0 byte or at the limit.
std::string GetText(const uint8_t* p, int maxBytes);

// Shared cursor behaviour: key at the start of the record, data right after it, the leading 16-bit
// key field byte-swapped around every call where the table says so.
class VTRecord : public TOFT {
public:
    VTRecord(const VTRecord&) = delete;
    VTRecord& operator=(const VTRecord&) = delete;
    ~VTRecord() override = default;

    void RTOP() override;
    void RBOTT() override;
    void SwabBefore() override;
    void SwabAfter() override;
    void SetLenKey() override {}
    void Set2Edit() override {}
    void NEXT_KEY() override {}

    bool IsOpen() const { return Table != 0; }
    uint8_t* key() { return fRec; }
    uint8_t* dat() { return fRec + fKeyLen; }
    // Bytes of data the last read returned (the store never returns more than the maximum).
    uint32_t DataLength() const { return set.LenDat; }

protected:
    VTRecord(uint8_t* rec, uint16_t keyLen, uint32_t maxDat, bool swapKey);
    void OpenOn(LORHANDLE base, const char* name);

private:
    uint8_t* fRec;
    uint16_t fKeyLen;
    uint32_t fMaxDat;
    bool fSwap;
};

struct DBInfo {
    uint8_t Key[kDBInfoKeyLen];
    uint8_t Dat[kDBInfoMaxDat];
};
struct Objects {
    uint8_t Key[kObjectsKeyLen];
    uint8_t Dat[kObjectsMaxDat];
};
struct Commands {
    uint8_t Key[kCommandsKeyLen];
    uint8_t Dat[kCommandsDatLen];
};
struct ParamInfo {
    uint8_t Key[kParamInfoKeyLen];
    uint8_t Dat[kParamInfoDatLen];
};
struct ParamInfoEx {
    uint8_t Key[kParamInfoExKeyLen];
    uint8_t Dat[kParamInfoExDatLen];
};
struct ParamValue {
    uint8_t Key[kParamValueKeyLen];
    uint8_t Dat[kParamValueMaxDat];
};
struct ActionsEx {
    uint8_t Key[kActionsExKeyLen];
    uint8_t Dat[kActionsExMaxDat];
};
struct ActionsVar {
    uint8_t Key[kActionsVarKeyLen];
    uint8_t Dat[kActionsVarMaxDat];
};
struct ActionsInfo {
    uint8_t Key[kActionsInfoKeyLen];
    uint8_t Dat[kActionsInfoMaxDat];
};

#define QBX_RECORD_CLASS(Name)                                                                               \
    class VT##Name : public VTRecord {                                                                       \
    public:                                                                                                  \
        VT##Name(LORHANDLE base, const char* table = "VT" #Name);                                            \
        void SetLenDat() override;                                                                           \
        Name rec{};                                                                                          \
    }

QBX_RECORD_CLASS(DBInfo);
QBX_RECORD_CLASS(Objects);
QBX_RECORD_CLASS(Commands);
QBX_RECORD_CLASS(ParamInfo);
QBX_RECORD_CLASS(ParamInfoEx);
QBX_RECORD_CLASS(ParamValue);
QBX_RECORD_CLASS(ActionsEx);
QBX_RECORD_CLASS(ActionsVar);
QBX_RECORD_CLASS(ActionsInfo);

#undef QBX_RECORD_CLASS
