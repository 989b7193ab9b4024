// The subprogram page of the main window headless, driven as a user drives it: typing into the
// script editor, the apply button, and what an apply that does not assemble tells the user.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <set>

#include "Configmanager.h"
#include "Dockform.h"
#include "Gwbars.h"
#include "Umain.h"
#include "UnitSyntaxMemo.h"
#include "Uprogram.h"
#include "Unewparam.h"
#include "actions.h"
#include "inputkit.h"
#include "mainwindow_fixture.h"
#include "screenkit.h"
#include "tempfolder.h"
#include "timers.h"

namespace {

using namespace inputkit;

// Message boxes answered OK and kept; a file dialog takes the next queued name (none cancels).
struct RecordingDialogs : TDialogService {
    std::vector<std::string> Shown;
    std::deque<std::string> Files;
    int MessageBox(const std::string& Text, const std::string&, UINT) override {
        Shown.push_back(Text);
        return IDOK;
    }
    int MessageDlg(const std::string& Msg, TMsgDlgType, TMsgDlgButtons) override {
        Shown.push_back(Msg);
        return mrYes;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>& files) override {
        if (Files.empty())
            return false;
        files = {Files.front()};
        Files.pop_front();
        return true;
    }
};

class SubprogramPage : public TMainWindowTest<RecordingDialogs> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        m->Show();
        action = m->Config->CreateSubprogram("poll");
        m->RefreshAllViews(m);
        m->pcMain->SetActivePage(m->tsProgramm);
        m->tcProgramm->SetTabIndex(0);
        ProcessEvents();
        Memo()->SetFocus();
        ProcessEvents();
    }
    TMPSyntaxMemo* Memo() { return m->MPSyntaxMemo1; }
    std::string Text() {
        std::string out;
        for (int i = 0; i < Memo()->Lines()->Count(); ++i)
            out += (i ? "|" : "") + Memo()->Lines()->Get(i);
        return out;
    }

    T_Action* action = nullptr;
};

// A line that does not assemble: the message names it, the caret goes to it (scrolled into view),
// and nothing is applied.
TEST_F(SubprogramPage, ApplyThatFailsNamesTheLineAndPutsTheCaretOnIt) {
    Memo()->Lines()->Clear();
    for (int i = 0; i < 40; ++i)
        Memo()->Lines()->Add("push " + std::to_string(i));
    Memo()->Lines()->Add("gotoz @l:");
    Memo()->Lines()->Add("ret");
    ASSERT_TRUE(m->SpeedButton1->Enabled());
    Memo()->Range()->SetPos({3, 0});
    Click(m->SpeedButton1, 11, 11);
    ProcessEvents();
    EXPECT_EQ(dialogs.Shown, (std::vector<std::string>{"Строка 41: '' - недопустимое целое значение."}));
    EXPECT_EQ(Memo()->Range()->GetPosY(), 40);
    EXPECT_EQ(Memo()->Range()->GetPosX(), 0);
    EXPECT_GE(Memo()->RowOfLine(40), 0);
    EXPECT_TRUE(Memo()->Focused());
    EXPECT_TRUE(action->Instructions.empty());
    EXPECT_TRUE(m->SpeedButton1->Enabled());

    // Mended, it applies.
    Memo()->Lines()->Put(40, "gotoz @l:1");
    Click(m->SpeedButton1, 11, 11);
    ProcessEvents();
    EXPECT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(action->Instructions.size(), 42u);
    EXPECT_FALSE(m->SpeedButton1->Enabled());
}

// A missing operand is named by its line too, and typing from there mends it.
TEST_F(SubprogramPage, MissingOperandNamesItsLine) {
    Type(Memo(), "def x");
    Press(Memo(), Key::Return);
    Type(Memo(), "mov");
    Press(Memo(), Key::Return);
    Type(Memo(), "ret");
    Click(m->SpeedButton1, 11, 11);
    ProcessEvents();
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_TRUE(dialogs.Shown[0].starts_with("Строка 2: ")) << dialogs.Shown[0];
    Press(Memo(), Key::End);
    Type(Memo(), " x x");
    Click(m->SpeedButton1, 11, 11);
    ProcessEvents();
    EXPECT_EQ(dialogs.Shown.size(), 1u);
    ASSERT_EQ(action->Instructions.size(), 3u);
    EXPECT_EQ(action->Instructions[1].Opcode, opMov);
}

