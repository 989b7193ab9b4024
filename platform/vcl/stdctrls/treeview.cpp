// TTreeView over QTreeWidget: our nodes own the texts, data and image indexes and mirror into Qt
// items; the user's selection, expansion and label edits come back as CN_NOTIFY with the TVN_
// codes (a handler's refusal puts Qt's change back); the TVM_ messages are answered.
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

#include "comctrls.h"
#include "customdraw_qt.h"
#include "forms.h"
#include "handle.h"
#include "stdctrls_qt.h"
#include "sysutils.h"

class TQtTreeItem : public QTreeWidgetItem {
public:
    explicit TQtTreeItem(TTreeNode* n) : Node(n) {}
    TTreeNode* Node;
};

static QTreeWidget* Tree(const TCustomTreeView* t) { return WidgetAs<QTreeWidget>(t); }
static TTreeNode* NodeOf(QTreeWidgetItem* i) { return i ? static_cast<TQtTreeItem*>(i)->Node : nullptr; }

// Where the viewport's origin lies in the control's client coordinates.
static QPoint ViewportOrigin(TCustomTreeView* t) {
    QWidget* client = ClientWidget(t);
    QWidget* viewport = Tree(t)->viewport();
    return client ? viewport->mapTo(client, QPoint(0, 0)) : QPoint(0, 0);
}

struct TTreeViewQt {
    // The view as a Windows tree view behaves: the mouse on the nodes comes through the control's
    // message path; a right press leaves the selection alone unless RightClickSelect; the control
    // paints over the nodes; cut texts show as tool tips.
    class TView : public QTreeWidget {
    public:
        explicit TView(TCustomTreeView* t) : FTree(t) {}
        void Detach() { FTree = nullptr; }

    protected:
        void mousePressEvent(QMouseEvent* e) override {
            if (e->button() == Qt::RightButton && FTree && !FTree->RightClickSelect) {
                e->accept();
                return;
            }
            QTreeWidget::mousePressEvent(e);
        }
        void paintEvent(QPaintEvent* e) override {
            QTreeWidget::paintEvent(e);
            if (!FTree || !FTree->HandleAllocated())
                return;
            QPainter p(viewport());
            p.translate(-ViewportOrigin(FTree));
            TCanvas dc;
            BindPainter(&dc, &p);
            TMessage m = MakeMessage(WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
            TMessageBoundary::Deliver(FTree, m);
            BindPainter(&dc, nullptr);
        }
        bool viewportEvent(QEvent* e) override {
            if (e->type() != QEvent::ToolTip || !FTree)
                return QTreeWidget::viewportEvent(e);
            auto* he = static_cast<QHelpEvent*>(e);
            QTreeWidgetItem* item = itemAt(he->pos());
            QString text = item ? item->text(0) : QString();
            QRect cell = item ? visualItemRect(item) : QRect();
            int iconWidth = item && !item->icon(0).isNull() ? iconSize().width() + 4 : 0;
            bool cut = item && cell.left() + iconWidth + fontMetrics().horizontalAdvance(text) + 6 >
                                   viewport()->width();
            bool allowed = !(TWinControlAccess::Style(FTree) & TVS_NOTOOLTIPS);
            if (cut && allowed)
                QToolTip::showText(he->globalPos(), text, viewport(), cell);
            else
                QToolTip::hideText();
            return true;
        }

    private:
        TCustomTreeView* FTree;
    };

    // Label editing asks CanEdit (TVN_BEGINLABELEDIT) before Qt makes an editor; a custom-drawn
    // tree hears NM_CUSTOMDRAW for each node before (or instead of) the default drawing.
    class TDelegate : public TCustomDrawDelegate {
    public:
        TDelegate(TCustomTreeView* t, QObject* parent) : TCustomDrawDelegate(parent), FTree(t) {}
        QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o,
                              const QModelIndex& i) const override {
            TTreeNode* n = NodeOf(Tree(FTree)->itemFromIndex(i));
            if (!n || FTree->NotifyTree(TVN_BEGINLABELEDIT, nullptr, n) != 0)
                return nullptr;
            FTree->FEditing = true;
            return QStyledItemDelegate::createEditor(parent, o, i);
        }
        void destroyEditor(QWidget* editor, const QModelIndex& i) const override {
            FTree->FEditing = false;
            QStyledItemDelegate::destroyEditor(editor, i);
        }
        void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
            TTreeNode* n = FTree->IsCustomDrawn() ? NodeOf(Tree(FTree)->itemFromIndex(i)) : nullptr;
            if (!n) {
                QStyledItemDelegate::paint(p, o, i);
                return;
            }
            TNMTVCustomDraw nm;
            nm.hdr.code = NM_CUSTOMDRAW;
            nm.dwDrawStage = CDDS_ITEMPREPAINT;
            nm.dwItemSpec = n;
            nm.iLevel = n->Level();
            nm.rc = n->DisplayRect(false);
            PaintCustomDrawn(FTree, FTree->FCanvas.get(), Tree(FTree), nm, p, o, i);
        }

