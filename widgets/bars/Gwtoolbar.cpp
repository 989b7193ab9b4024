// Toolbar: rows or columns of controls, wrapping, auto-resizing, text options, the overflow
// button and the layout kept in the settings store (widget layer, bars).
#include <algorithm>
#include <cmath>

#include "Gwbars.h"
#include "Gwgrafx.h"
#include "Gwpopups.h"
#include "Gwtmschema.h"
#include "Gwtoolbarform.h"
#include "messages.h"
#include "sysutils.h"

// ---------------------------------------------------------------- control list

int TGwToolbarControlList::AddControl(TControl* Control) {
    const int i = IndexOf(Control);
    if (i >= 0)
        return i;
    FItems.push_back({Control, Control ? Control->Name() : std::string()});
    return Count() - 1;
}

void TGwToolbarControlList::AddControlName(const std::string& Name) { FItems.push_back({nullptr, Name}); }

void TGwToolbarControlList::RemoveControl(TControl* Control) {
    const int i = IndexOf(Control);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
}

void TGwToolbarControlList::RemoveControlName(const std::string& Name) {
    const int i = IndexOfName(Name);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
}

int TGwToolbarControlList::IndexOf(TControl* Control) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Control == Control)
            return i;
    return -1;
}

int TGwToolbarControlList::IndexOfName(const std::string& Name) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Name == Name)
            return i;
    return -1;
}

void TGwToolbarControlList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    TGwToolbarControl item = FItems.at(size_t(CurIndex));
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + std::clamp(NewIndex, 0, Count()), item);
}

void TGwToolbarControlList::ControlsAreLoaded(TComponent* Owner) {
    bool removed = false;
    for (int i = 0; i < Count();) {
        TGwToolbarControl& item = FItems[size_t(i)];
        auto* c = Owner ? dynamic_cast<TControl*>(Owner->FindComponent(item.Name)) : nullptr;
        if (c && c->Parent() == FToolbar) {
            item.Control = c;
            ++i;
        } else {
            FItems.erase(FItems.begin() + i);
            removed = true;
        }
    }
    if (removed)
        for (int i = 0; i < FToolbar->ControlCount(); ++i)
            AddControl(FToolbar->Controls(i));
}

TGwCustomizeCaptions::TGwCustomizeCaptions()
    : FCaptions{"Customize Toolbar",
                "Uncheck to hide control",
                "Close",
                "Move Up",
                "Move Down",
                "Text Options",
                "No text labels",
                "Show text labels",
                "Selective text on right"} {}

void TGwCustomizeCaptions::SetCaption(int Index, const std::string& Value) {
    FCaptions.at(size_t(Index - 1)) = Value;
    FChanged = true;
}

// ---------------------------------------------------------------- overflow button

