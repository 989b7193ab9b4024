// TListView over QTreeWidget: our items own captions, sub-items, images, check and selection state
// and mirror into Qt items; Qt's hidden header only holds the column widths, our THeaderControl
// shows them. User changes come back as CN_NOTIFY with the LVN_ codes (a refusal puts Qt back).
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>

#include "customdraw_qt.h"
#include "forms.h"
#include "handle.h"
#include "listview.h"
#include "stdctrls_qt.h"
#include "sysutils.h"
#include "winapi.h"

class TQtListItem : public QTreeWidgetItem {
public:
    explicit TQtListItem(TListItem* i) : Item(i) {}
    TListItem* Item;
};

namespace {

// The tree widget with the protected parts the list view needs made reachable.
class TQtListTree : public QTreeWidget {
public:
    void SetTopMargin(int h) {
        FTopMargin = h;
        setViewportMargins(0, h, 0, 0);
    }
    QModelIndex IndexOf(QTreeWidgetItem* i, int column) const { return indexFromItem(i, column); }
    void InitOption(QStyleOptionViewItem* o) const { initViewItemOption(o); }

protected:
    // The tree's own hidden header would take the margin away: the rows start below ours.
    void updateGeometries() override {
        QTreeWidget::updateGeometries();
        setViewportMargins(0, FTopMargin, 0, 0);
    }

private:
    int FTopMargin = 0;
};

TQtListTree* Tree(const TCustomListView* l) { return static_cast<TQtListTree*>(Widget(l)); }
TListItem* ItemOf(QTreeWidgetItem* i) { return i ? static_cast<TQtListItem*>(i)->Item : nullptr; }

// Sub-items show in their columns as soon as they change.
class TSubItems : public TStringList {
public:
    explicit TSubItems(std::function<void()> changed) : FChanged(std::move(changed)) {}

protected:
    void Changed() override {
        TStringList::Changed();
        FChanged();
    }

private:
    std::function<void()> FChanged;
};

} // namespace

struct TListViewQt {
    class TDelegate : public TCustomDrawDelegate {
    public:
        TDelegate(TCustomListView* l, QObject* parent) : TCustomDrawDelegate(parent), FList(l) {}
        QStyleOptionViewItem Option(const QModelIndex& i) const {
            QStyleOptionViewItem o;
            Tree(FList)->InitOption(&o);
            o.rect = Tree(FList)->visualRect(i);
            initStyleOption(&o, i);
            return o;
        }
        // Only the caption edits; asks LVN_BEGINLABELEDIT first.
        QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o,
                              const QModelIndex& i) const override {
            TListItem* it = i.column() == 0 ? ItemOf(Tree(FList)->itemFromIndex(i)) : nullptr;
            if (!it || FList->NotifyEdit(LVN_BEGINLABELEDITA, it, nullptr) != 0)
                return nullptr;
            FList->FEditing = true;
            FCommitted = false;
            return QStyledItemDelegate::createEditor(parent, o, i);
        }
        // The caption changes through LVN_ENDLABELEDIT, not behind the item's back.
        void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& i) const override {
            auto* line = qobject_cast<QLineEdit*>(editor);
            TListItem* it = ItemOf(Tree(FList)->itemFromIndex(i));
            if (!line || !it)
                return;
            FCommitted = true;
            std::string text = FromQString(line->text());
            FList->NotifyEdit(LVN_ENDLABELEDITA, it, &text);
        }
        void destroyEditor(QWidget* editor, const QModelIndex& i) const override {
            FList->FEditing = false;
            if (!FCommitted)
                if (TListItem* it = ItemOf(Tree(FList)->itemFromIndex(i)))
                    FList->NotifyEdit(LVN_ENDLABELEDITA, it, nullptr);
            FCommitted = true;
            QStyledItemDelegate::destroyEditor(editor, i);
        }
        void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
            TListItem* it = FList->IsCustomDrawn() ? ItemOf(Tree(FList)->itemFromIndex(i)) : nullptr;
            if (!it) {
                QStyledItemDelegate::paint(p, o, i);
                return;
            }
            TNMLVCustomDraw nm;
            nm.hdr.code = NM_CUSTOMDRAW;
            nm.dwDrawStage = CDDS_ITEMPREPAINT | (i.column() > 0 ? CDDS_SUBITEM : 0u);
            nm.dwItemSpec = it->Index();
            nm.iSubItem = i.column();
            nm.lItemlParam = reinterpret_cast<LPARAM>(it);
            nm.hdc = FList->FCanvas.get();
            nm.rc = FList->ItemRect(it, i.column(), LVIR_BOUNDS);
            PaintCustomDrawn(FList, FList->FCanvas.get(), Tree(FList), nm, p, o, i);
        }

    private:
        TCustomListView* FList;
        mutable bool FCommitted = true;
    };
    static TDelegate* Delegate(const TCustomListView* l) {
        return static_cast<TDelegate*>(Tree(l)->itemDelegate());
    }
    static void Sync(TCustomListView* l, const std::function<void()>& f) {
        bool was = l->FSyncing;
        l->FSyncing = true;
        f();
        l->FSyncing = was;
    }
    // Qt's selection and current item from our items' state bits.
    static void PushStates(TCustomListView* l) {
        Sync(l, [&] {
            TQtListTree* q = Tree(l);
            q->clearSelection();
            TListItem* focused = nullptr;
            for (TListItem* it : l->FItems->FItems) {
                if (it->FState & LVIS_SELECTED)
                    it->FItem->setSelected(true);
                if (it->FState & LVIS_FOCUSED)
                    focused = it;
            }
            if (focused)
                q->setCurrentItem(focused->FItem, 0, QItemSelectionModel::NoUpdate);
            else
                q->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        });
    }
};

