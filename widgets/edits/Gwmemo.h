// The Gw memo and rich edit (widget layer, edits): framed multi-line edits with the custom edit's
// state colours and frame, caret line and column, Enter as Tab. Apart from Gwedit.h because the
// rich edit's header brings the common controls in.
#pragma once

#include <functional>

#include "Gwframed.h"
#include "comctrls.h"

// ---- Memo and rich edit --------------------------------------------------------------------------

using TLineColChangeEvent = std::function<void(TObject* Sender, int Line, int Column)>;
using TClipboardChangeEvent = std::function<void(TObject* Sender, bool HasSelection, bool HasText)>;

// The multi-line framed edits: state colours and frame as the custom edit, caret line and column
// (1-based) with their change events, Enter as Tab, and wheel scrolling by the system's lines.
template <class Base> class TGwMultiLine : public TGwFramed<Base> {
public:
    explicit TGwMultiLine(TComponent* AOwner) : TGwFramed<Base>(AOwner) {}
    bool TabOnEnter = false;
    TColor ReadOnlyColor() const { return this->Framing().ReadOnlyColor(); }
    void SetReadOnlyColor(TColor Value) { this->Framing().SetReadOnlyColor(Value); }
    bool ReadOnlyColorOnFocus() const { return this->Framing().ReadOnlyColorOnFocus(); }
    void SetReadOnlyColorOnFocus(bool Value) { this->Framing().SetReadOnlyColorOnFocus(Value); }
    void SetReadOnly(bool Value);
    int Line();
    void SetLine(int Value);
    int Column();
    void SetColumn(int Value);
    void JumpTo(int ALine, int AColumn);

    TLineColChangeEvent OnLineColChange;
    TClipboardChangeEvent OnClipboardChange;

protected:
    bool ReadOnlyValue() const override { return this->ReadOnly(); }
    // The caret's character position and line (0-based).
    virtual int CaretLine();
    virtual void LineColChange();
    virtual void ClipboardChange();
    void CreateWnd() override;
    void Change() override;
    void Click() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Dispatch(TMessage& Message) override;
};

extern template class TGwMultiLine<TCustomMemo>;
extern template class TGwMultiLine<TCustomRichEdit>;

class TGwMemo : public TGwMultiLine<TCustomMemo> {
public:
    explicit TGwMemo(TComponent* AOwner) : TGwMultiLine(AOwner) {}
};

class TGwRichEdit : public TGwMultiLine<TCustomRichEdit> {
public:
    explicit TGwRichEdit(TComponent* AOwner) : TGwMultiLine(AOwner) {}
    // The text as rich text.
    std::string RtfData() const;

protected:
    // Disabling leaves the focus and only marks the window disabled.
    void CMEnabledChanged(TMessage& Message) override;
};
