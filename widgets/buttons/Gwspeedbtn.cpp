// The toolbar speed buttons (hot glyph, hideable caption, drop-down menu) and the action links of
// the toolbar buttons.
#include "Gwbutton.h"
#include "menus.h"
#include "sysinfo.h"

// ---------------------------------------------------------------- TGwToolbarButton

TGwToolbarButton::TGwToolbarButton(TComponent* AOwner)
    : TSpeedButton(AOwner), FHotGlyph(std::make_unique<TBitmap>()), FSavedGlyph(std::make_unique<TBitmap>()) {
    SetFlat(true);
    FHotGlyph->OnChange = [this](TObject*) { HotGlyphChanged(); };
}

TGwToolbarButton::~TGwToolbarButton() { FHotGlyph->OnChange = nullptr; }

void TGwToolbarButton::SetHotGlyph(TBitmap* Value) {
    if (Value)
        FHotGlyph->Assign(Value);
    else
        FHotGlyph->SetSize(0, 0);
    HotGlyphChanged();
    UseHotGlyph = true;
}

void TGwToolbarButton::HotGlyphChanged() {
    const int h = FHotGlyph->Height(), w = FHotGlyph->Width();
    if (h != 0 && w % h == 0) {
        FHotNumGlyphs = w / h;
        if (FHotNumGlyphs > 4)
            FHotNumGlyphs = 1;
    }
    Invalidate();
}

void TGwToolbarButton::SetHotNumGlyphs(int Value) {
    FHotNumGlyphs = Value;
    Invalidate();
}

void TGwToolbarButton::SetCaption(const std::string& Value) {
    // A caption set while hidden waits for the caption to show.
    if (FShowCaption)
        TSpeedButton::SetCaption(Value);
    else
        FSaveCaption = Value;
}

void TGwToolbarButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value)
        return;
    FShowCaption = Value;
    if (Value) {
        TSpeedButton::SetCaption(FSaveCaption);
    } else {
        FSaveCaption = Caption();
        TSpeedButton::SetCaption("");
    }
    Invalidate();
}

void TGwToolbarButton::CMMouseEnter(TMessage& Message) {
    FMouseInside = true;
    TSpeedButton::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (!UseHotGlyph || !Enabled())
        return;
    if (FHotGlyphShown) {
        FHotGlyphShown = false;
    } else {
        FHotGlyphShown = true;
        FSavedGlyph->Assign(Glyph());
        FSavedNumGlyphs = std::uint8_t(NumGlyphs());
        SetGlyph(FHotGlyph.get());
        SetNumGlyphs(FHotNumGlyphs);
    }
    Repaint();
}

void TGwToolbarButton::CMMouseLeave(TMessage& Message) {
    TSpeedButton::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    FMouseInside = false;
    if (!UseHotGlyph || !Enabled())
        return;
    if (FSavedNumGlyphs != 0) {
        SetGlyph(FSavedGlyph.get());
        SetNumGlyphs(FSavedNumGlyphs);
    }
    FHotGlyphShown = false;
    Repaint();
}

void TGwToolbarButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (UseHotGlyph)
        FHotGlyphShown = true;
}

void TGwToolbarButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    const std::string caption = Caption();
    TSpeedButton::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a)
        return;
    TCustomImageList* list = a->ActionList() ? a->ActionList()->Images() : nullptr;
    if (list && a->ImageIndex() >= 0 && a->ImageIndex() < list->Count()) {
        TBitmap image;
        image.SetSize(list->Width(), list->Height());
        image.Canvas()->Brush()->SetColor(clFuchsia);
        image.Canvas()->FillRect(TRect(0, 0, list->Width(), list->Height()));
        list->Draw(image.Canvas(), 0, 0, a->ImageIndex());
        SetGlyph(&image);
    }
    if (IgnoreActionCaption)
        TSpeedButton::SetCaption(caption);
    if (!CheckDefaults || !Down())
        SetDown(a->Checked());
}

TControlActionLink* TGwToolbarButton::CreateActionLink() { return new TGwToolbarButtonActionLink(this); }

void TGwToolbarButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(WORD(Message.WParam), Caption()) && Enabled() && Visible() &&
        Parent() && Parent()->Showing()) {
        if (GroupIndex() > 0) {
            SetDown(!Down());
            if (Down())
                Repaint();
        }
        Click();
        Message.Result = 1;
        return;
    }
    TSpeedButton::Dispatch(Message);
}

// ---------------------------------------------------------------- TGwMenuToolbarButton

TGwMenuToolbarButton::TGwMenuToolbarButton(TComponent* AOwner) : TGwMenuDropDown(AOwner) {
    SetWidth(40);
    SetMargin(2);
}

void TGwMenuToolbarButton::Click() {
    if (!TakeSkipClick())
        TGwToolbarButton::Click();
}

void TGwMenuToolbarButton::DoDropDown() {
    if (!DropDownMenu())
        return;
    TGwMenuDropDown::DoDropDown();
    if (GroupIndex() > 0 && !Down())
        TGwToolbarButton::Click();
}

void TGwMenuToolbarButton::Paint() {
    TGwToolbarButton::Paint();
    if (!ShowArrow())
        return;
    TCanvas* c = Canvas();
    const bool down = State() == bsDown;
    if ((FMouseInside && Enabled()) || !Flat()) {
        int x = UseRightToLeftAlignment() ? 15 : Width() - 15;
        if (down)
            ++x;
        else {
            c->Pen()->SetColor(clBtnHighlight);
            c->MoveTo(x, 0);
            c->LineTo(x, Height());
        }
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(x - 1, 0);
        c->LineTo(x - 1, Height());
    }
    const TColor color = Enabled() ? clWindowText : clBtnShadow;
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(color);
    const TRect cr = ClientRect();
    int x = UseRightToLeftAlignment() ? 8 : cr.Right - 8;
    int y = cr.Height() / 2 + cr.Top + 2;
    if (down) {
        ++x;
        ++y;
    }
    const TPoint arrow[] = {TPoint(x, y), TPoint(x - 3, y - 3), TPoint(x + 3, y - 3)};
    c->Polygon(arrow, 3);
}

// ---------------------------------------------------------------- action links

TGwToolbarButtonActionLink::TGwToolbarButtonActionLink(TGwToolbarButton* AClient)
    : TControlActionLink(AClient), FClient(AClient) {}

bool TGwToolbarButtonActionLink::IsCheckedLinked() const {
    return FClient->GroupIndex() != 0 && FClient->AllowAllUp() && FClient->Down() == FChecked;
}

bool TGwToolbarButtonActionLink::IsCaptionLinked() const { return !FClient->IgnoreActionCaption; }

void TGwToolbarButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked())
        FClient->SetDown(Value);
    FChecked = Value;
}

void TGwToolbarButtonActionLink::SetCaption(const std::string& Value) {
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

TGwToolButtonActionLink::TGwToolButtonActionLink(TGwToolButton* AClient)
    : TControlActionLink(AClient), FClient(AClient) {}

bool TGwToolButtonActionLink::IsCheckedLinked() const { return FClient->Down() == FChecked; }
bool TGwToolButtonActionLink::IsImageIndexLinked() const { return FClient->ImageIndex() == FImageIndex; }

void TGwToolButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked())
        FClient->SetDown(Value);
    FChecked = Value;
}

void TGwToolButtonActionLink::SetImageIndex(int Value) {
    if (IsImageIndexLinked())
        FClient->SetImageIndex(Value);
    FImageIndex = Value;
}

TControlActionLink* TGwToolButton::CreateActionLink() { return new TGwToolButtonActionLink(this); }
