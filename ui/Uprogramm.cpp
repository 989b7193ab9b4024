// The subprogram page: one tab per subprogram, the script editor, apply and revert, autostart,
// create (by name or from a template), load, save, delete, and the version-1.0 import.
#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>

#include "Configmanager.h"
#include "Gwbars.h"
#include "UnitSyntaxMemo.h"
#include "Umain.h"
#include "Unewparam.h"
#include "actions.h"
#include "replacefile.h"
#include "sysutils.h"

namespace {

std::string TabCaption(TGwTabControl* tabs) {
    return tabs->GetTabCollection()->GetItem(tabs->TabIndex())->Caption();
}

std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The text before the first ';' (empty without one), and what follows that ';' (all without one).
std::string TakeField(std::string& s) {
    size_t semi = s.find(';');
    if (semi == std::string::npos)
        return {};
    std::string field = s.substr(0, semi);
    s.erase(0, semi + 1);
    return field;
}

// A subprogram file the user chose that did not load: why, and nothing changed.
void TellNotLoaded(const std::string& path, const std::string& reason) {
    MessageDlg("Не удалось открыть файл " + path + ": " + reason, mtError, TMsgDlgButtons{mbOK});
}

} // namespace

void TMainForm::ReplaceEditorText(const std::function<void()>& fill) {
    // Text put in from code is no edit of the user's: the change it raises marks nothing.
    FReplacing = true;
    MPSyntaxMemo1->Lines()->BeginUpdate();
    MPSyntaxMemo1->AutoRowLink = false;
    fill();
    // Without a current subprogram an edit would be applied nowhere: the editor takes no typing.
    TMPSynMemoOptions options = MPSyntaxMemo1->Options();
    if (Config->Current)
        options -= TMPSynMemoOptions{smoReadOnly};
    else
        options += TMPSynMemoOptions{smoReadOnly};
    MPSyntaxMemo1->SetOptions(options);
    MPSyntaxMemo1->AutoRowLink = true;
    SpeedButton1->SetEnabled(false);
    FFailureShown = false;
    MPSyntaxMemo1->Lines()->EndUpdate();
    FReplacing = false;
}

void TMainForm::ShowSelectedSubprogram() {
    const bool selected = tcProgramm->TabIndex() >= 0;
    const std::string caption = selected ? TabCaption(tcProgramm) : std::string();
    // Every caller applies a pending edit first: one still pending did not assemble, and its text
    // stays in the editor for the user to mend.
    const bool keep =
        SpeedButton1->Enabled() && Config->Current && selected && caption == Config->Current->Name();
    if (!keep)
        ReplaceEditorText([&] {
            MPSyntaxMemo1->Lines()->Clear();
            if (selected)
                Config->SelectSubprogram(MPSyntaxMemo1->Lines(), caption);
            CheckBox2->SetChecked(Config->Current && Config->Current->Flags == kActionAutostart);
        });
    CheckBox2->SetEnabled(Config->Current != nullptr);
    GwStatusBar1->SetSimpleCaption(
        selected ? tcProgramm->GetTabCollection()->GetItem(tcProgramm->TabIndex())->Hint() : std::string());
}

void TMainForm::tcProgrammChange(TObject*) {
    if (tcProgramm->TabIndex() < 0)
        return;
    // A text that does not assemble keeps its subprogram's tab.
    if (!ApplyPending())
        SelectCurrentTab();
    ShowSelectedSubprogram();
}

void TMainForm::SelectCurrentTab() {
    for (int i = 0; i < tcProgramm->TabCount(); ++i)
        if (tcProgramm->Tab(i).Caption == Config->Current->Name()) {
            tcProgramm->SetTabIndex(i);
            return;
        }
}

