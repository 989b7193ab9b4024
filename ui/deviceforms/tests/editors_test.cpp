// The two editor forms driven through their controls: the schedule's table and zone views, its
// file commands, and the indicator's lists, limit and OK.
#include <gtest/gtest.h>

#include <fstream>

#include "Gwbutton.h"
#include "Gwcmbobx.h"
#include "Gwdlgbtn.h"
#include "Gwedit.h"
#include "Gwlstbox.h"
#include "Gwradchk.h"
#include "Gwsplit.h"
#include "Gwtabpages.h"
#include "Objectstore.h"
#include "Uind570mp3.h"
#include "Uschedule.h"
#include "comctrls.h"
#include "dialogs.h"
#include "elem.h"
#include "grids.h"
#include "inputkit.h"
#include "messages.h"
#include "stdctrls.h"

namespace {

// Records messages and answers file dialogs with a set name.
struct Dialogs : TDialogService {
    std::vector<std::string> messages;
    std::string file;
    TDialogService* old;
    Dialogs() : old(SetDialogService(this)) {}
    ~Dialogs() override { SetDialogService(old); }
    int MessageBox(const std::string& text, const std::string&, UINT) override {
        messages.push_back(text);
        return IDOK;
    }
    int MessageDlg(const std::string& text, TMsgDlgType, TMsgDlgButtons) override {
        messages.push_back(text);
        return mrOk;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>& files) override {
        files = {file};
        return !file.empty();
    }
};

struct ChannelList {
    ELEMList list;
    ~ChannelList() {
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete e;
        }
    }
    TParamItem* Add(uint16_t type, uint8_t index, uint16_t bits, std::vector<uint8_t> bytes = {}) {
        auto* p = new TParamItem;
        p->SetAddress(type, index);
        p->Name = "ch";
        p->SetBitWidth(bits);
        for (size_t i = 0; i < bytes.size(); ++i)
            p->Value[int(i)] = bytes[i];
        list.Append(p);
        return p;
    }
};

struct ScheduleForm : testing::Test {
    Dialogs dialogs;
    ChannelList channels;
    std::unique_ptr<TfrmSchedule> form;
    void SetUp() override {
        Application->Initialize();
        form = std::make_unique<TfrmSchedule>(nullptr);
        form->Channels = &channels.list;
        form->DateTimePicker1->SetDate(EncodeDate(2007, 3, 1)); // day code 164
        form->FormShow(nullptr);
    }
    void AddRow(const char* time, const char* ch1) {
        form->GwMaskEdit2->SetText(time);
        form->GwComboBox[0]->SetText(ch1);
        form->Button1->Click();
    }
    // A user's left click in the middle of a tab of the view switch.
    void ClickTab(int tab) {
        TRect r = form->GwPageControl1->TabRect(tab);
        inputkit::Click(form->GwPageControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    std::vector<std::string> Column(int c) {
        std::vector<std::string> out;
        for (int r = 0; r < form->GwStringGrid1->RowCount(); ++r)
            out.push_back(form->GwStringGrid1->Cells(c, r));
        return out;
    }
};

TEST_F(ScheduleForm, RowsGoInTimeOrderAndAreStoredAndRedrawn) {
    AddRow("07:05", "вкл.");
    AddRow("06:00", "");
    AddRow("07:05", "ОТКЛ.");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"06:00", "07:05", "07:05"}));
    form->GwStringGrid1->SetCells(1, 1, "вкл."); // typed into the grid in lower case
    form->btSetScheduleClick(nullptr);
    EXPECT_EQ(ReadDay(channels.list, 164),
              (std::vector<TScheduleEntry>{{6, 0, 0}, {7, 5, 0x11}, {7, 5, 0x01}}));
    form->DateTimePicker1CloseUp(nullptr);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"6:0", "7:5", "7:5"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"НЕТ", "ВКЛ.", "ОТКЛ."}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ScheduleForm, ANotTimeIsRefusedAndA256thRowToo) {
    AddRow("  :  ", "ВКЛ.");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(Column(0), std::vector<std::string>{""});
    for (int i = 0; i < kScheduleMaxEntries; ++i)
        AddRow("01:00", "ВКЛ.");
    EXPECT_EQ(form->GwStringGrid1->RowCount(), kScheduleMaxEntries);
    AddRow("02:00", "ВКЛ.");
    EXPECT_EQ(form->GwStringGrid1->RowCount(), kScheduleMaxEntries);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(ScheduleForm, RangeStoresEveryDayAndABackwardRangeNothing) {
    AddRow("08:00", "ВКЛ.");
    form->CheckBox1->SetChecked(true);
    form->DateTimePicker2->SetDate(EncodeDate(2007, 3, 3));
    form->btSetScheduleClick(nullptr);
    for (int code : {164, 165, 166})
        EXPECT_EQ(ReadDay(channels.list, uint16_t(code)).size(), 1u) << code;
    EXPECT_TRUE(ReadDay(channels.list, 167).empty());
    form->DateTimePicker1->SetDate(EncodeDate(2007, 4, 1));
    form->DateTimePicker2->SetDate(EncodeDate(2007, 3, 31));
    form->btSetScheduleClick(nullptr);
    EXPECT_TRUE(ReadDay(channels.list, DayCode(4, 1)).empty());
}

// The user types a day February lacks into the range's last day, key by key, and stores: the day
// is February's last, never a day of another month, and nothing is said.
TEST_F(ScheduleForm, ADayTheMonthLacksTypedIntoTheRangeEndsItOnTheMonthsLastDay) {
    form->DateTimePicker1->SetDate(EncodeDate(2007, 2, 2));
    form->DateTimePicker2->SetDate(EncodeDate(2007, 2, 2));
    form->Show();
    AddRow("08:00", "ВКЛ.");
    inputkit::Click(form->CheckBox1, 5, 8);
    ASSERT_TRUE(form->DateTimePicker2->Enabled());
    inputkit::Click(form->DateTimePicker2, 3, 10);
    inputkit::TypeToFocus("3");
    EXPECT_EQ(form->DateTimePicker2->Date(), EncodeDate(2007, 2, 3));
    inputkit::TypeToFocus("1");
    inputkit::Click(form->btSetSchedule, 10, 10);
    EXPECT_EQ(form->DateTimePicker2->Date(), EncodeDate(2007, 2, 28));
    for (int day : {2, 28})
        EXPECT_EQ(ReadDay(channels.list, DayCode(2, day)).size(), 1u) << day;
    EXPECT_TRUE(ReadDay(channels.list, DayCode(3, 1)).empty());
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{});
}

