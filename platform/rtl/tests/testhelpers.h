// Runtime layer tests: a scratch folder per test, whole-file byte helpers, a string list as a vector.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "classes.h"
#include "tempfolder.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempDir : testsupport::TempFolder {
    explicit TempDir(const char* prefix = "rtl_") : TempFolder(prefix), path(TempFolder::Path()) {}
    std::filesystem::path path;
    std::string File(const char* name) const { return (path / name).string(); }
};

inline std::string ReadBytes(const std::string& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& f, const std::string& data) {
    std::ofstream(f, std::ios::binary) << data;
}

inline std::vector<std::string> Lines(const TStrings& l) {
    std::vector<std::string> r;
    for (int i = 0; i < l.Count(); ++i)
        r.push_back(l[i]);
    return r;
}

// A UTF-8 literal's bytes.
inline std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }
