// Sorting of TSortGrid: kind detection, order, stability, footer rows, the
// current row, events and undo.

#include "SortGridTestUtil.h"

#include <QTest>

using namespace brx;
using namespace gridtest;

class SortGridSortTest : public QObject {
    Q_OBJECT
private slots:
    void numbersSortAsNumbersUntilOneCellIsNot();
    void localeDecidesNumbersDatesAndTimes();
    void equalKeysKeepTheirOrderInBothDirections();
    void caseSensitiveSortOrdersByCollation();
    void footerRowStaysLast();
    void currentRowFollowsItsRow();
    void tooFewRowsOrAnOpenEditorDoNotSort();
    void eventsSeeTheDetectedKindAndMayDropTheLastRow();
    void undoRestoresThePreviousOrder();
    void undoIsLostWhenTheRowCountChanges();
    void customAndNonConvertingKeys();
};

void SortGridSortTest::numbersSortAsNumbersUntilOneCellIsNot() {
    TSortGrid grid;
    fill(grid, {{"n"}, {"10"}, {"9"}, {"100"}});
    QCOMPARE(grid.DetectSortKind(0), skNumeric);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"9", "10", "100"}));
    QVERIFY(grid.IsSorted());
    QCOMPARE(grid.SortColumn(), 0);

    fill(grid, {{"n"}, {"10"}, {"9"}, {"100"}, {"x"}});
    QCOMPARE(grid.DetectSortKind(0), skText);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"10", "100", "9", "x"}));

    fill(grid, {{"n"}, {"10"}, {""}, {"9"}, {"100"}});
    QCOMPARE(grid.DetectSortKind(0), skText);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"", "10", "100", "9"}));
}

void SortGridSortTest::localeDecidesNumbersDatesAndTimes() {
    TSortGrid grid;
    grid.setLocale(QLocale(QLocale::French, QLocale::France));
    fill(grid, {{"n"}, {"1,5"}, {"-2"}, {"10,25"}});
    QCOMPARE(grid.DetectSortKind(0), skNumeric);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"-2", "1,5", "10,25"}));

    grid.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(grid.DetectSortKind(0), skText);

    // French short dates with a time, as the archive listing shows them.
    grid.setLocale(QLocale(QLocale::French, QLocale::France));
    fill(grid, {{"d"}, {"02/01/2027  08:00"}, {"03/12/2026  09:15"}, {"03/12/2026  07:05"}});
    QCOMPARE(grid.DetectSortKind(0), skDateTime);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0),
             (QStringList{"03/12/2026  07:05", "03/12/2026  09:15", "02/01/2027  08:00"}));

    grid.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    fill(grid, {{"d"}, {"12/3/26"}, {"1/2/27"}, {"12/1/26"}});
    QCOMPARE(grid.DetectSortKind(0), skDateTime);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"12/1/26", "12/3/26", "1/2/27"}));

    // Times alone also read as date-times; the order is by time, not text.
    fill(grid, {{"t"}, {"10:30"}, {"9:05"}, {"08:00"}});
    QVERIFY(grid.DetectSortKind(0) != skText);
    grid.SortRows(0, options());
    QCOMPARE(column(grid, 0), (QStringList{"08:00", "9:05", "10:30"}));
    grid.SortRows(0, options(skTime, sdDescending));
    QCOMPARE(column(grid, 0), (QStringList{"10:30", "9:05", "08:00"}));
}

