// TCheckBox98 driven with real mouse and key events: the click handler runs
// before the state moves on, and code never runs it.

#include "controls/TCheckBox98.h"

#include <QTest>

using namespace brx;

class CheckBox98Test : public QObject {
    Q_OBJECT
private slots:
    void handlerSeesTheOldState() {
        TCheckBox98 box(QStringLiteral("&Chemins inclus"), nullptr);
        QList<bool> seen;
        box.OnClick = [&seen](TCheckBox98* sender) { seen << sender->Checked(); };
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(seen, QList<bool>{false});
        QVERIFY(box.Checked());
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(seen, (QList<bool>{false, true}));
        QVERIFY(!box.Checked());
    }

    void grayedCycleOnlyWithAllowGrayed() {
        TCheckBox98 box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(box.State(), cbChecked);
        box.SetState(cbGrayed); // refused without AllowGrayed
        QCOMPARE(box.State(), cbUnchecked);

        box.SetAllowGrayed(true);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(box.State(), cbGrayed);
        QVERIFY(!box.Checked());
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(box.State(), cbChecked);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(box.State(), cbUnchecked);
    }

    void codeChangesRunNoHandler() {
        TCheckBox98 box;
        box.SetAllowGrayed(true);
        int clicks = 0;
        box.OnClick = [&clicks](TCheckBox98*) { ++clicks; };
        box.SetChecked(true);
        QVERIFY(box.Checked());
        box.SetState(cbGrayed);
        QCOMPARE(box.State(), cbGrayed);
        box.SetChecked(false);
        QCOMPARE(box.State(), cbUnchecked);
        QCOMPARE(clicks, 0);
    }

    void doubleClickCountsAsOneMoreClick() {
        TCheckBox98 box(QStringLiteral("Double"), nullptr);
        int clicks = 0;
        box.OnClick = [&clicks](TCheckBox98*) { ++clicks; };
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // Through the window system: press, release, press, double click,
        // release, as a real double click arrives.
        QTest::mouseDClick(box.windowHandle(), Qt::LeftButton, {}, box.rect().center());
        QCOMPARE(clicks, 2);
        QVERIFY(!box.Checked());
    }

    void releaseOutsideIsNoClick() {
        TCheckBox98 box(QStringLiteral("Dehors"), nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mousePress(&box, Qt::LeftButton);
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(!box.Checked());
    }

    void acceleratorOnlyWhileEnabledAndVisible() {
        QWidget window;
        auto* box = new TCheckBox98(QStringLiteral("&Sous répertoires"), &window);
        auto* other = new TCheckBox98(QStringLiteral("Autre"), &window);
        other->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QVERIFY(box->Checked());
        box->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QVERIFY(box->Checked());
        box->setEnabled(true);
        box->hide();
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QVERIFY(box->Checked());
    }

    void spaceClicksTheFocusedBox() {
        TCheckBox98 box(QStringLiteral("Espace"), nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Space);
        QVERIFY(box.Checked());
    }

    void autoSizeFollowsTheCaption() {
        TCheckBox98 box;
        const int narrow = box.width();
        box.SetCaption(QStringLiteral("Un libellé nettement plus long"));
        QVERIFY(box.width() > narrow + 100);
        box.SetAutoSize(false);
        box.resize(20, 20);
        box.SetCaption(QStringLiteral("Encore plus long que le précédent"));
        QCOMPARE(box.width(), 20);
    }
};

QTEST_MAIN(CheckBox98Test)
#include "CheckBox98Test.moc"
