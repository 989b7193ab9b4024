// The toolbar-customising dialog (widget layer, bars).
#include "Gwtoolbarform.h"

#include <algorithm>

#include "Gwbars.h"
#include "Gwpanel.h"

namespace {

template <class T> T* Make(TGwFrmCustomizeToolbar* Form, int L, int T_, int W, int H) {
    auto* c = new T(Form);
    c->SetParent(Form);
    c->SetBounds(L, T_, W, H);
    return c;
}

// The first frame of a glyph strip, its bottom-left pixel as the see-through colour.
void DrawGlyphFrame(TCanvas* C, int X, int Y, TBitmap* Glyph, int Frames, int Size = 0) {
    if (!Glyph || Glyph->Width() == 0 || Glyph->Height() == 0)
        return;
    const int w = Glyph->Width() / std::max(Frames, 1), h = Glyph->Height();
    const TColor key = Glyph->Canvas()->GetPixel(0, h - 1);
    const int tw = Size ? Size : w, th = Size ? Size : h;
    for (int y = 0; y < std::min(h, th); ++y)
        for (int x = 0; x < std::min(w, tw); ++x) {
            const TColor p = Glyph->Canvas()->GetPixel(x, y);
            if (p != key)
                C->SetPixel(X + x, Y + y, p);
        }
}

// The list's spacer picture: a gap between two bars, grooved or not, in two frames (normal and
// disabled) on a see-through olive ground.
void MakeSpacerGlyph(TSpeedButton* Button, bool Grooved) {
    TBitmap glyph;
    glyph.SetSize(32, 16);
    TCanvas* c = glyph.Canvas();
    const auto fill = [c](TColor Colour, const TRect& R) {
        c->Brush()->SetColor(Colour);
        c->FillRect(R);
    };
    fill(clOlive, TRect(0, 0, 32, 16));
    for (int x : {0, 16}) {
        const TColor ink = x == 0 ? clBlack : clGray;
        fill(ink, TRect(x + 2, 3, x + 5, 13));
        fill(ink, TRect(x + 11, 3, x + 14, 13));
        if (Grooved) {
            fill(clBtnShadow, TRect(x + 7, 1, x + 8, 15));
            fill(clBtnHighlight, TRect(x + 8, 1, x + 9, 15));
        }
    }
    Button->SetGlyph(&glyph);
    Button->SetNumGlyphs(2);
    Button->SetFlat(true);
}

} // namespace

TGwFrmCustomizeToolbar::TGwFrmCustomizeToolbar(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetClientWidth(337);
    SetClientHeight(280);
    Font()->SetName("Verdana");
    Font()->SetHeight(-11);
    SetColor(clBtnFace);
    SetShowHint(true);
    SetPosition(poDesigned);
    BtnSpacer = Make<TSpeedButton>(this, 359, 227, 25, 25);
    BtnSpacer->SetVisible(false);
    BtnSpacer->SetHint("Add a Spacer");
    MakeSpacerGlyph(BtnSpacer, false);
    BtnGrooveSpacer = Make<TSpeedButton>(this, 384, 227, 25, 25);
    BtnGrooveSpacer->SetVisible(false);
    BtnGrooveSpacer->SetHint("Add a Grooved Spacer");
    MakeSpacerGlyph(BtnGrooveSpacer, true);
    LblHint = Make<TGwLabel>(this, 8, 8, 200, 13);
    LblTextOptions = Make<TGwLabel>(this, 8, 236, 200, 13);
    LstControls = Make<TGwCheckList>(this, 8, 24, 225, 205);
    LstControls->SetItemHeight(20);
    LstControls->SetDragMode(dmAutomatic);
    LstControls->SetTabOrder(0);
    CbxTextOptions = Make<TGwComboBox>(this, 8, 252, 225, 21);
    CbxTextOptions->SetStyle(csDropDownList);
    CbxTextOptions->SetTabOrder(1);
    BtnClose = Make<TGwButton>(this, 244, 24, 85, 25);
    BtnClose->ModalResult = mrOk;
    BtnClose->SetHotTrack(true);
    BtnClose->SetTabOrder(2);
    BtnMoveUp = Make<TGwButton>(this, 244, 84, 85, 25);
    BtnMoveUp->SetHotTrack(true);
    BtnMoveUp->SetTabOrder(3);
    BtnMoveDown = Make<TGwButton>(this, 244, 116, 85, 25);
    BtnMoveDown->SetHotTrack(true);
    BtnMoveDown->SetTabOrder(4);
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);

    LstControls->OnChange = [this](TObject* s, int i, TCheckBoxState st) { LstControlsChange(s, i, st); };
    LstControls->OnClick = [this](TObject* s) { LstControlsClick(s); };
    LstControls->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        LstControlsMouseDown(s, b, sh, x, y);
    };
    LstControls->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
        LstControlsDragOver(s, src, x, y, st, a);
    };
    LstControls->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
        LstControlsDragDrop(s, src, x, y);
    };
    LstControls->OnEndDrag = [this](TObject* s, TObject* t, int x, int y) { LstControlsEndDrag(s, t, x, y); };
    LstControls->OnDrawItem = [this](TWinControl* c, int i, TRect r, TOwnerDrawState st) {
        ListBoxDrawItem(c, i, r, st);
    };
    CbxTextOptions->OnClick = [this](TObject* s) { CbxTextOptionsClick(s); };
    BtnMoveUp->OnClick = [this](TObject* s) { BtnMoveUpClick(s); };
    BtnMoveDown->OnClick = [this](TObject* s) { BtnMoveDownClick(s); };
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TGwFrmCustomizeToolbar::Reposition() {
    if (!Toolbar || !OwnerControl)
        return;
    const TRect r(Toolbar->Left(), Toolbar->Top(), Toolbar->Left() + Toolbar->Width(),
                  Toolbar->Top() + Toolbar->Height());
    TPoint p;
    switch (Toolbar->Align()) {
    case alBottom: p = TPoint(r.Left, r.Top - Height() - 5); break;
    case alLeft: p = TPoint(r.Right, r.Top); break;
    case alRight: p = TPoint(r.Left - Width() - 5, r.Top); break;
    default: p = TPoint(r.Left, r.Bottom); break;
    }
    p = OwnerControl->ClientToScreen(p);
    const TRect work = Screen->WorkAreaRect();
    int left = std::max(p.x + 15, 0), top = std::max(p.y + 25, 0);
    left = std::min(left, work.Right - Width());
    top = std::min(top, work.Bottom - Height());
    SetBounds(left, top, Width(), Height());
}