// The editor marks the instruction table's words as instructions and the do-function names as
// functions; no other word is either.
TEST_F(SubprogramPage, KeywordsAreTheInstructionTablesWordsAndFunctionNames) {
    auto listed = [](const TStringList& list) {
        std::set<std::string> words;
        for (int i = 0; i < list.Count(); ++i)
            words.insert(list[i]);
        return words;
    };
    auto table = [](std::span<const std::string_view> words) {
        return std::set<std::string>(words.begin(), words.end());
    };
    EXPECT_EQ(listed(*m->InstructionWords), table(InstructionWords()));
    EXPECT_EQ(listed(*m->FunctionWords), table(DoFunctionNames()));
    auto kind = [&](const std::string& word) {
        uint16_t token = 0;
        m->MPSyntaxMemo1ParseWord(word, token);
        return token;
    };
    for (std::string_view word : InstructionWords())
        EXPECT_EQ(kind(std::string(word)), 255) << word;
    for (std::string_view word : DoFunctionNames())
        EXPECT_EQ(kind(std::string(word)), 254) << word;
    for (const char* word : {"op", "mem", "x", "pushx"})
        EXPECT_EQ(kind(word), 0) << word;
}

// In the new-subprogram dialog the keyboard user sees where Tab has put the focus: a dotted
// rectangle inside "Ok", then inside "Отмена", then around "Автозапуск", each gone once the
// focus moves on.
TEST_F(SubprogramPage, TheNewSubprogramDialogShowsWhereTabPutsTheFocus) {
    TfmNewParam* dlg = fmNewParam;
    std::vector<std::string> marked; // per Tab: the focused control, and whether only it shows the mark
    TTimer driver(nullptr);
    driver.SetInterval(10);
    driver.OnTimer = [&](TObject*) {
        if (!dlg->Visible())
            return; // the menu has not opened it yet
        driver.SetEnabled(false);
        TWinControl* const stops[] = {dlg->Button1, dlg->Button2, dlg->CheckBox1};
        ProcessEvents();
        ASSERT_TRUE(dlg->Edit1->Focused());
        TBitmap plain[3];
        for (int i = 0; i < 3; ++i)
            screenkit::Window(stops[i], plain[i]);
        for (TWinControl* stop : stops) {
            PressToFocus(Key::Tab);
            std::string seen = stop->Focused() ? stop->Caption() : "?";
            for (int i = 0; i < 3; ++i) {
                TBitmap now;
                screenkit::Window(stops[i], now);
                const bool mark = !screenkit::DottedRect(now, plain[i]).IsEmpty();
                if (mark != (stops[i] == stop) || (!mark && !screenkit::SamePixels(now, plain[i])))
                    seen += " and " + stops[i]->Caption() + (mark ? " marked" : " changed");
            }
            marked.push_back(seen);
        }
        PressToFocus(Key::Backtab, Shift);
        PressToFocus(Key::Space); // "Отмена"
    };
    driver.SetEnabled(true);
    ChooseInNextMenu("Создать Новую");
    ClickMenuBar(m, "Подпрограммы");
    ProcessEvents();
    EXPECT_EQ(marked, (std::vector<std::string>{"Ok", "Отмена", "Автозапуск"}));
    EXPECT_EQ(dlg->ModalResult(), mrCancel);
    EXPECT_EQ(m->tcProgramm->TabCount(), 1) << "cancelled: no subprogram made";
}

// The commands that apply a pending edit on their way, with a text typed that does not assemble.
enum class TPath { AddObject, DeleteObject, PageChange, TabChange, Save, SaveAs, Check, Export, New, Open };

struct TPendingCase {
    const char* name;
    TPath path;
    size_t boxes;   // the assembly error shown by the command, or not by one that applies nothing
    bool textStays; // else the text went with its configuration
};
void PrintTo(const TPendingCase& c, std::ostream* os) { *os << c.name; }

