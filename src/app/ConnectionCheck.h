#pragma once

#include <QString>

// Where the kernel tells the routes and the interface states; tests point
// these at files of their own.
struct NetworkStateFiles {
    QString ipv4Routes = QStringLiteral("/proc/net/route");
    QString ipv6Routes = QStringLiteral("/proc/net/ipv6_route");
    QString interfaces = QStringLiteral("/sys/class/net"); // <name>/flags per interface
};

// Connected means: a usable default route (IPv4 or IPv6) through an interface
// other than loopback that is up. Unreadable files count as no route, so a
// system that cannot be queried reads as not connected.
bool HasInternetConnection(const NetworkStateFiles &files = NetworkStateFiles());

// The exit code of "/CheckInternet": 1 when connected, else 0.
int ConnectionCheckExitCode(const NetworkStateFiles &files = NetworkStateFiles());
