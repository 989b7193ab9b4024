// The font list box: the screen's faces with type marks, drawn by name, in their own face or both,
// a floating preview of the focused face, and recently used faces at the top. Widget layer, lists.
#include "Gwlstbox.h"
#include "Gwscreendc.h"
#include "Gwutils.h"

TGwFontListBox::TGwFontListBox(TComponent* AOwner)
    : TGwCustomListBox(AOwner), FSelectedFont(std::make_unique<TFont>()) {
    SetStyle(lbOwnerDrawFixed);
    SetSorted(true);
    FSelectedFont->SetSize(8);
    LoadFontMarks(FMarks);
    if (!ComponentState().Contains(csDesigning)) {
        FPreview = new TGwPreviewFontPanel(this);
        FPreview->Control = this;
        FPreview->SetParent(this);
    }
}

TGwFontListBox::~TGwFontListBox() = default;

void TGwFontListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPreviewEdit)
        FPreviewEdit = nullptr;
    if (AComponent == FPreview)
        FPreview = nullptr;
}

// ---- the faces ----------------------------------------------------------------------------------

void TGwFontListBox::LoadFonts() {
    Items()->BeginUpdate();
    Clear();
    FMRUIndex = -1;
    AddFontFaces(Items(), FFontType, FShowSymbolFonts);
    Items()->EndUpdate();
}

// A new window lists the faces again and keeps the selected one.
void TGwFontListBox::CreateWnd() {
    TGwCustomListBox::CreateWnd();
    LoadFonts();
    if (!FSavedName.empty()) {
        SetFontName(FSavedName);
        FSavedName.clear();
    }
}

void TGwFontListBox::DestroyWnd() {
    FSavedName = FontName();
    TGwCustomListBox::DestroyWnd();
}

void TGwFontListBox::SetFontDevice(TGwFontDevice Value) {
    if (Value == FFontDevice)
        return;
    FFontDevice = Value;
    RecreateWnd();
}

void TGwFontListBox::SetFontType(TGwFontType Value) {
    if (Value == FFontType)
        return;
    FFontType = Value;
    RecreateWnd();
}

void TGwFontListBox::SetShowSymbolFonts(bool Value) {
    if (Value == FShowSymbolFonts)
        return;
    FShowSymbolFonts = Value;
    RecreateWnd();
}

void TGwFontListBox::SetShowStyle(TGwShowStyle Value) {
    if (Value == FShowStyle)
        return;
    FShowStyle = Value;
    Invalidate();
}

void TGwFontListBox::CMFontChanged(TMessage& Message) {
    TGwCustomListBox::CMFontChanged(Message);
    RecreateWnd();
}

std::string TGwFontListBox::FontName() const {
    const int index = ItemIndex();
    return index < 0 ? std::string() : Items()->Get(index);
}

TFont* TGwFontListBox::SelectedFont() {
    if (ItemIndex() < 0)
        return nullptr;
    FSelectedFont->SetName(FontName());
    FSelectedFont->SetSize(FontSize);
    FSelectedFont->SetStyle(FontStyle);
    return FSelectedFont.get();
}

void TGwFontListBox::SetSelectedFont(const TFont* Value) {
    if (Value)
        SetFontName(Value->Name());
}

// The region has no upper bound: every face chosen from below it joins it.
void TGwFontListBox::AddFontToMRUList() {
    const int selected = ItemIndex();
    if (!MaintainMRUFonts || selected <= 0)
        return;
    const std::string name = Items()->Get(selected);
    int found = -1;
    for (int i = 0; i <= FMRUIndex && found < 0; ++i)
        if (Items()->Get(i) == name)
            found = i;
    if (found >= 0) {
        Items()->Move(found, 0);
    } else {
        Items()->InsertObject(0, name, Items()->GetObject(selected));
        ++FMRUIndex;
    }
    SetItemIndex(0);
}

// A face is chosen by a click or by Enter.
void TGwFontListBox::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomListBox::KeyDown(Key, Shift);
    if (Key == VK_RETURN)
        AddFontToMRUList();
}

// ---- drawing ------------------------------------------------------------------------------------

