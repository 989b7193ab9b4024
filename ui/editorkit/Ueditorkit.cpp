// The in-place editors over the GUI core. Program layer.
#include "Ueditorkit.h"

#include "Editorkit.h"

#include <utility>

#include "extctrls.h"
#include "messages.h"
#include "msgbox.h"
#include "stdctrls.h"

namespace {

constexpr int kSmaller = 3; // points (and pixels of item height) below the host's
constexpr int kBoxSize = 16;

// Hidden inside the host, with a font of its own three points smaller than the host's.
void Place(TControl* c, TWinControl* host) {
    c->SetVisible(false);
    c->SetParentFont(false);
    c->Font()->SetSize(host->Font()->Size() - kSmaller);
    c->SetParent(host);
}

// A typed editor (an edit box, a combobox one may type into): each change is stored at once by the
// TEditorDef's Apply; a change the model refuses stores nothing and shows nothing while the user types.
// When the edit ends (Enter, the focus leaving) on a refused change, the text the editor opened with
// is applied again and the refusal is shown once. An editor freed, or put back by the model, before
// the user ends its edit puts the opening text back without a message. One that applies at the end
// stores nothing while the user types: its edit's end applies the text once, under the same rules.
template <class TEditor> class TTypedEditor : public TEditor {
public:
    explicit TTypedEditor(TWinControl* host) : TEditor(host) {}
    ~TTypedEditor() override { End(false); }
    TTypedEditor(const TTypedEditor&) = delete;
    TTypedEditor& operator=(const TTypedEditor&) = delete;

    // Takes the editor's opening text and handlers; `exitEvent` runs after the edit ends.
    void Bind(TEditorDef& editorDef, TNotifyEvent exitEvent) {
        fOpened = editorDef.Text;
        fApply = std::move(editorDef.Apply);
        fRevert = std::move(editorDef.Revert);
        fAtEnd = editorDef.ApplyAtEnd;
        this->OnChange = [this](TObject* sender) { Changed(sender); };
        this->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            if (key == VK_RETURN)
                End(true);
        };
        this->OnExit = [this, exitEvent = std::move(exitEvent)](TObject* sender) {
            End(true);
            if (exitEvent)
                exitEvent(sender);
        };
    }

private:
    // Runs the editor's Apply with refusals held; returns the first.
    std::string Run(TObject* sender) {
        std::string refusal;
        TRefusalCatcher previous = SetRefusalCatcher([&refusal](const std::string& text) {
            if (refusal.empty())
                refusal = text;
        });
        struct Restore {
            TRefusalCatcher& previous;
            ~Restore() { SetRefusalCatcher(std::move(previous)); }
        } restore{previous};
        if (fApply)
            fApply(sender);
        return refusal;
    }

    void Changed(TObject* sender) {
        // A combobox tells of the put-back text only later, when it matches an item: that text is
        // what the model already holds again, exactly (a Revert may hold more than the text says).
        if (std::exchange(fPutBack, false) && this->Text() == fOpened)
            return;
        if (fAtEnd) {
            fPending = true;
            return;
        }
        fRefusal = Run(sender);
        if (fRefusal.empty())
            HoldRefusedEdit(this, nullptr);
        else
            HoldRefusedEdit(this, [this] { End(false); });
    }

    // A text typed for the end is applied first, when the user ends the edit. After a refused change
    // the opening text is put back (with the change event off) and applied; `show`: the user ended
    // the edit, and the refusal is shown then.
    void End(bool show) {
        HoldRefusedEdit(this, nullptr);
        if (std::exchange(fPending, false) && show)
            fRefusal = Run(this);
        if (fRefusal.empty())
            return;
        const std::string refusal = std::exchange(fRefusal, std::string());
        TNotifyEvent change = std::exchange(this->OnChange, nullptr);
        this->SetText(fOpened);
        this->OnChange = std::move(change);
        if (fRevert)
            fRevert(this);
        else
            Run(this);
        fPutBack = true;
        if (show)
            ShowMessageBoxText(refusal.c_str(), "Ошибка", MB_OK | MB_ICONERROR);
    }

