// TWinControl, TGraphicControl and TCustomControl: window handles, the non-client frame, painting,
// alignment, focus, keys and the routing of mouse messages to graphic children. GUI core.
#include <QApplication>
#include <QPainter>
#include <QScopedValueRollback>
#include <QVariant>
#include <QWidget>

#include <algorithm>

#include "controls.h"
#include "cp1251.h"
#include "dragdock.h"
#include "forms.h"
#include "handle.h"
#include "winapi.h"
#include "graphics_qt.h"

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
    FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
    // Handlers that run while the children go must already see this as gone.
    *FAlive = false;
    // The dock manager gives the window procedure back; clients docked here float from now on.
    FDockManager.reset();
    for (TControl* c : FDockClients)
        c->FHostDockSite = nullptr;
    FDockClients.clear();
    // The children go with the window, whoever owns them: no child outlives its parent window.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    // Leave the parent while still a TWinControl, so it drops this from its tab order too.
    if (Parent())
        Parent()->RemoveControl(this);
    FreeHandle();
}

// ---- handle ----------------------------------------------------------------------------------------

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    if (!FHandle) {
        CreateWnd();
        CreateChildHandles();
    }
}

// Hidden children, such as the controls of pages not shown, get their windows when first shown
// (UpdateShowing) or asked for, as the VCL leaves them.
void TWinControl::CreateChildHandles() {
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            w->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams();
    Params.Caption = Text();
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TWinControl::CurrentStyles(DWORD& Style, DWORD& ExStyle) {
    if (!FHandle) {
        TCreateParams p;
        CreateParams(p);
        FWndStyle = p.Style;
        FWndExStyle = p.ExStyle;
    }
    Style = FWndStyle;
    ExStyle = FWndExStyle;
}

void TWinControl::CreateWnd() {
    TApplication::QtApp();
    TCreateParams p;
    CreateParams(p);
    FWndStyle = p.Style;
    FWndExStyle = p.ExStyle;
    bool popup = IsPopupWindow(this);
    QWidget* parentWidget = FParent ? ClientWidget(FParent) : nullptr;
    // A popup is a top-level window over its owner's window, placed exactly where asked and never
    // activated: the tool-tip kind of window (not Qt's popup, which grabs the input and closes itself).
    if (popup && parentWidget)
        parentWidget = parentWidget->window();
    FHandle = new TWidgetHandle(this, parentWidget);
    if (popup) {
        FHandle->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        FHandle->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    // A window made after its later siblings' goes under them: the stacking follows the controls'
    // order whenever each window is made.
    if (FParent && !popup) {
        const auto& v = FParent->FControls;
        for (auto it = std::find(v.begin(), v.end(), this); it != v.end(); ++it)
            if (auto* w = dynamic_cast<TWinControl*>(*it);
                w && w != this && w->FHandle && !IsPopupWindow(w)) {
                FHandle->stackUnder(w->FHandle);
                break;
            }
    }
    FHandle->setEnabled(Enabled());
    if (IsTopLevel())
        FHandle->setWindowTitle(QString::fromStdString(Cp1251ToUtf8(Text())));
    UpdateHandleGeometry();
    Perform(WM_CREATE, 0, 0);
    UpdateClientGeometry();
    if (popup)
        FHandle->setVisible(Showing());
    else if (FParent)
        FHandle->setVisible(Visible());
}

void TWinControl::DestroyHandle() {
    // A window on the screen cannot just vanish: it is made again at once.
    if (Showing())
        RecreateWnd();
    else
        FreeHandle();
}

void TWinControl::FreeHandle() {
    if (!FHandle)
        return;
    FControlState << csDestroyingHandle;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->FreeHandle();
    DestroyWnd();
    FControlState >> csDestroyingHandle;
}

void TWinControl::DestroyWnd() {
    if (!FHandle)
        return;
    Perform(WM_DESTROY, 0, 0);
    ForgetControl(this);
    TWidgetHandle* h = FHandle;
    FHandle = nullptr;
    h->Detach();
    // A focused window gives the focus up quietly: hiding it would make Qt hand the focus to a
    // neighbour in the middle of the focus change that freed it.
    if (QWidget* f = QApplication::focusWidget(); f && (f == h || h->isAncestorOf(f)))
        f->clearFocus();
    h->hide();
    // The control may be going away inside one of its own events; Qt deletes the widget later.
    h->deleteLater();
}

void TWinControl::RecreateWnd() {
    if (!FHandle)
        return;
    FreeHandle();
    HandleNeeded();
    if (IsTopLevel() && FShowing)
        FHandle->show();
    UpdateShowing();
}

QWidget* HandleWidget(TWinControl* c) { return c->Handle(); }

QWidget* ClientWidget(TWinControl* c) {
    HWND h = c->Handle();
    return h ? h->Client() : nullptr;
}

QWidget* NativeWidget(TWinControl* c) { return c->HandleAllocated() ? c->Handle()->Native : nullptr; }

QWidget* FocusWidget(TWinControl* c) {
    if (!c->HandleAllocated())
        return nullptr;
    HWND h = c->Handle();
    return h->Native ? h->Native : h->Client();
}

namespace {
const char kDeliversPaint[] = "qbxDeliversPaint";
}

void SetDeliversPaint(QWidget* w) { w->setProperty(kDeliversPaint, true); }

void SetNativeWidget(TWinControl* c, QWidget* w) {
    HWND h = c->Handle();
    QWidget* client = h->Client();
    h->Native = w;
    if (!w) {
        client->setFocusProxy(nullptr);
        delete h->Cover;
        h->Cover = nullptr;
        return;
    }
    w->setParent(client);
    w->installEventFilter(new TMessageFilter(c, TMessageFilter::Native, w));
    RouteInputAreas(c, w);
    w->setGeometry(0, 0, client->width(), client->height());
    w->show();
    client->setFocusProxy(w);
    if (w->property(kDeliversPaint).toBool()) {
        delete h->Cover;
        h->Cover = nullptr;
        return;
    }
    if (!h->Cover)
        h->Cover = new TPaintCover(c, client);
    h->Cover->setGeometry(0, 0, client->width(), client->height());
    // Above the wrapped widget, below the child windows: these clip the control's painting.
    h->Cover->raise();
    for (QObject* o : client->children())
        if (auto* child = dynamic_cast<TWidgetHandle*>(o))
            child->raise();
    h->Cover->show();
}

void TWinControl::UpdateHandleGeometry() {
    if (!FHandle)
        return;
    // Qt answers a shown window's resize at once, before the move, with the old place: that echo
    // must not become the bounds.
    QScopedValueRollback<bool> placing(FHandle->Placing, true);
    if (FParent && !IsPopupWindow(this))
        FHandle->setGeometry(Left(), Top(), Width(), Height());
    else {
        // A window with a fixed border keeps min = max size; it moves with the control's bounds.
        if (FHandle->minimumSize() == FHandle->maximumSize())
            FHandle->setFixedSize(Width(), Height());
        else
            FHandle->resize(Width(), Height());
        FHandle->move(Left(), Top());
    }
}

void TWinControl::UpdateClientGeometry() {
    TNCCalcSizeParams params;
    params.Rgrc[0] = Rect(0, 0, Width(), Height());
    Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    FClientBox = params.Rgrc[0];
    if (FClientBox.Right < FClientBox.Left)
        FClientBox.Right = FClientBox.Left;
    if (FClientBox.Bottom < FClientBox.Top)
        FClientBox.Bottom = FClientBox.Top;
    if (!FHandle)
        return;
    FHandle->Client()->setGeometry(FClientBox.Left, FClientBox.Top, FClientBox.Width(), FClientBox.Height());
    if (QWidget* native = NativeWidget(this))
        native->setGeometry(0, 0, FClientBox.Width(), FClientBox.Height());
    if (FHandle->Cover)
        FHandle->Cover->setGeometry(0, 0, FClientBox.Width(), FClientBox.Height());
    PlaceScrollBars(this);
}

TRect TWinControl::GetClientRect() {
    if (!FHandle)
        UpdateClientGeometry();
    return Rect(0, 0, FClientBox.Width(), FClientBox.Height());
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    bool sized = AWidth != Width() || AHeight != Height();
    bool moved = ALeft != Left() || ATop != Top();
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateHandleGeometry();
    if (FHandle && (sized || moved)) {
        TWindowPos pos;
        pos.hwnd = FHandle;
        pos.x = Left();
        pos.y = Top();
        pos.cx = Width();
        pos.cy = Height();
        pos.flags =
            SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0u : UINT(SWP_NOSIZE)) | (moved ? 0u : UINT(SWP_NOMOVE));
        Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
    if (sized) {
        UpdateClientGeometry();
        TRect r = GetClientRect();
        Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.Width(), r.Height()));
    }
}

