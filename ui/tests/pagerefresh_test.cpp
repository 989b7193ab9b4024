// The main window's pages after the configuration changes under them (a new base, an open of a
// good, damaged or text file, an object or subprogram deleted): each page shows only what the
// configuration now holds. Every act is the user's: menu clicks, list and tab clicks, typing.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "Configmanager.h"
#include "Dockform.h"
#include "Gwbars.h"
#include "Objectstore.h"
#include "Uprogram.h"
#include "Umain.h"
#include "UnitSyntaxMemo.h"
#include "actions.h"
#include "inputkit.h"
#include "mainwindow_fixture.h"
#include "sysutils.h"

namespace {

using namespace inputkit;

// File dialogs take the next queued name ("" cancels); message dialogs answer Yes.
struct QueuedDialogs : TDialogService {
    std::deque<std::string> Files;
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrYes; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>& files) override {
        std::string f = Files.empty() ? "" : Files.front();
        if (!Files.empty())
            Files.pop_front();
        if (f.empty())
            return false;
        files = {f};
        return true;
    }
};

constexpr int kQbx530 = 7; // seven signal inputs; its plug-in subprograms are missing here

// What a page must no longer show after the act.
enum TCheck : unsigned {
    kScript = 1,
    kObject = 2,
    kChannel = 4,
    kExpress = 8,
    kHandler = 16,
    kMessages = 32
};

enum class TAct { New, OpenGood, OpenDamaged, OpenText, DeleteObject, DeleteSubprogram };

struct TStaleCase {
    const char* name;
    TAct act;
    bool fromProgramPage; // else the act is chosen while the object page is shown
    unsigned checks;
};
void PrintTo(const TStaleCase& c, std::ostream* os) { *os << c.name; }

