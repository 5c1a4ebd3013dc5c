#include "app/ConnectionCheck.h"
#include "services/CommandLine.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SwitchValue)
{
    const struct {
        QStringList arguments;
        QString expected;
    } cases[] = {
        {{"-f:C.ini"}, "C.ini"},
        {{"-fC.ini"}, "C.ini"},
        {{"/F:C.ini"}, "C.ini"},
        {{"/f::C.ini"}, ":C.ini"},            // one colon only
        {{"-f/jobs/a b.ini"}, "/jobs/a b.ini"},
        {{"-fa.ini", "-r", "/F:b.ini"}, "b.ini"}, // the last one wins
        {{"-f"}, ""},
        {{"f:C.ini", "C.ini"}, ""},           // no hyphen or slash: no switch
        {{}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SwitchValue(c.arguments, "-f"), c.expected) << c.arguments.join(' ').toStdString();
}

TEST(CommandLine, HasSwitch)
{
    const struct {
        QStringList arguments;
        const char *switchName;
        bool expected;
    } cases[] = {
        {{"-r"}, "-r", true},
        {{"/R"}, "-r", true},
        {{"-rx"}, "-r", true},
        {{"-s"}, "/S", true},
        {{"r"}, "-r", false},
        {{"x-r"}, "-r", false},
        {{"-fjob.ini"}, "-r", false},
        {{"-fjob.ini", "-S"}, "-s", true},
        {{"/checkinternet"}, "/CheckInternet", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HasSwitch(c.arguments, c.switchName), c.expected)
            << c.arguments.join(' ').toStdString() << " ? " << c.switchName;
}

TEST(CommandLine, ConnectionCheckOnlyAsTheSoleArgument)
{
    EXPECT_TRUE(IsConnectionCheck({"/CheckInternet"}));
    EXPECT_TRUE(IsConnectionCheck({"-checkinternet"}));
    EXPECT_FALSE(IsConnectionCheck({"/CheckInternet", "-fa.ini"}));
    EXPECT_FALSE(IsConnectionCheck({"-r", "/CheckInternet"}));
    EXPECT_FALSE(IsConnectionCheck({}));
    EXPECT_FALSE(IsConnectionCheck({"CheckInternet"}));
}

TEST(CommandLine, StartupRequest)
{
    const StartupRequest none = StartupRequest::fromArguments({});
    EXPECT_TRUE(none.noArguments);
    EXPECT_FALSE(none.run);

    const StartupRequest other = StartupRequest::fromArguments({"hello"});
    EXPECT_FALSE(other.noArguments);
    EXPECT_TRUE(other.settingsFile.isEmpty());

    const StartupRequest silent = StartupRequest::fromArguments({"/f:/j.ini", "-s"});
    EXPECT_EQ(silent.settingsFile, "/j.ini");
    EXPECT_FALSE(silent.unattended); // "-s" means nothing without "-r"

    const StartupRequest unattended = StartupRequest::fromArguments({"-f/j.ini", "-R", "/s"});
    EXPECT_TRUE(unattended.run);
    EXPECT_TRUE(unattended.unattended);
}

const QByteArray Ipv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const QByteArray Ipv4LocalOnly = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
const QByteArray Ipv4Default = "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
const QByteArray Ipv6Zero(32, '0');
const QByteArray Ipv6Default = Ipv6Zero + " 00 " + Ipv6Zero + " 00 fd000000000000000000000000000001"
    " 00000400 00000002 00000000 00000003     eth1\n";
const QByteArray Ipv6Unreachable = Ipv6Zero + " 00 " + Ipv6Zero + " 00 " + Ipv6Zero
    + " ffffffff 00000001 00000000 00200200       lo\n";

TEST(ConnectionCheck, DefaultRouteThroughAnInterfaceThatIsUp)
{
    const struct {
        const char *name;
        QByteArray ipv4, ipv6, eth0Flags, eth1Flags;
        int exitCode;
    } cases[] = {
        {"IPv4 default route", Ipv4Header + Ipv4Default + Ipv4LocalOnly, "", "0x1003", "", 1},
        {"IPv4 default route, interface down", Ipv4Header + Ipv4Default, "", "0x1002", "", 0},
        {"interface flags unknown", Ipv4Header + Ipv4Default, "", "", "", 1},
        {"local routes only", Ipv4Header + Ipv4LocalOnly, Ipv6Unreachable, "0x1003", "", 0},
        {"IPv6 default route", Ipv4Header, Ipv6Default + Ipv6Unreachable, "", "0x1003", 1},
        {"IPv6 default route, interface down", Ipv4Header, Ipv6Default, "", "0x1000", 0},
        {"no route files", "", "", "", "", 0},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        NetworkStateFiles files{dir.filePath("route"), dir.filePath("ipv6_route"), dir.filePath("net")};
        if (!c.ipv4.isEmpty())
            TestFiles::write(files.ipv4Routes, c.ipv4);
        if (!c.ipv6.isEmpty())
            TestFiles::write(files.ipv6Routes, c.ipv6);
        if (!c.eth0Flags.isEmpty())
            TestFiles::write(files.interfaces + "/eth0/flags", c.eth0Flags + "\n");
        if (!c.eth1Flags.isEmpty())
            TestFiles::write(files.interfaces + "/eth1/flags", c.eth1Flags + "\n");
        EXPECT_EQ(ConnectionCheckExitCode(files), c.exitCode) << c.name;
    }
}

} // namespace
