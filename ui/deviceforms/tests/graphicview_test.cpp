// The schedule editor's graphic view driven as a user drives it: rows typed into the table, the
// view's box and tab clicked, zones added, inverted and dragged with the mouse, "Записать" pressed;
// a day shown on the strips and stored again must be the same day.
#include <gtest/gtest.h>

#include <algorithm>

#include "Gwbutton.h"
#include "Gwcmbobx.h"
#include "Gwedit.h"
#include "Gwradchk.h"
#include "Gwsplit.h"
#include "Gwtabpages.h"
#include "Uschedule.h"
#include "comctrls.h"
#include "dialogs.h"
#include "elem.h"
#include "extctrls.h"
#include "grids.h"
#include "inputkit.h"
#include "scheduledays.h"
#include "screenkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

// Records the messages a store or an add would show.
struct Messages : TDialogService {
    std::vector<std::string> texts;
    TDialogService* old;
    Messages() : old(SetDialogService(this)) {}
    ~Messages() override { SetDialogService(old); }
    int MessageBox(const std::string& text, const std::string&, UINT) override {
        texts.push_back(text);
        return IDOK;
    }
    int MessageDlg(const std::string& text, TMsgDlgType, TMsgDlgButtons) override {
        texts.push_back(text);
        return mrOk;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

constexpr uint16_t kFirstOfMarch = 164;

struct ScheduleByHand : testing::Test {
    Messages messages;
    ELEMList channels;
    std::unique_ptr<TfrmSchedule> form;

    void SetUp() override { Application->Initialize(); }
    void TearDown() override {
        form.reset();
        while (ELEM* e = channels.Newest) {
            channels.Remove(e);
            delete e;
        }
    }
    void Open() {
        form = std::make_unique<TfrmSchedule>(nullptr);
        form->Channels = &channels;
        form->DateTimePicker1->SetDate(EncodeDate(2007, 3, 1));
        form->Show();
        ProcessEvents();
    }
    static void ClickMiddle(TControl* c) { Click(c, c->Width() / 2, c->Height() / 2); }
    void ClickTab(TGwTabSheet* sheet) {
        TRect r = form->GwPageControl1->TabRect(sheet->TabIndex());
        Click(form->GwPageControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // Ticks the box that shows the graphic view's tab, and opens the tab.
    void ShowGraphic() {
        if (!form->GwCheckBox1->Checked())
            ClickMiddle(form->GwCheckBox1);
        ClickTab(form->tsViewGraphic);
        ASSERT_TRUE(form->GraphicPageActive());
    }
    void ShowTable() {
        ClickTab(form->tsViewTable);
        ASSERT_FALSE(form->GraphicPageActive());
    }
    // Types a time and the four channel texts ("" leaves a box empty) and presses "Добавить".
    void TypeRow(const std::string& time, const std::vector<std::string>& cells) {
        ClickMiddle(form->GwMaskEdit2);
        Press(form->GwMaskEdit2, Key::Home);
        Type(form->GwMaskEdit2, time);
        for (int c = 0; c < kScheduleChannels; ++c) {
            ClickMiddle(form->GwComboBox[c]);
            Press(form->GwComboBox[c], 'A', Ctrl);
            Press(form->GwComboBox[c], Key::Delete);
            if (size_t(c) < cells.size() && !cells[size_t(c)].empty())
                Type(form->GwComboBox[c], cells[size_t(c)]);
        }
        ClickMiddle(form->Button1);
    }
    std::vector<std::string> Row(int r) {
        std::vector<std::string> out;
        for (int c = 0; c <= kScheduleChannels; ++c)
            out.push_back(form->GwStringGrid1->Cells(c, r));
        return out;
    }
    // Every zone panel where its strip puts it, with its edge's time under it.
    void ExpectPanelsFollowTheStrips() {
        for (int c = 0; c < kScheduleChannels; ++c) {
            const TZoneStrip& s = form->Strip(c);
            ASSERT_EQ(form->Zones(c).Count, uint32_t(s.Count())) << "channel " << c + 1;
            int i = 0;
            for (ELEM* e = form->Zones(c).Newest; e; e = e->Older, ++i) {
                auto* z = static_cast<TScheduleItem*>(e);
                EXPECT_EQ(z->Panel->Left(), s.Left(i)) << "channel " << c + 1 << " zone " << i;
                EXPECT_EQ(z->Panel->Left() + z->Panel->Width(), s.Right(i))
                    << "channel " << c + 1 << " zone " << i;
                EXPECT_EQ(z->EndTime, s.EndTime(i));
                if (i + 1 < s.Count()) {
                    EXPECT_EQ(z->Label->Caption(),
                              IntToStr(s.EndTime(i) / 60) + ":" + IntToStr(s.EndTime(i) % 60));
                }
            }
        }
    }
};

// Channel 1's switches of the stored day, in time order: the minute and the state switched to.
std::vector<std::pair<int, int>> Channel1Switches(const ELEMList& channels) {
    std::vector<std::pair<int, int>> out;
    for (const TScheduleEntry& e : ReadDay(channels, kFirstOfMarch))
        if (e.Flags & 0x01)
            out.push_back({e.Hour * 60 + e.Minute, (e.Flags >> 4) & 1});
    return out;
}

// Channel 1's strip, painted afresh, shows after each stored switch the state switched to, lit or
// dark, up to the next switch; the strip's model says the same.
void ExpectStripDrawsTheStoredDay(TfrmSchedule& form, const ELEMList& channels) {
    const auto switches = Channel1Switches(channels);
    const TZoneStrip& strip = form.Strip(0);
    ASSERT_EQ(strip.Count(), int(switches.size()) + 1);
    TBitmap shown;
    screenkit::Client(form.pnChannel[0], shown);
    const int y = form.pnChannel[0]->Height() / 2;
    for (size_t k = 0; k < switches.size(); ++k) {
        const int from = PixelOfMinutes(switches[k].first);
        const int to = k + 1 < switches.size() ? PixelOfMinutes(switches[k + 1].first) : kStripWidth;
        const std::string at = "after the switch at " + IntToStr(switches[k].first) + " minutes";
        EXPECT_EQ(strip.DrawnState(int(k) + 1), switches[k].second) << at;
        if (to - from < 3)
            continue;
        EXPECT_EQ(shown.Canvas()->GetPixel((from + to) / 2, y), switches[k].second ? clYellow : clBlack)
            << at;
    }
}

struct TDrawnCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> rows; // time typed, channel 1's text
};
void PrintTo(const TDrawnCase& c, std::ostream* os) { *os << c.name; }

class StripColours : public ScheduleByHand, public testing::WithParamInterface<TDrawnCase> {};

TEST_P(StripColours, ShowTheStatesOfTheEntriesBeforeAndAfterAnEdit) {
    Open();
    for (const auto& [time, text] : GetParam().rows)
        TypeRow(time, {text});
    ClickMiddle(form->btSetSchedule);
    ASSERT_EQ(Channel1Switches(channels).size(), GetParam().rows.size());
    ShowGraphic();
    ExpectStripDrawsTheStoredDay(*form, channels);
    // Edited on the strip and stored: the strip still shows what is stored.
    ClickMiddle(form->btInvertZone[0]);
    ClickMiddle(form->btSetSchedule);
    ExpectStripDrawsTheStoredDay(*form, channels);
    EXPECT_TRUE(messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Schedule, StripColours,
                         testing::Values(TDrawnCase{"OffTwiceInARow", {{"1845", "ОТКЛ."}, {"2355", "ОТКЛ."}}},
                                         TDrawnCase{"OnTwiceInARow",
                                                    {{"0700", "ВКЛ."}, {"0900", "ВКЛ."}, {"1700", "ОТКЛ."}}},
                                         TDrawnCase{"OnThenOff", {{"0730", "ВКЛ."}, {"1845", "ОТКЛ."}}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TMidnightCase {
    const char* name;
    int presses;
};
void PrintTo(const TMidnightCase& c, std::ostream* os) { *os << c.name; }

class MidnightZones : public ScheduleByHand, public testing::WithParamInterface<TMidnightCase> {};

// A day that starts with a switch at 0:00: each added zone is one the user sees and drags, and
// no two switches of the channel share a minute.
TEST_P(MidnightZones, AddedZonesAreSeenDraggedAndStoredApart) {
    Open();
    TypeRow("0000", {"ВКЛ."});
    TypeRow("1200", {"ОТКЛ."});
    ClickMiddle(form->btSetSchedule);
    ShowGraphic();
    for (int n = 0; n < GetParam().presses; ++n)
        ClickMiddle(form->btAddZone[0]);
    ASSERT_EQ(form->Strip(0).Count(), 3 + GetParam().presses);
    // The switch at midnight leaves the leftmost zone no width; every other one is seen.
    int i = 0;
    TScheduleItem* added = nullptr;
    for (ELEM* e = form->Zones(0).Newest; e; e = e->Older, ++i) {
        auto* z = static_cast<TScheduleItem*>(e);
        if (i == 0)
            continue;
        EXPECT_GE(z->Panel->Width(), 3) << "zone " << i;
        if (i == 1)
            added = z;
    }
    ASSERT_NE(added, nullptr);
    const int w = added->Panel->Width(), h = added->Panel->Height();
    Drag(added->Panel, w - 2, h / 2, w - 2 + 30, h / 2);
    const int dragged = added->EndTime;
    EXPECT_EQ(added->Label->Caption(), IntToStr(dragged / 60) + ":" + IntToStr(dragged % 60));
    ExpectPanelsFollowTheStrips();
    ClickMiddle(form->btSetSchedule);
    ExpectStripDrawsTheStoredDay(*form, channels);

    const auto switches = Channel1Switches(channels);
    ASSERT_EQ(switches.size(), size_t(2 + GetParam().presses));
    EXPECT_EQ(switches.front(), std::make_pair(0, 1));
    EXPECT_EQ(switches.back(), std::make_pair(12 * 60, 0));
    for (size_t k = 1; k < switches.size(); ++k)
        EXPECT_LT(switches[k - 1].first, switches[k].first) << "two switches at one minute";
    EXPECT_EQ(switches[1].first, dragged);
    ShowTable();
    EXPECT_EQ(Row(0), (std::vector<std::string>{"0:0", "ВКЛ.", "НЕТ", "НЕТ", "НЕТ"}));
    EXPECT_TRUE(messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Schedule, MidnightZones,
                         testing::Values(TMidnightCase{"OnePress", 1}, TMidnightCase{"TwoPresses", 2},
                                         TMidnightCase{"ThreePresses", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScheduleByHand, TheTypedDayComesBackFromTheGraphicViewUnchanged) {
    Open();
    TypeRow("0730", {"ВКЛ."});
    TypeRow("1845", {"ОТКЛ.", "ВКЛ."});
    ClickMiddle(form->btSetSchedule);
    const std::vector<TScheduleEntry> day = {E(7, 30, 0x11), E(18, 45, 0x23)};
    ASSERT_EQ(ReadDay(channels, kFirstOfMarch), day);

    ShowGraphic();
    ExpectPanelsFollowTheStrips();
    auto* first = static_cast<TScheduleItem*>(form->Zones(0).Newest);
    EXPECT_EQ(first->Label->Caption(), "7:30");
    EXPECT_EQ(first->State, 1);
    ClickMiddle(form->btSetSchedule);
    ShowTable();
    EXPECT_EQ(ReadDay(channels, kFirstOfMarch), day);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"7:30", "ВКЛ.", "НЕТ", "НЕТ", "НЕТ"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"18:45", "ОТКЛ.", "ВКЛ.", "НЕТ", "НЕТ"}));
    EXPECT_TRUE(messages.texts.empty());
}

class GraphicViewDays : public ScheduleByHand, public testing::WithParamInterface<TDrawnDay> {};

TEST_P(GraphicViewDays, StoredFromTheViewGiveBackTheSameDay) {
    ASSERT_TRUE(StoreDay(channels, kFirstOfMarch, GetParam().day));
    Open();
    ShowGraphic();
    ExpectPanelsFollowTheStrips();
    ClickMiddle(form->btSetSchedule);
    EXPECT_EQ(ReadDay(channels, kFirstOfMarch), GetParam().day);
    ShowTable();
    ASSERT_EQ(form->GwStringGrid1->RowCount(), int(GetParam().day.size()));
    for (size_t r = 0; r < GetParam().day.size(); ++r)
        EXPECT_EQ(form->GwStringGrid1->Cells(0, int(r)), TimeCellText(GetParam().day[r]));
}

INSTANTIATE_TEST_SUITE_P(Schedule, GraphicViewDays, testing::ValuesIn(RoundTripDays()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScheduleByHand, AnInvertedStripStoresTheOtherStatesOfThatChannelOnly) {
    ASSERT_TRUE(StoreDay(channels, kFirstOfMarch, {E(7, 30, 0x11), E(18, 45, 0x23)}));
    Open();
    ShowGraphic();
    ClickMiddle(form->btInvertZone[0]);
    ExpectPanelsFollowTheStrips();
    ClickMiddle(form->btSetSchedule);
    EXPECT_EQ(ReadDay(channels, kFirstOfMarch), (std::vector{E(7, 30, 0x01), E(18, 45, 0x33)}));
}

TEST_F(ScheduleByHand, AZoneEdgeDraggedWithTheMouseIsTheStoredTime) {
    Open();
    ShowGraphic();
    ClickMiddle(form->btAddZone[0]);
    ASSERT_EQ(form->Zones(0).Count, 2u);
    auto* leftmost = static_cast<TScheduleItem*>(form->Zones(0).Newest);
    const int w = leftmost->Panel->Width(), h = leftmost->Panel->Height();
    // The size bar lies along the zone's right edge; 60 pixels to the right are 100 minutes later.
    Drag(leftmost->Panel, w - 2, h / 2, w - 2 + 60, h / 2);
    const int edge = (w + 60) / 3 * 5;
    EXPECT_EQ(leftmost->EndTime, edge);
    EXPECT_EQ(leftmost->Label->Caption(), IntToStr(edge / 60) + ":" + IntToStr(edge % 60));
    ExpectPanelsFollowTheStrips();
    ClickMiddle(form->btSetSchedule);
    ASSERT_EQ(ReadDay(channels, kFirstOfMarch).size(), 1u);
    EXPECT_EQ(ReadDay(channels, kFirstOfMarch)[0].Hour * 60 + ReadDay(channels, kFirstOfMarch)[0].Minute,
              edge);
}

TEST_F(ScheduleByHand, TheFormWidensToShowTheWholeDayOnTheStrips) {
    Open();
    const int tableWidth = form->Width();
    const int tableCentre = form->Left() + tableWidth / 2;
    ShowGraphic();
    for (TPanel* strip : form->pnChannel)
        EXPECT_LE(strip->Left() + strip->Width(), form->tsViewGraphic->ClientWidth());
    EXPECT_LE(form->btExit->Left() + form->btExit->Width(), form->ClientWidth());
    EXPECT_GT(form->btExit->Left(), tableWidth / 2) << "the bottom row stays right-aligned";
    // About its centre, kept inside the screen's work area.
    const TRect area = Screen->WorkAreaRect();
    const int left =
        std::max(area.Left, std::min(tableCentre - form->Width() / 2, area.Right - form->Width()));
    EXPECT_EQ(form->Left(), left);
    ShowTable();
    EXPECT_EQ(form->Width(), tableWidth);
    // Hiding the graphic view's tab while it is on show brings the table back, at its width.
    ShowGraphic();
    ClickMiddle(form->GwCheckBox1);
    EXPECT_FALSE(form->GraphicPageActive());
    EXPECT_EQ(form->Width(), tableWidth);
}

} // namespace
