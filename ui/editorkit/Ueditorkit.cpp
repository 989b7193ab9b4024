// The in-place editors over the GUI core. Program layer.
#include "Ueditorkit.h"

#include "Editorkit.h"

#include "extctrls.h"
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

TWinControl* MakeCombo(TWinControl* host, TEditorSpec& editorSpec) {
    auto* combo = new TComboBox(host);
    Place(combo, host);
    combo->SetItemHeight(combo->ItemHeight() - kSmaller);
    if (editorSpec.Kind == TEditorKind::Choice)
        combo->SetStyle(csDropDownList);
    int chosen = -1;
    for (size_t i = 0; i < editorSpec.Items.size(); ++i) {
        combo->Items()->Add(editorSpec.Items[i]);
        if (chosen < 0 && editorSpec.Items[i] == editorSpec.Text)
            chosen = static_cast<int>(i);
    }
    if (editorSpec.Kind == TEditorKind::Choice)
        combo->SetItemIndex(editorSpec.Index >= 0 ? editorSpec.Index : chosen);
    else
        combo->SetText(editorSpec.Text);
    combo->OnChange = std::move(editorSpec.Apply);
    return combo;
}

TWinControl* MakePanel(TWinControl* host, TEditorSpec& editorSpec) {
    auto* panel = new TPanel(host);
    Place(panel, host);
    for (int k = 0; k < editorSpec.Count; ++k) {
        auto* box = new TCheckBox(panel);
        box->SetBounds(kBoxSize * k, 1, kBoxSize, kBoxSize);
        box->SetCaption("");
        box->Tag = k;
        box->SetChecked((editorSpec.Bits >> k & 1) != 0);
        box->SetParent(panel);
        box->OnClick = editorSpec.Apply;
    }
    return panel;
}

TWinControl* Build(TWinControl* host, TEditorSpec editorSpec, TNotifyEvent exitEvent) {
    TWinControl* editor = nullptr;
    switch (editorSpec.Kind) {
    case TEditorKind::Edit: {
        auto* edit = new TEdit(host);
        Place(edit, host);
        edit->SetText(editorSpec.Text);
        edit->OnChange = std::move(editorSpec.Apply);
        editor = edit;
        break;
    }
    case TEditorKind::Choice:
    case TEditorKind::Combo: editor = MakeCombo(host, editorSpec); break;
    case TEditorKind::Button: {
        auto* button = new TButton(host);
        Place(button, host);
        button->SetCaption(editorSpec.Text);
        button->OnClick = std::move(editorSpec.Apply);
        editor = button;
        break;
    }
    case TEditorKind::BitPanel: editor = MakePanel(host, editorSpec); break;
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
