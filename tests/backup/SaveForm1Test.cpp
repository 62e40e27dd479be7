// The backup window created offscreen on real folders, with scripted
// answers, fake volumes and processes; the settings file and the log are
// read back from disk.

#include "backup/TSaveForm1.h"

#include "controls/Hints.h"
#include "controls/TCheckBox98.h"
#include "controls/TFileLabel.h"
#include "controls/THemisphereButton.h"
#include "engine/ZipEngine.h"
#include "backup/run/BackupLog.h"
#include "password/ProgramTexts.h"
#include "password/TextCipher.h"
#include "settings/PrivateProfile.h"
#include "tests/fakes/FakeDiskEjector.h"
#include "tests/fakes/FakeFilesInUse.h"
#include "tests/fakes/FakeKeyboard.h"
#include "tests/fakes/FakeProcesses.h"
#include "tests/fakes/FakeVolumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace brx;

namespace {

const QDate kToday(2026, 3, 7);

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class SaveForm1Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void volumeRootIsRefusedAndTheProgramEnds();
    void missingFolderIsReportedAndTheProgramEnds();
    void folderGivesPatternAndName();
    void destinationWithoutTrailingSeparator();
    void selfExtractingAndDatePrefixBoxesActAtOnce();
    void dateOrderEntriesSwapAndAreWrittenAtOnce();
    void nameKeysAreFiltered();
    void browserAndResetChooseTheDestination();
    void quitWritesOptionsHistoriesAndLog();
    void closeBoxWritesNothing();
    void optionsComeBackInTheNextWindow();
    void escapeDuringCompressionAsksAndStaysOpen();
    void zipButtonRunsOneBackupAtATime();
    void cleanBackupWithAutomaticClosingQuits();
    void storedPasswordProtectsTheArchiveUnlessCtrlIsHeld();
    void detailsHintsListsAndFilterLabel();
    void keysAndPictureOpenFoldersAndFiles();
    void longLogIsDroppedAtOpening();
    void storedPasswordDialogHasItsDelayDimmed();
    void ejectAtQuitOnlyForARemovableDestination();

private:
    std::unique_ptr<TSaveForm1> window(const QString& folder);
    QString makeFolder(const QString& name, const QStringList& files = {});
    QString ini() const { return m_dir->filePath(QStringLiteral("BRX_EXPL.INI")); }
    QString logFile() const { return m_dir->filePath(QStringLiteral("BRXLogrun.txt")); }
    template <typename T>
    static T* child(const TSaveForm1& form, const char* name) {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    static QString destinationText(const TSaveForm1& form) {
        return child<TFileLabel>(form, "LbFileDest")->FileName();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedUserHost m_host;
    FakeVolumes m_volumes;
    FakeProcesses m_processes;
    FakeKeyboard m_keyboard;
    FakeDiskEjector m_ejector;
    FakeFilesInUse m_filesInUse;
    QString m_chosenFolder;
    int m_browses = 0;
    int m_abouts = 0;
};

void SaveForm1Test::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_host = ScriptedUserHost();
    m_volumes = FakeVolumes();
    m_volumes.setHome(QDir::homePath() + QLatin1Char('/'));
    m_processes = FakeProcesses();
    m_ejector = FakeDiskEjector();
    m_chosenFolder.clear();
    m_browses = 0;
    m_abouts = 0;
}

std::unique_ptr<TSaveForm1> SaveForm1Test::window(const QString& folder) {
    TSaveForm1::Services services;
    services.host = &m_host;
    services.volumes = &m_volumes;
    services.processes = &m_processes;
    services.keyboard = &m_keyboard;
    services.ejector = &m_ejector;
    services.filesInUse = &m_filesInUse;
    services.programFolder = m_dir->path();
    services.dllDirectory = qEnvironmentVariable("BRX_BIN_DIR");
    services.today = [] { return kToday; };
    services.chooseFolder = [this] {
        ++m_browses;
        return m_chosenFolder;
    };
    services.showAbout = [this] { ++m_abouts; };
    return std::make_unique<TSaveForm1>(QStringLiteral("-#") + folder, services);
}

QString SaveForm1Test::makeFolder(const QString& name, const QStringList& files) {
    QDir root(m_dir->path());
    root.mkpath(name);
    for (const QString& file : files) {
        QFile out(root.filePath(name + QLatin1Char('/') + file));
        if (out.open(QIODevice::WriteOnly)) out.write(QByteArray(20000, 'z') + file.toUtf8());
    }
    return root.filePath(name);
}

void SaveForm1Test::volumeRootIsRefusedAndTheProgramEnds() {
    const QString disk = makeFolder(QStringLiteral("disque"));
    m_volumes.setVolume(disk + QLatin1Char('/'), FakeVolume{});
    for (const QString& argument : {disk, disk + QLatin1Char('/')}) {
        m_host.messages.clear();
        auto form = window(argument);
        QVERIFY(form->ended());
        QVERIFY(!form->isVisible());
        QCOMPARE(m_host.messages.size(), 1);
        QCOMPARE(m_host.messages.first().text,
                 QStringLiteral("Cet utilitaire n'est pas conçu pour faire un backup entier de "
                                "disque dur."));
        QCOMPARE(m_host.messages.first().buttons, MsgButtons::Ok);
    }
    // Nothing was prepared for a backup.
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Sas_Zip"))));
    QVERIFY(!QFileInfo::exists(logFile()));
}

void SaveForm1Test::missingFolderIsReportedAndTheProgramEnds() {
    const QString missing = m_dir->filePath(QStringLiteral("absent"));
    auto form = window(missing);
    QVERIFY(form->ended());
    QVERIFY(!form->isVisible());
    QCOMPARE(m_host.messages.size(), 1);
    QVERIFY(m_host.messages.first().text.contains(missing));
    // A file is no folder to back up either.
    QFile file(m_dir->filePath(QStringLiteral("fichier")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(window(file.fileName())->ended());
}

void SaveForm1Test::folderGivesPatternAndName() {
    const QString data = makeFolder(QStringLiteral("Data"), {QStringLiteral("a.txt")});
    auto form = window(data + QLatin1Char('/'));
    QVERIFY(!form->ended());
    QVERIFY(form->isVisible());
    QCOMPARE(form->sourceFolder(), data);
    QCOMPARE(child<TFileLabel>(*form, "LbFileRep2Sav")->FileName(), data + QStringLiteral("/*.*"));
    QCOMPARE(child<QLineEdit>(*form, "EdArchiveName")->text(), QStringLiteral("Data"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Sauvegarde des données."));
    QCOMPARE(form->size(), QSize(400, 300));
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("Sas_Zip"))).isDir());
    QCOMPARE(form->stagingArchive(), m_dir->filePath(QStringLiteral("Sas_Zip/Data.zip")));
    QVERIFY(m_host.messages.isEmpty()); // the compression library was found
    // The window's own long hint, kept enciphered, is a short French text.
    QCOMPARE(Hint(form.get()), QStringLiteral("|") + backupWindowLongHint());
    QCOMPARE(backupWindowLongHint().size(), 25);

    // The Zip button as designed.
    const THemisphereButton* zip = form->zipButton();
    QCOMPARE(zip->geometry(), QRect(280, 70, 90, 90));
    QCOMPARE(zip->Caption(), QStringLiteral("Zip"));
    QCOMPARE(zip->FaceColor(), QColor(0, 128, 128));
    QVERIFY(zip->font().bold());
    QCOMPARE(zip->font().pointSize(), 16);
    QCOMPARE(zip->BevelWidth(), 4);
    // The engine as the window stores it.
    QCOMPARE(form->engine().HowToDelete(), htdFinal);
    QCOMPARE(form->engine().PasswordReqCount(), 0u);
    QVERIFY(form->engine().SFXOptions() == SFXOpts());
    QVERIFY(!form->engine().AddStoreSuffixes().testFlag(assEXE));
}

void SaveForm1Test::destinationWithoutTrailingSeparator() {
    const QString data = makeFolder(QStringLiteral("Data"));
    const QString dest = makeFolder(QStringLiteral("Sauve"));
    PrivateProfile(ini()).writeSection(
        QStringLiteral("HistoryShelDir"),
        {{QStringLiteral("n0"), dest}, {QStringLiteral("last"), dest}});
    auto form = window(data);
    QCOMPARE(form->destinationFolder(), dest + QLatin1Char('/'));
    QCOMPARE(form->destinationArchive(), dest + QStringLiteral("/0703Data.Zip"));
    QCOMPARE(destinationText(*form), form->destinationArchive());

    // After editing: the name and the destination typed without separator.
    auto* name = child<QLineEdit>(*form, "EdArchiveName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("Copie"));
    auto* path = child<QComboBox>(*form, "ComboPath");
    QTest::keyClicks(path->lineEdit(), QStringLiteral("/Jour"));
    QCOMPARE(form->destinationArchive(), dest + QStringLiteral("/Jour/0703Copie.Zip"));
    QCOMPARE(form->stagingArchive(), m_dir->filePath(QStringLiteral("Sas_Zip/Copie.zip")));
}

void SaveForm1Test::selfExtractingAndDatePrefixBoxesActAtOnce() {
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    auto form = window(makeFolder(QStringLiteral("Data")));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    auto* exe = child<TCheckBox98>(*form, "CBExe");
    auto* ext = child<QLabel>(*form, "LbZipExt");
    QVERIFY(!exe->Checked());
    QTest::mouseClick(exe, Qt::LeftButton);
    QVERIFY(exe->Checked());
    QCOMPARE(ext->text(), QStringLiteral(".Exe"));
    QVERIFY(form->destinationArchive().endsWith(QStringLiteral("/0703Data.Exe")));
    QVERIFY(destinationText(*form).endsWith(QStringLiteral(".Exe")));
    QTest::mouseClick(exe, Qt::LeftButton);
    QCOMPARE(ext->text(), QStringLiteral(".Zip"));

    auto* prefix = child<TCheckBox98>(*form, "CBDatePrefix");
    QVERIFY(prefix->Checked());
    QTest::mouseClick(prefix, Qt::LeftButton);
    QCOMPARE(child<QLabel>(*form, "LbDateZip")->text(), QString());
    QCOMPARE(form->destinationArchive(), m_chosenFolder + QStringLiteral("/Data.Zip"));
    QTest::mouseClick(prefix, Qt::LeftButton);
    QCOMPARE(child<QLabel>(*form, "LbDateZip")->text(), QStringLiteral("0703"));
}

void SaveForm1Test::dateOrderEntriesSwapAndAreWrittenAtOnce() {
    auto form = window(makeFolder(QStringLiteral("Data")));
    auto* dayMonth = child<QAction>(*form, "JJMM");
    auto* monthDay = child<QAction>(*form, "MMJJ");
    auto* submenu = child<QMenu>(*form, "FormatDate");
    submenu->popup(QPoint(0, 0));
    QCOMPARE(dayMonth->text(), QStringLiteral("JourMoisArchive.zip -> 0703MesDatas.zip"));
    QCOMPARE(monthDay->text(), QStringLiteral("MoisJourArchive.zip -> 0307MesDatas.zip"));
    submenu->hide();

    // Choosing the entry already checked swaps the order all the same.
    QVERIFY(dayMonth->isChecked());
    dayMonth->trigger();
    QVERIFY(!dayMonth->isChecked());
    QVERIFY(monthDay->isChecked());
    QCOMPARE(child<QLabel>(*form, "LbDateZip")->text(), QStringLiteral("0307"));
    QCOMPARE(PrivateProfile(ini()).readString(QStringLiteral("general"), QStringLiteral("dm")),
             QStringLiteral("0"));
    monthDay->trigger();
    QVERIFY(dayMonth->isChecked());
    QVERIFY(!monthDay->isChecked());
    QCOMPARE(child<QLabel>(*form, "LbDateZip")->text(), QStringLiteral("0703"));
    QCOMPARE(PrivateProfile(ini()).readString(QStringLiteral("general"), QStringLiteral("dm")),
             QStringLiteral("1"));
}

void SaveForm1Test::nameKeysAreFiltered() {
    auto form = window(makeFolder(QStringLiteral("Data")));
    auto* name = child<QLineEdit>(*form, "EdArchiveName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("a.b,c;d'e(f)+g=h[i]^j%k?l<m>n|o\"p`q"));
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QStringLiteral("é"), Qt::NoModifier);
    QCOMPARE(name->text(), QStringLiteral("abcdefghijklmnopq"));
    QTest::keyClicks(name, QStringLiteral(" @!#$&*-:\\/_~Z9"));
    QCOMPARE(name->text(), QStringLiteral("abcdefghijklmnopq @!#$&*-:\\/_~Z9"));
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), QStringLiteral("abcdefghijklmnopq @!#$&*-:\\/_~Z"));

    // Enter in the destination box remembers the text typed.
    auto* path = child<QComboBox>(*form, "ComboPath");
    QTest::keyClicks(path->lineEdit(), QStringLiteral("/srv/Sauve.x"));
    QCOMPARE(path->currentText(), QStringLiteral("/srv/Sauvex"));
    QTest::keyClick(path->lineEdit(), Qt::Key_Return);
    QCOMPARE(path->count(), 1);
    QCOMPARE(path->itemText(0), QStringLiteral("/srv/Sauvex"));
    QTest::keyClick(path->lineEdit(), Qt::Key_Return);
    QCOMPARE(path->count(), 1);

    auto* filter = child<QComboBox>(*form, "ComboWildCar");
    filter->lineEdit()->selectAll();
    QTest::keyClicks(filter->lineEdit(), QStringLiteral("*.doc"));
    QCOMPARE(filter->currentText(), QStringLiteral("*doc"));
    QTest::keyClick(filter->lineEdit(), Qt::Key_Enter);
    QCOMPARE(filter->count(), 1);
    QCOMPARE(form->sourcePattern(), form->sourceFolder() + QStringLiteral("/*doc"));
}

void SaveForm1Test::browserAndResetChooseTheDestination() {
    const QString other = makeFolder(QStringLiteral("Autre"));
    m_volumes.setVolume(QStringLiteral("/media/cle/"), FakeVolume{DriveType::Removable});
    auto form = window(makeFolder(QStringLiteral("Data")));
    auto* path = child<QComboBox>(*form, "ComboPath");
    auto* browse = child<THemisphereButton>(*form, "Bttn3dBrowseFolder");

    browse->click(); // cancelled: the home folder
    QCOMPARE(m_browses, 1);
    const QString home = QDir::homePath() + QLatin1Char('/');
    QCOMPARE(path->currentText(), home);
    QCOMPARE(form->destinationFolder(), home);
    QCOMPARE(form->destinationArchive(), home + QStringLiteral("0703Data.Zip"));

    m_chosenFolder = other;
    browse->click();
    QCOMPARE(form->destinationFolder(), other + QLatin1Char('/'));
    QCOMPARE(path->count(), 2); // both remembered
    QCOMPARE(path->itemText(1), other + QLatin1Char('/'));

    child<THemisphereButton>(*form, "Bttn3DDelComboPath")->click();
    QStringList items;
    for (int i = 0; i < path->count(); ++i) items << path->itemText(i);
    QCOMPARE(items, m_volumes.volumeRoots());
    QCOMPARE(path->currentText(), home);
    QCOMPARE(form->destinationFolder(), home);
}

void SaveForm1Test::quitWritesOptionsHistoriesAndLog() {
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    auto form = window(makeFolder(QStringLiteral("Data")));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    for (const char* box : {"CBExe", "CbSubDir", "CBPassWord", "CbUpdateZip", "AuToClose"})
        QTest::mouseClick(child<TCheckBox98>(*form, box), Qt::LeftButton);
    child<QSpinBox>(*form, "UpTxComp")->setValue(7);
    auto* filter = child<QComboBox>(*form, "ComboWildCar");
    QTest::keyClick(filter->lineEdit(), Qt::Key_Return);

    QTest::keyClick(child<QLineEdit>(*form, "EdArchiveName"), Qt::Key_Escape);
    QVERIFY(!form->isVisible());
    QVERIFY(form->iniFile() == nullptr); // released at quit

    const PrivateProfile file(ini());
    QCOMPARE(file.keys(QStringLiteral("explo")),
             (QStringList{"sfx", "subdir", "storepath", "pass", "update", "date", "eject", "close",
                          "level"}));
    QCOMPARE(file.keys(QStringLiteral("general")), QStringList());
    const QStringList values{"1", "0", "1", "1", "1", "1", "0", "1", "7"};
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(file.readString(QStringLiteral("explo"), file.keys(QStringLiteral("explo"))[i]),
                 values[i]);
    QCOMPARE(file.readString(QStringLiteral("HistoryShelDir"), QStringLiteral("n0")),
             m_chosenFolder + QLatin1Char('/'));
    QCOMPARE(file.readString(QStringLiteral("HistoryShelDir"), QStringLiteral("last")),
             m_chosenFolder + QLatin1Char('/'));
    QCOMPARE(file.readString(QStringLiteral("HWC"), QStringLiteral("n0")), QStringLiteral("*.*"));

    const QStringList log = readText(logFile()).split(QLatin1Char('\n'));
    QCOMPARE(log.first(), QString()); // an empty line stands before the banner
    QVERIFY(log.value(1).startsWith(QStringLiteral("------------         ")));
    QVERIFY(
        log.value(1).endsWith(QStringLiteral("         Ouverture BRX_EXPLO         ------------")));
    QVERIFY(
        log.value(3).endsWith(QStringLiteral("         Fermeture BRX_EXPLO         ------------")));
}

void SaveForm1Test::closeBoxWritesNothing() {
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    auto form = window(makeFolder(QStringLiteral("Data")));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    QTest::mouseClick(child<TCheckBox98>(*form, "CBExe"), Qt::LeftButton);
    QVERIFY(form->close());
    QVERIFY(!QFileInfo::exists(ini()));
    QVERIFY(!QFileInfo::exists(logFile()));
}

void SaveForm1Test::optionsComeBackInTheNextWindow() {
    PrivateProfile file(ini());
    file.writeInt(QStringLiteral("explo"), QStringLiteral("level"), 5);
    file.writeBool(QStringLiteral("explo"), QStringLiteral("sfx"), true);
    file.writeBool(QStringLiteral("explo"), QStringLiteral("subdir"), false);
    file.writeBool(QStringLiteral("explo"), QStringLiteral("date"), false);
    file.writeBool(QStringLiteral("explo"), QStringLiteral("close"), true);
    file.writeBool(QStringLiteral("general"), QStringLiteral("vhint"), false);
    file.writeSection(QStringLiteral("HWC"), {{QStringLiteral("n0"), QStringLiteral("*.*")},
                                              {QStringLiteral("n1"), QStringLiteral("*doc")},
                                              {QStringLiteral("last"), QStringLiteral("*doc")}});
    auto form = window(makeFolder(QStringLiteral("Data")));
    QCOMPARE(child<QSpinBox>(*form, "UpTxComp")->value(), 5);
    QCOMPARE(child<QLineEdit>(*form, "EdTxComp")->text(), QStringLiteral("5"));
    QVERIFY(child<TCheckBox98>(*form, "CBExe")->Checked());
    QVERIFY(!child<TCheckBox98>(*form, "CbSubDir")->Checked());
    QVERIFY(child<TCheckBox98>(*form, "CbPath")->Checked());
    QVERIFY(child<TCheckBox98>(*form, "AuToClose")->Checked());
    QVERIFY(!child<QAction>(*form, "AffichageHint")->isChecked());
    QCOMPARE(child<QLabel>(*form, "LbZipExt")->text(), QStringLiteral(".Exe"));
    QCOMPARE(child<QLabel>(*form, "LbDateZip")->text(), QString());
    QCOMPARE(form->sourcePattern(), form->sourceFolder() + QStringLiteral("/*doc"));
    QCOMPARE(child<QComboBox>(*form, "ComboWildCar")->count(), 2);

    // The hints entry writes its key at once.
    child<QAction>(*form, "AffichageHint")->trigger();
    QCOMPARE(PrivateProfile(ini()).readString(QStringLiteral("general"), QStringLiteral("vhint")),
             QStringLiteral("1"));
}

void SaveForm1Test::escapeDuringCompressionAsksAndStaysOpen() {
    const QString data = makeFolder(QStringLiteral("Data"), {"a.txt", "b.txt", "c.txt"});
    const QString cancelQuestion =
        QStringLiteral("Souhaitez vous annuler la compression en cours ?");
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        QFile::remove(ini());
        m_host.messages.clear();
        auto form = window(data);
        QVERIFY(form->isVisible());
        TZipEngine& engine = form->engine();
        const QString archive = m_dir->filePath(QStringLiteral("essai.zip"));
        QFile::remove(archive);
        engine.setZipFileName(archive);
        engine.setFSpecArgs({data + QStringLiteral("/*.*")});
        bool asked = false;
        engine.OnProgress = [&](ProgressType type, const QString&, qint64) {
            if (type != ProgrNewFile || asked) return;
            asked = true;
            m_host.queueAnswer(answer);
            m_host.queueAnswer(answer);
            QTest::keyClick(form.get(), Qt::Key_Escape); // the quit procedure
            QVERIFY(!form->close());                     // and the close box
        };
        engine.Add();
        QVERIFY(asked);
        QVERIFY(form->isVisible());
        int questions = 0;
        for (const MessageRequest& message : m_host.messages)
            if (message.text == cancelQuestion) {
                ++questions;
                QCOMPARE(message.buttons, MsgButtons::YesNo);
                QCOMPARE(message.icon, MsgIcon::Warning);
            }
        QCOMPARE(questions, 2);
        QVERIFY(!QFileInfo::exists(ini()));
        if (answer == MsgResult::No) {
            QCOMPARE(engine.SuccessCnt(), 3);
            QProcess unzip;
            unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tqq"), archive});
            QVERIFY(unzip.waitForFinished());
            QCOMPARE(unzip.exitCode(), 0);
        } else {
            QVERIFY(engine.SuccessCnt() < 3);
        }
        // Once the compression is over, Esc quits.
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }
}