void TMainForm::mmCreateActionClick(TObject*) {
    fmNewParam->SetCaption("Создать новую подпрограмму...");
    fmNewParam->Label1->SetCaption("Название подпрограммы:");
    fmNewParam->Label1->SetVisible(true);
    fmNewParam->Edit1->SetVisible(true);
    fmNewParam->Edit1->SetText("");
    fmNewParam->Label2->SetVisible(false);
    fmNewParam->Edit2->SetVisible(false);
    fmNewParam->CheckBox1->SetCaption("Автозапуск");
    fmNewParam->CheckBox1->SetVisible(true);
    if (fmNewParam->ShowModal() != mrOk)
        return;
    // The new subprogram is made all the same; a text that did not assemble keeps the editor.
    const bool applied = ApplyPending();
    std::string name = fmNewParam->Edit1->Text();
    if (T_Action* action = Config->CreateSubprogram(name)) {
        action->Caption = name;
        if (applied)
            Config->Current = action;
        if (fmNewParam->CheckBox1->Checked())
            action->Flags = kActionAutostart;
    }
    Config->FillSubprogramTabs(tcProgramm);
    if (tcProgramm->TabIndex() >= 0)
        ShowSelectedSubprogram();
    // A channel's handler may name the id just made.
    gwctObjectListClick(this);
}

void TMainForm::mmMainActionClick(TObject* Sender) {
    auto* templ = reinterpret_cast<TDefaultActItem*>(static_cast<TComponent*>(Sender)->Tag);
    if (T_Action* action = Config->CreateSubprogramWithId(static_cast<uint16_t>(templ->Id))) {
        // Made and described all the same; the user learns why it is empty.
        const std::string path = PluginFolder() + templ->File;
        if (std::string reason; action->LoadActFile(path, &reason) != 0)
            TellNotLoaded(path, reason);
        action->Caption = templ->Name;
    }
    RefreshAllViews(Sender);
}

bool TMainForm::LoadActInto(const std::string& path) {
    std::string reason;
    if (Config->Current->LoadActFile(path, &reason) == 0)
        return true;
    TellNotLoaded(path, reason);
    return false;
}

void TMainForm::mmLoadActionClick(TObject* Sender) {
    if (ActionOpenDialog->Execute() && FileExists(ActionOpenDialog->FileName()) && Config->Current) {
        // The pending text belongs to the old instructions: it goes in first, then the file replaces
        // it, text and all, whether the text assembled or not.
        ApplyPending();
        if (LoadActInto(ActionOpenDialog->FileName()))
            SpeedButton1->SetEnabled(false);
    }
    if (tcProgramm->TabIndex() >= 0)
        tcProgrammChange(Sender);
}

void TMainForm::mmSaveActionClick(TObject*) {
    if (tcProgramm->TabIndex() < 0 || !Config->Current)
        return;
    if (!Config->Current->FilePath.empty())
        ActionSaveDialog->SetFileName(Config->Current->FilePath);
    // The file is to hold the editor's text: one that does not assemble writes nothing.
    if (!ActionSaveDialog->Execute() || !ApplyEdit(true))
        return;
    int error = 0;
    if (Config->Current->SaveActFile(ActionSaveDialog->FileName(), &error) != 0)
        ShowErrorBox(WriteFailureText(ActionSaveDialog->FileName(), error));
}

void TMainForm::mmDeleteActionClick(TObject* Sender) {
    T_Action* action = Config->Current;
    if (!action)
        return;
    if (action->Lock != 0) {
        MessageDlg("Невозможно удалить подпрограмму!", mtConfirmation, TMsgDlgButtons{mbOK});
        return;
    }
    if (MessageDlg("Подпрограмма будет утрачена безвозвратно. Продолжить?", mtConfirmation,
                   TMsgDlgButtons{mbYes, mbCancel}) != mrYes)
        return;
    Config->DeleteSubprogram(action);
    SpeedButton1->SetEnabled(false);
    pcMainPageChange(Sender);
    // Deleted from another page: its tab and text go all the same.
    if (pcMain->ActivePage() != tsProgramm) {
        Config->FillSubprogramTabs(tcProgramm);
        ShowSelectedSubprogram();
    }
    // The Express grid names a channel's handlers: the one deleted is a number now.
    gwctObjectListClick(Sender);
}

void TMainForm::mmActionsClick(TObject*) {
    mmSaveAction->SetEnabled(Config->Current != nullptr);
    mmDeleteAction->SetEnabled(Config->Current != nullptr);
}

void TMainForm::N5Click(TObject*) {
    for (int i = 0; i < N5->Count(); ++i)
        N5->Items(i)->SetEnabled(true);
}

std::vector<std::string> TMainForm::ImportVersion10(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string s;
    while (in >> s) {
        TakeField(s);
        std::string line = s.substr(0, s.find(';') == std::string::npos ? 0 : s.find(';'));
        bool jump = s.find("goto") != std::string::npos;
        TakeField(s);
        if (jump)
            s = "@l:" + s;
        for (int f = 0; f < 4; ++f)
            line += " " + TakeField(s);
        lines.push_back(Trimmed(line));
    }
    return lines;
}

