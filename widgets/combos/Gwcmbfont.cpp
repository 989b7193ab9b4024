// The font combo box: the faces of the screen with a type glyph, drawn by name, in their own face
// or both, recently chosen faces kept at the top, and a floating preview beside the open list.
#include "Gwcmbobx.h"
#include "Gwgrafx.h"
#include "Gwutils.h"
#include "winapi.h"

// ---- TGwFontComboBox -------------------------------------------------------------------------------

TGwFontComboBox::TGwFontComboBox(TComponent* AOwner)
    : TGwCustomComboBox(AOwner), FSelectedFont(std::make_unique<TFont>()) {
    SetStyle(csOwnerDrawFixed);
    SetSorted(true);
    SetDropDownCount(14);
    LoadBitmaps();
    if (!ComponentState().Contains(csDesigning)) {
        FPreview = new TGwPreviewFontPanel(this);
        FPreview->Control = this;
    }
}

TGwFontComboBox::~TGwFontComboBox() = default;

void TGwFontComboBox::LoadBitmaps() { LoadFontMarks(FGlyphs); }

void TGwFontComboBox::LoadFonts() {
    std::string keep = FontName();
    Items()->BeginUpdate();
    Items()->Clear();
    FMRUIndex = -1;
    // There is no printer here: both devices list the screen's faces.
    AddFontFaces(Items(), FFontType, FShowSymbolFonts);
    Items()->EndUpdate();
    if (!keep.empty())
        SetItemIndex(Items()->IndexOf(keep));
}

void TGwFontComboBox::SetFontDevice(TGwFontDevice Value) {
    if (Value == FFontDevice)
        return;
    FFontDevice = Value;
    RecreateWnd();
}

void TGwFontComboBox::SetFontType(TGwFontType Value) {
    if (Value == FFontType)
        return;
    FFontType = Value;
    RecreateWnd();
}

void TGwFontComboBox::SetShowSymbolFonts(bool Value) {
    if (Value == FShowSymbolFonts)
        return;
    FShowSymbolFonts = Value;
    RecreateWnd();
}

void TGwFontComboBox::CreateWnd() {
    TGwCustomComboBox::CreateWnd();
    LoadFonts();
    if (!FKeptName.empty()) {
        SetItemIndex(Items()->IndexOf(FKeptName));
        FKeptName.clear();
    }
}

void TGwFontComboBox::DestroyWnd() {
    FKeptName = FontName();
    TGwCustomComboBox::DestroyWnd();
}

void TGwFontComboBox::CMFontChanged(TMessage& Message) {
    TGwCustomComboBox::CMFontChanged(Message);
    RecreateWnd();
}

std::string TGwFontComboBox::FontName() const {
    return ItemIndex() < 0 ? std::string() : Items()->Get(ItemIndex());
}

void TGwFontComboBox::SetFontName(const std::string& Value) { SetItemIndex(Items()->IndexOf(Value)); }

TFont* TGwFontComboBox::SelectedFont() {
    if (ItemIndex() < 0)
        return nullptr;
    FSelectedFont->SetName(FontName());
    FSelectedFont->SetSize(FontSize);
    FSelectedFont->SetStyle(FontStyle);
    return FSelectedFont.get();
}

void TGwFontComboBox::SetSelectedFont(TFont* Value) {
    if (Value)
        SetFontName(Value->Name());
}

void TGwFontComboBox::SetPreviewEdit(TCustomEdit* Value) {
    FPreviewEdit = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwFontComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPreviewEdit)
        FPreviewEdit = nullptr;
    if (AComponent == FPreview)
        FPreview = nullptr;
}

void TGwFontComboBox::UpdatePreviewText() {
    if (!FPreview)
        return;
    if (FPreviewEdit) {
        FPreview->SetAlignment(taLeftJustify);
        std::string sel = FPreviewEdit->SelText();
        FPreview->SetCaption(!sel.empty() ? sel : FPreviewEdit->Text().substr(0, 10));
        return;
    }
    FPreview->SetAlignment(taCenter);
    std::string text = PreviewText.empty() ? "AaBbYyZz" : PreviewText;
    TCanvas measure;
    measure.Font()->Assign(FPreview->Font());
    if (measure.TextWidth(text) >= PreviewWidth)
        text = "AaBbYy";
    FPreview->SetCaption(text);
}

