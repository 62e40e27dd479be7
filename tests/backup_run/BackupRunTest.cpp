// Whole backups on real folders with the real compression library: what
// lands at the destination, what peers read back, and the log of each step.

#include "BackupRunFixture.h"

#include "tests/fakes/FakeDiskEjector.h"
#include "tests/fakes/FakeVolumes.h"

#include <QRegularExpression>
#include <QSignalSpy>

namespace brx::test {
namespace {

using BackupRunTest = BackupRunFixture;

QString binTool(const QString& name) {
    return qEnvironmentVariable("BRX_BIN_DIR") + "/" + name;
}

// Extracts the archive with unzip into a fresh folder and compares every
// file with the source folder.
void expectSameContent(const QString& archive, const QString& sourceFolder, const QString& work,
                       const QStringList& extra = {}) {
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const ToolResult result = runTool("unzip", extra + QStringList{"-q", archive, "-d", work});
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.output);
    const QString stored = work + sourceFolder; // stored with the absolute path less its "/"
    for (const QString& name : QStringList{"a.txt", "b.bin", "sub/c.txt"}) {
        QFile original(sourceFolder + "/" + name);
        QFile copy(stored + "/" + name);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << qPrintable(copy.fileName());
        EXPECT_EQ(original.readAll(), copy.readAll()) << qPrintable(name);
    }
}

TEST_F(BackupRunTest, CleanRunCopiesTheDatedArchiveAndLogsEveryStepInOrder) {
    request.storePaths = false; // subfolders force stored paths
    QSignalSpy forced(&run(), &BackupRun::storePathsForced);
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();

    EXPECT_TRUE(request.storePaths);
    EXPECT_EQ(forced.count(), 1);
    EXPECT_EQ(&engine.host(), &host) << "the window's host is given back after the run";
    EXPECT_GT(host.eventPasses, 0);
    EXPECT_TRUE(outcome.success) << qPrintable(outcome.errors.join('\n'));
    EXPECT_EQ(destination(), dir.filePath("dest/0912Data.Zip"));
    ASSERT_TRUE(QFile::exists(destination()));
    EXPECT_FALSE(QFile::exists(staging())) << "the staging archive is cleaned";
    EXPECT_EQ(runTool("unzip", {"-tq", destination()}).exitCode, 0);
    expectSameContent(destination(), request.sourceFolder, dir.filePath("out"));

    EXPECT_TRUE(QRegularExpression(R"(^\[ \d+ / \d+% / \d\d:\d\d Sec\.\]$)")
                    .match(outcome.summaryText)
                    .hasMatch())
        << qPrintable(outcome.summaryText);
    const QString size = QString::number(QFileInfo(destination()).size());
    const QStringList expected{
        "  Filtre inclusion : " + request.sourceFolder + "/*.*",
        "-Creation(s) archive(s) dans le Sas : " + request.programFolder + "Sas_Zip/",
        staging() + " [" + size + "] " + outcome.summaryText + " ---> OK ",
        "-Transfert final sur media : " + request.destinationFolder,
        "   Place libre sur media : " +
            log.lines().value(4).mid(QString("   Place libre sur media : ").size()),
        "   Creation de : " + destination() + " [" + size + "] " + " ---> OK ",
        "   Info Zip : " + outcome.summaryText,
        "-Sauvegarde terminée : Ok",
    };
    EXPECT_EQ(log.lines(), expected);
    EXPECT_GT(log.lines().value(4).mid(27).toLongLong(), 0);

    EXPECT_EQ(outcome.caption, "Sauvegarde des données : Terminée.");
    EXPECT_EQ(outcome.destinationText, destination() + "  [ " + outcome.sizeText + " ]");
    EXPECT_EQ(outcome.finalInfo, "- Sauvegarde terminée.    Vous pouvez quitter.");
    EXPECT_TRUE(outcome.filesInUse.isEmpty());
    EXPECT_EQ(filesInUse.snapshots, 1) << "one look at the open files per backup";
    EXPECT_TRUE(outcome.processedFiles.contains(request.sourceFolder + "/sub/c.txt"))
        << qPrintable(outcome.processedFiles.join('\n'));
    QStringList sorted = outcome.processedFiles;
    sorted.sort();
    EXPECT_EQ(outcome.processedFiles, sorted);
}

TEST_F(BackupRunTest, ProgressNoticesCountFilesAndMoveWithinEachFile) {
    QSignalSpy counter(&run(), &BackupRun::filesCounterChanged);
    QSignalSpy bar(&run(), &BackupRun::progressChanged);
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    ASSERT_GT(outcome.totalFiles, 0);
    EXPECT_EQ(counter.first().first().toString(), "Fichiers traités : ");
    EXPECT_EQ(
        counter.last().first().toString(),
        QString("Fichiers traités : %1/%2").arg(outcome.filesProcessed).arg(outcome.totalFiles));
    // Within a file the bar never goes back; it ends at 0, hidden.
    int last = 0;
    for (const QList<QVariant>& notice : bar) {
        const int position = notice.at(0).toInt();
        if (position > 1) {
            EXPECT_GE(position, last);
        }
        EXPECT_LE(position, 100);
        last = position;
    }
    EXPECT_EQ(bar.last().at(0).toInt(), 0);
    EXPECT_FALSE(bar.last().at(1).toBool());
}

TEST_F(BackupRunTest, UpdateKeepsTheStagingArchiveAndTheNextRunUpdatesIt) {
    request.update = true;
    ASSERT_TRUE(run().ZipButGo(request));
    ASSERT_TRUE(QFile::exists(staging()));
    EXPECT_TRUE(run().outcome().stagingKept);
    EXPECT_FALSE(engine.AddOptions().testFlag(AddUpdate));

    writeFile("src/new.txt", "added for the second run");
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_TRUE(engine.AddOptions().testFlag(AddUpdate));
    EXPECT_TRUE(run().outcome().success);
    const ToolResult listing = runTool("unzip", {"-l", destination()});
    EXPECT_TRUE(listing.output.contains("src/new.txt")) << qPrintable(listing.output);
    EXPECT_TRUE(listing.output.contains("src/sub/c.txt"));
    EXPECT_EQ(runTool("unzip", {"-tq", staging()}).exitCode, 0);
}

TEST_F(BackupRunTest, SelfExtractingRunGivesAnExeThatPeersAccept) {
    if (!QFile::exists(binTool("ZIPSFX.BIN"))) GTEST_SKIP() << "no self-extractor stub built";
    request.selfExtracting = true;
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    EXPECT_TRUE(outcome.success) << qPrintable(outcome.errors.join('\n'));
    EXPECT_EQ(destination(), dir.filePath("dest/0912Data.Exe"));
    ASSERT_TRUE(QFile::exists(destination()));
    const ToolResult tested = runTool("7zz", {"t", destination()});
    EXPECT_EQ(tested.exitCode, 0) << qPrintable(tested.output);
    const QString exe = request.programFolder + "Sas_Zip/Data.exe";
    const QString size = QString::number(QFileInfo(destination()).size());
    EXPECT_TRUE(log.lines().contains("Conversion Autoextractible : " + exe + " [" + size + "] " +
                                     " ---> OK "))
        << qPrintable(log.lines().join('\n'));
    EXPECT_FALSE(QFile::exists(exe));
    EXPECT_FALSE(QFile::exists(staging()));
}

TEST_F(BackupRunTest, ASelfExtractorKeptForUpdateIsMadeAgainNextTime) {
    if (!QFile::exists(binTool("ZIPSFX.BIN"))) GTEST_SKIP() << "no self-extractor stub built";
    request.selfExtracting = true;
    request.update = true;
    ASSERT_TRUE(run().ZipButGo(request));
    const QString exe = request.programFolder + "Sas_Zip/Data.exe";
    ASSERT_TRUE(QFile::exists(exe));
    writeFile("src/new.txt", "added for the second run");
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_TRUE(run().outcome().success) << qPrintable(run().outcome().errors.join('\n'));
    const ToolResult listing = runTool("7zz", {"l", destination()});
    EXPECT_TRUE(listing.output.contains("new.txt")) << qPrintable(listing.output);
}

TEST_F(BackupRunTest, AStoredPasswordEncryptsTheArchive) {
    request.password = true;
    int asked = 0;
    run().setPasswordProvider([&asked] {
        ++asked;
        return PasswordChoice{true, "s3cret", " Saisie d'un mot de passe par utilisateur"};
    });
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(log.lines().value(1), " Saisie d'un mot de passe par utilisateur");
    expectSameContent(destination(), request.sourceFolder, dir.filePath("out"), {"-P", "s3cret"});
    EXPECT_NE(runTool("unzip", {"-tq", "-P", "wrong", destination()}).exitCode, 0);

    // The next run without the option does not reuse the password.
    request.password = false;
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_EQ(runTool("unzip", {"-tq", destination()}).exitCode, 0);
}

TEST_F(BackupRunTest, AFileInUseIsListedAndStillArchived) {
    const QString busy = dir.filePath("src/b.bin");
    filesInUse.busy.insert(busy);
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    EXPECT_EQ(outcome.filesInUse, QStringList{busy});
    EXPECT_TRUE(outcome.errors.isEmpty());
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.caption, "Sauvegarde des données : Echec ou Avertissement(s)");
    EXPECT_EQ(outcome.report.windowWidth, 590);
    EXPECT_EQ(outcome.finalInfo, " ATTENTION...Fichier(s) utilisé(s) par une autre application.");
    EXPECT_TRUE(QFile::exists(destination()));
    expectSameContent(destination(), request.sourceFolder, dir.filePath("out"));
    EXPECT_FALSE(log.lines().contains("-Sauvegarde terminée : Ok"));
}

