// The fast widest-text measure against QFontMetrics on every text.

#include "archive_window/TextWidthMeter.h"

#include <QFontMetrics>
#include <QtTest>

using namespace brx;

namespace {

int widestByHand(const QFont& font, const std::vector<QString>& texts) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

} // namespace

class TextWidthMeterTest : public QObject {
    Q_OBJECT
private slots:
    void agreesWithTheFullMeasure_data();
    void agreesWithTheFullMeasure();
    void manyTextsOfOneLength();
};

void TextWidthMeterTest::agreesWithTheFullMeasure_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("empty texts") << QStringList{"", ""};
    // Narrow letters outnumber wide ones: the longest text is not the widest.
    QTest::newRow("narrow and wide") << QStringList{"iiiiiiiiiiii", "WWWWWWW", "llll.txt"};
    QTest::newRow("kerned pairs") << QStringList{"AVAVAVAV", "AAAAAAAA", "To Wa"};
    // A combining mark adds nothing to the width of its letter, which the
    // letters alone would overstate.
    QTest::newRow("combining marks")
        << QStringList{QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301"), "eeeee", "mmm"};
    QTest::newRow("other scripts")
        << QStringList{QStringLiteral("\u6587\u66f8\u30d5\u30a1\u30a4\u30eb"),
                       QStringLiteral("\u05e7\u05d5\u05d1\u05e5"), "abc"};
}

void TextWidthMeterTest::agreesWithTheFullMeasure() {
    QFETCH(QStringList, texts);
    const std::vector<QString> list(texts.cbegin(), texts.cend());
    for (const QFont& font :
         {QFont(QStringLiteral("Arial"), 9), QFont(QStringLiteral("DejaVu Serif"), 14)}) {
        TextWidthMeter meter(font);
        QCOMPARE(meter.widest(list), widestByHand(font, list));
    }
}

void TextWidthMeterTest::manyTextsOfOneLength() {
    // Sizes and dates of a large archive: thousands of texts that predict
    // alike, one of them wider by its letters.
    std::vector<QString> texts;
    for (int i = 0; i < 5000; ++i) texts.push_back(QString::number(1000000 + i * 7));
    texts.push_back(QStringLiteral("1000W00"));
    const QFont font(QStringLiteral("Arial"), 9);
    TextWidthMeter meter(font);
    QCOMPARE(meter.widest(texts), widestByHand(font, texts));
    QVERIFY(std::abs(meter.predicted(QStringLiteral("12345")) -
                     QFontMetricsF(font).horizontalAdvance(QStringLiteral("12345"))) < 1.0);
}

QTEST_MAIN(TextWidthMeterTest)
#include "TextWidthMeterTest.moc"