void SaveForm1Test::zipButtonRunsOneBackupAtATime() {
    const QString data = makeFolder(QStringLiteral("Data"), {"a.txt", "b.txt"});
    makeFolder(QStringLiteral("Data/sous"), {"c.txt"});
    auto form = window(data);
    const auto pressZip = [&form] {
        QTest::mouseClick(form->zipButton(), Qt::LeftButton, {}, QPoint(45, 45));
    };
    // First use: no destination yet, no run.
    pressZip();
    QCOMPARE(m_host.messages.size(), 1);
    QVERIFY(m_host.messages.first().text.contains(QStringLiteral("destination")));
    QCOMPARE(QDir(form->stagingFolder()).entryList(QDir::Files), QStringList());

    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    // Nor without a name.
    auto* name = child<QLineEdit>(*form, "EdArchiveName");
    name->clear();
    pressZip();
    QCOMPARE(m_host.messages.size(), 2);
    QVERIFY(m_host.messages.last().text.contains(QStringLiteral("nom")));
    QCOMPARE(QDir(form->stagingFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QTest::keyClicks(name, QStringLiteral("Data"));
    const TProgressEvent shown = form->engine().OnProgress;
    int pressesDuringRun = 0;
    form->engine().OnProgress = [&](ProgressType type, const QString& name, qint64 size) {
        shown(type, name, size);
        if (type != ProgrNewFile || pressesDuringRun > 0) return;
        ++pressesDuringRun;
        QVERIFY(form->running());
        QVERIFY(!form->zipButton()->isEnabled());
        pressZip();
        form->CliCBtn3dZip();
    };
    pressZip();
    QCOMPARE(pressesDuringRun, 1);
    QVERIFY(!form->running());
    QVERIFY(form->zipButton()->isEnabled());

    const QString archive = m_chosenFolder + QStringLiteral("/0703Data.Zip");
    QCOMPARE(form->destinationArchive(), archive);
    QVERIFY(QFileInfo::exists(archive));
    QVERIFY(!QFileInfo::exists(form->stagingArchive())); // not kept without "Mise à jour"
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tqq"), archive});
    QVERIFY(unzip.waitForFinished());
    QCOMPARE(unzip.exitCode(), 0);

    QCOMPARE(form->windowTitle(), QStringLiteral("Sauvegarde des données : Terminée."));
    QCOMPARE(form->height(), 330);
    // Stored with paths, the subfolder as an entry of its own; sorted at the end.
    QStringList processed;
    for (int i = 0; i < child<QListWidget>(*form, "ListBox3")->count(); ++i)
        processed << child<QListWidget>(*form, "ListBox3")->item(i)->text();
    QCOMPARE(processed,
             (QStringList{data + "/a.txt", data + "/b.txt", data + "/sous", data + "/sous/c.txt"}));
    QCOMPARE(child<QListWidget>(*form, "ListBox1")->count(), 0);
    QCOMPARE(child<QLabel>(*form, "LbFileNbProcess")->text(),
             QStringLiteral("Fichiers traités : 4/4"));
    QVERIFY(destinationText(*form).startsWith(archive + QStringLiteral("  [ ")));
    QVERIFY(!child<QProgressBar>(*form, "ProgressBar1")->isVisible());
    const QStringList log = form->backupLog().lines();
    QCOMPARE(log.filter(QStringLiteral("  Filtre inclusion : ")),
             QStringList{QStringLiteral("  Filtre inclusion : ") + data + QStringLiteral("/*.*")});
    QVERIFY(log.contains(QStringLiteral("-Sauvegarde terminée : Ok")));
}

void SaveForm1Test::cleanBackupWithAutomaticClosingQuits() {
    PrivateProfile(ini()).writeBool(QStringLiteral("explo"), QStringLiteral("close"), true);
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    auto form = window(makeFolder(QStringLiteral("Data"), {"a.txt"}));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    QTest::mouseClick(form->zipButton(), Qt::LeftButton, {}, QPoint(45, 45));
    QVERIFY(!form->isVisible());
    QVERIFY(QFileInfo::exists(m_chosenFolder + QStringLiteral("/0703Data.Zip")));
    // The quit procedure ran: options, history and log stored.
    QCOMPARE(
        PrivateProfile(ini()).readString(QStringLiteral("HistoryShelDir"), QStringLiteral("last")),
        m_chosenFolder + QLatin1Char('/'));
    const QString log = readText(logFile());
    QVERIFY(log.contains(QStringLiteral("\n-Sauvegarde terminée : Ok\n")));
    QVERIFY(log.trimmed().endsWith(QStringLiteral("Fermeture BRX_EXPLO         ------------")));
}

void SaveForm1Test::storedPasswordProtectsTheArchiveUnlessCtrlIsHeld() {
    PrivateProfile file(ini());
    file.writeString(QStringLiteral("div"), QStringLiteral("dateinstall"),
                     CryptPassword(QStringLiteral("Mot2Passe"), {}, true));
    file.writeBool(QStringLiteral("explo"), QStringLiteral("pass"), true);
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    const QString archive = m_chosenFolder + QStringLiteral("/0703Data.Zip");
    const auto unzipTest = [&archive](const QString& password) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"),
                    {QStringLiteral("-tqq"), QStringLiteral("-P"), password, archive});
        unzip.waitForFinished();
        return unzip.exitCode();
    };
    for (const bool ctrl : {false, true}) {
        QFile::remove(archive);
        m_host.messages.clear();
        m_keyboard.ctrl = ctrl;
        m_host.queueAnswer(MsgResult::No); // asked only with Ctrl held
        auto form = window(makeFolder(QStringLiteral("Data"), {"a.txt"}));
        child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
        QTest::mouseClick(form->zipButton(), Qt::LeftButton, {}, QPoint(45, 45));
        QVERIFY(QFileInfo::exists(archive));
        QCOMPARE(m_host.messages.size(), ctrl ? 1 : 0);
        QCOMPARE(unzipTest(QStringLiteral("Mot2Passe")), 0);
        QCOMPARE(unzipTest(QStringLiteral("autre")) == 0, ctrl);
        QVERIFY(!form->engine().AddOptions().testFlag(AddEncrypt) || !ctrl);
    }
}

