#include "services/ProgramInfo.h"
#include "support/TestFiles.h"
#include "widgets/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Finished {
    int exitCode = -1; // -1: did not start or crashed
    QString out;
    QString err;
};

Finished runProgram(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(-1);
    Finished finished;
    if (process.exitStatus() == QProcess::NormalExit && process.error() == QProcess::UnknownError)
        finished.exitCode = process.exitCode();
    finished.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    finished.err = QString::fromLocal8Bit(process.readAllStandardError());
    return finished;
}

// The project installed once (cmake --install) into a temporary prefix.
class InstalledTree : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = new QTemporaryDir;
        install = runProgram(QStringLiteral(CMAKE_PROGRAM),
                             {"--install", SARVONEX_BUILD_DIR, "--prefix", prefix->path()});
    }
    static void TearDownTestSuite() { delete prefix; }
    void SetUp() override { ASSERT_EQ(install.exitCode, 0) << install.out.toStdString() << install.err.toStdString(); }

    static QString path(const QString &relative) { return prefix->filePath(relative); }

    static inline QTemporaryDir *prefix = nullptr;
    static inline Finished install;
};

const QString windowProgram = QStringLiteral("libexec/sarvonex/sarvonex-window");
const QString desktopEntry = QStringLiteral("share/applications/sarvonex.desktop");
const QString metainfo = QStringLiteral("share/metainfo/io.github.sarvonex.Sarvonex.metainfo.xml");
const QString manualPage = QStringLiteral("share/man/man1/sarvonex.1.gz");
const QString bashCompletion = QStringLiteral("share/bash-completion/completions/sarvonex");
const QString zshCompletion = QStringLiteral("share/zsh/vendor-completions/_sarvonex");
const QString fishCompletion = QStringLiteral("share/fish/vendor_completions.d/sarvonex.fish");

TEST_F(InstalledTree, PutsEveryFileInItsPlace)
{
    for (const QString &file :
         {QStringLiteral("bin/sarvonex"), windowProgram, QStringLiteral("share/sarvonex/sarvonex.chm"),
          desktopEntry, metainfo, manualPage, QStringLiteral("share/mime/packages/sarvonex.xml"),
          QStringLiteral("share/icons/hicolor/scalable/apps/sarvonex.svg"),
          QStringLiteral("share/icons/hicolor/48x48/apps/sarvonex.png"),
          QStringLiteral("share/icons/hicolor/256x256/apps/sarvonex.png"),
          QStringLiteral("share/doc/sarvonex/copyright"), QStringLiteral("share/doc/sarvonex/changelog.gz"),
          bashCompletion, zshCompletion, fishCompletion}) {
        const QFileInfo info(path(file));
        EXPECT_TRUE(info.isFile() && info.size() > 0) << file.toStdString();
    }
    EXPECT_TRUE(QFileInfo(path("bin/sarvonex")).isExecutable());
    EXPECT_TRUE(QFileInfo(path(windowProgram)).isExecutable());
}

