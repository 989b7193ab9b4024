// Test fixture of the meters.
#include "meterfixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "actions.h"
#include "devicekit.h"
#include "msgbox.h"

namespace fs = std::filesystem;

void PrintTo(const TMeterClass& c, std::ostream* os) { *os << c.Def->Tag; }

namespace metertest {

std::vector<std::string> MeterTest::messages;

std::string ScaleProgram(int scale, int count)
{
    std::string text;
    for (int k = 1; k <= count; ++k)
        text += std::to_string(k) + (k == 75 ? ";push;" + std::to_string(scale) + ";8;\n" : ";ret;\n");
    return text;
}

namespace {

int CaptureMessage(const char* text, const char*, unsigned)
{
    MeterTest::messages.emplace_back(text);
    return IDOK;
}

} // namespace

void MeterTest::SetUp()
{
    RegisterMeterDevices();
    char pattern[] = "/tmp/meterdevXXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    tmpDir = dir;
    root = tmpDir + "/plugin/";
    dbPath = tmpDir + "/config.cdb";
    for (const TMeterClass& c : MeterClasses()) {
        for (const dev::SubprogramDef& s : c.Def->Subprograms)
            WritePlugin((fs::path(s.folder ? s.folder : c.Def->Folder) / (std::string(s.name) + ".act")).string(),
                        "1;ret;\n2;ret;");
    }
    WritePlugin("m230/M230_parseAnswer.act", ScaleProgram(1));
    SetPluginFolder(root);
    messages.clear();
    SetMessageBoxHandler(&CaptureMessage);
    cm = std::make_unique<configmanager>();
}

void MeterTest::TearDown()
{
    cm.reset();
    SetMessageBoxHandler(nullptr);
    SetPluginFolder("");
    fs::remove_all(tmpDir);
}

TDeviceEngine* MeterTest::Add(const dev::TDeviceDef& def)
{
    auto* o = dynamic_cast<TDeviceEngine*>(cm->AddObject(def.TypeCode));
    EXPECT_NE(o, nullptr) << def.Tag;
    return o;
}

void MeterTest::SaveAndReload()
{
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    cm = std::make_unique<configmanager>();
    ASSERT_TRUE(cm->LoadDatabase(dbPath)) << cm->LastError;
}

std::vector<TParamItem*> MeterTest::Channels() const
{
    std::vector<TParamItem*> out;
    dev::ForEachChannel(&cm->Channels, [&](TParamItem* p) {
        out.push_back(p);
        return true;
    });
    return out;
}

int MeterTest::CountAddress(uint16_t type, uint8_t index) const
{
    int n = 0;
    for (TParamItem* p : Channels())
        n += dev::SameAddress(p, type, index) ? 1 : 0;
    return n;
}

std::vector<TDeviceEngine*> MeterTest::Objects(const char* tag) const
{
    std::vector<TDeviceEngine*> out;
    for (ELEM* e = cm->Objects.Oldest; e; e = e->Newer)
        if (auto* o = dynamic_cast<TDeviceEngine*>(static_cast<TObjectItem*>(e)); o && o->Tag == tag)
            out.push_back(o);
    return out;
}

std::vector<std::string> MeterTest::Lines(const std::function<void(TStrings*)>& fill)
{
    TStringList list;
    fill(&list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string MeterTest::RowText(TObjectItem* o, int row)
{
    std::string text;
    o->GetPropertyText(row, text);
    return text;
}

void MeterTest::WritePlugin(const std::string& relative, const std::string& text) const
{
    const fs::path path = fs::path(root) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string MeterTest::ValueText(TObjectItem* o, TParamItem* p)
{
    std::string text;
    o->GetParamValueText(p, text);
    return text;
}

} // namespace metertest
