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

struct LazyCase {
    const char* Name;
    std::function<void(TComboBox*)> Set;
};
void PrintTo(const LazyCase& c, std::ostream* os) { *os << c.Name; }

// Everything the box and its widget answer, as text, so two boxes compare in one line.
std::string Answers(TComboBox* c) {
    std::string s = "index " + IntToStr(c->ItemIndex()) + " text '" + c->Text() + "' items";
    for (int i = 0; i < c->Items()->Count(); ++i)
        s += " " + c->Items()->Strings(i) + "/" + IntToStr(int(intptr_t(c->Items()->Objects(i))));
    s += " dropped " + IntToStr(c->DroppedDown());
    return s;
}

std::string WidgetState(TComboBox* c) {
    QComboBox* q = ClientWidget(c)->findChild<QComboBox*>();
    if (!q)
        return "no widget";
    std::string s = "count " + std::to_string(q->count()) + " current " + std::to_string(q->currentIndex()) +
                    " text '" + q->currentText().toStdString() + "' editable " +
                    std::to_string(q->isEditable());
    for (int i = 0; i < q->count(); ++i)
        s += " " + q->itemText(i).toStdString() + "/" + std::to_string(q->itemData(i).value<quintptr>());
    s += " rows " + std::to_string(q->maxVisibleItems()) + " minwidth " +
         std::to_string(q->view()->minimumWidth());
    s += " maxlength " + std::to_string(q->lineEdit() ? q->lineEdit()->maxLength() : -1);
    s += " font " + q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize()) + " " +
         std::to_string(q->font().bold());
    s += " base " + q->palette().color(QPalette::Base).name().toStdString() + " text " +
         q->palette().color(QPalette::Text).name().toStdString();
    QStyleOptionViewItem opt;
    s += " row height " + std::to_string(q->itemDelegate()->sizeHint(opt, q->model()->index(0, 0)).height());
    QWidget* h = HandleWidget(c);
    s += " enabled " + std::to_string(h->isEnabled()) + " visible " + std::to_string(h->isVisible()) +
         " at " + std::to_string(h->x()) + "," + std::to_string(h->y()) + " " + std::to_string(h->width()) +
         "x" + std::to_string(h->height());
    return s;
}

class LazyCombo : public ::testing::TestWithParam<LazyCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TComboBox* Box(bool early) {
        auto* c = new TComboBox(Form);
        if (early)
            c->WidgetNeeded();
        c->SetParent(Form);
        c->SetBounds(10, early ? 10 : 150, 150, 24);
        return c;
    }
    TForm* Form = nullptr;
};

TEST_P(LazyCombo, WhatIsSetBeforeTheWidgetComesOutAsOnABoxMadeAtOnce) {
    TComboBox* early = Box(true);
    TComboBox* late = Box(false);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    // The widget itself, but for the place the boxes were put at.
    std::string a = WidgetState(late), b = WidgetState(early);
    a = a.substr(0, a.rfind(" at "));
    b = b.substr(0, b.rfind(" at "));
    EXPECT_EQ(a, b);
}

const LazyCase kCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyCombo, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LazyCase>& i) {
                             return std::string(i.param.Name);
                         });

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

// ---- the single-line edit ------------------------------------------------------------------------

struct LazyEditCase {
    const char* Name;
    std::function<void(TEdit*)> Set;
};
void PrintTo(const LazyEditCase& c, std::ostream* os) { *os << c.Name; }

