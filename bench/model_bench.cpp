// Saves and loads a large configuration (500 user objects of 20 commands, 50,000 channels with values
// and handlers, 200 subprograms of 100 instructions) and writes the same rows to SQLite in one
// transaction. Prints the times, the file size and the memory the loaded configuration holds.
// Usage: bench_model [folder]   (default: the system's temporary folder)
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "Configmanager.h"
#include "Userobject.h"
#include "actions.h"

namespace {
constexpr int kObjects = 500, kCommands = 20, kChannels = 50000, kSubprograms = 200, kInstructions = 100;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

size_t HeapInUse() { return mallinfo2().uordblks; }

void Build(configmanager& c) {
    for (int i = 0; i < kObjects; ++i) {
        auto* u = static_cast<TUserObjItem*>(c.AddObject(1));
        for (int k = 0; k < kCommands; ++k) {
            TCommandItem* cmd = u->AddCommand();
            cmd->Period = static_cast<uint8_t>(k + 1);
            cmd->Prepare = static_cast<uint16_t>(1 + k % kSubprograms);
        }
    }
    for (int i = 0; i < kChannels; ++i) {
        TParamItem* p = c.NewChannel(static_cast<uint16_t>(1 + i / 250), static_cast<uint8_t>(1 + i % 250));
        p->SetBitWidth(static_cast<uint16_t>(8 + (i % 4) * 8));
        for (int b = 0; b < p->ValueBytes(); ++b)
            p->Value[b] = static_cast<uint8_t>(i + b);
        p->WriteHandler = static_cast<uint16_t>(1 + i % kSubprograms);
        p->ChangeHandler = static_cast<uint16_t>(1 + (i * 7) % kSubprograms);
    }
    for (int s = 0; s < kSubprograms; ++s) {
        T_Action* a = c.CreateSubprogram("sub" + std::to_string(s));
        for (int v = 0; v < 10; ++v)
            a->Variables.Add("v" + std::to_string(v));
        for (int k = 0; k < kInstructions; ++k)
            a->Instructions.push_back(TActionLine{0, opPush, {uint8_t(k), 0, 0, 0, 8}});
    }
}

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The same rows as the nine tables hold, as blobs under composite keys.
double SqliteWrite(configmanager& c, const std::string& path) {
    std::filesystem::remove(path);
    auto start = std::chrono::steady_clock::now();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    Exec(db, "PRAGMA page_size=1024");
    const char* tables[] = {
        "objects(k INTEGER PRIMARY KEY, d BLOB)",          "commands(o INT, n INT, d BLOB, PRIMARY KEY(o,n))",
        "pvalue(t INT, i INT, d BLOB, PRIMARY KEY(t,i))",  "pinfo(t INT, i INT, d BLOB, PRIMARY KEY(t,i))",
        "pinfoex(t INT, i INT, d BLOB, PRIMARY KEY(t,i))", "aex(a INT, n INT, d BLOB, PRIMARY KEY(a,n))",
        "avar(a INT, n INT, d BLOB, PRIMARY KEY(a,n))",    "ainfo(a INTEGER PRIMARY KEY, d BLOB)"};
    for (const char* t : tables)
        Exec(db, (std::string("CREATE TABLE ") + t).c_str());
    Exec(db, "BEGIN");
    auto insert2 = [&](const char* table, int k1, int k2, const void* d, int n) {
        static std::map<std::string, sqlite3_stmt*> cache;
        std::string key =
            std::string(table) + (k2 < 0 ? "1" : "2") + std::to_string(reinterpret_cast<uintptr_t>(db));
        sqlite3_stmt*& st = cache[key];
        if (!st) {
            std::string sql =
                std::string("INSERT INTO ") + table + (k2 < 0 ? " VALUES(?,?)" : " VALUES(?,?,?)");
            sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        }
        int at = 1;
        sqlite3_bind_int(st, at++, k1);
        if (k2 >= 0)
            sqlite3_bind_int(st, at++, k2);
        sqlite3_bind_blob(st, at, d, n, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    };
    uint8_t buf[80] = {};
    for (ELEM* e = c.Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        insert2("objects", o->Number, -1, buf, 12);
        for (ELEM* ce = o->Commands.Oldest; ce; ce = ce->Newer)
            insert2("commands", o->Number, static_cast<TCommandItem*>(ce)->Number, buf, 7);
    }
    for (ELEM* e = c.Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        uint8_t value[2 + kParamValueSize] = {static_cast<uint8_t>(p->BitWidth()),
                                              static_cast<uint8_t>(p->BitWidth() >> 8)};
        std::memcpy(value + 2, p->Value.data(), p->ValueBytes());
        insert2("pvalue", p->ChannelType, p->ChannelIndex, value, 2 + p->ValueBytes());
        insert2("pinfo", p->ChannelType, p->ChannelIndex, buf, 3);
        insert2("pinfoex", p->ChannelType, p->ChannelIndex, buf, 5);
    }
    for (const auto& [id, a] : c.Actions->Actions()) {
        for (int k = 0; k < a->Variables.Count(); ++k)
            insert2("avar", id, k + 1, a->Variables.Strings(k).c_str(), 3);
        for (size_t k = 0; k < a->Instructions.size(); ++k)
            insert2("aex", id, static_cast<int>(k + 1), buf, 7);
        insert2("ainfo", id, -1, buf, 10);
    }
    Exec(db, "COMMIT");
    sqlite3_close(db); // prepared statements are finalised by sqlite3_close_v2 semantics below
    return Seconds(start);
}
} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    std::string file = folder + "/bench_model.cdb";
    std::string sqlite = folder + "/bench_model.sqlite";

    auto original = std::make_unique<configmanager>();
    Build(*original);

    auto start = std::chrono::steady_clock::now();
    if (!original->SaveDatabase(file)) {
        std::printf("save failed: %s\n", original->LastError.c_str());
        return 1;
    }
    double save = Seconds(start);
    double sqliteTime = SqliteWrite(*original, sqlite);
    original.reset();

    size_t heapBefore = HeapInUse();
    start = std::chrono::steady_clock::now();
    auto loaded = std::make_unique<configmanager>();
    bool ok = loaded->LoadDatabase(file);
    double load = Seconds(start);
    size_t heap = HeapInUse() - heapBefore;
    if (!ok) {
        std::printf("load failed: %s\n", loaded->LastError.c_str());
        return 1;
    }
    auto fileSize = std::filesystem::file_size(file);
    double limit = 2.0 * static_cast<double>(fileSize) + 200.0 * kChannels;
    std::printf("objects %u, channels %u, subprograms %zu\n", loaded->Objects.Count, loaded->Channels.Count,
                loaded->Actions->Count());
    std::printf("save   %.3f s\nload   %.3f s\nsqlite %.3f s (same rows, one transaction)\n", save, load,
                sqliteTime);
    std::printf("file   %.1f MB, sqlite file %.1f MB\n", fileSize / 1e6,
                std::filesystem::file_size(sqlite) / 1e6);
    std::printf("channel object %zu bytes\n", sizeof(TParamItem));
    std::printf("memory %.1f MB loaded, limit %.1f MB (2 x file + 200 B per channel)\n", heap / 1e6,
                limit / 1e6);
    std::printf("save %s sqlite, load %s sqlite, memory %s\n", save <= sqliteTime ? "<=" : ">",
                load <= sqliteTime ? "<=" : ">", heap < limit ? "within limit" : "OVER LIMIT");
    std::filesystem::remove(file);
    std::filesystem::remove(sqlite);
    return 0;
}
