// Simple controls: radio buttons exclusive within their parent, speed button groups through the
// mouse messages, the splitter resizing its neighbour, and one rendered form of bevels, a speed
// button, an image, a group box and a status bar.
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <memory>

#include "buttons.h"
#include "comctrls.h"
#include "dialogs.h"
#include "extctrls.h"
#include "forms.h"
#include "inputkit.h"
#include "screenkit.h"
#include "stdctrls.h"
#include "wingdi.h"

namespace {

class SimpleControls : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 320, 240);
        Form->SetColor(clBtnFace);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    static void Press(TControl* c, int x, int y) { inputkit::MouseDown(c, x, y); }
    static void Release(TControl* c, int x, int y) { inputkit::MouseUp(c, x, y); }
    static void Move(TControl* c, int x, int y) { inputkit::MouseMove(c, x, y, inputkit::Left); }
    // The window freshly painted, frame and children included.
    static std::unique_ptr<TBitmap> Painted(TWinControl* c) {
        auto b = std::make_unique<TBitmap>();
        screenkit::Window(c, *b);
        return b;
    }
    static TColor PixelAt(std::unique_ptr<TBitmap>& b, int x, int y) { return b->Canvas()->GetPixel(x, y); }
    // The smallest box around the pixels of area that are not background, in area's coordinates.
    static TRect InkBox(std::unique_ptr<TBitmap>& b, const TRect& area, TColor background) {
        TRect r(area.Right, area.Bottom, area.Left, area.Top);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (PixelAt(b, x, y) != background) {
                    r.Left = std::min(r.Left, x - area.Left);
                    r.Top = std::min(r.Top, y - area.Top);
                    r.Right = std::max(r.Right, x - area.Left + 1);
                    r.Bottom = std::max(r.Bottom, y - area.Top + 1);
                }
        return r.Left < r.Right ? r : TRect();
    }
    TForm* Form = nullptr;
};

