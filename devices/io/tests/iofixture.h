// Test fixture of the I/O-module and telemechanics classes: a plug-in folder with their default
// subprograms, a captured message box, a fresh configuration with the classes registered.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "ioregister.h"

namespace iotest {

class IoTest : public ::testing::Test {
public:
    static std::vector<std::string> messages;

protected:
    void SetUp() override;
    void TearDown() override;

    // Writes <plug-in folder>/<folder>/<name>.act.
    void WriteAct(const std::string& folder, const std::string& name);
    void SaveAndReload();
    std::vector<TParamItem*> Channels() const;
    int CountAddress(uint16_t type, uint8_t index) const;
    template <class T> T* First() const {
        for (ELEM* e = cm->Objects.Oldest; e; e = e->Newer)
            if (auto* o = dynamic_cast<T*>(static_cast<TObjectItem*>(e)))
                return o;
        return nullptr;
    }
    static std::vector<std::string> Lines(const std::function<void(TStrings*)>& fill);
    static std::string RowText(TObjectItem* o, int row);
    static std::string ValueText(TObjectItem* o, TParamItem* p);

    std::string tmpDir;
    std::string root;
    std::unique_ptr<configmanager> cm;
};

struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TIoClass>& info) const {
        return info.param.Def->Tag;
    }
};

} // namespace iotest

void PrintTo(const TIoClass& c, std::ostream* os);
