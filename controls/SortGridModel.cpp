#include "SortGridModel.h"

#include <algorithm>
#include <utility>

namespace brx {

SortGridModel::SortGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SortGridModel::resizeRow(GridRow& row) const {
    row.texts.resize(m_colCount);
    if (!row.objects.empty()) row.objects.resize(m_colCount);
}

void SortGridModel::setGridSize(int colCount, int rowCount) {
    colCount = std::max(colCount, 0);
    rowCount = std::max(rowCount, m_fixedRows);
    if (colCount > m_colCount) {
        beginInsertColumns({}, m_colCount, colCount - 1);
        m_colCount = colCount;
        for (GridRow& row : m_rows) resizeRow(row);
        endInsertColumns();
    } else if (colCount < m_colCount) {
        beginRemoveColumns({}, colCount, m_colCount - 1);
        m_colCount = colCount;
        for (GridRow& row : m_rows) resizeRow(row);
        endRemoveColumns();
    }
    const int oldRows = gridRowCount();
    if (rowCount > oldRows) {
        beginInsertRows({}, oldRows - m_fixedRows, rowCount - m_fixedRows - 1);
        m_rows.resize(rowCount);
        for (int r = oldRows; r < rowCount; ++r) resizeRow(m_rows[r]);
        endInsertRows();
    } else if (rowCount < oldRows) {
        beginRemoveRows({}, rowCount - m_fixedRows, oldRows - m_fixedRows - 1);
        m_rows.resize(rowCount);
        endRemoveRows();
    }
}

void SortGridModel::setFixedRows(int fixedRows) {
    beginResetModel();
    m_fixedRows = std::max(fixedRows, 0);
    const int rows = std::max(gridRowCount(), m_fixedRows);
    m_rows.resize(rows);
    for (GridRow& row : m_rows) resizeRow(row);
    endResetModel();
}

void SortGridModel::rowsChanged(int first, int last) {
    if (first < m_fixedRows) emit headerDataChanged(Qt::Horizontal, 0, std::max(m_colCount - 1, 0));
    const int top = std::max(first, m_fixedRows) - m_fixedRows;
    const int bottom = last - m_fixedRows;
    if (top <= bottom && m_colCount > 0)
        emit dataChanged(index(top, 0), index(bottom, m_colCount - 1), {Qt::DisplayRole});
}

void SortGridModel::setText(int col, int row, const QString& text) {
    QString& cell = m_rows[row].texts[col];
    if (cell == text) return;
    cell = text;
    if (row < m_fixedRows) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex at = index(row - m_fixedRows, col);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

QVariant SortGridModel::object(int col, int row) const {
    const GridRow& gridRow = m_rows[row];
    return gridRow.objects.empty() ? QVariant() : gridRow.objects[col];
}

void SortGridModel::setObject(int col, int row, const QVariant& object) {
    GridRow& gridRow = m_rows[row];
    if (gridRow.objects.empty()) gridRow.objects.resize(m_colCount);
    gridRow.objects[col] = object;
}

void SortGridModel::replaceRows(int first, std::vector<GridRow> rows) {
    if (rows.empty()) return;
    std::move(rows.begin(), rows.end(), m_rows.begin() + first);
    rowsChanged(first, first + static_cast<int>(rows.size()) - 1);
}

void SortGridModel::clearRow(int row) {
    GridRow& gridRow = m_rows[row];
    std::fill(gridRow.texts.begin(), gridRow.texts.end(), QString());
    gridRow.objects.clear();
    rowsChanged(row, row);
}

void SortGridModel::clearColumn(int col) {
    for (GridRow& row : m_rows) {
        row.texts[col].clear();
        if (!row.objects.empty()) row.objects[col] = QVariant();
    }
    if (!m_rows.empty()) rowsChanged(0, gridRowCount() - 1);
}

void SortGridModel::deleteRow(int row) {
    if (row < m_fixedRows) {
        // A fixed row leaves: the next row becomes fixed, the view loses its top row.
        beginRemoveRows({}, 0, 0);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
        emit headerDataChanged(Qt::Horizontal, 0, std::max(m_colCount - 1, 0));
        return;
    }
    beginRemoveRows({}, row - m_fixedRows, row - m_fixedRows);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void SortGridModel::deleteColumn(int col) {
    beginRemoveColumns({}, col, col);
    --m_colCount;
    for (GridRow& row : m_rows) {
        row.texts.erase(row.texts.begin() + col);
        if (!row.objects.empty()) row.objects.erase(row.objects.begin() + col);
    }
    endRemoveColumns();
}

void SortGridModel::moveRow(int from, int to) {
    if (from == to) return;
    GridRow moving = std::move(m_rows[from]);
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + to, std::move(moving));
    rowsChanged(std::min(from, to), std::max(from, to));
}

void SortGridModel::moveColumn(int from, int to) {
    if (from == to) return;
    for (GridRow& row : m_rows) {
        QString moving = std::move(row.texts[from]);
        row.texts.erase(row.texts.begin() + from);
        row.texts.insert(row.texts.begin() + to, std::move(moving));
        if (row.objects.empty()) continue;
        QVariant object = std::move(row.objects[from]);
        row.objects.erase(row.objects.begin() + from);
        row.objects.insert(row.objects.begin() + to, std::move(object));
    }
    if (!m_rows.empty()) rowsChanged(0, gridRowCount() - 1);
}

int SortGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : gridRowCount() - m_fixedRows;
}

int SortGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_colCount;
}

QVariant SortGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return text(index.column(), index.row() + m_fixedRows);
}

bool SortGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int row = index.row() + m_fixedRows;
    if (editTextHandler)
        editTextHandler(index.column(), row, value.toString());
    else
        setText(index.column(), row, value.toString());
    return true;
}

Qt::ItemFlags SortGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (m_editable) result |= Qt::ItemIsEditable;
    return result;
}

QVariant SortGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || m_fixedRows == 0) return {};
    if (section < 0 || section >= m_colCount) return {};
    return text(section, 0);
}

} // namespace brx
