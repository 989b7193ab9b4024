// Shared helpers of the model tests.
#include "model_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "lorbase.h"
#include "msgbox.h"

std::string Hex(const uint8_t* p, size_t n) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        if (i)
            s += ' ';
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

namespace {
// A cursor that leaves keys in stored order.
struct RawTable : TOFT {
    uint8_t buf[600] = {};
    RawTable(LORHANDLE base, const char* name, int keyLen, int maxDat) {
        set.Key = buf;
        set.LenKey = static_cast<uint16_t>(keyLen);
        set.Dat = buf + keyLen;
        set.LenDat = static_cast<uint32_t>(maxDat);
        MaxLen(static_cast<uint32_t>(keyLen + maxDat));
        Open(base, name);
    }
    void RTOP() override { std::memset(buf, 0, set.LenKey); }
};
} // namespace

std::vector<std::string> DumpTable(const std::string& file, const char* table, int keyLen, int maxDat) {
    std::vector<std::string> out;
    LORHANDLE base = OpenBase(file.c_str(), 1024, 1);
    if (!IsBaseHandle(base))
        return out;
    if (IsTable(base, table)) {
        RawTable t(base, table, keyLen, maxDat);
        t.RTOP();
        while (t.RNEXT())
            out.push_back(Hex(t.buf, t.set.LenKey) + "|" + Hex(t.buf + t.set.LenKey, t.set.LenDat));
    }
    CloseBase(base);
    return out;
}

bool PutRawRecord(const std::string& file, const char* table, const std::vector<uint8_t>& key,
                  const std::vector<uint8_t>& data) {
    LORHANDLE base = OpenBase(file.c_str(), 512, 0);
    if (!IsBaseHandle(base))
        return false;
    int ok;
    {
        RawTable t(base, table, static_cast<int>(key.size()), 300);
        std::memcpy(t.buf, key.data(), key.size());
        std::memcpy(t.buf + key.size(), data.data(), data.size());
        t.set.LenDat = static_cast<uint32_t>(data.size());
        ok = t.RSAVE();
    }
    CloseBase(base);
    return ok == 1;
}

std::vector<uint8_t> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TestDevice::TestDevice(uint16_t number, ELEMList* channels, actionManager*)
    : TObjectItem(number), Channels(channels) {
    Tag = "MER230";
    DisplayType = "МЕРКУРИЙ 230";
    for (int i = 1; i <= 2; ++i) {
        auto* c = new TCommandItem;
        c->Number = static_cast<uint16_t>(i);
        c->Execute = 1;
        c->Period = 5;
        Commands.Append(c);
    }
}

TestDevice::~TestDevice() {
    if (Param) {
        Param->RaiseRebind();
        Channels->Remove(Param);
        delete Param;
    }
}

void TestDevice::BindParam(uint16_t channelType, uint8_t channelIndex, TParamItem* param) {
    ++BindCalls;
    param->SetAddress(channelType, channelIndex);
}

namespace {
TObjectItem* MakeTestDevice(uint16_t number, ELEMList* channels, actionManager* store) {
    return new TestDevice(number, channels, store);
}
} // namespace

void RegisterTestDevice() { RegisterDeviceClass("MER230", MakeTestDevice); }
void UnregisterTestDevice() { UnregisterDeviceClass("MER230"); }

std::vector<std::string>& gMessages = testsupport::MessageRecorder::Texts();

void CaptureMessages() {
    gMessages.clear();
    SetMessageBoxHandler(&testsupport::MessageRecorder::Record);
}

std::vector<std::string> Lines(TStrings& s) {
    std::vector<std::string> v;
    for (int i = 0; i < s.Count(); ++i)
        v.push_back(s.Strings(i));
    return v;
}
