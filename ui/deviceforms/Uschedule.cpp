// The schedule editor of the QBX-520 controller. User-interface layer.
#include "Uschedule.h"

#include <algorithm>

#include "Gwbutton.h"
#include "Gwcmbobx.h"
#include "Gwedit.h"
#include "Gwradchk.h"
#include "Gwsplit.h"
#include "Gwtabpages.h"
#include "comctrls.h"
#include "dialogs.h"
#include "extctrls.h"
#include "grids.h"
#include "stdctrls.h"
#include "sysutils.h"

TfrmSchedule* frmSchedule = nullptr;

namespace {

template <class T> T* Make(TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

TGwButton* MakeButton(TWinControl* parent, int l, int t, int w, const char* caption) {
    auto* b = Make<TGwButton>(parent, l, t, w, 25);
    b->SetCaption(caption);
    return b;
}

const char* const kScheduleFilter = "Файл расписания (*.sdl)|*.sdl";
const char* const kDayFull = "В одном дне не может быть больше 255 записей.";
const char* const kBadTime = "Неверное значение времени.";
constexpr int kFormWidth = 567;
constexpr int kStripLeft = 8;
constexpr int kStripHeight = 41;
constexpr int kStripPitch = 95;
// A zone shows the channel lit or dark.
constexpr TColor kOnColour = clYellow;
constexpr TColor kOffColour = clBlack;

std::string EndTimeText(int minutes) { return IntToStr(minutes / 60) + ":" + IntToStr(minutes % 60); }

} // namespace

TScheduleItem::~TScheduleItem() {
    delete Panel;
    delete Label;
}

TfrmSchedule::TfrmSchedule(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Изменить расписание:");
    SetBorderStyle(bsToolWindow);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, kFormWidth, 554);

    Panel1 = Make<TPanel>(this, 0, 0, kFormWidth, 65);
    Panel1->SetAlign(alTop);
    Panel1->SetCaption("");
    DateTimePicker1 = Make<TDateTimePicker>(Panel1, 8, 20, 120, 21);
    DateTimePicker1->SetDate(EncodeDate(2007, 1, 1));
    CheckBox1 = Make<TCheckBox>(Panel1, 140, 22, 80, 17);
    CheckBox1->SetCaption("Диапазон:");
    DateTimePicker2 = Make<TDateTimePicker>(Panel1, 224, 20, 120, 21);
    DateTimePicker2->SetDate(EncodeDate(2007, 1, 1));
    DateTimePicker2->SetEnabled(false);
    GwCheckBox1 = Make<TGwCheckBox>(Panel1, 540, 4, 17, 17);
    GwCheckBox1->SetCaption("");

    GwPageControl1 = Make<TGwPageControl>(this, 0, 65, kFormWidth, 425);
    GwPageControl1->SetAlign(alTop);
    tsViewTable = new TGwTabSheet(GwPageControl1);
    tsViewTable->SetCaption("Табличный");
    tsViewTable->SetPageControl(GwPageControl1);
    tsViewGraphic = new TGwTabSheet(GwPageControl1);
    tsViewGraphic->SetCaption("Графический");
    tsViewGraphic->SetPageControl(GwPageControl1);
    tsViewGraphic->SetTabVisible(false);
    GwPageControl1->SetActivePage(tsViewTable);

    Make<TLabel>(tsViewTable, 8, 4, 60, 14)->SetCaption("Время");
    GwMaskEdit2 = Make<TGwMaskEdit>(tsViewTable, 8, 20, 60, 21);
    GwMaskEdit2->SetEditMask("!90:00;1;_");
    GwMaskEdit2->SetMaxLength(5);
    for (int c = 0; c < kScheduleChannels; ++c) {
        const int left = 72 + 96 * c;
        Make<TLabel>(tsViewTable, left, 4, 90, 14)->SetCaption("Канал " + IntToStr(c + 1));
        GwComboBox[c] = Make<TGwComboBox>(tsViewTable, left, 20, 95, 21);
        for (const char* item : {kCellNone, kCellOn, kCellOff})
            GwComboBox[c]->Add(item);
    }
    GwStringGrid1 = Make<TStringGrid>(tsViewTable, 8, 46, 450, 310);
    GwStringGrid1->SetFixedCols(0);
    GwStringGrid1->SetFixedRows(0);
    GwStringGrid1->SetColCount(1 + kScheduleChannels);
    GwStringGrid1->SetRowCount(1);
    GwStringGrid1->SetScrollBars(ssNone);
    Button1 = MakeButton(tsViewTable, 464, 46, 90, "Добавить");
    Button2 = MakeButton(tsViewTable, 464, 76, 90, "Удалить");