namespace {

bool Themed(TGwVisualStyle Style) { return Style == vsWinXP && ThemeServices()->ThemesEnabled(); }

// The theme's combo-box drop-down glyph colour, unless it would vanish on a window background.
TColor ThemedGlyphColor() {
    const TThemedElementDetails d = TThemeServices::GetElementDetails(tcDropDownButtonNormal);
    COLORREF colour = 0;
    if (!GetThemeColor ||
        GetThemeColor(ThemeServices()->GetTheme(d.Element), d.Part, d.State, TMT_TEXTCOLOR, &colour) != S_OK)
        return clBlack;
    return ColorsTooClose(TColor(colour), clWindow) ? cl3DDkShadow : TColor(colour);
}

// The chevron at the far end of a one-row toolbar; a click lists the controls that do not fit.
class TGwToolbarPopupButton : public TCustomControl {
public:
    explicit TGwToolbarPopupButton(TGwToolbar* Toolbar) : TCustomControl(Toolbar), FToolbar(Toolbar) {}

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        const TRect r(0, 0, Width(), Height());
        const bool hot = FPressed && FHot;
        if (Themed(FToolbar->VisualStyle())) {
            TThemeServices* t = ThemeServices();
            t->DrawElement(c->Handle(), TThemeServices::GetElementDetails(trRebarRoot), r);
            t->DrawElement(c->Handle(),
                           TThemeServices::GetElementDetails(hot ? trChevronPressed : trChevronNormal), r);
            return;
        }
        const TRect inner =
            DrawBox(c, r, AdjustColor(FToolbar->FlatColor(), FToolbar->FlatColorAdjustment()));
        if (FToolbar->VisualStyle() == vsGradient) {
            TColor start, stop;
            FToolbar->GetGradientColors(start, stop);
            PaintGradient(c, inner, gdVerticalEnd, hot ? stop : start, hot ? start : stop, 64);
        } else {
            c->Brush()->SetColor(hot ? DarkerColor(FToolbar->Color(), 20) : FToolbar->Color());
            c->FillRect(inner);
        }
        const TColor glyph = ThemeServices()->ThemesEnabled() ? ThemedGlyphColor() : clBlack;
        // Two small right-pointing angles near the top.
        static const int rows[][2] = {{0, 1}, {1, 2}, {2, 3}, {1, 2}, {0, 1}};
        for (int y = 0; y < 5; ++y)
            for (int k : {0, 4})
                for (int x = rows[y][0]; x <= rows[y][1]; ++x)
                    c->SetPixel(3 + k + x, 4 + y, glyph);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        if (Button != mbLeft)
            return;
        SetMouseCapture(true);
        FPressed = FHot = true;
        Invalidate();
    }
    void MouseMove(TShiftState Shift, int X, int Y) override {
        TCustomControl::MouseMove(Shift, X, Y);
        const bool hot = TRect(0, 0, Width(), Height()).Contains(TPoint(X, Y));
        if (FPressed && hot != FHot) {
            FHot = hot;
            Invalidate();
        }
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        if (!FPressed)
            return;
        SetMouseCapture(false);
        const bool hot = FHot;
        FPressed = FHot = false;
        Invalidate();
        if (hot)
            FToolbar->DisplayButtons();
    }
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_ERASEBKGND) {
            Message.Result = 1;
            return;
        }
        TCustomControl::WndProc(Message);
    }

private:
    TGwToolbar* FToolbar;
    bool FPressed = false;
    bool FHot = false;
};

bool Vertical(TAlign A) { return A == alLeft || A == alRight; }

} // namespace

// ---------------------------------------------------------------- toolbar

TGwToolbar::TGwToolbar(TComponent* AOwner)
    : TGwCustomPanel(AOwner), FImageChangeLink(std::make_unique<TChangeLink>()) {
    FImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
    FStyling = true;
    TGwCustomPanel::SetBorderOuter(fsGroove);
    TGwCustomPanel::SetBorderSides(TSides{sdTop});
    FStyling = false;
    FullRepaint = false;
    ShowDockClientCaptions = false;
    SetBounds(Left(), Top(), 32, 32);
    SetAlign(alTop);
}

TGwToolbar::~TGwToolbar() { SetImages(nullptr); }

void TGwToolbar::Loaded() {
    TGwCustomPanel::Loaded();
    FControls.ControlsAreLoaded(Owner());
    if (AutoStyle)
        AdjustStyle(Align());
    PositionControls();
}

void TGwToolbar::AdjustStyle(TAlign Value) {
    FStyling = true;
    TGwCustomPanel::SetBorderInner(fsNone);
    TGwCustomPanel::SetBorderOuter(FShowDivider ? fsGroove : fsNone);
    const TSide side = Value == alBottom  ? sdBottom
                       : Value == alLeft  ? sdLeft
                       : Value == alRight ? sdRight
                                          : sdTop;
    TGwCustomPanel::SetBorderSides(TSides{side});
    FStyling = false;
    Invalidate();
}

