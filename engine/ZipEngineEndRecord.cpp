// Finding the end-of-central-directory record: one 22-byte read at the end of
// the file in the common case, otherwise a backward scan of the last 65,557
// bytes (the record plus the longest possible comment).

#include "engine/ByteReader.h"
#include "engine/ZipEngine.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QFileInfo>

namespace brx {

namespace {

const QString kSpanLabelPrefix = QStringLiteral("PKBACK# ");
constexpr qint64 kPaddingBlock = 512;

EndRecord parseEndRecord(const char* p) {
    EndRecord end;
    end.thisDisk = le16(p + 4);
    end.centralDisk = le16(p + 6);
    end.entriesOnDisk = le16(p + 8);
    end.totalEntries = le16(p + 10);
    end.centralSize = le32(p + 12);
    end.centralOffset = le32(p + 16);
    end.commentLength = le16(p + 20);
    return end;
}

bool isEndSignature(const char* p) {
    return le32(p) == kEndRecordSig;
}

bool allZero(const QByteArray& bytes, qint64 from) {
    for (qint64 i = from; i < bytes.size(); ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// The hit whose comment ends exactly at the end of the file wins; a "PK\5\6"
// inside an archive comment is not the end record. Without such a hit the
// first one (nearest to the end) is taken.
qint64 chooseEndRecord(const QByteArray& tail) {
    qint64 firstHit = -1;
    for (qint64 i = tail.size() - kEndRecordSize; i >= 0; --i) {
        const char* p = tail.constData() + i;
        if (p[0] != 'P' || !isEndSignature(p)) continue;
        if (i + kEndRecordSize + le16(p + 20) == tail.size()) return i;
        if (firstHit < 0) firstHit = i;
    }
    return firstHit;
}

} // namespace

void TZipEngine::readVolumeNumber(const QString& fileName) {
    m_arc.volumeNumber = 0;
    const QString root = m_volumes->volumeRootOf(QFileInfo(fileName).absoluteFilePath());
    const QString label = m_volumes->volumeLabel(root);
    if (label.startsWith(kSpanLabelPrefix))
        m_arc.volumeNumber = label.mid(8, 3).toInt(); // 0 when not numeric
}

bool TZipEngine::findEndRecord(QFile& archive, bool strict) {
    m_arc.rawComment.clear();
    m_arc.endRecordOffset = 0;
    if (!archive.isOpen() && !archive.open(QIODevice::ReadOnly)) {
        if (strict) throw EZipEngine(DS_NoInFile, true);
        ShowZipMessage(DS_FileOpen);
        return false;
    }
    readVolumeNumber(archive.fileName());
    archive.seek(0);
    const QByteArray head = archive.read(8);
    if (head.size() == 8 && le32(head.constData()) == kSpanMarkerSig &&
        le32(head.constData() + 4) == kLocalHeaderSig)
        m_arc.isSpanned = true;

    m_arc.physicalSize = archive.size();
    m_arc.fileEnd = m_arc.physicalSize;
    if (m_arc.physicalSize >= kEndRecordSize && archive.seek(m_arc.physicalSize - kEndRecordSize)) {
        const QByteArray last = archive.read(kEndRecordSize);
        if (last.size() == kEndRecordSize && isEndSignature(last.constData()) &&
            le16(last.constData() + 20) == 0) {
            m_arc.endRecordOffset = m_arc.fileEnd - kEndRecordSize;
            m_arc.end = parseEndRecord(last.constData());
            return true;
        }
    }
    try {
        return scanForEndRecord(archive, strict);
    } catch (const EZipEngine&) {
        if (strict) throw;
    } catch (const std::bad_alloc&) {
        if (strict) throw;
    }
    return false;
}

bool TZipEngine::scanForEndRecord(QFile& archive, bool strict) {
    const qint64 n = qMin<qint64>(m_arc.fileEnd, kMaxCommentLength + kEndRecordSize);
    if (!archive.seek(m_arc.fileEnd - n)) throw EZipEngine(DS_FailedSeek, true);
    const QByteArray tail = archive.read(n);
    if (tail.size() != n) throw EZipEngine(DS_EOCBadRead, true);

    const qint64 i = chooseEndRecord(tail);
    if (i < 0) {
        if (strict) raiseNoEndRecord();
        return false;
    }
    m_arc.endRecordOffset = m_arc.fileEnd - n + i;
    m_arc.end = parseEndRecord(tail.constData() + i);
    const qint64 commentEnd = i + kEndRecordSize + m_arc.end.commentLength;
    if (commentEnd != n) {
        const qint64 trailing = n - commentEnd;
        const bool padding = trailing > 0 && trailing < kPaddingBlock &&
                             m_arc.physicalSize % kPaddingBlock == 0 && allZero(tail, commentEnd);
        m_arc.fileEnd -= trailing;
        if (!padding) ShowZipMessage(LI_GarbageAtEOF);
    }
    const QByteArray comment = tail.mid(i + kEndRecordSize, m_arc.end.commentLength);
    m_arc.rawComment =
        comment.left(comment.indexOf('\0') < 0 ? comment.size() : comment.indexOf('\0'));
    return true;
}

void TZipEngine::raiseNoEndRecord() {
    if (!m_arc.isSpanned && m_arc.volumeNumber > 0)
        throw EZipEngine(DS_NotLastInSet, m_arc.volumeNumber);
    if (!m_arc.isSpanned) throw EZipEngine(DS_NoValidZip, true);
    if (m_arc.volumeNumber == 1) throw EZipEngine(DS_FirstInSet, true);
    throw EZipEngine(DS_FirstFileOnHD, true);
}

} // namespace brx
