// Typed numbers in the editors of every device type the add-object menu offers, typed key by key and
// the edit ended as a user ends it: a poll period, or the period of a command's mode, outside what
// its byte holds is refused with one message naming the range; a property row or a channel value
// that is refused leaves the whole configuration as it was, with one message; what fits is stored.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Configmanager.h"
#include "Devicetypes.h"
#include "Objectstore.h"
#include "Paramtypes.h"
#include "Storewalk.h"
#include "Ueditorkit.h"
#include "Uprogram.h"
#include "actions.h"
#include "editorhost.h"
#include "forms.h"
#include "inputkit.h"
#include "messagerecorder.h"
#include "pluginfolder.h"
#include "stdctrls.h"
#include "sysutils.h"
#include "tempfolder.h"

namespace {

struct MenuType {
    const TDeviceType* type;
};

void PrintTo(const MenuType& t, std::ostream* os) { *os << t.type->Tag; }

// Every type the add-object menu offers that makes an object.
std::vector<MenuType> MenuTypes() {
    std::vector<MenuType> types;
    for (const TObjectMenuEntry& entry : ObjectMenu())
        if (const TDeviceType* t = FindDeviceTypeByCode(entry.Code); t && t->Creatable)
            types.push_back({t});
    return types;
}

using End = testsupport::EditorHost::End;
constexpr End kEnds[] = {End::Tab, End::Click, End::Enter};

// A text typed over what the editor holds, each character a key, the old text taken away with
// Backspace.
std::function<void(TWinControl*)> Retype(const std::string& text) {
    return [text](TWinControl* editor) {
        for (size_t k = 0, n = editor->Text().size(); k < n; ++k)
            inputkit::Press(editor, inputkit::Key::Backspace);
        inputkit::Type(editor, text);
    };
}

// A typed editor: an edit box, or a combo box one can type into.
bool Typed(TWinControl* editor) {
    if (auto* combo = dynamic_cast<TComboBox*>(editor))
        return combo->Style() != csDropDownList;
    return dynamic_cast<TEdit*>(editor) != nullptr;
}

// The opening text with four more digits 9 after its last number; empty without a number.
std::string LastNumberExtended(const std::string& text) {
    const size_t last = text.find_last_of("0123456789");
    return last == std::string::npos ? std::string()
                                     : text.substr(0, last + 1) + "9999" + text.substr(last + 1);
}

// A text as a row shows its numbers: without leading zeros.
std::string WithoutLeadingZeros(const std::string& text) {
    auto digit = [&text](size_t i) {
        return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
    };
    std::string out;
    bool leading = true; // in the zeros a number starts with
    for (size_t i = 0; i < text.size(); ++i) {
        if (!digit(i)) {
            leading = true;
        } else if (leading && text[i] == '0' && digit(i + 1)) {
            continue;
        } else {
            leading = false;
        }
        out += text[i];
    }
    return out;
}

// What is typed into an editor opening on `opening`: the opening's last number made too large, and
// where the editor holds a plain number, a number too long for any field.
std::vector<std::string> TooLarge(const std::string& opening) {
    std::vector<std::string> texts;
    if (!opening.empty() && opening.find_first_not_of("0123456789") == std::string::npos)
        texts.push_back("99999999999");
    if (std::string extended = LastNumberExtended(opening); !extended.empty())
        texts.push_back(extended);
    return texts;
}

class EveryType : public ::testing::TestWithParam<MenuType> {
protected:
    void SetUp() override {
        Application->Initialize();
        RegisterAllDevices();
        InstallEditorKit();
        plugins = std::make_unique<testsupport::PluginFolderScope>(folder.Path());
        recorder = std::make_unique<testsupport::MessageRecorder>();
        config = std::make_unique<configmanager>();
        object = config->AddObject(GetParam().type->Code);
        ASSERT_NE(object, nullptr);
        host = std::make_unique<testsupport::EditorHost>();
    }
    void TearDown() override {
        host.reset();
        config.reset();
        recorder.reset();
        plugins.reset();
    }