void TWinControl::SetBorderWidth(int v) {
    if (FBorderWidth == v)
        return;
    FBorderWidth = v;
    UpdateClientGeometry();
    Realign();
    if (FHandle)
        FHandle->update();
}

// ---- children --------------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (FParentShowHint)
            Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        TRect pc = AParent->GetClientRect();
        FAnchorBaseW = pc.Width();
        FAnchorBaseH = pc.Height();
        InvalidateControl(FVisible, false);
        RequestAlign();
    }
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (Parent() == AParent)
        return;
    if (FHandle) {
        // A window moves to its new parent by being made again there.
        FreeHandle();
    }
    TControl::SetParent(AParent);
    if (AParent && AParent->HandleAllocated()) {
        HandleNeeded();
    }
    UpdateShowing();
}

void TWinControl::InsertControl(TControl* c) {
    c->FParent = this;
    FControls.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        FTabList.push_back(w);
}

void TWinControl::RemoveControl(TControl* c) {
    c->InvalidateControl(c->FVisible, false);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (TCustomForm* f = GetParentForm(this))
            f->DefocusControl(w, true);
        std::erase(FTabList, w);
        w->FreeHandle();
    }
    ForgetControl(c);
    std::erase(FControls, c);
    c->FParent = nullptr;
    DoAlign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* c = Control; c; c = c->FParent)
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(c))
            continue;
        if (!c->FVisible || (!c->FEnabled && !AllowDisabled))
            continue;
        TPoint local(Pos.x - c->FLeft, Pos.y - c->FTop);
        if (!PtInRect(Rect(0, 0, c->FWidth, c->FHeight), local))
            continue;
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.x, local.y)) != 0)
            return c;
    }
    return nullptr;
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TControl::Notification(AComponent, Operation);
}

