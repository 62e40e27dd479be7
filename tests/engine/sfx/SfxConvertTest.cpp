#include "IconFiles.h"
#include "SyntheticPe.h"
#include "engine/base/ZipMsg.h"
#include "engine/sfx/ArchiveLayout.h"
#include "engine/sfx/SfxConvert.h"
#include "engine/sfx/SfxHeader.h"
#include "tests/companions/sfx/SfxTestZip.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

const std::vector<testzip::Item> kItems = {
    {"first.txt", "first entry"},
    {"dir/second.bin", std::string(3000, 'b'), true},
    {"dir/third.txt", "third entry"},
};

class SfxConvert : public ::testing::Test {
protected:
    void SetUp() override {
        stub = sfxtest::buildPe({});
        writeFile(QStringLiteral("stub.bin"), stub);
        zipBytes = QByteArray::fromStdString(testzip::build(kItems, "archive comment"));
        ctx.zipFileName = writeFile(QStringLiteral("data.zip"), zipBytes);
        ctx.sfxPath = path(QStringLiteral("stub.bin"));
        ctx.showMessage = [this](int id, const QString& extra) { messages.append({id, extra}); };
        ctx.props.caption = QStringLiteral("Installer");
        ctx.props.defaultDir = QStringLiteral("><");
        ctx.props.commandLine = QStringLiteral("><SETUP.EXE");
        ctx.props.message = QStringLiteral("\x01Go?");
        ctx.props.options = SFXAskFiles | SFXCheckSize | SFXNoSuccessMsg;
        ctx.props.overWriteMode = OvrNever;
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    static QByteArray readFile(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::optional<ArchiveLayout> layoutOf(const QString& name) {
        QFile f(name);
        int errorId = 0;
        return f.open(QIODevice::ReadOnly) ? readArchiveLayout(f, errorId) : std::nullopt;
    }
    bool reported(int id) const {
        return std::any_of(messages.begin(), messages.end(),
                           [id](const auto& m) { return m.first == id; });
    }
    // Runs a peer tool's test command; -1 when the tool is not installed.
    static int peerTest(const QString& tool, const QStringList& args) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) return -1;
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(60000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : 99;
    }

    QTemporaryDir dir;
    QByteArray stub;
    QByteArray zipBytes;
    SfxConvertContext ctx;
    QList<QPair<int, QString>> messages;
};

} // namespace

TEST_F(SfxConvert, ZipBecomesExeWithShiftedOffsets) {
    const int headerSize = mpvHeaderSize(ctx.props);
    ASSERT_EQ(ConvertToExe(ctx), 0);
    EXPECT_EQ(ctx.zipFileName, path(QStringLiteral("data.exe")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("data.zip"))));
    const QByteArray exe = readFile(ctx.zipFileName);
    EXPECT_EQ(exe.size(), stub.size() + headerSize + zipBytes.size());
    EXPECT_EQ(exe.left(stub.size()), stub); // no icon asked for: the stub as it is
    EXPECT_EQ(exe.mid(stub.size(), headerSize), buildMpvHeader(ctx.props));
    const auto layout = layoutOf(ctx.zipFileName);
    ASSERT_TRUE(layout);
    EXPECT_FALSE(layout->structureWarning);
    EXPECT_EQ(layout->sfxOffset, stub.size() + headerSize);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SfxConvert, PeerToolsAcceptTheProducedExe) {
    // The real stub with a replaced icon when it was built, the synthetic one otherwise.
    const QString realStub = qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN");
    if (QFileInfo(realStub).isFile()) {
        ctx.sfxPath = realStub;
        ctx.props.icon =
            sfxtest::makeIco(48, 32, [](int x, int) { return x < 24 ? 0xFF00FF00u : 0u; });
    }
    // An encrypted entry as well, for the peers to check with the password.
    std::vector<testzip::Item> items = kItems;
    items.push_back({"dir/fourth.txt", "fourth, encrypted", false, "secret"});
    ctx.zipFileName =
        writeFile(QStringLiteral("data.zip"), QByteArray::fromStdString(testzip::build(items)));
    ASSERT_EQ(ConvertToExe(ctx), 0);
    const QByteArray exe = readFile(ctx.zipFileName);
    const quint32 pe = qFromLittleEndian<quint32>(exe.constData() + 60);
    EXPECT_EQ(qFromLittleEndian<quint16>(exe.constData() + pe + 24), 0x10b); // PE32 optional header
    const int unzip =
        peerTest(QStringLiteral("unzip"),
                 {QStringLiteral("-tqq"), QStringLiteral("-Psecret"), ctx.zipFileName});
    const int sevenZip = peerTest(
        QStringLiteral("7zz"), {QStringLiteral("t"), QStringLiteral("-psecret"), ctx.zipFileName});
    if (unzip < 0 && sevenZip < 0) GTEST_SKIP() << "neither unzip nor 7zz is installed";
    if (unzip >= 0) {
        EXPECT_EQ(unzip, 0);
    }
    if (sevenZip >= 0) {
        EXPECT_EQ(sevenZip, 0);
    }
}

