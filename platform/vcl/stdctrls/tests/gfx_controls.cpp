// Standard controls: in-place editor life cycle, user input through the message path, the EM_ and
// CB_ messages, memo lines, check box and button behaviour, and the panel and label as drawn.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <functional>

#include "extctrls.h"
#include "forms.h"
#include "gfx_support.h"
#include "stdctrls.h"
#include "graphics_qt.h"
#include "wingdi.h"
#include "handle.h"
#include "winapi.h"
#include "stdctrls_qt.h"

namespace {

// The Qt widget a standard control wraps (it sits in the control's client area).
template <class W> W* Native(TWinControl* c) { return ClientWidget(c)->findChild<W*>(); }

class StdControls : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Host = new TPanel(Form);
        Host->SetParent(Form);
        Host->SetBounds(10, 10, 300, 200);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 220, 100, 21);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // Records every CN_COMMAND the control's message path carries.
    void Spy(TControl* c) {
        auto old = c->WindowProc;
        c->WindowProc = [this, old](TMessage& m) {
            if (m.Msg == CN_COMMAND)
                Notifications.push_back(m.WParamHi());
            old(m);
        };
    }
    TForm* Form = nullptr;
    TPanel* Host = nullptr;
    TEdit* Other = nullptr;
    std::vector<WORD> Notifications;
};

// An editor made the way the model makes one: hidden, inside the host, three points smaller.
template <class T> T* MakeInPlace(TWinControl* host) {
    auto* c = new T(host);
    c->SetVisible(false);
    c->SetParent(host);
    c->Font()->SetSize(host->Font()->Size() - 3);
    return c;
}

TEST_F(StdControls, InPlaceComboLivesHiddenUntilShownThenReportsChangeAndExit) {
    Form->Show();
    auto* combo = MakeInPlace<TComboBox>(Host);
    for (const char* item : {"нет опроса", "непрерывно", "1 s"})
        combo->Items()->Add(item);
    combo->SetStyle(csDropDownList);
    combo->SetText("непрерывно");
    std::vector<std::string> log;
    combo->OnChange = [&](TObject* s) { log.push_back("change " + static_cast<TComboBox*>(s)->Text()); };
    combo->OnExit = [&](TObject*) { log.push_back("exit"); };
    Spy(combo);

    EXPECT_FALSE(combo->Visible());
    EXPECT_FALSE(combo->HandleAllocated() && HandleWidget(combo)->isVisible());
    EXPECT_EQ(combo->Font()->Size(), Host->Font()->Size() - 3);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_TRUE(log.empty()); // nothing set from code raised an event

    // The host shows and focuses it; the user picks the next item with the keyboard.
    combo->SetBounds(20, 20, 150, 21);
    combo->SetVisible(true);
    combo->SetFocus();
    auto* q = Native<QComboBox>(combo);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->font().pixelSize(), -combo->Font()->Height());
    TypeKey(q, Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 2);
    Other->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"change 1 s", "exit"}));
    EXPECT_EQ(Notifications, std::vector<WORD>{CBN_SELCHANGE});

    // The host removes the editor once its exit handling is over (freeing a control inside its own
    // event is unsafe).
    combo->OnExit = [&](TObject* s) {
        QMetaObject::invokeMethod(
            qApp, [s] { delete static_cast<TComboBox*>(s); }, Qt::QueuedConnection);
    };
    combo->SetFocus();
    Other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(Host->ControlCount(), 0);
}

TEST_F(StdControls, InPlaceEditTypingRaisesChangePerKeyAndExitOnLeaving) {
    Form->Show();
    auto* edit = MakeInPlace<TEdit>(Host);
    edit->SetText("7");
    int changes = 0;
    std::string keys;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnKeyPress = [&](TObject*, char& k) { keys += k; };
    bool exited = false;
    edit->OnExit = [&](TObject*) { exited = true; };
    Spy(edit);
    edit->SetVisible(true);
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 1); // entering selects the text
    TypeKey(Native<QLineEdit>(edit), Qt::Key_End);
    TypeText(Native<QLineEdit>(edit), "5Я");
    EXPECT_EQ(edit->Text(), "75Я");
    EXPECT_EQ(keys, "5Я");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Notifications, (std::vector<WORD>{EN_CHANGE, EN_CHANGE}));
    EXPECT_TRUE(edit->Modified());
    // Text set from code also reports a change, as a Windows edit does.
    edit->SetText("0");
    EXPECT_EQ(changes, 3);
    Other->SetFocus();
    EXPECT_TRUE(exited);
}

