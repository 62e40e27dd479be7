// TComboBox98's completion with typed keys: the first matching item from
// the top, the user's case kept, the added part selected, nothing after
// Backspace or Delete, the minimum length and OnComplete's say.

#include "controls/TComboBox98.h"

#include <QLineEdit>
#include <QTest>

using namespace brx;

namespace {

struct Box {
    TComboBox98 combo;
    explicit Box(const QStringList& items) {
        combo.addItems(items);
        combo.setEditText(QString());
        combo.show();
        combo.activateWindow();
        combo.setFocus();
    }
    QLineEdit* edit() const { return combo.lineEdit(); }
};

} // namespace

class ComboBox98Test : public QObject {
    Q_OBJECT
private slots:
    void completesTypedDriveKeepingTheUsersCase() {
        Box box(
            {QStringLiteral("D:\\"), QStringLiteral("C:\\Sauve\\"), QStringLiteral("c:\\autre\\")});
        QVERIFY(QTest::qWaitForWindowActive(&box.combo));
        QTest::keyClicks(box.edit(), QStringLiteral("c:"));
        QCOMPARE(box.edit()->text(), QStringLiteral("c:\\Sauve\\"));
        QCOMPARE(box.edit()->selectedText(), QStringLiteral("\\Sauve\\"));
        QCOMPARE(box.edit()->selectionStart(), 2);

        // Backspace removes the completion and completes nothing.
        QTest::keyClick(box.edit(), Qt::Key_Backspace);
        QCOMPARE(box.edit()->text(), QStringLiteral("c:"));
        QVERIFY(!box.edit()->hasSelectedText());
        QCOMPARE(box.combo.LastKey(), int(Qt::Key_Backspace));

        // Typing over the selection goes on completing.
        QTest::keyClicks(box.edit(), QStringLiteral("\\a"));
        QCOMPARE(box.edit()->text(), QStringLiteral("c:\\autre\\"));
        QCOMPARE(box.edit()->selectedText(), QStringLiteral("utre\\"));
    }

    void deleteCompletesNothing() {
        Box box({QStringLiteral("Dossier TEMP utilisateur")});
        QVERIFY(QTest::qWaitForWindowActive(&box.combo));
        QTest::keyClicks(box.edit(), QStringLiteral("dos"));
        QCOMPARE(box.edit()->text(), QStringLiteral("dossier TEMP utilisateur"));
        QTest::keyClick(box.edit(), Qt::Key_Home);
        QTest::keyClick(box.edit(), Qt::Key_Delete);
        QCOMPARE(box.edit()->text(), QStringLiteral("ossier TEMP utilisateur"));
        QVERIFY(!box.edit()->hasSelectedText());
    }

    void minLengthComplete() {
        Box box({QStringLiteral("Installation de mon programme")});
        box.combo.SetMinLengthComplete(3);
        QVERIFY(QTest::qWaitForWindowActive(&box.combo));
        QTest::keyClicks(box.edit(), QStringLiteral("In"));
        QCOMPARE(box.edit()->text(), QStringLiteral("In"));
        QTest::keyClicks(box.edit(), QStringLiteral("s"));
        QCOMPARE(box.edit()->text(), QStringLiteral("Installation de mon programme"));
        QCOMPARE(box.edit()->selectedText(), QStringLiteral("tallation de mon programme"));
    }

    void completeOffOrNoMatchLeavesTheText() {
        Box box({QStringLiteral("C:\\Sauve\\")});
        QVERIFY(QTest::qWaitForWindowActive(&box.combo));
        QTest::keyClicks(box.edit(), QStringLiteral("x"));
        QCOMPARE(box.edit()->text(), QStringLiteral("x"));
        box.edit()->clear();
        box.combo.SetComplete(false);
        QTest::keyClicks(box.edit(), QStringLiteral("c"));
        QCOMPARE(box.edit()->text(), QStringLiteral("c"));
    }

    void onCompleteMayChangeOrRefuse() {
        Box box({QStringLiteral("C:\\Sauve\\"), QStringLiteral("C:\\Projets\\")});
        QList<int> keys;
        box.combo.OnComplete = [&keys](TComboBox98*, int key, bool& accept, QString& completion) {
            keys << key;
            if (completion.contains(QStringLiteral("Sauve")))
                completion = QStringLiteral(":\\Autre");
            else
                accept = false;
        };
        QVERIFY(QTest::qWaitForWindowActive(&box.combo));
        QTest::keyClicks(box.edit(), QStringLiteral("c"));
        QCOMPARE(box.edit()->text(), QStringLiteral("c:\\Autre"));
        QCOMPARE(box.edit()->selectedText(), QStringLiteral(":\\Autre"));
        QCOMPARE(keys, QList<int>{Qt::Key_C});

        // Only the first matching item is offered, and here it is refused.
        box.combo.setItemText(0, QStringLiteral("C:\\Projets\\"));
        box.combo.setItemText(1, QStringLiteral("C:\\Sauve\\"));
        box.edit()->clear();
        QTest::keyClicks(box.edit(), QStringLiteral("C"));
        QCOMPARE(box.edit()->text(), QStringLiteral("C"));
        QCOMPARE(keys.size(), 2);
    }

    void textSetFromCodeIsNotCompleted() {
        Box box({QStringLiteral("C:\\Sauve\\")});
        box.combo.setEditText(QStringLiteral("c"));
        QCOMPARE(box.edit()->text(), QStringLiteral("c"));
    }
};

QTEST_MAIN(ComboBox98Test)
#include "ComboBox98Test.moc"