    private:
        TCustomTreeView* FTree;
    };
    static void Sync(TCustomTreeView* t, const std::function<void()>& f) {
        bool was = t->FSyncing;
        t->FSyncing = true;
        f();
        t->FSyncing = was;
    }
};

// ---- TTreeNode -----------------------------------------------------------------------------------

TTreeNode::~TTreeNode() {
    for (TTreeNode* c : FChildren)
        delete c;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

void TTreeNode::SetText(const std::string& v) {
    FText = v;
    // A sorted view leaves the new text where it stands; the next insertion among these siblings
    // sorts them all.
    FOwner->SiblingsSorted(FParent) = false;
    TTreeViewQt::Sync(TreeView(), [&] { FItem->setText(0, ToQString(v)); });
}

void TTreeNode::SetImageIndex(int v) {
    FImageIndex = v;
    TreeView()->UpdateIcon(this);
}
void TTreeNode::SetSelectedIndex(int v) {
    FSelectedIndex = v;
    TreeView()->UpdateIcon(this);
}
void TTreeNode::SetStateIndex(int v) {
    FStateIndex = v;
    TreeView()->UpdateIcon(this);
}

int TTreeNode::Index() const { return FIndex; }

int TTreeNode::Level() const {
    int l = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent)
        ++l;
    return l;
}

int TTreeNode::AbsoluteIndex() const {
    int i = 0;
    for (const TTreeNode* n = GetPrev(); n; n = n->GetPrev())
        ++i;
    return i;
}

TTreeNode* TTreeNode::getNextSibling() const {
    auto& s = FOwner->Siblings(FParent);
    size_t i = size_t(Index()) + 1;
    return i < s.size() ? s[i] : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
    int i = Index();
    return i > 0 ? FOwner->Siblings(FParent)[size_t(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FChildren.empty())
        return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->getNextSibling())
            return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* p = getPrevSibling();
    if (!p)
        return FParent;
    while (!p->FChildren.empty())
        p = p->FChildren.back();
    return p;
}

bool TTreeNode::IsVisible() const {
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->Expanded())
            return false;
    return true;
}

bool TTreeNode::Expanded() const { return FItem->isExpanded(); }

void TTreeNode::Expand(bool Recurse) {
    TCustomTreeView* t = TreeView();
    if (!Expanded() && !FChildren.empty() &&
        t->NotifyTree(TVN_ITEMEXPANDING, nullptr, this, TVE_EXPAND) == 0) {
        TTreeViewQt::Sync(t, [&] { FItem->setExpanded(true); });
        t->NotifyTree(TVN_ITEMEXPANDED, nullptr, this, TVE_EXPAND);
    }
    if (Recurse)
        for (TTreeNode* c : std::vector<TTreeNode*>(FChildren))
            c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    TCustomTreeView* t = TreeView();
    if (Recurse)
        for (TTreeNode* c : std::vector<TTreeNode*>(FChildren))
            c->Collapse(true);
    if (Expanded() && t->NotifyTree(TVN_ITEMEXPANDING, nullptr, this, TVE_COLLAPSE) == 0) {
        TTreeViewQt::Sync(t, [&] { FItem->setExpanded(false); });
        t->NotifyTree(TVN_ITEMEXPANDED, nullptr, this, TVE_COLLAPSE);
    }
}

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool v) {
    if (v)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
    TTreeViewQt::Sync(TreeView(), [&] { Tree(TreeView())->scrollToItem(FItem); });
}

void TTreeNode::EditText() { Tree(TreeView())->editItem(FItem, 0); }
void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back());
}

