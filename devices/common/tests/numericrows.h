// The property rows of device classes a user types a number into, taken from the classes'
// descriptions, and the check each must pass: its lowest and highest values are kept, and a
// number one past either is refused with one message, leaving the configuration as it was.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "deviceengine.h"
#include "editorhost.h"
#include "enginefixture.h"
#include "forms.h"

namespace devtest {

struct NumericRow {
    const dev::TDeviceDef* def;
    int row; // property row, 2 on
    const dev::PropertyDef& Def() const { return def->Properties[static_cast<size_t>(row - 2)]; }
};
void PrintTo(const NumericRow& r, std::ostream* os);
// "<tag>_row<n>"
std::string NumericRowName(const ::testing::TestParamInfo<NumericRow>& info);

// The edit rows of `defs` holding a number of 1 to 4 bytes, three dotted bytes or a channel address.
std::vector<NumericRow> NumericRows(const std::vector<const dev::TDeviceDef*>& defs);

// Texts a row keeps, each with what the row then shows, in the order typed; and texts it refuses.
std::vector<std::pair<std::string, std::string>> KeptTexts(const dev::PropertyDef& row);
std::vector<std::string> RefusedTexts(const dev::PropertyDef& row);

// Every channel of the configuration (address, name, width, value bytes) and every row of `o`.
std::vector<std::string> ConfigurationState(const std::vector<TParamItem*>& channels, TObjectItem* o);

// Run over a driver's fixture (derived from EngineTest).
template <class Fixture>
class NumericRowTest : public Fixture, public ::testing::WithParamInterface<NumericRow> {
protected:
    // The application first: it installs the dialog service, over which the fixture records messages.
    void SetUp() override {
        Application->Initialize();
        Fixture::SetUp();
    }
    // The same texts typed key by key into the row's in-place editor, each edit ended as a user ends
    // it: a refused text leaves every byte as it was, with one message; the highest value is stored.
    void CheckTypedRow() {
        const NumericRow& r = this->GetParam();
        TDeviceEngine* o = this->Add(*r.def);
        ASSERT_NE(o, nullptr);
        testsupport::EditorHost host;
        using End = testsupport::EditorHost::End;
        const End ends[] = {End::Tab, End::Click, End::Enter};
        int k = 0;
        for (const std::string& text : RefusedTexts(r.Def())) {
            const std::vector<std::string> before = ConfigurationState(this->Channels(), o);
            this->messages.clear();
            ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(r.row, host.Host(), nullptr, nullptr), text,
                                        ends[k++ % 3]));
            EXPECT_EQ(ConfigurationState(this->Channels(), o), before) << text;
            EXPECT_EQ(this->messages.size(), 1u) << text;
        }
        const auto [text, shown] = KeptTexts(r.Def()).back();
        this->messages.clear();
        ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(r.row, host.Host(), nullptr, nullptr), text));
        EXPECT_EQ(this->RowText(o, r.row), shown) << text;
        EXPECT_TRUE(this->messages.empty()) << text;
    }
    void CheckRow() {
        const NumericRow& r = this->GetParam();
        TDeviceEngine* o = this->Add(*r.def);
        ASSERT_NE(o, nullptr);
        for (const auto& [text, shown] : KeptTexts(r.Def())) {
            this->messages.clear();
            o->ApplyPropertyValue(r.row, text);
            EXPECT_EQ(this->RowText(o, r.row), shown) << text;
            EXPECT_TRUE(this->messages.empty()) << text;
        }
        for (const std::string& text : RefusedTexts(r.Def())) {
            const std::vector<std::string> before = ConfigurationState(this->Channels(), o);
            this->messages.clear();
            o->ApplyPropertyValue(r.row, text);
            EXPECT_EQ(ConfigurationState(this->Channels(), o), before) << text;
            EXPECT_EQ(this->messages.size(), 1u) << text;
        }
    }
};

} // namespace devtest