TEST_F(ScheduleForm, BadImportKeepsTheScheduleAndSaysSo) {
    channels.Add(164, 1, 24, {9, 15, 0x11});
    form->FormShow(nullptr);
    dialogs.file = testing::TempDir() + "form-bad.sdl";
    std::ofstream(dialogs.file) << "164;1;25;0;1;\n";
    form->btImportScheduleClick(nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(Column(0), std::vector<std::string>{"9:15"});

    dialogs.file = testing::TempDir() + "form-good.sdl";
    form->btExportScheduleClick(nullptr);
    std::ofstream(dialogs.file, std::ios::app) << "164;2;10;0;1;\n";
    form->btImportScheduleClick(nullptr);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"9:15", "10:0"}));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(ScheduleForm, GraphicViewDrawsZonesAndStoresThemBack) {
    channels.Add(164, 1, 24, {8, 0, 0x33});
    channels.Add(164, 2, 24, {17, 0, 0x01});
    EXPECT_EQ(form->GwPageControl1->TabCount(), 1); // the graphic view's tab waits for the box
    form->GwCheckBox1->SetChecked(true);
    form->GwCheckBox1Click(nullptr);
    ASSERT_EQ(form->GwPageControl1->TabCount(), 2);
    ClickTab(form->tsViewGraphic->TabIndex());
    ASSERT_TRUE(form->GraphicPageActive());
    EXPECT_EQ(form->Zones(0).Count, 3u);
    EXPECT_EQ(form->Zones(1).Count, 2u);
    EXPECT_TRUE(form->cbChEnabled[1]->Checked());
    EXPECT_FALSE(form->cbChEnabled[2]->Checked());
    EXPECT_FALSE(form->btAddZone[2]->Enabled());
    EXPECT_TRUE(form->btDeleteZone[2]->Enabled());

    form->btDeleteZone[1]->Click(); // two zones go together
    EXPECT_EQ(form->Zones(1).Count, 0u);
    form->btInvertZone[0]->Click();
    form->btSetScheduleClick(nullptr);
    EXPECT_EQ(ReadDay(channels.list, 164), (std::vector<TScheduleEntry>{{8, 0, 0x01}, {17, 0, 0x11}}));
    ClickTab(form->tsViewTable->TabIndex()); // back to the table, which shows the stored day
    EXPECT_FALSE(form->GraphicPageActive());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"8:0", "17:0"}));
}