class PageRefresh : public TMainWindowTest<QueuedDialogs>, public ::testing::WithParamInterface<TStaleCase> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        ShowAtDefaultSize();
        ProcessEvents();
    }

    // A configuration whose object, bound channel and subprogram the pages then show.
    void FillAndShowEveryPage() {
        m->Config->AddObject(kQbx530);
        auto* object = static_cast<TObjectItem*>(m->Config->Objects.Oldest);
        ELEMList signals;
        object->ListSignalParams(&signals, true);
        ASSERT_GE(signals.Count, 2u);
        TParamItem* first = static_cast<TParamItemP*>(signals.Oldest)->Item;
        shownChannel = static_cast<TParamItemP*>(signals.Oldest->Newer)->Item;
        object->BindParam(1, 1, first);
        object->BindParam(1, 2, shownChannel);
        while (ELEM* e = signals.Newest) {
            signals.Remove(e);
            delete e;
        }
        T_Action* script = m->Config->CreateSubprogram("stale");
        TStringList text;
        text.Add("push 7");
        ASSERT_TRUE(script->Assemble(text));
        first->WriteHandler = script->Id();
        m->RefreshAllViews(m);

        ClickPage(m->tsObjectControl);
        Click(m->gwlbObjectList, 10, 9);
        ASSERT_FALSE(m->gwsgObjectProperty->Cells(0, 0).empty());

        ClickPage(m->tsChannelControlExpress);
        TTreeNode* root = m->gwctObjectList->Items()->GetFirstNode();
        ASSERT_NE(root, nullptr);
        TRect r = root->DisplayRect(true);
        Click(m->gwctObjectList, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        Press(m->gwctObjectList, Key::Right); // opens the object's node
        Press(m->gwctObjectList, Key::Down);
        ASSERT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, 1), first->Name);
        ASSERT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, kWriteHandlerRow), "stale");
        handler = first->WriteHandler;

        ClickPage(m->tsParamControl);
        TRect cell = m->gwsgParamList->CellRect(1, 2);
        Click(m->gwsgParamList, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        ASSERT_EQ(m->gwsgMainParamProperties->Cells(1, 1), shownChannel->Name);

        ClickPage(m->tsProgramm);
        int stale = 0;
        while (stale < m->tcProgramm->TabCount() && m->tcProgramm->Tab(stale).Caption != "stale")
            ++stale;
        TRect tab = m->tcProgramm->TabRect(stale);
        Click(m->tcProgramm, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
        ASSERT_EQ(EditorText(), "push 7");
        ASSERT_FALSE(m->GwStatusBar1->SimpleCaption().empty());
    }

    void ClickPage(TGwTabSheet* sheet) {
        TRect r = m->pcMain->TabRect(sheet->TabIndex());
        Click(m->pcMain, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        ASSERT_EQ(m->pcMain->ActivePage(), sheet);
    }
    void ChooseInMenu(const std::string& title, const std::string& item) {
        ChooseInNextMenu(item);
        ClickMenuBar(m, title);
        ProcessEvents();
    }
    std::string EditorText() {
        std::string out;
        for (int i = 0; i < m->MPSyntaxMemo1->Lines()->Count(); ++i)
            out += (i ? "|" : "") + m->MPSyntaxMemo1->Lines()->Get(i);
        return out;
    }
    // A configuration saved apart: another object and subprogram than the window's.
    std::string SavedBase() {
        std::string path = dir.File("other.cdb");
        configmanager other;
        other.AddObject(1);
        other.CreateSubprogram("other");
        EXPECT_TRUE(other.SaveDatabase(path));
        return path;
    }
    void Act(TAct act) {
        switch (act) {
        case TAct::New:
            dialogs.Files = {dir.File("new.cdb")};
            ChooseInMenu("&Файл", "Новая База");
            break;
        case TAct::OpenGood:
            dialogs.Files = {SavedBase()};
            ChooseInMenu("&Файл", "&Открыть");
            break;
        case TAct::OpenDamaged: {
            std::string path = SavedBase();
            std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(600);
            f << std::string(2000, '\xA5');
            f.close();
            dialogs.Files = {path};
            ChooseInMenu("&Файл", "&Открыть");
            break;
        }
        case TAct::OpenText: {
            std::string path = dir.File("notes.cdb");
            std::ofstream(path) << "not a base\n";
            dialogs.Files = {path};
            ChooseInMenu("&Файл", "&Открыть");
            break;
        }
        case TAct::DeleteObject: ChooseInMenu("Объекты", "Удалить Объект"); break;
        case TAct::DeleteSubprogram: ChooseInMenu("Подпрограммы", "Удалить"); break;
        }
    }

    static constexpr int kWriteHandlerRow = 5;
    TParamItem* shownChannel = nullptr;
    uint16_t handler = 0;
};

// Each page after the act: the script editor empty and deaf to typing, the object grids empty,
// the channel grid's properties those of the row it shows selected, the Express grids empty.
TEST_P(PageRefresh, ShowsNothingOfWhatIsGone) {
    const TStaleCase& c = GetParam();
    FillAndShowEveryPage();
    if (HasFatalFailure())
        return;
    if (!c.fromProgramPage) {
        // The object's poll period in its in-place editor, open when the act comes.
        ClickPage(m->tsObjectControl);
        ASSERT_EQ(m->gwsgObjectProperty->Cells(0, 1), "Период опроса");
        TRect cell = m->gwsgObjectProperty->CellRect(1, 1);
        Click(m->gwsgObjectProperty, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        ASSERT_EQ(m->gwsgObjectProperty->ControlCount(), 1);
    }
    if (c.checks & kMessages) {
        ChooseInMenu("&Файл", "Проверка Конфигурации");
        ASSERT_GT(DockableForm->MessageMemo->Lines()->Count(), 0) << "the check found nothing to report";
    }
    Act(c.act);
    ASSERT_TRUE(dialogs.Files.empty()) << "the act's dialog did not open";

    if (c.checks & kScript) {
        EXPECT_EQ(m->Config->Current, nullptr);
        EXPECT_EQ(EditorText(), "");
        EXPECT_EQ(m->GwStatusBar1->SimpleCaption(), "");
        EXPECT_FALSE(m->SpeedButton1->Enabled());
        if (c.fromProgramPage) {
            Click(m->MPSyntaxMemo1, 60, 10);
            Type(m->MPSyntaxMemo1, "ret");
            EXPECT_EQ(EditorText(), "") << "typing with no subprogram to take it";
            EXPECT_FALSE(m->SpeedButton1->Enabled());
        }
    }
    if (c.checks & kObject) {
        for (TGwStringGrid* g : {m->gwsgObjectProperty, m->gwsgObjectCommand}) {
            EXPECT_EQ(g->ControlCount(), 0) << "an editor left open";
            for (int r = 0; r < g->RowCount(); ++r)
                EXPECT_EQ(g->Cells(0, r) + g->Cells(1, r), "") << "row " << r;
        }
    }
    if (c.checks & kChannel) {
        TGridRect sel = m->gwsgParamList->Selection();
        TParamItem* listed = m->ChannelOfRow(sel.Top);
        EXPECT_NE(listed, shownChannel);
        std::string want =
            listed ? IntToStr(listed->ChannelType) + ":" + IntToStr(listed->ChannelIndex) + "|" + listed->Name
                   : "|";
        EXPECT_EQ(m->gwsgMainParamProperties->Cells(1, 0) + "|" + m->gwsgMainParamProperties->Cells(1, 1),
                  want);
    }
    if (c.checks & kExpress) {
        for (int r = 0; r < m->gwsgMainParamPropertiesExpress->RowCount(); ++r)
            EXPECT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, r), "") << "row " << r;
        EXPECT_EQ(m->gwsgSpecParamPropertiesExpress->Cells(1, 0), "");
    }
    if (c.checks & kHandler) {
        EXPECT_NE(m->gwsgMainParamPropertiesExpress->Cells(1, kWriteHandlerRow), "stale");
        EXPECT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, kWriteHandlerRow),
                  m->Config->GetSubprogramName(handler));
    }
    if (c.checks & kMessages) {
        EXPECT_EQ(DockableForm->MessageMemo->Lines()->Count(), 0) << "messages of the configuration dropped";
    }
}

