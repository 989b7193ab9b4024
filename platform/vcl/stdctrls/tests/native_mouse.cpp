// A user's clicks on the wrapped controls: wherever the Qt widget takes the mouse itself (a scroll
// view's viewport, a composite widget's field), the click comes through the control's message path
// and the widget still does its part.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "comctrls.h"
#include "forms.h"
#include "inputkit.h"
#include "listview.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

struct WrappedCase {
    const char* Name;
    std::function<TControl*(TForm*)> Make;
    // What the widget's own handling of the click did, checked after it.
    std::function<bool(TControl*)> Reacted;
};

void PrintTo(const WrappedCase& c, std::ostream* os) { *os << c.Name; }

template <class T> T* Place(TForm* f) {
    auto* c = new T(f);
    c->SetParent(f);
    c->SetBounds(10, 10, 200, 120);
    return c;
}

TListBox* MakeList(TForm* f) {
    auto* l = Place<TListBox>(f);
    for (const char* s : {"alpha", "beta", "gamma"})
        l->Items()->Add(s);
    return l;
}

TMemo* MakeMemo(TForm* f) {
    auto* m = Place<TMemo>(f);
    m->SetText("first line\r\nsecond line");
    return m;
}

TListView* MakeListView(TForm* f) {
    auto* l = Place<TListView>(f);
    l->SetViewStyle(vsList);
    for (const char* s : {"alpha", "beta", "gamma"})
        l->Items()->Add()->SetCaption(s);
    return l;
}

TTreeView* MakeTree(TForm* f) {
    auto* t = Place<TTreeView>(f);
    for (const char* s : {"alpha", "beta", "gamma"})
        t->Items()->Add(nullptr, s);
    return t;
}

TComboBox* MakeCombo(TForm* f) {
    auto* c = Place<TComboBox>(f);
    c->SetHeight(21);
    c->SetText("typed");
    return c;
}

const WrappedCase kWrapped[] = {
    {"ListBox", [](TForm* f) { return MakeList(f); },
     [](TControl* c) { return static_cast<TListBox*>(c)->ItemIndex() >= 0; }},
    {"Memo", [](TForm* f) { return MakeMemo(f); },
     [](TControl* c) { return static_cast<TMemo*>(c)->SelStart() > 0; }},
    {"RichEdit", [](TForm* f) { return Place<TRichEdit>(f); }, nullptr},
    {"ListView", [](TForm* f) { return MakeListView(f); },
     [](TControl* c) { return static_cast<TListView*>(c)->Selected() != nullptr; }},
    {"TreeView", [](TForm* f) { return MakeTree(f); },
     [](TControl* c) { return static_cast<TTreeView*>(c)->Selected() != nullptr; }},
    {"ComboBoxEdit", [](TForm* f) { return MakeCombo(f); }, nullptr},
    {"DateTimePicker", [](TForm* f) { return Place<TDateTimePicker>(f); }, nullptr},
    {"MonthCalendar", [](TForm* f) { return Place<TMonthCalendar>(f); }, nullptr},
    {"Edit", [](TForm* f) { return Place<TEdit>(f); }, nullptr},
};

class WrappedMouse : public ::testing::TestWithParam<WrappedCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 320, 200);
        Control = GetParam().Make(Form);
        Control->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            Log.push_back("down " + std::to_string(int(b)) + " " + std::to_string(x) + "," +
                          std::to_string(y));
        };
        Control->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            Log.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TControl* Control = nullptr;
    std::vector<std::string> Log;
};

TEST_P(WrappedMouse, AClickComesThroughTheMessagePath) {
    const int x = 12, y = Control->Height() > 30 ? 12 : Control->Height() / 2 - 2;
    Click(Control, x, y);
    const std::string at = std::to_string(x) + "," + std::to_string(y);
    EXPECT_EQ(Log, (std::vector<std::string>{"down 0 " + at, "up 0 " + at}));
    if (GetParam().Reacted) {
        EXPECT_TRUE(GetParam().Reacted(Control)) << "the widget's own handling of the click";
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, WrappedMouse, ::testing::ValuesIn(kWrapped),
                         [](const ::testing::TestParamInfo<WrappedCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
