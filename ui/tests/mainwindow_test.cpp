// The main window headless: start-up, the file commands' round trip through the store, the channel
// page's guards, the subprogram page, and docking the message window.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include <pty.h>
#include <unistd.h>

#include "Commport.h"
#include "Configmanager.h"
#include "Conjoinhost.h"
#include "Devicetypes.h"
#include "Dockform.h"
#include "Gwbars.h"
#include "Uind570mp3.h"
#include "Qbx520object.h"
#include "Qbx570object.h"
#include "Umain.h"
#include "UnitSyntaxMemo.h"
#include "Unewparam.h"
#include "Uprogram.h"
#include "Uschedule.h"
#include "actions.h"
#include "cp1251.h"
#include "deviceengine.h"
#include "dragdock.h"
#include "failingfs.h"
#include "inputkit.h"
#include "mainwindow_fixture.h"
#include "screenkit.h"
#include "tempfolder.h"
#include "timers.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

// Dialogs answered from queues: a file dialog takes the next name ("" cancels), a message dialog
// the next answer (Yes when none is queued); every message shown is kept.
struct FakeDialogs : TDialogService {
    std::deque<std::string> Files;
    std::deque<int> Answers;
    std::vector<std::string> Shown;
    std::vector<std::string> BoxTitles; // of the message boxes, in order
    int MessageBox(const std::string& Text, const std::string& Title, UINT) override {
        Shown.push_back(Text);
        BoxTitles.push_back(Title);
        return IDOK;
    }
    int MessageDlg(const std::string& Msg, TMsgDlgType, TMsgDlgButtons) override {
        Shown.push_back(Msg);
        if (Answers.empty())
            return mrYes;
        int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>& files) override {
        std::string f = Files.empty() ? "" : Files.front();
        if (!Files.empty())
            Files.pop_front();
        if (f.empty())
            return false;
        files = {f};
        return true;
    }
};

class MainWindow : public TMainWindowTest<FakeDialogs> {
protected:
    TMenuItem* AddItem(int code) {
        for (int i = 0; i < m->mmAddObj->Count(); ++i)
            if (m->mmAddObj->Items(i)->Tag == code)
                return m->mmAddObj->Items(i);
        return nullptr;
    }
    std::vector<std::string> Lines(TStrings* s) {
        std::vector<std::string> out;
        for (int i = 0; i < s->Count(); ++i)
            out.push_back((*s)[i]);
        return out;
    }
    // The captions of the tabs a tab control shows, in order.
    std::vector<std::string> Tabs(TGwCustomTabControl* c) {
        std::vector<std::string> out;
        for (int i = 0; i < c->TabCount(); ++i)
            out.push_back(c->Tab(i).Caption);
        return out;
    }
    std::vector<std::string> Cells(TGwStringGrid* g) {
        std::vector<std::string> out;
        for (int r = 0; r < g->RowCount(); ++r)
            out.push_back(g->Cells(0, r) + "|" + g->Cells(1, r));
        return out;
    }
    // Every text the object and channel pages show, object by object and type by type.
    std::vector<std::string> PageTexts() {
        std::vector<std::string> out = Lines(m->gwlbObjectList->Items());
        for (int i = 0; i < m->gwlbObjectList->Items()->Count(); ++i) {
            m->gwlbObjectList->SetItemIndex(i);
            m->gwlbObjectListClick(m->gwlbObjectList);
            for (auto& c : Cells(m->gwsgObjectProperty))
                out.push_back(c);
            for (auto& c : Cells(m->gwsgObjectCommand))
                out.push_back(c);
        }
        m->gwneParamTypeEnter(m->gwneParamType);
        for (const std::string& type : Lines(m->gwneParamType->Items())) {
            m->gwneParamType->SetText(type);
            m->gwneParamTypeChange(m->gwneParamType);
            out.push_back("type " + type);
            for (auto& c : Cells(m->gwsgParamList))
                out.push_back(c);
        }
        return out;
    }
    void SelectRows(int top, int bottom) { m->gwsgParamList->SetSelection(TGridRect(0, top, 1, bottom)); }
    void Key(WORD key, TShiftState shift) {
        WORD k = key;
        m->gwsgParamListKeyUp(m->gwsgParamList, k, shift);
    }
    std::vector<int> IndexesOf(const std::vector<TParamItem*>& ps) {
        std::vector<int> out;
        for (TParamItem* p : ps)
            out.push_back(p->ChannelIndex);
        return out;
    }
    void NewFreeChannels(const std::string& type, const std::string& count, const std::string& bits = "",
                         const std::string& depth = "") {
        m->gwneParamType->SetText(type);
        m->gwsgNewParamProperty->SetCells(1, 0, count);
        m->gwsgNewParamProperty->SetCells(1, 1, bits);
        m->gwsgNewParamProperty->SetCells(1, 4, depth);
        m->GwButton1Click(m);
    }
    // A user's left click in the middle of a tab.
    void ClickTab(TGwCustomTabControl* c, int tab) {
        TRect r = c->TabRect(tab);
        inputkit::Click(c, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    bool Reported(const std::string& line) { return DockableForm->MessageMemo->Lines()->IndexOf(line) >= 0; }
};

TEST_F(MainWindow, StartsWithItsFormsInOrderAndEveryDeviceTypeInTheAddObjectMenu) {
    std::vector<std::string> forms;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i)))
            forms.push_back(f->Caption());
    EXPECT_EQ(forms,
              (std::vector<std::string>{kMainCaption, "Создать новый канал...", frmSchedule->Caption(),
                                        frmInd570mp3->Caption(), "ConjoinDockHost", "Окно сообщений"}));
    EXPECT_EQ(Application->MainForm(), m);

    // The menu as the program has always shown it: captions, groups and each item's type code.
    static const char* const kAddObjectMenu[] = {
        "ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ",
        "-",
        "ЖУРНАЛ СООБЩЕНИЙ",
        "-",
        "QBX-510",
        "УО (QBX-520)",
        "QBX-540",
        "QBX-540М",
        "КЯ QBX-530",
        "QBX-550",
        "ЦПТ QBX-560",
        "-",
        "УЗА-10А.2",
        "PC83-А2",
        "ЩМ-120(ЩМ-96)",
        "-",
        "БМРЗ-101КЛ-080408",
        "БМРЗ-101КЛ-151107",
        "БМРЗ-101КЛ-140410",
        "БМРЗ-103ВВ-090708",
        "БМРЗ-103ВВ-260607",
        "БМРЗ-103ВВ-140510",
        "БМРЗ-103СВ-080408",
        "БМРЗ-103СВ-250610",
        "NL-16HV",
        "-",
        "СИРИУС-Д",
        "СИРИУС-2В",
        "СИРИУС-2Л",
        "СИРИУС-2Л(старый)",
        "СИРИУС-2В(старый)",
        "СИРИУС-2МЛ(старый)",
        "СИРИУС-2C(старый)",
        "СИРИУС-2C",
        "СИРИУС-ТН",
        "СИРИУС-ЦС",
        "ОРИОН-2",
        "ОРИОН-РТЗ",
        "Панель ATI",
        "-",
        "ADAM-4117",
        "Радон Риц",
        "-",
        "ИПЦ-6806",
        "МЕРКУРИЙ 230",
        "СЭТ-4ТМ",
        "-",
        "УКПМ (ТМ-КОМПАС 1.0)",
        "КЭЯ \"ЗНАК+\"",
        "КЭЯ \"ЗНАК+\" (ИКС)",
        "-",
        "QBX-570-МЩ3",
        "QBX-570-МЩ1.8",
        "-",
        "СЭТ-4ТМ (Подслушивание)",
    };
    std::vector<std::string> captions;
    for (int i = 0; i < m->mmAddObj->Count(); ++i)
        captions.push_back(m->mmAddObj->Items(i)->Caption());
    EXPECT_EQ(captions, std::vector<std::string>(std::begin(kAddObjectMenu), std::end(kAddObjectMenu)));
    int counter = 0;
    for (int i = 0; i < m->mmAddObj->Count(); ++i) {
        TMenuItem* item = m->mmAddObj->Items(i);
        bool line = item->Caption() == "-";
        EXPECT_EQ(item->Tag, line ? 0 : ++counter) << i;
        EXPECT_EQ(bool(item->OnClick), !line) << i;
    }
    EXPECT_EQ(counter, kDeviceTypeCount);
    for (const TDeviceType& t : DeviceTypeTable)
        EXPECT_TRUE(!t.Creatable || DeviceFactory(&t)) << t.Tag;

    std::vector<std::string> top;
    for (int i = 0; i < m->MainMenu1->Items()->Count(); ++i)
        top.push_back(m->MainMenu1->Items()->Items(i)->Caption());
    EXPECT_EQ(top, (std::vector<std::string>{"&Файл", "Объекты", "Каналы концентратора", "Подпрограммы",
                                             "Вид", "Помощь"}));
    EXPECT_EQ(Tabs(m->pcMain), (std::vector<std::string>{"Управление объектами", "Управление каналами",
                                                         "Управление каналами (Express)", "Подпрограммы",
                                                         "Управление загрузкой"}));
    EXPECT_FALSE(m->mmView2->Checked());
    EXPECT_FALSE(m->mmView4->Checked());
    EXPECT_EQ(m->pcMain->ActivePage(), m->tsObjectControl);
    EXPECT_EQ(m->ComboBox1->Items()->Get(2), "COM3");
}

