// Header control: the header messages as a table, section clicks and divider drags raised as
// events and notifications; hot-key control: keys in, "Ctrl+Alt+A" out, the HKM_* messages.
#include <gtest/gtest.h>

#include "core_support.h"
#include "handle.h"
#include "headerctrls.h"
#include "uxtheme.h"

namespace {

// A parent that records the header notifications it receives.
class TNotifyProbe : public TProbe {
public:
    using TProbe::TProbe;
    std::vector<std::pair<int, int>> Notes; // code, item
    LRESULT Veto = 0;
    // With DrawsItems the parent paints owner-drawn items blue itself and records what it was given.
    bool DrawsItems = false;
    std::vector<TDrawItemStruct> Draws;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_DRAWITEM && DrawsItems) {
            auto* d = reinterpret_cast<TDrawItemStruct*>(m.LParam);
            Draws.push_back(*d);
            d->hDC->Brush()->SetColor(clBlue);
            d->hDC->FillRect(d->rcItem);
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_NOTIFY) {
            auto* n = reinterpret_cast<THDNotify*>(m.LParam);
            Notes.push_back({n->code, n->Item});
            m.Result = n->code == HDN_BEGINTRACK ? Veto : 0;
            return;
        }
        TProbe::Dispatch(m);
    }
};

class Header : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Host = new TNotifyProbe(Form);
        Host->SetParent(Form);
        Host->SetBounds(0, 0, 300, 100);
        H = new THeaderControl(Form);
        H->SetParent(Host);
        for (const char* t : {"Имя", "Тип", "Значение"}) {
            THeaderSection* s = H->Sections()->Add();
            s->SetText(t);
            s->SetWidth(80);
        }
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TNotifyProbe* Host = nullptr;
    THeaderControl* H = nullptr;
};

