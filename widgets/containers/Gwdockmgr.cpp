// Panel dock manager (widget layer, containers).
#include "Gwdockmgr.h"

#include "messages.h"

TGwPanelDockManager::TGwPanelDockManager(TWinControl* ADockSite)
    : TDockTree(ADockSite), FPanel(dynamic_cast<TGwCustomPanel*>(ADockSite)) {
    SetGrabberSize(TitleSize);
    FCaptionFont.SetName("Verdana");
    FCaptionFont.SetSize(8);
    FGlyphFont.SetName("Marlett");
    FGlyphFont.SetSize(8);
}

TGwPanelDockManager::~TGwPanelDockManager() = default;

void TGwPanelDockManager::WindowProc(TMessage& Message) {
    // The title colours follow the focus, which these two messages may have moved.
    if (Message.Msg == WM_COMMAND || Message.Msg == WM_MOUSEACTIVATE)
        DockSite()->Invalidate();
    TDockTree::WindowProc(Message);
}

void TGwPanelDockManager::AdjustDockRect(TControl*, TRect& ARect) {
    const TAlign a = DockSite()->Align();
    if (a == alTop || a == alBottom)
        ARect.Left += TitleSize;
    else
        ARect.Top += TitleSize;
}

void TGwPanelDockManager::SetTitleColours(TCanvas* Canvas, TControl* Control) {
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    const bool inactive = windowed && !windowed->Focused();
    Canvas->Font()->Assign(&FCaptionFont);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(inactive ? clInactiveCaption : clActiveCaption);
    Canvas->Font()->SetColor(inactive ? clInactiveCaptionText : clCaptionText);
}

void TGwPanelDockManager::DrawCloseGlyph(TCanvas* Canvas, const TRect& Rect) {
    Canvas->TextRect(Rect, Rect.Left, Rect.Top, "r");
}

void TGwPanelDockManager::DrawVertTitle(TCanvas* Canvas, const std::string& Caption, const TRect& Rect) {
    const unsigned saved = Canvas->SetTextAlign(TA_BASELINE);
    Canvas->Font()->SetOrientation(900);
    Canvas->Font()->SetColor(clCaptionText);
    Canvas->TextRect(Rect, Rect.Right - 2, Rect.Bottom - 3, Caption);
    Canvas->Font()->SetOrientation(0);
    Canvas->SetTextAlign(saved);
}

void TGwPanelDockManager::PaintDockFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect) {
    if (!FPanel || !FPanel->ShowDockClientCaptions) {
        TDockTree::PaintDockFrame(Canvas, Control, ARect);
        return;
    }
    SetTitleColours(Canvas, Control);
    const std::string caption = Control ? Control->Caption() : std::string();
    const TAlign a = DockSite()->Align();
    if (a == alTop || a == alBottom) {
        DrawVertTitle(Canvas, caption, TRect(ARect.Left, ARect.Top, ARect.Left + TitleSize, ARect.Bottom));
        Canvas->Font()->SetName("Marlett");
        DrawCloseGlyph(Canvas, TRect(ARect.Left + 1, ARect.Top + 1, ARect.Left + 12, ARect.Top + 12));
    } else {
        const TRect bar(ARect.Left, ARect.Top, ARect.Right, ARect.Top + TitleSize);
        Canvas->TextRect(bar, ARect.Left + 2, ARect.Top, caption);
        Canvas->Font()->SetName("Marlett");
        DrawCloseGlyph(Canvas, TRect(ARect.Right - 15, ARect.Top + 1, ARect.Right - 2, ARect.Top + 12));
    }
}

TRect TGwCustomPanel::GetClientRect() {
    TRect r = TCustomPanel::GetClientRect();
    if (DockSite())
        FixClientRect(r, false);
    return r;
}

TDockTree* TGwCustomPanel::CreateDockManager() {
    if (!DockManager() && DockSite() && UseDockManager())
        return new TGwPanelDockManager(this);
    return DockManager();
}