void TTreeNode::AlphaSort(bool Recurse) { TreeView()->SortSiblings(this, Recurse); }

TRect TTreeNode::DisplayRect(bool TextOnly) const {
    QTreeWidget* q = Tree(TreeView());
    QRect r = q->visualItemRect(FItem);
    if (!r.isValid() || !q->viewport()->rect().intersects(r))
        return TRect();
    if (!TextOnly)
        r = QRect(0, r.top(), q->viewport()->width(), r.height());
    else {
        int icon = FItem->icon(0).isNull() ? 0 : q->iconSize().width() + 4;
        r = QRect(r.left() + icon, r.top(), q->fontMetrics().horizontalAdvance(FItem->text(0)) + 6,
                  r.height());
    }
    QWidget* client = ClientWidget(TreeView());
    QPoint o = client ? q->viewport()->mapTo(client, r.topLeft()) : r.topLeft();
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

// ---- TTreeNodes ----------------------------------------------------------------------------------

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* n : FRoots)
        delete n;
}

// Walks on from the node found last when that one lies before: a loop over all the nodes takes one
// step a node.
TTreeNode* TTreeNodes::Item(int Index) const {
    TTreeNode* p = GetFirstNode();
    int i = 0;
    if (FFound && FFoundIndex <= Index) {
        p = FFound;
        i = FFoundIndex;
    }
    for (; p && i < Index; ++i)
        p = p->GetNext();
    if (!p || Index < 0)
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    FFound = p;
    FFoundIndex = Index;
    return p;
}