constexpr unsigned kEverything = kScript | kObject | kChannel | kExpress;
constexpr unsigned kSubprogramGone = kScript | kHandler;

INSTANTIATE_TEST_SUITE_P(
    MainWindow, PageRefresh,
    ::testing::Values(TStaleCase{"New", TAct::New, true, kEverything | kMessages},
                      TStaleCase{"OpenGood", TAct::OpenGood, true, kEverything},
                      TStaleCase{"OpenDamaged", TAct::OpenDamaged, true, kEverything},
                      TStaleCase{"OpenText", TAct::OpenText, true, kEverything},
                      TStaleCase{"NewFromObjectPage", TAct::New, false, kEverything | kMessages},
                      TStaleCase{"DeleteObject", TAct::DeleteObject, false, kObject | kChannel | kExpress},
                      TStaleCase{"DeleteSubprogram", TAct::DeleteSubprogram, true, kSubprogramGone},
                      TStaleCase{"DeleteSubprogramFromObjectPage", TAct::DeleteSubprogram, false,
                                 kSubprogramGone}),
    [](const ::testing::TestParamInfo<TStaleCase>& i) { return std::string(i.param.name); });

class ChannelPage : public TMainWindowTest<QueuedDialogs> {};

// The grid keeps a row selected whenever it lists channels; that row's properties are shown
// without a click, when the page opens and after the list is refilled.
TEST_F(ChannelPage, ShowsThePropertiesOfTheRowItSelects) {
    ShowAtDefaultSize();
    TParamItem* first = m->Config->NewChannel(3, 1);
    first->Name = "первый";
    m->Config->NewChannel(3, 2)->Name = "второй";
    TRect tab = m->pcMain->TabRect(m->tsParamControl->TabIndex());
    Click(m->pcMain, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
    ASSERT_EQ(m->pcMain->ActivePage(), m->tsParamControl);

    struct Step {
        const char* type;
        const char* shown; // register and name
    } steps[] = {{"1", "|"}, {"3", "3:1|первый"}, {"7", "|"}, {"3", "3:1|первый"}};
    for (const Step& s : steps) {
        TRect box = m->gwneParamType->ClientRect();
        Click(m->gwneParamType, box.Right / 3, box.Bottom / 2);
        Press(m->gwneParamType, Key::End);
        Press(m->gwneParamType, Key::Backspace);
        Type(m->gwneParamType, s.type);
        EXPECT_EQ(m->gwsgMainParamProperties->Cells(1, 0) + "|" + m->gwsgMainParamProperties->Cells(1, 1),
                  s.shown)
            << "type " << s.type;
    }
}

} // namespace
