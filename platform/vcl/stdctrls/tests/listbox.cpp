// List box and owner-draw combo box: the LB_ messages as a table, owner-drawn rows as painted,
// the user's selection against selection from code, and the combo box's drop-down notifications.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>

#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "inputkit.h"
#include "stdctrls.h"
#include "wingdi.h"

namespace {

class ListBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 240);
        List = new TListBox(Form);
        List->SetParent(Form);
        List->SetBounds(10, 10, 150, 120);
        for (const char* s : {"alpha", "beta", "gamma", "delta"})
            List->Items()->Add(s);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    QListWidget* Native() { return ClientWidget(List)->findChild<QListWidget*>(); }
    TForm* Form = nullptr;
    TListBox* List = nullptr;
};

struct LbCase {
    const char* Name;
    UINT Msg;
    WPARAM W;
    LPARAM L;
    LRESULT Result;
    int CountAfter;
};

TEST_F(ListBoxes, MessagesAnswerAsAWindowsListBox) {
    static const char gam[] = "GAM", beta[] = "beta", zeta[] = "zeta", omega[] = "omega";
    const LbCase cases[] = {
        {"count", LB_GETCOUNT, 0, 0, 4, 4},
        {"find prefix any case", LB_FINDSTRING, WPARAM(-1), LPARAM(gam), 2, 4},
        {"find exact after it wraps", LB_FINDSTRINGEXACT, 3, LPARAM(beta), 1, 4},
        {"find nothing", LB_FINDSTRING, WPARAM(-1), LPARAM(zeta), LB_ERR, 4},
        {"add at the end", LB_ADDSTRING, 0, LPARAM(omega), 4, 5},
        {"insert at", LB_INSERTSTRING, 1, LPARAM(zeta), 1, 6},
        {"delete returns the count left", LB_DELETESTRING, 0, 0, 5, 5},
        {"delete past the end", LB_DELETESTRING, 9, 0, LB_ERR, 5},
        {"text length", LB_GETTEXTLEN, 0, 0, 4, 5},
        {"select", LB_SETCURSEL, 2, 0, 2, 5},
        {"selected", LB_GETCURSEL, 0, 0, 2, 5},
        {"caret", LB_GETCARETINDEX, 0, 0, 2, 5},
        {"set caret", LB_SETCARETINDEX, 3, 0, 0, 5},
        {"item data", LB_SETITEMDATA, 1, 77, 0, 5},
        {"item data back", LB_GETITEMDATA, 1, 0, 77, 5},
        {"item height", LB_SETITEMHEIGHT, 0, 20, 0, 5},
        {"item height back", LB_GETITEMHEIGHT, 0, 0, 20, 5},
        {"horizontal extent", LB_SETHORIZONTALEXTENT, 400, 0, 0, 5},
        {"horizontal extent back", LB_GETHORIZONTALEXTENT, 0, 0, 400, 5},
        {"multi-select only", LB_SETSEL, 1, 0, LB_ERR, 5},
        {"reset", LB_RESETCONTENT, 0, 0, 0, 0},
    };
    for (const LbCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(List->Perform(c.Msg, c.W, c.L), c.Result);
        EXPECT_EQ(List->Items()->Count(), c.CountAfter);
    }
    EXPECT_EQ(List->ItemIndex(), -1);
}

// Every list-box message of the control's table, sent for an index no item has and with no data,
// is refused or answered without a crash: the items stay, but for the two that add an empty one
// and the one that empties the list.
TEST_F(ListBoxes, EveryMessageOfTheTableTakesNoDataSafely) {
    const std::vector<UINT> own = TCustomListBox::OwnMessages();
    ASSERT_NE(std::find(own.begin(), own.end(), UINT(LB_GETTEXT)), own.end());
    for (UINT msg : own) {
        if (msg < LB_ADDSTRING || msg > LB_ITEMFROMPOINT)
            continue;
        SCOPED_TRACE(msg);
        TListBox box(Form);
        box.SetParent(Form);
        for (const char* s : {"alpha", "beta", "gamma", "delta"})
            box.Items()->Add(s);
        EXPECT_NO_THROW(box.Perform(msg, WPARAM(-2), 0));
        const bool adds = msg == LB_ADDSTRING || msg == LB_INSERTSTRING;
        EXPECT_EQ(box.Items()->Count(), msg == LB_RESETCONTENT ? 0 : adds ? 5 : 4);
        if (box.Items()->Count()) {
            EXPECT_EQ(box.Items()->Get(0), "alpha");
            EXPECT_EQ(box.Items()->Get(3), "delta");
        }
    }
}

