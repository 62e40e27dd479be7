#include "cli/CliConvert.h"

#include "cli/CliRun.h"
#include "engine/ZipEngine.h"

#include <QFile>
#include <QFileInfo>

namespace brx::cli {

namespace {

SFXOpts sfxOptionsFrom(const QStringList& names) {
    SFXOpts options;
    if (names.contains(QLatin1String("askcmdline"))) options |= SFXAskCmdLine;
    if (names.contains(QLatin1String("askfiles"))) options |= SFXAskFiles;
    if (names.contains(QLatin1String("hideoverwritebox"))) options |= SFXHideOverWriteBox;
    if (names.contains(QLatin1String("checksize"))) options |= SFXCheckSize;
    if (names.contains(QLatin1String("autorun"))) options |= SFXAutoRun;
    if (names.contains(QLatin1String("nosuccessmsg"))) options |= SFXNoSuccessMsg;
    return options;
}

OvrOpts overwriteModeFrom(const QString& name) {
    if (name == QLatin1String("always")) return OvrAlways;
    if (name == QLatin1String("never")) return OvrNever;
    return OvrConfirm;
}

// The archive must exist before the engine is pointed at it: a missing name
// would only give an empty listing.
bool openExisting(TZipEngine& engine, const QString& archive, QTextStream& err) {
    const QFileInfo info(archive);
    if (!info.isFile()) {
        err << "brxzip: no such archive: " << archive << Qt::endl;
        return false;
    }
    engine.setZipFileName(info.absoluteFilePath());
    return true;
}

bool loadIcon(TZipEngine& engine, const QString& iconFile, QTextStream& err) {
    if (iconFile.isEmpty()) return true;
    QFile file(iconFile);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "brxzip: cannot read the icon " << iconFile << ": " << file.errorString()
            << Qt::endl;
        return false;
    }
    engine.setSFXIcon(file.readAll());
    return true;
}

int reportResult(int result, const QString& what, const QString& produced, QTextStream& err) {
    if (result == 0) {
        err << "brxzip: " << what << ": " << produced << Qt::endl;
        return ExitOk;
    }
    err << "brxzip: " << what << " failed (code " << result << ")" << Qt::endl;
    return ExitSomeFailed;
}

} // namespace

int runSfx(TZipEngine& engine, const CliOptions& o, QTextStream& err) {
    if (!openExisting(engine, o.archive, err)) return ExitUnreadable;
    if (o.caption) engine.setSFXCaption(*o.caption);
    if (o.defaultDir) engine.setSFXDefaultDir(*o.defaultDir);
    if (o.message) engine.setSFXMessage(*o.message);
    if (o.commandLine) engine.setSFXCommandLine(*o.commandLine);
    if (!o.sfxOptions.isEmpty()) engine.setSFXOptions(sfxOptionsFrom(o.sfxOptions));
    if (!o.overwriteMode.isEmpty()) engine.setSFXOverWriteMode(overwriteModeFrom(o.overwriteMode));
    if (!loadIcon(engine, o.iconFile, err)) return ExitSomeFailed;
    const int result = engine.ConvertToExe();
    return reportResult(result, QStringLiteral("self-extracting archive written"),
                        engine.ZipFileName(), err);
}

int runUnsfx(TZipEngine& engine, const CliOptions& o, QTextStream& err) {
    if (!openExisting(engine, o.archive, err)) return ExitUnreadable;
    const int result = engine.ConvertToZip();
    return reportResult(result, QStringLiteral("archive written"), engine.ZipFileName(), err);
}

int runSpan(TZipEngine& engine, const CliOptions& o, QTextStream& err) {
    const QFileInfo source(o.archive);
    if (!source.isFile()) {
        err << "brxzip: no such archive: " << o.archive << Qt::endl;
        return ExitUnreadable;
    }
    engine.setMaxVolumeSize(o.volumeSize);
    const QString firstVolume = QFileInfo(o.specs.first()).absoluteFilePath();
    const int result = engine.WriteSpan(source.absoluteFilePath(), firstVolume);
    return reportResult(result, QStringLiteral("multi-volume set written from"), firstVolume, err);
}

} // namespace brx::cli
