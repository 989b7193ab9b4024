// Test fixture of the relay terminals.
#include "relayfixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "actions.h"
#include "devicekit.h"
#include "msgbox.h"

namespace fs = std::filesystem;

void PrintTo(const TRelayClass& c, std::ostream* os) { *os << c.Def->Tag; }

namespace relaytest {

std::vector<std::string> RelayTest::messages;

namespace {

int CaptureMessage(const char* text, const char*, unsigned)
{
    RelayTest::messages.emplace_back(text);
    return IDOK;
}

} // namespace

void RelayTest::SetUp()
{
    RegisterRelayDevices();
    char pattern[] = "/tmp/relaydevXXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    tmpDir = dir;
    root = tmpDir + "/plugin/";
    dbPath = tmpDir + "/config.cdb";
    for (const TRelayClass& c : RelayClasses()) {
        for (const dev::SubprogramDef& s : c.Def->Subprograms) {
            const fs::path path = fs::path(root) / c.Def->Folder / (std::string(s.name) + ".act");
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << "1;ret;\n2;ret;";
        }
    }
    SetPluginFolder(root);
    messages.clear();
    SetMessageBoxHandler(&CaptureMessage);
    cm = std::make_unique<configmanager>();
}

void RelayTest::TearDown()
{
    cm.reset();
    SetMessageBoxHandler(nullptr);
    SetPluginFolder("");
    fs::remove_all(tmpDir);
}

TDeviceEngine* RelayTest::Add(const dev::TDeviceDef& def)
{
    auto* o = dynamic_cast<TDeviceEngine*>(cm->AddObject(def.TypeCode));
    EXPECT_NE(o, nullptr) << def.Tag;
    return o;
}

void RelayTest::SaveAndReload()
{
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    cm = std::make_unique<configmanager>();
    ASSERT_TRUE(cm->LoadDatabase(dbPath)) << cm->LastError;
}

std::vector<TParamItem*> RelayTest::Channels() const
{
    std::vector<TParamItem*> out;
    dev::ForEachChannel(&cm->Channels, [&](TParamItem* p) {
        out.push_back(p);
        return true;
    });
    return out;
}

int RelayTest::CountAddress(uint16_t type, uint8_t index) const
{
    int n = 0;
    for (TParamItem* p : Channels())
        n += dev::SameAddress(p, type, index) ? 1 : 0;
    return n;
}

std::vector<TDeviceEngine*> RelayTest::Objects(const char* tag) const
{
    std::vector<TDeviceEngine*> out;
    for (ELEM* e = cm->Objects.Oldest; e; e = e->Newer)
        if (auto* o = dynamic_cast<TDeviceEngine*>(static_cast<TObjectItem*>(e)); o && o->Tag == tag)
            out.push_back(o);
    return out;
}

std::vector<std::string> RelayTest::Lines(const std::function<void(TStrings*)>& fill)
{
    TStringList list;
    fill(&list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string RelayTest::RowText(TObjectItem* o, int row)
{
    std::string text;
    o->GetPropertyText(row, text);
    return text;
}

std::string RelayTest::ValueText(TObjectItem* o, TParamItem* p)
{
    std::string text;
    o->GetParamValueText(p, text);
    return text;
}

} // namespace relaytest