// ---- columns -------------------------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& v) {
    FCaption = v;
    FOwner->FOwner->ColumnsChanged();
}

void TListColumn::SetWidth(int v) {
    FWidth = std::max(v, FMinWidth);
    if (FMaxWidth > 0)
        FWidth = std::min(FWidth, FMaxWidth);
    FOwner->FOwner->ColumnsChanged();
}

void TListColumn::SetMinWidth(int v) {
    FMinWidth = std::max(0, v);
    SetWidth(FWidth);
}

void TListColumn::SetMaxWidth(int v) {
    FMaxWidth = std::max(0, v);
    SetWidth(FWidth);
}

void TListColumn::SetAlignment(TAlignment v) {
    FAlignment = v;
    FOwner->FOwner->ColumnsChanged();
}

int TListColumn::Index() const {
    auto& c = FOwner->FItems;
    for (size_t i = 0; i < c.size(); ++i)
        if (c[i].get() == this)
            return int(i);
    return -1;
}

TListColumn* TListColumns::Add() {
    FItems.push_back(std::unique_ptr<TListColumn>(new TListColumn(this)));
    FOwner->ColumnsChanged();
    return FItems.back().get();
}

void TListColumns::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    FItems.erase(FItems.begin() + Index);
    FOwner->ColumnsChanged();
}

void TListColumns::Clear() {
    FItems.clear();
    FOwner->ColumnsChanged();
}

// ---- items ---------------------------------------------------------------------------------------

TListItem::TListItem(TListItems* owner)
    : FOwner(owner), FSubItems(std::make_unique<TSubItems>([this] { ShowTexts(); })) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner->Owner(); }
TStrings* TListItem::SubItems() const { return FSubItems.get(); }
int TListItem::Index() const { return FOwner->IndexOf(this); }

void TListItem::ShowTexts() {
    if (!FItem)
        return;
    TCustomListView* l = ListView();
    TListViewQt::Sync(l, [&] {
        int columns = std::max(1, l->Columns()->Count());
        for (int c = 0; c < columns; ++c) {
            std::string text = c == 0                    ? FCaption
                               : c <= FSubItems->Count() ? FSubItems->Get(c - 1)
                                                         : std::string();
            FItem->setText(c, ToQString(text));
            TAlignment a = c < l->Columns()->Count() ? l->Columns()->Items(c)->Alignment() : taLeftJustify;
            FItem->setTextAlignment(c, Qt::AlignVCenter | (a == taRightJustify ? Qt::AlignRight
                                                           : a == taCenter     ? Qt::AlignHCenter
                                                                               : Qt::AlignLeft));
        }
    });
}

void TListItem::SetCaption(const std::string& v) {
    if (v == FCaption)
        return;
    TCustomListView* l = ListView();
    if (l->ChangeItem(this, LVIF_TEXT, 0, 0, [&] {
            FCaption = v;
            ShowTexts();
        }))
        l->AutoSort();
}

