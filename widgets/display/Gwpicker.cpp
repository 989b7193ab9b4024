// The colour-grid picker: 40 basic and 30 system colours, the no-colour, default and custom rows.
#include "Gwborder.h"

#include <cstdlib>
#include <memory>

#include "dialogs.h"
#include "forms.h"
#include "messages.h"
#include "sysinfo.h"

namespace {

constexpr TColor Sys(int N) { return TColor(0x80000000u | unsigned(N)); }

const TGwPickerColor Colors[70] = {
    {0x000000, "Black"},
    {0x003399, "Brown"},
    {0x003333, "Olive Green"},
    {0x003300, "Dark Green"},
    {0x663300, "Dark Teal"},
    {0x800000, "Dark Blue"},
    {0x993333, "Indigo"},
    {0x333333, "Gray 80%"},
    {0x000080, "Dark Red"},
    {0x0066FF, "Orange"},
    {0x008080, "Dark Yellow"},
    {0x008000, "Green"},
    {0x808000, "Teal"},
    {0xFF0000, "Blue"},
    {0x996666, "Blue Gray"},
    {0x808080, "Gray 50%"},
    {0x0000FF, "Red"},
    {0x0099FF, "Light Orange"},
    {0x00CC99, "Lime"},
    {0x669933, "Sea Green"},
    {0x999933, "Aqua"},
    {0xFF6633, "Light Blue"},
    {0x800080, "Violet"},
    {0x999999, "Gray 40%"},
    {0xFF00FF, "Pink"},
    {0x00CCFF, "Gold"},
    {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright Green"},
    {0xFFFF00, "Turquoise"},
    {0xFFCC00, "Sky Blue"},
    {0x663399, "Plum"},
    {0xC0C0C0, "Gray 25%"},
    {0xCC99FF, "Rose"},
    {0x99CCFF, "Tan"},
    {0x99FFFF, "Light Yellow"},
    {0xCCFFCC, "Light Green"},
    {0xFFFFCC, "Light Turquoise"},
    {0xFFCC99, "Pale Blue"},
    {0xFF99CC, "Lavender"},
    {0xFFFFFF, "White"},
    {Sys(0), "Scroll Bar"},
    {Sys(1), "Background"},
    {Sys(2), "Active Caption"},
    {Sys(3), "Inactive Caption"},
    {Sys(4), "Menu"},
    {Sys(5), "Window"},
    {Sys(6), "Window Frame"},
    {Sys(7), "Menu Text"},
    {Sys(8), "Window Text"},
    {Sys(9), "Caption Text"},
    {Sys(10), "Active Border"},
    {Sys(11), "Inactive Border"},
    {Sys(12), "App WorkSpace"},
    {Sys(13), "Highlight"},
    {Sys(14), "Highlight Text"},
    {Sys(15), "Button Face"},
    {Sys(16), "Button Shadow"},
    {Sys(17), "Gray Text"},
    {Sys(18), "Button Text"},
    {Sys(19), "Inactive Caption Text"},
    {Sys(20), "Button Highlight"},
    {Sys(21), "3D Dark Shadow"},
    {Sys(22), "3D Light"},
    {Sys(23), "Info Text"},
    {Sys(24), "Info Background"},
    {Sys(26), "Hot Light"},
    {Sys(27), "Gradient Active Caption"},
    {Sys(28), "Gradient Inactive Caption"},
    {Sys(29), "Menu Highlight"},
    {Sys(30), "Menu Bar"},
};

constexpr int BasicCount = 40;
constexpr int AllCount = 70;
constexpr int SeparatorHeight = 8;

} // namespace

const TGwPickerColor& GwPickerColor(int Index) { return Colors[Index]; }

TGwColorPicker::TGwColorPicker(TComponent* AOwner) : TGwBorder(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBorderWidth(2);
    SetBorderColor(clWindow);
    SetColor(clWindow);
    SetParentColor(false);
    SetFlatColorAdjustment(0);
    if (GwThemesEnabled()) {
        SetBorderOuter(fsFlat);
        SetFlatColor(GetXPThemeColor(xptcEditBorder));
    } else {
        SetBorderOuter(fsLowered);
        SetFlatColor(clBtnShadow);
    }
    SetAutoSize(true);
}

TGwColorPicker::~TGwColorPicker() = default;

int TGwColorPicker::Margin() const { return std::abs(Font()->Height()) + 12; }

bool TGwColorPicker::CanAutoSize(int& NewWidth, int& NewHeight) {
    TRect inset(0, 0, 100, 100);
    AdjustClientRect(inset);
    const int m = Margin();
    NewWidth = 144 + 2 * inset.Left;
    NewHeight = 90 + 2 * inset.Top + (FShowSystemColors ? 80 : 0) + (FShowNoColor ? m + 1 : 0) +
                (FShowDefaultColor ? m + 1 : 0) + (FShowCustomColor ? m : 0);
    return true;
}

// One layout for painting and hit testing, inside the client rectangle where the grid is drawn.
TGwColorPicker::TLayout TGwColorPicker::Layout() {
    const TRect cr = GetClientRect();
    const int m = Margin();
    TLayout l;
    int top = cr.Top, rest = cr.Height();
    if (FShowNoColor) {
        l.NoColor = TRect(cr.Left, top, cr.Right, top + m);
        top += m + 1;
        rest -= m + 1;
    }
    if (FShowDefaultColor) {
        const int h = FShowNoColor ? m : m + 1;
        l.Default = TRect(cr.Left, top, cr.Right, top + m);
        top += h;
        rest -= h;
    }
    if (FShowCustomColor) {
        l.Custom = TRect(cr.Left, cr.Bottom - m, cr.Right, cr.Bottom);
        rest -= m;
    }
    l.GridTop = top;
    l.CellW = cr.Width() / 8;
    l.CellH = FShowSystemColors ? (rest - SeparatorHeight) / 9 : rest / 5;
    return l;
}

TRect TGwColorPicker::GetCellRect(int Index) {
    const TLayout l = Layout();
    const TRect cr = GetClientRect();
    int row = Index / 8, y = l.GridTop;
    if (Index >= BasicCount) {
        row = (Index - BasicCount) / 8;
        y += 5 * l.CellH + SeparatorHeight;
    }
    const int x = cr.Left + (Index % 8) * l.CellW;
    return Bounds(x, y + row * l.CellH, l.CellW, l.CellH);
}

int TGwColorPicker::HitTest(int X, int Y) {
    const TLayout l = Layout();
    const TPoint p(X, Y);
    if (FShowNoColor && l.NoColor.Contains(p))
        return cpiNoColor;
    if (FShowDefaultColor && l.Default.Contains(p))
        return cpiDefault;
    if (FShowCustomColor && l.Custom.Contains(p))
        return X < l.Custom.Right - Margin() ? cpiCustomCaption : cpiCustomSwatch;
    if (l.CellW <= 0 || l.CellH <= 0)
        return cpiNothing;
    const int count = FShowSystemColors ? AllCount : BasicCount;
    for (int i = 0; i < count; ++i)
        if (GetCellRect(i).Contains(p))
            return i;
    return cpiNothing;
}

TColor TGwColorPicker::SelectedColor() const {
    switch (FSelColorIndex) {
    case cpiCustomSwatch:
    case cpiCustomCaption: return FCustomColor;
    case cpiDefault: return FDefaultColor;
    default: return FSelColorIndex >= 0 ? Colors[FSelColorIndex].Color : clNone;
    }
}

void TGwColorPicker::SetSelectedColor(TColor Value) {
    if (Value == clNone) {
        SetSelColorIndex(cpiNoColor);
        return;
    }
    const TColor rgb = ColorToRGB(Value);
    if (FShowDefaultColor && rgb == ColorToRGB(FDefaultColor)) {
        SetSelColorIndex(cpiDefault);
        return;
    }
    if (FShowSystemColors)
        for (int i = BasicCount; i < AllCount; ++i)
            if (Colors[i].Color == Value) {
                SetSelColorIndex(i);
                return;
            }
    for (int i = 0; i < BasicCount; ++i)
        if (Colors[i].Color == rgb) {
            SetSelColorIndex(i);
            return;
        }
    FCustomColor = rgb;
    SetSelColorIndex(cpiCustomSwatch);
}

void TGwColorPicker::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FShowDefaultColor)
        Repaint();
}

