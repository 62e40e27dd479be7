// The "Extraire" page on real archives: what lands in the destination, the
// destination's rules and its key filter, and the questions and messages.

#include "WindowTestKit.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "platform/Volumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace brx;
using brx::test::WindowTestKit;

namespace {

const QStringList kNames = {"alpha.txt", "Prog/beta.txt", "Prog/gamma.txt", "delta.txt"};

template <typename T>
T* control(TMainForm& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
}

// Types text key by key, accented letters included.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QStringList items(const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
}

} // namespace

class ExtractPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_kit = std::make_unique<WindowTestKit>(); }
    void designStateOfThePage();
    void extractingEverythingWithFoldersThenOpeningTheFolder();
    void selectedRowsAfterASortWithoutFolders();
    void overwritingOnlyWhenTicked();
    void missingDestinationIsCreatedOnlyOnYes();
    void refusalsAndTheirMessages();
    void keyFilterOfBothFolderBoxes();
    void destinationRules();

private:
    std::unique_ptr<TMainForm> openArchive() {
        const QString archive = m_kit->zipOf(QStringLiteral("src"), kNames);
        if (archive.isEmpty()) qFatal("zip failed");
        return m_kit->window(QStringLiteral("-!") + archive);
    }
    // The destination as the "..." button sets it.
    QString browseTo(TMainForm& form, const QString& folder) {
        form.OnChooseFolder = [folder] { return folder; };
        control<QPushButton>(form, "Bttn3dBrowseFolder")->click();
        return form.extractDestination();
    }
    void clickTitle(TMainForm& form, int col) {
        TSortGrid* grid = form.grid();
        const QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(grid->FixedRowsWidget(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::unique_ptr<WindowTestKit> m_kit;
};

void ExtractPageTest::designStateOfThePage() {
    auto form = openArchive();
    QVERIFY(control<QCheckBox>(*form, "CBAllFiles")->isChecked());
    QVERIFY(!control<QCheckBox>(*form, "CBSelectedFiles")->isChecked());
    QVERIFY(control<QCheckBox>(*form, "CBUsePathName")->isChecked());
    QVERIFY(!control<QCheckBox>(*form, "CBOverWrite")->isChecked());
    QCOMPARE(control<QLabel>(*form, "LbDestExtract")->text(), QStringLiteral("Extraire vers : "));
    QCOMPARE(control<QPushButton>(*form, "Bttn3DDelComboExtractPath")->text(), QStringLiteral("-"));
    // The exclusive pair: ticking or unticking one moves the other.
    control<QCheckBox>(*form, "CBSelectedFiles")->click();
    QVERIFY(!control<QCheckBox>(*form, "CBAllFiles")->isChecked());
    control<QCheckBox>(*form, "CBSelectedFiles")->click();
    QVERIFY(control<QCheckBox>(*form, "CBAllFiles")->isChecked());
    control<QCheckBox>(*form, "CBAllFiles")->click();
    QVERIFY(control<QCheckBox>(*form, "CBSelectedFiles")->isChecked());
    // At creation the destination is the box's text as loaded: the home folder.
    QCOMPARE(form->extractDestination(), QDir::homePath() + QLatin1Char('/'));
}

void ExtractPageTest::extractingEverythingWithFoldersThenOpeningTheFolder() {
    auto form = openArchive();
    const QString destination = m_kit->dir.filePath(QStringLiteral("dest"));
    QVERIFY(QDir().mkpath(destination));
    QCOMPARE(browseTo(*form, destination), destination + QLatin1Char('/'));
    control<QCheckBox>(*form, "CbMsgExtract")->setChecked(true);
    control<QCheckBox>(*form, "CBExploExtr")->setChecked(true);
    control<QAbstractButton>(*form, "BttnExtraire")->click();

    QStringList expected = kNames;
    expected.sort();
    QCOMPARE(WindowTestKit::filesUnder(destination), expected);
    for (const QString& name : kNames)
        QCOMPARE(WindowTestKit::readAll(destination + QLatin1Char('/') + name),
                 WindowTestKit::contentOf(name));
    QCOMPARE(m_kit->messages(), QStringList{"4 fichiers extraits."});
    // The file manager is opened on the destination, maximised, not waited for.
    QCOMPARE(m_kit->processes.attempts.size(), 1);
    const StartAttempt opened = m_kit->processes.attempts.constFirst();
    QCOMPARE(opened.argv, (QStringList{"xdg-open", destination + QLatin1Char('/')}));
    QCOMPARE(opened.mode, ShowMode::Maximised);
    QVERIFY(!opened.watched);
    QVERIFY(form->engine().ExtrOptions().testFlag(ExtrDirNames));
}

void ExtractPageTest::selectedRowsAfterASortWithoutFolders() {
    auto form = openArchive();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TSortGrid* grid = form->grid();
    clickTitle(*form, 0); // names descending
    QCOMPARE(grid->Cells(0, 1), QStringLiteral("gamma.txt"));
    QCOMPARE(grid->Cells(0, 2), QStringLiteral("delta.txt"));
    QCOMPARE(grid->Cells(0, 3), QStringLiteral("beta.txt"));
    const QString destination = m_kit->dir.filePath(QStringLiteral("choix"));
    QVERIFY(QDir().mkpath(destination));
    browseTo(*form, destination);
    control<QCheckBox>(*form, "CBSelectedFiles")->setChecked(true);
    control<QCheckBox>(*form, "CBUsePathName")->setChecked(false);
    control<QCheckBox>(*form, "CbMsgExtract")->setChecked(false);
    control<QCheckBox>(*form, "CBExploExtr")->setChecked(false);
    grid->SetSelection(TGridRect{0, 1, 6, 3});
    form->Extract();

    // Exactly the three rows shown there, their stored folders dropped.
    QCOMPARE(WindowTestKit::filesUnder(destination),
             (QStringList{"beta.txt", "delta.txt", "gamma.txt"}));
    QVERIFY(m_kit->messages().isEmpty());
    QVERIFY(m_kit->processes.attempts.isEmpty());

    // A selection that holds only the totals row extracts nothing.
    grid->SetSelection(TGridRect{0, 5, 6, 5});
    form->Extract();
    QCOMPARE(m_kit->messages(), QStringList{"Error - no files selected"});
}

void ExtractPageTest::overwritingOnlyWhenTicked() {
    auto form = openArchive();
    const QString destination = m_kit->dir.filePath(QStringLiteral("existant"));
    QVERIFY(QDir().mkpath(destination + QStringLiteral("/Prog")));
    const QString kept = destination + QStringLiteral("/Prog/beta.txt");
    QFile old(kept);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancien");
    old.close();
    browseTo(*form, destination);
    control<QCheckBox>(*form, "CbMsgExtract")->setChecked(false);
    form->Extract();
    QCOMPARE(WindowTestKit::readAll(kept), QByteArray("ancien"));
    QCOMPARE(WindowTestKit::readAll(destination + QStringLiteral("/alpha.txt")),
             WindowTestKit::contentOf(QStringLiteral("alpha.txt")));

    control<QCheckBox>(*form, "CBOverWrite")->setChecked(true);
    form->Extract();
    QCOMPARE(WindowTestKit::readAll(kept),
             WindowTestKit::contentOf(QStringLiteral("Prog/beta.txt")));
    QCOMPARE(form->engine().ExtrOptions(), ExtrOpts(ExtrDirNames) | ExtrOverWrite);
}

void ExtractPageTest::missingDestinationIsCreatedOnlyOnYes() {
    auto form = openArchive();
    control<QCheckBox>(*form, "CbMsgExtract")->setChecked(false);
    const QString destination = m_kit->dir.filePath(QStringLiteral("a/b/c"));
    const QString withSlash = browseTo(*form, destination);

    m_kit->host.queueAnswer(MsgResult::No);
    form->Extract();
    QCOMPARE(m_kit->host.messages.size(), 2);
    const MessageRequest question = m_kit->host.messages.at(0);
    QCOMPARE(question.text, QStringLiteral("[ ") + withSlash +
                                QStringLiteral(" ] \r\nVoulez vous créer ce répertoire ?"));
    QCOMPARE(question.buttons, MsgButtons::YesNo);
    QCOMPARE(question.icon, MsgIcon::Warning);
    const MessageRequest refusal = m_kit->host.messages.at(1);
    QCOMPARE(refusal.caption, QStringLiteral("ATTENTION !"));
    QCOMPARE(refusal.text,
             QStringLiteral("Lecteur/chemin de destination invalide(s) ou inéxistant(s)."));
    QVERIFY(!QFileInfo::exists(m_kit->dir.filePath(QStringLiteral("a"))));

    m_kit->host.messages.clear();
    m_kit->host.queueAnswer(MsgResult::Yes);
    form->Extract();
    QCOMPARE(m_kit->host.messages.size(), 1);
    QVERIFY(QFileInfo(destination).isDir());
    QVERIFY(QFileInfo::exists(destination + QStringLiteral("/Prog/gamma.txt")));

    // A volume root is never asked about.
    m_kit->host.messages.clear();
    browseTo(*form, QStringLiteral("/"));
    QCOMPARE(form->extractDestination(), QStringLiteral("/"));
    form->engine().setZipFileName(m_kit->dir.filePath(QStringLiteral("absent.zip")));
    m_kit->host.messages.clear();
    form->Extract();
    QCOMPARE(m_kit->messages(), QStringList{QStringLiteral("Error: file not found: ") +
                                            m_kit->dir.filePath(QStringLiteral("absent.zip"))});
}

void ExtractPageTest::refusalsAndTheirMessages() {
    // An archive without entries.
    const QString empty = m_kit->dir.filePath(QStringLiteral("vide.zip"));
    QFile file(empty);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("504b0506") + QByteArray(18, '\0'));
    file.close();
    auto form = m_kit->window(QStringLiteral("-!") + empty);
    m_kit->host.messages.clear();
    browseTo(*form, m_kit->dir.path());
    form->Extract();
    QCOMPARE(m_kit->messages(), QStringList{"Error - no files to extract"});

    // An empty destination stops without a word.
    m_kit->host.messages.clear();
    QComboBox* box = control<QComboBox>(*form, "ComboExtractPath");
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(form->extractDestination(), QString());
    form->Extract();
    QVERIFY(m_kit->host.messages.isEmpty());
}

void ExtractPageTest::keyFilterOfBothFolderBoxes() {
    auto form = openArchive();
    QComboBox* destination = control<QComboBox>(*form, "ComboExtractPath");
    destination->clear();
    destination->setEditText(QString());
    typeText(destination->lineEdit(), QStringLiteral("/tmp/ab.cé(d)_~@1 x"));
    QCOMPARE(destination->currentText(), QStringLiteral("/tmp/abcd_~@1 x"));
    QCOMPARE(form->extractDestination(), QStringLiteral("/tmp/abcd_~@1 x/"));
    // Enter remembers the text in the list.
    QTest::keyClick(destination->lineEdit(), Qt::Key_Return);
    QCOMPARE(items(destination), QStringList{"/tmp/abcd_~@1 x"});
    QTest::keyClick(destination->lineEdit(), Qt::Key_Return);
    QCOMPARE(destination->count(), 1);

    // The default-folder box filters the same way, and typing in it takes
    // the destination from the destination box again.
    QComboBox* defaultFolder = control<QComboBox>(*form, "ComboDefDirExtr");
    destination->setEditText(QStringLiteral("/srv/ailleurs"));
    QCOMPARE(form->extractDestination(), QStringLiteral("/tmp/abcd_~@1 x/"));
    defaultFolder->setEditText(QString());
    typeText(defaultFolder->lineEdit(), QStringLiteral("C:\\Progs.é/#$&*!"));
    QCOMPARE(defaultFolder->currentText(), QStringLiteral("C:\\Progs/#$&*!"));
    QCOMPARE(form->extractDestination(), QStringLiteral("/srv/ailleurs/"));
}

void ExtractPageTest::destinationRules() {
    auto form = openArchive();
    QComboBox* box = control<QComboBox>(*form, "ComboExtractPath");
    const QString home = QDir::homePath() + QLatin1Char('/');
    const QString chosen = m_kit->dir.filePath(QStringLiteral("ici"));

    // "...": the chosen folder with its separator, shown and remembered.
    QCOMPARE(browseTo(*form, chosen), chosen + QLatin1Char('/'));
    QCOMPARE(box->currentText(), chosen + QLatin1Char('/'));
    QVERIFY(items(box).contains(chosen + QLatin1Char('/')));
    // Cancelled: the home folder stands for the default drive.
    QCOMPARE(browseTo(*form, QString()), home);
    QCOMPARE(box->currentText(), home);

    // "-": an empty list showing the home folder; the destination stays.
    browseTo(*form, chosen);
    control<QPushButton>(*form, "Bttn3DDelComboExtractPath")->click();
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentText(), home);
    QCOMPARE(form->extractDestination(), chosen + QLatin1Char('/'));

    // A double click on "Extraire vers : " puts the volume roots back.
    QTest::mouseDClick(control<QLabel>(*form, "LbDestExtract"), Qt::LeftButton);
    QCOMPARE(items(box), systemVolumes().volumeRoots());
    QCOMPARE(form->extractDestination(), chosen + QLatin1Char('/'));

    // Picking from the list sets the destination.
    box->setCurrentIndex(0);
    emit box->activated(0);
    QCOMPARE(form->extractDestination(), QStringLiteral("/"));
}

QTEST_MAIN(ExtractPageTest)
#include "ExtractPageTest.moc"
