// In-place editors of channels and objects: what each cell shows and how entered text is applied.
#include <gtest/gtest.h>

#include "Configmanager.h"
#include "Ueditorkit.h"
#include "actions.h"
#include "editorhost.h"
#include "forms.h"
#include "inputkit.h"
#include "Changelogobject.h"
#include "Userobject.h"
#include "Editorkit.h"
#include "model_fixture.h"
#include "stdctrls.h"

namespace {

std::vector<int> Bytes(const TParamItem& p, int n) {
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(p.Value[i]);
    return out;
}

struct ChannelCells : ::testing::Test {
    testsupport::MessageRecorder recorder;
    TParamItem p;
    int done = 0;
    void SetUp() override {
        p.OnEditDone = [this](TObject*) { ++done; };
    }
    void Apply(int column, const std::string& text) {
        p.EditColumn = static_cast<uint32_t>(column);
        ApplyChannelPropertyText(&p, text, nullptr);
    }
};

TEST_F(ChannelCells, ValueBytes) {
    struct Case {
        int bits;
        std::vector<int> before;
        const char* text;
        std::vector<int> after;
    } cases[] = {
        {12, {0x34, 0x12}, "1,2", {1, 2}},
        {24, {9, 9, 9}, "7", {7, 9, 9}},
        {24, {9, 9, 9}, "1,,3", {1, 9, 3}},
        {24, {9, 9, 9}, "5, x ,6", {5, 9, 9}},
        {8, {9}, "1,2,3", {1}},
    };
    for (const Case& c : cases) {
        p.SetBitWidth(static_cast<uint16_t>(c.bits));
        for (size_t i = 0; i < c.before.size(); ++i)
            p.Value[i] = static_cast<uint8_t>(c.before[i]);
        done = 0;
        Apply(4, c.text);
        EXPECT_EQ(Bytes(p, static_cast<int>(c.after.size())), c.after) << c.text;
        EXPECT_EQ(done, 1) << c.text;
    }
    p.SetBitWidth(12);
    p.Value[0] = 0x34;
    p.Value[1] = 0x12;
    EXPECT_EQ(ChannelValueText(&p), "52,18");
}

// A number past a byte is refused whole with a message, never stored as its low byte.
TEST_F(ChannelCells, NumbersPastAByteAreRefused) {
    struct Case {
        int column;
        const char* text;
        std::vector<int> after; // value bytes 0-2, or the RAM depth alone
        size_t messages;
    } cases[] = {
        {4, "255,0,255", {255, 0, 255}, 0},
        {4, "1,256,3", {9, 9, 9}, 1},
        {4, "-1", {9, 9, 9}, 1},
        {4, "300,,", {9, 9, 9}, 1},
        {7, "255", {255}, 0},
        {7, "256", {4}, 1},
        {7, "-1", {4}, 1},
    };
    for (const Case& c : cases) {
        p.SetBitWidth(24);
        for (int i = 0; i < 3; ++i)
            p.Value[i] = 9;
        p.RamDepth = 4;
        testsupport::MessageRecorder::Texts().clear();
        done = 0;
        Apply(c.column, c.text);
        const std::vector<int> got = c.column == 4 ? Bytes(p, 3) : std::vector<int>{p.RamDepth};
        EXPECT_EQ(got, c.after) << c.text;
        EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), c.messages) << c.text;
        EXPECT_EQ(done, 1) << c.text;
    }
}

// Only a text that is no number ends the apply quietly: an owner's own failure goes on to the
// handler's boundary, which shows it.
TEST_F(ChannelCells, AnOwnersFailureIsNotSwallowed) {
    struct Failing : TObjectItem {
        Failing() : TObjectItem(1) {}
        bool SetParamValueText(TParamItem*, const std::string&) override { throw std::logic_error("сбой"); }
    } owner;
    p.Owner = &owner;
    EXPECT_THROW(Apply(4, "1"), std::logic_error);
    p.Owner = nullptr;
}

