// The mask edit under a user's keys and its edit menu: the clipboard and editing keys and the menu's
// commands go through the mask, and no sequence of typing, cut, copy, paste and deletion by key or
// by menu moves or drops its literals.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "clipbrd.h"
#include "focused_edit.h"
#include "forms.h"
#include "inputkit.h"
#include "mask.h"

namespace {

using namespace inputkit;

class MaskInput : public TFocusedEdit<TMaskEdit> {
protected:
    // The mask's length and its literals where the mask puts them.
    void ExpectShape(const std::string& mask, const std::string& context) {
        TEditMask m(mask);
        std::string empty = m.EmptyText();
        std::string now = Edit->EditText();
        ASSERT_EQ(now.size(), empty.size()) << context << ": \"" << now << "\"";
        for (size_t i = 0; i < empty.size(); ++i) {
            if (!m.Editable(int(i))) {
                ASSERT_EQ(now[i], empty[i]) << context << ": \"" << now << "\" at " << i;
            }
        }
    }
};

// The recorded case: mask "00:00;1;_", keys 1 2 3 4, Home, Shift+Right, Ctrl+X.
TEST_F(MaskInput, CtrlXOfTheFirstDigitBlanksItAndKeepsTheSeparator) {
    Edit->SetEditMask("00:00;1;_");
    Type(Edit, "1234");
    Press(Edit, Key::Home);
    Press(Edit, Key::Right, Shift);
    Press(Edit, 'X', Ctrl);
    EXPECT_EQ(Edit->EditText(), "_2:34");
    EXPECT_EQ(Clipboard()->AsText(), "1");
}

struct ClipboardKey {
    const char* Name;
    int Key;
    TMods Mods;
    const char* EditText; // after the key, with "1" of "12:34" selected and "98" on the clipboard
    const char* Clipboard;
};

void PrintTo(const ClipboardKey& c, std::ostream* os) { *os << c.Name; }

class MaskClipboardKeys : public MaskInput, public ::testing::WithParamInterface<ClipboardKey> {};

TEST_P(MaskClipboardKeys, GoThroughTheMask) {
    const ClipboardKey& c = GetParam();
    Edit->SetEditMask("!90:00;1;_");
    Type(Edit, "1234");
    Edit->SetSelStart(0);
    Edit->SetSelLength(1);
    Clipboard()->SetAsText("98");
    Press(Edit, c.Key, c.Mods);
    EXPECT_EQ(Edit->EditText(), c.EditText);
    EXPECT_EQ(Clipboard()->AsText(), c.Clipboard);
}

INSTANTIATE_TEST_SUITE_P(Keys, MaskClipboardKeys,
                         ::testing::Values(ClipboardKey{"CtrlX", 'X', Ctrl, "_2:34", "1"},
                                           ClipboardKey{"ShiftDelete", Key::Delete, Shift, "_2:34", "1"},
                                           ClipboardKey{"CtrlV", 'V', Ctrl, "98:34", "98"},
                                           ClipboardKey{"ShiftInsert", Key::Insert, Shift, "98:34", "98"},
                                           ClipboardKey{"CtrlC", 'C', Ctrl, "12:34", "1"},
                                           ClipboardKey{"CtrlInsert", Key::Insert, Ctrl, "12:34", "1"},
                                           ClipboardKey{"CtrlKDeletesNothing", 'K', Ctrl, "12:34", "98"},
                                           ClipboardKey{"CtrlUDeletesNothing", 'U', Ctrl, "12:34", "98"}),
                         [](const ::testing::TestParamInfo<ClipboardKey>& i) {
                             return std::string(i.param.Name);
                         });

struct MenuCommand {
    const char* Name;
    const char* Caption;
    const char* EditText; // after the command, with "1" of "12:34" selected and "98" on the clipboard
    const char* Clipboard;
};

void PrintTo(const MenuCommand& c, std::ostream* os) { *os << c.Name; }

class MaskEditMenu : public MaskInput, public ::testing::WithParamInterface<MenuCommand> {};

TEST_P(MaskEditMenu, CommandsGoThroughTheMask) {
    const MenuCommand& c = GetParam();
    Edit->SetEditMask("!90:00;1;_");
    Type(Edit, "1234");
    Edit->SetSelStart(0);
    Edit->SetSelLength(1);
    Clipboard()->SetAsText("98");
    ChooseInNextMenu(c.Caption);
    Click(Edit, 5, 5, Right);
    EXPECT_EQ(Edit->EditText(), c.EditText);
    EXPECT_EQ(Clipboard()->AsText(), c.Clipboard);
}

INSTANTIATE_TEST_SUITE_P(Commands, MaskEditMenu,
                         ::testing::Values(MenuCommand{"Cut", "Вы&резать", "_2:34", "1"},
                                           MenuCommand{"Copy", "&Копировать", "12:34", "1"},
                                           MenuCommand{"Paste", "Вст&авить", "98:34", "98"},
                                           MenuCommand{"Delete", "&Удалить", "_2:34", "98"},
                                           MenuCommand{"Undo", "&Отменить", "12:34", "98"},
                                           MenuCommand{"Dismissed", "", "12:34", "98"}),
                         [](const ::testing::TestParamInfo<MenuCommand>& i) {
                             return std::string(i.param.Name);
                         });

TEST_F(MaskInput, SelectAllOfTheMenuSelectsTheWholeText) {
    Edit->SetEditMask("!90:00;1;_");
    Type(Edit, "1234");
    ChooseInNextMenu("Выделить в&се");
    Click(Edit, 5, 5, Right);
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 5);
}

