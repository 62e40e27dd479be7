// The directory reader's end-record search: the record itself is found by the ZIP
// format layer (zipcore/EndRecord.h, the one search every reader uses); this
// adds what the engine tells the user: the spanned-set marker, the volume
// label, the garbage warning and the messages for a missing record.

#include "engine/DirectoryReader.h"

#include "engine/MessagePath.h"
#include "engine/base/ArchiveFileInput.h"
#include "engine/base/EZipEngine.h"
#include "platform/Volumes.h"
#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <QFile>
#include <QFileInfo>

namespace brx {

namespace {

const QString kSpanLabelPrefix = QStringLiteral("PKBACK# ");
constexpr qint64 kPaddingBlock = 512;
constexpr qint64 kPaddingProbe = kPaddingBlock;

bool startsSpannedSet(QFile& archive) {
    if (!archive.seek(0)) return false;
    const QByteArray head = archive.read(8);
    const auto* bytes = reinterpret_cast<const unsigned char*>(head.constData());
    return head.size() == 8 && zipcore::le32(bytes) == zipcore::kDataDescriptorSig &&
           zipcore::le32(bytes + 4) == zipcore::kLocalHeaderSig;
}

// Fewer than 512 zero bytes that make the file a multiple of 512 are the
// padding of a block device, not garbage.
bool isPadding(QFile& archive, qint64 commentEnd, qint64 physicalSize) {
    const qint64 trailing = physicalSize - commentEnd;
    if (trailing <= 0 || trailing >= kPaddingProbe || physicalSize % kPaddingBlock != 0)
        return false;
    if (!archive.seek(commentEnd)) return false;
    const QByteArray bytes = archive.read(trailing);
    return bytes.size() == trailing && bytes.count('\0') == trailing;
}

} // namespace

void DirectoryReader::readVolumeNumber(const QString& fileName) {
    m_arc.volumeNumber = 0;
    const QString root = m_volumes.volumeRootOf(QFileInfo(fileName).absoluteFilePath());
    const QString label = m_volumes.volumeLabel(root);
    if (label.startsWith(kSpanLabelPrefix))
        m_arc.volumeNumber = label.mid(8, 3).toInt(); // 0 when not numeric
}

bool DirectoryReader::findEndRecord(QFile& archive, bool strict) {
    m_arc.rawComment.clear();
    m_arc.endRecordOffset = 0;
    if (!archive.isOpen() && !archive.open(QIODevice::ReadOnly)) {
        if (strict) throw EZipEngine(DS_NoInFile, true);
        m_messages.show(DS_FileOpen);
        return false;
    }
    readVolumeNumber(archive.fileName());
    if (startsSpannedSet(archive)) m_arc.isSpanned = true;
    m_arc.physicalSize = archive.size();
    m_arc.fileEnd = m_arc.physicalSize;

    ArchiveFileInput input(archive);
    const zipcore::EndSearch search = zipcore::findEndRecord(input);
    if (search.status == zipcore::EndSearchStatus::ReadError) {
        if (strict) throw EZipEngine(DS_EOCBadRead, true);
        return false;
    }
    if (!search.found()) {
        if (strict) raiseNoEndRecord();
        return false;
    }
    const zipcore::EndRecordLocation& found = search.location;
    m_arc.endRecordOffset = qint64(found.offset);
    m_arc.end = found.record;
    m_arc.fileEnd = qint64(found.commentEnd);
    if (found.trailingBytes() != 0 && !isPadding(archive, m_arc.fileEnd, m_arc.physicalSize))
        m_messages.show(LI_GarbageAtEOF);
    const QByteArray comment = QByteArray::fromStdString(found.comment);
    const qsizetype nul = comment.indexOf('\0');
    m_arc.rawComment = nul < 0 ? comment : comment.left(nul);
    return true;
}

void DirectoryReader::raiseNoEndRecord() {
    if (!m_arc.isSpanned && m_arc.volumeNumber > 0)
        throw EZipEngine(DS_NotLastInSet, m_arc.volumeNumber);
    if (!m_arc.isSpanned) throw EZipEngine(DS_NoValidZip, true);
    if (m_arc.volumeNumber == 1) throw EZipEngine(DS_FirstInSet, true);
    throw EZipEngine(DS_FirstFileOnHD, true);
}

} // namespace brx
