#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A test that runs the program itself: a temporary folder holding `data`
// (made), for the files the program works on, and `config`, for its
// preferences and run journals.
class ProgramFoldersTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString data;
    QString config;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        data = dir.filePath("data");
        config = dir.filePath("config");
        QDir().mkpath(data);
    }
};
