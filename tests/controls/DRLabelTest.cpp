// TDRLabel: the blinking modes and the colour they give back, the room for
// the shadow, and what is painted.

#include "controls/TDRLabel.h"

#include <QImage>
#include <QTest>

using namespace brx;

namespace {

bool hasColour(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

} // namespace

class DRLabelTest : public QObject {
    Q_OBJECT
private slots:
    void startValues() {
        TDRLabel label(QStringLiteral("Quitter"), nullptr);
        QCOMPARE(label.Deep(), 1);
        QVERIFY(label.Ctl3D());
        QCOMPARE(label.Border(), boNone);
        QCOMPARE(label.Blink(), blNone);
        QCOMPARE(label.BlinkInterval(), 300);
        QCOMPARE(label.HiColor(), QColor(0, 0, 255));
        QCOMPARE(label.LoColor(), QColor(0, 0, 128));
        QVERIFY(!label.Blinking());
        // Room for the shadow in both directions.
        const QFontMetrics fm = label.fontMetrics();
        QCOMPARE(label.size(),
                 QSize(fm.horizontalAdvance(QStringLiteral("Quitter")) + 1, fm.height() + 1));
    }

    void hiLoSwapsAndRestores() {
        TDRLabel label(QStringLiteral("Zip"), nullptr);
        label.SetFontColor(Qt::darkGreen);
        label.SetBlink(blHiLo);
        QVERIFY(label.Blinking());
        label.BlinkTick();
        QCOMPARE(label.FontColor(), label.HiColor());
        label.BlinkTick();
        QCOMPARE(label.FontColor(), label.LoColor());
        label.BlinkTick();
        QCOMPARE(label.FontColor(), label.HiColor());
        label.SetBlink(blNone);
        QVERIFY(!label.Blinking());
        QCOMPARE(label.FontColor(), QColor(Qt::darkGreen));
    }

    void blinkVanishesAndRestores() {
        TDRLabel label(QStringLiteral("Erreur"), nullptr);
        label.SetColor(Qt::yellow);
        label.SetFontColor(Qt::red);
        label.SetBlink(blBlink);
        label.BlinkTick();
        QCOMPARE(label.FontColor(), QColor(Qt::yellow));
        label.BlinkTick();
        QCOMPARE(label.FontColor(), QColor(Qt::red));
        label.BlinkTick();
        // Switching modes in the middle keeps the colour from before.
        label.SetBlink(blHiLo);
        label.BlinkTick();
        label.SetBlink(blNone);
        QCOMPARE(label.FontColor(), QColor(Qt::red));
    }

    void timerDrivesTheBlinking() {
        TDRLabel label(QStringLiteral("Zip"), nullptr);
        label.SetBlinkInterval(10);
        label.SetFontColor(Qt::black);
        label.SetBlink(blHiLo);
        QTRY_VERIFY(label.FontColor() != QColor(Qt::black));
        label.SetBlink(blNone);
        QCOMPARE(label.FontColor(), QColor(Qt::black));
    }

    void paintsShadowTextAndBorder() {
        TDRLabel label(QStringLiteral("WWW"), nullptr);
        QFont big = label.font();
        big.setPixelSize(20);
        label.setFont(big);
        label.SetColor(Qt::white);
        label.SetFontColor(Qt::black);
        label.SetShadowColor(Qt::red);
        label.SetDeep(2);
        label.SetBorder(boSingle);
        label.resize(label.sizeHint());
        QImage image = label.grab().toImage();
        QVERIFY(hasColour(image, Qt::red));
        QVERIFY(hasColour(image, Qt::black));

        label.SetCtl3D(false);
        image = label.grab().toImage();
        QVERIFY(!hasColour(image, Qt::red));

        // The text colour equal to the background draws no text at all.
        label.SetCtl3D(true);
        label.SetBorder(boNone);
        label.SetFontColor(Qt::white);
        image = label.grab().toImage();
        QVERIFY(!hasColour(image, Qt::red));
        QVERIFY(!hasColour(image, Qt::black));

        label.SetFontColor(Qt::black);
        label.setEnabled(false);
        image = label.grab().toImage();
        QVERIFY(!hasColour(image, Qt::black));
    }

    void clickEvents() {
        TDRLabel label(QStringLiteral("&Aide"), nullptr);
        int clicks = 0, doubles = 0;
        label.OnClick = [&clicks](TDRLabel*) { ++clicks; };
        label.OnDblClick = [&doubles](TDRLabel*) { ++doubles; };
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QTest::mouseClick(&label, Qt::LeftButton);
        QTest::mouseDClick(&label, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QCOMPARE(doubles, 1);
        QCOMPARE(label.accessibleName(), QStringLiteral("Aide"));
    }
};

QTEST_MAIN(DRLabelTest)
#include "DRLabelTest.moc"
