// Window scroll bars (real Qt scroll bars placed in the frame) and the Win32 scroll functions over
// them and over scroll-bar controls; ScrollWindow(Ex). GUI core (platform/vcl).
#include <QScrollBar>

#include <algorithm>

#include "handle.h"
#include "winapi.h"

namespace {

DWORD StyleBit(int Bar) { return Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

// The Qt scroll bar behind a bar of h: a window bar in the frame, or the control's own bar.
QScrollBar* BarWidget(HWND h, int Bar) {
    if (Bar == SB_CTL)
        return qobject_cast<QScrollBar*>(h->Native);
    return Bar == SB_HORZ || Bar == SB_VERT ? h->Bars[Bar] : nullptr;
}

// Puts the state into the Qt bar: Windows' last position is nMax - (nPage - 1).
void SyncBar(HWND h, int Bar) {
    QScrollBar* sb = BarWidget(h, Bar);
    if (!sb)
        return;
    const TScrollState& st = h->Scroll[Bar];
    int top = std::max(st.Min, st.Max - std::max(st.Page - 1, 0));
    QSignalBlocker block(sb);
    sb->setRange(st.Min, top);
    sb->setPageStep(std::max(st.Page, 1));
    sb->setSingleStep(1);
    if (!st.Tracking)
        sb->setValue(st.Pos);
    sb->setEnabled(st.Enabled);
}

int Clamp(const TScrollState& st, int pos) {
    int top = std::max(st.Min, st.Max - std::max(st.Page - 1, 0));
    return std::clamp(pos, st.Min, top);
}

// Shows or hides a window bar through its style bit; the client area changes with it.
void ShowBar(TWinControl* c, int Bar, bool show) {
    DWORD& style = TWinControlAccess::Style(c);
    DWORD bit = StyleBit(Bar);
    if (((style & bit) != 0) == show)
        return;
    style = show ? style | bit : style & ~bit;
    TWinControlAccess::FrameChanged(c);
}

bool ValidBar(HWND h, int Bar) {
    return IsLiveHandle(h) && (Bar == SB_HORZ || Bar == SB_VERT || (Bar == SB_CTL && BarWidget(h, SB_CTL)));
}

} // namespace

TScrollState& ScrollState(HWND h, int Bar) { return h->Scroll[std::clamp(Bar, 0, 2)]; }

void PlaceScrollBars(TWinControl* c) {
    if (!c->HandleAllocated())
        return;
    HWND h = c->Handle();
    DWORD style = TWinControlAccess::Style(c);
    TRect box = TWinControlAccess::ClientBox(c);
    for (int bar : {SB_HORZ, SB_VERT}) {
        bool shown = style & StyleBit(bar);
        QScrollBar*& sb = h->Bars[bar];
        if (!shown) {
            if (sb)
                sb->hide();
            continue;
        }
        if (!sb) {
            sb = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, h);
            sb->setFocusPolicy(Qt::NoFocus);
            ConnectScrollBar(c, bar, sb);
            SyncBar(h, bar);
        }
        if (bar == SB_VERT)
            sb->setGeometry(box.Right, box.Top, GetSystemMetrics(SM_CXVSCROLL), box.Height());
        else
            sb->setGeometry(box.Left, box.Bottom, box.Width(), GetSystemMetrics(SM_CYHSCROLL));
        sb->show();
    }
}

int SetScrollInfo(HWND h, int Bar, const TScrollInfo* Info, BOOL) {
    if (!Info || !ValidBar(h, Bar))
        return 0;
    TScrollState& st = h->Scroll[Bar];
    if (Info->fMask & SIF_RANGE) {
        st.Min = Info->nMin;
        st.Max = Info->nMax;
    }
    if (Info->fMask & SIF_PAGE)
        st.Page = int(std::min<UINT>(Info->nPage, UINT(std::max(st.Max - st.Min + 1, 0))));
    if (Info->fMask & SIF_POS)
        st.Pos = Info->nPos;
    st.Pos = Clamp(st, st.Pos);
    if (Bar != SB_CTL && (Info->fMask & (SIF_RANGE | SIF_PAGE))) {
        // A bar with nothing to scroll goes away, or stays disabled when asked to.
        bool scrollable = st.Max > st.Min && (st.Page == 0 || st.Page <= st.Max - st.Min);
        bool keep = scrollable || (Info->fMask & SIF_DISABLENOSCROLL);
        st.Enabled = scrollable;
        ShowBar(h->Control(), Bar, keep);
        if (!IsLiveHandle(h))
            return 0;
    }
    SyncBar(h, Bar);
    return st.Pos;
}

BOOL GetScrollInfo(HWND h, int Bar, TScrollInfo* Info) {
    if (!Info || !ValidBar(h, Bar))
        return 0;
    const TScrollState& st = h->Scroll[Bar];
    if (Info->fMask & SIF_RANGE) {
        Info->nMin = st.Min;
        Info->nMax = st.Max;
    }
    if (Info->fMask & SIF_PAGE)
        Info->nPage = UINT(st.Page);
    if (Info->fMask & SIF_POS)
        Info->nPos = st.Pos;
    if (Info->fMask & SIF_TRACKPOS)
        Info->nTrackPos = st.Tracking ? st.TrackPos : st.Pos;
    return 1;
}

