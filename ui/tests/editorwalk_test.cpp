// Every typed in-place editor the program builds, walked as a user types into it. For each device
// type of the add-object menu, one object set up as a user sets one up (its counts raised until its
// channels exist); then its tree period, property rows, poll-command modes, channel cells and set
// points, each typed editor given a number too long for any field, its opening value's last number
// made too large, and values that fit, key by key, the edit ended by Enter and by a click
// elsewhere. After each edit the row shows what was typed, or one message came and the whole
// configuration is as it was, or the object ignores the text by design (the exceptions below, each
// with its reason).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "Devicetypes.h"
#include "Editorkit.h"
#include "Paramtypes.h"
#include "Storewalk.h"
#include "Ueditorkit.h"
#include "Uprogram.h"
#include "actions.h"
#include "bmrzregister.h"
#include "cp1251.h"
#include "deviceengine.h"
#include "dialogs.h"
#include "editorhost.h"
#include "forms.h"
#include "inputkit.h"
#include "ioregister.h"
#include "meterregister.h"
#include "pluginfolder.h"
#include "qbxregister.h"
#include "relayregister.h"
#include "sysutils.h"
#include "tempfolder.h"

namespace {

using End = testsupport::EditorHost::End;

// Every box the program shows, of either kind.
struct CountingDialogs : TDialogService {
    std::vector<std::string> Shown;
    int MessageBox(const std::string& text, const std::string&, UINT) override {
        Shown.push_back(text);
        return IDOK;
    }
    int MessageDlg(const std::string& text, TMsgDlgType, TMsgDlgButtons) override {
        Shown.push_back(text);
        return mrYes;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

// What the kit was last asked to build: the walk types only into the typed kinds.
struct BuiltEditor {
    TEditorKind Kind = TEditorKind::Edit;
    std::string Text;
    std::vector<std::string> Items;
    int Index = -1;
};
BuiltEditor& LastBuilt() {
    static BuiltEditor built;
    return built;
}

// The program's kit, with every build recorded.
void InstallRecordingKit() {
    InstallEditorKit();
    TEditorKit kit = SetEditorKit({});
    TEditorKit recording = kit;
    recording.Build = [build = kit.Build](TWinControl* host, TEditorDef built, TNotifyEvent exitEvent) {
        LastBuilt() = {built.Kind, built.Text, built.Items, built.Index};
        return build(host, std::move(built), std::move(exitEvent));
    };
    SetEditorKit(recording);
}

bool Typed(TEditorKind kind) { return kind == TEditorKind::Edit || kind == TEditorKind::Combo; }

std::string Utf8(const std::string& s) { return Cp1251ToUtf8(s); }

bool Digit(char c) { return c >= '0' && c <= '9'; }

// A number of a text: its whole digits without leading zeros, and the digits after a "." or ","
// that joins it to a second run.
struct Number {
    std::string whole, fraction;
};

std::vector<Number> Numbers(const std::string& text) {
    std::vector<Number> numbers;
    auto digit = [&](size_t i) { return i < text.size() && Digit(text[i]); };
    for (size_t i = 0; i < text.size();) {
        if (!digit(i)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (digit(end))
            ++end;
        Number n{text.substr(i, end - i), {}};
        n.whole.erase(0, std::min(n.whole.find_first_not_of('0'), n.whole.size() - 1));
        i = end;
        if (i < text.size() && (text[i] == '.' || text[i] == ',') && digit(i + 1)) {
            size_t fraction = i + 1;
            while (digit(fraction))
                ++fraction;
            n.fraction = text.substr(i + 1, fraction - i - 1);
            i = fraction;
        }
        numbers.push_back(n);
    }
    return numbers;
}

// The row shows what was typed, as the row formats it: the same numbers in the same order (a
// fraction cut toward zero to the digits the row shows), or for a text without numbers the same text.
bool Shows(const std::string& shown, const std::string& typed) {
    const std::vector<Number> want = Numbers(typed), have = Numbers(shown);
    if (want.empty())
        return AnsiUpperCase(Trim(shown)) == AnsiUpperCase(Trim(typed));
    if (want.size() != have.size())
        return false;
    for (size_t i = 0; i < want.size(); ++i) {
        const size_t digits = have[i].fraction.size();
        if (want[i].whole != have[i].whole ||
            (want[i].fraction + std::string(digits, '0')).substr(0, digits) != have[i].fraction ||
            (digits == 0 && want[i].fraction.find_first_not_of('0') != std::string::npos))
            return false;
    }
    return true;
}

// The last run of digits of a text: [begin, end); begin == end when it has none.
void LastNumber(const std::string& text, size_t& begin, size_t& end) {
    end = text.find_last_of("0123456789");
    if (end == std::string::npos) {
        begin = end = 0;
        return;
    }
    begin = text.find_last_not_of("0123456789", end);
    begin = begin == std::string::npos ? 0 : begin + 1;
    ++end;
}

// The text with its last number extended past any field, and with it halved; empty when it has no
// number (or, halved, when it is 0).
std::string TooLarge(const std::string& text) {
    size_t begin = 0, end = 0;
    LastNumber(text, begin, end);
    return begin == end ? std::string() : text.substr(0, end) + "9999" + text.substr(end);
}
std::string Smaller(const std::string& text) {
    size_t begin = 0, end = 0;
    LastNumber(text, begin, end);
    if (begin == end || end - begin > 18)
        return {};
    const int64_t n = StrToInt64(text.substr(begin, end - begin));
    return n == 0 ? std::string() : text.substr(0, begin) + IntToStr(n / 2) + text.substr(end);
}

// Every number of the text made 1; empty when it has none or one is not 0.
std::string ZerosToOnes(const std::string& text) {
    const std::vector<Number> numbers = Numbers(text);
    if (numbers.empty() || std::any_of(numbers.begin(), numbers.end(), [](const Number& n) {
            return n.whole != "0" || n.fraction.find_first_not_of('0') != std::string::npos;
        }))
        return {};
    std::string ones;
    for (size_t i = 0; i < text.size(); ++i)
        if (!Digit(text[i]))
            ones += text[i];
        else if (i == 0 || !Digit(text[i - 1]))
            ones += '1';
    return ones;
}

// An item with blanks to fill ("_:_") and no number: each blank made 1.
std::string Filled(const std::string& item) {
    if (!Numbers(item).empty() || item.find_first_of("?_") == std::string::npos)
        return {};
    std::string filled;
    for (size_t i = 0; i < item.size(); ++i)
        if (item[i] != '?' && item[i] != '_')
            filled += item[i];
        else if (i == 0 || (item[i - 1] != '?' && item[i - 1] != '_'))
            filled += '1';
    return filled;
}

// The whole configuration as lines: every object's fields, rows and poll commands, every
// channel's address, name, width, value bytes, handlers and depth, and every subprogram.
std::vector<std::string> ConfigurationState(configmanager& cm) {
    std::vector<std::string> state;
    for (ELEM* e = cm.Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        state.push_back("object " + o->Tag + " " + IntToStr(o->Number) + " " + o->DisplayType + " \"" +
                        o->GetDisplayName() + "\" period " + IntToStr(o->Period) + " messages " +
                        IntToStr(o->MessageHandler));
        TStringList names;
        o->GetPropertyNames(&names);
        for (int r = 0; r < names.Count(); ++r) {
            std::string text;
            o->GetPropertyText(r, text);
            state.push_back("  row " + names[r] + ": " + text);
        }
        for (ELEM* c = o->Commands.Oldest; c; c = c->Newer) {
            auto* k = static_cast<TCommandItem*>(c);
            state.push_back("  command " + IntToStr(k->Number) + " " + k->Name + " execute " +
                            IntToStr(k->Execute) + " period " + IntToStr(k->Period) + " subprograms " +
                            IntToStr(k->Prepare) + "," + IntToStr(k->Parse) + "," + IntToStr(k->NoAnswer));
        }
    }
    for (ELEM* e = cm.Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        std::string line = "channel " + IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex) + " " +
                           p->Name + " width " + IntToStr(p->BitWidth()) + " value";
        for (int b = 0; b < p->ValueBytes(); ++b)
            line += " " + IntToStr(p->Value[b]);
        line += " handlers " + IntToStr(p->WriteHandler) + "," + IntToStr(p->ChangeHandler) + " depth " +
                IntToStr(p->RamDepth) + " kind " + IntToStr(p->Kind) + " type " + IntToStr(p->ParamType) +
                " owner " + (p->Owner ? IntToStr(p->Owner->Number) : std::string("-"));
        state.push_back(line);
    }
    for (T_Action* a : AllSubprograms(cm.Actions))
        state.push_back("subprogram " + IntToStr(a->Id()) + " " + a->Name());
    return state;
}

// The first lines that differ between two states, for a report.
std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    const std::multiset<std::string> was(before.begin(), before.end()), is(after.begin(), after.end());
    std::string text;
    int shown = 0;
    for (const std::string& line : before)
        if (!is.count(line) && shown++ < 3)
            text += "\n      was: " + Utf8(line);
    for (const std::string& line : after)
        if (!was.count(line) && shown++ < 6)
            text += "\n      now: " + Utf8(line);
    if (before.size() != after.size())
        text += "\n      lines " + std::to_string(before.size()) + " -> " + std::to_string(after.size());
    return text;
}

// An object-tree node of the shape the period editor serves.
class TreeNode : public TObjectTreeNode {
public:
    TreeNode(std::string text, TreeNode* parent) : fText(std::move(text)), fParent(parent) {
        if (parent && !parent->fFirst)
            parent->fFirst = this;
    }
    std::string GetText() const override { return fText; }
    void SetText(const std::string& text) override { fText = text; }
    TObjectTreeNode* GetParent() const override { return fParent; }
    TObjectTreeNode* GetFirstChild() const override { return fFirst; }

private:
    std::string fText;
    TreeNode* fParent;
    TreeNode* fFirst = nullptr;
};

// Where an editor is: the object tree's period node, a property row, a poll-command row, a
// channel's cell (a row of the channel grid, 4 its value) or a channel's set point.
enum class Place { Tree, Property, Command, Cell, Setpoint };
const char* PlaceName(Place p) {
    switch (p) {
    case Place::Tree: return "tree";
    case Place::Property: return "property";
    case Place::Command: return "command";
    case Place::Cell: return "channel cell";
    case Place::Setpoint: return "set point";
    }
    return "";
}
constexpr int kValueColumn = 4;

// One text typed at a place, as the exceptions judge it.
struct Typing {
    TObjectItem* object;
    TParamItem* channel; // of a cell or set point
    int row;
    std::string typed, opening;
};

// The exceptions: a text an object takes in part or not at all by design. Typed there, no message
// comes and the row shows what `shows` makes of it (none: the text changes nothing).
struct ByDesign {
    const char* tag; // device type; null for every type
    Place place;
    const char* row;                     // the row's name; null for every row of the place
    bool (*applies)(const Typing&);      // null: always
    std::string (*shows)(const Typing&); // null: nothing changes
    bool everyText; // holds only where no text typed there changed anything or brought a message
    const char* reason;
};

bool DeviceValueButEngineAddress(const Typing& t) {
    if (t.row != kValueColumn || !dynamic_cast<TDeviceItem*>(t.object))
        return false;
    auto* engine = dynamic_cast<TDeviceEngine*>(t.object);
    return !engine || t.channel != engine->Setting(dev::Role::Address);
}

// A device's value text is read as one decimal number: any other text fails to convert.
bool DeviceValueNotANumber(const Typing& t) {
    int64_t v = 0;
    return t.row == kValueColumn && dynamic_cast<TDeviceItem*>(t.object) && !TryStrToInt64(Trim(t.typed), v);
}

bool ValueCell(const Typing& t) { return t.row == kValueColumn; }

// A dotted ("a.b.c") or channel-address ("type:index") row given a text with another count of numbers.
bool NotOfTheRowsForm(const Typing& t) {
    auto* engine = dynamic_cast<TDeviceEngine*>(t.object);
    const size_t k = static_cast<size_t>(t.row - 2);
    if (!engine || t.row < 2 || k >= engine->Def().Properties.size())
        return false;
    const dev::PropertyFormat format = engine->Def().Properties[k].format;
    return (format == dev::PropertyFormat::Dotted || format == dev::PropertyFormat::Entry) &&
           Numbers(t.typed).size() != Numbers(t.opening).size();
}

// Each of the first six characters that is a digit replaces the password's digit at its place.
std::string DecimalPassword(const Typing& t) {
    std::string shown = t.opening;
    for (size_t i = 0; i < std::min<size_t>({6, t.typed.size(), shown.size()}); ++i)
        if (Digit(t.typed[i]))
            shown[i] = t.typed[i];
    return shown;
}

// A period of 0 with its unit is code 0, no period of its own: the row names it, as it names code 0.
bool ZeroPeriod(const Typing& t) {
    const std::vector<Number> numbers = Numbers(t.typed);
    return numbers.size() == 1 && numbers[0].whole == "0" && numbers[0].fraction.empty() &&
           PeriodFromText(t.typed.substr(t.typed.find('=') == std::string::npos ? 0 : t.typed.find('=') + 1))
               .has_value();
}
bool ZeroPollPeriod(const Typing& t) { return t.row == 1 && ZeroPeriod(t); }
std::string NoPeriod(const Typing&) { return PeriodText(kPeriodNone); }
std::string ExecutedWithNoPeriod(const Typing&) { return CommandModeText(1, kPeriodNone); }

const ByDesign kByDesign[] = {
    {nullptr, Place::Cell, nullptr, DeviceValueNotANumber, nullptr, false,
     "a device's value text is read as one decimal number; a text that does not convert is ignored"},
    {nullptr, Place::Cell, nullptr, DeviceValueButEngineAddress, nullptr, true,
     "a device object's value text sets only its address channels; the cells of the others change nothing"},
    {"QBX560", Place::Cell, nullptr, ValueCell, nullptr, true, "the QBX-560's value text changes nothing"},
    {nullptr, Place::Property, nullptr, NotOfTheRowsForm, nullptr, false,
     "a dotted or type:index row ignores a text not of its form"},
    {"LOGBOOK", Place::Setpoint, nullptr, nullptr, nullptr, false,
     "a journal record's fields are shown, not edited: its set points store through the base, which does "
     "nothing"},
    {nullptr, Place::Tree, nullptr, ZeroPeriod, NoPeriod, false,
     "a period of 0 is code 0: the object is not polled, and its row says so"},
    {nullptr, Place::Property, nullptr, ZeroPollPeriod, NoPeriod, false,
     "a period of 0 is code 0: the object is not polled, and its row says so"},
    {nullptr, Place::Command, nullptr, ZeroPeriod, ExecutedWithNoPeriod, false,
     "a period of 0 is code 0: the command runs with no period of its own, and its row says so"},
    {"MER230", Place::Property, "Пароль", nullptr, DecimalPassword, false,
     "a DEC password takes its first six characters, one digit per place; a place past the text keeps its "
     "digit"},
};

const ByDesign* ByDesignAt(const char* tag, Place place, const std::string& row, const Typing& t) {
    for (const ByDesign& i : kByDesign)
        if ((!i.tag || std::string(tag) == i.tag) && i.place == place && (!i.row || row == i.row) &&
            (!i.applies || i.applies(t)))
            return &i;
    return nullptr;
}

// The device type under walk, by its menu entry.
struct MenuType {
    int code;
    const char* tag;
};
void PrintTo(const MenuType& t, std::ostream* os) { *os << t.tag; }

std::vector<MenuType> MenuTypes() {
    std::vector<MenuType> types;
    // The menu also offers a type that has no class: its click only says so.
    for (const TObjectMenuEntry& entry : ObjectMenu())
        if (entry.Code != 0 && FindDeviceTypeByCode(entry.Code)->Creatable)
            types.push_back({entry.Code, FindDeviceTypeByCode(entry.Code)->Tag});
    return types;
}

// The default subprograms every device class names, as plug-in files.
void WritePluginFiles(const std::string& root) {
    std::vector<const dev::TDeviceDef*> defs;
    for (const auto& c : QbxClasses())
        defs.push_back(c.Def);
    for (const auto& c : MeterClasses())
        defs.push_back(c.Def);
    for (const auto& c : RelayClasses())
        defs.push_back(c.Def);
    for (const auto& c : BmrzClasses())
        defs.push_back(c.Def);
    for (const auto& c : IoClasses())
        defs.push_back(c.Def);
    for (const dev::TDeviceDef* def : defs)
        for (const dev::SubprogramDef& s : def->Subprograms)
            testsupport::WritePluginFile(root, s.folder ? s.folder : def->Folder,
                                         std::string(s.name) + ".act", "1;ret;\n2;ret;");
}

class EditorWalk : public ::testing::TestWithParam<MenuType> {
protected:
    void SetUp() override {
        testsupport::StartApplication();
        RegisterAllDevices();
        WritePluginFiles(fFolder.File("plugin"));
        fPlugins = std::make_unique<testsupport::PluginFolderScope>(fFolder.File("plugin/"));
        fOldDialogs = SetDialogService(&fDialogs);
        InstallRecordingKit();
        fHost = std::make_unique<testsupport::EditorHost>();
        cm = std::make_unique<configmanager>();
    }
    void TearDown() override {
        fHost->Host()->OnExit = nullptr;
        cm.reset();
        fHost.reset();
        SetDialogService(fOldDialogs);
    }