// The main window at its usual size, driven through its page tabs, subprogram tabs and menus.
class SubprogramWindow : public TMainWindowTest<RecordingDialogs> {
protected:
    std::string Text() {
        std::string out;
        for (int i = 0; i < m->MPSyntaxMemo1->Lines()->Count(); ++i)
            out += (i ? "|" : "") + m->MPSyntaxMemo1->Lines()->Get(i);
        return out;
    }
    void ClickPage(TGwTabSheet* sheet) {
        TRect r = m->pcMain->TabRect(sheet->TabIndex());
        Click(m->pcMain, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        ProcessEvents();
    }
    void ClickTab(const std::string& caption) {
        int i = 0;
        while (i < m->tcProgramm->TabCount() && m->tcProgramm->Tab(i).Caption != caption)
            ++i;
        TRect tab = m->tcProgramm->TabRect(i);
        Click(m->tcProgramm, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
        ProcessEvents();
    }
    void ChooseInMenu(const std::string& title, const std::string& item) {
        ChooseInNextMenu(item);
        ClickMenuBar(m, title);
        ProcessEvents();
    }
};

class PendingEdit : public SubprogramWindow, public ::testing::WithParamInterface<TPendingCase> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        ShowAtDefaultSize();
        ProcessEvents();
        poll = m->Config->CreateSubprogram("poll");
        TStringList text;
        text.Add("push 7");
        ASSERT_TRUE(poll->Assemble(text));
        m->Config->CreateSubprogram("other");
        m->Config->AddObject(kUserObject);
        m->RefreshAllViews(m);
        ClickPage(m->tsProgramm);
        ClickTab("poll");
        ASSERT_EQ(Text(), "push 7");
        Click(m->MPSyntaxMemo1, 60, 10);
        Press(m->MPSyntaxMemo1, Key::End);
        Press(m->MPSyntaxMemo1, Key::Return);
        Type(m->MPSyntaxMemo1, "push y qq");
        ASSERT_EQ(Text(), "push 7|push y qq");
        ASSERT_TRUE(m->SpeedButton1->Enabled());
    }
    void Act(TPath path) {
        switch (path) {
        case TPath::AddObject:
            // The submenu's item for the user-defined object, as the menu hands it its click.
            for (int i = 0; i < m->mmAddObj->Count(); ++i)
                if (m->mmAddObj->Items(i)->Tag == kUserObject)
                    m->mmAddObj->Items(i)->Click();
            ProcessEvents();
            break;
        case TPath::DeleteObject:
            ClickPage(m->tsObjectControl);
            Click(m->gwlbObjectList, 10, 9);
            ChooseInMenu("Объекты", "Удалить Объект");
            break;
        case TPath::PageChange: ClickPage(m->tsObjectControl); break;
        case TPath::TabChange: ClickTab("other"); break;
        case TPath::Save:
            m->DatabaseFileName = dir.File("a.cdb"); // as New or Open left it
            ChooseInMenu("&Файл", "Сохранить");
            break;
        case TPath::SaveAs:
            dialogs.Files = {dir.File("b.cdb")};
            ChooseInMenu("&Файл", "Сохранить Как");
            break;
        case TPath::Check: ChooseInMenu("&Файл", "Проверка Конфигурации"); break;
        case TPath::Export:
            ChooseInMenu("Каналы концентратора", "Сохранить Конфигурацию \"Верклит 1.5\"");
            break;
        case TPath::New:
            dialogs.Files = {dir.File("c.cdb")};
            ChooseInMenu("&Файл", "Новая База");
            break;
        case TPath::Open: {
            std::string path = dir.File("d.cdb");
            configmanager other;
            other.CreateSubprogram("poll");
            ASSERT_TRUE(other.SaveDatabase(path));
            dialogs.Files = {path};
            ChooseInMenu("&Файл", "&Открыть");
            break;
        }
        }
    }

    static constexpr int kUserObject = 1; // the user-defined object, any number of them
    T_Action* poll = nullptr;
};

