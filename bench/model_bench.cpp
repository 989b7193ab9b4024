// Scaling series of a configuration's save, load and open, against SQLite doing the same rows.
//  save: configmanager::SaveDatabase (a new file, replaced atomically) against SQLite writing the same
//        rows (same keys, same data bytes) into a new database: one transaction, prepared statements,
//        WITHOUT ROWID tables keyed like ours, its default page size, journal and sync.
//  load: a fresh configmanager and LoadDatabase (file -> configuration in memory) against SQLite reading
//        the rows a load reads (every table but the parameter info, which a load opens and never reads)
//        in key order into memory; the store's own walk of those rows is printed beside.
//  open: the load of a configuration whose devices take over their stored channels; time(200k)/time(50k).
// Each size is built once; every timed step runs after one untimed warm-up of both sides, in rotated
// order (ours first on even runs), and the median of the runs is printed with the ratio ours/SQLite.
// Usage: bench_model [-r runs] [-d folder] [-n | -o] [sizes...]   defaults: 3 runs, the temporary
//        folder, sizes 5000 50000 200000 1000000; -n leaves out the open series, -o runs only it.
//        Run on one core (taskset -c N).
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "Dbtables.h"
#include "Userobject.h"
#include "actions.h"
#include "bmrzregister.h"
#include "ioregister.h"
#include "meterregister.h"
#include "msgbox.h"
#include "qbxregister.h"
#include "relayregister.h"

namespace {

// Per channel of the plain configuration: one user object of 20 commands per 100 channels, one
// subprogram of 100 instructions and 10 variables per 250 channels. The open series adds one device
// per 250 channels, device types in turn.
constexpr int kChannelsPerObject = 100, kCommands = 20, kChannelsPerSubprogram = 250, kInstructions = 100,
              kVariables = 10, kPerType = 250, kChannelsPerDevice = 250;
// Plain channel types start above every device's own types.
constexpr int kFirstPlainType = 20000;

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& f) {
    auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "failed: %s\n", what.c_str());
    std::exit(1);
}

long RssBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// ---- the configurations ----

void AddPlain(configmanager& c, int channels) {
    for (int i = 0; i < channels / kChannelsPerObject; ++i) {
        auto* u = static_cast<TUserObjItem*>(c.AddObject(kUserObjectCode));
        if (!u)
            Die("user object");
        for (int k = 0; k < kCommands; ++k) {
            TCommandItem* cmd = u->AddCommand();
            cmd->Period = static_cast<uint8_t>(k + 1);
            cmd->Prepare = static_cast<uint16_t>(1 + k);
        }
    }
    const int subprograms = std::max(1, channels / kChannelsPerSubprogram);
    for (int i = 0; i < channels; ++i) {
        TParamItem* p = c.NewChannel(static_cast<uint16_t>(kFirstPlainType + i / kPerType),
                                     static_cast<uint8_t>(1 + i % kPerType));
        p->SetBitWidth(static_cast<uint16_t>(8 + (i % 4) * 8));
        for (int b = 0; b < p->ValueBytes(); ++b)
            p->Value[b] = static_cast<uint8_t>(i + b);
        if (i % 3 != 0) {
            p->WriteHandler = static_cast<uint16_t>(1 + i % subprograms);
            p->ChangeHandler = static_cast<uint16_t>(1 + (i * 7) % subprograms);
        }
    }
    for (int s = 0; s < subprograms; ++s) {
        T_Action* a = c.CreateSubprogram("sub" + std::to_string(s));
        for (int v = 0; v < kVariables; ++v)
            a->Variables.Add("v" + std::to_string(v));
        for (int k = 0; k < kInstructions; ++k)
            a->Instructions.push_back(TActionLine{0, opPush, {uint8_t(k), 0, 0, 0, 8}});
    }
}

// Devices of every type that may exist many times, in turn, before the plain part.
void AddDevices(configmanager& c, int channels) {
    std::vector<int> codes;
    for (const TDeviceType& t : DeviceTypeTable)
        if (t.Creatable && !t.Once && t.Code != kUserObjectCode && DeviceFactory(&t))
            codes.push_back(t.Code);
    for (int i = 0, made = 0; made < channels / kChannelsPerDevice; ++i) {
        if (i > 255 * static_cast<int>(codes.size()))
            Die("device numbers");
        made += c.AddObject(codes[i % codes.size()]) != nullptr;
    }
}

// ---- the rows of a save, as SQLite is given them ----

enum Table {
    tDBInfo,
    tActionsVar,
    tActionsEx,
    tActionsInfo,
    tObjects,
    tCommands,
    tParamValue,
    tParamInfo,
    tParamInfoEx,
    kTables
};
const char* const kSqlTables[kTables] = {"dbinfo",   "avar",   "aex",   "ainfo",  "objects",
                                         "commands", "pvalue", "pinfo", "pinfoex"};

