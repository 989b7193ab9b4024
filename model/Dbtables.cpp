// Record classes of the configuration tables over TOFT. Configuration model layer.
#include "Dbtables.h"

#include <algorithm>

int PutText(uint8_t* p, std::string_view text, int maxChars) {
    // A text is cut at its first 0 byte too, so what is read back is what was stored.
    size_t n = std::min({text.size(), static_cast<size_t>(maxChars), text.find('\0')});
    std::memcpy(p, text.data(), n);
    p[n] = 0;
    return static_cast<int>(n) + 1;
}

std::string GetText(const uint8_t* p, int maxBytes) {
    if (maxBytes <= 0)
        return {};
    const void* end = std::memchr(p, 0, static_cast<size_t>(maxBytes));
    size_t n = end ? static_cast<const uint8_t*>(end) - p : static_cast<size_t>(maxBytes);
    return std::string(reinterpret_cast<const char*>(p), n);
}

namespace {
uint32_t TextLen(const uint8_t* p, int maxChars) {
    const void* end = std::memchr(p, 0, static_cast<size_t>(maxChars));
    return end ? static_cast<uint32_t>(static_cast<const uint8_t*>(end) - p)
               : static_cast<uint32_t>(maxChars);
}
} // namespace

VTRecord::VTRecord(uint8_t* rec, uint16_t keyLen, uint32_t maxDat, bool swapKey)
    : fRec(rec), fKeyLen(keyLen), fMaxDat(maxDat), fSwap(swapKey) {}

void VTRecord::OpenOn(LORHANDLE base, const char* name) {
    set.Key = fRec;
    set.LenKey = fKeyLen;
    set.Dat = fRec + fKeyLen;
    set.LenDat = fMaxDat;
    MaxLen(fKeyLen + fMaxDat);
    Open(base, name);
}

void VTRecord::RTOP() { std::memset(fRec, 0x00, fKeyLen); }
void VTRecord::RBOTT() { std::memset(fRec, 0xFF, fKeyLen); }

void VTRecord::SwabBefore() {
    if (fSwap)
        swabl(fRec, 2);
}

void VTRecord::SwabAfter() {
    if (fSwap)
        swabl(fRec, 2);
}

#define QBX_RECORD_CTOR(Name, swap)                                                                          \
    VT##Name::VT##Name(LORHANDLE base, const char* table)                                                    \
        : VTRecord(rec.Key, sizeof rec.Key, sizeof rec.Dat, swap) {                                          \
        OpenOn(base, table);                                                                                 \
    }

QBX_RECORD_CTOR(DBInfo, false)
QBX_RECORD_CTOR(Objects, true)
QBX_RECORD_CTOR(Commands, true)
QBX_RECORD_CTOR(ParamInfo, true)
QBX_RECORD_CTOR(ParamInfoEx, true)
QBX_RECORD_CTOR(ParamValue, true)
QBX_RECORD_CTOR(ActionsVar, true)
QBX_RECORD_CTOR(ActionsInfo, false)
#undef QBX_RECORD_CTOR

// The saving code orders this key itself (high byte first), so the class does not swap it.
VTActionsEx::VTActionsEx(LORHANDLE base, const char* table)
    : VTRecord(rec.Key, sizeof rec.Key, sizeof rec.Dat, false) {
    OpenOn(base, table);
    rec.Dat[kActionsExOperandLen] = kActionsExMaxOperands;
    set.LenDat = kActionsExMaxDat;
}

void VTDBInfo::SetLenDat() { set.LenDat = std::min<uint32_t>(rec.Dat[0], kDBInfoMaxValue) + 1; }
void VTObjects::SetLenDat() { set.LenDat = kObjectsTag + TextLen(rec.Dat + kObjectsTag, kObjectsMaxTag) + 1; }
void VTCommands::SetLenDat() { set.LenDat = kCommandsDatLen; }
void VTParamInfo::SetLenDat() { set.LenDat = kParamInfoDatLen; }
void VTParamInfoEx::SetLenDat() { set.LenDat = kParamInfoExDatLen; }

void VTParamValue::SetLenDat() {
    uint32_t bytes = (GetU16(rec.Dat + kParamValueWidth) + 7u) / 8u;
    set.LenDat = kParamValueBytes + std::min<uint32_t>(bytes, kParamValueMaxBytes);
}

void VTActionsEx::SetLenDat() {
    set.LenDat =
        kActionsExOperands + std::min<uint32_t>(rec.Dat[kActionsExOperandLen], kActionsExMaxOperands);
}

void VTActionsVar::SetLenDat() { set.LenDat = TextLen(rec.Dat, kActionsVarMaxName) + 1; }

void VTActionsInfo::SetLenDat() {
    set.LenDat = kActionsInfoName + TextLen(rec.Dat + kActionsInfoName, kActionsInfoMaxName) + 1;
}
