// The indicator editor of the QBX-570-МЩ3 controller: a modal form over the configuration's channel
// list and the number of the object whose indicator parameters it edits. User-interface layer.
#pragma once

#include <cstdint>

#include "forms.h"

struct ELEMList;

class TfrmInd570mp3 : public TForm {
public:
    explicit TfrmInd570mp3(TComponent* AOwner);

    // Set by the caller before each showing; the list is not owned.
    ELEMList* Channels = nullptr;
    uint16_t ObjectNumber = 0;
};

// The one indicator editor, created at start-up.
extern TfrmInd570mp3* frmInd570mp3;
