// The combo box, the single-line edit, the memo, the list box, the date-time picker, the buttons and
// the tree view make their Qt widget when their handle is first needed: what is set before (items, choice,
// text, value, format, flags, style, font, colour, bounds, enabled) comes out the same as on a control whose
// widget was made at once, a control never shown makes none, and once shown it takes the user's input.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "comctrls.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "extctrls.h"
#include "inputkit.h"
#include "mask.h"
#include "stdctrls.h"
#include "sysutils.h"

namespace {

// A row of a case table: what a test does to the control made at once and to the one made late.
template <class Arg> struct TLazyCase {
    const char* Name;
    std::function<void(Arg)> Set;
};
template <class Arg> void PrintTo(const TLazyCase<Arg>& c, std::ostream* os) { *os << c.Name; }

// Names each instance after its case.
struct CaseName {
    template <class Arg> std::string operator()(const ::testing::TestParamInfo<TLazyCase<Arg>>& i) const {
        return i.param.Name;
    }
};

// Where a fixture puts its two controls, and what it watches on them.
struct TLazySetup {
    int Width = 0, Height = 0;
    // The late control goes beside the early one (tall controls), not below it.
    bool Beside = false;
    // A button made first takes the focus when the form shows, so neither control is entered;
    // without it the first control made takes it, the late one unless EarlyFirst.
    std::optional<TPoint> FirstButton = std::nullopt;
    bool EarlyFirst = false;
    // OnChange counted in Changes, for the fixtures whose answers tell the changes.
    bool CountChanges = false;
};

// A form with a control made late and one made at once, set by each case alike. The fixture Self
// gives Answers(Arg) and WidgetState(Arg), and may replace Make, Watch, AfterShow, WidgetMade or
// ExpectSameWidgets below by its own.
template <class Self, class Arg> class TLazyTest : public ::testing::TestWithParam<TLazyCase<Arg>> {
public:
    Arg Make(bool early) {
        auto* c = new std::remove_pointer_t<Arg>(Form);
        if (early)
            c->WidgetNeeded();
        self().Watch(c);
        c->SetParent(Form);
        TPoint at = early ? TPoint(10, 10) : Setup.Beside ? TPoint(200, 10) : TPoint(10, 150);
        c->SetBounds(at.x, at.y, Setup.Width, Setup.Height);
        return c;
    }
    void Watch(Arg c) {
        if (Setup.CountChanges)
            c->OnChange = [this, c](auto...) { ++Changes[c]; };
    }
    void AfterShow() {}
    bool WidgetMade(Arg c) { return c->WidgetMade(); }
    void ExpectSameWidgets(Arg late, Arg early) {
        EXPECT_EQ(Self::WidgetState(late), Self::WidgetState(early));
    }

protected:
    explicit TLazyTest(TLazySetup setup) : Setup(setup) {}
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        if (Setup.FirstButton) {
            auto* first = new TButton(Form);
            first->SetParent(Form);
            first->SetBounds(Setup.FirstButton->x, Setup.FirstButton->y, 80, 24);
        }
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }

    // The case set on both: they answer alike before the form shows and after, once the late one
    // has made its widget, and the two widgets come out alike. Returns the two.
    auto ExpectTheLateAsTheEarly() {
        auto [late, early] = MakeBoth();
        this->GetParam().Set(early);
        this->GetParam().Set(late);
        EXPECT_EQ(self().Answers(late), self().Answers(early));
        Form->Show();
        self().AfterShow();
        EXPECT_TRUE(self().WidgetMade(late));
        EXPECT_EQ(self().Answers(late), self().Answers(early));
        self().ExpectSameWidgets(late, early);
        return std::pair{late, early};
    }

    // As above, then the case once more on both, now that both have their widgets: the edits the
    // widget mirrors come out as the edits made before it.
    void ExpectTheLateAsTheEarlyBeforeAndAfter() {
        auto [late, early] = ExpectTheLateAsTheEarly();
        this->GetParam().Set(early);
        this->GetParam().Set(late);
        self().AfterShow();
        EXPECT_EQ(self().Answers(late), self().Answers(early));
        self().ExpectSameWidgets(late, early);
    }

    TLazySetup Setup;
    TForm* Form = nullptr;
    std::map<TControl*, int> Changes;

private:
    Self& self() { return static_cast<Self&>(*this); }
    auto MakeBoth() {
        if (Setup.EarlyFirst) {
            auto early = self().Make(true);
            return std::pair{self().Make(false), early};
        }
        auto late = self().Make(false);
        return std::pair{late, self().Make(true)};
    }
};

// The ends of the widget printers.
std::string FontText(QWidget* q) {
    return " font " + q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize());
}
std::string ColourText(QWidget* q, const char* name, QPalette::ColorRole role) {
    return std::string(" ") + name + " " + q->palette().color(role).name().toStdString();
}
std::string EnabledText(TWinControl* c) { return " enabled " + std::to_string(HandleWidget(c)->isEnabled()); }
std::string VisibleText(QWidget* q) { return " visible " + std::to_string(q->isVisible()); }
std::string FontBaseEnabled(TWinControl* c, QWidget* q) {
    return FontText(q) + ColourText(q, "base", QPalette::Base) + EnabledText(c);
}

// ---- the combo box -------------------------------------------------------------------------------

struct LazyCombo : TLazyTest<LazyCombo, TComboBox*> {
    // No button before: the early box is made first and takes the focus.
    LazyCombo() : TLazyTest({.Width = 150, .Height = 24, .EarlyFirst = true}) {}

    // Everything the box and its widget answer, as text, so two boxes compare in one line.
    static std::string Answers(TComboBox* c) {
        std::string s = "index " + IntToStr(c->ItemIndex()) + " text '" + c->Text() + "' items";
        for (int i = 0; i < c->Items()->Count(); ++i)
            s += " " + c->Items()->Strings(i) + "/" + IntToStr(int(intptr_t(c->Items()->Objects(i))));
        s += " dropped " + IntToStr(c->DroppedDown());
        return s;
    }