class LazyEdit : public ::testing::TestWithParam<LazyEditCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        // The first control takes the focus when the form shows; an edit entered would select its
        // text.
        auto* first = new TButton(Form);
        first->SetParent(Form);
        first->SetBounds(200, 10, 80, 24);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TEdit* Edit(bool early) {
        auto* e = new TEdit(Form);
        if (early)
            e->WidgetNeeded();
        e->OnChange = [this, e](TObject*) { ++Changes[e]; };
        e->SetParent(Form);
        e->SetBounds(10, early ? 10 : 150, 150, 24);
        return e;
    }
    // What the edit answers, with the changes it reported.
    std::string Answers(TEdit* e) {
        return "text '" + e->Text() + "' modified " + IntToStr(e->Modified()) + " readonly " +
               IntToStr(e->ReadOnly()) + " max " + IntToStr(e->MaxLength()) + " sel " +
               IntToStr(e->SelStart()) + "+" + IntToStr(e->SelLength()) + " undo " + IntToStr(e->CanUndo()) +
               " password " + IntToStr(e->PasswordChar()) + " changes " + IntToStr(Changes[e]) + " focus " +
               IntToStr(e->Focused());
    }
    TForm* Form = nullptr;
    std::map<TEdit*, int> Changes;
};

std::string LineState(TEdit* e) {
    QLineEdit* q = ClientWidget(e)->findChild<QLineEdit*>();
    if (!q)
        return "no widget";
    return "text '" + q->text().toStdString() + "' modified " + std::to_string(q->isModified()) +
           " readonly " + std::to_string(q->isReadOnly()) + " echo " + std::to_string(int(q->echoMode())) +
           " align " + std::to_string(int(q->alignment())) + " caret " + std::to_string(q->cursorPosition()) +
           " sel " + std::to_string(q->selectionStart()) + " '" + q->selectedText().toStdString() +
           "' undo " + std::to_string(q->isUndoAvailable()) + " frame " + std::to_string(q->hasFrame()) +
           " font " + q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize()) + " " +
           std::to_string(q->font().bold()) + " base " +
           q->palette().color(QPalette::Base).name().toStdString() + " text " +
           q->palette().color(QPalette::Text).name().toStdString() + " enabled " +
           std::to_string(HandleWidget(e)->isEnabled()) + " visible " + std::to_string(q->isVisible());
}

TEST_P(LazyEdit, WhatIsSetBeforeTheWidgetComesOutAsOnAnEditMadeAtOnce) {
    TEdit* late = Edit(false);
    TEdit* early = Edit(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(LineState(late), LineState(early));
}

const LazyEditCase kEditCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyEdit, ::testing::ValuesIn(kEditCases),
                         [](const ::testing::TestParamInfo<LazyEditCase>& i) {
                             return std::string(i.param.Name);
                         });

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

struct LazyPickerCase {
    const char* Name;
    std::function<void(TDateTimePicker*)> Set;
};
void PrintTo(const LazyPickerCase& c, std::ostream* os) { *os << c.Name; }

class LazyPicker : public ::testing::TestWithParam<LazyPickerCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TDateTimePicker* Picker(bool early) {
        auto* p = new TDateTimePicker(Form);
        if (early)
            p->WidgetNeeded();
        p->OnChange = [this, p](TObject*) { ++Changes[p]; };
        p->SetParent(Form);
        p->SetBounds(10, early ? 10 : 150, 200, 21);
        return p;
    }
    std::string Answers(TDateTimePicker* p) {
        return "value " + FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", p->DateTime()) + " checked " +
               IntToStr(p->Checked()) + " box " + IntToStr(p->ShowCheckbox()) + " changes " +
               IntToStr(Changes[p]);
    }
    TForm* Form = nullptr;
    std::map<TDateTimePicker*, int> Changes;
};

std::string PickerState(TDateTimePicker* p) {
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
           std::to_string(b->isChecked()) + " font " + e->font().family().toStdString() + " " +
           std::to_string(e->font().pixelSize()) + " base " +
           e->palette().color(QPalette::Base).name().toStdString() + " enabled " +
           std::to_string(HandleWidget(p)->isEnabled());
}

