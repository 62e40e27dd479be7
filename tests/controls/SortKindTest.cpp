// Reading sort keys in a locale.

#include "controls/SortKind.h"

#include <QTest>

using namespace brx;
using namespace brx::sortkeys;

class SortKindTest : public QObject {
    Q_OBJECT
private slots:
    void numbers();
    void datesAndTimes();
};

void SortKindTest::numbers() {
    const QLocale french(QLocale::French, QLocale::France);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(toNumber(QStringLiteral("12,5"), french), std::optional<double>(12.5));
    QCOMPARE(toNumber(QStringLiteral("12.5"), english), std::optional<double>(12.5));
    QCOMPARE(toNumber(QStringLiteral(" 7 "), english), std::optional<double>(7));
    QVERIFY(!toNumber(QString(), english));
    QVERIFY(!toNumber(QStringLiteral("75% "), french));
    QVERIFY(!toNumber(QStringLiteral("inf"), english));
}

void SortKindTest::datesAndTimes() {
    const QLocale french(QLocale::French, QLocale::France);
    const std::optional<double> morning = toDateTime(QStringLiteral("31/12/1899  06:00"), french);
    QVERIFY(morning);
    QCOMPARE(*morning, 1.25);
    QCOMPARE(toDateTime(QStringLiteral("30/12/1899"), french), std::optional<double>(0));
    QCOMPARE(toTime(QStringLiteral("18:00"), french), std::optional<double>(0.75));
    QVERIFY(!toTime(QStringLiteral("25:00"), french));
    QVERIFY(!toDateTime(QStringLiteral("31/02/2026"), french));
    QVERIFY(!toDateTime(QStringLiteral("03/12/2026  midi"), french));
    QVERIFY(!toDateTime(QString(), french));

    SortKindDetector detector(french);
    QVERIFY(detector.feed(QStringLiteral("08:30")));
    QCOMPARE(detector.result(), skDateTime);
    QVERIFY(!detector.feed(QStringLiteral("texte")));
    QCOMPARE(detector.result(), skText);
}

QTEST_MAIN(SortKindTest)
#include "SortKindTest.moc"