TEST_F(ChannelCells, RamDepthAndHandlers) {
    Apply(7, "5");
    EXPECT_EQ(p.RamDepth, 5);
    EXPECT_EQ(p.Value[0], 0xFF);
    EXPECT_EQ(p.Value[255], 0xFF);
    Apply(7, "abc");
    EXPECT_EQ(p.RamDepth, 5);
    Apply(7, "0");
    EXPECT_EQ(p.Value[100], 0x00);

    actionManager store;
    T_Action* alpha = store.CreateAction("alpha");
    T_Action* beta = store.CreateAction("beta");
    beta->Caption = "Опрос";
    p.Store = &store;
    p.WriteHandler = alpha->Id();
    Apply(5, "нет");
    EXPECT_EQ(p.WriteHandler, alpha->Id());
    Apply(5, "Опрос");
    EXPECT_EQ(p.WriteHandler, beta->Id());
    Apply(6, "alpha");
    EXPECT_EQ(p.ChangeHandler, alpha->Id());
    EXPECT_EQ(done, 6);
}

// A node of the object tree.
struct Node : TObjectTreeNode {
    std::string Text;
    Node* Parent = nullptr;
    std::vector<Node*> Children;
    explicit Node(std::string t, Node* parent = nullptr) : Text(std::move(t)), Parent(parent) {
        if (parent)
            parent->Children.push_back(this);
    }
    std::string GetText() const override { return Text; }
    void SetText(const std::string& t) override { Text = t; }
    TObjectTreeNode* GetParent() const override { return Parent; }
    TObjectTreeNode* GetFirstChild() const override { return Children.empty() ? nullptr : Children[0]; }
};

struct Editors : ::testing::Test {
    TForm* form = nullptr;
    void SetUp() override {
        Application->Initialize();
        InstallEditorKit();
        form = new TForm(nullptr);
        form->Font()->SetSize(11);
    }
    void TearDown() override {
        delete form;
        Application->ProcessMessages();
    }
};

TEST_F(Editors, ChannelValueEditor) {
    TParamItem p;
    p.SetBitWidth(12);
    p.Value[0] = 0x34;
    p.Value[1] = 0x12;
    int done = 0, exits = 0;
    TWinControl* e = CreateChannelPropertyEditor(
        &p, 4, form, [&](TObject*) { ++exits; }, [&](TObject*) { ++done; });
    auto* edit = dynamic_cast<TEdit*>(e);
    ASSERT_TRUE(edit);
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(edit->Parent(), form);
    EXPECT_EQ(edit->Font()->Size(), 8);
    EXPECT_EQ(edit->Text(), "52,18");
    edit->SetText("3,4");
    EXPECT_EQ(Bytes(p, 2), (std::vector<int>{3, 4}));
    EXPECT_GE(done, 1);
    p.ValueEditable = 0;
    EXPECT_EQ(CreateChannelPropertyEditor(&p, 4, form, nullptr, nullptr), nullptr);
    p.SetBitWidth(0);
    p.ValueEditable = 1;
    EXPECT_EQ(CreateChannelPropertyEditor(&p, 4, form, nullptr, nullptr), nullptr);
}

TEST_F(Editors, ChannelHandlerCombo) {
    actionManager store;
    store.CreateAction("alpha");
    T_Action* beta = store.CreateAction("beta");
    beta->Caption = "Опрос";
    TParamItem p;
    p.Store = &store;
    p.ChangeHandler = beta->Id();
    auto* combo = dynamic_cast<TComboBox*>(CreateChannelPropertyEditor(&p, 6, form, nullptr, nullptr));
    ASSERT_TRUE(combo);
    ASSERT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Strings(0), "нет");
    EXPECT_EQ(combo->Items()->Strings(2), "Опрос");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetItemIndex(1);
    combo->OnChange(combo);
    EXPECT_EQ(p.ChangeHandler, 1);
}

TEST_F(Editors, PeriodAndCommandModeEditors) {
    TObjectItem o(1000);
    o.Period = 0x85;
    auto* c = new TCommandItem;
    c->Execute = 1;
    o.Commands.Append(c);
    EXPECT_EQ(o.CreatePropertyEditor(0, form, nullptr, nullptr), nullptr);
    auto* period = dynamic_cast<TComboBox*>(o.CreatePropertyEditor(1, form, nullptr, nullptr));
    ASSERT_TRUE(period);
    EXPECT_EQ(period->Text(), "5 h");
    EXPECT_EQ(period->Items()->Count(), 5);
    period->SetText("2 m");
    period->OnChange(period);
    EXPECT_EQ(o.Period, 0x42);
    period->SetText("70 m");
    period->OnChange(period);
    EXPECT_EQ(o.Period, 0x42);

    auto* mode = dynamic_cast<TComboBox*>(o.CreateCommandModeEditor(0, form, nullptr, nullptr));
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->Text(), "Выполнять");
    mode->SetText("Выполнять (T=?)");
    mode->OnChange(mode);
    EXPECT_EQ(c->Execute, 0);
    EXPECT_EQ(o.CreateCommandModeEditor(1, form, nullptr, nullptr), nullptr);
}

