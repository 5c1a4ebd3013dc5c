#include "settings/IniFile.h"
#include "settings/ProfileValues.h"

#include <gtest/gtest.h>

namespace {

TEST(IniFile, ReadsValuesAsProfileFilesDo)
{
    const IniFile ini = IniFile::fromBytes("ignored=before any section\r\n"
                                           "[Options]\r\n"
                                           "Plain=a b\r\n"
                                           "  Padded  =   x y  \t\r\n"
                                           "Double=\" kept \"\n"
                                           "Single='q'\n"
                                           "Mixed=\"q'\n"
                                           "Lone=\"\n"
                                           "Equals=a=b\n"
                                           "no equals sign\n"
                                           "Plain=second one is ignored\n"
                                           "[ other ]\n"
                                           "k=v");
    const struct {
        QByteArray section, key, expected;
    } cases[] = {
        {"Options", "Plain", "a b"},
        {"OPTIONS", "plain", "a b"},
        {"Options", "Padded", "x y"},
        {"Options", "Double", " kept "},
        {"Options", "Single", "q"},
        {"Options", "Mixed", "\"q'"},
        {"Options", "Lone", "\""},
        {"Options", "Equals", "a=b"},
        {"Other", "K", "v"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ini.value(c.section, c.key), c.expected) << c.section.data() << "/" << c.key.data();
    EXPECT_FALSE(ini.contains("Options", "ignored"));
    EXPECT_FALSE(ini.contains("Options", "no equals sign"));
    EXPECT_EQ(ini.value("Options", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.value("Missing", "Plain", "dflt"), "dflt");
}

TEST(IniFile, ValuesThatReadingWouldAlterAreQuotedSoTheyRoundTrip)
{
    const QByteArray values[] = {"", "plain", " lead", "trail ", "\ttab", "\"quoted\"",
                                 "'single'", "\"open", "close'", "\"", "mid \"q\" dle",
                                 QByteArray(5000, 'x')};
    IniFile ini;
    for (int i = 0; i < int(std::size(values)); ++i)
        ini.setValue("S", "Key" + QByteArray::number(i), values[i]);
    const IniFile back = IniFile::fromBytes(ini.toBytes());
    for (int i = 0; i < int(std::size(values)); ++i)
        EXPECT_EQ(back.value("S", "Key" + QByteArray::number(i)), values[i]) << i;
}

TEST(IniFile, WritesCrLfWithoutBlankLinesInFirstSetOrder)
{
    IniFile ini;
    ini.setValue("B", "k1", "1");
    ini.setValue("A", "k2", " 2");
    ini.setValue("b", "K1", "one"); // same key, other case: replaced in place
    EXPECT_EQ(ini.toBytes(), "[B]\r\nk1=one\r\n[A]\r\nk2=\" 2\"\r\n");
}

TEST(ProfileInteger, DecimalAndHexadecimalForms)
{
    const struct {
        QByteArray text;
        std::optional<int> expected;
    } cases[] = {
        {"0", 0},           {"42", 42},           {"-7", -7},
        {"0x1F", 31},       {"0X1f", 31},         {"$10", 16},
        {"-$10", -16},      {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},         {"2147483648", std::nullopt},
        {"0x", std::nullopt}, {"$", std::nullopt}, {"", std::nullopt},
        {"12a", std::nullopt}, {"0x-5", std::nullopt}, {"1 2", std::nullopt},
        {"abc", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProfileInteger(c.text), c.expected) << c.text.data();
}

} // namespace