TEST_F(InstalledTree, InstalledProgramRunsAndFindsItsHelp)
{
    EXPECT_EQ(FindHelpFile(path("bin/"), "sarvonex"), path("share/sarvonex/sarvonex.chm"));

    const Finished version = runProgram(path("bin/sarvonex"), {"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out.trimmed(), ProgramVersion().toString());
}

// With a display the installed program goes on in its window program, here
// for an unattended run on the off-screen platform.
TEST_F(InstalledTree, InstalledProgramStartsItsWindowProgram)
{
    const QTemporaryDir work;
    const QString note = work.filePath("docs/note.txt");
    QDir().mkpath(work.filePath("docs"));
    TestFiles::write(note, "old colour\n");
    const QString job = work.filePath("job.ini");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", work.filePath("config"));
    environment.insert("XDG_DATA_HOME", work.filePath("data"));
    ASSERT_EQ(runProgram(path("bin/sarvonex"),
                         {"replace", "--save-job", job, "old", "new", work.filePath("docs")}, environment)
                  .exitCode,
              0);

    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const Finished run = runProgram(path("bin/sarvonex"), {"-f" + job, "-r", "-s"}, environment);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(TestFiles::read(note), "new colour\n");
}

TEST_F(InstalledTree, ValidatorsAcceptDesktopEntryMetainfoAndManualPage)
{
    const struct {
        QString program;
        QStringList arguments;
        bool quiet; // warnings would be on standard error
    } validators[] = {
        {"desktop-file-validate", {path(desktopEntry)}, false},
        {"appstreamcli", {"validate", "--no-net", path(metainfo)}, false},
        {"man", {"-l", "--warnings=w", path(manualPage)}, true},
    };
    QStringList missing;
    for (const auto &v : validators) {
        if (QStandardPaths::findExecutable(v.program).isEmpty()) {
            missing.append(v.program);
            continue;
        }
        const Finished check = runProgram(v.program, v.arguments);
        EXPECT_EQ(check.exitCode, 0) << v.program.toStdString() << ":\n" << check.out.toStdString()
                                     << check.err.toStdString();
        if (v.quiet) {
            EXPECT_EQ(check.err, QString()) << v.program.toStdString();
        }
    }
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
}

// Job files are *.ini files that begin with [Sarvonex]; other INI files stay
// plain text. Checked with Qt's database (KDE's file manager) and with GIO's
// (GNOME's), which break a tie between two file-name matches differently.
TEST_F(InstalledTree, MimeTypeClaimsOnlyJobFiles)
{
    const QString share = path("share");
    if (const QString update = QStandardPaths::findExecutable("update-mime-database"); !update.isEmpty()) {
        ASSERT_EQ(runProgram(update, {share + "/mime"}).exitCode, 0);
    }
    const QTemporaryDir files;
    const QString dataDirs = share + ':' + qEnvironmentVariable("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    qputenv("XDG_DATA_DIRS", dataDirs.toLocal8Bit());
    qputenv("XDG_DATA_HOME", files.filePath("data").toLocal8Bit());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const bool withGio = !QStandardPaths::findExecutable("gio").isEmpty()
        && QFileInfo::exists(share + "/mime/mime.cache");

    const struct {
        const char *name;
        QByteArray content;
        QString type;
    } cases[] = {
        {"job.ini", "[Sarvonex]\r\nVersion=2.2\r\n[Directories]\r\n", "application/x-sarvonex-job"},
        {"other.ini", "[Settings]\nkey=value\n", "text/plain"},
        {"Sarvonex.ini", "; [Sarvonex] in a comment\n[Sarvonex]\n", "text/plain"},
        {"job.txt", "[Sarvonex]\r\nVersion=2.2\r\n", "text/plain"},
    };
    QMimeDatabase database;
    for (const auto &c : cases) {
        QFile file(files.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        EXPECT_EQ(database.mimeTypeForFile(file.fileName()).name(), c.type) << c.name;
        if (withGio) {
            const Finished gio = runProgram("gio", {"info", "-a", "standard::content-type", file.fileName()},
                                            environment);
            EXPECT_TRUE(gio.out.contains("standard::content-type: " + c.type + '\n'))
                << c.name << ": " << gio.out.toStdString() << gio.err.toStdString();
        }
    }
}


// Each shell reads its completion file without a syntax error (zsh and fish
// where installed), and each file offers every option of the replace command.
TEST_F(InstalledTree, CompletionsParseAndOfferEveryReplaceOption)
{
    // The long options of `sarvonex replace`, read from its own usage.
    const Finished usage = runProgram(path("bin/sarvonex"), {"replace", "--help"});
    QStringList options;
    static const QRegularExpression option(QStringLiteral("^  (?:-\\w, )?\\s*(--[a-z-]+)"),
                                           QRegularExpression::MultilineOption);
    for (auto match = option.globalMatch(usage.out); match.hasNext();)
        options.append(match.next().captured(1));
    ASSERT_GE(options.size(), 15) << options.join(' ').toStdString();
    QStringList missing;
    for (const auto &[shell, file] : {std::pair{QStringLiteral("bash"), bashCompletion},
                                      std::pair{QStringLiteral("zsh"), zshCompletion},
                                      std::pair{QStringLiteral("fish"), fishCompletion}}) {
        QFile completion(path(file));
        ASSERT_TRUE(completion.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString text = QString::fromUtf8(completion.readAll());
        for (const QString &option : options) {
            // fish names long options without their hyphens ("-l json").
            const QString spelled = shell == "fish" ? "-l " + option.mid(2) : option;
            EXPECT_TRUE(option == "--" || text.contains(spelled))
                << shell.toStdString() << " lacks " << option.toStdString();
        }
        if (QStandardPaths::findExecutable(shell).isEmpty()) {
            missing.append(shell);
            continue;
        }
        const Finished check = runProgram(shell, {"-n", path(file)});
        EXPECT_EQ(check.exitCode, 0) << shell.toStdString() << ":\n" << check.err.toStdString();
    }
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
}

} // namespace