TEST_F(StdControls, EditMessages) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetText("Привет мир");
    DWORD a = 99, b = 99;
    struct Step {
        UINT msg;
        WPARAM w;
        LPARAM l;
        LRESULT result;
        const char* text; // Text() afterwards
        const char* sel;  // SelText() afterwards
    };
    std::string bye = "Пока";
    const Step steps[] = {
        {EM_SETSEL, 0, 6, 0, "Привет мир", "Привет"},
        {EM_GETSEL, WPARAM(&a), LPARAM(&b), MAKELRESULT(0, 6), "Привет мир", "Привет"},
        {EM_REPLACESEL, 0, LPARAM(bye.c_str()), 0, "Пока мир", ""},
        {EM_SETSEL, 0, -1, 0, "Пока мир", "Пока мир"},
        {EM_SETSEL, WPARAM(-1), 0, 0, "Пока мир", ""},
        {EM_SETSEL, 5, 100, 0, "Пока мир", "мир"},
        {EM_SETREADONLY, 1, 0, 1, "Пока мир", "мир"},
        {EM_GETMODIFY, 0, 0, 1, "Пока мир", "мир"}, // replacing the selection is an edit
        {EM_GETLINECOUNT, 0, 0, 1, "Пока мир", "мир"},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(edit->Perform(s.msg, s.w, s.l), s.result) << std::hex << s.msg;
        EXPECT_EQ(edit->Text(), s.text) << std::hex << s.msg;
        EXPECT_EQ(edit->SelText(), s.sel) << std::hex << s.msg;
    }
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 6u);
    EXPECT_TRUE(edit->ReadOnly());

    // Read-only refuses typing; the limit stops typing but keeps longer text set from code.
    Form->Show();
    edit->SetFocus();
    TypeKey(Native<QLineEdit>(edit), Qt::Key_End);
    TypeText(Native<QLineEdit>(edit), "x");
    EXPECT_EQ(edit->Text(), "Пока мир");
    edit->Perform(EM_SETREADONLY, 0, 0);
    edit->Perform(EM_LIMITTEXT, 9, 0);
    EXPECT_EQ(edit->MaxLength(), 9);
    TypeText(Native<QLineEdit>(edit), "xyz");
    EXPECT_EQ(edit->Text(), "Пока мирx");
    EXPECT_EQ(edit->Perform(EM_GETMODIFY, 0, 0), 1);
    edit->SetText("слишком длинный текст");
    EXPECT_EQ(edit->Text(), "слишком длинный текст");
    edit->Perform(EM_SETMODIFY, 0, 0);
    EXPECT_FALSE(edit->Modified());
}

