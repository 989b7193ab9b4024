// Forms, menus, dialogs, clipboard and timers of the GUI core, with the dialog service faked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "clipbrd.h"
#include "cp1251.h"
#include "core_support.h"
#include "programpath.h"
#include "menus.h"
#include "timers.h"
#include "handle.h"
#include "core_qt.h"

namespace {

class CoreForms : public ::testing::Test {
protected:
    void SetUp() override { TApplication::QtApp(); }
    void TearDown() override { Application->ProcessMessages(); }
};

TEST_F(CoreForms, ShowModalRunsUntilModalResultIsSet) {
    TForm form(nullptr);
    std::vector<std::string> log;
    form.OnShow = [&](TObject*) {
        log.push_back("show");
        QTimer::singleShot(0, [&] { form.SetModalResult(mrOk); });
    };
    form.OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        EXPECT_EQ(a, caHide);
    };
    form.OnHide = [&](TObject*) { log.push_back("hide"); };
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "close", "hide"}));
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Modal());
}

TEST_F(CoreForms, CloseQueryCanRefuseAModalClose) {
    TForm form(nullptr);
    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& can) {
        ++asked;
        can = asked > 1;
        if (!can)
            QTimer::singleShot(0, [&] { form.SetModalResult(mrYes); });
    };
    form.OnShow = [&](TObject*) { QTimer::singleShot(0, [&] { form.Close(); }); };
    // Close on a modal form means Cancel; the refusal resets ModalResult and the loop goes on.
    EXPECT_EQ(form.ShowModal(), mrYes);
    EXPECT_EQ(asked, 2);

    // OnClose with caNone keeps the form open.
    TForm other(nullptr);
    int closes = 0;
    other.OnClose = [&](TObject*, TCloseAction& a) {
        if (++closes == 1) {
            a = caNone;
            QTimer::singleShot(0, [&] { other.SetModalResult(mrAbort); });
        }
    };
    other.OnShow = [&](TObject*) { QTimer::singleShot(0, [&] { other.SetModalResult(mrOk); }); };
    EXPECT_EQ(other.ShowModal(), mrAbort);
    EXPECT_EQ(closes, 2);
}

TEST_F(CoreForms, ShowModalOnAVisibleFormIsRefused) {
    TForm form(nullptr);
    form.Show();
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
}

TEST_F(CoreForms, OnCreateRunsOnceAfterConstruction) {
    struct TMyForm : TForm {
        explicit TMyForm(TComponent* o) : TForm(o) {
            OnCreate = [this](TObject*) { ++Created; };
        }
        int Created = 0;
    };
    TMyForm* f = nullptr;
    TApplication app(nullptr);
    app.CreateForm(f);
    EXPECT_EQ(f->Created, 1);
    EXPECT_EQ(app.MainForm(), f);
    f->Show();
    EXPECT_EQ(f->Created, 1);
    f->Hide();
}

TEST_F(CoreForms, PositionsFollowTheOriginal) {
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    TForm centred(nullptr);
    centred.SetBounds(5, 7, 200, 100);
    centred.SetPosition(poScreenCenter);
    centred.Show();
    EXPECT_EQ(centred.Left(), area.x() + (area.width() - 200) / 2);
    EXPECT_EQ(centred.Top(), area.y() + (area.height() - 100) / 2);

    TForm designed(nullptr);
    designed.SetBounds(5, 7, 200, 100);
    designed.Show();
    EXPECT_EQ(designed.BoundsRect(), Rect(5, 7, 205, 107));

    // Default placement cascades from the screen's corner; a place set in code before the first show
    // (geometry restored from the settings) stays.
    struct {
        bool Moved;
    } defaults[] = {{false}, {true}};
    for (auto& d : defaults) {
        TForm form(nullptr);
        form.SetPosition(poDefault);
        form.SetBounds(0, 0, 200, 100);
        if (d.Moved)
            form.SetBounds(229, 115, 300, 150);
        form.Show();
        if (d.Moved) {
            EXPECT_EQ(form.BoundsRect(), Rect(229, 115, 529, 265));
            continue;
        }
        EXPECT_EQ((form.Left() - area.x()) % 22, 0);
        EXPECT_EQ(form.Left() - area.x(), form.Top() - area.y());
        EXPECT_EQ(form.Width(), 200);
    }

    TForm owned(&centred);
    owned.SetBounds(0, 0, 100, 50);
    owned.SetPosition(poOwnerFormCenter);
    owned.Show();
    EXPECT_EQ(owned.Left(), centred.Left() + 50);
    EXPECT_EQ(owned.Top(), centred.Top() + 25);
}

