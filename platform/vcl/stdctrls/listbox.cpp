// TListBox over QListWidget: items kept by the box and mirrored in the widget, every row painted
// through DrawItem on the control's canvas (standard rows too, so tab stops and owner-draw look
// alike), the LB_ messages answered, the user's selection and double click reported as LBN_
// notifications. GUI core.
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <cstring>

#include "forms.h"
#include "handle.h"
#include "stdctrls.h"
#include "stdctrls_qt.h"
#include "sysutils.h"

static QListWidget* List(const TCustomListBox* c) { return WidgetAs<QListWidget>(c); }
// The list, made now if it was not yet (a request its kept items cannot answer).
static QListWidget* ListNeeded(const TCustomListBox* c) {
    const_cast<TCustomListBox*>(c)->WidgetNeeded();
    return List(c);
}

namespace {

// Rows painted and sized by the control's callbacks.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    using TDraw = std::function<void(int, TRect, TOwnerDrawState)>;
    using TMeasure = std::function<QSize(int, QSize)>;
    TOwnerDrawDelegate(QObject* parent, TWinControl* control, TCanvas* canvas, TDraw draw, TMeasure measure)
        : QStyledItemDelegate(parent), FControl(control), FCanvas(canvas), FDraw(std::move(draw)),
          FMeasure(std::move(measure)) {}
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        TOwnerDrawState state;
        if (o.state & QStyle::State_Selected)
            state << odSelected;
        if (o.state & QStyle::State_HasFocus)
            state << odFocused;
        if (!(o.state & QStyle::State_Enabled))
            state << odDisabled;
        bool selected = state.Contains(odSelected);
        FCanvas->SetFont(FControl->Font());
        FCanvas->Brush()->SetColor(selected ? clHighlight : FControl->Color());
        FCanvas->Font()->SetColor(selected ? clHighlightText : FControl->Font()->Color());
        p->save();
        BindPainter(FCanvas, p);
        TMessageBoundary::Run(FControl, [&] {
            FDraw(i.row(), TRect(o.rect.left(), o.rect.top(), o.rect.right() + 1, o.rect.bottom() + 1),
                  state);
        });
        BindPainter(FCanvas, nullptr);
        p->restore();
    }
    // A combo box's variable rows ask OnMeasureItem from Qt's layout.
    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        QSize size = QStyledItemDelegate::sizeHint(o, i);
        TMessageBoundary::Run(FControl, [&] { size = FMeasure(i.row(), size); });
        return size;
    }

private:
    TWinControl* FControl;
    TCanvas* FCanvas;
    TDraw FDraw;
    TMeasure FMeasure;
};

// Text with tabs: each tab moves to the next stop (dialog units; every 32 when none are set).
void TabbedText(TCanvas* c, int x, int y, const std::string& s, const std::vector<int>& stops) {
    int base = std::max(1, c->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52);
    auto stopPx = [&](int k) { return (k < int(stops.size()) ? stops[size_t(k)] : 32 * (k + 1)) * base / 4; };
    size_t from = 0;
    int tab = 0, pos = 0;
    for (;;) {
        size_t t = s.find('\t', from);
        std::string piece = s.substr(from, t == std::string::npos ? std::string::npos : t - from);
        c->TextOut(x + pos, y, piece);
        if (t == std::string::npos)
            return;
        pos += c->TextWidth(piece);
        while (stopPx(tab) <= pos && tab < 1000)
            ++tab;
        pos = stopPx(tab);
        from = t + 1;
    }
}

} // namespace

QAbstractItemDelegate* TOwnerDrawQt::ForList(TCustomListBox* l, QObject* parent) {
    return new TOwnerDrawDelegate(
        parent, l, l->Canvas(), [l](int i, TRect r, TOwnerDrawState s) { l->DrawItem(i, r, s); },
        [l](int i, QSize base) {
            // A variable row keeps the height measured when it was added.
            QListWidgetItem* it = List(l)->item(i);
            int h = l->FStyle == lbOwnerDrawVariable && it && it->sizeHint().isValid()
                        ? it->sizeHint().height()
                        : l->FItemHeight;
            return QSize(std::max(base.width(), l->FHorizontalExtent), h);
        });
}

QAbstractItemDelegate* TOwnerDrawQt::ForCombo(TCustomComboBox* c, QObject* parent) {
    return new TOwnerDrawDelegate(
        parent, c, c->Canvas(), [c](int i, TRect r, TOwnerDrawState s) { c->DrawItem(i, r, s); },
        [c](int i, QSize base) {
            int h = c->FItemHeight;
            if (c->FStyle == csOwnerDrawVariable)
                c->MeasureItem(i, h);
            return QSize(base.width(), h);
        });
}

