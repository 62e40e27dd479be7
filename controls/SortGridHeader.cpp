#include "SortGridHeader.h"

#include "TSortGrid.h"

#include <QMouseEvent>
#include <QPainter>

#include <numeric>

namespace brx {

SortGridHeader::SortGridHeader(TSortGrid* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setMinimumSectionSize(0);
    connect(this, &QHeaderView::sectionResized, this, [this] {
        if (m_pressed) m_interacted = true;
    });
    connect(this, &QHeaderView::sectionMoved, this, &SortGridHeader::sectionMovedByUser);
}

int SortGridHeader::fixedRowHeight(int row) const {
    return row >= 0 && row < static_cast<int>(m_heights.size()) ? m_heights[row] : 0;
}

void SortGridHeader::setFixedRowHeight(int row, int height) {
    if (row < 0 || row >= static_cast<int>(m_heights.size())) return;
    m_heights[row] = height;
    updateGeometry();
    viewport()->update();
}

void SortGridHeader::setFixedRowCount(int count, int defaultHeight) {
    m_heights.resize(count, defaultHeight);
    updateGeometry();
    viewport()->update();
}

int SortGridHeader::totalHeight() const {
    return std::accumulate(m_heights.begin(), m_heights.end(), 0);
}

int SortGridHeader::fixedRowAt(int y) const {
    int top = 0;
    for (int row = 0; row < static_cast<int>(m_heights.size()); ++row) {
        top += m_heights[row];
        if (y < top) return row;
    }
    return -1;
}

QSize SortGridHeader::sizeHint() const {
    QSize hint = QHeaderView::sizeHint();
    hint.setHeight(totalHeight());
    return hint;
}

void SortGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    int top = rect.top();
    for (int row = 0; row < static_cast<int>(m_heights.size()); ++row) {
        const QRect cell(rect.left(), top, rect.width(), m_heights[row]);
        m_grid->DrawCell(*painter, logicalIndex, row, cell, m_grid->CellState(logicalIndex, row));
        top += m_heights[row];
    }
}

// A press within the grip margin of a section edge starts a resize.
bool SortGridHeader::onSectionHandle(int x) const {
    if (sectionResizeMode(0) != QHeaderView::Interactive) return false;
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int left = logicalIndexAt(x - margin);
    const int right = logicalIndexAt(x + margin);
    return left != right;
}

void SortGridHeader::mousePressEvent(QMouseEvent* event) {
    if (m_grid->focusPolicy() & Qt::ClickFocus) m_grid->setFocus(Qt::MouseFocusReason);
    m_pressed = true;
    m_interacted = onSectionHandle(event->position().toPoint().x());
    QHeaderView::mousePressEvent(event);
}

void SortGridHeader::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool normal = m_pressed && !m_interacted;
    m_pressed = false;
    m_grid->headerMouseReleased(event, logicalIndexAt(at.x()), fixedRowAt(at.y()), normal);
    QHeaderView::mouseReleaseEvent(event);
}

// The grid moves the data of a dragged column; the header's visual order
// stays the identity.
void SortGridHeader::sectionMovedByUser(int, int oldVisualIndex, int newVisualIndex) {
    if (m_undoingMove) return;
    m_interacted = true;
    m_undoingMove = true;
    moveSection(newVisualIndex, oldVisualIndex);
    m_undoingMove = false;
    m_grid->MoveColumn(oldVisualIndex, newVisualIndex);
}

} // namespace brx
