// The banner and the side caption.
#include "Ubanner.h"

#include "Gwborder.h"
#include "Gwlabel.h"

TControl* MakeBanner(TComponent* owner, TWinControl* parent) {
    auto* led = new TGwLEDDisplay(owner);
    led->SetParent(parent);
    led->SetAlign(alTop);
    led->SetHeight(30);
    led->SetCaption("QBX-510   qbx@example.org   +7 000 000-00-00");
    led->SetScrolling(true);
    return led;
}

TControl* MakeSideLabel(TComponent* owner, TWinControl* parent) {
    auto* label = new TGwLabel(owner);
    label->SetParent(parent);
    label->SetAlign(alClient);
    label->SetAngle(90);
    label->SetCaption("Конфигуратор контроллеров QBX-510");
    return label;
}
