// Opens the main window on a job, shows each page and each dialog as a user
// would see it, and saves a PNG picture of every one into a folder. Run it
// under an X server (scripts/screenshots starts Xvfb).
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

namespace {

QString outputFolder;

void settle()
{
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

void save(QWidget *window, const QString &name)
{
    settle();
    const QString file = QDir(outputFolder).filePath(name + ".png");
    if (!window->grab().save(file))
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ScreenshotTour <settings file> <output folder>\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);

    TPKSarvonexFrm window(StartupRequest::fromArguments({"-f" + QString::fromLocal8Bit(argv[1])}));
    window.show();
    settle();
    const char *pages[] = {"page-folders", "page-files", "page-strings", "page-options"};
    for (int page = 0; page < 4; ++page) {
        window.PageControl1->setCurrentIndex(page);
        save(&window, pages[page]);
    }
    window.resize(900, 600);
    window.PageControl1->setCurrentIndex(2);
    save(&window, "page-strings-wide");
    return 0;
}
