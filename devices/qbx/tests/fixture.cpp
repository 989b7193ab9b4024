// Test fixture of the device objects.
#include "fixture.h"

#include <algorithm>
#include <filesystem>

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

void WriteProgram(const std::string& root, const std::string& folder, const std::string& name, int count,
                  const std::vector<std::pair<int, std::string>>& lines) {
    WriteFile(fs::path(root) / folder / (name + ".act"), Program(count, lines));
}

void PrintTo(const EditorCall& c, std::ostream* os) {
    *os << (c.editor == dev::DeviceEditor::Schedule ? "schedule" : "indicator") << " editor of object "
        << c.number << " on " << c.channels;
}

void QbxTest::SetUp() {
    RegisterQbxDevices();
    for (dev::DeviceEditor e : {dev::DeviceEditor::Schedule, dev::DeviceEditor::Indicator})
        fOldOpeners[size_t(e)] = dev::SetDeviceEditorOpener(e, [this, e](const dev::DeviceEditorRequest& r) {
            opened.push_back({e, r.Channels, r.ObjectNumber});
        });
    Prepare("qbxdev-", {});
    WritePlugins(root);
}

void QbxTest::TearDown() {
    EngineTest::TearDown();
    for (dev::DeviceEditor e : {dev::DeviceEditor::Schedule, dev::DeviceEditor::Indicator})
        dev::SetDeviceEditorOpener(e, std::move(fOldOpeners[size_t(e)]));
}

void QbxTest::Unhook() {
    cm->Channels.OnChanged = nullptr;
    for (TParamItem* p : Channels())
        p->OnChanged = nullptr;
}

} // namespace qbxtest
