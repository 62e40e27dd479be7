// Sets on removable disks: the same file name on every disk, the disks told
// apart by their labels; the user changes disks when asked.
#include "SpanTestSupport.h"

#include "engine/span/DiskFormat.h"
#include "engine/span/ReadSpan.h"
#include "engine/span/WriteSpan.h"
#include "tests/fakes/FakeFormatter.h"
#include "tests/fakes/FakeRemovableDrive.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace brx;
using namespace brx::spantest;

namespace {

constexpr qint64 kDisk = 100'000;

class RemovableSet : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("drive"));
        m_source = m_dir.filePath("source.zip");
        ASSERT_TRUE(makeArchive(m_source, 0, 70'000, 3)); // about 210 kB: three disks
    }

    int addBlankDisks(int count) {
        int first = m_drive.diskCount();
        for (int i = 0; i < count; ++i) m_drive.addDisk(FakeDisk{QStringLiteral("BLANK"), kDisk});
        return first;
    }

    int write() {
        SpanContext context{m_drive, m_user, m_events, m_settings, m_format};
        return WriteSpan(context, m_source, m_drive.root() + "name.zip");
    }

    int read(QString& target) {
        SpanContext context{m_drive, m_user, m_events, m_settings, {}};
        return ReadSpan(context, m_drive.currentRoot() + "name.zip", target);
    }

    // Disks 0, 1, 2 written as the set.
    void writeThreeDiskSet() {
        addBlankDisks(3);
        m_drive.insert(0);
        for (int disk : {0, 1, 2}) m_user.queueDisk(disk);
        m_user.script.defaultAnswer = MsgResult::Ok;
        ASSERT_EQ(write(), 0);
    }

    QStringList prompts() const {
        QStringList texts;
        for (const MessageRequest& request : m_user.script.messages) texts << request.text;
        return texts;
    }

    int lastReportId() const { return m_events.reports.isEmpty() ? 0 : m_events.reports.last().id; }

    QTemporaryDir m_dir;
    QString m_source;
    FakeRemovableDrive m_drive{m_dir.filePath("drive") + "/"};
    FakeDiskChanger m_user{m_drive};
    FakeSpanEvents m_events;
    SpanSettings m_settings;
    DiskFormatFn m_format;
};

TEST_F(RemovableSet, EachDiskGetsTheFileAndItsLabelAndTheSetReadsBack) {
    writeThreeDiskSet();
    const QString root = m_drive.root();
    // The first disk is asked for too: the one in the drive may not be meant for the set.
    EXPECT_EQ(prompts(), QStringList({"Please insert disk volume 1 of 3\nin drive: " + root,
                                      "Please insert disk volume 2 of 3\nin drive: " + root,
                                      "Please insert disk volume 3 of 3\nin drive: " + root}));
    EXPECT_EQ(m_user.script.messages.first().caption, "BRX_EXPLO");
    QList<QByteArray> set;
    for (int i = 0; i < 3; ++i) {
        const FakeDisk disk = m_drive.disk(i);
        EXPECT_EQ(disk.label, QStringLiteral("PKBACK# 00%1").arg(i + 1));
        ASSERT_EQ(disk.files.keys(), QStringList{"name.zip"});
        set.append(disk.files["name.zip"].content);
    }
    EXPECT_EQ(set[0].size(), kDisk);
    EXPECT_EQ(checkSetLayout(set), QStringList());

    // Reading starts from the last disk, then asks for disk 1; disk 3 given
    // instead of disk 2 is refused by its label and asked for again.
    m_user.script.messages.clear();
    for (int disk : {0, 2, 1, 2}) m_user.queueDisk(disk);
    QString target = m_dir.path();
    ASSERT_EQ(read(target), 0);
    EXPECT_EQ(readAll(target), readAll(m_source));
    EXPECT_EQ(prompts().size(), 4);
    EXPECT_TRUE(prompts().first().startsWith("Please insert disk volume 1 of 3"));
    EXPECT_EQ(prompts().count("Please insert disk volume 2 of 3\nin drive: " + root), 2);
}

TEST_F(RemovableSet, DisksMountedAtOtherFoldersAreFollowed) {
    // The desktop mounts each disk in a folder of its own (named after its label).
    for (const char* name : {"disk-b", "disk-c"}) {
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(name));
        FakeDisk disk{QStringLiteral("BLANK"), kDisk};
        disk.mountPoint = m_dir.filePath(name) + "/";
        m_drive.addDisk(disk);
    }
    m_drive.addDisk(FakeDisk{QStringLiteral("BLANK"), kDisk});
    m_drive.insert(2); // the first volume goes on the disk mounted at the drive's own folder
    for (int disk : {2, 0, 1}) m_user.queueDisk(disk);
    m_user.script.defaultAnswer = MsgResult::Ok;
    ASSERT_EQ(write(), 0);
    EXPECT_EQ(m_drive.disk(2).label, "PKBACK# 001");
    EXPECT_EQ(m_drive.disk(0).label, "PKBACK# 002");
    EXPECT_EQ(m_drive.disk(1).label, "PKBACK# 003");
    EXPECT_EQ(m_drive.disk(0).files.keys(), QStringList{"name.zip"});
    EXPECT_TRUE(prompts().last().endsWith("in drive: " + m_dir.filePath("disk-b") + "/"));

    for (int disk : {2, 0, 1}) m_user.queueDisk(disk);
    QString target = m_dir.path();
    ASSERT_EQ(read(target), 0); // started with the last disk, mounted at disk-c
    EXPECT_EQ(readAll(target), readAll(m_source));
}

