// The texts the forms size, measured in the fonts they are drawn with, at the forms' default sizes:
// captions, labels, grid cells and list entries of the main window, the device editors and the
// new-channel dialog. Each must fit the room its control or cell leaves it on screen, unless its
// face keeps the metrics of the face it stands for (then the cut is the layout's, not the font's)
// or it is a channel name wider than the indicator editor's lists; those are written to the test's
// log.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "Devicetypes.h"
#include "Gwbutton.h"
#include "Gwtabpages.h"
#include "Uind570mp3.h"
#include "Umain.h"
#include "Unewparam.h"
#include "Uprogram.h"
#include "Uschedule.h"
#include "actions.h"
#include "cp1251.h"
#include "dialogs.h"
#include "grids.h"
#include "stdctrls.h"
#include "mainwindow_fixture.h"
#include "tempfolder.h"

namespace {

// A text that does not fit: where it is, what it says, the pixels it needs and those it has.
struct TCut {
    std::string Where;
    std::string Text;
    int Need = 0;
    int Room = 0;
};

void PrintTo(const TCut& c, std::ostream* os) {
    *os << c.Where << " \"" << Cp1251ToUtf8(c.Text) << "\" needs " << c.Need << " px, has " << c.Room;
}

struct SilentDialogs : TDialogService {
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrYes; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

std::string WithoutAccelerators(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] != '&' || (i + 1 < s.size() && s[++i] == '&') || i == s.size())
            out += s[i];
    return out;
}

// Faces whose substitute has the same widths: a text they cut was cut by the face it stands for too.
bool SameMetricsAsTheOriginal(const TFont* font) {
    for (const char* face : {"Arial", "Courier New", "Times New Roman"})
        if (SameText(font->Name(), face))
            return true;
    return false;
}

int TextWidth(const TFont* font, const std::string& text) {
    TBitmap b;
    b.SetWidth(1);
    b.SetHeight(1);
    b.Canvas()->Font()->Assign(*font);
    return b.Canvas()->TextWidth(WithoutAccelerators(text));
}

// Pixels a control's own drawing takes beside its caption: the box and gap of a check box or radio
// button (13 + 4), a button's edges, a group box's indents; -1 for controls without a one-line caption.
int CaptionFrame(TControl* c) {
    if (auto* l = dynamic_cast<TLabel*>(c))
        return l->WordWrap() ? -1 : 0;
    if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c))
        return 17;
    if (dynamic_cast<TButton*>(c) || dynamic_cast<TGwCustomButton*>(c))
        return 6;
    if (dynamic_cast<TCustomGroupBox*>(c))
        return 16;
    return -1;
}

// The width a control shows of itself: its own, less what its parent's edge and the siblings lying
// on its right at the same height cover. A form keeps a small left margin (up to 16 pixels) on the
// right too: a label that grows to its text must stay inside it.
int VisibleWidth(TControl* c) {
    int room = c->Width();
    TWinControl* p = c->Parent();
    if (!p)
        return room;
    const int margin = c->Left() <= 16 ? c->Left() : 0;
    room = std::min(room, p->ClientWidth() - c->Left() - margin);
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* s = p->Controls(i);
        if (s == c || !s->Visible())
            continue;
        const bool level = s->Top() < c->Top() + c->Height() && c->Top() < s->Top() + s->Height();
        if (level && s->Left() > c->Left() && s->Left() < c->Left() + room)
            room = s->Left() - c->Left();
    }
    return room;
}

