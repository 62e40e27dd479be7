#include "engine/span/FormatThread.h"

#include "platform/Formatter.h"

namespace brx {

FormatThread::FormatThread(IFormatter& formatter, const QString& driveRoot,
                           const QString& volumeLabel)
    : m_formatter(formatter)
    , m_driveRoot(driveRoot)
    , m_volumeLabel(volumeLabel) {}

void FormatThread::run() {
    if (toldToStop())
        m_result.storeRelease(-1);
    else
        m_result.storeRelease(m_formatter.formatVolume(m_driveRoot, m_volumeLabel, &m_error) ? 0
                                                                                             : -1);
    m_indicator.storeRelease(Finished);
}

} // namespace brx