void TGwColorPicker::SetCustomColor(TColor Value) {
    FCustomColor = Value;
    if (FShowCustomColor)
        Repaint();
}

void TGwColorPicker::SetCustomColors(TGwCustomColors* Value) {
    FCustomColors = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwColorPicker::Notification(TComponent* AComponent, TOperation Operation) {
    TGwBorder::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCustomColors)
        FCustomColors = nullptr;
    if (Operation == opRemove && AComponent == FHintWindow)
        FHintWindow = nullptr;
}

void TGwColorPicker::SetSelColorIndex(int Index) {
    if (Index == FSelColorIndex && Index != cpiCustomSwatch)
        return;
    FSelColorIndex = Index;
    Repaint();
    if (OnChange)
        OnChange(this);
    if (Index == cpiCustomSwatch && OnClick)
        OnClick(this);
}

void TGwColorPicker::SetHighlightColorIndex(int Index) {
    if (Index == FHighlightColorIndex)
        return;
    FHighlightColorIndex = Index;
    Repaint();
}

void TGwColorPicker::PickCustomColor() {
    auto dialog = std::make_unique<TColorDialog>(this);
    dialog->SetColor(SelectedColor() == clNone ? FCustomColor : SelectedColor());
    if (FCustomColors)
        dialog->CustomColors()->Assign(FCustomColors->Colors());
    dialog->SetOptions(ColorDlgOptions);
    if (!dialog->Execute())
        return;
    if (FCustomColors)
        FCustomColors->SetColors(dialog->CustomColors());
    FCustomColor = dialog->Color();
    SetSelColorIndex(cpiCustomSwatch);
}

void TGwColorPicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwBorder::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const int i = HitTest(X, Y);
    if (i == cpiNothing)
        return;
    if (i == cpiCustomCaption) {
        FHighlightColorIndex = cpiNoHighlight;
        Repaint();
        PickCustomColor();
        return;
    }
    SetSelColorIndex(i);
}

void TGwColorPicker::MouseMove(TShiftState Shift, int X, int Y) {
    TGwBorder::MouseMove(Shift, X, Y);
    const int i = HitTest(X, Y);
    if (Shift.Contains(ssLeft)) {
        if (i != cpiCustomCaption)
            SetSelColorIndex(i);
    } else {
        SetHighlightColorIndex(i);
    }
    if (ShowColorHints)
        UpdateHint(X, Y);
}

void TGwColorPicker::CMMouseEnter(TMessage& Message) {
    TGwBorder::CMMouseEnter(Message);
    if (ShowColorHints) {
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        UpdateHint(p.x, p.y);
    }
}

void TGwColorPicker::CMMouseLeave(TMessage& Message) {
    TGwBorder::CMMouseLeave(Message);
    FHighlightColorIndex = cpiNoHighlight;
    Repaint();
    HideHint();
}

void TGwColorPicker::CMFontChanged(TMessage& Message) {
    TGwBorder::CMFontChanged(Message);
    Repaint();
}

void TGwColorPicker::HideHint() {
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
    FHintPos = TPoint(-1, -1);
}

void TGwColorPicker::UpdateHint(int X, int Y) {
    const int i = HitTest(X, Y);
    const bool show = i >= 0 && GetClientRect().Contains(TPoint(X, Y)) && Application->Active() &&
                      !ComponentState().Contains(csDesigning);
    if (!show) {
        HideHint();
        Repaint();
        return;
    }
    const TRect cell = GetCellRect(i);
    const TPoint at = ClientToScreen(TPoint(cell.Left + 4, cell.Bottom + 12));
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->SetColor(Application->HintColor());
    }
    if (at.x == FHintPos.x && at.y == FHintPos.y)
        return;
    FHintPos = at;
    FHintWindow->SetFont(Font());
    TRect r = FHintWindow->CalcHintRect(Screen->Width(), Colors[i].Name, nullptr);
    OffsetRect(r, at.x, at.y);
    FHintWindow->ActivateHint(r, Colors[i].Name);
}