    struct Cell {
        Place place;
        int row;          // property, command or set-point row; a channel's row of the grid
        int channel = -1; // place among the object's channels
        std::string name = {};
    };

    // What one edit came to.
    enum class Outcome { Shown, Refused, ByDesign, Unsaid, SilentChange, RefusalChanged, TwoBoxes, Gone };
    struct Result {
        std::string text;
        End end = End::Enter;
        Outcome outcome = Outcome::Gone;
        bool same = true; // the configuration is as it was
        const ByDesign* exception = nullptr;
        std::string detail;
    };

    // The object's channels, in the configuration's order.
    std::vector<TParamItem*> Channels() const {
        std::vector<TParamItem*> channels;
        for (ELEM* e = cm->Channels.Oldest; e; e = e->Newer)
            if (static_cast<TParamItem*>(e)->Owner == object)
                channels.push_back(static_cast<TParamItem*>(e));
        return channels;
    }

    TParamItem* ChannelOf(const Cell& c) const {
        const std::vector<TParamItem*> channels = Channels();
        return c.channel >= 0 && c.channel < static_cast<int>(channels.size()) ? channels[c.channel]
                                                                               : nullptr;
    }

    std::vector<std::string> Names(Place place) const {
        TStringList names;
        if (place == Place::Property)
            object->GetPropertyNames(&names);
        else
            object->GetPollCommandNames(&names);
        std::vector<std::string> out;
        for (int i = 0; i < names.Count(); ++i)
            out.push_back(names[i]);
        return out;
    }