TEST_F(CoreForms, TheWindowManagersMovesResizesAndActivationReachTheForm) {
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 100);
    int resized = 0;
    std::vector<std::string> log;
    form.OnResize = [&](TObject*) { ++resized; };
    form.OnActivate = [&](TObject*) { log.push_back("activate"); };
    form.OnDeactivate = [&](TObject*) { log.push_back("deactivate"); };
    form.Show();
    // Showing activates the window at once, as in Windows.
    EXPECT_TRUE(form.Active());
    EXPECT_EQ(log, std::vector<std::string>{"activate"});
    log.clear();
    QWidget* w = HandleWidget(&form);
    w->move(40, 50);
    w->resize(260, 120);
    EXPECT_EQ(form.BoundsRect(), Rect(40, 50, 300, 170));
    EXPECT_EQ(resized, 1);
    QEvent on(QEvent::WindowActivate), off(QEvent::WindowDeactivate);
    QApplication::sendEvent(w, &off);
    QApplication::sendEvent(w, &on);
    EXPECT_EQ(log, (std::vector<std::string>{"deactivate", "activate"}));
}

struct BoundsCase {
    const char* Name;
    TBorderStyle Border;
    TRect From, To;
};

void PrintTo(const BoundsCase& c, std::ostream* os) { *os << c.Name; }

const BoundsCase kBoundsCases[] = {
    {"MovedAndGrown", bsSizeable, Rect(10, 20, 210, 120), Rect(60, 70, 360, 220)},
    {"MovedAndShrunk", bsSizeable, Rect(60, 70, 360, 220), Rect(10, 20, 210, 120)},
    {"MovedLeftAndGrownRight", bsSizeable, Rect(100, 100, 300, 200), Rect(40, 100, 400, 200)},
    {"Moved", bsSizeable, Rect(10, 20, 210, 120), Rect(30, 50, 230, 150)},
    {"Grown", bsSizeable, Rect(10, 20, 210, 120), Rect(10, 20, 260, 180)},
    {"FixedBorderMovedAndGrown", bsSingle, Rect(10, 20, 210, 120), Rect(60, 70, 360, 220)},
    {"FixedBorderMovedAndShrunk", bsDialog, Rect(60, 70, 360, 220), Rect(10, 20, 210, 120)},
};

class ShownBounds : public ::testing::TestWithParam<BoundsCase> {
protected:
    void SetUp() override { TApplication::QtApp(); }
    void TearDown() override { Application->ProcessMessages(); }
};

std::string Box(int l, int t, int w, int h) {
    return std::to_string(l) + "," + std::to_string(t) + " " + std::to_string(w) + "x" + std::to_string(h);
}
std::string Box(const TRect& r) { return Box(r.Left, r.Top, r.Width(), r.Height()); }
std::string Box(const QRect& r) { return Box(r.x(), r.y(), r.width(), r.height()); }

