// Shared helpers of the model tests: temporary folders, raw record dumps, a stand-in device class.
#pragma once

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "messagerecorder.h"
#include "msgbox.h"
#include "tempfolder.h"

// A fresh empty folder under the system's temporary folder, removed by the destructor.
using TempDir = testsupport::TempFolder;

// Every record of a table as stored: "key-hex|data-hex", in key order. Missing table: empty.
std::vector<std::string> DumpTable(const std::string& file, const char* table, int keyLen, int maxDat);
std::string Hex(const uint8_t* p, size_t n);
std::vector<uint8_t> ReadBytes(const std::string& file);
void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes);

// Writes one raw record (key and data as stored) into a table of a database, creating both.
bool PutRawRecord(const std::string& file, const char* table, const std::vector<uint8_t>& key,
                  const std::vector<uint8_t>& data);

// A device stand-in registered under "MER230": two poll commands, executed by its constructor,
// with a parameter of kind 2 on channel type 2 that it binds and frees itself.
struct TestDevice : TObjectItem {
    TestDevice(uint16_t number, ELEMList* channels, actionManager* store);
    ~TestDevice() override;
    void BindParam(uint16_t channelType, uint8_t channelIndex, TParamItem* param) override;
    ELEMList* Channels;
    TParamItem* Param = nullptr;
    int BindCalls = 0;
};
void RegisterTestDevice();
void UnregisterTestDevice();

// The lines of a string list.
std::vector<std::string> Lines(TStrings& s);

// Message boxes recorded instead of shown.
extern std::vector<std::string>& gMessages;
void CaptureMessages();
