#include "services/Preferences.h"
#include "services/ProgramInfo.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char *const Tip = "The easiest way to make all the settings is to use the Wizard.\n\n"
                        "Select File | New | Wizard... from the main menu to start it.";

// Points the user's preference store at a fresh temporary folder.
class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    QSettings store() const
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Plimwick", ProductKey());
    }

    QTemporaryDir m_dir;
};

TEST_F(PreferencesTest, ValuesLiveUnderTheTitledNamesInTheDefaultGroup)
{
    EXPECT_EQ(ReadPreference("Missing"), "");
    WritePreference("LastFolder", "/home/u/jobs");
    EXPECT_EQ(ReadPreference("LastFolder"), "/home/u/jobs");
    EXPECT_EQ(store().value("Default/Sarvonex.LastFolder").toString(), "/home/u/jobs");
}

TEST_F(PreferencesTest, ShorterListLeavesOlderItemsButReadsItsOwnCount)
{
    SaveListToPreferences("FileHistoryList", {"a", "b", "c", "d", "e"});
    SaveListToPreferences("FileHistoryList", {"x", "y", "z"});
    EXPECT_EQ(LoadListFromPreferences("FileHistoryList"), (QStringList{"x", "y", "z"}));

    QSettings s = store();
    s.beginGroup("Default");
    EXPECT_EQ(s.value("Sarvonex.FileHistoryList.ItemsCount").toString(), "3");
    EXPECT_EQ(s.value("Sarvonex.FileHistoryList.Item3").toString(), "d");
    EXPECT_EQ(s.value("Sarvonex.FileHistoryList.Item4").toString(), "e");
}

TEST_F(PreferencesTest, BadCountsReadAsShortLists)
{
    const struct {
        QString count;
        qsizetype expectedSize;
    } cases[] = {{"many", 0}, {"-2", 0}, {"", 0}, {"2000000000", 2}};
    for (const auto &c : cases) {
        QSettings s = store();
        s.beginGroup("Default");
        s.remove("");
        s.setValue("Sarvonex.L.ItemsCount", c.count);
        s.setValue("Sarvonex.L.Item0", "first");
        s.sync();
        EXPECT_EQ(LoadListFromPreferences("L").size(), c.expectedSize) << c.count.toStdString();
    }
}

TEST_F(PreferencesTest, MessageMarkNames)
{
    const struct {
        QString message, owner, expected;
    } cases[] = {
        {Tip, MainWindowName, "Sarvonex.PKSarvonexFrm:theeasiestwaytomakeallthesettingsistousethewizar"},
        {"No files found.", MainWindowName, "Sarvonex.PKSarvonexFrm:nofilesfound."},
        {"Tab\there\r\nsecond line", "", "Sarvonex.NoForm:tabhere"},
        {QString::fromUtf8("Š€ and é"), "Owner", QString::fromUtf8("Sarvonex.Owner:š€and")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MessageMarkName(c.message, c.owner), c.expected) << c.message.toStdString();
}

TEST_F(PreferencesTest, MarkIsAnEmptyValueInTheCommonGroup)
{
    EXPECT_FALSE(HasMessageMark(Tip, MainWindowName));
    EXPECT_TRUE(WriteMessageMark(Tip, MainWindowName));
    EXPECT_TRUE(HasMessageMark(Tip, MainWindowName));
    EXPECT_FALSE(HasMessageMark(Tip, "OtherFrm"));

    QSettings s = store();
    const QString name = "Common/" + MessageMarkName(Tip, MainWindowName);
    ASSERT_TRUE(s.contains(name));
    EXPECT_EQ(s.value(name).toString(), "");
}

} // namespace
