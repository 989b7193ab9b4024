// TListBox over QListWidget: items kept in the widget, every row painted through DrawItem on the
// control's canvas (standard rows too, so tab stops and owner-draw look alike), the LB_ messages
// answered, the user's selection and double click reported as LBN_ notifications. GUI core.
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
        try {
            FDraw(i.row(), TRect(o.rect.left(), o.rect.top(), o.rect.right() + 1, o.rect.bottom() + 1),
                  state);
        } catch (...) {
            Application->HandleException(FControl);
        }
        BindPainter(FCanvas, nullptr);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        return FMeasure(i.row(), QStyledItemDelegate::sizeHint(o, i));
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
    auto* l = new QListWidget;
    // The border is the window's own (WS_EX_CLIENTEDGE), drawn in the frame as for an edit.
    l->setFrameShape(QFrame::NoFrame);
    l->setUniformItemSizes(true);
    l->setItemDelegate(TOwnerDrawQt::ForList(this, l));
    SetWidget(this, l);
    // Only the user's acts raise events: selection from code runs with FSyncing set.
    QObject::connect(l, &QListWidget::itemSelectionChanged, [this] {
        if (!FSyncing)
            Notify(LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) { Notify(LBN_DBLCLK); });
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
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
    QListWidget* l = List(this);
    int row = l->currentRow();
    if (FMultiSelect || row < 0)
        return row;
    return l->item(row)->isSelected() ? row : -1;
}

void TCustomListBox::SetItemIndex(int v) {
    QListWidget* l = List(this);
    if (v < -1 || v >= l->count())
        v = -1;
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
    return List(this)->item(Index)->isSelected();
}

void TCustomListBox::SetSelected(int Index, bool v) {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    FSyncing = true;
    if (!FMultiSelect && v)
        List(this)->setCurrentRow(Index, QItemSelectionModel::ClearAndSelect);
    else
        List(this)->item(Index)->setSelected(v);
    FSyncing = false;
}

int TCustomListBox::SelCount() const { return FMultiSelect ? int(List(this)->selectedItems().size()) : -1; }

void TCustomListBox::SetItemHeight(int v) {
    if (v <= 0)
        return;
    FItemHeight = v;
    List(this)->doItemsLayout();
}

