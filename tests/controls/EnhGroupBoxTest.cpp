// TEnhGroupBox: the caption box "ICheckBox" enables and disables the rest
// of the group; only the user's toggle raises OnClickChecked.

#include "controls/TEnhGroupBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace brx;

class EnhGroupBoxTest : public QObject {
    Q_OBJECT
private slots:
    void captionBoxEnablesTheContent() {
        TEnhGroupBox group(QStringLiteral("Mot de passe"), nullptr);
        group.resize(240, 120);
        auto* edit = new QLineEdit(&group);
        edit->setGeometry(10, 30, 100, 24);
        auto* button = new QPushButton(QStringLiteral("OK"), &group);
        button->setGeometry(120, 30, 80, 24);
        QList<bool> events;
        group.OnClickChecked = [&events](TEnhGroupBox* sender) { events << sender->Checked(); };
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));

        auto* box = group.findChild<QCheckBox*>(QStringLiteral("ICheckBox"));
        QVERIFY(box != nullptr);
        QCOMPARE(box, group.ICheckBox());
        QCOMPARE(box->text(), QStringLiteral("Mot de passe"));
        QCOMPARE(box->pos(), QPoint(10, 0));
        QVERIFY(group.Checked() && box->isChecked());
        QVERIFY(edit->isEnabled() && button->isEnabled() && box->isEnabled());

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!group.Checked());
        QVERIFY(!edit->isEnabled() && !button->isEnabled());
        QVERIFY(box->isEnabled());
        QCOMPARE(events, QList<bool>{false});

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(group.Checked());
        QVERIFY(edit->isEnabled() && button->isEnabled());
        QCOMPARE(events, (QList<bool>{false, true}));
    }

    void checkedFromCodeRaisesNoEvent() {
        TEnhGroupBox group;
        auto* edit = new QLineEdit(&group);
        int events = 0;
        group.OnClickChecked = [&events](TEnhGroupBox*) { ++events; };
        group.SetChecked(false);
        QVERIFY(!group.ICheckBox()->isChecked());
        QVERIFY(!edit->isEnabled());
        QVERIFY(group.ICheckBox()->isEnabled());
        // A control added while unticked starts disabled too.
        auto* late = new QLineEdit(&group);
        QVERIFY(!late->isEnabled());
        group.SetChecked(true);
        QVERIFY(edit->isEnabled() && late->isEnabled());
        QCOMPARE(events, 0);
    }

    void captionBoxIsWideEnoughForItsCaption() {
        TEnhGroupBox group(QStringLiteral("Options de compression"), nullptr);
        QCheckBox* box = group.ICheckBox();
        const int textWidth = box->fontMetrics().horizontalAdvance(box->text());
        QVERIFY(box->width() >= textWidth + 20);
        group.SetCaption(QStringLiteral("Un titre bien plus long pour ce groupe"));
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(box->text()) + 20);
        QVERIFY(box->width() > textWidth + 20);
    }
};

QTEST_MAIN(EnhGroupBoxTest)
#include "EnhGroupBoxTest.moc"
