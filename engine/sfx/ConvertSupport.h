#pragma once
// Pieces shared by the two conversions.

#include "engine/sfx/SfxConvert.h"

#include <QDir>
#include <QFileInfo>

namespace brx {

// The file's path with its last extension replaced.
inline QString withExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + extension);
}

inline void report(const SfxConvertContext& context, int id, const QString& extra = QString()) {
    if (context.showMessage) context.showMessage(id, extra);
}

inline int erase(const SfxConvertContext& context, const QString& name) {
    if (context.eraseFile) return context.eraseFile(name);
    return QFile::remove(name) ? 0 : -1;
}

// Shows the busy cursor for the life of the object.
class BusyCursor {
public:
    explicit BusyCursor(const SfxConvertContext& context) : m_context(context) {
        if (m_context.setBusy) m_context.setBusy(true);
    }
    ~BusyCursor() {
        if (m_context.setBusy) m_context.setBusy(false);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    const SfxConvertContext& m_context;
};

} // namespace brx
