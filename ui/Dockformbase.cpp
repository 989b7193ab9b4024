// What the dock hosts know of the forms they hold.
#include "Dockformbase.h"

void UpdateHostCaption(TWinControl* host, TControl* excluded) {
    std::string caption;
    for (int i = 0; i < host->DockClientCount(); ++i) {
        TControl* c = host->DockClients(i);
        if (c->Visible() && c != excluded)
            caption += c->Caption() + " ";
    }
    host->SetCaption(caption);
}