TEST_F(StdControls, ComboMessages) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    std::string s1 = "Выполнять", s2 = "Выполнять при каждом сеансе", s3 = "Не выполнять", prefix = "вып",
                exact = "не выполнять", none = "нет";
    char buf[64] = {};
    TObject* tag = combo;
    struct Step {
        UINT msg;
        WPARAM w;
        LPARAM l;
        LRESULT result;
    };
    const Step steps[] = {
        {CB_ADDSTRING, 0, LPARAM(s1.c_str()), 0},
        {CB_ADDSTRING, 0, LPARAM(s3.c_str()), 1},
        {CB_INSERTSTRING, 1, LPARAM(s2.c_str()), 1},
        {CB_GETCOUNT, 0, 0, 3},
        {CB_GETCURSEL, 0, 0, CB_ERR},
        {CB_FINDSTRING, WPARAM(-1), LPARAM(prefix.c_str()), 0},
        {CB_FINDSTRING, 0, LPARAM(prefix.c_str()), 1},
        {CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(exact.c_str()), 2},
        {CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(none.c_str()), CB_ERR},
        {CB_SETCURSEL, 2, 0, 2},
        {CB_GETCURSEL, 0, 0, 2},
        {CB_SETCURSEL, 7, 0, CB_ERR},
        {CB_GETLBTEXTLEN, 1, 0, LRESULT(s2.size())},
        {CB_GETLBTEXT, 1, LPARAM(buf), LRESULT(s2.size())},
        {CB_GETLBTEXTLEN, 5, 0, CB_ERR},
        {CB_SETITEMDATA, 0, LPARAM(tag), 0},
        {CB_GETITEMDATA, 0, 0, LRESULT(tag)},
        {CB_SELECTSTRING, WPARAM(-1), LPARAM(prefix.c_str()), 0},
        {CB_DELETESTRING, 1, 0, 2},
        {CB_GETCOUNT, 0, 0, 2},
        {CB_RESETCONTENT, 0, 0, 0},
        {CB_GETCOUNT, 0, 0, 0},
    };
    for (const Step& s : steps)
        EXPECT_EQ(combo->Perform(s.msg, s.w, s.l), s.result) << std::hex << s.msg << " " << std::dec << s.w;
    EXPECT_STREQ(buf, s2.c_str());
    EXPECT_EQ(changes, 0); // no message from code raises OnChange

    // A drop-down list takes text by selecting the matching item.
    combo->SetStyle(csDropDownList);
    combo->Items()->SetCommaText("нет,\"1 s\",\"1 m\"");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetText("1 M");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "1 m");
    combo->SetText("2 h");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    // An editable box shows any text.
    combo->SetStyle(csDropDown);
    combo->SetText("15 s");
    EXPECT_EQ(combo->Text(), "15 s");
    EXPECT_EQ(changes, 0);

    // Item height reaches the rows of the list, from the property and from the message.
    auto* q = Native<QComboBox>(combo);
    ASSERT_NE(q, nullptr);
    combo->SetItemHeight(13);
    EXPECT_EQ(q->view()->sizeHintForRow(0), 13);
    combo->Perform(CB_SETITEMHEIGHT, 0, 20);
    EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(q->view()->sizeHintForRow(0), 20);
}

TEST_F(StdControls, UserSelectionClicksSelectsThenChanges) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("a");
    combo->Items()->Add("b");
    std::vector<std::string> log;
    combo->OnClick = [&](TObject*) { log.push_back("click"); };
    combo->OnSelect = [&](TObject*) { log.push_back("select"); };
    combo->OnChange = [&](TObject*) { log.push_back("change " + combo->Text()); };
    Form->Show();
    auto* q = Native<QComboBox>(combo);
    q->setCurrentIndex(1);
    emit q->activated(1);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "select", "change b"}));
    combo->SetItemIndex(0);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(StdControls, MemoLinesEndInCrLf) {
    auto* memo = new TMemo(Form);
    memo->SetParent(Form);
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("первая");
    lines->Add("вторая");
    EXPECT_EQ(memo->Text(), "первая\r\nвторая\r\n");
    EXPECT_EQ(lines->Count(), 2);
    lines->Insert(1, "x");
    lines->Put(2, "третья");
    EXPECT_EQ(memo->Text(), "первая\r\nx\r\nтретья\r\n");
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), "x\r\nтретья\r\n");
    EXPECT_THROW(lines->Get(5), EListError);

    // Positions count CR LF, as Windows does.
    EXPECT_EQ(memo->Perform(EM_LINEINDEX, 1, 0), 3);
    EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, 4, 0), 1);
    EXPECT_EQ(memo->Perform(EM_LINELENGTH, 3, 0), 6);
    memo->SetSelStart(3);
    memo->SetSelLength(6);
    EXPECT_EQ(memo->SelText(), "третья");
    EXPECT_EQ(memo->SelStart(), 3);

    memo->SetText("a\r\nb");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add("c");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
}