// SetBounds on a shown window keeps its place and its size, in the control and in Qt, once the
// window system has answered.
TEST_P(ShownBounds, SetBoundsKeepsPlaceAndSize) {
    const BoundsCase& c = GetParam();
    TForm form(nullptr);
    form.SetBorderStyle(c.Border);
    form.SetBoundsRect(c.From);
    auto* child = new TProbe(&form);
    child->SetParent(&form);
    // The child is placed and sized after its form's bounds, so it too moves and resizes at once.
    auto childBounds = [](const TRect& r) {
        return Bounds(r.Left / 10, r.Top / 10, r.Width() / 2, r.Height() / 2);
    };
    TRect childFrom = childBounds(c.From);
    child->SetBoundsRect(childFrom);
    form.Show();
    Application->ProcessMessages();
    ASSERT_EQ(Box(form.BoundsRect()), Box(c.From));

    TRect childTo = childBounds(c.To);
    form.SetBoundsRect(c.To);
    child->SetBoundsRect(childTo);
    Application->ProcessMessages();
    QWidget* w = HandleWidget(&form);
    EXPECT_EQ(Box(form.BoundsRect()), Box(c.To));
    EXPECT_EQ(Box(QRect(w->pos(), w->size())), Box(c.To));
    EXPECT_EQ(Box(child->BoundsRect()), Box(childTo));
    EXPECT_EQ(Box(HandleWidget(child)->geometry()), Box(childTo));
}

INSTANTIATE_TEST_SUITE_P(Changes, ShownBounds, ::testing::ValuesIn(kBoundsCases),
                         [](const ::testing::TestParamInfo<BoundsCase>& i) {
                             return std::string(i.param.Name);
                         });

// A move and a resize by the window system (the user dragging the frame) reach the form: Left and
// Top are the frame's place, Width and Height the window's size.
TEST_F(CoreForms, TheWindowSystemsMoveAndResizeReachAShownForm) {
    TForm form(nullptr);
    form.SetBounds(10, 20, 200, 100);
    form.Show();
    Application->ProcessMessages();
    int resized = 0;
    form.OnResize = [&](TObject*) { ++resized; };
    QWindow* window = HandleWidget(&form)->windowHandle();
    ASSERT_NE(window, nullptr);
    window->setFramePosition(QPoint(70, 80));
    ASSERT_TRUE(WaitFor([&] { return form.Left() == 70; }));
    EXPECT_EQ(Box(form.BoundsRect()), "70,80 200x100");
    EXPECT_EQ(resized, 0);
    window->resize(250, 130);
    ASSERT_TRUE(WaitFor([&] { return form.Width() == 250; }));
    EXPECT_EQ(Box(form.BoundsRect()), "70,80 250x130");
    EXPECT_EQ(resized, 1);
}

TEST_F(CoreForms, MenuItemsClickCheckAndOpen) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption("&Файл");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(&form);
    open->SetCaption("&Открыть");
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    open->Tag = 5;
    file->Add(open);
    auto* line = new TMenuItem(&form);
    line->SetCaption("-");
    file->Add(line);
    TMenuItem* radios[3];
    for (int i = 0; i < 3; ++i) {
        radios[i] = new TMenuItem(&form);
        radios[i]->SetCaption("Вид " + IntToStr(i));
        radios[i]->SetRadioItem(true);
        radios[i]->SetGroupIndex(1);
        file->Add(radios[i]);
    }
    form.SetMenu(menu);
    form.Show();

    std::vector<int> clicked;
    open->OnClick = [&](TObject* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Tag); };
    open->Action()->trigger();
    EXPECT_EQ(clicked, std::vector<int>{5});
    EXPECT_TRUE(menu->IsShortCut(ShortCut('O', TShiftState{ssCtrl})));
    EXPECT_EQ(clicked.size(), 2u);
    open->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut(ShortCut('O', TShiftState{ssCtrl})));

    // Opening the submenu runs the parent's OnClick first.
    int opened = 0;
    file->OnClick = [&](TObject*) { ++opened; };
    emit file->SubMenu()->aboutToShow();
    EXPECT_EQ(opened, 1);

    // Radio items of one group exclude each other.
    radios[0]->SetChecked(true);
    radios[2]->SetChecked(true);
    EXPECT_FALSE(radios[0]->Checked());
    EXPECT_TRUE(radios[2]->Checked());
    EXPECT_TRUE(radios[2]->Action()->isChecked());

    // The Qt side shows the captions, the separator and the shortcut.
    EXPECT_EQ(open->Action()->text(), QString::fromUtf16(u"&Открыть"));
    EXPECT_TRUE(line->Action()->isSeparator());
    EXPECT_EQ(open->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    ASSERT_NE(menu->MenuBar(), nullptr);
    EXPECT_EQ(menu->MenuBar()->actions().size(), 1);
    EXPECT_EQ(file->Find("открыть"), open);
    // The bar sits above the client area.
    EXPECT_EQ(form.ClientHeight(), form.Height() - menu->MenuBar()->sizeHint().height());

    // Deleting an item takes it out of its parent and the Qt menu.
    file->Delete(file->IndexOf(line));
    EXPECT_EQ(file->Count(), 4);
    EXPECT_EQ(file->SubMenu()->actions().size(), 4);
}