TEST_P(LazyPicker, WhatIsSetBeforeTheWidgetComesOutAsOnAPickerMadeAtOnce) {
    TDateTimePicker* late = Picker(false);
    TDateTimePicker* early = Picker(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(PickerState(late), PickerState(early));
}

const LazyPickerCase kPickerCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyPicker, ::testing::ValuesIn(kPickerCases),
                         [](const ::testing::TestParamInfo<LazyPickerCase>& i) {
                             return std::string(i.param.Name);
                         });

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

struct LazyListCase {
    const char* Name;
    std::function<void(TListBox*)> Set;
};
void PrintTo(const LazyListCase& c, std::ostream* os) { *os << c.Name; }

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

class LazyList : public ::testing::TestWithParam<LazyListCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        // The first control takes the focus when the form shows; a list entered gets a current row.
        auto* first = new TButton(Form);
        first->SetParent(Form);
        first->SetBounds(10, 200, 80, 24);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TListBox* List(bool early) {
        auto* l = new TListBox(Form);
        if (early)
            l->WidgetNeeded();
        l->OnClick = [this, l](TObject*) { ++Clicks[l]; };
        l->OnMeasureItem = [this, l](TWinControl*, int i, int& h) {
            ++Measured[l];
            h = 14 + i;
        };
        l->SetParent(Form);
        l->SetBounds(early ? 10 : 200, 10, 150, 120);
        return l;
    }
    std::string Answers(TListBox* l) {
        std::string s = "index " + IntToStr(l->ItemIndex()) + " selcount " + IntToStr(l->SelCount()) +
                        " caret " + IntToStr(int(l->Perform(LB_GETCARETINDEX, 0, 0))) + " items";
        for (int i = 0; i < l->Items()->Count(); ++i)
            s += " " + l->Items()->Strings(i) + "/" + IntToStr(int(intptr_t(l->Items()->Objects(i)))) +
                 (l->Selected(i) ? "*" : "");
        return s + " clicks " + IntToStr(Clicks[l]) + " measured " + IntToStr(Measured[l]);
    }
    TForm* Form = nullptr;
    std::map<TListBox*, int> Clicks, Measured;
};

std::string ListState(TListBox* l) {
    QListWidget* q = ClientWidget(l)->findChild<QListWidget*>();
    if (!q)
        return "no widget";
    std::string s = "count " + std::to_string(q->count()) + " current " + std::to_string(q->currentRow()) +
                    " mode " + std::to_string(int(q->selectionMode())) + " uniform " +
                    std::to_string(q->uniformItemSizes());
    for (int i = 0; i < q->count(); ++i)
        s += " " + q->item(i)->text().toStdString() + "/" +
             std::to_string(q->item(i)->data(Qt::UserRole).value<quintptr>()) +
             (q->item(i)->isSelected() ? "*" : "") + " h" +
             std::to_string(q->visualItemRect(q->item(i)).height());
    s += " font " + q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize()) +
         " base " + q->palette().color(QPalette::Base).name().toStdString() + " enabled " +
         std::to_string(HandleWidget(l)->isEnabled()) + " visible " + std::to_string(q->isVisible());
    return s;
}

TEST_P(LazyList, WhatIsSetBeforeTheWidgetComesOutAsOnAListMadeAtOnce) {
    TListBox* late = List(false);
    TListBox* early = List(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    Application->ProcessMessages();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(late->TopIndex(), early->TopIndex());
    EXPECT_EQ(ListState(late), ListState(early));
}

const LazyListCase kListCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyList, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<LazyListCase>& i) {
                             return std::string(i.param.Name);
                         });

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

struct LazyButtonCase {
    const char* Name;
    std::function<void(TButtons&)> Set;
};
void PrintTo(const LazyButtonCase& c, std::ostream* os) { *os << c.Name; }

