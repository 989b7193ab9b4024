// Device objects in a configuration: adding N of them one by one (Mercury 230 and Sirius-2V in turn,
// each with all its signals bound, so every object adopts and numbers channels among many), the
// same into a configuration that already holds 200,000 channels (adding, and binding the signals),
// opening the saved file of N, and adding M user objects. N = 100 and 255, M = 10,000 and 40,000, in
// rotated order over the rounds; the median of each is printed with the time per object of the large
// size over that of the small one (1 when the work grows linearly).
// Usage: bench_devices [rounds] [folder]   (defaults: 3, the system's temporary folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "Meterobjects.h"
#include "Relayobjects.h"
#include "deviceengine.h"
#include "meterregister.h"
#include "msgbox.h"
#include "relayregister.h"

namespace fs = std::filesystem;

namespace {

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

int Quiet(const char*, const char*, unsigned) { return 1; }

void WritePlugins(const fs::path& root) {
    auto write = [&](const dev::TDeviceDef& def) {
        for (const dev::SubprogramDef& s : def.Subprograms) {
            const fs::path path = root / (s.folder ? s.folder : def.Folder) / (std::string(s.name) + ".act");
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << "1;ret;\n2;ret;";
        }
    };
    for (const TMeterClass& c : MeterClasses())
        write(*c.Def);
    for (const TRelayClass& c : RelayClasses())
        write(*c.Def);
}

const int kCodes[] = {TMercury230Item::Def.TypeCode, TSIRIUS2VItem::Def.TypeCode};

constexpr int kFiller = 200000;

// Adds n device objects, binding every signal of each at the next free address, as a user who
// builds the configuration does; returns the time the adding took, and in `bindMs` the binding's.
double AddDevices(configmanager& c, int n, double* bindMs = nullptr) {
    double ms = 0;
    int next = 0;
    for (int k = 0; k < n; ++k) {
        const auto start = std::chrono::steady_clock::now();
        auto* o = dynamic_cast<TDeviceEngine*>(c.AddObject(kCodes[k % 2]));
        ms += Ms(start);
        if (!o) {
            std::fprintf(stderr, "object %d not added\n", k);
            std::exit(1);
        }
        ELEMList list;
        o->ListSignalParams(&list, true);
        const auto bindStart = std::chrono::steady_clock::now();
        for (ELEM* e = list.Oldest; e; e = e->Newer, ++next)
            o->BindParam(static_cast<uint16_t>(100 + next / 255), static_cast<uint8_t>(1 + next % 255),
                         static_cast<TParamItemP*>(e)->Item);
        if (bindMs)
            *bindMs += Ms(bindStart);
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete static_cast<TParamItemP*>(e);
        }
    }
    return ms;
}

double AddUserObjects(int n) {
    configmanager c;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < n; ++k)
        if (!c.AddObject(1)) {
            std::fprintf(stderr, "user object %d not added\n", k);
            std::exit(1);
        }
    return Ms(start);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path folder =
        fs::path(argc > 2 ? argv[2] : fs::temp_directory_path().string()) / "bench_devices";
    fs::remove_all(folder);
    WritePlugins(folder / "plugin");
    SetPluginFolder((folder / "plugin").string() + "/");
    SetMessageBoxHandler(&Quiet);
    RegisterMeterDevices();
    RegisterRelayDevices();

    const int kSizes[] = {100, 255};
    const std::string filled = " into " + std::to_string(kFiller);
    const int kUsers[] = {10000, 40000};
    std::map<std::string, std::vector<double>> times;
    for (int r = 0; r < rounds; ++r) {
        // Each round starts with another size.
        for (int s = 0; s < 2; ++s) {
            const int n = kSizes[(s + r) % 2];
            const std::string file = (folder / ("devices" + std::to_string(n) + ".cdb")).string();
            {
                configmanager c;
                times["add " + std::to_string(n)].push_back(AddDevices(c, n));
                if (!c.SaveDatabase(file)) {
                    std::fprintf(stderr, "save: %s\n", c.LastError.c_str());
                    return 1;
                }
            }
            configmanager c;
            const auto start = std::chrono::steady_clock::now();
            if (!c.LoadDatabase(file)) {
                std::fprintf(stderr, "load: %s\n", c.LastError.c_str());
                return 1;
            }
            times["open " + std::to_string(n)].push_back(Ms(start));
            if (c.Objects.Count != static_cast<uint32_t>(n)) {
                std::fprintf(stderr, "opened %u objects of %d\n", c.Objects.Count, n);
                return 1;
            }
        }
        for (int s = 0; s < 2; ++s) {
            const int n = kSizes[(s + r) % 2];
            configmanager c;
            // Plain channels at addresses no device object or binding uses.
            for (int i = 0; i < kFiller; ++i)
                c.NewChannel(static_cast<uint16_t>(40000 + i / 255), static_cast<uint8_t>(1 + i % 255));
            double bind = 0;
            times["add" + filled + " " + std::to_string(n)].push_back(AddDevices(c, n, &bind));
            times["bind" + filled + " " + std::to_string(n)].push_back(bind);
        }
        for (int s = 0; s < 2; ++s) {
            const int n = kUsers[(s + r) % 2];
            times["users " + std::to_string(n)].push_back(AddUserObjects(n));
        }
    }
    auto row = [&](const std::string& what, int small, int large) {
        const double a = Median(times[what + " " + std::to_string(small)]);
        const double b = Median(times[what + " " + std::to_string(large)]);
        std::printf("%-19s %6d: %9.1f ms   %6d: %9.1f ms   per object large/small: %.2f\n", what.c_str(),
                    small, a, large, b, (b / large) / (a / small));
    };
    std::printf("median of %d rounds\n", rounds);
    row("add", kSizes[0], kSizes[1]);
    row("add" + filled, kSizes[0], kSizes[1]);
    row("bind" + filled, kSizes[0], kSizes[1]);
    row("open", kSizes[0], kSizes[1]);
    row("users", kUsers[0], kUsers[1]);
    fs::remove_all(folder);
    return 0;
}