// ---- TCustomListBox ------------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(std::make_unique<TListBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

// The list with the items added before; nothing is chosen yet, as in a list made at once that was
// only filled.
void TCustomListBox::CreateWidget() {
    auto* l = new QListWidget;
    // The border is the window's own (WS_EX_CLIENTEDGE), drawn in the frame as for an edit.
    l->setFrameShape(QFrame::NoFrame);
    l->setUniformItemSizes(FStyle != lbOwnerDrawVariable);
    l->setItemDelegate(TOwnerDrawQt::ForList(this, l));
    for (const auto& row : FRows)
        new QListWidgetItem(ToQString(row.first), l);
    SetWidget(this, l);
    // Only the user's acts raise events: selection from code runs with FSyncing set.
    QObject::connect(l, &QListWidget::itemSelectionChanged, [this] {
        if (!FSyncing)
            Notify(LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) { Notify(LBN_DBLCLK); });
    UpdateSelectionMode();
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    Params.Style |= LBS_NOTIFY | LBS_USETABSTOPS;
    if (Ctl3D())
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
    if (FMultiSelect)
        Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FStyle != lbStandard)
        Params.Style |= FStyle == lbOwnerDrawFixed ? LBS_OWNERDRAWFIXED : LBS_OWNERDRAWVARIABLE;
}

// Windows measures a variable row once, when it is added; a new style measures every row again.
void TCustomListBox::SetStyle(TListBoxStyle v) {
    // Variable rows are measured as they are added: the list is made for them.
    if (!WidgetMade() && v != lbOwnerDrawVariable) {
        FStyle = v;
        return;
    }
    WidgetNeeded();
    FStyle = v;
    List(this)->setUniformItemSizes(v != lbOwnerDrawVariable);
    for (int i = 0; i < FItems->Count(); ++i)
        Measure(i);
    List(this)->doItemsLayout();
}

void TCustomListBox::Measure(int Index) {
    if (FStyle != lbOwnerDrawVariable)
        return;
    int h = FItemHeight;
    MeasureItem(Index, h);
    List(this)->item(Index)->setSizeHint(QSize(0, std::max(1, h)));
}

void TCustomListBox::UpdateSelectionMode() {
    if (!WidgetMade())
        return;
    List(this)->setSelectionMode(!FMultiSelect     ? QAbstractItemView::SingleSelection
                                 : FExtendedSelect ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::MultiSelection);
}

void TCustomListBox::SetMultiSelect(bool v) {
    FMultiSelect = v;
    UpdateSelectionMode();
}

void TCustomListBox::SetExtendedSelect(bool v) {
    FExtendedSelect = v;
    UpdateSelectionMode();
}

int TCustomListBox::ItemIndex() const {
    if (!WidgetMade())
        return -1;
    QListWidget* l = List(this);
    int row = l->currentRow();
    if (FMultiSelect || row < 0)
        return row;
    return l->item(row)->isSelected() ? row : -1;
}

