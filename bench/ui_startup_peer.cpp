// bench_ui's start-up peer: a plain Qt main window as its users write it, of the size given, shown
// and timed up to its painted window. A program of its own, linked with Qt only, so its start-up
// carries nothing of ours.
// Run by bench_ui: bench_ui_startup_peer width height; prints the moment painted (steady clock, ns)
// and the peak memory in kB.
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "paintwatch.h"

namespace {

// A main window of the configurator's kind: a menu bar, pages, a list with a few fields and
// buttons beside it on the first page, a status bar.
QMainWindow* MakeWindow() {
    auto* window = new QMainWindow;
    window->setWindowTitle(QStringLiteral("Конфигуратор"));
    const char* const menus[] = {"&Файл", "&Правка", "&Вид", "&Справка"};
    for (const char* title : menus) {
        QMenu* menu = window->menuBar()->addMenu(QString::fromUtf8(title));
        for (const char* item : {"Новая", "Открыть...", "Сохранить", "Сохранить как..."})
            menu->addAction(QString::fromUtf8(item));
        menu->addSeparator();
        menu->addAction(QStringLiteral("Выход"));
    }
    auto* pages = new QTabWidget;
    auto* first = new QWidget;
    auto* row = new QHBoxLayout(first);
    auto* list = new QListWidget;
    for (int i = 1; i <= 5; ++i)
        list->addItem(QStringLiteral("Объект %1").arg(i));
    row->addWidget(list, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Имя:")));
    side->addWidget(new QLineEdit);
    auto* kind = new QComboBox;
    kind->addItems({QStringLiteral("Счётчик"), QStringLiteral("Реле"), QStringLiteral("Ввод-вывод")});
    side->addWidget(kind);
    side->addWidget(new QPushButton(QStringLiteral("Добавить")));
    side->addWidget(new QPushButton(QStringLiteral("Удалить")));
    side->addStretch();
    row->addLayout(side);
    pages->addTab(first, QStringLiteral("Объекты"));
    for (const char* title : {"Каналы", "Программа", "Загрузка"})
        pages->addTab(new QWidget, QString::fromUtf8(title));
    window->setCentralWidget(pages);
    window->statusBar()->showMessage(QStringLiteral("Готово"));
    return window;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    QApplication app(argc, argv);
    QMainWindow* window = MakeWindow();
    window->resize(std::atoi(argv[1]), std::atoi(argv[2]));
    window->show();
    app.installEventFilter(&gWatch);
    Settle(window); // what the user sees has been drawn
    long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    std::printf("%lld %ld\n", now, PeakKb());
    std::fflush(stdout);
    std::_Exit(0);
}