void SortGridSortTest::equalKeysKeepTheirOrderInBothDirections() {
    TSortGrid grid;
    fill(grid, {{"k", "id"}, {"abc", "1"}, {"b", "2"}, {"ABC", "3"}, {"Abc", "4"}});
    grid.SortRows(0, options(skAutomatic, sdAscending, false));
    QCOMPARE(column(grid, 1), (QStringList{"1", "3", "4", "2"}));
    fill(grid, {{"k", "id"}, {"abc", "1"}, {"b", "2"}, {"ABC", "3"}, {"Abc", "4"}});
    grid.SortRows(0, options(skAutomatic, sdDescending, false));
    QCOMPARE(column(grid, 1), (QStringList{"2", "1", "3", "4"}));

    fill(grid, {{"k", "id"}, {"5", "a"}, {"7", "b"}, {"5", "c"}, {"7", "d"}, {"5", "e"}});
    grid.SortRows(0, options(skAutomatic, sdDescending));
    QCOMPARE(column(grid, 1), (QStringList{"b", "d", "a", "c", "e"}));
    grid.SortRows(0, options(skAutomatic, sdAscending));
    QCOMPARE(column(grid, 1), (QStringList{"a", "c", "e", "b", "d"}));
}

void SortGridSortTest::caseSensitiveSortOrdersByCollation() {
    TSortGrid grid;
    fill(grid, {{"k"}, {"ABC"}, {"abc"}});
    grid.SortRows(0, options(skText, sdAscending, true));
    const QStringList ascending = column(grid, 0);
    fill(grid, {{"k"}, {"ABC"}, {"abc"}});
    grid.SortRows(0, options(skText, sdDescending, true));
    const QStringList descending = column(grid, 0);
    // Told apart: one direction is the reverse of the other.
    QCOMPARE(descending, (QStringList{ascending[1], ascending[0]}));
}

void SortGridSortTest::footerRowStaysLast() {
    TSortGrid grid;
    fill(grid, {{"n"}, {"3"}, {"1"}, {"2"}, {"0"}});
    grid.SetFooterRows(1);
    QCOMPARE(grid.ExcludedRows(), 1);
    grid.SortRows(0, options(skAutomatic, sdAscending));
    QCOMPARE(column(grid, 0), (QStringList{"1", "2", "3", "0"}));
    grid.SortRows(0, options(skAutomatic, sdDescending));
    QCOMPARE(column(grid, 0), (QStringList{"3", "2", "1", "0"}));

    grid.SetSortFooter(true);
    QCOMPARE(grid.ExcludedRows(), 0);
    grid.SortRows(0, options(skAutomatic, sdAscending));
    QCOMPARE(column(grid, 0), (QStringList{"0", "1", "2", "3"}));

    grid.SetFooterRows(9); // more than the rows below the fixed one: ignored
    QCOMPARE(grid.FooterRows(), 1);
}

void SortGridSortTest::currentRowFollowsItsRow() {
    TSortGrid grid;
    fill(grid, {{"n", "t"}, {"30", "c"}, {"10", "a"}, {"20", "b"}});
    grid.MoveTo(1, 1); // the row holding 30
    grid.SortRows(0, options());
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(grid.Cells(0, grid.Row()), QStringLiteral("30"));
    grid.SortRows(0, options(skAutomatic, sdDescending));
    QCOMPARE(grid.Row(), 1);
}

void SortGridSortTest::tooFewRowsOrAnOpenEditorDoNotSort() {
    TSortGrid grid;
    int events = 0;
    grid.OnBeginSort = [&](TSortGrid*, int, TSortOptions&) { ++events; };
    grid.OnEndSort = [&](TSortGrid*, int) { ++events; };
    fill(grid, {{"n"}, {"2"}});
    grid.SortRows(0, options());
    QCOMPARE(events, 0);
    QVERIFY(!grid.IsSorted());

    fill(grid, {{"n"}, {"2"}, {"1"}});
    grid.SetOptions(grid.Options() | goEditing);
    grid.show();
    grid.MoveTo(0, 1);
    grid.edit(grid.model()->index(0, 0));
    QVERIFY(grid.EditorMode());
    grid.SortRows(0, options());
    QCOMPARE(events, 0);
    QCOMPARE(column(grid, 0), (QStringList{"2", "1"}));
}