// A frame set by hand is the user's: the automatic style stays away from then on.
void TGwToolbar::SetBorderInner(TFrameStyleEx Value) {
    if (!FStyling)
        AutoStyle = false;
    TGwCustomPanel::SetBorderInner(Value);
}

void TGwToolbar::SetBorderOuter(TFrameStyleEx Value) {
    if (!FStyling)
        AutoStyle = false;
    TGwCustomPanel::SetBorderOuter(Value);
}

void TGwToolbar::SetBorderSides(TSides Value) {
    if (!FStyling)
        AutoStyle = false;
    TGwCustomPanel::SetBorderSides(Value);
}

void TGwToolbar::SetAlign(TAlign Value) {
    if (AutoStyle)
        AdjustStyle(Value);
    TGwCustomPanel::SetAlign(Value);
    if (FAutoResize)
        Vertical(Value) ? SetWidth(32) : SetHeight(32);
}

bool TGwToolbar::CheckAutoResize(bool Value) {
    // A page scroller sizes its content itself.
    if (Value && Parent() && Parent()->ClassName() == "TPageScroller")
        return false;
    return Value;
}

void TGwToolbar::SetParent(TWinControl* AParent) {
    TGwCustomPanel::SetParent(AParent);
    FAutoResize = CheckAutoResize(FAutoResize);
}

void TGwToolbar::ChangeScale(int M, int D) {
    TGwCustomPanel::ChangeScale(M, D);
    if (D != 0)
        SetRowHeight(int(std::lround(double(FRowHeight) * M / D)));
}

void TGwToolbar::SetAutoResize(bool Value) {
    Value = CheckAutoResize(Value);
    Relayout(FAutoResize, Value);
}

void TGwToolbar::SetOrientation(TOrientation Value) {
    FOrientation = Value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* spacer = dynamic_cast<TGwSpacer*>(Controls(i)))
            spacer->SetOrientation(Value);
    PositionControls();
}

void TGwToolbar::NotifyChildren(UINT Msg) {
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Perform(Msg, 0, 0);
}

void TGwToolbar::SetShowButtonCaptions(bool Value) {
    if (Value == FShowButtonCaptions)
        return;
    FShowButtonCaptions = Value;
    NotifyChildren(CM_TOOLBARSHOWCAPTIONCHANGED);
    if (!FFromTextOptions)
        FTextOptions = ttoCustom;
}

void TGwToolbar::SetButtonLayout(TButtonLayout Value) {
    if (Value == FButtonLayout)
        return;
    FButtonLayout = Value;
    NotifyChildren(CM_TOOLBARBUTTONLAYOUTCHANGED);
    if (!FFromTextOptions)
        FTextOptions = ttoCustom;
}

void TGwToolbar::SetButtonWidth(int Value) {
    if (Value == FButtonWidth)
        return;
    FButtonWidth = Value;
    NotifyChildren(CM_TOOLBARBUTTONSIZECHANGED);
    if (!FFromTextOptions)
        FTextOptions = ttoCustom;
}

void TGwToolbar::SetButtonHeight(int Value) {
    if (Value == FButtonHeight)
        return;
    FButtonHeight = Value;
    NotifyChildren(CM_TOOLBARBUTTONSIZECHANGED);
    if (!FFromTextOptions)
        FTextOptions = ttoCustom;
}

void TGwToolbar::SetShowDivider(bool Value) {
    FShowDivider = Value;
    FStyling = true;
    TGwCustomPanel::SetBorderOuter(Value ? fsGroove : fsNone);
    FStyling = false;
    Invalidate();
}

