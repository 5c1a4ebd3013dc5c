#pragma once

// A job run through the program itself, unattended and without a display,
// over files in a temporary folder, with its preferences and journals there.
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

class UnattendedJobTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString data = dir.filePath("data");
    QString config = dir.filePath("config");
    QString job = dir.filePath("job.ini");

    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A job over `folders` (all levels, *.txt) with one pair, no back-ups
    // unless `options` says otherwise; `extra` goes after the folders.
    void writeJob(const QStringList &folders, const QByteArray &find, const QByteArray &replace,
                  const QByteArray &options = "Backup=1\r\n", const QByteArray &extra = "")
    {
        QByteArray text = "[Sarvonex]\r\nVersion=2.2\r\n[Directories]\r\nGridWidth=3\r\n"
                          "GridHeight="
            + QByteArray::number(folders.size()) + "\r\n";
        int key = 1;
        for (const QString &folder : folders) {
            for (const QByteArray &cell : {folder.toUtf8(), QByteArray("All levels"),
                                           QByteArray("-B")})
                text += "Value" + QByteArray::number(key++) + "=" + cell + "\r\n";
        }
        text += extra;
        text += "[FileTypes]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1=*.txt\r\nValue2=Auto\r\n"
                "Value3=\r\n[Strings]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1="
            + find + "\r\nValue2=" + replace + "\r\nValue3=(--)[Default]\r\n[Options]\r\n"
            + options;
        TestFiles::write(job, text);
    }

    ProgramRun::Outcome run(const std::function<void()> &inChild = {})
    {
        return ProgramRun::run(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"}, config, inChild);
    }

    QStringList leftovers(const QString &folder) const
    {
        return QDir(folder).entryList({".svx-*"}, QDir::Files | QDir::Hidden | QDir::System);
    }
};
