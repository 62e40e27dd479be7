// Hints "short|long": the tool tip and the status-bar text of the control
// under the mouse, with real mouse moves through the window system.

#include "controls/Hints.h"
#include "controls/THintHandler.h"

#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

using namespace brx;

namespace {

struct HintWindow {
    QWidget window;
    QLabel* both = new QLabel(QStringLiteral("both"), &window);
    QLabel* longOnly = new QLabel(QStringLiteral("long"), &window);
    QLabel* none = new QLabel(QStringLiteral("none"), &window);
    THintHandler handler{&window};
    QStringList shown;

    HintWindow() {
        window.resize(300, 200);
        both->setGeometry(0, 0, 100, 30);
        longOnly->setGeometry(0, 50, 100, 30);
        none->setGeometry(0, 100, 100, 30);
        SetHint(&window, QStringLiteral("|Date : 08/12 / 3 Fichiers traités"));
        SetHint(both, QStringLiteral("Supprimer.|Supprimer les fichiers choisis."));
        SetHint(longOnly, QStringLiteral("|Efface historique"));
        handler.OnHint = [this](const QString& hint) { shown << hint; };
    }
    void moveTo(QWidget* widget) {
        QTest::mouseMove(window.windowHandle(), widget->geometry().center());
    }
    // Whether a tool-tip request on the widget puts its short hint up in
    // place of a marker tip.
    bool toolTipShown(QWidget* widget) {
        const QPoint centre = widget->rect().center();
        QToolTip::showText(widget->mapToGlobal(centre), QStringLiteral("repère"), widget);
        QHelpEvent help(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
        QCoreApplication::sendEvent(widget, &help);
        return QToolTip::text() == widget->toolTip();
    }
};

} // namespace

class HintsTest : public QObject {
    Q_OBJECT
private slots:
    void shortAndLongParts() {
        QCOMPARE(GetShortHint(QStringLiteral("court|long")), QStringLiteral("court"));
        QCOMPARE(GetLongHint(QStringLiteral("court|long")), QStringLiteral("long"));
        QCOMPARE(GetShortHint(QStringLiteral("|long")), QString());
        QCOMPARE(GetLongHint(QStringLiteral("|long")), QStringLiteral("long"));
        QCOMPARE(GetShortHint(QStringLiteral("entier")), QStringLiteral("entier"));
        QCOMPARE(GetLongHint(QStringLiteral("entier")), QStringLiteral("entier"));
        QCOMPARE(GetLongHint(QStringLiteral("a|b|c")), QStringLiteral("b|c"));
        QLabel label;
        SetHint(&label, QStringLiteral("|Efface historique"));
        QVERIFY(label.toolTip().isEmpty());
        SetHint(&label, QStringLiteral("1=Très rapide --  9=Très lent mais très compact."));
        QCOMPARE(label.toolTip(),
                 QStringLiteral("1=Très rapide --  9=Très lent mais très compact."));
    }

    void statusFollowsTheMouse() {
        HintWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.moveTo(w.both);
        QCOMPARE(w.handler.CurrentHint(), QStringLiteral("Supprimer les fichiers choisis."));
        w.moveTo(w.longOnly);
        QCOMPARE(w.handler.CurrentHint(), QStringLiteral("Efface historique"));
        // A control without a hint shows its window's.
        w.moveTo(w.none);
        QCOMPARE(w.handler.CurrentHint(), QStringLiteral("Date : 08/12 / 3 Fichiers traités"));
        QCOMPARE(w.shown.last(), w.handler.CurrentHint());
        // A hint changed under the mouse shows at once.
        SetHint(w.none, QStringLiteral("|Nouveau résumé"));
        QCOMPARE(w.shown.last(), QStringLiteral("Nouveau résumé"));
    }

    void hintsOffSilencesToolTipsOnly() {
        HintWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QVERIFY(w.toolTipShown(w.both));
        w.handler.SetShowHint(false);
        QVERIFY(!w.toolTipShown(w.both));
        w.moveTo(w.both);
        QCOMPARE(w.handler.CurrentHint(), QStringLiteral("Supprimer les fichiers choisis."));
        w.handler.SetShowHint(true);
        QVERIFY(w.toolTipShown(w.both));
    }
};

QTEST_MAIN(HintsTest)
#include "HintsTest.moc"
