// Row and column editing of TSortGrid, the extended keys, search, text
// files and cell validation.

#include "SortGridTestUtil.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace brx;
using namespace gridtest;

class SortGridEditTest : public QObject {
    Q_OBJECT
private slots:
    void insertAndDeleteRowsFireTheirEvents();
    void rangesAreChecked();
    void swapAndMove();
    void deletingRowsLowersTheFooter();
    void extendedKeys();
    void findTextIgnoresCase();
    void textFileRoundTrip();
    void loadingAMissingFileThrowsAndKeepsTheGrid();
    void validationRejectsOrReplacesTheEditedText();
};

void SortGridEditTest::insertAndDeleteRowsFireTheirEvents() {
    TSortGrid grid;
    QAbstractItemModelTester tester(grid.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    fill(grid, {{"h"}, {"a"}, {"b"}, {"c"}, {"d"}, {"e"}});
    QStringList events;
    grid.OnRowInsert = [&](TSortGrid*, int index) {
        events << QStringLiteral("insert %1").arg(index);
    };
    grid.OnRowDelete = [&](TSortGrid*, int index) {
        events << QStringLiteral("delete %1").arg(index);
    };
    grid.OnSizeChanged = [&](TSortGrid*, int, int oldRows) {
        events << QStringLiteral("size %1").arg(oldRows);
    };

    grid.SortRows(0, options());
    QVERIFY(grid.InsertRows(2, 2));
    QVERIFY(!grid.IsSorted());
    QCOMPARE(column(grid, 0), (QStringList{"a", "", "", "b", "c", "d", "e"}));
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(events, (QStringList{"size 6", "insert 2", "size 7", "insert 2"}));

    events.clear();
    QVERIFY(grid.RemoveRows(2, 4));
    QCOMPARE(events,
             (QStringList{"size 8", "delete 4", "size 7", "delete 3", "size 6", "delete 2"}));
    QCOMPARE(column(grid, 0), (QStringList{"a", "c", "d", "e"}));

    QStringList columnEvents;
    grid.OnColumnInsert = [&](TSortGrid*, int index) {
        columnEvents << QStringLiteral("insert %1").arg(index);
    };
    grid.OnColumnDelete = [&](TSortGrid*, int index) {
        columnEvents << QStringLiteral("delete %1").arg(index);
    };
    grid.InsertColumn(0);
    QCOMPARE(grid.ColCount(), 2);
    QCOMPARE(grid.Cells(0, 1), QString());
    QCOMPARE(grid.Cells(1, 1), QStringLiteral("a"));
    grid.DeleteColumn(0);
    QCOMPARE(columnEvents, (QStringList{"insert 0", "delete 0"}));
    QCOMPARE(grid.Cells(0, 1), QStringLiteral("a"));
}

void SortGridEditTest::rangesAreChecked() {
    TSortGrid grid;
    fill(grid, {{"0", "1", "2", "3", "4"}, {"a", "b", "c", "d", "e"}, {"f", "g", "h", "i", "j"}});
    QVERIFY(!grid.ClearRows(2, 1));
    QVERIFY(!grid.ClearRows(0, 3));
    QVERIFY(!grid.RemoveColumns(-1, 0));
    QVERIFY(!grid.InsertRows(3, 1));
    QVERIFY(!grid.InsertColumns(5, 1));
    QCOMPARE(grid.RowCount(), 3);
    QCOMPARE(grid.ColCount(), 5);

    QVERIFY(grid.ClearColumns(1, 3));
    QCOMPARE(grid.Rows(1), (QStringList{"a", "", "", "", "e"}));
    QCOMPARE(grid.Rows(0), (QStringList{"0", "", "", "", "4"}));

    grid.SortRows(0, options(skAutomatic, sdDescending));
    QVERIFY(grid.IsSorted());
    QVERIFY(grid.ClearRows(1, 1));
    QVERIFY(!grid.IsSorted());
    QCOMPARE(grid.SortDirection(), sdAscending);
    QCOMPARE(grid.Rows(1), (QStringList{"", "", "", "", ""}));
    QCOMPARE(grid.Cells(0, 0), QStringLiteral("0"));
}

void SortGridEditTest::swapAndMove() {
    TSortGrid grid;
    fill(grid, {{"h", "x"}, {"1", "p"}, {"2", "q"}, {"3", "r"}});
    grid.SwapRows(1, 3);
    QCOMPARE(column(grid, 0), (QStringList{"3", "2", "1"}));
    grid.SwapRows(3, 1);
    QCOMPARE(column(grid, 0), (QStringList{"1", "2", "3"}));

    grid.SetColWidths(0, 40);
    grid.SetColWidths(1, 90);
    grid.SwapColumns(0, 1);
    QCOMPARE(grid.Rows(1), (QStringList{"p", "1"}));
    QCOMPARE(grid.ColWidths(0), 90);

    grid.MoveTo(0, 1);
    grid.MoveRow(1, 3);
    QCOMPARE(column(grid, 1), (QStringList{"2", "3", "1"}));
    QCOMPARE(grid.Row(), 3); // the current row went with it
}

void SortGridEditTest::deletingRowsLowersTheFooter() {
    TSortGrid grid;
    fill(grid, {{"h"}, {"a"}, {"b"}, {"c"}});
    grid.SetFooterRows(3);
    QCOMPARE(grid.ExcludedRows(), 3);
    grid.DeleteRow(1);
    QCOMPARE(grid.FooterRows(), 2);
    QCOMPARE(grid.ExcludedRows(), 2);
}

void SortGridEditTest::extendedKeys() {
    TSortGrid grid;
    fill(grid, {{"h", "h2"}, {"a", "b"}});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.MoveTo(0, 1);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(grid.RowCount(), 2); // keys are off

    grid.SetExtendedKeys(true);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid.RowCount(), 2); // the only data row stays
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(column(grid, 0), (QStringList{"", "a"}));
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(column(grid, 0), (QStringList{"a"}));

    grid.MoveTo(1, 1);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(grid.Rows(1), (QStringList{"a", "", "b"}));
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(grid.Rows(1), (QStringList{"a", "b"}));
    grid.DeleteColumn(1);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(grid.ColCount(), 1); // the last column stays
}

