// Damaged and hostile archives: a clear message and exit 1 or 2, never a
// crash, a hang or a file outside the extraction folder.

#include "CliRunner.h"
#include "../engine/ZipBytes.h"

namespace brx::test {
namespace {

class CliDamagedArchiveTest : public CliTest {
protected:
    QByteArray goodArchive() {
        writeFile("src/a.txt", QByteArray("alpha ").repeated(3000));
        writeFile("src/b.txt", QByteArray("beta ").repeated(3000));
        EXPECT_EQ(run({"add", "-r", "good.zip", "src"}).exitCode, 0);
        return readFile("good.zip");
    }

    // Every command on the damaged archive fails cleanly.
    void expectCleanFailure(const QByteArray& bytes, const QList<int>& allowed = {1, 2}) {
        writeFile("bad.zip", bytes);
        for (const QStringList& args :
             {QStringList{"list", "bad.zip"}, QStringList{"extract", "-d", "out", "bad.zip"}}) {
            const CliResult r = run(args);
            SCOPED_TRACE(args.join(' ').toStdString());
            EXPECT_FALSE(r.crashed);
            if (args.first() == QLatin1String("list") && r.exitCode == 0)
                continue; // a readable directory over damaged data lists fine
            EXPECT_TRUE(allowed.contains(r.exitCode)) << r.exitCode;
            EXPECT_FALSE(r.err.isEmpty());
        }
    }
};

TEST_F(CliDamagedArchiveTest, TruncatedAndRandomFilesCannotBeRead) {
    const QByteArray good = goodArchive();
    expectCleanFailure(good.left(good.size() / 2), {2});
    expectCleanFailure(good.left(21), {2});
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 131 + 7) % 251);
    expectCleanFailure(noise, {2});
}

TEST_F(CliDamagedArchiveTest, CorruptDataFailsTheTest) {
    QByteArray bytes = goodArchive();
    const qsizetype data = bytes.indexOf("src/a.txt") + 9 + 40; // inside the first entry's data
    for (qsizetype i = data; i < data + 16; ++i) bytes[i] = char(~bytes[i]);
    writeFile("bad.zip", bytes);
    EXPECT_EQ(run({"list", "bad.zip"}).exitCode, 0);
    const CliResult test = run({"test", "bad.zip"});
    EXPECT_FALSE(test.crashed);
    EXPECT_EQ(test.exitCode, 1);
    EXPECT_FALSE(test.err.isEmpty());
}

TEST_F(CliDamagedArchiveTest, LyingSizesAndOffsets) {
    const QByteArray good = goodArchive();
    const qsizetype central = good.indexOf("PK\x01\x02");
    QByteArray sizes = good;
    sizes[central + 20 + 3] = char(0x7F); // compressed size ~2 GB
    sizes[central + 24 + 3] = char(0x7F); // uncompressed size ~2 GB
    expectCleanFailure(sizes);

    QByteArray offset = good;
    offset[central + 42 + 3] = char(0x40); // local header far beyond the end
    expectCleanFailure(offset);

    QByteArray count = good;
    count[count.size() - 22 + 8] = char(0xFF); // more entries than the directory holds
    count[count.size() - 22 + 9] = char(0xFF);
    count[count.size() - 22 + 10] = char(0xFF);
    count[count.size() - 22 + 11] = char(0xFF);
    expectCleanFailure(count, {2});
}

TEST_F(CliDamagedArchiveTest, NamesThatLeaveTheFolderAreNotWritten) {
    RawEntry evil{"../evil.txt", "escaped"};
    RawEntry absolute{"/tmp/brx-absolute-evil.txt", "escaped"};
    QByteArray bytes = ZipBytes::archive({evil, absolute});
    writeFile("evil.zip", bytes);
    const CliResult r = run({"extract", "-d", "out/inner", "evil.zip"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("out/evil.txt")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/brx-absolute-evil.txt")));
}

TEST_F(CliDamagedArchiveTest, WrongCrcIsReported) {
    writeFile("crc.zip", ZipBytes::archive({RawEntry{"c.txt", "content"}})); // CRC field is made up
    const CliResult r = run({"test", "crc.zip"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
}

} // namespace
} // namespace brx::test
