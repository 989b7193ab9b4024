// What the message window's two dock hosts know of the forms they hold: the class a form docking
// into them has and the host caption made of their clients' captions. Below the message window
// (Dockform.h), which makes the hosts. User-interface layer.
#pragma once

#include "forms.h"

// A form the dock hosts take in: the message window's class derives from it.
class TDockClientForm : public TForm {
public:
    using TForm::TForm;
};

// Sets the host's caption to the captions of its visible dock clients (but excluded), each
// followed by a blank.
void UpdateHostCaption(TWinControl* host, TControl* excluded);
