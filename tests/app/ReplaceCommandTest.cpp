#include "support/ProgramFolders.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

// `sarvonex replace`, run as a user's shell would run it, without a display.
namespace {

using Outcome = ProgramRun::Outcome;

class ReplaceCommandTest : public ProgramFoldersTest
{
protected:
    Outcome replace(const QStringList &arguments, const std::function<void()> &inChild = {})
    {
        return ProgramRun::run(SARVONEX_PROGRAM, QStringList{"replace"} + arguments, config,
                               inChild, data);
    }

    QByteArray read(const QString &name) const { return TestFiles::read(data + '/' + name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        TestFiles::write(data + '/' + name, bytes);
    }

    // The per-file objects by path relative to `data`, and the summary.
    QMap<QString, QJsonObject> jsonFiles(const QByteArray &output, QJsonObject *summary = nullptr)
    {
        QMap<QString, QJsonObject> files;
        for (const QByteArray &line : output.split('\n')) {
            if (line.isEmpty())
                continue;
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line.constData();
            if (object["type"] == "file") {
                files.insert(QDir(data).relativeFilePath(object["path"].toString()), object);
                continue;
            }
            EXPECT_EQ(object["type"], "summary") << line.constData();
            if (summary)
                *summary = object;
        }
        return files;
    }
};

TEST_F(ReplaceCommandTest, ReplacesInTheCurrentFolderCaseSensitivelySkippingHiddenFiles)
{
    write("a.txt", "old Old OLD\n");
    write("sub/deep/b.c", "old\r\n");
    write(".hidden", "old");
    write(".git/c.txt", "old");
    const Outcome outcome = replace({"old", "new"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.output.isEmpty());
    EXPECT_EQ(read("a.txt"), "new Old OLD\n");
    EXPECT_EQ(read("sub/deep/b.c"), "new\r\n");
    EXPECT_EQ(read(".hidden"), "old");
    EXPECT_EQ(read(".git/c.txt"), "old");
}

// Each option that shapes the job, against the files it must and must not
// change.
TEST_F(ReplaceCommandTest, OptionsShapeWhatIsReplaced)
{
    const struct {
        QStringList arguments;
        QByteArray top; // a.txt: "cat Cat category"
        QByteArray level1; // sub/b.h: "cat"
        QByteArray level2; // sub/deep/c.txt: "cat"
    } cases[] = {
        {{"cat", "dog"}, "dog Cat dogegory", "dog", "dog"},
        {{"-i", "cat", "dog"}, "dog dog dogegory", "dog", "dog"},
        {{"-w", "cat", "dog"}, "dog Cat category", "dog", "dog"},
        {{"-iw", "cat", "dog"}, "dog dog category", "dog", "dog"},
        {{"--depth", "0", "cat", "dog"}, "dog Cat dogegory", "cat", "cat"},
        {{"--depth=1", "cat", "dog"}, "dog Cat dogegory", "dog", "cat"},
        {{"-g", "*.H", "cat", "dog"}, "cat Cat category", "dog", "cat"},
        {{"-g*.txt", "-x", "c.*", "cat", "dog"}, "dog Cat dogegory", "cat", "cat"},
        {{"--glob=*.txt", "--exclude=a.txt", "cat", "dog"}, "cat Cat category", "cat", "dog"},
    };
    for (const auto &c : cases) {
        write("a.txt", "cat Cat category");
        write("sub/b.h", "cat");
        write("sub/deep/c.txt", "cat");
        const Outcome outcome = replace(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.exitCode, 0) << name << outcome.errors.toStdString();
        EXPECT_EQ(read("a.txt"), c.top) << name;
        EXPECT_EQ(read("sub/b.h"), c.level1) << name;
        EXPECT_EQ(read("sub/deep/c.txt"), c.level2) << name;
    }
}

// With a display the command still opens no window: a display that cannot
// be reached would make a window fail.
TEST_F(ReplaceCommandTest, RunsTheSameWithADisplay)
{
    write("a.txt", "old");
    QProcessEnvironment environment = ProgramRun::environment(config);
    environment.insert("DISPLAY", ":12345");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(data);
    process.start(SARVONEX_PROGRAM, {"replace", "old", "new"});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    EXPECT_EQ(read("a.txt"), "new");
}

TEST_F(ReplaceCommandTest, PathsNameFoldersAndFiles)
{
    write("one/a.txt", "x");
    write("two/b.txt", "x");
    write("three/c.txt", "x");
    const Outcome outcome = replace({"x", "y", "one", data + "/two/b.txt"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(read("one/a.txt"), "y");
    EXPECT_EQ(read("two/b.txt"), "y");
    EXPECT_EQ(read("three/c.txt"), "x");
}

TEST_F(ReplaceCommandTest, DoubleHyphenLetsFindBeginWithAHyphen)
{
    write("a.sh", "run --verbose");
    const Outcome outcome = replace({"--", "--verbose", "-q"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(read("a.sh"), "run -q");
}

// Files keep their coding: the find text is matched in each file's own.
TEST_F(ReplaceCommandTest, CodingsAreKept)
{
    write("ansi.txt", "caf\xE9");
    write("utf8.txt", "caf\xC3\xA9");
    write("utf16.txt",
          QByteArray("\xFF\xFE"
                     "c\0a\0f\0\xE9\0",
                     10));
    Outcome outcome = replace({"café", "tea", "ansi.txt", "utf16.txt"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(read("ansi.txt"), "tea");
    EXPECT_EQ(read("utf16.txt"),
              QByteArray("\xFF\xFE"
                         "t\0e\0a\0",
                         8));
    outcome = replace({"--encoding", "utf-8", "café", "tea", "utf8.txt"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(read("utf8.txt"), "tea");
}

// Texts in any script are matched in Unicode files and kept in a saved job.
TEST_F(ReplaceCommandTest, FindsTextInAnyScript)
{
    write("ru.txt", QString::fromUtf8("Привет, мир").toUtf8());
    write("ru16.txt", QByteArray("\xFF\xFE") + [] {
        const QString text = QString::fromUtf8("мир");
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }());
    const Outcome outcome = replace({"мир", "世界", "ru.txt", "ru16.txt"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(QString::fromUtf8(read("ru.txt")), QString::fromUtf8("Привет, 世界"));
    const QString world = QString::fromUtf8("世界");
    EXPECT_EQ(read("ru16.txt"),
              QByteArray("\xFF\xFE")
                  + QByteArray(reinterpret_cast<const char *>(world.utf16()), world.size() * 2));
}

// A regular expression and its groups; the saved job does the same.
TEST_F(ReplaceCommandTest, RegularExpressions)
{
    const QString twin = dir.filePath("twin.c");
    for (const QString &path : {data + "/a.c", twin})
        TestFiles::write(path, "x = GET_name() + get_id();\n");
    const QStringList arguments{"-e", "-i", "get_(\\w+)\\(\\)", "${1}() $$"};
    Outcome outcome = replace(arguments + QStringList{"a.c"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(read("a.c"), "x = name() $ + id() $;\n");

    const QString job = dir.filePath("job.ini");
    outcome = replace(QStringList{"--save-job", job} + arguments + QStringList{twin});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    outcome = ProgramRun::run(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"}, config);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(twin), read("a.c"));
}

TEST_F(ReplaceCommandTest, BackupModes)
{
    const struct {
        QStringList options;
        QString copy; // the back-up copy of a.txt, empty for none
    } cases[] = {
        {{}, {}},
        {{"--backup", "none"}, {}},
        {{"--backup", "folder"}, "_BACKUP_/a.txt"},
        {{"--backup=folder=old"}, "old/a.txt"},
        {{"--backup", "rename"}, "~a.txt"},
        {{"--backup", "rename=was-"}, "was-a.txt"},
    };
    for (const auto &c : cases) {
        QDir(data).removeRecursively();
        write("a.txt", "before");
        const Outcome outcome = replace(c.options + QStringList{"before", "after"});
        const std::string name = c.options.join(' ').toStdString();
        EXPECT_EQ(outcome.exitCode, 0) << name << outcome.errors.toStdString();
        EXPECT_EQ(read("a.txt"), "after") << name;
        EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(),
                  c.copy.isEmpty() ? 1 : 2)
            << name;
        if (!c.copy.isEmpty()) {
            EXPECT_EQ(read(c.copy), "before") << name;
        }
    }
}

// Binary and read-only files are skipped unless asked for, and the JSON
// report says so.
TEST_F(ReplaceCommandTest, JsonLinesReportEveryFile)
{
    const auto setUp = [this] {
        QDir(data).removeRecursively();
        write("a.txt", "x x");
        write("none.txt", "nothing");
        write("bin.dat", QByteArray("x\0\0\0\x01\x02", 6));
        write("ro.txt", "x");
        ::chmod(QFile::encodeName(data + "/ro.txt").constData(), 0444);
    };
    setUp();
    QJsonObject summary;
    Outcome outcome = replace({"--json", "x", "y"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    QMap<QString, QJsonObject> files = jsonFiles(outcome.output, &summary);
    ASSERT_EQ(files.size(), 4) << outcome.output.constData();
    EXPECT_EQ(files["a.txt"]["outcome"], "written");
    EXPECT_EQ(files["a.txt"]["replacements"], 2);
    EXPECT_EQ(files["a.txt"]["coding"], "ansi");
    EXPECT_EQ(files["none.txt"]["outcome"], "unchanged");
    EXPECT_EQ(files["bin.dat"]["outcome"], "skipped");
    EXPECT_EQ(files["bin.dat"]["reason"], "binary");
    EXPECT_EQ(files["ro.txt"]["outcome"], "skipped");
    EXPECT_EQ(files["ro.txt"]["reason"], "read-only");
    EXPECT_EQ(summary["files"], 4);
    EXPECT_EQ(summary["written"], 1);
    EXPECT_EQ(summary["skipped"], 2);
    EXPECT_EQ(summary["replacements"], 2);
    EXPECT_EQ(summary["exit_code"], 0);
    EXPECT_EQ(read("ro.txt"), "x");

    setUp();
    outcome = replace({"--json", "--binary", "text", "--read-only=modify", "x", "y"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    files = jsonFiles(outcome.output);
    EXPECT_EQ(files["bin.dat"]["outcome"], "written");
    EXPECT_EQ(files["ro.txt"]["outcome"], "written");
    EXPECT_EQ(read("ro.txt"), "y");
    EXPECT_EQ(read("bin.dat"), QByteArray("y\0\0\0\x01\x02", 6));
}

TEST_F(ReplaceCommandTest, JsonReportsAFailedWriteAndExitsWithOne)
{
    write("a.txt", "old " + QByteArray(3000, '.'));
    QJsonObject summary;
    const Outcome outcome = replace({"--json", "old", QString(2000, 'n')}, [] {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(outcome.exitCode, 1);
    const QMap<QString, QJsonObject> files = jsonFiles(outcome.output, &summary);
    EXPECT_EQ(files["a.txt"]["outcome"], "failed");
    EXPECT_TRUE(files["a.txt"]["message"].toString().startsWith("Unexpected error while saving"));
    EXPECT_EQ(summary["failed"], 1);
    EXPECT_EQ(summary["exit_code"], 1);
}

TEST_F(ReplaceCommandTest, PreviewWritesNothing)
{
    write("a.txt", "one\nold\n");
    const Outcome outcome = replace({"--preview", "--color=never", "old", "new"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.output.contains("-old\n+new\n")) << outcome.output.constData();
    EXPECT_TRUE(outcome.output.contains("1 file would change, 1 replacement."));
    EXPECT_EQ(read("a.txt"), "one\nold\n");
}

// The saved job, run from elsewhere, does to a copy of the tree exactly what
// the command did to the tree.
TEST_F(ReplaceCommandTest, SavedJobDoesWhatTheCommandDoes)
{
    const QString twin = dir.filePath("twin");
    for (const QString &root : {data, twin}) {
        TestFiles::write(root + "/a.txt", "Foo foo food\r\n");
        TestFiles::write(root + "/b.h", "foo");
        TestFiles::write(root + "/sub/c.txt", "FOO\n");
        TestFiles::write(root + "/sub/deep/d.txt", "foo");
        TestFiles::write(root + "/bin.txt", QByteArray("foo\0\0\0\x01", 7));
    }
    const QStringList options{"-i",      "-w", "-g",       "*.txt",       "-x",       "d.*",
                              "--depth", "1",  "--backup", "rename=old-", "--binary", "text"};
    const QString job = dir.filePath("job.ini");
    Outcome outcome = replace(options + QStringList{"--save-job", job, "foo", "bar", twin});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(twin + "/a.txt"), "Foo foo food\r\n") << "--save-job runs nothing";
    outcome = replace(options + QStringList{"foo", "bar", data});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    outcome = ProgramRun::run(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"}, config, {}, dir.path());
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();

    const auto tree = [](const QString &root) {
        QMap<QString, QByteArray> files;
        QDir folder(root);
        for (const char *name : {"a.txt", "old-a.txt", "b.h", "sub/c.txt", "sub/old-c.txt",
                                 "sub/deep/d.txt", "bin.txt", "old-bin.txt"})
            files.insert(name,
                         QFile::exists(folder.filePath(name))
                             ? TestFiles::read(folder.filePath(name))
                             : QByteArray("(none)"));
        return files;
    };
    EXPECT_EQ(tree(data), tree(twin));
    EXPECT_EQ(read("a.txt"), "bar bar food\r\n");
    EXPECT_EQ(read("sub/deep/d.txt"), "foo");
}

TEST_F(ReplaceCommandTest, ExitCodes)
{
    write("a.txt", "text");
    EXPECT_EQ(replace({"absent", "x"}).exitCode, 0) << "nothing matched";
    const Outcome missing = replace({"text", "x", "no-such-folder"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(
        missing.errors.contains("no-such-folder\" specified on the command line doesn't exist."))
        << missing.errors.toStdString();
    EXPECT_EQ(replace({"--save-job", dir.filePath("no/such/folder/job.ini"), "text", "x"}).exitCode,
              1);
    EXPECT_EQ(read("a.txt"), "text");
}

// A command line the command does not take: exit code 2, one line saying
// why and the usage on standard error, and nothing touched.
TEST_F(ReplaceCommandTest, RefusedCommandLines)
{
    write("a.txt", "text");
    const QStringList refused[] = {
        {},
        {"text"},
        {"", "x"},
        {"--bogus", "text", "x"},
        {"-q", "text", "x"},
        {"-e", "t(xt", "x"},
        {"--regex", "t(x)t", "$2"},
        {"--encoding", "latin1", "text", "x"},
        {"--depth", "2", "text", "x"},
        {"--backup", "copy", "text", "x"},
        {"--backup", "rename=", "text", "x"},
        {"--backup", "folder=a/b", "text", "x"},
        {"--binary", "ask", "text", "x"},
        {"--read-only", "ask", "text", "x"},
        {"-j", "0", "text", "x"},
        {"--threads"},
        {"--json", "--preview", "text", "x"},
        {"--save-job", "job.ini", "--json", "text", "x"},
        {"--color=always", "text", "x"},
        {"--preview", "--color=sometimes", "text", "x"},
        {"-g", "src/*.c", "text", "x"},
        {"--word=yes", "text", "x"},
    };
    for (const QStringList &arguments : refused) {
        const Outcome outcome = replace(arguments);
        const std::string name = arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.exitCode, 2) << name;
        EXPECT_TRUE(outcome.errors.startsWith("sarvonex replace: ")) << name;
        EXPECT_EQ(outcome.errors.indexOf('\n'),
                  outcome.errors.indexOf("\n\nUsage: sarvonex replace"))
            << name << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.output.isEmpty()) << name;
    }
    EXPECT_EQ(read("a.txt"), "text");
    EXPECT_FALSE(QFile::exists(data + "/job.ini"));
}

TEST_F(ReplaceCommandTest, HelpGoesToStandardOutput)
{
    for (const QStringList &arguments : {QStringList{"--help"}, QStringList{"-h"}}) {
        const Outcome outcome = replace(arguments);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.output.startsWith("Usage: sarvonex replace"));
    }
    const Outcome outcome = ProgramRun::run(SARVONEX_PROGRAM, {"--help"}, config);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.output.contains("Usage: sarvonex replace [OPTIONS]"));
}

} // namespace