TEST_F(ScheduleForm, ADraggedZoneEdgeIsTheStoredTime) {
    form->GwPageControl1->SetActivePage(form->tsViewGraphic);
    form->btAddZone[0]->Click();
    ASSERT_EQ(form->Zones(0).Count, 2u);
    auto* leftmost = static_cast<TScheduleItem*>(form->Zones(0).Newest);
    leftmost->Panel->SetWidth(100); // the size bar's drag ends in a resize
    EXPECT_EQ(leftmost->EndTime, 165);
    EXPECT_EQ(leftmost->Label->Caption(), "2:45");
    form->btSetScheduleClick(nullptr);
    ASSERT_EQ(ReadDay(channels.list, 164).size(), 1u);
    EXPECT_EQ(ReadDay(channels.list, 164)[0].Hour, 2);
    EXPECT_EQ(ReadDay(channels.list, 164)[0].Minute, 45);
}

// ---- indicator ----

struct IndicatorForm : testing::Test {
    Dialogs dialogs;
    ChannelList channels;
    TParamItem *sources = nullptr, *formats = nullptr;
    std::unique_ptr<TfrmInd570mp3> form;
    void SetUp() override {
        Application->Initialize();
        form = std::make_unique<TfrmInd570mp3>(nullptr);
        form->Channels = &channels.list;
        form->ObjectNumber = 2512;
    }
    void Params() {
        sources = channels.Add(1084, 1, 384);
        formats = channels.Add(1085, 1, 384);
    }
    void Pick(const std::string& text) {
        form->GwListBox1->SetItemIndex(form->GwListBox1->Items()->IndexOf(text));
        form->GwButton4->Click();
    }
};

TEST_F(IndicatorForm, SixteenLinesAtMostThenAddIsOff) {
    Params();
    for (int i = 1; i <= 17; ++i)
        channels.Add(3, uint8_t(i), 8);
    form->FormShow(nullptr);
    EXPECT_EQ(form->GwListBox1->Items()->Count(), 17);
    for (int i = 1; i <= 16; ++i)
        Pick("3:" + IntToStr(i) + "-ch");
    EXPECT_EQ(form->GwListBox2->Items()->Count(), 16);
    EXPECT_FALSE(form->GwButton4->Enabled());
    form->GwListBox1->SetItemIndex(0);
    form->GwListBox1->OnDblClick ? form->GwListBox1->OnDblClick(nullptr) : void();
    EXPECT_EQ(form->GwListBox2->Items()->Count(), 16);
}

TEST_F(IndicatorForm, OkWritesTheLinesAndTypedFormats) {
    Params();
    channels.Add(4, 17, 16);
    channels.Add(4, 18, 8);
    form->FormShow(nullptr);
    Pick("4:18-ch");
    Pick("4:17-ch");
    form->GwListBox2->SetItemIndex(1);
    form->GwListBox2Click(nullptr);
    form->Edit1->SetText("2");
    form->Edit2->SetText("1x");    // not a number yet: ignored while typed
    form->Edit2->SetText("65537"); // past the divisor's two bytes: OK refuses it
    form->SetModalResult(mrOk);
    form->GwDialogButtons1ClickOk(nullptr);
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    form->Edit2->SetText("1");
    form->GwButton1->Click(); // "4:17" moves up
    form->SetModalResult(mrOk);
    form->GwDialogButtons1ClickOk(nullptr);
    EXPECT_EQ(form->ModalResult(), mrOk);
    std::vector<uint8_t> src, fmt;
    for (int i = 0; i < 6; ++i) {
        src.push_back(sources->Value[i]);
        fmt.push_back(formats->Value[i]);
    }
    EXPECT_EQ(src, (std::vector<uint8_t>{4, 0, 17, 4, 0, 18}));
    EXPECT_EQ(fmt, (std::vector<uint8_t>{2, 1, 0, 0, 1, 0}));
}

TEST_F(IndicatorForm, TextThatIsNoNumberIsCheckedOnOk) {
    Params();
    channels.Add(4, 17, 16);
    form->FormShow(nullptr);
    Pick("4:17-ch");
    form->GwListBox2->SetItemIndex(0);
    form->GwListBox2Click(nullptr);
    form->Edit1->SetText("x");
    form->SetModalResult(mrOk);
    form->GwDialogButtons1ClickOk(nullptr);
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(sources->Value[0], 0);
}

// A line's digits or divisor typed key by key, the edit ended as a user ends it: by clicking the
// other line and then OK, or by OK on the line itself.
struct TypedFormatCase {
    const char* Name;
    int Field;                   // 1 digits, 2 divisor
    std::string Keys;            // typed after the field's text is erased
    bool OkOnTheLine;            // else the other line is clicked first
    std::vector<uint8_t> Format; // format entry 0 afterwards
    std::string Said;            // the one message, or none
    TModalResult Result;
};