TEST_F(ListBoxes, MultiSelectionMessagesAndGeometry) {
    Form->Show();
    List->SetMultiSelect(true);
    EXPECT_EQ(List->Perform(LB_SETSEL, 1, -1), 0);
    EXPECT_EQ(List->Perform(LB_GETSELCOUNT, 0, 0), 4);
    List->Perform(LB_SETSEL, 0, 2);
    EXPECT_EQ(List->SelCount(), 3);
    EXPECT_FALSE(List->Selected(2));
    EXPECT_EQ(List->Perform(LB_GETCURSEL, 0, 0), LB_ERR);
    List->SetItemHeight(18);
    TRect r;
    EXPECT_EQ(List->Perform(LB_GETITEMRECT, 2, LPARAM(&r)), 1);
    EXPECT_EQ(r.Height(), 18);
    EXPECT_EQ(List->ItemAtPos(TPoint(r.Left + 5, r.Top + 3), true), 2);
    EXPECT_EQ(List->Perform(LB_ITEMFROMPOINT, 0, MAKELPARAM(r.Left + 5, r.Top + 3)), 2);
    EXPECT_EQ(List->ItemAtPos(TPoint(r.Left + 5, r.Top + 18 * 3), true), -1);
    EXPECT_EQ(List->ItemAtPos(TPoint(r.Left + 5, r.Top + 18 * 3), false), 4);
}

TEST_F(ListBoxes, UserClickRaisesOnClickButSelectionFromCodeStaysSilent) {
    Form->Show();
    int clicks = 0;
    List->OnClick = [&](TObject*) { ++clicks; };
    List->SetItemIndex(1);
    List->Perform(LB_SETCURSEL, 2, 0);
    EXPECT_EQ(clicks, 0);
    TRect r = List->ItemRect(3);
    QWidget* vp = Native()->viewport();
    QPoint at = vp->mapFrom(ClientWidget(List), QPoint(r.Left + 4, r.Top + 4));
    QMouseEvent down(QEvent::MouseButtonPress, at, vp->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(vp, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, vp->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(vp, &up);
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ListBoxes, OwnerDrawVariableRowsArePaintedAndSizedByTheEvents) {
    List->OnMeasureItem = [](TWinControl*, int i, int& h) { h = i == 1 ? 30 : 12; };
    List->SetStyle(lbOwnerDrawVariable);
    std::vector<int> drawn;
    List->OnDrawItem = [&](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
        drawn.push_back(i);
        TCanvas* cv = static_cast<TListBox*>(c)->Canvas();
        cv->Brush()->SetColor(s.Contains(odSelected) ? clRed : i == 1 ? clBlue : clLime);
        cv->FillRect(r);
    };
    Form->Show();
    List->SetItemIndex(2);
    EXPECT_EQ(List->ItemRect(1).Height(), 30);
    EXPECT_EQ(List->ItemRect(0).Height(), 12);
    QImage img = Native()->viewport()->grab().toImage();
    EXPECT_FALSE(drawn.empty());
    // Rows stack at 0, 12, 42: lime, blue, then the selected row in red.
    EXPECT_EQ(PixelAt(img, 20, 5), clLime);
    EXPECT_EQ(PixelAt(img, 20, 25), clBlue);
    EXPECT_EQ(PixelAt(img, 20, 47), clRed);
}

TEST_F(ListBoxes, TabStopsPlaceTheColumnsOfAStandardRow) {
    List->Items()->Clear();
    List->Items()->Add("a\tb");
    int stops[] = {60};
    List->Perform(LB_SETTABSTOPS, 1, LPARAM(stops));
    Form->Show();
    QImage img = Native()->viewport()->grab().toImage();
    // The "b" starts at the stop: 60 dialog units are 15 average characters (inside the focus frame).
    TRect ink = InkBox(img.copy(10, 2, img.width() - 20, 10), clWhite);
    TBitmap probe;
    probe.Canvas()->SetFont(List->Font());
    int base = probe.Canvas()->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
    EXPECT_GE(ink.Left + 10, 2 + 60 * base / 4);
    EXPECT_LE(ink.Left + 10, 2 + 60 * base / 4 + 2);
}

TEST_F(ListBoxes, OwnerDrawComboPaintsItsClosedFieldThroughDrawItem) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    combo->SetBounds(10, 150, 120, 24);
    combo->SetStyle(csOwnerDrawFixed);
    combo->Items()->Add("green");
    combo->SetItemIndex(0);
    TOwnerDrawState seen;
    combo->OnDrawItem = [&](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
        if (!s.Contains(odComboBoxEdit))
            return;
        seen = s;
        TCanvas* cv = static_cast<TComboBox*>(c)->Canvas();
        cv->Brush()->SetColor(i == 0 ? clLime : clRed);
        cv->FillRect(r);
    };
    Form->Show();
    QImage img = ClientWidget(combo)->findChild<QComboBox*>()->grab().toImage();
    EXPECT_EQ(PixelAt(img, 20, img.height() / 2), clLime);
    EXPECT_TRUE(seen.Contains(odComboBoxEdit));
}

TEST_F(ListBoxes, ComboDropDownNotificationsAndDroppedWidth) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    combo->SetStyle(csOwnerDrawFixed);
    for (const char* s : {"one", "two"})
        combo->Items()->Add(s);
    std::vector<std::string> log;
    combo->OnDropDown = [&](TObject*) { log.push_back("drop"); };
    combo->OnCloseUp = [&](TObject*) { log.push_back("close"); };
    auto old = combo->WindowProc;
    combo->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == CN_COMMAND && (m.WParamHi() == CBN_SELENDOK || m.WParamHi() == CBN_SELENDCANCEL))
            log.push_back(m.WParamHi() == CBN_SELENDOK ? "ok" : "cancel");
        old(m);
    };
    Form->Show();
    EXPECT_EQ(combo->Perform(CB_SETDROPPEDWIDTH, 250, 0), 250);
    combo->SetDroppedDown(true);
    EXPECT_GE(ClientWidget(combo)->findChild<QComboBox*>()->view()->width(), 250);
    combo->SetDroppedDown(false);
    Application->ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"drop", "cancel", "close"}));
}