TEST_F(Editors, TreeEditorOnlyForThePeriodNode) {
    TObjectItem o(1000);
    o.DisplayType = "МЕРКУРИЙ 230";
    o.Period = 0x05;
    Node root("МЕРКУРИЙ 230"), id("ID:1000", &root), period("Период опроса: 5 s", &root),
        other("Адрес: 1", &root);
    Node deep("Период опроса: 1 s", &other);
    EXPECT_EQ(o.CreateTreeEditor(&root, form), nullptr);
    EXPECT_EQ(o.CreateTreeEditor(&other, form), nullptr);
    EXPECT_EQ(o.CreateTreeEditor(&deep, form), nullptr);
    auto* combo = dynamic_cast<TComboBox*>(o.CreateTreeEditor(&period, form));
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->Text(), "5 s");
    o.ApplyTreeEditor(&period, "3 m");
    EXPECT_EQ(o.Period, 0x43);
    EXPECT_EQ(period.Text, "Период опроса: 3 m");
    o.ApplyTreeEditor(&period, "непрерывно");
    EXPECT_EQ(period.Text, "Период опроса: непрерывно");
    id.Text = "ID:1001";
    EXPECT_EQ(o.CreateTreeEditor(&period, form), nullptr);
}

// The channel grid's value and RAM depth cells typed key by key, the edit ended as a user ends it: a
// number past the cell is refused once and leaves the channel as it was; one that fits is stored.
struct TypedCellCase {
    const char* name;
    int column; // 4 value, 7 RAM depth
    const char* text;
    int stored; // -1: refused, the cell keeps 7
};

void PrintTo(const TypedCellCase& c, std::ostream* os) { *os << c.name; }

class TypedChannelCell : public ::testing::TestWithParam<TypedCellCase> {
protected:
    // The application first: it installs the dialog service, over which the recorder records.
    void SetUp() override {
        Application->Initialize();
        InstallEditorKit();
        recorder = std::make_unique<testsupport::MessageRecorder>();
    }
    void TearDown() override { recorder.reset(); }
    std::unique_ptr<testsupport::MessageRecorder> recorder;
};

TEST_P(TypedChannelCell, PastTheCellIsRefusedOnceAndLeavesTheChannel) {
    const TypedCellCase& c = GetParam();
    TParamItem p;
    p.SetBitWidth(8);
    p.SetRamDepth(7); // fills the value
    p.Value[0] = 7;
    testsupport::EditorHost host;
    ASSERT_TRUE(
        host.TypeAndEnd(CreateChannelPropertyEditor(&p, c.column, host.Host(), nullptr, nullptr), c.text));
    const int kept = c.column == 4 ? p.Value[0] : p.RamDepth;
    EXPECT_EQ(kept, c.stored < 0 ? 7 : c.stored);
    if (c.stored < 0) {
        EXPECT_EQ(c.column == 4 ? p.RamDepth : p.Value[0], 7);
    }
    EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), c.stored < 0 ? 1u : 0u);
}

const TypedCellCase kTypedCells[] = {
    {"Value300", 4, "300", -1},    {"Value255", 4, "255", 255},    {"ValueMinus1", 4, "-1", -1},
    {"RamDepth300", 7, "300", -1}, {"RamDepth255", 7, "255", 255}, {"RamDepth99999", 7, "99999", -1},
};

