// The " ZIP <---> EXE" and "Entêtes" pages: the self-extractor properties
// the controls give, ">> EXE" and ">> ZIP" on real archives checked by
// Info-ZIP and 7-Zip, the run-after command and the icon box.

#include "../support/PeFileBuilder.h"
#include "WindowTestKit.h"
#include "controls/TEnhGroupBox.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "platform/ProgramInfo.h"
#include "support/PeIcons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace brx;
using namespace brx::test;

namespace {

const QStringList kNames = {"lisezmoi.txt", "Prog/Setup.exe", "Prog/data.bin"};
const QString kTestQuestion = QStringLiteral(
    "Votre archive est maintenant autoextractible.\rSouhaitez vous faire un test maintenant?");

template <typename T>
T* control(TMainForm& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
}

// Exit code of a peer program, -1 when it cannot run.
int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) return -1;
    if (output) *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The entries as Info-ZIP lists them: sizes, method, date, CRC and name.
QByteArray entryListing(const QString& archive) {
    QByteArray listing;
    if (run(QStringLiteral("unzip"), {QStringLiteral("-Zl"), archive}, &listing) != 0) return {};
    const QList<QByteArray> lines = listing.split('\n');
    return lines.mid(1, lines.size() - 3).join('\n'); // without the archive's own lines
}

QByteArray singleIconFile(const QByteArray& image) {
    QByteArray ico;
    putLe(ico, 0, 2);
    putLe(ico, 1, 2);
    putLe(ico, 1, 2);
    ico += QByteArray::fromHex("20201000"); // 32 x 32, 16 colours
    putLe(ico, 1, 2);
    putLe(ico, 4, 2);
    putLe(ico, uint32_t(image.size()), 4);
    putLe(ico, 22, 4);
    return ico + image;
}

QColor centreOf(const QLabel* box) {
    const QImage image = box->pixmap().toImage();
    return image.isNull() ? QColor() : image.pixelColor(16, 16);
}

} // namespace

class SfxPagesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_kit = std::make_unique<WindowTestKit>(); }
    void designStateOfBothPages();
    void defaultFolderButtons();
    void controlsMapOntoTheSelfExtractor();
    void doubleClickedRowIsTheRunAfterCommand();
    void toExeThenToZipGivesTheSameEntriesBack();
    void existingExeIsKeptOnNo();
    void toZipWithoutAProgramChangesNothing();
    void failedConversionLeavesBothFilesAsTheyWere();
    void testingTheNewProgramNeedsAWindowsProgramRunner();
    void iconBoxFromIcoAndFromPeFiles();
    void shownIconIsWhatTheProgramCarries();

private:
    std::unique_ptr<TMainForm> openArchive(QString* archive = nullptr) {
        const QString path = m_kit->zipOf(QStringLiteral("conv"), kNames);
        if (path.isEmpty()) qFatal("zip failed");
        if (archive) *archive = path;
        return m_kit->window(QStringLiteral("-&") + path);
    }
    static bool haveStub() {
        return QFileInfo::exists(qEnvironmentVariable("BRX_BIN_DIR") +
                                 QStringLiteral("/ZIPSFX.BIN"));
    }
    QString exeOf(const QString& zip) const { return zip.chopped(4) + QStringLiteral(".exe"); }
    // No temporary file of a conversion is left beside the archive.
    QStringList hiddenFiles() const {
        return QDir(m_kit->dir.path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QRegularExpression("^\\."));
    }

    std::unique_ptr<WindowTestKit> m_kit;
};

