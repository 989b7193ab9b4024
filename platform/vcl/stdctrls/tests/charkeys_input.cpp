// Keys that type characters arrive as the virtual key of their own key on the keyboard (a digit,
// a letter or the key's VK_OEM_*), the US layout's for the Russian one too, never as a command
// key; and every virtual key the input kit sends for a test comes back as itself.
#include <gtest/gtest.h>

#include <string>

#include "focused_edit.h"
#include "forms.h"
#include "inputkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

struct CharKeyCase {
    const char* Name;
    TLayout Layout;
    const char* Char; // CP1251
    WORD VirtualKey;
};

void PrintTo(const CharKeyCase& c, std::ostream* os) { *os << c.Name; }

const CharKeyCase kCharKeys[] = {
    {"UsExclam", TLayout::Us, "!", '1'},
    {"UsQuote", TLayout::Us, "\"", VK_OEM_7},
    {"UsHash", TLayout::Us, "#", '3'},
    {"UsDollar", TLayout::Us, "$", '4'},
    {"UsPercent", TLayout::Us, "%", '5'},
    {"UsAmpersand", TLayout::Us, "&", '7'},
    {"UsApostrophe", TLayout::Us, "'", VK_OEM_7},
    {"UsParenLeft", TLayout::Us, "(", '9'},
    {"UsParenRight", TLayout::Us, ")", '0'},
    {"UsStar", TLayout::Us, "*", '8'},
    {"UsAt", TLayout::Us, "@", '2'},
    {"UsCaret", TLayout::Us, "^", '6'},
    {"UsSemicolon", TLayout::Us, ";", VK_OEM_1},
    {"UsColon", TLayout::Us, ":", VK_OEM_1},
    {"UsEqual", TLayout::Us, "=", VK_OEM_PLUS},
    {"UsLess", TLayout::Us, "<", VK_OEM_COMMA},
    {"UsUnderscore", TLayout::Us, "_", VK_OEM_MINUS},
    {"UsGreater", TLayout::Us, ">", VK_OEM_PERIOD},
    {"UsQuestion", TLayout::Us, "?", VK_OEM_2},
    {"UsBacktick", TLayout::Us, "`", VK_OEM_3},
    {"UsTilde", TLayout::Us, "~", VK_OEM_3},
    {"UsBracketLeft", TLayout::Us, "[", VK_OEM_4},
    {"UsBraceLeft", TLayout::Us, "{", VK_OEM_4},
    {"UsBackslash", TLayout::Us, "\\", VK_OEM_5},
    {"UsBar", TLayout::Us, "|", VK_OEM_5},
    {"UsBracketRight", TLayout::Us, "]", VK_OEM_6},
    {"UsBraceRight", TLayout::Us, "}", VK_OEM_6},
    {"UsSmallQ", TLayout::Us, "q", 'Q'},
    {"RuShortI", TLayout::Russian, "й", 'Q'},
    {"RuCapitalYa", TLayout::Russian, "Я", 'Z'},
    {"RuHa", TLayout::Russian, "х", VK_OEM_4},
    {"RuHardSign", TLayout::Russian, "ъ", VK_OEM_6},
    {"RuZhe", TLayout::Russian, "ж", VK_OEM_1},
    {"RuE", TLayout::Russian, "э", VK_OEM_7},
    {"RuBe", TLayout::Russian, "б", VK_OEM_COMMA},
    {"RuYu", TLayout::Russian, "ю", VK_OEM_PERIOD},
    {"RuYo", TLayout::Russian, "ё", VK_OEM_3},
    {"RuPeriod", TLayout::Russian, ".", VK_OEM_2},
    {"RuComma", TLayout::Russian, ",", VK_OEM_2},
    {"RuQuote", TLayout::Russian, "\"", '2'},
    {"RuNumero", TLayout::Russian, "№", '3'},
    {"RuSemicolon", TLayout::Russian, ";", '4'},
    {"RuColon", TLayout::Russian, ":", '6'},
    {"RuQuestion", TLayout::Russian, "?", '7'},
    {"RuSlash", TLayout::Russian, "/", VK_OEM_5},
};

class CharKeys : public TFocusedEdit<TEdit, ::testing::TestWithParam<CharKeyCase>> {};

TEST_P(CharKeys, ArriveAsTheirOwnKey) {
    const CharKeyCase& c = GetParam();
    std::vector<WORD> down, up;
    std::string typed;
    Edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { down.push_back(k); };
    Edit->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { up.push_back(k); };
    Edit->OnKeyPress = [&](TObject*, char& ch) { typed += ch; };
    Type(Edit, c.Char, c.Layout);
    EXPECT_EQ(down, std::vector<WORD>{c.VirtualKey});
    EXPECT_EQ(up, std::vector<WORD>{c.VirtualKey});
    EXPECT_EQ(typed, c.Char);
    EXPECT_EQ(Edit->Text(), c.Char);
}

INSTANTIATE_TEST_SUITE_P(Keys, CharKeys, ::testing::ValuesIn(kCharKeys),
                         [](const ::testing::TestParamInfo<CharKeyCase>& i) {
                             return std::string(i.param.Name);
                         });

struct VirtualKeyCase {
    const char* Name;
    WORD VirtualKey;
};

void PrintTo(const VirtualKeyCase& c, std::ostream* os) { *os << c.Name; }

const VirtualKeyCase kVirtualKeys[] = {
    {"Oem1", VK_OEM_1},
    {"OemPlus", VK_OEM_PLUS},
    {"OemComma", VK_OEM_COMMA},
    {"OemMinus", VK_OEM_MINUS},
    {"OemPeriod", VK_OEM_PERIOD},
    {"Oem2", VK_OEM_2},
    {"Oem3", VK_OEM_3},
    {"Oem4", VK_OEM_4},
    {"Oem5", VK_OEM_5},
    {"Oem6", VK_OEM_6},
    {"Oem7", VK_OEM_7},
    {"Digit8", '8'},
    {"LetterQ", 'Q'},
    {"Multiply", VK_MULTIPLY},
    {"Add", VK_ADD},
    {"Prior", VK_PRIOR},
    {"Down", VK_DOWN},
    {"F12", VK_F12},
};

class VirtualKeys : public TFocusedEdit<TEdit, ::testing::TestWithParam<VirtualKeyCase>> {};

TEST_P(VirtualKeys, SentByTheKitArriveAsThemselves) {
    const VirtualKeyCase& c = GetParam();
    WORD down = 0;
    Edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { down = k; };
    TMods mods = None;
    const int key = KeyOfVirtualKey(c.VirtualKey, mods);
    ASSERT_NE(key, 0);
    Press(Edit, key, mods);
    EXPECT_EQ(down, c.VirtualKey);
}

INSTANTIATE_TEST_SUITE_P(Keys, VirtualKeys, ::testing::ValuesIn(kVirtualKeys),
                         [](const ::testing::TestParamInfo<VirtualKeyCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