void TTreeNodes::Moved(std::vector<TTreeNode*>& Sib, size_t From) {
    for (size_t i = From; i < Sib.size(); ++i)
        Sib[i]->FIndex = int(i);
    FFound = nullptr;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const std::string& S, void* Ptr) {
    // The first node makes the view: the nodes mirror into its items.
    FOwner->WidgetNeeded();
    auto* n = new TTreeNode(this);
    n->FParent = parent;
    n->FText = S;
    n->Data = Ptr;
    auto& sib = Siblings(parent);
    index = std::clamp(index, 0, int(sib.size()));
    const bool sorting = FOwner->FSortType == stText || FOwner->FSortType == stBoth;
    bool& sorted = SiblingsSorted(parent);
    if (sorting && sorted) {
        // Siblings in order already: the place a stable sort after the insertion would give it,
        // after the equal siblings that stood before the index and before those after it. One
        // search instead of re-sorting and re-inserting every sibling.
        auto less = [this](TTreeNode* a, TTreeNode* b) { return FOwner->CustomSort(a, b) < 0; };
        const int lo = int(std::lower_bound(sib.begin(), sib.end(), n, less) - sib.begin());
        const int hi = int(std::upper_bound(sib.begin(), sib.end(), n, less) - sib.begin());
        index = std::clamp(index, lo, hi);
    } else if (!sorting) {
        sorted = false;
    }
    sib.insert(sib.begin() + index, n);
    ++FCount;
    Moved(sib, size_t(index));
    n->FItem = new TQtTreeItem(n);
    n->FItem->setText(0, ToQString(S));
    if (!FOwner->FReadOnly)
        n->FItem->setFlags(n->FItem->flags() | Qt::ItemIsEditable);
    TTreeViewQt::Sync(FOwner, [&] {
        if (parent)
            parent->FItem->insertChild(index, n->FItem);
        else
            Tree(FOwner)->insertTopLevelItem(index, n->FItem);
    });
    FOwner->UpdateIcon(n);
    if (sorting && !sorted)
        FOwner->SortSiblings(parent, false);
    return n;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Node, const std::string& S, void* Ptr) {
    TTreeNode* parent = Node ? Node->FParent : nullptr;
    return InsertAt(parent, int(Siblings(parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Node, const std::string& S) {
    return InsertAt(Node ? Node->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Node, const std::string& S, void* Ptr) {
    return InsertAt(Node, int(Siblings(Node).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Node, const std::string& S) {
    return InsertAt(Node, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Node, const std::string& S) {
    if (!Node)
        return Add(nullptr, S);
    return InsertAt(Node->FParent, Node->Index(), S, nullptr);
}

// Each node of the subtree is reported (OnDeletion) before it goes; Qt's selection moves silently.
void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node)
        return;
    int gone = 0;
    std::function<void(TTreeNode*)> report = [&](TTreeNode* n) {
        for (TTreeNode* c : n->FChildren)
            report(c);
        FOwner->NotifyTree(TVN_DELETEITEM, n, nullptr);
        ++gone;
    };
    report(Node);
    auto& sib = Siblings(Node->FParent);
    const auto at = sib.erase(sib.begin() + Node->FIndex);
    FCount -= gone;
    Moved(sib, size_t(at - sib.begin()));
    TTreeViewQt::Sync(FOwner, [&] { delete Node->FItem; });
    delete Node;
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!FRoots.empty())
        Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    if (FUpdate++ == 0 && FOwner->WidgetMade())
        Tree(FOwner)->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate() {
    if (--FUpdate == 0 && FOwner->WidgetMade())
        Tree(FOwner)->setUpdatesEnabled(true);
}

// ---- TCustomTreeView -----------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TNativeControl(AOwner), FNodes(std::make_unique<TTreeNodes>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csClickEvents};
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

// The view, made when the handle is first needed or the first node comes: with the indent and
// buttons set before, held still while the nodes are in an update.
void TCustomTreeView::CreateWidget() {
    auto* q = new TTreeViewQt::TView(this);
    // The border is the window's own (WS_EX_CLIENTEDGE); rows scroll whole, as Windows counts them.
    q->setFrameShape(QFrame::NoFrame);
    q->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    q->setHeaderHidden(true);
    q->setColumnCount(1);
    q->setItemDelegate(new TTreeViewQt::TDelegate(this, q));
    q->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    if (FIndent >= 0)
        q->setIndentation(FIndent);
    if (!(FShowRoot && FShowButtons))
        q->setRootIsDecorated(false);
    if (FNodes->FUpdate > 0)
        q->setUpdatesEnabled(false);
    SetWidget(this, q);
    SetDeliversPaint(q);
    QObject::connect(q, &QTreeWidget::currentItemChanged,
                     [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                         if (FSyncing)
                             return;
                         if (NotifyTree(TVN_SELCHANGING, NodeOf(before), NodeOf(now), TVC_BYMOUSE) != 0) {
                             TTreeViewQt::Sync(this, [&] { Tree(this)->setCurrentItem(before); });
                             return;
                         }
                         NotifyTree(TVN_SELCHANGED, NodeOf(before), NodeOf(now), TVC_BYMOUSE);
                     });
    auto expansion = [this](QTreeWidgetItem* i, bool expanded) {
        if (FSyncing)
            return;
        UINT action = expanded ? TVE_EXPAND : TVE_COLLAPSE;
        if (NotifyTree(TVN_ITEMEXPANDING, nullptr, NodeOf(i), action) != 0) {
            TTreeViewQt::Sync(this, [&] { i->setExpanded(!expanded); });
            return;
        }
        NotifyTree(TVN_ITEMEXPANDED, nullptr, NodeOf(i), action);
    };
    QObject::connect(q, &QTreeWidget::itemExpanded, [expansion](QTreeWidgetItem* i) { expansion(i, true); });
    QObject::connect(q, &QTreeWidget::itemCollapsed,
                     [expansion](QTreeWidgetItem* i) { expansion(i, false); });
    QObject::connect(q, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* i, int) {
        if (FSyncing)
            return;
        std::string text = FromQString(i->text(0));
        NotifyTree(TVN_ENDLABELEDIT, nullptr, NodeOf(i), TVC_UNKNOWN, text.c_str());
    });
    q->setContextMenuPolicy(Qt::NoContextMenu);
    QScrollBar* bar = q->verticalScrollBar();
    QObject::connect(bar, &QScrollBar::valueChanged, [this](int) { SyncScrollState(); });
    QObject::connect(bar, &QScrollBar::rangeChanged, [this](int, int) { SyncScrollState(); });
}

TCustomTreeView::~TCustomTreeView() {
    FSyncing = true;
    if (WidgetMade())
        static_cast<TTreeViewQt::TView*>(Tree(this))->Detach();
    FNodes.reset();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (!FToolTips)
        Params.Style |= TVS_NOTOOLTIPS;
}

void TCustomTreeView::CreateWnd() {
    TNativeControl::CreateWnd();
    SyncScrollState();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle)
        return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomTreeView::SetToolTips(bool v) {
    if (v == FToolTips)
        return;
    FToolTips = v;
    RecreateWnd();
}

// Windows' bar in rows: the range covers every visible row, the page the rows in view.
void TCustomTreeView::SyncScrollState() {
    if (!HandleAllocated())
        return;
    QScrollBar* bar = Tree(this)->verticalScrollBar();
    TScrollState& st = ScrollState(Handle(), SB_VERT);
    st.Min = 0;
    st.Page = bar->pageStep();
    st.Max = bar->maximum() + std::max(st.Page - 1, 0);
    st.Pos = bar->value();
}

void TCustomTreeView::VScroll(int Code, int Pos) {
    WidgetNeeded();
    QScrollBar* bar = Tree(this)->verticalScrollBar();
    switch (Code) {
    case SB_LINEUP: bar->setValue(bar->value() - 1); break;
    case SB_LINEDOWN: bar->setValue(bar->value() + 1); break;
    case SB_PAGEUP: bar->setValue(bar->value() - bar->pageStep()); break;
    case SB_PAGEDOWN: bar->setValue(bar->value() + bar->pageStep()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: bar->setValue(Pos); break;
    case SB_TOP: bar->setValue(bar->minimum()); break;
    case SB_BOTTOM: bar->setValue(bar->maximum()); break;
    default: break;
    }
}

LRESULT TCustomTreeView::NotifyTree(int code, TTreeNode* oldNode, TTreeNode* newNode, UINT action,
                                    const char* text) {
    TNMTreeView nm;
    nm.hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    nm.hdr.code = code;
    nm.action = action;
    nm.itemOld = oldNode;
    nm.itemNew = newNode;
    nm.text = text;
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State) {
    bool defaultDraw = true;
    if (OnCustomDrawItem)
        OnCustomDrawItem(this, Node, State, defaultDraw);
    return defaultDraw;
}

TCustomDrawState CustomDrawStateOf(UINT uItemState) {
    static const struct {
        UINT Flag;
        TCustomDrawStateItem Item;
    } states[] = {{CDIS_SELECTED, cdsSelected},
                  {CDIS_GRAYED, cdsGrayed},
                  {CDIS_DISABLED, cdsDisabled},
                  {CDIS_CHECKED, cdsChecked},
                  {CDIS_FOCUS, cdsFocused},
                  {CDIS_DEFAULT, cdsDefault},
                  {CDIS_HOT, cdsHot}};
    TCustomDrawState state;
    for (const auto& s : states)
        if (uItemState & s.Flag)
            state << s.Item;
    return state;
}

void TCustomTreeView::CNCustomDraw(TNMTVCustomDraw& nm, LRESULT& Result) {
    Result = CDRF_DODEFAULT;
    if (nm.dwDrawStage != CDDS_ITEMPREPAINT || !nm.dwItemSpec)
        return;
    TCustomDrawState state = CustomDrawStateOf(nm.uItemState);
    bool selected = state.Contains(cdsSelected);
    FCanvas->SetFont(Font());
    FCanvas->Brush()->SetColor(selected ? clHighlight : Color());
    FCanvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    if (!CustomDrawItem(nm.dwItemSpec, state)) {
        Result = CDRF_SKIPDEFAULT;
        return;
    }
    nm.clrText = ColorToRGB(FCanvas->Font()->Color());
    nm.clrTextBk = ColorToRGB(FCanvas->Brush()->Color());
    Result = CDRF_NEWFONT;
}

void TCustomTreeView::CNNotify(TMessage& Message) {
    if (auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam); hdr && hdr->code == NM_CUSTOMDRAW) {
        CNCustomDraw(*reinterpret_cast<TNMTVCustomDraw*>(Message.LParam), Message.Result);
        return;
    }
    if (auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam); hdr && hdr->code == TVN_GETDISPINFO) {
        auto* di = reinterpret_cast<TNMTVDispInfo*>(Message.LParam);
        if (di->mask & TVIF_IMAGE) {
            GetImageIndex(di->hItem);
            di->iImage = di->hItem->FImageIndex;
        }
        if (di->mask & TVIF_SELECTEDIMAGE) {
            GetSelectedIndex(di->hItem);
            di->iSelectedImage = di->hItem->FSelectedIndex;
        }
        return;
    }
    auto* nm = reinterpret_cast<TNMTreeView*>(Message.LParam);
    if (!nm)
        return;
    TTreeNode* n = nm->itemNew;
    switch (nm->hdr.code) {
    case TVN_SELCHANGING: Message.Result = CanChange(n) ? 0 : 1; return;
    case TVN_SELCHANGED:
        if (n)
            UpdateIcon(n);
        if (nm->itemOld)
            UpdateIcon(nm->itemOld);
        Change(n);
        return;
    case TVN_ITEMEXPANDING:
        Message.Result = (nm->action == TVE_EXPAND ? CanExpand(n) : CanCollapse(n)) ? 0 : 1;
        return;
    case TVN_ITEMEXPANDED:
        // A node's image may follow its expansion.
        UpdateIcon(n);
        if (nm->action == TVE_EXPAND)
            Expand(n);
        else
            Collapse(n);
        return;
    case TVN_BEGINLABELEDIT: Message.Result = CanEdit(n) ? 0 : 1; return;
    case TVN_ENDLABELEDIT: {
        if (!nm->text)
            return;
        std::string s = nm->text;
        Edit(n, s);
        n->SetText(s);
        return;
    }
    case TVN_DELETEITEM: Delete(nm->itemOld); return;
    default: return;
    }
}

TTreeNode* TCustomTreeView::Selected() const {
    return WidgetMade() ? NodeOf(Tree(this)->currentItem()) : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* v) {
    TTreeNode* old = Selected();
    if (v == old || NotifyTree(TVN_SELCHANGING, old, v) != 0)
        return;
    TTreeViewQt::Sync(this, [&] {
        Tree(this)->setCurrentItem(v ? v->FItem : nullptr);
        if (!v)
            Tree(this)->clearSelection();
    });
    NotifyTree(TVN_SELCHANGED, old, v);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange)
        OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
    if (OnExpanded)
        OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
    if (OnCollapsed)
        OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
    bool allow = !FReadOnly;
    if (allow && OnEditing)
        OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, std::string& S) {
    if (OnEdited)
        OnEdited(this, Node, S);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion)
        OnDeletion(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
    if (OnGetImageIndex)
        OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, Node);
}

// The node's icon: its state image (when it has one) beside its image; the selected image shows
// while the node is selected. The images are asked for first (TVN_GETDISPINFO); an image index the
// handler sets on the node asked about is its answer, not a reason to ask again.
void TCustomTreeView::UpdateIcon(TTreeNode* Node) {
    if (!Node->FItem || (!FImages && !FStateImages) || Node == FAsking)
        return;
    TNMTVDispInfo nm;
    nm.hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    nm.hdr.code = TVN_GETDISPINFO;
    nm.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    nm.hItem = Node;
    nm.iImage = Node->FImageIndex;
    nm.iSelectedImage = Node->FSelectedIndex;
    TTreeNode* asking = FAsking;
    FAsking = Node;
    try {
        Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    } catch (...) {
        FAsking = asking;
        throw;
    }
    FAsking = asking;
    auto compose = [&](int index) {
        // State image 0 is never shown: a node in state 0 has no box (as the native control).
        int sw = FStateImages && Node->FStateIndex > 0 ? FStateImages->Width() : 0;
        int iw = FImages && index >= 0 ? FImages->Width() : 0;
        int h = std::max(FImages ? FImages->Height() : 0, FStateImages ? FStateImages->Height() : 0);
        if (sw + iw == 0 || h == 0)
            return QPixmap();
        TBitmap b;
        b.SetSize(sw + iw, h);
        b.Canvas()->Brush()->SetColor(Color());
        b.Canvas()->FillRect(Rect(0, 0, sw + iw, h));
        if (sw)
            FStateImages->Draw(b.Canvas(), 0, 0, Node->FStateIndex);
        if (iw)
            FImages->Draw(b.Canvas(), sw, 0, index);
        return QPixmap::fromImage(b.Image());
    };
    QIcon icon;
    const QPixmap normal = compose(nm.iImage);
    const QPixmap selected = nm.iSelectedImage == nm.iImage ? normal : compose(nm.iSelectedImage);
    if (!normal.isNull())
        icon.addPixmap(normal, QIcon::Normal);
    if (!selected.isNull())
        icon.addPixmap(selected, QIcon::Selected);
    TTreeViewQt::Sync(this, [&] {
        Node->FItem->setIcon(0, icon);
        if (!normal.isNull())
            Tree(this)->setIconSize(normal.size());
    });
}

void TCustomTreeView::SetImages(TImageList* v) {
    FImages = v;
    for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNext())
        UpdateIcon(n);
}