TEST_F(Header, MessagesReadAndWriteTheSections) {
    EXPECT_EQ(H->Perform(HDM_GETITEMCOUNT), 3);
    THDItem item;
    item.Mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    ASSERT_EQ(H->Perform(HDM_GETITEM, 1, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(item.Text, "Тип");
    EXPECT_EQ(item.cxy, 80);
    EXPECT_EQ(item.fmt, HDF_STRING | HDF_LEFT);
    item.Mask = HDI_WIDTH | HDI_FORMAT;
    item.cxy = 120;
    item.fmt = HDF_OWNERDRAW | HDF_RIGHT;
    EXPECT_EQ(H->Perform(HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(H->Sections()->Items(1)->Width(), 120);
    EXPECT_EQ(H->Sections()->Items(1)->Style(), hsOwnerDraw);
    EXPECT_EQ(H->Sections()->Items(1)->Alignment(), taRightJustify);
    EXPECT_EQ(H->Sections()->Items(2)->Left(), 200);
    TRect r;
    EXPECT_EQ(H->Perform(HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.Left, 200);
    EXPECT_EQ(r.Right, 280);
    EXPECT_EQ(H->Perform(HDM_GETITEM, 7, reinterpret_cast<LPARAM>(&item)), 0);
    struct {
        int X;
        UINT Flags;
        int Item;
    } hits[] = {
        {10, HHT_ONHEADER, 0}, {79, HHT_ONDIVIDER, 0}, {150, HHT_ONHEADER, 1}, {295, HHT_NOWHERE, -1}};
    for (auto& h : hits) {
        THDHitTestInfo info;
        info.Pt = TPoint(h.X, 5);
        H->Perform(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.Flags, h.Flags) << h.X;
        EXPECT_EQ(info.Item, h.Item) << h.X;
    }
    item.Mask = HDI_TEXT | HDI_WIDTH;
    item.Text = "Новый";
    item.cxy = 40;
    EXPECT_EQ(H->Perform(HDM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(H->Sections()->Items(0)->Text(), "Новый");
    EXPECT_EQ(H->Perform(HDM_DELETEITEM, 0), 1);
    EXPECT_EQ(H->Perform(HDM_GETITEMCOUNT), 3);
}

TEST_F(Header, ClicksAndDividerDragsNotifyTheParent) {
    std::vector<std::string> seen;
    H->OnSectionClick = [&](THeaderControl*, THeaderSection* s) { seen.push_back("click " + s->Text()); };
    H->OnSectionResize = [&](THeaderControl*, THeaderSection* s) {
        seen.push_back("resize " + std::to_string(s->Width()));
    };
    QWidget* w = ClientWidget(H);
    Click(w, 120, 5);
    SendMouse(w, QEvent::MouseButtonPress, 79, 5);
    SendMouse(w, QEvent::MouseMove, 99, 5, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 99, 5);
    EXPECT_EQ(H->Sections()->Items(0)->Width(), 100);
    EXPECT_EQ(seen, (std::vector<std::string>{"click Тип", "resize 100"}));
    EXPECT_EQ(Host->Notes, (std::vector<std::pair<int, int>>{
                               {HDN_ITEMCLICK, 1}, {HDN_BEGINTRACK, 0}, {HDN_TRACK, 0}, {HDN_ENDTRACK, 0}}));
    // The parent may forbid resizing.
    Host->Veto = 1;
    SendMouse(w, QEvent::MouseButtonPress, 99, 5);
    SendMouse(w, QEvent::MouseMove, 130, 5, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 130, 5);
    EXPECT_EQ(H->Sections()->Items(0)->Width(), 100);
}

TEST_F(Header, OwnerDrawnSectionsArePaintedByTheirHandler) {
    H->Sections()->Items(2)->SetStyle(hsOwnerDraw);
    std::vector<int> drawn;
    H->OnDrawSection = [&](THeaderControl* h, THeaderSection* s, const TRect& r, bool) {
        drawn.push_back(r.Left);
        h->Canvas()->Brush()->SetColor(clRed);
        h->Canvas()->FillRect(r);
        EXPECT_EQ(s->Index(), 2);
    };
    QImage img = HandleWidget(H)->grab().toImage();
    EXPECT_EQ(drawn, std::vector<int>{160});
    EXPECT_EQ(Pixel(img, 170, 8), clRed);
    EXPECT_EQ(Pixel(img, 40, 1), TColor(ColorToRGB(clBtnHighlight)));
}

TEST_F(Header, AParentThatDrawsOwnerDrawnSectionsGetsWmDrawItem) {
    THDItem item;
    item.Mask = HDI_FORMAT;
    item.fmt = HDF_OWNERDRAW;
    H->Perform(HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&item));
    bool handler = false;
    H->OnDrawSection = [&](THeaderControl*, THeaderSection*, const TRect&, bool) { handler = true; };
    Host->DrawsItems = true;
    QImage img = HandleWidget(H)->grab().toImage();
    ASSERT_EQ(Host->Draws.size(), 1u);
    const TDrawItemStruct& d = Host->Draws[0];
    EXPECT_EQ(d.CtlType, ODT_HEADER);
    EXPECT_EQ(d.itemID, 1u);
    EXPECT_EQ(d.hwndItem, H->Handle());
    EXPECT_EQ(d.itemState, 0u);
    EXPECT_EQ(d.rcItem, TRect(80, 0, 160, H->ClientHeight()));
    EXPECT_FALSE(handler);
    EXPECT_EQ(Pixel(img, 120, 8), clBlue);
    EXPECT_NE(Pixel(img, 40, 8), clBlue);
}

// The default drawing's sort arrow: its tip and base rows swap between up and down.
TEST_F(Header, SortFormatsDrawTheirArrow) {
    const struct {
        const char* Name;
        int Format;
        bool TipAtTop, Arrow;
    } cases[] = {
        {"up", HDF_SORTUP, true, true}, {"down", HDF_SORTDOWN, false, true}, {"none", 0, false, false}};
    const TColor shadow = TColor(ColorToRGB(clBtnShadow));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        THDItem item;
        item.Mask = HDI_FORMAT;
        item.fmt = HDF_STRING | c.Format;
        H->Perform(HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
        item.fmt = 0;
        H->Perform(HDM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.fmt, HDF_STRING | c.Format);
        QImage img = HandleWidget(H)->grab().toImage();
        // Section 0 spans 0..80: the arrow box is 9 x 5 at x 65, centred on the 17-pixel height.
        int top = (H->ClientHeight() - 5) / 2, bottom = top + 4;
        int tipRow = c.TipAtTop ? top : bottom, baseRow = c.TipAtTop ? bottom : top;
        EXPECT_EQ(Pixel(img, 69, tipRow) == shadow, c.Arrow);
        EXPECT_EQ(Pixel(img, 65, baseRow) == shadow, c.Arrow);
        EXPECT_EQ(Pixel(img, 73, baseRow) == shadow, c.Arrow);
        EXPECT_NE(Pixel(img, 65, tipRow), shadow);
    }
}

// A visual-styles library that reports an active theme and records what is drawn with it.
struct TThemeCall {
    std::wstring Class;
    int Part, State;
    TRect R;
};
std::vector<TThemeCall> gThemeCalls;
std::wstring gOpenedClass;
HTHEME RecordOpen(HWND, const wchar_t* ClassList) {
    gOpenedClass = ClassList;
    return &gOpenedClass;
}
HRESULT RecordClose(HTHEME) { return S_OK; }
HRESULT RecordDraw(HTHEME Theme, HDC, int Part, int State, const TRect* R, const TRect*) {
    gThemeCalls.push_back({*static_cast<std::wstring*>(Theme), Part, State, *R});
    return S_OK;
}
BOOL Yes() { return 1; }
DWORD AllowAll() { return STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS; }

struct TThemedCase {
    const char* Name;
    std::function<void(THeaderControl*)> Prepare;
    int Part, State;
};
void PrintTo(const TThemedCase& c, std::ostream* os) { *os << c.Name; }

class HeaderThemed : public Header, public ::testing::WithParamInterface<TThemedCase> {
protected:
    void SetUp() override {
        Header::SetUp();
        SetVisualStylesTable({VisualStylesEntry("OpenThemeData", &RecordOpen),
                              VisualStylesEntry("CloseThemeData", &RecordClose),
                              VisualStylesEntry("DrawThemeBackground", &RecordDraw),
                              VisualStylesEntry("IsAppThemed", &Yes),
                              VisualStylesEntry("IsThemeActive", &Yes),
                              VisualStylesEntry("GetThemeAppProperties", &AllowAll)});
    }
    void TearDown() override {
        SetVisualStylesTable({});
        Header::TearDown();
    }
};

// Section 1 (80..160) asks the header class for the part and state its condition names.
TEST_P(HeaderThemed, SectionAsksForItsPartAndState) {
    const TThemedCase& c = GetParam();
    c.Prepare(H);
    gThemeCalls.clear();
    HandleWidget(H)->grab();
    bool found = false;
    for (const TThemeCall& call : gThemeCalls) {
        EXPECT_EQ(call.Class, L"header");
        if (call.Part == c.Part && call.R.Left >= 80 && call.R.Right <= 160) {
            EXPECT_EQ(call.State, c.State);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

void Sorted(THeaderControl* h, int fmt) {
    THDItem item;
    item.Mask = HDI_FORMAT;
    item.fmt = HDF_STRING | fmt;
    h->Perform(HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&item));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderThemed,
    ::testing::Values(
        TThemedCase{"Normal", [](THeaderControl*) {}, HP_HEADERITEM, HIS_NORMAL},
        TThemedCase{"HotUnderTheMouse",
                    [](THeaderControl* h) { SendMouse(ClientWidget(h), QEvent::MouseMove, 120, 5); },
                    HP_HEADERITEM, HIS_HOT},
        TThemedCase{"PressedWhileHeld",
                    [](THeaderControl* h) { SendMouse(ClientWidget(h), QEvent::MouseButtonPress, 120, 5); },
                    HP_HEADERITEM, HIS_PRESSED},
        TThemedCase{"SortedUp", [](THeaderControl* h) { Sorted(h, HDF_SORTUP); }, HP_HEADERSORTARROW,
                    HSAS_SORTEDUP},
        TThemedCase{"SortedDown", [](THeaderControl* h) { Sorted(h, HDF_SORTDOWN); }, HP_HEADERSORTARROW,
                    HSAS_SORTEDDOWN}),
    [](const ::testing::TestParamInfo<TThemedCase>& i) { return std::string(i.param.Name); });

TEST_F(Header, WithoutTheLibraryNothingAsksForThemes) {
    gThemeCalls.clear();
    HandleWidget(H)->grab();
    EXPECT_TRUE(gThemeCalls.empty());
}

TEST(HotKey, KeysMakeTheCombinationAndTheTextShowsIt) {
    TApplication::QtApp();
    TForm form(nullptr);
    auto* hk = new THotKey(&form);
    hk->SetParent(&form);
    int changes = 0;
    hk->OnChange = [&](TObject*) { ++changes; };
    form.Show();
    EXPECT_EQ(hk->DisplayText(), "Нет");
    QWidget* w = ClientWidget(hk);
    SendKey(w, Qt::Key_A, "a", Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(hk->DisplayText(), "Ctrl+Alt+A");
    EXPECT_EQ(hk->HotKey(), ShortCut('A', TShiftState{ssCtrl, ssAlt}));
    EXPECT_EQ(hk->Perform(HKM_GETHOTKEY), LRESULT('A' | ((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8)));
    // A plain key is a forbidden combination by default: the control puts Alt on it.
    SendKey(w, Qt::Key_B, "b");
    EXPECT_EQ(hk->DisplayText(), "Alt+B");
    SendKey(w, Qt::Key_Backspace, "\b");
    EXPECT_EQ(hk->HotKey(), scNone);
    EXPECT_EQ(changes, 3);
    hk->Perform(HKM_SETHOTKEY, VK_F5 | (HOTKEYF_SHIFT << 8));
    EXPECT_EQ(hk->DisplayText(), "Shift+F5");
    EXPECT_EQ(changes, 3);
}

} // namespace