// ---- alignment -------------------------------------------------------------------------------------

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() { DoAlign(); }

void TWinControl::DoAlign() {
    // A going window lays out nothing more (its children go with it).
    if (ComponentState().Contains(csDestroying))
        return;
    if (FAlignLevel > 0 || ComponentState().Contains(csLoading)) {
        FControlState << csAlignmentNeeded;
        return;
    }
    if (FAligning)
        return;
    FAligning = true;
    FControlState >> csAlignmentNeeded;
    try {
        TRect r = GetClientRect();
        AdjustClientRect(r);
        AlignControls(nullptr, r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& r) {
    TRect pc = GetClientRect();
    // Anchored controls follow the change of the client size since their bounds were last set.
    for (TControl* c : FControls) {
        if (c->FAlign != alNone || c->FAnchorBaseW < 0)
            continue;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && IsPopupWindow(w))
            continue;
        int dw = pc.Width() - c->FAnchorBaseW, dh = pc.Height() - c->FAnchorBaseH;
        if (dw == 0 && dh == 0)
            continue;
        int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
        TAnchors a = c->FAnchors;
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                w += dw;
            else
                l += dw;
        } else if (!a.Contains(akLeft)) {
            l += dw / 2;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                h += dh;
            else
                t += dh;
        } else if (!a.Contains(akTop)) {
            t += dh / 2;
        }
        c->FAnchorBaseW = pc.Width();
        c->FAnchorBaseH = pc.Height();
        c->SetBounds(l, t, w, h);
    }

    auto collect = [&](TAlign a) {
        std::vector<TControl*> v;
        for (TControl* c : FControls)
            if (c->FAlign == a && c->FVisible)
                v.push_back(c);
        std::stable_sort(v.begin(), v.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->FTop < y->FTop;
            case alBottom: return x->FTop + x->FHeight > y->FTop + y->FHeight;
            case alLeft: return x->FLeft < y->FLeft;
            case alRight: return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
            default: return false;
            }
        });
        return v;
    };
    for (TControl* c : collect(alTop)) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->FHeight);
        r.Top += c->FHeight;
    }
    for (TControl* c : collect(alBottom)) {
        c->SetBounds(r.Left, r.Bottom - c->FHeight, r.Width(), c->FHeight);
        r.Bottom -= c->FHeight;
    }
    for (TControl* c : collect(alLeft)) {
        c->SetBounds(r.Left, r.Top, c->FWidth, std::max(0, r.Height()));
        r.Left += c->FWidth;
    }
    for (TControl* c : collect(alRight)) {
        c->SetBounds(r.Right - c->FWidth, r.Top, c->FWidth, std::max(0, r.Height()));
        r.Right -= c->FWidth;
    }
    for (TControl* c : collect(alClient))
        c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