// The QBX-520 and QBX-570-МЩ3 objects reach their editor forms through the openers the start-up
// registers: each form is shown on the configuration's channels (and the asking object).
TEST_F(MainWindow, DeviceObjectsOpenTheProgramsEditorForms) {
    std::vector<std::string> shown;
    // A timer of the form that ends its modal loop once it runs.
    auto closeWhenShown = [&shown](TForm* form) {
        auto* closer = new TTimer(form);
        closer->SetInterval(10);
        closer->OnTimer = [form, closer, &shown](TObject*) {
            shown.push_back(form->Caption());
            closer->SetEnabled(false);
            form->SetModalResult(mrOk);
        };
    };
    AddItem(4)->Click();
    AddItem(43)->Click();
    TQbx520Item* schedule = nullptr;
    TQbx570mp3Item* indicator = nullptr;
    for (ELEM* e = m->Config->Objects.Oldest; e; e = e->Newer) {
        if (auto* o = dynamic_cast<TQbx520Item*>(static_cast<TObjectItem*>(e)))
            schedule = o;
        if (auto* o = dynamic_cast<TQbx570mp3Item*>(static_cast<TObjectItem*>(e)))
            indicator = o;
    }
    ASSERT_NE(schedule, nullptr);
    ASSERT_NE(indicator, nullptr);
    closeWhenShown(frmSchedule);
    schedule->ShowScheduleEditor();
    EXPECT_EQ(frmSchedule->Channels, &m->Config->Channels);
    closeWhenShown(frmInd570mp3);
    indicator->ShowIndicatorEditor();
    EXPECT_EQ(frmInd570mp3->Channels, &m->Config->Channels);
    EXPECT_EQ(frmInd570mp3->ObjectNumber, indicator->Number);
    EXPECT_EQ(shown, (std::vector<std::string>{frmSchedule->Caption(), frmInd570mp3->Caption()}));
}

TEST_F(MainWindow, NewAddSaveOpenShowsTheSameObjectAndChannelPages) {
    std::string path = dir.File("station.cdb");
    dialogs.Files = {path};
    m->mmNewClick(m->mmNew);
    EXPECT_EQ(m->Caption(), std::string(kMainCaption) + " - " + path);
    for (int code : {1, 3, 7, 12, 17, 27, 40, 42})
        AddItem(code)->Click();
    std::vector<std::string> before = PageTexts();
    ASSERT_GE(m->gwlbObjectList->Items()->Count(), 6);

    m->mmSaveClick(m->mmSave);
    ASSERT_TRUE(std::filesystem::exists(path));
    m->mmNewClick(m->mmNew); // cancelled: nothing changes
    dialogs.Files = {path};
    m->mmOpenClick(m->mmOpen);
    EXPECT_EQ(PageTexts(), before);
}

TEST_F(MainWindow, SaveAsNamesTheNewFileAndAFailedSaveKeepsTheOldOne) {
    std::string first = dir.File("a.cdb");
    dialogs.Files = {first};
    m->mmNewClick(m->mmNew);
    AddItem(3)->Click();
    m->mmSaveClick(m->mmSave);
    auto saved = std::filesystem::file_size(first);

    std::filesystem::create_directories(dir.File("locked"));
    std::string second = dir.File("locked/b.cdb");
    dialogs.Files = {second};
    m->mmSaveAsClick(m->mmSaveAs);
    EXPECT_EQ(m->Caption(), std::string(kMainCaption) + " - " + second);
    EXPECT_TRUE(std::filesystem::exists(second));

    const std::string before = ReadBytes(second);
    const testsupport::ClosedFolderFileSystem closed(dir.File("locked"));
    dialogs.Shown.clear();
    AddItem(1)->Click();
    m->mmSaveClick(m->mmSave);
    EXPECT_GT(closed.Refused, 0);
    EXPECT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(ReadBytes(second), before);
    EXPECT_EQ(Names(dir.File("locked")), std::vector<std::string>{"b.cdb"}); // no temporary left
    EXPECT_EQ(std::filesystem::file_size(first), saved);
}

// Save As to a place that takes no file: the user reads why, under a Russian title, and the window
// still names (and Save still writes) the file that was saved before.
struct SaveAsCase {
    const char* name;
    const char* target;  // under the test's folder
    const char* prepare; // a regular file made there first, or null
    bool closedFolder;   // the test's folder takes no new files
    const char* reason;
};

void PrintTo(const SaveAsCase& c, std::ostream* os) { *os << c.name; }

class SaveAsFailure : public MainWindow, public ::testing::WithParamInterface<SaveAsCase> {};

TEST_P(SaveAsFailure, TellsWhyAndKeepsTheSavedFileNamed) {
    const SaveAsCase& c = GetParam();
    const std::string first = dir.File("a.cdb");
    dialogs.Files = {first};
    m->mmNewClick(m->mmNew);
    AddItem(3)->Click();
    m->mmSaveClick(m->mmSave);
    ASSERT_TRUE(std::filesystem::exists(first));
    const std::string caption = m->Caption();
    if (c.prepare)
        std::ofstream(dir.File(c.prepare)) << "x";
    std::optional<testsupport::ClosedFolderFileSystem> closed;
    if (c.closedFolder)
        closed.emplace(dir.Path());
    const std::string target = dir.File(c.target);
    dialogs.Files = {target};
    dialogs.Shown.clear();
    dialogs.BoxTitles.clear();
    m->mmSaveAsClick(m->mmSaveAs);

    EXPECT_EQ(dialogs.Shown,
              std::vector<std::string>{"Не удалось записать файл " + target + ": " + c.reason});
    EXPECT_EQ(dialogs.BoxTitles, std::vector<std::string>{"Ошибка"});
    EXPECT_EQ(m->Caption(), caption);
    EXPECT_FALSE(std::filesystem::is_regular_file(target));
    closed.reset();
    const std::string before = ReadBytes(first);
    AddItem(1)->Click();
    dialogs.Shown.clear();
    m->mmSaveClick(m->mmSave); // still the file saved before
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_NE(ReadBytes(first), before);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, SaveAsFailure,
    ::testing::Values(
        SaveAsCase{"FolderTakesNoFiles", "b.cdb", nullptr, true, "Отказано в доступе"},
        SaveAsCase{"ParentIsAFile", "plain/b.cdb", "plain", false, "Системе не удается найти указанный путь"},
        SaveAsCase{"TargetIsAFolder", "plugin", nullptr, false, "Указанный путь является папкой"}),
    [](const ::testing::TestParamInfo<SaveAsCase>& i) { return std::string(i.param.name); });

