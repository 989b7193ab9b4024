// Throughput of the assembler and the lister (actions layer) on a generated script of mixed
// instructions: prints MB of source text per second for each direction. Usage: bench_actions [lines]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "actions.h"

namespace {

const char* const kVars[] = {"cnt",   "addr", "buf",     "crc",   "len", "idx", "Val", "tmp",
                             "state", "port", "timeout", "flags", "hi",  "lo",  "res", "ptr"};

std::string RandomLine(std::mt19937& rng) {
    auto v = [&] { return std::string(kVars[rng() % std::size(kVars)]); };
    auto n = [&](int hi) { return std::to_string(int(rng() % unsigned(hi))); };
    switch (rng() % 16) {
    case 0: return "push " + n(100000) + " " + n(9);
    case 1: return "push " + v();
    case 2: return "push " + v() + " " + n(64) + " " + n(16);
    case 3: return "push mem " + n(512) + " " + v();
    case 4: return "pop " + v() + " " + v() + " 2";
    case 5: return "pop " + v();
    case 6: return "gotoz @l:" + n(200000);
    case 7: return "gotonz @l:" + n(200000);
    case 8: return "ldi " + v() + " " + n(65536) + " 2";
    case 9: return "addi " + v() + " 1";
    case 10: return "mov " + v() + " " + v();
    case 11: return "do makecrc16";
    case 12: return "act helper";
    case 13: return "test " + v();
    case 14: return "def " + v() + " 16";
    default: return rng() % 2 ? "+" : "ret";
    }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace

int main(int argc, char** argv) {
    int lines = argc > 1 ? std::atoi(argv[1]) : 200000;
    std::mt19937 rng(510);
    TStringList script;
    size_t sourceBytes = 0;
    for (const char* name : kVars) {
        script.Add(std::string("def ") + name);
        sourceBytes += 5 + std::string(name).size();
    }
    while (script.Count() < lines) {
        std::string l = RandomLine(rng);
        sourceBytes += l.size() + 1; // with its line end
        script.Add(l);
    }

    actionManager store;
    for (int i = 0; i < 50; ++i)
        store.CreateAction("sub" + std::to_string(i));
    store.CreateAction("helper");
    T_Action* a = store.CreateAction("bench");

    auto t0 = std::chrono::steady_clock::now();
    a->Assemble(script);
    auto t1 = std::chrono::steady_clock::now();
    size_t listedBytes = 0;
    for (int i = 0; i < int(a->Instructions.size()); ++i)
        listedBytes += a->InstructionText(i).size() + 1;
    auto t2 = std::chrono::steady_clock::now();

    double mb = 1024.0 * 1024.0;
    std::printf("lines %d, source %.2f MB, listed %.2f MB\n", lines, sourceBytes / mb, listedBytes / mb);
    std::printf("assemble: %.3f s, %.1f MB/s\n", Seconds(t1 - t0), sourceBytes / mb / Seconds(t1 - t0));
    std::printf("list:     %.3f s, %.1f MB/s\n", Seconds(t2 - t1), listedBytes / mb / Seconds(t2 - t1));
    return 0;
}