TEST_F(SimpleControls, RadioButtonsOfOneParentExcludeEachOtherAndClickWhenChecked) {
    std::vector<std::string> log;
    TRadioButton* r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = new TRadioButton(Form);
        r[i]->SetParent(Form);
        r[i]->SetBounds(10, 10 + 20 * i, 100, 17);
        r[i]->OnClick = [&log, i](TObject*) { log.push_back("click " + std::to_string(i)); };
    }
    Form->Show();
    r[0]->SetChecked(true);
    EXPECT_EQ(log, std::vector<std::string>{"click 0"});
    // The user's click goes through the widget and the message path.
    inputkit::Click(r[2], 6, r[2]->Height() / 2);
    EXPECT_TRUE(r[2]->Checked());
    EXPECT_TRUE(screenkit::ShownChecked(r[2]));
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_FALSE(screenkit::ShownChecked(r[0]));
    EXPECT_EQ(r[1]->Perform(BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(log, (std::vector<std::string>{"click 0", "click 2"}));
    // Unchecking from code is silent.
    r[2]->SetChecked(false);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(SimpleControls, SpeedButtonGroupKeepsOneDownAndClicksOnReleaseInside) {
    TSpeedButton* b[2];
    int clicks = 0;
    for (int i = 0; i < 2; ++i) {
        b[i] = new TSpeedButton(Form);
        b[i]->SetParent(Form);
        b[i]->SetBounds(10 + 30 * i, 10, 23, 22);
        b[i]->SetGroupIndex(1);
        b[i]->OnClick = [&](TObject*) { ++clicks; };
    }
    Form->Show();
    Press(b[0], 5, 5);
    EXPECT_EQ(b[0]->State(), bsDown);
    Release(b[0], 5, 5);
    EXPECT_TRUE(b[0]->Down());
    EXPECT_EQ(clicks, 1);
    Press(b[1], 5, 5);
    Release(b[1], 5, 5);
    EXPECT_TRUE(b[1]->Down());
    EXPECT_FALSE(b[0]->Down());
    // Pressing the down button again keeps it down unless the group may be all up.
    Press(b[1], 5, 5);
    Release(b[1], 5, 5);
    EXPECT_TRUE(b[1]->Down());
    b[1]->SetAllowAllUp(true);
    Press(b[1], 5, 5);
    Release(b[1], 5, 5);
    EXPECT_FALSE(b[1]->Down());
    // Released outside: no click, no change.
    Press(b[0], 5, 5);
    Move(b[0], 60, 5);
    EXPECT_EQ(b[0]->State(), bsUp);
    Release(b[0], 60, 5);
    EXPECT_FALSE(b[0]->Down());
    EXPECT_EQ(clicks, 4);
    // A button outside any group never stays down.
    b[0]->SetGroupIndex(0);
    b[0]->SetDown(true);
    EXPECT_FALSE(b[0]->Down());
}

TEST_F(SimpleControls, SplitterResizesTheControlAlignedAgainstItWithinMinSize) {
    auto* left = new TPanel(Form);
    left->SetParent(Form);
    left->SetAlign(alLeft);
    left->SetWidth(100);
    auto* split = new TSplitter(Form);
    split->SetParent(Form);
    split->SetLeft(150);
    split->SetAlign(alLeft);
    auto* rest = new TPanel(Form);
    rest->SetParent(Form);
    rest->SetAlign(alClient);
    int moved = 0;
    split->OnMoved = [&](TObject*) { ++moved; };
    Form->Show();
    ASSERT_EQ(split->Left(), 100);
    Press(split, 1, 50);
    Move(split, 41, 50);
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(split->Left(), 140);
    Move(split, -200, 50);
    EXPECT_EQ(left->Width(), 30);
    Release(split, -200, 50);
    EXPECT_EQ(moved, 1);
}

TEST_F(SimpleControls, BevelsButtonImageGroupBoxAndStatusBarAsDrawn) {
    auto* box = new TBevel(Form);
    box->SetParent(Form);
    box->SetBounds(10, 10, 40, 30);
    auto* line = new TBevel(Form);
    line->SetParent(Form);
    line->SetBounds(60, 10, 40, 4);
    line->SetShape(bsTopLine);
    line->SetStyle(bsRaised);
    auto* sb = new TSpeedButton(Form);
    sb->SetParent(Form);
    sb->SetBounds(110, 10, 30, 30);
    TBitmap glyph;
    glyph.SetSize(32, 16);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(Rect(16, 0, 32, 16));
    glyph.Canvas()->Pixels[0][15] = clFuchsia; // the transparent colour: bottom-left
    sb->SetGlyph(&glyph);
    auto* img = new TImage(Form);
    img->SetParent(Form);
    img->SetBounds(150, 10, 40, 20);
    img->Picture()->SetSize(10, 10);
    img->Picture()->Canvas()->Brush()->SetColor(clLime);
    img->Picture()->Canvas()->FillRect(Rect(0, 0, 10, 10));
    img->SetStretch(true);
    img->SetProportional(true);
    img->SetCenter(true);
    auto* group = new TGroupBox(Form);
    group->SetParent(Form);
    group->SetBounds(10, 60, 150, 80);
    group->SetCaption("Group");
    auto* inside = new TPanel(Form);
    inside->SetParent(group);
    inside->SetAlign(alClient);
    inside->SetVisible(false);
    auto* status = new TStatusBar(Form);
    status->SetParent(Form);
    status->Panels()->Add()->Width = 100;
    status->Panels()->Add()->Text = "Right";
    Form->Show();

    auto f = Painted(Form);
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    struct Probe {
        int x, y;
        TColor c;
    } probes[] = {
        {10, 10, sh},      {49, 10, hi},
        {10, 39, hi},      {49, 39, hi},                     // lowered box: shadow top-left
        {70, 10, hi},      {70, 11, sh},                     // raised top line
        {120, 18, clRed},                                    // glyph's up frame
        {170, 20, clLime}, {155, 20, ColorToRGB(clBtnFace)}, // 20x20 image centred in 40x20
    };
    for (const Probe& p : probes)
        EXPECT_EQ(PixelAt(f, p.x, p.y), p.c) << p.x << "," << p.y;
    // Held down in a group: the fourth frame, or the first when there is none; shifted by a pixel.
    sb->SetGroupIndex(1);
    sb->SetDown(true);
    EXPECT_EQ(sb->NumGlyphs(), 2);
    f = Painted(Form);
    EXPECT_EQ(PixelAt(f, 110 + 7 + 1, 10 + 7 + 1), clRed);

    // The group box keeps its children below the caption, inside the frame.
    EXPECT_GE(inside->Top(), 10);
    EXPECT_EQ(inside->Left(), 1);
    TRect cap = InkBox(f, Bounds(10 + 4, 60, 60, 14), ColorToRGB(clBtnFace));
    EXPECT_FALSE(cap.IsEmpty());

    // Status bar at the bottom: its second panel's text starts after the first panel.
    EXPECT_EQ(status->Top() + status->Height(), Form->ClientHeight());
    EXPECT_EQ(status->PanelRect(1).Left, 100);
    auto st = Painted(status);
    TRect ink = InkBox(st, Bounds(102, 4, st->Width() - 110, st->Height() - 6), ColorToRGB(clBtnFace));
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Left, 4);
}

// Answers colour requests as a user would: picks a colour and keeps one custom colour.
class TColorAnswer : public TDialogService {
public:
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrOk; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
    bool ColorDialog(TColorDialogRequest& r) override {
        Asked = r;
        if (Cancel)
            return false;
        r.Color = clTeal;
        r.CustomColors[3] = TColor(0x123456);
        return true;
    }
    TColorDialogRequest Asked;
    bool Cancel = false;
};

// A key the native widget ignores goes on to its parent widgets in Qt; the control still sees it once.
TEST_F(SimpleControls, AKeyTheNativeWidgetIgnoresReachesTheControlOnce) {
    auto* edit = new TEdit(Form);
    auto* editable = new TComboBox(Form);
    auto* list = new TComboBox(Form);
    list->SetStyle(csDropDownList);
    list->Items()->Add("one");
    TWinControl* controls[] = {edit, editable, list};
    int downs = 0, presses = 0;
    for (int i = 0; i < 3; ++i) {
        controls[i]->SetParent(Form);
        controls[i]->SetBounds(10, 10 + 30 * i, 120, 22);
    }
    edit->OnKeyDown = editable->OnKeyDown = list->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++downs; };
    edit->OnKeyPress = editable->OnKeyPress = list->OnKeyPress = [&](TObject*, char&) { ++presses; };
    Form->Show();
    for (TWinControl* c : controls)
        for (int key : {inputkit::Key::Return, inputkit::Key::Escape}) {
            SCOPED_TRACE(std::string(c->ClassName()) + (key == inputkit::Key::Return ? " Enter" : " Escape"));
            downs = presses = 0;
            inputkit::KeyDown(c, key);
            EXPECT_EQ(downs, 1);
            EXPECT_EQ(presses, 1);
        }
}

