// The framing glue of the Gw edits (widget layer, edits): one template over any platform edit
// base (mask edit, memo, rich edit, hot-key box), on the framed-control base that holds the shared
// TGwFraming and its properties, answering the focus and frame hooks and handling the messages
// that move the state colours and the hot frame. The edits differ only in what they add on top.
#pragma once

#include "Gwframing.h"
#include "winapi.h"

template <class Base> class TGwFramed : public TGwFramedBase<Base> {
public:
    explicit TGwFramed(TComponent* AOwner) : TGwFramedBase<Base>(AOwner) {}

    // Turning the frame on asks for the 3-D border it paints over.
    void SetFrameVisible(bool Value) override {
        if (Value)
            this->SetCtl3D(true);
        FFraming.SetFrameVisible(Value);
    }
    // The colour the control shows when enabled, unfocused and not read-only.
    TColor NormalColor() const { return FFraming.NormalColor(); }

    void Loaded() override {
        Base::Loaded();
        FFraming.UpdateColors();
        UpdateFrame(false, false);
    }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    TGwFraming& Framing() { return FFraming; }
    const TGwFraming& Framing() const { return FFraming; }
    bool HasFocus() const { return FHasFocus; }
    bool MouseOver() const { return FFraming.MouseOver(); }
    virtual bool ReadOnlyValue() const { return false; }
    // Hot state: focus (ViaMouse false) or the mouse over the control.
    virtual void UpdateFrame(bool ViaMouse, bool In) {
        if (!ViaMouse)
            FHasFocus = In;
        FFraming.UpdateFrame(ViaMouse, In);
    }
    void RepaintFrame() {
        if (this->HandleAllocated())
            RedrawWindow(this->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
    }

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override { this->RecreateWnd(); }
    bool FramingFocused() const override { return FHasFocus; }
    bool FramingReadOnly() const override { return ReadOnlyValue(); }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        if (Operation == opRemove)
            FFraming.ControllerRemoved(AComponent);
    }
    void CMColorChanged(TMessage& Message) override {
        Base::CMColorChanged(Message);
        FFraming.ColorChanged();
    }
    void CMEnabledChanged(TMessage& Message) override {
        Base::CMEnabledChanged(Message);
        FFraming.UpdateColors();
        this->FramingButtonsChanged();
    }
    void CMMouseEnter(TMessage& Message) override {
        Base::CMMouseEnter(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        UpdateFrame(true, true);
    }
    void CMMouseLeave(TMessage& Message) override {
        Base::CMMouseLeave(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        UpdateFrame(true, false);
    }
    void CMEnter(TMessage& Message) override {
        UpdateFrame(false, true);
        Base::CMEnter(Message);
    }
    void CMExit(TMessage& Message) override {
        Base::CMExit(Message);
        UpdateFrame(false, false);
    }
    void WMSize(TWMSize& Message) override {
        Base::WMSize(Message);
        if (FFraming.DrawsFrame())
            RepaintFrame();
    }
    // The 3-D border's ring takes the control's colour and the frame is drawn over its outer edge.
    void WMNCPaint(TWMNCPaint& Message) override {
        Base::WMNCPaint(Message);
        if (!Message.DC || !FFraming.DrawsFrame())
            return;
        DrawBevel(Message.DC, TRect(0, 0, this->Width(), this->Height()), this->Color(), this->Color(), 2);
        FFraming.PaintFrame(Message.DC, this->Width(), this->Height(), TGwFrameRing::NoColorRing);
        Message.Result = 0;
    }

private:
    using TGwFramedBase<Base>::FFraming;
    bool FHasFocus = false;
};
