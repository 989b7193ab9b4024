// Component services of the GUI core: image-list change links and overlays, actions updated when
// idle and run through a control's link, private clipboard formats beside the text.
#include <gtest/gtest.h>

#include <cstring>

#include "actlist.h"
#include "clipbrd.h"
#include "core_support.h"
#include "core_qt.h"
#include "handle.h"
#include "menus.h"

namespace {

TBitmap* Strip(int images) {
    auto* b = new TBitmap;
    b->SetWidth(16 * images);
    b->SetHeight(16);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(0, 0, 16 * images, 16));
    return b;
}

TEST(ImageListLinks, EveryChangeReachesEveryLinkAndAFreedLinkIsForgotten) {
    TImageList list(nullptr);
    int a = 0, b = 0;
    TChangeLink la, *lb = new TChangeLink;
    la.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &list);
        ++a;
    };
    lb->OnChange = [&](TObject*) { ++b; };
    list.RegisterChanges(&la);
    list.RegisterChanges(lb);
    list.RegisterChanges(&la); // twice is once
    std::unique_ptr<TBitmap> bmp(Strip(3));
    EXPECT_EQ(list.Add(bmp.get(), nullptr), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    delete lb;
    list.Delete(0);
    EXPECT_EQ(a, 2);
    list.UnRegisterChanges(&la);
    EXPECT_EQ(la.Sender(), nullptr);
    list.Clear();
    EXPECT_EQ(a, 2);
    // A batch tells once.
    list.RegisterChanges(&la);
    list.BeginUpdate();
    list.Add(bmp.get(), nullptr);
    list.Delete(1);
    EXPECT_EQ(a, 2);
    list.EndUpdate();
    EXPECT_EQ(a, 3);
}

TEST(ImageListLinks, OverlaysFollowTheirImagesAndDrawOverTheBase) {
    TImageList list(nullptr);
    std::unique_ptr<TBitmap> red(Strip(2)), blue(new TBitmap);
    list.Add(red.get(), nullptr);
    blue->SetWidth(16);
    blue->SetHeight(16);
    blue->Canvas()->Brush()->SetColor(clWhite);
    blue->Canvas()->FillRect(Rect(0, 0, 16, 16));
    blue->Canvas()->Brush()->SetColor(clBlue);
    blue->Canvas()->FillRect(Rect(8, 8, 16, 16));
    list.AddMasked(blue.get(), clWhite);
    EXPECT_FALSE(list.Overlay(7, 0));
    EXPECT_FALSE(list.Overlay(2, 4));
    EXPECT_TRUE(list.Overlay(2, 1));
    TBitmap out;
    out.SetWidth(16);
    out.SetHeight(16);
    list.DrawOverlay(out.Canvas(), 0, 0, 0, 1);
    EXPECT_EQ(out.Canvas()->Pixels[2][2], clRed);
    EXPECT_EQ(out.Canvas()->Pixels[12][12], clBlue);
    list.Delete(0);
    EXPECT_EQ(list.OverlayImage(1), 1);
    list.Delete(1);
    EXPECT_EQ(list.OverlayImage(1), -1);
    EXPECT_EQ(SmallSystemImageList()->Count(), 4);
}

class Actions : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 200, 100);
        List = new TActionList(Form);
        Act = new TAction(List);
        Act->SetActionList(List);
        Act->SetCaption("Open");
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TActionList* List = nullptr;
    TAction* Act = nullptr;
};

TEST_F(Actions, IdleUpdatesReachTheLinkedControl) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 50, 30);
    p->SetAction(Act);
    EXPECT_EQ(p->Caption(), "Open");
    bool canOpen = false;
    int updates = 0;
    Act->OnUpdate = [&](TObject*) {
        ++updates;
        Act->SetEnabled(canOpen);
    };
    Form->Show();
    Application->Idle();
    EXPECT_GE(updates, 1);
    EXPECT_FALSE(p->Enabled());
    canOpen = true;
    Application->Idle();
    EXPECT_TRUE(p->Enabled());
    // A hidden form's actions wait.
    Form->Hide();
    int before = updates;
    Application->Idle();
    EXPECT_EQ(updates, before);
}

