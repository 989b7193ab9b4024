// The edit list box (items edited in place by a popup editor on a second click or F2) and the
// rank list box (items reordered by dragging or by keys). Widget layer, lists.
#include "Gwlstbox.h"
#include "Gwutils.h"
#include "winapi.h"

// ---- TGwPopupEdit -------------------------------------------------------------------------------

TGwPopupEdit::TGwPopupEdit(TComponent* AOwner, TGwEditListBox* ListBox)
    : TCustomEdit(AOwner), FListBox(ListBox) {
    SetCtl3D(false);
    SetTabStop(false);
    SetBorderStyle(bsSingle);
    SetVisible(false);
}

void TGwPopupEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TGwPopupEdit::KeyDown(WORD& Key, TShiftState Shift) {
    switch (Key) {
    case VK_RETURN:
        Key = 0;
        FListBox->HideEditor(true);
        return;
    case VK_ESCAPE:
        Key = 0;
        FListBox->HideEditor(false);
        return;
    case VK_TAB:
    case VK_DOWN: Key = 0; return;
    default: TCustomEdit::KeyDown(Key, Shift);
    }
}

// The keys handled on their way down make no character.
void TGwPopupEdit::KeyPress(char& Key) {
    if (Key == '\r' || Key == '\x1b' || Key == '\t')
        Key = 0;
    else
        TCustomEdit::KeyPress(Key);
}

void TGwPopupEdit::WMKillFocus(TWMKillFocus& Message) {
    TCustomEdit::WMKillFocus(Message);
    FListBox->HideEditor(true);
}

void TGwPopupEdit::WMCancelMode(TMessage& Message) {
    TCustomEdit::WMCancelMode(Message);
    if (reinterpret_cast<TControl*>(Message.LParam) != this)
        FListBox->HideEditor(true);
}

// ---- TGwEditListBox -----------------------------------------------------------------------------

TGwEditListBox::TGwEditListBox(TComponent* AOwner)
    : TGwListBox(AOwner), FEditor(new TGwPopupEdit(this, this)),
      FClickTimer(std::make_unique<TTimer>(nullptr)) {
    FEditor->SetParent(this);
    FClickTimer->SetEnabled(false);
    FClickTimer->SetInterval(EditClickDelay);
    FClickTimer->OnTimer = [this](TObject* Sender) { ClickTimerFired(Sender); };
}

TGwEditListBox::~TGwEditListBox() { FClickTimer->OnTimer = nullptr; }

void TGwEditListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FEditor)
        FEditor = nullptr;
}

void TGwEditListBox::ShowEditor() {
    if (Count() == 0 || !FEditor)
        return;
    const int index = int(Perform(LB_GETCARETINDEX));
    if (index < 0)
        return;
    FEditIndex = index;
    Perform(LB_SETCARETINDEX, WPARAM(index));
    if (MultiSelect())
        UnselectAll();
    else
        SetItemIndex(-1);
    FEditor->SetText(Items()->Get(index));
    bool allow = true;
    DoShowingEditor(index, allow);
    if (!allow)
        return;
    TRect r = ItemRect(index);
    r.Top -= 2;
    r.Bottom += 2;
    SizeEditRect(index, r);
    FEditor->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetWindowPos(FEditor->Handle(), HWND_TOP, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FEditor->SetVisible(true);
    FEditing = true;
    if (FEditor->CanFocus())
        FEditor->SetFocus();
}

// Only an accepted edit changes the item and raises OnItemChanged.
void TGwEditListBox::HideEditor(bool Accept) {
    if (!FEditing)
        return;
    FEditing = false;
    int index = FEditIndex;
    if (Accept) {
        const std::string text = FEditor->Text();
        if (Sorted()) {
            TObject* object = Items()->GetObject(index);
            Items()->Delete(index);
            index = Items()->AddObject(text, object);
            FEditIndex = index;
            Perform(LB_SETCARETINDEX, WPARAM(index));
        } else {
            Items()->Put(index, text);
        }
    }
    DoHidingEditor();
    SetWindowPos(FEditor->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FEditor->SetVisible(false);
    if (CanFocus())
        SetFocus();
    if (MultiSelect())
        SetSelected(index, true);
    else
        SetItemIndex(index);
    if (Accept)
        ItemChanged(index);
}

void TGwEditListBox::DoShowingEditor(int Index, bool& Allow) {
    if (OnShowingEditor)
        OnShowingEditor(this, Index, Allow);
}

void TGwEditListBox::SizeEditRect(int Index, TRect& Rect) {
    if (OnSizeEditRect)
        OnSizeEditRect(this, Index, Rect);
}

void TGwEditListBox::DoHidingEditor() {
    if (OnHidingEditor)
        OnHidingEditor(this);
}

void TGwEditListBox::ItemChanged(int Index) {
    if (OnItemChanged)
        OnItemChanged(this, Index);
}

void TGwEditListBox::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE && FEditing) {
        HideEditor(false);
        Key = 0;
    } else if (Key == VK_DELETE && AllowDeleteByKbd) {
        DeleteSelectedItems();
        Key = 0;
    } else if (Key == VK_F2 && AllowEdit) {
        ShowEditor();
        Key = 0;
    } else {
        TGwListBox::KeyDown(Key, Shift);
    }
}