    std::vector<std::string> SetpointNames(TParamItem* p) const {
        TStringList names;
        object->ListSetpoints(&names, p);
        std::vector<std::string> out;
        for (int i = 0; i < names.Count(); ++i)
            out.push_back(names[i]);
        return out;
    }

    // The editor the program builds for the cell, as its grid or tree does; null for none.
    TWinControl* Build(const Cell& c) {
        TWinControl* host = fHost->Host();
        TParamItem* p = ChannelOf(c);
        switch (c.place) {
        case Place::Tree: return object->CreateTreeEditor(fPeriodNode, host);
        case Place::Property: return object->CreatePropertyEditor(c.row, host, nullptr, nullptr);
        case Place::Command: return object->CreateCommandModeEditor(c.row, host, nullptr, nullptr);
        case Place::Cell: return p ? CreateChannelPropertyEditor(p, c.row, host, nullptr, nullptr) : nullptr;
        case Place::Setpoint:
            return p ? object->CreateSetpointEditor(p, c.row, host, nullptr, nullptr) : nullptr;
        }
        return nullptr;
    }

    // What the cell's editor opens with now (what the row shows to type over); false without a
    // typed editor.
    bool Opening(const Cell& c, std::string& text) {
        TWinControl* editor = Build(c);
        const bool typed = editor && Typed(LastBuilt().Kind);
        text = LastBuilt().Text;
        delete editor;
        return typed;
    }

