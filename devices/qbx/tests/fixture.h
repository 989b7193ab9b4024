// Test fixture of the device objects: the drivers' engine fixture with the QBX classes registered,
// a plug-in folder of small .act files and a version.ini, and recording device editor openers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "deviceeditors.h"
#include "devicekit.h"
#include "enginefixture.h"
#include "qbxdata.h"
#include "records.h"

namespace qbxtest {

// Signal bindings written into the fixture's QBX-510 message-parsing subprogram.
inline constexpr uint16_t kSignal1Type = 100;
inline constexpr uint8_t kSignal1Index = 1;
inline constexpr uint16_t kPowerType = 200;
inline constexpr uint8_t kPowerIndex = 1;

// Writes the plug-in folder under root: every default subprogram of the QBX devices.
void WritePlugins(const std::string& root);
// A signal of the QBX-510 (1..20, 32 the temperature) bound in its message parser.
struct SignalBinding {
    int signal;
    int type;
    int index;
};
// Rewrites the QBX-510 message parser of the plug-in folder under root with these bindings.
void WriteParser(const std::string& root, const std::vector<SignalBinding>& bindings);
// Removes one plug-in file (folder, name without ".act").
void RemovePlugin(const std::string& root, const std::string& folder, const std::string& name);
// Writes one plug-in file: `count` instructions "ret", with the given (position, text) lines instead.
void WriteProgram(const std::string& root, const std::string& folder, const std::string& name, int count,
                  const std::vector<std::pair<int, std::string>>& lines);

using devtest::Records;

// One editor an object asked the program to open.
struct EditorCall {
    dev::DeviceEditor editor;
    ELEMList* channels;
    uint16_t number;
    bool operator==(const EditorCall&) const = default;
};
void PrintTo(const EditorCall& c, std::ostream* os);

class QbxTest : public devtest::EngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    using EngineTest::Add;
    // Adds an object by type code and returns it as the expected class.
    template <class T> T* Add(int code) {
        TObjectItem* o = cm->AddObject(code);
        EXPECT_NE(o, nullptr) << "type code " << code;
        auto* t = dynamic_cast<T*>(o);
        EXPECT_NE(t, nullptr) << "type code " << code;
        return t;
    }
    // Stops the configuration renumbering channels when a device changes one, so that tests of a
    // device's own bookkeeping see the addresses they gave.
    void Unhook();

    std::vector<EditorCall> opened; // editors asked for, through the openers the fixture registers

private:
    dev::TDeviceEditorOpener fOldOpeners[2];
};

} // namespace qbxtest