// ---- showing ---------------------------------------------------------------------------------------

bool TWinControl::Showing() {
    if (IsTopLevel())
        return FShowing;
    if (IsPopupWindow(this))
        return Visible() && (!Parent() || Parent()->Showing());
    return Visible() && Parent() && Parent()->Showing();
}

void TWinControl::UpdateShowing() {
    bool now = IsTopLevel() ? FShowing : Showing();
    if (now && !FHandle)
        HandleNeeded();
    if (!IsTopLevel() && now != FShowing) {
        FShowing = now;
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
    if (FHandle && IsPopupWindow(this))
        FHandle->setVisible(Showing());
    else if (FHandle && FParent)
        FHandle->setVisible(Visible());
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    TControl::CMVisibleChanged(Message);
    if (FHandle && IsPopupWindow(this))
        FHandle->setVisible(Showing());
    else if (FHandle && FParent)
        FHandle->setVisible(Visible());
    if (!IsTopLevel())
        UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    if (!Enabled() && FParent) {
        if (TCustomForm* f = GetParentForm(this))
            if (f->ActiveControl() && ContainsControl(f->ActiveControl()))
                f->DefocusControl(this, false);
    }
    if (FHandle)
        FHandle->setEnabled(Enabled());
    TControl::CMEnabledChanged(Message);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    FBrush->SetColor(Color());
    TControl::CMColorChanged(Message);
    for (TControl* c : FControls)
        c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::CMFontChanged(Message);
    if (QWidget* native = NativeWidget(this))
        native->setFont(Font()->QtFont());
    for (TControl* c : FControls)
        c->Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TWinControl::CMShowHintChanged(TMessage& Message) {
    TControl::CMShowHintChanged(Message);
    for (TControl* c : FControls)
        c->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TWinControl::CMTextChanged(TMessage& Message) {
    TControl::CMTextChanged(Message);
    if (FHandle && IsTopLevel())
        FHandle->setWindowTitle(QString::fromStdString(Cp1251ToUtf8(Text())));
}

// ---- painting --------------------------------------------------------------------------------------

void TWinControl::Invalidate() {
    if (FHandle) {
        FHandle->update();
        FHandle->Client()->update();
    }
}

void TWinControl::Update() {
    if (FHandle)
        FHandle->repaint();
}

void TWinControl::Repaint() {
    if (FHandle) {
        FHandle->repaint();
        FHandle->Client()->repaint();
    }
}

void TWinControl::WMPaint(TWMPaint& Message) { PaintHandler(Message); }

void TWinControl::PaintHandler(TWMPaint& Message) {
    if (!Message.DC)
        return;
    PaintWindow(Message.DC);
    PaintControls(Message.DC, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
    TMessage m = MakeMessage(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    QPainter* p = DC ? CanvasPainter(DC) : nullptr;
    if (!p)
        return;
    auto it = FControls.begin();
    if (First)
        it = std::find(FControls.begin(), FControls.end(), First);
    for (; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->FVisible || c->FWidth <= 0 || c->FHeight <= 0)
            continue;
        p->save();
        p->translate(c->FLeft, c->FTop);
        p->setClipRect(0, 0, c->FWidth, c->FHeight, Qt::IntersectClip);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        p->restore();
    }
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& Message) {
    if (Message.DC) {
        TBrush* brush = Message.DC->Brush();
        TColor keepColor = brush->Color();
        TBrushStyle keepStyle = brush->Style();
        brush->SetColor(Color());
        brush->SetStyle(bsSolid);
        Message.DC->FillRect(GetClientRect());
        brush->SetColor(keepColor);
        brush->SetStyle(keepStyle);
    }
    Message.Result = 1;
}

void TWinControl::WMNCCalcSize(TWMNCCalcSize& Message) {
    if (!Message.CalcSize_Params)
        return;
    DWORD style, ex;
    CurrentStyles(style, ex);
    int edge = FBorderWidth;
    if (style & WS_BORDER)
        edge += 1;
    if (ex & WS_EX_CLIENTEDGE)
        edge += 2;
    else if (ex & WS_EX_STATICEDGE)
        edge += 1;
    TRect& r = Message.CalcSize_Params->Rgrc[0];
    InflateRect(r, -edge, -edge);
    // Window scroll bars sit in the frame, at the right and the bottom.
    if (style & WS_VSCROLL)
        r.Right = std::max(r.Left, r.Right - GetSystemMetrics(SM_CXVSCROLL));
    if (style & WS_HSCROLL)
        r.Bottom = std::max(r.Top, r.Bottom - GetSystemMetrics(SM_CYHSCROLL));
    Message.Result = 0;
}

void TWinControl::WMNCPaint(TWMNCPaint& Message) {
    HDC dc = Message.DC;
    if (!dc)
        return;
    DWORD style, ex;
    CurrentStyles(style, ex);
    TRect r = Rect(0, 0, Width(), Height());
    if (style & WS_BORDER) {
        dc->Brush()->SetColor(clWindowFrame);
        dc->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    if (ex & WS_EX_CLIENTEDGE)
        dc->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else if (ex & WS_EX_STATICEDGE)
        dc->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (FBorderWidth > 0) {
        dc->Brush()->SetColor(Color());
        for (int i = 0; i < FBorderWidth; ++i) {
            dc->FrameRect(r);
            InflateRect(r, -1, -1);
        }
    }
    // The corner between two window scroll bars.
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL)) {
        dc->Brush()->SetColor(clBtnFace);
        dc->FillRect(Rect(FClientBox.Right, FClientBox.Bottom,
                          FClientBox.Right + GetSystemMetrics(SM_CXVSCROLL),
                          FClientBox.Bottom + GetSystemMetrics(SM_CYHSCROLL)));
    }
}

void TWinControl::WMSize(TWMSize& Message) {
    (void)Message;
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

// ---- focus -----------------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    auto& v = Parent()->FTabList;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

void TWinControl::SetTabOrder(int v) {
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    std::erase(list, this);
    if (v < 0 || v > int(list.size()))
        v = int(list.size());
    list.insert(list.begin() + v, this);
}

void TWinControl::SetTabStop(bool v) {
    if (FTabStop == v)
        return;
    FTabStop = v;
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* w : FTabList) {
        List.push_back(w);
        w->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int n = int(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[size_t(i)] == CurControl)
            start = i;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* w = list[size_t(i)];
        if (w == CurControl)
            break;
        if ((!CheckTabStop || w->TabStop()) && (!CheckParent || w->Parent() == this) && w->CanFocus())
            return w;
    }
    return nullptr;
}

void TWinControl::SelectFirst() {
    if (TWinControl* w = FindNextControl(nullptr, true, true, false))
        w->SetFocus();
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* w = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        w->SetFocus();
}

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form && !IsTopLevel())
        return false;
    for (TWinControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() {
    QWidget* w = FocusWidget(this);
    return w && w->hasFocus();
}

void TWinControl::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    TCustomForm* form = GetParentForm(this);
    HandleNeeded();
    if (form && form != this) {
        HandleWidget(form)->activateWindow();
        // Qt delivers focus only to a window that is active; keep the form's idea of it regardless.
        TControlGuard self(this);
        form->SetFocusedControl(this);
        if (!self.Alive())
            return;
    }
    if (QWidget* w = FocusWidget(this))
        w->setFocus(Qt::OtherFocusReason);
}

void TWinControl::WMSetFocus(TWMSetFocus& Message) {
    DefaultHandler(Message);
    TControlGuard self(this);
    if (TCustomForm* f = GetParentForm(this))
        f->SetFocusedControl(this);
    if (self.Alive() && FHandle && !FHandle->Native)
        FHandle->Client()->update();
}

void TWinControl::WMKillFocus(TWMKillFocus& Message) { DefaultHandler(Message); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::CMFocusChanged(TCMFocusChanged& Message) {
    for (TControl* c : FControls)
        c->Perform(CM_FOCUSCHANGED, Message.Raw.WParam, 0);
}

// ---- keys ------------------------------------------------------------------------------------------

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TWMKey& Message) {
    TShiftState shift = KeyDataToShiftState(Message.KeyData);
    TCustomForm* form = GetParentForm(this);
    WORD key = WORD(Message.CharCode);
    TControlGuard self(this);
    if (form && form != this && form->KeyPreview())
        form->KeyDown(key, shift);
    if (key != 0 && self.Alive())
        KeyDown(key, shift);
    if (!self.Alive())
        key = 0;
    Message.CharCode = key;
    if (key == 0)
        return;
    // Dialog keys go to the form unless the control asks for them.
    bool dialogKey = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT ||
                     key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_EXECUTE ||
                     key == VK_CANCEL;
    if (dialogKey) {
        LRESULT code = Perform(WM_GETDLGCODE, 0, 0);
        bool wanted = (key == VK_TAB && (code & DLGC_WANTTAB)) ||
                      ((key >= VK_LEFT && key <= VK_DOWN) && (code & DLGC_WANTARROWS)) ||
                      (code & DLGC_WANTALLKEYS);
        if (!wanted && form && form->Perform(CM_DIALOGKEY, key, Message.KeyData) != 0) {
            Message.CharCode = 0;
            return;
        }
    }
    if (self.Alive())
        DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TWMKey& Message) { WMKeyDown(Message); }

void TWinControl::WMKeyUp(TWMKey& Message) {
    TShiftState shift = KeyDataToShiftState(Message.KeyData);
    WORD key = WORD(Message.CharCode);
    TCustomForm* form = GetParentForm(this);
    TControlGuard self(this);
    if (form && form != this && form->KeyPreview())
        form->KeyUp(key, shift);
    if (key != 0 && self.Alive())
        KeyUp(key, shift);
    Message.CharCode = key;
    if (key != 0 && self.Alive())
        DefaultHandler(Message);
}

void TWinControl::WMChar(TWMKey& Message) {
    char original = char(Message.CharCode);
    char ch = original;
    TCustomForm* form = GetParentForm(this);
    TControlGuard self(this);
    if (form && form != this && form->KeyPreview())
        form->KeyPress(ch);
    if (ch != 0 && self.Alive())
        KeyPress(ch);
    if (!self.Alive())
        ch = 0;
    Message.CharCode = WPARAM(static_cast<unsigned char>(ch));
    if (ch == 0)
        return;
    // A character changed by KeyPress reaches the native widget as the new character.
    if (ch == original) {
        DefaultHandler(Message);
        return;
    }
    TMessageBoundary::TCharReplacement replaced(ch);
    DefaultHandler(Message);
}

void TWinControl::WMGetDlgCode(TMessage& Message) {
    // A wrapped native control wants arrows and characters, as the Windows controls it stands for.
    Message.Result = NativeWidget(this) ? DLGC_WANTARROWS | DLGC_WANTCHARS : 0;
}

// Offers a dialog key or character to the visible, enabled windowed children until one takes it.
static void OfferToChildren(const std::vector<TControl*>& children, TWMKey& Message) {
    for (TControl* c : children) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->Visible() && w->Enabled() &&
            w->Perform(Message.Raw.Msg, Message.Raw.WParam, Message.Raw.LParam) != 0) {
            Message.Result = 1;
            return;
        }
    }
}

