// The backup log file, the report texts, the engine's messages in the
// backup and the rounding of the reduction.

#include "BackupRunFixture.h"

#include "backup/run/ThrottledHost.h"

namespace brx::test {
namespace {

class BackupLogTest : public ::testing::Test {
protected:
    QString logPath() const { return dir.filePath("BRXLogrun.txt"); }
    void writeLog(const QByteArray& text) {
        QFile file(logPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray readLog() const {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    BackupLog log{dir.path()};
};

TEST_F(BackupLogTest, BannersOpenAndCloseTheLogWithAnEmptyLineBeforeEach) {
    ASSERT_TRUE(log.open("09/12/2026 10:11:12"));
    log.add("  Filtre inclusion : /home/u/Data/*.*");
    ASSERT_TRUE(log.close("09/12/2026 10:20:00"));
    EXPECT_EQ(QString::fromUtf8(readLog()),
              "\n------------         09/12/2026 10:11:12         Ouverture BRX_EXPLO"
              "         ------------\n"
              "  Filtre inclusion : /home/u/Data/*.*\n"
              "\n------------         09/12/2026 10:20:00         Fermeture BRX_EXPLO"
              "         ------------\n");
    // The next opening keeps the history and adds its own banner after it.
    BackupLog again(dir.path());
    ASSERT_TRUE(again.open("10/12/2026 08:00:00"));
    EXPECT_EQ(again.lines().size(), 7);
    EXPECT_EQ(again.lines().value(1), log.lines().value(1));
    EXPECT_TRUE(again.lines().last().contains("Ouverture BRX_EXPLO"));
}

TEST_F(BackupLogTest, AHistoryOverFiftyThousandCharactersIsDropped) {
    const QByteArray limit = QByteArray(49'999, 'x') + '\n'; // 50 000 characters
    writeLog(limit);
    ASSERT_TRUE(log.open("t"));
    EXPECT_EQ(log.lines().first(), QString(49'999, 'x'));

    writeLog(limit + 'y'); // 50 001
    BackupLog longer(dir.path());
    ASSERT_TRUE(longer.open("t"));
    EXPECT_EQ(longer.lines(), QStringList({QString(), openingBanner("t").mid(2)}));
}

TEST_F(BackupLogTest, SavingReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    writeLog("old line\n");
    ASSERT_TRUE(log.open("t"));
    ASSERT_TRUE(log.close("u"));
    EXPECT_TRUE(readLog().startsWith("old line\n\n----"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"BRXLogrun.txt"});
}

TEST(BackupReport, SuccessTextsAndAutomaticClosing) {
    ReportInput input;
    input.destinationArchive = "/media/usb/0912Data.Zip";
    input.destinationSizeText = "120 Ko";
    input.stagingSizeText = " ? ";
    input.summaryText = "[ 3 / 42% / 00:01 Sec.]";
    input.autoClose = true;
    ReportTexts texts = InfosErreurs(input);
    EXPECT_TRUE(texts.success);
    EXPECT_TRUE(texts.closeWindow);
    EXPECT_EQ(texts.destinationText, "/media/usb/0912Data.Zip  [ 120 Ko ]");
    EXPECT_EQ(texts.logLines,
              QStringList({"   Info Zip : [ 3 / 42% / 00:01 Sec.]", "-Sauvegarde terminée : Ok"}));
    EXPECT_TRUE(texts.finalInfo.isEmpty());

    input.removable = true;
    input.floppyDestination = true;
    texts = InfosErreurs(input);
    EXPECT_EQ(texts.destinationText, "/media/usb/0912Data.Zip  [  ?  ]");
    EXPECT_EQ(texts.finalInfo, "ATTENTION...Sauvegardez de nouveau sur un support AMOVIBLE");
}

TEST(BackupReport, AnyEntryInEitherListPreventsClosing) {
    ReportInput input;
    input.autoClose = true;
    input.filesInUse = {"/home/u/Data/open.db"};
    ReportTexts texts = InfosErreurs(input);
    EXPECT_FALSE(texts.success);
    EXPECT_FALSE(texts.closeWindow);
    EXPECT_EQ(texts.windowWidth, 590);
    EXPECT_EQ(texts.picture, "ZipErr.gif");
    EXPECT_TRUE(texts.destinationText.isEmpty()) << "warnings leave the destination shown";
    EXPECT_TRUE(texts.logLines.isEmpty());

    input.errors = {"Archive non créée."};
    texts = InfosErreurs(input);
    EXPECT_EQ(texts.destinationText, "Les profondeurs abyssales du néant...");
    EXPECT_EQ(texts.finalInfo, "- Erreur(s) détectée(s) ! Sauvegarde inéxistante ! ");

    // The last engine code alone marks the archive as missing in the texts.
    ReportInput codeOnly;
    codeOnly.lastMessageCode = 852237;
    texts = InfosDES_Erreurs(codeOnly);
    EXPECT_EQ(texts.destinationText, "Les profondeurs abyssales du néant...");
}

TEST(BackupReduction, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(reductionPercent(8, 7), 12);      // 12.5
    EXPECT_EQ(reductionPercent(200, 195), 2);   // 2.5
    EXPECT_EQ(reductionPercent(200, 193), 4);   // 3.5
    EXPECT_EQ(reductionPercent(1000, 334), 67); // 66.6
    EXPECT_EQ(reductionPercent(100, 120), -20); // stored data can grow
    EXPECT_EQ(reductionPercent(0, 0), 0);
    EXPECT_EQ(reductionPercent(100, 0), 0);
}

using BackupMessages = BackupRunFixture;

TEST_F(BackupMessages, LibraryCodesGoToTheErrorsListAndTheLog) {
    BackupRun& backup = run();
    backup.ZipEngine1Message(767, "Skipped files: a.txt b.txt");
    backup.ZipEngine1Message(852237, "Nothing to do");
    backup.ZipEngine1Message(12, "Write error");
    EXPECT_EQ(backup.lastMessageCode(), 12);
    backup.ZipEngine1Message(0, "Copying: x");
    EXPECT_EQ(backup.lastMessageCode(), 0);
    EXPECT_EQ(backup.outcome().errors,
              QStringList({"a.txt b.txt inéxistant(s)", "Archive non créée.", "12 Write error"}));
    EXPECT_EQ(log.lines(), QStringList({"a.txt b.txt inéxistant(s)", "Archive non créée."}));
}

} // namespace
} // namespace brx::test

namespace brx::test {
namespace {

TEST(ThrottledHostTest, EventsPassAtMostOncePerIntervalAndQuestionsAlways) {
    ScriptedUserHost window;
    ThrottledHost slow(window, 60'000);
    for (int i = 0; i < 1000; ++i) slow.processEvents();
    EXPECT_EQ(window.eventPasses, 1) << "the first pass goes through, then one per interval";
    window.queueAnswer(MsgResult::Cancel);
    EXPECT_EQ(slow.messageBox(MessageRequest{"Q", "C"}), MsgResult::Cancel);
    EXPECT_EQ(window.messages.size(), 1);
    ThrottledHost eager(window, 0);
    for (int i = 0; i < 3; ++i) eager.processEvents();
    EXPECT_EQ(window.eventPasses, 4);
}

} // namespace
} // namespace brx::test
