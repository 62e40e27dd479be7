#include "SortGridDelegate.h"

#include "TSortGrid.h"

#include <QKeyEvent>
#include <QPainter>

namespace brx {

SortGridDelegate::SortGridDelegate(TSortGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void SortGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int col = index.column();
    const int row = index.row() + m_grid->FixedRows();
    m_grid->DrawCell(*painter, col, row, option.rect, m_grid->CellState(col, row));
}

bool SortGridDelegate::eventFilter(QObject* editor, QEvent* event) {
    const bool isReturn = event->type() == QEvent::KeyPress &&
                          (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (isReturn) m_grid->editorReturnPressed();
    return QStyledItemDelegate::eventFilter(editor, event);
}

} // namespace brx