    static std::vector<std::string>& Messages() { return testsupport::MessageRecorder::Texts(); }

    // Every object's fields, rows and poll commands, every channel's address, name, width, handlers,
    // type, depth and value bytes, and every subprogram's name.
    std::vector<std::string> Configuration() const {
        std::vector<std::string> state;
        for (ELEM* e = config->Objects.Oldest; e; e = e->Newer) {
            auto* o = static_cast<TObjectItem*>(e);
            std::string line = o->Tag + " " + IntToStr(o->Number) + " period " + IntToStr(o->Period) +
                               " handler " + IntToStr(o->MessageHandler) + " " + o->GetDisplayName();
            for (ELEM* c = o->Commands.Oldest; c; c = c->Newer) {
                auto* command = static_cast<TCommandItem*>(c);
                line += " | " + command->Name + " " + IntToStr(command->Execute) + " " +
                        IntToStr(command->Period);
            }
            TStringList rows;
            o->GetPropertyNames(&rows);
            for (int r = 0; r < rows.Count(); ++r) {
                std::string text;
                o->GetPropertyText(r, text);
                line += " | " + text;
            }
            state.push_back(line);
        }
        for (ELEM* e = config->Channels.Oldest; e; e = e->Newer) {
            auto* p = static_cast<TParamItem*>(e);
            std::string line = IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex) + " " + p->Name +
                               " w" + IntToStr(p->BitWidth()) + " h" + IntToStr(p->WriteHandler) + "/" +
                               IntToStr(p->ChangeHandler) + " t" + IntToStr(p->ParamType) + " d" +
                               IntToStr(p->RamDepth) + " :";
            for (int b = 0; b < p->ValueBytes(); ++b)
                line += " " + IntToStr(p->Value[b]);
            state.push_back(line);
        }
        for (T_Action* a : AllSubprograms(config->Actions))
            state.push_back(a->Name());
        return state;
    }

    // The object's row captioned `name`, or -1.
    int RowNamed(const std::string& name) const {
        TStringList rows;
        object->GetPropertyNames(&rows);
        return rows.IndexOf(name);
    }
    std::string RowText(int row) const {
        std::string text;
        object->GetPropertyText(row, text);
        return text;
    }
    std::vector<std::pair<int, int>> CommandModes() const {
        std::vector<std::pair<int, int>> modes;
        for (ELEM* c = object->Commands.Oldest; c; c = c->Newer)
            modes.emplace_back(static_cast<TCommandItem*>(c)->Execute, static_cast<TCommandItem*>(c)->Period);
        return modes;
    }

    // The edit made by `keys` in `editor`, ended by `end`, was refused once and changed nothing.
    void ExpectRefusedOnce(TWinControl* editor, const std::function<void(TWinControl*)>& keys, End end,
                           const std::string& what, const std::string& range) {
        const std::vector<std::string> before = Configuration();
        Messages().clear();
        ASSERT_TRUE(host->KeysAndEnd(editor, keys, end)) << what;
        EXPECT_EQ(Configuration(), before) << what;
        ASSERT_EQ(Messages().size(), 1u) << what;
        EXPECT_NE(Messages()[0].find(range), std::string::npos) << what << ": " << Messages()[0];
    }

    // Each too-large text typed over what a typed editor opens with, the edit ended in turn by each
    // way: at most one message, and after one the configuration is as it was; `shown` checks the
    // row of a text taken.
    void TypeTooLarge(const std::function<TWinControl*()>& editor, const std::string& name, int& k,
                      const std::function<void(const std::string&)>& shown) {
        TWinControl* first = editor();
        const bool typed = first && Typed(first);
        const std::string opening = first ? first->Text() : std::string();
        delete first;
        if (!typed)
            return;
        for (const std::string& text : TooLarge(opening)) {
            const std::string what = name + ": " + text;
            const std::vector<std::string> before = Configuration();
            Messages().clear();
            ASSERT_TRUE(host->KeysAndEnd(editor(), Retype(text), kEnds[k++ % 3])) << what;
            ASSERT_LE(Messages().size(), 1u) << what;
            if (!Messages().empty()) {
                EXPECT_EQ(Configuration(), before) << what;
            } else if (shown) {
                shown(text);
            }
        }
    }