void TListItem::SetImageIndex(int v) {
    if (v == FImageIndex)
        return;
    ListView()->ChangeItem(this, LVIF_IMAGE, 0, 0, [&] {
        FImageIndex = v;
        ListView()->UpdateIcon(this);
    });
}

void TListItem::SetStateIndex(int v) {
    FStateIndex = v;
    ListView()->UpdateIcon(this);
}

void TListItem::SetChecked(bool v) {
    if (v == FChecked)
        return;
    TCustomListView* l = ListView();
    l->ChangeItem(this, LVIF_STATE, (FState & ~LVIS_STATEIMAGEMASK) | StateImageBits(FChecked),
                  (FState & ~LVIS_STATEIMAGEMASK) | StateImageBits(v), [&] {
                      FChecked = v;
                      if (l->FCheckboxes)
                          TListViewQt::Sync(
                              l, [&] { FItem->setCheckState(0, v ? Qt::Checked : Qt::Unchecked); });
                  });
}

void TListItem::SetSelected(bool v) {
    UINT to = v ? FState | LVIS_SELECTED : FState & ~LVIS_SELECTED;
    if (to == FState)
        return;
    ListView()->ChangeItem(this, LVIF_STATE, FState, to, [&] {
        FState = to;
        TListViewQt::Sync(ListView(), [&] { FItem->setSelected(v); });
    });
}

void TListItem::SetFocused(bool v) {
    TCustomListView* l = ListView();
    if (v == Focused())
        return;
    if (v)
        if (TListItem* old = l->ItemFocused())
            old->SetFocused(false);
    UINT to = v ? FState | LVIS_FOCUSED : FState & ~LVIS_FOCUSED;
    l->ChangeItem(this, LVIF_STATE, FState, to, [&] {
        FState = to;
        TListViewQt::PushStates(l);
    });
}

TRect TListItem::DisplayRect(TDisplayCode Code) const {
    static const int codes[] = {LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS};
    return ListView()->ItemRect(this, 0, codes[Code]);
}

void TListItem::MakeVisible(bool PartialOK) {
    TCustomListView* l = ListView();
    TListViewQt::Sync(l, [&] {
        if (!PartialOK || l->ItemRect(this, 0, LVIR_BOUNDS).IsEmpty())
            Tree(l)->scrollToItem(FItem);
    });
}

bool TListItem::EditCaption() {
    TCustomListView* l = ListView();
    if (l->FReadOnly)
        return false;
    Tree(l)->editItem(FItem, 0);
    return l->FEditing;
}

void TListItem::Delete() { FOwner->Delete(Index()); }

TListItems::~TListItems() {
    for (TListItem* i : FItems)
        delete i;
}

TListItem* TListItems::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FItems[size_t(Index)];
}

int TListItems::IndexOf(const TListItem* Value) const {
    auto i = std::find(FItems.begin(), FItems.end(), Value);
    return i == FItems.end() ? -1 : int(i - FItems.begin());
}

TListItem* TListItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto* it = new TListItem(this);
    FItems.insert(FItems.begin() + Index, it);
    it->FItem = new TQtListItem(it);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!FOwner->FReadOnly)
        flags |= Qt::ItemIsEditable;
    if (FOwner->FCheckboxes)
        flags |= Qt::ItemIsUserCheckable;
    it->FItem->setFlags(flags);
    TListViewQt::Sync(FOwner, [&] {
        if (FOwner->FCheckboxes)
            it->FItem->setCheckState(0, Qt::Unchecked);
        Tree(FOwner)->insertTopLevelItem(Index, it->FItem);
    });
    it->ShowTexts();
    FOwner->NotifyList(LVN_INSERTITEM, it);
    return it;
}

// Reported (LVN_DELETEITEM) before it goes; Qt's current item does not move to a neighbour.
void TListItems::Delete(int Index) {
    TListItem* it = Item(Index);
    FOwner->NotifyList(LVN_DELETEITEM, it);
    Index = IndexOf(it); // the handler may have moved things
    if (Index < 0)
        return;
    FItems.erase(FItems.begin() + Index);
    TListViewQt::Sync(FOwner, [&] { delete it->FItem; });
    delete it;
    TListViewQt::PushStates(FOwner);
}

void TListItems::Clear() {
    BeginUpdate();
    while (!FItems.empty())
        Delete(Count() - 1);
    EndUpdate();
}

