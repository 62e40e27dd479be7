#pragma once
// The horizontal header of a TSortGrid: it draws the grid's fixed rows
// (through TSortGrid::DrawCell) and reports header clicks to the grid with
// whether the press was a plain click or a column resize or move.

#include <QHeaderView>

#include <vector>

namespace brx {

class TSortGrid;

class SortGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SortGridHeader(TSortGrid* grid);

    int fixedRowHeight(int row) const;
    void setFixedRowHeight(int row, int height);
    void setFixedRowCount(int count, int defaultHeight);
    // Fixed row under a y position of this widget.
    int fixedRowAt(int y) const;
    int totalHeight() const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool onSectionHandle(int x) const;
    void sectionMovedByUser(int logicalIndex, int oldVisualIndex, int newVisualIndex);

    TSortGrid* m_grid;
    std::vector<int> m_heights;
    bool m_pressed = false;
    bool m_interacted = false;
    bool m_undoingMove = false;
};

} // namespace brx