struct DropCase {
    const char* Name;
    TComboBoxStyle Style;
    int DropDownCount; // 0: the default
    int Rows;          // rows the dropped list shows
};
void PrintTo(const DropCase& c, std::ostream* os) { *os << c.Name; }
class ComboDropDown : public ListBoxes, public ::testing::WithParamInterface<DropCase> {};

// The user's click drops a list of DropDownCount rows (8 unless set) just below the box, whatever
// the style of the box and however many items it holds.
TEST_P(ComboDropDown, ShowsDropDownCountRowsBelowTheBox) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    combo->SetBounds(10, 140, 150, 24);
    combo->SetStyle(GetParam().Style);
    if (GetParam().DropDownCount)
        combo->SetDropDownCount(GetParam().DropDownCount);
    for (int i = 1; i <= 255; ++i)
        combo->Items()->Add("COM" + IntToStr(i));
    Form->Show();
    inputkit::Click(combo, combo->Width() - 8, combo->Height() / 2);
    QComboBox* native = ClientWidget(combo)->findChild<QComboBox*>();
    QAbstractItemView* view = native->view();
    ASSERT_TRUE(view->isVisible());
    int rows = 0;
    for (int i = 0; i < native->count(); ++i)
        rows += view->viewport()->rect().contains(view->visualRect(view->model()->index(i, 0))) ? 1 : 0;
    EXPECT_EQ(rows, GetParam().Rows);
    // Below the box: at most its last pixel line is covered.
    QWidget* popup = view->window();
    EXPECT_GE(popup->geometry().top(), native->mapToGlobal(QPoint(0, native->height() - 1)).y());
    combo->SetDroppedDown(false);
}

INSTANTIATE_TEST_SUITE_P(ListBoxes, ComboDropDown,
                         ::testing::Values(DropCase{"ListOnly", csDropDownList, 0, 8},
                                           DropCase{"Editable", csDropDown, 0, 8},
                                           DropCase{"ListOnlyTwelve", csDropDownList, 12, 12}),
                         [](const ::testing::TestParamInfo<DropCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
