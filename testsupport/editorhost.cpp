// Test support: the host form of in-place editors and a user's typing into them.
#include "editorhost.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "forms.h"
#include "inputkit.h"
#include "stdctrls.h"

namespace testsupport {

EditorHost::EditorHost() : fForm(std::make_unique<TForm>(nullptr)) {
    fForm->SetBounds(0, 0, 300, 200);
    auto* other = new TEdit(fForm.get());
    other->SetParent(fForm.get());
    other->SetBounds(10, 100, 100, 21);
    fOther = other;
    fForm->Show();
}

EditorHost::~EditorHost() {
    fForm.reset();
    Application->ProcessMessages();
}

TWinControl* EditorHost::Host() const { return fForm.get(); }

void StartApplication() { Application->Initialize(); }

bool EditorHost::TypeAndEnd(TWinControl* editor, const std::string& text, End end) {
    return KeysAndEnd(
        editor,
        [&text](TWinControl* c) {
            // Every character of the opening text, the longest mode texts of a combo box too.
            const size_t opening = std::max<size_t>(24, c->Text().size());
            for (size_t k = 0; k < opening; ++k)
                inputkit::Press(c, inputkit::Key::Backspace);
            inputkit::Type(c, text);
        },
        end);
}

bool EditorHost::KeysAndEnd(TWinControl* editor, const std::function<void(TWinControl*)>& keys, End end) {
    if (!editor)
        return false;
    editor->SetBounds(10, 10, 150, 21);
    editor->SetVisible(true);
    editor->SetFocus();
    inputkit::Press(editor, inputkit::Key::End);
    keys(editor);
    switch (end) {
    case End::Enter:
        inputkit::Press(editor, inputkit::Key::Return);
        inputkit::Press(editor, inputkit::Key::Tab);
        break;
    case End::Tab: inputkit::Press(editor, inputkit::Key::Tab); break;
    case End::Click: inputkit::Click(fOther, 5, 5); break;
    }
    inputkit::ProcessEvents();
    EXPECT_TRUE(fOther->Focused()) << "the edit did not end";
    delete editor;
    return true;
}

} // namespace testsupport
