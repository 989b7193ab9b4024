// Common base of every device object. Device layer.
#include "deviceitem.h"

#include "Editorkit.h"

TDeviceItem::TDeviceItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TObjectItem(number), FChannels(channels), FStore(store) {}

TWinControl* TDeviceItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                               TNotifyEvent doneEvent) {
    BeginPropertyEdit(row, doneEvent);
    switch (PropertyRowEditor(row)) {
    case RowEditor::Base: return TObjectItem::CreatePropertyEditor(row, host, exitEvent, doneEvent);
    case RowEditor::Text: return RowEdit(row, host, exitEvent);
    case RowEditor::Count: return RowEdit(row, host, exitEvent, true);
    default: return nullptr;
    }
}

TDeviceItem::RowEditor TDeviceItem::PropertyRowEditor(int row) const {
    return row == 0 || row == 1 ? RowEditor::Base : RowEditor::None;
}

void TDeviceItem::ApplyMessageHandling(const std::string& text, uint16_t subprogram) {
    MessageHandler = text == "Да" ? subprogram : 0;
}

void TDeviceItem::ApplyPropertyEditor(TObject* sender) {
    ApplyPropertyValue(FPropertyRow, EditorText(sender));
    PropertyEdited(sender);
}

void TDeviceItem::ApplyPropertyValue(int, const std::string&) {}

void TDeviceItem::BeginPropertyEdit(int row, TNotifyEvent doneEvent) {
    FPropertyRow = row;
    FPropertyDone = std::move(doneEvent);
}

TWinControl* TDeviceItem::RowEdit(int row, TWinControl* host, TNotifyEvent exitEvent, bool atEnd) {
    TEditorDef editorDef{TEditorKind::Edit, "", {}, 0, 0, [this](TObject* s) { ApplyPropertyEditor(s); }};
    GetPropertyText(row, editorDef.Text);
    editorDef.ApplyAtEnd = atEnd;
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

TWinControl* TDeviceItem::RowChoice(int row, TWinControl* host, TNotifyEvent exitEvent,
                                    const std::vector<std::string>& items) {
    std::string text;
    GetPropertyText(row, text);
    return MakeChoice(host, items, text, std::move(exitEvent),
                      [this](TObject* s) { ApplyPropertyEditor(s); });
}

void TDeviceItem::PropertyEdited(TObject* sender) {
    // A copy: the closure may open the next editor, which replaces the remembered one.
    if (TNotifyEvent done = FPropertyDone)
        done(sender);
}

void TDeviceItem::BeginSetpointEdit(TParamItem* p, int n, TNotifyEvent doneEvent) {
    FSetpointParam = p;
    FSetpointRow = n;
    FSetpointDone = std::move(doneEvent);
}

void TDeviceItem::SetpointEdited(TObject* sender) {
    if (TNotifyEvent done = FSetpointDone)
        done(sender);
}
