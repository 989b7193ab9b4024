// The date-time edit and the colour edit: typed and stepped dates and times, the range, leaving
// with unreadable text, and the drop-downs run through their popup loop with posted input.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Gwborder.h"
#include "Gwdropedit.h"
#include "forms.h"
#include "gw_support.h"
#include "dialogs.h"
#include "inputkit.h"
#include "sysinfo.h"

namespace {

// Message boxes noted instead of shown.
class TBoxes : public TDialogService {
public:
    TBoxes() : FOld(SetDialogService(this)) {}
    ~TBoxes() override { SetDialogService(FOld); }
    int MessageBox(const std::string& Text, const std::string&, UINT) override {
        Texts.push_back(Text);
        return IDOK;
    }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return 0; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
    std::vector<std::string> Texts;

private:
    TDialogService* FOld;
};

TDateTime FixedNow() { return EncodeDate(2026, 7, 15) + EncodeTime(9, 30, 0, 0); }

// The edits with their key handler in reach, for modifier combinations no message can carry here.
class TProbeDateEdit : public TGwDateTimeEdit {
public:
    using TGwDateTimeEdit::KeyDown;
    using TGwDateTimeEdit::TGwDateTimeEdit;
};

template <class T> struct DropForm {
    DropForm() {
        TApplication::QtApp();
        SetClock(&FixedNow);
        FSep = DateSeparator;
        FFormat = ShortDateFormat;
        DateSeparator = '.';
        ShortDateFormat = "dd.MM.yyyy";
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Other = new TGwEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 250, 100, 21);
        Edit = new T(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 21);
        Form->Show();
        Other->SetFocus();
        Application->ProcessMessages();
    }
    ~DropForm() {
        delete Form;
        Application->ProcessMessages();
        SetClock(nullptr);
        DateSeparator = FSep;
        ShortDateFormat = FFormat;
    }
    // Opens the drop-down with Alt+Down; Input runs once the popup's loop waits for events.
    void DropDown(std::function<void(TWinControl* Popup)> Input) {
        int hook = Application->HookMessages([&](TMsg& m) {
            if (m.message != WM_APP)
                return false;
            for (int i = 0; i < Form->ControlCount(); ++i)
                if (auto* p = dynamic_cast<TGwPopup*>(Form->Controls(i)); p && p->Visible())
                    Input(p);
            return true;
        });
        PostMessage(Form->Handle(), WM_APP, 0, 0);
        Edit->SetFocus();
        inputkit::Press(Edit, inputkit::Key::Down, inputkit::Alt);
        Application->UnhookMessages(hook);
    }
    void Type(const std::string& Keys) { inputkit::Type(Edit, Keys); }
    TForm* Form;
    TGwEdit* Other;
    T* Edit;
    char FSep;
    std::string FFormat;
};

using DateForm = DropForm<TProbeDateEdit>;

TEST(GwDateTimeEdit, EmptyUntilSetThenTheShortDate) {
    DateForm f;
    EXPECT_EQ(f.Edit->Text(), "");
    EXPECT_TRUE(f.Edit->DropButtonVisible());
    f.Edit->SetDate(EncodeDate(2026, 3, 4));
    EXPECT_EQ(f.Edit->Text(), "04.03.2026");
    f.Edit->Clear();
    EXPECT_EQ(f.Edit->Text(), "");
    EXPECT_EQ(f.Edit->Value(), 0);
}

struct StepCase {
    const char* Name;
    TGwDTEditType Type;
    WORD Key;
    TShiftState Shift;
    int Y, Mo, D, H, Mi; // the value after one step from 31.01.2026 23:50
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.Name; }