class LazyButtons : public ::testing::TestWithParam<LazyButtonCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
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
    std::string Answers(const TButtons& b) {
        return "default " + IntToStr(b.Button->Default()) + " state " + IntToStr(int(b.Check->State())) +
               " radios " + IntToStr(b.Radio->Checked()) + IntToStr(b.Other->Checked()) + " clicks " +
               IntToStr(Clicks[b.Button]) + IntToStr(Clicks[b.Check]) + IntToStr(Clicks[b.Radio]) +
               IntToStr(Clicks[b.Other]) + " tabstops " + IntToStr(b.Radio->TabStop()) +
               IntToStr(b.Other->TabStop());
    }
    TForm* Form = nullptr;
    std::map<TControl*, int> Clicks;
};

std::string ButtonState(TNativeControl* c) {
    auto* q = ClientWidget(c)->findChild<QAbstractButton*>();
    if (!q)
        return "no widget";
    std::string s =
        std::string(q->metaObject()->className()) + " '" + q->text().toStdString() + "' checked " +
        std::to_string(q->isChecked()) + " direction " + std::to_string(int(q->layoutDirection())) +
        " size " + std::to_string(q->sizeHint().width()) + " font " + q->font().family().toStdString() + " " +
        std::to_string(q->font().pixelSize()) + " button " +
        q->palette().color(QPalette::Button).name().toStdString() + " enabled " +
        std::to_string(HandleWidget(c)->isEnabled()) + " visible " + std::to_string(q->isVisible());
    if (auto* p = qobject_cast<QPushButton*>(q))
        s += " default " + std::to_string(p->isDefault()) + " auto " + std::to_string(p->autoDefault());
    if (auto* b = qobject_cast<QCheckBox*>(q))
        s +=
            " tristate " + std::to_string(b->isTristate()) + " check " + std::to_string(int(b->checkState()));
    if (auto* r = qobject_cast<QRadioButton*>(q))
        s += " exclusive " + std::to_string(r->autoExclusive());
    return s;
}

TEST_P(LazyButtons, WhatIsSetBeforeTheWidgetsComeOutAsOnButtonsMadeAtOnce) {
    TButtons late = Make(false);
    TButtons early = Make(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late.Button->WidgetMade() && late.Check->WidgetMade() && late.Radio->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(ButtonState(late.Button), ButtonState(early.Button));
    EXPECT_EQ(ButtonState(late.Check), ButtonState(early.Check));
    EXPECT_EQ(ButtonState(late.Radio), ButtonState(early.Radio));
    EXPECT_EQ(ButtonState(late.Other), ButtonState(early.Other));
}

const LazyButtonCase kButtonCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyButtons, ::testing::ValuesIn(kButtonCases),
                         [](const ::testing::TestParamInfo<LazyButtonCase>& i) {
                             return std::string(i.param.Name);
                         });

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

struct LazyMemoCase {
    const char* Name;
    std::function<void(TMemo*)> Set;
};
void PrintTo(const LazyMemoCase& c, std::ostream* os) { *os << c.Name; }

class LazyMemo : public ::testing::TestWithParam<LazyMemoCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        auto* first = new TButton(Form);
        first->SetParent(Form);
        first->SetBounds(10, 250, 80, 24);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TMemo* Memo(bool early) {
        auto* m = new TMemo(Form);
        if (early)
            m->WidgetNeeded();
        m->OnChange = [this, m](TObject*) { ++Changes[m]; };
        m->SetParent(Form);
        m->SetBounds(early ? 10 : 200, 10, 180, 120);
        return m;
    }
    std::string Answers(TMemo* m) {
        std::string s = "text '" + m->Text() + "' lines " + IntToStr(m->Lines()->Count()) + " sel " +
                        IntToStr(m->SelStart()) + "+" + IntToStr(m->SelLength()) + " modified " +
                        IntToStr(m->Modified()) + " readonly " + IntToStr(m->ReadOnly()) + " undo " +
                        IntToStr(m->CanUndo()) + " changes " + IntToStr(Changes[m]);
        return s;
    }
    TForm* Form = nullptr;
    std::map<TMemo*, int> Changes;
};

