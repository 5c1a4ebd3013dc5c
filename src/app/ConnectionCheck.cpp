#include "app/ConnectionCheck.h"

#include <QFile>
#include <QList>

namespace {

// Route flags of <linux/route.h>, interface flags of <net/if.h>.
constexpr quint32 RouteUp = 0x0001;
constexpr quint32 RouteReject = 0x0200;
constexpr quint32 InterfaceUp = 0x1;

QList<QList<QByteArray>> tableRows(const QString &path)
{
    QList<QList<QByteArray>> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (!line.trimmed().isEmpty())
            rows.append(fields);
    }
    return rows;
}

bool isUsableRoute(const QByteArray &flagsText)
{
    bool ok = false;
    const quint32 flags = flagsText.toUInt(&ok, 16);
    return ok && (flags & RouteUp) && !(flags & RouteReject);
}

// An interface whose flags cannot be read counts as up: its route is there.
bool isInterfaceUp(const NetworkStateFiles &files, const QByteArray &name)
{
    if (name.isEmpty() || name == "lo" || name.contains('/'))
        return false;
    QFile flagsFile(files.interfaces + QLatin1Char('/') + QString::fromLatin1(name) + "/flags");
    if (!flagsFile.open(QIODevice::ReadOnly))
        return true;
    bool ok = false;
    const quint32 flags = flagsFile.readAll().trimmed().toUInt(&ok, 0);
    return !ok || (flags & InterfaceUp);
}

// /proc/net/route: a header line, then Iface Destination Gateway Flags RefCnt
// Use Metric Mask ...; a default route has destination and mask 0.
bool hasIpv4DefaultRoute(const NetworkStateFiles &files)
{
    const QList<QList<QByteArray>> rows = tableRows(files.ipv4Routes);
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QList<QByteArray> &f = rows[i];
        if (f.size() >= 8 && f[1] == "00000000" && f[7] == "00000000" && isUsableRoute(f[3])
            && isInterfaceUp(files, f[0]))
            return true;
    }
    return false;
}

// /proc/net/ipv6_route: no header; destination, prefix length, source, source
// prefix length, next hop, metric, reference count, use, flags, interface.
bool hasIpv6DefaultRoute(const NetworkStateFiles &files)
{
    for (const QList<QByteArray> &f : tableRows(files.ipv6Routes)) {
        if (f.size() >= 10 && f[0] == QByteArray(32, '0') && f[1] == "00" && isUsableRoute(f[8])
            && isInterfaceUp(files, f[9]))
            return true;
    }
    return false;
}

} // namespace

bool HasInternetConnection(const NetworkStateFiles &files)
{
    return hasIpv4DefaultRoute(files) || hasIpv6DefaultRoute(files);
}

int ConnectionCheckExitCode(const NetworkStateFiles &files)
{
    return HasInternetConnection(files) ? 1 : 0;
}
