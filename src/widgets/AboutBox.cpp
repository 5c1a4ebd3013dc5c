#include "widgets/AboutBox.h"

#include "services/ProgramInfo.h"

#include <QMessageBox>

void ShowAboutBox(QWidget *parent)
{
    const QString title = QString::fromLatin1(ApplicationTitle);
    QMessageBox box(QMessageBox::NoIcon, title,
                    title + "\nver. " + ProgramVersion().toString()
                        + "\n\nFinds and replaces strings in many text files at once.",
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
