// TListView's messages: the LVM_ table answered from the items and columns. Standard controls.
#include <algorithm>

#include "listview.h"

// ---- messages ------------------------------------------------------------------------------------

// One handler per message (or per family of messages that share their work), and the table that
// names them; Dispatch looks a message up here and hands the rest to the native control.
struct TCustomListView::TMessageTable {
    using M = TMessage;
    using V = TCustomListView;
    struct TRow {
        UINT Msg;
        void (*Run)(V& v, M& m);
    };
    static const TRow Rows[];

    static int Index(const M& m) { return int(m.WParam); }
    static TListItem* Item(V& v, int i) {
        return i >= 0 && i < v.FItems->Count() ? v.FItems->FItems[size_t(i)] : nullptr;
    }
    static TListColumn* Column(V& v, int i) {
        return i >= 0 && i < v.FColumns->Count() ? v.FColumns->Items(i) : nullptr;
    }
    static UINT StateOf(V& v, TListItem* it) {
        return it->FState | (v.FCheckboxes ? StateImageBits(it->FChecked) : 0u);
    }

    static void GetDlgCode(V&, M& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }
    static void Size(V& v, M& m) {
        v.TNativeControl::Dispatch(m);
        v.LayoutHeader();
    }
    static void CnNotify(V& v, M& m) { v.CNNotify(m); }
    static void WmNotify(V& v, M& m) { v.WMNotify(m); }
    static void GetHeader(V& v, M& m) { m.Result = reinterpret_cast<LRESULT>(v.FHeader->Handle()); }
    static void GetItemCount(V& v, M& m) { m.Result = v.FItems->Count(); }
    static void GetSelectedCount(V& v, M& m) { m.Result = v.SelCount(); }
    static void DeleteItem(V& v, M& m) {
        m.Result = Item(v, Index(m)) != nullptr;
        if (m.Result)
            v.FItems->Delete(Index(m));
    }
    static void DeleteAllItems(V& v, M& m) {
        v.FItems->Clear();
        m.Result = 1;
    }
    static void GetNextItem(V& v, M& m) {
        UINT flags = UINT(m.LParam);
        m.Result = -1;
        for (int i = std::max(0, Index(m) + 1); i < v.FItems->Count(); ++i) {
            UINT s = v.FItems->FItems[size_t(i)]->FState;
            if ((flags & LVNI_SELECTED && !(s & LVIS_SELECTED)) ||
                (flags & LVNI_FOCUSED && !(s & LVIS_FOCUSED)))
                continue;
            m.Result = i;
            return;
        }
    }
    static void GetItemState(V& v, M& m) {
        TListItem* it = Item(v, Index(m));
        m.Result = LRESULT((it ? StateOf(v, it) : 0u) & UINT(m.LParam));
    }
    static void SetItemState(V& v, M& m) {
        auto* lv = reinterpret_cast<TLVItem*>(m.LParam);
        if (!lv || (Index(m) != -1 && !Item(v, Index(m))))
            return;
        std::vector<TListItem*> targets =
            Index(m) == -1 ? v.FItems->FItems : std::vector<TListItem*>{Item(v, Index(m))};
        for (TListItem* it : targets) {
            if (lv->stateMask & LVIS_SELECTED)
                it->SetSelected(lv->state & LVIS_SELECTED);
            if (lv->stateMask & LVIS_FOCUSED)
                it->SetFocused(lv->state & LVIS_FOCUSED);
            if (lv->stateMask & LVIS_STATEIMAGEMASK && v.FCheckboxes)
                it->SetChecked((lv->state & LVIS_STATEIMAGEMASK) == StateImageBits(true));
        }
        m.Result = 1;
    }
    static void GetItem(V& v, M& m) {
        auto* lv = reinterpret_cast<TLVItem*>(m.LParam);
        TListItem* it = lv ? Item(v, lv->iItem) : nullptr;
        m.Result = it && lv->iSubItem >= 0;
        if (!m.Result)
            return;
        const int sub = lv->iSubItem;
        if (lv->mask & LVIF_TEXT)
            lv->Text = sub == 0                        ? it->FCaption
                       : sub <= it->FSubItems->Count() ? it->FSubItems->Get(sub - 1)
                                                       : "";
        if (lv->mask & LVIF_IMAGE)
            lv->iImage = it->FImageIndex;
        if (lv->mask & LVIF_PARAM)
            lv->lParam = reinterpret_cast<LPARAM>(it);
        if (lv->mask & LVIF_STATE)
            lv->state = StateOf(v, it) & lv->stateMask;
    }
    static void SetItem(V& v, M& m) {
        auto* lv = reinterpret_cast<TLVItem*>(m.LParam);
        TListItem* it = lv ? Item(v, lv->iItem) : nullptr;
        m.Result = it && lv->iSubItem >= 0;
        if (!m.Result)
            return;
        const int sub = lv->iSubItem;
        if (lv->mask & LVIF_TEXT) {
            if (sub == 0)
                it->SetCaption(lv->Text);
            else {
                while (it->FSubItems->Count() < sub)
                    it->FSubItems->Add("");
                it->FSubItems->Put(sub - 1, lv->Text);
            }
        }
        if (lv->mask & LVIF_IMAGE)
            it->SetImageIndex(lv->iImage);
    }
    static void GetColumn(V& v, M& m) {
        auto* lc = reinterpret_cast<TLVColumn*>(m.LParam);
        TListColumn* c = Column(v, Index(m));
        m.Result = lc && c;
        if (!m.Result)
            return;
        if (lc->mask & LVCF_TEXT)
            lc->Text = c->FCaption;
        if (lc->mask & LVCF_WIDTH)
            lc->cx = c->FWidth;
        if (lc->mask & LVCF_FMT)
            lc->fmt = c->FAlignment == taRightJustify ? LVCFMT_RIGHT
                      : c->FAlignment == taCenter     ? LVCFMT_CENTER
                                                      : LVCFMT_LEFT;
        if (lc->mask & LVCF_IMAGE)
            lc->iImage = c->FImageIndex;
        if (lc->mask & LVCF_SUBITEM)
            lc->iSubItem = Index(m);
    }
    // LVM_SETCOLUMNA on an existing column, LVM_INSERTCOLUMNA on a new one at the index.
    static void SetColumn(V& v, M& m) {
        const bool insert = m.Msg == LVM_INSERTCOLUMNA;
        auto* lc = reinterpret_cast<TLVColumn*>(m.LParam);
        TListColumn* c = insert ? nullptr : Column(v, Index(m));
        if (!lc || (!c && !insert)) {
            m.Result = insert ? -1 : 0;
            return;
        }
        if (!c) {
            int at = std::clamp(Index(m), 0, v.FColumns->Count());
            v.FColumns->FItems.insert(v.FColumns->FItems.begin() + at,
                                      std::unique_ptr<TListColumn>(new TListColumn(v.FColumns.get())));
            c = v.FColumns->Items(at);
        }
        if (lc->mask & LVCF_TEXT)
            c->FCaption = lc->Text;
        if (lc->mask & LVCF_WIDTH)
            c->FWidth = std::max(lc->cx, c->FMinWidth);
        if (lc->mask & LVCF_FMT) {
            int j = lc->fmt & LVCFMT_JUSTIFYMASK;
            c->FAlignment = j == LVCFMT_RIGHT    ? taRightJustify
                            : j == LVCFMT_CENTER ? taCenter
                                                 : taLeftJustify;
        }
        if (lc->mask & LVCF_IMAGE)
            c->FImageIndex = lc->iImage;
        v.ColumnsChanged();
        m.Result = insert ? c->Index() : 1;
    }
    static void DeleteColumn(V& v, M& m) {
        m.Result = Column(v, Index(m)) != nullptr;
        v.FColumns->Delete(Index(m));
    }
    static void GetColumnWidth(V& v, M& m) {
        TListColumn* c = Column(v, Index(m));
        m.Result = c ? c->Width() : 0;
    }
    static void SetColumnWidth(V& v, M& m) {
        if (TListColumn* c = Column(v, Index(m))) {
            c->SetWidth(int(m.LParam));
            m.Result = 1;
        }
    }
    // LVM_GETITEMRECT, and LVM_GETSUBITEMRECT with the subitem in the rectangle's Top.
    static void GetItemRect(V& v, M& m) {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        if (!r)
            return;
        int sub = m.Msg == LVM_GETSUBITEMRECT ? r->Top : 0;
        *r = v.ItemRect(Item(v, Index(m)), sub, r->Left);
        m.Result = r->IsEmpty() ? 0 : 1;
    }
    static void HitTest(V& v, M& m) {
        auto* h = reinterpret_cast<TLVHitTestInfo*>(m.LParam);
        if (!h)
            return;
        TListItem* it = v.GetItemAt(h->pt.x, h->pt.y);
        h->iItem = it ? it->Index() : -1;
        h->flags = v.GetHitTestInfoAt(h->pt.x, h->pt.y);
        m.Result = h->iItem;
    }
    static void EnsureVisible(V& v, M& m) {
        if (TListItem* it = Item(v, Index(m)))
            it->MakeVisible(m.LParam != 0);
        m.Result = 1;
    }
    static void Scroll(V& v, M& m) {
        v.Scroll(int(m.WParam), int(m.LParam));
        m.Result = 1;
    }
    static void GetTopIndex(V& v, M& m) { m.Result = v.TopItem() ? v.TopItem()->Index() : 0; }
    static void GetCountPerPage(V& v, M& m) { m.Result = v.VisibleRowCount(); }
    static void EditLabel(V& v, M& m) { m.Result = Item(v, Index(m)) && Item(v, Index(m))->EditCaption(); }
    static void SortItems(V& v, M& m) {
        auto proc = reinterpret_cast<TLVCompare>(m.LParam);
        if (!proc)
            return;
        LPARAM data = LPARAM(m.WParam);
        v.SortItems([&](TListItem* a, TListItem* b) {
            return proc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), data);
        });
        m.Result = 1;
    }
    static void SetImageList(V& v, M& m) {
        auto* list = reinterpret_cast<TImageList*>(m.LParam);
        TImageList* old = nullptr;
        if (Index(m) == LVSIL_SMALL) {
            old = v.FSmallImages;
            v.SetSmallImages(list);
        } else if (Index(m) == LVSIL_STATE) {
            old = v.FStateImages;
            v.SetStateImages(list);
        } else {
            old = v.FLargeImages;
            v.FLargeImages = list;
        }
        m.Result = reinterpret_cast<LRESULT>(old);
    }
    static void GetExtendedStyle(V& v, M& m) {
        m.Result = (v.FCheckboxes ? LVS_EX_CHECKBOXES : 0u) | (v.FGridLines ? LVS_EX_GRIDLINES : 0u) |
                   (v.FRowSelect ? LVS_EX_FULLROWSELECT : 0u);
    }
    static void SetExtendedStyle(V& v, M& m) {
        UINT mask = m.WParam ? UINT(m.WParam) : ~0u, styles = UINT(m.LParam);
        m.Result = v.Perform(LVM_GETEXTENDEDLISTVIEWSTYLE);
        if (mask & LVS_EX_CHECKBOXES)
            v.SetCheckboxes(styles & LVS_EX_CHECKBOXES);
        if (mask & LVS_EX_GRIDLINES)
            v.FGridLines = styles & LVS_EX_GRIDLINES;
        if (mask & LVS_EX_FULLROWSELECT)
            v.FRowSelect = styles & LVS_EX_FULLROWSELECT;
    }
    // LVM_SETBKCOLOR, LVM_SETTEXTCOLOR, LVM_SETTEXTBKCOLOR.
    static void SetColor(V& v, M& m) {
        TColor c = TColor(m.LParam);
        (m.Msg == LVM_SETBKCOLOR     ? v.FBkColor
         : m.Msg == LVM_SETTEXTCOLOR ? v.FTextColor
                                     : v.FTextBkColor) = c;
        if (m.Msg != LVM_SETTEXTBKCOLOR)
            v.ShowColor(m.Msg == LVM_SETTEXTCOLOR, c);
        m.Result = 1;
    }
    static void GetBkColor(V& v, M& m) { m.Result = LRESULT(v.FBkColor); }
    static void GetTextColor(V& v, M& m) { m.Result = LRESULT(v.FTextColor); }
    static void GetTextBkColor(V& v, M& m) { m.Result = LRESULT(v.FTextBkColor); }
};