void SfxPagesTest::designStateOfBothPages() {
    auto form = openArchive();
    QVERIFY(!control<QCheckBox>(*form, "CBForceOverWrite")->isChecked());
    QVERIFY(control<QCheckBox>(*form, "CbSuccesMsg")->isChecked());
    QVERIFY(!control<QCheckBox>(*form, "CbAutoRun")->isChecked());
    QVERIFY(!control<QCheckBox>(*form, "CbAskFiles")->isChecked());
    QVERIFY(!control<QCheckBox>(*form, "CbRunAFile")->isChecked());
    QCOMPARE(control<QLineEdit>(*form, "EDCmdLn")->text(),
             QStringLiteral("Double cliquez sur le fichier à lancer après extraction."));
    QCOMPARE(control<QComboBox>(*form, "ComboDefDirExtr")->currentText(),
             QStringLiteral("Dossier TEMP utilisateur"));
    QCOMPARE(control<QComboBox>(*form, "ComboTitre")->currentText(),
             QStringLiteral("Installation de mon programme"));
    QCOMPARE(control<QLineEdit>(*form, "IconEdit")->text(), QStringLiteral("Un_Fichier_Icone"));
    QCOMPARE(control<QLineEdit>(*form, "IconIndexEdit")->text(), QStringLiteral("0"));
    QVERIFY(!control<QLineEdit>(*form, "IconIndexEdit")->isEnabled());
    QVERIFY(!control<QSpinBox>(*form, "IconIndexUD")->isEnabled());
    QCOMPARE(control<QSpinBox>(*form, "IconIndexUD")->maximum(), 32767);
    QVERIFY(control<QSpinBox>(*form, "IconIndexUD")->wrapping());

    // The message group starts unticked with its controls off; "Bouton Ok",
    // "Ok Annuler" and "Oui Non" exclude each other.
    auto* group = control<TEnhGroupBox>(*form, "GbMsgSfx");
    QCOMPARE(group->Caption(), QStringLiteral("Afficher un message avant extraction "));
    QVERIFY(!group->Checked());
    QVERIFY(!control<QLineEdit>(*form, "EdMsgSfx")->isEnabled());
    group->SetChecked(true);
    QVERIFY(control<QLineEdit>(*form, "EdMsgSfx")->isEnabled());
    QCOMPARE(control<QLineEdit>(*form, "EdMsgSfx")->text(),
             QStringLiteral("Message d'information sur le programme"));
    QVERIFY(control<QCheckBox>(*form, "CbOk")->isChecked());
    control<QCheckBox>(*form, "CbYesNo")->click();
    QVERIFY(!control<QCheckBox>(*form, "CbOk")->isChecked());
    control<QCheckBox>(*form, "CbOkEsc")->click();
    QVERIFY(!control<QCheckBox>(*form, "CbYesNo")->isChecked());
    QVERIFY(control<QCheckBox>(*form, "CbOkEsc")->isChecked());
}

void SfxPagesTest::defaultFolderButtons() {
    auto form = openArchive();
    auto* box = control<QComboBox>(*form, "ComboDefDirExtr");
    const QString chosen = m_kit->dir.filePath(QStringLiteral("installe"));
    form->OnChooseFolder = [chosen] { return chosen; };
    control<QPushButton>(*form, "Bttn3dBrowseDefExtract")->click();
    QCOMPARE(box->currentText(), chosen + QLatin1Char('/'));
    QCOMPARE(box->findText(chosen + QLatin1Char('/')), box->count() - 1);
    form->OnChooseFolder = [] { return QString(); };
    control<QPushButton>(*form, "Bttn3dBrowseDefExtract")->click();
    QCOMPARE(box->currentText(), QDir::homePath() + QLatin1Char('/'));
    control<QPushButton>(*form, "Bttn3dDelDefDirExtract")->click();
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentText(), QDir::homePath() + QLatin1Char('/'));
    form->applySfxProperties();
    QCOMPARE(form->engine().SFXDefaultDir(), QDir::homePath() + QLatin1Char('/'));
}

