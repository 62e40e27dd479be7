#include "SpanTestSupport.h"

#include "ZipBuilder.h"
#include "engine/span/SpanRecords.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <random>
#include <string>
#include <vector>

namespace brx::spantest {

namespace {

// Bytes no compressor can shrink, the same on every run.
std::string randomBytes(std::mt19937& random, int size) {
    std::string bytes(size_t(size), '\0');
    for (char& byte : bytes) byte = char(random() & 0xFF);
    return bytes;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// A deflated text, stored random parts, and an entry with an extra field
// and a comment; with descriptors every entry's sizes follow its data.
std::string buildArchive(int partSize, int parts, bool descriptors, const std::string& comment) {
    std::mt19937 random(1234);
    std::vector<ziptest::BuildEntry> entries;
    ziptest::BuildEntry readme;
    readme.name = "docs/readme.txt";
    readme.data = repeated("multi-volume test archive\n", 400);
    entries.push_back(readme);
    for (int i = 0; i < parts; ++i) {
        ziptest::BuildEntry part;
        part.name = "data/part" + std::to_string(i) + ".bin";
        part.data = randomBytes(random, partSize);
        part.method = 0;
        entries.push_back(part);
    }
    ziptest::BuildEntry tail;
    tail.name = "notes/with extra.txt";
    tail.data = repeated("tail entry ", 50);
    tail.dosDate = 0x50B1; // 2020-05-17
    tail.dosTime = 0x53C0; // 10:30:00
    tail.extra = std::string("\xfe\xca\x04\x00"
                             "ABCD",
                             8);
    tail.comment = "entry comment";
    entries.push_back(tail);
    for (ziptest::BuildEntry& entry : entries) entry.dataDescriptor = descriptors;
    ziptest::BuildOptions options;
    options.comment = comment;
    return ziptest::buildZip(entries, options);
}

} // namespace

// Each kind of archive is made once per run and copied where a test wants it.
bool makeArchive(const QString& path, qint64 totalSize, int partSize, int parts, bool descriptors) {
    static QTemporaryDir cache;
    const QString cached = cache.filePath(
        QStringLiteral("%1-%2-%3-%4.zip").arg(totalSize).arg(partSize).arg(parts).arg(descriptors));
    if (!QFile::exists(cached)) {
        std::string bytes = buildArchive(partSize, parts, descriptors, {});
        const qint64 padding = totalSize - qint64(bytes.size());
        if (padding > 0) {
            if (padding > 0xFFFF) return false; // more than an archive comment can hold
            bytes = buildArchive(partSize, parts, descriptors, std::string(size_t(padding), 'c'));
        }
        if (!writeAll(cached, QByteArray::fromStdString(bytes))) return false;
    }
    return QFile::copy(cached, path);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

ToolRun runTool(const QString& program, const QStringList& args, const QString& workDir) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workDir.isEmpty()) process.setWorkingDirectory(workDir);
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(60000)) return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

bool haveTool(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

namespace {

// True when [pos, pos + length) lies inside volume v.
bool inside(const QList<QByteArray>& volumes, int v, qint64 pos, qint64 length) {
    return v >= 0 && v < volumes.size() && pos >= 0 && pos + length <= volumes[v].size();
}

void checkLocal(const QList<QByteArray>& volumes, int v, qint64 pos, const QByteArray& name,
                QStringList& problems) {
    if (!inside(volumes, v, pos, kLocalSize)) {
        problems << QStringLiteral("local header of %1 split or outside volume %2")
                        .arg(QString(name))
                        .arg(v);
        return;
    }
    const QByteArray header = volumes[v].mid(pos, kLocalSize);
    const qint64 length = kLocalSize + getLe16(header, 26) + getLe16(header, 28);
    if (getLe32(header, 0) != kLocalSignature || !inside(volumes, v, pos, length) ||
        volumes[v].mid(pos + kLocalSize, name.size()) != name)
        problems << QStringLiteral("bad local header for %1 on volume %2 at %3")
                        .arg(QString(name))
                        .arg(v)
                        .arg(pos);
}

} // namespace

QStringList checkSetLayout(const QList<QByteArray>& volumes) {
    QStringList problems;
    if (volumes.isEmpty() || getLe32(volumes[0], 0) != kSpanSignature)
        return {QStringLiteral("first volume lacks the set signature")};
    const QByteArray& last = volumes.last();
    const qsizetype endPos = last.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (endPos < 0) return {QStringLiteral("no end record on the last volume")};
    const VolumeEndRecord end{last.mid(endPos, kEndSize)};
    if (end.thisDisk() != volumes.size() - 1 ||
        endPos + kEndSize + end.commentLength() != last.size())
        problems << QStringLiteral("end record: disk %1, not at the end").arg(end.thisDisk());
    if (end.entriesOnDisk() != end.totalEntries())
        problems << QStringLiteral("end record entry counts differ");
    int v = end.directoryDisk();
    qint64 pos = end.directoryOffset();
    for (int i = 0; i < end.totalEntries(); ++i) {
        if (!inside(volumes, v, pos, 1) && v + 1 < volumes.size() && pos == volumes[v].size()) {
            ++v;
            pos = 0;
        }
        if (!inside(volumes, v, pos, kCentralSize)) {
            problems << QStringLiteral("central header %1 split").arg(i);
            break;
        }
        const VolumeCentralHeader header{volumes[v].mid(pos, kCentralSize)};
        const qint64 length =
            kCentralSize + header.nameLength() + header.extraLength() + header.commentLength();
        if (header.signature() != kCentralSignature || !inside(volumes, v, pos, length))
            problems << QStringLiteral("central header %1 bad or split").arg(i);
        checkLocal(volumes, header.diskNumberStart(), header.localHeaderOffset(),
                   volumes[v].mid(pos + kCentralSize, header.nameLength()), problems);
        pos += length;
    }
    return problems;
}

} // namespace brx::spantest
