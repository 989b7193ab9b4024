// The subprogram page of the main window headless, driven as a user drives it: typing into the
// script editor, the apply button, and what an apply that does not assemble tells the user.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
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

// Message boxes answered OK and kept.
struct RecordingDialogs : TDialogService {
    std::vector<std::string> Shown;
    int MessageBox(const std::string& Text, const std::string&, UINT) override {
        Shown.push_back(Text);
        return IDOK;
    }
    int MessageDlg(const std::string& Msg, TMsgDlgType, TMsgDlgButtons) override {
        Shown.push_back(Msg);
        return mrYes;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
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

} // namespace