// Adding a second object of a type a configuration holds once says so.
TEST_F(MainWindow, AnObjectThatCannotBeAddedSaysWhy) {
    dialogs.Files = {dir.File("a.cdb")};
    m->mmNewClick(m->mmNew);
    const TDeviceType* once = nullptr;
    for (const TDeviceType& t : DeviceTypeTable)
        if (t.Once && t.Creatable && !once)
            once = &t;
    ASSERT_NE(once, nullptr);
    AddItem(once->Code)->Click();
    const int objects = m->gwlbObjectList->Items()->Count();
    dialogs.Shown.clear();
    dialogs.BoxTitles.clear();
    AddItem(once->Code)->Click();
    EXPECT_EQ(m->gwlbObjectList->Items()->Count(), objects);
    EXPECT_EQ(dialogs.Shown, std::vector<std::string>{"Объект \"" + std::string(once->Caption) +
                                                      "\" уже есть в конфигурации, второй не добавляется."});
    EXPECT_EQ(dialogs.BoxTitles, std::vector<std::string>{"Ошибка"});
}

// A device whose construction fails, as one would when the system refuses it what it needs.
struct UnbuildableDevice : TObjectItem {
    static constexpr const char* kWhy = "'9x' - недопустимое целое значение";
    UnbuildableDevice(uint16_t number, ELEMList*, actionManager*) : TObjectItem(number) {
        throw EConvertError(kWhy);
    }
};

// A device that cannot be built names why, when the user adds one and when a file holds one; the
// rest of the configuration is there all the same.
TEST_F(MainWindow, ADeviceThatCannotBeBuiltSaysWhyWhenAddedAndWhenLoaded) {
    const TDeviceType* type = FindDeviceTypeByCode(38);
    ASSERT_NE(type, nullptr);
    const std::string path = dir.File("m.cdb");
    dialogs.Files = {path};
    m->mmNewClick(m->mmNew);
    AddItem(type->Code)->Click();
    AddItem(3)->Click();
    m->mmSaveClick(m->mmSave);
    const int objects = m->gwlbObjectList->Items()->Count();
    ASSERT_EQ(objects, 2);

    struct Unbuildable {
        const TDeviceType* type;
        TObjectFactory real = DeviceFactory(type);
        explicit Unbuildable(const TDeviceType* t) : type(t) {
            RegisterDeviceClass(type->Tag, &dev::MakeDevice<UnbuildableDevice>);
        }
        ~Unbuildable() { RegisterDeviceClass(type->Tag, real); }
    } unbuildable(type);
    dialogs.Shown.clear();
    AddItem(type->Code)->Click();
    EXPECT_EQ(m->gwlbObjectList->Items()->Count(), objects);
    EXPECT_EQ(dialogs.Shown, std::vector<std::string>{"Объект \"" + std::string(type->Caption) +
                                                      "\" не создан: " + UnbuildableDevice::kWhy});

    dialogs.Files = {path};
    m->mmOpenClick(m->mmOpen);
    EXPECT_EQ(m->gwlbObjectList->Items()->Count(), objects - 1);
    const std::vector<std::string> messages = Lines(DockableForm->MessageMemo->Lines());
    const std::string line = "[Предупреждение]: Объект " + std::string(type->Tag) + " " +
                             IntToStr(type->Base + 1) + " не создан: " + UnbuildableDevice::kWhy;
    EXPECT_EQ(std::count(messages.begin(), messages.end(), line), 1) << ::testing::PrintToString(messages);
}

// Whatever escapes the program's start-up reaches the user once in the application's display (the
// runtime's exceptions as well as the GUI library's own), and the program ends as a failure; a
// silent abort shows nothing and fails all the same.
TEST(ProgramEntry, ShowsAnyExceptionThatEscapesStartUpAndFails) {
    FakeDialogs dialogs;
    TDialogService* old = SetDialogService(&dialogs);
    const int seen = Application->ExceptionCount();
    EXPECT_NE(RunProgram([] { throw std::out_of_range("индекс вне диапазона"); }), 0);
    EXPECT_NE(RunProgram([] { throw EConvertError("'x' - недопустимое целое значение"); }), 0);
    EXPECT_NE(RunProgram([] { Abort(); }), 0);
    SetDialogService(old);
    EXPECT_EQ(dialogs.Shown,
              (std::vector<std::string>{"индекс вне диапазона.", "'x' - недопустимое целое значение."}));
    EXPECT_EQ(dialogs.BoxTitles, (std::vector<std::string>(2, Application->Title())));
    EXPECT_EQ(Application->ExceptionCount() - seen, 3);
}

// A dock handler reached by a sender that is no panel is a programmer's error: it says so in words.
TEST_F(MainWindow, ADockHandlerReachedByANonPanelSaysWhatFailed) {
    std::vector<std::string> messages;
    for (auto handler : {+[](TMainForm* f) { f->BottomDockPanelDockDrop(f->mmSave, nullptr, 0, 0); },
                         +[](TMainForm* f) {
                             bool allow = true;
                             f->BottomDockPanelUnDock(f->mmSave, nullptr, nullptr, allow);
                         }}) {
        try {
            handler(m);
        } catch (const EInvalidCast& e) {
            messages.push_back(e.what());
        }
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"Сброс на нижнюю панель стыковки пришел не от панели",
                                                  "Отстыковка от нижней панели пришла не от панели"}));
}

TEST_F(MainWindow, RenumberingKeepsChannelsInsideOneTo255) {
    NewFreeChannels("7", "3");
    std::vector<TParamItem*> ch = {m->ChannelOfRow(1), m->ChannelOfRow(2), m->ChannelOfRow(3)};
    ASSERT_EQ(IndexesOf(ch), (std::vector<int>{1, 2, 3}));

    SelectRows(1, 1);
    Key(VK_UP, {ssAlt});
    EXPECT_EQ(IndexesOf(ch), (std::vector<int>{1, 2, 3}));
    SelectRows(2, 3);
    Key(VK_UP, {ssAlt});
    EXPECT_EQ(IndexesOf(ch), (std::vector<int>{3, 1, 2}));
    SelectRows(3, 3);
    Key(VK_DOWN, {ssAlt});
    EXPECT_EQ(IndexesOf(ch), (std::vector<int>{4, 1, 2}));

    NewFreeChannels("7", "251"); // 5 .. 255
    SelectRows(254, 254);
    EXPECT_EQ(m->ChannelOfRow(254)->ChannelIndex, 255);
    Key(VK_DOWN, {ssAlt});
    EXPECT_EQ(m->ChannelOfRow(254)->ChannelIndex, 255);
}

TEST_F(MainWindow, ChannelsBeyondIndex255AreRefusedWithAMessage) {
    const std::string full = "[Информация]: Достигнуто максимально допустимое количество каналов";
    NewFreeChannels("9", "254");
    NewFreeChannels("9", "2");
    EXPECT_TRUE(Reported(full));
    EXPECT_EQ(m->ChannelRowList.Count, 254u);
    NewFreeChannels("9", "1");
    EXPECT_EQ(m->ChannelRowList.Count, 255u);

    DockableForm->MessageMemo->Lines()->Clear();
    AddItem(12)->Click();
    m->GwListBox1->SetItemIndex(0);
    m->GwListBox1Click(m->GwListBox1);
    ASSERT_GT(m->GwListBox2->Items()->Count(), 0);
    TParamItem* signal = static_cast<TParamItemP*>(m->SignalParamList.Oldest)->Item;
    m->gwneParamType->SetText("9");
    m->GwListBox2->SetItemIndex(0);
    m->GwListBox2DblClick(m->GwListBox2);
    EXPECT_TRUE(Reported(full));
    EXPECT_EQ(signal->ChannelIndex, 0);
    m->gwneParamType->SetText("11");
    m->GwListBox2DblClick(m->GwListBox2);
    EXPECT_EQ(signal->ChannelType, 11);
    EXPECT_EQ(signal->ChannelIndex, 1);
}