void SaveForm1Test::detailsHintsListsAndFilterLabel() {
    auto form = window(makeFolder(QStringLiteral("Data")));
    QTest::keyClick(form.get(), Qt::Key_F5);
    QCOMPARE(form->width(), 590);
    QTest::keyClick(form.get(), Qt::Key_F5);
    QCOMPARE(form->width(), 400);
    child<THemisphereButton>(*form, "Btt3Ddetails")->click();
    QCOMPARE(form->width(), 590);
    QTest::mouseClick(child<QWidget>(*form, "Lb3Details"), Qt::LeftButton);
    QCOMPARE(form->width(), 400);

    // The bevel behind a command sinks under the mouse; the window raises them all.
    auto* quitBevel = child<QFrame>(*form, "BevelQuit");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(child<QWidget>(*form, "Lb3Quit"), &enter);
    QCOMPARE(quitBevel->frameShadow(), QFrame::Sunken);
    QApplication::sendEvent(child<QWidget>(*form, "CentralPanel"), &enter);
    QCOMPARE(quitBevel->frameShadow(), QFrame::Raised);
    QTest::mouseClick(child<QWidget>(*form, "Lb3About"), Qt::LeftButton);
    child<THemisphereButton>(*form, "Bttn3DAbout")->click();
    QCOMPARE(m_abouts, 2);

    // A right click on the password box opens the window's menu.
    auto* password = child<QWidget>(*form, "CBPassWord");
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                 password->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(password, &rightClick);
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    QVERIFY(menu->isVisible());
    menu->hide();

    auto* errors = child<QListWidget>(*form, "ListBox1");
    errors->addItems(
        {QStringLiteral("767 premier"), QStringLiteral("Erreur copie sur média : -3")});
    QTest::mouseClick(errors->viewport(), Qt::LeftButton, {},
                      errors->visualItemRect(errors->item(1)).center());
    QCOMPARE(Hint(errors), QStringLiteral("Erreur copie sur média : -3"));

    auto* filter = child<QComboBox>(*form, "ComboWildCar");
    filter->addItems({QStringLiteral("*doc"), QStringLiteral("*txt")});
    filter->setEditText(QStringLiteral("*txt"));
    QTest::mouseDClick(child<QLabel>(*form, "LbFiltre"), Qt::LeftButton);
    QCOMPARE(filter->count(), 0);
    QCOMPARE(form->sourcePattern(), form->sourceFolder() + QStringLiteral("/*.*"));

    QCOMPARE(GetShortHint(Hint(child<QWidget>(*form, "CBPassWord"))), QString());
    QCOMPARE(GetLongHint(Hint(child<QWidget>(*form, "CBPassWord"))),
             QStringLiteral("Vous pouvez spécifier un mot de passe (Clic DROIT de souris)."));
    QCOMPARE(Hint(child<QWidget>(*form, "Bttn3dBrowseFolder")),
             QStringLiteral("Sélection du lecteur/répertoire de stockage"));
}