    for (int c = 0; c < kScheduleChannels; ++c) {
        const int top = 8 + kStripPitch * c;
        cbChEnabled[c] = Make<TGwCheckBox>(tsViewGraphic, kStripLeft, top, 80, 17);
        cbChEnabled[c]->SetCaption("Канал " + IntToStr(c + 1));
        pnChannel[c] = Make<TPanel>(tsViewGraphic, kStripLeft, top + 20, kStripWidth, kStripHeight);
        pnChannel[c]->SetCaption("");
        btAddZone[c] = MakeButton(tsViewGraphic, 100, top - 4, 110, "Добавить зону");
        btInvertZone[c] = MakeButton(tsViewGraphic, 215, top - 4, 110, "Инвертировать");
        btDeleteZone[c] = MakeButton(tsViewGraphic, 330, top - 4, 110, "Удалить зону");
        btAddZone[c]->OnClick = [this](TObject* s) { btAddZoneCh1Click(s); };
        btInvertZone[c]->OnClick = [this](TObject* s) { btInvertZoneCh1Click(s); };
        btDeleteZone[c]->OnClick = [this](TObject* s) { btDeleteZoneCh1Click(s); };
        if (c > 0)
            cbChEnabled[c]->OnClick = [this](TObject* s) { cbCh2EnabledClick(s); };
    }
    // Channel 1 is always switched.
    cbChEnabled[0]->SetChecked(true);
    cbChEnabled[0]->SetVisible(false);