// A click in the middle of a page tab, as the user's mouse gives it.
void ClickPageTab(TGwPageControl* pages, TGwTabSheet* sheet) {
    TRect r = pages->TabRect(sheet->TabIndex());
    inputkit::Click(pages, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A click in the middle of a grid cell.
void ClickCell(TGwStringGrid* g, int col, int row) {
    TRect r = g->CellRect(col, row);
    inputkit::Click(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// On a fresh window the "Новый" page shows its value column when first opened, and what the user
// types goes to the value cells and makes the channels; the captions take no typing.
TEST_F(MainWindow, TheNewChannelPageIsLaidOutWhenFirstShownAndTakesTypedValues) {
    m->Show();
    ClickPageTab(m->pcMain, m->tsParamControl);
    ClickPageTab(m->GwPageControl1, m->tsAddNewParam);
    ASSERT_EQ(m->GwPageControl1->ActivePage(), m->tsAddNewParam);
    TGwStringGrid* g = m->gwsgNewParamProperty;
    EXPECT_EQ(g->ColWidths(0), 200);
    EXPECT_EQ(g->ColWidths(1), g->ClientWidth() - 200 - 2);

    // A click on a caption leaves the typing in the value cell where it was.
    ClickCell(g, 0, 2);
    inputkit::TypeToFocus("3");
    ClickCell(g, 1, 1);
    inputkit::TypeToFocus("16");
    inputkit::PressToFocus(inputkit::Key::Return);
    EXPECT_EQ(Cells(g),
              (std::vector<std::string>{"Количество|3", "Длина параметра, бит|16", "Обработка при записи|",
                                        "Обработка при изменении|", "Хранить в ОЗУ. Глубина|"}));

    inputkit::Click(m->GwButton1, m->GwButton1->Width() / 2, m->GwButton1->Height() / 2);
    ASSERT_EQ(m->ChannelRowList.Count, 3u);
    EXPECT_EQ(m->ChannelOfRow(3)->ChannelIndex, 3);
    EXPECT_EQ(m->ChannelOfRow(3)->BitWidth(), 16);
}

// A field of the "Новый" page outside its range, typed and the button clicked: one message names the
// field and its range, and no channel is made.
struct NewChannelFieldCase {
    const char* name;
    int row;
    const char* text;
    const char* message;
};

void PrintTo(const NewChannelFieldCase& c, std::ostream* os) { *os << c.name; }

class NewChannelField : public MainWindow, public ::testing::WithParamInterface<NewChannelFieldCase> {};

TEST_P(NewChannelField, OutsideItsRangeIsNamedOnceAndMakesNoChannel) {
    const NewChannelFieldCase& c = GetParam();
    m->Show();
    ClickPageTab(m->pcMain, m->tsParamControl);
    ClickPageTab(m->GwPageControl1, m->tsAddNewParam);
    TGwStringGrid* g = m->gwsgNewParamProperty;
    std::vector<std::pair<int, std::string>> typed{{c.row, c.text}};
    if (c.row != 0)
        typed.insert(typed.begin(), {0, "3"}); // a count that fits
    for (const auto& [row, text] : typed) {
        ClickCell(g, 1, row);
        inputkit::TypeToFocus(text);
        inputkit::PressToFocus(inputkit::Key::Return);
    }
    ASSERT_EQ(g->Cells(1, c.row), c.text);
    dialogs.Shown.clear();
    inputkit::Click(m->GwButton1, m->GwButton1->Width() / 2, m->GwButton1->Height() / 2);
    EXPECT_EQ(dialogs.Shown, (std::vector<std::string>{c.message}));
    EXPECT_EQ(m->ChannelRowList.Count, 0u);
}

const NewChannelFieldCase kNewChannelFields[] = {
    {"Count0", 0, "0", "\"Количество\": значение 0 не сохранено, допустимы значения от 1 до 255."},
    {"Count256", 0, "256", "\"Количество\": значение 256 не сохранено, допустимы значения от 1 до 255."},
    {"Count11Digits", 0, "99999999999",
     "\"Количество\": значение 99999999999 не сохранено, допустимы значения от 1 до 255."},
    {"Width70000", 1, "70000",
     "\"Длина параметра, бит\": значение 70000 не сохранено, допустимы значения от 0 до 65535."},
    {"WriteHandler65536", 2, "65536",
     "\"Обработка при записи\": значение 65536 не сохранено, допустимы значения от 0 до 65535."},
    {"ChangeHandlerMinus1", 3, "-1",
     "\"Обработка при изменении\": значение -1 не сохранено, допустимы значения от 0 до 65535."},
    {"Depth256", 4, "256",
     "\"Хранить в ОЗУ. Глубина\": значение 256 не сохранено, допустимы значения от 0 до 255."},
};

INSTANTIATE_TEST_SUITE_P(NewChannels, NewChannelField, ::testing::ValuesIn(kNewChannelFields),
                         [](const auto& info) { return std::string(info.param.name); });

// The control's rectangle on the screen, and its client area's.
TRect ScreenBounds(TControl* c) {
    TPoint p = c->Parent()->ClientToScreen(TPoint(c->Left(), c->Top()));
    return TRect(p.x, p.y, p.x + c->Width(), p.y + c->Height());
}
TRect ScreenClient(TControl* c) {
    TPoint p = c->ClientToScreen(TPoint(0, 0));
    return TRect(p.x, p.y, p.x + c->ClientWidth(), p.y + c->ClientHeight());
}

// With the message window docked under the pages, the load tab's log shrinks into the room left
// below the link controls instead of covering them.
TEST_F(MainWindow, TheLoadTabsLogStaysBelowTheLinkControls) {
    ShowAtDefaultSize();
    ClickPageTab(m->pcMain, m->TabSheet1);
    ASSERT_EQ(m->pcMain->ActivePage(), m->TabSheet1);
    EXPECT_GT(m->GwRichEdit1->Height(), 150) << "the log has room while the message window is away";
    for (bool docked : {false, true}) {
        if (docked)
            m->mmMessageViewClick(m->mmMessageView);
        ASSERT_EQ(DockableForm->HostDockSite() == m->BottomDockPanel, docked);
        TRect log = ScreenBounds(m->GwRichEdit1), page = ScreenClient(m->TabSheet1);
        EXPECT_LE(log.Bottom, page.Bottom) << docked;
        for (TControl* c : std::initializer_list<TControl*>{m->GroupBox1, m->Edit3, m->Button1, m->Edit5})
            EXPECT_GE(log.Top, ScreenBounds(c).Bottom) << docked << " " << c->Name();
    }
}

// The real file system, with the USB adapters' stable names given by the test and the port scans
// counted.
class AdapterFileSystem : public TFileSystem {
public:
    AdapterFileSystem() { fOld = SetFileSystem(this); }
    ~AdapterFileSystem() override { SetFileSystem(fOld); }
    bool Inspect(const std::string& p, bool& exists, mode_t& mode) override {
        if (p.rfind(kById, 0) == 0) {
            exists = std::count(Adapters.begin(), Adapters.end(), p.substr(kById.size())) > 0;
            mode = S_IFCHR | 0660;
            return true;
        }
        return TFileSystem::Inspect(p, exists, mode);
    }
    bool List(const std::string& folder, std::vector<std::string>& names) override {
        if (folder == kById) {
            names = Adapters;
            return true;
        }
        if (folder == "/sys/class/tty")
            ++Scans;
        return TFileSystem::List(folder, names);
    }
    static inline const std::string kById = "/dev/serial/by-id/";
    std::vector<std::string> Adapters{"usb-FTDI_FT232R_A50285BI-if00-port0"};
    int Scans = 0;

private:
    TFileSystem* fOld;
};

class MainWindowPorts : public MainWindow {
protected:
    AdapterFileSystem Fs; // in place before the fixture makes the window
    std::vector<std::string> Items() { return Lines(m->ComboBox1->Items()); }
    int Count(const std::string& item) {
        std::vector<std::string> all = Items();
        return int(std::count(all.begin(), all.end(), item));
    }
};

// Start-up looks for no ports: the numbered ones are listed, and the adapters present join them
// when the user drops the list down or enters it, an adapter plugged in later too, each once.
TEST_F(MainWindowPorts, TheAdaptersPresentJoinTheListWhenTheUserGoesToIt) {
    const std::string first = AdapterFileSystem::kById + Fs.Adapters[0];
    EXPECT_EQ(Fs.Scans, 0);
    EXPECT_EQ(Items().size(), 255u);
    EXPECT_EQ(Items().back(), "COM255");

    ShowAtDefaultSize();
    ClickPageTab(m->pcMain, m->TabSheet1);
    ASSERT_EQ(m->pcMain->ActivePage(), m->TabSheet1);
    inputkit::Click(m->ComboBox1, m->ComboBox1->Width() - 6, m->ComboBox1->Height() / 2);
    inputkit::ProcessEvents();
    EXPECT_TRUE(m->ComboBox1->DroppedDown());
    EXPECT_EQ(Count(first), 1);
    EXPECT_EQ(Items()[255], first) << "after the numbered ports";
    m->ComboBox1->SetDroppedDown(false);
    inputkit::ProcessEvents();

    Fs.Adapters.push_back("usb-Prolific_PL2303-if00-port0");
    m->Edit3->SetFocus();
    inputkit::Press(m->Edit3, inputkit::Key::Tab, inputkit::Shift);
    inputkit::ProcessEvents();
    ASSERT_TRUE(m->ComboBox1->Focused());
    EXPECT_EQ(Count(first), 1);
    EXPECT_EQ(Count(AdapterFileSystem::kById + Fs.Adapters[1]), 1);
    std::vector<std::string> all = Items();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "nothing listed twice";
}

// An adapter's serial number sits in the middle of its long name: the list drops as wide as the
// longest name, and the field shows the chosen adapter's whole name as its hint (a numbered port
// fits the field and has none).
TEST_F(MainWindowPorts, ALongAdapterNameShowsWholeInTheListAndAsTheFieldsHint) {
    Fs.Adapters.push_back("usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0");
    const std::string longest = AdapterFileSystem::kById + Fs.Adapters[1];
    ShowAtDefaultSize();
    ClickPageTab(m->pcMain, m->TabSheet1);
    inputkit::Click(m->ComboBox1, m->ComboBox1->Width() - 6, m->ComboBox1->Height() / 2);
    inputkit::ProcessEvents();
    TBitmap list, measure;
    ASSERT_TRUE(screenkit::DropDown(m->ComboBox1, list));
    measure.Canvas()->Font()->Assign(m->ComboBox1->Font());
    EXPECT_GE(list.Width(), measure.Canvas()->TextWidth(longest) + GetSystemMetrics(SM_CXVSCROLL));
    inputkit::Press(m->ComboBox1, inputkit::Key::Escape);
    inputkit::ProcessEvents();

    // The adapters follow the numbered ports: from the list's end the user goes up to the longest.
    inputkit::Press(m->ComboBox1, inputkit::Key::End);
    for (int i = 0; i < 20 && m->ComboBox1->Text() != longest; ++i)
        inputkit::Press(m->ComboBox1, inputkit::Key::Up);
    inputkit::ProcessEvents();
    ASSERT_EQ(m->ComboBox1->Text(), longest);
    EXPECT_EQ(m->ComboBox1->Hint(), longest);
    inputkit::Press(m->ComboBox1, inputkit::Key::Home);
    inputkit::ProcessEvents();
    ASSERT_EQ(m->ComboBox1->Text(), "COM1");
    EXPECT_EQ(m->ComboBox1->Hint(), "");
}

// The chosen adapter's whole name shows as a hint below the mouse when it comes over the field and
// rests there: real mouse moves, the application's own pause. The field's own widget tracks no
// moves, so only the mouse's coming in tells where it is.
TEST_F(MainWindowPorts, TheCutAdapterNameShowsItsHintOnHover) {
    const std::string adapter = AdapterFileSystem::kById + Fs.Adapters[0];
    ShowAtDefaultSize();
    ClickPageTab(m->pcMain, m->TabSheet1);
    inputkit::Click(m->ComboBox1, m->ComboBox1->Width() - 6, m->ComboBox1->Height() / 2);
    inputkit::ProcessEvents();
    m->ComboBox1->SetDroppedDown(false);
    inputkit::ProcessEvents();
    inputkit::Press(m->ComboBox1, inputkit::Key::End);
    for (int i = 0; i < 20 && m->ComboBox1->Text() != adapter; ++i)
        inputkit::Press(m->ComboBox1, inputkit::Key::Up);
    inputkit::ProcessEvents();
    ASSERT_EQ(m->ComboBox1->Text(), adapter);
    ASSERT_TRUE(Application->Active()) << "hints show only while the application is active";

    inputkit::MouseMove(m->Edit3, 5, 5);
    const TPoint rest(40, m->ComboBox1->Height() / 2);
    inputkit::MouseMove(m->ComboBox1, rest.x, rest.y);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Application->HintWindow() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        inputkit::ProcessEvents();
    }
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(Application->HintWindow()->Caption(), adapter);
    const TPoint mouse = m->ComboBox1->ClientToScreen(rest);
    EXPECT_EQ(Application->HintWindow()->Left(), mouse.x);
    EXPECT_EQ(Application->HintWindow()->Top(), mouse.y + 20);
    // It stays while the mouse rests, long enough to be read.
    for (int i = 0; i < 30; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        inputkit::ProcessEvents();
    }
    ASSERT_NE(Application->HintWindow(), nullptr) << "hidden as soon as it showed";
    EXPECT_EQ(Application->HintWindow()->Caption(), adapter);
}

TEST_F(MainWindow, TheValueRowShowsTheChannelsBytesUpTo256) {
    NewFreeChannels("5", "1", "4000", "2");
    NewFreeChannels("5", "1", "12");
    bool can = true;
    SelectRows(1, 1);
    m->gwsgParamListSelectCell(m->gwsgParamList, 1, 1, can);
    std::string value = m->gwsgMainParamProperties->Cells(1, 4);
    EXPECT_EQ(std::count(value.begin(), value.end(), ','), 255);
    EXPECT_EQ(value.substr(0, 8), "255,255,");
    SelectRows(2, 2);
    m->gwsgParamListSelectCell(m->gwsgParamList, 1, 2, can);
    EXPECT_EQ(m->gwsgMainParamProperties->Cells(1, 4), "0,0");
    EXPECT_EQ(m->gwsgMainParamProperties->Cells(1, 0), "5:2");
    EXPECT_EQ(m->gwsgMainParamProperties->Cells(1, 2), "нет");
}

TEST_F(MainWindow, ATabClickShowsItsPageRefreshed) {
    m->Config->CreateSubprogram("poll");
    m->Config->NewChannel(1, 1);
    ASSERT_EQ(m->tcProgramm->TabCount(), 0); // made behind the window's back: no view knows them yet

    ClickTab(m->pcMain, m->tsProgramm->TabIndex());
    ASSERT_EQ(m->pcMain->ActivePage(), m->tsProgramm);
    EXPECT_TRUE(m->tsProgramm->Visible());
    EXPECT_FALSE(m->tsObjectControl->Visible());
    EXPECT_EQ(Tabs(m->tcProgramm), (std::vector<std::string>{"poll"}));
    // The subprogram tabs stand on the left of the editor.
    TRect tab = m->tcProgramm->TabRect(0);
    EXPECT_EQ(tab.Left, 0);
    EXPECT_LE(tab.Right, m->MPSyntaxMemo1->Left());
    EXPECT_LE(tab.Right, m->GwStatusBar1->Left());

    ClickTab(m->pcMain, m->tsParamControl->TabIndex());
    ASSERT_EQ(m->pcMain->ActivePage(), m->tsParamControl);
    EXPECT_EQ(Cells(m->gwsgParamList), (std::vector<std::string>{"№№|Название", "1|<без названия>"}));
}

// Every page tab with an image index draws that image of ImageList1: its opaque pixels (those the
// image gives alike on white and on black) stand somewhere inside the tab. The subprogram buttons
// carry glyphs of the list's size.
TEST_F(MainWindow, PageTabsDrawTheirImagesAndTheSubprogramButtonsHaveGlyphs) {
    ASSERT_EQ(m->pcMain->Images(), m->ImageList1);
    const int w = m->ImageList1->Width(), h = m->ImageList1->Height();
    int drawn = 0;
    for (int p = 0; p < m->pcMain->GetPageCount(); ++p) {
        TGwTabSheet* sheet = m->pcMain->GetPage(p);
        sheet->SetTabVisible(true);
        int image = sheet->ImageIndex();
        if (image < 0)
            continue;
        SCOPED_TRACE(sheet->Caption());
        ASSERT_LT(image, m->ImageList1->Count());
        TBitmap white, black;
        for (auto [b, c] : {std::pair{&white, clWhite}, std::pair{&black, clBlack}}) {
            b->SetSize(w, h);
            b->Canvas()->Brush()->SetColor(c);
            b->Canvas()->FillRect(TRect(0, 0, w, h));
            m->ImageList1->Draw(b->Canvas(), 0, 0, image);
        }
        std::vector<std::pair<TPoint, TColor>> opaque;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (white.Canvas()->GetPixel(x, y) == black.Canvas()->GetPixel(x, y))
                    opaque.push_back({TPoint(x, y), white.Canvas()->GetPixel(x, y)});
        ASSERT_GT(opaque.size(), size_t(w * h / 8)) << "an image that is mostly see-through";
        TBitmap paper;
        paper.SetSize(m->pcMain->Width(), m->pcMain->Height());
        m->pcMain->PaintTo(paper.Canvas());
        TRect tab = m->pcMain->TabRect(sheet->TabIndex());
        bool found = false;
        for (int y = tab.Top; y + h <= tab.Bottom && !found; ++y)
            for (int x = tab.Left; x + w <= tab.Right && !found; ++x) {
                found = true;
                for (const auto& [at, color] : opaque)
                    if (paper.Canvas()->GetPixel(x + at.x, y + at.y) != color) {
                        found = false;
                        break;
                    }
            }
        EXPECT_TRUE(found) << "image " << image << " not drawn in its tab";
        ++drawn;
    }
    EXPECT_EQ(drawn, 2);
    for (TSpeedButton* b : {m->SpeedButton1, m->SpeedButton2, m->SpeedButton3}) {
        EXPECT_EQ(b->Glyph()->Width(), w);
        EXPECT_EQ(b->Glyph()->Height(), h);
    }
}

TEST_F(MainWindow, ExpressChecksBindInKeyOrderCloseGapsAndStopAtAFullType) {
    AddItem(7)->Click(); // QBX-530: seven signal inputs of one parameter type
    TTreeNodes* items = m->gwctObjectList->Items();
    ASSERT_EQ(items->Count(), 8);
    TTreeNode* root = items->Item(0);
    std::vector<TParamItem*> ts;
    for (int i = 1; i < items->Count(); ++i) {
        ts.push_back(static_cast<TParamItem*>(items->Item(i)->Data));
        EXPECT_EQ(items->Item(i)->Text(), ts.back()->Name); // the box shows the state, not the text
    }
    auto space = [&](int input) {
        m->gwctObjectList->SetSelected(items->Item(input));
        inputkit::Press(m->gwctObjectList, inputkit::Key::Space);
    };
    auto indexes = [&] {
        std::vector<int> out;
        for (size_t i = 0; i < ts.size(); ++i) {
            out.push_back(ts[i]->ChannelIndex);
            EXPECT_EQ(items->Item(int(i) + 1)->StateIndex(), ts[i]->ChannelIndex ? csChecked : csUnchecked)
                << i;
        }
        return out;
    };
    struct Step {
        int input;
        std::vector<int> indexes;
    } steps[] = {{3, {0, 0, 1, 0, 0, 0, 0}},
                 {5, {0, 0, 1, 0, 2, 0, 0}},
                 {2, {0, 1, 2, 0, 3, 0, 0}},  // sorts first: the others move up
                 {3, {0, 1, 0, 0, 2, 0, 0}}}; // unchecked: the gap closes
    for (const Step& s : steps) {
        space(s.input);
        EXPECT_EQ(indexes(), s.indexes) << "input " << s.input;
        EXPECT_EQ(root->StateIndex(), csUnknown); // checks do not cascade to the object
    }
    EXPECT_EQ(ts[1]->ChannelType, 1);
    EXPECT_EQ(m->gwsgMainParamPropertiesExpress->Cells(1, 0), "отсутвует"); // the last one shown is unbound

    NewFreeChannels("1", "253"); // the type is full
    space(7);
    EXPECT_EQ(indexes(), (std::vector<int>{0, 1, 0, 0, 2, 0, 0}));
    EXPECT_TRUE(Reported("[Информация]: Достигнуто максимально допустимое количество каналов"));
}

TEST_F(MainWindow, SubprogramEditsApplyRevertAndGiveWayToALoadedFile) {
    T_Action* a = m->Config->CreateSubprogram("poll");
    a->Caption = "Опрос";
    m->RefreshAllViews(m);
    m->pcMain->SetActivePage(m->tsProgramm);
    m->tcProgramm->SetTabIndex(0);
    EXPECT_EQ(m->Config->Current, a);
    EXPECT_FALSE(m->SpeedButton1->Enabled());

    m->MPSyntaxMemo1->Lines()->Add("push 1");
    EXPECT_TRUE(m->SpeedButton1->Enabled());
    m->SpeedButton1Click(m->SpeedButton1);
    EXPECT_FALSE(m->SpeedButton1->Enabled());
    size_t applied = a->Instructions.size();
    EXPECT_GE(applied, 1u);

    std::string file = dir.File("pop.act");
    T_Action* b = m->Config->CreateSubprogram("other");
    TStringList text;
    text.Add("pop");
    text.Add("pop");
    text.Add("ret");
    ASSERT_TRUE(b->Assemble(text));
    ASSERT_EQ(b->SaveActFile(file), 0);

    m->MPSyntaxMemo1->Lines()->Add("push 2");
    EXPECT_TRUE(m->SpeedButton1->Enabled());
    dialogs.Files = {file};
    m->mmLoadActionClick(m->mmLoadAction);
    EXPECT_FALSE(m->SpeedButton1->Enabled());
    EXPECT_EQ(a->Instructions.size(), 3u);
    EXPECT_EQ(a->FilePath, file);
    EXPECT_EQ(m->MPSyntaxMemo1->Lines()->Count(), 3);

    m->MPSyntaxMemo1->Lines()->Add("push 3");
    m->SpeedButton1Click(m->SpeedButton1);
    EXPECT_EQ(a->Instructions.size(), 4u);
    dialogs.Answers = {mrCancel};
    m->SpeedButton3Click(m->SpeedButton3);
    EXPECT_EQ(a->Instructions.size(), 4u);
    m->SpeedButton3Click(m->SpeedButton3);
    EXPECT_EQ(a->Instructions.size(), 3u);
    EXPECT_FALSE(m->SpeedButton1->Enabled());

    m->CheckBox2->SetChecked(true);
    m->CheckBox2Click(m->CheckBox2);
    EXPECT_EQ(a->Flags, kActionAutostart);
    m->CheckBox2->SetChecked(false);
    m->CheckBox2Click(m->CheckBox2);
    EXPECT_EQ(a->Flags, 0);
}

// A subprogram file that cannot be written or read tells the user why, and the subprogram stays.
TEST_F(MainWindow, ASubprogramFileThatCannotBeWrittenOrReadSaysWhy) {
    T_Action* a = m->Config->CreateSubprogram("poll");
    m->RefreshAllViews(m);
    m->pcMain->SetActivePage(m->tsProgramm);
    m->tcProgramm->SetTabIndex(0);
    ASSERT_EQ(m->Config->Current, a);
    m->MPSyntaxMemo1->Lines()->Add("ret");

    const std::string nowhere = dir.File("no/such/poll.act");
    dialogs.Files = {nowhere};
    dialogs.Shown.clear();
    dialogs.BoxTitles.clear();
    m->mmSaveAction->Click();
    EXPECT_EQ(dialogs.Shown, std::vector<std::string>{"Не удалось записать файл " + nowhere +
                                                      ": Не удается найти указанный файл"});
    EXPECT_EQ(dialogs.BoxTitles, std::vector<std::string>{"Ошибка"});
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
    const std::vector<TActionLine> applied = a->Instructions;
    ASSERT_FALSE(applied.empty());

    const std::string broken = dir.File("broken.act");
    std::ofstream(broken) << "1;ret;\n2;gotoz;";
    dialogs.Files = {broken};
    dialogs.Shown.clear();
    m->mmLoadAction->Click();
    EXPECT_EQ(dialogs.Shown, std::vector<std::string>{"Не удалось открыть файл " + broken +
                                                      ": Строка 2: '' - недопустимое целое значение"});
    EXPECT_EQ(a->Instructions, applied);
    EXPECT_TRUE(a->FilePath.empty());
}

struct ImportCase {
    const char* name;
    const char* text;
    std::vector<std::string> lines;
};
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }
class Import10 : public ::testing::TestWithParam<ImportCase> {};

TEST_P(Import10, RewritesTokensIntoSourceLines) {
    EXPECT_EQ(TMainForm::ImportVersion10(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Import10,
    ::testing::Values(ImportCase{"Empty", "", {}}, ImportCase{"Jump", "7;gotoz;12;;;;", {"gotoz @l:12"}},
                      ImportCase{"Push", "3;push;5;;;;", {"push 5"}},
                      ImportCase{"TwoTokens", "5;gotonz;3;;;;\n 6;mov;1;2;;;", {"gotonz @l:3", "mov 1 2"}},
                      ImportCase{"GotoInAField", "1;ldi;goto;;;;", {"ldi @l:goto"}},
                      ImportCase{"NoSemicolons", "garbage", {""}},
                      ImportCase{
                          "LongToken",
                          "1;push;"
                          "0123456789012345678901234567890123456789012345678901234567890123456789"
                          "0123456789012345678901234567890123456789012345678901234567890123456789;;;;",
                          {"push 0123456789012345678901234567890123456789012345678901234567890123456789"
                           "0123456789012345678901234567890123456789012345678901234567890123456789"}}),
    [](const ::testing::TestParamInfo<ImportCase>& i) { return std::string(i.param.name); });

TEST_F(MainWindow, TheCheckReportsMissingSubprogramsOfBoundChannelsOnce) {
    NewFreeChannels("4", "1");
    TParamItem* p = m->ChannelOfRow(1);
    p->Name = "Ток";
    p->WriteHandler = 700;
    p->ChangeHandler = 701;
    m->CheckConfiguration();
    EXPECT_TRUE(Reported("[Ошибка]: Отсутвует подпрограмма 700, указанная в канале  \"Ток\" (4:1)"));
    EXPECT_TRUE(Reported("[Ошибка]: Отсутвует подпрограмма 701, указанная в канале  \"Ток\" (4:1)"));
    EXPECT_TRUE(DockableForm->Visible());
    p->WriteHandler = p->ChangeHandler = 0;
    m->CheckConfiguration();
    EXPECT_EQ(DockableForm->MessageMemo->Lines()->Count(), 0);
    EXPECT_FALSE(DockableForm->Visible());
}

TEST_F(MainWindow, MessagesGetTheirKindsPrefixOnce) {
    AddMessage("x", kMessageWarning);
    AddMessage("x", kMessageWarning);
    AddMessage("x", kMessageError);
    AddMessage("x", 0);
    AddMessage("x", 4);
    EXPECT_EQ(Lines(DockableForm->MessageMemo->Lines()),
              (std::vector<std::string>{"[Предупреждение]: x", "[Ошибка]: x", "x"}));
}

TEST_F(MainWindow, SettingsWrittenAtShutDownComeBackAtTheNextStart) {
    m->mmViewClick(m->mmView2);
    m->mmViewClick(m->mmView1);
    m->GwPageControl1->SetWidth(280);
    TearDown();
    {
        std::ofstream add(dir.File("qbxconf.ini"), std::ios::app);
        add << "[DefaultActions]\nCount=2\nid1=Общий опрос,common/poll.act,40\nid2=broken\n";
    }
    TMainForm::SettingsPathOverride = dir.File("qbxconf.ini");
    SetDialogService(&dialogs);
    CreateProgramForms();
    m = MainForm;
    EXPECT_TRUE(m->mmView2->Checked());
    EXPECT_FALSE(m->mmView1->Checked());
    EXPECT_FALSE(m->tsObjectControl->TabVisible());
    EXPECT_EQ(m->GwPageControl1->Width(), 280);
    EXPECT_EQ(m->pcMain->ActivePage(), m->tsParamControl);
    ASSERT_EQ(m->N5->Count(), 1);
    EXPECT_EQ(m->N5->Items(0)->Caption(), "Общий опрос");
    EXPECT_EQ(m->DefaultActList.Count, 1u);
}

// A settings file a Linux editor saved (UTF-8): the template's name reads as written in "Общие",
// and, once chosen, in its tab's hint and in the status bar. Closing writes the window's
// values and leaves the file's own lines as they were.
TEST_F(MainWindow, AUtf8SettingsFileShowsItsTemplateNamesAsWritten) {
    TearDown();
    const std::string entry = Cp1251ToUtf8("id1=Общий опрос,common/poll.act,40");
    std::ofstream(dir.File("qbxconf.ini"), std::ios::binary) << "[DefaultActions]\nCount=1\n"
                                                             << entry << "\n";
    SetUp();
    ASSERT_EQ(m->N5->Count(), 1);
    EXPECT_EQ(m->N5->Items(0)->Caption(), "Общий опрос");
    m->N5->Items(0)->Click();
    ASSERT_EQ(m->tcProgramm->TabCount(), 1);
    ShowAtDefaultSize();
    m->pcMain->SetActivePage(m->tsProgramm);
    inputkit::ProcessEvents();
    const TRect tab = m->tcProgramm->TabRect(0);
    inputkit::Click(m->tcProgramm, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
    EXPECT_EQ(m->tcProgramm->GetTabCollection()->GetItem(0)->Hint(), "Общий опрос (40)");
    EXPECT_EQ(m->GwStatusBar1->SimpleCaption(), "Общий опрос (40)");

    TearDown();
    std::ifstream in(dir.File("qbxconf.ini"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(written.find(entry + "\r\n"), std::string::npos)
        << "the template's line as the editor saved it";
    EXPECT_NE(written.find("[Window]\r\nWindowState=0\r\n"), std::string::npos);
    SetUp();
}

// A template whose file does not load still makes its subprogram, described by the template's
// name; the user is told why it is empty. One that loads says nothing.
TEST_F(MainWindow, ATemplateWhoseFileDoesNotLoadSaysWhy) {
    TearDown();
    std::ofstream(dir.File("qbxconf.ini"), std::ios::binary)
        << "[DefaultActions]\nCount=4\nid1=Poll,common/poll.act,40\nid2=Broken,common/broken.act,41\n"
           "id3=Gone,common/gone.act,42\nid4=Binary,common/binary.act,43\n";
    SetUp();
    std::filesystem::create_directories(dir.File("plugin/common"));
    std::ofstream(dir.File("plugin/common/poll.act")) << "1;ret;";
    std::ofstream(dir.File("plugin/common/broken.act")) << "1;gotoz;";
    std::ofstream(dir.File("plugin/common/binary.act"), std::ios::binary) << std::string("1;ret;\0\x01", 8);
    const std::string plugins = dir.File("plugin/");
    const std::vector<std::vector<std::string>> shown = {
        {},
        {"Не удалось открыть файл " + plugins +
         "common/broken.act: Строка 1: '' - недопустимое целое значение"},
        {"Не удалось открыть файл " + plugins + "common/gone.act: Не удается найти указанный файл"},
        {"Не удалось открыть файл " + plugins +
         "common/binary.act: Это не текстовый файл (байт $00 по смещению 6)"}};
    ASSERT_EQ(m->N5->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        dialogs.Shown.clear();
        m->N5->Items(i)->Click();
        EXPECT_EQ(dialogs.Shown, shown[size_t(i)]) << m->N5->Items(i)->Caption();
        T_Action* a = m->Config->Actions->ById(uint16_t(40 + i));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->Caption, m->N5->Items(i)->Caption());
        EXPECT_EQ(a->Instructions.size(), i == 0 ? 1u : 0u);
    }
}

TEST_F(MainWindow, TheMessageWindowDocksAtTheBottomAndHostsAnotherDockableForm) {
    m->SetBounds(0, 0, 900, 600);
    m->mmMessageViewClick(m);
    EXPECT_EQ(DockableForm->HostDockSite(), m->BottomDockPanel);
    EXPECT_EQ(m->BottomDockPanel->Height(), m->ClientHeight() / 3);
    EXPECT_TRUE(m->HSplitter->Visible());
    DockableForm->Close();
    EXPECT_EQ(m->BottomDockPanel->Height(), 0);
    m->mmMessageViewClick(m);
    EXPECT_EQ(m->BottomDockPanel->Height(), m->ClientHeight() / 3);

    DockableForm->ManualFloat(Bounds(100, 100, 339, 110));
    EXPECT_EQ(DockableForm->HostDockSite(), nullptr);
    EXPECT_EQ(m->BottomDockPanel->Height(), 0);
    EXPECT_FALSE(m->HSplitter->Visible());

    auto* second = new TDockableForm(Application);
    second->SetCaption("Второе");
    DockableForm->Show();
    second->Show();
    TDragDockObject drop(second);
    drop.Floating = false;
    DockableForm->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&drop), MAKELPARAM(2, 50)); // left fifth
    auto* host = dynamic_cast<TConjoinDockHost*>(DockableForm->HostDockSite());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(second->HostDockSite(), host);
    EXPECT_EQ(host->DockClientCount(), 2);
    EXPECT_FALSE(DockableForm->DockSite());
    EXPECT_EQ(host->Caption(), "Окно сообщений Второе ");

    TControlGuard alive(host);
    second->ManualFloat(Bounds(400, 100, 200, 100));
    EXPECT_TRUE(second->DockSite());
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_FALSE(alive.Alive());
    EXPECT_EQ(DockableForm->HostDockSite(), nullptr);
    delete second;
}

TEST_F(MainWindow, TheLoadTabOpensThePortTakesFramesOnTheGuiThreadAndNoticesAPulledDevice) {
    m->Button1Click(m->Button1); // nothing chosen: the open fails quietly
    EXPECT_EQ(m->Button1->Caption(), "Открыть");

    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    m->ComboBox1->SetItemIndex(m->ComboBox1->Items()->Add(name));
    m->Edit3->SetText("9600");
    m->Button1Click(m->Button1);
    ASSERT_EQ(m->Button1->Caption(), "Закрыть");
    for (TControl* c : std::initializer_list<TControl*>{m->RadioButton1, m->RadioButton2, m->ComboBox1,
                                                        m->Edit1, m->Edit2, m->Edit3})
        EXPECT_FALSE(c->Enabled());

    ASSERT_EQ(::write(master, "\x01\x02\x03", 3), 3);
    for (int i = 0; i < 300 && m->FramesTaken == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Application->ProcessMessages();
    }
    EXPECT_EQ(m->LastFrame, (std::vector<uint8_t>{1, 2, 3}));

    ::close(master); // the device goes away
    for (int i = 0; i < 300 && m->Button1->Caption() != "Открыть"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Application->ProcessMessages();
    }
    EXPECT_EQ(m->Button1->Caption(), "Открыть");
    EXPECT_TRUE(m->Edit3->Enabled());
    EXPECT_GE(m->GwRichEdit1->Lines()->Count(), 1);
    ::close(slave);
}

struct TSpeedCase {
    const char* name;
    const char* typed;
    bool opens; // else refused: one message, the port left closed and its speed as it was
};
void PrintTo(const TSpeedCase& c, std::ostream* os) { *os << c.name; }

class LoadTabSpeed : public MainWindow, public ::testing::WithParamInterface<TSpeedCase> {};

// The speed typed key by key, then the open button clicked, with a port there that would open.
TEST_P(LoadTabSpeed, ANumberThePortCannotTakeIsRefusedByName) {
    const TSpeedCase& c = GetParam();
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ShowAtDefaultSize();
    ClickPageTab(m->pcMain, m->TabSheet1);
    m->ComboBox1->SetItemIndex(m->ComboBox1->Items()->Add(name));
    inputkit::Click(m->Edit3, 5, m->Edit3->Height() / 2);
    inputkit::Press(m->Edit3, inputkit::Key::End);
    for (size_t i = m->Edit3->Text().size(); i > 0; --i)
        inputkit::Press(m->Edit3, inputkit::Key::Backspace);
    inputkit::Type(m->Edit3, c.typed);
    ASSERT_EQ(m->Edit3->Text(), c.typed);
    const DWORD before = m->Port->GetBaudRate();
    inputkit::Click(m->Button1, m->Button1->Width() / 2, m->Button1->Height() / 2);
    inputkit::ProcessEvents();
    if (c.opens) {
        EXPECT_TRUE(dialogs.Shown.empty());
        EXPECT_EQ(m->Button1->Caption(), "Закрыть");
        EXPECT_EQ(m->Port->GetBaudRate(), DWORD(StrToInt64(c.typed)));
        inputkit::Click(m->Button1, m->Button1->Width() / 2, m->Button1->Height() / 2);
    } else {
        ASSERT_EQ(dialogs.Shown.size(), 1u);
        EXPECT_EQ(dialogs.Shown[0], std::string("\"скорость\": значение ") + c.typed +
                                        " не принято, допустимы значения от 1 до 4294967295.");
        EXPECT_EQ(m->Button1->Caption(), "Открыть");
        EXPECT_FALSE(m->Port->IsOpen());
        EXPECT_EQ(m->Port->GetBaudRate(), before);
        EXPECT_TRUE(m->Edit3->Enabled());
    }
    inputkit::ProcessEvents();
    ::close(master);
    ::close(slave);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, LoadTabSpeed,
                         ::testing::Values(TSpeedCase{"Negative", "-9600", false},
                                           TSpeedCase{"Zero", "0", false},
                                           TSpeedCase{"Past32Bits", "4294967296", false},
                                           TSpeedCase{"PastAnyInteger", "99999999999999999999", false},
                                           TSpeedCase{"Fits", "9600", true}),
                         [](const ::testing::TestParamInfo<TSpeedCase>& i) {
                             return std::string(i.param.name);
                         });

} // namespace