void TGwFrmCustomizeToolbar::UpdateControls(TGwCustomizeCaptions* Captions, bool ShowTextOptions) {
    SetCaption(Captions->Caption(TGwCustomizeCaptions::Title));
    LblHint->SetCaption(Captions->Caption(TGwCustomizeCaptions::Hint));
    BtnClose->SetCaption(Captions->Caption(TGwCustomizeCaptions::Close));
    BtnMoveUp->SetCaption(Captions->Caption(TGwCustomizeCaptions::MoveUp));
    BtnMoveDown->SetCaption(Captions->Caption(TGwCustomizeCaptions::MoveDown));
    LblTextOptions->SetCaption(Captions->Caption(TGwCustomizeCaptions::TextOptions));
    CbxTextOptions->Items()->Clear();
    for (int i = TGwCustomizeCaptions::NoTextLabels; i <= TGwCustomizeCaptions::SelectiveTextOnRight; ++i)
        CbxTextOptions->Items()->Add(Captions->Caption(i));
    if (Toolbar && Toolbar->TextOptions() != ttoCustom)
        CbxTextOptions->SetItemIndex(int(Toolbar->TextOptions()));
    if (!ShowTextOptions) {
        CbxTextOptions->SetVisible(false);
        LblTextOptions->SetVisible(false);
        SetClientHeight(LstControls->Top() + LstControls->Height() + 8);
    }
    LstControls->Items()->Clear();
    TGwToolbarControlList* list = Toolbar ? Toolbar->ToolbarControls() : nullptr;
    for (int i = 0; list && i < list->Count(); ++i) {
        TControl* c = list->Controls(i);
        std::string text;
        if (auto* b = dynamic_cast<TGwToolButton*>(c))
            text = b->Caption();
        if (text.empty() && c)
            text = dynamic_cast<TGwSpacer*>(c) ? "Spacer" : !c->Hint().empty() ? c->Hint() : c->Name();
        LstControls->AddEx(text, c && c->Visible(), true);
    }
    const bool any = LstControls->Items()->Count() > 0;
    BtnMoveUp->SetEnabled(any);
    BtnMoveDown->SetEnabled(any);
    if (any) {
        LstControls->SetItemIndex(0);
        EnableMoveButtons(0);
    }
}

void TGwFrmCustomizeToolbar::EnableMoveButtons(int Index) {
    BtnMoveUp->SetEnabled(Index >= 1);
    BtnMoveDown->SetEnabled(Index < LstControls->Items()->Count() - 1);
}

void TGwFrmCustomizeToolbar::LstControlsChange(TObject*, int Index, TCheckBoxState NewState) {
    TGwToolbarControlList* list = Toolbar ? Toolbar->ToolbarControls() : nullptr;
    if (!list || Index < 0 || Index >= list->Count())
        return;
    if (TControl* c = list->Controls(Index))
        c->SetVisible(NewState == cbChecked);
    Toolbar->PositionControls();
}

