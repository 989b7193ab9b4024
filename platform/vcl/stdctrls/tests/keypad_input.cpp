// The numeric keypad under a user's keys: its keys arrive as the virtual keys Windows gives them
// (NumLock on), and what they type stays the character.
#include <gtest/gtest.h>

#include <string>

#include "focused_edit.h"
#include "forms.h"
#include "inputkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

struct KeypadCase {
    const char* Name;
    int Key;
    TMods Mods;
    WORD VirtualKey;
    char Typed; // 0: the key types nothing
};

void PrintTo(const KeypadCase& c, std::ostream* os) { *os << c.Name; }

const KeypadCase kKeys[] = {
    {"Pad0", '0', Keypad, VK_NUMPAD0, '0'},
    {"Pad7", '7', Keypad, VK_NUMPAD7, '7'},
    {"Pad9", '9', Keypad, VK_NUMPAD9, '9'},
    {"PadPlus", '+', Keypad, VK_ADD, '+'},
    {"PadMinus", '-', Keypad, VK_SUBTRACT, '-'},
    {"PadStar", '*', Keypad, VK_MULTIPLY, '*'},
    {"PadSlash", '/', Keypad, VK_DIVIDE, '/'},
    {"PadDecimal", '.', Keypad, VK_DECIMAL, '.'},
    {"PadEnter", Key::Enter, Keypad, VK_RETURN, '\r'},
    {"PadHomeWithNumLockOff", Key::Home, Keypad, VK_HOME, 0},
    {"MainPlus", '+', None, VK_OEM_PLUS, '+'},
    {"MainMinus", '-', None, VK_OEM_MINUS, '-'},
    {"Main7", '7', None, '7', '7'},
};

class KeypadKeys : public TFocusedEdit<TEdit, ::testing::TestWithParam<KeypadCase>> {};

TEST_P(KeypadKeys, ArriveAsWindowsNamesThem) {
    const KeypadCase& c = GetParam();
    WORD down = 0, up = 0;
    std::string typed;
    Edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { down = k; };
    Edit->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { up = k; };
    Edit->OnKeyPress = [&](TObject*, char& ch) { typed += ch; };
    Press(Edit, c.Key, c.Mods);
    EXPECT_EQ(down, c.VirtualKey);
    EXPECT_EQ(up, c.VirtualKey);
    EXPECT_EQ(typed, c.Typed ? std::string(1, c.Typed) : std::string());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeypadKeys, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<KeypadCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