void TCustomTreeView::SetStateImages(TImageList* v) {
    FStateImages = v;
    for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNext())
        UpdateIcon(n);
}

void TCustomTreeView::SetReadOnly(bool v) {
    FReadOnly = v;
    TTreeViewQt::Sync(this, [&] {
        for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNext())
            n->FItem->setFlags(v ? n->FItem->flags() & ~Qt::ItemIsEditable
                                 : n->FItem->flags() | Qt::ItemIsEditable);
    });
}

void TCustomTreeView::SetShowButtons(bool v) {
    FShowButtons = v;
    if (!WidgetMade())
        return;
    Tree(this)->setItemsExpandable(true);
    Tree(this)->setRootIsDecorated(FShowRoot && v);
}

void TCustomTreeView::SetShowRoot(bool v) {
    FShowRoot = v;
    if (!WidgetMade())
        return;
    Tree(this)->setRootIsDecorated(v && FShowButtons);
}

// The style's own indent, before one is set, needs the view.
int TCustomTreeView::Indent() const {
    if (FIndent >= 0)
        return FIndent;
    const_cast<TCustomTreeView*>(this)->WidgetNeeded();
    return Tree(this)->indentation();
}
void TCustomTreeView::SetIndent(int v) {
    FIndent = std::max(0, v);
    if (WidgetMade())
        Tree(this)->setIndentation(FIndent);
}

