// Status codes of the table store, kept in a base after each call; shared by every layer.
#pragma once

#include <cstdint>

// Status codes kept in a base after each call (OpenBase, BaseFileState and RestoreBase return one).
enum : uint32_t {
    LOR_OK = 0,
    LOR_NOT_REGULAR = 2,      // the path is not a regular file
    LOR_BAD_MAGIC = 3,        // the first byte is not 0x56
    LOR_NO_FILE = 4,          // the base has no open file
    LOR_NO_TABLE = 7,         // no such table
    LOR_CLOSE_HEADER = 8,     // writing the header at close failed
    LOR_NOT_WRITABLE = 9,     // not writable, or missing while read-only access was asked for
    LOR_CANNOT_OPEN = 10,     // the file cannot be opened or its header not read
    LOR_DAMAGED = 11,         // a page, link or length read from the file is out of bounds
    LOR_EMPTY_KEY = 12,       // empty key, or a key longer than 512 bytes
    LOR_TOO_LONG = 13,        // record too long for a page, or data longer than 1024 bytes
    LOR_NO_DESCRIPTOR = 14,   // the table handle has no table
    LOR_TABLE_OPEN = 16,      // delete refused: the table is open
    LOR_READ_ONLY = 17,       // read-only base: a table cannot be created or deleted
    LOR_IN_USE = 18,          // in use by another writer, a write on a read-only base, or close failed
    LOR_IO_ERROR = 19,        // a page write failed: the base refuses work until it is reopened
    LOR_RENAME_NEW_OPEN = 20, // rename: the new name exists and is open
    LOR_RENAME_OLD_OPEN = 21, // rename: the table under its old name is open
};

// Limits of the record buffer exchanged with the record exports.
enum : uint32_t { LOR_MAX_KEY = 512, LOR_MAX_DATA = 1024 };
