#include "engine/sfx/SfxConvert.h"

#include <QDir>
#include <QFileInfo>

namespace brx {
namespace {

const QString kStubName = QStringLiteral("ZIPSFX.BIN");

QStringList stubCandidates(const SfxConvertContext& context) {
    QStringList candidates{context.sfxPath, kStubName};
    if (!context.programFolder.isEmpty())
        candidates << QDir(context.programFolder).filePath(kStubName);
    if (!context.dllDirectory.isEmpty())
        candidates << QDir(context.dllDirectory).filePath(kStubName);
    return candidates;
}

} // namespace

bool locateStub(SfxConvertContext& context) {
    for (const QString& candidate : stubCandidates(context)) {
        context.sfxPath = candidate;
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile()) return true;
    }
    return false;
}

} // namespace brx