void SaveForm1Test::keysAndPictureOpenFoldersAndFiles() {
    m_chosenFolder = makeFolder(QStringLiteral("Dest"));
    auto form = window(makeFolder(QStringLiteral("Data")));
    child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
    m_processes.setAssociation(form->stagingFolder(), QStringLiteral("gestionnaire"));
    m_processes.addProgram(QStringLiteral("gestionnaire"));
    QTest::keyClick(form.get(), Qt::Key_F9);
    QTest::keyClick(form.get(), Qt::Key_F10);
    QTest::keyClick(form.get(), Qt::Key_F11);
    QCOMPARE(m_processes.associationQueries,
             (QStringList{form->stagingFolder(), m_chosenFolder, form->settingsFile()}));
    QCOMPARE(m_processes.attempts.value(1).argv,
             (QStringList{QStringLiteral("gestionnaire"), form->stagingFolder()}));
    QCOMPARE(m_processes.attempts.value(1).mode, ShowMode::Shown);
    QVERIFY(!m_processes.attempts.value(1).watched);

    m_processes.attempts.clear();
    QTest::mouseClick(child<QLabel>(*form, "Image1"), Qt::LeftButton);
    QCOMPARE(m_processes.attempts.size(), 1);
    QCOMPARE(m_processes.attempts.first().argv,
             (QStringList{QStringLiteral("xdg-open"), m_chosenFolder + QLatin1Char('/')}));
    QCOMPARE(m_processes.attempts.first().mode, ShowMode::Maximised);
    QVERIFY(form->isMinimized());
    form->CkBtt3DQuitter();
    QVERIFY(readText(logFile()).contains(QStringLiteral("\n-Appel explorer : ") + m_chosenFolder +
                                         QStringLiteral("/\n")));
}