    btImportSchedule = MakeButton(this, 0, 500, 121, "Импорт");
    btExportSchedule = MakeButton(this, 0, 500, 121, "Экспорт");
    btSetSchedule = MakeButton(this, 0, 500, 121, "Записать");
    btExit = MakeButton(this, 0, 500, 121, "Готово");
    OpenScheduleDialog = new TOpenDialog(this);
    OpenScheduleDialog->SetFilter(kScheduleFilter);
    SaveScheduleDialog = new TSaveDialog(this);
    SaveScheduleDialog->SetFilter(kScheduleFilter);

    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    DateTimePicker1->OnChange = [this](TObject* s) { DateTimePicker1CloseUp(s); };
    DateTimePicker1->OnCloseUp = [this](TObject* s) { DateTimePicker1CloseUp(s); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    GwCheckBox1->OnClick = [this](TObject* s) { GwCheckBox1Click(s); };
    GwPageControl1->OnChange = [this](TObject* s) { GwPageControl1Change(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    btSetSchedule->OnClick = [this](TObject* s) { btSetScheduleClick(s); };
    btExportSchedule->OnClick = [this](TObject* s) { btExportScheduleClick(s); };
    btImportSchedule->OnClick = [this](TObject* s) { btImportScheduleClick(s); };
    btExit->OnClick = [this](TObject* s) { btExitClick(s); };
    FormResize(this);
}

TfrmSchedule::~TfrmSchedule() {
    for (int c = 0; c < kScheduleChannels; ++c)
        ClearZones(c);
}

void TfrmSchedule::FormShow(TObject*) {
    ShowDay(DateTimePicker1->Date());
    for (int c = 1; c < kScheduleChannels; ++c)
        cbCh2EnabledClick(cbChEnabled[c]);
}

void TfrmSchedule::FormResize(TObject*) {
    int left = ClientWidth() - btExit->Width() - 10;
    for (TGwButton* b : {btExit, btSetSchedule, btExportSchedule, btImportSchedule}) {
        b->SetLeft(left);
        b->SetTop(ClientHeight() - b->Height() - 8);
        left -= b->Width() + 5;
    }
}

void TfrmSchedule::DateTimePicker1CloseUp(TObject*) {
    ShowDay(DateTimePicker1->Date());
    if (DateTimePicker1->Date() > DateTimePicker2->Date())
        DateTimePicker2->SetDate(DateTimePicker1->Date());
}

void TfrmSchedule::CheckBox1Click(TObject*) { DateTimePicker2->SetEnabled(CheckBox1->Checked()); }

void TfrmSchedule::GwCheckBox1Click(TObject*) {
    // A sheet whose tab goes stays the active page: the table comes back in its place.
    if (!GwCheckBox1->Checked() && GraphicPageActive()) {
        GwPageControl1->SetActivePage(tsViewTable);
        GwPageControl1Change(GwPageControl1);
    }
    tsViewGraphic->SetTabVisible(GwCheckBox1->Checked());
}

bool TfrmSchedule::GraphicPageActive() const { return GwPageControl1->ActivePage() == tsViewGraphic; }

void TfrmSchedule::GwPageControl1Change(TObject*) {
    FitWidthToPage();
    ShowDay(DateTimePicker1->Date());
}

void TfrmSchedule::FitWidthToPage() {
    int width = kFormWidth;
    // The strips span the whole day, wider than the table: the form widens to show all of them.
    if (GraphicPageActive())
        width = std::max(width, Width() + 2 * kStripLeft + kStripWidth - tsViewGraphic->ClientWidth());
    if (width == Width())
        return;
    // About its centre, inside the screen's work area where it fits.
    const TRect area = Screen->WorkAreaRect();
    const int left = std::max(area.Left, std::min(Left() - (width - Width()) / 2, area.Right - width));
    SetBounds(left, Top(), width, Height());
}

void TfrmSchedule::ShowDay(TDateTime date) {
    if (!GraphicPageActive()) {
        ShowDayInTable(date);
        return;
    }
    for (int c = 1; c < kScheduleChannels; ++c) {
        cbChEnabled[c]->SetChecked(false);
        cbCh2EnabledClick(cbChEnabled[c]);
    }
    DrawDay(Channels ? ReadDay(*Channels, DayCodeOfDate(date)) : std::vector<TScheduleEntry>{}, FStrips);
    for (int c = 0; c < kScheduleChannels; ++c) {
        if (c > 0 && FStrips[c].Count() > 0) {
            cbChEnabled[c]->SetChecked(true);
            cbCh2EnabledClick(cbChEnabled[c]);
        }
        RenderStrip(c);
    }
}

void TfrmSchedule::ShowDayInTable(TDateTime date) {
    GwStringGrid1->SetColWidths(0, 63);
    for (int c = 1; c <= kScheduleChannels; ++c)
        GwStringGrid1->SetColWidths(c, 95);
    std::vector<TScheduleEntry> day;
    if (Channels)
        day = ReadDay(*Channels, DayCodeOfDate(date));
    GwStringGrid1->SetRowCount(std::max<int>(1, int(day.size())));
    for (int c = 0; c <= kScheduleChannels; ++c)
        GwStringGrid1->SetCells(c, 0, "");
    for (size_t r = 0; r < day.size(); ++r) {
        GwStringGrid1->SetCells(0, int(r), TimeCellText(day[r]));
        for (int c = 0; c < kScheduleChannels; ++c)
            GwStringGrid1->SetCells(c + 1, int(r), ChannelCellText(day[r], c));
    }
}

void TfrmSchedule::Button1Click(TObject*) {
    TDateTime t;
    if (!TryStrToTime(GwMaskEdit2->Text(), t)) {
        ShowMessage(kBadTime);
        return;
    }
    TStringGrid* g = GwStringGrid1;
    if (!g->Cells(0, 0).empty()) {
        if (g->RowCount() >= kScheduleMaxEntries) {
            ShowMessage(kDayFull);
            return;
        }
        g->SetRowCount(g->RowCount() + 1);
    }
    const int last = g->RowCount() - 1;
    int i = 0;
    for (TDateTime rowTime; i < last; ++i)
        if (g->Cells(0, i).empty() || (TryStrToTime(g->Cells(0, i), rowTime) && rowTime > t))
            break;
    for (int r = last; r > i; --r)
        for (int c = 0; c <= kScheduleChannels; ++c)
            g->SetCells(c, r, g->Cells(c, r - 1));
    g->SetCells(0, i, GwMaskEdit2->Text());
    for (int c = 0; c < kScheduleChannels; ++c) {
        std::string text = GwComboBox[c]->Text();
        g->SetCells(c + 1, i, text.empty() ? kCellNone : text);
    }
}

void TfrmSchedule::Button2Click(TObject*) {
    TStringGrid* g = GwStringGrid1;
    const int top = g->Selection().Top;
    if (top < 0 || top >= g->RowCount())
        return;
    for (int r = top; r < g->RowCount(); ++r)
        for (int c = 0; c <= kScheduleChannels; ++c)
            g->SetCells(c, r, r + 1 < g->RowCount() ? g->Cells(c, r + 1) : std::string());
    if (g->RowCount() > 1)
        g->SetRowCount(g->RowCount() - 1);
}

bool TfrmSchedule::StoreTableDay(TDateTime date) {
    std::vector<TScheduleEntry> entries;
    for (int r = 0; r < GwStringGrid1->RowCount(); ++r) {
        std::string cells[kScheduleChannels];
        for (int c = 0; c < kScheduleChannels; ++c)
            cells[c] = GwStringGrid1->Cells(c + 1, r);
        TScheduleEntry e;
        if (!EntryFromRow(GwStringGrid1->Cells(0, r), cells, e)) {
            ShowMessage(kBadTime);
            return false;
        }
        entries.push_back(e);
    }
    if (::StoreDay(*Channels, DayCodeOfDate(date), entries))
        return true;
    ShowMessage(kDayFull);
    return false;
}

bool TfrmSchedule::StoreDay(TDateTime date) {
    if (!Channels)
        return false;
    if (!GraphicPageActive())
        return StoreTableDay(date);
    if (::StoreDay(*Channels, DayCodeOfDate(date), ReadStrips(FStrips)))
        return true;
    ShowMessage(kDayFull);
    return false;
}

void TfrmSchedule::btSetScheduleClick(TObject*) {
    TDateTime d = DateTimePicker1->Date();
    if (!CheckBox1->Checked()) {
        StoreDay(d);
        return;
    }
    // A day that fails stops the range; the days before it stay stored.
    for (; d <= DateTimePicker2->Date(); d += 1)
        if (!StoreDay(d))
            return;
}

void TfrmSchedule::btExportScheduleClick(TObject*) {
    if (!Channels || !SaveScheduleDialog->Execute())
        return;
    std::string error;
    if (!ExportScheduleFile(SaveScheduleDialog->FileName(), *Channels, error))
        ShowMessage(error);
}

void TfrmSchedule::btImportScheduleClick(TObject*) {
    std::string error;
    if (Channels && OpenScheduleDialog->Execute() &&
        !ImportScheduleFile(OpenScheduleDialog->FileName(), *Channels, error))
        ShowMessage(error);
    ShowDay(DateTimePicker1->Date());
}

void TfrmSchedule::btExitClick(TObject*) { Close(); }

int TfrmSchedule::ChannelOf(TObject* sender, TGwButton* const (&buttons)[kScheduleChannels]) const {
    for (int c = 0; c < kScheduleChannels; ++c)
        if (buttons[c] == sender)
            return c;
    return -1;
}

void TfrmSchedule::btAddZoneCh1Click(TObject* Sender) {
    int c = ChannelOf(Sender, btAddZone);
    // Each zone edge is a day entry: a strip cannot hold more than a day can.
    if (c < 0 || FStrips[c].Count() > kScheduleMaxEntries)
        return;
    FStrips[c].AddZone();
    RenderStrip(c);
}

void TfrmSchedule::btDeleteZoneCh1Click(TObject* Sender) {
    int c = ChannelOf(Sender, btDeleteZone);
    if (c < 0)
        return;
    FStrips[c].DeleteZone();
    RenderStrip(c);
}

void TfrmSchedule::btInvertZoneCh1Click(TObject* Sender) {
    int c = ChannelOf(Sender, btInvertZone);
    if (c < 0)
        return;
    FStrips[c].Invert();
    PlaceStrip(c);
}

void TfrmSchedule::cbCh2EnabledClick(TObject* Sender) {
    for (int c = 1; c < kScheduleChannels; ++c)
        if (cbChEnabled[c] == Sender) {
            const bool on = cbChEnabled[c]->Checked();
            pnChannel[c]->SetEnabled(on);
            btAddZone[c]->SetEnabled(on);
            btInvertZone[c]->SetEnabled(on);
        }
}

void TfrmSchedule::ClearZones(int channel) {
    while (ELEM* e = FZones[channel].Newest) {
        FZones[channel].Remove(e);
        delete static_cast<TScheduleItem*>(e);
    }
}

void TfrmSchedule::RenderStrip(int channel) {
    ClearZones(channel);
    const TZoneStrip& s = FStrips[channel];
    // Appended right to left: the newest end is the leftmost zone.
    for (int i = s.Count() - 1; i >= 0; --i) {
        auto* panel = new TGwSizePanel(nullptr);
        panel->SetParent(pnChannel[channel]);
        panel->SetAutoSize(false);
        // A size panel aligns left by default: the strip would stack the zones and move their edges.
        panel->SetAlign(alNone);
        panel->OnResize = [this](TObject* p) { ZoneResize(p); };
        panel->OnMouseMove = [this](TObject* p, TShiftState sh, int x, int y) { ZoneMouseMove(p, sh, x, y); };
        auto* label = new TLabel(nullptr);
        label->SetParent(tsViewGraphic);
        FZones[channel].Append(new TScheduleItem(panel, label));
    }
    PlaceStrip(channel);
}

void TfrmSchedule::PlaceStrip(int channel) {
    const TZoneStrip& s = FStrips[channel];
    TPanel* strip = pnChannel[channel];
    FRendering = true;
    int i = 0;
    for (ELEM* e = FZones[channel].Newest; e && i < s.Count(); e = e->Older, ++i) {
        auto* z = static_cast<TScheduleItem*>(e);
        const TZone& zone = s.Zones()[size_t(i)];
        z->EndTime = s.EndTime(i);
        z->State = zone.State;
        z->Panel->SetBounds(s.Left(i), 1, s.Right(i) - s.Left(i), strip->Height() - 2);
        z->Panel->SetColor(s.DrawnState(i) ? kOnColour : kOffColour);
        z->Label->SetCaption(EndTimeText(z->EndTime));
        z->Label->SetTop(strip->Top() + strip->Height() + 5);
        z->Label->SetLeft(strip->Left() + s.Right(i) - z->Label->Width() / 2);
        // The rightmost zone ends the day: its edge is no switching time.
        z->Label->SetVisible(i + 1 < s.Count());
    }
    FRendering = false;
}

TScheduleItem* TfrmSchedule::ZoneOf(TObject* panel, int& channel, int& index) const {
    for (channel = 0; channel < kScheduleChannels; ++channel) {
        index = 0;
        for (ELEM* e = FZones[channel].Newest; e; e = e->Older, ++index)
            if (static_cast<TScheduleItem*>(e)->Panel == panel)
                return static_cast<TScheduleItem*>(e);
    }
    return nullptr;
}

void TfrmSchedule::ZoneResize(TObject* Sender) {
    int c, i;
    TScheduleItem* z = FRendering ? nullptr : ZoneOf(Sender, c, i);
    if (!z)
        return;
    FStrips[c].DragEdge(i, z->Panel->Left() + z->Panel->Width());
    PlaceStrip(c);
}

void TfrmSchedule::ZoneMouseMove(TObject* Sender, TShiftState Shift, int X, int) {
    int c, i;
    TScheduleItem* z = Shift.Contains(ssLeft) ? ZoneOf(Sender, c, i) : nullptr;
    if (!z || X <= 0)
        return;
    FStrips[c].DragEdge(i, z->Panel->Left() + X);
    PlaceStrip(c);
}