int TCustomListBox::TopIndex() const {
    QModelIndex i = List(this)->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void TCustomListBox::SetTopIndex(int v) {
    if (QListWidgetItem* it = List(this)->item(v))
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
    QListWidget* l = List(this);
    QListWidgetItem* it = l->item(Index);
    if (!it)
        return TRect();
    QRect r = l->visualItemRect(it);
    QWidget* client = ClientWidget(const_cast<TCustomListBox*>(this));
    QPoint o = client ? l->viewport()->mapTo(client, r.topLeft()) : r.topLeft();
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    QListWidget* l = List(this);
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

void TCustomListBox::Dispatch(TMessage& Message) {
    auto str = [&] {
        return Message.LParam ? std::string(reinterpret_cast<const char*>(Message.LParam)) : std::string();
    };
    const int index = int(Message.WParam);
    const int count = FItems->Count();
    const bool bad = index < 0 || index >= count;
    QListWidget* l = List(this);
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CN_COMMAND:
        if (Message.WParamHi() == LBN_SELCHANGE)
            Click();
        else if (Message.WParamHi() == LBN_DBLCLK)
            DblClick();
        return;
    case LB_ADDSTRING: Message.Result = FItems->Add(str()); return;
    case LB_INSERTSTRING: {
        int at = index < 0 ? count : index;
        if (at > count) {
            Message.Result = LB_ERR;
            return;
        }
        FItems->Insert(at, str());
        Message.Result = at;
        return;
    }
    case LB_DELETESTRING:
        if (!bad)
            FItems->Delete(index);
        Message.Result = bad ? LB_ERR : FItems->Count();
        return;
    case LB_RESETCONTENT: FItems->Clear(); return;
    case LB_GETCOUNT: Message.Result = count; return;
    case LB_GETTEXTLEN: Message.Result = bad ? LRESULT(LB_ERR) : LRESULT(FItems->Get(index).size()); return;
    case LB_GETTEXT: {
        if (bad || !Message.LParam) {
            Message.Result = LB_ERR;
            return;
        }
        std::string s = FItems->Get(index);
        std::memcpy(reinterpret_cast<char*>(Message.LParam), s.c_str(), s.size() + 1);
        Message.Result = LRESULT(s.size());
        return;
    }
    case LB_GETCURSEL: Message.Result = FMultiSelect ? LB_ERR : ItemIndex(); return;
    case LB_SETCURSEL:
        if (FMultiSelect) {
            Message.Result = LB_ERR;
            return;
        }
        SetItemIndex(index);
        Message.Result = bad ? LB_ERR : index;
        return;
    case LB_GETSEL: Message.Result = bad ? LB_ERR : Selected(index) ? 1 : 0; return;
    case LB_SETSEL: {
        // The item in LParam; -1 is every item.
        int item = int(Message.LParam);
        if (!FMultiSelect || item < -1 || item >= count) {
            Message.Result = LB_ERR;
            return;
        }
        for (int i = item < 0 ? 0 : item; i < (item < 0 ? count : item + 1); ++i)
            SetSelected(i, Message.WParam != 0);
        return;
    }
    case LB_GETSELCOUNT: Message.Result = FMultiSelect ? SelCount() : LB_ERR; return;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        Message.Result = FindString(str(), index, Message.Msg == LB_FINDSTRINGEXACT);
        return;
    case LB_GETITEMDATA:
        Message.Result = bad ? LRESULT(LB_ERR) : reinterpret_cast<LRESULT>(FItems->GetObject(index));
        return;
    case LB_SETITEMDATA:
        if (!bad)
            FItems->PutObject(index, reinterpret_cast<TObject*>(Message.LParam));
        Message.Result = bad ? LB_ERR : 0;
        return;
    case LB_SETTABSTOPS: {
        auto* stops = reinterpret_cast<const int*>(Message.LParam);
        FTabStops.assign(stops, stops ? stops + index : stops);
        l->viewport()->update();
        Message.Result = 1;
        return;
    }
    case LB_GETHORIZONTALEXTENT: Message.Result = FHorizontalExtent; return;
    case LB_SETHORIZONTALEXTENT:
        FHorizontalExtent = index;
        l->doItemsLayout();
        return;
    case LB_GETCARETINDEX: Message.Result = l->currentRow(); return;
    case LB_SETCARETINDEX:
        if (bad) {
            Message.Result = LB_ERR;
            return;
        }
        FSyncing = true;
        l->setCurrentRow(index,
                         FMultiSelect ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
        FSyncing = false;
        return;
    case LB_GETITEMHEIGHT: Message.Result = FItemHeight; return;
    case LB_SETITEMHEIGHT: SetItemHeight(int(Message.LParamLo())); return;
    case LB_GETTOPINDEX: Message.Result = TopIndex(); return;
    case LB_SETTOPINDEX:
        SetTopIndex(index);
        Message.Result = bad ? LB_ERR : 0;
        return;
    case LB_GETITEMRECT:
        if (bad || !Message.LParam) {
            Message.Result = LB_ERR;
            return;
        }
        *reinterpret_cast<TRect*>(Message.LParam) = ItemRect(index);
        Message.Result = 1;
        return;
    case LB_ITEMFROMPOINT: {
        int i = ItemAtPos(TPoint(short(Message.LParamLo()), short(Message.LParamHi())), true);
        Message.Result = i < 0 ? MAKELRESULT(std::max(count - 1, 0), 1) : MAKELRESULT(i, 0);
        return;
    }
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TListBoxStrings -----------------------------------------------------------------------------

std::string TListBoxStrings::Get(int Index) const {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    return FromQString(List(FList)->item(Index)->text());
}

void TListBoxStrings::Put(int Index, const std::string& S) {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    List(FList)->item(Index)->setText(ToQString(S));
}

TObject* TListBoxStrings::GetObject(int Index) const {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    return reinterpret_cast<TObject*>(List(FList)->item(Index)->data(Qt::UserRole).value<quintptr>());
}

void TListBoxStrings::PutObject(int Index, TObject* AObject) {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    List(FList)->item(Index)->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(AObject)));
}

int TListBoxStrings::GetCount() const { return List(FList)->count(); }

void TListBoxStrings::Clear() {
    FList->FSyncing = true;
    List(FList)->clear();
    FList->FSyncing = false;
}

void TListBoxStrings::Delete(int Index) {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    FList->FSyncing = true;
    delete List(FList)->takeItem(Index);
    FList->FSyncing = false;
}

void TListBoxStrings::Insert(int Index, const std::string& S) {
    if (Index < 0 || Index > GetCount())
        Error("List index out of bounds (%d)", Index);
    FList->FSyncing = true;
    List(FList)->insertItem(Index, ToQString(S));
    FList->FSyncing = false;
    FList->Measure(Index);
}

int TListBoxStrings::Add(const std::string& S) {
    int at = GetCount();
    if (FList->Sorted()) {
        at = 0;
        while (at < GetCount() && AnsiCompareText(Get(at), S) <= 0)
            ++at;
    }
    Insert(at, S);
    return at;
}
