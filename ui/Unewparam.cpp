// The new-item dialog.
#include "Unewparam.h"

TfmNewParam* fmNewParam = nullptr;

TfmNewParam::TfmNewParam(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Создать новый канал...");
    SetBorderStyle(bsSizeToolWin);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 233, 191);
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    auto place = [this](TControl* c, int l, int t, int w, int h) {
        c->SetParent(this);
        c->SetBounds(l, t, w, h);
    };
    Label1 = new TLabel(this);
    place(Label1, 16, 8, 193, 16);
    Label1->SetCaption("Тип парамера:");
    Edit1 = new TEdit(this);
    place(Edit1, 16, 24, 193, 21);
    Label2 = new TLabel(this);
    place(Label2, 16, 48, 193, 16);
    Label2->SetCaption("Индекс парамера:");
    Edit2 = new TEdit(this);
    place(Edit2, 16, 64, 193, 21);
    Button1 = new TButton(this);
    place(Button1, 56, 136, 75, 25);
    Button1->SetCaption("Ok");
    Button1->ModalResult = mrOk;
    Button2 = new TButton(this);
    place(Button2, 136, 136, 75, 25);
    Button2->SetCaption("Отмена");
    Button2->ModalResult = mrCancel;
    CheckBox1 = new TCheckBox(this);
    place(CheckBox1, 16, 96, 97, 17);
    CheckBox1->SetCaption("CheckBox1");
}