    bool HasNumbers(const Cell& c) {
        std::string text;
        return Opening(c, text) && !Numbers(text).empty();
    }

    int TypedEditors() {
        int n = 0;
        std::string text;
        for (Place place : {Place::Property, Place::Command})
            for (int r = 0; r < static_cast<int>(Names(place).size()); ++r)
                n += Opening({place, r}, text) ? 1 : 0;
        return n;
    }

    int Items() const { return static_cast<int>(Channels().size()) + object->CommandCount(); }

    // As a user sets an object up: a property row at zero that makes channels, poll commands or
    // editors when made 1 stays so; a choice at its first item that opens more editors moves to the
    // next; a set point at zero that gives a value to a set point beside it that had none stays 1.
    // Everything else is put back. The rows changed are walked last, after what they made.
    void SetUpAsAUser() {
        for (int r = 0; r < static_cast<int>(Names(Place::Property).size()); ++r) {
            std::string text;
            if (!Opening({Place::Property, r}, text) || ZerosToOnes(text).empty())
                continue;
            const int items = Items(), editors = TypedEditors();
            fHost->TypeAndEnd(Build({Place::Property, r}), ZerosToOnes(text), End::Enter);
            if (Items() > items || TypedEditors() > editors)
                fLast.insert({Place::Property, r});
            else
                fHost->TypeAndEnd(Build({Place::Property, r}), text, End::Enter);
        }
        for (Place place : {Place::Property, Place::Command})
            for (int r = 0; r < static_cast<int>(Names(place).size()); ++r)
                ChooseIfItOpensEditors({place, r});
        const std::vector<TParamItem*> channels = Channels();
        for (int k = 0; k < static_cast<int>(channels.size()); ++k) {
            const int count = static_cast<int>(SetpointNames(channels[k]).size());
            auto numbered = [&] {
                int n = 0;
                for (int s = 0; s < count; ++s)
                    n += HasNumbers({Place::Setpoint, s, k}) ? 1 : 0;
                return n;
            };
            for (int s = 0; s < count; ++s) {
                std::string text;
                if (!Opening({Place::Setpoint, s, k}, text) || ZerosToOnes(text).empty())
                    continue;
                const int before = numbered();
                if (before == count)
                    break;
                fHost->TypeAndEnd(Build({Place::Setpoint, s, k}), ZerosToOnes(text), End::Enter);
                if (numbered() <= before)
                    fHost->TypeAndEnd(Build({Place::Setpoint, s, k}), text, End::Enter);
            }
        }
        fDialogs.Shown.clear();
    }

