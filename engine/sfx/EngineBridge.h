#pragma once
// How TZipEngine runs the conversions: its properties go into the context,
// its message path, EraseFile and busy cursor serve them, and the results
// come back (the stub that was used, the header read back, the new file
// name, which re-lists). A template over the engine type so that this
// library does not link the engine that links it.

#include "engine/sfx/SfxConvert.h"

#include <QCoreApplication>

namespace brx {

template <typename Engine>
SfxConvertContext makeSfxContext(Engine& engine, bool newArchive) {
    SfxConvertContext context;
    context.zipFileName = engine.ZipFileName();
    context.sfxPath = engine.SFXPath();
    context.dllDirectory = engine.DLLDirectory();
    context.programFolder = QCoreApplication::applicationDirPath();
    context.newArchive = newArchive;
    context.props.caption = engine.SFXCaption();
    context.props.defaultDir = engine.SFXDefaultDir();
    context.props.commandLine = engine.SFXCommandLine();
    context.props.message = engine.SFXMessage();
    context.props.options = engine.SFXOptions();
    context.props.overWriteMode = engine.SFXOverWriteMode();
    context.props.icon = engine.SFXIcon();
    context.showMessage = [&engine](int id, const QString& extra) {
        engine.ShowZipMessage(id, extra);
    };
    context.eraseFile = [&engine](const QString& name) {
        return engine.EraseFile(name, engine.HowToDelete());
    };
    context.setBusy = [&engine](bool busy) { engine.host().setBusy(busy); };
    return context;
}

// ConvertToExe for the engine; newArchive when Add creates a missing ".EXE".
template <typename Engine>
int runConvertToExe(Engine& engine, bool newArchive) {
    SfxConvertContext context = makeSfxContext(engine, newArchive);
    const int result = ConvertToExe(context);
    engine.setSFXPath(context.sfxPath);
    if (result == 0 && !newArchive) engine.setZipFileName(context.zipFileName);
    return result;
}

template <typename Engine>
int runConvertToZip(Engine& engine) {
    SfxConvertContext context = makeSfxContext(engine, false);
    const int result = ConvertToZip(context);
    engine.setSFXCaption(context.props.caption);
    engine.setSFXDefaultDir(context.props.defaultDir);
    engine.setSFXCommandLine(context.props.commandLine);
    engine.setSFXMessage(context.props.message);
    engine.setSFXOptions(context.props.options);
    engine.setSFXOverWriteMode(context.props.overWriteMode);
    engine.setSFXIcon(context.props.icon);
    if (result == 0) engine.setZipFileName(context.zipFileName);
    return result;
}

} // namespace brx
