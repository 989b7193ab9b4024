// The framed custom edit and mask edit on a shown form: state colours through the message path,
// what goes into a form, the frame and the drop button in pixels, the mask typed key by key, the
// drop-down keys and clicks, Enter as Tab.
#include <gtest/gtest.h>

#include <memory>

#include "Gwedit.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "sysinfo.h"

namespace {

// The mask edit with its key handler in reach, for modifier combinations no message can carry here.
class TProbeEdit : public TGwMaskEdit {
public:
    using TGwMaskEdit::KeyDown;
    using TGwMaskEdit::TGwMaskEdit;
};

struct EditForm {
    EditForm() {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Edit = new TProbeEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 21);
        Other = new TGwEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 50, 120, 21);
        Form->Show();
        Other->SetFocus();
        Application->ProcessMessages();
    }
    ~EditForm() {
        delete Form;
        Application->ProcessMessages();
    }
    void Type(const std::string& Keys) { inputkit::Type(Edit, Keys); }
    std::unique_ptr<TPaper> Shot() {
        auto p = std::make_unique<TPaper>(Edit->Width(), Edit->Height());
        Edit->PaintTo(p->Canvas(), 0, 0);
        return p;
    }
    TForm* Form;
    TProbeEdit* Edit;
    TGwEdit* Other;
};

struct StateCase {
    const char* Name;
    bool Enabled, Focused, ReadOnly, ReadOnlyOnFocus;
    TColor Shown;
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.Name; }

class EditStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(EditStates, TheEditShowsTheColourOfItsState) {
    const StateCase& c = GetParam();
    EditForm f;
    f.Edit->SetColor(clWhite);
    f.Edit->SetFocusColor(clYellow);
    f.Edit->SetDisabledColor(clGray);
    f.Edit->SetReadOnlyColor(clAqua);
    f.Edit->SetReadOnlyColorOnFocus(c.ReadOnlyOnFocus);
    f.Edit->SetReadOnly(c.ReadOnly);
    if (c.Focused)
        f.Edit->SetFocus();
    f.Edit->SetEnabled(c.Enabled);
    EXPECT_EQ(f.Edit->Color(), c.Shown);
    // Leaving puts the normal colour back.
    f.Edit->SetEnabled(true);
    f.Other->SetFocus();
    f.Edit->SetReadOnly(false);
    EXPECT_EQ(f.Edit->Color(), clWhite);
}