TEST_F(RemovableSet, FirstDiskGivenForReadingAsksForTheLastOne) {
    writeThreeDiskSet();
    m_drive.insert(0);
    m_user.script.messages.clear();
    for (int disk : {2, 0, 1, 2}) m_user.queueDisk(disk);
    QString target = m_dir.path();
    ASSERT_EQ(read(target), 0);
    EXPECT_EQ(m_user.script.messages.first().text,
              "Please insert last disk\nin drive: " + m_drive.root());
    EXPECT_EQ(m_user.script.messages.first().icon, MsgIcon::Error);
}

TEST_F(RemovableSet, PreviousDiskOfTheSetIsNotOverwrittenWithoutConsent) {
    addBlankDisks(3);
    m_drive.insert(0);
    m_user.script.defaultAnswer = MsgResult::Ok;
    for (int disk : {0, 0, 1, 2}) // for volume 2 the user first puts disk 1 back in
        m_user.queueDisk(disk);
    m_user.script.queueAnswer(MsgResult::Ok);
    m_user.script.queueAnswer(MsgResult::Ok);
    m_user.script.queueAnswer(MsgResult::No); // ... and declines to overwrite it
    ASSERT_EQ(write(), 0);
    ASSERT_GE(m_user.script.messages.size(), 4);
    const MessageRequest& question = m_user.script.messages[2];
    EXPECT_EQ(question.text, "ATTENTION: This is previous disk no 1!!!\nAre you sure you want to "
                             "overwrite the contents");
    EXPECT_EQ(question.caption, "Confirm");
    EXPECT_EQ(question.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(question.icon, MsgIcon::Warning);
    EXPECT_EQ(question.defaultButton, MsgResult::No);
    EXPECT_EQ(m_user.script.messages[3].text,
              m_user.script.messages[1].text); // volume 2 asked again
    EXPECT_EQ(m_drive.disk(0).label, "PKBACK# 001");
    EXPECT_EQ(m_drive.disk(0).files["name.zip"].content.size(), kDisk);
    EXPECT_EQ(m_drive.disk(2).label, "PKBACK# 003");
}

TEST_F(RemovableSet, ForeignFileAsksToOverwriteAndNoAsksForAnotherDisk) {
    FakeDisk used{"DATA", kDisk};
    used.files.insert(
        "name.zip", FakeDiskFile{QByteArray(1000, 'u'), QDateTime::currentDateTime().addDays(-3)});
    m_drive.addDisk(used);
    addBlankDisks(3);
    m_drive.insert(0);
    m_user.script.queueAnswer(MsgResult::Ok);
    m_user.script.queueAnswer(MsgResult::No); // keep the file on the first disk
    for (int disk : {0, 1, 2, 3}) m_user.queueDisk(disk);
    m_user.script.defaultAnswer = MsgResult::Ok;
    ASSERT_EQ(write(), 0);
    ASSERT_GE(m_user.script.messages.size(), 3);
    EXPECT_EQ(m_user.script.messages[1].text, "There is already a file " + m_drive.root() +
                                                  "name.zip\nDo you want to overwrite this file");
    EXPECT_EQ(m_user.script.messages[2].text,
              "Please insert disk volume 1 of 3\nin drive: " + m_drive.root());
    EXPECT_EQ(m_drive.disk(0).files["name.zip"].content, QByteArray(1000, 'u'));
    EXPECT_EQ(m_drive.disk(0).label, "DATA");
    EXPECT_EQ(m_drive.disk(1).label, "PKBACK# 001");
}

TEST_F(RemovableSet, FullDiskIsRefusedAndAnotherOneAskedFor) {
    FakeDisk full{"FULL", kDisk};
    full.files.insert("other.bin", FakeDiskFile{QByteArray(kDisk - 1000, 'f'), {}});
    m_drive.addDisk(full);
    addBlankDisks(3);
    m_drive.insert(0);
    m_user.script.queueAnswer(MsgResult::Ok);
    m_user.script.queueAnswer(MsgResult::Retry);
    for (int disk : {0, 1, 2, 3}) m_user.queueDisk(disk);
    m_user.script.defaultAnswer = MsgResult::Ok;
    ASSERT_EQ(write(), 0);
    ASSERT_GE(m_user.script.messages.size(), 2);
    EXPECT_EQ(m_user.script.messages[1].text, "This disk has not enough free space available");
    EXPECT_EQ(m_user.script.messages[1].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(m_user.script.messages[1].icon, MsgIcon::Error);
    EXPECT_EQ(m_drive.disk(0).files.keys(), QStringList{"other.bin"}); // the new file was removed
    EXPECT_EQ(m_drive.disk(3).label, "PKBACK# 003");

    // A box that cannot be shown ends the write with 11006.
    m_drive.insert(0);
    m_user.script.messages.clear();
    m_user.script.queueAnswer(MsgResult::Ok);
    m_user.script.defaultAnswer = MsgResult::None;
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(lastReportId(), 11006);
}

TEST_F(RemovableSet, DiskWithExactlyTheMinimumFreeSpaceIsUsed) {
    FakeDisk exact{"EXACT", kDisk};
    exact.files.insert("other.bin",
                       FakeDiskFile{QByteArray(kDisk - m_settings.MinFreeVolumeSize, 'f'), {}});
    m_drive.addDisk(exact);
    addBlankDisks(3);
    m_drive.insert(0);
    for (int disk : {0, 1, 2, 3}) m_user.queueDisk(disk);
    m_user.script.defaultAnswer = MsgResult::Ok;
    ASSERT_EQ(write(), 0);
    EXPECT_FALSE(prompts().contains("This disk has not enough free space available"));
    EXPECT_EQ(m_drive.disk(0).files["name.zip"].content.size(), m_settings.MinFreeVolumeSize);
}

TEST_F(RemovableSet, EmptyDriveKeepsAskingAndCancelStopsSilently) {
    addBlankDisks(3);
    m_drive.insert(0);
    for (int disk : {0, -1, 1}) // OK pressed once with the drive empty
        m_user.queueDisk(disk);
    for (MsgResult answer : {MsgResult::Ok, MsgResult::Ok, MsgResult::Ok, MsgResult::Cancel})
        m_user.script.queueAnswer(answer);
    EXPECT_EQ(write(), -7);
    ASSERT_EQ(prompts().size(), 4);
    // With the drive empty its size is unknown, so the count of disks is left out.
    EXPECT_EQ(prompts()[1], "Please insert disk volume 2 of 3\nin drive: " + m_drive.root());
    EXPECT_EQ(prompts()[2], "Please insert disk volume 2\nin drive: " + m_drive.root());
    EXPECT_TRUE(prompts()[3].startsWith("Please insert disk volume 3 of 3"));
    ASSERT_EQ(m_events.reports.size(), 1);
    EXPECT_EQ(m_events.reports[0].id, 11007);
    EXPECT_FALSE(m_events.reports[0].shown);
    // The volumes written before the cancel stay complete.
    EXPECT_EQ(m_drive.disk(0).files["name.zip"].content.size(), kDisk);
    EXPECT_EQ(m_drive.disk(1).files["name.zip"].content.size(), kDisk);
}

TEST_F(RemovableSet, UnattendedOrUnlabellableDisksFail) {
    addBlankDisks(3);
    m_drive.insert(0);
    m_settings.Unattended = true;
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(lastReportId(), 11025);
    EXPECT_TRUE(m_user.script.messages.isEmpty());

    m_settings.Unattended = false;
    FakeDisk locked{"LOCKED", kDisk};
    locked.labelWritable = false;
    m_drive.insert(m_drive.addDisk(locked));
    m_user.script.queueAnswer(MsgResult::Ok);
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(lastReportId(), 11005);
}

TEST_F(RemovableSet, DisksAreFormattedWithTheirLabelWhenAsked) {
    QStringList formatted;
    int formatResult = 0;
    m_format = [&](const QString& root, int, const QString& label) {
        formatted << root + " " + label;
        return formatResult;
    };
    m_settings.AddDiskSpanErase = true;
    writeThreeDiskSet();
    EXPECT_EQ(formatted,
              QStringList({m_drive.root() + " PKBACK# 001", m_drive.root() + " PKBACK# 002",
                           m_drive.root() + " PKBACK# 003"}));

    m_drive.insert(0);
    formatResult = -2;
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(m_events.reports.last().id, 11007);
    EXPECT_FALSE(m_events.reports.last().shown);
    formatResult = -1;
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(m_events.reports.last().id, 11007);
    EXPECT_TRUE(m_events.reports.last().shown);
}

TEST_F(RemovableSet, DisksFormattedOnTheWorkerThreadWithoutConfirmation) {
    FakeFormatter formatter;
    m_format = makeDiskFormat(formatter, nullptr, m_user, false);
    m_settings.AddDiskSpanErase = true;
    writeThreeDiskSet();
    ASSERT_EQ(formatter.calls().size(), 3);
    EXPECT_EQ(formatter.calls()[2].label, "PKBACK# 003");
    EXPECT_NE(formatter.calls()[0].thread, QThread::currentThread());
    EXPECT_EQ(m_drive.disk(2).label, "PKBACK# 003");

    formatter.succeed = false;
    m_drive.insert(0);
    EXPECT_EQ(write(), -7);
    EXPECT_EQ(m_events.reports.last().id, 11007);
    EXPECT_TRUE(m_events.reports.last().shown);
}

} // namespace
