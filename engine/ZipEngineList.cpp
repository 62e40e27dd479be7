// List: rebuilds ZipContents from the central directory of ZipFileName
// through the directory reader.

#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"
#include "engine/base/UserHost.h"

#include <QFile>
#include <optional>

namespace brx {

void TZipEngine::List() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive(), nullptr, true);
    m_reader.clear();
    // An empty file is a new archive: nothing to list, nothing to complain about.
    if (m_zipFileName.isEmpty() || !existingArchive()) {
        if (OnDirUpdate) OnDirUpdate();
        return;
    }
    std::optional<ScopedBusyCursor> busy(std::in_place, *m_host);
    QFile archive(m_zipFileName);
    if (!m_reader.read(archive, m_codePage)) m_zipFileName.clear();
    busy.reset();
    archive.close();
    if (OnDirUpdate) OnDirUpdate();
}

bool TZipEngine::findEndRecord(QFile& archive, bool strict) {
    return m_reader.findEndRecord(archive, strict);
}

} // namespace brx
