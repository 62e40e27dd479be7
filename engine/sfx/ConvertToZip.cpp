#include "engine/base/ZipMsg.h"
#include "engine/sfx/ArchiveLayout.h"
#include "engine/sfx/CentralRewrite.h"
#include "engine/sfx/ConvertSupport.h"
#include "engine/sfx/PeIcon.h"
#include "engine/sfx/SfxHeader.h"

#include <new>

namespace brx {
namespace {

constexpr int kNotCreated = -1;
constexpr int kReadError = -2;
constexpr int kInputRejected = -3;
constexpr int kCheckFailed = -9;
constexpr int kNoMemory = -10;
// The header is looked for in this many bytes in front of the archive.
constexpr qint64 kHeaderSearchSpan = 1032;

std::optional<ArchiveLayout> checkInput(const SfxConvertContext& context, int& result) {
    result = kInputRejected;
    const QFileInfo info(context.zipFileName);
    if (!info.isFile()) return report(context, CZ_NoExeSpecified), std::nullopt;
    if (info.suffix().toUpper() != QLatin1String("EXE"))
        return report(context, CZ_InputNotExe), std::nullopt;
    QFile exe(context.zipFileName);
    int errorId = 0;
    std::optional<ArchiveLayout> layout;
    if (exe.open(QIODevice::ReadOnly)) layout = readArchiveLayout(exe, errorId);
    if (!layout || layout->sfxOffset == 0) {
        result = kCheckFailed;
        return report(context, CZ_BrowseError), std::nullopt;
    }
    result = 0;
    return layout;
}

// Reads the header in front of the archive back into the properties, and
// the program's icon with it. Unknown fronts leave the properties alone.
int readHeader(QFile& exe, const ArchiveLayout& layout, SfxProperties& props) {
    const qint64 span = std::min(layout.sfxOffset, kHeaderSearchSpan);
    if (!exe.seek(layout.sfxOffset - span)) return kReadError;
    const QByteArray front = exe.read(span);
    if (front.size() != span) return kReadError;
    SfxProperties found = props;
    if (!readSfxHeader(front, found)) return 0;
    if (!exe.seek(0)) return kReadError;
    if (const auto icon = firstIconAsIco(exe.read(layout.sfxOffset))) found.icon = *icon;
    props = found;
    return 0;
}

int copyArchive(QFile& exe, QFile& out, const ArchiveLayout& layout, qint64& archiveSize) {
    if (!exe.seek(layout.sfxOffset)) return kInputRejected;
    if (layout.structureWarning) {
        archiveSize = layout.physicalSize;
        return copyBytes(exe, out, -1) ? 0 : kInputRejected;
    }
    archiveSize = layout.fileEnd;
    if (!copyBytes(exe, out, qint64(layout.storedOffset) - layout.sfxOffset)) return kInputRejected;
    return rewriteCentralDirectory(layout, out, -layout.sfxOffset);
}

int convert(SfxConvertContext& context, const ArchiveLayout& layout, QFile& out, qint64& expected) {
    QFile exe(context.zipFileName);
    if (!exe.open(QIODevice::ReadOnly)) return kInputRejected;
    int result = readHeader(exe, layout, context.props);
    qint64 archiveSize = -1;
    if (result == 0) result = copyArchive(exe, out, layout, archiveSize);
    expected = archiveSize - layout.sfxOffset;
    return result;
}

} // namespace

int ConvertToZip(SfxConvertContext& context) {
    int result = 0;
    const auto layout = checkInput(context, result);
    if (!layout) return result;
    BusyCursor busy(context);
    const QString output = withExtension(context.zipFileName, QStringLiteral(".zip"));
    if (QFileInfo::exists(output)) erase(context, output);
    QFile out(output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return kNotCreated;
    qint64 expected = -1;
    try {
        result = convert(context, *layout, out, expected);
    } catch (const std::bad_alloc&) {
        result = kNoMemory;
    }
    const qint64 length = out.size();
    out.close();
    if (result == 0 && length != expected) result = kCheckFailed;
    if (result != 0) {
        out.remove();
        return result;
    }
    erase(context, context.zipFileName);
    context.zipFileName = output;
    return 0;
}

} // namespace brx