void TGwColorPicker::PaintButton(TCanvas* C, const TRect& R, const std::string& Caption, bool Selected,
                                 bool Hot, const TColor* Swatch) {
    TRect box = R;
    if (Swatch)
        box.Right -= Margin();
    if (Selected) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(R);
        DrawBox(C, box, clHighlight);
    } else {
        C->Brush()->SetColor(FButtonColor);
        C->FillRect(R);
        if (Hot)
            DrawSides(C, box, clBtnHighlight, clBtnShadow, AllSides);
        else
            DrawBox(C, box, FlatColor());
    }
    C->Brush()->SetStyle(bsClear);
    TRect text = box;
    C->DrawText(Caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Brush()->SetStyle(bsSolid);
    if (Swatch) {
        TRect s(R.Right - Margin(), R.Top, R.Right, R.Top + Margin());
        InflateRect(s, -4, -4);
        C->Brush()->SetColor(*Swatch);
        C->FillRect(s);
        DrawBox(C, s, clBtnShadow);
    }
    C->ExcludeClipRect(R.Left, R.Top, R.Right, R.Bottom);
}

void TGwColorPicker::PaintCell(TCanvas* C, int Index) {
    const TRect cell = GetCellRect(Index);
    TRect swatch = cell;
    InflateRect(swatch, -4, -4);
    C->Brush()->SetColor(Colors[Index].Color);
    C->FillRect(swatch);
    DrawSides(C, swatch, clBtnHighlight, clBtnShadow, AllSides);
    C->ExcludeClipRect(swatch.Left, swatch.Top, swatch.Right, swatch.Bottom);
    if (Index == FSelColorIndex) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(cell);
        DrawBox(C, cell, clHighlight);
    } else if (Index == FHighlightColorIndex) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(cell);
        DrawSides(C, cell, clBtnHighlight, clBtnShadow, AllSides);
    } else {
        return;
    }
    C->ExcludeClipRect(cell.Left, cell.Top, cell.Right, cell.Bottom);
}

void TGwColorPicker::Paint() {
    TGwBorder::Paint();
    TCanvas* c = Canvas();
    c->SetFont(Font());
    const TLayout l = Layout();
    const int saved = c->SaveDC();
    const int hot = FHighlightColorIndex, sel = FSelColorIndex;
    if (FShowNoColor)
        PaintButton(c, l.NoColor, FNoColorCaption.empty() ? "None" : FNoColorCaption, sel == cpiNoColor,
                    hot == cpiNoColor, nullptr);
    if (FShowDefaultColor)
        PaintButton(c, l.Default, FDefaultColorCaption.empty() ? "Default" : FDefaultColorCaption,
                    sel == cpiDefault, hot == cpiDefault, &FDefaultColor);
    if (FShowCustomColor)
        PaintButton(c, l.Custom, FCustomColorCaption.empty() ? "More Colors..." : FCustomColorCaption,
                    sel == cpiCustomSwatch || sel == cpiCustomCaption,
                    hot == cpiCustomSwatch || hot == cpiCustomCaption, &FCustomColor);
    if (l.CellW > 0 && l.CellH > 0) {
        for (int i = 0; i < BasicCount; ++i)
            PaintCell(c, i);
        if (FShowSystemColors) {
            const TRect cr = GetClientRect();
            const int y = l.GridTop + 5 * l.CellH + 4;
            c->Pen()->SetColor(clBtnShadow);
            c->MoveTo(cr.Left + 3, y);
            c->LineTo(cr.Right, y);
            for (int i = BasicCount; i < AllCount; ++i)
                PaintCell(c, i);
        }
    }
    c->Brush()->SetColor(Color());
    c->FillRect(GetClientRect());
    c->RestoreDC(saved);
}