void TListItems::BeginUpdate() {
    if (FUpdate++ == 0)
        Tree(FOwner)->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (FUpdate > 0 && --FUpdate == 0)
        Tree(FOwner)->setUpdatesEnabled(true);
}

// ---- the control ---------------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner)
    : TNativeControl(AOwner), FColumns(new TListColumns(this)), FItems(std::make_unique<TListItems>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    auto* q = new TQtListTree;
    q->setHeaderHidden(true);
    q->setRootIsDecorated(false);
    q->setUniformRowHeights(true);
    q->setAllColumnsShowFocus(true);
    q->setFrameShape(QFrame::NoFrame);
    q->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    q->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    q->header()->setStretchLastSection(false);
    q->setColumnCount(1);
    q->setItemDelegate(new TListViewQt::TDelegate(this, q));
    q->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    q->setSelectionMode(QAbstractItemView::SingleSelection);
    q->setContextMenuPolicy(Qt::NoContextMenu);
    SetWidget(this, q);
    auto reconcile = [this] {
        if (!FSyncing)
            ReconcileStates();
    };
    QObject::connect(q->selectionModel(), &QItemSelectionModel::selectionChanged, reconcile);
    QObject::connect(q->selectionModel(), &QItemSelectionModel::currentChanged, reconcile);
    QObject::connect(q, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* qi, int column) {
        TListItem* it = ItemOf(qi);
        if (FSyncing || !it || column != 0 || !FCheckboxes)
            return;
        bool now = qi->checkState(0) == Qt::Checked;
        if (now == it->FChecked)
            return;
        if (!ChangeItem(it, LVIF_STATE, (it->FState & ~LVIS_STATEIMAGEMASK) | StateImageBits(it->FChecked),
                        (it->FState & ~LVIS_STATEIMAGEMASK) | StateImageBits(now),
                        [&] { it->FChecked = now; }))
            TListViewQt::Sync(this,
                              [&] { qi->setCheckState(0, it->FChecked ? Qt::Checked : Qt::Unchecked); });
    });
    QObject::connect(q->horizontalScrollBar(), &QScrollBar::valueChanged, [this](int) { LayoutHeader(); });

    FHeader = new THeaderControl(this);
    FHeader->SetAlign(alNone);
    FHeader->SetParent(this);
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csClickEvents};
    SetBounds(Left(), Top(), 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    LayoutHeader();
}

TCustomListView::~TCustomListView() {
    FSyncing = true;
    FItems.reset();
}

void TCustomListView::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
    TNativeControl::CreateWnd();
    LayoutHeader();
}

void TCustomListView::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle)
        return;
    FBorderStyle = v;
    RecreateWnd();
}

LRESULT TCustomListView::NotifyList(int code, TListItem* Item, int SubItem, UINT changed, UINT oldState,
                                    UINT newState) {
    TNMListView nm;
    nm.hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    nm.hdr.code = code;
    nm.iItem = Item ? Item->Index() : -1;
    nm.iSubItem = SubItem;
    nm.uChanged = changed;
    nm.uOldState = oldState;
    nm.uNewState = newState;
    nm.lParam = reinterpret_cast<LPARAM>(Item);
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
}

LRESULT TCustomListView::NotifyEdit(int code, TListItem* Item, const std::string* text) {
    TLVDispInfo nm;
    nm.hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    nm.hdr.code = code;
    nm.item.iItem = Item->Index();
    nm.item.lParam = reinterpret_cast<LPARAM>(Item);
    if (text) {
        nm.item.mask = LVIF_TEXT;
        nm.item.Text = *text;
    }
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
}

bool TCustomListView::ChangeItem(TListItem* Item, UINT changed, UINT oldState, UINT newState,
                                 const std::function<void()>& apply) {
    if (NotifyList(LVN_ITEMCHANGING, Item, 0, changed, oldState, newState) != 0)
        return false;
    apply();
    NotifyList(LVN_ITEMCHANGED, Item, 0, changed, oldState, newState);
    return true;
}