    static std::string WidgetState(TComboBox* c) {
        QComboBox* q = ClientWidget(c)->findChild<QComboBox*>();
        if (!q)
            return "no widget";
        std::string s = "count " + std::to_string(q->count()) + " current " +
                        std::to_string(q->currentIndex()) + " text '" + q->currentText().toStdString() +
                        "' editable " + std::to_string(q->isEditable());
        for (int i = 0; i < q->count(); ++i)
            s += " " + q->itemText(i).toStdString() + "/" + std::to_string(q->itemData(i).value<quintptr>());
        s += " rows " + std::to_string(q->maxVisibleItems()) + " minwidth " +
             std::to_string(q->view()->minimumWidth());
        s += " maxlength " + std::to_string(q->lineEdit() ? q->lineEdit()->maxLength() : -1);
        s += FontText(q) + " " + std::to_string(q->font().bold());
        s += ColourText(q, "base", QPalette::Base) + ColourText(q, "text", QPalette::Text);
        QStyleOptionViewItem opt;
        s += " row height " +
             std::to_string(q->itemDelegate()->sizeHint(opt, q->model()->index(0, 0)).height());
        QWidget* h = HandleWidget(c);
        s += EnabledText(c) + VisibleText(h) + " at " + std::to_string(h->x()) + "," +
             std::to_string(h->y()) + " " + std::to_string(h->width()) + "x" + std::to_string(h->height());
        return s;
    }

    // The widget itself, but for the place the boxes were put at.
    static void ExpectSameWidgets(TComboBox* late, TComboBox* early) {
        std::string a = WidgetState(late), b = WidgetState(early);
        a = a.substr(0, a.rfind(" at "));
        b = b.substr(0, b.rfind(" at "));
        EXPECT_EQ(a, b);
    }
};

TEST_P(LazyCombo, WhatIsSetBeforeTheWidgetComesOutAsOnABoxMadeAtOnce) { ExpectTheLateAsTheEarly(); }
TEST_P(LazyCombo, WhatIsSetAgainOnceTheWidgetExistsComesOutAlike) { ExpectTheLateAsTheEarlyBeforeAndAfter(); }