void TGwToolbar::SetTextOptions(TGwToolbarTextOptions Value) {
    if (Value == FTextOptions)
        return;
    FTextOptions = Value;
    struct TRow {
        TButtonLayout Layout;
        int Width, Height;
        bool Captions;
        int RowHorizontal, RowVertical;
    };
    static const TRow rows[] = {{blGlyphLeft, 25, 25, false, 25, 25},
                                {blGlyphTop, 60, 40, true, 40, 60},
                                {blGlyphLeft, 60, 25, true, 25, 60}};
    if (Value == ttoCustom)
        return;
    const TRow& r = rows[Value];
    FFromTextOptions = true;
    SetButtonLayout(r.Layout);
    UpdateButtonSize(r.Width, r.Height, r.Captions);
    FFromTextOptions = false;
    SetRowHeight(FOrientation == orHorizontal ? r.RowHorizontal : r.RowVertical);
}

void TGwToolbar::UpdateButtonSize(int Width, int Height, bool ShowCaption) {
    const bool fromOptions = FFromTextOptions;
    FFromTextOptions = true;
    SetShowButtonCaptions(ShowCaption);
    SetButtonWidth(Width);
    SetButtonHeight(Height);
    FFromTextOptions = fromOptions;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TGwToolbarButton*>(Controls(i))) {
            b->SetBounds(b->Left(), b->Top(), Width, Height);
            b->SetShowCaption(ShowCaption);
            b->SetLayout(ShowCaption && Height >= 31 ? blGlyphTop : blGlyphLeft);
        }
    SetRowHeight(FOrientation == orVertical ? Width : Height);
}

void TGwToolbar::SetImages(TCustomImageList* Value) {
    if (Value == FImages)
        return;
    if (FImages) {
        FImages->UnRegisterChanges(FImageChangeLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(FImageChangeLink.get());
        FImages->FreeNotification(this);
    }
    Invalidate();
}

void TGwToolbar::SetRegIniFile(TGwRegIniFile* Value) {
    if (FRegIniFile)
        FRegIniFile->RemoveFreeNotification(this);
    FRegIniFile = Value;
    if (FRegIniFile)
        FRegIniFile->FreeNotification(this);
}

void TGwToolbar::SetVisualStyle(TGwVisualStyle Value) {
    TGwCustomPanel::SetVisualStyle(Value);
    NotifyChildren(CM_TOOLBARVISUALSTYLECHANGED);
}

void TGwToolbar::SetGradientColorStyle(TGwGradientColorStyle Value) {
    TGwCustomPanel::SetGradientColorStyle(Value);
    NotifyChildren(CM_TOOLBARVISUALSTYLECHANGED);
}

void TGwToolbar::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomPanel::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FRegIniFile)
        FRegIniFile = nullptr;
    if (AComponent == FOverflowButton)
        FOverflowButton = nullptr;
    auto* c = dynamic_cast<TControl*>(AComponent);
    if (c && c != this && FControls.IndexOf(c) >= 0) {
        FControls.RemoveControl(c);
        if (!ComponentState().Contains(csDestroying))
            PositionControls();
    }
}

TPoint TGwToolbar::InvalidateMarginSize() {
    if (FOrientation == orHorizontal && !FWrapControls && FOverflowShown)
        return TPoint(OverflowButtonWidth + 1, 1);
    return TGwCustomPanel::InvalidateMarginSize();
}

void TGwToolbar::AlignControls(TControl* AControl, TRect& Rect) {
    if (!ComponentState().Contains(csLoading))
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i) != FOverflowButton)
                FControls.AddControl(Controls(i));
    (void)AControl;
    (void)Rect;
    PositionControls();
}

void TGwToolbar::PositionControl(int Index, int Row, int& Pos) {
    TControl* c = FControls.Controls(Index);
    if (!c || c->ComponentState().Contains(csDestroying))
        return;
    const int rh = CalculateRowHeight(Row);
    if (FOrientation == orHorizontal) {
        const int top = (Row - 1) * rh + FTopMargin + FRowHeight / 2 - c->Height() / 2;
        c->SetBounds(Pos, top, c->Width(), c->Height());
        Pos += c->Width();
    } else {
        const int left = (Row - 1) * rh + FMargin + FRowHeight / 2 - c->Width() / 2;
        c->SetBounds(left, Pos, c->Width(), c->Height());
        Pos += c->Height();
    }
}