void SaveForm1Test::longLogIsDroppedAtOpening() {
    const QString data = makeFolder(QStringLiteral("Data"));
    for (const int size : {50000, 50001}) {
        QFile log(logFile());
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(QByteArray(size - 1, 'x') + '\n');
        log.close();
        auto form = window(data);
        child<THemisphereButton>(*form, "Bttn3dQuitter")->click();
        QVERIFY(!form->isVisible());
        const QString text = readText(logFile());
        if (size == 50000)
            QVERIFY(text.startsWith(QString(size - 1, 'x') + QStringLiteral("\n\n----")));
        else
            QVERIFY(text.startsWith(QStringLiteral("\n------------")));
    }
}

void SaveForm1Test::storedPasswordDialogHasItsDelayDimmed() {
    auto form = window(makeFolder(QStringLiteral("Data")));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        seen = true;
        QVERIFY(!dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->isEnabled());
        dialog->reject();
    });
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(seen);
    QVERIFY(!QFileInfo::exists(ini()));
}

void SaveForm1Test::ejectAtQuitOnlyForARemovableDestination() {
    const QString key = makeFolder(QStringLiteral("cle"));
    m_volumes.setVolume(key + QLatin1Char('/'), FakeVolume{DriveType::Removable});
    for (const bool removable : {false, true}) {
        m_ejector.ejectedRoots.clear();
        QFile::remove(ini()); // the box starts unchecked each time
        m_chosenFolder = removable ? key : makeFolder(QStringLiteral("fixe"));
        auto form = window(makeFolder(QStringLiteral("Data")));
        child<THemisphereButton>(*form, "Bttn3dBrowseFolder")->click();
        QTest::mouseClick(child<TCheckBox98>(*form, "CbEject"), Qt::LeftButton);
        form->CkBtt3DQuitter();
        QCOMPARE(m_ejector.ejectedRoots,
                 removable ? QStringList{key + QLatin1Char('/')} : QStringList());
    }
}

QTEST_MAIN(SaveForm1Test)
#include "SaveForm1Test.moc"
