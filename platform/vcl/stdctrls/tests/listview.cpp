// List view: the LVM_ messages against the items and columns, sorting against a plain sort,
// selection, check boxes and header clicks from Qt input raised as LVN_ notifications and events,
// and the custom-drawn cell in pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include <QTreeWidget>

#include "core_support.h"
#include "handle.h"
#include "listview.h"
#include "stdctrls_qt.h"
#include "winapi.h"

namespace {

struct TRow {
    const char* Caption;
    std::vector<std::string> Sub;
};
const TRow Rows[] = {{"Счётчик", {"Меркурий", "12"}},
                     {"адаптер", {"", "3"}},
                     {"Реле", {"Сириус", ""}},
                     {"Блок", {"Орион", "7"}}};

class ListView : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 220);
        L = new TListView(Form);
        L->SetParent(Form);
        L->SetViewStyle(vsReport);
        L->SetBounds(0, 0, 360, 200);
        for (auto [text, width] : {std::pair{"Имя", 80}, {"Тип", 60}, {"Значение", 100}}) {
            TListColumn* c = L->Columns()->Add();
            c->SetCaption(text);
            c->SetWidth(width);
        }
        for (const TRow& r : Rows) {
            TListItem* it = L->Items()->Add();
            it->SetCaption(r.Caption);
            for (const std::string& s : r.Sub)
                it->SubItems()->Add(s);
        }
        Form->Show();
        auto chained = L->WindowProc;
        L->WindowProc = [this, chained](TMessage& m) {
            if (m.Msg == CN_NOTIFY) {
                auto* nm = reinterpret_cast<TNMListView*>(m.LParam);
                if (nm->hdr.code == LVN_ITEMCHANGED || nm->hdr.code == LVN_ITEMCHANGING ||
                    nm->hdr.code == LVN_COLUMNCLICK)
                    Notes.push_back(
                        {nm->hdr.code, nm->hdr.code == LVN_COLUMNCLICK ? nm->iSubItem : nm->iItem});
            }
            chained(m);
        };
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    QTreeWidget* Qt() const { return WidgetAs<QTreeWidget>(L); }
    // A client point of the list view as a point of Qt's row area.
    QPoint ToView(TPoint p) const { return Qt()->viewport()->mapFrom(ClientWidget(L), QPoint(p.x, p.y)); }
    void ClickAt(TPoint p) { Click(Qt()->viewport(), ToView(p).x(), ToView(p).y()); }
    TPoint CentreOf(const TRect& r) const { return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> v;
        for (int i = 0; i < L->Items()->Count(); ++i)
            v.push_back(L->Items()->Item(i)->Caption());
        return v;
    }
    std::vector<std::string> QtCaptions() const {
        std::vector<std::string> v;
        for (int i = 0; i < Qt()->topLevelItemCount(); ++i)
            v.push_back(FromQString(Qt()->topLevelItem(i)->text(0)));
        return v;
    }
    TForm* Form = nullptr;
    TListView* L = nullptr;
    std::vector<std::pair<int, int>> Notes; // code, item (or column)
};

// Every list-view message of the control's table, sent for an index no item or column has and with
// no data, is refused or answered without touching the items and columns: only the message that
// empties the list empties it.
TEST_F(ListView, EveryMessageOfTheTableTakesNoDataSafely) {
    const std::vector<UINT> own = TCustomListView::OwnMessages();
    ASSERT_NE(std::find(own.begin(), own.end(), UINT(LVM_GETITEMA)), own.end());
    for (UINT msg : own) {
        if (msg < LVM_FIRST || msg >= LVM_FIRST + 0x100)
            continue;
        SCOPED_TRACE(msg);
        TListView v(Form);
        v.SetParent(Form);
        v.SetViewStyle(vsReport);
        v.Columns()->Add()->SetCaption("Имя");
        for (const TRow& r : Rows)
            v.Items()->Add()->SetCaption(r.Caption);
        EXPECT_NO_THROW(v.Perform(msg, WPARAM(-2), 0));
        EXPECT_EQ(v.Items()->Count(), msg == LVM_DELETEALLITEMS ? 0 : 4);
        ASSERT_EQ(v.Columns()->Count(), 1);
        EXPECT_EQ(v.Columns()->Items(0)->Caption(), "Имя");
        if (v.Items()->Count()) {
            EXPECT_EQ(v.Items()->Item(3)->Caption(), "Блок");
        }
    }
}