// A main menu wider than its window shows the style's overflow button, with the style's arrow, in
// the window as painted and in a picture of it taken before it was ever shown.
TEST_F(CoreForms, OverflowingMenuShowsTheStylesArrow) {
    for (bool shownFirst : {true, false}) {
        SCOPED_TRACE(shownFirst ? "shown" : "rendered while hidden");
        TForm form(nullptr);
        form.SetBounds(10, 10, 160, 120);
        auto* menu = new TMainMenu(&form);
        for (int i = 0; i < 8; ++i) {
            auto* item = new TMenuItem(&form);
            item->SetCaption("Пункт меню " + IntToStr(i));
            menu->Items()->Add(item);
        }
        form.SetMenu(menu);
        QMenuBar* bar = menu->MenuBar(form.Handle());
        auto* arrow = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        ASSERT_NE(arrow, nullptr);
        if (shownFirst) {
            form.Show();
            ASSERT_TRUE(WaitFor([&] { return arrow->isVisible(); }));
            // Painted once the window is exposed.
            ASSERT_TRUE(WaitFor([&] { return !arrow->icon().isNull(); }));
        } else {
            bar->resize(150, bar->sizeHint().height());
            ASSERT_TRUE(arrow->isVisibleTo(bar));
            form.Handle()->grab();
        }
        QIcon want = arrow->style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, bar);
        ASSERT_FALSE(arrow->icon().isNull());
        EXPECT_EQ(arrow->icon().pixmap(16).toImage(), want.pixmap(16).toImage());
    }
}

TEST_F(CoreForms, AnExceptionInAMenuHandlerStopsAtTheBoundary) {
    TFakeDialogScope dialogs;
    TPopupMenu popup(nullptr);
    auto* item = new TMenuItem(&popup);
    popup.Items()->Add(item);
    item->OnClick = [](TObject*) { throw Exception("Сбой"); };
    EXPECT_NO_THROW(item->Action()->trigger());
    ASSERT_EQ(dialogs.Fake.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Fake.Calls[0].Text, "Сбой.");
}

TEST_F(CoreForms, ShortCutTextRoundTrips) {
    struct {
        TShortCut Sc;
        const char* Text;
    } cases[] = {
        {ShortCut('S', TShiftState{ssCtrl}), "Ctrl+S"},
        {ShortCut(VK_F10, TShiftState{ssShift}), "Shift+F10"},
        {ShortCut(VK_DELETE, TShiftState()), "Del"},
        {ShortCut('1', TShiftState{ssAlt, ssCtrl}), "Ctrl+Alt+1"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.Sc), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Sc) << c.Text;
    }
    EXPECT_EQ(StripHotkey("&Файл && Правка"), "Файл & Правка");
}

