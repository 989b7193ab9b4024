// The tab dock host: made when a dockable form is dropped in the centre of the message window; it
// holds both and frees itself when the second-to-last leaves. User-interface layer.
#pragma once

#include "extctrls.h"
#include "forms.h"

class TTabDockHost : public TForm {
public:
    explicit TTabDockHost(TComponent* AOwner);
    ~TTabDockHost() override;

    // The dock site of the host's clients (a page control once the widget library has one that
    // takes dock clients; until then a panel showing them side by side).
    TPanel* PageControl1;
    void PageControl1DockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State,
                              bool& Accept);
    void PageControl1GetSiteInfo(TObject* Sender, TControl* DockClient, TRect& InfluenceRect, TPoint MousePos,
                                 bool& CanDock);
    void PageControl1UnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow);
    void FormClose(TObject* Sender, TCloseAction& Action);
};
