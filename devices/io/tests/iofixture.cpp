// Test fixture of the I/O-module and telemechanics classes.
#include "iofixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Ukpmobject.h"
#include "actions.h"
#include "devicekit.h"
#include "msgbox.h"

namespace fs = std::filesystem;

void PrintTo(const TIoClass& c, std::ostream* os) { *os << c.Def->Tag; }

namespace iotest {

std::vector<std::string> IoTest::messages;

namespace {

int CaptureMessage(const char* text, const char*, unsigned) {
    IoTest::messages.emplace_back(text);
    return IDOK;
}

constexpr const char* kUkpmSubprograms[] = {"ukpm_makeCRC9",      "ukpm_prepareMessage", "ukpm_parseAnswer",
                                            "ukpm_makeControl",   "ukpm_noAnswer",       "ukpm_convertEnergy",
                                            "ukpm_parseAnswer_p2"};

} // namespace

void IoTest::WriteAct(const std::string& folder, const std::string& name) {
    const fs::path path = fs::path(root) / folder / (name + ".act");
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "1;ret;\n2;ret;";
}

void IoTest::SetUp() {
    RegisterIoDevices();
    char pattern[] = "/tmp/iodevXXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    tmpDir = dir;
    root = tmpDir + "/plugin/";
    for (const TIoClass& c : IoClasses())
        for (const dev::SubprogramDef& s : c.Def->Subprograms)
            WriteAct(c.Def->Folder, s.name);
    for (const char* name : kUkpmSubprograms)
        WriteAct("ukpm", name);
    SetPluginFolder(root);
    messages.clear();
    SetMessageBoxHandler(&CaptureMessage);
    cm = std::make_unique<configmanager>();
}

void IoTest::TearDown() {
    cm.reset();
    SetMessageBoxHandler(nullptr);
    SetPluginFolder("");
    fs::remove_all(tmpDir);
}

void IoTest::SaveAndReload() {
    const std::string path = tmpDir + "/config.cdb";
    ASSERT_TRUE(cm->SaveDatabase(path)) << cm->LastError;
    cm = std::make_unique<configmanager>();
    ASSERT_TRUE(cm->LoadDatabase(path)) << cm->LastError;
}

std::vector<TParamItem*> IoTest::Channels() const {
    std::vector<TParamItem*> out;
    dev::ForEachChannel(&cm->Channels, [&](TParamItem* p) {
        out.push_back(p);
        return true;
    });
    return out;
}

int IoTest::CountAddress(uint16_t type, uint8_t index) const {
    int n = 0;
    for (TParamItem* p : Channels())
        n += dev::SameAddress(p, type, index) ? 1 : 0;
    return n;
}

std::vector<std::string> IoTest::Lines(const std::function<void(TStrings*)>& fill) {
    TStringList list;
    fill(&list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string IoTest::RowText(TObjectItem* o, int row) {
    std::string text;
    o->GetPropertyText(row, text);
    return text;
}

std::string IoTest::ValueText(TObjectItem* o, TParamItem* p) {
    std::string text;
    o->GetParamValueText(p, text);
    return text;
}

} // namespace iotest