TEST_F(CoreForms, MessageFunctionsGoThroughTheDialogService) {
    TFakeDialogScope dialogs;
    auto& f = dialogs.Fake;
    f.DlgAnswer = mrNo;
    EXPECT_EQ(MessageDlg("Удалить объект?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
    f.BoxAnswer = IDRETRY;
    EXPECT_EQ(MessageBox(nullptr, "Порт занят", "Ошибка", MB_RETRYCANCEL | MB_ICONERROR), IDRETRY);
    ShowMessage("Готово");
    // The runtime's message-box hook (used below the GUI) reaches the same service once installed.
    Application->Initialize();
    f.BoxAnswer = IDYES;
    EXPECT_EQ(ShowMessageBoxText("База повреждена", "lorbase", MB_YESNO), IDYES);

    ASSERT_EQ(f.Calls.size(), 4u);
    EXPECT_EQ(f.Calls[0].Kind, "dlg");
    EXPECT_EQ(f.Calls[0].Text, "Удалить объект?");
    EXPECT_EQ(f.Calls[0].Flags, (UINT(mtConfirmation) << 16) | UINT(TMsgDlgButtons{mbYes, mbNo}.ToInt()));
    EXPECT_EQ(f.Calls[1].Caption, "Ошибка");
    EXPECT_EQ(f.Calls[1].Flags, UINT(MB_RETRYCANCEL | MB_ICONERROR));
    EXPECT_EQ(f.Calls[2].Text, "Готово");
    EXPECT_EQ(f.Calls[2].Caption, "Информация");
    EXPECT_EQ(f.Calls[3].Text, "База повреждена");
    SetMessageBoxHandler(nullptr);
}

TEST_F(CoreForms, FileDialogsFillTheirFieldsFromTheService) {
    TFakeDialogScope dialogs;
    auto& f = dialogs.Fake;
    TSaveDialog save(nullptr);
    save.SetFilter("База (*.cdb)|*.cdb|Все файлы|*.*");
    save.SetDefaultExt("cdb");
    save.SetFileName("old.cdb");
    save.SetOptions(TOpenOptions{ofOverwritePrompt});
    f.FileNames = {"/tmp/Новая"};
    ASSERT_TRUE(save.Execute());
    EXPECT_TRUE(f.LastFile.Save);
    EXPECT_EQ(f.LastFile.FileName, "old.cdb");
    EXPECT_TRUE(f.LastFile.Options.Contains(ofOverwritePrompt));
    EXPECT_EQ(save.FileName(), "/tmp/Новая.cdb");

    f.FileAnswer = false;
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/Новая.cdb");

    TOpenDialog open(nullptr);
    f.FileAnswer = true;
    f.FileNames = {"/a/x.act", "/a/y.act"};
    ASSERT_TRUE(open.Execute());
    EXPECT_FALSE(f.LastFile.Save);
    EXPECT_EQ(open.FileName(), "/a/x.act");
    EXPECT_EQ(open.Files()->Count(), 2);

    struct {
        const char* Name;
        const char* Ext;
        const char* Expect;
    } exts[] = {{"a", "cdb", "a.cdb"},
                {"a.lor", "cdb", "a.lor"},
                {"a", ".ini", "a.ini"},
                {"a", "", "a"},
                {"dir.d/a", "txt", "dir.d/a.txt"}};
    for (auto& e : exts)
        EXPECT_EQ(ApplyDefaultExt(e.Name, e.Ext), e.Expect);
    EXPECT_EQ(FilterToQtFilters("Текст|*.txt;*.log|Все|*.*"),
              (std::vector<std::string>{"Текст (*.txt *.log)", "Все (*.*)"}));
}

// The real dialog: a name picked there that Windows-1251 cannot hold is refused by name, while a
// Cyrillic one arrives as Windows-1251.
TEST_F(CoreForms, TheRealFileDialogRefusesNamesOutsideWindows1251) {
    struct Case {
        const char8_t* Typed; // as the user types it
        bool Accepted;
    };
    for (Case c : {Case{u8"Подстанция-1.cdb", true}, Case{u8"схема\u2713.cdb", false}}) {
        std::string shown;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            dlg->selectFile(QString::fromUtf8(reinterpret_cast<const char*>(c.Typed)));
            // The refusal arrives as a message box while the dialog's answer is handled.
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->text().toStdString();
                    box->accept();
                }
            });
            static_cast<QDialog*>(dlg)->accept();
        });
        TSaveDialog save(nullptr);
        save.SetInitialDir(QDir::tempPath().toStdString());
        EXPECT_EQ(save.Execute(), c.Accepted) << reinterpret_cast<const char*>(c.Typed);
        if (c.Accepted) {
            EXPECT_EQ(ExtractFileName(save.FileName()), "Подстанция-1.cdb");
            EXPECT_TRUE(shown.empty());
        } else {
            EXPECT_NE(shown.find(reinterpret_cast<const char*>(u8"схема")), std::string::npos) << shown;
        }
    }
}

