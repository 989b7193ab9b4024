// The status bar: panels side by side, each bevelled and holding its text.
#include "comctrls.h"

#include "wingdi.h"

TStatusPanel* TStatusPanels::Add() {
    FItems.emplace_back();
    Changed();
    return &FItems.back();
}

void TStatusPanels::Clear() {
    FItems.clear();
    Changed();
}

void TStatusPanels::Delete(int i) {
    FItems.erase(FItems.begin() + i);
    Changed();
}

void TStatusPanels::Changed() { FBar->Invalidate(); }

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool v) {
    FSimplePanel = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& v) {
    FSimpleText = v;
    if (FSimplePanel)
        Invalidate();
}

TRect TStatusBar::PanelRect(int i) {
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += FPanels->Items(k)->Width;
    int right = i == FPanels->Count() - 1 ? ClientWidth() : x + FPanels->Items(i)->Width;
    return Rect(x, 2, std::max(x, right - 2), ClientHeight());
}

void TStatusBar::Paint() {
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    auto panel = [&](TRect r, const std::string& text, TAlignment a, TStatusPanelBevel bevel) {
        if (bevel != pbNone)
            Frame3D(c, r, bevel == pbLowered ? clBtnShadow : clBtnHighlight,
                    bevel == pbLowered ? clBtnHighlight : clBtnShadow, 1);
        InflateRect(r, -2, 0);
        c->Brush()->SetStyle(bsClear);
        c->DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | kAlign[a]);
        c->Brush()->SetStyle(bsSolid);
    };
    if (FSimplePanel || FPanels->Count() == 0) {
        panel(Rect(0, 2, ClientWidth(), ClientHeight()), FSimplePanel ? FSimpleText : std::string(),
              taLeftJustify, FSimplePanel ? pbNone : pbLowered);
        return;
    }
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* p = FPanels->Items(i);
        panel(PanelRect(i), p->Text, p->Alignment, p->Bevel);
    }
}

// ---- TCustomRichEdit -----------------------------------------------------------------------------

std::string TextToRtf(const std::vector<std::string>& Lines, const std::string& FontName, int FontSize) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 " + FontName +
                      ";}}\r\n\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs" + std::to_string(FontSize * 2) + " ";
    for (size_t i = 0; i < Lines.size(); ++i) {
        for (char ch : Lines[i]) {
            auto u = static_cast<unsigned char>(ch);
            if (ch == '\\' || ch == '{' || ch == '}')
                out += std::string("\\") + ch;
            else if (ch == '\t')
                out += "\\tab ";
            else if (u >= 0x80) {
                out += "\\'";
                out += kHex[u >> 4];
                out += kHex[u & 0xF];
            } else
                out += ch;
        }
        if (i + 1 < Lines.size())
            out += "\\par\r\n";
    }
    out += "\\par\r\n}\r\n";
    return out;
}

TRichEditStrings::TRichEditStrings(TCustomRichEdit* edit) : TMemoStrings(edit), FEdit(edit) {}

void TRichEditStrings::SaveToStream(TStream* Stream) const {
    if (FEdit->PlainText) {
        TMemoStrings::SaveToStream(Stream);
        return;
    }
    std::vector<std::string> lines;
    for (int i = 0; i < GetCount(); ++i)
        lines.push_back(Get(i));
    std::string rtf = TextToRtf(lines, FEdit->Font()->Name(), FEdit->Font()->Size());
    Stream->WriteBuffer(rtf.data(), int(rtf.size()));
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TCustomMemo(AOwner), FRichLines(std::make_unique<TRichEditStrings>(this)) {}

TCustomRichEdit::~TCustomRichEdit() = default;

TPoint TCustomRichEdit::CaretPos() {
    int pos = SelStart();
    int line = int(Perform(EM_LINEFROMCHAR, WPARAM(pos), 0));
    return TPoint(pos - int(Perform(EM_LINEINDEX, WPARAM(line), 0)), line);
}

void TCustomRichEdit::SetCaretPos(TPoint v) {
    LRESULT start = Perform(EM_LINEINDEX, WPARAM(v.y), 0);
    if (start >= 0)
        SetSelStart(int(start) + v.x);
}
