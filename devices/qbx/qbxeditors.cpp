// In-place editors of the device objects. Device layer.
#include "qbxeditors.h"

#include "extctrls.h"
#include "stdctrls.h"

namespace qbx {

namespace {

constexpr int kSmaller = 3; // points (and pixels of item height) below the defaults
constexpr int kBoxSize = 16;

// Hidden inside the host, with its own font three points smaller than the default.
void Place(TControl* c, TWinControl* host)
{
    c->SetVisible(false);
    c->SetParentFont(false);
    c->Font()->SetSize(c->Font()->Size() - kSmaller);
    c->SetParent(host);
}

} // namespace

TWinControl* MakeComboEditor(TWinControl* host, const std::vector<std::string>& items, const std::string& selected,
                             TNotifyEvent exitEvent, TNotifyEvent changeEvent)
{
    auto* combo = new TComboBox(host);
    Place(combo, host);
    combo->SetStyle(csDropDownList);
    combo->SetItemHeight(combo->ItemHeight() - kSmaller);
    int chosen = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        combo->Items()->Add(items[i]);
        if (chosen < 0 && items[i] == selected)
            chosen = static_cast<int>(i);
    }
    combo->SetItemIndex(chosen);
    combo->OnExit = std::move(exitEvent);
    combo->OnChange = std::move(changeEvent);
    return combo;
}

TWinControl* MakeEditEditor(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                            TNotifyEvent changeEvent)
{
    auto* edit = new TEdit(host);
    Place(edit, host);
    edit->SetText(text);
    edit->OnExit = std::move(exitEvent);
    edit->OnChange = std::move(changeEvent);
    return edit;
}

TWinControl* MakeButtonEditor(TWinControl* host, const std::string& caption, TNotifyEvent exitEvent,
                              TNotifyEvent clickEvent)
{
    auto* button = new TButton(host);
    Place(button, host);
    button->SetCaption(caption);
    button->OnExit = std::move(exitEvent);
    button->OnClick = std::move(clickEvent);
    return button;
}

TWinControl* MakeBitPanel(TWinControl* host, int count, unsigned bits, TNotifyEvent exitEvent,
                          TNotifyEvent clickEvent)
{
    auto* panel = new TPanel(host);
    Place(panel, host);
    panel->OnExit = std::move(exitEvent);
    for (int k = 0; k < count; ++k) {
        auto* box = new TCheckBox(panel);
        box->SetBounds(kBoxSize * k, 1, kBoxSize, kBoxSize);
        box->SetCaption("");
        box->Tag = k;
        box->SetChecked((bits >> k & 1) != 0);
        box->SetParent(panel);
        box->OnClick = clickEvent;
    }
    return panel;
}

std::string EditorText(TObject* sender)
{
    if (auto* combo = dynamic_cast<TComboBox*>(sender))
        return combo->Text();
    if (auto* edit = dynamic_cast<TEdit*>(sender))
        return edit->Text();
    return "";
}

int EditorItem(TObject* sender)
{
    auto* combo = dynamic_cast<TComboBox*>(sender);
    return combo ? combo->ItemIndex() : -1;
}

bool EditorCheck(TObject* sender, int& bit, bool& on)
{
    auto* box = dynamic_cast<TCheckBox*>(sender);
    if (!box)
        return false;
    bit = box->Tag;
    on = box->Checked();
    return true;
}

} // namespace qbx