void TGwToolbar::PositionControls() {
    if (FPositioning || ComponentState().Contains(csLoading))
        return;
    FPositioning = true;
    const bool horizontal = FOrientation == orHorizontal;
    const bool designing = ComponentState().Contains(csDesigning);
    if (horizontal && !FWrapControls && FControls.Count() > 0) {
        TControl* last = FControls.Controls(FControls.Count() - 1);
        FOverflowShown = last && Width() - FMargin < last->Left() + last->Width();
    } else {
        FOverflowShown = false;
    }
    int pos = FMargin, row = 1, largest = 0;
    bool placed = false;
    for (int i = 0; i < FControls.Count(); ++i) {
        TControl* c = FControls.Controls(i);
        if (!c || (!c->Visible() && !designing))
            continue;
        // A new row starts only after something is placed, so a hidden first entry leaves no gap.
        if (FWrapControls && placed) {
            const bool past =
                horizontal ? Width() - FMargin < pos + c->Width() : Height() - FMargin < pos + c->Height();
            if (past) {
                pos = FMargin;
                ++row;
            }
        }
        PositionControl(i, row, pos);
        largest = std::max(largest, pos);
        placed = true;
    }
    if (FAutoResize) {
        const TAlign a = Align();
        int w = Width(), h = Height();
        if (horizontal) {
            if (Vertical(a) && placed)
                w = FMargin + largest;
            else if (a == alNone || a == alTop || a == alBottom)
                h = row * FRowHeight + 2 * FTopMargin;
        } else {
            if ((a == alNone || a == alTop || a == alBottom) && placed)
                h = FMargin + largest;
            else if (Vertical(a))
                w = row * FRowHeight + 2 + FTopMargin;
        }
        if (w != Width() || h != Height()) {
            Invalidate();
            SetBounds(Left(), Top(), w, h);
            if (Parent() && Parent()->Visible())
                Parent()->Realign();
        }
    }
    PlaceOverflowButton();
    FPositioning = false;
}

void TGwToolbar::PlaceOverflowButton() {
    const TComponentState state = ComponentState();
    const bool wanted = FOverflowShown && !state.Contains(csLoading) && !state.Contains(csDestroying);
    if (wanted && !FOverflowButton) {
        auto* b = new TGwToolbarPopupButton(this);
        b->SetParent(this);
        FOverflowButton = b;
    }
    if (!FOverflowButton)
        return;
    FOverflowButton->SetVisible(wanted);
    if (wanted) {
        FOverflowButton->SetBounds(Width() - OverflowButtonWidth, 0, OverflowButtonWidth, Height());
        FOverflowButton->BringToFront();
    }
}

std::vector<TControl*> TGwToolbar::OverflowControls() {
    std::vector<TControl*> out;
    for (int i = 0; i < FControls.Count(); ++i) {
        TControl* c = FControls.Controls(i);
        if (c && c->Visible() && c->Left() + c->Width() > Width() - OverflowButtonWidth)
            out.push_back(c);
    }
    return out;
}

void TGwToolbar::SaveLayout() {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwNoRegIniFile);
    const std::string section = Name();
    FRegIniFile->WriteInteger(section, "TextOptions", int(FTextOptions));
    FRegIniFile->WriteInteger(section, "Count", FControls.Count());
    for (int i = 0; i < FControls.Count(); ++i) {
        const TGwToolbarControl& item = FControls.Items(i);
        const bool hidden = item.Control && !item.Control->Visible();
        const std::string name = item.Control ? item.Control->Name() : item.Name;
        FRegIniFile->WriteString(section, "Control" + IntToStr(i), (hidden ? "##" : "") + name);
    }
}