void TGwFontListBox::DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    TCanvas* canvas = Canvas();
    TRect r = Rect;
    r.Left += 24;
    canvas->FillRect(r);
    if (Index < 0 || Index >= Count())
        return;
    const auto pitch = unsigned(reinterpret_cast<std::uintptr_t>(Items()->GetObject(Index)));
    const TRect box(0, 0, 12, 12);
    TBitmap mark;
    mark.SetSize(12, 12);
    mark.Canvas()->Brush()->SetColor(Color());
    mark.Canvas()->BrushCopy(box, FMarks[size_t(FontMarkOf(pitch, FFontDevice))].get(), box, clOlive);
    canvas->Draw(r.Left - 20, r.Top + (r.Height() - 12) / 2, &mark);
    const std::string name = Items()->Get(Index);
    const bool editField = State.Contains(odComboBoxEdit);
    TGwShowStyle style = FShowStyle == ssFontPreview ? ssFontName : FShowStyle;
    if (editField && style == ssFontNameAndSample)
        style = ssFontName;
    const TColor text = Enabled() ? canvas->Font()->Color() : clBtnShadow;
    DrawFontFace(canvas, r, name, style, Font(), text, Enabled() ? clWindowText : clBtnShadow);
    if (FShowStyle == ssFontPreview && FPreview && State.Contains(odFocused)) {
        FPreview->Font()->SetName(name);
        UpdatePreviewText();
    }
    if (MaintainMRUFonts && !editField && Index == FMRUIndex) {
        canvas->MoveTo(0, r.Bottom - 1);
        canvas->LineTo(r.Right, r.Bottom - 1);
    }
}

// ---- preview ------------------------------------------------------------------------------------

void TGwFontListBox::SetPreviewEdit(TCustomEdit* Value) {
    FPreviewEdit = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwFontListBox::UpdatePreviewText() {
    if (!FPreview)
        return;
    std::string sample = PreviewText.empty() ? "AaBbYyZz" : PreviewText;
    FPreview->SetAlignment(taCenter);
    if (FPreviewEdit) {
        FPreview->SetAlignment(taLeftJustify);
        const std::string selected = FPreviewEdit->SelText();
        sample = !selected.empty() ? selected : FPreviewEdit->Text().substr(0, 10);
    } else {
        TScreenDC dc(FPreview->Font());
        if (dc->TextWidth(sample) >= PreviewWidth)
            sample = "AaBbYyZ";
        if (dc->TextWidth(sample) >= PreviewWidth)
            sample = "AaBbYy";
    }
    FPreview->SetCaption(sample);
}

// Right of the box, or left of it where the right would leave the monitor's work area.
void TGwFontListBox::ShowPreviewPanel() {
    if (!FPreview || Count() == 0)
        return;
    const TPoint corner = Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : TPoint(Left(), Top());
    int x = corner.x + Width();
    const TMonitor* monitor = GetMonitorContainingPoint(TPoint(x, corner.y));
    const int right = monitor ? GetMonitorWorkArea(monitor).Right : GetActiveWorkAreaWidth(Parent());
    if (x + PreviewWidth > right)
        x = corner.x - PreviewWidth;
    FPreview->Font()->SetSize(PreviewFontSize);
    FPreview->SetBounds(x - 1, corner.y, PreviewWidth, PreviewHeight);
    SetWindowPos(FPreview->Handle(), HWND_TOP, x - 1, corner.y, PreviewWidth, PreviewHeight,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FPreviewShown = true;
}

void TGwFontListBox::HidePreviewPanel() {
    if (!FPreview || !FPreviewShown)
        return;
    SetWindowPos(FPreview->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
    FPreviewShown = false;
}

void TGwFontListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    UpdatePreviewText();
    TGwCustomListBox::MouseDown(Button, Shift, X, Y);
    if (FShowStyle == ssFontPreview)
        ShowPreviewPanel();
}

void TGwFontListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwCustomListBox::MouseUp(Button, Shift, X, Y);
    HidePreviewPanel();
    if (Button == mbLeft && ItemAtPos(TPoint(X, Y), true) >= 0)
        AddFontToMRUList();
}

void TGwFontListBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_HIDEPREVIEWPANEL) {
        HidePreviewPanel();
        return;
    }
    if (Message.Msg == CM_CANCELMODE && reinterpret_cast<TControl*>(Message.LParam) != this)
        HidePreviewPanel();
    TGwCustomListBox::Dispatch(Message);
}