void TCustomTreeView::SetSortType(TSortType v) {
    FSortType = v;
    if (v == stText || v == stBoth)
        AlphaSort(true);
}

int TCustomTreeView::CustomSort(TTreeNode* Node1, TTreeNode* Node2) {
    if (OnCompare) {
        int c = 0;
        OnCompare(this, Node1, Node2, 0, c);
        return c;
    }
    return AnsiCompareText(Node1->FText, Node2->FText);
}

void TCustomTreeView::SortSiblings(TTreeNode* parent, bool recurse) {
    auto& sib = FNodes->Siblings(parent);
    std::stable_sort(sib.begin(), sib.end(),
                     [this](TTreeNode* a, TTreeNode* b) { return CustomSort(a, b) < 0; });
    FNodes->SiblingsSorted(parent) = true;
    FNodes->Moved(sib, 0);
    // Without a view there are no nodes to move.
    if (!WidgetMade())
        return;
    TTreeViewQt::Sync(this, [&] {
        QTreeWidget* q = Tree(this);
        QTreeWidgetItem* current = q->currentItem();
        for (int i = 0; i < int(sib.size()); ++i) {
            QTreeWidgetItem* it = sib[size_t(i)]->FItem;
            bool expanded = it->isExpanded();
            if (parent) {
                parent->FItem->removeChild(it);
                parent->FItem->insertChild(i, it);
            } else {
                q->takeTopLevelItem(q->indexOfTopLevelItem(it));
                q->insertTopLevelItem(i, it);
            }
            it->setExpanded(expanded);
        }
        if (current)
            q->setCurrentItem(current);
    });
    if (recurse)
        for (TTreeNode* n : sib)
            SortSiblings(n, true);
}

