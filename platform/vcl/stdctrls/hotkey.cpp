// THotKey: a key combination typed into the box and shown as text ("Ctrl+Alt+A"), HKM_* messages,
// EN_CHANGE to the parent and OnChange. Standard controls.
#include "headerctrls.h"

#include "menus.h"

namespace {

// The combination class of a shift state, as InvalidKeys names them.
THKInvalidKey CombinationOf(TShiftState s) {
    bool sh = s.Contains(ssShift), c = s.Contains(ssCtrl), a = s.Contains(ssAlt);
    static const THKInvalidKey table[8] = {hcNone, hcShift,    hcCtrl,    hcShiftCtrl,
                                           hcAlt,  hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt};
    return table[(sh ? 1 : 0) | (c ? 2 : 0) | (a ? 4 : 0)];
}

bool IsModifierKey(WORD key) { return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU; }

} // namespace

TCustomHotKey::TCustomHotKey(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(Left(), Top(), 121, 25);
    SetTabStop(true);
    SetColor(clWindow);
    FModifiers << hkAlt;
}

void TCustomHotKey::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::string TCustomHotKey::DisplayText() const {
    if (FHotKey != scNone)
        return ShortCutToText(FHotKey);
    std::string s;
    if (FHeld.Contains(ssCtrl))
        s += "Ctrl+";
    if (FHeld.Contains(ssShift))
        s += "Shift+";
    if (FHeld.Contains(ssAlt))
        s += "Alt+";
    return s.empty() ? "Нет" : s;
}

void TCustomHotKey::Change(TShortCut v) {
    if (v == FHotKey)
        return;
    FHotKey = v;
    Invalidate();
    if (Parent() && HandleAllocated())
        Parent()->Perform(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(Handle()));
    if (OnChange)
        OnChange(this);
}

void TCustomHotKey::SetHotKey(TShortCut v) {
    FHeld = TShiftState();
    FHotKey = v;
    Invalidate();
}

void TCustomHotKey::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    TShiftState mods = Shift * TShiftState{ssShift, ssCtrl, ssAlt};
    if (Key == 0)
        return;
    if (IsModifierKey(Key)) {
        FHeld = mods;
        if (FHotKey != scNone)
            Change(scNone);
        Invalidate();
        Key = 0;
        return;
    }
    // Backspace, Delete and Escape alone clear the box, as the system control does.
    if (mods.Empty() && (Key == VK_BACK || Key == VK_DELETE || Key == VK_ESCAPE)) {
        FHeld = TShiftState();
        Change(scNone);
        Key = 0;
        return;
    }
    if (FInvalidKeys.Contains(CombinationOf(mods))) {
        mods = TShiftState();
        if (FModifiers.Contains(hkShift))
            mods << ssShift;
        if (FModifiers.Contains(hkCtrl))
            mods << ssCtrl;
        if (FModifiers.Contains(hkAlt))
            mods << ssAlt;
    }
    FHeld = TShiftState();
    Change(ShortCut(Key, mods));
    Key = 0;
}

void TCustomHotKey::KeyUp(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (IsModifierKey(Key) && FHotKey == scNone) {
        FHeld = Shift * TShiftState{ssShift, ssCtrl, ssAlt};
        Invalidate();
    }
}

void TCustomHotKey::WMGetDlgCode(TMessage& Message) {
    // Every key is the control's, Tab and Enter included, while it has the focus.
    Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomHotKey::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    c->FillRect(ClientRect());
    c->Font()->Assign(*Font());
    c->Font()->SetColor(Enabled() ? clWindowText : clGrayText);
    TRect r = ClientRect();
    r.Left += 1;
    c->DrawText(DisplayText(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TCustomHotKey::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case HKM_SETHOTKEY: {
        WORD key = WORD(Message.WParam & 0xFF);
        int f = int((Message.WParam >> 8) & 0xFF);
        TShiftState s;
        if (f & HOTKEYF_SHIFT)
            s << ssShift;
        if (f & HOTKEYF_CONTROL)
            s << ssCtrl;
        if (f & HOTKEYF_ALT)
            s << ssAlt;
        SetHotKey(key ? ShortCut(key, s) : TShortCut(scNone));
        return;
    }
    case HKM_GETHOTKEY: {
        WORD key = 0;
        TShiftState s;
        ShortCutToKey(FHotKey, key, s);
        int f = (s.Contains(ssShift) ? HOTKEYF_SHIFT : 0) | (s.Contains(ssCtrl) ? HOTKEYF_CONTROL : 0) |
                (s.Contains(ssAlt) ? HOTKEYF_ALT : 0);
        Message.Result = LRESULT((key & 0xFF) | (f << 8));
        return;
    }
    case HKM_SETRULES: {
        // WParam: forbidden combinations (bit per class, HKCOMB_*); LParam: modifiers put instead.
        THKInvalidKeys inv;
        for (int b = 0; b < 8; ++b)
            if (Message.WParam & (WPARAM(1) << b))
                inv << THKInvalidKey(b);
        SetInvalidKeys(inv);
        THKModifiers m;
        int f = int(Message.LParam & 0xFF);
        if (f & HOTKEYF_SHIFT)
            m << hkShift;
        if (f & HOTKEYF_CONTROL)
            m << hkCtrl;
        if (f & HOTKEYF_ALT)
            m << hkAlt;
        SetModifiers(m);
        return;
    }
    default: TCustomControl::Dispatch(Message);
    }
}