void TCustomListBox::SetItemIndex(int v) {
    if (v < -1 || v >= FItems->Count())
        v = -1;
    // Nothing is chosen in a list not made yet.
    if (v < 0 && !WidgetMade())
        return;
    QListWidget* l = ListNeeded(this);
    FSyncing = true;
    if (FMultiSelect)
        l->setCurrentRow(v, QItemSelectionModel::NoUpdate);
    else if (v < 0) {
        l->clearSelection();
        l->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    } else
        l->setCurrentRow(v, QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
}

bool TCustomListBox::Selected(int Index) const {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return WidgetMade() && List(this)->item(Index)->isSelected();
}

void TCustomListBox::SetSelected(int Index, bool v) {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    if (!v && !WidgetMade())
        return;
    WidgetNeeded();
    FSyncing = true;
    if (!FMultiSelect && v)
        List(this)->setCurrentRow(Index, QItemSelectionModel::ClearAndSelect);
    else
        List(this)->item(Index)->setSelected(v);
    FSyncing = false;
}

int TCustomListBox::SelCount() const {
    return !FMultiSelect ? -1 : WidgetMade() ? int(List(this)->selectedItems().size()) : 0;
}

void TCustomListBox::SetItemHeight(int v) {
    if (v <= 0)
        return;
    FItemHeight = v;
    if (WidgetMade())
        List(this)->doItemsLayout();
}

int TCustomListBox::TopIndex() const {
    QModelIndex i = ListNeeded(this)->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void TCustomListBox::SetTopIndex(int v) {
    if (QListWidgetItem* it = ListNeeded(this)->item(v))
        List(this)->scrollToItem(it, QAbstractItemView::PositionAtTop);
}

void TCustomListBox::SetSorted(bool v) {
    if (v == FSorted)
        return;
    FSorted = v;
    if (v)
        FItems->Assign(FItems.get());
}

TRect TCustomListBox::ItemRect(int Index) const {
    QListWidget* l = ListNeeded(this);
    QListWidgetItem* it = l->item(Index);
    if (!it)
        return TRect();
    QRect r = l->visualItemRect(it);
    QWidget* client = ClientWidget(const_cast<TCustomListBox*>(this));
    QPoint o = client ? l->viewport()->mapTo(client, r.topLeft()) : r.topLeft();
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    QListWidget* l = ListNeeded(this);
    QWidget* client = ClientWidget(const_cast<TCustomListBox*>(this));
    QPoint p = client ? l->viewport()->mapFrom(client, QPoint(Pos.x, Pos.y)) : QPoint(Pos.x, Pos.y);
    QModelIndex i = l->viewport()->rect().contains(p) ? l->indexAt(p) : QModelIndex();
    return i.isValid() ? i.row() : Existing ? -1 : l->count();
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem && FStyle != lbStandard) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count())
        TabbedText(FCanvas.get(), Rect.Left + 2, Rect.Top, FItems->Get(Index), FTabStops);
    if (State.Contains(odFocused))
        FCanvas->DrawFocusRect(Rect);
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

int TCustomListBox::FindString(const std::string& s, int after, bool exact) const {
    int n = FItems->Count();
    for (int k = 0; k < n; ++k) {
        int i = ((after + 1 + k) % n + n) % n;
        std::string item = FItems->Get(i);
        if (exact ? AnsiSameText(item, s) : AnsiSameText(item.substr(0, s.size()), s))
            return i;
    }
    return LB_ERR;
}

// One handler per message (or per pair that shares its work), and the table that names them;
// Dispatch looks a message up here and hands the rest to the native control.
struct TCustomListBox::TMessageTable {
    using M = TMessage;
    using V = TCustomListBox;
    struct TRow {
        UINT Msg;
        void (*Run)(V& v, M& m);
    };
    static const TRow Rows[];

    static int Index(const M& m) { return int(m.WParam); }
    // WParam names no item.
    static bool Bad(V& v, const M& m) { return Index(m) < 0 || Index(m) >= v.FItems->Count(); }
    static std::string Str(const M& m) {
        return m.LParam ? std::string(reinterpret_cast<const char*>(m.LParam)) : std::string();
    }

    static void GetDlgCode(V&, M& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }
    static void Command(V& v, M& m) {
        if (m.WParamHi() == LBN_SELCHANGE)
            v.Click();
        else if (m.WParamHi() == LBN_DBLCLK)
            v.DblClick();
    }
    static void AddString(V& v, M& m) { m.Result = v.FItems->Add(Str(m)); }
    static void InsertString(V& v, M& m) {
        const int count = v.FItems->Count();
        int at = Index(m) < 0 ? count : Index(m);
        if (at > count) {
            m.Result = LB_ERR;
            return;
        }
        v.FItems->Insert(at, Str(m));
        m.Result = at;
    }
    static void DeleteString(V& v, M& m) {
        const bool bad = Bad(v, m);
        if (!bad)
            v.FItems->Delete(Index(m));
        m.Result = bad ? LB_ERR : v.FItems->Count();
    }
    static void ResetContent(V& v, M&) { v.FItems->Clear(); }
    static void GetCount(V& v, M& m) { m.Result = v.FItems->Count(); }
    static void GetTextLen(V& v, M& m) {
        m.Result = Bad(v, m) ? LRESULT(LB_ERR) : LRESULT(v.FItems->Get(Index(m)).size());
    }
    static void GetText(V& v, M& m) {
        if (Bad(v, m) || !m.LParam) {
            m.Result = LB_ERR;
            return;
        }
        std::string s = v.FItems->Get(Index(m));
        std::memcpy(reinterpret_cast<char*>(m.LParam), s.c_str(), s.size() + 1);
        m.Result = LRESULT(s.size());
    }
    static void GetCurSel(V& v, M& m) { m.Result = v.FMultiSelect ? LB_ERR : v.ItemIndex(); }
    static void SetCurSel(V& v, M& m) {
        if (v.FMultiSelect) {
            m.Result = LB_ERR;
            return;
        }
        v.SetItemIndex(Index(m));
        m.Result = Bad(v, m) ? LB_ERR : Index(m);
    }
    static void GetSel(V& v, M& m) { m.Result = Bad(v, m) ? LB_ERR : v.Selected(Index(m)) ? 1 : 0; }
    // The item in LParam; -1 is every item.
    static void SetSel(V& v, M& m) {
        const int item = int(m.LParam), count = v.FItems->Count();
        if (!v.FMultiSelect || item < -1 || item >= count) {
            m.Result = LB_ERR;
            return;
        }
        for (int i = item < 0 ? 0 : item; i < (item < 0 ? count : item + 1); ++i)
            v.SetSelected(i, m.WParam != 0);
    }
    static void GetSelCount(V& v, M& m) { m.Result = v.FMultiSelect ? v.SelCount() : LB_ERR; }
    // LB_FINDSTRING and LB_FINDSTRINGEXACT.
    static void FindString(V& v, M& m) {
        m.Result = v.FindString(Str(m), Index(m), m.Msg == LB_FINDSTRINGEXACT);
    }
    static void GetItemData(V& v, M& m) {
        m.Result = Bad(v, m) ? LRESULT(LB_ERR) : reinterpret_cast<LRESULT>(v.FItems->GetObject(Index(m)));
    }
    static void SetItemData(V& v, M& m) {
        const bool bad = Bad(v, m);
        if (!bad)
            v.FItems->PutObject(Index(m), reinterpret_cast<TObject*>(m.LParam));
        m.Result = bad ? LB_ERR : 0;
    }
    static void SetTabStops(V& v, M& m) {
        auto* stops = reinterpret_cast<const int*>(m.LParam);
        v.FTabStops.assign(stops, stops ? stops + Index(m) : stops);
        if (v.WidgetMade())
            List(&v)->viewport()->update();
        m.Result = 1;
    }
    static void GetHorizontalExtent(V& v, M& m) { m.Result = v.FHorizontalExtent; }
    static void SetHorizontalExtent(V& v, M& m) {
        v.FHorizontalExtent = Index(m);
        if (v.WidgetMade())
            List(&v)->doItemsLayout();
    }
    static void GetCaretIndex(V& v, M& m) { m.Result = v.WidgetMade() ? List(&v)->currentRow() : -1; }
    static void SetCaretIndex(V& v, M& m) {
        if (Bad(v, m)) {
            m.Result = LB_ERR;
            return;
        }
        v.FSyncing = true;
        ListNeeded(&v)->setCurrentRow(Index(m), v.FMultiSelect ? QItemSelectionModel::NoUpdate
                                                               : QItemSelectionModel::ClearAndSelect);
        v.FSyncing = false;
    }
    static void GetItemHeight(V& v, M& m) { m.Result = v.FItemHeight; }
    static void SetItemHeight(V& v, M& m) { v.SetItemHeight(int(m.LParamLo())); }
    static void GetTopIndex(V& v, M& m) { m.Result = v.TopIndex(); }
    static void SetTopIndex(V& v, M& m) {
        v.SetTopIndex(Index(m));
        m.Result = Bad(v, m) ? LB_ERR : 0;
    }
    static void GetItemRect(V& v, M& m) {
        if (Bad(v, m) || !m.LParam) {
            m.Result = LB_ERR;
            return;
        }
        *reinterpret_cast<TRect*>(m.LParam) = v.ItemRect(Index(m));
        m.Result = 1;
    }
    static void ItemFromPoint(V& v, M& m) {
        int i = v.ItemAtPos(TPoint(short(m.LParamLo()), short(m.LParamHi())), true);
        m.Result = i < 0 ? MAKELRESULT(std::max(v.FItems->Count() - 1, 0), 1) : MAKELRESULT(i, 0);
    }
};

const TCustomListBox::TMessageTable::TRow TCustomListBox::TMessageTable::Rows[] = {
    {WM_GETDLGCODE, GetDlgCode},
    {CN_COMMAND, Command},
    {LB_ADDSTRING, AddString},
    {LB_INSERTSTRING, InsertString},
    {LB_DELETESTRING, DeleteString},
    {LB_RESETCONTENT, ResetContent},
    {LB_GETCOUNT, GetCount},
    {LB_GETTEXTLEN, GetTextLen},
    {LB_GETTEXT, GetText},
    {LB_GETCURSEL, GetCurSel},
    {LB_SETCURSEL, SetCurSel},
    {LB_GETSEL, GetSel},
    {LB_SETSEL, SetSel},
    {LB_GETSELCOUNT, GetSelCount},
    {LB_FINDSTRING, FindString},
    {LB_FINDSTRINGEXACT, FindString},
    {LB_GETITEMDATA, GetItemData},
    {LB_SETITEMDATA, SetItemData},
    {LB_SETTABSTOPS, SetTabStops},
    {LB_GETHORIZONTALEXTENT, GetHorizontalExtent},
    {LB_SETHORIZONTALEXTENT, SetHorizontalExtent},
    {LB_GETCARETINDEX, GetCaretIndex},
    {LB_SETCARETINDEX, SetCaretIndex},
    {LB_GETITEMHEIGHT, GetItemHeight},
    {LB_SETITEMHEIGHT, SetItemHeight},
    {LB_GETTOPINDEX, GetTopIndex},
    {LB_SETTOPINDEX, SetTopIndex},
    {LB_GETITEMRECT, GetItemRect},
    {LB_ITEMFROMPOINT, ItemFromPoint},
};

std::vector<UINT> TCustomListBox::OwnMessages() {
    std::vector<UINT> v;
    for (const auto& row : TMessageTable::Rows)
        v.push_back(row.Msg);
    return v;
}

void TCustomListBox::Dispatch(TMessage& Message) {
    for (const auto& row : TMessageTable::Rows)
        if (row.Msg == Message.Msg) {
            row.Run(*this, Message);
            return;
        }
    TNativeControl::Dispatch(Message);
}

// ---- TItemStrings --------------------------------------------------------------------------------

void TItemStrings::CheckIndex(int Index, int Count) const {
    if (Index < 0 || Index >= Count)
        Error("List index out of bounds (%d)", Index);
}

std::string TItemStrings::Get(int Index) const {
    CheckIndex(Index, GetCount());
    return FRows[size_t(Index)].first;
}

void TItemStrings::Put(int Index, const std::string& S) {
    CheckIndex(Index, GetCount());
    FRows[size_t(Index)].first = AsStored(S);
    RowPut(Index);
}

TObject* TItemStrings::GetObject(int Index) const {
    CheckIndex(Index, GetCount());
    return FRows[size_t(Index)].second;
}

void TItemStrings::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index, GetCount());
    FRows[size_t(Index)].second = AObject;
}

