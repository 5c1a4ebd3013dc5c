#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that work on real files in a temporary folder.
namespace TestFiles {

void write(const QString &path, const QByteArray &bytes);
QByteArray read(const QString &path);

} // namespace TestFiles
