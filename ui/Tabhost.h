// The tab dock host: made when a dockable form is dropped in the centre of the message window; it
// shows both as pages of its page control and frees itself when the second-to-last leaves.
// User-interface layer.
#pragma once

#include "Gwtabpages.h"
#include "forms.h"

class TTabDockHost : public TForm {
public:
    explicit TTabDockHost(TComponent* AOwner);
    ~TTabDockHost() override;

    // The dock site: each docked form gets a page of its own.
    TGwPageControl* PageControl1;
    void PageControl1DockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State,
                              bool& Accept);
    void PageControl1GetSiteInfo(TObject* Sender, TControl* DockClient, TRect& InfluenceRect, TPoint MousePos,
                                 bool& CanDock);
    void PageControl1UnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow);
    void FormClose(TObject* Sender, TCloseAction& Action);
};