int TItemStrings::GetCount() const { return int(FRows.size()); }

void TItemStrings::Clear() {
    FRows.clear();
    RowsCleared();
}

void TItemStrings::Delete(int Index) {
    CheckIndex(Index, GetCount());
    FRows.erase(FRows.begin() + Index);
    RowDeleted(Index);
}

void TItemStrings::Insert(int Index, const std::string& S) {
    CheckIndex(Index, GetCount() + 1);
    FRows.insert(FRows.begin() + Index, {AsStored(S), nullptr});
    RowInserted(Index);
}

int TItemStrings::Add(const std::string& S) {
    int at = GetCount();
    if (Sorted()) {
        at = 0;
        while (at < GetCount() && AnsiCompareText(Get(at), S) <= 0)
            ++at;
    }
    Insert(at, S);
    return at;
}

// ---- TListBoxStrings -----------------------------------------------------------------------------

// The items are the box's own; the list, once made, shows their texts.
TListBoxStrings::TListBoxStrings(TCustomListBox* list) : TItemStrings(list->FRows), FList(list) {}

bool TListBoxStrings::Sorted() const { return FList->Sorted(); }

void TListBoxStrings::RowPut(int Index) {
    if (FList->WidgetMade())
        List(FList)->item(Index)->setText(ToQString(FRows[size_t(Index)].first));
}

void TListBoxStrings::RowsCleared() {
    if (FList->WidgetMade()) {
        QListWidget* l = List(FList);
        FList->FSyncing = true;
        l->clear();
        FList->FSyncing = false;
    }
}

void TListBoxStrings::RowDeleted(int Index) {
    if (FList->WidgetMade()) {
        QListWidget* l = List(FList);
        FList->FSyncing = true;
        delete l->takeItem(Index);
        FList->FSyncing = false;
    }
}

void TListBoxStrings::RowInserted(int Index) {
    if (FList->WidgetMade()) {
        QListWidget* l = List(FList);
        FList->FSyncing = true;
        l->insertItem(Index, ToQString(FRows[size_t(Index)].first));
        FList->FSyncing = false;
        FList->Measure(Index);
    }
}