void SortGridSortTest::eventsSeeTheDetectedKindAndMayDropTheLastRow() {
    // The archive listing's pattern: the empty last row takes part in the
    // detection, is dropped in OnBeginSort and a totals row comes back after.
    TSortGrid grid;
    fill(grid, {{"size"}, {"100"}, {"9"}, {"25"}, {""}});
    QList<TSortKind> kinds;
    QStringList calls;
    grid.OnBeginSort = [&](TSortGrid* sender, int col, TSortOptions& sortOptions) {
        calls << QStringLiteral("begin %1").arg(col);
        kinds << sortOptions.SortKind;
        sender->SetRowCount(sender->RowCount() - 1);
    };
    grid.OnEndSort = [&](TSortGrid* sender, int col) {
        calls << QStringLiteral("end %1").arg(col);
        sender->SetRowCount(sender->RowCount() + 1);
        sender->SetCells(0, sender->RowCount() - 1, QStringLiteral("134"));
    };
    grid.SortRows(0, options());
    QCOMPARE(calls, (QStringList{"begin 0", "end 0"}));
    QCOMPARE(kinds, (QList<TSortKind>{skText}));
    QCOMPARE(column(grid, 0), (QStringList{"100", "25", "9", "134"}));

    kinds.clear();
    grid.SortRows(0, options()); // now the totals row is a number
    QCOMPARE(kinds, (QList<TSortKind>{skNumeric}));
    QCOMPARE(column(grid, 0), (QStringList{"9", "25", "100", "134"}));
}

void SortGridSortTest::undoRestoresThePreviousOrder() {
    TSortGrid grid;
    fill(grid, {{"n", "t"}, {"b", "2"}, {"c", "3"}, {"a", "1"}, {"b", "4"}, {"Total", "10"}});
    grid.SetFooterRows(1);
    const QStringList before = column(grid, 1);
    grid.MoveTo(0, 3); // "a"
    grid.SortRows(0, options(skAutomatic, sdDescending));
    QCOMPARE(column(grid, 1), (QStringList{"3", "2", "4", "1", "10"}));
    QCOMPARE(grid.Row(), 4);
    QVERIFY(grid.CanUndoSort());
    grid.UndoSort();
    QCOMPARE(column(grid, 1), before);
    QCOMPARE(grid.Row(), 3);
    QVERIFY(!grid.IsSorted());
    QVERIFY(!grid.CanUndoSort());
}

void SortGridSortTest::undoIsLostWhenTheRowCountChanges() {
    TSortGrid grid;
    fill(grid, {{"n"}, {"2"}, {"1"}, {"3"}});
    grid.SortRows(0, options());
    grid.SetCells(0, 1, QStringLiteral("changed")); // texts do not discard the undo
    QVERIFY(grid.CanUndoSort());
    grid.InsertRow(2);
    QVERIFY(!grid.IsSorted());
    QVERIFY(!grid.CanUndoSort());
    const QStringList now = column(grid, 0);
    grid.UndoSort();
    QCOMPARE(column(grid, 0), now);
}

static int byLength(const QString& a, const QString& b) {
    return int(a.size()) - int(b.size());
}

void SortGridSortTest::customAndNonConvertingKeys() {
    TSortGrid grid;
    fill(grid, {{"k"}, {"ccc"}, {"a"}, {"bb"}});
    TSortOptions custom = options(skCustom);
    custom.CompareProc = byLength;
    grid.SortRows(0, custom);
    QCOMPARE(column(grid, 0), (QStringList{"a", "bb", "ccc"}));

    // Numeric chosen by the program on texts that do not convert: no order is
    // promised, but every row stays and nothing breaks.
    fill(grid, {{"k"}, {"5"}, {"x"}, {"1"}, {"y"}, {"3"}, {""}, {"2"}});
    grid.SortRows(0, options(skNumeric));
    QStringList sorted = column(grid, 0);
    sorted.sort();
    QCOMPARE(sorted, (QStringList{"", "1", "2", "3", "5", "x", "y"}));
}

QTEST_MAIN(SortGridSortTest)
#include "SortGridSortTest.moc"
