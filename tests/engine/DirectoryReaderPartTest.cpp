// The directory reader on its own: its seams to the engine are the message
// path, the entry event and the request for another volume of a set.

#include "ZipBytes.h"
#include "engine/DirectoryReader.h"
#include "engine/MessagePath.h"
#include "engine/base/EZipEngine.h"
#include "tests/fakes/FakeVolumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace brx::test {
namespace {

struct VolumeAsked {
    QString current;
    int disk;
    int totalDisks;
};

class DirectoryReaderPart : public ::testing::Test {
protected:
    DirectoryReaderPart() {
        messages.setUnattended(true);
        onMessage = [this](int, const QString& text) { texts.append(text); };
        onNewName = [this](int seqNo, const ZipDirEntry&) { seqNos.append(seqNo); };
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Two volumes: the entries and the directory on the first, the end
    // record alone on the second.
    QString writeTwoVolumeSet() {
        const QByteArray whole = ZipBytes::archive({{"a.txt", "hello"}, {"b.bin", "world!"}});
        const QByteArray end = whole.right(22);
        const auto le32 = [&](int at) {
            return uint32_t(uchar(end[at])) | uint32_t(uchar(end[at + 1])) << 8 |
                   uint32_t(uchar(end[at + 2])) << 16 | uint32_t(uchar(end[at + 3])) << 24;
        };
        firstVolume = writeFile(QStringLiteral("set.z01"), whole.left(whole.size() - 22));
        centralOffset = le32(16);
        return writeFile(QStringLiteral("set.zip"),
                         ZipBytes::endRecord(2, le32(12), centralOffset, {}, 1, 0));
    }

    QTemporaryDir dir;
    ScriptedUserHost scriptedHost;
    IUserHost* host = &scriptedHost;
    FakeVolumes volumes;
    TZipMessageEvent onMessage;
    TNewNameEvent onNewName;
    MessagePath messages{host, onMessage};
    QStringList texts;
    QList<int> seqNos;
    QList<VolumeAsked> asked;
    QString firstVolume;
    uint32_t centralOffset = 0;
};

TEST_F(DirectoryReaderPart, DirectoryOnAnotherVolumeIsAskedForAndReadFromIt) {
    const QString last = writeTwoVolumeSet();
    DirectoryReader reader(volumes, messages, onNewName,
                           [this](const QString& current, int disk, int totalDisks) {
                               asked.append({current, disk, totalDisks});
                               return firstVolume;
                           });
    QFile archive(last);
    ASSERT_TRUE(reader.read(archive, cpAuto)) << texts.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].current, last);
    EXPECT_EQ(asked[0].disk, 0);
    EXPECT_EQ(asked[0].totalDisks, 1);
    EXPECT_EQ(archive.fileName(), firstVolume); // the directory came from the volume given
    ASSERT_EQ(reader.entries().size(), 2);
    EXPECT_EQ(reader.entries()[1].FileName, QStringLiteral("b.bin"));
    EXPECT_EQ(seqNos, (QList<int>{1, 2}));
    EXPECT_TRUE(reader.state().isSpanned);
    EXPECT_EQ(reader.state().volumeNumber, 0);
    EXPECT_EQ(reader.state().zipSOC, qint64(centralOffset));

    reader.clear();
    EXPECT_TRUE(reader.entries().isEmpty());
    EXPECT_FALSE(reader.state().isSpanned);
}

TEST_F(DirectoryReaderPart, FailuresAreReportedThroughTheMessagePathAndForgetTheStart) {
    // A volume that cannot be had: the request's exception becomes the message.
    const QString last = writeTwoVolumeSet();
    DirectoryReader refused(volumes, messages, onNewName, [](const QString&, int, int) -> QString {
        throw EZipEngine(DS_NoInFile, true);
    });
    QFile archive(last);
    EXPECT_FALSE(refused.read(archive, cpAuto));
    EXPECT_EQ(messages.errCode(), DS_NoInFile);
    EXPECT_TRUE(refused.entries().isEmpty());
    EXPECT_EQ(refused.state().sfxOffset, 0);

    // No end record at all: nothing is asked for, the reader says so.
    DirectoryReader reader(volumes, messages, onNewName, [this](const QString&, int, int) {
        asked.append(VolumeAsked{});
        return QString();
    });
    QFile notZip(writeFile(QStringLiteral("plain.zip"), QByteArray(100, 'x')));
    EXPECT_FALSE(reader.read(notZip, cpAuto));
    EXPECT_EQ(messages.errCode(), DS_NoValidZip);
    EXPECT_EQ(texts.size(), 2);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(reader.state().sfxOffset, 0);
}

} // namespace
} // namespace brx::test
