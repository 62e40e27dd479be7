#include "archive_window/ConversionFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace brx {

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// A hidden name beside original, unused under both extensions.
std::optional<ConversionFiles> freeNames(const QFileInfo& original, bool toExe) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString stem = QLatin1Char('.') + original.completeBaseName() + QLatin1Char('~') +
                             QString::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 16);
        ConversionFiles files;
        files.source = original.dir().filePath(stem + QLatin1Char('.') + original.suffix());
        files.result = original.dir().filePath(
            stem + (toExe ? QStringLiteral(".exe") : QStringLiteral(".zip")));
        if (!QFileInfo::exists(files.source) && !QFileInfo::exists(files.result)) return files;
    }
    return std::nullopt;
}

} // namespace

std::optional<ConversionFiles> ConversionFiles::prepare(const QString& original, bool toExe) {
    const QFileInfo info(original);
    if (!info.isFile()) return std::nullopt;
    std::optional<ConversionFiles> files = freeNames(info, toExe);
    if (!files) return std::nullopt;
    std::error_code error;
    std::filesystem::create_hard_link(fsPath(original), fsPath(files->source), error);
    if (error && !QFile::copy(original, files->source)) return std::nullopt;
    return files;
}

bool ConversionFiles::placeResult(const QString& target) const {
    std::error_code error;
    std::filesystem::rename(fsPath(result), fsPath(target), error);
    return !error;
}

void ConversionFiles::removeLeftovers() const {
    QFile::remove(source);
    QFile::remove(result);
}

} // namespace brx