void TGwEditListBox::CMEnter(TMessage& Message) {
    TGwListBox::CMEnter(Message);
    FJustFocused = true;
}

// A click on the item clicked last arms the editor; the first click on an item only selects it.
// The second press of a double click follows DblClick and leaves the editor unarmed.
void TGwEditListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && !Shift.Contains(ssDouble)) {
        const int index = ItemIndex();
        if (FJustFocused)
            FSecondClick = false;
        else
            FSecondClick = index == FLastClick ? !FSecondClick : false;
        FJustFocused = false;
        FLastClick = index;
    }
    TGwListBox::MouseDown(Button, Shift, X, Y);
}

void TGwEditListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwListBox::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) {
        FClickTimer->SetEnabled(false);
        FClickTimer->SetEnabled(true);
    }
}

void TGwEditListBox::DblClick() {
    FSecondClick = false;
    TGwListBox::DblClick();
}

void TGwEditListBox::ClickTimerFired(TObject*) {
    FClickTimer->SetEnabled(false);
    if (AllowEdit && ItemIndex() == FLastClick && FSecondClick && ItemIndex() != -1)
        ShowEditor();
}

// ---- TGwRankListBox -----------------------------------------------------------------------------

TGwRankListBox::TGwRankListBox(TComponent* AOwner) : TGwListBox(AOwner) {
    SetExtendedSelect(false);
    SetMultiSelect(false);
    SetSorted(false);
}

void TGwRankListBox::MoveItem(int OldIndex, int NewIndex) {
    Items()->Move(OldIndex, NewIndex);
    SetItemIndex(NewIndex);
    if (OnMoveItem)
        OnMoveItem(this, OldIndex, NewIndex);
}

void TGwRankListBox::SetMoveOnDrag(bool Value) {
    if (FDragging)
        throw Exception("MoveOnDrag property cannot be changed while moving an item");
    FMoveOnDrag = Value;
}

void TGwRankListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwListBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || (ModifierKey == mkShift && !Shift.Contains(ssShift)))
        return;
    const int index = ItemAtPos(TPoint(X, Y), true);
    if (index < 0)
        return;
    FDragIndex = index;
    FSavedCursor = Screen->Cursor();
    Screen->SetCursor(DragCursor());
    FDragging = true;
    // The drag follows the pointer past the box's edges.
    SetMouseCapture(true);
}

// The pointer counts as inside the client area: above it is the first item, below it the last.
void TGwRankListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TGwListBox::MouseMove(Shift, X, Y);
    if (!FDragging || !FMoveOnDrag || Count() == 0)
        return;
    const TRect client = ClientRect();
    const TPoint p(Max(client.Left, Min(X, client.Right - 1)), Max(client.Top, Min(Y, client.Bottom - 1)));
    int target = ItemAtPos(p, true);
    if (target < 0)
        target = p.y < ItemRect(0).Top ? 0 : Count() - 1;
    if (target != FDragIndex) {
        MoveItem(FDragIndex, target);
        FDragIndex = ItemIndex();
    }
}

void TGwRankListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwListBox::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    FDragIndex = -1;
    SetMouseCapture(false);
    Screen->SetCursor(FSavedCursor);
}

void TGwRankListBox::KeyDown(WORD& Key, TShiftState Shift) {
    const int index = ItemIndex();
    if (Shift.Contains(ssShift) && !FDragging && index >= 0) {
        const int last = Count() - 1;
        int target = -1;
        if (Key == VK_UP && index > 0)
            target = index - 1;
        else if (Key == VK_DOWN && index < last)
            target = index + 1;
        else if (Key == VK_HOME && index > 0)
            target = 0;
        else if (Key == VK_END && index < last)
            target = last;
        if (target >= 0) {
            MoveItem(index, target);
            Key = 0;
            return;
        }
    }
    TGwListBox::KeyDown(Key, Shift);
}
