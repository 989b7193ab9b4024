// Inside view of the table store for its own tests: statuses and tree checks that the C
// interface does not export. Not part of the public header.
#pragma once

#include "lorbase.h"

#include <string>
#include <vector>

// Last status of a base (or of a table's base); 0xFFFFFFFF for an unknown handle.
[[nodiscard]] uint32_t LorBaseStatus(LORHANDLE base);
[[nodiscard]] uint32_t LorTableStatus(LORHANDLE table);
// Walks the whole tree of a table checking order, ranges and depths; fills keys in order.
// Returns 0 or a status; depth (optional) receives the number of levels.
[[nodiscard]] uint32_t LorVerifyTable(LORHANDLE table, std::vector<std::string>* keys, int* depth = nullptr);
// Number of bases open in the process.
int LorOpenBaseCount();
// Slot count of the shared cache of a page size (0 before a file of that size was opened).
uint32_t LorCacheSlots(uint32_t pageSize);
