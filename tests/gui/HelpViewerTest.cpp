// The help file shipped with the program and its viewer: every link leads
// somewhere, the contents open, history and search move between topics,
// and a missing or damaged file gives a French message instead of a crash.

#include "gui/help/HelpFile.h"
#include "gui/help/HelpViewer.h"
#include "gui/help/HelpWindow.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace brx;

namespace {

// Answers the next message box with OK and keeps its text and title.
struct MessageCatcher {
    QString text;
    QString title;
    void arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            text = box->text();
            title = box->windowTitle();
            box->accept();
        });
    }
};

QString writeFile(const QTemporaryDir& dir, const QByteArray& data) {
    const QString path = dir.filePath(QStringLiteral("bramblex.hlp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(data);
    return path;
}

QPoint anchorPoint(QTextBrowser* browser, const QString& text) {
    const QTextCursor found = browser->document()->find(text);
    QTextCursor middle(found);
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    return browser->cursorRect(middle).center();
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void shippedFileIsWholeAndConnected() {
        QString error;
        const std::optional<HelpFile> file =
            HelpFile::load(QStringLiteral(BRX_SHIPPED_HELP), &error);
        QVERIFY2(file.has_value(), qPrintable(error));
        QVERIFY(file->topic(kHelpContents) != nullptr);
        QCOMPARE(file->topic(kHelpContents)->title, QStringLiteral("Sommaire"));
        // Every topic can be reached from the contents through links, and
        // every link leads to a topic.
        QSet<int> reached{kHelpContents};
        QList<int> queue{kHelpContents};
        while (!queue.isEmpty()) {
            const HelpTopic* topic = file->topic(queue.takeFirst());
            QVERIFY(topic != nullptr);
            QVERIFY2(topic->body.size() > 200, qPrintable(topic->title));
            for (int target : HelpFile::links(topic->body)) {
                QVERIFY2(file->topic(target) != nullptr, qPrintable(QString::number(target)));
                if (!reached.contains(target)) queue << target;
                reached.insert(target);
            }
        }
        QCOMPARE(reached.size(), file->topics().size());
    }

    void damagedFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        const QByteArray good =
            "BRXHELP 1\n== 219 Sommaire\n<p><a href=\"#220\">x</a></p>\n== 220 Autre\n<p>y</p>\n";
        QTest::newRow("sound") << good << QString();
        QTest::newRow("crlf") << QByteArray(good).replace("\n", "\r\n") << QString();
        QTest::newRow("not ours") << QByteArray("HELP\n== 219 Sommaire\n")
                                  << QStringLiteral("fichier d'aide");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("fichier d'aide");
        QTest::newRow("bad topic line")
            << QByteArray("BRXHELP 1\n== 219 Sommaire\n== douze Titre\n")
            << QStringLiteral("ligne 3");
        QTest::newRow("no title") << QByteArray("BRXHELP 1\n== 219 Sommaire\n== 220 \n")
                                  << QStringLiteral("ligne 3");
        QTest::newRow("twice") << QByteArray("BRXHELP 1\n== 219 Sommaire\n== 219 Encore\n")
                               << QStringLiteral("existe déjà");
        QTest::newRow("no contents")
            << QByteArray("BRXHELP 1\n== 220 Autre\n") << QStringLiteral("219");
        QTest::newRow("dangling link")
            << QByteArray("BRXHELP 1\n== 219 Sommaire\n<a href=\"#300\">x</a>\n")
            << QStringLiteral("300");
        QTest::newRow("text before topics")
            << QByteArray("BRXHELP 1\nperdu\n== 219 Sommaire\n") << QStringLiteral("hors rubrique");
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)
                                << QStringLiteral("fichier d'aide");
    }

    void damagedFilesAreRefused() {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        QString error;
        const std::optional<HelpFile> file = HelpFile::parse(data, &error);
        if (reason.isEmpty()) {
            QVERIFY2(file.has_value(), qPrintable(error));
            QCOMPARE(file->topics().size(), 2);
            QCOMPARE(file->topic(220)->title, QStringLiteral("Autre"));
            QVERIFY(!file->topic(219)->body.contains(QLatin1Char('\r')));
        } else {
            QVERIFY(!file.has_value());
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }

    void opensOnContentsAndFollowsLinks() {
        HelpWindow* window = ShowHelpFile(nullptr, QStringLiteral(BRX_SHIPPED_HELP), kHelpContents);
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->currentContext(), kHelpContents);
        auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
        QVERIFY(browser->toPlainText().startsWith(QStringLiteral("Sommaire")));

        // A click on a link opens its topic.
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          anchorPoint(browser, QStringLiteral("Restaurer une sauvegarde")));
        QCOMPARE(window->currentContext(), 250);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Zip Vers Fichiers")));

        // Back and forward, with the keys too.
        window->back();
        QCOMPARE(window->currentContext(), kHelpContents);
        window->forward();
        QCOMPARE(window->currentContext(), 250);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(window->currentContext(), kHelpContents);

        // A new topic drops the forward part of the history.
        window->showContext(252);
        window->forward();
        QCOMPARE(window->currentContext(), 252);

        // The same window comes up again; an unknown context shows the contents.
        QCOMPARE(ShowHelpFile(nullptr, QStringLiteral(BRX_SHIPPED_HELP), 9999), window);
        QCOMPARE(window->currentContext(), kHelpContents);
        window->close();
    }

    void searchGoesThroughTheTopics() {
        HelpWindow* window = ShowHelpFile(nullptr, QStringLiteral(BRX_SHIPPED_HELP), kHelpContents);
        QVERIFY(window != nullptr);
        auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
        QVERIFY(window->findNext(QStringLiteral("brx_span")));
        QCOMPARE(window->currentContext(), 242);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Brx_Span"));
        // The next one is further on, in the list of the program's files.
        QVERIFY(window->findNext(QStringLiteral("brx_span")));
        QCOMPARE(window->currentContext(), 254);
        QVERIFY(!window->findNext(QStringLiteral("mot absent de toute l'aide")));
        QCOMPARE(window->currentContext(), 254);
        window->close();
    }

    void missingFileGivesAFrenchMessage() {
        // No help file beside the test program.
        MessageCatcher catcher;
        catcher.arm();
        ShowHelpContext(nullptr, kHelpContents);
        QVERIFY2(catcher.text.contains(QStringLiteral("introuvable")), qPrintable(catcher.text));
        QVERIFY(catcher.text.contains(QStringLiteral("bramblex.hlp")));
        QVERIFY(catcher.text.contains(QCoreApplication::applicationDirPath()));
        QCOMPARE(catcher.title, QStringLiteral("Aide"));
    }

    void damagedFileGivesAFrenchMessage() {
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, "BRXHELP 1\n== 219 Sommaire\n<a href=\"#404\">perdu</a>\n");
        MessageCatcher catcher;
        catcher.arm();
        QCOMPARE(ShowHelpFile(nullptr, path, kHelpContents), nullptr);
        QVERIFY2(catcher.text.contains(QStringLiteral("endommagé")), qPrintable(catcher.text));
        QVERIFY(catcher.text.contains(QStringLiteral("404")));
    }
};

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