void PrintTo(const TypedFormatCase& c, std::ostream* os) { *os << c.Name; }

const char* const kDigitsRange = "Кол-во цифр после запятой: введите целое число от 0 до 255.";
const char* const kDivisorRange = "Делитель: введите целое число от 0 до 65535.";

struct IndicatorTyping : IndicatorForm, testing::WithParamInterface<TypedFormatCase> {
    void ClickLine(int line) {
        TRect r = form->GwListBox2->ItemRect(line);
        inputkit::Click(form->GwListBox2, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void ClickMiddle(TControl* c) { inputkit::Click(c, c->Width() / 2, c->Height() / 2); }
};

TEST_P(IndicatorTyping, ANumberThatDoesNotFitIsNeverStoredInPart) {
    const TypedFormatCase& c = GetParam();
    Params();
    channels.Add(4, 17, 16);
    channels.Add(4, 18, 8);
    const uint8_t lines[] = {4, 0, 17, 4, 0, 18}, settings[] = {2, 10, 0, 0, 1, 0};
    for (int i = 0; i < 6; ++i) {
        sources->Value[i] = lines[i];
        formats->Value[i] = settings[i];
    }
    form->Show();
    inputkit::ProcessEvents();
    ASSERT_EQ(form->GwListBox2->Items()->Count(), 2);
    ClickLine(0);
    TEdit* edit = c.Field == 1 ? form->Edit1 : form->Edit2;
    ASSERT_EQ(edit->Text(), c.Field == 1 ? "2" : "10");
    ClickMiddle(edit);
    inputkit::Press(edit, inputkit::Key::End);
    for (size_t n = edit->Text().size(); n > 0; --n)
        inputkit::Press(edit, inputkit::Key::Backspace);
    inputkit::Type(edit, c.Keys);
    ASSERT_EQ(edit->Text(), c.Keys);
    if (!c.OkOnTheLine)
        ClickLine(1);
    form->SetModalResult(mrNone);
    ClickMiddle(form->GwDialogButtons1->Button(1));
    EXPECT_EQ(form->ModalResult(), c.Result);
    EXPECT_EQ(dialogs.messages,
              c.Said.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Said});
    const std::vector<uint8_t> format0{formats->Value[0], formats->Value[1], formats->Value[2]};
    // Refused on OK: nothing is written, the entry is as it was.
    EXPECT_EQ(format0, c.Result == mrOk ? c.Format : (std::vector<uint8_t>{2, 10, 0}));
    form->Hide();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndicatorTyping,
    testing::Values(
        TypedFormatCase{"DigitsPastTheByteThenOtherLine", 1, "300", false, {2, 10, 0}, kDigitsRange, mrOk},
        TypedFormatCase{
            "DivisorPastTwoBytesThenOtherLine", 2, "65536", false, {2, 10, 0}, kDivisorRange, mrOk},
        TypedFormatCase{"NegativeDigitsThenOtherLine", 1, "-1", false, {2, 10, 0}, kDigitsRange, mrOk},
        TypedFormatCase{"ErasedDivisorThenOtherLine", 2, "", false, {2, 10, 0}, kDivisorRange, mrOk},
        TypedFormatCase{"DigitsThatFitThenOtherLine", 1, "25", false, {25, 10, 0}, "", mrOk},
        TypedFormatCase{"DivisorThatFitsThenOtherLine", 2, "1000", false, {2, 0xE8, 0x03}, "", mrOk},
        TypedFormatCase{"DigitsPastTheByteThenOk", 1, "300", true, {}, kDigitsRange, mrNone},
        TypedFormatCase{"DivisorThatFitsThenOk", 2, "65535", true, {2, 0xFF, 0xFF}, "", mrOk}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(IndicatorForm, MissingParametersAreSaidAndOkIsOff) {
    channels.Add(1084, 1, 384);
    channels.Add(4, 17, 16);
    form->FormShow(nullptr);
    EXPECT_TRUE(form->lbMissing->Visible());
    EXPECT_FALSE(form->GwDialogButtons1->ButtonEnabled(1));
    channels.Add(1085, 1, 384);
    form->FormShow(nullptr);
    EXPECT_FALSE(form->lbMissing->Visible());
    EXPECT_TRUE(form->GwDialogButtons1->ButtonEnabled(1));
}

} // namespace