std::string MemoState(TMemo* m) {
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
           std::to_string(int(q->document()->defaultTextOption().alignment())) + " font " +
           q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize()) + " base " +
           q->palette().color(QPalette::Base).name().toStdString() + " enabled " +
           std::to_string(HandleWidget(m)->isEnabled()) + " visible " + std::to_string(q->isVisible());
}

TEST_P(LazyMemo, WhatIsSetBeforeTheWidgetComesOutAsOnAMemoMadeAtOnce) {
    TMemo* late = Memo(false);
    TMemo* early = Memo(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(MemoState(late), MemoState(early));
}

const LazyMemoCase kMemoCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyMemo, ::testing::ValuesIn(kMemoCases),
                         [](const ::testing::TestParamInfo<LazyMemoCase>& i) {
                             return std::string(i.param.Name);
                         });

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

struct LazyTreeCase {
    const char* Name;
    std::function<void(TTreeView*)> Set;
};
void PrintTo(const LazyTreeCase& c, std::ostream* os) { *os << c.Name; }

class LazyTree : public ::testing::TestWithParam<LazyTreeCase> {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        auto* first = new TButton(Form);
        first->SetParent(Form);
        first->SetBounds(10, 250, 80, 24);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TTreeView* Tree(bool early) {
        auto* t = new TTreeView(Form);
        if (early)
            t->WidgetNeeded();
        t->OnChange = [this, t](TObject*, TTreeNode*) { ++Changes[t]; };
        t->SetParent(Form);
        t->SetBounds(early ? 10 : 200, 10, 180, 200);
        return t;
    }
    std::string Answers(TTreeView* t) {
        std::string s = "indent " + IntToStr(t->Indent()) + " count " + IntToStr(t->Items()->Count()) +
                        " selected " + (t->Selected() ? t->Selected()->Text() : std::string("-"));
        for (TTreeNode* n = t->Items()->GetFirstNode(); n; n = n->GetNext())
            s += " " + n->Text() + (n->Expanded() ? "+" : "");
        return s + " changes " + IntToStr(Changes[t]);
    }
    TForm* Form = nullptr;
    std::map<TTreeView*, int> Changes;
};

std::string TreeState(TTreeView* t) {
    QTreeWidget* q = ClientWidget(t)->findChild<QTreeWidget*>();
    if (!q)
        return "no widget";
    std::string s = "indent " + std::to_string(q->indentation()) + " decorated " +
                    std::to_string(q->rootIsDecorated()) + " expandable " +
                    std::to_string(q->itemsExpandable()) + " updates " + std::to_string(q->updatesEnabled()) +
                    " top " + std::to_string(q->topLevelItemCount()) + " current " +
                    (q->currentItem() ? q->currentItem()->text(0).toStdString() : std::string("-"));
    s += " font " + q->font().family().toStdString() + " " + std::to_string(q->font().pixelSize()) +
         " base " + q->palette().color(QPalette::Base).name().toStdString() + " enabled " +
         std::to_string(HandleWidget(t)->isEnabled()) + " visible " + std::to_string(q->isVisible());
    return s;
}

TEST_P(LazyTree, WhatIsSetBeforeTheWidgetComesOutAsOnATreeMadeAtOnce) {
    TTreeView* late = Tree(false);
    TTreeView* early = Tree(true);
    GetParam().Set(early);
    GetParam().Set(late);
    EXPECT_EQ(Answers(late), Answers(early));
    Form->Show();
    ASSERT_TRUE(late->WidgetMade());
    EXPECT_EQ(Answers(late), Answers(early));
    EXPECT_EQ(TreeState(late), TreeState(early));
}

const LazyTreeCase kTreeCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Sets, LazyTree, ::testing::ValuesIn(kTreeCases),
                         [](const ::testing::TestParamInfo<LazyTreeCase>& i) {
                             return std::string(i.param.Name);
                         });

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