TEST_F(SfxConvert, ExeBackToZipGivesTheSameBytesAndProperties) {
    const SfxProperties written = ctx.props;
    ASSERT_EQ(ConvertToExe(ctx), 0);
    ctx.props = SfxProperties();
    ctx.props.message = QStringLiteral("overwritten");
    ASSERT_EQ(ConvertToZip(ctx), 0);
    EXPECT_EQ(ctx.zipFileName, path(QStringLiteral("data.zip")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("data.exe"))));
    EXPECT_EQ(readFile(ctx.zipFileName), zipBytes);
    EXPECT_EQ(ctx.props.caption, written.caption);
    EXPECT_EQ(ctx.props.defaultDir, written.defaultDir);
    EXPECT_EQ(ctx.props.commandLine, written.commandLine);
    EXPECT_EQ(ctx.props.message, written.message);
    EXPECT_EQ(ctx.props.options, written.options);
    EXPECT_EQ(ctx.props.overWriteMode, written.overWriteMode);
    EXPECT_EQ(ctx.props.icon.size(), 22 + 744); // the stub's icon, read back
}

TEST_F(SfxConvert, ArchiveWithWrongDirectoryOffsetIsCopiedUnchanged) {
    // A prefix in front of an archive whose offsets were not rebased.
    const QByteArray shaky = QByteArray(100, 'p') + zipBytes;
    ctx.zipFileName = writeFile(QStringLiteral("shaky.zip"), shaky);
    const int headerSize = mpvHeaderSize(ctx.props);
    ASSERT_EQ(ConvertToExe(ctx), 0);
    const QByteArray exe = readFile(ctx.zipFileName);
    EXPECT_EQ(exe.mid(stub.size() + headerSize), shaky);
    // Back to ZIP, the archive starts at its first local header: the old
    // prefix goes with the stub.
    ASSERT_EQ(ConvertToZip(ctx), 0);
    EXPECT_EQ(readFile(ctx.zipFileName), zipBytes);
}

TEST_F(SfxConvert, NewArchiveModeWritesAnEmptyArchive) {
    ctx.newArchive = true;
    ctx.zipFileName = path(QStringLiteral("fresh.exe"));
    const int headerSize = mpvHeaderSize(ctx.props);
    ASSERT_EQ(ConvertToExe(ctx), 0);
    EXPECT_EQ(ctx.zipFileName, path(QStringLiteral("fresh.exe")));
    const auto layout = layoutOf(ctx.zipFileName);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->totalEntries, 0);
    EXPECT_EQ(layout->storedOffset, quint32(stub.size() + headerSize));
    EXPECT_FALSE(layout->structureWarning);
    EXPECT_EQ(QFileInfo(ctx.zipFileName).size(), stub.size() + headerSize + 22);
    // And back: an empty ZIP of 22 bytes.
    ASSERT_EQ(ConvertToZip(ctx), 0);
    EXPECT_EQ(QFileInfo(ctx.zipFileName).size(), 22);
}

