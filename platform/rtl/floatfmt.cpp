// Floating-point conversions and Format of the runtime layer. Digits come from the exact binary
// value (18 significant digits), are rounded half away from zero, and use DecimalSeparator.
#include "sysutils.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// value = 0.D1D2D3… × 10^exp (digits without trailing zeros; empty for zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    int exp = 0;
};

Decimal ToDecimal(double v) {
    Decimal d;
    d.negative = std::signbit(v);
    if (v == 0)
        return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(v)); // d.ddddddddddddddddde±xx
    d.digits += buf[0];
    d.digits.append(buf + 2, 17);
    d.exp = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Keeps `keep` significant digits, rounding half away from zero; may carry into a new digit.
void RoundTo(Decimal& d, int keep) {
    if (keep >= int(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[size_t(i)] == '9')
            d.digits[size_t(i--)] = '0';
        if (i >= 0) {
            ++d.digits[size_t(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exp;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

char DigitAt(const Decimal& d, int i) {
    return i >= 0 && i < int(d.digits.size()) ? d.digits[size_t(i)] : '0';
}

std::string ExponentText(int e, int minDigits, bool plus) {
    std::string r = e < 0 ? "-" : (plus ? "+" : "");
    std::string n = std::to_string(std::abs(e));
    if (int(n.size()) < minDigits)
        n.insert(0, size_t(minDigits) - n.size(), '0');
    return r + n;
}

// Integer part of a rounded decimal, optionally grouped by ThousandSeparator.
std::string IntegerPart(const Decimal& d, bool grouped) {
    std::string r;
    if (d.exp <= 0 || d.digits.empty())
        return "0";
    for (int i = 0; i < d.exp; ++i) {
        r += DigitAt(d, i);
        int left = d.exp - 1 - i;
        if (grouped && left > 0 && left % 3 == 0)
            r += ThousandSeparator;
    }
    return r;
}

std::string FractionPart(const Decimal& d, int count) {
    std::string r;
    for (int i = 0; i < count; ++i)
        r += DigitAt(d, d.exp + i);
    return r;
}

std::string Special(double v) {
    if (std::isnan(v))
        return "NAN";
    return v < 0 ? "-INF" : "INF";
}

std::string GeneralText(Decimal d, int precision, int digits) {
    RoundTo(d, precision);
    if (d.digits.empty())
        return "0";
    std::string r = d.negative ? "-" : "";
    // Plain notation from 0.0001 up to `precision` integer digits; scientific outside.
    if (d.exp <= precision && d.exp >= -3) {
        r += IntegerPart(d, false);
        int fracDigits = int(d.digits.size()) - d.exp;
        if (fracDigits > 0)
            r += DecimalSeparator + FractionPart(d, fracDigits);
    } else {
        r += d.digits[0];
        if (d.digits.size() > 1)
            r += DecimalSeparator + d.digits.substr(1);
        r += 'E' + ExponentText(d.exp - 1, digits, false);
    }
    return r;
}

std::string CurrencyText(const std::string& number, bool negative) {
    const std::string& c = CurrencyString;
    if (!negative) {
        switch (CurrencyFormat) {
        case 0: return c + number;
        case 1: return number + c;
        case 2: return c + " " + number;
        default: return number + " " + c;
        }
    }
    const std::string& n = number;
    switch (NegCurrFormat) {
    case 0: return "(" + c + n + ")";
    case 1: return "-" + c + n;
    case 2: return c + "-" + n;
    case 3: return c + n + "-";
    case 4: return "(" + n + c + ")";
    case 5: return "-" + n + c;
    case 6: return n + "-" + c;
    case 7: return n + c + "-";
    case 8: return "-" + n + " " + c;
    case 9: return "-" + c + " " + n;
    case 10: return n + " " + c + "-";
    case 11: return c + " " + n + "-";
    case 12: return c + " -" + n;
    case 13: return n + "- " + c;
    case 14: return "(" + c + " " + n + ")";
    default: return "(" + n + " " + c + ")";
    }
}

[[noreturn]] void InvalidFloat(std::string_view s) { throw EConvertError(Format(SInvalidFloat, s)); }

} // namespace

bool TryStrToFloat(std::string_view s, double& out) {
    // Rebuild the number in the C form so strtod never meets the locale's separator.
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ')
        ++i;
    while (n > i && s[n - 1] == ' ')
        --n;
    std::string c;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        c += s[i++];
    int mantissaDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        c += s[i++];
        ++mantissaDigits;
    }
    if (i < n && s[i] == DecimalSeparator) {
        c += '.';
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            c += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            c += s[i++];
        int expDigits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            c += s[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    double v = std::strtod(c.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    out = v;
    return true;
}

double StrToFloat(std::string_view s) {
    double v;
    if (!TryStrToFloat(s, v))
        InvalidFloat(s);
    return v;
}

double StrToFloatDef(std::string_view s, double def) {
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

std::string FloatToStrF(double v, TFloatFormat format, int precision, int digits) {
    if (!std::isfinite(v))
        return Special(v);
    if (precision < 1)
        precision = 1;
    if (precision > 18)
        precision = 18;
    if (digits < 0)
        digits = 0;
    Decimal d = ToDecimal(v);
    switch (format) {
    case ffGeneral: return GeneralText(d, precision, digits > 4 ? 4 : digits);
    case ffExponent: {
        RoundTo(d, precision);
        std::string r = d.negative && !d.digits.empty() ? "-" : "";
        r += DigitAt(d, 0);
        if (precision > 1)
            r += DecimalSeparator +
                 std::string(d.digits.empty() ? "" : d.digits.substr(1))
                     .append(size_t(precision) - (d.digits.empty() ? 1 : d.digits.size()), '0');
        int e = d.digits.empty() ? 0 : d.exp - 1;
        return r + 'E' + ExponentText(e, digits > 4 ? 4 : digits, true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        if (digits > 18)
            digits = 18;
        if (d.exp > precision)
            return GeneralText(d, precision, 0);
        RoundTo(d, std::min(precision, d.exp + digits));
        std::string number = IntegerPart(d, format != ffFixed);
        if (digits > 0)
            number += DecimalSeparator + FractionPart(d, digits);
        bool negative = d.negative && !d.digits.empty();
        if (format == ffCurrency)
            return CurrencyText(number, negative);
        return negative ? "-" + number : number;
    }
    }
    return {};
}

std::string FloatToStr(double v) { return FloatToStrF(v, ffGeneral, 15, 0); }

namespace {

// One section of a FormatFloat picture, analysed.
struct Picture {
    int intPlaces = 0; // '0' and '#' before the point
    int intMin = 0;    // digits forced by '0' (from the first '0' on)
    int fracMin = 0, fracMax = 0;
    bool grouped = false;
    bool scientific = false;
    bool expPlus = false;
    int expDigits = 0;
};

Picture Analyse(std::string_view f) {
    Picture p;
    bool afterPoint = false;
    bool sawZero = false;
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || c == '\'') {
            size_t e = f.find(c, i + 1);
            i = e == std::string_view::npos ? f.size() : e;
        } else if ((c == 'E' || c == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
            p.scientific = true;
            p.expPlus = f[i + 1] == '+';
            i += 2;
            while (i < f.size() && f[i] == '0') {
                ++p.expDigits;
                ++i;
            }
            --i;
        } else if (p.scientific) {
            continue;
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            if (!afterPoint)
                p.grouped = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.fracMax;
                if (c == '0')
                    p.fracMin = p.fracMax;
            } else {
                ++p.intPlaces;
                if (c == '0')
                    sawZero = true;
                if (sawZero)
                    ++p.intMin;
            }
        }
    }
    return p;
}

std::vector<std::string_view> Sections(std::string_view f) {
    std::vector<std::string_view> r;
    size_t start = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || c == '\'') {
            size_t e = f.find(c, i + 1);
            i = e == std::string_view::npos ? f.size() - 1 : e;
        } else if (c == ';') {
            r.push_back(f.substr(start, i - start));
            start = i + 1;
        }
    }
    r.push_back(f.substr(start));
    return r;
}

std::string Render(std::string_view f, const Picture& p, double v, bool withSign) {
    Decimal d = ToDecimal(v);
    int exponent = 0;
    if (p.scientific && !d.digits.empty()) {
        int places = p.intPlaces > 0 ? p.intPlaces : 1;
        RoundTo(d, places + p.fracMax);
        exponent = d.exp - places;
        d.exp = places;
    } else {
        RoundTo(d, std::min(18, d.exp + p.fracMax));
    }
    std::string intDigits;
    for (int i = 0; i < d.exp; ++i)
        intDigits += DigitAt(d, i);
    if (int(intDigits.size()) < p.intMin)
        intDigits.insert(0, size_t(p.intMin) - intDigits.size(), '0');
    std::string frac = FractionPart(d, p.fracMax);
    while (int(frac.size()) > p.fracMin && frac.back() == '0')
        frac.pop_back();

    std::string out = withSign && d.negative && !d.digits.empty() ? "-" : "";
    int intSeen = 0, fracSeen = 0;
    bool afterPoint = false;
    const int len = int(intDigits.size());
    auto emitDigit = [&](int i) {
        out += intDigits[size_t(i)];
        int left = len - 1 - i;
        if (p.grouped && left > 0 && left % 3 == 0)
            out += ThousandSeparator;
    };
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || c == '\'') {
            size_t e = f.find(c, i + 1);
            if (e == std::string_view::npos)
                e = f.size();
            out.append(f.substr(i + 1, e - i - 1));
            i = e;
        } else if ((c == 'E' || c == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
            out += c;
            out += ExponentText(exponent, p.expDigits, p.expPlus);
            i += 2;
            while (i < f.size() && f[i] == '0')
                ++i;
            --i;
        } else if (c == '.') {
            if (!afterPoint && !frac.empty())
                out += DecimalSeparator;
            afterPoint = true;
        } else if (c == ',') {
            continue;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                if (fracSeen < int(frac.size()))
                    out += frac[size_t(fracSeen)];
                ++fracSeen;
            } else {
                // Placeholder k of n shows digit len-n+k; the first one also shows any surplus.
                int at = len - p.intPlaces + intSeen;
                if (intSeen == 0)
                    for (int j = 0; j < at; ++j)
                        emitDigit(j);
                if (at >= 0)
                    emitDigit(at);
                ++intSeen;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string FormatFloat(std::string_view format, double v) {
    if (format.empty() || !std::isfinite(v))
        return FloatToStr(v);
    auto sections = Sections(format);
    std::string_view f = sections[0];
    bool withSign = true;
    if (v == 0 && sections.size() >= 3 && !sections[2].empty()) {
        f = sections[2];
    } else if (v < 0 && sections.size() >= 2 && !sections[1].empty()) {
        f = sections[1];
        withSign = false;
        v = -v;
    }
    return Render(f, Analyse(f), v, withSign);
}

namespace {

[[noreturn]] void BadFormat(std::string_view fmt) { throw EConvertError(Format(SInvalidFormat, fmt)); }

std::string Pad(std::string s, int width, bool left) {
    if (int(s.size()) < width) {
        if (left)
            s.append(size_t(width) - s.size(), ' ');
        else
            s.insert(0, size_t(width) - s.size(), ' ');
    }
    return s;
}

} // namespace

std::string FormatV(std::string_view fmt, const std::vector<TVarRec>& args) {
    std::string out;
    size_t next = 0;
    size_t i = 0;
    auto number = [&](int& value) {
        // A run of digits, or "*" taking an integer argument.
        if (i < fmt.size() && fmt[i] == '*') {
            ++i;
            if (next >= args.size() || args[next].kind != TVarRec::vInt)
                BadFormat(fmt);
            value = int(args[next++].i);
            return true;
        }
        bool any = false;
        value = 0;
        while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
            value = value * 10 + (fmt[i++] - '0');
            if (value > 100000)
                BadFormat(fmt);
            any = true;
        }
        return any;
    };
    while (i < fmt.size()) {
        char c = fmt[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < fmt.size() && fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        int width = 0, prec = -1, n = 0;
        bool left = false;
        size_t save = i;
        if (i < fmt.size() && fmt[i] != '*' && number(n) && i < fmt.size() && fmt[i] == ':') {
            next = size_t(n);
            ++i;
        } else {
            i = save;
        }
        if (i < fmt.size() && fmt[i] == '-') {
            left = true;
            ++i;
        }
        number(width);
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            if (!number(prec))
                prec = 0;
        }
        if (i >= fmt.size() || next >= args.size())
            BadFormat(fmt);
        const char type = char(fmt[i++] | 0x20);
        const TVarRec& a = args[next++];
        const bool isInt = a.kind == TVarRec::vInt || a.kind == TVarRec::vUInt;
        std::string s;
        switch (type) {
        case 'd':
        case 'u':
        case 'x': {
            if (!isInt)
                BadFormat(fmt);
            bool neg = false;
            uint64_t mag;
            if (type == 'd') {
                neg = a.kind == TVarRec::vInt && a.i < 0;
                mag = a.kind == TVarRec::vInt ? (neg ? 0 - uint64_t(a.i) : uint64_t(a.i)) : a.u;
            } else {
                // Unsigned views of a negative int keep its 32-bit width when it has one.
                mag = a.kind == TVarRec::vUInt        ? a.u
                      : (a.i >= INT32_MIN && a.i < 0) ? uint64_t(uint32_t(int32_t(a.i)))
                                                      : uint64_t(a.i);
            }
            s = type == 'x' ? IntToHexBits(mag, 0) : std::to_string(mag);
            if (prec > 0 && int(s.size()) < prec)
                s.insert(0, size_t(prec) - s.size(), '0');
            if (neg)
                s.insert(0, 1, '-');
            break;
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            double v;
            if (a.kind == TVarRec::vFloat)
                v = a.f;
            else if (a.kind == TVarRec::vInt)
                v = double(a.i);
            else if (a.kind == TVarRec::vUInt)
                v = double(a.u);
            else
                BadFormat(fmt);
            if (type == 'e')
                s = FloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3);
            else if (type == 'f')
                s = FloatToStrF(v, ffFixed, 18, prec < 0 ? 2 : prec);
            else if (type == 'g')
                s = FloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 0);
            else if (type == 'n')
                s = FloatToStrF(v, ffNumber, 18, prec < 0 ? 2 : prec);
            else
                s = FloatToStrF(v, ffCurrency, 18, prec < 0 ? CurrencyDecimals : prec);
            break;
        }
        case 's':
            if (a.kind != TVarRec::vString && a.kind != TVarRec::vChar)
                BadFormat(fmt);
            s = a.s;
            if (prec >= 0 && size_t(prec) < s.size())
                s.resize(size_t(prec));
            break;
        case 'p':
            if (a.kind != TVarRec::vPointer)
                BadFormat(fmt);
            s = IntToHexBits(uint64_t(reinterpret_cast<uintptr_t>(a.p)), 8);
            break;
        default: BadFormat(fmt);
        }
        out += Pad(std::move(s), width, left);
    }
    return out;
}
