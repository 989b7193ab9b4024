// The dialog-button bar.
#include "Gwdlgbtn.h"

#include <algorithm>
#include <cstdint>

#include "actlist.h"

namespace {
int MulDiv(int Value, int M, int D) { return D == 0 ? Value : int((std::int64_t(Value) * M + D / 2) / D); }
} // namespace

TGwDialogButtons::TGwDialogButtons(TComponent* AOwner) : TGwCustomPanel(AOwner) {
    SetBorderOuter(fsNone);
    CreateButtons();
    TControl::SetAlign(alBottom);
    SetHeight(36);
    AdjustPanelSize();
    PositionButtons();
}

void TGwDialogButtons::CreateButtons() {
    FWidths.fill(FDefaultWidth);
    const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TGwBitBtn(this);
        b->SetParent(this);
        b->SetBounds(0, 0, FWidths[size_t(i)], FButtonHeight);
        b->SetCaption(BitBtnCaption(kinds[i]));
        b->ModalResult = BitBtnModalResult(kinds[i]);
        b->OnClick = [this, i](TObject*) { ButtonClick(i + 1); };
        FButtons[size_t(i)] = b;
    }
    Button(btOk)->SetDefault(true);
    Button(btCancel)->Cancel = true;
    Button(btHelp)->SetVisible(false);
}

void TGwDialogButtons::ButtonClick(int Index) {
    if (TBasicAction* a = Action(Index))
        a->Execute();
    const TNotifyEvent* events[] = {&OnClickOk, &OnClickCancel, &OnClickHelp};
    if (*events[Index - 1])
        (*events[Index - 1])(this);
}

TBasicAction* TGwDialogButtons::Action(int Index) const { return Button(Index)->Action(); }
void TGwDialogButtons::SetAction(int Index, TBasicAction* Value) { Button(Index)->SetAction(Value); }

void TGwDialogButtons::SetShowButton(int Index, bool Value) {
    Button(Index)->SetVisible(Value);
    AdjustPanelSize();
    PositionButtons();
}

void TGwDialogButtons::SetBtnWidth(int Index, int Value) {
    FWidths.at(size_t(Index - 1)) = Value;
    Button(Index)->SetWidth(Value);
    AdjustPanelSize();
    PositionButtons();
}

void TGwDialogButtons::SetButtonColor(TColor Value) {
    for (TGwBitBtn* b : FButtons)
        b->SetColor(Value);
}

void TGwDialogButtons::SetButtonFrameColor(TColor Value) {
    for (TGwBitBtn* b : FButtons)
        b->SetFrameColor(Value);
}

void TGwDialogButtons::SetHotTrack(bool Value) {
    for (TGwBitBtn* b : FButtons)
        b->SetHotTrack(Value);
}

void TGwDialogButtons::SetHighlightColor(TColor Value) {
    for (TGwBitBtn* b : FButtons)
        b->SetHighlightColor(Value);
}

void TGwDialogButtons::SetHotTrackColor(TColor Value) {
    for (TGwBitBtn* b : FButtons)
        b->HotTrackColor = Value;
}

void TGwDialogButtons::SetHotTrackColorType(TGwHotTrackColorType Value) {
    for (TGwBitBtn* b : FButtons)
        b->HotTrackColorType = Value;
}

void TGwDialogButtons::SetShowDivider(bool Value) {
    if (FShowDivider == Value)
        return;
    FShowDivider = Value;
    Invalidate();
}

void TGwDialogButtons::SetShowGlyphs(bool Value) {
    FShowGlyphs = Value;
    const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp};
    for (int i = 0; i < 3; ++i)
        FButtons[size_t(i)]->SetGlyph(Value ? GetBitBtnGlyph(kinds[i]) : nullptr);
    Invalidate();
}

void TGwDialogButtons::SetAlign(TAlign Value) {
    TControl::SetAlign(Value);
    AdjustPanelSize();
    PositionButtons();
    Invalidate();
}

void TGwDialogButtons::AdjustPanelSize() {
    if (!FButtons[0])
        return;
    switch (Align()) {
    case alLeft:
    case alRight: {
        int widest = 0;
        for (int i = 0; i < 3; ++i)
            if (FButtons[size_t(i)]->Visible())
                widest = std::max(widest, FWidths[size_t(i)]);
        SetWidth(widest + 12);
        break;
    }
    case alTop:
    case alBottom: SetHeight(FButtonHeight + 11); break;
    default: break;
    }
}

void TGwDialogButtons::PositionButtons() {
    if (!FButtons[0])
        return;
    const int h = FButtonHeight;
    int visible = 0;
    for (TGwBitBtn* b : FButtons)
        visible += b->Visible() ? 1 : 0;
    int left[3] = {}, top[3] = {};
    if (Align() == alLeft || Align() == alRight) {
        left[0] = left[1] = left[2] = 6;
        top[0] = 8;
        top[1] = Button(btOk)->Visible() ? h + 16 : 8;
        top[2] = (visible - 1) * (h + 8) + 8;
    } else {
        // From the right edge: each button is followed by an 8-pixel gap.
        int x = Width();
        for (int i = 2; i >= 0; --i) {
            top[i] = 6;
            if (FButtons[size_t(i)]->Visible())
                x -= FWidths[size_t(i)] + 8;
            left[i] = x;
        }
        if (UseRightToLeftAlignment()) {
            left[2] = 8;
            for (int i = 0; i < 2; ++i)
                left[i] = Width() - left[i] - FWidths[size_t(i)];
        }
    }
    for (int i = 0; i < 3; ++i) {
        TGwBitBtn* b = FButtons[size_t(i)];
        if (b->Visible())
            b->SetBounds(left[i], top[i], FWidths[size_t(i)], h);
        else
            b->SetBounds(0, 0, 0, 0);
    }
}

void TGwDialogButtons::Paint() {
    TGwCustomPanel::Paint();
    if (!FShowDivider)
        return;
    TSide side = sdTop;
    switch (Align()) {
    case alTop: side = sdBottom; break;
    case alLeft: side = sdRight; break;
    case alRight: side = sdLeft; break;
    default: break;
    }
    DrawBorderSides(Canvas(), ClientRect(), fsGroove, TSides{side});
}

void TGwDialogButtons::Loaded() {
    TGwCustomPanel::Loaded();
    PositionButtons();
}

void TGwDialogButtons::Resize() {
    TGwCustomPanel::Resize();
    PositionButtons();
}

void TGwDialogButtons::ChangeScale(int M, int D) {
    TGwCustomPanel::ChangeScale(M, D);
    FButtonHeight = MulDiv(FButtonHeight, M, D);
    FDefaultWidth = MulDiv(FDefaultWidth, M, D);
    for (int& w : FWidths)
        w = MulDiv(w, M, D);
    PositionButtons();
}