INSTANTIATE_TEST_SUITE_P(Channels, TypedChannelCell, ::testing::ValuesIn(kTypedCells),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// The user-defined object's and the message journal's number rows typed key by key into their
// in-place editors, the edit ended as a user ends it: one past the range is refused with one message
// and leaves the object as it was (no typed prefix kept); one that fits is stored.
enum class RowKind { UserProperty, UserCommand, Journal };

struct TypedRowCase {
    const char* name;
    RowKind kind;
    int row;
    const char* text;
    const char* shown; // nullptr: refused
};

void PrintTo(const TypedRowCase& c, std::ostream* os) { *os << c.name; }

class TypedObjectRow : public ::testing::TestWithParam<TypedRowCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        InstallEditorKit();
        recorder = std::make_unique<testsupport::MessageRecorder>();
        journal = static_cast<TChangeLogItem*>(config.AddObject(2));
        config.NewChannel(20, 1); // index 20 is taken
        user = std::make_unique<TUserObjItem>(10000, nullptr, &store);
        user->ApplyCommandCount("3");
        user->ApplySelectedCommandItem(2);
        testsupport::MessageRecorder::Texts().clear();
    }
    void TearDown() override { recorder.reset(); }
    std::vector<std::string> State() {
        std::vector<std::string> state;
        std::string text;
        for (int row = 0; row <= 4; ++row) {
            user->GetPropertyText(row, text);
            state.push_back(text);
            user->GetCommandModeText(row, text);
            state.push_back(text);
        }
        for (int row = 0; row <= 3; ++row) {
            journal->GetPropertyText(row, text);
            state.push_back(text);
        }
        for (ELEM* e = config.Channels.Oldest; e; e = e->Newer) {
            auto* p = static_cast<TParamItem*>(e);
            state.push_back(IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex));
        }
        return state;
    }
    std::string Shown(const TypedRowCase& c) {
        std::string text;
        if (c.kind == RowKind::UserProperty)
            user->GetPropertyText(c.row, text);
        else if (c.kind == RowKind::UserCommand)
            user->GetCommandModeText(c.row, text);
        else
            journal->GetPropertyText(c.row, text);
        return text;
    }
    TWinControl* Editor(const TypedRowCase& c, TWinControl* host) {
        if (c.kind == RowKind::UserProperty)
            return user->CreatePropertyEditor(c.row, host, nullptr, nullptr);
        if (c.kind == RowKind::UserCommand)
            return user->CreateCommandModeEditor(c.row, host, nullptr, nullptr);
        return journal->CreatePropertyEditor(c.row, host, nullptr, nullptr);
    }
    std::unique_ptr<testsupport::MessageRecorder> recorder;
    configmanager config;
    actionManager store;
    TChangeLogItem* journal = nullptr;
    std::unique_ptr<TUserObjItem> user;
};

TEST_P(TypedObjectRow, OnePastIsRefusedOnceAndInRangeIsStored) {
    const TypedRowCase& c = GetParam();
    ASSERT_NE(journal, nullptr);
    const std::vector<std::string> before = State();
    testsupport::EditorHost host;
    using End = testsupport::EditorHost::End;
    for (End end : {End::Tab, End::Click, End::Enter}) {
        testsupport::MessageRecorder::Texts().clear();
        ASSERT_TRUE(host.TypeAndEnd(Editor(c, host.Host()), c.text, end));
        if (c.shown) {
            EXPECT_EQ(Shown(c), c.shown);
            EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty());
            return;
        }
        EXPECT_EQ(State(), before);
        EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), 1u);
    }
}

