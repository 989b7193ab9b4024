// Every record of a configuration file, read through the table store's C interface.
#include "records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Configmanager.h"
#include "lorbase.h"

namespace devtest {

std::vector<std::string> Records(const std::string& path) {
    static const char* const kTables[] = {"VTDBInfo",      "VTActionsEx",   "VTActionsVar",
                                          "VTActionsInfo", "VTObjects",     "VTCommands",
                                          "VTParamInfo",   "VTParamInfoEx", "VTParamValue"};
    auto hex = [](const uint8_t* p, size_t n) {
        std::string out;
        char two[3];
        for (size_t i = 0; i < n; ++i) {
            std::snprintf(two, sizeof two, "%02x", p[i]);
            out += two;
        }
        return out;
    };
    std::vector<std::string> out;
    const LORHANDLE base = OpenBase(path.c_str(), kLoadPageSize, 1);
    EXPECT_GT(base, 32u) << path;
    if (!IsBaseHandle(base))
        return out;
    for (const char* name : kTables) {
        const LORHANDLE table = OpenTable(base, name);
        std::vector<uint8_t> rec(6 + LOR_MAX_KEY + LOR_MAX_DATA);
        std::string key;
        for (;;) {
            std::fill(rec.begin(), rec.end(), 0);
            const uint16_t maxKey = LOR_MAX_KEY;
            const uint32_t maxData = LOR_MAX_DATA;
            const uint16_t keyLen = static_cast<uint16_t>(key.size());
            std::memcpy(rec.data(), &maxKey, 2);
            std::memcpy(rec.data() + 2, &maxData, 4);
            std::memcpy(rec.data() + 6, &keyLen, 2);
            std::memcpy(rec.data() + 8, key.data(), key.size());
            if (!table || !NextRec(table, rec.data()))
                break;
            uint16_t klen = 0;
            uint32_t dlen = 0;
            std::memcpy(&klen, rec.data(), 2);
            std::memcpy(&dlen, rec.data() + 2 + klen, 4);
            key.assign(reinterpret_cast<const char*>(rec.data() + 2), klen);
            out.push_back(std::string(name) + " " + hex(rec.data() + 2, klen) + " " +
                          hex(rec.data() + 6 + klen, dlen));
        }
    }
    CloseBase(base);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace devtest