// Items that lose a bit go first, as the native control reports them: the old selection is
// reported cleared before the new one is asked for.
void TCustomListView::ReconcileStates() {
    TQtListTree* q = Tree(this);
    QTreeWidgetItem* current = q->currentItem();
    bool refused = false;
    for (bool gains : {false, true})
        for (TListItem* it : std::vector<TListItem*>(FItems->FItems)) {
            if (FItems->IndexOf(it) < 0)
                continue; // a handler deleted it
            UINT now =
                (it->FItem->isSelected() ? LVIS_SELECTED : 0u) | (it->FItem == current ? LVIS_FOCUSED : 0u);
            UINT was = it->FState & (LVIS_SELECTED | LVIS_FOCUSED);
            if (now == was || ((now & ~was) != 0) != gains)
                continue;
            UINT to = (it->FState & ~(LVIS_SELECTED | LVIS_FOCUSED)) | now;
            if (!ChangeItem(it, LVIF_STATE, it->FState, to, [&] { it->FState = to; }))
                refused = true;
        }
    if (refused)
        TListViewQt::PushStates(this);
}

void TCustomListView::ColumnsChanged() {
    TQtListTree* q = Tree(this);
    int n = FColumns->Count();
    TListViewQt::Sync(this, [&] {
        q->setColumnCount(std::max(1, n));
        for (int i = 0; i < n; ++i)
            q->setColumnWidth(i, FColumns->Items(i)->Width());
    });
    THeaderSections* s = FHeader->Sections();
    while (s->Count() > n)
        s->Delete(s->Count() - 1);
    while (s->Count() < n)
        s->Add();
    for (int i = 0; i < n; ++i) {
        TListColumn* c = FColumns->Items(i);
        THeaderSection* h = s->Items(i);
        h->SetMinWidth(c->MinWidth());
        h->SetMaxWidth(c->MaxWidth() > 0 ? c->MaxWidth() : 10000);
        h->SetWidth(c->Width());
        h->SetText(c->Caption());
        h->SetAlignment(c->Alignment());
    }
    for (TListItem* it : FItems->FItems)
        it->ShowTexts();
    LayoutHeader();
}

// The header scrolls with the rows: it starts left of the client by the horizontal scroll offset.
void TCustomListView::LayoutHeader() {
    TQtListTree* q = Tree(this);
    bool shown = FShowColumnHeaders && FViewStyle == vsReport;
    int h = FHeader->Height();
    q->SetTopMargin(shown ? h : 0);
    FHeader->SetVisible(shown);
    int x = -q->horizontalScrollBar()->value();
    int total = 0;
    for (int i = 0; i < FColumns->Count(); ++i)
        total += FColumns->Items(i)->Width();
    FHeader->SetBounds(x, 0, std::max(total, ClientWidth() - x), h);
    if (HandleAllocated() && FHeader->HandleAllocated())
        HandleWidget(FHeader)->raise();
}

void TCustomListView::UpdateIcon(TListItem* Item) {
    if (!Item->FItem)
        return;
    bool state = FStateImages && !FCheckboxes && Item->FStateIndex >= 0;
    int sw = state ? FStateImages->Width() : 0;
    int iw = FSmallImages && Item->FImageIndex >= 0 ? FSmallImages->Width() : 0;
    int h = std::max(state ? FStateImages->Height() : 0, iw ? FSmallImages->Height() : 0);
    QIcon icon;
    if (sw + iw > 0 && h > 0) {
        TBitmap b;
        b.SetSize(sw + iw, h);
        b.Canvas()->Brush()->SetColor(Color());
        b.Canvas()->FillRect(Rect(0, 0, sw + iw, h));
        if (sw)
            FStateImages->Draw(b.Canvas(), 0, 0, Item->FStateIndex);
        if (iw)
            FSmallImages->Draw(b.Canvas(), sw, 0, Item->FImageIndex);
        icon.addPixmap(QPixmap::fromImage(b.Image()));
        Tree(this)->setIconSize(QSize(sw + iw, h));
    }
    TListViewQt::Sync(this, [&] { Item->FItem->setIcon(0, icon); });
}

void TCustomListView::SetSmallImages(TImageList* v) {
    FSmallImages = v;
    for (TListItem* it : FItems->FItems)
        UpdateIcon(it);
}

void TCustomListView::SetStateImages(TImageList* v) {
    FStateImages = v;
    for (TListItem* it : FItems->FItems)
        UpdateIcon(it);
}

void TCustomListView::SetViewStyle(TViewStyle v) {
    FViewStyle = v;
    LayoutHeader();
}

void TCustomListView::SetShowColumnHeaders(bool v) {
    FShowColumnHeaders = v;
    LayoutHeader();
}

