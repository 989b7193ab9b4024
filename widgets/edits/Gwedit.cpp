#include "Gwedit.h"

#include <algorithm>

#include "sysutils.h"

double GwEvaluateNumberText(std::string_view Text) {
    if (Text.empty())
        return 0;
    // Upper- and lower-case exponent letters count alike, so "1.5e-3" is not negative.
    size_t minus = Text.find('-');
    size_t exponent = Text.find_first_of("Ee");
    bool negative =
        (minus != std::string_view::npos && (exponent == std::string_view::npos || exponent > minus)) ||
        Text.find('(') != std::string_view::npos;
    std::string clean;
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if ((c >= '0' && c <= '9') || c == 'E' || c == 'e' || c == DecimalSeparator)
            clean += c;
        else if (c == '-' && i > 0 && (Text[i - 1] == 'E' || Text[i - 1] == 'e'))
            clean += c;
    }
    if (clean.empty())
        return 0;
    if (negative)
        clean.insert(0, 1, '-');
    double v = 0;
    return TryStrToFloat(clean, v) ? v : 0;
}

bool GwIsValidNumberChar(char Key, std::string_view Text, int SelStart, int SelLength, bool IntegersOnly) {
    if (static_cast<unsigned char>(Key) < 32 && Key != 13)
        return true;
    bool digit = Key >= '0' && Key <= '9';
    bool paren = Key == '(' || Key == ')';
    bool sign = Key == '+' || Key == '-';
    bool separator = !IntegersOnly && Key == DecimalSeparator;
    if (!digit && !paren && !sign && !separator && (IntegersOnly || (Key != 'E' && Key != 'e')))
        return false;
    size_t start = size_t(std::max(0, std::min<int>(SelStart, int(Text.size()))));
    std::string_view selected = Text.substr(start, size_t(std::max(0, SelLength)));
    bool hasSeparator = Text.find(DecimalSeparator) != std::string_view::npos;
    if (separator)
        return SelLength > 0 ? (!hasSeparator || selected.find(DecimalSeparator) != std::string_view::npos)
                             : !hasSeparator;
    if (!IntegersOnly)
        return true;
    if (digit || paren)
        return SelStart != 0 || SelLength > 0 || Text.empty() || (Text[0] != '+' && Text[0] != '-');
    bool textHasSign = Text.find_first_of("+-") != std::string_view::npos;
    if (SelStart == 0 && !textHasSign)
        return true;
    return size_t(SelLength) == Text.size() ||
           (SelStart == 0 && SelLength > 0 && selected.find_first_of("+-") != std::string_view::npos);
}

double GwCheckRange(double Value, double Min, double Max, bool CheckRange,
                    const TGwRangeErrorHandler& OnRangeError, bool& KeepInvalid) {
    KeepInvalid = false;
    if (Min == Max && !CheckRange)
        return Value;
    double bound;
    if (Value < Min)
        bound = Min;
    else if (Value > Max)
        bound = Max;
    else
        return Value;
    bool correct = true;
    if (OnRangeError)
        OnRangeError(Value, bound, correct);
    if (correct)
        return bound;
    KeepInvalid = true;
    return Value;
}
