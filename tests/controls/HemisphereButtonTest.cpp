// THemisphereButton: a round push button that the keyboard and the mouse
// press like any button, only inside its disc.

#include "controls/THemisphereButton.h"

#include <QImage>
#include <QTest>

using namespace brx;

class HemisphereButtonTest : public QObject {
    Q_OBJECT
private slots:
    void keyboardPressesIt() {
        THemisphereButton button(QStringLiteral("Zip"), nullptr);
        button.resize(90, 90);
        int clicks = 0;
        button.OnClick = [&clicks](THemisphereButton*) { ++clicks; };
        button.show();
        QVERIFY(QTest::qWaitForWindowActive(&button));
        QCOMPARE(button.focusPolicy(), Qt::StrongFocus);
        button.setFocus();
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(clicks, 1);
        QTest::keyClick(&button, Qt::Key_Return);
        QTRY_COMPARE(clicks, 2);
        QTest::keyClick(&button, Qt::Key_Enter);
        QTRY_COMPARE(clicks, 3);
        button.setEnabled(false);
        QTest::keyClick(&button, Qt::Key_Space);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 3);
    }

    void onlyTheDiscIsClickable() {
        THemisphereButton button(QStringLiteral("Ajouter"), nullptr);
        button.resize(90, 90);
        int clicks = 0;
        button.OnClick = [&clicks](THemisphereButton*) { ++clicks; };
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(45, 45));
        QCOMPARE(clicks, 1);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(2, 2)); // corner
        QCOMPARE(clicks, 1);
    }

    void accessibleNameIsTheCaption() {
        THemisphereButton button(QStringLiteral(">> EXE"), nullptr);
        QCOMPARE(button.accessibleName(), QStringLiteral(">> EXE"));
        button.SetCaption(QStringLiteral("Supp..."));
        QCOMPARE(button.accessibleName(), QStringLiteral("Supp..."));
        QCOMPARE(button.Caption(), QStringLiteral("Supp..."));
        QVERIFY(button.font().bold());
    }

    void lowerInnerBevelChangesTheLook() {
        THemisphereButton button(QStringLiteral("Extraire"), nullptr);
        button.resize(90, 90);
        button.SetFaceColor(QColor(0x00, 0x80, 0x40));
        button.SetBevelWidth(4);
        QCOMPARE(button.BevelInner(), hbRaised);
        QCOMPARE(button.Down(), false);
        QCOMPARE(button.GroupIndex(), 0);
        const QImage raised = button.grab().toImage();
        button.SetBevelInner(hbLowered);
        const QImage lowered = button.grab().toImage();
        QVERIFY(raised != lowered);
        // The face colour shows at the centre-ish of the disc.
        const QColor centre = lowered.pixelColor(45, 60);
        QVERIFY(centre.green() > centre.red());
    }

    // A button wider than high is a rectangle with round ends, not a disc
    // the size of its height: its face reaches both ends, where the caption
    // is, and clicks there press it.
    void wideButtonFillsItsRectangle() {
        THemisphereButton button(QStringLiteral(">> EXE"), nullptr);
        button.resize(90, 35);
        button.SetBevelWidth(4);
        button.SetFaceShaded(false);
        button.SetFaceColor(QColor(0xFF, 0x80, 0x40));
        int clicks = 0;
        button.OnClick = [&clicks](THemisphereButton*) { ++clicks; };
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        const QImage image = button.grab().toImage();
        for (const QPoint at : {QPoint(16, 10), QPoint(74, 10), QPoint(45, 10)}) {
            const QColor face = image.pixelColor(at);
            QVERIFY2(
                face.red() > 200 && face.blue() < 100,
                qPrintable(QStringLiteral("(%1,%2) %3").arg(at.x()).arg(at.y()).arg(face.name())));
        }
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(80, 17));
        QCOMPARE(clicks, 1);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(1, 1)); // outside the round end
        QCOMPARE(clicks, 1);
    }
};

QTEST_MAIN(HemisphereButtonTest)
#include "HemisphereButtonTest.moc"
