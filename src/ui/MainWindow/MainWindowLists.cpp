// The list commands of the main window: add, edit, copy, delete and move the
// entries of the four grids through the entry dialogs.
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/text/CodePage.h"
#include "settings/CellText.h"
#include "ui/EditDirs/TEditDirsFrm.h"
#include "ui/EditFileType/TEditFileTypeFrm.h"
#include "ui/EditStrings/TEditStringsFrm.h"

#include <QKeyEvent>
#include <functional>

namespace {

constexpr int MaxOptionsText = 255;

} // namespace

int TPKSarvonexFrm::selectedRow(const QTableView *grid)
{
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TPKSarvonexFrm::selectRow(QTableView *grid, int row)
{
    const QModelIndex index = grid->model()->index(row - 1, 0);
    grid->setCurrentIndex(index);
    grid->selectRow(row - 1);
    grid->scrollTo(index);
}

void TPKSarvonexFrm::connectListCommands()
{
    const auto button = [this](QPushButton *b, void (TPKSarvonexFrm::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    button(AddDirBtn, &TPKSarvonexFrm::AddDirBtnClick);
    button(EditDirBtn, &TPKSarvonexFrm::EditDirBtnClick);
    button(DeleteDirBtn, &TPKSarvonexFrm::DeleteDirBtnClick);
    button(AddTypeBtn, &TPKSarvonexFrm::AddTypeBtnClick);
    button(EditTypeBtn, &TPKSarvonexFrm::EditTypeBtnClick);
    button(CopyTypeBtn, &TPKSarvonexFrm::CopyTypeBtnClick);
    button(DeleteTypeBtn, &TPKSarvonexFrm::DeleteTypeBtnClick);
    button(AddExclFileBtn, &TPKSarvonexFrm::AddExclFileBtnClick);
    button(EditExclFileBtn, &TPKSarvonexFrm::EditExclFileBtnClick);
    button(CopyExclFileBtn, &TPKSarvonexFrm::CopyExclFileBtnClick);
    button(DeleteExclFileBtn, &TPKSarvonexFrm::DeleteExclFileBtnClick);
    button(AddStringsBtn, &TPKSarvonexFrm::AddStringsBtnClick);
    button(EditStringsBtn, &TPKSarvonexFrm::EditStringsBtnClick);
    button(CopyBtn, &TPKSarvonexFrm::CopyBtnClick);
    button(DeleteStringsBtn, &TPKSarvonexFrm::DeleteStringsBtnClick);
    button(MoveUpBtn, &TPKSarvonexFrm::MoveUpBtnClick);
    button(MoveDownBtn, &TPKSarvonexFrm::MoveDownBtnClick);
}

bool TPKSarvonexFrm::eventFilter(QObject *watched, QEvent *event)
{
    return gridCommand(watched, event) || QMainWindow::eventFilter(watched, event);
}

// A grid's commands from the keyboard and the mouse: Insert adds, Enter and
// F2 edit, Delete (with or without modifiers) deletes; a double click
// anywhere on the grid, on an entry or below the last, edits.
bool TPKSarvonexFrm::gridCommand(QObject *watched, QEvent *event)
{
    struct GridCommands {
        QTableView *grid;
        void (TPKSarvonexFrm::*add)();
        void (TPKSarvonexFrm::*edit)();
        void (TPKSarvonexFrm::*remove)();
    };
    const GridCommands grids[] = {
        {DirsGrd, &TPKSarvonexFrm::AddDirBtnClick, &TPKSarvonexFrm::EditDirBtnClick,
         &TPKSarvonexFrm::DeleteDirBtnClick},
        {FileTypesGrd, &TPKSarvonexFrm::AddTypeBtnClick, &TPKSarvonexFrm::EditTypeBtnClick,
         &TPKSarvonexFrm::DeleteTypeBtnClick},
        {ExclFileTypesGrd, &TPKSarvonexFrm::AddExclFileBtnClick,
         &TPKSarvonexFrm::EditExclFileBtnClick, &TPKSarvonexFrm::DeleteExclFileBtnClick},
        {StringsGrd, &TPKSarvonexFrm::AddStringsBtnClick, &TPKSarvonexFrm::EditStringsBtnClick,
         &TPKSarvonexFrm::DeleteStringsBtnClick},
    };
    for (const GridCommands &g : grids) {
        void (TPKSarvonexFrm::*command)() = nullptr;
        if (watched == g.grid->viewport() && event->type() == QEvent::MouseButtonDblClick) {
            command = g.edit;
        } else if (watched == g.grid && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers plain = key->modifiers() & ~Qt::KeypadModifier;
            if (key->key() == Qt::Key_Delete)
                command = g.remove;
            else if (plain == Qt::NoModifier && key->key() == Qt::Key_Insert)
                command = g.add;
            else if (plain == Qt::NoModifier
                     && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                         || key->key() == Qt::Key_F2))
                command = g.edit;
        }
        if (command) {
            std::invoke(command, this);
            return true;
        }
    }
    return false;
}

// Folders.

namespace {

TextTable::Row folderRow(const TEditDirsFrm &dialog)
{
    return {dialog.DirEdt->text(), dialog.LevelsCBx->currentText(),
            dialog.IgnoreBackupDirsChk->isChecked() ? QStringLiteral("-B") : QStringLiteral("+B")};
}

} // namespace

void TPKSarvonexFrm::AddDirBtnClick()
{
    EditDirsFrm->DirEdt->clear();
    EditDirsFrm->LevelsCBx->setCurrentIndex(0);
    EditDirsFrm->IgnoreBackupDirsChk->setChecked(true);
    EditDirsFrm->IgnoreBackupFilesChk->setChecked(true);
    if (EditDirsFrm->exec() != QDialog::Accepted)
        return;
    selectRow(DirsGrd, m_job.folders().AppendRow(folderRow(*EditDirsFrm)));
    SetModified(true);
}

void TPKSarvonexFrm::EditDirBtnClick()
{
    const int row = selectedRow(DirsGrd);
    const TextTable::Row cells = m_job.folders().row(row);
    EditDirsFrm->DirEdt->setText(cells[0]);
    const int depth = EditDirsFrm->LevelsCBx->findText(cells[1], Qt::MatchFixedString);
    EditDirsFrm->LevelsCBx->setCurrentIndex(qMax(depth, 0));
    const bool skip = cells[2] != QLatin1String("+B");
    EditDirsFrm->IgnoreBackupDirsChk->setChecked(skip);
    EditDirsFrm->IgnoreBackupFilesChk->setChecked(skip);
    if (EditDirsFrm->exec() != QDialog::Accepted)
        return;
    m_job.folders().setRow(row, folderRow(*EditDirsFrm));
    SetModified(true);
}

void TPKSarvonexFrm::DeleteDirBtnClick()
{
    deleteEntry(DirsGrd);
}

// File types: the included list reads and writes the encoding, the excluded
// list keeps its encoding cell empty.

TextTable::Row TPKSarvonexFrm::fileTypeRow(bool included) const
{
    return {EditFileTypeFrm->FileMaskEdt->text(),
            included ? QString::fromLatin1(EditFileTypeFrm->EncodingName()) : QString(),
            EditFileTypeFrm->FileDescriptionEdt->text()};
}

void TPKSarvonexFrm::addFileType(QTableView *grid, bool included)
{
    EditFileTypeFrm->FileMaskEdt->clear();
    EditFileTypeFrm->FileDescriptionEdt->clear();
    EditFileTypeFrm->ShowEncodingChoice(included);
    if (included)
        EditFileTypeFrm->SetEncodingName("Auto");
    if (EditFileTypeFrm->exec() != QDialog::Accepted)
        return;
    auto *table = static_cast<TextTable *>(grid->model());
    selectRow(grid, table->AppendRow(fileTypeRow(included)));
    SetModified(true);
}

void TPKSarvonexFrm::editFileType(QTableView *grid, bool included)
{
    auto *table = static_cast<TextTable *>(grid->model());
    const int row = selectedRow(grid);
    const TextTable::Row cells = table->row(row);
    // An empty row keeps the encoding chosen last.
    const bool empty = table->isBlankRow(row);
    EditFileTypeFrm->FileMaskEdt->setText(cells[0]);
    EditFileTypeFrm->FileDescriptionEdt->setText(cells[2]);
    if (included && !empty)
        EditFileTypeFrm->SetEncodingName(cells[1].toLatin1());
    EditFileTypeFrm->ShowEncodingChoice(included);
    if (EditFileTypeFrm->exec() != QDialog::Accepted)
        return;
    table->setRow(row, fileTypeRow(included));
    SetModified(true);
}

void TPKSarvonexFrm::copyEntry(QTableView *grid, bool skipEmpty)
{
    auto *table = static_cast<TextTable *>(grid->model());
    const int row = selectedRow(grid);
    // A string pair is copied even when blank; a blank file type is not.
    const int copy = skipEmpty ? table->duplicateRow(row) : table->AppendRow(table->row(row));
    if (copy == 0)
        return;
    selectRow(grid, copy);
    SetModified(true);
}

void TPKSarvonexFrm::deleteEntry(QTableView *grid)
{
    auto *table = static_cast<TextTable *>(grid->model());
    const int row = selectedRow(grid);
    table->DeleteCurrentRow(row);
    selectRow(grid, qMin(row, table->rowTotal()));
    SetModified(true);
}

void TPKSarvonexFrm::AddTypeBtnClick()
{
    addFileType(FileTypesGrd, true);
}

void TPKSarvonexFrm::EditTypeBtnClick()
{
    editFileType(FileTypesGrd, true);
}

void TPKSarvonexFrm::CopyTypeBtnClick()
{
    copyEntry(FileTypesGrd, true);
}

void TPKSarvonexFrm::DeleteTypeBtnClick()
{
    deleteEntry(FileTypesGrd);
}

void TPKSarvonexFrm::AddExclFileBtnClick()
{
    addFileType(ExclFileTypesGrd, false);
}

void TPKSarvonexFrm::EditExclFileBtnClick()
{
    editFileType(ExclFileTypesGrd, false);
}

void TPKSarvonexFrm::CopyExclFileBtnClick()
{
    copyEntry(ExclFileTypesGrd, true);
}

void TPKSarvonexFrm::DeleteExclFileBtnClick()
{
    deleteEntry(ExclFileTypesGrd);
}

// String pairs.

TextTable::Row TPKSarvonexFrm::stringPairRow() const
{
    return {EncodeCellText(EditStringsFrm->findText()),
            EncodeCellText(EditStringsFrm->replaceText()),
            QString::fromLatin1(EditStringsFrm->OptionsToText())};
}

void TPKSarvonexFrm::AddStringsBtnClick()
{
    EditStringsFrm->SetEquidistantFont(PreferEquidistantFontChk->isChecked());
    EditStringsFrm->setFindText(QString());
    EditStringsFrm->setReplaceText(QString());
    EditStringsFrm->ResetOptions();
    EditStringsFrm->SingleCharWildCardCBx->setCurrentIndex(0);
    EditStringsFrm->MultiCharWildCardCBx->setCurrentIndex(0);
    if (EditStringsFrm->exec() != QDialog::Accepted)
        return;
    selectRow(StringsGrd, m_job.stringPairs().AppendRow(stringPairRow()));
    SetModified(true);
}

void TPKSarvonexFrm::EditStringsBtnClick()
{
    const int row = selectedRow(StringsGrd);
    const TextTable::Row cells = m_job.stringPairs().row(row);
    EditStringsFrm->SetEquidistantFont(PreferEquidistantFontChk->isChecked());
    EditStringsFrm->setFindText(DecodeCellText(cells[0]));
    EditStringsFrm->setReplaceText(DecodeCellText(cells[1]));
    EditStringsFrm->OptionsFromText(cells[2].left(MaxOptionsText).toLatin1());
    if (EditStringsFrm->exec() != QDialog::Accepted)
        return;
    m_job.stringPairs().setRow(row, stringPairRow());
    SetModified(true);
}

void TPKSarvonexFrm::CopyBtnClick()
{
    copyEntry(StringsGrd, false);
}

void TPKSarvonexFrm::DeleteStringsBtnClick()
{
    deleteEntry(StringsGrd);
}

void TPKSarvonexFrm::MoveUpBtnClick()
{
    const int row = selectedRow(StringsGrd);
    if (row <= 1)
        return;
    m_job.stringPairs().swapRows(row, row - 1);
    selectRow(StringsGrd, row - 1);
    SetModified(true);
}

void TPKSarvonexFrm::MoveDownBtnClick()
{
    const int row = selectedRow(StringsGrd);
    if (row >= m_job.stringPairs().rowTotal())
        return;
    m_job.stringPairs().swapRows(row, row + 1);
    selectRow(StringsGrd, row + 1);
    SetModified(true);
}
