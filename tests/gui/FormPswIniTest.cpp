// The stored-password dialog driven as a user would: entries typed, "Ok"
// clicked, the settings file read back.

#include "gui/password/TFormPswIni.h"

#include "password/TextCipher.h"
#include "settings/PrivateProfile.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace brx;

class FormPswIniTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    ScriptedUserHost m_host;

    QString iniPath() const { return m_folder.filePath(QStringLiteral("BRX_EXPL.INI")); }
    PrivateProfile ini() const { return PrivateProfile(iniPath()); }
    QString storedValue() const {
        return ini().readString(QStringLiteral("div"), QStringLiteral("dateinstall"),
                                QStringLiteral("<absent>"));
    }

    static QLineEdit* edit(QDialog& dlg, const char* name) {
        auto* found = dlg.findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!found) qFatal("no entry %s", name);
        return found;
    }
    // Types text key by key; characters beyond ASCII arrive as key events that
    // carry only their text, as a compose key or a layout would send them.
    static void typeText(QLineEdit* target, const QString& text) {
        for (const QChar ch : text) {
            if (ch.unicode() < 128)
                QTest::keyClick(target, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }
    static void typeBoth(QDialog& dlg, const QString& first, const QString& second) {
        edit(dlg, "MaskEdit1")->clear();
        edit(dlg, "MaskEdit2")->clear();
        typeText(edit(dlg, "MaskEdit1"), first);
        typeText(edit(dlg, "MaskEdit2"), second);
    }
    static void clickOk(QDialog& dlg) {
        dlg.findChild<QPushButton*>(QStringLiteral("BttnOk"))->click();
    }

private slots:
    void init() {
        QFile::remove(iniPath());
        QFile::remove(m_folder.filePath(QStringLiteral("bramblex.ini")));
        m_host.messages.clear();
    }

    void differentEntriesAreRefusedAndEmptied() {
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.show();
        typeBoth(dlg, QStringLiteral("Secret"), QStringLiteral("secret"));
        clickOk(dlg);
        QCOMPARE(m_host.messages.size(), 1);
        QCOMPARE(m_host.messages.first().text,
                 QStringLiteral("Les deux saisies sont différentes, recommencez."));
        QVERIFY(dlg.isVisible());
        QVERIFY(edit(dlg, "MaskEdit1")->text().isEmpty());
        QVERIFY(edit(dlg, "MaskEdit2")->text().isEmpty());
        QVERIFY(!QFile::exists(iniPath()));
    }

    void oneCharacterIsStoredAsFourDigitsAndReadBack() {
        {
            TFormPswIni dlg(m_host, nullptr, m_folder.path());
            dlg.show();
            typeBoth(dlg, QStringLiteral("x"), QStringLiteral("x"));
            clickOk(dlg);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(!dlg.settingsFile());
        }
        const QString stored = storedValue();
        QCOMPARE(stored.size(), 4);
        QVERIFY(stored.startsWith(QStringLiteral("FA")));
        QCOMPARE(CryptPassword(stored, {}, false), QStringLiteral("x"));

        // Shown again in both entries, masked; "Ok" unchanged writes the same value.
        TFormPswIni again(m_host, nullptr, m_folder.path());
        again.show();
        QCOMPARE(edit(again, "MaskEdit1")->text(), QStringLiteral("x"));
        QCOMPARE(edit(again, "MaskEdit2")->text(), QStringLiteral("x"));
        QCOMPARE(edit(again, "MaskEdit1")->displayText(), QStringLiteral("#"));
        clickOk(again);
        QCOMPARE(storedValue(), stored);
        QVERIFY(m_host.messages.isEmpty());
    }

    void bothEmptyRemovesTheStoredPassword() {
        ini().writeString(QStringLiteral("div"), QStringLiteral("dateinstall"),
                          CryptPassword(QStringLiteral("secret"), {}, true));
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.show();
        QCOMPARE(edit(dlg, "MaskEdit2")->displayText(), QStringLiteral("######"));
        typeBoth(dlg, {}, {});
        clickOk(dlg);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(storedValue(), QString());
    }

    void charactersOutsideLatin1AreRefused_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("named");
        QTest::newRow("euro") << QStringLiteral("prix€") << QStringLiteral("€");
        QTest::newRow("oe") << QStringLiteral("cœur") << QStringLiteral("œ");
    }
    void charactersOutsideLatin1AreRefused() {
        QFETCH(QString, password);
        QFETCH(QString, named);
        ini().writeString(QStringLiteral("div"), QStringLiteral("dateinstall"),
                          CryptPassword(QStringLiteral("ancien"), {}, true));
        const QString before = storedValue();
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.show();
        typeBoth(dlg, password, password);
        clickOk(dlg);
        QVERIFY(dlg.isVisible());
        QCOMPARE(m_host.messages.size(), 1);
        QVERIFY(m_host.messages.first().text.contains(named));
        QCOMPARE(storedValue(), before);
        QVERIFY(edit(dlg, "MaskEdit1")->text().isEmpty());

        // Accented Latin-1 letters are kept exactly.
        typeBoth(dlg, QStringLiteral("été"), QStringLiteral("été"));
        clickOk(dlg);
        QCOMPARE(CryptPassword(storedValue(), {}, false), QStringLiteral("été"));
    }

    void delayDefaultsToTwentyAndIsWrittenBackWhenDimmed() {
        {
            TFormPswIni dlg(m_host, nullptr, m_folder.path());
            auto* upDown = dlg.findChild<QSpinBox*>(QStringLiteral("UpDEdtimeOut"));
            QCOMPARE(upDown->value(), 20);
            QCOMPARE(dlg.findChild<QLineEdit*>(QStringLiteral("edTimeOut"))->text(),
                     QStringLiteral("20"));
            QCOMPARE(upDown->minimum(), 1);
            QCOMPARE(upDown->maximum(), 60);
            dlg.setDelayEditable(false);
            dlg.show();
            clickOk(dlg);
            QCOMPARE(ini().readInt(QStringLiteral("general"), QStringLiteral("timeoutsec"), 0), 20);
        }
        ini().writeInt(QStringLiteral("general"), QStringLiteral("timeoutsec"), 45);
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.setDelayEditable(false);
        dlg.show();
        QVERIFY(!dlg.findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->isEnabled());
        QVERIFY(!dlg.findChild<QLineEdit*>(QStringLiteral("edTimeOut"))->isEnabled());
        clickOk(dlg);
        QCOMPARE(ini().readInt(QStringLiteral("general"), QStringLiteral("timeoutsec"), 0), 45);
    }

    void cancelWritesNothingAndEntriesStopAtEighty() {
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.show();
        typeBoth(dlg, QString(81, 'k'), QString(81, 'k'));
        QCOMPARE(edit(dlg, "MaskEdit1")->text(), QString(80, 'k'));
        dlg.findChild<QPushButton*>(QStringLiteral("BttnCancel"))->click();
        QVERIFY(!dlg.isVisible());
        QVERIFY(!QFile::exists(iniPath()));
    }

    void familySettingsFileIsUsedWhenPresent() {
        const QString family = m_folder.filePath(QStringLiteral("bramblex.ini"));
        PrivateProfile(family).writeInt(QStringLiteral("general"), QStringLiteral("timeoutsec"), 7);
        TFormPswIni dlg(m_host, nullptr, m_folder.path());
        dlg.show();
        QCOMPARE(dlg.findChild<QSpinBox*>(QStringLiteral("UpDEdtimeOut"))->value(), 7);
        typeBoth(dlg, QStringLiteral("ab"), QStringLiteral("ab"));
        clickOk(dlg);
        QCOMPARE(CryptPassword(PrivateProfile(family).readString(QStringLiteral("div"),
                                                                 QStringLiteral("dateinstall")),
                               {}, false),
                 QStringLiteral("ab"));
        QVERIFY(!QFile::exists(iniPath()));
    }
};

QTEST_MAIN(FormPswIniTest)
#include "FormPswIniTest.moc"
