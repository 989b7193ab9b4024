// Reads a configuration file with the program's own loader and prints what it holds, one object
// per line ("<display type>[: <name>]"), then "channels <n>"; exit 1 when the file does not load.
#include <cstdio>

#include "Configmanager.h"
#include "Objectstore.h"
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
    return 0;
}
