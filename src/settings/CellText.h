#pragma once

#include <QByteArray>

// Find and replace texts may hold tabs and line breaks, but a grid cell and a
// settings-file value hold one line: they are stored with tab, line feed,
// carriage return and "{" escaped as "{TAB}", "{LF}", "{CR}" and "{{}".
QByteArray EncodeCellText(const QByteArray &plain);
QByteArray DecodeCellText(const QByteArray &cell);
