// The tab dock host.
#include "Tabhost.h"

#include "Dockformbase.h"
#include "dragdock.h"
#include "winapi.h"

TTabDockHost::TTabDockHost(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("TabDockHost");
    SetBounds(280, 330, 409, 197);
    PageControl1 = new TGwPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    PageControl1->SetDockSite(true);
    PageControl1->OnDockOver = [this](TObject* s, TDragDockObject* src, int x, int y, TDragState st,
                                      bool& a) { PageControl1DockOver(s, src, x, y, st, a); };
    PageControl1->OnGetSiteInfo = [this](TObject* s, TControl* c, TRect& r, TPoint p, bool& can) {
        PageControl1GetSiteInfo(s, c, r, p, can);
    };
    PageControl1->OnUnDock = [this](TObject* s, TControl* c, TWinControl* t, bool& a) {
        PageControl1UnDock(s, c, t, a);
    };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TTabDockHost::~TTabDockHost() = default;

void TTabDockHost::PageControl1DockOver(TObject*, TDragDockObject* Source, int, int, TDragState,
                                        bool& Accept) {
    Accept = dynamic_cast<TDockClientForm*>(Source->Control()) != nullptr;
}

void TTabDockHost::PageControl1GetSiteInfo(TObject*, TControl* DockClient, TRect&, TPoint, bool& CanDock) {
    CanDock = dynamic_cast<TDockClientForm*>(DockClient) != nullptr;
}

void TTabDockHost::PageControl1UnDock(TObject*, TControl*, TWinControl* NewTarget, bool& Allow) {
    if (PageControl1->DockClientCount() != 2 || NewTarget == this)
        return;
    if (NewTarget == PageControl1) {
        Allow = false;
        return;
    }
    PostMessage(Handle(), WM_CLOSE, 0, 0);
}

void TTabDockHost::FormClose(TObject*, TCloseAction& Action) {
    if (PageControl1->DockClientCount() == 1) {
        TControl* client = PageControl1->DockClients(0);
        TPoint at = client->ClientToScreen(TPoint(0, 0));
        client->ManualFloat(Bounds(at.x, at.y, UndockWidth(), UndockHeight()));
        Action = caFree;
        return;
    }
    Action = caHide;
}