const TLazyCase<TComboBox*> kCases[] = {
    {"ItemsThenAChoice",
     [](TComboBox* c) {
         for (const char* s : {"alpha", "beta", "gamma"})
             c->Items()->Add(s);
         c->SetItemIndex(1);
     }},
    {"InsertBeforeTheChosenItem",
     [](TComboBox* c) {
         c->Items()->Add("a");
         c->Items()->Add("b");
         c->SetItemIndex(1);
         c->Items()->Insert(0, "z");
         c->Items()->Insert(3, "end");
     }},
    {"TypedTextThenItems",
     [](TComboBox* c) {
         c->SetText("typed");
         c->Items()->Add("one");
         c->Items()->AddObject("two", reinterpret_cast<TObject*>(intptr_t(7)));
     }},
    {"ListStyleTextSelectsTheItem",
     [](TComboBox* c) {
         c->SetStyle(csDropDownList);
         c->Items()->Add("x");
         c->Items()->Add("y");
         c->SetText("y");
     }},
    {"ListStyleUnknownTextSelectsNothing",
     [](TComboBox* c) {
         c->SetStyle(csDropDownList);
         c->Items()->Add("x");
         c->SetItemIndex(0);
         c->SetText("none");
     }},
    {"ClearKeepsTheEditText",
     [](TComboBox* c) {
         c->Items()->Add("kept");
         c->SetItemIndex(0);
         c->Items()->Clear();
     }},
    {"StyleChangeAfterAChoice",
     [](TComboBox* c) {
         c->Items()->Add("a");
         c->SetItemIndex(0);
         c->SetStyle(csDropDownList);
     }},
    {"SortedAndObjects",
     [](TComboBox* c) {
         for (const char* s : {"pear", "apple", "fig"})
             c->Items()->AddObject(s, reinterpret_cast<TObject*>(intptr_t(s[0])));
         c->Items()->PutObject(1, reinterpret_cast<TObject*>(intptr_t(42)));
         c->SetSorted(true);
         c->Items()->Add("banana");
     }},
    {"DeleteAndReplace",
     [](TComboBox* c) {
         for (const char* s : {"a", "b", "c"})
             c->Items()->Add(s);
         c->SetItemIndex(2);
         c->Items()->Delete(0);
         c->Items()->Put(0, "B");
     }},
    {"ReplaceTheChosenItem",
     [](TComboBox* c) {
         c->Items()->Clear();
         for (const char* s : {"a", "b"})
             c->Items()->AddObject(s, reinterpret_cast<TObject*>(intptr_t(s[0])));
         c->SetItemIndex(1);
         c->Items()->Put(1, "Бэ");
     }},
    {"DeleteTheChosenItemChoosesTheNext",
     [](TComboBox* c) {
         c->Items()->Clear();
         for (const char* s : {"a", "b", "c"})
             c->Items()->AddObject(s, reinterpret_cast<TObject*>(intptr_t(s[0])));
         c->SetItemIndex(1);
         c->Items()->Delete(1);
     }},
    {"DeleteTheLastChosenItemChoosesTheOneBefore",
     [](TComboBox* c) {
         c->Items()->Clear();
         for (const char* s : {"a", "b", "c"})
             c->Items()->Add(s);
         c->SetItemIndex(2);
         c->Items()->Delete(2);
     }},
    {"DeleteEveryItemEmptiesTheEdit",
     [](TComboBox* c) {
         c->Items()->Clear();
         c->Items()->Add("only");
         c->SetItemIndex(0);
         c->Items()->Delete(0);
     }},
    {"ListStyleDeleteBeforeAndObjects",
     [](TComboBox* c) {
         c->SetStyle(csDropDownList);
         c->Items()->Clear();
         for (const char* s : {"a", "b", "c"})
             c->Items()->Add(s);
         c->SetText("c");
         c->Items()->PutObject(2, reinterpret_cast<TObject*>(intptr_t(9)));
         c->Items()->Delete(0);
         c->Items()->Insert(0, "first");
     }},
    {"TypedTextKeptThroughClearAndInsert",
     [](TComboBox* c) {
         c->Items()->Clear();
         c->SetText("typed");
         c->Items()->Insert(0, "x");
         c->SetItemIndex(-1);
         c->SetText("again");
     }},
    {"FontColourLimitsAndState",
     [](TComboBox* c) {
         c->Font()->SetName("Courier New");
         c->Font()->SetHeight(-17);
         c->Font()->SetColor(clNavy);
         c->Font()->SetStyle(TFontStyles{fsBold});
         c->SetColor(clYellow);
         c->SetMaxLength(5);
         c->SetDropDownCount(3);
         c->SetDropDownWidth(220);
         c->SetItemHeight(12);
         c->SetEnabled(false);
         c->Items()->Add("Кириллица");
         c->SetItemIndex(0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyCombo, ::testing::ValuesIn(kCases), CaseName());

// How many Qt widgets of a class exist.
template <class Q> int Made() {
    int n = 0;
    for (QWidget* w : QApplication::allWidgets())
        n += qobject_cast<Q*>(w) != nullptr;
    return n;
}

// A form with a control on a hidden panel, and a control on a form never shown (the application
// must exist first).
template <class TCtl> struct TNeverShown {
    TNeverShown() {
        Form->SetBounds(0, 0, 300, 200);
        OnHiddenForm->SetParent(HiddenForm);
        Panel->SetParent(Form);
        Panel->SetVisible(false);
        Control->SetParent(Panel);
    }
    ~TNeverShown() {
        delete HiddenForm;
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = new TForm(nullptr);
    TForm* HiddenForm = new TForm(nullptr);
    TCtl* OnHiddenForm = new TCtl(HiddenForm);
    TPanel* Panel = new TPanel(Form);
    TCtl* Control = new TCtl(Form);
};

// Boxes on a panel that is not shown, and on a form never shown, make no QComboBox; the first
// showing makes it with the items and the choice set before.
TEST(LazyComboShown, ABoxNeverShownMakesNoWidget) {
    EnsureApp();
    int before = Made<QComboBox>();
    TNeverShown<TComboBox> s;
    s.OnHiddenForm->Items()->Add("never");
    TComboBox* box = s.Control;
    box->Items()->Add("first");
    box->Items()->Add("second");
    box->SetItemIndex(1);
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(box->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QComboBox>(), before);
    EXPECT_EQ(box->Text(), "second");
    s.Panel->SetVisible(true);
    ASSERT_TRUE(box->WidgetMade());
    QComboBox* q = ClientWidget(box)->findChild<QComboBox*>();
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->isVisible());
    EXPECT_EQ(q->count(), 2);
    EXPECT_EQ(q->currentText().toStdString(), "second");
    EXPECT_EQ(Made<QComboBox>(), before + 1);
}

// Whatever is set on a box never shown, edits of its items, choice and text included, makes no
// QComboBox, and the box answers as one whose widget was made at once.
struct LazyComboHidden : ::testing::TestWithParam<TLazyCase<TComboBox*>> {};

TEST_P(LazyComboHidden, WhatIsSetOnABoxNeverShownMakesNoWidget) {
    EnsureApp();
    int before = Made<QComboBox>();
    TNeverShown<TComboBox> s;
    s.Form->Show();
    auto* early = new TComboBox(s.Form);
    early->WidgetNeeded();
    GetParam().Set(early);
    GetParam().Set(s.Control);
    GetParam().Set(s.OnHiddenForm);
    Application->ProcessMessages();
    EXPECT_FALSE(s.Control->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QComboBox>(), before + 1);
    EXPECT_EQ(LazyCombo::Answers(s.Control), LazyCombo::Answers(early));
}

INSTANTIATE_TEST_SUITE_P(Sets, LazyComboHidden, ::testing::ValuesIn(kCases), CaseName());

// ---- the single-line edit ------------------------------------------------------------------------

struct LazyEdit : TLazyTest<LazyEdit, TEdit*> {
    // The button takes the focus when the form shows; an edit entered would select its text.
    LazyEdit()
        : TLazyTest({.Width = 150, .Height = 24, .FirstButton = TPoint(200, 10), .CountChanges = true}) {}

    // What the edit answers, with the changes it reported.
    std::string Answers(TEdit* e) {
        return "text '" + e->Text() + "' modified " + IntToStr(e->Modified()) + " readonly " +
               IntToStr(e->ReadOnly()) + " max " + IntToStr(e->MaxLength()) + " sel " +
               IntToStr(e->SelStart()) + "+" + IntToStr(e->SelLength()) + " undo " + IntToStr(e->CanUndo()) +
               " password " + IntToStr(e->PasswordChar()) + " changes " + IntToStr(Changes[e]) + " focus " +
               IntToStr(e->Focused());
    }

    static std::string WidgetState(TEdit* e) {
        QLineEdit* q = ClientWidget(e)->findChild<QLineEdit*>();
        if (!q)
            return "no widget";
        return "text '" + q->text().toStdString() + "' modified " + std::to_string(q->isModified()) +
               " readonly " + std::to_string(q->isReadOnly()) + " echo " +
               std::to_string(int(q->echoMode())) + " align " + std::to_string(int(q->alignment())) +
               " caret " + std::to_string(q->cursorPosition()) + " sel " +
               std::to_string(q->selectionStart()) + " '" + q->selectedText().toStdString() + "' undo " +
               std::to_string(q->isUndoAvailable()) + " frame " + std::to_string(q->hasFrame()) +
               FontText(q) + " " + std::to_string(q->font().bold()) + ColourText(q, "base", QPalette::Base) +
               ColourText(q, "text", QPalette::Text) + EnabledText(e) + VisibleText(q);
    }
};

TEST_P(LazyEdit, WhatIsSetBeforeTheWidgetComesOutAsOnAnEditMadeAtOnce) { ExpectTheLateAsTheEarly(); }

const TLazyCase<TEdit*> kEditCases[] = {
    {"NothingSet", [](TEdit*) {}},
    {"TextThenModified",
     [](TEdit* e) {
         e->SetText("abc");
         e->SetModified(true);
     }},
    {"TextClearsModified",
     [](TEdit* e) {
         e->SetModified(true);
         e->SetText("Кириллица");
     }},
    {"SameTextTwiceIsOneChange",
     [](TEdit* e) {
         e->SetText("a");
         e->SetText("a");
         e->Clear();
     }},
    {"LongerThanTheLimitReadOnlyPassword",
     [](TEdit* e) {
         e->SetMaxLength(2);
         e->SetText("longer");
         e->SetReadOnly(true);
         e->SetPasswordChar('*');
     }},
    {"UpperCase",
     [](TEdit* e) {
         e->SetText("Mixed Кир");
         e->SetCharCase(ecUpperCase);
     }},
    {"SelectionAfterText",
     [](TEdit* e) {
         e->SetText("hello");
         e->SetSelStart(1);
         e->SetSelLength(2);
     }},
    {"CaretPlacedThenANewText",
     [](TEdit* e) {
         e->SetText("hello");
         e->SetSelStart(2);
         e->SetText("world!");
     }},
    {"SelectionRemovedLeavesTheCaretAtItsEnd",
     [](TEdit* e) {
         e->SetText("hello");
         e->SetSelStart(1);
         e->SetSelLength(3);
         e->Perform(EM_SETSEL, WPARAM(-1), 0);
     }},
    {"SelectionBackwardsThenPastTheEnd",
     [](TEdit* e) {
         e->SetText("hello");
         e->Perform(EM_SETSEL, 4, 1);
         e->Perform(EM_SETSEL, 2, 99);
     }},
    {"ReplaceTheSelection",
     [](TEdit* e) {
         e->SetText("hello");
         e->SelectAll();
         e->SetSelText("X");
     }},
    {"FontColourAndDisabled",
     [](TEdit* e) {
         e->Font()->SetName("Courier New");
         e->Font()->SetHeight(-17);
         e->Font()->SetColor(clNavy);
         e->Font()->SetStyle(TFontStyles{fsBold});
         e->SetColor(clYellow);
         e->SetEnabled(false);
         e->SetText("x");
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyEdit, ::testing::ValuesIn(kEditCases), CaseName());

// Edits on a hidden panel and on a form never shown make no QLineEdit; showing the panel makes it
// with the text set before.
TEST(LazyEditShown, AnEditNeverShownMakesNoWidget) {
    EnsureApp();
    int before = Made<QLineEdit>();
    TNeverShown<TEdit> s;
    s.OnHiddenForm->SetText("never");
    TEdit* edit = s.Control;
    edit->SetText("kept");
    edit->SetReadOnly(true);
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(edit->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QLineEdit>(), before);
    EXPECT_EQ(edit->Text(), "kept");
    s.Panel->SetVisible(true);
    ASSERT_TRUE(edit->WidgetMade());
    QLineEdit* q = ClientWidget(edit)->findChild<QLineEdit*>();
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->isVisible());
    EXPECT_EQ(q->text().toStdString(), "kept");
    EXPECT_TRUE(q->isReadOnly());
    EXPECT_EQ(Made<QLineEdit>(), before + 1);
}

// ---- the date-time picker ------------------------------------------------------------------------

struct LazyPicker : TLazyTest<LazyPicker, TDateTimePicker*> {
    LazyPicker() : TLazyTest({.Width = 200, .Height = 21, .CountChanges = true}) {}

    std::string Answers(TDateTimePicker* p) {
        return "value " + FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", p->DateTime()) + " checked " +
               IntToStr(p->Checked()) + " box " + IntToStr(p->ShowCheckbox()) + " changes " +
               IntToStr(Changes[p]);
    }

    static std::string WidgetState(TDateTimePicker* p) {
        QDateTimeEdit* e = ClientWidget(p)->findChild<QDateTimeEdit*>();
        QCheckBox* b = ClientWidget(p)->findChild<QCheckBox*>();
        if (!e || !b)
            return "no widget";
        return "value " + e->dateTime().toString(Qt::ISODateWithMs).toStdString() + " text '" +
               e->text().toStdString() + "' format " + e->displayFormat().toStdString() + " popup " +
               std::to_string(e->calendarPopup()) + " range " +
               e->minimumDateTime().toString(Qt::ISODateWithMs).toStdString() + " " +
               e->maximumDateTime().toString(Qt::ISODateWithMs).toStdString() + " editor enabled " +
               std::to_string(e->isEnabled()) + " box " + std::to_string(b->isVisible()) + " " +
               std::to_string(b->isChecked()) + FontBaseEnabled(p, e);
    }
};

TEST_P(LazyPicker, WhatIsSetBeforeTheWidgetComesOutAsOnAPickerMadeAtOnce) { ExpectTheLateAsTheEarly(); }

const TLazyCase<TDateTimePicker*> kPickerCases[] = {
    // The start value is today (a date-only format drops the time).
    {"NothingSet", [](TDateTimePicker*) {}},
    {"DateKeepsTheTimeOfDay", [](TDateTimePicker* p) { p->SetDate(EncodeDate(2007, 1, 1)); }},
    {"TimeSetUnderADateFormatIsKept",
     [](TDateTimePicker* p) {
         p->SetDate(EncodeDate(2020, 5, 6));
         p->SetTime(EncodeTime(13, 45, 12, 345));
     }},
    {"AnotherDateFormatDropsTheTime",
     [](TDateTimePicker* p) {
         p->SetDateTime(EncodeDate(2020, 5, 6) + EncodeTime(13, 45, 0, 0));
         p->SetDateFormat(dfLong);
     }},
    {"OutOfTheRangeIsHeldAtItsEdges",
     [](TDateTimePicker* p) {
         p->SetDateTime(EncodeDate(1700, 1, 1));
         p->SetDate(p->Date() - 3);
     }},
    {"TimeKindShowsTheTime",
     [](TDateTimePicker* p) {
         p->SetDateTime(EncodeDate(2021, 2, 3) + EncodeTime(4, 5, 6, 0));
         p->SetKind(dtkTime);
         p->SetTime(EncodeTime(7, 8, 9, 0));
     }},
    {"CustomFormatAndUpDown",
     [](TDateTimePicker* p) {
         p->SetFormat("dd.MM.yyyy HH:mm");
         p->SetDateTime(EncodeDate(2021, 2, 3) + EncodeTime(4, 5, 0, 0));
         p->SetDateMode(dmUpDown);
     }},
    {"RangeOfItsOwn",
     [](TDateTimePicker* p) {
         p->SetMinDate(EncodeDate(2010, 1, 1));
         p->SetMaxDate(EncodeDate(2012, 12, 31));
         p->SetDate(EncodeDate(2015, 6, 1));
     }},
    {"UncheckedBoxShown",
     [](TDateTimePicker* p) {
         p->SetShowCheckbox(true);
         p->SetChecked(false);
         p->SetDate(EncodeDate(2001, 9, 9));
     }},
    {"FontColourAndDisabled",
     [](TDateTimePicker* p) {
         p->Font()->SetName("Courier New");
         p->Font()->SetHeight(-17);
         p->SetColor(clYellow);
         p->SetEnabled(false);
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyPicker, ::testing::ValuesIn(kPickerCases), CaseName());

// Pickers on a hidden panel and on a form never shown make no QDateTimeEdit; showing the panel
// makes it with the date set before, and it takes the user's click and keys.
TEST(LazyPickerShown, APickerNeverShownMakesNoWidgetAndOnceShownTakesTheUsersInput) {
    EnsureApp();
    int before = Made<QDateTimeEdit>();
    TNeverShown<TDateTimePicker> s;
    s.OnHiddenForm->SetDate(EncodeDate(2000, 1, 1));
    TDateTimePicker* picker = s.Control;
    picker->SetBounds(10, 10, 200, 21);
    picker->SetDate(EncodeDate(2007, 1, 1));
    int changes = 0, drops = 0;
    picker->OnChange = [&](TObject*) { ++changes; };
    picker->OnDropDown = [&](TObject*) { ++drops; };
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(picker->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QDateTimeEdit>(), before);
    s.Panel->SetBounds(0, 0, 300, 100);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(picker->WidgetMade());
    EXPECT_EQ(Made<QDateTimeEdit>(), before + 1);
    // A click on the arrow drops the calendar; a key steers it to the next day and Enter picks it.
    inputkit::Click(picker, picker->ClientWidth() - 6, picker->ClientHeight() / 2);
    EXPECT_EQ(drops, 1);
    ASSERT_TRUE(picker->DroppedDown());
    inputkit::PressToFocus(inputkit::Key::Right);
    inputkit::PressToFocus(inputkit::Key::Return);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picker->Date(), EncodeDate(2007, 1, 2));
}

// ---- the list box --------------------------------------------------------------------------------

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

struct LazyList : TLazyTest<LazyList, TListBox*> {
    // The button takes the focus when the form shows; a list entered gets a current row.
    LazyList() : TLazyTest({.Width = 150, .Height = 120, .Beside = true, .FirstButton = TPoint(10, 200)}) {}

    void Watch(TListBox* l) {
        l->OnClick = [this, l](TObject*) { ++Clicks[l]; };
        l->OnMeasureItem = [this, l](TWinControl*, int i, int& h) {
            ++Measured[l];
            h = 14 + i;
        };
    }
    // The rows are measured and placed once the showing's messages are through.
    void AfterShow() { Application->ProcessMessages(); }

    std::string Answers(TListBox* l) {
        std::string s = "index " + IntToStr(l->ItemIndex()) + " selcount " + IntToStr(l->SelCount()) +
                        " caret " + IntToStr(int(l->Perform(LB_GETCARETINDEX, 0, 0))) + " items";
        for (int i = 0; i < l->Items()->Count(); ++i)
            s += " " + l->Items()->Strings(i) + "/" + IntToStr(int(intptr_t(l->Items()->Objects(i)))) +
                 (l->Selected(i) ? "*" : "");
        return s + " clicks " + IntToStr(Clicks[l]) + " measured " + IntToStr(Measured[l]);
    }

    static std::string WidgetState(TListBox* l) {
        QListWidget* q = ClientWidget(l)->findChild<QListWidget*>();
        if (!q)
            return "no widget";
        std::string s = "count " + std::to_string(q->count()) + " current " +
                        std::to_string(q->currentRow()) + " mode " + std::to_string(int(q->selectionMode())) +
                        " uniform " + std::to_string(q->uniformItemSizes());
        for (int i = 0; i < q->count(); ++i)
            s += " " + q->item(i)->text().toStdString() + "/" +
                 std::to_string(q->item(i)->data(Qt::UserRole).value<quintptr>()) +
                 (q->item(i)->isSelected() ? "*" : "") + " h" +
                 std::to_string(q->visualItemRect(q->item(i)).height());
        return s + FontBaseEnabled(l, q) + VisibleText(q);
    }

    static void ExpectSameWidgets(TListBox* late, TListBox* early) {
        EXPECT_EQ(late->TopIndex(), early->TopIndex());
        EXPECT_EQ(WidgetState(late), WidgetState(early));
    }

    std::map<TListBox*, int> Clicks, Measured;
};

TEST_P(LazyList, WhatIsSetBeforeTheWidgetComesOutAsOnAListMadeAtOnce) { ExpectTheLateAsTheEarly(); }
TEST_P(LazyList, WhatIsSetAgainOnceTheWidgetExistsComesOutAlike) { ExpectTheLateAsTheEarlyBeforeAndAfter(); }

const TLazyCase<TListBox*> kListCases[] = {
    {"NothingSet", [](TListBox*) {}},
    {"ItemsWithObjectsEditedInPlace",
     [](TListBox* l) {
         for (const char* s : {"alpha", "beta", "gamma", "delta"})
             l->Items()->AddObject(s, Tag(s[0]));
         l->Items()->PutObject(1, Tag(42));
         l->Items()->Put(2, "Гамма");
         l->Items()->Delete(0);
         l->Items()->Insert(1, "inserted");
         l->SetItemIndex(-1);
     }},
    {"ItemsThenAChoice",
     [](TListBox* l) {
         for (const char* s : {"a", "b", "c"})
             l->Items()->Add(s);
         l->SetItemIndex(1);
         l->Items()->Add("d");
     }},
    {"EditsAroundTheChoice",
     [](TListBox* l) {
         l->Items()->Clear();
         for (const char* s : {"a", "b", "c", "d"})
             l->Items()->AddObject(s, Tag(s[0]));
         l->SetItemIndex(2);
         l->Items()->Put(2, "Цэ");
         l->Items()->Delete(0);
         l->Items()->Insert(0, "z");
         l->Items()->PutObject(0, Tag(5));
     }},
    {"ChoiceOutOfRangeChoosesNothing",
     [](TListBox* l) {
         l->Items()->Add("only");
         l->SetItemIndex(5);
     }},
    {"SortedThenAdded",
     [](TListBox* l) {
         for (const char* s : {"pear", "apple", "fig"})
             l->Items()->Add(s);
         l->SetSorted(true);
         l->Items()->Add("banana");
     }},
    {"ClearedAfterItems",
     [](TListBox* l) {
         l->Items()->Add("x");
         l->Items()->Clear();
         l->Items()->Add("y");
     }},
    {"MultiSelectWithTwoChosen",
     [](TListBox* l) {
         l->SetMultiSelect(true);
         for (const char* s : {"a", "b", "c"})
             l->Items()->Add(s);
         l->SetSelected(0, false);
         l->SetSelected(2, true);
         l->Perform(LB_SETSEL, 1, 1);
     }},
    {"OwnerDrawFixedRowsAndMessages",
     [](TListBox* l) {
         l->SetStyle(lbOwnerDrawFixed);
         l->SetItemHeight(18);
         static const char text[] = "by message";
         l->Perform(LB_ADDSTRING, 0, LPARAM(text));
         l->Perform(LB_SETITEMDATA, 0, 77);
         static const int stops[] = {40};
         l->Perform(LB_SETTABSTOPS, 1, LPARAM(stops));
         l->Perform(LB_SETHORIZONTALEXTENT, 300, 0);
     }},
    {"VariableRowsMeasuredAsAdded",
     [](TListBox* l) {
         l->Items()->Add("before");
         l->SetStyle(lbOwnerDrawVariable);
         l->Items()->Add("after");
     }},
    {"FontColourAndDisabled",
     [](TListBox* l) {
         l->Font()->SetName("Courier New");
         l->Font()->SetHeight(-17);
         l->SetColor(clYellow);
         l->SetEnabled(false);
         l->Items()->Add("x");
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyList, ::testing::ValuesIn(kListCases), CaseName());

// Lists on a hidden panel and on a form never shown make no QListWidget; showing the panel makes it
// with the items added before, and it takes the user's click.
TEST(LazyListShown, AListNeverShownMakesNoWidgetAndOnceShownTakesAClick) {
    EnsureApp();
    int before = Made<QListWidget>();
    TNeverShown<TListBox> s;
    s.OnHiddenForm->Items()->Add("never");
    TListBox* list = s.Control;
    list->SetBounds(10, 10, 150, 100);
    for (const char* t : {"first", "second", "third"})
        list->Items()->Add(t);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(list->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QListWidget>(), before);
    EXPECT_EQ(list->Items()->Strings(1), "second");
    s.Panel->SetBounds(0, 0, 300, 150);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(list->WidgetMade());
    EXPECT_EQ(Made<QListWidget>(), before + 1);
    TRect row = list->ItemRect(1);
    inputkit::Click(list, row.Left + 10, row.Top + row.Height() / 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemIndex(), 1);
}

// ---- buttons, check boxes, radio buttons --------------------------------------------------------

// One control of each kind, set up the same way on a late and an early control.
struct TButtons {
    TButton* Button;
    TCheckBox* Check;
    TRadioButton* Radio;
    TRadioButton* Other;
};

struct LazyButtons : TLazyTest<LazyButtons, TButtons&> {
    LazyButtons() : TLazyTest({}) {}

    TButtons Make(bool early) {
        // Each set in a panel of its own, as radio buttons go off by their parent.
        auto* panel = new TPanel(Form);
        panel->SetParent(Form);
        panel->SetBounds(early ? 0 : 200, 0, 200, 200);
        TButtons b{new TButton(Form), new TCheckBox(Form), new TRadioButton(Form), new TRadioButton(Form)};
        int top = 10;
        for (TNativeControl* c :
             std::initializer_list<TNativeControl*>{b.Button, b.Check, b.Radio, b.Other}) {
            if (early)
                c->WidgetNeeded();
            c->OnClick = [this, c](TObject*) { ++Clicks[c]; };
            c->SetParent(panel);
            c->SetBounds(10, top, 150, 24);
            top += 30;
        }
        return b;
    }
    static bool WidgetMade(const TButtons& b) {
        return b.Button->WidgetMade() && b.Check->WidgetMade() && b.Radio->WidgetMade();
    }

    std::string Answers(const TButtons& b) {
        return "default " + IntToStr(b.Button->Default()) + " state " + IntToStr(int(b.Check->State())) +
               " radios " + IntToStr(b.Radio->Checked()) + IntToStr(b.Other->Checked()) + " clicks " +
               IntToStr(Clicks[b.Button]) + IntToStr(Clicks[b.Check]) + IntToStr(Clicks[b.Radio]) +
               IntToStr(Clicks[b.Other]) + " tabstops " + IntToStr(b.Radio->TabStop()) +
               IntToStr(b.Other->TabStop());
    }

    static std::string WidgetState(TNativeControl* c) {
        auto* q = ClientWidget(c)->findChild<QAbstractButton*>();
        if (!q)
            return "no widget";
        std::string s = std::string(q->metaObject()->className()) + " '" + q->text().toStdString() +
                        "' checked " + std::to_string(q->isChecked()) + " direction " +
                        std::to_string(int(q->layoutDirection())) + " size " +
                        std::to_string(q->sizeHint().width()) + FontText(q) +
                        ColourText(q, "button", QPalette::Button) + EnabledText(c) + VisibleText(q);
        if (auto* p = qobject_cast<QPushButton*>(q))
            s += " default " + std::to_string(p->isDefault()) + " auto " + std::to_string(p->autoDefault());
        if (auto* b = qobject_cast<QCheckBox*>(q))
            s += " tristate " + std::to_string(b->isTristate()) + " check " +
                 std::to_string(int(b->checkState()));
        if (auto* r = qobject_cast<QRadioButton*>(q))
            s += " exclusive " + std::to_string(r->autoExclusive());
        return s;
    }

    static void ExpectSameWidgets(const TButtons& late, const TButtons& early) {
        EXPECT_EQ(WidgetState(late.Button), WidgetState(early.Button));
        EXPECT_EQ(WidgetState(late.Check), WidgetState(early.Check));
        EXPECT_EQ(WidgetState(late.Radio), WidgetState(early.Radio));
        EXPECT_EQ(WidgetState(late.Other), WidgetState(early.Other));
    }

    std::map<TControl*, int> Clicks;
};

TEST_P(LazyButtons, WhatIsSetBeforeTheWidgetsComeOutAsOnButtonsMadeAtOnce) { ExpectTheLateAsTheEarly(); }

const TLazyCase<TButtons&> kButtonCases[] = {
    {"NothingSet", [](TButtons&) {}},
    {"CaptionsAndChecks",
     [](TButtons& b) {
         b.Button->SetCaption("Открыть");
         b.Check->SetCaption("Использовать QBX-адрес");
         b.Check->SetChecked(true);
         b.Radio->SetCaption("СОМ-порт");
         b.Radio->SetChecked(true);
         b.Other->SetCaption("TCP/IP");
     }},
    {"CheckingTheOtherRadioUnchecksTheFirst",
     [](TButtons& b) {
         b.Radio->SetChecked(true);
         b.Other->SetChecked(true);
         b.Other->SetChecked(true);
     }},
    {"GrayedThenCheckedAndLeftAligned",
     [](TButtons& b) {
         b.Check->AllowGrayed = true;
         b.Check->SetState(cbGrayed);
         b.Check->SetState(cbChecked);
         b.Check->SetAlignment(taLeftJustify);
         b.Radio->SetAlignment(taLeftJustify);
     }},
    {"DefaultButtonByMessage",
     [](TButtons& b) {
         b.Button->SetDefault(true);
         b.Check->Perform(BM_SETCHECK, BST_CHECKED, 0);
         b.Radio->Perform(BM_CLICK, 0, 0);
     }},
    {"FontColourAndDisabled",
     [](TButtons& b) {
         for (TNativeControl* c : std::initializer_list<TNativeControl*>{b.Button, b.Check, b.Radio}) {
             c->Font()->SetName("Courier New");
             c->Font()->SetHeight(-17);
             c->SetColor(clYellow);
             c->SetCaption("x");
         }
         b.Check->SetEnabled(false);
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyButtons, ::testing::ValuesIn(kButtonCases), CaseName());

// Buttons and check boxes on a hidden panel and on a form never shown make no Qt button; showing
// the panel makes them, and they take the user's click and Space.
TEST(LazyButtonsShown, ButtonsNeverShownMakeNoWidgetAndOnceShownTakeTheUsersInput) {
    EnsureApp();
    int buttons = Made<QPushButton>(), checks = Made<QCheckBox>();
    TNeverShown<TButton> s;
    s.OnHiddenForm->SetCaption("never");
    TButton* button = s.Control;
    button->SetBounds(10, 10, 100, 25);
    button->SetCaption("Читать базу");
    auto* check = new TCheckBox(s.Form);
    check->SetParent(s.Panel);
    check->SetBounds(10, 50, 150, 20);
    check->SetCaption("Автозапуск");
    int pressed = 0, toggled = 0;
    button->OnClick = [&](TObject*) { ++pressed; };
    check->OnClick = [&](TObject*) { ++toggled; };
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(button->WidgetMade());
    EXPECT_FALSE(check->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QPushButton>(), buttons);
    EXPECT_EQ(Made<QCheckBox>(), checks);
    s.Panel->SetBounds(0, 0, 300, 150);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(button->WidgetMade() && check->WidgetMade());
    EXPECT_EQ(Made<QPushButton>(), buttons + 1);
    inputkit::Click(button, 50, 12);
    EXPECT_EQ(pressed, 1);
    inputkit::Click(check, 6, 10);
    EXPECT_EQ(toggled, 1);
    EXPECT_TRUE(check->Checked());
    check->SetFocus();
    inputkit::Press(check, inputkit::Key::Space);
    EXPECT_EQ(toggled, 2);
    EXPECT_FALSE(check->Checked());
}

// ---- the memo ------------------------------------------------------------------------------------

struct LazyMemo : TLazyTest<LazyMemo, TMemo*> {
    LazyMemo()
        : TLazyTest({.Width = 180,
                     .Height = 120,
                     .Beside = true,
                     .FirstButton = TPoint(10, 250),
                     .CountChanges = true}) {}

    std::string Answers(TMemo* m) {
        std::string s = "text '" + m->Text() + "' lines " + IntToStr(m->Lines()->Count()) + " sel " +
                        IntToStr(m->SelStart()) + "+" + IntToStr(m->SelLength()) + " modified " +
                        IntToStr(m->Modified()) + " readonly " + IntToStr(m->ReadOnly()) + " undo " +
                        IntToStr(m->CanUndo()) + " changes " + IntToStr(Changes[m]);
        return s;
    }

    static std::string WidgetState(TMemo* m) {
        QPlainTextEdit* q = ClientWidget(m)->findChild<QPlainTextEdit*>();
        if (!q)
            return "no widget";
        return "text '" + q->toPlainText().toStdString() + "' readonly " + std::to_string(q->isReadOnly()) +
               " wrap " + std::to_string(int(q->lineWrapMode())) + " bars " +
               std::to_string(int(q->horizontalScrollBarPolicy())) +
               std::to_string(int(q->verticalScrollBarPolicy())) + " tabs " +
               std::to_string(q->tabChangesFocus()) + " frame " + std::to_string(int(q->frameShape())) +
               " caret " + std::to_string(q->textCursor().position()) + " undo " +
               std::to_string(q->document()->isUndoAvailable()) + " align " +
               std::to_string(int(q->document()->defaultTextOption().alignment())) + FontBaseEnabled(m, q) +
               VisibleText(q);
    }
};

TEST_P(LazyMemo, WhatIsSetBeforeTheWidgetComesOutAsOnAMemoMadeAtOnce) { ExpectTheLateAsTheEarly(); }

const TLazyCase<TMemo*> kMemoCases[] = {
    {"NothingSet", [](TMemo*) {}},
    {"ReadOnlyLogSettings",
     [](TMemo* m) {
         m->SetReadOnly(true);
         m->SetScrollBars(ssVertical);
         m->SetWordWrap(false);
         m->SetColor(clInfoBk);
     }},
    {"EmptyClearedTwiceReportsTwoChanges",
     [](TMemo* m) {
         m->Lines()->Clear();
         m->Lines()->Clear();
         m->SetModified(false);
         m->Undo();
     }},
    {"LinesAdded",
     [](TMemo* m) {
         m->Lines()->Add("первая");
         m->Lines()->Add("second");
         m->Lines()->Insert(0, "zero");
     }},
    {"TextThenSelection",
     [](TMemo* m) {
         m->SetText("one\r\ntwo");
         m->SetSelStart(2);
         m->SetSelLength(3);
         m->SetModified(true);
     }},
    {"ModifiedAndCentred",
     [](TMemo* m) {
         m->SetModified(true);
         m->SetAlignment(taCenter);
         m->SetScrollBars(ssBoth);
     }},
    {"FontAndDisabled",
     [](TMemo* m) {
         m->Font()->SetName("Courier New");
         m->Font()->SetHeight(-17);
         m->SetEnabled(false);
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyMemo, ::testing::ValuesIn(kMemoCases), CaseName());

// Memos on a hidden panel and on a form never shown make no QPlainTextEdit; showing the panel makes
// the editor, and it takes the user's typing.
TEST(LazyMemoShown, AMemoNeverShownMakesNoWidgetAndOnceShownTakesTyping) {
    EnsureApp();
    int before = Made<QPlainTextEdit>();
    TNeverShown<TMemo> s;
    s.OnHiddenForm->SetReadOnly(true);
    TMemo* memo = s.Control;
    memo->SetBounds(10, 10, 200, 100);
    memo->SetScrollBars(ssVertical);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(memo->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QPlainTextEdit>(), before);
    EXPECT_EQ(memo->Lines()->Count(), 0);
    s.Panel->SetBounds(0, 0, 300, 150);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(memo->WidgetMade());
    EXPECT_EQ(Made<QPlainTextEdit>(), before + 1);
    inputkit::Click(memo, 20, 20);
    inputkit::Type(memo, "ab");
    inputkit::Press(memo, inputkit::Key::Return);
    inputkit::Type(memo, "Ж");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Strings(1), "Ж");
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(memo->Modified());
}

// A mask edit places its caret when its mask is set; on a panel never shown that makes no
// QLineEdit, and once shown it takes typing through the mask from where the caret was put.
TEST(LazyEditShown, AMaskEditNeverShownMakesNoWidgetAndOnceShownTakesTyping) {
    EnsureApp();
    int before = Made<QLineEdit>();
    TNeverShown<TMaskEdit> s;
    TMaskEdit* edit = s.Control;
    edit->SetBounds(10, 10, 80, 21);
    edit->SetEditMask("!90:00;1;_");
    edit->SetMaxLength(5);
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(edit->WidgetMade());
    EXPECT_EQ(Made<QLineEdit>(), before);
    EXPECT_EQ(edit->EditText(), "__:__");
    s.Panel->SetBounds(0, 0, 300, 150);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(edit->WidgetMade());
    EXPECT_EQ(Made<QLineEdit>(), before + 1);
    edit->SetFocus();
    inputkit::Press(edit, inputkit::Key::Home);
    inputkit::Type(edit, "1234");
    EXPECT_EQ(edit->EditText(), "12:34");
}

// ---- the tree view -------------------------------------------------------------------------------

struct LazyTree : TLazyTest<LazyTree, TTreeView*> {
    LazyTree()
        : TLazyTest({.Width = 180,
                     .Height = 200,
                     .Beside = true,
                     .FirstButton = TPoint(10, 250),
                     .CountChanges = true}) {}

    std::string Answers(TTreeView* t) {
        std::string s = "indent " + IntToStr(t->Indent()) + " count " + IntToStr(t->Items()->Count()) +
                        " selected " + (t->Selected() ? t->Selected()->Text() : std::string("-"));
        for (TTreeNode* n = t->Items()->GetFirstNode(); n; n = n->GetNext())
            s += " " + n->Text() + (n->Expanded() ? "+" : "");
        return s + " changes " + IntToStr(Changes[t]);
    }

    static std::string WidgetState(TTreeView* t) {
        QTreeWidget* q = ClientWidget(t)->findChild<QTreeWidget*>();
        if (!q)
            return "no widget";
        std::string s = "indent " + std::to_string(q->indentation()) + " decorated " +
                        std::to_string(q->rootIsDecorated()) + " expandable " +
                        std::to_string(q->itemsExpandable()) + " updates " +
                        std::to_string(q->updatesEnabled()) + " top " +
                        std::to_string(q->topLevelItemCount()) + " current " +
                        (q->currentItem() ? q->currentItem()->text(0).toStdString() : std::string("-"));
        return s + FontBaseEnabled(t, q) + VisibleText(q);
    }
};

TEST_P(LazyTree, WhatIsSetBeforeTheWidgetComesOutAsOnATreeMadeAtOnce) { ExpectTheLateAsTheEarly(); }

const TLazyCase<TTreeView*> kTreeCases[] = {
    {"NothingSet", [](TTreeView*) {}},
    {"IndentSortAndNoButtons",
     [](TTreeView* t) {
         t->SetIndent(19);
         t->SetSortType(stText);
         t->SetShowButtons(false);
         t->Items()->Clear();
     }},
    {"NodesInAnUpdateSortedAndChosen",
     [](TTreeView* t) {
         t->SetSortType(stText);
         t->Items()->BeginUpdate();
         TTreeNode* b = t->Items()->Add(nullptr, "beta");
         t->Items()->AddChild(b, "child");
         t->Items()->Add(nullptr, "alpha");
         t->Items()->EndUpdate();
         b->Expand(false);
         t->SetSelected(b);
     }},
    {"UpdateLeftOpen",
     [](TTreeView* t) {
         t->SetShowRoot(false);
         t->Items()->BeginUpdate();
     }},
    {"FontColourAndDisabled",
     [](TTreeView* t) {
         t->Font()->SetName("Courier New");
         t->Font()->SetHeight(-17);
         t->SetColor(clYellow);
         t->SetEnabled(false);
     }},
};

INSTANTIATE_TEST_SUITE_P(Sets, LazyTree, ::testing::ValuesIn(kTreeCases), CaseName());

// An empty tree on a hidden panel and on a form never shown makes no QTreeWidget; shown and
// filled, it takes the user's click on a node.
TEST(LazyTreeShown, AnEmptyTreeNeverShownMakesNoWidgetAndOnceShownTakesAClick) {
    EnsureApp();
    int before = Made<QTreeWidget>();
    TNeverShown<TTreeView> s;
    s.OnHiddenForm->SetIndent(19);
    TTreeView* tree = s.Control;
    tree->SetBounds(10, 10, 200, 120);
    tree->SetIndent(19);
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    s.Form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(tree->WidgetMade());
    EXPECT_FALSE(s.OnHiddenForm->WidgetMade());
    EXPECT_EQ(Made<QTreeWidget>(), before);
    EXPECT_EQ(tree->Indent(), 19);
    s.Panel->SetBounds(0, 0, 300, 150);
    s.Panel->SetVisible(true);
    ASSERT_TRUE(tree->WidgetMade());
    EXPECT_EQ(Made<QTreeWidget>(), before + 1);
    tree->Items()->Add(nullptr, "first");
    TTreeNode* second = tree->Items()->Add(nullptr, "second");
    Application->ProcessMessages();
    TRect r = second->DisplayRect(true);
    inputkit::Click(tree, r.Left + 3, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(tree->Selected(), second);
    EXPECT_EQ(changes, 1);
}

} // namespace