// The command goes all the way with every view rebuilt; the error, named by its line, is shown
// once, and not again on the page changes after; the text waits in the editor to be mended.
TEST_P(PendingEdit, ThatDoesNotAssembleStopsNoCommand) {
    const TPendingCase& c = GetParam();
    const std::vector<TActionLine> before = poll->Instructions;
    Act(c.path);
    ASSERT_TRUE(dialogs.Files.empty()) << "the command's file dialog did not open";
    ASSERT_EQ(dialogs.Shown.size(), c.boxes);
    if (c.boxes) {
        EXPECT_TRUE(dialogs.Shown[0].starts_with("Строка 2: ")) << dialogs.Shown[0];
    }
    ClickPage(m->tsChannelControlExpress);
    ClickPage(m->tsProgramm);
    ClickPage(m->tsObjectControl);
    // A command that applies nothing leaves it to the first page change.
    const size_t told = c.textStays ? 1 : 0;
    EXPECT_EQ(dialogs.Shown.size(), told) << "shown again";

    const int objects = c.path == TPath::AddObject                      ? 2
                        : c.path == TPath::DeleteObject || !c.textStays ? 0
                                                                        : 1;
    EXPECT_EQ(m->gwlbObjectList->Items()->Count(), objects);
    EXPECT_EQ(m->GwListBox1->Items()->Count(), objects);
    EXPECT_EQ(int(m->gwctObjectList->Items()->Count()), objects) << "one node each, none opened";
    if (!c.textStays) {
        EXPECT_EQ(Text(), "");
        return;
    }
    EXPECT_EQ(poll->Instructions.size(), before.size()) << "nothing applied";
    if (c.path == TPath::Save || c.path == TPath::SaveAs) {
        EXPECT_TRUE(FileExists(dir.File(c.path == TPath::Save ? "a.cdb" : "b.cdb"))) << "the rest is saved";
    }
    ClickPage(m->tsProgramm);
    EXPECT_EQ(m->tcProgramm->Tab(m->tcProgramm->TabIndex()).Caption, "poll");
    EXPECT_EQ(Text(), "push 7|push y qq");
    ASSERT_TRUE(m->SpeedButton1->Enabled());

    // Mended, it applies.
    Press(m->MPSyntaxMemo1, Key::End);
    for (int i = 0; i < 5; ++i)
        Press(m->MPSyntaxMemo1, Key::Backspace);
    Click(m->SpeedButton1, 11, 11);
    ProcessEvents();
    EXPECT_EQ(dialogs.Shown.size(), told);
    EXPECT_EQ(poll->Instructions.size(), 2u);
    EXPECT_FALSE(m->SpeedButton1->Enabled());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PendingEdit,
                         ::testing::Values(TPendingCase{"AddObject", TPath::AddObject, 1, true},
                                           TPendingCase{"DeleteObject", TPath::DeleteObject, 1, true},
                                           TPendingCase{"PageChange", TPath::PageChange, 1, true},
                                           TPendingCase{"TabChange", TPath::TabChange, 1, true},
                                           TPendingCase{"Save", TPath::Save, 1, true},
                                           TPendingCase{"SaveAs", TPath::SaveAs, 1, true},
                                           TPendingCase{"Check", TPath::Check, 0, true},
                                           TPendingCase{"Export", TPath::Export, 0, true},
                                           TPendingCase{"New", TPath::New, 0, false},
                                           TPendingCase{"Open", TPath::Open, 0, false}),
                         [](const ::testing::TestParamInfo<TPendingCase>& i) {
                             return std::string(i.param.name);
                         });

// The ways a file the user chose becomes a subprogram's text, each given a file that holds none
// (bytes of another kind, words without fields), one that does not assemble, and one that loads.
enum class TFileUse { Load, Revert, Import };

struct TFileCase {
    const char* name;
    TFileUse use;
    std::string bytes;
    std::string reason; // after "Не удалось открыть файл <file>: "; empty when the file loads
    std::string text; // what the editor shows afterwards
};
void PrintTo(const TFileCase& c, std::ostream* os) { *os << c.name; }

std::string RandomBytes(size_t n) {
    std::mt19937 rng(300);
    std::string bytes(n, '\0');
    for (char& b : bytes)
        b = char(rng());
    return bytes;
}

const TFileCase kFiles[] = {
    {"LoadRandomBytes", TFileUse::Load, RandomBytes(300), "Это не текстовый файл (байт $", "push 5"},
    {"LoadHelloWorld", TFileUse::Load, "hello world", "В файле нет ни одной инструкции", "push 5"},
    {"LoadBadOperand", TFileUse::Load, "2;push;zz;", "Строка 1: 'zz' - недопустимое целое значение",
     "push 5"},
    {"LoadASubprogram", TFileUse::Load, "1;push;7;\r\n2;ret;", "", "push 7|ret"},
    {"RevertToRandomBytes", TFileUse::Revert, RandomBytes(300), "Это не текстовый файл (байт $", "push 5"},
    {"RevertToHelloWorld", TFileUse::Revert, "hello world", "В файле нет ни одной инструкции", "push 5"},
    {"RevertToASubprogram", TFileUse::Revert, "1;push;7;", "", "push 7"},
    {"ImportRandomBytes", TFileUse::Import, RandomBytes(300), "Это не текстовый файл (байт $", "push 5"},
    {"ImportASubprogram", TFileUse::Import, "3;push;7;;;;", "", "push 7"},
};

