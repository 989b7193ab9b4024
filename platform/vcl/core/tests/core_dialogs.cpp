// The dialogs speak as a Russian desktop's whatever LANG says: the message titles, and the file
// dialog's types, sizes and dates in columns wide enough for them.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdlib>

#include "core_support.h"
#include "cp1251.h"

namespace {

// The process runs on a desktop whose language is not Russian; Qt reads this when it starts.
const bool kEnglishDesktop = setenv("LC_ALL", "C", 1) == 0 && setenv("LANG", "C", 1) == 0;

class Dialogs : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kEnglishDesktop);
        TApplication::QtApp();
    }
    void TearDown() override { Application->ProcessMessages(); }
};

struct TitleCase {
    const char* name;
    void (*show)();
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }

const TitleCase kTitles[] = {
    {"Warning", [] { MessageDlg("Удалить канал?", mtWarning, TMsgDlgButtons{mbOK}); }, "Предупреждение"},
    {"Error", [] { MessageDlg("Удалить канал?", mtError, TMsgDlgButtons{mbOK}); }, "Ошибка"},
    {"Information", [] { MessageDlg("Удалить канал?", mtInformation, TMsgDlgButtons{mbOK}); }, "Информация"},
    {"Confirmation", [] { MessageDlg("Удалить канал?", mtConfirmation, TMsgDlgButtons{mbOK}); },
     "Подтверждение"},
    {"Custom", [] { MessageDlg("Значение не сохранено", mtCustom, TMsgDlgButtons{mbOK}); }, "Информация"},
    {"ShowMessage", [] { ShowMessage("Допустимы значения от 0 до 3"); }, "Информация"},
};

class MessageTitles : public Dialogs, public testing::WithParamInterface<TitleCase> {};

TEST_P(MessageTitles, AreRussian) {
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        box->reject();
    });
    GetParam().show();
    EXPECT_EQ(title.toStdString(), Cp1251ToUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Table, MessageTitles, testing::ValuesIn(kTitles),
                         [](const testing::TestParamInfo<TitleCase>& i) {
                             return std::string(i.param.name);
                         });

// The program's own boxes are titled in Russian; an exception the program did not expect is shown
// under the application's title.
TEST_F(Dialogs, TheExceptionDisplayKeepsTheApplicationsTitle) {
    TFakeDialogScope dialogs;
    ShowMessage("Допустимы значения от 0 до 3");
    Application->ShowException(std::string("Access violation"));
    ASSERT_EQ(dialogs.Fake.Calls.size(), 2u);
    EXPECT_EQ(dialogs.Fake.Calls[0].Caption, "Информация");
    EXPECT_EQ(dialogs.Fake.Calls[1].Caption, Application->Title());
    EXPECT_EQ(Application->Title(), "vcl_core_dialogs_test");
}

TEST_F(Dialogs, AMessageBoxWithoutCaptionIsTitledError) {
    TFakeDialogScope dialogs;
    MessageBox(nullptr, "Файл не найден", nullptr, MB_OK);
    ASSERT_EQ(dialogs.Fake.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Fake.Calls[0].Caption, "Ошибка");
}

// Files of these sizes, and the size column's text for each.
const std::pair<int, const char*> kSizes[] = {
    {0, "0 байт"},
    {1, "1 байт"},
    {2, "2 байта"},
    {4, "4 байта"},
    {5, "5 байт"},
    {11, "11 байт"},
    {12, "12 байт"},
    {21, "21 байт"},
    {22, "22 байта"},
    {300, "300 байт"},
    {1000, "1\u00A0000 байт"},
    {1023, "1\u00A0023 байта"},
    {1024, "1,00 кБ"},
    {256000, "250,00 кБ"},
};

