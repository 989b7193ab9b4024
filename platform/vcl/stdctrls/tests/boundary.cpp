// What a handler throws when Qt calls it outside a window's message (a timer's tick, the idle and
// close-up signals, an owner-drawn or custom-drawn row, an owner-drawn menu item, the picker
// editor's input) ends in Application->HandleException, shown through the dialog service; the
// handler runs as a delivery of the one boundary, and the program goes on.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "boundary.h"
#include "comctrls.h"
#include "dialogs.h"
#include "forms.h"
#include "handle.h"
#include "inputkit.h"
#include "menus.h"
#include "screenkit.h"
#include "stdctrls.h"
#include "timers.h"

namespace {

// Records the message boxes instead of showing them.
class TRecordingDialogs : public TDialogService {
public:
    std::vector<std::string> Boxes;
    int MessageBox(const std::string& Text, const std::string&, UINT) override {
        Boxes.push_back(Text);
        return IDOK;
    }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrOk; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

class Boundary;

struct TBoundaryCase {
    const char* Name;
    // Gives a control or component of the form a handler that calls Throw, and makes Qt call it.
    std::function<void(Boundary&)> Run;
};

void PrintTo(const TBoundaryCase& c, std::ostream* os) { *os << c.Name; }

class Boundary : public ::testing::TestWithParam<TBoundaryCase> {
public:
    // The handlers' body: notes whether it runs as a delivery, then throws.
    void Throw() {
        ++Calls;
        InDelivery = InDelivery && TMessageBoundary::Depth() > 0;
        throw Exception("Сбой обработчика");
    }
    // Lets Qt run until done says so: a timer's tick and the idle signal come from its loop.
    static void RunUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 5000 && !done(); ++i) {
            inputkit::ProcessEvents();
            if (!done())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    TForm* Form = nullptr;
    int Calls = 0;
    bool InDelivery = true;

protected:
    void SetUp() override {
        TApplication::QtApp();
        FOld = SetDialogService(&Dialogs);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        delete Form;
        Application->ProcessMessages();
        SetDialogService(FOld);
    }

    TRecordingDialogs Dialogs;

private:
    TDialogService* FOld = nullptr;
};

TEST_P(Boundary, AThrowingHandlerIsShownAndTheProgramGoesOn) {
    GetParam().Run(*this);
    inputkit::ProcessEvents();
    ASSERT_GE(Calls, 1);
    EXPECT_TRUE(InDelivery) << "the handler ran outside the boundary";
    // Shown once per call, each with the handler's text.
    EXPECT_EQ(Dialogs.Boxes, std::vector<std::string>(size_t(Calls), "Сбой обработчика."));
    // The program goes on: the form still takes the user's input.
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(250, 250, 100, 21);
    Form->Show();
    edit->SetFocus();
    inputkit::Type(edit, "ok");
    EXPECT_EQ(edit->Text(), "ok");
}

void OnTimer(Boundary& f) {
    auto* timer = new TTimer(f.Form);
    timer->SetInterval(1);
    timer->OnTimer = [&f, timer](TObject*) {
        timer->SetEnabled(false);
        f.Throw();
    };
    Boundary::RunUntil([&] { return f.Calls > 0; });
}

void OnIdle(Boundary& f) {
    Application->OnIdle = [&f](TObject*, bool&) {
        if (f.Calls == 0)
            f.Throw();
    };
    // Idle follows events: the form's showing gives the loop some, whatever drained before.
    f.Form->Show();
    Boundary::RunUntil([&] { return f.Calls > 0; });
}

void ListDrawItem(Boundary& f) {
    auto* list = new TListBox(f.Form);
    list->SetParent(f.Form);
    list->SetBounds(10, 10, 150, 100);
    list->SetStyle(lbOwnerDrawFixed);
    list->Items()->Add("first");
    list->OnDrawItem = [&f](TWinControl*, int, TRect, TOwnerDrawState) { f.Throw(); };
    f.Form->Show();
    TBitmap picture;
    screenkit::Client(list, picture);
}

void ComboDrawField(Boundary& f) {
    auto* combo = new TComboBox(f.Form);
    combo->SetParent(f.Form);
    combo->SetBounds(10, 10, 150, 24);
    combo->SetStyle(csOwnerDrawFixed);
    combo->Items()->Add("first");
    combo->SetItemIndex(0);
    combo->OnDrawItem = [&f](TWinControl*, int, TRect, TOwnerDrawState) { f.Throw(); };
    f.Form->Show();
    TBitmap picture;
    screenkit::Native(combo, picture);
}

void TreeCustomDraw(Boundary& f) {
    auto* tree = new TTreeView(f.Form);
    tree->SetParent(f.Form);
    tree->SetBounds(10, 10, 150, 100);
    tree->Items()->Add(nullptr, "node");
    tree->OnCustomDrawItem = [&f](TCustomTreeView*, TTreeNode*, TCustomDrawState, bool&) { f.Throw(); };
    f.Form->Show();
    TBitmap picture;
    screenkit::Client(tree, picture);
}

// The item still gets the user's click after its measuring threw.
void MenuMeasureItem(Boundary& f) {
    auto* menu = new TPopupMenu(f.Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Открыть");
    menu->Items()->Add(item);
    menu->SetOwnerDraw(true);
    item->OnMeasureItem = [&f](TObject*, TCanvas*, int&, int&) { f.Throw(); };
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    f.Form->Show();
    inputkit::ChooseInNextMenu("Открыть");
    menu->Popup(20, 20);
    inputkit::ProcessEvents();
    EXPECT_EQ(clicks, 1);
}

// The list's close-up comes from a queued Qt signal, once the list has gone.
void ComboCloseUp(Boundary& f) {
    auto* combo = new TComboBox(f.Form);
    combo->SetParent(f.Form);
    combo->SetBounds(10, 10, 150, 24);
    combo->Items()->Add("first");
    combo->OnCloseUp = [&f](TObject*) { f.Throw(); };
    f.Form->Show();
    combo->SetDroppedDown(true);
    ASSERT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    inputkit::ProcessEvents();
}

// A press on the picker's arrow drops the calendar through the editor's own input.
void PickerDropDown(Boundary& f) {
    auto* picker = new TDateTimePicker(f.Form);
    picker->SetParent(f.Form);
    picker->SetBounds(10, 10, 200, 21);
    picker->OnDropDown = [&f](TObject*) { f.Throw(); };
    f.Form->Show();
    inputkit::Click(picker, picker->ClientWidth() - 6, picker->ClientHeight() / 2);
}

INSTANTIATE_TEST_SUITE_P(Callers, Boundary,
                         ::testing::Values(TBoundaryCase{"TimerTick", OnTimer},
                                           TBoundaryCase{"IdleSignal", OnIdle},
                                           TBoundaryCase{"ListOwnerDraw", ListDrawItem},
                                           TBoundaryCase{"ComboOwnerDraw", ComboDrawField},
                                           TBoundaryCase{"TreeCustomDraw", TreeCustomDraw},
                                           TBoundaryCase{"MenuMeasure", MenuMeasureItem},
                                           TBoundaryCase{"ComboCloseUpSignal", ComboCloseUp},
                                           TBoundaryCase{"PickerInput", PickerDropDown}),
                         [](const ::testing::TestParamInfo<TBoundaryCase>& i) {
                             return std::string(i.param.Name);
                         });

// The program's own run takes the same catch but is no delivery (windows freed in it may go at
// once); what escapes it is shown once and the run answers that it failed.
TEST(ProgramRun, IsGuardedWithoutBeingADelivery) {
    TApplication::QtApp();
    TRecordingDialogs dialogs;
    TDialogService* old = SetDialogService(&dialogs);
    int depth = -1;
    EXPECT_TRUE(RunGuarded(Application, [&] { depth = TMessageBoundary::Depth(); }));
    EXPECT_FALSE(RunGuarded(Application, [] { throw Exception("Сбой запуска"); }));
    SetDialogService(old);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(dialogs.Boxes, std::vector<std::string>{"Сбой запуска."});
}

} // namespace
