// The input kit: typed text, named keys, clicks, double clicks, drags and the wheel reach controls
// through their message path, on a shown form and on a graphic control.
#include <gtest/gtest.h>

#include <vector>

#include "editorhost.h"
#include "extctrls.h"
#include "forms.h"
#include "inputkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

class InputKit : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 22);
        Panel = new TPanel(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(10, 50, 200, 100);
        Box = new TImage(Form);
        Box->SetParent(Panel);
        Box->SetBounds(100, 10, 50, 50);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TPanel* Panel = nullptr;
    TImage* Box = nullptr;
};

TEST_F(InputKit, TypedTextAndEditingKeysReachAnEdit) {
    Type(Edit, "Канал 1");
    Press(Edit, Key::Backspace);
    Press(Edit, Key::Home);
    Press(Edit, Key::Delete);
    EXPECT_EQ(Edit->Text(), "анал ");
}

// An editor opening on a text longer than a number ("Выполнять при каждом сеансе") is cleared whole
// before the new text is typed.
TEST(EditorHostTyping, ClearsALongOpeningTextWholeBeforeTyping) {
    Application->Initialize();
    testsupport::EditorHost host;
    auto* editor = new TEdit(host.Host());
    editor->SetParent(host.Host());
    editor->SetText("Выполнять при каждом сеансе: 0 s");
    std::string last;
    editor->OnChange = [&](TObject*) { last = editor->Text(); };
    ASSERT_TRUE(host.TypeAndEnd(editor, "5", testsupport::EditorHost::End::Enter));
    EXPECT_EQ(last, "5");
}

TEST_F(InputKit, KeysArriveAsKeyDownCharAndKeyUp) {
    std::vector<std::string> log;
    Edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState s) {
        log.push_back("down " + std::to_string(k) + (s.Contains(ssCtrl) ? " ctrl" : ""));
    };
    Edit->OnKeyPress = [&](TObject*, char& c) { log.push_back("char " + std::to_string(int(c))); };
    Edit->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { log.push_back("up " + std::to_string(k)); };
    Press(Edit, 'Q');
    Press(Edit, 'A', Ctrl);
    EXPECT_EQ(log,
              (std::vector<std::string>{"down 81", "char 113", "up 81", "down 65 ctrl", "char 1", "up 65"}));
}

TEST_F(InputKit, ClicksDoubleClicksDragsAndTheWheelReachWindowedAndGraphicControls) {
    std::vector<std::string> log;
    auto down = [&](const char* who) {
        return [&log, who](TObject*, TMouseButton b, TShiftState, int x, int y) {
            log.push_back(std::string(who) + " down " + std::to_string(int(b)) + " " + std::to_string(x) +
                          "," + std::to_string(y));
        };
    };
    Panel->OnMouseDown = down("panel");
    Box->OnMouseDown = down("box");
    Panel->OnDblClick = [&](TObject*) { log.push_back("panel dbl"); };
    Box->OnMouseMove = [&](TObject*, TShiftState s, int x, int y) {
        log.push_back("box move " + std::to_string(x) + "," + std::to_string(y) +
                      (s.Contains(ssLeft) ? " left" : ""));
    };
    Panel->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        log.push_back("panel wheel " + std::to_string(delta));
        handled = true;
    };
    Click(Panel, 5, 6);
    Click(Panel, 7, 8, Right);
    Click(Box, 3, 4);
    DoubleClick(Panel, 20, 20);
    Drag(Box, 10, 10, 20, 30);
    Wheel(Panel, 5, 5, -1);
    // As on the desktop: the pointer's arrival at a new place moves it there before the press, and
    // the second press of a double click is the double click, then a press.
    EXPECT_EQ(log,
              (std::vector<std::string>{"panel down 0 5,6", "panel down 1 7,8", "box move 3,4",
                                        "box down 0 3,4", "panel down 0 20,20", "panel dbl",
                                        "panel down 0 20,20", "box move 10,10", "box down 0 10,10",
                                        "box move 15,20 left", "box move 20,30 left", "panel wheel -120"}));
}

TEST(InputKitText, KeysMakeTheTextTheDesktopGives) {
    struct Case {
        int key;
        TMods mods;
        std::string text;
    } cases[] = {{'A', None, "a"},
                 {'A', Shift, "A"},
                 {'A', Ctrl, "\x01"},
                 {'5', Keypad, "5"},
                 {'+', Keypad, "+"},
                 {Key::Enter, Keypad, "\r"},
                 {Key::Escape, None, "\x1b"},
                 {Key::F(5), None, ""},
                 {0x0416, None, "ж"},
                 {'3', Ctrl, "\x1b"},
                 {'8', Ctrl, "\x7f"},
                 {'2', Ctrl, std::string(1, '\0')},
                 {'0', Ctrl, "0"},
                 {'9', Ctrl | Keypad, "9"}};
    for (const Case& c : cases)
        EXPECT_EQ(KeyText(c.key, c.mods), c.text) << "key " << c.key << " mods " << c.mods;
}

} // namespace