TEST_F(ListView, MessagesReadAndWriteItemsAndColumns) {
    EXPECT_EQ(L->Perform(LVM_GETITEMCOUNT), 4);
    EXPECT_EQ(L->Perform(LVM_GETCOLUMNWIDTH, 2), 100);
    TLVItem item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 2;
    item.iSubItem = 1;
    ASSERT_EQ(L->Perform(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(item.Text, "Сириус");
    EXPECT_EQ(item.lParam, reinterpret_cast<LPARAM>(L->Items()->Item(2)));
    // A sub-item beyond the ones given grows the list.
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.iSubItem = 3;
    item.Text = "нов";
    ASSERT_EQ(L->Perform(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(L->Items()->Item(1)->SubItems()->Count(), 3);
    EXPECT_EQ(L->Items()->Item(1)->SubItems()->Get(2), "нов");

    // Columns set by message show in the header window the list view names.
    TLVColumn col;
    col.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_FMT;
    col.cx = 90;
    col.Text = "Вид";
    col.fmt = LVCFMT_RIGHT;
    ASSERT_EQ(L->Perform(LVM_SETCOLUMNA, 1, reinterpret_cast<LPARAM>(&col)), 1);
    EXPECT_EQ(L->Columns()->Items(1)->Width(), 90);
    EXPECT_EQ(L->Columns()->Items(1)->Alignment(), taRightJustify);
    auto* header =
        dynamic_cast<THeaderControl*>(FindControl(reinterpret_cast<HWND>(L->Perform(LVM_GETHEADER))));
    ASSERT_NE(header, nullptr);
    THDItem h;
    h.Mask = HDI_TEXT | HDI_WIDTH;
    ASSERT_EQ(header->Perform(HDM_GETITEM, 1, reinterpret_cast<LPARAM>(&h)), 1);
    EXPECT_EQ(h.Text, "Вид");
    EXPECT_EQ(h.cxy, 90);
    EXPECT_EQ(Qt()->columnWidth(1), 90);
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.Text = "Код";
    col.cx = 40;
    EXPECT_EQ(L->Perform(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col)), 0);
    EXPECT_EQ(header->Sections()->Count(), 4);
    EXPECT_EQ(header->Sections()->Items(0)->Text(), "Код");
    EXPECT_EQ(FromQString(Qt()->topLevelItem(0)->text(1)), "Меркурий"); // texts stay in their column order
    EXPECT_EQ(L->Perform(LVM_DELETECOLUMN, 0), 1);
    EXPECT_EQ(header->Sections()->Count(), 3);

    // State by message: selection and focus, then the search for selected items.
    TLVItem state;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    L->SetMultiSelect(true);
    L->Perform(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    state.stateMask = LVIS_SELECTED;
    L->Perform(LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(L->Perform(LVM_GETSELECTEDCOUNT), 2);
    EXPECT_EQ(L->Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(L->Perform(LVM_GETNEXTITEM, 1, LVNI_SELECTED), 3);
    EXPECT_EQ(L->Perform(LVM_GETNEXTITEM, 3, LVNI_SELECTED), -1);
    EXPECT_EQ(L->Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 1);
    EXPECT_EQ(L->Perform(LVM_GETITEMSTATE, 1, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(Qt()->topLevelItem(3)->isSelected());
    EXPECT_EQ(Qt()->currentItem(), Qt()->topLevelItem(1));

    // Geometry: a sub-item's cell starts where the columns before it end; hit tests find the row.
    TRect r(LVIR_BOUNDS, 2, 0, 0);
    ASSERT_EQ(L->Perform(LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.Left, 80 + 90);
    EXPECT_EQ(r.Width(), 100);
    TLVHitTestInfo hit;
    hit.pt = TPoint(r.Left + 5, r.Top + 2);
    EXPECT_EQ(L->Perform(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
    hit.pt = TPoint(5, 190);
    EXPECT_EQ(L->Perform(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, LVHT_NOWHERE);
    EXPECT_EQ(L->Perform(LVM_DELETEITEM, 0), 1);
    EXPECT_EQ(QtCaptions(), (std::vector<std::string>{"адаптер", "Реле", "Блок"}));
}

// The comparison a column sort uses: case-insensitive, empty texts after all others ascending.
int ByColumn(LPARAM a, LPARAM b, LPARAM column) {
    auto text = [&](LPARAM p) {
        auto* it = reinterpret_cast<TListItem*>(p);
        if (column == 0)
            return it->Caption();
        return column <= it->SubItems()->Count() ? it->SubItems()->Get(int(column) - 1) : std::string();
    };
    std::string s1 = text(a), s2 = text(b);
    int r = AnsiCompareText(s1, s2);
    if (r > 0 && s2.empty())
        return -1;
    if (r < 0 && s1.empty())
        return 1;
    return r;
}
int ByColumnDescending(LPARAM a, LPARAM b, LPARAM column) { return -ByColumn(a, b, column); }

struct TSortCase {
    const char* Name;
    TLVCompare Proc;
    LPARAM Column;
    std::vector<std::string> Expected;
};

void PrintTo(const TSortCase& c, std::ostream* os) { *os << c.Name; }

class ListViewSort : public ListView, public ::testing::WithParamInterface<TSortCase> {};

// Our order, Qt's rows and the selection all follow the sort.
TEST_P(ListViewSort, OrdersItemsAndKeepsTheSelection) {
    const TSortCase& c = GetParam();
    TListItem* chosen = L->Items()->Item(2);
    L->SetSelected(chosen);
    if (c.Proc)
        EXPECT_TRUE(L->CustomSort(c.Proc, c.Column));
    else
        EXPECT_TRUE(L->AlphaSort());
    EXPECT_EQ(Captions(), c.Expected);
    EXPECT_EQ(QtCaptions(), c.Expected);
    EXPECT_EQ(L->Selected(), chosen);
    EXPECT_EQ(Qt()->currentItem(), Qt()->topLevelItem(chosen->Index()));
    EXPECT_TRUE(Qt()->topLevelItem(chosen->Index())->isSelected());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListViewSort,
    ::testing::Values(
        TSortCase{"AlphaByCaption", nullptr, 0, {"адаптер", "Блок", "Реле", "Счётчик"}},
        TSortCase{"TypeAscendingEmptyLast", ByColumn, 1, {"Счётчик", "Блок", "Реле", "адаптер"}},
        TSortCase{"TypeDescendingEmptyFirst", ByColumnDescending, 1, {"адаптер", "Реле", "Блок", "Счётчик"}},
        TSortCase{"ValueAscendingEmptyLast", ByColumn, 2, {"Счётчик", "адаптер", "Блок", "Реле"}}),
    [](const ::testing::TestParamInfo<TSortCase>& i) { return std::string(i.param.Name); });

TEST_F(ListView, ClicksSelectRowsAndAHandlerCanRefuse) {
    std::vector<std::pair<std::string, bool>> selects;
    L->OnSelectItem = [&](TObject*, TListItem* it, bool sel) { selects.push_back({it->Caption(), sel}); };
    TListItem* locked = L->Items()->Item(1);
    L->OnChanging = [&](TObject*, TListItem* it, TItemChange change, bool& allow) {
        if (it == locked && change == ctState)
            allow = false;
    };
    ClickAt(CentreOf(L->Items()->Item(2)->DisplayRect(drLabel)));
    EXPECT_EQ(L->Selected(), L->Items()->Item(2));
    EXPECT_EQ(L->ItemFocused(), L->Items()->Item(2));
    ClickAt(CentreOf(L->Items()->Item(0)->DisplayRect(drBounds)));
    EXPECT_EQ(selects, (std::vector<std::pair<std::string, bool>>{
                           {"Реле", true}, {"Реле", false}, {"Счётчик", true}}));
    // The old row lets go before the new one is asked: a refusal leaves nothing selected, in Qt too.
    ClickAt(CentreOf(locked->DisplayRect(drLabel)));
    EXPECT_FALSE(locked->Selected());
    EXPECT_EQ(L->Selected(), nullptr);
    EXPECT_TRUE(Qt()->selectedItems().isEmpty());
    EXPECT_TRUE(InOrder(
        Notes, {{LVN_ITEMCHANGING, 2}, {LVN_ITEMCHANGED, 2}, {LVN_ITEMCHANGED, 0}, {LVN_ITEMCHANGING, 1}}));
    EXPECT_EQ(Notes.back().first, LVN_ITEMCHANGING); // the refused change is never reported as made
}

TEST_F(ListView, CheckBoxClicksAskFirst) {
    L->SetCheckboxes(true);
    bool refuse = false;
    int changes = 0;
    L->OnChanging = [&](TObject*, TListItem*, TItemChange, bool& allow) { allow = !refuse; };
    L->OnChange = [&](TObject*, TListItem*, TItemChange c) { changes += c == ctState; };
    TListItem* it = L->Items()->Item(1);
    TRect row = it->DisplayRect(drBounds);
    TPoint box(row.Left, (row.Top + row.Bottom) / 2);
    for (int x = row.Left; x < row.Left + 30; ++x)
        if (L->GetHitTestInfoAt(x, box.y) == LVHT_ONITEMSTATEICON) {
            box.x = x;
            break;
        }
    ASSERT_EQ(L->GetHitTestInfoAt(box.x, box.y), LVHT_ONITEMSTATEICON);
    ClickAt(box);
    EXPECT_TRUE(it->Checked());
    EXPECT_EQ(L->Perform(LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    refuse = true;
    ClickAt(box);
    EXPECT_TRUE(it->Checked());
    EXPECT_EQ(Qt()->topLevelItem(1)->checkState(0), Qt::Checked);
    refuse = false;
    it->SetChecked(false);
    EXPECT_EQ(Qt()->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_GE(changes, 2);
}

TEST_F(ListView, HeaderClicksAndDividerDragsReachTheColumns) {
    std::vector<int> clicked;
    L->OnColumnClick = [&](TObject*, TListColumn* c) { clicked.push_back(c->Index()); };
    QWidget* header = HandleWidget(L->Header());
    Click(header, 100, 8);
    L->ColumnClick = false;
    Click(header, 20, 8);
    L->ColumnClick = true;
    Click(header, 200, 8);
    EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
    EXPECT_TRUE(InOrder(Notes, {{LVN_COLUMNCLICK, 1}, {LVN_COLUMNCLICK, 2}}));

    SendMouse(header, QEvent::MouseButtonPress, 80, 8);
    SendMouse(header, QEvent::MouseMove, 120, 8, Qt::NoButton, Qt::LeftButton);
    SendMouse(header, QEvent::MouseButtonRelease, 120, 8);
    EXPECT_EQ(L->Columns()->Items(0)->Width(), 120);
    EXPECT_EQ(Qt()->columnWidth(0), 120);
    EXPECT_EQ(L->Items()->Item(0)->DisplayRect(drBounds).Left, 0);
    TRect cell(LVIR_BOUNDS, 1, 0, 0);
    L->Perform(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.Left, 120);
}

TEST_F(ListView, CustomDrawnCellTakesTheHandlersColours) {
    L->OnCustomDrawSubItem = [](TCustomListView* Sender, TListItem*, int SubItem, TCustomDrawState, bool&) {
        if (SubItem == 2)
            Sender->Canvas()->Brush()->SetColor(clLime);
    };
    TRect value(LVIR_BOUNDS, 2, 0, 0), type(LVIR_BOUNDS, 1, 0, 0);
    L->Perform(LVM_GETSUBITEMRECT, 3, reinterpret_cast<LPARAM>(&value));
    L->Perform(LVM_GETSUBITEMRECT, 3, reinterpret_cast<LPARAM>(&type));
    QImage img = ClientWidget(L)->grab().toImage();
    EXPECT_EQ(Pixel(img, value.Right - 3, value.Top + 2), clLime);
    EXPECT_NE(Pixel(img, type.Right - 3, type.Top + 2), clLime);
}

} // namespace