void TGwToolbar::RestoreLayout() {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwNoRegIniFile);
    const std::string section = Name();
    const int count = FRegIniFile->ReadInteger(section, "Count", 0);
    if (count >= 1 && count == FControls.Count()) {
        for (int i = 0; i < count; ++i) {
            std::string name = FRegIniFile->ReadString(section, "Control" + IntToStr(i), "");
            const bool hidden = name.rfind("##", 0) == 0;
            if (hidden)
                name.erase(0, 2);
            // A line edited by hand or left by another version names nothing here: the rest still apply.
            const int at = name.empty() ? -1 : FControls.IndexOfName(name);
            if (at < 0)
                continue;
            FControls.Move(at, i);
            if (TControl* c = FControls.Controls(i))
                c->SetVisible(!hidden);
        }
        PositionControls();
    }
    const int options = FRegIniFile->ReadInteger(section, "TextOptions", -1);
    if (options >= ttoNoTextLabels && options <= ttoCustom)
        SetTextOptions(TGwToolbarTextOptions(options));
}

void TGwToolbar::Customize(bool ShowTextOptions) {
    TGwFrmCustomizeToolbar form(Application);
    form.Toolbar = this;
    form.OwnerControl = dynamic_cast<TControl*>(Owner());
    form.Reposition();
    form.UpdateControls(&FCustomizeCaptions, ShowTextOptions);
    form.ShowModal();
}

void TGwToolbar::DisplayButtons() {
    TCustomForm* form = GetParentForm(this);
    if (!FOverflowButton || !form || FOverflowToolbar)
        return;
    std::vector<TGwToolButton*> originals;
    for (TControl* c : OverflowControls())
        if (auto* b = dynamic_cast<TGwToolButton*>(c))
            originals.push_back(b);
    // Only tool buttons have stand-ins: with none an empty popup would show.
    if (originals.empty())
        return;
    // Freed here, never by an owner: a click may take the toolbar away while the popup runs.
    TGwPopupPanel panel(nullptr);
    panel.SetParent(form);
    auto* bar = new TGwToolbar(&panel);
    bar->SetAlign(alNone);
    bar->SetShowDivider(false);
    bar->SetBounds(0, 0, 3 * FButtonWidth + 8, bar->Height());
    bar->SetImages(FImages);
    bar->SetTextOptions(FTextOptions);
    bar->SetButtonWidth(FButtonWidth);
    bar->SetButtonHeight(FButtonHeight);
    bar->SetButtonLayout(FButtonLayout);
    bar->SetShowButtonCaptions(FShowButtonCaptions);
    bar->SetRowHeight(FRowHeight);
    bar->SetColor(VisualStyle() == vsGradient ? clWindow : Color());
    bar->SetGradientColorStyle(GradientColorStyle());
    bar->SetGradientColorStart(GradientColorStart());
    bar->SetGradientColorStop(GradientColorStop());
    bar->SetGradientDirection(GradientDirection());
    bar->SetVisualStyle(VisualStyle());
    bar->SetShowHint(ShowHint());
    bar->SetParent(&panel);
    for (TGwToolButton* original : originals) {
        auto* copy = new TGwPopupToolButton(bar);
        copy->Assign(original);
        copy->SetParent(bar);
    }
    bar->PositionControls();
    FOverflowToolbar = bar;
    const TControlGuard alive(this);
    try {
        panel.Popup(FOverflowButton);
    } catch (...) {
        if (alive.Alive())
            FOverflowToolbar = nullptr;
        throw;
    }
    if (alive.Alive())
        FOverflowToolbar = nullptr;
}

void TGwToolbar::Paint() {
    if (Themed(VisualStyle()))
        ThemeServices()->DrawElement(Canvas()->Handle(), TThemeServices::GetElementDetails(trRebarRoot),
                                     TRect(0, 0, Width(), Height()));
    else
        TGwCustomPanel::Paint();
    const int bw = FBackground.Width(), bh = FBackground.Height();
    if (bw <= 0 || bh <= 0)
        return;
    const TRect client = ClientRect();
    for (int y = 0; y < client.Height(); y += bh)
        for (int x = 0; x < client.Width(); x += bw)
            Canvas()->Draw(x, y, &FBackground);
}