TEST_F(Dialogs, TheFileDialogShowsRussianDetailsInColumnsThatFitThemAndTheDialog) {
    EXPECT_EQ(QLocale::system().language(), QLocale::C);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime when(QDate(2023, 3, 5), QTime(18, 30));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    for (const auto& [size, text] : kSizes) {
        QFile f(dir.filePath(QStringLiteral("s%1.cdb").arg(size)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, '\0'));
        ASSERT_TRUE(f.flush());
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    const int rows = int(std::size(kSizes)) + 1;

    std::map<QString, QStringList> shown;    // name -> size, type, date
    std::vector<std::pair<int, int>> widths; // each detail column's width and what it needs
    int viewWidth = 0, lastRight = 0;        // the view's visible width, the last column's right edge
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* view = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        // The folder is read on a thread of Qt's; its rows arrive as events.
        WaitFor([&] { return model->rowCount(view->rootIndex()) == rows; }, 10000);
        Application->ProcessMessages();
        for (int r = 0; r < model->rowCount(view->rootIndex()); ++r) {
            QStringList row;
            for (int c = 1; c < 4; ++c)
                row << model->index(r, c, view->rootIndex()).data().toString();
            shown[model->index(r, 0, view->rootIndex()).data().toString()] = row;
        }
        for (int c = 1; c < 4; ++c)
            widths.emplace_back(view->columnWidth(c),
                                std::max(static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c),
                                         view->header()->sectionSizeHint(c)));
        viewWidth = view->viewport()->width();
        lastRight = view->header()->sectionViewportPosition(3) + view->columnWidth(3);
        dlg->reject();
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.path().toStdString());
    EXPECT_FALSE(open.Execute());

    ASSERT_EQ(shown.size(), size_t(rows));
    const QStringList& folder = shown[QStringLiteral("sub")];
    ASSERT_EQ(folder.size(), 3);
    EXPECT_EQ(folder[1].toStdString(), Cp1251ToUtf8("Папка"));
    for (const auto& [size, text] : kSizes) {
        const QStringList& file = shown[QStringLiteral("s%1.cdb").arg(size)];
        ASSERT_EQ(file.size(), 3);
        EXPECT_EQ(file[0].toStdString(), Cp1251ToUtf8(text)) << size << " bytes";
        EXPECT_EQ(file[2].toStdString(), "05.03.2023 18:30");
    }
    ASSERT_EQ(widths.size(), 3u);
    for (int c = 0; c < 3; ++c)
        EXPECT_GE(widths[size_t(c)].first, widths[size_t(c)].second) << "column " << c + 1;
    EXPECT_LE(lastRight, viewWidth) << "the date column shows whole at the dialog's first size";
}

// The dialog reads the folder it was made in (the program's) before it goes to the one it starts in;
// a user who goes on into that folder sees its types in a column wide enough for them, as in a
// folder read on the way there.
TEST_F(Dialogs, AFolderReadBeforeTheUserWentThereShowsItsTypesWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString files = dir.filePath(QStringLiteral("files"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("files")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other/sub")));
    for (const auto& [name, bytes] :
         {std::pair{"a.act", QByteArray("\0\1", 2)}, {"b.act", QByteArray("1;ret;")}}) {
        QFile f(files + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(files));

    QStringList types;
    std::vector<std::pair<int, int>> widths; // each detail column's width and what it needs
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* view = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        auto shown = [&] { return model->rowCount(view->rootIndex()); };
        WaitFor([&] { return shown() == 1 && model->index(0, 2, view->rootIndex()).data().isValid(); },
                10000);
        Application->ProcessMessages();
        // The folder's path typed into the name box, and Enter.
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(files);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        WaitFor([&] { return shown() == 2; }, 10000);
        Application->ProcessMessages();
        for (int r = 0; r < shown(); ++r)
            types << model->index(r, 2, view->rootIndex()).data().toString();
        for (int c = 1; c < 4; ++c)
            widths.emplace_back(view->columnWidth(c),
                                std::max(static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c),
                                         view->header()->sectionSizeHint(c)));
        dlg->reject();
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.filePath(QStringLiteral("other")).toStdString());
    EXPECT_FALSE(open.Execute());
    QDir::setCurrent(cwd);

    EXPECT_EQ(types.size(), 2) << "the dialog went into the folder";
    EXPECT_FALSE(types.contains(QString())) << "every file has its type";
    ASSERT_EQ(widths.size(), 3u);
    for (int c = 0; c < 3; ++c)
        EXPECT_GE(widths[size_t(c)].first, widths[size_t(c)].second) << "column " << c + 1;
}

} // namespace
