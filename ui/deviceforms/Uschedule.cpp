// The schedule editor of the QBX-520 controller. User-interface layer.
#include "Uschedule.h"

TfrmSchedule* frmSchedule = nullptr;

TfrmSchedule::TfrmSchedule(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Изменить расписание:");
    SetBorderStyle(bsToolWindow);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 567, 554);
}