    std::string fOpened;
    TNotifyEvent fApply;
    TNotifyEvent fRevert;
    std::string fRefusal; // of the last change; empty when it was stored
    bool fAtEnd = false;
    bool fPending = false; // typed since the last apply, when applied at the end
    bool fPutBack = false; // the opening text was put back, and nothing typed since
};

TWinControl* MakeCombo(TWinControl* host, TEditorDef& editorDef, TNotifyEvent& exitEvent) {
    const bool typed = editorDef.Kind == TEditorKind::Combo;
    TComboBox* combo = typed ? new TTypedEditor<TComboBox>(host) : new TComboBox(host);
    Place(combo, host);
    combo->SetItemHeight(combo->ItemHeight() - kSmaller);
    if (editorDef.Kind == TEditorKind::Choice)
        combo->SetStyle(csDropDownList);
    int chosen = -1;
    for (size_t i = 0; i < editorDef.Items.size(); ++i) {
        combo->Items()->Add(editorDef.Items[i]);
        if (chosen < 0 && editorDef.Items[i] == editorDef.Text)
            chosen = static_cast<int>(i);
    }
    if (editorDef.Kind == TEditorKind::Choice) {
        // A choice is complete at once: a refusal shows as it comes.
        combo->SetItemIndex(editorDef.Index >= 0 ? editorDef.Index : chosen);
        combo->OnChange = std::move(editorDef.Apply);
        combo->OnExit = std::move(exitEvent);
    } else {
        combo->SetText(editorDef.Text);
        static_cast<TTypedEditor<TComboBox>*>(combo)->Bind(editorDef, std::move(exitEvent));
    }
    return combo;
}

TWinControl* MakePanel(TWinControl* host, TEditorDef& editorDef) {
    auto* panel = new TPanel(host);
    Place(panel, host);
    for (int k = 0; k < editorDef.Count; ++k) {
        auto* box = new TCheckBox(panel);
        box->SetBounds(kBoxSize * k, 1, kBoxSize, kBoxSize);
        box->SetCaption("");
        box->Tag = k;
        box->SetChecked((editorDef.Bits >> k & 1) != 0);
        box->SetParent(panel);
        box->OnClick = editorDef.Apply;
    }
    return panel;
}

TWinControl* Build(TWinControl* host, TEditorDef editorDef, TNotifyEvent exitEvent) {
    TWinControl* editor = nullptr;
    switch (editorDef.Kind) {
    case TEditorKind::Edit: {
        auto* edit = new TTypedEditor<TEdit>(host);
        Place(edit, host);
        edit->SetText(editorDef.Text);
        edit->Bind(editorDef, std::move(exitEvent));
        return edit;
    }
    case TEditorKind::Choice:
    case TEditorKind::Combo: return MakeCombo(host, editorDef, exitEvent);
    case TEditorKind::Button: {
        auto* button = new TButton(host);
        Place(button, host);
        button->SetCaption(editorDef.Text);
        button->OnClick = std::move(editorDef.Apply);
        editor = button;
        break;
    }
    case TEditorKind::BitPanel: editor = MakePanel(host, editorDef); break;
    }
    editor->OnExit = std::move(exitEvent);
    return editor;
}

std::string Text(TObject* sender) {
    if (auto* combo = dynamic_cast<TComboBox*>(sender))
        return combo->Text();
    if (auto* edit = dynamic_cast<TEdit*>(sender))
        return edit->Text();
    return "";
}

int Item(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    return combo ? combo->ItemIndex() : -1;
}

bool Check(TObject* sender, int& bit, bool& on) {
    auto* box = dynamic_cast<TCheckBox*>(sender);
    if (!box)
        return false;
    bit = box->Tag;
    on = box->Checked();
    return true;
}

} // namespace

void InstallEditorKit() {
    SetEditorKit({Build, Text, Item, Check, [](TWinControl* host) { return host->OnExit; }});
}