int SetScrollPos(HWND h, int Bar, int Pos, BOOL Redraw) {
    if (!ValidBar(h, Bar))
        return 0;
    int old = h->Scroll[Bar].Pos;
    TScrollInfo si;
    si.fMask = SIF_POS;
    si.nPos = Pos;
    SetScrollInfo(h, Bar, &si, Redraw);
    return old;
}

int GetScrollPos(HWND h, int Bar) { return ValidBar(h, Bar) ? h->Scroll[Bar].Pos : 0; }

BOOL SetScrollRange(HWND h, int Bar, int Min, int Max, BOOL Redraw) {
    if (!ValidBar(h, Bar))
        return 0;
    TScrollInfo si;
    si.fMask = SIF_RANGE;
    si.nMin = Min;
    si.nMax = Max;
    SetScrollInfo(h, Bar, &si, Redraw);
    return 1;
}

BOOL GetScrollRange(HWND h, int Bar, int* Min, int* Max) {
    if (!ValidBar(h, Bar) || !Min || !Max)
        return 0;
    *Min = h->Scroll[Bar].Min;
    *Max = h->Scroll[Bar].Max;
    return 1;
}

BOOL ShowScrollBar(HWND h, int Bar, BOOL Show) {
    if (!IsLiveHandle(h))
        return 0;
    if (Bar == SB_CTL) {
        if (QScrollBar* sb = BarWidget(h, SB_CTL))
            sb->setVisible(Show != 0);
        return 1;
    }
    for (int bar : {SB_HORZ, SB_VERT})
        if (Bar == bar || Bar == SB_BOTH) {
            ShowBar(h->Control(), bar, Show != 0);
            if (!IsLiveHandle(h))
                return 0;
        }
    return 1;
}

// Qt disables a whole bar: one arrow disabled leaves it enabled.
BOOL EnableScrollBar(HWND h, UINT Bar, UINT Arrows) {
    if (!IsLiveHandle(h))
        return 0;
    for (int bar : {SB_HORZ, SB_VERT, SB_CTL})
        if (int(Bar) == bar || (Bar == SB_BOTH && bar != SB_CTL)) {
            if (bar == SB_CTL && !BarWidget(h, SB_CTL))
                continue;
            h->Scroll[bar].Enabled = Arrows != ESB_DISABLE_BOTH;
            SyncBar(h, bar);
        }
    return 1;
}

void TWinControlAccess::FrameChanged(TWinControl* c) {
    TRect before = c->GetClientRect();
    c->UpdateClientGeometry();
    TRect after = c->GetClientRect();
    if (c->HandleAllocated())
        c->Handle()->update();
    if (before.Width() != after.Width() || before.Height() != after.Height())
        c->Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.Width(), after.Height()));
}

BOOL ScrollWindow(HWND h, int dx, int dy, const TRect* Scroll, const TRect* Clip) {
    return ScrollWindowEx(h, dx, dy, Scroll, Clip, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (Scroll ? 0u : UINT(SW_SCROLLCHILDREN))) != 0;
}

int ScrollWindowEx(HWND h, int dx, int dy, const TRect* Scroll, const TRect* Clip, HRGN, TRect* UpdateRect,
                   UINT Flags) {
    TWinControl* c = FindControl(h);
    if (!c || !IsLiveHandle(h))
        return 0;
    QWidget* client = h->Client();
    QRect area =
        Scroll ? QRect(Scroll->Left, Scroll->Top, Scroll->Width(), Scroll->Height()) : client->rect();
    if (Clip)
        area &= QRect(Clip->Left, Clip->Top, Clip->Width(), Clip->Height());
    // Pixels move inside the area; the uncovered strip is repainted.
    client->scroll(dx, dy, area);
    if (UpdateRect) {
        QRect moved = area.translated(dx, dy) & area;
        QRect open = area;
        if (dx > 0)
            open.setRight(area.left() + dx - 1);
        else if (dx < 0)
            open.setLeft(area.right() + dx + 1);
        else if (dy > 0)
            open.setBottom(area.top() + dy - 1);
        else if (dy < 0)
            open.setTop(area.bottom() + dy + 1);
        if (moved.isEmpty())
            open = area;
        *UpdateRect = Rect(open.left(), open.top(), open.right() + 1, open.bottom() + 1);
    }
    if (Flags & SW_SCROLLCHILDREN) {
        for (int i = 0; i < c->ControlCount(); ++i) {
            auto* w = dynamic_cast<TWinControl*>(c->Controls(i));
            if (!w || IsPopupWindow(w))
                continue;
            TPoint at(w->Left(), w->Top());
            if (!Scroll || PtInRect(*Scroll, at))
                w->SetBounds(w->Left() + dx, w->Top() + dy, w->Width(), w->Height());
        }
    }
    return 2; // SIMPLEREGION
}
