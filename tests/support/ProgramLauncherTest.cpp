#include "support/ProgramLauncher.h"
#include "tests/fakes/FakeProcesses.h"
#include "tests/support/ShellLinkBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <time.h>

using namespace brx;

namespace {

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

QString writeShortcut(const QTemporaryDir& dir, const QString& name, const QString& target,
                      const QString& args) {
    brx::test::LinkParts parts;
    parts.localBasePath = target;
    parts.arguments = args;
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(brx::test::buildShellLink(parts));
    return file.fileName();
}

} // namespace

TEST(RunProgram, WaitsForARealChildWithoutBurningACore) {
    int eventsDuringWait = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++eventsDuringWait; });
    ticker.start(25);
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = threadCpuMs();

    const auto code = RunProgram(R"(/bin/sh -c "sleep 0.3; exit 3")", 1, true);

    const double cpuUsed = threadCpuMs() - cpuBefore;
    const qint64 elapsed = clock.elapsed();
    RecordProperty("waitCpuMs", QString::number(cpuUsed, 'f', 2).toStdString());
    RecordProperty("waitElapsedMs", QString::number(elapsed).toStdString());
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 3);
    EXPECT_GE(elapsed, 300);
    EXPECT_GT(eventsDuringWait, 3) << "events are processed during the wait";
    EXPECT_LT(cpuUsed, elapsed / 3.0)
        << "the waiting thread used " << cpuUsed << " ms of CPU in " << elapsed << " ms";
}

TEST(RunProgram, WithoutWaitReturnsAtOnce) {
    QTemporaryDir dir;
    const QString marker = dir.filePath("done");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(
        RunProgram(QStringLiteral("/bin/sh -c \"sleep 0.2; touch '%1'\"").arg(marker), 1, false));
    EXPECT_LT(clock.elapsed(), 200);
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i) QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker)) << "the detached program ran";
}

// The death test runs in a fresh copy of this program; the marker path is
// handed to it through the environment so that both look at the same file.
TEST(RunProgram, QuitDuringTheWaitEndsThisProgramWithTheQuitCode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    if (qEnvironmentVariableIsEmpty("BRX_TEST_QUIT_MARKER"))
        qputenv("BRX_TEST_QUIT_MARKER", dir.filePath("still-running").toUtf8());
    const QString marker = qEnvironmentVariable("BRX_TEST_QUIT_MARKER");
    const QString command = QStringLiteral("/bin/sh -c \"sleep 0.4; touch '%1'\"").arg(marker);
    EXPECT_EXIT(
        {
            QTimer::singleShot(50, [] { QCoreApplication::exit(7); });
            RunProgram(command, 1, true);
            std::exit(99); // not reached when the quit is honoured
        },
        testing::ExitedWithCode(7), "");
    for (int i = 0; i < 150 && !QFile::exists(marker); ++i) QThread::msleep(20);
    qunsetenv("BRX_TEST_QUIT_MARKER");
    EXPECT_TRUE(QFile::exists(marker)) << "the started program keeps running";
}

TEST(RunProgram, UnstartableDocumentGoesToItsAssociatedProgram) {
    FakeProcesses processes;
    processes.addProgram("/usr/bin/lecteur");
    processes.setAssociation("/tmp/mes notes.txt", "/usr/bin/lecteur");
    RunProgram(R"(  "/tmp/mes notes.txt"  )", 1, false, processes);
    ASSERT_EQ(processes.attempts.size(), 2);
    EXPECT_EQ(processes.attempts[0].argv, QStringList({"/tmp/mes notes.txt"}));
    EXPECT_EQ(processes.associationQueries, QStringList({"/tmp/mes notes.txt"}));
    EXPECT_EQ(processes.attempts[1].argv, QStringList({"/usr/bin/lecteur", "/tmp/mes notes.txt"}));
    EXPECT_FALSE(processes.attempts[1].watched);
}

TEST(RunProgram, AssociatedCommandIsStartedWordForWord) {
    FakeProcesses processes;
    const QStringList opener{"/opt/Mon Lecteur/lire", "--titre=\"x y\"", "", "/tmp/a b.txt"};
    processes.addProgram(opener.first(), 3);
    processes.setAssociatedCommand("/tmp/a b.txt", opener);
    RunProgram(R"("/tmp/a b.txt")", 1, true, processes);
    ASSERT_EQ(processes.attempts.size(), 2);
    EXPECT_EQ(processes.attempts[1].argv, opener) << "no re-splitting, empty words kept";
    EXPECT_TRUE(processes.attempts[1].watched);
}

TEST(RunProgram, ShortcutIsResolvedInAnyLetterCase) {
    QTemporaryDir dir;
    const QString lnk = writeShortcut(dir, "Outil.LNK", "/opt/outil", "-x fichier");
    FakeProcesses processes;
    processes.addProgram("/opt/outil", 5);
    RunProgram(lnk, 1, true, processes);
    ASSERT_GE(processes.attempts.size(), 2);
    EXPECT_EQ(processes.attempts[1].argv, QStringList({"/opt/outil", "-x", "fichier"}));
    EXPECT_TRUE(processes.attempts[1].watched);
    EXPECT_TRUE(processes.associationQueries.contains(lnk))
        << "the association is looked up as well";
}

TEST(RunProgram, FallbacksNeverLoop) {
    QTemporaryDir dir;
    const QString lnk = dir.filePath("self.lnk");
    writeShortcut(dir, "self.lnk", lnk, "");
    FakeProcesses processes;
    processes.setAssociation(lnk, "/usr/bin/absent");
    processes.setAssociation("/usr/bin/absent", "/usr/bin/absent");
    RunProgram(lnk, 1, false, processes);
    // The command line itself, the shortcut's target (itself), the associated
    // program for the target, the associated program for the command line.
    EXPECT_EQ(processes.attempts.size(), 4);
}

TEST(RunProgram, NothingToStartIsSilentlyIgnored) {
    FakeProcesses processes;
    EXPECT_FALSE(RunProgram("document.inconnu", 1, true, processes).has_value());
    EXPECT_EQ(processes.attempts.size(), 1);
    EXPECT_FALSE(RunProgram("   ", 1, true, processes).has_value());
}

TEST(RunProgram, ShowModes) {
    FakeProcesses processes;
    processes.addProgram("prog");
    for (int mode : {0, 1, 2, 3, 7}) RunProgram("prog", mode, false, processes);
    ASSERT_EQ(processes.attempts.size(), 5);
    EXPECT_EQ(processes.attempts[0].mode, ShowMode::Hidden);
    EXPECT_EQ(processes.attempts[1].mode, ShowMode::Shown);
    EXPECT_EQ(processes.attempts[2].mode, ShowMode::Minimised);
    EXPECT_EQ(processes.attempts[3].mode, ShowMode::Maximised);
    EXPECT_EQ(processes.attempts[4].mode, ShowMode::Hidden);
}

TEST(FileManagerCommand, QuotesFoldersThatNeedIt) {
    EXPECT_EQ(QProcess::splitCommand(FileManagerCommand("/home/u/Mes Documents")),
              QStringList({"xdg-open", "/home/u/Mes Documents"}));
    EXPECT_EQ(QProcess::splitCommand(FileManagerCommand(R"(/tmp/a "b")")),
              QStringList({"xdg-open", R"(/tmp/a "b")"}));
    EXPECT_EQ(QProcess::splitCommand(FileManagerCommand("/tmp/deux\nlignes")),
              QStringList({"xdg-open", "/tmp/deux\nlignes"}));
    EXPECT_EQ(FileManagerCommand("/tmp"), "xdg-open /tmp");
}
