// The spanning program on a fake removable drive: French disk prompts, the
// set read back and checked, the marker on failure or abandon, and the
// volumes read by brxzip as a numbered set.

#include "BackupRunFixture.h"

#include "span_program/SpanProgram.h"
#include "tests/fakes/FakeRemovableDrive.h"
#include "tests/fakes/FakeVolumes.h"

namespace brx::test {
namespace {

constexpr qint64 kDisk = 100'000;

QByteArray noise(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

class SpanProgramTest : public BackupRunFixture {
protected:
    SpanProgramTest() {
        QDir(dir.path()).mkpath("drive");
        QDir(dir.path()).mkpath("set");
        writeFile("src/noise.bin", noise(210'000, 7)); // three disks' worth
        archive = dir.filePath("prog/Sas_Zip/0912Data.Zip");
        engine.setZipFileName(archive);
        engine.setAddOptions(AddRecurseDirs);
        engine.setFSpecArgs({request.sourceFolder + "/*.*"});
        engine.Add();
        for (int i = 0; i < 3; ++i) drive.addDisk(FakeDisk{"BLANK", kDisk});
        drive.insert(0);
        user.script.defaultAnswer = MsgResult::Ok;
    }

    int span() {
        SpanJob job{drive, french, dir.filePath("prog"), qEnvironmentVariable("BRX_BIN_DIR")};
        return runSpanProgram(archive + "<>" + drive.root(), job);
    }

    QString marker() const { return dir.filePath("prog/SpanFileError.txt"); }

    QString archive;
    FakeRemovableDrive drive{dir.filePath("drive") + "/"};
    FakeDiskChanger user{drive};
    FrenchDiskPrompts french{user};
};

TEST_F(SpanProgramTest, WritesEachDiskAsksInFrenchAndReadsTheSetBack) {
    for (int disk : {0, 1, 2, 0, 1, 2}) user.queueDisk(disk); // written, then read back
    ASSERT_EQ(span(), 0);
    EXPECT_FALSE(QFile::exists(marker()));

    const QString root = drive.root();
    QStringList prompts;
    for (const MessageRequest& message : user.script.messages) prompts << message.text;
    ASSERT_GE(prompts.size(), 3);
    EXPECT_EQ(prompts.mid(0, 3),
              QStringList({"Insérez la disquette n° 1 sur 3 dans le lecteur :\n" + root,
                           "Insérez la disquette n° 2 sur 3 dans le lecteur :\n" + root,
                           "Insérez la disquette n° 3 sur 3 dans le lecteur :\n" + root}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(drive.disk(i).label, QString("PKBACK# 00%1").arg(i + 1));

    // The disks' files, laid side by side as a numbered set, read back by brxzip.
    for (int i = 0; i < 3; ++i) {
        QFile volume(dir.filePath(QString("set/Data00%1.zip").arg(i + 1)));
        ASSERT_TRUE(volume.open(QIODevice::WriteOnly));
        volume.write(drive.disk(i).files.value("0912Data.Zip").content);
    }
    const QString out = dir.filePath("out");
    const ToolResult extracted = runTool(qEnvironmentVariable("BRX_BIN_DIR") + "/brxzip",
                                         {"extract", "-d", out, dir.filePath("set/Data003.zip")});
    ASSERT_EQ(extracted.exitCode, 0) << qPrintable(extracted.output);
    QFile original(dir.filePath("src/noise.bin"));
    QFile copy(out + "/noise.bin"); // stored without its folder
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << qPrintable(copy.fileName());
    EXPECT_EQ(original.readAll(), copy.readAll());
}

TEST_F(SpanProgramTest, AbandonAtTheSecondDiskLeavesTheMarker) {
    user.queueDisk(0);
    user.script.queueAnswer(MsgResult::Ok);
    user.script.queueAnswer(MsgResult::Cancel);
    EXPECT_NE(span(), 0);
    ASSERT_TRUE(QFile::exists(marker()));
    QFile file(marker());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("Répartition interrompue"));
}

TEST_F(SpanProgramTest, ABadArgumentOrMissingArchiveLeavesTheMarker) {
    SpanJob job{drive, french, dir.filePath("prog"), {}};
    EXPECT_NE(runSpanProgram(archive, job), 0); // no "<>"
    EXPECT_TRUE(QFile::remove(marker()));
    EXPECT_NE(runSpanProgram(dir.filePath("missing.zip") + "<>" + drive.root(), job), 0);
    EXPECT_TRUE(QFile::exists(marker()));
    EXPECT_TRUE(user.script.messages.isEmpty()) << "nothing is asked for a job that cannot run";
}

TEST(SpanArgument, SplitsArchiveAndFolderAtTheSeparator) {
    SpanArguments arguments;
    ASSERT_TRUE(parseSpanArgument("/p/Sas_Zip/0712Data.Zip<>/media/fd", arguments));
    EXPECT_EQ(arguments.archive, "/p/Sas_Zip/0712Data.Zip");
    EXPECT_EQ(arguments.destinationFolder, "/media/fd/");
    EXPECT_FALSE(parseSpanArgument("<>/media/fd/", arguments));
    EXPECT_FALSE(parseSpanArgument("/p/a.zip<>", arguments));
    EXPECT_EQ(frenchDiskPrompt("Please insert last disk\nin drive: /m/"),
              "Insérez la dernière disquette dans le lecteur :\n/m/");
    EXPECT_EQ(frenchDiskPrompt("Please insert disk volume 4\nin drive: /m/"),
              "Insérez la disquette n° 4 dans le lecteur :\n/m/");
    EXPECT_EQ(frenchDiskPrompt("This disk has not enough free space available"),
              "This disk has not enough free space available");
}

} // namespace
} // namespace brx::test

namespace brx::test {
namespace {

// A floppy-sized removable destination with a stand-in for the spanning
// program: a script that records its arguments, and leaves the marker when
// told to.
class SpanHandOverTest : public BackupRunFixture {
protected:
    SpanHandOverTest() {
        writeFile("src/noise.bin", noise(1'600'000, 3));
        volumes.setVolume(request.destinationFolder,
                          FakeVolume{DriveType::Removable, "FLOPPY", 1'457'664, 1'457'664, true});
        services.volumes = &volumes;
    }

    void installSpanner(bool fails) {
        const QString script = request.programFolder + "Brx_Span.exe";
        QString body = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                       "test -f \"${1%<>*}\" && echo present >> \"$(dirname \"$0\")/args.txt\"\n";
        if (fails) body += "echo abandon > \"$(dirname \"$0\")/SpanFileError.txt\"\n";
        writeFile("prog/Brx_Span.exe", body.toUtf8());
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    }

    QStringList spannerArguments() {
        QFile file(request.programFolder + "args.txt");
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    FakeVolumes volumes;
};

TEST_F(SpanHandOverTest, TheSpanningProgramGetsOneArgumentWithTheWholeArchive) {
    installSpanner(false);
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    const QString whole = request.programFolder + "Sas_Zip/0912Data.Zip";
    EXPECT_EQ(spannerArguments(),
              QStringList({whole + "<>" + request.destinationFolder, "present"}));
    EXPECT_FALSE(QFile::exists(whole)) << "the temporary whole archive is removed";
    EXPECT_TRUE(outcome.errors.isEmpty()) << qPrintable(outcome.errors.join('\n'));
    EXPECT_TRUE(outcome.success);
    EXPECT_FALSE(QFile::exists(staging()));
    // The staging archive is gone by the report: its size text is " ? ".
    EXPECT_EQ(outcome.destinationText, destination() + "  [  ?  ]");
    EXPECT_EQ(outcome.finalInfo, "ATTENTION...Sauvegardez de nouveau sur un support AMOVIBLE");
}

TEST_F(SpanHandOverTest, TheMarkerMeansFailureAndTheStagingArchiveIsKept) {
    installSpanner(true);
    ASSERT_TRUE(run().ZipButGo(request));
    const BackupOutcome& outcome = run().outcome();
    EXPECT_EQ(outcome.errors, QStringList{"Dsk Span Error or Abortes"});
    EXPECT_FALSE(QFile::exists(request.programFolder + "SpanFileError.txt"));
    EXPECT_TRUE(QFile::exists(staging()));
    EXPECT_TRUE(log.lines().contains(" Archive conservée dans le Sas : " + staging()));
    EXPECT_FALSE(outcome.success);
}

} // namespace
} // namespace brx::test
