// The conjoin dock host: dockable forms side by side under the dock manager; made when a dockable
// form is dropped on an edge of the message window. User-interface layer.
#pragma once

#include "forms.h"

class TConjoinDockHost : public TForm {
public:
    explicit TConjoinDockHost(TComponent* AOwner);
    ~TConjoinDockHost() override;

    // Floats the client at its screen place with its undock size.
    void FloatClient(TControl* Client);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDockDrop(TObject* Sender, TDragDockObject* Source, int X, int Y);
    void FormDockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    void FormGetSiteInfo(TObject* Sender, TControl* DockClient, TRect& InfluenceRect, TPoint MousePos,
                         bool& CanDock);
    void FormUnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow);
};

extern TConjoinDockHost* ConjoinDockHost;