const TypedRowCase kTypedRows[] = {
    {"CommandCount255", RowKind::UserProperty, 4, "255", "255"},
    {"CommandCount256", RowKind::UserProperty, 4, "256", nullptr},
    {"CommandCount11Digits", RowKind::UserProperty, 4, "12345678901", nullptr},
    {"Prepare65535", RowKind::UserCommand, 2, "65535", "65535"},
    {"Prepare65536", RowKind::UserCommand, 2, "65536", nullptr},
    {"Parse65536", RowKind::UserCommand, 3, "65536", nullptr},
    {"NoAnswer65536", RowKind::UserCommand, 4, "65536", nullptr},
    {"NoAnswer11Digits", RowKind::UserCommand, 4, "12345678901", nullptr},
    {"NoAnswer20Digits", RowKind::UserCommand, 4, "12345678901234567890", nullptr},
    {"LogIndex21", RowKind::Journal, 1, "21", "21"},
    {"LogIndex65536", RowKind::Journal, 1, "65536", nullptr},
    {"LogIndexTaken20", RowKind::Journal, 1, "20", nullptr},
    {"AlarmSends255", RowKind::Journal, 3, "255", "255"},
    {"AlarmSends256", RowKind::Journal, 3, "256", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Objects, TypedObjectRow, ::testing::ValuesIn(kTypedRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A typed number the model refuses, in an edit box or a typable combo box built by the kit; the
// model here takes numbers below 100.
struct KitEditorCase {
    const char* name;
    TEditorKind kind;
};

void PrintTo(const KitEditorCase& c, std::ostream* os) { *os << c.name; }

class TypedKitEditor : public ::testing::TestWithParam<KitEditorCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        InstallEditorKit();
        recorder = std::make_unique<testsupport::MessageRecorder>();
    }
    void TearDown() override {
        PutBackRefusedEdits();
        recorder.reset();
    }
    TWinControl* Build(TWinControl* host) {
        TEditorDef editorDef;
        editorDef.Kind = GetParam().kind;
        editorDef.Text = "7";
        editorDef.Items = {"1", "2"};
        editorDef.Apply = [this](TObject* sender) {
            int64_t v = 0;
            if (!TryStrToInt64(EditorText(sender), v))
                return;
            if (v >= 100)
                ReportConfigurationProblem("\"Число\": значение " + EditorText(sender) + " не сохранено.");
            else
                stored = static_cast<int>(v);
        };
        return BuildEditor(host, std::move(editorDef), nullptr);
    }
    // Shows the editor and types `text` into it key by key.
    static void Type(TWinControl* editor, const std::string& text) {
        editor->SetBounds(10, 10, 150, 21);
        editor->SetVisible(true);
        editor->SetFocus();
        inputkit::Press(editor, inputkit::Key::End);
        inputkit::Press(editor, inputkit::Key::Backspace);
        inputkit::Type(editor, text);
        inputkit::ProcessEvents();
    }
    std::unique_ptr<testsupport::MessageRecorder> recorder;
    int stored = 7;
};

// Enter ends the edit: the opening value is back and the one message shows while the editor still
// has the focus; the focus leaving after it shows no second one.
TEST_P(TypedKitEditor, EnterEndsTheEditOnce) {
    testsupport::EditorHost host;
    TWinControl* editor = Build(host.Host());
    ASSERT_NE(editor, nullptr);
    Type(editor, "12345678901");
    EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty()) << "a box while typing";
    EXPECT_EQ(stored, 12);
    inputkit::Press(editor, inputkit::Key::Return);
    inputkit::ProcessEvents();
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(stored, 7);
    EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), 1u);
    inputkit::Press(editor, inputkit::Key::Tab);
    inputkit::ProcessEvents();
    EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), 1u);
    delete editor;
}

// The host frees the editor while the edit is still open on a refused number (its grid refilled):
// the opening value is back, with no message, as the user never ended the edit.
TEST_P(TypedKitEditor, FreedOpenOnARefusedNumberPutsTheOpeningValueBack) {
    testsupport::EditorHost host;
    TWinControl* editor = Build(host.Host());
    ASSERT_NE(editor, nullptr);
    Type(editor, "256");
    EXPECT_EQ(stored, 25);
    delete editor;
    EXPECT_EQ(stored, 7);
    EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty());
}

// The model frees what the open editor changes (the object deleted) before the host frees the
// editor: the opening value is put back while the object still lives, and not again later.
TEST_P(TypedKitEditor, PutBackBeforeTheModelFreesWhatItChanges) {
    testsupport::EditorHost host;
    TWinControl* editor = Build(host.Host());
    ASSERT_NE(editor, nullptr);
    Type(editor, "256");
    EXPECT_EQ(stored, 25);
    PutBackRefusedEdits();
    EXPECT_EQ(stored, 7);
    stored = 3; // as if the value were gone: freeing the editor must not touch it
    delete editor;
    EXPECT_EQ(stored, 3);
    EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty());
}

const KitEditorCase kKitEditors[] = {{"EditBox", TEditorKind::Edit}, {"ComboBox", TEditorKind::Combo}};

