// Helpers shared by the table store tests: scratch files and record buffers.
#pragma once

#include "lorbase.h"
#include "lorinternal.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

// The sanitizer build runs some of these tests again; other suite names keep CTest's names unique.
#ifdef LOR_SANITIZED
#define LOR_SUITE(name) name##Sanitized
#else
#define LOR_SUITE(name) name
#endif

namespace lortest {

// A fresh directory per test, removed afterwards.
class TempDir : public testsupport::TempFolder {
public:
    TempDir() : TempFolder("lorbase-") {}
    std::string operator/(const std::string& name) const { return File(name); }
};

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Entry block of the record exports, large enough for any answer its maximums allow.
inline std::vector<uint8_t> Rec(const std::string& key, const std::string& data = "", uint32_t maxKey = 512,
                                uint32_t maxData = 1024) {
    std::vector<uint8_t> b(12 + key.size() + data.size() + maxKey + maxData + 16, 0xCC);
    b[0] = uint8_t(maxKey);
    b[1] = uint8_t(maxKey >> 8);
    std::memcpy(&b[2], &maxData, 4);
    b[6] = uint8_t(key.size());
    b[7] = uint8_t(key.size() >> 8);
    std::memcpy(&b[8], key.data(), key.size());
    uint32_t d = uint32_t(data.size());
    std::memcpy(&b[8 + key.size()], &d, 4);
    std::memcpy(&b[12 + key.size()], data.data(), data.size());
    return b;
}

struct Answer {
    std::string key, data;
};

// The answer written back from the start of the block.
inline Answer Ans(const std::vector<uint8_t>& b) {
    uint32_t k = b[0] | (b[1] << 8);
    uint32_t d;
    std::memcpy(&d, &b[2 + k], 4);
    return {std::string(reinterpret_cast<const char*>(&b[2]), k),
            std::string(reinterpret_cast<const char*>(&b[6 + k]), d)};
}

// Calls a record export with a fresh block; on success fills out.
inline bool Call(int (*fn)(LORHANDLE, void*), LORHANDLE t, const std::string& key, Answer* out = nullptr,
                 const std::string& data = "") {
    auto b = Rec(key, data);
    int r = fn(t, b.data());
    if (r && out)
        *out = Ans(b);
    return r == 1;
}

inline uint32_t U32(const std::vector<uint8_t>& b, size_t off) {
    uint32_t v;
    std::memcpy(&v, &b[off], 4);
    return v;
}

// A message box handler that shows nothing and answers OK.
inline int Silent(const char*, const char*, unsigned) { return 1; }

} // namespace lortest