void TCustomListView::SetCheckboxes(bool v) {
    FCheckboxes = v;
    TListViewQt::Sync(this, [&] {
        for (TListItem* it : FItems->FItems) {
            Qt::ItemFlags f = it->FItem->flags();
            it->FItem->setFlags(v ? f | Qt::ItemIsUserCheckable : f & ~Qt::ItemIsUserCheckable);
            if (v)
                it->FItem->setCheckState(0, it->FChecked ? Qt::Checked : Qt::Unchecked);
            else
                it->FItem->setData(0, Qt::CheckStateRole, QVariant());
        }
    });
    for (TListItem* it : FItems->FItems)
        UpdateIcon(it);
}

void TCustomListView::SetMultiSelect(bool v) {
    FMultiSelect = v;
    Tree(this)->setSelectionMode(v ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
}

void TCustomListView::SetReadOnly(bool v) {
    FReadOnly = v;
    TListViewQt::Sync(this, [&] {
        for (TListItem* it : FItems->FItems)
            it->FItem->setFlags(v ? it->FItem->flags() & ~Qt::ItemIsEditable
                                  : it->FItem->flags() | Qt::ItemIsEditable);
    });
}

void TCustomListView::SetSortType(TSortType v) {
    FSortType = v;
    AutoSort();
}

TListItem* TCustomListView::Selected() const {
    for (TListItem* it : FItems->FItems)
        if (it->Selected())
            return it;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* v) {
    for (TListItem* it : std::vector<TListItem*>(FItems->FItems))
        if (it != v)
            it->SetSelected(false);
    if (v) {
        v->SetSelected(true);
        v->SetFocused(true);
    }
}

TListItem* TCustomListView::ItemFocused() const {
    for (TListItem* it : FItems->FItems)
        if (it->Focused())
            return it;
    return nullptr;
}

void TCustomListView::SetItemFocused(TListItem* v) {
    if (v)
        v->SetFocused(true);
    else if (TListItem* f = ItemFocused())
        f->SetFocused(false);
}

int TCustomListView::SelCount() const {
    return int(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                             [](TListItem* i) { return i->Selected(); }));
}

void TCustomListView::ClearSelection() { SetSelected(nullptr); }

TRect TCustomListView::ItemRect(const TListItem* Item, int Column, int Code) const {
    TQtListTree* q = Tree(this);
    if (!Item || !Item->FItem || Column < 0 || Column >= std::max(1, FColumns->Count()))
        return TRect();
    QModelIndex index = q->IndexOf(Item->FItem, Column);
    QRect cell = q->visualRect(index);
    if (!cell.isValid() || !q->viewport()->rect().intersects(cell))
        return TRect();
    QRect r = cell;
    if (Code == LVIR_BOUNDS && Column == 0 && FColumns->Count() > 1)
        r = cell.united(q->visualRect(q->IndexOf(Item->FItem, FColumns->Count() - 1)));
    else if (Code != LVIR_BOUNDS) {
        QStyleOptionViewItem o = TListViewQt::Delegate(this)->Option(index);
        QStyle* style = q->style();
        QRect icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &o, q);
        QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &o, q);
        if (!(o.features & QStyleOptionViewItem::HasDecoration))
            icon = QRect(text.left(), cell.top(), 0, cell.height());
        r = Code == LVIR_ICON ? icon : Code == LVIR_LABEL ? text : icon.united(text);
    }
    QWidget* client = ClientWidget(const_cast<TCustomListView*>(this));
    QPoint o = client ? q->viewport()->mapTo(client, r.topLeft()) : r.topLeft();
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

TListItem* TCustomListView::GetItemAt(int X, int Y) const {
    TQtListTree* q = Tree(this);
    QWidget* client = ClientWidget(const_cast<TCustomListView*>(this));
    QPoint p = client ? q->viewport()->mapFrom(client, QPoint(X, Y)) : QPoint(X, Y);
    return q->viewport()->rect().contains(p) ? ItemOf(q->itemAt(p)) : nullptr;
}