    // A drop-down choice moved with an arrow key and left with Tab, as a user picks an item.
    void Choose(const Cell& c, int key) {
        TWinControl* editor = Build(c);
        editor->SetBounds(10, 10, 150, 21);
        editor->SetVisible(true);
        editor->SetFocus();
        inputkit::Press(editor, key);
        inputkit::Press(editor, inputkit::Key::Tab);
        inputkit::ProcessEvents();
        delete editor;
    }

    void ChooseIfItOpensEditors(const Cell& c) {
        TWinControl* editor = Build(c);
        const BuiltEditor built = LastBuilt();
        delete editor;
        const bool first =
            built.Index == 0 || (built.Index < 0 && !built.Items.empty() && built.Items[0] == built.Text);
        if (!editor || built.Kind != TEditorKind::Choice || !first || built.Items.size() < 2)
            return;
        const int before = TypedEditors();
        Choose(c, inputkit::Key::Down);
        if (TypedEditors() <= before)
            Choose(c, inputkit::Key::Up);
    }

    static std::string Masked(const std::string& text) {
        std::string masked;
        for (char ch : text)
            if (!Digit(ch))
                masked += ch;
            else if (masked.empty() || masked.back() != '#')
                masked += '#';
        return masked;
    }

    // Every place that holds a typed editor. Rows the object builds alike share a shape: poll
    // commands opening on the same mode, channels whose names, kinds, widths and cells open alike up
    // to the numbers in them. The first of each shape gets every text; the others the telling ones.
    std::vector<Cell> Cells(std::vector<bool>& full) {
        std::vector<Cell> cells, last;
        std::vector<bool> lastFull;
        auto add = [&](Cell c, bool whole) {
            const bool late = fLast.count({c.place, c.row}) != 0;
            (late ? last : cells).push_back(std::move(c));
            (late ? lastFull : full).push_back(whole);
        };
        std::string text;
        if (Opening({Place::Tree, 0}, text))
            add({Place::Tree, 0, -1, fPeriodNode->GetText()}, true);
        for (Place place : {Place::Property, Place::Command}) {
            const std::vector<std::string> names = Names(place);
            std::set<std::string> shapes;
            for (int r = 0; r < static_cast<int>(names.size()); ++r)
                if (Opening({place, r}, text))
                    add({place, r, -1, names[r]},
                        place == Place::Property || shapes.insert(Masked(text)).second);
        }
        std::set<std::string> shapes;
        const std::vector<TParamItem*> channels = Channels();
        for (int k = 0; k < static_cast<int>(channels.size()); ++k) {
            TParamItem* p = channels[k];
            std::string shape = Masked(p->Name) + "|" + IntToStr(p->ParamType) + "|" + IntToStr(p->Kind) +
                                "|" + IntToStr(p->BitWidth()) + "|" + IntToStr(p->RamDepth);
            std::vector<Cell> own;
            for (int row = 0; row < 8; ++row) {
                if (Opening({Place::Cell, row, k}, text))
                    own.push_back({Place::Cell, row, k, "\"" + p->Name + "\" row " + std::to_string(row)});
                shape += "|" + std::to_string(row) + Masked(text);
            }
            const std::vector<std::string> setpoints = SetpointNames(p);
            for (int n = 0; n < static_cast<int>(setpoints.size()); ++n) {
                if (Opening({Place::Setpoint, n, k}, text))
                    own.push_back({Place::Setpoint, n, k, "\"" + p->Name + "\" " + setpoints[n]});
                shape += "|" + setpoints[n] + Masked(text);
            }
            const bool whole = shapes.insert(shape).second;
            for (Cell& c : own)
                add(std::move(c), whole);
        }
        cells.insert(cells.end(), last.begin(), last.end());
        full.insert(full.end(), lastFull.begin(), lastFull.end());
        return cells;
    }