// An editor that applies at the end stores nothing while the user types: the end applies the typed
// text once, a refused one puts nothing back but the text and shows one message, and an editor freed
// before its end stores nothing.
TEST_P(TypedKitEditor, AppliedAtTheEndOnlyOnce) {
    std::vector<std::string> applied;
    auto build = [&](TWinControl* host) {
        TEditorDef editorDef;
        editorDef.Kind = GetParam().kind;
        editorDef.Text = "7";
        editorDef.ApplyAtEnd = true;
        editorDef.Apply = [&applied](TObject* sender) {
            applied.push_back(EditorText(sender));
            if (EditorText(sender).size() > 2)
                ReportConfigurationProblem("\"Число\": значение " + EditorText(sender) + " не сохранено.");
        };
        return BuildEditor(host, std::move(editorDef), nullptr);
    };
    testsupport::EditorHost host;
    ASSERT_TRUE(host.TypeAndEnd(build(host.Host()), "25"));
    EXPECT_EQ(applied, (std::vector<std::string>{"25"}));
    EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty());
    applied.clear();
    ASSERT_TRUE(host.TypeAndEnd(build(host.Host()), "256", testsupport::EditorHost::End::Enter));
    EXPECT_EQ(applied, (std::vector<std::string>{"256", "7"}));
    EXPECT_EQ(testsupport::MessageRecorder::Texts().size(), 1u);
    applied.clear();
    TWinControl* editor = build(host.Host());
    Type(editor, "12");
    delete editor;
    EXPECT_TRUE(applied.empty());
}

INSTANTIATE_TEST_SUITE_P(Kit, TypedKitEditor, ::testing::ValuesIn(kKitEditors),
                         [](const auto& info) { return std::string(info.param.name); });

// A refused period puts back the very code the editor opened on, though its text gives another: a
// code loaded with both unit bits, and a command not executed that keeps a period.
TEST(TypedPeriods, ARefusedPeriodPutsBackTheOpeningCodes) {
    Application->Initialize();
    InstallEditorKit();
    testsupport::MessageRecorder recorder;
    TObjectItem o(1000);
    o.Period = 0xC5;
    auto* c = new TCommandItem;
    c->Name = "Опрос";
    c->Execute = 0;
    c->Period = 0x45;
    o.Commands.Append(c);
    testsupport::EditorHost host;
    ASSERT_TRUE(host.TypeAndEnd(o.CreatePropertyEditor(1, host.Host(), nullptr, nullptr), "64 s"));
    EXPECT_EQ(o.Period, 0xC5);
    ASSERT_TRUE(
        host.TypeAndEnd(o.CreateCommandModeEditor(0, host.Host(), nullptr, nullptr), "Выполнять (T=64 s)"));
    EXPECT_EQ(c->Execute, 0);
    EXPECT_EQ(c->Period, 0x45);
    EXPECT_EQ(testsupport::MessageRecorder::Texts(),
              (std::vector<std::string>{
                  "\"Период опроса\": значение 64 не сохранено, допустимы значения от 0 до 63.",
                  "\"Опрос\": значение 64 не сохранено, допустимы значения от 0 до 63."}));
}

// Deleting the object an editor is open on, with a refused number typed, leaves nothing to free twice.
TEST(TypedObjectDeleted, DeletingTheObjectPutsTheRefusedEditBackFirst) {
    Application->Initialize();
    InstallEditorKit();
    testsupport::MessageRecorder recorder;
    configmanager config;
    auto* journal = static_cast<TChangeLogItem*>(config.AddObject(2));
    ASSERT_NE(journal, nullptr);
    testsupport::MessageRecorder::Texts().clear();
    testsupport::EditorHost host;
    TWinControl* editor = journal->CreatePropertyEditor(3, host.Host(), nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    editor->SetBounds(10, 10, 150, 21);
    editor->SetVisible(true);
    editor->SetFocus();
    inputkit::Press(editor, inputkit::Key::End);
    inputkit::Press(editor, inputkit::Key::Backspace);
    inputkit::Type(editor, "256");
    std::string text;
    journal->GetPropertyText(3, text);
    EXPECT_EQ(text, "25");
    config.DeleteObject(journal);
    delete editor;
    EXPECT_TRUE(testsupport::MessageRecorder::Texts().empty());
}

} // namespace