TEST_F(BackupRunTest, ADestinationWithoutRoomFailsAndKeepsTheStagingArchive) {
    FakeVolumes volumes;
    const QString destRoot = request.destinationFolder;
    volumes.setVolume(destRoot, FakeVolume{DriveType::Fixed, {}, 100, 1000, true});
    services.volumes = &volumes;
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();

    const QString error = QString("Place insuffisante sur le média : %1 (%2 octets requis)")
                              .arg(destRoot)
                              .arg(QFileInfo(staging()).size());
    EXPECT_EQ(outcome.errors, QStringList{error});
    EXPECT_FALSE(outcome.success);
    EXPECT_FALSE(QFile::exists(destination()));
    ASSERT_TRUE(QFile::exists(staging())) << "the only copy of the backup is kept";
    EXPECT_EQ(runTool("unzip", {"-tq", staging()}).exitCode, 0);
    EXPECT_TRUE(log.lines().contains(error + " ---> ERREURS !"));
    EXPECT_TRUE(log.lines().contains(" Archive conservée dans le Sas : " + staging()));
    EXPECT_EQ(outcome.destinationText, "Les profondeurs abyssales du néant...");
    EXPECT_EQ(outcome.finalInfo, "- Erreur(s) détectée(s) ! Sauvegarde inéxistante ! ");
    EXPECT_FALSE(outcome.report.closeWindow);
}

