#pragma once

#include <QString>

class QWidget;

// The help file of a program: <name>.chm in the program folder, else in its
// "Help/" subfolder, else, for an installed program, in ../share/sarvonex/
// beside the binary folder. Empty when none exists.
QString FindHelpFile(const QString &programFolder, const QString &programName);

// Opens the help window at the topic ("Options.htm"); an empty topic opens
// the start page. A missing help file is reported in an information box. The
// window is not modal and is reused by the next call.
void OpenHelpTopic(QWidget *parent, const QString &topic);

// As above, for the program named and placed as given.
void OpenHelpTopic(QWidget *parent, const QString &topic, const QString &programFolder,
                   const QString &programName);
