// Path shortening of TFileLabel at several widths, both directions, with
// the label's own font metrics.

#include "controls/TFileLabel.h"

#include <QTest>

using namespace brx;

namespace {

const QString kPath = QStringLiteral("C:\\Données\\Projets\\2000\\Rapport.doc");
const QString kBackslash = QStringLiteral("\\");
const QString kLast = QStringLiteral("Rapport.doc");
const QString kDots = QStringLiteral("...\\");
const QString kDrive = QStringLiteral("C:\\");

int widthOf(const TFileLabel& label, const QString& text) {
    return label.fontMetrics().horizontalAdvance(text);
}

// The smallest width that shows the pieces of a shortened path: the label
// adds the widths of the last component, "...\", the drive part and the
// kept components, each measured on its own.
int need(const TFileLabel& label, const QStringList& pieces) {
    int total = 0;
    for (const QString& piece : pieces) total += widthOf(label, piece);
    return total;
}

QString shownAt(TFileLabel& label, int width) {
    label.resize(width, label.height());
    return label.text();
}

struct Label {
    TFileLabel label;
    explicit Label(const QString& separator) {
        label.SetSeparator(separator);
        label.show();
    }
};

} // namespace

class FileLabelTest : public QObject {
    Q_OBJECT
private slots:
    void fittingPathIsShownWhole() {
        Label l(kBackslash);
        l.label.resize(2000, 20);
        l.label.SetFileName(kPath);
        QCOMPARE(l.label.text(), kPath);
        QCOMPARE(shownAt(l.label, widthOf(l.label, kPath)), kPath);
        QCOMPARE(l.label.width(), widthOf(l.label, kPath)); // never sizes itself
        QVERIFY(!l.label.wordWrap());
        l.label.SetFileName(QString());
        QCOMPARE(l.label.text(), QString());
    }

    void fromLeftKeepsTheComponentsNextToTheName() {
        Label l(kBackslash);
        l.label.SetFileName(kPath);
        const QString two = QStringLiteral("C:\\...\\Projets\\2000\\Rapport.doc");
        const QString one = QStringLiteral("C:\\...\\2000\\Rapport.doc");
        const int needTwo =
            need(l.label, {kLast, kDots, kDrive, QStringLiteral("Projets\\2000\\")});
        const int needOne = need(l.label, {kLast, kDots, kDrive, QStringLiteral("2000\\")});
        QCOMPARE(shownAt(l.label, widthOf(l.label, kPath) - 1), two);
        QCOMPARE(shownAt(l.label, needTwo), two);
        QCOMPARE(shownAt(l.label, needTwo - 1), one);
        QCOMPARE(shownAt(l.label, needOne), one);
        QCOMPARE(shownAt(l.label, needOne - 1), QStringLiteral("C:\\...\\Rapport.doc"));
    }

    void fromRightKeepsTheComponentsNextToTheDrive() {
        Label l(kBackslash);
        l.label.SetDirection(drFromRight);
        l.label.SetFileName(kPath);
        const QString two = QStringLiteral("C:\\Données\\Projets\\...\\Rapport.doc");
        const QString one = QStringLiteral("C:\\Données\\...\\Rapport.doc");
        const int needTwo =
            need(l.label, {kLast, kDots, kDrive, QStringLiteral("Données\\Projets\\")});
        const int needOne = need(l.label, {kLast, kDots, kDrive, QStringLiteral("Données\\")});
        QCOMPARE(shownAt(l.label, widthOf(l.label, kPath) - 1), two);
        QCOMPARE(shownAt(l.label, needTwo), two);
        QCOMPARE(shownAt(l.label, needTwo - 1), one);
        QCOMPARE(shownAt(l.label, needOne), one);
        QCOMPARE(shownAt(l.label, needOne - 1), QStringLiteral("C:\\...\\Rapport.doc"));
        // Changing the direction shortens again at once.
        shownAt(l.label, needTwo);
        l.label.SetDirection(drFromLeft);
        QVERIFY(l.label.text().startsWith(QStringLiteral("C:\\...\\")));
        QVERIFY(l.label.text().endsWith(QStringLiteral("\\2000\\Rapport.doc")));
    }

    void narrowLabelsDropTheDriveThenTheEllipsis() {
        Label l(kBackslash);
        l.label.SetFileName(kPath);
        const QString tail = QStringLiteral("...\\Rapport.doc");
        // Not below last + "...\" + "C:\": the drive goes first.
        QCOMPARE(shownAt(l.label, need(l.label, {kLast, kDots, kDrive})), tail);
        QCOMPARE(shownAt(l.label, need(l.label, {kLast, kDots}) + 1), tail);
        // Not below last + "...\": the name alone.
        QCOMPARE(shownAt(l.label, need(l.label, {kLast, kDots})), kLast);
        QCOMPARE(shownAt(l.label, 5), kLast);
    }

    void pathWithoutDriveAndLinuxSeparator() {
        TFileLabel fresh;
        QCOMPARE(fresh.Separator(), QStringLiteral("/"));
        QCOMPARE(fresh.Direction(), drFromLeft);
        Label l(QStringLiteral("/"));
        const QString dots = QStringLiteral(".../");
        l.label.SetFileName(QStringLiteral("home/marie/Documents/2000/Rapport.doc"));
        const int middle = std::max(widthOf(l.label, QStringLiteral("2000/")),
                                    widthOf(l.label, QStringLiteral("home/")));
        QCOMPARE(shownAt(l.label, need(l.label, {kLast, dots}) + middle),
                 QStringLiteral(".../2000/Rapport.doc"));
        l.label.SetDirection(drFromRight);
        QCOMPARE(l.label.text(), QStringLiteral("home/.../Rapport.doc"));
        // A trailing separator gives an empty last component.
        l.label.SetFileName(QStringLiteral("home/marie/Documents/2000/"));
        QCOMPARE(shownAt(l.label, need(l.label, {dots, QStringLiteral("home/marie/")})),
                 QStringLiteral("home/marie/.../"));
    }

    void veryLongPathsSplitAtEverySeparator() {
        QString path = QStringLiteral("C:");
        for (int i = 0; i < 40; ++i)
            path += QStringLiteral("\\dossier%1").arg(i, 2, 10, QLatin1Char('0'));
        path += QStringLiteral("\\fin.txt");
        QVERIFY(path.size() > 255);
        Label l(kBackslash);
        l.label.SetFileName(path);
        const int width = need(l.label, {QStringLiteral("fin.txt"), kDots, kDrive,
                                         QStringLiteral("dossier38\\dossier39\\")});
        QCOMPARE(shownAt(l.label, width), QStringLiteral("C:\\...\\dossier38\\dossier39\\fin.txt"));
        QCOMPARE(l.label.FileName(), path);
    }
};

QTEST_MAIN(FileLabelTest)
#include "FileLabelTest.moc"
