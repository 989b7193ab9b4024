// The dialogs speak as a Russian desktop's whatever LANG says: the message titles, and the file
// dialog's types, sizes and dates in columns wide enough for them.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
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
    TMsgDlgType type;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }

const TitleCase kTitles[] = {
    {"Warning", mtWarning, "Предупреждение"},
    {"Error", mtError, "Ошибка"},
    {"Information", mtInformation, "Информация"},
    {"Confirmation", mtConfirmation, "Подтверждение"},
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
    MessageDlg("Удалить канал?", GetParam().type, TMsgDlgButtons{mbOK});
    EXPECT_EQ(title.toStdString(), Cp1251ToUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Table, MessageTitles, testing::ValuesIn(kTitles),
                         [](const testing::TestParamInfo<TitleCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(Dialogs, AMessageBoxWithoutCaptionIsTitledError) {
    TFakeDialogScope dialogs;
    MessageBox(nullptr, "Файл не найден", nullptr, MB_OK);
    ASSERT_EQ(dialogs.Fake.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Fake.Calls[0].Caption, "Ошибка");
}

TEST_F(Dialogs, TheFileDialogShowsRussianDetailsInColumnsThatFitThem) {
    EXPECT_EQ(QLocale::system().language(), QLocale::C);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime when(QDate(2023, 3, 5), QTime(18, 30));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QFile big(dir.filePath(QStringLiteral("big.cdb")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(256000, '\0'));
    ASSERT_TRUE(big.setFileTime(when, QFileDevice::FileModificationTime));
    big.close();

    std::map<QString, QStringList> shown;    // name -> size, type, date
    std::vector<std::pair<int, int>> widths; // each detail column's width and what it needs
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* view = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        // The folder is read on a thread of Qt's; its rows arrive as events.
        WaitFor([&] { return model->rowCount(view->rootIndex()) == 2; }, 10000);
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
        dlg->reject();
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.path().toStdString());
    EXPECT_FALSE(open.Execute());

    ASSERT_EQ(shown.size(), 2u);
    const QStringList& folder = shown[QStringLiteral("sub")];
    const QStringList& file = shown[QStringLiteral("big.cdb")];
    ASSERT_EQ(folder.size(), 3);
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(folder[1].toStdString(), Cp1251ToUtf8("Папка"));
    EXPECT_EQ(file[0].toStdString(), Cp1251ToUtf8("250,00 кБ"));
    EXPECT_EQ(file[2].toStdString(), "05.03.2023 18:30");
    ASSERT_EQ(widths.size(), 3u);
    for (int c = 0; c < 3; ++c)
        EXPECT_GE(widths[size_t(c)].first, widths[size_t(c)].second) << "column " << c + 1;
}

} // namespace