TEST_F(Actions, AClickRunsTheActionThroughTheLinkOnlyWhileEnabled) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 50, 30);
    p->SetControlStyle(p->ControlStyle() << csClickEvents);
    p->SetAction(Act);
    std::vector<std::string> seen;
    Act->OnExecute = [&](TObject* s) {
        seen.push_back("exec");
        EXPECT_EQ(static_cast<TBasicAction*>(s)->ActionComponent(), p);
    };
    List->OnExecute = [&](TBasicAction* a, bool& handled) {
        seen.push_back("list");
        EXPECT_EQ(a, Act);
        handled = false;
    };
    Form->Show();
    Click(ClientWidget(p), 5, 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"list", "exec"}));
    EXPECT_EQ(Act->ActionComponent(), nullptr);
    Act->SetEnabled(false);
    EXPECT_FALSE(p->Enabled());
    EXPECT_FALSE(p->ActionLink()->Execute(p));
    // Freeing the action leaves the control without one.
    delete Act;
    Act = nullptr;
    EXPECT_EQ(p->Action(), nullptr);
    EXPECT_EQ(List->ActionCount(), 0);
}

// A standard action: its target is the active control, reached through CM_ACTIONEXECUTE.
class TTargetAction : public TAction {
public:
    using TAction::TAction;
    bool HandlesTarget(TObject* t) override { return dynamic_cast<TProbe*>(t) != nullptr; }
    void ExecuteTarget(TObject* t) override { Target = t; }
    TObject* Target = nullptr;
};

TEST_F(Actions, AnUnhandledActionFindsTheActiveControlThroughTheForm) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetTabStop(true);
    auto* a = new TTargetAction(List);
    a->SetActionList(List);
    Form->Show();
    Form->SetActiveControl(p);
    EXPECT_EQ(Form->Perform(CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(a)), 1);
    EXPECT_EQ(a->Target, p);
    a->Target = nullptr;
    EXPECT_EQ(Form->Perform(CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(Act)), 0);
}

TEST_F(Actions, AGroupChecksOneAndShortCutsRunEnabledActions) {
    auto* b = new TAction(List);
    b->SetActionList(List);
    Act->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Act->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(Act->Checked());
    int runs = 0;
    b->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    b->OnExecute = [&](TObject*) { ++runs; };
    EXPECT_TRUE(List->IsShortCut(ShortCut('O', TShiftState{ssCtrl})));
    EXPECT_FALSE(List->IsShortCut(ShortCut('P', TShiftState{ssCtrl})));
    b->SetEnabled(false);
    EXPECT_FALSE(List->IsShortCut(ShortCut('O', TShiftState{ssCtrl})));
    EXPECT_EQ(runs, 1);
}

TEST(ClipboardFormats, APrivateFormatTravelsBesideTheText) {
    TApplication::QtApp();
    UINT f = RegisterClipboardFormat("QBX marked text");
    EXPECT_GE(f, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("QBX marked text"), f);
    EXPECT_NE(RegisterClipboardFormat("другой формат"), f);
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);

    const char raw[] = {'a', '\0', '\x01', '\xFF', 'b'};
    HGLOBAL h = GlobalAlloc(GHND, sizeof raw);
    std::memcpy(GlobalLock(h), raw, sizeof raw);
    GlobalUnlock(h);
    Clipboard()->Open();
    Clipboard()->SetAsText("строка");
    Clipboard()->SetAsHandle(f, h);
    Clipboard()->Close();

    EXPECT_EQ(Clipboard()->AsText(), "строка");
    ASSERT_TRUE(Clipboard()->HasFormat(f));
    HGLOBAL got = Clipboard()->GetAsHandle(f);
    ASSERT_NE(got, nullptr);
    ASSERT_EQ(GlobalSize(got), sizeof raw);
    EXPECT_EQ(std::memcmp(GlobalLock(got), raw, sizeof raw), 0);
    GlobalUnlock(got);
    HGLOBAL text = Clipboard()->GetAsHandle(CF_TEXT);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "строка");

    // Text set on its own empties the clipboard first: the private bytes go.
    Clipboard()->SetAsText("plain");
    EXPECT_FALSE(Clipboard()->HasFormat(f));
    EXPECT_EQ(Clipboard()->GetAsHandle(f), nullptr);
}

} // namespace

