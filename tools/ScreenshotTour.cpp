// Opens the main window on a job and takes it through what a user sees:
// the four pages, the wizard, the help, every entry dialog and a whole run
// with its file list, a real match in the replace confirmation and the
// statistics. A picture of each goes into a folder. Run it under an X server
// (scripts/screenshots starts Xvfb); the job's files are changed by the run.
#include "services/ProgramInfo.h"
#include "ui/Continue/TContinueFrm.h"
#include "ui/EditDirs/TDirectoryBrowseFrm.h"
#include "ui/MainWindow/TPKSarvonexFrm.h"
#include "ui/Wizard/TWizardFrm.h"
#include "widgets/AboutBox.h"
#include "widgets/HelpFile.h"
#include "widgets/TStickyForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

QString outputFolder;

void settle()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

void save(const QPixmap &picture, const QString &name)
{
    const QString file = QDir(outputFolder).filePath(name + ".png");
    if (picture.save(file))
        std::printf("%s\n", qPrintable(file));
    else
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
}

void saveWindow(QWidget *window, const QString &name)
{
    settle();
    save(window->grab(), name);
}

// The part of the screen that holds the given windows, as a user sees them.
void saveScreen(const QList<QWidget *> &windows, const QString &name)
{
    settle();
    QRect area;
    for (QWidget *w : windows)
        area |= w->frameGeometry();
    save(QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                   area.height()),
         name);
}

// The modal windows to picture, in the order they come up, each with how
// to close it afterwards.
struct ModalPicture {
    QString name;
    std::function<void(QWidget *)> close;
};
QList<ModalPicture> pending;
QWidget *busyWith = nullptr;

void pictureNextModal()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == busyWith || pending.isEmpty())
        return;
    busyWith = modal;
    QTimer::singleShot(0, modal, [modal, picture = pending.takeFirst()] {
        saveWindow(modal, picture.name);
        picture.close(modal);
        busyWith = nullptr;
    });
}

// Runs a command after queueing the modal windows it will open.
void pictureModals(const QList<ModalPicture> &pictures, const std::function<void()> &command)
{
    pending += pictures;
    command();
    if (!pending.isEmpty())
        std::fprintf(stderr, "not shown: %s\n", qPrintable(pending.first().name));
    pending.clear();
}

void reject(QWidget *dialog)
{
    static_cast<QDialog *>(dialog)->reject();
}

std::function<void(QWidget *)> press(const char *button)
{
    return [button](QWidget *dialog) {
        if (auto *b = dialog->findChild<QAbstractButton *>(QLatin1String(button)))
            b->click();
        else
            reject(dialog);
    };
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sarvonex"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: ScreenshotTour <settings file> <output folder> [<second job>]\n");
        return 2;
    }
    const QString job = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);

    TPKSarvonexFrm window(StartupRequest::fromArguments({"-f" + job}));
    window.show();
    settle();
    QTimer modalPoll;
    QObject::connect(&modalPoll, &QTimer::timeout, &pictureNextModal);
    modalPoll.start(20);

    const char *pages[] = {"main-folders", "main-files", "main-strings", "main-options"};
    for (int page = 0; page < 4; ++page) {
        window.PageControl1->setCurrentIndex(page);
        saveWindow(&window, pages[page]);
    }
    window.resize(window.width() + 250, window.height() + 120);
    window.PageControl1->setCurrentIndex(2);
    saveWindow(&window, "main-strings-resized");
    window.resize(window.minimumSize());
    window.move(40, 80);

    window.Wizard1Click();
    window.PageControl1->setCurrentIndex(1);
    saveScreen({&window, &window.wizardFrm()}, "wizard-over-main");
    window.hideWizard();

    // The help file is the program's, beside this tour in the build folder.
    OpenHelpTopic(&window, QStringLiteral("Strings.htm"), ProgramFolder(), QStringLiteral("sarvonex"));
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("HelpWindow") && w->isVisible()) {
            saveWindow(w, "help-strings");
            w->close();
        }
    }

    pictureModals({{"dialog-folder", reject}}, [&] { window.EditDirBtnClick(); });
    {
        TDirectoryBrowseFrm browser(&window);
        browser.SetStartFolder(QFileInfo(job).absolutePath());
        browser.show();
        saveWindow(&browser, "dialog-folder-browser");
    }
    window.PageControl1->setCurrentIndex(1);
    pictureModals({{"dialog-file-type", reject}}, [&] { window.EditTypeBtnClick(); });
    pictureModals({{"dialog-excluded-type", reject}}, [&] { window.EditExclFileBtnClick(); });
    window.PageControl1->setCurrentIndex(2);
    pictureModals({{"dialog-string-pair", reject}}, [&] { window.EditStringsBtnClick(); });

    pictureModals({{"message-tip", reject}}, [&] {
        ShowStickyMessage(QStringLiteral("The easiest way to make all the settings is to use "
                                         "the Wizard.\n\nSelect File | New | Wizard... from the "
                                         "main menu to start it."),
                          nullptr);
    });
    pictureModals({{"question-continue", press("Button3Btn")}}, [&] {
        TContinueFrm::AskContinue(
            &window,
            QStringLiteral("File \"/home/user/notes/report.txt\" seems to be a binary file.\n"
                           "Do you want to replace strings in this file?"),
            {QStringLiteral("Replace in this File"), QStringLiteral("Replace in All Binaries"),
             QStringLiteral("Skip this File"), QStringLiteral("Cancel All")});
    });
    pictureModals({{"about", reject}}, [&] { window.AboutMnuClick(); });

    pictureModals({{"preview", press("CloseBtn")}}, [&] { window.PreviewMnuClick(); });

    // A whole run: the file list, the first match, then the statistics.
    pictureModals({{"run-file-list", press("OkBtn")},
                   {"run-replace-confirmation", press("YesToAllBtn")},
                   {"run-statistics", press("CloseBtn")}},
                  [&] { window.FindAndReplaceMnuClick(); });

    // A second job, in other scripts: its folder and pairs as the lists show them.
    if (argc == 4) {
        window.OpenSettingsFile(QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath());
        window.PageControl1->setCurrentIndex(0);
        saveWindow(&window, "main-folders-unicode");
        window.PageControl1->setCurrentIndex(2);
        saveWindow(&window, "main-strings-unicode");
        pictureModals({{"dialog-string-pair-unicode", reject}},
                      [&] { window.EditStringsBtnClick(); });
    }
    return 0;
}