TEST_F(SfxConvert, IconIsReplacedInTheCopiedStub) {
    ctx.props.icon = sfxtest::makeIco(16, 8, [](int, int) { return 0xFFFF0000u; });
    ASSERT_EQ(ConvertToExe(ctx), 0);
    const QByteArray exe = readFile(ctx.zipFileName);
    const QByteArray image = exe.mid(sfxtest::kIconDataOffset, 744);
    EXPECT_EQ(qFromLittleEndian<quint32>(image.constData()), 40u);
    EXPECT_EQ(quint8(image[40 + 64]), 0x99); // red pixels from the converted icon
    EXPECT_EQ(exe.left(sfxtest::kIconDataOffset), stub.left(sfxtest::kIconDataOffset));
}

TEST_F(SfxConvert, IconFailuresDeleteTheOutputAndKeepTheZip) {
    ctx.props.icon = sfxtest::makeIco(16, 8, [](int, int) { return 0xFFFF0000u; });
    ctx.sfxPath = writeFile(QStringLiteral("noicon.bin"), sfxtest::buildPe({true, 296}));
    EXPECT_EQ(ConvertToExe(ctx), -10);
    ctx.sfxPath = writeFile(QStringLiteral("nores.bin"), sfxtest::buildPe({false}));
    EXPECT_EQ(ConvertToExe(ctx), -10);
    ctx.sfxPath = writeFile(QStringLiteral("notpe.bin"), QByteArray(2000, 'n'));
    EXPECT_EQ(ConvertToExe(ctx), -10);
    ctx.sfxPath = path(QStringLiteral("stub.bin"));
    ctx.props.icon = QByteArray("garbage, not an icon");
    EXPECT_EQ(ConvertToExe(ctx), -12);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("data.exe"))));
    EXPECT_EQ(readFile(path(QStringLiteral("data.zip"))), zipBytes);
    // Without an icon the stub is used as it is, whatever it holds.
    ctx.props.icon.clear();
    ctx.sfxPath = path(QStringLiteral("notpe.bin"));
    EXPECT_EQ(ConvertToExe(ctx), 0);
}

TEST_F(SfxConvert, ChecksBeforeStartingGiveMinusNine) {
    ctx.props.caption = QString(256, QLatin1Char('c'));
    EXPECT_EQ(ConvertToExe(ctx), -9);
    ASSERT_TRUE(reported(SF_StringToLong));
    EXPECT_TRUE(
        messages.last().second.endsWith(QStringLiteral("= %1").arg(mpvHeaderSize(ctx.props) + 1)));
    ctx.props.caption = QString(255, QLatin1Char('c'));

    const QString zip = ctx.zipFileName;
    ctx.zipFileName = path(QStringLiteral("missing.zip"));
    EXPECT_EQ(ConvertToExe(ctx), -9);
    EXPECT_TRUE(reported(GE_NoZipSpecified));

    ctx.zipFileName = writeFile(QStringLiteral("data.arc"), zipBytes);
    EXPECT_EQ(ConvertToExe(ctx), -9);
    EXPECT_TRUE(reported(SF_InputIsNoZip));

    ctx.zipFileName = zip;
    ctx.sfxPath = path(QStringLiteral("nowhere.bin"));
    ctx.programFolder = path(QStringLiteral("empty"));
    EXPECT_EQ(ConvertToExe(ctx), -9);
    EXPECT_TRUE(reported(SF_NoZipSFXBin));
    EXPECT_EQ(readFile(zip), zipBytes);
}

