#pragma once
// Turns the engine's progress reports into the position of the archive
// manager's progress bar (range 0 to 1001). With a known byte total the bar
// only moves forward; without one an update shows it full.

#include "engine/base/ZipEngineTypes.h"

#include <QtGlobal>

namespace brx {

class ProgressGauge {
public:
    static constexpr int kMaximum = 1001;

    // Returns the new position of the bar.
    int report(ProgressType type, qint64 size);
    // Whether the bar is shown after the last report.
    bool visible() const { return m_visible; }
    int position() const { return m_position; }
    qint64 totalFiles() const { return m_totalFiles; }

private:
    qint64 m_totalBytes = 0;
    qint64 m_doneBytes = 0;
    qint64 m_totalFiles = 0;
    int m_position = 0;
    bool m_visible = false;
};

} // namespace brx