void TGwToolbar::WndProc(TMessage& Message) {
    TGwCustomPanel::WndProc(Message);
    if (Message.Msg == CM_VISIBLECHANGED && OnVisibleChanged)
        OnVisibleChanged(this);
}

// ---------------------------------------------------------------- popup tool button

TGwPopupToolButton::~TGwPopupToolButton() {
    if (FOriginal)
        FOriginal->RemoveFreeNotification(this);
}

void TGwPopupToolButton::Assign(TPersistent* Source) {
    auto* b = dynamic_cast<TGwToolButton*>(Source);
    if (!b) {
        TGwToolButton::Assign(Source);
        return;
    }
    if (FOriginal)
        FOriginal->RemoveFreeNotification(this);
    FOriginal = b;
    b->FreeNotification(this);
    SetAction(b->Action());
    SetToolStyle(b->ToolStyle());
    SetGroupIndex(b->GroupIndex());
    SetAllowAllUp(b->AllowAllUp());
    SetDown(b->Down());
    SetFlat(b->Flat());
    SetImages(b->Images());
    SetImageIndex(b->ImageIndex());
    SetDownIndex(b->DownIndex());
    SetDisabledIndex(b->DisabledIndex());
    SetHotIndex(b->HotIndex());
    SetLayout(b->Layout());
    SetShowCaption(b->ShowCaption());
    SetTransparent(b->Transparent());
    SetAlignment(b->Alignment());
    SetVisualStyle(b->VisualStyle());
    SetGradientColorStyle(b->GradientColorStyle());
    SetSelectionColorStart(b->SelectionColorStart());
    SetSelectionColorStop(b->SelectionColorStop());
    SetSelectionFrameColor(b->SelectionFrameColor());
    SetDropDownMenu(b->DropDownMenu());
    SetBounds(Left(), Top(), b->Width(), b->Height());
    // The setters above clear the flags; the original's decide.
    SetUseToolbarButtonLayout(b->UseToolbarButtonLayout());
    SetUseToolbarButtonSize(b->UseToolbarButtonSize());
    SetUseToolbarShowCaption(b->UseToolbarShowCaption());
    SetUseToolbarVisualStyle(b->UseToolbarVisualStyle());
    SetCaption(b->Caption());
    SetHint(b->Hint());
    SetColor(b->Color());
    SetParentFont(b->ParentFont());
    Font()->Assign(*b->Font());
    SetShowHint(b->ShowHint());
    SetParentShowHint(b->ParentShowHint());
    SetPopupMenu(b->PopupMenu());
    SetCursor(b->Cursor());
    SetEnabled(b->Enabled());
    SetVisible(b->Visible());
    Tag = b->Tag;
    OnDropDown = b->OnDropDown;
    // A drop-down original without a click of its own drops its menu from anywhere: so does the copy.
    if (b->ToolStyle() == tsButton || b->IsSplitButton())
        OnClick = [this](TObject* Sender) { RelayClick(Sender); };
    else
        OnClick = nullptr;
}

void TGwPopupToolButton::RelayClick(TObject*) {
    for (TWinControl* p = Parent(); p; p = p->Parent()) {
        auto* panel = dynamic_cast<TGwPopupPanel*>(p);
        if (!panel)
            if (auto* window = dynamic_cast<TGwPopup*>(p))
                panel = dynamic_cast<TGwPopupPanel*>(window->Owner());
        if (panel) {
            panel->Close(this);
            break;
        }
    }
    if (FOriginal)
        FOriginal->Click();
}

void TGwPopupToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGwToolButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FOriginal)
        FOriginal = nullptr;
}