    // The texts to type into a cell: eleven digits; then for each starting value (the opening
    // value last, so that the cell ends as it began) the value itself, its last number made too
    // large and halved. A combo box's items that hold numbers or blanks to fill, and for a poll
    // command the timed modes of the period items, are starting values too: a user picks one and
    // types over it. A cell of a shape already walked gets eleven digits and its value made too large.
    std::vector<std::string> Texts(const Cell& c, bool whole) {
        std::string opening;
        Opening(c, opening);
        const BuiltEditor built = LastBuilt();
        std::vector<std::string> texts{"99999999999"};
        if (!whole) {
            if (!TooLarge(opening).empty())
                texts.push_back(TooLarge(opening));
            return texts;
        }
        std::vector<std::string> starts;
        if (built.Kind == TEditorKind::Combo)
            for (const std::string& item : built.Items)
                if (!Numbers(item).empty() || !Filled(item).empty())
                    starts.push_back(Numbers(item).empty() ? Filled(item) : item);
        for (const std::string& item : fPeriodItems)
            if (std::optional<uint8_t> code = PeriodFromText(item); code && !Numbers(item).empty()) {
                if (c.place == Place::Tree)
                    starts.push_back(item);
                else if (c.place == Place::Command && built.Kind == TEditorKind::Combo)
                    starts.push_back(CommandModeText(1, *code));
            }
        starts.push_back(opening);
        for (const std::string& start : starts)
            for (const std::string& t : {start, TooLarge(start), Smaller(start)})
                if (!t.empty())
                    texts.push_back(t);
        texts.push_back(opening);
        return texts;
    }

