// The scroll-bar control: a Qt scroll bar inside the handle, driven through the Win32 scroll
// functions (SB_CTL) and moved by the scroll messages its parent reflects back. Standard controls.
#include <QScrollBar>

#include "handle.h"
#include "stdctrls.h"
#include "stdctrls_qt.h"
#include "winapi.h"

TScrollBar::TScrollBar(TComponent* AOwner) : TNativeControl(AOwner) {
    auto* bar = new QScrollBar(Qt::Horizontal);
    SetWidget(this, bar);
    ConnectScrollBar(this, SB_CTL, bar);
    FControlStyle = TControlStyle{csFramed, csDoubleClicks};
    SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
    SetColor(clBtnFace);
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::CreateWnd() {
    TNativeControl::CreateWnd();
    PushToHandle();
}

void TScrollBar::PushToHandle() {
    if (!HandleAllocated())
        return;
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = FMin;
    si.nMax = FMax;
    si.nPage = UINT(FPageSize);
    si.nPos = FPosition;
    SetScrollInfo(Handle(), SB_CTL, &si, true);
}

void TScrollBar::SetKind(TScrollBarKind v) {
    if (FKind == v)
        return;
    FKind = v;
    if (auto* bar = WidgetAs<QScrollBar>(this))
        bar->setOrientation(v == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    // A bar turned on its side keeps its shape.
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin)
        throw EInvalidOperation("Scroll bar property out of range");
    FMin = AMin;
    FMax = AMax;
    APosition = std::clamp(APosition, FMin, Top());
    bool changed = APosition != FPosition;
    FPosition = APosition;
    PushToHandle();
    if (changed)
        Change();
}

void TScrollBar::SetPageSize(int v) {
    if (v == FPageSize || v < 0 || v > FMax - FMin + 1)
        return;
    FPageSize = v;
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Change() {
    if (OnChange)
        OnChange(this);
}

void TScrollBar::DoScroll(TWMScroll& Message) {
    int pos = FPosition;
    TScrollCode code = scEndScroll;
    switch (Message.ScrollCode) {
    case SB_LINEUP:
        code = scLineUp;
        pos -= FSmallChange;
        break;
    case SB_LINEDOWN:
        code = scLineDown;
        pos += FSmallChange;
        break;
    case SB_PAGEUP:
        code = scPageUp;
        pos -= FLargeChange;
        break;
    case SB_PAGEDOWN:
        code = scPageDown;
        pos += FLargeChange;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        code = Message.ScrollCode == SB_THUMBTRACK ? scTrack : scPosition;
        // The message carries 16 bits; the bar knows the whole place.
        TScrollInfo si;
        si.fMask = SIF_TRACKPOS;
        pos = HandleAllocated() && GetScrollInfo(Handle(), SB_CTL, &si) ? si.nTrackPos : Message.Pos;
        break;
    }
    case SB_TOP:
        code = scTop;
        pos = FMin;
        break;
    case SB_BOTTOM:
        code = scBottom;
        pos = FMax;
        break;
    default: break;
    }
    pos = std::clamp(pos, FMin, Top());
    TControlGuard self(this);
    Scroll(code, pos);
    if (self.Alive())
        SetPosition(pos);
}

void TScrollBar::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        TWMScroll t(Message);
        DoScroll(t);
        return;
    }
    TNativeControl::Dispatch(Message);
}
