// TListView's messages: the LVM_ table answered from the items and columns. Standard controls.
#include <algorithm>

#include "listview.h"

// ---- messages ------------------------------------------------------------------------------------

void TCustomListView::Dispatch(TMessage& Message) {
    auto index = [&] { return int(Message.WParam); };
    auto item = [&](int i) { return i >= 0 && i < FItems->Count() ? FItems->FItems[size_t(i)] : nullptr; };
    auto column = [&](int i) { return i >= 0 && i < FColumns->Count() ? FColumns->Items(i) : nullptr; };
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SIZE:
        TNativeControl::Dispatch(Message);
        LayoutHeader();
        return;
    case CN_NOTIFY: CNNotify(Message); return;
    case WM_NOTIFY: WMNotify(Message); return;
    case LVM_GETHEADER: Message.Result = reinterpret_cast<LRESULT>(FHeader->Handle()); return;
    case LVM_GETITEMCOUNT: Message.Result = FItems->Count(); return;
    case LVM_GETSELECTEDCOUNT: Message.Result = SelCount(); return;
    case LVM_DELETEITEM:
        Message.Result = item(index()) != nullptr;
        if (Message.Result)
            FItems->Delete(index());
        return;
    case LVM_DELETEALLITEMS:
        FItems->Clear();
        Message.Result = 1;
        return;
    case LVM_GETNEXTITEM: {
        UINT flags = UINT(Message.LParam);
        Message.Result = -1;
        for (int i = std::max(0, index() + 1); i < FItems->Count(); ++i) {
            UINT s = FItems->FItems[size_t(i)]->FState;
            if ((flags & LVNI_SELECTED && !(s & LVIS_SELECTED)) ||
                (flags & LVNI_FOCUSED && !(s & LVIS_FOCUSED)))
                continue;
            Message.Result = i;
            return;
        }
        return;
    }
    case LVM_GETITEMSTATE: {
        TListItem* it = item(index());
        UINT s = it ? it->FState | (FCheckboxes ? StateImageBits(it->FChecked) : 0u) : 0u;
        Message.Result = LRESULT(s & UINT(Message.LParam));
        return;
    }
    case LVM_SETITEMSTATE: {
        auto* lv = reinterpret_cast<TLVItem*>(Message.LParam);
        if (!lv || (index() != -1 && !item(index())))
            return;
        std::vector<TListItem*> targets =
            index() == -1 ? FItems->FItems : std::vector<TListItem*>{item(index())};
        for (TListItem* it : targets) {
            if (lv->stateMask & LVIS_SELECTED)
                it->SetSelected(lv->state & LVIS_SELECTED);
            if (lv->stateMask & LVIS_FOCUSED)
                it->SetFocused(lv->state & LVIS_FOCUSED);
            if (lv->stateMask & LVIS_STATEIMAGEMASK && FCheckboxes)
                it->SetChecked((lv->state & LVIS_STATEIMAGEMASK) == StateImageBits(true));
        }
        Message.Result = 1;
        return;
    }
    case LVM_GETITEMA:
    case LVM_SETITEMA: {
        auto* lv = reinterpret_cast<TLVItem*>(Message.LParam);
        TListItem* it = lv ? item(lv->iItem) : nullptr;
        if (!it || lv->iSubItem < 0) {
            Message.Result = 0;
            return;
        }
        int sub = lv->iSubItem;
        if (Message.Msg == LVM_GETITEMA) {
            if (lv->mask & LVIF_TEXT)
                lv->Text = sub == 0                        ? it->FCaption
                           : sub <= it->FSubItems->Count() ? it->FSubItems->Get(sub - 1)
                                                           : "";
            if (lv->mask & LVIF_IMAGE)
                lv->iImage = it->FImageIndex;
            if (lv->mask & LVIF_PARAM)
                lv->lParam = reinterpret_cast<LPARAM>(it);
            if (lv->mask & LVIF_STATE)
                lv->state = (it->FState | (FCheckboxes ? StateImageBits(it->FChecked) : 0u)) & lv->stateMask;
        } else {
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
        Message.Result = 1;
        return;
    }
    case LVM_GETCOLUMNA:
    case LVM_SETCOLUMNA:
    case LVM_INSERTCOLUMNA: {
        auto* lc = reinterpret_cast<TLVColumn*>(Message.LParam);
        TListColumn* c = Message.Msg == LVM_INSERTCOLUMNA ? nullptr : column(index());
        if (!lc || (!c && Message.Msg != LVM_INSERTCOLUMNA)) {
            Message.Result = Message.Msg == LVM_INSERTCOLUMNA ? -1 : 0;
            return;
        }
        if (Message.Msg == LVM_GETCOLUMNA) {
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
                lc->iSubItem = index();
            Message.Result = 1;
            return;
        }
        if (!c) {
            int at = std::clamp(index(), 0, FColumns->Count());
            FColumns->FItems.insert(FColumns->FItems.begin() + at,
                                    std::unique_ptr<TListColumn>(new TListColumn(FColumns.get())));
            c = FColumns->Items(at);
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
        ColumnsChanged();
        Message.Result = Message.Msg == LVM_INSERTCOLUMNA ? c->Index() : 1;
        return;
    }
    case LVM_DELETECOLUMN:
        Message.Result = column(index()) != nullptr;
        FColumns->Delete(index());
        return;
    case LVM_GETCOLUMNWIDTH: Message.Result = column(index()) ? column(index())->Width() : 0; return;
    case LVM_SETCOLUMNWIDTH:
        if (TListColumn* c = column(index())) {
            c->SetWidth(int(Message.LParam));
            Message.Result = 1;
        }
        return;
    case LVM_GETITEMRECT:
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(Message.LParam);
        if (!r)
            return;
        int sub = Message.Msg == LVM_GETSUBITEMRECT ? r->Top : 0;
        *r = ItemRect(item(index()), sub, r->Left);
        Message.Result = r->IsEmpty() ? 0 : 1;
        return;
    }
    case LVM_HITTEST: {
        auto* h = reinterpret_cast<TLVHitTestInfo*>(Message.LParam);
        if (!h)
            return;
        TListItem* it = GetItemAt(h->pt.x, h->pt.y);
        h->iItem = it ? it->Index() : -1;
        h->flags = GetHitTestInfoAt(h->pt.x, h->pt.y);
        Message.Result = h->iItem;
        return;
    }
    case LVM_ENSUREVISIBLE:
        if (TListItem* it = item(index()))
            it->MakeVisible(Message.LParam != 0);
        Message.Result = 1;
        return;
    case LVM_SCROLL:
        Scroll(int(Message.WParam), int(Message.LParam));
        Message.Result = 1;
        return;
    case LVM_GETTOPINDEX: Message.Result = TopItem() ? TopItem()->Index() : 0; return;
    case LVM_GETCOUNTPERPAGE: Message.Result = VisibleRowCount(); return;
    case LVM_EDITLABELA: Message.Result = item(index()) && item(index())->EditCaption(); return;
    case LVM_SORTITEMS: {
        auto proc = reinterpret_cast<TLVCompare>(Message.LParam);
        if (!proc)
            return;
        LPARAM data = LPARAM(Message.WParam);
        SortItems([&](TListItem* a, TListItem* b) {
            return proc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), data);
        });
        Message.Result = 1;
        return;
    }
    case LVM_SETIMAGELIST: {
        auto* list = reinterpret_cast<TImageList*>(Message.LParam);
        TImageList* old = nullptr;
        if (index() == LVSIL_SMALL) {
            old = FSmallImages;
            SetSmallImages(list);
        } else if (index() == LVSIL_STATE) {
            old = FStateImages;
            SetStateImages(list);
        } else {
            old = FLargeImages;
            FLargeImages = list;
        }
        Message.Result = reinterpret_cast<LRESULT>(old);
        return;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        Message.Result = (FCheckboxes ? LVS_EX_CHECKBOXES : 0u) | (FGridLines ? LVS_EX_GRIDLINES : 0u) |
                         (FRowSelect ? LVS_EX_FULLROWSELECT : 0u);
        return;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        UINT mask = Message.WParam ? UINT(Message.WParam) : ~0u, v = UINT(Message.LParam);
        Message.Result = Perform(LVM_GETEXTENDEDLISTVIEWSTYLE);
        if (mask & LVS_EX_CHECKBOXES)
            SetCheckboxes(v & LVS_EX_CHECKBOXES);
        if (mask & LVS_EX_GRIDLINES)
            FGridLines = v & LVS_EX_GRIDLINES;
        if (mask & LVS_EX_FULLROWSELECT)
            FRowSelect = v & LVS_EX_FULLROWSELECT;
        return;
    }
    case LVM_SETBKCOLOR:
    case LVM_SETTEXTCOLOR:
    case LVM_SETTEXTBKCOLOR: {
        TColor c = TColor(Message.LParam);
        (Message.Msg == LVM_SETBKCOLOR     ? FBkColor
         : Message.Msg == LVM_SETTEXTCOLOR ? FTextColor
                                           : FTextBkColor) = c;
        if (Message.Msg != LVM_SETTEXTBKCOLOR)
            ShowColor(Message.Msg == LVM_SETTEXTCOLOR, c);
        Message.Result = 1;
        return;
    }
    case LVM_GETBKCOLOR: Message.Result = LRESULT(FBkColor); return;
    case LVM_GETTEXTCOLOR: Message.Result = LRESULT(FTextColor); return;
    case LVM_GETTEXTBKCOLOR: Message.Result = LRESULT(FTextBkColor); return;
    default: TNativeControl::Dispatch(Message);
    }
}