namespace {

TEST(MenuItems, OwnerDrawnItemsAreMeasuredAndPaintedByTheirHandlers) {
    TApplication::QtApp();
    TPopupMenu menu(nullptr);
    auto* a = new TMenuItem(&menu);
    a->SetCaption("Первый");
    auto* b = new TMenuItem(&menu);
    b->SetCaption("Второй");
    b->SetDefault(true);
    menu.Items()->Add(a);
    menu.Items()->Add(b);
    menu.SetOwnerDraw(true);
    std::vector<std::string> drawn;
    for (TMenuItem* i : {a, b}) {
        i->OnMeasureItem = [](TObject*, TCanvas*, int& w, int& h) {
            w = 120;
            h = 30;
        };
        i->OnAdvancedDrawItem = [&drawn](TObject* s, TCanvas* c, TRect r, TOwnerDrawState st) {
            auto* it = static_cast<TMenuItem*>(s);
            drawn.push_back(it->Caption() + (st.Contains(odDefault) ? " default" : ""));
            c->Brush()->SetColor(it->Default() ? clBlue : clRed);
            c->FillRect(r);
        };
    }
    QMenu* m = menu.Items()->SubMenu();
    m->popup(QPoint(10, 10));
    ASSERT_TRUE(WaitFor([&] { return m->isVisible(); }));
    EXPECT_EQ(m->actionGeometry(a->Action()).height(), 30);
    QImage img = m->grab().toImage();
    QRect ga = m->actionGeometry(a->Action()), gb = m->actionGeometry(b->Action());
    EXPECT_EQ(Pixel(img, ga.center().x(), ga.center().y()), clRed);
    EXPECT_EQ(Pixel(img, gb.center().x(), gb.center().y()), clBlue);
    EXPECT_TRUE(std::find(drawn.begin(), drawn.end(), "Второй default") != drawn.end());
    m->hide();
}

// A line item is a separator and nothing else: the "-" of its caption is no text to draw.
TEST(MenuItems, ALineIsOneUnbrokenRuleWithNoTextBesideIt) {
    TApplication::QtApp();
    TPopupMenu menu(nullptr);
    for (const char* caption : {"Открыть", "-", "Сохранить"}) {
        auto* i = new TMenuItem(&menu);
        i->SetCaption(caption);
        menu.Items()->Add(i);
    }
    TMenuItem* line = menu.Items()->Items(1);
    QMenu* m = menu.Items()->SubMenu();
    m->popup(QPoint(10, 10));
    ASSERT_TRUE(WaitFor([&] { return m->isVisible(); }));
    const QImage img = m->grab().toImage();
    // The item inside the menu's frame.
    const QRect g = m->actionGeometry(line->Action()).adjusted(2, 0, -2, 0);
    const TColor face = Pixel(img, g.left(), g.top());
    // Every pixel off the face lies on rows that are one run from the left margin to the right one.
    int marked = 0;
    for (int y = g.top(); y <= g.bottom(); ++y) {
        int first = -1, last = -1, count = 0;
        for (int x = g.left(); x <= g.right(); ++x)
            if (Pixel(img, x, y) != face) {
                first = first < 0 ? x : first;
                last = x;
                ++count;
            }
        if (count == 0)
            continue;
        ++marked;
        EXPECT_EQ(count, last - first + 1) << "row " << y << " breaks between " << first << " and " << last;
        EXPECT_LT(first - g.left(), 12) << "row " << y << " starts late, after something drawn before it";
        EXPECT_GT(last - first, g.width() * 3 / 4) << "row " << y;
    }
    EXPECT_GE(marked, 1) << "the rule is drawn";
    m->hide();
}

TEST(MenuItems, ImagesFollowTheMenusImageList) {
    TApplication::QtApp();
    TImageList list(nullptr);
    std::unique_ptr<TBitmap> bmp(Strip(2));
    list.Add(bmp.get(), nullptr);
    TPopupMenu menu(nullptr);
    auto* a = new TMenuItem(&menu);
    a->SetCaption("A");
    a->SetImageIndex(1);
    menu.Items()->Add(a);
    EXPECT_TRUE(a->Action()->icon().isNull());
    menu.SetImages(&list);
    EXPECT_FALSE(a->Action()->icon().isNull());
    list.Delete(1);
    EXPECT_TRUE(a->Action()->icon().isNull());
    a->SetDefault(true);
    EXPECT_TRUE(a->Action()->font().bold());
}

} // namespace