TEST_F(StdControls, CheckBoxCyclesAndClicks) {
    auto* box = new TCheckBox(Form);
    box->SetParent(Form);
    box->SetCaption("&Включено");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    Form->Show();
    auto* q = Native<QCheckBox>(box);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->text(), ToQString("&Включено"));

    struct {
        bool allowGrayed;
        std::vector<TCheckBoxState> states;
    } cases[] = {{false, {cbChecked, cbUnchecked, cbChecked}}, {true, {cbGrayed, cbChecked, cbUnchecked}}};
    for (auto& k : cases) {
        box->SetState(cbUnchecked);
        box->AllowGrayed = k.allowGrayed;
        clicks = 0;
        for (TCheckBoxState s : k.states) {
            q->click();
            EXPECT_EQ(box->State(), s);
            EXPECT_EQ(int(q->checkState()), s == cbChecked  ? Qt::Checked
                                            : s == cbGrayed ? Qt::PartiallyChecked
                                                            : Qt::Unchecked);
        }
        EXPECT_EQ(clicks, 3);
    }
    // From code: a change of state clicks too, and BM_ messages agree.
    clicks = 0;
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), BST_CHECKED);
    box->Perform(BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(box->Checked());
}

// As on the classic desktop: a 13-pixel box and the caption 4 pixels on, so a caption the forms
// size to its box ("Автозапуск" in Arial 16 px in 100 pixels) shows whole.
TEST_F(StdControls, CheckBoxCaptionStartsWhereTheClassicDesktopPutsIt) {
    auto* box = new TCheckBox(Form);
    box->SetParent(Form);
    box->SetBounds(0, 0, 100, 20);
    box->Font()->SetName("Arial");
    box->Font()->SetHeight(-16);
    box->SetCaption("Автозапуск");
    Form->Show();
    const QImage img = Native<QCheckBox>(box)->grab().toImage();
    const QColor face = img.pixelColor(img.width() - 1, 0);
    // The caption's ink: dark columns right of the box.
    int first = -1, last = -1;
    for (int x = 14; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixelColor(x, y) != face && qGray(img.pixel(x, y)) < 96) {
                first = first < 0 ? x : first;
                last = x;
            }
    EXPECT_GE(first, 15) << "the box and its gap";
    EXPECT_LE(first, 18) << "the box and its gap";
    EXPECT_LT(last, 98) << "the caption's last letter shows whole";
}