TEST_F(BackupRunTest, UnreadableFreeSpaceIsAnErrorNotASilentSuccess) {
    FakeVolumes volumes;
    volumes.setVolume(request.destinationFolder, FakeVolume{DriveType::Fixed, {}, -1, -1, true});
    services.volumes = &volumes;
    request.autoClose = true;
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_EQ(run().outcome().errors,
              QStringList{"Place libre illisible sur le média : " + request.destinationFolder});
    EXPECT_TRUE(log.lines().contains("   Place libre sur media : -1"));
    EXPECT_TRUE(QFile::exists(staging()));
    EXPECT_FALSE(run().outcome().report.closeWindow);
}

TEST_F(BackupRunTest, EqualFreeSpaceAndArchiveSizeStillCopies) {
    // A first run measures the archive; the second gets exactly that much room.
    ASSERT_TRUE(run().ZipButGo(request));
    const qint64 size = QFileInfo(destination()).size();
    QFile::remove(destination());
    FakeVolumes volumes;
    volumes.setVolume(request.destinationFolder,
                      FakeVolume{DriveType::Fixed, {}, size, size, true});
    services.volumes = &volumes;
    BackupRun second(engine, log, services);
    ASSERT_TRUE(second.ZipButGo(request));
    EXPECT_TRUE(second.outcome().success) << qPrintable(second.outcome().errors.join('\n'));
    EXPECT_EQ(QFileInfo(destination()).size(), size);
}

TEST_F(BackupRunTest, AFloppyWithoutTheSpanningProgramKeepsTheArchive) {
    // Incompressible bytes make an archive larger than a floppy.
    QByteArray noise(1'600'000, Qt::Uninitialized);
    quint32 seed = 12345;
    for (char& byte : noise) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    writeFile("src/noise.bin", noise);
    FakeVolumes volumes;
    volumes.setVolume(request.destinationFolder,
                      FakeVolume{DriveType::Removable, "FLOPPY", 1'457'664, 1'457'664, true});
    services.volumes = &volumes;
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text,
              "La repartition multidisquette n'est possible qu'avec BRAMBLEX 4.0 ");
    EXPECT_EQ(outcome.errors, QStringList{"Programme de répartition absent : " +
                                          request.programFolder + "Brx_Span.exe"});
    EXPECT_TRUE(outcome.removable);
    EXPECT_TRUE(QFile::exists(staging()));
    EXPECT_FALSE(QFile::exists(destination()));
}

