// The numeric property rows of device classes and what each must keep and refuse.
#include "numericrows.h"

#include "devicekit.h"
#include "sysutils.h"

namespace devtest {

void PrintTo(const NumericRow& r, std::ostream* os) { *os << r.def->Tag() << " row " << r.row; }

std::string NumericRowName(const ::testing::TestParamInfo<NumericRow>& info) {
    return std::string(info.param.def->Tag()) + "_row" + std::to_string(info.param.row);
}

std::vector<NumericRow> NumericRows(const std::vector<const dev::TDeviceDef*>& defs) {
    std::vector<NumericRow> rows;
    for (const dev::TDeviceDef* def : defs) {
        for (size_t k = 0; k < def->Properties.size(); ++k) {
            const dev::PropertyDef& row = def->Properties[k];
            const bool number = row.format == dev::PropertyFormat::Number && row.size >= 1 && row.size <= 4;
            const bool numbers =
                row.format == dev::PropertyFormat::Dotted || row.format == dev::PropertyFormat::Entry;
            if (row.editor == TEditorKind::Edit && (number || numbers))
                rows.push_back({def, static_cast<int>(k) + 2});
        }
    }
    return rows;
}

std::vector<std::pair<std::string, std::string>> KeptTexts(const dev::PropertyDef& row) {
    switch (row.format) {
    case dev::PropertyFormat::Dotted: return {{"0.0.0", "0.0.0"}, {"255,255,255", "255.255.255"}};
    case dev::PropertyFormat::Entry: return {{"0:0", "0:0"}, {"65535:255", "65535:255"}};
    default: return {{"0", "0"}, {IntToStr(row.Highest()), IntToStr(row.Highest())}};
    }
}

std::vector<std::string> RefusedTexts(const dev::PropertyDef& row) {
    switch (row.format) {
    case dev::PropertyFormat::Dotted: return {"256.0.0", "0.0.-1", "9.9.9999"};
    case dev::PropertyFormat::Entry: return {"65536:1", "1:256", "-1:1", "1:-1", "9:9999"};
    default: return {IntToStr(row.Highest() + 1), "-1", "12345678901", "12345678901234567890"};
    }
}

std::vector<std::string> ConfigurationState(const std::vector<TParamItem*>& channels, TObjectItem* o) {
    std::vector<std::string> state;
    for (const TParamItem* p : channels) {
        std::string line =
            dev::AddressText(dev::AddressOf(p)) + " " + p->Name + " " + IntToStr(p->BitWidth());
        for (int b = 0; b < p->ValueBytes(); ++b)
            line += " " + IntToStr(p->Value[b]);
        state.push_back(line);
    }
    TStringList names;
    o->GetPropertyNames(&names);
    for (int row = 0; row < names.Count(); ++row) {
        std::string text;
        o->GetPropertyText(row, text);
        state.push_back(text);
    }
    state.push_back(o->GetDisplayName());
    return state;
}

} // namespace devtest