void TGwFrmCustomizeToolbar::LstControlsClick(TObject*) { EnableMoveButtons(LstControls->ItemIndex()); }

void TGwFrmCustomizeToolbar::MoveItem(int From, int To) {
    WithinUpdate(LstControls->Items(), [&] {
        LstControls->Items()->Move(From, To);
        if (Toolbar) {
            Toolbar->ToolbarControls()->Move(From, To);
            Toolbar->PositionControls();
        }
        LstControls->SetItemIndex(To);
    });
    LstControls->Invalidate();
    EnableMoveButtons(To);
}

void TGwFrmCustomizeToolbar::MoveSelected(int Step) {
    const int i = LstControls->ItemIndex();
    const int to = i + Step;
    if (i < 0 || to < 0 || to >= LstControls->Items()->Count())
        return;
    MoveItem(i, to);
}

void TGwFrmCustomizeToolbar::LstControlsMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    DragIndex = LstControls->ItemIndex();
}

void TGwFrmCustomizeToolbar::LstControlsDragOver(TObject*, TObject* Source, int X, int Y, TDragState,
                                                 bool& Accept) {
    DropIndex = LstControls->ItemAtPos(TPoint(X, Y), true);
    Accept = Source == LstControls && DropIndex != -1;
    if (!Accept)
        return;
    const int h = LstControls->ItemHeight();
    if (Y > LstControls->Height() - h) {
        ScrollUp = false;
        Timer1->SetEnabled(true);
    } else if (Y < h) {
        ScrollUp = true;
        Timer1->SetEnabled(true);
    } else {
        Timer1->SetEnabled(false);
    }
    LstControls->SetItemIndex(DropIndex);
}

void TGwFrmCustomizeToolbar::Timer1Timer(TObject*) {
    const int top = LstControls->TopIndex();
    if (ScrollUp) {
        if (top == 0)
            Timer1->SetEnabled(false);
        else
            LstControls->SetTopIndex(top - 1);
    } else if (top < LstControls->Items()->Count() - 1) {
        LstControls->SetTopIndex(top + 1);
    } else {
        Timer1->SetEnabled(false);
    }
}

void TGwFrmCustomizeToolbar::LstControlsDragDrop(TObject*, TObject*, int, int) {
    const int count = LstControls->Items()->Count();
    if (DropIndex != -1 && DragIndex >= 0 && DragIndex < count && DropIndex < count)
        MoveItem(DragIndex, DropIndex);
    else
        LstControls->Invalidate();
}

void TGwFrmCustomizeToolbar::LstControlsEndDrag(TObject*, TObject*, int, int) { Timer1->SetEnabled(false); }

void TGwFrmCustomizeToolbar::CbxTextOptionsClick(TObject*) {
    const int i = CbxTextOptions->ItemIndex();
    if (Toolbar && i >= 0 && i <= 2)
        Toolbar->SetTextOptions(TGwToolbarTextOptions(i));
}

void TGwFrmCustomizeToolbar::ListBoxDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState) {
    TCanvas* c = LstControls->Canvas();
    c->FillRect(Rect);
    TGwToolbarControlList* list = Toolbar ? Toolbar->ToolbarControls() : nullptr;
    TControl* control = list && Index >= 0 && Index < list->Count() ? list->Controls(Index) : nullptr;
    const int x = Rect.Left + 2, y = Rect.Top + 2;
    if (auto* tool = dynamic_cast<TGwToolButton*>(control)) {
        TCustomImageList* images = tool->Images() ? tool->Images() : Toolbar->Images();
        if (images && tool->ImageIndex() >= 0)
            images->Draw(c, x, y, tool->ImageIndex(), true);
    } else if (auto* speed = dynamic_cast<TSpeedButton*>(control)) {
        DrawGlyphFrame(c, x, y, speed->Glyph(), speed->NumGlyphs());
    } else if (auto* spacer = dynamic_cast<TGwSpacer*>(control)) {
        TSpeedButton* source = spacer->Grooved() ? BtnGrooveSpacer : BtnSpacer;
        DrawGlyphFrame(c, x, y, source->Glyph(), source->NumGlyphs(), 16);
    }
    if (Index < 0 || Index >= LstControls->Items()->Count())
        return;
    const std::string text = LstControls->Items()->Strings(Index);
    c->TextOut(Rect.Left + 28 + 2, Rect.Top + (LstControls->ItemHeight() - c->TextHeight("Pp")) / 2, text);
}