UINT TCustomListView::GetHitTestInfoAt(int X, int Y) const {
    TListItem* it = GetItemAt(X, Y);
    if (!it)
        return LVHT_NOWHERE;
    TPoint p(X, Y);
    if (FCheckboxes) {
        TQtListTree* q = Tree(this);
        QStyleOptionViewItem o = TListViewQt::Delegate(this)->Option(q->IndexOf(it->FItem, 0));
        QRect box = q->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &o, q);
        QWidget* client = ClientWidget(const_cast<TCustomListView*>(this));
        QPoint tl = client ? q->viewport()->mapTo(client, box.topLeft()) : box.topLeft();
        if (PtInRect(Bounds(tl.x(), tl.y(), box.width(), box.height()), p))
            return LVHT_ONITEMSTATEICON;
    }
    TRect icon = ItemRect(it, 0, LVIR_ICON);
    return PtInRect(icon, p) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
}

TListItem* TCustomListView::TopItem() const { return ItemOf(Tree(this)->itemAt(1, 1)); }

int TCustomListView::VisibleRowCount() const {
    TQtListTree* q = Tree(this);
    int row = FItems->Count() ? q->visualItemRect(FItems->FItems[0]->FItem).height() : 0;
    if (row <= 0)
        row = q->fontMetrics().height() + 4;
    return q->viewport()->height() / row;
}

void TCustomListView::Scroll(int DX, int DY) {
    TQtListTree* q = Tree(this);
    q->horizontalScrollBar()->setValue(q->horizontalScrollBar()->value() + DX);
    q->verticalScrollBar()->setValue(q->verticalScrollBar()->value() + DY);
}

int TCustomListView::DefaultCompare(TListItem* Item1, TListItem* Item2, int Data) {
    if (OnCompare) {
        int c = 0;
        OnCompare(this, Item1, Item2, Data, c);
        return c;
    }
    if (FSortType == stData)
        return Item1->Data < Item2->Data ? -1 : Item1->Data > Item2->Data ? 1 : 0;
    return AnsiCompareText(Item1->FCaption, Item2->FCaption);
}

void TCustomListView::SortItems(const std::function<int(TListItem*, TListItem*)>& Compare) {
    auto& v = FItems->FItems;
    std::stable_sort(v.begin(), v.end(), [&](TListItem* a, TListItem* b) { return Compare(a, b) < 0; });
    TListViewQt::Sync(this, [&] {
        TQtListTree* q = Tree(this);
        q->invisibleRootItem()->takeChildren();
        QList<QTreeWidgetItem*> rows;
        for (TListItem* it : v)
            rows << it->FItem;
        q->addTopLevelItems(rows);
    });
    TListViewQt::PushStates(this);
}

void TCustomListView::AutoSort() {
    if (FSortType == stText || FSortType == stBoth)
        AlphaSort();
}

bool TCustomListView::AlphaSort() {
    SortItems([this](TListItem* a, TListItem* b) { return DefaultCompare(a, b, 0); });
    return true;
}

bool TCustomListView::CustomSort(TLVCompare SortProc, LPARAM lParam) {
    if (!SortProc) {
        SortItems([&](TListItem* a, TListItem* b) { return DefaultCompare(a, b, int(lParam)); });
        return true;
    }
    return Perform(LVM_SORTITEMS, WPARAM(lParam), reinterpret_cast<LPARAM>(SortProc)) != 0;
}

// ---- events --------------------------------------------------------------------------------------

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Item, Change, allow);
    return allow;
}

void TCustomListView::Change(TListItem* Item, TItemChange Change) {
    if (OnChange)
        OnChange(this, Item, Change);
}