// Beside the open list, on the left when the right would leave the monitor's work area.
void TGwFontComboBox::ShowPreviewPanel() {
    if (!FPreview || Items()->Count() == 0)
        return;
    TPoint origin = ClientToScreen(TPoint(0, 0));
    int x = origin.x + (DropDownWidth() != 0 ? DropDownWidth() : Width());
    int y = origin.y;
    TMonitor* monitor = GetMonitorContainingPoint(TPoint(x, y));
    int right = monitor ? GetMonitorWorkArea(monitor).Right : GetActiveWorkAreaWidth(this);
    if (x + PreviewWidth > right)
        x = origin.x - PreviewWidth;
    FPreview->Font()->SetSize(PreviewFontSize);
    if (!FPreview->Parent())
        FPreview->SetParent(GetParentForm(this));
    FPreview->SetBounds(x - 1, y, PreviewWidth, PreviewHeight);
    SetWindowPos(FPreview->Handle(), HWND_TOP, x - 1, y, PreviewWidth, PreviewHeight,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FPreview->SetVisible(true);
}

void TGwFontComboBox::HidePreviewPanel() {
    if (!FPreview || !FPreview->Visible())
        return;
    if (FPreview->HandleAllocated())
        SetWindowPos(FPreview->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
    FPreview->SetVisible(false);
}

void TGwFontComboBox::DropDown() {
    UpdatePreviewText();
    TGwCustomComboBox::DropDown();
    if (ShowStyle == ssFontPreview)
        ShowPreviewPanel();
}

// The chosen face goes to the top; a face from the lower list makes the recently used part grow.
void TGwFontComboBox::CloseUp() {
    HidePreviewPanel();
    TGwCustomComboBox::CloseUp();
    const int selected = ItemIndex();
    if (!MaintainMRUFonts || selected <= 0)
        return;
    const std::string name = Items()->Get(selected);
    int found = -1;
    for (int i = 0; i <= FMRUIndex && found < 0; ++i)
        if (Items()->Get(i) == name)
            found = i;
    if (found >= 0)
        Items()->Move(found, 0);
    else {
        Items()->InsertObject(0, name, Items()->GetObject(selected));
        if (selected > FMRUIndex)
            ++FMRUIndex;
    }
    SetItemIndex(0);
}

void TGwFontComboBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_HIDEPREVIEWPANEL) {
        HidePreviewPanel();
        return;
    }
    if (Message.Msg == CM_CANCELMODE && reinterpret_cast<TControl*>(Message.LParam) != this)
        HidePreviewPanel();
    TGwCustomComboBox::Dispatch(Message);
}

void TGwFontComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* C = Canvas();
    const bool selected = State.Contains(odSelected);
    C->Brush()->SetColor(selected ? clHighlight : Color());
    C->FillRect(Rect);
    if (Index < 0 || Index >= Items()->Count())
        return;
    TRect r(Rect.Left + 24, Rect.Top, Rect.Right, Rect.Bottom - 1);
    const auto pitch = unsigned(reinterpret_cast<std::uintptr_t>(Items()->GetObject(Index)));
    const int glyph = FontMarkOf(pitch, FFontDevice);
    const int gy = r.Top + (r.Height() - 12) / 2;
    DrawFullTransparentBitmap(C, FGlyphs[glyph].get(), TRect(r.Left - 20, gy, r.Left - 8, gy + 12),
                              TRect(0, 0, 12, 12), clOlive);
    const TColor text = !Enabled() ? clBtnShadow : selected ? clHighlightText : Font()->Color();
    const std::string name = Items()->Get(Index);
    DrawFontFace(C, r, name, ShowStyle, Font(), text, Enabled() ? clWindowText : clBtnShadow);
    if (ShowStyle == ssFontPreview && FPreview && State.Contains(odFocused) &&
        !State.Contains(odComboBoxEdit)) {
        FPreview->Font()->SetName(name);
        UpdatePreviewText();
    }
    if (MaintainMRUFonts && Index == FMRUIndex && !State.Contains(odComboBoxEdit)) {
        C->Pen()->SetColor(clWindowText);
        C->MoveTo(Rect.Left, Rect.Bottom - 1);
        C->LineTo(Rect.Right, Rect.Bottom - 1);
    }
}
