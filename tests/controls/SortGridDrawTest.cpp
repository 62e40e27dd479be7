// What TSortGrid draws and measures: sort symbols, cell formats from
// OnGetCellFormat, automatic column widths.

#include "SortGridTestUtil.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QTest>

using namespace brx;
using namespace gridtest;

class SortGridDrawTest : public QObject {
    Q_OBJECT
private slots:
    void symbolFollowsDirectionAndKind();
    void customSymbolsUseTheirTopLeftColourAsTransparent();
    void autoSizeMeasuresEachCellInItsFormat();
    void formatReachesTheScreen();
};

static QImage builtIn(const char* name) {
    return QImage(QStringLiteral(":/sortgrid/%1.png").arg(QLatin1String(name)));
}

void SortGridDrawTest::symbolFollowsDirectionAndKind() {
    TSortGrid grid;
    QVERIFY(grid.SymbolBitmap().isNull());
    grid.SetSortSymbol(sgArrow);
    QCOMPARE(grid.SymbolBitmap().size(), QSize(8, 7));
    const QImage up = grid.SymbolBitmap();
    grid.SetSortDirection(sdDescending);
    const QImage down = grid.SymbolBitmap();
    QVERIFY(up != down);
    // Aqua turned transparent; other pixels as drawn.
    QCOMPARE(qAlpha(down.pixel(0, 0)), 255);
    QCOMPARE(qAlpha(down.pixel(0, 3)), 0);
    QCOMPARE(down.pixelColor(3, 6).rgb(), builtIn("SORTDN").pixelColor(3, 6).rgb());

    grid.SetSortSymbol(sgGlyph);
    QCOMPARE(grid.SymbolBitmap().size(), QSize(16, 16));
    QCOMPARE(grid.SymbolBitmap().pixelColor(3, 9).rgb(), builtIn("SORTZA").pixelColor(3, 9).rgb());
    grid.SetSortDirection(sdAscending);
    QCOMPARE(grid.SymbolBitmap().pixelColor(3, 9).rgb(), builtIn("SORTAZ").pixelColor(3, 9).rgb());

    grid.SetSortSymbol(sgNone);
    QVERIFY(grid.SymbolBitmap().isNull());
}

void SortGridDrawTest::customSymbolsUseTheirTopLeftColourAsTransparent() {
    TSortGrid grid;
    QImage ascending(4, 4, QImage::Format_RGB32);
    ascending.fill(Qt::magenta);
    ascending.setPixelColor(2, 2, Qt::blue);
    grid.SetSortBitMapA(ascending);
    ascending.fill(Qt::green); // the grid keeps its own copy
    grid.SetSortSymbol(sgCustom);
    const QImage symbol = grid.SymbolBitmap();
    QCOMPARE(qAlpha(symbol.pixel(0, 0)), 0);
    QCOMPARE(symbol.pixelColor(2, 2), QColor(Qt::blue));
    grid.SetSortDirection(sdDescending);
    QVERIFY(grid.SymbolBitmap().isNull()); // no descending picture given
}

void SortGridDrawTest::autoSizeMeasuresEachCellInItsFormat() {
    TSortGrid grid;
    fill(grid, {{"Nom"}, {"un texte assez long"}, {"court"}, {"Total"}});
    grid.AutoSizeCol(0);
    const QFontMetrics plain(grid.font());
    QCOMPARE(grid.ColWidths(0), plain.horizontalAdvance(QStringLiteral("un texte assez long")) +
                                    plain.horizontalAdvance(QLatin1Char('x')));

    // A big font set for row 1 stays on the canvas for the rows below it.
    QList<int> measured;
    grid.OnGetCellFormat = [&](TSortGrid*, int, int row, TGridDrawState, TFormatOptions& format) {
        measured << row;
        if (row == 1) format.Font.setPixelSize(40);
    };
    grid.AutoSizeCol(0);
    QCOMPARE(measured, (QList<int>{0, 1, 2, 3}));
    QFont big = grid.font();
    big.setPixelSize(40);
    const QFontMetrics bigMetrics(big);
    QCOMPARE(grid.ColWidths(0),
             bigMetrics.horizontalAdvance(QStringLiteral("un texte assez long")) +
                 bigMetrics.horizontalAdvance(QLatin1Char('x')));

    grid.OnGetCellFormat = nullptr;
    grid.SetColCount(2);
    grid.SetFixedCols(1);
    grid.SetCells(1, 1, QStringLiteral("mot"));
    grid.AutoSizeColumns(false, 5);
    QCOMPARE(grid.ColWidths(1), plain.horizontalAdvance(QStringLiteral("mot")) +
                                    plain.horizontalAdvance(QLatin1Char('x')) + 5);
    QCOMPARE(grid.ColWidths(0),
             bigMetrics.horizontalAdvance(QStringLiteral("un texte assez long")) +
                 bigMetrics.horizontalAdvance(QLatin1Char('x'))); // fixed column untouched
}

static int countPixels(const QImage& image, const QRect& area,
                       const std::function<bool(QColor)>& match) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixelColor(x, y))) ++count;
    return count;
}

void SortGridDrawTest::formatReachesTheScreen() {
    TSortGrid grid;
    fill(grid, {{"Fichier", "Taille"}, {"b", "20"}, {"a", "3"}, {"Total", "23"}});
    grid.SetFooterRows(1);
    grid.SetSortSymbol(sgArrow);
    grid.OnGetCellFormat = [](TSortGrid* sender, int, int row, TGridDrawState,
                              TFormatOptions& format) {
        if (row == sender->RowCount() - 1) {
            format.Font.setBold(true);
            format.Font.Color = Qt::red;
            format.Brush = QBrush(Qt::white);
        }
    };
    grid.SortRows(1, options(skAutomatic, sdDescending));
    grid.resize(300, 150);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QImage shot = grid.grab().toImage();

    const QRect lastRow =
        grid.visualRect(grid.model()->index(2, 0)).translated(grid.viewport()->pos());
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    QVERIFY(countPixels(shot, lastRow, red) > 5);
    const QRect firstRow =
        grid.visualRect(grid.model()->index(0, 0)).translated(grid.viewport()->pos());
    QCOMPARE(countPixels(shot, firstRow, red), 0);

    // The descending arrow's silver body sits right of the header text.
    const QHeaderView* header = grid.horizontalHeader();
    const QRect headerCell(header->pos().x() + header->sectionViewportPosition(1),
                           header->pos().y(), header->sectionSize(1), header->height());
    const auto silver = [](QColor c) { return c == QColor(192, 192, 192); };
    QVERIFY(countPixels(shot, headerCell, silver) >= 4);
    grid.SetSortSymbol(sgNone);
    QCOMPARE(countPixels(grid.grab().toImage(), headerCell, silver), 0);

    // The owner draws its own mark on the title cell through Canvas().
    grid.OnDrawCell = [](TSortGrid* sender, int col, int row, const QRect& rect, TGridDrawState) {
        if (row == 0 && col == 1)
            sender->Canvas()->fillRect(rect.right() - 18, rect.top() + 1, 4, 4, Qt::green);
    };
    grid.update();
    const auto green = [](QColor c) { return c == QColor(Qt::green); };
    QCOMPARE(countPixels(grid.grab().toImage(), headerCell, green), 16);
}

QTEST_MAIN(SortGridDrawTest)
#include "SortGridDrawTest.moc"