void SfxPagesTest::controlsMapOntoTheSelfExtractor() {
    auto form = openArchive();
    const TZipEngine& engine = form->engine();
    form->applySfxProperties();
    QCOMPARE(engine.SFXOptions(), SFXOpts(SFXAskFiles));
    QCOMPARE(engine.SFXOverWriteMode(), OvrConfirm);
    QCOMPARE(engine.SFXDefaultDir(), QStringLiteral("><"));
    QCOMPARE(engine.SFXCaption(), QStringLiteral("Installation de mon programme"));
    QCOMPARE(engine.SFXMessage(), QString());
    QCOMPARE(engine.SFXCommandLine(), QString());

    control<QCheckBox>(*form, "CbAskFiles")->setChecked(true);
    control<QCheckBox>(*form, "CbAutoRun")->setChecked(true);
    control<QCheckBox>(*form, "CbSuccesMsg")->setChecked(false);
    control<QCheckBox>(*form, "CBForceOverWrite")->setChecked(true);
    control<QComboBox>(*form, "ComboDefDirExtr")->setEditText(QStringLiteral("C:\\Jeux\\Mon jeu"));
    control<QComboBox>(*form, "ComboTitre")->setEditText(QStringLiteral("Mon titre"));
    form->applySfxProperties();
    QCOMPARE(engine.SFXOptions(), SFXOpts(SFXAutoRun) | SFXNoSuccessMsg | SFXHideOverWriteBox);
    QCOMPARE(engine.SFXOverWriteMode(), OvrAlways);
    QCOMPARE(engine.SFXDefaultDir(), QStringLiteral("C:\\Jeux\\Mon jeu"));
    QCOMPARE(engine.SFXCaption(), QStringLiteral("Mon titre"));

    // The message's leading code follows the button boxes.
    control<TEnhGroupBox>(*form, "GbMsgSfx")->SetChecked(true);
    control<QLineEdit>(*form, "EdMsgSfx")->setText(QStringLiteral("Bienvenue"));
    control<QCheckBox>(*form, "CbYesNo")->setChecked(true);
    form->applySfxProperties();
    QCOMPARE(engine.SFXMessage(), QString(QChar(2)) + QStringLiteral("Bienvenue"));
    control<QCheckBox>(*form, "CbOkEsc")->setChecked(true);
    form->applySfxProperties();
    QCOMPARE(engine.SFXMessage(), QString(QChar(1)) + QStringLiteral("Bienvenue"));
    control<QCheckBox>(*form, "CbOk")->setChecked(true);
    form->applySfxProperties();
    QCOMPARE(engine.SFXMessage(), QStringLiteral("Bienvenue"));
    control<QCheckBox>(*form, "CbOk")->setChecked(false);
    form->applySfxProperties();
    QCOMPARE(engine.SFXMessage(), QStringLiteral("Bienvenue"));
    control<TEnhGroupBox>(*form, "GbMsgSfx")->SetChecked(false);
    form->applySfxProperties();
    QCOMPARE(engine.SFXMessage(), QString());
}