class StepKeys : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepKeys, StepTheValue) {
    const StepCase& c = GetParam();
    DateForm f;
    const TDateTime start = EncodeDate(2026, 1, 31) + EncodeTime(23, 50, 0, 0);
    if (c.Type == etDate)
        f.Edit->SetDate(start);
    else
        f.Edit->SetTime(start);
    TDateTime reported = 0;
    f.Edit->OnDateTimeChange = [&](TObject*, TDateTime V) { reported = V; };
    WORD key = c.Key;
    f.Edit->KeyDown(key, c.Shift);
    EXPECT_EQ(key, 0);
    const TDateTime want = EncodeDate(c.Y, c.Mo, c.D) + EncodeTime(c.H, c.Mi, 0, 0);
    EXPECT_NEAR(f.Edit->Value(), want, 1e-9);
    EXPECT_NEAR(reported, want, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Gw, StepKeys,
    ::testing::Values(StepCase{"DayUp", etDate, VK_UP, {}, 2026, 2, 1, 23, 50},
                      StepCase{"DayDown", etDate, VK_DOWN, {}, 2026, 1, 30, 23, 50},
                      StepCase{"MonthUpKeepsTheMonthsEnd", etDate, VK_PRIOR, {}, 2026, 2, 28, 23, 50},
                      StepCase{"YearDown", etDate, VK_NEXT, {ssShift}, 2025, 1, 31, 23, 50},
                      StepCase{"HourUp", etTime, VK_PRIOR, {}, 2026, 2, 1, 0, 50},
                      StepCase{"MinuteDown", etTime, VK_DOWN, {}, 2026, 1, 31, 23, 49}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwDateTimeEdit, StepCharactersAndTheSeparator) {
    DateForm f;
    f.Type("+");
    EXPECT_EQ(f.Edit->Text(), "16.07.2026") << "an empty edit steps from today";
    f.Type("=");
    f.Type("_");
    EXPECT_EQ(f.Edit->Text(), "16.07.2026");
    DateSeparator = '-';
    f.Type("-");
    EXPECT_EQ(f.Edit->Text(), "16.07.2026-") << "the separator is typed, not a step";
    f.Edit->SetReadOnly(true);
    EXPECT_FALSE(f.Edit->DropButtonVisible());
    f.Type("+");
    WORD up = VK_UP;
    f.Edit->KeyDown(up, {});
    EXPECT_EQ(f.Edit->Text(), "16.07.2026-") << "a read-only edit keeps its value";
    f.Edit->SetEditType(etTime);
    f.Edit->SetReadOnly(false);
    f.Edit->SetTime(EncodeTime(0, 20, 0, 0));
    int beeps = 0;
    SetBeepHandler([&](UINT) { ++beeps; });
    f.Type("x-");
    SetBeepHandler(nullptr);
    EXPECT_EQ(beeps, 1) << "letters other than A, M and P are refused";
    EXPECT_NEAR(f.Edit->Time(), EncodeTime(23, 20, 0, 0), 1e-9) << "a time below 0 wraps to the day before";
}

TEST(GwDateTimeEdit, RangeRules) {
    DateForm f;
    f.Edit->SetDate(EncodeDate(1900, 1, 1)); // no bounds: any date
    f.Edit->SetMaxDate(EncodeDate(2026, 12, 31));
    try {
        f.Edit->SetMinDate(EncodeDate(2027, 1, 1));
        FAIL() << "Min above Max accepted";
    } catch (const EGwCalendarError& e) {
        EXPECT_EQ(e.Message, "Date exceeds maximum of 31.12.2026");
    }
    f.Edit->SetMinDate(EncodeDate(2026, 1, 1));
    EXPECT_EQ(f.Edit->Date(), EncodeDate(2026, 1, 1)) << "the date moves into the range";
    EXPECT_THROW(f.Edit->SetDate(EncodeDate(2025, 5, 5)), EGwCalendarError);
}

TEST(GwDateTimeEdit, LeavingWithTextThatIsNoDate) {
    DateForm f;
    f.Edit->SetDate(EncodeDate(2026, 3, 4));
    f.Edit->SetFocus();
    f.Edit->SetText("31.02.2026");
    f.Edit->SetModified(true);
    bool asked = false;
    f.Edit->OnInvalidDate = [&](TObject*, bool& KeepFocused, bool& KeepInvalidText, TDateTime& NewDate) {
        asked = true;
        EXPECT_FALSE(KeepFocused || KeepInvalidText);
        EXPECT_EQ(NewDate, 0);
        KeepInvalidText = true;
    };
    EXPECT_THROW(f.Other->SetFocus(), EAbort) << "the focus stays";
    EXPECT_TRUE(asked);
    EXPECT_EQ(f.Edit->Text(), "31.02.2026");
    f.Edit->OnInvalidDate = nullptr;
    f.Other->SetFocus();
    EXPECT_EQ(f.Edit->Text(), "") << "without a handler the value becomes 0";
    // A typed date beyond the range is shown as a message, and the focus stays.
    f.Edit->SetMaxDate(EncodeDate(2026, 12, 31));
    f.Edit->SetFocus();
    f.Edit->SetText("05.05.2027");
    f.Edit->SetModified(true);
    TBoxes boxes;
    EXPECT_THROW(f.Other->SetFocus(), EAbort);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(boxes.Texts[0], "Date is beyond valid date range");
    EXPECT_TRUE(f.Edit->Focused());
}

TEST(GwDateTimeEdit, CalendarDropDownAcceptsWithEnterAndCancelsWithEscape) {
    DateForm f;
    int drops = 0;
    f.Edit->OnDropDown = [&](TObject*) { ++drops; };
    f.DropDown([&](TWinControl*) { inputkit::Press(f.Edit, inputkit::Key::Escape); });
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(f.Edit->Text(), "") << "cancelled";
    f.DropDown([&](TWinControl*) {
        inputkit::Press(f.Edit, inputkit::Key::Right);
        inputkit::Press(f.Edit, inputkit::Key::Return);
    });
    EXPECT_EQ(f.Edit->Text(), "16.07.2026") << "opened on today, one day on, accepted";
}

TEST(GwDateTimeEdit, ClockDropDownSetsTheTime) {
    DateForm f;
    f.Edit->SetEditType(etTime);
    f.Edit->SetTime(EncodeTime(10, 0, 0, 0));
    f.DropDown([&](TWinControl*) {
        inputkit::Press(f.Edit, inputkit::Key::Up);
        inputkit::Press(f.Edit, inputkit::Key::Return);
    });
    EXPECT_NEAR(f.Edit->Time(), EncodeTime(10, 1, 0, 0), 1e-9);
}

// Replaces the edit's text as a user does, key by key on the layout that types it, and leaves the
// edit with Tab.
void TypeAndLeave(DateForm& f, const std::string& text) {
    f.Edit->SetFocus();
    inputkit::Press(f.Edit, inputkit::Key::Home);
    inputkit::Press(f.Edit, inputkit::Key::End, inputkit::Shift);
    const bool cyrillic =
        std::any_of(text.begin(), text.end(), [](char c) { return (unsigned char)c >= 0xC0; });
    inputkit::Type(f.Edit, text, cyrillic ? inputkit::TLayout::Russian : inputkit::TLayout::Us);
    inputkit::Press(f.Edit, inputkit::Key::Tab);
}

struct TypedDateCase {
    const char* Name;
    const char* Text;
    int Y, Mo, D; // 0 0 0: refused, the edit emptied
};

void PrintTo(const TypedDateCase& c, std::ostream* os) { *os << c.Name; }

class TypedDates : public ::testing::TestWithParam<TypedDateCase> {};

// A word that names no month is passed over where the digits give the month, and refused where it
// would leave today's month in its place.
TEST_P(TypedDates, AMonthNameThatIsNotReadIsNoOtherMonth) {
    const TypedDateCase& c = GetParam();
    DateForm f;
    f.Edit->SetDate(EncodeDate(2000, 1, 1));
    int invalid = 0;
    f.Edit->OnInvalidDate = [&](TObject*, bool&, bool&, TDateTime&) { ++invalid; };
    TBoxes boxes;
    TypeAndLeave(f, c.Text);
    EXPECT_EQ(f.Edit->Date(), c.Y ? EncodeDate(c.Y, c.Mo, c.D) : 0.0);
    EXPECT_EQ(invalid, c.Y ? 0 : 1);
    if (!c.Y) {
        EXPECT_EQ(f.Edit->Text(), "");
    }
    EXPECT_TRUE(boxes.Texts.empty());
}

INSTANTIATE_TEST_SUITE_P(GwDateTimeEdit, TypedDates,
                         ::testing::Values(TypedDateCase{"Genitive", "4 мая", 2026, 5, 4},
                                           TypedDateCase{"GenitiveFirst", "сентября 30 2025", 2025, 9, 30},
                                           TypedDateCase{"Nominative", "4 Май 2026", 2026, 5, 4},
                                           TypedDateCase{"Short", "4 дек", 2026, 12, 4},
                                           TypedDateCase{"YearWord", "04.03.2026 г.", 2026, 3, 4},
                                           TypedDateCase{"UnknownName", "4 мартобря", 0, 0, 0},
                                           TypedDateCase{"UnknownNameAndYear", "4 мартобря 2026", 0, 0, 0},
                                           TypedDateCase{"OnlyAWord", "завтра", 0, 0, 0}),
                         [](const ::testing::TestParamInfo<TypedDateCase>& i) {
                             return std::string(i.param.Name);
                         });

// ---- colour edit

using ColorForm = DropForm<TGwColorEdit>;

std::unique_ptr<TPaper> Shot(TWinControl* C) {
    auto p = std::make_unique<TPaper>(C->Width(), C->Height());
    C->PaintTo(p->Canvas(), 0, 0);
    return p;
}

TEST(GwColorEdit, SwatchOrHatchAndNoTyping) {
    ColorForm f;
    f.Edit->SetColor(clWhite);
    auto none = Shot(f.Edit);
    int hatched = 0;
    for (int x = 5; x < 60; ++x)
        hatched += ColorToRGB(none->At(x, 10)) == ColorToRGB(clBtnFace);
    EXPECT_GT(hatched, 3) << "no colour: a hatched box";
    EXPECT_LT(hatched, 50);
    f.Edit->SetSelectedColor(clRed);
    EXPECT_EQ(TPaper::Hex(Shot(f.Edit)->At(30, 10)), TPaper::Hex(clRed));
    f.Type("abc");
    EXPECT_EQ(f.Edit->Text(), "");
    f.Edit->SetFocus();
    inputkit::Press(f.Edit, inputkit::Key::Tab);
    EXPECT_TRUE(f.Other->Focused()) << "Tab still leaves the swatch";
}

TEST(GwColorEdit, AltDownOpensThePickerAndAClickPicks) {
    ColorForm f;
    int changes = 0;
    f.Edit->OnChange = [&](TObject*) { ++changes; };
    TColor shown = clNone;
    f.DropDown([&](TWinControl* Popup) {
        auto* picker = dynamic_cast<TGwColorPicker*>(Popup->Controls(0));
        ASSERT_NE(picker, nullptr);
        const TRect cell = picker->GetCellRect(0);
        shown = picker->SelectedColor();
        inputkit::Click(picker, cell.Left + 2, cell.Top + 2);
    });
    EXPECT_EQ(shown, clNone) << "the picker starts from the edit's colour";
    EXPECT_NE(f.Edit->SelectedColor(), clNone);
    EXPECT_EQ(changes, 1);
}

} // namespace
