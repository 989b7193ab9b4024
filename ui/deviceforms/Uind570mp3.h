// The indicator editor of the QBX-570-МЩ3 controller: a modal form over the configuration's channel
// list and the number of the object whose indicator parameters it edits. User-interface layer.
#pragma once

#include <cstdint>
#include <string>

#include "Indicatormodel.h"
#include "forms.h"

struct ELEMList;
class TGwListBox;
class TGwButton;
class TGwDialogButtons;
class TEdit;
class TLabel;
class TPanel;
class TSplitter;

class TfrmInd570mp3 : public TForm {
public:
    explicit TfrmInd570mp3(TComponent* AOwner);

    // Set by the caller before each showing; the list is not owned.
    ELEMList* Channels = nullptr;
    uint16_t ObjectNumber = 0;

    TGwListBox* GwListBox1;
    TGwListBox* GwListBox2;
    TGwButton* GwButton4; // "Добавить"
    TGwButton* GwButton1; // "Выше"
    TGwButton* GwButton2; // "Ниже"
    TGwButton* GwButton3; // "Удалить"
    TEdit* Edit1;
    TEdit* Edit2;
    TGwDialogButtons* GwDialogButtons1;
    TLabel* lbMissing; // says why OK is off

    void FormShow(TObject* Sender);
    void GwButton4Click(TObject* Sender);
    void GwButton3Click(TObject* Sender);
    void GwButton1Click(TObject* Sender);
    void GwButton2Click(TObject* Sender);
    void GwListBox2Click(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void GwDialogButtons1ClickOk(TObject* Sender);

    const TIndicatorSettings& Settings() const { return FSettings; }

private:
    void LoadIndicatorSettings();
    void FillSelectedList();
    void FillAvailableList();
    void UpdateButtons();
    void MoveSelected(int delta);
    // What the edits hold that is no number of their field, named with its range; "" when both fit.
    std::string UnfitFields() const;
    void LeaveLine();
    void StoreTyped();
    TIndicatorSettings FSettings;
    bool FLoaded = false;
    bool FFilling = false; // the edits are being set from the selection, not typed
    int FShown = -1;       // the line of GwListBox2 whose settings the edits show
    TIndP FShownFormat;    // its settings when it was shown
};

// The one indicator editor, created at start-up.
extern TfrmInd570mp3* frmInd570mp3;
