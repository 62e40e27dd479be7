// File helpers of the engine: the checked copy of a whole file, the block
// copy shared with the self-extractor and multi-volume code, and deletion
// through the trash or for good.

#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"
#include "platform/Trash.h"
#include "engine/base/UserHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brx {

namespace {

constexpr qint64 kCopyBlock = 8192;

enum CopyResult {
    CopyOk = 0,
    CopyNoDest = -1,
    CopyFailed = -2,
    CopyNoSource = -3,
    CopyNoDate = -4,
    CopyBadLength = -9
};

// Length by seeking to the end, as the copy left it; -1 when unknown.
qint64 measuredLength(QFile& file) {
    file.flush();
    return file.isOpen() ? file.size() : -1;
}

} // namespace

int TZipEngine::copyBuffer(QFile& in, QFile& out, qint64 count) {
    try {
        QByteArray buffer(kCopyBlock, Qt::Uninitialized);
        while (count != 0) {
            const qint64 want = count < 0 ? kCopyBlock : qMin(count, kCopyBlock);
            const qint64 got = in.read(buffer.data(), want);
            if (got < 0 || out.write(buffer.constData(), got) != got) return CopyFailed;
            if (m_reportProgress && OnProgress) progress(ProgrUpdate, QString(), got);
            m_host->processEvents();
            if (got < want) return CopyOk; // end of the source
            if (count > 0) count -= got;
        }
        return CopyOk;
    } catch (...) {
        return CopyFailed; // out of memory, or an event handler threw
    }
}

int TZipEngine::CopyFileChecked(const QString& source, const QString& dest) {
    const ScopedValue<bool> quiet(m_reportProgress, false);
    if (!QFileInfo(source).isFile()) return CopyNoSource;
    const ScopedBusyCursor busy(*m_host);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return CopyNoSource;
    if (QFileInfo::exists(dest)) EraseFile(dest, m_howToDelete);
    QFile out(dest);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return CopyNoDest;
    int result = copyBuffer(in, out, -1);
    out.flush();
    if (result == CopyOk &&
        !out.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime))
        result = CopyNoDate;
    const qint64 inLength = in.size();
    const qint64 outLength = measuredLength(out);
    if (result == CopyOk && (inLength < 0 || outLength < 0 || inLength != outLength))
        result = CopyBadLength;
    out.close();
    if (result != CopyOk && result != CopyNoDate) QFile::remove(dest);
    return result;
}

// Deletion to the freedesktop trash (htdAllowUndo) or for good (htdFinal);
// 0 on success, -1 when the file is missing, 1 when deletion failed.
int TZipEngine::EraseFile(const QString& name, THowToDelete how) {
    const QString path =
        QFileInfo(name).path() == QLatin1String(".") && !name.startsWith(QLatin1String("./"))
            ? QDir::currentPath() + QLatin1Char('/') + name
            : name;
    if (!QFileInfo::exists(path)) return -1;
    QFile file(path);
    const bool done = how == htdAllowUndo ? moveToTrash(path) : file.remove();
    return done ? 0 : 1;
}

} // namespace brx
