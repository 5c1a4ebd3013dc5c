#include "ui/EditFileType/TEditFileTypeFrm.h"

#include "services/ProgramInfo.h"
#include "settings/FileEncoding.h"
#include "ui/EntryText.h"
#include "widgets/TSizeGrip.h"

#include <QButtonGroup>
#include <QMessageBox>

TEditFileTypeFrm::TEditFileTypeFrm(QWidget *parent) : QDialog(parent), m_encodings(new QButtonGroup(this))
{
    setupUi(this);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    // The button ids are the encoding numbers, so the names come from the
    // encoding table.
    m_encodings->addButton(EncodingAutoRdo, EncodingAuto);
    m_encodings->addButton(EncodingAnsiRdo, EncodingAnsi);
    m_encodings->addButton(EncodingUtf8Rdo, EncodingUtf8);
    m_encodings->addButton(EncodingUnicodeRdo, EncodingUnicode);
    m_encodings->addButton(EncodingUnicodeBigEndianRdo, EncodingUnicodeBigEndian);
}

void TEditFileTypeFrm::ShowEncodingChoice(bool show)
{
    FileEncodingRdo->setVisible(show);
}

QByteArray TEditFileTypeFrm::EncodingName() const
{
    return FileEncodingName(m_encodings->checkedId());
}

void TEditFileTypeFrm::SetEncodingName(const QByteArray &name)
{
    for (QAbstractButton *button : m_encodings->buttons())
        if (FileEncodingName(m_encodings->id(button)) == name)
            button->setChecked(true);
}

void TEditFileTypeFrm::showEvent(QShowEvent *event)
{
    // Each use starts in the mask, whatever had the focus last time.
    FileMaskEdt->setFocus();
    QDialog::showEvent(event);
}

void TEditFileTypeFrm::done(int result)
{
    const QString mask = TrimEntryText(FileMaskEdt);
    if (result == QDialog::Accepted) {
        if (mask.isEmpty()) {
            QMessageBox::information(this, ApplicationTitle,
                                     "No file mask specified. Specify the mask (using wild cards * "
                                     "and ?) for the file selection.");
            return;
        }
    }
    QDialog::done(result);
}
