// The set points of device objects and the texts typed into them.
#include "setpointrows.h"

namespace devtest {

namespace {

// Cut toward zero at the row's resolution, from the typed digits: a binary product would store
// 0.251 × 1000 as 250 and 0.29 × 100 as 28.
constexpr SetpointTextCase kCases[] = {
    {"ThousandthsKept", 3, "0.251", 251},
    {"ThousandthsKeptWithComma", 3, "0,502", 502},
    {"ThousandthsPastResolutionCut", 3, "12.3456", 12345},
    {"ThousandthsNinesPastResolutionCut", 3, "1.1009999", 1100},
    {"ThousandthsLongFractionCut", 3, "0.25099999999999999999999", 250},
    {"ThousandthsExponentExact", 3, "2.51e-1", 251},
    {"ThousandthsHighestWithDigitsPastCut", 3, "65.5359", 65535},
    {"ThousandthsOnePastHighestRefused", 3, "65.536", kRefused},
    {"ThousandthsBelowZeroRefused", 3, "-0.001", kRefused},
    {"HundredthsKept", 2, "0.29", 29},
    {"HundredthsPastResolutionCut", 2, "1.1009", 110},
    {"HundredthsHighestWithDigitsPastCut", 2, "655.359", 65535},
    {"HundredthsOnePastHighestRefused", 2, "655.36", kRefused},
    {"HundredthsBelowZeroRefused", 2, "-0.01", kRefused},
    {"TenthsKept", 1, "0.3", 3},
    {"TenthsPastResolutionCut", 1, "230.05", 2300},
    {"TenthsNinesPastResolutionCut", 1, "12.39999", 123},
    {"TenthsHighestWithDigitsPastCut", 1, "6553.59", 65535},
    {"TenthsOnePastHighestRefused", 1, "6553.6", kRefused},
    {"TenthsBelowZeroRefused", 1, "-0.1", kRefused},
    {"Zero", -1, "0", 0},
    {"ElevenDigitsRefused", -1, "99999999999", kRefused},
    {"TwentyDigitsRefused", -1, "12345678901234567890", kRefused},
    {"HugeExponentRefused", -1, "1e400", kRefused},
    {"NotANumberRefused", -1, "abc", kRefused},
    {"NumberThenTextRefused", -1, "12abc", kRefused},
    {"EmptyRefused", -1, "", kRefused},
};

} // namespace

std::span<const SetpointTextCase> SetpointTextCases() { return kCases; }

std::string SetpointShown(const SetpointRow& r, uint16_t raw) {
    dev::SetU16(r.value, r.offset, raw);
    std::string text;
    r.object->GetSetpointValueText(r.param, r.n, text);
    return text;
}

uint16_t SetpointRaw(const SetpointRow& r) { return dev::GetU16(r.value, r.offset); }

std::string CaseLabel(const SetpointTextCase& c, bool withUnit) {
    return std::string(c.name) + (withUnit ? " with unit" : "");
}

} // namespace devtest