    // One edit: the text typed into a fresh editor of the cell and the edit ended as `end` says.
    Result Edit(const Cell& c, const std::string& text, End end) {
        Result r;
        r.text = text;
        r.end = end;
        const std::vector<std::string> before = ConfigurationState(*cm);
        fDialogs.Shown.clear();
        TWinControl* editor = Build(c);
        if (!editor || !Typed(LastBuilt().Kind)) {
            delete editor;
            r.detail = "the editor is gone";
            return r;
        }
        const Typing typing{object, ChannelOf(c), c.row, text, LastBuilt().Text};
        fHost->TypeAndEnd(editor, text, end);
        ++edits;
        const std::vector<std::string> after = ConfigurationState(*cm);
        std::string shown;
        Opening(c, shown);
        r.same = after == before;
        const std::vector<std::string>& boxes = fDialogs.Shown;
        if (boxes.size() > 1) {
            r.outcome = Outcome::TwoBoxes;
            r.detail = std::to_string(boxes.size()) + " boxes";
            for (const std::string& t : boxes)
                r.detail += "\n      box: " + Utf8(t);
            return r;
        }
        if (boxes.size() == 1) {
            r.outcome = r.same ? Outcome::Refused : Outcome::RefusalChanged;
            r.detail = "a refusal left a change (\"" + Utf8(boxes[0]) + "\")" + Difference(before, after);
            return r;
        }
        if (Shows(shown, text)) {
            r.outcome = Outcome::Shown;
            return r;
        }
        r.exception = ByDesignAt(GetParam().tag, c.place, c.name, typing);
        if (r.exception && (r.exception->shows ? Shows(shown, r.exception->shows(typing)) : r.same)) {
            r.outcome = Outcome::ByDesign;
            return r;
        }
        r.outcome = r.same ? Outcome::Unsaid : Outcome::SilentChange;
        r.detail = std::string(r.same ? "nothing changed and nothing was said" : "a silent change") +
                   ", opened \"" + Utf8(typing.opening) + "\", shows \"" + Utf8(shown) + "\"" +
                   Difference(before, after);
        return r;
    }

