// The engine's password dialog: what OK, Cancel and closing give back.

#include "gui/PasswordDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using brx::TPasswordDlg;

class PasswordDlgTest : public QObject {
    Q_OBJECT

private:
    // Runs action once the dialog is shown modally.
    static QString showAndDo(TPasswordDlg& dlg, const std::function<void()>& action) {
        QTimer::singleShot(0, &dlg, action);
        return dlg.ShowPasswordDlg(QStringLiteral("Mot de Passe"),
                                   QStringLiteral("Entrer votre mot de passe "));
    }

private slots:
    void okReturnsTheTypedTextUpToEightyCharacters() {
        TPasswordDlg dlg;
        const QString text = showAndDo(dlg, [&] {
            QTest::keyClicks(dlg.passwordEdit(), QString(81, 'z'));
            dlg.okButton()->click();
        });
        QCOMPARE(text, QString(80, 'z'));
        QVERIFY(dlg.confirmed());
        QCOMPARE(dlg.passwordEdit()->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.okButton()->text(), QStringLiteral("&Ok"));
        QCOMPARE(dlg.cancelButton()->text(), QStringLiteral("&Annuler"));
        QCOMPARE(dlg.size(), QSize(344, 137));
    }

    void cancelAndEscapeReturnNothing() {
        TPasswordDlg dlg;
        QString text = showAndDo(dlg, [&] {
            QTest::keyClicks(dlg.passwordEdit(), QStringLiteral("abc"));
            dlg.cancelButton()->click();
        });
        QVERIFY(text.isEmpty());
        QVERIFY(!dlg.confirmed());

        text = showAndDo(dlg, [&] {
            QTest::keyClicks(dlg.passwordEdit(), QStringLiteral("abc"));
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        QVERIFY(text.isEmpty());
        QVERIFY(!dlg.confirmed());
    }
};

QTEST_MAIN(PasswordDlgTest)
#include "PasswordDlgTest.moc"
