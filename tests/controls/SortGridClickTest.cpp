// Which mouse clicks on a TSortGrid sort it, and in which direction.

#include "SortGridTestUtil.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

using namespace brx;
using namespace gridtest;

class SortGridClickTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonDecidesTheDirection();
    void modifierKeysPreventTheSort();
    void clicksOutsideTheFixedRowDoNotSort();
    void resizingAColumnDoesNotSort();
    void sortOnClickOffOrNoFocusDoesNotSort();
    void onClickSortMayChangeTheOptions();

private:
    QPoint headerCell(int col) const;
    void click(Qt::MouseButton button, int col, Qt::KeyboardModifiers mods = {});
    void refill();

    TSortGrid* m_grid = nullptr;
    int m_clickSorts = 0;
};

void SortGridClickTest::init() {
    m_grid = new TSortGrid;
    m_grid->SetOptions(m_grid->Options() | goColSizing);
    refill();
    m_grid->resize(400, 200);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid));
    m_grid->activateWindow();
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->HasFocus());
    m_clickSorts = 0;
    m_grid->OnClickSort = [this](TSortGrid*, int, int, TSortOptions&) { ++m_clickSorts; };
}

void SortGridClickTest::cleanup() {
    delete m_grid;
    m_grid = nullptr;
}

void SortGridClickTest::refill() {
    fill(*m_grid, {{"name", "size"}, {"b", "20"}, {"c", "3"}, {"a", "100"}});
}

QPoint SortGridClickTest::headerCell(int col) const {
    const QHeaderView* header = m_grid->horizontalHeader();
    return {header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
            header->height() / 2};
}

void SortGridClickTest::click(Qt::MouseButton button, int col, Qt::KeyboardModifiers mods) {
    QTest::mouseClick(m_grid->FixedRowsWidget(), button, mods, headerCell(col));
}

void SortGridClickTest::buttonDecidesTheDirection() {
    click(Qt::LeftButton, 1);
    QCOMPARE(column(*m_grid, 1), (QStringList{"3", "20", "100"}));
    QCOMPARE(m_grid->SortDirection(), sdAscending);
    QCOMPARE(m_grid->SortColumn(), 1);

    click(Qt::RightButton, 1);
    QCOMPARE(column(*m_grid, 1), (QStringList{"100", "20", "3"}));
    QCOMPARE(m_grid->SortDirection(), sdDescending);

    click(Qt::MiddleButton, 0);
    QCOMPARE(column(*m_grid, 0), (QStringList{"a", "b", "c"}));
    QCOMPARE(m_grid->SortDirection(), sdAscending);
    QCOMPARE(m_clickSorts, 3);
}

void SortGridClickTest::modifierKeysPreventTheSort() {
    for (Qt::KeyboardModifier mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        click(Qt::LeftButton, 1, mod);
        QCOMPARE(column(*m_grid, 1), (QStringList{"20", "3", "100"}));
    }
    QCOMPARE(m_clickSorts, 0);
    QVERIFY(!m_grid->IsSorted());
}

void SortGridClickTest::clicksOutsideTheFixedRowDoNotSort() {
    const QRect cell = m_grid->visualRect(m_grid->model()->index(0, 1));
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, cell.center());
    QCOMPARE(column(*m_grid, 1), (QStringList{"20", "3", "100"}));
    QCOMPARE(m_clickSorts, 0);

    m_grid->SetFixedRows(0);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                      m_grid->visualRect(m_grid->model()->index(0, 1)).center());
    QCOMPARE(m_clickSorts, 0);
}

void SortGridClickTest::resizingAColumnDoesNotSort() {
    QWidget* header = m_grid->FixedRowsWidget();
    const int edge =
        m_grid->horizontalHeader()->sectionViewportPosition(1) - 1; // right edge of column 0
    const int y = header->height() / 2;
    const int before = m_grid->ColWidths(0);
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(edge, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(edge + 30, y),
                     header->mapToGlobal(QPointF(edge + 30, y)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(header, &move);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(edge + 30, y));
    QVERIFY(m_grid->ColWidths(0) > before);
    QCOMPARE(m_clickSorts, 0);
    QCOMPARE(column(*m_grid, 0), (QStringList{"b", "c", "a"}));

    click(Qt::LeftButton, 0); // the next plain click sorts again
    QCOMPARE(m_clickSorts, 1);
}

void SortGridClickTest::sortOnClickOffOrNoFocusDoesNotSort() {
    m_grid->SetSortOnClick(false);
    click(Qt::LeftButton, 1);
    QCOMPARE(m_clickSorts, 0);
    m_grid->SetSortOnClick(true);

    // The grid takes the focus on the press; a grid that refuses it never sorts.
    m_grid->clearFocus();
    m_grid->setFocusPolicy(Qt::NoFocus);
    QTRY_VERIFY(!m_grid->HasFocus());
    click(Qt::LeftButton, 1);
    QCOMPARE(m_clickSorts, 0);
    QCOMPARE(column(*m_grid, 1), (QStringList{"20", "3", "100"}));
}

void SortGridClickTest::onClickSortMayChangeTheOptions() {
    // The archive listing's handler: flips its own direction on every click.
    TSortDirection direction = sdAscending;
    QList<int> rows;
    m_grid->OnClickSort = [&](TSortGrid*, int, int row, TSortOptions& sortOptions) {
        direction = direction == sdAscending ? sdDescending : sdAscending;
        sortOptions.SortDirection = direction;
        rows << row;
    };
    click(Qt::LeftButton, 0);
    QCOMPARE(column(*m_grid, 0), (QStringList{"c", "b", "a"}));
    click(Qt::LeftButton, 0);
    QCOMPARE(column(*m_grid, 0), (QStringList{"a", "b", "c"}));
    QCOMPARE(rows, (QList<int>{0, 0}));
}

QTEST_MAIN(SortGridClickTest)
#include "SortGridClickTest.moc"
