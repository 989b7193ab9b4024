// The one test fixture of the device drivers.
#include "enginefixture.h"

#include <filesystem>

#include "Ueditorkit.h"
#include "devicekit.h"

namespace fs = std::filesystem;

namespace devtest {

void EngineTest::Prepare(const char* prefix, const std::vector<const dev::TDeviceDef*>& defs) {
    fFolder = std::make_unique<testsupport::TempFolder>(prefix);
    tmpDir = fFolder->Path();
    root = tmpDir + "/plugin/";
    dbPath = tmpDir + "/config.cdb";
    for (const dev::TDeviceDef* def : defs)
        for (const dev::SubprogramDef& s : def->Subprograms)
            WritePlugin(
                (fs::path(s.folder ? s.folder : def->Folder) / (std::string(s.name) + ".act")).string(),
                "1;ret;\n2;ret;");
    fPlugins = std::make_unique<testsupport::PluginFolderScope>(root);
    fRecorder = std::make_unique<testsupport::MessageRecorder>();
    InstallEditorKit();
    cm = std::make_unique<configmanager>();
}

void EngineTest::TearDown() {
    cm.reset();
    fRecorder.reset();
    fPlugins.reset();
    fFolder.reset();
}

TDeviceEngine* EngineTest::Add(const dev::TDeviceDef& def) {
    auto* o = dynamic_cast<TDeviceEngine*>(cm->AddObject(def.TypeCode));
    EXPECT_NE(o, nullptr) << def.Tag();
    return o;
}

void EngineTest::SaveAndReload() {
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    cm = std::make_unique<configmanager>();
    ASSERT_TRUE(cm->LoadDatabase(dbPath)) << cm->LastError;
}

std::vector<TParamItem*> EngineTest::Channels() const {
    std::vector<TParamItem*> out;
    dev::ForEachChannel(&cm->Channels, [&](TParamItem* p) {
        out.push_back(p);
        return true;
    });
    return out;
}

int EngineTest::CountAddress(uint16_t type, uint8_t index) const {
    int n = 0;
    for (TParamItem* p : Channels())
        n += dev::SameAddress(p, type, index) ? 1 : 0;
    return n;
}

std::vector<TDeviceEngine*> EngineTest::Objects(const char* tag) const {
    std::vector<TDeviceEngine*> out;
    for (TDeviceEngine* o : Objects<TDeviceEngine>())
        if (o->Tag == tag)
            out.push_back(o);
    return out;
}

std::vector<std::string> EngineTest::Lines(const std::function<void(TStrings*)>& fill) {
    TStringList list;
    fill(&list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string EngineTest::RowText(TObjectItem* o, int row) {
    std::string text;
    o->GetPropertyText(row, text);
    return text;
}

std::string EngineTest::ValueText(TObjectItem* o, TParamItem* p) {
    std::string text;
    o->GetParamValueText(p, text);
    return text;
}

void EngineTest::WritePlugin(const std::string& relative, const std::string& text) const {
    const fs::path path = fs::path(relative);
    testsupport::WritePluginFile(root, path.parent_path().string(), path.filename().string(), text);
}

} // namespace devtest
