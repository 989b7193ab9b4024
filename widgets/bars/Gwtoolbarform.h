// The toolbar-customising dialog (widget layer, bars): shows, hides and reorders a toolbar's
// controls and picks how its buttons show text; every change applies to the toolbar at once.
#pragma once

#include "Gwbutton.h"
#include "Gwchklst.h"
#include "Gwcmbobx.h"
#include "Gwlabel.h"
#include "forms.h"
#include "timers.h"

class TGwToolbar;
class TGwCustomizeCaptions;

class TGwFrmCustomizeToolbar : public TForm {
public:
    explicit TGwFrmCustomizeToolbar(TComponent* AOwner);

    TSpeedButton* BtnSpacer;
    TSpeedButton* BtnGrooveSpacer;
    TGwLabel* LblHint;
    TGwLabel* LblTextOptions;
    TGwButton* BtnClose;
    TGwCheckList* LstControls;
    TGwComboBox* CbxTextOptions;
    TGwButton* BtnMoveUp;
    TGwButton* BtnMoveDown;
    TTimer* Timer1;

    int DragIndex = 0;
    int DropIndex = -1;
    bool ScrollUp = false;
    TControl* OwnerControl = nullptr;
    TGwToolbar* Toolbar = nullptr;

    // Places the dialog beside the toolbar, inside the work area.
    void Reposition();
    void UpdateControls(TGwCustomizeCaptions* Captions, bool ShowTextOptions);
    void EnableMoveButtons(int Index);

    void LstControlsChange(TObject* Sender, int Index, TCheckBoxState NewState);
    void LstControlsClick(TObject* Sender);
    void BtnMoveUpClick(TObject*) { MoveSelected(-1); }
    void BtnMoveDownClick(TObject*) { MoveSelected(1); }
    void LstControlsMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void LstControlsDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
    void LstControlsDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void LstControlsEndDrag(TObject* Sender, TObject* Target, int X, int Y);
    void Timer1Timer(TObject* Sender);
    void CbxTextOptionsClick(TObject* Sender);
    void ListBoxDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);

private:
    void MoveSelected(int Step);
    // Moves list item and toolbar entry From to To, lays the toolbar out and selects To.
    void MoveItem(int From, int To);
};