class TextFit : public TMainWindowTest<SilentDialogs> {
protected:
    // Every text under a shown control that its room cuts, once per place and text; every page of a
    // page control in turn.
    void Measure(TControl* c, const std::string& path) {
        if (!c->Visible())
            return;
        const std::string where = path + "/" + (c->Name().empty() ? c->ClassName() : c->Name());
        const int frame = CaptionFrame(c);
        // A turned caption runs along the control's height.
        if (frame >= 0 && !c->Caption().empty() && c->Font()->Orientation() == 0)
            Check(c, where, c->Caption(), TextWidth(c->Font(), c->Caption()) + frame, VisibleWidth(c));
        if (auto* g = dynamic_cast<TStringGrid*>(c))
            for (int col = 0; col < g->ColCount(); ++col)
                for (int row = 0; row < g->RowCount(); ++row)
                    if (g->ColWidths(col) > 0 && !g->Cells(col, row).empty())
                        // Cells are drawn 2 pixels in from their left edge.
                        Check(g, where + "[" + std::to_string(col) + "]", g->Cells(col, row),
                              TextWidth(g->Font(), g->Cells(col, row)) + 2, g->ColWidths(col));
        if (auto* l = dynamic_cast<TCustomListBox*>(c))
            for (int i = 0; i < l->Items()->Count(); ++i)
                Check(l, where, (*l->Items())[i], TextWidth(l->Font(), (*l->Items())[i]) + 2,
                      l->ClientWidth());
        if (auto* pages = dynamic_cast<TGwPageControl*>(c)) {
            const int active = pages->ActivePageIndex();
            for (int i = 0; i < pages->GetPageCount(); ++i) {
                pages->SetActivePageIndex(i);
                Application->ProcessMessages();
                Measure(pages->GetPage(i), where);
            }
            pages->SetActivePageIndex(active);
            Application->ProcessMessages();
        } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
            for (int i = 0; i < w->ControlCount(); ++i)
                Measure(w->Controls(i), where);
        }
    }
    void MeasureForm(TForm* f) {
        f->Show();
        Application->ProcessMessages();
        Measure(f, "");
        f->Hide();
    }
    void Check(TControl* c, const std::string& where, const std::string& text, int need, int room) {
        if (need <= room)
            return;
        const bool channelName = c == frmInd570mp3->GwListBox1 || c == frmInd570mp3->GwListBox2;
        std::vector<TCut>& list = SameMetricsAsTheOriginal(c->Font()) || channelName ? excused : cuts;
        auto same = [&](const TCut& k) { return k.Where == where && k.Text == text; };
        if (std::none_of(list.begin(), list.end(), same))
            list.push_back({where, text, need, room});
    }
    TMenuItem* AddItem(int code) {
        for (int i = 0; i < m->mmAddObj->Count(); ++i)
            if (m->mmAddObj->Items(i)->Tag == code)
                return m->mmAddObj->Items(i);
        return nullptr;
    }

    std::vector<TCut> cuts, excused;
};

TEST_F(TextFit, TheFormsTextsFitAtTheirDefaultSizes) {
    // The main window with one object of every type, each shown on the object page in turn.
    for (int code = 1; code <= kDeviceTypeCount; ++code)
        if (TMenuItem* item = AddItem(code))
            item->Click();
    m->Show();
    for (int i = 0; i < m->gwlbObjectList->Items()->Count(); ++i) {
        m->gwlbObjectList->SetItemIndex(i);
        m->gwlbObjectListClick(m->gwlbObjectList);
        MeasureForm(m);
    }

    // The indicator editor offers every byte and word channel of the configuration, bound.
    TObjectItem* indicator = nullptr;
    int index = 0;
    for (ELEM* e = m->Config->Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if ((p->BitWidth() == 8 || p->BitWidth() == 16) && p->ChannelType == 0 && p->ChannelIndex == 0) {
            p->SetAddress(uint16_t(100 + index / 250), uint8_t(1 + index % 250));
            ++index;
        }
    }
    for (ELEM* e = m->Config->Objects.Oldest; e; e = e->Newer)
        if (static_cast<TObjectItem*>(e)->Tag == "QBX570MP3")
            indicator = static_cast<TObjectItem*>(e);
    ASSERT_NE(indicator, nullptr);
    frmInd570mp3->Channels = &m->Config->Channels;
    frmInd570mp3->ObjectNumber = indicator->Number;
    MeasureForm(frmInd570mp3);
    MeasureForm(frmSchedule);
    MeasureForm(fmNewParam);

    for (const TCut& c : cuts)
        ADD_FAILURE() << ::testing::PrintToString(c);
    for (const TCut& c : excused)
        std::cout << "still cut: " << ::testing::PrintToString(c) << "\n";
}

} // namespace