TEST(ColorDialog, AsksTheServiceWithTheCustomColoursAndTakesItsAnswer) {
    TColorAnswer answer;
    TDialogService* old = SetDialogService(&answer);
    TColorDialog dlg(nullptr);
    dlg.SetColor(clRed);
    dlg.CustomColors()->Add("ColorA=FF8000");
    dlg.CustomColors()->Add("ColorB=xyz");
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(answer.Asked.Color, clRed);
    EXPECT_EQ(answer.Asked.CustomColors[0], TColor(0xFF8000));
    EXPECT_EQ(answer.Asked.CustomColors[1], clNone);
    EXPECT_EQ(dlg.Color(), clTeal);
    EXPECT_EQ(dlg.CustomColors()->Text(), "ColorA=FF8000\r\nColorD=123456\r\n");
    answer.Cancel = true;
    dlg.SetColor(clLime);
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.Color(), clLime);
    SetDialogService(old);
}

// A disabled speed button whose glyph has no disabled frame shows the up frame embossed: its dark
// pixels as a highlight copy one pixel down-right under a shadow copy; light and transparent
// pixels leave the face showing.
TEST_F(SimpleControls, DisabledSpeedButtonWithoutADisabledFrameEmbossesItsGlyph) {
    auto* sb = new TSpeedButton(Form);
    sb->SetParent(Form);
    sb->SetBounds(10, 10, 30, 30);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia); // transparent: the bottom-left pixel's colour
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect(Rect(6, 6, 10, 10));
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    sb->SetGlyph(&glyph);
    ASSERT_EQ(sb->NumGlyphs(), 1);
    Form->Show();
    // The 16x16 glyph sits at (7, 7) in the 30x30 button.
    const int gx = 10 + 7, gy = 10 + 7;
    auto f = Painted(Form);
    EXPECT_EQ(PixelAt(f, gx + 6, gy + 6), clBlack);
    EXPECT_EQ(PixelAt(f, gx + 1, gy + 1), clWhite);

    sb->SetEnabled(false);
    f = Painted(Form);
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    struct Probe {
        int x, y;
        TColor c;
    } probes[] = {
        {6, 6, sh},    {9, 9, sh},                 // the shadow copy covers the dark square
        {10, 10, hi},  {10, 7, hi},   {7, 10, hi}, // the highlight shows below and right of it
        {6, 10, face}, {10, 6, face},              // not past the square's corners
        {1, 1, face},  {2, 2, face},               // light pixels vanish
        {12, 3, face},                             // transparent ones too
    };
    for (const Probe& p : probes)
        EXPECT_EQ(PixelAt(f, gx + p.x, gy + p.y), p.c) << p.x << "," << p.y;
}

