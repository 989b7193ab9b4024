// The schedule editor of the QBX-520 controller: a modal form over the configuration's channel list,
// where the schedule entries live; one day at a time in a table or on four zone strips.
// User-interface layer.
#pragma once

#include <vector>

#include "Schedulemodel.h"
#include "elem.h"
#include "forms.h"

class TDateTimePicker;
class TCheckBox;
class TGwCheckBox;
class TGwMaskEdit;
class TGwComboBox;
class TGwButton;
class TGwSizePanel;
class TGwPageControl;
class TGwTabSheet;
class TStringGrid;
class TPanel;
class TLabel;
class TOpenDialog;
class TSaveDialog;

// One zone of a strip: its panel and end-time label, both owned (freed with the zone).
struct TScheduleItem : ELEM {
    TScheduleItem(TGwSizePanel* panel, TLabel* label) : Panel(panel), Label(label) {}
    ~TScheduleItem() override;
    TGwSizePanel* Panel;
    TLabel* Label;
    int EndTime = 0; // minutes after midnight at the right edge
    uint8_t State = 1;
};

class TfrmSchedule : public TForm {
public:
    explicit TfrmSchedule(TComponent* AOwner);
    ~TfrmSchedule() override;

    // The configuration's channel list, set by the caller before each showing; not owned.
    ELEMList* Channels = nullptr;

    TPanel* Panel1;
    TDateTimePicker* DateTimePicker1;
    TCheckBox* CheckBox1; // "Диапазон:"
    TDateTimePicker* DateTimePicker2;
    TGwCheckBox* GwCheckBox1; // shows the graphic view's tab
    TGwPageControl* GwPageControl1;
    TGwTabSheet* tsViewTable;
    TGwTabSheet* tsViewGraphic;
    TGwMaskEdit* GwMaskEdit2;
    TGwComboBox* GwComboBox[kScheduleChannels];
    TStringGrid* GwStringGrid1;
    TGwButton* Button1; // "Добавить"
    TGwButton* Button2; // "Удалить"
    TPanel* pnChannel[kScheduleChannels];
    TGwCheckBox* cbChEnabled[kScheduleChannels];
    TGwButton* btAddZone[kScheduleChannels];
    TGwButton* btInvertZone[kScheduleChannels];
    TGwButton* btDeleteZone[kScheduleChannels];
    TGwButton* btImportSchedule;
    TGwButton* btExportSchedule;
    TGwButton* btSetSchedule;
    TGwButton* btExit;
    TOpenDialog* OpenScheduleDialog;
    TSaveDialog* SaveScheduleDialog;

    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void DateTimePicker1CloseUp(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void GwCheckBox1Click(TObject* Sender);
    void GwPageControl1Change(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void btSetScheduleClick(TObject* Sender);
    void btExportScheduleClick(TObject* Sender);
    void btImportScheduleClick(TObject* Sender);
    void btExitClick(TObject* Sender);
    void btAddZoneCh1Click(TObject* Sender);
    void btDeleteZoneCh1Click(TObject* Sender);
    void btInvertZoneCh1Click(TObject* Sender);
    void cbCh2EnabledClick(TObject* Sender);

    bool GraphicPageActive() const;
    const TZoneStrip& Strip(int channel) const { return FStrips[channel]; }
    const ELEMList& Zones(int channel) const { return FZones[channel]; }

private:
    void ShowDay(TDateTime date);
    void ShowDayInTable(TDateTime date);
    void FitWidthToPage();
    bool StoreDay(TDateTime date);
    bool StoreTableDay(TDateTime date);
    void RenderStrip(int channel);
    void PlaceStrip(int channel);
    int ChannelOf(TObject* sender, TGwButton* const (&buttons)[kScheduleChannels]) const;
    void ZoneResize(TObject* Sender);
    void ZoneMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    TScheduleItem* ZoneOf(TObject* panel, int& channel, int& index) const;
    void ClearZones(int channel);

    bool FRendering = false; // zone panels are being placed from the strip, not dragged
    TZoneStrip FStrips[kScheduleChannels];
    ELEMList FZones[kScheduleChannels]; // newest end = leftmost zone
};

// The one schedule editor, created at start-up.
extern TfrmSchedule* frmSchedule;