bool TCustomTreeView::AlphaSort(bool Recurse) {
    SortSiblings(nullptr, Recurse);
    return true;
}

TTreeNode* TCustomTreeView::TopItem() const {
    return WidgetMade() ? NodeOf(Tree(this)->itemAt(2, 2)) : nullptr;
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
    QTreeWidget* q = Tree(this);
    if (!q)
        return nullptr;
    QWidget* client = ClientWidget(const_cast<TCustomTreeView*>(this));
    QPoint p = client ? q->viewport()->mapFrom(client, QPoint(X, Y)) : QPoint(X, Y);
    return q->viewport()->rect().contains(p) ? NodeOf(q->itemAt(p)) : nullptr;
}

unsigned TCustomTreeView::GetHitTestInfoAt(int X, int Y) const {
    TTreeNode* n = GetNodeAt(X, Y);
    if (!n)
        return TVHT_NOWHERE;
    TRect text = n->DisplayRect(true);
    if (X >= text.Right)
        return TVHT_ONITEMRIGHT;
    if (X >= text.Left)
        return TVHT_ONITEMLABEL;
    int icon = n->FItem->icon(0).isNull() ? 0 : Tree(this)->iconSize().width() + 4;
    return X >= text.Left - icon ? TVHT_ONITEMICON : TVHT_ONITEMINDENT;
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* n : std::vector<TTreeNode*>(FNodes->FRoots))
        n->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (TTreeNode* n : std::vector<TTreeNode*>(FNodes->FRoots))
        n->Collapse(true);
}

