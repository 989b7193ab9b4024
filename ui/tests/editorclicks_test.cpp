// The in-place editors of the main window's grids under the user's mouse: one click on a cell opens
// its editor, however the edit before it ended, and what the user then types is stored.
#include <gtest/gtest.h>

#include <algorithm>

#include "Configmanager.h"
#include "Umain.h"
#include "Uprogram.h"
#include "Userobject.h"
#include "inputkit.h"
#include "mainwindow_fixture.h"
#include "stdctrls.h"
#include "timers.h"

namespace {

using namespace inputkit;

enum class TBoxClose { Enter, Ok };

// Message boxes as the user meets them: a modal window with one default button "ОК", which the user
// closes with Enter or a click on the button once it shows.
struct TUserBoxes : TDialogService {
    TBoxClose Close = TBoxClose::Ok;
    std::vector<std::string> Shown;
    int MessageBox(const std::string& Text, const std::string&, UINT) override {
        Shown.push_back(Text);
        TForm box(nullptr);
        box.SetBounds(200, 200, 240, 100);
        auto* ok = new ::TButton(&box);
        ok->SetParent(&box);
        ok->SetBounds(80, 40, 80, 24);
        ok->SetCaption("ОК");
        ok->SetDefault(true);
        ok->ModalResult = mrOk;
        box.SetActiveControl(ok);
        TTimer user(&box);
        user.SetInterval(1);
        user.OnTimer = [&](TObject*) {
            user.SetEnabled(false);
            if (Close == TBoxClose::Enter)
                PressToFocus(Key::Return);
            else
                Click(ok, ok->Width() / 2, ok->Height() / 2);
        };
        box.ShowModal();
        return IDOK;
    }
    int MessageDlg(const std::string& Msg, TMsgDlgType, TMsgDlgButtons) override {
        Shown.push_back(Msg);
        return mrOk;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

using TGridOf = TGwStringGrid* TMainForm::*;

// A grid that edits in place: two rows with typed editors, and what the cases type into them.
struct TGridCase {
    const char* name;
    TGridOf grid;
    TGridOf partner; // the other grid of its page
    int typed;
    const char* before; // typed first, and ended as the case ends it
    const char* fits;   // typed after the click, and the row's text then
    const char* shown;
    int other;
    const char* fitsOther;
    const char* shownOther;
    int plain;           // a row without an editor; -1: none
    const char* refused; // typed first instead of `before`, refused with one message
};

// How the edit before the click ends, and where the click then goes.
enum class TEnd { Tab, Enter, Click, OtherGrid, RowWithoutEditor, RefusedBoxEnter, RefusedBoxOk };

struct TClickCase {
    const TGridCase* grid;
    TEnd end;
};

const char* EndName(TEnd e) {
    switch (e) {
    case TEnd::Tab: return "TabThenTheSameCell";
    case TEnd::Enter: return "EnterThenAnotherCell";
    case TEnd::Click: return "ClickOnAnotherCell";
    case TEnd::OtherGrid: return "ClickInTheOtherGrid";
    case TEnd::RowWithoutEditor: return "ClickOnARowWithoutEditorThenAnotherCell";
    case TEnd::RefusedBoxEnter: return "RefusedBoxClosedWithEnter";
    case TEnd::RefusedBoxOk: return "RefusedBoxClosedWithOk";
    }
    return "";
}

// The Radon channel's set points read in thousandths of a metre, 0.000 to 65.535. Its value takes no
// typing (a measured value): the row keeps showing it.
const TGridCase kGrids[] = {
    {"ObjectProperties", &TMainForm::gwsgObjectProperty, &TMainForm::gwsgObjectCommand, 4, "2", "3", "3", 2,
     "ABC", "ABC", 0, "300"},
    {"ObjectCommands", &TMainForm::gwsgObjectCommand, &TMainForm::gwsgObjectProperty, 2, "5", "7", "7", 3,
     "8", "8", 1, "70000"},
    {"ChannelMain", &TMainForm::gwsgMainParamProperties, &TMainForm::gwsgSpecParamProperties, 7, "3", "25",
     "25", 4, "7", "255", 0, "300"},
    {"ChannelSetpoints", &TMainForm::gwsgSpecParamProperties, &TMainForm::gwsgMainParamProperties, 0, "1",
     "25", "25.000 M", 1, "30", "30.000 M", -1, "70"},
    {"ExpressMain", &TMainForm::gwsgMainParamPropertiesExpress, &TMainForm::gwsgSpecParamPropertiesExpress, 7,
     "3", "25", "25", 4, "7", "255", 0, "300"},
    {"ExpressSetpoints", &TMainForm::gwsgSpecParamPropertiesExpress,
     &TMainForm::gwsgMainParamPropertiesExpress, 0, "1", "25", "25.000 M", 1, "30", "30.000 M", -1, "70"},
};

const TGridCase& CaseOf(TGridOf grid) {
    return *std::find_if(std::begin(kGrids), std::end(kGrids),
                         [grid](const TGridCase& c) { return c.grid == grid; });
}

std::vector<TClickCase> AllClickCases() {
    std::vector<TClickCase> out;
    for (const TGridCase& g : kGrids)
        for (TEnd e : {TEnd::Tab, TEnd::Enter, TEnd::Click, TEnd::OtherGrid, TEnd::RowWithoutEditor,
                       TEnd::RefusedBoxEnter, TEnd::RefusedBoxOk})
            if (e != TEnd::RowWithoutEditor || g.plain >= 0)
                out.push_back({&g, e});
    return out;
}

void PrintTo(const TClickCase& c, std::ostream* os) { *os << c.grid->name << "_" << EndName(c.end); }

constexpr int kUserObject = 1;
constexpr int kRadonRitz = 36; // its measured channel has two typed set points and a typed value

class EditorClicks : public TMainWindowTest<TUserBoxes> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        ShowAtDefaultSize();
        ProcessEvents();
        user = static_cast<TUserObjItem*>(m->Config->AddObject(kUserObject));
        user->ApplyCommandCount("1");
        user->ApplySelectedCommandItem(1);
        TObjectItem* radon = m->Config->AddObject(kRadonRitz);
        ELEMList signals;
        radon->ListSignalParams(&signals, true);
        ASSERT_NE(signals.Oldest, nullptr);
        channel = static_cast<TParamItemP*>(signals.Oldest)->Item;
        radon->BindParam(1, 1, channel);
        while (ELEM* e = signals.Newest) {
            signals.Remove(e);
            delete e;
        }
        m->RefreshAllViews(m);

        ShowPageOf(m->gwlbObjectList);
        int line = 0;
        for (ELEM* e = m->ObjectSnapshot.Oldest; e && static_cast<TObjectItemP*>(e)->Item != user;
             e = e->Newer)
            ++line;
        TRect r = m->gwlbObjectList->ItemRect(line);
        Click(m->gwlbObjectList, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        ASSERT_EQ(m->SelectedObject(m->gwlbObjectList), user);
        ShowPageOf(m->gwsgParamList);
        ClickCell(m->gwsgParamList, 1, 1);
        ASSERT_EQ(m->gwsgMainParamProperties->Cells(1, 1), channel->Name);
        SelectChannelNode();
        // The plug-in folder holds none of the Radon object's subprograms; each said so.
        dialogs.Shown.clear();
    }

    // The channel's node in the Express tree, clicked; the page shown again rebuilds the tree.
    void SelectChannelNode() {
        ShowPageOf(m->gwctObjectList);
        for (TTreeNode* n = m->gwctObjectList->Items()->GetFirstNode(); n; n = n->GetNext())
            if (n->Data == channel) {
                n->Parent()->Expand(false);
                TRect r = n->DisplayRect(true);
                Click(m->gwctObjectList, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            }
        ASSERT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, 1), channel->Name);
    }
    // Shows the pages that hold c, the outermost first, by clicks on their tabs.
    void ShowPageOf(TControl* c) {
        std::vector<TGwTabSheet*> sheets;
        for (TWinControl* p = c->Parent(); p; p = p->Parent())
            if (auto* s = dynamic_cast<TGwTabSheet*>(p))
                sheets.insert(sheets.begin(), s);
        for (TGwTabSheet* s : sheets) {
            TGwPageControl* pages = s->PageControl();
            TRect r = pages->TabRect(s->TabIndex());
            Click(pages, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            ASSERT_EQ(pages->ActivePage(), s);
        }
    }
    static void ClickCell(TGwStringGrid* g, int col, int row) {
        TRect r = g->CellRect(col, row);
        Click(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // The editor shown over the value cell of `row`, when it has the focus.
    static TWinControl* FocusedEditorAt(TGwStringGrid* g, int row) {
        for (int i = 0; i < g->ControlCount(); ++i) {
            auto* host = dynamic_cast<TPanel*>(g->Controls(i));
            if (!host || !host->Visible() || host->BoundsRect() != g->CellRect(1, row) ||
                host->ControlCount() != 1)
                continue;
            auto* editor = dynamic_cast<TWinControl*>(host->Controls(0));
            if (editor && editor->Visible() && editor->Focused())
                return editor;
        }
        return nullptr;
    }
    static void TypeOver(const std::string& text) {
        PressToFocus('A', Ctrl);
        TypeToFocus(text);
    }

    TUserObjItem* user = nullptr;
    TParamItem* channel = nullptr;
};

// The cases above cover every grid of the window in which a click on a value cell opens an editor.
TEST_F(EditorClicks, EveryGridThatEditsInPlaceHasItsCases) {
    int editing = 0;
    for (int i = 0; i < m->ComponentCount(); ++i) {
        auto* g = dynamic_cast<TGwStringGrid*>(m->Components(i));
        if (!g)
            continue;
        SelectChannelNode();
        ShowPageOf(g);
        bool edits = false;
        for (int r = g->FixedRows(); r < g->RowCount() && !edits; ++r) {
            ClickCell(g, 1, r);
            for (int k = 0; k < g->ControlCount(); ++k)
                if (auto* host = dynamic_cast<TPanel*>(g->Controls(k)))
                    edits = edits || (host->Visible() && host->ControlCount() == 1);
        }
        const bool listed = std::any_of(std::begin(kGrids), std::end(kGrids),
                                        [&](const TGridCase& c) { return m->*c.grid == g; });
        EXPECT_EQ(edits, listed) << "grid " << i << " " << g->Name();
        editing += edits;
    }
    EXPECT_EQ(editing, int(std::size(kGrids)));
}

class EditorClick : public EditorClicks, public ::testing::WithParamInterface<TClickCase> {};

// After the edit ends, one click on a value cell opens that cell's editor with the focus, and what
// the user types there and ends with Enter is stored; a refused edit shows its one message and puts
// its row back.
TEST_P(EditorClick, OneClickOpensTheCellsEditor) {
    const TGridCase& c = *GetParam().grid;
    const TEnd end = GetParam().end;
    TGwStringGrid* g = m->*c.grid;
    ShowPageOf(g);
    const std::string opening = g->Cells(1, c.typed);
    ClickCell(g, 1, c.typed);
    ASSERT_NE(FocusedEditorAt(g, c.typed), nullptr) << "the first click";

    const bool refused = end == TEnd::RefusedBoxEnter || end == TEnd::RefusedBoxOk;
    dialogs.Close = end == TEnd::RefusedBoxEnter ? TBoxClose::Enter : TBoxClose::Ok;
    TypeOver(refused ? c.refused : c.before);
    TGwStringGrid* target = g;
    const TGridCase* into = &c;
    int row = c.other;
    switch (end) {
    case TEnd::Tab:
        PressToFocus(Key::Tab);
        row = c.typed;
        break;
    case TEnd::Enter: PressToFocus(Key::Return); break;
    case TEnd::OtherGrid:
        into = &CaseOf(c.partner);
        target = m->*c.partner;
        row = into->typed;
        break;
    case TEnd::RowWithoutEditor:
        PressToFocus(Key::Tab);
        ProcessEvents();
        ClickCell(g, 1, c.plain);
        EXPECT_EQ(g->ControlCount(), 0) << "a host left behind by the row without an editor";
        break;
    default: break;
    }
    ClickCell(target, 1, row);
    EXPECT_EQ(dialogs.Shown.size(), refused ? 1u : 0u);
    if (refused) {
        EXPECT_EQ(g->Cells(1, c.typed), opening) << "the refused row";
    }
    ASSERT_NE(FocusedEditorAt(target, row), nullptr) << "the click after the edit";

    const bool same = row == into->typed;
    TypeOver(same ? into->fits : into->fitsOther);
    PressToFocus(Key::Return);
    PressToFocus(Key::Tab); // the row shows what is stored once its editor closes
    ProcessEvents();
    EXPECT_EQ(target->Cells(1, row), same ? into->shown : into->shownOther);
    EXPECT_EQ(dialogs.Shown.size(), refused ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EditorClick, ::testing::ValuesIn(AllClickCases()),
                         [](const ::testing::TestParamInfo<TClickCase>& i) {
                             return std::string(i.param.grid->name) + "_" + EndName(i.param.end);
                         });

} // namespace