// The system's own parts speak Russian: the message box's buttons in order, each answering its ID.
TEST_F(CoreForms, MessageBoxButtonsReadAsOnARussianDesktop) {
    const struct {
        UINT Flags;
        std::vector<std::string> Captions;
        int Ids[3];
    } cases[] = {
        {MB_OK, {"ОК"}, {IDOK}},
        {MB_OKCANCEL, {"ОК", "Отмена"}, {IDOK, IDCANCEL}},
        {MB_ABORTRETRYIGNORE, {"Прервать", "Повторить", "Пропустить"}, {IDABORT, IDRETRY, IDIGNORE}},
        {MB_YESNOCANCEL, {"Да", "Нет", "Отмена"}, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {"Да", "Нет"}, {IDYES, IDNO}},
        {MB_RETRYCANCEL, {"Повторить", "Отмена"}, {IDRETRY, IDCANCEL}},
    };
    for (const auto& c : cases)
        for (size_t pick = 0; pick < c.Captions.size(); ++pick) {
            std::vector<std::string> shown;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                QPushButton* chosen = nullptr;
                for (const std::string& want : c.Captions)
                    for (QAbstractButton* b : box->buttons())
                        if (b->text() == QString::fromStdString(Cp1251ToUtf8(want))) {
                            shown.push_back(want);
                            if (shown.size() == pick + 1)
                                chosen = qobject_cast<QPushButton*>(b);
                        }
                if (box->buttons().size() != int(c.Captions.size()) || !chosen)
                    box->reject();
                else
                    chosen->click();
            });
            EXPECT_EQ(MessageBox(nullptr, "Сохранить изменения?", "qbxconf", c.Flags), c.Ids[pick])
                << c.Flags << " " << pick;
            EXPECT_EQ(shown, c.Captions) << c.Flags;
        }
}

// Qt's own dialogs take Qt's Russian translations and the Russian locale.
TEST_F(CoreForms, QtsOwnDialogsAndCalendarsSpeakRussian) {
    EXPECT_EQ(QLocale().language(), QLocale::Russian);
    EXPECT_EQ(QLocale().firstDayOfWeek(), Qt::Monday);
    QString accept, cancel;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        for (auto* b : dlg->findChildren<QPushButton*>()) {
            if (b->isDefault())
                accept = b->text();
            else if (b->text().contains(QString::fromUtf16(u"Отмена")))
                cancel = b->text();
        }
        static_cast<QDialog*>(dlg)->reject();
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(QDir::tempPath().toStdString());
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(accept.remove('&'), QString::fromUtf16(u"Открыть"));
    EXPECT_EQ(cancel, QString::fromUtf16(u"Отмена"));
}

TEST_F(CoreForms, ClipboardTextCrossesTheBoundaryAsUnicode) {
    Clipboard()->SetAsText("Канал №5");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf16(u"Канал №5"));
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"Объект ™"));
    EXPECT_EQ(Clipboard()->AsText(), "Объект ™");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(CoreForms, TimerTicksWhileEnabledAndStopsAtZeroInterval) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject* s) {
        EXPECT_EQ(s, &timer);
        ++ticks;
    };
    timer.SetInterval(5);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    int now = ticks;
    WaitFor([] { return false; }, 40);
    EXPECT_EQ(ticks, now);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    WaitFor([] { return false; }, 40);
    EXPECT_EQ(ticks, now);

    // An exception from OnTimer is shown, not thrown into Qt.
    TFakeDialogScope dialogs;
    timer.OnTimer = [](TObject*) { throw Exception("tick"); };
    timer.SetInterval(5);
    EXPECT_TRUE(WaitFor([&] { return !dialogs.Fake.Calls.empty(); }));
    timer.SetEnabled(false);
    EXPECT_EQ(dialogs.Fake.Calls[0].Text, "tick.");
}