TEST_F(SfxConvert, StubIsLookedForBesideTheProgramAndInTheLibraryFolder) {
    QDir(dir.path()).mkdir(QStringLiteral("prog"));
    QDir(dir.path()).mkdir(QStringLiteral("dlls"));
    ctx.sfxPath = path(QStringLiteral("nowhere.bin"));
    ctx.programFolder = path(QStringLiteral("prog"));
    ctx.dllDirectory = path(QStringLiteral("dlls"));
    writeFile(QStringLiteral("dlls/ZIPSFX.BIN"), stub);
    ASSERT_TRUE(locateStub(ctx));
    EXPECT_EQ(ctx.sfxPath, path(QStringLiteral("dlls/ZIPSFX.BIN")));
    writeFile(QStringLiteral("prog/ZIPSFX.BIN"), stub);
    ctx.sfxPath = path(QStringLiteral("nowhere.bin"));
    ASSERT_TRUE(locateStub(ctx));
    EXPECT_EQ(ctx.sfxPath, path(QStringLiteral("prog/ZIPSFX.BIN")));
}

TEST_F(SfxConvert, UnreadableArchiveOrUncreatableOutput) {
    ctx.zipFileName = writeFile(QStringLiteral("junk.zip"), QByteArray(500, 'j'));
    EXPECT_EQ(ConvertToExe(ctx), -3);
    EXPECT_TRUE(reported(DS_NoValidZip));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("junk.exe"))));

    // The output name is taken by a folder.
    ctx.zipFileName = path(QStringLiteral("data.zip"));
    QDir(dir.path()).mkdir(QStringLiteral("data.exe"));
    EXPECT_EQ(ConvertToExe(ctx), -1);
    EXPECT_EQ(readFile(ctx.zipFileName), zipBytes);
}

TEST_F(SfxConvert, ConvertToZipRefusesWhatIsNotASelfExtractor) {
    ctx.zipFileName = path(QStringLiteral("missing.exe"));
    EXPECT_EQ(ConvertToZip(ctx), -3);
    EXPECT_TRUE(reported(CZ_NoExeSpecified));
    ctx.zipFileName = path(QStringLiteral("data.zip"));
    EXPECT_EQ(ConvertToZip(ctx), -3);
    EXPECT_TRUE(reported(CZ_InputNotExe));
    ctx.zipFileName = writeFile(QStringLiteral("plain.exe"), zipBytes);
    EXPECT_EQ(ConvertToZip(ctx), -9);
    EXPECT_TRUE(reported(CZ_BrowseError));
    EXPECT_TRUE(QFile::exists(ctx.zipFileName));
}

TEST_F(SfxConvert, OlderHeaderIsReadBack) {
    const QByteArray mpu =
        QByteArray("MPU") + char(0x02) + char(3) + char(0) + char(0) + "Old" + QByteArray(2, '\0');
    const qint64 shift = stub.size() + mpu.size();
    const QByteArray body = QByteArray::fromStdString(testzip::build(kItems, "", quint32(shift)));
    ctx.zipFileName = writeFile(QStringLiteral("old.exe"), stub + mpu + body);
    ctx.props.message = QStringLiteral("unchanged");
    ASSERT_EQ(ConvertToZip(ctx), 0);
    EXPECT_EQ(ctx.props.caption, QStringLiteral("Old"));
    EXPECT_EQ(ctx.props.message, QStringLiteral("unchanged"));
    EXPECT_EQ(ctx.props.options, SFXOpts(SFXAskFiles | SFXCheckSize));
    EXPECT_EQ(readFile(ctx.zipFileName), QByteArray::fromStdString(testzip::build(kItems)));
}

TEST_F(SfxConvert, ExistingOutputIsErasedThroughTheCallback) {
    writeFile(QStringLiteral("data.exe"), QByteArray("old exe"));
    QStringList erased;
    ctx.eraseFile = [&erased](const QString& name) {
        erased << QFileInfo(name).fileName();
        return QFile::remove(name) ? 0 : -1;
    };
    ASSERT_EQ(ConvertToExe(ctx), 0);
    EXPECT_EQ(erased, QStringList({QStringLiteral("data.exe"), QStringLiteral("data.zip")}));
}