class SubprogramFile : public SubprogramWindow, public ::testing::WithParamInterface<TFileCase> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        ShowAtDefaultSize();
        ProcessEvents();
        poll = m->Config->CreateSubprogram("poll");
        m->RefreshAllViews(m);
        ClickPage(m->tsProgramm);
        ClickTab("poll");
        Click(m->MPSyntaxMemo1, 60, 10);
        Press(m->MPSyntaxMemo1, Key::Home);
        Type(m->MPSyntaxMemo1, "push 5");
        Click(m->SpeedButton1, 11, 11);
        ProcessEvents();
        ASSERT_EQ(Text(), "push 5");
        ASSERT_EQ(poll->Instructions.size(), 1u);
        ASSERT_FALSE(m->SpeedButton1->Enabled());
        applied = poll->Instructions;
    }
    T_Action* poll = nullptr;
    std::vector<TActionLine> applied;
};

// A file that gives no subprogram is refused with one message naming it and why; the subprogram
// and the editor stay as they were. Any other file takes their place without a word.
TEST_P(SubprogramFile, ThatHoldsNoSubprogramIsRefusedWithItsReason) {
    const TFileCase& c = GetParam();
    const std::string file = dir.File("chosen.act");
    std::vector<std::string> asked;
    if (c.use == TFileUse::Revert) {
        // The subprogram remembers the file it came from; then the file changes on disk.
        std::ofstream(file, std::ios::binary) << "1;push;5;";
        dialogs.Files = {file};
        ChooseInMenu("Подпрограммы", "Загрузить из Файла...");
        ASSERT_EQ(poll->FilePath, file);
        asked = {"Все изменения будут утрачены безвозвратно. Продолжить?"};
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
    const std::string before = poll->FilePath;
    dialogs.Shown.clear();
    switch (c.use) {
    case TFileUse::Load:
        dialogs.Files = {file};
        ChooseInMenu("Подпрограммы", "Загрузить из Файла...");
        break;
    case TFileUse::Revert:
        Click(m->SpeedButton3, 11, 11);
        ProcessEvents();
        break;
    case TFileUse::Import:
        dialogs.Files = {file};
        ChooseInMenu("Подпрограммы", "Импорт версии 1.0...");
        break;
    }
    ASSERT_TRUE(dialogs.Files.empty()) << "the file dialog did not open";
    EXPECT_EQ(Text(), c.text);
    const bool refused = !c.reason.empty();
    ASSERT_EQ(dialogs.Shown.size(), asked.size() + (refused ? 1 : 0));
    EXPECT_TRUE(std::equal(asked.begin(), asked.end(), dialogs.Shown.begin()));
    if (refused) {
        const std::string said = dialogs.Shown.back();
        EXPECT_TRUE(said.starts_with("Не удалось открыть файл " + file + ": " + c.reason)) << said;
    }
    if (refused || c.use == TFileUse::Import) {
        EXPECT_EQ(poll->Instructions, applied) << "the subprogram as it was";
        EXPECT_EQ(poll->FilePath, before);
        EXPECT_EQ(m->SpeedButton1->Enabled(), !refused) << "an imported text waits to be applied";
        return;
    }
    TStringList lines;
    std::istringstream shown(c.text);
    for (std::string line; std::getline(shown, line, '|');)
        lines.Add(line);
    T_Action* want = m->Config->CreateSubprogram("want");
    want->Assemble(lines);
    EXPECT_EQ(poll->Instructions, want->Instructions);
    EXPECT_EQ(poll->FilePath, file);
    EXPECT_FALSE(m->SpeedButton1->Enabled());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, SubprogramFile, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<TFileCase>& i) {
                             return std::string(i.param.name);
                         });

} // namespace