// A one-shot timer or a dialog may be freed from its own event; nothing touches it afterwards.
TEST_F(CoreForms, ATimerOrAModalFormFreedFromItsOwnEventGoesQuietly) {
    TFakeDialogScope dialogs;
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(1);
    timer->OnTimer = [&](TObject* s) {
        ++ticks;
        delete static_cast<TTimer*>(s);
    };
    WaitFor([] { return false; }, 30);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1);

    auto* form = new TForm(nullptr);
    form->OnShow = [&](TObject*) { QTimer::singleShot(0, [form] { delete form; }); };
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(dialogs.Fake.Calls.empty());
}

TEST_F(CoreForms, ScreenKnowsFormsAndFonts) {
    int before = Screen->FormCount();
    {
        TForm f(nullptr);
        EXPECT_EQ(Screen->FormCount(), before + 1);
        f.Show();
        EXPECT_EQ(Screen->ActiveForm(), &f);
    }
    EXPECT_EQ(Screen->FormCount(), before);
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->Fonts()->Count(), 0);
    EXPECT_FALSE(Application->ExeName().empty());
    EXPECT_EQ(Application->ExeName(), ProgramPath()); // one rule for the program's path
}

// A released window stays released while the control is hidden and comes back, children and all,
// when it is shown; a control on the screen is never left without one.
TEST_F(CoreForms, DestroyHandleReleasesHiddenWindowsAndRemakesShownOnes) {
    TForm form(nullptr);
    auto* panel = new TCustomControl(&form);
    panel->SetParent(&form);
    auto* child = new TCustomControl(&form);
    child->SetParent(panel);
    form.Show();
    QWidget* old = panel->Handle();
    panel->DestroyHandle();
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(child->HandleAllocated());
    EXPECT_NE(panel->Handle(), old);
    EXPECT_TRUE(panel->Handle()->isVisible());
    panel->SetVisible(false);
    panel->DestroyHandle();
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(child->HandleAllocated());
    panel->SetVisible(true);
    ASSERT_TRUE(panel->HandleAllocated());
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_TRUE(panel->Handle()->isVisible());
    EXPECT_TRUE(child->Handle()->isVisible());
}

// Once a form has begun to go, whether the program's end fired its OnDestroy first or it is just
// deleted, no handler of it or of its controls runs: taking the children down would re-lay the
// rest, and the handlers may belong to a form whose derived part is gone.
TEST_F(CoreForms, AGoingFormRaisesNoHandlerOfItsControls) {
    for (bool announced : {true, false}) {
        SCOPED_TRACE(announced ? "OnDestroy first" : "deleted alone");
        std::vector<std::string> log;
        auto* form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        // Controls owned by no one: the window takes them down all the same.
        auto* panel = new TCustomControl(nullptr);
        panel->SetParent(form);
        panel->SetAlign(alClient);
        auto* rest = new TCustomControl(nullptr);
        rest->SetParent(panel);
        rest->SetAlign(alClient);
        rest->SetTabStop(true);
        auto* side = new TCustomControl(nullptr);
        side->SetParent(panel);
        side->SetWidth(80);
        side->SetAlign(alLeft);
        rest->OnResize = [&](TObject*) { log.push_back("resize"); };
        rest->OnExit = [&](TObject*) { log.push_back("exit"); };
        form->OnHide = [&](TObject*) { log.push_back("hide"); };
        form->Show();
        rest->SetFocus();
        log.clear();
        side->SetWidth(100);
        EXPECT_EQ(log, (std::vector<std::string>{"resize"})) << "a living form's layout raises it";

        log.clear();
        if (announced)
            form->BeforeDestruction();
        delete form;
        Application->ProcessMessages();
        EXPECT_EQ(log, (std::vector<std::string>{}));
    }
}

} // namespace
