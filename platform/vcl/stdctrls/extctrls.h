// Extra controls of the GUI core, drawn by the layer with TCanvas: the panel (a windowed container
// with bevels, border and caption), the bevel, the image and the splitter.
#pragma once

#include <memory>

#include "controls.h"

enum TBevelStyle { bsLowered, bsRaised };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    // Drawn inside the outer bevel in the panel's colour (not a window border).
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool FullRepaint = true;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void CMTextChanged(TMessage& Message) override;

private:
    void Changed();
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// A bevelled box or line, drawn in the parent's colours.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// A picture shown as it is, centred, or stretched (keeping its proportions when asked).
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TBitmap* Picture() const { return FPicture.get(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    // Where the picture lands in the client area.
    TRect DestRect();

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TBitmap> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// A bar the user drags to resize the control aligned against it (on the splitter's own side).
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = std::max(1, v); }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool v);
    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The sibling the bar resizes: aligned on the same side and touching the bar.
    TControl* FindControl() const;
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FStartSize = 0;
    int FMinSize = 30;
    bool FBeveled = false;
};
