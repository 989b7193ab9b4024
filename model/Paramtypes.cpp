// Parameter-type tables, poll-period codes and command execution modes. Configuration model layer.
#include "Paramtypes.h"

#include "sysutils.h"

const char* const ParamTypeNames[kParamTypeCount] = {
    "Неизвестный",
    "Телеуправление",
    "ДТКЗ",
    "Телесигнализация",
    "Состояние питания",
    "Состояние аккумулятора",
    "Состояние часов",
    "В журнале неотмеченные сообщения",
    "Токовая нагрузка",
    "Напряжение",
    "Мощность активная",
    "Мощность реактивная",
    "Мощность полная",
    "Коэффициент мощности",
    "Частота",
    "Энергия активная",
    "Энергия реактивная",
    "Температура",
    "Давление",
    "Угол между напряжениями",
    "Энергия активная по тарифам",
    "Энергия реактивная по тарифам",
    "Телеуправление (2bit)",
    "ДТКЗ (2bit)",
    "Телесигнализация (2bit)",
    "Расстояние",
    "Переключатель (8bit)",
};

const char* const ParamTypeShortNames[kParamTypeCount] = {
    "???", "ТУ", "ДТКЗ", "ТС", "ТС", "ТС", "ТС",  "ТС",  "I",  "U",    "PA", "PR", "PS", "PF",
    "F",   "EA", "ER",   "T",  "P",  "A",  "EAT", "ERT", "ТУ", "ДТКЗ", "ТС", "L",  "ТС",
};

namespace {
const double kMultipliers[kParamTypeCount] = {
    1, 1, 1, 1, 1, 1, 1, 1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.001, 0.01, 1, 1, 0.01, 0.1, 0.1, 1, 1, 1, 1, 1, 1, 1,
};

// A count outside 0..63 would wrap into another unit: no code, and the count as typed goes to
// `refused`. Digits too many to read are such a count; a text that is no number is one of the unit.
std::optional<uint8_t> TimedCode(const std::string& number, char unit, TPeriodRefusal* refused) {
    const std::string t = Trim(number);
    int64_t count = 0;
    const bool read = TryStrToInt64(t, count);
    if (!read && !IsDecimalNumber(t)) {
        count = 1;
    } else if (!read || count < 0 || count > kPeriodMaxCount) {
        if (refused)
            *refused = {t, false};
        return std::nullopt;
    }
    uint8_t code = static_cast<uint8_t>(count);
    if (unit == 'm')
        code |= kPeriodMinutesBit;
    else if (unit == 'h')
        code |= kPeriodHoursBit;
    return code;
}

// Position of the first unit letter, looked for as "s", then "m", then "h".
size_t FindUnit(const std::string& text, char& unit) {
    for (char u : {'s', 'm', 'h'}) {
        size_t at = text.find(u);
        if (at != std::string::npos) {
            unit = u;
            return at;
        }
    }
    return std::string::npos;
}

// A number typed with no unit letter would be dropped, or taken for a mode it never named.
bool RefusedForNoUnit(const std::string& number, TPeriodRefusal* refused) {
    const std::string t = Trim(number);
    if (t.find_first_of("0123456789") == std::string::npos)
        return false;
    if (refused)
        *refused = {t, true};
    return true;
}
} // namespace

double ParamTypeMultiplier(int code) {
    return code >= 0 && code < kParamTypeCount ? kMultipliers[code] : 1.0;
}

std::string ParamTypeMultiplierText(int code) {
    return FloatToStrF(ParamTypeMultiplier(code), ffGeneral, 6, 0);
}

const char* const kPeriodNoneText = "нет опроса";
const char* const kPeriodContinuousText = "непрерывно";

std::string PeriodCountText(uint8_t code) {
    if (code & kPeriodHoursBit)
        return IntToStr(code & kPeriodCountMask) + " h";
    if (code & kPeriodMinutesBit)
        return IntToStr(code & kPeriodCountMask) + " m";
    return IntToStr(code) + " s";
}

std::string PeriodText(uint8_t code) {
    if (code == kPeriodNone)
        return kPeriodNoneText;
    if (code == kPeriodContinuous)
        return kPeriodContinuousText;
    return PeriodCountText(code);
}

bool IsDecimalNumber(const std::string& text) {
    const size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > first && text.find_first_not_of("0123456789", first) == std::string::npos;
}

std::optional<uint8_t> PeriodFromText(const std::string& text, TPeriodRefusal* refused) {
    if (text == kPeriodNoneText)
        return kPeriodNone;
    if (text == kPeriodContinuousText)
        return kPeriodContinuous;
    char unit = 0;
    size_t at = FindUnit(text, unit);
    if (at == std::string::npos) {
        RefusedForNoUnit(text, refused);
        return std::nullopt;
    }
    return TimedCode(text.substr(0, at), unit, refused);
}

const char* const kModeExecute = "Выполнять";
const char* const kModeEverySession = "Выполнять при каждом сеансе";
const char* const kModeTimedTemplate = "Выполнять (T=?)";
const char* const kModeNotExecuted = "Не выполнять";

std::string CommandModeText(uint8_t execute, uint8_t period) {
    if (execute != 1)
        return kModeNotExecuted;
    if (period == kPeriodNone)
        return kModeExecute;
    if (period == kPeriodContinuous)
        return kModeEverySession;
    return std::string("Выполнять (T=") + PeriodCountText(period) + ")";
}

bool CommandModeFromText(const std::string& text, uint8_t& execute, uint8_t& period,
                         TPeriodRefusal* refused) {
    if (text == kModeExecute) {
        execute = 1;
        period = kPeriodNone;
        return true;
    }
    if (text == kModeEverySession) {
        execute = 1;
        period = kPeriodContinuous;
        return true;
    }
    char unit = 0;
    size_t at = FindUnit(text, unit);
    if (at != std::string::npos) {
        size_t eq = text.find('=');
        size_t from = eq == std::string::npos || eq > at ? 0 : eq + 1;
        std::optional<uint8_t> code = TimedCode(text.substr(from, at - from), unit, refused);
        if (!code)
            return false;
        execute = 1;
        period = *code;
        return true;
    }
    // The count of a timed text stands between "=" and its closing bracket.
    std::string count = text.substr(text.find('=') == std::string::npos ? 0 : text.find('=') + 1);
    if (!count.empty() && count.back() == ')')
        count.pop_back();
    if (RefusedForNoUnit(count, refused))
        return false;
    execute = 0;
    period = kPeriodNone;
    return true;
}
