// Opening addresses and files on the desktop: the test stands in for the desktop's handlers.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QObject>
#include <QUrl>

#include "desktop.h"
#include "sysutils.h"

namespace {

class Handler : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(Desktop, AddressesAndFilesReachTheDesktop) {
    int argc = 1;
    char name[] = "win_desktop_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    Handler handler;
    for (const char* scheme : {"https", "http", "mailto", "file"})
        QDesktopServices::setUrlHandler(scheme, &handler, "open");

    EXPECT_TRUE(ShellOpen("https://example.org/a b"));
    EXPECT_TRUE(ShellOpen("  www.example.org "));
    EXPECT_TRUE(ShellOpen("mailto:someone@example.org"));
    EXPECT_TRUE(ShellOpen("/tmp/Отчёт.docx"));
    EXPECT_TRUE(ShellOpen("relative.txt"));
    EXPECT_FALSE(ShellOpen("   "));
    ASSERT_EQ(handler.opened.size(), 5);
    EXPECT_EQ(handler.opened[0].toString(QUrl::FullyEncoded).toStdString(), "https://example.org/a%20b");
    EXPECT_EQ(handler.opened[1].toString().toStdString(), "http://www.example.org");
    EXPECT_EQ(handler.opened[2].scheme().toStdString(), "mailto");
    // The file goes to the desktop under its name on disk (NativePath's bytes).
    EXPECT_EQ(handler.opened[3].toLocalFile(),
              QFile::decodeName(QByteArray::fromStdString(NativePath("/tmp/Отчёт.docx"))));
    EXPECT_EQ(handler.opened[4].toLocalFile().toStdString(),
              QDir::current().absoluteFilePath("relative.txt").toStdString());
    for (const char* scheme : {"https", "http", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace

#include "desktop_test.moc"