void TWinControl::CMDialogKey(TWMKey& Message) {
    // Children get a chance first (a default or cancel button); the form moves the focus on Tab.
    OfferToChildren(FControls, Message);
}

// Accelerator characters go to graphic children too (a label focusing its control).
void TWinControl::CMDialogChar(TWMKey& Message) {
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->Visible() && c->Enabled() &&
            c->Perform(Message.Raw.Msg, Message.Raw.WParam, Message.Raw.LParam) != 0) {
            Message.Result = 1;
            return;
        }
}

// The cursor of the control under the mouse (a graphic child or this); crDefault leaves the
// choice to the parent, and the arrow when no one chooses.
void TWinControl::WMSetCursor(TWMSetCursor& Message) {
    if (Message.HitTest == HTCLIENT) {
        TCursor cursor = Screen ? Screen->Cursor() : TCursor(crDefault);
        if (cursor == crDefault) {
            TPoint p(0, 0);
            GetCursorPos(&p);
            TControl* c = ControlAtPos(ScreenToClient(p), false);
            cursor = (c ? c : this)->Cursor();
            if (cursor == crDefault && c)
                cursor = Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen ? Screen->Cursors(cursor) : HCURSOR(cursor));
            Message.Result = 1;
            return;
        }
    }
    if (Parent())
        Message.Result = Parent()->Perform(WM_SETCURSOR, Message.Raw.WParam, Message.Raw.LParam);
    else
        DefaultHandler(Message);
}