void TMainForm::N101Click(TObject*) {
    // The imported text is applied to the current subprogram; without one it would go nowhere.
    if (!Config->Current || !ActionOpenDialog->Execute() || !FileExists(ActionOpenDialog->FileName()))
        return;
    std::ifstream file(NativePath(ActionOpenDialog->FileName()), std::ios::binary);
    if (!file) {
        TellNotLoaded(ActionOpenDialog->FileName(), SysErrorMessage(unsigned(errno)));
        return;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // A file of another kind would fill the editor with its bytes; the editor keeps its text.
    if (std::string why = TextFileRefusal(text); !why.empty()) {
        TellNotLoaded(ActionOpenDialog->FileName(), why);
        return;
    }
    ReplaceEditorText([&] {
        MPSyntaxMemo1->Lines()->Clear();
        for (const std::string& line : ImportVersion10(text))
            MPSyntaxMemo1->Lines()->Add(line);
    });
    SpeedButton1->SetEnabled(true);
}

void TMainForm::MPSyntaxMemo1Change(TObject*, unsigned ChangedBits) {
    if (!FReplacing && (ChangedBits & 0x9) && Config && Config->Current) {
        SpeedButton1->SetEnabled(true);
        FFailureShown = false;
    }
}

void TMainForm::SpeedButton1Click(TObject*) { ApplyEdit(true); }

bool TMainForm::ApplyPending() { return !SpeedButton1->Enabled() || ApplyEdit(false); }

bool TMainForm::ApplyEdit(bool tell) {
    if (!Config->Current)
        return true;
    try {
        Config->Current->Assemble(*MPSyntaxMemo1->Lines());
    } catch (const Exception& e) {
        // The error names the line; the caret waits on it.
        if (const auto* at = dynamic_cast<const EScriptLine*>(&e))
            MPSyntaxMemo1->GotoLine(0, at->Line);
        if (MPSyntaxMemo1->CanFocus())
            MPSyntaxMemo1->SetFocus();
        // Told as a sentence, the way the application tells an error.
        std::string text = e.Message;
        if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
            text += '.';
        if (tell || !FFailureShown)
            ShowErrorBox(text);
        FFailureShown = true;
        return false;
    }
    SpeedButton1->SetEnabled(false);
    FFailureShown = false;
    return true;
}

void TMainForm::SpeedButton3Click(TObject* Sender) {
    T_Action* action = Config->Current;
    if (!action)
        return;
    if (MessageDlg("Все изменения будут утрачены безвозвратно. Продолжить?", mtConfirmation,
                   TMsgDlgButtons{mbYes, mbCancel}) != mrYes)
        return;
    // The text comes back from the file it was last loaded from; one that no longer
    // loads says why, and the subprogram stays as last applied.
    if (!action->FilePath.empty())
        LoadActInto(action->FilePath);
    SpeedButton1->SetEnabled(false);
    tcProgrammChange(Sender);
    if (Config->Current)
        Config->Current->Assemble(*MPSyntaxMemo1->Lines());
}

void TMainForm::CheckBox2Click(TObject*) {
    if (FReplacing || !Config || !Config->Current)
        return;
    SpeedButton1->SetEnabled(true);
    Config->Current->Flags = CheckBox2->Checked() ? kActionAutostart : 0;
}

void TMainForm::MPSyntaxMemo1ParseWord(const std::string& Word, uint16_t& Token) {
    int at = 0;
    if (InstructionWords && InstructionWords->Find(Word, at))
        Token = 255;
    else if (FunctionWords && FunctionWords->Find(Word, at))
        Token = 254;
}

void TMainForm::GwStatusBar1Resize(TObject*) {
    SpeedButton1->SetLeft(GwStatusBar1->Width() - SpeedButton1->Width() - 5);
    SpeedButton2->SetLeft(SpeedButton1->Left() - SpeedButton2->Width() - 5);
    SpeedButton3->SetLeft(SpeedButton2->Left() - SpeedButton3->Width() - 5);
    CheckBox2->SetLeft(SpeedButton3->Left() - CheckBox2->Width() - 5);
}