    // Every edit of a cell, then the judgement. An exception for every text holds only where no
    // text typed there changed anything or brought a message: a cell that takes some texts must
    // show or refuse every one.
    void WalkCell(const Cell& c, bool whole) {
        std::vector<Result> results;
        for (const std::string& text : Texts(c, whole))
            for (End end : {End::Enter, End::Click})
                if (whole || end == End::Enter)
                    results.push_back(Edit(c, text, end));
        const bool takes = std::any_of(results.begin(), results.end(), [](const Result& r) {
            return !r.same || r.outcome == Outcome::Refused;
        });
        for (Result& r : results) {
            if (r.outcome == Outcome::ByDesign && r.exception->everyText && takes) {
                r.outcome = Outcome::Unsaid;
                r.detail = "nothing changed and nothing was said, where other texts were taken";
            }
            if (r.outcome == Outcome::Shown || r.outcome == Outcome::Refused ||
                r.outcome == Outcome::ByDesign)
                continue;
            ADD_FAILURE() << GetParam().tag << " | " << PlaceName(c.place) << " \"" << Utf8(c.name)
                          << "\" | typed \"" << Utf8(r.text) << "\" | "
                          << (r.end == End::Enter ? "Enter" : "click") << " | " << r.detail;
        }
    }

    void Walk() {
        object = cm->AddObject(GetParam().code);
        ASSERT_NE(object, nullptr) << Utf8(cm->LastError);
        SetUpAsAUser();
        // The object tree: the display type, its "ID:" node and the period node under the base's caption.
        TStringList base;
        object->TObjectItem::GetPropertyNames(&base);
        TreeNode root(object->DisplayType, nullptr);
        TreeNode id("ID:" + IntToStr(object->Number), &root);
        TreeNode node(base[1] + ": " + PeriodText(object->Period), &root);
        fPeriodNode = &node;
        // The tree takes its editor's text when the edit ends: the host's exit event is the editor's.
        fHost->Host()->OnExit = [this](TObject* sender) {
            object->ApplyTreeEditor(fPeriodNode, EditorText(sender));
        };
        if (TWinControl* editor = object->CreatePropertyEditor(1, fHost->Host(), nullptr, nullptr)) {
            fPeriodItems = LastBuilt().Items;
            delete editor;
        }
        std::vector<bool> full;
        const std::vector<Cell> cells = Cells(full);
        for (size_t i = 0; i < cells.size(); ++i) {
            ++editors;
            WalkCell(cells[i], full[i]);
        }
        fHost->Host()->OnExit = nullptr;
        fPeriodNode = nullptr;
    }

    testsupport::TempFolder fFolder{"qbx-walk-"};
    std::unique_ptr<testsupport::PluginFolderScope> fPlugins;
    CountingDialogs fDialogs;
    TDialogService* fOldDialogs = nullptr;
    std::unique_ptr<testsupport::EditorHost> fHost;
    std::unique_ptr<configmanager> cm;
    TObjectItem* object = nullptr;
    TreeNode* fPeriodNode = nullptr;
    std::vector<std::string> fPeriodItems;
    std::set<std::pair<Place, int>> fLast; // rows the set-up changed
    int editors = 0;
    int edits = 0;
};

TEST_P(EditorWalk, EveryTypedEditorShowsWhatWasTypedOrRefusesItOnceChangingNothing) {
    const auto start = std::chrono::steady_clock::now();
    Walk();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    std::printf("%s: %d editors, %d edits, %lld ms\n", GetParam().tag, editors, edits,
                static_cast<long long>(ms));
}

INSTANTIATE_TEST_SUITE_P(Menu, EditorWalk, ::testing::ValuesIn(MenuTypes()),
                         [](const ::testing::TestParamInfo<MenuType>& info) {
                             return std::string(info.param.tag);
                         });

} // namespace
