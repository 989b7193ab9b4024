// Every record of a configuration file, for tests that compare the bytes a save writes.
#pragma once

#include <string>
#include <vector>

namespace devtest {

// "table key data" in hex, one line per record, sorted.
std::vector<std::string> Records(const std::string& path);

} // namespace devtest
