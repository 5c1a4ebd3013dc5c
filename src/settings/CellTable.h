#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <algorithm>

// A table of text cells: a header row and at least one data row of a fixed
// number of columns. A table whose first data row holds only empty cells has no
// entries; appending to such a table fills that row, and deleting the only
// entry empties it. Data rows are numbered from 1 in the helpers below, as the
// row numbers of the settings file and the grids are; the Qt model rows are
// numbered from 0.
//
// The job's lists and the tables of native paths (the collected file list,
// the statistics) hold Unicode texts.
template <class Cell>
class CellTable : public QAbstractTableModel
{
public:
    using Row = QList<Cell>;

    explicit CellTable(QList<QString> headers, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_headers(std::move(headers))
    {
        m_rows.append(emptyRow());
    }

    int columns() const { return int(m_headers.size()); }
    const QList<QString> &headers() const { return m_headers; }

    // Data rows present, empty first row included (always at least 1).
    int rowTotal() const { return int(m_rows.size()); }

    // The number of entries: 0 when row 1 is all empty, whatever rows follow
    // it, else the data rows.
    int DataRowCount() const { return isBlankRow(1) ? 0 : rowTotal(); }

    // True when every cell of the data row is empty (rows outside the table
    // count as blank).
    bool isBlankRow(int row) const
    {
        const Row cells = this->row(row);
        return std::all_of(cells.cbegin(), cells.cend(), [](const Cell &c) { return c.isEmpty(); });
    }

    bool isEmpty() const { return DataRowCount() == 0; }

    Cell cell(int row, int column) const
    {
        if (row < 1 || row > rowTotal() || column < 0 || column >= columns())
            return Cell();
        return m_rows[row - 1][column];
    }

    Row row(int row) const
    {
        return row >= 1 && row <= rowTotal() ? m_rows[row - 1] : emptyRow();
    }

    // All entries, in order (nothing for an empty table).
    QList<Row> entries() const
    {
        return DataRowCount() == 0 ? QList<Row>() : m_rows;
    }

    void setCell(int row, int column, const Cell &text)
    {
        if (row < 1 || row > rowTotal() || column < 0 || column >= columns())
            return;
        m_rows[row - 1][column] = text;
        const QModelIndex i = index(row - 1, column);
        emit dataChanged(i, i);
    }

    void setRow(int row, const Row &cells)
    {
        if (row < 1 || row > rowTotal())
            return;
        m_rows[row - 1] = fitted(cells);
        emit dataChanged(index(row - 1, 0), index(row - 1, columns() - 1));
    }

    // Appends an entry: fills row 1 of an empty table instead of adding a row.
    // Returns the data row that now holds it.
    int AppendRow(const Row &cells)
    {
        if (DataRowCount() == 0) {
            setRow(1, cells);
            return 1;
        }
        beginInsertRows(QModelIndex(), rowTotal(), rowTotal());
        m_rows.append(fitted(cells));
        endInsertRows();
        return rowTotal();
    }

    // Header row and one data row of empty cells.
    void ClearGrid() { resetRows({}); }

    // Replaces all data rows at once (a bulk load); an empty list leaves one
    // empty data row.
    void resetRows(const QList<Row> &rows)
    {
        beginResetModel();
        m_rows.clear();
        for (const Row &r : rows)
            m_rows.append(fitted(r));
        if (m_rows.isEmpty())
            m_rows.append(emptyRow());
        endResetModel();
    }

    // Deletes an entry: the only row is emptied instead of removed.
    void DeleteCurrentRow(int row)
    {
        if (row < 1 || row > rowTotal())
            return;
        if (rowTotal() == 1) {
            setRow(1, emptyRow());
            return;
        }
        beginRemoveRows(QModelIndex(), row - 1, row - 1);
        m_rows.removeAt(row - 1);
        endRemoveRows();
    }

    // Appends a copy of an entry at the end and returns the row that holds
    // it; a row of empty cells is not copied (0).
    int duplicateRow(int row)
    {
        if (isBlankRow(row))
            return 0;
        return AppendRow(m_rows[row - 1]);
    }

    // Swaps two entries; rows outside the table leave it unchanged.
    void swapRows(int a, int b)
    {
        if (a < 1 || b < 1 || a > rowTotal() || b > rowTotal() || a == b)
            return;
        m_rows.swapItemsAt(a - 1, b - 1);
        emit dataChanged(index(qMin(a, b) - 1, 0), index(qMax(a, b) - 1, columns() - 1));
    }

    // QAbstractTableModel: rows are data rows from 0, the header row is the
    // horizontal header. Cells are handed out as they are stored.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : rowTotal();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : columns();
    }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        return QVariant::fromValue(cell(index.row() + 1, index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
            || section >= columns())
            return QVariant();
        return m_headers[section];
    }

private:
    Row emptyRow() const { return Row(columns()); }
    Row fitted(Row cells) const
    {
        cells.resize(columns());
        return cells;
    }

    QList<QString> m_headers;
    QList<Row> m_rows;
};

using TextTable = CellTable<QString>;
using PathTable = CellTable<QString>;
