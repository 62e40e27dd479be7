#pragma once
// What the multi-volume code needs from the engine that runs it: the
// engine's single message path, its events and its settings. Failures are
// raised as EZipEngine; the texts come from the engine's message table.
// The copies run on the GUI thread; nothing here is thread-safe.

#include "engine/base/EZipEngine.h"
#include "engine/base/ZipEngineTypes.h"
#include "engine/base/ZipMsg.h"

#include <QString>

#include <functional>

namespace brx {

class ISpanEvents {
public:
    virtual ~ISpanEvents() = default;
    // The engine's message path: stored, shown when asked (and not unattended),
    // passed to OnMessage.
    virtual void report(int id, const QString& text, bool shown) = 0;
    // OnMessage with code 0 ("Copying: ...").
    virtual void message(const QString& text) = 0;
    virtual void progress(ProgressType type, const QString& name, qint64 size) = 0;
    // The engine's Cancel property.
    virtual bool cancelRequested() const = 0;
};

struct SpanSettings {
    qint64 KeepFreeOnDisk1 = 0;
    qint64 MaxVolumeSize = 0;
    qint64 MinFreeVolumeSize = 65536;
    bool ConfirmErase = true;
    bool AddDiskSpanErase = false;
    bool Unattended = false;
    QString applicationTitle = QStringLiteral("BRX_EXPLO");
};

// Formats the disk in driveRoot with label; returns the format result
// (-1 error, -2 cancelled, -3 not started, anything else done).
using DiskFormatFn =
    std::function<int(const QString& driveRoot, int driveIndex, const QString& label)>;

} // namespace brx