TEST_F(StdControls, ButtonsSetTheModalResultAndAnswerEnterAndEscape) {
    auto* ok = new TButton(Form);
    ok->SetParent(Form);
    ok->ModalResult = mrOk;
    ok->SetDefault(true);
    auto* cancel = new TButton(Form);
    cancel->SetParent(Form);
    cancel->ModalResult = mrCancel;
    cancel->Cancel = true;
    TModalResult seen = -1;
    ok->OnClick = [&](TObject*) { seen = Form->ModalResult(); };
    Form->Show();
    Native<QAbstractButton>(ok)->click();
    EXPECT_EQ(seen, mrOk); // the form had the result before OnClick ran
    Form->SetModalResult(mrNone);
    EXPECT_EQ(Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    Form->SetModalResult(mrNone);
    Other->SetFocus();
    EXPECT_EQ(Form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    // With another button focused, Enter is that button's.
    Form->SetModalResult(mrNone);
    cancel->SetFocus();
    EXPECT_EQ(Form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(StdControls, PanelAndLabelAsDrawn) {
    Host->SetBevelOuter(bvRaised);
    Host->SetBevelInner(bvLowered);
    Host->SetBorderWidth(2);
    Host->SetCaption("Тест");
    auto* label = new TLabel(Form);
    label->SetParent(Host);
    label->SetLeft(10);
    label->SetTop(8);
    label->SetColor(clYellow);
    label->SetCaption("Метка");
    auto* filler = new TPanel(Form);
    filler->SetParent(Host);
    filler->SetAlign(alClient);
    filler->SetVisible(false);
    Form->Show();
    EXPECT_EQ(filler->BoundsRect(),
              Rect(4, 4, 296, 196)); // children align inside bevel 1 + border 2 + bevel 1

    QImage img = HandleWidget(Host)->grab().toImage();
    ASSERT_EQ(img.width(), 300);
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    struct {
        int x, y;
        TColor c;
    } probes[] = {{0, 0, hi},   {150, 0, hi},   {0, 100, hi},   {299, 0, sh},   {299, 199, sh},
                  {0, 199, sh}, {150, 199, sh}, {1, 1, face},   {2, 2, face},   {3, 3, sh},
                  {3, 100, sh}, {296, 100, hi}, {150, 196, hi}, {296, 196, hi}, {4, 195, face}};
    for (auto& p : probes)
        EXPECT_EQ(PixelAt(img, p.x, p.y), p.c) << p.x << "," << p.y;

    // The label sized itself to its text and paints its box, text from its top-left.
    TBitmap m;
    WhiteBitmap(m, 1, 1);
    m.Canvas()->SetFont(label->Font());
    TSize ext = m.Canvas()->TextExtent("Метка");
    EXPECT_EQ(label->Width(), ext.cx);
    EXPECT_EQ(label->Height(), ext.cy);
    QImage lab = img.copy(label->Left(), label->Top(), label->Width(), label->Height());
    EXPECT_EQ(CountColor(lab, clYellow) + CountColor(lab, clBlack) > lab.width() * lab.height() * 7 / 10,
              true);
    EXPECT_EQ(PixelAt(img, label->Left() - 1, label->Top()), face);
    TRect ink = InkBox(lab, clYellow);
    EXPECT_LE(ink.Left, 1);
    EXPECT_GE(ink.Top, 1);

    // Caption: centred in the panel, vertically too, below and apart from the label.
    QImage mid = img.copy(4, 60, 292, 136 - 60);
    TRect cap = InkBox(mid, face);
    ASSERT_FALSE(cap.IsEmpty());
    EXPECT_NEAR(4 + (cap.Left + cap.Right) / 2.0, 150.0, 2.0);
    EXPECT_NEAR(60 + (cap.Top + cap.Bottom) / 2.0, 100.0, 3.0);
}

} // namespace

namespace {

TEST_F(StdControls, EditShowsASunkenFrameAndItsText) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(20, 250, 120, 21);
    edit->SetText("Текст");
    Form->Show();
    QImage img = HandleWidget(edit)->grab().toImage();
    ASSERT_EQ(img.width(), 120);
    struct {
        int x, y;
        TColor c;
    } probes[] = {{0, 0, clBtnShadow},      {60, 0, clBtnShadow},      {0, 10, clBtnShadow},
                  {119, 0, clBtnHighlight}, {119, 20, clBtnHighlight}, {0, 20, clBtnHighlight},
                  {1, 1, cl3DDkShadow},     {118, 19, cl3DLight},      {60, 1, cl3DDkShadow},
                  {118, 10, cl3DLight}};
    for (auto& p : probes)
        EXPECT_EQ(PixelAt(img, p.x, p.y), ColorToRGB(p.c)) << p.x << "," << p.y;
    // The text sits at the left of the white field inside the frame.
    QImage field = img.copy(2, 2, 116, 17);
    TRect ink = InkBox(field, clWhite);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Left, 4);
    EXPECT_GT(ink.Width(), 15);
}

} // namespace

namespace {

TEST_F(StdControls, LabelLayoutTransparencyAndDisabledLook) {
    Host->SetColor(clTeal);
    struct Case {
        const char* name;
        std::function<void(TLabel*)> setup;
        std::function<void(TLabel*, const QImage&)> check;
    };
    const Case cases[] = {
        {"centred layout",
         [](TLabel* l) {
             l->SetAutoSize(false);
             l->SetBounds(10, 10, 100, 60);
             l->SetLayout(tlCenter);
             l->SetAlignment(taCenter);
         },
         [](TLabel* l, const QImage& img) {
             TRect ink = InkBox(img.copy(l->Left(), l->Top(), l->Width(), l->Height()), clTeal);
             EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 30.0, 3.0);
             EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 50.0, 2.0);
         }},
        {"transparent",
         [](TLabel* l) {
             l->SetColor(clYellow);
             l->SetTransparent(true);
         },
         [](TLabel* l, const QImage& img) {
             QImage box = img.copy(l->Left(), l->Top(), l->Width(), l->Height());
             EXPECT_EQ(CountColor(box, clYellow), 0);
             EXPECT_GT(CountColor(box, clTeal), box.width() * box.height() / 2);
         }},
        {"disabled", [](TLabel* l) { l->SetEnabled(false); },
         [](TLabel* l, const QImage& img) {
             QImage box = img.copy(l->Left(), l->Top(), l->Width() + 1, l->Height() + 1);
             EXPECT_GT(CountColor(box, ColorToRGB(clBtnHighlight)), 5);
             EXPECT_GT(CountColor(box, ColorToRGB(clBtnShadow)), 5);
             EXPECT_EQ(CountColor(box, clBlack), 0);
         }},
        {"word wrap",
         [](TLabel* l) {
             l->SetWordWrap(true);
             l->SetWidth(40);
             l->SetCaption("один два три четыре");
         },
         [](TLabel* l, const QImage&) { EXPECT_GE(l->Height(), 3 * l->Canvas()->TextHeight("Ag")); }},
    };
    for (const Case& k : cases) {
        auto* label = new TLabel(Form);
        label->SetParent(Host);
        label->SetBounds(10, 10, 10, 10);
        label->SetCaption("Метка");
        k.setup(label);
        Form->Show();
        QImage img = HandleWidget(Host)->grab().toImage();
        k.check(label, img);
        delete label;
    }
}

} // namespace

