// Pictures beside the program: the shipped ones load, animated or still;
// a missing or broken one leaves the label empty.

#include "controls/Pictures.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QTemporaryDir>
#include <QTest>

using namespace brx;

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void shippedPicturesLoad_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("animation");
        QTest::newRow("Zip2Files") << "Zip2Files.gif" << QSize(100, 100) << true;
        QTest::newRow("Zip2Exe") << "Zip2Exe.gif" << QSize(100, 100) << true;
        QTest::newRow("ZipRun") << "ZipRun.gif" << QSize(32, 32) << true;
        QTest::newRow("ZipErr") << "ZipErr.gif" << QSize(32, 32) << false;
    }

    void shippedPicturesLoad() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(bool, animation);
        const QString path = QDir(QStringLiteral(BRX_PICTURES)).filePath(name);
        QLabel label;
        QVERIFY(ShowPicture(&label, path, true));
        QVERIFY(label.movie() != nullptr);
        QCOMPARE(label.movie()->frameRect().size(), size);
        QCOMPARE(label.movie()->frameCount() > 1, animation);
        QVERIFY(ShowPicture(&label, path, false));
        QVERIFY(label.movie() == nullptr);
        QCOMPARE(label.pixmap().size(), size);
    }

    void defaultIconIsA16ColourIcon() {
        QFile file(QDir(QStringLiteral(BRX_PICTURES)).filePath(QStringLiteral("default.ico")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QCOMPARE(data.size(), 766); // directory, one entry, a 744-byte 4-bit image
        QCOMPARE(data.left(6), QByteArray("\0\0\1\0\1\0", 6));
        QCOMPARE(int(data[6]), 32);
        QCOMPARE(int(data[8]), 16);
        QImage image;
        QVERIFY(image.loadFromData(data, "ICO"));
        QCOMPARE(image.size(), QSize(32, 32));
    }

    void missingOrBrokenPictureShowsNothing() {
        QTemporaryDir dir;
        QLabel label;
        QVERIFY(
            ShowPicture(&label, QDir(QStringLiteral(BRX_PICTURES)).filePath("ZipRun.gif"), true));
        QVERIFY(!ShowPicture(&label, dir.filePath(QStringLiteral("absent.gif")), true));
        QVERIFY(label.movie() == nullptr);
        QVERIFY(label.pixmap().isNull());
        QFile broken(dir.filePath(QStringLiteral("ZipErr.gif")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("GIF89a pas une image");
        broken.close();
        QVERIFY(!ShowPicture(&label, broken.fileName(), false));
        QVERIFY(label.pixmap().isNull());
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