void TCustomListView::DoSelectItem(TListItem* Item, bool Selected) {
    if (OnSelectItem)
        OnSelectItem(this, Item, Selected);
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

void TCustomListView::Delete(TListItem* Item) {
    if (OnDeletion)
        OnDeletion(this, Item);
}

void TCustomListView::InsertItem(TListItem* Item) {
    if (OnInsert)
        OnInsert(this, Item);
}

bool TCustomListView::CanEdit(TListItem* Item) {
    bool allow = !FReadOnly;
    if (allow && OnEditing)
        OnEditing(this, Item, allow);
    return allow;
}

void TCustomListView::Edit(TListItem* Item, std::string& S) {
    if (OnEdited)
        OnEdited(this, Item, S);
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State) {
    bool defaultDraw = true;
    if (OnCustomDrawItem)
        OnCustomDrawItem(this, Item, State, defaultDraw);
    return defaultDraw;
}

bool TCustomListView::CustomDrawSubItem(TListItem* Item, int SubItem, TCustomDrawState State) {
    bool defaultDraw = true;
    if (OnCustomDrawSubItem)
        OnCustomDrawSubItem(this, Item, SubItem, State, defaultDraw);
    return defaultDraw;
}

void TCustomListView::CNCustomDraw(TNMLVCustomDraw& nm, LRESULT& Result) {
    Result = CDRF_DODEFAULT;
    auto* it = reinterpret_cast<TListItem*>(nm.lItemlParam);
    if (!(nm.dwDrawStage & CDDS_ITEMPREPAINT) || !it)
        return;
    TCustomDrawState state = CustomDrawStateOf(nm.uItemState);
    bool selected = state.Contains(cdsSelected);
    FCanvas->SetFont(Font());
    FCanvas->Brush()->SetColor(selected ? clHighlight : Color());
    FCanvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    bool draw =
        nm.dwDrawStage & CDDS_SUBITEM ? CustomDrawSubItem(it, nm.iSubItem, state) : CustomDrawItem(it, state);
    if (!draw) {
        Result = CDRF_SKIPDEFAULT;
        return;
    }
    nm.clrText = ColorToRGB(FCanvas->Font()->Color());
    nm.clrTextBk = ColorToRGB(FCanvas->Brush()->Color());
    Result = CDRF_NEWFONT;
}

static TItemChange ChangeKind(UINT changed) {
    return changed & LVIF_TEXT ? ctText : changed & LVIF_IMAGE ? ctImage : ctState;
}

void TCustomListView::CNNotify(TMessage& Message) {
    auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
    if (!hdr)
        return;
    if (hdr->code == NM_CUSTOMDRAW) {
        CNCustomDraw(*reinterpret_cast<TNMLVCustomDraw*>(Message.LParam), Message.Result);
        return;
    }
    if (hdr->code == LVN_BEGINLABELEDITA || hdr->code == LVN_ENDLABELEDITA) {
        auto* d = reinterpret_cast<TLVDispInfo*>(Message.LParam);
        auto* it = reinterpret_cast<TListItem*>(d->item.lParam);
        if (hdr->code == LVN_BEGINLABELEDITA)
            Message.Result = CanEdit(it) ? 0 : 1;
        else if (d->item.mask & LVIF_TEXT) {
            std::string s = d->item.Text;
            Edit(it, s);
            it->SetCaption(s);
        }
        return;
    }
    auto* nm = reinterpret_cast<TNMListView*>(Message.LParam);
    auto* it = reinterpret_cast<TListItem*>(nm->lParam);
    switch (hdr->code) {
    case LVN_ITEMCHANGING: Message.Result = CanChange(it, ChangeKind(nm->uChanged)) ? 0 : 1; return;
    case LVN_ITEMCHANGED:
        Change(it, ChangeKind(nm->uChanged));
        if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED))
            DoSelectItem(it, nm->uNewState & LVIS_SELECTED);
        return;
    case LVN_INSERTITEM: InsertItem(it); return;
    case LVN_DELETEITEM: Delete(it); return;
    case LVN_COLUMNCLICK:
        if (nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count())
            ColClick(FColumns->Items(nm->iSubItem));
        return;
    default: return;
    }
}

void TCustomListView::WMNotify(TMessage& Message) {
    auto* n = reinterpret_cast<THDNotify*>(Message.LParam);
    if (!n || !FHeader->HandleAllocated() || n->hwndFrom != FHeader->Handle())
        return;
    int i = n->Item;
    switch (n->code) {
    case HDN_ITEMCLICK:
        if (ColumnClick && i >= 0 && i < FColumns->Count())
            NotifyList(LVN_COLUMNCLICK, nullptr, i);
        return;
    case HDN_TRACK:
    case HDN_ENDTRACK:
        if (i >= 0 && i < FColumns->Count() && i < FHeader->Sections()->Count()) {
            FColumns->Items(i)->FWidth = FHeader->Sections()->Items(i)->Width();
            TListViewQt::Sync(this, [&] { Tree(this)->setColumnWidth(i, FColumns->Items(i)->FWidth); });
            LayoutHeader();
        }
        return;
    default: return;
    }
}

void TCustomListView::ShowColor(bool Text, TColor Color) {
    QWidget* w = Tree(this);
    QPalette pal = w->palette();
    pal.setColor(Text ? QPalette::Text : QPalette::Base, ToQColor(Color));
    w->setPalette(pal);
}
