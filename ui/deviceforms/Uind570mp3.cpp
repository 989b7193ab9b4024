// The indicator editor of the QBX-570-МЩ3 controller. User-interface layer.
#include "Uind570mp3.h"

TfrmInd570mp3* frmInd570mp3 = nullptr;

TfrmInd570mp3::TfrmInd570mp3(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Настройка параметров индикатора");
    SetBounds(0, 0, 690, 360);
}
