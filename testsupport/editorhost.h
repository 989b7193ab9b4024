// Test support: a shown form that hosts in-place editors, with a second control that takes the focus
// when an edit ends, and a user's typing into an editor made on it.
#pragma once

#include <functional>
#include <memory>
#include <string>

class TForm;
class TWinControl;

namespace testsupport {

class EditorHost {
public:
    EditorHost();
    ~EditorHost();
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    TWinControl* Host() const;

    // How the user ends the edit: Tab, Enter (the editor keeps the focus; the focus then leaves with
    // Tab), or a click on the other control.
    enum class End { Tab, Enter, Click };
    // Shows `editor` (made on Host()), focuses it, clears its text with Backspace and types `text`
    // key by key, ends the edit with `end` and deletes the editor. False, doing nothing, for no
    // editor.
    bool TypeAndEnd(TWinControl* editor, const std::string& text, End end = End::Tab);
    // The same with the user's own keys: shows and focuses `editor`, puts the caret at the end of its
    // text, runs `keys` on it, ends the edit with `end` and deletes the editor.
    bool KeysAndEnd(TWinControl* editor, const std::function<void(TWinControl*)>& keys, End end = End::Tab);

private:
    std::unique_ptr<TForm> fForm;
    TWinControl* fOther;
};

// Makes the application (once), as a program does before its first form.
void StartApplication();

// A fixture whose tests type into real editors: the application comes first, since it installs the
// dialog service over which the fixture then records messages.
template <class Base> class WithApplication : public Base {
protected:
    void SetUp() override {
        StartApplication();
        Base::SetUp();
    }
};

} // namespace testsupport
