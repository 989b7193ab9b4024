// The new-item dialog: two labelled fields and a check box; the subprogram commands reuse it with
// captions of their own. User-interface layer.
#pragma once

#include "forms.h"
#include "stdctrls.h"

class TfmNewParam : public TForm {
public:
    explicit TfmNewParam(TComponent* AOwner);

    TLabel* Label1;
    TEdit* Edit1;
    TLabel* Label2;
    TEdit* Edit2;
    TCheckBox* CheckBox1;
    TButton* Button1;
    TButton* Button2;
};

extern TfmNewParam* fmNewParam;