namespace {

// Paints a red square, reads its own pixels back and copies the square within its window, as
// drop shadows and parent images do on a control's canvas.
class PixelProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<TColor> Seen;

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(ClientRect());
        c->Brush()->SetColor(clRed);
        c->FillRect(Rect(2, 2, 6, 6));
        Seen = {c->Pixels[3][3], c->Pixels[8][8]};
        BitBlt(c->Handle(), 10, 10, 2, 2, c->Handle(), 2, 2, SRCCOPY);
    }
};

TEST_F(StdControls, LabelAcceleratorFocusesItsControlUntilThatGoes) {
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    label->SetCaption("&Фильтр");
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    label->SetFocusControl(edit);
    Form->Show();
    Other->SetFocus();
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>('ы')), 0), 0);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>('ф')), 0), 1);
    EXPECT_EQ(Form->ActiveControl(), edit);
    // The form offers the character to its graphic children too.
    Other->SetFocus();
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>('ф')), 0), 1);
    EXPECT_EQ(Form->ActiveControl(), edit);
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>('ф')), 0), 0);
}

TEST_F(StdControls, ACanvasOnAWindowReadsAndCopiesItsOwnPixels) {
    auto* probe = new PixelProbe(Form);
    probe->SetParent(Host);
    probe->SetBounds(20, 30, 16, 16);
    Form->Show();
    // Into a picture of the window, and through the window's own painting.
    QImage img = HandleWidget(probe)->grab().toImage();
    EXPECT_EQ(probe->Seen, (std::vector<TColor>{clRed, clWhite}));
    EXPECT_EQ(PixelAt(img, 10, 10), clRed);
    EXPECT_EQ(PixelAt(img, 12, 12), clWhite);
    probe->Seen.clear();
    Application->ProcessMessages();
    ClientWidget(probe)->repaint();
    EXPECT_EQ(probe->Seen, (std::vector<TColor>{clRed, clWhite}));
}

