#pragma once
// The cells of a TSortGrid: RowCount x ColCount texts with an optional
// object per cell, addressed by grid numbers (fixed rows included). As a Qt
// model it shows only the rows below the fixed ones; the fixed rows are
// drawn by the grid's header.

#include <QAbstractTableModel>
#include <QVariant>

#include <functional>
#include <vector>

namespace brx {

class SortGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct GridRow {
        std::vector<QString> texts;
        std::vector<QVariant> objects; // empty until an object is attached
    };

    explicit SortGridModel(QObject* parent = nullptr);

    int gridRowCount() const { return static_cast<int>(m_rows.size()); }
    int gridColCount() const { return m_colCount; }
    int fixedRows() const { return m_fixedRows; }
    void setGridSize(int colCount, int rowCount);
    void setFixedRows(int fixedRows);

    const QString& text(int col, int row) const { return m_rows[row].texts[col]; }
    void setText(int col, int row, const QString& text);
    QVariant object(int col, int row) const;
    void setObject(int col, int row, const QVariant& object);

    const GridRow& gridRow(int row) const { return m_rows[row]; }
    // Replaces rows first.. with the given ones (same count) in one update.
    void replaceRows(int first, std::vector<GridRow> rows);
    void clearRow(int row);
    void clearColumn(int col);
    void deleteRow(int row);
    void deleteColumn(int col);
    void moveRow(int from, int to);
    void moveColumn(int from, int to);

    // Called when the in-place editor stores a text (grid numbers).
    std::function<void(int col, int row, const QString& text)> editTextHandler;
    void setEditable(bool editable) { m_editable = editable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rowsChanged(int first, int last);
    void resizeRow(GridRow& row) const;

    std::vector<GridRow> m_rows;
    int m_colCount = 0;
    int m_fixedRows = 0;
    bool m_editable = false;
};

} // namespace brx