// Random sequences of the user's editing acts, by key and by menu, checked after every step.
TEST_F(MaskInput, NoSequenceOfEditsMovesTheLiterals) {
    const char* masks[] = {"!90:00;1;_", "00:00;1;_", "000-00;0;_", ">LL<ll;1;_", "99/99/0000;1;*"};
    const char* pastes[] = {"12:34", "7", "ab", "5-5", "", "2024", "x9:9x"};
    const std::string typed = "0123456789:-/ aZ";
    std::mt19937 rng(20260510);
    auto pick = [&rng](size_t n) { return size_t(rng() % n); };
    auto menu = [this](const char* caption) {
        ChooseInNextMenu(caption);
        Click(Edit, 5, 5, Right);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> acts = {
        {"type", [&] { Type(Edit, std::string(1, typed[pick(typed.size())])); }},
        {"Ctrl+X", [&] { Press(Edit, 'X', Ctrl); }},
        {"Shift+Del", [&] { Press(Edit, Key::Delete, Shift); }},
        {"Ctrl+V", [&] { Press(Edit, 'V', Ctrl); }},
        {"Shift+Ins", [&] { Press(Edit, Key::Insert, Shift); }},
        {"copy", [&] { Press(Edit, pick(2) ? 'C' : Key::Insert, Ctrl); }},
        {"Backspace", [&] { Press(Edit, Key::Backspace); }},
        {"Delete", [&] { Press(Edit, Key::Delete); }},
        {"Ctrl+A", [&] { Press(Edit, 'A', Ctrl); }},
        {"select", [&] { Press(Edit, pick(2) ? Key::Left : Key::Right, Shift); }},
        {"move", [&] { Press(Edit, pick(2) ? Key::Home : Key::Right); }},
        {"new clipboard", [&] { Clipboard()->SetAsText(pastes[pick(std::size(pastes))]); }},
        {"menu Cut", [&] { menu("Вы&резать"); }},
        {"menu Copy", [&] { menu("&Копировать"); }},
        {"menu Paste", [&] { menu("Вст&авить"); }},
        {"menu Delete", [&] { menu("&Удалить"); }},
        {"menu Select All", [&] { menu("Выделить в&се"); }},
        {"menu Undo", [&] { menu("&Отменить"); }},
    };
    for (const char* mask : masks) {
        Edit->SetEditMask(mask);
        Edit->SetText("");
        for (int step = 0; step < 150; ++step) {
            const auto& [name, act] = acts[pick(acts.size())];
            act();
            ExpectShape(mask, std::string(mask) + " step " + std::to_string(step) + " " + name);
            if (HasFatalFailure())
                return;
        }
    }
}

} // namespace
