// The schedule editor of the QBX-520 controller: a modal form over the configuration's channel list,
// where the schedule entries live. User-interface layer.
#pragma once

#include "forms.h"

struct ELEMList;

class TfrmSchedule : public TForm {
public:
    explicit TfrmSchedule(TComponent* AOwner);

    // The configuration's channel list, set by the caller before each showing; not owned.
    ELEMList* Channels = nullptr;
};

// The one schedule editor, created at start-up.
extern TfrmSchedule* frmSchedule;