    testsupport::TempFolder folder;
    std::unique_ptr<testsupport::PluginFolderScope> plugins;
    std::unique_ptr<testsupport::MessageRecorder> recorder;
    std::unique_ptr<configmanager> config;
    TObjectItem* object = nullptr;
    std::unique_ptr<testsupport::EditorHost> host;
};

const char* const kPeriodRange = "допустимы значения от 0 до 63.";
const char* const kPeriodUnitRange = "допустимы значения от 0 до 63 с единицей s, m или h.";

// A count past 63 would wrap into another unit; 0 s is the code of no period.
TEST_P(EveryType, PollPeriodOutsideItsByteIsRefusedOnceAndZeroSecondsIsNoPeriod) {
    const int row = RowNamed("Период опроса");
    if (row < 0)
        GTEST_SKIP() << "no poll period row";
    auto editor = [&] { return object->CreatePropertyEditor(row, host->Host(), nullptr, nullptr); };
    int k = 0;
    const std::pair<const char*, const char*> refused[] = {
        {"19999 s", "19999"}, {"64 m", "64"}, {"127 h", "127"}, {"99999999999 s", "99999999999"}};
    for (const auto& [text, count] : refused)
        ExpectRefusedOnce(editor(), Retype(text), kEnds[k++ % 3], text,
                          std::string("\"Период опроса\": значение ") + count + " не сохранено, " +
                              kPeriodRange);
    // A number with no unit letter names no period: refused, never dropped without a word.
    for (const char* text : {"19999", "5", "99999999999"})
        ExpectRefusedOnce(editor(), Retype(text), kEnds[k++ % 3], text,
                          std::string("\"Период опроса\": значение ") + text + " не сохранено, " +
                              kPeriodUnitRange);
    const std::pair<const char*, const char*> kept[] = {
        {"0 s", "нет опроса"}, {"63 h", "63 h"}, {"1 s", "1 s"}};
    for (const auto& [text, shown] : kept) {
        Messages().clear();
        ASSERT_TRUE(host->KeysAndEnd(editor(), Retype(text), kEnds[k++ % 3])) << text;
        EXPECT_EQ(RowText(row), shown) << text;
        EXPECT_TRUE(Messages().empty()) << text;
    }
    // The opening "1 s" with 9999 typed after its 1.
    ExpectRefusedOnce(
        editor(),
        [](TWinControl* c) {
            inputkit::Press(c, inputkit::Key::Left);
            inputkit::Press(c, inputkit::Key::Left);
            inputkit::Type(c, "9999");
        },
        End::Click, "1 s extended", kPeriodRange);
    EXPECT_EQ(RowText(row), "1 s");
}

