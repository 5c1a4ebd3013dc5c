#include "ui/FileList/PathTableGrid.h"

#include <QHeaderView>
#include <QTableView>

void ShowPathTable(QTableView *grid, PathTable &table, int column1Width, int column2Width)
{
    if (grid->model() != &table)
        grid->setModel(&table);
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->resizeSection(1, column1Width);
    header->resizeSection(2, column2Width);
}