void SfxPagesTest::doubleClickedRowIsTheRunAfterCommand() {
    auto form = openArchive();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TSortGrid* grid = form->grid();
    int setupRow = -1;
    for (int row = 1; row < grid->RowCount(); ++row)
        if (grid->Cells(0, row) == QStringLiteral("Setup.exe")) setupRow = row;
    QVERIFY(setupRow > 0);
    const QModelIndex cell = grid->model()->index(setupRow - grid->FixedRows(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QCOMPARE(control<QLineEdit>(*form, "EDCmdLn")->text(), QStringLiteral("PROG\\SETUP.EXE"));
    QCOMPARE(form->runAfterCommand(), QStringLiteral("><PROG\\SETUP.EXE"));

    // Typing in the field does not change the command; the box decides
    // whether the program carries it.
    control<QLineEdit>(*form, "EDCmdLn")->setText(QStringLiteral("autre"));
    control<QCheckBox>(*form, "CbRunAFile")->setChecked(true);
    form->applySfxProperties();
    QCOMPARE(form->engine().SFXCommandLine(), QStringLiteral("><PROG\\SETUP.EXE"));
    QVERIFY(form->engine().SFXOptions().testFlag(SFXAskCmdLine));
    control<QCheckBox>(*form, "CbRunAFile")->setChecked(false);
    form->applySfxProperties();
    QCOMPARE(form->engine().SFXCommandLine(), QString());
    QVERIFY(!form->engine().SFXOptions().testFlag(SFXAskCmdLine));

    // The totals row gives no command.
    const QModelIndex totals = grid->model()->index(grid->RowCount() - 1 - grid->FixedRows(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(totals).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(totals).center());
    QCOMPARE(form->runAfterCommand(), QStringLiteral("><PROG\\SETUP.EXE"));
}

void SfxPagesTest::toExeThenToZipGivesTheSameEntriesBack() {
    if (!haveStub()) QSKIP("ZIPSFX.BIN is not built");
    QString zip;
    auto form = openArchive(&zip);
    const QByteArray before = entryListing(zip);
    QVERIFY(!before.isEmpty());
    control<QComboBox>(*form, "ComboTitre")->setEditText(QStringLiteral("Mon installation"));
    control<TEnhGroupBox>(*form, "GbMsgSfx")->SetChecked(true);
    control<QLineEdit>(*form, "EdMsgSfx")->setText(QStringLiteral("Bienvenue"));
    control<QCheckBox>(*form, "CbYesNo")->setChecked(true);

    m_kit->host.queueAnswer(MsgResult::No); // no test now
    control<QAbstractButton>(*form, "BttnToExe")->click();
    const QString exe = exeOf(zip);
    QCOMPARE(m_kit->messages(), QStringList{kTestQuestion});
    QVERIFY(QFileInfo::exists(exe));
    QVERIFY(!QFileInfo::exists(zip));
    QCOMPARE(hiddenFiles(), QStringList());
    QCOMPARE(form->engine().ZipFileName(), exe);
    QCOMPARE(form->engine().Count(), 3);
    QCOMPARE(run(QStringLiteral("unzip"), {QStringLiteral("-tq"), exe}), 0);
    QCOMPARE(run(QStringLiteral("7zz"), {QStringLiteral("t"), exe}), 0);
    // The header behind the stub carries the page's settings.
    const qint64 stubSize =
        QFileInfo(qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN")).size();
    const QByteArray header = WindowTestKit::readAll(exe).mid(stubSize, 64);
    QCOMPARE(header.left(3), QByteArray("MPV"));
    QCOMPARE(header.mid(9, 16), QByteArray("Mon installation"));

    m_kit->host.messages.clear();
    control<QAbstractButton>(*form, "BttnToZip")->click();
    QCOMPARE(m_kit->messages(), QStringList{"Restauration format Zip effectuée."});
    QVERIFY(QFileInfo::exists(zip));
    QVERIFY(!QFileInfo::exists(exe));
    QCOMPARE(hiddenFiles(), QStringList());
    QCOMPARE(entryListing(zip), before);
    QCOMPARE(run(QStringLiteral("unzip"), {QStringLiteral("-tq"), zip}), 0);
    QCOMPARE(form->engine().ZipFileName(), zip);
    // The header's settings came back into the engine.
    QCOMPARE(form->engine().SFXCaption(), QStringLiteral("Mon installation"));
    QCOMPARE(form->engine().SFXMessage(), QString(QChar(2)) + QStringLiteral("Bienvenue"));
}

void SfxPagesTest::existingExeIsKeptOnNo() {
    QString zip;
    auto form = openArchive(&zip);
    const QByteArray zipBytes = WindowTestKit::readAll(zip);
    QFile old(exeOf(zip));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancien programme");
    old.close();
    m_kit->host.queueAnswer(MsgResult::No);
    form->ToExeClick();
    QCOMPARE(m_kit->messages(),
             QStringList{QStringLiteral("[ ") + exeOf(zip) +
                         QStringLiteral(" ] existe déjà. Souhaitez vous l'écraser ?")});
    QCOMPARE(WindowTestKit::readAll(exeOf(zip)), QByteArray("ancien programme"));
    QCOMPARE(WindowTestKit::readAll(zip), zipBytes);
}

void SfxPagesTest::toZipWithoutAProgramChangesNothing() {
    QString zip;
    auto form = openArchive(&zip);
    const QByteArray zipBytes = WindowTestKit::readAll(zip);
    form->ToZipClick();
    QCOMPARE(m_kit->messages(),
             (QStringList{"Error: input file is not an .EXE file",
                          "La transformation a échoué : aucun fichier n'a été remplacé."}));
    QCOMPARE(WindowTestKit::readAll(zip), zipBytes);
    QCOMPARE(form->engine().ZipFileName(), zip);
}

void SfxPagesTest::failedConversionLeavesBothFilesAsTheyWere() {
    if (!haveStub()) QSKIP("ZIPSFX.BIN is not built");
    QString zip;
    auto form = openArchive(&zip);
    const QByteArray zipBytes = WindowTestKit::readAll(zip);
    QFile old(exeOf(zip));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancien programme");
    old.close();
    // A title longer than the header can hold makes the conversion fail.
    control<QComboBox>(*form, "ComboTitre")->setEditText(QString(300, QLatin1Char('T')));
    m_kit->host.queueAnswer(MsgResult::Yes); // overwrite
    form->ToExeClick();
    const QStringList shown = m_kit->messages();
    QCOMPARE(shown.size(), 3); // overwrite question, the engine's error, the failure
    QVERIFY(shown.at(1).contains(QStringLiteral("exceeds 255 characters")));
    QCOMPARE(shown.at(2),
             QStringLiteral("La transformation a échoué : aucun fichier n'a été remplacé."));
    QCOMPARE(WindowTestKit::readAll(exeOf(zip)), QByteArray("ancien programme"));
    QCOMPARE(WindowTestKit::readAll(zip), zipBytes);
    QCOMPARE(hiddenFiles(), QStringList());
    QCOMPARE(form->engine().ZipFileName(), zip);
    QCOMPARE(form->engine().Count(), 3);
}

void SfxPagesTest::testingTheNewProgramNeedsAWindowsProgramRunner() {
    if (!haveStub()) QSKIP("ZIPSFX.BIN is not built");
    QString zip;
    auto form = openArchive(&zip);
    const QString exe = exeOf(zip);
    m_kit->host.queueAnswer(MsgResult::Yes); // test now
    form->ToExeClick();
    QCOMPARE(
        m_kit->messages(),
        (QStringList{kTestQuestion,
                     QStringLiteral("Aucun programme capable de lancer les exécutables Windows "
                                    "(.exe) n'est installé : le test de ") +
                         exe + QStringLiteral(" est impossible.")}));
    QVERIFY(m_kit->processes.attempts.isEmpty());

    // Again on the new program itself (back to a ZIP first, then a new
    // EXE), now with a program that opens Windows executables.
    m_kit->processes.setAssociatedCommand(exe, {QStringLiteral("runner"), exe});
    m_kit->processes.addProgram(QStringLiteral("runner"));
    m_kit->host.messages.clear();
    m_kit->host.queueAnswer(MsgResult::Yes); // overwrite
    m_kit->host.queueAnswer(MsgResult::Yes); // test now
    form->ToExeClick();
    QCOMPARE(m_kit->messages().size(), 2);
    QVERIFY(QFileInfo::exists(exe));
    QVERIFY(!QFileInfo::exists(zip));
    QCOMPARE(run(QStringLiteral("unzip"), {QStringLiteral("-tq"), exe}), 0);
    QCOMPARE(m_kit->processes.attempts.size(), 2);
    const StartAttempt tested = m_kit->processes.attempts.constLast();
    QCOMPARE(tested.argv, (QStringList{"runner", exe}));
    QVERIFY(tested.watched);
    QCOMPARE(tested.mode, ShowMode::Shown);
}

void SfxPagesTest::iconBoxFromIcoAndFromPeFiles() {
    auto form = openArchive();
    auto* box = control<QLabel>(*form, "Image2");
    auto* number = control<QLineEdit>(*form, "IconIndexEdit");
    auto* upDown = control<QSpinBox>(*form, "IconIndexUD");

    const QString library = m_kit->dir.filePath(QStringLiteral("Shell32.dll"));
    QFile dll(library);
    QVERIFY(dll.open(QIODevice::WriteOnly));
    dll.write(twoIconLibrary());
    dll.close();
    form->OnChooseIconFile = [library] { return library; };
    control<QPushButton>(*form, "BrowseIco")->click();
    QCOMPARE(control<QLineEdit>(*form, "IconEdit")->text(), library);
    QVERIFY(number->isEnabled());
    QVERIFY(upDown->isEnabled());
    QCOMPARE(centreOf(box), QColor(0xFF, 0, 0)); // the true-colour 32 x 32 image of icon 0
    upDown->setValue(1);
    QCOMPARE(number->text(), QStringLiteral("1"));
    QCOMPARE(centreOf(box), QColor(0xFF, 0xFF, 0));
    upDown->setValue(2); // no such icon: the box is empty and nothing is embedded
    QVERIFY(box->pixmap().isNull());
    QVERIFY(form->shownIcon().isEmpty());

    const QString ico = m_kit->dir.filePath(QStringLiteral("Mon.ICO"));
    const QByteArray icoBytes = singleIconFile(iconImage(32, 4, 0x0000FF));
    QFile file(ico);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(icoBytes);
    file.close();
    form->OnChooseIconFile = [ico] { return ico; };
    control<QPushButton>(*form, "BrowseIco")->click();
    QVERIFY(!number->isEnabled());
    QVERIFY(!upDown->isEnabled());
    QCOMPARE(number->text(), QStringLiteral("0"));
    QCOMPARE(centreOf(box), QColor(0, 0, 0xFF));
    QCOMPARE(form->engine().SFXIcon(), icoBytes); // at once

    // A file that is neither an icon nor a program or library: no icon, and
    // no number to choose.
    const QString text = m_kit->dir.filePath(QStringLiteral("notes.txt"));
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("pas une icône");
    notes.close();
    form->OnChooseIconFile = [text] { return text; };
    control<QPushButton>(*form, "BrowseIco")->click();
    QVERIFY(box->pixmap().isNull());
    QVERIFY(!number->isEnabled());

    // Typing the name of an existing file shows its icon with the number.
    auto* field = control<QLineEdit>(*form, "IconEdit");
    field->clear();
    QTest::keyClicks(field, library);
    QCOMPARE(centreOf(box), QColor(0xFF, 0, 0));

    // "DEFAULT.ICO" takes default.ico beside the program when there is one.
    const QString beside = programFolder() + QStringLiteral("default.ico");
    QVERIFY(!QFileInfo::exists(beside));
    control<QWidget>(*form, "Lb3dDefautIco");
    form->DefaultIcoClick();
    QCOMPARE(centreOf(box), QColor(0xFF, 0, 0)); // nothing there: unchanged
    QVERIFY(QFile::copy(ico, beside));
    QTest::mouseClick(control<QWidget>(*form, "Lb3dDefautIco"), Qt::LeftButton);
    QFile::remove(beside);
    QCOMPARE(centreOf(box), QColor(0, 0, 0xFF));
    QCOMPARE(form->shownIcon(), icoBytes);
}

void SfxPagesTest::shownIconIsWhatTheProgramCarries() {
    if (!haveStub()) QSKIP("ZIPSFX.BIN is not built");
    QString zip;
    auto form = openArchive(&zip);
    const QString library = m_kit->dir.filePath(QStringLiteral("icones.dll"));
    QFile dll(library);
    QVERIFY(dll.open(QIODevice::WriteOnly));
    dll.write(twoIconLibrary());
    dll.close();
    form->OnChooseIconFile = [library] { return library; };
    control<QPushButton>(*form, "BrowseIco")->click();
    control<QSpinBox>(*form, "IconIndexUD")->setValue(1); // the yellow 16-colour image
    m_kit->host.queueAnswer(MsgResult::No);
    form->ToExeClick();
    const auto carried = groupIconAsIco(WindowTestKit::readAll(exeOf(zip)), 0);
    QVERIFY(carried.has_value());
    QCOMPARE(carried->mid(22), iconImage(32, 4, 0xFFFF00));
}

QTEST_MAIN(SfxPagesTest)
#include "SfxPagesTest.moc"