// Raising a command's period past its range leaves the command as it was, poll on, with one message.
TEST_P(EveryType, CommandPeriodOutsideItsByteLeavesTheModeAsItWasWithOneMessage) {
    TStringList rows;
    object->GetPollCommandNames(&rows);
    int modes = 0;
    for (int row = 0; row < rows.Count(); ++row) {
        auto editor = [&] { return object->CreateCommandModeEditor(row, host->Host(), nullptr, nullptr); };
        TWinControl* first = editor();
        auto* combo = dynamic_cast<TComboBox*>(first);
        const bool mode = combo && combo->Items()->IndexOf(kModeTimedTemplate) >= 0;
        delete first;
        if (!mode)
            continue;
        ++modes;
        const std::string what = rows[row];
        Messages().clear();
        ASSERT_TRUE(host->KeysAndEnd(editor(), Retype("Выполнять (T=1 s)"), End::Enter)) << what;
        EXPECT_TRUE(Messages().empty()) << what;
        int k = 0;
        for (const char* text :
             {"Выполнять (T=19999 s)", "Выполнять (T=64 m)", "Выполнять (T=99999999999 h)"})
            ExpectRefusedOnce(editor(), Retype(text), kEnds[k++ % 3], what + " " + text, kPeriodRange);
        // A count with no unit letter (the template's "?" typed over) is no mode: the poll stays on.
        for (const char* text : {"Выполнять (T=19)", "Выполнять (T=0)", "99999999999"})
            ExpectRefusedOnce(editor(), Retype(text), kEnds[k++ % 3], what + " " + text, kPeriodUnitRange);
        // The 1 selected, as a double click selects it, and 100 typed over it.
        ExpectRefusedOnce(
            editor(),
            [](TWinControl* c) {
                for (int left = 0; left < 3; ++left)
                    inputkit::Press(c, inputkit::Key::Left);
                inputkit::Press(c, inputkit::Key::Left, inputkit::Shift);
                inputkit::Type(c, "100");
            },
            End::Click, what + " 1 made 100", kPeriodRange);
        const std::vector<std::pair<int, int>> before = CommandModes();
        Messages().clear();
        ASSERT_TRUE(host->KeysAndEnd(editor(), Retype("Выполнять (T=5 m)"), End::Tab)) << what;
        EXPECT_TRUE(Messages().empty()) << what;
        const std::vector<std::pair<int, int>> after = CommandModes();
        int changed = 0;
        for (size_t c = 0; c < after.size(); ++c)
            if (after[c] != before[c]) {
                ++changed;
                EXPECT_EQ(after[c], std::make_pair(1, 0x45)) << what;
            }
        EXPECT_EQ(changed, 1) << what;
    }
    if (modes == 0)
        GTEST_SKIP() << "no poll-command mode";
}

// Rows whose typed text the object keeps in a form of its own, as it has always done.
struct KeptForm {
    const char* tag;
    const char* row;
    const char* why;
};
const KeptForm kKeptForms[] = {
    {"MER230", "Пароль", "the password is its first six characters"},
};

bool KeptInItsForm(const char* tag, const std::string& row) {
    for (const KeptForm& k : kKeptForms)
        if (row == k.row && std::string(tag) == k.tag)
            return true;
    return false;
}

// A number too long for any field, and the opening value's last number made too large: the row shows
// what was typed, or one message came and the configuration is as it was (never cut to a prefix, and
// never a channel made on the way left behind).
TEST_P(EveryType, TypedPropertyRowShowsWhatWasTypedOrIsRefusedOnceChangingNothing) {
    TStringList rows;
    object->GetPropertyNames(&rows);
    int k = 0;
    for (int row = 0; row < rows.Count(); ++row) {
        if (rows[row] == "Период опроса")
            continue;
        const bool kept = KeptInItsForm(GetParam().type->Tag, rows[row]);
        TypeTooLarge([&] { return object->CreatePropertyEditor(row, host->Host(), nullptr, nullptr); },
                     rows[row], k,
                     [&](const std::string& text) {
                         if (!kept) {
                             EXPECT_EQ(RowText(row), WithoutLeadingZeros(text)) << rows[row] << ": " << text;
                         }
                     });
    }
}

// A channel value its owner refuses leaves everything the owner keeps from it as it was.
TEST_P(EveryType, RefusedChannelValuePutsEverythingBack) {
    std::vector<TParamItem*> owned;
    for (ELEM* e = config->Channels.Oldest; e; e = e->Newer)
        if (static_cast<TParamItem*>(e)->Owner == object)
            owned.push_back(static_cast<TParamItem*>(e));
    int k = 0;
    for (TParamItem* p : owned) {
        TypeTooLarge([&] { return CreateChannelPropertyEditor(p, 4, host->Host(), nullptr, nullptr); },
                     p->Name, k, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Menu, EveryType, ::testing::ValuesIn(MenuTypes()),
                         [](const auto& info) { return std::string(info.param.type->Tag); });

} // namespace
