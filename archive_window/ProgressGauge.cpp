#include "archive_window/ProgressGauge.h"

#include <algorithm>

namespace brx {

int ProgressGauge::report(ProgressType type, qint64 size) {
    m_visible = true;
    switch (type) {
    case ProgrTotalSize:
        m_totalBytes = std::max<qint64>(0, size);
        m_doneBytes = 0;
        m_position = 1;
        break;
    case ProgrNewFile:
        // A new file starts the bar again only when no total says how far
        // the batch has come.
        if (m_totalBytes <= 0) m_position = 1;
        break;
    case ProgrTotalFiles:
        m_totalFiles = size;
        break;
    case ProgrUpdate:
        if (m_totalBytes <= 0) {
            m_position = kMaximum;
            break;
        }
        m_doneBytes = std::min(m_totalBytes, m_doneBytes + std::max<qint64>(0, size));
        m_position = std::max(m_position, static_cast<int>(m_doneBytes * kMaximum / m_totalBytes));
        break;
    case ProgrEndOfBatch:
        m_totalBytes = 0;
        m_doneBytes = 0;
        m_position = 0;
        m_visible = false;
        break;
    }
    return m_position;
}

} // namespace brx