bool TCustomTreeView::IsEditing() const { return FEditing; }

void TCustomTreeView::Dispatch(TMessage& Message) {
    auto node = [&] { return reinterpret_cast<TTreeNode*>(Message.LParam); };
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CN_NOTIFY: CNNotify(Message); return;
    case WM_VSCROLL: VScroll(int(Message.WParamLo()), int(Message.WParamHi())); return;
    case WM_RBUTTONUP: {
        TControlGuard self(this);
        NotifyTree(NM_RCLICK, nullptr, nullptr);
        if (self.Alive())
            TNativeControl::Dispatch(Message);
        return;
    }
    case TVM_GETCOUNT: Message.Result = FNodes->Count(); return;
    case TVM_GETNEXTITEM: {
        TTreeNode* n = node();
        TTreeNode* r = nullptr;
        switch (int(Message.WParam)) {
        case TVGN_ROOT: r = FNodes->GetFirstNode(); break;
        case TVGN_CARET: r = Selected(); break;
        case TVGN_FIRSTVISIBLE: r = TopItem(); break;
        case TVGN_NEXT: r = n ? n->getNextSibling() : nullptr; break;
        case TVGN_PREVIOUS: r = n ? n->getPrevSibling() : nullptr; break;
        case TVGN_PARENT: r = n ? n->Parent() : nullptr; break;
        case TVGN_CHILD: r = n ? n->getFirstChild() : FNodes->GetFirstNode(); break;
        case TVGN_NEXTVISIBLE: r = n ? NodeOf(Tree(this)->itemBelow(n->FItem)) : nullptr; break;
        case TVGN_PREVIOUSVISIBLE: r = n ? NodeOf(Tree(this)->itemAbove(n->FItem)) : nullptr; break;
        default: break;
        }
        Message.Result = reinterpret_cast<LRESULT>(r);
        return;
    }
    case TVM_SELECTITEM:
        if (int(Message.WParam) == TVGN_CARET)
            SetSelected(node());
        else if (int(Message.WParam) == TVGN_FIRSTVISIBLE && node())
            TTreeViewQt::Sync(
                this, [&] { Tree(this)->scrollToItem(node()->FItem, QAbstractItemView::PositionAtTop); });
        Message.Result = 1;
        return;
    case TVM_EXPAND: {
        // As Windows: the message itself sends no expanding notifications.
        TTreeNode* n = node();
        if (!n) {
            Message.Result = 0;
            return;
        }
        int code = int(Message.WParam) & 3;
        bool to = code == TVE_EXPAND || (code == TVE_TOGGLE && !n->Expanded());
        TTreeViewQt::Sync(this, [&] { n->FItem->setExpanded(to); });
        Message.Result = 1;
        return;
    }
    case TVM_GETITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(Message.LParam);
        TTreeNode* n = r ? *reinterpret_cast<TTreeNode**>(r) : nullptr;
        TRect d = n ? n->DisplayRect(Message.WParam != 0) : TRect();
        if (r)
            *r = d;
        Message.Result = d.IsEmpty() ? 0 : 1;
        return;
    }
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TTVHitTestInfo*>(Message.LParam);
        if (!info)
            return;
        info->hItem = GetNodeAt(info->pt.x, info->pt.y);
        info->flags = GetHitTestInfoAt(info->pt.x, info->pt.y);
        Message.Result = reinterpret_cast<LRESULT>(info->hItem);
        return;
    }
    case TVM_ENSUREVISIBLE:
        if (node())
            node()->MakeVisible();
        return;
    case TVM_DELETEITEM:
        if (node())
            FNodes->Delete(node());
        else
            FNodes->Clear();
        Message.Result = 1;
        return;
    case TVM_GETINDENT: Message.Result = Indent(); return;
    case TVM_SETINDENT: SetIndent(int(Message.WParam)); return;
    default: TNativeControl::Dispatch(Message);
    }
}
