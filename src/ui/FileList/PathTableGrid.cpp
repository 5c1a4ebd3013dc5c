#include "ui/FileList/PathTableGrid.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

void ShowPathTable(QTableView *grid, PathTable &table, int column1Width, int column2Width)
{
    if (grid->model() != &table)
        grid->setModel(&table);
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    // The narrow columns keep their widths unless their heading or a date
    // in the desktop's font needs more: a clipped date tells the user nothing.
    const auto fit = [grid, header](int column, int width) {
        const QAbstractItemView *view = grid;
        header->resizeSection(column, std::max({width, header->sectionSizeHint(column),
                                                view->sizeHintForColumn(column)}));
    };
    fit(1, column1Width);
    fit(2, column2Width);
}
