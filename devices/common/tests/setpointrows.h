// The set points device objects list, taken from the objects themselves, and the checks each must
// pass: a typed number is scaled to the row's resolution from its decimal digits and cut toward zero;
// one outside the two bytes is refused with one message, leaving the configuration as it was; a text
// that is no number changes nothing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "Editorkit.h"
#include "deviceengine.h"
#include "devicekit.h"
#include "editorhost.h"
#include "enginefixture.h"
#include "numericrows.h"

namespace devtest {

inline constexpr int kRefused = -1; // refused with one message

// A typed text and the raw value it stores at a resolution of `decimals` places (-1: any).
struct SetpointTextCase {
    const char* name;
    int decimals;
    const char* text;
    int raw; // or kRefused
};
std::span<const SetpointTextCase> SetpointTextCases();

// One set point as the walk finds it.
struct SetpointRow {
    TObjectItem* object;
    TParamItem* param;
    int n;
    TParamItem* value; // the channel that holds its raw value
    int offset;        // of its two bytes in `value`
    int decimals;      // places the row shows
    std::string unit;  // what the row shows after the number
    std::string label; // for failure messages
};

// The row's text for a raw value.
std::string SetpointShown(const SetpointRow& r, uint16_t raw);
uint16_t SetpointRaw(const SetpointRow& r);
// How far `text` was typed with `unit`: "<name>" or "<name> with unit".
std::string CaseLabel(const SetpointTextCase& c, bool withUnit);

// Run over a driver's fixture (derived from EngineTest).
template <class Fixture> class SetpointRowTest : public Fixture {
protected:
    // The application first: it installs the dialog service, over which the fixture records messages.
    void SetUp() override {
        Application->Initialize();
        Fixture::SetUp();
        fSeparator = DecimalSeparator;
        DecimalSeparator = '.';
    }
    void TearDown() override {
        DecimalSeparator = fSeparator;
        Fixture::TearDown();
    }

    // Calls `check` with the set points of a fresh object of each class, first as it is made, then
    // with each item of each of its drop-down property rows chosen. Every parameter that lists set
    // points is bound first, and each set point switched on by typing its own text.
    void ForEachObject(const std::vector<const dev::TDeviceDef*>& defs,
                       const std::function<void(const std::vector<SetpointRow>&)>& check) {
        int found = 0;
        for (const dev::TDeviceDef* def : defs) {
            std::vector<std::pair<int, std::string>> choices{{0, ""}};
            for (size_t k = 0; k < def->Properties.size(); ++k)
                if (def->Properties[k].editor == TEditorKind::Choice)
                    for (const char* item : def->Properties[k].items)
                        choices.emplace_back(static_cast<int>(k) + 2, item);
            for (const auto& [row, item] : choices) {
                this->cm = std::make_unique<configmanager>();
                TDeviceEngine* o = this->Add(*def);
                if (!o)
                    continue;
                if (row != 0)
                    o->ApplyPropertyValue(row, item);
                const std::vector<SetpointRow> rows =
                    Rows(o, std::string(def->Tag()) + (row ? " " + item : ""));
                found += static_cast<int>(rows.size());
                if (!rows.empty())
                    check(rows);
            }
        }
        EXPECT_GT(found, 0);
    }

    // Every case of the table for the row's resolution, typed as it is and followed by the unit.
    void CheckTexts(const SetpointRow& r, const std::function<void(const std::string&)>& type) {
        std::set<int> resolutions;
        for (const SetpointTextCase& c : SetpointTextCases()) {
            if (c.decimals != -1 && c.decimals != r.decimals)
                continue;
            resolutions.insert(c.decimals);
            for (bool withUnit : {false, true}) {
                const std::string text = std::string(c.text) + (withUnit ? r.unit : "");
                dev::SetU16(r.value, r.offset, 4321);
                const std::vector<std::string> before = ConfigurationState(this->Channels(), r.object);
                this->messages.clear();
                type(text);
                const std::string where = r.label + ": " + CaseLabel(c, withUnit);
                if (c.raw >= 0) {
                    EXPECT_EQ(SetpointRaw(r), c.raw) << where;
                    EXPECT_TRUE(this->messages.empty()) << where;
                } else {
                    EXPECT_TRUE(ConfigurationState(this->Channels(), r.object) == before) << where;
                    EXPECT_EQ(this->messages.size(), 1u) << where;
                }
            }
        }
        EXPECT_EQ(resolutions.count(r.decimals), 1u) << r.label << ": no case at this resolution";
    }

    void CheckTypedTexts(const std::vector<const dev::TDeviceDef*>& defs) {
        ForEachObject(defs, [&](const std::vector<SetpointRow>& rows) {
            for (const SetpointRow& r : rows)
                CheckTexts(r,
                           [&](const std::string& text) { r.object->SetSetpointValue(r.param, r.n, text); });
        });
    }

    // Every raw value, typed as its row shows it (either separator), stores that raw value again.
    void CheckEveryRawValue(const std::vector<const dev::TDeviceDef*>& defs) {
        std::set<std::string> seen;
        ForEachObject(defs, [&](const std::vector<SetpointRow>& rows) {
            for (const SetpointRow& r : rows) {
                if (!seen.insert(r.object->Tag + SetpointShown(r, 1) + SetpointShown(r, 0xFFFF)).second)
                    continue;
                this->messages.clear();
                int wrong = 0;
                for (int raw = 0; raw <= 0xFFFF; ++raw) {
                    DecimalSeparator = raw % 2 ? ',' : '.';
                    const std::string text = SetpointShown(r, static_cast<uint16_t>(raw));
                    dev::SetU16(r.value, r.offset, static_cast<uint16_t>(raw ^ 0x5A5A));
                    r.object->SetSetpointValue(r.param, r.n, text);
                    if (SetpointRaw(r) != raw && ++wrong <= 3)
                        ADD_FAILURE() << r.label << ": \"" << text << "\" stores " << SetpointRaw(r);
                }
                DecimalSeparator = '.';
                EXPECT_EQ(wrong, 0) << r.label;
                EXPECT_TRUE(this->messages.empty()) << r.label;
            }
        });
    }

    // The table typed key by key into the in-place editor of one set point of each kind, each edit
    // ended as a user ends it.
    void CheckTypedKeyByKey(const std::vector<const dev::TDeviceDef*>& defs) {
        using End = testsupport::EditorHost::End;
        const End ends[] = {End::Tab, End::Click, End::Enter};
        int k = 0;
        std::set<std::string> seen;
        testsupport::EditorHost host;
        ForEachObject(defs, [&](const std::vector<SetpointRow>& rows) {
            for (const SetpointRow& r : rows) {
                if (!seen.insert(r.object->Tag + SetpointShown(r, 1)).second)
                    continue;
                CheckTexts(r, [&](const std::string& text) {
                    EXPECT_TRUE(host.TypeAndEnd(
                        r.object->CreateSetpointEditor(r.param, r.n, host.Host(), nullptr, nullptr), text,
                        ends[k++ % 3]));
                });
            }
        });
    }

private:
    std::vector<SetpointRow> Rows(TDeviceEngine* o, const std::string& label) {
        std::vector<SetpointRow> rows;
        for (int i = 0; i < o->ParamCount(); ++i) {
            TParamItem* p = o->Param(i);
            const int count = o->GetSetpointCount(p);
            if (count == 0)
                continue;
            const auto index = static_cast<uint8_t>(1 + i);
            o->BindParam(kBoundType, index, p);
            EXPECT_TRUE(dev::SameAddress(p, kBoundType, index)) << label << " " << p->Name;
            for (int n = 0; n < count; ++n) {
                std::string text;
                o->GetSetpointValueText(p, n, text);
                o->SetSetpointValue(p, n, text);
                SetpointRow r{o,         p, n,  nullptr,
                              1 + 2 * n, 0, "", label + " " + p->Name + " #" + std::to_string(n)};
                for (TParamItem* c : this->Channels())
                    if (dev::SameAddress(c, kSetpointValueType, index))
                        r.value = c;
                if (!r.value) {
                    ADD_FAILURE() << r.label << ": no value channel";
                    continue;
                }
                const std::string one = SetpointShown(r, 1);
                const size_t point = one.find(DecimalSeparator);
                const size_t digits = point == std::string::npos ? 0 : point + 1;
                const size_t end = std::min(one.find_first_not_of("0123456789", digits), one.size());
                r.decimals = point == std::string::npos ? 0 : static_cast<int>(end - digits);
                r.unit = one.substr(end);
                rows.push_back(r);
            }
        }
        return rows;
    }

    static constexpr uint16_t kBoundType = 800;
    static constexpr uint16_t kSetpointValueType = 16;
    char fSeparator = '.';
};

} // namespace devtest
