// What an OnShowHint or CM_HINTSHOW handler throws when the hint's pause ends (a tick of Qt's loop,
// outside any message) is shown once through the dialog service, and the next hint still shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_support.h"
#include "dialogs.h"
#include "forms.h"
#include "inputkit.h"
#include "messages.h"

namespace {

struct THintThrowCase {
    const char* Name;
    bool FromMessage; // the control's CM_HINTSHOW throws, else the application's OnShowHint
};
void PrintTo(const THintThrowCase& c, std::ostream* os) { *os << c.Name; }

class HintBoundary : public ::testing::TestWithParam<THintThrowCase> {
protected:
    void SetUp() override {
        TApplication::QtApp();
        FOld = SetDialogService(&Dialogs);
        FPause = Application->HintPause();
        Application->SetHintPause(0);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->SetHint("Подсказка");
        Form->SetShowHint(true);
        auto old = Form->WindowProc;
        Form->WindowProc = [this, old](TMessage& m) {
            if (m.Msg == CM_HINTSHOW) {
                ++Asked;
                if (Throwing && GetParam().FromMessage)
                    throw Exception("Сбой подсказки");
            }
            old(m);
        };
        Application->OnShowHint = [this](std::string&, bool&, THintInfo&) {
            ++Shown;
            if (Throwing && !GetParam().FromMessage)
                throw Exception("Сбой подсказки");
        };
        Form->Show();
    }
    void TearDown() override {
        Application->OnShowHint = nullptr;
        Application->HideHint();
        delete Form;
        Application->ProcessMessages();
        Application->SetHintPause(FPause);
        SetDialogService(FOld);
    }

    TFakeDialogs Dialogs;
    // The texts of the message boxes shown, oldest first.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const TFakeDialogs::Call& c : Dialogs.Calls)
            if (c.Kind == "box")
                texts.push_back(c.Text);
        return texts;
    }
    TForm* Form = nullptr;
    bool Throwing = true;
    int Shown = 0; // OnShowHint calls
    int Asked = 0; // CM_HINTSHOW messages

private:
    TDialogService* FOld = nullptr;
    int FPause = 0;
};

TEST_P(HintBoundary, AThrowingHintHandlerIsShownOnceAndTheNextHintShows) {
    inputkit::MouseMove(Form, 40, 40);
    inputkit::ProcessEvents();
    ASSERT_EQ(Shown, 1) << "the pause ended";
    EXPECT_EQ(Asked, GetParam().FromMessage ? 1 : 0);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Сбой подсказки."});
    // The program goes on: the hint asked for again comes through both handlers.
    Throwing = false;
    Application->CancelHint();
    inputkit::ProcessEvents();
    EXPECT_EQ(Shown, 2);
    EXPECT_EQ(Asked, GetParam().FromMessage ? 2 : 1);
    EXPECT_EQ(Boxes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Handlers, HintBoundary,
                         ::testing::Values(THintThrowCase{"OnShowHint", false},
                                           THintThrowCase{"HintShowMessage", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
