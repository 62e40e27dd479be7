#pragma once
// The self-extractor settings that travel in the header in front of the
// archive, as the engine holds them.

#include "engine/base/ZipEngineTypes.h"

#include <QByteArray>
#include <QString>

namespace brx {

struct SfxProperties {
    QString caption = QStringLiteral("Self-extracting Archive");
    QString defaultDir;
    QString commandLine;
    QString message;
    SFXOpts options;
    OvrOpts overWriteMode = OvrConfirm;
    QByteArray icon; // bytes of an .ico file; empty = keep the stub's icon
};

} // namespace brx