void TWinControl::ChangeScale(int M, int D) {
    DisableAlign();
    for (TControl* c : std::vector<TControl*>(FControls))
        c->ChangeScale(M, D);
    TControl::ChangeScale(M, D);
    // The children are placed for the new size already: anchoring starts from it.
    TRect pc = GetClientRect();
    for (TControl* c : FControls) {
        c->FAnchorBaseW = pc.Width();
        c->FAnchorBaseH = pc.Height();
    }
    EnableAlign();
}

void TWinControl::WMTimer(TWMTimer& Message) { DefaultHandler(Message); }

void TWinControl::WMCommand(TWMCommand& Message) {
    // Notifications of a child window are reflected back to it as CN_COMMAND.
    if (TWinControl* child = FindControl(Message.Ctl)) {
        Message.Result = child->Perform(CN_COMMAND, Message.Raw.WParam, Message.Raw.LParam);
        return;
    }
    DefaultHandler(Message);
}

// ---- message routing -------------------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
    TControl* target = nullptr;
    TControl* cap = CaptureControl();
    TPoint p(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (cap) {
        if (cap->FParent == this && !dynamic_cast<TWinControl*>(cap))
            target = cap;
        else
            return false;
    } else {
        target = ControlAtPos(p, false);
    }
    if (!target)
        return false;
    LPARAM lp = MAKELPARAM(p.x - target->FLeft, p.y - target->FTop);
    Message.Result = target->Perform(Message.Msg, Message.WParam, lp);
    return true;
}

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        // Asked from code: the frame repaints with the window's next paint, where it has a painter.
        if (FHandle && !FramePainter(FHandle) && !FControlState.Contains(csPaintCopy)) {
            FHandle->update();
            return;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(Message))
            return;
        break;
    default: break;
    }
    TControl::WndProc(Message);
}

