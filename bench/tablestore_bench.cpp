// Benchmark of the table store against SQLite on one workload: 3-byte keys, 16-byte data,
// ordered and random inserts, a point lookup of every key, a full walk, deleting half.
// Both use 1024-byte pages; SQLite runs each phase in one transaction with prepared statements.
// Usage: bench_tablestore [records]   (default 100000)
#include "lorbase.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Key {
    uint8_t b[3];
};

Key MakeKey(uint32_t i) { return Key{{uint8_t(i >> 16), uint8_t(i >> 8), uint8_t(i)}}; }

void MakeData(uint32_t i, uint8_t* d) {
    for (int j = 0; j < 16; ++j)
        d[j] = uint8_t(i * 31 + j);
}

double Seconds(const std::function<void()>& f) {
    auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void Die(const char* what) {
    std::fprintf(stderr, "failed: %s\n", what);
    std::exit(1);
}

// ---- lorbase ----

struct LorRun {
    LORHANDLE base = 0, table = 0;
    uint8_t blk[6 + 512 + 1024 + 64];

    void Open(const std::string& path) {
        std::filesystem::remove(path);
        base = OpenBase(path.c_str(), 1024, 0);
        table = OpenTable(base, "bench");
        if (!IsBaseHandle(base) || !table)
            Die("lorbase open");
    }
    void Close() { CloseBase(base); }
    void Pack(const Key& k, const uint8_t* data, uint32_t dlen) {
        uint16_t mk = 3;
        uint32_t md = 16;
        std::memcpy(blk, &mk, 2);
        std::memcpy(blk + 2, &md, 4);
        uint16_t kl = 3;
        std::memcpy(blk + 6, &kl, 2);
        std::memcpy(blk + 8, k.b, 3);
        std::memcpy(blk + 11, &dlen, 4);
        if (dlen)
            std::memcpy(blk + 15, data, dlen);
    }
    void Insert(const std::vector<uint32_t>& order) {
        uint8_t d[16];
        for (uint32_t i : order) {
            MakeData(i, d);
            Pack(MakeKey(i), d, 16);
            if (!SaveRec(table, blk))
                Die("lorbase save");
        }
    }
    void Lookup(const std::vector<uint32_t>& order) {
        for (uint32_t i : order) {
            Pack(MakeKey(i), nullptr, 0);
            if (!SeekRec(table, blk))
                Die("lorbase seek");
        }
    }
    size_t Walk() {
        size_t n = 0;
        Pack(MakeKey(0), nullptr, 0);
        for (int ok = FirstRec(table, blk); ok; ++n) {
            Key k;
            std::memcpy(k.b, blk + 2, 3);
            Pack(k, nullptr, 0);
            ok = NextRec(table, blk);
        }
        return n;
    }
    void Delete(const std::vector<uint32_t>& keys) {
        for (uint32_t i : keys) {
            Pack(MakeKey(i), nullptr, 0);
            if (!DelRec(table, blk))
                Die("lorbase delete");
        }
    }
};

// ---- SQLite ----

struct SqlRun {
    sqlite3* db = nullptr;
    sqlite3_stmt *ins = nullptr, *sel = nullptr, *walk = nullptr, *del = nullptr;

    void Exec(const char* sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            Die(sqlite3_errmsg(db));
    }
    void Prepare(const char* sql, sqlite3_stmt** st) {
        if (sqlite3_prepare_v2(db, sql, -1, st, nullptr) != SQLITE_OK)
            Die(sqlite3_errmsg(db));
    }
    void Open(const std::string& path) {
        std::filesystem::remove(path);
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
            Die("sqlite open");
        Exec("PRAGMA page_size=1024");
        Exec("CREATE TABLE bench(k BLOB PRIMARY KEY, v BLOB) WITHOUT ROWID");
        Prepare("INSERT OR REPLACE INTO bench VALUES(?1, ?2)", &ins);
        Prepare("SELECT v FROM bench WHERE k=?1", &sel);
        Prepare("SELECT k, v FROM bench ORDER BY k", &walk);
        Prepare("DELETE FROM bench WHERE k=?1", &del);
    }
    void Close() {
        for (sqlite3_stmt* s : {ins, sel, walk, del})
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    void Insert(const std::vector<uint32_t>& order) {
        Exec("BEGIN");
        uint8_t d[16];
        for (uint32_t i : order) {
            Key k = MakeKey(i);
            MakeData(i, d);
            sqlite3_bind_blob(ins, 1, k.b, 3, SQLITE_STATIC);
            sqlite3_bind_blob(ins, 2, d, 16, SQLITE_STATIC);
            if (sqlite3_step(ins) != SQLITE_DONE)
                Die("sqlite insert");
            sqlite3_reset(ins);
        }
        Exec("COMMIT");
    }
    void Lookup(const std::vector<uint32_t>& order) {
        Exec("BEGIN");
        for (uint32_t i : order) {
            Key k = MakeKey(i);
            sqlite3_bind_blob(sel, 1, k.b, 3, SQLITE_STATIC);
            if (sqlite3_step(sel) != SQLITE_ROW)
                Die("sqlite select");
            sqlite3_reset(sel);
        }
        Exec("COMMIT");
    }
    size_t Walk() {
        Exec("BEGIN");
        size_t n = 0;
        while (sqlite3_step(walk) == SQLITE_ROW) {
            if (sqlite3_column_bytes(walk, 1) != 16)
                Die("sqlite walk");
            ++n;
        }
        sqlite3_reset(walk);
        Exec("COMMIT");
        return n;
    }
    void Delete(const std::vector<uint32_t>& keys) {
        Exec("BEGIN");
        for (uint32_t i : keys) {
            Key k = MakeKey(i);
            sqlite3_bind_blob(del, 1, k.b, 3, SQLITE_STATIC);
            if (sqlite3_step(del) != SQLITE_DONE)
                Die("sqlite delete");
            sqlite3_reset(del);
        }
        Exec("COMMIT");
    }
};

void Report(const char* phase, size_t ops, double lor, double sql) {
    double lorNs = lor * 1e9 / double(ops), sqlNs = sql * 1e9 / double(ops);
    std::printf("%-22s %10.0f ns/op %10.0f ns/op %8.2f\n", phase, lorNs, sqlNs, lorNs / sqlNs);
}

} // namespace

int main(int argc, char** argv) {
    const uint32_t n = argc > 1 ? uint32_t(std::atoi(argv[1])) : 100000;
    const std::string dir = std::filesystem::temp_directory_path() / ("lorbench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::vector<uint32_t> ordered(n), shuffled(n);
    for (uint32_t i = 0; i < n; ++i)
        ordered[i] = shuffled[i] = i;
    std::mt19937 rng(12345);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    std::vector<uint32_t> half(shuffled.begin(), shuffled.begin() + n / 2);

    std::printf("%u records, 3-byte keys, 16-byte data, page size 1024\n", n);
    std::printf("%-22s %16s %16s %8s\n", "phase", "lorbase", "sqlite", "ratio");
    {
        LorRun l;
        SqlRun s;
        l.Open(dir + "/ordered.lor");
        s.Open(dir + "/ordered.db");
        double tl = Seconds([&] { l.Insert(ordered); });
        double ts = Seconds([&] { s.Insert(ordered); });
        Report("insert, keys in order", n, tl, ts);
        l.Close();
        s.Close();
    }
    LorRun l;
    SqlRun s;
    l.Open(dir + "/random.lor");
    s.Open(dir + "/random.db");
    Report("insert, random order", n, Seconds([&] { l.Insert(shuffled); }),
           Seconds([&] { s.Insert(shuffled); }));
    Report("lookup every key", n, Seconds([&] { l.Lookup(shuffled); }), Seconds([&] { s.Lookup(shuffled); }));
    Report("lookup in key order", n, Seconds([&] { l.Lookup(ordered); }),
           Seconds([&] { s.Lookup(ordered); }));
    size_t wl = 0, ws = 0;
    double tl = Seconds([&] { wl = l.Walk(); });
    double ts = Seconds([&] { ws = s.Walk(); });
    if (wl != n || ws != n)
        Die("walk count");
    Report("full walk", n, tl, ts);
    Report("delete half", half.size(), Seconds([&] { l.Delete(half); }), Seconds([&] { s.Delete(half); }));
    double cl = Seconds([&] { l.Close(); });
    double cs = Seconds([&] { s.Close(); });
    std::printf("%-22s %13.1f ms %13.1f ms\n", "close", cl * 1e3, cs * 1e3);
    std::filesystem::remove_all(dir);
    return 0;
}
