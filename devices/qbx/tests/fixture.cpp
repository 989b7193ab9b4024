// Test fixture of the device objects.
#include "fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "actions.h"
#include "msgbox.h"
#include "qbxregister.h"

namespace fs = std::filesystem;

namespace qbxtest {

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
    testsupport::WritePluginFile(path.parent_path().string(), "", path.filename().string(), text);
}

// "k;ret;" lines, with the given lines replaced.
std::string Program(int count, const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<std::string> text(static_cast<size_t>(count));
    for (int k = 1; k <= count; ++k)
        text[static_cast<size_t>(k - 1)] = "ret;";
    for (const auto& [pos, line] : lines)
        text[static_cast<size_t>(pos - 1)] = line;
    std::string out;
    for (int k = 1; k <= count; ++k)
        out += std::to_string(k) + ";" + text[static_cast<size_t>(k - 1)] + (k < count ? "\n" : "");
    return out;
}

// The concentrator's message parser with the given signals bound, the rest unbound.
std::string ParseMessage(const std::vector<SignalBinding>& bindings) {
    std::vector<std::pair<int, std::string>> lines;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 32}) {
        const int n = qbx::Qbx510ParseBlock(i);
        auto b = std::find_if(bindings.begin(), bindings.end(),
                              [i](const SignalBinding& s) { return s.signal == i; });
        if (b != bindings.end()) {
            lines.push_back({n, "push;" + std::to_string(b->type) + ";16;"});
            lines.push_back({n + 1, "push;" + std::to_string(b->index) + ";"});
        } else {
            lines.push_back({n, "gotoa;" + std::to_string(n + 4) + ";"});
        }
    }
    return Program(104, lines);
}

} // namespace

void WritePlugins(const std::string& rootText) {
    const fs::path root(rootText);
    auto simple = [&](const char* folder, const qbx::SubprogramDef* defs, int n) {
        for (int k = 0; k < n; ++k)
            WriteFile(root / folder / (std::string(defs[k].name) + ".act"), Program(2, {}));
    };
    simple("qbx510", qbx::Qbx510Subprograms, qbx::kQbx510SubCount);
    WriteParser(rootText, {{1, kSignal1Type, kSignal1Index}, {17, kPowerType, kPowerIndex}});
    WriteFile(root / "qbx510" / "version.ini", "[qbx510_parseMessage]\nversion_l=3\nversion_h=1\n");
    WriteFile(root / "uo" / "qbx520_checkSchedule.act", Program(20, {{6, "gotoa;17;"}}));
    WriteFile(root / "uo" / "qbx520_mainAction.act", Program(3, {}));
    simple("qbx530", qbx::Qbx530Def.subprograms, qbx::Qbx530Def.subprogramCount);
    simple("qbx550", qbx::Qbx550Def.subprograms, qbx::Qbx550Def.subprogramCount);
    simple("qbx540", qbx::Qbx540Subprograms, 5);
    simple("qbx560", qbx::Qbx560Subprograms, 4);
    simple("qbx570mp3", qbx::Qbx570mp3Subprograms, 5);
    simple("qbx570mp1", qbx::Qbx570mp1Subprograms, 5);
}

void WriteParser(const std::string& root, const std::vector<SignalBinding>& bindings) {
    WriteFile(fs::path(root) / "qbx510" / "qbx510_parseMessage.act", ParseMessage(bindings));
}

void RemovePlugin(const std::string& root, const std::string& folder, const std::string& name) {
    fs::remove(fs::path(root) / folder / (name + ".act"));
}

void WritePlugin(const std::string& root, const std::string& folder, const std::string& name, int count,
                 const std::vector<std::pair<int, std::string>>& lines) {
    WriteFile(fs::path(root) / folder / (name + ".act"), Program(count, lines));
}

void QbxTest::SetUp() {
    RegisterQbxDevices();
    fFolder = std::make_unique<testsupport::TempFolder>("qbxdev-");
    tmpDir = fFolder->Path();
    root = tmpDir + "/plugin/";
    dbPath = tmpDir + "/config.cdb";
    WritePlugins(root);
    fPlugins = std::make_unique<testsupport::PluginFolderScope>(root);
    fRecorder = std::make_unique<testsupport::MessageRecorder>();
    cm = std::make_unique<configmanager>();
}

void QbxTest::TearDown() {
    cm.reset();
    fRecorder.reset();
    fPlugins.reset();
    fFolder.reset();
}

void QbxTest::Unhook() {
    cm->Channels.OnChanged = nullptr;
    for (TParamItem* p : Channels())
        p->OnChanged = nullptr;
}

void QbxTest::SaveAndReload() {
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    cm = std::make_unique<configmanager>();
    ASSERT_TRUE(cm->LoadDatabase(dbPath)) << cm->LastError;
}

std::vector<TParamItem*> QbxTest::Channels() const {
    std::vector<TParamItem*> out;
    qbx::ForEachChannel(&cm->Channels, [&](TParamItem* p) {
        out.push_back(p);
        return true;
    });
    return out;
}

int QbxTest::CountAddress(uint16_t type, uint8_t index) const {
    int n = 0;
    for (TParamItem* p : Channels())
        n += qbx::SameAddress(p, type, index) ? 1 : 0;
    return n;
}

std::string QbxTest::RowText(TObjectItem* o, int row) {
    std::string text;
    o->GetPropertyText(row, text);
    return text;
}

std::string QbxTest::ValueText(TObjectItem* o, TParamItem* p) {
    std::string text;
    o->GetParamValueText(p, text);
    return text;
}

std::vector<std::string> QbxTest::Lines(const std::function<void(TStrings*)>& fill) const {
    TStringList list;
    fill(&list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

} // namespace qbxtest