struct Row {
    int k1, k2;
    uint8_t n;
    uint8_t d[kParamValueMaxDat];
};

using RowSink = std::function<void(Table, int, int, const uint8_t*, int)>;

// The records SaveDatabase writes, table by table in its order, with the same data bytes.
void ForEachRow(configmanager& c, const RowSink& put) {
    uint8_t d[kParamValueMaxDat];
    d[0] = 2;
    d[1] = c.VersionMajor;
    d[2] = c.VersionMinor;
    put(tDBInfo, kDBInfoVersionKind, 0, d, 3);
    for (const auto& [id, a] : c.Actions->Actions()) {
        if (a->Instructions.empty())
            continue;
        for (int k = 0; k < a->Variables.Count(); ++k)
            put(tActionsVar, id, k + 1, d, PutText(d, a->Variables.Strings(k), kActionsVarMaxName));
        int i = 0;
        for (const TActionLine& line : a->Instructions) {
            d[kActionsExOperandLen] = OperandLength(line.Opcode);
            d[kActionsExOpcode] = line.Opcode;
            std::memcpy(d + kActionsExOperands, line.Operands, d[kActionsExOperandLen]);
            put(tActionsEx, id, ++i, d, kActionsExOperands + d[kActionsExOperandLen]);
        }
        PutU16(d + kActionsInfoVersion, a->Version);
        d[kActionsInfoFlags] = a->Flags == kActionAutostart ? kActionsInfoAutostart : 0;
        put(tActionsInfo, id, 0, d,
            kActionsInfoName + PutText(d + kActionsInfoName, a->Name(), kActionsInfoMaxName));
    }
    for (ELEM* e = c.Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        d[kObjectsPeriod] = o->Period;
        PutU16(d + kObjectsHandler, o->MessageHandler);
        d[kObjectsSpare] = 0;
        put(tObjects, o->Number, 0, d, kObjectsTag + PutText(d + kObjectsTag, o->Tag, kObjectsMaxTag));
        for (ELEM* ce = o->Commands.Oldest; ce; ce = ce->Newer) {
            auto* cmd = static_cast<TCommandItem*>(ce);
            if (cmd->Execute != 1)
                continue;
            d[kCommandsPeriod] = cmd->Period;
            PutU16(d + kCommandsParse, cmd->Parse);
            PutU16(d + kCommandsNoAnswer, cmd->NoAnswer);
            PutU16(d + kCommandsPrepare, cmd->Prepare);
            put(tCommands, o->Number, cmd->Number, d, kCommandsDatLen);
        }
    }
    for (ELEM* e = c.Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == 0 || p->ChannelIndex == 0)
            continue;
        const uint8_t flags = (p->WriteHandler ? kParamFlagWriteHandler : 0) |
                              (p->ChangeHandler ? kParamFlagChangeHandler : 0) |
                              (p->RamDepth ? kParamFlagRamDepth : 0);
        PutU16(d + kParamValueWidth, p->BitWidth());
        std::memcpy(d + kParamValueBytes, p->Value.data(), p->ValueBytes());
        put(tParamValue, p->ChannelType, p->ChannelIndex, d, kParamValueBytes + p->ValueBytes());
        d[kParamInfoFlags] = flags;
        put(tParamInfo, p->ChannelType, p->ChannelIndex, d, kParamInfoDatLen);
        if (flags) {
            d[kParamInfoExDepth] = p->RamDepth;
            PutU16(d + kParamInfoExWrite, p->WriteHandler);
            PutU16(d + kParamInfoExChange, p->ChangeHandler);
            put(tParamInfoEx, p->ChannelType, p->ChannelIndex, d, kParamInfoExDatLen);
        }
    }
}

// ---- SQLite ----

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Die(sqlite3_errmsg(db));
}

void SqliteWrite(configmanager& c, const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        Die("sqlite open");
    sqlite3_stmt* ins[kTables];
    for (int t = 0; t < kTables; ++t) {
        Exec(db, ("CREATE TABLE " + std::string(kSqlTables[t]) +
                  "(k1 INTEGER, k2 INTEGER, d BLOB, PRIMARY KEY(k1, k2)) WITHOUT ROWID")
                     .c_str());
        const std::string sql =
            "INSERT OR REPLACE INTO " + std::string(kSqlTables[t]) + " VALUES(?1, ?2, ?3)";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &ins[t], nullptr) != SQLITE_OK)
            Die(sqlite3_errmsg(db));
    }
    Exec(db, "BEGIN");
    ForEachRow(c, [&](Table t, int k1, int k2, const uint8_t* d, int n) {
        sqlite3_bind_int(ins[t], 1, k1);
        sqlite3_bind_int(ins[t], 2, k2);
        sqlite3_bind_blob(ins[t], 3, d, n, SQLITE_STATIC);
        if (sqlite3_step(ins[t]) != SQLITE_DONE)
            Die("sqlite insert");
        sqlite3_reset(ins[t]);
    });
    Exec(db, "COMMIT");
    for (sqlite3_stmt* s : ins)
        sqlite3_finalize(s);
    sqlite3_close(db);
}