TEST_F(BackupRunTest, ACancelledDiskPromptMovesTheBackupToTheHomeFolder) {
    FakeVolumes volumes;
    const QString drive = dir.filePath("floppy") + "/"; // a volume with no medium in it
    volumes.setVolume(drive, FakeVolume{DriveType::Removable, {}, 1'457'664, 1'457'664, true});
    services.volumes = &volumes;
    QDir().mkpath(dir.filePath("home"));
    request.destinationFolder = drive;
    host.queueAnswer(MsgResult::Ok);
    host.queueAnswer(MsgResult::Cancel);
    QSignalSpy moved(&run(), &BackupRun::destinationChanged);
    ASSERT_TRUE(run().ZipButGo(request));

    ASSERT_EQ(host.messages.size(), 2);
    const QString prompt = "Insérez une disquette dans le lecteur.\r\nSi vous annulez (Touche ESC),"
                           "\r\nla sauvegarde se fera sur le disque dur " +
                           dir.filePath("home") + "/";
    EXPECT_EQ(host.messages[0].text, prompt);
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(request.destinationFolder, dir.filePath("home") + "/");
    EXPECT_EQ(moved.count(), 1);
    EXPECT_TRUE(QFile::exists(dir.filePath("home/0912Data.Zip")));
    EXPECT_TRUE(run().outcome().removable) << "measured before the prompt";
}

TEST_F(BackupRunTest, AnEarlierArchiveOfTheSameNameIsReplacedWhole) {
    writeFile("dest/0912Data.Zip", "an older backup of the day");
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_TRUE(run().outcome().success);
    EXPECT_EQ(runTool("unzip", {"-tq", destination()}).exitCode, 0);
    EXPECT_EQ(QDir(request.destinationFolder).entryList(QDir::Files), QStringList{"0912Data.Zip"})
        << "no temporary copy is left beside it";
}

TEST_F(BackupRunTest, CancelDuringTheAddEndsTheRunWithoutASuccess) {
    QObject::connect(&run(), &BackupRun::fileProcessed, &run(), [this] { run().cancel(); });
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_FALSE(run().isRunning());
    EXPECT_FALSE(run().outcome().success) << qPrintable(log.lines().join('\n'));
    EXPECT_FALSE(QFile::exists(destination()));
    EXPECT_FALSE(engine.Cancel()) << "the next run starts afresh";
}

TEST_F(BackupRunTest, AMissingDestinationIsCreatedAndLogged) {
    request.destinationFolder = dir.filePath("made/on/demand") + "/";
    ASSERT_TRUE(run().ZipButGo(request));
    EXPECT_EQ(log.lines().value(0),
              " Création dossier : " + request.destinationFolder + " ---> OK ");
    EXPECT_TRUE(QFile::exists(destination()));
}

TEST_F(BackupRunTest, AFilterThatMatchesNothingEndsWithoutAnArchive) {
    request.filter = "*.none";
    request.subDirs = false; // no folder entries either: nothing to archive
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.reduction, 0);
    EXPECT_TRUE(outcome.errors.contains("Erreur copie sur média : -3"))
        << qPrintable(outcome.errors.join('\n'));
    const QStringList lines = log.lines();
    const qsizetype made = lines.indexOf(staging() + " ---> ERREURS !");
    const qsizetype copied =
        lines.indexOf("Archive invalide ou absente " + staging() + "  ---> ERREURS !");
    EXPECT_GT(made, 0) << qPrintable(lines.join('\n'));
    EXPECT_GT(copied, made);
    EXPECT_EQ(lines.value(copied + 1),
              "   Creation de : " + destination() + " [0]  ---> ERREURS !");
    EXPECT_FALSE(QFile::exists(destination()));
}

TEST_F(BackupRunTest, EjectAtQuitOnlyWhenAskedAndRemovable) {
    FakeVolumes volumes;
    FakeDiskEjector ejector;
    const QString usb = dir.filePath("usb") + "/";
    volumes.setVolume(usb, FakeVolume{DriveType::Removable, "USB", 1 << 30, 1 << 30, true});
    services.volumes = &volumes;
    services.ejector = &ejector;
    request.destinationFolder = usb + "backups/";
    run().EjectClose(request);
    EXPECT_TRUE(ejector.ejectedRoots.isEmpty()) << "not asked";
    request.eject = true;
    ejector.outcome = EjectOutcome::Failed; // its result is not looked at
    run().EjectClose(request);
    EXPECT_EQ(ejector.ejectedRoots, QStringList{usb});
    request.destinationFolder = dir.filePath("dest") + "/"; // on the fixed "/"
    run().EjectClose(request);
    EXPECT_EQ(ejector.ejectedRoots.size(), 1);
}

TEST_F(BackupRunTest, ARunDoesNotStartWithoutADestination) {
    request.destinationFolder.clear();
    EXPECT_FALSE(run().ZipButGo(request));
    EXPECT_TRUE(log.lines().isEmpty());
}

} // namespace
} // namespace brx::test
