#include "engine/base/ZipMsg.h"
#include "engine/sfx/ArchiveLayout.h"
#include "engine/sfx/CentralRewrite.h"
#include "engine/sfx/ConvertSupport.h"
#include "engine/sfx/IconConvert.h"
#include "engine/sfx/PeIcon.h"
#include "engine/sfx/SfxHeader.h"

#include <QDir>
#include <new>

namespace brx {
namespace {

constexpr int kNotCreated = -1;
constexpr int kWriteError = -2;
constexpr int kReadError = -3;
constexpr int kCheckFailed = -9;
constexpr int kIconNotFound = -10;
constexpr int kIconFailed = -11;
constexpr int kIconWrongSize = -12;

// Builds the EXE into an open output file; every step returns 0 or a result code.
class ExeBuilder {
public:
    ExeBuilder(SfxConvertContext& context, QFile& out) : m_context(context), m_out(out) {}

    qint64 stubSize = -1;
    qint64 archiveSize = -1;

    int copyStub() {
        QFile stub(m_context.sfxPath);
        if (!stub.open(QIODevice::ReadOnly) || !copyBytes(stub, m_out, -1)) return kReadError;
        stubSize = stub.size();
        return m_context.props.icon.isEmpty() ? 0 : replaceIcon();
    }

    int writeHeader(const QByteArray& header) {
        return m_out.write(header) == header.size() ? 0 : kWriteError;
    }

    // An empty archive: an end record whose directory starts right here.
    int writeEmptyArchive() {
        zipcore::EndRecord record;
        record.centralOffset = quint32(m_out.pos());
        const std::string bytes = zipcore::serializeEndRecord(record);
        const QByteArray end(bytes.data(), qsizetype(bytes.size()));
        archiveSize = end.size();
        return m_out.write(end) == end.size() ? 0 : kWriteError;
    }

    int copyArchive(qint64 shift) {
        QFile zip(m_context.zipFileName);
        int errorId = 0;
        if (!zip.open(QIODevice::ReadOnly)) return report(m_context, DS_NoInFile), kReadError;
        const auto layout = readArchiveLayout(zip, errorId);
        if (!layout) return report(m_context, errorId), kReadError;
        if (!zip.seek(0)) return kReadError;
        // Offsets that already disagree with the file are left as they are.
        if (layout->structureWarning) {
            archiveSize = layout->physicalSize;
            return copyBytes(zip, m_out, -1) ? 0 : kReadError;
        }
        archiveSize = layout->fileEnd;
        if (!copyBytes(zip, m_out, qint64(layout->storedOffset))) return kReadError;
        return rewriteCentralDirectory(*layout, m_out, shift);
    }

private:
    // Overwrites the 744-byte image of the copied stub's icon with SFXIcon's.
    int replaceIcon() {
        if (!m_out.seek(0)) return kIconFailed;
        const QByteArray stub = m_out.read(stubSize);
        const IconLocation icon = findStubIcon(stub);
        if (!m_out.seek(stubSize) || icon.result != IconSearch::Found)
            return icon.result == IconSearch::Found ? kIconFailed : kIconNotFound;
        const QByteArray ico = toStubIcon(m_context.props.icon);
        if (ico.size() != kIconFileSize) return kIconWrongSize;
        const QByteArray image = ico.mid(kIconFileSize - kStubIconImageSize);
        const bool written = m_out.seek(icon.fileOffset) && m_out.write(image) == image.size();
        return written && m_out.seek(stubSize) ? 0 : kIconFailed;
    }

    SfxConvertContext& m_context;
    QFile& m_out;
};

int checkBeforeStart(SfxConvertContext& context, QString& output) {
    const SfxProperties& props = context.props;
    if (!context.newArchive && !QFileInfo(context.zipFileName).isFile())
        return report(context, GE_NoZipSpecified), kCheckFailed;
    if (headerStringsTooLong(props)) {
        report(context, SF_StringToLong,
               QStringLiteral("\r\nSFXCaption + SFXDefaultDir + SFXCommandLine + SFXMessage = %1")
                   .arg(mpvHeaderSize(props) + 1));
        return kCheckFailed;
    }
    if (!locateStub(context)) return report(context, SF_NoZipSFXBin), kCheckFailed;
    output = context.zipFileName;
    if (!context.newArchive) {
        if (QFileInfo(context.zipFileName).suffix().toUpper() != QLatin1String("ZIP"))
            return report(context, SF_InputIsNoZip), kCheckFailed;
        output = withExtension(context.zipFileName, QStringLiteral(".exe"));
    }
    return 0;
}

int build(SfxConvertContext& context, QFile& out, qint64& expectedLength) {
    const QByteArray header = buildMpvHeader(context.props);
    ExeBuilder builder(context, out);
    int result = builder.copyStub();
    if (result == 0) result = builder.writeHeader(header);
    if (result == 0)
        result = context.newArchive ? builder.writeEmptyArchive()
                                    : builder.copyArchive(builder.stubSize + header.size());
    expectedLength = result == 0 ? builder.stubSize + header.size() + builder.archiveSize : -1;
    return result;
}

} // namespace

int ConvertToExe(SfxConvertContext& context) {
    QString output;
    int result = checkBeforeStart(context, output);
    if (result != 0) return result;
    BusyCursor busy(context);
    if (QFileInfo::exists(output)) erase(context, output);
    QFile out(output);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Truncate)) return kNotCreated;
    qint64 expected = -1;
    try {
        result = build(context, out, expected);
    } catch (const std::bad_alloc&) {
        report(context, GE_NoMem);
        result = kCheckFailed;
    }
    const qint64 length = out.size();
    out.close();
    if (result == 0 && !context.newArchive && length != expected) result = kCheckFailed;
    if (result != 0) {
        out.remove();
        return result;
    }
    if (!context.newArchive) {
        erase(context, context.zipFileName);
        context.zipFileName = output;
    }
    return 0;
}

} // namespace brx