INSTANTIATE_TEST_SUITE_P(Gw, EditStates,
                         ::testing::Values(StateCase{"Disabled", false, false, false, false, clGray},
                                           StateCase{"Focused", true, true, false, false, clYellow},
                                           StateCase{"FocusedReadOnly", true, true, true, false, clYellow},
                                           StateCase{"FocusedReadOnlyKept", true, true, true, true, clAqua},
                                           StateCase{"ReadOnly", true, false, true, false, clAqua},
                                           StateCase{"Normal", true, false, false, false, clWhite}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwCustomEdit, ColourFollowsAndWhatGoesIntoTheForm) {
    EditForm f;
    f.Edit->SetColor(clLime);
    EXPECT_EQ(f.Edit->FocusColor(), clLime) << "a focus colour equal to the normal one moves along";
    EXPECT_FALSE(f.Edit->IsStored(fcpFocusColor));
    f.Edit->SetFocusColor(clYellow);
    EXPECT_TRUE(f.Edit->IsStored(fcpFocusColor));
    f.Edit->SetEnabled(false);
    EXPECT_EQ(f.Edit->Color(), clBtnFace);
    EXPECT_FALSE(f.Edit->IsStored(fcpColor)) << "a disabled edit holds DisabledColor, not its own";
    f.Edit->SetEnabled(true);
    EXPECT_EQ(f.Edit->Color(), clLime);
    TGwFrameController fc(nullptr);
    f.Edit->SetFrameController(&fc);
    EXPECT_FALSE(f.Edit->IsStored(fcpFrameStyle)) << "the controller's settings stay out of the form";
    fc.SetFrameColor(clRed);
    EXPECT_EQ(f.Edit->FrameColor(), clRed);
    f.Edit->SetFrameController(nullptr);
}

// Alignment shows in the text's place on the screen, right-justified text against the right edge.
TEST(GwCustomEdit, RightJustifiedTextSitsAtTheRightEdge) {
    EditForm f;
    f.Edit->SetColor(clWhite);
    f.Edit->SetText("7");
    // The columns holding dark text pixels: first and last.
    auto ink = [&] {
        std::unique_ptr<TPaper> p = f.Shot();
        int first = -1, last = -1;
        for (int x = 3; x < f.Edit->Width() - 3; ++x)
            for (int y = 3; y < f.Edit->Height() - 3; ++y)
                if ((ColorToRGB(p->At(x, y)) & 0xFF) < 0x80) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
        return std::make_pair(first, last);
    };
    auto [leftFirst, leftLast] = ink();
    ASSERT_GE(leftFirst, 0);
    EXPECT_LT(leftLast, f.Edit->Width() / 2);
    f.Edit->SetAlignment(taRightJustify);
    auto [rightFirst, rightLast] = ink();
    EXPECT_GT(rightFirst, f.Edit->Width() / 2);
    EXPECT_GE(rightLast, f.Edit->Width() - 12);
}

TEST(GwCustomEdit, FrameOnlyWhenVisibleAndHotWhenFocused) {
    EditForm f;
    f.Edit->SetColor(clWhite);
    const std::string plain = f.Shot()->Row(10, 0, 2);
    EXPECT_NE(plain.substr(0, 6), "FF0000") << "no custom frame over the standard border";
    f.Edit->SetFrameColor(clRed);
    f.Edit->SetFrameHotColor(clBlue);
    f.Edit->SetFrameHotTrack(true);
    EXPECT_TRUE(f.Edit->FrameVisible()) << "hot tracking turns the frame on";
    EXPECT_EQ(f.Shot()->Row(10, 0, 2), "0000FF FFFFFF FFFFFF") << "flat red frame over the border ring";
    f.Edit->SetFocus();
    EXPECT_EQ(f.Shot()->Row(10, 0, 2), "FF0000 FF0000 FFFFFF") << "bold blue hot frame while focused";
    f.Edit->SetFramingPreference(fpCustomFraming);
    f.Edit->SetFrameVisible(false);
    EXPECT_EQ(f.Shot()->Row(10, 0, 2), plain);
}

TEST(GwCustomEdit, DropButtonNarrowsTheClientAndIsDrawnInTheFrame) {
    EditForm f;
    const int client = f.Edit->ClientWidth();
    f.Edit->SetDropButtonVisible(true);
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(f.Edit->ClientWidth(), client - w);
    const TRect strip = f.Edit->ButtonRect();
    EXPECT_EQ(strip.Right, f.Edit->Width() - 2);
    EXPECT_EQ(strip.Width(), w);
    auto p = f.Shot();
    EXPECT_EQ(TPaper::Hex(p->At(strip.Left + 2, strip.Top + 4)), TPaper::Hex(clBtnFace))
        << "the classic button";
    EXPECT_EQ(TPaper::Hex(p->At(strip.Left + w / 2, strip.Top + strip.Height() / 2)), "000000")
        << "its arrow";
}

struct DropCase {
    const char* Name;
    bool Button;
    WORD Key;
    TShiftState Shift;
    int Drops;
};

void PrintTo(const DropCase& c, std::ostream* os) { *os << c.Name; }

class AltDown : public ::testing::TestWithParam<DropCase> {};

TEST_P(AltDown, OpensOnlyWithTheButtonAndAltAlone) {
    const DropCase& c = GetParam();
    EditForm f;
    f.Edit->SetDropButtonVisible(c.Button);
    int drops = 0, closes = 0;
    f.Edit->OnDropDown = [&](TObject*) { ++drops; };
    f.Edit->OnCloseUp = [&](TObject*) { ++closes; };
    WORD key = c.Key;
    f.Edit->KeyDown(key, c.Shift);
    EXPECT_EQ(drops, c.Drops);
    EXPECT_EQ(closes, c.Drops);
    EXPECT_EQ(key, c.Drops ? 0 : c.Key) << "the key is used up when it drops down";
    EXPECT_EQ(f.Edit->ButtonState(), bsUp);
}

INSTANTIATE_TEST_SUITE_P(Gw, AltDown,
                         ::testing::Values(DropCase{"AltDown", true, VK_DOWN, {ssAlt}, 1},
                                           DropCase{"NoButton", false, VK_DOWN, {ssAlt}, 0},
                                           DropCase{"CtrlAltDown", true, VK_DOWN, {ssAlt, ssCtrl}, 0},
                                           DropCase{"PlainDown", true, VK_DOWN, {}, 0},
                                           DropCase{"AltUp", true, VK_UP, {ssAlt}, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwCustomEdit, AltDownArrivesAsASystemKey) {
    EditForm f;
    f.Edit->SetDropButtonVisible(true);
    int drops = 0;
    f.Edit->OnDropDown = [&](TObject*) { ++drops; };
    f.Edit->SetFocus();
    inputkit::Press(f.Edit, inputkit::Key::Down, inputkit::Alt);
    EXPECT_EQ(drops, 1);
}

TEST(GwCustomEdit, ALeftClickOnTheButtonDropsDownARightClickDoesNothing) {
    EditForm f;
    f.Edit->SetDropButtonVisible(true);
    int drops = 0, mouseDowns = 0;
    TGwEditButtonState during = bsUp;
    f.Edit->OnDropDown = [&](TObject*) {
        ++drops;
        during = f.Edit->ButtonState();
    };
    f.Edit->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
    const TRect strip = f.Edit->ButtonRect();
    const TPoint client = f.Edit->ClientOrigin();
    const TPoint window(client.x - 2, client.y - 2);
    const TPoint in(window.x + strip.Left + 3, window.y + strip.Top + 3);
    const TPoint at(in.x - client.x, in.y - client.y);
    EXPECT_EQ(f.Edit->Perform(WM_NCHITTEST, 0, PointToLParam(in)), HTCLIENT);
    inputkit::MouseDown(f.Edit, at.x, at.y, inputkit::Right);
    EXPECT_EQ(drops + mouseDowns, 0);
    inputkit::ChooseInNextMenu(""); // the release is the edit menu's
    inputkit::MouseUp(f.Edit, at.x, at.y, inputkit::Right);
    inputkit::Click(f.Edit, at.x, at.y);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(during, bsDown);
    EXPECT_TRUE(f.Edit->Focused()) << "the click focuses the edit first";
    // A click in the text is the edit's own.
    EXPECT_EQ(f.Edit->Perform(WM_NCHITTEST, 0, PointToLParam({client.x + 3, client.y + 3})), HTCLIENT);
    inputkit::Click(f.Edit, 3, 3);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(mouseDowns, 1);
}

struct MaskCase {
    const char* Name;
    const char* Keys;
    const char* EditText;
    const char* Text;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.Name; }

class ScheduleTime : public ::testing::TestWithParam<MaskCase> {};

// The schedule editor's time of day.
TEST_P(ScheduleTime, TypesAndReadsBack) {
    const MaskCase& c = GetParam();
    EditForm f;
    f.Edit->SetEditMask("!90:00;1;_");
    f.Edit->SetMaxLength(5);
    f.Edit->SetText("  :  ");
    f.Edit->SetFocus();
    f.Edit->SetSelStart(0);
    f.Type(c.Keys);
    EXPECT_EQ(f.Edit->EditText(), c.EditText);
    EXPECT_EQ(f.Edit->Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(Gw, ScheduleTime,
                         ::testing::Values(MaskCase{"Untouched", "", "__:__", "  :  "},
                                           MaskCase{"FourDigits", "0745", "07:45", "07:45"},
                                           MaskCase{"SeparatorSkipsTheOptionalDigit", "7:45", "7_:45",
                                                    "7 :45"},
                                           MaskCase{"LettersRefused", "1a2b30", "12:30", "12:30"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwCustomEdit, ValidationMessageComesFromTheHandler) {
    EditForm f;
    f.Edit->SetEditMask("!90:00;1;_");
    f.Edit->SetFocus();
    f.Edit->SetSelStart(0);
    f.Type("1");
    EXPECT_THROW(f.Edit->ValidateEdit(), EDBEditError) << "without a handler: the mask edit's own";
    std::string given = "x";
    f.Edit->OnValidateError = [&](TObject*, std::string& Msg) {
        given = Msg;
        Msg = "Неверное время";
    };
    try {
        f.Edit->ValidateEdit();
        FAIL() << "no error raised";
    } catch (const EDBEditError& e) {
        EXPECT_EQ(e.Message, "Неверное время");
    }
    EXPECT_EQ(given, "") << "the handler starts from an empty message";
}

TEST(GwCustomEdit, EnterMovesToTheNextControlWithTabOnEnter) {
    EditForm f;
    f.Edit->TabOnEnter = true;
    f.Edit->SetFocus();
    inputkit::Press(f.Edit, inputkit::Key::Return);
    Application->ProcessMessages();
    EXPECT_TRUE(f.Other->Focused());
}

} // namespace
