#include "span_program/SpanProgram.h"

#include "engine/ZipEngine.h"
#include "platform/Volumes.h"
#include "support/PathNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

namespace brx {

namespace {

const QString kSeparator = QStringLiteral("<>");

enum SpanFailure {
    kBadArgument = -1,
    kNoArchive = -2,
    kWriteFailed = -3,
    kReadBackFailed = -4,
    kContentDiffers = -5,
};

void leaveMarker(const QString& programFolder, const QString& reason) {
    QSaveFile marker(WithBackslash(programFolder) + kSpanMarkerName);
    if (!marker.open(QIODevice::WriteOnly)) return;
    marker.write(reason.toUtf8() + '\n');
    marker.commit();
}

struct EntryFacts {
    QString name;
    uint32_t crc;
    uint64_t compressed;
    uint64_t uncompressed;
    bool operator==(const EntryFacts&) const = default;
};

QList<EntryFacts> entryFacts(const QList<ZipDirEntry>& entries) {
    QList<EntryFacts> facts;
    for (const ZipDirEntry& entry : entries)
        facts.append({entry.FileName, entry.CRC32, entry.CompressedSize, entry.UncompressedSize});
    return facts;
}

bool anyEncrypted(const QList<ZipDirEntry>& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](const ZipDirEntry& entry) { return entry.Encrypted; });
}

// On a fixed disk the set is numbered files: the last volume is the highest
// number that exists. On a removable drive every disk holds the same name.
QString volumeToReadFrom(TZipEngine& engine, const QString& firstVolume) {
    const QString root = engine.volumes().volumeRootOf(firstVolume);
    if (engine.volumes().driveType(root) == DriveType::Removable) return firstVolume;
    const QFileInfo info(firstVolume);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString last;
    for (int number = 1; number <= 999; ++number) {
        const QString name = info.path() + QLatin1Char('/') + info.completeBaseName() +
                             QString::number(number + 1000).mid(1) + suffix;
        if (!QFileInfo::exists(name)) break;
        last = name;
    }
    return last;
}

// Reads the set back through every volume into one archive, and compares it
// with the original: the same entries, and (when not encrypted) every
// entry's data decompressed against its CRC.
int checkSet(TZipEngine& engine, const QString& archive, const QString& firstVolume,
             const QString& libraryFolder) {
    const QTemporaryDir work;
    if (!work.isValid()) return kReadBackFailed;
    QString joined = work.path();
    const QString lastVolume = volumeToReadFrom(engine, firstVolume);
    if (lastVolume.isEmpty() || engine.ReadSpan(lastVolume, joined) != 0) return kReadBackFailed;
    engine.setZipFileName(archive);
    const QList<EntryFacts> expected = entryFacts(engine.ZipContents());
    engine.setZipFileName(joined);
    if (entryFacts(engine.ZipContents()) != expected) return kContentDiffers;
    if (anyEncrypted(engine.ZipContents())) return 0; // no password here: the directory must do
    engine.setDLLDirectory(libraryFolder);
    engine.LoadUnzLibrary();
    engine.setExtrOptions(ExtrTest);
    engine.setFSpecArgs({QStringLiteral("*.*")});
    engine.Extract();
    const bool sound = engine.SuccessCnt() == engine.Count();
    engine.setZipFileName(QString());
    engine.UnloadUnzLibrary();
    return sound ? 0 : kContentDiffers;
}

} // namespace

bool parseSpanArgument(const QString& argument, SpanArguments& arguments) {
    const qsizetype at = argument.indexOf(kSeparator);
    if (at <= 0) return false;
    arguments.archive = argument.left(at).trimmed();
    arguments.destinationFolder = WithBackslash(argument.mid(at + kSeparator.size()).trimmed());
    return !arguments.archive.isEmpty() && !arguments.destinationFolder.isEmpty();
}

QString frenchDiskPrompt(const QString& text) {
    static const QRegularExpression ofTotal(
        QStringLiteral("^Please insert disk volume (\\d+) of (\\d+)\\nin drive: (.*)$"));
    static const QRegularExpression alone(
        QStringLiteral("^Please insert disk volume (\\d+)\\nin drive: (.*)$"));
    static const QRegularExpression last(
        QStringLiteral("^Please insert last disk\\nin drive: (.*)$"));
    if (const auto match = ofTotal.match(text); match.hasMatch())
        return QStringLiteral("Insérez la disquette n° %1 sur %2 dans le lecteur :\n%3")
            .arg(match.captured(1), match.captured(2), match.captured(3));
    if (const auto match = alone.match(text); match.hasMatch())
        return QStringLiteral("Insérez la disquette n° %1 dans le lecteur :\n%2")
            .arg(match.captured(1), match.captured(2));
    if (const auto match = last.match(text); match.hasMatch())
        return QStringLiteral("Insérez la dernière disquette dans le lecteur :\n%1")
            .arg(match.captured(1));
    return text;
}

MsgResult FrenchDiskPrompts::messageBox(const MessageRequest& request) {
    MessageRequest french = request;
    french.text = frenchDiskPrompt(request.text);
    return m_inner.messageBox(french);
}

int runSpanProgram(const QString& argument, SpanJob& job) {
    SpanArguments arguments;
    if (!parseSpanArgument(argument, arguments)) {
        leaveMarker(job.programFolder, QStringLiteral("Argument invalide : ") + argument);
        return kBadArgument;
    }
    if (!QFileInfo(arguments.archive).isFile()) {
        leaveMarker(job.programFolder, QStringLiteral("Archive absente : ") + arguments.archive);
        return kNoArchive;
    }
    TZipEngine engine(&job.host, &job.volumes);
    const QString firstVolume =
        arguments.destinationFolder + QFileInfo(arguments.archive).fileName();
    if (engine.WriteSpan(arguments.archive, firstVolume) != 0) {
        leaveMarker(job.programFolder,
                    QStringLiteral("Répartition interrompue : ") + engine.Message());
        return kWriteFailed;
    }
    const int checked = checkSet(engine, arguments.archive, firstVolume, job.libraryFolder);
    if (checked != 0)
        leaveMarker(job.programFolder,
                    QStringLiteral("Vérification des disquettes en échec : ") + firstVolume);
    return checked;
}

} // namespace brx
