#pragma once
// Draws the data cells of a TSortGrid through TSortGrid::DrawCell and tells
// the grid when the in-place editor is left with Enter.

#include <QStyledItemDelegate>

namespace brx {

class TSortGrid;

class SortGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit SortGridDelegate(TSortGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    TSortGrid* m_grid;
};

} // namespace brx