void SortGridEditTest::findTextIgnoresCase() {
    TSortGrid grid;
    fill(grid, {{"Nom", "Type"}, {"zeta", ".TXT"}, {"Alpha", ".txt"}});
    int col = -1;
    int row = -1;
    QVERIFY(grid.FindText(QStringLiteral(".txt"), col, row));
    QCOMPARE(col, 1);
    QCOMPARE(row, 1);
    QVERIFY(grid.FindText(QStringLiteral("ALPHA"), col, row));
    QCOMPARE(col, 0);
    QCOMPARE(row, 2);
    QVERIFY(!grid.FindText(QStringLiteral("alph"), col, row));
}

void SortGridEditTest::textFileRoundTrip() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.txt"));
    QFile source(path);
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("Nom;Taille\r\na;b;\n\nété;1;2;3\n");
    source.close();

    TSortGrid grid;
    grid.SetFixedCols(0);
    grid.LoadFromFile(path, QLatin1Char(';'));
    QCOMPARE(grid.RowCount(), 4);
    QCOMPARE(grid.ColCount(), 4);
    QCOMPARE(grid.Rows(1), (QStringList{"a", "b", "", ""}));
    QCOMPARE(grid.Rows(2), (QStringList{"", "", "", ""}));
    QCOMPARE(grid.Rows(3), (QStringList{"été", "1", "2", "3"}));

    grid.SetColCount(3);
    grid.SaveToFile(path, QLatin1Char(';'));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), QByteArray("Nom;Taille;\na;b;\n;;\nété;1;2\n"));
    source.close();

    TSortGrid again;
    again.SetFixedCols(0);
    again.LoadFromFile(path, QLatin1Char(';'));
    for (int row = 0; row < grid.RowCount(); ++row) QCOMPARE(again.Rows(row), grid.Rows(row));
}

void SortGridEditTest::loadingAMissingFileThrowsAndKeepsTheGrid() {
    TSortGrid grid;
    fill(grid, {{"h"}, {"a"}});
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        grid.LoadFromFile(QStringLiteral("/nonexistent/grid.txt"), QLatin1Char(';')));
    QCOMPARE(grid.Cells(0, 1), QStringLiteral("a"));
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        grid.SaveToFile(QStringLiteral("/nonexistent/grid.txt"), QLatin1Char(';')));
}

// Edits the current cell with the in-place editor and leaves it with Enter.
static void editCurrentCell(TSortGrid& grid, const QString& text) {
    QTest::keyClick(&grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid.EditorMode());
}

void SortGridEditTest::validationRejectsOrReplacesTheEditedText() {
    TSortGrid grid;
    fill(grid, {{"h", "h2"}, {"old", "x"}, {"y", "z"}});
    grid.SetOptions(grid.Options() | goEditing);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.activateWindow();
    grid.setFocus();
    QTRY_VERIFY(grid.HasFocus());
    grid.MoveTo(0, 1);
    grid.RememberCell();

    QStringList seen;
    grid.OnCellValidate = [&](TSortGrid*, int col, int row, QString& value, bool& valid) {
        seen << QStringLiteral("%1,%2=%3").arg(col).arg(row).arg(value);
        valid = false;
    };
    editCurrentCell(grid, QStringLiteral("new"));
    QCOMPARE(seen, (QStringList{"0,1=new"}));
    QCOMPARE(grid.Cells(0, 1), QStringLiteral("old"));
    QVERIFY(!grid.Modified());

    grid.OnCellValidate = [&](TSortGrid*, int, int, QString& value, bool& valid) {
        value = value.toUpper();
        valid = true;
    };
    editCurrentCell(grid, QStringLiteral("fine"));
    QCOMPARE(grid.Cells(0, 1), QStringLiteral("FINE"));
    QVERIFY(grid.Modified());

    // Nothing edited: the handler is not called on Enter.
    seen.clear();
    grid.OnCellValidate = [&](TSortGrid*, int, int, QString& value, bool&) { seen << value; };
    QTest::keyClick(&grid, Qt::Key_Return);
    QVERIFY(seen.isEmpty());
    grid.Clear();
    QVERIFY(!grid.Modified());
}

QTEST_MAIN(SortGridEditTest)
#include "SortGridEditTest.moc"
