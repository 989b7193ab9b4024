// What the УЗА-10А.2 and the РС83-А2 share: the descriptions of their first fifteen signals and the
// mode text of their one listed poll command. Device layer.
#pragma once

#include <string>

#include "relaycommon.h"

namespace uza {

using namespace dev;

inline constexpr DescGroup kGroups[] = {
    {0, 7, relay::kIndication, true},
    {8, 14, relay::kPlain, false},
};

inline constexpr DescOverride kLabels[] = {
    {0, nullptr, "МТЗ"},
    {1, nullptr, "ТО 1"},
    {2, nullptr, "ТО 2"},
    {3, nullptr, "ЗНЗ"},
    {4, nullptr, "АПВ"},
    {5, nullptr, "Вход 2"},
    {6, nullptr, "Вход 4"},
    {7, nullptr, "Исправно"},
    {8, nullptr, "Вх.1(X18-X19)"},
    {9, nullptr, "Вх.2(X20-X21)"},
    {10, nullptr, "Вх.3(X22-X23)"},
    {11, nullptr, "Вх.4(X24-X25)"},
    {12, nullptr, "ф.А"},
    {13, nullptr, "ф.C"},
    {14, nullptr, "3I0"},
};
inline constexpr int kDescribed = 15;

// The mode of every command reads as that of the first, the only one listed.
inline std::string CommandModeText(const TObjectItem* o) {
    const TCommandItem* first = o->CommandAt(0);
    return first && first->Execute == 1 ? "Выполнять" : "Не выполнять";
}

} // namespace uza
