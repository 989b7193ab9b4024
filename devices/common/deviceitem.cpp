// Common base of every device object. Device layer.
#include "deviceitem.h"

#include "Editorkit.h"

TDeviceItem::TDeviceItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TObjectItem(number), m_channels(channels), m_store(store) {}

TWinControl* TDeviceItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                               TNotifyEvent doneEvent) {
    BeginPropertyEdit(row, doneEvent);
    switch (PropertyRowEditor(row)) {
    case RowEditor::Base: return TObjectItem::CreatePropertyEditor(row, host, exitEvent, doneEvent);
    case RowEditor::Text: return RowEdit(row, host, exitEvent);
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
    ApplyPropertyValue(m_propertyRow, EditorText(sender));
    PropertyEdited(sender);
}

void TDeviceItem::ApplyPropertyValue(int, const std::string&) {}

void TDeviceItem::BeginPropertyEdit(int row, TNotifyEvent doneEvent) {
    m_propertyRow = row;
    m_propertyDone = std::move(doneEvent);
}

TWinControl* TDeviceItem::RowEdit(int row, TWinControl* host, TNotifyEvent exitEvent) {
    std::string text;
    GetPropertyText(row, text);
    return MakeEditEditor(host, text, std::move(exitEvent), [this](TObject* s) { ApplyPropertyEditor(s); });
}

TWinControl* TDeviceItem::RowChoice(int row, TWinControl* host, TNotifyEvent exitEvent,
                                    const std::vector<std::string>& items) {
    std::string text;
    GetPropertyText(row, text);
    return MakeComboEditor(host, items, text, std::move(exitEvent),
                           [this](TObject* s) { ApplyPropertyEditor(s); });
}

void TDeviceItem::PropertyEdited(TObject* sender) {
    // A copy: the closure may open the next editor, which replaces the remembered one.
    if (TNotifyEvent done = m_propertyDone)
        done(sender);
}

void TDeviceItem::BeginSetpointEdit(TParamItem* p, int n, TNotifyEvent doneEvent) {
    m_setpointParam = p;
    m_setpointRow = n;
    m_setpointDone = std::move(doneEvent);
}

void TDeviceItem::SetpointEdited(TObject* sender) {
    if (TNotifyEvent done = m_setpointDone)
        done(sender);
}
