#pragma once

#include <QString>

// Find and replace texts may hold tabs and line breaks, but a grid cell and a
// settings-file value hold one line: they are stored with tab, line feed,
// carriage return and "{" escaped as "{TAB}", "{LF}", "{CR}" and "{{}".
QString EncodeCellText(const QString &plain);
QString DecodeCellText(const QString &cell);