size_t SqliteRead(const std::string& path, std::vector<Row>& rows) {
    rows.clear();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        Die("sqlite open");
    for (int t = 0; t < kTables; ++t) {
        if (t == tParamInfo)
            continue;
        sqlite3_stmt* st = nullptr;
        const std::string sql = "SELECT k1, k2, d FROM " + std::string(kSqlTables[t]) + " ORDER BY k1, k2";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            Die(sqlite3_errmsg(db));
        while (sqlite3_step(st) == SQLITE_ROW) {
            Row& r = rows.emplace_back();
            r.k1 = sqlite3_column_int(st, 0);
            r.k2 = sqlite3_column_int(st, 1);
            r.n = static_cast<uint8_t>(std::min(sqlite3_column_bytes(st, 2), kParamValueMaxDat));
            std::memcpy(r.d, sqlite3_column_blob(st, 2), r.n);
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows.size();
}

// The store's own walk of the same tables into the same rows: what the load costs without the model.
template <class T> void WalkInto(LORHANDLE base, const char* name, std::vector<Row>& rows) {
    T t(base, name);
    t.RTOP();
    while (t.RNEXT()) {
        Row& r = rows.emplace_back();
        r.k1 = t.key()[0] << 8 | t.key()[1];
        r.k2 = t.rec.Key[sizeof t.rec.Key - 1];
        r.n = static_cast<uint8_t>(t.DataLength());
        std::memcpy(r.d, t.dat(), r.n);
    }
}

size_t StoreWalk(const std::string& path, std::vector<Row>& rows) {
    rows.clear();
    int mayWrite = 0;
    LORHANDLE base = OpenBaseForReading(path.c_str(), kLoadPageSize, &mayWrite);
    if (!IsBaseHandle(base))
        Die("store open");
    WalkInto<VTDBInfo>(base, kTableDBInfo, rows);
    WalkInto<VTActionsVar>(base, kTableActionsVar, rows);
    WalkInto<VTActionsEx>(base, kTableActionsEx, rows);
    WalkInto<VTActionsInfo>(base, kTableActionsInfo, rows);
    WalkInto<VTObjects>(base, kTableObjects, rows);
    WalkInto<VTCommands>(base, kTableCommands, rows);
    WalkInto<VTParamValue>(base, kTableParamValue, rows);
    WalkInto<VTParamInfoEx>(base, kTableParamInfoEx, rows);
    CloseBase(base);
    return rows.size();
}

// ---- the series ----

struct Options {
    int runs = 3;
    std::string folder = std::filesystem::temp_directory_path().string();
    bool open = true;
    bool plain = true;
    std::vector<int> sizes;
};

// Runs ours and theirs `runs` times after one warm-up of each, ours first on even runs; medians.
// untimed runs after each of ours (freeing what it built is not part of the wait).
std::pair<double, double> Race(
    int runs, const std::function<void()>& ours, const std::function<void()>& theirs,
    const std::function<void()>& untimed = [] {}) {
    ours();
    untimed();
    theirs();
    std::vector<double> a, b;
    for (int r = 0; r < runs; ++r) {
        if (r % 2 == 0) {
            a.push_back(Seconds(ours));
            untimed();
            b.push_back(Seconds(theirs));
        } else {
            b.push_back(Seconds(theirs));
            a.push_back(Seconds(ours));
            untimed();
        }
    }
    return {Median(a), Median(b)};
}

std::unique_ptr<configmanager> Load(const std::string& path) {
    auto c = std::make_unique<configmanager>();
    if (!c->LoadDatabase(path))
        Die("load: " + c->LastError);
    return c;
}

void PlainSeries(const Options& o, int n) {
    const std::string stem = o.folder + "/bench_model-" + std::to_string(getpid());
    const std::string file = stem + ".cdb", db = stem + ".sqlite";
    auto original = std::make_unique<configmanager>();
    AddPlain(*original, n);
    auto [save, sqlWrite] = Race(
        o.runs,
        [&] {
            if (!original->SaveDatabase(file))
                Die("save: " + original->LastError);
        },
        [&] { SqliteWrite(*original, db); });
    size_t rowsWritten = 0, rowsRead = 0;
    ForEachRow(*original, [&](Table t, int, int, const uint8_t*, int) {
        ++rowsWritten;
        rowsRead += t != tParamInfo;
    });
    original.reset();

    std::vector<Row> rows;
    rows.reserve(rowsWritten);
    size_t walked = 0, read = 0;
    std::unique_ptr<configmanager> held;
    auto [load, sqlRead] = Race(
        o.runs, [&] { held = Load(file); }, [&] { read = SqliteRead(db, rows); }, [&] { held.reset(); });
    double walk = Median({Seconds([&] { walked = StoreWalk(file, rows); }),
                          Seconds([&] { walked = StoreWalk(file, rows); }),
                          Seconds([&] { walked = StoreWalk(file, rows); })});
    if (walked != rowsRead || read != rowsRead)
        Die("rows: read " + std::to_string(rowsRead) + ", walked " + std::to_string(walked) + ", read " +
            std::to_string(read));

    malloc_trim(0);
    const size_t heap0 = mallinfo2().uordblks;
    const long rss0 = RssBytes();
    auto loaded = Load(file);
    const double heapPer = double(mallinfo2().uordblks - heap0) / loaded->Channels.Count;
    const double rssPer = double(RssBytes() - rss0) / loaded->Channels.Count;
    std::printf("%8d %8zu %8.3f %8.3f %6.2f | %8.3f %8.3f %8.3f %6.2f %6.2f | %5.0f %5.0f %6.1f %6.1f\n", n,
                rowsWritten, save, sqlWrite, save / sqlWrite, load, walk, sqlRead, walk / sqlRead,
                load / sqlRead, heapPer, rssPer, std::filesystem::file_size(file) / 1e6,
                std::filesystem::file_size(db) / 1e6);
    std::fflush(stdout);
    loaded.reset();
    std::filesystem::remove(file);
    std::filesystem::remove(db);
}

double OpenSeries(const Options& o, int n) {
    const std::string file = o.folder + "/bench_open-" + std::to_string(getpid()) + ".cdb";
    size_t objects = 0;
    {
        configmanager c;
        AddDevices(c, n);
        objects = c.Objects.Count;
        AddPlain(c, n);
        if (!c.SaveDatabase(file))
            Die("save: " + c.LastError);
    }
    Load(file);
    std::vector<double> t;
    uint32_t channels = 0;
    for (int r = 0; r < o.runs; ++r) {
        std::unique_ptr<configmanager> c;
        t.push_back(Seconds([&] { c = Load(file); }));
        channels = c->Channels.Count;
    }
    std::filesystem::remove(file);
    const double open = Median(t);
    std::printf("%8d %8zu %8u %8.3f\n", n, objects, channels, open);
    std::fflush(stdout);
    return open;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-r" && i + 1 < argc)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "-d" && i + 1 < argc)
            o.folder = argv[++i];
        else if (a == "-n")
            o.open = false;
        else if (a == "-o")
            o.plain = false;
        else
            o.sizes.push_back(std::atoi(a.c_str()));
    }
    if (o.sizes.empty())
        o.sizes = {5000, 50000, 200000, 1000000};
    // Device constructors report missing default subprogram files; nobody answers here.
    SetMessageBoxHandler(+[](const char*, const char*, unsigned) -> int { return IDOK; });
    RegisterQbxDevices();
    RegisterMeterDevices();
    RegisterRelayDevices();
    RegisterBmrzDevices();
    RegisterIoDevices();

    std::printf("median of %d runs, seconds; ratios ours/SQLite (SQLite %s)\n", o.runs, sqlite3_libversion());
    std::printf("%8s %8s %8s %8s %6s | %8s %8s %8s %6s %6s | %5s %5s %6s %6s\n", "channels", "rows", "save",
                "sqlite", "ratio", "load", "walk", "sqlite", "walk", "load", "heap", "rss", "MB", "sqlMB");
    std::printf("%8s %8s %8s %8s %6s | %8s %8s %8s %6s %6s | %5s %5s\n", "", "", "", "write", "", "",
                "(store)", "read", "ratio", "ratio", "B/ch", "B/ch");
    for (int n : o.sizes)
        if (o.plain)
            PlainSeries(o, n);
    if (!o.open)
        return 0;
    std::printf("\nopen: the same configuration with one device per %d channels, seconds\n",
                kChannelsPerDevice);
    std::printf("%8s %8s %8s %8s\n", "channels", "objects", "in list", "open");
    double at50k = 0, at200k = 0;
    for (int n : o.sizes) {
        const double t = OpenSeries(o, n);
        at50k = n == 50000 ? t : at50k;
        at200k = n == 200000 ? t : at200k;
    }
    if (at50k > 0 && at200k > 0)
        std::printf("open time(200k)/time(50k) = %.2f (linear: 4)\n", at200k / at50k);
    return 0;
}
