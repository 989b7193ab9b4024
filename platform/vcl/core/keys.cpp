// Qt key codes and Windows virtual keys, both ways: the named keys, the numeric keypad and the one
// table of the keys that type characters. GUI core internals.
#include <iterator>

#include "handle.h"

namespace {

// The keys of the numeric keypad that Windows names apart (NumLock on); its Enter, and its arrows
// and Home... with NumLock off, are the same keys as elsewhere.
WORD KeypadVirtualKey(int k) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return WORD(VK_NUMPAD0 + (k - Qt::Key_0));
    switch (k) {
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    default: return 0;
    }
}

const int kKeypadKeys[] = {Qt::Key_0,    Qt::Key_1,     Qt::Key_2,        Qt::Key_3,     Qt::Key_4,
                           Qt::Key_5,    Qt::Key_6,     Qt::Key_7,        Qt::Key_8,     Qt::Key_9,
                           Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Asterisk, Qt::Key_Slash, Qt::Key_Period};

// Keys that make no character, and the space bar.
const struct {
    int Key;
    WORD Vk;
} kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
};

// Every key of the main block that types a character, by its place: its virtual key (the US
// layout's, which the Russian layout keeps, so a command key never shares it), its place as the
// X11 desktop numbers it, and the key codes Qt gives for it unshifted and shifted on the US and
// on the Russian layout (a letter's code is its upper case either way).
struct TCharKey {
    WORD Vk;
    unsigned char Place;
    char16_t Us, UsShifted, Ru, RuShifted;
};

const TCharKey kCharKeys[] = {
    {VK_OEM_3, 49, '`', '~', u'Ё', u'Ё'},
    {'1', 10, '1', '!', '1', '!'},
    {'2', 11, '2', '@', '2', '"'},
    {'3', 12, '3', '#', '3', u'№'},
    {'4', 13, '4', '$', '4', ';'},
    {'5', 14, '5', '%', '5', '%'},
    {'6', 15, '6', '^', '6', ':'},
    {'7', 16, '7', '&', '7', '?'},
    {'8', 17, '8', '*', '8', '*'},
    {'9', 18, '9', '(', '9', '('},
    {'0', 19, '0', ')', '0', ')'},
    {VK_OEM_MINUS, 20, '-', '_', '-', '_'},
    {VK_OEM_PLUS, 21, '=', '+', '=', '+'},
    {'Q', 24, 'Q', 'Q', u'Й', u'Й'},
    {'W', 25, 'W', 'W', u'Ц', u'Ц'},
    {'E', 26, 'E', 'E', u'У', u'У'},
    {'R', 27, 'R', 'R', u'К', u'К'},
    {'T', 28, 'T', 'T', u'Е', u'Е'},
    {'Y', 29, 'Y', 'Y', u'Н', u'Н'},
    {'U', 30, 'U', 'U', u'Г', u'Г'},
    {'I', 31, 'I', 'I', u'Ш', u'Ш'},
    {'O', 32, 'O', 'O', u'Щ', u'Щ'},
    {'P', 33, 'P', 'P', u'З', u'З'},
    {VK_OEM_4, 34, '[', '{', u'Х', u'Х'},
    {VK_OEM_6, 35, ']', '}', u'Ъ', u'Ъ'},
    {'A', 38, 'A', 'A', u'Ф', u'Ф'},
    {'S', 39, 'S', 'S', u'Ы', u'Ы'},
    {'D', 40, 'D', 'D', u'В', u'В'},
    {'F', 41, 'F', 'F', u'А', u'А'},
    {'G', 42, 'G', 'G', u'П', u'П'},
    {'H', 43, 'H', 'H', u'Р', u'Р'},
    {'J', 44, 'J', 'J', u'О', u'О'},
    {'K', 45, 'K', 'K', u'Л', u'Л'},
    {'L', 46, 'L', 'L', u'Д', u'Д'},
    {VK_OEM_1, 47, ';', ':', u'Ж', u'Ж'},
    {VK_OEM_7, 48, '\'', '"', u'Э', u'Э'},
    {VK_OEM_5, 51, '\\', '|', '\\', '/'},
    {'Z', 52, 'Z', 'Z', u'Я', u'Я'},
    {'X', 53, 'X', 'X', u'Ч', u'Ч'},
    {'C', 54, 'C', 'C', u'С', u'С'},
    {'V', 55, 'V', 'V', u'М', u'М'},
    {'B', 56, 'B', 'B', u'И', u'И'},
    {'N', 57, 'N', 'N', u'Т', u'Т'},
    {'M', 58, 'M', 'M', u'Ь', u'Ь'},
    {VK_OEM_COMMA, 59, ',', '<', u'Б', u'Б'},
    {VK_OEM_PERIOD, 60, '.', '>', u'Ю', u'Ю'},
    {VK_OEM_2, 61, '/', '?', '.', ','},
    {VK_OEM_102, 94, '\\', '|', '\\', '/'},
};

bool OnUsLayout(const TCharKey& k, int key) { return k.Us == key || k.UsShifted == key; }
bool OnRuLayout(const TCharKey& k, int key) { return k.Ru == key || k.RuShifted == key; }

// The key at place when it types key there; else the first key that types key, the US layout's
// before the Russian one's; else, for a key the table does not know (another layout's letter, a
// dead key), the key at place.
const TCharKey* CharKeyOf(int key, unsigned place) {
    const TCharKey* first = nullptr;
    const TCharKey* at = nullptr;
    for (auto onLayout : {OnUsLayout, OnRuLayout})
        for (const TCharKey& k : kCharKeys) {
            if (place && k.Place == place)
                at = &k;
            if (!onLayout(k, key))
                continue;
            if (place && k.Place == place)
                return &k;
            if (!first)
                first = &k;
        }
    return first ? first : at;
}

} // namespace

WORD QtKeyToVirtualKey(int k, bool keypad, unsigned place) {
    if (WORD vk = keypad ? KeypadVirtualKey(k) : 0)
        return vk;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return WORD(VK_F1 + (k - Qt::Key_F1));
    for (const auto& n : kNamedKeys)
        if (n.Key == k)
            return n.Vk;
    const TCharKey* c = CharKeyOf(k, place);
    return c ? c->Vk : 0;
}

int VirtualKeyToQtKey(WORD vk) {
    if (vk >= VK_F1 && vk <= VK_F12 + 12)
        return Qt::Key_F1 + (vk - VK_F1);
    for (const auto& n : kNamedKeys)
        if (n.Vk == vk)
            return n.Key;
    for (const TCharKey& k : kCharKeys)
        if (k.Vk == vk)
            return k.Us;
    for (int k : kKeypadKeys)
        if (KeypadVirtualKey(k) == vk)
            return int(Qt::KeypadModifier) | k;
    return 0;
}

bool CharOnLayout(char16_t ch, bool russian, int& key, unsigned& place, bool& shift) {
    const char16_t upper = ch >= u'а' && ch <= u'я' ? char16_t(ch - 0x20)
                           : ch == u'ё'             ? u'Ё'
                           : ch >= 'a' && ch <= 'z' ? char16_t(ch - 0x20)
                                                    : ch;
    for (const TCharKey& k : kCharKeys) {
        const char16_t plain = russian ? k.Ru : k.Us, shifted = russian ? k.RuShifted : k.UsShifted;
        if (plain != upper && shifted != upper)
            continue;
        key = upper;
        place = k.Place;
        // A letter takes Shift for its capital; another key for its second character.
        shift = plain == shifted ? ch == upper : upper != plain;
        return true;
    }
    return false;
}