namespace {

// A row of a message table: the message and what runs it.
template <class C> struct TMessageRow {
    UINT Msg;
    void (*Run)(C& c, TMessage& m);
};

// Runs handler H with the message's record of type Rec, or with the message itself.
template <class Rec, auto H, class C> void Typed(C& c, TMessage& m) {
    Rec t(m);
    (c.*H)(t);
}
template <auto H, class C> void Plain(C& c, TMessage& m) { (c.*H)(m); }

} // namespace

void TWinControl::Dispatch(TMessage& m) {
    using W = TWinControl;
    // Alt+letter: the form looks for the control whose caption has that accelerator.
    auto sysChar = [](W& c, TMessage& m) {
        TCustomForm* form = GetParentForm(&c);
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
            m.Result = 1;
        else
            c.DefaultHandler(m);
    };
    // An owner-drawn child asks its parent; unless the parent draws it, the child draws itself.
    auto drawItem = [](W& c, TMessage& m) {
        auto* d = reinterpret_cast<TDrawItemStruct*>(m.LParam);
        TWinControl* child = d ? FindControl(d->hwndItem) : nullptr;
        if (child && child != &c)
            m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
    };
    // The messages a window control answers itself; the rest go on to TControl.
    static const TMessageRow<W> rows[] = {
        {WM_PAINT, Typed<TWMPaint, &W::WMPaint>},
        {WM_ERASEBKGND, Typed<TWMPaint, &W::WMEraseBkgnd>},
        {WM_NCCALCSIZE, Typed<TWMNCCalcSize, &W::WMNCCalcSize>},
        {WM_NCPAINT, Typed<TWMPaint, &W::WMNCPaint>},
        {WM_SIZE, Typed<TWMSize, &W::WMSize>},
        {WM_SETFOCUS, Typed<TWMSetFocus, &W::WMSetFocus>},
        {WM_KILLFOCUS, Typed<TWMSetFocus, &W::WMKillFocus>},
        {WM_KEYDOWN, Typed<TWMKey, &W::WMKeyDown>},
        {WM_SYSKEYDOWN, Typed<TWMKey, &W::WMSysKeyDown>},
        {WM_KEYUP, Typed<TWMKey, &W::WMKeyUp>},
        {WM_SYSKEYUP, Typed<TWMKey, &W::WMKeyUp>},
        {WM_CHAR, Typed<TWMKey, &W::WMChar>},
        {WM_SYSCHAR, sysChar},
        {WM_GETDLGCODE, Plain<&W::WMGetDlgCode>},
        {WM_SETCURSOR, Typed<TWMSetCursor, &W::WMSetCursor>},
        {WM_TIMER, Typed<TWMTimer, &W::WMTimer>},
        {WM_COMMAND, Typed<TWMCommand, &W::WMCommand>},
        {WM_NCHITTEST, Typed<TWMNCHitTest, &W::WMNCHitTest>},
        {WM_NCLBUTTONDOWN, Plain<&W::WMNCLButtonDown>},
        {CM_DOCKCLIENT, Plain<&W::CMDockClient>},
        {CM_UNDOCKCLIENT, Plain<&W::CMUnDockClient>},
        {CM_DOCKNOTIFICATION, Plain<&W::CMDockNotification>},
        {WM_MOUSEACTIVATE, Typed<TWMMouseActivate, &W::WMMouseActivate>},
        {WM_HSCROLL, Typed<TWMScroll, &W::WMHScroll>},
        {WM_VSCROLL, Typed<TWMScroll, &W::WMVScroll>},
        {CM_ENTER, Plain<&W::CMEnter>},
        {CM_EXIT, Plain<&W::CMExit>},
        {CM_DIALOGKEY, Typed<TWMKey, &W::CMDialogKey>},
        {CM_DIALOGCHAR, Typed<TWMKey, &W::CMDialogChar>},
        {CM_FOCUSCHANGED, Typed<TCMFocusChanged, &W::CMFocusChanged>},
        {CM_SHOWINGCHANGED, Plain<&W::CMShowingChanged>},
        {WM_DRAWITEM, drawItem},
    };
    for (const auto& row : rows)
        if (row.Msg == m.Msg) {
            row.Run(*this, m);
            return;
        }
    TControl::Dispatch(m);
}

// ---- TGraphicControl / TCustomControl --------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        TWMPaint t(m);
        WMPaint(t);
        return;
    }
    TControl::Dispatch(m);
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
    FCanvas->PaintOn(Message.DC, [this] { Paint(); });
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
    FCanvas->PaintOn(DC, [this] { Paint(); });
}

TPoint TWinControl::ClientOrigin() {
    if (FHandle) {
        QPoint g = FHandle->Client()->mapToGlobal(QPoint(0, 0));
        return {g.x(), g.y()};
    }
    TPoint p = Parent() ? Parent()->ClientOrigin() : TPoint(0, 0);
    if (!Parent())
        p = TPoint(Left(), Top());
    else
        p = TPoint(p.x + Left(), p.y + Top());
    GetClientRect();
    return {p.x + FClientBox.Left, p.y + FClientBox.Top};
}
