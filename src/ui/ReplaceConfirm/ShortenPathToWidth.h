#pragma once

#include <QFont>
#include <QString>

// The longest ShortenPath form of `path` that is drawn no wider than `width`
// pixels in `font`; the bare file name without extension when none fits.
QString ShortenPathToWidth(const QString &path, int width, const QFont &font);