const TCustomListView::TMessageTable::TRow TCustomListView::TMessageTable::Rows[] = {
    {WM_GETDLGCODE, GetDlgCode},
    {WM_SIZE, Size},
    {CN_NOTIFY, CnNotify},
    {WM_NOTIFY, WmNotify},
    {LVM_GETHEADER, GetHeader},
    {LVM_GETITEMCOUNT, GetItemCount},
    {LVM_GETSELECTEDCOUNT, GetSelectedCount},
    {LVM_DELETEITEM, DeleteItem},
    {LVM_DELETEALLITEMS, DeleteAllItems},
    {LVM_GETNEXTITEM, GetNextItem},
    {LVM_GETITEMSTATE, GetItemState},
    {LVM_SETITEMSTATE, SetItemState},
    {LVM_GETITEMA, GetItem},
    {LVM_SETITEMA, SetItem},
    {LVM_GETCOLUMNA, GetColumn},
    {LVM_SETCOLUMNA, SetColumn},
    {LVM_INSERTCOLUMNA, SetColumn},
    {LVM_DELETECOLUMN, DeleteColumn},
    {LVM_GETCOLUMNWIDTH, GetColumnWidth},
    {LVM_SETCOLUMNWIDTH, SetColumnWidth},
    {LVM_GETITEMRECT, GetItemRect},
    {LVM_GETSUBITEMRECT, GetItemRect},
    {LVM_HITTEST, HitTest},
    {LVM_ENSUREVISIBLE, EnsureVisible},
    {LVM_SCROLL, Scroll},
    {LVM_GETTOPINDEX, GetTopIndex},
    {LVM_GETCOUNTPERPAGE, GetCountPerPage},
    {LVM_EDITLABELA, EditLabel},
    {LVM_SORTITEMS, SortItems},
    {LVM_SETIMAGELIST, SetImageList},
    {LVM_GETEXTENDEDLISTVIEWSTYLE, GetExtendedStyle},
    {LVM_SETEXTENDEDLISTVIEWSTYLE, SetExtendedStyle},
    {LVM_SETBKCOLOR, SetColor},
    {LVM_SETTEXTCOLOR, SetColor},
    {LVM_SETTEXTBKCOLOR, SetColor},
    {LVM_GETBKCOLOR, GetBkColor},
    {LVM_GETTEXTCOLOR, GetTextColor},
    {LVM_GETTEXTBKCOLOR, GetTextBkColor},
};

std::vector<UINT> TCustomListView::OwnMessages() {
    std::vector<UINT> v;
    for (const auto& row : TMessageTable::Rows)
        v.push_back(row.Msg);
    return v;
}

void TCustomListView::Dispatch(TMessage& Message) {
    for (const auto& row : TMessageTable::Rows)
        if (row.Msg == Message.Msg) {
            row.Run(*this, Message);
            return;
        }
    TNativeControl::Dispatch(Message);
}
