// The conjoin dock host.
#include "Conjoinhost.h"

#include "Dockformbase.h"
#include "dragdock.h"
#include "winapi.h"

TConjoinDockHost* ConjoinDockHost = nullptr;

TConjoinDockHost::TConjoinDockHost(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("ConjoinDockHost");
    SetBounds(318, 146, 405, 335);
    SetDockSite(true);
    SetUseDockManager(true);
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDockDrop = [this](TObject* s, TDragDockObject* src, int x, int y) { FormDockDrop(s, src, x, y); };
    OnDockOver = [this](TObject* s, TDragDockObject* src, int x, int y, TDragState st, bool& a) {
        FormDockOver(s, src, x, y, st, a);
    };
    OnGetSiteInfo = [this](TObject* s, TControl* c, TRect& r, TPoint p, bool& can) {
        FormGetSiteInfo(s, c, r, p, can);
    };
    OnUnDock = [this](TObject* s, TControl* c, TWinControl* t, bool& a) { FormUnDock(s, c, t, a); };
}

TConjoinDockHost::~TConjoinDockHost() {
    if (ConjoinDockHost == this)
        ConjoinDockHost = nullptr;
}

void TConjoinDockHost::FloatClient(TControl* Client) {
    TPoint a = Client->ClientToScreen(TPoint(0, 0));
    TPoint b = Client->ClientToScreen(TPoint(Client->UndockWidth(), Client->UndockHeight()));
    Client->ManualFloat(TRect(a.x, a.y, b.x, b.y));
}

void TConjoinDockHost::FormClose(TObject*, TCloseAction& Action) {
    if (DockClientCount() == 1) {
        FloatClient(DockClients(0));
        Action = caFree;
        return;
    }
    Action = caHide;
}

void TConjoinDockHost::FormDockDrop(TObject*, TDragDockObject*, int, int) {
    UpdateHostCaption(this, nullptr);
    if (DockManager())
        DockManager()->ResetBounds(true);
}

void TConjoinDockHost::FormDockOver(TObject*, TDragDockObject* Source, int, int, TDragState, bool& Accept) {
    Accept = dynamic_cast<TDockClientForm*>(Source->Control()) != nullptr;
}

void TConjoinDockHost::FormGetSiteInfo(TObject*, TControl* DockClient, TRect&, TPoint, bool& CanDock) {
    CanDock = dynamic_cast<TDockClientForm*>(DockClient) != nullptr;
}

void TConjoinDockHost::FormUnDock(TObject*, TControl* Client, TWinControl* NewTarget, bool&) {
    if (auto* form = dynamic_cast<TDockClientForm*>(Client))
        form->SetDockSite(true);
    if (DockClientCount() == 2 && NewTarget != this)
        PostMessage(Handle(), WM_CLOSE, 0, 0);
    UpdateHostCaption(this, Client);
}