// A control that counts its WM_PAINTs and marks its client's top-left corner in each.
template <class Base> class TPaintProbe : public Base {
public:
    explicit TPaintProbe(TComponent* AOwner) : Base(AOwner) {}
    int Paints = 0;

protected:
    void Dispatch(TMessage& Message) override {
        Base::Dispatch(Message);
        if (Message.Msg != WM_PAINT || !Message.WParam)
            return;
        ++Paints;
        auto* dc = reinterpret_cast<TCanvas*>(Message.WParam);
        dc->Brush()->SetColor(clRed);
        dc->FillRect(TRect(0, 0, 4, 4));
    }
};

// A wrapped Qt widget paints first and the control's WM_PAINT goes over it, once per paint; a
// widget that delivers WM_PAINT itself (the tree view's viewport) is not painted over a second time.
TEST_F(SimpleControls, AWrappedControlsOwnPaintingGoesOverTheNativeLookOnce) {
    auto* edit = new TPaintProbe<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 10, 100, 21);
    auto* tree = new TPaintProbe<TTreeView>(Form);
    tree->SetParent(Form);
    tree->SetBounds(10, 40, 100, 80);
    Form->Show();
    auto shot = Painted(edit);
    EXPECT_EQ(edit->Paints, 1);
    // The client's corner inside the window: past the frame.
    const TPoint inner = edit->ClientToScreen(TPoint(0, 0)),
                 outer = Form->ClientToScreen(edit->BoundsRect().TopLeft());
    const TPoint client(inner.x - outer.x, inner.y - outer.y);
    EXPECT_GT(client.x, 0);
    EXPECT_EQ(PixelAt(shot, client.x + 1, client.y + 1), clRed) << "over the line edit";
    Painted(tree);
    EXPECT_EQ(tree->Paints, 1);
}

struct DisabledCase {
    const char* Name;
    std::function<TWinControl*(TForm*)> Make; // the control with a text of its own
};
void PrintTo(const DisabledCase& c, std::ostream* os) { *os << c.Name; }
class DisabledLook : public SimpleControls, public ::testing::WithParamInterface<DisabledCase> {
protected:
    // Pixels inside the control (its frame left out) as dark as text, and those of clGrayText.
    void Count(TWinControl* c, int& dark, int& grey) {
        TBitmap b;
        b.SetSize(c->Width(), c->Height());
        c->PaintTo(b.Canvas()->Handle(), 0, 0);
        dark = grey = 0;
        const TColor greyText = TColor(ColorToRGB(clGrayText));
        for (int y = 3; y < b.Height() - 3; ++y)
            for (int x = 3; x < b.Width() - 3; ++x) {
                TColor p = b.Canvas()->GetPixel(x, y);
                dark += std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}) < 0x40 ? 1 : 0;
                grey += p == greyText ? 1 : 0;
            }
    }
};

// A disabled control writes its text in clGrayText, as Windows draws it; enabled, in its font's
// colour.
TEST_P(DisabledLook, WritesItsTextInGrayText) {
    TWinControl* c = GetParam().Make(Form);
    c->SetParent(Form);
    c->SetBounds(10, 10, 160, 24);
    Form->Show();
    int dark = 0, grey = 0;
    Count(c, dark, grey);
    EXPECT_GT(dark, 0) << "enabled: black text";
    c->SetEnabled(false);
    Application->ProcessMessages();
    Count(c, dark, grey);
    EXPECT_EQ(dark, 0);
    EXPECT_GT(grey, 20);
    c->SetEnabled(true);
    Application->ProcessMessages();
    Count(c, dark, grey);
    EXPECT_GT(dark, 0) << "enabled again";
}

INSTANTIATE_TEST_SUITE_P(SimpleControls, DisabledLook,
                         ::testing::Values(DisabledCase{"Edit",
                                                        [](TForm* f) {
                                                            auto* e = new TEdit(f);
                                                            e->SetText("4800");
                                                            return e;
                                                        }},
                                           DisabledCase{"ListOnlyCombo",
                                                        [](TForm* f) {
                                                            auto* c = new TComboBox(f);
                                                            c->SetStyle(csDropDownList);
                                                            c->Items()->Add("COM3");
                                                            c->SetItemIndex(0);
                                                            return c;
                                                        }},
                                           DisabledCase{"RadioButton",
                                                        [](TForm* f) {
                                                            auto* r = new TRadioButton(f);
                                                            r->SetCaption("TCP/IP");
                                                            return r;
                                                        }},
                                           DisabledCase{"CheckBox",
                                                        [](TForm* f) {
                                                            auto* b = new TCheckBox(f);
                                                            b->SetCaption("QBX");
                                                            return b;
                                                        }}),
                         [](const ::testing::TestParamInfo<DisabledCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
