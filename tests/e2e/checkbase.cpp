// Reads a configuration file with the program's own loader and prints what it holds, one object
// per line ("<display type>[: <name>]"), then "channels <n>", then each schedule entry as its
// schedule-file line after "schedule ", then "schedule same-minute switches <n>"; exit 1 when the
// file does not load.
#include <cstdio>
#include <set>
#include <tuple>

#include "Configmanager.h"
#include "Objectstore.h"
#include "Schedulemodel.h"
#include "Uprogram.h"
#include "cp1251.h"
#include "sysutils.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    RegisterAllDevices();
    configmanager config;
    std::string path;
    if (!TryFromNativePath(argv[1], path))
        return 2;
    if (!config.LoadDatabase(path)) {
        std::printf("%s\n", Cp1251ToUtf8(config.LastError).c_str());
        return 1;
    }
    for (ELEM* e = config.Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        std::string name = o->GetDisplayName();
        std::printf("%s\n",
                    Cp1251ToUtf8(name.empty() ? o->DisplayType : o->DisplayType + ": " + name).c_str());
    }
    std::printf("channels %u\n", config.Channels.Count);
    const std::string schedule = ScheduleFileText(config.Channels);
    for (size_t at = 0, end; (end = schedule.find("\r\n", at)) != std::string::npos; at = end + 2)
        std::printf("schedule %s\n", schedule.substr(at, end - at).c_str());
    // Switches of one channel in one day at one minute beyond the first: the editor stores none.
    std::set<std::tuple<int, int, int, int>> switches;
    int twice = 0;
    for (ELEM* e = config.Channels.Newest; e; e = e->Older) {
        auto* p = static_cast<TParamItem*>(e);
        if (IsScheduleEntry(p))
            for (int c = 0; c < kScheduleChannels; ++c)
                if (p->Value[2] & (1 << c))
                    twice += !switches.insert({p->ChannelType, p->Value[0], p->Value[1], c}).second;
    }
    std::printf("schedule same-minute switches %d\n", twice);
    return 0;
}