TEST_F(StdControls, ScrollBarMovesByItsChangesAndTellsOnScroll) {
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Host);
    bar->SetBounds(0, 0, 200, 17);
    bar->SetSmallChange(2);
    bar->SetLargeChange(10);
    bar->SetParams(50, 0, 100);
    Form->Show();
    auto* sb = Native<QScrollBar>(bar);
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(sb->value(), 50);
    std::vector<TScrollCode> codes;
    int changes = 0;
    bool snap = false;
    bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        codes.push_back(code);
        if (snap)
            pos -= pos % 5;
    };
    bar->OnChange = [&](TObject*) { ++changes; };
    struct Row {
        const char* Name;
        std::function<void()> Act;
        bool Snap;
        std::vector<TScrollCode> Codes;
        int Pos;
    } rows[] = {
        {"line down",
         [&] { sb->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
         false,
         {scLineDown},
         52},
        {"page up", [&] { sb->triggerAction(QAbstractSlider::SliderPageStepSub); }, false, {scPageUp}, 42},
        {"page up snapped",
         [&] { sb->triggerAction(QAbstractSlider::SliderPageStepSub); },
         true,
         {scPageUp},
         30},
        {"bottom", [&] { sb->triggerAction(QAbstractSlider::SliderToMaximum); }, false, {scBottom}, 100},
        {"line down at the end",
         [&] { sb->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
         false,
         {scLineDown},
         100},
        {"top", [&] { sb->triggerAction(QAbstractSlider::SliderToMinimum); }, false, {scTop}, 0},
        {"thumb",
         [&] {
             sb->setSliderDown(true);
             sb->setSliderPosition(33);
             sb->setSliderDown(false);
         },
         false,
         {scTrack, scPosition, scEndScroll},
         33},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        codes.clear();
        snap = r.Snap;
        r.Act();
        EXPECT_EQ(codes, r.Codes);
        EXPECT_EQ(bar->Position(), r.Pos);
        EXPECT_EQ(sb->value(), r.Pos);
    }
    EXPECT_EQ(changes, 6); // every move but the one at the end
    bar->SetPageSize(20);
    bar->SetPosition(100);
    EXPECT_EQ(bar->Position(), 81); // the last page starts at Max - PageSize + 1
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

// A popup such as a drop-down panel: WS_POPUP alone, owned by the form.
class TPopupPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> Log;
    LRESULT MouseActivate = 0;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style = WS_POPUP | WS_BORDER;
    }
    void WndProc(TMessage& m) override {
        Log.push_back(m.Msg);
        TCustomControl::WndProc(m);
        if (m.Msg == WM_MOUSEACTIVATE)
            MouseActivate = m.Result;
    }
};

TEST_F(StdControls, APopupNeverTakesTheFocusFromTheEditThatOpenedIt) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Host);
    Form->Show();
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    auto* popup = new TPopupPanel(Form);
    popup->SetVisible(false);
    popup->SetParent(Form);
    TPoint below = edit->ClientToScreen(TPoint(0, edit->Height()));
    HWND h = popup->Handle();
    EXPECT_TRUE(HandleWidget(popup)->isWindow());
    SetWindowPos(h, HWND_TOP, below.x, below.y, 120, 60, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    popup->SetVisible(true);
    EXPECT_EQ(popup->BoundsRect(), Bounds(below.x, below.y, 120, 60));
    EXPECT_TRUE(IsWindowVisible(h));
    WaitUntil([] { return false; }, 30);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(QApplication::activeWindow(), HandleWidget(Form));
    QWidget* inside = ClientWidget(popup);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(10, 10), inside->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(inside, &e);
    }
    WaitUntil([] { return false; }, 30);
    EXPECT_EQ(popup->MouseActivate, MA_NOACTIVATE);
    EXPECT_EQ(std::count(popup->Log.begin(), popup->Log.end(), UINT(WM_LBUTTONDOWN)), 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(Form->ActiveControl(), edit);
    EXPECT_EQ(QApplication::activeWindow(), HandleWidget(Form));
    ShowWindow(h, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(h));
}

} // namespace
