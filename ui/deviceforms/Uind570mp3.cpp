// The indicator editor of the QBX-570-МЩ3 controller. User-interface layer.
#include "Uind570mp3.h"

#include "Gwbutton.h"
#include "Gwdlgbtn.h"
#include "Gwlstbox.h"
#include "dialogs.h"
#include "extctrls.h"
#include "stdctrls.h"
#include "sysutils.h"

TfrmInd570mp3* frmInd570mp3 = nullptr;

namespace {

template <class T> T* Make(TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

const char* const kParamsMissing = "Нет параметров индикации (1084, 1085): настройки не будут записаны.";
// The digits are one byte, the divisor two: a number past them is refused, never cut to its low bits.
struct TField {
    const char* Name;
    int Highest;
};
constexpr TField kDigitsField{"Кол-во цифр после запятой", 255};
constexpr TField kDivisorField{"Делитель", 65535};

bool ReadField(const std::string& text, const TField& field, int& v) {
    return TryStrToInt(text, v) && v >= 0 && v <= field.Highest;
}

} // namespace

TfrmInd570mp3::TfrmInd570mp3(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Настройка параметров индикатора");
    SetPosition(poMainFormCenter);
    SetBounds(0, 0, 690, 360);
    Constraints().MinWidth = 690;
    Constraints().MinHeight = 360;
    auto* right = Make<TPanel>(this, 0, 0, 180, 360);
    right->SetAlign(alRight);
    right->SetCaption("");
    GwListBox1 = Make<TGwListBox>(this, 0, 0, 257, 360);
    GwListBox1->SetAlign(alLeft);
    GwListBox1->SetSorted(true);
    Make<TSplitter>(this, 257, 0, 3, 360)->SetAlign(alLeft);
    GwListBox2 = Make<TGwListBox>(this, 260, 0, 250, 360);
    GwListBox2->SetAlign(alClient);

    GwButton4 = Make<TGwButton>(right, 8, 8, 164, 25);
    GwButton4->SetCaption("Добавить");
    GwButton1 = Make<TGwButton>(right, 8, 38, 164, 25);
    GwButton1->SetCaption("Выше");
    GwButton2 = Make<TGwButton>(right, 8, 68, 164, 25);
    GwButton2->SetCaption("Ниже");
    GwButton3 = Make<TGwButton>(right, 8, 98, 164, 25);
    GwButton3->SetCaption("Удалить");
    Make<TBevel>(right, 8, 132, 164, 2);
    auto* title = Make<TLabel>(right, 8, 140, 164, 16);
    title->SetAutoSize(false); // centred across the panel, not shrunk to the text
    title->SetAlignment(taCenter);
    title->SetCaption("НАСТРОЙКИ ИНДИКАЦИИ");
    Make<TLabel>(right, 8, 162, 164, 16)->SetCaption("Кол-во цифр после запятой:");
    Edit1 = Make<TEdit>(right, 8, 180, 164, 21);
    Edit1->SetText("0");
    Make<TLabel>(right, 8, 206, 164, 16)->SetCaption("Делитель:");
    Edit2 = Make<TEdit>(right, 8, 224, 164, 21);
    Edit2->SetText("1");
    lbMissing = Make<TLabel>(right, 8, 250, 164, 64);
    lbMissing->SetAutoSize(false); // wrapped across the panel
    lbMissing->SetWordWrap(true);
    lbMissing->SetCaption(kParamsMissing);
    lbMissing->SetVisible(false);
    GwDialogButtons1 = Make<TGwDialogButtons>(right, 8, 290, 164, 30);
    GwDialogButtons1->SetButtonCaption(1, "OK");
    GwDialogButtons1->SetButtonModalResult(1, mrOk);
    GwDialogButtons1->SetButtonCaption(2, "Отмена");
    GwDialogButtons1->SetButtonModalResult(2, mrCancel);

    OnShow = [this](TObject* s) { FormShow(s); };
    GwButton4->OnClick = [this](TObject* s) { GwButton4Click(s); };
    GwListBox1->OnDblClick = [this](TObject* s) { GwButton4Click(s); };
    GwButton3->OnClick = [this](TObject* s) { GwButton3Click(s); };
    GwListBox2->OnDblClick = [this](TObject* s) { GwButton3Click(s); };
    GwButton1->OnClick = [this](TObject* s) { GwButton1Click(s); };
    GwButton2->OnClick = [this](TObject* s) { GwButton2Click(s); };
    GwListBox2->OnClick = [this](TObject* s) { GwListBox2Click(s); };
    Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
    Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
    GwDialogButtons1->OnClickOk = [this](TObject* s) { GwDialogButtons1ClickOk(s); };
}

void TfrmInd570mp3::FormShow(TObject*) { LoadIndicatorSettings(); }

void TfrmInd570mp3::LoadIndicatorSettings() {
    FShown = -1; // the lists are rebuilt: no line of them is on show yet
    FLoaded = FSettings.Load(Channels, ObjectNumber);
    FillSelectedList();
    FillAvailableList();
    GwListBox2Click(nullptr);
    // Said on the form itself, with OK off: nothing can be written without the two parameters.
    lbMissing->SetVisible(!FLoaded);
    GwDialogButtons1->SetButtonEnabled(1, FLoaded);
}

void TfrmInd570mp3::FillSelectedList() {
    GwListBox2->Items()->Clear();
    for (const TIndicatorLine& l : FSettings.Selected)
        GwListBox2->Items()->Add(l.Text);
}

void TfrmInd570mp3::FillAvailableList() {
    GwListBox1->Items()->Clear();
    for (const std::string& t : FSettings.Available)
        GwListBox1->Items()->Add(t);
    UpdateButtons();
}

void TfrmInd570mp3::UpdateButtons() {
    // At 16 lines the indicator is full: neither the button nor a double click adds more.
    GwButton4->SetEnabled(FSettings.CanAdd());
    GwListBox1->OnDblClick =
        FSettings.CanAdd() ? TNotifyEvent([this](TObject* s) { GwButton4Click(s); }) : nullptr;
}

void TfrmInd570mp3::GwButton4Click(TObject*) {
    std::string text = GwListBox1->SelectedItem();
    if (!FSettings.Add(text))
        return;
    GwListBox2->Items()->Add(text);
    int i = GwListBox1->Items()->IndexOf(text);
    if (i >= 0)
        GwListBox1->Items()->Delete(i);
    UpdateButtons();
}

void TfrmInd570mp3::GwButton3Click(TObject*) {
    std::string text = GwListBox2->SelectedItem();
    if (!FSettings.Remove(text))
        return;
    FShown = -1; // its digits and divisor go with it
    GwListBox1->Items()->Add(text);
    int i = GwListBox2->Items()->IndexOf(text);
    if (i >= 0)
        GwListBox2->Items()->Delete(i);
    GwListBox2Click(nullptr);
    UpdateButtons();
}

void TfrmInd570mp3::MoveSelected(int delta) {
    int i = GwListBox2->ItemIndex();
    if (!FSettings.Move(i, delta))
        return;
    FShown = i + delta; // the line on show moves, its edits with it
    GwListBox2->Items()->Move(i, i + delta);
    GwListBox2->SetItemIndex(i + delta);
}

void TfrmInd570mp3::GwButton1Click(TObject*) { MoveSelected(-1); }
void TfrmInd570mp3::GwButton2Click(TObject*) { MoveSelected(+1); }

void TfrmInd570mp3::GwListBox2Click(TObject*) {
    int i = GwListBox2->ItemIndex();
    bool selected = i >= 0 && i < int(FSettings.Selected.size());
    // A click on the line on show keeps its edits as typed.
    if (selected && i == FShown)
        return;
    LeaveLine();
    Edit1->SetEnabled(selected);
    Edit2->SetEnabled(selected);
    if (!selected)
        return;
    FShown = i;
    FShownFormat = FSettings.Selected[size_t(i)].Format;
    FFilling = true;
    Edit1->SetText(IntToStr(FShownFormat.Digits));
    Edit2->SetText(IntToStr(FShownFormat.Divisor));
    FFilling = false;
}

std::string TfrmInd570mp3::UnfitFields() const {
    std::string why;
    int v;
    for (auto [edit, field] : {std::pair{Edit1, &kDigitsField}, std::pair{Edit2, &kDivisorField}})
        if (!ReadField(edit->Text(), *field, v))
            why += (why.empty() ? "" : "\n") + std::string(field->Name) + ": введите целое число от 0 до " +
                   IntToStr(field->Highest) + ".";
    return why;
}

void TfrmInd570mp3::LeaveLine() {
    if (FShown < 0)
        return;
    FShown = -1;
    // The line already holds what it had when shown: only the user is still to be told.
    std::string why = UnfitFields();
    if (!why.empty())
        ShowMessage(why);
}

// A number that fits is stored as it is typed; anything else (a half-typed number past the range, a
// text that is no number yet) leaves the line's value as it was when shown, never a prefix of it.
void TfrmInd570mp3::StoreTyped() {
    if (FFilling || FShown < 0)
        return;
    TIndP& f = FSettings.Selected[size_t(FShown)].Format;
    int v;
    f.Digits = ReadField(Edit1->Text(), kDigitsField, v) ? uint8_t(v) : FShownFormat.Digits;
    f.Divisor = ReadField(Edit2->Text(), kDivisorField, v) ? uint16_t(v) : FShownFormat.Divisor;
}

void TfrmInd570mp3::Edit1Change(TObject*) { StoreTyped(); }
void TfrmInd570mp3::Edit2Change(TObject*) { StoreTyped(); }

void TfrmInd570mp3::GwDialogButtons1ClickOk(TObject*) {
    // The line on show must hold numbers that fit before anything is written.
    std::string why = FShown >= 0 ? UnfitFields() : std::string();
    if (!why.empty()) {
        SetModalResult(mrNone);
        ShowMessage(why);
        return;
    }
    if (!FLoaded || !FSettings.Write()) {
        SetModalResult(mrNone);
        LoadIndicatorSettings();
    }
}
