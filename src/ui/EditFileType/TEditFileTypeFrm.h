#pragma once

#include "ui_TEditFileTypeFrm.h"

#include <QDialog>

class QButtonGroup;

// Edits one file-type entry: the mask, the encoding its files are read in
// (included types only) and a description. Created once and reused; the
// caller fills the boxes, runs exec() and reads them back on Accepted.
class TEditFileTypeFrm : public QDialog, public Ui::TEditFileTypeFrm
{
    Q_OBJECT
public:
    explicit TEditFileTypeFrm(QWidget *parent = nullptr);

    // Shown for included types; excluded types have no encoding.
    void ShowEncodingChoice(bool show);

    // "Auto", "ANSI", "UTF-8", "Unicode" or "Unicode (big endian)".
    QByteArray EncodingName() const;

    // Selects the encoding named exactly `name`; any other text keeps the
    // current selection.
    void SetEncodingName(const QByteArray &name);

    // Trims the mask on every closing; OK is refused (the dialog stays open)
    // for an empty mask or a text the job cannot store.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QButtonGroup *m_encodings;
};
